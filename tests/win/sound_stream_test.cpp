// Sound packs and streams through the test bed's null sink: what is
// recorded must be the source, sample for sample, in order, with no gap,
// repeat or stale chunk.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <dsound.h>

#include "recorder.h"
#include "sound/ogg_decoder.h"
#include "sound/sound_win.h"
#include "wave_builder.h"
#include "zo_test.h"

namespace {

const int Rate = 44100;

std::string Folder() { return MakeFullPath(0); }

// Stereo 16-bit noise that no stretch of silence or repetition can match:
// every frame drawn from a fixed generator, never near zero.
std::vector<int16_t> Noise(size_t frames, uint32_t seed) {
  std::vector<int16_t> s(frames * 2);
  for (auto& v : s) {
    seed = seed * 1103515245u + 12345u;
    int x = static_cast<int>((seed >> 16) % 12000) - 6000;
    v = static_cast<int16_t>(x >= 0 ? x + 500 : x - 500);
  }
  return s;
}

zotest::Bytes StereoWave(const std::vector<int16_t>& samples) {
  zotest::Bytes data;
  for (int16_t v : samples) zotest::Put16(data, static_cast<uint16_t>(v));
  return zotest::Riff("WAVE", {{"fmt ", zotest::PcmFormat(2, Rate, 16)}, {"data", data}});
}

bool Near(int a, int b) { return std::abs(a - b) <= 2; }

// Where the first frames of source begin in the recording; -1 if nowhere.
long FindStart(const zotest::Recording& r, const std::vector<int16_t>& source, size_t sourceFrame = 0) {
  const size_t probe = 256;
  for (size_t at = 0; at + probe <= r.Frames(); ++at) {
    size_t k = 0;
    while (k < probe * 2 && Near(r.samples[at * 2 + k], source[sourceFrame * 2 + k])) ++k;
    if (k == probe * 2) return static_cast<long>(at);
  }
  return -1;
}

// The number of frames from `at` that follow the source frames from
// `sourceFrame` without a difference.
size_t Matching(const zotest::Recording& r, size_t at, const std::vector<int16_t>& source,
                size_t sourceFrame) {
  size_t n = 0;
  while (at + n < r.Frames() && sourceFrame + n < source.size() / 2 &&
         Near(r.samples[(at + n) * 2], source[(sourceFrame + n) * 2]) &&
         Near(r.samples[(at + n) * 2 + 1], source[(sourceFrame + n) * 2 + 1]))
    ++n;
  return n;
}

bool Silent(const zotest::Recording& r, size_t from, size_t to) {
  for (size_t i = from * 2; i < to * 2 && i < r.samples.size(); ++i)
    if (std::abs(r.samples[i]) > 2) return false;
  return true;
}

bool SilentFrame(const zotest::Recording& r, size_t frame) {
  return std::abs(r.samples[frame * 2]) <= 2 && std::abs(r.samples[frame * 2 + 1]) <= 2;
}

// Which source frame the recording's frame m holds, searched from frame
// `from` on for up to `within` frames; -1 if none.
long SourceFrameAt(const zotest::Recording& r, size_t m, const std::vector<int16_t>& source,
                   size_t from, size_t within) {
  const size_t probe = 64, frames = source.size() / 2;
  if (m + probe > r.Frames()) return -1;
  for (size_t f = from; f < from + within && f + probe <= frames; ++f) {
    size_t k = 0;
    while (k < probe && Near(r.samples[(m + k) * 2], source[(f + k) * 2]) &&
           Near(r.samples[(m + k) * 2 + 1], source[(f + k) * 2 + 1]))
      ++k;
    if (k == probe) return static_cast<long>(f);
  }
  return -1;
}

// Follows the source from frame `from` to `to` through the recording from
// frame `at`. The test bed's audio path on a loaded machine now and then
// drops a few milliseconds or inserts a little silence; those are stepped
// over (and the largest step noted), while a chunk out of place, repeated
// or stale ends the walk.
struct Followed {
  size_t frames = 0;   // source frames heard in order
  size_t end = 0;      // the recording frame after the last one followed
  size_t source = 0;   // the source frame after the last one heard
  size_t largestStep = 0;
};

Followed Follow(const zotest::Recording& r, size_t at, const std::vector<int16_t>& source,
                size_t from, size_t to) {
  const size_t Slack = 2000;  // 45 ms
  Followed w;
  size_t m = at, f = from;
  while (f < to && m < r.Frames()) {
    size_t run = Matching(r, m, source, f);
    if (run > to - f) run = to - f;
    w.frames += run;
    m += run;
    f += run;
    if (f >= to) break;
    size_t next = m;
    while (next < r.Frames() && next < m + Slack && SilentFrame(r, next)) ++next;
    const long found = SourceFrameAt(r, next, source, f, Slack);
    if (found < 0) break;
    w.largestStep = std::max(w.largestStep, std::max(next - m, static_cast<size_t>(found) - f));
    m = next;
    f = static_cast<size_t>(found);
  }
  w.end = m;
  w.source = f;
  return w;
}

// A looping stream heard from its start to its end, then on from its loop
// frame to the end again, without a gap; answers where the second pass ended.
Followed ExpectLoopFollowed(const zotest::Recording& r, const std::vector<int16_t>& source, size_t loopFrame,
                            const char* what) {
  const long at = FindStart(r, source);
  EXPECT_GE(at, 0) << what;
  if (at < 0) return {};
  const size_t frames = source.size() / 2;
  const Followed first = Follow(r, at, source, 0, frames);
  EXPECT_EQ(first.source, frames) << what;
  const Followed again = Follow(r, first.end, source, loopFrame, frames);
  std::printf("%s: %zu frames, then %zu from the loop frame (steps %zu, %zu)\n", what, first.frames, again.frames,
              first.largestStep, again.largestStep);
  EXPECT_EQ(again.source, frames) << what;
  EXPECT_GT(again.frames, (frames - loopFrame) * 99 / 100) << what;
  return again;
}

struct SoundStreamTest : ::testing::Test {
  static std::vector<int16_t> longSound, loopSound;

  static void SetUpTestSuite() {
    zotest::CaptureBoxes();
    zotest::MakeMainWindow();
    zoSound::InitDevice();
    longSound = Noise(Rate * 9, 7);  // more than twice the four-second ring
    loopSound = Noise(Rate * 6, 11);
    CreateDirectoryA((Folder() + "streams").c_str(), nullptr);
    zotest::WriteBytes(Folder() + "streams\\long.wav", StereoWave(longSound));
    zotest::WriteBytes(Folder() + "streams\\loop.wav", StereoWave(loopSound));
    zotest::WriteBytes(Folder() + "streams\\tone.wav", zotest::ToneWave(1, Rate, 16, 440, 0.5, 0.5));
  }
  void SetUp() override {
    if (!soundReady) GTEST_SKIP() << "no sound device in this test bed";
    zotest::ClearBoxes();
    zoSound::ResetObjects();
    ASSERT_EQ(zoSound::Convert("streams.pak", "streams", 1), 1);
    zoSound::SetPackFile("streams.pak");
    Sleep(300);
  }
  void TearDown() override {
    EXPECT_TRUE(zotest::boxes.empty()) << zotest::boxes[0].text;
    zoSound::ResetObjects();
  }

  // Records while feeding the streams once every 15 ms for ms milliseconds;
  // begin runs once the recorder hears the sink (it may take a while).
  static zotest::Recording Feed(int ms, const std::function<void()>& begin,
                                const std::function<void(int elapsed)>& at = nullptr) {
    zotest::Recording none;
    if (!zotest::StartRecording()) {
      ADD_FAILURE() << "the recorder did not start";
      return none;
    }
    begin();
    const DWORD start = GetTickCount();
    for (int elapsed = 0; elapsed < ms; elapsed = static_cast<int>(GetTickCount() - start)) {
      if (at) at(elapsed);
      EXPECT_EQ(zoSound::Streaming(), 1);
      Sleep(15);
    }
    return zotest::StopRecording();
  }
};

std::vector<int16_t> SoundStreamTest::longSound, SoundStreamTest::loopSound;

bool Playing(int index) {
  DWORD status = 0;
  IDirectSoundBuffer* b = soundObjects[index].buffers[0];
  return b && b->GetStatus(&status) == DS_OK && (status & DSBSTATUS_PLAYING);
}

}  // namespace

TEST_F(SoundStreamTest, ALongStreamPlaysToItsEndThenSilenceAndStops) {
  const int s = zoSound::LoadStream("LONG.WAV", 0);
  ASSERT_GE(s, 0);
  EXPECT_NE(soundObjects[s].stream.dataSize, 0u);
  const zotest::Recording r = Feed(12500, [&] { zoSound::Play(s, 0); });
  const long at = FindStart(r, longSound);
  ASSERT_GE(at, 0) << "the stream's first frames were never heard";
  const size_t frames = longSound.size() / 2;
  const Followed w = Follow(r, at, longSound, 0, frames);
  std::printf("stream: %zu of %zu frames in order, largest step of the audio path %zu frames\n",
              w.frames, frames, w.largestStep);
  EXPECT_EQ(w.source, frames);
  EXPECT_GT(w.frames, frames - frames / 100);
  EXPECT_TRUE(Silent(r, w.end, r.Frames()));
  EXPECT_FALSE(Playing(s));
}

TEST_F(SoundStreamTest, ALoopingStreamGoesOnFromItsLoopOffsetWithoutAGap) {
  const size_t loopFrame = Rate * 2;  // two seconds in
  const int s = zoSound::LoadStream("loop.wav", static_cast<int>(loopFrame * 4));
  ASSERT_GE(s, 0);
  const zotest::Recording r = Feed(13000, [&] { zoSound::PlayLoop(s, 0); });
  zoSound::Stop(s, 0);
  const Followed again = ExpectLoopFollowed(r, loopSound, loopFrame, "looping stream");
  EXPECT_GT(Follow(r, again.end, loopSound, loopFrame, loopSound.size() / 2).frames, size_t(Rate));
}

TEST_F(SoundStreamTest, APausedStreamResumesWhereItWas) {
  const int s = zoSound::LoadStream("long.wav", 0);
  ASSERT_GE(s, 0);
  int step = 0;
  const zotest::Recording r = Feed(12000, [&] { zoSound::Play(s, 0); }, [&](int elapsed) {
    if (step == 0 && elapsed > 3000) zoSound::Pause(s, 0), ++step;
    if (step == 1 && elapsed > 4000) zoSound::Pause(s, 0), ++step;
  });
  const long at = FindStart(r, longSound);
  ASSERT_GE(at, 0);
  const size_t frames = longSound.size() / 2;
  const Followed before = Follow(r, at, longSound, 0, frames);
  size_t resume = before.end;
  while (resume < r.Frames() && SilentFrame(r, resume)) ++resume;
  const Followed after = Follow(r, resume, longSound, before.source, frames);
  std::printf("paused after %zu frames for %zu, then %zu more\n", before.source, resume - before.end,
              after.frames);
  EXPECT_GT(resume - before.end, size_t(Rate / 2));
  EXPECT_EQ(after.source, frames);
  EXPECT_GT(before.frames + after.frames, frames - frames / 100);
}

TEST_F(SoundStreamTest, PackObjectsAndStreamsComeBackInTheirSlotsAfterARestart) {
  const int tone = zoSound::LoadPack("tone.wav", 2);
  const int s = zoSound::LoadStream("long.wav", 0);
  ASSERT_GE(tone, 0);
  ASSERT_GE(s, 0);
  EXPECT_EQ(soundObjects[tone].fromPack, 1);
  EXPECT_EQ(soundObjects[tone].stream.dataSize, 0u);  // short: loaded whole
  const uint32_t size = soundObjects[s].stream.dataSize;
  zoSound::RestartDevice();
  ASSERT_EQ(soundObjects[tone].used, 1);
  ASSERT_EQ(soundObjects[s].used, 1);
  EXPECT_STREQ(soundObjects[tone].name, "tone.wav");  // kept as asked for
  EXPECT_EQ(soundObjects[s].stream.dataSize, size);
  EXPECT_EQ(soundObjects[tone].mixCount, 2);
  const zotest::Recording r = Feed(2500, [&] {
    zoSound::Play(s, 0);
    zoSound::Play(tone, 0);
  });
  zoSound::Stop(s, 0);
  EXPECT_GT(zotest::PeakToneLevel(r, 0, 440, 4410), 3000);
  // Past the tone, the stream itself.
  EXPECT_GE(SourceFrameAt(r, r.Frames() - Rate / 2, longSound, 0, longSound.size() / 2), 0);
}

namespace {

// The decoded samples of an OGG file beside the tests (written by sox at
// build time), as the library decodes them.
std::vector<int16_t> DecodedOgg(const std::string& name) {
  std::vector<uint8_t> file, pcm;
  zo::OggInfo info;
  if (!zo::ReadSoundFileBytes((Folder() + name).c_str(), &file) ||
      zo::DecodeOggWhole(file.data(), file.size(), zo::MaxOggPcmBytes, &pcm, &info) != zo::OggFault::None)
    return {};
  std::vector<int16_t> samples(pcm.size() / 2);
  std::memcpy(samples.data(), pcm.data(), samples.size() * 2);
  return samples;
}

}  // namespace

TEST_F(SoundStreamTest, AnOggStreamLoopsFromItsLoopSampleWithoutAGapAndComesBackAfterARestart) {
  const std::vector<int16_t> noise = DecodedOgg("oggs\\noise.ogg");
  ASSERT_EQ(noise.size(), size_t(Rate) * 6 * 2) << "oggs\\noise.ogg is written by sox at build time";
  const size_t loopFrame = Rate * 2 + 123;  // not on a page or packet boundary
  const int s = zoSound::LoadStreamFile("oggs\\noise.ogg", static_cast<int>(loopFrame));
  ASSERT_GE(s, 0);
  EXPECT_EQ(soundObjects[s].stream.source, StreamFromOggFile);
  EXPECT_EQ(soundObjects[s].stream.dataSize, noise.size() * 2);
  zoSound::RestartDevice();  // back in its slot, stopped, first half filled
  ASSERT_EQ(soundObjects[s].used, 1);
  EXPECT_EQ(soundObjects[s].stream.source, StreamFromOggFile);
  EXPECT_STREQ(soundObjects[s].name, "oggs\\noise.ogg");
  const zotest::Recording r = Feed(13000, [&] { zoSound::PlayLoop(s, 0); });
  zoSound::Stop(s, 0);
  ExpectLoopFollowed(r, noise, loopFrame, "looping OGG stream");
}

TEST_F(SoundStreamTest, AWholeOggSoundObjectPlays) {
  const int tone = zoSound::LoadObject("oggs\\tone.ogg", 2);
  ASSERT_GE(tone, 0);
  EXPECT_EQ(soundObjects[tone].stream.dataSize, 0u);
  EXPECT_EQ(soundObjects[tone].baseFrequency, 22050u);
  const zotest::Recording r = Feed(1500, [&] { zoSound::Play(tone, 0); });
  EXPECT_GT(zotest::PeakToneLevel(r, 0, 440, 4410), 3000);
  EXPECT_GT(zotest::PeakToneLevel(r, 1, 440, 4410), 3000);
}
