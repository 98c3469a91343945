// Row effects over ranges of every length, INT_MIN and INT_MAX among them:
// only rows that can show are drawn, and every call ends at once (a hundred
// million rows ran for minutes before; INT_MIN / -1 trapped).
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <vector>

#include "draw/effects/row_blits.h"

namespace {
struct Call {
  int y, t, b;
};
std::vector<Call> calls;
void Record(int, int y, int, int, int t, int, int b) { calls.push_back({y, t, b}); }
const zo::RowBlitter recorder{Record, Record, [] { return 12345; }};
}  // namespace

TEST(RowEffects, HugeAndExtremeRangesDrawOnlyWhatShows) {
  const zo::RowBounds bounds{0, 480, 64};
  const int ranges[][3] = {{0, 0, 100000000},       {0, INT_MIN, INT_MAX}, {INT_MIN, INT_MIN, INT_MAX},
                           {INT_MAX, INT_MIN, INT_MAX}, {INT_MIN, 0, INT_MAX}, {0, INT_MAX - 3, INT_MAX}};
  const auto start = std::chrono::steady_clock::now();
  for (const auto& c : ranges) {
    const int y = c[0], st = c[1], sb = c[2];
    for (int div : {-1, 0, 1}) {
      int sign = 1;
      calls.clear();
      zo::RowWave(recorder, bounds, INT_MAX, y, INT_MAX, div, 1e30f, true, &sign, 1, 0, st, 9, sb);
      zo::RowWaveScroll(recorder, bounds, INT_MIN, y, INT_MIN, div, -1e30f, 3.0e9f, 1, 0, st, 9, sb);
      zo::RowWaveTile(recorder, bounds, 640, st, sb, INT_MIN, div, 0.0f, 0.0f, 1, 0, st, 9, sb);
      zo::RowWaveTile(recorder, bounds, 640, y, sb, 7, div, 0.0f, 0.0f, 1, INT_MIN, 0, INT_MAX, 64);
      for (int band : {1, 3, INT_MAX}) zo::RowMosaic(recorder, bounds, 0, y, band, 1, 0, st, 9, sb);
      for (int step : {1, -1, INT_MIN, INT_MAX}) zo::Scanlines(recorder, bounds, 0, y, step, 1, 0, st, 9, sb);
      zo::Jitter(recorder, bounds, 0, y, INT_MAX, 1, 0, st, 9, sb);
      zo::Wave(recorder, bounds, 0.0f, 1.0f, 0, y, 1, 1, 0, st, 9, sb);
      for (const Call& k : calls)
        ASSERT_TRUE(k.y >= 0 && k.y < 480 && k.t >= 0 && k.t < 64 && k.b == k.t + 1) << k.y << " " << k.t;
      EXPECT_LT(calls.size(), 480u * 50);
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  calls.clear();  // every row that can show is still drawn, with the sign of its place
  int sign = -1;
  zo::RowWave(recorder, bounds, 0, -10, 0, 0, 0.0f, true, &sign, 1, 0, 0, 9, 100000001);
  EXPECT_EQ(calls.size(), 54u);  // source rows 10..63 at destination rows 0..53
  EXPECT_EQ(calls.front().t, 10);
  EXPECT_EQ(sign, 1);  // an odd number of rows flips it
}
