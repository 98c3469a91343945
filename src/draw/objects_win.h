// Internals of the sprite object table shared by the display, the loaders
// and the blits.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "draw/draw_object_win.h"

extern COLORREF loadColorKey;  // key of objects made from now on
extern int loadKeyFromTopLeft; // new objects take their top-left pixel as key

namespace zo {

// What the sprite loaders report.
inline const char* const NameTooLong = "ファイル名またはリソース名が長すぎます";
inline const char* const CannotReadBmp = "BMPファイルを読み込めません";
inline const char* const IndexOutOfRange = "オブジェクト番号が範囲外です";

// The record of an object number, or null outside 0..511.
DrawObject* ObjectAt(int index);
// The record of a user object number, or null outside 4..511.
DrawObject* UserObjectAt(int index);
// Its surface, or null when the number is out of range or the record is empty.
IDirectDrawSurface* SurfaceOf(int index);

// The lowest free record from FirstUserObject, or -1 when all are claimed.
int FindFreeObject();

// Gives a freshly made object its key from the two settings above.
void ApplyNewObjectKey(DrawObject& object);

// The whole file, or an empty vector when it cannot be read (or is larger
// than any picture the loaders take).
std::vector<uint8_t> ReadWholeFile(const char* path);

}  // namespace zo

// The surface's raw pixel value for a COLORREF, found by writing and reading
// back pixel (0, 0); -1 for the value already at (0, 0); -1 (all bits) when
// the surface cannot be locked.
DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF colour);
// The DDCKEY_SRCBLT key of the surface from a COLORREF (or -1 as above).
HRESULT ApplyColorKey(IDirectDrawSurface* surface, COLORREF colour);

// A surface with the bitmap of path (a resource of that name first, then a
// file), its size in width and height; null when none could be made.
IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* dd, const char* path, uint16_t* width,
                                      uint16_t* height, int memory);
// A PNG, JPEG or GIF file (by its extension) decoded into a 24-bit DIB
// section, pixels with alpha below 128 in the colour new objects are keyed
// with; null when the header check or the decoder refuses it.
HBITMAP LoadPictureFile(const char* path);
namespace zo {
// Releases the imaging component that LoadPictureFile starts on first use.
void ReleasePictureDecoder();
}  // namespace zo
// The second attempt of a load: a bitmap resource under the bare name.
IDirectDrawSurface* LoadResourceSurface(IDirectDraw* dd, const char* name, uint16_t* width,
                                        uint16_t* height, int memory);
// Stretches the bitmap's (x, y, w, h) (0 = whole) over the whole surface.
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int w,
                            int h);
// A DDSURFACEDESC for an off-screen plain surface of that size and placement.
DDSURFACEDESC ObjectSurfaceDesc(DWORD width, DWORD height, int memory);
