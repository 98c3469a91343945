// Slow, literal versions of the effect frame and the blend rules, written
// straight from their definitions for the tests to hold the kernels to.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

#include "draw/effects/effect_tables.h"
#include "effect_harness.h"
#include "zo/draw_state.h"

namespace ref {

// A blend rule for one visible pixel: source s, destination d, and its
// position (column i, row j) counted from the clipped start.
using Rule = std::function<uint16_t(uint16_t s, uint16_t d, int i, int j)>;

// The frame as written: clip to the clip rectangle with the unclipped x and
// y, then visit every pixel, rows outside, skipping those off either surface.
inline void Draw(const IntRect& clip, Image& dst, const Image& src, int x, int y, int l, int t, int r,
                 int b, const Rule& rule) {
  Clipped c;
  if (!Clip(clip, x, y, l, t, r, b, &c)) return;
  for (long long j = 0; j < c.h; ++j)
    for (long long i = 0; i < c.w; ++i) {
      const long long sx = c.l + i, sy = c.t + j, dx = c.x + i, dy = c.y + j;
      if (!On(src, sx, sy) || !On(dst, dx, dy)) continue;
      const uint16_t s = src.at(int(sx), int(sy));
      if (s == 0) continue;
      uint16_t& d = dst.at(int(dx), int(dy));
      d = rule(s, d, int(i), int(j));
    }
}

inline uint16_t Half(const PixelLayout& f, uint16_t s, uint16_t d) {
  return uint16_t(((s >> 1) & f.halfMask) + ((d >> 1) & f.halfMask));
}

// OR of three pre-shifted entries, looked up by 5-bit components.
template <class Lookup>
uint16_t Tables(uint16_t s, uint16_t d, Lookup entry) {
  uint16_t out = 0;
  for (int ch = 0; ch < 3; ++ch) out |= entry(ch, ComponentTable[s][ch], ComponentTable[d][ch]);
  return out;
}

inline uint16_t Fade(uint16_t s, uint16_t d, const int level[3]) {
  return Tables(s, d, [&](int ch, int a, int b) {
    return FadeTable[ch * 32768 + (31 - level[ch]) * 1024 + a * 32 + b];
  });
}

inline uint16_t Add(uint16_t s, uint16_t d, int k) {
  return Tables(s, d, [&](int ch, int a, int b) { return AddTable[ch * 32768 + k * 1024 + a * 32 + b]; });
}

inline uint16_t Sub(uint16_t s, uint16_t d) {
  return Tables(s, d, [&](int ch, int a, int b) { return SubTable[ch * 1024 + b * 32 + a]; });
}

// Full-width channels, trunc(sw * s + dw * d) in extended precision.
inline uint16_t Mix(const PixelLayout& f, uint16_t s, uint16_t d, const float sw[3], const float dw[3]) {
  const uint32_t shift[3] = {f.redShift, f.greenShift, f.blueShift};
  const uint32_t max[3] = {f.redMax, f.greenMax, f.blueMax};
  uint32_t out = 0;
  for (int ch = 0; ch < 3; ++ch) {
    const uint32_t sc = (s >> shift[ch]) & max[ch], dc = (d >> shift[ch]) & max[ch];
    const long double sum = (long double)sw[ch] * sc + (long double)dw[ch] * dc;
    out |= uint32_t((int)sum) << shift[ch];
  }
  return uint16_t(out);
}

// The ramp walked position by position as described: past start the counter
// rises, and on reaching every it returns to 0 and one step is taken.
inline int Steps(int p, int start, int every) {
  int counter = 0, steps = 0;
  for (int q = 0; q <= p; ++q) {
    if (q > start) {
      ++counter;
      if (counter >= every) {
        counter = 0;
        ++steps;
      }
    }
  }
  return steps;
}

// Destination weight after a number of steps of 1/32, floor 0.
inline float AlphaWeight(float alpha, int steps) {
  float w = 1.0f - alpha;
  for (int i = 0; i < steps; ++i) {
    w -= 0.03125f;
    if (w < 0) w = 0;
  }
  return w;
}

// The opacity ramp after `steps` steps: each channel's destination weight
// lowered by 1/32 a step, the source taking the rest.
inline uint16_t AlphaRamp(const PixelLayout& f, uint16_t s, uint16_t d, const float alpha[3], int steps) {
  float sw[3], dw[3];
  for (int c = 0; c < 3; ++c) {
    dw[c] = AlphaWeight(alpha[c], steps);
    sw[c] = 1.0f - dw[c];
  }
  return Mix(f, s, d, sw, dw);
}

// The cross-fade ramp after `steps` steps: each level one higher a step, up to 31.
inline uint16_t FadeRamp(uint16_t s, uint16_t d, const int level[3], int steps) {
  int now[3];
  for (int c = 0; c < 3; ++c) now[c] = 31 - std::max(31 - level[c] - steps, 0);
  return Fade(s, d, now);
}

}  // namespace ref
