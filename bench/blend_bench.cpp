// Every blend kernel of the effect catalogue on a 640 x 480 5-6-5 frame with
// a sprite of about half transparent pixels, beside SDL2, pixman and memcpy
// doing comparable work.
#include <benchmark/benchmark.h>

#include <pixman.h>

#include "bench_kernels.h"
#include "bench_sdl.h"

namespace {

using bench::H;
using bench::W;

const bool registered = bench::RegisterKernels("blend");

// ---------------------------------------------------------------- anchors

// SDL's surface-alpha blit; with key the clear pixels are skipped as ours
// are, without it SDL takes its fastest path and blends every pixel.
void SdlAlpha(benchmark::State& state, int alpha, bool key) {
  bench::SdlWholeBlit(state, [&](SDL_Surface* src) {
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(src, Uint8(alpha));
    if (key) SDL_SetColorKey(src, SDL_TRUE, 0);
  });
}
void SdlHalfAlpha(benchmark::State& s) { SdlAlpha(s, 128, false); }
void SdlHalfAlphaKeyed(benchmark::State& s) { SdlAlpha(s, 128, true); }
void SdlAlpha77(benchmark::State& s) { SdlAlpha(s, 77, false); }
void SdlAlpha77Keyed(benchmark::State& s) { SdlAlpha(s, 77, true); }

void Pixman(benchmark::State& state, pixman_op_t op, bool halfMask) {
  bench::Frame& f = bench::TheFrame();
  pixman_image_t* src =
      pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(f.sprite.data()), W * 2);
  pixman_image_t* dst =
      pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(f.screen.data()), W * 2);
  const pixman_color_t half = {0, 0, 0, 0x8000};
  pixman_image_t* mask = halfMask ? pixman_image_create_solid_fill(&half) : nullptr;
  for (auto _ : state) {
    pixman_image_composite(op, src, mask, dst, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dst);
}
void PixmanAdd(benchmark::State& s) { Pixman(s, PIXMAN_OP_ADD, false); }
void PixmanOverHalfMask(benchmark::State& s) { Pixman(s, PIXMAN_OP_OVER, true); }

BENCHMARK(SdlHalfAlpha);
BENCHMARK(SdlHalfAlphaKeyed);
BENCHMARK(SdlAlpha77);
BENCHMARK(SdlAlpha77Keyed);
BENCHMARK(PixmanAdd);
BENCHMARK(PixmanOverHalfMask);
BENCHMARK(bench::Memcpy)->Name("Memcpy");

}  // namespace

BENCHMARK_MAIN();
