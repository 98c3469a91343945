// ReadWaveFile: a RIFF/WAVE file into a format block and a sample block,
// read through the multimedia file functions; the chunks are found by the
// platform-free walk of riff_walk.h.
#include <cstring>

#include "sound/riff_walk.h"
#include "sound/sound_rules.h"
#include "sound/sound_win.h"

namespace {

// mmio offsets are 31 bits: nothing beyond them is read.
const uint64_t MmioOffsetLimit = 0x7FFFFFFF;

class MmioSource final : public zo::RiffSource {
 public:
  explicit MmioSource(HMMIO file) : file_(file) {
    LONG end = mmioSeek(file, 0, SEEK_END);
    size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
  }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* to, size_t count) override {
    if (offset > MmioOffsetLimit || count > MmioOffsetLimit - offset) return false;
    if (mmioSeek(file_, static_cast<LONG>(offset), SEEK_SET) != static_cast<LONG>(offset)) return false;
    return count == 0 || mmioRead(file_, static_cast<HPSTR>(to), static_cast<LONG>(count)) ==
                             static_cast<LONG>(count);
  }

 private:
  HMMIO file_;
  uint64_t size_;
};

struct WaveRead {
  HMMIO file = nullptr;
  WAVEFORMATEX* format = nullptr;
  BYTE* samples = nullptr;

  // Whatever is still held when the read gives up is given back.
  ~WaveRead() {
    if (format) GlobalFree(format);
    if (samples) GlobalFree(samples);
    if (file) mmioClose(file, 0);
  }
};

}  // namespace

int ReadWaveFile(const char* path, WAVEFORMATEX** format, int* formatSize, BYTE** samples,
                 int* sampleSize) {
  *format = nullptr;
  *formatSize = 0;
  *samples = nullptr;
  *sampleSize = 0;
  if (!path) return 1;

  WaveRead r;
  r.file = mmioOpenA(const_cast<LPSTR>(path), nullptr, MMIO_ALLOCBUF | MMIO_READ);
  if (!r.file) return 1;
  MmioSource source(r.file);
  zo::WaveChunks chunks;
  if (!zo::FindWaveChunks(source, &chunks)) return 1;

  const zo::RiffChunk& fmt = chunks.format;
  if (fmt.size < 16) return 1;
  BYTE head[16];
  if (!source.ReadAt(fmt.offset, head, sizeof head)) return 1;
  WORD formatTag = static_cast<WORD>(head[0] | head[1] << 8);
  WORD cbSize = 0;
  if (zo::FormatChunkHasCbSize(fmt.size, formatTag)) {
    BYTE cb[2];
    if (!source.ReadAt(fmt.offset + 16, cb, sizeof cb)) return 1;
    cbSize = static_cast<WORD>(cb[0] | cb[1] << 8);
    if (!zo::FormatExtraFits(fmt.size, cbSize)) return 1;
  }
  DWORD blockSize = 18u + cbSize;
  r.format = static_cast<WAVEFORMATEX*>(GlobalAlloc(GMEM_FIXED, blockSize));
  if (!r.format) return 1;
  BYTE* block = reinterpret_cast<BYTE*>(r.format);
  std::memcpy(block, head, 16);
  std::memcpy(block + 16, &cbSize, 2);
  if (cbSize != 0 && !source.ReadAt(fmt.offset + 18, block + 18, cbSize)) return 1;

  const zo::RiffChunk& data = chunks.data;
  if (data.size > MmioOffsetLimit) return 1;  // no size that the int output cannot carry
  // An empty chunk still gets a block, so the caller always has one to free.
  r.samples = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, data.size ? data.size : 1));
  if (!r.samples) return 1;
  if (!source.ReadAt(data.offset, r.samples, data.size)) return 1;

  *format = r.format;
  *formatSize = static_cast<int>(blockSize);
  *samples = r.samples;
  *sampleSize = static_cast<int>(data.size);
  r.format = nullptr;
  r.samples = nullptr;
  return 0;  // the file is closed as r goes
}
