// What DirectSound really mixes: sounds are played into the test bed's null
// sink and measured from a recording of its monitor.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "recorder.h"
#include "wave_builder.h"
#include "zo_test.h"

namespace {

const size_t Window = 4410;  // 100 ms of frames

std::string Folder() { return MakeFullPath(0); }

// Writes a mono 16-bit 44100 Hz tone beside the executable.
void WriteTone(const char* name, double hz, double seconds, double amplitude = 0.5) {
  ASSERT_TRUE(zotest::WriteBytes(Folder() + name, zotest::ToneWave(1, 44100, 16, hz, seconds, amplitude)));
}

// A second of hz written as "out_a<hz>.wav" and loaded with mixes mixes.
int LoadTone(int hz, int mixes) {
  const std::string name = "out_a" + std::to_string(hz) + ".wav";
  WriteTone(name.c_str(), hz, 1.0);
  return zoSound::LoadObject(name.c_str(), mixes);
}

struct SoundOutputTest : ::testing::Test {
  static void SetUpTestSuite() {
    zotest::CaptureBoxes();
    zotest::MakeMainWindow();
    zoSound::InitDevice();
  }
  void SetUp() override {
    if (!soundReady) GTEST_SKIP() << "no sound device in this test bed";
    zotest::ClearBoxes();
    zoSound::ResetObjects();
    // What the device had already sent on still sounds for a moment.
    Sleep(300);
  }
  void TearDown() override { EXPECT_TRUE(zotest::boxes.empty()) << zotest::boxes[0].text; }

  // Records while body runs, then for the given extra time.
  template <typename Body>
  zotest::Recording Record(Body body, int tailMs = 150) {
    if (!zotest::StartRecording()) {
      ADD_FAILURE() << "the recorder did not start";
      return {};
    }
    body();
    Sleep(tailMs);
    zotest::Recording r = zotest::StopRecording();
    EXPECT_GT(r.Frames(), 4410u) << "nothing recorded";
    return r;
  }
};

// The loudness of the hz tone in each channel while index plays once.
void MeasurePlay(SoundOutputTest* t, int index, double hz, double* left, double* right, int ms = 500) {
  zotest::Recording r = t->Record([&] {
    zoSound::Play(index, 0);
    Sleep(ms);
    zoSound::Stop(index, -1);
  });
  *left = zotest::PeakToneLevel(r, 0, hz, Window);
  *right = zotest::PeakToneLevel(r, 1, hz, Window);
}

}  // namespace

TEST_F(SoundOutputTest, PlayedToneAppearsInTheOutput) {
  int a = LoadTone(440, 1);
  ASSERT_EQ(a, 0);
  zotest::Recording quiet = Record([] { Sleep(300); });
  double before = zotest::PeakToneLevel(quiet, 0, 440, Window);
  double left, right;
  MeasurePlay(this, a, 440, &left, &right);
  std::printf("440 Hz tone of amplitude 16383: silent %.0f, playing L %.0f R %.0f\n", before, left, right);
  EXPECT_LT(before, 200);
  EXPECT_GT(left, 8000);
  EXPECT_GT(right, 8000);
  EXPECT_LT(left, 20000);
}

TEST_F(SoundOutputTest, VolumeLowersTheLevelAndClamps) {
  int a = LoadTone(440, 1);
  ASSERT_GE(a, 0);
  double full, r, minus10, loud, silent;
  MeasurePlay(this, a, 440, &full, &r);
  zoSound::SetVolume(a, -10, 0);
  MeasurePlay(this, a, 440, &minus10, &r);
  zoSound::SetVolume(a, 10, 0);  // above 0 dB is full volume
  MeasurePlay(this, a, 440, &loud, &r);
  zoSound::SetVolume(a, -150, 0);  // below -100 dB is -100 dB
  MeasurePlay(this, a, 440, &silent, &r);
  std::printf("level at 0 dB %.0f, -10 dB %.0f, +10 dB %.0f, -150 dB %.0f\n", full, minus10, loud, silent);
  ASSERT_GT(full, 4000);
  EXPECT_NEAR(minus10 / full, 0.316, 0.08);
  EXPECT_NEAR(loud / full, 1.0, 0.1);
  EXPECT_LT(silent, full * 0.01);
}

TEST_F(SoundOutputTest, PanMovesTheToneBetweenChannels) {
  int a = LoadTone(440, 1);
  ASSERT_GE(a, 0);
  double l, r;
  zoSound::PanLeft(a, 0);
  MeasurePlay(this, a, 440, &l, &r);
  std::printf("PanLeft: L %.0f R %.0f\n", l, r);
  EXPECT_GT(l, 4000);
  EXPECT_LT(r, l * 0.02);
  zoSound::PanRight(a, 0);
  MeasurePlay(this, a, 440, &l, &r);
  std::printf("PanRight: L %.0f R %.0f\n", l, r);
  EXPECT_GT(r, 4000);
  EXPECT_LT(l, r * 0.02);
  zoSound::SetPan(a, -120, 0);  // clamps to full left
  MeasurePlay(this, a, 440, &l, &r);
  EXPECT_LT(r, l * 0.02);
  zoSound::SetPan(a, -6, 0);  // right side 6 dB down
  MeasurePlay(this, a, 440, &l, &r);
  std::printf("SetPan -6 dB: L %.0f R %.0f\n", l, r);
  EXPECT_NEAR(r / l, 0.5, 0.1);
  zoSound::AddPan(a, 80, 0);  // -600 + 8000 -> 7400, then +8000 clamps to full right
  zoSound::AddPan(a, 80, 0);
  MeasurePlay(this, a, 440, &l, &r);
  EXPECT_LT(l, r * 0.02);
}

TEST_F(SoundOutputTest, SeveralMixesOfOneSoundPlayAtOnce) {
  int a = LoadTone(440, 2);
  ASSERT_GE(a, 0);
  zoSound::SetFrequency(a, 441, 1);  // mix 1 at 88200 Hz sounds an octave up
  zotest::Recording rec = Record([&] {
    zoSound::Play(a, -1);
    Sleep(100);
    zoSound::Play(a, -1);
    Sleep(400);
  });
  // Some window holds both the 440 Hz of mix 0 and the 880 Hz of mix 1.
  double bestBoth = 0;
  for (size_t from = 0; from + Window <= rec.Frames(); from += Window / 2) {
    double low = zotest::ToneLevel(rec, 0, 440, from, Window);
    double high = zotest::ToneLevel(rec, 0, 880, from, Window);
    double both = low < high ? low : high;
    if (both > bestBoth) bestBoth = both;
  }
  std::printf("both mixes at once: weaker tone %.0f\n", bestBoth);
  EXPECT_GT(bestBoth, 5000);
}

TEST_F(SoundOutputTest, FrequencyClampsAt100000And100Hertz) {
  int a = LoadTone(440, 1);
  int b = LoadTone(4410, 1);
  ASSERT_GE(b, 0);
  zoSound::SetFrequency(a, 1000, 0);  // 44100 + 100000 clamps to 100000 Hz
  zotest::Recording high = Record([&] {
    zoSound::Play(a, 0);
    Sleep(300);
  });
  double at998 = zotest::PeakToneLevel(high, 0, 440.0 * 100000 / 44100, Window);
  double at440 = zotest::PeakToneLevel(high, 0, 440, Window);
  std::printf("at 100000 Hz: %.0f at 998 Hz, %.0f at 440 Hz\n", at998, at440);
  EXPECT_GT(at998, 5000);
  EXPECT_LT(at440, 500);

  zoSound::AddFrequency(b, -2000, 0);  // 44100 - 200000 is negative: 100 Hz
  zotest::Recording low = Record([&] {
    zoSound::PlayLoop(b, 0);
    Sleep(1300);
    zoSound::Stop(b, 0);
  });
  double at10 = zotest::PeakToneLevel(low, 0, 10, 44100);
  double at4410 = zotest::PeakToneLevel(low, 0, 4410, Window);
  std::printf("at 100 Hz: %.0f at 10 Hz, %.0f at 4410 Hz\n", at10, at4410);
  EXPECT_GT(at10, 3000);
  EXPECT_LT(at4410, 500);
}

TEST_F(SoundOutputTest, StopPauseAndResume) {
  int a = LoadTone(440, 2);
  ASSERT_GE(a, 0);
  DWORD marks[4] = {};
  DWORD start = 0;
  zotest::Recording rec = Record([&] {
    start = GetTickCount();
    zoSound::PlayLoop(a, 0);
    Sleep(500);
    marks[0] = GetTickCount() - start;
    zoSound::Pause(a, 0);
    Sleep(500);
    marks[1] = GetTickCount() - start;
    zoSound::Pause(a, 0);  // resumes, still looping
    Sleep(1200);           // beyond the sound's own length
    marks[2] = GetTickCount() - start;
    zoSound::Stop(a, -1);
    Sleep(500);
    marks[3] = GetTickCount() - start;
  });
  long t0 = zotest::FirstToneWindow(rec, 0, 440, Window, 4000);
  ASSERT_GE(t0, 0) << "the tone never sounded";
  auto levelAt = [&](DWORD fromMs, DWORD toMs) {
    size_t from = static_cast<size_t>(t0) + fromMs * 441 / 10;
    return zotest::ToneLevel(rec, 0, 440, from, (toMs - fromMs) * 441 / 10);
  };
  double playing = levelAt(100, marks[0] - 50);
  double paused = levelAt(marks[0] + 150, marks[1] - 50);
  double resumed = levelAt(marks[1] + 150, marks[2] - 50);
  double stopped = levelAt(marks[2] + 150, marks[3] - 50);
  std::printf("playing %.0f, paused %.0f, resumed %.0f, stopped %.0f\n", playing, paused, resumed, stopped);
  EXPECT_GT(playing, 8000);
  EXPECT_LT(paused, 300);
  EXPECT_GT(resumed, 8000);
  EXPECT_LT(stopped, 300);
}

TEST_F(SoundOutputTest, SelectFormatRebuildsEveryBufferAndKeepsTheObjects) {
  int a = LoadTone(440, 1);
  int b = LoadTone(660, 3);
  ASSERT_EQ(b, 1);
  zoSound::SetVolume(b, -10, 0);
  EXPECT_EQ(zoSound::SelectFormat(2, 22, 16), 1);
  EXPECT_NE(soundObjects[a].buffers[0], nullptr);
  for (int k = 0; k < 3; ++k) EXPECT_NE(soundObjects[b].buffers[k], nullptr);
  double fullA, quietB, r;
  MeasurePlay(this, a, 440, &fullA, &r);
  MeasurePlay(this, b, 660, &quietB, &r);
  std::printf("after SelectFormat(2, 22, 16): 440 Hz %.0f, 660 Hz at -10 dB %.0f\n", fullA, quietB);
  EXPECT_GT(fullA, 8000);
  EXPECT_NEAR(quietB / fullA, 0.316, 0.08);
  EXPECT_EQ(zoSound::SelectFormat(2, 44, 16), 1);
  MeasurePlay(this, a, 440, &fullA, &r);
  EXPECT_GT(fullA, 8000);
}

TEST_F(SoundOutputTest, RestartDeviceReloadsEveryObjectIntoItsOwnIndex) {
  ASSERT_EQ(LoadTone(440, 1), 0);
  ASSERT_EQ(LoadTone(660, 1), 1);
  ASSERT_EQ(LoadTone(990, 2), 2);
  zoSound::ReleaseObject(1);
  zoSound::SetVolume(2, -10, 1);
  zoSound::ReleaseDevice();
  EXPECT_EQ(soundDevice, nullptr);
  zoSound::RestartDevice();
  ASSERT_NE(soundDevice, nullptr);
  EXPECT_EQ(soundObjects[1].used, 0);
  EXPECT_STREQ(soundObjects[2].name, "out_a990.wav");
  double at990, at440, r;
  zotest::Recording rec = Record([] {
    zoSound::Play(2, 0);
    Sleep(400);
    zoSound::Stop(2, -1);
  });
  at990 = zotest::PeakToneLevel(rec, 0, 990, Window);
  at440 = zotest::PeakToneLevel(rec, 0, 440, Window);
  std::printf("object 2 after the restart: %.0f at 990 Hz, %.0f at 440 Hz\n", at990, at440);
  EXPECT_GT(at990, 8000);
  EXPECT_LT(at440, 300);
  double quiet;
  zotest::Recording rec1 = Record([] {
    zoSound::Play(2, 1);
    Sleep(400);
    zoSound::Stop(2, -1);
  });
  quiet = zotest::PeakToneLevel(rec1, 0, 990, Window);
  EXPECT_NEAR(quiet / at990, 0.316, 0.08) << "mix 1 kept its -10 dB";
  MeasurePlay(this, 0, 440, &at440, &r);
  EXPECT_GT(at440, 8000);
}

TEST_F(SoundOutputTest, PlaySystemSoundPlaysTheFileAndRestoresTheObjects) {
  WriteTone("out_sys1200.wav", 1200, 0.5);
  int a = LoadTone(440, 1);
  ASSERT_EQ(a, 0);
  std::string file = Folder() + "out_sys1200.wav";
  zotest::Recording rec = Record([&] { zoSound::PlaySystemSound(file.c_str()); }, 300);
  double at1200 = zotest::PeakToneLevel(rec, 0, 1200, Window);
  std::printf("system sound: %.0f at 1200 Hz\n", at1200);
  EXPECT_GT(at1200, 4000);
  ASSERT_NE(soundDevice, nullptr);
  double l, r;
  MeasurePlay(this, a, 440, &l, &r);
  EXPECT_GT(l, 8000);
}
