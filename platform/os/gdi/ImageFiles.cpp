// Image codecs: BMP, PNG, JPEG and GIF, plus whole-file helpers and screenshots.
//
// Sections: files / checks / BMP / PNG / JPEG / GIF / screenshots.
#include "platform/os/gdi/ImageFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <jerror.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/os/gdi/Dib.h"
#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"

using gdi::Le16;
using gdi::Le32;

// ============================================================================ files ===========

// Names are single-byte text (code page 1252), UTF-8 on the disk.
std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(AnsiToUtf8(path), std::ios::binary);
  if (!in) throw EFOpenError("Cannot open file \"" + path + "\"");
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0);
  std::vector<uint8_t> bytes(size_t(std::max<std::streamoff>(size, 0)));
  if (!bytes.empty()) in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!in) throw EFOpenError("Cannot read file \"" + path + "\"");
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(AnsiToUtf8(path), std::ios::binary | std::ios::trunc);
  if (!out) throw EFCreateError("Cannot create file \"" + path + "\"");
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw EFCreateError("Cannot write file \"" + path + "\"");
}

// ============================================================================ checks ==========

namespace {

void CheckImageSize(int64_t w, int64_t h, const char* kind) {
  if (w <= 0 || h <= 0) throw EInvalidGraphic(std::string(kind) + " image is not valid");
  if (w > (1 << 20) || h > (1 << 20) || w * h > kMaxImagePixels)
    throw EOutOfResources(std::string(kind) + " image of " + std::to_string(w) + " x " + std::to_string(h) +
                          " pixels is too large");
}

// Runs a reader so that only the graphic's own errors leave it: a std:: failure (memory, lengths)
// on damaged input becomes EInvalidGraphic.
template <class F>
TRasterImage ImageReadGuarded(const char* kind, F&& read) {
  try {
    return read();
  } catch (const Exception&) {
    throw;
  } catch (const std::exception&) {
    throw EInvalidGraphic(std::string(kind) + " image is not valid");
  }
}

}  // namespace

// ============================================================================ BMP =============

namespace {

TRasterImage ReadBmpUnguarded(const uint8_t* data, size_t size) {
  const EInvalidGraphic bad("Bitmap image is not valid");
  if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') throw bad;
  uint32_t offBits = Le32(data + 10);
  const uint8_t* ih = data + 14;
  uint32_t headerSize = Le32(ih);
  if (headerSize < 12 || 14 + size_t(headerSize) > size) throw bad;
  BITMAPINFOHEADER h;
  int paletteEntrySize = 4;
  if (headerSize == 12) {
    // The old core header: 16-bit sizes and three-byte palette entries.
    h.biWidth = Le16(ih + 4);
    h.biHeight = int16_t(Le16(ih + 6));
    h.biBitCount = Le16(ih + 10);
    paletteEntrySize = 3;
  } else {
    if (headerSize < 40) throw bad;
    h.biWidth = int32_t(Le32(ih + 4));
    h.biHeight = int32_t(Le32(ih + 8));
    h.biBitCount = Le16(ih + 14);
    h.biCompression = Le32(ih + 16);
    h.biClrUsed = Le32(ih + 32);
  }
  if (h.biHeight == INT32_MIN) throw bad;
  int64_t w = h.biWidth, rows = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
  CheckImageSize(w, rows, "Bitmap");
  TRasterImage img;
  img.Width = int32_t(w);
  img.Height = int32_t(rows);
  img.BitsPerPixel = h.biBitCount;
  size_t paletteAt = 14 + headerSize;
  uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  bool bitfields = h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32);
  if (bitfields) {
    // Masks follow a 40-byte header, or sit inside the larger ones.
    const uint8_t* mp = headerSize == 40 ? data + paletteAt : ih + 40;
    if (size_t(mp - data) + 12 > size) throw bad;
    for (int i = 0; i < 3; ++i) masks[i] = Le32(mp + 4 * i);
    if (headerSize >= 56) masks[3] = Le32(ih + 52);
    if (headerSize == 40) paletteAt += 12;
  } else if (h.biCompression != BI_RGB) {
    throw EInvalidGraphic("Bitmap image is not valid (compressed bitmaps are not supported)");
  } else if (h.biBitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  }
  if (h.biBitCount <= 8) {
    if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8) throw bad;
    int max = 1 << h.biBitCount;
    int count = h.biClrUsed && int64_t(h.biClrUsed) < max ? int(h.biClrUsed) : max;
    if (paletteAt + size_t(count) * paletteEntrySize > size) throw bad;
    for (int i = 0; i < count; ++i) {
      const uint8_t* e = data + paletteAt + size_t(i) * paletteEntrySize;
      img.Palette.push_back({e[0], e[1], e[2], 0});
    }
  } else if (h.biBitCount != 16 && h.biBitCount != 24 && h.biBitCount != 32) {
    throw bad;
  }
  size_t rowBytes = gdi::DibRowBytes(w, h.biBitCount);
  if (offBits < 14 + headerSize || offBits > size || (size - offBits) / rowBytes < size_t(rows))
    throw EInvalidGraphic("Bitmap image is not valid (the pixel data is truncated)");
  img.Pixels.resize(size_t(w) * size_t(rows));
  if (h.biBitCount <= 8) img.Indices.resize(img.Pixels.size());
  auto channel = [](uint32_t v, uint32_t mask) -> uint32_t {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t max = mask >> shift, c = (v & mask) >> shift;
    return max ? (c * 255 + max / 2) / max : 0;
  };
  for (int64_t r = 0; r < rows; ++r) {
    const uint8_t* src = data + offBits + size_t(r) * rowBytes;
    int64_t y = h.biHeight < 0 ? r : rows - 1 - r;
    uint32_t* dst = img.Pixels.data() + size_t(y) * size_t(w);
    for (int64_t x = 0; x < w; ++x) {
      uint32_t v = 0;
      switch (h.biBitCount) {
        case 1:
        case 4:
        case 8: {
          int bpp = h.biBitCount, per = 8 / bpp;
          int idx = (src[x / per] >> (8 - bpp * (x % per + 1))) & ((1 << bpp) - 1);
          img.Indices[size_t(y) * size_t(w) + size_t(x)] = uint8_t(idx);
          const RGBQUAD& c = idx < int(img.Palette.size()) ? img.Palette[size_t(idx)] : RGBQUAD{};
          v = uint32_t(c.rgbBlue) | uint32_t(c.rgbGreen) << 8 | uint32_t(c.rgbRed) << 16;
          break;
        }
        case 16: {
          uint32_t p = Le16(src + 2 * x);
          v = channel(p, masks[2]) | channel(p, masks[1]) << 8 | channel(p, masks[0]) << 16;
          break;
        }
        case 24:
          v = uint32_t(src[3 * x]) | uint32_t(src[3 * x + 1]) << 8 | uint32_t(src[3 * x + 2]) << 16;
          break;
        case 32: {
          uint32_t p = Le32(src + 4 * x);
          if (bitfields)
            v = channel(p, masks[2]) | channel(p, masks[1]) << 8 | channel(p, masks[0]) << 16 |
                channel(p, masks[3]) << 24;
          else
            v = p;
          break;
        }
      }
      dst[x] = v;
      if (v >> 24) img.HasAlpha = true;
    }
  }
  return img;
}

}  // namespace

TRasterImage ReadBmp(const uint8_t* data, size_t size) {
  return ImageReadGuarded("Bitmap", [&] { return ReadBmpUnguarded(data, size); });
}

namespace {

std::vector<uint8_t> BmpHeaders(int32_t width, int32_t height, int bpp, int colors) {
  size_t rowBytes = gdi::DibRowBytes(width, bpp);
  size_t offBits = 14 + 40 + size_t(colors) * 4;
  size_t total = offBits + rowBytes * size_t(height);
  std::vector<uint8_t> out(offBits, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B', out[1] = 'M';
  put32(2, uint32_t(total));
  put32(10, uint32_t(offBits));
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));  // bottom-up rows
  out[26] = 1;
  out[28] = uint8_t(bpp);
  put32(34, uint32_t(rowBytes * size_t(height)));
  put32(38, 3780);  // 96 dots per inch
  put32(42, 3780);
  put32(46, uint32_t(colors));
  out.reserve(total);
  return out;
}

}  // namespace

std::vector<uint8_t> WriteBmp(const uint32_t* pixels, int32_t width, int32_t height, int bpp) {
  if (bpp != 24 && bpp != 32)
    throw EInvalidGraphic("Bitmap depth " + std::to_string(bpp) + " cannot be written");
  std::vector<uint8_t> out = BmpHeaders(width, height, bpp, 0);
  size_t rowBytes = gdi::DibRowBytes(width, bpp);
  std::vector<uint8_t> row(rowBytes, 0);
  for (int32_t r = 0; r < height; ++r) {
    const uint32_t* src = pixels + size_t(height - 1 - r) * size_t(width);
    for (int32_t x = 0; x < width; ++x) {
      if (bpp == 32) {
        std::memcpy(&row[size_t(x) * 4], &src[x], 4);
      } else {
        row[size_t(x) * 3] = uint8_t(src[x]);
        row[size_t(x) * 3 + 1] = uint8_t(src[x] >> 8);
        row[size_t(x) * 3 + 2] = uint8_t(src[x] >> 16);
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<uint8_t> WriteBmpIndexed(const uint8_t* indices, int32_t width, int32_t height, int bpp,
                                     const std::vector<RGBQUAD>& palette) {
  if (bpp != 1 && bpp != 4 && bpp != 8)
    throw EInvalidGraphic("Bitmap depth " + std::to_string(bpp) + " cannot be written");
  int colors = std::min<int>(int(palette.size()), 1 << bpp);
  std::vector<uint8_t> out = BmpHeaders(width, height, bpp, colors);
  for (int i = 0; i < colors; ++i) {
    const RGBQUAD& c = palette[size_t(i)];
    out[14 + 40 + size_t(i) * 4] = c.rgbBlue;
    out[14 + 40 + size_t(i) * 4 + 1] = c.rgbGreen;
    out[14 + 40 + size_t(i) * 4 + 2] = c.rgbRed;
  }
  size_t rowBytes = gdi::DibRowBytes(width, bpp);
  int per = 8 / bpp;
  for (int32_t r = 0; r < height; ++r) {
    std::vector<uint8_t> row(rowBytes, 0);
    const uint8_t* src = indices + size_t(height - 1 - r) * size_t(width);
    for (int32_t x = 0; x < width; ++x)
      row[size_t(x / per)] |= uint8_t((src[x] & ((1 << bpp) - 1)) << (8 - bpp * (x % per + 1)));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// ============================================================================ PNG =============

namespace {

TRasterImage ReadPngUnguarded(const uint8_t* data, size_t size) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!data || !png_image_begin_read_from_memory(&image, data, size))
    throw EInvalidGraphic(std::string("PNG image is not valid: ") + (data ? image.message : "no data"));
  int64_t w = image.width, h = image.height;
  try {
    CheckImageSize(w, h, "PNG");
  } catch (...) {
    png_image_free(&image);
    throw;
  }
  TRasterImage img;
  img.Width = int32_t(w);
  img.Height = int32_t(h);
  img.HasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  img.BitsPerPixel = img.HasAlpha ? 32 : 24;
  image.format = PNG_FORMAT_BGRA;
  img.Pixels.resize(size_t(w) * size_t(h));
  if (!png_image_finish_read(&image, nullptr, img.Pixels.data(), 0, nullptr))
    throw EInvalidGraphic(std::string("PNG image is not valid: ") + image.message);
  if (!img.HasAlpha)
    for (uint32_t& p : img.Pixels) p &= 0x00FFFFFF;
  return img;
}

}  // namespace

TRasterImage ReadPng(const uint8_t* data, size_t size) {
  return ImageReadGuarded("PNG", [&] { return ReadPngUnguarded(data, size); });
}

namespace {

void PngWrite(png_structp png, png_bytep bytes, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), bytes, bytes + n);
}
void PngFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> WritePng(const uint32_t* pixels, int32_t width, int32_t height, int level,
                              bool withAlpha) {
  if (width <= 0 || height <= 0) throw EInvalidGraphic("Cannot write an empty PNG image");
  // Rows are converted before libpng runs, so that its error jump skips no C++ destructor.
  int channels = withAlpha ? 4 : 3;
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * size_t(channels));
  for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
    uint32_t p = pixels[i];
    uint8_t* d = &rgb[i * size_t(channels)];
    d[0] = uint8_t(p >> 16), d[1] = uint8_t(p >> 8), d[2] = uint8_t(p);
    if (withAlpha) d[3] = uint8_t(p >> 24);
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) rows[size_t(y)] = &rgb[size_t(y) * size_t(width) * size_t(channels)];
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  volatile bool failed = !png || !info;
  if (!failed && setjmp(png_jmpbuf(png))) failed = true;
  if (!failed) {
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    png_set_compression_level(png, std::clamp(level, 0, 9));
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  if (failed) throw EInvalidGraphic("The PNG image could not be written");
  return out;
}

// ============================================================================ JPEG ============

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
  bool truncated = false;
};

void JpegExit(j_common_ptr cinfo) {
  auto* e = reinterpret_cast<JpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, e->message);
  longjmp(e->jump, 1);
}

void JpegMessage(j_common_ptr cinfo, int level) {
  auto* e = reinterpret_cast<JpegError*>(cinfo->err);
  // A file or a scan that ends early only warns; we take it as the corrupt file it is, rather
  // than decode a picture of nothing as large as its header says.
  if (level < 0 && (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER))
    e->truncated = true;
}

}  // namespace

namespace {

TRasterImage ReadJpegUnguarded(const uint8_t* data, size_t size) {
  if (!data || size < 4) throw EInvalidGraphic("JPEG image is not valid: no data");
  jpeg_decompress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegExit;
  err.mgr.emit_message = JpegMessage;
  TRasterImage* img = new TRasterImage;  // freed on every path below
  std::vector<uint8_t>* row = new std::vector<uint8_t>;
  volatile int stage = 0;  // 0: fine, 1: codec error, 2: too large
  volatile int64_t w = 0, h = 0;
  if (setjmp(err.jump)) {
    stage = 1;
  } else {
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    w = cinfo.image_width;
    h = cinfo.image_height;
    if (w <= 0 || h <= 0 || w > (1 << 20) || h > (1 << 20) || w * h > kMaxImagePixels) {
      stage = 2;
    } else if (w * h > int64_t(size) * 512) {
      // Every 8 x 8 block takes one bit at the least: data this short cannot hold a picture this
      // large, and is refused before the decoder allocates for it.
      err.truncated = true;
    } else {
      cinfo.out_color_space = JCS_RGB;
      jpeg_start_decompress(&cinfo);
      img->Width = int32_t(w);
      img->Height = int32_t(h);
      img->BitsPerPixel = 24;
      img->Pixels.resize(size_t(w) * size_t(h));
      row->resize(size_t(w) * cinfo.output_components);
      while (cinfo.output_scanline < cinfo.output_height && !err.truncated) {
        JSAMPROW rp = row->data();
        uint32_t y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &rp, 1);
        uint32_t* dst = img->Pixels.data() + size_t(y) * size_t(w);
        for (int64_t x = 0; x < w; ++x) {
          const uint8_t* s = row->data() + size_t(x) * 3;
          dst[x] = uint32_t(s[2]) | uint32_t(s[1]) << 8 | uint32_t(s[0]) << 16;
        }
      }
      if (!err.truncated) jpeg_finish_decompress(&cinfo);
    }
  }
  jpeg_destroy_decompress(&cinfo);
  TRasterImage result = std::move(*img);
  delete img;
  delete row;
  if (stage == 1) throw EInvalidGraphic(std::string("JPEG image is not valid: ") + err.message);
  if (stage == 2) CheckImageSize(w, h, "JPEG");
  if (err.truncated) throw EInvalidGraphic("JPEG image is not valid: the data ends early");
  return result;
}

}  // namespace

TRasterImage ReadJpeg(const uint8_t* data, size_t size) {
  return ImageReadGuarded("JPEG", [&] { return ReadJpegUnguarded(data, size); });
}

std::vector<uint8_t> WriteJpeg(const uint32_t* pixels, int32_t width, int32_t height, int quality,
                               bool progressive) {
  if (width <= 0 || height <= 0) throw EInvalidGraphic("Cannot write an empty JPEG image");
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
  for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
    rgb[i * 3] = uint8_t(pixels[i] >> 16), rgb[i * 3 + 1] = uint8_t(pixels[i] >> 8),
            rgb[i * 3 + 2] = uint8_t(pixels[i]);
  }
  jpeg_compress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegExit;
  unsigned char* buffer = nullptr;
  unsigned long bufSize = 0;
  volatile bool failed = false;
  if (setjmp(err.jump)) {
    failed = true;
  } else {
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &bufSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW rp = &rgb[size_t(cinfo.next_scanline) * size_t(width) * 3];
      jpeg_write_scanlines(&cinfo, &rp, 1);
    }
    jpeg_finish_compress(&cinfo);
  }
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out;
  if (buffer && !failed) out.assign(buffer, buffer + bufSize);
  std::free(buffer);
  if (failed) throw EInvalidGraphic(std::string("The JPEG image could not be written: ") + err.message);
  return out;
}

// ============================================================================ GIF =============

namespace {

// The first image of a GIF: its own rectangle's size, coloured through its local or the global
// table; the transparent index (graphic control extension) reads as white with alpha 0.
TRasterImage ReadGifUnguarded(const uint8_t* data, size_t size) {
  const EInvalidGraphic bad("GIF image is not valid");
  if (!data || size < 13 || std::memcmp(data, "GIF8", 4) != 0) throw bad;
  size_t at = 13;
  std::vector<RGBQUAD> global;
  auto table = [&](uint8_t packed, std::vector<RGBQUAD>& out) {
    const size_t n = size_t(2) << (packed & 7);
    if (at + n * 3 > size) throw bad;
    out.resize(n);
    for (size_t i = 0; i < n; ++i, at += 3) out[i] = RGBQUAD{data[at + 2], data[at + 1], data[at], 0};
  };
  if (data[10] & 0x80) table(data[10], global);
  int transparent = -1;
  auto skipBlocks = [&] {
    while (at < size && data[at] != 0) at += size_t(data[at]) + 1;
    if (at >= size) throw bad;
    ++at;
  };
  for (;;) {
    if (at >= size) throw bad;
    const uint8_t kind = data[at++];
    if (kind == 0x21) {
      if (at >= size) throw bad;
      const uint8_t label = data[at++];
      if (label == 0xF9 && at + 5 <= size && data[at] == 4) transparent = (data[at + 1] & 1) ? data[at + 4] : -1;
      skipBlocks();
      continue;
    }
    if (kind != 0x2C) throw bad;
    break;
  }
  if (at + 9 > size) throw bad;
  const int32_t w = Le16(data + at + 4), h = Le16(data + at + 6);
  const uint8_t packed = data[at + 8];
  at += 9;
  CheckImageSize(w, h, "GIF");
  std::vector<RGBQUAD> local;
  if (packed & 0x80) table(packed, local);
  const std::vector<RGBQUAD>& colours = (packed & 0x80) ? local : global;
  if (at >= size) throw bad;
  const int minCode = data[at++];
  if (minCode < 1 || minCode > 11) throw bad;

  // LZW over the data sub-blocks, codes packed from the low bit up.
  std::vector<uint8_t> indices;
  const size_t total = size_t(w) * size_t(h);
  indices.reserve(total);
  const int clear = 1 << minCode, end = clear + 1;
  std::vector<uint16_t> prefix(4096);
  std::vector<uint8_t> suffix(4096), stack;
  stack.reserve(4096);
  int codeSize = minCode + 1, next = end + 1, previous = -1;
  uint32_t bits = 0;
  int bitCount = 0;
  uint8_t first = 0;
  size_t block = 0;  // bytes left in the current sub-block
  bool done = false;
  while (!done && indices.size() < total) {
    while (bitCount < codeSize) {
      if (block == 0) {
        if (at >= size || data[at] == 0) {
          done = true;
          break;
        }
        block = data[at++];
      }
      if (at >= size) {
        done = true;
        break;
      }
      bits |= uint32_t(data[at++]) << bitCount;
      bitCount += 8;
      --block;
    }
    if (done) break;
    const int code = int(bits & ((1u << codeSize) - 1));
    bits >>= codeSize;
    bitCount -= codeSize;
    if (code == clear) {
      codeSize = minCode + 1, next = end + 1, previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code >= clear) throw bad;
      first = uint8_t(code);
      indices.push_back(first);
      previous = code;
      continue;
    }
    int c = code;
    if (c > next || (c == next && next >= 4096)) throw bad;
    if (c == next) {
      stack.push_back(first);
      c = previous;
    }
    while (c > end) {
      stack.push_back(suffix[size_t(c)]);
      c = prefix[size_t(c)];
    }
    if (c >= clear) throw bad;
    first = uint8_t(c);
    stack.push_back(first);
    while (!stack.empty() && indices.size() < total) {
      indices.push_back(stack.back());
      stack.pop_back();
    }
    stack.clear();
    if (next < 4096) {
      prefix[size_t(next)] = uint16_t(previous);
      suffix[size_t(next)] = first;
      ++next;
      if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
    }
    previous = code;
  }
  if (indices.empty()) throw bad;
  // A short data stream leaves the rest in index 0, as viewers show it.
  indices.resize(total, 0);

  TRasterImage img;
  img.Width = w, img.Height = h;
  img.BitsPerPixel = 8;
  img.Palette = colours;
  img.Pixels.resize(total);
  std::vector<uint8_t> rows(total);
  // Interlaced images store rows in four passes.
  std::vector<int32_t> order;
  if (packed & 0x40) {
    for (int32_t y = 0; y < h; y += 8) order.push_back(y);
    for (int32_t y = 4; y < h; y += 8) order.push_back(y);
    for (int32_t y = 2; y < h; y += 4) order.push_back(y);
    for (int32_t y = 1; y < h; y += 2) order.push_back(y);
  } else {
    for (int32_t y = 0; y < h; ++y) order.push_back(y);
  }
  for (int32_t i = 0; i < h; ++i)
    std::memcpy(&rows[size_t(order[size_t(i)]) * size_t(w)], &indices[size_t(i) * size_t(w)], size_t(w));
  for (size_t i = 0; i < total; ++i) {
    const uint8_t k = rows[i];
    if (int(k) == transparent) {
      img.Pixels[i] = 0x00FFFFFFu;
      img.HasAlpha = true;
    } else if (k < colours.size()) {
      const RGBQUAD& q = colours[k];
      img.Pixels[i] = 0xFF000000u | uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
    } else {
      img.Pixels[i] = 0xFF000000u;
    }
  }
  img.Indices = std::move(rows);
  return img;
}

}  // namespace

TRasterImage ReadGif(const uint8_t* data, size_t size) {
  return ImageReadGuarded("GIF", [&] { return ReadGifUnguarded(data, size); });
}

std::vector<uint8_t> WriteGif(int32_t width, int32_t height, const std::vector<RGBQUAD>& palette,
                              const std::vector<TGifFrame>& frames) {
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF || palette.empty() ||
      palette.size() > 256 || frames.empty())
    throw EInvalidGraphic("Cannot write this GIF image");
  int depth = 1;
  while ((size_t(1) << depth) < palette.size()) ++depth;
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  auto le16 = [&](int32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
  };
  le16(width), le16(height);
  out.push_back(uint8_t(0x80 | (depth - 1)));
  out.push_back(0), out.push_back(0);
  for (size_t i = 0; i < (size_t(1) << depth); ++i) {
    RGBQUAD q = i < palette.size() ? palette[i] : RGBQUAD{};
    out.push_back(q.rgbRed), out.push_back(q.rgbGreen), out.push_back(q.rgbBlue);
  }
  const int minCode = std::max(2, depth), clear = 1 << minCode, codeSize = minCode + 1;
  for (const TGifFrame& f : frames) {
    if (f.Width <= 0 || f.Height <= 0 || f.Indices.size() != size_t(f.Width) * size_t(f.Height))
      throw EInvalidGraphic("Cannot write this GIF frame");
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00});
    out.push_back(0x2C);
    le16(f.Left), le16(f.Top), le16(f.Width), le16(f.Height);
    out.push_back(0);
    out.push_back(uint8_t(minCode));
    // Literal codes only, with a clear code before the table would make codes wider.
    std::vector<uint8_t> packed;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](int code) {
      bits |= uint32_t(code) << count;
      count += codeSize;
      while (count >= 8) {
        packed.push_back(uint8_t(bits));
        bits >>= 8;
        count -= 8;
      }
    };
    int run = 0;
    put(clear);
    for (uint8_t k : f.Indices) {
      if (run == clear - 2) put(clear), run = 0;
      put(k & (clear - 1));
      ++run;
    }
    put(clear + 1);
    if (count > 0) packed.push_back(uint8_t(bits));
    for (size_t i = 0; i < packed.size(); i += 255) {
      const size_t n = std::min<size_t>(255, packed.size() - i);
      out.push_back(uint8_t(n));
      out.insert(out.end(), packed.begin() + std::ptrdiff_t(i), packed.begin() + std::ptrdiff_t(i + n));
    }
    out.push_back(0);
  }
  out.push_back(0x3B);
  return out;
}

// ============================================================================ screenshots =====

bool SaveSurfaceToPng(const TSurface& s, const std::string& path) {
  if (s.Empty()) return false;
  try {
    WriteFileBytes(path, WritePng(s.Pixels, s.Width, s.Height, 6, false));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

BOOL SaveDCToPng(HDC hdc, const AnsiString& fileName) {
  TSurface* s = GetDCSurface(hdc);
  return s && SaveSurfaceToPng(*s, fileName) ? TRUE : FALSE;
}

BOOL SaveBitmapToPng(HBITMAP bitmap, const AnsiString& fileName) {
  TSurface* s = GetBitmapSurface(bitmap);
  return s && SaveSurfaceToPng(*s, fileName) ? TRUE : FALSE;
}
