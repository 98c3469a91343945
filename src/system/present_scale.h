// The window scale as the display and the cursor apply it.
#pragma once

#include "zo/system.h"

namespace zo {

// How many screen pixels a frame pixel spans each way: windowScale in a
// window, 1 in full screen.
inline int PresentScale() { return fullScreen || windowScale < 1 ? 1 : windowScale; }

}  // namespace zo
