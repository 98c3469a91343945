#include "draw/simd/simd_form.h"

#include <cpuid.h>

#include <cstdlib>
#include <cstring>

namespace zo {

namespace {

SimdForm active = SimdForm::kSse2;

// XCR0 read without the -mxsave the compiler would need for _xgetbv.
unsigned long long ReadXcr0() {
  unsigned lo, hi;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
  return (static_cast<unsigned long long>(hi) << 32) | lo;
}

}  // namespace

bool ProcessorHasAvx2() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool osxsave = (c & bit_OSXSAVE) != 0, avx = (c & bit_AVX) != 0;
  if (!osxsave || !avx) return false;
  if ((ReadXcr0() & 6) != 6) return false;  // XMM and YMM state both saved
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, a, b, c, d);
  return (b & bit_AVX2) != 0;
}

SimdForm ChooseSimdForm(const char* request, bool avx2Available) {
  if (request && std::strcmp(request, "sse2") == 0) return SimdForm::kSse2;
  return avx2Available ? SimdForm::kAvx2 : SimdForm::kSse2;
}

SimdForm BestSimdForm() { return ChooseSimdForm(std::getenv("ZO_SIMD"), ProcessorHasAvx2()); }

void SelectSimdForm() { active = BestSimdForm(); }

SimdForm ActiveSimdForm() { return active; }

bool UseSimdForm(SimdForm form) {
  if (form == SimdForm::kAvx2 && !ProcessorHasAvx2()) return false;
  active = form;
  return true;
}

const char* SimdFormName(SimdForm form) { return form == SimdForm::kAvx2 ? "avx2" : "sse2"; }

}  // namespace zo
