// Sound from a pack: on the first run the example writes two WAV files
// (a short chime and an eight-second tune) and packs them with
// zoSound::Convert. The chime plays twice a second on three mixes, swept
// from left to right; the tune is long enough to be streamed: it plays
// from a four-second ring that zoSound::Streaming refills every frame.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zo.h"

namespace {
const int Rate = 22050;  // mono, 16 bits
int chime = -1, tune = -1;
int played;              // chimes so far
float untilChime;        // seconds to the next one

// A mono 16-bit WAV of the notes (Hz), each noteSeconds long, with a short
// fade at both ends of every note so that nothing clicks.
void WriteWave(const std::string& path, const std::vector<float>& notes, float noteSeconds) {
  const int perNote = static_cast<int>(Rate * noteSeconds);
  std::vector<int16_t> samples;
  for (float hz : notes)
    for (int i = 0; i < perNote; ++i) {
      const float fade = std::fmin(1.0f, std::fmin(i, perNote - i) / 400.0f);
      samples.push_back(static_cast<int16_t>(8000 * fade * std::sin(6.2831853f * hz * i / Rate)));
    }
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  const uint32_t header[] = {0x46464952, 36 + data, 0x45564157, 0x20746D66, 16,  // RIFF, WAVE, fmt
                             0x00010001, Rate, Rate * 2, 0x00100002, 0x61746164, data};  // PCM 1 ch, data
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(header, sizeof header, 1, f);
    std::fwrite(samples.data(), 2, samples.size(), f);
    std::fclose(f);
  }
}

// sounds.pak beside the executable, made once from sounds\*.wav.
void MakePack() {
  const std::string folder = MakeFullPath(0);
  if (GetFileAttributesA((folder + "sounds.pak").c_str()) != INVALID_FILE_ATTRIBUTES) return;
  CreateDirectoryA((folder + "sounds").c_str(), nullptr);
  WriteWave(folder + "sounds\\chime.wav", {1318.5f, 1760.0f}, 0.08f);
  std::vector<float> melody;
  for (int bar = 0; bar < 4; ++bar)
    for (float hz : {523.3f, 659.3f, 784.0f, 659.3f, 587.3f, 698.5f, 880.0f, 698.5f}) melody.push_back(hz);
  WriteWave(folder + "sounds\\tune.wav", melody, 0.25f);  // 32 notes: eight seconds
  zoSound::Convert("sounds.pak", "sounds", 1);            // 1: a new pack
}

void Line(int y, const char* text) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(40, y, text);
  zoText::EndText();
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);      // opens the sound device too
  MakePack();
  zoSound::SetPackFile("sounds.pak");
  chime = zoSound::LoadPack("CHIME.WAV", 3);  // three mixes: overlapping chimes
  tune = zoSound::LoadStream("tune.wav", 0);  // any case; loops back to byte 0
  if (tune >= 0) zoSound::PlayLoop(tune, 0);
  scene = 1;
  prevScene = 0;
}

void DemoFrame() {
  zoSound::Streaming();             // refills the tune's ring while it plays
  untilChime -= frameDelta;
  if (chime >= 0 && untilChime <= 0.0f) {
    const int mix = played % 3;
    zoSound::SetPan(chime, -20 + 10 * (played % 5), mix);  // decibels: -20 left .. 20 right
    zoSound::Play(chime, mix);
    ++played;
    untilChime = 0.5f;
  }

  zoDraw::ClearScreen();
  Line(40, "サウンドパック sounds.pak から:");
  Line(80, chime >= 0 ? "効果音 CHIME.WAV を 3 ミックスで、左から右へ" : "効果音が読めません");
  Line(120, tune >= 0 ? "曲 TUNE.WAV (8 秒) を 4 秒のリングでストリーム再生" : "曲が読めません");
  // The ring's play cursor: it runs across and starts again every four seconds.
  if (tune >= 0) {
    const int width = static_cast<int>(560.0 * zoSound::GetPosition(tune) / (4 * Rate * 2));
    zoDraw::DrawRectangle(40, 180, 600, 210, RGB(24, 24, 64), RGB(255, 255, 255), 1);
    zoDraw::DrawRectangle(40, 180, 40 + width, 210, RGB(96, 200, 255), RGB(255, 255, 255), 1);
  }
  // A square that lights up for a moment with every chime.
  const COLORREF flash = untilChime > 0.4f ? RGB(255, 220, 96) : RGB(60, 50, 20);
  zoDraw::DrawRectangle(40 + 40 * ((played + 4) % 5), 240, 72 + 40 * ((played + 4) % 5), 272, flash,
                        RGB(255, 255, 255), 1);
  zoDraw::Present();
}
