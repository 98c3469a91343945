// The joystick operations over a stand-in for joyGetPosEx and
// joyConfigChanged: calibration, directions, the analog ramp, hold meters,
// four-state buttons and their suppression, and joysticks that are absent.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "draw_support.h"
#include "input/joystick_win.h"
#include "zo_test.h"

namespace {

struct Stick {
  bool present;
  DWORD x, y, buttons;
};

Stick sticks[2];
std::vector<DWORD> readFlags;  // dwFlags of every read, in order
int configChanges;
bool badSize;

MMRESULT WINAPI FakeGetPosEx(UINT joystick, LPJOYINFOEX info) {
  readFlags.push_back(info->dwFlags);
  if (info->dwSize != 52) badSize = true;
  if (joystick > 1 || !sticks[joystick].present) return JOYERR_UNPLUGGED;
  info->dwXpos = sticks[joystick].x;
  info->dwYpos = sticks[joystick].y;
  info->dwButtons = sticks[joystick].buttons;
  return JOYERR_NOERROR;
}

MMRESULT WINAPI FakeConfigChanged(DWORD) {
  ++configChanges;
  return JOYERR_NOERROR;
}

const DWORD Centre = 32767, Low = 0, High = 65535;

struct JoystickTest : ::testing::Test {
  void SetUp() override {
    zo::joyGetPosExHook = FakeGetPosEx;
    zo::joyConfigChangedHook = FakeConfigChanged;
    sticks[0] = Stick{true, Centre, Centre, 0};
    sticks[1] = Stick{false, 0, 0, 0};
    readFlags.clear();
    configChanges = 0;
    badSize = false;
    transitionStep = viewerMode = captureMode = 0;
    frameDelta = 0.0625f;  // exact in binary: eight calls are half a second
    zoJoystick::Init();
  }
  void TearDown() override {
    zo::joyGetPosExHook = nullptr;
    zo::joyConfigChangedHook = nullptr;
    transitionStep = viewerMode = captureMode = 0;
    EXPECT_FALSE(badSize);
  }
  static bool SameRecords(const JoystickState (&saved)[2]) {
    return std::memcmp(saved, joystickStates, sizeof saved) == 0;
  }
};

}  // namespace

TEST_F(JoystickTest, InitCalibratesWithAndWithoutADeviceAndClearsTheRecords) {
  EXPECT_EQ(configChanges, 1);
  ASSERT_EQ(readFlags.size(), 2u);
  EXPECT_EQ(readFlags[0], 0x8FFu);
  EXPECT_EQ(readFlags[1], 0x8FFu);
  int x = -1, y = -1;
  EXPECT_EQ(zoJoystick::GetCentre(0, &x, &y), 1);
  EXPECT_EQ(x, 32767);
  EXPECT_EQ(y, 32767);
  zoJoystick::GetCentre(1, &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  joystickStates[1].analogX = 5;
  joystickStates[1].buttonState[2] = 3;
  joystickStates[0].holdRate = 7;
  sticks[0] = Stick{true, 1000, 2000, 0};
  zoJoystick::Init();
  EXPECT_EQ(joyCentreX[0], 1000);
  EXPECT_EQ(joyCentreY[0], 2000);
  const JoystickState zero = {};
  for (const JoystickState& s : joystickStates) EXPECT_EQ(std::memcmp(&s, &zero, sizeof s), 0);
  EXPECT_EQ(sizeof(JoystickState), 48u);
  EXPECT_EQ(offsetof(JoystickState, buttonHold), 12u);
  EXPECT_EQ(offsetof(JoystickState, holdRate), 28u);
  EXPECT_EQ(offsetof(JoystickState, buttonState), 32u);
}

TEST_F(JoystickTest, DirectionsAndKeypad) {
  struct Case {
    DWORD x, y;
    int dx, dy, numpad;
  } cases[] = {{Low, Low, -1, -1, 7},       {Centre, Low, 0, -1, 8}, {High, Low, 1, -1, 9},
               {Low, Centre, -1, 0, 4},     {Centre, Centre, 0, 0, 5}, {High, Centre, 1, 0, 6},
               {Low, High, -1, 1, 1},       {Centre, High, 0, 1, 2}, {High, High, 1, 1, 3},
               {16383, 49150, -1, 1, 1},    {16384, 49149, 0, 0, 5}};
  for (const Case& c : cases) {
    sticks[0].x = c.x;
    sticks[0].y = c.y;
    int dx = 9, dy = 9;
    readFlags.clear();
    EXPECT_EQ(zoJoystick::Direction(0, &dx, &dy), 1);
    EXPECT_EQ(dx, c.dx) << c.x;
    EXPECT_EQ(dy, c.dy) << c.y;
    EXPECT_EQ(zoJoystick::Numpad(0), c.numpad) << c.x << "," << c.y;
    EXPECT_EQ(readFlags, (std::vector<DWORD>{0x803, 0x803}));
    int px, py;
    EXPECT_EQ(zoJoystick::Position(0, &px, &py), 1);
    EXPECT_EQ(px, static_cast<int>(c.x));
    EXPECT_EQ(py, static_cast<int>(c.y));
  }
}

TEST_F(JoystickTest, AJoystickAbsentAtCalibrationCountsEveryPositionAboveZeroAsHigh) {
  int dx = 9, dy = 9;
  EXPECT_EQ(zoJoystick::Direction(1, &dx, &dy), 0);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  EXPECT_EQ(zoJoystick::Numpad(1), 5);

  sticks[1] = Stick{true, Centre, 1, 0};  // plugged in later, at rest
  EXPECT_EQ(zoJoystick::Direction(1, &dx, &dy), 1);
  EXPECT_EQ(dx, 1);
  EXPECT_EQ(dy, 1);
  EXPECT_EQ(zoJoystick::Numpad(1), 3);
  sticks[1].y = 0;  // 0 <= 0 / 2: at a centre of 0 the very top still counts as up
  EXPECT_EQ(zoJoystick::Numpad(1), 9);
}

TEST_F(JoystickTest, AnalogRampsToOneHundredInHalfASecondAndBack) {
  zoJoystick::SetRates(0, 200.0f, 0.0f);
  sticks[0].x = High;
  int x = 0, y = 9;
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(zoJoystick::Analog(0, &x, &y), 1);
    EXPECT_EQ(x, 12 * i + i / 2);  // 12.5 per call, truncated
    EXPECT_EQ(y, 0);
  }
  zoJoystick::Analog(0, &x, &y);
  EXPECT_EQ(x, 100);
  sticks[0].x = Centre;
  for (int i = 7; i >= 0; --i) {
    zoJoystick::Analog(0, &x, &y);
    EXPECT_EQ(x, 12 * i + i / 2);
  }
  // Up and left go negative; ResetAnalog puts the axes at rest.
  sticks[0].x = sticks[0].y = Low;
  zoJoystick::Analog(0, &x, &y);
  EXPECT_EQ(x, -12);
  EXPECT_EQ(y, -12);
  zoJoystick::ResetAnalog();
  EXPECT_EQ(joystickStates[0].analogX, 0.0f);
  EXPECT_EQ(joystickStates[0].analogRate, 200.0f);
}

TEST_F(JoystickTest, HoldMetersFillWhileHeldAndEmptyOnRelease) {
  zoJoystick::SetRates(0, 0.0f, 80.0f);
  sticks[0].buttons = 0x2;  // button 2
  readFlags.clear();
  EXPECT_EQ(zoJoystick::ButtonHold(0, 2), 5);
  EXPECT_EQ(zoJoystick::ButtonHold(0, 2), 10);
  EXPECT_EQ(zoJoystick::ButtonHold(0, 1), 0);
  EXPECT_EQ(readFlags[0], 0x80u);
  int h[4];
  for (int i = 0; i < 30; ++i) zoJoystick::ButtonHolds(0, &h[0], &h[1], &h[2], &h[3]);
  EXPECT_EQ(h[0], 0);
  EXPECT_EQ(h[1], 100);
  sticks[0].buttons = 0x9;  // buttons 1 and 4
  EXPECT_EQ(zoJoystick::ButtonHolds(0, &h[0], &h[1], &h[2], &h[3]), 1);
  EXPECT_EQ(h[0], 5);
  EXPECT_EQ(h[1], 0);
  EXPECT_EQ(h[3], 5);
  zoJoystick::ResetAnalog();
  EXPECT_EQ(joystickStates[0].buttonHold[0], 0.0f);
  EXPECT_EQ(joystickStates[0].holdRate, 80.0f);
}

TEST_F(JoystickTest, FourStateButtonsAreSuppressedDuringATransitionTheViewerAndCapture) {
  sticks[0].buttons = 0x1;
  EXPECT_EQ(zoJoystick::PollButton(0, 1), 1);
  EXPECT_EQ(zoJoystick::PollButton(0, 1), 3);
  int* const modes[] = {&transitionStep, &viewerMode, &captureMode};
  for (int* mode : modes) {
    *mode = 1;
    EXPECT_EQ(zoJoystick::PollButton(0, 1), 0);
    EXPECT_EQ(joystickStates[0].buttonState[0], 0);
    *mode = 0;
    EXPECT_EQ(zoJoystick::PollButton(0, 1), 1);  // the stored state was cleared
  }
  sticks[0].buttons = 0;
  EXPECT_EQ(zoJoystick::PollButton(0, 1), 2);
  EXPECT_EQ(zoJoystick::PollButton(0, 1), 0);

  int s[4];
  sticks[0].buttons = 0xA;  // buttons 2 and 4
  EXPECT_EQ(zoJoystick::PollButtons(0, &s[0], &s[1], &s[2], &s[3]), 1);
  EXPECT_EQ((std::vector<int>{s[0], s[1], s[2], s[3]}), (std::vector<int>{0, 1, 0, 1}));
  sticks[0].buttons = 0x8;
  zoJoystick::PollButtons(0, &s[0], &s[1], &s[2], &s[3]);
  EXPECT_EQ((std::vector<int>{s[0], s[1], s[2], s[3]}), (std::vector<int>{0, 2, 0, 3}));
  viewerMode = 1;
  zoJoystick::PollButtons(0, &s[0], &s[1], &s[2], &s[3]);
  EXPECT_EQ((std::vector<int>{s[0], s[1], s[2], s[3]}), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(joystickStates[0].buttonState[3], 0);
}

TEST_F(JoystickTest, RawButtons) {
  sticks[0].buttons = 0x15;  // buttons 1, 3 and 5
  int b[4] = {9, 9, 9, 9};
  EXPECT_EQ(zoJoystick::Buttons(0, &b[0], &b[1], &b[2], &b[3]), 1);
  EXPECT_EQ((std::vector<int>{b[0], b[1], b[2], b[3]}), (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(zoJoystick::Button(0, 5), 1);
  EXPECT_EQ(zoJoystick::Button(0, 2), 0);
  EXPECT_EQ(zoJoystick::Button(0, 0), 0);
  EXPECT_EQ(zoJoystick::Button(0, 33), 0);
}

TEST_F(JoystickTest, AbsentJoysticksAndBadNumbersAnswerZeroAndChangeNothing) {
  sticks[0].buttons = 0xF;
  zoJoystick::SetRates(0, 100.0f, 100.0f);
  zoJoystick::SetRates(1, 100.0f, 100.0f);
  zoJoystick::PollButton(0, 1);
  zoJoystick::ButtonHold(0, 1);
  JoystickState saved[2];
  std::memcpy(saved, joystickStates, sizeof saved);

  for (int j : {1, 2, -1}) {  // absent, then out of range
    int a = 9, b = 9, c = 9, d = 9;
    EXPECT_EQ(zoJoystick::Button(j, 1), 0);
    EXPECT_EQ(zoJoystick::PollButton(j, 1), 0);
    EXPECT_EQ(zoJoystick::ButtonHold(j, 1), 0);
    EXPECT_EQ(zoJoystick::Numpad(j), 5);
    EXPECT_EQ(zoJoystick::Buttons(j, &a, &b, &c, &d), 0);
    EXPECT_EQ(a + b + c + d, 0);
    a = b = c = d = 9;
    EXPECT_EQ(zoJoystick::PollButtons(j, &a, &b, &c, &d), 0);
    EXPECT_EQ(a + b + c + d, 0);
    a = b = c = d = 9;
    EXPECT_EQ(zoJoystick::ButtonHolds(j, &a, &b, &c, &d), 0);
    EXPECT_EQ(a + b + c + d, 0);
    a = b = 9;
    EXPECT_EQ(zoJoystick::Direction(j, &a, &b), 0);
    EXPECT_EQ(a + b, 0);
    a = b = 9;
    EXPECT_EQ(zoJoystick::Position(j, &a, &b), 0);
    EXPECT_EQ(a + b, 0);
    a = b = 9;
    EXPECT_EQ(zoJoystick::Analog(j, &a, &b), 0);
    EXPECT_EQ(a + b, 0);
  }
  int x = 9, y = 9;
  EXPECT_EQ(zoJoystick::GetCentre(2, &x, &y), 0);
  EXPECT_EQ(x + y, 0);
  zoJoystick::SetRates(2, 1.0f, 1.0f);
  zoJoystick::SetRates(-1, 1.0f, 1.0f);
  // Buttons outside 1 to 4 have no slot to keep their state in.
  for (int n : {0, 5, -3}) {
    EXPECT_EQ(zoJoystick::PollButton(0, n), 0);
    EXPECT_EQ(zoJoystick::ButtonHold(0, n), 0);
  }
  EXPECT_TRUE(SameRecords(saved));
  EXPECT_EQ(joyCentreX[0], 32767);  // the tables beside the records are untouched
}

TEST_F(JoystickTest, TheDisplayCalibratesTheJoysticks) {
  sticks[0] = Stick{true, 111, 222, 0};
  joystickStates[0].analogRate = 3;
  configChanges = 0;
  zotest::CaptureBoxes();
  ASSERT_EQ(zotest::OpenDisplay(320, 240, 0), 1);
  EXPECT_EQ(configChanges, 1);
  EXPECT_EQ(joyCentreX[0], 111);
  EXPECT_EQ(joyCentreY[0], 222);
  EXPECT_EQ(joystickStates[0].analogRate, 0.0f);
  EXPECT_EQ(midiLoop, 1);
  zoDraw::ReleaseAll();
  zotest::DestroyMainWindow();
}
