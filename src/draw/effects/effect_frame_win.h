// The frame every sprite effect runs in: clip to ClipRect, lock the object
// then the back surface, run the pixel kernel, unlock in the same order.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include "draw/effects/effect_frame.h"

namespace zo {

// Locks a whole surface with DDLOCK_WAIT; false (nothing locked) on failure.
bool LockView(IDirectDrawSurface* surface, DDSURFACEDESC* desc, PixelView* view);

// The object's surface, or null when the effect must answer 0: the tables
// were never built, or the number names no surface. Effects report nothing,
// so a bad number in a per-frame call never opens a box every frame.
IDirectDrawSurface* EffectSource(int obj);

// Runs kernel(src, dst, span) over a sprite effect's pixels and answers the
// effect's result.
template <class Kernel>
int RunSpriteEffect(int x, int y, int obj, int l, int t, int r, int b,
                    Kernel kernel);

}  // namespace zo

#include "draw/effects/effect_frame_win.inl"
