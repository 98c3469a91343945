// The sprite object table: loading, creating, swapping, releasing and
// rebuilding objects after DirectDraw lost their memory.
#include <cstring>

#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "system/com_release_win.h"
#include "system/message_box_win.h"
#include "system/path_rules.h"
#include "zo.h"

namespace zo {

DrawObject* ObjectAt(int index) {
  if (index < 0 || index >= MaxDrawObjects) return nullptr;
  return &drawObjects[index];
}

DrawObject* UserObjectAt(int index) {
  return index >= FirstUserObject ? ObjectAt(index) : nullptr;
}

IDirectDrawSurface* SurfaceOf(int index) {
  DrawObject* object = ObjectAt(index);
  return object ? object->surface : nullptr;
}

int FindFreeObject() {
  for (int i = FirstUserObject; i < MaxDrawObjects; ++i) {
    if (drawObjects[i].name[0] == '\0') return i;
  }
  return -1;
}

}  // namespace zo

namespace {

const char* const TooManyObjects = "オブジェクト数が多過ぎます";
const char* const CannotCreateSprite = "スプライトを作成できません";

bool NameFits(const char* name) { return name && std::strlen(name) <= MaxObjectNameLength; }

void Claim(DrawObject& object, const char* name) {
  std::memset(object.name, 0, sizeof object.name);
  std::strncpy(object.name, name, MaxObjectNameLength);
  object.fromPack = 0;
  object.memory = 2;
}

// Fills a claimed record from the file beside the executable, else from a
// resource of the bare name, and gives it its key.
bool LoadInto(DrawObject& object, const char* name, int memory) {
  char path[MAX_PATH + 64] = "";
  zo::AppendBounded(path, sizeof path, MakeFullPath(0));
  zo::AppendBounded(path, sizeof path, name);
  object.surface = LoadBitmapSurface(directDraw, path, &object.width, &object.height, memory);
  if (!object.surface) {
    object.surface = LoadResourceSurface(directDraw, name, &object.width, &object.height, memory);
  }
  if (!object.surface) return false;
  zo::ApplyNewObjectKey(object);
  return true;
}

}  // namespace

namespace zoDraw {

int LoadObject(const char* name, int memory) {
  const char* const where = "zoDraw::LoadObject";
  if (!NameFits(name)) return ShowError(where, zo::NameTooLong);
  int index = zo::FindFreeObject();
  if (index < 0) return ShowError(where, TooManyObjects);
  DrawObject& object = drawObjects[index];
  Claim(object, name);
  if (!LoadInto(object, name, memory)) return ShowError(where, zo::CannotReadBmp);
  return index;
}

int CreateObject(int width, int height, int memory) {
  const char* const where = "zoDraw::CreateObject";
  int index = zo::FindFreeObject();
  if (index < 0) return ShowError(where, TooManyObjects);
  DrawObject& object = drawObjects[index];
  Claim(object, "*");
  object.width = static_cast<uint16_t>(width);
  object.height = static_cast<uint16_t>(height);
  if (!directDraw || width <= 0 || height <= 0) return ShowError(where, CannotCreateSprite);
  DDSURFACEDESC desc = ObjectSurfaceDesc(width, height, memory);
  if (directDraw->CreateSurface(&desc, &object.surface, nullptr) != DD_OK) {
    object.surface = nullptr;
    return ShowError(where, CannotCreateSprite);
  }
  zo::ApplyNewObjectKey(object);
  return index;
}

int SwapObject(const char* name, int index, int memory) {
  const char* const where = "zoDraw::SwapObject";
  DrawObject* object = zo::UserObjectAt(index);
  if (!object) return ShowError(where, zo::IndexOutOfRange);
  if (!NameFits(name)) return ShowError(where, zo::NameTooLong);
  zo::ReleaseCom(object->surface);
  Claim(*object, name);
  if (!LoadInto(*object, name, memory)) return ShowError(where, zo::CannotReadBmp);
  return 1;
}

void ReleaseObject(int index) {
  // The display's own objects are not the caller's to give back; a record a
  // failed load left claimed (named, no surface) is freed like a loaded one.
  DrawObject* object = zo::UserObjectAt(index);
  if (!object || (!object->surface && object->name[0] == '\0')) return;
  zo::ReleaseCom(object->surface);
  object->name[0] = '\0';
  object->colorKey = 0;
  object->width = 0;
  object->height = 0;
}

void RestoreSurfaces() {
  // A reload can meet a lost surface and call back in here; that inner call
  // only restores, or surfaces that stay lost would recurse without end.
  static bool rebuilding = false;
  const bool rebuild = !rebuilding;
  rebuilding = true;
  // What every loaded object was, kept apart: a reload that fails empties
  // its record.
  struct Loaded {
    char name[sizeof drawObjects[0].name];
    int32_t fromPack, memory, colorKey;
    bool done;
    bool reported;  // its reload failed with a box in this restore
  };
  static Loaded loaded[MaxDrawObjects];
  for (int i = FirstUserObject; rebuild && i < MaxDrawObjects; ++i) {
    const DrawObject& object = drawObjects[i];
    Loaded& l = loaded[i];
    std::memcpy(l.name, object.name, sizeof l.name);
    l.fromPack = object.fromPack;
    l.memory = object.memory;
    l.colorKey = object.colorKey;
    l.done = !object.surface || object.name[0] == '\0' || object.name[0] == '*';
    l.reported = false;
  }
  // Losses during the reloads (a storm of them) call for another pass, up
  // to a bound: surfaces that stay lost for good end it.
  const int Passes = rebuild ? 10 : 1;
  for (int pass = 0; pass < Passes; ++pass) {
    if (primarySurface) primarySurface->Restore();
    if (backSurface && backSurface->IsLost() != DD_OK) backSurface->Restore();
    if (frameSurface && frameSurface->IsLost() != DD_OK) frameSurface->Restore();
    for (int i = 0; i < MaxDrawObjects; ++i) {
      IDirectDrawSurface* surface = drawObjects[i].surface;
      if (surface && (i < FirstUserObject || drawObjects[i].name[0] != '\0') &&
          surface->IsLost() != DD_OK)
        surface->Restore();
    }
    if (!rebuild) break;
    bool settled = true;
    for (int i = FirstUserObject; i < MaxDrawObjects; ++i) {
      Loaded& l = loaded[i];
      if (l.done) continue;
      SetColorKey(static_cast<COLORREF>(l.colorKey));
      // Later passes retry a failed reload (a storm may have caused it), but
      // each object is reported once per restore.
      if (l.reported) ++zo::errorBoxesMuted;
      const int answer = l.fromPack == 1 ? SwapPack(l.name, i, l.memory) : SwapObject(l.name, i, l.memory);
      if (l.reported) --zo::errorBoxesMuted;
      l.reported = l.reported || answer == 0;
      l.done = answer != 0;
      settled = settled && l.done;
    }
    // An object reloaded early in the pass may have been lost again since.
    for (int i = FirstUserObject; i < MaxDrawObjects; ++i) {
      Loaded& l = loaded[i];
      const IDirectDrawSurface* surface = drawObjects[i].surface;
      if (l.name[0] == '\0' || l.name[0] == '*' || !surface) continue;
      if (drawObjects[i].surface->IsLost() != DD_OK) {
        l.done = false;
        settled = false;
      }
    }
    if (settled) break;
  }
  rebuilding = !rebuild;
}

}  // namespace zoDraw
