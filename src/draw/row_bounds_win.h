// The rows a row effect can show on this display: the clip rectangle within
// the back surface, and the rows of the object drawn from.
#pragma once

#include <algorithm>

#include "draw/effects/row_blits.h"
#include "draw/objects_win.h"
#include "zo.h"

namespace zo {

inline RowBounds RowBoundsFor(int object) {
  const DrawObject* record = ObjectAt(object);
  const int rows = record && record->surface ? record->height : 0;
  return RowBounds{std::max(ClipRect.top, 0), std::min(ClipRect.bottom, screenHeight), rows};
}

}  // namespace zo
