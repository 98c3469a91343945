// The frame every sprite effect runs in: clip to ClipRect, lock the object
// then the back surface, run the pixel kernel, unlock in the same order.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include "draw/effects/effect_frame.h"

namespace zo {

// Locks a whole surface with DDLOCK_WAIT; false (nothing locked) on failure.
bool LockView(IDirectDrawSurface* surface, DDSURFACEDESC* desc, PixelView* view);

// Checks the object number and the tables; reports a bad object under place.
// Answers the object's surface, or null when the effect must answer 0.
IDirectDrawSurface* EffectSource(int obj, const char* place);

// Runs kernel(src, dst, span) over a sprite effect's pixels and answers the
// effect's result.
template <class Kernel>
int RunSpriteEffect(const char* place, int x, int y, int obj, int l, int t, int r, int b,
                    Kernel kernel);

}  // namespace zo

#include "draw/effects/effect_frame_win.inl"
