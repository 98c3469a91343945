// The tunnel map: its build, and the draw through the locked texture object
// and back surface. Neither ClipRect nor a transparent value applies; the
// draw keeps to the back surface and to the texture object by itself.
#include "draw/display_win.h"
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

int DrawTunnel(int x, int y, int scrollU, int scrollV, int obj) {
  IDirectDrawSurface* texture = zo::EffectSource(obj);
  if (!texture) return 0;
  DDSURFACEDESC texDesc, dstDesc;
  zo::PixelView tex, dst;
  if (!zo::LockView(texture, &texDesc, &tex)) return 0;
  if (!backSurface || !zo::LockView(backSurface, &dstDesc, &dst)) {
    texture->Unlock(texDesc.lpSurface);
    return 0;
  }
  zo::TunnelKernel(zo::TunnelJob{tex, dst, &TunnelMap, x, y, scrollU, scrollV});
  texture->Unlock(texDesc.lpSurface);
  backSurface->Unlock(dstDesc.lpSurface);
  return 1;
}

}  // namespace zoDraw
