// Gives back every DirectDraw object and the display mode.
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "draw/objects_win.h"
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
  if (!fullScreen && clipper) {
    clipper->Release();
    clipper = nullptr;
  }
  if (primarySurface) {
    primarySurface->Release();
    primarySurface = nullptr;
  }
  if (backSurface) {
    backSurface->Release();
    backSurface = nullptr;
  }
  if (frameSurface) {
    frameSurface->Release();
    frameSurface = nullptr;
  }
  deepFrame = 0;
  if (fullScreen) {
    directDraw->RestoreDisplayMode();
    directDraw->SetCooperativeLevel(mainWindow, DDSCL_NORMAL);
  }
  directDraw->Release();
  directDraw = nullptr;
  ReleasePictureDecoder();
}

}  // namespace zo

namespace zoDraw {

void ReleaseAll() {
  zo::ReleaseDisplayObjects();
  if ((fullScreen || desktopMode) && mainWindow) CloseWindow(mainWindow);
}

}  // namespace zoDraw
