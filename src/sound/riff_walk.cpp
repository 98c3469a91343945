#include "sound/riff_walk.h"

#include <cstring>

namespace zo {

namespace {

const uint64_t RiffHeaderSize = 12;  // "RIFF", size, form type
const uint64_t ChunkHeaderSize = 8;  // id, size

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool FindWaveChunks(RiffSource& source, WaveChunks* found) {
  std::memset(found, 0, sizeof *found);
  uint8_t head[RiffHeaderSize];
  if (!source.ReadAt(0, head, sizeof head)) return false;
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return false;
  // The chunks end where the RIFF chunk says, or sooner where the file does.
  uint64_t end = ChunkHeaderSize + Le32(head + 4);
  if (source.Size() < end) end = source.Size();

  bool haveFormat = false, haveData = false;
  for (uint64_t at = RiffHeaderSize; at + ChunkHeaderSize <= end && !(haveFormat && haveData);) {
    uint8_t chunk[ChunkHeaderSize];
    if (!source.ReadAt(at, chunk, sizeof chunk)) return false;
    const uint32_t size = Le32(chunk + 4);
    const uint64_t body = at + ChunkHeaderSize;
    if (size > end - body) return false;  // reaches past the end: nothing after it can be trusted
    if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0) {
      found->format = {body, size};
      haveFormat = true;
    } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
      found->data = {body, size};
      haveData = true;
    }
    at = body + size + (size & 1);  // chunks are word-aligned; at least 8 bytes on every step
  }
  return haveFormat && haveData;
}

}  // namespace zo
