// SDL2 surfaces over the benchmark's own pixels, so that SDL blits the very
// buffers the kernels draw.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "bench_frame.h"

namespace bench {

inline SDL_Surface* Wrap565(std::vector<uint16_t>& pixels, int width, int height) {
  return SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 16, width * 2,
                                            SDL_PIXELFORMAT_RGB565);
}

// SDL blitting the whole sprite onto the frame, the sprite's blend mode,
// modulation and key chosen by setUp.
template <class SetUp>
void SdlWholeBlit(benchmark::State& state, SetUp setUp) {
  SDL_Surface* src = Wrap565(TheFrame().sprite, W, H);
  SDL_Surface* dst = Wrap565(TheFrame().screen, W, H);
  setUp(src);
  Time(state, [&] { SDL_BlitSurface(src, nullptr, dst, nullptr); });
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

}  // namespace bench
