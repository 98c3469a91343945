// The sizes in the headers of PNG, JPEG and GIF files, read and bounded
// before the system's decoder sees a file: the same bounds as a BMP's, so a
// small file cannot claim a picture the sprite record cannot hold or that
// takes seconds and gigabytes to decode.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zo {

enum class ImageKind { Bmp, Png, Jpeg, Gif };

// The kind a file name's extension asks for (any case): .png, .jpg, .jpeg,
// .gif; every other name is read as a BMP.
ImageKind ImageKindOfName(const char* name);

enum class ImageFault {
  None,
  WrongKind,  // the signature does not match the extension
  HeaderCut,  // the file ends before the size is known
  BadSize,    // a side of 0
  TooLarge,   // a side above MaxBmpSide or more than MaxBmpPixels pixels
};

// The picture's size as the decoder will see it. For a GIF both the logical
// screen and the first image are checked, and the first image's size is
// answered; a JPEG's is that of its first frame header (SOFn).
struct ImageSize {
  uint32_t width;
  uint32_t height;
};
ImageFault CheckImageHeader(ImageKind kind, const uint8_t* bytes, size_t size, ImageSize* out);

// Whether a decoded picture of that size may become a sprite.
bool ImageSizeAllowed(uint64_t width, uint64_t height);

}  // namespace zo
