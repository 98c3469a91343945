// Colour fills through the blitter and the 50 % blend in software.
#include <algorithm>
#include <cstring>

#include "draw/blit_rules.h"
#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "zo.h"

namespace {

void Fill(IDirectDrawSurface* surface, int left, int top, int right, int bottom, DWORD colour) {
  if (!surface) return;
  DDBLTFX fx;
  std::memset(&fx, 0, sizeof fx);
  fx.dwSize = sizeof fx;
  fx.dwFillColor = colour;
  RECT rect{left, top, right, bottom};
  surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

}  // namespace

namespace zoDraw {

void ClearScreen() { Fill(backSurface, 0, 0, screenWidth, screenHeight, 0); }

void ClearObject(int object) {
  DrawObject* record = zo::ObjectAt(object);
  if (record) Fill(record->surface, 0, 0, record->width, record->height, 0);
}

void ClearRect(int left, int top, int right, int bottom) {
  Fill(backSurface, left, top, right, bottom, 0);
}

void DrawFrame(int left, int top, int right, int bottom) {
  Fill(backSurface, left, top, right, top + 1, 0);
  Fill(backSurface, left, bottom - 1, right, bottom, 0);
  Fill(backSurface, left, top, left + 1, bottom, 0);
  Fill(backSurface, right - 1, top, right, bottom, 0);
}

void WhiteScreen() { Fill(backSurface, 0, 0, screenWidth, screenHeight, PixelFormat.fullMask); }

void WhiteRect(int left, int top, int right, int bottom) {
  Fill(backSurface, left, top, right, bottom, PixelFormat.fullMask);
}

void FillRect(int left, int top, int right, int bottom, uint16_t colour) {
  Fill(backSurface, left, top, right, bottom, colour);
}

void HalfFillRect(int left, int top, int right, int bottom, uint16_t colour) {
  if (!backSurface) return;
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  IntRect area{left, top, right, bottom};
  // The clip rectangle alone decides whether there is anything to do.
  if (std::min(right, ClipRect.right) < std::max(left, ClipRect.left) ||
      std::min(bottom, ClipRect.bottom) < std::max(top, ClipRect.top)) {
    return;
  }
  if (backSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return;
  if (desc.ddpfPixelFormat.dwRGBBitCount == 16 &&
      zo::ClipHalfFill(ClipRect, desc.dwWidth, desc.dwHeight, area)) {
    zo::HalfBlendArea(static_cast<uint8_t*>(desc.lpSurface), desc.lPitch, area, colour,
                      PixelFormat.halfMask);
  }
  backSurface->Unlock(nullptr);
}

}  // namespace zoDraw
