// A program built like the demo, for the shell tests: it logs what the
// shell does to the file named on its command line.
#include <cstdio>

#include "zo.h"

namespace {
int frames;

void Log(const char* line) {
  const char* path = zoSystem::CommandLine();
  if (!path[0]) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
  }
}
}  // namespace

void DemoSetup() {
  scene = 1;
  prevScene = 0;
  char line[128];
  std::snprintf(line, sizeof line, "setup windowFlags=%d fullScreen=%d ime=%d", windowFlags,
                fullScreen, imeEnabled);
  Log(line);
}

void DemoFrame() {
  ++frames;
  if (frames <= 3) {
    char line[128];
    std::snprintf(line, sizeof line, "frame %d sceneChanged=%d blinkOn=%d", frames, sceneChanged,
                  blinkOn);
    Log(line);
  }
  Sleep(5);
}
