// The rotating and scaling blits: their own frame, which clips against a
// destination window, around the rotation kernel.
#include "draw/display_win.h"
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/rotate_kernels.h"
#include "zo/effects.h"

namespace {

using zo::RotateCall;
using zo::RotateForm;

// Window clip, lock the object then the back surface, draw, unlock.
int Rotate(const RotateCall& call, int obj) {
  IDirectDrawSurface* source = zo::EffectSource(obj);
  if (!source) return 0;
  zo::RotateWindow window;
  if (!zo::RotateClip(ClipRect, call, &window)) return 1;
  if (!zo::RotateDrawable(call)) return 1;  // nothing to map into

  DDSURFACEDESC srcDesc, dstDesc;
  zo::PixelView src, dst;
  if (!zo::LockView(source, &srcDesc, &src)) return 0;
  if (!backSurface || !zo::LockView(backSurface, &dstDesc, &dst)) {
    source->Unlock(srcDesc.lpSurface);
    return 0;
  }
  zo::RotateKernel(zo::RotateJob{src, dst, PixelFormat, call, window});
  source->Unlock(srcDesc.lpSurface);
  backSurface->Unlock(dstDesc.lpSurface);
  return 1;
}

RotateCall Call(RotateForm form, int dl, int dt, int dr, int db, int angle, int sl, int st, int sr, int sb) {
  RotateCall c{};
  c.form = form;
  c.dl = dl;
  c.dt = dt;
  c.dr = dr;
  c.db = db;
  c.angle = angle;
  c.sl = sl;
  c.st = st;
  c.sr = sr;
  c.sb = sb;
  return c;
}

}  // namespace

namespace zoDraw {

int DrawRotate(int dl, int dt, int dr, int db, int angle, int obj, int sl, int st, int sr, int sb) {
  return Rotate(Call(RotateForm::Plain, dl, dt, dr, db, angle, sl, st, sr, sb), obj);
}

int DrawRotateTile(int dl, int dt, int dr, int db, int angle, int obj, int sl, int st, int sr, int sb) {
  return Rotate(Call(RotateForm::Tile, dl, dt, dr, db, angle, sl, st, sr, sb), obj);
}

int DrawRotateZoom(int dl, int dt, int dr, int db, int angle, float scale, int obj, int sl, int st, int sr,
                   int sb) {
  RotateCall c = Call(RotateForm::Zoom, dl, dt, dr, db, angle, sl, st, sr, sb);
  c.scale = scale;
  return Rotate(c, obj);
}

int DrawRotateZoomTile(int dl, int dt, int dr, int db, int angle, float scale, int obj, int sl, int st,
                       int sr, int sb) {
  RotateCall c = Call(RotateForm::ZoomTile, dl, dt, dr, db, angle, sl, st, sr, sb);
  c.scale = scale;
  return Rotate(c, obj);
}

int DrawRotateFloor(int dl, int dt, int dr, int db, int angle, float scaleX, float stepX, float scaleY,
                    float stepY, float factorR, float factorG, float factorB, int obj, int sl, int st,
                    int sr, int sb) {
  RotateCall c = Call(RotateForm::Floor, dl, dt, dr, db, angle, sl, st, sr, sb);
  c.scaleX = scaleX;
  c.stepX = stepX;
  c.scaleY = scaleY;
  c.stepY = stepY;
  c.factor[0] = factorR;
  c.factor[1] = factorG;
  c.factor[2] = factorB;
  return Rotate(c, obj);
}

}  // namespace zoDraw
