// Fonts and GDI text on the back surface and on the font buffer object.
#pragma once

#include <windows.h>

#include <cstdint>

#include "zo/text_flags.h"

const int FontListCapacity = 200;

struct FontEntry {
  char faceName[36];  // as enumerated
  int32_t kind;       // 1 Shift-JIS face, 3 symbol face, 2 any other, -1 free
  uint8_t charSet;    // the face's lfCharSet
};

extern FontEntry fontList[FontListCapacity];
extern int fontCount;
extern LOGFONTA* fontDesc;       // every font is made from it; null before enumeration
extern int fontHeight;           // lfHeight last set by a scope
extern COLORREF textColor, shadowColor;
extern int blitAfterRender;      // sprite text blits what it rendered
extern int revealCount;          // typewriter progress of zoText::RevealText
extern float revealTimer;

namespace zoText {
void EnumerateFonts();           // the font list and fontDesc (by zoDraw::Screen)
void ReleaseFonts();             // fontDesc freed (by zoSystem::End)

// A text scope on the back surface. Face selector 0 "標準明朝", 1 "標準ゴシック",
// other: the face last used; weight selector 0 normal, 1 bold, other don't care.
// A scope still open is closed first; EndText closes whichever is open.
void BeginText(int face, int height, int angle, int weight, int italic, int underline);
void BeginTextFace(const char* face, int height, int angle, int weight, int italic, int underline);
void EndText();

// Inside a scope:
void SetTextColors(COLORREF text, COLORREF background, int transparent);
void DrawText(int x, int y, const char* text);
// Word-wrapped in the rectangle; alignment 0 left, 1 centre, 2 right, other nothing.
void DrawTextBox(int left, int top, int right, int bottom, const char* text, int alignment);
int MeasureTextBox(int left, int top, int right, int bottom, const char* text);  // height

// A scope on the font buffer object (3) at double size, for smooth sprite text.
void BeginBufferText(int face, int size);
void BeginBufferTextFace(const char* face, int size);
void EndBufferText();

// Sprite text: rendered into object 2 and blitted with the colour key. Flags:
// line spacing in the low byte, TextShadow 0x100, TextBoldX 0x200, TextBoldY
// 0x400. The plain form runs inside a BeginText scope, the smooth
// (anti-aliased) form inside a BeginBufferText scope; each leaves its scope
// open again, with a fresh DC (set the colours again).
void DrawSpriteText(int x, int y, int right, int bottom, const char* text, unsigned flags);
void RenderSpriteText(int x, int y, int right, int bottom, const char* text, unsigned flags);
void DrawSmoothText(int x, int y, int right, int bottom, const char* text, unsigned flags);
void RenderSmoothText(int x, int y, int right, int bottom, const char* text, unsigned flags);
// Typewriter after a Render...Text: call once a frame; 1 once all is shown.
int RevealText(float interval);
}  // namespace zoText

namespace zoDraw {
HDC GetScreenDC();               // the back surface's DC, kept in a slot of its own
void ReleaseScreenDC();
}  // namespace zoDraw
