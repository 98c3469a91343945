#include "system/pack_file_win.h"

namespace zo {

bool PackFile::Open(const char* path) {
  Close();
  if (!path || !*path) return false;
  file_ = std::fopen(path, "rb");
  if (!file_) return false;
  long long end = -1;
  if (_fseeki64(file_, 0, SEEK_END) == 0) end = _ftelli64(file_);
  if (end < 0 || _fseeki64(file_, 0, SEEK_SET) != 0) {
    Close();
    return false;
  }
  size_ = static_cast<uint64_t>(end);
  return true;
}

void PackFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  size_ = 0;
}

size_t PackFile::Read(void* to, size_t count) { return file_ ? std::fread(to, 1, count, file_) : 0; }

bool PackFile::Skip(uint64_t count) {
  if (!file_) return false;
  const long long at = _ftelli64(file_);
  if (at < 0 || static_cast<uint64_t>(at) > size_ || count > size_ - static_cast<uint64_t>(at)) return false;
  return _fseeki64(file_, static_cast<long long>(count), SEEK_CUR) == 0;
}

uint64_t PackFile::Position() const {
  const long long at = file_ ? _ftelli64(file_) : -1;
  return at > 0 ? static_cast<uint64_t>(at) : 0;
}

}  // namespace zo
