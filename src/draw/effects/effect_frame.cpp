#include "draw/effects/effect_frame.h"

#include <algorithm>

namespace zo {

Layout LayoutOf(const PixelLayout& f) {
  const bool five = f.redMax == 31 && f.blueMax == 31 && f.blueShift == 0 && f.greenShift == 5;
  if (five && f.greenMax == 63 && f.redShift == 11 && f.fivePos[0] == 11 && f.fivePos[1] == 6 &&
      f.fivePos[2] == 0)
    return Layout::k565;
  if (five && f.greenMax == 31 && f.redShift == 10 && f.fivePos[0] == 10 && f.fivePos[1] == 5 &&
      f.fivePos[2] == 0)
    return Layout::k555;
  return Layout::Other;
}

bool EffectClip(const IntRect& clip, int x, int y, int left, int top, int right, int bottom,
                SpriteClip* out) {
  // 64-bit so that far-off coordinates cannot overflow the comparisons.
  int64_t w = int64_t(right) - left, h = int64_t(bottom) - top;
  int64_t X = x, Y = y, L = left, T = top;
  if (X + w > clip.right) w = int64_t(clip.right) - X;
  if (Y + h > clip.bottom) h = int64_t(clip.bottom) - Y;
  if (X < clip.left) {
    w -= clip.left - X;
    L += clip.left - X;
    X = clip.left;
  }
  if (Y < clip.top) {
    h -= clip.top - Y;
    T += clip.top - Y;
    Y = clip.top;
  }
  if (w < 0 || h < 0) return false;
  // A source corner beyond int range lies outside every surface anyway.
  const int64_t lo = INT32_MIN, hi = INT32_MAX;
  out->x = int(std::clamp(X, lo, hi));
  out->y = int(std::clamp(Y, lo, hi));
  out->left = int(std::clamp(L, lo, hi));
  out->top = int(std::clamp(T, lo, hi));
  out->width = int(std::min(w, hi));
  out->height = int(std::min(h, hi));
  return true;
}

namespace {

// One axis: start positions s (source) and d (destination), length n, surface
// sizes sn and dn. Answers the cut before and the length that remains.
bool Axis(int64_t s, int64_t d, int64_t n, int64_t sn, int64_t dn, int64_t* cut, int64_t* len) {
  int64_t c = std::max<int64_t>({0, -s, -d});
  int64_t end = std::min({n, sn - s, dn - d});
  *cut = c;
  *len = end - c;
  return *len > 0;
}

}  // namespace

bool SpanInSurfaces(const SpriteClip& c, const PixelView& src, const PixelView& dst, SpriteSpan* out) {
  int64_t cutX, cutY, w, h;
  if (!Axis(c.left, c.x, c.width, src.width, dst.width, &cutX, &w)) return false;
  if (!Axis(c.top, c.y, c.height, src.height, dst.height, &cutY, &h)) return false;
  out->srcX = int(c.left + cutX);
  out->srcY = int(c.top + cutY);
  out->dstX = int(c.x + cutX);
  out->dstY = int(c.y + cutY);
  out->width = int(w);
  out->height = int(h);
  out->firstCol = int(cutX);
  out->firstRow = int(cutY);
  return true;
}

bool WindowClip(const IntRect& clip, const IntRect& dest, RotateWindow* out) {
  const int64_t W = int64_t(dest.right) - dest.left, H = int64_t(dest.bottom) - dest.top;
  out->endX = dest.right > clip.right ? int64_t(clip.right) - dest.left : W;
  out->endY = dest.bottom > clip.bottom ? int64_t(clip.bottom) - dest.top : H;
  out->startX = dest.left < clip.left ? int64_t(clip.left) - dest.left : 0;
  out->startY = dest.top < clip.top ? int64_t(clip.top) - dest.top : 0;
  return out->endX >= out->startX && out->endY >= out->startY;
}

}  // namespace zo
