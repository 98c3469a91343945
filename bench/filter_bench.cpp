// The colour-filter kernels of the effect catalogue on a 640 x 480 5-6-5
// frame with a sprite of about half transparent pixels, beside SDL2, OpenCV
// and memcpy doing comparable work.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench_kernels.h"
#include "bench_sdl.h"

namespace {

using bench::H;
using bench::W;

const bool oneThread = (cv::setNumThreads(1), true);

const bool registered = bench::RegisterKernels("filter");

// The sprite as 8-bit BGR, for OpenCV's blur.
const cv::Mat& SpriteBgr() {
  static cv::Mat bgr = [] {
    cv::Mat packed(H, W, CV_8UC2, bench::TheFrame().sprite.data()), out;
    cv::cvtColor(packed, out, cv::COLOR_BGR5652BGR);
    return out;
  }();
  return bgr;
}

// ---------------------------------------------------------------- anchors

// SDL's colour-modulated blit, the nearest it has to a brightness filter;
// keyed skips the clear pixels as ours do.
void SdlColorMod(benchmark::State& state, Uint8 r, Uint8 g, Uint8 b, bool key) {
  bench::SdlWholeBlit(state, [&](SDL_Surface* src) {
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
    SDL_SetSurfaceColorMod(src, r, g, b);
    if (key) SDL_SetColorKey(src, SDL_TRUE, 0);
  });
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
