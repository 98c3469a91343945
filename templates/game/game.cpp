// A complete zo game: a sprite that follows the arrow keys, a line of text,
// Escape to quit. Copy this folder to start your own.
#include "zo.h"

namespace {
int hero;                 // sprite object number
float heroX = 305, heroY = 225;
const float Speed = 180;  // pixels a second

bool Down(int key) {
  int state;
  zoInput::PollKey(key, &state);  // 1 just pressed, 3 held
  return state == 1 || state == 3;
}
}  // namespace

// Before the window exists: the size, window or full screen, window flags,
// the frame's depth and the window's scale.
void DemoConfigure() {
  requestedWidth = 640;
  requestedHeight = 480;
  fullScreen = 0;
  frameDepth = 16;   // 5-6-5 frames on any desktop: every effect works
  windowScale = 1;   // 2 shows each pixel as a 2 x 2 block in the window
}

// Once, after the window exists.
void DemoSetup() {
  zoDraw::Screen(requestedWidth, requestedHeight, 1);  // display, sound, fonts
  hero = zoDraw::LoadObject("bmp\\hero.bmp", 2);       // black is transparent
  scene = 1;                                           // DemoFrame runs while scene is 1
  prevScene = 0;
}

// Every frame step.
void DemoFrame() {
  const float step = Speed * frameDelta;
  if (Down(VK_LEFT)) heroX -= step;
  if (Down(VK_RIGHT)) heroX += step;
  if (Down(VK_UP)) heroY -= step;
  if (Down(VK_DOWN)) heroY += step;

  zoDraw::ClearScreen();
  zoDraw::DrawSprite(static_cast<int>(heroX), static_cast<int>(heroY), hero, 0, 0, 30, 30);
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(10, 10, "矢印キーで動く。Escで終わる。");
  zoText::EndText();
  zoDraw::Present();
}
