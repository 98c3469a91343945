#include "draw/effects/row_blits.h"

#include <algorithm>
#include <cmath>

namespace zo {

RowSpan VisibleRows(const RowBounds& bounds, int y, int st, int sb) {
  const int64_t shift = int64_t(st) - y;  // destination row + shift = source row
  const int64_t first = std::max<int64_t>({st, 0, bounds.top + shift});
  const int64_t last = std::min<int64_t>({sb, bounds.objectHeight, bounds.bottom + shift});
  return {first, last};
}

int HeldCoordinate(int64_t v) { return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int(v); }

void Scanlines(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int step, int obj, int l,
               int t, int r, int b) {
  if (step == 0) return;
  const RowSpan rows = VisibleRows(bounds, y, t, b);
  int64_t row;
  if (step > 0) {
    // The first row t + k * step (k >= 1) that can show.
    const int64_t k = std::max<int64_t>(1, (rows.first - t + step - 1) / step);
    row = t + k * step;
  } else {
    // Random gaps of at least one row: the rows above the visible ones are
    // stepped over at once rather than drawn one random gap at a time.
    const int64_t span = -int64_t(step);  // -INT_MIN fits here
    row = std::max<int64_t>(t, rows.first - 1) + int64_t(blit.random()) % span + 1;
  }
  for (; row < rows.last;) {
    if (row >= rows.first) blit.keyed(x, HeldCoordinate(int64_t(y) + row - t), obj, l, int(row), r, int(row) + 1);
    row = step > 0 ? row + step : row + int64_t(blit.random()) % -int64_t(step) + 1;
  }
}

void Jitter(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amplitude, int obj, int l,
            int t, int r, int b) {
  if (amplitude <= 0) {
    blit.keyed(x, y, obj, l, t, r, b);
    return;
  }
  const int64_t a = amplitude;
  const RowSpan rows = VisibleRows(bounds, y, t, b);
  for (int64_t row = rows.first; row < rows.last; ++row) {
    const int64_t offset = int64_t(blit.random()) % (2 * a) - a;
    blit.keyed(HeldCoordinate(x + offset), HeldCoordinate(int64_t(y) + row - t), obj, l, int(row), r,
               int(row) + 1);
  }
}

float Wave(const RowBlitter& blit, const RowBounds& bounds, float phase, float step, int x, int y,
           int direction, int obj, int l, int t, int r, int b) {
  const int64_t H = int64_t(b) - t;
  if (H < 2) return phase;  // H - 1 divides the angle
  if (!std::isfinite(phase)) phase = 0.0f;
  const int64_t half = H / 2;
  const double twoPi = 2.0 * 3.141592653589793;
  // Source row t + k fills destination rows start..end of the profile, where
  // start follows the end of row k - 1; only the rows that can show are
  // visited, each with its own piece of the profile.
  auto end = [&](int64_t k) {
    const float at = float(k) + phase;
    return int64_t(double(half) * std::cos(twoPi * at / double(H - 1)) + double(half));
  };
  const int64_t firstK = std::max<int64_t>(0, -int64_t(t));
  const int64_t lastK = std::min<int64_t>(H, int64_t(bounds.objectHeight) - t);
  const int64_t lowest = int64_t(bounds.top) - y, highest = int64_t(bounds.bottom) - 1 - y;
  int64_t previous = firstK == 0 ? -1 : end(firstK - 1);
  for (int64_t k = firstK; k < lastK; ++k) {
    const int64_t current = end(k);
    const int64_t to = std::min(current, highest);
    for (int64_t o = std::max(previous + 1, lowest); o <= to; ++o)
      blit.opaque(x, HeldCoordinate(int64_t(y) + o), obj, l, int(t + k), r, int(t + k + 1));
    previous = current;
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
