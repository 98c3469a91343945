// The two winmm calls the joystick module makes, replaceable by tests
// (there is no joystick on a test machine).
#pragma once

#include <windows.h>
#include <mmsystem.h>

namespace zo {

using JoyGetPosExFunction = MMRESULT(WINAPI*)(UINT joystick, LPJOYINFOEX info);
using JoyConfigChangedFunction = MMRESULT(WINAPI*)(DWORD flags);

// Null: the real joyGetPosEx and joyConfigChanged.
extern JoyGetPosExFunction joyGetPosExHook;
extern JoyConfigChangedFunction joyConfigChangedHook;

}  // namespace zo
