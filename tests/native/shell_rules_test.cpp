// Window placement, blink schedule, deadlines and data paths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/window_size.h"
#include "system/path_rules.h"
#include "system/time_rules.h"

TEST(WindowPlacement, ClassicMetricsGiveA646x504CentredFrame) {
  zo::FrameMetrics m{1024, 768, 1, 1, 2, 2, 3, 3, 18};
  zo::WindowPlacement p = zo::PlaceWindowedFrame(m, 640, 480);
  EXPECT_EQ(p.width, 646);
  EXPECT_EQ(p.height, 504);
  EXPECT_EQ(p.x, 189);
  EXPECT_EQ(p.y, 132);
}

TEST(WindowPlacement, CentringRoundsTowardZeroOnSmallScreens) {
  zo::FrameMetrics m{640, 480, 1, 1, 2, 2, 3, 3, 18};
  zo::WindowPlacement p = zo::PlaceWindowedFrame(m, 640, 480);
  EXPECT_EQ(p.x, -3);  // (640 - 646) / 2
  EXPECT_EQ(p.y, -12);
  m.screenWidth = 641;
  EXPECT_EQ(zo::PlaceWindowedFrame(m, 640, 480).x, -2);  // -5 / 2 toward zero
}

TEST(Blink, OnForASecondOffForAFifth) {
  int on = 1;
  uint32_t deadline = 5000 + 1000;  // set at start
  zo::StepBlink(5999, &on, &deadline);
  EXPECT_EQ(on, 1);
  zo::StepBlink(6000, &on, &deadline);
  EXPECT_EQ(on, 0);
  EXPECT_EQ(deadline, 6200u);
  zo::StepBlink(6199, &on, &deadline);
  EXPECT_EQ(on, 0);
  zo::StepBlink(6203, &on, &deadline);
  EXPECT_EQ(on, 1);
  EXPECT_EQ(deadline, 7203u);
}

TEST(Deadlines, UnsignedWithoutWrapHandling) {
  EXPECT_TRUE(zo::DeadlineReached(100, zo::Deadline(100, 0)));
  EXPECT_FALSE(zo::DeadlineReached(100, zo::Deadline(100, 1)));
  // A deadline past 2^32 wraps to a small value: over at once.
  uint32_t late = 0xFFFFFF00u;
  EXPECT_EQ(zo::Deadline(late, 0x200), 0x100u);
  EXPECT_TRUE(zo::DeadlineReached(late, zo::Deadline(late, 0x200)));
  EXPECT_TRUE(zo::SpinOver(late, zo::Deadline(late, 0x200)));
  // The spin needs the timer strictly past its deadline.
  EXPECT_FALSE(zo::SpinOver(100, 100));
  EXPECT_TRUE(zo::SpinOver(101, 100));
  // A slot never started (0) is over; WaitNever is not, until the timer passes it.
  EXPECT_TRUE(zo::DeadlineReached(0, 0));
  EXPECT_FALSE(zo::DeadlineReached(123456, 999999999u));
  EXPECT_TRUE(zo::DeadlineReached(999999999u, 999999999u));
  EXPECT_TRUE(zo::IsWaitSlot(1) && zo::IsWaitSlot(10));
  EXPECT_FALSE(zo::IsWaitSlot(0) || zo::IsWaitSlot(11));
}

TEST(Deadlines, ElapsedSecondsAcrossTheWrap) {
  EXPECT_FLOAT_EQ(zo::ElapsedSeconds(1500, 1000), 0.5f);
  EXPECT_FLOAT_EQ(zo::ElapsedSeconds(10, 0xFFFFFFFFu - 9), 0.02f);
}

TEST(Paths, StripFileNameKeepsTheBackslash) {
  char p[64] = "C:\\Games\\Demo\\demo.exe";
  zo::StripFileName(p);
  EXPECT_STREQ(p, "C:\\Games\\Demo\\");
  char root[64] = "C:\\app.exe";
  zo::StripFileName(root);
  EXPECT_STREQ(root, "C:\\");
  char none[64] = "app.exe";
  zo::StripFileName(none);
  EXPECT_STREQ(none, "");
}

TEST(Paths, DataFolderPlusTheExecutablesFolderName) {
  char name[256] = "";
  char out[600];
  zo::ComposeDataPath("C:\\Games\\Demo\\", "D:\\Data", name, sizeof name, out, sizeof out);
  EXPECT_STREQ(out, "D:\\Data\\Demo\\");
  EXPECT_STREQ(name, "Demo\\");
}

TEST(Paths, DriveRootExecutableKeepsTheLastFolderName) {
  char name[256] = "";
  char out[600];
  zo::ComposeDataPath("C:\\", "D:\\Data", name, sizeof name, out, sizeof out);
  EXPECT_STREQ(out, "D:\\Data\\");  // empty at start
  std::strcpy(name, "Old\\");
  zo::ComposeDataPath("C:\\", "D:\\Data", name, sizeof name, out, sizeof out);
  EXPECT_STREQ(out, "D:\\Data\\Old\\");
}

TEST(Paths, LongFoldersAreCutToTheResultBuffer) {
  std::string data(255, 'd');
  char name[256] = "";
  char out[260];
  zo::ComposeDataPath("C:\\SomeFolderName\\", data.c_str(), name, sizeof name, out, sizeof out);
  EXPECT_EQ(std::strlen(out), sizeof out - 1);
  EXPECT_EQ(std::string(out).substr(0, 256), data + "\\");
}

TEST(Paths, AppendBoundedCutsAndSays) {
  char buf[8] = "ab";
  EXPECT_TRUE(zo::AppendBounded(buf, sizeof buf, "cd"));
  EXPECT_STREQ(buf, "abcd");
  EXPECT_FALSE(zo::AppendBounded(buf, sizeof buf, "efghij"));
  EXPECT_STREQ(buf, "abcdefg");
}
