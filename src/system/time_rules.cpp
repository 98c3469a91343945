#include "system/time_rules.h"

namespace zo {

float ElapsedSeconds(uint32_t now, uint32_t last) {
  return static_cast<float>(static_cast<double>(now - last) / 1000.0);
}

void StepBlink(uint32_t now, int* blinkOn, uint32_t* deadline) {
  if (!DeadlineReached(now, *deadline)) return;
  *blinkOn = !*blinkOn;
  *deadline = now + (*blinkOn ? 1000u : 200u);
}

}  // namespace zo
