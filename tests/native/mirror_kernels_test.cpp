// The mirror, smear, ripple and displacement kernels against their literal
// rules over seeded random sprites, placements and clip rectangles; the row
// blits followed call by call through a stand-in blit.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "draw/effects/mirror_kernels.h"
#include "draw/effects/row_blits.h"
#include "effect_harness.h"
#include "guarded_page.h"
#include "mirror_reference.h"

using ref::Image;

namespace {

using harness::Between;
using harness::k555;
using harness::k565;

using Kernel = std::function<void(const zo::DistortJob&)>;
using Reference = std::function<void(const IntRect&, Image& dst, const Image& src, const harness::Placement&)>;

// The library's placed frame over plain images; `given` is the placement
// after any smear has moved its far edge.
void RunFrame(const PixelLayout& f, const IntRect& clip, const zo::PixelView& dst, Image& src,
              const zo::Placement& given, const Kernel& kernel) {
  zo::PlacedFrame(clip, given, zo::OpenViews{harness::View(src), dst},
                  [&](const auto& s, const auto& d, const auto& c) { kernel(zo::DistortJob{s, d, given, c, clip, f}); });
}
void RunFrame(const PixelLayout& f, const IntRect& clip, Image& dst, Image& src, const zo::Placement& given,
              const Kernel& kernel) {
  RunFrame(f, clip, harness::View(dst), src, given, kernel);
}

// One seeded case: make draws the parameters and may move the placement.
using Make = std::function<void(std::mt19937&, const Image& dst, zo::Placement*, Kernel*, Reference*)>;
// With a page, the kernel draws on a background that fills it exactly,
// under a sprite that covers it from its top left corner.
harness::Case SpriteCase(const PixelLayout& f, Make make, zotest::GuardedPage* page = nullptr) {
  return [=](std::mt19937& rng, Image& fast, Image& slow) {
    Image src = harness::RandomImage(rng, 60, 40), dst = harness::RandomImage(rng, 80, 50);
    if (page) {
      src = Image(page->kWidth + Between(rng, 0, 8), page->kHeight + Between(rng, 0, 8), page->kWidth + 8);
      dst = Image(page->kWidth, page->kHeight, page->kWidth);
      for (Image* im : {&src, &dst})
        for (auto& v : im->px) v = harness::RandomPixel(rng);
    }
    const IntRect clip = rng() % 4 && !page ? harness::RandomClip(rng, dst) : IntRect{0, 0, dst.width, dst.height};
    zo::Placement p = harness::RandomPlacement(rng, src, dst);
    if (page) p = zo::Placement{-Between(rng, 0, 3), -Between(rng, 0, 3), 0, 0, src.width, src.height};
    zo::Placement given = p;
    Kernel kernel;
    Reference reference;
    make(rng, dst, &given, &kernel, &reference);
    fast = slow = dst;
    if (page) {
      RunFrame(f, clip, page->Hold(fast), src, given, kernel);
      page->Return(fast);
    } else {
      RunFrame(f, clip, fast, src, given, kernel);
    }
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
    // A least above 0 draws strengths from it to 1: pulls of up to 31 rows.
    const auto displace = [](float least) -> Make {
      return [=](std::mt19937& rng, const Image&, zo::Placement*, Kernel* k, Reference* r) {
        float strength = rng() % 4 ? std::uniform_real_distribution<float>(0.0f, 1.0f)(rng) : float(rng() % 2);
        if (least > 0.0f) strength = std::uniform_real_distribution<float>(least, 1.0f)(rng);
        *k = [=](const zo::DistortJob& j) { zo::DisplaceKernel(j, zo::DisplaceLevel(strength)); };
        *r = [=](const IntRect& c, Image& d, const Image& s, const harness::Placement& p) {
          ref::Displace(c, d, s, p.x, p.y, strength, p.l, p.t, p.r, p.b);
        };
      };
    };
    harness::CompareSeeded("displace", 400, SpriteCase(f, displace(0.0f)));
    // The pulled pixels are gathered four bytes at a time: none may reach
    // past the background's last pixel.
    zotest::GuardedPage page;
    ASSERT_TRUE(page.Ok());
    harness::CompareSeeded("displace-guarded", 100, SpriteCase(f, displace(0.9f), &page));
  }
}

// ---------------------------------------------------------------- row blits

// A stand-in for the two blits and rand(): the calls are recorded, rand()
// answers from a script.
struct Call {
  bool keyed;
  int x, y, obj, l, t, r, b;
  bool operator==(const Call& o) const {
    return keyed == o.keyed && x == o.x && y == o.y && obj == o.obj && l == o.l && t == o.t && r == o.r && b == o.b;
  }
};
std::vector<Call> calls;
std::vector<int> script;
size_t drawn;
const zo::RowBlitter standIn{
    [](int x, int y, int obj, int l, int t, int r, int b) { calls.push_back({true, x, y, obj, l, t, r, b}); },
    [](int x, int y, int obj, int l, int t, int r, int b) { calls.push_back({false, x, y, obj, l, t, r, b}); },
    [] { return script[drawn++ % script.size()]; }};
const zo::RowBounds all{INT_MIN, INT_MAX, INT_MAX};  // every row can show
void Reset(std::vector<int> s = {0}) { calls.clear(), script = s, drawn = 0; }
Call Row(bool keyed, int x, int y, int row) { return Call{keyed, x, y, 3, 5, row, 25, row + 1}; }

TEST(RowBlits, ScanlinesDrawTheRowsTheStepNames) {
  Reset();
  zo::Scanlines(standIn, all, 10, 20, 1, 3, 5, 100, 25, 104);
  EXPECT_EQ(calls, (std::vector<Call>{Row(true, 10, 21, 101), Row(true, 10, 22, 102), Row(true, 10, 23, 103)}));
  Reset();
  zo::Scanlines(standIn, all, 10, 20, 3, 3, 5, 100, 25, 107);
  EXPECT_EQ(calls, (std::vector<Call>{Row(true, 10, 23, 103), Row(true, 10, 26, 106)}));
  Reset();
  zo::Scanlines(standIn, all, 10, 20, 0, 3, 5, 100, 25, 107);
  EXPECT_TRUE(calls.empty());
  // step -4: rows 1 + rand() % 4 apart, one rand() per row, the last one past the end.
  Reset({6, 0, 3, 9});
  zo::Scanlines(standIn, all, 10, 20, -4, 3, 5, 100, 25, 108);
  EXPECT_EQ(calls, (std::vector<Call>{Row(true, 10, 23, 103), Row(true, 10, 24, 104)}));
  EXPECT_EQ(drawn, 3u);
}

TEST(RowBlits, JitterShiftsEachRowByOneRandomDraw) {
  Reset({0, 1, 2, 3});
  zo::Jitter(standIn, all, 10, 20, 1, 3, 5, 100, 25, 104);  // amplitude 1: -1 or 0, never +1
  EXPECT_EQ(calls, (std::vector<Call>{Row(true, 9, 20, 100), Row(true, 10, 21, 101), Row(true, 9, 22, 102),
                                      Row(true, 10, 23, 103)}));
  Reset({7, 12});
  zo::Jitter(standIn, all, 10, 20, 5, 3, 5, 100, 25, 102);
  EXPECT_EQ(calls, (std::vector<Call>{Row(true, 12, 20, 100), Row(true, 7, 21, 101)}));
  Reset();
  zo::Jitter(standIn, all, 10, 20, 0, 3, 5, 100, 25, 104);
  EXPECT_EQ(calls, (std::vector<Call>{Call{true, 10, 20, 3, 5, 100, 25, 104}}));
  EXPECT_EQ(drawn, 0u);
}

TEST(RowBlits, WaveFollowsTheCosineProfileAndMovesItsPhase) {
  for (int H : {2, 3, 7, 24, 41})
    for (float phase : {0.0f, 0.25f, 3.5f, float(H) - 0.5f}) {
      Reset();
      zo::Wave(standIn, all, phase, 0.0f, 10, 20, 1, 3, 5, 100, 25, 100 + H);
      std::vector<Call> want;
      ref::WaveRows(phase, 100, 100 + H, [&](int o, int row) { want.push_back(Row(false, 10, 20 + o, row)); });
      EXPECT_EQ(calls, want) << "H " << H << " phase " << phase;
      ASSERT_FALSE(calls.empty());
      EXPECT_EQ(calls.front().y, 20) << "H " << H;
      EXPECT_LE(calls.back().y, 20 + 2 * (H / 2));
    }
  Reset();
  EXPECT_EQ(zo::Wave(standIn, all, 3.0f, 2.0f, 0, 0, 1, 3, 5, 100, 25, 104), 1.0f);  // 5 wraps by H to 1
  EXPECT_EQ(zo::Wave(standIn, all, 3.0f, 2.0f, 0, 0, 1, 3, 5, 100, 25, 106), 5.0f);
  EXPECT_EQ(zo::Wave(standIn, all, 1.0f, 2.0f, 0, 0, 0, 3, 5, 100, 25, 104), 3.0f);  // -1 wraps to 3
  EXPECT_EQ(zo::Wave(standIn, all, 1.0f, 0.0f, 0, 0, 0, 3, 5, 100, 25, 104), 1.0f);
  // Fewer than two rows: nothing drawn, the phase kept.
  Reset();
  EXPECT_EQ(zo::Wave(standIn, all, 1.5f, 2.0f, 0, 0, 1, 3, 5, 100, 25, 101), 1.5f);
  EXPECT_EQ(zo::Wave(standIn, all, 1.5f, 2.0f, 0, 0, 1, 3, 5, 100, 25, 90), 1.5f);
  EXPECT_TRUE(calls.empty());
}

// ---------------------------------------------------------------- edges

// A picture numbered pixel by pixel (never 0 unless zeros says so).
Image Numbered(int w, int h, bool zeros = false) {
  Image im(w, h, w + 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) im.at(x, y) = uint16_t(zeros && (x + y) % 3 == 0 ? 0 : 1 + x + 16 * y);
  return im;
}
Image Drawn(Image dst, Image src, IntRect clip, zo::Placement p, const Kernel& kernel) {
  RunFrame(k565, clip, dst, src, p, kernel);
  return dst;
}

TEST(MirrorEdges, CasesTheRandomComparisonDoesNotReach) {
  harness::BuildTables(k565);
  const Image src = Numbered(10, 6, true), dst(30, 20, 33);
  const IntRect all{0, 0, 30, 20};
  // A mirrored sprite half off the clip's left edge shows what the whole one shows there.
  const Image whole = Drawn(dst, src, all, {0, 2, 0, 0, 10, 6}, [](const zo::DistortJob& j) { zo::MirrorKernel(j, 1); });
  const Image half = Drawn(dst, src, {5, 0, 30, 20}, {0, 2, 0, 0, 10, 6}, [](const zo::DistortJob& j) { zo::MirrorKernel(j, 1); });
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) EXPECT_EQ(half.at(x, y), x < 5 ? 0 : whole.at(x, y)) << x << "," << y;
  EXPECT_EQ(Drawn(dst, src, all, {0, 0, 0, 0, 10, 6}, [](const zo::DistortJob& j) { zo::MirrorKernel(j, 4); }).px,
            dst.px);
  // Ripple: a step below 1 draws nothing; amplitude 0, shear 0, scale 1 copies, zeros included.
  Image filled = dst;
  for (auto& v : filled.px) v = 0x1234;
  for (int step : {0, -3})
    EXPECT_EQ(Drawn(filled, src, all, {2, 3, 0, 0, 10, 6},
                  [=](const zo::DistortJob& j) { zo::RippleKernel(j, zo::Ripple{5, 3, step, 1.0f, 0.0f}); })
                  .px,
              filled.px);
  const Image copied = Drawn(filled, src, all, {2, 3, 0, 0, 10, 6},
                           [](const zo::DistortJob& j) { zo::RippleKernel(j, zo::Ripple{0, 7, 1, 1.0f, 0.0f}); });
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool in = x >= 2 && x < 12 && y >= 3 && y < 9;
      EXPECT_EQ(copied.at(x, y), in ? src.at(x - 2, y - 3) : 0x1234) << x << "," << y;
    }
  // Displacement at strength 0 leaves the background as it was.
  const Image bg = Numbered(30, 20);
  EXPECT_EQ(Drawn(bg, Numbered(10, 6), all, {3, 3, 0, 0, 10, 6},
                [](const zo::DistortJob& j) { zo::DisplaceKernel(j, zo::DisplaceLevel(0.0f)); })
                .px,
            bg.px);
  // A cut beyond the object smears its last column (type 0) or row (type 2).
  const Image solid = Numbered(4, 3);
  for (int type : {0, 2}) {
    const zo::Placement p = zo::SmearPlacement({0, 0, 0, 0, 4, 3}, type, 30, 20);
    const Image out = Drawn(dst, solid, all, p, [=](const zo::DistortJob& j) { zo::SmearKernel(j, type, 65535); });
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        const bool in = type == 0 ? y < 3 : x < 4;
        EXPECT_EQ(out.at(x, y), in ? solid.at(std::min(x, 3), std::min(y, 2)) : 0) << type << ": " << x << "," << y;
      }
  }
}

}  // namespace
