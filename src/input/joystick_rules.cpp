#include "input/joystick_rules.h"

namespace zo {

int AxisDirection(int32_t position, int32_t centre) {
  int32_t low = centre / 2;
  if (position <= low) return -1;
  // Computed wide: a centre near the top of the range must not wrap.
  if (static_cast<int64_t>(position) >= static_cast<int64_t>(low) + centre) return 1;
  return 0;
}

int NumpadDirection(int dx, int dy) {
  static const int Keypad[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
  if (dx < -1 || dx > 1 || dy < -1 || dy > 1) return 5;
  return Keypad[dy + 1][dx + 1];
}

int32_t NextButtonState(int32_t state, bool pressed, bool suppressed) {
  int32_t next;
  if (pressed)
    next = state == 0 ? 1 : 3;
  else
    next = state == 1 || state == 3 ? 2 : 0;
  return suppressed ? 0 : next;
}

float NextHold(float hold, bool pressed, float rate, float delta) {
  if (!pressed) return 0.0f;
  hold += rate * delta;
  return hold >= 100.0f ? 100.0f : hold;
}

float NextAnalog(float axis, int direction, float step) {
  if (direction != 0) {
    axis += static_cast<float>(direction) * step;
    if (axis > 100.0f) axis = 100.0f;
    if (axis < -100.0f) axis = -100.0f;
    return axis;
  }
  if (axis > 0.0f) {
    axis -= step;
    if (axis < 0.0f) axis = 0.0f;
  }
  if (axis < 0.0f) {
    axis += step;
    if (axis > 0.0f) axis = 0.0f;
  }
  return axis;
}

}  // namespace zo
