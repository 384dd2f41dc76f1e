// Enhanced metafiles: the recorder behind metafile DCs, checked loading of metafile bytes, replay
// onto any DC (scaled into a rectangle) and record enumeration.
//
// Sections: the recorder / metafile objects / recording DCs / replay / enumeration.
#include <cmath>
#include <cstring>

#include "platform/os/gdi/Dib.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/os/gdi/Recorder.h"

namespace gdi {

// ============================================================================ the recorder ====

Recorder::Recorder(int refW, int refH, int dpiX, int dpiY, const RECT* frame, std::u16string description)
    : refW_(refW), refH_(refH), dpiX_(dpiX), dpiY_(dpiY), description_(std::move(description)) {
  if (frame) {
    hasFrame_ = true;
    frame_ = *frame;
  }
}

size_t Recorder::Begin(DWORD type, size_t size) {
  size_t at = buf_.size();
  buf_.resize(at + size);
  DWORD t = type, n = DWORD(size);
  std::memcpy(buf_.data() + at, &t, 4);
  std::memcpy(buf_.data() + at + 4, &n, 4);
  ++records_;
  return at + 8;
}

void Recorder::EmitBytes(DWORD type, const std::vector<uint8_t>& body) {
  size_t padded = (body.size() + 3) & ~size_t(3);
  size_t at = Begin(type, 8 + padded);
  if (!body.empty()) std::memcpy(buf_.data() + at, body.data(), body.size());
}

void Recorder::AddBounds(const RECT& rc) {
  RECT r{std::min(rc.Left, rc.Right), std::min(rc.Top, rc.Bottom), std::max(rc.Left, rc.Right),
         std::max(rc.Top, rc.Bottom)};
  if (r.IsEmpty()) return;
  if (!hasBounds_) {
    bounds_ = r;
    hasBounds_ = true;
    return;
  }
  bounds_ = {std::min(bounds_.Left, r.Left), std::min(bounds_.Top, r.Top), std::max(bounds_.Right, r.Right),
             std::max(bounds_.Bottom, r.Bottom)};
}

namespace {

// The stock index of a standard stock object, or -1.
int StockIndexOf(const Object* o) {
  for (int i = 0; i <= DC_PEN; ++i) {
    HGDIOBJ h = GetStockObject(i);
    if (h && Lookup(h) == o) return i;
  }
  return -1;
}

void PutDib32(std::vector<uint8_t>& body, const std::vector<uint32_t>& px, int w, int h) {
  BITMAPINFOHEADER bih;
  bih.biWidth = w;
  bih.biHeight = -h;
  bih.biBitCount = 32;
  bih.biSizeImage = DWORD(px.size() * 4);
  Put(body, bih);
  for (uint32_t p : px) Put(body, p);
}

}  // namespace

void Recorder::Select(Object* o) {
  if (!o) return;
  int stock = StockIndexOf(o);
  if (stock >= 0) {
    Emit(EMR_SELECTOBJECT, DWORD(ENHMETA_STOCK_OBJECT | DWORD(stock)));
    return;
  }
  auto it = objects_.find(o->handle);
  if (it == objects_.end()) {
    uint32_t ih = nextIndex_++;
    it = objects_.emplace(o->handle, ih).first;
    std::vector<uint8_t> body;
    Put(body, DWORD(ih));
    switch (o->kind) {
      case Kind::Pen: {
        auto* p = static_cast<PenObj*>(o);
        if (p->extended) {
          Put(body, DWORD(0)), Put(body, DWORD(0)), Put(body, DWORD(0)), Put(body, DWORD(0));
          Put(body, DWORD(p->style)), Put(body, DWORD(p->width)), Put(body, DWORD(p->brushStyle));
          Put(body, DWORD(p->color)), Put(body, DWORD(p->hatch)), Put(body, DWORD(p->userStyle.size()));
          for (DWORD d : p->userStyle) Put(body, d);
          EmitBytes(EMR_EXTCREATEPEN, body);
        } else {
          LOGPEN lp;
          lp.lopnStyle = p->style & PS_STYLE_MASK;
          lp.lopnWidth = {p->width, 0};
          lp.lopnColor = p->color;
          Put(body, lp);
          EmitBytes(EMR_CREATEPEN, body);
        }
        break;
      }
      case Kind::Brush: {
        auto* b = static_cast<BrushObj*>(o);
        if (b->style == BS_PATTERN && !b->pattern.empty()) {
          // usage, bitmap header offset and size, bits offset and size, then the DIB.
          size_t fixed = 8 + 4 + 4 + 16;
          Put(body, DWORD(DIB_RGB_COLORS));
          Put(body, DWORD(fixed)), Put(body, DWORD(sizeof(BITMAPINFOHEADER)));
          Put(body, DWORD(fixed + sizeof(BITMAPINFOHEADER))), Put(body, DWORD(b->pattern.size() * 4));
          std::vector<uint32_t> px = b->pattern;
          if (b->mono)
            for (uint32_t& v : px) v = v ? 0xFFFFFF : 0;
          PutDib32(body, px, b->patW, b->patH);
          EmitBytes(b->mono ? EMR_CREATEMONOBRUSH : EMR_CREATEDIBPATTERNBRUSHPT, body);
        } else {
          Put(body, DWORD(b->style == BS_PATTERN ? BS_SOLID : b->style));
          Put(body, DWORD(b->color));
          Put(body, DWORD(b->hatch));
          EmitBytes(EMR_CREATEBRUSHINDIRECT, body);
        }
        break;
      }
      case Kind::Font: {
        auto* f = static_cast<FontObj*>(o);
        Put(body, f->lf);
        EmitBytes(EMR_EXTCREATEFONTINDIRECTW, body);
        break;
      }
      default:
        objects_.erase(it);
        --nextIndex_;
        return;
    }
  }
  Emit(EMR_SELECTOBJECT, DWORD(it->second));
}

std::vector<uint8_t> Recorder::Close() {
  Emit(EMR_EOF, DWORD(0), DWORD(16), DWORD(20));
  ENHMETAHEADER h;
  std::vector<uint8_t> desc;
  for (char16_t c : description_) Put(desc, c);
  PadTo4(desc);
  h.nSize = DWORD(sizeof(ENHMETAHEADER) + desc.size());
  h.rclBounds = hasBounds_ ? RECT{bounds_.Left, bounds_.Top, bounds_.Right - 1, bounds_.Bottom - 1}
                           : RECT{0, 0, -1, -1};
  auto toFrameX = [&](int px) { return int(std::lround(px * 2540.0 / dpiX_)); };
  auto toFrameY = [&](int px) { return int(std::lround(px * 2540.0 / dpiY_)); };
  h.rclFrame = hasFrame_    ? frame_
               : hasBounds_ ? RECT{toFrameX(bounds_.Left), toFrameY(bounds_.Top), toFrameX(bounds_.Right),
                                   toFrameY(bounds_.Bottom)}
                            : RECT{};
  h.nBytes = DWORD(h.nSize + buf_.size());
  h.nRecords = records_ + 1;
  h.nHandles = WORD(std::min<uint32_t>(nextIndex_, 0xFFFF));
  h.nDescription = DWORD(description_.size());
  h.offDescription = description_.empty() ? 0 : DWORD(sizeof(ENHMETAHEADER));
  h.szlDevice = {refW_, refH_};
  h.szlMicrometers = {int(std::lround(refW_ * 25400.0 / dpiX_)), int(std::lround(refH_ * 25400.0 / dpiY_))};
  h.szlMillimeters = {int(std::lround(h.szlMicrometers.cx / 1000.0)),
                      int(std::lround(h.szlMicrometers.cy / 1000.0))};
  std::vector<uint8_t> out;
  out.reserve(h.nBytes);
  Put(out, h);
  out.insert(out.end(), desc.begin(), desc.end());
  out.insert(out.end(), buf_.begin(), buf_.end());
  return out;
}

// ============================================================================ metafile objects

namespace {

template <class T>
bool ReadAt(const uint8_t* base, size_t size, size_t off, T& out) {
  if (off > size || size - off < sizeof(T)) return false;
  std::memcpy(&out, base + off, sizeof(T));
  return true;
}

EmfObj* Emf(HENHMETAFILE h) { return LookupAs<EmfObj>(h, Kind::EnhMetaFile); }

ENHMETAHEADER HeaderOf(const EmfObj& e) {
  ENHMETAHEADER h{};
  h.dSignature = 0;
  DWORD n = 0;
  std::memcpy(&n, e.bytes.data() + 4, 4);
  std::memcpy(static_cast<void*>(&h), e.bytes.data(), std::min<size_t>(sizeof h, n));
  return h;
}

}  // namespace

// Checks every record of a metafile; raises EInvalidGraphic when the bytes are not one.
HENHMETAFILE MakeEnhMetaFile(std::vector<uint8_t> bytes) {
  const EInvalidGraphic bad("Metafile is not valid");
  ENHMETAHEADER h{};
  if (bytes.size() < 88 || !ReadAt(bytes.data(), bytes.size(), 0, h.iType)) throw bad;
  std::memcpy(static_cast<void*>(&h), bytes.data(), std::min(bytes.size(), sizeof h));
  if (h.iType != EMR_HEADER || h.dSignature != ENHMETA_SIGNATURE || h.nSize < 88 || h.nSize % 4 ||
      h.nSize > bytes.size())
    throw bad;
  size_t total = std::min<size_t>(h.nBytes ? h.nBytes : bytes.size(), bytes.size());
  if (h.offDescription && (size_t(h.offDescription) + size_t(h.nDescription) * 2 > h.nSize)) throw bad;
  auto obj = std::make_unique<EmfObj>();
  size_t off = 0;
  bool eof = false;
  while (off + 8 <= total) {
    DWORD type, n;
    std::memcpy(&type, bytes.data() + off, 4);
    std::memcpy(&n, bytes.data() + off + 4, 4);
    if (n < 8 || n % 4 || n > total - off) throw bad;
    obj->recordOffsets.push_back(uint32_t(off));
    off += n;
    if (type == EMR_EOF) {
      eof = true;
      break;
    }
  }
  if (!eof) throw EInvalidGraphic("Metafile is not valid (it has no end record)");
  bytes.resize(off);
  obj->bytes = std::move(bytes);
  return reinterpret_cast<HENHMETAFILE>(Register(std::move(obj)));
}

}  // namespace gdi

using namespace gdi;

HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data) {
  if (!data) return nullptr;
  return MakeEnhMetaFile(std::vector<uint8_t>(data, data + size));
}

UINT GetEnhMetaFileBits(HENHMETAFILE emf, UINT size, BYTE* data) {
  EmfObj* e = Emf(emf);
  if (!e) return 0;
  if (!data) return UINT(e->bytes.size());
  UINT n = std::min<UINT>(size, UINT(e->bytes.size()));
  std::memcpy(data, e->bytes.data(), n);
  return n;
}

UINT GetEnhMetaFileHeader(HENHMETAFILE emf, UINT size, ENHMETAHEADER* header) {
  EmfObj* e = Emf(emf);
  if (!e) return 0;
  if (!header) return UINT(sizeof(ENHMETAHEADER));
  ENHMETAHEADER h = HeaderOf(*e);
  UINT n = std::min<UINT>(size, UINT(sizeof h));
  std::memcpy(header, &h, n);
  return n;
}

UINT GetEnhMetaFileDescriptionW(HENHMETAFILE emf, UINT count, WCHAR* text) {
  EmfObj* e = Emf(emf);
  if (!e) return UINT(-1);
  ENHMETAHEADER h = HeaderOf(*e);
  if (!h.offDescription) return 0;
  if (!text || count == 0) return h.nDescription;
  UINT n = std::min(count, h.nDescription);
  std::memcpy(text, e->bytes.data() + h.offDescription, size_t(n) * 2);
  return n;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE emf) {
  EmfObj* e = Emf(emf);
  if (!e) return FALSE;
  Destroy(e);
  return TRUE;
}

HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE emf, LPCSTR fileName) {
  EmfObj* e = Emf(emf);
  if (!e) return nullptr;
  if (fileName) {
    try {
      WriteFileBytes(fileName, e->bytes);
    } catch (const Exception&) {
      return nullptr;
    }
  }
  return MakeEnhMetaFile(e->bytes);
}

HENHMETAFILE GetEnhMetaFileA(LPCSTR fileName) {
  if (!fileName) return nullptr;
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFileBytes(fileName);
  } catch (const EFOpenError&) {
    return nullptr;
  }
  return MakeEnhMetaFile(std::move(bytes));
}

// ============================================================================ recording DCs ===

HDC CreateEnhMetaFileDesc(HDC reference, const AnsiString& fileName, const RECT* frame,
                          const AnsiString& description) {
  DCObj* ref = reference ? LookupDC(reference) : nullptr;
  if (reference && !ref) return nullptr;
  int dpiX = ref ? ref->dpiX : 96, dpiY = ref ? ref->dpiY : 96;
  int w = ref && ref->horzRes ? ref->horzRes : GetSystemMetrics(SM_CXSCREEN);
  int h = ref && ref->vertRes ? ref->vertRes : GetSystemMetrics(SM_CYSCREEN);
  if (ref && ref->dcKind == DCKind::Printer) w = ref->horzRes, h = ref->vertRes;
  auto dc = std::make_unique<DCObj>();
  dc->dcKind = DCKind::Metafile;
  dc->technology = DT_METAFILE;
  dc->dpiX = dpiX;
  dc->dpiY = dpiY;
  dc->metaFileName = fileName;
  dc->recorder = std::make_unique<Recorder>(w, h, dpiX, dpiY, frame,
                                            AnsiToUtf16(description.data(), int(description.size())));
  return NewDC(std::move(dc));
}

HDC CreateEnhMetaFileA(HDC reference, LPCSTR fileName, const RECT* frame, LPCSTR description) {
  AnsiString desc;
  if (description) {
    // "creator\0title\0\0": up to the double terminator.
    const char* p = description;
    while (*p || *(p + 1)) ++p;
    desc.assign(description, size_t(p - description) + 2);
  }
  return CreateEnhMetaFileDesc(reference, fileName ? fileName : "", frame, desc);
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || dc->dcKind != DCKind::Metafile || !dc->recorder) return nullptr;
  std::vector<uint8_t> bytes = dc->recorder->Close();
  std::string file = dc->metaFileName;
  Destroy(dc);
  if (!file.empty()) {
    try {
      WriteFileBytes(file, bytes);
    } catch (const Exception&) {
      return nullptr;
    }
  }
  return MakeEnhMetaFile(std::move(bytes));
}

BOOL GdiComment(HDC hdc, UINT size, const BYTE* data) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || (!data && size)) return FALSE;
  if (Recorder* r = Rec(dc)) {
    std::vector<uint8_t> body;
    Put(body, DWORD(size));
    body.insert(body.end(), data, data + size);
    r->EmitBytes(EMR_GDICOMMENT, body);
  }
  return TRUE;
}

// ============================================================================ replay ==========

namespace gdi {
namespace {

// The state of one replay: the recording's own mapping, the frame-to-rectangle transform and
// the objects the records made.
struct Player {
  HDC hdc = nullptr;
  std::vector<HGDIOBJ> table;
  DCState rec;  // the recording DC's mapping attributes
  std::vector<DCState> recSaved;
  double sx = 1, sy = 1, ox = 0, oy = 0;  // recording device -> target logical
  std::optional<Region> baseClip;         // the target's clip before the replay
  int savedLevel = 0;

  POINT P(int x, int y) const {
    Mapping m = GetMapping(rec);
    POINT d = m.Map(x, y);
    return {ClampCoord(d.X * sx + ox), ClampCoord(d.Y * sy + oy)};
  }
  POINT P(POINT p) const { return P(p.X, p.Y); }
  RECT R(const RECT& r) const {
    POINT a = P(r.Left, r.Top), b = P(r.Right, r.Bottom);
    return {a.X, a.Y, b.X, b.Y};
  }
  // Inclusive boxes of the records become exclusive rectangles.
  RECT Box(const RECT& r) const { return R({r.Left, r.Top, AddCoord(r.Right, 1), AddCoord(r.Bottom, 1)}); }
  // x, y plus a size read from a record.
  RECT Sized(int x, int y, int w, int h) const { return R({x, y, AddCoord(x, w), AddCoord(y, h)}); }
  int LX(int64_t v) const { return ClampCoord(double(v) * std::fabs(GetMapping(rec).sx * sx)); }
  int LY(int64_t v) const { return ClampCoord(double(v) * std::fabs(GetMapping(rec).sy * sy)); }
  bool Unscaled() const { return sx == 1 && sy == 1 && GetMapping(rec).identity; }

  HGDIOBJ Obj(DWORD index) const {
    if (index & ENHMETA_STOCK_OBJECT) return GetStockObject(int(index & 0x7FFFFFFF));
    return index < table.size() ? table[index] : nullptr;
  }
  void Store(DWORD index, HGDIOBJ h) {
    if (index == 0 || index >= table.size()) {
      DeleteObject(h);
      return;
    }
    if (table[index]) DeleteObject(table[index]);
    table[index] = h;
  }
  // Region of a record (device coordinates of the recording) in device coordinates of the target.
  Region RegionOf(const uint8_t* rgnData, size_t size) const {
    Region out;
    RGNDATAHEADER h;
    if (!ReadAt(rgnData, size, 0, h) || h.nCount > (size - sizeof h) / sizeof(RECT)) return out;
    Mapping tm = GetMapping(LookupDC(hdc)->st);
    for (DWORD i = 0; i < h.nCount; ++i) {
      RECT r;
      std::memcpy(&r, rgnData + sizeof h + i * sizeof(RECT), sizeof r);
      POINT a{ClampCoord(r.Left * sx + ox), ClampCoord(r.Top * sy + oy)};
      POINT b{ClampCoord(r.Right * sx + ox), ClampCoord(r.Bottom * sy + oy)};
      RECT d = tm.MapRect({a.X, a.Y, b.X, b.Y});
      RECT n{std::min(d.Left, d.Right), std::min(d.Top, d.Bottom), std::max(d.Left, d.Right),
             std::max(d.Top, d.Bottom)};
      out.Union(Region(n));
    }
    return out;
  }
};

thread_local Player* currentPlayer = nullptr;

// The header of a DIB embedded in a record, when the header, colour table and bits lie inside it.
// The colour table follows the header at biSize, which the file states: it is checked too.
bool DibInRecord(const uint8_t* rec, size_t size, DWORD offBmi, DWORD cbBmi, DWORD offBits, DWORD cbBits,
                 BITMAPINFOHEADER& h) {
  return cbBmi >= sizeof h && ReadAt(rec, size, offBmi, h) && uint64_t(offBmi) + cbBmi <= size &&
         uint64_t(offBits) + cbBits <= size && h.biSize >= sizeof h &&
         uint64_t(h.biSize) + uint64_t(DibColorCount(h)) * 4 <= cbBmi;
}

// A bitmap and memory DC holding a record's embedded DIB.
struct DibSource {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  bool Load(const uint8_t* rec, size_t size, DWORD offBmi, DWORD cbBmi, DWORD offBits, DWORD cbBits) {
    BITMAPINFOHEADER h;
    if (!DibInRecord(rec, size, offBmi, cbBmi, offBits, cbBits, h)) return false;
    int colors = DibColorCount(h);
    std::vector<RGBQUAD> pal(static_cast<size_t>(colors));
    if (colors) std::memcpy(pal.data(), rec + offBmi + h.biSize, size_t(colors) * 4);
    TSurface s;
    if (!DecodeDib(h, pal.data(), colors, rec + offBits, cbBits, s)) return false;
    bmp = CreateBitmap(s.Width, s.Height, 1, 32, s.Pixels);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bmp);
    return true;
  }
  ~DibSource() {
    if (dc) {
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    if (bmp) DeleteObject(bmp);
  }
};

BOOL PlayRecordUnchecked(Player& pl, const uint8_t* rec, size_t size) {
  DWORD type;
  std::memcpy(&type, rec, 4);
  HDC hdc = pl.hdc;
  auto d = [&](size_t i) {
    DWORD v = 0;
    ReadAt(rec, size, 8 + 4 * i, v);
    return v;
  };
  auto pt = [&](size_t off) {
    POINT p{};
    ReadAt(rec, size, off, p);
    return p;
  };
  auto rect = [&](size_t off) {
    RECT r{};
    ReadAt(rec, size, off, r);
    return r;
  };
  // n points of a polyline-style record from offset at, 32 or 16-bit; empty when they do not fit.
  auto points = [&](DWORD n, size_t at, bool small) {
    std::vector<POINT> out;
    size_t each = small ? 4 : 8;
    if (at > size || n > (size - at) / each) return out;
    for (DWORD i = 0; i < n; ++i) {
      if (small) {
        int16_t xy[2];
        std::memcpy(xy, rec + at + i * 4, 4);
        out.push_back(pl.P(xy[0], xy[1]));
      } else {
        out.push_back(pl.P(pt(at + i * 8)));
      }
    }
    return out;
  };
  switch (type) {
    case EMR_HEADER:
    case EMR_EOF:
    case EMR_GDICOMMENT:
      return TRUE;
    case EMR_SETBKMODE:
      SetBkMode(hdc, int(d(0)));
      return TRUE;
    case EMR_SETBKCOLOR:
      SetBkColor(hdc, d(0));
      return TRUE;
    case EMR_SETTEXTCOLOR:
      SetTextColor(hdc, d(0));
      return TRUE;
    case EMR_SETTEXTALIGN:
      SetTextAlign(hdc, d(0));
      return TRUE;
    case EMR_SETROP2:
      SetROP2(hdc, int(d(0)));
      return TRUE;
    case EMR_SETPOLYFILLMODE:
      SetPolyFillMode(hdc, int(d(0)));
      return TRUE;
    case EMR_SETSTRETCHBLTMODE:
      SetStretchBltMode(hdc, int(d(0)));
      return TRUE;
    case EMR_SETBRUSHORGEX: {
      POINT p = pt(8);
      SetBrushOrgEx(hdc, p.X, p.Y, nullptr);
      return TRUE;
    }
    case EMR_SETMAPMODE:
      pl.rec.mapMode = int(d(0));
      if (pl.rec.mapMode == MM_TEXT) pl.rec.winExt = pl.rec.vpExt = {1, 1};
      return TRUE;
    case EMR_SETWINDOWORGEX:
      pl.rec.winOrg = pt(8);
      return TRUE;
    case EMR_SETVIEWPORTORGEX:
      pl.rec.vpOrg = pt(8);
      return TRUE;
    case EMR_SETWINDOWEXTEX: {
      POINT p = pt(8);
      if (p.X && p.Y) pl.rec.winExt = {p.X, p.Y};
      return TRUE;
    }
    case EMR_SETVIEWPORTEXTEX: {
      POINT p = pt(8);
      if (p.X && p.Y) pl.rec.vpExt = {p.X, p.Y};
      return TRUE;
    }
    case EMR_SAVEDC:
      pl.recSaved.push_back(pl.rec);
      SaveDC(hdc);
      return TRUE;
    case EMR_RESTOREDC: {
      int64_t rel = int32_t(d(0));
      if (rel < 0 && uint64_t(-rel) <= pl.recSaved.size()) {
        pl.rec = pl.recSaved[pl.recSaved.size() - size_t(-rel)];
        pl.recSaved.resize(pl.recSaved.size() - size_t(-rel));
        RestoreDC(hdc, rel);
      }
      return TRUE;
    }
    case EMR_MOVETOEX: {
      POINT p = pl.P(pt(8));
      MoveToEx(hdc, p.X, p.Y, nullptr);
      return TRUE;
    }
    case EMR_LINETO: {
      POINT p = pl.P(pt(8));
      return LineTo(hdc, p.X, p.Y);
    }
    case EMR_SETPIXELV: {
      POINT p = pl.P(pt(8));
      SetPixelV(hdc, p.X, p.Y, d(2));
      return TRUE;
    }
    case EMR_POLYLINE:
    case EMR_POLYGON:
    case EMR_POLYBEZIER:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINE16:
    case EMR_POLYGON16:
    case EMR_POLYBEZIER16:
    case EMR_POLYLINETO16:
    case EMR_POLYBEZIERTO16: {
      bool small = type >= EMR_POLYBEZIER16;
      std::vector<POINT> p = points(d(4), 28, small);
      if (p.empty()) return FALSE;
      DWORD base = small ? type - EMR_POLYBEZIER16 + EMR_POLYBEZIER : type;
      switch (base) {
        case EMR_POLYLINE:
          return Polyline(hdc, p.data(), int(p.size()));
        case EMR_POLYGON:
          return Polygon(hdc, p.data(), int(p.size()));
        case EMR_POLYBEZIER:
          return PolyBezier(hdc, p.data(), DWORD(p.size()));
        case EMR_POLYLINETO:
          return PolylineTo(hdc, p.data(), DWORD(p.size()));
        default:
          return PolyBezierTo(hdc, p.data(), DWORD(p.size()));
      }
    }
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
      bool small = type >= EMR_POLYPOLYLINE16;
      DWORD polys = d(4), total = d(5);
      size_t at = 32 + size_t(polys) * 4;
      if (polys > size / 4 || at > size) return FALSE;
      std::vector<DWORD> counts(polys);
      uint64_t sum = 0;
      for (DWORD i = 0; i < polys; ++i) sum += (counts[i] = d(6 + i));
      if (sum != total) return FALSE;
      std::vector<POINT> p = points(total, at, small);
      if (p.size() != total) return FALSE;
      bool polygon = type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16;
      if (polygon) {
        std::vector<INT> c(counts.begin(), counts.end());
        return PolyPolygon(hdc, p.data(), c.data(), int(c.size()));
      }
      return PolyPolyline(hdc, p.data(), counts.data(), polys);
    }
    case EMR_RECTANGLE:
    case EMR_ELLIPSE: {
      RECT r = pl.Box(rect(8));
      return type == EMR_RECTANGLE ? Rectangle(hdc, r.Left, r.Top, r.Right, r.Bottom)
                                   : Ellipse(hdc, r.Left, r.Top, r.Right, r.Bottom);
    }
    case EMR_ROUNDRECT: {
      RECT r = pl.Box(rect(8));
      POINT c = pt(24);
      return RoundRect(hdc, r.Left, r.Top, r.Right, r.Bottom, pl.LX(c.X), pl.LY(c.Y));
    }
    case EMR_ARC:
    case EMR_PIE:
    case EMR_CHORD: {
      RECT r = pl.Box(rect(8));
      POINT s = pl.P(pt(24)), e = pl.P(pt(32));
      auto fn = type == EMR_ARC ? Arc : type == EMR_PIE ? Pie : Chord;
      return fn(hdc, r.Left, r.Top, r.Right, r.Bottom, s.X, s.Y, e.X, e.Y);
    }
    case EMR_EXTFLOODFILL: {
      POINT p = pl.P(pt(8));
      return ExtFloodFill(hdc, p.X, p.Y, d(2), d(3));
    }
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT: {
      RECT r = pl.R(rect(8));
      return (type == EMR_INTERSECTCLIPRECT ? IntersectClipRect : ExcludeClipRect)(
                 hdc, r.Left, r.Top, r.Right, r.Bottom) != ERROR;
    }
    case EMR_OFFSETCLIPRGN: {
      POINT p = pt(8);
      OffsetClipRgn(hdc, ClampCoord(p.X * pl.sx), ClampCoord(p.Y * pl.sy));
      return TRUE;
    }
    case EMR_EXTSELECTCLIPRGN: {
      DWORD cb = d(0), mode = d(1);
      DCObj* dc = LookupDC(hdc);
      if (!dc || size_t(16) + cb > size) return FALSE;
      if (cb == 0) {
        dc->st.clip = pl.baseClip;
      } else {
        Region r = pl.RegionOf(rec + 16, cb);
        HRGN h = CreateRectRgn(0, 0, 0, 0);
        LookupAs<RegionObj>(h, Kind::Region)->rgn = r;
        ExtSelectClipRgn(hdc, h, int(mode));
        DeleteObject(h);
        if (pl.baseClip && dc->st.clip) dc->st.clip->Intersect(*pl.baseClip);
      }
      dc->InvalidateClip();
      return TRUE;
    }
    case EMR_SELECTOBJECT: {
      HGDIOBJ h = pl.Obj(d(0));
      return h && SelectObject(hdc, h) ? TRUE : FALSE;
    }
    case EMR_DELETEOBJECT: {
      DWORD i = d(0);
      if (i < pl.table.size() && pl.table[i]) {
        DeleteObject(pl.table[i]);
        pl.table[i] = nullptr;
      }
      return TRUE;
    }
    case EMR_CREATEPEN: {
      LOGPEN lp;
      if (!ReadAt(rec, size, 12, lp)) return FALSE;
      if (lp.lopnWidth.X > 1) lp.lopnWidth.X = std::max(1, pl.LX(lp.lopnWidth.X));
      pl.Store(d(0), CreatePenIndirect(&lp));
      return TRUE;
    }
    case EMR_EXTCREATEPEN: {
      DWORD style = d(5), width = d(6), n = d(10);
      LOGBRUSH lb{d(7), d(8), d(9)};
      if (n > 16 || 8 + 44 + size_t(n) * 4 > size) return FALSE;
      std::vector<DWORD> entries;
      for (DWORD i = 0; i < n; ++i) entries.push_back(d(11 + i));
      if ((style & PS_TYPE_MASK) == PS_GEOMETRIC && width > 1) width = DWORD(std::max(1, pl.LX(int(width))));
      pl.Store(d(0), ExtCreatePen(style, width, &lb, n, n ? entries.data() : nullptr));
      return TRUE;
    }
    case EMR_CREATEBRUSHINDIRECT: {
      LOGBRUSH lb{d(1), d(2), d(3)};
      pl.Store(d(0), CreateBrushIndirect(&lb));
      return TRUE;
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
      DibSource src;
      if (!src.Load(rec, size, d(2), d(3), d(4), d(5))) return FALSE;
      HBITMAP pat = src.bmp;
      if (type == EMR_CREATEMONOBRUSH) {
        // Keep the pattern monochrome so that it takes the DC's colours.
        TSurface* s = GetBitmapSurface(pat);
        HBITMAP mono = CreateBitmap(s->Width, s->Height, 1, 1, nullptr);
        TSurface* ms = GetBitmapSurface(mono);
        std::memcpy(ms->Pixels, s->Pixels, size_t(s->Width) * s->Height * 4);
        pl.Store(d(0), CreatePatternBrush(mono));
        DeleteObject(mono);
      } else {
        pl.Store(d(0), CreatePatternBrush(pat));
      }
      return TRUE;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      LOGFONTW lf;
      if (!ReadAt(rec, size, 12, lf)) return FALSE;
      lf.lfFaceName[LF_FACESIZE - 1] = 0;
      if (!pl.Unscaled())
        lf.lfHeight = lf.lfHeight < 0 ? -std::max(1, pl.LY(-int64_t(lf.lfHeight))) : pl.LY(lf.lfHeight);
      pl.Store(d(0), CreateFontIndirectW(&lf));
      return TRUE;
    }
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW: {
      // Bounds, graphics mode, scales, then the text record.
      POINT ref = pl.P(pt(36));
      DWORD n = d(9), offString = d(10), options = d(11), offDx = d(16);
      RECT rc = pl.R(rect(56));
      size_t unit = type == EMR_EXTTEXTOUTA ? 1 : 2;
      if (n > size || offString > size || size - offString < n * unit) return FALSE;
      std::vector<INT> dx;
      if (offDx) {
        if (offDx > size || (size - offDx) / 4 < n) return FALSE;
        for (DWORD i = 0; i < n; ++i) {
          int32_t v;
          std::memcpy(&v, rec + offDx + 4 * i, 4);
          dx.push_back(pl.Unscaled() ? v : ClampCoord(v * pl.sx * GetMapping(pl.rec).sx));
        }
      }
      const RECT* prc = (options & (ETO_OPAQUE | ETO_CLIPPED)) ? &rc : nullptr;
      if (type == EMR_EXTTEXTOUTA)
        return ExtTextOutA(hdc, ref.X, ref.Y, options, prc, reinterpret_cast<const char*>(rec + offString), n,
                           dx.empty() ? nullptr : dx.data());
      std::u16string text(n, u'\0');
      std::memcpy(text.data(), rec + offString, size_t(n) * 2);
      return ExtTextOutW(hdc, ref.X, ref.Y, options, prc, text.data(), n, dx.empty() ? nullptr : dx.data());
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_TRANSPARENTBLT:
    case EMR_ALPHABLEND: {
      int x = int(d(4)), y = int(d(5)), w = int(d(6)), h = int(d(7));
      DWORD rop = d(8);
      RECT dr = pl.Sized(x, y, w, h);
      DWORD offBmi = d(19), cbBmi = d(20), offBits = d(21), cbBits = d(22);
      if (type == EMR_BITBLT && cbBmi == 0) return PatBlt(hdc, dr.Left, dr.Top, dr.Width(), dr.Height(), rop);
      DibSource src;
      if (!src.Load(rec, size, offBmi, cbBmi, offBits, cbBits)) return FALSE;
      int xs = int(d(9)), ys = int(d(10));
      int ws = type == EMR_BITBLT ? w : int(d(23)), hs = type == EMR_BITBLT ? h : int(d(24));
      switch (type) {
        case EMR_TRANSPARENTBLT:
          return TransparentBlt(hdc, dr.Left, dr.Top, dr.Width(), dr.Height(), src.dc, xs, ys, ws, hs, rop);
        case EMR_ALPHABLEND: {
          BLENDFUNCTION bf{BYTE(rop), BYTE(rop >> 8), BYTE(rop >> 16), BYTE(rop >> 24)};
          return AlphaBlend(hdc, dr.Left, dr.Top, dr.Width(), dr.Height(), src.dc, xs, ys, ws, hs, bf);
        }
        default:
          if (dr.Width() == ws && dr.Height() == hs)
            return BitBlt(hdc, dr.Left, dr.Top, ws, hs, src.dc, xs, ys, rop);
          return StretchBlt(hdc, dr.Left, dr.Top, dr.Width(), dr.Height(), src.dc, xs, ys, ws, hs, rop);
      }
    }
    case EMR_STRETCHDIBITS: {
      int xd = int(d(4)), yd = int(d(5)), xs = int(d(6)), ys = int(d(7)), ws = int(d(8)), hs = int(d(9));
      DWORD offBmi = d(10), cbBmi = d(11), offBits = d(12), cbBits = d(13), usage = d(14), rop = d(15);
      int wd = int(d(16)), hd = int(d(17));
      BITMAPINFOHEADER h;
      if (!DibInRecord(rec, size, offBmi, cbBmi, offBits, cbBits, h) || DibImageSize(h) > cbBits)
        return FALSE;
      std::vector<uint8_t> bmi(rec + offBmi, rec + offBmi + cbBmi);
      RECT dr = pl.Sized(xd, yd, wd, hd);
      return StretchDIBits(hdc, dr.Left, dr.Top, dr.Width(), dr.Height(), xs, ys, ws, hs, rec + offBits,
                           reinterpret_cast<const BITMAPINFO*>(bmi.data()), usage, rop) != 0;
    }
    case EMR_FILLRGN:
    case EMR_PAINTRGN:
    case EMR_INVERTRGN: {
      size_t at = type == EMR_FILLRGN ? 32 : 28;
      DWORD cb = d(4);
      if (at + size_t(cb) > size) return FALSE;
      Region r = pl.RegionOf(rec + at, cb);
      // The region is in target device coordinates; paint it in logical ones.
      Mapping tm = GetMapping(LookupDC(hdc)->st);
      if (tm.identity) r.Offset(-tm.ix, -tm.iy);
      HRGN h = CreateRectRgn(0, 0, 0, 0);
      LookupAs<RegionObj>(h, Kind::Region)->rgn = r;
      BOOL ok = type == EMR_FILLRGN    ? FillRgn(hdc, h, static_cast<HBRUSH>(pl.Obj(d(5))))
                : type == EMR_PAINTRGN ? PaintRgn(hdc, h)
                                       : InvertRgn(hdc, h);
      DeleteObject(h);
      return ok;
    }
    default:
      return TRUE;  // records we neither write nor need are skipped
  }
}

// One record, whatever its fields hold: a record whose sizes are out of reach (a bitmap too large
// to make, say) is not drawn, and the replay goes on.
BOOL PlayRecord(Player& pl, const uint8_t* rec, size_t size) {
  try {
    return PlayRecordUnchecked(pl, rec, size);
  } catch (const std::exception&) {
    return FALSE;
  }
}

// Prepares a replay of emf onto hdc into rc (nullptr: the picture's own frame at its place).
bool BeginPlay(Player& pl, HDC hdc, const EmfObj& e, const RECT* rc) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return false;
  ENHMETAHEADER h = HeaderOf(e);
  pl.hdc = hdc;
  pl.table.assign(std::max<size_t>(h.nHandles, 1), nullptr);
  // The frame in pixels of the reference device.
  double kx = h.szlMicrometers.cx   ? h.szlDevice.cx * 10.0 / h.szlMicrometers.cx
              : h.szlMillimeters.cx ? h.szlDevice.cx / (h.szlMillimeters.cx * 100.0)
                                    : 96 / 2540.0;
  double ky = h.szlMicrometers.cy   ? h.szlDevice.cy * 10.0 / h.szlMicrometers.cy
              : h.szlMillimeters.cy ? h.szlDevice.cy / (h.szlMillimeters.cy * 100.0)
                                    : 96 / 2540.0;
  RECT f{ClampCoord(h.rclFrame.Left * kx), ClampCoord(h.rclFrame.Top * ky), ClampCoord(h.rclFrame.Right * kx),
         ClampCoord(h.rclFrame.Bottom * ky)};
  RECT target = rc ? *rc : f;
  double fw = double(f.Right) - f.Left, fh = double(f.Bottom) - f.Top;
  if (fw != 0 && fh != 0) {
    pl.sx = (double(target.Right) - target.Left) / fw;
    pl.sy = (double(target.Bottom) - target.Top) / fh;
  }
  pl.ox = target.Left - f.Left * pl.sx;
  pl.oy = target.Top - f.Top * pl.sy;
  pl.savedLevel = SaveDC(hdc);
  pl.baseClip = dc->st.clip;
  // Replay starts from the defaults the recording started from.
  SelectObject(hdc, GetStockObject(BLACK_PEN));
  SelectObject(hdc, GetStockObject(WHITE_BRUSH));
  SelectObject(hdc, GetStockObject(SYSTEM_FONT));
  SetBkMode(hdc, OPAQUE);
  SetBkColor(hdc, 0xFFFFFF);
  SetTextColor(hdc, 0);
  SetROP2(hdc, R2_COPYPEN);
  SetPolyFillMode(hdc, ALTERNATE);
  SetTextAlign(hdc, 0);
  return true;
}

void EndPlay(Player& pl) {
  RestoreDC(pl.hdc, pl.savedLevel);
  for (HGDIOBJ o : pl.table)
    if (o) DeleteObject(o);
}

}  // namespace
}  // namespace gdi

BOOL PlayEnhMetaFile(HDC hdc, HENHMETAFILE emf, const RECT* rc) {
  EmfObj* e = Emf(emf);
  if (!e || !rc) return FALSE;
  Player pl;
  if (!BeginPlay(pl, hdc, *e, rc)) return FALSE;
  Player* outer = currentPlayer;
  currentPlayer = &pl;
  BOOL ok = TRUE;
  for (uint32_t off : e->recordOffsets) {
    DWORD n;
    std::memcpy(&n, e->bytes.data() + off + 4, 4);
    if (!PlayRecord(pl, e->bytes.data() + off, n)) ok = FALSE;
  }
  currentPlayer = outer;
  EndPlay(pl);
  (void)ok;  // a record that cannot be drawn does not stop the picture
  return TRUE;
}

// ============================================================================ enumeration =====

BOOL EnumEnhMetaFile(HDC hdc, HENHMETAFILE emf, ENHMFENUMPROC proc, void* data, const RECT* rc) {
  EmfObj* e = Emf(emf);
  if (!e || !proc || (hdc && !rc)) return FALSE;
  Player pl;
  bool playing = hdc && BeginPlay(pl, hdc, *e, rc);
  ENHMETAHEADER h = HeaderOf(*e);
  std::vector<HGDIOBJ> handles(std::max<size_t>(h.nHandles, 1), nullptr);
  Player* outer = currentPlayer;
  if (playing) currentPlayer = &pl;
  BOOL result = TRUE;
  for (uint32_t off : e->recordOffsets) {
    auto* record = reinterpret_cast<const ENHMETARECORD*>(e->bytes.data() + off);
    if (!proc(hdc, reinterpret_cast<HANDLETABLE*>(playing ? pl.table.data() : handles.data()), record,
              int(h.nHandles), reinterpret_cast<LPARAM>(data))) {
      result = FALSE;
      break;
    }
  }
  currentPlayer = outer;
  if (playing) EndPlay(pl);
  return result;
}

BOOL PlayEnhMetaFileRecord(HDC hdc, HANDLETABLE*, const ENHMETARECORD* record, UINT) {
  if (!record || !currentPlayer || currentPlayer->hdc != hdc) return FALSE;
  return PlayRecord(*currentPlayer, reinterpret_cast<const uint8_t*>(record), record->nSize);
}
