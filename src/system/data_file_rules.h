// Platform-free rules of the data files and environment queries: the
// redirection line, paths in the Windows directory, day names, colour depth
// classes and the Windows version number.
#pragma once

#include <cstddef>

namespace zo {

// Removes one trailing line feed, then one trailing backslash.
void TrimFolderLine(char* line);

// dir (as GetWindowsDirectoryA gives it) + "\" unless dir is a drive root
// such as C:\ + name into result; false, result empty, when it would not fit.
bool JoinWindowsPath(const char* dir, const char* name, char* result, size_t capacity);

// folder + name into result; false, result empty, when it would not fit.
bool JoinPath(const char* folder, const char* name, char* result, size_t capacity);

// "日" for Sunday (0) to "土" for Saturday (6); "" outside the week.
const char* DayName(int dayOfWeek);

// 8 bits 1, 16 bits 2, 24 and 32 bits 3, anything else 0.
int DepthClass(int bits);

// The version number of a platform id and version: 310 for Win32s; 950,
// 980 or major x 100 + minor for Windows 9x; 2000 for NT 5.x, else
// major x 1000 + minor x 10; -1 for anything else.
int VersionNumber(unsigned long platformId, unsigned long major, unsigned long minor);

}  // namespace zo
