// Surfaces and device contexts: creation and deletion, attributes, SaveDC/RestoreDC, coordinate
// mapping, clipping and device capabilities.
//
// Sections: surfaces / device context records / creation / attributes / saved states /
// coordinates / clipping / capabilities.
#include <cmath>
#include <cstring>

#include "platform/os/gdi/Recorder.h"

// ============================================================================ surfaces ========

void CheckSurfaceSize(int64_t width, int64_t height) {
  if (width < 0 || height < 0 || width > (1 << 20) || height > (1 << 20) ||
      width * height > TSurface::kMaxPixels)
    throw EOutOfResources("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels is too large");
}

TSurface::TSurface(int32_t width, int32_t height) { Resize(width, height); }

TSurface::TSurface(uint32_t* external, int32_t width, int32_t height)
    : Width(external ? width : 0),
      Height(external ? height : 0),
      Stride(external ? width * 4 : 0),
      Pixels(external) {}

void TSurface::Resize(int32_t width, int32_t height) {
  owned_.reset();
  Pixels = nullptr;
  Width = Height = Stride = 0;
  ++Generation;
  if (width <= 0 || height <= 0) return;
  CheckSurfaceSize(width, height);
  owned_.reset(new uint32_t[size_t(width) * size_t(height)]());
  Pixels = owned_.get();
  Width = width;
  Height = height;
  Stride = width * 4;
}

namespace gdi {

// ============================================================================ device context records

DCObj::DCObj() : Object(Kind::DC) {}

DCObj::~DCObj() {
  auto releaseState = [](DCState& s) {
    Release(s.pen);
    Release(s.brush);
    Release(s.font);
    Release(s.palette);
    if (s.bitmap) Release(s.bitmap);
  };
  for (auto& s : saved) releaseState(s);
  if (st.bitmap && !st.bitmap->stock && st.bitmap->selectedIn == handle) st.bitmap->selectedIn = 0;
  releaseState(st);
}

TSurface* DCObj::Target() const {
  if (dcKind == DCKind::Memory) return st.bitmap ? st.bitmap->surface.get() : nullptr;
  if (dcKind == DCKind::Surface) return surface;
  return nullptr;
}

const Region& DCObj::EffectiveClip() {
  TSurface* s = Target();
  if (clipValid && s) return effClip;
  if (!s || s->Empty()) {
    effClip = Region();
    return effClip;
  }
  // Worked out in device coordinates, so that the clip regions need no moved copies.
  int64_t ox = surfaceOrigin.X, oy = surfaceOrigin.Y;
  effClip.SetRect({ClampCoord(-ox), ClampCoord(-oy), ClampCoord(s->Width - ox), ClampCoord(s->Height - oy)});
  if (visRgn) effClip.Intersect(*visRgn);
  if (st.clip) effClip.Intersect(*st.clip);
  effClip.Offset(surfaceOrigin.X, surfaceOrigin.Y);
  clipValid = true;
  return effClip;
}

DCObj* LookupDC(HDC hdc) { return LookupAs<DCObj>(hdc, Kind::DC); }

void InitState(DCObj* dc) {
  dc->st = DCState{};
  SetCurrent(dc, StockPen(BLACK_PEN));
  SetCurrent(dc, StockBrush(WHITE_BRUSH));
  SetCurrent(dc, StockFont(SYSTEM_FONT));
  SetCurrent(dc, StockPalette());
  if (dc->dcKind == DCKind::Memory) SetCurrent(dc, StockBitmap());
}

HDC NewDC(std::unique_ptr<DCObj> dc) {
  DCObj* raw = dc.get();
  HDC h = reinterpret_cast<HDC>(Register(std::move(dc)));
  InitState(raw);
  return h;
}

// ============================================================================ coordinates =====

POINT Mapping::Map(int x, int y) const {
  if (identity) return {ClampCoord(x + ix), ClampCoord(y + iy)};
  return {ClampCoord(x * sx + tx), ClampCoord(y * sy + ty)};
}

RECT Mapping::MapRect(const RECT& r) const {
  POINT a = Map(r.Left, r.Top), b = Map(r.Right, r.Bottom);
  return {a.X, a.Y, b.X, b.Y};
}

// Lengths are magnitudes whatever the mapping; callers put the sign back.
int Mapping::MapLenX(int v) const {
  return identity ? ClampCoord(std::abs(int64_t(v))) : ClampCoord(std::fabs(v * sx));
}
int Mapping::MapLenY(int v) const {
  return identity ? ClampCoord(std::abs(int64_t(v))) : ClampCoord(std::fabs(v * sy));
}

POINT Mapping::Unmap(int x, int y) const {
  auto toInt = [](double v) { return int(std::clamp(std::round(v), double(INT32_MIN), double(INT32_MAX))); };
  if (identity) return {toInt(double(x - ix)), toInt(double(y - iy))};
  return {toInt((x - tx) / sx), toInt((y - ty) / sy)};
}

namespace {

// Device units per logical unit of the fixed mapping modes, from the DC's resolution.
void FixedScale(const DCObj* dc, int mode, double& sx, double& sy) {
  double perInch = mode == MM_LOMETRIC    ? 254
                   : mode == MM_HIMETRIC  ? 2540
                   : mode == MM_LOENGLISH ? 100
                   : mode == MM_HIENGLISH ? 1000
                                          : 1440;
  sx = dc->dpiX / perInch;
  sy = -dc->dpiY / perInch;
}

}  // namespace

Mapping GetMapping(const DCState& st) {
  Mapping m;
  double sx = 1, sy = 1;
  if (st.mapMode != MM_TEXT) {
    sx = double(st.vpExt.cx) / (st.winExt.cx ? st.winExt.cx : 1);
    sy = double(st.vpExt.cy) / (st.winExt.cy ? st.winExt.cy : 1);
  }
  m.sx = sx;
  m.sy = sy;
  m.tx = st.vpOrg.X - st.winOrg.X * sx;
  m.ty = st.vpOrg.Y - st.winOrg.Y * sy;
  m.identity = sx == 1 && sy == 1;
  m.ix = int64_t(st.vpOrg.X) - st.winOrg.X;
  m.iy = int64_t(st.vpOrg.Y) - st.winOrg.Y;
  return m;
}

std::u16string AnsiToUtf16(LPCSTR text, int count);

}  // namespace gdi

using namespace gdi;

// ============================================================================ creation ========

HDC CreateCompatibleDC(HDC hdc) {
  DCObj* model = hdc ? LookupDC(hdc) : nullptr;
  if (hdc && !model) return nullptr;
  auto dc = std::make_unique<DCObj>();
  dc->dcKind = DCKind::Memory;
  if (model && model->dcKind == DCKind::Printer) {
    dc->dpiX = model->dpiX;
    dc->dpiY = model->dpiY;
  }
  return NewDC(std::move(dc));
}

HDC CreateDCA(LPCSTR driver, LPCSTR, LPCSTR, const void*) {
  if (!driver || std::strcmp(driver, "DISPLAY") != 0) return nullptr;
  auto dc = std::make_unique<DCObj>();
  dc->dcKind = DCKind::Info;
  return NewDC(std::move(dc));
}

HDC CreateSurfaceDC(TSurface* surface) {
  if (!surface) return nullptr;
  auto dc = std::make_unique<DCObj>();
  dc->dcKind = DCKind::Surface;
  dc->surface = surface;
  return NewDC(std::move(dc));
}

BOOL DeleteDC(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  Destroy(dc);
  return TRUE;
}

void SetDCSurfaceOrigin(HDC hdc, int x, int y) {
  if (DCObj* dc = LookupDC(hdc)) {
    dc->surfaceOrigin = {x, y};
    dc->InvalidateClip();
  }
}

void SetDCVisibleRegion(HDC hdc, HRGN rgn) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return;
  auto* r = LookupAs<RegionObj>(rgn, Kind::Region);
  if (r)
    dc->visRgn = r->rgn;
  else
    dc->visRgn.reset();
  dc->InvalidateClip();
}

TSurface* GetDCSurface(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  return dc ? dc->Target() : nullptr;
}

BOOL GdiFlush() { return TRUE; }

// ============================================================================ attributes ======

namespace {

// Sets one attribute, records it with the given record type, answers the old value.
template <class T>
T SetAttr(HDC hdc, T DCState::*field, T value, DWORD recordType, T failure) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return failure;
  T old = dc->st.*field;
  dc->st.*field = value;
  if (Recorder* r = Rec(dc)) r->Emit(recordType, DWORD(value));
  return old;
}

template <class T>
T GetAttr(HDC hdc, T DCState::*field, T failure) {
  DCObj* dc = LookupDC(hdc);
  return dc ? dc->st.*field : failure;
}

}  // namespace

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return SetAttr(hdc, &DCState::bkMode, mode, EMR_SETBKMODE, 0);
}
int GetBkMode(HDC hdc) { return GetAttr(hdc, &DCState::bkMode, 0); }
COLORREF SetBkColor(HDC hdc, COLORREF c) {
  return SetAttr(hdc, &DCState::bkColor, c, EMR_SETBKCOLOR, CLR_INVALID);
}
COLORREF GetBkColor(HDC hdc) { return GetAttr(hdc, &DCState::bkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC hdc, COLORREF c) {
  return SetAttr(hdc, &DCState::textColor, c, EMR_SETTEXTCOLOR, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) { return GetAttr(hdc, &DCState::textColor, CLR_INVALID); }
UINT SetTextAlign(HDC hdc, UINT a) {
  return SetAttr(hdc, &DCState::textAlign, a, EMR_SETTEXTALIGN, UINT(-1));
}
UINT GetTextAlign(HDC hdc) { return GetAttr(hdc, &DCState::textAlign, UINT(-1)); }
int SetROP2(HDC hdc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return SetAttr(hdc, &DCState::rop2, rop2, EMR_SETROP2, 0);
}
int GetROP2(HDC hdc) { return GetAttr(hdc, &DCState::rop2, 0); }
int SetPolyFillMode(HDC hdc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return SetAttr(hdc, &DCState::polyFill, mode, EMR_SETPOLYFILLMODE, 0);
}
int GetPolyFillMode(HDC hdc) { return GetAttr(hdc, &DCState::polyFill, 0); }
int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return SetAttr(hdc, &DCState::stretchMode, mode, EMR_SETSTRETCHBLTMODE, 0);
}
int GetStretchBltMode(HDC hdc) { return GetAttr(hdc, &DCState::stretchMode, 0); }
int SetArcDirection(HDC hdc, int dir) {
  if (dir != AD_COUNTERCLOCKWISE && dir != AD_CLOCKWISE) return 0;
  DCObj* dc = LookupDC(hdc);
  if (!dc) return 0;
  int old = dc->st.arcDir;
  dc->st.arcDir = dir;
  return old;
}
int GetArcDirection(HDC hdc) { return GetAttr(hdc, &DCState::arcDir, 0); }

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->st.brushOrg;
  dc->st.brushOrg = {x, y};
  if (Recorder* r = Rec(dc)) r->Emit(EMR_SETBRUSHORGEX, POINT{x, y});
  return TRUE;
}
BOOL GetBrushOrgEx(HDC hdc, LPPOINT pt) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->st.brushOrg;
  return TRUE;
}

// Character extra and justification are carried into the spacing of each text record.
int SetTextCharacterExtra(HDC hdc, int extra) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return int(0x80000000);
  int old = dc->st.charExtra;
  dc->st.charExtra = extra;
  return old;
}
int GetTextCharacterExtra(HDC hdc) { return GetAttr(hdc, &DCState::charExtra, int(0x80000000)); }

BOOL SetTextJustification(HDC hdc, int breakExtra, int breakCount) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  dc->st.breakExtra = breakCount > 0 ? breakExtra : 0;
  dc->st.breakCount = breakCount > 0 ? breakCount : 0;
  return TRUE;
}

COLORREF SetDCBrushColor(HDC hdc, COLORREF c) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->st.dcBrushColor;
  dc->st.dcBrushColor = c;
  return old;
}
COLORREF SetDCPenColor(HDC hdc, COLORREF c) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->st.dcPenColor;
  dc->st.dcPenColor = c;
  return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return ToHandle<HGDIOBJ>(dc->st.pen);
    case OBJ_BRUSH:
      return ToHandle<HGDIOBJ>(dc->st.brush);
    case OBJ_FONT:
      return ToHandle<HGDIOBJ>(dc->st.font);
    case OBJ_PAL:
      return ToHandle<HGDIOBJ>(dc->st.palette);
    case OBJ_BITMAP:
      return ToHandle<HGDIOBJ>(dc->st.bitmap);
    default:
      return nullptr;
  }
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->st.curPos;
  return TRUE;
}

// ============================================================================ saved states ====

int SaveDC(HDC hdc) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return 0;
  DCState copy = dc->st;
  AddRef(copy.pen);
  AddRef(copy.brush);
  AddRef(copy.font);
  AddRef(copy.palette);
  AddRef(copy.bitmap);
  dc->saved.push_back(std::move(copy));
  if (Recorder* r = Rec(dc)) r->Emit(EMR_SAVEDC);
  return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int level) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  int n = int(dc->saved.size());
  int target = level < 0 ? n + level + 1 : level;  // 1-based index of the state to restore
  if (target < 1 || target > n) return FALSE;
  if (Recorder* r = Rec(dc)) r->Emit(EMR_RESTOREDC, int32_t(target - n - 1));
  BitmapObj* before = dc->st.bitmap;
  DCState restored = std::move(dc->saved[size_t(target - 1)]);
  // Drop the states above the restored one, then swap the restored one in.
  for (int i = n - 1; i >= target - 1; --i) {
    if (i != target - 1) {
      DCState& s = dc->saved[size_t(i)];
      Release(s.pen), Release(s.brush), Release(s.font), Release(s.palette), Release(s.bitmap);
    }
  }
  dc->saved.resize(size_t(target - 1));
  DCState old = std::move(dc->st);
  dc->st = std::move(restored);
  if (before != dc->st.bitmap) {
    if (before && !before->stock && before->selectedIn == dc->handle) before->selectedIn = 0;
    if (dc->st.bitmap && !dc->st.bitmap->stock) dc->st.bitmap->selectedIn = dc->handle;
  }
  Release(old.pen), Release(old.brush), Release(old.font), Release(old.palette), Release(old.bitmap);
  dc->InvalidateClip();
  return TRUE;
}

// ============================================================================ coordinates =====

int SetMapMode(HDC hdc, int mode) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  int old = dc->st.mapMode;
  dc->st.mapMode = mode;
  if (mode == MM_TEXT) {
    dc->st.winExt = dc->st.vpExt = {1, 1};
  } else if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) {
    double sx, sy;
    FixedScale(dc, mode, sx, sy);
    // Express the fixed scale as extents (1000 logical units).
    dc->st.winExt = {1000, 1000};
    dc->st.vpExt = {int(std::lround(sx * 1000)), int(std::lround(sy * 1000))};
  }
  if (Recorder* r = Rec(dc)) r->Emit(EMR_SETMAPMODE, DWORD(mode));
  return old;
}
int GetMapMode(HDC hdc) { return GetAttr(hdc, &DCState::mapMode, 0); }

namespace {

BOOL SetPoint(HDC hdc, POINT DCState::*field, int x, int y, LPPOINT old, DWORD recordType) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->st.*field;
  dc->st.*field = {x, y};
  if (Recorder* r = Rec(dc)) r->Emit(recordType, POINT{x, y});
  return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DCState::*field, LPPOINT pt) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->st.*field;
  return TRUE;
}

BOOL SetExt(HDC hdc, SIZE DCState::*field, int x, int y, LPSIZE old, DWORD recordType) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->st.*field;
  if (dc->st.mapMode != MM_ISOTROPIC && dc->st.mapMode != MM_ANISOTROPIC) return TRUE;
  if (x == 0 || y == 0) return FALSE;
  dc->st.*field = {x, y};
  if (Recorder* r = Rec(dc)) r->Emit(recordType, SIZE{x, y});
  return TRUE;
}

}  // namespace

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return SetPoint(hdc, &DCState::winOrg, x, y, old, EMR_SETWINDOWORGEX);
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DCState::winOrg, pt); }
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return SetPoint(hdc, &DCState::vpOrg, x, y, old, EMR_SETVIEWPORTORGEX);
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DCState::vpOrg, pt); }
namespace {
int SaturatedAdd(int a, int b) { return int(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX)); }
}  // namespace

BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT p = dc->st.winOrg;
  return SetWindowOrgEx(hdc, SaturatedAdd(p.X, dx), SaturatedAdd(p.Y, dy), old);
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT p = dc->st.vpOrg;
  return SetViewportOrgEx(hdc, SaturatedAdd(p.X, dx), SaturatedAdd(p.Y, dy), old);
}
BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE old) {
  return SetExt(hdc, &DCState::winExt, x, y, old, EMR_SETWINDOWEXTEX);
}
BOOL GetWindowExtEx(HDC hdc, LPSIZE size) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !size) return FALSE;
  *size = dc->st.winExt;
  return TRUE;
}
BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE old) {
  return SetExt(hdc, &DCState::vpExt, x, y, old, EMR_SETVIEWPORTEXTEX);
}
BOOL GetViewportExtEx(HDC hdc, LPSIZE size) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !size) return FALSE;
  *size = dc->st.vpExt;
  return TRUE;
}

BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || (!points && count > 0)) return FALSE;
  Mapping m = GetMapping(dc->st);
  for (int i = 0; i < count; ++i) points[i] = m.Map(points[i]);
  return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT points, int count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || (!points && count > 0)) return FALSE;
  Mapping m = GetMapping(dc->st);
  for (int i = 0; i < count; ++i) points[i] = m.Unmap(points[i].X, points[i].Y);
  return TRUE;
}

// ============================================================================ clipping ========

namespace {

// The visible area in device coordinates: the surface (or reference device) and the system clip.
Region DeviceArea(DCObj* dc) {
  TSurface* s = dc->Target();
  Region area;
  if (s && !s->Empty()) {
    area.SetRect({-dc->surfaceOrigin.X, -dc->surfaceOrigin.Y, s->Width - dc->surfaceOrigin.X,
                  s->Height - dc->surfaceOrigin.Y});
  } else {
    int w = dc->horzRes, h = dc->vertRes;
    if (dc->recorder) w = dc->recorder->RefWidth(), h = dc->recorder->RefHeight();
    area.SetRect({0, 0, w > 0 ? w : 1 << 20, h > 0 ? h : 1 << 20});
  }
  if (dc->visRgn) area.Intersect(*dc->visRgn);
  return area;
}

int ClipResult(DCObj* dc) {
  dc->InvalidateClip();
  Region r = DeviceArea(dc);
  if (dc->st.clip) r.Intersect(*dc->st.clip);
  return r.Kind();
}

}  // namespace

namespace gdi {
void RecordClipRegion(DCObj* dc, const Region* rgn, int mode) {
  Recorder* rec = Rec(dc);
  if (!rec) return;
  std::vector<uint8_t> body;
  int n = 0;
  const pixman_box32_t* boxes = rgn ? rgn->Boxes(&n) : nullptr;
  DWORD size = rgn ? DWORD(sizeof(RGNDATAHEADER) + size_t(n) * sizeof(RECT)) : 0;
  Put(body, size);
  Put(body, DWORD(mode));
  if (rgn) {
    RGNDATAHEADER h;
    h.nCount = DWORD(n);
    h.nRgnSize = DWORD(size_t(n) * sizeof(RECT));
    h.rcBound = rgn->Box();
    Put(body, h);
    for (int i = 0; i < n; ++i) Put(body, RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  }
  rec->EmitBytes(EMR_EXTSELECTCLIPRGN, body);
}
}  // namespace gdi

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  auto* r = LookupAs<RegionObj>(rgn, Kind::Region);
  if (!r) {
    if (mode != RGN_COPY) return ERROR;
    dc->st.clip.reset();
    RecordClipRegion(dc, nullptr, RGN_COPY);
    return ClipResult(dc);
  }
  RecordClipRegion(dc, &r->rgn, mode);
  if (mode == RGN_COPY || !dc->st.clip) {
    // Combining with "no clip" starts from the whole device.
    Region base = mode == RGN_COPY ? r->rgn : DeviceArea(dc);
    if (mode != RGN_COPY) {
      Region tmp = base;
      switch (mode) {
        case RGN_AND:
          tmp.Intersect(r->rgn);
          break;
        case RGN_OR:
          tmp.Union(r->rgn);
          break;
        case RGN_XOR:
          tmp.Xor(r->rgn);
          break;
        case RGN_DIFF:
          tmp.Subtract(r->rgn);
          break;
        default:
          return ERROR;
      }
      base = tmp;
    }
    dc->st.clip = base;
    return ClipResult(dc);
  }
  Region& c = *dc->st.clip;
  switch (mode) {
    case RGN_AND:
      c.Intersect(r->rgn);
      break;
    case RGN_OR:
      c.Union(r->rgn);
      break;
    case RGN_XOR:
      c.Xor(r->rgn);
      break;
    case RGN_DIFF:
      c.Subtract(r->rgn);
      break;
    default:
      return ERROR;
  }
  return ClipResult(dc);
}

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

namespace {

RECT DeviceRect(DCObj* dc, int l, int t, int r, int b) {
  Mapping m = GetMapping(dc->st);
  RECT d = m.MapRect({l, t, r, b});
  if (d.Left > d.Right) std::swap(d.Left, d.Right);
  if (d.Top > d.Bottom) std::swap(d.Top, d.Bottom);
  return d;
}

}  // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (Recorder* r = Rec(dc)) r->Emit(EMR_INTERSECTCLIPRECT, RECT{left, top, right, bottom});
  // An inverted rectangle clips everything away (it is not normalised).
  RECT d = GetMapping(dc->st).MapRect({left, top, right, bottom});
  Region rr(d.IsEmpty() ? RECT{} : d);
  if (!dc->st.clip) dc->st.clip = DeviceArea(dc);
  dc->st.clip->Intersect(rr);
  return ClipResult(dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (Recorder* r = Rec(dc)) r->Emit(EMR_EXCLUDECLIPRECT, RECT{left, top, right, bottom});
  RECT d = DeviceRect(dc, left, top, right, bottom);
  if (!dc->st.clip) dc->st.clip = DeviceArea(dc);
  dc->st.clip->Subtract(Region(d));
  return ClipResult(dc);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (Recorder* r = Rec(dc)) r->Emit(EMR_OFFSETCLIPRGN, POINT{dx, dy});
  if (dc->st.clip) {
    Mapping m = GetMapping(dc->st);
    dc->st.clip->Offset(m.MapLenX(dx) * (dx < 0 ? -1 : 1), m.MapLenY(dy) * (dy < 0 ? -1 : 1));
  }
  return ClipResult(dc);
}

int GetClipBox(HDC hdc, LPRECT rc) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !rc) return ERROR;
  Region r = DeviceArea(dc);
  if (dc->st.clip) r.Intersect(*dc->st.clip);
  RECT b = r.Box();
  Mapping m = GetMapping(dc->st);
  POINT a = m.Unmap(b.Left, b.Top), e = m.Unmap(b.Right, b.Bottom);
  *rc = {std::min(a.X, e.X), std::min(a.Y, e.Y), std::max(a.X, e.X), std::max(a.Y, e.Y)};
  return r.Kind();
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  DCObj* dc = LookupDC(hdc);
  auto* r = LookupAs<RegionObj>(rgn, Kind::Region);
  if (!dc || !r) return -1;
  if (!dc->st.clip) return 0;
  r->rgn = *dc->st.clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return -1;
  POINT d = GetMapping(dc->st).Map(x, y);
  Region r = DeviceArea(dc);
  if (dc->st.clip) r.Intersect(*dc->st.clip);
  return r.Contains(d.X, d.Y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rc) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !rc) return FALSE;
  RECT d = DeviceRect(dc, rc->Left, rc->Top, rc->Right, rc->Bottom);
  Region r = DeviceArea(dc);
  if (dc->st.clip) r.Intersect(*dc->st.clip);
  return r.Overlaps(d) ? TRUE : FALSE;
}

// ============================================================================ capabilities ====

int GetDeviceCaps(HDC hdc, int index) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return 0;
  int w = dc->horzRes, h = dc->vertRes;
  if (dc->recorder && !w) w = dc->recorder->RefWidth(), h = dc->recorder->RefHeight();
  if (!w) {
    // Screen-compatible DCs (memory, window, information) answer the screen's size.
    w = GetSystemMetrics(SM_CXSCREEN);
    h = GetSystemMetrics(SM_CYSCREEN);
  }
  switch (index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return dc->technology;
    case HORZRES:
      return w;
    case VERTRES:
      return h;
    case HORZSIZE:
      return int(std::lround(w * 25.4 / dc->dpiX));
    case VERTSIZE:
      return int(std::lround(h * 25.4 / dc->dpiY));
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case NUMBRUSHES:
    case NUMPENS:
      return -1;
    case ASPECTX:
    case ASPECTY:
      return 36;
    case ASPECTXY:
      return 51;
    case LOGPIXELSX:
      return dc->dpiX;
    case LOGPIXELSY:
      return dc->dpiY;
    case SIZEPALETTE:
    case NUMRESERVED:
      return 0;
    case COLORRES:
      return 24;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case PHYSICALWIDTH:
      return dc->dcKind == DCKind::Printer ? dc->physW : 0;
    case PHYSICALHEIGHT:
      return dc->dcKind == DCKind::Printer ? dc->physH : 0;
    case PHYSICALOFFSETX:
      return dc->dcKind == DCKind::Printer ? dc->physX : 0;
    case PHYSICALOFFSETY:
      return dc->dcKind == DCKind::Printer ? dc->physY : 0;
    case VREFRESH:
      return 60;
    case DESKTOPHORZRES:
      return GetSystemMetrics(SM_CXSCREEN);
    case DESKTOPVERTRES:
      return GetSystemMetrics(SM_CYSCREEN);
    case SHADEBLENDCAPS:
      return 0x13;
    default:
      return 0;
  }
}
