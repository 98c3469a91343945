// PNG, GIF and JPEG files for the loader tests: PNG and GIF written here
// byte by byte (stored deflate blocks, fixed-width LZW codes), JPEG through
// the imaging component's own encoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zotest {

// width x height pixels of blue, green, red, alpha.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& bgra);
// A PNG of a few hundred bytes whose header claims width x height.
bool WritePngClaiming(const std::string& path, uint32_t width, uint32_t height);
// An image of palette indices 0..3 with the palette's four COLORREFs.
bool WriteGif(const std::string& path, int width, int height, const std::vector<uint8_t>& indices,
              const uint32_t (&palette)[4]);
// A JPEG of one flat colour (COLORREF), at the encoder's best quality.
bool WriteFlatJpeg(const std::string& path, int width, int height, uint32_t colour);

}  // namespace zotest
