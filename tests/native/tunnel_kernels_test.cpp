// The tunnel map against its literal rules: every motion, distance and
// depth kind on small grids, the draw over random maps, scrolls, placements
// and textures, and the pictures the tunnel is known by.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>

#include "effect_harness.h"
#include "tunnel_reference.h"
#include "draw/effects/tunnel_kernels.h"

using ref::Image;

namespace {

using harness::Between;

std::unique_ptr<TunnelGrid> NewGrid() { return std::make_unique<TunnelGrid>(); }

zo::TunnelShape Shape(int tw, int th, int mw, int mh, int cx, int cy, int fov, int motion, int dk,
                      int jk) {
  return zo::TunnelShape{tw, th, mw, mh, cx, cy, fov, motion, dk, jk};
}

void ExpectSameCells(const TunnelGrid& got, const ref::Tunnel& want, const char* what) {
  ASSERT_EQ(got.mapWidth, want.mapWidth);
  ASSERT_EQ(got.mapHeight, want.mapHeight);
  ASSERT_EQ(got.texWidth, want.texWidth);
  for (size_t k = 0; k < want.cells.size(); ++k) {
    ASSERT_EQ(got.cells[k].u, want.cells[k].u) << what << " u at cell " << k;
    ASSERT_EQ(got.cells[k].v, want.cells[k].v) << what << " v at cell " << k;
  }
}

TEST(TunnelBuild, EveryMotionDistanceAndDepthKindFollowsTheRule) {
  auto grid = NewGrid();
  struct Setting { int tw, th, mw, mh, cx, cy, fov; };
  const Setting settings[] = {{64, 32, 13, 9, -1, -1, -1},  {256, 256, 16, 12, 3, 10, 2},
                              {100, 7, 9, 14, -1, 2, 1},    {37, 300, 11, 8, 20, -5, 30},
                              {1, 1, 5, 5, -1, -1, -1},     {360, 90, 12, 7, 0, 0, 0}};
  for (const Setting& s : settings)
    for (int motion = 0; motion <= 5; ++motion)
      for (int dk = 0; dk <= 7; ++dk)
        for (int jk = 0; jk <= 6; ++jk) {
          ASSERT_TRUE(zo::BuildTunnelCells(
              Shape(s.tw, s.th, s.mw, s.mh, s.cx, s.cy, s.fov, motion, dk, jk), grid.get()));
          const ref::Tunnel want =
              ref::BuildTunnel(s.tw, s.th, s.mw, s.mh, s.cx, s.cy, s.fov, motion, dk, jk);
          const std::string what = "motion " + std::to_string(motion) + " distance " +
                                   std::to_string(dk) + " depth " + std::to_string(jk) +
                                   " texture " + std::to_string(s.tw);
          ExpectSameCells(*grid, want, what.c_str());
        }
}

TEST(TunnelBuild, ColumnDistanceWithFlatDepthGivesVerticalStripes) {
  auto grid = NewGrid();
  ASSERT_TRUE(zo::BuildTunnelCells(Shape(64, 64, 20, 15, -1, -1, -1, 0, 4, 0), grid.get()));
  for (int i = 0; i < 15; ++i)
    for (int j = 1; j < 20; ++j) {
      ASSERT_EQ(grid->cells[i * 20 + j].v, grid->cells[j].v) << j << "," << i;
      if (j < 10) {
        ASSERT_EQ(grid->cells[i * 20 + 10 - j].v, grid->cells[i * 20 + 10 + j].v);
      }
    }
  EXPECT_NE(grid->cells[1].v, grid->cells[5].v);
}

TEST(TunnelBuild, WalkingLeftTheCentreMovesOneColumnARowAndStopsAtZero) {
  // With 360 angle steps, u counts degrees: straight above the centre it is
  // 270, straight below 90.
  auto grid = NewGrid();
  ASSERT_TRUE(zo::BuildTunnelCells(Shape(360, 64, 5, 9, -1, -1, -1, 3, 0, 0), grid.get()));
  const int centre[9] = {4, 3, 2, 1, 0, 0, 0, 0, 0};
  for (int i = 0; i < 9; ++i) {
    if (i == 4) continue;  // the centre's own row has no straight angle
    const int want = i < 4 ? 270 : 90;
    for (int j = 0; j < 5; ++j)
      EXPECT_EQ(grid->cells[i * 5 + j].u == want, j == centre[i]) << "row " << i << " column " << j;
  }
}

TEST(TunnelBuild, TheCentreCellsEndlessDepthCountsAsZero) {
  auto grid = NewGrid();
  ASSERT_TRUE(zo::BuildTunnelCells(Shape(64, 48, 9, 9, -1, -1, -1, 0, 0, 0), grid.get()));
  EXPECT_EQ(grid->cells[4 * 9 + 4].v, 0);
  EXPECT_EQ(grid->cells[4 * 9 + 4].u, 0);
  // Centre at the origin: 0 / 0 at cell (0, 0).
  ASSERT_TRUE(zo::BuildTunnelCells(Shape(64, 48, 9, 9, 0, 0, -1, 0, 0, 3), grid.get()));
  EXPECT_EQ(grid->cells[0].v, 0);
  for (int k = 0; k < 81; ++k) {
    ASSERT_GE(grid->cells[k].v, 0);
    ASSERT_LT(grid->cells[k].v, 48);
    ASSERT_GE(grid->cells[k].u, 0);
    ASSERT_LT(grid->cells[k].u, 64);
  }
}

TEST(TunnelBuild, RefusedShapesBuildNothing) {
  auto grid = NewGrid();
  ASSERT_TRUE(zo::BuildTunnelCells(Shape(32, 32, 4, 4, -1, -1, -1, 0, 0, 0), grid.get()));
  const TunnelCell before = grid->cells[5];
  const zo::TunnelShape refused[] = {
      Shape(32, 32, 641, 480, -1, -1, -1, 0, 0, 0), Shape(32, 32, 640, 481, -1, -1, -1, 0, 0, 0),
      Shape(32, 32, -4, -4, -1, -1, -1, 0, 0, 0),   Shape(32, 32, 65536, 65536, -1, -1, -1, 0, 0, 0),
      Shape(0, 32, 4, 4, -1, -1, -1, 0, 0, 0),      Shape(32, -1, 4, 4, -1, -1, -1, 0, 0, 0),
      Shape(32769, 32, 4, 4, -1, -1, -1, 0, 0, 0)};
  for (const zo::TunnelShape& s : refused) {
    EXPECT_NE(zo::TunnelShapeRefusal(s), nullptr);
    EXPECT_FALSE(zo::BuildTunnelCells(s, grid.get()));
    EXPECT_EQ(grid->mapWidth, 4);
    EXPECT_EQ(grid->texWidth, 32);
    EXPECT_EQ(grid->cells[5].u, before.u);
  }
  EXPECT_TRUE(zo::BuildTunnelCells(Shape(32768, 32768, 640, 480, -1, -1, -1, 0, 0, 0), grid.get()));
  EXPECT_TRUE(zo::BuildTunnelCells(Shape(5, 5, 0, 0, -1, -1, -1, 0, 0, 0), grid.get()));
}

// ------------------------------------------------------------------- draw

TEST(TunnelDraw, MatchesTheRuleOverRandomMapsScrollsAndPlacements) {
  auto grid = NewGrid();
  harness::CompareSeeded("tunnel", 300, [&](std::mt19937& rng, Image& fast, Image& slow) {
    const int tw = Between(rng, 1, 70), th = Between(rng, 1, 50);
    Image tex = harness::RandomImage(rng, 80, 60);
    if (rng() % 3) {  // most textures cover the map's range
      tex = Image(tw + Between(rng, 0, 5), th + Between(rng, 0, 5), tw + 5 + Between(rng, 0, 9));
      for (auto& p : tex.px) p = harness::RandomPixel(rng);
    }
    const int mw = Between(rng, 0, 90), mh = Between(rng, 0, 40);
    ASSERT_TRUE(zo::BuildTunnelCells(Shape(tw, th, mw, mh, Between(rng, -1, mw), -1, -1,
                                           int(rng() % 5), int(rng() % 7), int(rng() % 6)),
                                     grid.get()));
    if (rng() % 4 == 0)  // cells the build never makes
      for (int k = 0; k < mw * mh; ++k)
        if (rng() % 5 == 0) grid->cells[k] = TunnelCell{int16_t(rng()), int16_t(rng())};
    Image dst = harness::RandomImage(rng, 100, 50);
    const int x = Between(rng, -mw, dst.width), y = Between(rng, -mh, dst.height);
    const int pick[] = {0, 1, -1, tw, -tw, th, INT_MAX, INT_MIN, Between(rng, -5000, 5000)};
    const int su = pick[rng() % 9], sv = pick[rng() % 9];
    fast = dst;
    slow = dst;
    zo::TunnelKernel(zo::TunnelJob{harness::View(tex), harness::View(fast), grid.get(), x, y, su, sv});
    ref::DrawTunnel(*grid, tex, slow, x, y, su, sv);
  });
}

struct Drawn {
  Image tex, dst;
  std::unique_ptr<TunnelGrid> grid = NewGrid();
  Drawn(int tw, int th) : tex(tw, th, tw), dst(40, 30, 40) {
    for (int v = 0; v < th; ++v)
      for (int u = 0; u < tw; ++u) tex.at(u, v) = uint16_t(v * 256 + u);
    EXPECT_TRUE(zo::BuildTunnelCells(Shape(tw, th, 40, 30, -1, -1, -1, 0, 0, 0), grid.get()));
  }
  Image Draw(int su, int sv) {
    Image out = dst;
    zo::TunnelKernel(zo::TunnelJob{harness::View(tex), harness::View(out), grid.get(), 0, 0, su, sv});
    return out;
  }
};

TEST(TunnelDraw, ScrollingWrapsWholeTexturesAndNegativeScrollsMatchTheirPositiveTwins) {
  Drawn d(32, 16);
  EXPECT_EQ(d.Draw(0, 16).px, d.Draw(0, 0).px);
  EXPECT_EQ(d.Draw(32, 0).px, d.Draw(0, 0).px);
  EXPECT_EQ(d.Draw(-3, -1).px, d.Draw(29, 15).px);
  EXPECT_EQ(d.Draw(INT_MIN, INT_MAX).px, d.Draw(0, INT_MAX % 16).px);
  // One more step of v is one texture row deeper, wrapping at the last row.
  const Image a = d.Draw(5, 3), b = d.Draw(5, 4);
  for (size_t k = 0; k < a.px.size(); ++k)
    ASSERT_EQ(b.px[k] >> 8, ((a.px[k] >> 8) + 1) % 16) << k;
}

TEST(TunnelDraw, TexelsOfValueZeroAreCopiedAndNothingLandsOffTheSurface) {
  Drawn d(8, 8);
  for (auto& p : d.tex.px) p = 0;
  for (auto& p : d.dst.px) p = 0xFFFF;
  const Image out = d.Draw(0, 0);
  for (uint16_t p : out.px) ASSERT_EQ(p, 0);
  // Far off every side: nothing changes, nothing is touched outside.
  for (int x : {-1000, 1000, INT_MIN, INT_MAX}) {
    Image o = d.dst;
    zo::TunnelKernel(zo::TunnelJob{harness::View(d.tex), harness::View(o), d.grid.get(), x, x, 0, 0});
    EXPECT_EQ(o.px, d.dst.px);
  }
  // A map never built draws nothing.
  auto empty = NewGrid();
  Image o = d.dst;
  zo::TunnelKernel(zo::TunnelJob{harness::View(d.tex), harness::View(o), empty.get(), 0, 0, 0, 0});
  EXPECT_EQ(o.px, d.dst.px);
}

TEST(TunnelDraw, ATextureSmallerThanTheMapsRangeIsReadOnlyInside) {
  Drawn d(32, 16);
  Image small(10, 4, 10);
  for (auto& p : small.px) p = 0x1234;
  Image o = d.dst;
  zo::TunnelKernel(zo::TunnelJob{harness::View(small), harness::View(o), d.grid.get(), 0, 0, 0, 0});
  for (int k = 0; k < 40 * 30; ++k) {
    const TunnelCell c = d.grid->cells[k];
    ASSERT_EQ(o.px[k], (c.u < 10 && c.v < 4) ? 0x1234 : d.dst.px[k]) << k;
  }
}

}  // namespace
