// Started by the sound tests where no audio server can be reached: every
// sound operation must answer its not-ready result and show nothing. The
// findings go to sound_silent_app.txt beside the program.
#include <cstdio>
#include <string>

#include "system/message_box_win.h"
#include "zo.h"

namespace {

int boxesShown;

int CountBox(HWND, const char*, const char*, UINT) {
  ++boxesShown;
  return IDOK;
}

}  // namespace

void DemoSetup() {
  zo::messageBoxHook = CountBox;
  std::string folder = MakeFullPath(0);
  FILE* out = std::fopen((folder + "sound_silent_app.txt").c_str(), "w");
  if (!out) ExitProcess(2);

  std::FILE* wav = std::fopen((folder + "silent_tone.wav").c_str(), "rb");
  std::fprintf(out, "wav_present %d\n", wav != nullptr);
  if (wav) std::fclose(wav);

  std::fprintf(out, "InitDevice %d\n", zoSound::InitDevice());
  zoSound::ResetObjects();
  std::fprintf(out, "soundReady %d\n", soundReady);
  std::fprintf(out, "LoadObject %d\n", zoSound::LoadObject("silent_tone.wav", 2));
  std::fprintf(out, "SelectFormat %d\n", zoSound::SelectFormat(2, 44, 16));
  for (int index : {0, 5, -1, 70}) {
    zoSound::Play(index, -2);
    zoSound::PlayLoop(index, 0);
    zoSound::Pause(index, -1);
    zoSound::SetVolume(index, -10, -1);
    zoSound::AddVolume(index, 3, 0);
    zoSound::ResetVolume(index, -1);
    zoSound::SetPan(index, 5, -2);
    zoSound::AddPan(index, 5, -1);
    zoSound::ResetPan(index, 0);
    zoSound::PanLeft(index, 0);
    zoSound::PanRight(index, -1);
    zoSound::SetFrequency(index, 10, 0);
    zoSound::AddFrequency(index, -10, -1);
    zoSound::ResetFrequency(index, -1);
    zoSound::Echo(index, 10, 3, 5);
    zoSound::EchoWander(index, 10, 3, 5, 2);
    zoSound::Stop(index, -1);
    zoSound::ReleaseObject(index);
    std::fprintf(out, "GetPosition %d %lu\n", index, static_cast<unsigned long>(zoSound::GetPosition(index)));
  }
  zoSound::RestartDevice();
  zoSound::PlaySystemSound((folder + "silent_tone.wav").c_str());
  zoSound::ReleaseDevice();
  int used = 0;
  for (const SoundObject& o : soundObjects) used += o.used;
  std::fprintf(out, "used %d\n", used);
  std::fprintf(out, "soundReadyAfter %d\n", soundReady);
  std::fprintf(out, "errorFlag %d\n", errorFlag);
  std::fprintf(out, "boxes %d\n", boxesShown);
  std::fprintf(out, "end\n");
  std::fclose(out);
  ExitProcess(0);
}

void DemoFrame() {}
