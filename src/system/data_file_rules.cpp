#include "system/data_file_rules.h"

#include <cstring>

#include "zo/environment_names.h"

const char colorCountNames[ColorCountNameCount][ColorCountNameSize] = {"16", "256", "65536", "1670万"};

namespace zo {

namespace {
const char DayNames[7][3] = {"日", "月", "火", "水", "木", "金", "土"};
}  // namespace

void TrimFolderLine(char* line) {
  size_t n = std::strlen(line);
  if (n > 0 && line[n - 1] == '\n') line[--n] = '\0';
  if (n > 0 && line[n - 1] == '\\') line[--n] = '\0';
}

bool JoinPath(const char* folder, const char* name, char* result, size_t capacity) {
  if (capacity == 0) return false;
  size_t a = std::strlen(folder), b = std::strlen(name);
  if (a + b >= capacity) {
    result[0] = '\0';
    return false;
  }
  std::memmove(result, folder, a);
  std::memcpy(result + a, name, b + 1);
  return true;
}

bool JoinWindowsPath(const char* dir, const char* name, char* result, size_t capacity) {
  size_t n = std::strlen(dir);
  bool driveRoot = n == 3;  // "C:\": the fourth character is the terminator
  if (capacity == 0) return false;
  if (n + (driveRoot ? 0 : 1) + std::strlen(name) >= capacity) {
    result[0] = '\0';
    return false;
  }
  std::memmove(result, dir, n + 1);
  if (!driveRoot) std::strcat(result, "\\");
  std::strcat(result, name);
  return true;
}

const char* DayName(int dayOfWeek) { return dayOfWeek >= 0 && dayOfWeek < 7 ? DayNames[dayOfWeek] : ""; }

int DepthClass(int bits) {
  switch (bits) {
    case 8:
      return 1;
    case 16:
      return 2;
    case 24:
    case 32:
      return 3;
    default:
      return 0;
  }
}

int VersionNumber(unsigned long platformId, unsigned long major, unsigned long minor) {
  switch (platformId) {
    case 0:
      return 310;
    case 1:
      if (major == 4) return minor == 0 ? 950 : 980;
      return static_cast<int>(major * 100 + minor);
    case 2:
      if (major == 5) return 2000;
      return static_cast<int>(major * 1000 + minor * 10);
    default:
      return -1;
  }
}

}  // namespace zo
