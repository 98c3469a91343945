// Every effect kernel once on the benchmarks' fixed frame, each run between
// a reset and a dump of callgrind's counters, so that
//   valgrind --tool=callgrind --collect-atstart=no ./zo_instruction_counts
// leaves one dump per kernel, named after it, with the instructions it took.
// The frame is restored before every kernel, so each sees the same input.
// Outside valgrind it runs the same work and lists the names.
#include <valgrind/callgrind.h>

#include <cmath>
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
#include "draw/effects/wipe_rules.h"
#include "text/antialias.h"
#include "text/sprite_text_layout.h"

namespace {

using bench::H;
using bench::W;
const int T = 256;  // tunnel texture side

bench::Frame& F() { return bench::TheFrame(); }
const IntRect whole{0, 0, W, H};

zo::BlendJob Blend() {
  return zo::BlendJob{F().Sprite(), F().Screen(), zo::SpriteSpan{0, 0, 0, 0, W, H, 0, 0}, bench::k565};
}
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
  const zo::PixelView tex{texture.data(), T, T, T};
  zo::TunnelKernel(zo::TunnelJob{tex, F().Screen(), tunnelMap.get(), 0, 0, u, v});
}

// The row blits' own work: each row handed to a blit that only counts it.
int rowsDrawn;
void CountRow(int, int, int, int, int, int, int) { ++rowsDrawn; }
int FixedRandom() { return 12345; }
const zo::RowBlitter rowBlitter{CountRow, CountRow, FixedRandom};
const zo::RowBounds wholeFrame{0, H, H};  // every row of the frame can show

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

// examples/effects_scene.cpp's frame at t = 1 s, every platform-free part
// of it: the effects on its 240 x 60 strip of blocks (here the sprite's
// top-left 240 x 60) and the layout of its four labels. Its background blit,
// the glyphs and the row wave's blits are DirectDraw and GDI.
std::vector<uint16_t> strip(240 * 60);
zo::PixelView Strip() { return zo::PixelView{strip.data(), 240, 240, 60}; }
bool StripSpan(int x, int y, int l, int t, int r, int b, zo::SpriteSpan* span) {
  zo::SpriteClip c;
  return zo::EffectClip(whole, x, y, l, t, r, b, &c) && zo::SpanInSurfaces(c, Strip(), F().Screen(), span);
}
template <class K>
void StripBlend(int x, int y, int l, K kernel) {
  zo::SpriteSpan span;
  if (StripSpan(x, y, l, 0, l + 60, 60, &span)) kernel(zo::BlendJob{Strip(), F().Screen(), span, bench::k565});
}
template <class K>
void StripFilter(int x, int y, int l, K kernel) {
  zo::SpriteSpan span;
  if (StripSpan(x, y, l, 0, l + 60, 60, &span))
    kernel(zo::FilterJob{Strip(), F().Screen(), span, bench::k565, whole});
}
void StripRotate(zo::RotateForm form, int dl, int dt, int dr, int db, int angle, float scale, int sl, int sr) {
  zo::RotateCall c{};
  c.form = form;
  c.dl = dl, c.dt = dt, c.dr = dr, c.db = db;
  c.angle = angle;
  c.scale = scale;
  c.sl = sl, c.st = 0, c.sr = sr, c.sb = 60;
  zo::RotateJob job{Strip(), F().Screen(), bench::k565, c, {}};
  if (zo::RotateClip(whole, c, &job.window) && zo::RotateDrawable(c)) zo::RotateKernel(job);
}
void EffectsSceneFrame() {
  const float t = 1.0f, pulse = 0.5f + 0.5f * std::sin(t * 3.0f);
  const int angle = int(t * 90.0f);
  static int glowCursor, noiseCursor;
  const char* const labels[] = {"合成", "色", "回転", "歪み"};
  for (int i = 0; i < 4; ++i)
    zo::LayOutPlainText(labels[i], 20, 20 + 110 * i, W, H, 0, 16, zo::IsSjisLeadByte, plainCells);
  const float alpha[3] = {pulse, pulse, pulse}, bright[3] = {0.5f + pulse, 0.5f + pulse, 0.5f + pulse};
  const int level[3] = {int(31 * pulse), int(31 * pulse), int(31 * pulse)};
  StripBlend(140, 20, 0, [](const zo::BlendJob& j) { zo::HalfBlendKernel(j); });
  StripBlend(260, 20, 60, [&](const zo::BlendJob& j) { zo::AlphaBlendKernel(j, alpha); });
  StripBlend(380, 20, 120, [](const zo::BlendJob& j) { zo::AddKernel(j, 0); });
  StripBlend(500, 20, 180, [&](const zo::BlendJob& j) { zo::CrossFadeKernel(j, level); });
  StripFilter(140, 130, 0, [](const zo::FilterJob& j) { zo::GrayKernel(j); });
  StripFilter(260, 130, 60, [&](const zo::FilterJob& j) { zo::BrightnessKernel(j, bright); });
  StripFilter(380, 130, 120, [&](const zo::FilterJob& j) { zo::BlurKernel(j, 1 + int(8 * pulse)); });
  StripFilter(500, 130, 180,
              [](const zo::FilterJob& j) { zo::GlowKernel(j, zo::Glow{{2, 2, 2}, 0xFF, 1}, glowCursor); });
  StripRotate(zo::RotateForm::Plain, 120, 230, 220, 330, angle, 1.0f, 0, 60);
  StripRotate(zo::RotateForm::Zoom, 240, 230, 340, 330, -angle, 0.6f + pulse, 60, 120);
  StripRotate(zo::RotateForm::Tile, 370, 240, 610, 320, angle / 3, 1.0f, 0, 240);
  const zo::Placement mirror{140, 360, 0, 0, 60, 60};
  zo::SpriteClip c;
  if (zo::EffectClip(whole, mirror.x, mirror.y, mirror.l, mirror.t, mirror.r, mirror.b, &c))
    zo::MirrorKernel(zo::DistortJob{Strip(), F().Screen(), mirror, c, whole, bench::k565}, int(t) % 4);
  zo::Jitter(rowBlitter, wholeFrame, 380, 360, 1 + int(4 * pulse), 0, 120, 0, 180, 60);
  zo::Scanlines(rowBlitter, wholeFrame, 500, 360, 2, 0, 180, 0, 240, 60);
  const int cx = 340 + int(200 * std::cos(t)), cy = 200 + int(140 * std::sin(0.7f * t));
  zo::MosaicCircleKernel(F().Screen(), W, H, cx, cy, 60, 10);
  const zo::RegionJob band{F().Screen(), 0, 440, 640, 40, bench::k565};
  zo::NoiseKernel(band, zo::Channels{1, 1, 1}, 1, noiseCursor);
}

// examples/wipes.cpp's frame: its platform-free part is the step of the
// running wipe (the clear and the blits are DirectDraw). The wipe, kind 1
// opening at 320 pixels a second as the example starts it, is started
// before counting.
struct WipeScene {
  IntRect clip{0, 0, W, H}, saved{0, 0, W, H};
  int32_t state = 0;
  zo::WipeSettings settings{};
  zo::WipeTarget Target() { return zo::WipeTarget{clip, saved, state, settings}; }
  WipeScene() { zo::StartWipeOn(Target(), 0, 1, 320.0f, 40, FixedRandom); }
} wipeScene;

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
      {"Scanlines", [] { zo::Scanlines(rowBlitter, wholeFrame, 0, 0, 2, 0, 0, 0, W, H); }},
      {"Jitter", [] { zo::Jitter(rowBlitter, wholeFrame, 0, 0, 8, 0, 0, 0, W, H); }},
      {"Wave", [] { zo::Wave(rowBlitter, wholeFrame, 0.0f, 1.0f, 0, 0, 1, 0, 0, 0, W, H); }},
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
      // Scenes: one frame of each example with platform-free drawing work.
      // moving_sprite: only the layout of its line (the clear, the sprite
      // blit and the glyphs are DirectDraw and GDI).
      {"scene/moving_sprite",
       [] { zo::LayOutPlainText(greeting, 10, 10, W, H, 0, 16, zo::IsSjisLeadByte, plainCells); }},
      {"scene/effects_scene", EffectsSceneFrame},
      {"scene/wipes", [] { zo::StepWipeOn(wipeScene.Target(), zo::WipeStep(1.0f / 60, 320.0f)); }},
  };
}

}  // namespace

int main() {
  std::mt19937 rng(256256);
  for (auto& p : texture) p = uint16_t(rng());
  if (!zo::BuildTunnelCells(zo::TunnelShape{T, T, W, H, -1, -1, -1, 0, 0, 0}, tunnelMap.get())) return 1;
  bench::TheFiles();
  for (int y = 0; y < 60; ++y)
    std::copy(F().sprite.begin() + y * W, F().sprite.begin() + y * W + 240, strip.begin() + y * 240);
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
