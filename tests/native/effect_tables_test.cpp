// The effect tables against their formulas, entry by entry, and the noise
// cursor and the runtime generator they are drawn from.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/effects/effect_tables.h"

namespace {

const PixelLayout k565 = DerivePixelLayout(0xF800, 0x07E0, 0x001F);
const PixelLayout k555 = DerivePixelLayout(0x7C00, 0x03E0, 0x001F);

int Pos(int v) { return v > 0 ? v : 0; }

void Build(const PixelLayout& f) {
  zo::SeedMsvcrtRandom(1);
  zo::BuildEffectTables(f, zo::MsvcrtRandom);
}

}  // namespace

TEST(MsvcrtRandom, ReproducesTheWindowsRuntimeSequence) {
  zo::SeedMsvcrtRandom(1);
  EXPECT_EQ(zo::MsvcrtRandom(), 41);
  EXPECT_EQ(zo::MsvcrtRandom(), 18467);
  EXPECT_EQ(zo::MsvcrtRandom(), 6334);
  EXPECT_EQ(zo::MsvcrtRandom(), 26500);
  zo::SeedMsvcrtRandom(12345);
  for (int i = 0; i < 100000; ++i) {
    const int v = zo::MsvcrtRandom();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 0x7FFF);
  }
}

TEST(EffectTables, ComponentTableHoldsFiveBitComponents) {
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    const bool six = f->greenMax == 63;
    for (uint32_t p = 0; p < 65536; ++p) {
      SCOPED_TRACE(p);
      if (!six && (p & 0x8000)) {  // no 5-5-5 colour has bit 15
        ASSERT_EQ(ComponentTable[p][0] | ComponentTable[p][1] | ComponentTable[p][2], 0);
        continue;
      }
      ASSERT_EQ(ComponentTable[p][0], (p >> f->redShift) & 31);
      ASSERT_EQ(ComponentTable[p][1], six ? ((p >> 5) & 63) >> 1 : (p >> 5) & 31);
      ASSERT_EQ(ComponentTable[p][2], p & 31);
    }
  }
  Build(k565);
  EXPECT_EQ(ComponentTable[0xFFFF][0], 31);
  EXPECT_EQ(ComponentTable[0xFFFF][1], 31);
  EXPECT_EQ(ComponentTable[0xFFFF][2], 31);
  EXPECT_EQ((31 << k565.fivePos[0]) | (31 << k565.fivePos[1]) | (31 << k565.fivePos[2]), 0xFFDF);
}

TEST(EffectTables, BlendTablesFollowTheirFormulas) {
  for (const PixelLayout* f : {&k565, &k555}) {
    Build(*f);
    for (int ch = 0; ch < 3; ++ch) {
      const int pos = f->fivePos[ch];
      for (int k = 0; k < 32; ++k)
        for (int a = 0; a < 32; ++a)
          for (int b = 0; b < 32; ++b) {
            const int i = ch * 32768 + k * 1024 + a * 32 + b;
            const int fade = Pos(a - k) + Pos(k + b - 31);
            ASSERT_LE(fade, 31);
            ASSERT_EQ(FadeTable[i], fade << pos) << ch << " " << k << " " << a << " " << b;
            ASSERT_EQ(AddTable[i], std::min(31, Pos(a - k) + b) << pos);
          }
      for (int a = 0; a < 32; ++a)
        for (int b = 0; b < 32; ++b) ASSERT_EQ(SubTable[ch * 1024 + a * 32 + b], Pos(a - b) << pos);
    }
  }
}

TEST(EffectTables, FadeEndsGiveEitherSide) {
  Build(k565);
  for (int a = 0; a < 32; ++a)
    for (int b = 0; b < 32; ++b) {
      EXPECT_EQ(FadeTable[2 * 32768 + 0 * 1024 + a * 32 + b], a);   // k 0: the source
      EXPECT_EQ(FadeTable[2 * 32768 + 31 * 1024 + a * 32 + b], b);  // k 31: the destination
    }
}

TEST(EffectTables, GrayAndNoise) {
  Build(k565);
  for (int s = 0; s < 94; ++s) EXPECT_EQ(GrayTable[s], s / 3);
  zo::SeedMsvcrtRandom(1);
  for (int i = 0; i < NoiseTableSize; ++i) ASSERT_EQ(NoiseTable[i], zo::MsvcrtRandom() % 3) << i;
  EXPECT_TRUE(effectTablesReady);
  zo::DropEffectTables();
  EXPECT_FALSE(effectTablesReady);
}

TEST(NoiseCursor, AdvancesThenJumpsAfterTheLastEntry) {
  Build(k565);
  int cursor = 0;
  EXPECT_EQ(zo::ReadNoise(cursor), NoiseTable[0]);
  EXPECT_EQ(cursor, 1);
  cursor = 9998;
  zo::ReadNoise(cursor);
  EXPECT_EQ(cursor, 9999);
  zo::SeedMsvcrtRandom(77);
  const int expected = zo::MsvcrtRandom() % 1000;
  zo::SeedMsvcrtRandom(77);
  EXPECT_EQ(zo::ReadNoise(cursor), NoiseTable[9999]);
  EXPECT_EQ(cursor, expected);
  // A cursor that strayed outside the table starts again at 0.
  cursor = -5;
  EXPECT_EQ(zo::ReadNoise(cursor), NoiseTable[0]);
  EXPECT_EQ(cursor, 1);
  cursor = 1 << 20;
  zo::ReadNoise(cursor);
  EXPECT_EQ(cursor, 1);
}
