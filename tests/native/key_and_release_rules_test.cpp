// The four-state key poll and the pressed-and-released detector.
#include <gtest/gtest.h>

#include "app/key_rules.h"
#include "zo/input_state.h"

using zo::NextKeyState;

TEST(KeyPoll, WalksUpPressedHeldReleased) {
  int s = 0;
  s = NextKeyState(s, true, false);
  EXPECT_EQ(s, 1);
  s = NextKeyState(s, true, false);
  EXPECT_EQ(s, 3);
  s = NextKeyState(s, false, false);
  EXPECT_EQ(s, 2);
  s = NextKeyState(s, false, false);
  EXPECT_EQ(s, 0);
}

TEST(KeyPoll, PressWhileJustReleasedGoesToHeld) {
  EXPECT_EQ(NextKeyState(2, true, false), 3);
  EXPECT_EQ(NextKeyState(1, false, false), 2);
}

TEST(KeyPoll, SuppressionForcesUp) {
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(NextKeyState(s, true, true), 0);
    EXPECT_EQ(NextKeyState(s, false, true), 0);
  }
}

namespace {

struct ReleaseFixture : ::testing::Test {
  void SetUp() override {
    keyCode = keyLatch = buttonHeld = buttonLatch = 0;
    releaseState = releaseCode = 0;
  }
  static void PressKey(int k) { keyCode = keyLatch = k; }
  static void ReleaseKey(int k) {
    if (keyCode == k) keyCode = 0;
  }
};

}  // namespace

TEST_F(ReleaseFixture, HeldKeyIsNotArmedUntilEverythingIsUp) {
  PressKey(13);  // Enter held since before the first call
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  EXPECT_EQ(releaseState, 0);
  ReleaseKey(13);
  // Released, its latch still 13: it was held before the first call, so it
  // does not count until it is pressed again.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0) << i;
  PressKey(13);
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  ReleaseKey(13);
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 13);
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
}

TEST_F(ReleaseFixture, ButtonHeldBeforeTheFirstCallMustBePressedAgain) {
  buttonHeld = buttonLatch = 1;
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  buttonHeld = 0;
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  buttonHeld = buttonLatch = 1;
  buttonHeld = 0;  // pressed and released between two calls
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 1);
}

TEST_F(ReleaseFixture, ReportsOnceOnTheFirstCallAfterRelease) {
  EXPECT_EQ(zoInput::CheckRelease(13, 0), 0);  // armed, nothing latched
  PressKey(13);
  EXPECT_EQ(zoInput::CheckRelease(13, 0), 0);
  EXPECT_EQ(zoInput::CheckRelease(13, 0), 0);
  ReleaseKey(13);
  EXPECT_EQ(zoInput::CheckRelease(13, 0), 13);
  EXPECT_EQ(keyLatch, 0);
  EXPECT_EQ(zoInput::CheckRelease(13, 0), 0);
}

TEST_F(ReleaseFixture, ButtonsAndUnlistedKeys) {
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  PressKey(65);  // not in the list
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  ReleaseKey(65);
  buttonHeld = buttonLatch = 1;
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 0);
  buttonHeld = 0;
  EXPECT_EQ(zoInput::CheckRelease(13, 1, 0), 1);
}

TEST_F(ReleaseFixture, LatchMovingOnResetsButReleaseStillReports) {
  zoInput::CheckRelease(13, 32, 0);
  PressKey(13);
  EXPECT_EQ(zoInput::CheckRelease(13, 32, 0), 0);
  PressKey(32);  // another key pressed last: keyCode 32, latch 32
  EXPECT_EQ(zoInput::CheckRelease(13, 32, 0), 0);
  EXPECT_EQ(releaseState, 0);
}
