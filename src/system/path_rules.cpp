#include "system/path_rules.h"

#include <cstring>

namespace zo {

void StripFileName(char* path) {
  size_t i = std::strlen(path);
  while (i > 0 && path[i] != '\\') path[i--] = '\0';
  if (i == 0 && path[0] != '\\') path[0] = '\0';
}

bool AppendBounded(char* dst, size_t capacity, const char* src) {
  if (capacity == 0) return false;
  size_t used = std::strlen(dst);
  size_t room = capacity - 1 - used;
  size_t n = std::strlen(src);
  size_t take = n < room ? n : room;
  std::memcpy(dst + used, src, take);
  dst[used + take] = '\0';
  return take == n;
}

void ComposeDataPath(const char* folder, const char* dataFolder, char* folderName,
                     size_t folderNameCapacity, char* result, size_t resultCapacity) {
  size_t len = std::strlen(folder);
  // Scan left from just before the trailing backslash for the previous one.
  for (size_t i = len >= 2 ? len - 2 : 0; len >= 2; --i) {
    if (folder[i] == '\\') {
      folderName[0] = '\0';
      AppendBounded(folderName, folderNameCapacity, folder + i + 1);
      break;
    }
    if (i == 0) break;
  }
  if (resultCapacity == 0) return;
  result[0] = '\0';
  AppendBounded(result, resultCapacity, dataFolder);
  AppendBounded(result, resultCapacity, "\\");
  AppendBounded(result, resultCapacity, folderName);
}

bool HasExtension(const char* name, const char* extension) {
  if (!name || !extension) return false;
  const size_t n = std::strlen(name), e = std::strlen(extension);
  if (n < e) return false;
  for (size_t i = 0; i < e; ++i) {
    char c = name[n - e + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != extension[i]) return false;
  }
  return true;
}

}  // namespace zo
