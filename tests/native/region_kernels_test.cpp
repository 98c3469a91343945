// The back-surface region kernels against their literal rules over seeded
// random pictures and rectangles that reach over the surface's edges, and at
// the cases the effects are known by.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <random>

#include "draw/effects/region_kernels.h"
#include "effect_harness.h"
#include "region_reference.h"

using ref::Image;

namespace {

using harness::Between;
using harness::k555;
using harness::k565;

struct Rect {
  int x, y;
  uint32_t w, h;
};

// Rectangles inside, on and over every edge, empty ones among them.
Rect RandomRect(std::mt19937& rng, const Image& im) {
  const int x = Between(rng, -3, im.width + 1), y = Between(rng, -3, im.height + 1);
  return Rect{x, y, uint32_t(Between(rng, 0, im.width + 4)), uint32_t(Between(rng, 0, im.height + 4))};
}

// One seeded case: run(picture, rectangle, fast?) reworks a copy in place.
// Wide pictures reach the kernels' work in chunks of a row.
harness::Case RegionCase(std::function<void(std::mt19937&, Image&, const Rect&, bool fast)> run, int maxW = 80,
                         int maxH = 50) {
  return [=](std::mt19937& rng, Image& fast, Image& slow) {
    const Image im = harness::RandomImage(rng, maxW, maxH);
    const Rect r = RandomRect(rng, im);
    fast = slow = im;
    std::mt19937 a = rng, b = rng;  // the same parameters for both runs
    run(a, fast, r, true);
    run(b, slow, r, false);
  };
}

ref::Flags RandomFlags(std::mt19937& rng) { return ref::Flags{int(rng() % 2), int(rng() % 2) * 3, int(rng() % 2)}; }
int RandomCursor(std::mt19937& rng) { return rng() % 2 ? Between(rng, 9990, 9999) : Between(rng, 0, 9999); }

TEST(RegionSeeded, EveryKernelMatchesItsRuleOnBothLayouts) {
  for (const PixelLayout* layout : {&k565, &k555}) {
    const PixelLayout& f = *layout;
    harness::BuildTables(f);
    SCOPED_TRACE(f.greenMax == 63 ? "5-6-5" : "5-5-5");
    auto job = [&](Image& im, const Rect& r) { return zo::RegionJob{harness::View(im), r.x, r.y, r.w, r.h, f}; };
    auto smooth = [&](std::mt19937& rng, Image& im, const Rect& r, bool fast) {
      const ref::Flags fade = rng() % 2 ? RandomFlags(rng) : ref::Flags{0, 0, 0};
      if (fast)
        zo::SmoothKernel(job(im, r), zo::Channels{fade.red, fade.green, fade.blue});
      else
        ref::Smooth(f, im, r.x, r.y, r.w, r.h, fade);
    };
    harness::CompareSeeded("smooth", 300, RegionCase(smooth));
    harness::CompareSeeded("smooth-wide", 40, RegionCase(smooth, 700, 16));
    auto rise = [&](std::mt19937& rng, Image& im, const Rect& r, bool fast) {
      const ref::Flags fade = rng() % 2 ? RandomFlags(rng) : ref::Flags{0, 0, 0};
      int counter = Between(rng, 0, 3), cursor = RandomCursor(rng);
      zo::SeedMsvcrtRandom(7);
      if (fast) {
        zo::NoiseRun run{counter, cursor};
        zo::BlurRiseKernel(job(im, r), zo::Channels{fade.red, fade.green, fade.blue}, run);
        counter = run.counter, cursor = run.cursor;
      } else {
        ref::BlurRise(f, im, r.x, r.y, r.w, r.h, fade, counter, cursor);
      }
      im.at(0, 0) ^= uint16_t(counter * 16 + cursor);  // the state left behind must agree too
    };
    harness::CompareSeeded("blur-rise", 300, RegionCase(rise));
    harness::CompareSeeded("blur-rise-wide", 40, RegionCase(rise, 1200, 8));
    harness::CompareSeeded("noise", 300, RegionCase([&](std::mt19937& rng, Image& im, const Rect& r, bool fast) {
      const ref::Flags add = rng() % 2 ? RandomFlags(rng) : ref::Flags{1, 1, 1};
      const int shift = Between(rng, 0, 6);
      int cursor = RandomCursor(rng);
      zo::SeedMsvcrtRandom(9);
      if (fast)
        zo::NoiseKernel(job(im, r), zo::Channels{add.red, add.green, add.blue}, shift, cursor);
      else
        ref::Noise(f, im, add, shift, r.x, r.y, r.w, r.h, cursor);
      im.at(0, 0) ^= uint16_t(cursor);
    }));
    harness::CompareSeeded("mosaic-circle", 300, RegionCase([&](std::mt19937& rng, Image& im, const Rect&, bool fast) {
      const int cx = Between(rng, -8, im.width + 8), cy = Between(rng, -8, im.height + 8);
      const int radius = Between(rng, -1, 45), block = Between(rng, -1, 9);
      if (fast)
        zo::MosaicCircleKernel(harness::View(im), im.width, im.height, cx, cy, radius, block);
      else
        ref::MosaicCircle(im, im.width, im.height, cx, cy, radius, block);
    }));
    for (int factor : {2, 4})
      harness::CompareSeeded(factor == 2 ? "zoom2" : "zoom4", 300, [&](std::mt19937& rng, Image& fast, Image& slow) {
        Image screen = harness::RandomImage(rng, 80, 50), buffer = harness::RandomImage(rng, 90, 60);
        const Rect r = RandomRect(rng, screen);
        const int dotted = rng() % 2;
        fast = slow = buffer;
        zo::ZoomKernel(zo::RegionJob{harness::View(screen), r.x, r.y, r.w, r.h, f}, harness::View(fast), factor,
                       dotted);
        ref::Zoom(screen, slow, r.x, r.y, r.w, r.h, factor, dotted);
      });
  }
}

TEST(RegionEdges, CasesTheRandomComparisonDoesNotReach) {
  harness::BuildTables(k565);
  Image white(12, 10, 14);
  for (auto& v : white.px) v = 0xFFFF;
  auto job = [](Image& im, int x, int y, uint32_t w, uint32_t h) {
    return zo::RegionJob{harness::View(im), x, y, w, h, k565};
  };
  // Empty rectangles, and smoothing narrower or lower than 3, change nothing.
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{0, 5}, {5, 0}, {0, 0}, {2, 8}, {8, 2}}) {
    Image im = white;
    zo::SmoothKernel(job(im, 1, 1, w, h), zo::Channels{1, 1, 1});
    zo::NoiseRun run;
    if (w == 0 || h == 0) {
      int cursor = 0;
      zo::NoiseKernel(job(im, 1, 1, w, h), zo::Channels{1, 1, 1}, 4, cursor);
      EXPECT_EQ(cursor, 0);
      zo::BlurRiseKernel(job(im, 1, 1, w, h), zo::Channels{1, 1, 1}, run);
      Image buffer = white;
      zo::ZoomKernel(job(im, 1, 1, w, h), harness::View(buffer), 2, 0);
      EXPECT_EQ(buffer.px, white.px);
    }
    EXPECT_EQ(im.px, white.px) << w << "x" << h;
  }
  // A block below 1, or of 1, rewrites nothing.
  Image picture = harness::RandomImage(*std::make_unique<std::mt19937>(3), 40, 30);
  for (int block : {0, -4, 1}) {
    Image im = picture;
    zo::MosaicCircleKernel(harness::View(im), im.width, im.height, im.width / 2, im.height / 2, 12, block);
    EXPECT_EQ(im.px, picture.px) << "block " << block;
  }
  // One colour smooths to itself at 5-bit precision: 5-6-5 white loses green's low bit.
  Image im = white;
  zo::SmoothKernel(job(im, 0, 0, 12, 10), zo::Channels{0, 0, 0});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(im.at(x, y), x && y && x < 11 && y < 9 ? 0xFFDF : 0xFFFF);
  // Grain shifted by 4 adds 0, 16 or 32: every pixel whose entry is 2 turns white.
  Image gray(12, 10, 12);
  for (auto& v : gray.px) v = 0x4208;  // 8 in every channel
  int cursor = 0;
  zo::NoiseKernel(job(gray, 0, 0, 12, 10), zo::Channels{1, 1, 1}, 4, cursor);
  for (int k = 0; k < 120; ++k)
    EXPECT_EQ(gray.px[k], NoiseTable[k] == 2 ? 0xFFDF : NoiseTable[k] == 1 ? 0xC618 : 0x4208) << k;
}

}  // namespace
