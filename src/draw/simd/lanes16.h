// Sixteen-bit lane operations under one set of names per vector form, so
// that a row kernel written once as a template over the form runs as SSE2
// (eight pixels a step) and, inside an AVX2 region, as AVX2 (sixteen).
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace zo {

struct Sse2Lanes {
  using V = __m128i;
  static constexpr int kCount = 8;
  static V Load(const uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void Store(uint16_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static V Set(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static V Zero() { return _mm_setzero_si128(); }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V Or(V a, V b) { return _mm_or_si128(a, b); }
  static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }  // ~a & b
  static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
  static V Add(V a, V b) { return _mm_add_epi16(a, b); }
  static V Sub(V a, V b) { return _mm_sub_epi16(a, b); }
  static V SubsU(V a, V b) { return _mm_subs_epu16(a, b); }
  static V Min(V a, V b) { return _mm_min_epi16(a, b); }
  static V Max(V a, V b) { return _mm_max_epi16(a, b); }
  static V CmpEq(V a, V b) { return _mm_cmpeq_epi16(a, b); }
  static V CmpGt(V a, V b) { return _mm_cmpgt_epi16(a, b); }
  static V MulHiU(V a, V b) { return _mm_mulhi_epu16(a, b); }
  static V MulLo(V a, V b) { return _mm_mullo_epi16(a, b); }
  static V MulHiS(V a, V b) { return _mm_mulhi_epi16(a, b); }
  // The 32-bit lanes: every pair of signed products summed, the words
  // interleaved from the low or high half (of each 128-bit half), packed
  // back to 16 bits with signed saturation in the same order, and shifted.
  static V Set32(int v) { return _mm_set1_epi32(v); }
  static V MulAdd(V a, V b) { return _mm_madd_epi16(a, b); }
  static V UnpackLo(V a, V b) { return _mm_unpacklo_epi16(a, b); }
  static V UnpackHi(V a, V b) { return _mm_unpackhi_epi16(a, b); }
  static V Pack32(V lo, V hi) { return _mm_packs_epi32(lo, hi); }
  template <int N> static V Sra32(V a) { return _mm_srai_epi32(a, N); }
  template <int N> static V Sll32(V a) { return _mm_slli_epi32(a, N); }
  static V Sra32(V a, __m128i n) { return _mm_sra_epi32(a, n); }
  static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
  template <int N> static V Srl(V a) { return _mm_srli_epi16(a, N); }
  template <int N> static V Sll(V a) { return _mm_slli_epi16(a, N); }
  static V Srl(V a, __m128i n) { return _mm_srl_epi16(a, n); }
  static V Sll(V a, __m128i n) { return _mm_sll_epi16(a, n); }
  static bool AllSet(V mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
  static bool NoneSet(V mask) { return _mm_movemask_epi8(mask) == 0; }
  // Bit 2i set where lane i of a mask is set.
  static uint32_t LaneBits(V mask) { return uint32_t(_mm_movemask_epi8(mask)) & 0x5555u; }
  // The lanes in the opposite order.
  static V Reverse(V v) {
    v = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    return _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
  }
  // mask ? a : b, lane by lane.
  static V Select(V mask, V a, V b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
  // Lane i holds the wrapping sum of lanes 0 to i.
  static V RunningSum(V x) {
    x = _mm_add_epi16(x, _mm_slli_si128(x, 2));
    x = _mm_add_epi16(x, _mm_slli_si128(x, 4));
    return _mm_add_epi16(x, _mm_slli_si128(x, 8));
  }
  // The last lane in every lane.
  static V SpreadLast(V x) { return _mm_shuffle_epi32(_mm_shufflehi_epi16(x, 0xFF), 0xFF); }
  // kCount bytes, each widened to a 16-bit lane with its sign.
  static V LoadBytes(const int8_t* p) {
    const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    return _mm_srai_epi16(_mm_unpacklo_epi8(b, b), 8);
  }
  // The lanes of p, each twice (out[0], out[1]) or four times (out[0..3]), in order.
  static void Spread2(V p, V out[2]) {
    out[0] = _mm_unpacklo_epi16(p, p);
    out[1] = _mm_unpackhi_epi16(p, p);
  }
  static void Spread4(V p, V out[4]) {
    const V lo = _mm_unpacklo_epi16(p, p), hi = _mm_unpackhi_epi16(p, p);
    out[0] = _mm_unpacklo_epi32(lo, lo);
    out[1] = _mm_unpackhi_epi32(lo, lo);
    out[2] = _mm_unpacklo_epi32(hi, hi);
    out[3] = _mm_unpackhi_epi32(hi, hi);
  }
};

}  // namespace zo
