// The sprite text layout over arbitrary bytes: lead bytes at the end, lone
// trail bytes, very long lines, any flags. The first bytes choose the box,
// the flags, the font and the glyph sizes; the rest is the text. Every
// character handed to the target must lie inside the text, every cell
// recorded must fit the table, and both layouts must end.
#include <cstring>
#include <vector>

#include "fuzz_target.h"
#include "text/sprite_text_layout.h"

namespace {

class CheckingTarget final : public zo::SpriteTextTarget {
 public:
  CheckingTarget(const char* text, size_t length, uint8_t widths, uint8_t heights)
      : text_(text), length_(length), widths_(widths), heights_(heights) {}

  zo::GlyphSize Measure(const char* ch, int length) override {
    CheckChar(ch, length);
    const unsigned b = static_cast<unsigned char>(ch[0]);
    return {static_cast<int>((b * 7 + widths_) % (widths_ % 64 + 1)) * length,
            static_cast<int>(heights_ % 48)};
  }
  void Put(const char* ch, int length, int, int, bool) override {
    CheckChar(ch, length);
    ++puts;
  }
  void Flush(int, int, int width2, int, bool last) override {
    FUZZ_CHECK(!ended_);  // nothing after the last segment
    FUZZ_CHECK(width2 >= 0);
    ended_ = last;
  }
  long puts = 0;

 private:
  void CheckChar(const char* ch, int length) {
    FUZZ_CHECK(length == 1 || length == 2);
    FUZZ_CHECK(ch >= text_ && ch + length <= text_ + length_);
    if (length == 2) FUZZ_CHECK(zo::IsSjisLeadByte(static_cast<unsigned char>(ch[0])) && ch[1] != '\0');
  }
  const char* text_;
  size_t length_;
  uint8_t widths_, heights_;
  bool ended_ = false;
};

void CheckItems() {
  FUZZ_CHECK(textItems.count >= 1 && textItems.count <= TextItemCapacity);
  const IntRect& box = textItems.rects[0];
  FUZZ_CHECK(box.left <= box.right && box.top <= box.bottom);
}

}  // namespace

ZO_FUZZ_TARGET(sprite_text)(const uint8_t* data, size_t size) {
  zofuzz::Input in(data, size);
  const int x = static_cast<int16_t>(in.U16()) % 1024, y = static_cast<int16_t>(in.U16()) % 1024;
  const int right = x + in.U16() % 2048 - 64, bottom = y + in.U16() % 2048 - 64;
  const unsigned flags = in.U16();
  const int fontHeight = in.Byte() % 64;
  const int bufferWidth = 1 + in.U16() % 4096;
  const uint8_t widths = in.Byte(), heights = in.Byte();
  const bool smooth = in.Byte() & 1;

  // The text ends at its 0; a 0 inside ends it early, as it would.
  std::vector<char> text(in.rest(), in.rest() + in.left());
  text.push_back('\0');
  const size_t length = std::strlen(text.data());
  CheckingTarget target(text.data(), length, widths, heights);
  if (smooth)
    zo::LayOutSmoothText(text.data(), x, y, right, bottom, flags, fontHeight, bufferWidth, zo::IsSjisLeadByte, target);
  else
    zo::LayOutPlainText(text.data(), x, y, right, bottom, flags, fontHeight, zo::IsSjisLeadByte, target);
  CheckItems();
  // A character is put in up to five copies (shadow, text, three bold), and
  // tried on at most three segments before it stays where it is.
  FUZZ_CHECK(target.puts <= 15 * static_cast<long>(length));
  return 0;
}
