// The sound pack format: a flat run of entries (dataSize, upper-cased name,
// formatSize, format block, samples) with no header or index, and the scan
// that finds an entry by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/sound_rules.h"
#include "system/pack_reader.h"

namespace zo {

// The shortest format block: the 16-byte PCM part and cbSize.
const uint32_t PackFormatMinSize = 18;

// The part of a relative name after its last backslash (a Shift-JIS trail
// byte that happens to be 0x5C is no separator).
const char* PackEntryName(const char* relativeName);

struct SoundPackEntry {
  uint32_t dataSize;
  uint32_t formatSize;
  uint64_t formatOffset;  // file offset of the format block
};
// Scans from the reader's position for the entry named upperName. On a
// match the reader stands at the entry's format block. A damaged entry (a
// name without its zero within PackNameCapacity bytes, a file ending inside
// the entry's head, or sizes reaching past the end of the file) ends the
// scan without a match.
bool FindPackEntry(PackReader& reader, const char* upperName, SoundPackEntry* found);

// False for a block too short, whose cbSize disagrees with its size, or
// whose byte rate or block alignment is zero (nothing could measure it).
bool ReadPackFormat(const uint8_t* block, uint32_t size, SoundFormat* format);

// The bytes of an entry that come before its format block.
std::vector<uint8_t> PackEntryHead(uint32_t dataSize, const char* entryName, uint32_t formatSize);

}  // namespace zo
