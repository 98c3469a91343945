// Process entry: single-instance guard, main window, message loop, frame step.

#include <cstdio>
#include <cstring>
#include <ctime>
#include <cstdlib>

#include "app/shell_win.h"
#include "app/window_size.h"
#include "draw/display_win.h"
#include "draw/effects/wipe_win.h"
#include "system/path_rules.h"
#include "system/time_rules.h"
#include "zo.h"

#include <mmsystem.h>
#include <winnls32.h>

namespace zo {

const char* const ApplicationTitle = "Tessaro";
const char* const WindowClassName = "DEFAULT";

namespace {

int previousMouseX, previousMouseY;

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "MAIN");
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszMenuName = WindowClassName;
  wc.lpszClassName = WindowClassName;
  RegisterClassA(&wc);
}

FrameMetrics ReadFrameMetrics() {
  FrameMetrics m;
  m.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  m.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  m.borderX = GetSystemMetrics(SM_CXBORDER);
  m.borderY = GetSystemMetrics(SM_CYBORDER);
  m.edgeX = GetSystemMetrics(SM_CXEDGE);
  m.edgeY = GetSystemMetrics(SM_CYEDGE);
  m.dialogFrameX = GetSystemMetrics(SM_CXDLGFRAME);
  m.dialogFrameY = GetSystemMetrics(SM_CYDLGFRAME);
  m.caption = GetSystemMetrics(SM_CYCAPTION);
  return m;
}

// Shows or hides the cursor only on a change, keeping the system count balanced.
void SetCursorShown(int shown) {
  if (cursorShown == shown) return;
  ShowCursor(shown ? TRUE : FALSE);
  cursorShown = shown;
}

void TrackCursorOverClient() {
  if (fullScreen || messageBoxOpen) return;
  POINT p;
  if (!GetCursorPos(&p)) return;
  const int scale = zo::PresentScale();
  bool inside = p.x >= clientX && p.x < clientX + requestedWidth * scale && p.y >= clientY &&
                p.y < clientY + requestedHeight * scale;
  SetCursorShown(inside ? 0 : 1);
}

}  // namespace

bool CreateMainWindow(HINSTANCE instance, int showCommand) {
  RegisterWindowClass(instance);
  const int w = requestedWidth * zo::PresentScale(), h = requestedHeight * zo::PresentScale();
  if (fullScreen || desktopMode) {
    mainWindow = CreateWindowExA(0, WindowClassName, ApplicationTitle, WS_POPUP | WS_SYSMENU, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 nullptr, nullptr, instance, nullptr);
  } else {
    WindowPlacement p = PlaceWindowedFrame(ReadFrameMetrics(), w, h);
    mainWindow = CreateWindowExA(0, WindowClassName, ApplicationTitle,
                                 WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, p.x, p.y, p.width,
                                 p.height, nullptr, nullptr, instance, nullptr);
  }
  if (!mainWindow) return false;
  ShowWindow(mainWindow, (windowFlags & StartHidden) ? SW_HIDE : showCommand);
  UpdateWindow(mainWindow);
  if (!fullScreen) {
    HWND after = (windowFlags & NotTopmost) ? mainWindow : HWND_TOPMOST;
    SetWindowPos(mainWindow, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  return true;
}

void RunFrameStep() {
  zoSystem::UpdateFrameTimer();
  mouseDX = mouseX - previousMouseX;
  mouseDY = mouseY - previousMouseY;
  if (prevScene == 0 && scene != 0) {
    sceneChanged = 1;
    prevScene = scene;
  }
  if (!framesPaused) {
    if (transitionDirection == 1) {
      // A closing transition freezes the scene: only the overlay is presented.
      zoDraw::Present();
      if (transitionDirection == 0) scene = nextScene;
    } else {
      frameStartTime = timeGetTime();
      if (scene == 1) DemoFrame();
    }
  }
  sceneChanged = (scene != prevScene) ? 1 : 0;
  // A wipe belongs to the scene that started it.
  if (sceneChanged) CancelRunningWipe();
  prevScene = scene;
  uint32_t deadline = blinkDeadline;
  StepBlink(timeGetTime(), &blinkOn, &deadline);
  blinkDeadline = deadline;
  previousMouseX = mouseX;
  previousMouseY = mouseY;
  leftPressed = rightPressed = 0;
  leftDoubleClicked = rightDoubleClicked = 0;
  TrackCursorOverClient();
}

void RunMessageLoop() {
  MSG msg;
  for (;;) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      if (!dialogMode) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        continue;
      }
      if (appActive) DestroyWindow(dialogWindow);
      if (!IsDialogMessageA(dialogWindow, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      } else {
        SetCursorShown(1);
      }
      continue;
    }
    if (!appActive && !(windowFlags & RunWhenInactive)) {
      WaitMessage();
      continue;
    }
    RunFrameStep();
  }
}

}  // namespace zo

namespace zoSystem {

int CheckSingleInstance(const char* title) {
  char name[MAX_PATH] = "";
  zo::AppendBounded(name, sizeof name, title);
  zo::AppendBounded(name, sizeof name, ":ZoMutex");
  mutexHandle = CreateMutexA(nullptr, TRUE, name);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    HWND running = FindWindowA(zo::WindowClassName, title);
    if (running) SetForegroundWindow(running);
    return 0;
  }
  return 1;
}

void EnableIme(int flag) {
  WINNLSEnableIME(nullptr, flag);
  imeEnabled = flag;
}

}  // namespace zoSystem

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int showCommand) {
  zoSystem::InitGlobals();
  if (!zoSystem::CheckSingleInstance(zo::ApplicationTitle)) return 0;
  commandLine[0] = '\0';
  zo::AppendBounded(commandLine, sizeof commandLine, cmdLine ? cmdLine : "");
  windowFlags = NotTopmost | RunWhenInactive;
  fullScreen = 0;
  desktopMode = 0;
  requestedWidth = 640;
  requestedHeight = 480;
  clipCursorMode = 0;
  DemoConfigure();
  if (!zo::CreateMainWindow(instance, showCommand)) return 0;
  instanceHandle = instance;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  zoSystem::EnableIme(0);
  DemoSetup();
  zoSystem::ResetFrameTimer();
  zo::RunMessageLoop();
  return 0;
}
