// Sine in degrees as fixed point scaled by 360, for per-pixel effects that
// must not call the math library: sin a = SineTable[a], cos a = SineTable[a + 90].
#pragma once

#include <cstdint>

const int SineTableSize = 450;
extern int32_t SineTable[SineTableSize];

void BuildSineTable();
