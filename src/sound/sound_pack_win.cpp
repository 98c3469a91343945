// Sound packs: the current pack file, loading an entry as a sound object,
// and building a pack from a folder of WAV files.
#include <cstring>
#include <string>

#include "sound/sound_win.h"
#include "system/path_rules.h"

char soundPackPath[256];

namespace {

const char* const LoadPlace = "zoSound::LoadPack";
const char* const ConvertPlace = "zoSound::Convert";
const DWORD PackBufferFlags =
    DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;  // 0xE2

}  // namespace

namespace zo {

bool GlobalBlock::Allocate(uint64_t size) {
  if (size > 0x7FFFFFFFu) return false;
  bytes = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, size ? static_cast<SIZE_T>(size) : 1));
  return bytes != nullptr;
}

bool OpenPackSound(const char* place, const char* path, const char* upperName, PackSound* sound) {
  if (!sound->file.Open(path)) {
    ShowError(place, "パックファイル名が指定されていません");
    return false;
  }
  // An entry that is missing, damaged, cut short or that no one could
  // play is all the same to the caller: the sound cannot be read.
  bool ok = FindPackEntry(sound->file, upperName, &sound->entry) &&
            sound->formatBlock.Allocate(sound->entry.formatSize) &&
            sound->file.Read(sound->formatBlock.bytes, sound->entry.formatSize) == sound->entry.formatSize &&
            ReadPackFormat(sound->formatBlock.bytes, sound->entry.formatSize, &sound->format);
  if (!ok) {
    sound->file.Close();
    ShowError(place, "WAVEファイルを読み込めません");
  }
  return ok;
}

bool CheckPackRequest(const char* place, const char* name, bool firstLoad,
                      char (&upper)[PackNameCapacity]) {
  if (!UpperCasePackName(name, upper, sizeof upper)) {
    ShowError(place, "ファイル名またはリソース名が長すぎます");
    return false;
  }
  if (firstLoad && std::strlen(name) > static_cast<size_t>(MaxSoundNameLength)) {
    ShowError(place, "ファイル名が長すぎます");
    return false;
  }
  return true;
}

}  // namespace zo

bool AppendSoundPackEntry(zo::ReplacingFile& pack, const char* relativeName) {
  const char* entryName = zo::PackEntryName(relativeName);
  if (std::strlen(entryName) >= zo::PackNameCapacity) {
    ShowError(ConvertPlace, "ファイル名が長すぎます");
    return true;  // skipped; the pack itself is fine
  }
  WAVEFORMATEX* format = nullptr;
  BYTE* samples = nullptr;
  int formatSize = 0, sampleSize = 0;
  ReadWaveFile((std::string(MakeFullPath(0)) + relativeName).c_str(), &format, &formatSize, &samples,
               &sampleSize);
  std::vector<uint8_t> head = zo::PackEntryHead(static_cast<uint32_t>(sampleSize), entryName,
                                                static_cast<uint32_t>(formatSize));
  bool written = pack.Write(head.data(), head.size()) &&
                 pack.Write(format, static_cast<size_t>(formatSize)) &&
                 pack.Write(samples, static_cast<size_t>(sampleSize));
  if (format) GlobalFree(format);
  if (samples) GlobalFree(samples);
  return written;
}

namespace zoSound {

void SetPackFile(const char* name) {
  // A path cut short would name another file: none at all is reported later.
  soundPackPath[0] = '\0';
  if (!name) return;
  if (!zo::AppendBounded(soundPackPath, sizeof soundPackPath, MakeFullPath(0)) ||
      !zo::AppendBounded(soundPackPath, sizeof soundPackPath, name))
    soundPackPath[0] = '\0';
}

int LoadPack(const char* name, int mix) {
  const int mixCount = zo::StartLoad(LoadPlace, name, mix);
  if (!mixCount) return -1;
  bool firstLoad = !reloading;
  char upper[zo::PackNameCapacity];
  if (!zo::CheckPackRequest(LoadPlace, name, firstLoad, upper)) return -1;
  const int slot = zo::ClaimSoundSlot(LoadPlace, firstLoad);
  if (slot < 0) return -1;

  zo::PackSound sound;
  if (!zo::OpenPackSound(LoadPlace, soundPackPath, upper, &sound)) return -1;
  zo::GlobalBlock samples;
  uint32_t dataSize = sound.entry.dataSize;
  bool read = samples.Allocate(dataSize) && sound.file.Read(samples.bytes, dataSize) == dataSize;
  sound.file.Close();
  if (!read) {
    ShowError(LoadPlace, "WAVEファイルを読み込めません");
    return -1;
  }

  const zo::LoadedSound loaded{reinterpret_cast<const WAVEFORMATEX*>(sound.formatBlock.bytes),
                               samples.bytes, dataSize, PackBufferFlags};
  return zo::FillSoundObject(LoadPlace, slot, loaded, mix, mixCount, firstLoad, 1, name);
}

int Convert(const char* pack, const char* folder, int deleteFirst) {
  if (!soundReady) return 1;
  if (!pack) return 1;
  if (!folder) folder = "";
  const std::string base = MakeFullPath(0);
  const std::string prefix = *folder ? std::string(folder) + "\\" : std::string();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + prefix + "*.WAV").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // A folder that is not there is a mistake, not an empty pack: the old
    // pack stays.
    if (!zo::IsFolder(base + folder)) return ShowError(ConvertPlace, "フォルダが見つかりません");
    if (deleteFirst) std::remove((base + pack).c_str());  // afresh from no files: no pack
    return 1;
  }
  // The pack is rebuilt beside itself and replaces the old one only when
  // every entry is written.
  zo::ReplacingFile out;
  bool ok = out.Open(base + pack, !deleteFirst);
  if (ok) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // a folder named x.wav
      std::string relative = prefix + found.cFileName;
      zo::UpperCaseSjis(&relative[0]);
      ok = AppendSoundPackEntry(out, relative.c_str());
    } while (ok && FindNextFileA(search, &found));
  }
  FindClose(search);
  if (!ok || !out.Commit()) return ShowError(ConvertPlace, "パックファイルに書き込めません");
  return 1;
}

}  // namespace zoSound
