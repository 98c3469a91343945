// Drawing inside an open text scope.
#include <cstring>

#include "text/text_scope_win.h"
#include "zo.h"

namespace zoText {

namespace {
const UINT BoxFormat = DT_WORDBREAK | DT_NOPREFIX;
}

void SetTextColors(COLORREF text, COLORREF background, int transparent) {
  textColor = text;
  shadowColor = background;
  if (!zo::textDC) return;
  SetTextColor(zo::textDC, text);
  SetBkColor(zo::textDC, background);
  SetBkMode(zo::textDC, transparent ? TRANSPARENT : OPAQUE);
}

void DrawText(int x, int y, const char* text) {
  if (!zo::textDC || !text) return;
  TextOutA(zo::textDC, x, y, text, static_cast<int>(std::strlen(text)));
}

void DrawTextBox(int left, int top, int right, int bottom, const char* text, int alignment) {
  if (!zo::textDC || !text) return;
  UINT format;
  switch (alignment) {
    case 0: format = BoxFormat; break;
    case 1: format = BoxFormat | DT_CENTER; break;
    case 2: format = BoxFormat | DT_RIGHT; break;
    default: return;
  }
  RECT r = {left, top, right, bottom};
  DrawTextA(zo::textDC, text, -1, &r, format);
}

int MeasureTextBox(int left, int top, int right, int bottom, const char* text) {
  if (!zo::textDC || !text) return 0;
  RECT r = {left, top, right, bottom};
  return DrawTextA(zo::textDC, text, -1, &r, BoxFormat | DT_CALCRECT);
}

}  // namespace zoText
