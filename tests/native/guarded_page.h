// A picture of exactly one 4096-byte page (64 x 32 pixels, pitch 64) between
// two pages that may not be touched: a kernel that reads one byte before its
// first pixel or after its last one crashes the test. The sanitizer cannot
// show this for vector gathers, which it does not follow.
#pragma once

#include <cstdint>
#include <cstring>

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
#ifdef _WIN32
  GuardedPage()
      : base_(static_cast<uint8_t*>(VirtualAlloc(nullptr, 3 * kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))) {
    DWORD old;
    if (base_) VirtualProtect(base_, kBytes, PAGE_NOACCESS, &old);
    if (base_) VirtualProtect(base_ + 2 * kBytes, kBytes, PAGE_NOACCESS, &old);
  }
  ~GuardedPage() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
  }
#else
  GuardedPage()
      : base_(static_cast<uint8_t*>(
            mmap(nullptr, 3 * kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0))) {
    if (base_ == MAP_FAILED) base_ = nullptr;
    if (base_) mprotect(base_, kBytes, PROT_NONE);
    if (base_) mprotect(base_ + 2 * kBytes, kBytes, PROT_NONE);
  }
  ~GuardedPage() {
    if (base_) munmap(base_, 3 * kBytes);
  }
#endif
  GuardedPage(const GuardedPage&) = delete;
  GuardedPage& operator=(const GuardedPage&) = delete;
  bool Ok() const { return base_ != nullptr; }

  // A kWidth x kHeight picture (pitch kWidth) copied into the page, and back.
  zo::PixelView Hold(const Image& im) {
    std::memcpy(base_ + kBytes, im.px.data(), kBytes);
    return zo::PixelView{reinterpret_cast<uint16_t*>(base_ + kBytes), kWidth, kWidth, kHeight};
  }
  void Return(Image& im) const { std::memcpy(im.px.data(), base_ + kBytes, kBytes); }

 private:
  uint8_t* base_;
};

}  // namespace zotest
