#include "draw/effects/tunnel_kernels.h"

#include <algorithm>
#include <cmath>

#include "draw/effects/simd16.h"

namespace zo {

namespace {

using Real = long double;  // the build's extended precision
const Real Pi = 3.14159265358979323846264338327950288L;

// A coordinate before wrapping: truncated, then brought into 0..n - 1 by
// whole turns; infinite or undefined values (the centre cell's quotient)
// count as 0. fmodl is exact, so huge values wrap as integers would.
int WrapCoordinate(Real value, int n) {
  if (!std::isfinite(value)) return 0;
  Real r = std::fmod(std::trunc(value), Real(n));
  if (r < 0) r += n;
  const int i = int(r);
  return i < n ? i : 0;
}

float Distance(int kind, Real adx, Real ady, int64_t dx, int64_t dy, int64_t centreX, float previous) {
  switch (kind) {
    case 0: return float(std::sqrt(Real(dx) * dx + Real(dy) * dy));
    case 1: return float(std::max(adx, ady));
    case 2: return float((adx + ady) / 2);
    case 3: return float(std::min(adx, ady));
    case 4: return float(adx);
    case 5: return float(ady);
    case 6: return float(centreX);
    default: return previous;
  }
}

float Depth(int kind, Real f, Real adx, Real ady, float previous) {
  switch (kind) {
    case 0: return float(f / 32);
    case 1: return float(f / ((ady + 1) / 10));
    case 2: return float(f / ((adx + 1) / 10));
    case 3: return float(f / std::max(adx, ady));
    case 4: return float(f / ((adx + ady) / 2));
    case 5: return float(f / std::min(adx, ady));
    default: return previous;
  }
}

}  // namespace

const char* TunnelShapeRefusal(const TunnelShape& s) {
  if (s.texWidth < 1 || s.texHeight < 1 || s.texWidth > MaxTunnelTexture ||
      s.texHeight > MaxTunnelTexture)
    return "テクスチャの大きさが範囲外です";
  if (s.mapWidth < 0 || s.mapHeight < 0 || int64_t(s.mapWidth) * s.mapHeight > MaxTunnelCells)
    return "マップが大きすぎます";
  return nullptr;
}

bool BuildTunnelCells(const TunnelShape& s, TunnelGrid* map) {
  if (TunnelShapeRefusal(s)) return false;
  map->texWidth = s.texWidth;
  map->texHeight = s.texHeight;
  map->mapWidth = s.mapWidth;
  map->mapHeight = s.mapHeight;

  int64_t cx = s.centreX == -1 ? s.mapWidth / 2 : s.centreX;
  int64_t cy = s.centreY == -1 ? s.mapHeight / 2 : s.centreY;
  int fov = s.fov == -1 ? 8 : s.fov;
  if (fov < 2) fov = 2;
  if (s.motion == 1) cy = s.mapHeight;
  if (s.motion == 3) cx = s.mapWidth;
  if (s.motion == 4) cx = 0;

  const Real f = Real(s.texHeight) / (2 * std::tan(Pi / fov / 2));
  const Real turn = Real(s.texWidth) / (2 * Pi);
  float d = 0, J = 0;  // what an unknown kind keeps before any cell set them

  TunnelCell* cell = map->cells;
  for (int i = 0; i < s.mapHeight; ++i) {
    switch (s.motion) {
      case 1: cy -= 1; break;
      case 2: cx = s.mapWidth; break;
      case 3: cx = std::max<int64_t>(cx - 1, 0); break;
      case 4: cx = std::min<int64_t>(cx + 1, s.mapWidth); break;
      default: break;
    }
    for (int j = 0; j < s.mapWidth; ++j, ++cell) {
      if (s.motion == 2) cx -= 1;
      const int64_t dx = j - cx, dy = i - cy;
      const Real adx = Real(dx < 0 ? -dx : dx), ady = Real(dy < 0 ? -dy : dy);
      d = Distance(s.distanceKind, adx, ady, dx, dy, cx, d);
      J = std::fabs(Depth(s.depthKind, f, adx, ady, J));
      const Real reach = std::sqrt(Real(cx) * cx + Real(cy) * cy);
      const Real u = turn * std::atan2(Real(dy), Real(dx));
      const Real v = Real(J) * (reach - Real(d)) / Real(d);
      cell->u = int16_t(WrapCoordinate(u, s.texWidth));
      cell->v = int16_t(WrapCoordinate(v, s.texHeight));
    }
  }
  return true;
}

namespace {

bool MapUsable(const TunnelGrid& m) {
  return m.texWidth >= 1 && m.texHeight >= 1 && m.mapWidth >= 0 && m.mapHeight >= 0 &&
         int64_t(m.mapWidth) * m.mapHeight <= MaxTunnelCells;
}

// One cell by the rule itself, for cells the vector walk cannot take.
inline void DrawCell(const PixelView& tex, const TunnelGrid& m, TunnelCell c, int su, int sv,
                     uint16_t* out) {
  const int u = WrapIndex(int64_t(su) + c.u, m.texWidth);
  const int v = WrapIndex(int64_t(sv) + c.v, m.texHeight);
  if (u < tex.width && v < tex.height) *out = tex.pixels[int64_t(v) * tex.pitch + u];
}

// Eight cells at a time: both coordinates of four cells sit in one register
// as (u, v) pairs, so a single add and compare wraps them all, and one
// multiply-add turns each pair into a texel offset v * pitch + u. Valid only
// while every texel of the map's range lies inside the texture surface.
void WalkRowVector(const PixelView& tex, const TunnelGrid& m, const TunnelCell* cells, int count,
                   int su, int sv, uint16_t* out) {
  const __m128i scroll = _mm_setr_epi16(int16_t(su), int16_t(sv), int16_t(su), int16_t(sv),
                                        int16_t(su), int16_t(sv), int16_t(su), int16_t(sv));
  const int16_t tw = int16_t(m.texWidth), th = int16_t(m.texHeight);  // 32768 wraps to -32768
  const __m128i range = _mm_setr_epi16(tw, th, tw, th, tw, th, tw, th);
  const int16_t tw1 = int16_t(m.texWidth - 1), th1 = int16_t(m.texHeight - 1);
  const __m128i last = _mm_setr_epi16(tw1, th1, tw1, th1, tw1, th1, tw1, th1);
  const __m128i pitch = _mm_setr_epi16(1, int16_t(tex.pitch), 1, int16_t(tex.pitch), 1,
                                       int16_t(tex.pitch), 1, int16_t(tex.pitch));
  const __m128i zero = _mm_setzero_si128();
  const uint16_t* texels = tex.pixels;
  alignas(16) int32_t at[8];
  int k = 0;
  for (; k + 8 <= count; k += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + k));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + k + 4));
    // Cells outside 0..n - 1 (read as unsigned) take the slow rule.
    const __m128i beyond = _mm_or_si128(_mm_subs_epu16(a, last), _mm_subs_epu16(b, last));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, zero)) != 0xFFFF) {
      for (int q = k; q < k + 8; ++q) DrawCell(tex, m, cells[q], su, sv, out + q);
      continue;
    }
    __m128i ua = _mm_add_epi16(a, scroll), ub = _mm_add_epi16(b, scroll);
    const __m128i keepA = _mm_cmpeq_epi16(_mm_subs_epu16(ua, last), zero);
    const __m128i keepB = _mm_cmpeq_epi16(_mm_subs_epu16(ub, last), zero);
    ua = _mm_sub_epi16(ua, _mm_andnot_si128(keepA, range));
    ub = _mm_sub_epi16(ub, _mm_andnot_si128(keepB, range));
    _mm_store_si128(reinterpret_cast<__m128i*>(at), _mm_madd_epi16(ua, pitch));
    _mm_store_si128(reinterpret_cast<__m128i*>(at + 4), _mm_madd_epi16(ub, pitch));
    __m128i px = _mm_cvtsi32_si128(texels[at[0]]);
    px = _mm_insert_epi16(px, texels[at[1]], 1);
    px = _mm_insert_epi16(px, texels[at[2]], 2);
    px = _mm_insert_epi16(px, texels[at[3]], 3);
    px = _mm_insert_epi16(px, texels[at[4]], 4);
    px = _mm_insert_epi16(px, texels[at[5]], 5);
    px = _mm_insert_epi16(px, texels[at[6]], 6);
    px = _mm_insert_epi16(px, texels[at[7]], 7);
    Store8(out + k, px);
  }
  for (; k < count; ++k) DrawCell(tex, m, cells[k], su, sv, out + k);
}

}  // namespace

void TunnelKernel(const TunnelJob& job) {
  const TunnelGrid& m = *job.map;
  if (!MapUsable(m) || !job.dst.pixels || !job.texture.pixels) return;
  // The part of the grid that lands on dst.
  const int64_t j0 = std::max<int64_t>(0, -int64_t(job.x));
  const int64_t i0 = std::max<int64_t>(0, -int64_t(job.y));
  const int64_t j1 = std::min<int64_t>(m.mapWidth, int64_t(job.dst.width) - job.x);
  const int64_t i1 = std::min<int64_t>(m.mapHeight, int64_t(job.dst.height) - job.y);
  if (j0 >= j1 || i0 >= i1) return;
  const int su = WrapIndex(job.scrollU, m.texWidth), sv = WrapIndex(job.scrollV, m.texHeight);
  const bool vector = m.texWidth <= job.texture.width && m.texHeight <= job.texture.height &&
                      job.texture.pitch <= 32767;
  const int count = int(j1 - j0);
  for (int64_t i = i0; i < i1; ++i) {
    const TunnelCell* cells = m.cells + i * m.mapWidth + j0;
    uint16_t* out = job.dst.pixels + (job.y + i) * job.dst.pitch + (job.x + j0);
    if (vector) {
      WalkRowVector(job.texture, m, cells, count, su, sv, out);
    } else {
      for (int k = 0; k < count; ++k) DrawCell(job.texture, m, cells[k], su, sv, out + k);
    }
  }
}

}  // namespace zo
