// The sound object table: loading sounds from WAV files or WAVE/RCDATA
// resources into one to ten mix buffers, and releasing them.
#include <cstdlib>
#include <cstring>

#include "sound/ogg_decoder.h"
#include "sound/sound_rules.h"
#include "sound/sound_win.h"
#include "system/com_release_win.h"
#include "system/path_rules.h"

SoundObject soundObjects[MaxSoundObjects];

namespace {

const char* const LoadPlace = "zoSound::LoadObject";
const DWORD ObjectBufferFlags =
    DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;  // 0xE2
const int PathCapacity = 256;
// A whole decoded sound is held by every mix: at most six minutes of
// 44100 Hz stereo.
const uint64_t MaxWholeOggBytes = 64u << 20;

// The sound's samples, from a file (owned blocks) or a resource (in place).
struct WaveSource {
  WAVEFORMATEX* format = nullptr;
  BYTE* samples = nullptr;
  DWORD sampleSize = 0;
  bool fromFile = false;

  ~WaveSource() {
    if (!fromFile) return;
    if (format) GlobalFree(format);
    if (samples) GlobalFree(samples);
  }
};

// A resource holding a WAV image with the canonical header.
bool OpenWaveResource(const char* name, WaveSource* source) {
  HRSRC found = FindResourceA(nullptr, name, "WAVE");
  if (!found) found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!found) return false;
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (!loaded) return false;
  const BYTE* image = static_cast<const BYTE*>(LockResource(loaded));
  uint32_t sampleSize = 0;
  if (!zo::CheckWaveImage(image, SizeofResource(nullptr, found), &sampleSize)) return false;
  source->format = reinterpret_cast<WAVEFORMATEX*>(const_cast<BYTE*>(image) + zo::WaveImageFormatOffset);
  source->samples = const_cast<BYTE*>(image) + zo::WaveImageSamplesOffset;
  source->sampleSize = sampleSize;
  return true;
}

// An OGG file decoded whole into 16-bit PCM at its own rate.
int LoadOggObject(const char* path, int slot, int mix, int mixCount, bool firstLoad, const char* name) {
  std::vector<uint8_t> file, pcm;
  zo::OggInfo info;
  if (!zo::ReadSoundFileBytes(path, &file) ||
      zo::DecodeOggWhole(file.data(), file.size(), MaxWholeOggBytes, &pcm, &info) != zo::OggFault::None) {
    ShowError(LoadPlace, "OGGファイルを読み込めません");
    return -1;
  }
  file = std::vector<uint8_t>();  // only the samples are needed from here on
  const std::vector<uint8_t> format = zo::DecodedSoundFormat(info.channels, info.rate);
  const zo::LoadedSound sound{reinterpret_cast<const WAVEFORMATEX*>(format.data()), pcm.data(),
                              static_cast<DWORD>(pcm.size()), ObjectBufferFlags};
  return zo::FillSoundObject(LoadPlace, slot, sound, mix, mixCount, firstLoad, 0, name);
}

}  // namespace

namespace zo {

void ReleaseMixBuffers(SoundObject* o) {
  for (int k = 0; k < MaxMixes; ++k) {
    if (o->buffers[k]) o->buffers[k]->Stop();
    zo::ReleaseCom(o->buffers[k]);
  }
}

int StartLoad(const char* place, const char*& name, int mix) {
  if (!soundReady || !soundDevice) return 0;
  if (!name) name = "";
  const long long wanted = mix < 0 ? -static_cast<long long>(mix) : mix;
  if (wanted > MaxMixes) return ShowError(place, "ミックス数が多過ぎます");
  // No mixes at all would make an object nothing can play: one mix instead.
  return wanted == 0 ? 1 : static_cast<int>(wanted);
}

int FreeSoundSlot() {
  for (int i = 0; i < MaxSoundObjects; ++i)
    if (!soundObjects[i].used) return i;
  return -1;
}

int ClaimSoundSlot(const char* place, bool firstLoad) {
  int slot = firstLoad ? FreeSoundSlot() : reloadSlot;
  if (slot < 0 || slot >= MaxSoundObjects) {
    ShowError(place, "オブジェクト数が多過ぎます");
    return -1;
  }
  return slot;
}

int FillSoundObject(const char* place, int slot, const LoadedSound& sound, int mix, int mixCount,
                    bool firstLoad, int fromPack, const char* name) {
  SoundObject* o = &soundObjects[slot];
  ReleaseMixBuffers(o);
  for (int k = 0; k < mixCount; ++k) {
    o->buffers[k] = sound.size == 0 ? nullptr  // DirectSound has no empty buffers
                                    : CreateFilledBuffer(sound.format, sound.samples, sound.size,
                                                         sound.bufferFlags);
    if (!o->buffers[k]) {
      ReleaseMixBuffers(o);
      ShowError(place, "サウンドバッファが生成できません");
      return -1;
    }
  }
  o->mixCount = mixCount;
  o->echoStep = mix > 1 ? 0 : -1;
  if (firstLoad || o->nextMix < 0 || o->nextMix >= mixCount) o->nextMix = 0;
  for (int k = 0; k < mixCount; ++k) ApplyMixSettings(o, k, firstLoad);
  o->used = 1;
  o->fromPack = fromPack;
  o->stream.dataSize = 0;
  if (firstLoad) {
    std::memset(o->name, 0, sizeof o->name);
    std::memcpy(o->name, name, std::strlen(name));
  }
  return slot;
}

SoundObject* UsableSoundObject(int index) {
  if (index < 0 || index >= MaxSoundObjects) return nullptr;
  SoundObject* o = &soundObjects[index];
  if (!o->used || o->mixCount < 1 || o->mixCount > MaxMixes) return nullptr;
  return o;
}

IDirectSoundBuffer* CreateFilledBuffer(const WAVEFORMATEX* format, const BYTE* samples, DWORD size,
                                       DWORD flags) {
  if (!soundDevice) return nullptr;
  // Every loader and every reload comes through here: a format the mixer
  // cannot play (a rate outside 100..100000 Hz ends the process in its
  // thread) never reaches DirectSound.
  if (!format || !zo::PlayableSoundFormat(reinterpret_cast<const uint8_t*>(format))) return nullptr;
  DSBUFFERDESC desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  desc.dwFlags = flags;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = const_cast<WAVEFORMATEX*>(format);
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(soundDevice->CreateSoundBuffer(&desc, &buffer, nullptr)) || !buffer) return nullptr;
  // A buffer that cannot be written is as useless as one never made.
  if (!WriteSoundBuffer(buffer, 0, samples, size)) {
    buffer->Release();
    return nullptr;
  }
  return buffer;
}

bool WriteSoundBuffer(IDirectSoundBuffer* buffer, DWORD offset, const BYTE* from, DWORD count) {
  void* part1 = nullptr;
  void* part2 = nullptr;
  DWORD size1 = 0, size2 = 0;
  if (FAILED(buffer->Lock(offset, count, &part1, &size1, &part2, &size2, 0))) return false;
  DWORD first = size1 < count ? size1 : count;
  if (part1 && first) std::memcpy(part1, from, first);
  DWORD rest = count - first;
  DWORD second = size2 < rest ? size2 : rest;
  if (part2 && second) std::memcpy(part2, from + first, second);
  buffer->Unlock(part1, size1, part2, size2);
  return true;
}

void ApplyMixSettings(SoundObject* o, int k, bool firstLoad) {
  IDirectSoundBuffer* b = o->buffers[k];
  if (firstLoad) {
    DWORD hertz = 0;
    b->GetFrequency(&hertz);
    o->frequency[k] = hertz;
    o->baseFrequency = hertz;
    o->volume[k] = 0;
    o->pan[k] = 0;
    o->pausePosition[k] = 0;  // a position kept from an earlier sound means nothing here
  } else {
    b->SetVolume(o->volume[k]);
    b->SetFrequency(o->frequency[k]);
    b->SetPan(o->pan[k]);
  }
}

}  // namespace zo

namespace zoSound {

void ResetObjects() {
  for (int i = 0; i < MaxSoundObjects; ++i) {
    zo::ReleaseMixBuffers(&soundObjects[i]);
    zo::CloseStreamDecoder(i);
    std::memset(&soundObjects[i], 0, sizeof soundObjects[i]);
  }
}

int LoadObject(const char* name, int mix) {
  const int mixCount = zo::StartLoad(LoadPlace, name, mix);
  if (!mixCount) return -1;
  bool firstLoad = !reloading;

  const int slot = zo::ClaimSoundSlot(LoadPlace, firstLoad);
  if (slot < 0) return -1;
  // A name that cannot be kept, or that does not fit the path, is refused
  // before anything is loaded.
  char path[PathCapacity] = "";
  if ((firstLoad && std::strlen(name) > static_cast<size_t>(MaxSoundNameLength)) ||
      !zo::AppendBounded(path, sizeof path, MakeFullPath(0)) ||
      !zo::AppendBounded(path, sizeof path, name)) {
    ShowError(LoadPlace, "ファイル名またはリソース名が長すぎます");
    return -1;
  }

  if (zo::HasExtension(name, ".ogg")) return LoadOggObject(path, slot, mix, mixCount, firstLoad, name);

  WaveSource source;
  int formatSize = 0, sampleSize = 0;
  if (ReadWaveFile(path, &source.format, &formatSize, &source.samples, &sampleSize) == 0) {
    source.fromFile = true;
    source.sampleSize = static_cast<DWORD>(sampleSize);
  } else if (!OpenWaveResource(name, &source)) {
    ShowError(LoadPlace, "WAVEリソースが見つかりません");
    return -1;
  }

  const zo::LoadedSound sound{source.format, source.samples, source.sampleSize, ObjectBufferFlags};
  return zo::FillSoundObject(LoadPlace, slot, sound, mix, mixCount, firstLoad, 0, name);
}

void ReleaseObject(int index) {
  if (!soundReady) return;
  if (index < 0 || index >= MaxSoundObjects || !soundObjects[index].used) return;
  SoundObject* o = &soundObjects[index];
  o->used = 0;
  o->baseFrequency = 0;
  std::memset(o->name, 0, sizeof o->name);
  o->fromPack = 0;
  o->stream.dataSize = 0;
  for (int k = 0; k < MaxMixes; ++k) {
    o->volume[k] = 0;
    o->frequency[k] = 0;
    o->pan[k] = 0;
  }
  zo::ReleaseMixBuffers(o);
  zo::CloseStreamDecoder(index);
}

}  // namespace zoSound
