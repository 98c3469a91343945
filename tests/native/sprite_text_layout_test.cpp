// Line layout of sprite text with a stand-in for the font: every one-byte
// character 8 x 16 pixels, every two-byte one 16 x 16 (double in the smooth
// renderer's buffer).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "text/sprite_text_layout.h"

using zo::TextCell;

namespace {

struct Drawn {
  std::string ch;
  int x, y;
};
struct Flushed {
  int x, y, width2, height2;
};

struct FixedFont : zo::TextSink {
  int scale = 1;
  std::vector<Drawn> drawn;
  std::vector<Flushed> flushed;
  int measured = 0;
  zo::GlyphSize Measure(const char* bytes, int length) override {
    ++measured;
    if (bytes[0] == 'W') return {1000 * scale, 16 * scale};  // wider than any line
    return {(length == 2 ? 16 : 8) * scale, 16 * scale};
  }
  void DrawCharacter(const char* bytes, int length, int x, int y) override {
    drawn.push_back(Drawn{std::string(bytes, size_t(length)), x, y});
  }
  void FlushLine(int x, int y, int width2, int height2) override {
    flushed.push_back(Flushed{x, y, width2, height2});
  }
};

std::unique_ptr<zo::TextItems> Items() { return std::make_unique<zo::TextItems>(); }

void ExpectCell(const TextCell& c, int l, int t, int r, int b) {
  EXPECT_EQ(c.left, l);
  EXPECT_EQ(c.top, t);
  EXPECT_EQ(c.right, r);
  EXPECT_EQ(c.bottom, b);
}

}  // namespace

TEST(PlainLayout, OneLineOfCellsSideBySide) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(10, 20, 600, 400, "ABC", 0, 16, font, items.get());
  ASSERT_EQ(items->count, 4);
  ExpectCell(items->cell[1], 10, 20, 18, 36);
  ExpectCell(items->cell[2], 18, 20, 26, 36);
  ExpectCell(items->cell[3], 26, 20, 34, 36);
  ExpectCell(items->cell[0], 10, 20, 34, 36);
  ASSERT_EQ(font.drawn.size(), 3u);
  EXPECT_EQ(font.drawn[2].ch, "C");
  EXPECT_EQ(font.drawn[2].x, 26);
}

TEST(PlainLayout, NewlineStartsALowerLineWithoutAnItem) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(10, 20, 600, 400, "A\nB", 4, 16, font, items.get());  // spacing 4
  ASSERT_EQ(items->count, 3);
  ExpectCell(items->cell[2], 10, 40, 18, 56);
  EXPECT_EQ(font.drawn.size(), 2u);
}

TEST(PlainLayout, WrapsAtTheLimitAndLetsPunctuationHang) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(0, 0, 20, 400, "ABC", 0, 16, font, items.get());
  ASSERT_EQ(items->count, 4);
  ExpectCell(items->cell[3], 0, 16, 8, 32);  // C opens the next line

  FixedFont font2;
  auto items2 = Items();
  zo::LayoutPlainText(0, 0, 20, 400, "AB。D", 0, 16, font2, items2.get());
  ASSERT_EQ(items2->count, 4);  // the full stop hangs and has no item
  ASSERT_EQ(font2.drawn.size(), 4u);
  EXPECT_EQ(font2.drawn[2].ch, "。");
  EXPECT_EQ(font2.drawn[2].x, 16);
  EXPECT_EQ(font2.drawn[2].y, 0);
  ExpectCell(items2->cell[3], 0, 16, 8, 32);  // D after it, on the next line
}

TEST(PlainLayout, ATwoByteCharacterIsOneCharacter) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(0, 0, 600, 400, "日A", 0, 16, font, items.get());
  ASSERT_EQ(std::string("日").size(), 2u);
  ASSERT_EQ(items->count, 3);
  ExpectCell(items->cell[1], 0, 0, 16, 16);
  ExpectCell(items->cell[2], 16, 0, 24, 16);
  EXPECT_EQ(font.measured, 2);
  EXPECT_EQ(font.drawn[0].ch, "日");
  // A lead byte with nothing after it is a one-byte character.
  const char cut[] = {'A', char(0x93), 0};
  EXPECT_EQ(zo::CharacterLength(cut, 2, 1), 1);
  EXPECT_EQ(zo::CharacterLength("日", 2, 0), 2);
}

TEST(PlainLayout, ShadowAndBoldWidenTheCells) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(0, 0, 600, 400, "AB", zo::TextShadow | zo::TextBoldX | zo::TextBoldY, 16, font,
                      items.get());
  ExpectCell(items->cell[1], 0, 0, 10, 18);
  ExpectCell(items->cell[2], 10, 0, 20, 18);
}

TEST(PlainLayout, StopsAtTheBottomLimit) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(0, 0, 16, 40, "ABCDEFGH", 0, 16, font, items.get());
  // Lines at 0 and 16; the third would reach 48 >= 40.
  EXPECT_EQ(items->count, 5);
  EXPECT_EQ(font.drawn.size(), 4u);
}

TEST(PlainLayout, ACharacterWiderThanTheLineDoesNotLoop) {
  FixedFont font;
  auto items = Items();
  zo::LayoutPlainText(0, 0, 100, 1 << 30, "AWB", 0, 16, font, items.get());
  ASSERT_EQ(items->count, 4);
  ExpectCell(items->cell[2], 0, 16, 1000, 32);  // alone on its line
  ExpectCell(items->cell[3], 0, 32, 8, 48);
}

TEST(PlainLayout, LongTextsKeepDrawingButStopRecording) {
  FixedFont font;
  auto items = Items();
  const std::string text(5000, 'x');
  zo::LayoutPlainText(0, 0, 1 << 20, 1 << 30, text.c_str(), 0, 16, font, items.get());
  EXPECT_EQ(items->count, zo::MaxTextItems);
  EXPECT_EQ(font.drawn.size(), 5000u);
  EXPECT_EQ(items->cell[0].right, 5000 * 8);
}

TEST(GlyphCopies, ShadowFirstThenTextAndBoldCopies) {
  zo::GlyphCopy c[5];
  ASSERT_EQ(zo::GlyphCopies(0, false, c), 1);
  ASSERT_EQ(zo::GlyphCopies(zo::TextShadow, false, c), 2);
  EXPECT_TRUE(c[0].shadow);
  EXPECT_EQ(c[0].dx, 1);
  EXPECT_EQ(c[0].dy, 1);
  ASSERT_EQ(zo::GlyphCopies(zo::TextShadow | zo::TextBoldX | zo::TextBoldY, false, c), 5);
  EXPECT_EQ(c[0].dx, 2);
  EXPECT_EQ(c[0].dy, 2);
  EXPECT_EQ(c[2].dx, 1);
  EXPECT_EQ(c[2].dy, 0);
  EXPECT_EQ(c[3].dx, 1);
  EXPECT_EQ(c[3].dy, 1);
  EXPECT_EQ(c[4].dx, 0);
  EXPECT_EQ(c[4].dy, 1);
  ASSERT_EQ(zo::GlyphCopies(zo::TextShadow | zo::TextBoldY, true, c), 3);
  EXPECT_EQ(c[0].dx, 2);
  EXPECT_EQ(c[0].dy, 3);
}

TEST(TextColor, DarkColoursAreLifted) {
  EXPECT_EQ(zo::LiftTextColor(0), 0x101010u);
  EXPECT_EQ(zo::LiftTextColor(0x0F0F0F), 0x101010u);
  EXPECT_EQ(zo::LiftTextColor(0x100000), 0x100000u);
  EXPECT_EQ(zo::LiftTextColor(0xFFFFFF), 0xFFFFFFu);
  EXPECT_TRUE(zo::IsHangingChar("、", 2));
  EXPECT_TRUE(zo::IsHangingChar(" ", 1));
  EXPECT_FALSE(zo::IsHangingChar("A", 1));
}

TEST(SmoothLayout, CellsAreHalfTheBufferAndTheLineFlushesOnce) {
  FixedFont font;
  font.scale = 2;
  auto items = Items();
  zo::LayoutSmoothText(10, 20, 600, 400, "AB", zo::TextShadow, 32, 640, font, items.get());
  ASSERT_EQ(items->count, 3);
  ExpectCell(items->cell[1], 10, 20, 19, 37);  // 16 + 2 double-size pixels wide
  ExpectCell(items->cell[2], 19, 20, 28, 37);
  ASSERT_EQ(font.flushed.size(), 1u);
  EXPECT_EQ(font.flushed[0].x, 10);
  EXPECT_EQ(font.flushed[0].width2, 36);
  EXPECT_EQ(font.flushed[0].height2, 34);
  EXPECT_EQ(font.drawn[1].x, 18);  // buffer position
  ExpectCell(items->cell[0], 10, 20, 28, 37);
}

TEST(SmoothLayout, WrapsHangsAndBreaksLines) {
  FixedFont font;
  font.scale = 2;
  auto items = Items();
  zo::LayoutSmoothText(0, 0, 20, 400, "AB。C\nD", 0, 32, 640, font, items.get());
  // A B fit, 。 reaches 24 >= 20 and hangs; C and the newline end line two.
  ASSERT_EQ(items->count, 5);
  ExpectCell(items->cell[3], 0, 16, 8, 32);   // C
  ExpectCell(items->cell[4], 0, 32, 8, 48);   // D
  ASSERT_EQ(font.flushed.size(), 3u);
  EXPECT_EQ(font.flushed[0].width2, 64);      // A, B and the hanging stop
  EXPECT_EQ(font.flushed[1].y, 16);
}

TEST(SmoothLayout, TextWiderThanTheBufferContinuesTheSameLine) {
  FixedFont font;
  font.scale = 2;
  auto items = Items();
  zo::LayoutSmoothText(0, 0, 600, 400, "ABCDEFGHIJ", 0, 32, 64, font, items.get());
  ASSERT_GE(font.flushed.size(), 3u);
  for (const Flushed& f : font.flushed) EXPECT_EQ(f.y, 0);
  EXPECT_EQ(font.flushed[1].x, 24);  // three characters of 16 fit below 64
  EXPECT_EQ(items->count, 11);
  ExpectCell(items->cell[10], 72, 0, 80, 16);
}

TEST(SmoothLayout, ACharacterWiderThanTheBufferDoesNotLoop) {
  FixedFont font;
  font.scale = 2;
  auto items = Items();
  zo::LayoutSmoothText(0, 0, 1 << 20, 1 << 20, "AWB", 0, 32, 640, font, items.get());
  EXPECT_EQ(items->count, 4);
  EXPECT_LE(font.flushed.size(), 4u);
}

TEST(Reveal, IntervalZeroShowsEverything) {
  zo::RevealState s{0, 0};
  const zo::RevealFrame f = zo::StepReveal(&s, 4, 0.0f, 0.016f);
  EXPECT_TRUE(f.wholeBox);
  EXPECT_EQ(f.result, 1);
}

TEST(Reveal, OneCharacterPerIntervalFromTheThirdCall) {
  // Items: the box and three characters.
  zo::RevealState s{0, 0};
  std::vector<zo::RevealFrame> frames;
  for (int i = 0; i < 8; ++i) frames.push_back(zo::StepReveal(&s, 4, 0.1f, 0.1f));
  EXPECT_EQ(frames[0].cells, 0);
  EXPECT_EQ(frames[1].cells, 0);
  EXPECT_EQ(frames[2].cells, 1);
  EXPECT_EQ(frames[3].cells, 2);
  EXPECT_EQ(frames[4].cells, 3);  // the last character first shows
  EXPECT_EQ(frames[4].result, 0);
  EXPECT_EQ(frames[5].result, 1);
  EXPECT_TRUE(frames[5].wholeBox);
  EXPECT_TRUE(frames[6].wholeBox);
  EXPECT_EQ(frames[6].result, 1);
}

TEST(Reveal, WaitsForTheInterval) {
  zo::RevealState s{0, 0};
  zo::StepReveal(&s, 4, 0.1f, 0.04f);
  zo::StepReveal(&s, 4, 0.1f, 0.04f);
  EXPECT_EQ(s.count, 0);
  zo::StepReveal(&s, 4, 0.1f, 0.04f);
  EXPECT_EQ(s.count, 1);
  EXPECT_EQ(s.timer, 0.0f);
}
