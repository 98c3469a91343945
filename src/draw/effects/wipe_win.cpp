// The clip-rectangle wipes over ClipRect, stepped by the frame duration.
#include <cstdlib>

#include "draw/effects/wipe_win.h"
#include "zo.h"

int32_t clipWipeState;
IntRect savedClipRect;

namespace zo {

WipeSettings clipWipe;

WipeTarget TheWipe() { return WipeTarget{ClipRect, savedClipRect, clipWipeState, clipWipe}; }

void CancelRunningWipe() { CancelWipeOn(TheWipe()); }

}  // namespace zo

namespace zoDraw {

int StartWipe(int closing, int kind, float speed, int band) {
  if (kind < 0 || kind > zo::MaxWipeKind)
    return ShowError("zoDraw::StartWipe", "ワイプの種類が範囲外です");
  return zo::StartWipeOn(zo::TheWipe(), closing, kind, speed, band, std::rand);
}

int StepWipe() { return zo::StepWipeOn(zo::TheWipe(), zo::WipeStep(frameDelta, zo::clipWipe.speed)); }

void CloseWipeNow() { zo::CloseWipeOn(zo::TheWipe()); }

}  // namespace zoDraw
