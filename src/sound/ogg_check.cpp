#include "sound/ogg_check.h"

#include <cstring>
#include <vector>

#include "sound/sound_rules.h"

namespace zo {

namespace {

const size_t PageHeader = 27;
const uint8_t FirstPage = 0x02, LastPage = 0x04;
const size_t IdentificationSize = 30;
// The decoder keeps the comments in its own memory block: more than this
// could never fit there.
const size_t MaxCommentHeader = 1u << 20;

uint32_t Read32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct CrcTable {
  uint32_t entry[256];
  CrcTable() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t r = i << 24;
      for (int b = 0; b < 8; ++b) r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
      entry[i] = r;
    }
  }
};

// The checksum of a page with its CRC field (bytes 22..25) counted as zero.
uint32_t PageCrc(const uint8_t* page, size_t size) {
  static const uint8_t zero[4] = {0, 0, 0, 0};
  uint32_t crc = OggCrc(page, 22);
  crc = OggCrc(zero, 4, crc);
  return OggCrc(page + 26, size - 26, crc);
}

// The first packet of the first page: "\1vorbis", version 0, then the
// channels and the rate the decoder will give.
OggFault ReadIdentification(const uint8_t* page, size_t headerSize, size_t bodySize, OggInfo* info) {
  const uint8_t* body = page + headerSize;
  if (bodySize < IdentificationSize || std::memcmp(body, "\x01vorbis", 7) != 0 ||
      Read32(body + 7) != 0)
    return OggFault::NotVorbis;
  info->channels = body[11];
  info->rate = Read32(body + 12);
  if (info->channels < 1 || info->channels > 2) return OggFault::BadFormat;
  if (info->rate < static_cast<uint32_t>(FrequencyMin) || info->rate > static_cast<uint32_t>(FrequencyMax))
    return OggFault::BadFormat;
  return OggFault::None;
}

// The comment header, whose lengths the decoder trusts (a length past the
// packet's end makes it write before its buffer): every length must fit
// inside the packet.
bool CommentHeaderFits(const std::vector<uint8_t>& p) {
  if (p.size() < 7 + 4 || std::memcmp(p.data(), "\x03vorbis", 7) != 0) return false;
  size_t at = 7;
  auto take = [&](uint64_t count) {
    if (count > p.size() - at) return false;
    at += static_cast<size_t>(count);
    return true;
  };
  auto length = [&](uint64_t* n) {
    if (p.size() - at < 4) return false;
    *n = Read32(p.data() + at);
    at += 4;
    return true;
  };
  uint64_t n = 0, comments = 0;
  if (!length(&n) || !take(n) || !length(&comments)) return false;
  for (uint64_t i = 0; i < comments; ++i)
    if (!length(&n) || !take(n)) return false;
  return at < p.size() && (p[at] & 1);  // the framing bit
}

}  // namespace

uint32_t OggCrc(const uint8_t* bytes, size_t size, uint32_t crc) {
  static const CrcTable table;
  for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table.entry[(crc >> 24) ^ bytes[i]];
  return crc;
}

OggFault CheckOggFile(const uint8_t* bytes, size_t size, OggInfo* info) {
  std::memset(info, 0, sizeof *info);
  uint32_t serial = 0;
  uint8_t lastFlags = 0;
  int packets = 0;  // whole packets seen, up to the comment header
  std::vector<uint8_t> comment;
  size_t at = 0;
  while (at < size) {
    const uint8_t* page = bytes + at;
    const size_t left = size - at;
    if (left < 4 || std::memcmp(page, "OggS", 4) != 0) return OggFault::NotOgg;
    if (left < PageHeader) return OggFault::PageCut;
    if (page[4] != 0) return OggFault::NotOgg;  // only version 0 exists
    const size_t segments = page[26];
    if (left < PageHeader + segments) return OggFault::PageCut;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i) body += page[PageHeader + i];
    const size_t pageSize = PageHeader + segments + body;
    if (left < pageSize) return OggFault::PageCut;
    if (PageCrc(page, pageSize) != Read32(page + 22)) return OggFault::BadChecksum;
    const uint8_t flags = page[5];
    size_t segmentAt = PageHeader + segments;
    if (info->pages == 0) {
      if (!(flags & FirstPage)) return OggFault::NotVorbis;
      serial = Read32(page + 14);
      OggFault f = ReadIdentification(page, PageHeader + segments, body, info);
      if (f != OggFault::None) return f;
    } else if (Read32(page + 14) != serial || (flags & FirstPage)) {
      return OggFault::OtherStream;
    }
    if (lastFlags & LastPage) return OggFault::OtherStream;  // pages after the end
    // The second packet (the comment header) is gathered across pages.
    for (size_t i = 0; i < segments && packets < 2; ++i) {
      const uint8_t lace = page[PageHeader + i];
      if (packets == 1) {
        if (comment.size() + lace > MaxCommentHeader) return OggFault::Undecodable;
        comment.insert(comment.end(), page + segmentAt, page + segmentAt + lace);
      }
      segmentAt += lace;
      if (lace < 255) {
        ++packets;
        if (packets == 2 && !CommentHeaderFits(comment)) return OggFault::Undecodable;
      }
    }
    lastFlags = flags;
    ++info->pages;
    at += pageSize;
  }
  if (info->pages == 0) return OggFault::NotOgg;
  if (packets < 2) return OggFault::Undecodable;  // the headers never ended
  return lastFlags & LastPage ? OggFault::None : OggFault::NoEnd;
}

}  // namespace zo
