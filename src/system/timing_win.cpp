// Frame delta, the ten wait slots and the blocking wait, on timeGetTime.

#include "system/time_rules.h"
#include "zo.h"

#include <mmsystem.h>

float frameDelta;
DWORD lastFrameTime;
DWORD waitTable[WaitSlotCount + 1];

namespace {
const int WaitEntry = WaitSlotCount;  // the last entry belongs to zoSystem::Wait
const char* const SlotOutOfRange = "ウェイトNoが範囲外です";
}  // namespace

namespace zoSystem {

int SetWait(int slot, int milliseconds) {
  if (!zo::IsWaitSlot(slot)) return ShowError("zoSystem::SetWait", SlotOutOfRange);
  waitTable[slot - 1] = zo::Deadline(timeGetTime(), milliseconds);
  return 1;
}

int InitWait(int slot) {
  if (!zo::IsWaitSlot(slot)) return ShowError("zoSystem::InitWait", SlotOutOfRange);
  waitTable[slot - 1] = WaitNever;
  return 1;
}

int IsWaitOver(int slot) {
  if (!zo::IsWaitSlot(slot)) return 1;  // there is no such slot to wait for
  return zo::DeadlineReached(timeGetTime(), waitTable[slot - 1]) ? 1 : 0;
}

void Wait(int milliseconds) {
  waitTable[WaitEntry] = zo::Deadline(timeGetTime(), milliseconds);
  while (!zo::SpinOver(timeGetTime(), waitTable[WaitEntry])) {
  }
  ResetFrameTimer();
}

void ResetFrameTimer() {
  frameDelta = 0.0f;
  lastFrameTime = timeGetTime();
}

void UpdateFrameTimer() {
  frameDelta = zo::ElapsedSeconds(timeGetTime(), lastFrameTime);
  lastFrameTime = timeGetTime();
}

int ResetState() {
  for (DWORD& entry : waitTable) entry = WaitNever;
  zoInput::EndCapture();
  zoInput::SetSystemKeyMode(0);
  if (fullScreen) zoInput::ClipCursorToScreen();
  return 1;
}

}  // namespace zoSystem
