// The four-state key poll, as a plain rule.
#pragma once

namespace zo {

enum KeyState { KeyUp = 0, KeyPressed = 1, KeyReleased = 2, KeyHeld = 3 };

// Next state of a polled key. A key pressed again while it reads 2 goes to 3.
// While a transition runs, the viewer is on or capture mode is set, the
// state reads 0 whatever the key does.
int NextKeyState(int state, bool down, bool suppressed);

}  // namespace zo
