// Pixel layouts, the sine table and the platform-free blit arithmetic.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "draw/blit_rules.h"
#include "draw/sine_table.h"
#include "effect_harness.h"
#include "zo/draw_state.h"

TEST(PixelLayout, FiveSixFive) {
  EXPECT_EQ(harness::Fields(DerivePixelLayout(0xF800, 0x07E0, 0x001F)), harness::Fields(harness::kKnown565));
}

TEST(PixelLayout, FiveFiveFive) {
  EXPECT_EQ(harness::Fields(DerivePixelLayout(0x7C00, 0x03E0, 0x001F)), harness::Fields(harness::kKnown555));
}

TEST(SineTable, KnownEntriesAndTruncation) {
  BuildSineTable();
  EXPECT_EQ(SineTable[0], 0);
  EXPECT_EQ(SineTable[90], 360);
  EXPECT_EQ(SineTable[180], 0);
  EXPECT_EQ(SineTable[270], -360);
  EXPECT_EQ(SineTable[449], SineTable[89]);
  EXPECT_EQ(SineTable[30], 179);  // 179.99...: truncated, not rounded
  for (int i = 0; i < SineTableSize; ++i) {
    long double exact = std::sin(2.0L * 3.141592653589793238L * i / 360.0L) * 360.0L;
    // Truncation toward zero: never further from zero than the exact value,
    // and less than one away from it.
    EXPECT_LE(std::fabs(static_cast<long double>(SineTable[i])), std::fabs(exact) + 1e-9L) << i;
    EXPECT_LT(std::fabs(exact - SineTable[i]), 1.0L + 1e-9L) << i;  // double rounding near whole values
  }
}

namespace {

// The four clipping rules of the direct blits, against a pixel-by-pixel
// notion of what should land where.
struct Drawn {
  int x, y;
  IntRect src;
  bool any;
};

Drawn Clip(IntRect clip, int x, int y, IntRect src) {
  Drawn d{x, y, src, false};
  d.any = zo::ClipBlit(clip, d.x, d.y, d.src);
  return d;
}

}  // namespace

TEST(ClipBlit, EdgeCasesOfTheScreen) {
  IntRect screen{0, 0, 640, 480};
  Drawn d = Clip(screen, -10, 0, {0, 0, 32, 32});
  EXPECT_TRUE(d.any);
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.src.left, 10);
  EXPECT_EQ(d.src.right, 32);

  d = Clip(screen, 630, 470, {0, 0, 32, 32});
  EXPECT_TRUE(d.any);
  EXPECT_EQ(d.x, 630);
  EXPECT_EQ(d.y, 470);
  EXPECT_EQ(d.src.right, 10);
  EXPECT_EQ(d.src.bottom, 10);

  EXPECT_FALSE(Clip(screen, 641, 0, {0, 0, 32, 32}).any);
  d = Clip(screen, 640, 0, {0, 0, 32, 32});
  EXPECT_TRUE(d.any);  // empty, handed on, draws nothing
  EXPECT_EQ(d.src.right - d.src.left, 0);
  EXPECT_FALSE(Clip(screen, -40, 0, {0, 0, 32, 32}).any);
  EXPECT_FALSE(Clip(screen, 0, 500, {0, 0, 32, 32}).any);
}

TEST(ClipBlit, RandomAgainstPixelSets) {
  unsigned seed = 20261208;
  std::mt19937 rng(seed);
  auto r = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 20000; ++i) {
    IntRect clip{r(-50, 200), r(-50, 200), 0, 0};
    clip.right = clip.left + r(0, 250);
    clip.bottom = clip.top + r(0, 250);
    IntRect src{r(0, 40), r(0, 40), 0, 0};
    src.right = src.left + r(0, 40);
    src.bottom = src.top + r(0, 40);
    int x = r(-100, 500), y = r(-100, 500);
    Drawn d = Clip(clip, x, y, src);
    // Every source pixel whose destination is inside clip must be drawn, at
    // the same place; nothing else.
    for (int sy = src.top; sy < src.bottom; ++sy) {
      for (int sx = src.left; sx < src.right; ++sx) {
        int dx = x + sx - src.left, dy = y + sy - src.top;
        bool inside = dx >= clip.left && dx < clip.right && dy >= clip.top && dy < clip.bottom;
        bool drawn = d.any && sx >= d.src.left && sx < d.src.right && sy >= d.src.top &&
                     sy < d.src.bottom;
        ASSERT_EQ(inside, drawn) << "seed " << seed << " case " << i;
        if (drawn) {
          ASSERT_EQ(d.x + sx - d.src.left, dx) << "seed " << seed << " case " << i;
          ASSERT_EQ(d.y + sy - d.src.top, dy) << "seed " << seed << " case " << i;
        }
      }
    }
  }
}

TEST(ClipBlit, IntMinAndIntMaxNeverWrap) {
  const IntRect screen{0, 0, 640, 480}, all{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const struct {
    IntRect clip;
    int x, y;
    IntRect src, out;  // out.left > out.right: nothing drawn
  } cases[] = {
      {screen, INT_MAX, 0, {0, 0, 32, 32}, {1, 0, 0, 0}},
      {screen, INT_MIN, 0, {0, 0, 32, 32}, {1, 0, 0, 0}},
      {screen, -5, 0, {INT_MAX - 2, 0, INT_MAX, 1}, {1, 0, 0, 0}},
      {screen, 0, 0, {INT_MIN, 0, INT_MAX, 32}, {INT_MIN, 0, INT_MIN + 640, 32}},
      {all, INT_MAX - 10, 0, {0, 0, 32, 32}, {0, 0, 10, 32}},
  };
  for (const auto& c : cases) {
    const Drawn d = Clip(c.clip, c.x, c.y, c.src);
    ASSERT_EQ(d.any, c.out.left <= c.out.right) << c.x;
    if (d.any) {
      EXPECT_TRUE(d.x == c.x && d.src.left == c.out.left && d.src.right == c.out.right) << c.x;
    }
  }
}

TEST(HalfFill, WhiteToHalfAndColourBlend) {
  std::vector<uint16_t> px(4 * 3, 0xFFFF);
  IntRect area{0, 0, 4, 3};
  ASSERT_TRUE(zo::ClipHalfFill({0, 0, 4, 3}, 4, 3, area));
  zo::HalfBlendArea(reinterpret_cast<uint8_t*>(px.data()), 8, area, 0, 0x7BEF);
  for (uint16_t p : px) EXPECT_EQ(p, 0x7BEF);
  zo::HalfBlendArea(reinterpret_cast<uint8_t*>(px.data()), 8, area, 0xF800, 0x7BEF);
  EXPECT_EQ(px[0], ((0x7BEF >> 1) & 0x7BEF) + 0x7800);
}

TEST(HalfFill, RandomAreasStayInsideTheSurface) {
  unsigned seed = 4242;
  std::mt19937 rng(seed);
  auto r = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const int w = 37, h = 23, pitchPixels = 40;
  for (int i = 0; i < 3000; ++i) {
    // Guard words around the surface catch any write outside it.
    std::vector<uint16_t> mem(pitchPixels * (h + 2), 0xA5A5);
    uint16_t* surface = mem.data() + pitchPixels;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) surface[y * pitchPixels + x] = static_cast<uint16_t>(rng());
    std::vector<uint16_t> before(mem);
    IntRect clip{r(-30, 40), r(-30, 40), 0, 0};
    clip.right = clip.left + r(-5, 90);
    clip.bottom = clip.top + r(-5, 90);
    IntRect area{r(-30, 60), r(-30, 60), 0, 0};
    area.right = area.left + r(-5, 60);
    area.bottom = area.top + r(-5, 60);
    uint16_t colour = static_cast<uint16_t>(rng());
    IntRect a = area;
    if (zo::ClipHalfFill(clip, w, h, a)) {
      zo::HalfBlendArea(reinterpret_cast<uint8_t*>(surface), pitchPixels * 2, a, colour, 0x7BEF);
    }
    for (int y = -1; y <= h; ++y) {
      for (int x = 0; x < pitchPixels; ++x) {
        uint16_t old = before[(y + 1) * pitchPixels + x];
        bool in = y >= 0 && y < h && x < w && x >= area.left && x < area.right &&
                  y >= area.top && y < area.bottom && x >= clip.left && x < clip.right &&
                  y >= clip.top && y < clip.bottom;
        uint16_t expect = in ? static_cast<uint16_t>(((old >> 1) & 0x7BEF) + ((colour >> 1) & 0x7BEF))
                             : old;
        ASSERT_EQ(mem[(y + 1) * pitchPixels + x], expect)
            << "seed " << seed << " case " << i << " at " << x << "," << y;
      }
    }
  }
}

TEST(RowRules, WaveOffsets) {
  EXPECT_EQ(zo::WaveOffset(0, 0, 123.0f, 7), 0);
  EXPECT_EQ(zo::WaveOffset(10, 0, 0.0f, 0), 10);
  EXPECT_EQ(zo::WaveOffset(10, 0, 90.9f, 0), 0);     // (int)phase: cos 90 = 6e-17
  EXPECT_EQ(zo::WaveOffset(10, 0, 0.0f, 180), -10);
  EXPECT_EQ(zo::WaveOffset(10, 4, 0.0f, 240), 5);  // 240 / 4 = 60 degrees: cos 0.5
}

TEST(RowRules, PhaseAndScrollWrap) {
  EXPECT_FLOAT_EQ(zo::AdvancePhase(350.0f, 0.5f, 40.0f), 10.0f);
  EXPECT_FLOAT_EQ(zo::AdvancePhase(10.0f, 0.5f, 40.0f), 30.0f);
  EXPECT_FLOAT_EQ(zo::WrapTileOffset(-60.0f, -10.0f, 64.0f), -6.0f);
  EXPECT_FLOAT_EQ(zo::WrapTileOffset(-2.0f, 5.0f, 64.0f), -61.0f);
  EXPECT_FLOAT_EQ(zo::WrapTileOffset(0.0f, 0.0f, 64.0f), 0.0f);
  EXPECT_FLOAT_EQ(zo::WrapRowScroll(2.0f, 5.0f, 48), 45.0f);
  EXPECT_FLOAT_EQ(zo::WrapRowScroll(47.0f, -3.0f, 48), 2.0f);
}
