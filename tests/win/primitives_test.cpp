// GDI primitives and single pixels on the 5-6-5 back surface.
#include <gtest/gtest.h>

#include "draw/display_win.h"
#include "draw_support.h"
#include "zo_test.h"

namespace {

const uint16_t Magenta = 0xF81F, Red = 0xF800, White = 0xFFFF;

struct PrimitivesTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zoDraw::ClearScreen();
  }
  static zotest::Pixels Back() { return zotest::ReadSurface(backSurface); }
};

}  // namespace

TEST_F(PrimitivesTest, RectangleFillsInsideItsOutline) {
  zoDraw::DrawRectangle(100, 100, 130, 130, 0x00FF00FF, 0, 1);
  zoDraw::FillRect(0, 0, 640, 480, White);  // shows where the outline is black
  zoDraw::DrawRectangle(100, 100, 130, 130, 0x00FF00FF, 0, 1);
  zotest::Pixels p = Back();
  for (int y = 99; y <= 130; ++y) {
    for (int x = 99; x <= 130; ++x) {
      bool outside = x < 100 || x > 129 || y < 100 || y > 129;
      bool border = !outside && (x == 100 || x == 129 || y == 100 || y == 129);
      uint16_t want = outside ? White : border ? 0 : Magenta;
      ASSERT_EQ(p.at(x, y), want) << x << "," << y;
    }
  }
}

TEST_F(PrimitivesTest, LineLeavesItsEndPoint) {
  zoDraw::DrawLine(0, 0, 10, 0, RGB(255, 0, 0), 1);
  zotest::Pixels p = Back();
  for (int x = 0; x < 10; ++x) EXPECT_EQ(p.at(x, 0), Red) << x;
  EXPECT_EQ(p.at(10, 0), 0);
  EXPECT_EQ(p.at(0, 1), 0);
}

TEST_F(PrimitivesTest, PolygonModes) {
  const POINT square[4] = {{20, 20}, {80, 20}, {80, 80}, {20, 80}};
  zoDraw::FillRect(0, 0, 640, 480, White);
  zoDraw::DrawPolygon(square, 4, RGB(255, 0, 0), 0, 1, 0);
  zotest::Pixels p = Back();
  for (int y = 25; y < 75; ++y)
    for (int x = 25; x < 75; ++x) ASSERT_EQ(p.at(x, y), White);  // mode 0: inside untouched
  EXPECT_EQ(p.at(20, 50), Red);

  zoDraw::FillRect(0, 0, 640, 480, White);
  zoDraw::DrawPolygon(square, 4, RGB(255, 0, 0), RGB(0, 0, 0), 1, 1);
  p = Back();
  int red = 0, black = 0, other = 0;
  for (int y = 25; y < 75; ++y)
    for (int x = 25; x < 75; ++x) {
      uint16_t v = p.at(x, y);
      (v == Red ? red : v == 0 ? black : other)++;
    }
  EXPECT_GT(red, 200);    // the cross-hatch in the pen colour
  EXPECT_GT(black, 1000); // on the background colour
  EXPECT_EQ(other, 0);

  zoDraw::FillRect(0, 0, 640, 480, White);
  zoDraw::DrawPolygon(square, 4, RGB(255, 0, 0), RGB(0, 0, 0), 1, 2);
  p = Back();
  red = black = other = 0;
  for (int y = 25; y < 75; ++y)
    for (int x = 25; x < 75; ++x) {
      uint16_t v = p.at(x, y);
      (v == Red ? red : v == White ? other : black)++;
    }
  EXPECT_GT(red, 200);
  EXPECT_EQ(black, 0);   // gaps keep what was there
  EXPECT_GT(other, 1000);
}

TEST_F(PrimitivesTest, BezierInvertAndPixels) {
  const POINT curve[4] = {{10, 200}, {60, 150}, {110, 250}, {160, 200}};
  zoDraw::DrawBezier(curve, 4, RGB(255, 255, 255), 1);
  zotest::Pixels p = Back();
  EXPECT_EQ(p.at(10, 200), White);
  int lit = 0;
  for (uint16_t v : p.px) lit += v == White;
  EXPECT_GT(lit, 120);

  zoDraw::ClearScreen();
  zoDraw::InvertRect(5, 5, 15, 10);
  p = Back();
  EXPECT_EQ(p.at(5, 5), White);
  EXPECT_EQ(p.at(14, 9), White);
  EXPECT_EQ(p.at(15, 9), 0);

  zoDraw::SetPixel(300, 300, 0x000000FF);
  int r = -1, g = -1, b = -1;
  zoDraw::GetPixel(300, 300, &r, &g, &b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 0);
  zoDraw::SetPixel(301, 300, RGB(0, 255, 0));
  zoDraw::GetPixel(301, 300, &r, &g, &b);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(r + b, 0);
}

TEST_F(PrimitivesTest, GrabScreenThenDrawReproducesTheCorner) {
  zotest::Pixels before = Back();
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) before.at(x, y) = static_cast<uint16_t>(x * 977 + y * 131 + 1);
  ASSERT_TRUE(zotest::WriteSurface(backSurface, before));
  int obj = zoDraw::CreateObject(64, 64, 2);
  ASSERT_GE(obj, 4);
  zoDraw::GrabScreen(obj, 0, 0, 64, 64);
  zoDraw::ClearScreen();
  zoDraw::DrawSpriteOpaque(100, 100, obj, 0, 0, 64, 64);
  zotest::Pixels after = Back();
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(after.at(100 + x, 100 + y), before.at(x, y));
  zoDraw::ReleaseObject(obj);
}

TEST_F(PrimitivesTest, NothingHappensWithoutABackSurface) {
  IDirectDrawSurface* kept = backSurface;
  backSurface = nullptr;
  zoDraw::DrawRectangle(0, 0, 10, 10, 0, 0, 1);
  zoDraw::DrawLine(0, 0, 10, 10, 0, 1);
  int r = 7, g = 7, b = 7;
  zoDraw::GetPixel(0, 0, &r, &g, &b);
  EXPECT_EQ(r + g + b, 21);  // nothing read, nothing written
  zoDraw::GrabScreen(4, 0, 0, 10, 10);
  backSurface = kept;
}
