// Loading a 640 x 480 entry from an image pack in memory (the scan past an
// earlier entry, then the expansion of its 15-bit pixels to 5-6-5) beside
// SDL2 decoding the same picture from a 24-bit BMP in memory and converting
// it to RGB565.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <memory>
#include <vector>

#include "bench_pack.h"

namespace {

using bench::PackH;
using bench::PackW;

void Count(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * int64_t(PackW) * PackH); }

// Into a surface made once, as a reload into an existing object does.
void PackLoad(benchmark::State& state) {
  const bench::Files& f = bench::TheFiles();
  std::vector<uint16_t> surface(PackW * PackH);
  for (auto _ : state) {
    if (!bench::LoadPackEntry(f, surface.data(), PackW)) return state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(surface[0]);
    benchmark::ClobberMemory();
  }
  Count(state);
}

// Into fresh memory every time, as SDL's decoder allocates its surfaces.
void PackLoadFreshSurface(benchmark::State& state) {
  const bench::Files& f = bench::TheFiles();
  for (auto _ : state) {
    std::unique_ptr<uint16_t[]> surface(new uint16_t[PackW * PackH]);
    if (!bench::LoadPackEntry(f, surface.get(), PackW)) return state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(surface[0]);
    benchmark::ClobberMemory();
  }
  Count(state);
}

void SdlLoadBmp(benchmark::State& state) {
  const bench::Files& f = bench::TheFiles();
  for (auto _ : state) {
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(f.bmp.data(), int(f.bmp.size())), 1);
    if (!loaded) return state.SkipWithError(SDL_GetError());
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    benchmark::DoNotOptimize(converted->pixels);
    SDL_FreeSurface(converted);
    SDL_FreeSurface(loaded);
  }
  Count(state);
}

BENCHMARK(PackLoad);
BENCHMARK(PackLoadFreshSurface);
BENCHMARK(SdlLoadBmp);

}  // namespace

BENCHMARK_MAIN();
