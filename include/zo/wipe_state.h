// State of the clip-rectangle wipes, which scenes read: the phase and the
// rectangle the wipe opens to or closes from.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"

// -1 closed (ClipRect collapsed, savedClipRect to be restored), 0 idle,
// 1 opening, 2 closing.
extern int32_t clipWipeState;
extern IntRect savedClipRect;
