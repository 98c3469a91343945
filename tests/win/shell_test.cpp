// The shell as a user meets it: a real process with its window, started,
// doubled, and ended by WM_QUIT, Escape and the close box.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "zo_test.h"

namespace {

struct Probe {
  PROCESS_INFORMATION pi{};
  std::string log;

  bool Start(const std::string& logPath) {
    log = logPath;
    DeleteFileA(log.c_str());
    std::string cmd = "shell_probe.exe " + log;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi) != 0;
  }
  // Exit code, or -1 when it did not end within ms.
  int Wait(int ms) {
    if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
  }
  void Kill() {
    if (pi.hProcess && WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
      TerminateProcess(pi.hProcess, 99);
    if (pi.hProcess) {
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    pi = {};
  }
  ~Probe() { Kill(); }
  std::string Log() const {
    std::ifstream f(log);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
};

HWND WaitForWindow(int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (HWND w = FindWindowA("DEFAULT", "Tessaro")) return w;
    Sleep(20);
  }
  return nullptr;
}

bool WaitForLog(const Probe& p, const char* text, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (p.Log().find(text) != std::string::npos) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

TEST(Shell, OpensOneCentredWindowWithA640x480ClientArea) {
  Probe p;
  ASSERT_TRUE(p.Start("probe_window.log"));
  HWND w = WaitForWindow(10000);
  ASSERT_NE(w, nullptr);
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "DEFAULT");
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            static_cast<LONG>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_FALSE(style & WS_THICKFRAME);
  RECT outer;
  GetWindowRect(w, &outer);
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(outer.left, (cx - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (cy - (outer.bottom - outer.top)) / 2);

  ASSERT_TRUE(WaitForLog(p, "frame 2", 10000));
  std::string log = p.Log();
  EXPECT_NE(log.find("setup windowFlags=3 fullScreen=0 ime=0"), std::string::npos);
  EXPECT_NE(log.find("frame 1 sceneChanged=1 blinkOn=1"), std::string::npos);
  EXPECT_NE(log.find("frame 2 sceneChanged=0"), std::string::npos);

  // WM_QUIT ends the loop and WinMain answers 0, whatever the quit code.
  PostThreadMessageA(p.pi.dwThreadId, WM_QUIT, 7, 0);
  EXPECT_EQ(p.Wait(10000), 0);
}

TEST(Shell, ASecondCopyIsRefusedAndBringsTheFirstForward) {
  Probe first, second;
  ASSERT_TRUE(first.Start("probe_first.log"));
  HWND w = WaitForWindow(10000);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(WaitForLog(first, "setup", 10000));
  HWND other = zotest::MakeMainWindow();
  ShowWindow(other, SW_SHOW);
  SetForegroundWindow(other);
  zotest::PumpMessages(200);
  EXPECT_EQ(GetForegroundWindow(), other);
  ASSERT_TRUE(second.Start("probe_second.log"));
  EXPECT_EQ(second.Wait(10000), 0);
  EXPECT_EQ(second.Log().find("setup"), std::string::npos);  // never reached the scene
  // Focus moves through the X server: give it a moment to arrive.
  for (int waited = 0; waited < 3000 && GetForegroundWindow() != w; waited += 50)
    zotest::PumpMessages(50);
  EXPECT_EQ(GetForegroundWindow(), w);
  EXPECT_EQ(first.Wait(0), -1);  // still running
  zotest::DestroyMainWindow();
  PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.Wait(10000), 0);
}

TEST(Shell, EscapeEndsTheProgram) {
  Probe p;
  ASSERT_TRUE(p.Start("probe_escape.log"));
  HWND w = WaitForWindow(10000);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(WaitForLog(p, "frame 1", 10000));
  PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(p.Wait(10000), 0);
  EXPECT_FALSE(IsWindow(w));
}

TEST(Shell, TheCloseBoxEndsTheProgram) {
  Probe p;
  ASSERT_TRUE(p.Start("probe_close.log"));
  HWND w = WaitForWindow(10000);
  ASSERT_NE(w, nullptr);
  PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(p.Wait(10000), 0);
  EXPECT_FALSE(IsWindow(w));
}
