#include "draw/effects/effect_tables.h"

uint8_t ComponentTable[65536][3];
uint16_t FadeTable[3 * 32 * 32 * 32];
uint16_t AddTable[3 * 32 * 32 * 32];
uint16_t SubTable[3 * 32 * 32];
uint16_t GrayTable[94];
int8_t NoiseTable[NoiseTableSize];
int RiseStart[NoiseTableSize + 1];
uint16_t RiseMask[2 * NoiseTableSize];
bool effectTablesReady;

namespace zo {

namespace {

int (*noiseRandom)();
uint32_t msvcrtSeed = 1;

int Width(uint32_t max) {
  int w = 0;
  while (max) {
    ++w;
    max >>= 1;
  }
  return w;
}

int Positive(int v) { return v > 0 ? v : 0; }

}  // namespace

void BuildEffectTables(const PixelLayout& format, int (*random)()) {
  const uint32_t max[3] = {format.redMax, format.greenMax, format.blueMax};
  const int shift[3] = {format.redShift, format.greenShift, 0};  // blue sits at bit 0
  const int limit[3] = {1 << Width(max[0]), 1 << Width(max[1]), 1 << Width(max[2])};
  const int down[3] = {max[0] == 63, max[1] == 63, max[2] == 63};

  for (auto& entry : ComponentTable) entry[0] = entry[1] = entry[2] = 0;
  for (int r = 0; r < limit[0]; ++r) {
    for (int g = 0; g < limit[1]; ++g) {
      for (int b = 0; b < limit[2]; ++b) {
        const uint32_t index = (uint32_t(r) << shift[0]) + (uint32_t(g) << shift[1]) + uint32_t(b);
        if (index > 0xFFFF) continue;  // a layout wider than 16 bits
        ComponentTable[index][0] = uint8_t(r >> down[0]);
        ComponentTable[index][1] = uint8_t(g >> down[1]);
        ComponentTable[index][2] = uint8_t(b >> down[2]);
      }
    }
  }

  for (int ch = 0; ch < 3; ++ch) {
    const int pos = format.fivePos[ch];
    for (int k = 0; k < 32; ++k) {
      for (int a = 0; a < 32; ++a) {
        for (int b = 0; b < 32; ++b) {
          const int fade = Positive(a - k) + Positive(k + b - 31);
          int add = Positive(a - k) + b;
          if (add > 31) add = 31;
          FadeTable[FadeIndex(ch, k, a, b)] = uint16_t(fade << pos);
          AddTable[FadeIndex(ch, k, a, b)] = uint16_t(add << pos);
        }
      }
    }
    for (int a = 0; a < 32; ++a)
      for (int b = 0; b < 32; ++b) SubTable[SubIndex(ch, a, b)] = uint16_t(Positive(a - b) << pos);
  }

  for (int s = 0; s < 94; ++s) GrayTable[s] = uint16_t(s / 3);

  noiseRandom = random;
  for (int i = 0; i < NoiseTableSize; ++i) NoiseTable[i] = int8_t(random() % 3);
  // An entry n runs max(n, 1) pixels: the counter counts 1, 2, ... and the
  // pixel where it reaches n is copied.
  int at = 0;
  for (int i = 0; i < NoiseTableSize; ++i) {
    RiseStart[i] = at;
    for (int k = 1; k < NoiseTable[i]; ++k) RiseMask[at++] = 0xFFFF;
    RiseMask[at++] = 0;
  }
  RiseStart[NoiseTableSize] = at;
  effectTablesReady = true;
}

void DropEffectTables() { effectTablesReady = false; }

int ReadNoise(int& cursor) {
  if (cursor < 0 || cursor >= NoiseTableSize) cursor = 0;
  const int value = NoiseTable[cursor];
  if (cursor == NoiseTableSize - 1)
    cursor = noiseRandom ? noiseRandom() % 1000 : 0;
  else
    ++cursor;
  return value;
}

void SeedMsvcrtRandom(uint32_t seed) { msvcrtSeed = seed; }

int MsvcrtRandom() {
  msvcrtSeed = msvcrtSeed * 214013u + 2531011u;
  return int((msvcrtSeed >> 16) & 0x7FFF);
}

}  // namespace zo
