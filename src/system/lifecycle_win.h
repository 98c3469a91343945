// The start and the end of the modules beside the display, in their order.
#pragma once

namespace zo {

// After zoDraw::Screen made the display: the sound device and table, the
// MIDI flags, the wait slots and input modes, the font list, the joystick
// and the optional cursor clip.
void StartModules();

// zoSystem::End's list: the cursor clip, the fonts, the sound device with
// its buffers, then every DirectDraw object and the display mode.
void EndModules();

}  // namespace zo
