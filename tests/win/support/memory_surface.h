// A surface of plain memory for the effect tests: it counts its locks and
// unlocks and the pointer last unlocked, or refuses every lock as a lost
// surface does, so a test can see that nothing is left locked.
#pragma once

#include <cstdint>
#include <vector>

#include "fake_surface.h"

namespace zotest {

class MemorySurface : public FakeSurface {
 public:
  MemorySurface(int width, int height, bool refuseLocks)
      : FakeSurface(false), width_(width), height_(height), refuseLocks_(refuseLocks),
        pixels_(size_t(width) * size_t(height)) {}
  int locks = 0, unlocks = 0;
  void* lastUnlock = nullptr;
  uint16_t* pixels() { return pixels_.data(); }

  STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC desc, DWORD, HANDLE) override {
    if (refuseLocks_) return DDERR_SURFACELOST;
    ++locks;
    desc->dwWidth = width_;
    desc->dwHeight = height_;
    desc->lPitch = width_ * 2;
    desc->lpSurface = pixels_.data();
    return DD_OK;
  }
  STDMETHOD(Unlock)(LPVOID data) override {
    ++unlocks;
    lastUnlock = data;
    return DD_OK;
  }

 private:
  int width_, height_;
  bool refuseLocks_;
  std::vector<uint16_t> pixels_;
};

}  // namespace zotest
