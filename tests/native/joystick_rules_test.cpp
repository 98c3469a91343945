// Directions, keypad numbers, four-state buttons, hold meters and the
// analog ramp of the joystick module.
#include <gtest/gtest.h>

#include "input/joystick_rules.h"

using namespace zo;

TEST(JoystickRules, AxisDirectionAgainstTheCentre) {
  struct Case {
    int32_t position, centre;
    int direction;
  } cases[] = {
      {0, 32767, -1},     {16383, 32767, -1}, {16384, 32767, 0},  {32767, 32767, 0},
      {49149, 32767, 0},  {49150, 32767, 1},  {65535, 32767, 1},
      // Odd centres: the half truncates before the sum.
      {2, 5, -1},         {3, 5, 0},          {6, 5, 0},          {7, 5, 1},
      // Absent at calibration: everything above 0 is high, 0 itself low.
      {0, 0, -1},         {1, 0, 1},          {65535, 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AxisDirection(c.position, c.centre), c.direction) << c.position << " around " << c.centre;
  }
}

TEST(JoystickRules, NumpadLayout) {
  const int expected[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(NumpadDirection(dx, dy), expected[dy + 1][dx + 1]);
  EXPECT_EQ(NumpadDirection(2, 0), 5);
  EXPECT_EQ(NumpadDirection(0, -7), 5);
}

TEST(JoystickRules, FourStateButtonsAndSuppression) {
  struct Case {
    int32_t from;
    bool pressed;
    int32_t to;
  } cases[] = {{0, true, 1}, {1, true, 3}, {3, true, 3}, {2, true, 3},
               {1, false, 2}, {3, false, 2}, {2, false, 0}, {0, false, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(NextButtonState(c.from, c.pressed, false), c.to) << c.from << " " << c.pressed;
    EXPECT_EQ(NextButtonState(c.from, c.pressed, true), 0);
  }
}

TEST(JoystickRules, HoldMeterFillsToOneHundredAndDropsOnRelease) {
  float hold = 0.0f;
  hold = NextHold(hold, true, 50.0f, 0.5f);
  EXPECT_FLOAT_EQ(hold, 25.0f);
  for (int i = 0; i < 10; ++i) hold = NextHold(hold, true, 50.0f, 0.5f);
  EXPECT_FLOAT_EQ(hold, 100.0f);
  EXPECT_FLOAT_EQ(NextHold(hold, false, 50.0f, 0.5f), 0.0f);
  EXPECT_FLOAT_EQ(NextHold(99.0f, true, 50.0f, 0.5f), 100.0f);
}

TEST(JoystickRules, AnalogRampsOutAndBackWithoutOvershoot) {
  // Rate 200 at 0.05 s per call: 100 after ten calls, 0 ten calls later.
  const float step = 200.0f * 0.05f;
  float axis = 0.0f;
  for (int i = 0; i < 9; ++i) axis = NextAnalog(axis, 1, step);
  EXPECT_LT(axis, 100.0f);
  axis = NextAnalog(axis, 1, step);
  EXPECT_NEAR(axis, 100.0f, 1e-3);
  EXPECT_FLOAT_EQ(NextAnalog(axis, 1, step), 100.0f);
  for (int i = 0; i < 10; ++i) axis = NextAnalog(axis, 0, step);
  EXPECT_FLOAT_EQ(axis, 0.0f);

  EXPECT_FLOAT_EQ(NextAnalog(-95.0f, -1, step), -100.0f);
  EXPECT_FLOAT_EQ(NextAnalog(3.0f, 0, step), 0.0f);   // stops at rest
  EXPECT_FLOAT_EQ(NextAnalog(-3.0f, 0, step), 0.0f);
  EXPECT_FLOAT_EQ(NextAnalog(-50.0f, 0, step), -40.0f);
  EXPECT_FLOAT_EQ(NextAnalog(80.0f, -1, step), 70.0f);  // reversing moves at the same rate
}

TEST(JoystickRules, OnlyTwoJoysticksAndFourStateButtons) {
  EXPECT_TRUE(IsJoystick(0));
  EXPECT_TRUE(IsJoystick(1));
  EXPECT_FALSE(IsJoystick(-1));
  EXPECT_FALSE(IsJoystick(2));
  EXPECT_FALSE(IsStateButton(0));
  EXPECT_TRUE(IsStateButton(1));
  EXPECT_TRUE(IsStateButton(4));
  EXPECT_FALSE(IsStateButton(5));
}
