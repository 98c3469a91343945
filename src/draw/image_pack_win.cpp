// Sprite objects from the image pack: the entry is found by name, its
// 15-bit pixels are expanded into a staging object and blitted into the
// object, which DirectDraw can then keep in video memory.
#include <cstdio>
#include <cstring>

#include "draw/display_win.h"
#include "draw/image_pack_rules.h"
#include "draw/objects_win.h"
#include "system/path_rules.h"
#include "zo.h"

char imagePackPath[ImagePackPathCapacity];

namespace {

const char* const NoPackFile = "パックファイル名が指定されていません";
const char* const CannotReadBmp = "BMPファイルを読み込めません";
const char* const CannotExpand = "サーフェース間で展開できません";
const char* const CannotLock = "サーフェースをロックできません";
const char* const NameTooLong = "ファイル名またはリソース名が長すぎます";
const char* const IndexOutOfRange = "オブジェクト番号が範囲外です";

const int BlitTries = 10;

// The open pack; its size is taken once so that a skip can tell it would
// pass the end (fseek alone happily goes there).
struct PackFile {
  FILE* file;
  uint64_t size;
};

size_t ReadPack(void* context, void* buffer, size_t bytes) {
  return std::fread(buffer, 1, bytes, static_cast<PackFile*>(context)->file);
}

bool SkipPack(void* context, uint64_t bytes) {
  PackFile* pack = static_cast<PackFile*>(context);
  long long position = _ftelli64(pack->file);
  if (position < 0 || static_cast<uint64_t>(position) > pack->size) return false;
  if (bytes > pack->size - static_cast<uint64_t>(position)) return false;
  return _fseeki64(pack->file, static_cast<long long>(bytes), SEEK_CUR) == 0;
}

bool OpenPack(PackFile* pack) {
  pack->file = imagePackPath[0] ? std::fopen(imagePackPath, "rb") : nullptr;
  if (!pack->file) return false;
  long long size = -1;
  if (_fseeki64(pack->file, 0, SEEK_END) == 0) size = _ftelli64(pack->file);
  if (size < 0 || _fseeki64(pack->file, 0, SEEK_SET) != 0) {
    std::fclose(pack->file);
    pack->file = nullptr;
    return false;
  }
  pack->size = static_cast<uint64_t>(size);
  return true;
}

void ClosePack(PackFile* pack) {
  if (pack->file) std::fclose(pack->file);
  pack->file = nullptr;
}

// Gives back a record this load made, claimed or live, so that a failure
// leaves the table as it was.
void Discard(int index) {
  if (index < FirstUserObject) return;
  DrawObject& object = drawObjects[index];
  if (object.surface) object.surface->Release();
  ResetDrawObject(object);
}

// zoDraw::CreateObject, giving back the record it claims when it cannot
// make the surface: a failed pack load keeps nothing.
int MakeObject(int width, int height, int memory) {
  int next = zo::FindFreeObject();
  int index = zoDraw::CreateObject(width, height, memory);
  if (!index && next >= 0 && !drawObjects[next].surface) Discard(next);
  return index;
}

// Expands the entry under the pack's position into a fresh staging object
// and blits it onto dest (width x height). The file is closed here, once
// the pixels are read. Failures are reported under `where`.
bool FillFromPack(const char* where, PackFile* pack, const zo::PackEntry& entry,
                  IDirectDrawSurface* dest, uint16_t destWidth, uint16_t destHeight) {
  int staging = MakeObject(entry.width, entry.height, 2);
  if (!staging) {
    ClosePack(pack);
    return false;
  }
  IDirectDrawSurface* surface = drawObjects[staging].surface;
  DDSURFACEDESC desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) {
    ClosePack(pack);
    Discard(staging);
    return ShowError(where, CannotLock) != 0;
  }
  // A surface smaller than asked for, or one without memory, is never
  // written past its end.
  if (!desc.lpSurface || desc.dwWidth < entry.width || desc.dwHeight < entry.height ||
      desc.lPitch < static_cast<LONG>(entry.width) * 2) {
    surface->Unlock(desc.lpSurface);
    ClosePack(pack);
    Discard(staging);
    return ShowError(where, CannotLock) != 0;
  }
  zo::PackReader reader{pack, ReadPack, SkipPack};
  zo::ExpandPackPixels(reader, static_cast<uint16_t*>(desc.lpSurface), desc.lPitch / 2,
                       entry.width, entry.height, PixelFormat.fivePos);
  surface->Unlock(desc.lpSurface);
  ClosePack(pack);

  RECT to = {0, 0, destWidth, destHeight};
  RECT from = {0, 0, entry.width, entry.height};
  HRESULT hr = DDERR_GENERIC;
  for (int i = 0; i < BlitTries; ++i) {
    hr = dest->Blt(&to, surface, &from, DDBLT_WAIT, nullptr);
    if (hr == DD_OK) break;
    if (hr == DDERR_SURFACELOST) {
      zoDraw::RestoreSurfaces();
      // The object being filled is not listed in the table yet.
      if (dest->IsLost() != DD_OK) dest->Restore();
      // The restore may have rebuilt objects, but never released this one.
      surface = drawObjects[staging].surface;
    }
  }
  Discard(staging);
  if (hr != DD_OK) return ShowError(where, CannotExpand) != 0;
  return true;
}

// The pack opened and searched for key; reports and answers false when
// either fails.
bool FindEntry(const char* where, const char* key, PackFile* pack, zo::PackEntry* entry) {
  if (!OpenPack(pack)) return ShowError(where, NoPackFile) != 0;
  zo::PackReader reader{pack, ReadPack, SkipPack};
  if (!zo::FindPackEntry(reader, key, entry)) {
    ClosePack(pack);
    return ShowError(where, CannotReadBmp) != 0;
  }
  return true;
}

// The record's final state once its pixels are in place.
void FinishPackObject(DrawObject& object, const char* key, const zo::PackEntry& entry) {
  zo::ApplyNewObjectKey(object);
  std::memset(object.name, 0, sizeof object.name);
  std::strcpy(object.name, key);
  object.fromPack = 1;
  object.memory = 2;
  object.width = entry.width;
  object.height = entry.height;
}

}  // namespace

namespace zoDraw {

void SetPackFile(const char* name) {
  imagePackPath[0] = '\0';
  if (!name) return;
  // A path cut short could name another file: no path at all is safer.
  if (!zo::AppendBounded(imagePackPath, sizeof imagePackPath, MakeFullPath(0)) ||
      !zo::AppendBounded(imagePackPath, sizeof imagePackPath, name)) {
    imagePackPath[0] = '\0';
  }
}

int LoadPack(const char* name, int memory) {
  const char* const where = "zoDraw::LoadPack";
  char key[sizeof DrawObject::name];
  if (!zo::UpperCasePackName(name, key, sizeof key)) return ShowError(where, NameTooLong);
  PackFile pack{};
  zo::PackEntry entry;
  if (!FindEntry(where, key, &pack, &entry)) return 0;

  int dest = MakeObject(entry.width, entry.height, memory);
  if (!dest) {
    ClosePack(&pack);
    return 0;
  }
  DrawObject& object = drawObjects[dest];
  if (!FillFromPack(where, &pack, entry, object.surface, entry.width, entry.height)) {
    Discard(dest);
    return 0;
  }
  FinishPackObject(object, key, entry);
  return dest;
}

int SwapPack(const char* name, int index, int memory) {
  const char* const where = "zoDraw::SwapPack";
  DrawObject* object = zo::ObjectAt(index);
  if (!object) return ShowError(where, IndexOutOfRange);
  char key[sizeof DrawObject::name];
  if (!zo::UpperCasePackName(name, key, sizeof key)) return ShowError(where, NameTooLong);
  PackFile pack{};
  zo::PackEntry entry;
  if (!FindEntry(where, key, &pack, &entry)) return 0;

  if (object->surface) object->surface->Release();
  object->surface = nullptr;
  // The record stays claimed under the new name, so the staging object
  // cannot take this index; it holds no surface until the pixels are in,
  // so a restore on the way does not rebuild it.
  std::memset(object->name, 0, sizeof object->name);
  std::strcpy(object->name, key);
  object->width = entry.width;
  object->height = entry.height;
  IDirectDrawSurface* surface = nullptr;
  DDSURFACEDESC desc = ObjectSurfaceDesc(entry.width, entry.height, memory);
  if (!directDraw || entry.width == 0 || entry.height == 0 ||
      directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
    ClosePack(&pack);
    ResetDrawObject(*object);
    return ShowError(where, "スプライトを作成できません");
  }
  if (!FillFromPack(where, &pack, entry, surface, entry.width, entry.height)) {
    surface->Release();
    ResetDrawObject(*object);
    return 0;
  }
  object->surface = surface;
  FinishPackObject(*object, key, entry);
  return index;
}

}  // namespace zoDraw
