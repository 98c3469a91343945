// zo: a library for 2D Windows games.
// Game code includes only this header; it provides the two scene hooks
// DemoSetup (once, after the window exists) and DemoFrame (every frame
// step while scene 1 runs) and links libzo.a.
#pragma once

#include <windows.h>

#include "zo/system.h"
#include "zo/input.h"
#include "zo/draw.h"
#include "zo/text.h"
#include "zo/sound.h"
#include "zo/effects.h"
#include "zo/music.h"
#include "zo/joystick.h"
