// A picture of exactly one 4096-byte page (64 x 32 pixels, pitch 64) between
// two pages that may not be touched: a kernel that reads or writes one byte
// before its first pixel or after its last one crashes the test. The
// sanitizer cannot show this for vector gathers, which it does not follow.
#pragma once

#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include "effect_harness.h"

namespace zotest {

class GuardedPage {
 public:
  static constexpr int kWidth = 64, kHeight = 32, kBytes = 4096;
  GuardedPage() {
#ifdef _WIN32
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 3 * kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    if (base_) {
      VirtualProtect(base_, kBytes, PAGE_NOACCESS, &old);
      VirtualProtect(base_ + 2 * kBytes, kBytes, PAGE_NOACCESS, &old);
    }
#else
    void* p = mmap(nullptr, 3 * kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    base_ = p == MAP_FAILED ? nullptr : static_cast<uint8_t*>(p);
    if (base_) {
      mprotect(base_, kBytes, PROT_NONE);
      mprotect(base_ + 2 * kBytes, kBytes, PROT_NONE);
    }
#endif
  }
  ~GuardedPage() {
#ifdef _WIN32
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
#else
    if (base_) munmap(base_, 3 * kBytes);
#endif
  }
  GuardedPage(const GuardedPage&) = delete;
  GuardedPage& operator=(const GuardedPage&) = delete;

  bool Ok() const { return base_ != nullptr; }
  // The page's pixels holding im (kWidth x kHeight, any pitch).
  zo::PixelView Hold(const Image& im) {
    uint16_t* px = reinterpret_cast<uint16_t*>(base_ + kBytes);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) px[y * kWidth + x] = im.at(x, y);
    return zo::PixelView{px, kWidth, kWidth, kHeight};
  }
  // The page's pixels back into im.
  void Return(Image& im) const {
    const uint16_t* px = reinterpret_cast<const uint16_t*>(base_ + kBytes);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) im.at(x, y) = px[y * kWidth + x];
  }

 private:
  uint8_t* base_ = nullptr;
};

}  // namespace zotest
