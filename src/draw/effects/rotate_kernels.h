// Pixel work of the rotating and scaling blits: every pixel of a destination
// rectangle mapped back into the source with fixed-point steps from
// SineTable. They clip against a destination window instead of moving the
// source rectangle.
#pragma once

#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "zo/draw_state.h"

namespace zo {

enum class RotateForm { Plain, Tile, Zoom, ZoomTile, Floor };

// What the caller asked for, before any clipping.
struct RotateCall {
  RotateForm form;
  int dl, dt, dr, db;   // destination rectangle, right and bottom exclusive
  int angle;            // degrees, any value
  float scale;          // Zoom and ZoomTile
  float scaleX, stepX, scaleY, stepY;  // Floor: scales and their change per row
  float factor[3];      // Floor: colour factors, red, green, blue
  int sl, st, sr, sb;   // source rectangle in the object
};

// WindowClip of the call's destination rectangle.
bool RotateClip(const IntRect& clip, const RotateCall& call, RotateWindow* out);

// False when the call cannot draw anything whatever the surfaces hold: an
// empty source rectangle, or a scale that is 0 or not finite.
bool RotateDrawable(const RotateCall& call);

// The angle reduced to 0..359.
int ReduceAngle(int angle);

// One parameter record for every form.
struct RotateJob {
  PixelView src, dst;  // whole locked surfaces
  PixelLayout format;
  RotateCall call;
  RotateWindow window;
};

// Draws the call; reads stay inside src and writes inside dst.
void RotateKernel(const RotateJob& job);

namespace avx2 {
// The AVX2 form of the unshaded walk along one row (rotate_kernels_avx2.cpp):
// destination pixel i shows the source pixel at offset cols[(au + i * du) >>
// ku] + rows[(av + i * dv) >> kv], none when either is negative or the pixel
// is 0. The tables hold 8 readable entries past the last index the sums
// reach. Draws whole steps of sixteen and answers how many pixels it drew.
int64_t RotateWalk(uint16_t* d, const uint16_t* src, const int32_t* cols, const int32_t* rows, int64_t au,
                   int64_t du, int ku, int64_t av, int64_t dv, int kv, int64_t n);
}  // namespace avx2

}  // namespace zo
