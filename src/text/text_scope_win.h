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

// Shrinks a double-size line of object 3 into object 2 at screen (dx, dy),
// mixing edges with the back surface; nothing when a lock fails.
void AntialiasLine(int dx, int dy, int sx, int sy, int width2, int height2);

}  // namespace zo
