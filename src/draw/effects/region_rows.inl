// The region kernels written once over a lane form X (simd/lanes16.h):
// region_kernels.cpp builds them with SSE2 lanes, region_kernels_avx2.cpp
// with AVX2 lanes inside its AVX2 region. Internal linkage, so the two
// builds never meet at link time. No include guard: each of the two files
// includes it once.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>
#include <type_traits>
#include <utility>

#include "draw/effects/effect_tables.h"
#include "draw/effects/region_kernels.h"

namespace zo {
namespace {

inline uint16_t* Row(const PixelView& v, int64_t y) { return v.pixels + std::ptrdiff_t(y) * v.pitch; }

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

// Vectors of components on the two 16-bit layouts (on 5-5-5 a pixel with
// bit 15 set has none), and back.
template <class X, Layout L>
inline void Components(typename X::V p, typename X::V* r, typename X::V* g, typename X::V* b) {
  const typename X::V five = X::Set(31);
  *r = X::And(X::template Srl<L == Layout::k565 ? 11 : 10>(p), five);
  *g = X::And(X::template Srl<L == Layout::k565 ? 6 : 5>(p), five);
  *b = X::And(p, five);
  if (L == Layout::k555) {
    const typename X::V valid = X::CmpGt(p, X::Set(-1));
    *r = X::And(*r, valid);
    *g = X::And(*g, valid);
    *b = X::And(*b, valid);
  }
}

template <class X, Layout L>
inline typename X::V Compose(typename X::V r, typename X::V g, typename X::V b) {
  return X::Or(X::Or(X::template Sll<L == Layout::k565 ? 11 : 10>(r), X::template Sll<L == Layout::k565 ? 6 : 5>(g)),
               b);
}

// Adds the components of the pixels p to the sums r, g, b.
template <class X, Layout L>
inline void AddComponents(typename X::V p, typename X::V* r, typename X::V* g, typename X::V* b) {
  typename X::V pr, pg, pb;
  Components<X, L>(p, &pr, &pg, &pb);
  *r = X::Add(*r, pr);
  *g = X::Add(*g, pg);
  *b = X::Add(*b, pb);
}

// ------------------------------------------------------------- the chain
//
// The in-place means on the two 16-bit layouts carry components nine bits
// apart (red at bit 0, green at 9, blue at 18): room for 511 in a field.
// A neighbour sum is stored with a bias of 128 per field, less 4 in a
// faded field; then bit 7 of (left + sum) is set exactly where the faded
// mean is above 0.

const uint32_t kChainFives = 0x7C3E1Fu;
const uint32_t kChainOnes = 0x40201u;
const uint32_t kChainHigh = 128 * kChainOnes;

template <Layout L>
inline uint32_t ChainOf(uint32_t p) {
  if (L == Layout::k565) return (p >> 11) | (p >> 6 & 31) << 9 | (p & 31) << 18;
  return p & 0x8000 ? 0 : (p >> 10 & 31) | (p >> 5 & 31) << 9 | (p & 31) << 18;
}

template <Layout L>
inline uint16_t ChainPixel(uint32_t m) {
  const int r = L == Layout::k565 ? 11 : 10, g = L == Layout::k565 ? 6 : 5;
  return uint16_t((m & 31) << r | (m >> 9 & 31) << g | (m >> 18 & 31));
}

uint32_t ChainBias(const Channels& fade) {
  const uint32_t faded = (fade.red ? 1u : 0u) | (fade.green ? 1u << 9 : 0u) | (fade.blue ? 1u << 18 : 0u);
  return kChainHigh - 4 * faded;
}

// The (faded) mean of the four neighbours whose biased sum is x: a field
// without bit 7 is 0.
inline uint32_t ChainMean(uint32_t x) {
  const uint32_t t = x & kChainHigh;
  return (x >> 2) & ((t >> 2) - (t >> 7));
}

// A 32-bit value in every 32-bit lane.
template <class X>
inline typename X::V Set32(uint32_t v) {
  typename X::V a, b;
  X::Zip(X::Set(int(v & 0xFFFF)), X::Set(int(v >> 16)), &a, &b);
  return a;
}

// The chain's form of the sums of three vectors of pixels, as 16-bit halves:
// lo = red | green << 9, hi = blue << 2.
template <class X, Layout L>
inline void ChainHalves(typename X::V p, typename X::V q, typename X::V t, typename X::V* lo, typename X::V* hi) {
  using V = typename X::V;
  const V five = X::Set(31);
  if (L == Layout::k565) {
    // Green summed in place (three of 0x7C0 fit in 16 bits), then moved from
    // bit 6 to bit 9.
    const V green = X::Set(0x7C0);
    const V r = X::Add(X::Add(X::template Srl<11>(p), X::template Srl<11>(q)), X::template Srl<11>(t));
    const V g = X::Add(X::Add(X::And(p, green), X::And(q, green)), X::And(t, green));
    const V b = X::Add(X::Add(X::And(p, five), X::And(q, five)), X::And(t, five));
    *lo = X::Add(r, X::template Sll<3>(g));
    *hi = X::template Sll<2>(b);
    return;
  }
  V r, g, b;
  Components<X, L>(p, &r, &g, &b);
  AddComponents<X, L>(q, &r, &g, &b);
  AddComponents<X, L>(t, &r, &g, &b);
  *lo = X::Or(r, X::template Sll<9>(g));
  *hi = X::template Sll<2>(b);
}

// sums[i] = right[i] + up[i] + down[i] + bias in the chain's form. With
// Check, true when every field of every sum keeps bit 7: no faded mean of
// the run can fall to 0, so the chain may skip the test. Without fading
// every field does.
template <class X, Layout L, bool Check>
bool ChainSums(const uint16_t* right, const uint16_t* up, const uint16_t* down, int n, uint32_t bias,
               uint32_t* sums) {
  using V = typename X::V;
  const V biasV = Set32<X>(bias), high = Set32<X>(kChainHigh);
  V low = X::Zero();
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount) {
    V lo, hi, first, second;
    ChainHalves<X, L>(X::Load(right + i), X::Load(up + i), X::Load(down + i), &lo, &hi);
    X::Zip(lo, hi, &first, &second);
    first = X::Add32(first, biasV);
    second = X::Add32(second, biasV);
    if (Check) low = X::Or(low, X::Or(X::AndNot(first, high), X::AndNot(second, high)));
    X::Store(reinterpret_cast<uint16_t*>(sums + i), first);
    X::Store(reinterpret_cast<uint16_t*>(sums + i + X::kCount / 2), second);
  }
  uint32_t lowTail = 0;
  for (; i < n; ++i) {
    sums[i] = ChainOf<L>(right[i]) + ChainOf<L>(up[i]) + ChainOf<L>(down[i]) + bias;
    lowTail |= ~sums[i] & kChainHigh;
  }
  return !Check || (X::AllSet(X::CmpEq(low, X::Zero())) && !lowTail);
}

// pairs[i] = sums[i] + 4 * sums[i + 1], less the bias of both, for i + 1 < n.
template <class X>
void ChainPairs(const uint32_t* sums, int n, uint32_t* pairs) {
  const uint32_t unbias = 0u - 640 * kChainOnes;
  const typename X::V unbiasV = Set32<X>(unbias);
  int i = 0;
  for (; i + X::kCount / 2 + 1 <= n; i += X::kCount / 2) {
    const typename X::V next = X::Load(reinterpret_cast<const uint16_t*>(sums + i + 1));
    const typename X::V four = X::Add32(X::Add32(next, next), X::Add32(next, next));
    X::Store(reinterpret_cast<uint16_t*>(pairs + i),
             X::Add32(X::Add32(X::Load(reinterpret_cast<const uint16_t*>(sums + i)), four), unbiasV));
  }
  for (; i + 1 < n; ++i) pairs[i] = sums[i] + 4 * sums[i + 1] + unbias;
}

// The serial part: means[i] from means[i - 1] (left before the first) and
// sums[i]. Safe (every field of every sum keeps bit 7), the faded mean is
// the plain floor of (left + sum - 4 * fade) / 4, and two steps fold into
// one: floor((floor((l + a) / 4) + b) / 4) = floor((l + a + 4b) / 16), at
// most 496 per field, so the chain advances two pixels per dependent step of
// three instructions (pairs holds a + 4b).
template <bool Safe>
uint32_t ChainRun(uint32_t left, const uint32_t* sums, const uint32_t* pairs, int n, uint32_t* means) {
  int i = 0;
  if (Safe) {
    for (; i + 2 <= n; i += 2) {
      means[i] = (left + sums[i] - 128 * kChainOnes) >> 2 & kChainFives;
      left = (left + pairs[i]) >> 4 & kChainFives;
      means[i + 1] = left;
    }
  }
  for (; i < n; ++i) means[i] = left = ChainMean(left + sums[i]);
  return left;
}

// Lanes 0 and 1 of every four: the even 32-bit lanes.
const uint16_t kTwoOfFour[16] = {0xFFFF, 0xFFFF, 0, 0, 0xFFFF, 0xFFFF, 0, 0,
                                 0xFFFF, 0xFFFF, 0, 0, 0xFFFF, 0xFFFF, 0, 0};

// out[i] = the pixel of means[i]. With Evens the chain left the even means
// out (it ran two pixels a step over sums that all keep bit 7): each is
// (means[i - 1] + sums[i] - 128) / 4 per field, means[-1] the left
// neighbour before the run.
template <class X, Layout L, bool Evens>
void ChainPixels(const uint32_t* means, const uint32_t* sums, int n, uint16_t* out) {
  using V = typename X::V;
  const V low = X::template Srl32<16>(X::Set(-1)), five = X::Set(31);
  const V even = X::Load(kTwoOfFour), unbias = Set32<X>(0u - 128 * kChainOnes), fives = Set32<X>(kChainFives);
  auto load = [&](int at) {
    const V m = X::Load(reinterpret_cast<const uint16_t*>(means + at));
    if (!Evens) return m;
    const V before = X::Load(reinterpret_cast<const uint16_t*>(means + at - 1));
    const V sum = X::Load(reinterpret_cast<const uint16_t*>(sums + at));
    return X::Select(even, X::And(X::template Srl32<2>(X::Add32(before, X::Add32(sum, unbias))), fives), m);
  };
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount) {
    const V a = load(i), b = load(i + X::kCount / 2);
    const V redGreen = X::Narrow32(X::And(a, low), X::And(b, low));
    const V blue = X::Narrow32(X::template Srl32<16>(a), X::template Srl32<16>(b));
    X::Store(out + i, Compose<X, L>(X::And(redGreen, five), X::template Srl<9>(redGreen), X::template Srl<2>(blue)));
  }
  for (; i < n; ++i)
    out[i] = ChainPixel<L>(Evens && i % 2 == 0 ? (means[i - 1] + sums[i] - 128 * kChainOnes) >> 2 & kChainFives
                                               : means[i]);
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

// Columns a row is worked in at a time, for the scratch rows on the stack.
const int kChunk = 256;

// --------------------------------------------------------------- smoothing
//
// The rows are cut into chunks, and row r works on chunk c at step r + c:
// its upper neighbours are then done and its lower ones still original. So
// a wave of rows runs at once, one per chunk, and their chains, each
// serial, run side by side, four at a time. A step makes the sums of the
// three neighbours known before the chain (right and down original, up
// done) in vectors, runs the chains, and packs the pixels in vectors.

const int kLanes = 4;  // chains run together
const int kStride = kChunk + 8;  // keeps the scratch arrays off 4 KB multiples

struct ChainScratch {
  uint32_t sums[kStride], pairs[kStride];
  uint32_t chain[kStride];  // the left neighbour before the run, then the means
  uint32_t* means() { return chain + 1; }
  uint32_t left;  // the row's last mean so far
  int n;          // pixels in the chunk at hand
  bool safe;      // its chain ran two pixels a step
};

// f(r) for r = 0 .. Count - 1, unrolled, so that arrays indexed by r stay
// in registers.
template <class F, int... R>
[[gnu::always_inline]] inline void EachLane(F f, std::integer_sequence<int, R...>) {
  (f(std::integral_constant<int, R>()), ...);
}

// Count chains over their first m pixels, two a step, the even means left
// to ChainPixels.
template <int Count>
void ChainRunSafe(ChainScratch* const* s, int m) {
  const auto lanes = std::make_integer_sequence<int, Count>();
  uint32_t left[Count];
  EachLane([&](auto r) { left[r] = s[r]->left; }, lanes);
  int i = 0;
  for (; i + 2 <= m; i += 2)
    EachLane(
        [&](auto r) {
          left[r] = (left[r] + s[r]->pairs[i]) >> 4 & kChainFives;
          s[r]->chain[i + 2] = left[r];
        },
        lanes);
  for (; i < m; ++i) EachLane([&](auto r) { s[r]->chain[i + 1] = left[r] = ChainMean(left[r] + s[r]->sums[i]); }, lanes);
  EachLane([&](auto r) { s[r]->left = left[r]; }, lanes);
}

void ChainRunSafe(ChainScratch* const* s, int count, int m) {
  switch (count) {
    case 1: return ChainRunSafe<1>(s, m);
    case 2: return ChainRunSafe<2>(s, m);
    case 3: return ChainRunSafe<3>(s, m);
    default: return ChainRunSafe<kLanes>(s, m);
  }
}

// Where a faded mean may fall to 0 every step takes the full test, one pixel
// a step: Count chains side by side over their first m pixels.
template <int Count>
void ChainRunTested(ChainScratch* const* s, int m) {
  const auto lanes = std::make_integer_sequence<int, Count>();
  uint32_t left[Count];
  EachLane([&](auto r) { left[r] = s[r]->left; }, lanes);
  for (int i = 0; i < m; ++i)
    EachLane([&](auto r) { s[r]->chain[i + 1] = left[r] = ChainMean(left[r] + s[r]->sums[i]); }, lanes);
  EachLane([&](auto r) { s[r]->left = left[r]; }, lanes);
}

void ChainRunTested(ChainScratch* const* s, int count, int m) {
  switch (count) {
    case 1: return ChainRunTested<1>(s, m);
    case 2: return ChainRunTested<2>(s, m);
    case 3: return ChainRunTested<3>(s, m);
    default: return ChainRunTested<kLanes>(s, m);
  }
}

template <class X, Layout L>
void SmoothLayout(const PixelView& v, const Inner& in, const Channels& fade) {
  const uint32_t bias = ChainBias(fade);
  const bool fading = bias != kChainHigh;
  const int64_t width = in.x1 - in.x0, height = in.y1 - in.y0;
  // A multiple of four chunks, as even as can be: the wave is then four
  // rows (or eight, ...) deep.
  const int64_t chunks = kLanes * ((width + kLanes * kChunk - 1) / (kLanes * kChunk));
  const int64_t chunk = (width + chunks - 1) / chunks;
  // The rows in flight at once, each its scratch by row % slots.
  const int64_t slots = std::min(chunks, height);
  std::vector<ChainScratch> scratch(static_cast<size_t>(slots));
  for (int64_t step = 0; step < height + chunks - 1; ++step) {
    // Rows first .. last work on chunks step - first .. step - last.
    const int64_t first = std::max<int64_t>(0, step - chunks + 1), last = std::min(height - 1, step);
    ChainScratch* lanes[kLanes];
    int count = 0;
    bool safe = true;
    auto run = [&] {
      int m = kChunk;
      for (int r = 0; r < count; ++r) {
        m = std::min(m, lanes[r]->n);
        lanes[r]->safe = safe;
      }
      if (safe) {
        for (int r = 0; r < count; ++r) ChainPairs<X>(lanes[r]->sums, lanes[r]->n, lanes[r]->pairs);
        ChainRunSafe(lanes, count, m);
      } else {
        ChainRunTested(lanes, count, m);
      }
      // Only a row's last chunk is short: the rest of the others alone.
      for (int r = 0; r < count; ++r) {
        ChainScratch& c = *lanes[r];
        if (c.n > m)
          c.left = safe ? ChainRun<true>(c.left, c.sums + m, c.pairs + m, c.n - m, c.means() + m)
                        : ChainRun<false>(c.left, c.sums + m, c.pairs + m, c.n - m, c.means() + m);
      }
      count = 0;
      safe = true;
    };
    for (int64_t r = first; r <= last; ++r) {
      const int64_t x = in.x0 + (step - r) * chunk, y = in.y0 + r;
      const int n = int(std::min<int64_t>(chunk, in.x1 - x));
      ChainScratch& c = scratch[size_t(r % slots)];
      c.n = n;
      if (n <= 0) continue;  // a narrow row has fewer chunks
      uint16_t* row = Row(v, y);
      if (x == in.x0) c.left = ChainOf<L>(row[in.x0 - 1]);
      c.chain[0] = c.left;
      const uint16_t *up = Row(v, y - 1) + x, *down = Row(v, y + 1) + x;
      safe &= fading ? ChainSums<X, L, true>(row + x + 1, up, down, n, bias, c.sums)
                     : ChainSums<X, L, false>(row + x + 1, up, down, n, bias, c.sums);
      lanes[count++] = &c;
      if (count == kLanes) run();
    }
    if (count) run();
    for (int64_t r = first; r <= last; ++r) {
      ChainScratch& c = scratch[size_t(r % slots)];
      if (c.n <= 0) continue;
      uint16_t* out = Row(v, in.y0 + r) + in.x0 + (step - r) * chunk;
      if (c.safe)
        ChainPixels<X, L, true>(c.means(), c.sums, c.n, out);
      else
        ChainPixels<X, L, false>(c.means(), c.sums, c.n, out);
    }
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
  const uint32_t bias = ChainBias(fade);
  for (; i < n; ++i)
    up[i] = mask[i] ? ChainPixel<L>(ChainMean(ChainOf<L>(row[i - 1]) + ChainOf<L>(row[i + 1]) +
                                              ChainOf<L>(up[i]) + ChainOf<L>(down[i]) + bias))
                    : row[i];
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
  const V dots = f == 2 ? X::template Srl32<16>(X::Set(-1)) : X::Load(kTwoOfFour);
  const int k = X::kCount;
  for (int64_t j = j0; j < j1; ++j) {
    const uint16_t* s = Row(v, int64_t(job.y) + j) + job.x;
    uint16_t* o = Row(buffer, f * j);
    int64_t q = q0;  // a multiple of f, so lane n of a vector is column n of a block
    if (f == 2) {
      if (dotted)
        for (; q + k <= q1; q += k) X::Store(o + q, X::Select(dots, X::LoadTwice(s + q / 2), X::Load(o + q)));
      else
        for (; q + k <= q1; q += k) X::Store(o + q, X::LoadTwice(s + q / 2));
    } else {
      if (dotted)
        for (; q + k <= q1; q += k) X::Store(o + q, X::Select(dots, X::LoadFourTimes(s + q / 4), X::Load(o + q)));
      else
        for (; q + k <= q1; q += k) X::Store(o + q, X::LoadFourTimes(s + q / 4));
    }
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

template <class X>
inline void Fill(uint16_t* p, int64_t n, uint16_t colour) {
  const typename X::V c = X::Set(colour);
  int64_t i = 0;
  for (; i + X::kCount <= n; i += X::kCount) X::Store(p + i, c);
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
