// A counterfeit IDirectDrawSurface to stand in for a real one: it records
// the blits it is asked for, can answer DDERR_SURFACELOST like a surface
// whose memory was taken, and counts Restore and Release.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <vector>

namespace zotest {

struct BlitCall {
  int x, y;             // BltFast: destination point
  RECT src;
  RECT dest;            // Blt: destination rectangle
  IDirectDrawSurface* source;
  DWORD flags;
  bool fast;
};

class FakeSurface : public IDirectDrawSurface {
 public:
  explicit FakeSurface(bool lost) : lost(lost) {}
  virtual ~FakeSurface() {}

  bool lost;             // blits answer DDERR_SURFACELOST and IsLost says so until Restore
  int restores = 0;
  int refs = 1;          // Release at 0 does not delete: tests own the object
  std::vector<BlitCall> calls;

  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
  STDMETHOD_(ULONG, Release)() override { return refs > 0 ? --refs : 0; }
  STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(AddOverlayDirtyRect)(LPRECT) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Blt)(LPRECT dest, LPDIRECTDRAWSURFACE source, LPRECT src, DWORD flags, LPDDBLTFX) override {
    BlitCall c{};
    if (dest) c.dest = *dest;
    if (src) c.src = *src;
    c.source = source;
    c.flags = flags;
    calls.push_back(c);
    return lost ? DDERR_SURFACELOST : DD_OK;
  }
  STDMETHOD(BltBatch)(LPDDBLTBATCH, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(BltFast)(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT src, DWORD flags) override {
    BlitCall c{};
    c.x = static_cast<int>(x);
    c.y = static_cast<int>(y);
    if (src) c.src = *src;
    c.source = source;
    c.flags = flags;
    c.fast = true;
    calls.push_back(c);
    return lost ? DDERR_SURFACELOST : DD_OK;
  }
  STDMETHOD(DeleteAttachedSurface)(DWORD, LPDIRECTDRAWSURFACE) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(EnumAttachedSurfaces)(LPVOID, LPDDENUMSURFACESCALLBACK) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(EnumOverlayZOrders)(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Flip)(LPDIRECTDRAWSURFACE, DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetAttachedSurface)(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetBltStatus)(DWORD) override { return DD_OK; }
  STDMETHOD(GetCaps)(LPDDSCAPS) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER*) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetColorKey)(DWORD, LPDDCOLORKEY) override { return DDERR_NOCOLORKEY; }
  STDMETHOD(GetDC)(HDC*) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetFlipStatus)(DWORD) override { return DD_OK; }
  STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE*) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Initialize)(LPDIRECTDRAW, LPDDSURFACEDESC) override { return DDERR_ALREADYINITIALIZED; }
  STDMETHOD(IsLost)() override { return lost ? DDERR_SURFACELOST : DD_OK; }
  STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override {
    return lost ? DDERR_SURFACELOST : DDERR_UNSUPPORTED;
  }
  STDMETHOD(ReleaseDC)(HDC) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Restore)() override {
    ++restores;
    lost = false;
    return DD_OK;
  }
  STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(SetColorKey)(DWORD, LPDDCOLORKEY) override { return DD_OK; }
  STDMETHOD(SetOverlayPosition)(LONG, LONG) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(Unlock)(LPVOID) override { return DD_OK; }
  STDMETHOD(UpdateOverlay)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) override {
    return DDERR_UNSUPPORTED;
  }
  STDMETHOD(UpdateOverlayDisplay)(DWORD) override { return DDERR_UNSUPPORTED; }
  STDMETHOD(UpdateOverlayZOrder)(DWORD, LPDIRECTDRAWSURFACE) override { return DDERR_UNSUPPORTED; }
};

}  // namespace zotest
