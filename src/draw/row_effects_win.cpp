// Row-by-row effects built on DrawSprite: waves, tiled scrolling, mosaic.
// Each keeps one animation state shared by all its calls.
#include <cstdint>

#include "draw/blit_rules.h"
#include "draw/display_win.h"
#include "draw/row_bounds_win.h"
#include "draw/row_effects.h"
#include "zo.h"

namespace {

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

}  // namespace

namespace {

const zo::RowBlitter blitter{zoDraw::DrawSprite, zoDraw::DrawSpriteOpaque, nullptr};

}  // namespace

namespace zoDraw {

void DrawRowWave(int x, int y, int amp, int div, float speed, int object, int sl, int st, int sr,
                 int sb, int alternate) {
  zo::RowWave(blitter, zo::RowBoundsFor(object), x, y, amp, div, rowWave.phase, alternate != 0, &rowWave.sign,
              object, sl, st, sr, sb);
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

void DrawRowWaveScroll(int x, int y, int amp, int div, float waveSpeed, float scrollSpeed,
                       int object, int sl, int st, int sr, int sb) {
  const int64_t h = int64_t(sb) - st;
  zo::RowWaveScroll(blitter, zo::RowBoundsFor(object), x, y, amp, div, rowWaveScroll.phase, rowWaveScroll.scroll,
                    object, sl, st, sr, sb);
  // Without rows there is nothing to scroll; the wave still moves on.
  rowWaveScroll.phase = zo::AdvancePhase(rowWaveScroll.phase, frameDelta, waveSpeed);
  if (h > 0) rowWaveScroll.scroll = zo::WrapRowScroll(rowWaveScroll.scroll, frameDelta * scrollSpeed, h);
}

void DrawRowWaveTile(int top, int bottom, int amp, int div, float waveSpeed, float scrollSpeed,
                     int object, int sl, int st, int sr, int sb) {
  const int64_t h = int64_t(sb) - st;
  zo::RowWaveTile(blitter, zo::RowBoundsFor(object), screenWidth, top, bottom, amp, div, rowWaveTile.phase,
                  rowWaveTile.scroll, object, sl, st, sr, sb);
  rowWaveTile.phase = zo::AdvancePhase(rowWaveTile.phase, frameDelta, waveSpeed);
  if (h > 0) rowWaveTile.scroll = zo::WrapRowScroll(rowWaveTile.scroll, frameDelta * scrollSpeed, h);
}

void DrawRowMosaic(int x, int y, int band, int object, int sl, int st, int sr, int sb) {
  zo::RowMosaic(blitter, zo::RowBoundsFor(object), x, y, band, object, sl, st, sr, sb);
}

}  // namespace zoDraw
