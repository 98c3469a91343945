// Test support for the Windows tests: captured message boxes, scene hooks,
// and a hidden window for the library to own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "zo.h"

namespace zotest {

struct Box {
  std::string text, title;
  UINT style;
};

// Boxes the library would have shown since the last ClearBoxes; the answer
// given to each is boxAnswer (IDOK unless a test changes it).
extern std::vector<Box> boxes;
extern int boxAnswer;
void CaptureBoxes();
void ClearBoxes();

// Run by the DemoSetup and DemoFrame that the tests provide.
extern std::function<void()> onDemoSetup, onDemoFrame;

// A plain hidden window of class "DEFAULT" with the library's window
// procedure, set as mainWindow, for tests that need one without the loop.
HWND MakeMainWindow(int clientWidth = 640, int clientHeight = 480);
void DestroyMainWindow();

// Pumps this thread's messages for up to ms milliseconds; answers whether
// WM_QUIT came by.
bool PumpMessages(int ms);

// How many files match a FindFirstFileA pattern (left-over temporary files
// of the writers, for instance).
inline int CountFiles(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return n;
}

// Shift-JIS text as a std::string, to compare with what the library built.
inline std::string Sjis(const char* s) { return std::string(s); }

}  // namespace zotest
