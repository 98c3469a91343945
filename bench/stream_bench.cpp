// The cost of a frame's streaming poll when no stream needs a refill: eight
// streams mid-play, each a refill decision and nothing else.
#include <benchmark/benchmark.h>

#include <cstring>

#include "sound/stream_rules.h"

namespace {

// Counts every file and buffer access; a poll with no refill due makes none.
struct CountingIo final : zo::StreamIo {
  long accesses = 0;
  ReadResult ReadPack(const char*, int32_t, uint8_t*, uint32_t, uint32_t* got) override {
    ++accesses;
    *got = 0;
    return ReadResult::Read;
  }
  bool WriteRing(uint32_t, const uint8_t*, uint32_t) override { return ++accesses, true; }
  void Stop() override { ++accesses; }
};

void BM_StreamingPollEightStreamsNoRefillDue(benchmark::State& state) {
  StreamState streams[8];
  uint32_t play[8];
  for (int i = 0; i < 8; ++i) {
    std::memset(&streams[i], 0, sizeof streams[i]);
    zo::StartStream(&streams[i], 0, 44100 * 60, 44100, 2, 16, 0);
    streams[i].lastChunkStart = 88200;  // the second half written, cursor in the first
    streams[i].writeOffset = 0;
    play[i] = 1000 + 735 * static_cast<uint32_t>(i);
  }
  CountingIo io;
  for (auto _ : state) {
    for (int i = 0; i < 8; ++i) {
      zo::RefillResult r = zo::RefillStream(&streams[i], true, play[i], io);
      benchmark::DoNotOptimize(r);
    }
  }
  if (io.accesses != 0) state.SkipWithError("a poll with no refill due touched the pack or the ring");
  state.counters["accesses"] = static_cast<double>(io.accesses);
  state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_StreamingPollEightStreamsNoRefillDue);

}  // namespace

BENCHMARK_MAIN();
