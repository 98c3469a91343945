// Display state that drawing code on any platform reads: the clip rectangle,
// the screen size and the pixel layout of the back surface.
#pragma once

#include <cstdint>

struct IntRect {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

// The back surface's RGB layout.
struct PixelLayout {
  uint32_t redMax, greenMax, blueMax;        // channel mask shifted down to bit 0: 31 or 63
  uint16_t redShift, greenShift, blueShift;  // lowest bit of each channel
  uint16_t fivePos[3];                       // red, green, blue: where a 5-bit value goes
  uint32_t redMask, greenMask, blueMask;     // the masks in place
  uint32_t halfMask;                         // every channel bit but the top one
  uint32_t fullMask;                         // white
};

extern IntRect ClipRect;          // every blit onto the back surface clips to it
extern PixelLayout PixelFormat;   // read from the back surface by zoDraw::Screen
extern int screenWidth, screenHeight;
extern int displayDepth;          // colour depth for full screen (default 16)
extern int fallbackDepth2, fallbackDepth3;

const int ImagePackPathCapacity = 256;
extern char imagePackPath[ImagePackPathCapacity];  // full path of the current pack; empty at start

// Derives the layout from the three channel masks (as DDPIXELFORMAT gives them).
PixelLayout DerivePixelLayout(uint32_t redMask, uint32_t greenMask, uint32_t blueMask);
