#include "window_capture.h"

namespace zotest {

Pixels CaptureClient(HWND window, int width, int height) {
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  Pixels shot;
  shot.width = width;
  shot.height = height;
  const uint32_t* p = static_cast<const uint32_t*>(bits);
  for (int i = 0; bits && i < width * height; ++i)
    shot.px.push_back(Pack565((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return shot;
}

}  // namespace zotest
