// MIDI music: on the first run the example writes a two-second tune as a
// standard MIDI file, then plays it in a loop through the MCI sequencer.
// The library's window procedure hears when a pass ends and starts the
// tune again; midiFinished tells that at least one pass is over.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zo.h"

namespace {
MCIERROR answer = 1;  // what zoMusic::Play said; 0 is success

// A format-0 file: one track, 96 ticks a beat at 120 beats a minute, eight
// quarter-second notes on a piano.
void WriteTune(const std::string& path) {
  std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo: 500000 us a beat
                                0x00, 0xC0, 0x00};                         // program 0
  for (uint8_t note : {60, 64, 67, 72, 67, 64, 62, 60}) {
    track.insert(track.end(), {0x00, 0x90, note, 0x60});   // note on at once
    track.insert(track.end(), {0x30, 0x80, note, 0x00});   // off 48 ticks later
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});     // end of track
  const uint32_t size = static_cast<uint32_t>(track.size());
  const uint8_t head[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                          'M', 'T', 'r', 'k', uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8),
                          uint8_t(size)};
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(head, sizeof head, 1, f);
    std::fwrite(track.data(), 1, track.size(), f);
    std::fclose(f);
  }
}

void Line(int y, const char* text) {
  zoText::BeginText(1, 16, 0, 0, 0, 0);
  zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
  zoText::DrawText(100, y, text);
  zoText::EndText();
}
}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  zoDraw::Screen(640, 480, 1);
  const std::string path = std::string(MakeFullPath(0)) + "tune.mid";
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) WriteTune(path);
  zoMusic::Init();
  answer = zoMusic::Play("tune.mid", 1);  // beside the executable; 1: loop
  scene = 1;
  prevScene = 0;
}

void DemoFrame() {
  zoDraw::ClearScreen();
  // Green while the sequence plays, red when the sequencer refused it.
  const bool playing = answer == 0 && midiOpen;
  zoDraw::DrawRectangle(40, 40, 80, 80, playing ? RGB(64, 220, 96) : RGB(220, 64, 64), RGB(255, 255, 255), 1);
  Line(50, playing ? "tune.mid を演奏中 (繰り返し)" : "MIDI を演奏できません");
  Line(90, midiFinished ? "一周を終え、また最初から" : "一周目");
  zoDraw::Present();
}
