// The wipe over the display's globals, for the shell's scene change.
#pragma once

#include "draw/effects/wipe_rules.h"

namespace zo {

extern WipeSettings clipWipe;  // closing, kind, speed and band of the wipe

// ClipRect, savedClipRect, clipWipeState and clipWipe as one target.
WipeTarget TheWipe();

// A running wipe ends with ClipRect restored; nothing else changes.
void CancelRunningWipe();

}  // namespace zo
