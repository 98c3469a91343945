// The AVX2 form of the keyed row copy and the fill: mirror_rows.inl with
// sixteen pixels a step.
#include <cstdint>

#include "draw/effects/mirror_kernels.h"

// Only what follows is compiled for AVX2; the headers above keep the
// baseline, so their inline functions are the same in every file.
#include "draw/simd/avx2_begin.h"
#include "draw/simd/lanes16_avx2.h"
#include "draw/effects/mirror_rows.inl"

namespace zo::avx2 {

void KeyedCopy(uint16_t* d, const uint16_t* s, int n) {
  KeyedCopyRow<Avx2Lanes, false>(d, s, n);
  _mm256_zeroupper();
}

void KeyedCopyReversed(uint16_t* d, const uint16_t* s, int n) {
  KeyedCopyRow<Avx2Lanes, true>(d, s, n);
  _mm256_zeroupper();
}

void Fill(uint16_t* d, uint16_t v, int n) {
  FillRow<Avx2Lanes>(d, v, n);
  _mm256_zeroupper();
}

}  // namespace zo::avx2

#include "draw/simd/avx2_end.h"
