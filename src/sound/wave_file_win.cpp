// ReadWaveFile: a RIFF/WAVE file into a format block and a sample block,
// through the multimedia file functions.
#include <cstring>

#include "sound/sound_rules.h"
#include "sound/sound_win.h"

namespace {

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

bool ReadExactly(HMMIO file, void* to, LONG count) {
  return mmioRead(file, static_cast<HPSTR>(to), count) == count;
}

// Copies the chunk's bytes through the file's own I/O buffer.
bool CopyThroughBuffer(HMMIO file, BYTE* to, DWORD size) {
  MMIOINFO info;
  if (mmioGetInfo(file, &info, 0) != 0) return false;
  for (DWORD i = 0; i < size; ++i) {
    if (info.pchNext >= info.pchEndRead) {
      if (mmioAdvance(file, &info, MMIO_READ) != 0) return false;
      if (info.pchNext >= info.pchEndRead) return false;  // the file ends inside the chunk
    }
    to[i] = static_cast<BYTE>(*info.pchNext++);
  }
  return mmioSetInfo(file, &info, 0) == 0;
}

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

  MMCKINFO riff;
  std::memset(&riff, 0, sizeof riff);
  if (mmioDescend(r.file, &riff, nullptr, 0) != 0) return 1;
  if (riff.ckid != FOURCC_RIFF || riff.fccType != mmioFOURCC('W', 'A', 'V', 'E')) return 1;

  MMCKINFO chunk;
  std::memset(&chunk, 0, sizeof chunk);
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  if (mmioDescend(r.file, &chunk, &riff, MMIO_FINDCHUNK) != 0) return 1;
  if (chunk.cksize < 16) return 1;

  BYTE head[16];
  if (!ReadExactly(r.file, head, 16)) return 1;
  WORD formatTag = static_cast<WORD>(head[0] | head[1] << 8);
  WORD cbSize = 0;
  if (zo::FormatChunkHasCbSize(chunk.cksize, formatTag)) {
    if (!ReadExactly(r.file, &cbSize, 2)) return 1;
    if (!zo::FormatExtraFits(chunk.cksize, cbSize)) return 1;
  }
  DWORD blockSize = 18u + cbSize;
  r.format = static_cast<WAVEFORMATEX*>(GlobalAlloc(GMEM_FIXED, blockSize));
  if (!r.format) return 1;
  BYTE* block = reinterpret_cast<BYTE*>(r.format);
  std::memcpy(block, head, 16);
  std::memcpy(block + 16, &cbSize, 2);
  if (cbSize != 0 && !ReadExactly(r.file, block + 18, cbSize)) return 1;
  if (mmioAscend(r.file, &chunk, 0) != 0) return 1;

  // The data chunk may lie before or after the format chunk.
  if (mmioSeek(r.file, static_cast<LONG>(riff.dwDataOffset + 4), SEEK_SET) == -1) return 1;
  std::memset(&chunk, 0, sizeof chunk);
  chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioDescend(r.file, &chunk, &riff, MMIO_FINDCHUNK) != 0) return 1;

  if (chunk.cksize > 0x7FFFFFFFu) return 1;  // no size that the int output cannot carry
  // An empty chunk still gets a block, so the caller always has one to free.
  r.samples = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, chunk.cksize ? chunk.cksize : 1));
  if (!r.samples) return 1;
  if (!CopyThroughBuffer(r.file, r.samples, chunk.cksize)) return 1;

  *format = r.format;
  *formatSize = static_cast<int>(blockSize);
  *samples = r.samples;
  *sampleSize = static_cast<int>(chunk.cksize);
  r.format = nullptr;
  r.samples = nullptr;
  return 0;  // the file is closed as r goes
}
