// The row blits through the ordinary blits and the runtime's rand.
#include <cstdlib>

#include "draw/effects/row_blits.h"
#include "draw/row_bounds_win.h"
#include "zo.h"

namespace {

int Random() { return std::rand(); }

const zo::RowBlitter blitter{zoDraw::DrawSprite, zoDraw::DrawSpriteOpaque, Random};

float wavePhase = 0.0f;  // shared by every caller of DrawWave

}  // namespace

namespace zoDraw {

void DrawScanlines(int x, int y, int step, int obj, int l, int t, int r, int b) {
  zo::Scanlines(blitter, zo::RowBoundsFor(obj), x, y, step, obj, l, t, r, b);
}

void DrawJitter(int x, int y, int amplitude, int obj, int l, int t, int r, int b) {
  zo::Jitter(blitter, zo::RowBoundsFor(obj), x, y, amplitude, obj, l, t, r, b);
}

void DrawWave(int x, int y, int direction, float speed, int obj, int l, int t, int r, int b) {
  wavePhase = zo::Wave(blitter, zo::RowBoundsFor(obj), wavePhase, speed * frameDelta, x, y, direction, obj, l,
                       t, r, b);
}

}  // namespace zoDraw
