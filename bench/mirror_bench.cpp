// The kernels that move a sprite's pixels rather than mix them (mirrored
// copies, smears, ripple, displacement) and the row blits, on the 640 x 480
// frame, beside SDL2's keyed blit and OpenCV's flip.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>

#include <cstdlib>

#include "bench_kernels.h"
#include "bench_sdl.h"

namespace {

using bench::H;
using bench::W;

const bool oneThread = (cv::setNumThreads(1), true);
const bool registered = bench::RegisterKernels("mirror");

// ---------------------------------------------------------------- row blits
//
// On Windows each row goes to DirectDraw's keyed blit; here the same rows go
// to SDL's keyed blit of the same sprite, so the figures are the row
// scheduling plus SDL's pixel work, set against one SDL blit of the whole.

SDL_Surface *sdlSprite, *sdlScreen;

void SdlRow(int x, int y, int, int l, int t, int r, int b) {
  SDL_Rect from{l, t, r - l, b - t}, to{x, y, 0, 0};
  SDL_BlitSurface(sdlSprite, &from, sdlScreen, &to);
}

struct SdlPair {
  SdlPair(bool key) {
    bench::Frame& f = bench::TheFrame();
    sdlSprite = bench::Wrap565(f.sprite, W, H);
    sdlScreen = bench::Wrap565(f.screen, W, H);
    SDL_SetSurfaceBlendMode(sdlSprite, SDL_BLENDMODE_NONE);
    if (key) SDL_SetColorKey(sdlSprite, SDL_TRUE, 0);
  }
  ~SdlPair() {
    SDL_FreeSurface(sdlSprite);
    SDL_FreeSurface(sdlScreen);
  }
};

int Rand() { return std::rand(); }

void RowBlits(benchmark::State& s, void (*draw)(const zo::RowBlitter&)) {
  SdlPair sdl(true);
  std::srand(1);
  const zo::RowBlitter blitter{SdlRow, SdlRow, Rand};
  bench::Time(s, [&] { draw(blitter); });
}
// The whole frame can show, and the sprite is the frame's height.
const zo::RowBounds WholeFrame{0, H, H};
void Scanlines(benchmark::State& s) {
  RowBlits(s, [](const zo::RowBlitter& b) { zo::Scanlines(b, WholeFrame, 0, 0, 2, 0, 0, 0, W, H); });
}
void Jitter(benchmark::State& s) {
  RowBlits(s, [](const zo::RowBlitter& b) { zo::Jitter(b, WholeFrame, 0, 0, 8, 0, 0, 0, W, H); });
}
void Wave(benchmark::State& s) {
  RowBlits(s, [](const zo::RowBlitter& b) { zo::Wave(b, WholeFrame, 0.0f, 1.0f, 0, 0, 1, 0, 0, 0, W, H); });
}

BENCHMARK(Scanlines);
BENCHMARK(Jitter);
BENCHMARK(Wave);

// ---------------------------------------------------------------- anchors

void SdlBlit(benchmark::State& s, bool key) {
  SdlPair sdl(key);
  bench::Time(s, [] { SDL_BlitSurface(sdlSprite, nullptr, sdlScreen, nullptr); });
}
void SdlKeyedBlit(benchmark::State& s) { SdlBlit(s, true); }
void SdlOpaqueBlit(benchmark::State& s) { SdlBlit(s, false); }

// flip writes every pixel, the clear ones too: the stricter anchor.
void CvFlip(benchmark::State& s) {
  bench::Frame& f = bench::TheFrame();
  cv::Mat src(H, W, CV_16UC1, f.sprite.data()), dst(H, W, CV_16UC1, f.screen.data());
  const int code = int(s.range(0));
  bench::Time(s, [&] { cv::flip(src, dst, code); });
}

BENCHMARK(SdlKeyedBlit);
BENCHMARK(SdlOpaqueBlit);
BENCHMARK(CvFlip)->Arg(1)->Arg(0)->Arg(-1);
BENCHMARK(bench::Memcpy)->Name("Memcpy");

}  // namespace

BENCHMARK_MAIN();
