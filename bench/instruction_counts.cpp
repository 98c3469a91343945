// Every effect kernel of the catalogue once on the benchmarks' fixed frame,
// and the other platform-free work, each run between a reset and a dump of
// callgrind's counters, so that
//   valgrind --tool=callgrind --collect-atstart=no ./zo_instruction_counts
// leaves one dump per kernel, named after it, with the instructions it took.
// The frame is restored before every kernel, so each sees the same input.
// Outside valgrind it runs the same work and lists the names.
#include <valgrind/callgrind.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_kernels.h"
#include "bench_pack.h"
#include "draw/effects/wipe_rules.h"
#include "text/antialias.h"
#include "text/sprite_text_layout.h"

namespace {

using bench::H;
using bench::W;
using bench::wholeClip;

bench::Frame& F() { return bench::TheFrame(); }

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
                        zo::InkChannels{{11, 6, 0}, 31}, x, y, 0, 0, width2, height2, wholeClip);
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
  return zo::EffectClip(wholeClip, x, y, l, t, r, b, &c) && zo::SpanInSurfaces(c, Strip(), F().Screen(), span);
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
    kernel(zo::FilterJob{Strip(), F().Screen(), span, bench::k565, wholeClip});
}
void StripRotate(zo::RotateForm form, int dl, int dt, int dr, int db, int angle, float scale, int sl, int sr) {
  zo::RotateCall c{};
  c.form = form;
  c.dl = dl, c.dt = dt, c.dr = dr, c.db = db;
  c.angle = angle;
  c.scale = scale;
  c.sl = sl, c.st = 0, c.sr = sr, c.sb = 60;
  zo::RotateJob job{Strip(), F().Screen(), bench::k565, c, {}};
  if (zo::RotateClip(wholeClip, c, &job.window) && zo::RotateDrawable(c)) zo::RotateKernel(job);
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
  if (zo::EffectClip(wholeClip, mirror.x, mirror.y, mirror.l, mirror.t, mirror.r, mirror.b, &c))
    zo::MirrorKernel(zo::DistortJob{Strip(), F().Screen(), mirror, c, wholeClip, bench::k565}, int(t) % 4);
  zo::Jitter(bench::CountingRows(), bench::wholeRows, 380, 360, 1 + int(4 * pulse), 0, 120, 0, 180, 60);
  zo::Scanlines(bench::CountingRows(), bench::wholeRows, 500, 360, 2, 0, 180, 0, 240, 60);
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
  WipeScene() { zo::StartWipeOn(Target(), 0, 1, 320.0f, 40, bench::FixedRandom); }
} wipeScene;

// The catalogue's kernels, then the other platform-free work.
std::vector<bench::Kernel> Kernels() {
  std::vector<bench::Kernel> all = bench::Kernels();
  all.insert(all.end(), {
      {"PackLoad", "", [] { bench::LoadPackEntry(bench::TheFiles(), bench::TheScene().zoom.data(), W); }},
      {"PlainLayout", "", [] { zo::LayOutPlainText(line, 10, 10, W, H, 0, 16, zo::IsSjisLeadByte, plainCells); }},
      {"SmoothLayoutAndShrink", "",
       [] { zo::LayOutSmoothText(line, 10, 10, W, H, 0, 32, W, zo::IsSjisLeadByte, smoothCells); }},
      // Scenes: one frame of each example with platform-free drawing work.
      // moving_sprite: only the layout of its line (the clear, the sprite
      // blit and the glyphs are DirectDraw and GDI).
      {"scene/moving_sprite", "",
       [] { zo::LayOutPlainText(greeting, 10, 10, W, H, 0, 16, zo::IsSjisLeadByte, plainCells); }},
      {"scene/effects_scene", "", EffectsSceneFrame},
      {"scene/wipes", "", [] { zo::StepWipeOn(wipeScene.Target(), zo::WipeStep(1.0f / 60, 320.0f)); }},
  });
  return all;
}

}  // namespace

// With an argument, only the kernels whose name contains it are counted.
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  bench::TheScene();
  bench::TheFiles();
  for (int y = 0; y < 60; ++y)
    std::copy(F().sprite.begin() + y * W, F().sprite.begin() + y * W + 240, strip.begin() + y * 240);
  const std::vector<uint16_t> screen = F().screen;
  for (const bench::Form& form : bench::Forms()) {
    zo::UseSimdForm(form.form);
    for (const bench::Kernel& k : Kernels()) {
      const std::string name = std::string(k.key) + form.suffix;
      if (name.find(only) == std::string::npos) continue;
      F().screen = screen;
      std::fill(bench::TheScene().zoom.begin(), bench::TheScene().zoom.end(), 0);
      CALLGRIND_ZERO_STATS;
      CALLGRIND_TOGGLE_COLLECT;
      k.run();
      CALLGRIND_TOGGLE_COLLECT;
      CALLGRIND_DUMP_STATS_AT(name.c_str());
      std::printf("%s\n", name.c_str());
    }
  }
  return 0;
}
