// The pages of an Ogg Vorbis file checked before the decoder sees them: the
// decoder ignores page checksums and trusts the sizes it reads, so a file
// whose pages do not hold together never reaches it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zo {

enum class OggFault {
  None,
  NotOgg,          // no page at the start, or bytes between pages that are no page
  PageCut,         // a page runs past the end of the file
  BadChecksum,     // a page whose CRC does not match its bytes
  OtherStream,     // a page of another logical stream (chained or multiplexed files)
  NotVorbis,       // the first packet is no Vorbis identification header
  BadFormat,       // channels other than 1 or 2, or a rate outside FrequencyMin..FrequencyMax
  NoEnd,           // the last page does not end the stream: the file was cut at a page
  Undecodable,     // a comment header whose lengths leave its packet, or headers the decoder refuses
  TooLong,         // more decoded sound than a sound object or a stream can hold
};

// What the identification header says.
struct OggInfo {
  uint16_t channels;
  uint32_t rate;
  uint64_t pages;
};

// The Ogg page checksum (polynomial 0x04C11DB7, no reflection, start 0) of
// size bytes, the CRC field counted as zero by the caller.
uint32_t OggCrc(const uint8_t* bytes, size_t size, uint32_t crc = 0);

// Walks every page of the whole file in memory.
OggFault CheckOggFile(const uint8_t* bytes, size_t size, OggInfo* info);

}  // namespace zo
