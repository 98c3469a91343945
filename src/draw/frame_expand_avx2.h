// The AVX2 form of the frame expansion's 32-bit rows, sixteen pixels a step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/frame_expand.h"

namespace zo {

// Writes columns [0, n) of one source row into `rows` destination rows at
// out, each pixel `scale` (1, 2 or 4) times across, and answers n: the
// largest multiple of 16 not above width. With stream (out and pitch then
// on 16 bytes) the rows are written past the cache.
int ExpandRows32Avx2(const uint16_t* in, uint8_t* out, std::ptrdiff_t pitch, int rows, int width,
                     const DeepFormat& format, int scale, bool stream);

}  // namespace zo
