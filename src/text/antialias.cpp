#include "text/antialias.h"

#include <algorithm>
#include <cstdint>

namespace zo {

namespace {

template <typename Pixel>
void Antialias(const SurfaceView<const Pixel>& buffer, const SurfaceView<Pixel>& font,
               const SurfaceView<const Pixel>& back, const InkChannels& ch, int dx0, int dy0,
               int sx0, int sy0, int width2, int height2, const IntRect& clip) {
  // 64-bit: a line placed far off by its caller cannot overflow the clip.
  int64_t dx = dx0, dy = dy0, sx = sx0, sy = sy0;
  int64_t w = (int64_t(width2) - sx) >> 1, h = (int64_t(height2) - sy) >> 1;
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
  const int64_t lineRight = sx + 2 * w, lineBottom = sy + 2 * h;
  // Never outside the two screen-size surfaces, whatever the clip says.
  const int64_t x0 = std::max<int64_t>(0, -dx), y0 = std::max<int64_t>(0, -dy);
  w = std::min<int64_t>({w, font.width - dx, back.width - dx});
  h = std::min<int64_t>({h, font.height - dy, back.height - dy});

  const uint32_t m = ch.max;
  for (int64_t oy = y0; oy < h; ++oy) {
    for (int64_t ox = x0; ox < w; ++ox) {
      const int64_t cx = sx + 2 * ox, cy = sy + 2 * oy;
      uint32_t sum[3] = {0, 0, 0};
      int n = 0;
      for (int64_t ny = cy - 1; ny <= cy + 1; ++ny) {
        if (ny < sy || ny >= lineBottom || ny < 0 || ny >= buffer.height) continue;
        for (int64_t nx = cx - 1; nx <= cx + 1; ++nx) {
          if (nx < sx || nx >= lineRight || nx < 0 || nx >= buffer.width) continue;
          const uint32_t v = buffer.at(int(nx), int(ny));
          if (v == 0) continue;
          for (int c = 0; c < 3; ++c) sum[c] += (v >> ch.shift[c]) & m;
          ++n;
        }
      }
      if (n == 0) continue;
      const uint32_t under = back.at(int(dx + ox), int(dy + oy));
      Pixel out = 0;
      for (int c = 0; c < 3; ++c) {
        uint32_t s = sum[c] + m;
        if (n < 8) s += ((under >> ch.shift[c]) & m) * static_cast<uint32_t>(8 - n);
        s = std::min(s >> 3, m);
        out = static_cast<Pixel>(out | (s << ch.shift[c]));
      }
      font.at(int(dx + ox), int(dy + oy)) = out;
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
