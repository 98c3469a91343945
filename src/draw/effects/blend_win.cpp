// The blend blits: the effect frame around the blend kernels.
#include "draw/effects/blend_kernels.h"
#include "draw/effects/effect_frame_win.h"
#include "zo/effects.h"

namespace {

using zo::BlendJob;
using zo::PixelView;
using zo::SpriteSpan;

template <class F>
int Blend(int x, int y, int obj, int l, int t, int r, int b, F kernel) {
  return zo::RunSpriteEffect(x, y, obj, l, t, r, b,
                             [&](const PixelView& src, const PixelView& dst, const SpriteSpan& span) {
                               kernel(BlendJob{src, dst, span, PixelFormat});
                             });
}

}  // namespace

namespace zoDraw {

int DrawHalfBlend(int x, int y, int obj, int l, int t, int r, int b) {
  return Blend(x, y, obj, l, t, r, b,
               [](const BlendJob& job) { zo::HalfBlendKernel(job); });
}

int DrawAlphaBlend(int x, int y, float alpha, int obj, int l, int t, int r, int b) {
  const float a[3] = {alpha, alpha, alpha};
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::AlphaBlendKernel(job, a); });
}

int DrawAlphaBlendRGB(int x, int y, float alphaR, float alphaG, float alphaB, int obj, int l, int t,
                      int r, int b) {
  const float a[3] = {alphaR, alphaG, alphaB};
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::AlphaBlendKernel(job, a); });
}

int DrawAlphaGradient(int x, int y, float alphaR, float alphaG, float alphaB, int vertical,
                      uint16_t start, int every, int obj, int l, int t, int r, int b) {
  const float a[3] = {alphaR, alphaG, alphaB};
  const zo::Ramp ramp{vertical, start, every};
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::AlphaGradientKernel(job, a, ramp); });
}

int DrawCrossFade(int x, int y, int level, int obj, int l, int t, int r, int b) {
  const int v[3] = {level, level, level};
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::CrossFadeKernel(job, v); });
}

int DrawCrossFadeRGB(int x, int y, int levelR, int levelG, int levelB, int obj, int l, int t, int r,
                     int b) {
  const int v[3] = {levelR, levelG, levelB};
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::CrossFadeKernel(job, v); });
}

int DrawCrossFadeGradient(int x, int y, int levelR, int levelG, int levelB, int vertical,
                          uint16_t start, int every, int obj, int l, int t, int r, int b) {
  const int v[3] = {levelR, levelG, levelB};
  const zo::Ramp ramp{vertical, start, every};
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::CrossFadeGradientKernel(job, v, ramp); });
}

int DrawAdd(int x, int y, int obj, int l, int t, int r, int b) {
  return Blend(x, y, obj, l, t, r, b,
               [](const BlendJob& job) { zo::AddKernel(job, 0); });
}

int DrawAddLevel(int x, int y, float level, int obj, int l, int t, int r, int b) {
  const int k = zo::AddLevelToK(level);
  return Blend(x, y, obj, l, t, r, b,
               [&](const BlendJob& job) { zo::AddKernel(job, k); });
}

int DrawSubtract(int x, int y, int obj, int l, int t, int r, int b) {
  return Blend(x, y, obj, l, t, r, b,
               [](const BlendJob& job) { zo::SubtractKernel(job); });
}

}  // namespace zoDraw
