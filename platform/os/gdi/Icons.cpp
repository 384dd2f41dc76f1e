// Icons: 32-bit pictures with per-pixel alpha made from colour and mask bitmaps, the built-in
// system icons, icon files, scaled copies and drawing.
//
// Sections: icon objects / built-in icons / icon files / copies / drawing.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/os/gdi/Dib.h"
#include "platform/os/gdi/Icons.h"
#include "platform/os/gdi/Raster.h"
#include "platform/os/gdi/Recorder.h"

namespace gdi {
namespace {

// ============================================================================ icon objects ====

IconObj* Icon(HICON h) { return LookupAs<IconObj>(h, Kind::Icon); }

HICON NewIcon(std::shared_ptr<TSurface> color, bool isIcon, int hx, int hy, bool stock = false) {
  auto o = std::make_unique<IconObj>();
  o->color = std::move(color);
  o->isIcon = isIcon;
  o->hotX = hx;
  o->hotY = hy;
  o->stock = stock;
  return reinterpret_cast<HICON>(Register(std::move(o)));
}

// Pixel (x, y) of a w x h copy: nearest neighbour, the area average when shrinking.
uint32_t ScaledPixel(const TSurface& s, int64_t w, int64_t h, int64_t x, int64_t y) {
  int x0 = int(x * s.Width / w), x1 = std::max(x0 + 1, int((x + 1) * s.Width / w));
  int y0 = int(y * s.Height / h), y1 = std::max(y0 + 1, int((y + 1) * s.Height / h));
  uint32_t sum[4] = {0, 0, 0, 0}, n = 0;
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) {
      uint32_t v = s.Row(yy)[xx];
      for (int c = 0; c < 4; ++c) sum[c] += (v >> (8 * c)) & 0xFF;
      ++n;
    }
  uint32_t v = 0;
  for (int c = 0; c < 4; ++c) v |= ((sum[c] + n / 2) / n) << (8 * c);
  return v;
}

// Copy at another size.
std::shared_ptr<TSurface> Scaled(const TSurface& s, int w, int h) {
  auto out = std::make_shared<TSurface>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out->Row(y)[x] = ScaledPixel(s, w, h, x, y);
  return out;
}

}  // namespace
}  // namespace gdi

using namespace gdi;

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info || !info->hbmMask) return nullptr;
  TSurface* mask = GetBitmapSurface(info->hbmMask);
  TSurface* color = info->hbmColor ? GetBitmapSurface(info->hbmColor) : nullptr;
  if (!mask) return nullptr;
  // Without a colour bitmap the mask is twice as high: the AND mask over the picture.
  int w = color ? color->Width : mask->Width, h = color ? color->Height : mask->Height / 2;
  if (w <= 0 || h <= 0) return nullptr;
  auto out = std::make_shared<TSurface>(w, h);
  bool ownAlpha = false;
  if (color)
    for (int i = 0; i < w * h && !ownAlpha; ++i) ownAlpha = color->Pixels[i] >> 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = color ? color->Row(y)[x] : mask->Row(y + h)[x];
      bool transparent = x < mask->Width && y < mask->Height && (mask->Row(y)[x] & 0xFFFFFF);
      uint32_t a = ownAlpha ? c >> 24 : transparent ? 0 : 255;
      out->Row(y)[x] = (c & 0xFFFFFF) | (a << 24);
    }
  return NewIcon(out, info->fIcon, int(info->xHotspot), int(info->yHotspot));
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  IconObj* o = Icon(icon);
  if (!o || !info) return FALSE;
  const TSurface& s = *o->color;
  info->fIcon = o->isIcon;
  info->xHotspot = DWORD(o->isIcon ? s.Width / 2 : o->hotX);
  info->yHotspot = DWORD(o->isIcon ? s.Height / 2 : o->hotY);
  info->hbmColor = CreateBitmap(s.Width, s.Height, 1, 32, s.Pixels);
  info->hbmMask = CreateBitmap(s.Width, s.Height, 1, 1, nullptr);
  TSurface* m = GetBitmapSurface(info->hbmMask);
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x) m->Row(y)[x] = (s.Row(y)[x] >> 24) ? 0 : 0xFFFFFF;
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  IconObj* o = Icon(icon);
  if (!o) return FALSE;
  if (!o->stock) Destroy(o);
  return TRUE;
}

HICON CopyIcon(HICON icon) {
  IconObj* o = Icon(icon);
  if (!o) return nullptr;
  auto copy = std::make_shared<TSurface>(o->color->Width, o->color->Height);
  std::memcpy(copy->Pixels, o->color->Pixels, size_t(copy->Width) * copy->Height * 4);
  return NewIcon(copy, o->isIcon, o->hotX, o->hotY);
}

TSurface* GetIconSurface(HICON icon) {
  IconObj* o = Icon(icon);
  return o ? o->color.get() : nullptr;
}

HICON CreateIconFromPixels(const uint32_t* argb, int width, int height) {
  if (!argb || width <= 0 || height <= 0) return nullptr;
  CheckSurfaceSize(width, height);
  auto s = std::make_shared<TSurface>(width, height);
  std::memcpy(s->Pixels, argb, size_t(width) * height * 4);
  return NewIcon(s, true, width / 2, height / 2);
}

// ============================================================================ built-in icons ==

namespace {

// Our own drawings of the system icons, 32 x 32.
HICON MakeBuiltIn(uintptr_t id) {
  // Drawn over a key colour; whatever differs from it afterwards is the picture.
  constexpr uint32_t kKey = 0x00FE00FE;
  TSurface s(32, 32);
  for (int i = 0; i < 32 * 32; ++i) s.Pixels[i] = kKey;
  HDC dc = CreateSurfaceDC(&s);
  auto brush = [](COLORREF c) { return CreateSolidBrush(c); };
  auto disc = [&](COLORREF c) {
    HBRUSH b = brush(c);
    HGDIOBJ ob = SelectObject(dc, b);
    HGDIOBJ op = SelectObject(dc, GetStockObject(BLACK_PEN));
    Ellipse(dc, 1, 1, 31, 31);
    SelectObject(dc, op);
    SelectObject(dc, ob);
    DeleteObject(b);
  };
  auto bar = [&](int l, int t, int r, int b, COLORREF c) {
    HBRUSH br = brush(c);
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, br);
    DeleteObject(br);
  };
  switch (id) {
    case 32513:  // hand: a red disc with a white cross
      disc(RGB(220, 0, 0));
      for (int i = 0; i < 14; ++i) {
        bar(9 + i, 9 + i, 11 + i, 11 + i, RGB(255, 255, 255));
        bar(21 - i, 9 + i, 23 - i, 11 + i, RGB(255, 255, 255));
      }
      break;
    case 32514:  // question: a blue disc with a question mark
      disc(RGB(0, 64, 200));
      bar(12, 7, 20, 9, RGB(255, 255, 255));
      bar(19, 9, 21, 15, RGB(255, 255, 255));
      bar(15, 15, 19, 17, RGB(255, 255, 255));
      bar(15, 17, 17, 20, RGB(255, 255, 255));
      bar(15, 22, 17, 24, RGB(255, 255, 255));
      break;
    case 32515: {  // exclamation: a yellow triangle with a mark
      HBRUSH b = brush(RGB(255, 220, 0));
      HGDIOBJ ob = SelectObject(dc, b);
      POINT tri[3] = {{16, 1}, {31, 30}, {1, 30}};
      Polygon(dc, tri, 3);
      SelectObject(dc, ob);
      DeleteObject(b);
      bar(15, 10, 17, 22, 0);
      bar(15, 24, 17, 26, 0);
      break;
    }
    case 32516:  // asterisk: a blue disc with an "i"
      disc(RGB(0, 64, 200));
      bar(15, 8, 17, 10, RGB(255, 255, 255));
      bar(15, 13, 17, 24, RGB(255, 255, 255));
      break;
    default:  // the application: a small window
      bar(2, 4, 30, 28, 0);
      bar(3, 5, 29, 27, RGB(255, 255, 255));
      bar(3, 5, 29, 10, RGB(10, 36, 106));
      break;
  }
  DeleteDC(dc);
  for (int i = 0; i < 32 * 32; ++i) s.Pixels[i] = s.Pixels[i] == kKey ? 0 : (s.Pixels[i] | 0xFF000000u);
  auto shared = std::make_shared<TSurface>(32, 32);
  std::memcpy(shared->Pixels, s.Pixels, 32 * 32 * 4);
  return NewIcon(shared, true, 16, 16, true);
}

}  // namespace

HICON LoadIconA(void*, LPCSTR name) {
  uintptr_t id = reinterpret_cast<uintptr_t>(name);
  if (id >= 32512 && id <= 32517) {
    static HICON icons[6] = {};
    HICON& slot = icons[id - 32512];
    if (!slot) slot = MakeBuiltIn(id);
    return slot;
  }
  return nullptr;
}

// ============================================================================ icon files ======

namespace {

HICON IconFromIcoUnguarded(const uint8_t* data, size_t size, int desired) {
  const EInvalidGraphic bad("Icon image is not valid");
  if (!data || size < 6 || Le16(data) != 0 || (Le16(data + 2) != 1 && Le16(data + 2) != 2)) throw bad;
  int count = Le16(data + 4);
  if (count == 0 || 6 + size_t(count) * 16 > size) throw bad;
  // The entry nearest the wanted size, the deeper one on a tie.
  int best = -1, bestScore = 1 << 30;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + i * 16;
    int w = e[0] ? e[0] : 256, bpp = Le16(e + 6);
    int score = std::abs(w - desired) * 64 - bpp;
    if (score < bestScore) bestScore = score, best = i;
  }
  const uint8_t* e = data + 6 + best * 16;
  uint32_t bytes = Le32(e + 8), off = Le32(e + 12);
  if (off > size || bytes > size - off || bytes < 40) throw bad;
  const uint8_t* img = data + off;
  if (std::memcmp(img, "\x89PNG", 4) == 0)
    throw EInvalidGraphic("Icon image is not valid (PNG icons are not supported)");
  BITMAPINFOHEADER h;
  h.biSize = Le32(img);
  h.biWidth = int32_t(Le32(img + 4));
  h.biHeight = int32_t(Le32(img + 8)) / 2;
  h.biBitCount = Le16(img + 14);
  h.biClrUsed = Le32(img + 32);
  if (h.biSize < 40 || h.biSize > bytes || h.biWidth <= 0 || h.biHeight <= 0 || h.biWidth > 1024 ||
      h.biHeight > 1024)
    throw bad;
  int colors = DibColorCount(h);
  size_t colorAt = h.biSize, bitsAt = colorAt + size_t(colors) * 4;
  size_t xorSize = DibImageSize(h), andSize = DibRowBytes(h.biWidth, 1) * size_t(h.biHeight);
  if (!xorSize || bitsAt + xorSize > bytes) throw bad;
  std::vector<RGBQUAD> pal(static_cast<size_t>(colors));
  if (colors) std::memcpy(pal.data(), img + colorAt, size_t(colors) * 4);
  TSurface s;
  if (!DecodeDib(h, pal.data(), colors, img + bitsAt, xorSize, s)) throw bad;
  bool hasMask = bitsAt + xorSize + andSize <= bytes;
  bool ownAlpha = false;
  if (h.biBitCount == 32)
    for (int i = 0; i < s.Width * s.Height && !ownAlpha; ++i) ownAlpha = s.Pixels[i] >> 24;
  const uint8_t* mask = img + bitsAt + xorSize;
  size_t maskRow = DibRowBytes(h.biWidth, 1);
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x) {
      uint32_t& p = s.Row(y)[x];
      if (ownAlpha) continue;
      bool transparent =
          hasMask && (mask[size_t(s.Height - 1 - y) * maskRow + size_t(x / 8)] >> (7 - x % 8) & 1);
      p = (p & 0xFFFFFF) | (transparent ? 0 : 0xFF000000u);
    }
  return CreateIconFromPixels(s.Pixels, s.Width, s.Height);
}

}  // namespace

HICON CreateIconFromIcoFile(const uint8_t* data, size_t size, int desired) {
  try {
    return IconFromIcoUnguarded(data, size, desired);
  } catch (const Exception&) {
    throw;
  } catch (const std::exception&) {
    throw EInvalidGraphic("Icon image is not valid");
  }
}

std::vector<uint8_t> IconToIcoFile(HICON icon) {
  TSurface* s = GetIconSurface(icon);
  if (!s) return {};
  int w = s->Width, h = s->Height;
  size_t xorSize = size_t(w) * h * 4, andRow = DibRowBytes(w, 1), andSize = andRow * size_t(h);
  std::vector<uint8_t> out;
  auto put16 = [&](uint16_t v) { out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8)); };
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
  };
  put16(0), put16(1), put16(1);
  out.push_back(uint8_t(w >= 256 ? 0 : w)), out.push_back(uint8_t(h >= 256 ? 0 : h)), out.push_back(0),
      out.push_back(0);
  put16(1), put16(32), put32(uint32_t(40 + xorSize + andSize)), put32(22);
  put32(40), put32(uint32_t(w)), put32(uint32_t(h * 2)), put16(1), put16(32), put32(0),
      put32(uint32_t(xorSize + andSize));
  put32(0), put32(0), put32(0), put32(0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) put32(s->Row(y)[x]);
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(andRow, 0);
    for (int x = 0; x < w; ++x)
      if (!(s->Row(y)[x] >> 24)) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// ============================================================================ copies ==========

void* CopyImage(void* image, UINT type, int cx, int cy, UINT flags) {
  if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
    IconObj* o = Icon(static_cast<HICON>(image));
    if (!o) return nullptr;
    int w = cx > 0 ? cx : (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : o->color->Width;
    int h = cy > 0 ? cy : (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : o->color->Height;
    HICON copy = NewIcon(Scaled(*o->color, w, h), o->isIcon, int(int64_t(o->hotX) * w / o->color->Width),
                         int(int64_t(o->hotY) * h / o->color->Height));
    if (flags & LR_COPYDELETEORG) DestroyIcon(static_cast<HICON>(image));
    return copy;
  }
  if (type == IMAGE_BITMAP) {
    TSurface* s = GetBitmapSurface(static_cast<HBITMAP>(image));
    if (!s) return nullptr;
    int w = cx > 0 ? cx : s->Width, h = cy > 0 ? cy : s->Height;
    auto scaled = Scaled(*s, w, h);
    HBITMAP b = CreateBitmap(w, h, 1, 32, scaled->Pixels);
    if (flags & LR_COPYDELETEORG) DeleteObject(image);
    return b;
  }
  return nullptr;
}

// ============================================================================ drawing =========

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH flicker, UINT flags) {
  DCObj* dc = LookupDC(hdc);
  IconObj* o = Icon(icon);
  if (!dc || !o) return FALSE;
  const TSurface& s = *o->color;
  int w = cx > 0 ? cx : (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : s.Width;
  int h = cy > 0 ? cy : (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : s.Height;
  if (w <= 0 || h <= 0) return FALSE;
  if (flicker) {
    RECT r{x, y, AddCoord(x, w), AddCoord(y, h)};
    FillRect(hdc, &r, flicker);
  }
  bool scaled = w != s.Width || h != s.Height;
  if (Rec(dc)) {
    std::shared_ptr<TSurface> pic = scaled ? Scaled(s, w, h) : nullptr;
    const TSurface& src = pic ? *pic : s;
    // Recorded as an alpha blend of the premultiplied picture.
    HBITMAP b = CreateBitmap(w, h, 1, 32, nullptr);
    TSurface* bs = GetBitmapSurface(b);
    for (int i = 0; i < w * h; ++i) {
      uint32_t p = src.Pixels[i], a = p >> 24;
      uint32_t r = ((p >> 16 & 0xFF) * a + 127) / 255, g = ((p >> 8 & 0xFF) * a + 127) / 255,
               bl = ((p & 0xFF) * a + 127) / 255;
      bs->Pixels[i] = a << 24 | r << 16 | g << 8 | bl;
    }
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    AlphaBlend(hdc, x, y, w, h, mem, 0, 0, w, h, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(b);
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  POINT d = GetMapping(dc->st).Map(x, y);
  TSurface* ds = t.Surface();
  int ox = t.OffsetX(), oy = t.OffsetY();
  bool image = flags & DI_IMAGE, mask = flags & DI_MASK;
  // Scaled pixels are worked out for the visible part only, however large the icon is drawn.
  t.ForEachBox({d.X, d.Y, AddCoord(d.X, w), AddCoord(d.Y, h)}, [&](const RECT& b) {
    for (int yy = b.Top; yy < b.Bottom; ++yy) {
      uint32_t* row = ds->Row(yy);
      int64_t sy = int64_t(yy) - oy - d.Y;
      for (int xx = b.Left; xx < b.Right; ++xx) {
        int64_t sx = int64_t(xx) - ox - d.X;
        uint32_t p = scaled ? ScaledPixel(s, w, h, sx, sy) : s.Row(int(sy))[sx], a = p >> 24;
        uint32_t& q = row[xx];
        if (image && !mask) {
          q = (q & 0xFF000000u) | (p & 0xFFFFFF);
        } else if (mask && !image) {
          if (a) q &= 0xFF000000u;
        } else if (a == 255) {
          q = (q & 0xFF000000u) | (p & 0xFFFFFF);
        } else if (a) {
          uint32_t out = q & 0xFF000000u;
          for (int c = 0; c < 24; c += 8)
            out |= ((((p >> c) & 0xFF) * a + ((q >> c) & 0xFF) * (255 - a) + 127) / 255) << c;
          q = out;
        }
      }
    }
  });
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
  return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}
