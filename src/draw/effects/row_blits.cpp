#include "draw/effects/row_blits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "draw/blit_rules.h"

namespace zo {

namespace {

// The whole rows of a scroll kept in [0, height); anything else starts at 0.
int64_t ScrollRows(float scroll) { return std::isfinite(scroll) && std::fabs(scroll) < 1e15f ? int64_t(scroll) : 0; }

bool InObject(const RowBounds& bounds, int64_t row) { return row >= 0 && row < bounds.objectHeight; }

}  // namespace

RowSpan VisibleRows(const RowBounds& bounds, int y, int st, int sb) {
  const int64_t shift = int64_t(st) - y;  // destination row + shift = source row
  const int64_t first = std::max<int64_t>({st, 0, bounds.top + shift});
  const int64_t last = std::min<int64_t>({sb, bounds.objectHeight, bounds.bottom + shift});
  return {first, last};
}

int HeldCoordinate(int64_t v) { return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int(v); }

void Scanlines(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int step, int object, int sl,
               int st, int sr, int sb) {
  if (step == 0) return;
  const RowSpan rows = VisibleRows(bounds, y, st, sb);
  int64_t row;
  if (step > 0) {
    // The first row st + k * step (k >= 1) that can show.
    const int64_t k = std::max<int64_t>(1, (rows.first - st + step - 1) / step);
    row = st + k * step;
  } else {
    // Random gaps of at least one row: the rows above the visible ones are
    // stepped over at once rather than drawn one random gap at a time.
    const int64_t span = -int64_t(step);  // -INT_MIN fits here
    row = std::max<int64_t>(st, rows.first - 1) + int64_t(blit.random()) % span + 1;
  }
  for (; row < rows.last;) {
    if (row >= rows.first)
      blit.keyed(x, HeldCoordinate(int64_t(y) + row - st), object, sl, int(row), sr, int(row) + 1);
    row = step > 0 ? row + step : row + int64_t(blit.random()) % -int64_t(step) + 1;
  }
}

void Jitter(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amplitude, int object, int sl,
            int st, int sr, int sb) {
  if (amplitude <= 0) {
    blit.keyed(x, y, object, sl, st, sr, sb);
    return;
  }
  const int64_t a = amplitude;
  const RowSpan rows = VisibleRows(bounds, y, st, sb);
  for (int64_t row = rows.first; row < rows.last; ++row) {
    const int64_t offset = int64_t(blit.random()) % (2 * a) - a;
    blit.keyed(HeldCoordinate(x + offset), HeldCoordinate(int64_t(y) + row - st), object, sl, int(row), sr,
               int(row) + 1);
  }
}

float Wave(const RowBlitter& blit, const RowBounds& bounds, float phase, float step, int x, int y,
           int direction, int object, int sl, int st, int sr, int sb) {
  const int64_t H = int64_t(sb) - st;
  if (H < 2) return phase;  // H - 1 divides the angle
  if (!std::isfinite(phase)) phase = 0.0f;
  const int64_t half = H / 2;
  const double twoPi = 2.0 * 3.141592653589793;
  // Source row st + k fills destination rows start..end of the profile, where
  // start follows the end of row k - 1; only the rows that can show are
  // visited, each with its own piece of the profile.
  auto end = [&](int64_t k) {
    const float at = float(k) + phase;
    return int64_t(double(half) * std::cos(twoPi * at / double(H - 1)) + double(half));
  };
  const int64_t firstK = std::max<int64_t>(0, -int64_t(st));
  const int64_t lastK = std::min<int64_t>(H, int64_t(bounds.objectHeight) - st);
  const int64_t lowest = int64_t(bounds.top) - y, highest = int64_t(bounds.bottom) - 1 - y;
  int64_t previous = firstK == 0 ? -1 : end(firstK - 1);
  for (int64_t k = firstK; k < lastK; ++k) {
    const int64_t current = end(k);
    const int64_t to = std::min(current, highest);
    for (int64_t o = std::max(previous + 1, lowest); o <= to; ++o)
      blit.opaque(x, HeldCoordinate(int64_t(y) + o), object, sl, int(st + k), sr, int(st + k + 1));
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

void RowWave(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div, float phase,
             bool alternate, int* sign, int object, int sl, int st, int sr, int sb) {
  const RowSpan rows = VisibleRows(bounds, y, st, sb);
  for (int64_t w = rows.first; w < rows.last; ++w) {
    int64_t offset = WaveOffset(amp, div, phase, w);
    // The sign flips from row to row, counted from st even where rows are cut.
    if (alternate) offset *= ((w - st) & 1) ? -int64_t(*sign) : int64_t(*sign);
    blit.keyed(HeldCoordinate(x + offset), HeldCoordinate(int64_t(y) + w - st), object, sl, int(w), sr, int(w) + 1);
  }
  if (alternate && sb > st && ((int64_t(sb) - st) & 1)) *sign = -*sign;
}

void RowWaveScroll(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div,
                   float phase, float scroll, int object, int sl, int st, int sr, int sb) {
  const int64_t H = int64_t(sb) - st;
  if (H < 1) return;
  const int64_t down = ScrollRows(scroll);
  // Rows r whose destination can show; their source row comes from the scroll.
  const int64_t first = std::max<int64_t>(st, int64_t(bounds.top) + st - y);
  const int64_t last = std::min<int64_t>(sb, int64_t(bounds.bottom) + st - y);
  for (int64_t r = first; r < last; ++r) {
    int64_t s = down + r;
    if (s >= sb) s -= H;
    if (!InObject(bounds, s)) continue;
    const int64_t offset = WaveOffset(amp, div, phase, r);
    blit.keyed(HeldCoordinate(x + offset), HeldCoordinate(int64_t(y) + r - st), object, sl, int(s), sr, int(s) + 1);
  }
}

void RowWaveTile(const RowBlitter& blit, const RowBounds& bounds, int screenWidth, int top, int bottom,
                 int amp, int div, float phase, float scroll, int object, int sl, int st, int sr, int sb) {
  const int64_t H = int64_t(sb) - st, tw = int64_t(sr) - sl;
  if (H < 1 || tw < 1) return;
  const int64_t down = ScrollRows(scroll);
  const int64_t first = std::max<int64_t>(0, int64_t(bounds.top) - top);
  const int64_t last = std::min<int64_t>(int64_t(bottom) - top, int64_t(bounds.bottom) - top);
  const int64_t tiles = screenWidth / tw + 2;
  for (int64_t i = first; i < last; ++i) {
    int64_t s = i % H + down;
    if (s > H - 1) s -= H;
    const int64_t row = st + s;
    if (!InObject(bounds, row)) continue;
    const int64_t offset = WaveOffset(amp, div, phase, i);
    for (int64_t n = 0; n < tiles; ++n)
      blit.keyed(HeldCoordinate(tw * n + offset - amp), HeldCoordinate(int64_t(top) + i), object, sl, int(row), sr,
                 int(row) + 1);
  }
}

void RowMosaic(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int band, int object, int sl,
               int st, int sr, int sb) {
  if (band < 1) return;
  // Destination rows y + k - st for k in kLow..kHigh-1 can show.
  const int64_t kLow = std::max<int64_t>(st, int64_t(bounds.top) + st - y);
  const int64_t kHigh = int64_t(bounds.bottom) + st - y;
  for (int64_t s = st + (kLow - st) / band * band; s < sb && s < kHigh; s += band) {
    if (!InObject(bounds, s)) continue;
    const int64_t to = std::min<int64_t>(s + band, kHigh);
    for (int64_t k = std::max(s, kLow); k < to; ++k)
      blit.keyed(x, HeldCoordinate(int64_t(y) + k - st), object, sl, int(s), sr, int(s) + 1);
  }
}


}  // namespace zo
