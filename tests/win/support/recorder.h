// Records what the test bed's PulseAudio null sink plays, through parec
// started as a Unix process, so tests can measure the sound really mixed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zotest {

// 44100 Hz, two channels, 16-bit, interleaved left/right.
struct Recording {
  std::vector<int16_t> samples;
  size_t Frames() const { return samples.size() / 2; }
};

// The Unix name of the test program's folder, ending in '/'; empty when
// it cannot be found.
std::string UnixFolder();
// The Unix name of a Windows path, for programs run outside Wine; empty
// when Wine cannot tell it.
std::string UnixPath(const std::string& windowsPath);
// The Unix command that starts a Windows program under the test bed's own
// loader (the 32-bit or the 64-bit one), for commands given to
// StartUnixCommand.
std::string WineCommand();
// Runs a Unix shell command line without waiting for it; false when it
// could not be started. The command must not contain double quotes.
bool StartUnixCommand(const std::string& shellCommand);

// Starts the recorder and returns once data flows (or after about two
// seconds). False when the recorder could not be started.
bool StartRecording();
// Stops it and answers what was recorded; empty when nothing was.
Recording StopRecording();

// RMS of one channel (0 left, 1 right) over frames [from, from + count).
double Rms(const Recording& r, int channel, size_t from, size_t count);
// Amplitude of the hz component of one channel over the frames (Goertzel).
double ToneLevel(const Recording& r, int channel, double hz, size_t from, size_t count);
// The largest ToneLevel over consecutive windows of the given length.
double PeakToneLevel(const Recording& r, int channel, double hz, size_t window);
// The first window (frame index) whose tone level reaches threshold; -1 if none.
long FirstToneWindow(const Recording& r, int channel, double hz, size_t window, double threshold);

}  // namespace zotest
