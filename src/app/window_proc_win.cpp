// The main window's procedure: Windows messages into the input record, plus
// activation, cursor, screen saver, closing and the end of MIDI sequences.
#include "draw/display_win.h"
#include "music/music_win.h"
#include "zo.h"

namespace {

const int HotKeyPrintScreen = 0xBF01;      // reported as key code 44
const int HotKeyAltPrintScreen = 0xBF02;   // reported as key code 257

void KeyUp(int code) {
  if (code == keyCode) keyCode = 0;
  if (code == viewerKey) viewerKey = 0;
  if (code == captureKey) captureKey = 0;
  if (code == VK_SHIFT) shiftToggle = !shiftToggle;
  if (code == watchKey) ++watchKeyCount;
}

void KeyPress(int code) {
  if (captureMode == 0)
    zoInput::KeyDown(code);
  else
    captureKey = code;
}

void Deactivate() {
  zoSystem::SetActive(0);
  if (!cursorShown) {
    ShowCursor(TRUE);
    cursorShown = 1;
  }
  if (clipCursorMode) zoInput::ReleaseCursor();
}

void Activate() {
  if (dialogMode) return;
  zoSystem::SetActive(1);
  zoSystem::ResetFrameTimer();  // the first delta after a pause is 0
  if (clipCursorMode) zoInput::ClipCursorToScreen();
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_MOVE:
      clientX = static_cast<short>(LOWORD(lParam));
      clientY = static_cast<short>(HIWORD(lParam));
      SetRect(&presentRect, clientX, clientY, clientX + screenWidth * zo::PresentScale(),
              clientY + screenHeight * zo::PresentScale());
      if (clipCursorMode) zoInput::ClipCursorToScreen();
      break;
    case WM_CLOSE:
      if (closeState == 0) closeState = 1;
      if (closeState < 2) zoSystem::End();
      DestroyWindow(window);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam == 0)
        Deactivate();
      else
        Activate();
      return 0;
    case WM_SETCURSOR:
      if (fullScreen && !messageBoxOpen) {
        SetCursor(nullptr);
        return 1;
      }
      break;
    case WM_KEYDOWN:
      KeyPress(static_cast<int>(wParam));
      break;
    case WM_KEYUP:
      KeyUp(static_cast<int>(wParam));
      break;
    case WM_SYSKEYDOWN:
      if (sysKeyMode == 0) return 0;
      if (sysKeyMode == 2 && wParam == VK_MENU) return 0;
      KeyPress(static_cast<int>(wParam));
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;
      break;
    case WM_MOUSEMOVE:
      // The game sees frame pixels, whatever block each is shown as.
      mouseX = LOWORD(lParam) / zo::PresentScale();
      mouseY = HIWORD(lParam) / zo::PresentScale();
      break;
    case WM_LBUTTONDOWN:
      if (captureMode == 0) {
        leftHeld = leftPressed = leftClicked = 1;
        buttonHeld = buttonLatch = 1;
      } else {
        captureLeft = 1;
      }
      break;
    case WM_LBUTTONUP:
      leftHeld = 0;
      if (buttonHeld == 1) buttonHeld = 0;
      captureLeft = 0;
      break;
    case WM_LBUTTONDBLCLK:
      if (captureMode == 0) leftDoubleClicked = 1;
      return 0;
    case WM_RBUTTONDOWN:
      if (captureMode == 0) {
        rightHeld = rightPressed = rightClicked = 1;
        buttonHeld = buttonLatch = 2;
      }
      break;
    case WM_RBUTTONUP:
      rightHeld = 0;
      if (buttonHeld == 2) buttonHeld = 0;
      break;
    case WM_RBUTTONDBLCLK:
      if (captureMode == 0) rightDoubleClicked = 1;
      if (clipCursorMode) {
        if (cursorClipped)
          zoInput::ReleaseCursor();
        else
          zoInput::ClipCursorToScreen();
      }
      return 0;
    case WM_HOTKEY:
      if (captureMode == 0) {
        if (wParam == HotKeyPrintScreen) zoInput::KeyDown(44);
        if (wParam == HotKeyAltPrintScreen) zoInput::KeyDown(257);
      }
      return 0;
    case MM_MCINOTIFY:
      zo::HandleMciNotify(wParam);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
