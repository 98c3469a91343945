#include "text/sprite_text_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

TextItemList textItems;

namespace zo {

namespace {

// 、。，．・…‥”’（」 , . and the two spaces, as Shift-JIS bytes spelled out
// so that every compiler gives the same table.
const char* const HangingChars[15] = {"\x81\x41", "\x81\x42", "\x81\x43", "\x81\x44", "\x81\x45", "\x81\x63",
                                      "\x81\x64", "\x81\x68", "\x81\x66", "\x81\x69", "\x81\x76",
                                      ",", ".", "\x81\x40", " "};

struct TextChar {
  const char* bytes;
  int length;  // 1, or 2 for a two-byte character
  bool newline;
};

// The character at *p; *p is left on its last byte, as the loops step on by one.
TextChar TakeChar(const char* text, int* p, bool (*isLead)(unsigned char)) {
  const char* ch = text + *p;
  const int len = CharLength(ch, isLead);
  *p += len - 1;
  return {ch, len, len == 1 && *ch == '\n'};
}

// Positions are worked out in 64 bits, so a caller's far-off start, limits
// or font height cannot overflow them, and handed out held inside int range.
int Held(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

IntRect Cell(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return IntRect{Held(left), Held(top), Held(right), Held(bottom)};
}

void BeginItems(int x, int y) {
  textItems.rects[0] = IntRect{x, y, x, y};
  textItems.count = 1;
}

// A text longer than the table keeps drawing but stops recording cells;
// the answer says whether this cell was recorded (and so may be dropped).
bool RecordItem(const IntRect& cell) {
  if (textItems.count >= TextItemCapacity) return false;
  textItems.rects[textItems.count++] = cell;
  return true;
}

void DropItem(bool recorded) {
  if (recorded && textItems.count > 1) --textItems.count;
}

void GrowBox(int64_t right, int64_t bottom) {
  IntRect& box = textItems.rects[0];
  box.right = std::max(box.right, Held(right));
  box.bottom = std::max(box.bottom, Held(bottom));
}

// Shadow first, then the text, then the bold copies. The shadow sits further
// out when the glyph is emboldened; smooth text uses double-size offsets.
void PutCopies(SpriteTextTarget& t, const char* ch, int len, int64_t x, int64_t y, unsigned flags,
               bool smooth) {
  const bool boldX = flags & TextBoldX, boldY = flags & TextBoldY;
  const int ax = Held(x), ay = Held(y), ax1 = Held(x + 1), ay1 = Held(y + 1);
  if (flags & TextShadow) {
    int sx = (boldX ? 2 : 1) + (smooth ? 1 : 0);
    int sy = (boldY ? 2 : 1) + (smooth ? 1 : 0);
    t.Put(ch, len, Held(x + sx), Held(y + sy), true);
  }
  t.Put(ch, len, ax, ay, false);
  if (boldX) {
    t.Put(ch, len, ax1, ay, false);
    if (boldY) t.Put(ch, len, ax1, ay1, false);
  }
  if (boldY) t.Put(ch, len, ax, ay1, false);
}

}  // namespace

bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

int CharLength(const char* p, bool (*isLead)(unsigned char)) {
  return isLead(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

bool IsHangingChar(const char* ch, int length) {
  for (const char* h : HangingChars)
    if (static_cast<int>(std::strlen(h)) == length && std::memcmp(h, ch, length) == 0) return true;
  return false;
}

uint32_t LiftInk(uint32_t c) {
  bool dark = (c & 0xFF) < 16 && ((c >> 8) & 0xFF) < 16 && ((c >> 16) & 0xFF) < 16;
  return dark ? 0x101010u : c;
}

void LayOutPlainText(const char* text, int x, int y, int right, int bottom, unsigned flags,
                     int fontHeight, bool (*isLead)(unsigned char), SpriteTextTarget& target) {
  int64_t cx = x, cy = y;
  int64_t lineHeight = int64_t(flags & 0xFF) + fontHeight;
  BeginItems(x, y);
  const int length = static_cast<int>(std::strlen(text));
  for (int p = 0; p < length; ++p) {
    const TextChar c = TakeChar(text, &p, isLead);
    GlyphSize cell{0, 0};
    if (!c.newline) {
      cell = target.Measure(c.bytes, c.length);
      if (flags & TextShadow) ++cell.width, ++cell.height;
      if (flags & TextBoldX) ++cell.width;
      if (flags & TextBoldY) ++cell.height;
    }
    const int64_t ax = cx;
    const bool recorded = RecordItem(Cell(cx, cy, cx + cell.width, cy + cell.height));
    cx += cell.width;
    lineHeight = std::max<int64_t>(lineHeight, cell.height);
    // A character wider than the whole line stays on its own line rather
    // than wrapping for ever.
    const bool tooWideForAnyLine = ax == x && cx > right;
    if ((cx > right && !tooWideForAnyLine) || c.newline) {
      if (cx > right && IsHangingChar(c.bytes, c.length)) {
        // Punctuation hangs past the limit: drawn, blitted and revealed
        // like every other character of the line.
        PutCopies(target, c.bytes, c.length, ax, cy, flags, false);
        GrowBox(cx, cy + cell.height);
      } else {
        DropItem(recorded);
        if (!c.newline) p -= c.length;
      }
      cx = x;
      cy += lineHeight;
      if (cy + lineHeight >= bottom) break;
    } else {
      PutCopies(target, c.bytes, c.length, ax, cy, flags, false);
      GrowBox(cx, cy + cell.height);
    }
  }
}

void LayOutSmoothText(const char* text, int x, int y, int right, int bottom, unsigned flags,
                      int fontHeight, int bufferWidth, bool (*isLead)(unsigned char),
                      SpriteTextTarget& target) {
  int64_t bx = x, by = y, u = 0;
  const int64_t baseHeight = int64_t(flags & 0xFF) + fontHeight;
  int64_t lineHeight = baseHeight;
  BeginItems(x, y);

  // Halvings are arithmetic shifts, as everywhere in double-size units.
  auto flush = [&](int64_t h2, bool last) {
    int64_t h = h2;
    if (by + (h2 >> 1) > bottom) h -= (by + (h2 >> 1) - bottom) * 2;
    GrowBox(bx + (u >> 1), by + (h >> 1));
    target.Flush(Held(bx), Held(by), Held(u), Held(h), last);
  };

  const int length = static_cast<int>(std::strlen(text));
  for (int p = 0; p < length; ++p) {
    const TextChar c = TakeChar(text, &p, isLead);
    int64_t w2 = 0, h2 = 0;
    if (!c.newline) {
      PutCopies(target, c.bytes, c.length, u, 0, flags, true);
      GlyphSize g = target.Measure(c.bytes, c.length);
      w2 = int64_t(g.width) + (g.width & 1);
      h2 = int64_t(g.height) + (g.height & 1);
      if (flags & TextShadow) w2 += 2, h2 += 2;
      if (flags & TextBoldX) ++w2;
      if (flags & TextBoldY) ++h2;
    }
    const int64_t start = u;
    const bool recorded = RecordItem(Cell(bx + (u >> 1), by, bx + (u >> 1) + (w2 >> 1), by + (h2 >> 1)));
    u += w2;
    lineHeight = std::max(lineHeight, h2);
    const bool pastRight = bx + (u >> 1) >= right;
    // A character that overflows an empty segment at the line's start, or
    // the whole buffer, would be stepped back for ever: it stays instead.
    const bool aloneTooWide =
        !c.newline && start == 0 && ((pastRight && bx == x) || u >= bufferWidth);
    if ((pastRight || u >= bufferWidth || c.newline) && !aloneTooWide) {
      // A hanging character stays in the segment, so the line's box holds
      // its ink; like a newline it has no cell of its own.
      const bool hangs = pastRight && !c.newline && IsHangingChar(c.bytes, c.length);
      DropItem(recorded);
      if (!hangs && !c.newline) {
        u -= w2;
        p -= c.length;
      }
      flush(lineHeight, false);
      bx += u >> 1;
      if (bx + (w2 >> 1) >= right || c.newline) {
        bx = x;
        by += lineHeight >> 1;
      }
      u = 0;
      lineHeight = baseHeight;
      if (by >= bottom) return;
    }
  }
  if (u != 0) flush(lineHeight, true);
}

}  // namespace zo
