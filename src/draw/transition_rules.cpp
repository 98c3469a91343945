#include "draw/transition_rules.h"

namespace zo {

namespace {

// Style 3 and 4: a shift of r mod (2(B - s) + 2) - (B - s + 1) pixels.
int Jitter(int step, int band, int (*random)()) {
  int span = 2 * (band - step) + 2;
  int r = random();
  if (span < 1) return 0;
  return r % span - (band - step + 1);
}

void EveryRowButEachStepth(std::vector<CoverCopy>& out, int step, int band, int w, int h,
                           bool jitter, int (*random)()) {
  for (int y = 0; y < h; ++y) {
    if (y % step == 0) continue;
    int x = jitter ? Jitter(step, band, random) : 0;
    out.push_back({x, y, 0, y, w, y + 1});
  }
}

void Blinds(std::vector<CoverCopy>& out, int step, int band, int w, int h, bool jitter,
            int (*random)()) {
  for (int y = 0; y < h; y += band) {
    int x = jitter ? Jitter(step, band, random) : 0;
    out.push_back({x, y, 0, y, w, y + step + 1});
  }
}

}  // namespace

std::vector<CoverCopy> CoverCopies(int style, int step, int band, int w, int h,
                                   int (*random)()) {
  std::vector<CoverCopy> out;
  if (style < 1 || style > 12 || step < 1) return out;
  if (style >= 2 && band < 1) return out;
  const int B = band, s = step, k = band - step + 1;
  switch (style) {
    case 1: EveryRowButEachStepth(out, s, B, w, h, false, random); break;
    case 2: Blinds(out, s, B, w, h, false, random); break;
    case 3: EveryRowButEachStepth(out, s, B, w, h, true, random); break;
    case 4: Blinds(out, s, B, w, h, true, random); break;
    case 5: out.push_back({0, (-h / B) * k, 0, 0, w, h}); break;
    case 6: out.push_back({0, (h / B) * k, 0, 0, w, h}); break;
    case 7: out.push_back({(-w / B) * k, 0, 0, 0, w, h}); break;
    case 8: out.push_back({(w / B) * k, 0, 0, 0, w, h}); break;
    case 9:
      out.push_back({0, ((-h) / 2 / B) * k, 0, 0, w, h / 2});
      out.push_back({0, h / 2 + (h / 2 / B) * k, 0, h / 2, w, h});
      break;
    case 10:
      out.push_back({((-w) / 2 / B) * k, 0, 0, 0, w / 2, h});
      out.push_back({w / 2 + (w / 2 / B) * k, 0, w / 2, 0, w, h});
      break;
    case 11: out.push_back({0, 0, 0, 0, (w / B) * s, h}); break;
    case 12: out.push_back({(w / B) * k, 0, (w / B) * k, 0, w, h}); break;
  }
  return out;
}

float ClampViewerScroll(float scroll, int imageHeight, int clipHeight) {
  if (scroll < 0.0f) scroll = 0.0f;
  float last = static_cast<float>(imageHeight - clipHeight);
  if (scroll > last) scroll = last;
  return scroll;
}

}  // namespace zo
