// Image packs end to end: a pack written by zoDraw::Convert on a 32-bit
// screen (a helper program on the test bed's second, 24-bit X screen) loads
// back on the 16-bit screen with the right pixels and key, SwapPack keeps
// its index, a lost pack object is reloaded from the pack, and screenshots
// open in ImageMagick with the back surface's pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "draw/display_win.h"
#include "draw/image_pack_rules.h"
#include "draw/objects_win.h"
#include "draw_support.h"
#include "fake_surface.h"
#include "recorder.h"
#include "system/file_replace_win.h"
#include "wave_builder.h"
#include "zo.h"
#include "zo_test.h"

using zotest::BmpKind;
using zotest::Pixels;

namespace {

struct Picture {
  const char* name;
  BmpKind kind;
  Pixels image;
};

// What a 5-6-5 pixel becomes after the reduction to the pack's 15 bits and
// the expansion on a 5-6-5 screen.
uint16_t ThroughPack(uint16_t v) {
  const uint16_t p = zo::ReducePackPixel(zotest::ColorOf565(v));
  return static_cast<uint16_t>(((p >> 10) & 31) << 11 | ((p >> 5) & 31) << 6 | (p & 31));
}

Pixels ThroughPack(Pixels image) {
  for (auto& v : image.px) v = ThroughPack(v);
  return image;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a shell command outside Wine and waits (at most ms) until the file
// `done` (a Unix path) exists: Wine cannot wait on a Unix process, so the
// command makes that file last. The command may hold no double quotes.
bool RunOutsideWine(const std::string& command, const std::string& done, int ms) {
  const std::string windowsDone = "Z:" + done;
  DeleteFileA(windowsDone.c_str());
  if (!zotest::StartUnixCommand(command)) return false;
  for (int waited = 0; waited < ms; waited += 100) {
    if (GetFileAttributesA(windowsDone.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(100);
  }
  return false;
}

// A BMP file's pixels as ImageMagick reads them, "r,g,b" per pixel in
// reading order, with its width and height; empty when it could not read it.
struct Decoded {
  int width = 0, height = 0;
  std::vector<std::string> px;
};

Decoded ReadWithImageMagick(const std::string& bmp) {
  Decoded d;
  const std::string text = zotest::UnixPath(zotest::ExeFolder() + "packtmp\\magick.txt");
  const std::string command = "/usr/bin/convert " + zotest::UnixPath(zotest::ExeFolder() + bmp) +
                              " -depth 8 txt:" + text + ".part; mv " + text + ".part " + text;
  if (!RunOutsideWine(command, text, 30000)) return d;
  std::istringstream in(ReadText("Z:" + text));
  std::string line;
  std::getline(in, line);  // # ImageMagick pixel enumeration: w,h,255,srgb
  if (std::sscanf(line.c_str(), "# ImageMagick pixel enumeration: %d,%d", &d.width, &d.height) != 2)
    return d;
  while (std::getline(in, line)) {
    int x, y, r, g, b;
    if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d", &x, &y, &r, &g, &b) == 5)
      d.px.push_back(std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b));
  }
  return d;
}

std::string Channels(int r, int g, int b) {
  return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
}

struct ImagePackTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    const std::string root = zotest::ExeFolder() + "packtmp";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\bmps").c_str(), nullptr);
    zoDraw::SetColorKey(0);
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zotest::ClearBoxes();
  }
  void TearDown() override { zoDraw::ReleaseAll(); }

  static std::vector<Picture> Pictures() {
    std::mt19937 rng(0x9A4C);
    auto random = [&](int w, int h, int colours) {
      std::vector<uint16_t> palette(colours);
      for (auto& c : palette) c = static_cast<uint16_t>(rng());
      palette[0] = 0;  // black: the pack's key
      Pixels p;
      p.width = w;
      p.height = h;
      for (int i = 0; i < w * h; ++i) p.px.push_back(palette[rng() % colours]);
      return p;
    };
    return {{"A.BMP", BmpKind::Bits24, random(23, 17, 60)},
            {"B.BMP", BmpKind::Bits8, random(16, 9, 200)},
            {"C.BMP", BmpKind::Rle8, random(31, 5, 7)},
            {"D.BMP", BmpKind::Bits32, random(4, 30, 90)},
            {"E.BMP", BmpKind::Bits1, random(40, 3, 2)}};
  }

  // Converts packtmp\bmps into packtmp\deep.pak on the 24-bit X screen.
  // Answers the helper's log.
  static std::string ConvertOnADeepScreen(const std::vector<Picture>& pictures) {
    for (const Picture& p : pictures) {
      const std::string path = zotest::ExeFolder() + "packtmp\\bmps\\" + p.name;
      if (!zotest::WriteBmp(path, p.kind, p.image)) return "cannot write " + path;
    }
    // Its own Wine prefix and server: a server keeps the screen of the
    // first program it ran, whatever display a later one names.
    const std::string log = zotest::UnixPath(zotest::ExeFolder() + "packtmp\\deep.log");
    const std::string command = std::string("WINEPREFIX=") + std::getenv("ZO_DEEP_PREFIX") +
                                " DISPLAY=" + std::getenv("ZO_DEEP_DISPLAY") + " " + zotest::WineCommand() + " " +
                                zotest::UnixPath(zotest::ExeFolder() + "deep_screen_app.exe") + " Z:" +
                                log + ".part; mv " + log + ".part " + log;
    if (!RunOutsideWine(command, log, 90000)) return "the helper did not end";
    return ReadText("Z:" + log);
  }
};

TEST_F(ImagePackTest, APackConvertedOnADeepScreenLoadsBackWithItsPixelsKeysAndIndex) {
  if (!std::getenv("ZO_DEEP_DISPLAY") || !std::getenv("ZO_DEEP_PREFIX"))
    GTEST_SKIP() << "no 24-bit X screen on this test bed";
  const std::vector<Picture> pictures = Pictures();
  const std::string log = ConvertOnADeepScreen(pictures);
  ASSERT_NE(log.find("screen 1 depth 32 bits 32"), std::string::npos) << log;
  ASSERT_NE(log.find("convert 1"), std::string::npos) << log;
  EXPECT_EQ(log.find("box "), std::string::npos) << log;

  // On the 16-bit screen Convert refuses and writes nothing.
  EXPECT_EQ(zoDraw::Convert("packtmp\\shallow.pak", "packtmp\\bmps", 1), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::Convert : 画面をフルカラーにして下さい");
  EXPECT_EQ(GetFileAttributesA((zotest::ExeFolder() + "packtmp\\shallow.pak").c_str()),
            INVALID_FILE_ATTRIBUTES);
  zotest::ClearBoxes();

  zoDraw::SetPackFile("packtmp\\deep.pak");
  std::vector<int> indices;
  for (const Picture& p : pictures) {
    std::string lower = p.name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const int index = zoDraw::LoadPack(lower.c_str(), 2);
    ASSERT_GT(index, 0) << p.name << (zotest::boxes.empty() ? "" : zotest::boxes[0].text);
    indices.push_back(index);
    const auto& o = drawObjects[index];
    EXPECT_STREQ(o.name, p.name);
    EXPECT_EQ(o.fromPack, 1);
    EXPECT_EQ(o.width, p.image.width);
    EXPECT_EQ(o.height, p.image.height);
    EXPECT_EQ(zotest::ReadSurface(o.surface).px, ThroughPack(p.image).px) << p.name;
    DDCOLORKEY key{};
    o.surface->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u) << p.name;
  }
  EXPECT_TRUE(zotest::boxes.empty()) << zotest::boxes[0].text;
  EXPECT_EQ(zoDraw::LoadPack("missing.bmp", 2), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::LoadPack : BMPファイルを読み込めません");
  zotest::ClearBoxes();

  // SwapPack into the last object while a lower index is free: the image
  // changes, the number stays, and the staging object is gone again.
  const int last = indices.back(), freed = indices.front();
  zoDraw::ReleaseObject(freed);
  EXPECT_EQ(zoDraw::SwapPack("b.bmp", last, 2), last);
  EXPECT_STREQ(drawObjects[last].name, "B.BMP");
  EXPECT_EQ(drawObjects[last].width, pictures[1].image.width);
  EXPECT_EQ(zotest::ReadSurface(drawObjects[last].surface).px, ThroughPack(pictures[1].image).px);
  EXPECT_EQ(drawObjects[freed].name[0], '\0');
  EXPECT_EQ(drawObjects[freed].surface, nullptr);
  EXPECT_TRUE(zotest::boxes.empty());

  // A lost pack object is reloaded from the pack on the next blit onto it.
  const int lostIndex = indices[2];
  zotest::FakeSurface lost(true);
  IDirectDrawSurface* real = drawObjects[lostIndex].surface;
  drawObjects[lostIndex].surface = &lost;
  zoDraw::DrawSpriteTo(lostIndex, 0, 0, indices[1], 0, 0, 4, 4);
  EXPECT_EQ(lost.restores, 1);
  EXPECT_EQ(lost.refs, 0);
  ASSERT_NE(drawObjects[lostIndex].surface, &lost);
  EXPECT_STREQ(drawObjects[lostIndex].name, "C.BMP");
  EXPECT_EQ(drawObjects[lostIndex].fromPack, 1);
  EXPECT_EQ(zotest::ReadSurface(drawObjects[lostIndex].surface).px,
            ThroughPack(pictures[2].image).px);
  EXPECT_TRUE(zotest::boxes.empty());
  real->Release();
}

TEST_F(ImagePackTest, AScreenshotThatCannotBeWrittenWholeKeepsThePreviousFile) {
  const std::string path = zotest::ExeFolder() + "packtmp\\kept.bmp";
  ASSERT_TRUE(zotest::WriteBytes(path, {'o', 'l', 'd'}));
  zo::replacingFileWriteBudget = 58 + 100;  // headers and part of a row
  EXPECT_EQ(zoDraw::SaveScreen("packtmp\\kept.bmp", 64, 8), 0);
  zo::replacingFileWriteBudget = UINT64_MAX;
  EXPECT_EQ(zotest::ReadBytes(path), zotest::Bytes({'o', 'l', 'd'}));
  EXPECT_EQ(zotest::CountFiles(zotest::ExeFolder() + "packtmp\\zo*.tmp"), 0);
  ASSERT_EQ(zoDraw::SaveScreen("packtmp\\kept.bmp", 64, 8), 1);
  EXPECT_EQ(zotest::ReadBytes(path).size(), 58u + 64 * 3 * 8);
}

TEST_F(ImagePackTest, ScreenshotsOpenInImageMagickWithTheBackSurfacePixels) {
  if (zotest::UnixPath("C:\\").empty() ||
      GetFileAttributesA("Z:\\usr\\bin\\convert") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no ImageMagick beside Wine";

  // 16 bits: each 5-bit component times 8, bottom row first in the file.
  Pixels back = zotest::ReadSurface(backSurface);
  ASSERT_EQ(back.width, 640);
  std::mt19937 rng(58);
  for (auto& v : back.px) v = static_cast<uint16_t>(rng());
  ASSERT_TRUE(zotest::WriteSurface(backSurface, back));
  ASSERT_EQ(zoDraw::SaveScreen("packtmp\\shot16.bmp", 9, 5), 1);
  Decoded shot = ReadWithImageMagick("packtmp\\shot16.bmp");
  ASSERT_EQ(shot.width, 9);
  ASSERT_EQ(shot.height, 5);
  ASSERT_EQ(shot.px.size(), 45u);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) {
      const uint16_t v = back.at(x, y);
      EXPECT_EQ(shot.px[y * 9 + x], Channels((v >> 11) * 8, ((v >> 6) & 31) * 8, (v & 31) * 8))
          << x << "," << y;
    }
  // Larger than the back surface: held to it.
  ASSERT_EQ(zoDraw::SaveScreen("packtmp\\big16.bmp", 5000, 5000), 1);
  shot = ReadWithImageMagick("packtmp\\big16.bmp");
  EXPECT_EQ(shot.width, 640);
  EXPECT_EQ(shot.height, 480);

  // 32 bits, on the second screen: red 16x, green 32y, blue 200.
  if (!std::getenv("ZO_DEEP_DISPLAY") || !std::getenv("ZO_DEEP_PREFIX")) return;
  const std::string log = ConvertOnADeepScreen(Pictures());
  ASSERT_NE(log.find("save 1"), std::string::npos) << log;
  shot = ReadWithImageMagick("packtmp\\deep.bmp");
  ASSERT_EQ(shot.width, 8);
  ASSERT_EQ(shot.height, 4);
  ASSERT_EQ(shot.px.size(), 32u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(shot.px[y * 8 + x], Channels(16 * x, 32 * y, 200));
}

}  // namespace
