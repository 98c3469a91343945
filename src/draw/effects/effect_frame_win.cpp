#include "draw/effects/effect_frame_win.h"

#include "draw/display_win.h"
#include "draw/effects/effect_tables.h"
#include "draw/objects_win.h"

namespace zo {

bool LockView(IDirectDrawSurface* surface, DDSURFACEDESC* desc, PixelView* view) {
  *desc = EmptySurfaceDesc();
  if (surface->Lock(nullptr, desc, DDLOCK_WAIT, nullptr) != DD_OK) return false;
  view->pixels = static_cast<uint16_t*>(desc->lpSurface);
  view->pitch = desc->lPitch >> 1;
  view->width = int(desc->dwWidth);
  view->height = int(desc->dwHeight);
  // A surface that says nothing of its size or memory is given nothing to draw.
  if (!view->pixels || view->pitch < view->width) view->width = view->height = 0;
  return true;
}

IDirectDrawSurface* EffectSource(int object) {
  return effectTablesReady ? SurfaceOf(object) : nullptr;
}

int LockedSurfaces::Run(IDirectDrawSurface* source, const void* body,
                        void (*call)(const void*, const PixelView&, const PixelView&)) {
  if (!backSurface) return 0;
  DDSURFACEDESC srcDesc, dstDesc;
  PixelView src{nullptr, 0, 0, 0}, dst;
  if (source && !LockView(source, &srcDesc, &src)) return 0;
  if (!LockView(backSurface, &dstDesc, &dst)) {
    if (source) source->Unlock(srcDesc.lpSurface);
    return 0;
  }
  call(body, src, dst);
  if (source) source->Unlock(srcDesc.lpSurface);
  backSurface->Unlock(dstDesc.lpSurface);
  return 1;
}

}  // namespace zo
