#include "system/data_file_rules.h"

#include <cstring>

#include "zo/environment_names.h"

// Shift-JIS bytes spelled out, the same under any compiler's execution charset.
const char colorCountNames[ColorCountNameCount][ColorCountNameSize] = {"16", "256", "65536",
                                                                       "1670\x96\x9C"};  // 1670万

namespace zo {

namespace {
// 日 月 火 水 木 金 土, as Shift-JIS bytes.
const char DayNames[7][3] = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                             "\x96\xD8", "\x8B\xE0", "\x93\x79"};
}  // namespace

void TrimFolderLine(char* line) {
  size_t n = std::strlen(line);
  if (n > 0 && line[n - 1] == '\n') line[--n] = '\0';
  if (n > 0 && line[n - 1] == '\\') line[--n] = '\0';
}

bool TakeFolderLine(const char* start, size_t size, char (&line)[FolderLineCapacity]) {
  // fgets: up to 255 bytes, through the first line feed.
  size_t n = 0;
  while (n < size && n < FolderLineCapacity - 1) {
    line[n] = start[n];
    if (start[n++] == '\n') break;
  }
  line[n] = '\0';
  // Cut: the buffer filled, no line feed came, and the line goes on.
  const size_t length = std::strlen(line);
  if (length == FolderLineCapacity - 1 && line[length - 1] != '\n' && size > length &&
      start[length] != '\n') {
    line[0] = '\0';
    return false;
  }
  TrimFolderLine(line);
  return true;
}

bool DecimalScan::Take(unsigned char c) {
  const bool space = c == ' ' || (c >= '\t' && c <= '\r');
  const bool digit = c >= '0' && c <= '9';
  switch (stage_) {
    case Stage::Space:
      if (space) return true;
      if (c == '+' || c == '-') {
        negative_ = c == '-';
        stage_ = Stage::Sign;
        return true;
      }
      break;
    case Stage::Sign:
    case Stage::Digits:
      break;
    case Stage::Ended:
      return false;
  }
  if (!digit) {
    stage_ = Stage::Ended;
    return false;
  }
  stage_ = Stage::Digits;
  digits_ = true;
  const unsigned long long limit = 1ull << 31;
  magnitude_ = magnitude_ * 10 + static_cast<unsigned>(c - '0');
  if (magnitude_ > limit) magnitude_ = limit;
  return true;
}

bool DecimalScan::Value(int* value) const {
  if (!digits_) return false;
  const unsigned long long intMax = (1ull << 31) - 1;
  if (negative_)
    *value = magnitude_ > intMax ? -static_cast<int>(intMax) - 1 : -static_cast<int>(magnitude_);
  else
    *value = static_cast<int>(magnitude_ > intMax ? intMax : magnitude_);
  return true;
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
