// Image packs written from BMP, PNG, JPEG and GIF files: each file is
// loaded as a sprite object, read back through GDI and appended as one
// entry of 15-bit pixels.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "draw/image_header_check.h"
#include "draw/image_pack_rules.h"
#include "draw/display_win.h"
#include "draw/objects_win.h"
#include "system/file_replace_win.h"
#include "system/path_rules.h"
#include "zo.h"

namespace {

const char* const ConvertPlace = "zoDraw::Convert";

// The entry of a loaded object: header and pixels, ready to append. Empty
// when its name cannot be read back or a pixel cannot be read.
std::vector<uint8_t> EntryOf(const DrawObject& object, const char* name) {
  std::vector<uint8_t> entry(4 + zo::PackNameCapacity);
  size_t header = zo::WritePackEntryHeader(object.width, object.height, name, entry.data());
  if (header == 0) return {};
  entry.resize(header + size_t{object.width} * object.height * 2);
  HDC dc;
  if (object.surface->GetDC(&dc) != DD_OK) return {};
  uint8_t* at = entry.data() + header;
  bool readable = true;
  for (int y = 0; y < object.height && readable; ++y) {
    for (int x = 0; x < object.width; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (c == CLR_INVALID) {
        readable = false;
        break;
      }
      uint16_t v = zo::ReducePackPixel(c);
      at[0] = static_cast<uint8_t>(v);
      at[1] = static_cast<uint8_t>(v >> 8);
      at += 2;
    }
  }
  object.surface->ReleaseDC(dc);
  if (!readable) return {};
  return entry;
}

// The entry of the BMP file at path (relative to the executable's folder),
// named after the file alone; empty when the file is skipped (already
// reported by the loader).
std::vector<uint8_t> EntryOfFile(const char* path) {
  // Read back at the display's full depth, not through a 5-6-5 frame.
  zo::NativeObjects native;
  int index = zoDraw::LoadObject(path, 1);
  if (!index) return {};
  // Upper-cased like the names it will be looked up under.
  const char* slash = std::strrchr(path, '\\');
  const char* file = slash ? slash + 1 : path;
  char name[zo::PackNameCapacity];
  std::vector<uint8_t> entry;
  if (zo::UpperCasePackName(file, name, sizeof name)) entry = EntryOf(drawObjects[index], name);
  zoDraw::ReleaseObject(index);
  return entry;
}

bool IsPictureName(const char* name) {
  return zo::HasExtension(name, ".bmp") || zo::ImageKindOfName(name) != zo::ImageKind::Bmp;
}

}  // namespace

namespace zoDraw {

int Convert(const char* pack, const char* folder, int afresh) {
  if (GetDisplayDepth() <= 16) return ShowError(ConvertPlace, "画面をフルカラーにして下さい");
  if (!pack) return 1;
  const std::string base = MakeFullPath(0);
  const std::string dir = folder ? folder : "";
  // Every picture the loader reads, in the order the directory search
  // returns them.
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + (dir.empty() ? "*" : dir + "\\*")).c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPictureName(found.cFileName))
        files.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (files.empty()) {
    // A folder that is not there leaves the old pack as it was.
    if (!zo::IsFolder(base + dir)) return ShowError(ConvertPlace, "フォルダが見つかりません");
    if (afresh) std::remove((base + pack).c_str());  // afresh from no files: no pack
    return 1;
  }
  // The pack is rebuilt beside itself and replaces the old one only when
  // every entry is written.
  zo::ReplacingFile out;
  bool ok = out.Open(base + pack, !afresh);
  for (size_t i = 0; ok && i < files.size(); ++i) {
    std::string relative = dir.empty() ? files[i] : dir + "\\" + files[i];
    std::vector<char> upper(relative.size() + 1);
    zo::UpperCasePackName(relative.c_str(), upper.data(), upper.size());
    std::vector<uint8_t> entry = EntryOfFile(upper.data());
    ok = out.Write(entry.data(), entry.size());
  }
  if (!ok || !out.Commit()) return ShowError(ConvertPlace, "パックファイルに書き込めません");
  return 1;
}

void ConvertFile(const char* pack, const char* path) {
  if (!pack || !path) return;
  std::vector<uint8_t> entry = EntryOfFile(path);
  if (entry.empty()) return;
  // The pack is extended in a copy, so it never ends in half an entry.
  zo::ReplacingFile out;
  if (!out.Open(std::string(MakeFullPath(0)) + pack, true) || !out.Write(entry.data(), entry.size()) ||
      !out.Commit())
    ShowError("zoDraw::ConvertFile", "パックファイルに書き込めません");
}

}  // namespace zoDraw
