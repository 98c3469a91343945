#include "draw/bmp_check.h"

namespace zo {

namespace {

const uint32_t Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3;
const uint64_t FileHeaderBytes = 14;

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int64_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

bool KnownHeaderSize(uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool FormatFits(uint32_t bits, uint32_t compression) {
  switch (bits) {
    case 1: return compression == Rgb;
    case 4: return compression == Rgb || compression == Rle4;
    case 8: return compression == Rgb || compression == Rle8;
    case 16:
    case 32: return compression == Rgb || compression == BitFields;
    case 24: return compression == Rgb;
    default: return false;
  }
}

// What the decoder reads, widened so that no field can overflow the sums.
struct Layout {
  int64_t width, height;  // height negative for top-down rows
  uint32_t bits, compression;
  uint64_t tableEnd;      // end of the masks and colour table
  uint64_t dataSize;      // compressed data size (biSizeImage)
};

Layout ReadLayout(const uint8_t* h, uint32_t infoSize) {
  Layout l;
  const uint64_t tableStart = FileHeaderBytes + infoSize;
  if (infoSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte colours
    l.width = U16(h + 18);
    l.height = U16(h + 20);
    l.bits = U16(h + 24);
    l.compression = Rgb;
    l.dataSize = 0;
    const uint64_t colours = l.bits <= 8 ? uint64_t{1} << l.bits : 0;
    l.tableEnd = tableStart + 3 * colours;
    return l;
  }
  l.width = S32(h + 18);
  l.height = S32(h + 22);
  l.bits = U16(h + 28);
  l.compression = U32(h + 30);
  l.dataSize = U32(h + 34);
  const uint64_t used = U32(h + 46);
  const uint64_t colours = used == 0 && l.bits <= 8 ? uint64_t{1} << l.bits : used;
  // Only the plain info header keeps its masks after it; later ones hold them.
  const uint64_t masks = infoSize == 40 && l.compression == BitFields ? 12 : 0;
  l.tableEnd = tableStart + masks + 4 * colours;
  return l;
}

}  // namespace

BmpFault CheckBmpHeaders(const uint8_t* head, size_t headSize, uint64_t fileSize) {
  const uint64_t available = headSize < fileSize ? headSize : fileSize;
  if (available >= 2 && (head[0] != 'B' || head[1] != 'M')) return BmpFault::NotBmp;
  if (available < FileHeaderBytes + 4) return BmpFault::HeaderCut;
  const uint32_t infoSize = U32(head + 14);
  if (!KnownHeaderSize(infoSize)) return BmpFault::UnknownHeader;
  if (FileHeaderBytes + infoSize > available) return BmpFault::HeaderCut;

  const Layout l = ReadLayout(head, infoSize);
  if (!FormatFits(l.bits, l.compression)) return BmpFault::BadFormat;
  const bool compressed = l.compression == Rle8 || l.compression == Rle4;
  if (compressed && l.height < 0) return BmpFault::BadFormat;  // RLE rows run bottom-up only
  if (l.width <= 0 || l.height == 0) return BmpFault::BadSize;
  const int64_t rowCount = l.height < 0 ? -l.height : l.height;
  if (l.width > MaxBmpSide || rowCount > MaxBmpSide || l.width * rowCount > MaxBmpPixels)
    return BmpFault::TooLarge;
  if (l.tableEnd > fileSize) return BmpFault::PaletteCut;

  // An offset of 0 leaves the pixels right after the colour table.
  const uint64_t offset = U32(head + 10);
  const uint64_t dataStart = offset != 0 ? offset : l.tableEnd;
  // Pixels inside the headers are no picture, and a decoder that subtracts
  // the file header from the offset would step before its buffer.
  if (dataStart < FileHeaderBytes + infoSize || dataStart >= fileSize) return BmpFault::OffsetOutside;
  const uint64_t room = fileSize - dataStart;

  if (compressed) return l.dataSize != 0 && l.dataSize <= room ? BmpFault::None : BmpFault::PixelsCut;
  const uint64_t rows = static_cast<uint64_t>(rowCount);
  const uint64_t stride = (static_cast<uint64_t>(l.width) * l.bits + 31) / 32 * 4;
  return rows <= room / stride ? BmpFault::None : BmpFault::PixelsCut;
}

}  // namespace zo
