#include "recorder.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zotest {

namespace {

std::string windowsFolder, unixFolder;

typedef char*(CDECL* UnixNameFunction)(const WCHAR*);

bool FindFolders() {
  if (!unixFolder.empty()) return true;
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string path = module;
  windowsFolder = path.substr(0, path.find_last_of('\\') + 1);
  unixFolder = UnixPath(windowsFolder);
  if (unixFolder.empty() || unixFolder.find('\'') != std::string::npos) return false;
  if (unixFolder.back() != '/') unixFolder += '/';
  return true;
}

std::string Win(const char* name) { return windowsFolder + name; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitFor(const std::string& path, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!Exists(path)) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(10);
  }
  return true;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
  // Wine's own export: the Unix name of a Windows path.
  auto toUnix = reinterpret_cast<UnixNameFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return "";
  WCHAR wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return "";
  char* unixName = toUnix(wide);
  if (!unixName) return "";
  std::string out = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return out;
}

std::string UnixFolder() { return FindFolders() ? unixFolder : std::string(); }

std::string WineCommand() {
  const char* wine = std::getenv("ZO_WINE");
  return wine && *wine ? wine : "wine";
}

bool StartUnixCommand(const std::string& shellCommand) {
  std::string command = "/bin/sh -c \"" + shellCommand + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  return true;
}

bool StartRecording() {
  if (!FindFolders()) return false;
  for (const char* f : {"rec.raw", "rec_stop", "rec_done", "rec_ready"}) DeleteFileA(Win(f).c_str());
  // Every wait of the script is bounded, so a lost test never leaves it behind.
  std::string script =
      "cd '" + unixFolder + "' || exit 1; "
      "timeout 60 parec --device=out.monitor --format=s16le --rate=44100 --channels=2 --raw "
      "--latency-msec=20 > rec.raw & p=$!; "
      "n=0; while [ ! -s rec.raw ] && [ $n -lt 100 ]; do sleep 0.02; n=$((n+1)); done; "
      "touch rec_ready; "
      "n=0; while [ ! -e rec_stop ] && [ $n -lt 1500 ]; do sleep 0.02; n=$((n+1)); done; "
      "kill -INT $p; wait $p; touch rec_done";
  if (!StartUnixCommand(script)) return false;
  return WaitFor(Win("rec_ready"), 5000);
}

Recording StopRecording() {
  Recording r;
  FILE* stop = std::fopen(Win("rec_stop").c_str(), "wb");
  if (stop) std::fclose(stop);
  if (!WaitFor(Win("rec_done"), 5000)) return r;
  FILE* f = std::fopen(Win("rec.raw").c_str(), "rb");
  if (!f) return r;
  int16_t buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, sizeof(int16_t), 4096, f)) > 0) r.samples.insert(r.samples.end(), buffer, buffer + n);
  std::fclose(f);
  if (r.samples.size() & 1) r.samples.pop_back();
  return r;
}

double Rms(const Recording& r, int channel, size_t from, size_t count) {
  size_t frames = r.Frames();
  if (from >= frames) return 0.0;
  if (count > frames - from) count = frames - from;
  if (count == 0) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i < count; ++i) {
    double s = r.samples[(from + i) * 2 + channel];
    sum += s * s;
  }
  return std::sqrt(sum / static_cast<double>(count));
}

double ToneLevel(const Recording& r, int channel, double hz, size_t from, size_t count) {
  size_t frames = r.Frames();
  if (from >= frames) return 0.0;
  if (count > frames - from) count = frames - from;
  if (count == 0) return 0.0;
  const double pi = 3.14159265358979323846;
  double w = 2.0 * pi * hz / 44100.0, coeff = 2.0 * std::cos(w);
  double s1 = 0.0, s2 = 0.0;
  for (size_t i = 0; i < count; ++i) {
    double s = r.samples[(from + i) * 2 + channel] + coeff * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
  return 2.0 * std::sqrt(power > 0 ? power : 0) / static_cast<double>(count);  // sine amplitude
}

double PeakToneLevel(const Recording& r, int channel, double hz, size_t window) {
  double peak = 0.0;
  for (size_t from = 0; from + window <= r.Frames(); from += window / 2) {
    double level = ToneLevel(r, channel, hz, from, window);
    if (level > peak) peak = level;
  }
  return peak;
}

long FirstToneWindow(const Recording& r, int channel, double hz, size_t window, double threshold) {
  for (size_t from = 0; from + window <= r.Frames(); from += window / 4)
    if (ToneLevel(r, channel, hz, from, window) >= threshold) return static_cast<long>(from);
  return -1;
}

}  // namespace zotest
