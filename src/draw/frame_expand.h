// A 5-6-5 frame shown on a deeper screen: every pixel expanded to eight
// bits a channel by bit replication (so white stays white and each 5-6-5
// value has exactly one colour), optionally as a scale x scale block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/effects/effect_frame.h"

namespace zo {

// Where the 8-bit channels of a 24- or 32-bit pixel lie.
struct DeepFormat {
  int bytesPerPixel;                      // 3 or 4
  int redShift, greenShift, blueShift;   // each a multiple of 8 inside the pixel
};

// A locked surface of a deeper format; pitch counts bytes.
struct DeepView {
  uint8_t* bytes;
  std::ptrdiff_t pitch;
  int width, height;
};

// False for layouts the expansion cannot write (8-bit channels must lie on
// byte boundaries inside a 3- or 4-byte pixel).
bool DeepFormatUsable(const DeepFormat& format);

// The format of a surface from its bit count and masks; false when it is
// not one DeepFormatUsable accepts.
bool DeepFormatFromMasks(int bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                         DeepFormat* out);

// One 5-6-5 pixel in the deep format's channel positions (unused bits 0).
uint32_t ExpandPixel565(uint16_t pixel, const DeepFormat& format);

// Writes src (5-6-5) into dst, each pixel as a scale x scale block from the
// top-left corner. Only what fits both views is written: min(src.width,
// dst.width / scale) columns and likewise rows. Scales below 1 write nothing.
void ExpandFrame565(const PixelView& src, const DeepView& dst, const DeepFormat& format, int scale);

}  // namespace zo
