#include "draw/image_header_check.h"

#include <cstring>

#include "draw/bmp_check.h"
#include "system/path_rules.h"

namespace zo {

namespace {

uint32_t Big16(const uint8_t* p) { return uint32_t{p[0]} << 8 | p[1]; }
uint32_t Big32(const uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }
uint32_t Little16(const uint8_t* p) { return p[0] | uint32_t{p[1]} << 8; }

ImageFault Sized(uint64_t width, uint64_t height, ImageSize* out) {
  if (width == 0 || height == 0) return ImageFault::BadSize;
  if (!ImageSizeAllowed(width, height)) return ImageFault::TooLarge;
  out->width = static_cast<uint32_t>(width);
  out->height = static_cast<uint32_t>(height);
  return ImageFault::None;
}

// The signature, then IHDR as the first chunk: width and height big-endian.
ImageFault CheckPng(const uint8_t* b, size_t size, ImageSize* out) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (size < 8 || std::memcmp(b, signature, 8) != 0) return ImageFault::WrongKind;
  if (size < 8 + 8 + 13) return ImageFault::HeaderCut;
  if (Big32(b + 8) != 13 || std::memcmp(b + 12, "IHDR", 4) != 0) return ImageFault::WrongKind;
  return Sized(Big32(b + 16), Big32(b + 20), out);
}

bool IsFrameHeader(uint8_t marker) {
  // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Segments from SOI to the first frame header; a scan before it, or the end
// of the file, leaves the size unknown.
ImageFault CheckJpeg(const uint8_t* b, size_t size, ImageSize* out) {
  if (size < 3 || b[0] != 0xFF || b[1] != 0xD8 || b[2] != 0xFF) return ImageFault::WrongKind;
  size_t at = 2;
  for (;;) {
    if (at >= size) return ImageFault::HeaderCut;
    if (b[at] != 0xFF) return ImageFault::WrongKind;
    while (at < size && b[at] == 0xFF) ++at;  // fill bytes
    if (at >= size) return ImageFault::HeaderCut;
    const uint8_t marker = b[at++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return ImageFault::WrongKind;
    if (size - at < 2) return ImageFault::HeaderCut;
    const size_t length = Big16(b + at);
    if (length < 2) return ImageFault::WrongKind;
    if (IsFrameHeader(marker)) {
      if (length < 8 || size - at < 7) return ImageFault::HeaderCut;
      return Sized(Big16(b + at + 5), Big16(b + at + 3), out);  // lines 0: size comes later (DNL)
    }
    if (size - at < length) return ImageFault::HeaderCut;
    at += length;
  }
}

// Skips a colour table of the size the flags give.
bool SkipTable(uint8_t flags, size_t size, size_t* at) {
  if (!(flags & 0x80)) return true;
  const size_t bytes = size_t{3} << ((flags & 7) + 1);
  if (size - *at < bytes) return false;
  *at += bytes;
  return true;
}

// The logical screen, then blocks up to the first image descriptor.
ImageFault CheckGif(const uint8_t* b, size_t size, ImageSize* out) {
  if (size < 6 || (std::memcmp(b, "GIF87a", 6) != 0 && std::memcmp(b, "GIF89a", 6) != 0))
    return ImageFault::WrongKind;
  if (size < 13) return ImageFault::HeaderCut;
  ImageSize screen;
  ImageFault f = Sized(Little16(b + 6), Little16(b + 8), &screen);
  if (f != ImageFault::None) return f;
  size_t at = 13;
  if (!SkipTable(b[10], size, &at)) return ImageFault::HeaderCut;
  for (;;) {
    if (at >= size) return ImageFault::HeaderCut;
    const uint8_t block = b[at++];
    if (block == 0x2C) {  // image descriptor: left, top, width, height, flags
      if (size - at < 9) return ImageFault::HeaderCut;
      return Sized(Little16(b + at + 4), Little16(b + at + 6), out);
    }
    if (block != 0x21) return ImageFault::WrongKind;  // the trailer, or junk, before any image
    if (at >= size) return ImageFault::HeaderCut;
    ++at;  // the extension's label
    for (;;) {  // its sub-blocks, up to the empty one
      if (at >= size) return ImageFault::HeaderCut;
      const size_t length = b[at++];
      if (length == 0) break;
      if (size - at < length) return ImageFault::HeaderCut;
      at += length;
    }
  }
}

}  // namespace

ImageKind ImageKindOfName(const char* name) {
  if (!name) return ImageKind::Bmp;
  if (HasExtension(name, ".png")) return ImageKind::Png;
  if (HasExtension(name, ".jpg") || HasExtension(name, ".jpeg")) return ImageKind::Jpeg;
  if (HasExtension(name, ".gif")) return ImageKind::Gif;
  return ImageKind::Bmp;
}

bool ImageSizeAllowed(uint64_t width, uint64_t height) {
  const uint64_t side = static_cast<uint64_t>(MaxBmpSide);
  return width <= side && height <= side && width * height <= static_cast<uint64_t>(MaxBmpPixels);
}

ImageFault CheckImageHeader(ImageKind kind, const uint8_t* bytes, size_t size, ImageSize* out) {
  out->width = out->height = 0;
  switch (kind) {
    case ImageKind::Png: return CheckPng(bytes, size, out);
    case ImageKind::Jpeg: return CheckJpeg(bytes, size, out);
    case ImageKind::Gif: return CheckGif(bytes, size, out);
    case ImageKind::Bmp: break;
  }
  return ImageFault::WrongKind;
}

}  // namespace zo
