// Ogg Vorbis sound decoded to 16-bit PCM, whole or a chunk at a time from
// any byte offset, over a file image in memory whose pages were checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/ogg_check.h"

struct stb_vorbis;

namespace zo {

// The decoder's every allocation comes from one block of this size, so
// headers that ask for absurd tables fail instead of taking the machine's
// memory. Ordinary files need well under a quarter of it.
const size_t OggDecoderMemory = 2u << 20;
// The most decoded bytes a whole sound or a stream may hold (offsets of a
// stream are kept in 31 bits).
const uint64_t MaxOggPcmBytes = 0x7FFF0000u;

class OggDecoder {
 public:
  OggDecoder();
  ~OggDecoder();
  OggDecoder(const OggDecoder&) = delete;
  OggDecoder& operator=(const OggDecoder&) = delete;

  // Checks the pages and opens the decoder over bytes, which must stay
  // alive and unchanged while it is open.
  OggFault Open(const uint8_t* bytes, size_t size);
  void Close();

  uint16_t Channels() const { return info_.channels; }
  uint32_t Rate() const { return info_.rate; }
  uint16_t BlockAlign() const { return static_cast<uint16_t>(info_.channels * 2); }
  // Decoded length in bytes as the last page states it; 0 when unknown.
  uint64_t LengthBytes() const { return lengthFrames_ * BlockAlign(); }

  // Up to count bytes of PCM from byte offset into to; a read at the place
  // the previous one ended goes on decoding, any other seeks. Answers the
  // bytes given: fewer at the end of the sound or after a decoding fault.
  uint32_t ReadAt(uint64_t offset, uint8_t* to, uint32_t count);

 private:
  bool SeekFrame(uint64_t frame);
  // Decodes up to frames frames at frame_ into to; answers frames given.
  uint32_t DecodeFrames(int16_t* to, uint32_t frames);

  stb_vorbis* vorbis_ = nullptr;
  std::unique_ptr<char[]> memory_;
  OggInfo info_ = {};
  uint64_t lengthFrames_ = 0;
  uint64_t frame_ = 0;  // the next frame the decoder gives
};

// The whole sound as 16-bit PCM, at most maxBytes of it.
OggFault DecodeOggWhole(const uint8_t* bytes, size_t size, uint64_t maxBytes,
                        std::vector<uint8_t>* pcm, OggInfo* info);

}  // namespace zo
