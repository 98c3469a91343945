#include "draw_support.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "zo_test.h"

namespace zotest {

namespace {

bool LockSurface(IDirectDrawSurface* surface, DDSURFACEDESC& desc) {
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  return surface && surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK;
}

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

int BitsOf(BmpKind kind) {
  switch (kind) {
    case BmpKind::Bits1: return 1;
    case BmpKind::Bits4: return 4;
    case BmpKind::Bits8:
    case BmpKind::Rle8: return 8;
    case BmpKind::Bits16:
    case BmpKind::Bits16Fields565: return 16;
    case BmpKind::Bits24: return 24;
    case BmpKind::Bits32: return 32;
  }
  return 0;
}

uint8_t R8(uint16_t v) { int r = v >> 11; return static_cast<uint8_t>((r << 3) | (r >> 2)); }
uint8_t G8(uint16_t v) { int g = (v >> 5) & 63; return static_cast<uint8_t>((g << 2) | (g >> 4)); }
uint8_t B8(uint16_t v) { int b = v & 31; return static_cast<uint8_t>((b << 3) | (b >> 2)); }

// One row of palette indices as RLE8: runs of equal indices encoded, other
// stretches of three or more in absolute mode.
void EncodeRleRow(std::vector<uint8_t>& out, const std::vector<uint8_t>& row) {
  size_t i = 0, n = row.size();
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 255 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(run));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    size_t lit = 1;
    while (i + lit < n && lit < 255 && (i + lit + 1 >= n || row[i + lit] != row[i + lit + 1])) ++lit;
    if (lit >= 3) {
      out.push_back(0);
      out.push_back(static_cast<uint8_t>(lit));
      for (size_t k = 0; k < lit; ++k) out.push_back(row[i + k]);
      if (lit & 1) out.push_back(0);
      i += lit;
    } else {
      out.push_back(1);
      out.push_back(row[i]);
      ++i;
    }
  }
  out.push_back(0);
  out.push_back(0);  // end of line
}

}  // namespace

Pixels ReadSurface(IDirectDrawSurface* surface) {
  Pixels p;
  DDSURFACEDESC desc;
  if (!LockSurface(surface, desc)) return p;
  p = Pixels(static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight), static_cast<int>(desc.dwWidth));
  for (int y = 0; y < p.height; ++y)
    std::memcpy(&p.at(0, y), static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, size_t(p.width) * 2);
  surface->Unlock(nullptr);
  return p;
}

bool WriteSurface(IDirectDrawSurface* surface, const Pixels& p) {
  DDSURFACEDESC desc;
  if (!LockSurface(surface, desc)) return false;
  bool fits = static_cast<int>(desc.dwWidth) == p.width && static_cast<int>(desc.dwHeight) == p.height;
  for (int y = 0; fits && y < p.height; ++y)
    std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, &p.px[size_t(y) * size_t(p.Stride())],
                size_t(p.width) * 2);
  surface->Unlock(nullptr);
  return fits;
}

COLORREF ColorOf565(uint16_t v) { return RGB(R8(v), G8(v), B8(v)); }

bool WriteBmp(const std::string& path, BmpKind kind, const Pixels& image, bool topDown) {
  const int bits = BitsOf(kind);
  const bool palette = bits <= 8;
  const bool rle = kind == BmpKind::Rle8;
  if (rle) topDown = false;
  std::vector<uint16_t> colours;
  std::map<uint16_t, uint8_t> index;
  if (palette) {
    for (uint16_t v : image.px) {
      if (index.count(v)) continue;
      if (colours.size() >= (1u << bits)) return false;
      index[v] = static_cast<uint8_t>(colours.size());
      colours.push_back(v);
    }
  }
  std::vector<uint8_t> data;
  const int stride = ((image.width * bits + 31) / 32) * 4;
  for (int r = 0; r < image.height; ++r) {
    int y = topDown ? r : image.height - 1 - r;
    std::vector<uint8_t> row;
    if (rle) {
      for (int x = 0; x < image.width; ++x) row.push_back(index[image.at(x, y)]);
      EncodeRleRow(data, row);
      continue;
    }
    row.assign(stride, 0);
    for (int x = 0; x < image.width; ++x) {
      uint16_t v = image.at(x, y);
      switch (bits) {
        case 1: row[x / 8] |= static_cast<uint8_t>(index[v] << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<uint8_t>(index[v] << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = index[v]; break;
        case 16: {
          uint16_t out = kind == BmpKind::Bits16Fields565
                             ? v
                             : static_cast<uint16_t>(((v >> 11) << 10) | (((v >> 6) & 31) << 5) | (v & 31));
          row[2 * x] = out & 0xFF;
          row[2 * x + 1] = out >> 8;
          break;
        }
        case 24:
          row[3 * x] = B8(v);
          row[3 * x + 1] = G8(v);
          row[3 * x + 2] = R8(v);
          break;
        case 32:
          row[4 * x] = B8(v);
          row[4 * x + 1] = G8(v);
          row[4 * x + 2] = R8(v);
          row[4 * x + 3] = 0;
          break;
      }
    }
    data.insert(data.end(), row.begin(), row.end());
  }
  if (rle) {
    data.push_back(0);
    data.push_back(1);  // end of bitmap
  }
  const bool fields = kind == BmpKind::Bits16Fields565;
  const uint32_t paletteBytes = palette ? 4u << bits : 0;
  const uint32_t fieldBytes = fields ? 12 : 0;
  const uint32_t offset = 14 + 40 + fieldBytes + paletteBytes;
  std::vector<uint8_t> file;
  file.push_back('B');
  file.push_back('M');
  Put32(file, offset + static_cast<uint32_t>(data.size()));
  Put32(file, 0);
  Put32(file, offset);
  Put32(file, 40);
  Put32(file, image.width);
  Put32(file, topDown ? static_cast<uint32_t>(-image.height) : image.height);
  Put16(file, 1);
  Put16(file, static_cast<uint16_t>(bits));
  Put32(file, rle ? BI_RLE8 : fields ? BI_BITFIELDS : BI_RGB);
  Put32(file, static_cast<uint32_t>(data.size()));
  Put32(file, 2835);
  Put32(file, 2835);
  Put32(file, palette ? 1u << bits : 0);
  Put32(file, 0);
  if (fields) {
    Put32(file, 0xF800);
    Put32(file, 0x07E0);
    Put32(file, 0x001F);
  }
  for (uint32_t i = 0; palette && i < (1u << bits); ++i) {
    uint16_t v = i < colours.size() ? colours[i] : 0;
    file.push_back(B8(v));
    file.push_back(G8(v));
    file.push_back(R8(v));
    file.push_back(0);
  }
  file.insert(file.end(), data.begin(), data.end());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}

std::string ExeFolder() { return MakeFullPath(0); }

int OpenDisplay(int width, int height, int placement) {
  if (!mainWindow) MakeMainWindow();
  fullScreen = 0;
  desktopMode = 0;
  return zoDraw::Screen(width, height, placement);
}

}  // namespace zotest
