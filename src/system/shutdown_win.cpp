// The orderly end of the program, run once.
#include "zo.h"

int shutdownDone;

namespace zoSystem {

int End() {
  if (shutdownDone) return 1;
  shutdownDone = 1;
  zoInput::ReleaseCursor();
  zoText::ReleaseFonts();
  zoSound::ReleaseDevice();
  zoDraw::ReleaseAll();
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
