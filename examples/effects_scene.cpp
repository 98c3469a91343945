// Software effects: one scene with a few effects of each family, animated
// by the time since the start. Row by row: blends, colour filters,
// rotations, distortions; a mosaic circle and grain work on what is drawn.
#include <cmath>

#include "zo.h"

namespace {
int background, blocks, big;  // big: the four blocks at 60 x 60, side by side
float t;                      // seconds since the start

// Effects take a source rectangle as it is, so the larger sprite is made
// once: the blocks stretched onto the back surface, then grabbed.
void MakeBigBlocks() {
  zoDraw::ClearScreen();
  for (int i = 0; i < 4; ++i) zoDraw::DrawStretch(60 * i, 0, blocks, 30 * i, 0, 30 * i + 30, 30, 60, 60);
  big = zoDraw::CreateObject(240, 60, 2);
  zoDraw::GrabScreen(big, 0, 0, 240, 60);
}

void Label(int y, const char* text) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(20, y, text);
  zoText::EndText();
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);
  background = zoDraw::LoadObject("bmp\\back.bmp", 2);
  blocks = zoDraw::LoadObject("bmp\\block.bmp", 2);
  MakeBigBlocks();
  scene = 1;
  prevScene = 0;
}

void DemoFrame() {
  t += frameDelta;
  const float pulse = 0.5f + 0.5f * std::sin(t * 3.0f);  // 0..1 and back, about every two seconds
  zoDraw::DrawSpriteOpaque(0, 0, background, 0, 0, 640, 480);

  Label(20, "合成");  // blends: each block its own way
  zoDraw::DrawHalfBlend(140, 20, big, 0, 0, 60, 60);
  zoDraw::DrawAlphaBlend(260, 20, pulse, big, 60, 0, 120, 60);
  zoDraw::DrawAdd(380, 20, big, 120, 0, 180, 60);
  zoDraw::DrawCrossFade(500, 20, static_cast<int>(31 * pulse), big, 180, 0, 240, 60);

  Label(130, "色");  // colour filters
  zoDraw::DrawGray(140, 130, big, 0, 0, 60, 60);
  zoDraw::DrawBrightness(260, 130, 0.5f + pulse, big, 60, 0, 120, 60);
  zoDraw::DrawBlur(380, 130, 1 + static_cast<int>(8 * pulse), big, 120, 0, 180, 60);
  zoDraw::DrawGlow(500, 130, 2, 2, 2, 0xFF, 1, big, 180, 0, 240, 60);

  Label(240, "回転");  // rotations: angles in degrees, counter-clockwise
  const int angle = static_cast<int>(t * 90.0f);
  zoDraw::DrawRotate(120, 230, 220, 330, angle, big, 0, 0, 60, 60);
  zoDraw::DrawRotateZoom(240, 230, 340, 330, -angle, 0.6f + pulse, big, 60, 0, 120, 60);
  zoDraw::DrawRotateTile(370, 240, 610, 320, angle / 3, big, 0, 0, 240, 60);

  Label(360, "歪み");  // mirror, smear and row blits
  zoDraw::DrawMirror(140, 360, static_cast<int>(t) % 4, big, 0, 0, 60, 60);
  zoDraw::DrawRowWave(250, 360, 10, 0, 180.0f, big, 60, 0, 120, 60, 0);
  zoDraw::DrawJitter(380, 360, 1 + static_cast<int>(4 * pulse), big, 120, 0, 180, 60);
  zoDraw::DrawScanlines(500, 360, 2, big, 180, 0, 240, 60);

  // Region effects work on the back surface as it is now.
  const int cx = 340 + static_cast<int>(200 * std::cos(t));
  const int cy = 200 + static_cast<int>(140 * std::sin(0.7f * t));
  zoDraw::ScreenMosaicCircle(cx, cy, 60, 10);
  zoDraw::ScreenNoise(1, 0, 440, 640, 40);
  zoDraw::Present();
}
