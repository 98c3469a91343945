// zoDraw::Present ends every frame: transition and viewer overlays, the
// vertical-blank wait and the blit of the back surface to the screen.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "draw/transition_rules.h"
#include "text/text_scope_win.h"
#include "zo.h"

#include <mmsystem.h>

namespace {

const int CoverObject = 1;
const int TileWidth = 64, TileHeight = 48;

int CrtRandom() { return std::rand(); }

void DrawTransition() {
  const int s = transitionStep;
  if (transitionStyle == 0) {
    const int frameLeft = TileWidth * (s - 1);
    for (int c = 0; c < 10; ++c)
      for (int r = 0; r < 10; ++r)
        zoDraw::DrawSprite(TileWidth * c, TileHeight * r, transitionTiles, frameLeft, 0,
                           frameLeft + TileWidth, TileHeight);
  } else {
    for (const zo::CoverCopy& c :
         zo::CoverCopies(transitionStyle, s, transitionBand, screenWidth, screenHeight, CrtRandom))
      zoDraw::DrawSpriteOpaque(c.x, c.y, CoverObject, c.left, c.top, c.right, c.bottom);
  }
  transitionStep += transitionDirection;
  if ((transitionDirection < 0 && transitionStep < 1) ||
      (transitionDirection > 0 && transitionStep > 10)) {
    transitionStep = 0;
    transitionDirection = 0;
  }
}

void DrawViewer() {
  for (int c = 0; c <= 10; ++c)
    for (int r = 0; r <= 10; ++r)
      zoDraw::DrawSprite(TileWidth * c + static_cast<int>(viewerTileX),
                         TileHeight * r + static_cast<int>(viewerTileY), viewerTiles, 0, 0,
                         TileWidth, TileHeight);
  viewerTileX -= frameDelta * 10.0f;
  viewerTileY -= frameDelta * 10.0f;
  if (viewerTileX <= -TileWidth) viewerTileX += TileWidth;
  if (viewerTileY <= -TileHeight) viewerTileY += TileHeight;

  const int row = static_cast<int>(viewerScroll);
  const int clipHeight = ClipRect.bottom - ClipRect.top;
  zoDraw::DrawSprite(ClipRect.left, ClipRect.top, viewerImage, 0, row,
                     ClipRect.right - ClipRect.left, row + clipHeight);
  switch (viewerKey) {
    case VK_UP: viewerScroll -= 100.0f * frameDelta; break;
    case VK_LEFT: viewerScroll -= 300.0f * frameDelta; break;
    case VK_DOWN: viewerScroll += 100.0f * frameDelta; break;
    case VK_RIGHT: viewerScroll += 300.0f * frameDelta; break;
  }
  viewerScroll = zo::ClampViewerScroll(viewerScroll, viewerHeight, clipHeight);
}

// The debug style: 12-pixel Gothic, white on an opaque dark blue. A caller's
// open text scope is set aside for the line and comes back as it was.
void DrawDebugLine(int x, int y, const char* text) {
  const zo::SavedTextScope callers = zo::SuspendTextScope();
  zoText::BeginText(1, 12, 0, 0, 0, 0);
  zoText::SetTextColors(0xFFFFFF, 0x800000, 0);
  zoText::DrawText(x, y, text);
  zoText::EndText();
  zo::ResumeTextScope(callers);
}

}  // namespace

namespace zoDraw {

void Present() {
  if (transitionStep != 0) DrawTransition();
  if (viewerMode) DrawViewer();
  if (!directDraw || !primarySurface || !backSurface) return;
  // A 5-6-5 frame on a deeper display goes through the conversion surface;
  // a loss there loses the frame like a loss in the final blit.
  IDirectDrawSurface* shown = backSurface;
  RECT from = screenRect;
  if (deepFrame) {
    const HRESULT hr = zo::ExpandFrame();
    if (hr != DD_OK) {
      if (hr == DDERR_SURFACELOST) RestoreSurfaces();
      return;
    }
    shown = frameSurface;
    const int scale = zo::PresentScale();
    from = RECT{0, 0, screenRect.right * scale, screenRect.bottom * scale};
  }
  if (vsyncEnabled) directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  if (primarySurface->Blt(&presentRect, shown, &from, DDBLT_WAIT, nullptr) == DDERR_SURFACELOST)
    RestoreSurfaces();
}

void CloseTransition() {
  transitionStep = 1;
  transitionDirection = 1;
}

void OpenTransition() {
  transitionStep = 10;
  transitionDirection = -1;
}

void LoadTransitionTiles(const char* name) {
  // The tiles loaded before are given back, and so is the record a failed
  // load leaves claimed: loading again never takes one more object.
  if (transitionTiles != 0) ReleaseObject(transitionTiles);
  SetColorKey(0);
  const int claimed = zo::FindFreeObject();
  transitionTiles = LoadObject(name, 2);
  if (transitionTiles == 0 && claimed >= FirstUserObject) ReleaseObject(claimed);
}

void SetViewer(const char* image, const char* tiles, int height) {
  SetColorKey(0);
  if (viewerImage == 0) {
    viewerImage = LoadObject(image, 2);
    viewerTiles = LoadObject(tiles, 2);
  } else {
    SwapObject(image, viewerImage, 2);
    SwapObject(tiles, viewerTiles, 2);
  }
  viewerScroll = 0.0f;
  viewerHeight = height;
}

void ToggleViewer() {
  if (viewerMode)
    viewerMode = 0;
  else if (viewerHeight != 0)
    viewerMode = 1;
}

void SetVSync(int flag) { vsyncEnabled = flag; }

void DrawFps() {
  if (timeGetTime() >= fpsNextSample) {
    fpsValue = static_cast<float>(fpsFrames / 2.0);
    if (fpsValue > fpsMax) fpsMax = fpsValue;
    if (fpsValue > 0.0f && fpsValue < fpsMin) fpsMin = fpsValue;
    fpsNextSample = timeGetTime() + 2000;
    fpsFrames = 0;
  }
  if (fpsFrames < 999) ++fpsFrames;
  char text[96];
  std::snprintf(text, sizeof text, "%3.1f fps ( max %3.1f / min %3.1f )", fpsValue, fpsMax,
                fpsMin);
  DrawDebugLine(0, 0, text);
}

void DebugText(int x, int y, const char* text) {
  if (text) DrawDebugLine(x, y, text);
}

void DebugPrint(int x, int y, const char* format, ...) {
  char text[260];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);  // cut, never overflowed
  va_end(args);
  DrawDebugLine(x, y, text);
}

}  // namespace zoDraw
