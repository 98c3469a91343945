// Display, sprite objects, blits, primitives and effects.
#pragma once

#include <windows.h>

#include "zo/draw_state.h"

namespace zoDraw {
void ReleaseAll();  // every DirectDraw object and the display mode back
}  // namespace zoDraw
