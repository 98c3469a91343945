// The sound pack entry scan and format check over hand-made pack images.
#include <gtest/gtest.h>

#include <string>

#include "sound/sound_pack_rules.h"

using namespace zo;

namespace {

void Put32(std::vector<uint8_t>& to, uint32_t v) {
  for (int i = 0; i < 4; ++i) to.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& to, uint16_t v) {
  to.push_back(static_cast<uint8_t>(v));
  to.push_back(static_cast<uint8_t>(v >> 8));
}

// A format block: tag, channels, rate, byte rate, alignment, bits, cbSize
// and cbSize extra bytes.
std::vector<uint8_t> Format(uint16_t tag, uint16_t channels, uint32_t rate, uint32_t bytesPerSec,
                            uint16_t align, uint16_t bits, uint16_t cbSize) {
  std::vector<uint8_t> f;
  Put16(f, tag);
  Put16(f, channels);
  Put32(f, rate);
  Put32(f, bytesPerSec);
  Put16(f, align);
  Put16(f, bits);
  Put16(f, cbSize);
  f.insert(f.end(), cbSize, 0x33);
  return f;
}
std::vector<uint8_t> Pcm16Mono() { return Format(1, 1, 22050, 44100, 2, 16, 0); }
std::vector<uint8_t> Adpcm() { return Format(2, 1, 22050, 11155, 512, 4, 32); }

// Appends one entry written byte by byte here, so the head builder is
// checked too.
void AddEntry(std::vector<uint8_t>& pack, const std::string& name, const std::vector<uint8_t>& format,
              uint32_t dataSize, uint8_t fill) {
  Put32(pack, dataSize);
  pack.insert(pack.end(), name.begin(), name.end());
  pack.push_back(0);
  Put32(pack, static_cast<uint32_t>(format.size()));
  pack.insert(pack.end(), format.begin(), format.end());
  pack.insert(pack.end(), dataSize, fill);
}

struct Found {
  bool ok;
  SoundPackEntry entry;
};
Found Scan(const std::vector<uint8_t>& pack, const char* request) {
  Found f = {false, {}};
  char upper[PackNameCapacity];
  if (!UpperCasePackName(request, upper, sizeof upper)) return f;
  MemoryPackReader reader(pack.data(), pack.size());
  f.ok = FindPackEntry(reader, upper, &f.entry);
  if (f.ok) {
    EXPECT_EQ(reader.Position(), f.entry.formatOffset) << request;
  }
  return f;
}

}  // namespace

TEST(PackScan, FindsEveryEntryOfAPackInAnyCase) {
  std::vector<uint8_t> pack;
  AddEntry(pack, "VOICE.WAV", Adpcm(), 300, 1);  // ADPCM before PCM
  AddEntry(pack, "SHOT.WAV", Pcm16Mono(), 44100, 2);
  AddEntry(pack, "EMPTY.WAV", {}, 0, 0);       // an unreadable file's entry
  AddEntry(pack, "HIT.WAV", Pcm16Mono(), 10, 3);
  AddEntry(pack, "SHOT.WAV", Pcm16Mono(), 7, 4);  // a second copy is never reached
  const uint64_t shot = 4 + 10 + 4 + 50 + 300 + 4 + 9 + 4;
  const uint64_t empty = shot + 18 + 44100 + 4 + 10 + 4;
  const uint64_t hit = empty + 4 + 8 + 4;
  struct Case {
    const char* request;
    bool found;
    uint64_t formatOffset;
    uint32_t formatSize, dataSize;
  } cases[] = {
      {"voice.wav", true, 4 + 10 + 4, 50, 300},
      {"shot.wav", true, shot, 18, 44100},
      {"Shot.Wav", true, shot, 18, 44100},
      {"SHOT.WAV", true, shot, 18, 44100},
      {"empty.wav", true, empty, 0, 0},
      {"hit.wav", true, hit, 18, 10},
      {"wav\\shot.wav", false, 0, 0, 0},  // a folder is never stored
      {"shot", false, 0, 0, 0},
      {"", false, 0, 0, 0},
      {"missing.wav", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Found f = Scan(pack, c.request);
    ASSERT_EQ(f.ok, c.found) << c.request;
    if (!c.found) continue;
    EXPECT_EQ(f.entry.formatOffset, c.formatOffset) << c.request;
    EXPECT_EQ(f.entry.formatSize, c.formatSize) << c.request;
    EXPECT_EQ(f.entry.dataSize, c.dataSize) << c.request;
  }
  EXPECT_FALSE(Scan({}, "shot.wav").ok);  // an empty file
}

TEST(PackScan, ADamagedEntryEndsTheScan) {
  std::vector<uint8_t> good;
  AddEntry(good, "A.WAV", Pcm16Mono(), 4, 1);
  AddEntry(good, "B.WAV", Pcm16Mono(), 4, 2);
  const size_t second = good.size() / 2;  // both entries are 36 bytes
  // The file cut at every byte: B is found only when its samples are whole.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    std::vector<uint8_t> pack(good.begin(), good.begin() + cut);
    EXPECT_FALSE(Scan(pack, "b.wav").ok) << "cut at " << cut;
    EXPECT_EQ(Scan(pack, "a.wav").ok, cut >= second) << "cut at " << cut;
  }
  EXPECT_TRUE(Scan(good, "b.wav").ok);

  // Names: 127 characters and the zero fit, 128 characters do not.
  std::string longest(127, 'N'), tooLong(128, 'N');
  std::vector<uint8_t> pack;
  AddEntry(pack, longest, Pcm16Mono(), 4, 1);
  AddEntry(pack, "B.WAV", Pcm16Mono(), 4, 2);
  EXPECT_TRUE(Scan(pack, longest.c_str()).ok);
  EXPECT_TRUE(Scan(pack, "b.wav").ok);
  pack.clear();
  AddEntry(pack, tooLong, Pcm16Mono(), 4, 1);
  AddEntry(pack, "B.WAV", Pcm16Mono(), 4, 2);
  EXPECT_FALSE(Scan(pack, "b.wav").ok);
  char upper[PackNameCapacity];
  EXPECT_FALSE(UpperCasePackName(tooLong.c_str(), upper, sizeof upper));

  // Sizes whose 32-bit sum wraps to land exactly on a fake entry, and sizes
  // reaching past the end of the file.
  struct Sizes {
    uint32_t formatSize, dataSize;
  } bad[] = {{0xFFFFFFF0u, 0x10u}, {0x80000000u, 0x80000000u}, {0xFFFFFFFFu, 1}, {18, 0xFFFFFFFFu},
             {0xFFFFFFFFu, 0}, {18, 37}};
  for (const Sizes& b : bad) {
    pack.clear();
    Put32(pack, b.dataSize);
    pack.insert(pack.end(), {'A', 0});
    Put32(pack, b.formatSize);
    AddEntry(pack, "B.WAV", Pcm16Mono(), 4, 2);
    EXPECT_FALSE(Scan(pack, "b.wav").ok) << b.formatSize << " + " << b.dataSize;
    EXPECT_FALSE(Scan(pack, "a").ok) << b.formatSize << " + " << b.dataSize;
  }
}

TEST(PackScan, RequestsAreUpperCasedInACopyLeavingShiftJisAlone) {
  struct Case {
    const char* request;
    const char* upper;
  } cases[] = {
      {"shot.wav", "SHOT.WAV"},
      {"\x83\x61z.wav", "\x83\x61Z.WAV"},  // the trail byte 'a' stays
      {"\x95\x5c" "a", "\x95\x5c" "A"},    // a trail byte 0x5C is no separator
      {"\xE0\x7A" "b", "\xE0\x7A" "B"},
      {"x\x83", "X\x83"},                  // a lone lead byte at the end
      {"\xA6" "a", "\xA6" "A"},            // half-width kana are single bytes
  };
  for (const Case& c : cases) {
    std::string request = c.request;
    char upper[PackNameCapacity];
    ASSERT_TRUE(UpperCasePackName(request.c_str(), upper, sizeof upper));
    EXPECT_STREQ(upper, c.upper);
    EXPECT_EQ(request, c.request);
  }
  EXPECT_STREQ(PackEntryName("WAV\\SHOT.WAV"), "SHOT.WAV");
  EXPECT_STREQ(PackEntryName("A\\B\\C.WAV"), "C.WAV");
  EXPECT_STREQ(PackEntryName("SHOT.WAV"), "SHOT.WAV");
  EXPECT_STREQ(PackEntryName("\x95\x5c.WAV"), "\x95\x5c.WAV");
  EXPECT_STREQ(PackEntryName("\x95\x5c\\\x95\x5c.WAV"), "\x95\x5c.WAV");
}

TEST(PackScan, EntryHeadIsTheFileLayout) {
  std::vector<uint8_t> head = PackEntryHead(44100, "A.WAV", 18);
  std::vector<uint8_t> expected = {0x44, 0xAC, 0, 0, 'A', '.', 'W', 'A', 'V', 0, 18, 0, 0, 0};
  EXPECT_EQ(head, expected);
  EXPECT_EQ(head.size() + 18 + 44100, 4u + 6 + 4 + 18 + 44100);
}

TEST(PackFormatCheck, RefusesBlocksNothingCouldPlay) {
  struct Case {
    const char* what;
    std::vector<uint8_t> block;
    uint32_t size;  // 0: the block's own size
    bool ok;
  } cases[] = {
      {"PCM", Pcm16Mono(), 0, true},
      {"ADPCM", Adpcm(), 0, true},
      {"8-bit stereo", Format(1, 2, 11025, 22050, 2, 8, 0), 0, true},
      {"empty", {}, 0, false},
      {"16 bytes", Pcm16Mono(), 16, false},
      {"17 bytes", Pcm16Mono(), 17, false},
      {"cbSize beyond the block", Format(1, 1, 22050, 44100, 2, 16, 2), 18, false},
      {"cbSize short of the block", Adpcm(), 51, false},
      {"extra bytes without cbSize", Format(1, 1, 22050, 44100, 2, 16, 0), 20, false},
      {"no bytes per second", Format(1, 1, 22050, 0, 2, 16, 0), 0, false},
      {"no block alignment", Format(1, 1, 22050, 44100, 0, 16, 0), 0, false},
  };
  for (Case& c : cases) {
    uint32_t size = c.size ? c.size : static_cast<uint32_t>(c.block.size());
    c.block.resize(std::max<size_t>(c.block.size(), size));
    SoundFormat f = {};
    EXPECT_EQ(ReadPackFormat(c.block.empty() ? nullptr : c.block.data(), size, &f), c.ok) << c.what;
  }
  SoundFormat f = {};
  std::vector<uint8_t> adpcm = Adpcm();
  ASSERT_TRUE(ReadPackFormat(adpcm.data(), 50, &f));
  EXPECT_EQ(f.formatTag, 2);
  EXPECT_EQ(f.channels, 1);
  EXPECT_EQ(f.samplesPerSec, 22050u);
  EXPECT_EQ(f.avgBytesPerSec, 11155u);
  EXPECT_EQ(f.blockAlign, 512);
  EXPECT_EQ(f.bitsPerSample, 4);
  EXPECT_EQ(f.cbSize, 32);
}
