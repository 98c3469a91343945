// Composition of data-file folders from the executable's path.
#pragma once

#include <cstddef>

namespace zo {

// Cuts the file name off a module path, keeping the last backslash:
// C:\Games\Demo\demo.exe becomes C:\Games\Demo\ .
void StripFileName(char* path);

// With the executable's folder (ending in a backslash) in folder, finds the
// name of that folder ("Demo\") and keeps it in folderName (capacity bytes;
// left as it was when the folder sits directly under a drive root). Then
// writes dataFolder + "\" + folderName into result, cut to resultCapacity.
void ComposeDataPath(const char* folder, const char* dataFolder, char* folderName,
                     size_t folderNameCapacity, char* result, size_t resultCapacity);

// Appends src to dst (capacity bytes), cutting what does not fit; answers
// false when src was cut.
bool AppendBounded(char* dst, size_t capacity, const char* src);

// Whether name ends in extension (given in lower case, with its dot),
// comparing ASCII letters in any case.
bool HasExtension(const char* name, const char* extension);

}  // namespace zo
