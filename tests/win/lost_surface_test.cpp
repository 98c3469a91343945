// Storms of lost surfaces: while blits, effects, presentation, pack loads
// and sprite text run, the next few DirectDraw calls answer
// DDERR_SURFACELOST. Every call must come back, and afterwards every named
// and pack object holds its own pixels again and the made ("*") object its
// surface.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "draw/display_win.h"
#include "draw/image_pack_rules.h"
#include "draw/objects_win.h"
#include "draw_support.h"
#include "lossy_ddraw.h"
#include "zo_test.h"

using zotest::BmpKind;
using zotest::Pixels;

namespace {

struct Operation {
  const char* name;
  std::function<void()> run;
};

Pixels Random(std::mt19937& rng, int w, int h) {
  Pixels p;
  p.width = w;
  p.height = h;
  for (int i = 0; i < w * h; ++i) p.px.push_back(static_cast<uint16_t>(rng() | 0x0821));
  return p;
}

// A pack of one entry, written by hand: 15-bit pixels under "TILE.BMP".
bool WritePack(const std::string& path, const std::vector<uint16_t>& pixels, int w, int h) {
  uint8_t header[4 + zo::PackNameCapacity];
  const size_t n = zo::WritePackEntryHeader(static_cast<uint16_t>(w), static_cast<uint16_t>(h), "TILE.BMP", header);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(header, 1, n, f);
  for (uint16_t v : pixels) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    std::fwrite(b, 1, 2, f);
  }
  return std::fclose(f) == 0;
}

struct LostSurfaceTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    CreateDirectoryA((zotest::ExeFolder() + "losttmp").c_str(), nullptr);
    zoDraw::SetColorKey(0);
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zotest::InstallLossySurfaces();
    zotest::ClearBoxes();
  }
  void TearDown() override {
    zotest::lossesToCome = 0;
    zoDraw::ReleaseAll();
  }
};

TEST_F(LostSurfaceTest, StormsDuringEveryKindOfWorkRestoreAndReloadEveryObject) {
  std::mt19937 rng(404);
  const Pixels one = Random(rng, 24, 16), two = Random(rng, 40, 8);
  const std::string oneName = "losttmp\\one.bmp", twoName = "losttmp\\two.bmp";
  ASSERT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + oneName, BmpKind::Bits24, one));
  ASSERT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + twoName, BmpKind::Bits16Fields565, two));
  std::vector<uint16_t> tile15;
  Pixels tile;
  tile.width = 16;
  tile.height = 12;
  for (int i = 0; i < 16 * 12; ++i) {
    const uint16_t v = static_cast<uint16_t>((rng() & 0x7FFF) | 0x0421);
    tile15.push_back(v);
    tile.px.push_back(static_cast<uint16_t>(((v >> 10) & 31) << 11 | ((v >> 5) & 31) << 6 | (v & 31)));
  }
  ASSERT_TRUE(WritePack(zotest::ExeFolder() + "losttmp\\tiles.pak", tile15, 16, 12));
  zoDraw::SetPackFile("losttmp\\tiles.pak");

  const int a = zoDraw::LoadObject(oneName.c_str(), 2);
  const int b = zoDraw::LoadObject(twoName.c_str(), 1);
  const int p = zoDraw::LoadPack("tile.bmp", 2);
  const int made = zoDraw::CreateObject(32, 32, 2);
  ASSERT_TRUE(a && b && p && made);
  ASSERT_TRUE(zotest::boxes.empty()) << zotest::boxes[0].text;
  const Pixels loadedB = zotest::ReadSurface(drawObjects[b].surface);
  ASSERT_EQ(zotest::ReadSurface(drawObjects[a].surface).px, one.px);
  ASSERT_EQ(zotest::ReadSurface(drawObjects[p].surface).px, tile.px);
  // GDI hands 16-bit files over without green's lowest bit.
  for (size_t i = 0; i < two.px.size(); ++i) ASSERT_TRUE(zotest::SameIgnoringGreenLow(loadedB.px[i], two.px[i]));

  const std::vector<Operation> work = {
      {"blit onto the screen", [&] { zoDraw::DrawSprite(10, 10, a, 0, 0, 24, 16); }},
      {"blit between objects", [&] { zoDraw::DrawSpriteTo(made, 0, 0, b, 0, 0, 30, 8); }},
      {"stretch", [&] { zoDraw::DrawStretch(0, 0, p, 0, 0, 16, 12, 64, 48); }},
      {"blend", [&] { zoDraw::DrawAdd(40, 40, a, 0, 0, 24, 16); }},
      {"filter", [&] { zoDraw::DrawBlur(40, 40, 3, b, 0, 0, 40, 8); }},
      {"rotation", [&] { zoDraw::DrawRotate(100, 100, 20, 20, 45, p, 0, 0, 16, 12); }},
      {"region effect", [&] { zoDraw::ScreenZoom2(0, 0, 40, 30, 0); }},
      {"presentation", [&] { zoDraw::Present(); }},
      {"pack load", [&] {
         const int extra = zoDraw::LoadPack("tile.bmp", 2);
         if (extra) zoDraw::ReleaseObject(extra);
       }},
      {"sprite text", [&] {
         zoText::BeginText(1, 16, 0, 0, 0, 0);
         zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
         zoText::DrawSpriteText(10, 200, 600, 400, "嵐の中の文字", 0);
         zoText::EndText();
       }},
  };
  for (const Operation& op : work) {
    for (int storm : {1, 2, 3, 7, 25}) {
      zotest::ClearBoxes();
      zotest::lossesToCome = storm;
      op.run();
      // The storm may outlast the work: the next calls meet what is left.
      for (int frame = 0; frame < 5 && zotest::lossesToCome > 0; ++frame) zoDraw::DrawSprite(0, 0, a, 0, 0, 4, 4);
      zotest::lossesToCome = 0;
      // Effects leave a lost surface to the blits: the next frame's blit of
      // each object meets any loss still there.
      for (int object : {a, b, p, made}) zoDraw::DrawSprite(0, 0, object, 0, 0, 4, 4);
      const std::string where = std::string(op.name) + ", storm of " + std::to_string(storm);
      EXPECT_EQ(zotest::ReadSurface(drawObjects[a].surface).px, one.px) << where;
      EXPECT_EQ(zotest::ReadSurface(drawObjects[b].surface).px, loadedB.px) << where;
      EXPECT_EQ(zotest::ReadSurface(drawObjects[p].surface).px, tile.px) << where;
      EXPECT_STREQ(drawObjects[a].name, oneName.c_str()) << where;
      EXPECT_STREQ(drawObjects[p].name, "TILE.BMP") << where;
      EXPECT_EQ(drawObjects[p].fromPack, 1) << where;
      EXPECT_STREQ(drawObjects[made].name, "*") << where;
      ASSERT_NE(drawObjects[made].surface, nullptr) << where;
      EXPECT_EQ(drawObjects[made].surface->IsLost(), DD_OK) << where;
      EXPECT_EQ(backSurface->IsLost(), DD_OK) << where;
      // Short storms pass unnoticed; a long one may make a reload report
      // before a later pass brings the object back.
      if (storm <= 7) {
        EXPECT_TRUE(zotest::boxes.empty()) << where << ": " << zotest::boxes[0].text;
      }
    }
  }
  std::printf("%d surfaces lost in all\n", zotest::lossesSoFar);
  EXPECT_GT(zotest::lossesSoFar, 300);
}

}  // namespace
