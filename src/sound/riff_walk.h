// The chunk walk of a RIFF/WAVE file: the first "fmt " and "data" chunks,
// each lying whole inside both the RIFF chunk and the file. Positions are
// 64-bit, so no chunk size, however large, can lead the walk back to a
// place it has already been.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zo {

// Random access to the bytes of a file.
class RiffSource {
 public:
  virtual ~RiffSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly count bytes at offset; false when they are not all there.
  virtual bool ReadAt(uint64_t offset, void* to, size_t count) = 0;
};

struct RiffChunk {
  uint64_t offset;  // of the chunk's first data byte
  uint32_t size;    // the size its header gives
};

struct WaveChunks {
  RiffChunk format;
  RiffChunk data;
};

// Checks the "RIFF" ... "WAVE" header and walks the chunks after it, in
// whatever order they come. False when the header is wrong, or when either
// chunk is missing before the walk ends: at the end of the RIFF chunk or of
// the file, whichever comes first, or at a chunk reaching past that end.
bool FindWaveChunks(RiffSource& source, WaveChunks* found);

}  // namespace zo
