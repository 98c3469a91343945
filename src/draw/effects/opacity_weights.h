// The opacity blend of one channel, trunc(sw * s + dw * d) summed in extended
// precision, in exact integers, and the cheaper 16-bit form the vector paths
// take wherever it is proven equal for every pair of channel values.
#pragma once

#include <cstdint>

namespace zo {

// When one weight is u = p / 2^shift and the other v = 1 - u + rest / 2^shift,
// the truncated sum is cv + floor((p * (cu - cv) + rest * cv) / 2^shift), cu
// being the component weighted by u.
struct SplitWeights {
  bool sourceIsU;
  int32_t p, rest;  // p below 2^24
  int shift;        // at most 31
};

// False where the integer form does not hold (the smaller weight below 2^-8,
// or v too far from 1 - u).
bool SplitOpacity(float sw, float dw, SplitWeights* out);

// The truncated sum for source component s and destination component d.
int SplitSum(const SplitWeights& w, int s, int d);

// d + floor(a * 4 * (s - d) / 2^16), less one where s == d != 0 and fix is 1:
// a multiply-high, an add and a compare on eight 16-bit lanes.
struct LaneWeight {
  int16_t a;
  uint16_t fix;  // 0 or 1
};

// Finds a lane form equal to the opacity blend for every s and d in 0..max
// (max at most 63) and proves it so; false where there is none, and the
// caller takes the integer form.
bool FindLaneWeight(float sw, float dw, int max, LaneWeight* out);

// d + floor((a * (s - d) * 2^9 + b * d) / 2^23): two multiply-adds per eight
// pixels. It also takes the opacities near a fraction of small denominator
// (0.1, 0.2, ...), where the sum for one difference s - d changes along d.
struct PairWeight {
  int16_t a, b;
};
const int PairXShift = 9, PairShift = 23;

// As FindLaneWeight, for the pair form.
bool FindPairWeight(float sw, float dw, int max, PairWeight* out);

}  // namespace zo
