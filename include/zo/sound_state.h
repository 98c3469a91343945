// The streaming record of a sound object. Plain integers only, so the
// refill rules over it build on any platform.
#pragma once

#include <cstdint>

// The file side and the ring-buffer side of a streamed object; dataSize 0
// marks an object that is not streamed.
struct StreamState {
  int32_t dataStart;         // pack offset of the first sample byte
  int32_t loopStart;         // pack offset a looping stream continues from
  int32_t readPosition;      // pack offset of the next read
  uint32_t dataSize;         // sample bytes of the entry; 0 = not a stream
  uint32_t consumed;         // sample bytes read since dataStart
  uint32_t lastChunkStart;   // buffer offset of the chunk written last
  uint32_t writeOffset;      // buffer offset of the next chunk
  uint32_t halfSize;         // two seconds of sound in bytes
  uint32_t bufferSize;       // four seconds of sound in bytes
  uint32_t wrapMark;         // play cursor when the last write wrapped; 0xFFFFFFFF none
  uint32_t lastPlayCursor;   // play cursor at the last refill
  uint8_t endCountdown;      // refills left before a finished stream stops
  uint8_t silence;           // the format's silent byte: 0x80 for 8-bit samples, else 0
  uint8_t source;            // StreamFromPack, StreamFromWaveFile or StreamFromOggFile
  uint16_t blockAlign;       // bytes of one sample frame
  char packPath[259];        // the pack file the stream reads, or the sound file itself
};

// Where a stream's bytes come from. A pack or a WAV file is read at file
// offsets; an OGG file is decoded, its offsets counting decoded bytes.
enum : uint8_t { StreamFromPack = 0, StreamFromWaveFile = 1, StreamFromOggFile = 2 };
