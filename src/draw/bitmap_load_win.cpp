// BMP images into DirectDraw surfaces through LoadImageA and GDI.
#include <cstring>
#include <vector>

#include "draw/bmp_check.h"
#include "draw/bmp_core_header.h"
#include "draw/display_win.h"
#include "draw/image_header_check.h"
#include "draw/objects_win.h"
#include "zo.h"

namespace {

HINSTANCE ModuleInstance() {
  return instanceHandle ? instanceHandle : GetModuleHandleA(nullptr);
}

HBITMAP LoadBitmapResource(const char* name) {
  return static_cast<HBITMAP>(
      LoadImageA(ModuleInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The system decoder reads wherever a file's headers point, so a file whose
// headers do not fit its size never reaches it.
bool BmpFileFits(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  uint8_t head[zo::BmpHeadBytes];
  LARGE_INTEGER size;
  DWORD got = 0;
  const bool read = GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof head, &got, nullptr);
  CloseHandle(file);
  return read && zo::CheckBmpHeaders(head, got, static_cast<uint64_t>(size.QuadPart)) ==
                     zo::BmpFault::None;
}

// An OS/2 file made into a DIB section here, with the ordinary header.
HBITMAP LoadCoreHeaderFile(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> info;
  size_t pixels = 0, pixelBytes = 0;
  if (!zo::WidenCoreHeader(file.data(), file.size(), &info, &pixels, &pixelBytes)) return nullptr;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) std::memcpy(bits, file.data() + pixels, pixelBytes);
  return bitmap;
}

// A BMP file through the system decoder, unless its headers do not fit the
// file, or it is an OS/2 file, which the decoder reads wrongly. PNG, JPEG
// and GIF files (by their extension) go through the imaging component.
HBITMAP LoadBitmapFile(const char* path) {
  if (zo::ImageKindOfName(path) != zo::ImageKind::Bmp) return LoadPictureFile(path);
  uint8_t head[18];
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  DWORD got = 0;
  const bool read = ReadFile(file, head, sizeof head, &got, nullptr);
  CloseHandle(file);
  if (read && zo::HasCoreHeader(head, got)) return LoadCoreHeaderFile(zo::ReadWholeFile(path));
  if (!BmpFileFits(path)) return nullptr;
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
}

}  // namespace

namespace zo {

std::vector<uint8_t> ReadWholeFile(const char* path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size;
  DWORD got = 0;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (256 << 20)) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
        got != bytes.size())
      bytes.clear();
  }
  CloseHandle(file);
  return bytes;
}

}  // namespace zo

DDSURFACEDESC ObjectSurfaceDesc(DWORD width, DWORD height, int memory) {
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = memory == 2 ? DDSCAPS_OFFSCREENPLAIN
                                    : DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  zo::ApplyFrameFormat(&desc);
  return desc;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int w,
                            int h) {
  surface->Restore();
  HDC memoryDc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memoryDc, bitmap);
  BITMAP info;
  std::memset(&info, 0, sizeof info);
  GetObjectA(bitmap, sizeof info, &info);
  if (w == 0) w = info.bmWidth;
  if (h == 0) h = info.bmHeight;
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
  surface->GetSurfaceDesc(&desc);
  HDC surfaceDc;
  HRESULT hr = surface->GetDC(&surfaceDc);
  if (hr == DD_OK) {
    StretchBlt(surfaceDc, 0, 0, desc.dwWidth, desc.dwHeight, memoryDc, x, y, w, h, SRCCOPY);
    surface->ReleaseDC(surfaceDc);
  }
  SelectObject(memoryDc, previous);  // the bitmap must not stay selected when deleted
  DeleteDC(memoryDc);
  return hr;
}

namespace {

// A surface of the bitmap's size holding its pixels; null on failure. The
// bitmap is deleted either way.
IDirectDrawSurface* SurfaceFromBitmap(IDirectDraw* dd, HBITMAP bitmap, uint16_t* width,
                                      uint16_t* height, int memory) {
  BITMAP info;
  std::memset(&info, 0, sizeof info);
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    DeleteObject(bitmap);
    return nullptr;
  }
  DDSURFACEDESC desc = ObjectSurfaceDesc(info.bmWidth, info.bmHeight, memory);
  *width = static_cast<uint16_t>(info.bmWidth);
  *height = static_cast<uint16_t>(info.bmHeight);
  IDirectDrawSurface* surface = nullptr;
  if (dd->CreateSurface(&desc, &surface, nullptr) != DD_OK) surface = nullptr;
  // A surface lost before its pixels are in is restored and drawn again;
  // one that cannot take them is not handed out empty.
  HRESULT hr = DDERR_GENERIC;
  for (int i = 0; surface && i < 10 && hr != DD_OK; ++i) {
    hr = CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    if (hr == DD_OK && surface->IsLost() != DD_OK) hr = DDERR_SURFACELOST;
  }
  if (surface && hr != DD_OK) {
    surface->Release();
    surface = nullptr;
  }
  DeleteObject(bitmap);
  return surface;
}

}  // namespace


IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* dd, const char* path, uint16_t* width,
                                      uint16_t* height, int memory) {
  if (!dd) return nullptr;
  HBITMAP bitmap = LoadBitmapResource(path);
  if (!bitmap) bitmap = LoadBitmapFile(path);
  if (!bitmap) return nullptr;
  return SurfaceFromBitmap(dd, bitmap, width, height, memory);
}

IDirectDrawSurface* LoadResourceSurface(IDirectDraw* dd, const char* name, uint16_t* width,
                                        uint16_t* height, int memory) {
  if (!dd) return nullptr;
  HBITMAP bitmap = LoadBitmapResource(name);
  if (!bitmap) return nullptr;
  return SurfaceFromBitmap(dd, bitmap, width, height, memory);
}
