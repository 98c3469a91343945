#include "draw/picture_pixels.h"

namespace zo {

std::vector<uint8_t> PictureToBgrRows(const uint8_t* bgra, uint32_t width, uint32_t height,
                                      bool keyFromTopLeft, uint32_t keyColour) {
  const size_t stride = BgrStride(width);
  std::vector<uint8_t> rows(stride * height, 0);
  if (width == 0 || height == 0) return rows;
  uint8_t key[3] = {static_cast<uint8_t>(keyColour >> 16), static_cast<uint8_t>(keyColour >> 8),
                    static_cast<uint8_t>(keyColour)};
  if (keyFromTopLeft) {
    key[0] = bgra[0];
    key[1] = bgra[1];
    key[2] = bgra[2];
  }
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* from = bgra + size_t{y} * width * 4;
    uint8_t* to = rows.data() + y * stride;
    for (uint32_t x = 0; x < width; ++x, from += 4, to += 3) {
      const uint8_t* colour = from[3] < OpaqueAlpha ? key : from;
      to[0] = colour[0];
      to[1] = colour[1];
      to[2] = colour[2];
    }
  }
  return rows;
}

}  // namespace zo
