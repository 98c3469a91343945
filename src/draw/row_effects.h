// The row-by-row effects of the basic blits (waves, a scrolling waved
// tiling, a vertical mosaic) as plain loops over a row blitter, so that the
// rows they draw can be followed off Windows. Each visits only the rows that
// can show (RowBounds), whatever range its caller gives.
#pragma once

#include "draw/effects/row_blits.h"

namespace zo {

// Cosine-waved rows at phase; with alternate, every other row's offset is
// negated starting from *sign, which is left as the rows st..sb-1 leave it.
void RowWave(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div, float phase,
             bool alternate, int* sign, int obj, int sl, int st, int sr, int sb);

// Waved rows whose source starts scroll rows further down, wrapping inside
// st..sb-1.
void RowWaveScroll(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int amp, int div,
                   float phase, float scroll, int obj, int sl, int st, int sr, int sb);

// Destination rows top..bottom-1, each tiled across screenWidth with the
// source rows repeating and scrolling, shifted left by amp.
void RowWaveTile(const RowBlitter& blit, const RowBounds& bounds, int screenWidth, int top, int bottom,
                 int amp, int div, float phase, float scroll, int obj, int sl, int st, int sr, int sb);

// Every band of rows shows its first row repeated; the last band is drawn
// full height. band < 1 draws nothing.
void RowMosaic(const RowBlitter& blit, const RowBounds& bounds, int x, int y, int band, int obj, int sl,
               int st, int sr, int sb);

}  // namespace zo
