// DIB row decoding and encoding.
#include "platform/os/gdi/Dib.h"

#include <cstring>

namespace gdi {

size_t DibRowBytes(int64_t width, int bpp) { return size_t(((width * bpp + 31) / 32) * 4); }

int DibColorCount(const BITMAPINFOHEADER& h) {
  if (h.biBitCount > 8) return 0;
  // biClrUsed is unsigned: a huge count means the full table, never a negative one.
  uint32_t max = 1u << h.biBitCount;
  return int(h.biClrUsed && h.biClrUsed < max ? h.biClrUsed : max);
}

size_t DibImageSize(const BITMAPINFOHEADER& h) {
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biCompression != BI_RGB) return 0;
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32)
    return 0;
  uint64_t rows = h.biHeight < 0 ? uint64_t(-int64_t(h.biHeight)) : uint64_t(h.biHeight);
  uint64_t rowBytes = DibRowBytes(h.biWidth, h.biBitCount);
  // A product past any real image size is not a DIB we decode (and must not wrap).
  if (rows > (uint64_t(1) << 40) / rowBytes) return 0;
  return size_t(rowBytes * rows);
}

bool DecodeDib(const BITMAPINFOHEADER& h, const RGBQUAD* colors, int colorCount, const uint8_t* bits,
               size_t bitsSize, TSurface& out) {
  size_t need = DibImageSize(h);
  if (need == 0 || !bits || bitsSize < need) return false;
  int64_t height = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
  CheckSurfaceSize(h.biWidth, height);
  int w = h.biWidth, rows = int(height);
  if (h.biBitCount <= 8 && (!colors || colorCount <= 0)) return false;
  out.Resize(w, rows);
  size_t rowBytes = DibRowBytes(w, h.biBitCount);
  for (int r = 0; r < rows; ++r) {
    const uint8_t* src = bits + size_t(r) * rowBytes;
    int y = h.biHeight < 0 ? r : rows - 1 - r;
    uint32_t* dst = out.Row(y);
    switch (h.biBitCount) {
      case 32:
        std::memcpy(dst, src, size_t(w) * 4);
        break;
      case 24:
        for (int x = 0; x < w; ++x)
          dst[x] = uint32_t(src[3 * x]) | (uint32_t(src[3 * x + 1]) << 8) | (uint32_t(src[3 * x + 2]) << 16);
        break;
      default: {
        int bpp = h.biBitCount, perByte = 8 / bpp, mask = (1 << bpp) - 1;
        for (int x = 0; x < w; ++x) {
          int shift = 8 - bpp * (x % perByte + 1);
          int index = (src[x / perByte] >> shift) & mask;
          if (index >= colorCount) index = 0;
          const RGBQUAD& c = colors[index];
          dst[x] = uint32_t(c.rgbBlue) | (uint32_t(c.rgbGreen) << 8) | (uint32_t(c.rgbRed) << 16);
        }
      }
    }
  }
  return true;
}

void EncodeDib(const TSurface& s, int bpp, bool bottomUp, int start, int lines, uint8_t* bits) {
  size_t rowBytes = DibRowBytes(s.Width, bpp);
  for (int i = 0; i < lines; ++i) {
    int y = start + i;
    if (y < 0 || y >= s.Height) continue;
    int srcY = bottomUp ? s.Height - 1 - y : y;
    const uint32_t* src = s.Row(srcY);
    uint8_t* dst = bits + size_t(i) * rowBytes;
    std::memset(dst, 0, rowBytes);
    if (bpp == 32) {
      std::memcpy(dst, src, size_t(s.Width) * 4);
    } else {
      for (int x = 0; x < s.Width; ++x) {
        dst[3 * x] = uint8_t(src[x]);
        dst[3 * x + 1] = uint8_t(src[x] >> 8);
        dst[3 * x + 2] = uint8_t(src[x] >> 16);
      }
    }
  }
}

}  // namespace gdi
