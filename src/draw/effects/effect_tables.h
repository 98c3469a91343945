// Lookup tables of the 16-bit software effects, built once per display.
#pragma once

#include <cstdint>

#include "zo/draw_state.h"

const int NoiseTableSize = 10000;

extern uint8_t ComponentTable[65536][3];  // pixel -> 5-bit red, green, blue
extern uint16_t FadeTable[3 * 32 * 32 * 32];  // [ch][k][a][b], pre-shifted
extern uint16_t AddTable[3 * 32 * 32 * 32];   // [ch][k][a][b], pre-shifted
extern uint16_t SubTable[3 * 32 * 32];        // [ch][a][b], pre-shifted
extern uint16_t GrayTable[94];                // r + g + b -> mean
extern int8_t NoiseTable[NoiseTableSize];     // 0, 1 or 2

// The rising blur's run counter unrolled over NoiseTable: entry i covers the
// pixels RiseStart[i] .. RiseStart[i + 1] - 1 of one stream; each is 0xFFFF
// (the pixel takes the mean) in RiseMask but the entry's last, 0 (it is
// copied and the counter starts again).
extern int RiseStart[NoiseTableSize + 1];
extern uint16_t RiseMask[2 * NoiseTableSize];

// Set once the tables above hold a display's values; effects draw nothing
// without them (a display that is not 16 bits deep never builds them).
extern bool effectTablesReady;

namespace zo {

// Indices into the blend tables; ch is the channel: 0 red, 1 green, 2 blue.
inline int FadeIndex(int ch, int k, int a, int b) { return ch * 32768 + k * 1024 + a * 32 + b; }
inline int SubIndex(int ch, int a, int b) { return ch * 1024 + a * 32 + b; }

// Fills every table above for the layout; random is the C runtime's rand
// (or a generator that reproduces it) and is kept for the noise cursors.
void BuildEffectTables(const PixelLayout& format, int (*random)());

// Forgets the tables (the display went away or is not 16 bits deep).
void DropEffectTables();

// Takes the noise entry at cursor and moves the cursor on; after the last
// entry it jumps to random() % 1000. A cursor outside the table starts at 0.
int ReadNoise(int& cursor);

// The Windows runtime's rand(), for code that must agree with it off Windows.
void SeedMsvcrtRandom(uint32_t seed);
int MsvcrtRandom();

}  // namespace zo
