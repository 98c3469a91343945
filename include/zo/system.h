// Process, window, frame timing, errors and shutdown.
#pragma once

#include <windows.h>

#include <cstdint>

#include "zo/environment_names.h"

// ---- Shell state (assign the configuration before the window exists) ----
enum WindowFlag { NotTopmost = 1, RunWhenInactive = 2, StartHidden = 4 };
const int CommandLineCapacity = 1024;

extern HWND mainWindow;             // the main window
extern HINSTANCE instanceHandle;    // stored after the window is shown
extern char commandLine[CommandLineCapacity];  // lpCmdLine, cut to fit
extern HANDLE mutexHandle;          // single-instance mutex owned by this process
extern int windowFlags;             // NotTopmost | RunWhenInactive | StartHidden
extern int fullScreen;              // exclusive full screen (1) or window (0)
extern int desktopMode;             // borderless popup covering the desktop
extern int requestedWidth, requestedHeight;  // configured screen size
extern int clipCursorMode;          // keep the cursor inside the display area
// 16: every frame is 5-6-5 whatever the display; on a deeper display the
// finished frame is expanded to the display's format when presented, so the
// 16-bit effects work there. 0 (default): frames take the display's format.
extern int frameDepth;
// In a window, every frame pixel is shown as a windowScale x windowScale
// block; everything the game sees stays in frame coordinates. Full screen
// ignores it. Default 1.
extern int windowScale;
extern int appActive;               // 1 while the application is active
extern int dialogMode;              // route messages through IsDialogMessageA
extern HWND dialogWindow;           // the modeless dialog of dialogMode
extern int scene, nextScene, prevScene;  // scene numbers; 1 is the demo
extern int sceneChanged;            // 1 for the frame step after a change of scene
extern int framesPaused;            // frame steps run no scene and no transition
extern DWORD frameStartTime;        // timeGetTime at the start of the scene frame
extern int blinkOn;                 // blink phase: on 1000 ms, off 200 ms
extern DWORD blinkDeadline;
extern int cursorShown;             // the shell's ShowCursor calls balanced at shown
extern int messageBoxOpen;          // a message or question box is open
extern int closeState;              // 0 running, 1 window closing, 2 released
extern int imeEnabled;              // last value given to zoSystem::EnableIme
extern int clientX, clientY;        // client-area origin in screen coordinates

// ---- Frame timing and waits ----
const DWORD WaitNever = 999999999;  // an initialised slot that never elapses
const int WaitSlotCount = 10;
extern float frameDelta;            // seconds between the last two frame steps
extern DWORD lastFrameTime;
extern DWORD waitTable[WaitSlotCount + 1];  // slot n at n - 1; the last entry is zoSystem::Wait's

// ---- Errors and paths ----
extern int errorFlag;               // set by every ShowError, cleared by zoDraw::Screen
extern int shutdownDone;            // zoSystem::End has run
const int DataFolderCapacity = 256;
extern char dataFolder[DataFolderCapacity];  // redirected data folder, empty when none

// Shows "where : message" in a system-modal box titled "エラー発生", sets
// errorFlag and answers 0, so failing operations can return its result.
// The optional code (a DirectX result) is not shown.
int ShowError(const char* where, const char* message, long code = 0);
// The executable's folder with a trailing backslash, or with flag 1 and a
// configured data folder, dataFolder\<executable's folder name>\. The buffer
// is reused by the next call.
const char* MakeFullPath(int flag);

// ---- The application's scene hooks ----
// Optional: runs before the window exists, right after the start-up set
// windowFlags, fullScreen, desktopMode, requestedWidth/requestedHeight,
// clipCursorMode, frameDepth and windowScale to their defaults, so a game can change them. The library
// provides an empty one for games that do not.
void DemoConfigure();
void DemoSetup();   // once, after the window exists
void DemoFrame();   // every frame step while scene is 1

namespace zoSystem {
void InitGlobals();                          // every shell global to its default
int CheckSingleInstance(const char* title);  // 1 alone, 0 when another copy runs
void EnableIme(int flag);                    // input method editor on or off
const char* CommandLine();

int GetError();                              // errorFlag
int CheckError();                            // errorFlag, ending the program when set
void Message(const char* format, ...);       // box titled "メッセージ"
int Confirm(const char* format, ...);        // Yes/No box; 1 for Yes
int End();                                   // orderly shutdown, once
void SetActive(int flag);                    // appActive

int SetWait(int slot, int milliseconds);     // start slot 1..10
int InitWait(int slot);                      // slot 1..10 = WaitNever
int IsWaitOver(int slot);                    // deadline reached
void Wait(int milliseconds);                 // busy wait, then a fresh frame timer
void ResetFrameTimer();                      // frameDelta 0 from now
void UpdateFrameTimer();                     // frameDelta since the last frame
int ResetState();                            // wait slots and input modes after a display set-up

// Data files under MakeFullPath(1), a debug log and environment queries.
char* LoadDataFolder(const char* name);      // dataFolder from the first line of a file in the Windows directory; null when refused
void SaveNumber(const char* name, int value);  // one decimal number, no line end
int LoadNumber(const char* name);            // 0 when the file is missing or holds no number
void DebugLog(const char* format, ...);      // one line appended to "DEBUG.TXT" in the current directory
char* GetDate(int* year, int* month, int* day, char* dayName);  // dayName: 3 bytes at least
void GetTime(int* hour, int* minute, int* second);
DWORD DiskFree(char letter);                 // free bytes, modulo 2^32
DWORD AvailableMemory();                     // free physical memory
int OsVersion();                             // 950, 980, 2000, 4000, 6000, ...; -1 unknown
int CheckColorDepth(const char* flagFile);   // "", "*" or a file name; 0 when the program ends
}  // namespace zoSystem
