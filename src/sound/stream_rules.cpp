#include "sound/stream_rules.h"

#include <cstring>
#include <memory>
#include <new>

namespace zo {

uint8_t SilenceByte(uint16_t bitsPerSample) { return bitsPerSample == 8 ? 0x80 : 0x00; }

bool ShouldStream(uint32_t dataSize, uint32_t avgBytesPerSec) {
  return avgBytesPerSec != 0 && dataSize / avgBytesPerSec >= StreamMinSeconds;
}

uint32_t UsableLoopOffset(int64_t loopOffset, uint32_t dataSize, uint16_t blockAlign) {
  if (loopOffset < 0 || loopOffset >= static_cast<int64_t>(dataSize)) return 0;
  uint32_t offset = static_cast<uint32_t>(loopOffset);
  if (blockAlign > 1) offset -= offset % blockAlign;
  return offset;
}

void StartStream(StreamState* s, int32_t dataStart, uint32_t dataSize, uint32_t avgBytesPerSec,
                 uint16_t blockAlign, uint16_t bitsPerSample, int64_t loopOffset) {
  s->dataSize = dataSize;
  s->bufferSize = 4 * avgBytesPerSec;
  s->halfSize = s->bufferSize / 2;
  s->dataStart = dataStart;
  s->loopStart = dataStart + static_cast<int32_t>(UsableLoopOffset(loopOffset, dataSize, blockAlign));
  s->silence = SilenceByte(bitsPerSample);
  s->blockAlign = blockAlign;
  RewindStream(s);
}

int64_t LoopOffsetOfFrame(int64_t loopFrame, uint16_t blockAlign) {
  // A frame past any 32-bit offset is as far outside the data as any other.
  if (loopFrame < 0 || loopFrame > 0xFFFFFFFFll) return -1;
  return loopFrame * (blockAlign ? blockAlign : 1);
}

int32_t LoopFrameOf(const StreamState& s) {
  const int64_t offset = int64_t{s.loopStart} - s.dataStart;
  return static_cast<int32_t>(offset / (s.blockAlign ? s.blockAlign : 1));
}

void RewindStream(StreamState* s) {
  s->lastChunkStart = 0;
  s->writeOffset = s->halfSize;
  s->readPosition = s->dataStart + static_cast<int32_t>(s->halfSize);
  s->consumed = s->halfSize;
  s->wrapMark = NoWrapMark;
  s->lastPlayCursor = 0;
  s->endCountdown = 0;
}

bool RefillDue(const StreamState& s, uint32_t play) {
  if (s.wrapMark == NoWrapMark) return play >= s.lastChunkStart || play < s.lastPlayCursor;
  if (s.lastChunkStart < s.wrapMark) return s.lastChunkStart <= play && play < s.wrapMark;
  return play >= s.lastChunkStart;
}

uint32_t NextChunkLength(const StreamState& s) {
  uint64_t left = s.consumed >= s.dataSize ? 0 : static_cast<uint64_t>(s.dataSize) - s.consumed;
  if (left < s.halfSize) return static_cast<uint32_t>(left);
  // Two similar reads end the data rather than a full one and a short one.
  if (left - s.halfSize < s.halfSize) return static_cast<uint32_t>(left / 2);
  return s.halfSize;
}

namespace {

RefillResult RefillOnce(StreamState* s, bool looping, uint32_t play, StreamIo& io) {
  s->lastPlayCursor = play;
  if (s->endCountdown > 0 && --s->endCountdown == 0) {
    io.Stop();
    return RefillResult::Stopped;
  }
  // The countdown's chunk is silence, a whole chunk of it so that a late
  // call never lets old bytes sound; nothing is read for it and the file
  // side stays where the data ended (a loop point near the end would
  // otherwise restart the countdown at every refill).
  bool silent = s->endCountdown == 1;
  uint32_t chunk = silent ? s->halfSize : NextChunkLength(*s);
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[chunk ? chunk : 1]);
  if (!block) return RefillResult::NoMemory;
  uint32_t got = 0;
  if (!silent) {
    StreamIo::ReadResult read = io.ReadPack(s->packPath, s->readPosition, block.get(), chunk, &got);
    if (read == StreamIo::ReadResult::NoPack) return RefillResult::NoPack;
    if (read == StreamIo::ReadResult::CannotSeek) return RefillResult::CannotSeek;
    if (got > chunk) got = chunk;
  }
  // A read cut short by the end of the file leaves silence, never old bytes.
  std::memset(block.get() + got, s->silence, chunk - got);

  if (!silent) {
    s->readPosition += static_cast<int32_t>(chunk);
    s->consumed += chunk;
    if (s->consumed >= s->dataSize) {
      s->readPosition = s->loopStart;
      s->consumed = static_cast<uint32_t>(s->loopStart - s->dataStart);
      if (!looping) s->endCountdown = 2;
    }
  }
  if (chunk != 0 && !io.WriteRing(s->writeOffset, block.get(), chunk)) return RefillResult::CannotWrite;

  s->wrapMark = s->writeOffset < s->lastChunkStart ? play : NoWrapMark;
  s->lastChunkStart = s->writeOffset >= s->bufferSize ? s->writeOffset - s->bufferSize : s->writeOffset;
  s->writeOffset += chunk;
  if (s->writeOffset >= s->bufferSize) s->writeOffset -= s->bufferSize;
  return RefillResult::Written;
}

}  // namespace

RefillResult RefillStream(StreamState* s, bool looping, uint32_t play, StreamIo& io) {
  if (!RefillDue(*s, play)) return RefillResult::NotDue;
  // A refill that fails leaves the record as it was, so the next call
  // retries the same chunk instead of skipping it.
  const StreamState before = *s;
  RefillResult result = RefillOnce(s, looping, play, io);
  if (result != RefillResult::Written && result != RefillResult::Stopped) *s = before;
  return result;
}

}  // namespace zo
