// Files written whole or not at all: the new contents go into a temporary
// file beside the destination, and only once every write and the close
// have succeeded does it take the destination's place. On any failure the
// previous file stays exactly as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace zo {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile() { Abandon(); }

  // Starts the temporary file in path's folder, in fopen mode "wb" or "wt";
  // with appending, as a copy of the present file at path (when there is
  // one) that the writes extend.
  bool Open(const std::string& path, bool appending, const char* mode = "wb");
  // False once any write has failed; every later write fails too.
  bool Write(const void* bytes, size_t count);
  bool Printf(const char* format, ...);
  // Closes the temporary file and moves it over path; false, with path
  // untouched, when any step failed.
  bool Commit();
  // Closes and deletes the temporary file, leaving path alone.
  void Abandon();

 private:
  FILE* file_ = nullptr;
  std::string path_, temporary_;
  bool ok_ = false;
};

// Whether path names an existing folder (the pack writers refuse a
// missing one rather than write an empty pack).
bool IsFolder(const std::string& path);

// Tests make writes fail after this many bytes, as on a full disk.
extern uint64_t replacingFileWriteBudget;

}  // namespace zo
