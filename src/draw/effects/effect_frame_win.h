// The lock step of every effect on Windows: the object's surface (if any)
// then the back surface locked, the frame's body run on them, both unlocked
// in the same order.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include "draw/display_win.h"
#include "draw/effects/effect_frame.h"

namespace zo {

// Locks a whole surface with DDLOCK_WAIT; false (nothing locked) on failure.
bool LockView(IDirectDrawSurface* surface, DDSURFACEDESC* desc, PixelView* view);

// The object's surface, or null when the effect must answer 0: the tables
// were never built, or the number names no surface. Effects report nothing,
// so a bad number in a per-frame call never opens a box every frame.
IDirectDrawSurface* EffectSource(int object);

// A frame's lock step: runs body(source view, back view) and answers 1, or 0
// with nothing drawn and nothing left locked when either lock fails (a lost
// surface among them). With no source the body sees an empty source view.
struct LockedSurfaces {
  IDirectDrawSurface* source;

  template <class Body>
  int operator()(const Body& body) const {
    return Run(source, &body, [](const void* b, const PixelView& src, const PixelView& dst) {
      (*static_cast<const Body*>(b))(src, dst);
    });
  }

  // The one place that locks and unlocks effect surfaces.
  static int Run(IDirectDrawSurface* source, const void* body,
                 void (*call)(const void*, const PixelView&, const PixelView&));
};

// The sprite frame over an object and the back surface within ClipRect.
template <class Kernel>
int RunSpriteEffect(int object, const Placement& p, Kernel kernel) {
  IDirectDrawSurface* source = EffectSource(object);
  return source ? SpriteFrame(ClipRect, p, LockedSurfaces{source}, kernel) : 0;
}

}  // namespace zo
