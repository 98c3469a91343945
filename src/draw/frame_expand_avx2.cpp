#include "draw/frame_expand_avx2.h"

#include "draw/simd/avx2_begin.h"

namespace zo {

namespace {

// Sixteen pixels' 8-bit channels in 16-bit lanes, by the products of the
// SSE2 form (see frame_expand.cpp).
inline void Channels16(__m256i p, __m256i c[3]) {
  const __m256i five = _mm256_set1_epi16(264), six = _mm256_set1_epi16(8320);
  c[0] = _mm256_mulhi_epu16(_mm256_and_si256(p, _mm256_set1_epi16(static_cast<short>(0xF800))), five);
  c[1] = _mm256_mulhi_epu16(_mm256_and_si256(p, _mm256_set1_epi16(0x07E0)), six);
  c[2] = _mm256_mulhi_epu16(_mm256_slli_epi16(p, 11), five);
}

// Sixteen pixels as two vectors of eight 32-bit pixels in order. The quads
// are crossed first so that the in-lane unpacks give pixels 0-7 and 8-15.
inline void Pixels16(__m256i p, const DeepFormat& f, const __m128i shifts[3], __m256i* lo, __m256i* hi) {
  __m256i c[3];
  Channels16(_mm256_permute4x64_epi64(p, 0xD8), c);
  const __m256i zero = _mm256_setzero_si256();
  if (f.redShift == 16 && f.greenShift == 8 && f.blueShift == 0) {
    const __m256i gb = _mm256_or_si256(c[2], _mm256_slli_epi16(c[1], 8));
    *lo = _mm256_unpacklo_epi16(gb, c[0]);
    *hi = _mm256_unpackhi_epi16(gb, c[0]);
    return;
  }
  *lo = *hi = zero;
  for (int i = 0; i < 3; ++i) {
    *lo = _mm256_or_si256(*lo, _mm256_sll_epi32(_mm256_unpacklo_epi16(c[i], zero), shifts[i]));
    *hi = _mm256_or_si256(*hi, _mm256_sll_epi32(_mm256_unpackhi_epi16(c[i], zero), shifts[i]));
  }
}

// How the rows are written: through the cache, or past it in whole vectors
// where they lie on 32 bytes and in halves where only on 16.
enum class Stream { kNone, kHalves, kWhole };

inline void Put(uint32_t* out, __m256i v, Stream stream) {
  if (stream == Stream::kWhole) {
    _mm256_stream_si256(reinterpret_cast<__m256i*>(out), v);
  } else if (stream == Stream::kHalves) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(v));
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + 4), _mm256_extracti128_si256(v, 1));
  } else {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v);
  }
}

// Eight 32-bit pixels, each `scale` times side by side.
inline void Store8(uint32_t* out, __m256i v, int scale, Stream stream) {
  if (scale == 1) {
    Put(out, v, stream);
  } else if (scale == 2) {
    const __m256i a = _mm256_unpacklo_epi32(v, v), b = _mm256_unpackhi_epi32(v, v);
    Put(out, _mm256_permute2x128_si256(a, b, 0x20), stream);
    Put(out + 8, _mm256_permute2x128_si256(a, b, 0x31), stream);
  } else {
    for (int q = 0; q < 4; ++q) {
      const __m256i pick = _mm256_setr_epi32(2 * q, 2 * q, 2 * q, 2 * q, 2 * q + 1, 2 * q + 1, 2 * q + 1, 2 * q + 1);
      Put(out + 8 * q, _mm256_permutevar8x32_epi32(v, pick), stream);
    }
  }
}

}  // namespace

int ExpandRows32Avx2(const uint16_t* in, uint8_t* out, std::ptrdiff_t pitch, int rows, int width,
                     const DeepFormat& f, int scale, bool mayStream) {
  const bool whole = reinterpret_cast<uintptr_t>(out) % 32 == 0 && pitch % 32 == 0;
  const Stream stream = !mayStream ? Stream::kNone : whole ? Stream::kWhole : Stream::kHalves;
  const __m128i shifts[3] = {_mm_cvtsi32_si128(f.redShift), _mm_cvtsi32_si128(f.greenShift),
                             _mm_cvtsi32_si128(f.blueShift)};
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    __m256i lo, hi;
    Pixels16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x)), f, shifts, &lo, &hi);
    for (int k = 0; k < rows; ++k) {
      uint32_t* at = reinterpret_cast<uint32_t*>(out + k * pitch) + static_cast<std::ptrdiff_t>(x) * scale;
      Store8(at, lo, scale, stream);
      Store8(at + 8 * scale, hi, scale, stream);
    }
  }
  _mm256_zeroupper();
  return x;
}

}  // namespace zo

#include "draw/simd/avx2_end.h"
