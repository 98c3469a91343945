// Joystick: the first stick's keypad direction, its four buttons and the
// simulated analog stick. Without a joystick every reading is centred: the
// keypad shows 5 and the dot rests in the middle of its square.
#include "zo.h"

namespace {
int background;
const int StickLeft = 120, StickTop = 120, StickSize = 200;  // the analog stick's square
const int PadLeft = 400, PadTop = 140, Cell = 48;             // the keypad, 7 8 9 on top

void DrawLabel(int x, int y, const char* text) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(x, y, text);
  zoText::EndText();
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);                 // also takes the sticks' centres at rest
  background = zoDraw::LoadObject("bmp\\back.bmp", 2);
  zoJoystick::Init();                          // states, meters and axes to 0
  zoJoystick::SetRates(0, 200.0f, 100.0f);     // the analog axes move 200 units a second
  scene = 1;
  prevScene = 0;
}

void DemoFrame() {
  int ax, ay, b[4];
  zoJoystick::Analog(0, &ax, &ay);             // -100..100, drifting toward the stick's direction
  zoJoystick::PollButtons(0, &b[0], &b[1], &b[2], &b[3]);  // 0 up, 1 pressed, 3 held, 2 released
  const int pad = zoJoystick::Numpad(0);       // 1..9 as on a keypad, 5 when centred
  int px, py;
  const int present = zoJoystick::Position(0, &px, &py);  // 0: no joystick answered

  zoDraw::DrawSpriteOpaque(0, 0, background, 0, 0, 640, 480);
  DrawLabel(120, 40, present ? "ジョイスティック 0" : "ジョイスティックなし: すべて中央");

  // The analog stick: a dot inside its square.
  zoDraw::DrawRectangle(StickLeft, StickTop, StickLeft + StickSize, StickTop + StickSize, RGB(20, 16, 48),
                        RGB(255, 255, 255), 1);
  const int cx = StickLeft + StickSize / 2 + ax * (StickSize / 2 - 10) / 100;
  const int cy = StickTop + StickSize / 2 + ay * (StickSize / 2 - 10) / 100;
  zoDraw::DrawRectangle(cx - 8, cy - 8, cx + 8, cy + 8, RGB(255, 96, 96), RGB(255, 255, 255), 1);

  // The keypad: the cell of the current direction lit.
  for (int n = 1; n <= 9; ++n) {
    const int x = PadLeft + Cell * ((n - 1) % 3), y = PadTop + Cell * (2 - (n - 1) / 3);
    zoDraw::DrawRectangle(x, y, x + Cell - 4, y + Cell - 4, n == pad ? RGB(255, 200, 64) : RGB(40, 32, 80),
                          RGB(255, 255, 255), 1);
  }

  // Buttons 1 to 4: lit while down (pressed or held).
  for (int i = 0; i < 4; ++i) {
    const bool down = b[i] == 1 || b[i] == 3;
    zoDraw::DrawRectangle(PadLeft + 36 * i, 320, PadLeft + 36 * i + 28, 348,
                          down ? RGB(96, 255, 96) : RGB(40, 32, 80), RGB(255, 255, 255), 1);
  }
  DrawLabel(PadLeft, 356, "ボタン 1 2 3 4");
  zoDraw::Present();
}
