// The colour-filter kernels on a 640 x 480 5-6-5 frame with a sprite of about
// half transparent pixels, beside SDL2, OpenCV and memcpy doing comparable work.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/effects/filter_kernels.h"

namespace {

const int W = 640, H = 480;
const PixelLayout k565 = DerivePixelLayout(0xF800, 0x07E0, 0x001F);

// A sprite of opaque and clear runs (1 to 64 pixels), about half clear, and a
// frame of random colours. The same data for every contender.
struct Frame {
  std::vector<uint16_t> sprite, screen;
  cv::Mat bgr;  // the sprite as 8-bit BGR for OpenCV's blur
  Frame() : sprite(W * H), screen(W * H) {
    std::mt19937 rng(640480);
    for (int y = 0; y < H; ++y) {
      int x = 0;
      bool clear = rng() % 2;
      while (x < W) {
        const int run = 1 + int(rng() % 64);
        for (int i = 0; i < run && x < W; ++i, ++x)
          sprite[y * W + x] = clear ? 0 : uint16_t(1 + rng() % 0xFFFF);
        clear = !clear;
      }
    }
    for (auto& p : screen) p = uint16_t(rng());
    cv::Mat packed(H, W, CV_8UC2, sprite.data());
    cv::cvtColor(packed, bgr, cv::COLOR_BGR5652BGR);
    zo::SeedMsvcrtRandom(1);
    zo::BuildEffectTables(k565, zo::MsvcrtRandom);
    cv::setNumThreads(1);
  }
  zo::FilterJob Job() {
    zo::FilterJob job;
    job.src = zo::PixelView{sprite.data(), W, W, H};
    job.dst = zo::PixelView{screen.data(), W, W, H};
    job.span = zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0};
    job.format = k565;
    job.clip = IntRect{0, 0, W, H};
    return job;
  }
};

Frame& TheFrame() {
  static Frame f;
  return f;
}

void Count(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * int64_t(W) * H); }

template <class F>
void Run(benchmark::State& state, F kernel) {
  zo::FilterJob job = TheFrame().Job();
  for (auto _ : state) {
    kernel(job);
    benchmark::DoNotOptimize(job.dst.pixels[0]);
    benchmark::ClobberMemory();
  }
  Count(state);
}

void Brightness(benchmark::State& s) {
  const float k[3] = {0.6f, 0.6f, 0.6f};
  Run(s, [&](const zo::FilterJob& j) { zo::BrightnessKernel(j, k); });
}
void BrightnessRGB(benchmark::State& s) {
  const float k[3] = {0.4f, 0.6f, 0.8f};
  Run(s, [&](const zo::FilterJob& j) { zo::BrightnessKernel(j, k); });
}
void Darken(benchmark::State& s) {
  const int v[3] = {16, 16, 16};
  Run(s, [&](const zo::FilterJob& j) { zo::DarkenKernel(j, v); });
}
void DarkenRGB(benchmark::State& s) {
  const int v[3] = {8, 16, 24};
  Run(s, [&](const zo::FilterJob& j) { zo::DarkenKernel(j, v); });
}
void Gray(benchmark::State& s) { Run(s, [](const zo::FilterJob& j) { zo::GrayKernel(j); }); }
void Blur3(benchmark::State& s) { Run(s, [](const zo::FilterJob& j) { zo::BlurKernel(j, 3); }); }
void Blur9(benchmark::State& s) { Run(s, [](const zo::FilterJob& j) { zo::BlurKernel(j, 9); }); }
void ChannelMask(benchmark::State& s) {
  const uint16_t m = zo::ChannelMaskOf(k565, 1, 0, 1);
  Run(s, [&](const zo::FilterJob& j) { zo::ChannelMaskKernel(j, m); });
}
void SoftEdge(benchmark::State& s) { Run(s, [](const zo::FilterJob& j) { zo::SoftEdgeKernel(j); }); }
void GlowFour(benchmark::State& s) {
  int cursor = 0;
  const zo::Glow glow{{1, 1, 1}, 0x0F, 1};
  Run(s, [&](const zo::FilterJob& j) { zo::GlowKernel(j, glow, cursor); });
}
void GlowEight(benchmark::State& s) {
  int cursor = 0;
  const zo::Glow glow{{1, 1, 1}, 0xFF, 1};
  Run(s, [&](const zo::FilterJob& j) { zo::GlowKernel(j, glow, cursor); });
}

BENCHMARK(Brightness);
BENCHMARK(BrightnessRGB);
BENCHMARK(Darken);
BENCHMARK(DarkenRGB);
BENCHMARK(Gray);
BENCHMARK(Blur3);
BENCHMARK(Blur9);
BENCHMARK(ChannelMask);
BENCHMARK(SoftEdge);
BENCHMARK(GlowFour);
BENCHMARK(GlowEight);

// ---------------------------------------------------------------- anchors

SDL_Surface* Wrap(std::vector<uint16_t>& pixels) {
  return SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), W, H, 16, W * 2, SDL_PIXELFORMAT_RGB565);
}

// SDL's colour-modulated blit, the nearest it has to a brightness filter;
// keyed skips the clear pixels as ours do.
void SdlColorMod(benchmark::State& state, Uint8 r, Uint8 g, Uint8 b, bool key) {
  Frame& f = TheFrame();
  SDL_Surface* src = Wrap(f.sprite);
  SDL_Surface* dst = Wrap(f.screen);
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  SDL_SetSurfaceColorMod(src, r, g, b);
  if (key) SDL_SetColorKey(src, SDL_TRUE, 0);
  for (auto _ : state) {
    SDL_BlitSurface(src, nullptr, dst, nullptr);
    benchmark::ClobberMemory();
  }
  Count(state);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}
void SdlColorModKeyed(benchmark::State& s) { SdlColorMod(s, 153, 153, 153, true); }
void SdlColorModUnkeyed(benchmark::State& s) { SdlColorMod(s, 153, 153, 153, false); }
void SdlColorModRGBKeyed(benchmark::State& s) { SdlColorMod(s, 102, 153, 204, true); }

void CvGray(benchmark::State& state) {
  Frame& f = TheFrame();
  cv::Mat packed(H, W, CV_8UC2, f.sprite.data()), gray(H, W, CV_8UC1);
  for (auto _ : state) {
    cv::cvtColor(packed, gray, cv::COLOR_BGR5652GRAY);
    benchmark::ClobberMemory();
  }
  Count(state);
}

void CvBlur(benchmark::State& state, int size) {
  Frame& f = TheFrame();
  cv::Mat out(H, W, CV_8UC3);
  for (auto _ : state) {
    cv::blur(f.bgr, out, cv::Size(size, size));
    benchmark::ClobberMemory();
  }
  Count(state);
}
void CvBlur3(benchmark::State& s) { CvBlur(s, 3); }
void CvBlur9(benchmark::State& s) { CvBlur(s, 9); }

void Memcpy(benchmark::State& state) {
  Frame& f = TheFrame();
  std::vector<uint16_t> copy(W * H);
  for (auto _ : state) {
    std::memcpy(copy.data(), f.screen.data(), W * H * 2);
    benchmark::ClobberMemory();
  }
  Count(state);
}

BENCHMARK(SdlColorModKeyed);
BENCHMARK(SdlColorModUnkeyed);
BENCHMARK(SdlColorModRGBKeyed);
BENCHMARK(CvGray);
BENCHMARK(CvBlur3);
BENCHMARK(CvBlur9);
BENCHMARK(Memcpy);

}  // namespace

BENCHMARK_MAIN();
