// Sprite text layout with a stand-in for glyph measurement, and the ink
// filter of the smooth renderer.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "text/antialias.h"
#include "text/font_rules.h"
#include "text/sprite_text_layout.h"

namespace {

// Every one-byte glyph is 8 x 16, every two-byte glyph 16 x 16 (double size
// for the smooth layout is the caller's business: it measures what it draws).
struct FakeTarget : zo::SpriteTextTarget {
  struct Put {
    std::string ch;
    int x, y;
    bool shadow;
  };
  struct Flushed {
    int x, y, w2, h2;
    bool last;
  };
  std::vector<Put> puts;
  std::vector<Flushed> flushes;
  int scale = 1;
  zo::GlyphSize Measure(const char*, int length) override {
    return {(length == 2 ? 16 : 8) * scale, 16 * scale};
  }
  void Put(const char* ch, int length, int x, int y, bool shadow) override {
    puts.push_back({std::string(ch, length), x, y, shadow});
  }
  void Flush(int x, int y, int w2, int h2, bool last) override {
    flushes.push_back({x, y, w2, h2, last});
  }
  std::string Drawn() const {
    std::string s;
    for (const auto& p : puts)
      if (!p.shadow) s += p.ch;
    return s;
  }
};

bool Rect(const IntRect& r, int l, int t, int rr, int b) {
  return r.left == l && r.top == t && r.right == rr && r.bottom == b;
}

FakeTarget Plain(const char* text, int right = 600, unsigned flags = 0, int bottom = 480) {
  FakeTarget t;
  zo::LayOutPlainText(text, 10, 20, right, bottom, flags, 16, zo::IsSjisLeadByte, t);
  return t;
}

// The smooth layout at double size (a 32-pixel font drawn at scale 2).
FakeTarget Smooth(const char* text, int right = 600, int bufferWidth = 1280, unsigned flags = 0, int x = 0,
                  int y = 0) {
  FakeTarget t;
  t.scale = 2;
  zo::LayOutSmoothText(text, x, y, right, 480, flags, 32, bufferWidth, zo::IsSjisLeadByte, t);
  return t;
}

}  // namespace

TEST(SpriteTextLayout, OneLineRecordsACellPerCharacter) {
  FakeTarget t = Plain("ABC");
  ASSERT_EQ(textItems.count, 4);
  EXPECT_TRUE(Rect(textItems.rects[1], 10, 20, 18, 36));
  EXPECT_TRUE(Rect(textItems.rects[3], 26, 20, 34, 36));
  EXPECT_TRUE(Rect(textItems.rects[0], 10, 20, 34, 36));  // the bounding box spans them
  EXPECT_EQ(t.Drawn(), "ABC");
}

TEST(SpriteTextLayout, NewlineStartsALineAndAddsNoItem) {
  FakeTarget t = Plain("AB\nC", 600, 4);  // line spacing 4: lines 20 apart
  ASSERT_EQ(textItems.count, 4);
  EXPECT_TRUE(Rect(textItems.rects[3], 10, 40, 18, 56));
  EXPECT_EQ(t.Drawn(), "ABC");
}

TEST(SpriteTextLayout, WrapsAtTheRightLimitAndLetsPunctuationHang) {
  FakeTarget t = Plain("ABC", 30);  // C would end at 34
  ASSERT_EQ(textItems.count, 4);
  EXPECT_TRUE(Rect(textItems.rects[3], 10, 36, 18, 52));
  FakeTarget h = Plain("AB。", 30);  // the full stop hangs past the limit, inside the box, with its item
  ASSERT_EQ(textItems.count, 4);
  EXPECT_EQ(h.Drawn(), "AB。");
  EXPECT_EQ(h.puts.back().x, 26);
  EXPECT_EQ(h.puts.back().y, 20);
  EXPECT_TRUE(Rect(textItems.rects[3], 26, 20, 42, 36));
  EXPECT_TRUE(Rect(textItems.rects[0], 10, 20, 42, 36));
  FakeTarget m = Plain("AB。CD", 30);  // in the middle: the next line starts after it, in reading order
  ASSERT_EQ(textItems.count, 6);
  EXPECT_EQ(m.Drawn(), "AB。CD");
  EXPECT_TRUE(Rect(textItems.rects[3], 26, 20, 42, 36));
  EXPECT_TRUE(Rect(textItems.rects[4], 10, 36, 18, 52));
  EXPECT_TRUE(Rect(textItems.rects[0], 10, 20, 42, 52));
}

TEST(SpriteTextLayout, SmoothHangingPunctuationStaysInTheBoxWithoutAnItem) {
  FakeTarget t = Smooth("AB。", 20);
  EXPECT_EQ(textItems.count, 3);  // A and B; the full stop hangs like a newline has no cell
  ASSERT_EQ(t.flushes.size(), 1u);
  EXPECT_EQ(t.flushes[0].w2, 64);  // its ink goes through the filter with the line
  EXPECT_TRUE(Rect(textItems.rects[0], 0, 0, 32, 16));  // and the blitted box holds it (16..32)
  FakeTarget m = Smooth("AB。CD", 20);
  ASSERT_EQ(textItems.count, 5);
  EXPECT_TRUE(Rect(textItems.rects[3], 0, 16, 8, 32));  // C starts the next line
  EXPECT_TRUE(Rect(textItems.rects[0], 0, 0, 32, 32));
}

TEST(SpriteTextLayout, TwoByteCharactersAreOneItem) {
  FakeTarget t = Plain("日本A");
  ASSERT_EQ(textItems.count, 4);
  EXPECT_TRUE(Rect(textItems.rects[1], 10, 20, 26, 36));
  EXPECT_TRUE(Rect(textItems.rects[2], 26, 20, 42, 36));
  EXPECT_EQ(t.puts[1].ch, "本");
}

TEST(SpriteTextLayout, ShadowAndBoldWidenCellsAndAddCopies) {
  FakeTarget t = Plain("A", 600, TextShadow | TextBoldX | TextBoldY);
  EXPECT_TRUE(Rect(textItems.rects[1], 10, 20, 20, 38));
  ASSERT_EQ(t.puts.size(), 5u);
  EXPECT_TRUE(t.puts[0].shadow);
  EXPECT_EQ(t.puts[0].x, 12);  // further out when emboldened
  EXPECT_EQ(t.puts[0].y, 22);
  EXPECT_EQ(t.puts[2].x, 11);
  EXPECT_EQ(t.puts[3].y, 21);
  FakeTarget s = Plain("A", 600, TextShadow);
  EXPECT_TRUE(Rect(textItems.rects[1], 10, 20, 19, 37));
  EXPECT_EQ(s.puts[0].x, 11);
}

TEST(SpriteTextLayout, StopsAtTheBottomLimit) {
  FakeTarget t = Plain("AAAAAAAA", 30, 0, 60);  // two per line; the third line would reach 68
  EXPECT_EQ(t.Drawn(), "AAAA");
  EXPECT_EQ(textItems.count, 5);
}

TEST(SpriteTextLayout, ACharacterWiderThanTheLineDoesNotLoop) {
  FakeTarget t = Plain("WAB", 14);  // nothing fits in 4 pixels
  EXPECT_EQ(t.Drawn(), "WAB");
  EXPECT_EQ(textItems.count, 4);
}

TEST(SpriteTextLayout, ItemsStopAtTheTableButDrawingGoesOn) {
  FakeTarget t;
  std::string text(4000, 'i');
  zo::LayOutPlainText(text.c_str(), 0, 0, 1 << 30, 1 << 30, 0, 16, zo::IsSjisLeadByte, t);
  EXPECT_EQ(textItems.count, TextItemCapacity);
  EXPECT_EQ(t.puts.size(), 4000u);
  // Wrapping past the full table drops no recorded cell.
  FakeTarget w;
  std::string lines(3300, 'i');
  zo::LayOutPlainText(lines.c_str(), 0, 0, 80, 1 << 30, 0, 16, zo::IsSjisLeadByte, w);
  EXPECT_EQ(textItems.count, TextItemCapacity);
  EXPECT_EQ(textItems.rects[TextItemCapacity - 1].left, 8 * ((TextItemCapacity - 2) % 10));
}

TEST(SpriteTextLayout, SmoothLinesFlushInDoubleSizeSegments) {
  FakeTarget t = Smooth("ABC", 600, 1280, 0, 10, 20);
  ASSERT_EQ(t.flushes.size(), 1u);
  EXPECT_EQ(t.flushes[0].x, 10);
  EXPECT_EQ(t.flushes[0].w2, 48);
  EXPECT_EQ(t.flushes[0].h2, 32);
  ASSERT_EQ(textItems.count, 4);
  EXPECT_TRUE(Rect(textItems.rects[2], 18, 20, 26, 36));
  EXPECT_TRUE(Rect(textItems.rects[0], 10, 20, 34, 36));
  EXPECT_EQ(t.puts[1].x, 16);  // buffer position of B
}

TEST(SpriteTextLayout, SmoothShadowWidensByTwoDoubleSizePixels) {
  FakeTarget t = Smooth("A", 600, 1280, TextShadow);
  EXPECT_TRUE(Rect(textItems.rects[1], 0, 0, 9, 17));
  EXPECT_EQ(t.puts[0].x, 2);
  EXPECT_EQ(t.puts[0].y, 2);
}

TEST(SpriteTextLayout, SmoothBufferWidthContinuesTheSameLine) {
  // A buffer of 40 double-size pixels holds two characters of 16.
  FakeTarget t = Smooth("ABCDE", 600, 40);
  ASSERT_GE(t.flushes.size(), 2u);
  EXPECT_EQ(t.flushes[0].x, 0);
  EXPECT_EQ(t.flushes[1].x, 16);  // continues where the first segment ended
  EXPECT_EQ(t.flushes[1].y, 0);
  EXPECT_EQ(textItems.count, 6);
  for (size_t i = 0; i < t.flushes.size(); ++i) EXPECT_EQ(t.flushes[i].last, i + 1 == t.flushes.size());
}

TEST(SpriteTextLayout, SmoothWrapsHangsAndNeverLoops) {
  FakeTarget t = Smooth("AB\nCD");
  ASSERT_EQ(t.flushes.size(), 2u);
  EXPECT_EQ(t.flushes[1].y, 16);
  FakeTarget w = Smooth("WWW", 4, 10);
  // Each too-wide character gets a segment of its own, on a line of its own.
  EXPECT_EQ(textItems.count, 4);
  ASSERT_EQ(w.flushes.size(), 3u);
  EXPECT_EQ(w.flushes[2].y, 32);
  EXPECT_EQ(w.flushes[2].w2, 16);
}

TEST(SpriteTextLayout, InkLiftAndHangingSet) {
  EXPECT_EQ(zo::LiftInk(0), 0x101010u);
  EXPECT_EQ(zo::LiftInk(0x0F0F0F), 0x101010u);
  EXPECT_EQ(zo::LiftInk(0x100000), 0x100000u);
  EXPECT_EQ(zo::LiftInk(0xFFFFFF), 0xFFFFFFu);
  for (const char* h : {"、", "。", "，", "．", "・", "…", "‥", "”", "’", "（", "」", ",", ".", "　", " "})
    EXPECT_TRUE(zo::IsHangingChar(h, static_cast<int>(std::string(h).size()))) << h;
  EXPECT_FALSE(zo::IsHangingChar("A", 1));
  EXPECT_FALSE(zo::IsHangingChar("字", 2));
}

namespace {

struct Planes {
  std::vector<uint16_t> buffer, font, back;
  int w2, h2, w, h;
  Planes(int w, int h) : buffer(4 * w * h), font(w * h), back(w * h), w2(2 * w), h2(2 * h), w(w), h(h) {}
  zo::SurfaceView<const uint16_t> B() { return {buffer.data(), w2, w2, h2}; }
  zo::SurfaceView<uint16_t> F() { return {font.data(), w, w, h}; }
  zo::SurfaceView<const uint16_t> U() { return {back.data(), w, w, h}; }
};

const zo::InkChannels Five = {{11, 6, 0}, 31};

}  // namespace

TEST(InkFilter, FullInkNoInkAndEdges) {
  Planes p(8, 4);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 6; ++x) p.buffer[y * 16 + x] = (20 << 11) | (20 << 6) | 20;
  for (auto& v : p.back) v = (4 << 11) | (4 << 6) | 4;
  zo::AntialiasLine16(p.B(), p.F(), p.U(), Five, 0, 0, 0, 0, 16, 8, IntRect{0, 0, 8, 4});
  // (1, 1): centre (2, 2), all nine neighbours ink: (9*20 + 31) / 8 = 26.
  EXPECT_EQ(p.font[1 * 8 + 1], (26 << 11) | (26 << 6) | 26);
  // (0, 0): centre (0, 0), four neighbours in the line: (4*20 + 31 + 4*4) / 8 = 15.
  EXPECT_EQ(p.font[0], (15 << 11) | (15 << 6) | 15);
  // (3, 1): centre (6, 2); ink only in column 5: 3 pixels: (60 + 31 + 5*4) / 8 = 13.
  EXPECT_EQ(p.font[1 * 8 + 3], (13 << 11) | (13 << 6) | 13);
  // (5, 1): no ink nearby stays transparent.
  EXPECT_EQ(p.font[1 * 8 + 5], 0);
}

TEST(InkFilter, BrightInkSaturates) {
  Planes p(2, 2);
  for (auto& v : p.buffer) v = (31 << 11) | (31 << 6) | 31;
  zo::AntialiasLine16(p.B(), p.F(), p.U(), Five, 0, 0, 0, 0, 4, 4, IntRect{0, 0, 2, 2});
  EXPECT_EQ(p.font[3], (31 << 11) | (31 << 6) | 31);
}

TEST(InkFilter, ClipRectanglesLargerThanTheSurfacesStayInside) {
  Planes p(4, 4);
  for (auto& v : p.buffer) v = 0xFFFF;
  // A huge clip area and a line wider than everything: only the surfaces count.
  zo::AntialiasLine16(p.B(), p.F(), p.U(), Five, -3, -2, 0, 0, 400, 300,
                      IntRect{-1000, -1000, 1000, 1000});
  zo::AntialiasLine16(p.B(), p.F(), p.U(), Five, 2, 2, 0, 0, 400, 300,
                      IntRect{-1000, -1000, 1000, 1000});
  EXPECT_NE(p.font[3 * 4 + 3], 0);
}

TEST(InkFilter, ClippingShiftsTheSourceByTwo) {
  Planes p(8, 4);
  p.buffer[0 * 16 + 4] = (31 << 11);  // ink at double-size column 4
  zo::AntialiasLine16(p.B(), p.F(), p.U(), Five, -1, 0, 0, 0, 16, 8, IntRect{0, 0, 8, 4});
  // Output x 0 starts at source column 2: its neighbourhood 1..3 misses the ink;
  // output x 1 has centre 4.
  EXPECT_EQ(p.font[0], 0);
  EXPECT_NE(p.font[1], 0);
}

// Extreme caller integers: the layouts end and hand out cells inside int
// range, the ink filter stays inside its surfaces (before: overflows, and
// loops of billions of pixels), the font description stays in range.
TEST(TextExtremes, IntMinAndIntMaxCallers) {
  const int v[] = {INT_MIN, -1, 0, 16, INT_MAX - 5, INT_MAX};
  for (int x : v)
    for (int limit : v)
      for (int height : v) {
        FakeTarget t, s;
        s.scale = 2;
        zo::LayOutPlainText("AB。CD\nEF", x, x, limit, limit, 0x7FF, height, zo::IsSjisLeadByte, t);
        for (int i = 1; i < textItems.count; ++i) ASSERT_LE(textItems.rects[i].left, textItems.rects[i].right);
        zo::LayOutSmoothText("AB。CD\nEF", x, x, limit, limit, 0x7FF, height, 1280, zo::IsSjisLeadByte, s);
        for (int i = 1; i < textItems.count; ++i) ASSERT_LE(textItems.rects[i].top, textItems.rects[i].bottom);
        Planes p(4, 4);
        for (auto& px : p.buffer) px = 0xFFFF;
        for (const IntRect& clip : {IntRect{0, 0, 4, 4}, IntRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}})
          zo::AntialiasLine16(p.B(), p.F(), p.U(), Five, x, limit, height, x, limit, height, clip);
      }
  EXPECT_EQ(zo::EscapementOf(90), 900);
  EXPECT_EQ(zo::EscapementOf(214748364), 2147483640);
  EXPECT_EQ(zo::EscapementOf(INT_MAX), int(21474836470LL % 3600));
  EXPECT_EQ(zo::EscapementOf(INT_MIN), int(-21474836480LL % 3600));
  EXPECT_EQ(zo::DoubledFontSize(12), 24);
  EXPECT_EQ(zo::DoubledFontSize(INT_MAX), INT_MAX);
  EXPECT_EQ(zo::DoubledFontSize(INT_MIN), INT_MIN);
}
