// The blend blits: the effect frame around the blend kernels.
#include "draw/effects/blend_kernels.h"
#include "draw/effects/effect_frame_win.h"
#include "zo/effects.h"

namespace {

using zo::BlendJob;
using zo::PixelView;
using zo::Placement;
using zo::SpriteSpan;

template <class F>
int Blend(int object, const Placement& p, F kernel) {
  return zo::RunSpriteEffect(object, p, [&](const PixelView& src, const PixelView& dst, const SpriteSpan& span) {
    kernel(BlendJob{src, dst, span, PixelFormat});
  });
}

}  // namespace

namespace zoDraw {

int DrawHalfBlend(int x, int y, int object, int sl, int st, int sr, int sb) {
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [](const BlendJob& job) { zo::HalfBlendKernel(job); });
}

int DrawAlphaBlend(int x, int y, float alpha, int object, int sl, int st, int sr, int sb) {
  const float a[3] = {alpha, alpha, alpha};
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::AlphaBlendKernel(job, a); });
}

int DrawAlphaBlendRGB(int x, int y, float alphaR, float alphaG, float alphaB, int object, int sl, int st,
                      int sr, int sb) {
  const float a[3] = {alphaR, alphaG, alphaB};
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::AlphaBlendKernel(job, a); });
}

int DrawAlphaGradient(int x, int y, float alphaR, float alphaG, float alphaB, int vertical,
                      uint16_t start, int every, int object, int sl, int st, int sr, int sb) {
  const float a[3] = {alphaR, alphaG, alphaB};
  const zo::Ramp ramp{vertical, start, every};
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::AlphaGradientKernel(job, a, ramp); });
}

int DrawCrossFade(int x, int y, int level, int object, int sl, int st, int sr, int sb) {
  const int v[3] = {level, level, level};
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::CrossFadeKernel(job, v); });
}

int DrawCrossFadeRGB(int x, int y, int levelR, int levelG, int levelB, int object, int sl, int st,
                     int sr, int sb) {
  const int v[3] = {levelR, levelG, levelB};
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::CrossFadeKernel(job, v); });
}

int DrawCrossFadeGradient(int x, int y, int levelR, int levelG, int levelB, int vertical,
                          uint16_t start, int every, int object, int sl, int st, int sr, int sb) {
  const int v[3] = {levelR, levelG, levelB};
  const zo::Ramp ramp{vertical, start, every};
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::CrossFadeGradientKernel(job, v, ramp); });
}

int DrawAdd(int x, int y, int object, int sl, int st, int sr, int sb) {
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [](const BlendJob& job) { zo::AddKernel(job, 0); });
}

int DrawAddLevel(int x, int y, float level, int object, int sl, int st, int sr, int sb) {
  const int k = zo::AddLevelToK(level);
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [&](const BlendJob& job) { zo::AddKernel(job, k); });
}

int DrawSubtract(int x, int y, int object, int sl, int st, int sr, int sb) {
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [](const BlendJob& job) { zo::SubtractKernel(job); });
}

}  // namespace zoDraw
