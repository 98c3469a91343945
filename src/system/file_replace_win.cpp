#include "system/file_replace_win.h"

#include <windows.h>

#include <cstdarg>
#include <vector>

namespace zo {

uint64_t replacingFileWriteBudget = UINT64_MAX;

namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReplacingFile::Open(const std::string& path, bool appending, const char* mode) {
  Abandon();
  ok_ = false;
  char temporary[MAX_PATH];
  if (GetTempFileNameA(FolderOf(path).c_str(), "zo", 0, temporary) == 0) return false;
  path_ = path;
  temporary_ = temporary;  // made empty by GetTempFileNameA: from here on Abandon deletes it
  if (appending && Exists(path) && !CopyFileA(path.c_str(), temporary, FALSE)) {
    Abandon();
    return false;
  }
  file_ = std::fopen(temporary, appending ? "ab" : mode);
  if (!file_) {
    Abandon();
    return false;
  }
  ok_ = true;
  return true;
}

bool ReplacingFile::Write(const void* bytes, size_t count) {
  if (!ok_ || !file_) return ok_ = false;
  if (count > replacingFileWriteBudget) {
    replacingFileWriteBudget = 0;
    return ok_ = false;
  }
  if (replacingFileWriteBudget != UINT64_MAX) replacingFileWriteBudget -= count;
  if (count != 0 && std::fwrite(bytes, 1, count, file_) != count) ok_ = false;
  return ok_;
}

bool ReplacingFile::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::vector<char> text(length > 0 ? static_cast<size_t>(length) + 1 : 1);
  if (length >= 0) std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  if (length < 0) return ok_ = false;
  return Write(text.data(), static_cast<size_t>(length));
}

bool ReplacingFile::Commit() {
  if (!file_) return false;
  bool ok = ok_ && std::fflush(file_) == 0;
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (ok && !MoveFileExA(temporary_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ok = false;
  if (ok) temporary_.clear();  // it is the file at path now
  Abandon();
  return ok;
}

void ReplacingFile::Abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) DeleteFileA(temporary_.c_str());
  temporary_.clear();
  ok_ = false;
}

}  // namespace zo
