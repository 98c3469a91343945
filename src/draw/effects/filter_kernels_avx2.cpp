// The AVX2 form of the vector filters: filter_rows.inl with sixteen pixels a
// step, and brightness, whose tables fit the registers only with AVX2's byte
// shuffle.
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

namespace {

// A table of up to 64 bytes looked up sixteen 16-bit lanes at a time, the
// value in each lane's low byte (0 to 63). VPSHUFB reads 16 bytes and gives
// 0 for an index with bit 7 set, so lookup k indexes piece k with
// v + 0x70 - 16k, which has bit 7 set for every v past the piece; the
// pieces are stored as piece k XOR piece k + 1, so that the lookups from the
// value's own piece up XOR to its entry. The high byte's index is 0x80 or
// more and gives 0.
struct ByteTable {
  __m256i piece[4];
  explicit ByteTable(const uint8_t* t) {  // 64 entries
    for (int k = 0; k < 4; ++k) {
      alignas(16) uint8_t p[16];
      for (int i = 0; i < 16; ++i) p[i] = uint8_t(t[16 * k + i] ^ (k < 3 ? t[16 * (k + 1) + i] : 0));
      piece[k] = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(p)));
    }
  }
  __m256i operator()(__m256i v) const {
    __m256i out = _mm256_setzero_si256();
    for (int k = 0; k < 4; ++k) {
      const __m256i index = _mm256_add_epi16(v, _mm256_set1_epi16(short(0x8070 - 16 * k)));
      out = _mm256_xor_si256(out, _mm256_shuffle_epi8(piece[k], index));
    }
    return out;
  }
};

}  // namespace

void BrightnessKernel(const FilterJob& job, const BrightnessTables& t) {
  uint8_t bytes[3][64] = {};
  for (int c = 0; c < 3; ++c)
    for (uint32_t v = 0; v <= t.max[c]; ++v) bytes[c][v] = uint8_t(t.table[c][v] >> t.shift[c]);
  const ByteTable look[3] = {ByteTable(bytes[0]), ByteTable(bytes[1]), ByteTable(bytes[2])};
  __m128i count[3];
  __m256i mask[3];
  for (int c = 0; c < 3; ++c) {
    count[c] = _mm_cvtsi32_si128(t.shift[c]);
    mask[c] = _mm256_set1_epi16(short(t.max[c]));
  }
  const int w = job.span.width;
  for (int j = 0; j < job.span.height; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    int i = 0;
    for (; i + 16 <= w; i += 16) {
      const __m256i sp = Avx2Lanes::Load(s + i), clear = Avx2Lanes::CmpEq(sp, Avx2Lanes::Zero());
      if (Avx2Lanes::AllSet(clear)) continue;
      __m256i out = _mm256_setzero_si256();
      for (int c = 0; c < 3; ++c) {
        const __m256i v = _mm256_and_si256(_mm256_srl_epi16(sp, count[c]), mask[c]);
        out = _mm256_or_si256(out, _mm256_sll_epi16(look[c](v), count[c]));
      }
      Avx2Lanes::Store(d + i, Avx2Lanes::Select(clear, Avx2Lanes::Load(d + i), out));
    }
    for (; i < w; ++i)
      if (s[i]) d[i] = t.Pixel(s[i]);
  }
  _mm256_zeroupper();
}

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
