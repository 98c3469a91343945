// The blends, colour filters, rotations, mirrors and distortions and the
// region effects through the real effect frame on DirectDraw surfaces of the
// 16-bit test screen, held to the same literal references as the native
// kernels; the frame's lock and unlock order with memory surfaces that count
// or refuse their locks, once for every effect of the catalogue.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "../native/blend_reference.h"
#include "../native/filter_reference.h"
#include "../native/region_reference.h"
#include "../native/rotate_reference.h"
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/effect_tables.h"
#include "draw/sine_table.h"
#include "zo.h"
#include "draw_support.h"
#include "memory_surface.h"
#include "zo_test.h"

using zotest::Image;

namespace {

IDirectDrawSurface* MakeSurface(int width, int height) {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  IDirectDrawSurface* s = nullptr;
  if (directDraw->CreateSurface(&desc, &s, nullptr) != DD_OK) return nullptr;
  return s;
}

Image Read(IDirectDrawSurface* s) { return zotest::ReadSurface(s); }
void Write(IDirectDrawSurface* s, const Image& im) { ASSERT_TRUE(zotest::WriteSurface(s, im)); }

using harness::Between;
using zotest::MemorySurface;

// Fills the surface with random sprite pixels (clear, white or any) and
// answers what it now holds.
Image RandomSprite(IDirectDrawSurface* s, std::mt19937& rng) {
  Image im = Read(s);
  for (auto& p : im.px) p = harness::RandomPixel(rng, false);
  Write(s, im);
  return im;
}

// Fills the surface with noise and answers what it now holds.
Image Noise(IDirectDrawSurface* s, std::mt19937& rng) {
  Image im = Read(s);
  for (auto& p : im.px) p = uint16_t(rng());
  Write(s, im);
  return im;
}

// The surface holds `expected`; else the first pixel that differs.
void ExpectHolds(IDirectDrawSurface* s, const Image& expected, const std::string& what) {
  const Image got = Read(s);
  ASSERT_EQ(got.px.size(), expected.px.size()) << what;
  for (size_t i = 0; i < got.px.size(); ++i)
    ASSERT_EQ(got.px[i], expected.px[i]) << what << ", pixel " << i % size_t(got.width) << "," << i / size_t(got.width);
}

struct EffectsTest : ::testing::Test {
  static IDirectDrawSurface* back;
  static IDirectDrawSurface* sprite;  // 100 x 60 in object 4
  static IDirectDrawSurface* small;   // 37 x 23 in object 5

  static void SetUpTestSuite() {
    zotest::MakeMainWindow();
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(mainWindow, DDSCL_NORMAL), DD_OK);
    back = MakeSurface(640, 480);
    sprite = MakeSurface(100, 60);
    small = MakeSurface(37, 23);
    ASSERT_TRUE(back && sprite && small);
    DDPIXELFORMAT pf = {};
    pf.dwSize = sizeof pf;
    ASSERT_EQ(back->GetPixelFormat(&pf), DD_OK);
    PixelFormat = DerivePixelLayout(pf.dwRBitMask, pf.dwGBitMask, pf.dwBBitMask);
    srand(1);
    zo::BuildEffectTables(PixelFormat, rand);
    BuildSineTable();
  }
  static void TearDownTestSuite() {
    for (IDirectDrawSurface* s : {back, sprite, small})
      if (s) s->Release();
    if (directDraw) directDraw->Release();
    directDraw = nullptr;
    zotest::DestroyMainWindow();
  }
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    backSurface = back;
    drawObjects[4].surface = sprite;
    drawObjects[5].surface = small;
    ClipRect = IntRect{0, 0, 640, 480};
    screenWidth = 640;
    screenHeight = 480;
    effectTablesReady = true;
  }
  // `count` calls through the real frame from a random sprite in `object`,
  // each onto fresh noise: draw makes call `op` and its reference in
  // `expected` and answers what the call answered.
  static void Sweep(IDirectDrawSurface* object, uint32_t seed, IntRect clip, int count, const std::string& what,
                    const std::function<int(int op, const Image& src, Image& expected)>& draw) {
    std::mt19937 rng(seed);
    const Image src = RandomSprite(object, rng);
    ClipRect = clip;
    for (int op = 0; op < count; ++op) {
      Image expected = Noise(back, rng);
      ASSERT_EQ(draw(op, src, expected), 1) << what << " " << op;
      ASSERT_NO_FATAL_FAILURE(ExpectHolds(back, expected, what + " " + std::to_string(op)));
    }
  }
  void TearDown() override {
    backSurface = nullptr;
    drawObjects[4].surface = drawObjects[5].surface = drawObjects[6].surface = nullptr;
  }
};

IDirectDrawSurface* EffectsTest::back;
IDirectDrawSurface* EffectsTest::sprite;
IDirectDrawSurface* EffectsTest::small;

TEST_F(EffectsTest, TheTestScreenIsFiveSixFiveAndTheRuntimesRandMatchesTheNativeOne) {
  EXPECT_EQ(PixelFormat.redMask, 0xF800u);
  EXPECT_EQ(PixelFormat.greenMask, 0x07E0u);
  EXPECT_EQ(PixelFormat.halfMask, 0x7BEFu);
  zo::SeedMsvcrtRandom(1);
  for (int i = 0; i < NoiseTableSize; ++i) ASSERT_EQ(NoiseTable[i], zo::MsvcrtRandom() % 3) << i;
  srand(4242);
  zo::SeedMsvcrtRandom(4242);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(rand(), zo::MsvcrtRandom());
}

// One blend operation with random parameters, and its literal rule.
struct Drawn {
  std::function<int(int x, int y, int obj, int l, int t, int r, int b)> call;
  ref::Rule rule;
  const char* name;
};

Drawn RandomOperation(std::mt19937& rng) {
  const PixelLayout f = PixelFormat;
  const int level = Between(rng, 0, 31), l2 = Between(rng, 0, 31), l3 = Between(rng, 0, 31);
  const float a = float(Between(rng, 0, 1000)) / 1000.0f, a2 = float(Between(rng, 0, 1000)) / 1000.0f;
  const int vertical = int(rng() % 2);
  const uint16_t start = uint16_t(Between(rng, 0, 30));
  const int every = Between(rng, 0, 4);
  switch (rng() % 10) {
    case 0:
      return {[](int x, int y, int o, int l, int t, int r, int b) { return zoDraw::DrawHalfBlend(x, y, o, l, t, r, b); },
              [f](uint16_t s, uint16_t d, int, int) { return ref::Half(f, s, d); }, "half"};
    case 1:
      return {[=](int x, int y, int o, int l, int t, int r, int b) { return zoDraw::DrawAlphaBlend(x, y, a, o, l, t, r, b); },
              [=](uint16_t s, uint16_t d, int, int) {
                const float sw[3] = {a, a, a}, dw[3] = {1.0f - a, 1.0f - a, 1.0f - a};
                return ref::Mix(f, s, d, sw, dw);
              },
              "alpha"};
    case 2:
      return {[=](int x, int y, int o, int l, int t, int r, int b) {
                return zoDraw::DrawAlphaBlendRGB(x, y, a, a2, 1.0f - a, o, l, t, r, b);
              },
              [=](uint16_t s, uint16_t d, int, int) {
                const float sw[3] = {a, a2, 1.0f - a};
                const float dw[3] = {1.0f - sw[0], 1.0f - sw[1], 1.0f - sw[2]};
                return ref::Mix(f, s, d, sw, dw);
              },
              "alpha rgb"};
    case 3:
      return {[=](int x, int y, int o, int l, int t, int r, int b) {
                return zoDraw::DrawAlphaGradient(x, y, a, a2, a, vertical, start, every, o, l, t, r, b);
              },
              [=](uint16_t s, uint16_t d, int i, int j) {
                const int steps = ref::Steps(vertical ? j : i, start, every);
                const float al[3] = {a, a2, a};
                return ref::AlphaRamp(f, s, d, al, steps);
              },
              "alpha gradient"};
    case 4:
      return {[=](int x, int y, int o, int l, int t, int r, int b) { return zoDraw::DrawCrossFade(x, y, level, o, l, t, r, b); },
              [=](uint16_t s, uint16_t d, int, int) {
                const int v[3] = {level, level, level};
                return ref::Fade(s, d, v);
              },
              "cross-fade"};
    case 5:
      return {[=](int x, int y, int o, int l, int t, int r, int b) {
                return zoDraw::DrawCrossFadeRGB(x, y, level, l2, l3, o, l, t, r, b);
              },
              [=](uint16_t s, uint16_t d, int, int) {
                const int v[3] = {level, l2, l3};
                return ref::Fade(s, d, v);
              },
              "cross-fade rgb"};
    case 6:
      return {[=](int x, int y, int o, int l, int t, int r, int b) {
                return zoDraw::DrawCrossFadeGradient(x, y, level, l2, l3, vertical, start, every, o, l, t, r, b);
              },
              [=](uint16_t s, uint16_t d, int i, int j) {
                const int steps = ref::Steps(vertical ? j : i, start, every);
                const int v[3] = {level, l2, l3};
                return ref::FadeRamp(s, d, v, steps);
              },
              "cross-fade gradient"};
    case 7:
      return {[](int x, int y, int o, int l, int t, int r, int b) { return zoDraw::DrawAdd(x, y, o, l, t, r, b); },
              [](uint16_t s, uint16_t d, int, int) { return ref::Add(s, d, 0); }, "add"};
    case 8:
      return {[=](int x, int y, int o, int l, int t, int r, int b) { return zoDraw::DrawAddLevel(x, y, a, o, l, t, r, b); },
              [=](uint16_t s, uint16_t d, int, int) { return ref::Add(s, d, int(31.0f - 31.0f * a)); },
              "add level"};
    default:
      return {[](int x, int y, int o, int l, int t, int r, int b) { return zoDraw::DrawSubtract(x, y, o, l, t, r, b); },
              [](uint16_t s, uint16_t d, int, int) { return ref::Sub(s, d); }, "subtract"};
  }
}

TEST_F(EffectsTest, EveryBlendMatchesItsRuleThroughTheRealFrame) {
  harness::CompareSeeded("blend", 120, [](std::mt19937& rng, Image& got, Image& expected) {
    const int obj = rng() % 2 ? 4 : 5;
    const Image src = RandomSprite(drawObjects[obj].surface, rng);
    expected = Noise(back, rng);
    ClipRect = rng() % 3 ? IntRect{Between(rng, -50, 300), Between(rng, -50, 200), Between(rng, 200, 700),
                                   Between(rng, 150, 530)}
                         : IntRect{0, 0, 640, 480};
    const int x = Between(rng, -120, 660), y = Between(rng, -80, 500);
    const int l = Between(rng, -10, 50), t = Between(rng, -10, 30);
    const int r = l + Between(rng, -3, 120), b = t + Between(rng, -3, 70);
    Drawn op = RandomOperation(rng);
    ASSERT_EQ(op.call(x, y, obj, l, t, r, b), 1) << op.name;
    ref::Draw(ClipRect, expected, src, x, y, l, t, r, b, op.rule);
    got = Read(back);
  }, 6122026u);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(EffectsTest, TransparencyIsValueZeroNotTheColourKey) {
  Image src = Read(sprite);
  for (auto& p : src.px) p = 0x1234;
  src.at(1, 0) = 0;
  Write(sprite, src);
  DDCOLORKEY key = {0x1234, 0x1234};
  sprite->SetColorKey(DDCKEY_SRCBLT, &key);
  Image backImage(640, 480, 640);
  for (auto& p : backImage.px) p = 0xFFFF;
  Write(back, backImage);
  EXPECT_EQ(zoDraw::DrawHalfBlend(10, 10, 4, 0, 0, 2, 1), 1);
  const Image got = Read(back);
  EXPECT_EQ(got.at(10, 10), ((0x1234 >> 1) & 0x7BEF) + 0x7BEF);
  EXPECT_EQ(got.at(11, 10), 0xFFFF);
}

TEST_F(EffectsTest, ClippedAwayAnswersOneWithoutLocking) {
  MemorySurface object(20, 20, false), screen(64, 64, false);
  drawObjects[6].surface = &object;
  backSurface = &screen;
  ClipRect = IntRect{10, 0, 64, 64};
  EXPECT_EQ(zoDraw::DrawAdd(-5, 0, 6, 0, 0, 10, 10), 1);  // w < 0
  EXPECT_EQ(object.locks + screen.locks, 0);
  EXPECT_EQ(zoDraw::DrawAdd(0, 0, 6, 0, 0, 10, 10), 1);   // w = 0: locks, draws nothing
  EXPECT_EQ(object.locks, 1);
  EXPECT_EQ(object.unlocks, 1);
  EXPECT_EQ(screen.locks, 1);
  EXPECT_EQ(screen.unlocks, 1);
  EXPECT_EQ(screen.lastUnlock, screen.pixels());
}

TEST_F(EffectsTest, ARefusedBackSurfaceUnlocksTheObjectAgainAndAnswersZero) {
  MemorySurface object(20, 20, false), refusing(64, 64, true);
  for (int i = 0; i < 400; ++i) object.pixels()[i] = 0xFFFF;
  drawObjects[6].surface = &object;
  backSurface = &refusing;
  EXPECT_EQ(zoDraw::DrawSubtract(0, 0, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(object.locks, 1);
  EXPECT_EQ(object.unlocks, 1);
  EXPECT_EQ(object.lastUnlock, object.pixels());
  EXPECT_TRUE(zotest::boxes.empty());  // a failed lock reports nothing

  // The object refusing: the back surface is never touched.
  MemorySurface refusedObject(20, 20, true), screen(64, 64, false);
  drawObjects[6].surface = &refusedObject;
  backSurface = &screen;
  EXPECT_EQ(zoDraw::DrawHalfBlend(0, 0, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(screen.locks, 0);
}

TEST_F(EffectsTest, RealSurfacesAreFreeAgainAfterEveryCall) {
  MemorySurface refusing(64, 64, true);
  backSurface = &refusing;
  EXPECT_EQ(zoDraw::DrawCrossFade(0, 0, 16, 4, 0, 0, 10, 10), 0);
  backSurface = back;
  // A surface left locked would refuse this lock.
  DDSURFACEDESC desc;
  zo::PixelView v;
  ASSERT_TRUE(zo::LockView(sprite, &desc, &v));
  sprite->Unlock(desc.lpSurface);
}

TEST_F(EffectsTest, SourceRectanglesBeyondTheObjectReadNothingOutsideIt) {
  MemorySurface object(8, 8, false), screen(32, 32, false);
  for (int i = 0; i < 64; ++i) object.pixels()[i] = 0xF800;
  drawObjects[6].surface = &object;
  backSurface = &screen;
  EXPECT_EQ(zoDraw::DrawAdd(4, 4, 6, -4, -4, 40, 40), 1);
  // Only the 8 x 8 object lands, at (8, 8).
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inside = x >= 8 && x < 16 && y >= 8 && y < 16;
      ASSERT_EQ(screen.pixels()[y * 32 + x], inside ? 0xF800 : 0) << x << "," << y;
    }
}

TEST_F(EffectsTest, WithoutTablesNothingIsDrawnAndTheAnswerIsZero) {
  MemorySurface object(8, 8, false), screen(32, 32, false);
  drawObjects[6].surface = &object;
  backSurface = &screen;
  effectTablesReady = false;
  EXPECT_EQ(zoDraw::DrawAdd(0, 0, 6, 0, 0, 8, 8), 0);
  EXPECT_EQ(zoDraw::DrawAlphaBlend(0, 0, 0.5f, 6, 0, 0, 8, 8), 0);
  EXPECT_EQ(object.locks + screen.locks, 0);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(EffectsTest, AnObjectNumberWithoutASurfaceDrawsNothingAndAnswersZero) {
  EXPECT_EQ(zoDraw::DrawAdd(0, 0, 300, 0, 0, 8, 8), 0);
  EXPECT_EQ(zoDraw::DrawCrossFade(0, 0, 3, -1, 0, 0, 8, 8), 0);
  EXPECT_EQ(zoDraw::DrawHalfBlend(0, 0, 9999, 0, 0, 8, 8), 0);
  EXPECT_TRUE(zotest::boxes.empty());  // effects report nothing
}

// The effect catalogue's calls as the gallery makes them, with the names its
// rows use; the sprite is object 6.
namespace gallery {
const int sprite = 6;
void Sprite() { zoDraw::DrawSprite(64, 24, sprite, 0, 0, 96, 96); }
void Backdrop() { zoDraw::DrawSpriteOpaque(0, 0, sprite, 0, 0, 96, 96); }
struct Call {
  const char* name;
  std::string family;
  void (*draw)();
};
const Call calls[] = {
#define ZO_PICTURE(name, family, description, ...) {name, family, [] { __VA_ARGS__; }},
#define ZO_KERNEL(...)
#include "effect_catalogue.h"
#undef ZO_PICTURE
#undef ZO_KERNEL
};
}  // namespace gallery

// Every effect of the catalogue with a back surface that refuses its lock:
// what it locked before is unlocked again and nothing is reported. (The
// wipes and the sprite text lock no surface of their own.)
TEST_F(EffectsTest, EveryCatalogueEffectLeavesNothingLockedWhenTheBackSurfaceRefuses) {
  MemorySurface object(96, 96, false), buffer(640, 480, false), refusing(640, 480, true);
  drawObjects[gallery::sprite].surface = &object;
  drawObjects[0].surface = &buffer;
  backSurface = &refusing;
  for (const gallery::Call& c : gallery::calls) {
    if (c.family == "Wipes" || c.family == "Sprite text") continue;
    c.draw();
    EXPECT_EQ(object.locks, object.unlocks) << c.name;
    EXPECT_EQ(buffer.locks, buffer.unlocks) << c.name;
  }
  EXPECT_GE(object.locks, 30);  // the sprite effects did lock it
  EXPECT_GE(buffer.locks, 3);   // and the zooms their buffer
  frameDelta = 0.0f;
  drawObjects[0].surface = nullptr;
  EXPECT_TRUE(zotest::boxes.empty());
}

// Every colour filter once through the real frame on the 16-bit screen,
// against its literal rule.
TEST_F(EffectsTest, EveryFilterMatchesItsRuleThroughTheRealFrame) {
  const PixelLayout f = PixelFormat;
  int glowCursor = 0;  // the library's own cursor starts at 0 too
  Sweep(sprite, 31415, IntRect{20, 10, 600, 300}, 9, "filter", [&](int op, const Image& src, Image& expected) {
    const int x = 10 + 30 * op, y = 5 + 20 * op, l = 3, t = 2, r = 90, b = 57;
    auto rule = [&](std::function<uint16_t(uint16_t)> one) {
      ref::Draw(ClipRect, expected, src, x, y, l, t, r, b, [&](uint16_t s, uint16_t, int, int) { return one(s); });
    };
    int answer = 0;
    const float k[3] = {0.3f, 1.7f, 0.9f};
    const int lv[3] = {12, 40, -3};
    const unsigned shifts[3] = {1, 2, 0};
    switch (op) {
      case 0:
        answer = zoDraw::DrawChannelMask(x, y, 1, 0, 1, 4, l, t, r, b);
        rule([&](uint16_t s) { return ref::ChannelMask(f, s, 1, 0, 1); });
        break;
      case 1: {
        const float one[3] = {0.6f, 0.6f, 0.6f};
        answer = zoDraw::DrawBrightness(x, y, 0.6f, 4, l, t, r, b);
        rule([&](uint16_t s) { return ref::Brightness(f, s, one); });
        break;
      }
      case 2:
        answer = zoDraw::DrawBrightnessRGB(x, y, k[0], k[1], k[2], 4, l, t, r, b);
        rule([&](uint16_t s) { return ref::Brightness(f, s, k); });
        break;
      case 3: {
        const int one[3] = {20, 20, 20};
        answer = zoDraw::DrawDarken(x, y, 20, 4, l, t, r, b);
        rule([&](uint16_t s) { return ref::Darken(s, one); });
        break;
      }
      case 4:
        answer = zoDraw::DrawDarkenRGB(x, y, lv[0], lv[1], lv[2], 4, l, t, r, b);
        rule([&](uint16_t s) { return ref::Darken(s, lv); });
        break;
      case 5:
        answer = zoDraw::DrawGray(x, y, 4, l, t, r, b);
        rule([&](uint16_t s) { return ref::Gray(f, s); });
        break;
      case 6:
        answer = zoDraw::DrawBlur(x, y, 5, 4, l, t, r, b);
        ref::Blur(f, ClipRect, expected, src, x, y, l, t, r, b, 5);
        break;
      case 7:
        answer = zoDraw::DrawSoftEdge(x, y, 4, l, t, r, b);
        ref::SoftEdge(f, ClipRect, expected, src, x, y, l, t, r, b);
        break;
      default:
        answer = zoDraw::DrawGlow(x, y, shifts[0], shifts[1], shifts[2], 0xFF, 1, 4, l, t, r, b);
        ref::Glow(f, ClipRect, expected, src, x, y, l, t, r, b, shifts, 0xFF, 1, glowCursor);
        break;
    }
    return answer;
  });
  EXPECT_EQ(zoDraw::DrawBlur(0, 0, 0, 4, 0, 0, 10, 10), 1);  // no block: nothing drawn
  EXPECT_TRUE(zotest::boxes.empty());
}

// Every rotating form once through the real frame, against the literal walk.
TEST_F(EffectsTest, EveryRotationMatchesTheLiteralWalkThroughTheRealFrame) {
  const PixelLayout f = PixelFormat;
  Sweep(small, 27182, IntRect{30, 20, 500, 400}, 5, "form", [&](int form, const Image& src, Image& expected) {
    ref::Rotation r;
    r.form = ref::Form(form);
    r.dl = 10 + 40 * form, r.dt = 5 + 30 * form, r.dr = r.dl + 150, r.db = r.dt + 110;
    r.angle = -37 + 50 * form;
    r.scale = 1.7f, r.scaleX = 0.8f, r.stepX = 0.01f, r.scaleY = 1.3f, r.stepY = -0.004f;
    r.factor[0] = 0.9f, r.factor[1] = 1.4f, r.factor[2] = 0.25f;
    r.sl = 2, r.st = 1, r.sr = 35, r.sb = 22;
    int answer = 0;
    switch (r.form) {
      case ref::Form::Plain: answer = zoDraw::DrawRotate(r.dl, r.dt, r.dr, r.db, r.angle, 5, r.sl, r.st, r.sr, r.sb); break;
      case ref::Form::Tile: answer = zoDraw::DrawRotateTile(r.dl, r.dt, r.dr, r.db, r.angle, 5, r.sl, r.st, r.sr, r.sb); break;
      case ref::Form::Zoom:
        answer = zoDraw::DrawRotateZoom(r.dl, r.dt, r.dr, r.db, r.angle, r.scale, 5, r.sl, r.st, r.sr, r.sb);
        break;
      case ref::Form::ZoomTile:
        answer = zoDraw::DrawRotateZoomTile(r.dl, r.dt, r.dr, r.db, r.angle, r.scale, 5, r.sl, r.st, r.sr, r.sb);
        break;
      case ref::Form::Floor:
        answer = zoDraw::DrawRotateFloor(r.dl, r.dt, r.dr, r.db, r.angle, r.scaleX, r.stepX, r.scaleY, r.stepY,
                                         r.factor[0], r.factor[1], r.factor[2], 5, r.sl, r.st, r.sr, r.sb);
        break;
    }
    ref::Rotate(f, ClipRect, expected, src, r);
    return answer;
  });
  // Unusable scales and empty sources skip the call without locking.
  MemorySurface object(20, 20, false), screen(64, 64, false);
  drawObjects[6].surface = &object;
  backSurface = &screen;
  EXPECT_EQ(zoDraw::DrawRotateZoom(0, 0, 30, 30, 10, 0.0f, 6, 0, 0, 20, 20), 1);
  EXPECT_EQ(zoDraw::DrawRotateTile(0, 0, 30, 30, 10, 6, 5, 5, 5, 20), 1);
  EXPECT_EQ(zoDraw::DrawRotate(-40, 0, -35, 30, 10, 6, 0, 0, 20, 20), 1);  // wholly left of the clip
  EXPECT_EQ(object.locks + screen.locks, 0);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(EffectsTest, FiltersAndRotationsAnswerZeroOnARefusedLockAndLeaveNothingLocked) {
  MemorySurface object(20, 20, false), refusing(64, 64, true);
  for (int i = 0; i < 400; ++i) object.pixels()[i] = 0xFFFF;
  drawObjects[6].surface = &object;
  backSurface = &refusing;
  EXPECT_EQ(zoDraw::DrawBlur(0, 0, 3, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(zoDraw::DrawGlow(0, 0, 0, 0, 0, 0xFF, 1, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(zoDraw::DrawRotateFloor(0, 0, 40, 40, 30, 1, 0, 1, 0, 1, 1, 1, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(object.locks, 3);
  EXPECT_EQ(object.unlocks, 3);
  EXPECT_EQ(object.lastUnlock, object.pixels());
  MemorySurface refusedObject(20, 20, true), screen(64, 64, false);
  drawObjects[6].surface = &refusedObject;
  backSurface = &screen;
  EXPECT_EQ(zoDraw::DrawRotate(0, 0, 40, 40, 30, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(zoDraw::DrawGray(0, 0, 6, 0, 0, 20, 20), 0);
  EXPECT_EQ(screen.locks, 0);
  EXPECT_EQ(zoDraw::DrawRotate(0, 0, 40, 40, 30, 300, 0, 0, 20, 20), 0);  // no surface
  EXPECT_TRUE(zotest::boxes.empty());
}

// Mirror, smear, ripple and displacement once each through the real frame,
// against the literal rules.
TEST_F(EffectsTest, EveryMirrorSmearAndDistortionMatchesItsRuleThroughTheRealFrame) {
  Sweep(sprite, 16180, IntRect{15, 12, 610, 420}, 10, "effect", [&](int op, const Image& src, Image& expected) {
    // Every fourth placement hangs over the clip's left and top edges.
    const int x = op % 4 == 3 ? 5 : 40 + 25 * op, y = op % 4 == 3 ? 3 : 30 + 20 * op;
    const int l = 4, t = 3, r = 96, b = 55;
    int answer = 0;
    if (op < 4) {
      answer = zoDraw::DrawMirror(x, y, op, 4, l, t, r, b);
      ref::Mirror(ClipRect, expected, src, x, y, op, l, t, r, b);
    } else if (op < 8) {
      const uint16_t cut = static_cast<uint16_t>(op == 7 ? 200 : 9 * op);  // 200: past the object
      answer = zoDraw::DrawSmear(x, y, op - 4, cut, 4, l, t, r, b);
      ref::Smear(ClipRect, expected, src, x, y, op - 4, cut, l, t, r, b);
    } else if (op == 8) {
      answer = zoDraw::DrawRipple(x, y, 12, 5, 1, 1.3f, 0.2f, 4, l, t, r, b);
      ref::Ripple(ClipRect, expected, src, x, y, 12, 5, 1, 1.3f, 0.2f, l, t, r, b);
    } else {
      answer = zoDraw::DrawDisplace(x, y, 0.7f, 4, l, t, r, b);
      ref::Displace(ClipRect, expected, src, x, y, 0.7f, l, t, r, b);
    }
    return answer;
  });
  EXPECT_EQ(zoDraw::DrawRipple(0, 0, 5, 5, 0, 1.0f, 0.0f, 4, 0, 0, 10, 10), 1);  // step 0: nothing
  EXPECT_TRUE(zotest::boxes.empty());
}

// The region effects on the real back surface: smoothing, mosaic and the
// zooms (through object 0 and the final opaque blit) against their rules;
// the blur rise and the grain stay inside their rectangles.
TEST_F(EffectsTest, RegionEffectsMatchTheirRulesOnTheRealBackSurface) {
  const PixelLayout f = PixelFormat;
  std::mt19937 rng(14142);
  IDirectDrawSurface* buffer = MakeSurface(640, 480);
  ASSERT_NE(buffer, nullptr);
  drawObjects[0].surface = buffer;
  drawObjects[0].width = 640;
  drawObjects[0].height = 480;
  for (int op = 0; op < 8; ++op) {
    const Image backImage = Noise(back, rng), bufferImage = Noise(buffer, rng);
    Image expected = backImage;
    const int x = 30 + 11 * op, y = 20 + 7 * op;
    const unsigned w = 70, h = 45;
    int answer = 0;
    switch (op) {
      case 0:
        answer = zoDraw::ScreenSmooth(x, y, w, h);
        ref::Smooth(f, expected, x, y, w, h, ref::Flags{0, 0, 0});
        break;
      case 1:
        answer = zoDraw::ScreenSmoothFade(1, 0, 1, x, y, w, h);
        ref::Smooth(f, expected, x, y, w, h, ref::Flags{1, 0, 1});
        break;
      case 2:
        answer = zoDraw::ScreenMosaicCircle(x + 20, y + 10, 60, 7);  // crosses the top edge
        ref::MosaicCircle(expected, 640, 480, x + 20, y + 10, 60, 7);
        break;
      case 3:
      case 4:
      case 5:
      case 6: {
        const int factor = op < 5 ? 2 : 4, dotted = op % 2;
        answer = factor == 2 ? zoDraw::ScreenZoom2(x, y, w, h, dotted) : zoDraw::ScreenZoom4(x, y, w, h, dotted);
        Image enlarged = bufferImage;
        ref::Zoom(backImage, enlarged, x, y, w, h, factor, dotted);
        for (int j = 0; j < int(h) * factor; ++j)
          for (int i = 0; i < int(w) * factor; ++i)
            if (x + i < 640 && y + j < 480) expected.at(x + i, y + j) = enlarged.at(i, j);
        break;
      }
      default: {
        answer = zoDraw::ScreenBlurRise(x, y, w, h) & zoDraw::ScreenNoiseRGB(1, 1, 0, 1, x, y + 100, w, h);
        const Image got = Read(back);
        int changed = 0;
        for (int py = 0; py < 480; ++py)
          for (int px = 0; px < 640; ++px) {
            const bool rise = px > x && px < x + int(w) - 1 && py > y && py < y + int(h) - 1;
            const bool grain = px >= x && px < x + int(w) && py >= y + 100 && py < y + 100 + int(h);
            if (got.at(px, py) != backImage.at(px, py)) {
              ++changed;
              ASSERT_TRUE(rise || grain) << px << "," << py;
            }
          }
        EXPECT_GT(changed, int(w * h));
        expected = got;
      }
    }
    ASSERT_EQ(answer, 1) << op;
    ASSERT_NO_FATAL_FAILURE(ExpectHolds(back, expected, "region " + std::to_string(op)));
  }
  EXPECT_EQ(zoDraw::ScreenSmooth(10, 10, 0, 50), 1);  // an empty rectangle: nothing
  EXPECT_EQ(zoDraw::ScreenMosaicCircle(100, 100, 30, 0), 1);
  drawObjects[0].surface = nullptr;
  buffer->Release();
  EXPECT_TRUE(zotest::boxes.empty());
}

// The zooms lock object 0 first and the back surface second: a refusal of
// either answers 0 and leaves nothing locked; the region effects answer 0
// when the back surface refuses.
TEST_F(EffectsTest, ZoomsAndRegionEffectsAnswerZeroOnARefusedLockAndLeaveNothingLocked) {
  MemorySurface buffer(640, 480, false), refusing(640, 480, true);
  drawObjects[0].surface = &buffer;
  backSurface = &refusing;
  EXPECT_EQ(zoDraw::ScreenZoom2(0, 0, 20, 20, 0), 0);
  EXPECT_EQ(zoDraw::ScreenZoom4(0, 0, 20, 20, 1), 0);
  EXPECT_EQ(buffer.locks, 2);
  EXPECT_EQ(buffer.unlocks, 2);
  EXPECT_EQ(buffer.lastUnlock, buffer.pixels());
  EXPECT_EQ(zoDraw::ScreenSmooth(0, 0, 20, 20), 0);
  EXPECT_EQ(zoDraw::ScreenNoise(0, 0, 0, 20, 20), 0);
  EXPECT_EQ(zoDraw::ScreenMosaicCircle(50, 50, 20, 4), 0);

  MemorySurface refusedBuffer(640, 480, true), screen(640, 480, false);
  drawObjects[0].surface = &refusedBuffer;
  backSurface = &screen;
  EXPECT_EQ(zoDraw::ScreenZoom2(0, 0, 20, 20, 0), 0);
  EXPECT_EQ(screen.locks, 0);
  drawObjects[0].surface = nullptr;
  EXPECT_TRUE(zotest::boxes.empty());
}

}  // namespace
