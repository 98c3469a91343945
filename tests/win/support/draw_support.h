// Helpers for the drawing tests: 16-bit surfaces read and written through
// Lock, BMP files of every common kind, and a display to draw on.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <string>

#include "effect_harness.h"

namespace zotest {

// The native effect tests' picture type, so both hold the same references.
using Pixels = Image;

// The whole 16-bit surface, its rows packed; empty when it cannot be locked.
Pixels ReadSurface(IDirectDrawSurface* surface);
// False, with nothing written, when the sizes differ or the lock is refused.
bool WriteSurface(IDirectDrawSurface* surface, const Pixels& pixels);

// 5-6-5 value to the 8-bit channels that convert back to exactly it.
COLORREF ColorOf565(uint16_t v);

enum class BmpKind { Bits1, Bits4, Bits8, Rle8, Bits16, Bits16Fields565, Bits24, Bits32 };

// Writes image (5-6-5 values; for palette kinds at most 2, 16 or 256
// distinct values) as a BMP file of that kind. With topDown the rows are
// stored top first (not for RLE).
bool WriteBmp(const std::string& path, BmpKind kind, const Pixels& image, bool topDown = false);

// What a 5-6-5 display shows for a pixel stored in a 5-5-5 file: green
// loses its low bit, so that bit is not compared.
inline bool SameIgnoringGreenLow(uint16_t a, uint16_t b) { return (a & ~0x20) == (b & ~0x20); }

// The folder of the test executable with a trailing backslash.
std::string ExeFolder();

// Opens a 640 x 480 windowed display over a fresh main window (made once).
// Answers what zoDraw::Screen answered.
int OpenDisplay(int width = 640, int height = 480, int placement = 1);

}  // namespace zotest
