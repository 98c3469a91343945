#include "draw/bmp_core_header.h"

#include "draw/bmp_check.h"

namespace zo {

namespace {

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(v & 0xFF);
  out->push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

bool HasCoreHeader(const uint8_t* file, size_t size) {
  return size >= 18 && file[0] == 'B' && file[1] == 'M' && U32(file + 14) == 12;
}

bool WidenCoreHeader(const uint8_t* file, size_t size, std::vector<uint8_t>* info, size_t* pixels,
                     size_t* pixelBytes) {
  if (!HasCoreHeader(file, size) || CheckBmpFile(file, size) != BmpFault::None) return false;
  const uint32_t width = U16(file + 18), height = U16(file + 20), bits = U16(file + 24);
  const uint32_t colours = bits <= 8 ? 1u << bits : 0;
  info->clear();
  Put32(info, 40);
  Put32(info, width);
  Put32(info, height);
  Put16(info, 1);
  Put16(info, bits);
  Put32(info, 0);  // no compression: core files have none
  Put32(info, 0);
  Put32(info, 0);
  Put32(info, 0);
  Put32(info, colours);
  Put32(info, 0);
  const uint8_t* table = file + 14 + 12;
  for (uint32_t i = 0; i < colours; ++i) {  // blue, green, red, then a zero
    info->insert(info->end(), table + 3 * i, table + 3 * i + 3);
    info->push_back(0);
  }
  const uint32_t offset = U32(file + 10);
  *pixels = offset != 0 ? offset : 14 + 12 + 3 * colours;
  *pixelBytes = static_cast<size_t>(height) * ((static_cast<size_t>(width) * bits + 31) / 32 * 4);
  return true;  // the check has made sure the rows lie inside the file
}

}  // namespace zo
