// The mirror, smear, ripple and displacement kernels against their literal
// rules over seeded random sprites, placements and clip rectangles; the row
// blits followed call by call through a stand-in blit.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "draw/effects/mirror_kernels.h"
#include "draw/effects/row_blits.h"
#include "effect_harness.h"
#include "mirror_reference.h"

using ref::Image;

namespace {

using harness::Between;
using harness::k555;
using harness::k565;

using Kernel = std::function<void(const zo::DistortJob&)>;
using Reference = std::function<void(const IntRect&, Image& dst, const Image& src, const harness::Placement&)>;

// What the Windows frame does between its locks; `given` is the placement
// after any smear has moved its far edge.
void RunFrame(const PixelLayout& f, const IntRect& clip, Image& dst, Image& src, const zo::Placement& given,
              const Kernel& kernel) {
  zo::SpriteClip c;
  if (!zo::EffectClip(clip, given.x, given.y, given.l, given.t, given.r, given.b, &c)) return;
  kernel(zo::DistortJob{harness::View(src), harness::View(dst), given, c, clip, f});
}

// One seeded case: make draws the parameters and may move the placement.
using Make = std::function<void(std::mt19937&, const Image& dst, zo::Placement*, Kernel*, Reference*)>;
harness::Case SpriteCase(const PixelLayout& f, Make make) {
  return [=](std::mt19937& rng, Image& fast, Image& slow) {
    Image src = harness::RandomImage(rng, 60, 40), dst = harness::RandomImage(rng, 80, 50);
    const IntRect clip = rng() % 4 ? harness::RandomClip(rng, dst) : IntRect{0, 0, dst.width, dst.height};
    const harness::Placement p = harness::RandomPlacement(rng, src, dst);
    zo::Placement given{p.x, p.y, p.l, p.t, p.r, p.b};
    Kernel kernel;
    Reference reference;
    make(rng, dst, &given, &kernel, &reference);
    fast = slow = dst;
    RunFrame(f, clip, fast, src, given, kernel);
    reference(clip, slow, src, p);
  };
}

TEST(MirrorSeeded, EveryKernelMatchesItsRuleOnBothLayouts) {
  for (const PixelLayout* layout : {&k565, &k555}) {
    const PixelLayout& f = *layout;
    harness::BuildTables(f);
    SCOPED_TRACE(f.greenMax == 63 ? "5-6-5" : "5-5-5");
    harness::CompareSeeded("mirror", 400, SpriteCase(f, [](std::mt19937& rng, const Image&, zo::Placement*, Kernel* k, Reference* r) {
      const int type = Between(rng, -1, 4);
      *k = [=](const zo::DistortJob& j) { zo::MirrorKernel(j, type); };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        ref::Mirror(c, d, s, p.x, p.y, type, p.l, p.t, p.r, p.b);
      };
    }));
    harness::CompareSeeded("smear", 400, SpriteCase(f, [](std::mt19937& rng, const Image& dst, zo::Placement* g, Kernel* k, Reference* r) {
      const int type = Between(rng, -1, 4);
      const uint16_t cut = uint16_t(rng() % 5 ? Between(rng, 0, 40) : rng());
      *k = [=](const zo::DistortJob& j) { zo::SmearKernel(j, type, cut); };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        ref::Smear(c, d, s, p.x, p.y, type, cut, p.l, p.t, p.r, p.b);
      };
      *g = zo::SmearPlacement(*g, type, dst.width, dst.height);
    }));
    harness::CompareSeeded("ripple", 400, SpriteCase(f, [](std::mt19937& rng, const Image&, zo::Placement*, Kernel* k, Reference* r) {
      const int amplitude = Between(rng, -12, 12), frequency = Between(rng, -3, 12), step = Between(rng, 1, 4);
      const float scale = float(Between(rng, 25, 250)) / 100.0f, shear = float(Between(rng, -100, 100)) / 100.0f;
      *k = [=](const zo::DistortJob& j) { zo::RippleKernel(j, zo::Ripple{amplitude, frequency, step, scale, shear}); };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        ref::Ripple(c, d, s, p.x, p.y, amplitude, frequency, step, scale, shear, p.l, p.t, p.r, p.b);
      };
    }));
    harness::CompareSeeded("displace", 400, SpriteCase(f, [](std::mt19937& rng, const Image&, zo::Placement*, Kernel* k, Reference* r) {
      const float strength = rng() % 4 ? std::uniform_real_distribution<float>(0.0f, 1.0f)(rng) : float(rng() % 2);
      *k = [=](const zo::DistortJob& j) { zo::DisplaceKernel(j, zo::DisplaceLevel(strength)); };
      *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
        ref::Displace(c, d, s, p.x, p.y, strength, p.l, p.t, p.r, p.b);
      };
    }));
  }
}

}  // namespace
