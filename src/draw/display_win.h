// The DirectDraw objects of the display, owned by the display module.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include "system/present_scale.h"
#include "zo/draw_state.h"

extern IDirectDraw* directDraw;
extern IDirectDrawSurface* primarySurface;
extern IDirectDrawSurface* backSurface;
extern IDirectDrawClipper* clipper;
extern int hardware3D;   // the DirectDraw object came from a 3D-capable driver
extern int canStretch;   // the blitter stretches in hardware
extern RECT screenRect;  // source rectangle of the presentation
extern RECT presentRect; // where the frame goes, in screen coordinates

// A 5-6-5 frame on a deeper display (frameDepth 16): the back surface and
// every object hold 5-6-5 pixels in system memory, and Present expands the
// finished frame into frameSurface, which has the display's format and the
// size of the presented area.
extern int deepFrame;
extern IDirectDrawSurface* frameSurface;

namespace zo {
// A zeroed surface description with its size set, as every DirectDraw call
// that takes one expects.
inline DDSURFACEDESC EmptySurfaceDesc() {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  return desc;
}
// The bit depth drawing works in: 16 for a 5-6-5 frame on a deeper display,
// else the desktop's.
int FrameDepth();
// The explicit 5-6-5 format and system memory of a deep frame, added to the
// description of any surface that drawing reads or writes (nothing changes
// without a deep frame or inside a NativeObjects scope).
void ApplyFrameFormat(DDSURFACEDESC* desc);
// While one lives, new objects take the display's own format (the pack
// writer reads their colours back at full depth).
struct NativeObjects {
  NativeObjects();
  ~NativeObjects();
  int saved;
};
// Decides deepFrame from frameDepth and the primary surface, and keeps the
// layout its expansion writes.
void ChooseFrameFormat(IDirectDrawSurface* primary);
// The conversion surface of Present; false when DirectDraw refuses it.
bool CreateFrameSurface(int width, int height);
// Expands the back surface into frameSurface; the first failing lock's
// result (DDERR_SURFACELOST when a surface lost its memory).
HRESULT ExpandFrame();
// The DirectDraw part of zoDraw::ReleaseAll: every surface, the clipper,
// the display mode and the DirectDraw object, without touching the window.
void ReleaseDisplayObjects();
}  // namespace zo

// DirectDrawEnumerateA's callback: takes the first 3D-capable driver.
BOOL WINAPI EnumDriverCallback(GUID* guid, LPSTR description, LPSTR name, LPVOID context);
