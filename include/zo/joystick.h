// Two joysticks (0 and 1) read on demand: directions against the centre
// calibrated at display set-up, keypad directions, four-state buttons, hold
// meters and a simulated analog stick, the last two scaled by frameDelta.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

const int JoystickCount = 2;
const int JoystickButtonSlots = 4;  // buttons 1 to 4 keep state

struct JoystickState {
  float analogX, analogY;                 // simulated axes, -100 to 100
  float analogRate;                       // axis units per second
  float buttonHold[JoystickButtonSlots];  // hold meters of buttons 1 to 4, 0 to 100
  float holdRate;                         // meter units per second
  int32_t buttonState[JoystickButtonSlots];  // 0 up, 1 just pressed, 3 held, 2 just released
};

extern JOYINFOEX joyInfo;  // shared by every read
extern int32_t joyCentreX[JoystickCount], joyCentreY[JoystickCount];  // 0 when absent at calibration
extern JoystickState joystickStates[JoystickCount];

// A joystick that does not answer reads as centred with no buttons: outputs
// 0, Numpad 5, records unchanged. So do joystick numbers other than 0 and 1
// and, where state is kept, buttons other than 1 to 4. The operations with
// outputs answer 1 when the joystick was read.
namespace zoJoystick {
void Init();       // calibrate, then every rate, meter, state and axis 0
void Calibrate();  // centres from the sticks at rest
void ResetAnalog();  // axes and hold meters 0
void SetRates(int joystick, float analogRate, float holdRate);
int GetCentre(int joystick, int* x, int* y);
int Button(int joystick, int button);      // 1 while button (1 to 32) is down
int PollButton(int joystick, int button);  // the new four-state value of button 1 to 4
int Buttons(int joystick, int* b1, int* b2, int* b3, int* b4);
int PollButtons(int joystick, int* b1, int* b2, int* b3, int* b4);
int ButtonHold(int joystick, int button);  // the hold meter of button 1 to 4, truncated
int ButtonHolds(int joystick, int* h1, int* h2, int* h3, int* h4);
int Direction(int joystick, int* dx, int* dy);  // -1, 0 or 1 per axis; up is -1
int Numpad(int joystick);                       // 1 to 9 as on a keypad, 5 centred
int Position(int joystick, int* x, int* y);     // raw positions
int Analog(int joystick, int* x, int* y);       // the simulated axes, truncated
}  // namespace zoJoystick
