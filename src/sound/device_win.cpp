// The DirectSound device, the primary buffer and the output format.
#include <cstring>

#include "sound/sound_rules.h"
#include "sound/sound_win.h"
#include "sound/stream_rules.h"
#include "system/com_release_win.h"

IDirectSound* soundDevice;
IDirectSoundBuffer* primaryBuffer;
int soundReady;
int reloading;
int reloadSlot;

namespace zo {

void ReleaseAllSoundBuffers() {
  for (SoundObject& o : soundObjects)
    if (o.used) ReleaseMixBuffers(&o);
}

void ReloadAllObjects() {
  reloading = 1;
  for (reloadSlot = 0; reloadSlot < MaxSoundObjects; ++reloadSlot) {
    SoundObject& o = soundObjects[reloadSlot];
    if (!o.used) continue;
    // The loaders may write the record; keep what they are asked to load.
    char name[MaxSoundNameLength + 1];
    std::memcpy(name, o.name, sizeof name);
    name[MaxSoundNameLength] = '\0';
    int mixCount = o.mixCount;
    if (o.stream.dataSize != 0 && o.stream.source != StreamFromPack) {
      zoSound::LoadStreamFile(name, zo::LoopFrameOf(o.stream));
    } else if (o.stream.dataSize != 0) {
      // The stream reads the pack it was loaded from, which becomes the
      // current pack again.
      std::memcpy(soundPackPath, o.stream.packPath, sizeof soundPackPath);
      soundPackPath[sizeof soundPackPath - 1] = '\0';
      zoSound::LoadStream(name, o.stream.loopStart - o.stream.dataStart);
    } else if (o.fromPack) {
      zoSound::LoadPack(name, mixCount);
    } else {
      zoSound::LoadObject(name, mixCount);
    }
  }
  reloading = 0;
}

}  // namespace zo

namespace zoSound {

int InitDevice() {
  // A device that is still up is given back first, so a second start-up
  // does not leak it and its buffers.
  if (soundDevice || primaryBuffer) zo::ReleaseAllSoundBuffers();
  zo::ReleaseCom(primaryBuffer);
  zo::ReleaseCom(soundDevice);
  if (FAILED(DirectSoundCreate(nullptr, &soundDevice, nullptr)) || !soundDevice) {
    soundDevice = nullptr;
    soundReady = 0;
    return 0;
  }
  if (FAILED(soundDevice->SetCooperativeLevel(mainWindow, DSSCL_PRIORITY)))
    soundDevice->SetCooperativeLevel(mainWindow, DSSCL_NORMAL);

  DSBUFFERDESC desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
  if (FAILED(soundDevice->CreateSoundBuffer(&desc, &primaryBuffer, nullptr))) primaryBuffer = nullptr;

  // The records survive a re-creation; only their buffers are gone.
  for (int i = 0; i < MaxSoundObjects; ++i)
    for (int k = 0; k < MaxMixes; ++k) soundObjects[i].buffers[k] = nullptr;
  reloading = 0;
  soundReady = 1;
  return 1;
}

void ReleaseDevice() {
  if (!soundReady) return;
  zo::ReleaseAllSoundBuffers();
  zo::ReleaseCom(primaryBuffer);
  zo::ReleaseCom(soundDevice);
}

void RestartDevice() {
  if (!soundReady) return;
  InitDevice();
  zo::ReloadAllObjects();
}

int SelectFormat(int channels, int rate, int bits) {
  if (!soundReady) return 1;
  zo::ReleaseAllSoundBuffers();
  WAVEFORMATEX format = zo::ToWaveFormat(zo::MakePcmFormat(channels, rate, bits));
  if (!primaryBuffer || FAILED(primaryBuffer->SetFormat(&format)))
    return ShowError("zoSound::SelectFormat", "再生フォーマットを変更できません");
  zo::ReloadAllObjects();
  return 1;
}

}  // namespace zoSound
