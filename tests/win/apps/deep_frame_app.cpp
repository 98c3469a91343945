// Run by the deep frame tests on a 24-bit X screen with the command line
// "<frameDepth> <windowScale> <log file>" (window scale 0: full screen): opens the display, tries every
// family of software effect, presents a frame holding many 5-6-5 values,
// reads the window back and moves the mouse, logging what it saw.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "draw/display_win.h"
#include "system/message_box_win.h"
#include "zo.h"

namespace {

int depthArg, scaleArg;
std::string logPath;

void Log(const std::string& line) {
  if (FILE* f = std::fopen(logPath.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

int LogBox(HWND, const char* text, const char*, UINT) {
  Log(std::string("box ") + text);
  return IDOK;
}

// Pixel (x, y) of the test frame: every value of the top 5-6-5 bits mixed.
uint16_t FramePixel(int x, int y) { return static_cast<uint16_t>((x * 97 + y * 6451) * 40503u >> 3); }

uint32_t Expanded(uint16_t p) {
  const uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

bool PaintBack() {
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  if (backSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return false;
  for (int y = 0; y < screenHeight; ++y) {
    uint16_t* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch);
    for (int x = 0; x < screenWidth; ++x) row[x] = FramePixel(x, y);
  }
  backSurface->Unlock(desc.lpSurface);
  return true;
}

// The client area read through GDI into a 32-bit top-down DIB; counts the
// screen pixels that are not their frame pixel's expansion, and logs the
// count when asked to.
long CheckWindow(int scale, bool log) {
  RECT client;
  GetClientRect(mainWindow, &client);
  const int w = client.right, h = client.bottom;
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  POINT origin = {0, 0};
  ClientToScreen(mainWindow, &origin);
  HDC window = GetDC(nullptr);  // what the screen shows, as a user sees it
  HDC memory = CreateCompatibleDC(window);
  HBITMAP dib = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, window, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  long wrong = 0;
  char first[96] = "";
  for (int y = 0; y < h && bits; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t got = static_cast<uint32_t*>(bits)[y * w + x] & 0xFFFFFF;
      const uint32_t want = Expanded(FramePixel(x / scale, y / scale));
      if (got != want && wrong++ == 0)
        std::snprintf(first, sizeof first, " first %d,%d %06lx want %06lx", x, y,
                      static_cast<unsigned long>(got), static_cast<unsigned long>(want));
    }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, window);
  char line[200];
  std::snprintf(line, sizeof line, "client %d %d wrong %ld%s", w, h, wrong, first);
  if (log) Log(line);
  return wrong;
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace

void DemoConfigure() {
  char path[MAX_PATH] = "";
  std::sscanf(zoSystem::CommandLine(), "%d %d %259[^\n]", &depthArg, &scaleArg, path);
  logPath = path;
  frameDepth = depthArg;
  windowScale = scaleArg;
  // A scaled window must fit the 1024 x 768 test screen.
  requestedWidth = scaleArg > 1 ? 400 : 640;
  requestedHeight = scaleArg > 1 ? 300 : 480;
  // Scale 0: full screen in a 32-bit mode, on a screen of exactly 640 x 480.
  if (scaleArg == 0) {
    fullScreen = 1;
    zoDraw::SetDisplayDepths(32, 0, 0);
  }
}

void DemoSetup() {
  zo::messageBoxHook = LogBox;
  scene = 1;
  char line[200];
  const int screen = zoDraw::Screen(-1, 0, 1);
  DDPIXELFORMAT format;
  std::memset(&format, 0, sizeof format);
  format.dwSize = sizeof format;
  if (backSurface) backSurface->GetPixelFormat(&format);
  std::snprintf(line, sizeof line, "screen %d desktop %d back %lu %lx deep %d", screen,
                zoDraw::GetDisplayDepth(), static_cast<unsigned long>(format.dwRGBBitCount),
                static_cast<unsigned long>(format.dwRBitMask), deepFrame);
  Log(line);
  if (screen) {
    const int sprite = zoDraw::CreateObject(64, 64, 2);
    zoDraw::ClearObject(sprite);
    std::snprintf(line, sizeof line, "effects %d %d %d %d %d %d",
                  zoDraw::DrawHalfBlend(0, 0, sprite, 0, 0, 64, 64),
                  zoDraw::DrawAlphaBlend(0, 0, 0.3f, sprite, 0, 0, 64, 64),
                  zoDraw::DrawAdd(0, 0, sprite, 0, 0, 64, 64),
                  zoDraw::DrawGray(0, 0, sprite, 0, 0, 64, 64),
                  zoDraw::DrawRotate(0, 0, 64, 64, 30, sprite, 0, 0, 64, 64),
                  zoDraw::DrawMirror(0, 0, 1, sprite, 0, 0, 64, 64));
    Log(line);
    zoDraw::SetVSync(0);
    if (PaintBack()) {
      // The window reaches the X server a little after it is shown.
      for (int i = 0; i < 10; ++i) {
        Pump();
        Sleep(50);
      }
      // Wine shows a presented frame on the screen a little later, once
      // the next blit to the primary surface comes or its window is
      // repainted: present as a game's frames would until it shows.
      const int scale = scaleArg < 1 ? 1 : scaleArg;
      for (int tries = 0; tries < 20 && CheckWindow(scale, false) != 0; ++tries) {
        zoDraw::Present();
        Pump();
        Sleep(50);
      }
      CheckWindow(scale, true);
    }
    Pump();
    // Sent, not posted: the real pointer's own moves must not come between.
    SendMessageA(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(201, 101));
    std::snprintf(line, sizeof line, "mouse %d %d present %ld %ld", mouseX, mouseY,
                  presentRect.right - presentRect.left, presentRect.bottom - presentRect.top);
    Log(line);
  }
  Log("done");
  zoSystem::End();
}

void DemoFrame() { Sleep(5); }
