// The AVX2 form of the sixteen-bit lanes (see lanes16.h). Include it only
// inside an AVX2 region (avx2_begin.h ... avx2_end.h).
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace zo {

struct Avx2Lanes {
  using V = __m256i;
  static constexpr int kCount = 16;
  static V Load(const uint16_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static void Store(uint16_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
  static V Set(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static V Zero() { return _mm256_setzero_si256(); }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V Or(V a, V b) { return _mm256_or_si256(a, b); }
  static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
  static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
  static V Add(V a, V b) { return _mm256_add_epi16(a, b); }
  static V Sub(V a, V b) { return _mm256_sub_epi16(a, b); }
  static V SubsU(V a, V b) { return _mm256_subs_epu16(a, b); }
  static V Min(V a, V b) { return _mm256_min_epi16(a, b); }
  static V Max(V a, V b) { return _mm256_max_epi16(a, b); }
  static V CmpEq(V a, V b) { return _mm256_cmpeq_epi16(a, b); }
  static V CmpGt(V a, V b) { return _mm256_cmpgt_epi16(a, b); }
  static V MulHiU(V a, V b) { return _mm256_mulhi_epu16(a, b); }
  static V MulLo(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static V MulHiS(V a, V b) { return _mm256_mulhi_epi16(a, b); }
  static V Set32(int v) { return _mm256_set1_epi32(v); }
  static V MulAdd(V a, V b) { return _mm256_madd_epi16(a, b); }
  static V UnpackLo(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
  static V UnpackHi(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
  static V Pack32(V lo, V hi) { return _mm256_packs_epi32(lo, hi); }
  template <int N> static V Sra32(V a) { return _mm256_srai_epi32(a, N); }
  template <int N> static V Sll32(V a) { return _mm256_slli_epi32(a, N); }
  static V Sra32(V a, __m128i n) { return _mm256_sra_epi32(a, n); }
  static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
  template <int N> static V Srl(V a) { return _mm256_srli_epi16(a, N); }
  template <int N> static V Sll(V a) { return _mm256_slli_epi16(a, N); }
  static V Srl(V a, __m128i n) { return _mm256_srl_epi16(a, n); }
  static V Sll(V a, __m128i n) { return _mm256_sll_epi16(a, n); }
  static bool AllSet(V mask) { return _mm256_movemask_epi8(mask) == -1; }
  static bool NoneSet(V mask) { return _mm256_movemask_epi8(mask) == 0; }
  static uint32_t LaneBits(V mask) { return uint32_t(_mm256_movemask_epi8(mask)) & 0x55555555u; }
  // Each half's words reversed, then the halves swapped.
  static V Reverse(V v) {
    const V words = _mm256_setr_epi8(14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1,  //
                                     14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1);
    return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(v, words), 0x4E);
  }
  static V Select(V mask, V a, V b) { return _mm256_blendv_epi8(b, a, mask); }
  // Each half summed on its own, then the low half's total added to the
  // high half.
  static V RunningSum(V x) {
    x = _mm256_add_epi16(x, _mm256_slli_si256(x, 2));
    x = _mm256_add_epi16(x, _mm256_slli_si256(x, 4));
    x = _mm256_add_epi16(x, _mm256_slli_si256(x, 8));
    const V lasts = _mm256_shuffle_epi32(_mm256_shufflehi_epi16(x, 0xFF), 0xFF);
    return _mm256_add_epi16(x, _mm256_permute2x128_si256(lasts, lasts, 0x08));
  }
  static V SpreadLast(V x) { return _mm256_permute4x64_epi64(_mm256_shufflehi_epi16(x, 0xFF), 0xFF); }
  static V LoadBytes(const int8_t* p) {
    return _mm256_cvtepi8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  // The unpacks double within each 128-bit half; the permutes restore the order.
  static void Spread2(V p, V out[2]) {
    const V lo = _mm256_unpacklo_epi16(p, p), hi = _mm256_unpackhi_epi16(p, p);
    out[0] = _mm256_permute2x128_si256(lo, hi, 0x20);
    out[1] = _mm256_permute2x128_si256(lo, hi, 0x31);
  }
  static void Spread4(V p, V out[4]) {
    V two[2];
    Spread2(p, two);
    for (int k = 0; k < 2; ++k) {
      const V lo = _mm256_unpacklo_epi32(two[k], two[k]), hi = _mm256_unpackhi_epi32(two[k], two[k]);
      out[2 * k] = _mm256_permute2x128_si256(lo, hi, 0x20);
      out[2 * k + 1] = _mm256_permute2x128_si256(lo, hi, 0x31);
    }
  }
};

}  // namespace zo
