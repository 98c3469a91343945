// The frames every effect runs in: the clipping of a sprite against the
// clip rectangle and both surfaces, and the rule that a frame clipped to
// nothing answers 1 without asking for its locks.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "draw/effects/effect_frame.h"

// x, y, left, top, width, height of a clip, and the span's fields in order.
std::vector<int> Fields(const zo::SpriteClip& c) { return {c.x, c.y, c.left, c.top, c.width, c.height}; }
std::vector<int> Fields(const zo::SpriteSpan& s) {
  return {s.srcX, s.srcY, s.dstX, s.dstY, s.width, s.height, s.firstCol, s.firstRow};
}

TEST(EffectClip, ClipsAgainstTheRectangleWithTheUnclippedPoint) {
  const IntRect clip{0, 0, 640, 480};
  zo::SpriteClip c;
  ASSERT_TRUE(zo::EffectClip(clip, -10, 5, 0, 0, 32, 32, &c));
  EXPECT_EQ(Fields(c), (std::vector<int>{0, 5, 10, 0, 22, 32}));
  ASSERT_TRUE(zo::EffectClip(clip, 639, 0, 0, 0, 10, 10, &c));  // one column
  EXPECT_EQ(c.width, 1);
  ASSERT_TRUE(zo::EffectClip(clip, 630, 470, 0, 0, 32, 32, &c));
  EXPECT_EQ(Fields(c), (std::vector<int>{630, 470, 0, 0, 10, 10}));
}

TEST(EffectClip, EntirelyLeftIsNothingOrAnEmptyDraw) {
  const IntRect clip{100, 0, 640, 480};
  zo::SpriteClip c;
  EXPECT_FALSE(zo::EffectClip(clip, 80, 0, 0, 0, 10, 10, &c));  // w < 0: no lock
  ASSERT_TRUE(zo::EffectClip(clip, 90, 0, 0, 0, 10, 10, &c));   // w = 0: locks, draws nothing
  EXPECT_EQ(c.width, 0);
  EXPECT_FALSE(zo::EffectClip(clip, 0, 0, 10, 0, 0, 10, &c));   // inverted rectangle
  EXPECT_FALSE(zo::EffectClip(clip, 2000000000, 0, 0, 0, 2000000000, 1, &c));
  ASSERT_TRUE(zo::EffectClip(IntRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, INT32_MIN, 0,
                             INT32_MAX, 0, INT32_MAX, 1, &c));  // no overflow on the way
}

TEST(EffectClip, SpanKeepsToBothSurfacesAndCountsWhatWasCut) {
  // Only the sizes count here.
  const zo::PixelView src{nullptr, 12, 10, 10}, dst{nullptr, 20, 20, 20};
  zo::SpriteClip c{-3, 5, -2, 4, 30, 30};
  zo::SpriteSpan s;
  ASSERT_TRUE(zo::SpanInSurfaces(c, src, dst, &s));
  EXPECT_EQ(Fields(s), (std::vector<int>{1, 4, 0, 5, 9, 6, 3, 0}));
  c = zo::SpriteClip{25, 0, 0, 0, 5, 5};
  EXPECT_FALSE(zo::SpanInSurfaces(c, src, dst, &s));
}

TEST(EffectFrame, ClippedAwayLocksNothingAndTheLockAnswerIsTheResult) {
  int locks = 0, runs = 0;
  auto lock = [&](int answer) {
    return [&locks, answer](const auto& body) {
      ++locks;
      if (answer) body(zo::PixelView{}, zo::PixelView{});
      return answer;
    };
  };
  auto run = [&](const auto&...) { ++runs; };
  const IntRect clip{100, 0, 640, 480};
  EXPECT_EQ(zo::SpriteFrame(clip, zo::Placement{80, 0, 0, 0, 10, 10}, lock(0), run), 1);
  EXPECT_EQ(zo::PlacedFrame(clip, zo::Placement{80, 0, 0, 0, 10, 10}, lock(0), run), 1);
  EXPECT_EQ(zo::WindowFrame(clip, IntRect{0, 0, 99, 10}, true, lock(0), run), 1);
  EXPECT_EQ(zo::WindowFrame(clip, IntRect{100, 0, 110, 10}, false, lock(0), run), 1);
  EXPECT_EQ(locks, 0);
  EXPECT_EQ(zo::PlacedFrame(clip, zo::Placement{90, 0, 0, 0, 10, 10}, lock(0), run), 0);  // w = 0 locks
  EXPECT_EQ(zo::WindowFrame(clip, IntRect{100, 0, 110, 10}, true, lock(1), run), 1);
  EXPECT_EQ(locks, 2);
  EXPECT_EQ(runs, 1);
}
