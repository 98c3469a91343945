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

// ---- Mirror, smear, distortion and row blits ----
namespace zoDraw {

// Type 0 plain copy, 1 mirrored left-right, 2 top-bottom, 3 both; other
// types draw nothing. Clipping never changes which pixel shows where.
int DrawMirror(int x, int y, int type, int obj, int l, int t, int r, int b);
// Stretches column (row) `cut` of the clipped sprite to the right (type 0),
// left (1), down (2) or up (3); 1 and 3 also fill the screen to its edge
// with it, clear pixels included. A cut beyond the object reads its last
// column or row.
int DrawSmear(int x, int y, int type, uint16_t cut, int obj, int l, int t, int r, int b);
// Every step-th pixel scattered over a rippled, sheared surface; value 0 is
// drawn too. A step below 1 draws nothing.
int DrawRipple(int x, int y, int amplitude, int frequency, int step, float scale, float shear, int obj,
               int l, int t, int r, int b);
// Pulls the background up by the sprite's red channel; strength 0 moves nothing.
int DrawDisplace(int x, int y, float strength, int obj, int l, int t, int r, int b);
// Row blits through DrawSprite / DrawSpriteOpaque; they lock nothing.
// Every step-th row after the first, or random gaps of 1..-step rows.
void DrawScanlines(int x, int y, int step, int obj, int l, int t, int r, int b);
// Every row shifted sideways by -amplitude .. amplitude - 1.
void DrawJitter(int x, int y, int amplitude, int obj, int l, int t, int r, int b);
// Rows spread over a cosine profile that scrolls by speed rows per second,
// forward (direction != 0) or back; one phase shared by every caller.
void DrawWave(int x, int y, int direction, float speed, int obj, int l, int t, int r, int b);

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
