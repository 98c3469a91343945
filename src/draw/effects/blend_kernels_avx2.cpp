// The AVX2 form of the 5-bit blends, the half blend and the opacity blend's
// vector forms: blend_rows.inl and opacity_rows.inl with sixteen pixels a
// step.
#include <algorithm>
#include <cstddef>

#include "draw/effects/blend_kernels.h"
#include "draw/effects/effect_tables.h"
#include "draw/effects/opacity_forms.h"

// Only what follows is compiled for AVX2; the headers above keep the
// baseline, so their inline functions are the same in every file.
#include "draw/simd/avx2_begin.h"
#include "draw/simd/lanes16_avx2.h"
#include "draw/effects/blend_rows.inl"
#include "draw/effects/opacity_rows.inl"

namespace zo::avx2 {

void HalfBlendKernel(const BlendJob& job) {
  HalfBlendRows<Avx2Lanes>(job);
  _mm256_zeroupper();
}
void CrossFadeKernel(const BlendJob& job, const int level[3]) {
  CrossFadeRows<Avx2Lanes>(job, level);
  _mm256_zeroupper();
}
void CrossFadeGradientKernel(const BlendJob& job, const int level[3], const Ramp& ramp) {
  CrossFadeGradientRows<Avx2Lanes>(job, level, ramp);
  _mm256_zeroupper();
}
void AddKernel(const BlendJob& job, int k) {
  AddRows<Avx2Lanes>(job, k);
  _mm256_zeroupper();
}
void SubtractKernel(const BlendJob& job) {
  SubtractRows<Avx2Lanes>(job);
  _mm256_zeroupper();
}

void FlatFormRows(const OpacityChannels& ch, const FlatForms& forms, const OpacityRows& rows) {
  FlatFormRowsOf<Avx2Lanes>(ch, forms, rows);
  _mm256_zeroupper();
}

void ColumnFormRows(const OpacityChannels& ch, const ColumnWeights& weights, const OpacityRows& rows) {
  ColumnFormRowsOf<Avx2Lanes>(ch, weights, rows);
  _mm256_zeroupper();
}

}  // namespace zo::avx2

#include "draw/simd/avx2_end.h"
