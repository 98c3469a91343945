// Pictures of what a window shows, for the tests that start a program and
// look at its screen the way a user would.
#pragma once

#include <windows.h>

#include "draw_support.h"

namespace zotest {

// The window's client area from (0, 0), width x height, read through the
// desktop DC and reduced to 5-6-5 values.
Pixels CaptureClient(HWND window, int width, int height);

// A 5-6-5 value from 8-bit channels, as the 16-bit display stores them.
inline uint16_t Pack565(int r, int g, int b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace zotest
