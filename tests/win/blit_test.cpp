// Blits, fills, the half blend, scaled copies and the row effects, read back
// from the 16-bit back surface and compared with the clipping rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "draw_support.h"
#include "fake_surface.h"
#include "zo_test.h"

using zotest::Pixels;

namespace {

std::string BoxText(size_t i) { return i < zotest::boxes.size() ? zotest::boxes[i].text : "(no box)"; }

struct BlitTest : ::testing::Test {
  std::mt19937 rng{1};

  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    zoDraw::SetColorKey(0);
    frameDelta = 0.0f;
    ASSERT_EQ(zotest::OpenDisplay(), 1) << BoxText(0);
  }
  void TearDown() override {
    EXPECT_TRUE(zotest::boxes.empty()) << BoxText(0);
    zoDraw::ReleaseAll();
  }

  int R(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  // Random pixels, about one in `keyEvery` of them the key value 0.
  Pixels Noise(int w, int h, int keyEvery = 6) {
    Pixels p;
    p.width = w;
    p.height = h;
    p.px.resize(static_cast<size_t>(w) * h);
    for (auto& v : p.px) v = rng() % keyEvery == 0 ? 0 : static_cast<uint16_t>(1 + rng() % 0xFFFF);
    return p;
  }

  // An object of that size holding the pixels.
  int MakeObject(const Pixels& p) {
    int index = zoDraw::CreateObject(p.width, p.height, 2);
    EXPECT_NE(index, 0) << BoxText(0);
    EXPECT_TRUE(zotest::WriteSurface(drawObjects[index].surface, p));
    return index;
  }
};

// What a direct blit must leave on dest: every source pixel of (sl, st, sr,
// sb) whose place is inside clip, unless keyed and equal to key. When that
// area reaches outside either surface, DirectDraw refuses the whole copy.
// Answers false when the copy was refused that way.
bool ReferenceBlit(Pixels& dest, const Pixels& src, int x, int y, IntRect s, const IntRect& clip,
                   bool keyed, uint16_t key) {
  int minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
  for (int sy = s.top; sy < s.bottom; ++sy) {
    for (int sx = s.left; sx < s.right; ++sx) {
      int dx = x + sx - s.left, dy = y + sy - s.top;
      if (dx < clip.left || dx >= clip.right || dy < clip.top || dy >= clip.bottom) continue;
      minX = std::min(minX, dx);
      maxX = std::max(maxX, dx);
      minY = std::min(minY, dy);
      maxY = std::max(maxY, dy);
    }
  }
  if (minX == INT32_MAX) return true;
  if (minX < 0 || minY < 0 || maxX >= dest.width || maxY >= dest.height) return false;
  for (int dy = minY; dy <= maxY; ++dy) {
    for (int dx = minX; dx <= maxX; ++dx) {
      int sx = dx - x + s.left, sy = dy - y + s.top;
      if (sx < 0 || sy < 0 || sx >= src.width || sy >= src.height) return false;
    }
  }
  for (int dy = minY; dy <= maxY; ++dy) {
    for (int dx = minX; dx <= maxX; ++dx) {
      uint16_t v = src.at(dx - x + s.left, dy - y + s.top);
      if (!keyed || v != key) dest.at(dx, dy) = v;
    }
  }
  return true;
}

void ExpectSame(const Pixels& got, const Pixels& want, unsigned seed, int round) {
  ASSERT_EQ(got.px.size(), want.px.size());
  for (int y = 0; y < want.height; ++y) {
    for (int x = 0; x < want.width; ++x) {
      ASSERT_EQ(got.at(x, y), want.at(x, y))
          << "seed " << seed << " round " << round << " at " << x << "," << y;
    }
  }
}

}  // namespace

TEST_F(BlitTest, DirectBlitsFollowTheClippingRules) {
  const unsigned seed = 99;
  rng.seed(seed);
  Pixels src = Noise(48, 40);
  int object = MakeObject(src);
  Pixels destImage = Noise(64, 64, 1000);
  int destObject = MakeObject(destImage);
  int drawn = 0, refused = 0;
  for (int round = 0; round < 400; ++round) {
    int op = round % 4;
    bool keyed = op == 0 || op == 2;
    bool toObject = op >= 2;
    const int w = toObject ? 64 : 640, h = toObject ? 64 : 480;
    IntRect clip;
    if (round % 5 == 0) {
      clip = IntRect{R(-100, 100), R(-100, 100), 0, 0};  // negative and off-surface ones too
      clip.right = clip.left + R(0, 900);
      clip.bottom = clip.top + R(0, 700);
    } else {
      clip = IntRect{R(0, w / 2), R(0, h / 2), 0, 0};
      clip.right = R(clip.left, w);
      clip.bottom = R(clip.top, h);
    }
    zoDraw::SetClip(clip.left, clip.top, clip.right, clip.bottom);
    IntRect s{R(0, 30), R(0, 25), 0, 0};
    s.right = R(s.left, 48);
    s.bottom = R(s.top, 40);
    // Around the clip rectangle, often across its edges.
    int x = R(std::max(clip.left, -200) - 50, std::min(clip.right, 900) + 5);
    int y = R(std::max(clip.top, -200) - 50, std::min(clip.bottom, 700) + 5);

    IDirectDrawSurface* target = toObject ? drawObjects[destObject].surface : backSurface;
    Pixels before = toObject ? Noise(64, 64, 1000) : Noise(640, 480, 1000);
    ASSERT_TRUE(zotest::WriteSurface(target, before));
    switch (op) {
      case 0: zoDraw::DrawSprite(x, y, object, s.left, s.top, s.right, s.bottom); break;
      case 1: zoDraw::DrawSpriteOpaque(x, y, object, s.left, s.top, s.right, s.bottom); break;
      case 2: zoDraw::DrawSpriteTo(destObject, x, y, object, s.left, s.top, s.right, s.bottom); break;
      case 3: zoDraw::DrawSpriteToOpaque(destObject, x, y, object, s.left, s.top, s.right, s.bottom); break;
    }
    Pixels want = before;
    bool fits = ReferenceBlit(want, src, x, y, s, clip, keyed, 0);
    if (want.px != before.px) ++drawn;
    if (!fits) ++refused;
    ExpectSame(zotest::ReadSurface(target), want, seed, round);
    if (HasFatalFailure()) return;
  }
  // Both kinds of case came up often enough to mean something.
  EXPECT_GT(drawn, 100);
  EXPECT_GT(refused, 10);
}

TEST_F(BlitTest, EdgesOfTheScreen) {
  Pixels src = Noise(32, 32, 1000);
  int object = MakeObject(src);
  struct Case {
    int x, y;
  } cases[] = {{-10, 0}, {630, 470}, {641, 0}, {640, 0}, {0, 480}, {-32, -32}, {608, 448}};
  for (const Case& c : cases) {
    Pixels before = Noise(640, 480, 1000);
    ASSERT_TRUE(zotest::WriteSurface(backSurface, before));
    zoDraw::DrawSprite(c.x, c.y, object, 0, 0, 32, 32);
    Pixels want = before;
    ReferenceBlit(want, src, c.x, c.y, {0, 0, 32, 32}, ClipRect, true, 0);
    ExpectSame(zotest::ReadSurface(backSurface), want, 0, c.x);
  }
  // (-10, 0): source columns 10 to 31 land at x = 0.
  ASSERT_TRUE(zotest::WriteSurface(backSurface, Noise(640, 480, 1000)));
  zoDraw::DrawSpriteOpaque(-10, 0, object, 0, 0, 32, 32);
  Pixels got = zotest::ReadSurface(backSurface);
  EXPECT_EQ(got.at(0, 0), src.at(10, 0));
  EXPECT_EQ(got.at(21, 31), src.at(31, 31));
}

TEST_F(BlitTest, BlitOntoAnObjectClipsToClipRectNotToTheObject) {
  Pixels src = Noise(32, 32, 1000);
  int object = MakeObject(src);
  int dest = MakeObject(Noise(64, 64, 1000));
  zoDraw::SetClip(0, 0, 20, 20);
  Pixels before = zotest::ReadSurface(drawObjects[dest].surface);
  zoDraw::DrawSpriteToOpaque(dest, 10, 10, object, 0, 0, 32, 32);
  Pixels got = zotest::ReadSurface(drawObjects[dest].surface);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      bool drawn = x >= 10 && x < 20 && y >= 10 && y < 20;
      ASSERT_EQ(got.at(x, y), drawn ? src.at(x - 10, y - 10) : before.at(x, y)) << x << "," << y;
    }
  }
}

TEST_F(BlitTest, BlitsRecordedByACounterfeitBackSurface) {
  int object = MakeObject(Noise(32, 32));
  zotest::FakeSurface fake(false);
  IDirectDrawSurface* real = backSurface;
  backSurface = &fake;
  zoDraw::DrawSprite(-10, 5, object, 0, 0, 32, 32);
  zoDraw::DrawSpriteOpaque(640, 0, object, 0, 0, 32, 32);  // empty: still handed on
  zoDraw::DrawSprite(641, 0, object, 0, 0, 32, 32);        // nothing
  backSurface = real;
  ASSERT_EQ(fake.calls.size(), 2u);
  EXPECT_EQ(fake.calls[0].x, 0);
  EXPECT_EQ(fake.calls[0].y, 5);
  EXPECT_EQ(fake.calls[0].src.left, 10);
  EXPECT_EQ(fake.calls[0].src.right, 32);
  EXPECT_EQ(fake.calls[0].flags, static_cast<DWORD>(DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT));
  EXPECT_EQ(fake.calls[0].source, drawObjects[object].surface);
  EXPECT_EQ(fake.calls[1].src.right - fake.calls[1].src.left, 0);
  EXPECT_EQ(fake.calls[1].flags, static_cast<DWORD>(DDBLTFAST_WAIT));
}

// ---- Fills ----

TEST_F(BlitTest, FillsAndFrame) {
  int object = MakeObject(Noise(20, 10, 1000));
  zoDraw::WhiteScreen();
  Pixels got = zotest::ReadSurface(backSurface);
  for (uint16_t v : got.px) ASSERT_EQ(v, 0xFFFF);
  zoDraw::ClearScreen();
  got = zotest::ReadSurface(backSurface);
  for (uint16_t v : got.px) ASSERT_EQ(v, 0);

  zoDraw::SetClip(0, 0, 5, 5);  // fills do not clip
  zoDraw::FillRect(100, 50, 300, 60, 0x1234);
  zoDraw::WhiteRect(10, 10, 30, 20);
  zoDraw::ClearRect(12, 12, 14, 14);
  zoDraw::DrawFrame(400, 300, 410, 310);
  got = zotest::ReadSurface(backSurface);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      uint16_t want = 0;
      if (x >= 100 && x < 300 && y >= 50 && y < 60) want = 0x1234;
      if (x >= 10 && x < 30 && y >= 10 && y < 20) want = 0xFFFF;
      if (x >= 12 && x < 14 && y >= 12 && y < 14) want = 0;
      ASSERT_EQ(got.at(x, y), want) << x << "," << y;
    }
  }
  // The frame: rows 300 and 309 over x 400..409, columns 400 and 409 over y 300..309.
  zoDraw::WhiteScreen();
  zoDraw::DrawFrame(10, 10, 20, 20);
  got = zotest::ReadSurface(backSurface);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      bool inside = x >= 10 && x < 20 && y >= 10 && y < 20;
      bool edge = inside && (x == 10 || x == 19 || y == 10 || y == 19);
      ASSERT_EQ(got.at(x, y), edge ? 0 : 0xFFFF) << x << "," << y;
    }
  }
  zoDraw::ClearObject(object);
  for (uint16_t v : zotest::ReadSurface(drawObjects[object].surface).px) ASSERT_EQ(v, 0);
}

TEST_F(BlitTest, HalfFillRectAgainstItsReference) {
  zoDraw::WhiteScreen();
  zoDraw::HalfFillRect(0, 0, 640, 480, 0);
  for (uint16_t v : zotest::ReadSurface(backSurface).px) ASSERT_EQ(v, 0x7BEF);

  const unsigned seed = 5150;
  rng.seed(seed);
  for (int round = 0; round < 60; ++round) {
    IntRect clip{R(-200, 300), R(-200, 300), 0, 0};
    clip.right = clip.left + R(-10, 2000);  // some far larger than the surface
    clip.bottom = clip.top + R(-10, 2000);
    zoDraw::SetClip(clip.left, clip.top, clip.right, clip.bottom);
    IntRect a{R(-300, 700), R(-300, 500), 0, 0};
    a.right = a.left + R(-20, 900);
    a.bottom = a.top + R(-20, 700);
    uint16_t colour = static_cast<uint16_t>(rng());
    Pixels before = Noise(640, 480, 1000);
    ASSERT_TRUE(zotest::WriteSurface(backSurface, before));
    zoDraw::HalfFillRect(a.left, a.top, a.right, a.bottom, colour);
    Pixels want = before;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        if (x < a.left || x >= a.right || y < a.top || y >= a.bottom) continue;
        if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) continue;
        uint16_t p = before.at(x, y);
        want.at(x, y) = static_cast<uint16_t>(((p >> 1) & 0x7BEF) + ((colour >> 1) & 0x7BEF));
      }
    }
    ExpectSame(zotest::ReadSurface(backSurface), want, seed, round);
    if (HasFatalFailure()) return;
  }
}

// ---- Scaled blits ----

TEST_F(BlitTest, StretchDoublesInHardwareAndThroughTheBuffer) {
  Pixels src = Noise(16, 12, 5);
  for (auto& v : src.px) if (v == 0xF81F) v = 0xF81E;
  src.at(3, 3) = 0xF81F;  // magenta: the object's own key
  src.at(4, 4) = 0;       // black: the buffer's key
  int object = MakeObject(src);
  zoDraw::SetObjectColorKey(object, 0x00FF00FF);
  const uint16_t under = 0x0841;
  for (int hardware = 1; hardware >= 0; --hardware) {
    int saved = canStretch;
    canStretch = hardware;
    for (int keyed = 0; keyed < 2; ++keyed) {
      zoDraw::FillRect(0, 0, 640, 480, under);
      if (keyed) {
        zoDraw::DrawStretch(100, 80, object, 0, 0, 16, 12, 32, 24);
      } else {
        zoDraw::DrawStretchOpaque(100, 80, object, 0, 0, 16, 12, 32, 24);
      }
      Pixels got = zotest::ReadSurface(backSurface);
      // The hardware path keys on the object's key, the buffer path on black.
      uint16_t key = hardware ? 0xF81F : 0;
      for (int y = 70; y < 110; ++y) {
        for (int x = 90; x < 140; ++x) {
          uint16_t want = under;
          if (x >= 100 && x < 132 && y >= 80 && y < 104) {
            uint16_t v = src.at((x - 100) / 2, (y - 80) / 2);
            if (!keyed || v != key) want = v;
          }
          ASSERT_EQ(got.at(x, y), want)
              << (hardware ? "hardware" : "buffer") << (keyed ? " keyed" : " opaque") << " at "
              << x << "," << y;
        }
      }
    }
    canStretch = saved;
  }
}

TEST_F(BlitTest, BufferStretchLargerThanTheBufferCopiesWhatFits) {
  int object = MakeObject(Noise(8, 8, 1000));
  canStretch = 0;
  zoDraw::DrawStretchOpaque(0, 0, object, 0, 0, 8, 8, 2000, 2000);  // buffer is 640 x 480
  zoDraw::DrawStretch(0, 0, object, 0, 0, 8, 8, -50, 10);
  Pixels got = zotest::ReadSurface(backSurface);
  EXPECT_EQ(got.at(639, 479), zotest::ReadSurface(drawObjects[object].surface).at(2, 1));
}

// ---- Row effects ----

namespace {

Pixels DrawnBy(void (*draw)(int object), int object) {
  zoDraw::ClearScreen();
  draw(object);
  return zotest::ReadSurface(backSurface);
}

}  // namespace

TEST_F(BlitTest, RowEffectsWithNeutralSettingsDrawTheRectangle) {
  Pixels src = Noise(40, 30);
  static int object;
  object = MakeObject(src);
  Pixels plain = DrawnBy([](int o) { zoDraw::DrawSprite(50, 60, o, 2, 3, 38, 27); }, object);
  EXPECT_EQ(DrawnBy([](int o) { zoDraw::DrawRowWave(50, 60, 0, 0, 90.0f, o, 2, 3, 38, 27, 1); }, object).px,
            plain.px);
  EXPECT_EQ(DrawnBy([](int o) { zoDraw::DrawRowMosaic(50, 60, 1, o, 2, 3, 38, 27); }, object).px,
            plain.px);
  EXPECT_EQ(DrawnBy([](int o) { zoDraw::DrawRowWaveScroll(50, 60, 0, 0, 1.0f, 1.0f, o, 2, 3, 38, 27); }, object).px,
            plain.px);
}

TEST_F(BlitTest, MosaicRepeatsTheFirstRowOfEachBand) {
  Pixels src = Noise(20, 10, 1000);
  int object = MakeObject(src);
  zoDraw::ClearScreen();
  zoDraw::DrawRowMosaic(5, 7, 3, object, 0, 0, 20, 10);
  Pixels got = zotest::ReadSurface(backSurface);
  for (int k = 0; k < 12; ++k) {  // the last band runs past the rectangle
    for (int x = 0; x < 20; ++x) ASSERT_EQ(got.at(5 + x, 7 + k), src.at(x, k / 3 * 3)) << k;
  }
  for (int x = 0; x < 20; ++x) ASSERT_EQ(got.at(5 + x, 7 + 12), 0);
}

TEST_F(BlitTest, TileScrollCoversTheScreen) {
  Pixels src = Noise(64, 48, 1000);
  int object = MakeObject(src);
  zoDraw::ClearScreen();
  zoDraw::DrawTileScroll(0.0f, 0.0f, object, 0, 0, 64, 48);
  Pixels got = zotest::ReadSurface(backSurface);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(got.at(x, y), src.at(x % 64, y % 48)) << x << "," << y;

  zotest::FakeSurface fake(false);
  IDirectDrawSurface* real = backSurface;
  backSurface = &fake;
  zoDraw::DrawTileScroll(0.0f, 0.0f, object, 0, 0, 64, 48);
  backSurface = real;
  // 12 x 12 tiles are asked for; those starting at the right or bottom edge
  // reach BltFast empty and those beyond are dropped by the clipping.
  EXPECT_EQ(fake.calls.size(), 11u * 11u);
}

TEST_F(BlitTest, WaveRowsFollowTheCosine) {
  Pixels src = Noise(30, 40, 1000);
  int object = MakeObject(src);
  zoDraw::ClearScreen();
  zoDraw::DrawRowWave(100, 100, 12, 2, 0.0f, object, 0, 0, 30, 40, 0);
  Pixels got = zotest::ReadSurface(backSurface);
  for (int w = 0; w < 40; ++w) {
    int offset = static_cast<int>(12 * std::cos((w / 2) * 2 * 3.141592653589793 / 360));
    for (int x = 0; x < 30; ++x) ASSERT_EQ(got.at(100 + offset + x, 100 + w), src.at(x, w)) << w;
  }
  // Alternate rows swing the other way.
  zoDraw::ClearScreen();
  zoDraw::DrawRowWave(100, 100, 12, 0, 0.0f, object, 0, 0, 30, 2, 1);
  got = zotest::ReadSurface(backSurface);
  EXPECT_EQ(got.at(112, 100), src.at(0, 0));
  EXPECT_EQ(got.at(100 - 11, 101), src.at(0, 1));  // (int)(12 cos 1°) = 11, negated
}

TEST_F(BlitTest, DegenerateRowEffectsDrawNothing) {
  int object = MakeObject(Noise(10, 10));
  zotest::FakeSurface fake(false);
  IDirectDrawSurface* real = backSurface;
  backSurface = &fake;
  zoDraw::DrawTileScroll(10.0f, 10.0f, object, 5, 0, 5, 10);  // zero width
  zoDraw::DrawTileScroll(10.0f, 10.0f, object, 0, 5, 10, 5);  // zero height
  zoDraw::DrawTileScroll(10.0f, 10.0f, object, 8, 8, 2, 2);   // inverted
  zoDraw::DrawRowMosaic(0, 0, 0, object, 0, 0, 10, 10);
  zoDraw::DrawRowMosaic(0, 0, -3, object, 0, 0, 10, 10);
  zoDraw::DrawRowWaveTile(0, 100, 5, 0, 1.0f, 1.0f, object, 0, 4, 10, 4);
  zoDraw::DrawRowWaveTile(0, 100, 5, 0, 1.0f, 1.0f, object, 3, 0, 3, 10);
  zoDraw::DrawRowWaveScroll(0, 0, 5, 0, 1.0f, 1.0f, object, 0, 4, 10, 4);
  backSurface = real;
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(BlitTest, RowEffectStateAdvancesWithTheFrameDelta) {
  Pixels src = Noise(10, 1, 1000);
  int object = MakeObject(src);
  zotest::FakeSurface fake(false);
  IDirectDrawSurface* real = backSurface;
  backSurface = &fake;
  frameDelta = 0.5f;
  zoDraw::DrawRowWave(100, 0, 10, 0, 180.0f, object, 0, 0, 10, 1, 0);  // phase 0, then 90
  zoDraw::DrawRowWave(100, 0, 10, 0, 540.0f, object, 0, 0, 10, 1, 0);  // phase 90, then 360 -> 0
  zoDraw::DrawRowWave(100, 0, 10, 0, 0.0f, object, 0, 0, 10, 1, 0);    // phase 0
  ASSERT_EQ(fake.calls.size(), 3u);
  EXPECT_EQ(fake.calls[0].x, 110);
  EXPECT_EQ(fake.calls[1].x, 100);
  EXPECT_EQ(fake.calls[2].x, 110);

  // Tile offsets run from 0 toward -tile and wrap: -20 becomes -10.
  fake.calls.clear();
  zoDraw::DrawTileScroll(-40.0f, 0.0f, object, 0, 0, 10, 1);
  size_t first = fake.calls.size();
  zoDraw::DrawTileScroll(0.0f, 0.0f, object, 0, 0, 10, 1);
  backSurface = real;
  frameDelta = 0.0f;
  ASSERT_GT(fake.calls.size(), first);
  EXPECT_EQ(fake.calls[0].x, 0);
  EXPECT_EQ(fake.calls[0].src.left, 0);
  // The first tile now starts at x = -10: clipped to an empty rectangle at 0,
  // the second one at x = 0.
  EXPECT_EQ(fake.calls[first].x, 0);
  EXPECT_EQ(fake.calls[first].src.left, 10);
  EXPECT_EQ(fake.calls[first + 1].x, 0);
  EXPECT_EQ(fake.calls[first + 1].src.left, 0);
}

TEST_F(BlitTest, WaveTileWithoutAmplitudeTilesTheRows) {
  Pixels src = Noise(50, 7, 1000);
  int object = MakeObject(src);
  zoDraw::ClearScreen();
  zoDraw::DrawRowWaveTile(100, 130, 0, 0, 0.0f, 0.0f, object, 3, 1, 40, 6);  // 37 x 5 tiles
  Pixels got = zotest::ReadSurface(backSurface);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      uint16_t want = y >= 100 && y < 130 ? src.at(3 + x % 37, 1 + (y - 100) % 5) : 0;
      ASSERT_EQ(got.at(x, y), want) << x << "," << y;
    }
  }
}
