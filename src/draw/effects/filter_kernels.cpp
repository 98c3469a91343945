#include "draw/effects/filter_kernels.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/simd/lanes16.h"
#include "draw/simd/simd_form.h"
// The vector filters in the SSE2 form.
#include "draw/effects/filter_rows.inl"

namespace zo {

// ---------------------------------------------------------------- public

float HoldFactor(float factor) { return factor > 0.0f ? factor : 0.0f; }

uint16_t ChannelMaskOf(const PixelLayout& f, int red, int green, int blue) {
  return uint16_t((red ? f.redMask : 0) | (green ? f.greenMask : 0) | (blue ? f.blueMask : 0));
}

void ChannelMaskKernel(const FilterJob& job, uint16_t mask) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::ChannelMaskKernel(job, mask);
  ChannelMaskRows<Sse2Lanes>(job, mask);
}

void BrightnessKernel(const FilterJob& job, const float factor[3]) {
  const PixelLayout& f = job.format;
  const int shift[3] = {f.redShift, f.greenShift, f.blueShift};
  const uint32_t max[3] = {f.redMax, f.greenMax, f.blueMax};
  // Every component value of each channel, scaled and put in place. The
  // product of a float and a component below 2^16 is exact in double, so it
  // equals the extended one.
  std::vector<uint16_t> table[3];
  for (int c = 0; c < 3; ++c) {
    const double k = HoldFactor(factor[c]);
    table[c].resize(max[c] + 1);
    for (uint32_t v = 0; v <= max[c]; ++v) {
      const double p = v ? double(v) * k : 0.0;
      const uint32_t out = p >= double(max[c]) ? max[c] : uint32_t(p);
      table[c][v] = uint16_t(out << shift[c]);
    }
  }
  const BrightnessTables tables{{table[0].data(), table[1].data(), table[2].data()},
                                {shift[0], shift[1], shift[2]},
                                {max[0], max[1], max[2]}};
  if (ActiveSimdForm() == SimdForm::kAvx2 && max[0] <= 63 && max[1] <= 63 && max[2] <= 63)
    return avx2::BrightnessKernel(job, tables);
  const int w = job.span.width;
  for (int j = 0; j < job.span.height; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    for (int i = 0; i < w; ++i)
      if (s[i]) d[i] = tables.Pixel(s[i]);
  }
}

void DarkenKernel(const FilterJob& job, const int level[3]) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::DarkenKernel(job, level);
  DarkenRows<Sse2Lanes>(job, level);
}

void GrayKernel(const FilterJob& job) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::GrayKernel(job);
  GrayRows<Sse2Lanes>(job);
}

int BlurSizeFor(int size, int width, int height) {
  return std::max(0, std::min({size, MaxBlurSize, width, height}));
}

void BlurKernel(const FilterJob& job, int size) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::BlurKernel(job, size);
  BlurRows<Sse2Lanes>(job, size);
}

void SoftEdgeKernel(const FilterJob& job) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::SoftEdgeKernel(job);
  SoftEdgeRows<Sse2Lanes>(job);
}

int ReadGlowNoise(int& cursor) {
  if (cursor < 0 || cursor >= NoiseTableSize) cursor = 0;
  const int value = NoiseTable[cursor];
  cursor = cursor == NoiseTableSize - 1 ? 0 : cursor + 1;
  return value;
}

void GlowKernel(const FilterJob& job, const Glow& glow, int& cursor) {
  const PixelLayout& f = job.format;
  const IntRect& clip = job.clip;
  // Positions wrap as unsigned 16-bit values; a light that lands outside the
  // clip rectangle or the surface is dropped.
  const uint16_t width = uint16_t(job.span.width), height = uint16_t(job.span.height);
  const uint16_t x = uint16_t(job.span.dstX), y = uint16_t(job.span.dstY);
  struct Ray {
    unsigned bit;
    int dxPerStep, dyPerStep, dy0;
  };
  static const Ray rays[8] = {{0x40, 0, -1, -1}, {0x20, -1, -1, -1}, {0x80, 1, -1, -1}, {0x02, 0, 1, 1},
                              {0x01, -1, 1, 1},  {0x04, 1, 1, 1},    {0x08, -1, 0, 0},  {0x10, 1, 0, 0}};
  Ray chosen[8];
  int count = 0;
  for (const Ray& r : rays)
    if (glow.directions & r.bit) chosen[count++] = r;
  const int pitch = job.dst.pitch;
  const int clipRight = std::min<int>(clip.right, job.dst.width);
  const int clipBottom = std::min<int>(clip.bottom, job.dst.height);
  const int clipLeft = std::max<int>(clip.left, 0), clipTop = std::max<int>(clip.top, 0);
  auto dim = [](int v, unsigned s) { return s >= 8 ? 0 : v >> s; };
  for (uint16_t j = 0; j < height; ++j) {
    const uint16_t* s = SrcRow(job, j);
    for (uint16_t i = 0; i < width; ++i) {
      const uint16_t p = s[i];
      if (!p) continue;
      const uint16_t px = uint16_t(x + i), py = uint16_t(y + j);
      if (glow.copy) job.dst.pixels[std::ptrdiff_t(py) * pitch + px] = p;
      const uint8_t* c = ComponentTable[p];
      int g[3] = {dim(c[0], glow.shift[0]), dim(c[1], glow.shift[1]), dim(c[2], glow.shift[2])};
      const int noise = ReadGlowNoise(cursor);
      for (int& v : g) v = v < noise ? 0 : v - noise;
      if (count == 0) continue;
      for (int r = 0; r <= 30; ++r) {
        for (int& v : g)
          if (v) --v;
        if (!g[0] && !g[1] && !g[2]) break;
        for (int k = 0; k < count; ++k) {
          const Ray& ray = chosen[k];
          const int tx = uint16_t(px + ray.dxPerStep * r);
          const int ty = uint16_t(py + ray.dyPerStep * r + ray.dy0);
          if (tx < clipLeft || tx >= clipRight || ty < clipTop || ty >= clipBottom) continue;
          uint16_t& t = job.dst.pixels[std::ptrdiff_t(ty) * pitch + tx];
          const uint8_t* tc = ComponentTable[t];
          t = Compose5(f, std::min(31, tc[0] + g[0]), std::min(31, tc[1] + g[1]), std::min(31, tc[2] + g[2]));
        }
      }
    }
  }
}

}  // namespace zo
