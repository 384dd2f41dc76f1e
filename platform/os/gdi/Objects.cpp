// The handle table, stock objects, and creating, selecting, querying and deleting pens,
// brushes, fonts, bitmaps and palettes.
//
// Sections: handle table / stock objects / pens / brushes / fonts / bitmaps / palettes /
// selection and deletion / GetObject.
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/os/gdi/Internal.h"
#include "platform/os/gdi/Recorder.h"

namespace gdi {

// ============================================================================ handle table ====

namespace {

// Writers (under the table's mutex) publish a slot's object and handle between two bumps of its
// sequence number; lookups read them without the lock and retry under it when a write was under
// way.  A slot never frees its memory, so a lookup may always read it.
struct Slot {
  std::atomic<uint32_t> seq{0};
  std::atomic<Object*> obj{nullptr};
  std::atomic<uintptr_t> handle{0};  // the handle of the object it holds
  uint32_t gen = 1;                  // the next registration's generation (writers only)
};

// Slots live in fixed chunks so that a lookup never sees a moved vector.
constexpr size_t kChunk = 4096;
constexpr size_t kMaxChunks = 1024;  // about four million live objects
struct Table {
  std::mutex mutex;
  std::atomic<Slot*> chunks[kMaxChunks] = {};
  size_t used = 0;
  std::vector<uint32_t> freeList;
};

// Never destroyed: objects may be released by other static destructors at exit.
Table& table() {
  static Table* t = new Table;
  return *t;
}

Slot* SlotAt(Table& t, size_t index) {
  size_t c = index / kChunk;
  if (c >= kMaxChunks) return nullptr;
  Slot* chunk = t.chunks[c].load(std::memory_order_acquire);
  return chunk ? &chunk[index % kChunk] : nullptr;
}

// Sets what a slot holds (the table's mutex held).
void PublishSlot(Slot* s, Object* o, uintptr_t handle) {
  uint32_t seq = s->seq.load(std::memory_order_relaxed);
  s->seq.store(seq + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  s->obj.store(o, std::memory_order_relaxed);
  s->handle.store(handle, std::memory_order_relaxed);
  s->seq.store(seq + 2, std::memory_order_release);
}

}  // namespace

uintptr_t Register(std::unique_ptr<Object> obj) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  uint32_t index;
  if (!t.freeList.empty()) {
    index = t.freeList.back();
    t.freeList.pop_back();
  } else {
    if (t.used >= kChunk * kMaxChunks) throw EOutOfResources("Out of system resources");
    index = uint32_t(t.used++);
    size_t c = index / kChunk;
    if (!t.chunks[c].load(std::memory_order_relaxed))
      t.chunks[c].store(new Slot[kChunk], std::memory_order_release);
  }
  Slot* s = SlotAt(t, index);
  Object* o = obj.release();
  o->handle = (uintptr_t(s->gen) << 32) | (uintptr_t(index + 1) << 4) | uintptr_t(o->kind);
  PublishSlot(s, o, o->handle);
  return o->handle;
}

Object* Lookup(const void* handle) {
  uintptr_t h = reinterpret_cast<uintptr_t>(handle);
  if (!h) return nullptr;
  size_t index = ((h >> 4) & 0x0FFFFFFF);
  if (index == 0) return nullptr;
  Table& t = table();
  Slot* s = SlotAt(t, index - 1);
  if (!s) return nullptr;
  uint32_t before = s->seq.load(std::memory_order_acquire);
  Object* o = s->obj.load(std::memory_order_relaxed);
  uintptr_t held = s->handle.load(std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_acquire);
  if ((before & 1) || s->seq.load(std::memory_order_relaxed) != before) {
    // A registration or deletion was under way: read again under the lock.
    std::lock_guard lock(t.mutex);
    o = s->obj.load(std::memory_order_relaxed);
    held = s->handle.load(std::memory_order_relaxed);
  }
  return o && held == h ? o : nullptr;
}

void Destroy(Object* obj) {
  Table& t = table();
  bool freeNow;
  {
    std::lock_guard lock(t.mutex);
    size_t index = ((obj->handle >> 4) & 0x0FFFFFFF) - 1;
    Slot* s = SlotAt(t, index);
    if (s && s->obj.load(std::memory_order_relaxed) == obj) {
      PublishSlot(s, nullptr, 0);
      s->gen = s->gen + 1 == 0 ? 1 : s->gen + 1;
      t.freeList.push_back(uint32_t(index));
    }
    obj->deletePending = true;
    freeNow = obj->selected == 0;
  }
  if (freeNow) delete obj;
}

void AddRef(Object* obj) {
  if (obj) ++obj->selected;
}

void Release(Object* obj) {
  if (!obj) return;
  if (--obj->selected == 0 && obj->deletePending) delete obj;
}

// ============================================================================ stock objects ===

namespace {

template <class T>
T* MakeStock(std::unique_ptr<T> o) {
  o->stock = true;
  T* raw = o.get();
  Register(std::move(o));
  return raw;
}

struct Stock {
  BrushObj* brushes[6];
  PenObj* pens[3];
  FontObj* fonts[8];  // indices 10..17
  PenObj* dcPen;
  BrushObj* dcBrush;
  BitmapObj* bitmap;
  PaletteObj* palette;

  Stock() {
    static const COLORREF grays[5] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    for (int i = 0; i < 5; ++i) {
      auto b = std::make_unique<BrushObj>();
      b->color = grays[i];
      brushes[i] = MakeStock(std::move(b));
    }
    auto nb = std::make_unique<BrushObj>();
    nb->style = BS_NULL;
    brushes[5] = MakeStock(std::move(nb));
    const COLORREF penColors[2] = {0xFFFFFF, 0x000000};
    for (int i = 0; i < 2; ++i) {
      auto p = std::make_unique<PenObj>();
      p->color = penColors[i];
      pens[i] = MakeStock(std::move(p));
    }
    auto np = std::make_unique<PenObj>();
    np->style = PS_NULL;
    pens[2] = MakeStock(std::move(np));
    // The system font stands for the raster fonts of the original: bold sans, 16 pixels high.
    struct FontSpec {
      const char16_t* face;
      LONG height, weight;
      BYTE pitch;
    };
    const FontSpec specs[8] = {
        {u"Courier New", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN},       // OEM_FIXED_FONT
        {u"Courier New", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN},       // ANSI_FIXED_FONT
        {u"MS Sans Serif", 12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS},   // ANSI_VAR_FONT
        {u"MS Sans Serif", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS},     // SYSTEM_FONT
        {u"MS Sans Serif", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS},     // DEVICE_DEFAULT_FONT
        {u"MS Sans Serif", 0, 0, 0},                                    // DEFAULT_PALETTE (unused)
        {u"Courier New", 16, FW_NORMAL, FIXED_PITCH | FF_MODERN},       // SYSTEM_FIXED_FONT
        {u"MS Sans Serif", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS},  // DEFAULT_GUI_FONT
    };
    for (int i = 0; i < 8; ++i) {
      auto f = std::make_unique<FontObj>();
      f->lf.lfHeight = specs[i].height;
      f->lf.lfWeight = specs[i].weight;
      f->lf.lfPitchAndFamily = specs[i].pitch;
      std::u16string face = specs[i].face;
      std::copy(face.begin(), face.end(), f->lf.lfFaceName);
      fonts[i] = MakeStock(std::move(f));
    }
    auto dp = std::make_unique<PenObj>();
    dp->dcPen = true;
    dcPen = MakeStock(std::move(dp));
    auto db = std::make_unique<BrushObj>();
    db->dcBrush = true;
    dcBrush = MakeStock(std::move(db));
    auto bm = std::make_unique<BitmapObj>();
    bm->surface = std::make_shared<TSurface>(1, 1);
    bm->bpp = 1;
    bitmap = MakeStock(std::move(bm));
    auto pal = std::make_unique<PaletteObj>();
    // The 20 reserved colours of the system palette.
    static const uint8_t sys[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                       {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                       {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                                       {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                                       {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (auto& c : sys) pal->entries.push_back({c[0], c[1], c[2], 0});
    palette = MakeStock(std::move(pal));
  }
};

Stock& stock() {
  static Stock s;
  return s;
}

}  // namespace

PenObj* StockPen(int index) {
  if (index == DC_PEN) return stock().dcPen;
  return index >= WHITE_PEN && index <= NULL_PEN ? stock().pens[index - WHITE_PEN] : nullptr;
}
BrushObj* StockBrush(int index) {
  if (index == DC_BRUSH) return stock().dcBrush;
  return index >= 0 && index <= NULL_BRUSH ? stock().brushes[index] : nullptr;
}
FontObj* StockFont(int index) {
  return index >= OEM_FIXED_FONT && index <= DEFAULT_GUI_FONT && index != DEFAULT_PALETTE
             ? stock().fonts[index - OEM_FIXED_FONT]
             : nullptr;
}
BitmapObj* StockBitmap() { return stock().bitmap; }
PaletteObj* StockPalette() { return stock().palette; }

}  // namespace gdi

using namespace gdi;

HGDIOBJ GetStockObject(int index) {
  if (Object* o = StockPen(index)) return ToHandle<HGDIOBJ>(o);
  if (Object* o = StockBrush(index)) return ToHandle<HGDIOBJ>(o);
  if (Object* o = StockFont(index)) return ToHandle<HGDIOBJ>(o);
  if (index == DEFAULT_PALETTE) return ToHandle<HGDIOBJ>(StockPalette());
  return nullptr;
}

// ============================================================================ pens ============

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < 0 || style > int(PS_INSIDEFRAME)) return nullptr;
  auto p = std::make_unique<PenObj>();
  // Wide pens of the plain interface are solid whatever the dash style, as in the original.
  UINT s = UINT(style);
  if (width > 1 && s != PS_NULL && s != PS_INSIDEFRAME) s = PS_SOLID;
  p->style = s | (width > 1 ? PS_GEOMETRIC : 0);
  p->width = width < 0 ? 0 : width;
  p->color = color;
  return reinterpret_cast<HPEN>(Register(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  return lp ? CreatePen(int(lp->lopnStyle), lp->lopnWidth.X, lp->lopnColor) : nullptr;
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  if (!brush) return nullptr;
  UINT dash = style & PS_STYLE_MASK;
  bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (dash > PS_ALTERNATE) return nullptr;
  if (!geometric && width != 1) return nullptr;  // cosmetic pens are one pixel wide
  if (dash == PS_ALTERNATE && geometric) return nullptr;
  if (dash == PS_USERSTYLE) {
    if (styleCount == 0 || styleCount > 16 || !styles) return nullptr;
  } else if (styleCount != 0) {
    return nullptr;
  }
  auto p = std::make_unique<PenObj>();
  p->extended = true;
  p->style = style;
  p->width = int(width > 0x7FFF ? 0x7FFF : width);
  p->color = brush->lbColor;
  p->brushStyle = brush->lbStyle;
  p->hatch = brush->lbHatch;
  if (brush->lbStyle == BS_NULL) p->style = (style & ~PS_STYLE_MASK) | PS_NULL;
  if (dash == PS_USERSTYLE) p->userStyle.assign(styles, styles + styleCount);
  return reinterpret_cast<HPEN>(Register(std::move(p)));
}

// ============================================================================ brushes =========

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_unique<BrushObj>();
  b->color = color;
  return reinterpret_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  auto b = std::make_unique<BrushObj>();
  b->style = BS_HATCHED;
  b->hatch = hatch;
  b->color = color;
  return reinterpret_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto* bm = LookupAs<BitmapObj>(bitmap, Kind::Bitmap);
  if (!bm || !bm->surface || bm->surface->Empty()) return nullptr;
  const TSurface& s = *bm->surface;
  auto b = std::make_unique<BrushObj>();
  b->style = BS_PATTERN;
  b->patW = s.Width;
  b->patH = s.Height;
  b->mono = bm->bpp == 1;
  b->patternBitmap = reinterpret_cast<uintptr_t>(bitmap);
  b->pattern.resize(size_t(s.Width) * s.Height);
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x) {
      uint32_t p = s.Row(y)[x] & 0xFFFFFF;
      b->pattern[size_t(y) * s.Width + x] = b->mono ? (p ? 1u : 0u) : p;
    }
  return reinterpret_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
  if (!packedDib || usage != DIB_RGB_COLORS) return nullptr;
  auto* bmi = static_cast<const BITMAPINFO*>(packedDib);
  const auto& h = bmi->bmiHeader;
  if (h.biSize < 40 || h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 256 || std::abs(h.biHeight) > 256)
    return nullptr;
  int colors = h.biBitCount <= 8 ? (h.biClrUsed ? int(h.biClrUsed) : 1 << h.biBitCount) : 0;
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(bmi) + h.biSize + colors * 4;
  HBITMAP tmp = CreateBitmap(h.biWidth, std::abs(h.biHeight), 1, 32, nullptr);
  if (!tmp) return nullptr;
  SetDIBits(nullptr, tmp, 0, UINT(std::abs(h.biHeight)), bits, bmi, DIB_RGB_COLORS);
  HBRUSH b = CreatePatternBrush(tmp);
  DeleteObject(tmp);
  return b;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  switch (lb->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(lb->lbColor);
    case BS_NULL:
      return reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
      return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    case BS_DIBPATTERNPT:
      return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), DIB_RGB_COLORS);
    default:
      return nullptr;
  }
}

// ============================================================================ fonts ===========

HFONT CreateFontIndirectW(const LOGFONTW* lf) {
  if (!lf) return nullptr;
  auto f = std::make_unique<FontObj>();
  f->lf = *lf;
  f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return reinterpret_cast<HFONT>(Register(std::move(f)));
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  LOGFONTW w;
  CopyFontFields(*lf, w);
  size_t n = strnlen(lf->lfFaceName, LF_FACESIZE - 1);
  std::u16string face = AnsiToUtf16(lf->lfFaceName, int(n));
  std::copy(face.begin(), face.begin() + std::min<size_t>(face.size(), LF_FACESIZE - 1), w.lfFaceName);
  return CreateFontIndirectW(&w);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = BYTE(italic);
  lf.lfUnderline = BYTE(underline);
  lf.lfStrikeOut = BYTE(strikeOut);
  lf.lfCharSet = BYTE(charSet);
  lf.lfOutPrecision = BYTE(outPrecision);
  lf.lfClipPrecision = BYTE(clipPrecision);
  lf.lfQuality = BYTE(quality);
  lf.lfPitchAndFamily = BYTE(pitchAndFamily);
  if (face) strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// ============================================================================ bitmaps =========

namespace {

HBITMAP NewBitmap(int width, int height, int bpp, bool dib) {
  if (width <= 0 || height <= 0) return nullptr;
  CheckSurfaceSize(width, height);
  auto b = std::make_unique<BitmapObj>();
  b->surface = std::make_shared<TSurface>(width, height);
  b->bpp = bpp;
  b->dibSection = dib;
  return reinterpret_cast<HBITMAP>(Register(std::move(b)));
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1) return nullptr;
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
      bitsPerPixel != 24 && bitsPerPixel != 32)
    return nullptr;
  if (width == 0 || height == 0) return ToHandle<HBITMAP>(StockBitmap());
  HBITMAP h = NewBitmap(width, height, int(bitsPerPixel), false);
  if (h && bits) SetBitmapBits(h, DWORD(((width * bitsPerPixel + 15) / 16) * 2 * height), bits);
  return h;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return nullptr;
  if (width == 0 || height == 0) return ToHandle<HBITMAP>(StockBitmap());
  // A memory DC holding the stock bitmap makes monochrome bitmaps, as in the original.
  bool mono = dc->dcKind == DCKind::Memory && dc->st.bitmap == StockBitmap();
  return NewBitmap(width, height, mono ? 1 : 32, false);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* bmi, UINT usage, void** bits, void* section, DWORD) {
  if (bits) *bits = nullptr;
  if (!bmi || section || usage != DIB_RGB_COLORS) return nullptr;
  const auto& h = bmi->bmiHeader;
  if (h.biSize < 40 || h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight >= 0)
    return nullptr;
  HBITMAP hb = NewBitmap(h.biWidth, -h.biHeight, 32, true);
  if (hb && bits) *bits = GetBitmapSurface(hb)->Pixels;
  return hb;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* bmi, UINT usage) {
  if (!header) return nullptr;
  HBITMAP h = NewBitmap(header->biWidth, std::abs(header->biHeight), 32, false);
  if (h && (init & CBM_INIT) && bits && bmi)
    SetDIBits(hdc, h, 0, UINT(std::abs(header->biHeight)), bits, bmi, usage);
  return h;
}

TSurface* GetBitmapSurface(HBITMAP bitmap) {
  auto* b = LookupAs<BitmapObj>(bitmap, Kind::Bitmap);
  return b ? b->surface.get() : nullptr;
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size) {
  if (!LookupAs<BitmapObj>(bitmap, Kind::Bitmap) || !size) return FALSE;
  *size = {0, 0};
  return TRUE;
}

// ============================================================================ palettes ========

HPALETTE CreatePalette(const LOGPALETTE* lp) {
  if (!lp || lp->palVersion != 0x300 || lp->palNumEntries == 0) return nullptr;
  auto p = std::make_unique<PaletteObj>();
  p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
  return reinterpret_cast<HPALETTE>(Register(std::move(p)));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE pal, BOOL) {
  DCObj* dc = LookupDC(hdc);
  auto* p = LookupAs<PaletteObj>(pal, Kind::Palette);
  if (!dc || !p) return nullptr;
  HPALETTE old = ToHandle<HPALETTE>(dc->st.palette);
  SetCurrent(dc, p);
  return old;
}

UINT RealizePalette(HDC hdc) { return LookupDC(hdc) ? 0 : UINT(-1); }

UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, PALETTEENTRY* entries) {
  auto* p = LookupAs<PaletteObj>(pal, Kind::Palette);
  if (!p) return 0;
  if (!entries) return UINT(p->entries.size());
  UINT n = 0;
  for (UINT i = start; i < p->entries.size() && n < count; ++i) entries[n++] = p->entries[i];
  return n;
}

UINT GetSystemPaletteEntries(HDC, UINT start, UINT count, PALETTEENTRY* entries) {
  return GetPaletteEntries(ToHandle<HPALETTE>(StockPalette()), start, count, entries);
}

UINT GetNearestPaletteIndex(HPALETTE pal, COLORREF color) {
  auto* p = LookupAs<PaletteObj>(pal, Kind::Palette);
  if (!p) return CLR_INVALID;
  UINT best = 0;
  int bestD = 1 << 30;
  for (UINT i = 0; i < p->entries.size(); ++i) {
    const auto& e = p->entries[i];
    int dr = e.peRed - GetRValue(color), dg = e.peGreen - GetGValue(color), db = e.peBlue - GetBValue(color);
    int d = dr * dr + dg * dg + db * db;
    if (d < bestD) bestD = d, best = i;
  }
  return best;
}

// ============================================================================ selection and deletion

namespace gdi {

void SetCurrent(DCObj* dc, Object* obj) {
  auto swap = [&](auto*& slot) {
    using T = std::remove_reference_t<decltype(*slot)>;
    T* o = static_cast<T*>(obj);
    if (slot == o) return;
    AddRef(o);
    Release(slot);
    slot = o;
  };
  switch (obj->kind) {
    case Kind::Pen:
      swap(dc->st.pen);
      break;
    case Kind::Brush:
      swap(dc->st.brush);
      break;
    case Kind::Font:
      swap(dc->st.font);
      break;
    case Kind::Palette:
      swap(dc->st.palette);
      break;
    case Kind::Bitmap:
      swap(dc->st.bitmap);
      dc->InvalidateClip();
      break;
    default:
      break;
  }
}

}  // namespace gdi

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  DCObj* dc = LookupDC(hdc);
  Object* o = Lookup(h);
  if (!dc || !o) return nullptr;
  switch (o->kind) {
    case Kind::Region: {
      // Selecting a region sets the clip; the answer is the region kind.
      int r = SelectClipRgn(hdc, static_cast<HRGN>(h));
      return reinterpret_cast<HGDIOBJ>(intptr_t(r));
    }
    case Kind::Bitmap: {
      auto* b = static_cast<BitmapObj*>(o);
      if (dc->dcKind != DCKind::Memory) return nullptr;
      // A bitmap lives in one memory DC at a time.
      if (b->selectedIn && b->selectedIn != dc->handle && !b->stock) return nullptr;
      BitmapObj* old = dc->st.bitmap;
      HGDIOBJ oldHandle = ToHandle<HGDIOBJ>(old);  // taken first: deselecting may free it
      if (old && !old->stock) old->selectedIn = 0;
      if (!b->stock) b->selectedIn = dc->handle;
      SetCurrent(dc, b);
      return oldHandle;
    }
    case Kind::Pen:
    case Kind::Brush:
    case Kind::Font:
    case Kind::Palette: {
      Object* old = o->kind == Kind::Pen     ? static_cast<Object*>(dc->st.pen)
                    : o->kind == Kind::Brush ? static_cast<Object*>(dc->st.brush)
                    : o->kind == Kind::Font  ? static_cast<Object*>(dc->st.font)
                                             : static_cast<Object*>(dc->st.palette);
      HGDIOBJ oldHandle = ToHandle<HGDIOBJ>(old);  // taken first: deselecting may free it
      if (dc->recorder) dc->recorder->Select(o);
      SetCurrent(dc, o);
      return oldHandle;
    }
    default:
      return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ h) {
  Object* o = Lookup(h);
  if (!o || o->kind == Kind::DC || o->kind == Kind::EnhMetaFile) return FALSE;
  if (o->stock) return TRUE;
  if (o->kind == Kind::Bitmap) {
    // A bitmap still selected leaves its DC holding the stock bitmap's place at deselection.
    auto* b = static_cast<BitmapObj*>(o);
    b->selectedIn = 0;
  }
  Destroy(o);
  return TRUE;
}

BOOL UnrealizeObject(HGDIOBJ h) { return Lookup(h) ? TRUE : FALSE; }

DWORD GetObjectType(HGDIOBJ h) {
  Object* o = Lookup(h);
  if (!o) return 0;
  switch (o->kind) {
    case Kind::Pen:
      return static_cast<PenObj*>(o)->extended ? OBJ_EXTPEN : OBJ_PEN;
    case Kind::Brush:
      return OBJ_BRUSH;
    case Kind::Font:
      return OBJ_FONT;
    case Kind::Bitmap:
      return OBJ_BITMAP;
    case Kind::Region:
      return OBJ_REGION;
    case Kind::Palette:
      return OBJ_PAL;
    case Kind::EnhMetaFile:
      return OBJ_ENHMETAFILE;
    case Kind::DC: {
      auto* dc = static_cast<DCObj*>(o);
      return dc->dcKind == DCKind::Memory     ? OBJ_MEMDC
             : dc->dcKind == DCKind::Metafile ? OBJ_ENHMETADC
                                              : OBJ_DC;
    }
    default:
      return 0;
  }
}

// ============================================================================ GetObject =======

namespace {

template <class T>
int CopyOut(const T& value, int size, void* out) {
  if (!out) return int(sizeof(T));
  int n = std::min<int>(size, int(sizeof(T)));
  if (n <= 0) return 0;
  std::memcpy(out, &value, size_t(n));
  return n;
}

int GetObjectImpl(HGDIOBJ h, int size, void* out, bool wide) {
  Object* o = Lookup(h);
  if (!o) return 0;
  switch (o->kind) {
    case Kind::Pen: {
      auto* p = static_cast<PenObj*>(o);
      if (p->extended) {
        EXTLOGPEN e;
        e.elpPenStyle = p->style;
        e.elpWidth = DWORD(p->width);
        e.elpBrushStyle = p->brushStyle;
        e.elpColor = p->color;
        e.elpHatch = p->hatch;
        e.elpNumEntries = DWORD(p->userStyle.size());
        std::copy(p->userStyle.begin(), p->userStyle.end(), e.elpStyleEntry);
        return CopyOut(e, size, out);
      }
      LOGPEN lp;
      lp.lopnStyle = p->style & (PS_STYLE_MASK);
      lp.lopnWidth = {p->width, 0};
      lp.lopnColor = p->color;
      return CopyOut(lp, size, out);
    }
    case Kind::Brush: {
      auto* b = static_cast<BrushObj*>(o);
      LOGBRUSH lb;
      lb.lbStyle = b->style;
      lb.lbColor = b->color;
      lb.lbHatch = b->style == BS_PATTERN ? b->patternBitmap : uintptr_t(b->hatch);
      return CopyOut(lb, size, out);
    }
    case Kind::Font: {
      auto* f = static_cast<FontObj*>(o);
      if (wide) return CopyOut(f->lf, size, out);
      LOGFONTA a;
      CopyFontFields(f->lf, a);
      for (int i = 0; i < LF_FACESIZE; ++i) {
        char16_t c = f->lf.lfFaceName[i];
        a.lfFaceName[i] = c < 256 ? char(c) : '?';
        if (!c) break;
      }
      return CopyOut(a, size, out);
    }
    case Kind::Bitmap: {
      auto* b = static_cast<BitmapObj*>(o);
      BITMAP bm;
      bm.bmWidth = b->surface->Width;
      bm.bmHeight = b->surface->Height;
      bm.bmBitsPixel = WORD(b->bpp);
      bm.bmWidthBytes = ((bm.bmWidth * b->bpp + 15) / 16) * 2;
      if (b->dibSection) {
        bm.bmWidthBytes = bm.bmWidth * 4;
        bm.bmBits = b->surface->Pixels;
        if (size >= int(sizeof(DIBSECTION)) && out) {
          DIBSECTION ds;
          ds.dsBm = bm;
          ds.dsBmih.biWidth = bm.bmWidth;
          ds.dsBmih.biHeight = -bm.bmHeight;
          ds.dsBmih.biBitCount = 32;
          ds.dsBmih.biSizeImage = DWORD(bm.bmWidth) * 4 * DWORD(bm.bmHeight);
          return CopyOut(ds, size, out);
        }
      }
      return CopyOut(bm, size, out);
    }
    case Kind::Palette: {
      WORD n = WORD(static_cast<PaletteObj*>(o)->entries.size());
      return CopyOut(n, size, out);
    }
    default:
      return 0;
  }
}

}  // namespace

int GetObjectA(HGDIOBJ h, int size, void* out) { return GetObjectImpl(h, size, out, false); }
int GetObjectW(HGDIOBJ h, int size, void* out) { return GetObjectImpl(h, size, out, true); }
