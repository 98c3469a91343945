// The per-pixel 5-bit filters (darken, grey), written once over a lane form
// X (simd/lanes16.h): filter_kernels.cpp runs them with SSE2 lanes,
// filter_kernels_avx2.cpp with AVX2 lanes inside its AVX2 region. Everything
// here has internal linkage, so the two builds of it never meet at link
// time. No include guard: each of the two files includes it once.
#include <cstddef>

#include "draw/effects/effect_tables.h"
#include "draw/effects/filter_kernels.h"

namespace zo {
namespace {

const uint16_t* SrcRow(const FilterJob& job, int j) {
  return job.src.pixels + job.span.srcX + std::ptrdiff_t(job.span.srcY + j) * job.src.pitch;
}
uint16_t* DstRow(const FilterJob& job, int j) {
  return job.dst.pixels + job.span.dstX + std::ptrdiff_t(job.span.dstY + j) * job.dst.pitch;
}

int HoldLevel(int v) { return v < 0 ? 0 : v > 31 ? 31 : v; }

// The 5-bit components of a vector of pixels as ComponentTable gives them
// (on 5-5-5 a pixel with bit 15 set has none).
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
    // floor(s / 3) for s <= 93 is floor(s * 21846 / 65536).
    const typename X::V m = X::MulHiU(X::Add(X::Add(r, g), b), X::Set(21846));
    return Compose<X, L>(m, m, m);
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

}  // namespace
}  // namespace zo
