// Where the characters of sprite text go: line breaking at a right limit,
// hanging punctuation, newlines and two-byte Shift-JIS characters, for the
// plain renderer (screen pixels) and the smooth one (a double-size line
// buffer flushed segment by segment). Measuring and drawing are left to a
// sink, so the rules run anywhere.
#pragma once

#include <cstdint>

namespace zo {

const unsigned TextShadow = 0x100;
const unsigned TextBoldX = 0x200;
const unsigned TextBoldY = 0x400;

const int MaxTextItems = 3200;  // entry 0 is the bounding box

struct TextCell {
  int32_t left, top, right, bottom;
};

// The bounding box (entry 0) and the characters' cells in drawing order.
struct TextItems {
  TextCell cell[MaxTextItems];
  int count;  // entry 0 included
};

struct GlyphSize {
  int width, height;
};

class TextSink {
 public:
  virtual ~TextSink() = default;
  // Extent of one character (one or two bytes) in the current font.
  virtual GlyphSize Measure(const char* bytes, int length) = 0;
  // Draws one character with its cell starting at (x, y); the sink draws
  // the copies GlyphCopies lists.
  virtual void DrawCharacter(const char* bytes, int length, int x, int y) = 0;
  // Smooth renderer: the line buffer's first width2 x height2 double-size
  // pixels become screen pixels from (x, y); the buffer starts empty again.
  virtual void FlushLine(int x, int y, int width2, int height2) { (void)x, (void)y, (void)width2, (void)height2; }
};

// One copy of a character: offset from its position, and whether it is the
// shadow (shadow colour) or the text (text colour). Up to five, in drawing
// order; answers how many.
struct GlyphCopy {
  int dx, dy;
  bool shadow;
};
int GlyphCopies(unsigned flags, bool doubleSize, GlyphCopy out[5]);

// Shift-JIS (code page 932) lead bytes.
inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length in bytes of the character at text[p] (2 for a lead byte that has a
// second byte before the end, else 1).
int CharacterLength(const char* text, int length, int p);

// True for the punctuation that may hang past the right limit.
bool IsHangingChar(const char* bytes, int length);
extern const char* const HangingChars[15];

// Colours whose three channels are all below 16 become 0x101010, so that
// black ink survives the black colour key.
uint32_t LiftTextColor(uint32_t colorref);

// Lays out text for the plain renderer from (x, y) with right limit right
// and bottom limit bottom; lineHeight is the font height.
void LayoutPlainText(int x, int y, int right, int bottom, const char* text, unsigned flags, int fontHeight,
                     TextSink& sink, TextItems* items);

// Lays out text for the smooth renderer; bufferWidth is the line buffer's
// width (the screen width) in double-size pixels, fontHeight the double
// font's height.
void LayoutSmoothText(int x, int y, int right, int bottom, const char* text, unsigned flags, int fontHeight,
                      int bufferWidth, TextSink& sink, TextItems* items);

// The typewriter: what one frame shows of the last rendered text.
struct RevealState {
  int count;    // cells shown so far, plus one
  float timer;  // seconds since the last step
};
struct RevealFrame {
  bool wholeBox;  // draw the bounding box at once
  int cells;      // else draw cells 1 to cells
  int result;     // 1 when the whole text is shown
};
RevealFrame StepReveal(RevealState* state, int itemCount, float interval, float elapsed);

}  // namespace zo
