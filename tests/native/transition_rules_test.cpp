// The cover-image transition rectangles and the viewer's limits.
#include <gtest/gtest.h>

#include "draw/transition_rules.h"

namespace {
int Zero() { return 0; }
int counter;
int Counting() { return counter++; }
}  // namespace

using zo::CoverCopies;

TEST(CoverStyles, RowsAndBlinds) {
  auto s1 = CoverCopies(1, 3, 0, 640, 12, Zero);  // style 1 ignores the band
  ASSERT_EQ(s1.size(), 8u);                        // rows 1 2 4 5 7 8 10 11
  EXPECT_EQ(s1[0].y, 1);
  EXPECT_EQ(s1[2].y, 4);
  EXPECT_EQ(s1[2].top, 4);
  EXPECT_EQ(s1[2].bottom, 5);
  EXPECT_EQ(s1[2].right, 640);
  auto s2 = CoverCopies(2, 4, 10, 640, 480, Zero);
  ASSERT_EQ(s2.size(), 48u);
  EXPECT_EQ(s2[1].y, 10);
  EXPECT_EQ(s2[1].bottom, 15);  // s + 1 rows
}

TEST(CoverStyles, JitterStaysWithinTheBandAndIsFreshPerRow) {
  counter = 0;
  auto s3 = CoverCopies(3, 4, 10, 640, 100, Counting);
  for (const auto& c : s3) {
    EXPECT_GE(c.x, -(10 - 4 + 1));
    EXPECT_LE(c.x, (10 - 4 + 1) - 2 + 1);
  }
  EXPECT_NE(s3[0].x, s3[1].x);
  counter = 5;
  auto s4 = CoverCopies(4, 2, 20, 640, 100, Counting);
  ASSERT_EQ(s4.size(), 5u);
  EXPECT_EQ(s4[0].x, 5 % 38 - 19);
  auto none = CoverCopies(3, 5, 3, 640, 10, Counting);  // band below the step
  for (const auto& c : none) EXPECT_EQ(c.x, 0);
}

TEST(CoverStyles, SlidesAndWipes) {
  // k = B - s + 1
  auto s5 = CoverCopies(5, 3, 10, 640, 480, Zero);
  ASSERT_EQ(s5.size(), 1u);
  EXPECT_EQ(s5[0].y, -48 * 8);
  EXPECT_EQ(CoverCopies(6, 10, 10, 640, 480, Zero)[0].y, 48);
  EXPECT_EQ(CoverCopies(7, 1, 10, 640, 480, Zero)[0].x, -640);
  EXPECT_EQ(CoverCopies(8, 5, 10, 640, 480, Zero)[0].x, 64 * 6);
  auto s9 = CoverCopies(9, 10, 10, 640, 480, Zero);
  ASSERT_EQ(s9.size(), 2u);
  EXPECT_EQ(s9[0].y, -24);
  EXPECT_EQ(s9[0].bottom, 240);
  EXPECT_EQ(s9[1].y, 264);
  EXPECT_EQ(s9[1].top, 240);
  auto s10 = CoverCopies(10, 9, 10, 640, 480, Zero);
  EXPECT_EQ(s10[0].x, -64);
  EXPECT_EQ(s10[0].right, 320);
  EXPECT_EQ(s10[1].x, 320 + 64);
  auto s11 = CoverCopies(11, 5, 10, 640, 480, Zero);
  EXPECT_EQ(s11[0].right, 320);  // step 5 of 10 covers the left half
  auto s12 = CoverCopies(12, 5, 10, 640, 480, Zero);
  EXPECT_EQ(s12[0].x, 384);
  EXPECT_EQ(s12[0].left, 384);
}

TEST(CoverStyles, BandBelowOneDrawsNothing) {
  for (int style = 2; style <= 12; ++style) {
    EXPECT_TRUE(CoverCopies(style, 3, 0, 640, 480, Zero).empty()) << style;
    EXPECT_TRUE(CoverCopies(style, 3, -4, 640, 480, Zero).empty()) << style;
  }
  EXPECT_FALSE(CoverCopies(1, 3, 0, 640, 480, Zero).empty());
  EXPECT_TRUE(CoverCopies(13, 3, 5, 640, 480, Zero).empty());
}

TEST(Viewer, ScrollLimits) {
  EXPECT_FLOAT_EQ(zo::ClampViewerScroll(-5.0f, 960, 480), 0.0f);
  EXPECT_FLOAT_EQ(zo::ClampViewerScroll(100.5f, 960, 480), 100.5f);
  EXPECT_FLOAT_EQ(zo::ClampViewerScroll(900.0f, 960, 480), 480.0f);
  EXPECT_FLOAT_EQ(zo::ClampViewerScroll(50.0f, 100, 480), -380.0f);  // shorter image
}
