// Wipes and transitions. A wipe animates ClipRect, so the scene is drawn
// only inside the opening (or closing) rectangle; a transition is an
// overlay that Present draws over the whole screen in ten steps. The
// example closes and opens a wipe of each kind in turn, then a transition
// of each cover style.
#include "zo.h"

namespace {
int background, blocks;
int action;        // what runs: 0 wipe closing, 1 wipe opening, 2 transition closing, 3 opening
int kind = 1;      // wipe kind, 1..9
int style = 1;     // transition cover style, 1..12
float pause;       // seconds left before the next action

// Object 1 is the cover the transitions draw: here the blocks tiled.
void MakeCover() {
  for (int y = 0; y < 480; y += 30)
    for (int x = 0; x < 640; x += 30) {
      const int t = (x / 30 + y / 30) % 4;
      zoDraw::DrawSpriteOpaque(x, y, blocks, 30 * t, 0, 30 * t + 30, 30);
    }
  zoDraw::GrabScreen(1, 0, 0, 640, 480);
}

void StartNext() {
  switch (action) {
    case 0: zoDraw::StartWipe(1, kind, 320.0f, 40); break;  // closing: the scene disappears
    case 1: zoDraw::StartWipe(0, kind, 320.0f, 40); kind = kind % 9 + 1; break;
    case 2: transitionStyle = style; zoDraw::CloseTransition(); break;
    case 3: zoDraw::OpenTransition(); style = style % 12 + 1; break;
  }
  action = (action + 1) % 4;
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);
  background = zoDraw::LoadObject("bmp\\back.bmp", 2);
  blocks = zoDraw::LoadObject("bmp\\block.bmp", 2);
  MakeCover();
  scene = 1;
  nextScene = 1;  // where a closing transition leads: back to this scene
  prevScene = 0;
}

void DemoFrame() {
  zoDraw::StepWipe();                           // once a frame; ClipRect follows the wipe
  zoDraw::ClearScreen();                        // fills ignore ClipRect: black outside it
  zoDraw::DrawSpriteOpaque(0, 0, background, 0, 0, 640, 480);  // blits are clipped to it
  for (int i = 0; i < 4; ++i) zoDraw::DrawSprite(200 + 60 * i, 225, blocks, 30 * i, 0, 30 * i + 30, 30);

  // The next action once the last one is over: a wipe that has closed or
  // opened, a transition that has run its ten steps. An opening transition
  // follows its closing one at once, while the cover is still whole.
  const bool done = clipWipeState <= 0 && transitionStep == 0;
  if (done && action == 3) {
    StartNext();
  } else if (done && (pause -= frameDelta) <= 0.0f) {
    StartNext();
    pause = 0.3f;
  }
  zoDraw::Present();                            // draws the transition overlay, if one runs
}
