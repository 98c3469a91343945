// zoDraw::SaveScreen: the back surface as a 24-bit BMP beside the executable.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "draw/display_win.h"
#include "draw/effects/effect_tables.h"
#include "draw/image_pack_rules.h"
#include "system/file_replace_win.h"
#include "zo.h"

namespace {

// Writes the locked pixels bottom row first; false when the file cannot
// be written whole (then any previous file of that name stays as it was).
bool WriteScreenshot(const char* name, const DDSURFACEDESC& desc, int depth, uint32_t width,
                     uint32_t height) {
  zo::ReplacingFile out;
  if (!out.Open(std::string(MakeFullPath(0)) + name, false)) return false;
  uint8_t header[zo::ScreenshotHeaderSize];
  zo::BuildScreenshotHeader(width, height, header);
  bool ok = out.Write(header, sizeof header);
  std::vector<uint8_t> row(zo::ScreenshotStride(width));
  const uint8_t* memory = static_cast<const uint8_t*>(desc.lpSurface);
  for (uint32_t y = height; ok && y-- > 0;) {
    const uint8_t* line = memory + static_cast<ptrdiff_t>(y) * desc.lPitch;
    if (depth == 16) {
      zo::EncodeScreenshotRow16(reinterpret_cast<const uint16_t*>(line), width, ComponentTable,
                                row.data());
    } else {
      zo::EncodeScreenshotRow32(reinterpret_cast<const uint32_t*>(line), width,
                                PixelFormat.redShift, PixelFormat.greenShift,
                                PixelFormat.blueShift, row.data());
    }
    ok = out.Write(row.data(), row.size());
  }
  return ok && out.Commit();
}

}  // namespace

namespace zoDraw {

int SaveScreen(const char* name, int width, int height) {
  if (!backSurface || !name) return 0;
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  if (backSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return 0;
  // Only what the surface holds is read, and the headers tell what was written.
  if (width > static_cast<int>(desc.dwWidth)) width = static_cast<int>(desc.dwWidth);
  if (height > static_cast<int>(desc.dwHeight)) height = static_cast<int>(desc.dwHeight);
  int depth = zo::FrameDepth();
  bool readable = desc.lpSurface && width > 0 && height > 0 && (depth == 16 || depth == 32);
  // The frame's depth picks the reading; the surface's own must agree.
  if (readable && (desc.dwFlags & DDSD_PIXELFORMAT) &&
      desc.ddpfPixelFormat.dwRGBBitCount != static_cast<DWORD>(depth)) {
    readable = false;
  }
  if (readable && depth == 16 && !effectTablesReady) readable = false;
  bool written = readable && WriteScreenshot(name, desc, depth, width, height);
  backSurface->Unlock(desc.lpSurface);
  return written ? 1 : 0;
}

}  // namespace zoDraw
