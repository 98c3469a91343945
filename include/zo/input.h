// Keyboard and mouse: the window procedure fills the input record, the
// zoInput operations poll keys, detect releases and place or clip the cursor.
#pragma once

#include <windows.h>

#include "zo/input_state.h"

// The main window's procedure (window class "DEFAULT").
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace zoInput {
void KeyDown(int code);                          // record a key press; Escape ends the program
void PollKey(int key, int* state);               // four-state poll: 0 up, 1 pressed, 3 held, 2 released
void SetCursorPos(int x, int y);                 // client coordinates
void ClipCursorRect(int left, int top, int right, int bottom);  // screen coordinates
void ClipCursorToScreen();                       // clip to the display area
void ReleaseCursor();                            // ClipCursor(null)
}  // namespace zoInput
