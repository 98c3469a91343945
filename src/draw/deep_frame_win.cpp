// 5-6-5 frames on deeper displays: the surface format every drawing surface
// takes, the conversion surface and the expansion Present runs.
#include <cstring>

#include "draw/display_win.h"
#include "draw/frame_expand.h"
#include "zo.h"

int deepFrame;
IDirectDrawSurface* frameSurface;

namespace {

zo::DeepFormat displayFormat;
int nativeObjects;

}  // namespace

namespace zo {

int FrameDepth() { return deepFrame ? 16 : zoDraw::GetDisplayDepth(); }

void ApplyFrameFormat(DDSURFACEDESC* desc) {
  if (!deepFrame || nativeObjects) return;
  desc->dwFlags |= DDSD_PIXELFORMAT;
  std::memset(&desc->ddpfPixelFormat, 0, sizeof desc->ddpfPixelFormat);
  desc->ddpfPixelFormat.dwSize = sizeof desc->ddpfPixelFormat;
  desc->ddpfPixelFormat.dwFlags = DDPF_RGB;
  desc->ddpfPixelFormat.dwRGBBitCount = 16;
  desc->ddpfPixelFormat.dwRBitMask = 0xF800;
  desc->ddpfPixelFormat.dwGBitMask = 0x07E0;
  desc->ddpfPixelFormat.dwBBitMask = 0x001F;
  // The display cannot hold these in its own memory; the expansion reads
  // the back surface every frame anyway.
  desc->ddsCaps.dwCaps &= ~static_cast<DWORD>(DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM);
  desc->ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
}

NativeObjects::NativeObjects() : saved(nativeObjects) { nativeObjects = 1; }
NativeObjects::~NativeObjects() { nativeObjects = saved; }

void ChooseFrameFormat(IDirectDrawSurface* primary) {
  deepFrame = 0;
  if (frameDepth != 16 || !primary) return;
  DDPIXELFORMAT format;
  std::memset(&format, 0, sizeof format);
  format.dwSize = sizeof format;
  if (primary->GetPixelFormat(&format) != DD_OK || !(format.dwFlags & DDPF_RGB)) return;
  // A 16-bit display draws 5-6-5 (or 5-5-5) frames itself; a palettised
  // one has no channels to expand into.
  if (DeepFormatFromMasks(static_cast<int>(format.dwRGBBitCount), format.dwRBitMask,
                          format.dwGBitMask, format.dwBBitMask, &displayFormat))
    deepFrame = 1;
}

bool CreateFrameSurface(int width, int height) {
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  if (directDraw->CreateSurface(&desc, &frameSurface, nullptr) != DD_OK) {
    frameSurface = nullptr;
    return false;
  }
  return true;
}

HRESULT ExpandFrame() {
  if (!backSurface || !frameSurface) return DDERR_GENERIC;
  DDSURFACEDESC from = zo::EmptySurfaceDesc(), to = zo::EmptySurfaceDesc();
  HRESULT hr = backSurface->Lock(nullptr, &from, DDLOCK_WAIT, nullptr);
  if (hr != DD_OK) return hr;
  hr = frameSurface->Lock(nullptr, &to, DDLOCK_WAIT, nullptr);
  if (hr != DD_OK) {
    backSurface->Unlock(from.lpSurface);
    return hr;
  }
  const PixelView frame{static_cast<uint16_t*>(from.lpSurface), static_cast<int>(from.lPitch / 2),
                        static_cast<int>(from.dwWidth), static_cast<int>(from.dwHeight)};
  const DeepView shown{static_cast<uint8_t*>(to.lpSurface), to.lPitch, static_cast<int>(to.dwWidth),
                       static_cast<int>(to.dwHeight)};
  ExpandFrame565(frame, shown, displayFormat, PresentScale());
  frameSurface->Unlock(to.lpSurface);
  backSurface->Unlock(from.lpSurface);
  return DD_OK;
}

}  // namespace zo
