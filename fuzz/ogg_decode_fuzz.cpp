// Ogg Vorbis files through the page check and the decoder, as the sound
// loaders use them. Each input is tried as it is and again with every page
// checksum made right, so that mutations get past the check into the
// decoder. A file that decodes is also read from an offset, as a loop does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_target.h"
#include "sound/ogg_decoder.h"

namespace {

// Recomputes the checksum of every whole page at the start of the file.
void SealPages(std::vector<uint8_t>& f) {
  size_t at = 0;
  while (at + 27 <= f.size() && std::memcmp(&f[at], "OggS", 4) == 0) {
    const size_t segments = f[at + 26];
    if (at + 27 + segments > f.size()) return;
    size_t size = 27 + segments;
    for (size_t i = 0; i < segments; ++i) size += f[at + 27 + i];
    if (at + size > f.size()) return;
    std::memset(&f[at + 22], 0, 4);
    const uint32_t crc = zo::OggCrc(&f[at], size);
    for (int i = 0; i < 4; ++i) f[at + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
    at += size;
  }
}

void Decode(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> whole;
  zo::OggInfo info;
  const uint64_t limit = 4u << 20;
  if (zo::DecodeOggWhole(file.data(), file.size(), limit, &whole, &info) != zo::OggFault::None) return;
  FUZZ_CHECK(info.channels == 1 || info.channels == 2);
  FUZZ_CHECK(info.rate >= 100 && info.rate <= 100000);
  FUZZ_CHECK(!whole.empty() && whole.size() <= limit + (1u << 16));
  zo::OggDecoder d;
  FUZZ_CHECK(d.Open(file.data(), file.size()) == zo::OggFault::None);
  const uint64_t at = whole.size() / 3;
  std::vector<uint8_t> part(std::min<size_t>(whole.size() - at, 5000));
  const uint32_t got = d.ReadAt(at, part.data(), static_cast<uint32_t>(part.size()));
  // Damaged sound may decode differently after a seek (the decoder primes
  // itself from the frame before), but never past what was asked.
  FUZZ_CHECK(got <= part.size());
}

}  // namespace

ZO_FUZZ_TARGET(ogg_decode)(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  Decode(file);
  SealPages(file);
  Decode(file);
  return 0;
}
