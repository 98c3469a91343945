#include "draw/blit_rules.h"

#include <algorithm>
#include <cmath>

namespace zo {

bool ClipBlit(const IntRect& clip, int& x, int& y, IntRect& src) {
  // 64-bit: a caller's far-off point or rectangle cannot overflow the sums.
  int64_t X = x, Y = y, sl = src.left, st = src.top, sr = src.right, sb = src.bottom;
  if (X + (sr - sl) > clip.right) sr = clip.right - X + sl;
  if (Y + (sb - st) > clip.bottom) sb = clip.bottom - Y + st;
  if (X < clip.left) {
    sl += clip.left - X;
    X = clip.left;
  }
  if (Y < clip.top) {
    st += clip.top - Y;
    Y = clip.top;
  }
  if (sr < sl || sb < st) return false;
  // Edges beyond int range lie outside every surface; they stay beyond it.
  auto held = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  x = held(X);
  y = held(Y);
  src = IntRect{held(sl), held(st), held(sr), held(sb)};
  return true;
}

bool ClipHalfFill(const IntRect& clip, int surfaceWidth, int surfaceHeight, IntRect& area) {
  area.right = std::min(area.right, clip.right);
  area.bottom = std::min(area.bottom, clip.bottom);
  area.left = std::max(area.left, clip.left);
  area.top = std::max(area.top, clip.top);
  // A clip rectangle reaching past the surface must not take the loop with it.
  area.left = std::max(area.left, 0);
  area.top = std::max(area.top, 0);
  area.right = std::min(area.right, surfaceWidth);
  area.bottom = std::min(area.bottom, surfaceHeight);
  return area.right > area.left && area.bottom > area.top;
}

void HalfBlendArea(uint8_t* pixels, int32_t pitch, const IntRect& area, uint16_t colour,
                   uint32_t halfMask) {
  const uint16_t mask = static_cast<uint16_t>(halfMask);
  const uint16_t half = static_cast<uint16_t>((colour >> 1) & mask);
  uint8_t* line = pixels + static_cast<intptr_t>(area.top) * pitch;
  for (int y = area.top; y < area.bottom; ++y, line += pitch) {
    uint16_t* p = reinterpret_cast<uint16_t*>(line) + area.left;
    for (int x = area.left; x < area.right; ++x, ++p) {
      *p = static_cast<uint16_t>(((*p >> 1) & mask) + half);
    }
  }
}

int WaveOffset(int amp, int div, float phase, int64_t row) {
  const double twoPi = 2.0 * 3.141592653589793;
  // trunc(phase) is the (int)phase of an in-range phase; in double neither a
  // far-off phase nor row / -1 can overflow.
  const double whole = std::trunc(double(phase));
  const double term = div == 0 ? whole + double(row) : double(row / div) + whole;
  if (!std::isfinite(term)) return 0;
  return static_cast<int>(amp * std::cos(term * twoPi / 360.0));
}

float AdvancePhase(float phase, float elapsed, float speed) {
  phase += elapsed * speed;
  if (phase >= 360.0f) phase -= 360.0f;
  return phase;
}

float WrapTileOffset(float offset, float delta, float size) {
  offset += delta;
  if (offset < -size) offset += size;
  if (offset > 0.0f) offset -= size;
  return offset;
}

float WrapRowScroll(float scroll, float delta, int64_t height) {
  const float h = static_cast<float>(height);
  scroll -= delta;
  if (scroll < 0.0f) scroll += h;
  if (scroll >= h) scroll -= h;
  // Only a step larger than the height is left outside; it wraps as often
  // as it needs.
  if (!std::isfinite(scroll)) return 0.0f;
  if (scroll < 0.0f || scroll >= h) {
    scroll = std::fmod(scroll, h);
    if (scroll < 0.0f) scroll += h;
    if (scroll >= h) scroll = 0.0f;
  }
  return scroll;
}

}  // namespace zo
