// Shrinks a double-size line of sprite text into screen-size pixels: a 3 x 3
// ink filter whose edge pixels mix with the back surface underneath.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"

namespace zo {

template <typename Pixel>
struct SurfaceView {
  Pixel* pixels;
  int pitch;  // in pixels
  int width, height;
  Pixel& at(int x, int y) const { return pixels[static_cast<long>(y) * pitch + x]; }
};

// Where the three channels sit and how wide they are.
struct InkChannels {
  int shift[3];
  uint32_t max;  // 31 for 5-bit fields, 255 for 8-bit ones
};

// From buffer (double size, line at (sx, sy) of width2 x height2) into font
// at (dx, dy), blending with back. Clipped to clip and to all three surfaces.
void AntialiasLine16(const SurfaceView<const uint16_t>& buffer, const SurfaceView<uint16_t>& font,
                     const SurfaceView<const uint16_t>& back, const InkChannels& ch, int dx,
                     int dy, int sx, int sy, int width2, int height2, const IntRect& clip);
void AntialiasLine32(const SurfaceView<const uint32_t>& buffer, const SurfaceView<uint32_t>& font,
                     const SurfaceView<const uint32_t>& back, const InkChannels& ch, int dx,
                     int dy, int sx, int sy, int width2, int height2, const IntRect& clip);

}  // namespace zo
