#include "app/key_rules.h"

namespace zo {

int NextKeyState(int state, bool down, bool suppressed) {
  if (down)
    state = (state == KeyUp) ? KeyPressed : KeyHeld;
  else
    state = (state == KeyPressed || state == KeyHeld) ? KeyReleased : KeyUp;
  return suppressed ? KeyUp : state;
}

}  // namespace zo
