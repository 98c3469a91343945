// The colour-filter kernels on a 640 x 480 5-6-5 frame with a sprite of about
// half transparent pixels, beside SDL2, OpenCV and memcpy doing comparable work.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench_frame.h"
#include "bench_sdl.h"
#include "draw/effects/filter_kernels.h"

namespace {

using bench::H;
using bench::W;

const bool oneThread = (cv::setNumThreads(1), true);

zo::FilterJob Job() {
  bench::Frame& f = bench::TheFrame();
  zo::FilterJob job;
  job.src = f.Sprite();
  job.dst = f.Screen();
  job.span = zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0};
  job.format = bench::k565;
  job.clip = IntRect{0, 0, W, H};
  return job;
}

// The sprite as 8-bit BGR, for OpenCV's blur.
const cv::Mat& SpriteBgr() {
  static cv::Mat bgr = [] {
    cv::Mat packed(H, W, CV_8UC2, bench::TheFrame().sprite.data()), out;
    cv::cvtColor(packed, out, cv::COLOR_BGR5652BGR);
    return out;
  }();
  return bgr;
}

template <class F>
void Run(benchmark::State& state, F kernel) {
  const zo::FilterJob job = Job();
  bench::Time(state, [&] { kernel(job); });
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
  const uint16_t m = zo::ChannelMaskOf(bench::k565, 1, 0, 1);
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

// SDL's colour-modulated blit, the nearest it has to a brightness filter;
// keyed skips the clear pixels as ours do.
void SdlColorMod(benchmark::State& state, Uint8 r, Uint8 g, Uint8 b, bool key) {
  bench::Frame& f = bench::TheFrame();
  SDL_Surface* src = bench::Wrap565(f.sprite, W, H);
  SDL_Surface* dst = bench::Wrap565(f.screen, W, H);
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  SDL_SetSurfaceColorMod(src, r, g, b);
  if (key) SDL_SetColorKey(src, SDL_TRUE, 0);
  for (auto _ : state) {
    SDL_BlitSurface(src, nullptr, dst, nullptr);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}
void SdlColorModKeyed(benchmark::State& s) { SdlColorMod(s, 153, 153, 153, true); }
void SdlColorModUnkeyed(benchmark::State& s) { SdlColorMod(s, 153, 153, 153, false); }
void SdlColorModRGBKeyed(benchmark::State& s) { SdlColorMod(s, 102, 153, 204, true); }

void CvGray(benchmark::State& state) {
  bench::Frame& f = bench::TheFrame();
  cv::Mat packed(H, W, CV_8UC2, f.sprite.data()), gray(H, W, CV_8UC1);
  for (auto _ : state) {
    cv::cvtColor(packed, gray, cv::COLOR_BGR5652GRAY);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
}

void CvBlur(benchmark::State& state, int size) {
  const cv::Mat& bgr = SpriteBgr();
  cv::Mat out(H, W, CV_8UC3);
  for (auto _ : state) {
    cv::blur(bgr, out, cv::Size(size, size));
    benchmark::ClobberMemory();
  }
  bench::Count(state);
}
void CvBlur3(benchmark::State& s) { CvBlur(s, 3); }
void CvBlur9(benchmark::State& s) { CvBlur(s, 9); }

BENCHMARK(SdlColorModKeyed);
BENCHMARK(SdlColorModUnkeyed);
BENCHMARK(SdlColorModRGBKeyed);
BENCHMARK(CvGray);
BENCHMARK(CvBlur3);
BENCHMARK(CvBlur9);
BENCHMARK(bench::Memcpy)->Name("Memcpy");

}  // namespace

BENCHMARK_MAIN();
