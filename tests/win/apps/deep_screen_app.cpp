// Run by the image pack tests on a 24-bit X screen: it opens a display,
// converts the folder "packtmp\bmps" into "packtmp\deep.pak", saves a
// screenshot of a known back surface and logs what it saw to the file
// named on its command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "draw/display_win.h"
#include "system/message_box_win.h"
#include "zo.h"

namespace {

void Log(const std::string& line) {
  const char* path = zoSystem::CommandLine();
  if (!path[0]) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

int LogBox(HWND, const char* text, const char*, UINT) {
  Log(std::string("box ") + text);
  return IDOK;
}

// The back surface's top 8 x 4 pixels as red = 16x, green = 32y, blue 200.
bool PaintBack() {
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  if (backSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return false;
  for (int y = 0; y < 4; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch);
    for (int x = 0; x < 8; ++x) row[x] = (16u * x) << 16 | (32u * y) << 8 | 200u;
  }
  backSurface->Unlock(desc.lpSurface);
  return true;
}

}  // namespace

void DemoSetup() {
  zo::messageBoxHook = LogBox;
  scene = 1;
  char line[160];
  int screen = zoDraw::Screen(640, 480, 1);
  DDPIXELFORMAT format;
  std::memset(&format, 0, sizeof format);
  format.dwSize = sizeof format;
  if (backSurface) backSurface->GetPixelFormat(&format);
  std::snprintf(line, sizeof line, "screen %d depth %d bits %lu", screen, zoDraw::GetDisplayDepth(),
                static_cast<unsigned long>(format.dwRGBBitCount));
  Log(line);
  if (screen) {
    std::snprintf(line, sizeof line, "convert %d", zoDraw::Convert("packtmp\\deep.pak", "packtmp\\bmps", 1));
    Log(line);
    bool painted = format.dwRGBBitCount == 32 && PaintBack();
    std::snprintf(line, sizeof line, "save %d", painted ? zoDraw::SaveScreen("packtmp\\deep.bmp", 8, 4) : -1);
    Log(line);
  }
  Log("done");
  zoSystem::End();
}

void DemoFrame() { Sleep(5); }
