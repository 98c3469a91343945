// Every blend kernel on a 640 x 480 5-6-5 frame with a sprite of about half
// transparent pixels, beside SDL2, pixman and memcpy doing comparable work.
#include <benchmark/benchmark.h>

#include <pixman.h>

#include "bench_frame.h"
#include "bench_sdl.h"
#include "draw/effects/blend_kernels.h"

namespace {

using bench::H;
using bench::W;

zo::BlendJob Job() {
  bench::Frame& f = bench::TheFrame();
  zo::BlendJob job;
  job.src = f.Sprite();
  job.dst = f.Screen();
  job.span = zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0};
  job.format = bench::k565;
  return job;
}

template <class F>
void Run(benchmark::State& state, F kernel) {
  const zo::BlendJob job = Job();
  bench::Time(state, [&] { kernel(job); });
}

void HalfBlend(benchmark::State& s) { Run(s, [](const zo::BlendJob& j) { zo::HalfBlendKernel(j); }); }
void AlphaBlend(benchmark::State& s) {
  const float a[3] = {0.3f, 0.3f, 0.3f};
  Run(s, [&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, a); });
}
void AlphaBlendRGB(benchmark::State& s) {
  const float a[3] = {0.2f, 0.5f, 0.8f};
  Run(s, [&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, a); });
}
void AlphaGradientVertical(benchmark::State& s) {
  const float a[3] = {0.1f, 0.2f, 0.3f};
  Run(s, [&](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, a, zo::Ramp{1, 20, 4}); });
}
void AlphaGradientHorizontal(benchmark::State& s) {
  const float a[3] = {0.1f, 0.2f, 0.3f};
  Run(s, [&](const zo::BlendJob& j) { zo::AlphaGradientKernel(j, a, zo::Ramp{0, 20, 4}); });
}
void CrossFade(benchmark::State& s) {
  const int v[3] = {16, 16, 16};
  Run(s, [&](const zo::BlendJob& j) { zo::CrossFadeKernel(j, v); });
}
void CrossFadeRGB(benchmark::State& s) {
  const int v[3] = {8, 16, 24};
  Run(s, [&](const zo::BlendJob& j) { zo::CrossFadeKernel(j, v); });
}
void CrossFadeGradientVertical(benchmark::State& s) {
  const int v[3] = {4, 8, 12};
  Run(s, [&](const zo::BlendJob& j) { zo::CrossFadeGradientKernel(j, v, zo::Ramp{1, 20, 4}); });
}
void CrossFadeGradientHorizontal(benchmark::State& s) {
  const int v[3] = {4, 8, 12};
  Run(s, [&](const zo::BlendJob& j) { zo::CrossFadeGradientKernel(j, v, zo::Ramp{0, 20, 4}); });
}
void Add(benchmark::State& s) { Run(s, [](const zo::BlendJob& j) { zo::AddKernel(j, 0); }); }
void AddLevel(benchmark::State& s) {
  const int k = zo::AddLevelToK(0.6f);
  Run(s, [&](const zo::BlendJob& j) { zo::AddKernel(j, k); });
}
void Subtract(benchmark::State& s) { Run(s, [](const zo::BlendJob& j) { zo::SubtractKernel(j); }); }

BENCHMARK(HalfBlend);
BENCHMARK(AlphaBlend);
BENCHMARK(AlphaBlendRGB);
BENCHMARK(AlphaGradientVertical);
BENCHMARK(AlphaGradientHorizontal);
BENCHMARK(CrossFade);
BENCHMARK(CrossFadeRGB);
BENCHMARK(CrossFadeGradientVertical);
BENCHMARK(CrossFadeGradientHorizontal);
BENCHMARK(Add);
BENCHMARK(AddLevel);
BENCHMARK(Subtract);

// ---------------------------------------------------------------- anchors

// SDL's surface-alpha blit; with key the clear pixels are skipped as ours
// are, without it SDL takes its fastest path and blends every pixel.
void SdlAlpha(benchmark::State& state, int alpha, bool key) {
  bench::Frame& f = bench::TheFrame();
  SDL_Surface* src = bench::Wrap565(f.sprite, W, H);
  SDL_Surface* dst = bench::Wrap565(f.screen, W, H);
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_BLEND);
  SDL_SetSurfaceAlphaMod(src, Uint8(alpha));
  if (key) SDL_SetColorKey(src, SDL_TRUE, 0);
  for (auto _ : state) {
    SDL_BlitSurface(src, nullptr, dst, nullptr);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
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
