// The AVX2 form of the rotation's unshaded walk: the table indices of eight
// pixels from their stepped 64-bit sums, the column and row offsets picked
// from the tables and the source pixels gathered, sixteen pixels a step.
#include <cstdint>

#include "draw/effects/rotate_kernels.h"

// Only what follows is compiled for AVX2; the headers above keep the
// baseline, so their inline functions are the same in every file.
#include "draw/simd/avx2_begin.h"

namespace zo::avx2 {

namespace {

// The low 32 bits of the sums of lo (pixels 0 to 3) and hi (4 to 7) shifted
// right by k, in pixel order.
inline __m256i Indices(__m256i lo, __m256i hi, __m128i k) {
  const __m256 a = _mm256_castsi256_ps(_mm256_srl_epi64(lo, k)), b = _mm256_castsi256_ps(_mm256_srl_epi64(hi, k));
  // [a0 a1 b0 b1 | a2 a3 b2 b3], then the middle quarters swapped.
  const __m256i mixed = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
  return _mm256_permute4x64_epi64(mixed, _MM_SHUFFLE(3, 1, 2, 0));
}

// Eight source pixels at row + col, 0 where either is negative. A gather
// reads four bytes a lane, so each lane reads the pixel before its own and
// takes the upper half: never past the last pixel the tables name. A lane
// at offset 0 would read before the first one; it is not read and takes
// first (src[0] in the upper half) instead.
inline __m256i Texels(const uint16_t* src, __m256i col, __m256i row, __m256i first) {
  const __m256i outside = _mm256_srai_epi32(_mm256_or_si256(col, row), 31);
  const __m256i at = _mm256_andnot_si256(outside, _mm256_add_epi32(row, col));
  const __m256i read = _mm256_cmpgt_epi32(at, _mm256_setzero_si256());
  const __m256i pairs =
      _mm256_mask_i32gather_epi32(_mm256_andnot_si256(outside, first), reinterpret_cast<const int*>(src),
                                  _mm256_sub_epi32(at, _mm256_set1_epi32(1)), read, 2);
  return _mm256_srli_epi32(pairs, 16);
}

// The sums of eight pixels of one axis, stepping eight pixels on. The sums
// give floor quotients of values that move by at most 360 a pixel, so the
// eight indices lie within eight entries from the lowest: one load and a
// permute instead of a gather.
struct Sums {
  int64_t a, step, last;  // pixel 0's sum, eight steps, seven steps
  int k;
  __m256i lo, hi, steps;
  __m128i shift;
  Sums(int64_t a0, int64_t da, int k0)
      : a(a0),
        step(8 * da),
        last(7 * da),
        k(k0),
        lo(_mm256_setr_epi64x(a0, a0 + da, a0 + 2 * da, a0 + 3 * da)),
        hi(_mm256_add_epi64(lo, _mm256_set1_epi64x(4 * da))),
        steps(_mm256_set1_epi64x(8 * da)),
        shift(_mm_cvtsi32_si128(k0)) {}
  // The table entries of the next eight pixels; the table holds 8 entries
  // past its last index.
  __m256i Next(const int32_t* table) {
    const int64_t base = (last < 0 ? a + last : a) >> k;
    const __m256i rel = _mm256_sub_epi32(Indices(lo, hi, shift), _mm256_set1_epi32(int32_t(base)));
    const __m256i at =
        _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(table + base)), rel);
    a += step;
    lo = _mm256_add_epi64(lo, steps);
    hi = _mm256_add_epi64(hi, steps);
    return at;
  }
};

}  // namespace

int64_t RotateWalk(uint16_t* d, const uint16_t* src, const int32_t* cols, const int32_t* rows, int64_t au, int64_t du,
                   int ku, int64_t av, int64_t dv, int kv, int64_t n) {
  Sums u(au, du, ku), v(av, dv, kv);
  const __m256i first = _mm256_set1_epi32(int32_t(uint32_t(src[0]) << 16));
  int64_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m256i p0 = Texels(src, u.Next(cols), v.Next(rows), first);
    const __m256i p1 = Texels(src, u.Next(cols), v.Next(rows), first);
    // [p0 0-3, p1 0-3 | p0 4-7, p1 4-7], then the middle quarters swapped.
    const __m256i shown = _mm256_permute4x64_epi64(_mm256_packus_epi32(p0, p1), _MM_SHUFFLE(3, 1, 2, 0));
    __m256i* out = reinterpret_cast<__m256i*>(d + i);
    const __m256i clear = _mm256_cmpeq_epi16(shown, _mm256_setzero_si256());
    _mm256_storeu_si256(out, _mm256_blendv_epi8(shown, _mm256_loadu_si256(out), clear));
  }
  _mm256_zeroupper();
  return i;
}

}  // namespace zo::avx2

#include "draw/simd/avx2_end.h"
