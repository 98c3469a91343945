#include "zo/draw_state.h"

IntRect ClipRect;
PixelLayout PixelFormat;
int screenWidth, screenHeight;
int displayDepth = 16;
int fallbackDepth2, fallbackDepth3;

namespace {

struct Channel {
  uint32_t max;
  uint16_t shift;
};

// A zero mask (a palettised mode) has no lowest bit: it yields max 0 and
// shift 0 instead of searching for ever.
Channel Normalise(uint32_t mask) {
  Channel c{mask, 0};
  if (mask == 0) return c;
  while ((c.max & 1u) == 0) {
    c.max >>= 1;
    ++c.shift;
  }
  return c;
}

}  // namespace

PixelLayout DerivePixelLayout(uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
  const uint32_t masks[3] = {redMask, greenMask, blueMask};
  Channel ch[3];
  for (int i = 0; i < 3; ++i) ch[i] = Normalise(masks[i]);
  PixelLayout p{};
  p.redMax = ch[0].max;
  p.greenMax = ch[1].max;
  p.blueMax = ch[2].max;
  p.redShift = ch[0].shift;
  p.greenShift = ch[1].shift;
  p.blueShift = ch[2].shift;
  for (int i = 0; i < 3; ++i) {
    p.fivePos[i] = static_cast<uint16_t>(ch[i].shift + (ch[i].max == 63 ? 1 : 0));
    p.halfMask |= (ch[i].max >> 1) << ch[i].shift;
    p.fullMask |= ch[i].max << ch[i].shift;
  }
  p.redMask = redMask;
  p.greenMask = greenMask;
  p.blueMask = blueMask;
  return p;
}
