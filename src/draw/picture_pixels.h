// A decoded picture (32-bit blue, green, red, alpha) made into the rows of
// a 24-bit bitmap, the artist's transparency becoming the colour key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zo {

// Below this alpha a pixel is transparent.
const uint8_t OpaqueAlpha = 128;

// The rows of a top-down 24-bit bitmap (blue, green, red, each row padded
// to four bytes) from width x height BGRA pixels (width * 4 bytes a row).
// A pixel whose alpha is below OpaqueAlpha takes the key colour: keyColour
// (0x00BBGGRR) or, when keyFromTopLeft is set, the colour of the top-left
// pixel as it is stored, so that the key taken from that pixel matches it.
std::vector<uint8_t> PictureToBgrRows(const uint8_t* bgra, uint32_t width, uint32_t height,
                                      bool keyFromTopLeft, uint32_t keyColour);

// The padded length of one 24-bit row.
inline size_t BgrStride(uint32_t width) { return (size_t{width} * 3 + 3) & ~size_t{3}; }

}  // namespace zo
