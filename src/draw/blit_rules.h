// Platform-free arithmetic of the blits: clipping a destination point and a
// source rectangle against ClipRect, the 50 % blend of a locked 16-bit area,
// and the per-row rules of the row effects.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"

namespace zo {

// Moves (x, y) and src so that the copy stays inside clip. Answers false when
// nothing is left to draw; an empty but not inverted rectangle answers true
// (the blitter then draws nothing).
bool ClipBlit(const IntRect& clip, int& x, int& y, IntRect& src);

// The area of HalfFillRect: (l, t, r, b) against clip and against the
// surface (width x height), so the blend never leaves the locked memory.
// Answers false when nothing is left.
bool ClipHalfFill(const IntRect& clip, int surfaceWidth, int surfaceHeight, IntRect& area);

// Every pixel of area = (pixel >> 1 & halfMask) + (colour >> 1 & halfMask).
// pitch is in bytes; area must lie inside the pixels.
void HalfBlendArea(uint8_t* pixels, int32_t pitch, const IntRect& area, uint16_t colour,
                   uint32_t halfMask);

// Horizontal offset of one row of a cosine wave: (int)(amp * cos(term)),
// term = (int)phase + row, or row / div + (int)phase when div is not 0.
int WaveOffset(int amp, int div, float phase, int64_t row);

// phase + elapsed * speed, less 360 once it reaches 360.
float AdvancePhase(float phase, float elapsed, float speed);

// Offset of a scrolling tiling after moving by delta: kept in (-size, 0].
float WrapTileOffset(float offset, float delta, float size);

// Row scroll moved back by delta, kept in [0, height) (height > 0).
float WrapRowScroll(float scroll, float delta, int64_t height);

}  // namespace zo
