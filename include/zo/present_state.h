// State of the frame presentation: screen transitions, the scroll viewer,
// the vertical-blank wait and the frame-rate line.
#pragma once

#include <cstdint>

extern int transitionStep;       // 0 none, else the running step 1..10
extern int transitionDirection;  // +1 closing, -1 opening, 0 none
extern int transitionStyle;      // 0 tiles, 1..12 cover image (object 1)
extern int transitionBand;       // stride or parts of styles 2..12 (at least 1)
extern int transitionTiles;      // object with the ten 64 x 48 tile frames
extern int viewerMode;           // the scroll viewer is drawn
extern int viewerImage, viewerTiles;  // objects of the viewer image and its tile
extern int viewerHeight;         // image height; 0 = no viewer prepared
extern float viewerScroll;       // first image row shown
extern float viewerTileX, viewerTileY;
extern int vsyncEnabled;         // wait for the vertical blank before presenting
extern float fpsValue, fpsMax, fpsMin;
extern int fpsFrames;
extern uint32_t fpsNextSample;
