// Closes the region avx2_begin.h opened. No include guard.
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
