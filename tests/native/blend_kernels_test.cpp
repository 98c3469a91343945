// The blend kernels against the literal rules: exhaustively where the input
// space allows, over seeded random sprites, surfaces and clip rectangles
// otherwise, and at the edge cases the blends are known by.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>

#include "blend_reference.h"
#include "effect_harness.h"
#include "draw/effects/blend_kernels.h"
#include "draw/effects/effect_frame.h"

using ref::Image;

namespace {

using harness::Between;
using harness::k555;
using harness::k565;
using harness::RandomImage;
using harness::RandomPixel;
using harness::View;
// A layout the vector paths do not know: the general table path runs.
const PixelLayout k444 = DerivePixelLayout(0x0F00, 0x00F0, 0x000F);

void Build(const PixelLayout& f) { harness::BuildTables(f); }

using Kernel = std::function<void(const zo::BlendJob&)>;

// The library's sprite frame over plain images.
void RunFrame(const IntRect& clip, const PixelLayout& f, Image& dst, Image& src, int x, int y, int l,
              int t, int r, int b, const Kernel& kernel) {
  zo::SpriteFrame(clip, zo::Placement{x, y, l, t, r, b}, zo::OpenViews{View(src), View(dst)},
                  [&](const auto& s, const auto& d, const auto& span) { kernel(zo::BlendJob{s, d, span, f}); });
}

uint16_t Compose(const PixelLayout& f, int r, int g, int b) {
  return uint16_t((r << f.fivePos[0]) | (g << f.fivePos[1]) | (b << f.fivePos[2]));
}

// ----------------------------------------------------------------- exhaustive
//
// One row holds every pair (a, b) of 5-bit components in each channel: red
// a against b, green 31 - a against 31 - b, blue a ^ 21 against b ^ 21. No
// source pixel is 0, so every pair is drawn.

struct PairRows {
  Image src, dst;
  explicit PairRows(const PixelLayout& f) : src(1024 + 3, 1, 1027), dst(1024 + 3, 1, 1027) {
    for (int a = 0; a < 32; ++a)
      for (int b = 0; b < 32; ++b) {
        src.at(a * 32 + b, 0) = Compose(f, a, 31 - a, a ^ 21);
        dst.at(a * 32 + b, 0) = Compose(f, b, 31 - b, b ^ 21);
      }
    for (int i = 1024; i < 1027; ++i) src.at(i, 0) = dst.at(i, 0) = uint16_t(0x1234 + i);
  }
};

void ExpectEveryPair(const PixelLayout& f, const Kernel& kernel, const ref::Rule& rule, const char* what) {
  PairRows rows(f);
  Image fast = rows.dst, slow = rows.dst;
  const IntRect clip{0, 0, 4096, 4096};
  RunFrame(clip, f, fast, rows.src, 0, 0, 0, 0, 1027, 1, kernel);
  ref::Draw(clip, slow, rows.src, 0, 0, 0, 0, 1027, 1, rule);
  for (int i = 0; i < 1027; ++i)
    ASSERT_EQ(fast.at(i, 0), slow.at(i, 0)) << what << " pair " << i / 32 << "," << i % 32;
}

// Every pair at each of the 32 levels, on both layouts: `make` gives the
// kernel and its rule for one level.
void ExpectEveryPairAtEveryLevel(const char* what, const std::function<void(int, Kernel*, ref::Rule*)>& make) {
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    for (int level = 0; level < 32; ++level) {
      SCOPED_TRACE(level);
      Kernel kernel;
      ref::Rule rule;
      make(level, &kernel, &rule);
      ExpectEveryPair(*f, kernel, rule, what);
    }
  }
}

TEST(BlendExhaustive, CrossFadeEveryPairEveryLevel) {
  ExpectEveryPairAtEveryLevel("fade", [](int level, Kernel* kernel, ref::Rule* rule) {
    const std::array<int, 3> v{level, 31 - level, level};
    *kernel = [=](const zo::BlendJob& j) { zo::CrossFadeKernel(j, v.data()); };
    *rule = [=](uint16_t s, uint16_t d, int, int) { return ref::Fade(s, d, v.data()); };
  });
}

TEST(BlendExhaustive, AddEveryPairEveryK) {
  ExpectEveryPairAtEveryLevel("add", [](int k, Kernel* kernel, ref::Rule* rule) {
    *kernel = [=](const zo::BlendJob& j) { zo::AddKernel(j, k); };
    *rule = [=](uint16_t s, uint16_t d, int, int) { return ref::Add(s, d, k); };
  });
}

TEST(BlendExhaustive, SubtractAndHalfEveryPair) {
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    ExpectEveryPair(*f, [&](const zo::BlendJob& j) { zo::SubtractKernel(j); },
                    [&](uint16_t s, uint16_t d, int, int) { return ref::Sub(s, d); }, "sub");
    ExpectEveryPair(*f, [&](const zo::BlendJob& j) { zo::HalfBlendKernel(j); },
                    [&](uint16_t s, uint16_t d, int, int) { return ref::Half(*f, s, d); }, "half");
  }
}

TEST(BlendExhaustive, FadeRampAlongTheRowEveryPairEveryLevel) {
  // Start 0, every 1: column p is drawn with k lowered by p, so the pairs
  // meet every k on the way down.
  ExpectEveryPairAtEveryLevel("fade ramp", [](int level, Kernel* kernel, ref::Rule* rule) {
    const std::array<int, 3> v{level, level, 31 - level};
    *kernel = [=](const zo::BlendJob& j) { zo::CrossFadeGradientKernel(j, v.data(), zo::Ramp{0, 0, 1}); };
    *rule = [=](uint16_t s, uint16_t d, int i, int) {
      const int steps = ref::Steps(i, 0, 1);
      return ref::FadeRamp(s, d, v.data(), steps);
    };
  });
}

// Every pair of full-width channel values (green's six bits on 5-6-5) in one
// column per pair, repeated along `columns` columns: pair a * 64 + b holds
// components a against b in green, a & 31 against b & 31 in red, and a
// stirred five-bit value in blue, so that every pair of each channel is met.
struct FullPairs {
  Image src, dst;
  int count;
  FullPairs(const PixelLayout& f, int columns, bool pairsDownRows) {
    const int g = int(f.greenMax) + 1;
    count = g * g;
    const int w = pairsDownRows ? columns : count, h = pairsDownRows ? count : columns;
    src = Image(w, h, w);
    dst = Image(w, h, w);
    auto pixel = [&](int v) {
      return uint16_t((uint32_t(v & f.redMax) << f.redShift) | (uint32_t(v) << f.greenShift) |
                      (uint32_t((v * 7 + 3) & f.blueMax) << f.blueShift));
    };
    for (int k = 0; k < columns; ++k)
      for (int a = 0; a < g; ++a)
        for (int b = 0; b < g; ++b) {
          const int i = pairsDownRows ? k : a * g + b, j = pairsDownRows ? a * g + b : k;
          src.at(i, j) = pixel(a);  // never 0: blue is 3 where red and green are 0
          dst.at(i, j) = pixel(b);
        }
  }
};

void ExpectFullPairs(const PixelLayout& f, FullPairs& pairs, const Kernel& kernel, const ref::Rule& rule) {
  Image fast = pairs.dst, slow = pairs.dst;
  const IntRect clip{0, 0, 1 << 20, 1 << 20};
  RunFrame(clip, f, fast, pairs.src, 0, 0, 0, 0, fast.width, fast.height, kernel);
  ref::Draw(clip, slow, pairs.src, 0, 0, 0, 0, fast.width, fast.height, rule);
  for (size_t i = 0; i < fast.px.size(); ++i)
    ASSERT_EQ(fast.px[i], slow.px[i]) << "pixel " << i % fast.Stride() << "," << i / fast.Stride();
}

// Opacities a game is likely to use, both sides of 0.5, and seeded random
// ones, down to the faint ones the integer form cannot take.
std::vector<float> ManyOpacities() {
  std::vector<float> v;
  for (int k = 0; k <= 1024; ++k) v.push_back(float(k) / 1024.0f);
  for (int k = 0; k <= 255; ++k) v.push_back(float(k) / 255.0f);
  for (int k = 0; k <= 100; ++k) v.push_back(float(k) / 100.0f);
  for (int k = 1; k < 64; ++k) v.push_back(1.0f / float(k));
  for (float x : {0.5f, 0.25f, 1.0f / 3.0f, 0.2f, 0.1f, 0.004f}) {
    v.push_back(std::nextafter(x, 0.0f));
    v.push_back(std::nextafter(x, 1.0f));
  }
  std::mt19937 rng(977);
  for (int k = 0; k < 1000; ++k) v.push_back(std::uniform_real_distribution<float>(0.0f, 1.0f)(rng));
  return v;
}

TEST(BlendExhaustive, AlphaEveryFullWidthPairAtManyOpacities) {
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    FullPairs pairs(*f, 1, false);
    for (float a : ManyOpacities()) {
      // The same opacity in every channel, and beside others in the middle
      // channel (channels may take different forms in one call).
      for (const float middle : {a, 0.75f}) {
        const float al[3] = {a, middle, a}, dw[3] = {1.0f - a, 1.0f - middle, 1.0f - a};
        SCOPED_TRACE(testing::Message() << a << " " << middle);
        ExpectFullPairs(*f, pairs, [&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, al); },
                        [&](uint16_t s, uint16_t d, int, int) { return ref::Mix(*f, s, d, al, dw); });
      }
    }
  }
}

TEST(BlendExhaustive, AlphaRampsEveryFullWidthPairAtEveryStep) {
  // Start 0, every 1: position p takes p steps, so 34 positions pass every
  // weight of the ramp from the first to opaque.
  std::mt19937 rng(3389);
  std::vector<float> alphas = {0.0f, 0.1f, 0.2f, 0.3f, 0.5f, 0.7f, 1.0f / 3.0f, 0.99f, 0.004f};
  for (int k = 0; k < 12; ++k) alphas.push_back(std::uniform_real_distribution<float>(0.0f, 1.0f)(rng));
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    for (const int vertical : {0, 1}) {
      FullPairs pairs(*f, 34, !vertical);
      const zo::Ramp ramp{vertical, 0, 1};
      for (float a : alphas) {
        const float al[3] = {a, 0.5f * a, 1.0f - a};
        SCOPED_TRACE(testing::Message() << a << (vertical ? " down" : " along"));
        ExpectFullPairs(*f, pairs, [&](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, al, ramp); },
                        [&](uint16_t s, uint16_t d, int i, int j) {
                          const int steps = ref::Steps(vertical ? j : i, 0, 1);
                          return ref::AlphaRamp(*f, s, d, al, steps);
                        });
      }
    }
  }
}

// ----------------------------------------------------------------- random

// Runs the kernel and the reference on the same random scenes.
void CompareRandom(const PixelLayout& f, int cases,
                   const std::function<void(std::mt19937&, Kernel*, ref::Rule*)>& make) {
  Build(f);
  harness::CompareSeeded("blend", cases, [&](std::mt19937& rng, Image& fast, Image& slow) {
    Image src = RandomImage(rng, 90, 40), dst = RandomImage(rng, 120, 60);
    const IntRect clip = harness::RandomClip(rng, dst);
    const harness::Placement p = harness::RandomPlacement(rng, src, dst);
    Kernel kernel;
    ref::Rule rule;
    make(rng, &kernel, &rule);
    fast = slow = dst;
    RunFrame(clip, f, fast, src, p.x, p.y, p.l, p.t, p.r, p.b, kernel);
    ref::Draw(clip, slow, src, p.x, p.y, p.l, p.t, p.r, p.b, rule);
  });
}

const PixelLayout* const kLayouts[] = {&k565, &k555, &k444};

TEST(BlendRandom, HalfBlend) {
  for (const PixelLayout* f : kLayouts)
    CompareRandom(*f, 400, [&](std::mt19937&, Kernel* k, ref::Rule* r) {
      *k = [](const zo::BlendJob& j) { zo::HalfBlendKernel(j); };
      *r = [f](uint16_t s, uint16_t d, int, int) { return ref::Half(*f, s, d); };
    });
}

TEST(BlendRandom, CrossFadeAndLevelsOutsideTheTable) {
  for (const PixelLayout* f : kLayouts)
    CompareRandom(*f, 400, [&](std::mt19937& rng, Kernel* k, ref::Rule* r) {
      int v[3];
      for (int& x : v) x = Between(rng, -40, 70);
      int held[3];
      for (int c = 0; c < 3; ++c) held[c] = std::clamp(v[c], 0, 31);
      *k = [=](const zo::BlendJob& j) { zo::CrossFadeKernel(j, v); };
      *r = [=](uint16_t s, uint16_t d, int, int) { return ref::Fade(s, d, held); };
    });
}

TEST(BlendRandom, CrossFadeGradientBothWays) {
  for (const PixelLayout* f : kLayouts)
    CompareRandom(*f, 400, [&](std::mt19937& rng, Kernel* k, ref::Rule* r) {
      int v[3];
      for (int& x : v) x = Between(rng, 0, 31);
      const zo::Ramp ramp{int(rng() % 2), uint16_t(Between(rng, 0, 40)), Between(rng, -1, 5)};
      *k = [=](const zo::BlendJob& j) { zo::CrossFadeGradientKernel(j, v, ramp); };
      *r = [=](uint16_t s, uint16_t d, int i, int j) {
        const int steps = ref::Steps(ramp.vertical ? j : i, ramp.start, ramp.every);
        int now[3];
        for (int c = 0; c < 3; ++c) {
          int kk = 31 - v[c];
          for (int n = 0; n < steps; ++n)
            if (kk > 0) --kk;
          now[c] = 31 - kk;
        }
        return ref::Fade(s, d, now);
      };
    });
}

TEST(BlendRandom, AddSubtractAndAddLevel) {
  for (const PixelLayout* f : kLayouts) {
    CompareRandom(*f, 300, [&](std::mt19937& rng, Kernel* k, ref::Rule* r) {
      const float level = float(Between(rng, -200, 1200)) / 1000.0f;
      const float held = std::clamp(level, 0.0f, 1.0f);
      const int kk = int(31.0f - 31.0f * held);
      *k = [=](const zo::BlendJob& j) { zo::AddKernel(j, zo::AddLevelToK(level)); };
      *r = [=](uint16_t s, uint16_t d, int, int) { return ref::Add(s, d, kk); };
    });
    CompareRandom(*f, 300, [&](std::mt19937&, Kernel* k, ref::Rule* r) {
      *k = [](const zo::BlendJob& j) { zo::SubtractKernel(j); };
      *r = [](uint16_t s, uint16_t d, int, int) { return ref::Sub(s, d); };
    });
  }
}

float RandomAlpha(std::mt19937& rng) {
  switch (rng() % 6) {
    case 0: return 0.0f;
    case 1: return 1.0f;
    case 2: return 0.5f;
    default: return std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
  }
}

TEST(BlendRandom, AlphaBlendPerChannel) {
  for (const PixelLayout* f : kLayouts)
    CompareRandom(*f, 400, [&](std::mt19937& rng, Kernel* k, ref::Rule* r) {
      float a[3];
      for (float& x : a) x = RandomAlpha(rng);
      if (rng() % 2) a[1] = a[2] = a[0];
      float dw[3];
      for (int c = 0; c < 3; ++c) dw[c] = 1.0f - a[c];
      *k = [=](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, a); };
      *r = [=](uint16_t s, uint16_t d, int, int) { return ref::Mix(*f, s, d, a, dw); };
    });
}

TEST(BlendRandom, AlphaGradientBothWays) {
  for (const PixelLayout* f : kLayouts)
    CompareRandom(*f, 400, [&](std::mt19937& rng, Kernel* k, ref::Rule* r) {
      float a[3];
      for (float& x : a) x = RandomAlpha(rng);
      const zo::Ramp ramp{int(rng() % 2), uint16_t(Between(rng, 0, 40)), Between(rng, -1, 4)};
      *k = [=](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, a, ramp); };
      *r = [=](uint16_t s, uint16_t d, int i, int j) {
        const int steps = ref::Steps(ramp.vertical ? j : i, ramp.start, ramp.every);
        return ref::AlphaRamp(*f, s, d, a, steps);
      };
    });
}

TEST(BlendRandom, TinyOpacitiesStillMatchTheExtendedSum) {
  // Weights below 2^-17 leave the double shortcut; the result must not move.
  const float tiny[] = {1e-7f, 3e-9f, 1.0f - 1e-7f, 7.62939453125e-06f};
  for (float t : tiny)
    CompareRandom(k565, 40, [&](std::mt19937&, Kernel* k, ref::Rule* r) {
      const float a[3] = {t, 1.0f - t, t};
      const zo::Ramp ramp{1, 3, 1};
      *k = [=](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, a, ramp); };
      *r = [=](uint16_t s, uint16_t d, int, int j) {
        const int steps = ref::Steps(j, 3, 1);
        return ref::AlphaRamp(k565, s, d, a, steps);
      };
    });
}

TEST(BlendRandom, LargeSpritesAtFaintOpacities) {
  // Below 1/256 the integer form does not hold; big spans go through the
  // per-opacity tables, filled in double or, for the faintest, extended.
  const float faint[] = {0.0039f, 0.003f, 2e-5f, 1e-6f, 1e-9f};
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    for (float a : faint) {
      std::mt19937 rng(uint32_t(a * 1e9f) + 7);
      Image src = RandomImage(rng, 1, 1), dst = RandomImage(rng, 1, 1);
      src = Image(200, 100, 203);
      dst = Image(230, 120, 230);
      for (auto& p : src.px) p = RandomPixel(rng);
      for (auto& p : dst.px) p = RandomPixel(rng);
      const float al[3] = {a, a, 1.0f - a};
      float dw[3];
      for (int c = 0; c < 3; ++c) dw[c] = 1.0f - al[c];
      Image fast = dst, slow = dst;
      const IntRect clip{0, 0, 230, 120};
      RunFrame(clip, *f, fast, src, 10, 5, 0, 0, 200, 100,
               [&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, al); });
      ref::Draw(clip, slow, src, 10, 5, 0, 0, 200, 100,
                [&](uint16_t s, uint16_t d, int, int) { return ref::Mix(*f, s, d, al, dw); });
      ASSERT_EQ(fast.px, slow.px) << "alpha " << a;
      // The same weights a second time come from the kept table.
      fast = dst;
      RunFrame(clip, *f, fast, src, 10, 5, 0, 0, 200, 100,
               [&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, al); });
      ASSERT_EQ(fast.px, slow.px) << "alpha " << a << " again";
    }
  }
}

TEST(BlendRandom, WideRampsAlongTheRowsCutOnTheLeft) {
  // Wider than the stretch of columns whose weights are laid out at once,
  // and cut so that the ramp does not start at the first drawn column.
  std::mt19937 rng(4711);
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    Image src(1300, 12, 1303), dst(1160, 14, 1160);
    for (auto& p : src.px) p = RandomPixel(rng);
    for (auto& p : dst.px) p = RandomPixel(rng);
    for (const float a : {0.1f, 0.3f, 0.02f, 0.77f}) {
      const float al[3] = {a, 1.0f - a, 0.5f * a};
      const zo::Ramp ramp{0, 30, 35};
      auto rule = [&](uint16_t s, uint16_t d, int i, int) {
        const int steps = ref::Steps(i, ramp.start, ramp.every);
        return ref::AlphaRamp(*f, s, d, al, steps);
      };
      Image fast = dst, slow = dst;
      const IntRect clip{0, 0, 1160, 14};
      RunFrame(clip, *f, fast, src, -37, 1, 0, 0, 1300, 12,
               [&](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, al, ramp); });
      ref::Draw(clip, slow, src, -37, 1, 0, 0, 1300, 12, rule);
      ASSERT_EQ(fast.px, slow.px) << "alpha " << a;
    }
  }
}

// ----------------------------------------------------------------- edges

struct Strip : ::testing::Test {
  Image src{8, 80, 8}, dst{8, 80, 8};
  const IntRect clip{0, 0, 640, 480};
  void Fill(uint16_t s, uint16_t d) {
    for (auto& p : src.px) p = s;
    for (auto& p : dst.px) p = d;
  }
  void Run(const Kernel& k) { RunFrame(clip, k565, dst, src, 0, 0, 0, 0, 8, 80, k); }
};

TEST_F(Strip, CrossFadeEndsLoseGreensLowBit) {
  Build(k565);
  Fill(0x07FF, 0x0821);  // green 63 in the source, 1 in the destination
  const int top[3] = {31, 31, 31}, bottom[3] = {0, 0, 0};
  Run([&](const zo::BlendJob& j) { zo::CrossFadeKernel(j, top); });
  EXPECT_EQ(dst.at(3, 3), 0x07DF);
  Fill(0x07FF, 0x0821);
  Run([&](const zo::BlendJob& j) { zo::CrossFadeKernel(j, bottom); });
  EXPECT_EQ(dst.at(3, 3), 0x0801);
}

TEST_F(Strip, AlphaOneCopiesAndAlphaHalfTruncates) {
  Build(k565);
  Fill(0x1234, 0xFFFF);
  const float one[3] = {1, 1, 1}, half[3] = {0.5f, 0.5f, 0.5f};
  Run([&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, one); });
  EXPECT_EQ(dst.at(5, 70), 0x1234);
  Fill(0xF81F, 0x0000);  // red 31, blue 31
  Run([&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, half); });
  EXPECT_EQ(dst.at(0, 0), (15 << 11) | 15);
}

TEST_F(Strip, AlphaOutsideZeroToOneIsHeldThere) {
  Build(k565);
  Fill(0xFFFF, 0x0000);
  const float over[3] = {3.0f, 3.0f, 3.0f}, under[3] = {-2.0f, -2.0f, -2.0f};
  Run([&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, over); });
  EXPECT_EQ(dst.at(1, 1), 0xFFFF);
  Fill(0xFFFF, 0x1234);
  Run([&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, under); });
  EXPECT_EQ(dst.at(1, 1), 0x1234);
}

TEST_F(Strip, AddWhiteOnWhiteAndSubtractFromBlack) {
  Build(k565);
  Fill(0xFFFF, 0xFFFF);
  Run([&](const zo::BlendJob& j) { zo::AddKernel(j, 0); });
  EXPECT_EQ(dst.at(7, 79), 0xFFDF);
  Fill(0xABCD, 0x0000);
  Run([&](const zo::BlendJob& j) { zo::SubtractKernel(j); });
  EXPECT_EQ(dst.at(7, 79), 0x0000);
  EXPECT_EQ(zo::AddLevelToK(1.0f), 0);
  EXPECT_EQ(zo::AddLevelToK(0.0f), 31);
  EXPECT_EQ(zo::AddLevelToK(5.0f), 0);
  EXPECT_EQ(zo::AddLevelToK(-5.0f), 31);
}

TEST_F(Strip, AlphaRampDownTheRows) {
  // Opacity 0, start 9, every 2: unchanged to row 10, 1/32 at row 11, 2/32 at
  // row 13, opaque from row 73.
  Build(k565);
  Fill(0xF800, 0x0000);  // red 31 over black
  const float zero[3] = {0, 0, 0};
  const zo::Ramp ramp{1, 9, 2};
  Run([&](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, zero, ramp); });
  for (int y = 0; y <= 10; ++y) EXPECT_EQ(dst.at(0, y), 0) << y;
  EXPECT_EQ(dst.at(0, 11) >> 11, int(31 * 0.03125));  // 0.97 truncated
  EXPECT_EQ(dst.at(0, 13) >> 11, int(31 * 0.0625));
  EXPECT_EQ(dst.at(0, 72) >> 11, 30);
  for (int y = 73; y < 80; ++y) EXPECT_EQ(dst.at(0, y), 0xF800) << y;
  EXPECT_EQ(zo::RampSteps(ramp, 73), 32);
  EXPECT_EQ(zo::RampSteps(ramp, 10), 0);
  EXPECT_EQ(zo::RampSteps(zo::Ramp{1, 5, 0}, 8), 3);  // every <= 0: every position steps
}

TEST(BlendEdges, HorizontalRampRestartsEachRowAndCountsClearColumns) {
  Build(k565);
  Image src(40, 3, 40), dst(40, 3, 40);
  for (auto& p : src.px) p = 0xFFFF;
  for (auto& p : dst.px) p = 0x0000;
  for (int y = 0; y < 3; ++y) src.at(2, y) = 0;  // a clear column inside the ramp
  const int level[3] = {0, 0, 0};
  const zo::Ramp ramp{0, 0, 1};
  RunFrame(IntRect{0, 0, 640, 480}, k565, dst, src, 0, 0, 0, 0, 40, 3,
           [&](const zo::BlendJob& j) { zo::CrossFadeGradientKernel(j, level, ramp); });
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(dst.at(0, y), 0);
    EXPECT_EQ(dst.at(2, y), 0);  // untouched
    // Column 3 has taken three steps although column 2 drew nothing.
    EXPECT_EQ(dst.at(3, y), Compose(k565, 3, 3, 3)) << y;
    EXPECT_EQ(dst.at(31, y), 0xFFDF);
  }
}

TEST(BlendEdges, CutColumnsKeepTheirRampPositions) {
  // Off the destination's left edge the clipped start is still column 0.
  Build(k565);
  Image src(40, 1, 40), dst(10, 1, 10);
  for (auto& p : src.px) p = 0xFFFF;
  const int level[3] = {0, 0, 0};
  RunFrame(IntRect{-100, 0, 640, 480}, k565, dst, src, -20, 0, 0, 0, 40, 1,
           [&](const zo::BlendJob& j) { zo::CrossFadeGradientKernel(j, level, zo::Ramp{0, 0, 1}); });
  EXPECT_EQ(dst.at(0, 0), Compose(k565, 20, 20, 20));
}

}  // namespace
