#include "zo_test.h"

#include "system/message_box_win.h"

namespace zotest {

std::vector<Box> boxes;
int boxAnswer = IDOK;
std::function<void()> onDemoSetup, onDemoFrame;

namespace {
int Capture(HWND, const char* text, const char* title, UINT style) {
  boxes.push_back(Box{text ? text : "", title ? title : "", style});
  return boxAnswer;
}
}  // namespace

void CaptureBoxes() { zo::messageBoxHook = Capture; }
void ClearBoxes() { boxes.clear(); }

HWND MakeMainWindow(int clientWidth, int clientHeight) {
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DEFAULT";
  RegisterClassA(&wc);
  RECT r = {0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  mainWindow = CreateWindowExA(0, "DEFAULT", "zo test", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  return mainWindow;
}

void DestroyMainWindow() {
  if (mainWindow) DestroyWindow(mainWindow);
  mainWindow = nullptr;
  PumpMessages(0);
}

bool PumpMessages(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG msg;
  bool quit = false;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms > 0) Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
  return quit;
}

}  // namespace zotest

void DemoSetup() {
  if (zotest::onDemoSetup) zotest::onDemoSetup();
}

void DemoFrame() {
  if (zotest::onDemoFrame) zotest::onDemoFrame();
}
