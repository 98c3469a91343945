// Display, sprite objects, blits, primitives and effects.
#pragma once

#include <windows.h>

#include "zo/draw_state.h"
#include "zo/present_state.h"

namespace zoDraw {
void ReleaseAll();  // every DirectDraw object and the display mode back

// ---- Presentation ----
void Present();                  // overlays, vertical-blank wait, back surface to the screen
void CloseTransition();          // ten-step closing transition, then scene = nextScene
void OpenTransition();           // ten-step opening transition
void LoadTransitionTiles(const char* name);  // the tile strip of style 0
void SetViewer(const char* image, const char* tiles, int height);  // prepare the scroll viewer
void ToggleViewer();
void SetVSync(int flag);
void DrawFps();                  // count a frame, draw the frame-rate line at (0, 0)
void DebugText(int x, int y, const char* text);
void DebugPrint(int x, int y, const char* format, ...);

// ---- GDI primitives on the back surface (COLORREF colours) ----
void DrawLine(int x1, int y1, int x2, int y2, COLORREF colour, int width);
void DrawRectangle(int left, int top, int right, int bottom, COLORREF fill, COLORREF outline,
                   int width);
// mode 0 outline only; else cross-hatched in colour, gaps in background (mode 2: gaps untouched)
void DrawPolygon(const POINT* points, int count, COLORREF colour, COLORREF background, int width,
                 int mode);
void DrawBezier(const POINT* points, int count, COLORREF colour, int width);
void InvertRect(int left, int top, int right, int bottom);
void SetPixel(int x, int y, COLORREF colour);
void GetPixel(int x, int y, int* red, int* green, int* blue);
void GrabScreen(int object, int left, int top, int right, int bottom);  // screen rect into object
}  // namespace zoDraw
