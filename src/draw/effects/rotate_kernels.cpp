#include "draw/effects/rotate_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/simd/simd_form.h"
#include "draw/sine_table.h"

namespace zo {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool Usable(float scale) { return std::isfinite(scale) && scale != 0.0f; }

// The source column (or row) a mapped position px lands on, counted inside
// the source rectangle, or -1 when nothing is drawn there.
struct AxisRule {
  RotateForm form;
  int64_t size;  // srcW or srcH, above 0
  float scale;   // the form's scale along this axis

  int64_t operator()(int64_t px) const {
    switch (form) {
      case RotateForm::Plain: return px >= 0 && px < size ? px : -1;
      case RotateForm::Tile: return (px < 0 ? -px : px) % size;
      default: break;
    }
    const float q = float(px) / scale;
    if (!std::isfinite(q)) return -1;
    const double t = std::trunc(double(q));
    if (form == RotateForm::Zoom) return t >= 0 && t < double(size) ? int64_t(t) : -1;
    const double a = std::fabs(t);
    // A whole float beyond 2^62 still has an exact remainder.
    return a < 4.0e18 ? int64_t(a) % size : int64_t(std::fmod(a, double(size)));
  }
};

// For every trunc(u / 360) from lo to hi: where in the object it reads
// (column, or row times pitch), or -1. T is std::ptrdiff_t, or int32_t when
// every offset of the object fits (Offsets32).
template <class T>
void FillAxis(std::vector<T>& table, int64_t lo, int64_t hi, int64_t off, const AxisRule& rule,
              int64_t origin, int64_t limit, std::ptrdiff_t step) {
  table.resize(size_t(hi - lo + 1));
  for (int64_t t = lo; t <= hi; ++t) {
    const int64_t s = rule(t - off);
    const int64_t at = s < 0 ? -1 : origin + s;
    table[size_t(t - lo)] = at >= 0 && at < limit ? T(std::ptrdiff_t(at) * step) : T(-1);
  }
}

// trunc(u / 360) along a row: floor quotient and remainder stepped by C,
// corrected toward zero for negative values that do not divide.
struct Stepper {
  int32_t q, r;    // q relative to the table's first entry
  int32_t stepQ, stepR;
  int32_t zero;    // q below this is a negative quotient
  Stepper(int64_t u, int64_t step, int64_t lo) {
    const int64_t fq = FloorDiv(u, 360);
    q = int32_t(fq - lo);
    r = int32_t(u - fq * 360);
    const int64_t sq = FloorDiv(step, 360);
    stepQ = int32_t(sq);
    stepR = int32_t(step - sq * 360);
    zero = int32_t(std::clamp<int64_t>(-lo, -1, INT32_MAX));
  }
  int32_t Index() const { return q + int32_t(q < zero && r != 0); }
  void Next() {
    r += stepR;
    const int32_t carry = r >= 360;
    r -= carry * 360;
    q += stepQ + carry;
  }
};

int64_t TruncDiv360(int64_t u) { return u / 360; }

// The lowest and highest trunc(u / 360) of a linear u at four corners.
void Range(int64_t a, int64_t b, int64_t c, int64_t d, int64_t* lo, int64_t* hi) {
  *lo = TruncDiv360(std::min({a, b, c, d}));
  *hi = TruncDiv360(std::max({a, b, c, d}));
}

// Colour factors of the floor on 5-bit components, saturating at 31.
struct Shade {
  uint16_t entry[3][32];
  Shade(const PixelLayout& f, const float factor[3]) {
    for (int c = 0; c < 3; ++c) {
      const float k = factor[c] > 0.0f ? factor[c] : 0.0f;  // NaN and below 0: 0
      for (int v = 0; v < 32; ++v) {
        const double p = v ? double(v) * double(k) : 0.0;  // exact: the extended product
        entry[c][v] = uint16_t((p >= 31.0 ? 31 : int(p)) << f.fivePos[c]);
      }
    }
  }
  uint16_t operator()(uint16_t p) const {
    const uint8_t* c = ComponentTable[p];
    return uint16_t(entry[0][c[0]] | entry[1][c[1]] | entry[2][c[2]]);
  }
};

// One destination pixel from the source at offsets row + col; a negative
// offset (outside the source) reads as 0, and 0 leaves the pixel as it was.
template <bool Shaded>
inline void PutTexel(uint16_t* d, const uint16_t* src, std::ptrdiff_t col, std::ptrdiff_t row, const Shade* shade) {
  const std::ptrdiff_t outside = (col | row) >> (sizeof(std::ptrdiff_t) * 8 - 1);  // all ones or 0
  const uint16_t p = uint16_t(src[(row + col) & ~outside] & ~uint16_t(outside));
  const uint16_t old = *d;
  if (Shaded)
    *d = p ? (*shade)(p) : old;
  else
    *d = p ? p : old;
}

// Without a branch per pixel: on sprites of short clear and opaque runs the
// branches are mispredicted often. A position outside the source reads the
// first pixel masked to 0, and a destination pixel left alone is written back
// as it was.
template <bool Shaded, class T>
void DrawRow(uint16_t* d, const uint16_t* src, const T* cols, const T* rows,
             Stepper u, Stepper v, int n, const Shade* shade) {
  for (int i = 0; i < n; ++i) {
    const std::ptrdiff_t col = cols[u.Index()], row = rows[v.Index()];
    u.Next();
    v.Next();
    PutTexel<Shaded>(d + i, src, col, row, shade);
  }
}

// trunc(u / 360) - lo for the u of a table from lo to hi, as the top bits
// of a 64-bit sum that steps with u: trunc(u / 360) is floor((u + 359) / 360)
// below 0 and floor(u / 360) from 0, and floor(t / 360) = (t * m) >> k for
// every 0 <= t < 2^(k - 9) with m = ceil(2^k / 360) (the error t * (m -
// 2^k / 360) / 2^k stays below 1/512). A row splits where u changes sign.
struct Axis360 {
  bool ok = false;
  int k = 0;
  int64_t m = 0, base = 0;
  Axis360(int64_t lo, int64_t hi) {
    base = 360 * (lo - 2);  // t = u + 359 - base stays above 360 over the table
    const int64_t span = 360 * (hi - lo + 4);
    int bits = 0;
    while (bits < 40 && (int64_t(1) << bits) <= span) ++bits;
    k = bits + 9;
    ok = 2 * bits + 10 < 62;  // t * m fits
    m = ((int64_t(1) << k) + 359) / 360;
  }
  // The sum at u, for u and the positions after it of u's sign; two
  // subtracted so that the top bits count from lo.
  int64_t Start(int64_t u) const { return (u + (u < 0 ? 359 : 0) - base) * m - (int64_t(2) << k); }
  int64_t Step(int64_t step) const { return step * m; }
};

// Positions from 0 before u0 + i * step changes sign, at most n.
int64_t SameSign(int64_t u0, int64_t step, int64_t n) {
  int64_t i = n;
  if (u0 < 0 && step > 0) i = (-u0 + step - 1) / step;  // first u >= 0
  if (u0 >= 0 && step < 0) i = u0 / -step + 1;          // first u < 0
  return std::min(i, n);
}

// As DrawRow, the table indices from the Axis360 sums; with 32-bit tables
// in the AVX2 form, sixteen pixels a step up to the last whole step.
template <bool Shaded, class T>
void DrawWalk(uint16_t* d, const uint16_t* src, const T* cols, const T* rows, int64_t au, int64_t du, int ku,
              int64_t av, int64_t dv, int kv, int64_t n, const Shade* shade, [[maybe_unused]] bool avx2) {
  int64_t i = 0;
  if constexpr (!Shaded && std::is_same_v<T, int32_t>) {
    if (avx2) {
      i = avx2::RotateWalk(d, src, cols, rows, au, du, ku, av, dv, kv, n);
      au += i * du;
      av += i * dv;
    }
  }
  for (; i < n; ++i, au += du, av += dv)
    PutTexel<Shaded>(d + i, src, cols[au >> ku], rows[av >> kv], shade);
}

// One row of the window, n positions from (x0, j): u and v at position i
// are u + i * C and v + i * S.
template <bool Shaded, class T>
void WalkRow(uint16_t* d, const uint16_t* src, const T* cols, const T* rows, const Axis360& ax, const Axis360& ay,
             int64_t u, int64_t C, int64_t v, int64_t S, int64_t n, const Shade* shade, bool avx2 = false) {
  for (int64_t a = 0; a < n;) {
    const int64_t ua = u + a * C, va = v + a * S;
    const int64_t b = a + std::min(SameSign(ua, C, n - a), SameSign(va, S, n - a));
    DrawWalk<Shaded>(d + a, src, cols, rows, ax.Start(ua), ax.Step(C), ax.k, ay.Start(va), ay.Step(S), ay.k,
                     b - a, shade, avx2);
    a = b;
  }
}

// Whether every offset into the object (row times pitch plus column) fits
// in 32 bits, as the AVX2 walk's tables and gathers hold them.
bool Offsets32(const PixelView& src) {
  return src.pitch >= 0 && (int64_t(src.height) - 1) * src.pitch + src.width <= INT32_MAX;
}

}  // namespace

int ReduceAngle(int angle) {
  const int a = angle % 360;
  return a < 0 ? a + 360 : a;
}

bool RotateClip(const IntRect& clip, const RotateCall& call, RotateWindow* out) {
  return WindowClip(clip, IntRect{call.dl, call.dt, call.dr, call.db}, out);
}

bool RotateDrawable(const RotateCall& call) {
  if (int64_t(call.sr) - call.sl <= 0 || int64_t(call.sb) - call.st <= 0) return false;
  switch (call.form) {
    case RotateForm::Zoom:
    case RotateForm::ZoomTile: return Usable(call.scale);
    case RotateForm::Floor:
      if (!std::isfinite(call.scaleX) || !std::isfinite(call.scaleY) || !std::isfinite(call.stepX) ||
          !std::isfinite(call.stepY))
        return false;
      // A scale of 0 that never moves divides every row by 0.
      return !(call.scaleX == 0.0f && call.stepX == 0.0f) && !(call.scaleY == 0.0f && call.stepY == 0.0f);
    default: return true;
  }
}

void RotateKernel(const RotateJob& job) {
  const RotateCall& c = job.call;
  if (!RotateDrawable(c)) return;
  const int64_t W = int64_t(c.dr) - c.dl, H = int64_t(c.db) - c.dt;
  // The part of the window on the surface.
  const int64_t x0 = std::max(job.window.startX, -int64_t(c.dl));
  const int64_t x1 = std::min(job.window.endX, int64_t(job.dst.width) - c.dl);
  const int64_t y0 = std::max(job.window.startY, -int64_t(c.dt));
  const int64_t y1 = std::min(job.window.endY, int64_t(job.dst.height) - c.dt);
  if (x0 >= x1 || y0 >= y1 || W <= 0 || H <= 0) return;

  const int angle = ReduceAngle(c.angle);
  const int64_t C = SineTable[angle + 90], S = SineTable[angle];
  const int64_t halfW = W >> 1, halfH = H >> 1;
  const int64_t uRow0 = halfW * 360 + halfH * S - halfW * C;
  const int64_t vRow0 = halfH * 360 - halfW * S - halfH * C;
  const int64_t srcW = int64_t(c.sr) - c.sl, srcH = int64_t(c.sb) - c.st;
  int64_t offX = (W - srcW) >> 1, offY = (H - srcH) >> 1;
  if (c.form == RotateForm::Zoom) {
    // The scaled size in single precision, as float arithmetic gives it.
    auto scaled = [&](int64_t n) {
      const float v = std::trunc(float(n) * c.scale);
      return std::isfinite(v) ? int64_t(std::clamp(double(v), -4.0e18, 4.0e18)) : int64_t(0);
    };
    offX = (W - scaled(srcW)) >> 1;
    offY = (H - scaled(srcH)) >> 1;
  }
  auto uAt = [&](int64_t i, int64_t j) { return uRow0 + i * C - j * S; };
  auto vAt = [&](int64_t i, int64_t j) { return vRow0 + i * S + j * C; };

  const RotateForm axisForm = c.form == RotateForm::Floor ? RotateForm::ZoomTile : c.form;
  AxisRule ruleX{axisForm, srcW, c.scale}, ruleY{axisForm, srcH, c.scale};
  const std::ptrdiff_t pitch = job.src.pitch;
  std::vector<std::ptrdiff_t> cols, rows;
  int64_t uLo, uHi, vLo, vHi;
  const int n = int(x1 - x0);

  if (c.form != RotateForm::Floor) {
    Range(uAt(x0, y0), uAt(x1 - 1, y0), uAt(x0, y1 - 1), uAt(x1 - 1, y1 - 1), &uLo, &uHi);
    Range(vAt(x0, y0), vAt(x1 - 1, y0), vAt(x0, y1 - 1), vAt(x1 - 1, y1 - 1), &vLo, &vHi);
    const Axis360 ax(uLo, uHi), ay(vLo, vHi);
    auto draw = [&](auto& cols, auto& rows, bool avx2) {
      FillAxis(cols, uLo, uHi, offX, ruleX, c.sl, job.src.width, 1);
      FillAxis(rows, vLo, vHi, offY, ruleY, c.st, job.src.height, pitch);
      if (avx2) {  // the AVX2 walk reads eight entries from the lowest it needs
        cols.resize(cols.size() + 8, -1);
        rows.resize(rows.size() + 8, -1);
      }
      for (int64_t j = y0; j < y1; ++j) {
        uint16_t* d = job.dst.pixels + (c.dl + x0) + std::ptrdiff_t(c.dt + j) * job.dst.pitch;
        if (!ax.ok || !ay.ok) {
          DrawRow<false>(d, job.src.pixels, cols.data(), rows.data(), Stepper(uAt(x0, j), C, uLo),
                         Stepper(vAt(x0, j), S, vLo), n, nullptr);
          continue;
        }
        WalkRow<false>(d, job.src.pixels, cols.data(), rows.data(), ax, ay, uAt(x0, j), C, vAt(x0, j), S, n,
                       nullptr, avx2);
      }
    };
    if (ActiveSimdForm() == SimdForm::kAvx2 && Offsets32(job.src)) {
      std::vector<int32_t> cols32, rows32;
      draw(cols32, rows32, true);
    } else {
      draw(cols, rows, false);
    }
    return;
  }

  // The floor: the scales move on after every row, drawn or not.
  float scaleX = c.scaleX, scaleY = c.scaleY;
  for (int64_t j = 0; j < y0; ++j) {
    const float nx = scaleX + c.stepX, ny = scaleY + c.stepY;
    if (nx == scaleX && ny == scaleY) break;  // the steps no longer move them
    scaleX = nx;
    scaleY = ny;
  }
  const Shade shade(job.format, c.factor);
  for (int64_t j = y0; j < y1; ++j, scaleX += c.stepX, scaleY += c.stepY) {
    if (!Usable(scaleX) || !Usable(scaleY)) continue;  // nothing to divide by on this row
    ruleX.scale = scaleX;
    ruleY.scale = scaleY;
    Range(uAt(x0, j), uAt(x1 - 1, j), uAt(x0, j), uAt(x1 - 1, j), &uLo, &uHi);
    Range(vAt(x0, j), vAt(x1 - 1, j), vAt(x0, j), vAt(x1 - 1, j), &vLo, &vHi);
    FillAxis(cols, uLo, uHi, offX, ruleX, c.sl, job.src.width, 1);
    FillAxis(rows, vLo, vHi, offY, ruleY, c.st, job.src.height, pitch);
    uint16_t* d = job.dst.pixels + (c.dl + x0) + std::ptrdiff_t(c.dt + j) * job.dst.pitch;
    const Axis360 ax(uLo, uHi), ay(vLo, vHi);
    if (ax.ok && ay.ok)
      WalkRow<true>(d, job.src.pixels, cols.data(), rows.data(), ax, ay, uAt(x0, j), C, vAt(x0, j), S, n, &shade);
    else
      DrawRow<true>(d, job.src.pixels, cols.data(), rows.data(), Stepper(uAt(x0, j), C, uLo),
                    Stepper(vAt(x0, j), S, vLo), n, &shade);
  }
}

}  // namespace zo
