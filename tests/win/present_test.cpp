// Frame presentation: transitions through the frame loop, cover styles, the
// scroll viewer and the frame-rate line, on the real 16-bit display.
#include <gtest/gtest.h>

#include <string>

#include "app/shell_win.h"
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw_support.h"
#include "zo_test.h"

namespace {

uint16_t FrameColour(int k) { return static_cast<uint16_t>(0x0841 * (k + 1) + 0x1000); }

struct PresentTest : ::testing::Test {
  int frames = 0;
  void SetUp() override {
    zotest::CaptureBoxes();
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zoDraw::ClearScreen();
    transitionStep = transitionDirection = transitionStyle = transitionBand = 0;
    viewerMode = 0;
    framesPaused = 0;
    zotest::onDemoFrame = [this] {
      ++frames;
      zoDraw::Present();
    };
  }
  void TearDown() override { zotest::onDemoFrame = nullptr; }

  static std::string WriteTileStrip() {
    zotest::Pixels strip;
    strip.width = 640;
    strip.height = 48;
    strip.px.resize(640 * 48);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 640; ++x) strip.at(x, y) = FrameColour(x / 64);
    std::string name = "tiles_strip.bmp";
    EXPECT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + name, zotest::BmpKind::Bits16Fields565, strip));
    return name;
  }
  static zotest::Pixels Back() { return zotest::ReadSurface(backSurface); }
};

}  // namespace

TEST_F(PresentTest, ClosingTileTransitionFreezesTheSceneThenSwitches) {
  zoDraw::LoadTransitionTiles(WriteTileStrip().c_str());
  ASSERT_GE(transitionTiles, 4);
  scene = prevScene = 1;
  nextScene = 7;
  zoDraw::CloseTransition();
  EXPECT_EQ(transitionStep, 1);
  EXPECT_EQ(transitionDirection, 1);
  for (int k = 0; k < 10; ++k) {
    zo::RunFrameStep();
    zotest::Pixels p = Back();
    ASSERT_EQ(p.at(0, 0), FrameColour(k)) << "present " << k;
    ASSERT_EQ(p.at(639, 479), FrameColour(k));
    ASSERT_EQ(p.at(333, 222), FrameColour(k));
    if (k < 9) {
      EXPECT_EQ(scene, 1);
    }
  }
  EXPECT_EQ(frames, 0);  // the scene's frame never ran
  EXPECT_EQ(transitionStep, 0);
  EXPECT_EQ(scene, 7);
  EXPECT_EQ(sceneChanged, 1);  // what the next frame of the new scene reads
  zo::RunFrameStep();
  EXPECT_EQ(sceneChanged, 0);
}

TEST_F(PresentTest, OpeningTileTransitionRunsUnderTheScene) {
  zoDraw::LoadTransitionTiles(WriteTileStrip().c_str());
  scene = prevScene = 1;
  zoDraw::OpenTransition();
  for (int k = 9; k >= 0; --k) {
    zo::RunFrameStep();
    ASSERT_EQ(Back().at(100, 100), FrameColour(k));
  }
  EXPECT_EQ(frames, 10);
  EXPECT_EQ(transitionStep, 0);
  EXPECT_EQ(transitionDirection, 0);
  EXPECT_EQ(scene, 1);
}

TEST_F(PresentTest, CoverStyleElevenWipesFromTheLeft) {
  zoDraw::FillRect(0, 0, 640, 480, 0);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 0x07E0;
  drawObjects[1].surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  transitionStyle = 11;
  transitionBand = 10;
  transitionStep = 5;
  transitionDirection = 1;
  zoDraw::Present();
  zotest::Pixels p = Back();
  EXPECT_EQ(p.at(0, 0), 0x07E0);
  EXPECT_EQ(p.at(319, 479), 0x07E0);
  EXPECT_EQ(p.at(320, 0), 0);
  EXPECT_EQ(transitionStep, 6);
}

TEST_F(PresentTest, BandsBelowOneDrawNothingAndStillEnd) {
  transitionStyle = 2;
  transitionBand = 0;
  zoDraw::CloseTransition();
  for (int i = 0; i < 10; ++i) zoDraw::Present();
  EXPECT_EQ(transitionStep, 0);
  transitionStyle = 3;
  transitionBand = 2;  // below the step: no jitter, no division by zero
  zoDraw::CloseTransition();
  for (int i = 0; i < 10; ++i) zoDraw::Present();
  EXPECT_EQ(transitionStep, 0);
}

TEST_F(PresentTest, ViewerScrollsWithinItsImage) {
  zotest::Pixels image;
  image.width = 640;
  image.height = 960;
  image.px.assign(640 * 960, 0);
  for (int y = 0; y < 960; ++y)
    for (int x = 0; x < 640; ++x) image.at(x, y) = static_cast<uint16_t>(y + 1);
  ASSERT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + "viewer.bmp", zotest::BmpKind::Bits16Fields565, image));
  zotest::Pixels tile;
  tile.width = 64;
  tile.height = 48;
  tile.px.assign(64 * 48, 0x1234);
  ASSERT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + "vtile.bmp", zotest::BmpKind::Bits16Fields565, tile));

  viewerImage = 0;
  zoDraw::ToggleViewer();
  EXPECT_EQ(viewerMode, 0);  // nothing prepared yet
  zoDraw::SetViewer("viewer.bmp", "vtile.bmp", 960);
  ASSERT_GE(viewerImage, 4);
  int image1 = viewerImage;
  zoDraw::ToggleViewer();
  ASSERT_EQ(viewerMode, 1);

  frameDelta = 1.0f;
  viewerKey = VK_DOWN;
  zoDraw::Present();
  EXPECT_FLOAT_EQ(viewerScroll, 100.0f);
  EXPECT_FLOAT_EQ(viewerTileX, -10.0f);  // tiles drift 10 pixels a second
  EXPECT_FLOAT_EQ(viewerTileY, -10.0f);
  zoDraw::Present();
  // Row 100 of the image at the top of the clip area (GDI keeps five bits of green).
  EXPECT_TRUE(zotest::SameIgnoringGreenLow(Back().at(5, 0), 101));
  EXPECT_TRUE(zotest::SameIgnoringGreenLow(Back().at(5, 479), 580));
  viewerKey = VK_RIGHT;
  frameDelta = 10.0f;
  zoDraw::Present();
  EXPECT_FLOAT_EQ(viewerScroll, 480.0f);  // the image's bottom at the clip area's bottom
  viewerKey = VK_UP;
  zoDraw::Present();
  EXPECT_FLOAT_EQ(viewerScroll, 0.0f);

  int state = 0;
  BYTE keys[256] = {};
  keys['A'] = 0x80;
  SetKeyboardState(keys);
  zoInput::PollKey('A', &state);
  EXPECT_EQ(state, 0);  // the viewer takes the keys
  keys['A'] = 0;
  SetKeyboardState(keys);

  zoDraw::SetViewer("viewer.bmp", "vtile.bmp", 100);  // reloads the same objects
  EXPECT_EQ(viewerImage, image1);
  viewerKey = VK_DOWN;
  frameDelta = 1.0f;
  zoDraw::Present();
  EXPECT_FLOAT_EQ(viewerScroll, 100.0f - 480.0f);  // shorter than the clip area
  zoDraw::ToggleViewer();
  EXPECT_EQ(viewerMode, 0);
  viewerKey = 0;
  frameDelta = 0.0f;
}

TEST_F(PresentTest, FrameRateLineSamplesEveryTwoSeconds) {
  fpsFrames = 0;
  fpsNextSample = 0;
  fpsValue = fpsMax = 0.0f;
  fpsMin = 999.9f;
  zoDraw::DrawFps();
  EXPECT_FLOAT_EQ(fpsValue, 0.0f);
  EXPECT_FLOAT_EQ(fpsMin, 999.9f);  // only positive samples count
  EXPECT_EQ(fpsFrames, 1);
  int blue = 0;
  for (uint16_t v : Back().px) blue += v == 0x0010;
  EXPECT_GT(blue, 200);  // the line's opaque dark blue background

  fpsFrames = 999;
  zoDraw::DrawFps();
  EXPECT_EQ(fpsFrames, 999);  // held at 999
  fpsNextSample = 0;
  zoDraw::DrawFps();
  EXPECT_FLOAT_EQ(fpsValue, 499.5f);
  EXPECT_FLOAT_EQ(fpsMax, 499.5f);
  EXPECT_FLOAT_EQ(fpsMin, 499.5f);
}

TEST_F(PresentTest, DebugTextIsBounded) {
  std::string longText(2000, 'x');
  zoDraw::DebugPrint(0, 100, "%s %d", longText.c_str(), 5);
  zoDraw::DebugText(0, 200, "デバッグ");
  int blue = 0;
  for (uint16_t v : Back().px) blue += v == 0x0010;
  EXPECT_GT(blue, 400);
}

// Loading the tiles again gives back the object loaded before, and a load
// that fails leaves no record claimed.
TEST_F(PresentTest, LoadingTransitionTilesAgainTakesNoMoreObjects) {
  const std::string strip = WriteTileStrip();
  zoDraw::LoadTransitionTiles(strip.c_str());
  const int first = transitionTiles;
  zoDraw::LoadTransitionTiles(strip.c_str());
  EXPECT_TRUE(first >= 4 && transitionTiles == first && drawObjects[first + 1].name[0] == '\0');
  zoDraw::LoadTransitionTiles("no_such_tiles.bmp");
  EXPECT_TRUE(transitionTiles == 0 && drawObjects[first].name[0] == '\0');
  zotest::ClearBoxes();
}
