// Builds RIFF/WAVE files byte by byte, good and damaged, for the sound tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zotest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

struct Chunk {
  std::string id;
  Bytes body;
  int64_t claimedSize = -1;  // the size written in the header; -1 = the body's
};

// The 16 bytes of a PCM format.
inline Bytes PcmFormat(int channels, uint32_t rate, int bits) {
  Bytes b;
  uint32_t align = static_cast<uint32_t>(channels * (bits / 8));
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(channels));
  Put32(b, rate);
  Put32(b, align * rate);
  Put16(b, align);
  Put16(b, static_cast<uint32_t>(bits));
  return b;
}

// A RIFF file: each chunk with its header, padded to an even length.
inline Bytes Riff(const char* formType, const std::vector<Chunk>& chunks) {
  Bytes body;
  PutId(body, formType);
  for (const Chunk& c : chunks) {
    PutId(body, c.id.c_str());
    Put32(body, c.claimedSize >= 0 ? static_cast<uint32_t>(c.claimedSize)
                                   : static_cast<uint32_t>(c.body.size()));
    body.insert(body.end(), c.body.begin(), c.body.end());
    if (c.body.size() & 1) body.push_back(0);
  }
  Bytes file;
  PutId(file, "RIFF");
  Put32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// A sine tone in the given PCM shape; 8-bit samples are unsigned.
inline Bytes Tone(int channels, uint32_t rate, int bits, double hz, double seconds,
                  double amplitude = 0.5) {
  Bytes b;
  size_t frames = static_cast<size_t>(rate * seconds);
  const double pi = 3.14159265358979323846;
  for (size_t i = 0; i < frames; ++i) {
    double s = amplitude * std::sin(2.0 * pi * hz * static_cast<double>(i) / rate);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        b.push_back(static_cast<uint8_t>(128 + static_cast<int>(s * 127)));
      } else {
        Put16(b, static_cast<uint16_t>(static_cast<int16_t>(s * 32767)));
      }
    }
  }
  return b;
}

inline Bytes ToneWave(int channels, uint32_t rate, int bits, double hz, double seconds,
                      double amplitude = 0.5) {
  return Riff("WAVE", {{"fmt ", PcmFormat(channels, rate, bits)},
                       {"data", Tone(channels, rate, bits, hz, seconds, amplitude)}});
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// The whole file; empty when it cannot be read.
inline Bytes ReadBytes(const std::string& path) {
  Bytes b;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return b;
}

}  // namespace zotest
