// The 5-6-5 frame shown on a 32-bit screen: expanded to XRGB8888, at its own
// size and as 2 x 2 blocks, beside SDL2's pixel conversion and scaled blit
// and pixman's SRC composite of r5g6b5 onto x8r8g8b8.
#include <benchmark/benchmark.h>

#include <pixman.h>

#include <vector>

#include "bench_frame.h"
#include "bench_sdl.h"
#include "draw/frame_expand.h"

namespace {

using bench::H;
using bench::W;

const zo::DeepFormat xrgb{4, 16, 8, 0};

// The deep surface the frame is shown on, scale x the frame's size.
struct Deep {
  int scale;
  std::vector<uint32_t> pixels;
  explicit Deep(int s) : scale(s), pixels(size_t(W) * s * H * s) {}
  int Width() const { return W * scale; }
  int Height() const { return H * scale; }
};

// Every contender writes its own output; the timed body keeps it alive.
template <class F>
void TimeInto(benchmark::State& s, Deep& out, F body) {
  for (auto _ : s) {
    body();
    benchmark::DoNotOptimize(out.pixels[0]);
    benchmark::ClobberMemory();
  }
  bench::Count(s);
}

void ExpandAt(benchmark::State& s, int scale) {
  Deep out(scale);
  const zo::PixelView frame = bench::TheFrame().Screen();
  const zo::DeepView view{reinterpret_cast<uint8_t*>(out.pixels.data()), out.Width() * 4, out.Width(),
                          out.Height()};
  TimeInto(s, out, [&] { zo::ExpandFrame565(frame, view, xrgb, out.scale); });
}

void SdlConvertPixels(benchmark::State& s) {
  Deep out(1);
  bench::Frame& f = bench::TheFrame();
  TimeInto(s, out, [&] {
    SDL_ConvertPixels(W, H, SDL_PIXELFORMAT_RGB565, f.screen.data(), W * 2, SDL_PIXELFORMAT_XRGB8888,
                      out.pixels.data(), W * 4);
  });
}

void SdlBlitScaled(benchmark::State& s) {
  Deep out(int(s.range(0)));
  bench::Frame& f = bench::TheFrame();
  SDL_Surface* from = bench::Wrap565(f.screen, W, H);
  SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(out.pixels.data(), out.Width(), out.Height(), 32,
                                                       out.Width() * 4, SDL_PIXELFORMAT_XRGB8888);
  SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
  TimeInto(s, out, [&] {
    SDL_Rect all{0, 0, out.Width(), out.Height()};
    SDL_BlitScaled(from, nullptr, to, &all);
  });
  SDL_FreeSurface(to);
  SDL_FreeSurface(from);
}

void PixmanSrc(benchmark::State& s) {
  Deep out(int(s.range(0)));
  bench::Frame& f = bench::TheFrame();
  pixman_image_t* from =
      pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(f.screen.data()), W * 2);
  pixman_image_t* to =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, out.Width(), out.Height(), out.pixels.data(), out.Width() * 4);
  if (out.scale != 1) {
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(1.0 / out.scale),
                                pixman_double_to_fixed(1.0 / out.scale));
    pixman_image_set_transform(from, &t);
    pixman_image_set_filter(from, PIXMAN_FILTER_NEAREST, nullptr, 0);
  }
  TimeInto(s, out, [&] {
    pixman_image_composite(PIXMAN_OP_SRC, from, nullptr, to, 0, 0, 0, 0, 0, 0, out.Width(), out.Height());
  });
  pixman_image_unref(to);
  pixman_image_unref(from);
}

BENCHMARK(SdlConvertPixels);
BENCHMARK(SdlBlitScaled)->Arg(1)->Arg(2);
BENCHMARK(PixmanSrc)->Arg(1)->Arg(2);

}  // namespace

// The expansion at both scales in every vector form, named as before.
const bool registered = [] {
  for (int scale : {1, 2})
    bench::RegisterInForms("Expand/" + std::to_string(scale), [scale](benchmark::State& s) {
      ExpandAt(s, scale);
    });
  return true;
}();

BENCHMARK_MAIN();
