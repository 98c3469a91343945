#include "draw/effects/opacity_weights.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

int64_t FloorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
int64_t CeilDiv(int64_t n, int64_t d) { return -FloorDiv(-n, d); }

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

namespace {

bool ProveLaneWeight(float sw, float dw, int max, LaneWeight* out) {
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
      // With v exactly 1 - u the sum does not depend on d at all.
      equal = step(x, lo) == lane && (w.rest == 0 || step(x, hi) == lane);
    }
    if (equal) {
      out->a = int16_t(a);
      out->fix = same ? 1 : 0;
      return true;
    }
  }
  return false;
}

// The last forms found, by weights and channel width: a ramp asks for the
// same few dozen every frame.
struct LaneMemo {
  uint32_t sw, dw;
  int max;  // 0: empty
  bool found;
  LaneWeight weight;
};
LaneMemo laneMemo[128];

uint32_t Bits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}

}  // namespace

bool FindLaneWeight(float sw, float dw, int max, LaneWeight* out) {
  const uint32_t s = Bits(sw), d = Bits(dw);
  LaneMemo& m = laneMemo[(s * 2654435761u ^ d * 40503u ^ uint32_t(max)) >> 25];
  if (m.max != max || m.sw != s || m.dw != d) {
    m.found = ProveLaneWeight(sw, dw, max, &m.weight);
    m.sw = s;
    m.dw = d;
    m.max = max;
  }
  *out = m.weight;
  return m.found;
}

bool FindPairWeight(float sw, float dw, int max, PairWeight* out) {
  SplitWeights w;
  if (max < 1 || max > 63 || !SplitOpacity(sw, dw, &w)) return false;
  auto step = [&](int x, int d) { return SplitSum(w, d + x, d) - d; };
  const double scaled = double(sw) * 16384.0;
  for (const double candidate : {std::floor(scaled), std::ceil(scaled)}) {
    const int64_t a = int64_t(candidate);
    if (a < 0 || a > 16384) continue;
    // Every requirement "the form gives e at (x, d)" bounds b from both
    // sides; the form is monotone along d as the sum is, so it suffices to
    // require the ends of each run of equal sums.
    int64_t bLow = -32768, bHigh = 32767;
    bool possible = true;
    auto require = [&](int x, int d, int e) {
      const int64_t base = a * x * (1 << PairXShift);
      const int64_t low = int64_t(e) << PairShift, high = (int64_t(e + 1) << PairShift) - 1;
      if (d == 0) {
        possible = possible && base >= low && base <= high;
        return;
      }
      bLow = std::max(bLow, CeilDiv(low - base, d));
      bHigh = std::min(bHigh, FloorDiv(high - base, d));
    };
    for (int x = -max; x <= max && possible; ++x) {
      const int lo = std::max(0, -x), hi = std::min(max, max - x);
      const int first = step(x, lo), last = step(x, hi);
      require(x, lo, first);
      require(x, hi, last);
      if (first == last) continue;
      if (first - last != 1 && last - first != 1) {
        possible = false;
        break;
      }
      int before = lo, after = hi;  // the sum changes once, between them
      while (after - before > 1) {
        const int mid = (before + after) / 2;
        (step(x, mid) == first ? before : after) = mid;
      }
      require(x, before, first);
      require(x, after, last);
    }
    if (!possible || bLow > bHigh) continue;
    out->a = int16_t(a);
    out->b = int16_t(std::min(std::max(int64_t(0), bLow), bHigh));
    return true;
  }
  return false;
}

}  // namespace zo
