// The sound pack scan and its format-block checks over arbitrary bytes. The
// first bytes choose the name looked up; the rest is the pack. A found entry
// must lie inside the file, and its format block is read as the loader
// reads it. The name rules run over the same bytes as a string.
#include <cstring>
#include <string>

#include "fuzz_target.h"
#include "sound/sound_pack_rules.h"

namespace {

void CheckFormat(const uint8_t* block, uint32_t size) {
  zo::SoundFormat f;
  std::memset(&f, 0xA5, sizeof f);
  if (!zo::ReadPackFormat(block, size, &f)) return;
  FUZZ_CHECK(size >= zo::PackFormatMinSize);
  FUZZ_CHECK(zo::PackFormatMinSize + f.cbSize == size);
  FUZZ_CHECK(f.avgBytesPerSec != 0 && f.blockAlign != 0);
}

void CheckNames(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // up to the first 0
  const char* entry = zo::PackEntryName(text.c_str());
  FUZZ_CHECK(entry >= text.c_str() && entry <= text.c_str() + text.size());
  char upper[zo::PackNameCapacity];
  const bool fits = zo::UpperCasePackName(text.c_str(), upper, sizeof upper);
  FUZZ_CHECK(fits == (text.size() < zo::PackNameCapacity));
  if (fits) FUZZ_CHECK(std::strlen(upper) == text.size());
}

}  // namespace

ZO_FUZZ_TARGET(sound_pack)(const uint8_t* data, size_t size) {
  zofuzz::Input in(data, size);
  char key[zo::PackNameCapacity] = "";
  const size_t keyLength = in.Byte() % 32;
  for (size_t i = 0; i < keyLength; ++i) key[i] = static_cast<char>(in.Byte());
  zo::UpperCaseSjis(key);

  zo::MemoryPackReader reader(in.rest(), in.left());
  zo::SoundPackEntry entry;
  if (zo::FindPackEntry(reader, key, &entry)) {
    FUZZ_CHECK(entry.formatOffset == reader.Position());
    FUZZ_CHECK(entry.formatOffset + entry.formatSize + entry.dataSize <= in.left());
    CheckFormat(in.rest() + entry.formatOffset, entry.formatSize);
  }
  FUZZ_CHECK(reader.Position() <= in.left());
  CheckFormat(in.rest(), static_cast<uint32_t>(in.left()));
  CheckNames(data, size);
  return 0;
}
