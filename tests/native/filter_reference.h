// Slow, literal versions of the colour filters, written straight from their
// rules for the tests to hold the kernels to.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "effect_harness.h"
#include "draw/effects/effect_tables.h"
#include "zo/draw_state.h"

namespace ref {

// The drawn area: the clipped sprite, then the part that lies on both
// pictures. Source (l + i, t + j) meets destination (x + i, y + j).
struct Area {
  int x, y, l, t, w, h;
};
inline bool Drawn(const IntRect& clip, const Image& dst, const Image& src, int x, int y, int l, int t, int r,
                  int b, Area* a) {
  Clipped c;
  if (!Clip(clip, x, y, l, t, r, b, &c)) return false;
  long long w = c.w, h = c.h, X = c.x, Y = c.y, L = c.l, T = c.t;
  // Cut whatever lies off either picture, on each side.
  while (w > 0 && (L < 0 || X < 0)) { ++L; ++X; --w; }
  while (h > 0 && (T < 0 || Y < 0)) { ++T; ++Y; --h; }
  while (w > 0 && (L + w > src.width || X + w > dst.width)) --w;
  while (h > 0 && (T + h > src.height || Y + h > dst.height)) --h;
  if (w <= 0 || h <= 0) return false;
  *a = Area{int(X), int(Y), int(L), int(T), int(w), int(h)};
  return true;
}

inline uint16_t Five(const PixelLayout& f, int r, int g, int b) {
  return uint16_t((r << f.fivePos[0]) | (g << f.fivePos[1]) | (b << f.fivePos[2]));
}

inline uint16_t ChannelMask(const PixelLayout& f, uint16_t s, int red, int green, int blue) {
  uint32_t m = 0;
  if (red) m |= f.redMask;
  if (green) m |= f.greenMask;
  if (blue) m |= f.blueMask;
  return uint16_t(s & m);
}

// trunc(c * factor) in extended precision per full-width channel, held to
// the channel's maximum; a negative or NaN factor is 0.
inline uint16_t Brightness(const PixelLayout& f, uint16_t s, const float factor[3]) {
  const uint32_t shift[3] = {f.redShift, f.greenShift, f.blueShift};
  const uint32_t max[3] = {f.redMax, f.greenMax, f.blueMax};
  uint32_t out = 0;
  for (int ch = 0; ch < 3; ++ch) {
    const uint32_t c = (s >> shift[ch]) & max[ch];
    const float k = factor[ch] > 0 ? factor[ch] : 0;
    const long double p = c == 0 ? 0.0L : (long double)c * k;
    const uint32_t v = p > max[ch] ? max[ch] : uint32_t(p);
    out |= v << shift[ch];
  }
  return uint16_t(out);
}

inline uint16_t Darken(uint16_t s, const int level[3]) {
  uint16_t out = 0;
  for (int ch = 0; ch < 3; ++ch) {
    const int held = std::clamp(level[ch], 0, 31);
    out |= SubTable[ch * 1024 + ComponentTable[s][ch] * 32 + (31 - held)];
  }
  return out;
}

inline uint16_t Gray(const PixelLayout& f, uint16_t s) {
  const uint8_t* c = ComponentTable[s];
  const int g = GrayTable[c[0] + c[1] + c[2]];
  return Five(f, g, g, g);
}

inline void Blur(const PixelLayout& f, const IntRect& clip, Image& dst, const Image& src, int x, int y, int l,
                 int t, int r, int b, int size) {
  Area a;
  if (size < 1 || !Drawn(clip, dst, src, x, y, l, t, r, b, &a)) return;
  const int n = std::min({size, 45, a.w, a.h});
  for (int j = 0; j < a.h; ++j)
    for (int i = 0; i < a.w; ++i) {
      if (src.at(a.l + i, a.t + j) == 0) continue;
      const int bi = i + n > a.w ? a.w - n : i, bj = j + n > a.h ? a.h - n : j;
      uint16_t sum[3] = {0, 0, 0};
      for (int v = bj; v < bj + n; ++v)
        for (int u = bi; u < bi + n; ++u)
          for (int ch = 0; ch < 3; ++ch) sum[ch] = uint16_t(sum[ch] + ComponentTable[src.at(a.l + u, a.t + v)][ch]);
      dst.at(a.x + i, a.y + j) = Five(f, sum[0] / (n * n), sum[1] / (n * n), sum[2] / (n * n));
    }
}

inline void SoftEdge(const PixelLayout& f, const IntRect& clip, Image& dst, const Image& src, int x, int y, int l,
                     int t, int r, int b) {
  Area a;
  if (!Drawn(clip, dst, src, x, y, l, t, r, b, &a)) return;
  for (int j = 0; j < a.h; ++j)
    for (int i = 0; i < a.w; ++i) {
      const uint16_t s = src.at(a.l + i, a.t + j);
      if (s == 0) continue;
      int sum[3] = {ComponentTable[s][0], ComponentTable[s][1], ComponentTable[s][2]};
      int n = 1;
      const int di[4] = {-1, 1, 0, 0}, dj[4] = {0, 0, -1, 1};  // left, right, above, below
      for (int k = 0; k < 4; ++k) {
        const int ni = i + di[k], nj = j + dj[k];
        if (ni < 0 || ni >= a.w || nj < 0 || nj >= a.h) continue;
        if (src.at(a.l + ni, a.t + nj) != 0) continue;
        for (int ch = 0; ch < 3; ++ch) sum[ch] += ComponentTable[dst.at(a.x + ni, a.y + nj)][ch];
        ++n;
      }
      dst.at(a.x + i, a.y + j) = n < 2 ? s : Five(f, sum[0] / n, sum[1] / n, sum[2] / n);
    }
}

// The glow walked pixel by pixel and ray by ray, its cursor returning to 0
// after the last noise entry.
inline void Glow(const PixelLayout& f, const IntRect& clip, Image& dst, const Image& src, int x, int y, int l,
                 int t, int r, int b, const unsigned shift[3], unsigned directions, int copy, int& cursor) {
  Area a;
  if (!Drawn(clip, dst, src, x, y, l, t, r, b, &a)) return;
  struct Ray { unsigned bit; int dx, dy, dy0; };
  const Ray rays[8] = {{0x40, 0, -1, -1}, {0x20, -1, -1, -1}, {0x80, 1, -1, -1}, {0x02, 0, 1, 1},
                       {0x01, -1, 1, 1},  {0x04, 1, 1, 1},    {0x08, -1, 0, 0},  {0x10, 1, 0, 0}};
  const uint16_t W = uint16_t(a.w), H = uint16_t(a.h), X = uint16_t(a.x), Y = uint16_t(a.y);
  for (uint16_t j = 0; j < H; ++j)
    for (uint16_t i = 0; i < W; ++i) {
      const uint16_t s = src.at(a.l + i, a.t + j);
      if (s == 0) continue;
      if (copy) dst.at(uint16_t(X + i), uint16_t(Y + j)) = s;
      int g[3];
      for (int ch = 0; ch < 3; ++ch) g[ch] = shift[ch] >= 16 ? 0 : ComponentTable[s][ch] >> shift[ch];
      const int noise = NoiseTable[cursor];
      cursor = cursor == 9999 ? 0 : cursor + 1;
      for (int& v : g) v = v < noise ? 0 : v - noise;
      for (int step = 0; step <= 30; ++step) {
        for (int& v : g)
          if (v != 0) --v;
        if (g[0] == 0 && g[1] == 0 && g[2] == 0) break;
        for (const Ray& ray : rays) {
          if (!(directions & ray.bit)) continue;
          const uint16_t tx = uint16_t(X + i + ray.dx * step), ty = uint16_t(Y + j + ray.dy * step + ray.dy0);
          if (tx < clip.left || tx >= clip.right || ty < clip.top || ty >= clip.bottom) continue;
          if (tx >= dst.width || ty >= dst.height) continue;
          uint16_t& p = dst.at(tx, ty);
          const uint8_t* c = ComponentTable[p];
          p = Five(f, std::min(31, c[0] + g[0]), std::min(31, c[1] + g[1]), std::min(31, c[2] + g[2]));
        }
      }
    }
}

}  // namespace ref
