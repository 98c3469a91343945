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

// The alpha blends, stepped along a ramp when one is given.
int Alpha(int object, const Placement& p, float red, float green, float blue, const zo::Ramp* ramp) {
  const float a[3] = {red, green, blue};
  return Blend(object, p, [&](const BlendJob& job) {
    ramp ? zo::AlphaGradientKernel(job, a, *ramp) : zo::AlphaBlendKernel(job, a);
  });
}

// The cross-fades, stepped along a ramp when one is given.
int CrossFade(int object, const Placement& p, int red, int green, int blue, const zo::Ramp* ramp) {
  const int v[3] = {red, green, blue};
  return Blend(object, p, [&](const BlendJob& job) {
    ramp ? zo::CrossFadeGradientKernel(job, v, *ramp) : zo::CrossFadeKernel(job, v);
  });
}

}  // namespace

namespace zoDraw {

int DrawHalfBlend(int x, int y, int object, int sl, int st, int sr, int sb) {
  return Blend(object, Placement{x, y, sl, st, sr, sb},
               [](const BlendJob& job) { zo::HalfBlendKernel(job); });
}

int DrawAlphaBlend(int x, int y, float alpha, int object, int sl, int st, int sr, int sb) {
  return DrawAlphaBlendRGB(x, y, alpha, alpha, alpha, object, sl, st, sr, sb);
}

int DrawAlphaBlendRGB(int x, int y, float alphaR, float alphaG, float alphaB, int object, int sl, int st,
                      int sr, int sb) {
  return Alpha(object, Placement{x, y, sl, st, sr, sb}, alphaR, alphaG, alphaB, nullptr);
}

int DrawAlphaGradient(int x, int y, float alphaR, float alphaG, float alphaB, int vertical,
                      uint16_t start, int every, int object, int sl, int st, int sr, int sb) {
  const zo::Ramp ramp{vertical, start, every};
  return Alpha(object, Placement{x, y, sl, st, sr, sb}, alphaR, alphaG, alphaB, &ramp);
}

int DrawCrossFade(int x, int y, int level, int object, int sl, int st, int sr, int sb) {
  return DrawCrossFadeRGB(x, y, level, level, level, object, sl, st, sr, sb);
}

int DrawCrossFadeRGB(int x, int y, int levelR, int levelG, int levelB, int object, int sl, int st,
                     int sr, int sb) {
  return CrossFade(object, Placement{x, y, sl, st, sr, sb}, levelR, levelG, levelB, nullptr);
}

int DrawCrossFadeGradient(int x, int y, int levelR, int levelG, int levelB, int vertical,
                          uint16_t start, int every, int object, int sl, int st, int sr, int sb) {
  const zo::Ramp ramp{vertical, start, every};
  return CrossFade(object, Placement{x, y, sl, st, sr, sb}, levelR, levelG, levelB, &ramp);
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
