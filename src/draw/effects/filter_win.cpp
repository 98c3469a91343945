// The colour-filter blits: the effect frame around the filter kernels.
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/filter_kernels.h"
#include "zo/effects.h"

namespace {

using zo::FilterJob;
using zo::PixelView;
using zo::Placement;
using zo::SpriteSpan;

// The glow's own place in NoiseTable, kept from call to call.
int glowNoiseCursor = 0;

template <class F>
int Filter(int object, const Placement& p, F kernel) {
  return zo::RunSpriteEffect(object, p, [&](const PixelView& src, const PixelView& dst, const SpriteSpan& span) {
    kernel(FilterJob{src, dst, span, PixelFormat, ClipRect});
  });
}

}  // namespace

namespace zoDraw {

int DrawChannelMask(int x, int y, int red, int green, int blue, int object, int sl, int st, int sr, int sb) {
  const uint16_t mask = zo::ChannelMaskOf(PixelFormat, red, green, blue);
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [&](const FilterJob& job) { zo::ChannelMaskKernel(job, mask); });
}

int DrawBrightness(int x, int y, float factor, int object, int sl, int st, int sr, int sb) {
  return DrawBrightnessRGB(x, y, factor, factor, factor, object, sl, st, sr, sb);
}

int DrawBrightnessRGB(int x, int y, float factorR, float factorG, float factorB, int object, int sl, int st,
                      int sr, int sb) {
  const float f[3] = {factorR, factorG, factorB};
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [&](const FilterJob& job) { zo::BrightnessKernel(job, f); });
}

int DrawDarken(int x, int y, int level, int object, int sl, int st, int sr, int sb) {
  return DrawDarkenRGB(x, y, level, level, level, object, sl, st, sr, sb);
}

int DrawDarkenRGB(int x, int y, int levelR, int levelG, int levelB, int object, int sl, int st, int sr, int sb) {
  const int v[3] = {levelR, levelG, levelB};
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [&](const FilterJob& job) { zo::DarkenKernel(job, v); });
}

int DrawGray(int x, int y, int object, int sl, int st, int sr, int sb) {
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [](const FilterJob& job) { zo::GrayKernel(job); });
}

int DrawBlur(int x, int y, int size, int object, int sl, int st, int sr, int sb) {
  if (size < 1) return zo::EffectSource(object) ? 1 : 0;  // no block to average
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [&](const FilterJob& job) { zo::BlurKernel(job, size); });
}

int DrawSoftEdge(int x, int y, int object, int sl, int st, int sr, int sb) {
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [](const FilterJob& job) { zo::SoftEdgeKernel(job); });
}

int DrawGlow(int x, int y, unsigned shiftR, unsigned shiftG, unsigned shiftB, unsigned directions, int copy,
             int object, int sl, int st, int sr, int sb) {
  const zo::Glow glow{{shiftR, shiftG, shiftB}, directions, copy};
  return Filter(object, Placement{x, y, sl, st, sr, sb},
                [&](const FilterJob& job) { zo::GlowKernel(job, glow, glowNoiseCursor); });
}

}  // namespace zoDraw
