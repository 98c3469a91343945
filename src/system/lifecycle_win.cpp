// The modules' start-up and teardown lists, and the orderly end of the
// program, run once.
#include "system/lifecycle_win.h"

#include "zo.h"

int shutdownDone;

namespace zo {

void StartModules() {
  zoSound::InitDevice();  // the program runs silently without a device
  zoSound::ResetObjects();
  zoMusic::Init();  // the flags only: a sequence still open stays open
  zoSystem::ResetState();
  zoText::EnumerateFonts();
  zoJoystick::Init();
  if (clipCursorMode) zoInput::ClipCursorToScreen();
}

void EndModules() {
  zoInput::ReleaseCursor();
  zoText::ReleaseFonts();
  zoSound::ReleaseDevice();
  zoDraw::ReleaseAll();
}

}  // namespace zo

namespace zoSystem {

int End() {
  if (shutdownDone) return 1;
  shutdownDone = 1;
  zo::EndModules();
  if (mutexHandle) {
    ReleaseMutex(mutexHandle);
    mutexHandle = nullptr;
  }
  // A close that came from the window itself destroys the window afterwards.
  if (closeState == 0) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  closeState = 2;
  return 1;
}

}  // namespace zoSystem
