#include "sound/sound_pack_rules.h"

#include <cstring>

namespace zo {

namespace {

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool ReadLe32(PackReader& reader, uint32_t* value) {
  uint8_t bytes[4];
  if (reader.Read(bytes, 4) != 4) return false;
  *value = Le32(bytes);
  return true;
}

}  // namespace

const char* PackEntryName(const char* relativeName) {
  const char* start = relativeName;
  for (const char* p = relativeName; *p != '\0'; ++p) {
    if (IsShiftJisLead(static_cast<uint8_t>(*p))) {
      if (p[1] == '\0') break;
      ++p;
    } else if (*p == '\\') {
      start = p + 1;
    }
  }
  return start;
}

bool FindPackEntry(PackReader& reader, const char* upperName, SoundPackEntry* found) {
  for (;;) {
    uint32_t dataSize = 0, formatSize = 0;
    if (!ReadLe32(reader, &dataSize)) return false;
    char name[PackNameCapacity];
    if (!ReadPackName(reader, name)) return false;
    if (!ReadLe32(reader, &formatSize)) return false;
    uint64_t body = static_cast<uint64_t>(formatSize) + dataSize;
    uint64_t position = reader.Position();
    if (position > reader.Size() || body > reader.Size() - position) return false;
    if (std::strcmp(name, upperName) == 0) {
      found->dataSize = dataSize;
      found->formatSize = formatSize;
      found->formatOffset = position;
      return true;
    }
    if (!reader.Skip(body)) return false;
  }
}

bool ReadPackFormat(const uint8_t* block, uint32_t size, SoundFormat* format) {
  if (!block || size < PackFormatMinSize) return false;
  SoundFormat f;
  f.formatTag = Le16(block);
  f.channels = Le16(block + 2);
  f.samplesPerSec = Le32(block + 4);
  f.avgBytesPerSec = Le32(block + 8);
  f.blockAlign = Le16(block + 12);
  f.bitsPerSample = Le16(block + 14);
  f.cbSize = Le16(block + 16);
  if (PackFormatMinSize + static_cast<uint32_t>(f.cbSize) != size) return false;
  if (f.avgBytesPerSec == 0 || f.blockAlign == 0) return false;
  *format = f;
  return true;
}

std::vector<uint8_t> PackEntryHead(uint32_t dataSize, const char* entryName, uint32_t formatSize) {
  std::vector<uint8_t> head;
  size_t length = std::strlen(entryName);
  head.reserve(4 + length + 1 + 4);
  for (int i = 0; i < 4; ++i) head.push_back(static_cast<uint8_t>(dataSize >> (8 * i)));
  head.insert(head.end(), entryName, entryName + length + 1);
  for (int i = 0; i < 4; ++i) head.push_back(static_cast<uint8_t>(formatSize >> (8 * i)));
  return head;
}

}  // namespace zo
