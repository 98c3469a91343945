// GDI primitives and single pixels on the back surface's device context.
// Every call takes the DC and makes its pen and brush afresh; nothing is
// cached between calls.
#include "draw/display_win.h"
#include "draw/draw_object_win.h"
#include "zo.h"

namespace {

// The bracket shared by the primitives: DC, brush then pen selected, drawn,
// then pen and brush put back and deleted, DC released.
class GdiBracket {
 public:
  GdiBracket(COLORREF penColor, int penWidth, const LOGBRUSH* brush) {
    if (!backSurface || backSurface->GetDC(&dc_) != DD_OK) {
      dc_ = nullptr;
      return;
    }
    if (brush) {
      brush_ = CreateBrushIndirect(brush);
      keptBrush_ = SelectObject(dc_, brush_);
    }
    pen_ = CreatePen(PS_SOLID, penWidth, penColor);
    keptPen_ = SelectObject(dc_, pen_);
  }
  ~GdiBracket() {
    if (!dc_) return;
    SelectObject(dc_, keptPen_);
    DeleteObject(pen_);
    if (brush_) {
      SelectObject(dc_, keptBrush_);
      DeleteObject(brush_);
    }
    backSurface->ReleaseDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HGDIOBJ keptPen_ = nullptr, keptBrush_ = nullptr;
};

// DC only, for the calls that need no pen.
class SurfaceDC {
 public:
  SurfaceDC() {
    if (!backSurface || backSurface->GetDC(&dc_) != DD_OK) dc_ = nullptr;
  }
  ~SurfaceDC() {
    if (dc_) backSurface->ReleaseDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
};

}  // namespace

namespace zoDraw {

void DrawLine(int x1, int y1, int x2, int y2, COLORREF colour, int width) {
  GdiBracket g(colour, width, nullptr);
  if (!g.dc()) return;
  MoveToEx(g.dc(), x1, y1, nullptr);
  LineTo(g.dc(), x2, y2);
}

void DrawRectangle(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline,
                   int width) {
  LOGBRUSH brush = {BS_SOLID, fill, 0};
  GdiBracket g(outline, width, &brush);
  if (!g.dc()) return;
  Rectangle(g.dc(), left, top, right, bottom);
}

void DrawPolygon(const POINT* points, int count, COLORREF colour, COLORREF background, int width,
                 int mode) {
  if (!points || count <= 0) return;
  LOGBRUSH brush = {BS_NULL, 0, 0};
  if (mode != 0) brush = {BS_HATCHED, colour, HS_DIAGCROSS};
  GdiBracket g(colour, width, &brush);
  if (!g.dc()) return;
  if (mode == 2)
    SetBkMode(g.dc(), TRANSPARENT);
  else if (mode != 0)
    SetBkColor(g.dc(), background);
  Polygon(g.dc(), points, count);
}

void DrawBezier(const POINT* points, int count, COLORREF colour, int width) {
  if (!points || count <= 0) return;
  GdiBracket g(colour, width, nullptr);
  if (!g.dc()) return;
  PolyBezier(g.dc(), points, static_cast<DWORD>(count));
}

void InvertRect(int left, int top, int right, int bottom) {
  SurfaceDC s;
  if (!s.dc()) return;
  RECT r = {left, top, right, bottom};
  ::InvertRect(s.dc(), &r);
}

void SetPixel(int x, int y, COLORREF colour) {
  SurfaceDC s;
  if (!s.dc()) return;
  ::SetPixel(s.dc(), x, y, colour);
}

void GetPixel(int x, int y, int* red, int* green, int* blue) {
  COLORREF c;
  {
    SurfaceDC s;
    if (!s.dc()) return;  // the outputs keep what they held
    c = ::GetPixel(s.dc(), x, y);
  }
  if (red) *red = GetRValue(c);
  if (green) *green = GetGValue(c);
  if (blue) *blue = GetBValue(c);
}

void GrabScreen(int object, int left, int top, int right, int bottom) {
  if (object < 0 || object >= MaxDrawObjects) return;
  IDirectDrawSurface* target = drawObjects[object].surface;
  if (!target || !backSurface) return;
  RECT r = {left, top, right, bottom};
  if (target->BltFast(0, 0, backSurface, &r, DDBLTFAST_WAIT) == DDERR_SURFACELOST)
    RestoreSurfaces();
}

}  // namespace zoDraw
