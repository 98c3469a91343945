// The shell's module state and its defaults.

#include "zo.h"

#include <mmsystem.h>

HWND mainWindow;
HINSTANCE instanceHandle;
char commandLine[CommandLineCapacity];
HANDLE mutexHandle;
int windowFlags;
int fullScreen = 1;
int desktopMode;
int requestedWidth = 640, requestedHeight = 480;
int clipCursorMode;
int appActive;
int dialogMode;
HWND dialogWindow;
int scene, nextScene, prevScene, sceneChanged, framesPaused;
DWORD frameStartTime;
int blinkOn = 1;
DWORD blinkDeadline;
int cursorShown = 1;
int messageBoxOpen;
int closeState;
int imeEnabled;
int clientX, clientY;
int frameDepth = 0;
int windowScale = 1;

namespace zoSystem {

void InitGlobals() {
  mainWindow = nullptr;
  dialogWindow = nullptr;
  mouseX = mouseY = mouseDX = mouseDY = 0;
  leftHeld = rightHeld = leftPressed = rightPressed = 0;
  leftDoubleClicked = rightDoubleClicked = leftClicked = rightClicked = 0;
  buttonHeld = buttonLatch = 0;
  keyCode = keyLatch = viewerKey = captureKey = captureLeft = shiftToggle = 0;
  frameDelta = 0.0f;
  blinkOn = 1;
  mutexHandle = nullptr;
  appActive = 0;
  dialogMode = 0;
  desktopMode = 0;
  scene = nextScene = prevScene = 0;
  sceneChanged = 0;
  watchKey = watchKeyCount = 0;
  lastFrameTime = timeGetTime();
  blinkDeadline = timeGetTime() + 1000;
  framesPaused = 0;
  windowFlags = 0;
  fullScreen = 1;
  closeState = 0;
  cursorShown = 1;
  clipCursorMode = 0;
  messageBoxOpen = 0;
  frameDepth = 0;
  windowScale = 1;
}

void SetActive(int flag) { appActive = flag; }

const char* CommandLine() { return commandLine; }

}  // namespace zoSystem
