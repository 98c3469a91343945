// What every effect test shares, native and under Wine: the picture type
// (the Windows tests read locked surfaces into it), the sprite frame's clip
// as the references write it, random pictures, rectangles and clip
// rectangles, and the seeded comparison of a fast kernel with its literal
// reference on copies of the same destination; on a mismatch the seed that
// replays the case (ZO_SEED=n) and both pictures written beside the test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "draw/effects/effect_frame.h"
#include "draw/effects/effect_tables.h"
#include "draw/effects/mirror_kernels.h"  // zo::Placement
#include "draw/simd/simd_form.h"
#include "zo/draw_state.h"

namespace zotest {

// 16-bit pixels, row after row; rows are `pitch` pixels apart, or `width`
// when pitch is 0 (a picture filled in by hand).
struct Image {
  int width = 0, height = 0, pitch = 0;
  std::vector<uint16_t> px;
  Image() = default;
  Image(int w, int h, int p) : width(w), height(h), pitch(p), px(size_t(p) * size_t(h)) {}
  int Stride() const { return pitch ? pitch : width; }
  uint16_t& at(int x, int y) { return px[size_t(y) * size_t(Stride()) + size_t(x)]; }
  uint16_t at(int x, int y) const { return px[size_t(y) * size_t(Stride()) + size_t(x)]; }
};

}  // namespace zotest

namespace ref {

using zotest::Image;

inline bool On(const Image& im, long long x, long long y) { return x >= 0 && y >= 0 && x < im.width && y < im.height; }

// The sprite frame's clipping, step by step, with the unclipped x and y;
// false when the width or height falls below 0.
struct Clipped {
  long long x, y, l, t, w, h;
};
inline bool Clip(const IntRect& c, int x, int y, int l, int t, int r, int b, Clipped* o) {
  Clipped k{x, y, l, t, (long long)r - l, (long long)b - t};
  if (k.x + k.w > c.right) k.w = c.right - k.x;
  if (k.y + k.h > c.bottom) k.h = c.bottom - k.y;
  if (k.x < c.left) { k.w -= c.left - k.x; k.l += c.left - k.x; k.x = c.left; }
  if (k.y < c.top) { k.h -= c.top - k.y; k.t += c.top - k.y; k.y = c.top; }
  *o = k;
  return k.w >= 0 && k.h >= 0;
}

}  // namespace ref

namespace harness {

using zotest::Image;

inline const PixelLayout k565 = DerivePixelLayout(0xF800, 0x07E0, 0x001F);
inline const PixelLayout k555 = DerivePixelLayout(0x7C00, 0x03E0, 0x001F);

// The two 16-bit layouts as they must come out, written out by hand.
inline const PixelLayout kKnown565{31, 63, 31, 11, 5, 0, {11, 6, 0}, 0xF800, 0x07E0, 0x001F, 0x7BEF, 0xFFFF};
inline const PixelLayout kKnown555{31, 31, 31, 10, 5, 0, {10, 5, 0}, 0x7C00, 0x03E0, 0x001F, 0x3DEF, 0x7FFF};
// Every field of a layout, so that two compare (and print) as one value.
inline std::array<uint32_t, 14> Fields(const PixelLayout& p) {
  return {p.redMax,     p.greenMax, p.blueMax,  p.redShift,  p.greenShift, p.blueShift, p.fivePos[0],
          p.fivePos[1], p.fivePos[2], p.redMask, p.greenMask, p.blueMask,  p.halfMask,  p.fullMask};
}

// Tables as zoDraw::Screen builds them, noise included.
inline void BuildTables(const PixelLayout& f) {
  zo::SeedMsvcrtRandom(1);
  zo::BuildEffectTables(f, zo::MsvcrtRandom);
}

inline zo::PixelView View(Image& im) { return zo::PixelView{im.px.data(), im.Stride(), im.width, im.height}; }

inline uint32_t BaseSeed(uint32_t unset = 20261208u) {
  const char* s = std::getenv("ZO_SEED");
  return s ? uint32_t(std::strtoul(s, nullptr, 0)) : unset;
}

inline int Between(std::mt19937& rng, int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); }

// Biased towards the values effects treat specially: clear, white and,
// unless left out, greys.
inline uint16_t RandomPixel(std::mt19937& rng, bool greys = true) {
  switch (rng() % (greys ? 8 : 6)) {
    case 0: case 1: case 2: return 0;
    case 3: return 0xFFFF;
    case 4: if (greys) return uint16_t(0x0821 * (rng() % 32)); [[fallthrough]];
    default: return uint16_t(rng());
  }
}

// A picture of 1..maxW x 1..maxH pixels whose pitch may exceed its width.
inline Image RandomImage(std::mt19937& rng, int maxW, int maxH) {
  const int w = 1 + int(rng() % maxW), h = 1 + int(rng() % maxH);
  Image im(w, h, w + int(rng() % 9));
  for (auto& p : im.px) p = RandomPixel(rng);
  return im;
}

// Clip rectangles often reach off the surface; sometimes they are empty.
inline IntRect RandomClip(std::mt19937& rng, const Image& dst) {
  return IntRect{Between(rng, -30, dst.width / 2), Between(rng, -30, dst.height / 2),
                 Between(rng, -10, dst.width + 40), Between(rng, -10, dst.height + 30)};
}

// A source rectangle and destination point that may lie partly or wholly
// outside both pictures, or be inverted.
using zo::Placement;
inline Placement RandomPlacement(std::mt19937& rng, const Image& src, const Image& dst) {
  Placement p;
  p.x = Between(rng, -src.width, dst.width + 10);
  p.y = Between(rng, -src.height, dst.height + 10);
  p.l = Between(rng, -20, src.width);
  p.t = Between(rng, -20, src.height);
  p.r = p.l + Between(rng, -5, src.width + 20);
  p.b = p.t + Between(rng, -5, src.height + 20);
  return p;
}

// Writes a picture as a binary PPM (5-6-5 read as RGB) for a person to look at.
inline void WritePicture(const std::string& path, const Image& im) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fprintf(f, "P6\n%d %d\n255\n", im.width, im.height);
  for (int y = 0; y < im.height; ++y)
    for (int x = 0; x < im.width; ++x) {
      const uint16_t p = im.at(x, y);
      const unsigned char rgb[3] = {uint8_t((p >> 11) << 3), uint8_t(((p >> 5) & 63) << 2), uint8_t((p & 31) << 3)};
      std::fwrite(rgb, 1, 3, f);
    }
  std::fclose(f);
}

// Runs body(form name) once for every vector form this processor has (only
// SSE2 under ZO_SIMD=sse2), with that form forced, then goes back to SSE2.
template <class F>
void ForEachSimdForm(F body) {
  const zo::SimdForm best = zo::BestSimdForm();
  for (zo::SimdForm form : {zo::SimdForm::kSse2, zo::SimdForm::kAvx2}) {
    if (form == zo::SimdForm::kAvx2 && best != form) continue;
    ASSERT_TRUE(zo::UseSimdForm(form));
    SCOPED_TRACE(std::string("form ") + zo::SimdFormName(form));
    body(zo::SimdFormName(form));
  }
  zo::UseSimdForm(zo::SimdForm::kSse2);
}

// One case: build the inputs from rng, run the kernel into fast and the
// reference into slow (both start as the same destination).
using Case = std::function<void(std::mt19937& rng, Image& fast, Image& slow)>;

// Runs `cases` seeded cases of `name` from ZO_SEED, else from `firstSeed`;
// fails at the first differing pixel with its seed, and writes
// <name>-<seed>-fast.ppm and -slow.ppm.
inline void CompareSeeded(const char* name, int cases, const Case& run, uint32_t firstSeed = 20261208u) {
  const uint32_t base = BaseSeed(firstSeed);
  ForEachSimdForm([&](const char* form) {
    for (int n = 0; n < cases; ++n) {
      const uint32_t seed = base + uint32_t(n);
      std::mt19937 rng(seed);
      Image fast, slow;
      run(rng, fast, slow);
      if (::testing::Test::HasFatalFailure()) FAIL() << name << ": seed " << seed << " (ZO_SEED=" << seed << ")";
      ASSERT_EQ(fast.px.size(), slow.px.size()) << name << " seed " << seed;
      for (size_t i = 0; i < fast.px.size(); ++i) {
        if (fast.px[i] == slow.px[i]) continue;
        const std::string stem = std::string(name) + "-" + form + "-" + std::to_string(seed);
        WritePicture(stem + "-fast.ppm", fast);
        WritePicture(stem + "-slow.ppm", slow);
        FAIL() << name << " (" << form << "): seed " << seed << " (replay with ZO_SEED=" << seed
               << "): pixel " << i % size_t(fast.Stride()) << "," << i / size_t(fast.Stride()) << " is 0x"
               << std::hex << fast.px[i] << ", the reference gives 0x" << slow.px[i] << " (pictures " << stem
               << "-*.ppm)";
      }
    }
  });
}

}  // namespace harness
