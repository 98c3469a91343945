// The rotating and scaling blits turning a 640 x 480 sprite of about half
// transparent pixels by 30 degrees onto a 640 x 480 5-6-5 frame, beside
// OpenCV, SDL2_gfx and pixman doing nearest-neighbour rotations.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL2_rotozoom.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <pixman.h>

#include <cmath>

#include "bench_kernels.h"
#include "bench_sdl.h"

namespace {

using bench::H;
using bench::W;

const int Angle = 30;
const bool oneThread = (cv::setNumThreads(1), true);

const bool registered = bench::RegisterKernels("rotate");

// ---------------------------------------------------------------- anchors

void CvWarp(benchmark::State& state, double scale, int border) {
  bench::Frame& f = bench::TheFrame();
  cv::Mat src(H, W, CV_16UC1, f.sprite.data()), dst(H, W, CV_16UC1, f.screen.data());
  const cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(W / 2.0f, H / 2.0f), Angle, scale);
  for (auto _ : state) {
    cv::warpAffine(src, dst, m, dst.size(), cv::INTER_NEAREST, border);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
}
void CvWarpConstant(benchmark::State& s) { CvWarp(s, 1.0, cv::BORDER_CONSTANT); }
void CvWarpTransparent(benchmark::State& s) { CvWarp(s, 1.0, cv::BORDER_TRANSPARENT); }
void CvWarpWrap(benchmark::State& s) { CvWarp(s, 1.0, cv::BORDER_WRAP); }
void CvWarpZoom(benchmark::State& s) { CvWarp(s, 1.5, cv::BORDER_CONSTANT); }

// rotozoomSurface makes a new surface of the whole turned bounding box (and
// turns 16-bit sources into 32-bit ones first); its Mpixel/s count the
// pixels it writes.
void GfxRotozoom(benchmark::State& state, double zoom) {
  bench::Frame& f = bench::TheFrame();
  SDL_Surface* src = bench::Wrap565(f.sprite, W, H);
  int64_t written = 0;
  for (auto _ : state) {
    SDL_Surface* out = rotozoomSurface(src, Angle, zoom, SMOOTHING_OFF);
    written = int64_t(out->w) * out->h;
    benchmark::DoNotOptimize(out->pixels);
    SDL_FreeSurface(out);
  }
  bench::Count(state, written);
  state.counters["out_w_x_h"] = double(written);
  SDL_FreeSurface(src);
}
void GfxRotozoom1(benchmark::State& s) { GfxRotozoom(s, 1.0); }
void GfxRotozoom15(benchmark::State& s) { GfxRotozoom(s, 1.5); }

// pixman samples the source through the inverse of the turn about the centre.
void Pixman(benchmark::State& state, double scale, pixman_repeat_t repeat) {
  bench::Frame& f = bench::TheFrame();
  pixman_image_t* src =
      pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(f.sprite.data()), W * 2);
  pixman_image_t* dst =
      pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(f.screen.data()), W * 2);
  const double a = Angle * M_PI / 180.0, c = std::cos(a) / scale, s = std::sin(a) / scale;
  const double cx = W / 2.0, cy = H / 2.0;
  pixman_f_transform ft;
  ft.m[0][0] = c, ft.m[0][1] = -s, ft.m[0][2] = cx - c * cx + s * cy;
  ft.m[1][0] = s, ft.m[1][1] = c, ft.m[1][2] = cy - s * cx - c * cy;
  ft.m[2][0] = 0, ft.m[2][1] = 0, ft.m[2][2] = 1;
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &ft);
  pixman_image_set_transform(src, &t);
  pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  pixman_image_set_repeat(src, repeat);
  for (auto _ : state) {
    pixman_image_composite(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, W, H);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
  pixman_image_unref(src);
  pixman_image_unref(dst);
}
void PixmanNone(benchmark::State& s) { Pixman(s, 1.0, PIXMAN_REPEAT_NONE); }
void PixmanNormal(benchmark::State& s) { Pixman(s, 1.0, PIXMAN_REPEAT_NORMAL); }
void PixmanZoom(benchmark::State& s) { Pixman(s, 1.5, PIXMAN_REPEAT_NONE); }

BENCHMARK(CvWarpConstant);
BENCHMARK(CvWarpTransparent);
BENCHMARK(CvWarpWrap);
BENCHMARK(CvWarpZoom);
BENCHMARK(GfxRotozoom1);
BENCHMARK(GfxRotozoom15);
BENCHMARK(PixmanNone);
BENCHMARK(PixmanNormal);
BENCHMARK(PixmanZoom);

}  // namespace

BENCHMARK_MAIN();
