// Pixel work of the effects that move a sprite's pixels rather than mix
// them: mirrored copies, smears to the screen edge, a rippled forward
// mapping and a displacement of the background by the sprite's red channel.
// Every read stays inside the locked surfaces and every write inside the
// back surface, whatever the placement says.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "zo/draw_state.h"

namespace zo {

// One parameter record for every kernel of the family.
struct DistortJob {
  PixelView src, dst;  // the whole locked object and back surface
  Placement given;     // before clipping (a smear's with its far edge moved)
  SpriteClip clip;     // after EffectClip against clipRect
  IntRect clipRect;
  PixelLayout format;
};

// Type 0 copy, 1 left-right, 2 top-bottom, 3 both; clipping never changes
// which source pixel a destination pixel shows. Other types draw nothing.
void MirrorKernel(const DistortJob& job, int type);

// The rectangle a smear clips: type 0 reaches r = screenWidth - l, type 2
// b = screenHeight - t; the others keep it.
Placement SmearPlacement(Placement p, int type, int screenWidth, int screenHeight);

// Stretches column or row `cut` (counted in the clipped area) right (0),
// left (1), down (2) or up (3); 1 and 3 also fill the screen up to the
// sprite. A cut beyond the object reads its last column or row.
void SmearKernel(const DistortJob& job, int type, uint16_t cut);

struct Ripple {
  int amplitude, frequency, step;
  float scale, shear;
};

// Forward mapping of every step-th source pixel, value 0 included. A step
// below 1 draws nothing.
void RippleKernel(const DistortJob& job, const Ripple& ripple);

// trunc(31 - 31 * strength), NaN and far values held so that it stays an int.
int DisplaceLevel(float strength);

// Pulls each covered background pixel up from g rows below, g from the
// sprite's red component less the level.
void DisplaceKernel(const DistortJob& job, int level);

// float to int toward zero; false (nothing to use) when v is NaN or outside int.
inline bool TruncToInt(float v, int* out) {
  if (!(v > -2147483648.0f && v < 2147483648.0f)) return false;
  *out = int(v);
  return true;
}

// The AVX2 forms of the keyed row copy and the fill (mirror_kernels_avx2.cpp),
// which the kernels above take when ActiveSimdForm() says AVX2: dst[i] =
// s[i], or s[-i] for the reversed one, where that is not 0; dst[i] = v.
namespace avx2 {
void KeyedCopy(uint16_t* d, const uint16_t* s, int n);
void KeyedCopyReversed(uint16_t* d, const uint16_t* s, int n);
void Fill(uint16_t* d, uint16_t v, int n);
// DisplaceKernel's row from position i on, sixteen pixels a step while a
// whole step fits before end; answers where it stopped. Pulls reach up to
// reach - 1 rows below; every offset into the surface fits in 32 bits and
// level lies within +-2^20.
int64_t DisplaceRow(uint16_t* d, const uint16_t* s, int64_t i, int64_t end, std::ptrdiff_t pitch, int level,
                    int reach);
}  // namespace avx2

}  // namespace zo
