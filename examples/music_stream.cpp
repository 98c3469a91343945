// Music from an OGG file and sprites from a PNG file. The tune
// (oggs\tune.ogg, written by sox when the examples are built) streams from
// the four-second ring that zoSound::Streaming refills every frame, and
// loops back to its second bar without a gap. The balls are bmp\ball.png:
// where its alpha channel is clear they take the load key's colour, so the
// background shows through their corners.
#include <cmath>

#include "zo.h"

namespace {
const int TuneRate = 44100;           // stereo, 16 bits once decoded
const int SecondBar = TuneRate * 3 / 4;  // the loop point, in sample frames
int back, ball, tune = -1;
float t;                              // seconds since the start

void Line(int y, const char* text) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(40, y, text);
  zoText::EndText();
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);                 // opens the sound device too
  back = zoDraw::LoadObject("bmp\\back.bmp", 2);
  zoDraw::SetColorKey(RGB(255, 0, 255));        // clear pixels of the PNG become magenta: the key
  ball = zoDraw::LoadObject("bmp\\ball.png", 2);
  tune = zoSound::LoadStreamFile("oggs\\tune.ogg", SecondBar);
  if (tune >= 0) zoSound::PlayLoop(tune, 0);
  scene = 1;
  prevScene = 0;
}

void DemoFrame() {
  zoSound::Streaming();                        // refills the tune's ring while it plays
  t += frameDelta;

  zoDraw::ClearScreen();
  if (back) zoDraw::DrawSprite(0, 0, back, 0, 0, 640, 480);
  for (int i = 0; ball && i < 6; ++i) {        // six balls on a turning circle
    const float a = t * 1.2f + i * 1.0472f;
    const int x = 296 + static_cast<int>(150 * std::cos(a));
    const int y = 280 + static_cast<int>(100 * std::sin(a));
    zoDraw::DrawSprite(x, y, ball, 0, 0, 48, 48);
  }
  Line(40, tune >= 0 ? "OGG の曲 oggs\\tune.ogg をストリーム再生 (2 小節目へループ)" : "曲が読めません");
  Line(70, ball ? "PNG のスプライト bmp\\ball.png (アルファの透明部分が抜き色に)" : "PNG が読めません");
  if (tune >= 0) {  // the ring's play cursor: across and back every four seconds
    const int width = static_cast<int>(560.0 * zoSound::GetPosition(tune) / (4 * TuneRate * 4));
    zoDraw::DrawRectangle(40, 110, 600, 130, RGB(24, 24, 64), RGB(255, 255, 255), 1);
    zoDraw::DrawRectangle(40, 110, 40 + width, 130, RGB(96, 200, 255), RGB(255, 255, 255), 1);
  }
  zoDraw::Present();
}
