// The Vorbis decoder (stb_vorbis, public domain / MIT, by Sean Barrett),
// compiled here and nowhere else; other files see only its declarations.
#include "stb_vorbis.h"
