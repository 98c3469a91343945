// The region kernels written once over a lane form X (simd/lanes16.h):
// region_kernels.cpp builds them with SSE2 lanes, region_kernels_avx2.cpp
// with AVX2 lanes inside its AVX2 region. Internal linkage, so the two
// builds never meet at link time. No include guard: each of the two files
// includes it once.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/effects/region_kernels.h"
#include "draw/effects/five_bit_lanes.inl"

namespace zo {
namespace {

inline uint16_t* Row(const PixelView& v, int64_t y) { return v.pixels + std::ptrdiff_t(y) * v.pitch; }

// f(k) for k = 0 .. N - 1, unrolled, so that arrays indexed by k stay in
// registers.
template <class F, int... K>
[[gnu::always_inline]] inline void UnrollOver(F f, std::integer_sequence<int, K...>) {
  (f(std::integral_constant<int, K>()), ...);
}
template <int N, class F>
[[gnu::always_inline]] inline void Unroll(F f) {
  UnrollOver(f, std::make_integer_sequence<int, N>());
}

// ---------------------------------------------------------------- channels
//
// A pixel's three 5-bit components side by side in one integer, ten bits
// apart (red at bit 0, green at 10, blue at 20), so that four of them add up
// and shift down together without one channel spilling into the next. The
// layouts without a vector form use it.

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

// A pixel's 5-bit components (red, green, blue).
inline const uint8_t* Five(uint16_t p) { return ComponentTable[p]; }

template <Layout L>
inline uint16_t Pixel5(int r, int g, int b) {
  return uint16_t(r << (L == Layout::k565 ? 11 : 10) | g << (L == Layout::k565 ? 6 : 5) | b);
}

// Lanes 0 and 1 of every four, for the dotted 4x zoom.
const uint16_t kTwoOfFour[16] = {0xFFFF, 0xFFFF, 0, 0, 0xFFFF, 0xFFFF, 0, 0,
                                 0xFFFF, 0xFFFF, 0, 0, 0xFFFF, 0xFFFF, 0, 0};

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

// Columns a row is worked in at a time, for the scratch rows.
const int kChunk = 256;

// --------------------------------------------------------------- smoothing
//
// The rows are cut into chunks, and row r works on chunk c at step r + c:
// its upper neighbours are then done and its lower ones still original. So
// a wave of rows, one per chunk, runs at once. A step sums, row by row in
// vectors, the three neighbours known before the chain (right and down
// original, up done); then eight rows' chains run as the eight 16-bit lanes
// of one vector per channel, the sums turned from rows into columns eight
// pixels at a time and the pixels turned back.

const int kWave = 8;  // rows whose chains run together, one per lane
const int kStride = kChunk + 8;

struct WaveRow {
  uint16_t sums[3][kStride];  // red, green, blue sums of the chunk at hand
  uint16_t left[3];           // the row's last mean so far
  int n;                      // pixels in the chunk at hand
  uint16_t* out;              // where they go
};

// The 8 x 8 block of 16-bit lanes in v turned over: lane k of v[t] becomes
// lane t of v[k].
[[gnu::always_inline]] inline void Transpose8(__m128i v[8]) {
  const __m128i a0 = _mm_unpacklo_epi16(v[0], v[1]), a1 = _mm_unpackhi_epi16(v[0], v[1]);
  const __m128i a2 = _mm_unpacklo_epi16(v[2], v[3]), a3 = _mm_unpackhi_epi16(v[2], v[3]);
  const __m128i a4 = _mm_unpacklo_epi16(v[4], v[5]), a5 = _mm_unpackhi_epi16(v[4], v[5]);
  const __m128i a6 = _mm_unpacklo_epi16(v[6], v[7]), a7 = _mm_unpackhi_epi16(v[6], v[7]);
  const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
  const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
  const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
  const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
  v[0] = _mm_unpacklo_epi64(b0, b4);
  v[1] = _mm_unpackhi_epi64(b0, b4);
  v[2] = _mm_unpacklo_epi64(b1, b5);
  v[3] = _mm_unpackhi_epi64(b1, b5);
  v[4] = _mm_unpacklo_epi64(b2, b6);
  v[5] = _mm_unpackhi_epi64(b2, b6);
  v[6] = _mm_unpacklo_epi64(b3, b7);
  v[7] = _mm_unpackhi_epi64(b3, b7);
}

// Sums of right, up and down per channel into w's scratch (vectors, then
// one by one).
template <class X, Layout L>
void WaveSums(const uint16_t* right, const uint16_t* up, const uint16_t* down, int n, WaveRow* w) {
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount) {
    typename X::V r, g, b;
    Components<X, L>(X::Load(right + i), &r, &g, &b);
    AddComponents<X, L>(X::Load(up + i), &r, &g, &b);
    AddComponents<X, L>(X::Load(down + i), &r, &g, &b);
    X::Store(w->sums[0] + i, r);
    X::Store(w->sums[1] + i, g);
    X::Store(w->sums[2] + i, b);
  }
  for (; i < n; ++i) {
    const uint8_t* c[3] = {Five(right[i]), Five(up[i]), Five(down[i])};
    for (int ch = 0; ch < 3; ++ch) w->sums[ch][i] = uint16_t(c[0][ch] + c[1][ch] + c[2][ch]);
  }
}

// Up to eight rows' chains over their chunks, eight columns a step (the
// chunks are whole steps but a row's last, whose extra lanes are dropped).
// Each channel's mean is max(floor((left + sum) / 4) - fade, 0), that is
// floor(max(left + sum - 4 * fade, 0) / 4): a saturating subtract and a
// shift.
template <Layout L>
void WaveChains(WaveRow* const* rows, int count, const __m128i* fade4) {
  alignas(16) uint16_t start[3][8] = {};
  int longest = 0;
  for (int k = 0; k < count; ++k) {
    for (int ch = 0; ch < 3; ++ch) start[ch][k] = rows[k]->left[ch];
    longest = std::max(longest, rows[k]->n);
  }
  static const uint16_t none[kStride] = {};
  const uint16_t* sums[3][8];
  for (int k = 0; k < 8; ++k)
    for (int ch = 0; ch < 3; ++ch) sums[ch][k] = k < count ? rows[k]->sums[ch] : none;
  __m128i red = _mm_load_si128(reinterpret_cast<const __m128i*>(start[0]));
  __m128i green = _mm_load_si128(reinterpret_cast<const __m128i*>(start[1]));
  __m128i blue = _mm_load_si128(reinterpret_cast<const __m128i*>(start[2]));
  const __m128i fadeRed = fade4[0], fadeGreen = fade4[1], fadeBlue = fade4[2];
  auto mean = [](__m128i left, __m128i sum, __m128i fade) {
    return _mm_srli_epi16(_mm_subs_epu16(_mm_add_epi16(left, sum), fade), 2);
  };
  for (int j = 0; j < longest; j += 8) {
    __m128i r[8], g[8], b[8], px[8];
    Unroll<8>([&](auto k) {
      r[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums[0][k] + j));
      g[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums[1][k] + j));
      b[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums[2][k] + j));
    });
    Transpose8(r);
    Transpose8(g);
    Transpose8(b);
    Unroll<8>([&](auto t) {
      red = mean(red, r[t], fadeRed);
      green = mean(green, g[t], fadeGreen);
      blue = mean(blue, b[t], fadeBlue);
      px[t] = Compose<Sse2Lanes, L>(red, green, blue);
    });
    Transpose8(px);
    Unroll<8>([&](auto k) {
      if (k >= count) return;
      const int n = rows[k]->n - j;
      if (n >= 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rows[k]->out + j), px[k]);
      } else if (n > 0) {
        alignas(16) uint16_t part[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(part), px[k]);
        std::memcpy(rows[k]->out + j, part, size_t(n) * sizeof(uint16_t));
      }
    });
  }
  _mm_store_si128(reinterpret_cast<__m128i*>(start[0]), red);
  _mm_store_si128(reinterpret_cast<__m128i*>(start[1]), green);
  _mm_store_si128(reinterpret_cast<__m128i*>(start[2]), blue);
  for (int k = 0; k < count; ++k)
    for (int ch = 0; ch < 3; ++ch) rows[k]->left[ch] = start[ch][k];
}

template <class X, Layout L>
void SmoothLayout(const PixelView& v, const Inner& in, const Channels& fade) {
  const __m128i fade4[3] = {_mm_set1_epi16(fade.red ? 4 : 0), _mm_set1_epi16(fade.green ? 4 : 0),
                            _mm_set1_epi16(fade.blue ? 4 : 0)};
  const int64_t width = in.x1 - in.x0, height = in.y1 - in.y0;
  // A multiple of eight chunks, each a multiple of eight columns and no
  // more than kChunk: the wave is then eight rows (or sixteen, ...) deep.
  const int64_t chunks = kWave * ((width + kWave * kChunk - 1) / (kWave * kChunk));
  const int64_t chunk = ((width + chunks - 1) / chunks + 7) / 8 * 8;
  // The rows in flight at once, each its scratch by row % slots.
  const int64_t slots = std::min(chunks, height);
  std::vector<WaveRow> scratch(static_cast<size_t>(slots));
  for (int64_t step = 0; step < height + chunks - 1; ++step) {
    // Rows first .. last work on chunks step - first .. step - last.
    const int64_t first = std::max<int64_t>(0, step - chunks + 1), last = std::min(height - 1, step);
    WaveRow* lanes[kWave];
    int count = 0;
    for (int64_t r = first; r <= last; ++r) {
      const int64_t x = in.x0 + (step - r) * chunk, y = in.y0 + r;
      if (x >= in.x1) continue;  // a narrow row has fewer chunks
      WaveRow& w = scratch[size_t(r % slots)];
      w.n = int(std::min<int64_t>(chunk, in.x1 - x));
      uint16_t* row = Row(v, y);
      if (x == in.x0) {
        const uint8_t* c = Five(row[in.x0 - 1]);
        for (int ch = 0; ch < 3; ++ch) w.left[ch] = c[ch];
      }
      w.out = row + x;
      WaveSums<X, L>(row + x + 1, Row(v, y - 1) + x, Row(v, y + 1) + x, w.n, &w);
      lanes[count++] = &w;
      if (count == kWave) {
        WaveChains<L>(lanes, count, fade4);
        count = 0;
      }
    }
    if (count) WaveChains<L>(lanes, count, fade4);
  }
}

template <class X>
void SmoothRows(const RegionJob& job, const Channels& fade) {
  const PixelView& v = job.screen;
  const Inner in = InnerRange(v, int64_t(job.x) + 1, int64_t(job.x) + job.w - 2, int64_t(job.y) + 1,
                              int64_t(job.y) + job.h - 2);
  if (in.empty()) return;
  switch (LayoutOf(job.format)) {
    case Layout::k565: return SmoothLayout<X, Layout::k565>(v, in, fade);
    case Layout::k555: return SmoothLayout<X, Layout::k555>(v, in, fade);
    default: break;
  }
  // Other layouts: one pixel at a time through ComponentTable, the left
  // neighbour read back from the pixel written.
  const uint32_t fadeMask = FieldMask(fade);
  const Pack pack(job.format);
  const UnpackTable unpack;
  for (int64_t py = in.y0; py < in.y1; ++py) {
    uint16_t* row = Row(v, py);
    const uint16_t* up = Row(v, py - 1);
    const uint16_t* down = Row(v, py + 1);
    uint32_t left = unpack(row[in.x0 - 1]);
    for (int64_t px = in.x0; px < in.x1; ++px) {
      const uint16_t out = pack(Mean(left + unpack(row[px + 1]) + unpack(up[px]) + unpack(down[px]), fadeMask));
      row[px] = out;
      left = unpack(out);
    }
  }
}

// ------------------------------------------------------------ rising blur

// up[i] = the (faded) mean of row[i]'s four neighbours where mask[i] is
// set, row[i] elsewhere. Each vector reads up[i] before it writes it.
template <class X, Layout L>
void RiseRow(uint16_t* up, const uint16_t* row, const uint16_t* down, const uint16_t* mask, int n,
             const Channels& fade) {
  using V = typename X::V;
  const V fr = X::Set(fade.red ? 1 : 0), fg = X::Set(fade.green ? 1 : 0), fb = X::Set(fade.blue ? 1 : 0);
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount) {
    V r, g, b;
    Components<X, L>(X::Load(row + i - 1), &r, &g, &b);
    AddComponents<X, L>(X::Load(row + i + 1), &r, &g, &b);
    AddComponents<X, L>(X::Load(up + i), &r, &g, &b);
    AddComponents<X, L>(X::Load(down + i), &r, &g, &b);
    r = X::SubsU(X::template Srl<2>(r), fr);
    g = X::SubsU(X::template Srl<2>(g), fg);
    b = X::SubsU(X::template Srl<2>(b), fb);
    X::Store(up + i, X::Select(X::Load(mask + i), Compose<X, L>(r, g, b), X::Load(row + i)));
  }
  const int flag[3] = {fade.red, fade.green, fade.blue};
  for (; i < n; ++i) {
    if (!mask[i]) {
      up[i] = row[i];
      continue;
    }
    const uint8_t* c[4] = {Five(row[i - 1]), Five(row[i + 1]), Five(up[i]), Five(down[i])};
    int m[3];
    for (int ch = 0; ch < 3; ++ch) {
      m[ch] = (c[0][ch] + c[1][ch] + c[2][ch] + c[3][ch]) >> 2;
      if (flag[ch] && m[ch] > 0) --m[ch];
    }
    up[i] = Pixel5<L>(m[0], m[1], m[2]);
  }
}

// The pixel at which the run stands in RiseMask's stream, or -1 when the
// counter lies outside its entry's run (a state only a caller can set).
int RisePosition(int counter, int cursor) {
  const int start = RiseStart[cursor];
  return counter >= 0 && counter < RiseStart[cursor + 1] - start ? start + counter : -1;
}

template <class X>
void BlurRiseRows(const RegionJob& job, const Channels& fade, NoiseRun& run) {
  const PixelView& v = job.screen;
  // Rows y + 2 .. y + h - 1 are read with their neighbours and written one up.
  const Inner in = InnerRange(v, int64_t(job.x) + 1, int64_t(job.x) + job.w - 2, int64_t(job.y) + 2,
                              int64_t(job.y) + job.h - 1);
  if (in.empty()) return;
  const uint32_t fadeMask = FieldMask(fade);
  const Pack pack(job.format);
  const Layout layout = LayoutOf(job.format);
  if (run.cursor < 0 || run.cursor >= NoiseTableSize) run.cursor = 0;
  int counter = run.counter, cursor = run.cursor;
  // One pixel by the rule itself: the counter steps and meets the entry.
  auto step = [&](auto unpack, const uint16_t* row, uint16_t* up, const uint16_t* down, int64_t px) {
    ++counter;
    if (counter < NoiseTable[cursor]) {
      up[px] = pack(Mean(unpack(row[px - 1]) + unpack(row[px + 1]) + unpack(up[px]) + unpack(down[px]), fadeMask));
    } else {
      up[px] = row[px];
      counter = 0;
      if (cursor == NoiseTableSize - 1)
        ReadNoise(cursor);  // the jump to a random place
      else
        ++cursor;
    }
  };
  if (layout == Layout::Other) {
    const UnpackTable unpack;
    for (int64_t py = in.y0; py < in.y1; ++py)
      for (int64_t px = in.x0; px < in.x1; ++px) step(unpack, Row(v, py), Row(v, py - 1), Row(v, py + 1), px);
    run.counter = counter;
    run.cursor = cursor;
    return;
  }
  // On the two 16-bit layouts the counter follows RiseMask's stream, whose
  // masks choose between the means and the copies a chunk at a time.
  const int end = RiseStart[NoiseTableSize];
  int at = RisePosition(counter, cursor);
  uint16_t mask[kChunk];
  for (int64_t py = in.y0; py < in.y1; ++py) {
    const uint16_t* row = Row(v, py);
    uint16_t* up = Row(v, py - 1);  // read (as the upper neighbour) before it is written
    const uint16_t* down = Row(v, py + 1);
    int64_t px = in.x0;
    for (; at < 0 && px < in.x1; ++px) {
      if (layout == Layout::k565)
        step(Unpack565(), row, up, down, px);
      else
        step(Unpack555(), row, up, down, px);
      if (counter == 0) at = RiseStart[cursor];
    }
    while (px < in.x1) {
      const int n = int(std::min<int64_t>(kChunk, in.x1 - px));
      for (int got = 0; got < n;) {
        const int take = std::min(n - got, end - at);
        std::memcpy(mask + got, RiseMask + at, size_t(take) * sizeof(uint16_t));
        got += take;
        at += take;
        if (at == end) {  // past the last entry: the jump to a random place
          int last = NoiseTableSize - 1;
          ReadNoise(last);
          at = RiseStart[last];
        }
      }
      if (layout == Layout::k565)
        RiseRow<X, Layout::k565>(up + px, row + px, down + px, mask, n, fade);
      else
        RiseRow<X, Layout::k555>(up + px, row + px, down + px, mask, n, fade);
      px += n;
    }
  }
  if (at >= 0) {
    cursor = int(std::upper_bound(RiseStart, RiseStart + NoiseTableSize + 1, at) - RiseStart) - 1;
    counter = at - RiseStart[cursor];
  }
  run.counter = counter;
  run.cursor = cursor;
}

// ------------------------------------------------------------------ zooms

// Buffer columns q .. of row o from source s, F vectors of the row from
// each vector of source pixels, dotted keeping the lanes outside dots;
// returns the first column left.
template <class X, int F, bool Dotted>
int64_t ZoomVectors(uint16_t* o, const uint16_t* s, int64_t q, int64_t q1, typename X::V dots) {
  const int k = X::kCount;
  for (; q + F * k <= q1; q += F * k) {
    typename X::V out[4];
    if (F == 2)
      X::Spread2(X::Load(s + q / F), out);
    else
      X::Spread4(X::Load(s + q / F), out);
    Unroll<F>([&](auto n) {
      X::Store(o + q + n * k, Dotted ? X::Select(dots, out[n], X::Load(o + q + n * k)) : out[n]);
    });
  }
  return q;
}

template <class X>
void ZoomRows(const RegionJob& job, const PixelView& buffer, int factor, int dotted) {
  using V = typename X::V;
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
  // The lanes a dotted block writes: every other one (f 2), or two of four.
  const V dots = f == 2 ? X::Set32(0xFFFF) : X::Load(kTwoOfFour);
  const int k = X::kCount;
  for (int64_t j = j0; j < j1; ++j) {
    const uint16_t* s = Row(v, int64_t(job.y) + j) + job.x;
    uint16_t* o = Row(buffer, f * j);
    int64_t q = q0;  // a multiple of f, so lane n of a vector is column n of a block
    if (f == 2)
      q = dotted ? ZoomVectors<X, 2, true>(o, s, q, q1, dots) : ZoomVectors<X, 2, false>(o, s, q, q1, dots);
    else
      q = dotted ? ZoomVectors<X, 4, true>(o, s, q, q1, dots) : ZoomVectors<X, 4, false>(o, s, q, q1, dots);
    for (; q < q1; ++q)
      if (q % f < part) o[q] = s[q / f];
    // The block's other rows repeat the first; dotted, only the pixels
    // written there, so that the rest keeps the buffer's earlier contents.
    const int64_t rows = std::min<int64_t>(part, int64_t(buffer.height) - f * j);
    for (int64_t a = 1; a < rows; ++a) {
      uint16_t* line = Row(buffer, f * j + a);
      if (part == f) {
        std::memcpy(line + q0, o + q0, size_t(q1 - q0) * sizeof(uint16_t));
        continue;
      }
      int64_t c = q0;
      for (; c + k <= q1; c += k) X::Store(line + c, X::Select(dots, X::Load(o + c), X::Load(line + c)));
      for (; c < q1; ++c)
        if (c % f < part) line[c] = o[c];
    }
  }
}

// ----------------------------------------------------------------- mosaic

// Whole vectors, then eight pixels at a time (small blocks), then one.
template <class X>
inline void Fill(uint16_t* p, int64_t n, uint16_t colour) {
  const typename X::V c = X::Set(colour);
  int64_t i = 0;
  for (; i + X::kCount <= n; i += X::kCount) X::Store(p + i, c);
  if (i + 8 <= n) {
    Sse2Lanes::Store(p + i, Sse2Lanes::Set(colour));
    i += 8;
  }
  for (; i < n; ++i) p[i] = colour;
}

// Row by row: the circle's span of a row is found once and cut into the
// blocks. A block's colour pixel is written only by the block itself, with
// its own colour, so the order of the rows does not change it.
template <class X>
void MosaicRows(const PixelView& v, int screenWidth, int screenHeight, int cx, int cy, int radius, int block) {
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
    const int64_t py = CY + by;
    if (py < 0 || py >= v.height) continue;  // no colour to take
    const int64_t bh = CY + by + B >= SH ? SH - CY - by : B;
    // Rows of the block on the surface and inside the circle's height.
    const int64_t k0 = std::max<int64_t>({0, -(CY + by), -R + 1 - by});
    const int64_t k1 = std::min<int64_t>({bh, int64_t(v.height) - CY - by, R - by});
    const uint16_t* colours = Row(v, py) + CX;
    for (int64_t k = k0; k < k1; ++k) {
      const int64_t n = by + k;
      uint16_t* line = Row(v, CY + n) + CX;
      // |m| <= a where a * a < R * R - n * n.
      int64_t a = -1;
      if (exact) {
        const int64_t room = R * R - n * n;
        if (room <= 0) continue;
        a = int64_t(std::sqrt(double(room - 1)));
        while (a * a > room - 1) --a;
        while ((a + 1) * (a + 1) <= room - 1) ++a;
      }
      for (int64_t bx = x0; bx < x1; bx += B) {
        const int64_t px = CX + bx;
        if (px < 0 || px >= v.width) continue;  // no colour to take
        const uint16_t colour = colours[bx];
        const int64_t bw = CX + bx + B >= SW ? SW - CX - bx : B;
        const int64_t m0 = std::max<int64_t>(bx, -CX), m1 = std::min<int64_t>(bx + bw, int64_t(v.width) - CX);
        if (m1 <= m0) continue;
        if (exact) {
          const int64_t from = std::max(m0, -a), to = std::min(m1, a + 1);
          if (from < to) Fill<X>(line + from, to - from, colour);
        } else {
          for (int64_t m = m0; m < m1; ++m)
            if (std::trunc(std::sqrt(double(m) * double(m) + double(n) * double(n))) < double(R)) line[m] = colour;
        }
      }
    }
  }
}

// ------------------------------------------------------------------ grain

// Adds each entry of noise, shifted left by held, to the flagged components
// of the n pixels of row (vectors only); returns the pixels done.
template <class X, Layout L>
int NoiseRow(uint16_t* row, const int8_t* noise, int64_t n, int held, const Channels& add) {
  using V = typename X::V;
  const V fr = X::Set(add.red ? -1 : 0), fg = X::Set(add.green ? -1 : 0), fb = X::Set(add.blue ? -1 : 0);
  const V top = X::Set(31);
  const __m128i by = _mm_cvtsi32_si128(held);
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount) {
    V r, g, b;
    Components<X, L>(X::Load(row + i), &r, &g, &b);
    const V plus = X::Sll(X::LoadBytes(noise + i), by);
    r = X::Min(X::Add(r, X::And(plus, fr)), top);
    g = X::Min(X::Add(g, X::And(plus, fg)), top);
    b = X::Min(X::Add(b, X::And(plus, fb)), top);
    X::Store(row + i, Compose<X, L>(r, g, b));
  }
  return i;
}

template <class X>
void NoiseRows(const RegionJob& job, const Channels& add, int shift, int& cursor) {
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
  const Layout layout = LayoutOf(job.format);
  if (cursor < 0 || cursor >= NoiseTableSize) cursor = 0;
  WithUnpack(job.format, [&](auto unpack) {
    for (int64_t py = y0; py < y1; ++py) {
      uint16_t* row = Row(v, py);
      int64_t px = x0;
      while (px < x1) {
        // A stretch of entries up to the table's last, which jumps.
        const int64_t n = std::min<int64_t>(x1 - px, NoiseTableSize - 1 - cursor);
        const int8_t* noise = NoiseTable + cursor;
        int64_t k = 0;
        if (layout == Layout::k565) k = NoiseRow<X, Layout::k565>(row + px, noise, n, held, add);
        if (layout == Layout::k555) k = NoiseRow<X, Layout::k555>(row + px, noise, n, held, add);
        for (; k < n; ++k) {
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

}  // namespace
}  // namespace zo
