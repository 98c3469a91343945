// The 5-6-5 frame expansion against the obvious per-pixel, per-block loops,
// over random frames, pitches, scales and deep layouts.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "draw/frame_expand.h"
#include "effect_harness.h"

namespace {

// The expansion as the words say it: r to (r << 3) | (r >> 2), g to
// (g << 2) | (g >> 4), b like r; each pixel a scale x scale block.
uint32_t SlowPixel(uint16_t p, const zo::DeepFormat& f) {
  const uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
  return (((r << 3) | (r >> 2)) << f.redShift) | (((g << 2) | (g >> 4)) << f.greenShift) |
         (((b << 3) | (b >> 2)) << f.blueShift);
}

void SlowExpand(const harness::Image& src, std::vector<uint8_t>& dst, int pitch, int dstW, int dstH,
                const zo::DeepFormat& f, int scale) {
  const int w = std::min(src.width, dstW / scale), h = std::min(src.height, dstH / scale);
  for (int y = 0; y < h * scale; ++y)
    for (int x = 0; x < w * scale; ++x) {
      const uint32_t v = SlowPixel(src.at(x / scale, y / scale), f);
      for (int k = 0; k < f.bytesPerPixel; ++k)
        dst[size_t(y) * pitch + size_t(x) * f.bytesPerPixel + k] = uint8_t(v >> (8 * k));
    }
}

const zo::DeepFormat Layouts[] = {{4, 16, 8, 0}, {4, 0, 8, 16}, {4, 24, 16, 8}, {3, 16, 8, 0}, {3, 0, 8, 16}};

TEST(FrameExpand, MatchesTheLiteralExpansion) {
  harness::ForEachSimdForm([](const char*) {
  const uint32_t base = harness::BaseSeed();
  for (int n = 0; n < 400; ++n) {
    const uint32_t seed = base + uint32_t(n);
    std::mt19937 rng(seed);
    const harness::Image src = harness::RandomImage(rng, 70, 12);
    const zo::DeepFormat f = Layouts[rng() % 5];
    const int scale = 1 + int(rng() % 5);
    // The destination is sometimes smaller than the scaled frame.
    const int dstW = std::max(1, src.width * scale + harness::Between(rng, -9, 6));
    const int dstH = std::max(1, src.height * scale + harness::Between(rng, -4, 3));
    // Rows on 16-byte boundaries take the streaming stores.
    int pitch = dstW * f.bytesPerPixel + int(rng() % 13);
    if (rng() % 2) pitch = (pitch + 15) / 16 * 16;
    std::vector<uint8_t> fast(size_t(pitch) * dstH), slow;
    for (auto& b : fast) b = uint8_t(rng());
    slow = fast;
    harness::Image in = src;
    zo::ExpandFrame565(harness::View(in), zo::DeepView{fast.data(), pitch, dstW, dstH}, f, scale);
    SlowExpand(src, slow, pitch, dstW, dstH, f, scale);
    for (size_t i = 0; i < fast.size(); ++i)
      ASSERT_EQ(int(fast[i]), int(slow[i]))
          << "seed " << seed << " (replay with ZO_SEED=" << seed << "): byte " << i % pitch << ","
          << i / pitch << " scale " << scale << " bytes " << f.bytesPerPixel;
  }
  });
}

TEST(FrameExpand, EveryValueHasItsOwnColourAndWhiteStaysWhite) {
  const zo::DeepFormat xrgb{4, 16, 8, 0};
  std::vector<uint16_t> all(65536);
  for (int i = 0; i < 65536; ++i) all[i] = uint16_t(i);
  std::vector<uint32_t> out(65536);
  zo::ExpandFrame565(zo::PixelView{all.data(), 65536, 65536, 1},
                     zo::DeepView{reinterpret_cast<uint8_t*>(out.data()), 65536 * 4, 65536, 1}, xrgb, 1);
  std::vector<bool> seen(1 << 24);
  for (int i = 0; i < 65536; ++i) {
    ASSERT_EQ(out[i], SlowPixel(uint16_t(i), xrgb)) << i;
    ASSERT_FALSE(seen[out[i]]) << i;
    seen[out[i]] = true;
  }
  EXPECT_EQ(out[0xFFFF], 0xFFFFFFu & 0x00FFFFFF);
  EXPECT_EQ(out[0], 0u);
  EXPECT_EQ(out[0xF800], 0xFF0000u);
}

TEST(SimdForm, ARequestNeverNamesAFormTheProcessorLacks) {
  struct Case { const char* request; bool avx2; zo::SimdForm form; };
  const Case cases[] = {{nullptr, true, zo::SimdForm::kAvx2}, {"", true, zo::SimdForm::kAvx2},
                        {"sse2", true, zo::SimdForm::kSse2}, {"avx2", true, zo::SimdForm::kAvx2},
                        {"avx2", false, zo::SimdForm::kSse2}, {nullptr, false, zo::SimdForm::kSse2},
                        {"neon", true, zo::SimdForm::kAvx2}};
  for (const Case& c : cases)
    EXPECT_EQ(zo::ChooseSimdForm(c.request, c.avx2), c.form) << (c.request ? c.request : "(none)") << c.avx2;
  // Which forms the comparisons above ran is kept in the report.
  ::testing::Test::RecordProperty("avx2", zo::ProcessorHasAvx2() ? "yes" : "no");
  if (!zo::ProcessorHasAvx2()) {
    EXPECT_FALSE(zo::UseSimdForm(zo::SimdForm::kAvx2));
  }
}

TEST(FrameExpand, FormatsFromMasks) {
  zo::DeepFormat f;
  ASSERT_TRUE(zo::DeepFormatFromMasks(32, 0xFF0000, 0xFF00, 0xFF, &f));
  EXPECT_EQ(f.bytesPerPixel, 4);
  EXPECT_EQ(f.redShift, 16);
  ASSERT_TRUE(zo::DeepFormatFromMasks(24, 0xFF, 0xFF00, 0xFF0000, &f));
  EXPECT_EQ(f.blueShift, 16);
  EXPECT_FALSE(zo::DeepFormatFromMasks(16, 0xF800, 0x07E0, 0x1F, &f));
  EXPECT_FALSE(zo::DeepFormatFromMasks(32, 0x3FF00000, 0xFFC00, 0x3FF, &f));  // 10-bit channels
  EXPECT_FALSE(zo::DeepFormatFromMasks(8, 0, 0, 0, &f));
}

}  // namespace
