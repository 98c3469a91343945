// The one text scope of the module: a font selected into a surface's DC.
#pragma once

#include <windows.h>
#include <ddraw.h>

namespace zo {

extern HDC textDC;  // the open scope's DC, null when none is open

// Creates the font from fontDesc, takes the surface's DC and selects the font.
// Does nothing (and leaves textDC null) without fontDesc or a DC.
void OpenTextScope(IDirectDrawSurface* surface);
// Reselects the kept font, deletes the scope's font, gives the DC back.
void CloseTextScope(IDirectDrawSurface* surface);

}  // namespace zo
