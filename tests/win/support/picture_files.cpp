#include "picture_files.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>

namespace zotest {

namespace {

using Bytes = std::vector<uint8_t>;

void Big32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}
void Little16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = c & 1 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
  }
  return ~c;
}

void Chunk(Bytes& png, const char* kind, const Bytes& body) {
  Big32(png, static_cast<uint32_t>(body.size()));
  Bytes typed(kind, kind + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Big32(png, Crc32(typed.data(), typed.size()));
}

bool Save(const std::string& path, const Bytes& b) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

Bytes PngHeader(uint32_t width, uint32_t height) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, ihdr;
  Big32(ihdr, width);
  Big32(ihdr, height);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
  Chunk(png, "IHDR", ihdr);
  return png;
}

// zlib data of stored (uncompressed) deflate blocks.
Bytes Stored(const Bytes& raw) {
  Bytes z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(raw.size() - at, 65535);
    z.push_back(at + n == raw.size() ? 1 : 0);
    Little16(z, static_cast<uint32_t>(n));
    Little16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  Big32(z, b << 16 | a);
  return z;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& bgra) {
  Bytes png = PngHeader(width, height), raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
      raw.insert(raw.end(), {p[2], p[1], p[0], p[3]});
    }
  }
  Chunk(png, "IDAT", Stored(raw));
  Chunk(png, "IEND", {});
  return Save(path, png);
}

bool WritePngClaiming(const std::string& path, uint32_t width, uint32_t height) {
  Bytes png = PngHeader(width, height);
  Chunk(png, "IDAT", Stored(Bytes(900, 0)));
  Chunk(png, "IEND", {});
  return Save(path, png);
}

bool WriteGif(const std::string& path, int width, int height, const std::vector<uint8_t>& indices,
              const uint32_t (&palette)[4]) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
  Little16(g, width);
  Little16(g, height);
  g.insert(g.end(), {0x81, 0, 0});  // a global table of 4 colours
  for (uint32_t c : palette) g.insert(g.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  g.push_back(0x2C);
  Little16(g, 0);
  Little16(g, 0);
  Little16(g, width);
  Little16(g, height);
  g.push_back(0);
  g.push_back(2);  // LZW minimum code size: codes of 3 bits
  // A clear code before every two pixels keeps the table from growing past
  // eight codes, so every code stays three bits wide.
  Bytes codes;
  uint32_t bits = 0, count = 0;
  auto emit = [&](uint32_t code) {
    bits |= code << count;
    count += 3;
    while (count >= 8) {
      codes.push_back(static_cast<uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
  };
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) emit(4);
    emit(indices[i] & 3);
  }
  emit(5);
  if (count) codes.push_back(static_cast<uint8_t>(bits));
  for (size_t at = 0; at < codes.size(); at += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - at);
    g.push_back(static_cast<uint8_t>(n));
    g.insert(g.end(), codes.begin() + at, codes.begin() + at + n);
  }
  g.push_back(0);
  g.push_back(0x3B);
  return Save(path, g);
}

bool WriteFlatJpeg(const std::string& path, int width, int height, uint32_t colour) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool ok = false;
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IPropertyBag2* options = nullptr;
  std::wstring wide(path.begin(), path.end());
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, &options))) {
    PROPBAG2 quality = {};
    quality.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = 1.0f;
    options->Write(1, &quality, &value);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) {
      pixels[i] = static_cast<BYTE>(colour >> 16);
      pixels[i + 1] = static_cast<BYTE>(colour >> 8);
      pixels[i + 2] = static_cast<BYTE>(colour);
    }
    ok = SUCCEEDED(frame->Initialize(options)) && SUCCEEDED(frame->SetSize(width, height)) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) &&
         IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
         SUCCEEDED(frame->WritePixels(height, width * 3, static_cast<UINT>(pixels.size()), pixels.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  }
  for (IUnknown* u : {static_cast<IUnknown*>(options), static_cast<IUnknown*>(frame),
                      static_cast<IUnknown*>(encoder), static_cast<IUnknown*>(stream),
                      static_cast<IUnknown*>(factory)})
    if (u) u->Release();
  CoUninitialize();
  return ok;
}

}  // namespace zotest
