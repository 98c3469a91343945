// Sprite text through GDI on the real display: cells, wrapping, the ink lift,
// the smooth renderer's filter and the typewriter.
#include <gtest/gtest.h>

#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw_support.h"
#include "text/sprite_text_layout.h"
#include "text/text_scope_win.h"
#include "zo_test.h"

namespace {

struct SpriteTextTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zoDraw::ClearScreen();
    frameDelta = 0.0f;
  }
  static int Count(const zotest::Pixels& p, uint16_t v) {
    int n = 0;
    for (uint16_t x : p.px) n += x == v;
    return n;
  }
};

}  // namespace

TEST_F(SpriteTextTest, CellsSitSideBySideUnderTheirBoundingBox) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawSpriteText(20, 30, 600, 480, "ABC", 0);
  ASSERT_NE(zo::textDC, nullptr);  // the back-surface scope is open again
  zoText::EndText();
  ASSERT_EQ(textItems.count, 4);
  const IntRect* r = textItems.rects;
  EXPECT_EQ(r[1].left, 20);
  EXPECT_EQ(r[1].top, 30);
  EXPECT_EQ(r[1].right, r[2].left);
  EXPECT_EQ(r[2].right, r[3].left);
  EXPECT_GT(r[1].bottom - r[1].top, 10);
  EXPECT_EQ(r[0].left, 20);
  EXPECT_EQ(r[0].right, r[3].right);
  EXPECT_EQ(r[0].bottom, r[3].bottom);
  // Rendered into object 2 and blitted: the same pixels on the back surface.
  zotest::Pixels font = zotest::ReadSurface(drawObjects[2].surface);
  zotest::Pixels back = zotest::ReadSurface(backSurface);
  EXPECT_GT(Count(font, 0xFFFF), 20);
  EXPECT_EQ(Count(font, 0xFFFF), Count(back, 0xFFFF));
}

TEST_F(SpriteTextTest, WrapsAndHangsWithRealGlyphs) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::RenderSpriteText(0, 0, 600, 480, "AB", 0);
  int limit = textItems.rects[2].right - 1;  // between the 2nd and 3rd character
  zoText::RenderSpriteText(0, 0, limit, 480, "ABC", 0);
  ASSERT_EQ(textItems.count, 4);
  EXPECT_EQ(textItems.rects[3].left, 0);
  EXPECT_GT(textItems.rects[3].top, 0);
  zoText::RenderSpriteText(0, 0, 600, 480, "日本", 0);
  EXPECT_EQ(textItems.count, 3);  // one item per two-byte character
  const IntRect plain = textItems.rects[1];
  zoText::RenderSpriteText(0, 0, 600, 480, "日本", TextShadow | TextBoldX | TextBoldY);
  const IntRect wide = textItems.rects[1];
  EXPECT_EQ(wide.right - wide.left, plain.right - plain.left + 2);  // shadow and bold
  EXPECT_EQ(wide.bottom - wide.top, plain.bottom - plain.top + 2);
  EXPECT_EQ(textItems.rects[2].left, wide.right);
  zoText::EndText();
}

TEST_F(SpriteTextTest, BlackInkIsLiftedAndSurvivesTheKey) {
  zoDraw::WhiteScreen();
  zoText::BeginText(1, 24, 0, 1, 0, 0);
  zoText::SetTextColors(0, 0, 1);
  zoText::DrawSpriteText(10, 10, 600, 480, "Black", TextShadow);
  zoText::EndText();
  EXPECT_EQ(textColor, 0x101010u);
  EXPECT_EQ(shadowColor, 0x101010u);
  const uint16_t lifted = (2 << 11) | (4 << 5) | 2;
  EXPECT_GT(Count(zotest::ReadSurface(backSurface), lifted), 50);
}

TEST_F(SpriteTextTest, SmoothRendererInksFullyInsideAndLeavesTheRestClear) {
  zoDraw::FillRect(0, 0, 640, 480, 0x0010);
  zoText::BeginBufferText(1, 24);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawSmoothText(100, 100, 600, 480, "■", 0);
  ASSERT_NE(zo::textDC, nullptr);  // the buffer scope is open again,
  EXPECT_EQ(GetBkMode(zo::textDC), OPAQUE);  // with a fresh DC
  zoText::EndBufferText();
  ASSERT_EQ(textItems.count, 2);
  const IntRect& cell = textItems.rects[1];
  zotest::Pixels font = zotest::ReadSurface(drawObjects[2].surface);
  int cx = (cell.left + cell.right) / 2, cy = (cell.top + cell.bottom) / 2;
  EXPECT_EQ(font.at(cx, cy), 0xFFDF);  // full ink saturates at 31 per 5-bit channel
  EXPECT_EQ(font.at(300, 300), 0);     // no ink: transparent
  EXPECT_EQ(font.at(99, 99), 0);
  zotest::Pixels back = zotest::ReadSurface(backSurface);
  EXPECT_EQ(back.at(cx, cy), 0xFFDF);
  // Edge pixels mix with the dark blue underneath.
  int mixed = 0;
  for (int y = cell.top; y < cell.bottom; ++y)
    for (int x = cell.left; x < cell.right; ++x) {
      uint16_t v = font.at(x, y);
      if (v != 0 && v != 0xFFDF) ++mixed;
    }
  EXPECT_GT(mixed, 0);
}

TEST_F(SpriteTextTest, ARenderThatCannotStartLeavesTheNextOneBlitting) {
  zoText::ReleaseFonts();
  zoText::RenderSpriteText(0, 0, 600, 480, "ABC", 0);
  zoText::EnumerateFonts();
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawSpriteText(0, 0, 600, 480, "ABC", 0);
  zoText::EndText();
  EXPECT_GT(Count(zotest::ReadSurface(backSurface), 0xFFFF), 20);
}

TEST_F(SpriteTextTest, RevealShowsOneMoreCharacterPerInterval) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::RenderSpriteText(0, 0, 600, 480, "ABC", 0);
  zoText::EndText();
  EXPECT_EQ(Count(zotest::ReadSurface(backSurface), 0xFFFF), 0);  // rendered, not blitted
  frameDelta = 0.5f;
  int shown[7] = {};
  int answers[7] = {};
  for (int call = 1; call <= 6; ++call) {
    answers[call] = zoText::RevealText(0.5f);
    shown[call] = Count(zotest::ReadSurface(backSurface), 0xFFFF);
  }
  EXPECT_EQ(shown[2], 0);
  EXPECT_GT(shown[3], 0);          // the first character from the third call
  EXPECT_GT(shown[4], shown[3]);
  EXPECT_GT(shown[5], shown[4]);   // the last one first shown here
  EXPECT_EQ(answers[5], 0);
  EXPECT_EQ(answers[6], 1);        // done from the call after
  zoDraw::ClearScreen();
  EXPECT_EQ(zoText::RevealText(0.0f), 1);  // interval 0 shows everything at once
  EXPECT_EQ(Count(zotest::ReadSurface(backSurface), 0xFFFF), shown[5]);
  frameDelta = 0.0f;
}

// Punctuation that hangs past the right limit reaches the screen, drawn at
// once and revealed by the typewriter alike. The plain renderer gives it a
// cell; the smooth one none, its line's box holding the ink. (The back
// surface is read between scopes: it cannot be locked while a scope on it
// holds its DC.)
TEST_F(SpriteTextTest, HangingPunctuationPastTheLimitIsShown) {
  const char* text = "影付きのスプライト文字。行末の句読点、ぶら下がり。";
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "plain");
    auto render = [&](int right, bool blit) {
      smooth ? zoText::BeginBufferText(1, 12) : zoText::BeginText(1, 24, 0, 0, 0, 0);
      zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
      if (smooth)
        (blit ? zoText::DrawSmoothText : zoText::RenderSmoothText)(320, 60, right, 300, text, 0x104);
      else
        (blit ? zoText::DrawSpriteText : zoText::RenderSpriteText)(320, 60, right, 300, text, 0x104);
      smooth ? zoText::EndBufferText() : zoText::EndText();
    };
    // The limit falls inside the first "。" (the 12th character).
    render(639, false);
    ASSERT_GT(textItems.count, 12);
    const int wideCount = textItems.count;
    const IntRect stop = textItems.rects[12];
    const int limit = stop.left + 2;  // the full stop's ink sits at the left of its cell
    auto inkPastLimit = [&] {
      const zotest::Pixels back = zotest::ReadSurface(backSurface);
      int ink = 0;
      for (int y = stop.top; y < stop.bottom; ++y)
        for (int x = limit; x < back.width; ++x) ink += back.at(x, y) != 0;
      return ink;
    };
    zoDraw::ClearScreen();
    render(limit, true);
    EXPECT_EQ(textItems.count, smooth ? wideCount - 1 : wideCount);
    if (!smooth) {
      EXPECT_TRUE(textItems.rects[12].left == stop.left && textItems.rects[12].top == stop.top);
    }
    EXPECT_GE(textItems.rects[0].right, stop.right);  // the box holds the hanging ink
    const int drawn = inkPastLimit();
    EXPECT_GT(drawn, 0);

    zoDraw::ClearScreen();
    render(limit, false);
    EXPECT_EQ(inkPastLimit(), 0);
    frameDelta = 1.0f;
    int steps = 0;
    while (!zoText::RevealText(0.01f) && steps < 100) ++steps;
    EXPECT_LT(steps, 100);
    EXPECT_EQ(inkPastLimit(), drawn);
    frameDelta = 0.0f;
  }
}
