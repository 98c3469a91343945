// Everything between this header and avx2_end.h is compiled for AVX2, on GCC
// and clang alike, while the rest of the file and every header included
// before it keep the baseline. Only the functions defined in between may use
// 256-bit intrinsics, and they run only when ActiveSimdForm() says AVX2.
// Every AVX2 entry point ends with _mm256_zeroupper(): SSE2 code that runs
// while the upper halves of the registers are dirty is several times slower,
// and GCC does not clear them reliably in functions made AVX2 this way.
// No include guard: each AVX2 region opens with it.
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
