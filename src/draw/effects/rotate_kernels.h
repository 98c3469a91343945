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

}  // namespace zo
