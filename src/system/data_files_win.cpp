// The redirected data folder, number files and the debug log. Every path is
// built in a 260-byte buffer; a name that would not fit is refused rather
// than cut, since a cut path names some other file.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "system/data_file_rules.h"
#include "system/file_replace_win.h"
#include "zo.h"

namespace {

const int PathCapacity = 260;
const int WindowsDirCapacity = 256;
static_assert(zo::FolderLineCapacity == DataFolderCapacity, "the line is the folder");

char* Refuse() {
  dataFolder[0] = '\0';
  return nullptr;
}

bool DataPath(const char* name, char* path) {
  return name && zo::JoinPath(MakeFullPath(1), name, path, PathCapacity);
}

}  // namespace

namespace zoSystem {

char* LoadDataFolder(const char* name) {
  char dir[WindowsDirCapacity] = "";
  UINT n = GetWindowsDirectoryA(dir, sizeof dir);
  char path[PathCapacity];
  if (!name || n == 0 || n >= sizeof dir || !zo::JoinWindowsPath(dir, name, path, sizeof path)) return Refuse();
  FILE* file = std::fopen(path, "rt");
  if (!file) return Refuse();
  // The line and the byte after it are all the rules look at.
  char start[zo::FolderLineCapacity];
  const size_t got = std::fread(start, 1, sizeof start, file);
  std::fclose(file);
  char line[zo::FolderLineCapacity];
  if (!zo::TakeFolderLine(start, got, line)) return Refuse();
  std::memcpy(dataFolder, line, std::strlen(line) + 1);
  // Files of the data folder must still find room for a name.
  if (std::strlen(MakeFullPath(1)) >= static_cast<size_t>(PathCapacity - 1)) return Refuse();
  return dataFolder;
}

void SaveNumber(const char* name, int value) {
  char path[PathCapacity];
  if (!DataPath(name, path)) return;
  // A failed write keeps the number that was there.
  zo::ReplacingFile file;
  if (file.Open(path, false, "wt") && file.Printf("%d", value)) file.Commit();
}

int LoadNumber(const char* name) {
  char path[PathCapacity];
  if (!DataPath(name, path)) return 0;
  FILE* file = std::fopen(path, "rt");
  if (!file) return 0;
  zo::DecimalScan scan;
  for (int c; (c = std::fgetc(file)) != EOF && scan.Take(static_cast<unsigned char>(c));) {
  }
  std::fclose(file);
  int value = 0;
  return scan.Value(&value) ? value : 0;
}

void DebugLog(const char* format, ...) {
  // Opened and closed on every call, so each line is on disk even if the
  // program dies right after.
  FILE* file = std::fopen("DEBUG.TXT", "at");
  if (!file) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format ? format : "", args);
  va_end(args);
  std::fputs("\n", file);
  std::fclose(file);
}

}  // namespace zoSystem
