// The sprite object table: every image the library draws is one record.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

struct DrawObject {
  IDirectDrawSurface* surface;  // null when the record holds none
  char name[32];                // empty = free; "*" = made by zoDraw::CreateObject
  int32_t fromPack;             // pixels came from the image pack
  int32_t memory;               // placement for a reload (always 2)
  int32_t colorKey;             // COLORREF, or -1 for the top-left pixel
  uint16_t width, height;
};

const int MaxDrawObjects = 512;
const int FirstUserObject = 4;  // 0..3 are the display's work objects
const int MaxObjectNameLength = 30;

extern DrawObject drawObjects[MaxDrawObjects];

// surface null, name empty, fromPack 0, memory 2, colorKey 0, size 0.
void ResetDrawObject(DrawObject& object);
