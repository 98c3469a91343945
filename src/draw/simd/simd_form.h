// Which vector form the pixel kernels run: SSE2, which every processor the
// library runs on has, or AVX2 where the processor and the operating system
// both support it. The form is chosen once (zoDraw::Screen calls
// SelectSimdForm) and read by each kernel family on every call, never per
// pixel. Every form computes the same pixels.
#pragma once

namespace zo {

enum class SimdForm { kSse2, kAvx2 };

// CPUID says AVX2, and XGETBV says the operating system saves the YMM state.
bool ProcessorHasAvx2();

// The form a request names ("sse2", "avx2", null or empty for the best),
// never one the processor lacks. Unknown names take the best form.
SimdForm ChooseSimdForm(const char* request, bool avx2Available);

// The form ZO_SIMD and the processor allow: what SelectSimdForm chooses, and
// the last form the tests and benchmarks run.
SimdForm BestSimdForm();

// Makes BestSimdForm() the active form.
void SelectSimdForm();

SimdForm ActiveSimdForm();

// Forces a form for tests and benchmarks; false (nothing changed) when the
// processor lacks it.
bool UseSimdForm(SimdForm form);

const char* SimdFormName(SimdForm form);

}  // namespace zo
