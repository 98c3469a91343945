// Presentation state; the input rules read parts of it too.
#include "zo/present_state.h"

int transitionStep, transitionDirection, transitionStyle, transitionBand, transitionTiles;
int viewerMode, viewerImage, viewerTiles, viewerHeight;
float viewerScroll, viewerTileX, viewerTileY;
int vsyncEnabled = 1;
float fpsValue, fpsMax, fpsMin = 999.9f;
int fpsFrames;
uint32_t fpsNextSample;
