// What the image and the sound packs share: the reader their scans take
// bytes from and the rules of the names their entries are stored under.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zo {

// Entry names and looked-up keys live in buffers of this size: a stored
// name has at most 127 bytes before its 0.
const size_t PackNameCapacity = 128;

// Sequential access to a pack: a file on Windows, memory in the tests, the
// fuzzers and the benchmark.
class PackReader {
 public:
  virtual ~PackReader() = default;
  // Copies up to count bytes into to; answers how many arrived.
  virtual size_t Read(void* to, size_t count) = 0;
  // Moves count bytes forward; false when that passes the end of the data
  // or the move fails (the position is then unspecified).
  virtual bool Skip(uint64_t count) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Size() const = 0;
};

// A pack held in memory (not copied: the bytes outlive the reader).
class MemoryPackReader final : public PackReader {
 public:
  MemoryPackReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Read(void* to, size_t count) override;
  bool Skip(uint64_t count) override;
  uint64_t Position() const override { return at_; }
  uint64_t Size() const override { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

bool IsShiftJisLead(uint8_t byte);

// Upper-cases the ASCII letters of text in place, leaving both bytes of
// every Shift-JIS character alone.
void UpperCaseSjis(char* text);

// The key a name is looked up under, by the rule above. Answers false,
// leaving out empty, when the name and its 0 do not fit in capacity bytes.
bool UpperCasePackName(const char* name, char* out, size_t capacity);

// Reads a stored name up to its 0; false when the data ends first or no 0
// comes within PackNameCapacity bytes (the name is then cut there).
bool ReadPackName(PackReader& reader, char (&name)[PackNameCapacity]);

}  // namespace zo
