#include "text/antialias.h"

#include <algorithm>

namespace zo {

namespace {

template <typename Pixel>
void Antialias(const SurfaceView<const Pixel>& buffer, const SurfaceView<Pixel>& font,
               const SurfaceView<const Pixel>& back, const InkChannels& ch, int dx, int dy, int sx,
               int sy, int width2, int height2, const IntRect& clip) {
  int w = (width2 - sx) >> 1, h = (height2 - sy) >> 1;
  if (dx + w > clip.right) w = clip.right - dx;
  if (dy + h > clip.bottom) h = clip.bottom - dy;
  if (dx < clip.left) {
    sx += 2 * (clip.left - dx);
    w -= clip.left - dx;
    dx = clip.left;
  }
  if (dy < clip.top) {
    sy += 2 * (clip.top - dy);
    h -= clip.top - dy;
    dy = clip.top;
  }
  if (w < 0 || h < 0) return;
  // The line's own extent, before the surfaces cut it further.
  const int lineRight = sx + 2 * w, lineBottom = sy + 2 * h;
  // Never outside the two screen-size surfaces, whatever the clip says.
  const int x0 = std::max(0, -dx), y0 = std::max(0, -dy);
  w = std::min({w, font.width - dx, back.width - dx});
  h = std::min({h, font.height - dy, back.height - dy});

  const uint32_t m = ch.max;
  for (int oy = y0; oy < h; ++oy) {
    for (int ox = x0; ox < w; ++ox) {
      const int cx = sx + 2 * ox, cy = sy + 2 * oy;
      uint32_t sum[3] = {0, 0, 0};
      int n = 0;
      for (int ny = cy - 1; ny <= cy + 1; ++ny) {
        if (ny < sy || ny >= lineBottom || ny < 0 || ny >= buffer.height) continue;
        for (int nx = cx - 1; nx <= cx + 1; ++nx) {
          if (nx < sx || nx >= lineRight || nx < 0 || nx >= buffer.width) continue;
          const uint32_t v = buffer.at(nx, ny);
          if (v == 0) continue;
          for (int c = 0; c < 3; ++c) sum[c] += (v >> ch.shift[c]) & m;
          ++n;
        }
      }
      if (n == 0) continue;
      const uint32_t under = back.at(dx + ox, dy + oy);
      Pixel out = 0;
      for (int c = 0; c < 3; ++c) {
        uint32_t s = sum[c] + m;
        if (n < 8) s += ((under >> ch.shift[c]) & m) * static_cast<uint32_t>(8 - n);
        s = std::min(s >> 3, m);
        out = static_cast<Pixel>(out | (s << ch.shift[c]));
      }
      font.at(dx + ox, dy + oy) = out;
    }
  }
}

}  // namespace

void AntialiasLine16(const SurfaceView<const uint16_t>& buffer, const SurfaceView<uint16_t>& font,
                     const SurfaceView<const uint16_t>& back, const InkChannels& ch, int dx,
                     int dy, int sx, int sy, int width2, int height2, const IntRect& clip) {
  Antialias<uint16_t>(buffer, font, back, ch, dx, dy, sx, sy, width2, height2, clip);
}

void AntialiasLine32(const SurfaceView<const uint32_t>& buffer, const SurfaceView<uint32_t>& font,
                     const SurfaceView<const uint32_t>& back, const InkChannels& ch, int dx,
                     int dy, int sx, int sy, int width2, int height2, const IntRect& clip) {
  Antialias<uint32_t>(buffer, font, back, ch, dx, dy, sx, sy, width2, height2, clip);
}

}  // namespace zo
