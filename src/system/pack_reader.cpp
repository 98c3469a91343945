#include "system/pack_reader.h"

#include <cstring>

namespace zo {

size_t MemoryPackReader::Read(void* to, size_t count) {
  const size_t left = size_ - at_;
  if (count > left) count = left;
  if (count) std::memcpy(to, data_ + at_, count);
  at_ += count;
  return count;
}

bool MemoryPackReader::Skip(uint64_t count) {
  if (count > size_ - at_) return false;
  at_ += static_cast<size_t>(count);
  return true;
}

bool IsShiftJisLead(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

void UpperCaseSjis(char* text) {
  for (size_t i = 0; text[i] != '\0'; ++i) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    if (IsShiftJisLead(b)) {
      if (text[i + 1] == '\0') break;
      ++i;  // the trail byte may look like a letter
    } else if (b >= 'a' && b <= 'z') {
      text[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
}

bool UpperCasePackName(const char* name, char* out, size_t capacity) {
  if (capacity == 0) return false;
  out[0] = '\0';
  if (!name) return false;
  const size_t length = std::strlen(name);
  if (length + 1 > capacity) return false;
  std::memcpy(out, name, length + 1);
  UpperCaseSjis(out);
  return true;
}

bool ReadPackName(PackReader& reader, char (&name)[PackNameCapacity]) {
  for (size_t i = 0; i < PackNameCapacity; ++i) {
    if (reader.Read(&name[i], 1) != 1) return false;
    if (name[i] == '\0') return true;
  }
  name[PackNameCapacity - 1] = '\0';
  return false;
}

}  // namespace zo
