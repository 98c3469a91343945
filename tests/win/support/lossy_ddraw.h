// Lost surfaces on demand: a DirectDraw object and surfaces that forward to
// the real ones, except that the next n blits, locks and GetDCs (over all
// surfaces together) answer DDERR_SURFACELOST. A surface that lost its
// memory has its pixels scribbled over and stays lost until Restore, as a
// real one does when another program takes the video memory.
#pragma once

#include <windows.h>
#include <ddraw.h>

namespace zotest {

// Calls left that will lose their surface, and how many were lost so far.
extern int lossesToCome;
extern int lossesSoFar;

// Puts the seam between the library and the display it opened: wraps
// directDraw, the primary and back surfaces and every existing object, so
// that surfaces made later are wrapped too.
void InstallLossySurfaces();

// The real surface behind a wrapped one (itself when it is not wrapped).
IDirectDrawSurface* RealSurface(IDirectDrawSurface* surface);

}  // namespace zotest
