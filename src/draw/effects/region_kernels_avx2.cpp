// The AVX2 form of the region kernels: region_rows.inl with sixteen pixels
// a step.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/effects/region_kernels.h"
#include "draw/simd/lanes16.h"

// Only what follows is compiled for AVX2; the headers above keep the
// baseline, so their inline functions are the same in every file.
#include "draw/simd/avx2_begin.h"
#include "draw/simd/lanes16_avx2.h"
#include "draw/effects/region_rows.inl"

namespace zo::avx2 {

void SmoothKernel(const RegionJob& job, const Channels& fade) {
  SmoothRows<Avx2Lanes>(job, fade);
  _mm256_zeroupper();
}

void BlurRiseKernel(const RegionJob& job, const Channels& fade, NoiseRun& run) {
  BlurRiseRows<Avx2Lanes>(job, fade, run);
  _mm256_zeroupper();
}

void ZoomKernel(const RegionJob& job, const PixelView& buffer, int factor, int dotted) {
  ZoomRows<Avx2Lanes>(job, buffer, factor, dotted);
  _mm256_zeroupper();
}

void MosaicCircleKernel(const PixelView& screen, int screenWidth, int screenHeight, int cx, int cy, int radius,
                        int block) {
  MosaicRows<Avx2Lanes>(screen, screenWidth, screenHeight, cx, cy, radius, block);
  _mm256_zeroupper();
}

void NoiseKernel(const RegionJob& job, const Channels& add, int shift, int& cursor) {
  NoiseRows<Avx2Lanes>(job, add, shift, cursor);
  _mm256_zeroupper();
}

}  // namespace zo::avx2

#include "draw/simd/avx2_end.h"
