// The rotation kernel against the literal walk of every form over seeded
// random sprites, rectangles, angles and clip rectangles, and at the cases
// the rotations are known by.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "draw/effects/rotate_kernels.h"
#include "draw/sine_table.h"
#include "effect_harness.h"
#include "filter_reference.h"
#include "guarded_page.h"
#include "rotate_reference.h"

using ref::Image;

namespace {

using harness::Between;
using harness::k555;
using harness::k565;

zo::RotateCall CallOf(const ref::Rotation& r) {
  zo::RotateCall c{};
  c.form = zo::RotateForm(int(r.form));
  c.dl = r.dl, c.dt = r.dt, c.dr = r.dr, c.db = r.db, c.angle = r.angle;
  c.scale = r.scale, c.scaleX = r.scaleX, c.stepX = r.stepX, c.scaleY = r.scaleY, c.stepY = r.stepY;
  for (int i = 0; i < 3; ++i) c.factor[i] = r.factor[i];
  c.sl = r.sl, c.st = r.st, c.sr = r.sr, c.sb = r.sb;
  return c;
}

// The library's destination window frame over plain images.
void RunFrame(const PixelLayout& f, const IntRect& clip, Image& dst, const zo::PixelView& src, const ref::Rotation& r) {
  const zo::RotateCall call = CallOf(r);
  zo::WindowFrame(clip, IntRect{r.dl, r.dt, r.dr, r.db}, zo::RotateDrawable(call), zo::OpenViews{src, harness::View(dst)},
                  [&](const auto& s, const auto& d, const auto& w) { zo::RotateKernel(zo::RotateJob{s, d, f, call, w}); });
}
void RunFrame(const PixelLayout& f, const IntRect& clip, Image& dst, Image& src, const ref::Rotation& r) {
  RunFrame(f, clip, dst, harness::View(src), r);
}

float RandomScale(std::mt19937& rng) {
  switch (rng() % 7) {
    case 0: return 1.0f;
    case 1: return -0.75f;
    case 2: return float(Between(rng, 1, 8)) * 0.5f;
    case 3: return std::uniform_real_distribution<float>(0.05f, 0.5f)(rng);
    default: return std::uniform_real_distribution<float>(0.3f, 3.0f)(rng);
  }
}

// With a page, the kernel reads a sprite that fills it exactly.
harness::Case RotationCase(const PixelLayout& f, ref::Form form, zotest::GuardedPage* page = nullptr) {
  return [=](std::mt19937& rng, Image& fast, Image& slow) {
    Image src = harness::RandomImage(rng, 50, 40), dst = harness::RandomImage(rng, 90, 70);
    if (page) {
      src = Image(page->kWidth, page->kHeight, page->kWidth);
      for (auto& p : src.px) p = harness::RandomPixel(rng);
    }
    const IntRect clip = rng() % 4 ? harness::RandomClip(rng, dst) : IntRect{0, 0, dst.width, dst.height};
    ref::Rotation r;
    r.form = form;
    r.dl = Between(rng, -40, dst.width);
    r.dt = Between(rng, -30, dst.height);
    r.dr = r.dl + Between(rng, -3, 100);
    r.db = r.dt + Between(rng, -3, 80);
    r.angle = rng() % 4 ? Between(rng, 0, 359) : Between(rng, -1000, 1000);
    r.sl = Between(rng, -6, src.width - 1);
    r.st = Between(rng, -6, src.height - 1);
    r.sr = r.sl + Between(rng, -1, src.width + 6);
    r.sb = r.st + Between(rng, -1, src.height + 6);
    r.scale = RandomScale(rng);
    r.scaleX = RandomScale(rng);
    r.scaleY = RandomScale(rng);
    r.stepX = rng() % 3 ? float(Between(rng, -40, 40)) / 1000.0f : 0.0f;
    r.stepY = rng() % 3 ? float(Between(rng, -40, 40)) / 1000.0f : 0.0f;
    for (float& k : r.factor) k = rng() % 3 ? std::uniform_real_distribution<float>(0.0f, 1.0f)(rng)
                                            : float(Between(rng, -1, 3));
    fast = slow = dst;
    RunFrame(f, clip, fast, page ? page->Hold(src) : harness::View(src), r);
    ref::Rotate(f, clip, slow, src, r);
  };
}

TEST(RotateSeeded, EveryFormMatchesTheLiteralWalkOnBothLayouts) {
  BuildSineTable();
  for (const PixelLayout* f : {&k565, &k555}) {
    harness::BuildTables(*f);
    harness::CompareSeeded("rotate", 300, RotationCase(*f, ref::Form::Plain));
    harness::CompareSeeded("rotate-tile", 300, RotationCase(*f, ref::Form::Tile));
    harness::CompareSeeded("rotate-zoom", 300, RotationCase(*f, ref::Form::Zoom));
    harness::CompareSeeded("rotate-zoom-tile", 300, RotationCase(*f, ref::Form::ZoomTile));
    harness::CompareSeeded("rotate-floor", 300, RotationCase(*f, ref::Form::Floor));
  }
}

// The gathers read four bytes a pixel: none may reach outside the object,
// at its first pixel or its last.
TEST(RotateSeeded, NoFormReadsOutsideAnObjectThatFillsItsPages) {
  BuildSineTable();
  harness::BuildTables(k565);
  zotest::GuardedPage page;
  ASSERT_TRUE(page.Ok());
  for (ref::Form form : {ref::Form::Plain, ref::Form::Tile, ref::Form::Zoom, ref::Form::ZoomTile})
    harness::CompareSeeded("rotate-guarded", 150, RotationCase(k565, form, &page));
}

// ----------------------------------------------------------------- edges

struct Square : ::testing::Test {
  // An 8 x 8 sprite whose every pixel tells its position: 1 + x + 8y.
  Image src{8, 8, 8}, dst{32, 32, 32};
  const IntRect clip{0, 0, 32, 32};
  void SetUp() override {
    BuildSineTable();
    harness::BuildTables(k565);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) src.at(x, y) = uint16_t(1 + x + 8 * y);
  }
  ref::Rotation At(ref::Form form, int dl, int dt, int w, int h, int angle) const {
    ref::Rotation r;
    r.form = form;
    r.dl = dl, r.dt = dt, r.dr = dl + w, r.db = dt + h, r.angle = angle;
    r.sl = 0, r.st = 0, r.sr = 8, r.sb = 8;
    return r;
  }
};

TEST_F(Square, AngleZeroCopiesAndNinetyTurns) {
  RunFrame(k565, clip, dst, src, At(ref::Form::Plain, 3, 4, 8, 8, 0));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.at(3 + x, 4 + y), src.at(x, y));
  // 90 degrees: destination (i, j) shows source (8 - j, i); row 0 maps to
  // column 8 and stays unwritten.
  Image turned(32, 32, 32);
  RunFrame(k565, clip, turned, src, At(ref::Form::Plain, 0, 0, 8, 8, 90));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(turned.at(i, 0), 0) << i;
  EXPECT_EQ(turned.at(0, 1), src.at(7, 0));  // the top-right corner
  for (int j = 1; j < 8; ++j)
    for (int i = 0; i < 8; ++i) ASSERT_EQ(turned.at(i, j), src.at(8 - j, i)) << i << "," << j;
  // Angles are taken modulo 360, negative ones too.
  for (int angle : {450, -270, 90 + 360 * 5}) {
    Image again(32, 32, 32);
    RunFrame(k565, clip, again, src, At(ref::Form::Plain, 0, 0, 8, 8, angle));
    EXPECT_EQ(again.px, turned.px) << angle;
  }
}

TEST_F(Square, TilingFillsTheMarginWithMirroredRepeats) {
  RunFrame(k565, clip, dst, src, At(ref::Form::Plain, 0, 0, 24, 24, 0));
  EXPECT_EQ(dst.at(0, 0), 0);  // the margin of the plain form stays
  EXPECT_EQ(dst.at(8, 8), src.at(0, 0));
  Image tiled(32, 32, 32);
  RunFrame(k565, clip, tiled, src, At(ref::Form::Tile, 0, 0, 24, 24, 0));
  // px = i - 8: mirrored about i = 8, repeated every 8 on the right.
  EXPECT_EQ(tiled.at(8, 8), src.at(0, 0));
  EXPECT_EQ(tiled.at(7, 8), src.at(1, 0));
  EXPECT_EQ(tiled.at(0, 8), src.at(0, 0));
  EXPECT_EQ(tiled.at(17, 9), src.at(1, 1));
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_NE(tiled.at(x, y), 0) << x << "," << y;
}

TEST_F(Square, WindowsOffTheClipAndUnusableScales) {
  zo::RotateWindow w;
  const IntRect right{10, 0, 32, 32};
  EXPECT_FALSE(zo::RotateClip(right, CallOf(At(ref::Form::Plain, 0, 0, 8, 8, 0)), &w));  // endX < startX
  ASSERT_TRUE(zo::RotateClip(right, CallOf(At(ref::Form::Plain, 2, 0, 8, 8, 0)), &w));   // equal: empty
  EXPECT_EQ(w.startX, w.endX);
  const float bad[] = {0.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
  for (float s : bad) {
    ref::Rotation r = At(ref::Form::ZoomTile, 0, 0, 16, 16, 30);
    r.scale = s;
    EXPECT_FALSE(zo::RotateDrawable(CallOf(r))) << s;
    r.form = ref::Form::Floor;
    r.scaleX = s;
    r.stepX = 0;
    EXPECT_FALSE(zo::RotateDrawable(CallOf(r))) << s;
  }
  ref::Rotation empty = At(ref::Form::Tile, 0, 0, 16, 16, 30);
  empty.sr = empty.sl;
  EXPECT_FALSE(zo::RotateDrawable(CallOf(empty)));
  // A floor whose scale passes through 0 draws nothing on that row only.
  ref::Rotation floor = At(ref::Form::Floor, 0, 0, 16, 16, 0);
  floor.scaleX = 2.0f;
  floor.stepX = -1.0f;
  RunFrame(k565, clip, dst, src, floor);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(dst.at(x, 2), 0) << x;
  EXPECT_NE(dst.at(5, 1), 0);
  EXPECT_NE(dst.at(5, 3), 0);
}

TEST_F(Square, FloorWithoutStepsIsTheTiledZoomAtFiveBits) {
  for (int angle : {0, 33, 200}) {
    Image tiled(32, 32, 32), floor(32, 32, 32);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) src.at(x, y) = uint16_t(0x0841 * (1 + x + y) | 0x0020);  // green's low bit set
    ref::Rotation z = At(ref::Form::ZoomTile, 1, 2, 28, 27, angle);
    z.scale = 1.5f;
    ref::Rotation fl = z;
    fl.form = ref::Form::Floor;
    fl.scaleX = fl.scaleY = 1.5f;
    RunFrame(k565, clip, tiled, src, z);
    RunFrame(k565, clip, floor, src, fl);
    for (size_t i = 0; i < tiled.px.size(); ++i)
      ASSERT_EQ(floor.px[i], tiled.px[i] & 0xFFDF) << angle << " at " << i;
  }
  // Factors above 1 saturate at 31 instead of spilling into the next channel.
  Image lit(32, 32, 32);
  for (auto& p : src.px) p = uint16_t(ref::Five(k565, 20, 20, 20));
  ref::Rotation fl = At(ref::Form::Floor, 0, 0, 8, 8, 0);
  fl.factor[0] = 4.0f, fl.factor[1] = 0.5f, fl.factor[2] = -2.0f;
  RunFrame(k565, clip, lit, src, fl);
  EXPECT_EQ(lit.at(3, 3), ref::Five(k565, 31, 10, 0));
}

TEST(SineTableRead, CosineIsNinetyOn) {
  BuildSineTable();
  EXPECT_EQ(SineTable[0], 0);
  EXPECT_EQ(SineTable[90], 360);
  EXPECT_EQ(SineTable[270], -360);
  EXPECT_EQ(zo::ReduceAngle(-1), 359);
  EXPECT_EQ(zo::ReduceAngle(720), 0);
  EXPECT_EQ(zo::ReduceAngle(std::numeric_limits<int>::min()), 232);
}

}  // namespace
