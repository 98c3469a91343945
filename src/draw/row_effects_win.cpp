// Row-by-row effects built on DrawSprite: waves, tiled scrolling, mosaic.
// Each keeps one animation state shared by all its calls.
#include "draw/blit_rules.h"
#include "draw/display_win.h"
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

namespace zoDraw {

void DrawRowWave(int x, int y, int amp, int div, float speed, int object, int sl, int st, int sr,
                 int sb, int alternate) {
  for (int w = st; w < sb; ++w) {
    int offset = zo::WaveOffset(amp, div, rowWave.phase, w);
    if (alternate) {
      offset *= rowWave.sign;
      rowWave.sign = -rowWave.sign;
    }
    DrawSprite(x + offset, y + w - st, object, sl, w, sr, w + 1);
  }
  rowWave.phase = zo::AdvancePhase(rowWave.phase, frameDelta, speed);
}

void DrawTileScroll(float speedX, float speedY, int object, int sl, int st, int sr, int sb) {
  const int tw = sr - sl, th = sb - st;
  if (tw < 1 || th < 1) return;  // no tile to repeat
  for (int n = 0; n < screenHeight / th + 2; ++n) {
    for (int k = 0; k < screenWidth / tw + 2; ++k) {
      DrawSprite(tw * k + static_cast<int>(tileScroll.x), th * n + static_cast<int>(tileScroll.y),
                 object, sl, st, sr, sb);
    }
  }
  tileScroll.x = zo::WrapTileOffset(tileScroll.x, frameDelta * speedX, static_cast<float>(tw));
  tileScroll.y = zo::WrapTileOffset(tileScroll.y, frameDelta * speedY, static_cast<float>(th));
}

void DrawRowWaveScroll(int x, int y, int amp, int div, float waveSpeed, float scrollSpeed,
                       int object, int sl, int st, int sr, int sb) {
  const int h = sb - st;
  if (h < 1) {  // no rows to draw or scroll; the wave still moves on
    rowWaveScroll.phase = zo::AdvancePhase(rowWaveScroll.phase, frameDelta, waveSpeed);
    return;
  }
  for (int r = st; r < sb; ++r) {
    int offset = zo::WaveOffset(amp, div, rowWaveScroll.phase, r);
    int s = static_cast<int>(rowWaveScroll.scroll) + r;
    if (s >= sb) s -= h;
    DrawSprite(x + offset, y + r - st, object, sl, s, sr, s + 1);
  }
  rowWaveScroll.phase = zo::AdvancePhase(rowWaveScroll.phase, frameDelta, waveSpeed);
  rowWaveScroll.scroll = zo::WrapRowScroll(rowWaveScroll.scroll, frameDelta * scrollSpeed, h);
}

void DrawRowWaveTile(int top, int bottom, int amp, int div, float waveSpeed, float scrollSpeed,
                     int object, int sl, int st, int sr, int sb) {
  const int h = sb - st, tw = sr - sl;
  if (h < 1 || tw < 1) {  // nothing to tile; the wave (and a scroll with rows) still moves on
    rowWaveTile.phase = zo::AdvancePhase(rowWaveTile.phase, frameDelta, waveSpeed);
    if (h > 0) rowWaveTile.scroll = zo::WrapRowScroll(rowWaveTile.scroll, frameDelta * scrollSpeed, h);
    return;
  }
  for (int i = 0; i < bottom - top; ++i) {
    int s = i % h + static_cast<int>(rowWaveTile.scroll);
    if (s > h - 1) s -= h;
    int offset = zo::WaveOffset(amp, div, rowWaveTile.phase, i);
    for (int n = 0; n < screenWidth / tw + 2; ++n) {
      DrawSprite(tw * n + offset - amp, top + i, object, sl, st + s, sr, st + s + 1);
    }
  }
  rowWaveTile.phase = zo::AdvancePhase(rowWaveTile.phase, frameDelta, waveSpeed);
  rowWaveTile.scroll = zo::WrapRowScroll(rowWaveTile.scroll, frameDelta * scrollSpeed, h);
}

void DrawRowMosaic(int x, int y, int band, int object, int sl, int st, int sr, int sb) {
  if (band < 1) return;
  for (int s = st; s < sb; s += band) {
    for (int k = s; k < s + band; ++k) DrawSprite(x, y + k - st, object, sl, s, sr, s + 1);
  }
}

}  // namespace zoDraw
