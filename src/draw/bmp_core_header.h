// OS/2 BMP files (12-byte core header) widened to the ordinary 40-byte info
// header with a 4-byte colour table, so that they can be made into a DIB
// section directly: Wine's own decoder damages the process heap on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zo {

// True when a file's info header is the 12-byte core header.
bool HasCoreHeader(const uint8_t* file, size_t size);

// For a whole file that CheckBmpFile accepts and that has a core header:
// info receives the 40-byte header and the colour table, *pixels the offset
// of the rows in the file and *pixelBytes their size. False otherwise.
bool WidenCoreHeader(const uint8_t* file, size_t size, std::vector<uint8_t>* info, size_t* pixels,
                     size_t* pixelBytes);

}  // namespace zo
