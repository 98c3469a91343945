// The clip-rectangle wipes as plain arithmetic: starting, stepping and
// closing a wipe over a clip rectangle, apart from the display's globals.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"

namespace zo {

// What a wipe was started with.
struct WipeSettings {
  int32_t closing;  // non-zero for a closing wipe
  int32_t kind;     // shape 1..9
  float speed;      // edge speed in pixels per second
  int32_t band;     // band width or height of shapes 8 and 9
};

// Everything a wipe works on: the live clip rectangle, the one it opens to
// or closes from, its phase (-1 closed, 0 idle, 1 opening, 2 closing) and
// its settings.
struct WipeTarget {
  IntRect& clip;
  IntRect& saved;
  int32_t& state;
  WipeSettings& settings;
};

const int MaxWipeKind = 9;

// Pixels an edge moves in one frame: trunc(frameDelta * speed) + 1, never
// below 1 (a negative or undefined speed moves one pixel too, so every wipe
// ends) and bounded so that edges cannot overflow.
int WipeStep(float frameDelta, float speed);

// 0 while a wipe runs or for a kind outside 0..9, else 1. Kind 0 takes
// random() % 9 + 1. An opening collapses the clip rectangle to its start.
int StartWipeOn(const WipeTarget& w, int closing, int kind, float speed, int band,
                int (*random)());

// One frame of a running wipe with edges moving by step; 0 when none runs.
int StepWipeOn(const WipeTarget& w, int step);

// Collapses the clip rectangle to its top-left corner and enters the closed
// phase, keeping the rectangle to restore.
void CloseWipeOn(const WipeTarget& w);

// A running wipe stops with the clip rectangle restored (scene changes).
void CancelWipeOn(const WipeTarget& w);

}  // namespace zo
