// The 16-bit SIMD pieces every kernel file shares: unaligned loads and
// stores of eight pixels, the transparent-pixel select and the row walk of
// eight pixels at a time with its tail one by one.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "draw/simd/lanes16.h"

namespace zo {

inline __m128i Load8(const uint16_t* p) { return Sse2Lanes::Load(p); }
inline void Store8(uint16_t* p, __m128i v) { Sse2Lanes::Store(p, v); }

// Lanes whose source pixel is 0, the transparent value.
inline __m128i ClearLanes(__m128i s) { return Sse2Lanes::CmpEq(s, Sse2Lanes::Zero()); }
inline bool AllClear(__m128i s) { return Sse2Lanes::AllSet(ClearLanes(s)); }

// d in the clear lanes, out in the others.
inline __m128i Select(__m128i clear, __m128i d, __m128i out) { return Sse2Lanes::Select(clear, d, out); }

// Where the source is 0 the destination stays, elsewhere out.
inline __m128i KeepClear(__m128i s, __m128i d, __m128i out) { return Select(ClearLanes(s), d, out); }

// eight(i) for each whole group of eight of the n pixels, then one(i) for
// each pixel left over.
// Always inlined, so that the loop keeps the caller's values in registers.
template <class Eight, class One>
[[gnu::always_inline]] inline void WalkRow(int n, Eight eight, One one) {
  int i = 0;
  for (; i + 8 <= n; i += 8) eight(i);
  for (; i < n; ++i) one(i);
}

// One group of a row drawn with transparency: d takes mix(s, d) where s is
// not 0; a group that is all transparent is not touched.
template <class Mix>
[[gnu::always_inline]] inline void KeyedEight(uint16_t* d, const uint16_t* s, Mix mix) {
  const __m128i sp = Load8(s);
  if (AllClear(sp)) return;
  const __m128i dp = Load8(d);
  Store8(d, KeepClear(sp, dp, mix(sp, dp)));
}

}  // namespace zo
