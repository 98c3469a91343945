#include "text/font_rules.h"

#include <algorithm>
#include <cstdint>

namespace zo {

int EscapementOf(int angle) {
  const int64_t tenths = int64_t(angle) * 10;
  if (tenths >= INT32_MIN && tenths <= INT32_MAX) return int(tenths);
  return int(tenths % 3600);
}

int DoubledFontSize(int size) { return int(std::clamp<int64_t>(int64_t(size) * 2, INT32_MIN, INT32_MAX)); }

}  // namespace zo
