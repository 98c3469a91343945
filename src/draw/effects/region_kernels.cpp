#include "draw/effects/region_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "draw/effects/effect_tables.h"
#include "draw/effects/simd16.h"

namespace zo {

namespace {

inline uint16_t* Row(const PixelView& v, int64_t y) { return v.pixels + std::ptrdiff_t(y) * v.pitch; }

// ---------------------------------------------------------------- channels
//
// A pixel's three 5-bit components side by side in one integer, ten bits
// apart (red at bit 0, green at 10, blue at 20), so that four of them add up
// and shift down together without one channel spilling into the next.

const uint32_t Fives = 0x01F07C1Fu;  // 31 in every field
const uint32_t Ones = 0x00100401u;   // 1 in every field


struct Unpack565 {
  uint32_t operator()(uint32_t p) const { return (p >> 11) | ((p >> 6 & 31) << 10) | ((p & 31) << 20); }
};
struct Unpack555 {  // bit 15 set has no components, as in ComponentTable
  uint32_t operator()(uint32_t p) const {
    return p & 0x8000 ? 0 : (p >> 10 & 31) | ((p >> 5 & 31) << 10) | ((p & 31) << 20);
  }
};
struct UnpackTable {
  uint32_t operator()(uint32_t p) const {
    const uint8_t* c = ComponentTable[p];
    return uint32_t(c[0]) | uint32_t(c[1]) << 10 | uint32_t(c[2]) << 20;
  }
};

struct Pack {
  int r, g, b;
  explicit Pack(const PixelLayout& f) : r(f.fivePos[0]), g(f.fivePos[1]), b(f.fivePos[2]) {}
  uint16_t operator()(uint32_t m) const {
    return uint16_t((m & 31) << r | (m >> 10 & 31) << g | (m >> 20 & 31) << b);
  }
};

uint32_t FieldMask(const Channels& c) {
  return (c.red ? 1u : 0u) | (c.green ? 1u << 10 : 0u) | (c.blue ? 1u << 20 : 0u);
}

// The four-neighbour mean of packed components, lowered by one in the
// fields of fade that are above 0.
inline uint32_t Mean(uint32_t sum, uint32_t fade) {
  const uint32_t m = (sum >> 2) & Fives;
  return m - (((m + Fives) >> 5) & fade);
}

// Fields of 32 or more (at most 127) become 31; pack keeps the low five bits.
inline uint32_t Saturate(uint32_t t) { return t | ((((t >> 5) | (t >> 6)) & Ones) * 31); }

template <class F>
void WithUnpack(const PixelLayout& f, F body) {
  switch (LayoutOf(f)) {
    case Layout::k565: body(Unpack565()); break;
    case Layout::k555: body(Unpack555()); break;
    default: body(UnpackTable()); break;
  }
}

// Inner pixels of a rectangle whose four neighbours all lie on the surface:
// columns [x0, x1), rows [y0, y1), from the rule's own range [lo, hi] of
// columns (rows) inclusive.
struct Inner {
  int64_t x0, x1, y0, y1;
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

Inner InnerRange(const PixelView& v, int64_t colLo, int64_t colHi, int64_t rowLo, int64_t rowHi) {
  Inner in;
  in.x0 = std::max<int64_t>(colLo, 1);
  in.x1 = std::min<int64_t>(colHi, int64_t(v.width) - 2) + 1;
  in.y0 = std::max<int64_t>(rowLo, 1);
  in.y1 = std::min<int64_t>(rowHi, int64_t(v.height) - 2) + 1;
  return in;
}

}  // namespace

void SmoothKernel(const RegionJob& job, const Channels& fade) {
  const PixelView& v = job.screen;
  const Inner in = InnerRange(v, int64_t(job.x) + 1, int64_t(job.x) + job.w - 2, int64_t(job.y) + 1,
                              int64_t(job.y) + job.h - 2);
  if (in.empty()) return;
  const uint32_t fadeMask = FieldMask(fade);
  const Pack pack(job.format);
  const bool roundTrips = LayoutOf(job.format) != Layout::Other;
  WithUnpack(job.format, [&](auto unpack) {
    for (int64_t py = in.y0; py < in.y1; ++py) {
      uint16_t* row = Row(v, py);
      const uint16_t* up = Row(v, py - 1);  // already smoothed
      const uint16_t* down = Row(v, py + 1);
      // The left neighbour is the value just written; it is carried in
      // packed form (on the two 16-bit layouts packing loses nothing).
      uint32_t left = unpack(row[in.x0 - 1]);
      for (int64_t px = in.x0; px < in.x1; ++px) {
        const uint32_t m = Mean(left + unpack(row[px + 1]) + unpack(up[px]) + unpack(down[px]), fadeMask);
        const uint16_t out = pack(m);
        row[px] = out;
        left = roundTrips ? m : unpack(out);
      }
    }
  });
}

void BlurRiseKernel(const RegionJob& job, const Channels& fade, NoiseRun& run) {
  const PixelView& v = job.screen;
  // Rows y + 2 .. y + h - 1 are read with their neighbours and written one up.
  const Inner in = InnerRange(v, int64_t(job.x) + 1, int64_t(job.x) + job.w - 2, int64_t(job.y) + 2,
                              int64_t(job.y) + job.h - 1);
  if (in.empty()) return;
  const uint32_t fadeMask = FieldMask(fade);
  const Pack pack(job.format);
  if (run.cursor < 0 || run.cursor >= NoiseTableSize) run.cursor = 0;
  int counter = run.counter, cursor = run.cursor;
  WithUnpack(job.format, [&](auto unpack) {
    for (int64_t py = in.y0; py < in.y1; ++py) {
      const uint16_t* row = Row(v, py);
      uint16_t* up = Row(v, py - 1);  // read (as the upper neighbour) before it is written
      const uint16_t* down = Row(v, py + 1);
      for (int64_t px = in.x0; px < in.x1; ++px) {
        ++counter;
        if (counter < NoiseTable[cursor]) {
          up[px] = pack(Mean(unpack(row[px - 1]) + unpack(row[px + 1]) + unpack(up[px]) + unpack(down[px]),
                             fadeMask));
        } else {
          up[px] = row[px];
          counter = 0;
          if (cursor == NoiseTableSize - 1)
            ReadNoise(cursor);  // the jump to a random place
          else
            ++cursor;
        }
      }
    }
  });
  run.counter = counter;
  run.cursor = cursor;
}

void ZoomBlitSize(uint32_t w, uint32_t h, int factor, const PixelView& buffer, int* width, int* height) {
  *width = int(std::min<int64_t>(int64_t(factor) * w, buffer.width));
  *height = int(std::min<int64_t>(int64_t(factor) * h, buffer.height));
}

void ZoomKernel(const RegionJob& job, const PixelView& buffer, int factor, int dotted) {
  if (factor != 2 && factor != 4) return;
  const PixelView& v = job.screen;
  const int64_t f = factor;
  // Rectangle pixels that lie on the screen and whose block starts in the buffer.
  const int64_t i0 = std::max<int64_t>(0, -int64_t(job.x));
  const int64_t i1 = std::min<int64_t>({int64_t(job.w), int64_t(v.width) - job.x, (buffer.width + f - 1) / f});
  const int64_t j0 = std::max<int64_t>(0, -int64_t(job.y));
  const int64_t j1 = std::min<int64_t>({int64_t(job.h), int64_t(v.height) - job.y, (buffer.height + f - 1) / f});
  if (i1 <= i0 || j1 <= j0) return;
  const int64_t q0 = f * i0, q1 = std::min<int64_t>(f * i1, buffer.width);  // buffer columns
  // Dotted blocks: the top-left pixel (f 2) or 2 x 2 pixels (f 4).
  const int64_t part = dotted ? f / 2 : f;
  for (int64_t j = j0; j < j1; ++j) {
    const uint16_t* s = Row(v, int64_t(job.y) + j) + job.x;
    uint16_t* o = Row(buffer, f * j);
    int64_t q = q0;
    if (!dotted && f == 2) {
      for (; q + 16 <= q1; q += 16) {
        const __m128i p = Load8(s + q / 2);
        Store8(o + q, _mm_unpacklo_epi16(p, p));
        Store8(o + q + 8, _mm_unpackhi_epi16(p, p));
      }
    } else if (!dotted) {
      for (; q + 32 <= q1; q += 32) {
        const __m128i p = Load8(s + q / 4);
        const __m128i lo = _mm_unpacklo_epi16(p, p), hi = _mm_unpackhi_epi16(p, p);
        Store8(o + q, _mm_unpacklo_epi32(lo, lo));
        Store8(o + q + 8, _mm_unpackhi_epi32(lo, lo));
        Store8(o + q + 16, _mm_unpacklo_epi32(hi, hi));
        Store8(o + q + 24, _mm_unpackhi_epi32(hi, hi));
      }
    } else if (f == 2) {
      const __m128i even = _mm_set1_epi32(0xFFFF);
      for (; q + 16 <= q1; q += 16) {
        const __m128i p = Load8(s + q / 2);
        const __m128i a = Load8(o + q), b = Load8(o + q + 8);
        Store8(o + q, _mm_or_si128(_mm_andnot_si128(even, a), _mm_and_si128(even, _mm_unpacklo_epi16(p, p))));
        Store8(o + q + 8, _mm_or_si128(_mm_andnot_si128(even, b), _mm_and_si128(even, _mm_unpackhi_epi16(p, p))));
      }
    }
    for (; q < q1; ++q)
      if (q % f < part) o[q] = s[q / f];
    // The block's other rows repeat the first; dotted, only the pixels
    // written there, so that the rest keeps the buffer's earlier contents.
    const int64_t rows = std::min<int64_t>(part, int64_t(buffer.height) - f * j);
    for (int64_t a = 1; a < rows; ++a) {
      uint16_t* line = Row(buffer, f * j + a);
      if (part == f)
        std::memcpy(line + q0, o + q0, size_t(q1 - q0) * sizeof(uint16_t));
      else
        for (int64_t k = q0; k < q1; ++k)
          if (k % f < part) line[k] = o[k];
    }
  }
}

void MosaicCircleKernel(const PixelView& v, int screenWidth, int screenHeight, int cx, int cy, int radius,
                        int block) {
  if (block < 1 || radius < 1) return;  // no pixel lies inside a circle of radius 0
  const int64_t R = radius, B = block, CX = cx, CY = cy, SW = screenWidth, SH = screenHeight;
  int64_t x0 = -R, y0 = -R, x1 = R, y1 = R;
  if (CX - R < 0) x0 = -CX;
  if (CY - R < 0) y0 = -CY;
  if (CX + R >= SW) x1 = SW - CX;
  if (CY + R >= SH) y1 = SH - CY;
  // Below 2^25 the test trunc(sqrt(m^2 + n^2)) < R is m^2 + n^2 < R^2 exactly.
  const bool exact = R < (int64_t(1) << 25);
  for (int64_t by = y0; by < y1; by += B) {
    const int64_t bh = CY + by + B >= SH ? SH - CY - by : B;
    // Rows of the block on the surface and inside the circle's height.
    const int64_t k0 = std::max<int64_t>({0, -(CY + by), -R + 1 - by});
    const int64_t k1 = std::min<int64_t>({bh, int64_t(v.height) - CY - by, R - by});
    for (int64_t bx = x0; bx < x1; bx += B) {
      const int64_t px = CX + bx, py = CY + by;
      if (px < 0 || py < 0 || px >= v.width || py >= v.height) continue;  // no colour to take
      const uint16_t colour = Row(v, py)[px];
      const int64_t bw = CX + bx + B >= SW ? SW - CX - bx : B;
      const int64_t m0 = std::max<int64_t>(bx, -CX), m1 = std::min<int64_t>(bx + bw, int64_t(v.width) - CX);
      if (m1 <= m0) continue;
      for (int64_t k = k0; k < k1; ++k) {
        const int64_t n = by + k;
        uint16_t* line = Row(v, CY + n) + CX;
        if (exact) {
          // |m| <= a where a * a < R * R - n * n.
          const int64_t room = R * R - n * n;
          if (room <= 0) continue;
          int64_t a = int64_t(std::sqrt(double(room - 1)));
          while (a * a > room - 1) --a;
          while ((a + 1) * (a + 1) <= room - 1) ++a;
          const int64_t from = std::max(m0, -a), to = std::min(m1, a + 1);
          for (int64_t m = from; m < to; ++m) line[m] = colour;
        } else {
          for (int64_t m = m0; m < m1; ++m)
            if (std::trunc(std::sqrt(double(m) * double(m) + double(n) * double(n))) < double(R)) line[m] = colour;
        }
      }
    }
  }
}

void NoiseKernel(const RegionJob& job, const Channels& add, int shift, int& cursor) {
  const PixelView& v = job.screen;
  const int64_t x0 = std::max<int64_t>(job.x, 0), x1 = std::min<int64_t>(int64_t(job.x) + job.w, v.width);
  const int64_t y0 = std::max<int64_t>(job.y, 0), y1 = std::min<int64_t>(int64_t(job.y) + job.h, v.height);
  if (x1 <= x0 || y1 <= y0) return;
  // Past five, every entry of 1 or 2 saturates as it does at five.
  const int held = std::clamp(shift, 0, 5);
  const uint32_t fields = FieldMask(add);
  uint32_t addOf[3];
  for (int n = 0; n < 3; ++n) addOf[n] = (uint32_t(n) << held) * fields;
  const Pack pack(job.format);
  if (cursor < 0 || cursor >= NoiseTableSize) cursor = 0;
  WithUnpack(job.format, [&](auto unpack) {
    for (int64_t py = y0; py < y1; ++py) {
      uint16_t* row = Row(v, py);
      int64_t px = x0;
      while (px < x1) {
        // A stretch of entries up to the table's last, which jumps.
        const int64_t n = std::min<int64_t>(x1 - px, NoiseTableSize - 1 - cursor);
        const int8_t* noise = NoiseTable + cursor;
        for (int64_t k = 0; k < n; ++k) {
          const uint32_t t = unpack(row[px + k]) + addOf[noise[k]];
          row[px + k] = pack(Saturate(t));
        }
        px += n;
        cursor += int(n);
        if (px < x1) {
          const uint32_t t = unpack(row[px]) + addOf[ReadNoise(cursor)];
          row[px] = pack(Saturate(t));
          ++px;
        }
      }
    }
  });
}

}  // namespace zo
