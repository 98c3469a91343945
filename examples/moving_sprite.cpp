// The README's example: a sprite moving at a fixed speed and a line of text.
#include "zo.h"

namespace {
int hero;     // a sprite object number
float heroX;  // moves 60 pixels a second, whatever the frame rate
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);                       // display, sound, fonts: the one set-up
  hero = zoDraw::LoadObject("bmp\\block.bmp", 2);     // beside the .exe; black is transparent
  scene = 1;                                         // the loop runs DemoFrame for scene 1
  prevScene = 0;
}

void DemoFrame() {
  heroX += 60.0f * frameDelta;                       // seconds since the last frame
  zoDraw::ClearScreen();
  zoDraw::DrawSprite(static_cast<int>(heroX), 200, hero, 0, 0, 30, 30);
  zoText::BeginText(1, 16, 0, 0, 0, 0);              // 16-pixel Gothic
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(10, 10, "こんにちは");
  zoText::EndText();
  zoDraw::Present();                                 // vertical-blank wait, then to the screen
}
