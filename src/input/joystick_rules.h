// The joystick's rules over plain numbers: directions against a calibrated
// centre, keypad numbers, four-state buttons, hold meters and the analog ramp.
#pragma once

#include <cstdint>

namespace zo {

// -1 when position <= centre / 2, +1 when position >= centre / 2 + centre,
// else 0; signed, truncating division. Low is left or up.
int AxisDirection(int32_t position, int32_t centre);

// 7 8 9 / 4 5 6 / 1 2 3 from dx, dy in -1..1 (dy -1 is up).
int NumpadDirection(int dx, int dy);

// The next four-state value (0 up, 1 just pressed, 3 held, 2 just released);
// 0 while suppressed (a transition, the viewer or capture mode).
int32_t NextButtonState(int32_t state, bool pressed, bool suppressed);

// A hold meter after one call: filling by rate x delta up to 100 while
// pressed, 0 once released.
float NextHold(float hold, bool pressed, float rate, float delta);

// An analog axis after one call: toward direction by step (rate x delta),
// limited to -100..100, or back toward 0 by step without passing it.
float NextAnalog(float axis, int direction, float step);

inline bool IsJoystick(int joystick) { return joystick == 0 || joystick == 1; }
inline bool IsStateButton(int button) { return button >= 1 && button <= 4; }

}  // namespace zo
