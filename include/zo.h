// zo: a library for 2D Windows games.
// Game code includes only this header; it provides the two scene hooks
// DemoSetup (once, after the window exists) and DemoFrame (every frame
// step while scene 1 runs), optionally DemoConfigure (before the window is
// made), and links libzo.a.
#pragma once

#include <windows.h>

// The library owns WinMain. The runtime's start-up code asks for it only
// after libzo.a has been scanned, so every file that includes this header
// asks for it first, and a plain "g++ game.cpp libzo.a ..." links.
#if defined(_MSC_VER)
#pragma comment(linker, "/include:_WinMain@16")
#elif defined(__GNUC__)
static int(WINAPI* const zoEntryPoint)(HINSTANCE, HINSTANCE, LPSTR, int) __attribute__((used)) = WinMain;
#endif

#include "zo/system.h"
#include "zo/input.h"
#include "zo/draw.h"
#include "zo/text.h"
#include "zo/sound.h"
#include "zo/effects.h"
#include "zo/music.h"
#include "zo/joystick.h"
