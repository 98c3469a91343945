// The tunnel draw through a 640 x 480 map of a 256 x 256 texture onto a
// 640 x 480 5-6-5 frame, beside OpenCV's remap through the same cells, and
// the time to build the map.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <memory>
#include <random>
#include <vector>

#include "draw/effects/tunnel_kernels.h"

namespace {

const int W = 640, H = 480, T = 256;

zo::TunnelShape Shape(int distanceKind, int depthKind) {
  return zo::TunnelShape{T, T, W, H, -1, -1, -1, 0, distanceKind, depthKind};
}

struct Scene {
  std::vector<uint16_t> texture, screen;
  std::unique_ptr<TunnelGrid> map{new TunnelGrid};
  Scene() : texture(T * T), screen(W * H) {
    std::mt19937 rng(640480);
    for (auto& p : texture) p = uint16_t(rng());
    for (auto& p : screen) p = uint16_t(rng());
    if (!zo::BuildTunnelCells(Shape(0, 0), map.get())) std::abort();
    cv::setNumThreads(1);
  }
};

Scene& TheScene() {
  static Scene s;
  return s;
}

void Count(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * int64_t(W) * H); }

void Draw(benchmark::State& state, int scrollU, int scrollV) {
  Scene& s = TheScene();
  const zo::TunnelJob job{zo::PixelView{s.texture.data(), T, T, T}, zo::PixelView{s.screen.data(), W, W, H},
                          s.map.get(), 0, 0, scrollU, scrollV};
  for (auto _ : state) {
    zo::TunnelKernel(job);
    benchmark::DoNotOptimize(s.screen[0]);
    benchmark::ClobberMemory();
  }
  Count(state);
}
void Tunnel(benchmark::State& s) { Draw(s, 0, 0); }
void TunnelScrolled(benchmark::State& s) { Draw(s, 77, 131); }

// Every distance measure with the flat depth, then every depth with the
// round distance.
void BuildMap(benchmark::State& state) {
  std::unique_ptr<TunnelGrid> map(new TunnelGrid);
  const zo::TunnelShape shape = Shape(int(state.range(0)), int(state.range(1)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(zo::BuildTunnelCells(shape, map.get()));
    benchmark::ClobberMemory();
  }
  Count(state);
}

BENCHMARK(Tunnel);
BENCHMARK(TunnelScrolled);
BENCHMARK(BuildMap)->Args({0, 0})->Args({3, 0})->Args({6, 0})->Args({0, 3})->Args({0, 5})->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- anchor

// The cells are (u, v) pairs of int16: exactly a CV_16SC2 map.
void CvRemap(benchmark::State& state) {
  Scene& s = TheScene();
  cv::Mat tex(T, T, CV_16UC1, s.texture.data()), dst(H, W, CV_16UC1, s.screen.data());
  cv::Mat map(H, W, CV_16SC2, s.map->cells);
  for (auto _ : state) {
    cv::remap(tex, dst, map, cv::noArray(), cv::INTER_NEAREST);
    benchmark::ClobberMemory();
  }
  Count(state);
}

BENCHMARK(CvRemap);

}  // namespace

BENCHMARK_MAIN();
