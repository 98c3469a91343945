// The redirected data folder, number files and the debug log. Every path is
// built in a 260-byte buffer; a name that would not fit is refused rather
// than cut, since a cut path names some other file.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "system/data_file_rules.h"
#include "zo.h"

namespace {

const int PathCapacity = 260;
const int WindowsDirCapacity = 256;
const int LineCapacity = DataFolderCapacity;  // fgets keeps at most 255 characters

char* Refuse() {
  dataFolder[0] = '\0';
  return nullptr;
}

// The line did not fit: fgets stopped before its end.
bool LineWasCut(const char* line, FILE* file) {
  size_t n = std::strlen(line);
  if (n < static_cast<size_t>(LineCapacity - 1) || line[n - 1] == '\n') return false;
  int next = std::fgetc(file);
  return next != EOF && next != '\n';
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
  char line[LineCapacity] = "";
  if (!std::fgets(line, sizeof line, file)) line[0] = '\0';
  bool cut = LineWasCut(line, file);
  std::fclose(file);
  if (cut) return Refuse();
  zo::TrimFolderLine(line);
  std::memcpy(dataFolder, line, std::strlen(line) + 1);
  // Files of the data folder must still find room for a name.
  if (std::strlen(MakeFullPath(1)) >= static_cast<size_t>(PathCapacity - 1)) return Refuse();
  return dataFolder;
}

void SaveNumber(const char* name, int value) {
  char path[PathCapacity];
  if (!DataPath(name, path)) return;
  FILE* file = std::fopen(path, "wt");
  if (!file) return;
  std::fprintf(file, "%d", value);
  std::fclose(file);
}

int LoadNumber(const char* name) {
  char path[PathCapacity];
  if (!DataPath(name, path)) return 0;
  FILE* file = std::fopen(path, "rt");
  if (!file) return 0;
  int value = 0;
  if (std::fscanf(file, "%d", &value) != 1) value = 0;
  std::fclose(file);
  return value;
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
