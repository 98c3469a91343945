// The seeded random comparison every effect family shares: random pictures,
// rectangles and clip rectangles, a fast kernel and its literal reference run
// on copies of the same destination, and on a mismatch the seed that replays
// the case (ZO_SEED=n) with both pictures written beside the test binary.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "blend_reference.h"
#include "draw/effects/effect_frame.h"
#include "draw/effects/effect_tables.h"

namespace harness {

using ref::Image;

inline const PixelLayout k565 = DerivePixelLayout(0xF800, 0x07E0, 0x001F);
inline const PixelLayout k555 = DerivePixelLayout(0x7C00, 0x03E0, 0x001F);

// Tables as zoDraw::Screen builds them, noise included.
inline void BuildTables(const PixelLayout& f) {
  zo::SeedMsvcrtRandom(1);
  zo::BuildEffectTables(f, zo::MsvcrtRandom);
}

inline zo::PixelView View(Image& im) { return zo::PixelView{im.pixels.data(), im.pitch, im.width, im.height}; }

inline uint32_t BaseSeed() {
  const char* s = std::getenv("ZO_SEED");
  return s ? uint32_t(std::strtoul(s, nullptr, 0)) : 20261208u;
}

inline int Between(std::mt19937& rng, int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); }

// Biased towards the values effects treat specially: clear, white, greys.
inline uint16_t RandomPixel(std::mt19937& rng) {
  switch (rng() % 8) {
    case 0: case 1: case 2: return 0;
    case 3: return 0xFFFF;
    case 4: return uint16_t(0x0821 * (rng() % 32));
    default: return uint16_t(rng());
  }
}

// A picture of 1..maxW x 1..maxH pixels whose pitch may exceed its width.
inline Image RandomImage(std::mt19937& rng, int maxW, int maxH) {
  const int w = 1 + int(rng() % maxW), h = 1 + int(rng() % maxH);
  Image im(w, h, w + int(rng() % 9));
  for (auto& p : im.pixels) p = RandomPixel(rng);
  return im;
}

// Clip rectangles often reach off the surface; sometimes they are empty.
inline IntRect RandomClip(std::mt19937& rng, const Image& dst) {
  return IntRect{Between(rng, -30, dst.width / 2), Between(rng, -30, dst.height / 2),
                 Between(rng, -10, dst.width + 40), Between(rng, -10, dst.height + 30)};
}

// A source rectangle and destination point that may lie partly or wholly
// outside both pictures, or be inverted.
struct Placement {
  int x, y, l, t, r, b;
};
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

// One case: build the inputs from rng, run the kernel into fast and the
// reference into slow (both start as the same destination).
using Case = std::function<void(std::mt19937& rng, Image& fast, Image& slow)>;

// Runs `cases` seeded cases of `name`; fails at the first differing pixel
// with its seed, and writes <name>-<seed>-fast.ppm and -slow.ppm.
inline void CompareSeeded(const char* name, int cases, const Case& run) {
  const uint32_t base = BaseSeed();
  for (int n = 0; n < cases; ++n) {
    const uint32_t seed = base + uint32_t(n);
    std::mt19937 rng(seed);
    Image fast, slow;
    run(rng, fast, slow);
    ASSERT_EQ(fast.pixels.size(), slow.pixels.size()) << name << " seed " << seed;
    for (size_t i = 0; i < fast.pixels.size(); ++i) {
      if (fast.pixels[i] == slow.pixels[i]) continue;
      const std::string stem = std::string(name) + "-" + std::to_string(seed);
      WritePicture(stem + "-fast.ppm", fast);
      WritePicture(stem + "-slow.ppm", slow);
      FAIL() << name << ": seed " << seed << " (replay with ZO_SEED=" << seed << "): pixel "
             << i % size_t(fast.pitch) << "," << i / size_t(fast.pitch) << " is 0x" << std::hex
             << fast.pixels[i] << ", the reference gives 0x" << slow.pixels[i] << " (pictures "
             << stem << "-*.ppm)";
    }
  }
}

}  // namespace harness
