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
