// Tessaro: the demo scene that ships with the library.
#include "zo.h"

void DemoSetup() {
  scene = 1;
  prevScene = 0;  // the first frame step sees a scene change
}

void DemoFrame() {}
