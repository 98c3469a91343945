// Platform-free rules of the data files and environment queries: the
// redirection line, paths in the Windows directory, day names, colour depth
// classes and the Windows version number.
#pragma once

#include <cstddef>

namespace zo {

// Removes one trailing line feed, then one trailing backslash.
void TrimFolderLine(char* line);

// The buffer the redirection line is read into: 255 characters and the 0.
const size_t FolderLineCapacity = 256;

// The redirection line from the first size bytes of its file, as text mode
// reads them (FolderLineCapacity bytes are enough): the first line as fgets
// reads it into FolderLineCapacity bytes, up to a 0 byte, then trimmed. A
// line longer than that is refused (false, line empty): cut, it would name
// some other folder.
bool TakeFolderLine(const char* start, size_t size, char (&line)[FolderLineCapacity]);

// The "%d" reading of a number file, fed one byte at a time: white space,
// an optional sign, then digits. A value beyond int is held at the nearest
// end of int rather than left undefined.
class DecimalScan {
 public:
  // Takes the next byte of the file; false once the number has ended (the
  // byte is then not part of it) and no more bytes are wanted.
  bool Take(unsigned char c);
  // The value read; false, leaving value alone, when no digit came.
  bool Value(int* value) const;

 private:
  enum class Stage { Space, Sign, Digits, Ended };
  Stage stage_ = Stage::Space;
  bool negative_ = false;
  bool digits_ = false;
  unsigned long long magnitude_ = 0;  // held at 2^31 once past it
};

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
