// The data-folder line and the number parse over arbitrary file bytes. The
// line must be a trimmed prefix of the file that never holds a line feed;
// the number must agree with strtoll held to the range of int.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_target.h"
#include "system/data_file_rules.h"

namespace {

void CheckFolderLine(const uint8_t* data, size_t size) {
  const char* start = reinterpret_cast<const char*>(data);
  const size_t given = std::min(size, zo::FolderLineCapacity);
  char line[zo::FolderLineCapacity];
  std::memset(line, 'x', sizeof line);
  const bool taken = zo::TakeFolderLine(start, given, line);
  const size_t length = strnlen(line, sizeof line);
  FUZZ_CHECK(length < sizeof line);
  if (!taken) {
    FUZZ_CHECK(length == 0);
    FUZZ_CHECK(given == zo::FolderLineCapacity);
    FUZZ_CHECK(std::memchr(start, '\0', given - 1) == nullptr && std::memchr(start, '\n', given) == nullptr);
    return;
  }
  FUZZ_CHECK(std::memcmp(line, start, length) == 0);
  FUZZ_CHECK(std::memchr(line, '\n', length) == nullptr);
  // Trimming takes at most the line feed and one backslash.
  const size_t whole = strnlen(start, std::min(given, zo::FolderLineCapacity - 1));
  const char* feed = static_cast<const char*>(std::memchr(start, '\n', whole));
  const size_t raw = feed ? static_cast<size_t>(feed - start) : whole;
  FUZZ_CHECK(length == raw || (length + 1 == raw && start[length] == '\\'));
}

void CheckNumber(const uint8_t* data, size_t size) {
  zo::DecimalScan scan;
  size_t taken = 0;
  while (taken < size && scan.Take(data[taken])) ++taken;
  if (taken < size) FUZZ_CHECK(!scan.Take('0'));  // an ended number stays ended
  int value = 12345;
  const bool read = scan.Value(&value);

  const std::string text(reinterpret_cast<const char*>(data), size);
  errno = 0;
  char* end = nullptr;
  const long long wide = std::strtoll(text.c_str(), &end, 10);
  const bool digits = end != text.c_str();
  FUZZ_CHECK(read == digits);
  if (!read) {
    FUZZ_CHECK(value == 12345);
    return;
  }
  const long long held = wide > INT_MAX ? INT_MAX : wide < INT_MIN ? INT_MIN : wide;
  FUZZ_CHECK(value == held);
  FUZZ_CHECK(taken == static_cast<size_t>(end - text.c_str()));
}

}  // namespace

ZO_FUZZ_TARGET(data_file)(const uint8_t* data, size_t size) {
  CheckFolderLine(data, size);
  CheckNumber(data, size);
  return 0;
}
