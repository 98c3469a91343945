// Internals of the sound module shared by its Windows files.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include "zo.h"

// Reads a RIFF/WAVE file into a format block (18 + cbSize bytes) and a
// sample block, both GlobalAlloc(GMEM_FIXED) blocks the caller frees.
// Answers 0 on success, 1 on any failure with every output cleared.
int ReadWaveFile(const char* path, WAVEFORMATEX** format, int* formatSize, BYTE** samples,
                 int* sampleSize);

namespace zo {

// The loaders of packs and streams join the reload through these; until
// they exist such objects are left as they are.
using PackReloader = int (*)(const char* name, int mix);
using StreamReloader = int (*)(const char* packPath, const char* name, int loopOffset);
extern PackReloader packReloader;
// Puts a streamed object back to the start of its data before it plays.
using StreamRewinder = int (*)(int index);
extern StreamRewinder streamRewinder;
extern StreamReloader streamReloader;

// Loads every used object again into its own slot (reload mode).
void ReloadAllObjects();

// Stops, releases and forgets every buffer of every used object.
void ReleaseAllSoundBuffers();

// The object at index when it may be operated on: a used slot of the table.
SoundObject* UsableSoundObject(int index);

// Makes one secondary buffer of size bytes in format and copies the samples
// in. Answers null when the buffer cannot be created or filled.
IDirectSoundBuffer* CreateFilledBuffer(const WAVEFORMATEX* format, const BYTE* samples, DWORD size,
                                       DWORD flags);

// After a buffer was made for mix k: on a first load, its own frequency and
// neutral volume and pan are recorded; in reload mode the stored settings
// are given to it.
void ApplyMixSettings(SoundObject* object, int k, bool firstLoad);

}  // namespace zo
