// Sprite objects from the image pack: the entry is found by name, its
// 15-bit pixels are expanded into a staging object and blitted into the
// object, which DirectDraw can then keep in video memory.
#include <cstring>
#include <memory>
#include <new>

#include "draw/display_win.h"
#include "draw/image_pack_rules.h"
#include "draw/objects_win.h"
#include "system/com_release_win.h"
#include "system/pack_file_win.h"
#include "system/path_rules.h"
#include "zo.h"

char imagePackPath[ImagePackPathCapacity];

namespace {

const char* const NoPackFile = "パックファイル名が指定されていません";
const char* const CannotExpand = "サーフェース間で展開できません";
const char* const CannotLock = "サーフェースをロックできません";

const int BlitTries = 10;

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
// The staging surface given the expanded pixels; DDERR_SURFACELOST when it
// (or its lock) was lost, DDERR_INVALIDRECT when it is smaller than asked.
HRESULT CopyToStaging(IDirectDrawSurface* surface, const uint16_t* pixels, int width, int height) {
  DDSURFACEDESC desc = zo::EmptySurfaceDesc();
  HRESULT hr = surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
  if (hr != DD_OK) return hr;
  // A surface smaller than asked for, or one without memory, is never
  // written past its end.
  if (!desc.lpSurface || desc.dwWidth < static_cast<DWORD>(width) ||
      desc.dwHeight < static_cast<DWORD>(height) || desc.lPitch < static_cast<LONG>(width) * 2) {
    surface->Unlock(desc.lpSurface);
    return DDERR_INVALIDRECT;
  }
  for (int y = 0; y < height; ++y)
    std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                pixels + static_cast<size_t>(y) * width, static_cast<size_t>(width) * 2);
  surface->Unlock(desc.lpSurface);
  return DD_OK;
}

// The entry's pixels, expanded once into memory, go into the staging
// object and from there into dest. A loss of either surface on the way
// restores them and starts the copy again, so a lost staging surface
// never passes on what its memory held after the loss.
bool FillFromPack(const char* where, zo::PackFile* pack, const zo::ImagePackEntry& entry,
                  IDirectDrawSurface* dest, uint16_t destWidth, uint16_t destHeight) {
  int staging = MakeObject(entry.width, entry.height, 2);
  std::unique_ptr<uint16_t[]> pixels;
  if (staging) pixels.reset(new (std::nothrow) uint16_t[static_cast<size_t>(entry.width) * entry.height]);
  if (!staging || !pixels) {
    pack->Close();
    if (staging) Discard(staging);
    return staging ? ShowError(where, CannotLock) != 0 : false;
  }
  zo::ExpandPackPixels(*pack, pixels.get(), entry.width, entry.width, entry.height, PixelFormat.fivePos);
  pack->Close();

  RECT to = {0, 0, destWidth, destHeight};
  RECT from = {0, 0, entry.width, entry.height};
  HRESULT hr = DDERR_GENERIC;
  bool locked = false;
  for (int i = 0; i < BlitTries; ++i) {
    IDirectDrawSurface* surface = drawObjects[staging].surface;  // a restore may rebuild objects
    hr = CopyToStaging(surface, pixels.get(), entry.width, entry.height);
    locked = hr == DD_OK;
    if (hr == DDERR_INVALIDRECT) break;
    if (locked) hr = dest->Blt(&to, surface, &from, DDBLT_WAIT, nullptr);
    if (hr == DD_OK) break;
    if (hr == DDERR_SURFACELOST) {
      zoDraw::RestoreSurfaces();
      // The object being filled is not listed in the table yet.
      if (dest->IsLost() != DD_OK) dest->Restore();
    }
  }
  Discard(staging);
  if (hr != DD_OK) return ShowError(where, locked ? CannotExpand : CannotLock) != 0;
  return true;
}

// The pack opened and searched for key; reports and answers false when
// either fails.
bool FindEntry(const char* where, const char* key, zo::PackFile* pack, zo::ImagePackEntry* entry) {
  if (!pack->Open(imagePackPath)) return ShowError(where, NoPackFile) != 0;
  if (!zo::FindPackEntry(*pack, key, entry)) {
    pack->Close();
    return ShowError(where, zo::CannotReadBmp) != 0;
  }
  return true;
}

// The record's final state once its pixels are in place.
void FinishPackObject(DrawObject& object, const char* key, const zo::ImagePackEntry& entry) {
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
  if (!zo::UpperCasePackName(name, key, sizeof key)) return ShowError(where, zo::NameTooLong);
  zo::PackFile pack;
  zo::ImagePackEntry entry;
  if (!FindEntry(where, key, &pack, &entry)) return 0;

  int dest = MakeObject(entry.width, entry.height, memory);
  if (!dest) return 0;
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
  DrawObject* object = zo::UserObjectAt(index);
  if (!object) return ShowError(where, zo::IndexOutOfRange);
  char key[sizeof DrawObject::name];
  if (!zo::UpperCasePackName(name, key, sizeof key)) return ShowError(where, zo::NameTooLong);
  zo::PackFile pack;
  zo::ImagePackEntry entry;
  if (!FindEntry(where, key, &pack, &entry)) return 0;

  zo::ReleaseCom(object->surface);
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
    pack.Close();
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
