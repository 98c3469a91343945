#include "sound/sound_rules.h"

namespace zo {

namespace {
const int MixCapacity = 10;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
}  // namespace

int32_t ClampVolume(int64_t v) {
  if (v > VolumeMax) v = VolumeMax;
  if (v < VolumeMin) v = VolumeMin;
  return static_cast<int32_t>(v);
}

int32_t ClampPan(int64_t v) {
  if (v < PanMin) v = PanMin;
  if (v > PanMax) v = PanMax;
  return static_cast<int32_t>(v);
}

uint32_t ClampFrequency(int64_t v) {
  if (v < FrequencyMin) v = FrequencyMin;
  if (v > FrequencyMax) v = FrequencyMax;
  return static_cast<uint32_t>(v);
}

int32_t RateFromCode(int32_t rate) {
  switch (rate) {
    case 8: return 8000;
    case 11: return 11025;
    case 22: return 22050;
    case 44: return 44100;
    default: return rate;
  }
}

SoundFormat MakePcmFormat(int32_t channels, int32_t rate, int32_t bits) {
  SoundFormat f = {};
  f.formatTag = 1;
  f.channels = static_cast<uint16_t>(channels);
  f.samplesPerSec = static_cast<uint32_t>(RateFromCode(rate));
  f.bitsPerSample = static_cast<uint16_t>(bits);
  f.blockAlign = static_cast<uint16_t>(channels * (bits / 8));
  f.avgBytesPerSec = static_cast<uint32_t>(f.blockAlign) * f.samplesPerSec;
  return f;
}

bool PlayableSoundFormat(const uint8_t* head) {
  if (!head) return false;
  const uint16_t tag = Read16(head), channels = Read16(head + 2);
  const uint32_t rate = Read32(head + 4), byteRate = Read32(head + 8);
  const uint16_t blockAlign = Read16(head + 12), bits = Read16(head + 14);
  if (channels < 1 || channels > 2) return false;
  if (rate < static_cast<uint32_t>(FrequencyMin) || rate > static_cast<uint32_t>(FrequencyMax)) return false;
  if (tag != 1) return true;  // other encodings keep their own alignment rules
  if (bits != 8 && bits != 16) return false;
  if (blockAlign != channels * bits / 8) return false;
  return byteRate == rate * blockAlign;  // at most 100000 x 4: no overflow
}

int NextMixAfter(int mix, int mixCount) {
  int next = mix + 1;
  return next >= mixCount ? 0 : next;
}

int SelectMixes(int selector, int mixCount, int nextMix, MixUse use, int* out) {
  if (mixCount <= 0 || mixCount > MixCapacity) return 0;
  if (selector >= 0) {
    if (selector >= mixCount) return 0;
    out[0] = selector;
    return 1;
  }
  // A damaged nextMix never indexes outside the mixes.
  int turn = (nextMix >= 0 && nextMix < mixCount) ? nextMix : 0;
  if (use == MixUse::Start || (use == MixUse::Setter && selector == -2)) {
    out[0] = turn;
    return 1;
  }
  for (int k = 0; k < mixCount; ++k) out[k] = k;
  return mixCount;
}

EchoAction AdvanceEcho(EchoState* e, float frameDelta, int interval, int repeats, int attenuation,
                       bool wander, int panSpeed) {
  EchoAction a = {false, 0, false, 0};
  if (e->step < 1 || repeats < 1) return a;
  e->timer += frameDelta * 1000.0f;
  if (e->timer < static_cast<float>(interval)) return a;
  e->timer = 0.0f;
  if (wander) {
    e->pan += static_cast<float>(e->panDirection) * frameDelta * 100.0f * static_cast<float>(panSpeed);
    if (e->pan < -30.0f) {
      e->pan = -30.0f;
      e->panDirection = -e->panDirection;
    }
    if (e->pan > 30.0f) {
      e->pan = 30.0f;
      e->panDirection = -e->panDirection;
    }
    a.setPan = true;
    a.panDb = static_cast<int32_t>(e->pan);
  }
  a.fire = true;
  int64_t db = -static_cast<int64_t>(e->step) * attenuation;
  // The volume setter multiplies by 100 again; keep the value where that cannot wrap.
  if (db < -100000) db = -100000;
  if (db > 100000) db = 100000;
  a.volumeDb = static_cast<int32_t>(db);
  e->step += 1;
  if (e->step > repeats) e->step = 0;
  return a;
}

bool FormatChunkHasCbSize(uint32_t chunkSize, uint16_t formatTag) {
  return formatTag != 1 && chunkSize >= 18;
}

bool FormatExtraFits(uint32_t chunkSize, uint16_t cbSize) {
  return 18u + cbSize <= chunkSize;
}

bool CheckWaveImage(const uint8_t* image, uint32_t imageSize, uint32_t* sampleSize) {
  *sampleSize = 0;
  if (!image || imageSize < WaveImageSamplesOffset) return false;
  uint32_t samples = Read32(image + 40);
  if (static_cast<uint64_t>(WaveImageSamplesOffset) + samples > imageSize) return false;
  // A non-PCM format block is read with its cbSize extra bytes: they must
  // stay inside the image too.
  const uint8_t* format = image + WaveImageFormatOffset;
  if (Read16(format) != 1) {
    uint32_t cb = Read16(format + 16);
    if (static_cast<uint64_t>(WaveImageFormatOffset) + 18 + cb > imageSize) return false;
  }
  *sampleSize = samples;
  return true;
}

}  // namespace zo
