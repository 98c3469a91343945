// The tunnel map: for every cell of a screen-sized grid a texture coordinate
// pair, built once by zoDraw::BuildTunnelMap and drawn through by
// zoDraw::DrawTunnel every frame.
#pragma once

#include <cstdint>

const int MaxTunnelCells = 640 * 480;

struct TunnelCell {
  int16_t u;  // angle coordinate 0..texWidth - 1
  int16_t v;  // depth coordinate 0..texHeight - 1
};

struct TunnelGrid {
  int32_t texWidth, texHeight;  // ranges of u and v
  int32_t mapWidth, mapHeight;  // grid size in cells
  TunnelCell cells[MaxTunnelCells];  // cell (j, i) at i * mapWidth + j
};

extern TunnelGrid TunnelMap;
