// The sound pack format: a flat run of entries (dataSize, upper-cased name,
// formatSize, format block, samples) with no header or index, and the scan
// that finds an entry by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zo {

// Entry names and requested names live in buffers of this size, zero included.
const size_t PackNameCapacity = 128;
// The shortest format block: the 16-byte PCM part and cbSize.
const uint32_t PackFormatMinSize = 18;

// Sequential access to an open pack file.
class PackReader {
 public:
  virtual ~PackReader() = default;
  // Reads up to count bytes; answers how many arrived.
  virtual size_t Read(void* to, size_t count) = 0;
  // Moves count bytes forward from the current position.
  virtual bool Skip(uint64_t count) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Size() const = 0;
};

// Upper-cases the ASCII letters of name into out, leaving both bytes of
// every Shift-JIS character alone. False when name does not fit out.
bool UpperCasePackName(const char* name, char (&out)[PackNameCapacity]);
// The same rule over a whole string in place.
void UpperCaseSjis(char* text);
// The part of a relative name after its last backslash (a Shift-JIS trail
// byte that happens to be 0x5C is no separator).
const char* PackEntryName(const char* relativeName);

struct PackEntry {
  uint32_t dataSize;
  uint32_t formatSize;
  uint64_t formatOffset;  // file offset of the format block
};
// Scans from the reader's position for the entry named upperName. On a
// match the reader stands at the entry's format block. A damaged entry (a
// name without its zero within PackNameCapacity bytes, a file ending inside
// the entry's head, or sizes reaching past the end of the file) ends the
// scan without a match.
bool FindPackEntry(PackReader& reader, const char* upperName, PackEntry* found);

// The fields of a format block that playback relies on.
struct PackFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t cbSize;
};
// False for a block too short, whose cbSize disagrees with its size, or
// whose byte rate or block alignment is zero (nothing could measure it).
bool ReadPackFormat(const uint8_t* block, uint32_t size, PackFormat* format);

// The bytes of an entry that come before its format block.
std::vector<uint8_t> PackEntryHead(uint32_t dataSize, const char* entryName, uint32_t formatSize);

}  // namespace zo
