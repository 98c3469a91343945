// Fonts and GDI text on a real 16-bit back surface.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw_support.h"
#include "resource_count.h"
#include "text/text_scope_win.h"
#include "zo_test.h"

namespace {

struct TextTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    ASSERT_NE(fontDesc, nullptr);
    zoDraw::ClearScreen();
  }
  static LOGFONTA ScopeFont() {
    LOGFONTA f{};
    GetObjectA(GetCurrentObject(zo::textDC, OBJ_FONT), sizeof f, &f);
    return f;
  }
  // Pixels of the back surface in the rectangle that are not value 0.
  static int Inked(int left, int top, int right, int bottom, uint16_t* only = nullptr) {
    zotest::Pixels p = zotest::ReadSurface(backSurface);
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (p.at(x, y) != 0 && (!only || p.at(x, y) == *only)) ++n;
    return n;
  }
};

}  // namespace

TEST_F(TextTest, FontListIsEnumeratedWithKinds) {
  ASSERT_GT(fontCount, 0);
  ASSERT_LE(fontCount, FontListCapacity);
  for (int i = 0; i < fontCount; ++i) {
    const FontEntry& e = fontList[i];
    EXPECT_NE(e.faceName[0], '\0');
    int want = e.charSet == SHIFTJIS_CHARSET ? 1 : e.charSet == SYMBOL_CHARSET ? 3 : 2;
    EXPECT_EQ(e.kind, want) << e.faceName;
  }
  for (int i = fontCount; i < FontListCapacity; ++i) EXPECT_EQ(fontList[i].kind, -1);
  EXPECT_EQ(blitAfterRender, 1);
}

TEST_F(TextTest, ScopeFontFollowsTheSelectors) {
  zoText::BeginText(1, 16, 0, 1, 0, 0);
  ASSERT_NE(zo::textDC, nullptr);
  LOGFONTA f = ScopeFont();
  EXPECT_EQ(f.lfHeight, 16);
  EXPECT_EQ(f.lfWeight, 700);
  EXPECT_EQ(f.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_STREQ(f.lfFaceName, "標準ゴシック");
  EXPECT_EQ(fontHeight, 16);
  zoText::EndText();
  EXPECT_EQ(zo::textDC, nullptr);

  zoText::BeginText(0, 20, 90, 0, 1, 1);
  f = ScopeFont();
  EXPECT_STREQ(f.lfFaceName, "標準明朝");
  EXPECT_EQ(f.lfEscapement, 900);
  EXPECT_EQ(f.lfWeight, 400);
  EXPECT_EQ(f.lfItalic, 1);
  EXPECT_EQ(f.lfUnderline, 1);
  zoText::EndText();

  zoText::BeginText(2, 12, 0, 5, 0, 0);  // keeps the last face; weight don't-care
  f = ScopeFont();
  EXPECT_STREQ(f.lfFaceName, "標準明朝");
  EXPECT_EQ(f.lfWeight, 0);
  zoText::EndText();
}

TEST_F(TextTest, NamedFacesTakeTheirListedCharacterSet) {
  // The first listed entry of a face decides its character set (a symbol
  // face gives 2, a Western one 0).
  const FontEntry* listed = nullptr;
  for (int i = 0; i < fontCount && !listed; ++i) {
    bool first = true;
    for (int j = 0; j < i; ++j) first = first && std::strcmp(fontList[j].faceName, fontList[i].faceName) != 0;
    if (first && fontList[i].charSet != SHIFTJIS_CHARSET) listed = &fontList[i];
  }
  ASSERT_NE(listed, nullptr);
  zoText::BeginTextFace(listed->faceName, 14, 0, 0, 0, 0);
  EXPECT_EQ(ScopeFont().lfCharSet, listed->charSet);
  EXPECT_STREQ(ScopeFont().lfFaceName, listed->faceName);
  zoText::EndText();
  zoText::BeginTextFace("NoSuchFaceAnywhere", 14, 0, 0, 0, 0);
  EXPECT_EQ(ScopeFont().lfCharSet, SHIFTJIS_CHARSET);
  zoText::EndText();
}

TEST_F(TextTest, OverlongFaceNamesAreCut) {
  std::string face(80, 'F');
  zoText::BeginTextFace(face.c_str(), 14, 0, 0, 0, 0);
  EXPECT_EQ(std::strlen(fontDesc->lfFaceName), 31u);
  zoText::EndText();
  // Never half of a two-byte character at the cut.
  std::string jp = std::string("A") + std::string(20, '\0');
  jp = "A";
  for (int i = 0; i < 20; ++i) jp += "字";
  zoText::BeginTextFace(jp.c_str(), 14, 0, 0, 0, 0);
  EXPECT_EQ(std::strlen(fontDesc->lfFaceName), 31u);
  zoText::EndText();
  std::string jp2;
  for (int i = 0; i < 20; ++i) jp2 += "字";
  zoText::BeginTextFace(jp2.c_str(), 14, 0, 0, 0, 0);
  EXPECT_EQ(std::strlen(fontDesc->lfFaceName), 30u);
  zoText::EndText();
}

TEST_F(TextTest, JapaneseTextReachesTheBackSurface) {
  zoText::BeginText(1, 24, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(10, 10, "日本語のテキスト");
  zoText::EndText();
  uint16_t white = 0xFFFF;
  EXPECT_GT(Inked(10, 10, 210, 40, &white), 60);
  EXPECT_EQ(Inked(0, 60, 640, 480), 0);
}

TEST_F(TextTest, OpaqueAndTransparentBackgrounds) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 255), 0);
  EXPECT_EQ(textColor, RGB(255, 255, 255));
  EXPECT_EQ(shadowColor, RGB(0, 0, 255));
  zoText::DrawText(0, 0, "ab");
  zoText::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 255), 1);
  zoText::DrawText(0, 100, "ab");
  zoText::EndText();
  uint16_t blue = 0x001F;
  EXPECT_GT(Inked(0, 0, 16, 16, &blue), 30);  // the cell is painted
  EXPECT_EQ(Inked(0, 100, 40, 120, &blue), 0);
}

TEST_F(TextTest, TextBoxesAlignWrapAndMeasure) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawTextBox(0, 0, 200, 100, "right", 2);
  zoText::DrawTextBox(0, 200, 200, 300, "nothing", 3);
  int one = zoText::MeasureTextBox(0, 0, 400, 400, "short line");
  int three = zoText::MeasureTextBox(0, 0, 60, 400, "several words wrap here");
  zoText::EndText();
  EXPECT_EQ(Inked(0, 0, 120, 20), 0);  // right-aligned: the left part is empty
  EXPECT_GT(Inked(120, 0, 200, 20), 0);
  EXPECT_EQ(Inked(0, 200, 640, 300), 0);
  EXPECT_GE(one, 14);
  EXPECT_LE(one, 24);
  EXPECT_GE(three, 3 * one);
}

TEST_F(TextTest, ScopesDoNothingWithoutAFontDescription) {
  zoText::ReleaseFonts();
  EXPECT_EQ(fontDesc, nullptr);
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  EXPECT_EQ(zo::textDC, nullptr);
  zoText::DrawText(0, 0, "x");
  zoText::EndText();
  zoText::BeginBufferText(1, 12);
  EXPECT_EQ(zo::textDC, nullptr);
  zoText::EndBufferText();
  zoText::EnumerateFonts();
}

TEST_F(TextTest, BufferScopeIsDoubleSizeOnTheFontBuffer) {
  zoText::BeginBufferText(1, 12);
  ASSERT_NE(zo::textDC, nullptr);
  LOGFONTA f = ScopeFont();
  EXPECT_EQ(f.lfHeight, 24);
  EXPECT_EQ(f.lfWeight, 400);
  EXPECT_EQ(f.lfEscapement, 0);
  EXPECT_EQ(fontHeight, 24);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(0, 0, "W");
  zoText::EndBufferText();
  zotest::Pixels buffer = zotest::ReadSurface(drawObjects[3].surface);
  int ink = 0;
  for (uint16_t v : buffer.px) ink += v != 0;
  EXPECT_GT(ink, 10);
}

// A scope opened inside another, by the caller or by the library's own debug
// lines, never keeps a surface's DC or leaks a font; the caller's scope comes
// back from a debug line as it was.
TEST_F(TextTest, NestedScopesGiveTheSurfaceBackAndDebugLinesKeepTheCallers) {
  const int objects = zotest::CountGdiObjects();
  uint16_t red = 0xF800;
  for (int round = 0; round < 10; ++round) {
    zoText::BeginText(0, 18, 0, 0, 0, 0);
    zoText::BeginBufferText(1, 12);
    zoText::BeginText(1, 24, 0, 1, 0, 0);
    zoText::SetTextColors(RGB(255, 0, 0), RGB(0, 0, 255), 1);
    zoDraw::DebugText(0, 300, "debug");
    zoDraw::DebugPrint(0, 320, "%d", round);
    zoDraw::DrawFps();
    ASSERT_NE(zo::textDC, nullptr);
    EXPECT_TRUE(ScopeFont().lfHeight == 24 && ScopeFont().lfWeight == 700 && fontDesc->lfHeight == 24);
    EXPECT_TRUE(fontHeight == 24 && textColor == RGB(255, 0, 0) && shadowColor == RGB(0, 0, 255));
    EXPECT_TRUE(GetTextColor(zo::textDC) == RGB(255, 0, 0) && GetBkMode(zo::textDC) == TRANSPARENT);
    zoText::DrawText(10, 10, "あ");
    zoText::EndText();
    EXPECT_EQ(zo::textDC, nullptr);
  }
  EXPECT_GT(Inked(10, 10, 40, 40, &red), 10);
  EXPECT_GT(Inked(0, 300, 60, 312), 50);  // the debug line itself
  EXPECT_EQ(zotest::CountGdiObjects(), objects);
  for (IDirectDrawSurface* s : {backSurface, drawObjects[3].surface}) {
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);  // held by a lost scope, this failed
    s->ReleaseDC(dc);
  }
}
