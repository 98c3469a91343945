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

// ---------------------------------------------------------------- colour filters
// Each visible sprite pixel is replaced by a filtered one (the soft edge and
// the glow also read the background).
namespace zoDraw {

// Keeps only the channels whose flag is non-zero (none: black).
int DrawChannelMask(int x, int y, int red, int green, int blue, int obj, int l, int t, int r, int b);
// Scales every channel by factor; a channel saturates at its maximum, and a
// negative factor counts as 0.
int DrawBrightness(int x, int y, float factor, int obj, int l, int t, int r, int b);
int DrawBrightnessRGB(int x, int y, float factorR, float factorG, float factorB, int obj, int l, int t,
                      int r, int b);
// Darkens in 32 levels: 31 keeps the colours (at 5-bit precision), 0 is black.
// Levels outside 0..31 are held there.
int DrawDarken(int x, int y, int level, int obj, int l, int t, int r, int b);
int DrawDarkenRGB(int x, int y, int levelR, int levelG, int levelB, int obj, int l, int t, int r, int b);
// The mean of the three channels in all three.
int DrawGray(int x, int y, int obj, int l, int t, int r, int b);
// Mean of a size x size block of the sprite (1..45, and no larger than the
// drawn area; larger sizes are held there, sizes below 1 draw nothing).
int DrawBlur(int x, int y, int size, int obj, int l, int t, int r, int b);
// Pixels on the sprite's outline are averaged with the background beside them.
int DrawSoftEdge(int x, int y, int obj, int l, int t, int r, int b);
// Light around every visible pixel: its colour dimmed by the shifts, added
// along the rays in directions (0x40 up, 0x20 up-left, 0x80 up-right, 0x02
// down, 0x01 down-left, 0x04 down-right, 0x08 left, 0x10 right), fading by
// one per pixel; copy non-zero draws the sprite too.
int DrawGlow(int x, int y, unsigned shiftR, unsigned shiftG, unsigned shiftB, unsigned directions, int copy,
             int obj, int l, int t, int r, int b);

}  // namespace zoDraw

// ---------------------------------------------------------------- rotations
// The sprite turned by angle degrees (counter-clockwise on the screen, any
// value) about the centre of the destination rectangle (dl, dt, dr, db),
// which is walked pixel by pixel and clipped to ClipRect. An empty source
// rectangle or an unusable scale (0, infinite, NaN) draws nothing.
namespace zoDraw {

// The sprite centred in the rectangle.
int DrawRotate(int dl, int dt, int dr, int db, int angle, int obj, int sl, int st, int sr, int sb);
// The whole rectangle filled with the sprite, mirrored about its centre.
int DrawRotateTile(int dl, int dt, int dr, int db, int angle, int obj, int sl, int st, int sr, int sb);
// Scaled by scale and centred.
int DrawRotateZoom(int dl, int dt, int dr, int db, int angle, float scale, int obj, int sl, int st, int sr,
                   int sb);
int DrawRotateZoomTile(int dl, int dt, int dr, int db, int angle, float scale, int obj, int sl, int st,
                       int sr, int sb);
// A receding floor: tiled, the scales changing by stepX and stepY after every
// row, the colours multiplied by the factors (saturating).
int DrawRotateFloor(int dl, int dt, int dr, int db, int angle, float scaleX, float stepX, float scaleY,
                    float stepY, float factorR, float factorG, float factorB, int obj, int sl, int st,
                    int sr, int sb);

}  // namespace zoDraw
