// PNG, JPEG and GIF files through the Windows Imaging Component, made into
// the same 24-bit DIB section a BMP file gives, so they follow its path.
#include <windows.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

#include "draw/image_header_check.h"
#include "draw/objects_win.h"
#include "draw/picture_pixels.h"
#include "system/com_release_win.h"

namespace {

// Releases a COM interface when it goes.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

// COM and the imaging factory are started by the first picture and kept
// until the display goes: starting them for every file costs Wine memory
// that it never gives back.
HRESULT comStarted = E_FAIL;
IWICImagingFactory* factory = nullptr;

IWICImagingFactory* Factory() {
  if (factory) return factory;
  if (FAILED(comStarted)) comStarted = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
    factory = nullptr;
  return factory;
}

// The first frame of the file image as BGRA pixels; empty on any failure.
std::vector<uint8_t> DecodeBgra(const std::vector<uint8_t>& file, UINT* width, UINT* height) {
  std::vector<uint8_t> pixels;
  IWICImagingFactory* factory = Factory();
  if (!factory) return pixels;
  Held<IWICStream> stream;
  Held<IWICBitmapDecoder> decoder;
  Held<IWICBitmapFrameDecode> frame;
  Held<IWICFormatConverter> converter;
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(width, height)))
    return pixels;
  // The decoder's own idea of the size is bounded too, whatever the header said.
  if (*width == 0 || *height == 0 || !zo::ImageSizeAllowed(*width, *height)) return pixels;
  if (FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return pixels;
  const UINT stride = *width * 4;
  pixels.resize(size_t{stride} * *height);
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data())))
    pixels.clear();
  return pixels;
}

}  // namespace

HBITMAP LoadPictureFile(const char* path) {
  const zo::ImageKind kind = zo::ImageKindOfName(path);
  const std::vector<uint8_t> file = zo::ReadWholeFile(path);
  zo::ImageSize size;
  if (file.empty() || zo::CheckImageHeader(kind, file.data(), file.size(), &size) != zo::ImageFault::None)
    return nullptr;
  UINT width = 0, height = 0;
  const std::vector<uint8_t> bgra = DecodeBgra(file, &width, &height);
  if (bgra.empty()) return nullptr;
  const bool topLeft = loadKeyFromTopLeft || loadColorKey == static_cast<COLORREF>(-1);
  const std::vector<uint8_t> rows = zo::PictureToBgrRows(bgra.data(), width, height, topLeft, loadColorKey);

  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  std::memcpy(bits, rows.data(), rows.size());
  return bitmap;
}

namespace zo {

void ReleasePictureDecoder() {
  zo::ReleaseCom(factory);
  // Only a start of COM made here is ended here (a thread that already ran
  // COM in another mode answered RPC_E_CHANGED_MODE).
  if (SUCCEEDED(comStarted)) CoUninitialize();
  comStarted = E_FAIL;
}

}  // namespace zo
