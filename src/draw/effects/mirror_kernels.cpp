#include "draw/effects/mirror_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "draw/effects/effect_tables.h"
#include "draw/simd/lanes16.h"
#include "draw/simd/simd_form.h"
// The keyed row copy in the SSE2 form.
#include "draw/effects/mirror_rows.inl"

namespace zo {

namespace {

inline uint16_t* Row(const PixelView& v, int64_t y) { return v.pixels + std::ptrdiff_t(y) * v.pitch; }

// ---------------------------------------------------------------- mirror

// One axis of a mirrored copy: destination positions [d0, d1) and the
// source position s0 shown at d0, moving by dir per step.
struct Axis {
  int64_t d0, d1, s0;
  int dir;
};

// dest: the unclipped destination start; first/last: the source positions
// shown at its first and last place; [lo, hi): what EffectClip kept.
bool MirrorAxis(int64_t dest, int64_t first, int dir, int64_t lo, int64_t hi, int64_t dstSize,
                int64_t srcSize, Axis* a) {
  // Source s = first + dir * (d - dest) must lie in [0, srcSize).
  int64_t sLo, sHi;  // destination range that reads inside the source
  if (dir > 0) {
    sLo = dest - first;
    sHi = dest - first + srcSize;
  } else {
    sLo = dest + first - srcSize + 1;
    sHi = dest + first + 1;
  }
  a->d0 = std::max({lo, int64_t(0), sLo});
  a->d1 = std::min({hi, dstSize, sHi});
  a->s0 = first + dir * (a->d0 - dest);
  a->dir = dir;
  return a->d1 > a->d0;
}

// The keyed row copy of the form chosen for this call.
using CopyRow = void (*)(uint16_t* d, const uint16_t* s, int n);
CopyRow ChosenCopy(bool reverse) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return reverse ? avx2::KeyedCopyReversed : avx2::KeyedCopy;
  return reverse ? KeyedCopyRow<Sse2Lanes, true> : KeyedCopyRow<Sse2Lanes, false>;
}

using FillRowFn = void (*)(uint16_t* d, uint16_t v, int n);
FillRowFn ChosenFill() { return ActiveSimdForm() == SimdForm::kAvx2 ? avx2::Fill : FillRow<Sse2Lanes>; }

// ---------------------------------------------------------------- smear

// Source position of a smeared axis: past the object's far edge the last
// column or row is read; before its start there is nothing (-1).
inline int64_t SmearSource(int64_t s, int size) {
  if (s < 0) return -1;
  return s < size ? s : size - 1;
}

// The row's destination positions [from, to) of a sideways smear that read
// on: source column left + i, nothing before column 0, the last column past
// the object's far edge; 0 is not written.
void SmearRun(uint16_t* d, const uint16_t* s, int64_t left, int srcWidth, int64_t from, int64_t to, CopyRow copy,
              FillRowFn fill) {
  from = std::max(from, -left);
  const int64_t inside = std::max(from, std::min(to, int64_t(srcWidth) - left));
  if (inside > from) copy(d + from, s + left + from, int(inside - from));
  if (to > inside && srcWidth > 0 && s[srcWidth - 1]) fill(d + inside, s[srcWidth - 1], int(to - inside));
}

}  // namespace

void MirrorKernel(const DistortJob& job, int type) {
  if (type < 0 || type > 3) return;
  const Placement& g = job.given;
  const SpriteClip& c = job.clip;
  const bool flipX = type & 1, flipY = type & 2;
  Axis ax, ay;
  if (!MirrorAxis(g.x, flipX ? int64_t(g.r) - 1 : g.l, flipX ? -1 : 1, c.x, int64_t(c.x) + c.width,
                  job.dst.width, job.src.width, &ax))
    return;
  if (!MirrorAxis(g.y, flipY ? int64_t(g.b) - 1 : g.t, flipY ? -1 : 1, c.y, int64_t(c.y) + c.height,
                  job.dst.height, job.src.height, &ay))
    return;
  const int n = int(ax.d1 - ax.d0);
  const CopyRow copy = ChosenCopy(flipX);
  int64_t sy = ay.s0;
  for (int64_t dy = ay.d0; dy < ay.d1; ++dy, sy += ay.dir) copy(Row(job.dst, dy) + ax.d0, Row(job.src, sy) + ax.s0, n);
}

Placement SmearPlacement(Placement p, int type, int screenWidth, int screenHeight) {
  if (type == 0) p.r = int(std::clamp<int64_t>(int64_t(screenWidth) - p.l, INT32_MIN, INT32_MAX));
  if (type == 2) p.b = int(std::clamp<int64_t>(int64_t(screenHeight) - p.t, INT32_MIN, INT32_MAX));
  return p;
}

void SmearKernel(const DistortJob& job, int type, uint16_t cut) {
  if (type < 0 || type > 3) return;
  const SpriteClip& c = job.clip;
  const PixelView &src = job.src, &dst = job.dst;
  const int64_t w = c.width, h = c.height;
  const bool alongRow = type < 2;  // the smeared axis is the column
  // Positions i (j) of the clipped area whose destination lies on the surface.
  const int64_t i0 = std::max<int64_t>(0, -int64_t(c.x)), i1 = std::min<int64_t>(w, int64_t(dst.width) - c.x);
  const int64_t j0 = std::max<int64_t>(0, -int64_t(c.y)), j1 = std::min<int64_t>(h, int64_t(dst.height) - c.y);

  if (alongRow) {
    const int64_t cutCol = SmearSource(int64_t(c.left) + cut, src.width);
    const CopyRow copy = ChosenCopy(false);
    const FillRowFn fill = ChosenFill();
    for (int64_t j = j0; j < j1; ++j) {
      const int64_t sy = int64_t(c.top) + j;
      if (sy < 0 || sy >= src.height) continue;
      const uint16_t* s = Row(src, sy);
      uint16_t* d = Row(dst, int64_t(c.y) + j) + c.x;
      // Up to the cut (type 0) or from it (type 1) the columns run on; the
      // rest repeats column cut.
      const int64_t runFrom = type == 0 ? i0 : std::max<int64_t>(i0, cut);
      const int64_t runTo = type == 0 ? std::min<int64_t>(i1, int64_t(cut) + 1) : i1;
      const int64_t repFrom = type == 0 ? std::max<int64_t>(i0, int64_t(cut) + 1) : i0;
      const int64_t repTo = type == 0 ? i1 : std::min<int64_t>(i1, cut);
      SmearRun(d, s, c.left, src.width, runFrom, runTo, copy, fill);
      if (cutCol >= 0 && s[cutCol] && repTo > repFrom) fill(d + repFrom, s[cutCol], int(repTo - repFrom));
      if (type == 1 && cutCol >= 0) {
        const int64_t end = std::min<int64_t>(c.x, dst.width);
        if (end > 0) fill(Row(dst, int64_t(c.y) + j), s[cutCol], int(end));
      }
    }
    return;
  }

  const int64_t cutRow = SmearSource(int64_t(c.top) + cut, src.height);
  // Source column of position i, or -1 off the object.
  auto column = [&](int64_t i) {
    const int64_t sx = int64_t(c.left) + i;
    return sx >= 0 && sx < src.width ? sx : -1;
  };
  if (type == 3 && cutRow >= 0) {
    const uint16_t* s = Row(src, cutRow);
    const int64_t rows = std::min<int64_t>(c.y, dst.height);
    for (int64_t dy = 0; dy < rows; ++dy) {
      uint16_t* d = Row(dst, dy) + c.x;
      for (int64_t i = i0; i < i1; ++i) {
        const int64_t sx = column(i);
        if (sx >= 0) d[i] = s[sx];
      }
    }
  }
  for (int64_t j = j0; j < j1; ++j) {
    const int64_t sy = type == 2 ? (j <= cut ? SmearSource(int64_t(c.top) + j, src.height) : cutRow)
                                 : SmearSource(int64_t(c.top) + std::max<int64_t>(j, cut), src.height);
    if (sy < 0) continue;
    const uint16_t* s = Row(src, sy);
    uint16_t* d = Row(dst, int64_t(c.y) + j) + c.x;
    const int64_t a = std::max<int64_t>(i0, -int64_t(c.left)), e = std::min<int64_t>(i1, int64_t(src.width) - c.left);
    if (e > a) ChosenCopy(false)(d + a, s + c.left + a, int(e - a));
  }
}

void RippleKernel(const DistortJob& job, const Ripple& rp) {
  if (rp.step < 1) return;
  const SpriteClip& c = job.clip;
  const Placement& g = job.given;
  const PixelView &src = job.src, &dst = job.dst;
  // Spans run from the clipped start to the given far edge.
  const float spanX = float(int64_t(g.r) - c.left), spanY = float(int64_t(g.b) - c.top);
  const float kx = 2.0f / spanX, ky = 2.0f / spanY;
  const float amplitude = float(rp.amplitude), frequency = float(rp.frequency);
  const int64_t left = std::max<int64_t>(job.clipRect.left, 0), right = std::min<int64_t>(job.clipRect.right, dst.width);
  const int64_t top = std::max<int64_t>(job.clipRect.top, 0), bottom = std::min<int64_t>(job.clipRect.bottom, dst.height);
  if (right <= left || bottom <= top) return;
  for (int64_t j = 0; j < c.height; j += rp.step) {
    const int64_t sy = int64_t(c.top) + j;
    const float fj = float(j);
    const float ny = ky * fj - 1.0f;
    const float ny2 = ny * ny;
    const float sheared = fj * rp.shear;
    const bool rowInside = sy >= 0 && sy < src.height;
    if (!rowInside) continue;
    const uint16_t* s = Row(src, sy);
    for (int64_t i = 0; i < c.width; i += rp.step) {
      const int64_t sx = int64_t(c.left) + i;
      if (sx < 0 || sx >= src.width) continue;
      const float nx = kx * float(i) - 1.0f;
      const float nx2 = nx * nx;
      const float L = std::exp(ny2 - nx2);
      const float O = std::cos(frequency * std::sqrt(nx2 + ny2));
      const float Q = (O * L + 1.0f) * amplitude / 2.0f + fj;
      int dx, dy;
      if (!TruncToInt((float(i) + sheared) * rp.scale, &dx) || !TruncToInt(Q * rp.scale, &dy)) continue;
      const int64_t px = int64_t(c.x) + dx, py = int64_t(c.y) + dy;
      if (px < left || px >= right || py < top || py >= bottom) continue;
      Row(dst, py)[px] = s[sx];
    }
  }
}

int DisplaceLevel(float strength) {
  const float level = 31.0f - 31.0f * strength;
  if (level != level) return 31;  // NaN moves nothing
  return int(std::clamp(level, -1.0e9f, 1.0e9f));
}

void DisplaceKernel(const DistortJob& job, int level) {
  const SpriteClip& c = job.clip;
  const PixelView &src = job.src, &dst = job.dst;
  const int64_t h = c.height;
  const int64_t i0 = std::max<int64_t>({0, -int64_t(c.x), -int64_t(c.left)});
  const int64_t i1 = std::min<int64_t>({int64_t(c.width), int64_t(dst.width) - c.x, int64_t(src.width) - c.left});
  const int64_t j0 = std::max<int64_t>({0, -int64_t(c.y), -int64_t(c.top)});
  const int64_t j1 = std::min<int64_t>({h, int64_t(dst.height) - c.y, int64_t(src.height) - c.top});
  if (i1 <= i0) return;
  // Red component less the level, 0 below 1: a table of the 32 values.
  int pull[32];
  for (int r = 0; r < 32; ++r) pull[r] = int64_t(r) - level < 1 ? 0 : int(int64_t(r) - level);
  // The AVX2 row works on 32-bit offsets and pulls.
  const bool avx2 = ActiveSimdForm() == SimdForm::kAvx2 && level >= -(1 << 20) && level <= (1 << 20) &&
                    dst.pitch >= 0 && int64_t(dst.height) * dst.pitch <= INT32_MAX;
  for (int64_t j = j0; j < j1; ++j) {
    const uint16_t* s = Row(src, int64_t(c.top) + j) + c.left;
    const int64_t dy = int64_t(c.y) + j;
    uint16_t* d = Row(dst, dy) + c.x;
    // Rows below that the pull may reach: inside the clipped height and the surface.
    const int64_t reach = std::min<int64_t>(h - j, int64_t(dst.height) - dy);
    int64_t i = i0;
    if (avx2 && reach > 1) i = avx2::DisplaceRow(d, s, i0, i1, dst.pitch, level, int(reach));
    for (; i < i1; ++i) {
      const uint16_t sp = s[i];
      if (!sp) continue;
      const int gg = pull[ComponentTable[sp][0]];
      if (gg == 0 || gg >= h - j || gg >= reach) continue;
      d[i] = d[i + std::ptrdiff_t(gg) * dst.pitch];
    }
  }
}

}  // namespace zo
