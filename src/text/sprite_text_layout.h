// Line layout of sprite text: where each character of a Shift-JIS string
// goes, which cells are recorded, where lines wrap and which punctuation may
// hang past the right limit. The glyph work is left to a target, so the rules
// run anywhere; the renderers on Windows draw with GDI through it.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"
#include "zo/text_flags.h"

const int TextItemCapacity = 3200;  // the bounding box and 3199 cells

// Entry 0: bounding box of the last rendered text; 1..count-1: its cells.
struct TextItemList {
  IntRect rects[TextItemCapacity];
  int count;
};
extern TextItemList textItems;

namespace zo {

struct GlyphSize {
  int width, height;
};

class SpriteTextTarget {
 public:
  virtual ~SpriteTextTarget() = default;
  // Extent of one character (1 or 2 bytes) in the current font.
  virtual GlyphSize Measure(const char* ch, int length) = 0;
  // One copy of the character with its cell corner at (x, y), in the shadow
  // colour or the text colour.
  virtual void Put(const char* ch, int length, int x, int y, bool shadow) = 0;
  // Smooth renderer: a finished line segment of width2 x height2 double-size
  // pixels, to be shrunk to screen position (x, y). After the last segment
  // of a text the buffer is not prepared for another one.
  virtual void Flush(int x, int y, int width2, int height2, bool last) = 0;
};

// The 15 characters that may hang past the right limit instead of wrapping.
bool IsHangingChar(const char* ch, int length);

// Length in bytes of the character at p (2 for a lead byte followed by a
// trail byte); isLead tells lead bytes of the code page.
int CharLength(const char* p, bool (*isLead)(unsigned char));

// Shift-JIS lead bytes (code page 932).
bool IsSjisLeadByte(unsigned char b);

// The plain renderer's layout at screen resolution; fills textItems.
void LayOutPlainText(const char* text, int x, int y, int right, int bottom, unsigned flags,
                     int fontHeight, bool (*isLead)(unsigned char), SpriteTextTarget& target);

// The smooth renderer's layout at double size, lines drawn into a buffer of
// bufferWidth double-size pixels and flushed segment by segment.
void LayOutSmoothText(const char* text, int x, int y, int right, int bottom, unsigned flags,
                      int fontHeight, int bufferWidth, bool (*isLead)(unsigned char),
                      SpriteTextTarget& target);

// Black ink would vanish under the black colour key: channels all below 16
// are lifted to 0x101010.
uint32_t LiftInk(uint32_t colorref);

}  // namespace zo
