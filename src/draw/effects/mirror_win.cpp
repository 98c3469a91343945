// Mirror, smear, ripple and displacement: the placed frame around their
// kernels.
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/mirror_kernels.h"
#include "zo/effects.h"

namespace {

using zo::DistortJob;
using zo::Placement;

template <class Kernel>
int Distort(int object, const Placement& p, Kernel kernel) {
  IDirectDrawSurface* source = zo::EffectSource(object);
  if (!source) return 0;
  return zo::PlacedFrame(ClipRect, p, zo::LockedSurfaces{source},
                         [&](const zo::PixelView& src, const zo::PixelView& dst, const zo::SpriteClip& clip) {
                           kernel(DistortJob{src, dst, p, clip, ClipRect, PixelFormat});
                         });
}

}  // namespace

namespace zoDraw {

int DrawMirror(int x, int y, int type, int object, int sl, int st, int sr, int sb) {
  return Distort(object, Placement{x, y, sl, st, sr, sb},
                 [&](const DistortJob& job) { zo::MirrorKernel(job, type); });
}

int DrawSmear(int x, int y, int type, uint16_t cut, int object, int sl, int st, int sr, int sb) {
  const Placement p = zo::SmearPlacement(Placement{x, y, sl, st, sr, sb}, type, screenWidth, screenHeight);
  return Distort(object, p, [&](const DistortJob& job) { zo::SmearKernel(job, type, cut); });
}

int DrawRipple(int x, int y, int amplitude, int frequency, int step, float scale, float shear, int object,
               int sl, int st, int sr, int sb) {
  const zo::Ripple ripple{amplitude, frequency, step, scale, shear};
  if (step < 1) return 1;  // no step through the sprite: nothing to draw
  return Distort(object, Placement{x, y, sl, st, sr, sb},
                 [&](const DistortJob& job) { zo::RippleKernel(job, ripple); });
}

int DrawDisplace(int x, int y, float strength, int object, int sl, int st, int sr, int sb) {
  const int level = zo::DisplaceLevel(strength);
  return Distort(object, Placement{x, y, sl, st, sr, sb},
                 [&](const DistortJob& job) { zo::DisplaceKernel(job, level); });
}

}  // namespace zoDraw
