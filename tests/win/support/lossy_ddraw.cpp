#include "lossy_ddraw.h"

#include <cstring>

#include "draw/display_win.h"
#include "draw/objects_win.h"

namespace zotest {

int lossesToCome = 0;
int lossesSoFar = 0;

namespace {

class LossySurface : public IDirectDrawSurface {
 public:
  explicit LossySurface(IDirectDrawSurface* real) : real_(real) {}
  virtual ~LossySurface() {}
  IDirectDrawSurface* real() const { return real_; }

  STDMETHOD(QueryInterface)(REFIID riid, void** out) override { return real_->QueryInterface(riid, out); }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override;
  STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE s) override { return real_->AddAttachedSurface(Real(s)); }
  STDMETHOD(AddOverlayDirtyRect)(LPRECT r) override { return real_->AddOverlayDirtyRect(r); }
  STDMETHOD(Blt)(LPRECT dest, LPDIRECTDRAWSURFACE src, LPRECT srcRect, DWORD flags, LPDDBLTFX fx) override {
    if (Lose() || IsLostWrapper(src)) return DDERR_SURFACELOST;
    return real_->Blt(dest, Real(src), srcRect, flags, fx);
  }
  STDMETHOD(BltBatch)(LPDDBLTBATCH b, DWORD n, DWORD flags) override { return real_->BltBatch(b, n, flags); }
  STDMETHOD(BltFast)(DWORD x, DWORD y, LPDIRECTDRAWSURFACE src, LPRECT srcRect, DWORD flags) override {
    if (Lose() || IsLostWrapper(src)) return DDERR_SURFACELOST;
    return real_->BltFast(x, y, Real(src), srcRect, flags);
  }
  STDMETHOD(DeleteAttachedSurface)(DWORD flags, LPDIRECTDRAWSURFACE s) override {
    return real_->DeleteAttachedSurface(flags, Real(s));
  }
  STDMETHOD(EnumAttachedSurfaces)(LPVOID c, LPDDENUMSURFACESCALLBACK cb) override { return real_->EnumAttachedSurfaces(c, cb); }
  STDMETHOD(EnumOverlayZOrders)(DWORD f, LPVOID c, LPDDENUMSURFACESCALLBACK cb) override {
    return real_->EnumOverlayZOrders(f, c, cb);
  }
  STDMETHOD(Flip)(LPDIRECTDRAWSURFACE s, DWORD flags) override {
    if (Lose()) return DDERR_SURFACELOST;
    return real_->Flip(Real(s), flags);
  }
  STDMETHOD(GetAttachedSurface)(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* s) override {
    return real_->GetAttachedSurface(caps, s);
  }
  STDMETHOD(GetBltStatus)(DWORD f) override { return real_->GetBltStatus(f); }
  STDMETHOD(GetCaps)(LPDDSCAPS c) override { return real_->GetCaps(c); }
  STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER* c) override { return real_->GetClipper(c); }
  STDMETHOD(GetColorKey)(DWORD f, LPDDCOLORKEY k) override { return real_->GetColorKey(f, k); }
  STDMETHOD(GetDC)(HDC* dc) override {
    if (Lose()) return DDERR_SURFACELOST;
    return real_->GetDC(dc);
  }
  STDMETHOD(GetFlipStatus)(DWORD f) override { return real_->GetFlipStatus(f); }
  STDMETHOD(GetOverlayPosition)(LPLONG x, LPLONG y) override { return real_->GetOverlayPosition(x, y); }
  STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE* p) override { return real_->GetPalette(p); }
  STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT f) override { return real_->GetPixelFormat(f); }
  STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC d) override { return real_->GetSurfaceDesc(d); }
  STDMETHOD(Initialize)(LPDIRECTDRAW dd, LPDDSURFACEDESC d) override { return real_->Initialize(dd, d); }
  STDMETHOD(IsLost)() override { return lost_ ? DDERR_SURFACELOST : real_->IsLost(); }
  STDMETHOD(Lock)(LPRECT r, LPDDSURFACEDESC d, DWORD flags, HANDLE e) override {
    if (Lose()) return DDERR_SURFACELOST;
    return real_->Lock(r, d, flags, e);
  }
  STDMETHOD(ReleaseDC)(HDC dc) override { return real_->ReleaseDC(dc); }
  STDMETHOD(Restore)() override {
    lost_ = false;
    return real_->Restore();
  }
  STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER c) override { return real_->SetClipper(c); }
  STDMETHOD(SetColorKey)(DWORD f, LPDDCOLORKEY k) override { return real_->SetColorKey(f, k); }
  STDMETHOD(SetOverlayPosition)(LONG x, LONG y) override { return real_->SetOverlayPosition(x, y); }
  STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE p) override { return real_->SetPalette(p); }
  STDMETHOD(Unlock)(LPVOID p) override { return real_->Unlock(p); }
  STDMETHOD(UpdateOverlay)(LPRECT s, LPDIRECTDRAWSURFACE d, LPRECT dr, DWORD f, LPDDOVERLAYFX fx) override {
    return real_->UpdateOverlay(s, Real(d), dr, f, fx);
  }
  STDMETHOD(UpdateOverlayDisplay)(DWORD f) override { return real_->UpdateOverlayDisplay(f); }
  STDMETHOD(UpdateOverlayZOrder)(DWORD f, LPDIRECTDRAWSURFACE s) override {
    return real_->UpdateOverlayZOrder(f, Real(s));
  }

  static IDirectDrawSurface* Real(IDirectDrawSurface* s);

 private:
  // A lost surface answers as lost until restored; otherwise the next
  // call of the storm takes its memory.
  bool Lose() {
    if (lost_) return true;
    if (lossesToCome <= 0) return false;
    --lossesToCome;
    ++lossesSoFar;
    lost_ = true;
    Scribble();
    return true;
  }
  void Scribble() {
    DDSURFACEDESC d;
    std::memset(&d, 0, sizeof d);
    d.dwSize = sizeof d;
    if (real_->Lock(nullptr, &d, DDLOCK_WAIT, nullptr) != DD_OK) return;
    for (DWORD y = 0; y < d.dwHeight; ++y)
      std::memset(static_cast<uint8_t*>(d.lpSurface) + y * d.lPitch, 0x5A, d.dwWidth * 2);
    real_->Unlock(d.lpSurface);
  }
  static bool IsLostWrapper(IDirectDrawSurface* s);

  IDirectDrawSurface* real_;
  ULONG refs_ = 1;
  bool lost_ = false;
};

// Every wrapper made, so that a pointer can be recognised as one.
LossySurface* wrappers[4096];
int wrapperCount = 0;

LossySurface* AsWrapper(IDirectDrawSurface* s) {
  for (int i = 0; i < wrapperCount; ++i)
    if (wrappers[i] == s) return wrappers[i];
  return nullptr;
}

ULONG LossySurface::Release() {
  if (--refs_ > 0) return refs_;
  for (int i = 0; i < wrapperCount; ++i)
    if (wrappers[i] == this) wrappers[i] = wrappers[--wrapperCount];
  real_->Release();
  delete this;
  return 0;
}

IDirectDrawSurface* LossySurface::Real(IDirectDrawSurface* s) {
  LossySurface* w = AsWrapper(s);
  return w ? w->real() : s;
}

bool LossySurface::IsLostWrapper(IDirectDrawSurface* s) {
  LossySurface* w = AsWrapper(s);
  return w && w->lost_;
}

IDirectDrawSurface* Wrap(IDirectDrawSurface* s) {
  if (!s || AsWrapper(s) || wrapperCount == 4096) return s;
  LossySurface* w = new LossySurface(s);
  wrappers[wrapperCount++] = w;
  return w;
}

class LossyDirectDraw : public IDirectDraw {
 public:
  explicit LossyDirectDraw(IDirectDraw* real) : real_(real) {}
  virtual ~LossyDirectDraw() {}
  STDMETHOD(QueryInterface)(REFIID riid, void** out) override { return real_->QueryInterface(riid, out); }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
  STDMETHOD_(ULONG, Release)() override {
    if (--refs_ > 0) return refs_;
    real_->Release();
    delete this;
    return 0;
  }
  STDMETHOD(Compact)() override { return real_->Compact(); }
  STDMETHOD(CreateClipper)(DWORD f, LPDIRECTDRAWCLIPPER* c, IUnknown* o) override { return real_->CreateClipper(f, c, o); }
  STDMETHOD(CreatePalette)(DWORD f, LPPALETTEENTRY e, LPDIRECTDRAWPALETTE* p, IUnknown* o) override {
    return real_->CreatePalette(f, e, p, o);
  }
  STDMETHOD(CreateSurface)(LPDDSURFACEDESC d, LPDIRECTDRAWSURFACE* s, IUnknown* o) override {
    HRESULT hr = real_->CreateSurface(d, s, o);
    if (hr == DD_OK) *s = Wrap(*s);
    return hr;
  }
  STDMETHOD(DuplicateSurface)(LPDIRECTDRAWSURFACE s, LPDIRECTDRAWSURFACE* d) override {
    return real_->DuplicateSurface(LossySurface::Real(s), d);
  }
  STDMETHOD(EnumDisplayModes)(DWORD f, LPDDSURFACEDESC d, LPVOID c, LPDDENUMMODESCALLBACK cb) override {
    return real_->EnumDisplayModes(f, d, c, cb);
  }
  STDMETHOD(EnumSurfaces)(DWORD f, LPDDSURFACEDESC d, LPVOID c, LPDDENUMSURFACESCALLBACK cb) override {
    return real_->EnumSurfaces(f, d, c, cb);
  }
  STDMETHOD(FlipToGDISurface)() override { return real_->FlipToGDISurface(); }
  STDMETHOD(GetCaps)(LPDDCAPS a, LPDDCAPS b) override { return real_->GetCaps(a, b); }
  STDMETHOD(GetDisplayMode)(LPDDSURFACEDESC d) override { return real_->GetDisplayMode(d); }
  STDMETHOD(GetFourCCCodes)(LPDWORD n, LPDWORD c) override { return real_->GetFourCCCodes(n, c); }
  STDMETHOD(GetGDISurface)(LPDIRECTDRAWSURFACE* s) override { return real_->GetGDISurface(s); }
  STDMETHOD(GetMonitorFrequency)(LPDWORD f) override { return real_->GetMonitorFrequency(f); }
  STDMETHOD(GetScanLine)(LPDWORD l) override { return real_->GetScanLine(l); }
  STDMETHOD(GetVerticalBlankStatus)(WINBOOL* b) override { return real_->GetVerticalBlankStatus(b); }
  STDMETHOD(Initialize)(GUID* g) override { return real_->Initialize(g); }
  STDMETHOD(RestoreDisplayMode)() override { return real_->RestoreDisplayMode(); }
  STDMETHOD(SetCooperativeLevel)(HWND w, DWORD f) override { return real_->SetCooperativeLevel(w, f); }
  STDMETHOD(SetDisplayMode)(DWORD w, DWORD h, DWORD b) override { return real_->SetDisplayMode(w, h, b); }
  STDMETHOD(WaitForVerticalBlank)(DWORD f, HANDLE e) override { return real_->WaitForVerticalBlank(f, e); }

 private:
  IDirectDraw* real_;
  ULONG refs_ = 1;
};

}  // namespace

void InstallLossySurfaces() {
  lossesToCome = 0;
  lossesSoFar = 0;
  if (directDraw) directDraw = new LossyDirectDraw(directDraw);
  primarySurface = Wrap(primarySurface);
  backSurface = Wrap(backSurface);
  for (auto& object : drawObjects) object.surface = Wrap(object.surface);
}

IDirectDrawSurface* RealSurface(IDirectDrawSurface* surface) { return LossySurface::Real(surface); }

}  // namespace zotest
