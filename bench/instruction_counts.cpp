// Every effect kernel once on the benchmarks' fixed frame, each run between
// a reset and a dump of callgrind's counters, so that
//   valgrind --tool=callgrind --collect-atstart=no ./zo_instruction_counts
// leaves one dump per kernel, named after it, with the instructions it took.
// The frame is restored before every kernel, so each sees the same input.
// Outside valgrind it runs the same work and lists the names.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "bench_frame.h"
#include "bench_pack.h"
#include "draw/effects/blend_kernels.h"
#include "draw/effects/filter_kernels.h"
#include "draw/effects/mirror_kernels.h"
#include "draw/effects/region_kernels.h"
#include "draw/effects/rotate_kernels.h"
#include "draw/effects/row_blits.h"
#include "draw/effects/tunnel_kernels.h"
#include "text/antialias.h"
#include "text/sprite_text_layout.h"

namespace {

using bench::H;
using bench::W;
const int T = 256;  // tunnel texture side

bench::Frame& F() { return bench::TheFrame(); }
const IntRect whole{0, 0, W, H};

zo::BlendJob Blend() { return zo::BlendJob{F().Sprite(), F().Screen(), zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0}, bench::k565}; }
zo::FilterJob Filter() {
  return zo::FilterJob{F().Sprite(), F().Screen(), zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0}, bench::k565, whole};
}
zo::DistortJob Distort(zo::Placement p) {
  zo::SpriteClip c;
  zo::EffectClip(whole, p.x, p.y, p.l, p.t, p.r, p.b, &c);
  return zo::DistortJob{F().Sprite(), F().Screen(), p, c, whole, bench::k565};
}
const zo::Placement sprite{0, 0, 0, 0, W, H};
zo::RegionJob Region(uint32_t w, uint32_t h) { return zo::RegionJob{F().Screen(), 0, 0, w, h, bench::k565}; }

void Rotate(zo::RotateForm form, float scale) {
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
  zo::RotateJob job{F().Sprite(), F().Screen(), bench::k565, c, {}};
  if (zo::RotateClip(whole, c, &job.window)) zo::RotateKernel(job);
}

std::vector<uint16_t> zoomBuffer(W* H), texture(T* T);
std::unique_ptr<TunnelGrid> tunnelMap(new TunnelGrid);
void Tunnel(int u, int v) {
  zo::TunnelKernel(zo::TunnelJob{zo::PixelView{texture.data(), T, T, T}, F().Screen(), tunnelMap.get(), 0, 0, u, v});
}

// The row blits' own work: each row handed to a blit that only counts it.
int rowsDrawn;
void CountRow(int, int, int, int, int, int, int) { ++rowsDrawn; }
int FixedRandom() { return 12345; }
const zo::RowBlitter rowBlitter{CountRow, CountRow, FixedRandom};

// Sprite text with one-em cells (IPAGothic's full-width advance) and, for the
// smooth renderer, the ink filter over a double-size line of fixed strokes.
struct Cells : zo::SpriteTextTarget {
  int em;
  explicit Cells(int em) : em(em) {}
  zo::GlyphSize Measure(const char*, int length) override { return {length == 2 ? em : em / 2, em}; }
  void Put(const char*, int, int, int, bool) override {}
  void Flush(int, int, int, int, bool) override {}
};
struct ShrinkingCells : Cells {
  std::vector<uint16_t> ink, font;
  ShrinkingCells() : Cells(32), ink(W * 2 * 32), font(W * H) {
    for (size_t i = 0; i < ink.size(); ++i) ink[i] = (i * 7 / 5) % 3 == 0 ? 0xFFFF : 0;
  }
  void Flush(int x, int y, int width2, int height2, bool) override {
    zo::AntialiasLine16({ink.data(), W, W, 2 * em}, {font.data(), W, W, H}, {F().screen.data(), W, W, H},
                        zo::InkChannels{{11, 6, 0}, 31}, x, y, 0, 0, width2, height2, whole);
  }
};
Cells plainCells(16);
ShrinkingCells smoothCells;
const char* const line = "吾輩は猫である。名前はまだ無い。";
const char* const greeting = "こんにちは";

struct Kernel {
  const char* name;
  std::function<void()> run;
};

std::vector<Kernel> Kernels() {
  static const float a3[3] = {0.3f, 0.3f, 0.3f}, aRGB[3] = {0.2f, 0.5f, 0.8f}, aRamp[3] = {0.1f, 0.2f, 0.3f};
  static const int l16[3] = {16, 16, 16}, lRGB[3] = {8, 16, 24}, lRamp[3] = {4, 8, 12};
  static const float b6[3] = {0.6f, 0.6f, 0.6f}, bRGB[3] = {0.4f, 0.6f, 0.8f};
  static int glowCursor, noiseCursor;
  static zo::NoiseRun rise;
  return {
      {"HalfBlend", [] { zo::HalfBlendKernel(Blend()); }},
      {"AlphaBlend", [] { zo::AlphaBlendKernel(Blend(), a3); }},
      {"AlphaBlendRGB", [] { zo::AlphaBlendKernel(Blend(), aRGB); }},
      {"AlphaGradientVertical", [] { zo::AlphaGradientKernel(Blend(), aRamp, zo::Ramp{1, 20, 4}); }},
      {"AlphaGradientHorizontal", [] { zo::AlphaGradientKernel(Blend(), aRamp, zo::Ramp{0, 20, 4}); }},
      {"CrossFade", [] { zo::CrossFadeKernel(Blend(), l16); }},
      {"CrossFadeRGB", [] { zo::CrossFadeKernel(Blend(), lRGB); }},
      {"CrossFadeGradientVertical", [] { zo::CrossFadeGradientKernel(Blend(), lRamp, zo::Ramp{1, 20, 4}); }},
      {"CrossFadeGradientHorizontal", [] { zo::CrossFadeGradientKernel(Blend(), lRamp, zo::Ramp{0, 20, 4}); }},
      {"Add", [] { zo::AddKernel(Blend(), 0); }},
      {"AddLevel", [] { zo::AddKernel(Blend(), zo::AddLevelToK(0.6f)); }},
      {"Subtract", [] { zo::SubtractKernel(Blend()); }},
      {"Brightness", [] { zo::BrightnessKernel(Filter(), b6); }},
      {"BrightnessRGB", [] { zo::BrightnessKernel(Filter(), bRGB); }},
      {"Darken", [] { zo::DarkenKernel(Filter(), l16); }},
      {"DarkenRGB", [] { zo::DarkenKernel(Filter(), lRGB); }},
      {"Gray", [] { zo::GrayKernel(Filter()); }},
      {"Blur3", [] { zo::BlurKernel(Filter(), 3); }},
      {"Blur9", [] { zo::BlurKernel(Filter(), 9); }},
      {"ChannelMask", [] { zo::ChannelMaskKernel(Filter(), zo::ChannelMaskOf(bench::k565, 1, 0, 1)); }},
      {"SoftEdge", [] { zo::SoftEdgeKernel(Filter()); }},
      {"GlowFour", [] { zo::GlowKernel(Filter(), zo::Glow{{1, 1, 1}, 0x0F, 1}, glowCursor); }},
      {"GlowEight", [] { zo::GlowKernel(Filter(), zo::Glow{{1, 1, 1}, 0xFF, 1}, glowCursor); }},
      {"RotatePlain", [] { Rotate(zo::RotateForm::Plain, 1.0f); }},
      {"RotateTile", [] { Rotate(zo::RotateForm::Tile, 1.0f); }},
      {"RotateZoom", [] { Rotate(zo::RotateForm::Zoom, 1.5f); }},
      {"RotateZoomTile", [] { Rotate(zo::RotateForm::ZoomTile, 0.75f); }},
      {"RotateFloor", [] { Rotate(zo::RotateForm::Floor, 1.0f); }},
      {"Tunnel", [] { Tunnel(0, 0); }},
      {"TunnelScrolled", [] { Tunnel(77, 131); }},
      {"Mirror/0", [] { zo::MirrorKernel(Distort(sprite), 0); }},
      {"Mirror/1", [] { zo::MirrorKernel(Distort(sprite), 1); }},
      {"Mirror/2", [] { zo::MirrorKernel(Distort(sprite), 2); }},
      {"Mirror/3", [] { zo::MirrorKernel(Distort(sprite), 3); }},
      {"Smear/0", [] { zo::SmearKernel(Distort(zo::SmearPlacement(sprite, 0, W, H)), 0, W / 2); }},
      {"Smear/1", [] { zo::SmearKernel(Distort(zo::SmearPlacement(sprite, 1, W, H)), 1, W / 2); }},
      {"Smear/2", [] { zo::SmearKernel(Distort(zo::SmearPlacement(sprite, 2, W, H)), 2, H / 2); }},
      {"Smear/3", [] { zo::SmearKernel(Distort(zo::SmearPlacement(sprite, 3, W, H)), 3, H / 2); }},
      {"Ripple", [] { zo::RippleKernel(Distort(sprite), zo::Ripple{8, 4, 1, 1.0f, 0.0f}); }},
      {"Displace", [] { zo::DisplaceKernel(Distort(sprite), zo::DisplaceLevel(0.5f)); }},
      {"Scanlines", [] { zo::Scanlines(rowBlitter, 0, 0, 2, 0, 0, 0, W, H); }},
      {"Jitter", [] { zo::Jitter(rowBlitter, 0, 0, 8, 0, 0, 0, W, H); }},
      {"Wave", [] { zo::Wave(rowBlitter, 0.0f, 1.0f, 0, 0, 1, 0, 0, 0, W, H); }},
      {"Smooth", [] { zo::SmoothKernel(Region(W, H), zo::Channels{0, 0, 0}); }},
      {"SmoothFaded", [] { zo::SmoothKernel(Region(W, H), zo::Channels{1, 1, 1}); }},
      {"BlurRise", [] { zo::BlurRiseKernel(Region(W, H), zo::Channels{0, 0, 0}, rise); }},
      {"Zoom/2/0", [] { zo::ZoomKernel(Region(W / 2, H / 2), {zoomBuffer.data(), W, W, H}, 2, 0); }},
      {"Zoom/4/0", [] { zo::ZoomKernel(Region(W / 4, H / 4), {zoomBuffer.data(), W, W, H}, 4, 0); }},
      {"Zoom/2/1", [] { zo::ZoomKernel(Region(W / 2, H / 2), {zoomBuffer.data(), W, W, H}, 2, 1); }},
      {"Zoom/4/1", [] { zo::ZoomKernel(Region(W / 4, H / 4), {zoomBuffer.data(), W, W, H}, 4, 1); }},
      {"MosaicCircle/8", [] { zo::MosaicCircleKernel(F().Screen(), W, H, W / 2, H / 2, H / 2, 8); }},
      {"MosaicCircle/2", [] { zo::MosaicCircleKernel(F().Screen(), W, H, W / 2, H / 2, H / 2, 2); }},
      {"Noise", [] { zo::NoiseKernel(Region(W, H), zo::Channels{1, 1, 1}, 1, noiseCursor); }},
      {"PackLoad", [] { bench::LoadPackEntry(bench::TheFiles(), zoomBuffer.data(), W); }},
      {"PlainLayout", [] { zo::LayOutPlainText(line, 10, 10, W, H, 0, 16, zo::IsSjisLeadByte, plainCells); }},
      {"SmoothLayoutAndShrink",
       [] { zo::LayOutSmoothText(line, 10, 10, W, H, 0, 32, W, zo::IsSjisLeadByte, smoothCells); }},
      // Scenes. The example's frame: only its text layout is platform-free
      // (the clear, the sprite blit and the glyphs are DirectDraw and GDI).
      {"scene/moving_sprite",
       [] { zo::LayOutPlainText(greeting, 10, 10, W, H, 0, 16, zo::IsSjisLeadByte, plainCells); }},
      // An effects frame of the portable kernels: the tunnel as background,
      // the sprite half blended over it, grain, and a smooth text line.
      {"scene/effects_frame", [] {
         Tunnel(77, 131);
         zo::HalfBlendKernel(Blend());
         zo::NoiseKernel(Region(W, H), zo::Channels{1, 1, 1}, 1, noiseCursor);
         zo::LayOutSmoothText(line, 10, 10, W, H, 0, 32, W, zo::IsSjisLeadByte, smoothCells);
       }},
  };
}

}  // namespace

int main() {
  std::mt19937 rng(256256);
  for (auto& p : texture) p = uint16_t(rng());
  if (!zo::BuildTunnelCells(zo::TunnelShape{T, T, W, H, -1, -1, -1, 0, 0, 0}, tunnelMap.get())) return 1;
  bench::TheFiles();
  const std::vector<uint16_t> screen = F().screen;
  for (const Kernel& k : Kernels()) {
    F().screen = screen;
    std::fill(zoomBuffer.begin(), zoomBuffer.end(), 0);
    CALLGRIND_ZERO_STATS;
    CALLGRIND_TOGGLE_COLLECT;
    k.run();
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(k.name);
    std::printf("%s\n", k.name);
  }
  return 0;
}
