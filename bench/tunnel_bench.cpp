// The tunnel draws of the effect catalogue (a 640 x 480 map of a 256 x 256
// texture onto the 640 x 480 5-6-5 frame), beside OpenCV's remap through the
// same cells, and the time to build the map.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <memory>

#include "bench_kernels.h"

namespace {

using bench::H;
using bench::T;
using bench::W;

const bool oneThread = (cv::setNumThreads(1), true);
const bool registered = bench::RegisterKernels("tunnel");

zo::TunnelShape Shape(int distanceKind, int depthKind) {
  return zo::TunnelShape{T, T, W, H, -1, -1, -1, 0, distanceKind, depthKind};
}

// Every distance measure with the flat depth, then every depth with the
// round distance.
void BuildMap(benchmark::State& state) {
  std::unique_ptr<TunnelGrid> map(new TunnelGrid);
  const zo::TunnelShape shape = Shape(int(state.range(0)), int(state.range(1)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(zo::BuildTunnelCells(shape, map.get()));
    benchmark::ClobberMemory();
  }
  bench::Count(state);
}

BENCHMARK(BuildMap)->Args({0, 0})->Args({3, 0})->Args({6, 0})->Args({0, 3})->Args({0, 5})->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- anchor

// The cells are (u, v) pairs of int16: exactly a CV_16SC2 map.
void CvRemap(benchmark::State& state) {
  bench::Scene& s = bench::TheScene();
  cv::Mat tex(T, T, CV_16UC1, s.texture.data()), dst(H, W, CV_16UC1, bench::TheFrame().screen.data());
  cv::Mat map(H, W, CV_16SC2, s.tunnel->cells);
  for (auto _ : state) {
    cv::remap(tex, dst, map, cv::noArray(), cv::INTER_NEAREST);
    benchmark::ClobberMemory();
  }
  bench::Count(state);
}

BENCHMARK(CvRemap);

}  // namespace

BENCHMARK_MAIN();
