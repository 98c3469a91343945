// The arithmetic of the sound module that needs no DirectSound: clamps,
// format codes, mix selection, the echo schedule and RIFF layout checks.
#pragma once

#include <cstdint>

namespace zo {

const int32_t VolumeMin = -10000, VolumeMax = 0;   // 1/100 dB
const int32_t PanMin = -10000, PanMax = 10000;     // 1/100 dB
const int32_t FrequencyMin = 100, FrequencyMax = 100000;  // Hz

// The sums are taken in 64 bits so that a huge argument clamps instead of
// wrapping around.
int32_t ClampVolume(int64_t hundredths);
int32_t ClampPan(int64_t hundredths);
uint32_t ClampFrequency(int64_t hertz);

// 8, 11, 22 and 44 name the usual rates; anything else is already in Hz.
int32_t RateFromCode(int32_t rate);

// The fields of a WAVEFORMATEX that playback relies on: the output format
// zoSound::SelectFormat asks for, or a pack entry's format block.
struct SoundFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t cbSize;
};
// A PCM format (cbSize 0); the rate may be a code of RateFromCode.
SoundFormat MakePcmFormat(int32_t channels, int32_t rate, int32_t bits);

// Whether a format block (its first 16 bytes, as in a "fmt " chunk) may be
// handed to DirectSound: one or two channels and a rate within
// FrequencyMin..FrequencyMax for every format (the mixer divides by a step
// taken from the rate), and for PCM also 8 or 16 bits with the block
// alignment and byte rate those imply.
const uint32_t SoundFormatHeadSize = 16;
bool PlayableSoundFormat(const uint8_t* head);

// How an operation reads its mix selector.
enum class MixUse {
  Start,      // Play, PlayLoop: >= 0 that mix, negative the next one in turn
  Setter,     // volume, pan, frequency: -2 the next mix, other negative every mix
  StopPause,  // Stop, Pause: negative every mix
};
// Writes the selected mix numbers into out (MaxMixes entries) and answers
// how many there are; a selector at or beyond mixCount selects nothing.
int SelectMixes(int selector, int mixCount, int nextMix, MixUse use, int* out);
// The mix after `mix` in turn.
int NextMixAfter(int mix, int mixCount);

// One call of zoSound::Echo / zoSound::EchoWander on an object's echo state.
struct EchoState {
  int32_t step;        // -1 cannot echo, 0 idle, 1.. next echo
  float timer;         // ms since the last echo
  float pan;           // wandering pan in dB, -30..30
  int32_t panDirection;
};
struct EchoAction {
  bool fire;           // start the next mix now
  int32_t volumeDb;    // its volume (0 or below, in dB)
  bool setPan;         // give it panDb first
  int32_t panDb;
};
EchoAction AdvanceEcho(EchoState* echo, float frameDelta, int interval, int repeats,
                       int attenuation, bool wander, int panSpeed);

// The format block of a "fmt " chunk of chunkSize bytes whose tag is given.
// A PCM format never has extra bytes; another format has a cbSize field
// only when the chunk holds one (a bare 16-byte WAVEFORMAT has none).
bool FormatChunkHasCbSize(uint32_t chunkSize, uint16_t formatTag);
// The extra bytes must lie inside the chunk.
bool FormatExtraFits(uint32_t chunkSize, uint16_t cbSize);

// A WAV image in memory with the canonical 44-byte header: the format block
// sits at byte 20, the sample size at byte 40, the samples at byte 44.
// Answers false when the image is too small for what its header claims.
const uint32_t WaveImageFormatOffset = 20, WaveImageSamplesOffset = 44;
bool CheckWaveImage(const uint8_t* image, uint32_t imageSize, uint32_t* sampleSize);

}  // namespace zo
