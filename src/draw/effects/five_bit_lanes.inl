// The 5-bit components of a vector of 16-bit pixels on the two known
// layouts, and back, over a lane form X (simd/lanes16.h), for the row files
// (*_rows.inl) that both vector forms build. Internal linkage: an AVX2 file
// includes it inside its AVX2 region, an SSE2 file outside.
#pragma once

#include "draw/effects/effect_frame.h"

namespace zo {
namespace {

// The components as ComponentTable gives them: 5-6-5's green by its top
// five bits, and on 5-5-5 a pixel with bit 15 set has none.
template <class X, Layout L>
inline void Components(typename X::V p, typename X::V* r, typename X::V* g, typename X::V* b) {
  const typename X::V five = X::Set(31);
  // 5-6-5's red is the top five bits: the shift leaves nothing to mask.
  *r = L == Layout::k565 ? X::template Srl<11>(p) : X::And(X::template Srl<10>(p), five);
  *g = X::And(X::template Srl<L == Layout::k565 ? 6 : 5>(p), five);
  *b = X::And(p, five);
  if (L == Layout::k555) {
    const typename X::V valid = X::CmpGt(p, X::Set(-1));
    *r = X::And(*r, valid);
    *g = X::And(*g, valid);
    *b = X::And(*b, valid);
  }
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

template <class X, Layout L>
inline typename X::V Compose(typename X::V r, typename X::V g, typename X::V b) {
  return X::Or(X::Or(X::template Sll<L == Layout::k565 ? 11 : 10>(r), X::template Sll<L == Layout::k565 ? 6 : 5>(g)),
               b);
}

}  // namespace
}  // namespace zo
