// What every effect shares off Windows: plain pixel views, the clipping of a
// source rectangle or destination window against ClipRect, and the frames.
// A frame clips first, then asks its lock step (a callable answering 1, or 0
// when a surface cannot be locked) to run the kernel on the two views; the
// library hands in the locked surfaces, the tests plain memory. The region
// effects and the tunnel clip nothing and are the lock step alone.
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

// Destination point and source rectangle as the caller gave them.
struct Placement {
  int x, y, l, t, r, b;
};

// Destination point and source rectangle of a sprite effect after EffectClip.
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

// The columns and rows of a destination rectangle that may be written,
// counted from its top-left corner: startX <= i < endX, startY <= j < endY.
struct RotateWindow {
  int64_t startX, endX, startY, endY;
};

// The window of dest against clip. False when nothing is left and the
// surfaces need not be locked (end before start); an empty window that is
// not inverted is true and draws nothing.
bool WindowClip(const IntRect& clip, const IntRect& dest, RotateWindow* out);

// The lock step over surfaces that are plain memory already.
struct OpenViews {
  PixelView src, dst;
  template <class Body>
  int operator()(Body body) const {
    body(src, dst);
    return 1;
  }
};

// Sprite frame (blends, filters): kernel(src, dst, span) over the clipped
// sprite inside both surfaces.
template <class Lock, class Kernel>
int SpriteFrame(const IntRect& clip, const Placement& p, const Lock& lock, Kernel kernel) {
  SpriteClip c;
  if (!EffectClip(clip, p.x, p.y, p.l, p.t, p.r, p.b, &c)) return 1;
  return lock([&](const PixelView& src, const PixelView& dst) {
    SpriteSpan span;
    if (SpanInSurfaces(c, src, dst, &span)) kernel(src, dst, span);
  });
}

// Placed frame (mirror, smear, ripple, displacement): kernel(src, dst, clip)
// keeps the placement as given, because those pixels do not simply meet the
// destination one to one.
template <class Lock, class Kernel>
int PlacedFrame(const IntRect& clip, const Placement& p, const Lock& lock, Kernel kernel) {
  SpriteClip c;
  if (!EffectClip(clip, p.x, p.y, p.l, p.t, p.r, p.b, &c)) return 1;
  return lock([&](const PixelView& src, const PixelView& dst) { kernel(src, dst, c); });
}

// Destination window frame (rotation): kernel(src, dst, window) over the part
// of dest that clip leaves; a call that cannot draw locks nothing.
template <class Lock, class Kernel>
int WindowFrame(const IntRect& clip, const IntRect& dest, bool drawable, const Lock& lock, Kernel kernel) {
  RotateWindow window;
  if (!WindowClip(clip, dest, &window) || !drawable) return 1;
  return lock([&](const PixelView& src, const PixelView& dst) { kernel(src, dst, window); });
}

}  // namespace zo
