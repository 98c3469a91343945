// The tunnel map: its build, and the draw through the locked texture object
// and back surface. Neither ClipRect nor a transparent value applies; the
// draw keeps to the back surface and to the texture object by itself.
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/tunnel_kernels.h"
#include "zo.h"

TunnelGrid TunnelMap;

namespace zoDraw {

void BuildTunnelMap(int texWidth, int texHeight, int mapWidth, int mapHeight, int centreX,
                    int centreY, int fov, int motion, int distanceKind, int depthKind) {
  const zo::TunnelShape shape{texWidth, texHeight, mapWidth, mapHeight, centreX,
                              centreY,  fov,       motion,   distanceKind, depthKind};
  if (const char* refusal = zo::TunnelShapeRefusal(shape)) {
    ShowError("zoDraw::BuildTunnelMap", refusal);
    return;
  }
  zo::BuildTunnelCells(shape, &TunnelMap);
}

int DrawTunnel(int x, int y, int scrollU, int scrollV, int object) {
  IDirectDrawSurface* texture = zo::EffectSource(object);
  if (!texture) return 0;
  return zo::LockedSurfaces{texture}([&](const zo::PixelView& tex, const zo::PixelView& dst) {
    zo::TunnelKernel(zo::TunnelJob{tex, dst, &TunnelMap, x, y, scrollU, scrollV});
  });
}

}  // namespace zoDraw
