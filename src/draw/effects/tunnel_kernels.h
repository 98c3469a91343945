// The tunnel map's arithmetic: the cells' texture coordinates from a centre,
// a distance measure and a depth formula, and the per-frame texel walk that
// draws a texture through them.
#pragma once

#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "zo/tunnel_state.h"

namespace zo {

// Largest texture side: every coordinate must fit a cell's int16.
const int MaxTunnelTexture = 32768;

// The build's arguments as zoDraw::BuildTunnelMap takes them; -1 for the
// centre means the middle of the grid, -1 for fov means 8.
struct TunnelShape {
  int texWidth, texHeight;
  int mapWidth, mapHeight;
  int centreX, centreY;
  int fov;
  int motion;        // 1 up from the bottom, 2 mirrored, 3 left, 4 right, else fixed
  int distanceKind;  // 0 round .. 6 the centre's column; others keep the previous cell's
  int depthKind;     // 0 flat .. 5; others keep the previous cell's
};

// Why a shape cannot be built (a message for the error report), or null.
const char* TunnelShapeRefusal(const TunnelShape& shape);

// Fills map from shape; false, and map untouched, when the shape is refused.
bool BuildTunnelCells(const TunnelShape& shape, TunnelGrid* map);

// The non-negative remainder of value by n (n >= 1).
inline int WrapIndex(int64_t value, int n) {
  const int64_t r = value % n;
  return int(r < 0 ? r + n : r);
}

// One parameter record for the draw.
struct TunnelJob {
  PixelView texture, dst;  // whole locked surfaces
  const TunnelGrid* map;
  int x, y;                // where cell (0, 0) lands
  int scrollU, scrollV;
};

// dst(x + j, y + i) = texture((scrollU + u) mod texWidth, (scrollV + v) mod
// texHeight) for every cell, 0 copied like any colour. Cells that land off
// dst, and texels beyond the texture surface, are left out.
void TunnelKernel(const TunnelJob& job);

}  // namespace zo
