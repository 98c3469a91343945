// Runs a comparison once for every vector form this processor has (only
// SSE2 under ZO_SIMD=sse2), with the form forced and named in the failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "draw/simd/simd_form.h"

namespace harness {

template <class F>
void ForEachSimdForm(F body) {
  const zo::SimdForm best = zo::ChooseSimdForm(std::getenv("ZO_SIMD"), zo::ProcessorHasAvx2());
  for (zo::SimdForm form : {zo::SimdForm::kSse2, zo::SimdForm::kAvx2}) {
    if (form == zo::SimdForm::kAvx2 && best != form) continue;
    ASSERT_TRUE(zo::UseSimdForm(form));
    SCOPED_TRACE(std::string("form ") + zo::SimdFormName(form));
    body();
  }
  zo::UseSimdForm(zo::SimdForm::kSse2);
}

}  // namespace harness
