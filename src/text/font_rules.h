// The arithmetic of the shared font description, kept inside int range for
// any height, angle or size a caller passes.
#pragma once

namespace zo {

// lfEscapement in tenths of a degree for an angle in degrees; a product past
// int range is taken modulo a full turn, which draws the same.
int EscapementOf(int angle);

// The double height of a buffer scope's font, held inside int range.
int DoubledFontSize(int size);

}  // namespace zo
