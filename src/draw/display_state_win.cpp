#include "draw/display_win.h"
#include "draw/draw_object_win.h"

IDirectDraw* directDraw;
IDirectDrawSurface* primarySurface;
IDirectDrawSurface* backSurface;
IDirectDrawClipper* clipper;
int hardware3D;
int canStretch;
RECT screenRect;
RECT presentRect;

DrawObject drawObjects[MaxDrawObjects];

void ResetDrawObject(DrawObject& object) {
  object.surface = nullptr;
  object.name[0] = '\0';
  object.fromPack = 0;
  object.memory = 2;
  object.colorKey = 0;
  object.width = 0;
  object.height = 0;
}
