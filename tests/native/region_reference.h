// Slow, literal versions of the back-surface region rules, for the tests to
// hold the kernels to. A pixel whose reads or writes would leave the surface
// is passed over (it takes no noise entry and no step of the run counter).
#pragma once

#include <cmath>
#include <cstdint>

#include "mirror_reference.h"
#include "draw/effects/effect_tables.h"
#include "zo/draw_state.h"

namespace ref {

struct Flags {
  int red, green, blue;
};

inline uint16_t Compose(const PixelLayout& f, int r, int g, int b) {
  return uint16_t((r << f.fivePos[0]) | (g << f.fivePos[1]) | (b << f.fivePos[2]));
}

// The (faded) mean of the four neighbours of (px, py).
inline uint16_t Mean4(const PixelLayout& f, const Image& im, long long px, long long py, const Flags& fade) {
  const int at[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  int sum[3] = {0, 0, 0};
  for (auto& a : at)
    for (int c = 0; c < 3; ++c) sum[c] += ::ComponentTable[im.at(int(px + a[0]), int(py + a[1]))][c];
  const int flag[3] = {fade.red, fade.green, fade.blue};
  for (int c = 0; c < 3; ++c) {
    sum[c] >>= 2;
    if (flag[c] && sum[c] > 0) --sum[c];
  }
  return Compose(f, sum[0], sum[1], sum[2]);
}

inline bool Inner(const Image& im, long long px, long long py) {
  return px >= 1 && py >= 1 && px <= im.width - 2 && py <= im.height - 2;
}

inline void Smooth(const PixelLayout& f, Image& im, int x, int y, uint32_t w, uint32_t h, const Flags& fade) {
  for (long long py = (long long)y + 1; py <= (long long)y + h - 2; ++py)
    for (long long px = (long long)x + 1; px <= (long long)x + w - 2; ++px)
      if (Inner(im, px, py)) im.at(int(px), int(py)) = Mean4(f, im, px, py, fade);
}

inline void BlurRise(const PixelLayout& f, Image& im, int x, int y, uint32_t w, uint32_t h, const Flags& fade,
                     int& counter, int& cursor) {
  for (long long s = 1; s <= (long long)h - 2; ++s) {
    const long long py = (long long)y + 1 + s;
    for (long long px = (long long)x + 1; px <= (long long)x + w - 2; ++px) {
      if (!Inner(im, px, py)) continue;
      ++counter;
      if (counter < ::NoiseTable[cursor]) {
        im.at(int(px), int(py - 1)) = Mean4(f, im, px, py, fade);
      } else {
        im.at(int(px), int(py - 1)) = im.at(int(px), int(py));
        counter = 0;
        cursor = cursor == ::NoiseTableSize - 1 ? zo::MsvcrtRandom() % 1000 : cursor + 1;
      }
    }
  }
}

// The enlargement into the buffer, block by block.
inline void Zoom(const Image& screen, Image& buffer, int x, int y, uint32_t w, uint32_t h, int f, int dotted) {
  const int part = dotted ? f / 2 : f;
  for (long long j = 0; j < h; ++j)
    for (long long i = 0; i < w; ++i) {
      if (!On(screen, x + i, y + j)) continue;
      for (int a = 0; a < part; ++a)
        for (int c = 0; c < part; ++c)
          if (On(buffer, f * i + c, f * j + a))
            buffer.at(int(f * i + c), int(f * j + a)) = screen.at(int(x + i), int(y + j));
    }
}

inline void MosaicCircle(Image& im, int sw, int sh, int cx, int cy, int radius, int block) {
  if (block < 1) return;
  long long x0 = -radius, y0 = -radius, x1 = radius, y1 = radius;
  if ((long long)cx - radius < 0) x0 = -cx;
  if ((long long)cy - radius < 0) y0 = -cy;
  if ((long long)cx + radius >= sw) x1 = (long long)sw - cx;
  if ((long long)cy + radius >= sh) y1 = (long long)sh - cy;
  for (long long by = y0; by < y1; by += block)
    for (long long bx = x0; bx < x1; bx += block) {
      if (!On(im, cx + bx, cy + by)) continue;
      const uint16_t colour = im.at(int(cx + bx), int(cy + by));
      const long long bw = cx + bx + block >= sw ? sw - cx - bx : block;
      const long long bh = cy + by + block >= sh ? sh - cy - by : block;
      for (long long k = 0; k < bh; ++k)
        for (long long m = bx; m < bx + bw; ++m)
          if ((long long)std::trunc(std::sqrt(double(m * m + (by + k) * (by + k)))) < radius &&
              On(im, cx + m, cy + by + k))
            im.at(int(cx + m), int(cy + by + k)) = colour;
    }
}

inline void Noise(const PixelLayout& f, Image& im, const Flags& add, int shift, int x, int y, uint32_t w,
                  uint32_t h, int& cursor) {
  for (long long py = y; py < (long long)y + h; ++py)
    for (long long px = x; px < (long long)x + w; ++px) {
      if (!On(im, px, py)) continue;
      int n = ::NoiseTable[cursor];
      cursor = cursor == ::NoiseTableSize - 1 ? zo::MsvcrtRandom() % 1000 : cursor + 1;
      if (shift) n <<= shift;
      const uint8_t* c = ::ComponentTable[im.at(int(px), int(py))];
      const int flag[3] = {add.red, add.green, add.blue};
      int v[3];
      for (int k = 0; k < 3; ++k) v[k] = flag[k] ? std::min(31, c[k] + n) : c[k];
      im.at(int(px), int(py)) = Compose(f, v[0], v[1], v[2]);
    }
}

}  // namespace ref
