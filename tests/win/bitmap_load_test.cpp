// Damaged BMP files through zoDraw::LoadObject: a fixed-seed corpus of cut,
// overwritten and mutated files, loaded for several rounds. Nothing may
// crash or corrupt the heap, every refusal is reported once, and GDI
// objects, handles and memory stay flat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "draw/bmp_check.h"
#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "draw_support.h"
#include "picture_files.h"
#include "resource_count.h"
#include "wave_builder.h"
#include "zo_test.h"

using Bytes = std::vector<uint8_t>;
using zotest::BmpKind;

namespace {

const std::string Folder = "bmpdamage\\";
const char* const Refused = "zoDraw::LoadObject : BMPファイルを読み込めません";

void Put(Bytes& b, size_t at, uint32_t v, int size) {
  for (int i = 0; i < size && at + i < b.size(); ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 5 x 3 24-bit file with the 12-byte OS/2 core header.
Bytes CoreFile() {
  Bytes f(26, 0);
  f[0] = 'B';
  f[1] = 'M';
  Put(f, 10, 26, 4);
  Put(f, 14, 12, 4);
  Put(f, 18, 5, 2);
  Put(f, 20, 3, 2);
  Put(f, 22, 1, 2);
  Put(f, 24, 24, 2);
  for (int i = 0; i < 3 * 16; ++i) f.push_back(static_cast<uint8_t>(i * 37));
  Put(f, 2, static_cast<uint32_t>(f.size()), 4);
  return f;
}

// Every field of the file header and of the info header (or core header):
// offset and size.
std::vector<std::pair<size_t, int>> HeaderFields(bool core) {
  std::vector<std::pair<size_t, int>> fields = {{0, 2}, {2, 4}, {6, 2}, {8, 2}, {10, 4}, {14, 4}};
  if (core) {
    for (size_t at : {18, 20, 22, 24}) fields.push_back({at, 2});
  } else {
    for (size_t at : {18, 22}) fields.push_back({at, 4});
    fields.push_back({26, 2});
    fields.push_back({28, 2});
    for (size_t at = 30; at < 54; at += 4) fields.push_back({at, 4});
  }
  return fields;
}

// Every damaged variant of a good file: cut at each header boundary and in
// the pixels, each field set to each extreme, the offset and the height far
// beyond the data, and random byte mutations.
std::vector<Bytes> Damage(const Bytes& good, std::mt19937& rng) {
  std::vector<Bytes> out;
  const bool core = good[14] == 12;
  const auto fields = HeaderFields(core);
  for (const auto& f : fields) out.emplace_back(good.begin(), good.begin() + f.first);
  out.emplace_back(good.begin(), good.begin() + (core ? 26 : 54));
  out.emplace_back(good.begin(), good.begin() + (good.size() + 54) / 2);
  out.emplace_back(good.begin(), good.end() - 1);
  for (const auto& f : fields) {
    const uint32_t values[] = {0, 1, f.second == 2 ? 0x7FFFu : 0x7FFFFFFFu,
                               f.second == 2 ? 0xFFFFu : 0xFFFFFFFFu, f.second == 2 ? 0x8000u : 0x80000000u};
    for (uint32_t v : values) {
      Bytes b = good;
      Put(b, f.first, v, f.second);
      out.push_back(b);
    }
  }
  Bytes distant = good;
  Put(distant, 10, static_cast<uint32_t>(good.size() + 100000), 4);
  out.push_back(distant);
  Bytes tall = good;
  if (core)
    Put(tall, 20, (good[20] | good[21] << 8) * 64, 2);
  else
    Put(tall, 22, (good[22] | good[23] << 8) * 64, 4);
  out.push_back(tall);
  for (int i = 0; i < 30; ++i) {
    Bytes b = good;
    for (int n = 1 + rng() % 4; n > 0; --n) b[rng() % std::min<size_t>(b.size(), 70)] = static_cast<uint8_t>(rng());
    out.push_back(b);
  }
  return out;
}

struct Outcome {
  int loaded = 0, refused = 0, checkedOut = 0;  // checkedOut: refused before the decoder
};

struct BitmapLoadTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    CreateDirectoryA((zotest::ExeFolder() + "bmpdamage").c_str(), nullptr);
    zoDraw::SetColorKey(0);
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zotest::ClearBoxes();
  }
  void TearDown() override { zoDraw::ReleaseAll(); }

  // Loads every file once; a refused record is freed by hand so that the
  // table never fills.
  static Outcome LoadAll(const std::vector<std::string>& names) {
    Outcome o;
    for (const std::string& name : names) {
      const Bytes file = zotest::ReadBytes(zotest::ExeFolder() + name);
      const bool fits = zo::CheckBmpFile(file.data(), file.size()) == zo::BmpFault::None;
      o.checkedOut += !fits;
      const size_t boxesBefore = zotest::boxes.size();
      const int claimed = zo::FindFreeObject();
      const int index = zoDraw::LoadObject(name.c_str(), 0);
      EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr)) << name;
      const size_t reports = zotest::boxes.size() - boxesBefore;
      if (index == 0) {
        ++o.refused;
        EXPECT_EQ(reports, 1u) << name;
        if (reports == 1) {
          EXPECT_EQ(zotest::boxes.back().text, Refused) << name;
        }
        EXPECT_EQ(drawObjects[claimed].surface, nullptr);
        drawObjects[claimed].name[0] = '\0';
      } else {
        ++o.loaded;
        EXPECT_TRUE(fits) << name;
        EXPECT_EQ(reports, 0u) << name;
        zoDraw::ReleaseObject(index);
      }
    }
    zotest::ClearBoxes();
    return o;
  }
};

}  // namespace

TEST_F(BitmapLoadTest, ResourceCountsMoveWhenResourcesAreMade) {
  const int gdi = zotest::CountGdiObjects(), handles = zotest::CountKernelHandles();
  const size_t memory = zotest::CommittedPrivateBytes();
  HBRUSH brushes[10];
  for (auto& b : brushes) b = CreateSolidBrush(RGB(1, 2, 3));
  HANDLE events[10];
  for (auto& e : events) e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  void* block = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT, PAGE_READWRITE);
  EXPECT_GE(zotest::CountGdiObjects(), gdi + 10);
  EXPECT_GE(zotest::CountKernelHandles(), handles + 10);
  EXPECT_GE(zotest::CommittedPrivateBytes(), memory + (1 << 20));
  VirtualFree(block, 0, MEM_RELEASE);
  for (auto& e : events) CloseHandle(e);
  for (auto& b : brushes) DeleteObject(b);
  EXPECT_EQ(zotest::CountGdiObjects(), gdi);
}

TEST_F(BitmapLoadTest, DamagedFilesAreRefusedOnceAndLeakNothing) {
  std::mt19937 rng(0x5EED);
  zotest::Pixels image;
  image.width = 5;
  image.height = 3;
  for (int i = 0; i < 15; ++i) image.px.push_back(static_cast<uint16_t>(0x1234 * (i % 2 + 1)));  // two colours: 1-bit files too
  std::vector<Bytes> goods;
  const BmpKind kinds[] = {BmpKind::Bits1,  BmpKind::Bits4,           BmpKind::Bits8,  BmpKind::Rle8,
                           BmpKind::Bits16, BmpKind::Bits16Fields565, BmpKind::Bits24, BmpKind::Bits32};
  for (BmpKind k : kinds) {
    const std::string path = zotest::ExeFolder() + Folder + "good.bmp";
    ASSERT_TRUE(zotest::WriteBmp(path, k, image));
    goods.push_back(zotest::ReadBytes(path));
  }
  const std::string top = zotest::ExeFolder() + Folder + "good.bmp";
  ASSERT_TRUE(zotest::WriteBmp(top, BmpKind::Bits24, image, true));
  goods.push_back(zotest::ReadBytes(top));
  goods.push_back(CoreFile());

  // The good files themselves load, as before.
  std::vector<std::string> goodNames, names;
  for (size_t g = 0; g < goods.size(); ++g) {
    goodNames.push_back(Folder + "g" + std::to_string(g) + ".bmp");
    ASSERT_TRUE(zotest::WriteBytes(zotest::ExeFolder() + goodNames.back(), goods[g]));
  }
  Outcome good = LoadAll(goodNames);
  EXPECT_EQ(good.loaded, static_cast<int>(goods.size()));

  for (size_t g = 0; g < goods.size(); ++g) {
    std::vector<Bytes> damaged = Damage(goods[g], rng);
    for (size_t d = 0; d < damaged.size(); ++d) {
      names.push_back(Folder + std::to_string(g) + "-" + std::to_string(d) + ".bmp");
      ASSERT_TRUE(zotest::WriteBytes(zotest::ExeFolder() + names.back(), damaged[d]));
    }
  }
  ASSERT_GT(names.size(), 900u);

  Outcome first = LoadAll(names);  // the first round lets caches settle
  const int gdi = zotest::CountGdiObjects(), handles = zotest::CountKernelHandles();
  const size_t memory = zotest::CommittedPrivateBytes();
  for (int round = 0; round < 3; ++round) {
    Outcome o = LoadAll(names);
    EXPECT_EQ(o.refused, first.refused);  // the same files refused every round
    EXPECT_EQ(o.loaded, first.loaded);
  }
  EXPECT_GE(first.refused, first.checkedOut);
  EXPECT_GT(first.checkedOut, static_cast<int>(names.size()) / 3);
  EXPECT_EQ(zotest::CountGdiObjects(), gdi);
  EXPECT_EQ(zotest::CountKernelHandles(), handles);
  EXPECT_LE(zotest::CommittedPrivateBytes(), memory + 256 * 1024);
  std::printf("%zu damaged files: %d loaded, %d refused (%d by the header check) per round; "
              "%d GDI objects, %d handles, %zu KB\n",
              names.size(), first.loaded, first.refused, first.checkedOut, gdi, handles, memory / 1024);
}

// PNG, JPEG and GIF pictures through the imaging component follow the path
// of a 24-bit BMP: the same pixels on the 16-bit surface, the same key.
TEST_F(BitmapLoadTest, APngWithAlphaLoadsAsItsBmpWouldWithClearPixelsTransparent) {
  const uint32_t seed = GetTickCount();
  std::mt19937 rng(seed);
  const int w = 13, h = 7;
  const uint16_t key565 = 0xF81F;
  const COLORREF key = zotest::ColorOf565(key565);
  zotest::Pixels expected;
  expected.width = w;
  expected.height = h;
  std::vector<uint8_t> bgra;
  for (int i = 0; i < w * h; ++i) {
    uint16_t v = static_cast<uint16_t>(rng());
    if (v == key565) v ^= 1;
    const COLORREF c = zotest::ColorOf565(v);
    // Alpha on both sides of the threshold; a clear pixel's own colour must not show.
    const uint8_t alpha = static_cast<uint8_t>(i % 3 == 0 ? rng() % 128 : 128 + rng() % 128);
    bgra.insert(bgra.end(), {GetBValue(c), GetGValue(c), GetRValue(c), alpha});
    expected.px.push_back(alpha < 128 ? key565 : v);
  }
  ASSERT_TRUE(zotest::WritePng(zotest::ExeFolder() + Folder + "alpha.png", w, h, bgra));
  ASSERT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + Folder + "alpha.bmp", BmpKind::Bits24, expected));
  zoDraw::SetColorKey(key);
  const int png = zoDraw::LoadObject((Folder + "alpha.png").c_str(), 1);
  const int bmp = zoDraw::LoadObject((Folder + "alpha.bmp").c_str(), 1);
  ASSERT_NE(png, 0);
  ASSERT_NE(bmp, 0);
  EXPECT_EQ(drawObjects[png].width, w);
  EXPECT_EQ(drawObjects[png].height, h);
  EXPECT_EQ(drawObjects[png].colorKey, static_cast<int32_t>(key));
  const zotest::Pixels fromPng = zotest::ReadSurface(drawObjects[png].surface);
  const zotest::Pixels fromBmp = zotest::ReadSurface(drawObjects[bmp].surface);
  ASSERT_EQ(fromPng.px.size(), expected.px.size());
  EXPECT_EQ(fromPng.px, fromBmp.px) << "seed " << seed;
  DDCOLORKEY pngKey = {}, bmpKey = {};
  drawObjects[png].surface->GetColorKey(DDCKEY_SRCBLT, &pngKey);
  drawObjects[bmp].surface->GetColorKey(DDCKEY_SRCBLT, &bmpKey);
  EXPECT_EQ(pngKey.dwColorSpaceLowValue, bmpKey.dwColorSpaceLowValue);
  for (size_t i = 0; i < bgra.size() / 4; ++i) {
    if (bgra[i * 4 + 3] < 128) {
      EXPECT_EQ(fromPng.px[i], pngKey.dwColorSpaceLowValue) << "seed " << seed;
    }
  }
  // A restore reloads the picture from its file, by its extension.
  zotest::Pixels blank = fromPng;
  std::fill(blank.px.begin(), blank.px.end(), 0);
  ASSERT_TRUE(zotest::WriteSurface(drawObjects[png].surface, blank));
  ASSERT_EQ(zoDraw::SwapObject((Folder + "alpha.png").c_str(), png, 1), 1);
  EXPECT_EQ(zotest::ReadSurface(drawObjects[png].surface).px, fromBmp.px);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(BitmapLoadTest, AFlatJpegAndAGifLoad) {
  const COLORREF flat = zotest::ColorOf565(0x8410);  // mid grey: every channel away from the ends
  ASSERT_TRUE(zotest::WriteFlatJpeg(zotest::ExeFolder() + Folder + "flat.jpg", 24, 16, flat));
  const int jpeg = zoDraw::LoadObject((Folder + "flat.jpg").c_str(), 1);
  ASSERT_NE(jpeg, 0);
  EXPECT_EQ(drawObjects[jpeg].width, 24);
  EXPECT_EQ(drawObjects[jpeg].height, 16);
  for (uint16_t v : zotest::ReadSurface(drawObjects[jpeg].surface).px) {
    // A flat JPEG decodes to within a step of its colour in each channel.
    EXPECT_LE(std::abs((v >> 11) - 0x10), 1);
    EXPECT_LE(std::abs(((v >> 5) & 63) - 0x20), 1);
    EXPECT_LE(std::abs((v & 31) - 0x10), 1);
  }
  const uint32_t palette[4] = {zotest::ColorOf565(0x001F), zotest::ColorOf565(0x07E0),
                               zotest::ColorOf565(0xF800), zotest::ColorOf565(0xFFFF)};
  std::vector<uint8_t> indices;
  for (int i = 0; i < 5 * 3; ++i) indices.push_back(static_cast<uint8_t>((i * 7) % 4));
  ASSERT_TRUE(zotest::WriteGif(zotest::ExeFolder() + Folder + "four.gif", 5, 3, indices, palette));
  const int gif = zoDraw::LoadObject((Folder + "FOUR.GIF").c_str(), 1);
  ASSERT_NE(gif, 0);
  const zotest::Pixels got = zotest::ReadSurface(drawObjects[gif].surface);
  const uint16_t values[4] = {0x001F, 0x07E0, 0xF800, 0xFFFF};
  ASSERT_EQ(got.px.size(), indices.size());
  for (size_t i = 0; i < indices.size(); ++i) EXPECT_EQ(got.px[i], values[indices[i]]) << i;
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(BitmapLoadTest, ASmallPngClaimingThirtyThousandSquareIsRefusedWithOneBox) {
  const std::string name = Folder + "huge.png";
  ASSERT_TRUE(zotest::WritePngClaiming(zotest::ExeFolder() + name, 30000, 30000));
  EXPECT_LT(zotest::ReadBytes(zotest::ExeFolder() + name).size(), 1100u);
  const DWORD start = GetTickCount();
  EXPECT_EQ(zoDraw::LoadObject(name.c_str(), 1), 0);
  EXPECT_LT(GetTickCount() - start, 1000u);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, Refused);
}
