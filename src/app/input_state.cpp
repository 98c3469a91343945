// The input record and the input rules that need no window.
#include "zo/input_state.h"

#include <cstdarg>

int mouseX, mouseY, mouseDX, mouseDY;
int leftHeld, rightHeld, leftPressed, rightPressed;
int leftDoubleClicked, rightDoubleClicked, leftClicked, rightClicked;
int buttonHeld, buttonLatch, keyCode, keyLatch;
int viewerKey, captureKey, captureLeft, shiftToggle;
int watchKey, watchKeyCount;
int captureMode, sysKeyMode, cursorClipped, releaseState, releaseCode;

namespace zoInput {

namespace {
const int LeftButton = 1, RightButton = 2;
bool IsButton(int code) { return code == LeftButton || code == RightButton; }
}  // namespace

int CheckReleaseList(const int* codes) {
  if (releaseState == 0) {
    if (keyCode != 0 || buttonHeld != 0) return 0;
    // Armed with everything up. A latch left from a press before this moment
    // belongs to an input that was held, so only presses from now on count.
    releaseState = 1;
    keyLatch = 0;
    buttonLatch = 0;
    return 0;
  }
  if (releaseState == 1) {
    for (const int* c = codes; *c != 0; ++c) {
      if (*c == keyLatch || *c == buttonLatch) {
        releaseCode = *c;
        releaseState = 2;
        break;
      }
    }
  }
  if (releaseState == 2) {
    bool button = IsButton(releaseCode);
    if ((!button && keyLatch != releaseCode) || (button && buttonLatch != releaseCode))
      releaseState = 0;
    // Tested even when the latch just moved on: a release still counts.
    bool released = button ? buttonHeld == 0 : keyCode == 0;
    if (released) {
      releaseState = 0;
      keyLatch = 0;
      buttonLatch = 0;
      return releaseCode;
    }
  }
  return 0;
}

int CheckRelease(int code, ...) {
  const int capacity = 64;  // longer lists are cut; nobody waits on 64 inputs at once
  int codes[capacity + 1];
  int n = 0;
  va_list args;
  va_start(args, code);
  for (int c = code; c != 0 && n < capacity; c = va_arg(args, int)) codes[n++] = c;
  va_end(args);
  codes[n] = 0;
  return CheckReleaseList(codes);
}

void BeginCapture() { captureMode = 1; }

void EndCapture() {
  captureMode = 0;
  keyCode = 0;
}

void WatchKey(int code) {
  watchKey = code;
  watchKeyCount = 0;
}

int WatchKeyCount() { return watchKeyCount; }
void SetSystemKeyMode(int mode) { sysKeyMode = mode; }
int IsCursorClipped() { return cursorClipped; }

}  // namespace zoInput
