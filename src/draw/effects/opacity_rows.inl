// The opacity blend's lane and pair forms (opacity_weights.h), written once
// over a lane form X (simd/lanes16.h): blend_kernels.cpp runs them with SSE2
// lanes, blend_kernels_avx2.cpp with AVX2 lanes inside its AVX2 region.
// Everything here has internal linkage. No include guard: each of the two
// files includes it once.
#include "draw/effects/opacity_forms.h"

namespace zo {
namespace {

template <class X>
struct LaneChannels {
  using V = typename X::V;
  __m128i count[3];
  V mask[3];
  V keep;  // every channel bit of a pixel
  explicit LaneChannels(const OpacityChannels& ch) {
    int bits = 0;
    for (int c = 0; c < 3; ++c) {
      count[c] = _mm_cvtsi32_si128(ch.shift[c]);
      mask[c] = X::Set(int(ch.max[c]));
      bits |= int(ch.max[c]) << ch.shift[c];
    }
    keep = X::Set(bits);
  }
};

// Channel c of a vector of pixels, and a result moved back into its place;
// the two known layouts with fixed shifts (and no mask where the shift
// leaves none to do). Always inlined: GCC for Windows otherwise clones them
// outside the AVX2 region and warns of a changed vector ABI.
template <class X, Layout L>
[[gnu::always_inline]] inline typename X::V Component(const LaneChannels<X>& ch, typename X::V v, int c) {
  if (L == Layout::k565 && c == 0) return X::template Srl<11>(v);
  if (L == Layout::k565 && c == 1) return X::And(X::template Srl<5>(v), X::Set(63));
  if (L == Layout::k555 && c == 0) return X::And(X::template Srl<10>(v), X::Set(31));
  if (L == Layout::k555 && c == 1) return X::And(X::template Srl<5>(v), X::Set(31));
  if (L != Layout::Other) return X::And(v, X::Set(31));
  return X::And(X::Srl(v, ch.count[c]), ch.mask[c]);
}

template <class X, Layout L>
[[gnu::always_inline]] inline typename X::V Place(const LaneChannels<X>& ch, typename X::V t, int c) {
  if (L != Layout::Other && c == 0) return X::template Sll<L == Layout::k565 ? 11 : 10>(t);
  if (L != Layout::Other && c == 1) return X::template Sll<5>(t);
  if (L != Layout::Other) return t;
  return X::Sll(t, ch.count[c]);
}

// The lane form of one channel: floor(a * 4 * (s - d) / 2^16), less one
// where s == d and the correction applies.
template <class X, bool Fix>
inline typename X::V LaneChannel(typename X::V sc, typename X::V dc, typename X::V a, typename X::V fix) {
  typename X::V t = X::MulHiS(X::template Sll<2>(X::Sub(sc, dc)), a);
  if (Fix) t = X::Sub(t, X::And(X::CmpEq(sc, dc), X::Min(dc, fix)));
  return t;
}

// The pair form of one channel, ab holding a and b in each 32-bit lane.
template <class X>
inline typename X::V PairChannel(typename X::V sc, typename X::V dc, typename X::V ab) {
  const typename X::V x = X::template Sll<PairXShift>(X::Sub(sc, dc));
  const typename X::V lo = X::MulAdd(X::UnpackLo(x, dc), ab), hi = X::MulAdd(X::UnpackHi(x, dc), ab);
  return X::Pack32(X::template Sra32<PairShift>(lo), X::template Sra32<PairShift>(hi));
}

// The forms below give Channel(c, s, d, i): channel c's t for component
// vectors s and d from column i.

template <class X, bool Fixed>
struct FlatLanes {
  using V = typename X::V;
  V a[3], fix[3];
  explicit FlatLanes(const LaneWeight w[3]) {
    for (int c = 0; c < 3; ++c) {
      a[c] = X::Set(w[c].a);
      fix[c] = X::Set(w[c].fix);
    }
  }
  V Channel(int c, V s, V d, int) const { return LaneChannel<X, Fixed>(s, d, a[c], fix[c]); }
};

template <class X, bool Fixed>
struct ColumnLanes {
  using V = typename X::V;
  ColumnWeights w;
  V Channel(int c, V s, V d, int i) const {
    return LaneChannel<X, Fixed>(s, d, X::Load(reinterpret_cast<const uint16_t*>(w.a[c] + i)), X::Load(w.fix[c] + i));
  }
};

inline int PairWord(const PairWeight& w) { return int(uint16_t(w.a)) | int(uint32_t(uint16_t(w.b)) << 16); }

template <class X>
struct FlatPairs {
  using V = typename X::V;
  V ab[3];
  explicit FlatPairs(const FlatForms& f) {
    for (int c = 0; c < 3; ++c) ab[c] = X::Set32(PairWord(f.pair[c]));
  }
  V Channel(int c, V s, V d, int) const { return PairChannel<X>(s, d, ab[c]); }
};

// The lane form where a channel has it and the pair form where not, chosen
// per channel by a branch that goes the same way for the whole call.
template <class X, bool Fixed>
struct MixedForms {
  using V = typename X::V;
  bool pair[3];
  FlatLanes<X, Fixed> lanes;
  FlatPairs<X> pairs;
  explicit MixedForms(const FlatForms& f) : pair{f.isPair[0], f.isPair[1], f.isPair[2]}, lanes(f.lane), pairs(f) {}
  V Channel(int c, V s, V d, int i) const { return pair[c] ? pairs.Channel(c, s, d, i) : lanes.Channel(c, s, d, i); }
};

// Each result component is d + t: the three t moved into place and added to
// the destination's channel bits (no carry leaves a channel). Clear pixels
// keep the destination whole (on 5-5-5 its top bit too). The channels are
// written out: a loop over them is not unrolled at -O2.
template <class X, Layout L, class Form>
inline typename X::V Blend(const LaneChannels<X>& ch, const Form& form, typename X::V sp, typename X::V dp, int i) {
  using V = typename X::V;
  const V r = Place<X, L>(ch, form.Channel(0, Component<X, L>(ch, sp, 0), Component<X, L>(ch, dp, 0), i), 0);
  const V g = Place<X, L>(ch, form.Channel(1, Component<X, L>(ch, sp, 1), Component<X, L>(ch, dp, 1), i), 1);
  const V b = Place<X, L>(ch, form.Channel(2, Component<X, L>(ch, sp, 2), Component<X, L>(ch, dp, 2), i), 2);
  const V clear = X::CmpEq(sp, X::Zero());
  const V t = X::AndNot(clear, X::Add(X::Add(r, g), b));
  const V base = L == Layout::k565 ? dp : X::And(dp, X::Or(ch.keep, clear));
  return X::Add(base, t);
}

// Channels and form are copied in so that they may stay in registers (the
// stores could write over the caller's).
template <class X, Layout L, class Form>
void FormRows(const LaneChannels<X>& channels, const Form& weights, const OpacityRows& r) {
  using V = typename X::V;
  const LaneChannels<X> ch = channels;
  const Form form = weights;
  const uint16_t* src = r.src;
  uint16_t* dst = r.dst;
  const int n = r.n;
  for (int j = 0; j < r.rows; ++j, src += r.srcPitch, dst += r.dstPitch) {
    int i = 0;
    for (; i + X::kCount <= n; i += X::kCount) {
      const V sp = X::Load(src + i);
      if (X::AllSet(X::CmpEq(sp, X::Zero()))) continue;
      X::Store(dst + i, Blend<X, L>(ch, form, sp, X::Load(dst + i), i));
    }
    // The last few pixels go through the same arithmetic, padded.
    if (i < n) {
      uint16_t s1[X::kCount] = {}, d1[X::kCount] = {};
      for (int k = 0; i + k < n; ++k) {
        s1[k] = src[i + k];
        d1[k] = dst[i + k];
      }
      X::Store(d1, Blend<X, L>(ch, form, X::Load(s1), X::Load(d1), i));
      for (int k = 0; i + k < n; ++k) dst[i + k] = d1[k];
    }
  }
}

template <class X, class Form>
void FormRowsIn(const OpacityChannels& channels, const Form& form, const OpacityRows& r) {
  const LaneChannels<X> ch(channels);
  switch (channels.layout) {
    case Layout::k565: FormRows<X, Layout::k565>(ch, form, r); break;
    case Layout::k555: FormRows<X, Layout::k555>(ch, form, r); break;
    default: FormRows<X, Layout::Other>(ch, form, r); break;
  }
}

template <class X>
void FlatFormRowsOf(const OpacityChannels& ch, const FlatForms& f, const OpacityRows& r) {
  switch (f.kind) {
    case FlatForms::kLane:
      if (f.fix)
        FormRowsIn<X>(ch, FlatLanes<X, true>(f.lane), r);
      else
        FormRowsIn<X>(ch, FlatLanes<X, false>(f.lane), r);
      break;
    case FlatForms::kPair: FormRowsIn<X>(ch, FlatPairs<X>(f), r); break;
    case FlatForms::kMixed:
      if (f.fix)
        FormRowsIn<X>(ch, MixedForms<X, true>(f), r);
      else
        FormRowsIn<X>(ch, MixedForms<X, false>(f), r);
      break;
    default: break;
  }
}

template <class X>
void ColumnFormRowsOf(const OpacityChannels& ch, const ColumnWeights& w, const OpacityRows& r) {
  if (w.fixed)
    FormRowsIn<X>(ch, ColumnLanes<X, true>{w}, r);
  else
    FormRowsIn<X>(ch, ColumnLanes<X, false>{w}, r);
}

}  // namespace
}  // namespace zo
