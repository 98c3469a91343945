// Every box the library shows goes through ShowMessageBox, so a test can
// capture what would be shown instead of blocking on a modal box.
#pragma once

#include <windows.h>

namespace zo {

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* title, UINT style);

// Null: the real MessageBoxA. Tests set their own.
extern MessageBoxFunction messageBoxHook;

int ShowMessageBox(HWND owner, const char* text, const char* title, UINT style);

// Runs before every box; the display sets it to bring the GDI surface in
// front of a full-screen display (the system module knows no display).
extern void (*beforeBoxHook)();

// While above 0, ShowError sets the error flag without a box: for a retry of
// something whose failure was already reported.
extern int errorBoxesMuted;

}  // namespace zo
