// A ring buffer in memory, standing in for the DirectSound buffer of a
// stream and the pack file it reads from.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/stream_rules.h"

namespace standin {

// The stream's file and ring buffer; counts every access.
struct MemoryStream final : zo::StreamIo {
  std::vector<uint8_t> pack;
  std::vector<uint8_t> ring;
  bool packMissing = false;
  int refusedWrites = 0;  // the next this many locks fail
  int reads = 0, stops = 0;
  std::vector<uint32_t> writes;        // length of every chunk written
  std::vector<uint32_t> writeOffsets;  // where each of them went

  ReadResult ReadPack(const char*, int32_t offset, uint8_t* to, uint32_t count, uint32_t* got) override {
    ++reads;
    *got = 0;
    if (packMissing) return ReadResult::NoPack;
    if (offset < 0 || static_cast<size_t>(offset) > pack.size()) return ReadResult::CannotSeek;
    size_t n = std::min<size_t>(count, pack.size() - static_cast<size_t>(offset));
    if (n) std::memcpy(to, pack.data() + offset, n);
    *got = static_cast<uint32_t>(n);
    return ReadResult::Read;
  }
  bool WriteRing(uint32_t offset, const uint8_t* from, uint32_t count) override {
    if (refusedWrites > 0) {
      --refusedWrites;
      return false;
    }
    writes.push_back(count);
    writeOffsets.push_back(offset);
    for (uint32_t i = 0; i < count; ++i) ring[(offset + i) % ring.size()] = from[i];
    return true;
  }
  void Stop() override { ++stops; }
};

}  // namespace standin
