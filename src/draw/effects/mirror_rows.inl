// The keyed row copy of the mirror and the smears, and the smears' fill,
// written once over a lane form X (simd/lanes16.h): mirror_kernels.cpp
// builds them with SSE2 lanes, mirror_kernels_avx2.cpp with AVX2 lanes
// inside its AVX2 region. Internal linkage, so the two builds never meet
// at link time. No include guard: each of the two files includes it once.
#include <cstdint>

namespace zo {
namespace {

// dst[i] = s[i], or s[-i] when Reverse (s points at the first pixel shown),
// where that is not 0.
template <class X, bool Reverse>
void KeyedCopyRow(uint16_t* d, const uint16_t* s, int n) {
  constexpr int k = X::kCount;
  int i = 0;
  for (; i + k <= n; i += k) {
    const typename X::V sp = Reverse ? X::Reverse(X::Load(s - i - (k - 1))) : X::Load(s + i);
    const typename X::V clear = X::CmpEq(sp, X::Zero());
    if (X::AllSet(clear)) continue;
    if (X::NoneSet(clear)) {
      X::Store(d + i, sp);
      continue;
    }
    X::Store(d + i, X::Select(clear, X::Load(d + i), sp));
  }
  for (; i < n; ++i) {
    const uint16_t p = Reverse ? s[-i] : s[i];
    if (p) d[i] = p;
  }
}

// dst[i] = v for n pixels.
template <class X>
void FillRow(uint16_t* d, uint16_t v, int n) {
  constexpr int k = X::kCount;
  const typename X::V all = X::Set(v);
  int i = 0;
  for (; i + k <= n; i += k) X::Store(d + i, all);
  for (; i < n; ++i) d[i] = v;
}

}  // namespace
}  // namespace zo
