// The input record written by the window procedure and read by scene code.
// Plain integers only, so the rules over them build on any platform.
#pragma once

#include <cstdint>

extern int mouseX, mouseY;                    // client position of the last mouse move
extern int mouseDX, mouseDY;                  // movement since the previous frame step
extern int leftHeld, rightHeld;               // 1 while the button is down
extern int leftPressed, rightPressed;         // went down since the last frame step
extern int leftDoubleClicked, rightDoubleClicked;
extern int leftClicked, rightClicked;         // set by every press, cleared by scene code
extern int buttonHeld;                        // 1 left, 2 right: last pressed button while down
extern int buttonLatch;                       // last pressed button until CheckRelease takes it
extern int keyCode;                           // last pressed key while it stays down
extern int keyLatch;                          // last pressed key until CheckRelease takes it
extern int viewerKey;                         // keyCode while the scroll viewer is on
extern int captureKey;                        // keyCode in capture mode
extern int captureLeft;                       // left button in capture mode
extern int shiftToggle;                       // flips at every release of Shift
extern int watchKey, watchKeyCount;           // releases of watchKey since WatchKey

extern int captureMode;                       // keys and left button go to the capture fields
extern int sysKeyMode;                        // 0 swallow system keys, 2 swallow Alt only, else record
extern int cursorClipped;                     // 1 while ClipCursor holds the cursor
extern int releaseState, releaseCode;         // progress of zoInput::CheckRelease

// Read by the input rules; owned by the presentation.
#include "zo/present_state.h"

namespace zoInput {
// Answers an input code (1 left, 2 right, else a virtual key) once it has been
// pressed and released, 0 otherwise; the list ends with 0. Call once per frame.
// An input held before the first call counts only once pressed again.
int CheckRelease(int code, ...);
// The same over an array that ends with 0.
int CheckReleaseList(const int* codes);
void BeginCapture();                          // captureMode = 1
void EndCapture();                            // captureMode = 0, keyCode = 0
void WatchKey(int code);                      // count the releases of code from now on
int WatchKeyCount();
void SetSystemKeyMode(int mode);
int IsCursorClipped();
}  // namespace zoInput
