// The font list, the shared font description and the text scopes.
#include <cstring>

#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "text/font_rules.h"
#include "text/text_scope_win.h"
#include "zo.h"

FontEntry fontList[FontListCapacity];
int fontCount;
LOGFONTA* fontDesc;
int fontHeight;
COLORREF textColor, shadowColor;
int blitAfterRender;

namespace zo {

HDC textDC;

namespace {

HFONT scopeFont, keptFont;
IDirectDrawSurface* scopeSurface;  // the surface whose DC textDC is
HDC screenDC;
const int FontBufferObject = 3;

const char* const StockFaces[2] = {"標準明朝", "標準ゴシック"};

int KindOf(BYTE charSet) {
  if (charSet == SHIFTJIS_CHARSET) return 1;
  if (charSet == SYMBOL_CHARSET) return 3;
  return 2;
}

// Copies a face name into lfFaceName, cutting what does not fit without
// leaving half of a two-byte character behind.
void SetFaceName(const char* face) {
  const size_t capacity = sizeof fontDesc->lfFaceName;
  size_t n = 0;
  while (face[n] && n < capacity - 1) {
    size_t len = IsDBCSLeadByte(static_cast<BYTE>(face[n])) && face[n + 1] ? 2 : 1;
    if (n + len > capacity - 1) break;
    n += len;
  }
  std::memcpy(fontDesc->lfFaceName, face, n);
  fontDesc->lfFaceName[n] = '\0';
}

void SelectStockFace(int selector) {
  if (selector == 0 || selector == 1) SetFaceName(StockFaces[selector]);
}

LONG WeightOf(int selector) {
  if (selector == 0) return FW_NORMAL;
  if (selector == 1) return FW_BOLD;
  return FW_DONTCARE;
}

void DescribeFont(int height, int angle, int weight, int italic, int underline) {
  fontHeight = height;
  fontDesc->lfHeight = height;
  fontDesc->lfWidth = 0;
  fontDesc->lfEscapement = zo::EscapementOf(angle);
  fontDesc->lfWeight = WeightOf(weight);
  fontDesc->lfItalic = static_cast<BYTE>(italic);
  fontDesc->lfUnderline = static_cast<BYTE>(underline);
  fontDesc->lfCharSet = SHIFTJIS_CHARSET;
}

void DescribeBufferFont(int size) {
  DescribeFont(zo::DoubledFontSize(size), 0, 0, 0, 0);
}

// A named face takes the character set it was enumerated with.
void TakeListedCharSet(const char* face) {
  for (const FontEntry& entry : fontList) {
    if (std::strcmp(entry.faceName, face) == 0) {
      fontDesc->lfCharSet = entry.charSet;
      return;
    }
  }
}

int CALLBACK ListFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM) {
  if (fontCount >= FontListCapacity) return 0;
  FontEntry& entry = fontList[fontCount];
  std::memset(entry.faceName, 0, sizeof entry.faceName);
  std::memcpy(entry.faceName, font->lfFaceName, sizeof font->lfFaceName);
  entry.kind = KindOf(font->lfCharSet);
  entry.charSet = font->lfCharSet;
  ++fontCount;
  return 1;
}

IDirectDrawSurface* FontBufferSurface() { return drawObjects[FontBufferObject].surface; }

}  // namespace

void OpenTextScope(IDirectDrawSurface* surface) {
  CloseTextScope();
  if (!fontDesc || !surface) return;
  HFONT font = CreateFontIndirectA(fontDesc);
  HDC dc = nullptr;
  if (!font || surface->GetDC(&dc) != DD_OK) {
    if (font) DeleteObject(font);
    return;
  }
  scopeFont = font;
  scopeSurface = surface;
  textDC = dc;
  keptFont = static_cast<HFONT>(SelectObject(textDC, scopeFont));
}

void CloseTextScope() {
  if (!textDC) return;
  SelectObject(textDC, keptFont);
  DeleteObject(scopeFont);
  if (scopeSurface) scopeSurface->ReleaseDC(textDC);
  textDC = nullptr;
  scopeSurface = nullptr;
  scopeFont = keptFont = nullptr;
}

SavedTextScope SuspendTextScope() {
  SavedTextScope saved{};
  saved.height = fontHeight;
  saved.textColor = textColor;
  saved.shadowColor = shadowColor;
  if (fontDesc) saved.desc = *fontDesc;
  if (!textDC) return saved;
  saved.surface = scopeSurface;
  saved.font = scopeFont;
  saved.ink = GetTextColor(textDC);
  saved.background = GetBkColor(textDC);
  saved.backgroundMode = GetBkMode(textDC);
  SelectObject(textDC, keptFont);
  if (scopeSurface) scopeSurface->ReleaseDC(textDC);
  textDC = nullptr;
  scopeSurface = nullptr;
  scopeFont = keptFont = nullptr;
  return saved;
}

void ResumeTextScope(const SavedTextScope& saved) {
  CloseTextScope();
  fontHeight = saved.height;
  textColor = saved.textColor;
  shadowColor = saved.shadowColor;
  if (fontDesc) *fontDesc = saved.desc;
  if (!saved.surface) return;
  HDC dc = nullptr;
  if (saved.surface->GetDC(&dc) != DD_OK) {
    DeleteObject(saved.font);
    return;
  }
  textDC = dc;
  scopeSurface = saved.surface;
  scopeFont = saved.font;
  keptFont = static_cast<HFONT>(SelectObject(textDC, scopeFont));
  SetTextColor(textDC, saved.ink);
  SetBkColor(textDC, saved.background);
  SetBkMode(textDC, saved.backgroundMode);
}

}  // namespace zo

namespace zoDraw {

HDC GetScreenDC() {
  zo::screenDC = nullptr;
  if (backSurface && backSurface->GetDC(&zo::screenDC) != DD_OK) zo::screenDC = nullptr;
  return zo::screenDC;
}

void ReleaseScreenDC() {
  if (zo::screenDC && backSurface) backSurface->ReleaseDC(zo::screenDC);
  zo::screenDC = nullptr;
}

}  // namespace zoDraw

namespace zoText {

void EnumerateFonts() {
  if (!fontDesc) fontDesc = static_cast<LOGFONTA*>(GlobalAlloc(GPTR, sizeof(LOGFONTA)));
  for (FontEntry& entry : fontList) {
    entry.faceName[0] = '\0';
    entry.kind = -1;
    entry.charSet = 0;
  }
  fontCount = 0;
  if (HDC dc = zoDraw::GetScreenDC()) {
    EnumFontsA(dc, nullptr, zo::ListFace, 0);
    zoDraw::ReleaseScreenDC();
  }
  blitAfterRender = 1;
}

void ReleaseFonts() {
  if (fontDesc) GlobalFree(fontDesc);
  fontDesc = nullptr;
}

void BeginText(int face, int height, int angle, int weight, int italic, int underline) {
  if (!fontDesc) return;
  zo::SelectStockFace(face);
  zo::DescribeFont(height, angle, weight, italic, underline);
  zo::OpenTextScope(backSurface);
}

void BeginTextFace(const char* face, int height, int angle, int weight, int italic, int underline) {
  if (!fontDesc || !face) return;
  zo::SetFaceName(face);
  zo::DescribeFont(height, angle, weight, italic, underline);
  zo::TakeListedCharSet(face);
  zo::OpenTextScope(backSurface);
}

void EndText() { zo::CloseTextScope(); }

void BeginBufferText(int face, int size) {
  if (!fontDesc) return;
  zo::SelectStockFace(face);
  zo::DescribeBufferFont(size);
  zo::OpenTextScope(zo::FontBufferSurface());
}

void BeginBufferTextFace(const char* face, int size) {
  if (!fontDesc || !face) return;
  zo::SetFaceName(face);
  zo::DescribeBufferFont(size);
  zo::TakeListedCharSet(face);
  zo::OpenTextScope(zo::FontBufferSurface());
}

void EndBufferText() { zo::CloseTextScope(); }

}  // namespace zoText
