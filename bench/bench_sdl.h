// SDL2 surfaces over the benchmark's own pixels, so that SDL blits the very
// buffers the kernels draw.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace bench {

inline SDL_Surface* Wrap565(std::vector<uint16_t>& pixels, int width, int height) {
  return SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 16, width * 2,
                                            SDL_PIXELFORMAT_RGB565);
}

}  // namespace bench
