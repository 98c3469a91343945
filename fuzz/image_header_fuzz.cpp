// The PNG, JPEG and GIF header check over arbitrary bytes: the first byte
// picks the kind, the rest is the file. A file it takes has a size inside
// the sprite bounds, read from bytes inside the file.
#include <cstddef>
#include <cstdint>

#include "draw/image_header_check.h"
#include "fuzz_target.h"

ZO_FUZZ_TARGET(image_header)(const uint8_t* data, size_t size) {
  zofuzz::Input in(data, size);
  static const zo::ImageKind kinds[3] = {zo::ImageKind::Png, zo::ImageKind::Jpeg, zo::ImageKind::Gif};
  const zo::ImageKind kind = kinds[in.Byte() % 3];
  zo::ImageSize s;
  if (zo::CheckImageHeader(kind, in.rest(), in.left(), &s) == zo::ImageFault::None) {
    FUZZ_CHECK(s.width >= 1 && s.width <= 65535 && s.height >= 1 && s.height <= 65535);
    FUZZ_CHECK(uint64_t{s.width} * s.height <= (uint64_t{1} << 24));
  }
  return 0;
}
