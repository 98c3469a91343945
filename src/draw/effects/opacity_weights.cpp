#include "draw/effects/opacity_weights.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace zo {

namespace {

// u = p / 2^shift exactly (p taken from u's mantissa) and the rounding
// error of v against 1 - u in units of 2^-shift, which must be a small
// integer. This holds for u down to 2^-8.
bool SplitAround(float u, float v, SplitWeights* out) {
  if (u == 0.0f) {
    if (v != 1.0f) return false;
    out->p = out->rest = 0;
    out->shift = 0;
    return true;
  }
  if (!(u >= 1.0f / 256.0f) || u > 1.0f) return false;
  int e;
  const double m = std::frexp(double(u), &e);  // u = m * 2^e, m in [0.5, 1)
  const int shift = 24 - e;                    // u = p / 2^shift, shift <= 31
  const long double delta = static_cast<long double>(v) - (1.0L - static_cast<long double>(u));
  const long double r = std::ldexp(delta, shift);
  if (r != std::floor(r) || r > 4096 || r < -4096) return false;
  out->p = int32_t(std::ldexp(m, 24));
  out->rest = int32_t(r);
  out->shift = shift;
  return true;
}

}  // namespace

bool SplitOpacity(float sw, float dw, SplitWeights* out) {
  out->sourceIsU = true;
  if (SplitAround(sw, dw, out)) return true;
  out->sourceIsU = false;
  return SplitAround(dw, sw, out);
}

int SplitSum(const SplitWeights& w, int s, int d) {
  const int cu = w.sourceIsU ? s : d, cv = w.sourceIsU ? d : s;
  const int64_t n = int64_t(w.p) * (cu - cv) + int64_t(w.rest) * cv;
  return cv + int(n >> w.shift);  // arithmetic shift: the floor
}

bool FindLaneWeight(float sw, float dw, int max, LaneWeight* out) {
  SplitWeights w;
  if (max < 1 || max > 63 || !SplitOpacity(sw, dw, &w)) return false;
  // For a fixed x = s - d, SplitSum(d + x, d) - d is the floor of a linear
  // function of d, so it only rises or only falls along d: equal at both
  // ends of d's range, it is constant over the range. That makes the proof
  // two sums per x.
  auto step = [&](int x, int d) { return SplitSum(w, d + x, d) - d; };
  // Equal components: 0, or -1 for every d above 0 when v falls short of
  // 1 - u.
  const int same = step(0, 1);
  if ((same != 0 && same != -1) || step(0, max) != same) return false;
  const double scaled = double(sw) * 16384.0;
  for (const double candidate : {std::floor(scaled), std::ceil(scaled)}) {
    const int a = int(candidate);
    if (a < 0 || a > 16384) continue;
    bool equal = true;
    for (int x = -max; x <= max && equal; ++x) {
      if (x == 0) continue;
      const int lo = std::max(0, -x), hi = std::min(max, max - x);
      const int lane = (a * 4 * x) >> 16;  // as the multiply-high rounds: down
      equal = step(x, lo) == lane && step(x, hi) == lane;
    }
    if (equal) {
      out->a = int16_t(a);
      out->fix = same ? 1 : 0;
      return true;
    }
  }
  return false;
}

}  // namespace zo
