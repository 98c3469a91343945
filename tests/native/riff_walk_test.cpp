// The RIFF chunk walk of WAV files: a table of layouts, good and hostile,
// and positions beyond 4 GiB.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sound/riff_walk.h"

using zo::RiffChunk;
using zo::WaveChunks;

namespace {

class BytesSource final : public zo::RiffSource {
 public:
  explicit BytesSource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, void* to, size_t count) override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    if (count) std::memcpy(to, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::vector<uint8_t> bytes_;
};

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct Piece {
  const char* id;
  uint32_t bodyBytes;  // written
  uint64_t claimed;    // in the header; ~0 = bodyBytes
};
const uint64_t Own = ~0ull;

// "RIFF" + size (riffSize, or the true one when ~0) + "WAVE" + the chunks.
std::vector<uint8_t> File(std::vector<Piece> pieces, uint64_t riffSize = Own) {
  std::vector<uint8_t> body(4);
  std::memcpy(body.data(), "WAVE", 4);
  for (const Piece& p : pieces) {
    body.insert(body.end(), p.id, p.id + 4);
    Put32(body, static_cast<uint32_t>(p.claimed == Own ? p.bodyBytes : p.claimed));
    body.insert(body.end(), p.bodyBytes + (p.bodyBytes & 1), 0x5A);
  }
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
  Put32(file, static_cast<uint32_t>(riffSize == Own ? body.size() : riffSize));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

struct WalkCase {
  const char* what;
  std::vector<uint8_t> file;
  bool found;
  uint64_t formatAt, dataAt;
  uint32_t dataSize;
};

}  // namespace

TEST(RiffWalk, TableOfLayouts) {
  const WalkCase cases[] = {
      {"fmt then data", File({{"fmt ", 16, Own}, {"data", 10, Own}}), true, 20, 44, 10},
      {"data first", File({{"data", 10, Own}, {"fmt ", 16, Own}}), true, 38, 20, 10},
      {"odd chunk padded", File({{"LIST", 5, Own}, {"fmt ", 16, Own}, {"data", 3, Own}}), true, 34, 58, 3},
      {"second data ignored", File({{"fmt ", 16, Own}, {"data", 2, Own}, {"data", 4, Own}}), true, 20, 44, 2},
      {"riff size larger than the file", File({{"fmt ", 16, Own}, {"data", 4, Own}}, 0xFFFFFFFF), true, 20, 44, 4},
      {"empty data", File({{"fmt ", 16, Own}, {"data", 0, Own}}), true, 20, 44, 0},
      {"no data", File({{"fmt ", 16, Own}, {"LIST", 4, Own}}), false, 0, 0, 0},
      {"no fmt", File({{"data", 4, Own}}), false, 0, 0, 0},
      {"FFFFFFF7 before fmt", File({{"JUNK", 4, 0xFFFFFFF7}, {"fmt ", 16, Own}, {"data", 4, Own}}), false, 0, 0, 0},
      {"FFFFFFF8 before fmt", File({{"JUNK", 4, 0xFFFFFFF8}, {"fmt ", 16, Own}, {"data", 4, Own}}), false, 0, 0, 0},
      {"FFFFFFF7 before data", File({{"fmt ", 16, Own}, {"JUNK", 4, 0xFFFFFFF7}, {"data", 4, Own}}), false, 0, 0, 0},
      {"FFFFFFF8 before data", File({{"fmt ", 16, Own}, {"JUNK", 4, 0xFFFFFFF8}, {"data", 4, Own}}), false, 0, 0, 0},
      {"data past the file", File({{"fmt ", 16, Own}, {"data", 4, 5}}), false, 0, 0, 0},
      {"data past the riff size", File({{"fmt ", 16, Own}, {"data", 8, Own}}, 4 + 24 + 8 + 4), false, 0, 0, 0},
      {"data header cut by the riff size", File({{"fmt ", 16, Own}, {"data", 8, Own}}, 4 + 24 + 4), false, 0, 0, 0},
      {"fmt larger than the riff", File({{"fmt ", 16, 0xFFFFFFFF}, {"data", 4, Own}}, 0xFFFFFFFF), false, 0, 0, 0},
      {"not WAVE", [] { auto f = File({{"fmt ", 16, Own}, {"data", 4, Own}}); f[8] = 'A'; return f; }(), false, 0, 0, 0},
      {"not RIFF", [] { auto f = File({{"fmt ", 16, Own}, {"data", 4, Own}}); f[0] = 'X'; return f; }(), false, 0, 0, 0},
      {"cut header", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A'}, false, 0, 0, 0},
      {"empty file", {}, false, 0, 0, 0},
  };
  for (const WalkCase& c : cases) {
    BytesSource source(c.file);
    WaveChunks found;
    ASSERT_EQ(zo::FindWaveChunks(source, &found), c.found) << c.what;
    if (!c.found) continue;
    EXPECT_EQ(found.format.offset, c.formatAt) << c.what;
    EXPECT_EQ(found.format.size, 16u) << c.what;
    EXPECT_EQ(found.data.offset, c.dataAt) << c.what;
    EXPECT_EQ(found.data.size, c.dataSize) << c.what;
  }
}

// A file of 6 GiB whose first chunk reaches exactly past 4 GiB: a walk in
// 32 bits would come round to the start again.
namespace {
class HugeSource final : public zo::RiffSource {
 public:
  uint64_t Size() const override { return 6ull << 30; }
  bool ReadAt(uint64_t offset, void* to, size_t count) override {
    ++reads;
    std::vector<uint8_t> b(count, 0);
    for (size_t i = 0; i < count; ++i) {
      uint64_t at = offset + i;
      if (at < 12) b[i] = static_cast<uint8_t>("RIFF\xFF\xFF\xFF\xFFWAVE"[at]);
      else if (at < 16) b[i] = static_cast<uint8_t>("JUNK"[at - 12]);
      else if (at < 20) b[i] = at == 16 ? 0xF0 : 0xFF;  // 0xFFFFFFF0
      else if (at >= WrapTo && at < WrapTo + 8) b[i] = static_cast<uint8_t>("data\x04\0\0\0"[at - WrapTo]);
    }
    std::memcpy(to, b.data(), count);
    return true;
  }
  static const uint64_t WrapTo = 20 + 0xFFFFFFF0ull;  // the chunk after JUNK
  int reads = 0;
};
}  // namespace

TEST(RiffWalk, PositionsBeyondFourGibDoNotWrap) {
  HugeSource source;
  WaveChunks found;
  // JUNK ends at 0x1'0000'0004, too near the RIFF chunk's end (0x1'0000'0007)
  // for another header: the walk stops there, having found nothing.
  EXPECT_FALSE(zo::FindWaveChunks(source, &found));
  EXPECT_LE(source.reads, 3);
}
