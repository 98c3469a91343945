// The demo under watch, for scripts/soak and the frame-rate measurement:
// the shipped scene unchanged, with every frame timed and the process's
// memory, GDI objects and kernel handles sampled once a second. Command
// line: seconds, vertical-blank wait (0 or 1), log file.
#define DemoSetup DemoSceneSetup
#define DemoFrame DemoSceneFrame
#include "app/demo.cpp"
#undef DemoSetup
#undef DemoFrame

#include <cstdio>

#include "resource_count.h"

namespace {

int seconds = 10;
char logPath[MAX_PATH] = "";
LARGE_INTEGER frequency, started, lastFrame, lastSample;
long frames = 0, framesAtSample = 0;
double worstMs = 0.0, worstInSecond = 0.0;

double Ms(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Log(const char* line) {
  if (FILE* f = std::fopen(logPath, "a")) {
    std::fputs(line, f);
    std::fclose(f);
  }
}

}  // namespace

void DemoSetup() {
  int vsync = 1;
  std::sscanf(zoSystem::CommandLine(), "%d %d %259s", &seconds, &vsync, logPath);
  zoDraw::SetVSync(vsync);
  DemoSceneSetup();
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  lastFrame = lastSample = started;
  Log("second frames worst_ms gdi handles private_kb\n");
}

void DemoFrame() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (frames > 0) {
    const double ms = Ms(lastFrame, now);  // from one frame's start to the next
    if (ms > worstInSecond) worstInSecond = ms;
    if (ms > worstMs) worstMs = ms;
  }
  lastFrame = now;
  ++frames;
  DemoSceneFrame();
  if (Ms(lastSample, now) >= 1000.0) {
    char line[160];
    std::snprintf(line, sizeof line, "%.0f %ld %.1f %d %d %zu\n", Ms(started, now) / 1000.0,
                  frames - framesAtSample, worstInSecond, zotest::CountGdiObjects(),
                  zotest::CountKernelHandles(), zotest::CommittedPrivateBytes() / 1024);
    Log(line);
    framesAtSample = frames;
    worstInSecond = 0.0;
    lastSample = now;
    QueryPerformanceCounter(&lastFrame);  // the counting is not the frame's time
  }
  if (Ms(started, now) >= seconds * 1000.0) {
    char line[120];
    std::snprintf(line, sizeof line, "done %ld frames in %.1f s, worst %.1f ms\n", frames,
                  Ms(started, now) / 1000.0, worstMs);
    Log(line);
    zoSystem::End();
  }
}
