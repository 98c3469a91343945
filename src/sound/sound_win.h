// Internals of the sound module shared by its Windows files.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdio>
#include <vector>

#include "sound/sound_pack_rules.h"
#include "sound/sound_rules.h"
#include "system/file_replace_win.h"
#include "system/pack_file_win.h"
#include "zo.h"

// Reads a RIFF/WAVE file into a format block (18 + cbSize bytes) and a
// sample block, both GlobalAlloc(GMEM_FIXED) blocks the caller frees.
// Answers 0 on success, 1 on any failure with every output cleared.
int ReadWaveFile(const char* path, WAVEFORMATEX** format, int* formatSize, BYTE** samples,
                 int* sampleSize);

// Appends one entry for the WAV file at the executable folder +
// relativeName to the pack being written; a file that cannot be read gives
// an entry with both sizes 0. An entry name the reader could not take back
// (PackNameCapacity bytes or more) is reported and skipped. False when a
// write failed.
bool AppendSoundPackEntry(zo::ReplacingFile& pack, const char* relativeName);

namespace zo {

// The WAVEFORMATEX of a PCM format (cbSize 0: no extra bytes follow).
inline WAVEFORMATEX ToWaveFormat(const SoundFormat& f) {
  WAVEFORMATEX w = {};
  w.wFormatTag = f.formatTag;
  w.nChannels = f.channels;
  w.nSamplesPerSec = f.samplesPerSec;
  w.nAvgBytesPerSec = f.avgBytesPerSec;
  w.nBlockAlign = f.blockAlign;
  w.wBitsPerSample = f.bitsPerSample;
  return w;
}

// Loads every used object again into its own slot (reload mode).
void ReloadAllObjects();

// Stops, releases and forgets every buffer of every used object.
void ReleaseAllSoundBuffers();

// The object at index when it may be operated on: a used slot of the table.
SoundObject* UsableSoundObject(int index);

// Makes one secondary buffer of size bytes in format and copies the samples
// in. Answers null when the format is not playable (PlayableSoundFormat) or
// the buffer cannot be created or filled.
IDirectSoundBuffer* CreateFilledBuffer(const WAVEFORMATEX* format, const BYTE* samples, DWORD size,
                                       DWORD flags);
// Copies count bytes into the buffer at offset, into both regions when the
// range wraps past the buffer's end.
bool WriteSoundBuffer(IDirectSoundBuffer* buffer, DWORD offset, const BYTE* from, DWORD count);

// The start of a loader: 0 without a sound device, or after a report under
// place when mix asks for more than MaxMixes mixes; else the mix count (its
// size, at least one). A null name then reads as "".
int StartLoad(const char* place, const char*& name, int mix);

// The lowest free slot of the table; -1 when every slot is used.
int FreeSoundSlot();
// The slot a loader fills: the lowest free one on a first load, the
// reload's own otherwise; -1 after a report under place when there is none.
int ClaimSoundSlot(const char* place, bool firstLoad);

// What a loader has read, to be made into mix buffers.
struct LoadedSound {
  const WAVEFORMATEX* format;
  const BYTE* samples;
  DWORD size;
  DWORD bufferFlags;
};
// Gives the record at slot mixCount buffers of the sound and its settings,
// marks it used and, on a first load, names it. mix is the loader's own
// argument (above 1: the object can echo). Answers slot, or -1 after a
// report under place with no buffer left made.
int FillSoundObject(const char* place, int slot, const LoadedSound& sound, int mix, int mixCount,
                    bool firstLoad, int fromPack, const char* name);
// Stops, releases and forgets every buffer of one object.
void ReleaseMixBuffers(SoundObject* object);

// A block of the Windows global heap, given back when it goes.
struct GlobalBlock {
  BYTE* bytes = nullptr;
  ~GlobalBlock() {
    if (bytes) GlobalFree(bytes);
  }
  bool Allocate(uint64_t size);
};

// An entry of the pack at path found and its format block read and checked.
// On failure the reason has been reported under place and false is the answer.
struct PackSound {
  PackFile file;
  SoundPackEntry entry = {};
  SoundFormat format = {};
  GlobalBlock formatBlock;
};
bool OpenPackSound(const char* place, const char* path, const char* upperName, PackSound* sound);

// The checks of a requested pack name before anything is claimed: it must
// fit the scan's buffer, and on a first load the object's name.
bool CheckPackRequest(const char* place, const char* name, bool firstLoad,
                      char (&upper)[PackNameCapacity]);

class OggDecoder;

// Makes the ring buffer of a stream whose record s is filled, writes its
// first chunk (from decoder when the stream is an OGG file) and records the
// object at slot; -1 after a report under place.
int FinishStreamLoad(const char* place, int slot, const StreamState& s, const WAVEFORMATEX* format,
                     bool firstLoad, const char* name, OggDecoder* decoder);
// The whole file at path, at most 256 MiB; false (and empty) when it cannot
// be read.
bool ReadSoundFileBytes(const char* path, std::vector<uint8_t>* bytes);
// The 18-byte PCM format block of decoded Vorbis sound: 16 bits a sample.
std::vector<uint8_t> DecodedSoundFormat(uint16_t channels, uint32_t rate);

// The decoder of the OGG stream at slot; null for every other object.
OggDecoder* StreamDecoder(int slot);
// Closes the decoder at slot, if any, and gives back its memory.
void CloseStreamDecoder(int slot);

// After a buffer was made for mix k: on a first load, its own frequency and
// neutral volume and pan are recorded; in reload mode the stored settings
// are given to it.
void ApplyMixSettings(SoundObject* object, int k, bool firstLoad);

}  // namespace zo
