// The AVX2 forms of the keyed row copy and the fill (mirror_rows.inl with
// sixteen pixels a step) and of the displacement's row.
#include <cstddef>
#include <cstdint>

#include "draw/effects/effect_tables.h"
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

namespace {

// Eight pixels of a displaced row: sp the sprite's pixels, old the row's,
// as 32-bit lanes. A gather reads four bytes a lane, so the red component
// is read from the byte before its record (a pixel 0 is never looked up)
// and the pulled pixel from the pixel before its own (at least one row
// below): no read leaves the table or the surface. Lanes that move nothing
// keep old.
inline __m256i Displaced(const uint16_t* d, __m256i sp, __m256i old, __m256i level, __m256i reach, __m256i pitch) {
  const __m256i zero = _mm256_setzero_si256(), one = _mm256_set1_epi32(1);
  const __m256i drawn = _mm256_cmpgt_epi32(sp, zero);
  const __m256i record = _mm256_sub_epi32(_mm256_add_epi32(sp, _mm256_add_epi32(sp, sp)), one);
  const __m256i words =
      _mm256_mask_i32gather_epi32(zero, reinterpret_cast<const int*>(&::ComponentTable[0][0]), record, drawn, 1);
  const __m256i g = _mm256_sub_epi32(_mm256_and_si256(_mm256_srli_epi32(words, 8), _mm256_set1_epi32(0xFF)), level);
  const __m256i moves =
      _mm256_and_si256(drawn, _mm256_and_si256(_mm256_cmpgt_epi32(g, zero), _mm256_cmpgt_epi32(reach, g)));
  const __m256i at = _mm256_add_epi32(_mm256_setr_epi32(-1, 0, 1, 2, 3, 4, 5, 6), _mm256_mullo_epi32(g, pitch));
  const __m256i pairs =
      _mm256_mask_i32gather_epi32(_mm256_slli_epi32(old, 16), reinterpret_cast<const int*>(d), at, moves, 2);
  return _mm256_srli_epi32(pairs, 16);
}

}  // namespace

int64_t DisplaceRow(uint16_t* d, const uint16_t* s, int64_t i, int64_t end, std::ptrdiff_t pitch, int level,
                    int reach) {
  const __m256i levels = _mm256_set1_epi32(level), reaches = _mm256_set1_epi32(reach);
  const __m256i pitches = _mm256_set1_epi32(int32_t(pitch));
  for (; i + 16 <= end; i += 16) {
    const __m256i sp = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    if (_mm256_testz_si256(sp, sp)) continue;
    __m256i* out = reinterpret_cast<__m256i*>(d + i);
    const __m256i old = _mm256_loadu_si256(out);
    const __m256i p0 = Displaced(d + i, _mm256_cvtepu16_epi32(_mm256_castsi256_si128(sp)),
                                 _mm256_cvtepu16_epi32(_mm256_castsi256_si128(old)), levels, reaches, pitches);
    const __m256i p1 = Displaced(d + i + 8, _mm256_cvtepu16_epi32(_mm256_extracti128_si256(sp, 1)),
                                 _mm256_cvtepu16_epi32(_mm256_extracti128_si256(old, 1)), levels, reaches, pitches);
    // [p0 0-3, p1 0-3 | p0 4-7, p1 4-7], then the middle quarters swapped.
    _mm256_storeu_si256(out, _mm256_permute4x64_epi64(_mm256_packus_epi32(p0, p1), _MM_SHUFFLE(3, 1, 2, 0)));
  }
  _mm256_zeroupper();
  return i;
}

}  // namespace zo::avx2

#include "draw/simd/avx2_end.h"
