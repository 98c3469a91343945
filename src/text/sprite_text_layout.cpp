#include "text/sprite_text_layout.h"

#include <algorithm>
#include <cstring>

namespace zo {

const char* const HangingChars[15] = {"、", "。", "，", "．", "・", "…", "‥", "”",
                                      "’",  "（", "」", ",",  ".",  "　", " "};

namespace {

// Items past the table's end are drawn but not recorded.
bool Record(TextItems* items, const TextCell& c) {
  if (items->count >= MaxTextItems) return false;
  items->cell[items->count++] = c;
  return true;
}

void Drop(TextItems* items, bool recorded) {
  if (recorded) --items->count;
}

void Start(TextItems* items, int x, int y) {
  items->cell[0] = TextCell{x, y, x, y};
  items->count = 1;
}

}  // namespace

int GlyphCopies(unsigned flags, bool doubleSize, GlyphCopy out[5]) {
  const bool boldX = flags & TextBoldX, boldY = flags & TextBoldY;
  int n = 0;
  if (flags & TextShadow) {
    const int base = doubleSize ? 2 : 1;
    out[n++] = GlyphCopy{base + (boldX ? 1 : 0), base + (boldY ? 1 : 0), true};
  }
  out[n++] = GlyphCopy{0, 0, false};
  if (boldX) {
    out[n++] = GlyphCopy{1, 0, false};
    if (boldY) out[n++] = GlyphCopy{1, 1, false};
  }
  if (boldY) out[n++] = GlyphCopy{0, 1, false};
  return n;
}

int CharacterLength(const char* text, int length, int p) {
  return IsSjisLeadByte(static_cast<unsigned char>(text[p])) && p + 1 < length ? 2 : 1;
}

bool IsHangingChar(const char* bytes, int length) {
  for (const char* h : HangingChars)
    if (int(std::strlen(h)) == length && std::memcmp(h, bytes, size_t(length)) == 0) return true;
  return false;
}

uint32_t LiftTextColor(uint32_t c) {
  if ((c & 0xFF) < 16 && ((c >> 8) & 0xFF) < 16 && ((c >> 16) & 0xFF) < 16) return 0x101010;
  return c;
}

void LayoutPlainText(int x, int y, int right, int bottom, const char* text, unsigned flags, int fontHeight,
                     TextSink& sink, TextItems* items) {
  const int length = int(std::strlen(text));
  int cx = x, cy = y;
  int lineHeight = int(flags & 0xFF) + fontHeight;
  Start(items, x, y);
  TextCell& box = items->cell[0];
  for (int p = 0; p < length; ++p) {
    const char* ch = text + p;
    const int n = CharacterLength(text, length, p);
    const bool newline = ch[0] == '\n';
    GlyphSize size{0, 0};
    if (!newline) {
      size = sink.Measure(ch, n);
      if (flags & TextShadow) ++size.width, ++size.height;
      if (flags & TextBoldX) ++size.width;
      if (flags & TextBoldY) ++size.height;
    }
    const TextCell cell{cx, cy, cx + size.width, cy + size.height};
    const bool recorded = Record(items, cell);
    const bool lineStart = cx == x;
    cx += size.width;
    lineHeight = std::max(lineHeight, size.height);
    // A character wider than the whole line stays on its own line instead of
    // being pushed on to the next one for ever.
    const bool over = cx > right && !(lineStart && !newline);
    if (over || newline) {
      Drop(items, recorded);
      if (over && IsHangingChar(ch, n)) {
        sink.DrawCharacter(ch, n, cell.left, cell.top);
        p += n - 1;
      } else if (!newline) {
        p -= 1;  // the loop's step brings p back to this character
      }
      cx = x;
      cy += lineHeight;
      if (cy + lineHeight >= bottom) break;
      continue;
    }
    sink.DrawCharacter(ch, n, cell.left, cell.top);
    box.right = std::max(box.right, cell.right);
    box.bottom = std::max(box.bottom, cell.bottom);
    if (cx > right) {  // the lone wide character: the next one starts a line
      cx = x;
      cy += lineHeight;
      if (cy + lineHeight >= bottom) break;
    }
    p += n - 1;
  }
}

void LayoutSmoothText(int x, int y, int right, int bottom, const char* text, unsigned flags, int fontHeight,
                      int bufferWidth, TextSink& sink, TextItems* items) {
  const int length = int(std::strlen(text));
  const int baseHeight = int(flags & 0xFF) + fontHeight;
  int bx = x, by = y, u = 0, lineHeight = baseHeight;
  Start(items, x, y);
  TextCell& box = items->cell[0];
  auto flush = [&](int width2) {
    int h = lineHeight;
    if (by + (lineHeight >> 1) > bottom) h -= (by + (lineHeight >> 1) - bottom) * 2;
    box.right = std::max(box.right, bx + (width2 >> 1));
    box.bottom = std::max(box.bottom, by + (h >> 1));
    sink.FlushLine(bx, by, width2, h);
  };
  for (int p = 0; p < length; ++p) {
    const char* ch = text + p;
    const int n = CharacterLength(text, length, p);
    const bool newline = ch[0] == '\n';
    GlyphSize size{0, 0};
    if (!newline) {
      sink.DrawCharacter(ch, n, u, 0);
      size = sink.Measure(ch, n);
      if (size.width & 1) ++size.width;
      if (size.height & 1) ++size.height;
      if (flags & TextShadow) size.width += 2, size.height += 2;
      if (flags & TextBoldX) ++size.width;
      if (flags & TextBoldY) ++size.height;
    }
    const int w2 = size.width;
    const bool recorded =
        Record(items, TextCell{bx + (u >> 1), by, bx + (u >> 1) + (w2 >> 1), by + (size.height >> 1)});
    const bool segmentStart = u == 0;
    u += w2;
    lineHeight = std::max(lineHeight, size.height);
    const bool pastLimit = bx + (u >> 1) >= right;
    if (!(pastLimit || u >= bufferWidth || newline)) {
      p += n - 1;
      continue;
    }
    // A character alone in its segment is flushed with it: stepping back
    // would meet it again with nothing changed.
    const bool alone = segmentStart && !newline;
    if (alone) {
      p += n - 1;
    } else {
      Drop(items, recorded);
      if (!(pastLimit && IsHangingChar(ch, n))) {
        if (!newline) {
          u -= w2;
          p -= 1;  // the loop's step brings p back to this character
        }
      } else {
        p += n - 1;
      }
    }
    flush(u);
    bx += u >> 1;
    if (bx + (w2 >> 1) >= right || newline) {
      bx = x;
      by += lineHeight >> 1;
    }
    u = 0;
    lineHeight = baseHeight;
    if (by >= bottom) return;
  }
  if (u != 0) flush(u);
}

RevealFrame StepReveal(RevealState* s, int itemCount, float interval, float elapsed) {
  RevealFrame f{false, 0, 0};
  if (interval == 0.0f || s->count > itemCount) {
    f.wholeBox = true;
    s->count = itemCount + 1;
  } else {
    f.cells = std::max(0, std::min(s->count - 1, itemCount - 1));
  }
  if (itemCount < s->count) {
    f.result = 1;
    return f;
  }
  s->timer += elapsed;
  if (interval <= s->timer) {
    ++s->count;
    s->timer = 0;
  }
  return f;
}

}  // namespace zo
