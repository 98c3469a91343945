// The clip-rectangle wipes against a literal simulation: all eighteen shapes
// stepped to their end at several steps, bands and rectangles, and the cases
// the wipes are known by.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "wipe_reference.h"
#include "draw/effects/wipe_rules.h"

namespace {

struct Wipe {
  IntRect clip{0, 0, 640, 480}, saved{};
  int32_t state = 0;
  zo::WipeSettings settings{};
  zo::WipeTarget Target() { return zo::WipeTarget{clip, saved, state, settings}; }
  int Start(int closing, int kind, int band, int (*random)() = nullptr) {
    return zo::StartWipeOn(Target(), closing, kind, 0.0f, band, random);
  }
  int Step(int step) { return zo::StepWipeOn(Target(), step); }
};

ref::Rect AsRef(const IntRect& r) { return ref::Rect{r.left, r.top, r.right, r.bottom}; }

::testing::AssertionResult Same(const IntRect& got, const ref::Rect& want) {
  if (AsRef(got) == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "clip (" << got.left << ", " << got.top << ", " << got.right << ", " << got.bottom
         << "), the rule gives (" << want.l << ", " << want.t << ", " << want.r << ", " << want.b << ")";
}

TEST(Wipes, EveryShapeOpensAndClosesStepByStepAsTheRulesSay) {
  const IntRect rects[] = {{0, 0, 640, 480}, {3, 5, 100, 78}, {10, 20, 11, 21}, {-7, -9, 50, 40},
                           {200, 100, 200, 300}};
  const int steps[] = {1, 2, 9, 37, 1000};
  const int bands[] = {0, 1, 7, 40, 1000, -6};
  for (const IntRect& r : rects)
    for (int closing = 0; closing <= 1; ++closing)
      for (int kind = 1; kind <= 9; ++kind)
        for (int step : steps)
          for (int band : bands) {
            if (kind < 8 && band != 7) continue;  // the band matters to 8 and 9 only
            Wipe w;
            w.clip = r;
            ref::WipeSim sim;
            sim.clip = AsRef(r);
            const std::string what = "closing " + std::to_string(closing) + " kind " + std::to_string(kind) +
                                     " step " + std::to_string(step) + " band " + std::to_string(band) +
                                     " rect width " + std::to_string(r.right - r.left);
            ASSERT_EQ(w.Start(closing, kind, band), 1) << what;
            ASSERT_EQ(sim.Start(closing, kind, band), 1);
            ASSERT_TRUE(Same(w.clip, sim.clip)) << what << " at the start";
            int n = 0;
            for (; sim.state > 0; ++n) {
              ASSERT_LT(n, 2000) << what << ": never ends";
              ASSERT_EQ(w.Step(step), 1) << what;
              sim.Step(step);
              ASSERT_TRUE(Same(w.clip, sim.clip)) << what << " after step " << n + 1;
              ASSERT_EQ(w.state, sim.state) << what << " after step " << n + 1;
            }
            EXPECT_EQ(w.state, closing ? -1 : 0) << what;
            if (!closing) {
              EXPECT_TRUE(Same(w.clip, AsRef(r))) << what;
            }
            EXPECT_EQ(w.Step(step), 0) << what;  // nothing runs any more
          }
}

TEST(Wipes, AStepIsTheFramesPixelsPlusOneAndNeverLessThanOne) {
  EXPECT_EQ(zo::WipeStep(0.016f, 0.0f), 1);     // speed 0 still moves a pixel
  EXPECT_EQ(zo::WipeStep(0.0f, 5000.0f), 1);
  EXPECT_EQ(zo::WipeStep(0.5f, 16.0f), 9);
  EXPECT_EQ(zo::WipeStep(0.25f, 33.0f), 9);     // 8.25 truncates
  EXPECT_EQ(zo::WipeStep(0.1f, -500.0f), 1);    // backwards would never end
  EXPECT_EQ(zo::WipeStep(0.1f, std::nanf("")), 1);
  EXPECT_EQ(zo::WipeStep(1.0f, std::numeric_limits<float>::infinity()), 1 << 30);
  Wipe w;
  ASSERT_EQ(w.Start(0, 1, 0), 1);
  w.Step(0);
  EXPECT_EQ(w.clip.top, 479);  // a step below 1 moves one pixel
  w.Step(-40);
  EXPECT_EQ(w.clip.top, 478);
}

TEST(Wipes, ClosingFromTheBottomAtNinePixelsEndsPastTheBottom) {
  Wipe w;
  ASSERT_EQ(w.Start(1, 1, 0), 1);
  EXPECT_EQ(w.clip.top, 0);  // a closing leaves the rectangle alone until it steps
  EXPECT_EQ(w.state, 2);
  int steps = 0;
  for (; w.state == 2; ++steps) w.Step(9);
  EXPECT_EQ(steps, 54);
  EXPECT_EQ(w.clip.top, 486);
  EXPECT_EQ(w.state, -1);
}

TEST(Wipes, TheCentreLineOpeningOfAnOddHeightEndsExactlyOnTheSavedEdges) {
  Wipe w;
  w.clip = IntRect{0, 0, 640, 481};
  ASSERT_EQ(w.Start(0, 5, 0), 1);
  EXPECT_TRUE(Same(w.clip, {0, 240, 640, 240}));
  int steps = 0;
  for (; w.state == 1; ++steps) w.Step(1);
  EXPECT_EQ(steps, 240);  // the top got there; the bottom was one short
  EXPECT_TRUE(Same(w.clip, {0, 0, 640, 481}));
}

TEST(Wipes, StartingAfterAClosingOpensFromTheFullRectangle) {
  Wipe w;
  ASSERT_EQ(w.Start(1, 5, 0), 1);
  while (w.state == 2) w.Step(50);
  ASSERT_EQ(w.state, -1);
  ASSERT_EQ(w.Start(0, 2, 0), 1);
  EXPECT_TRUE(Same(w.saved, {0, 0, 640, 480}));
  EXPECT_TRUE(Same(w.clip, {0, 0, 640, 0}));  // kind 2 starts at the full rectangle's top
}

TEST(Wipes, ClosingAtOnceKeepsWhatIsToBeRestored) {
  Wipe w;
  ASSERT_EQ(w.Start(0, 7, 0), 1);
  for (int k = 0; k < 10; ++k) w.Step(5);
  const IntRect partly = w.clip;  // (270, 190, 370, 290)
  EXPECT_EQ(partly.left, 270);
  zo::CloseWipeOn(w.Target());
  EXPECT_EQ(w.state, -1);
  EXPECT_TRUE(Same(w.saved, AsRef(partly)));
  EXPECT_TRUE(Same(w.clip, {partly.left, partly.top, partly.left, partly.top}));
  EXPECT_EQ(w.Step(5), 0);
  // Closing again while closed must not save the collapsed rectangle.
  zo::CloseWipeOn(w.Target());
  EXPECT_EQ(w.saved.right, partly.right);
  ASSERT_EQ(w.Start(0, 1, 0), 1);
  EXPECT_EQ(w.saved.right, partly.right);
  EXPECT_EQ(w.clip.top, partly.bottom);
}

TEST(Wipes, RunningWipesAndUnknownKindsAreRefusedWithoutStarting) {
  Wipe w;
  for (int kind : {10, -1, 1000}) {
    EXPECT_EQ(w.Start(0, kind, 0), 0);
    EXPECT_EQ(w.state, 0);
    EXPECT_TRUE(Same(w.clip, {0, 0, 640, 480}));
  }
  ASSERT_EQ(w.Start(0, 0, 0, [] { return 13; }), 1);  // 13 % 9 + 1: the horizontal centre line
  EXPECT_EQ(w.settings.kind, 5);
  EXPECT_EQ(w.clip.top, 240);
  EXPECT_EQ(w.Start(1, 3, 0), 0);
  EXPECT_EQ(w.settings.kind, 5);
  // A phase set by hand with no shape behind it ends at its first step.
  Wipe odd;
  odd.state = 1;
  odd.saved = IntRect{1, 2, 3, 4};
  EXPECT_EQ(odd.Step(1), 1);
  EXPECT_EQ(odd.state, 0);
  EXPECT_EQ(odd.clip.right, 3);
}

TEST(Wipes, ACancelRestoresARunningWipeAndLeavesAClosedOne) {
  Wipe w;
  ASSERT_EQ(w.Start(0, 8, 30), 1);
  w.Step(3);
  zo::CancelWipeOn(w.Target());
  EXPECT_EQ(w.state, 0);
  EXPECT_TRUE(Same(w.clip, {0, 0, 640, 480}));
  ASSERT_EQ(w.Start(1, 6, 0), 1);
  while (w.state == 2) w.Step(100);
  const IntRect closed = w.clip;
  zo::CancelWipeOn(w.Target());
  EXPECT_EQ(w.state, -1);
  EXPECT_EQ(w.clip.left, closed.left);
}

TEST(Wipes, FarOffRectanglesAndHugeStepsNeitherOverflowNorRunForEver) {
  for (int kind = 1; kind <= 9; ++kind)
    for (int closing = 0; closing <= 1; ++closing) {
      Wipe w;
      w.clip = IntRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
      ASSERT_EQ(w.Start(closing, kind, INT32_MAX), 1);
      int n = 0;
      for (; w.state > 0 && n < 100; ++n) w.Step(1 << 30);
      EXPECT_LT(n, 100) << "kind " << kind << " closing " << closing;
    }
}

}  // namespace
