// Internals of the shell shared by the entry point and the window procedure.
#pragma once

#include <windows.h>

namespace zo {

extern const char* const ApplicationTitle;  // "Tessaro": window title and mutex base
extern const char* const WindowClassName;   // "DEFAULT"

// Registers the class, creates and shows the main window as configured.
// Answers false when no window could be created.
bool CreateMainWindow(HINSTANCE instance, int showCommand);

// One pass of the frame: timing, scene bookkeeping, the scene's frame,
// blink phase, one-frame input flags and the cursor over the client area.
void RunFrameStep();

// Drains messages and runs frame steps until WM_QUIT.
void RunMessageLoop();

}  // namespace zo
