// The RIFF chunk walk of WAV files over arbitrary bytes. Chunks that are
// found lie inside the file and the RIFF chunk, carry the id they were
// found under, and are the first of their kind that a plain walk over the
// same bytes meets.
#include <cstring>

#include "fuzz_target.h"
#include "sound/riff_walk.h"

namespace {

class MemorySource final : public zo::RiffSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* to, size_t count) override {
    ++reads;
    if (offset > size_ || count > size_ - offset) return false;
    if (count) std::memcpy(to, data_ + offset, count);
    return true;
  }
  size_t reads = 0;

 private:
  const uint8_t* data_;
  size_t size_;
};

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The first chunk with id, walking every header in the file that a 64-bit
// position reaches; 0 when there is none.
uint64_t FirstChunk(const uint8_t* data, size_t size, const char* id) {
  for (uint64_t at = 12; at + 8 <= size; at += 8 + Le32(data + at + 4) + (Le32(data + at + 4) & 1))
    if (std::memcmp(data + at, id, 4) == 0) return at + 8;
  return 0;
}

void CheckChunk(const uint8_t* data, size_t size, const zo::RiffChunk& c, const char* id) {
  const uint64_t end = 8 + static_cast<uint64_t>(Le32(data + 4));
  FUZZ_CHECK(c.offset >= 20);
  FUZZ_CHECK(c.offset + c.size <= size);
  FUZZ_CHECK(c.offset + c.size <= end);
  FUZZ_CHECK(std::memcmp(data + c.offset - 8, id, 4) == 0);
  FUZZ_CHECK(Le32(data + c.offset - 4) == c.size);
  FUZZ_CHECK(FirstChunk(data, size, id) == c.offset);
}

}  // namespace

ZO_FUZZ_TARGET(riff_walk)(const uint8_t* data, size_t size) {
  MemorySource source(data, size);
  zo::WaveChunks found;
  if (zo::FindWaveChunks(source, &found)) {
    FUZZ_CHECK(size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0);
    CheckChunk(data, size, found.format, "fmt ");
    CheckChunk(data, size, found.data, "data");
  }
  // Every step moves at least one header forward.
  FUZZ_CHECK(source.reads <= 2 + size / 8);
  return 0;
}
