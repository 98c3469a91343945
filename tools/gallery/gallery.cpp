// The effect gallery: every picture of the effect catalogue
// (tools/effect_catalogue.h) drawn on the same background and sprite,
// each saved by zoDraw::SaveScreen as effects\<name>.bmp beside the
// executable, and effects\index.txt listing every picture with
// its family, what it shows and the call that drew it (scripts/gallery makes
// docs/effects/ and docs/effects.md from them). The gallery runs in
// DemoSetup and ends itself; its exit code is the number of pictures whose
// effect reported an error or whose file could not be written.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zo.h"

namespace {

// Every picture is the top-left Width x Height of the back surface: a crop
// of the background with the 96 x 96 sprite centred at (64, 24).
const int Width = 224, Height = 144;
int background, blocks, sprite;

// The background alone, clipped to ClipRect (the wipes clip it).
void Backdrop() { zoDraw::DrawSpriteOpaque(0, 0, background, 300, 216, 300 + Width, 216 + Height); }
// The sprite as an ordinary colour-keyed blit, for the effects that work on
// what is already on the back surface.
void Sprite() { zoDraw::DrawSprite(64, 24, sprite, 0, 0, 96, 96); }

// The sprite: the four blocks of the demo enlarged into a 2 x 2 square,
// with the black (transparent) corners of the blocks between them.
void MakeSprite() {
  zoDraw::ClearScreen();
  for (int t = 0; t < 4; ++t)
    zoDraw::DrawStretch(48 * (t % 2), 48 * (t / 2), blocks, 30 * t, 0, 30 * t + 30, 30, 48, 48);
  sprite = zoDraw::CreateObject(96, 96, 2);
  zoDraw::GrabScreen(sprite, 0, 0, 96, 96);
}

struct Picture {
  const char* name;         // file name without .bmp
  const char* family;       // section of the page
  const char* description;  // one line
  const char* call;         // the code below, as written
  void (*draw)();
};

// The call is stringised, so the page shows exactly the code that ran.
const Picture pictures[] = {
#define ZO_PICTURE(name, family, description, ...) {name, family, description, #__VA_ARGS__, [] { __VA_ARGS__; }},
#define ZO_KERNEL(...)
#include "effect_catalogue.h"
#undef ZO_PICTURE
#undef ZO_KERNEL
};

// Back to the plain background with nothing running: no wipe, no clip, no time.
void ResetScene() {
  frameDelta = 100.0f;
  while (zoDraw::StepWipe()) {
  }
  frameDelta = 0.0f;
  zoDraw::SetClip(0, 0, screenWidth, screenHeight);
  zoDraw::ClearScreen();
  Backdrop();
}

}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  std::srand(1);  // the effect tables' noise is drawn from rand() by zoDraw::Screen
  zoDraw::Screen(640, 480, 1);
  background = zoDraw::LoadObject("bmp\\back.bmp", 2);
  blocks = zoDraw::LoadObject("bmp\\block.bmp", 2);
  MakeSprite();
  int failures = zoSystem::GetError() ? 1 : 0;

  const std::string folder = std::string(MakeFullPath(0)) + "effects";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string index;
  for (const Picture& p : pictures) {
    ResetScene();
    errorFlag = 0;
    p.draw();
    const std::string file = std::string("effects\\") + p.name + ".bmp";
    if (zoSystem::GetError() || !zoDraw::SaveScreen(file.c_str(), Width, Height)) ++failures;
    index += std::string(p.name) + "\t" + p.family + "\t" + p.description + "\t" + p.call + "\n";
  }
  if (FILE* out = std::fopen((folder + "\\index.txt").c_str(), "wb")) {
    std::fwrite(index.data(), 1, index.size(), out);
    std::fclose(out);
  } else {
    ++failures;
  }
  zoSystem::End();
  if (failures) ExitProcess(static_cast<UINT>(failures));
}

void DemoFrame() {}
