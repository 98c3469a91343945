// Mirror, smear, ripple and displacement: the effect frame around their
// kernels. Unlike the blends these keep the placement as given, because
// their pixels do not simply meet the destination one to one.
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/mirror_kernels.h"
#include "zo/effects.h"

namespace {

using zo::DistortJob;
using zo::Placement;

// EffectClip, lock the object then the back surface, run, unlock.
template <class Kernel>
int RunPlacedEffect(int obj, const Placement& p, Kernel kernel) {
  IDirectDrawSurface* source = zo::EffectSource(obj);
  if (!source) return 0;
  zo::SpriteClip clip;
  if (!zo::EffectClip(ClipRect, p.x, p.y, p.l, p.t, p.r, p.b, &clip)) return 1;
  DDSURFACEDESC srcDesc, dstDesc;
  zo::PixelView src, dst;
  if (!zo::LockView(source, &srcDesc, &src)) return 0;
  if (!backSurface || !zo::LockView(backSurface, &dstDesc, &dst)) {
    source->Unlock(srcDesc.lpSurface);
    return 0;
  }
  kernel(DistortJob{src, dst, p, clip, ClipRect, PixelFormat});
  source->Unlock(srcDesc.lpSurface);
  backSurface->Unlock(dstDesc.lpSurface);
  return 1;
}

}  // namespace

namespace zoDraw {

int DrawMirror(int x, int y, int type, int obj, int l, int t, int r, int b) {
  return RunPlacedEffect(obj, Placement{x, y, l, t, r, b},
                         [&](const DistortJob& job) { zo::MirrorKernel(job, type); });
}

int DrawSmear(int x, int y, int type, uint16_t cut, int obj, int l, int t, int r, int b) {
  const Placement p = zo::SmearPlacement(Placement{x, y, l, t, r, b}, type, screenWidth, screenHeight);
  return RunPlacedEffect(obj, p, [&](const DistortJob& job) { zo::SmearKernel(job, type, cut); });
}

int DrawRipple(int x, int y, int amplitude, int frequency, int step, float scale, float shear, int obj,
               int l, int t, int r, int b) {
  const zo::Ripple ripple{amplitude, frequency, step, scale, shear};
  if (step < 1) return 1;  // no step through the sprite: nothing to draw
  return RunPlacedEffect(obj, Placement{x, y, l, t, r, b},
                         [&](const DistortJob& job) { zo::RippleKernel(job, ripple); });
}

int DrawDisplace(int x, int y, float strength, int obj, int l, int t, int r, int b) {
  const int level = zo::DisplaceLevel(strength);
  return RunPlacedEffect(obj, Placement{x, y, l, t, r, b},
                         [&](const DistortJob& job) { zo::DisplaceKernel(job, level); });
}

}  // namespace zoDraw
