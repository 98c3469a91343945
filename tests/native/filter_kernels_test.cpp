// The colour-filter kernels against their literal rules over seeded random
// sprites, placements and clip rectangles, and at the cases the filters are
// known by.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "draw/effects/filter_kernels.h"
#include "effect_harness.h"
#include "blend_reference.h"
#include "filter_reference.h"

using ref::Image;

namespace {

using harness::Between;
using harness::k555;
using harness::k565;

using Kernel = std::function<void(const zo::FilterJob&)>;
// The reference over the whole picture for one placement.
using Reference = std::function<void(const IntRect&, Image& dst, const Image& src, const harness::Placement&)>;

// The library's sprite frame over plain images.
void RunFrame(const PixelLayout& f, const IntRect& clip, Image& dst, Image& src, const harness::Placement& p,
              const Kernel& kernel) {
  zo::SpriteFrame(clip, zo::Placement{p.x, p.y, p.l, p.t, p.r, p.b},
                  zo::OpenViews{harness::View(src), harness::View(dst)},
                  [&](const auto& s, const auto& d, const auto& sp) { kernel(zo::FilterJob{s, d, sp, f, clip}); });
}

// One seeded case: a random sprite, background, clip and placement, the
// parameters drawn by make.
harness::Case SpriteCase(const PixelLayout& f, std::function<void(std::mt19937&, Kernel*, Reference*)> make) {
  return [=](std::mt19937& rng, Image& fast, Image& slow) {
    Image src = harness::RandomImage(rng, 70, 40), dst = harness::RandomImage(rng, 90, 50);
    const IntRect clip = rng() % 4 ? harness::RandomClip(rng, dst) : IntRect{0, 0, dst.width, dst.height};
    const harness::Placement p = harness::RandomPlacement(rng, src, dst);
    Kernel kernel;
    Reference reference;
    make(rng, &kernel, &reference);
    fast = slow = dst;
    RunFrame(f, clip, fast, src, p, kernel);
    reference(clip, slow, src, p);
  };
}

// A rule for one visible pixel, drawn through the reference frame.
Reference PerPixel(std::function<uint16_t(uint16_t)> rule) {
  return [=](const IntRect& clip, Image& dst, const Image& src, const harness::Placement& p) {
    ref::Draw(clip, dst, src, p.x, p.y, p.l, p.t, p.r, p.b, [&](uint16_t s, uint16_t, int, int) { return rule(s); });
  };
}

float RandomFactor(std::mt19937& rng) {
  switch (rng() % 8) {
    case 0: return 0.0f;
    case 1: return 1.0f;
    case 2: return -0.5f;
    case 3: return std::numeric_limits<float>::quiet_NaN();
    case 4: return float(Between(rng, 1000, 9000)) / 1000.0f;  // above 1: saturates
    default: return std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
  }
}

TEST(FilterSeeded, EveryKernelMatchesItsRuleOnBothLayouts) {
  for (const PixelLayout* layout : {&k565, &k555}) {
    const PixelLayout& f = *layout;
    harness::BuildTables(f);
    SCOPED_TRACE(f.greenMax == 63 ? "5-6-5" : "5-5-5");
    harness::CompareSeeded("channel-mask", 300, SpriteCase(f, [&](std::mt19937& rng, Kernel* k, Reference* r) {
      const int red = rng() % 2, green = rng() % 2 ? -7 : 0, blue = rng() % 2;
      *k = [=](const zo::FilterJob& j) { zo::ChannelMaskKernel(j, zo::ChannelMaskOf(f, red, green, blue)); };
      *r = PerPixel([=](uint16_t s) { return ref::ChannelMask(f, s, red, green, blue); });
    }));
    harness::CompareSeeded("brightness", 300, SpriteCase(f, [&](std::mt19937& rng, Kernel* k, Reference* r) {
      const float a[3] = {RandomFactor(rng), RandomFactor(rng), RandomFactor(rng)};
      const float b[3] = {a[0], rng() % 2 ? a[0] : a[1], rng() % 2 ? a[0] : a[2]};
      *k = [=](const zo::FilterJob& j) { zo::BrightnessKernel(j, b); };
      *r = PerPixel([=](uint16_t s) { return ref::Brightness(f, s, b); });
    }));
    harness::CompareSeeded("darken", 300, SpriteCase(f, [&](std::mt19937& rng, Kernel* k, Reference* r) {
      const int v[3] = {Between(rng, -40, 70), Between(rng, 0, 31), Between(rng, -5, 36)};
      *k = [=](const zo::FilterJob& j) { zo::DarkenKernel(j, v); };
      *r = PerPixel([=](uint16_t s) { return ref::Darken(s, v); });
    }));
    harness::CompareSeeded("gray", 300, SpriteCase(f, [&](std::mt19937&, Kernel* k, Reference* r) {
      *k = [](const zo::FilterJob& j) { zo::GrayKernel(j); };
      *r = PerPixel([=](uint16_t s) { return ref::Gray(f, s); });
    }));
    harness::CompareSeeded("blur", 300, SpriteCase(f, [&](std::mt19937& rng, Kernel* k, Reference* r) {
      const int size = rng() % 5 ? Between(rng, 1, 12) : Between(rng, -2, 80);
      *k = [=](const zo::FilterJob& j) { zo::BlurKernel(j, size); };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        ref::Blur(f, c, d, s, p.x, p.y, p.l, p.t, p.r, p.b, size);
      };
    }));
    harness::CompareSeeded("soft-edge", 300, SpriteCase(f, [&](std::mt19937&, Kernel* k, Reference* r) {
      *k = [](const zo::FilterJob& j) { zo::SoftEdgeKernel(j); };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        ref::SoftEdge(f, c, d, s, p.x, p.y, p.l, p.t, p.r, p.b);
      };
    }));
    harness::CompareSeeded("glow", 300, SpriteCase(f, [&](std::mt19937& rng, Kernel* k, Reference* r) {
      const zo::Glow glow{{unsigned(Between(rng, 0, 6)), unsigned(Between(rng, 0, 3)), unsigned(Between(rng, 0, 40))},
                          unsigned(rng()), int(rng() % 2)};
      const int start = rng() % 2 ? Between(rng, 9900, 9999) : Between(rng, 0, 9999);
      *k = [=](const zo::FilterJob& j) {
        int cursor = start;
        zo::GlowKernel(j, glow, cursor);
      };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        int cursor = start;
        ref::Glow(f, c, d, s, p.x, p.y, p.l, p.t, p.r, p.b, glow.shift, glow.directions, glow.copy, cursor);
      };
    }));
  }
}

// ----------------------------------------------------------------- edges

// A sprite of one colour, or with holes, drawn at (4, 3) of a 40 x 30 background.
struct Scene : ::testing::Test {
  Image src{16, 12, 16}, dst{40, 30, 40};
  void SetUp() override { harness::BuildTables(k565); }
  void Fill(uint16_t s, uint16_t d) {
    for (auto& p : src.px) p = s;
    for (auto& p : dst.px) p = d;
  }
  void Run(const Kernel& k, IntRect clip = IntRect{0, 0, 40, 30}) {
    RunFrame(k565, clip, dst, src, harness::Placement{4, 3, 0, 0, 16, 12}, k);
  }
  uint16_t Five(int r, int g, int b) const { return ref::Five(k565, r, g, b); }
};

TEST_F(Scene, ChannelMaskAndDarkenAtTheirEnds) {
  const struct {
    int red, green, blue;
    uint16_t out;
  } masks[] = {{0, 0, 0, 0x0000}, {1, 1, 1, 0xABCD}, {1, 0, 0, 0xA800}, {0, 1, 0, 0x03C0}, {0, 0, 1, 0x000D}};
  for (const auto& m : masks) {
    Fill(0xABCD, 0x1111);
    src.at(5, 5) = 0;
    Run([&](const zo::FilterJob& j) { zo::ChannelMaskKernel(j, zo::ChannelMaskOf(k565, m.red, m.green, m.blue)); });
    EXPECT_EQ(dst.at(4, 3), m.out);
    EXPECT_EQ(dst.at(9, 8), 0x1111);  // the clear pixel
  }
  // Level 0 is a black silhouette, 31 the sprite at 5-bit precision; levels
  // outside 0..31 are held there.
  const struct {
    int level;
    uint16_t out;
  } darks[] = {{0, 0x0000}, {-9, 0x0000}, {31, 0xFFDF}, {99, 0xFFDF}, {16, 0x8410 & 0x8410}};
  for (const auto& d : darks) {
    Fill(0xFFFF, 0x1111);
    const int v[3] = {d.level, d.level, d.level};
    Run([&](const zo::FilterJob& j) { zo::DarkenKernel(j, v); });
    EXPECT_EQ(dst.at(10, 10), d.out) << d.level;
  }
}

TEST_F(Scene, BrightnessHalvesAndSaturatesAboveOne) {
  Fill(0xFFFF, 0);
  const float half[3] = {0.5f, 0.5f, 0.5f};
  Run([&](const zo::FilterJob& j) { zo::BrightnessKernel(j, half); });
  EXPECT_EQ(dst.at(4, 3), (15 << 11) | (31 << 5) | 15);
  // Above 1 a channel stops at its maximum instead of spilling over.
  Fill(uint16_t((16 << 11) | (40 << 5) | 20), 0);
  const float twice[3] = {2.0f, 2.0f, 2.0f};
  Run([&](const zo::FilterJob& j) { zo::BrightnessKernel(j, twice); });
  EXPECT_EQ(dst.at(4, 3), 0xFFFF);
  const float odd[3] = {-1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
  Fill(uint16_t((16 << 11) | (40 << 5) | 0), 0x1234);
  Run([&](const zo::FilterJob& j) { zo::BrightnessKernel(j, odd); });
  EXPECT_EQ(dst.at(4, 3), 0);  // red and green 0, blue 0 * infinity is 0
}

TEST_F(Scene, GrayOfRedIsTen) {
  Fill(0xF800, 0);
  Run([](const zo::FilterJob& j) { zo::GrayKernel(j); });
  EXPECT_EQ(dst.at(8, 8), Five(10, 10, 10));
}

TEST_F(Scene, BlurSizesAtTheEdges) {
  Fill(0, 0x1111);
  for (int x = 0; x < 16; ++x) src.at(x, 0) = uint16_t(x < 13 ? 0x0001 : 0x001F);  // blue 1, then 31
  src.at(3, 1) = 0xFFFF;
  // Size 1 keeps the colours at 5-bit precision.
  Run([](const zo::FilterJob& j) { zo::BlurKernel(j, 1); });
  EXPECT_EQ(dst.at(4 + 3, 4), 0xFFDF);
  // At the right edge the block is the last three columns, not fewer.
  Fill(0, 0x1111);
  for (int x = 0; x < 16; ++x) src.at(x, 11) = uint16_t(x == 15 ? 0x001F : 0x0001);
  Run([](const zo::FilterJob& j) { zo::BlurKernel(j, 3); });
  EXPECT_EQ(dst.at(4 + 15, 3 + 11), Five(0, 0, 33 / 9));
  EXPECT_EQ(dst.at(4 + 14, 3 + 11), Five(0, 0, 33 / 9));
  EXPECT_EQ(dst.at(4 + 12, 3 + 11), Five(0, 0, 3 / 9));
  // Too large for the area: held to its height (12); below 1 nothing.
  EXPECT_EQ(zo::BlurSizeFor(200, 16, 12), 12);
  EXPECT_EQ(zo::BlurSizeFor(200, 640, 480), zo::MaxBlurSize);
  Fill(0xFFFF, 0x1111);
  Run([](const zo::FilterJob& j) { zo::BlurKernel(j, 0); });
  EXPECT_EQ(dst.at(8, 8), 0x1111);
  Run([](const zo::FilterJob& j) { zo::BlurKernel(j, 1000); });
  EXPECT_EQ(dst.at(8, 8), 0xFFDF);  // the sums of 12 x 12 white did not wrap
}

TEST_F(Scene, SoftEdgeOnlyTouchesTheSpritesOwnHoles) {
  Fill(0x8410, 0xFFFF);
  Run([](const zo::FilterJob& j) { zo::SoftEdgeKernel(j); });
  for (int y = 3; y < 15; ++y)
    for (int x = 4; x < 20; ++x) ASSERT_EQ(dst.at(x, y), 0x8410) << x << "," << y;
  Fill(0xF800, 0x001F);
  src.at(5, 5) = 0;
  Run([](const zo::FilterJob& j) { zo::SoftEdgeKernel(j); });
  EXPECT_EQ(dst.at(4 + 5, 3 + 5), 0x001F);              // the hole is left alone
  EXPECT_EQ(dst.at(4 + 4, 3 + 5), Five(15, 0, 15));     // red and blue averaged
  EXPECT_EQ(dst.at(4 + 4, 3 + 4), 0xF800);              // diagonal: untouched colour
}

TEST_F(Scene, GlowRaysFadeAndTheCursorComesBack) {
  // One white pixel, shifts 0, the left ray, noise 0: the pixel itself +30,
  // then 29, 28, ... 1 leftwards.
  Fill(0, 0);
  src.at(15, 0) = 0xFFFF;
  int zeroAt = 0;
  while (NoiseTable[zeroAt] != 0) ++zeroAt;
  int cursor = zeroAt;
  const zo::Glow left{{0, 0, 0}, 0x08, 0};
  Image wide(64, 4, 64);
  RunFrame(k565, IntRect{0, 0, 64, 4}, wide, src, harness::Placement{40, 0, 15, 0, 16, 1},
           [&](const zo::FilterJob& j) { zo::GlowKernel(j, left, cursor); });
  EXPECT_EQ(cursor, zeroAt + 1);
  EXPECT_EQ(wide.at(40, 0), Five(30, 30, 30));
  for (int r = 1; r <= 29; ++r) EXPECT_EQ(wide.at(40 - r, 0), Five(30 - r, 30 - r, 30 - r)) << r;
  EXPECT_EQ(wide.at(10, 0), 0);
  EXPECT_EQ(wide.at(41, 0), 0);
  // No direction and copy: a plain copy; shifts of 5 or more give no light.
  Fill(0x1234, 0);
  src.at(2, 2) = 0;
  cursor = 0;
  Run([&](const zo::FilterJob& j) { zo::GlowKernel(j, zo::Glow{{0, 0, 0}, 0, 1}, cursor); });
  EXPECT_EQ(dst.at(4, 3), 0x1234);
  EXPECT_EQ(dst.at(6, 5), 0);
  EXPECT_EQ(cursor, 16 * 12 - 1);  // one noise read per visible pixel
  Fill(0xFFFF, 0);
  Run([&](const zo::FilterJob& j) { zo::GlowKernel(j, zo::Glow{{5, 9, 40}, 0xFF, 0}, cursor); });
  EXPECT_EQ(dst.at(3, 3), 0);
  // After the last entry the glow's cursor starts again at 0.
  cursor = NoiseTableSize - 1;
  EXPECT_EQ(zo::ReadGlowNoise(cursor), NoiseTable[NoiseTableSize - 1]);
  EXPECT_EQ(cursor, 0);
}

}  // namespace
