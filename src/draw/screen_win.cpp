// zoDraw::Screen: DirectDraw, display mode, surfaces, internal objects,
// pixel format and tables, then the other modules' start.
#include <cstdlib>
#include <cstring>

#include "draw/display_win.h"
#include "draw/effects/effect_tables.h"
#include "draw/objects_win.h"
#include "draw/simd/simd_form.h"
#include "draw/sine_table.h"
#include "system/lifecycle_win.h"
#include "system/message_box_win.h"
#include "zo.h"

namespace {

const char* const Where = "zoDraw::Screen";

struct InternalObject {
  const char* name;
  const char* failure;
};

const InternalObject InternalObjects[FirstUserObject] = {
    {"内部用１", "Bufferスプライトが生成できません"},
    {"内部用２", "Screenスプライトが生成できません"},
    {"内部用３", "Fontスプライトが生成できません"},
    {"内部用４", "Fontバッファスプライトが生成できません"},
};

DDCAPS EmptyCaps() {
  DDCAPS caps;
  std::memset(&caps, 0, sizeof caps);
  caps.dwSize = sizeof caps;
  return caps;
}

// A box over a full-screen display needs the GDI surface in front.
void FlipToGdiSurface() {
  if (directDraw) directDraw->FlipToGDISurface();
}

// What a previous display left behind is given back before a new one is
// made, so calling Screen again does not leak surfaces.
void ReleaseDisplay() {
  if (!directDraw) return;
  zo::ReleaseDisplayObjects();
}

bool SetMode(int width, int height) {
  if (directDraw->SetDisplayMode(width, height, displayDepth) == DD_OK) return true;
  if (fallbackDepth2 != 0) {
    displayDepth = fallbackDepth2;
    if (directDraw->SetDisplayMode(width, height, displayDepth) == DD_OK) return true;
    if (fallbackDepth3 != 0) {
      displayDepth = fallbackDepth3;
      if (directDraw->SetDisplayMode(width, height, displayDepth) == DD_OK) return true;
    }
  }
  return false;
}

bool CreateInternalObject(int index, int width, int height, DWORD caps) {
  DrawObject& object = drawObjects[index];
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = caps;
  zo::ApplyFrameFormat(&desc);
  if (directDraw->CreateSurface(&desc, &object.surface, nullptr) != DD_OK) {
    object.surface = nullptr;
    return false;
  }
  ApplyColorKey(object.surface, 0);
  std::memset(object.name, 0, sizeof object.name);
  std::strncpy(object.name, InternalObjects[index].name, MaxObjectNameLength);
  object.fromPack = 0;
  object.memory = 2;
  object.colorKey = 0;
  object.width = static_cast<uint16_t>(width);
  object.height = static_cast<uint16_t>(height);
  return true;
}

}  // namespace

BOOL WINAPI EnumDriverCallback(GUID* guid, LPSTR, LPSTR, LPVOID context) {
  IDirectDraw** result = static_cast<IDirectDraw**>(context);
  hardware3D = 0;
  IDirectDraw* dd = nullptr;
  if (DirectDrawCreate(guid, &dd, nullptr) != DD_OK || !dd) return 1;
  DDCAPS driver = EmptyCaps(), emulation = EmptyCaps();
  dd->GetCaps(&driver, &emulation);
  if ((driver.dwCaps & DDCAPS_3D) && (driver.ddsCaps.dwCaps & DDSCAPS_TEXTURE)) {
    *result = dd;
    hardware3D = 1;
    return 0;
  }
  *result = nullptr;
  dd->Release();
  return 1;
}

namespace zoDraw {

int Screen(int width, int height, int placement) {
  zo::beforeBoxHook = FlipToGdiSurface;
  ReleaseDisplay();
  directDraw = nullptr;
  primarySurface = nullptr;
  backSurface = nullptr;
  clipper = nullptr;
  frameSurface = nullptr;
  deepFrame = 0;
  errorFlag = 0;

  if (width == -1) {
    width = requestedWidth;
    height = requestedHeight;
  }
  screenWidth = width;
  screenHeight = height;
  SetClip(0, 0, width, height);

  hardware3D = 0;  // stays 0 when no driver is enumerated at all
  DirectDrawEnumerateA(EnumDriverCallback, &directDraw);
  if (!directDraw && (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK || !directDraw)) {
    directDraw = nullptr;
    return ShowError(Where, "DirectDrawが使用できません");
  }

  DWORD memory = placement == 1 || placement == 3 ? 0 : DDSCAPS_SYSTEMMEMORY;
  DWORD level = fullScreen ? DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE : DDSCL_NORMAL;
  if (directDraw->SetCooperativeLevel(mainWindow, level) != DD_OK) {
    return ShowError(Where, "フルスクリーン化できません");
  }
  if (fullScreen) {
    if (!SetMode(width, height)) return ShowError(Where, "解像度が変更できません");
  } else {
    displayDepth = GetDisplayDepth();
  }

  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = memory | DDSCAPS_PRIMARYSURFACE;
  if (directDraw->CreateSurface(&desc, &primarySurface, nullptr) != DD_OK) {
    primarySurface = nullptr;
    return ShowError(Where, "表画面が生成できません");
  }
  zo::ChooseFrameFormat(primarySurface);
  desc = zo::EmptySurfaceDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = memory | DDSCAPS_OFFSCREENPLAIN;
  zo::ApplyFrameFormat(&desc);
  if (directDraw->CreateSurface(&desc, &backSurface, nullptr) != DD_OK) {
    backSurface = nullptr;
    return ShowError(Where, "裏画面が生成できません");
  }

  if (!fullScreen) {
    if (directDraw->CreateClipper(0, &clipper, nullptr) != DD_OK) {
      clipper = nullptr;
      return ShowError(Where, "クリップが生成できません");
    }
    if (clipper->SetHWnd(0, mainWindow) != DD_OK) {
      return ShowError(Where, "クリップにウィンドウハンドルを設定できません");
    }
    if (primarySurface->SetClipper(clipper) != DD_OK) {
      return ShowError(Where, "表画面をクリップできません");
    }
  }

  if (placement == 3) memory = DDSCAPS_SYSTEMMEMORY;
  const DWORD objectCaps[FirstUserObject] = {
      memory | DDSCAPS_OFFSCREENPLAIN, memory | DDSCAPS_OFFSCREENPLAIN,
      DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN, DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN};
  for (int i = 0; i < FirstUserObject; ++i) {
    if (!CreateInternalObject(i, width, height, objectCaps[i])) {
      return ShowError(Where, InternalObjects[i].failure);
    }
  }
  const int scale = zo::PresentScale();
  if (deepFrame && !zo::CreateFrameSurface(width * scale, height * scale))
    return ShowError(Where, "表示用の画面が生成できません");

  DDCAPS driver = EmptyCaps(), emulation = EmptyCaps();
  directDraw->GetCaps(&driver, &emulation);
  canStretch = ((hardware3D ? driver.dwCaps : emulation.dwCaps) & DDCAPS_BLTSTRETCH) ? 1 : 0;

  DDPIXELFORMAT format;
  std::memset(&format, 0, sizeof format);
  format.dwSize = sizeof format;
  if (backSurface->GetPixelFormat(&format) != DD_OK) {
    return ShowError(Where, "ピクセル情報が取得できません");
  }
  PixelFormat = DerivePixelLayout(format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);

  BuildSineTable();
  zo::SelectSimdForm();  // SSE2 or AVX2 for every kernel from here on
  // The tables of the 16-bit effects follow the depth frames are drawn at
  // (the desktop's unless frames are 5-6-5 on a deeper one), not the pixel
  // format; elsewhere the effects find none and draw nothing.
  if (zo::FrameDepth() == 16)
    zo::BuildEffectTables(PixelFormat, std::rand);
  else
    zo::DropEffectTables();

  for (int i = FirstUserObject; i < MaxDrawObjects; ++i) ResetDrawObject(drawObjects[i]);

  viewerImage = viewerTiles = 0;  // the scroll viewer forgets its two objects
  transitionTiles = 0;            // and the transition its tiles
  screenRect = RECT{0, 0, width, height};
  presentRect = RECT{clientX, clientY, clientX + width * scale, clientY + height * scale};

  zo::StartModules();
  return 1;
}

void SetClip(int left, int top, int right, int bottom) { ClipRect = IntRect{left, top, right, bottom}; }

void SetDisplayDepths(int depth, int second, int third) {
  displayDepth = depth;
  fallbackDepth2 = second;
  fallbackDepth3 = third;
}

int GetDisplayDepth() {
  HDC dc = GetDC(mainWindow);
  int depth = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(mainWindow, dc);
  return depth;
}

int IsWindowed() { return fullScreen ? 0 : 1; }

}  // namespace zoDraw
