// The direct blits (BltFast with arithmetic clipping) and the scaled blits.
#include "draw/blit_rules.h"
#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "zo.h"

namespace {

const DWORD Keyed = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT;
const DWORD Opaque = DDBLTFAST_WAIT;

void BlitTo(IDirectDrawSurface* destination, int x, int y, int object, int sl, int st, int sr,
            int sb, DWORD flags) {
  IDirectDrawSurface* source = zo::SurfaceOf(object);
  if (!destination || !source) return;
  IntRect src{sl, st, sr, sb};
  if (!zo::ClipBlit(ClipRect, x, y, src)) return;
  RECT rect{src.left, src.top, src.right, src.bottom};
  if (destination->BltFast(x, y, source, &rect, flags) == DDERR_SURFACELOST) {
    zoDraw::RestoreSurfaces();
  }
}

void Stretch(int x, int y, int object, int sl, int st, int sr, int sb, int destWidth,
             int destHeight, bool keyed) {
  IDirectDrawSurface* source = zo::SurfaceOf(object);
  if (!backSurface || !source) return;
  if (canStretch) {
    RECT to{x, y, x + destWidth, y + destHeight};
    RECT from{sl, st, sr, sb};
    HRESULT hr = backSurface->Blt(&to, source, &from, keyed ? DDBLT_KEYSRC | DDBLT_WAIT : DDBLT_WAIT,
                                  nullptr);
    if (hr == DDERR_SURFACELOST) zoDraw::RestoreSurfaces();
    return;
  }
  DrawObject& buffer = drawObjects[0];
  if (!buffer.surface || object == 0) return;  // the buffer cannot be its own source
  HDC bufferDc, sourceDc;
  if (buffer.surface->GetDC(&bufferDc) != DD_OK) return;
  if (source->GetDC(&sourceDc) != DD_OK) {
    buffer.surface->ReleaseDC(bufferDc);
    return;
  }
  StretchBlt(bufferDc, 0, 0, destWidth, destHeight, sourceDc, sl, st, sr - sl, sb - st, SRCCOPY);
  source->ReleaseDC(sourceDc);
  buffer.surface->ReleaseDC(bufferDc);
  // Only what the buffer holds can be copied on.
  int w = destWidth < buffer.width ? destWidth : buffer.width;
  int h = destHeight < buffer.height ? destHeight : buffer.height;
  if (keyed) {
    zoDraw::DrawSprite(x, y, 0, 0, 0, w, h);
  } else {
    zoDraw::DrawSpriteOpaque(x, y, 0, 0, 0, w, h);
  }
}

}  // namespace

namespace zoDraw {

void DrawSprite(int x, int y, int object, int sl, int st, int sr, int sb) {
  BlitTo(backSurface, x, y, object, sl, st, sr, sb, Keyed);
}

void DrawSpriteOpaque(int x, int y, int object, int sl, int st, int sr, int sb) {
  BlitTo(backSurface, x, y, object, sl, st, sr, sb, Opaque);
}

void DrawSpriteTo(int destination, int x, int y, int object, int sl, int st, int sr, int sb) {
  BlitTo(zo::SurfaceOf(destination), x, y, object, sl, st, sr, sb, Keyed);
}

void DrawSpriteToOpaque(int destination, int x, int y, int object, int sl, int st, int sr,
                        int sb) {
  BlitTo(zo::SurfaceOf(destination), x, y, object, sl, st, sr, sb, Opaque);
}

void DrawStretch(int x, int y, int object, int sl, int st, int sr, int sb, int destWidth,
                 int destHeight) {
  Stretch(x, y, object, sl, st, sr, sb, destWidth, destHeight, true);
}

void DrawStretchOpaque(int x, int y, int object, int sl, int st, int sr, int sb, int destWidth,
                       int destHeight) {
  Stretch(x, y, object, sl, st, sr, sb, destWidth, destHeight, false);
}

}  // namespace zoDraw
