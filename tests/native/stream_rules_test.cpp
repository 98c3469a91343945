// The refill plan of a streamed sound over a stand-in ring.
#include <gtest/gtest.h>

#include "stream_stand_in.h"

using namespace zo;

TEST(StreamPlan, SevenSecondsPlayInFourChunksThenSilenceThenStop) {
  standin::MemoryStream io;
  io.pack.assign(308700, 7);
  io.ring.assign(176400, 0);
  StreamState s = {};
  StartStream(&s, 0, 308700, 44100, 2, 16, 0);
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
  io.pack.assign(308700, 7);
  io.ring.assign(176400, 0);
  StreamState s = {};
  StartStream(&s, 0, 308700, 44100, 2, 16, 88200);
  uint32_t play = 0;
  for (int i = 0; i < 1000 && io.writes.size() < 4; ++i, play = (play + 735) % 176400)
    RefillStream(&s, true, play, io);
  EXPECT_EQ(s.consumed, 88200u + 88200u);
  EXPECT_EQ(s.endCountdown, 0);
  EXPECT_EQ(UsableLoopOffset(88201, 308700, 2), 88200u);
  EXPECT_EQ(UsableLoopOffset(308700, 308700, 2), 0u);
}
