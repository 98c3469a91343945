// The stream refill plan driven by hostile sizes, offsets and play cursors.
// The first bytes are an entry as the loader would hand it over (any sizes
// and offsets that pass its checks), the rest a run of refills at chosen
// play cursors, rewinds and failing reads or writes. Every chunk must be
// read from inside the entry and written inside the ring, a failed refill
// must leave the record as it was, and bytes past the end of a read are
// silence.
#include <cstring>
#include <vector>

#include "fuzz_target.h"
#include "sound/stream_rules.h"

namespace {

// Byte rates above this are planned but not played: a chunk is allocated.
const uint32_t MaxPlayedRate = 1 << 17;

uint8_t PackByte(uint64_t offset) { return static_cast<uint8_t>(offset * 131 + (offset >> 9)); }

class FakeIo final : public zo::StreamIo {
 public:
  const StreamState* s = nullptr;
  uint64_t fileSize = 0;
  ReadResult nextRead = ReadResult::Read;
  uint32_t shortBy = 0;  // a read that ends early by this many bytes
  bool writeFails = false, stopped = false, wrote = false;
  std::vector<uint8_t> expected;  // what the next write must carry

  ReadResult ReadPack(const char*, int32_t offset, uint8_t* to, uint32_t count, uint32_t* got) override {
    *got = 0;
    if (nextRead != ReadResult::Read) return nextRead;
    // Only the entry's own samples are ever read.
    FUZZ_CHECK(offset >= s->dataStart);
    FUZZ_CHECK(static_cast<uint64_t>(offset) + count <= static_cast<uint64_t>(s->dataStart) + s->dataSize);
    uint64_t left = static_cast<uint64_t>(offset) < fileSize ? fileSize - offset : 0;
    uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(count, left));
    n = n > shortBy ? n - shortBy : 0;
    for (uint32_t i = 0; i < n; ++i) to[i] = PackByte(static_cast<uint64_t>(offset) + i);
    expected.assign(to, to + n);
    expected.resize(count, s->silence);
    *got = n;
    return ReadResult::Read;
  }

  bool WriteRing(uint32_t offset, const uint8_t* from, uint32_t count) override {
    FUZZ_CHECK(offset < s->bufferSize);
    FUZZ_CHECK(count <= s->halfSize);
    FUZZ_CHECK(count == expected.size());
    FUZZ_CHECK(count == 0 || std::memcmp(from, expected.data(), count) == 0);
    wrote = true;
    return !writeFails;
  }

  void Stop() override { stopped = true; }
};

void CheckRecord(const StreamState& s) {
  FUZZ_CHECK(s.bufferSize == 2 * s.halfSize);
  FUZZ_CHECK(s.writeOffset < s.bufferSize);
  FUZZ_CHECK(s.lastChunkStart < s.bufferSize);
  FUZZ_CHECK(s.consumed <= s.dataSize);
  FUZZ_CHECK(static_cast<int64_t>(s.readPosition) == static_cast<int64_t>(s.dataStart) + s.consumed);
  FUZZ_CHECK(s.loopStart >= s.dataStart && s.loopStart - s.dataStart < static_cast<int64_t>(s.dataSize));
  FUZZ_CHECK(s.endCountdown <= 2);
}

bool Same(const StreamState& a, const StreamState& b) {
  return a.dataStart == b.dataStart && a.loopStart == b.loopStart && a.readPosition == b.readPosition &&
         a.dataSize == b.dataSize && a.consumed == b.consumed && a.lastChunkStart == b.lastChunkStart &&
         a.writeOffset == b.writeOffset && a.halfSize == b.halfSize && a.bufferSize == b.bufferSize &&
         a.wrapMark == b.wrapMark && a.lastPlayCursor == b.lastPlayCursor &&
         a.endCountdown == b.endCountdown && a.silence == b.silence;
}

void Play(StreamState s, zofuzz::Input& in, uint64_t fileSize) {
  FakeIo io;
  io.s = &s;
  io.fileSize = fileSize;
  uint32_t play = 0;
  for (int step = 0; step < 48 && in.left() > 0; ++step) {
    // Low bits: the cursor; middle bits: what goes wrong; top bit: looping.
    const uint8_t op = in.Byte();
    const bool looping = op & 0x80;
    switch (op & 3) {
      case 0: play = in.U32(); break;  // any cursor at all
      case 1: play = s.halfSize ? (play + in.U32() % s.halfSize) % s.bufferSize : 0; break;
      case 2: play = s.lastChunkStart; break;  // right on the chunk
      case 3: break;                           // where it was
    }
    switch ((op >> 2) & 7) {
      case 1: io.nextRead = zo::StreamIo::ReadResult::NoPack; break;
      case 2: io.nextRead = zo::StreamIo::ReadResult::CannotSeek; break;
      case 3: io.writeFails = true; break;
      case 4: io.shortBy = in.U16(); break;
      case 5: zo::RewindStream(&s); CheckRecord(s); continue;
      default: break;
    }
    const StreamState before = s;
    io.stopped = io.wrote = false;
    // The chunk after the data ends is silence, read from nowhere.
    io.expected.assign(s.endCountdown == 2 ? s.halfSize : 0, s.silence);
    const zo::RefillResult r = zo::RefillStream(&s, looping, play, io);
    CheckRecord(s);
    switch (r) {
      case zo::RefillResult::NotDue:
        FUZZ_CHECK(Same(before, s));
        break;
      case zo::RefillResult::Stopped:
        FUZZ_CHECK(io.stopped);
        break;
      case zo::RefillResult::Written:
        FUZZ_CHECK(!io.stopped);
        break;
      default:  // a failure: the next refill retries the same chunk
        FUZZ_CHECK(Same(before, s));
        break;
    }
    io.nextRead = zo::StreamIo::ReadResult::Read;
    io.writeFails = false;
    io.shortBy = 0;
  }
}

}  // namespace

ZO_FUZZ_TARGET(stream)(const uint8_t* data, size_t size) {
  zofuzz::Input in(data, size);
  const uint32_t dataStart = in.U32() & 0x7FFFFFFF;
  const uint32_t dataSize = in.U32();
  const uint32_t rate = in.U32();
  const uint16_t blockAlign = in.U16();
  const uint16_t bits = in.U16();
  const uint8_t sign = in.Byte();
  const int64_t loopOffset = sign & 1 ? -static_cast<int64_t>(in.U32()) : static_cast<int64_t>(in.U32()) << (sign >> 5);
  const uint64_t tail = in.U16();

  // What the loader lets through: a readable format, a long enough entry,
  // offsets within 31 bits.
  if (rate == 0 || blockAlign == 0 || !zo::ShouldStream(dataSize, rate)) return 0;
  if (uint64_t{dataStart} + dataSize > 0x7FFFFFFF) return 0;

  const uint32_t loop = zo::UsableLoopOffset(loopOffset, dataSize, blockAlign);
  FUZZ_CHECK(loop == 0 || (loop < dataSize && loop <= loopOffset && loop % blockAlign == 0));

  StreamState s;
  std::memset(&s, 0x5A, sizeof s);
  s.packPath[0] = '\0';
  zo::StartStream(&s, static_cast<int32_t>(dataStart), dataSize, rate, blockAlign, bits, loopOffset);
  CheckRecord(s);
  FUZZ_CHECK(s.halfSize < dataSize);
  FUZZ_CHECK(s.silence == zo::SilenceByte(bits));
  FUZZ_CHECK(zo::NextChunkLength(s) <= s.halfSize);
  if (rate <= MaxPlayedRate) Play(s, in, uint64_t{dataStart} + dataSize + tail);
  return 0;
}
