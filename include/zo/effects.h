// Software effects: sprite objects mixed into the back surface pixel by
// pixel. Every one answers 1 when it drew (or clipping left nothing to draw)
// and 0 when a surface could not be locked, when the display is not 16 bits
// deep, or when the object number holds no surface. Source pixels of value 0
// are transparent. (x, y) is the destination on the back surface; obj and
// (l, t, r, b) the object and its source rectangle, right and bottom
// exclusive. Everything is clipped to ClipRect.
#pragma once

#include <cstdint>

namespace zoDraw {

// 50 % blend: the channel-wise mean, rounded down.
int DrawHalfBlend(int x, int y, int obj, int l, int t, int r, int b);
// Opacity alpha (0..1) per full-width channel.
int DrawAlphaBlend(int x, int y, float alpha, int obj, int l, int t, int r, int b);
// Opacity per channel.
int DrawAlphaBlendRGB(int x, int y, float alphaR, float alphaG, float alphaB, int obj, int l, int t,
                      int r, int b);
// Opacity rising by 1/32 every `every` rows (vertical) or columns past `start`.
int DrawAlphaGradient(int x, int y, float alphaR, float alphaG, float alphaB, int vertical,
                      uint16_t start, int every, int obj, int l, int t, int r, int b);
// Cross-fade in 32 levels: 31 the sprite, 0 the background.
int DrawCrossFade(int x, int y, int level, int obj, int l, int t, int r, int b);
// Cross-fade with a level per channel.
int DrawCrossFadeRGB(int x, int y, int levelR, int levelG, int levelB, int obj, int l, int t, int r,
                     int b);
// Cross-fade rising one level every `every` rows (vertical) or columns past `start`.
int DrawCrossFadeGradient(int x, int y, int levelR, int levelG, int levelB, int vertical,
                          uint16_t start, int every, int obj, int l, int t, int r, int b);
// Saturating additive blend.
int DrawAdd(int x, int y, int obj, int l, int t, int r, int b);
// Additive blend with the sprite weakened: level 1 is DrawAdd, 0 adds nothing.
int DrawAddLevel(int x, int y, float level, int obj, int l, int t, int r, int b);
// Subtracts the sprite from the background, floor 0.
int DrawSubtract(int x, int y, int obj, int l, int t, int r, int b);

}  // namespace zoDraw

// ---- Tunnel map ----
#include "zo/tunnel_state.h"

namespace zoDraw {

// Fills TunnelMap for a mapWidth x mapHeight grid looking at a texWidth x
// texHeight texture: u is the angle about the centre, v a depth from one of
// the distance kinds (0 round, 1 square, 2 diamond, 3 cross, 4 columns,
// 5 rows, 6 the centre's column) and depth kinds (0 flat, 1 by row, 2 by
// column, 3 square, 4 diamond, 5 cross). centre -1 is the grid's middle,
// fov -1 is 8 (at least 2). motion 1 walks the centre up from the bottom
// row by row, 2 mirrors it along each row, 3 walks it left, 4 right. Grids
// above MaxTunnelCells, and textures below 1 or above 32768 pixels a side,
// are refused with an error report and nothing built.
void BuildTunnelMap(int texWidth, int texHeight, int mapWidth, int mapHeight, int centreX,
                    int centreY, int fov, int motion, int distanceKind, int depthKind);

// Draws texture object obj through TunnelMap with cell (0, 0) at (x, y):
// scrolling v moves the texture deeper, scrolling u turns it. Every texel
// is copied, 0 included; ClipRect does not apply, but nothing lands outside
// the back surface and nothing is read outside the object. 0 when a surface
// cannot be locked or obj holds none.
int DrawTunnel(int x, int y, int scrollU, int scrollV, int obj);

}  // namespace zoDraw
