// Ogg Vorbis files through the page check and the decoder: the seeds made
// by sox decode, reads from any offset match the whole decode byte for
// byte (the loop of a stream depends on it), and broken files are refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "sound/ogg_decoder.h"

using namespace zo;

namespace {

std::vector<uint8_t> Seed(const char* name) {
  std::vector<uint8_t> b;
  const std::string path = std::string(ZO_FUZZ_CORPUS) + "/ogg_decode/" + name;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return b;
}

}  // namespace

TEST(OggDecoder, SeedsDecodeAtTheirRateAndLength) {
  struct Case { const char* file; uint16_t channels; uint32_t rate; double seconds; };
  const Case cases[] = {{"ok-mono-22050.ogg", 1, 22050, 0.4},
                        {"ok-stereo-44100.ogg", 2, 44100, 0.6},
                        {"ok-mono-8000-noise.ogg", 1, 8000, 0.3}};
  for (const Case& c : cases) {
    std::vector<uint8_t> file = Seed(c.file), pcm;
    ASSERT_FALSE(file.empty()) << c.file;
    OggInfo info;
    ASSERT_EQ(DecodeOggWhole(file.data(), file.size(), MaxOggPcmBytes, &pcm, &info), OggFault::None) << c.file;
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.rate, c.rate);
    EXPECT_EQ(pcm.size(), static_cast<size_t>(c.seconds * c.rate + 0.5) * c.channels * 2) << c.file;
    OggDecoder d;
    ASSERT_EQ(d.Open(file.data(), file.size()), OggFault::None);
    EXPECT_EQ(d.LengthBytes(), pcm.size()) << c.file;
  }
}

TEST(OggDecoder, ReadsAtAnyOffsetMatchTheWholeDecode) {
  std::vector<uint8_t> file = Seed("ok-stereo-44100.ogg"), whole;
  OggInfo info;
  ASSERT_EQ(DecodeOggWhole(file.data(), file.size(), MaxOggPcmBytes, &whole, &info), OggFault::None);
  OggDecoder d;
  ASSERT_EQ(d.Open(file.data(), file.size()), OggFault::None);
  const uint32_t seed = std::random_device{}();
  std::mt19937 rng(seed);
  uint64_t at = 0;
  for (int i = 0; i < 200; ++i) {
    // Mostly reads that go on where the last ended, now and then a jump
    // (a loop), at byte offsets that need not be whole frames.
    if (rng() % 4 == 0) at = rng() % whole.size();
    const uint32_t count = 1 + rng() % 9000;
    std::vector<uint8_t> got(count, 0xAA);
    const uint32_t n = d.ReadAt(at, got.data(), count);
    const uint64_t expect = std::min<uint64_t>(count, whole.size() - std::min<uint64_t>(at, whole.size()));
    ASSERT_EQ(n, expect) << "seed " << seed << " read " << i << " at " << at;
    ASSERT_TRUE(std::equal(got.begin(), got.begin() + n, whole.begin() + at))
        << "seed " << seed << " read " << i << " at " << at;
    at += n;
    if (at >= whole.size()) at = 0;
  }
}

TEST(OggDecoder, BrokenFilesAreRefusedBeforeDecoding) {
  std::vector<uint8_t> good = Seed("ok-mono-22050.ogg");
  ASSERT_GT(good.size(), 100u);
  OggInfo info;
  auto check = [&](std::vector<uint8_t> b) { return CheckOggFile(b.data(), b.size(), &info); };
  EXPECT_EQ(check(good), OggFault::None);
  EXPECT_EQ(info.channels, 1);
  std::vector<uint8_t> b = good;
  b.resize(b.size() - 10);
  EXPECT_EQ(check(b), OggFault::PageCut);
  b = good;
  b[b.size() / 2] ^= 1;
  EXPECT_EQ(check(b), OggFault::BadChecksum);
  b = good;
  b.push_back(0);
  EXPECT_EQ(check(b), OggFault::NotOgg);
  b = good;
  b.insert(b.end(), good.begin(), good.end());
  EXPECT_EQ(check(b), OggFault::OtherStream);
  EXPECT_EQ(check({'R', 'I', 'F', 'F', 0, 0, 0, 0}), OggFault::NotOgg);
  EXPECT_EQ(check({}), OggFault::NotOgg);
  // A known checksum: "OggS" alone.
  EXPECT_EQ(OggCrc(reinterpret_cast<const uint8_t*>("OggS"), 4), 0x5FB0A94Fu);
}
