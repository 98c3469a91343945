// Template part of effect_frame_win.h.
#pragma once

#include "draw/display_win.h"

namespace zo {

template <class Kernel>
int RunSpriteEffect(int x, int y, int obj, int l, int t, int r, int b,
                    Kernel kernel) {
  IDirectDrawSurface* source = EffectSource(obj);
  if (!source) return 0;
  SpriteClip clip;
  if (!EffectClip(ClipRect, x, y, l, t, r, b, &clip)) return 1;

  DDSURFACEDESC srcDesc, dstDesc;
  PixelView src, dst;
  if (!LockView(source, &srcDesc, &src)) return 0;
  if (!backSurface || !LockView(backSurface, &dstDesc, &dst)) {
    source->Unlock(srcDesc.lpSurface);
    return 0;
  }
  SpriteSpan span;
  if (SpanInSurfaces(clip, src, dst, &span)) kernel(src, dst, span);
  source->Unlock(srcDesc.lpSurface);
  backSurface->Unlock(dstDesc.lpSurface);
  return 1;
}

}  // namespace zo
