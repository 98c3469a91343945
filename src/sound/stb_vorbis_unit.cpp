// The Vorbis decoder (stb_vorbis, public domain / MIT, by Sean Barrett),
// compiled here and nowhere else; other files see only its declarations.
// Samples become 16-bit by a plain conversion rather than the decoder's
// integer trick, which overflows a signed int on damaged sound.
#define STB_VORBIS_NO_FAST_SCALED_FLOAT
#include "stb_vorbis.h"
