// The window procedure's part in MIDI playback.
#pragma once

#include <windows.h>

namespace zo {

// MM_MCINOTIFY: a successful end of the open sequence, confirmed by the
// device's mode, replays or closes it; aborted and superseded plays are
// ignored.
void HandleMciNotify(WPARAM flags);

}  // namespace zo
