// Slow, literal versions of the mirror, smear, ripple and displacement
// rules and of the wave's row profile, for the tests to hold the kernels to.
// Reads off the object and writes off the back surface are skipped; a smear
// reads the object's last column or row past its far edge.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>

#include "effect_harness.h"
#include "draw/effects/effect_tables.h"
#include "zo/draw_state.h"

namespace ref {

inline bool InClip(const IntRect& c, long long x, long long y) {
  return x >= c.left && x < c.right && y >= c.top && y < c.bottom;
}

inline void Mirror(const IntRect& clip, Image& dst, const Image& src, int x, int y, int type, int l, int t, int r,
                   int b) {
  if (type < 0 || type > 3) return;
  for (long long m = 0; m < (long long)b - t; ++m)
    for (long long k = 0; k < (long long)r - l; ++k) {
      const long long sx = type & 1 ? r - 1 - k : l + k, sy = type & 2 ? b - 1 - m : t + m;
      const long long dx = x + k, dy = y + m;
      if (!InClip(clip, dx, dy) || !On(dst, dx, dy) || !On(src, sx, sy)) continue;
      if (src.at(int(sx), int(sy))) dst.at(int(dx), int(dy)) = src.at(int(sx), int(sy));
    }
}

// Source position along a smeared axis: past the far edge the last one.
inline long long Held(long long s, int size) { return s >= size ? size - 1 : s; }

inline void Smear(const IntRect& clip, Image& dst, const Image& src, int x, int y, int type, uint16_t cut, int l,
                  int t, int r, int b) {
  if (type == 0) r = dst.width - l;
  if (type == 2) b = dst.height - t;
  Clipped c;
  if (type < 0 || type > 3 || !Clip(clip, x, y, l, t, r, b, &c)) return;
  auto put = [&](long long i, long long j, long long sx, long long sy, bool zeroToo) {
    if (!On(dst, c.x + i, c.y + j) || !On(src, sx, sy)) return;
    const uint16_t v = src.at(int(sx), int(sy));
    if (v || zeroToo) dst.at(int(c.x + i), int(c.y + j)) = v;
  };
  if (type == 3)  // the screen above the sprite, row cut, zeros too
    for (long long row = 0; row < c.y; ++row)
      for (long long i = 0; i < c.w; ++i) put(i, row - c.y, c.l + i, Held(c.t + cut, src.height), true);
  for (long long j = 0; j < c.h; ++j) {
    for (long long i = 0; i < c.w; ++i) {
      const long long sy = c.t + j;
      switch (type) {
        case 0: put(i, j, Held(c.l + (i <= cut ? i : cut), src.width), sy, false); break;
        case 1: put(i, j, Held(c.l + std::max<long long>(i, cut), src.width), sy, false); break;
        case 2: put(i, j, c.l + i, Held(c.t + (j <= cut ? j : cut), src.height), false); break;
        case 3: put(i, j, c.l + i, Held(c.t + std::max<long long>(j, cut), src.height), false); break;
      }
    }
    if (type == 1 && On(dst, 0, c.y + j))  // the screen left of the sprite, column cut, zeros too
      for (long long col = 0; col < c.x; ++col) put(col - c.x, j, Held(c.l + cut, src.width), c.t + j, true);
  }
}

inline void Ripple(const IntRect& clip, Image& dst, const Image& src, int x, int y, int amplitude, int frequency,
                   int step, float scale, float shear, int l, int t, int r, int b) {
  Clipped c;
  if (step < 1 || !Clip(clip, x, y, l, t, r, b, &c)) return;
  const float spanX = float(r - c.l), spanY = float(b - c.t);
  for (long long j = 0; j < c.h; j += step)
    for (long long i = 0; i < c.w; i += step) {
      const float ny = 2.0f / spanY * float(j) - 1.0f, nx = 2.0f / spanX * float(i) - 1.0f;
      const float L = std::exp(ny * ny - nx * nx), O = std::cos(float(frequency) * std::sqrt(nx * nx + ny * ny));
      const float Q = (O * L + 1.0f) * float(amplitude) / 2.0f + float(j);
      const float fx = (float(i) + float(j) * shear) * scale, fy = Q * scale;
      if (!(std::fabs(fx) < 2e9f) || !(std::fabs(fy) < 2e9f)) continue;
      const long long dx = c.x + (long long)std::trunc(fx), dy = c.y + (long long)std::trunc(fy);
      if (InClip(clip, dx, dy) && On(dst, dx, dy) && On(src, c.l + i, c.t + j))
        dst.at(int(dx), int(dy)) = src.at(int(c.l + i), int(c.t + j));
    }
}

inline void Displace(const IntRect& clip, Image& dst, const Image& src, int x, int y, float strength, int l, int t,
                     int r, int b) {
  Clipped c;
  if (!Clip(clip, x, y, l, t, r, b, &c)) return;
  const int level = int(std::trunc(31.0f - 31.0f * strength));
  for (long long j = 0; j < c.h; ++j)
    for (long long i = 0; i < c.w; ++i) {
      if (!On(src, c.l + i, c.t + j) || !src.at(int(c.l + i), int(c.t + j))) continue;
      int g = ::ComponentTable[src.at(int(c.l + i), int(c.t + j))][0];
      g = g - level < 1 ? 0 : g - level;
      if (g >= c.h - j) g = 0;
      if (On(dst, c.x + i, c.y + j) && On(dst, c.x + i, c.y + j + g))
        dst.at(int(c.x + i), int(c.y + j)) = dst.at(int(c.x + i), int(c.y + j + g));
    }
}

// The wave's blits for one call: (destination row offset, source row).
inline void WaveRows(float phase, int t, int b, const std::function<void(int o, int row)>& blit) {
  const int H = b - t, half = H / 2;
  int start = 0;
  for (int k = 0; k < H; ++k) {
    const int end = int(half * std::cos(2 * 3.141592653589793 * (k + phase) / (H - 1)) + half);
    for (int o = start; o <= end; ++o) blit(o, t + k);
    start = end + 1;
  }
}

}  // namespace ref
