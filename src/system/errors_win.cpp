// The library's one error report and its two message boxes.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "system/message_box_win.h"
#include "system/path_rules.h"
#include "zo.h"

int errorFlag;

namespace zo {

MessageBoxFunction messageBoxHook;
void (*beforeBoxHook)();
int errorBoxesMuted;

int ShowMessageBox(HWND owner, const char* text, const char* title, UINT style) {
  if (messageBoxHook) return messageBoxHook(owner, text, title, style);
  return MessageBoxA(owner, text, title, style);
}

}  // namespace zo

namespace {

const int TextCapacity = 260;
const UINT WarningStyle = MB_SYSTEMMODAL | MB_ICONWARNING;  // 0x1030
const UINT QuestionStyle = MB_YESNO | MB_ICONQUESTION;      // 0x24

void BeforeBox() {
  if (zo::beforeBoxHook) zo::beforeBoxHook();
}

int OpenBox(UINT style, const char* format, va_list args) {
  // An over-long text is cut so that the line end still fits.
  char text[TextCapacity];
  std::vsnprintf(text, TextCapacity - 2, format, args);
  zo::AppendBounded(text, TextCapacity, "\r\n");
  BeforeBox();
  if (!cursorShown) {
    ShowCursor(TRUE);
    cursorShown = 1;
  }
  messageBoxOpen = 1;
  int answer = zo::ShowMessageBox(mainWindow, text, "メッセージ", style);
  messageBoxOpen = 0;
  zoSystem::ResetFrameTimer();  // the time in the box is not one long frame
  return answer;
}

}  // namespace

int ShowError(const char* where, const char* message, long) {
  if (zo::errorBoxesMuted > 0) {
    errorFlag = 1;
    return 0;
  }
  char text[TextCapacity] = "";
  zo::AppendBounded(text, sizeof text, where);
  zo::AppendBounded(text, sizeof text, " : ");
  zo::AppendBounded(text, sizeof text, message);
  BeforeBox();
  MessageBeep(0xFFFFFFFF);
  zo::ShowMessageBox(mainWindow, text, "エラー発生", WarningStyle);
  errorFlag = 1;
  return 0;
}

namespace zoSystem {

int GetError() { return errorFlag; }

int CheckError() {
  if (errorFlag) End();
  return errorFlag;
}

void Message(const char* format, ...) {
  va_list args;
  va_start(args, format);
  OpenBox(WarningStyle, format, args);
  va_end(args);
}

int Confirm(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int answer = OpenBox(QuestionStyle, format, args);
  va_end(args);
  return answer == IDYES ? 1 : 0;
}

}  // namespace zoSystem
