// Gives back every DirectDraw object and the display mode.
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw/objects_win.h"
#include "system/com_release_win.h"
#include "text/text_scope_win.h"
#include "zo.h"

namespace zo {

void ReleaseDisplayObjects() {
  if (!directDraw) return;
  CloseTextScope();  // a scope left open gives its DC back while the surface lives
  for (DrawObject& object : drawObjects) {
    if (!object.surface) continue;
    object.surface->Release();
    ResetDrawObject(object);
  }
  if (!fullScreen) zo::ReleaseCom(clipper);
  zo::ReleaseCom(primarySurface);
  zo::ReleaseCom(backSurface);
  zo::ReleaseCom(frameSurface);
  deepFrame = 0;
  if (fullScreen) {
    directDraw->RestoreDisplayMode();
    directDraw->SetCooperativeLevel(mainWindow, DDSCL_NORMAL);
  }
  zo::ReleaseCom(directDraw);
  ReleasePictureDecoder();
}

}  // namespace zo

namespace zoDraw {

void ReleaseAll() {
  zo::ReleaseDisplayObjects();
  if ((fullScreen || desktopMode) && mainWindow) CloseWindow(mainWindow);
}

}  // namespace zoDraw
