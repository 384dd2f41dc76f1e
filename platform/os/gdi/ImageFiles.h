// Image file codecs: BMP and GIF (our own code), PNG (libpng) and JPEG (libjpeg), between bytes and
// 32-bit BGRA pixels.  Corrupt or truncated input raises EInvalidGraphic; images larger than
// kMaxImagePixels raise EOutOfResources before anything large is allocated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os/gdi/GdiTypes.h"
#include "platform/os/gdi/Surface.h"

// The largest decoded image: 64 Mi pixels (256 MiB of BGRA).
constexpr int64_t kMaxImagePixels = int64_t(1) << 26;

// A decoded image: BGRA pixels top-down; palette images also keep their indices.
struct TRasterImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;  // 0xAARRGGBB; alpha as stored (0 where the format has none)
  int BitsPerPixel = 32;         // depth of the source: 1, 4, 8, 16, 24 or 32
  bool HasAlpha = false;         // the source carried an alpha channel
  std::vector<RGBQUAD> Palette;  // for 1, 4 and 8 bits per pixel
  std::vector<uint8_t> Indices;  // one palette index per pixel (same layout as Pixels)
};

TRasterImage ReadBmp(const uint8_t* data, size_t size);
// 24 or 32 bits per pixel from BGRA pixels (bottom-up rows, as the format's readers expect).
std::vector<uint8_t> WriteBmp(const uint32_t* pixels, int32_t width, int32_t height, int bpp);
// 1, 4 or 8 bits per pixel from palette indices.
std::vector<uint8_t> WriteBmpIndexed(const uint8_t* indices, int32_t width, int32_t height, int bpp,
                                     const std::vector<RGBQUAD>& palette);

TRasterImage ReadPng(const uint8_t* data, size_t size);
// level 0-9; withAlpha keeps the fourth byte, otherwise the file is RGB.
std::vector<uint8_t> WritePng(const uint32_t* pixels, int32_t width, int32_t height, int level,
                              bool withAlpha);

TRasterImage ReadJpeg(const uint8_t* data, size_t size);
// quality 1-100; the accurate (slowest) transform; 24-bit colour.
std::vector<uint8_t> WriteJpeg(const uint32_t* pixels, int32_t width, int32_t height, int quality,
                               bool progressive);

// The first image of a GIF (LZW, our own code), at the size of its own image descriptor.
TRasterImage ReadGif(const uint8_t* data, size_t size);
// One image of a GIF: its place on the logical screen and one palette index per pixel.
struct TGifFrame {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<uint8_t> Indices;
};
// A GIF89a with a global palette (up to 256 colours) and one graphic control extension before
// each frame.
std::vector<uint8_t> WriteGif(int32_t width, int32_t height, const std::vector<RGBQUAD>& palette,
                              const std::vector<TGifFrame>& frames);

// Whole files named in single-byte text (UTF-8 on the disk); reading a missing file raises
// EFOpenError, writing failures EFCreateError.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// An opaque RGB PNG of the surface (screenshots); false when it cannot be written.
bool SaveSurfaceToPng(const TSurface& surface, const std::string& path);
