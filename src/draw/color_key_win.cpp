// Colour keys: the settings for new objects, the per-object operations and
// the matching of a COLORREF to a surface's raw pixel value.
#include <cstring>

#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "zo.h"

COLORREF loadColorKey;
int loadKeyFromTopLeft;

namespace {
const COLORREF TopLeftPixel = static_cast<COLORREF>(-1);
}

DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF colour) {
  if (!surface) return static_cast<DWORD>(-1);
  COLORREF saved = 0;
  bool written = false;
  HDC dc;
  if (colour != TopLeftPixel && surface->GetDC(&dc) == DD_OK) {
    saved = GetPixel(dc, 0, 0);
    SetPixel(dc, 0, 0, colour);
    surface->ReleaseDC(dc);
    written = true;
  }
  DWORD value = static_cast<DWORD>(-1);
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  HRESULT hr;
  while ((hr = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
  }
  if (hr == DD_OK && !desc.lpSurface) surface->Unlock(nullptr);
  if (hr == DD_OK && desc.lpSurface) {
    DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    // Read one pixel only: a one-pixel 16-bit surface has no 32-bit word.
    DWORD raw = 0;
    size_t bytes = bits >= 32 || bits == 0 ? 4 : (bits + 7) / 8;
    std::memcpy(&raw, desc.lpSurface, bytes);
    value = bits < 32 && bits > 0 ? raw & ((1u << bits) - 1) : raw;
    surface->Unlock(nullptr);
  }
  if (written && surface->GetDC(&dc) == DD_OK) {
    SetPixel(dc, 0, 0, saved);
    surface->ReleaseDC(dc);
  }
  return value;
}

HRESULT ApplyColorKey(IDirectDrawSurface* surface, COLORREF colour) {
  if (!surface) return DDERR_INVALIDOBJECT;
  DWORD v = MatchSurfaceColor(surface, colour);
  DDCOLORKEY key = {v, v};
  return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

namespace zo {

void ApplyNewObjectKey(DrawObject& object) {
  if (loadKeyFromTopLeft) {
    ApplyColorKey(object.surface, TopLeftPixel);
    object.colorKey = -1;
  } else {
    ApplyColorKey(object.surface, loadColorKey);
    object.colorKey = static_cast<int32_t>(loadColorKey);
  }
}

}  // namespace zo

namespace zoDraw {

void SetColorKey(COLORREF colour) {
  loadColorKey = colour;
  loadKeyFromTopLeft = 0;
}

void UseTopLeftColorKey() { loadKeyFromTopLeft = 1; }

void SetObjectColorKey(int index, COLORREF colour) {
  DrawObject* object = zo::ObjectAt(index);
  if (!object) return;
  object->colorKey = static_cast<int32_t>(colour);
  if (object->surface) ApplyColorKey(object->surface, colour);
}

void SetObjectTopLeftColorKey(int index) {
  DrawObject* object = zo::ObjectAt(index);
  if (!object) return;
  object->colorKey = -1;
  if (object->surface) ApplyColorKey(object->surface, TopLeftPixel);
}

void CopyColorKey(int destination, int source) {
  IDirectDrawSurface* to = zo::SurfaceOf(destination);
  IDirectDrawSurface* from = zo::SurfaceOf(source);
  if (!to || !from) return;
  DDCOLORKEY key;
  if (from->GetColorKey(DDCKEY_SRCBLT, &key) == DD_OK) to->SetColorKey(DDCKEY_SRCBLT, &key);
}

}  // namespace zoDraw
