// The DirectDraw objects of the display, owned by the display module.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include "zo/draw_state.h"

extern IDirectDraw* directDraw;
extern IDirectDrawSurface* primarySurface;
extern IDirectDrawSurface* backSurface;
extern IDirectDrawClipper* clipper;
extern int hardware3D;   // the DirectDraw object came from a 3D-capable driver
extern int canStretch;   // the blitter stretches in hardware
extern RECT screenRect;  // source rectangle of the presentation
extern RECT presentRect; // where the frame goes, in screen coordinates

namespace zo {
// The DirectDraw part of zoDraw::ReleaseAll: every surface, the clipper,
// the display mode and the DirectDraw object, without touching the window.
void ReleaseDisplayObjects();
}  // namespace zo

// DirectDrawEnumerateA's callback: takes the first 3D-capable driver.
BOOL WINAPI EnumDriverCallback(GUID* guid, LPSTR description, LPSTR name, LPVOID context);
