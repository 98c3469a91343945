// PNG, JPEG and GIF headers and the decoded pixels' way into a 24-bit
// bitmap: the header check over the seed files (each with its expected
// answer), and the alpha-to-key rows against a slow reference.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "draw/image_header_check.h"
#include "draw/picture_pixels.h"

using namespace zo;

namespace {

std::vector<uint8_t> Seed(const std::string& name) {
  std::vector<uint8_t> b;
  if (FILE* f = std::fopen((std::string(ZO_FUZZ_CORPUS) + "/image_header/" + name).c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return b;
}

}  // namespace

TEST(ImageHeader, SeedFilesGetTheirAnswers) {
  struct Case { const char* file; ImageFault fault; uint32_t width, height; };
  const Case cases[] = {
      {"ok-png-4x3.bin", ImageFault::None, 4, 3},
      {"ok-png-65535x256.bin", ImageFault::None, 65535, 256},
      {"ok-jpeg-8x8.bin", ImageFault::None, 8, 8},
      {"ok-jpeg-progressive-fill.bin", ImageFault::None, 640, 480},
      {"ok-jpeg-exif.bin", ImageFault::None, 16, 9},
      {"ok-gif-2x2.bin", ImageFault::None, 2, 2},
      {"ok-gif-no-table.bin", ImageFault::None, 3, 4},
      {"bad-png-30000-square.bin", ImageFault::TooLarge, 0, 0},
      {"bad-png-65536-wide.bin", ImageFault::TooLarge, 0, 0},
      {"bad-png-zero.bin", ImageFault::BadSize, 0, 0},
      {"bad-png-ihdr-length.bin", ImageFault::WrongKind, 0, 0},
      {"bad-png-cut.bin", ImageFault::HeaderCut, 0, 0},
      {"bad-jpeg-30000-square.bin", ImageFault::TooLarge, 0, 0},
      {"bad-jpeg-dnl-height.bin", ImageFault::BadSize, 0, 0},
      {"bad-jpeg-app-past-end.bin", ImageFault::HeaderCut, 0, 0},
      {"bad-jpeg-scan-first.bin", ImageFault::WrongKind, 0, 0},
      {"bad-gif-screen-huge.bin", ImageFault::TooLarge, 0, 0},
      {"bad-gif-image-huge.bin", ImageFault::TooLarge, 0, 0},
      {"bad-gif-table-cut.bin", ImageFault::HeaderCut, 0, 0},
      {"bad-gif-extension-unended.bin", ImageFault::HeaderCut, 0, 0},
      {"bad-wrong-kind.bin", ImageFault::WrongKind, 0, 0},
  };
  const ImageKind kinds[3] = {ImageKind::Png, ImageKind::Jpeg, ImageKind::Gif};
  for (const Case& c : cases) {
    std::vector<uint8_t> b = Seed(c.file);
    ASSERT_GT(b.size(), 1u) << c.file;
    ImageSize s;
    EXPECT_EQ(CheckImageHeader(kinds[b[0] % 3], b.data() + 1, b.size() - 1, &s), c.fault) << c.file;
    EXPECT_EQ(s.width, c.width) << c.file;
    EXPECT_EQ(s.height, c.height) << c.file;
  }
}

TEST(ImageHeader, KindFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(ImageKindOfName("bmp\\hero.PNG"), ImageKind::Png);
  EXPECT_EQ(ImageKindOfName("a.jpg"), ImageKind::Jpeg);
  EXPECT_EQ(ImageKindOfName("a.JPeG"), ImageKind::Jpeg);
  EXPECT_EQ(ImageKindOfName("a.gif"), ImageKind::Gif);
  EXPECT_EQ(ImageKindOfName("a.bmp"), ImageKind::Bmp);
  EXPECT_EQ(ImageKindOfName("png"), ImageKind::Bmp);
  EXPECT_EQ(ImageKindOfName(nullptr), ImageKind::Bmp);
  EXPECT_TRUE(ImageSizeAllowed(65535, 256));
  EXPECT_FALSE(ImageSizeAllowed(65535, 257));
  EXPECT_FALSE(ImageSizeAllowed(65536, 1));
}

TEST(PicturePixels, ClearPixelsTakeTheKeyAndOpaqueOnesKeepTheirColour) {
  const uint32_t seed = std::random_device{}();
  std::mt19937 rng(seed);
  for (int round = 0; round < 50; ++round) {
    const uint32_t w = 1 + rng() % 13, h = 1 + rng() % 7;
    std::vector<uint8_t> bgra(size_t{w} * h * 4);
    for (uint8_t& b : bgra) b = static_cast<uint8_t>(rng());
    const bool topLeft = rng() % 2;
    const uint32_t key = rng() & 0xFFFFFF;
    const std::vector<uint8_t> rows = PictureToBgrRows(bgra.data(), w, h, topLeft, key);
    const size_t stride = (w * 3 + 3) / 4 * 4;
    ASSERT_EQ(rows.size(), stride * h) << "seed " << seed;
    for (uint32_t y = 0; y < h; ++y) {
      for (uint32_t x = 0; x < w; ++x) {
        const uint8_t* p = &bgra[(y * w + x) * 4];
        uint8_t want[3] = {p[0], p[1], p[2]};
        if (p[3] < 128) {
          want[0] = topLeft ? bgra[0] : static_cast<uint8_t>(key >> 16);
          want[1] = topLeft ? bgra[1] : static_cast<uint8_t>(key >> 8);
          want[2] = topLeft ? bgra[2] : static_cast<uint8_t>(key);
        }
        for (int c = 0; c < 3; ++c)
          ASSERT_EQ(rows[y * stride + x * 3 + c], want[c]) << "seed " << seed << " at " << x << "," << y;
      }
      for (size_t pad = w * 3; pad < stride; ++pad) ASSERT_EQ(rows[y * stride + pad], 0) << "seed " << seed;
    }
  }
}
