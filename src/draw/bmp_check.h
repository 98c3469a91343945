// The headers of a BMP file checked against the file's size before a system
// decoder sees it: the decoder trusts them and reads wherever they point.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zo {

// Why a file is refused; None for a file the decoder may read.
enum class BmpFault {
  None,
  NotBmp,         // no "BM" at the start
  UnknownHeader,  // an info header size other than 12, 40, 52, 56, 108, 124
  HeaderCut,      // the file ends inside its headers
  BadFormat,      // bit count and compression that do not go together
  BadSize,        // zero or negative width, zero height
  TooLarge,       // a side above MaxBmpSide or more than MaxBmpPixels pixels
  PaletteCut,     // the colour table (or the bit-field masks) runs past the end
  OffsetOutside,  // the pixel data would start inside the headers, or at or past the end
  PixelsCut,      // the rows (or the compressed data) run past the end
};

// A sprite keeps its sides in 16 bits; the pixel bound keeps a small file
// (an RLE one can claim any size) from taking seconds and a huge DIB.
const int64_t MaxBmpSide = 65535;
const int64_t MaxBmpPixels = int64_t{1} << 24;

// The most of the file's start the check reads: file header, the largest
// info header and three bit-field masks.
const size_t BmpHeadBytes = 14 + 124 + 12;

// head holds the first headSize bytes of a file of fileSize bytes (headSize
// may be less than fileSize; BmpHeadBytes is always enough).
BmpFault CheckBmpHeaders(const uint8_t* head, size_t headSize, uint64_t fileSize);

// The whole file in memory.
inline BmpFault CheckBmpFile(const uint8_t* bytes, size_t size) {
  return CheckBmpHeaders(bytes, size, size);
}

}  // namespace zo
