// The BMP header check: valid files of every kind pass, every damaged class
// and every cut is refused, and the seed corpus replays as it is named.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdio>
#include <string>
#include <vector>

#include "draw/bmp_check.h"
#include "draw/bmp_core_header.h"

using zo::BmpFault;
using Bytes = std::vector<uint8_t>;

namespace {

struct Kind {
  const char* name;
  uint32_t infoSize, bits, compression;
  int32_t width, height;  // negative height: rows stored top first
};

void Put(Bytes& b, size_t at, uint32_t v, int size) {
  for (int i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A correct file of the kind, its data filling it to the last byte.
Bytes Build(const Kind& k) {
  const bool core = k.infoSize == 12, rle = k.compression == 1 || k.compression == 2;
  const uint32_t colours = k.bits <= 8 ? 1u << k.bits : 0;
  const uint32_t masks = k.infoSize == 40 && k.compression == 3 ? 12 : 0;
  const uint32_t offset = 14 + k.infoSize + masks + colours * (core ? 3 : 4);
  const uint32_t rows = k.height < 0 ? -k.height : k.height;
  Bytes data;
  if (rle) {  // each row one run of colour 1, then end of line; end of bitmap
    for (uint32_t r = 0; r < rows; ++r) data.insert(data.end(), {static_cast<uint8_t>(k.width), 1, 0, 0});
    data.insert(data.end(), {0, 1});
  } else {
    data.assign(static_cast<size_t>((k.width * k.bits + 31) / 32 * 4) * rows, 0x5A);
  }
  Bytes f(offset, 0);
  f[0] = 'B';
  f[1] = 'M';
  Put(f, 10, offset, 4);
  Put(f, 14, k.infoSize, 4);
  if (core) {
    Put(f, 18, k.width, 2);
    Put(f, 20, k.height, 2);
    Put(f, 22, 1, 2);
    Put(f, 24, k.bits, 2);
  } else {
    Put(f, 18, k.width, 4);
    Put(f, 22, static_cast<uint32_t>(k.height), 4);
    Put(f, 26, 1, 2);
    Put(f, 28, k.bits, 2);
    Put(f, 30, k.compression, 4);
    Put(f, 34, static_cast<uint32_t>(data.size()), 4);
    if (k.compression == 3) Put(f, 54, k.bits == 16 ? 0xF800 : 0xFF0000, 4);
  }
  f.insert(f.end(), data.begin(), data.end());
  Put(f, 2, static_cast<uint32_t>(f.size()), 4);
  return f;
}

const Kind Kinds[] = {
    {"1", 40, 1, 0, 13, 5},         {"4", 40, 4, 0, 7, 3},          {"8", 40, 8, 0, 5, 4},
    {"rle8", 40, 8, 1, 9, 4},       {"rle4", 40, 4, 2, 9, 4},       {"16", 40, 16, 0, 3, 3},
    {"16 fields", 40, 16, 3, 3, 3}, {"24", 40, 24, 0, 5, 2},        {"32", 40, 32, 0, 2, 2},
    {"32 fields", 40, 32, 3, 2, 2}, {"v2 16", 52, 16, 3, 3, 2},     {"v3 32", 56, 32, 3, 3, 2},
    {"v4 24", 108, 24, 0, 4, 4},    {"v5 fields", 124, 16, 3, 5, 2}, {"v5 rle8", 124, 8, 1, 6, 2},
    {"core 1", 12, 1, 0, 9, 2},     {"core 4", 12, 4, 0, 3, 3},     {"core 8", 12, 8, 0, 4, 2},
    {"core 24", 12, 24, 0, 3, 1},   {"top-down 24", 40, 24, 0, 5, -3},
    {"top-down 8", 40, 8, 0, 3, -2}, {"top-down v5", 124, 32, 3, 2, -2},
};

BmpFault Check(const Bytes& f) { return zo::CheckBmpFile(f.data(), f.size()); }

Bytes With(Bytes f, size_t at, uint32_t v, int size = 4) {
  Put(f, at, v, size);
  return f;
}

Bytes Cut(const Bytes& f, size_t n) { return Bytes(f.begin(), f.begin() + n); }

std::string CorpusFolder() { return std::string(ZO_FUZZ_CORPUS) + "/bmp_check/"; }

Bytes ReadFile(const std::string& path) {
  Bytes b;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return b;
}

std::vector<std::string> CorpusNames() {
  std::vector<std::string> names;
  if (DIR* d = opendir(CorpusFolder().c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
  }
  return names;
}

}  // namespace

TEST(BmpCheck, TakesEveryKindAndRefusesEveryCut) {
  for (const Kind& k : Kinds) {
    const Bytes f = Build(k);
    EXPECT_EQ(Check(f), BmpFault::None) << k.name;
    // The data fills the file, so every shorter file ends too early.
    for (size_t n = 0; n < f.size(); ++n) EXPECT_NE(Check(Cut(f, n)), BmpFault::None) << k.name << " cut at " << n;
    // Only the bytes handed over count: the file's size is what it says.
    EXPECT_EQ(zo::CheckBmpHeaders(f.data(), zo::BmpHeadBytes, f.size()), BmpFault::None) << k.name;
  }
}

TEST(BmpCheck, RefusesEachDamagedClass) {
  const Bytes b24 = Build({"24", 40, 24, 0, 1, 1});  // 58 bytes
  const Bytes core = Build({"core 8", 12, 8, 0, 4, 2});
  const Bytes rle = Build({"rle8", 40, 8, 1, 9, 4});
  const Bytes big = Build({"32", 40, 32, 0, 1, 1});
  const struct {
    const char* what;
    Bytes file;
    BmpFault fault;
  } cases[] = {
      {"not BM", With(b24, 0, 'B' | 'A' << 8, 2), BmpFault::NotBmp},
      {"offset 7FFFFFFF", With(b24, 10, 0x7FFFFFFF), BmpFault::OffsetOutside},
      {"offset FFFFFFFF", With(b24, 10, 0xFFFFFFFF), BmpFault::OffsetOutside},
      {"offset 80000000", With(b24, 10, 0x80000000), BmpFault::OffsetOutside},
      {"offset 100000 past", With(b24, 10, 58 + 100000), BmpFault::OffsetOutside},
      {"rle offset past", With(rle, 10, 0xFFFFFFFF), BmpFault::OffsetOutside},
      {"offset at the end", With(b24, 10, 58), BmpFault::OffsetOutside},
      {"offset 1", With(b24, 10, 1), BmpFault::OffsetOutside},
      {"offset inside the file header", With(b24, 10, 13), BmpFault::OffsetOutside},
      {"offset inside the info header", With(b24, 10, 14 + 39), BmpFault::OffsetOutside},
      {"core offset inside its header", With(core, 10, 14 + 11), BmpFault::OffsetOutside},
      {"offset one byte late", With(b24, 10, 55), BmpFault::PixelsCut},
      {"height x64", With(b24, 22, 64), BmpFault::PixelsCut},
      {"4096 square", With(With(big, 18, 4096), 22, 4096), BmpFault::PixelsCut},
      {"rows times stride past 2^64", With(With(big, 18, 0x7FFFFFFF), 22, 0x80000000), BmpFault::TooLarge},
      {"rle 30000 square", With(With(rle, 18, 30000), 22, 30000), BmpFault::TooLarge},
      {"rle4 30000 square", With(With(Build({"rle4", 40, 4, 2, 9, 4}), 18, 30000), 22, 30000), BmpFault::TooLarge},
      {"rle width 65536", With(With(rle, 18, 65536), 22, 1), BmpFault::TooLarge},
      {"rle height 65536", With(With(rle, 18, 1), 22, 65536), BmpFault::TooLarge},
      {"24 top-down height -65536", With(b24, 22, static_cast<uint32_t>(-65536)), BmpFault::TooLarge},
      {"24 one pixel past the bound", With(With(b24, 18, 4097), 22, 4096), BmpFault::TooLarge},
      {"fields width 65536", With(Build({"16 fields", 40, 16, 3, 3, 3}), 18, 65536), BmpFault::TooLarge},
      {"core 65535 square", With(With(core, 18, 0xFFFF, 2), 20, 0xFFFF, 2), BmpFault::TooLarge},
      {"rle data past", With(rle, 34, 0x7FFFFFFF), BmpFault::PixelsCut},
      {"rle without size", With(rle, 34, 0), BmpFault::PixelsCut},
      {"info says core", With(b24, 14, 12), BmpFault::BadFormat},
      {"header 64", With(b24, 14, 64), BmpFault::UnknownHeader},
      {"header FFFFFFFF", With(b24, 14, 0xFFFFFFFF), BmpFault::UnknownHeader},
      {"core cut at 15", Cut(core, 15), BmpFault::HeaderCut},
      {"core cut at 18", Cut(core, 18), BmpFault::HeaderCut},
      {"core cut at 22", Cut(core, 22), BmpFault::HeaderCut},
      {"core bits 0", With(core, 24, 0, 2), BmpFault::BadFormat},
      {"core bits 7FFF", With(core, 24, 0x7FFF, 2), BmpFault::BadFormat},
      {"core bits FFFF", With(core, 24, 0xFFFF, 2), BmpFault::BadFormat},
      {"core width 0", With(core, 18, 0, 2), BmpFault::BadSize},
      {"core height 0", With(core, 20, 0, 2), BmpFault::BadSize},
      {"24 with rle8", With(b24, 30, 1), BmpFault::BadFormat},
      {"1 with fields", With(With(b24, 28, 1, 2), 30, 3), BmpFault::BadFormat},
      {"jpeg", With(b24, 30, 4), BmpFault::BadFormat},
      {"top-down rle", With(rle, 22, static_cast<uint32_t>(-4)), BmpFault::BadFormat},
      {"width 0", With(b24, 18, 0), BmpFault::BadSize},
      {"width negative", With(b24, 18, 0x80000000), BmpFault::BadSize},
      {"height 0", With(b24, 22, 0), BmpFault::BadSize},
      {"palette of 7FFFFFFF", With(rle, 46, 0x7FFFFFFF), BmpFault::PaletteCut},
      {"palette on 24 bits", With(b24, 46, 0xFFFFFFFF), BmpFault::PaletteCut},
      {"masks past the end", With(With(Cut(b24, 54), 30, 3), 28, 16, 2), BmpFault::PaletteCut},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.file), c.fault) << c.what;
}

TEST(BmpCheck, KeepsWhatTheDecoderAccepts) {
  const Bytes b8 = Build({"8", 40, 8, 0, 5, 4});
  EXPECT_EQ(Check(With(b8, 10, 0)), BmpFault::None);     // pixels right after the palette
  EXPECT_EQ(Check(With(b8, 46, 16)), BmpFault::None);    // a shorter palette in use
  EXPECT_EQ(Check(With(b8, 2, 0xFFFFFFFF)), BmpFault::None);  // bfSize is not read
  // The size bounds themselves are taken.
  const Bytes rle = Build({"rle8", 40, 8, 1, 9, 4});
  EXPECT_EQ(Check(With(With(rle, 18, 4096), 22, 4096)), BmpFault::None);
  EXPECT_EQ(Check(With(With(rle, 18, 65535), 22, 256)), BmpFault::None);
  Bytes longer = b8;
  longer.resize(b8.size() + 100, 0);
  EXPECT_EQ(Check(longer), BmpFault::None);
  EXPECT_EQ(Check(With(rle, 34, 4)), BmpFault::None);  // less data than the rows: the decoder stops
}

TEST(BmpCheck, SeedCorpusReplaysAsNamed) {
  const std::vector<std::string> names = CorpusNames();
  int good = 0, bad = 0;
  for (const std::string& name : names) {
    const Bytes f = ReadFile(CorpusFolder() + name);
    ASSERT_FALSE(f.empty()) << name;
    if (name.rfind("ok-", 0) == 0) {
      ++good;
      EXPECT_EQ(Check(f), BmpFault::None) << name;
      for (size_t n = 0; n < f.size(); ++n) EXPECT_NE(Check(Cut(f, n)), BmpFault::None) << name << " cut at " << n;
    } else {
      ++bad;
      EXPECT_NE(Check(f), BmpFault::None) << name;
    }
  }
  EXPECT_GE(good, 15);
  EXPECT_GE(bad, 5);
}

// An OS/2 file widens to the 40-byte header with the same size, depth and
// colours (blue, green, red, 0), its rows found where they lie in the file.
TEST(BmpCheck, CoreHeaderWidensToTheInfoHeader) {
  for (const Kind& k : Kinds) {
    Bytes f = Build(k);
    std::vector<uint8_t> info;
    size_t pixels = 0, bytes = 0;
    const bool core = k.infoSize == 12;
    ASSERT_EQ(zo::HasCoreHeader(f.data(), f.size()), core) << k.name;
    ASSERT_EQ(zo::WidenCoreHeader(f.data(), f.size(), &info, &pixels, &bytes), core) << k.name;
    if (!core) continue;
    const uint32_t colours = k.bits <= 8 ? 1u << k.bits : 0;
    for (uint32_t i = 0; i < colours; ++i) Put(f, 26 + 3 * i, 0x102030 + i, 3);
    ASSERT_TRUE(zo::WidenCoreHeader(f.data(), f.size(), &info, &pixels, &bytes));
    ASSERT_EQ(info.size(), 40 + 4 * colours) << k.name;
    auto at = [&](size_t o, int n) {
      uint32_t v = 0;
      for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(info[o + i]) << (8 * i);
      return v;
    };
    EXPECT_EQ(at(0, 4), 40u);
    EXPECT_EQ(at(4, 4), static_cast<uint32_t>(k.width));
    EXPECT_EQ(at(8, 4), static_cast<uint32_t>(k.height));
    EXPECT_EQ(at(12, 2), 1u);
    EXPECT_EQ(at(14, 2), k.bits);
    EXPECT_EQ(at(32, 4), colours);
    for (uint32_t i = 0; i < colours; ++i) EXPECT_EQ(at(40 + 4 * i, 4), 0x102030 + i) << k.name;
    EXPECT_EQ(pixels, 26 + 3 * colours);
    EXPECT_EQ(pixels + bytes, f.size()) << k.name;
  }
  Bytes cut = Build(Kinds[15]);  // a damaged core file is refused, not widened
  cut.resize(cut.size() - 1);
  std::vector<uint8_t> info;
  size_t pixels = 0, bytes = 0;
  EXPECT_FALSE(zo::WidenCoreHeader(cut.data(), cut.size(), &info, &pixels, &bytes));
}
