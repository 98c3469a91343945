// What every sprite effect shares off Windows: plain pixel views and the
// clipping of a source rectangle against ClipRect and the two surfaces.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"

namespace zo {

// The two 16-bit layouts the vector paths know; any other takes the tables.
enum class Layout { k565, k555, Other };
Layout LayoutOf(const PixelLayout& f);

// A locked 16-bit surface; pitch counts pixels.
struct PixelView {
  uint16_t* pixels;
  int pitch;
  int width, height;
};

// Destination point and source rectangle of a sprite effect, as the caller
// gave them; EffectClip rewrites them in place.
struct SpriteClip {
  int x, y;          // destination
  int left, top;     // source
  int width, height;
};

// ClipRect clipping of a sprite effect. False when nothing is left and the
// surfaces need not be locked (width or height below 0); a width or height of
// exactly 0 is true and draws nothing.
bool EffectClip(const IntRect& clip, int x, int y, int left, int top, int right, int bottom,
                SpriteClip* out);

// The part of a clipped sprite that lies inside both surfaces: source pixel
// (srcX + i, srcY + j) meets destination (dstX + i, dstY + j). firstCol and
// firstRow count how many clipped columns and rows were cut before it, so that
// ramps keep their positions.
struct SpriteSpan {
  int srcX, srcY, dstX, dstY;
  int width, height;
  int firstCol, firstRow;
};

// False when the clipped sprite misses either surface.
bool SpanInSurfaces(const SpriteClip& c, const PixelView& src, const PixelView& dst, SpriteSpan* out);

}  // namespace zo
