// The tunnel map's build and draw as the rules read, slow and literal.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "effect_harness.h"
#include "zo/tunnel_state.h"

namespace ref {

struct Tunnel {
  int texWidth = 0, texHeight = 0, mapWidth = 0, mapHeight = 0;
  std::vector<TunnelCell> cells;
};

// trunc, non-finite as 0, then whole turns added or taken away one by one.
inline int Wrap(long double value, int n) {
  if (!std::isfinite(value)) return 0;
  long long t = (long long)std::trunc(value);
  while (t < 0) t += n;
  if (t >= n) t = t % n;
  return int(t);
}

inline Tunnel BuildTunnel(int tw, int th, int mw, int mh, int centreX, int centreY, int fov,
                          int motion, int distanceKind, int depthKind) {
  const long double pi = 3.14159265358979323846264338327950288L;
  Tunnel t{tw, th, mw, mh, std::vector<TunnelCell>(size_t(mw) * mh)};
  long long cx = centreX, cy = centreY;
  if (cx == -1) cx = mw / 2;
  if (cy == -1) cy = mh / 2;
  if (fov == -1) fov = 8;
  if (fov < 2) fov = 2;
  if (motion == 1) cy = mh;
  if (motion == 3) cx = mw;
  if (motion == 4) cx = 0;
  float d = 0, J = 0;
  for (int i = 0; i < mh; ++i) {
    if (motion == 1) cy -= 1;
    if (motion == 2) cx = mw;
    if (motion == 3 && cx > 0) cx -= 1;
    if (motion == 4 && cx < mw) cx += 1;
    for (int j = 0; j < mw; ++j) {
      if (motion == 2) cx -= 1;
      const long double f = (long double)th / (2 * std::tan(pi / fov / 2));
      const long double dx = (long double)(j - cx), dy = (long double)(i - cy);
      const long double ax = std::fabs(dx), ay = std::fabs(dy);
      if (distanceKind == 0) d = float(std::sqrt(dx * dx + dy * dy));
      if (distanceKind == 1) d = float(ax > ay ? ax : ay);
      if (distanceKind == 2) d = float((ax + ay) / 2);
      if (distanceKind == 3) d = float(ax < ay ? ax : ay);
      if (distanceKind == 4) d = float(ax);
      if (distanceKind == 5) d = float(ay);
      if (distanceKind == 6) d = float(cx);
      if (depthKind == 0) J = float(f / 32);
      if (depthKind == 1) J = float(f / ((ay + 1) / 10));
      if (depthKind == 2) J = float(f / ((ax + 1) / 10));
      if (depthKind == 3) J = float(f / (ax > ay ? ax : ay));
      if (depthKind == 4) J = float(f / ((ax + ay) / 2));
      if (depthKind == 5) J = float(f / (ax < ay ? ax : ay));
      J = std::fabs(J);
      const long double u = (long double)tw / (2 * pi) * std::atan2(dy, dx);
      const long double v =
          (long double)J * (std::sqrt((long double)cx * cx + (long double)cy * cy) - d) / d;
      t.cells[size_t(i) * mw + j] = TunnelCell{int16_t(Wrap(u, tw)), int16_t(Wrap(v, th))};
    }
  }
  return t;
}

// Every cell: texel ((su + u) mod tw, (sv + v) mod th), remainders taken
// non-negative, written unless it lands off dst or reads off the texture.
inline void DrawTunnel(const TunnelGrid& m, const Image& tex, Image& dst, int x, int y, int su,
                       int sv) {
  if (m.texWidth < 1 || m.texHeight < 1) return;
  for (long long i = 0; i < m.mapHeight; ++i)
    for (long long j = 0; j < m.mapWidth; ++j) {
      const long long X = x + j, Y = y + i;
      if (X < 0 || Y < 0 || X >= dst.width || Y >= dst.height) continue;
      const TunnelCell c = m.cells[i * m.mapWidth + j];
      long long u = ((long long)su + c.u) % m.texWidth, v = ((long long)sv + c.v) % m.texHeight;
      if (u < 0) u += m.texWidth;
      if (v < 0) v += m.texHeight;
      if (u >= tex.width || v >= tex.height) continue;
      dst.at(int(X), int(Y)) = tex.at(int(u), int(v));
    }
}

}  // namespace ref
