// WAV reading, the sound object table and playback control, on Windows
// with the test bed's DirectSound device.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

#include "recorder.h"
#include "sound/sound_win.h"
#include "system/file_replace_win.h"
#include "wave_builder.h"
#include "zo_test.h"

using zotest::Bytes;
using zotest::Chunk;
using zotest::PcmFormat;
using zotest::Riff;

namespace {

std::string Folder() { return MakeFullPath(0); }

std::string Write(const std::string& name, const Bytes& bytes) {
  std::string path = Folder() + name;
  EXPECT_TRUE(zotest::WriteBytes(path, bytes));
  return path;
}

// True when nothing holds the file open any more.
bool FileIsClosed(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

struct WaveResult {
  int result = -1;
  Bytes format, samples;
  int formatSize = -1, sampleSize = -1;
};

WaveResult Read(const std::string& path) {
  WaveResult r;
  WAVEFORMATEX* format = reinterpret_cast<WAVEFORMATEX*>(1);
  BYTE* samples = reinterpret_cast<BYTE*>(1);
  r.result = ReadWaveFile(path.c_str(), &format, &r.formatSize, &samples, &r.sampleSize);
  if (r.result == 0) {
    const BYTE* f = reinterpret_cast<const BYTE*>(format);
    r.format.assign(f, f + r.formatSize);
    r.samples.assign(samples, samples + r.sampleSize);
    GlobalFree(format);
    GlobalFree(samples);
  } else {
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(samples, nullptr);
    EXPECT_EQ(r.formatSize, 0);
    EXPECT_EQ(r.sampleSize, 0);
  }
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    EXPECT_TRUE(FileIsClosed(path)) << path;
  }
  return r;
}

Bytes Counting(size_t n, int seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + seed);
  return b;
}

Bytes FormatBlockOf(const Bytes& fmt16) {
  Bytes b = fmt16;
  b.resize(16);
  b.push_back(0);
  b.push_back(0);
  return b;
}

// A file of the chunks read back whole: the format block as format, the
// data chunk's bytes as samples (sampleSize their count).
void ExpectReadBack(const char* name, const std::vector<Chunk>& chunks, const Bytes& format, const Bytes& data) {
  WaveResult r = Read(Write(name, Riff("WAVE", chunks)));
  ASSERT_EQ(r.result, 0);
  EXPECT_EQ(r.formatSize, static_cast<int>(format.size()));
  EXPECT_EQ(r.format, format);
  EXPECT_EQ(r.samples, data);
  EXPECT_EQ(r.sampleSize, static_cast<int>(data.size()));
}

struct SoundEnvironment : ::testing::Environment {
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::MakeMainWindow();
    zoSound::InitDevice();
  }
};
::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new SoundEnvironment);

struct SoundTest : ::testing::Test {
  void SetUp() override {
    if (!soundReady) GTEST_SKIP() << "no sound device in this test bed";
    zotest::ClearBoxes();
    errorFlag = 0;
    zoSound::ResetObjects();
  }
  static std::string LastBox() { return zotest::boxes.empty() ? "" : zotest::boxes.back().text; }
  int UsedCount() {
    int n = 0;
    for (const SoundObject& o : soundObjects) n += o.used;
    return n;
  }
};

struct WaveReadTest : SoundTest {};

}  // namespace

// ---- ReadWaveFile over a generated corpus ----

TEST_F(WaveReadTest, GoodFilesInEveryShapeAndLayout) {
  int files = 0;
  for (int bits : {8, 16})
    for (int channels : {1, 2})
      for (uint32_t rate : {8000u, 11025u, 22050u, 44100u})
        for (int layout = 0; layout < 6; ++layout) {
          Bytes fmt = PcmFormat(channels, rate, bits);
          size_t frames = 101 + layout * 13;
          Bytes data = Counting(frames * channels * (bits / 8) + (layout == 5 ? 1 : 0), layout);
          Chunk f{"fmt ", fmt}, d{"data", data};
          Chunk list{"LIST", Counting(9, 3)};  // odd size: padded to 10
          Chunk fact{"fact", Counting(4, 1)};
          std::vector<Chunk> chunks;
          switch (layout) {
            case 0: chunks = {f, d}; break;
            case 1: chunks = {d, f}; break;                  // data first
            case 2: chunks = {list, f, d}; break;            // extra before
            case 3: chunks = {f, list, fact, d}; break;      // extras between
            case 4: chunks = {f, d, list}; break;            // extra after
            case 5: chunks = {list, d, fact, f, list}; break;  // odd data size, everything mixed
          }
          char name[64];
          std::snprintf(name, sizeof name, "good_%d_%d_%u_%d.wav", bits, channels, rate, layout);
          SCOPED_TRACE(name);
          ExpectReadBack(name, chunks, FormatBlockOf(fmt), data);
          ++files;
        }
  EXPECT_EQ(files, 96);
}

TEST_F(WaveReadTest, PcmFormatOf18BytesKeepsCbSizeZero) {
  Bytes fmt = PcmFormat(1, 22050, 16);
  zotest::Put16(fmt, 0x1234);  // a stored cbSize is not read for PCM
  Bytes data = Counting(64, 9);
  ExpectReadBack("pcm18.wav", {{"fmt ", fmt}, {"data", data}}, FormatBlockOf(fmt), data);
}

TEST_F(WaveReadTest, NonPcmFormatCarriesItsExtraBytes) {
  Bytes fmt = PcmFormat(1, 22050, 4);
  fmt[0] = 2;  // ADPCM
  zotest::Put16(fmt, 32);
  Bytes extra = Counting(32, 5);
  fmt.insert(fmt.end(), extra.begin(), extra.end());
  ASSERT_EQ(fmt.size(), 50u);
  Bytes data = Counting(256, 2);
  ExpectReadBack("adpcm.wav", {{"fmt ", fmt}, {"fact", Counting(4, 0)}, {"data", data}}, fmt, data);
}

TEST_F(WaveReadTest, BareNonPcmFormatTakesNothingFromTheNextChunk) {
  Bytes fmt = PcmFormat(1, 22050, 8);
  fmt[0] = 3;
  Bytes data = Counting(100, 4);
  // The data chunk's header follows at once: its "da" must not become cbSize.
  ExpectReadBack("bare_nonpcm.wav", {{"fmt ", fmt}, {"data", data}}, FormatBlockOf(fmt), data);
}

TEST_F(WaveReadTest, MalformedFilesAreRefused) {
  Bytes fmt = PcmFormat(2, 44100, 16);
  Bytes data = Counting(400, 1);
  Bytes good = Riff("WAVE", {{"fmt ", fmt}, {"data", data}});
  Bytes nonPcm = PcmFormat(1, 22050, 4);
  nonPcm[0] = 2;
  zotest::Put16(nonPcm, 40);  // claims 40 extra bytes, holds 4
  Bytes four = Counting(4, 0);
  nonPcm.insert(nonPcm.end(), four.begin(), four.end());
  Bytes fmt14(fmt.begin(), fmt.begin() + 14);

  struct Case {
    const char* name;
    Bytes bytes;
  };
  std::vector<Case> cases = {
      {"bad_empty.wav", {}},
      {"bad_riff_cut.wav", Bytes(good.begin(), good.begin() + 6)},
      {"bad_form_cut.wav", Bytes(good.begin(), good.begin() + 10)},
      {"bad_fmt_cut.wav", Bytes(good.begin(), good.begin() + 28)},
      {"bad_data_header_cut.wav", Bytes(good.begin(), good.begin() + 40)},
      {"bad_data_cut.wav", Bytes(good.begin(), good.end() - 1)},
      {"bad_no_fmt.wav", Riff("WAVE", {{"data", data}})},
      {"bad_no_data.wav", Riff("WAVE", {{"fmt ", fmt}, {"LIST", four}})},
      {"bad_fmt14.wav", Riff("WAVE", {{"fmt ", fmt14}, {"data", data}})},
      {"bad_extra_beyond_chunk.wav", Riff("WAVE", {{"fmt ", nonPcm}, {"data", data}})},
      {"bad_data_beyond_file.wav", Riff("WAVE", {{"fmt ", fmt}, {"data", data, 100000}})},
      {"bad_chunk_beyond_file.wav", Riff("WAVE", {{"fmt ", fmt}, {"LIST", four, 0x7FFFFFF0}, {"data", data}})},
      {"bad_form.wav", Riff("AVI ", {{"fmt ", fmt}, {"data", data}})},
      {"bad_not_riff.wav", Bytes{'R', 'I', 'F', 'X', 8, 0, 0, 0, 'W', 'A', 'V', 'E'}},
  };
  for (const Case& c : cases) {
    WaveResult r = Read(Write(c.name, c.bytes));
    EXPECT_EQ(r.result, 1) << c.name;
  }
  EXPECT_EQ(Read(Folder() + "no_such_file.wav").result, 1);
}

TEST_F(WaveReadTest, EmptyDataChunkReadsAsNoSamples) {
  Bytes fmt = PcmFormat(1, 8000, 8);
  ExpectReadBack("empty_data.wav", {{"fmt ", fmt}, {"data", {}}}, FormatBlockOf(fmt), {});
}

TEST_F(WaveReadTest, FailedReadsGiveTheirMemoryBack) {
  // Each failure has allocated 64 MB for a data chunk the file does not
  // hold; were the blocks kept, the address space would run out long before
  // the last read.
  Bytes fmt = PcmFormat(2, 44100, 16);
  std::string path = Write("bad_big_claim.wav", Riff("WAVE", {{"fmt ", fmt}, {"data", Counting(64, 0), 64 << 20}}));
  for (int i = 0; i < 60; ++i) ASSERT_EQ(Read(path).result, 1) << i;
  void* big = GlobalAlloc(GMEM_FIXED, 512u << 20);
  EXPECT_NE(big, nullptr);
  if (big) GlobalFree(big);
}

// ---- Sound objects ----

TEST_F(SoundTest, MixArgumentGivesBuffersAndEcho) {
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.2));
  struct Case {
    int mix, buffers, echoStep;
  } cases[] = {{2, 2, 0}, {-2, 2, -1}, {1, 1, -1}, {-1, 1, -1}, {10, 10, 0}, {-10, 10, -1}, {0, 1, -1}};
  for (const Case& c : cases) {
    int i = zoSound::LoadObject("obj_tone.wav", c.mix);
    ASSERT_GE(i, 0) << c.mix;
    const SoundObject& o = soundObjects[i];
    EXPECT_EQ(o.used, 1);
    EXPECT_EQ(o.mixCount, c.buffers) << c.mix;
    EXPECT_EQ(o.echoStep, c.echoStep) << c.mix;
    EXPECT_EQ(o.nextMix, 0);
    EXPECT_EQ(o.fromPack, 0);
    EXPECT_STREQ(o.name, "obj_tone.wav");
    for (int k = 0; k < MaxMixes; ++k) EXPECT_EQ(o.buffers[k] != nullptr, k < c.buffers) << c.mix << " " << k;
    EXPECT_EQ(o.baseFrequency, 22050u);
    for (int k = 0; k < c.buffers; ++k) {
      EXPECT_EQ(o.frequency[k], 22050u);
      EXPECT_EQ(o.volume[k], 0);
      EXPECT_EQ(o.pan[k], 0);
    }
  }
  EXPECT_TRUE(zotest::boxes.empty());
  for (int mix : {11, -11}) {
    int used = UsedCount();
    EXPECT_EQ(zoSound::LoadObject("obj_tone.wav", mix), -1);
    EXPECT_EQ(LastBox(), "zoSound::LoadObject : ミックス数が多過ぎます");
    EXPECT_EQ(UsedCount(), used);
  }
  EXPECT_EQ(errorFlag, 1);
}

TEST_F(SoundTest, OddSampleCountsAndEveryShapeLoad) {
  for (int bits : {8, 16})
    for (int channels : {1, 2}) {
      Bytes data = zotest::Tone(channels, 11025, bits, 300, 0.1);
      data.push_back(0);  // one byte more than whole frames
      char name[32];
      std::snprintf(name, sizeof name, "obj_odd_%d_%d.wav", bits, channels);
      Write(name, Riff("WAVE", {{"LIST", Counting(3, 0)}, {"fmt ", PcmFormat(channels, 11025, bits)}, {"data", data}}));
      int i = zoSound::LoadObject(name, 2);
      ASSERT_GE(i, 0) << name << " " << LastBox();
      EXPECT_EQ(soundObjects[i].baseFrequency, 11025u);
    }
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(SoundTest, TableFillsLowestFirstAndRefusesTheSeventyFirst) {
  Write("obj_tone.wav", zotest::ToneWave(1, 8000, 8, 440, 0.05));
  for (int i = 0; i < MaxSoundObjects; ++i) ASSERT_EQ(zoSound::LoadObject("obj_tone.wav", 1), i);
  EXPECT_EQ(zoSound::LoadObject("obj_tone.wav", 1), -1);
  EXPECT_EQ(LastBox(), "zoSound::LoadObject : オブジェクト数が多過ぎます");
  zoSound::ReleaseObject(5);
  EXPECT_EQ(soundObjects[5].used, 0);
  EXPECT_EQ(soundObjects[5].name[0], '\0');
  EXPECT_EQ(soundObjects[5].buffers[0], nullptr);
  EXPECT_EQ(soundObjects[5].baseFrequency, 0u);
  zoSound::ReleaseObject(5);  // a free slot: nothing happens
  zoSound::ReleaseObject(-1);
  zoSound::ReleaseObject(70);
  EXPECT_EQ(zoSound::LoadObject("obj_tone.wav", 1), 5);
}

TEST_F(SoundTest, NamesUpToThirtyCharactersAreKept) {
  std::string name30 = "n30_" + std::string(22, 'x') + ".wav";
  std::string name31 = "n31_" + std::string(23, 'x') + ".wav";
  ASSERT_EQ(name30.size(), 30u);
  Write(name30, zotest::ToneWave(1, 8000, 8, 440, 0.05));
  Write(name31, zotest::ToneWave(1, 8000, 8, 440, 0.05));
  int i = zoSound::LoadObject(name30.c_str(), 1);
  ASSERT_GE(i, 0);
  EXPECT_EQ(std::string(soundObjects[i].name), name30);
  // A longer name is refused before anything is loaded: no nameless sound stays behind.
  EXPECT_EQ(zoSound::LoadObject(name31.c_str(), 1), -1);
  EXPECT_EQ(LastBox(), "zoSound::LoadObject : ファイル名またはリソース名が長すぎます");
  EXPECT_EQ(UsedCount(), 1);
  std::string huge(400, 'y');
  EXPECT_EQ(zoSound::LoadObject(huge.c_str(), 1), -1);
  EXPECT_EQ(LastBox(), "zoSound::LoadObject : ファイル名またはリソース名が長すぎます");
  EXPECT_EQ(UsedCount(), 1);
}

TEST_F(SoundTest, ResourcesOfTypeRcdataAndWave) {
  int a = zoSound::LoadObject("restone", 2);  // RCDATA
  ASSERT_GE(a, 0);
  EXPECT_EQ(soundObjects[a].baseFrequency, 22050u);
  EXPECT_EQ(soundObjects[a].mixCount, 2);
  EXPECT_STREQ(soundObjects[a].name, "restone");
  int b = zoSound::LoadObject("RESWAVE", 1);  // WAVE
  ASSERT_GE(b, 0);
  EXPECT_EQ(soundObjects[b].baseFrequency, 11025u);
  EXPECT_TRUE(zotest::boxes.empty());
  // A buffer of the resource's exact sample size was made.
  DSBCAPS caps = {};
  caps.dwSize = sizeof caps;
  ASSERT_EQ(soundObjects[a].buffers[1]->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwBufferBytes, 4000u);

  EXPECT_EQ(zoSound::LoadObject("resshort", 1), -1);  // claims more samples than it holds
  EXPECT_EQ(LastBox(), "zoSound::LoadObject : WAVEリソースが見つかりません");
  EXPECT_EQ(zoSound::LoadObject("nothing_here", 1), -1);
  EXPECT_EQ(LastBox(), "zoSound::LoadObject : WAVEリソースが見つかりません");
  EXPECT_EQ(UsedCount(), 2);
}

TEST_F(SoundTest, MalformedFilesLeaveTheSlotFree) {
  Bytes fmt = PcmFormat(1, 22050, 16);
  Write("obj_bad1.wav", Riff("WAVE", {{"fmt ", fmt}, {"data", Counting(100, 0), 5000}}));
  Write("obj_bad2.wav", Riff("WAVE", {{"fmt ", fmt}}));
  Write("obj_bad3.wav", Bytes(20, 'R'));
  for (const char* name : {"obj_bad1.wav", "obj_bad2.wav", "obj_bad3.wav"}) {
    zotest::ClearBoxes();
    EXPECT_EQ(zoSound::LoadObject(name, 3), -1) << name;
    ASSERT_EQ(zotest::boxes.size(), 1u) << name;
    EXPECT_EQ(LastBox(), "zoSound::LoadObject : WAVEリソースが見つかりません") << name;
    EXPECT_EQ(soundObjects[0].used, 0) << name;
    EXPECT_EQ(soundObjects[0].buffers[0], nullptr) << name;
  }
}

TEST_F(SoundTest, UnplayableSamplesReportTheBuffer) {
  Bytes bogus = PcmFormat(0, 22050, 16);  // no channels: no buffer can take it
  Write("obj_nochan.wav", Riff("WAVE", {{"fmt ", bogus}, {"data", Counting(400, 0)}}));
  Write("obj_empty.wav", Riff("WAVE", {{"fmt ", PcmFormat(1, 22050, 16)}, {"data", {}}}));
  for (const char* name : {"obj_nochan.wav", "obj_empty.wav"}) {
    zotest::ClearBoxes();
    EXPECT_EQ(zoSound::LoadObject(name, 4), -1) << name;
    EXPECT_EQ(LastBox(), "zoSound::LoadObject : サウンドバッファが生成できません") << name;
    EXPECT_EQ(soundObjects[0].used, 0);
    for (int k = 0; k < MaxMixes; ++k) EXPECT_EQ(soundObjects[0].buffers[k], nullptr);
    EXPECT_TRUE(FileIsClosed(Folder() + name));
  }
}

TEST_F(SoundTest, OutOfRangeOperationsDoNothing) {
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.3));
  int a = zoSound::LoadObject("obj_tone.wav", 2);
  ASSERT_EQ(a, 0);
  for (int index : {-1, 70, 1000, 3}) {  // 3 is a free slot
    zoSound::Play(index, 0);
    zoSound::PlayLoop(index, -2);
    zoSound::Stop(index, -1);
    zoSound::Pause(index, 0);
    zoSound::SetVolume(index, -10, -1);
    zoSound::AddPan(index, 5, 0);
    zoSound::SetFrequency(index, 5, 0);
    zoSound::ResetFrequency(index, -1);
    zoSound::Echo(index, 0, 3, 10);
    zoSound::EchoWander(index, 0, 3, 10, 2);
    EXPECT_EQ(zoSound::GetPosition(index), 0u);
  }
  // Mixes at or above mixCount.
  zoSound::Play(a, 2);
  zoSound::SetVolume(a, -20, 2);
  zoSound::Pause(a, 9);
  zoSound::SetVolume(a, -20, 10);
  EXPECT_EQ(soundObjects[a].volume[2], 0);
  EXPECT_EQ(soundObjects[a].looping, 0);
  DWORD status = 1;
  soundObjects[a].buffers[0]->GetStatus(&status);
  EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
  EXPECT_TRUE(zotest::boxes.empty());
}

// ---- Playback control through the buffers' own answers ----

namespace {
// A buffer's answer to one of its getters; start when the call fails.
template <typename T>
T Ask(IDirectSoundBuffer* b, HRESULT (STDMETHODCALLTYPE IDirectSoundBuffer::*get)(T*), T start) {
  T v = start;
  (b->*get)(&v);
  return v;
}
LONG VolumeOf(IDirectSoundBuffer* b) { return Ask<LONG>(b, &IDirectSoundBuffer::GetVolume, 1); }
LONG PanOf(IDirectSoundBuffer* b) { return Ask<LONG>(b, &IDirectSoundBuffer::GetPan, 1); }
DWORD FrequencyOf(IDirectSoundBuffer* b) { return Ask<DWORD>(b, &IDirectSoundBuffer::GetFrequency, 0); }
bool Playing(IDirectSoundBuffer* b) { return Ask<DWORD>(b, &IDirectSoundBuffer::GetStatus, 0) & DSBSTATUS_PLAYING; }
bool Looping(IDirectSoundBuffer* b) { return Ask<DWORD>(b, &IDirectSoundBuffer::GetStatus, 0) & DSBSTATUS_LOOPING; }
}  // namespace

TEST_F(SoundTest, RoundRobinStartsTheMixesInTurn) {
  Write("obj_long.wav", zotest::ToneWave(1, 22050, 16, 440, 2.0));
  int a = zoSound::LoadObject("obj_long.wav", 3);
  SoundObject& o = soundObjects[a];
  zoSound::Play(a, -1);
  EXPECT_TRUE(Playing(o.buffers[0]));
  EXPECT_FALSE(Playing(o.buffers[1]));
  zoSound::Play(a, -1);
  zoSound::Play(a, -1);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(Playing(o.buffers[k]));
  EXPECT_EQ(o.nextMix, 0);
  Sleep(300);
  DWORD before = 0;
  o.buffers[0]->GetCurrentPosition(&before, nullptr);
  zoSound::Play(a, -1);  // the fourth start restarts mix 0
  DWORD after = 0;
  o.buffers[0]->GetCurrentPosition(&after, nullptr);
  EXPECT_GT(before, 4000u);
  EXPECT_LT(after, before);
  EXPECT_EQ(o.nextMix, 1);
  zoSound::Play(a, 2);  // a chosen mix leaves the turn alone
  EXPECT_EQ(o.nextMix, 1);
  EXPECT_EQ(o.looping, 0);
  zoSound::PlayLoop(a, 1);
  EXPECT_TRUE(Looping(o.buffers[1]));
  EXPECT_EQ(o.looping, 1);
  Sleep(100);
  EXPECT_GT(zoSound::GetPosition(a), 0u);
  zoSound::Stop(a, 1);
  EXPECT_FALSE(Playing(o.buffers[1]));
  EXPECT_TRUE(Playing(o.buffers[0]));
  zoSound::Stop(a, -1);
  for (int k = 0; k < 3; ++k) EXPECT_FALSE(Playing(o.buffers[k]));
  EXPECT_EQ(zoSound::GetPosition(a), 0u);
}

TEST_F(SoundTest, SettersStoreClampAndSend) {
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.3));
  int a = zoSound::LoadObject("obj_tone.wav", 3);
  SoundObject& o = soundObjects[a];
  zoSound::SetVolume(a, 10, 0);
  EXPECT_EQ(o.volume[0], 0);
  zoSound::SetVolume(a, -150, 0);
  EXPECT_EQ(o.volume[0], -10000);
  EXPECT_EQ(VolumeOf(o.buffers[0]), -10000);
  zoSound::SetVolume(a, -30, -1);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(o.volume[k], -3000);
    EXPECT_EQ(VolumeOf(o.buffers[k]), -3000);
  }
  zoSound::AddVolume(a, 50, 1);
  EXPECT_EQ(o.volume[1], 0);
  zoSound::AddVolume(a, -80, 2);
  EXPECT_EQ(o.volume[2], -10000);
  zoSound::AddVolume(a, 2000000000, 2);  // no wrap-around in the hundredfold
  EXPECT_EQ(o.volume[2], 0);
  zoSound::ResetVolume(a, -1);
  EXPECT_EQ(VolumeOf(o.buffers[0]), 0);

  o.nextMix = 1;
  zoSound::SetVolume(a, -7, -2);  // only the next mix in turn
  EXPECT_EQ(o.volume[0], 0);
  EXPECT_EQ(o.volume[1], -700);
  EXPECT_EQ(o.volume[2], 0);

  zoSound::SetPan(a, -120, 0);
  EXPECT_EQ(o.pan[0], -10000);
  EXPECT_EQ(PanOf(o.buffers[0]), -10000);
  zoSound::SetPan(a, 80, 1);
  zoSound::AddPan(a, 50, 1);
  EXPECT_EQ(o.pan[1], 10000);
  zoSound::AddPan(a, -3, 1);
  EXPECT_EQ(o.pan[1], 9700);
  EXPECT_EQ(PanOf(o.buffers[1]), 9700);
  zoSound::PanLeft(a, 2);
  EXPECT_EQ(o.pan[2], -10000);
  zoSound::PanRight(a, -1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(PanOf(o.buffers[k]), 10000);
  zoSound::ResetPan(a, -3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(o.pan[k], 0);

  zoSound::SetFrequency(a, 1000, 0);
  EXPECT_EQ(o.frequency[0], 100000u);
  EXPECT_EQ(FrequencyOf(o.buffers[0]), 100000u);
  zoSound::ResetFrequency(a, 0);
  zoSound::AddFrequency(a, -300, 0);
  EXPECT_EQ(o.frequency[0], 100u);
  EXPECT_EQ(FrequencyOf(o.buffers[0]), 100u);
  zoSound::AddFrequency(a, 10, 0);
  EXPECT_EQ(o.frequency[0], 1100u);
  zoSound::SetFrequency(a, -10, -1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(FrequencyOf(o.buffers[k]), 21050u);
  zoSound::ResetFrequency(a, -1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(o.frequency[k], 22050u);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(SoundTest, EchoReplaysOnTheOtherMixesEachQuieter) {
  Write("obj_long.wav", zotest::ToneWave(1, 22050, 16, 440, 2.0));
  int a = zoSound::LoadObject("obj_long.wav", 3);
  SoundObject& o = soundObjects[a];
  zoSound::SetVolume(a, -5, -1);  // reset by the echo start
  zoSound::Play(a, -2);
  EXPECT_EQ(o.echoStep, 1);
  EXPECT_EQ(o.echoLooping, 0);
  EXPECT_TRUE(o.echoPanDirection == 1 || o.echoPanDirection == -1);
  EXPECT_EQ(o.volume[0], 0);
  EXPECT_TRUE(Playing(o.buffers[0]));
  EXPECT_EQ(o.nextMix, 1);

  frameDelta = 0.05f;
  std::vector<int> started;  // mix number and its volume when each echo fires
  std::vector<LONG> volumes;
  for (int frame = 0; frame < 30; ++frame) {
    int before = o.nextMix;
    zoSound::Echo(a, 200, 4, 10);
    if (o.nextMix != before) {
      started.push_back(before);
      volumes.push_back(VolumeOf(o.buffers[before]));
      EXPECT_TRUE(Playing(o.buffers[before]));
    }
  }
  EXPECT_EQ(started, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(volumes, (std::vector<LONG>{-1000, -2000, -3000, -4000}));
  EXPECT_EQ(o.echoStep, 0);
  zoSound::Stop(a, -1);

  // Stop on one mix leaves the echo running; on every mix it ends it.
  zoSound::PlayLoop(a, -2);
  EXPECT_EQ(o.echoLooping, 1);
  zoSound::Stop(a, 0);
  EXPECT_EQ(o.echoStep, 1);
  zoSound::Stop(a, -1);
  EXPECT_EQ(o.echoStep, 0);
  int turn = o.nextMix;
  for (int frame = 0; frame < 10; ++frame) zoSound::Echo(a, 10, 4, 10);
  EXPECT_EQ(o.nextMix, turn);
}

TEST_F(SoundTest, ObjectsThatCannotEchoJustPlayInTurn) {
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.3));
  for (int mix : {1, -3}) {
    int a = zoSound::LoadObject("obj_tone.wav", mix);
    SoundObject& o = soundObjects[a];
    zoSound::SetVolume(a, -5, -1);
    zoSound::Play(a, -2);
    EXPECT_EQ(o.echoStep, -1);
    EXPECT_EQ(o.volume[0], -500) << "no echo start, no reset";
    frameDelta = 1.0f;
    int turn = o.nextMix;
    zoSound::Echo(a, 10, 4, 10);
    EXPECT_EQ(o.nextMix, turn);
    zoSound::Stop(a, -1);
    EXPECT_EQ(o.echoStep, -1);
  }
}

TEST_F(SoundTest, EchoWanderDriftsThePanWithinThirtyDecibels) {
  Write("obj_long.wav", zotest::ToneWave(1, 22050, 16, 440, 2.0));
  int a = zoSound::LoadObject("obj_long.wav", 4);
  SoundObject& o = soundObjects[a];
  zoSound::PlayLoop(a, -2);
  o.echoPanDirection = 1;
  frameDelta = 0.1f;
  int fired = 0;
  for (int frame = 0; frame < 6; ++frame) {
    int before = o.nextMix;
    zoSound::EchoWander(a, 50, 6, 3, 1);  // 100 x speed 1 dB/s of drift: 10 dB a frame
    if (o.nextMix != before) {
      ++fired;
      LONG expected = static_cast<LONG>(o.echoPan) * 100;
      EXPECT_EQ(PanOf(o.buffers[before]), expected);
      EXPECT_TRUE(Looping(o.buffers[before]));
    }
    EXPECT_GE(o.echoPan, -30.0f);
    EXPECT_LE(o.echoPan, 30.0f);
  }
  EXPECT_EQ(fired, 6);
  EXPECT_EQ(o.echoPanDirection, -1);  // reversed at +30
  EXPECT_EQ(o.echoStep, 0);
  zoSound::Stop(a, -1);
}

TEST_F(SoundTest, PauseTogglesAtTheCursor) {
  Write("obj_long.wav", zotest::ToneWave(1, 22050, 16, 440, 2.0));
  int a = zoSound::LoadObject("obj_long.wav", 2);
  SoundObject& o = soundObjects[a];
  zoSound::PlayLoop(a, 0);
  Sleep(200);
  zoSound::Pause(a, 0);
  EXPECT_FALSE(Playing(o.buffers[0]));
  EXPECT_GT(o.pausePosition[0], 2000u);
  DWORD held = 0;
  o.buffers[0]->GetCurrentPosition(&held, nullptr);
  EXPECT_EQ(held, o.pausePosition[0]);
  zoSound::Pause(a, 0);
  EXPECT_TRUE(Playing(o.buffers[0]));
  EXPECT_TRUE(Looping(o.buffers[0]));
  EXPECT_GE(zoSound::GetPosition(a), o.pausePosition[0]);
  // Applied to every mix: the playing one pauses, the idle one starts.
  zoSound::Pause(a, -1);
  EXPECT_FALSE(Playing(o.buffers[0]));
  EXPECT_TRUE(Playing(o.buffers[1]));
  zoSound::Stop(a, -1);
}

TEST_F(SoundTest, SelectFormatKeepsEverySetting) {
  Write("obj_tone.wav", zotest::ToneWave(2, 44100, 16, 440, 0.3));
  int a = zoSound::LoadObject("obj_tone.wav", 2);
  SoundObject& o = soundObjects[a];
  zoSound::SetVolume(a, -10, 1);
  zoSound::SetPan(a, 12, 0);
  zoSound::SetFrequency(a, -50, 1);
  o.nextMix = 1;
  EXPECT_EQ(zoSound::SelectFormat(1, 22, 8), 1);
  EXPECT_EQ(reloading, 0);
  EXPECT_EQ(o.used, 1);
  EXPECT_EQ(o.nextMix, 1);
  EXPECT_EQ(o.echoStep, 0);
  EXPECT_EQ(VolumeOf(o.buffers[1]), -1000);
  EXPECT_EQ(PanOf(o.buffers[0]), 1200);
  EXPECT_EQ(FrequencyOf(o.buffers[1]), 39100u);
  EXPECT_EQ(o.baseFrequency, 44100u);
  EXPECT_STREQ(o.name, "obj_tone.wav");
  WAVEFORMATEX format = {};
  primaryBuffer->GetFormat(&format, sizeof format, nullptr);
  EXPECT_EQ(format.nSamplesPerSec, 22050u);
  EXPECT_EQ(format.nChannels, 1);
  EXPECT_EQ(format.wBitsPerSample, 8);
  EXPECT_EQ(zoSound::SelectFormat(2, 44, 16), 1);
  EXPECT_TRUE(zotest::boxes.empty());

  // Without a device nothing changes and the answer is 1.
  soundReady = 0;
  EXPECT_EQ(zoSound::SelectFormat(1, 8, 8), 1);
  EXPECT_EQ(zoSound::LoadObject("obj_tone.wav", 1), -1);
  soundReady = 1;
  EXPECT_NE(o.buffers[0], nullptr);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(SoundTest, RefusedFormatIsReportedAndLeavesNoBuffers) {
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.3));
  int a = zoSound::LoadObject("obj_tone.wav", 2);
  EXPECT_EQ(zoSound::SelectFormat(0, 44, 16), 0);
  EXPECT_EQ(LastBox(), "zoSound::SelectFormat : 再生フォーマットを変更できません");
  EXPECT_EQ(soundObjects[a].used, 1);
  EXPECT_EQ(soundObjects[a].buffers[0], nullptr);
  zoSound::Play(a, -1);  // nothing to play, nothing breaks
  zoSound::PlayLoop(a, -2);
  zoSound::SetVolume(a, -10, -1);
  EXPECT_EQ(soundObjects[a].nextMix, 0);
  EXPECT_EQ(soundObjects[a].looping, 0);
  EXPECT_EQ(soundObjects[a].echoStep, 0);
  EXPECT_EQ(soundObjects[a].volume[1], 0);
  EXPECT_EQ(zoSound::GetPosition(a), 0u);
  EXPECT_EQ(zoSound::SelectFormat(2, 44, 16), 1);
  EXPECT_NE(soundObjects[a].buffers[1], nullptr);
}

TEST_F(SoundTest, ReleaseAndRestartTheDevice) {
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.3));
  ASSERT_EQ(zoSound::LoadObject("obj_tone.wav", 1), 0);
  ASSERT_EQ(zoSound::LoadObject("restone", 3), 1);
  ASSERT_EQ(zoSound::LoadObject("obj_tone.wav", -2), 2);
  zoSound::ReleaseObject(0);
  zoSound::SetVolume(1, -20, 2);
  soundObjects[1].nextMix = 2;
  soundObjects[1].echoStep = 3;  // a running echo ends with the reload
  zoSound::ReleaseDevice();
  EXPECT_EQ(soundDevice, nullptr);
  EXPECT_EQ(primaryBuffer, nullptr);
  EXPECT_EQ(soundReady, 1);
  EXPECT_EQ(soundObjects[1].buffers[0], nullptr);
  zoSound::ReleaseDevice();  // nothing left to release
  zoSound::Play(1, 0);
  EXPECT_EQ(zoSound::LoadObject("obj_tone.wav", 1), -1);  // no device: silently nothing
  EXPECT_TRUE(zotest::boxes.empty());

  zoSound::RestartDevice();
  ASSERT_NE(soundDevice, nullptr);
  EXPECT_EQ(soundObjects[0].used, 0);
  EXPECT_EQ(soundObjects[0].buffers[0], nullptr);
  EXPECT_EQ(soundObjects[1].mixCount, 3);
  EXPECT_EQ(soundObjects[1].nextMix, 2);
  EXPECT_EQ(soundObjects[1].echoStep, 0);
  EXPECT_EQ(VolumeOf(soundObjects[1].buffers[2]), -2000);
  EXPECT_STREQ(soundObjects[1].name, "restone");
  EXPECT_EQ(soundObjects[2].mixCount, 2);
  EXPECT_EQ(soundObjects[2].echoStep, 0);  // reloaded with its positive mix count
  EXPECT_NE(soundObjects[2].buffers[1], nullptr);
  EXPECT_TRUE(zotest::boxes.empty());
}

// ---- Formats the mixer cannot play ----

TEST_F(SoundTest, RatesOutsideTheMixersRangeAreRefusedFromFilesResourcesAndReloads) {
  const char* const bufferBox = "zoSound::LoadObject : サウンドバッファが生成できません";
  for (uint32_t rate : {0u, 99u, 100001u, 6000000u, 0x7FFFFFFFu}) {
    Write("obj_rate.wav", Riff("WAVE", {{"fmt ", PcmFormat(1, rate, 8)}, {"data", Counting(64, 1)}}));
    zotest::ClearBoxes();
    EXPECT_EQ(zoSound::LoadObject("obj_rate.wav", 2), -1) << rate;
    ASSERT_EQ(zotest::boxes.size(), 1u) << rate;
    EXPECT_EQ(LastBox(), bufferBox) << rate;
    EXPECT_EQ(soundObjects[0].used, 0) << rate;
  }
  for (uint32_t rate : {100u, 100000u}) {  // the limits themselves play
    Write("obj_rate.wav", Riff("WAVE", {{"fmt ", PcmFormat(1, rate, 8)}, {"data", Counting(64, 1)}}));
    const int index = zoSound::LoadObject("obj_rate.wav", 1);
    EXPECT_GE(index, 0) << rate;
    zoSound::ReleaseObject(index);
  }
  zotest::ClearBoxes();
  EXPECT_EQ(zoSound::LoadObject("resrate", 1), -1);
  EXPECT_EQ(LastBox(), bufferBox);

  // A file that changed under a loaded object is checked again on reload.
  Write("obj_rate.wav", Riff("WAVE", {{"fmt ", PcmFormat(1, 22050, 8)}, {"data", Counting(64, 1)}}));
  ASSERT_EQ(zoSound::LoadObject("obj_rate.wav", 1), 0);
  Write("obj_rate.wav", Riff("WAVE", {{"fmt ", PcmFormat(1, 6000000, 8)}, {"data", Counting(64, 1)}}));
  zotest::ClearBoxes();
  zoSound::ReleaseDevice();
  zoSound::RestartDevice();
  EXPECT_EQ(LastBox(), bufferBox);
  EXPECT_EQ(soundObjects[0].buffers[0], nullptr);
}

// ---- Sound packs written ----

namespace {
// A folder below the executable holding the given WAV files, emptied first.
void MakeWavFolder(const std::string& folder, const std::vector<std::string>& names) {
  const std::string root = Folder() + folder;
  CreateDirectoryA(root.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((root + "\\*.WAV").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do DeleteFileA((root + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  int seed = 0;
  for (const std::string& name : names)
    Write(folder + "\\" + name, Riff("WAVE", {{"fmt ", PcmFormat(1, 8000, 8)}, {"data", Counting(300, ++seed)}}));
}
}  // namespace

TEST_F(SoundTest, AFailedPackWriteKeepsTheOldPack) {
  MakeWavFolder("packsrc", {"A.WAV", "B.WAV"});
  const std::string pack = Folder() + "zo_written.pak";
  ASSERT_EQ(zoSound::Convert("zo_written.pak", "packsrc", 1), 1);
  const Bytes first = zotest::ReadBytes(pack);
  ASSERT_EQ(first.size(), 2u * (4 + 6 + 4 + 18 + 300));
  for (uint64_t budget : {0u, 40u, 400u, 2u * 332 - 1}) {  // in the head, the samples, the second entry
    zotest::ClearBoxes();
    zo::replacingFileWriteBudget = budget;
    EXPECT_EQ(zoSound::Convert("zo_written.pak", "packsrc", 0), 0) << budget;
    zo::replacingFileWriteBudget = UINT64_MAX;
    EXPECT_EQ(LastBox(), "zoSound::Convert : パックファイルに書き込めません") << budget;
    EXPECT_EQ(zotest::ReadBytes(pack), first) << budget;
  }
  EXPECT_EQ(zotest::CountFiles(Folder() + "zo*.tmp"), 0);
  // Appending after all that still extends the pack that was there.
  zotest::ClearBoxes();
  ASSERT_EQ(zoSound::Convert("zo_written.pak", "packsrc", 0), 1);
  const Bytes twice = zotest::ReadBytes(pack);
  ASSERT_EQ(twice.size(), 2 * first.size());
  EXPECT_TRUE(std::equal(first.begin(), first.end(), twice.begin()));
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(SoundTest, PackEntryNamesTheReaderCannotTakeAreSkippedAndReported) {
  const std::string longName = std::string(123, 'L') + ".WAV";  // 127 bytes: still readable
  const std::string tooLong = std::string(124, 'M') + ".WAV";   // 128 bytes
  MakeWavFolder("packlong", {"A.WAV", longName, tooLong});
  ASSERT_EQ(zoSound::Convert("zo_long.pak", "packlong", 1), 1);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(LastBox(), "zoSound::Convert : ファイル名が長すぎます");
  EXPECT_EQ(zotest::ReadBytes(Folder() + "zo_long.pak").size(),
            (4 + 6 + 4 + 18 + 300) + (4 + 128 + 4 + 18 + 300));
  zoSound::SetPackFile("zo_long.pak");
  EXPECT_GE(zoSound::LoadPack("a.wav", 1), 0);  // what comes after the skipped one is reachable
}

TEST_F(SoundTest, ShutdownReleasesTheDevice) {
  // Last in this program: zoSystem::End gives everything back.
  Write("obj_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.3));
  int a = zoSound::LoadObject("obj_tone.wav", 2);
  closeState = 2;  // as if the window were already closing
  zoSystem::End();
  EXPECT_EQ(soundDevice, nullptr);
  EXPECT_EQ(soundObjects[a].buffers[0], nullptr);
  EXPECT_EQ(soundObjects[a].used, 1);
  zoSound::Play(a, -1);
  EXPECT_EQ(zoSound::LoadObject("obj_tone.wav", 1), -1);
  EXPECT_TRUE(zotest::boxes.empty());
}

// ---- No audio server at all ----

TEST(SoundWithoutDevice, EveryOperationIsSilentlyNotReady) {
  std::string folder = Folder();
  std::string report = folder + "sound_silent_app.txt";
  DeleteFileA(report.c_str());
  ASSERT_TRUE(zotest::WriteBytes(folder + "silent_tone.wav", zotest::ToneWave(1, 22050, 16, 440, 0.2)));
  std::string done = folder + "sound_silent_done";
  DeleteFileA(done.c_str());

  // A Wine process of its own, started from a Unix shell whose environment
  // points PulseAudio at a server that does not exist.
  std::string unixFolder = zotest::UnixFolder();
  ASSERT_FALSE(unixFolder.empty());
  ASSERT_TRUE(zotest::StartUnixCommand(
      "cd '" + unixFolder + "' && mkdir -p no_audio && chmod 700 no_audio && "
      "PULSE_SERVER=unix:/nonexistent/pulse/native XDG_RUNTIME_DIR=$PWD/no_audio "
      "timeout 60 " + zotest::WineCommand() + " ./sound_silent_app.exe >/dev/null 2>&1; touch sound_silent_done"));
  DWORD end = GetTickCount() + 70000;
  while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES && static_cast<int>(end - GetTickCount()) > 0)
    Sleep(50);
  ASSERT_NE(GetFileAttributesA(done.c_str()), INVALID_FILE_ATTRIBUTES) << "the program did not end";

  FILE* f = std::fopen(report.c_str(), "r");
  ASSERT_NE(f, nullptr);
  std::string text;
  char line[128];
  while (std::fgets(line, sizeof line, f)) text += line;
  std::fclose(f);
  EXPECT_EQ(text,
            "wav_present 1\n"
            "InitDevice 0\n"
            "soundReady 0\n"
            "LoadObject -1\n"
            "SelectFormat 1\n"
            "GetPosition 0 0\n"
            "GetPosition 5 0\n"
            "GetPosition -1 0\n"
            "GetPosition 70 0\n"
            "used 0\n"
            "soundReadyAfter 0\n"
            "errorFlag 0\n"
            "boxes 0\n"
            "end\n");
}
