// Names shown by the colour-depth check at start-up.
#pragma once

const int ColorCountNameCount = 4;
const int ColorCountNameSize = 7;
// By depth class: 0 "16", 1 "256", 2 "65536", 3 "1670万" colours.
extern const char colorCountNames[ColorCountNameCount][ColorCountNameSize];
