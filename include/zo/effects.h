// Software effects: sprite objects mixed into the back surface pixel by
// pixel. Every one answers 1 when it drew (or clipping left nothing to draw)
// and 0 when a surface could not be locked, when the display is not 16 bits
// deep, or when the object number holds no surface. Source pixels of value 0
// are transparent. (x, y) is the destination on the back surface; object
// and (sl, st, sr, sb) the object and its source rectangle, right and
// bottom exclusive. Everything is clipped to ClipRect.
#pragma once

#include <cstdint>

// ---- Blends ----
namespace zoDraw {

// 50 % blend: the channel-wise mean, rounded down.
int DrawHalfBlend(int x, int y, int object, int sl, int st, int sr, int sb);
// Opacity alpha (0..1) per full-width channel.
int DrawAlphaBlend(int x, int y, float alpha, int object, int sl, int st, int sr, int sb);
// Opacity per channel.
int DrawAlphaBlendRGB(int x, int y, float alphaR, float alphaG, float alphaB, int object, int sl, int st,
                      int sr, int sb);
// Opacity rising by 1/32 every `every` rows (vertical) or columns past `start`.
int DrawAlphaGradient(int x, int y, float alphaR, float alphaG, float alphaB, int vertical,
                      uint16_t start, int every, int object, int sl, int st, int sr, int sb);
// Cross-fade in 32 levels: 31 the sprite, 0 the background.
int DrawCrossFade(int x, int y, int level, int object, int sl, int st, int sr, int sb);
// Cross-fade with a level per channel.
int DrawCrossFadeRGB(int x, int y, int levelR, int levelG, int levelB, int object, int sl, int st, int sr,
                     int sb);
// Cross-fade rising one level every `every` rows (vertical) or columns past `start`.
int DrawCrossFadeGradient(int x, int y, int levelR, int levelG, int levelB, int vertical,
                          uint16_t start, int every, int object, int sl, int st, int sr, int sb);
// Saturating additive blend.
int DrawAdd(int x, int y, int object, int sl, int st, int sr, int sb);
// Additive blend with the sprite weakened: level 1 is DrawAdd, 0 adds nothing.
int DrawAddLevel(int x, int y, float level, int object, int sl, int st, int sr, int sb);
// Subtracts the sprite from the background, floor 0.
int DrawSubtract(int x, int y, int object, int sl, int st, int sr, int sb);

}  // namespace zoDraw

// ---- Mirror, smear, distortion and row blits ----
namespace zoDraw {

// Type 0 plain copy, 1 mirrored left-right, 2 top-bottom, 3 both; other
// types draw nothing. Clipping never changes which pixel shows where.
int DrawMirror(int x, int y, int type, int object, int sl, int st, int sr, int sb);
// Stretches column (row) `cut` of the clipped sprite to the right (type 0),
// left (1), down (2) or up (3); 1 and 3 also fill the screen to its edge
// with it, clear pixels included. A cut beyond the object reads its last
// column or row.
int DrawSmear(int x, int y, int type, uint16_t cut, int object, int sl, int st, int sr, int sb);
// Every step-th pixel scattered over a rippled, sheared surface; value 0 is
// drawn too. A step below 1 draws nothing.
int DrawRipple(int x, int y, int amplitude, int frequency, int step, float scale, float shear, int object,
               int sl, int st, int sr, int sb);
// Pulls the background up by the sprite's red channel; strength 0 moves nothing.
int DrawDisplace(int x, int y, float strength, int object, int sl, int st, int sr, int sb);
// Row blits through DrawSprite / DrawSpriteOpaque; they lock nothing.
// Every step-th row after the first, or random gaps of 1..-step rows.
void DrawScanlines(int x, int y, int step, int object, int sl, int st, int sr, int sb);
// Every row shifted sideways by -amplitude .. amplitude - 1.
void DrawJitter(int x, int y, int amplitude, int object, int sl, int st, int sr, int sb);
// Rows spread over a cosine profile that scrolls by speed rows per second,
// forward (direction != 0) or back; one phase shared by every caller.
void DrawWave(int x, int y, int direction, float speed, int object, int sl, int st, int sr, int sb);

// ---- Back-surface region effects ----
// (x, y, w, h): the rectangle of the back surface, clipped to it with the
// neighbours the effect reads. 1 done, 0 the back surface (or, for the
// zooms, object 0) could not be locked. No transparent value.

// Blur that moves the picture up one row, with random breaks.
int ScreenBlurRise(int x, int y, unsigned w, unsigned h);
int ScreenBlurRiseFade(int red, int green, int blue, int x, int y, unsigned w, unsigned h);
// In-place four-neighbour mean; the fading form lowers the flagged channels.
int ScreenSmooth(int x, int y, unsigned w, unsigned h);
int ScreenSmoothFade(int red, int green, int blue, int x, int y, unsigned w, unsigned h);
// 2x / 4x enlargement through object 0, drawn back at (x, y); dotted writes
// only each block's top-left corner and lets the buffer show between.
int ScreenZoom2(int x, int y, unsigned w, unsigned h, int dotted);
int ScreenZoom4(int x, int y, unsigned w, unsigned h, int dotted);
// Square blocks of one colour inside the circle; block below 1 draws nothing.
int ScreenMosaicCircle(int cx, int cy, int radius, int block);
// Grain: 0, 1 or 2 (shifted left by shift) added to every (flagged) channel.
int ScreenNoise(int shift, int x, int y, unsigned w, unsigned h);
int ScreenNoiseRGB(int red, int green, int blue, int shift, int x, int y, unsigned w, unsigned h);

}  // namespace zoDraw

// ---- Colour filters ----
// Each visible sprite pixel is replaced by a filtered one (the soft edge and
// the glow also read the background).
namespace zoDraw {

// Keeps only the channels whose flag is non-zero (none: black).
int DrawChannelMask(int x, int y, int red, int green, int blue, int object, int sl, int st, int sr, int sb);
// Scales every channel by factor; a channel saturates at its maximum, and a
// negative factor counts as 0.
int DrawBrightness(int x, int y, float factor, int object, int sl, int st, int sr, int sb);
int DrawBrightnessRGB(int x, int y, float factorR, float factorG, float factorB, int object, int sl, int st,
                      int sr, int sb);
// Darkens in 32 levels: 31 keeps the colours (at 5-bit precision), 0 is black.
// Levels outside 0..31 are held there.
int DrawDarken(int x, int y, int level, int object, int sl, int st, int sr, int sb);
int DrawDarkenRGB(int x, int y, int levelR, int levelG, int levelB, int object, int sl, int st, int sr,
                  int sb);
// The mean of the three channels in all three.
int DrawGray(int x, int y, int object, int sl, int st, int sr, int sb);
// Mean of a size x size block of the sprite (1..45, and no larger than the
// drawn area; larger sizes are held there, sizes below 1 draw nothing).
int DrawBlur(int x, int y, int size, int object, int sl, int st, int sr, int sb);
// Pixels on the sprite's outline are averaged with the background beside them.
int DrawSoftEdge(int x, int y, int object, int sl, int st, int sr, int sb);
// Light around every visible pixel: its colour dimmed by the shifts, added
// along the rays in directions (0x40 up, 0x20 up-left, 0x80 up-right, 0x02
// down, 0x01 down-left, 0x04 down-right, 0x08 left, 0x10 right), fading by
// one per pixel; copy non-zero draws the sprite too.
int DrawGlow(int x, int y, unsigned shiftR, unsigned shiftG, unsigned shiftB, unsigned directions, int copy,
             int object, int sl, int st, int sr, int sb);

}  // namespace zoDraw

// ---- Rotating and scaling blits ----
// The sprite turned by angle degrees (counter-clockwise on the screen, any
// value) about the centre of the destination rectangle (dl, dt, dr, db),
// which is walked pixel by pixel and clipped to ClipRect. An empty source
// rectangle or an unusable scale (0, infinite, NaN) draws nothing.
namespace zoDraw {

// The sprite centred in the rectangle.
int DrawRotate(int dl, int dt, int dr, int db, int angle, int object, int sl, int st, int sr, int sb);
// The whole rectangle filled with the sprite, mirrored about its centre.
int DrawRotateTile(int dl, int dt, int dr, int db, int angle, int object, int sl, int st, int sr, int sb);
// Scaled by scale and centred.
int DrawRotateZoom(int dl, int dt, int dr, int db, int angle, float scale, int object, int sl, int st, int sr,
                   int sb);
int DrawRotateZoomTile(int dl, int dt, int dr, int db, int angle, float scale, int object, int sl, int st,
                       int sr, int sb);
// A receding floor: tiled, the scales changing by stepX and stepY after every
// row, the colours multiplied by the factors (saturating).
int DrawRotateFloor(int dl, int dt, int dr, int db, int angle, float scaleX, float stepX, float scaleY,
                    float stepY, float factorR, float factorG, float factorB, int object, int sl, int st,
                    int sr, int sb);

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

// Draws texture object `object` through TunnelMap with cell (0, 0) at (x, y):
// scrolling v moves the texture deeper, scrolling u turns it. Every texel
// is copied, 0 included; ClipRect does not apply, but nothing lands outside
// the back surface and nothing is read outside the object. 0 when a surface
// cannot be locked or the object holds none.
int DrawTunnel(int x, int y, int scrollU, int scrollV, int object);

}  // namespace zoDraw
