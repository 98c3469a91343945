// The rotating and scaling blits walked literally: every pixel of the
// destination rectangle visited, u and v stepped by cos and sin from
// SineTable, each form's source pixel found as written.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect_harness.h"
#include "draw/effects/effect_tables.h"
#include "draw/sine_table.h"
#include "zo/draw_state.h"

namespace ref {

enum class Form { Plain, Tile, Zoom, ZoomTile, Floor };

struct Rotation {
  Form form = Form::Plain;
  int dl = 0, dt = 0, dr = 0, db = 0, angle = 0;
  float scale = 1, scaleX = 1, stepX = 0, scaleY = 1, stepY = 0;
  float factor[3] = {1, 1, 1};
  int sl = 0, st = 0, sr = 0, sb = 0;
};

// Source column (or row) inside the rectangle for a mapped px, -1 for none.
inline long long SourceIndex(Form form, long long px, float scale, long long size) {
  if (form == Form::Plain) return px >= 0 && px < size ? px : -1;
  if (form == Form::Tile) return std::llabs(px) % size;
  const float q = (float)px / scale;
  if (!std::isfinite(q)) return -1;
  const double t = std::trunc((double)q);
  if (form == Form::Zoom) return t >= 0 && t < (double)size ? (long long)t : -1;
  return (long long)std::fmod(std::fabs(t), (double)size);
}

inline uint16_t Shaded(const PixelLayout& f, uint16_t p, const float factor[3]) {
  uint16_t out = 0;
  for (int ch = 0; ch < 3; ++ch) {
    const float k = factor[ch] > 0 ? factor[ch] : 0;
    const int c = ComponentTable[p][ch];
    const long double v = c == 0 ? 0.0L : (long double)c * k;
    out |= uint16_t((v > 31 ? 31 : int(v)) << f.fivePos[ch]);
  }
  return out;
}

inline void Rotate(const PixelLayout& f, const IntRect& clip, Image& dst, const Image& src, const Rotation& c) {
  const long long W = (long long)c.dr - c.dl, H = (long long)c.db - c.dt;
  const long long endX = c.dr > clip.right ? (long long)clip.right - c.dl : W;
  const long long endY = c.db > clip.bottom ? (long long)clip.bottom - c.dt : H;
  const long long startX = c.dl < clip.left ? (long long)clip.left - c.dl : 0;
  const long long startY = c.dt < clip.top ? (long long)clip.top - c.dt : 0;
  if (endX < startX || endY < startY) return;
  const long long srcW = (long long)c.sr - c.sl, srcH = (long long)c.sb - c.st;
  if (srcW <= 0 || srcH <= 0) return;
  const bool zoom = c.form == Form::Zoom || c.form == Form::ZoomTile;
  if (zoom && (c.scale == 0 || !std::isfinite(c.scale))) return;
  if (c.form == Form::Floor && (!std::isfinite(c.scaleX) || !std::isfinite(c.scaleY) ||
                                !std::isfinite(c.stepX) || !std::isfinite(c.stepY) ||
                                (c.scaleX == 0 && c.stepX == 0) || (c.scaleY == 0 && c.stepY == 0)))
    return;

  const int angle = ((c.angle % 360) + 360) % 360;
  const long long C = SineTable[angle + 90], S = SineTable[angle];
  const long long halfW = W >> 1, halfH = H >> 1;
  long long uRow = halfW * 360 + halfH * S - halfW * C;
  long long vRow = halfH * 360 - halfW * S - halfH * C;
  long long offX = (W + c.sl - c.sr) >> 1, offY = (H + c.st - c.sb) >> 1;
  if (c.form == Form::Zoom) {
    offX = (W - (long long)std::trunc((float)srcW * c.scale)) >> 1;
    offY = (H - (long long)std::trunc((float)srcH * c.scale)) >> 1;
  }
  float scaleX = c.scaleX, scaleY = c.scaleY;
  for (long long j = 0; j < H; ++j) {
    long long u = uRow, v = vRow;
    for (long long i = 0; i < W; ++i, u += C, v += S) {
      if (i < startX || i >= endX || j < startY || j >= endY) continue;
      const long long dx = c.dl + i, dy = c.dt + j;
      if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) continue;
      const long long px = u / 360 - offX, py = v / 360 - offY;
      long long sx, sy;
      if (c.form == Form::Floor) {
        if (scaleX == 0 || scaleY == 0 || !std::isfinite(scaleX) || !std::isfinite(scaleY)) continue;
        sx = SourceIndex(Form::ZoomTile, px, scaleX, srcW);
        sy = SourceIndex(Form::ZoomTile, py, scaleY, srcH);
      } else {
        sx = SourceIndex(c.form, px, c.scale, srcW);
        sy = SourceIndex(c.form, py, c.scale, srcH);
      }
      if (sx < 0 || sy < 0) continue;
      const long long ox = c.sl + sx, oy = c.st + sy;
      if (ox < 0 || oy < 0 || ox >= src.width || oy >= src.height) continue;
      const uint16_t p = src.at(int(ox), int(oy));
      if (p == 0) continue;
      dst.at(int(dx), int(dy)) = c.form == Form::Floor ? Shaded(f, p, c.factor) : p;
    }
    uRow -= S;
    vRow += C;
    scaleX += c.stepX;
    scaleY += c.stepY;
  }
}

}  // namespace ref
