// A pack file open for an entry scan, closed when it goes.
#pragma once

#include <cstdio>

#include "system/pack_reader.h"

namespace zo {

class PackFile final : public PackReader {
 public:
  PackFile() = default;
  PackFile(const PackFile&) = delete;
  PackFile& operator=(const PackFile&) = delete;
  ~PackFile() override { Close(); }
  // False for an empty path or a file that cannot be opened or measured.
  bool Open(const char* path);
  void Close();
  size_t Read(void* to, size_t count) override;
  bool Skip(uint64_t count) override;
  uint64_t Position() const override;
  uint64_t Size() const override { return size_; }

 private:
  FILE* file_ = nullptr;
  // Taken once, so that a skip can tell it would pass the end (a seek
  // alone happily goes there).
  uint64_t size_ = 0;
};

}  // namespace zo
