// The one text scope of the module: a font selected into a surface's DC.
#pragma once

#include <windows.h>
#include <ddraw.h>

namespace zo {

extern HDC textDC;  // the open scope's DC, null when none is open

// Creates the font from fontDesc, takes the surface's DC and selects the font.
// A scope still open is closed first: there is one slot, and its DC and font
// must never be lost. Does nothing more (and leaves textDC null) without
// fontDesc or a DC.
void OpenTextScope(IDirectDrawSurface* surface);
// Reselects the kept font, deletes the scope's font and gives the DC back to
// the surface the scope was opened on; nothing when no scope is open.
void CloseTextScope();

// An open scope set aside, with the font description, height and colours it
// was drawing with, so that the library can draw a line of its own inside a
// caller's scope.
struct SavedTextScope {
  IDirectDrawSurface* surface;  // null when no scope was open
  HFONT font, kept;
  COLORREF ink, background;
  int backgroundMode;
  LOGFONTA desc;
  int height;
  COLORREF textColor, shadowColor;
};
// Gives the open scope's DC back (its font stays alive) and leaves no scope
// open.
SavedTextScope SuspendTextScope();
// Closes whatever scope is open and brings the saved one back on a new DC of
// its surface, with its font and colours; when the DC cannot be had again
// its font is deleted and no scope is open.
void ResumeTextScope(const SavedTextScope& saved);

// Shrinks a double-size line of object 3 into object 2 at screen (dx, dy),
// mixing edges with the back surface; nothing when a lock fails.
void AntialiasLine(int dx, int dy, int sx, int sy, int width2, int height2);

}  // namespace zo
