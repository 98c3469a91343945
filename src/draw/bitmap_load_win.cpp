// BMP images into DirectDraw surfaces through LoadImageA and GDI.
#include <cstring>

#include "draw/bmp_check.h"
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

}  // namespace

DDSURFACEDESC ObjectSurfaceDesc(DWORD width, DWORD height, int memory) {
  DDSURFACEDESC desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = memory == 2 ? DDSCAPS_OFFSCREENPLAIN
                                    : DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
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
  DDSURFACEDESC desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
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
  if (surface) CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  DeleteObject(bitmap);
  return surface;
}

}  // namespace


IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* dd, const char* path, uint16_t* width,
                                      uint16_t* height, int memory) {
  if (!dd) return nullptr;
  HBITMAP bitmap = LoadBitmapResource(path);
  if (!bitmap && BmpFileFits(path)) {
    bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0,
                                             LR_CREATEDIBSECTION | LR_LOADFROMFILE));
  }
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
