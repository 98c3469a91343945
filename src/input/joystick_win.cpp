// zoJoystick: every query reads the device again through joyInfo.
#include "input/joystick_win.h"

#include <cstring>

#include "input/joystick_rules.h"
#include "zo.h"

JOYINFOEX joyInfo;
int32_t joyCentreX[JoystickCount], joyCentreY[JoystickCount];
JoystickState joystickStates[JoystickCount];

// winmm exports it; the SDK headers leave it out.
extern "C" MMRESULT WINAPI joyConfigChanged(DWORD flags);

namespace zo {
JoyGetPosExFunction joyGetPosExHook;
JoyConfigChangedFunction joyConfigChangedHook;
}  // namespace zo

namespace {

const DWORD ReadCalibration = JOY_RETURNALL | JOY_USEDEADZONE;              // 0x8FF
const DWORD ReadButtons = JOY_RETURNBUTTONS;                                // 0x80
const DWORD ReadPosition = JOY_RETURNX | JOY_RETURNY | JOY_USEDEADZONE;    // 0x803

bool Read(int joystick, DWORD flags) {
  if (!zo::IsJoystick(joystick)) return false;
  std::memset(&joyInfo, 0, sizeof joyInfo);
  joyInfo.dwSize = sizeof joyInfo;
  joyInfo.dwFlags = flags;
  MMRESULT result = zo::joyGetPosExHook ? zo::joyGetPosExHook(joystick, &joyInfo)
                                        : joyGetPosEx(static_cast<UINT>(joystick), &joyInfo);
  return result == JOYERR_NOERROR;
}

bool Pressed(int button) { return (joyInfo.dwButtons >> (button - 1)) & 1; }

bool Suppressed() { return transitionStep != 0 || viewerMode != 0 || captureMode != 0; }

void Put(int* out, int value) {
  if (out) *out = value;
}

void PutFour(int* const outs[JoystickButtonSlots], const int values[JoystickButtonSlots]) {
  for (int i = 0; i < JoystickButtonSlots; ++i) Put(outs[i], values[i]);
}

// The direction of both axes from a position read.
bool ReadDirection(int joystick, int* dx, int* dy) {
  *dx = *dy = 0;
  if (!Read(joystick, ReadPosition)) return false;
  *dx = zo::AxisDirection(static_cast<int32_t>(joyInfo.dwXpos), joyCentreX[joystick]);
  *dy = zo::AxisDirection(static_cast<int32_t>(joyInfo.dwYpos), joyCentreY[joystick]);
  return true;
}

}  // namespace

namespace zoJoystick {

void Init() {
  if (zo::joyConfigChangedHook)
    zo::joyConfigChangedHook(0);
  else
    joyConfigChanged(0);
  Calibrate();
  for (JoystickState& state : joystickStates) std::memset(&state, 0, sizeof state);
}

void Calibrate() {
  for (int j = 0; j < JoystickCount; ++j) {
    bool read = Read(j, ReadCalibration);
    joyCentreX[j] = read ? static_cast<int32_t>(joyInfo.dwXpos) : 0;
    joyCentreY[j] = read ? static_cast<int32_t>(joyInfo.dwYpos) : 0;
  }
}

void ResetAnalog() {
  for (JoystickState& state : joystickStates) {
    state.analogX = state.analogY = 0.0f;
    for (float& hold : state.buttonHold) hold = 0.0f;
  }
}

void SetRates(int joystick, float analogRate, float holdRate) {
  if (!zo::IsJoystick(joystick)) return;
  joystickStates[joystick].analogRate = analogRate;
  joystickStates[joystick].holdRate = holdRate;
}

int GetCentre(int joystick, int* x, int* y) {
  bool valid = zo::IsJoystick(joystick);
  Put(x, valid ? joyCentreX[joystick] : 0);
  Put(y, valid ? joyCentreY[joystick] : 0);
  return valid ? 1 : 0;
}

int Button(int joystick, int button) {
  if (button < 1 || button > 32 || !Read(joystick, ReadButtons)) return 0;
  return Pressed(button) ? 1 : 0;
}

int PollButton(int joystick, int button) {
  if (!zo::IsStateButton(button) || !Read(joystick, ReadButtons)) return 0;
  int32_t& state = joystickStates[joystick].buttonState[button - 1];
  state = zo::NextButtonState(state, Pressed(button), Suppressed());
  return state;
}

int Buttons(int joystick, int* b1, int* b2, int* b3, int* b4) {
  int* const outs[JoystickButtonSlots] = {b1, b2, b3, b4};
  int values[JoystickButtonSlots] = {};
  bool read = Read(joystick, ReadButtons);
  for (int i = 0; read && i < JoystickButtonSlots; ++i) values[i] = Pressed(i + 1) ? 1 : 0;
  PutFour(outs, values);
  return read ? 1 : 0;
}

int PollButtons(int joystick, int* b1, int* b2, int* b3, int* b4) {
  int* const outs[JoystickButtonSlots] = {b1, b2, b3, b4};
  int values[JoystickButtonSlots] = {};
  bool read = Read(joystick, ReadButtons);
  for (int i = 0; read && i < JoystickButtonSlots; ++i) {
    int32_t& state = joystickStates[joystick].buttonState[i];
    state = zo::NextButtonState(state, Pressed(i + 1), Suppressed());
    values[i] = state;
  }
  PutFour(outs, values);
  return read ? 1 : 0;
}

int ButtonHold(int joystick, int button) {
  if (!zo::IsStateButton(button) || !Read(joystick, ReadButtons)) return 0;
  JoystickState& state = joystickStates[joystick];
  float& hold = state.buttonHold[button - 1];
  hold = zo::NextHold(hold, Pressed(button), state.holdRate, frameDelta);
  return static_cast<int>(hold);
}

int ButtonHolds(int joystick, int* h1, int* h2, int* h3, int* h4) {
  int* const outs[JoystickButtonSlots] = {h1, h2, h3, h4};
  int values[JoystickButtonSlots] = {};
  bool read = Read(joystick, ReadButtons);
  for (int i = 0; read && i < JoystickButtonSlots; ++i) {
    JoystickState& state = joystickStates[joystick];
    state.buttonHold[i] = zo::NextHold(state.buttonHold[i], Pressed(i + 1), state.holdRate, frameDelta);
    values[i] = static_cast<int>(state.buttonHold[i]);
  }
  PutFour(outs, values);
  return read ? 1 : 0;
}

int Direction(int joystick, int* dx, int* dy) {
  int x, y;
  bool read = ReadDirection(joystick, &x, &y);
  Put(dx, x);
  Put(dy, y);
  return read ? 1 : 0;
}

int Numpad(int joystick) {
  int x, y;
  if (!ReadDirection(joystick, &x, &y)) return 5;
  return zo::NumpadDirection(x, y);
}

int Position(int joystick, int* x, int* y) {
  bool read = Read(joystick, ReadPosition);
  Put(x, read ? static_cast<int>(joyInfo.dwXpos) : 0);
  Put(y, read ? static_cast<int>(joyInfo.dwYpos) : 0);
  return read ? 1 : 0;
}

int Analog(int joystick, int* x, int* y) {
  int dx, dy;
  if (!ReadDirection(joystick, &dx, &dy)) {
    Put(x, 0);
    Put(y, 0);
    return 0;
  }
  JoystickState& state = joystickStates[joystick];
  float step = state.analogRate * frameDelta;
  state.analogX = zo::NextAnalog(state.analogX, dx, step);
  state.analogY = zo::NextAnalog(state.analogY, dy, step);
  Put(x, static_cast<int>(state.analogX));
  Put(y, static_cast<int>(state.analogY));
  return 1;
}

}  // namespace zoJoystick
