#include "draw/row_effects.h"

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

void RowWave(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div, float phase,
             bool alternate, int* sign, int obj, int sl, int st, int sr, int sb) {
  const RowSpan rows = VisibleRows(bounds, y, st, sb);
  for (int64_t w = rows.first; w < rows.last; ++w) {
    int64_t offset = WaveOffset(amp, div, phase, w);
    // The sign flips from row to row, counted from st even where rows are cut.
    if (alternate) offset *= ((w - st) & 1) ? -int64_t(*sign) : int64_t(*sign);
    blit.keyed(HeldCoordinate(x + offset), HeldCoordinate(int64_t(y) + w - st), obj, sl, int(w), sr, int(w) + 1);
  }
  if (alternate && sb > st && ((int64_t(sb) - st) & 1)) *sign = -*sign;
}

void RowWaveScroll(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div,
                   float phase, float scroll, int obj, int sl, int st, int sr, int sb) {
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
    blit.keyed(HeldCoordinate(x + offset), HeldCoordinate(int64_t(y) + r - st), obj, sl, int(s), sr, int(s) + 1);
  }
}

void RowWaveTile(const RowBlitter& blit, const RowBounds& bounds, int screenWidth, int top, int bottom,
                 int amp, int div, float phase, float scroll, int obj, int sl, int st, int sr, int sb) {
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
      blit.keyed(HeldCoordinate(tw * n + offset - amp), HeldCoordinate(int64_t(top) + i), obj, sl, int(row), sr,
                 int(row) + 1);
  }
}

void RowMosaic(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int band, int obj, int sl,
               int st, int sr, int sb) {
  if (band < 1) return;
  // Destination rows y + k - st for k in kLow..kHigh-1 can show.
  const int64_t kLow = std::max<int64_t>(st, int64_t(bounds.top) + st - y);
  const int64_t kHigh = int64_t(bounds.bottom) + st - y;
  for (int64_t s = st + (kLow - st) / band * band; s < sb && s < kHigh; s += band) {
    if (!InObject(bounds, s)) continue;
    const int64_t to = std::min<int64_t>(s + band, kHigh);
    for (int64_t k = std::max(s, kLow); k < to; ++k)
      blit.keyed(x, HeldCoordinate(int64_t(y) + k - st), obj, sl, int(s), sr, int(s) + 1);
  }
}

}  // namespace zo
