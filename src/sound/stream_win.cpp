// Streamed sound objects: a four-second ring buffer refilled from a pack
// entry while it plays, polled once per frame.
#include <cstring>

#include "sound/ogg_decoder.h"
#include "sound/stream_rules.h"
#include "sound/sound_win.h"

namespace {

const char* const LoadPlace = "zoSound::LoadStream";
const char* const ResetPlace = "zoSound::ResetStream";
const char* const StreamingPlace = "zoSound::Streaming";
const DWORD StreamBufferFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                                DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                                DSBCAPS_GETCURRENTPOSITION2;  // 0x180E2

// The pack (or WAV file) is opened, read and closed again for every chunk,
// so a stream holds no file between frames. An OGG stream reads from its
// decoder, which stays open while the object lives.
class BufferStreamIo final : public zo::StreamIo {
 public:
  BufferStreamIo(int index, IDirectSoundBuffer* buffer, zo::OggDecoder* decoder)
      : index_(index), buffer_(buffer), decoder_(decoder) {}

  ReadResult ReadPack(const char* packPath, int32_t offset, uint8_t* to, uint32_t count,
                      uint32_t* got) override {
    *got = 0;
    if (offset < 0) return ReadResult::CannotSeek;
    if (decoder_) {
      *got = decoder_->ReadAt(static_cast<uint64_t>(offset), to, count);
      return ReadResult::Read;
    }
    FILE* file = std::fopen(packPath, "rb");
    if (!file) return ReadResult::NoPack;
    if (std::fseek(file, offset, SEEK_SET) != 0) {
      std::fclose(file);
      return ReadResult::CannotSeek;
    }
    *got = static_cast<uint32_t>(std::fread(to, 1, count, file));
    std::fclose(file);
    return ReadResult::Read;
  }

  bool WriteRing(uint32_t offset, const uint8_t* from, uint32_t count) override {
    return buffer_ && zo::WriteSoundBuffer(buffer_, offset, from, count);
  }

  void Stop() override { zoSound::Stop(index_, -1); }

 private:
  int index_;
  IDirectSoundBuffer* buffer_;
  zo::OggDecoder* decoder_;
};

// Reads the first chunk of the stream and writes it at the ring's start.
// Answers the fault to report, or null.
const char* WriteFirstChunk(const StreamState& s, IDirectSoundBuffer* buffer, zo::OggDecoder* decoder) {
  zo::GlobalBlock chunk;
  if (!chunk.Allocate(s.halfSize)) return "ストリーミング再生できません";
  BufferStreamIo io(-1, buffer, decoder);
  uint32_t got = 0;
  switch (io.ReadPack(s.packPath, s.dataStart, chunk.bytes, s.halfSize, &got)) {
    case zo::StreamIo::ReadResult::NoPack: return "パックファイル名が指定されていません";
    case zo::StreamIo::ReadResult::CannotSeek: return "ストリーミング再生できません";
    case zo::StreamIo::ReadResult::Read: break;
  }
  if (got < s.halfSize) std::memset(chunk.bytes + got, s.silence, s.halfSize - got);
  if (buffer && !io.WriteRing(0, chunk.bytes, s.halfSize)) return "ストリーミング再生できません";
  return nullptr;
}

}  // namespace

namespace zo {

int FinishStreamLoad(const char* place, int slot, const StreamState& s, const WAVEFORMATEX* format,
                     bool firstLoad, const char* name, OggDecoder* decoder) {
  SoundObject* o = &soundObjects[slot];
  ReleaseMixBuffers(o);
  if (!decoder) CloseStreamDecoder(slot);
  // The second half starts silent too, so nothing old can sound before the
  // first refill.
  GlobalBlock silence;
  if (silence.Allocate(s.bufferSize)) std::memset(silence.bytes, s.silence, s.bufferSize);
  IDirectSoundBuffer* buffer =
      silence.bytes ? CreateFilledBuffer(format, silence.bytes, s.bufferSize, StreamBufferFlags) : nullptr;
  if (!buffer) {
    ShowError(place, "サウンドバッファが生成できません");
    return -1;
  }
  if (const char* fault = WriteFirstChunk(s, buffer, decoder)) {
    buffer->Release();
    ShowError(place, fault);
    return -1;
  }
  o->buffers[0] = buffer;
  o->mixCount = 1;
  o->echoStep = -1;
  o->nextMix = 0;  // one mix: there is no other to keep
  ApplyMixSettings(o, 0, firstLoad);
  o->stream = s;
  o->used = 1;
  o->fromPack = s.source == StreamFromPack ? 1 : 0;
  if (firstLoad) {
    std::memset(o->name, 0, sizeof o->name);
    std::memcpy(o->name, name, std::strlen(name));
  }
  return slot;
}

}  // namespace zo

namespace zoSound {

int LoadStream(const char* name, int loopOffset) {
  if (!soundReady || !soundDevice) return -1;
  if (!name) name = "";
  bool firstLoad = !reloading;
  char upper[zo::PackNameCapacity];
  if (!zo::CheckPackRequest(LoadPlace, name, firstLoad, upper)) return -1;
  const int slot = zo::ClaimSoundSlot(LoadPlace, firstLoad);
  if (slot < 0) return -1;

  StreamState s;
  std::memset(&s, 0, sizeof s);
  std::memcpy(s.packPath, soundPackPath, sizeof soundPackPath);
  zo::PackSound sound;
  if (!zo::OpenPackSound(LoadPlace, s.packPath, upper, &sound)) return -1;
  const zo::SoundFormat& f = sound.format;
  if (!zo::ShouldStream(sound.entry.dataSize, f.avgBytesPerSec)) {
    sound.file.Close();
    return LoadPack(name, 1);  // short enough to hold whole
  }
  uint64_t dataStart = sound.entry.formatOffset + sound.entry.formatSize;
  sound.file.Close();
  if (dataStart + sound.entry.dataSize > 0x7FFFFFFFu) {  // offsets are kept in 31 bits
    ShowError(LoadPlace, "WAVEファイルを読み込めません");
    return -1;
  }
  zo::StartStream(&s, static_cast<int32_t>(dataStart), sound.entry.dataSize, f.avgBytesPerSec,
                  f.blockAlign, f.bitsPerSample, loopOffset);

  const WAVEFORMATEX* format = reinterpret_cast<const WAVEFORMATEX*>(sound.formatBlock.bytes);
  return zo::FinishStreamLoad(LoadPlace, slot, s, format, firstLoad, name, nullptr);
}

int ResetStream(int index) {
  if (!soundReady) return 0;
  SoundObject* o = zo::UsableSoundObject(index);
  if (!o || o->stream.dataSize == 0) return 0;
  StreamState& s = o->stream;
  zo::RewindStream(&s);
  if (const char* fault = WriteFirstChunk(s, o->buffers[0], zo::StreamDecoder(index)))
    return ShowError(ResetPlace, fault);
  return 1;
}

int Streaming() {
  if (!soundReady) return 0;
  for (int i = 0; i < MaxSoundObjects; ++i) {
    SoundObject& o = soundObjects[i];
    if (!o.used || o.stream.dataSize == 0 || !o.buffers[0]) continue;
    IDirectSoundBuffer* buffer = o.buffers[0];
    DWORD status = 0, play = 0;
    if (FAILED(buffer->GetStatus(&status)) || !(status & DSBSTATUS_PLAYING)) continue;
    if (FAILED(buffer->GetCurrentPosition(&play, nullptr))) continue;
    BufferStreamIo io(i, buffer, zo::StreamDecoder(i));
    switch (zo::RefillStream(&o.stream, o.looping != 0, play, io)) {
      case zo::RefillResult::NotDue:
      case zo::RefillResult::Stopped:
      case zo::RefillResult::Written:
        break;
      case zo::RefillResult::NoPack:
        return ShowError(StreamingPlace, "パックファイル名が指定されていません");
      case zo::RefillResult::CannotSeek:
      case zo::RefillResult::NoMemory:
      case zo::RefillResult::CannotWrite:
        return ShowError(StreamingPlace, "ストリーミング再生できません");
    }
  }
  return 1;
}

}  // namespace zoSound
