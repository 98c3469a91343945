// The row effects against their literal row-by-row loops over seeded random
// ranges, keeping only the rows that can show; and ranges of every length,
// INT_MIN and INT_MAX among them, that must end at once.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "draw/blit_rules.h"
#include "draw/row_effects.h"

namespace {

struct Call {
  bool keyed;
  int x, y, l, t, r, b;
  bool operator==(const Call& o) const {
    return keyed == o.keyed && x == o.x && y == o.y && l == o.l && t == o.t && r == o.r && b == o.b;
  }
};
std::vector<Call> calls;
unsigned randomState;
const zo::RowBlitter recorder{
    [](int x, int y, int, int l, int t, int r, int b) { calls.push_back({true, x, y, l, t, r, b}); },
    [](int x, int y, int, int l, int t, int r, int b) { calls.push_back({false, x, y, l, t, r, b}); },
    [] { return int((randomState = randomState * 1103515245u + 12345u) >> 16 & 0x7FFF); }};

// The literal loops draw every row; a row shows when its destination lies in
// the bounds and its source row in the object.
struct Reference {
  zo::RowBounds bounds;
  std::vector<Call> want;
  void Blit(int x, int y, int l, int row, int r, bool keyed = true) {
    if (y >= bounds.top && y < bounds.bottom && row >= 0 && row < bounds.objectHeight)
      want.push_back({keyed, x, y, l, row, r, row + 1});
  }
};

}  // namespace

TEST(RowEffects, RandomAgainstTheLiteralLoops) {
  const unsigned seed = 20261209;
  std::mt19937 rng(seed);
  auto r = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 3000; ++i) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << " case " << i);
    const zo::RowBounds bounds{r(-20, 60), r(-20, 120), r(0, 80)};
    const int x = r(-50, 50), y = r(-60, 100), st = r(-20, 70), sb = st + r(-3, 90);
    const int amp = r(-30, 30), div = r(-4, 4), band = r(-1, 9);
    const float phase = float(r(0, 3590)) / 10.0f, scroll = float(r(0, 400)) / 10.0f;
    const bool alternate = r(0, 1) != 0;

    Reference ref{bounds, {}};
    int refSign = r(0, 1) ? 1 : -1, sign = refSign;
    for (int w = st; w < sb; ++w) {  // DrawRowWave
      int offset = zo::WaveOffset(amp, div, phase, w);
      if (alternate) offset *= refSign, refSign = -refSign;
      ref.Blit(x + offset, y + w - st, 0, w, 9);
    }
    calls.clear();
    zo::RowWave(recorder, bounds, x, y, amp, div, phase, alternate, &sign, 1, 0, st, 9, sb);
    ASSERT_EQ(calls, ref.want) << "row wave";
    ASSERT_EQ(sign, refSign) << "row wave sign";

    const int H = sb - st;  // DrawRowWaveScroll
    ref.want.clear();
    const float sc = H > 0 ? std::fmod(scroll, float(H)) : 0.0f;
    for (int row = st; row < sb; ++row) {
      int s = int(sc) + row;
      if (s >= sb) s -= H;
      ref.Blit(x + zo::WaveOffset(amp, div, phase, row), y + row - st, 0, s, 9);
    }
    calls.clear();
    zo::RowWaveScroll(recorder, bounds, x, y, amp, div, phase, sc, 1, 0, st, 9, sb);
    ASSERT_EQ(calls, ref.want) << "row wave scroll";

    const int top = r(-30, 60), bottom = top + r(-5, 80), sl = r(0, 5), sr = sl + r(1, 40), width = r(0, 200);
    ref.want.clear();  // DrawRowWaveTile
    if (H > 0) {
      for (int k = 0; k < bottom - top; ++k) {
        int s = k % H + int(sc);
        if (s > H - 1) s -= H;
        for (int n = 0; n < width / (sr - sl) + 2; ++n)
          ref.Blit((sr - sl) * n + zo::WaveOffset(amp, div, phase, k) - amp, top + k, sl, st + s, sr);
      }
    }
    calls.clear();
    zo::RowWaveTile(recorder, bounds, width, top, bottom, amp, div, phase, sc, 1, sl, st, sr, sb);
    ASSERT_EQ(calls, ref.want) << "row wave tile";

    ref.want.clear();  // DrawRowMosaic
    if (band >= 1)
      for (int s = st; s < sb; s += band)
        for (int k = s; k < s + band; ++k) ref.Blit(x, y + k - st, 0, s, 9);
    calls.clear();
    zo::RowMosaic(recorder, bounds, x, y, band, 1, 0, st, 9, sb);
    ASSERT_EQ(calls, ref.want) << "mosaic band " << band;

    const int step = r(1, 6);  // DrawScanlines, fixed steps
    ref.want.clear();
    for (int row = st + step; row < sb; row += step) ref.Blit(x, y + row - st, 0, row, 9);
    calls.clear();
    zo::Scanlines(recorder, bounds, x, y, step, 1, 0, st, 9, sb);
    ASSERT_EQ(calls, ref.want) << "scanlines step " << step;

    ref.want.clear();  // DrawWave
    if (H >= 2) {
      int start = 0;
      for (int k = 0; k < H; ++k) {
        const float at = float(k) + phase;
        const int end = int(double(H / 2) * std::cos(2.0 * 3.141592653589793 * at / double(H - 1)) + double(H / 2));
        for (int o = start; o <= end; ++o) ref.Blit(x, y + o, 0, st + k, 9, false);
        start = end + 1;
      }
    }
    calls.clear();
    zo::Wave(recorder, bounds, phase, 0.0f, x, y, 1, 1, 0, st, 9, sb);
    ASSERT_EQ(calls, ref.want) << "wave";
  }
}

// A hundred million rows, or INT_MIN to INT_MAX with a divisor of -1: before
// the rows were clipped these ran for minutes or trapped on INT_MIN / -1.
TEST(RowEffects, HugeAndExtremeRangesEndAtOnce) {
  const zo::RowBounds bounds{0, 480, 64};
  const struct {
    int y, st, sb;
  } ranges[] = {
      {0, 0, 100000000},           {-100000000, 0, 100000000}, {0, INT_MIN, INT_MAX},
      {INT_MIN, INT_MIN, INT_MAX}, {INT_MAX, INT_MIN, INT_MAX}, {0, INT_MIN, INT_MIN + 100000000},
      {INT_MIN, 0, INT_MAX},       {0, INT_MAX - 3, INT_MAX},
  };
  const auto start = std::chrono::steady_clock::now();
  for (const auto& c : ranges) {
    SCOPED_TRACE(testing::Message() << c.y << " " << c.st << " " << c.sb);
    for (int div : {-1, 0, 1}) {
      int sign = 1;
      calls.clear();
      zo::RowWave(recorder, bounds, INT_MAX, c.y, INT_MAX, div, 1e30f, true, &sign, 1, 0, c.st, 9, c.sb);
      zo::RowWaveScroll(recorder, bounds, INT_MIN, c.y, INT_MIN, div, -1e30f, 3.0e9f, 1, 0, c.st, 9, c.sb);
      zo::RowWaveTile(recorder, bounds, 640, c.st, c.sb, INT_MIN, div, 0.0f, 0.0f, 1, 0, c.st, 9, c.sb);
      zo::RowWaveTile(recorder, bounds, 640, c.y, c.sb, 7, div, 0.0f, 0.0f, 1, INT_MIN, 0, INT_MAX, 64);
      for (int band : {1, 3, INT_MAX}) zo::RowMosaic(recorder, bounds, 0, c.y, band, 1, 0, c.st, 9, c.sb);
      for (int step : {1, -1, INT_MIN, INT_MAX}) zo::Scanlines(recorder, bounds, 0, c.y, step, 1, 0, c.st, 9, c.sb);
      for (int amplitude : {1, INT_MAX}) zo::Jitter(recorder, bounds, 0, c.y, amplitude, 1, 0, c.st, 9, c.sb);
      zo::Wave(recorder, bounds, 0.0f, 1.0f, 0, c.y, 1, 1, 0, c.st, 9, c.sb);
      for (const Call& k : calls) {
        EXPECT_EQ(k.b - k.t, 1);
        EXPECT_GE(k.y, 0);
        EXPECT_LT(k.y, 480);
        EXPECT_GE(k.t, 0);
        EXPECT_LT(k.t, 64);
      }
      EXPECT_LT(calls.size(), 480u * 50);
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
