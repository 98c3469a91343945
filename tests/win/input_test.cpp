// Messages fed to the window procedure and what they leave in the input
// record; the zoInput operations; the order of the end of the program.
#include <gtest/gtest.h>

#include "draw/display_win.h"
#include "zo_test.h"

namespace {

struct InputTest : ::testing::Test {
  HWND w = nullptr;
  void SetUp() override {
    zoSystem::InitGlobals();
    fullScreen = 0;
    captureMode = sysKeyMode = 0;
    viewerMode = transitionStep = 0;
    shutdownDone = 0;
    zotest::CaptureBoxes();
    w = zotest::MakeMainWindow();
  }
  void TearDown() override {
    zotest::DestroyMainWindow();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return WindowProc(w, msg, wp, lp); }
};

bool QuitPosted() {
  MSG m;
  return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0 && m.message == WM_QUIT;
}

bool ClosePosted() {
  MSG m;
  return PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0 && m.message == WM_CLOSE;
}

}  // namespace

TEST_F(InputTest, MouseMovesAndButtons) {
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(70, 40000));
  EXPECT_EQ(mouseX, 70);
  EXPECT_EQ(mouseY, 40000);  // high word taken unsigned

  Send(WM_LBUTTONDOWN);
  EXPECT_EQ(leftHeld + leftPressed + leftClicked, 3);
  EXPECT_EQ(buttonHeld, 1);
  EXPECT_EQ(buttonLatch, 1);
  Send(WM_RBUTTONDOWN);
  EXPECT_EQ(rightHeld + rightPressed + rightClicked, 3);
  EXPECT_EQ(buttonHeld, 2);
  EXPECT_EQ(buttonLatch, 2);
  Send(WM_LBUTTONUP);  // not the held button: buttonHeld stays 2
  EXPECT_EQ(leftHeld, 0);
  EXPECT_EQ(buttonHeld, 2);
  Send(WM_RBUTTONUP);
  EXPECT_EQ(buttonHeld, 0);
  EXPECT_EQ(buttonLatch, 2);
  EXPECT_EQ(leftClicked, 1);  // never cleared by the system
}

TEST_F(InputTest, DoubleClickArrivesAsDownUpDoubleUp) {
  Send(WM_LBUTTONDOWN);
  Send(WM_LBUTTONUP);
  leftPressed = 0;  // a frame step went by
  EXPECT_EQ(Send(WM_LBUTTONDBLCLK), 0);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(leftDoubleClicked, 1);
  EXPECT_EQ(leftPressed, 0);
  EXPECT_EQ(leftHeld, 0);
  EXPECT_EQ(Send(WM_RBUTTONDBLCLK), 0);
  EXPECT_EQ(rightDoubleClicked, 1);
  EXPECT_EQ(rightPressed, 0);
}

TEST_F(InputTest, KeysAndTheirReleases) {
  Send(WM_KEYDOWN, 'A');
  Send(WM_KEYDOWN, 'B');
  EXPECT_EQ(keyCode, 'B');
  EXPECT_EQ(keyLatch, 'B');
  Send(WM_KEYUP, 'A');  // not the current key
  EXPECT_EQ(keyCode, 'B');
  Send(WM_KEYUP, 'B');
  EXPECT_EQ(keyCode, 0);
  EXPECT_EQ(keyLatch, 'B');

  zoInput::WatchKey('C');
  Send(WM_KEYUP, 'C');
  Send(WM_KEYUP, 'C');
  EXPECT_EQ(zoInput::WatchKeyCount(), 2);
  Send(WM_KEYUP, VK_SHIFT);
  EXPECT_EQ(shiftToggle, 1);
  Send(WM_KEYUP, VK_SHIFT);
  EXPECT_EQ(shiftToggle, 0);

  viewerMode = 1;
  Send(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(viewerKey, VK_UP);
  EXPECT_EQ(keyCode, 0);
  Send(WM_KEYUP, VK_UP);
  EXPECT_EQ(viewerKey, 0);
}

TEST_F(InputTest, CaptureModeRoutesKeysAndLeftButtonAside) {
  zoInput::BeginCapture();
  Send(WM_KEYDOWN, 'Q');
  EXPECT_EQ(captureKey, 'Q');
  EXPECT_EQ(keyCode, 0);
  EXPECT_EQ(keyLatch, 0);
  Send(WM_LBUTTONDOWN);
  EXPECT_EQ(captureLeft, 1);
  EXPECT_EQ(leftHeld + leftPressed + buttonLatch, 0);
  Send(WM_RBUTTONDOWN);
  EXPECT_EQ(rightHeld + rightPressed + buttonLatch, 0);
  Send(WM_LBUTTONDBLCLK);
  EXPECT_EQ(leftDoubleClicked, 0);
  Send(WM_HOTKEY, 0xBF01);
  EXPECT_EQ(keyCode, 0);
  Send(WM_KEYDOWN, VK_ESCAPE);  // Escape does not end the program in capture mode
  EXPECT_EQ(shutdownDone, 0);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(captureLeft, 0);
  keyCode = 5;
  zoInput::EndCapture();
  EXPECT_EQ(captureMode, 0);
  EXPECT_EQ(keyCode, 0);
}

TEST_F(InputTest, SystemKeyModes) {
  EXPECT_EQ(Send(WM_SYSKEYDOWN, VK_F4), 0);  // mode 0: swallowed, Alt+F4 does nothing
  EXPECT_EQ(keyCode, 0);
  EXPECT_TRUE(IsWindow(w));
  zoInput::SetSystemKeyMode(2);
  EXPECT_EQ(Send(WM_SYSKEYDOWN, VK_MENU), 0);
  EXPECT_EQ(keyCode, 0);
  Send(WM_SYSKEYDOWN, VK_F10);
  EXPECT_EQ(keyCode, VK_F10);
  zoInput::SetSystemKeyMode(1);
  Send(WM_SYSKEYDOWN, VK_MENU);
  EXPECT_EQ(keyCode, VK_MENU);
  EXPECT_EQ(keyLatch, VK_MENU);
}

TEST_F(InputTest, HotKeysBecomeKeyCodes) {
  EXPECT_EQ(Send(WM_HOTKEY, 0xBF01), 0);
  EXPECT_EQ(keyCode, 44);
  EXPECT_EQ(Send(WM_HOTKEY, 0xBF02), 0);
  EXPECT_EQ(keyCode, 257);
  EXPECT_EQ(keyLatch, 257);
}

TEST_F(InputTest, MoveScreenSaverCursorAndActivation) {
  screenWidth = 640;
  screenHeight = 480;
  Send(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-20), 30));
  EXPECT_EQ(clientX, -20);  // moved partly off the screen to the left
  EXPECT_EQ(clientY, 30);
  EXPECT_EQ(presentRect.left, -20);
  EXPECT_EQ(presentRect.right, 620);
  EXPECT_EQ(presentRect.bottom, 510);

  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);

  fullScreen = 1;
  EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(w), HTCLIENT), 1);
  fullScreen = 0;

  frameDelta = 3.0f;
  EXPECT_EQ(Send(WM_ACTIVATEAPP, 1), 0);
  EXPECT_EQ(appActive, 1);
  EXPECT_EQ(frameDelta, 0.0f);
  cursorShown = 0;
  ShowCursor(FALSE);
  EXPECT_EQ(Send(WM_ACTIVATEAPP, 0), 0);
  EXPECT_EQ(appActive, 0);
  EXPECT_EQ(cursorShown, 1);
  dialogMode = 1;
  Send(WM_ACTIVATEAPP, 1);
  EXPECT_EQ(appActive, 0);  // a dialog owns activation
  dialogMode = 0;
}

TEST_F(InputTest, CursorClipFollowsTheModeAndRightDoubleClicks) {
  clipCursorMode = 1;
  screenWidth = 640;
  screenHeight = 480;
  Send(WM_MOVE, 0, MAKELPARAM(10, 20));
  EXPECT_EQ(zoInput::IsCursorClipped(), 1);
  Send(WM_RBUTTONDBLCLK);
  EXPECT_EQ(zoInput::IsCursorClipped(), 0);
  Send(WM_RBUTTONDBLCLK);
  EXPECT_EQ(zoInput::IsCursorClipped(), 1);
  Send(WM_ACTIVATEAPP, 0);
  EXPECT_EQ(zoInput::IsCursorClipped(), 0);
  clipCursorMode = 0;
}

TEST_F(InputTest, PollKeyReadsTheKeyStateAndIsSuppressed) {
  // Z held or not, a mode set to value for the poll, the state it reads.
  struct Step {
    bool down;
    int* mode;
    int value, want;
  };
  const Step steps[] = {{true, nullptr, 0, 1},        {true, nullptr, 0, 3},    {false, nullptr, 0, 2},
                        {false, nullptr, 0, 0},       {true, &transitionStep, 3, 0}, {true, &captureMode, 1, 0}};
  BYTE keys[256] = {};
  int state = 0;
  for (const Step& step : steps) {
    keys['Z'] = step.down ? 0x80 : 0;
    SetKeyboardState(keys);
    if (step.mode) *step.mode = step.value;
    zoInput::PollKey('Z', &state);
    if (step.mode) *step.mode = 0;
    EXPECT_EQ(state, step.want);
  }
  keys['Z'] = 0;
  SetKeyboardState(keys);
}

TEST_F(InputTest, EscapeEndsOnceThenTheWindowCloses) {
  mutexHandle = CreateMutexA(nullptr, TRUE, nullptr);
  Send(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(shutdownDone, 1);
  EXPECT_EQ(closeState, 2);
  EXPECT_EQ(mutexHandle, nullptr);
  EXPECT_TRUE(IsWindow(w));  // WM_CLOSE is only posted
  ASSERT_TRUE(ClosePosted());
  EXPECT_TRUE(zotest::PumpMessages(0));  // WM_CLOSE destroys, WM_DESTROY quits
  EXPECT_FALSE(IsWindow(w));

  // A second end does nothing.
  mutexHandle = reinterpret_cast<HANDLE>(1);
  closeState = 0;
  EXPECT_EQ(zoSystem::End(), 1);
  EXPECT_EQ(mutexHandle, reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(closeState, 0);
  mutexHandle = nullptr;
}

TEST_F(InputTest, CloseBoxEndsWithoutPostingAnotherClose) {
  EXPECT_EQ(Send(WM_CLOSE), 0);
  EXPECT_EQ(shutdownDone, 1);
  EXPECT_EQ(closeState, 2);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(ClosePosted());
  EXPECT_TRUE(QuitPosted());
}

TEST_F(InputTest, CheckErrorEndsTheProgramWhenAnErrorWasReported) {
  errorFlag = 0;
  EXPECT_EQ(zoSystem::CheckError(), 0);
  EXPECT_EQ(shutdownDone, 0);
  ShowError("zoDraw::Screen", "DirectDrawが使用できません");
  EXPECT_EQ(zoSystem::CheckError(), 1);
  EXPECT_EQ(shutdownDone, 1);
  EXPECT_EQ(zoSystem::CheckError(), 1);
  errorFlag = 0;
}
