#include "draw/sine_table.h"

#include <cmath>

int32_t SineTable[SineTableSize];

void BuildSineTable() {
  const double twoPi = 2.0 * 3.141592653589793;
  for (int i = 0; i < SineTableSize; ++i) {
    SineTable[i] = static_cast<int32_t>(std::sin(twoPi * i / 360.0) * 360.0);  // truncates
  }
}
