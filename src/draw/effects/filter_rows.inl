// The vector filters (darken, grey, channel mask, blur, soft edge), written
// once over a lane form X (simd/lanes16.h): filter_kernels.cpp runs them
// with SSE2 lanes, filter_kernels_avx2.cpp with AVX2 lanes inside its AVX2
// region. Everything here has internal linkage, so the two builds of it
// never meet at link time. No include guard: each of the two files includes
// it once.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/effects/filter_kernels.h"
#include "draw/effects/five_bit_lanes.inl"

namespace zo {
namespace {

const uint16_t* SrcRow(const FilterJob& job, int j) {
  return job.src.pixels + job.span.srcX + std::ptrdiff_t(job.span.srcY + j) * job.src.pitch;
}
uint16_t* DstRow(const FilterJob& job, int j) {
  return job.dst.pixels + job.span.dstX + std::ptrdiff_t(job.span.dstY + j) * job.dst.pitch;
}

int HoldLevel(int v) { return v < 0 ? 0 : v > 31 ? 31 : v; }

inline uint16_t Compose5(const PixelLayout& f, int r, int g, int b) {
  return uint16_t((r << f.fivePos[0]) | (g << f.fivePos[1]) | (b << f.fivePos[2]));
}

// A per-pixel 5-bit filter: Vec on a vector of pixels' components, One on a
// pixel. A vector whose pixels are all transparent is not touched.
template <class X, Layout L, class Op>
void FiveBitRow(uint16_t* d, const uint16_t* s, int w, const Op& op) {
  int i = 0;
  if (L != Layout::Other) {
    for (; i + X::kCount <= w; i += X::kCount) {
      const typename X::V sp = X::Load(s + i), clear = X::CmpEq(sp, X::Zero());
      if (X::AllSet(clear)) continue;
      typename X::V r, g, b;
      Components<X, L>(sp, &r, &g, &b);
      X::Store(d + i, X::Select(clear, X::Load(d + i), op.template Vec<X, L>(r, g, b)));
    }
  }
  for (; i < w; ++i)
    if (s[i]) d[i] = op.One(ComponentTable[s[i]]);
}

template <class X, class Op>
void RunFiveBit(const FilterJob& job, const Op& op) {
  const Layout layout = LayoutOf(job.format);
  for (int j = 0; j < job.span.height; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    switch (layout) {
      case Layout::k565: FiveBitRow<X, Layout::k565>(d, s, job.span.width, op); break;
      case Layout::k555: FiveBitRow<X, Layout::k555>(d, s, job.span.width, op); break;
      default: FiveBitRow<X, Layout::Other>(d, s, job.span.width, op); break;
    }
  }
}

struct DarkenOp {
  int k[3];
  template <class X, Layout L>
  typename X::V Vec(typename X::V r, typename X::V g, typename X::V b) const {
    return Compose<X, L>(X::SubsU(r, X::Set(k[0])), X::SubsU(g, X::Set(k[1])), X::SubsU(b, X::Set(k[2])));
  }
  uint16_t One(const uint8_t* c) const {
    return uint16_t(SubTable[SubIndex(0, c[0], k[0])] | SubTable[SubIndex(1, c[1], k[1])] |
                    SubTable[SubIndex(2, c[2], k[2])]);
  }
};

struct GrayOp {
  const PixelLayout* f;
  template <class X, Layout L>
  typename X::V Vec(typename X::V r, typename X::V g, typename X::V b) const {
    // floor(s / 3) for s <= 93 is floor(s * 21846 / 65536), and m in all
    // three fields is one product (at most 31 * 0x841, below 2^16).
    const typename X::V m = X::MulHiU(X::Add(X::Add(r, g), b), X::Set(21846));
    return X::MulLo(m, X::Set(L == Layout::k565 ? 0x0841 : 0x0421));
  }
  uint16_t One(const uint8_t* c) const {
    const int g = GrayTable[c[0] + c[1] + c[2]];
    return Compose5(*f, g, g, g);
  }
};

template <class X>
void DarkenRows(const FilterJob& job, const int level[3]) {
  const DarkenOp op{{31 - HoldLevel(level[0]), 31 - HoldLevel(level[1]), 31 - HoldLevel(level[2])}};
  RunFiveBit<X>(job, op);
}

template <class X>
void GrayRows(const FilterJob& job) {
  RunFiveBit<X>(job, GrayOp{&job.format});
}

template <class X>
void ChannelMaskRows(const FilterJob& job, uint16_t mask) {
  const typename X::V m = X::Set(mask);
  const int w = job.span.width;
  for (int j = 0; j < job.span.height; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    int i = 0;
    for (; i + X::kCount <= w; i += X::kCount) {
      const typename X::V sp = X::Load(s + i);
      X::Store(d + i, X::Select(X::CmpEq(sp, X::Zero()), X::Load(d + i), X::And(sp, m)));
    }
    for (; i < w; ++i)
      if (s[i]) d[i] = uint16_t(s[i] & mask);
  }
}

// ---------------------------------------------------------------- blur

// floor(h / n) for every h below 65536 from a 16-bit reciprocal that may
// come out one short, and one correction.
template <class X>
struct Divider {
  using V = typename X::V;
  int n;
  V m, nv, nLess;
  explicit Divider(int count)
      : n(count), m(X::Set(count > 1 ? 65536 / count : 0)), nv(X::Set(count)), nLess(X::Set(count - 1)) {}
  V operator()(V h) const {
    if (n == 1) return h;
    const V q = X::MulHiU(h, m);
    const V rest = X::Sub(h, X::MulLo(q, nv));  // below 2n
    return X::Sub(q, X::CmpGt(rest, nLess));
  }
  int operator()(int h) const { return h / n; }
};

// The 5-bit components of one row into three planes.
template <class X>
void RowComponents(Layout layout, const uint16_t* s, int w, uint16_t* r, uint16_t* g, uint16_t* b) {
  int i = 0;
  if (layout != Layout::Other) {
    for (; i + X::kCount <= w; i += X::kCount) {
      typename X::V cr, cg, cb;
      if (layout == Layout::k565)
        Components<X, Layout::k565>(X::Load(s + i), &cr, &cg, &cb);
      else
        Components<X, Layout::k555>(X::Load(s + i), &cr, &cg, &cb);
      X::Store(r + i, cr);
      X::Store(g + i, cg);
      X::Store(b + i, cb);
    }
  }
  for (; i < w; ++i) {
    const uint8_t* c = ComponentTable[s[i]];
    r[i] = c[0];
    g[i] = c[1];
    b[i] = c[2];
  }
}

// sum += add - sub over n lanes, 16-bit wrapping (every true sum fits).
template <class X>
void Slide(uint16_t* sum, const uint16_t* add, const uint16_t* sub, int n) {
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount)
    X::Store(sum + i, X::Sub(X::Add(X::Load(sum + i), X::Load(add + i)), X::Load(sub + i)));
  for (; i < n; ++i) sum[i] = uint16_t(sum[i] + add[i] - sub[i]);
}

// p[0] = 0 and p[i + 1] = p[i] + v[i] over n values, 16-bit wrapping: each
// vector's running sums plus the total of the vectors before, which is the
// only value carried from one vector to the next.
template <class X>
void PrefixSums(uint16_t* p, const uint16_t* v, int n) {
  p[0] = 0;
  typename X::V carry = X::Zero();
  int i = 0;
  for (; i + X::kCount <= n; i += X::kCount) {
    const typename X::V x = X::RunningSum(X::Load(v + i));
    X::Store(p + i + 1, X::Add(x, carry));
    carry = X::Add(carry, X::SpreadLast(x));
  }
  for (uint16_t run = p[i]; i < n; ++i) p[i + 1] = run = uint16_t(run + v[i]);
}

template <class X>
void BlurRows(const FilterJob& job, int size) {
  using V = typename X::V;
  const int w = job.span.width, h = job.span.height;
  if (size < 1) return;
  const int n = BlurSizeFor(size, w, h);
  if (n < 1) return;
  const Layout layout = LayoutOf(job.format);
  const Divider<X> divide(n * n);
  const size_t pad = size_t(w) + 2 * X::kCount;
  // Per channel: the column sums of the block's rows and their running sums
  // along the row; the components of the block's n rows, kept so that a row
  // is split into components once, and of the row about to enter.
  std::vector<uint16_t> store(pad * (3 * size_t(n + 3) + 1), 0);
  uint16_t* column[3] = {&store[0], &store[pad], &store[pad * 2]};
  const uint16_t* zeros = &store[pad * 3 * size_t(n + 3)];
  uint16_t* prefix[3] = {&store[pad * 3], &store[pad * 4], &store[pad * 5]};
  std::vector<uint16_t*> rows(size_t(n + 1) * 3);  // row r of the block at (r % (n + 1)) * 3 + c
  for (size_t k = 0; k < rows.size(); ++k) rows[k] = &store[pad * (6 + k)];
  auto rowOf = [&](int r) { return &rows[size_t(r % (n + 1)) * 3]; };
  std::vector<uint16_t> blurred(size_t(w) + X::kCount);

  for (int r = 0; r < n; ++r) {
    uint16_t** in = rowOf(r);
    RowComponents<X>(layout, SrcRow(job, r), w, in[0], in[1], in[2]);
    for (int c = 0; c < 3; ++c) Slide<X>(column[c], in[c], zeros, w);
  }
  const PixelLayout& f = job.format;
  const int last = w - n;  // the block's first column never passes it
  for (int j = 0; j < h; ++j) {
    if (j > 0 && j <= h - n) {  // the block moves down one row
      uint16_t** in = rowOf(j + n - 1);
      uint16_t** out = rowOf(j - 1);
      RowComponents<X>(layout, SrcRow(job, j + n - 1), w, in[0], in[1], in[2]);
      for (int c = 0; c < 3; ++c) Slide<X>(column[c], in[c], out[c], w);
    }
    if (j <= h - n) {  // further down the block (and so the row) stays
      for (int c = 0; c < 3; ++c) PrefixSums<X>(prefix[c], column[c], w);
      int i = 0;
      if (layout != Layout::Other) {
        for (; i + X::kCount <= last + 1; i += X::kCount) {
          V q[3];
          for (int c = 0; c < 3; ++c) q[c] = divide(X::Sub(X::Load(prefix[c] + i + n), X::Load(prefix[c] + i)));
          X::Store(&blurred[size_t(i)], layout == Layout::k565 ? Compose<X, Layout::k565>(q[0], q[1], q[2])
                                                              : Compose<X, Layout::k555>(q[0], q[1], q[2]));
        }
      }
      for (; i <= last; ++i) {
        int q[3];
        for (int c = 0; c < 3; ++c) q[c] = divide(int(uint16_t(prefix[c][i + n] - prefix[c][i])));
        blurred[size_t(i)] = Compose5(f, q[0], q[1], q[2]);
      }
      for (i = last + 1; i < w; ++i) blurred[size_t(i)] = blurred[size_t(last)];
    }
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    int i = 0;
    for (; i + X::kCount <= w; i += X::kCount) {
      const V sp = X::Load(s + i);
      X::Store(d + i, X::Select(X::CmpEq(sp, X::Zero()), X::Load(d + i), X::Load(&blurred[size_t(i)])));
    }
    for (; i < w; ++i)
      if (s[i]) d[i] = blurred[size_t(i)];
  }
}

// ---------------------------------------------------------------- soft edge

template <class X>
void SoftEdgeRows(const FilterJob& job) {
  using V = typename X::V;
  const int w = job.span.width, h = job.span.height;
  const PixelLayout& f = job.format;
  const V zero = X::Zero();
  // Stands in for the row above the first and below the last: nothing there
  // is transparent.
  std::vector<uint16_t> opaque(size_t(w) + X::kCount, 1);
  for (int j = 0; j < h; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    const uint16_t* up = j > 0 ? SrcRow(job, j - 1) : opaque.data();
    const uint16_t* down = j < h - 1 ? SrcRow(job, j + 1) : opaque.data();
    auto one = [&](int i) {
      const uint16_t p = s[i];
      if (!p) return;
      const uint8_t* c = ComponentTable[p];
      int sum[3] = {c[0], c[1], c[2]};
      int count = 1;
      auto take = [&](bool inside, uint16_t source, uint16_t background) {
        if (!inside || source) return;
        const uint8_t* b = ComponentTable[background];
        sum[0] += b[0];
        sum[1] += b[1];
        sum[2] += b[2];
        ++count;
      };
      take(i > 0, i > 0 ? s[i - 1] : 1, i > 0 ? d[i - 1] : 0);
      take(i < w - 1, i < w - 1 ? s[i + 1] : 1, i < w - 1 ? d[i + 1] : 0);
      take(j > 0, up[i], j > 0 ? d[i - std::ptrdiff_t(job.dst.pitch)] : 0);
      take(j < h - 1, down[i], j < h - 1 ? d[i + std::ptrdiff_t(job.dst.pitch)] : 0);
      d[i] = count < 2 ? p : Compose5(f, sum[0] / count, sum[1] / count, sum[2] / count);
    };
    int i = 0;
    if (w > 0) one(i++);
    // A vector at a time: every visible pixel copied, then those beside a
    // transparent one mixed. The mix reads the destination only under
    // transparent source pixels, which the copy leaves alone.
    for (; i + X::kCount < w; i += X::kCount) {
      const V sp = X::Load(s + i), clear = X::CmpEq(sp, zero);
      const V edge = X::Or(X::Or(X::CmpEq(X::Load(s + i - 1), zero), X::CmpEq(X::Load(s + i + 1), zero)),
                           X::Or(X::CmpEq(X::Load(up + i), zero), X::CmpEq(X::Load(down + i), zero)));
      X::Store(d + i, X::Select(clear, X::Load(d + i), sp));
      for (uint32_t bits = X::LaneBits(X::AndNot(clear, edge)); bits; bits &= bits - 1)
        one(i + __builtin_ctz(bits) / 2);
    }
    for (; i < w; ++i) one(i);
  }
}

}  // namespace
}  // namespace zo
