// Pixel work of the effects that rework a rectangle of the back surface in
// place: the rising blur, smoothing, 2x and 4x zooms into the buffer
// object, a mosaic inside a circle and grain. Each clips its rectangle,
// with the neighbour rows and columns it reads, to the surface; inside it
// the rules hold exactly.
#pragma once

#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "zo/draw_state.h"

namespace zo {

// One parameter record for every kernel of the family.
struct RegionJob {
  PixelView screen;  // the locked back surface
  int x, y;          // the rectangle as the caller gave it
  uint32_t w, h;
  PixelLayout format;
};

// What the rising blur keeps between calls: its run counter and its
// NoiseTable cursor. The grain keeps only a cursor.
struct NoiseRun {
  int counter = 0;
  int cursor = 0;
};

// Channels a fading form lowers by one (red, green, blue; 0 leaves it).
struct Channels {
  int red, green, blue;
};

// Every inner pixel replaced, in place and in row order, by the mean of its
// four neighbours, faded in the flagged channels.
void SmoothKernel(const RegionJob& job, const Channels& fade);

// Every inner pixel's (faded) four-neighbour mean, or the pixel itself when
// the run counter reaches the noise entry, written one row up.
void BlurRiseKernel(const RegionJob& job, const Channels& fade, NoiseRun& run);

// Each rectangle pixel into the factor x factor block at (f*i, f*j) of the
// buffer; dotted writes only its top-left pixel (f 2) or 2 x 2 pixels (f 4).
void ZoomKernel(const RegionJob& job, const PixelView& buffer, int factor, int dotted);

// Width and height of the buffer rectangle the zoom's final blit copies:
// factor * w by factor * h, no more than the buffer holds.
void ZoomBlitSize(uint32_t w, uint32_t h, int factor, const PixelView& buffer, int* width, int* height);

// Square blocks of block x block pixels anchored at the circle's bounding
// box, each of its top-left colour, inside the circle. screenWidth and
// screenHeight bound the box as the display's size; block below 1 draws
// nothing.
void MosaicCircleKernel(const PixelView& screen, int screenWidth, int screenHeight, int cx, int cy,
                        int radius, int block);

// Adds the next noise entry, shifted left by shift, to each flagged 5-bit
// component, saturating at 31, and recomposes the pixel.
void NoiseKernel(const RegionJob& job, const Channels& add, int shift, int& cursor);

// The AVX2 forms (region_kernels_avx2.cpp), which the kernels above call
// themselves when ActiveSimdForm() says AVX2.
namespace avx2 {
void SmoothKernel(const RegionJob& job, const Channels& fade);
void BlurRiseKernel(const RegionJob& job, const Channels& fade, NoiseRun& run);
void ZoomKernel(const RegionJob& job, const PixelView& buffer, int factor, int dotted);
void MosaicCircleKernel(const PixelView& screen, int screenWidth, int screenHeight, int cx, int cy, int radius,
                        int block);
void NoiseKernel(const RegionJob& job, const Channels& add, int shift, int& cursor);
}  // namespace avx2

}  // namespace zo
