// The kernels that rework a rectangle of the 640 x 480 5-6-5 frame in place
// (smoothing, the rising blur, 2x and 4x zooms into a buffer, a mosaic
// circle, grain), beside OpenCV's resize and filter2D, SDL2's scaled blit
// and memcpy.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <vector>

#include "bench_kernels.h"
#include "bench_sdl.h"

namespace {

using bench::H;
using bench::W;

const bool oneThread = (cv::setNumThreads(1), true);

const bool registered = bench::RegisterKernels("region");

// ---------------------------------------------------------------- anchors

// Nearest-neighbour enlargement of the top-left 1/factor of the frame.
void CvResize(benchmark::State& s) {
  const int factor = int(s.range(0));
  cv::Mat screen(H, W, CV_16UC1, bench::TheFrame().screen.data()), out(H, W, CV_16UC1, bench::TheScene().zoom.data());
  const cv::Mat part = screen(cv::Rect(0, 0, W / factor, H / factor));
  bench::Time(s, [&] { cv::resize(part, out, out.size(), 0, 0, cv::INTER_NEAREST); });
}
void SdlBlitScaled(benchmark::State& s) {
  const int factor = int(s.range(0));
  SDL_Surface* screen = bench::Wrap565(bench::TheFrame().screen, W, H);
  SDL_Surface* out = bench::Wrap565(bench::TheScene().zoom, W, H);
  SDL_SetSurfaceBlendMode(screen, SDL_BLENDMODE_NONE);
  SDL_Rect from{0, 0, W / factor, H / factor}, to{0, 0, W, H};
  bench::Time(s, [&] { SDL_BlitScaled(screen, &from, out, &to); });
  SDL_FreeSurface(screen);
  SDL_FreeSurface(out);
}

// The four-neighbour mean as a 3 x 3 kernel over 8-bit BGR: OpenCV's
// nearest work to the smoothing (which runs in place, row after row, on
// 5-bit components).
void CvFilter2D(benchmark::State& s) {
  cv::Mat packed(H, W, CV_8UC2, bench::TheFrame().screen.data()), bgr, out(H, W, CV_8UC3);
  cv::cvtColor(packed, bgr, cv::COLOR_BGR5652BGR);
  const cv::Mat kernel = (cv::Mat_<float>(3, 3) << 0, 0.25f, 0, 0.25f, 0, 0.25f, 0, 0.25f, 0);
  bench::Time(s, [&] { cv::filter2D(bgr, out, -1, kernel); });
}

BENCHMARK(CvResize)->Arg(2)->Arg(4);
BENCHMARK(SdlBlitScaled)->Arg(2)->Arg(4);
BENCHMARK(CvFilter2D);
BENCHMARK(bench::Memcpy)->Name("Memcpy");

}  // namespace

BENCHMARK_MAIN();
