// Playback control: play, loop, stop, pause, volume, pan, frequency, the
// echo and the system sound player.
#include <cstdlib>

#include "sound/sound_rules.h"
#include "sound/sound_win.h"

namespace {

// The object when sound is up and index names a used slot.
SoundObject* ReadyObject(int index) {
  if (!soundReady) return nullptr;
  return zo::UsableSoundObject(index);
}

bool IsStream(const SoundObject* o) { return o->stream.dataSize != 0; }

void RewindStream(int index) { zoSound::ResetStream(index); }

// A sound still playing is cut off and started again from its beginning.
void StartBuffer(SoundObject* o, int index, int k, bool loop) {
  IDirectSoundBuffer* b = o->buffers[k];
  if (!b) return;
  b->Stop();
  if (loop) {
    if (IsStream(o)) RewindStream(index);
    b->SetCurrentPosition(0);
    b->Play(0, 0, DSBPLAY_LOOPING);
    return;
  }
  b->SetCurrentPosition(0);
  if (IsStream(o)) {
    RewindStream(index);
    b->Play(0, 0, DSBPLAY_LOOPING);  // the ring buffer always loops; streaming ends it
  } else {
    b->Play(0, 0, 0);
  }
}

void StartPlay(int index, int mix, bool loop) {
  SoundObject* o = ReadyObject(index);
  if (!o) return;
  int selected[MaxMixes];
  if (zo::SelectMixes(mix, o->mixCount, o->nextMix, zo::MixUse::Start, selected) != 1) return;
  int k = selected[0];
  if (!o->buffers[k]) return;  // buffers not rebuilt yet: nothing to start
  if (mix == -2 && o->echoStep >= 0) {
    zoSound::ResetFrequency(index, -1);
    zoSound::ResetPan(index, -1);
    zoSound::ResetVolume(index, -1);
    o->echoStep = 1;
    o->echoTimer = 0.0f;
    o->echoLooping = loop ? 1 : 0;
    o->echoPan = static_cast<float>(o->pan[k]) / 100.0f;  // stored in 1/100 dB
    o->echoPanDirection = 2 * (std::rand() % 2) - 1;
  }
  StartBuffer(o, index, k, loop);
  if (mix < 0) o->nextMix = zo::NextMixAfter(k, o->mixCount);
  o->looping = loop ? 1 : 0;
}

enum class Quantity { Volume, Pan, Frequency };

// Calls act(k, buffer) for every mix k the selector picks that has a buffer.
template <typename Act>
void ForSelectedMixes(SoundObject* o, int mix, zo::MixUse use, Act act) {
  int selected[MaxMixes];
  const int count = zo::SelectMixes(mix, o->mixCount, o->nextMix, use, selected);
  for (int i = 0; i < count; ++i)
    if (IDirectSoundBuffer* b = o->buffers[selected[i]]) act(selected[i], b);
}

// Stores the new value of every selected mix that has a buffer and sends it.
template <typename Rule>
void ApplySetter(int index, int mix, Quantity what, Rule rule) {
  SoundObject* o = ReadyObject(index);
  if (!o) return;
  ForSelectedMixes(o, mix, zo::MixUse::Setter, [&](int k, IDirectSoundBuffer* b) {
    switch (what) {
      case Quantity::Volume:
        o->volume[k] = static_cast<int32_t>(rule(o, k));
        b->SetVolume(o->volume[k]);
        break;
      case Quantity::Pan:
        o->pan[k] = static_cast<int32_t>(rule(o, k));
        b->SetPan(o->pan[k]);
        break;
      case Quantity::Frequency:
        o->frequency[k] = static_cast<uint32_t>(rule(o, k));
        b->SetFrequency(o->frequency[k]);
        break;
    }
  });
}

// Volume or pan in decibels, added to each mix's own value or set outright.
void ApplyDecibels(int index, int mix, Quantity what, bool add, int decibels) {
  ApplySetter(index, mix, what, [=](SoundObject* o, int k) {
    const int64_t own = !add ? 0 : what == Quantity::Volume ? o->volume[k] : o->pan[k];
    const int64_t hundredths = own + static_cast<int64_t>(decibels) * 100;
    return int64_t{what == Quantity::Volume ? zo::ClampVolume(hundredths) : zo::ClampPan(hundredths)};
  });
}

void RunEcho(int index, int interval, int repeats, int attenuation, bool wander, int panSpeed) {
  SoundObject* o = ReadyObject(index);
  if (!o) return;
  zo::EchoState state = {o->echoStep, o->echoTimer, o->echoPan, o->echoPanDirection};
  zo::EchoAction act =
      zo::AdvanceEcho(&state, frameDelta, interval, repeats, attenuation, wander, panSpeed);
  o->echoTimer = state.timer;
  o->echoPan = state.pan;
  o->echoPanDirection = state.panDirection;
  if (act.fire) {
    if (act.setPan) zoSound::SetPan(index, act.panDb, -2);
    zoSound::SetVolume(index, act.volumeDb, -2);
    if (o->echoLooping) zoSound::PlayLoop(index, -3);
    else zoSound::Play(index, -3);
  }
  o->echoStep = state.step;
}

}  // namespace

namespace zoSound {

void Play(int index, int mix) { StartPlay(index, mix, false); }
void PlayLoop(int index, int mix) { StartPlay(index, mix, true); }

void Stop(int index, int mix) {
  SoundObject* o = ReadyObject(index);
  if (!o) return;
  if (mix < 0 && o->echoStep >= 0) o->echoStep = 0;
  ForSelectedMixes(o, mix, zo::MixUse::StopPause, [](int, IDirectSoundBuffer* b) {
    b->Stop();
    b->SetCurrentPosition(0);
  });
}

void Pause(int index, int mix) {
  SoundObject* o = ReadyObject(index);
  if (!o) return;
  ForSelectedMixes(o, mix, zo::MixUse::StopPause, [o](int k, IDirectSoundBuffer* b) {
    DWORD status = 0;
    if (FAILED(b->GetStatus(&status))) return;
    if (status & DSBSTATUS_PLAYING) {
      DWORD play = 0;
      if (SUCCEEDED(b->GetCurrentPosition(&play, nullptr))) o->pausePosition[k] = play;
      b->Stop();
    } else {
      b->SetCurrentPosition(o->pausePosition[k]);
      // A stream's ring always loops, whichever way it was started: its end
      // is the refill's business.
      b->Play(0, 0, o->looping == 1 || IsStream(o) ? DSBPLAY_LOOPING : 0);
    }
  });
}

void AddVolume(int index, int db, int mix) { ApplyDecibels(index, mix, Quantity::Volume, true, db); }
void SetVolume(int index, int db, int mix) { ApplyDecibels(index, mix, Quantity::Volume, false, db); }
void ResetVolume(int index, int mix) { ApplyDecibels(index, mix, Quantity::Volume, false, 0); }

void AddPan(int index, int db, int mix) { ApplyDecibels(index, mix, Quantity::Pan, true, db); }
void SetPan(int index, int db, int mix) { ApplyDecibels(index, mix, Quantity::Pan, false, db); }
void ResetPan(int index, int mix) { ApplyDecibels(index, mix, Quantity::Pan, false, 0); }
void PanLeft(int index, int mix) {
  ApplySetter(index, mix, Quantity::Pan, [](SoundObject*, int) { return int64_t{zo::PanMin}; });
}
void PanRight(int index, int mix) {
  ApplySetter(index, mix, Quantity::Pan, [](SoundObject*, int) { return int64_t{zo::PanMax}; });
}

void AddFrequency(int index, int steps, int mix) {
  ApplySetter(index, mix, Quantity::Frequency, [steps](SoundObject* o, int k) {
    return static_cast<int64_t>(zo::ClampFrequency(static_cast<int64_t>(o->frequency[k]) +
                                                   static_cast<int64_t>(steps) * 100));
  });
}
void SetFrequency(int index, int steps, int mix) {
  ApplySetter(index, mix, Quantity::Frequency, [steps](SoundObject* o, int) {
    return static_cast<int64_t>(zo::ClampFrequency(static_cast<int64_t>(o->baseFrequency) +
                                                   static_cast<int64_t>(steps) * 100));
  });
}
void ResetFrequency(int index, int mix) {
  ApplySetter(index, mix, Quantity::Frequency,
              [](SoundObject* o, int) { return static_cast<int64_t>(o->baseFrequency); });
}

void Echo(int index, int interval, int repeats, int attenuation) {
  RunEcho(index, interval, repeats, attenuation, false, 0);
}

void EchoWander(int index, int interval, int repeats, int attenuation, int panSpeed) {
  RunEcho(index, interval, repeats, attenuation, true, panSpeed);
}

DWORD GetPosition(int index) {
  if (index < 0 || index >= MaxSoundObjects) return 0;
  SoundObject* o = &soundObjects[index];
  if (!o->used || !o->buffers[0]) return 0;
  DWORD play = 0;
  if (FAILED(o->buffers[0]->GetCurrentPosition(&play, nullptr))) return 0;
  return play;
}

void PlaySystemSound(const char* fileName) {
  ReleaseDevice();
  sndPlaySoundA(fileName, SND_SYNC);
  RestartDevice();
}

}  // namespace zoSound
