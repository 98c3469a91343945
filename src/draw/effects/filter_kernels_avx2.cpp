// The AVX2 form of the vector filters: filter_rows.inl with sixteen pixels a
// step.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/effects/filter_kernels.h"

// Only what follows is compiled for AVX2; the headers above keep the
// baseline, so their inline functions are the same in every file.
#include "draw/simd/avx2_begin.h"
#include "draw/simd/lanes16_avx2.h"
#include "draw/effects/filter_rows.inl"

namespace zo::avx2 {

void DarkenKernel(const FilterJob& job, const int level[3]) {
  DarkenRows<Avx2Lanes>(job, level);
  _mm256_zeroupper();
}
void GrayKernel(const FilterJob& job) {
  GrayRows<Avx2Lanes>(job);
  _mm256_zeroupper();
}
void ChannelMaskKernel(const FilterJob& job, uint16_t mask) {
  ChannelMaskRows<Avx2Lanes>(job, mask);
  _mm256_zeroupper();
}
void BlurKernel(const FilterJob& job, int size) {
  BlurRows<Avx2Lanes>(job, size);
  _mm256_zeroupper();
}
void SoftEdgeKernel(const FilterJob& job) {
  SoftEdgeRows<Avx2Lanes>(job);
  _mm256_zeroupper();
}

}  // namespace zo::avx2

#include "draw/simd/avx2_end.h"
