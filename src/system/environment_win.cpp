// Date, time, disk, memory and Windows version, and the colour-depth check
// made at start-up before the display exists.
#include <cstring>

#include "system/data_file_rules.h"
#include "zo.h"

namespace {

const char* const DepthMessage =
    "　ウィンドウ状態で実行しようとしていますが、"
    "画面が%s色以下に設定されています。\n"
    "正しく動作させるには、%s色以上に設定するか、"
    "フルスクリーンで実行させて下さい。";
const char* const SwitchQuestion = "フルスクリーンに切り換えますか？";
const char* const SetAgainQuestion = "フルスクリーンに設定し直しますか？";

}  // namespace

namespace zoSystem {

char* GetDate(int* year, int* month, int* day, char* dayName) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (year) *year = now.wYear;
  if (month) *month = now.wMonth;
  if (day) *day = now.wDay;
  if (dayName) std::strcpy(dayName, zo::DayName(now.wDayOfWeek));
  return dayName;
}

void GetTime(int* hour, int* minute, int* second) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (hour) *hour = now.wHour;
  if (minute) *minute = now.wMinute;
  if (second) *second = now.wSecond;
}

DWORD DiskFree(char letter) {
  char root[] = "?:\\";
  root[0] = letter;
  // Zero when the drive does not answer, instead of whatever was on the stack.
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
  return sectorsPerCluster * bytesPerSector * freeClusters;
}

DWORD AvailableMemory() {
  MEMORYSTATUS status;
  std::memset(&status, 0, sizeof status);
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return static_cast<DWORD>(status.dwAvailPhys);
}

int OsVersion() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return -1;
  return zo::VersionNumber(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

int CheckColorDepth(const char* flagFile) {
  if (!flagFile) flagFile = "";
  int depthClass = zo::DepthClass(displayDepth);
  if (depthClass == 0 || !zoDraw::IsWindowed()) return 1;
  if (zoDraw::GetDisplayDepth() >= displayDepth) return 1;
  Message(DepthMessage, colorCountNames[depthClass - 1], colorCountNames[depthClass]);
  const char* question = nullptr;
  if (std::strcmp(flagFile, "*") == 0)
    question = SwitchQuestion;
  else if (flagFile[0] != '\0')
    question = SetAgainQuestion;
  if (!question || !Confirm("%s", question)) {
    End();
    return 0;
  }
  if (std::strcmp(flagFile, "*") != 0) SaveNumber(flagFile, 1);
  fullScreen = 1;
  return 1;
}

}  // namespace zoSystem
