// Sound: the DirectSound device, sound objects with their mix buffers, and
// playback control.
#pragma once

#include <windows.h>

#include <cstdint>

#include "zo/sound_state.h"

struct IDirectSound;
struct IDirectSoundBuffer;

// ---- Limits ----
const int MaxSoundObjects = 70;     // object numbers 0..69
const int MaxMixes = 10;            // buffers per object
const int MaxSoundNameLength = 30;  // characters kept in SoundObject::name

struct SoundObject {
  int32_t used;                          // 1 while the slot holds a sound
  char name[MaxSoundNameLength + 1];     // the name it was loaded under
  int32_t fromPack;                      // came from the sound pack
  int32_t mixCount;                      // 1..MaxMixes
  IDirectSoundBuffer* buffers[MaxMixes]; // one secondary buffer per mix
  int32_t nextMix;                       // mix of the next round-robin start
  uint32_t baseFrequency;                // Hz reported at the first load
  uint32_t frequency[MaxMixes];          // Hz, 100..100000
  int32_t volume[MaxMixes];              // 1/100 dB, -10000..0
  int32_t pan[MaxMixes];                 // 1/100 dB, -10000 left .. 10000 right
  uint32_t pausePosition[MaxMixes];      // play cursor saved by zoSound::Pause
  int32_t looping;                       // last started by zoSound::PlayLoop
  int32_t echoStep;                      // -1 cannot echo, 0 idle, 1.. next echo
  int32_t echoLooping;                   // the running echo loops its repeats
  float echoTimer;                       // ms since the last echo step
  float echoPan;                         // wandering pan, -30..30 dB
  int32_t echoPanDirection;              // +1 or -1
  StreamState stream;
};

extern SoundObject soundObjects[MaxSoundObjects];
extern IDirectSound* soundDevice;         // null when there is none
extern IDirectSoundBuffer* primaryBuffer; // null when there is none
extern int soundReady;    // 1 once zoSound::InitDevice created the device
extern int reloading;     // 1 while every object is being loaded again
extern int reloadSlot;    // during a reload, the slot the loaders fill
extern char soundPackPath[256];  // full path of the current sound pack; empty at start

namespace zoSound {
// ---- Device and output format ----
int InitDevice();          // device, cooperative level, primary buffer; 0 without sound
void ReleaseDevice();      // every buffer, the primary buffer and the device; records kept
void RestartDevice();      // InitDevice again, then every object reloaded into its slot
int SelectFormat(int channels, int rate, int bits);  // rate 8/11/22/44 or Hz; rebuilds all buffers
void ResetObjects();       // every record of soundObjects to its empty state (display set-up)

// ---- Sound objects ----
int LoadObject(const char* name, int mix);  // WAV or OGG file, or WAVE/RCDATA resource; |mix| buffers, mix >= 2 can echo
void ReleaseObject(int index);

// ---- Sound packs (one file of named, upper-cased entries) ----
void SetPackFile(const char* name);        // relative to the executable's folder; opens nothing
int LoadPack(const char* name, int mix);   // an entry of the pack, any case, as a sound object
int Convert(const char* pack, const char* folder, int deleteFirst);  // appends every *.WAV of folder

// ---- Streaming (entries of five seconds or more play from a four-second ring) ----
int LoadStream(const char* name, int loopOffset);  // loopOffset: bytes from the first sample
// A .ogg or .wav file beside the executable through the same ring; a loop
// starts again at loopSample (a sample frame, 0 = the start) without a gap.
int LoadStreamFile(const char* file, int loopSample);
int ResetStream(int index);                        // back to the start of the data
int Streaming();                                   // once per frame: refills every playing stream

// ---- Playback (mix: >= 0 that mix; -2 next mix with echo; other negative: next mix / every mix) ----
void Play(int index, int mix);
void PlayLoop(int index, int mix);
void Stop(int index, int mix);        // stop and rewind
void Pause(int index, int mix);       // toggle: pause at the cursor or resume from it
void AddFrequency(int index, int steps, int mix);  // steps of 100 Hz
void ResetFrequency(int index, int mix);
void SetFrequency(int index, int steps, int mix);  // base frequency + steps x 100 Hz
void AddPan(int index, int decibels, int mix);
void ResetPan(int index, int mix);
void SetPan(int index, int decibels, int mix);     // negative left, positive right
void PanLeft(int index, int mix);
void PanRight(int index, int mix);
void AddVolume(int index, int decibels, int mix);
void ResetVolume(int index, int mix);
void SetVolume(int index, int decibels, int mix);  // 0 full, -100 silent
void Echo(int index, int interval, int repeats, int attenuation);  // once per frame
void EchoWander(int index, int interval, int repeats, int attenuation, int panSpeed);
DWORD GetPosition(int index);         // play cursor of mix 0 in bytes
void PlaySystemSound(const char* fileName);  // through the system player, device released meanwhile
}  // namespace zoSound
