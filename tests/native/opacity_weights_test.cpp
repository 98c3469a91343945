// The integer form of the opacity sum against the extended-precision sum,
// and every proven lane and pair form against the integer form, over every
// pair of channel values.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "draw/effects/opacity_weights.h"

namespace {

int LiteralSum(float sw, float dw, int s, int d) {
  return int(static_cast<long double>(sw) * s + static_cast<long double>(dw) * d);
}

struct WeightPair {
  float sw, dw;
};

// Flat opacities (dw = 1 - sw) and ramp steps (dw lowered by 1/32, sw = 1 - dw).
std::vector<WeightPair> ManyWeights() {
  std::vector<float> alphas;
  for (int k = 0; k <= 1000; ++k) alphas.push_back(float(k) / 1000.0f);
  for (int k = 1; k < 64; ++k) alphas.push_back(1.0f / float(k));
  std::mt19937 rng(1201);
  for (int k = 0; k < 500; ++k) alphas.push_back(std::uniform_real_distribution<float>(0.0f, 1.0f)(rng));
  std::vector<WeightPair> out;
  for (float a : alphas) {
    out.push_back({a, 1.0f - a});
    float w = 1.0f - a;
    for (int step = 0; step < 4 && w > 0.0f; ++step) {
      w = std::max(w - 0.03125f, 0.0f);
      out.push_back({1.0f - w, w});
    }
  }
  return out;
}

TEST(OpacityWeights, IntegerFormIsTheExtendedSumForEveryPair) {
  int split = 0;
  for (const WeightPair& w : ManyWeights()) {
    zo::SplitWeights sw;
    if (!zo::SplitOpacity(w.sw, w.dw, &sw)) continue;
    ++split;
    for (int s = 0; s < 64; ++s)
      for (int d = 0; d < 64; ++d)
        ASSERT_EQ(zo::SplitSum(sw, s, d), LiteralSum(w.sw, w.dw, s, d)) << w.sw << " " << w.dw << " " << s << "," << d;
  }
  EXPECT_GT(split, 7000);  // all but the faintest
}

TEST(OpacityWeights, EveryProvenFormIsTheIntegerFormForEveryPair) {
  for (const int max : {31, 63}) {
    for (const WeightPair& w : ManyWeights()) {
      zo::SplitWeights sw;
      zo::LaneWeight lane;
      zo::PairWeight pair;
      const bool split = zo::SplitOpacity(w.sw, w.dw, &sw);
      const bool hasLane = zo::FindLaneWeight(w.sw, w.dw, max, &lane);
      const bool hasPair = zo::FindPairWeight(w.sw, w.dw, max, &pair);
      ASSERT_TRUE(split || (!hasLane && !hasPair));
      for (int s = 0; s <= max; ++s)
        for (int d = 0; d <= max; ++d) {
          const int want = zo::SplitSum(sw, s, d);
          if (hasLane) {
            const int t = (lane.a * 4 * (s - d)) >> 16;
            const int got = d + t - (s == d && d != 0 ? lane.fix : 0);
            ASSERT_EQ(got, want) << "lane " << w.sw << " " << w.dw << " " << s << "," << d;
          }
          if (hasPair) {
            const int64_t n = int64_t(pair.a) * ((s - d) * (1 << zo::PairXShift)) + int64_t(pair.b) * d;
            ASSERT_EQ(d + int(n >> zo::PairShift), want) << "pair " << w.sw << " " << w.dw << " " << s << "," << d;
          }
        }
    }
  }
}

TEST(OpacityWeights, WhichFormsAnOpacityHas) {
  struct Case {
    float alpha;
    int max;
    bool lane, fix, pair;
  };
  const Case cases[] = {
      {0.5f, 63, true, false, true},    // v = 1 - u exactly
      {0.75f, 63, true, false, true},
      {0.3f, 63, true, false, true},    // 1 - 0.3f happens to be exact
      {0.37f, 63, true, false, true},
      {0.009f, 63, true, true, true},   // v short of 1 - u: equal components lose one
      {0.1f, 63, false, false, true},   // the sum for s - d = 10 changes along d
      {0.2f, 31, false, false, true},
      {0.003f, 63, false, false, false},  // below 2^-8: the integer form does not hold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alpha);
    zo::LaneWeight lane;
    zo::PairWeight pair;
    EXPECT_EQ(zo::FindLaneWeight(c.alpha, 1.0f - c.alpha, c.max, &lane), c.lane);
    if (c.lane) {
      EXPECT_EQ(lane.fix, c.fix ? 1 : 0);
    }
    EXPECT_EQ(zo::FindPairWeight(c.alpha, 1.0f - c.alpha, c.max, &pair), c.pair);
  }
}

}  // namespace
