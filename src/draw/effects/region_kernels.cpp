#include "draw/effects/region_kernels.h"

#include <algorithm>

#include "draw/simd/lanes16.h"
#include "draw/simd/simd_form.h"
#include "draw/effects/region_rows.inl"

namespace zo {

void SmoothKernel(const RegionJob& job, const Channels& fade) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::SmoothKernel(job, fade);
  SmoothRows<Sse2Lanes>(job, fade);
}

void BlurRiseKernel(const RegionJob& job, const Channels& fade, NoiseRun& run) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::BlurRiseKernel(job, fade, run);
  BlurRiseRows<Sse2Lanes>(job, fade, run);
}

void ZoomBlitSize(uint32_t w, uint32_t h, int factor, const PixelView& buffer, int* width, int* height) {
  *width = int(std::min<int64_t>(int64_t(factor) * w, buffer.width));
  *height = int(std::min<int64_t>(int64_t(factor) * h, buffer.height));
}

void ZoomKernel(const RegionJob& job, const PixelView& buffer, int factor, int dotted) {
  if (factor != 2 && factor != 4) return;
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::ZoomKernel(job, buffer, factor, dotted);
  ZoomRows<Sse2Lanes>(job, buffer, factor, dotted);
}

void MosaicCircleKernel(const PixelView& v, int screenWidth, int screenHeight, int cx, int cy, int radius,
                        int block) {
  if (ActiveSimdForm() == SimdForm::kAvx2)
    return avx2::MosaicCircleKernel(v, screenWidth, screenHeight, cx, cy, radius, block);
  MosaicRows<Sse2Lanes>(v, screenWidth, screenHeight, cx, cy, radius, block);
}

void NoiseKernel(const RegionJob& job, const Channels& add, int shift, int& cursor) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::NoiseKernel(job, add, shift, cursor);
  NoiseRows<Sse2Lanes>(job, add, shift, cursor);
}

}  // namespace zo
