// Flags of the sprite text renderers (the low byte is extra line spacing).
#pragma once

const unsigned TextShadow = 0x100;  // a shadow in shadowColor
const unsigned TextBoldX = 0x200;   // a second copy one pixel right
const unsigned TextBoldY = 0x400;   // a second copy one pixel down
