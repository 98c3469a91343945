#include "draw/effects/row_blits.h"

#include <cmath>
#include <cstdint>

namespace zo {

namespace {

// A coordinate far off every surface stays far off rather than wrapping.
int Held(int64_t v) { return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int(v); }

}  // namespace

void Scanlines(const RowBlitter& blit, int x, int y, int step, int obj, int l, int t, int r, int b) {
  if (step == 0) return;
  const int64_t span = -int64_t(step);  // for step < 0; -INT_MIN fits here
  auto next = [&](int64_t row) {
    return step > 0 ? row + step : row + int64_t(blit.random()) % span + 1;
  };
  for (int64_t row = next(t); row < b; row = next(row))
    blit.keyed(x, Held(int64_t(y) + row - t), obj, l, int(row), r, int(row) + 1);
}

void Jitter(const RowBlitter& blit, int x, int y, int amplitude, int obj, int l, int t, int r, int b) {
  if (amplitude <= 0) {
    blit.keyed(x, y, obj, l, t, r, b);
    return;
  }
  const int64_t a = amplitude;
  for (int64_t row = t; row < b; ++row) {
    const int64_t offset = int64_t(blit.random()) % (2 * a) - a;
    blit.keyed(Held(x + offset), Held(int64_t(y) + row - t), obj, l, int(row), r, int(row) + 1);
  }
}

float Wave(const RowBlitter& blit, float phase, float step, int x, int y, int direction, int obj, int l,
           int t, int r, int b) {
  const int64_t H = int64_t(b) - t;
  if (H < 2) return phase;  // H - 1 divides the angle
  if (!std::isfinite(phase)) phase = 0.0f;
  const int64_t half = H / 2;
  const double twoPi = 2.0 * 3.141592653589793;
  int64_t start = 0;
  for (int64_t k = 0; k < H; ++k) {
    const float at = float(k) + phase;
    const int64_t end = int64_t(double(half) * std::cos(twoPi * at / double(H - 1)) + double(half));
    for (int64_t o = start; o <= end; ++o)
      blit.opaque(x, Held(int64_t(y) + o), obj, l, int(t + k), r, int(t + k + 1));
    start = end + 1;
  }
  const float height = float(H);
  if (direction) {
    phase += step;
    if (phase >= height) phase -= height;
  } else {
    phase -= step;
    if (phase < 0.0f) phase += height;
  }
  return phase;
}

}  // namespace zo
