// The image pack format without DirectDraw: the entry scan, the expansion
// of 15-bit pixels to the screen's layout, the reduction of colours to 15
// bits, and the screenshot BMP layout.
//
// A pack is a plain run of entries, no header: width and height (uint16,
// little-endian), an upper-case name with its terminating 0, then
// width x height uint16 pixels (red bits 10..14, green 5..9, blue 0..4)
// row after row from the top.
#pragma once

#include <cstddef>
#include <cstdint>

#include "system/pack_reader.h"

namespace zo {

struct ImagePackEntry {
  uint16_t width, height;
  char name[PackNameCapacity];
};

// Reads entries from the reader's position until one is named exactly key.
// Found: entry holds its header and the reader stands at its first pixel.
// A header or name cut short, a name without its 0 within 127 bytes, or
// pixels reaching past the end of the data end the scan: false.
bool FindPackEntry(PackReader& reader, const char* key, ImagePackEntry* entry);

// Reads width x height pixels and writes them as 16-bit pixels, each 5-bit
// component placed at fivePos (red, green, blue), rows `pitch` pixels apart.
// Pixels missing at the end of the data repeat the last one read (0 when
// none was). Answers how many pixels were read.
size_t ExpandPackPixels(PackReader& reader, uint16_t* rows, ptrdiff_t pitch, int width,
                        int height, const uint16_t fivePos[3]);

// A COLORREF (0x00BBGGRR) as a pack pixel: 0 only for true black; a colour
// too dark for 5 bits becomes 1, the darkest blue, so it stays visible.
uint16_t ReducePackPixel(uint32_t colour);

// The entry header as written: width, height, name with its 0. Answers
// the bytes written into out (at least 4 + PackNameCapacity bytes), 0 when
// the name is longer than a reader accepts.
size_t WritePackEntryHeader(uint16_t width, uint16_t height, const char* name, uint8_t* out);

// ---- Screenshots: a 24-bit bottom-up BMP with its pixels at offset 58 ----

const uint32_t ScreenshotHeaderSize = 58;

// Bytes in one stored row: width x 3 rounded up to a multiple of 4.
uint32_t ScreenshotStride(uint32_t width);
// The 14-byte file header, the 40-byte info header and 4 zero bytes.
void BuildScreenshotHeader(uint32_t width, uint32_t height, uint8_t out[ScreenshotHeaderSize]);

// One stored row (blue, green, red bytes, zero padding to the stride) from
// 16-bit pixels through their 5-bit components (index = pixel value).
void EncodeScreenshotRow16(const uint16_t* pixels, uint32_t width,
                           const uint8_t (*components)[3], uint8_t* out);
// The same from 32-bit pixels, each byte taken at its channel's shift.
void EncodeScreenshotRow32(const uint32_t* pixels, uint32_t width, unsigned redShift,
                           unsigned greenShift, unsigned blueShift, uint8_t* out);

}  // namespace zo
