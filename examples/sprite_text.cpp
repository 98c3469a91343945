// Text: GDI text in the two standard faces, a word-wrapped box, and sprite
// text that the typewriter reveals one character at a time. Each page is
// rendered once into the font object; RevealText draws what is shown so far.
#include "zo.h"

namespace {
int background;
const char* const pages[] = {
    "スプライト文字は一文字ずつ現れます。影も付きます。",
    "RevealText を毎フレーム呼ぶと、全部出たところで 1 を返します。",
};
int page;
float shownFor;  // seconds since the page was complete

void RenderPage() {
  zoText::BeginText(1, 24, 0, 1, 0, 0);        // Gothic, 24 pixels, bold
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  shadowColor = RGB(40, 0, 64);
  // Into the font object only: the typewriter blits it. 6 pixels between lines.
  zoText::RenderSpriteText(60, 300, 580, 460, pages[page], TextShadow | 6);
  zoText::EndText();
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);
  background = zoDraw::LoadObject("bmp\\back.bmp", 2);
  RenderPage();
  scene = 1;
  prevScene = 0;
}

void DemoFrame() {
  zoDraw::DrawSpriteOpaque(0, 0, background, 0, 0, 640, 480);

  zoText::BeginText(0, 32, 0, 1, 0, 0);        // Mincho, 32 pixels, bold
  zoText::SetTextColors(RGB(255, 230, 160), 0, 1);
  zoText::DrawText(60, 40, "文字の表示");
  zoText::EndText();

  zoText::BeginText(1, 16, 0, 0, 0, 0);        // Gothic, 16 pixels
  zoText::SetTextColors(RGB(255, 255, 255), RGB(80, 30, 110), 0);  // on an opaque band
  zoText::DrawTextBox(60, 100, 580, 200,
                      "DrawTextBox は長い文を矩形の幅で折り返します。左寄せ、中央、右寄せを"
                      "選べます。この箱は左寄せです。",
                      0);
  zoText::EndText();

  // The typewriter: one more character every 0.08 seconds; the next page
  // two seconds after this one is complete.
  if (zoText::RevealText(0.08f)) {
    shownFor += frameDelta;
    if (shownFor > 2.0f) {
      page = (page + 1) % 2;
      shownFor = 0.0f;
      RenderPage();
    }
  }
  zoDraw::Present();
}
