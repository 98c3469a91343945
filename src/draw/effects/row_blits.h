// The row blits: a sprite drawn one source row at a time through the
// ordinary blits, with gaps, sideways jitter, over a moving cosine profile,
// as waves, a scrolling waved tiling or a vertical mosaic. The blits and the
// random generator are handed in, so that the rows drawn can be followed off
// Windows. Each visits only the rows that can show (RowBounds), whatever
// range its caller gives.
#pragma once

#include <cstdint>

namespace zo {

using RowBlit = void (*)(int x, int y, int object, int l, int t, int r, int b);

struct RowBlitter {
  RowBlit keyed;    // zoDraw::DrawSprite
  RowBlit opaque;   // zoDraw::DrawSpriteOpaque
  int (*random)();  // the C runtime's rand
};

// Where a row can show: destination rows top..bottom-1 (the clip rectangle
// within the back surface) and source rows 0..objectHeight-1. The row loops
// visit only these, so a caller's range of any length ends at once.
struct RowBounds {
  int top, bottom;
  int objectHeight;
};

// Source rows first..last-1 of st..sb-1 whose destination y + row - st can
// show; empty (first >= last) when none can.
struct RowSpan {
  int64_t first, last;
};
RowSpan VisibleRows(const RowBounds& bounds, int y, int st, int sb);

// A coordinate far off every surface stays far off rather than wrapping.
int HeldCoordinate(int64_t v);

// Every step-th row after the first (step > 0), or rows a random 1..-step
// apart (step < 0); step 0 draws nothing.
void Scanlines(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int step, int object, int sl,
               int st, int sr, int sb);

// Each row shifted by rand() % (2 * amplitude) - amplitude; amplitude <= 0
// draws the rectangle in one blit.
void Jitter(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amplitude, int object, int sl,
            int st, int sr, int sb);

// Rows spread over a cosine profile of phase `phase`; answers the phase
// moved by step (speed * elapsed) forward (direction != 0) or back, wrapped
// once by the height. Fewer than two rows draw nothing and keep the phase;
// a phase that is not a finite number starts again at 0.
float Wave(const RowBlitter& blit, const RowBounds& bounds, float phase, float step, int x, int y,
           int direction, int object, int sl, int st, int sr, int sb);

// Cosine-waved rows at phase; with alternate, every other row's offset is
// negated starting from *sign, which is left as the rows st..sb-1 leave it.
void RowWave(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div, float phase,
             bool alternate, int* sign, int object, int sl, int st, int sr, int sb);

// Waved rows whose source starts scroll rows further down, wrapping inside
// st..sb-1.
void RowWaveScroll(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div,
                   float phase, float scroll, int object, int sl, int st, int sr, int sb);

// Destination rows top..bottom-1, each tiled across screenWidth with the
// source rows repeating and scrolling, shifted left by amp.
void RowWaveTile(const RowBlitter& blit, const RowBounds& bounds, int screenWidth, int top, int bottom,
                 int amp, int div, float phase, float scroll, int object, int sl, int st, int sr, int sb);

// Every band of rows shows its first row repeated; the last band is drawn
// full height. band < 1 draws nothing.
void RowMosaic(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int band, int object, int sl,
               int st, int sr, int sb);

}  // namespace zo
