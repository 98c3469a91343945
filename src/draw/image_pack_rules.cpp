#include "draw/image_pack_rules.h"

#include <cstring>
#include <vector>

namespace zo {

namespace {

bool ReadUint16(PackReader& reader, uint16_t* value) {
  uint8_t b[2];
  if (reader.Read(b, 2) != 2) return false;
  *value = static_cast<uint16_t>(b[0] | b[1] << 8);
  return true;
}

}  // namespace

bool FindPackEntry(PackReader& reader, const char* key, ImagePackEntry* entry) {
  for (;;) {
    if (!ReadUint16(reader, &entry->width) || !ReadUint16(reader, &entry->height)) return false;
    if (!ReadPackName(reader, entry->name)) return false;
    if (std::strcmp(entry->name, key) == 0) return true;
    uint64_t bytes = uint64_t{entry->width} * entry->height * 2;
    if (!reader.Skip(bytes)) return false;
  }
}

namespace {

// One row of little-endian pack pixels into screen pixels. The screen's own
// layouts take fixed masks, which the compiler turns into vector code.
template <typename Convert>
void ExpandRow(const uint8_t* raw, size_t got, uint16_t last, uint16_t* row, int width, Convert convert) {
  for (size_t x = 0; x < got; ++x) row[x] = convert(static_cast<unsigned>(raw[2 * x] | raw[2 * x + 1] << 8));
  const uint16_t repeated = convert(last);
  for (size_t x = got; x < static_cast<size_t>(width); ++x) row[x] = repeated;
}

}  // namespace

size_t ExpandPackPixels(PackReader& reader, uint16_t* rows, ptrdiff_t pitch, int width,
                        int height, const uint16_t fivePos[3]) {
  if (width <= 0 || height <= 0) return 0;
  std::vector<uint8_t> raw(static_cast<size_t>(width) * 2);
  uint16_t last = 0;
  size_t total = 0;
  bool ended = false;
  const unsigned r = fivePos[0], g = fivePos[1], b = fivePos[2];
  const bool is565 = r == 11 && g == 6 && b == 0, is555 = r == 10 && g == 5 && b == 0;
  for (int y = 0; y < height; ++y) {
    size_t got = 0;
    if (!ended) {
      size_t bytes = reader.Read(raw.data(), raw.size());
      got = bytes / 2;
      ended = bytes < raw.size();
    }
    if (got > 0) last = static_cast<uint16_t>(raw[2 * got - 2] | raw[2 * got - 1] << 8);
    total += got;
    uint16_t* row = rows + y * pitch;
    if (is565) {  // red and green up one bit, green's lowest bit 0
      ExpandRow(raw.data(), got, last, row, width,
                [](unsigned v) { return static_cast<uint16_t>((v & 0x7FE0u) << 1 | (v & 31u)); });
    } else if (is555) {  // bit 15 is ignored
      ExpandRow(raw.data(), got, last, row, width, [](unsigned v) { return static_cast<uint16_t>(v & 0x7FFFu); });
    } else {
      ExpandRow(raw.data(), got, last, row, width, [=](unsigned v) {
        return static_cast<uint16_t>(((v >> 10) & 31u) << r | ((v >> 5) & 31u) << g | (v & 31u) << b);
      });
    }
  }
  return total;
}

uint16_t ReducePackPixel(uint32_t colour) {
  unsigned red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  if (red == 0 && green == 0 && blue == 0) return 0;
  unsigned r5 = red >> 3, g5 = green >> 3, b5 = blue >> 3;
  if (r5 == 0 && g5 == 0 && b5 == 0) b5 = 1;
  return static_cast<uint16_t>(r5 << 10 | g5 << 5 | b5);
}

size_t WritePackEntryHeader(uint16_t width, uint16_t height, const char* name, uint8_t* out) {
  size_t length = std::strlen(name);
  if (length + 1 > PackNameCapacity) return 0;
  out[0] = static_cast<uint8_t>(width);
  out[1] = static_cast<uint8_t>(width >> 8);
  out[2] = static_cast<uint8_t>(height);
  out[3] = static_cast<uint8_t>(height >> 8);
  std::memcpy(out + 4, name, length + 1);
  return 4 + length + 1;
}

// ---- Screenshots ----

namespace {

void Put16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
  Put16(at, v);
  Put16(at + 2, v >> 16);
}

}  // namespace

uint32_t ScreenshotStride(uint32_t width) { return (width * 3 + 3) & ~3u; }

void BuildScreenshotHeader(uint32_t width, uint32_t height, uint8_t out[ScreenshotHeaderSize]) {
  std::memset(out, 0, ScreenshotHeaderSize);
  const uint32_t image = ScreenshotStride(width) * height;
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, ScreenshotHeaderSize + image);
  Put32(out + 10, ScreenshotHeaderSize);
  Put32(out + 14, 40);
  Put32(out + 18, width);
  Put32(out + 22, height);
  Put16(out + 26, 1);
  Put16(out + 28, 24);
  Put32(out + 34, image);
  Put32(out + 38, 2834);
  Put32(out + 42, 2834);
}

void EncodeScreenshotRow16(const uint16_t* pixels, uint32_t width,
                           const uint8_t (*components)[3], uint8_t* out) {
  uint8_t* at = out;
  for (uint32_t x = 0; x < width; ++x) {
    const uint8_t* c = components[pixels[x]];
    at[0] = static_cast<uint8_t>(c[2] * 8);
    at[1] = static_cast<uint8_t>(c[1] * 8);
    at[2] = static_cast<uint8_t>(c[0] * 8);
    at += 3;
  }
  std::memset(at, 0, ScreenshotStride(width) - width * 3);
}

void EncodeScreenshotRow32(const uint32_t* pixels, uint32_t width, unsigned redShift,
                           unsigned greenShift, unsigned blueShift, uint8_t* out) {
  uint8_t* at = out;
  for (uint32_t x = 0; x < width; ++x) {
    uint32_t p = pixels[x];
    at[0] = static_cast<uint8_t>(p >> blueShift);
    at[1] = static_cast<uint8_t>(p >> greenShift);
    at[2] = static_cast<uint8_t>(p >> redShift);
    at += 3;
  }
  std::memset(at, 0, ScreenshotStride(width) - width * 3);
}

}  // namespace zo
