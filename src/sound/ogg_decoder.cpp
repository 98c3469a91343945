#include "sound/ogg_decoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"

namespace zo {

OggDecoder::OggDecoder() = default;
OggDecoder::~OggDecoder() { Close(); }

void OggDecoder::Close() {
  if (vorbis_) stb_vorbis_close(vorbis_);
  vorbis_ = nullptr;
  memory_.reset();
  info_ = {};
  lengthFrames_ = frame_ = 0;
}

OggFault OggDecoder::Open(const uint8_t* bytes, size_t size) {
  Close();
  OggFault fault = CheckOggFile(bytes, size, &info_);
  if (fault != OggFault::None || size > 0x7FFFFFFF) {
    info_ = {};
    return fault != OggFault::None ? fault : OggFault::TooLong;
  }
  memory_.reset(new (std::nothrow) char[OggDecoderMemory]);
  if (!memory_) return OggFault::Undecodable;
  stb_vorbis_alloc arena = {memory_.get(), static_cast<int>(OggDecoderMemory)};
  int error = 0;
  vorbis_ = stb_vorbis_open_memory(bytes, static_cast<int>(size), &error, &arena);
  stb_vorbis_info got = vorbis_ ? stb_vorbis_get_info(vorbis_) : stb_vorbis_info{};
  // The decoder must agree with the header the check read.
  if (!vorbis_ || got.channels != info_.channels || got.sample_rate != info_.rate) {
    Close();
    return OggFault::Undecodable;
  }
  lengthFrames_ = stb_vorbis_stream_length_in_samples(vorbis_);
  // Finding the length moved the decoder; it starts again at the start.
  if (!SeekFrame(0)) {
    Close();
    return OggFault::Undecodable;
  }
  return OggFault::None;
}

bool OggDecoder::SeekFrame(uint64_t frame) {
  if (frame > 0xFFFFFFFFu) return false;
  if (frame == 0 ? !stb_vorbis_seek_start(vorbis_)
                 : !stb_vorbis_seek(vorbis_, static_cast<unsigned int>(frame)))
    return false;
  frame_ = frame;
  return true;
}

uint32_t OggDecoder::DecodeFrames(int16_t* to, uint32_t frames) {
  uint32_t done = 0;
  while (done < frames) {
    const uint32_t ask = std::min<uint32_t>(frames - done, 1u << 20);
    const int got = stb_vorbis_get_samples_short_interleaved(
        vorbis_, info_.channels, to + size_t{done} * info_.channels,
        static_cast<int>(ask * info_.channels));
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
  }
  frame_ += done;
  return done;
}

uint32_t OggDecoder::ReadAt(uint64_t offset, uint8_t* to, uint32_t count) {
  if (!vorbis_ || count == 0) return 0;
  const uint32_t block = BlockAlign();
  const uint64_t first = offset / block;
  const uint32_t skip = static_cast<uint32_t>(offset % block);
  if (first != frame_ && !SeekFrame(first)) return 0;
  // Whole frames are decoded; the bytes asked for are cut out of them.
  const uint64_t frames64 = (uint64_t{skip} + count + block - 1) / block;
  const uint32_t frames = static_cast<uint32_t>(frames64);
  std::unique_ptr<int16_t[]> pcm(new (std::nothrow) int16_t[size_t{frames} * info_.channels]);
  if (!pcm) return 0;
  const uint32_t got = DecodeFrames(pcm.get(), frames);
  const uint64_t have = uint64_t{got} * block;
  if (have <= skip) return 0;
  const uint32_t given = static_cast<uint32_t>(std::min<uint64_t>(have - skip, count));
  // Samples are little-endian in the file's order, as in a WAV file.
  const int16_t* from = pcm.get();
  for (uint32_t i = 0; i < given; ++i) {
    const uint32_t byte = skip + i;
    const uint16_t sample = static_cast<uint16_t>(from[byte / 2]);
    to[i] = static_cast<uint8_t>(byte % 2 ? sample >> 8 : sample);
  }
  return given;
}

OggFault DecodeOggWhole(const uint8_t* bytes, size_t size, uint64_t maxBytes,
                        std::vector<uint8_t>* pcm, OggInfo* info) {
  pcm->clear();
  OggDecoder decoder;
  OggFault fault = decoder.Open(bytes, size);
  if (fault != OggFault::None) return fault;
  info->channels = decoder.Channels();
  info->rate = decoder.Rate();
  const uint32_t chunk = 1u << 16;
  uint64_t at = 0;
  for (;;) {
    if (at > maxBytes) {
      pcm->clear();
      return OggFault::TooLong;
    }
    pcm->resize(static_cast<size_t>(at + chunk));
    const uint32_t got = decoder.ReadAt(at, pcm->data() + at, chunk);
    at += got;
    if (got < chunk) break;
  }
  pcm->resize(static_cast<size_t>(at));
  if (at > maxBytes || at == 0) {
    pcm->clear();
    return at == 0 ? OggFault::Undecodable : OggFault::TooLong;
  }
  return OggFault::None;
}

}  // namespace zo
