// The rotating and scaling blits: the destination window frame around the
// rotation kernel.
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/rotate_kernels.h"
#include "zo/effects.h"

namespace {

using zo::RotateCall;
using zo::RotateForm;

int Rotate(const RotateCall& call, int object) {
  IDirectDrawSurface* source = zo::EffectSource(object);
  if (!source) return 0;
  return zo::WindowFrame(ClipRect, IntRect{call.dl, call.dt, call.dr, call.db}, zo::RotateDrawable(call),
                         zo::LockedSurfaces{source},
                         [&](const zo::PixelView& src, const zo::PixelView& dst, const zo::RotateWindow& window) {
                           zo::RotateKernel(zo::RotateJob{src, dst, PixelFormat, call, window});
                         });
}

// Everything but the floor's scales and colour factors.
RotateCall Call(RotateForm form, int dl, int dt, int dr, int db, int angle, float scale, int sl, int st, int sr,
                int sb) {
  return RotateCall{form, dl, dt, dr, db, angle, scale, 0.0f, 0.0f, 0.0f, 0.0f, {}, sl, st, sr, sb};
}

}  // namespace

namespace zoDraw {

int DrawRotate(int dl, int dt, int dr, int db, int angle, int object, int sl, int st, int sr, int sb) {
  return Rotate(Call(RotateForm::Plain, dl, dt, dr, db, angle, 0.0f, sl, st, sr, sb), object);
}

int DrawRotateTile(int dl, int dt, int dr, int db, int angle, int object, int sl, int st, int sr, int sb) {
  return Rotate(Call(RotateForm::Tile, dl, dt, dr, db, angle, 0.0f, sl, st, sr, sb), object);
}

int DrawRotateZoom(int dl, int dt, int dr, int db, int angle, float scale, int object, int sl, int st, int sr,
                   int sb) {
  return Rotate(Call(RotateForm::Zoom, dl, dt, dr, db, angle, scale, sl, st, sr, sb), object);
}

int DrawRotateZoomTile(int dl, int dt, int dr, int db, int angle, float scale, int object, int sl, int st,
                       int sr, int sb) {
  return Rotate(Call(RotateForm::ZoomTile, dl, dt, dr, db, angle, scale, sl, st, sr, sb), object);
}

int DrawRotateFloor(int dl, int dt, int dr, int db, int angle, float scaleX, float stepX, float scaleY,
                    float stepY, float factorR, float factorG, float factorB, int object, int sl, int st,
                    int sr, int sb) {
  return Rotate(RotateCall{RotateForm::Floor, dl, dt, dr, db, angle, 0.0f, scaleX, stepX, scaleY, stepY,
                           {factorR, factorG, factorB}, sl, st, sr, sb},
                object);
}

}  // namespace zoDraw
