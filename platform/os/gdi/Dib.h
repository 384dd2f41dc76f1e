// Device-independent bitmap rows: decoding 1, 4, 8, 24 and 32-bit DIBs into 32-bit surfaces and
// encoding surfaces back.  Shared by the DIB calls, metafile playback and the BMP codec.
#pragma once

#include <vector>

#include "platform/os/gdi/Internal.h"

namespace gdi {

// Bytes per row of a DIB, padded to four bytes.
size_t DibRowBytes(int64_t width, int bpp);
// Entries of the colour table that follow the header.
int DibColorCount(const BITMAPINFOHEADER& h);
// Bytes of the pixel data of a DIB with this header (rows * row bytes); 0 when the header is not
// one we decode.
size_t DibImageSize(const BITMAPINFOHEADER& h);

// Decodes pixel rows into out (resized to width x |height|, top-down).  32-bit pixels keep their
// fourth byte; others get alpha 0.  Returns false for unsupported or inconsistent input (bits
// shorter than DibImageSize).  Checks the size against the surface limit (EOutOfResources).
bool DecodeDib(const BITMAPINFOHEADER& h, const RGBQUAD* colors, int colorCount, const uint8_t* bits,
               size_t bitsSize, TSurface& out);

// Encodes rows [start, start + lines) of a surface as 24 or 32-bit DIB rows; bottomUp orders the
// rows as a positive height does.
void EncodeDib(const TSurface& s, int bpp, bool bottomUp, int start, int lines, uint8_t* bits);

// Little-endian fields of the image file formats.
inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace gdi
