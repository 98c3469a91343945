// The blend kernels' 5-bit rules and the half blend, written once over a
// lane form X (simd/lanes16.h): blend_kernels.cpp runs them with SSE2 lanes,
// blend_kernels_avx2.cpp with AVX2 lanes inside its AVX2 region. Everything
// here has internal linkage, so the two builds of it never meet at link
// time. No include guard: each of the two files includes it once.
#include <algorithm>
#include <cstddef>

#include "draw/effects/blend_kernels.h"
#include "draw/effects/effect_tables.h"
#include "draw/effects/five_bit_lanes.inl"

namespace zo {
namespace {

template <class F>
void ForEachRow(const BlendJob& job, F row) {
  const SpriteSpan& s = job.span;
  const uint16_t* src = job.src.pixels + s.srcX + std::ptrdiff_t(s.srcY) * job.src.pitch;
  uint16_t* dst = job.dst.pixels + s.dstX + std::ptrdiff_t(s.dstY) * job.dst.pitch;
  for (int j = 0; j < s.height; ++j) {
    row(dst, src, j);
    src += job.src.pitch;
    dst += job.dst.pitch;
  }
}

int ClampLevel(int v) { return v < 0 ? 0 : v > 31 ? 31 : v; }

// Each operation gives its rule twice: Vec on a vector of 5-bit components
// (from column col of the span, for ramps along the row), and Entry as the
// table lookup for one channel. The tests hold the two equal for every input.

template <class X>
struct FadeOp {
  typename X::V k[3], level[3];
  int k_[3];
  explicit FadeOp(const int kk[3]) {
    for (int c = 0; c < 3; ++c) {
      k_[c] = kk[c];
      k[c] = X::Set(kk[c]);
      level[c] = X::Set(31 - kk[c]);
    }
  }
  typename X::V Vec(int c, typename X::V s, typename X::V d, int) const {
    return X::Add(X::SubsU(s, k[c]), X::SubsU(d, level[c]));
  }
  uint16_t Entry(int c, int s, int d, int) const { return FadeTable[FadeIndex(c, k_[c], s, d)]; }
};

// k per column, the same for every row; readable a whole vector past the end.
template <class X>
struct FadeColumnsOp {
  const uint16_t* k[3];  // k of column i at k[c][i]
  typename X::V Vec(int c, typename X::V s, typename X::V d, int col) const {
    const typename X::V kk = X::Load(k[c] + col);
    return X::Add(X::SubsU(s, kk), X::SubsU(d, X::Sub(X::Set(31), kk)));
  }
  uint16_t Entry(int c, int s, int d, int col) const { return FadeTable[FadeIndex(c, k[c][col], s, d)]; }
};

template <class X>
struct AddOp {
  typename X::V k, top;
  int k_;
  explicit AddOp(int kk) : k(X::Set(kk)), top(X::Set(31)), k_(kk) {}
  typename X::V Vec(int, typename X::V s, typename X::V d, int) const {
    return X::Min(X::Add(X::SubsU(s, k), d), top);
  }
  uint16_t Entry(int c, int s, int d, int) const { return AddTable[FadeIndex(c, k_, s, d)]; }
};

template <class X>
struct SubOp {
  typename X::V Vec(int, typename X::V s, typename X::V d, int) const { return X::SubsU(d, s); }
  uint16_t Entry(int c, int s, int d, int) const { return SubTable[SubIndex(c, d, s)]; }
};

template <class Op>
inline uint16_t TablePixel(const Op& op, uint16_t s, uint16_t d, int col) {
  const uint8_t* sc = ComponentTable[s];
  const uint8_t* dc = ComponentTable[d];
  return uint16_t(op.Entry(0, sc[0], dc[0], col) | op.Entry(1, sc[1], dc[1], col) |
                  op.Entry(2, sc[2], dc[2], col));
}

template <class Op>
void TableRow(uint16_t* d, const uint16_t* s, int from, int to, const Op& op) {
  for (int i = from; i < to; ++i)
    if (s[i]) d[i] = TablePixel(op, s[i], d[i], i);
}

// X::kCount pixels at a time on 5-6-5 or 5-5-5 (Components).
template <class X, Layout L, class Op>
void VectorRow(uint16_t* d, const uint16_t* s, int w, const Op& op) {
  using V = typename X::V;
  int i = 0;
  for (; i + X::kCount <= w; i += X::kCount) {
    const V sp = X::Load(s + i);
    const V clear = X::CmpEq(sp, X::Zero());
    const V dp = X::Load(d + i);
    V sr, sg, sb, dr, dg, db;
    Components<X, L>(sp, &sr, &sg, &sb);
    Components<X, L>(dp, &dr, &dg, &db);
    const V r = op.Vec(0, sr, dr, i), g = op.Vec(1, sg, dg, i), b = op.Vec(2, sb, db, i);
    X::Store(d + i, X::Select(clear, dp, Compose<X, L>(r, g, b)));
  }
  TableRow(d, s, i, w, op);
}

template <class X, class Op>
void Row(Layout layout, uint16_t* d, const uint16_t* s, int w, const Op& op) {
  switch (layout) {
    case Layout::k565: VectorRow<X, Layout::k565>(d, s, w, op); break;
    case Layout::k555: VectorRow<X, Layout::k555>(d, s, w, op); break;
    default: TableRow(d, s, 0, w, op); break;
  }
}

template <class X, class Op>
void RunTableOp(const BlendJob& job, const Op& op) {
  const Layout layout = LayoutOf(job.format);
  const int w = job.span.width;
  ForEachRow(job, [&](uint16_t* d, const uint16_t* s, int) { Row<X>(layout, d, s, w, op); });
}

template <class X>
void HalfBlendRows(const BlendJob& job) {
  using V = typename X::V;
  const uint16_t half = uint16_t(job.format.halfMask);
  const V mask = X::Set(half);
  const int w = job.span.width;
  ForEachRow(job, [&](uint16_t* d, const uint16_t* s, int) {
    int i = 0;
    for (; i + X::kCount <= w; i += X::kCount) {
      const V sp = X::Load(s + i), dp = X::Load(d + i);
      const V mixed = X::Add(X::And(X::template Srl<1>(sp), mask), X::And(X::template Srl<1>(dp), mask));
      X::Store(d + i, X::Select(X::CmpEq(sp, X::Zero()), dp, mixed));
    }
    for (; i < w; ++i)
      if (s[i]) d[i] = uint16_t(((s[i] >> 1) & half) + ((d[i] >> 1) & half));
  });
}

template <class X>
void CrossFadeRows(const BlendJob& job, const int level[3]) {
  const int k[3] = {31 - ClampLevel(level[0]), 31 - ClampLevel(level[1]), 31 - ClampLevel(level[2])};
  RunTableOp<X>(job, FadeOp<X>(k));
}

template <class X>
void CrossFadeGradientRows(const BlendJob& job, const int level[3], const Ramp& ramp) {
  const int k0[3] = {31 - ClampLevel(level[0]), 31 - ClampLevel(level[1]), 31 - ClampLevel(level[2])};
  auto stepped = [&](int steps, int k[3]) {
    for (int c = 0; c < 3; ++c) k[c] = std::max(k0[c] - steps, 0);
  };
  const SpriteSpan& sp = job.span;
  const Layout layout = LayoutOf(job.format);
  const int w = sp.width;
  if (ramp.vertical) {
    ForEachRow(job, [&](uint16_t* d, const uint16_t* s, int j) {
      int k[3];
      stepped(RampSteps(ramp, sp.firstRow + j), k);
      Row<X>(layout, d, s, w, FadeOp<X>(k));
    });
    return;
  }
  // Per-column k, the same for every row; built a stretch at a time.
  const int chunk = 256;
  uint16_t kr[chunk + X::kCount], kg[chunk + X::kCount], kb[chunk + X::kCount];
  for (int i0 = 0; i0 < w; i0 += chunk) {
    const int n = std::min(chunk, w - i0);
    for (int i = 0; i < n; ++i) {
      int k[3];
      stepped(RampSteps(ramp, sp.firstCol + i0 + i), k);
      kr[i] = uint16_t(k[0]);
      kg[i] = uint16_t(k[1]);
      kb[i] = uint16_t(k[2]);
    }
    FadeColumnsOp<X> op{{kr, kg, kb}};
    ForEachRow(job, [&](uint16_t* d, const uint16_t* s, int) { Row<X>(layout, d + i0, s + i0, n, op); });
  }
}

// The additive blend at k 0 on whole pixels, the three 5-bit fields added
// at once: the low bits of every field summed without reaching the next, the
// carry out of each field's top bit found from both top bits and the carry
// into it, and every field that carried out set to 31. Bit 5 of 5-6-5 (green
// below its top five bits) and bit 15 of 5-5-5 are left 0, as the tables do.
template <class X, Layout L>
void AddWholeRow(uint16_t* d, const uint16_t* s, int w, const AddOp<X>& op) {
  using V = typename X::V;
  const V top = X::Set(L == Layout::k565 ? 0x8410 : 0x4210);  // each field's top bit
  const V low = X::Set(L == Layout::k565 ? 0x7BCF : 0x3DEF);  // the bits below them
  int i = 0;
  for (; i + X::kCount <= w; i += X::kCount) {
    V sp = X::Load(s + i), dp = X::Load(d + i);
    const V clear = X::CmpEq(sp, X::Zero());
    if (X::AllSet(clear)) continue;
    const V keep = dp;
    if (L == Layout::k555) {  // bit 15 set: no components
      sp = X::And(sp, X::CmpGt(sp, X::Set(-1)));
      dp = X::And(dp, X::CmpGt(dp, X::Set(-1)));
    }
    const V lowSum = X::Add(X::And(sp, low), X::And(dp, low));
    const V differ = X::Xor(sp, dp);
    const V carry = X::And(X::Or(X::And(sp, dp), X::And(differ, lowSum)), top);
    const V sum = X::Xor(lowSum, X::And(differ, top));
    // A field's carry bit c becomes the field's five bits: 2c minus the
    // field's lowest bit (red's 2c wraps to 0, leaving 0xF800).
    const V full = X::Sub(X::template Sll<1>(carry), X::template Srl<4>(carry));
    X::Store(d + i, X::Select(clear, keep, X::Or(sum, full)));
  }
  TableRow(d, s, i, w, op);
}

template <class X>
void AddRows(const BlendJob& job, int k) {
  const AddOp<X> op(ClampLevel(k));
  const Layout layout = LayoutOf(job.format);
  const int w = job.span.width;
  if (op.k_ != 0 || layout == Layout::Other) return RunTableOp<X>(job, op);
  ForEachRow(job, [&](uint16_t* d, const uint16_t* s, int) {
    if (layout == Layout::k565)
      AddWholeRow<X, Layout::k565>(d, s, w, op);
    else
      AddWholeRow<X, Layout::k555>(d, s, w, op);
  });
}

template <class X>
void SubtractRows(const BlendJob& job) {
  RunTableOp<X>(job, SubOp<X>());
}

}  // namespace
}  // namespace zo
