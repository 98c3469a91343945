// The refill plan of a streamed sound: a ring buffer of four seconds fed
// two seconds at a time from a pack entry, driven by the play cursor.
#pragma once

#include <cstdint>

#include "zo/sound_state.h"

namespace zo {

const uint32_t NoWrapMark = 0xFFFFFFFFu;
// Entries shorter than this many seconds are loaded whole instead.
const uint32_t StreamMinSeconds = 5;

// The byte that sounds as silence in a format of that many bits per sample.
uint8_t SilenceByte(uint16_t bitsPerSample);

// Whether an entry of dataSize bytes at that byte rate is streamed.
bool ShouldStream(uint32_t dataSize, uint32_t avgBytesPerSec);

// The loop offset a stream really uses: outside the data it is 0, inside it
// is rounded down to a whole block so a loop never swaps channels or bytes.
uint32_t UsableLoopOffset(int64_t loopOffset, uint32_t dataSize, uint16_t blockAlign);

// The byte offset of a loop given in sample frames (a file stream's loop
// point); -1, which the stream reads as the start, for a negative frame.
int64_t LoopOffsetOfFrame(int64_t loopFrame, uint16_t blockAlign);
// The loop point of a started stream in sample frames, to load it again.
int32_t LoopFrameOf(const StreamState& s);

// Fills the record for an entry whose first sample byte is at dataStart;
// the first chunk (halfSize bytes) is then read and written at buffer 0.
void StartStream(StreamState* s, int32_t dataStart, uint32_t dataSize, uint32_t avgBytesPerSec,
                 uint16_t blockAlign, uint16_t bitsPerSample, int64_t loopOffset);
// Back to the start of the data, the first chunk about to be written at 0.
void RewindStream(StreamState* s);

// Whether the play cursor P asks for the next chunk (all unsigned).
bool RefillDue(const StreamState& s, uint32_t play);
// The length of the next chunk: halfSize, the rest of the data, or half of
// what is left when a full chunk would leave less than a chunk behind.
uint32_t NextChunkLength(const StreamState& s);

// What the platform does for one stream: read the pack, write the ring.
class StreamIo {
 public:
  enum class ReadResult { Read, NoPack, CannotSeek };
  virtual ~StreamIo() = default;
  // Opens packPath, reads up to count bytes from offset, closes it again;
  // *got is the number of bytes read.
  virtual ReadResult ReadPack(const char* packPath, int32_t offset, uint8_t* to, uint32_t count,
                              uint32_t* got) = 0;
  // Writes count bytes at offset, wrapping past the end of the ring.
  virtual bool WriteRing(uint32_t offset, const uint8_t* from, uint32_t count) = 0;
  // Stops and rewinds the stream's buffer.
  virtual void Stop() = 0;
};

enum class RefillResult {
  NotDue,      // the cursor has not reached the chunk written last
  Stopped,     // the end countdown ran out: the buffer was stopped
  Written,     // a chunk of sound or of silence was written
  NoPack,      // the pack file could not be opened
  CannotSeek,  // the read position could not be reached
  NoMemory,    // no block for the chunk
  CannotWrite, // the buffer refused the lock
};

// One refill decision and, when due, the refill itself, for the cursor P.
RefillResult RefillStream(StreamState* s, bool looping, uint32_t play, StreamIo& io);

}  // namespace zo
