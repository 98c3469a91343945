// zoInput operations that ask Windows: key state, cursor position and clip.
#include "app/key_rules.h"
#include "system/present_scale.h"
#include "zo.h"

namespace zoInput {

void KeyDown(int code) {
  if (viewerMode) {
    viewerKey = code;
  } else {
    keyCode = code;
    keyLatch = code;
  }
  if (code == VK_ESCAPE) zoSystem::End();
}

void PollKey(int key, int* state) {
  bool down = (GetKeyState(key) & 0x80) != 0;
  bool suppressed = transitionStep != 0 || viewerMode || captureMode;
  *state = zo::NextKeyState(*state, down, suppressed);
}

void SetCursorPos(int x, int y) {
  const int scale = zo::PresentScale();
  ::SetCursorPos(clientX + x * scale, clientY + y * scale);
}

void ClipCursorRect(int left, int top, int right, int bottom) {
  RECT r = {left, top, right, bottom};
  ClipCursor(&r);
  cursorClipped = 1;
}

void ClipCursorToScreen() {
  if (fullScreen)
    ClipCursorRect(0, 0, screenWidth, screenHeight);
  else
    ClipCursorRect(clientX, clientY, clientX + screenWidth * zo::PresentScale(),
                   clientY + screenHeight * zo::PresentScale());
}

void ReleaseCursor() {
  ClipCursor(nullptr);
  cursorClipped = 0;
}

}  // namespace zoInput
