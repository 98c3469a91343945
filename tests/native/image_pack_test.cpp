// The image pack format: the entry scan over hand-made packs, the 15-bit
// expansion and reduction, and the screenshot layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/image_pack_rules.h"
#include "zo/draw_state.h"

namespace {

struct PackBuilder {
  std::vector<uint8_t> bytes;
  void U16(unsigned v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  // An entry whose pixels count up from `first`; `pixels` < 0 writes all.
  PackBuilder& Entry(unsigned w, unsigned h, const std::string& name, uint16_t first = 1,
                     long pixels = -1) {
    U16(w);
    U16(h);
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    long count = pixels < 0 ? static_cast<long>(w) * h : pixels;
    for (long i = 0; i < count; ++i) U16(static_cast<uint16_t>(first + i));
    return *this;
  }
  template <size_t N>
  PackBuilder& Raw(const char (&s)[N]) {  // every byte but the literal's own 0
    bytes.insert(bytes.end(), s, s + N - 1);
    return *this;
  }
  PackBuilder& Raw(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
};

struct Scan {
  zo::MemoryPackReader reader;
  zo::ImagePackEntry entry{};
  bool found;
  Scan(const std::vector<uint8_t>& bytes, const char* key) : reader(bytes.data(), bytes.size()) {
    found = zo::FindPackEntry(reader, key, &entry);
  }
  // The entry's pixels as stored (no layout change: 5-5-5 positions).
  std::vector<uint16_t> Pixels() {
    const uint16_t same[3] = {10, 5, 0};
    std::vector<uint16_t> px(size_t{entry.width} * entry.height);
    zo::ExpandPackPixels(reader, px.data(), entry.width, entry.width, entry.height, same);
    return px;
  }
};

std::string Upper(const char* name, size_t capacity = 32) {
  char out[256];
  if (!zo::UpperCasePackName(name, out, capacity)) return "(refused)";
  return out;
}

}  // namespace

TEST(ImagePackScan, FindsEntriesByExactUpperCaseName) {
  PackBuilder pack;
  pack.Entry(10, 10, "A.BMP", 100).Entry(3, 2, "BLOCK.BMP", 500).Entry(1, 1, "back.bmp", 900)
      .Entry(2, 1, "BLOCK.BMP", 700);
  {
    Scan s(pack.bytes, Upper("block.bmp").c_str());
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.entry.width, 3);
    EXPECT_EQ(s.entry.height, 2);
    EXPECT_STREQ(s.entry.name, "BLOCK.BMP");
    // A's 200 pixel bytes were skipped exactly, and the first of two wins.
    EXPECT_EQ(s.reader.Position(), 4u + 6 + 200 + 4 + 10);
    EXPECT_EQ(s.Pixels(), (std::vector<uint16_t>{500, 501, 502, 503, 504, 505}));
  }
  EXPECT_TRUE(Scan(pack.bytes, "A.BMP").found);
  // Stored in lower case: no request can match it.
  EXPECT_FALSE(Scan(pack.bytes, Upper("back.bmp").c_str()).found);
  EXPECT_FALSE(Scan(pack.bytes, "C.BMP").found);
  EXPECT_FALSE(Scan(std::vector<uint8_t>{}, "A.BMP").found);
}

TEST(ImagePackScan, ShiftJisNamesKeepTheirTrailBytes) {
  // 0x83 0x61 is one character whose trail byte is an ASCII 'a'.
  const std::string stored = "\x83\x61\x82\xA0.BMP", half = "\xB1\xB2.BMP";
  EXPECT_EQ(Upper("\x83\x61\x82\xA0.bmp"), stored);
  EXPECT_EQ(Upper("\xB1\xB2.bmp"), half);  // half-width katakana: single bytes
  EXPECT_EQ(Upper("x\x83"), "X\x83");      // a lead byte at the end stays
  PackBuilder pack;
  pack.Entry(1, 1, "\x83\x41\x82\xA0.BMP").Entry(1, 1, stored, 42).Entry(1, 1, half, 43);
  Scan s(pack.bytes, Upper("\x83\x61\x82\xA0.bmp").c_str());
  ASSERT_TRUE(s.found);
  EXPECT_EQ(s.Pixels(), std::vector<uint16_t>{42});
  EXPECT_TRUE(Scan(pack.bytes, Upper("\xB1\xB2.bmp").c_str()).found);
}

TEST(ImagePackScan, RequestNamesMustFitAnObjectName) {
  const std::string name31(31, 'a'), name32(32, 'a');
  EXPECT_EQ(Upper(name31.c_str()), std::string(31, 'A'));
  EXPECT_EQ(Upper(name32.c_str()), "(refused)");
  EXPECT_EQ(Upper(nullptr), "(refused)");
  EXPECT_EQ(Upper(""), "");
}

TEST(ImagePackScan, MalformedEntriesEndTheScan) {
  const std::string name127(127, 'N'), name128(128, 'N');
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* key;
    bool found;
  };
  auto bytes = [](PackBuilder p) { return p.bytes; };
  // 46341 x 46341 x 2 is 2^32 + 9266: cut to 32 bits, it would land on B.
  PackBuilder wrap;
  wrap.Entry(46341, 46341, "A", 0, 0).Raw(std::string(9266, 'x')).Entry(1, 1, "B");
  const Case cases[] = {
      {"a name of 127 bytes", bytes(PackBuilder().Entry(1, 1, name127)), name127.c_str(), true},
      {"no 0 within 127 bytes", bytes(PackBuilder().Raw("\1\0\1\0").Raw(name128).Entry(1, 1, "B")),
       "B", false},
      {"the file ends inside a name", bytes(PackBuilder().Raw("\1\0\1\0AB")), "AB", false},
      {"the file ends in the height", bytes(PackBuilder().Raw("\1\0\1")), "", false},
      {"pixels past the end", bytes(PackBuilder().Entry(4, 4, "A", 0, 3)), "B", false},
      {"a full entry before", bytes(PackBuilder().Entry(4, 4, "A").Entry(1, 1, "B")), "B", true},
      {"a size that wraps in 32 bits", wrap.bytes, "B", false},
      {"an empty entry", bytes(PackBuilder().Entry(0, 0, "A").Entry(1, 1, "B")), "B", true},
  };
  for (const Case& c : cases) {
    Scan s(c.bytes, c.key);
    EXPECT_EQ(s.found, c.found) << c.what;
  }
}

TEST(ImagePackScan, TruncatedEntriesRepeatTheLastPixelRead) {
  PackBuilder pack;
  pack.Entry(3, 2, "A", 7, 4);
  Scan s(pack.bytes, "A");
  ASSERT_TRUE(s.found);
  EXPECT_EQ(s.Pixels(), (std::vector<uint16_t>{7, 8, 9, 10, 10, 10}));
  // A dangling byte is no pixel; nothing read at all gives 0.
  PackBuilder odd;
  odd.Entry(2, 2, "A", 7, 0).Raw("\x55");
  Scan t(odd.bytes, "A");
  ASSERT_TRUE(t.found);
  std::vector<uint16_t> px(4, 0xAAAA);
  const uint16_t same[3] = {10, 5, 0};
  EXPECT_EQ(zo::ExpandPackPixels(t.reader, px.data(), 2, 2, 2, same), 0u);
  EXPECT_EQ(px, std::vector<uint16_t>(4, 0));
}

TEST(ImagePackPixels, ExpansionPlacesEachComponentAtItsFivePosition) {
  const PixelLayout layouts[] = {DerivePixelLayout(0xF800, 0x07E0, 0x001F),
                                 DerivePixelLayout(0x7C00, 0x03E0, 0x001F)};
  const uint16_t whiteIn[2] = {0xFFDF, 0x7FFF};
  unsigned seed = std::getenv("ZO_SEED") ? std::atoi(std::getenv("ZO_SEED")) : std::random_device{}();
  std::mt19937 rng(seed);
  for (int l = 0; l < 2; ++l) {
    const uint16_t* pos = layouts[l].fivePos;
    PackBuilder pack;
    pack.Entry(1, 3, "W", 0, 0).U16(0x7FFF);
    pack.U16(0xFFFF);  // bit 15 is not read
    pack.U16(0);
    Scan s(pack.bytes, "W");
    ASSERT_TRUE(s.found);
    uint16_t out[3];
    zo::ExpandPackPixels(s.reader, out, 1, 1, 3, pos);
    EXPECT_EQ(out[0], whiteIn[l]);
    EXPECT_EQ(out[1], whiteIn[l]);
    EXPECT_EQ(out[2], 0);

    // Random pixels into rows wider than the image: the gap stays untouched.
    const int w = 1 + rng() % 40, h = 1 + rng() % 20, pitch = w + 3;
    std::vector<uint16_t> in(size_t(w) * h);
    for (auto& v : in) v = static_cast<uint16_t>(rng());
    zo::MemoryPackReader memory(reinterpret_cast<const uint8_t*>(in.data()), in.size() * 2);
    std::vector<uint16_t> rows(size_t(pitch) * h, 0x1234);
    zo::ExpandPackPixels(memory, rows.data(), pitch, w, h, pos);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < pitch; ++x) {
        uint16_t v = x < w ? in[size_t(y) * w + x] : 0;
        uint16_t want = x >= w ? 0x1234
                               : static_cast<uint16_t>(((v >> 10) & 31) << pos[0] |
                                                       ((v >> 5) & 31) << pos[1] | (v & 31) << pos[2]);
        ASSERT_EQ(rows[size_t(y) * pitch + x], want) << "seed " << seed << " at " << x << "," << y;
      }
    }
  }
}

TEST(ImagePackPixels, ReductionKeepsBlackForTransparency) {
  const struct {
    uint32_t colour;
    uint16_t value;
  } cases[] = {
      {0x000000, 0x0000}, {0x070707, 0x0001}, {0xFFFFFF, 0x7FFF}, {0x0000FF, 0x7C00},
      {0x00FF00, 0x03E0}, {0xFF0000, 0x001F}, {0x000001, 0x0001}, {0x070000, 0x0001},
      {0x000008, 0x0400}, {0x123456, (0x56 >> 3) << 10 | (0x34 >> 3) << 5 | (0x12 >> 3)},
      {0xFF000000, 0x0000},  // the top byte of a COLORREF is not a colour
  };
  for (const auto& c : cases) EXPECT_EQ(zo::ReducePackPixel(c.colour), c.value) << std::hex << c.colour;
}

TEST(ImagePackPixels, WrittenHeadersReadBack) {
  uint8_t out[4 + zo::PackNameCapacity];
  const std::string name127(127, 'Q'), name128(128, 'Q');
  EXPECT_EQ(zo::WritePackEntryHeader(640, 480, "BLOCK.BMP", out), 14u);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 5), (std::vector<uint8_t>{0x80, 2, 0xE0, 1, 'B'}));
  size_t n = zo::WritePackEntryHeader(0x1234, 1, name127.c_str(), out);
  ASSERT_EQ(n, 4u + 128);
  std::vector<uint8_t> pack(out, out + n);
  pack.push_back(9);
  pack.push_back(0);
  Scan s(pack, name127.c_str());
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.entry.width, 0x1234);
  EXPECT_EQ(zo::WritePackEntryHeader(1, 1, name128.c_str(), out), 0u);
}

TEST(Screenshot, HeaderFollowsTheFiftyEightByteLayout) {
  uint8_t h[zo::ScreenshotHeaderSize];
  zo::BuildScreenshotHeader(641, 2, h);
  auto u32 = [&](int at) { return uint32_t(h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24); };
  auto u16 = [&](int at) { return unsigned(h[at] | h[at + 1] << 8); };
  EXPECT_EQ(zo::ScreenshotStride(641), 1924u);
  EXPECT_EQ(zo::ScreenshotStride(4), 12u);
  EXPECT_EQ(zo::ScreenshotStride(1), 4u);
  EXPECT_EQ(u16(0), 0x4D42u);
  EXPECT_EQ(u32(2), 58u + 1924 * 2);
  EXPECT_EQ(u32(6), 0u);
  EXPECT_EQ(u32(10), 58u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 641u);
  EXPECT_EQ(u32(22), 2u);
  EXPECT_EQ(u16(26), 1u);
  EXPECT_EQ(u16(28), 24u);
  EXPECT_EQ(u32(30), 0u);
  EXPECT_EQ(u32(34), 1924u * 2);
  EXPECT_EQ(u32(38), 2834u);
  EXPECT_EQ(u32(42), 2834u);
  for (int at = 46; at < 58; ++at) EXPECT_EQ(h[at], 0) << at;
}

TEST(Screenshot, RowsAreBlueGreenRedPaddedToTheStride) {
  zo::BuildEffectTables(DerivePixelLayout(0xF800, 0x07E0, 0x001F), std::rand);
  const uint16_t px16[3] = {0xFFFF, 0xF800, 0x07FF};
  std::vector<uint8_t> row(12, 0xEE);
  zo::EncodeScreenshotRow16(px16, 3, ComponentTable, row.data());
  EXPECT_EQ(row, (std::vector<uint8_t>{248, 248, 248, 0, 0, 248, 248, 248, 0, 0, 0, 0}));
  const uint32_t px32[2] = {0x00112233, 0xFFA0B0C0};
  std::vector<uint8_t> row32(8, 0xEE);
  zo::EncodeScreenshotRow32(px32, 2, 16, 8, 0, row32.data());
  EXPECT_EQ(row32, (std::vector<uint8_t>{0x33, 0x22, 0x11, 0xC0, 0xB0, 0xA0, 0, 0}));
}
