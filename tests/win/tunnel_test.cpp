// The tunnel drawn through the real frame on the 16-bit test screen, held
// to the same literal rule as the native kernel; the build's refusals and
// the lock order with a refusing back surface.
#include <gtest/gtest.h>

#include <random>

#include "../native/tunnel_reference.h"
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw_support.h"
#include "memory_surface.h"
#include "zo_test.h"

namespace {

struct TunnelTest : ::testing::Test {
  int texture = 0;
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    ASSERT_EQ(PixelFormat.greenMask, 0x07E0u);
    texture = zoDraw::CreateObject(64, 40, 2);
    ASSERT_NE(texture, 0);
    zotest::Pixels p;
    p.width = 64;
    p.height = 40;
    p.px.resize(64 * 40);
    std::mt19937 rng(1402);
    for (auto& v : p.px) v = rng() % 5 ? uint16_t(rng()) : 0;  // zeros are copied too
    ASSERT_TRUE(zotest::WriteSurface(drawObjects[texture].surface, p));
  }
  void TearDown() override { zoDraw::ReleaseObject(texture); }

  void Fill(uint16_t colour) {
    zotest::Pixels back = zotest::ReadSurface(backSurface);
    for (auto& v : back.px) v = colour;
    ASSERT_TRUE(zotest::WriteSurface(backSurface, back));
  }
};

TEST_F(TunnelTest, AFrameThroughTheMapMatchesTheRuleAndIgnoresTheClipRectangle) {
  zoDraw::BuildTunnelMap(64, 40, 640, 480, -1, -1, -1, 0, 0, 0);
  ASSERT_EQ(TunnelMap.mapWidth, 640);
  const zotest::Image tex = zotest::ReadSurface(drawObjects[texture].surface);
  struct Place { int x, y, su, sv; };
  for (const Place& at : {Place{0, 0, 7, 12}, Place{-100, 50, -3, -41}, Place{300, -200, 1 << 30, 5}}) {
    Fill(0xFFFF);
    ClipRect = IntRect{100, 100, 200, 200};
    zotest::Image want = zotest::ReadSurface(backSurface);
    ASSERT_EQ(zoDraw::DrawTunnel(at.x, at.y, at.su, at.sv, texture), 1);
    ref::DrawTunnel(TunnelMap, tex, want, at.x, at.y, at.su, at.sv);
    const zotest::Image got = zotest::ReadSurface(backSurface);
    ASSERT_EQ(got.px.size(), want.px.size());
    for (size_t k = 0; k < got.px.size(); ++k)
      ASSERT_EQ(got.px[k], want.px[k]) << "at " << at.x << "," << at.y << ": pixel " << k % 640
                                           << "," << k / 640;
  }
  ClipRect = IntRect{0, 0, 640, 480};
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(TunnelTest, AMapTooLargeForItsCellsIsRefusedWithAReport) {
  zoDraw::BuildTunnelMap(64, 40, 320, 240, -1, -1, -1, 2, 1, 1);
  const TunnelCell kept = TunnelMap.cells[1000];
  zoDraw::BuildTunnelMap(64, 40, 641, 480, -1, -1, -1, 0, 0, 0);
  zoDraw::BuildTunnelMap(0, 40, 64, 48, -1, -1, -1, 0, 0, 0);
  ASSERT_EQ(zotest::boxes.size(), 2u);
  EXPECT_EQ(zotest::boxes[0].text.rfind("zoDraw::BuildTunnelMap : ", 0), 0u);
  EXPECT_EQ(zotest::boxes[0].title, zotest::Sjis("エラー発生"));
  EXPECT_EQ(TunnelMap.mapWidth, 320);
  EXPECT_EQ(TunnelMap.texWidth, 64);
  EXPECT_EQ(TunnelMap.cells[1000].u, kept.u);
  EXPECT_EQ(TunnelMap.cells[1000].v, kept.v);
}

TEST_F(TunnelTest, ARefusedLockDrawsNothingAndLeavesTheTextureUnlocked) {
  zoDraw::BuildTunnelMap(64, 40, 64, 48, -1, -1, -1, 0, 0, 0);
  IDirectDrawSurface* real = backSurface;
  zotest::MemorySurface refusing(64, 48, true);
  backSurface = &refusing;
  EXPECT_EQ(zoDraw::DrawTunnel(0, 0, 0, 0, texture), 0);
  backSurface = real;
  EXPECT_FALSE(zotest::ReadSurface(drawObjects[texture].surface).px.empty());  // not left locked
  EXPECT_EQ(zoDraw::DrawTunnel(0, 0, 0, 0, 300), 0);  // no surface there
  EXPECT_TRUE(zotest::boxes.empty());
}

}  // namespace
