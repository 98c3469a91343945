// The refill plan of a streamed sound over a stand-in ring.
#include <gtest/gtest.h>

#include "stream_stand_in.h"

using namespace zo;

namespace {

const uint32_t Ring = 176400, Half = 88200;

// A stream of dataSize bytes of 16-bit stereo at 44100 Hz, start bytes
// into a pack of 7s, over an empty four-second ring.
StreamState Started(standin::MemoryStream& io, int32_t start, uint32_t dataSize, int64_t loopOffset) {
  io.pack.assign(start + dataSize, 7);
  io.ring.assign(Ring, 0);
  StreamState s = {};
  StartStream(&s, start, dataSize, 44100, 2, 16, loopOffset);
  return s;
}

StreamState Planned(uint32_t lastChunkStart, uint32_t wrapMark, uint32_t lastPlayCursor) {
  StreamState s = {};
  s.bufferSize = Ring;
  s.halfSize = Half;
  s.lastChunkStart = lastChunkStart;
  s.wrapMark = wrapMark;
  s.lastPlayCursor = lastPlayCursor;
  return s;
}

// A stream of 16-bit or 8-bit sound at 44100 bytes a second playing from a
// pack whose samples start after a few bytes of other entries; the cursor
// moves step bytes between two polls and every byte it passes is recorded.
struct Playback {
  standin::MemoryStream io;
  StreamState s = {};
  std::vector<uint8_t> played;
  uint32_t play = 0;

  Playback(uint32_t dataSize, uint16_t bits, int64_t loopOffset) {
    const int32_t start = 1000;
    io.pack.assign(start, 0xEE);
    for (uint32_t i = 0; i < dataSize; ++i) io.pack.push_back(static_cast<uint8_t>(i * 7 + i / 251));
    io.ring.assign(Ring, 0xEE);  // stale bytes that must never sound
    StartStream(&s, start, dataSize, 44100, 2, bits, loopOffset);
    std::copy(io.pack.begin() + start, io.pack.begin() + start + Half, io.ring.begin());
  }
  void Run(uint32_t step, bool looping, size_t enough, int failAtPoll = -1) {
    RefillStream(&s, looping, play, io);
    for (int poll = 0; io.stops == 0 && played.size() < enough; ++poll) {
      for (uint32_t i = 0; i < step; ++i, play = (play + 1) % Ring) played.push_back(io.ring[play]);
      if (poll == failAtPoll) io.refusedWrites = 1;
      if (poll == failAtPoll + 1) io.packMissing = true;
      RefillStream(&s, looping, play, io);
      io.packMissing = false;
    }
  }
};

}  // namespace

TEST(StreamPlan, SevenSecondsPlayInFourChunksThenSilenceThenStop) {
  standin::MemoryStream io;
  StreamState s = Started(io, 0, 308700, 0);
  EXPECT_EQ(s.halfSize, 88200u);
  uint32_t play = 0;
  for (int i = 0; i < 10000 && io.stops == 0; ++i, play = (play + 735) % 176400)
    RefillStream(&s, false, play, io);
  EXPECT_EQ(io.writes, (std::vector<uint32_t>{88200, 66150, 66150, 88200}));
  EXPECT_EQ(io.stops, 1);
  EXPECT_EQ(io.reads, 3);  // the silence needs no read
}

TEST(StreamPlan, ALoopContinuesFromTheLoopOffset) {
  standin::MemoryStream io;
  StreamState s = Started(io, 0, 308700, 88200);
  uint32_t play = 0;
  for (int i = 0; i < 1000 && io.writes.size() < 4; ++i, play = (play + 735) % 176400)
    RefillStream(&s, true, play, io);
  EXPECT_EQ(s.consumed, 88200u + 88200u);
  EXPECT_EQ(s.endCountdown, 0);
  EXPECT_EQ(UsableLoopOffset(88201, 308700, 2), 88200u);
  EXPECT_EQ(UsableLoopOffset(308700, 308700, 2), 0u);
}


TEST(StreamPlan, RefillIsDueExactlyWhereTheCursorReachesTheLastChunk) {
  struct Case {
    const char* what;
    StreamState s;
    std::vector<std::pair<uint32_t, uint32_t>> due;  // half-open cursor ranges
  } cases[] = {
      {"just started", Planned(0, NoWrapMark, 0), {{0, Ring}}},
      {"second half written", Planned(Half, NoWrapMark, 0), {{Half, Ring}}},
      {"first half written, wrapped", Planned(0, Half, Half), {{0, Half}}},
      {"short chunk, not wrapped", Planned(66150, NoWrapMark, 735), {{0, 735}, {66150, Ring}}},
      {"short chunk, wrapped", Planned(44100, 132300, 132300), {{44100, 132300}}},
      {"wrapped after a late poll", Planned(44100, 10000, 10000), {{44100, Ring}}},
  };
  for (const Case& c : cases) {
    for (uint32_t p = 0; p < Ring + 2; ++p) {
      bool expected = false;
      for (auto r : c.due) expected = expected || (r.first <= p && p < r.second);
      if (p >= Ring) expected = RefillDue(c.s, p);  // beyond the ring: only no crash
      ASSERT_EQ(RefillDue(c.s, p), expected) << c.what << ", cursor " << p;
    }
  }
}

TEST(StreamPlan, ChunksEndTheDataInTwoSimilarReads) {
  struct Case {
    uint32_t dataSize;
    std::vector<uint32_t> chunks;  // after the first one at load
  } cases[] = {
      {220500, {66150, 66150}},
      {264600, {88200, 44100, 44100}},
      {308700, {88200, 66150, 66150}},
      {308701, {88200, 66150, 66151}},
      {352800, {88200, 88200, 44100, 44100}},
      {1000000, {88200, 88200, 88200, 88200, 88200, 88200, 88200, 88200, 88200, 59000, 59000}},
  };
  for (const Case& c : cases) {
    StreamState s = {};
    StartStream(&s, 0, c.dataSize, 44100, 2, 16, 0);
    std::vector<uint32_t> chunks;
    while (s.consumed < c.dataSize && chunks.size() < 20) {
      chunks.push_back(NextChunkLength(s));
      s.consumed += chunks.back();
    }
    EXPECT_EQ(chunks, c.chunks) << c.dataSize;
  }
}

TEST(StreamPlan, EveryRefillMovesTheOffsetsTheWrapMarkAndTheCountdown) {
  standin::MemoryStream io;
  StreamState s = Started(io, 500, 308700, 0);
  struct Step {
    uint32_t play;
    RefillResult result;
    uint32_t written, at, lastChunkStart, writeOffset, wrapMark, consumed;
    uint8_t countdown;
  } steps[] = {
      {0, RefillResult::Written, 88200, 88200, 88200, 0, NoWrapMark, 176400, 0},
      {88199, RefillResult::NotDue, 0, 0, 88200, 0, NoWrapMark, 176400, 0},
      {88200, RefillResult::Written, 66150, 0, 0, 66150, 88200, 242550, 0},
      {176399, RefillResult::NotDue, 0, 0, 0, 66150, 88200, 242550, 0},
      {10, RefillResult::Written, 66150, 66150, 66150, 132300, NoWrapMark, 0, 2},
      {66150, RefillResult::Written, 88200, 132300, 132300, 44100, NoWrapMark, 0, 1},
      {132299, RefillResult::NotDue, 0, 0, 132300, 44100, NoWrapMark, 0, 1},
      {132300, RefillResult::Stopped, 0, 0, 132300, 44100, NoWrapMark, 0, 0},
  };
  for (const Step& t : steps) {
    size_t writes = io.writes.size();
    ASSERT_EQ(RefillStream(&s, false, t.play, io), t.result) << "cursor " << t.play;
    if (t.written) {
      ASSERT_EQ(io.writes.size(), writes + 1);
      EXPECT_EQ(io.writes.back(), t.written);
      EXPECT_EQ(io.writeOffsets.back(), t.at);
    } else {
      EXPECT_EQ(io.writes.size(), writes);
    }
    EXPECT_EQ(s.lastChunkStart, t.lastChunkStart) << "cursor " << t.play;
    EXPECT_EQ(s.writeOffset, t.writeOffset) << "cursor " << t.play;
    EXPECT_EQ(s.wrapMark, t.wrapMark) << "cursor " << t.play;
    EXPECT_EQ(s.consumed, t.consumed) << "cursor " << t.play;
    EXPECT_EQ(s.endCountdown, t.countdown) << "cursor " << t.play;
  }
  EXPECT_EQ(s.readPosition, 500);  // back at the loop point, never read
  EXPECT_EQ(io.stops, 1);
}

TEST(StreamPlan, LoopOffsetsOutsideTheDataOrOffABlockAreMended) {
  struct Case {
    int64_t offset;
    uint32_t dataSize;
    uint16_t blockAlign;
    uint32_t usable;
  } cases[] = {
      {0, 1000, 4, 0},      {-1, 1000, 4, 0},     {-4000000000LL, 1000, 4, 0}, {1000, 1000, 4, 0},
      {1001, 1000, 4, 0},   {5000000000LL, 1000, 4, 0}, {999, 1000, 4, 996},  {999, 1000, 1, 999},
      {999, 1000, 0, 999},  {88201, 308700, 2, 88200},  {88203, 308700, 4, 88200}, {6, 1000, 3, 6},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UsableLoopOffset(c.offset, c.dataSize, c.blockAlign), c.usable) << c.offset;
  StreamState s = {};
  StartStream(&s, 300, 308700, 44100, 4, 16, 88203);
  EXPECT_EQ(s.loopStart, 300 + 88200);
  EXPECT_TRUE(ShouldStream(220500, 44100));
  EXPECT_FALSE(ShouldStream(220499, 44100));
  EXPECT_FALSE(ShouldStream(220500, 0));
}

TEST(StreamPlan, SilenceIsTheFormatsOwnInShortReadsAndAtTheEnd) {
  for (uint16_t bits : {8, 16}) {
    const uint8_t silence = bits == 8 ? 0x80 : 0x00;
    Playback p(308700, bits, 0);
    p.io.pack.resize(p.io.pack.size() - 1000);  // the file ends inside the samples
    p.Run(735, false, 1000000);
    ASSERT_EQ(p.io.stops, 1) << bits;
    ASSERT_GE(p.played.size(), 307700u);
    for (size_t i = 0; i < p.played.size(); ++i) {
      uint8_t want = i < 307700 ? p.io.pack[1000 + i] : silence;
      ASSERT_EQ(p.played[i], want) << bits << "-bit, byte " << i;
    }
    // The countdown chunk filled the ring from where the data ended.
    for (uint32_t i = 0; i < Half; ++i) ASSERT_EQ(p.io.ring[(132300 + i) % Ring], silence) << i;
  }
}

TEST(StreamPlan, APlaybackSoundsEverySourceByteOnceInOrderThenSilenceAndStops) {
  struct Case {
    uint32_t dataSize;
    uint16_t bits;
    uint32_t step;
    int failAtPoll;
  } cases[] = {
      {308700, 16, 735, -1},  {308700, 16, 1, -1},     {220500, 8, 367, -1}, {882003, 16, 4410, -1},
      {1000000, 8, 11025, -1}, {264600, 16, 1234, -1}, {308700, 16, 735, 130}, {1000000, 16, 735, 119},
  };
  for (const Case& c : cases) {
    Playback p(c.dataSize, c.bits, 0);
    p.Run(c.step, false, 10000000, c.failAtPoll);
    const uint8_t silence = c.bits == 8 ? 0x80 : 0x00;
    ASSERT_EQ(p.io.stops, 1) << c.dataSize << " step " << c.step;
    ASSERT_GE(p.played.size(), c.dataSize);
    EXPECT_LE(p.played.size(), c.dataSize + c.step) << "the stop came late";
    for (size_t i = 0; i < p.played.size(); ++i) {
      uint8_t want = i < c.dataSize ? p.io.pack[1000 + i] : silence;
      ASSERT_EQ(p.played[i], want) << c.dataSize << " step " << c.step << ", byte " << i;
    }
  }
}

TEST(StreamPlan, ALoopingPlaybackContinuesFromTheLoopPointWithoutAGap) {
  struct Case {
    uint32_t dataSize;
    int64_t loopOffset;
    uint32_t loopAt;
    uint32_t step;
    int failAtPoll;
  } cases[] = {
      {308700, 88201, 88200, 735, -1}, {308700, 0, 0, 1470, -1}, {441001, 200000, 200000, 4410, -1},
      {308700, 400000, 0, 735, -1},    {308700, 88200, 88200, 735, 200}, {308700, 248700, 248700, 735, -1}, {308700, 300000, 300000, 735, -1},
  };
  for (const Case& c : cases) {
    Playback p(c.dataSize, 16, c.loopOffset);
    size_t enough = c.dataSize + 3 * (c.dataSize - c.loopAt);
    p.Run(c.step, true, enough, c.failAtPoll);
    EXPECT_EQ(p.io.stops, 0);
    for (size_t i = 0; i < enough; ++i) {
      size_t at = i < c.dataSize ? i : c.loopAt + (i - c.dataSize) % (c.dataSize - c.loopAt);
      ASSERT_EQ(p.played[i], p.io.pack[1000 + at]) << c.dataSize << " loop " << c.loopOffset << ", byte " << i;
    }
  }
}
