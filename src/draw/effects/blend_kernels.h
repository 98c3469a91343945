// Pixel work of the blend blits: a sprite span mixed into the back surface.
// Source value 0 is transparent. The kernels follow the table rules exactly;
// on the two 16-bit layouts they compute them eight pixels at a time, sixteen
// in the AVX2 form.
#pragma once

#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "zo/draw_state.h"

namespace zo {

// One parameter record for every kernel of the family.
struct BlendJob {
  PixelView src, dst;   // whole locked surfaces
  SpriteSpan span;      // inside both
  PixelLayout format;
};

// A stepped ramp: past position start, one step every `every` positions,
// along rows (vertical) or along the columns of each row.
struct Ramp {
  int vertical;
  uint16_t start;
  int every;
};

// ((s >> 1) & halfMask) + ((d >> 1) & halfMask).
void HalfBlendKernel(const BlendJob& job);

// Per full-width channel trunc(alpha * s + (1 - alpha) * d). Alphas are held
// to 0..1 so that no channel spills into its neighbour.
void AlphaBlendKernel(const BlendJob& job, const float alpha[3]);
void AlphaGradientKernel(const BlendJob& job, const float alpha[3], const Ramp& ramp);

// Per 5-bit channel FadeTable[ch][31 - level][s][d]; levels held to 0..31.
void CrossFadeKernel(const BlendJob& job, const int level[3]);
void CrossFadeGradientKernel(const BlendJob& job, const int level[3], const Ramp& ramp);

// Per 5-bit channel AddTable[ch][k][s][d]; k held to 0..31.
void AddKernel(const BlendJob& job, int k);

// Per 5-bit channel SubTable[ch][d][s].
void SubtractKernel(const BlendJob& job);

// k of the additive blend with level: trunc(31 - 31 * level), held to 0..31.
int AddLevelToK(float level);

// Steps a ramp has taken up to and including position p.
int RampSteps(const Ramp& ramp, int p);

// Holds an opacity to 0..1 (NaN counts as 0).
float ClampAlpha(float alpha);

// The AVX2 forms (blend_kernels_avx2.cpp), which the kernels above call
// themselves when ActiveSimdForm() says AVX2.
namespace avx2 {
void HalfBlendKernel(const BlendJob& job);
void CrossFadeKernel(const BlendJob& job, const int level[3]);
void CrossFadeGradientKernel(const BlendJob& job, const int level[3], const Ramp& ramp);
void AddKernel(const BlendJob& job, int k);
void SubtractKernel(const BlendJob& job);
}  // namespace avx2

}  // namespace zo
