// A wipe run by a scene through the real frame step: what each frame draws
// is clipped to the moving rectangle, and a change of scene cancels it.
#include <gtest/gtest.h>

#include "app/shell_win.h"
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw_support.h"
#include "zo_test.h"

namespace {

const uint16_t Green = 0x07E0;

struct WipeTest : ::testing::Test {
  int picture = 0;
  int stepped = 0;       // what StepWipe answered in the last frame
  int changeAt = -1;     // frame at which the scene moves on
  int frames = 0;
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    picture = zoDraw::CreateObject(640, 480, 2);
    ASSERT_NE(picture, 0);
    zotest::Pixels p;
    p.width = 640;
    p.height = 480;
    p.px.assign(640 * 480, Green);
    ASSERT_TRUE(zotest::WriteSurface(drawObjects[picture].surface, p));
    zoDraw::ClearScreen();
    ClipRect = IntRect{0, 0, 640, 480};
    clipWipeState = 0;
    transitionDirection = transitionStep = 0;
    framesPaused = 0;
    scene = prevScene = 1;
    zotest::onDemoFrame = [this] {
      zoDraw::DrawSpriteOpaque(0, 0, picture, 0, 0, 640, 480);
      stepped = zoDraw::StepWipe();
      if (++frames == changeAt) scene = 2;
    };
  }
  void TearDown() override {
    zotest::onDemoFrame = nullptr;
    zoDraw::ReleaseObject(picture);
    ClipRect = IntRect{0, 0, 640, 480};
    clipWipeState = 0;
  }
};

TEST_F(WipeTest, AnOpeningGrowsFrameByFrameUntilTheSceneChanges) {
  ASSERT_EQ(zoDraw::StartWipe(0, 1, 0.0f, 0), 1);  // speed 0: one row a frame
  EXPECT_EQ(ClipRect.top, 480);
  changeAt = 11;
  for (int k = 0; k < 10; ++k) zo::RunFrameStep();
  EXPECT_EQ(ClipRect.top, 470);
  EXPECT_EQ(clipWipeState, 1);
  EXPECT_EQ(stepped, 1);
  zotest::Pixels back = zotest::ReadSurface(backSurface);
  EXPECT_EQ(back.at(320, 470), 0);  // outside the rectangle: what was there before
  EXPECT_EQ(back.at(320, 471), Green);
  EXPECT_EQ(back.at(0, 479), Green);

  zo::RunFrameStep();  // the scene moves on during this frame
  EXPECT_EQ(sceneChanged, 1);
  EXPECT_EQ(clipWipeState, 0);
  EXPECT_EQ(ClipRect.top, 0);
  EXPECT_EQ(ClipRect.bottom, 480);
  EXPECT_EQ(ClipRect.right, 640);
  EXPECT_EQ(zoDraw::StepWipe(), 0);
  EXPECT_EQ(zoDraw::StartWipe(1, 3, 100.0f, 0), 1);  // free for the next scene
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(WipeTest, AClosedScreenStaysClosedAcrossASceneChange) {
  ASSERT_EQ(zoDraw::StartWipe(1, 7, 0.0f, 0), 1);
  zo::RunFrameStep();
  EXPECT_EQ(ClipRect.left, 1);
  zoDraw::CloseWipeNow();
  EXPECT_EQ(clipWipeState, -1);
  EXPECT_EQ(savedClipRect.left, 1);
  EXPECT_EQ(savedClipRect.right, 639);
  changeAt = frames + 1;
  zo::RunFrameStep();
  EXPECT_EQ(sceneChanged, 1);
  EXPECT_EQ(clipWipeState, -1);
  EXPECT_EQ(ClipRect.right, ClipRect.left);
  EXPECT_EQ(stepped, 0);
}

TEST_F(WipeTest, AnUnknownShapeIsReportedAndNothingStarts) {
  EXPECT_EQ(zoDraw::StartWipe(0, 10, 300.0f, 0), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text.rfind("zoDraw::StartWipe : ", 0), 0u);
  EXPECT_EQ(clipWipeState, 0);
  EXPECT_EQ(ClipRect.top, 0);
  EXPECT_EQ(ClipRect.bottom, 480);
}

}  // namespace
