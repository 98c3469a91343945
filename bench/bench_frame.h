// The picture every effect benchmark draws: a 640 x 480 sprite of opaque
// and clear runs (1 to 64 pixels, about half clear, value 0) over a
// 640 x 480 5-6-5 frame of random colours, the same for every contender,
// with the tables the kernels read built once.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "draw/effects/effect_frame.h"
#include "draw/effects/effect_tables.h"
#include "draw/simd/simd_form.h"
#include "draw/sine_table.h"

namespace bench {

const int W = 640, H = 480;
const PixelLayout k565 = DerivePixelLayout(0xF800, 0x07E0, 0x001F);

struct Frame {
  std::vector<uint16_t> sprite, screen;
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
    BuildSineTable();
    zo::SeedMsvcrtRandom(1);
    zo::BuildEffectTables(k565, zo::MsvcrtRandom);
  }
  zo::PixelView Sprite() { return zo::PixelView{sprite.data(), W, W, H}; }
  zo::PixelView Screen() { return zo::PixelView{screen.data(), W, W, H}; }
};

inline Frame& TheFrame() {
  static Frame f;
  return f;
}

// Mpixel/s count the pixels of the 640 x 480 rectangle unless told otherwise.
inline void Count(benchmark::State& state, int64_t pixels = int64_t(W) * H) {
  state.SetItemsProcessed(state.iterations() * pixels);
}

// Runs kernel() as the timed body, keeping its writes.
template <class F>
void Time(benchmark::State& state, F kernel, int64_t pixels = int64_t(W) * H) {
  for (auto _ : state) {
    kernel();
    benchmark::DoNotOptimize(TheFrame().screen[0]);
    benchmark::ClobberMemory();
  }
  Count(state, pixels);
}

// The vector forms this processor runs (AVX2 left out under ZO_SIMD=sse2),
// each with the suffix its benchmarks and instruction counts carry: none for
// SSE2, "/avx2" for AVX2.
struct Form {
  zo::SimdForm form;
  const char* suffix;
};
inline std::vector<Form> Forms() {
  std::vector<Form> forms{{zo::SimdForm::kSse2, ""}};
  if (zo::BestSimdForm() == zo::SimdForm::kAvx2)
    forms.push_back({zo::SimdForm::kAvx2, "/avx2"});
  return forms;
}

// Registers body under name once per form, with that form in force.
template <class F>
void RegisterInForms(const std::string& name, F body) {
  for (const Form& f : Forms())
    benchmark::RegisterBenchmark((name + f.suffix).c_str(), [body, form = f.form](benchmark::State& state) {
      zo::UseSimdForm(form);
      body(state);
      zo::UseSimdForm(zo::SimdForm::kSse2);
    });
}

// A copy of the whole frame: the bandwidth ceiling.
inline void Memcpy(benchmark::State& state) {
  Frame& f = TheFrame();
  std::vector<uint16_t> copy(W * H);
  for (auto _ : state) {
    std::memcpy(copy.data(), f.screen.data(), W * H * 2);
    benchmark::ClobberMemory();
  }
  Count(state);
}

}  // namespace bench
