// The row blits through the ordinary blits and the runtime's rand. Each
// keeps one animation state shared by all its calls.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "draw/blit_rules.h"
#include "draw/display_win.h"
#include "draw/effects/row_blits.h"
#include "draw/objects_win.h"
#include "zo.h"

namespace {

int Random() { return std::rand(); }

const zo::RowBlitter blitter{zoDraw::DrawSprite, zoDraw::DrawSpriteOpaque, Random};

// The rows a row blit can show on this display: the clip rectangle within
// the back surface, and the rows of the object drawn from.
zo::RowBounds BoundsFor(int object) {
  const DrawObject* record = zo::ObjectAt(object);
  const int rows = record && record->surface ? record->height : 0;
  return zo::RowBounds{std::max(ClipRect.top, 0), std::min(ClipRect.bottom, screenHeight), rows};
}

float wavePhase = 0.0f;  // shared by every caller of DrawWave

struct {
  float phase = 0.0f;
  int sign = 1;
} rowWave;

struct {
  float x = 0.0f, y = 0.0f;
} tileScroll;

struct WaveScroll {
  float phase = 0.0f;
  float scroll = 0.0f;
};
WaveScroll rowWaveScroll, rowWaveTile;

// Without rows there is nothing to scroll; the wave still moves on.
void Advance(WaveScroll& state, float waveSpeed, float scrollSpeed, int st, int sb) {
  const int64_t h = int64_t(sb) - st;
  state.phase = zo::AdvancePhase(state.phase, frameDelta, waveSpeed);
  if (h > 0) state.scroll = zo::WrapRowScroll(state.scroll, frameDelta * scrollSpeed, h);
}

}  // namespace

namespace zoDraw {

void DrawScanlines(int x, int y, int step, int object, int sl, int st, int sr, int sb) {
  zo::Scanlines(blitter, BoundsFor(object), x, y, step, object, sl, st, sr, sb);
}

void DrawJitter(int x, int y, int amplitude, int object, int sl, int st, int sr, int sb) {
  zo::Jitter(blitter, BoundsFor(object), x, y, amplitude, object, sl, st, sr, sb);
}

void DrawWave(int x, int y, int direction, float speed, int object, int sl, int st, int sr, int sb) {
  wavePhase = zo::Wave(blitter, BoundsFor(object), wavePhase, speed * frameDelta, x, y, direction, object, sl,
                       st, sr, sb);
}

void DrawRowWave(int x, int y, int amp, int div, float speed, int object, int sl, int st, int sr, int sb,
                 int alternate) {
  zo::RowWave(blitter, BoundsFor(object), x, y, amp, div, rowWave.phase, alternate != 0, &rowWave.sign, object,
              sl, st, sr, sb);
  rowWave.phase = zo::AdvancePhase(rowWave.phase, frameDelta, speed);
}

void DrawTileScroll(float speedX, float speedY, int object, int sl, int st, int sr, int sb) {
  const int64_t tw = int64_t(sr) - sl, th = int64_t(sb) - st;
  if (tw < 1 || th < 1) return;  // no tile to repeat
  const int64_t offX = static_cast<int64_t>(tileScroll.x), offY = static_cast<int64_t>(tileScroll.y);
  for (int64_t n = 0; n < screenHeight / th + 2; ++n) {
    for (int64_t k = 0; k < screenWidth / tw + 2; ++k) {
      DrawSprite(zo::HeldCoordinate(tw * k + offX), zo::HeldCoordinate(th * n + offY), object, sl, st, sr, sb);
    }
  }
  tileScroll.x = zo::WrapTileOffset(tileScroll.x, frameDelta * speedX, static_cast<float>(tw));
  tileScroll.y = zo::WrapTileOffset(tileScroll.y, frameDelta * speedY, static_cast<float>(th));
}

void DrawRowWaveScroll(int x, int y, int amp, int div, float waveSpeed, float scrollSpeed, int object, int sl,
                       int st, int sr, int sb) {
  zo::RowWaveScroll(blitter, BoundsFor(object), x, y, amp, div, rowWaveScroll.phase, rowWaveScroll.scroll,
                    object, sl, st, sr, sb);
  Advance(rowWaveScroll, waveSpeed, scrollSpeed, st, sb);
}

void DrawRowWaveTile(int top, int bottom, int amp, int div, float waveSpeed, float scrollSpeed, int object,
                     int sl, int st, int sr, int sb) {
  zo::RowWaveTile(blitter, BoundsFor(object), screenWidth, top, bottom, amp, div, rowWaveTile.phase,
                  rowWaveTile.scroll, object, sl, st, sr, sb);
  Advance(rowWaveTile, waveSpeed, scrollSpeed, st, sb);
}

void DrawRowMosaic(int x, int y, int band, int object, int sl, int st, int sr, int sb) {
  zo::RowMosaic(blitter, BoundsFor(object), x, y, band, object, sl, st, sr, sb);
}

}  // namespace zoDraw
