// Pixel work of the colour-filter blits: a sprite span drawn through a filter
// into the back surface. Source value 0 is transparent (nothing written).
// The 5-bit filters compute their table rules eight pixels at a time (sixteen
// in the AVX2 form) on the two 16-bit layouts and look the tables up on any
// other.
#pragma once

#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "zo/draw_state.h"

namespace zo {

// One parameter record for every kernel of the family. The span is the drawn
// area: its columns and rows are the positions the blur, the soft edge and
// the glow count from.
struct FilterJob {
  PixelView src, dst;  // whole locked surfaces
  SpriteSpan span;     // inside both
  PixelLayout format;
  IntRect clip;        // where the glow's light may land
};

// s & mask for every visible s.
void ChannelMaskKernel(const FilterJob& job, uint16_t mask);
// The in-place masks of the channels whose flag is non-zero.
uint16_t ChannelMaskOf(const PixelLayout& f, int red, int green, int blue);

// Per full-width channel trunc(c * factor), saturating at the channel's
// maximum; a negative or NaN factor counts as 0.
void BrightnessKernel(const FilterJob& job, const float factor[3]);

// Per 5-bit channel SubTable[ch][c][31 - level]; levels held to 0..31.
void DarkenKernel(const FilterJob& job, const int level[3]);

// GrayTable[r + g + b] in all three 5-bit channels.
void GrayKernel(const FilterJob& job);

// Mean of the size x size block of source pixels, the block moved left and
// up at the right and bottom edges of the drawn area. Sizes below 1 draw
// nothing; larger ones are held to BlurSizeFor.
void BlurKernel(const FilterJob& job, int size);
// The largest size that fits the drawn area and the 16-bit sums.
int BlurSizeFor(int size, int width, int height);
const int MaxBlurSize = 45;

// Visible pixels beside a transparent one of the sprite take the mean of
// themselves and the background under those neighbours.
void SoftEdgeKernel(const FilterJob& job);

// Light around every visible pixel along the chosen rays, fading by one per
// pixel; cursor is the glow's own NoiseTable position, kept by the caller.
struct Glow {
  unsigned shift[3];   // red, green, blue: how far the sprite's colour is dimmed
  unsigned directions; // bit set of the rays
  int copy;            // non-zero: the sprite itself is drawn too
};
void GlowKernel(const FilterJob& job, const Glow& glow, int& cursor);
// The glow's noise read: returns to entry 0 after the last one.
int ReadGlowNoise(int& cursor);

// Holds a brightness or colour factor to what the rule can use: negative and
// NaN become 0 (results above a channel's maximum saturate separately).
float HoldFactor(float factor);

// The AVX2 forms (filter_kernels_avx2.cpp), which the kernels above call
// themselves when ActiveSimdForm() says AVX2.
// Brightness's tables: every value of each channel, scaled and put in
// place, and where each channel lies in a pixel.
struct BrightnessTables {
  const uint16_t* table[3];
  int shift[3];
  uint32_t max[3];
  uint16_t Pixel(uint32_t p) const {
    return uint16_t(table[0][(p >> shift[0]) & max[0]] | table[1][(p >> shift[1]) & max[1]] |
                    table[2][(p >> shift[2]) & max[2]]);
  }
};

namespace avx2 {
// With tables of at most 64 entries each.
void BrightnessKernel(const FilterJob& job, const BrightnessTables& tables);
void DarkenKernel(const FilterJob& job, const int level[3]);
void GrayKernel(const FilterJob& job);
void ChannelMaskKernel(const FilterJob& job, uint16_t mask);
void BlurKernel(const FilterJob& job, int size);
void SoftEdgeKernel(const FilterJob& job);
}  // namespace avx2

}  // namespace zo
