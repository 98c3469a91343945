// The display, the sprite object table, BMP loading, colour keys and the
// restore of lost surfaces, on Wine's 16-bit 5-6-5 display.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "draw/display_win.h"
#include "draw/effects/effect_tables.h"
#include "draw/objects_win.h"
#include "draw/sine_table.h"
#include "draw_support.h"
#include "fake_surface.h"
#include "zo_test.h"

using zotest::BmpKind;
using zotest::Pixels;

namespace {

const std::string Folder = "drawtmp\\";

std::string BoxText(size_t i) { return i < zotest::boxes.size() ? zotest::boxes[i].text : "(no box)"; }

struct DrawTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    CreateDirectoryA((zotest::ExeFolder() + "drawtmp").c_str(), nullptr);
    zoDraw::SetColorKey(0);
    ASSERT_EQ(zotest::OpenDisplay(), 1) << BoxText(0);
    zotest::ClearBoxes();
  }
  void TearDown() override { zoDraw::ReleaseAll(); }

  // A random image of up to `colours` distinct 5-6-5 values.
  static Pixels RandomImage(std::mt19937& rng, int w, int h, int colours) {
    std::vector<uint16_t> palette(colours);
    for (auto& c : palette) c = static_cast<uint16_t>(rng());
    Pixels p;
    p.width = w;
    p.height = h;
    p.px.resize(static_cast<size_t>(w) * h);
    for (auto& v : p.px) v = palette[rng() % colours];
    return p;
  }

  static std::string Write(const std::string& name, BmpKind kind, const Pixels& image,
                           bool topDown = false) {
    EXPECT_TRUE(zotest::WriteBmp(zotest::ExeFolder() + Folder + name, kind, image, topDown));
    return Folder + name;
  }
};

}  // namespace

// ---- The display ----

TEST_F(DrawTest, WindowedDisplayOnTheSixteenBitScreen) {
  errorFlag = 1;
  ASSERT_EQ(zotest::OpenDisplay(), 1);
  EXPECT_EQ(errorFlag, 0);
  EXPECT_TRUE(zotest::boxes.empty()) << BoxText(0);
  EXPECT_NE(directDraw, nullptr);
  EXPECT_NE(primarySurface, nullptr);
  EXPECT_NE(backSurface, nullptr);
  EXPECT_NE(clipper, nullptr);
  EXPECT_EQ(displayDepth, 16);
  EXPECT_EQ(zoDraw::GetDisplayDepth(), 16);
  EXPECT_EQ(zoDraw::IsWindowed(), 1);
  EXPECT_EQ(screenWidth, 640);
  EXPECT_EQ(screenHeight, 480);
  EXPECT_EQ(ClipRect.left, 0);
  EXPECT_EQ(ClipRect.top, 0);
  EXPECT_EQ(ClipRect.right, 640);
  EXPECT_EQ(ClipRect.bottom, 480);
  EXPECT_EQ(screenRect.right, 640);
  EXPECT_EQ(screenRect.bottom, 480);
  EXPECT_EQ(presentRect.left, clientX);
  EXPECT_EQ(presentRect.right, clientX + 640);
  EXPECT_EQ(presentRect.bottom, clientY + 480);

  EXPECT_EQ(harness::Fields(PixelFormat), harness::Fields(harness::kKnown565));

  EXPECT_EQ(SineTable[90], 360);
  EXPECT_EQ(SineTable[270], -360);
  EXPECT_TRUE(canStretch == 0 || canStretch == 1);
}

TEST_F(DrawTest, InternalObjectsAndTheEmptyTable) {
  const char* names[4] = {"内部用１", "内部用２", "内部用３", "内部用４"};
  for (int i = 0; i < 4; ++i) {
    const DrawObject& o = drawObjects[i];
    ASSERT_NE(o.surface, nullptr) << i;
    EXPECT_STREQ(o.name, names[i]);
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.colorKey, 0);
    EXPECT_EQ(o.memory, 2);
    EXPECT_EQ(o.fromPack, 0);
    DDCOLORKEY key{};
    ASSERT_EQ(o.surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(o.surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 640u);
    EXPECT_EQ(desc.dwHeight, 480u);
    if (i >= 2) {
      EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY) << i;
    }
  }
  // Placement 0 puts the buffer objects into system memory as well.
  ASSERT_EQ(zotest::OpenDisplay(640, 480, 0), 1);
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(drawObjects[0].surface->GetSurfaceDesc(&desc), DD_OK);
  EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);

  for (int i = 4; i < MaxDrawObjects; ++i) {
    ASSERT_EQ(drawObjects[i].surface, nullptr);
    ASSERT_EQ(drawObjects[i].name[0], '\0');
    ASSERT_EQ(drawObjects[i].memory, 2);
  }
}

TEST_F(DrawTest, ScreenAgainAndTheConfiguredSize) {
  int first = zoDraw::LoadObject("missing-but-claims.bmp", 2);  // claims 4 without surface
  EXPECT_EQ(first, 0);
  requestedWidth = 320;
  requestedHeight = 240;
  zotest::ClearBoxes();
  ASSERT_EQ(zoDraw::Screen(-1, 0, 1), 1) << BoxText(0);
  EXPECT_EQ(screenWidth, 320);
  EXPECT_EQ(screenHeight, 240);
  EXPECT_EQ(drawObjects[0].width, 320);
  EXPECT_EQ(ClipRect.right, 320);
  EXPECT_EQ(drawObjects[4].name[0], '\0');  // the table is emptied again
  requestedWidth = 640;
  requestedHeight = 480;
}

TEST_F(DrawTest, ScreenReportsWhatItCannotCreate) {
  zoDraw::ReleaseAll();
  EXPECT_EQ(zotest::OpenDisplay(0, 0, 1), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::Screen : 裏画面が生成できません");
  EXPECT_EQ(zotest::boxes[0].title, "エラー発生");
  EXPECT_EQ(errorFlag, 1);
  EXPECT_EQ(backSurface, nullptr);

  // Nothing may crash on the half-built display.
  zoDraw::DrawSprite(0, 0, 0, 0, 0, 10, 10);
  zoDraw::ClearScreen();
  zoDraw::HalfFillRect(0, 0, 10, 10, 0);
  zoDraw::DrawStretch(0, 0, 4, 0, 0, 5, 5, 10, 10);
  zoDraw::RestoreSurfaces();
}

TEST_F(DrawTest, FullScreenModeFallsBackThroughTheDepths) {
  zoDraw::ReleaseAll();
  fullScreen = 1;
  zoDraw::SetDisplayDepths(13, 7, 11);  // no display offers these
  EXPECT_EQ(zoDraw::Screen(123, 77, 1), 0);
  EXPECT_EQ(displayDepth, 11);
  ASSERT_FALSE(zotest::boxes.empty());
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::Screen : 解像度が変更できません");
  EXPECT_EQ(zoDraw::IsWindowed(), 0);
  zo::ReleaseDisplayObjects();  // leaves the window as it is
  fullScreen = 0;
  zoDraw::SetDisplayDepths(16, 0, 0);
  zotest::ClearBoxes();
  EXPECT_EQ(zotest::OpenDisplay(), 1) << BoxText(0);
}

// ---- Before a display and after the release ----

TEST_F(DrawTest, NothingCrashesWithoutADisplay) {
  zoDraw::ReleaseAll();
  EXPECT_EQ(directDraw, nullptr);
  EXPECT_EQ(drawObjects[0].surface, nullptr);
  zoDraw::DrawSprite(0, 0, 0, 0, 0, 10, 10);
  zoDraw::DrawSpriteOpaque(0, 0, 4, 0, 0, 10, 10);
  zoDraw::DrawSpriteTo(5, 0, 0, 4, 0, 0, 10, 10);
  zoDraw::DrawSpriteToOpaque(5, 0, 0, 4, 0, 0, 10, 10);
  zoDraw::DrawStretch(0, 0, 4, 0, 0, 10, 10, 20, 20);
  zoDraw::DrawStretchOpaque(0, 0, 4, 0, 0, 10, 10, 20, 20);
  zoDraw::ClearScreen();
  zoDraw::ClearObject(4);
  zoDraw::ClearRect(0, 0, 5, 5);
  zoDraw::DrawFrame(0, 0, 5, 5);
  zoDraw::WhiteScreen();
  zoDraw::WhiteRect(0, 0, 5, 5);
  zoDraw::FillRect(0, 0, 5, 5, 0x1234);
  zoDraw::HalfFillRect(0, 0, 5, 5, 0x1234);
  zoDraw::DrawRowWave(0, 0, 5, 0, 10.0f, 4, 0, 0, 10, 10, 1);
  zoDraw::DrawTileScroll(1.0f, 1.0f, 4, 0, 0, 10, 10);
  zoDraw::DrawRowWaveScroll(0, 0, 5, 0, 1.0f, 1.0f, 4, 0, 0, 10, 10);
  zoDraw::DrawRowWaveTile(0, 10, 5, 0, 1.0f, 1.0f, 4, 0, 0, 10, 10);
  zoDraw::DrawRowMosaic(0, 0, 2, 4, 0, 0, 10, 10);
  zoDraw::SetObjectColorKey(4, 0xFF00FF);
  zoDraw::SetObjectTopLeftColorKey(4);
  zoDraw::CopyColorKey(4, 5);
  zoDraw::ReleaseObject(4);
  zoDraw::RestoreSurfaces();
  EXPECT_TRUE(zotest::boxes.empty());

  EXPECT_EQ(zoDraw::LoadObject("drawtmp\\none.bmp", 2), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::LoadObject : BMPファイルを読み込めません");
  EXPECT_EQ(zoDraw::CreateObject(8, 8, 2), 0);
  EXPECT_EQ(BoxText(1), "zoDraw::CreateObject : スプライトを作成できません");
  EXPECT_EQ(zoDraw::SwapObject("drawtmp\\none.bmp", 4, 2), 0);
  EXPECT_EQ(BoxText(2), "zoDraw::SwapObject : BMPファイルを読み込めません");
}

TEST_F(DrawTest, ObjectNumbersOutsideTheTableAreRefused) {
  int bad[] = {-1, -100000, 512, 1 << 30};
  for (int n : bad) {
    zoDraw::DrawSprite(0, 0, n, 0, 0, 10, 10);
    zoDraw::DrawSpriteTo(n, 0, 0, 0, 0, 0, 10, 10);
    zoDraw::DrawStretch(0, 0, n, 0, 0, 10, 10, 20, 20);
    zoDraw::ClearObject(n);
    zoDraw::SetObjectColorKey(n, 0);
    zoDraw::SetObjectTopLeftColorKey(n);
    zoDraw::CopyColorKey(n, 0);
    zoDraw::CopyColorKey(0, n);
    zoDraw::ReleaseObject(n);
    zoDraw::DrawRowMosaic(0, 0, 1, n, 0, 0, 10, 10);
  }
  EXPECT_TRUE(zotest::boxes.empty());
  EXPECT_EQ(zoDraw::SwapObject("drawtmp\\x.bmp", 512, 2), 0);
  EXPECT_EQ(BoxText(0), "zoDraw::SwapObject : オブジェクト番号が範囲外です");
  EXPECT_EQ(zoDraw::SwapObject("drawtmp\\x.bmp", -1, 2), 0);
  EXPECT_EQ(zotest::boxes.size(), 2u);
}

// ---- The object table ----

TEST_F(DrawTest, FirstLoadsTakeFourAndFiveAndReleasedIndicesComeBack) {
  std::mt19937 rng(7);
  std::string block = Write("block.bmp", BmpKind::Bits24, RandomImage(rng, 30, 30, 50));
  std::string back = Write("back.bmp", BmpKind::Bits24, RandomImage(rng, 64, 48, 50));
  EXPECT_EQ(zoDraw::LoadObject(block.c_str(), 2), 4);
  EXPECT_EQ(zoDraw::LoadObject(back.c_str(), 2), 5);
  EXPECT_STREQ(drawObjects[4].name, block.c_str());
  EXPECT_EQ(drawObjects[4].width, 30);
  EXPECT_EQ(drawObjects[5].width, 64);
  EXPECT_EQ(drawObjects[5].height, 48);
  EXPECT_EQ(drawObjects[5].memory, 2);
  EXPECT_EQ(drawObjects[5].fromPack, 0);
  EXPECT_EQ(zoDraw::CreateObject(10, 10, 0), 6);
  EXPECT_STREQ(drawObjects[6].name, "*");
  EXPECT_EQ(drawObjects[6].memory, 2);  // whatever placement was asked for
  EXPECT_EQ(zoDraw::LoadObject(block.c_str(), 0), 7);

  zoDraw::ReleaseObject(5);
  EXPECT_EQ(drawObjects[5].surface, nullptr);
  EXPECT_EQ(drawObjects[5].name[0], '\0');
  EXPECT_EQ(drawObjects[5].width, 0);
  EXPECT_EQ(drawObjects[5].memory, 2);
  EXPECT_EQ(zoDraw::LoadObject(back.c_str(), 2), 5);
  EXPECT_EQ(zoDraw::CreateObject(3, 3, 2), 8);
  EXPECT_TRUE(zotest::boxes.empty()) << BoxText(0);
}

TEST_F(DrawTest, NamesOfThirtyAndThirtyOneCharacters) {
  std::mt19937 rng(8);
  std::string thirty = Folder + std::string(30 - Folder.size() - 4, 'a') + ".bmp";
  ASSERT_EQ(thirty.size(), 30u);
  Write(thirty.substr(Folder.size()), BmpKind::Bits24, RandomImage(rng, 5, 5, 5));
  EXPECT_EQ(zoDraw::LoadObject(thirty.c_str(), 2), 4);
  EXPECT_STREQ(drawObjects[4].name, thirty.c_str());
  std::string thirtyOne = Folder + std::string(31 - Folder.size() - 4, 'b') + ".bmp";
  Write(thirtyOne.substr(Folder.size()), BmpKind::Bits24, RandomImage(rng, 5, 5, 5));
  EXPECT_EQ(zoDraw::LoadObject(thirtyOne.c_str(), 2), 0);
  EXPECT_EQ(BoxText(0), "zoDraw::LoadObject : ファイル名またはリソース名が長すぎます");
  EXPECT_EQ(drawObjects[5].name[0], '\0');  // nothing claimed
  EXPECT_EQ(zoDraw::SwapObject(thirtyOne.c_str(), 4, 2), 0);
  EXPECT_EQ(BoxText(1), "zoDraw::SwapObject : ファイル名またはリソース名が長すぎます");
  EXPECT_STREQ(drawObjects[4].name, thirty.c_str());  // unchanged
  EXPECT_NE(drawObjects[4].surface, nullptr);
}

TEST_F(DrawTest, TheFiveHundredAndNinthObjectIsRefused) {
  std::mt19937 rng(9);
  std::string one = Write("one.bmp", BmpKind::Bits24, RandomImage(rng, 2, 2, 2));
  for (int i = FirstUserObject; i < MaxDrawObjects; ++i) {
    ASSERT_EQ(zoDraw::CreateObject(1, 1, 0), i) << BoxText(0);
  }
  EXPECT_EQ(zoDraw::LoadObject(one.c_str(), 2), 0);
  EXPECT_EQ(BoxText(0), "zoDraw::LoadObject : オブジェクト数が多過ぎます");
  EXPECT_EQ(zoDraw::CreateObject(1, 1, 2), 0);
  EXPECT_EQ(BoxText(1), "zoDraw::CreateObject : オブジェクト数が多過ぎます");
  zoDraw::ReleaseObject(300);
  zotest::ClearBoxes();
  EXPECT_EQ(zoDraw::LoadObject(one.c_str(), 2), 300);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(DrawTest, MissingOrCorruptBmpKeepsTheIndexClaimed) {
  EXPECT_EQ(zoDraw::LoadObject("drawtmp\\absent.bmp", 2), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::LoadObject : BMPファイルを読み込めません");
  EXPECT_EQ(errorFlag, 1);
  EXPECT_STREQ(drawObjects[4].name, "drawtmp\\absent.bmp");
  EXPECT_EQ(drawObjects[4].surface, nullptr);

  const char* corrupt[] = {"BM", "BM\x10\0\0\0garbage garbage garbage garbage"};
  for (int i = 0; i < 2; ++i) {
    std::string name = "drawtmp\\bad" + std::to_string(i) + ".bmp";
    FILE* f = std::fopen((zotest::ExeFolder() + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(corrupt[i], 1, i == 0 ? 2 : 40, f);
    std::fclose(f);
    EXPECT_EQ(zoDraw::LoadObject(name.c_str(), 2), 0);
    EXPECT_EQ(BoxText(1 + i), "zoDraw::LoadObject : BMPファイルを読み込めません");
    EXPECT_STREQ(drawObjects[5 + i].name, name.c_str());
  }
  // A claimed record without a surface can be freed by a release, and its
  // number comes back.
  zoDraw::ReleaseObject(4);
  EXPECT_EQ(drawObjects[4].name[0], '\0');
  std::mt19937 rng(10);
  std::string good = Write("good.bmp", BmpKind::Bits24, RandomImage(rng, 4, 4, 4));
  EXPECT_EQ(zoDraw::LoadObject(good.c_str(), 2), 4);
  EXPECT_EQ(zoDraw::LoadObject(good.c_str(), 2), 7);
}

// The display's own objects 0..3 (sprite text draws through 2 and 3) cannot
// be released or swapped by a caller.
TEST_F(DrawTest, TheDisplaysInternalObjectsAreRefused) {
  std::mt19937 rng(11);
  std::string good = Write("internal.bmp", BmpKind::Bits24, RandomImage(rng, 4, 4, 4));
  IDirectDrawSurface* internal[4];
  for (int i = 0; i < 4; ++i) internal[i] = drawObjects[i].surface;
  for (int i = 0; i < 4; ++i) {
    zoDraw::ReleaseObject(i);
    EXPECT_EQ(zoDraw::SwapObject(good.c_str(), i, 2) + zoDraw::SwapPack("X.BMP", i, 2), 0) << i;
    EXPECT_EQ(BoxText(2 * i + 1), "zoDraw::SwapPack : オブジェクト番号が範囲外です");
  }
  EXPECT_EQ(BoxText(0), "zoDraw::SwapObject : オブジェクト番号が範囲外です");
  EXPECT_EQ(zotest::boxes.size(), 8u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(drawObjects[i].surface, internal[i]) << i;
}

// An object whose file went away while its surface was lost is reported
// once by a restore, though later passes try it again.
TEST_F(DrawTest, ARestoreReportsAnObjectThatCannotBeReloadedOnce) {
  std::mt19937 rng(17);
  std::string name = Write("gone.bmp", BmpKind::Bits24, RandomImage(rng, 8, 8, 4));
  ASSERT_EQ(zoDraw::LoadObject(name.c_str(), 2), 4);
  ASSERT_TRUE(DeleteFileA((zotest::ExeFolder() + name).c_str()));
  zotest::FakeSurface lost(true);
  IDirectDrawSurface* real = drawObjects[4].surface;
  drawObjects[4].surface = &lost;
  zoDraw::RestoreSurfaces();
  ASSERT_EQ(zotest::boxes.size(), 1u) << BoxText(1);
  EXPECT_EQ(BoxText(0), "zoDraw::SwapObject : BMPファイルを読み込めません");
  real->Release();
}

TEST_F(DrawTest, SwapObjectKeepsTheNumber) {
  std::mt19937 rng(11);
  Pixels a = RandomImage(rng, 20, 10, 100), b = RandomImage(rng, 7, 9, 100);
  std::string na = Write("swapa.bmp", BmpKind::Bits24, a), nb = Write("swapb.bmp", BmpKind::Bits24, b);
  ASSERT_EQ(zoDraw::LoadObject(na.c_str(), 2), 4);
  EXPECT_EQ(zoDraw::SwapObject(nb.c_str(), 4, 2), 1);
  EXPECT_STREQ(drawObjects[4].name, nb.c_str());
  EXPECT_EQ(drawObjects[4].width, 7);
  EXPECT_EQ(drawObjects[4].height, 9);
  Pixels got = zotest::ReadSurface(drawObjects[4].surface);
  EXPECT_EQ(got.px, b.px);
  EXPECT_EQ(zoDraw::SwapObject("drawtmp\\nothing.bmp", 4, 2), 0);
  EXPECT_EQ(BoxText(0), "zoDraw::SwapObject : BMPファイルを読み込めません");
  EXPECT_STREQ(drawObjects[4].name, "drawtmp\\nothing.bmp");
  EXPECT_EQ(drawObjects[4].surface, nullptr);
}

// ---- Every common kind of BMP file ----

TEST_F(DrawTest, BmpFilesOfEveryKindGiveTheirPixels) {
  const unsigned seed = 20261208;
  std::mt19937 rng(seed);
  struct Kind {
    BmpKind kind;
    int colours;
    const char* label;
  } kinds[] = {{BmpKind::Bits1, 2, "1"},        {BmpKind::Bits4, 16, "4"},
               {BmpKind::Bits8, 256, "8"},      {BmpKind::Rle8, 40, "rle8"},
               {BmpKind::Bits16, 500, "16"},    {BmpKind::Bits16Fields565, 500, "16-565"},
               {BmpKind::Bits24, 500, "24"},    {BmpKind::Bits32, 500, "32"}};
  const int sizes[][2] = {{1, 1}, {3, 2}, {13, 7}, {31, 5}, {64, 33}};
  int n = 0;
  for (const Kind& k : kinds) {
    for (auto& size : sizes) {
      {
        Pixels image = RandomImage(rng, size[0], size[1], k.colours);
        std::string name = Write("k" + std::to_string(n++) + ".bmp", k.kind, image);
        int index = zoDraw::LoadObject(name.c_str(), n % 2 ? 2 : 0);
        ASSERT_NE(index, 0) << k.label << " " << BoxText(0);
        ASSERT_EQ(drawObjects[index].width, size[0]);
        ASSERT_EQ(drawObjects[index].height, size[1]);
        Pixels got = zotest::ReadSurface(drawObjects[index].surface);
        ASSERT_EQ(got.px.size(), image.px.size());
        for (size_t i = 0; i < image.px.size(); ++i) {
          // 16-bit files pass through a 5-5-5 section on the way in.
          bool sixteen = k.kind == BmpKind::Bits16 || k.kind == BmpKind::Bits16Fields565;
          bool same = sixteen ? zotest::SameIgnoringGreenLow(got.px[i], image.px[i])
                              : got.px[i] == image.px[i];
          EXPECT_TRUE(same) << "seed " << seed << " kind " << k.label << " " << size[0] << "x"
                            << size[1] << " pixel " << i
                            << ": got " << std::hex << got.px[i] << " want " << image.px[i];
          if (!same) break;
        }
        zoDraw::ReleaseObject(index);
      }
    }
  }
}

// ---- Colour keys ----

namespace {

// Blits object index at (x, y) over a back surface filled with `under` and
// answers the whole back surface.
Pixels BlitOver(int index, uint16_t under, int x, int y) {
  zoDraw::FillRect(0, 0, 640, 480, under);
  zoDraw::DrawSprite(x, y, index, 0, 0, drawObjects[index].width, drawObjects[index].height);
  return zotest::ReadSurface(backSurface);
}

// Checks that exactly the pixels of raw value key are transparent.
void ExpectKeyed(const Pixels& image, const Pixels& screen, uint16_t key, uint16_t under, int x,
                 int y) {
  for (int sy = 0; sy < screen.height; ++sy) {
    for (int sx = 0; sx < screen.width; ++sx) {
      int ix = sx - x, iy = sy - y;
      uint16_t want = under;
      if (ix >= 0 && iy >= 0 && ix < image.width && iy < image.height && image.at(ix, iy) != key) {
        want = image.at(ix, iy);
      }
      ASSERT_EQ(screen.at(sx, sy), want) << "at " << sx << "," << sy;
    }
  }
}

}  // namespace

TEST_F(DrawTest, BlackIsTheDefaultKey) {
  std::mt19937 rng(12);
  Pixels image = RandomImage(rng, 40, 30, 6);
  for (int i = 0; i < 200; ++i) image.px[rng() % image.px.size()] = 0;
  std::string name = Write("black.bmp", BmpKind::Bits24, image);
  int index = zoDraw::LoadObject(name.c_str(), 2);
  ASSERT_EQ(index, 4);
  EXPECT_EQ(drawObjects[4].colorKey, 0);
  ExpectKeyed(image, BlitOver(index, 0x1234, 100, 50), 0, 0x1234, 100, 50);
}

TEST_F(DrawTest, MagentaKeyIsFoundByWritingAndReadingBack) {
  std::mt19937 rng(13);
  Pixels image = RandomImage(rng, 33, 17, 6);
  image.at(0, 0) = 0x1234;  // not magenta: must hold its value afterwards
  for (int i = 0; i < 100; ++i) image.px[1 + rng() % (image.px.size() - 1)] = 0xF81F;
  std::string name = Write("magenta.bmp", BmpKind::Bits24, image);
  zoDraw::SetColorKey(0x00FF00FF);
  int index = zoDraw::LoadObject(name.c_str(), 2);
  ASSERT_EQ(index, 4);
  EXPECT_EQ(drawObjects[4].colorKey, 0x00FF00FF);
  DDCOLORKEY key{};
  ASSERT_EQ(drawObjects[4].surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0xF81Fu);
  EXPECT_EQ(key.dwColorSpaceHighValue, 0xF81Fu);
  EXPECT_EQ(zotest::ReadSurface(drawObjects[4].surface).px, image.px);
  EXPECT_EQ(MatchSurfaceColor(drawObjects[4].surface, 0x00FF00FF), 0xF81Fu);
  EXPECT_EQ(MatchSurfaceColor(drawObjects[4].surface, static_cast<COLORREF>(-1)), 0x1234u);
  ExpectKeyed(image, BlitOver(index, 0x0841, 5, 400), 0xF81F, 0x0841, 5, 400);
}

TEST_F(DrawTest, TopLeftPixelKey) {
  std::mt19937 rng(14);
  Pixels image = RandomImage(rng, 25, 25, 5);
  const uint16_t x = image.at(0, 0);
  std::string name = Write("topleft.bmp", BmpKind::Bits8, image);
  zoDraw::UseTopLeftColorKey();
  int index = zoDraw::LoadObject(name.c_str(), 2);
  ASSERT_EQ(index, 4);
  EXPECT_EQ(drawObjects[4].colorKey, -1);
  ExpectKeyed(image, BlitOver(index, 0x4208, 600, 460), x, 0x4208, 600, 460);
  // The colour setting with -1 selects the top-left pixel as well.
  zoDraw::SetColorKey(static_cast<COLORREF>(-1));
  int again = zoDraw::LoadObject(name.c_str(), 2);
  ASSERT_EQ(again, 5);
  EXPECT_EQ(drawObjects[5].colorKey, -1);
  ExpectKeyed(image, BlitOver(again, 0x4208, -3, -7), x, 0x4208, -3, -7);
}

TEST_F(DrawTest, PerObjectKeyOperations) {
  std::mt19937 rng(15);
  Pixels image = RandomImage(rng, 8, 8, 4);
  image.at(0, 0) = 0x07E0;
  std::string name = Write("keys.bmp", BmpKind::Bits24, image);
  int a = zoDraw::LoadObject(name.c_str(), 2), b = zoDraw::LoadObject(name.c_str(), 2);
  ASSERT_EQ(a, 4);
  ASSERT_EQ(b, 5);
  DDCOLORKEY key{};
  zoDraw::SetObjectColorKey(a, RGB(255, 255, 255));
  EXPECT_EQ(drawObjects[a].colorKey, 0x00FFFFFF);
  drawObjects[a].surface->GetColorKey(DDCKEY_SRCBLT, &key);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0xFFFFu);
  zoDraw::SetObjectTopLeftColorKey(b);
  EXPECT_EQ(drawObjects[b].colorKey, -1);
  drawObjects[b].surface->GetColorKey(DDCKEY_SRCBLT, &key);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0x07E0u);
  zoDraw::CopyColorKey(a, b);
  drawObjects[a].surface->GetColorKey(DDCKEY_SRCBLT, &key);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0x07E0u);
  EXPECT_EQ(drawObjects[a].colorKey, 0x00FFFFFF);  // the field is not changed
}

// ---- Lost surfaces ----

TEST_F(DrawTest, LostSurfacesReloadNamedObjectsAndRestoreTheRest) {
  std::mt19937 rng(16);
  Pixels image = RandomImage(rng, 16, 16, 8);
  std::string name = Write("lost.bmp", BmpKind::Bits24, image);
  zoDraw::SetColorKey(0x00FF00FF);
  ASSERT_EQ(zoDraw::LoadObject(name.c_str(), 2), 4);
  zoDraw::UseTopLeftColorKey();
  ASSERT_EQ(zoDraw::LoadObject(name.c_str(), 2), 5);
  zoDraw::SetColorKey(0);
  ASSERT_EQ(zoDraw::CreateObject(16, 16, 2), 6);

  // Object 4's memory was taken: its surface answers every blit with
  // DDERR_SURFACELOST. Object 6 (made, not loaded) lost its memory too.
  zotest::FakeSurface lostLoaded(true), lostMade(true), lostBack(true);
  IDirectDrawSurface* realFour = drawObjects[4].surface;
  IDirectDrawSurface* realSix = drawObjects[6].surface;
  IDirectDrawSurface* realBack = backSurface;
  drawObjects[4].surface = &lostLoaded;
  drawObjects[6].surface = &lostMade;
  // Scribble over object 5: only a reload from the file brings it back.
  Pixels scribble = image;
  for (auto& v : scribble.px) v = static_cast<uint16_t>(~v);
  ASSERT_TRUE(zotest::WriteSurface(drawObjects[5].surface, scribble));

  // A blit onto object 4 sees the loss and rebuilds.
  zoDraw::DrawSpriteTo(4, 0, 0, 5, 0, 0, 16, 16);
  ASSERT_EQ(lostLoaded.calls.size(), 1u);
  EXPECT_EQ(lostLoaded.restores, 1);
  EXPECT_EQ(lostLoaded.refs, 0);  // released and replaced by a reload
  EXPECT_NE(drawObjects[4].surface, &lostLoaded);
  ASSERT_NE(drawObjects[4].surface, nullptr);
  EXPECT_STREQ(drawObjects[4].name, name.c_str());
  EXPECT_EQ(drawObjects[4].colorKey, 0x00FF00FF);
  DDCOLORKEY key{};
  drawObjects[4].surface->GetColorKey(DDCKEY_SRCBLT, &key);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0xF81Fu);
  EXPECT_EQ(zotest::ReadSurface(drawObjects[4].surface).px, image.px);
  // Object 5 keeps its top-left key through the reload.
  EXPECT_EQ(zotest::ReadSurface(drawObjects[5].surface).px, image.px);
  EXPECT_EQ(drawObjects[5].colorKey, -1);
  drawObjects[5].surface->GetColorKey(DDCKEY_SRCBLT, &key);
  EXPECT_EQ(key.dwColorSpaceLowValue, image.at(0, 0));
  // The made object is only restored.
  EXPECT_EQ(drawObjects[6].surface, &lostMade);
  EXPECT_EQ(lostMade.restores, 1);
  EXPECT_STREQ(drawObjects[6].name, "*");
  // The settings hold the key of the last object rebuilt.
  EXPECT_EQ(loadColorKey, static_cast<COLORREF>(-1));
  EXPECT_EQ(loadKeyFromTopLeft, 0);
  EXPECT_TRUE(zotest::boxes.empty()) << BoxText(0);

  // The back surface lost: the next blit onto it restores it.
  backSurface = &lostBack;
  zoDraw::DrawSprite(10, 10, 4, 0, 0, 16, 16);
  ASSERT_EQ(lostBack.calls.size(), 1u);
  EXPECT_EQ(lostBack.calls[0].flags, static_cast<DWORD>(DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT));
  EXPECT_EQ(lostBack.restores, 1);
  zoDraw::DrawSprite(10, 10, 4, 0, 0, 16, 16);  // restored: no second rebuild
  EXPECT_EQ(lostBack.restores, 1);
  EXPECT_EQ(lostBack.calls.size(), 2u);

  backSurface = realBack;
  drawObjects[6].surface = realSix;
  realFour->Release();
}

TEST_F(DrawTest, ExclusiveModeWithoutAWindowIsRefused) {
  zoDraw::ReleaseAll();
  HWND saved = mainWindow;
  mainWindow = nullptr;
  fullScreen = 1;
  EXPECT_EQ(zoDraw::Screen(640, 480, 1), 0);
  zo::ReleaseDisplayObjects();
  fullScreen = 0;
  mainWindow = saved;
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoDraw::Screen : フルスクリーン化できません");
  EXPECT_EQ(errorFlag, 1);
}

TEST_F(DrawTest, ScreenAgainGivesBackWhatTheOldDisplayHeld) {
  zotest::FakeSurface held(false);
  drawObjects[10].surface = &held;
  std::strcpy(drawObjects[10].name, "*");
  ASSERT_EQ(zotest::OpenDisplay(), 1);
  EXPECT_EQ(held.refs, 0);
  EXPECT_EQ(drawObjects[10].surface, nullptr);
  EXPECT_EQ(drawObjects[10].name[0], '\0');
}

TEST_F(DrawTest, TheDisplayBuildsTheEffectTablesForItsBlends) {
  ASSERT_TRUE(effectTablesReady);  // the test desktop is 16 bits deep
  EXPECT_EQ(ComponentTable[0xFFFF][1], 31);
  EXPECT_EQ(ComponentTable[0x07E0][1], 31);
  EXPECT_EQ(ComponentTable[0x07E0][0], 0);
  int obj = zoDraw::CreateObject(8, 8, 2);
  ASSERT_GE(obj, 4);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 0xF800;
  drawObjects[obj].surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  zoDraw::WhiteScreen();
  EXPECT_EQ(zoDraw::DrawHalfBlend(100, 100, obj, 0, 0, 8, 8), 1);
  Pixels back = zotest::ReadSurface(backSurface);
  EXPECT_EQ(back.at(100, 100), 0xF3EF);  // 0x7BEF + 0x7800
  EXPECT_EQ(back.at(107, 107), 0xF3EF);
  EXPECT_EQ(back.at(108, 107), 0xFFFF);
}
