// The BMP header check over arbitrary bytes. A file it takes is then read
// the way a decoder would (headers, masks, colour table, every row or the
// compressed data), so the sanitizers catch any byte it lets lie outside.
#include <cstddef>
#include <cstdint>

#include "draw/bmp_check.h"
#include "fuzz_target.h"

namespace {

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

volatile uint8_t sink;

void Touch(const uint8_t* p, uint64_t n) {
  uint8_t x = 0;
  for (uint64_t i = 0; i < n; ++i) x ^= p[i];
  sink = x;
}

void ReadLikeADecoder(const uint8_t* f) {
  const uint32_t info = U32(f + 14);
  const bool core = info == 12;
  // Both arms signed: a top-down height must stay negative.
  const int64_t width = core ? int64_t{U16(f + 18)} : int64_t{static_cast<int32_t>(U32(f + 18))};
  const int64_t height = core ? int64_t{U16(f + 20)} : int64_t{static_cast<int32_t>(U32(f + 22))};
  const uint32_t bits = core ? U16(f + 24) : U16(f + 28);
  const uint32_t compression = core ? 0 : U32(f + 30);
  uint64_t colours = core ? 0 : U32(f + 46);
  if (colours == 0 && bits <= 8) colours = uint64_t{1} << bits;
  const uint64_t masks = info == 40 && compression == 3 ? 12 : 0;
  const uint64_t tableBytes = masks + colours * (core ? 3 : 4);
  Touch(f, 14 + info + tableBytes);
  const uint64_t offset = U32(f + 10) ? U32(f + 10) : 14 + info + tableBytes;
  if (compression == 1 || compression == 2) {
    Touch(f + offset, U32(f + 34));
    return;
  }
  const uint64_t rows = height < 0 ? -height : height;
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  for (uint64_t r = 0; r < rows; ++r) Touch(f + offset + r * stride, stride);
}

}  // namespace

ZO_FUZZ_TARGET(bmp_check)(const uint8_t* data, size_t size) {
  if (zo::CheckBmpFile(data, size) == zo::BmpFault::None) ReadLikeADecoder(data);
  // A head shorter than the file, as the loader hands over a large file.
  if (size > zo::BmpHeadBytes) zo::CheckBmpHeaders(data, zo::BmpHeadBytes, size);
  return 0;
}
