// A 640 x 480 picture of random 15-bit pixels stored twice: as the second
// entry of an image pack in memory (after a 64 x 64 one the scan must skip)
// and as a 24-bit BMP in memory.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "draw/image_pack_rules.h"

namespace bench {

const int PackW = 640, PackH = 480;
const uint16_t fivePos565[3] = {11, 6, 0};

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

inline void PutEntry(std::vector<uint8_t>& pack, const char* name, int w, int h,
                     const std::vector<uint16_t>& pixels) {
  uint8_t header[4 + zo::PackNameCapacity];
  pack.insert(pack.end(), header, header + zo::WritePackEntryHeader(uint16_t(w), uint16_t(h), name, header));
  for (uint16_t p : pixels) Put16(pack, p);
}

struct Files {
  std::vector<uint16_t> picture;
  std::vector<uint8_t> pack, bmp;
  Files() : picture(PackW * PackH) {
    std::mt19937 rng(640480);
    for (auto& p : picture) p = uint16_t(rng() & 0x7FFF);
    PutEntry(pack, "BLOCK", 64, 64, std::vector<uint16_t>(64 * 64, 0x7C00));
    PutEntry(pack, "BACK", PackW, PackH, picture);

    const uint32_t stride = PackW * 3, size = 54 + stride * PackH;
    bmp = {'B', 'M'};
    Put32(bmp, size), Put32(bmp, 0), Put32(bmp, 54);
    Put32(bmp, 40), Put32(bmp, PackW), Put32(bmp, PackH), Put16(bmp, 1), Put16(bmp, 24);
    Put32(bmp, 0), Put32(bmp, stride * PackH), Put32(bmp, 2835), Put32(bmp, 2835), Put32(bmp, 0), Put32(bmp, 0);
    auto eight = [](uint32_t five) { return uint8_t(five << 3 | five >> 2); };
    for (int y = PackH - 1; y >= 0; --y)
      for (int x = 0; x < PackW; ++x) {
        const uint16_t p = picture[y * PackW + x];
        bmp.push_back(eight(p & 31));
        bmp.push_back(eight(p >> 5 & 31));
        bmp.push_back(eight(p >> 10 & 31));
      }
  }
};

inline Files& TheFiles() {
  static Files f;
  return f;
}

// The entry found and expanded to 5-6-5 into rows pitch pixels apart.
inline bool LoadPackEntry(const Files& f, uint16_t* rows, int pitch) {
  zo::MemoryPackReader reader(f.pack.data(), f.pack.size());
  zo::ImagePackEntry entry;
  if (!zo::FindPackEntry(reader, "BACK", &entry)) return false;
  zo::ExpandPackPixels(reader, rows, pitch, entry.width, entry.height, fivePos565);
  return true;
}

}  // namespace bench
