// Every kernel of the effect catalogue (tools/effect_catalogue.h) as
// one run on the fixed frame, and the jobs the runs are made of: what the
// Windows frame hands each kernel for the whole 640 x 480 sprite placed at
// the origin. The instruction counts take every run; each benchmark program
// registers the runs of its own family.
#pragma once

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "draw/effects/blend_kernels.h"
#include "draw/effects/filter_kernels.h"
#include "draw/effects/mirror_kernels.h"
#include "draw/effects/region_kernels.h"
#include "draw/effects/rotate_kernels.h"
#include "draw/effects/row_blits.h"
#include "draw/effects/tunnel_kernels.h"

namespace bench {

const int T = 256;  // tunnel texture side
const IntRect wholeClip{0, 0, W, H};
const zo::Placement whole{0, 0, 0, 0, W, H};

// What the kernels keep between runs, the zoom's buffer and the tunnel.
struct Scene {
  int glowCursor = 0, noiseCursor = 0;
  zo::NoiseRun rise;
  std::vector<uint16_t> zoom = std::vector<uint16_t>(W * H), texture = std::vector<uint16_t>(T * T);
  std::unique_ptr<TunnelGrid> tunnel{new TunnelGrid};
  Scene() {
    std::mt19937 rng(256256);
    for (auto& p : texture) p = uint16_t(rng());
    if (!zo::BuildTunnelCells(zo::TunnelShape{T, T, W, H, -1, -1, -1, 0, 0, 0}, tunnel.get())) std::abort();
  }
};
inline Scene& TheScene() {
  static Scene s;
  return s;
}

// Three channel values for the kernels that take an array, alive for the call.
template <class V>
struct Three {
  V v[3];
  operator const V*() const { return v; }
};
inline Three<float> Floats(float r, float g, float b) { return {{r, g, b}}; }
inline Three<int> Ints(int r, int g, int b) { return {{r, g, b}}; }

inline zo::BlendJob Blend() {
  return zo::BlendJob{TheFrame().Sprite(), TheFrame().Screen(), zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0}, k565};
}
inline zo::FilterJob Filter() {
  return zo::FilterJob{TheFrame().Sprite(), TheFrame().Screen(), zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0}, k565,
                       wholeClip};
}
inline zo::DistortJob Distort(zo::Placement p) {
  zo::SpriteClip c;
  zo::EffectClip(wholeClip, p.x, p.y, p.l, p.t, p.r, p.b, &c);
  return zo::DistortJob{TheFrame().Sprite(), TheFrame().Screen(), p, c, wholeClip, k565};
}
inline zo::RegionJob Region(uint32_t w, uint32_t h) { return zo::RegionJob{TheFrame().Screen(), 0, 0, w, h, k565}; }
inline zo::PixelView ZoomBuffer() { return zo::PixelView{TheScene().zoom.data(), W, W, H}; }

// The sprite turned 30 degrees over the whole frame; the floor recedes.
inline void Rotate(zo::RotateForm form, float scale) {
  zo::RotateCall c{};
  c.form = form;
  c.dl = 0, c.dt = 0, c.dr = W, c.db = H;
  c.angle = 30;
  c.scale = scale;
  c.sl = 0, c.st = 0, c.sr = W, c.sb = H;
  if (form == zo::RotateForm::Floor) {
    c.scaleX = c.scaleY = 0.5f;
    c.stepX = c.stepY = 0.005f;
    c.factor[0] = c.factor[1] = c.factor[2] = 0.9f;
  }
  zo::RotateJob job{TheFrame().Sprite(), TheFrame().Screen(), k565, c, {}};
  if (zo::RotateClip(wholeClip, c, &job.window)) zo::RotateKernel(job);
}

inline void Tunnel(int u, int v) {
  Scene& s = TheScene();
  zo::TunnelKernel(zo::TunnelJob{{s.texture.data(), T, T, T}, TheFrame().Screen(), s.tunnel.get(), 0, 0, u, v});
}

// The row blits' own work: each row handed to a blit that only counts it.
inline int rowsDrawn;
inline void CountRow(int, int, int, int, int, int, int) { ++rowsDrawn; }
inline int FixedRandom() { return 12345; }
inline zo::RowBlitter CountingRows() { return zo::RowBlitter{CountRow, CountRow, FixedRandom}; }
const zo::RowBounds wholeRows{0, H, H};  // every row of the frame can show

struct Kernel {
  const char* key;
  const char* bench;  // the program that times it
  void (*run)();
};

inline const std::vector<Kernel>& Kernels() {
  static const std::vector<Kernel> all = {
#define ZO_PICTURE(...)
#define ZO_KERNEL(key, program, ...) {key, #program, [] { __VA_ARGS__; }},
#include "effect_catalogue.h"
#undef ZO_PICTURE
#undef ZO_KERNEL
  };
  return all;
}

// Registers the catalogue's kernels timed by one program, named by their keys
// (with the suffix of each vector form).
inline bool RegisterKernels(const std::string& program) {
  for (const Kernel& k : Kernels())
    if (program == k.bench) RegisterInForms(k.key, [run = k.run](benchmark::State& state) { Time(state, run); });
  return true;
}

}  // namespace bench
