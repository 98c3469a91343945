// Display, sprite objects, blits, primitives and effects.
#pragma once

#include <windows.h>

#include <cstdint>

#include "zo/draw_state.h"
#include "zo/present_state.h"

namespace zoDraw {
// ---- Display ----
int Screen(int width, int height, int placement);  // width -1: the configured size; 1 or 0
void SetClip(int left, int top, int right, int bottom);  // ClipRect, right/bottom exclusive
void SetDisplayDepths(int depth, int second, int third);  // full-screen depth and fallbacks
int GetDisplayDepth();                             // bits per pixel of the desktop
int IsWindowed();                                  // 0 in full screen
void ReleaseAll();                                 // every DirectDraw object and the display mode back

// ---- Sprite objects (0 on failure; user objects are 4..511) ----
int LoadObject(const char* name, int memory);      // BMP, PNG, JPEG or GIF beside the executable (or a BMP resource)
int CreateObject(int width, int height, int memory);  // empty object named "*"
int SwapObject(const char* name, int index, int memory);  // load another BMP, PNG, JPEG or GIF into index
void ReleaseObject(int index);                     // 4..511 only; frees a record a failed load left claimed
void RestoreSurfaces();                            // after DirectDraw lost surfaces
void SetColorKey(COLORREF colour);                 // key of objects loaded from now on
void UseTopLeftColorKey();                         // new objects: their top-left pixel is the key
void SetObjectColorKey(int index, COLORREF colour);
void SetObjectTopLeftColorKey(int index);
void CopyColorKey(int destination, int source);

// ---- Image packs (names are looked up upper-cased) ----
void SetPackFile(const char* name);                // the pack beside the executable
int LoadPack(const char* name, int memory);        // new object from the pack entry
int SwapPack(const char* name, int index, int memory);  // the entry into index; index or 0
// Appends every BMP, PNG, JPEG and GIF of folder (below the executable) to
// pack; 1, or 0 on a screen of 16 bits or less, which cannot hold what the
// files show.
int Convert(const char* pack, const char* folder, int afresh);
void ConvertFile(const char* pack, const char* path);  // one BMP, PNG, JPEG or GIF as a pack entry
int SaveScreen(const char* name, int width, int height);  // the back surface as a 24-bit BMP

// ---- Blits (clipped to ClipRect) ----
void DrawSprite(int x, int y, int object, int sl, int st, int sr, int sb);  // colour-keyed
void DrawSpriteOpaque(int x, int y, int object, int sl, int st, int sr, int sb);
void DrawSpriteTo(int destination, int x, int y, int object, int sl, int st, int sr, int sb);
void DrawSpriteToOpaque(int destination, int x, int y, int object, int sl, int st, int sr, int sb);
void DrawStretch(int x, int y, int object, int sl, int st, int sr, int sb, int destWidth,
                 int destHeight);                  // colour-keyed, scaled
void DrawStretchOpaque(int x, int y, int object, int sl, int st, int sr, int sb, int destWidth,
                       int destHeight);

// ---- Fills (raw pixel values, not clipped) ----
void ClearScreen();
void ClearObject(int object);
void ClearRect(int left, int top, int right, int bottom);
void DrawFrame(int left, int top, int right, int bottom);  // one-pixel outline in 0
void WhiteScreen();
void WhiteRect(int left, int top, int right, int bottom);
void FillRect(int left, int top, int right, int bottom, uint16_t colour);
void HalfFillRect(int left, int top, int right, int bottom, uint16_t colour);  // 50 % toward colour, clipped

// ---- Row effects (animated by frameDelta) ----
void DrawRowWave(int x, int y, int amp, int div, float speed, int object, int sl, int st, int sr,
                 int sb, int alternate);           // cosine-waved rows
void DrawTileScroll(float speedX, float speedY, int object, int sl, int st, int sr, int sb);
void DrawRowWaveScroll(int x, int y, int amp, int div, float waveSpeed, float scrollSpeed,
                       int object, int sl, int st, int sr, int sb);
void DrawRowWaveTile(int top, int bottom, int amp, int div, float waveSpeed, float scrollSpeed,
                     int object, int sl, int st, int sr, int sb);
void DrawRowMosaic(int x, int y, int band, int object, int sl, int st, int sr, int sb);
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

// ---- Clip-rectangle wipes ----
#include "zo/wipe_state.h"

namespace zoDraw {
// Starts a wipe of ClipRect at speed pixels per second: kind 1 from the
// bottom, 2 from the top, 3 from the right, 4 from the left, 5 from the
// horizontal centre line, 6 from the vertical one, 7 from the centre point,
// 8 a vertical band of width band then sideways, 9 a horizontal band then
// up and down; 0 picks one at random. Closing runs the shape backwards until
// nothing is visible. 0 while a wipe runs, and for another kind (reported).
int StartWipe(int closing, int kind, float speed, int band);
// One frame of the running wipe; 0 once none runs. Call once per frame.
int StepWipe();
// Closes at once: ClipRect collapses, to be restored by the next StartWipe.
void CloseWipeNow();
}  // namespace zoDraw
