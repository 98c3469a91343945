// Sprite text: characters rendered with GDI into internal object 2, then
// blitted with the colour key. The smooth renderer draws each line at double
// size into object 3 and shrinks it with an ink filter.

#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "text/antialias.h"
#include "text/sprite_text_layout.h"
#include "text/text_scope_win.h"
#include "zo.h"

int revealCount;
float revealTimer;

namespace {

const int FontObject = 2, BufferObject = 3;

bool IsLead(unsigned char b) { return IsDBCSLeadByte(b) != 0; }

void OpenTransparentScope(IDirectDrawSurface* surface) {
  zo::OpenTextScope(surface);
  if (zo::textDC) SetBkMode(zo::textDC, TRANSPARENT);
}

void LiftColours() {
  textColor = zo::LiftInk(textColor);
  shadowColor = zo::LiftInk(shadowColor);
}

void BlitBoundingBox() {
  const IntRect& box = textItems.rects[0];
  zoDraw::DrawSprite(box.left, box.top, FontObject, box.left, box.top, box.right, box.bottom);
}

void FinishRender() {
  revealCount = 0;
  revealTimer = 0.0f;
  blitAfterRender = 1;
}

class GdiTarget : public zo::SpriteTextTarget {
 public:
  zo::GlyphSize Measure(const char* ch, int length) override {
    SIZE size = {0, 0};
    if (zo::textDC) GetTextExtentPoint32A(zo::textDC, ch, length, &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
  }
  void Put(const char* ch, int length, int x, int y, bool shadow) override {
    if (!zo::textDC) return;
    SetTextColor(zo::textDC, shadow ? shadowColor : textColor);
    TextOutA(zo::textDC, x, y, ch, length);
  }
  // Between segments the buffer is cleared and drawn on transparently; after
  // the last one the caller's buffer scope comes back with a fresh DC.
  void Flush(int x, int y, int width2, int height2, bool last) override {
    zo::CloseTextScope();
    zo::AntialiasLine(x, y, 0, 0, width2, height2);
    if (last) {
      zo::OpenTextScope(zo::SurfaceOf(BufferObject));
      return;
    }
    zoDraw::ClearObject(BufferObject);
    OpenTransparentScope(zo::SurfaceOf(BufferObject));
  }
};

// A render that cannot start leaves the next one blitting as usual.
int RenderPlain(int x, int y, int right, int bottom, const char* text, unsigned flags) {
  if (!fontDesc || !text || !zo::SurfaceOf(FontObject)) {
    blitAfterRender = 1;
    return 0;
  }
  zo::CloseTextScope();
  zoDraw::ClearObject(FontObject);
  OpenTransparentScope(zo::SurfaceOf(FontObject));
  LiftColours();
  GdiTarget target;
  zo::LayOutPlainText(text, x, y, right, bottom, flags, fontHeight, IsLead, target);
  zo::CloseTextScope();
  if (blitAfterRender) BlitBoundingBox();
  zo::OpenTextScope(backSurface);
  FinishRender();
  return 1;
}

int RenderSmooth(int x, int y, int right, int bottom, const char* text, unsigned flags) {
  if (!fontDesc || !text || !zo::SurfaceOf(FontObject) || !zo::SurfaceOf(BufferObject)) {
    blitAfterRender = 1;
    return 0;
  }
  zoDraw::ClearObject(FontObject);
  zo::CloseTextScope();
  zoDraw::ClearObject(BufferObject);
  OpenTransparentScope(zo::SurfaceOf(BufferObject));
  LiftColours();
  GdiTarget target;
  zo::LayOutSmoothText(text, x, y, right, bottom, flags, fontHeight, screenWidth, IsLead, target);
  if (blitAfterRender) BlitBoundingBox();
  FinishRender();
  return 1;
}

template <typename Pixel>
zo::SurfaceView<Pixel> ViewOf(const DDSURFACEDESC& d) {
  return {static_cast<Pixel*>(d.lpSurface), static_cast<int>(d.lPitch / static_cast<LONG>(sizeof(Pixel))),
          static_cast<int>(d.dwWidth), static_cast<int>(d.dwHeight)};
}

}  // namespace

namespace zo {

void AntialiasLine(int dx, int dy, int sx, int sy, int width2, int height2) {
  IDirectDrawSurface* surfaces[3] = {zo::SurfaceOf(BufferObject), zo::SurfaceOf(FontObject), backSurface};
  DDSURFACEDESC desc[3];
  int locked = 0;
  for (; locked < 3; ++locked) {
    if (!surfaces[locked]) break;
    desc[locked] = zo::EmptySurfaceDesc();
    if (surfaces[locked]->Lock(nullptr, &desc[locked], DDLOCK_WAIT, nullptr) != DD_OK) break;
  }
  const int depth = zo::FrameDepth();
  // The surfaces must hold pixels of the size the filter is about to walk.
  bool sameDepth = locked == 3;
  for (int i = 0; i < locked; ++i)
    sameDepth = sameDepth && static_cast<int>(desc[i].ddpfPixelFormat.dwRGBBitCount) == depth;
  if (sameDepth) {
    if (depth == 16) {
      InkChannels ch = {{PixelFormat.fivePos[0], PixelFormat.fivePos[1], PixelFormat.fivePos[2]}, 31};
      AntialiasLine16(ViewOf<const uint16_t>(desc[0]), ViewOf<uint16_t>(desc[1]),
                      ViewOf<const uint16_t>(desc[2]), ch, dx, dy, sx, sy, width2, height2, ClipRect);
    } else if (depth == 32) {
      InkChannels ch = {{PixelFormat.redShift, PixelFormat.greenShift, PixelFormat.blueShift}, 255};
      AntialiasLine32(ViewOf<const uint32_t>(desc[0]), ViewOf<uint32_t>(desc[1]),
                      ViewOf<const uint32_t>(desc[2]), ch, dx, dy, sx, sy, width2, height2, ClipRect);
    }
  }
  for (int i = locked - 1; i >= 0; --i) surfaces[i]->Unlock(desc[i].lpSurface);
}

}  // namespace zo

namespace zoText {

void DrawSpriteText(int x, int y, int right, int bottom, const char* text, unsigned flags) {
  RenderPlain(x, y, right, bottom, text, flags);
}

void RenderSpriteText(int x, int y, int right, int bottom, const char* text, unsigned flags) {
  blitAfterRender = 0;
  RenderPlain(x, y, right, bottom, text, flags);
}

void DrawSmoothText(int x, int y, int right, int bottom, const char* text, unsigned flags) {
  RenderSmooth(x, y, right, bottom, text, flags);
}

void RenderSmoothText(int x, int y, int right, int bottom, const char* text, unsigned flags) {
  blitAfterRender = 0;
  RenderSmooth(x, y, right, bottom, text, flags);
}

int RevealText(float interval) {
  const int n = textItems.count;
  if (interval == 0.0f || revealCount > n) {
    BlitBoundingBox();
    revealCount = n + 1;
  } else {
    for (int i = 1; i < revealCount && i < n; ++i) {
      const IntRect& c = textItems.rects[i];
      zoDraw::DrawSprite(c.left, c.top, FontObject, c.left, c.top, c.right, c.bottom);
    }
  }
  if (n < revealCount) return 1;
  revealTimer += frameDelta;
  if (interval <= revealTimer) {
    ++revealCount;
    revealTimer = 0.0f;
  }
  return 0;
}

}  // namespace zoText
