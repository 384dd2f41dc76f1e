// Inside the drawing layer: the object table behind the handles, the region value type, the
// device-context record and the helpers the implementation files share.  Not for use outside
// platform/os/gdi.
//
// Sections: regions / objects and handles / device contexts / recording.
#pragma once

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Exceptions.h"

namespace gdi {

// ============================================================================ regions =========

// A set of pixels as y-x banded rectangles (pixman), with value semantics.
class Region {
 public:
  Region() { pixman_region32_init(&r_); }
  explicit Region(const RECT& rc);
  Region(const Region& o) {
    pixman_region32_init(&r_);
    pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&o.r_));
  }
  Region& operator=(const Region& o) {
    if (this != &o) pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&o.r_));
    return *this;
  }
  ~Region() { pixman_region32_fini(&r_); }

  static Region FromBoxes(const std::vector<pixman_box32_t>& boxes);
  // Rows of spans (y, x0, x1) with x1 exclusive, any order; adjacent spans merge.
  struct Span {
    int32_t y, x0, x1;
  };
  static Region FromSpans(std::vector<Span> spans);

  bool Empty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&r_)); }
  RECT Box() const;
  int Kind() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
  bool Contains(int x, int y) const;
  bool Overlaps(const RECT& rc) const;
  const pixman_box32_t* Boxes(int* count) const {
    return pixman_region32_rectangles(const_cast<pixman_region32_t*>(&r_), count);
  }
  void Offset(int dx, int dy) { pixman_region32_translate(&r_, dx, dy); }
  void Intersect(const Region& o) {
    pixman_region32_intersect(&r_, &r_, const_cast<pixman_region32_t*>(&o.r_));
  }
  void IntersectRect(const RECT& rc);
  void Union(const Region& o) { pixman_region32_union(&r_, &r_, const_cast<pixman_region32_t*>(&o.r_)); }
  void Subtract(const Region& o) {
    pixman_region32_subtract(&r_, &r_, const_cast<pixman_region32_t*>(&o.r_));
  }
  void Xor(const Region& o);
  void SetRect(const RECT& rc);
  bool operator==(const Region& o) const;
  pixman_region32_t* Raw() { return &r_; }

 private:
  pixman_region32_t r_;
};

// Spans of shapes as the region constructors and the raster share them (Raster.cpp).
std::vector<Region::Span> PolygonSpans(const POINT* pts, const INT* counts, int polyCount, int fillMode);
// Ellipses and round rectangles give only rows [yMin, yMax), so that drawing work stays within
// the rows a clip lets through whatever the nominal size.
std::vector<Region::Span> EllipseSpans(int l, int t, int r, int b, int yMin = INT32_MIN,
                                       int yMax = INT32_MAX);
std::vector<Region::Span> RoundRectSpans(int l, int t, int r, int b, int w, int h, int yMin = INT32_MIN,
                                         int yMax = INT32_MAX);

// ============================================================================ objects =========

enum class Kind : uint8_t { Pen = 1, Brush, Font, Bitmap, Region, Palette, DC, EnhMetaFile, Icon };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  Kind kind;
  bool stock = false;
  int selected = 0;  // selections in DCs (current and saved states)
  bool deletePending = false;
  uintptr_t handle = 0;
};

struct PenObj : Object {
  PenObj() : Object(Kind::Pen) {}
  UINT style = PS_SOLID;  // full style word (type, caps, joins, dash style)
  int width = 0;
  COLORREF color = 0;
  bool extended = false;  // made by ExtCreatePen
  UINT brushStyle = BS_SOLID;
  uintptr_t hatch = 0;
  std::vector<DWORD> userStyle;
  bool dcPen = false;  // the DC_PEN stock object: colour from the DC
  UINT DashStyle() const { return style & PS_STYLE_MASK; }
  bool Geometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

struct BrushObj : Object {
  BrushObj() : Object(Kind::Brush) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  // Pattern brushes: the pattern's pixels (0x00RRGGBB), or for monochrome patterns 0 / 1 per
  // pixel, replaced by the DC's text (0) and background (1) colours when drawing.
  int patW = 0, patH = 0;
  bool mono = false;
  std::vector<uint32_t> pattern;
  uintptr_t patternBitmap = 0;  // the bitmap handle given at creation (GetObject answers it)
  bool dcBrush = false;
};

class RealFont;

struct FontObj : Object {
  FontObj() : Object(Kind::Font) {}
  LOGFONTW lf{};
  // The realised font for the last vertical scale used (most DCs draw unscaled).
  std::shared_ptr<RealFont> real;
  double realScale = 0;
};

struct BitmapObj : Object {
  BitmapObj() : Object(Kind::Bitmap) {}
  std::shared_ptr<TSurface> surface;
  int bpp = 32;
  bool dibSection = false;
  uintptr_t selectedIn = 0;  // the memory DC holding it
};

struct RegionObj : Object {
  RegionObj() : Object(Kind::Region) {}
  Region rgn;
};

struct PaletteObj : Object {
  PaletteObj() : Object(Kind::Palette) {}
  std::vector<PALETTEENTRY> entries;
};

struct IconObj : Object {
  IconObj() : Object(Kind::Icon) {}
  std::shared_ptr<TSurface> color;  // alpha 255 where opaque, 0 where transparent
  bool isIcon = true;
  int hotX = 0, hotY = 0;
};

struct EmfObj : Object {
  EmfObj() : Object(Kind::EnhMetaFile) {}
  std::vector<uint8_t> bytes;           // the whole file
  std::vector<uint32_t> recordOffsets;  // validated on creation
};

// The handle table: handles carry a table index and a generation, so a stale or forged handle
// is refused instead of dereferenced.
uintptr_t Register(std::unique_ptr<Object> obj);
Object* Lookup(const void* handle);
template <class T>
T* LookupAs(const void* handle, Kind k) {
  Object* o = Lookup(handle);
  return o && o->kind == k ? static_cast<T*>(o) : nullptr;
}
// Removes the object from the table (its handle dies) and frees it unless still selected.
void Destroy(Object* obj);
// Selection bookkeeping: a deleted object lives until its last selection ends.
void AddRef(Object* obj);
void Release(Object* obj);

PenObj* StockPen(int index);
BrushObj* StockBrush(int index);
FontObj* StockFont(int index);
BitmapObj* StockBitmap();
PaletteObj* StockPalette();

template <class H>
H ToHandle(const Object* obj) {
  return obj ? reinterpret_cast<H>(obj->handle) : nullptr;
}

// ============================================================================ device contexts ==

class Recorder;

enum class DCKind : uint8_t { Memory, Surface, Info, Metafile, Printer };

struct DCState {
  PenObj* pen = nullptr;
  BrushObj* brush = nullptr;
  FontObj* font = nullptr;
  PaletteObj* palette = nullptr;
  BitmapObj* bitmap = nullptr;
  COLORREF bkColor = 0xFFFFFF, textColor = 0, dcBrushColor = 0xFFFFFF, dcPenColor = 0;
  int bkMode = OPAQUE, rop2 = R2_COPYPEN, polyFill = ALTERNATE, stretchMode = BLACKONWHITE;
  int mapMode = MM_TEXT, arcDir = AD_COUNTERCLOCKWISE;
  UINT textAlign = 0;
  POINT winOrg{}, vpOrg{}, brushOrg{}, curPos{};
  SIZE winExt{1, 1}, vpExt{1, 1};
  int charExtra = 0;
  int breakExtra = 0, breakCount = 0;
  std::optional<Region> clip;  // application clip, device coordinates
};

struct DCObj : Object {
  DCObj();
  ~DCObj() override;
  DCKind dcKind = DCKind::Memory;
  TSurface* surface = nullptr;  // external surface (Surface kind)
  POINT surfaceOrigin{};
  std::optional<Region> visRgn;  // system clip, device coordinates
  int dpiX = 96, dpiY = 96;
  int technology = DT_RASDISPLAY;
  int horzRes = 0, vertRes = 0;  // 0: the surface's size
  int physW = 0, physH = 0, physX = 0, physY = 0;
  DCState st;
  std::vector<DCState> saved;
  std::unique_ptr<Recorder> recorder;
  std::string metaFileName;        // a metafile DC's file, written when it closes
  std::shared_ptr<void> printJob;  // the printer's document while one is open

  // The clip in surface coordinates, recomputed when the state changes.
  bool clipValid = false;
  Region effClip;
  // Surface currently drawn on (memory DCs: the selected bitmap's).
  TSurface* Target() const;
  void InvalidateClip() { clipValid = false; }
  const Region& EffectiveClip();
};

DCObj* LookupDC(HDC hdc);
// Selects obj as the DC's current object of its kind (bookkeeping only, no recording).
void SetCurrent(DCObj* dc, Object* obj);
// Fresh DC state holding the stock objects.
void InitState(DCObj* dc);
HDC NewDC(std::unique_ptr<DCObj> dc);

// Device coordinates are kept within +-kCoordLimit (far beyond any surface), so that sums and
// differences of two of them never overflow; values from files and callers are clamped into it.
constexpr int kCoordLimit = 1 << 27;
inline int ClampCoord(int64_t v) { return int(std::clamp<int64_t>(v, -kCoordLimit, kCoordLimit)); }
inline int ClampCoord(int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }
inline int ClampCoord(double v) {
  if (v >= kCoordLimit) return kCoordLimit;
  if (v <= -kCoordLimit) return -kCoordLimit;
  return std::isnan(v) ? 0 : int(std::lround(v));
}
// Sum of two coordinates without overflow (x + w of a rectangle given by a file).
inline int AddCoord(int a, int b) { return ClampCoord(int64_t(a) + b); }

// Logical to device coordinates of the DC (points and lengths).
struct Mapping {
  double sx = 1, sy = 1, tx = 0, ty = 0;
  bool identity = true;  // sx == sy == 1 and integral offsets
  int64_t ix = 0, iy = 0;
  POINT Map(int x, int y) const;
  POINT Map(POINT p) const { return Map(p.X, p.Y); }
  RECT MapRect(const RECT& r) const;
  int MapLenX(int v) const;
  int MapLenY(int v) const;
  POINT Unmap(int x, int y) const;
};
Mapping GetMapping(const DCState& st);

// Pure colour helpers: COLORREF <-> surface pixel (alpha untouched by drawing).
inline uint32_t ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ToColorRef(uint32_t p) { return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16); }
// Palette-relative (0x02xxxxxx) and palette-index colours are taken as plain RGB.
inline COLORREF PlainColor(COLORREF c) { return c & 0x00FFFFFF; }

// Copies the fields before the face name between the single-byte and wide logical fonts.
template <class A, class B>
void CopyFontFields(const A& from, B& to) {
  to.lfHeight = from.lfHeight, to.lfWidth = from.lfWidth, to.lfEscapement = from.lfEscapement;
  to.lfOrientation = from.lfOrientation, to.lfWeight = from.lfWeight, to.lfItalic = from.lfItalic;
  to.lfUnderline = from.lfUnderline, to.lfStrikeOut = from.lfStrikeOut, to.lfCharSet = from.lfCharSet;
  to.lfOutPrecision = from.lfOutPrecision, to.lfClipPrecision = from.lfClipPrecision;
  to.lfQuality = from.lfQuality, to.lfPitchAndFamily = from.lfPitchAndFamily;
}

// Unicode text of single-byte code page 1252 text.
std::u16string AnsiToUtf16(LPCSTR text, int count);

// ============================================================================ recording =======

// Records the selection of a clip region (nullptr: none) on a recording DC.
void RecordClipRegion(DCObj* dc, const Region* rgn, int mode);

// Text output shared by the A and W forms and by metafile playback.
BOOL TextOutImpl(DCObj* dc, int x, int y, UINT options, const RECT* rc, const std::u16string& text,
                 const INT* dx, bool ansiRecord, const char* ansiText);

}  // namespace gdi
