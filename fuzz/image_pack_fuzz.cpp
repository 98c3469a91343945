// The image pack scan and the pixel expansion over arbitrary bytes. The
// first bytes choose the name looked up, the destination pitch and the
// component positions; the rest is the pack. A found entry is expanded
// into a buffer of exactly its size, as the loader does.
#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/image_pack_rules.h"
#include "fuzz_target.h"

namespace {

// Larger entries are expanded over their first rows only.
const size_t MaxPixels = 1 << 18;

uint16_t Expanded(uint16_t v, const uint16_t pos[3]) {
  return static_cast<uint16_t>(((v >> 10) & 31u) << pos[0] | ((v >> 5) & 31u) << pos[1] | (v & 31u) << pos[2]);
}

void ExpandEntry(zo::MemoryPackReader& reader, const uint8_t* pack, const zo::ImagePackEntry& e,
                 zofuzz::Input& in) {
  const uint16_t pos[3] = {static_cast<uint16_t>(in.Byte() % 12), static_cast<uint16_t>(in.Byte() % 12),
                           static_cast<uint16_t>(in.Byte() % 12)};
  const int width = e.width;
  if (width == 0 || e.height == 0) {
    FUZZ_CHECK(zo::ExpandPackPixels(reader, nullptr, 0, width, e.height, pos) == 0);
    return;
  }
  const int pitch = width + in.Byte() % 4;
  const int height = static_cast<int>(std::min<size_t>(e.height, MaxPixels / pitch + 1));
  // Pixels left in the data: what the expansion can read at most.
  const size_t start = static_cast<size_t>(reader.Position());
  const size_t available = (static_cast<size_t>(reader.Size()) - start) / 2;
  std::vector<uint16_t> rows(static_cast<size_t>(pitch) * height, 0xBEEF);
  const size_t read = zo::ExpandPackPixels(reader, rows.data(), pitch, width, height, pos);
  FUZZ_CHECK(read <= static_cast<size_t>(width) * height);
  FUZZ_CHECK(read == std::min(available, static_cast<size_t>(width) * height));
  // Past the data every pixel repeats the last one read; the pitch's gap
  // stays untouched.
  uint16_t last = 0;
  const uint8_t* raw = pack + start;
  if (read > 0) last = static_cast<uint16_t>(raw[2 * read - 2] | raw[2 * read - 1] << 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < pitch; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      const uint16_t got = rows[static_cast<size_t>(y) * pitch + x];
      if (x >= width) {
        FUZZ_CHECK(got == 0xBEEF);
      } else if (i < read) {
        FUZZ_CHECK(got == Expanded(static_cast<uint16_t>(raw[2 * i] | raw[2 * i + 1] << 8), pos));
      } else {
        FUZZ_CHECK(got == Expanded(last, pos));
      }
    }
  }
}

}  // namespace

ZO_FUZZ_TARGET(image_pack)(const uint8_t* data, size_t size) {
  zofuzz::Input in(data, size);
  // The requested name, upper-cased as the loader does.
  char name[40] = "";
  const size_t nameLength = in.Byte() % sizeof name;
  for (size_t i = 0; i < nameLength; ++i) name[i] = static_cast<char>(in.Byte());
  char key[zo::PackNameCapacity];
  const size_t capacity = 1 + in.Byte() % zo::PackNameCapacity;
  const bool fits = zo::UpperCasePackName(name, key, capacity);
  FUZZ_CHECK(fits == (std::strlen(name) < capacity));
  if (!fits) return 0;
  FUZZ_CHECK(std::strlen(key) == std::strlen(name));
  uint8_t setting[4];
  for (uint8_t& b : setting) b = in.Byte();
  zofuzz::Input settings(setting, sizeof setting);

  zo::MemoryPackReader reader(in.rest(), in.left());
  zo::ImagePackEntry entry;
  if (zo::FindPackEntry(reader, key, &entry)) {
    FUZZ_CHECK(std::strcmp(entry.name, key) == 0);
    FUZZ_CHECK(reader.Position() <= reader.Size());
    ExpandEntry(reader, in.rest(), entry, settings);
  }
  FUZZ_CHECK(reader.Position() <= reader.Size());
  return 0;
}
