#include "draw/frame_expand.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "draw/frame_expand_avx2.h"
#include "draw/simd/simd_form.h"

namespace zo {

namespace {

bool ByteChannel(uint32_t mask, int bytes, int* shift) {
  for (int s = 0; s + 8 <= bytes * 8; s += 8) {
    if (mask == (0xFFu << s)) {
      *shift = s;
      return true;
    }
  }
  return false;
}

inline uint32_t Red8(uint16_t p) { return ((p >> 11) << 3) | (p >> 13); }
inline uint32_t Green8(uint16_t p) { return (((p >> 5) & 63) << 2) | ((p >> 9) & 3); }
inline uint32_t Blue8(uint16_t p) { return ((p & 31) << 3) | ((p >> 2) & 7); }

// Eight 5-6-5 pixels to their 8-bit channels in 16-bit lanes. The products
// are the bit replications exactly: (r << 11) * 264 >> 16 = (r * 33) >> 2
// and (g << 5) * 8320 >> 16 = (g * 65) >> 4.
inline void Channels8(__m128i p, __m128i* r, __m128i* g, __m128i* b) {
  const __m128i five = _mm_set1_epi16(264), six = _mm_set1_epi16(8320);
  *r = _mm_mulhi_epu16(_mm_and_si128(p, _mm_set1_epi16(static_cast<short>(0xF800))), five);
  *g = _mm_mulhi_epu16(_mm_and_si128(p, _mm_set1_epi16(0x07E0)), six);
  *b = _mm_mulhi_epu16(_mm_slli_epi16(p, 11), five);
}

// Eight pixels as 0x00RRGGBB in two vectors of four.
inline void Xrgb8(__m128i p, __m128i* lo, __m128i* hi) {
  __m128i r, g, b;
  Channels8(p, &r, &g, &b);
  const __m128i gb = _mm_or_si128(b, _mm_slli_epi16(g, 8));
  *lo = _mm_unpacklo_epi16(gb, r);
  *hi = _mm_unpackhi_epi16(gb, r);
}

// Eight pixels with the channels at any byte positions of a 32-bit pixel.
inline void Shifted8(__m128i p, const __m128i shifts[3], __m128i* lo, __m128i* hi) {
  __m128i c[3];
  Channels8(p, &c[0], &c[1], &c[2]);
  const __m128i zero = _mm_setzero_si128();
  *lo = *hi = zero;
  for (int i = 0; i < 3; ++i) {
    *lo = _mm_or_si128(*lo, _mm_sll_epi32(_mm_unpacklo_epi16(c[i], zero), shifts[i]));
    *hi = _mm_or_si128(*hi, _mm_sll_epi32(_mm_unpackhi_epi16(c[i], zero), shifts[i]));
  }
}

// Stores four 32-bit pixels, each `scale` times side by side (1, 2 or 4
// here; other scales go through ReplicateRow). Aligned rows are written
// past the cache: the frame is read next by the blitter, not by this loop.
template <bool Stream>
inline void Put(uint32_t* out, __m128i v) {
  if (Stream)
    _mm_stream_si128(reinterpret_cast<__m128i*>(out), v);
  else
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
}

template <bool Stream>
inline void Store4(uint32_t* out, __m128i v, int scale) {
  if (scale == 1) {
    Put<Stream>(out, v);
  } else if (scale == 2) {
    Put<Stream>(out, _mm_unpacklo_epi32(v, v));
    Put<Stream>(out + 4, _mm_unpackhi_epi32(v, v));
  } else {
    Put<Stream>(out, _mm_shuffle_epi32(v, 0x00));
    Put<Stream>(out + 4, _mm_shuffle_epi32(v, 0x55));
    Put<Stream>(out + 8, _mm_shuffle_epi32(v, 0xAA));
    Put<Stream>(out + 12, _mm_shuffle_epi32(v, 0xFF));
  }
}

// Spreads the first `width` 32-bit pixels of a row to scale copies each,
// working backwards so that nothing is overwritten before it is read.
void ReplicateRow(uint32_t* row, int width, int scale) {
  for (int x = width - 1; x >= 0; --x) {
    const uint32_t v = row[x];
    uint32_t* out = row + static_cast<std::ptrdiff_t>(x) * scale;
    for (int k = scale - 1; k >= 0; --k) out[k] = v;
  }
}

inline uint32_t* RowAt(uint8_t* out, std::ptrdiff_t pitch, int k) {
  return reinterpret_cast<uint32_t*>(out + k * pitch);
}

// One source row into the `rows` destination rows of a 32-bit format that
// start at out, each pixel `scale` times across (scale 1, 2 or 4). The AVX2
// form, when chosen, takes the row in steps of sixteen and leaves the rest.
template <bool Stream>
void Rows32(const uint16_t* in, uint8_t* out, std::ptrdiff_t pitch, int rows, int width,
            const DeepFormat& f, int scale, bool avx2) {
  const bool xrgb = f.redShift == 16 && f.greenShift == 8 && f.blueShift == 0;
  const __m128i shifts[3] = {_mm_cvtsi32_si128(f.redShift), _mm_cvtsi32_si128(f.greenShift),
                             _mm_cvtsi32_si128(f.blueShift)};
  int x = avx2 ? ExpandRows32Avx2(in, out, pitch, rows, width, f, scale, Stream) : 0;
  for (; x + 8 <= width; x += 8) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
    __m128i lo, hi;
    if (xrgb)
      Xrgb8(p, &lo, &hi);
    else
      Shifted8(p, shifts, &lo, &hi);
    for (int k = 0; k < rows; ++k) {
      uint32_t* at = RowAt(out, pitch, k) + static_cast<std::ptrdiff_t>(x) * scale;
      Store4<Stream>(at, lo, scale);
      Store4<Stream>(at + 4 * scale, hi, scale);
    }
  }
  for (; x < width; ++x) {
    const uint32_t v = ExpandPixel565(in[x], f);
    for (int k = 0; k < rows; ++k)
      for (int i = 0; i < scale; ++i) RowAt(out, pitch, k)[static_cast<std::ptrdiff_t>(x) * scale + i] = v;
  }
}

// One source row at any scale: converted once, spread, then copied down.
void RowScaled32(const uint16_t* in, uint8_t* out, std::ptrdiff_t pitch, int width, const DeepFormat& f,
                 int scale, bool avx2) {
  Rows32<false>(in, out, pitch, 1, width, f, 1, avx2);
  ReplicateRow(RowAt(out, pitch, 0), width, scale);
  const size_t rowBytes = static_cast<size_t>(width) * scale * 4;
  for (int k = 1; k < scale; ++k) std::memcpy(out + k * pitch, out, rowBytes);
}

void Row24(const uint16_t* in, uint8_t* out, std::ptrdiff_t pitch, int width, const DeepFormat& f,
           int scale) {
  uint8_t* at = out;
  for (int x = 0; x < width; ++x) {
    const uint32_t v = ExpandPixel565(in[x], f);
    for (int k = 0; k < scale; ++k, at += 3) {
      at[0] = uint8_t(v);
      at[1] = uint8_t(v >> 8);
      at[2] = uint8_t(v >> 16);
    }
  }
  const size_t rowBytes = static_cast<size_t>(width) * scale * 3;
  for (int k = 1; k < scale; ++k) std::memcpy(out + k * pitch, out, rowBytes);
}

}  // namespace

bool DeepFormatUsable(const DeepFormat& f) {
  if (f.bytesPerPixel != 3 && f.bytesPerPixel != 4) return false;
  const int s[3] = {f.redShift, f.greenShift, f.blueShift};
  for (int i = 0; i < 3; ++i) {
    if (s[i] < 0 || s[i] % 8 != 0 || s[i] + 8 > f.bytesPerPixel * 8) return false;
    for (int j = 0; j < i; ++j)
      if (s[i] == s[j]) return false;
  }
  return true;
}

bool DeepFormatFromMasks(int bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                         DeepFormat* out) {
  DeepFormat f{bitCount / 8, 0, 0, 0};
  if (bitCount % 8 != 0 || (f.bytesPerPixel != 3 && f.bytesPerPixel != 4)) return false;
  if (!ByteChannel(redMask, f.bytesPerPixel, &f.redShift) ||
      !ByteChannel(greenMask, f.bytesPerPixel, &f.greenShift) ||
      !ByteChannel(blueMask, f.bytesPerPixel, &f.blueShift) || !DeepFormatUsable(f))
    return false;
  *out = f;
  return true;
}

uint32_t ExpandPixel565(uint16_t p, const DeepFormat& f) {
  return (Red8(p) << f.redShift) | (Green8(p) << f.greenShift) | (Blue8(p) << f.blueShift);
}

void ExpandFrame565(const PixelView& src, const DeepView& dst, const DeepFormat& f, int scale) {
  if (scale < 1 || !DeepFormatUsable(f) || !src.pixels || !dst.bytes) return;
  const int width = std::min(src.width, dst.width / scale);
  const int height = std::min(src.height, dst.height / scale);
  if (width <= 0 || height <= 0) return;
  const bool vector = f.bytesPerPixel == 4 && (scale == 1 || scale == 2 || scale == 4);
  const bool stream = vector && reinterpret_cast<uintptr_t>(dst.bytes) % 16 == 0 && dst.pitch % 16 == 0;
  // At scale 1 the rows are written at the memory's rate, where the AVX2
  // form measured no faster than SSE2 and less steady; it pays from 2 up.
  const bool avx2 = ActiveSimdForm() == SimdForm::kAvx2 && scale > 1;
  for (int y = 0; y < height; ++y) {
    const uint16_t* in = src.pixels + static_cast<std::ptrdiff_t>(y) * src.pitch;
    uint8_t* out = dst.bytes + static_cast<std::ptrdiff_t>(y) * scale * dst.pitch;
    if (stream)
      Rows32<true>(in, out, dst.pitch, scale, width, f, scale, avx2);
    else if (vector)
      Rows32<false>(in, out, dst.pitch, scale, width, f, scale, avx2);
    else if (f.bytesPerPixel == 4)
      RowScaled32(in, out, dst.pitch, width, f, scale, avx2);
    else
      Row24(in, out, dst.pitch, width, f, scale);
  }
  if (stream) _mm_sfence();  // the streamed rows are seen before anyone reads the frame
}

}  // namespace zo
