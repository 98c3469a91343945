// Clamps, rate codes, output format, mix selection, the echo schedule and
// the RIFF layout checks of the sound module.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/sound_rules.h"

using namespace zo;

TEST(SoundClamps, VolumeClampsToMinus10000And0) {
  EXPECT_EQ(ClampVolume(1000), 0);
  EXPECT_EQ(ClampVolume(0), 0);
  EXPECT_EQ(ClampVolume(-3000), -3000);
  EXPECT_EQ(ClampVolume(-15000), -10000);
  EXPECT_EQ(ClampVolume(-10000), -10000);
  // An argument whose hundredfold would not fit 32 bits still clamps.
  EXPECT_EQ(ClampVolume(static_cast<int64_t>(INT32_MIN) * 100), -10000);
  EXPECT_EQ(ClampVolume(static_cast<int64_t>(INT32_MAX) * 100), 0);
}

TEST(SoundClamps, PanClampsToBothSides) {
  EXPECT_EQ(ClampPan(-12000), -10000);
  EXPECT_EQ(ClampPan(8000 + 5000), 10000);
  EXPECT_EQ(ClampPan(-2500), -2500);
  EXPECT_EQ(ClampPan(static_cast<int64_t>(INT32_MAX) * 100), 10000);
}

TEST(SoundClamps, FrequencyComparesSigned) {
  EXPECT_EQ(ClampFrequency(22050 + 1000 * 100), 100000u);
  EXPECT_EQ(ClampFrequency(22050 - 300 * 100), 100u);  // negative sum
  EXPECT_EQ(ClampFrequency(99), 100u);
  EXPECT_EQ(ClampFrequency(100), 100u);
  EXPECT_EQ(ClampFrequency(100000), 100000u);
  EXPECT_EQ(ClampFrequency(44100), 44100u);
}

TEST(SoundFormat, RateCodesAndPcmArithmetic) {
  EXPECT_EQ(RateFromCode(8), 8000);
  EXPECT_EQ(RateFromCode(11), 11025);
  EXPECT_EQ(RateFromCode(22), 22050);
  EXPECT_EQ(RateFromCode(44), 44100);
  EXPECT_EQ(RateFromCode(48000), 48000);
  EXPECT_EQ(RateFromCode(16), 16);

  SoundFormat f = MakePcmFormat(2, 44, 16);
  EXPECT_EQ(f.formatTag, 1);
  EXPECT_EQ(f.channels, 2);
  EXPECT_EQ(f.samplesPerSec, 44100u);
  EXPECT_EQ(f.bitsPerSample, 16);
  EXPECT_EQ(f.blockAlign, 4);
  EXPECT_EQ(f.avgBytesPerSec, 176400u);

  f = MakePcmFormat(1, 48000, 8);
  EXPECT_EQ(f.samplesPerSec, 48000u);
  EXPECT_EQ(f.blockAlign, 1);
  EXPECT_EQ(f.avgBytesPerSec, 48000u);

  f = MakePcmFormat(1, 16, 8);
  EXPECT_EQ(f.samplesPerSec, 16u);

  f = MakePcmFormat(2, 22, 12);  // 12 bits: integer division of the byte count
  EXPECT_EQ(f.blockAlign, 2);
  EXPECT_EQ(f.avgBytesPerSec, 44100u);
}

namespace {
std::vector<int> Select(int selector, int mixCount, int nextMix, MixUse use) {
  int out[10];
  std::memset(out, 0xFF, sizeof out);
  int n = SelectMixes(selector, mixCount, nextMix, use, out);
  return std::vector<int>(out, out + n);
}
}  // namespace

TEST(SoundMixes, SelectorTable) {
  using V = std::vector<int>;
  // 0 or more: that mix for every use.
  EXPECT_EQ(Select(1, 3, 0, MixUse::Start), V{1});
  EXPECT_EQ(Select(2, 3, 0, MixUse::Setter), V{2});
  EXPECT_EQ(Select(0, 3, 2, MixUse::StopPause), V{0});
  // -2: the next mix to start, for play and the setters; every mix to stop.
  EXPECT_EQ(Select(-2, 3, 2, MixUse::Start), V{2});
  EXPECT_EQ(Select(-2, 3, 2, MixUse::Setter), V{2});
  EXPECT_EQ(Select(-2, 3, 2, MixUse::StopPause), (V{0, 1, 2}));
  // Other negative values.
  EXPECT_EQ(Select(-1, 3, 1, MixUse::Start), V{1});
  EXPECT_EQ(Select(-3, 3, 1, MixUse::Start), V{1});
  EXPECT_EQ(Select(-1, 3, 1, MixUse::Setter), (V{0, 1, 2}));
  EXPECT_EQ(Select(-7, 4, 1, MixUse::StopPause), (V{0, 1, 2, 3}));
}

TEST(SoundMixes, OutOfRangeSelectsNothing) {
  EXPECT_TRUE(Select(3, 3, 0, MixUse::Start).empty());
  EXPECT_TRUE(Select(10, 10, 0, MixUse::Setter).empty());
  EXPECT_TRUE(Select(-1, 0, 0, MixUse::Setter).empty());
  EXPECT_TRUE(Select(0, 11, 0, MixUse::Start).empty());
  // A damaged turn never leaves the mixes.
  EXPECT_EQ(Select(-1, 3, 7, MixUse::Start), std::vector<int>{0});
}

TEST(SoundMixes, RoundRobinCyclesThroughTheMixes) {
  int mix = 0;
  std::vector<int> started;
  for (int i = 0; i < 4; ++i) {
    started.push_back(Select(-1, 3, mix, MixUse::Start)[0]);
    mix = NextMixAfter(started.back(), 3);
  }
  EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(NextMixAfter(0, 1), 0);
}

TEST(SoundEcho, ThreeMixesFourRepeatsOfTenDecibels) {
  EchoState e = {1, 0.0f, 0.0f, 1};
  std::vector<int> volumes;
  // 50 ms frames: the echo fires every fourth frame (200 ms).
  for (int frame = 0; frame < 40; ++frame) {
    EchoAction a = AdvanceEcho(&e, 0.05f, 200, 4, 10, false, 0);
    EXPECT_FALSE(a.setPan);
    if (a.fire) volumes.push_back(a.volumeDb);
  }
  EXPECT_EQ(volumes, (std::vector<int>{-10, -20, -30, -40}));
  EXPECT_EQ(e.step, 0);
}

TEST(SoundEcho, IdleOrImpossibleEchoDoesNothing) {
  for (int step : {-1, 0}) {
    EchoState e = {step, 0.0f, 0.0f, 1};
    EchoAction a = AdvanceEcho(&e, 1.0f, 10, 4, 10, true, 5);
    EXPECT_FALSE(a.fire);
    EXPECT_EQ(e.step, step);
    EXPECT_EQ(e.timer, 0.0f);
  }
  EchoState e = {1, 0.0f, 0.0f, 1};
  EXPECT_FALSE(AdvanceEcho(&e, 1.0f, 10, 0, 10, false, 0).fire);  // no repeats asked
  EXPECT_EQ(e.step, 1);
}

TEST(SoundEcho, TimerAccumulatesAndResets) {
  EchoState e = {1, 0.0f, 0.0f, 1};
  EXPECT_FALSE(AdvanceEcho(&e, 0.1f, 250, 3, 6, false, 0).fire);
  EXPECT_FALSE(AdvanceEcho(&e, 0.1f, 250, 3, 6, false, 0).fire);
  EchoAction a = AdvanceEcho(&e, 0.1f, 250, 3, 6, false, 0);
  EXPECT_TRUE(a.fire);
  EXPECT_EQ(a.volumeDb, -6);
  EXPECT_EQ(e.timer, 0.0f);
  EXPECT_EQ(e.step, 2);
}

TEST(SoundEcho, WanderStaysWithinThirtyAndReverses) {
  EchoState e = {1, 0.0f, 0.0f, 1};
  int reversals = 0, lastDirection = 1;
  for (int frame = 0; frame < 400; ++frame) {
    if (e.step == 0) e.step = 1;  // keep the echo going
    EchoAction a = AdvanceEcho(&e, 0.1f, 0, 1000, 0, true, 7);
    ASSERT_TRUE(a.fire);
    ASSERT_TRUE(a.setPan);
    EXPECT_GE(e.pan, -30.0f);
    EXPECT_LE(e.pan, 30.0f);
    EXPECT_GE(a.panDb, -30);
    EXPECT_LE(a.panDb, 30);
    EXPECT_EQ(a.panDb, static_cast<int32_t>(e.pan));  // truncated toward zero
    if (e.panDirection != lastDirection) ++reversals;
    lastDirection = e.panDirection;
  }
  EXPECT_GT(reversals, 10);
}

TEST(SoundEcho, WanderStepIsDirectionTimesDeltaTimesSpeed) {
  EchoState e = {1, 0.0f, 2.5f, -1};
  EchoAction a = AdvanceEcho(&e, 0.01f, 0, 5, 3, true, 2);
  EXPECT_FLOAT_EQ(e.pan, 0.5f);
  EXPECT_EQ(a.panDb, 0);
  a = AdvanceEcho(&e, 0.01f, 0, 5, 3, true, 2);
  EXPECT_FLOAT_EQ(e.pan, -1.5f);
  EXPECT_EQ(a.panDb, -1);
  EXPECT_EQ(a.volumeDb, -6);
}

TEST(SoundRiff, FormatChunkCbSizeRules) {
  EXPECT_FALSE(FormatChunkHasCbSize(16, 1));
  EXPECT_FALSE(FormatChunkHasCbSize(18, 1));  // PCM never reads a cbSize
  EXPECT_FALSE(FormatChunkHasCbSize(16, 2));  // a bare WAVEFORMAT has none
  EXPECT_FALSE(FormatChunkHasCbSize(17, 2));
  EXPECT_TRUE(FormatChunkHasCbSize(18, 2));
  EXPECT_TRUE(FormatChunkHasCbSize(50, 2));
  EXPECT_TRUE(FormatExtraFits(50, 32));
  EXPECT_FALSE(FormatExtraFits(50, 33));
  EXPECT_TRUE(FormatExtraFits(18, 0));
  EXPECT_FALSE(FormatExtraFits(20, 0xFFFF));
}

namespace {
std::vector<uint8_t> WaveImage(uint16_t tag, uint16_t cbSize, uint32_t claimed, uint32_t actual) {
  std::vector<uint8_t> v(44 + actual, 0);
  std::memcpy(&v[0], "RIFF", 4);
  std::memcpy(&v[8], "WAVEfmt ", 8);
  v[16] = 16;
  v[20] = static_cast<uint8_t>(tag);
  v[36] = static_cast<uint8_t>(cbSize);  // where a cbSize would be read
  v[37] = static_cast<uint8_t>(cbSize >> 8);
  for (int i = 0; i < 4; ++i) v[40 + i] = static_cast<uint8_t>(claimed >> (8 * i));
  return v;
}
}  // namespace

TEST(SoundRiff, WaveImageMustHoldWhatItsHeaderClaims) {
  uint32_t size = 7;
  std::vector<uint8_t> good = WaveImage(1, 0, 100, 100);
  EXPECT_TRUE(CheckWaveImage(good.data(), static_cast<uint32_t>(good.size()), &size));
  EXPECT_EQ(size, 100u);
  std::vector<uint8_t> longer = WaveImage(1, 0, 100, 130);  // padding after the data is fine
  EXPECT_TRUE(CheckWaveImage(longer.data(), static_cast<uint32_t>(longer.size()), &size));
  std::vector<uint8_t> shortData = WaveImage(1, 0, 100, 99);
  EXPECT_FALSE(CheckWaveImage(shortData.data(), static_cast<uint32_t>(shortData.size()), &size));
  EXPECT_EQ(size, 0u);
  std::vector<uint8_t> huge = WaveImage(1, 0, 0xFFFFFFF0u, 16);  // no wrap-around
  EXPECT_FALSE(CheckWaveImage(huge.data(), static_cast<uint32_t>(huge.size()), &size));
  EXPECT_FALSE(CheckWaveImage(good.data(), 43, &size));
  EXPECT_FALSE(CheckWaveImage(nullptr, 100, &size));
  std::vector<uint8_t> extra = WaveImage(2, 0x7000, 4, 4);  // cbSize beyond the image
  EXPECT_FALSE(CheckWaveImage(extra.data(), static_cast<uint32_t>(extra.size()), &size));
  std::vector<uint8_t> extraFits = WaveImage(2, 6, 4, 4);
  EXPECT_TRUE(CheckWaveImage(extraFits.data(), static_cast<uint32_t>(extraFits.size()), &size));
}

namespace {
struct FormatCase {
  uint16_t tag, channels;
  uint32_t rate, byteRate;
  uint16_t blockAlign, bits;
  bool playable;
};
}  // namespace

TEST(SoundFormat, PlayableFormatsTable) {
  const FormatCase cases[] = {
      {1, 1, 8000, 8000, 1, 8, true},       {1, 2, 44100, 176400, 4, 16, true},
      {1, 1, 100, 200, 2, 16, true},        {1, 2, 100000, 400000, 4, 16, true},
      {1, 1, 99, 99, 1, 8, false},          {1, 1, 0, 0, 1, 8, false},
      {1, 1, 100001, 100001, 1, 8, false},  {1, 1, 6000000, 6000000, 1, 8, false},
      {1, 1, 0x7FFFFFFF, 0x7FFFFFFF, 1, 8, false},
      {1, 0, 8000, 0, 0, 8, false},         {1, 3, 8000, 24000, 3, 8, false},
      {1, 1, 8000, 8000, 1, 12, false},     {1, 1, 8000, 32000, 4, 32, false},
      {1, 2, 8000, 32000, 2, 16, false},    {1, 2, 8000, 16000, 4, 16, false},  // align, rate
      {1, 1, 8000, 0, 1, 8, false},
      {2, 1, 22050, 11155, 512, 4, true},   // ADPCM keeps its own alignment
      {2, 2, 44100, 0, 0, 0, true},         {0x11, 1, 100000, 1, 1, 4, true},
      {2, 1, 99, 1000, 256, 4, false},      {2, 1, 100001, 1000, 256, 4, false},
      {2, 0, 22050, 11155, 512, 4, false},  {2, 3, 22050, 11155, 512, 4, false},
  };
  for (const FormatCase& c : cases) {
    uint8_t head[SoundFormatHeadSize];
    const uint32_t fields[] = {c.tag, c.channels, c.rate, c.byteRate, c.blockAlign, c.bits};
    const int widths[] = {2, 2, 4, 4, 2, 2};
    uint8_t* at = head;
    for (int f = 0; f < 6; ++f)
      for (int i = 0; i < widths[f]; ++i) *at++ = static_cast<uint8_t>(fields[f] >> (8 * i));
    EXPECT_EQ(PlayableSoundFormat(head), c.playable)
        << "tag " << c.tag << " channels " << c.channels << " rate " << c.rate << " bytes/s " << c.byteRate
        << " align " << c.blockAlign << " bits " << c.bits;
  }
  EXPECT_FALSE(PlayableSoundFormat(nullptr));
}
