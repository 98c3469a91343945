// The vector forms of the opacity blend (opacity_weights.h) over a block of
// rows: one set of weights for every pixel, or lane weights per column for a
// ramp along the rows. opacity_rows.inl writes them once over the lane type;
// blend_kernels.cpp runs the SSE2 form and calls the AVX2 one
// (blend_kernels_avx2.cpp) when ActiveSimdForm() says AVX2.
#pragma once

#include <cstdint>

#include "draw/effects/effect_frame.h"
#include "draw/effects/opacity_weights.h"
#include "zo/draw_state.h"

namespace zo {

struct OpacityChannels {
  int shift[3];
  uint32_t max[3];
  Layout layout;
  bool narrow;  // every channel fits six bits: the vector forms and per-call tables apply
  explicit OpacityChannels(const PixelLayout& f)
      : shift{f.redShift, f.greenShift, f.blueShift}, max{f.redMax, f.greenMax, f.blueMax}, layout(LayoutOf(f)) {
    narrow = max[0] <= 63 && max[1] <= 63 && max[2] <= 63;
  }
};

// The cheapest proven form of each channel of one set of weights: the lane
// form where there is one, the pair form where not.
struct FlatForms {
  enum Kind { kNone, kLane, kPair, kMixed } kind = kNone;
  bool isPair[3] = {};
  LaneWeight lane[3] = {};
  PairWeight pair[3] = {};
  bool fix = false;  // some lane weight has its correction
};

// Lane weights of column i at a[c][i] and fix[c][i], readable a whole vector
// past the last column.
struct ColumnWeights {
  const int16_t* a[3];
  const uint16_t* fix[3];
  bool fixed;  // some column has a correction
};

// n columns of rows rows; the pitches in pixels.
struct OpacityRows {
  uint16_t* dst;
  const uint16_t* src;
  int n, rows, dstPitch, srcPitch;
};

// Both need channels that are narrow, and the flat one a kind other than
// kNone. Clear source pixels leave the destination alone.
void FlatFormRows(const OpacityChannels& ch, const FlatForms& forms, const OpacityRows& rows);
void ColumnFormRows(const OpacityChannels& ch, const ColumnWeights& weights, const OpacityRows& rows);

namespace avx2 {
void FlatFormRows(const OpacityChannels& ch, const FlatForms& forms, const OpacityRows& rows);
void ColumnFormRows(const OpacityChannels& ch, const ColumnWeights& weights, const OpacityRows& rows);
}  // namespace avx2

}  // namespace zo
