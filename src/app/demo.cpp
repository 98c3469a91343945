// Tessaro: the demo scene that ships with the library. A background, a field
// of blocks drifting down, and a magenta square that follows the mouse.
#include <cstdint>

#include "zo.h"

namespace {

int blockObject, backObject;

// The demo's one record with operations.
struct BlockField {
  int32_t active, initialised;
  float x, y, spare;
  int Init();
  void Draw();
};

BlockField blockFields[1];
int32_t blockMap[12][8];
float blockScroll;

int BlockField::Init() {
  if (initialised) return 0;
  active = initialised = 1;
  x = y = spare = 0.0f;
  return 1;
}

void BlockField::Draw() {
  for (int c = 0; c < 8; ++c) {
    for (int r = 0; r < 12; ++r) {
      blockMap[0][0] = 2;  // the top-left cell always shows tile 2
      int t = blockMap[r][c];
      blockScroll += frameDelta * 0.5f;  // once per cell: 48 pixels a second in all
      x = static_cast<float>(30 * c + 200);
      y = static_cast<float>(30 * r + 120) + blockScroll;
      zoDraw::DrawSprite(static_cast<int>(x), static_cast<int>(y), blockObject, 30 * t, 0,
                         30 * t + 30, 30);
    }
  }
}

}  // namespace

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);
  blockObject = zoDraw::LoadObject("bmp\\block.bmp", 2);
  backObject = zoDraw::LoadObject("bmp\\back.bmp", 2);
  scene = 1;
  prevScene = 0;  // the first frame step sees a scene change
}

void DemoFrame() {
  zoDraw::ClearScreen();
  zoDraw::DrawSprite(0, 0, backObject, 0, 0, 640, 480);
  for (BlockField& field : blockFields) {
    field.Init();
    field.Draw();
  }
  zoDraw::DrawRectangle(mouseX, mouseY, mouseX + 30, mouseY + 30, 0x00FF00FF, 0, 1);
  zoDraw::Present();
}
