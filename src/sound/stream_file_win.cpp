// Streams read from a sound file beside the executable rather than from a
// pack: a WAV file's data chunk at its own file offsets, or an OGG file
// decoded as it plays. Both go through the ring and the refills of a pack
// stream; only where the bytes come from differs.
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "sound/ogg_decoder.h"
#include "sound/riff_walk.h"
#include "sound/sound_rules.h"
#include "sound/sound_win.h"
#include "sound/stream_rules.h"
#include "system/path_rules.h"

namespace {

const char* const Place = "zoSound::LoadStreamFile";
// The most of a file read into memory at once.
const uint64_t MaxSoundFileBytes = 256u << 20;

// An OGG stream keeps its file image and the decoder over it.
struct OggStream {
  std::vector<uint8_t> file;
  zo::OggDecoder decoder;
};
std::unique_ptr<OggStream> oggStreams[MaxSoundObjects];

class FileSource final : public zo::RiffSource {
 public:
  explicit FileSource(FILE* file) : file_(file) {
    if (std::fseek(file, 0, SEEK_END) == 0) {
      long end = std::ftell(file);
      size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
  }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* to, size_t count) override {
    if (offset > 0x7FFFFFFF || count > 0x7FFFFFFF - offset) return false;
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(to, 1, count, file_) == count;
  }

 private:
  FILE* file_;
  uint64_t size_ = 0;
};

// A WAV file's format block and the place of its samples. The message to
// report, or null.
const char* OpenWaveStream(const char* path, StreamState* s, std::vector<uint8_t>* format,
                           uint32_t* dataSize) {
  const char* const unreadable = "WAVEファイルを読み込めません";
  FILE* file = std::fopen(path, "rb");
  if (!file) return unreadable;
  FileSource source(file);
  zo::WaveChunks chunks;
  uint8_t head[18] = {};
  const bool found = zo::FindWaveChunks(source, &chunks) && chunks.format.size >= 16 &&
                     source.ReadAt(chunks.format.offset, head, 16);
  std::fclose(file);
  // The data offsets of a stream are kept in 31 bits.
  if (!found || chunks.data.offset + chunks.data.size > 0x7FFFFFFF) return unreadable;
  // Only the 16 bytes every format has are kept: cbSize 0. A format that
  // needs more (compressed ones) is not played as a stream.
  if (head[0] != 1 || head[1] != 0) return "ストリーミング再生できません";
  format->assign(head, head + 18);
  s->dataStart = static_cast<int32_t>(chunks.data.offset);
  *dataSize = chunks.data.size;
  return nullptr;
}

// The 18-byte PCM format block of decoded Vorbis sound.
std::vector<uint8_t> DecodedFormat(uint16_t channels, uint32_t rate) {
  const WAVEFORMATEX w = zo::ToWaveFormat(zo::MakePcmFormat(channels, static_cast<int32_t>(rate), 16));
  const uint8_t* b = reinterpret_cast<const uint8_t*>(&w);
  return std::vector<uint8_t>(b, b + 18);
}

}  // namespace

namespace zo {

bool ReadSoundFileBytes(const char* path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  FileSource source(file);
  const uint64_t size = source.Size();
  bool read = size > 0 && size <= MaxSoundFileBytes;
  if (read) {
    bytes->resize(static_cast<size_t>(size));
    read = source.ReadAt(0, bytes->data(), bytes->size());
  }
  std::fclose(file);
  if (!read) bytes->clear();
  return read;
}

std::vector<uint8_t> DecodedSoundFormat(uint16_t channels, uint32_t rate) {
  return DecodedFormat(channels, rate);
}

OggDecoder* StreamDecoder(int slot) {
  if (slot < 0 || slot >= MaxSoundObjects || !oggStreams[slot]) return nullptr;
  return &oggStreams[slot]->decoder;
}

void CloseStreamDecoder(int slot) {
  if (slot >= 0 && slot < MaxSoundObjects) oggStreams[slot].reset();
}

}  // namespace zo

namespace zoSound {

int LoadStreamFile(const char* file, int loopSample) {
  if (!soundReady || !soundDevice) return -1;
  if (!file) file = "";
  const bool firstLoad = !reloading;
  // The name is kept whole (a reload opens the file again under it), and
  // the path must fit the record.
  StreamState s;
  std::memset(&s, 0, sizeof s);
  if ((firstLoad && std::strlen(file) > static_cast<size_t>(MaxSoundNameLength)) ||
      !zo::AppendBounded(s.packPath, sizeof s.packPath, MakeFullPath(0)) ||
      !zo::AppendBounded(s.packPath, sizeof s.packPath, file))
    return ShowError(Place, "ファイル名が長すぎます"), -1;
  const bool ogg = zo::HasExtension(file, ".ogg");
  if (!ogg && !zo::HasExtension(file, ".wav"))
    return ShowError(Place, "ストリーミング再生できません"), -1;
  const int slot = zo::ClaimSoundSlot(Place, firstLoad);
  if (slot < 0) return -1;

  std::vector<uint8_t> format;
  uint32_t dataSize = 0;
  std::unique_ptr<OggStream> decoded;
  if (ogg) {
    decoded.reset(new (std::nothrow) OggStream);
    if (!decoded || !zo::ReadSoundFileBytes(s.packPath, &decoded->file) ||
        decoded->decoder.Open(decoded->file.data(), decoded->file.size()) != zo::OggFault::None ||
        decoded->decoder.LengthBytes() == 0 || decoded->decoder.LengthBytes() > zo::MaxOggPcmBytes)
      return ShowError(Place, "OGGファイルを読み込めません"), -1;
    format = DecodedFormat(decoded->decoder.Channels(), decoded->decoder.Rate());
    dataSize = static_cast<uint32_t>(decoded->decoder.LengthBytes());
    s.dataStart = 0;  // offsets count decoded bytes
  } else if (const char* fault = OpenWaveStream(s.packPath, &s, &format, &dataSize)) {
    return ShowError(Place, fault), -1;
  }
  // The format check of every loader, before any arithmetic relies on it.
  if (!zo::PlayableSoundFormat(format.data()))
    return ShowError(Place, ogg ? "OGGファイルを読み込めません" : "WAVEファイルを読み込めません"), -1;
  const WAVEFORMATEX* w = reinterpret_cast<const WAVEFORMATEX*>(format.data());
  if (!zo::ShouldStream(dataSize, w->nAvgBytesPerSec)) return LoadObject(file, 1);  // held whole

  const int64_t loopOffset = zo::LoopOffsetOfFrame(loopSample, w->nBlockAlign);
  const int32_t dataStart = s.dataStart;
  zo::StartStream(&s, dataStart, dataSize, w->nAvgBytesPerSec, w->nBlockAlign, w->wBitsPerSample,
                  loopOffset);
  s.source = ogg ? StreamFromOggFile : StreamFromWaveFile;
  const int result = zo::FinishStreamLoad(Place, slot, s, w, firstLoad, file,
                                          decoded ? &decoded->decoder : nullptr);
  if (result >= 0 && decoded) oggStreams[slot] = std::move(decoded);
  return result;
}

}  // namespace zoSound
