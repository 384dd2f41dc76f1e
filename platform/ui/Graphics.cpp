// The framework's graphics classes.
//
// Sections: colours / graphics objects / fonts / pens / brushes / canvas / graphic / picture /
// bitmap / icon / metafile / JPEG image / PNG image / drawing helpers / class descriptions.
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "platform/os/gdi/Icons.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"

namespace {

// Clipboard formats of the picture classes.
constexpr UINT kCfBitmap = 2, kCfEnhMetafile = 14;

// Reads what is left of a stream.
std::vector<uint8_t> ReadRest(TStream* s) {
  int64_t n = s->GetSize() - s->GetPosition();
  if (n < 0) n = 0;
  if (n > (int64_t(1) << 31)) throw EInvalidGraphic("Picture data is too large");
  std::vector<uint8_t> bytes(static_cast<size_t>(n));
  if (n) s->ReadBuffer(bytes.data(), int32_t(n));
  return bytes;
}

void WriteAll(TStream* s, const std::vector<uint8_t>& bytes) {
  if (!bytes.empty()) s->WriteBuffer(bytes.data(), int32_t(bytes.size()));
}

}  // namespace

// ============================================================================ colours =========

namespace {

struct NamedColor {
  TColor value;
  const char* name;
  bool alias = false;  // read, never written or listed: the name before it of that value wins
};

// The framework's colour names in their order, then the aliases; the one table that stored
// definitions, StringToColor and the colour lists read.
const NamedColor kColors[] = {{clBlack, "clBlack"},
                              {clMaroon, "clMaroon"},
                              {clGreen, "clGreen"},
                              {clOlive, "clOlive"},
                              {clNavy, "clNavy"},
                              {clPurple, "clPurple"},
                              {clTeal, "clTeal"},
                              {clGray, "clGray"},
                              {clSilver, "clSilver"},
                              {clRed, "clRed"},
                              {clLime, "clLime"},
                              {clYellow, "clYellow"},
                              {clBlue, "clBlue"},
                              {clFuchsia, "clFuchsia"},
                              {clAqua, "clAqua"},
                              {clWhite, "clWhite"},
                              {clMoneyGreen, "clMoneyGreen"},
                              {clSkyBlue, "clSkyBlue"},
                              {clCream, "clCream"},
                              {clMedGray, "clMedGray"},
                              {clActiveBorder, "clActiveBorder"},
                              {clActiveCaption, "clActiveCaption"},
                              {clAppWorkSpace, "clAppWorkSpace"},
                              {clBackground, "clBackground"},
                              {clBtnFace, "clBtnFace"},
                              {clBtnHighlight, "clBtnHighlight"},
                              {clBtnShadow, "clBtnShadow"},
                              {clBtnText, "clBtnText"},
                              {clCaptionText, "clCaptionText"},
                              {clDefault, "clDefault"},
                              {clGradientActiveCaption, "clGradientActiveCaption"},
                              {clGradientInactiveCaption, "clGradientInactiveCaption"},
                              {clGrayText, "clGrayText"},
                              {clHighlight, "clHighlight"},
                              {clHighlightText, "clHighlightText"},
                              {clHotLight, "clHotLight"},
                              {clInactiveBorder, "clInactiveBorder"},
                              {clInactiveCaption, "clInactiveCaption"},
                              {clInactiveCaptionText, "clInactiveCaptionText"},
                              {clInfoBk, "clInfoBk"},
                              {clInfoText, "clInfoText"},
                              {clMenu, "clMenu"},
                              {clMenuBar, "clMenuBar"},
                              {clMenuHighlight, "clMenuHighlight"},
                              {clMenuText, "clMenuText"},
                              {clNone, "clNone"},
                              {clScrollBar, "clScrollBar"},
                              {cl3DDkShadow, "cl3DDkShadow"},
                              {cl3DLight, "cl3DLight"},
                              {clWindow, "clWindow"},
                              {clWindowFrame, "clWindowFrame"},
                              {clWindowText, "clWindowText"},
                              {clLtGray, "clLtGray", true},
                              {clDkGray, "clDkGray", true}};

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color < 0) return TColor(GetSysColor(int(uint32_t(color) & 0xFF)));
  return color;
}

bool ColorToIdent(TColor color, AnsiString& ident) {
  for (const NamedColor& c : kColors)
    if (c.value == color) {
      ident = c.name;
      return true;
    }
  return false;
}

bool IdentToColor(const AnsiString& ident, TColor& color) {
  for (const NamedColor& c : kColors)
    if (SameText(ident, c.name)) {
      color = c.value;
      return true;
    }
  return false;
}

AnsiString ColorToString(TColor color) {
  AnsiString name;
  if (ColorToIdent(color, name)) return name;
  return "$" + IntToHex(uint32_t(color), 8);
}

TColor StringToColor(const AnsiString& s) {
  TColor c;
  if (IdentToColor(s, c)) return c;
  return TColor(StrToInt(s));
}

void GetColorValues(const std::function<void(const AnsiString&)>& proc) {
  for (const NamedColor& c : kColors)
    if (!c.alias) proc(c.name);
}

const TTypeInfo& ColorTypeInfo() {
  static const TTypeInfo info = [] {
    TTypeInfo t = IntegerTypeWithIdents("TColor", {});
    for (const NamedColor& c : kColors) t.Idents.push_back({c.name, c.value});
    return t;
  }();
  return info;
}

// Character sets are written by name in stored definitions ("DEFAULT_CHARSET").
const TTypeInfo& CharsetTypeInfo() {
  static const TTypeInfo info = IntegerTypeWithIdents(
      "TFontCharset", {{"ANSI_CHARSET", 0},       {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
                       {"MAC_CHARSET", 77},       {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},
                       {"JOHAB_CHARSET", 130},    {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136},
                       {"GREEK_CHARSET", 161},    {"TURKISH_CHARSET", 162},    {"VIETNAMESE_CHARSET", 163},
                       {"HEBREW_CHARSET", 177},   {"ARABIC_CHARSET", 178},     {"BALTIC_CHARSET", 186},
                       {"RUSSIAN_CHARSET", 204},  {"THAI_CHARSET", 222},       {"EASTEUROPE_CHARSET", 238},
                       {"OEM_CHARSET", 255}},
      TypeInfoOf<TFontCharset>());
  return info;
}

// ============================================================================ graphics objects

void TGraphicsObject::Changed() { OnChange(this); }

// ============================================================================ fonts ===========

TFont::TFont() {
  lf_.lfHeight = -11;  // 8 points at 96 dots per inch
  lf_.lfWeight = FW_NORMAL;
  lf_.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf_.lfFaceName, "MS Sans Serif");
}

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

void TFont::Changed() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  TGraphicsObject::Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    lf_ = f->lf_;
    if (f->PixelsPerInch != PixelsPerInch && f->PixelsPerInch > 0)
      lf_.lfHeight = MulDiv(f->lf_.lfHeight, PixelsPerInch, f->PixelsPerInch);
    color_ = f->color_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HFONT TFont::GetHandle() {
  if (!handle_) handle_ = CreateFontIndirect(&lf_);
  return handle_;
}

void TFont::SetHandle(HFONT Value) {
  if (Value == handle_) return;
  LOGFONT lf;
  if (!Value || GetObject(Value, sizeof lf, &lf) != int(sizeof lf)) return;
  if (handle_) DeleteObject(handle_);
  lf_ = lf;
  handle_ = Value;
  TGraphicsObject::Changed();
}

AnsiString TFont::GetName() const { return AnsiString(lf_.lfFaceName, strnlen(lf_.lfFaceName, LF_FACESIZE)); }

void TFont::SetName(const AnsiString& Value) {
  // The face name ends at a NUL, as the logical font keeps it: a name that is empty there would
  // leave the font nameless, written as no name at all and read back as the default face.
  const AnsiString name = Value.substr(0, Value.find('\0'));
  if (name.empty() || name == GetName()) return;
  std::memset(lf_.lfFaceName, 0, sizeof lf_.lfFaceName);
  std::memcpy(lf_.lfFaceName, name.data(), std::min<size_t>(name.size(), LF_FACESIZE - 1));
  Changed();
}

int32_t TFont::GetSize() const { return -MulDiv(lf_.lfHeight, 72, PixelsPerInch); }
void TFont::SetSize(int32_t Value) { SetHeight(-MulDiv(Value, PixelsPerInch, 72)); }

void TFont::SetHeight(int32_t Value) {
  if (Value == lf_.lfHeight) return;
  lf_.lfHeight = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  // The colour is not part of the logical font: keep the handle.
  TGraphicsObject::Changed();
}

TFontStyles TFont::GetStyle() const {
  TFontStyles s;
  if (lf_.lfWeight > FW_NORMAL) s.Include(fsBold);
  if (lf_.lfItalic) s.Include(fsItalic);
  if (lf_.lfUnderline) s.Include(fsUnderline);
  if (lf_.lfStrikeOut) s.Include(fsStrikeOut);
  return s;
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == GetStyle()) return;
  lf_.lfWeight = Value.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf_.lfItalic = Value.Contains(fsItalic);
  lf_.lfUnderline = Value.Contains(fsUnderline);
  lf_.lfStrikeOut = Value.Contains(fsStrikeOut);
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == lf_.lfCharSet) return;
  lf_.lfCharSet = Value;
  Changed();
}

TFontPitch TFont::GetPitch() const {
  switch (lf_.lfPitchAndFamily & 3) {
    case VARIABLE_PITCH:
      return fpVariable;
    case FIXED_PITCH:
      return fpFixed;
    default:
      return fpDefault;
  }
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == GetPitch()) return;
  BYTE p = Value == fpVariable ? VARIABLE_PITCH : Value == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
  lf_.lfPitchAndFamily = BYTE((lf_.lfPitchAndFamily & 0xF0) | p);
  Changed();
}

void TFont::SetOrientation(int32_t Value) {
  if (Value == lf_.lfEscapement) return;
  lf_.lfEscapement = lf_.lfOrientation = Value;
  Changed();
}

// ============================================================================ pens ============

namespace {

int PenStyleCode(TPenStyle s) {
  static const int codes[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  return codes[s];
}

int PenModeCode(TPenMode m) {
  static const int codes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return codes[m];
}

}  // namespace

TPen::TPen() = default;

TPen::~TPen() {
  if (handle_ && owned_) DeleteObject(handle_);
}

void TPen::Changed() {
  if (handle_ && owned_) DeleteObject(handle_);
  handle_ = nullptr;
  owned_ = true;
  TGraphicsObject::Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    color_ = p->color_, width_ = p->width_, style_ = p->style_, mode_ = p->mode_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HPEN TPen::GetHandle() {
  if (!handle_) {
    handle_ = CreatePen(PenStyleCode(style_), width_, COLORREF(ColorToRGB(color_)));
    owned_ = true;
  }
  return handle_;
}

void TPen::SetHandle(HPEN Value) {
  LOGPEN lp;
  if (!Value || GetObject(Value, sizeof lp, &lp) != int(sizeof lp)) return;
  if (handle_ && owned_) DeleteObject(handle_);
  handle_ = Value;
  owned_ = true;
  color_ = TColor(lp.lopnColor);
  width_ = lp.lopnWidth.X;
  static const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame};
  style_ = lp.lopnStyle <= PS_INSIDEFRAME ? styles[lp.lopnStyle] : psSolid;
  TGraphicsObject::Changed();
}

void TPen::SetColor(TColor Value) {
  if (Value != color_) color_ = Value, Changed();
}
void TPen::SetWidth(int32_t Value) {
  if (Value >= 0 && Value != width_) width_ = Value, Changed();
}
void TPen::SetStyle(TPenStyle Value) {
  if (Value != style_) style_ = Value, Changed();
}
void TPen::SetMode(TPenMode Value) {
  if (Value != mode_) {
    mode_ = Value;
    // The mode is a DC setting, not part of the pen: keep the handle.
    TGraphicsObject::Changed();
  }
}

// ============================================================================ brushes =========

TBrush::TBrush() = default;

TBrush::~TBrush() {
  if (handle_ && owned_) DeleteObject(handle_);
}

void TBrush::Changed() {
  if (handle_ && owned_) DeleteObject(handle_);
  handle_ = nullptr;
  owned_ = true;
  TGraphicsObject::Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    color_ = b->color_, style_ = b->style_, bitmap_ = b->bitmap_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HBRUSH TBrush::GetHandle() {
  if (!handle_) {
    owned_ = true;
    if (bitmap_ && !bitmap_->Empty()) {
      handle_ = CreatePatternBrush(bitmap_->GetHandle());
    } else if (style_ == bsClear) {
      handle_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
      owned_ = false;
    } else if (style_ == bsSolid) {
      handle_ = CreateSolidBrush(COLORREF(ColorToRGB(color_)));
    } else {
      static const int hatches[] = {
          0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
      handle_ = CreateHatchBrush(hatches[style_], COLORREF(ColorToRGB(color_)));
    }
  }
  return handle_;
}

void TBrush::SetHandle(HBRUSH Value) {
  LOGBRUSH lb;
  if (!Value || GetObject(Value, sizeof lb, &lb) != int(sizeof lb)) return;
  if (handle_ && owned_) DeleteObject(handle_);
  handle_ = Value;
  owned_ = true;
  color_ = TColor(lb.lbColor);
  style_ = lb.lbStyle == BS_NULL      ? bsClear
           : lb.lbStyle == BS_HATCHED ? TBrushStyle(bsHorizontal + lb.lbHatch)
                                      : bsSolid;
  TGraphicsObject::Changed();
}

void TBrush::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  if (style_ == bsClear) style_ = bsSolid;  // a colour makes a clear brush solid, as in the framework
  Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
  if (Value != style_) style_ = Value, Changed();
}
void TBrush::SetBitmap(TBitmap* Value) {
  bitmap_ = Value;
  Changed();
}

// ============================================================================ canvas ==========

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
  font_->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  pen_->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
  brush_->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::GetHandle() {
  RequiredState({csHandleValid});
  return handle_;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == handle_) return;
  if (handle_) DeselectHandles();
  handle_ = Value;
  state_ = Value ? TCanvasStates{csHandleValid} : TCanvasStates{};
}

void TCanvas::DeselectHandles() {
  if (!handle_ || (state_ * TCanvasStates{csPenValid, csBrushValid, csFontValid}).Empty()) return;
  SelectObject(handle_, GetStockObject(BLACK_PEN));
  SelectObject(handle_, GetStockObject(WHITE_BRUSH));
  SelectObject(handle_, GetStockObject(SYSTEM_FONT));
  state_ -= TCanvasStates{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::RequiredState(TCanvasStates Required) {
  BeforeUse();
  TCanvasStates needed = Required - state_;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    state_.Include(csHandleValid);
  }
  if (needed.Contains(csFontValid)) {
    SelectObject(handle_, font_->GetHandle());
    SetTextColor(handle_, COLORREF(ColorToRGB(font_->GetColor())));
    state_.Include(csFontValid);
  }
  if (needed.Contains(csPenValid)) {
    SelectObject(handle_, pen_->GetHandle());
    SetROP2(handle_, PenModeCode(pen_->GetMode()));
    state_.Include(csPenValid);
  }
  if (needed.Contains(csBrushValid)) {
    UnrealizeObject(brush_->GetHandle());
    SelectObject(handle_, brush_->GetHandle());
    // Text over a solid brush gets its colour behind it; over any other brush none.
    SetBkColor(handle_, COLORREF(ColorToRGB(brush_->GetColor())));
    SetBkMode(handle_, brush_->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
    state_.Include(csBrushValid);
  }
}

void TCanvas::FontChanged(TObject*) {
  if (state_.Contains(csFontValid)) {
    state_.Exclude(csFontValid);
    SelectObject(handle_, GetStockObject(SYSTEM_FONT));
  }
}
void TCanvas::PenChanged(TObject*) {
  if (state_.Contains(csPenValid)) {
    state_.Exclude(csPenValid);
    SelectObject(handle_, GetStockObject(BLACK_PEN));
  }
}
void TCanvas::BrushChanged(TObject*) {
  if (state_.Contains(csBrushValid)) {
    state_.Exclude(csBrushValid);
    SelectObject(handle_, GetStockObject(WHITE_BRUSH));
  }
}

void TCanvas::Lock() {
  lock_.Enter();
  ++lockCount_;
}
void TCanvas::Unlock() {
  --lockCount_;
  lock_.Leave();
}
bool TCanvas::TryLock() {
  if (!lock_.TryEnter()) return false;
  ++lockCount_;
  return true;
}

void TCanvas::Changing() { OnChanging(this); }
void TCanvas::Changed() { OnChange(this); }

TPoint TCanvas::GetPenPos() {
  RequiredState({csHandleValid});
  POINT p;
  GetCurrentPositionEx(handle_, &p);
  return p;
}

void TCanvas::SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }

TRect TCanvas::GetClipRect() {
  RequiredState({csHandleValid});
  RECT r;
  GetClipBox(handle_, &r);
  return r;
}

TColor TCanvas::GetPixel(int32_t X, int32_t Y) {
  RequiredState({csHandleValid});
  return TColor(::GetPixel(handle_, X, Y));
}

void TCanvas::SetPixel(int32_t X, int32_t Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(handle_, X, Y, COLORREF(ColorToRGB(Value)));
  Changed();
}

namespace {
constexpr TCanvasStates kPenBrush{csHandleValid, csPenValid, csBrushValid};
}

#define PL_CANVAS_DRAW(states, call) \
  do {                               \
    Changing();                      \
    RequiredState(states);           \
    call;                            \
    Changed();                       \
  } while (0)

void TCanvas::Arc(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3, int32_t X4,
                  int32_t Y4) {
  PL_CANVAS_DRAW(kPenBrush, ::Arc(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4));
}
void TCanvas::Chord(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3, int32_t X4,
                    int32_t Y4) {
  PL_CANVAS_DRAW(kPenBrush, ::Chord(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4));
}
void TCanvas::Pie(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3, int32_t X4,
                  int32_t Y4) {
  PL_CANVAS_DRAW(kPenBrush, ::Pie(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4));
}
void TCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  PL_CANVAS_DRAW(kPenBrush, ::Ellipse(handle_, X1, Y1, X2, Y2));
}
void TCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  PL_CANVAS_DRAW(kPenBrush, ::Rectangle(handle_, X1, Y1, X2, Y2));
}
void TCanvas::RoundRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3) {
  PL_CANVAS_DRAW(kPenBrush, ::RoundRect(handle_, X1, Y1, X2, Y2, X3, Y3));
}
void TCanvas::Polygon(const TPoint* Points, int32_t Count) {
  PL_CANVAS_DRAW(kPenBrush, ::Polygon(handle_, Points, Count));
}
void TCanvas::Polyline(const TPoint* Points, int32_t Count) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csPenValid}), ::Polyline(handle_, Points, Count));
}
void TCanvas::PolyBezier(const TPoint* Points, int32_t Count) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csPenValid}), ::PolyBezier(handle_, Points, DWORD(Count)));
}
void TCanvas::LineTo(int32_t X, int32_t Y) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csPenValid, csBrushValid}), ::LineTo(handle_, X, Y));
}
void TCanvas::MoveTo(int32_t X, int32_t Y) {
  RequiredState({csHandleValid});
  ::MoveToEx(handle_, X, Y, nullptr);
}
void TCanvas::FillRect(const TRect& Rect) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csBrushValid}),
                 ::FillRect(handle_, &Rect, brush_->GetHandle()));
}
void TCanvas::FrameRect(const TRect& Rect) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csBrushValid}),
                 ::FrameRect(handle_, &Rect, brush_->GetHandle()));
}
void TCanvas::DrawFocusRect(const TRect& Rect) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csBrushValid}), ::DrawFocusRect(handle_, &Rect));
}
void TCanvas::FloodFill(int32_t X, int32_t Y, TColor Color, TFillStyle FillStyle) {
  PL_CANVAS_DRAW((TCanvasStates{csHandleValid, csBrushValid}),
                 ::ExtFloodFill(handle_, X, Y, COLORREF(ColorToRGB(Color)),
                                FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER));
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->handle_, Source.Left,
             Source.Top, Source.Width(), Source.Height(), DWORD(copyMode_));
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(handle_, &Dest, brush_->GetHandle());
  TransparentBlt(handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Bitmap->GetCanvas()->GetHandle(),
                 Source.Left, Source.Top, Source.Width(), Source.Height(), UINT(ColorToRGB(Color)));
  Changed();
}

void TCanvas::Draw(int32_t X, int32_t Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::Refresh() { DeselectHandles(); }

TSize TCanvas::TextExtent(const AnsiString& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE s{};
  GetTextExtentPoint32A(handle_, Text.data(), int(Text.size()), &s);
  return s;
}

void TCanvas::TextOut(int32_t X, int32_t Y, const AnsiString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutA(handle_, X, Y, UINT(TextFlags), nullptr, Text.data(), UINT(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int32_t X, int32_t Y, const AnsiString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | UINT(TextFlags);
  if (brush_->GetStyle() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutA(handle_, X, Y, options, &Rect, Text.data(), UINT(Text.size()), nullptr);
  Changed();
}

#undef PL_CANVAS_DRAW

// ============================================================================ graphic =========

void TGraphic::SetTransparent(bool Value) {
  if (Value == transparent_) return;
  transparent_ = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    modified_ = false;
}

void TGraphic::Changed(TObject*) {
  modified_ = true;
  OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TGraphic::LoadFromClipboardFormat(UINT, void*, HPALETTE) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, void*&, HPALETTE&) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty("Data", TStreamProc(this, &TGraphic::ReadDataProc),
                              TStreamProc(this, &TGraphic::WriteDataProc), !Empty());
}

// ============================================================================ picture =========

namespace {

struct FileFormat {
  AnsiString description;
  TGraphicClass create;
};

std::map<AnsiString, FileFormat>& FileFormats() {
  static std::map<AnsiString, FileFormat> formats = {
      {"bmp", {"Bitmaps", NewGraphic<TBitmap>}},
      {"ico", {"Icons", NewGraphic<TIcon>}},
      {"emf", {"Enhanced Metafiles", NewGraphic<TMetafile>}},
      {"wmf", {"Metafiles", NewGraphic<TMetafile>}},
      {"jpg", {"JPEG Image File", NewGraphic<TJPEGImage>}},
      {"jpeg", {"JPEG Image File", NewGraphic<TJPEGImage>}},
      {"png", {"Portable Network Graphics", NewGraphic<TPngImage>}}};
  return formats;
}

std::map<UINT, TGraphicClass>& ClipboardFormats() {
  static std::map<UINT, TGraphicClass> formats = {{kCfBitmap, NewGraphic<TBitmap>},
                                                  {kCfEnhMetafile, NewGraphic<TMetafile>},
                                                  {TJPEGImage::ClipboardFormat, NewGraphic<TJPEGImage>}};
  return formats;
}

AnsiString Extension(const AnsiString& fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of("/\\");
  if (dot == AnsiString::npos || (slash != AnsiString::npos && slash > dot)) return "";
  return LowerCase(fileName.substr(dot + 1));
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                  TGraphicClass Class) {
  FileFormats()[LowerCase(Extension)] = {Description, Class};
}

void TPicture::RegisterClipboardFormat(UINT Format, TGraphicClass Class) {
  ClipboardFormats()[Format] = Class;
}

bool TPicture::SupportsClipboardFormat(UINT Format) { return ClipboardFormats().count(Format) != 0; }

void TPicture::Changed(TObject*) { OnChange(this); }

void TPicture::Adopt(TGraphic* graphic) {
  graphic_.reset(graphic);
  if (graphic_) graphic_->OnChange = TNotifyEvent(this, &TPicture::Changed);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy(static_cast<TGraphic*>(Value->ClassType().CreateInstance()));
  copy->Assign(Value);
  Adopt(copy.release());
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->graphic_.get());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(Source);
  }
}

TBitmap* TPicture::GetBitmap() {
  auto* b = dynamic_cast<TBitmap*>(graphic_.get());
  if (!b) {
    b = new TBitmap();
    Adopt(b);
  }
  return b;
}

void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }
int32_t TPicture::GetWidth() const { return graphic_ ? graphic_->Width() : 0; }
int32_t TPicture::GetHeight() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const AnsiString& FileName) {
  AnsiString ext = Extension(FileName);
  auto it = FileFormats().find(ext);
  if (it == FileFormats().end()) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
  std::unique_ptr<TGraphic> g(it->second.create());
  g->LoadFromFile(FileName);
  Adopt(g.release());
}

void TPicture::SaveToFile(const AnsiString& FileName) {
  if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE Palette) {
  auto it = ClipboardFormats().find(Format);
  if (it == ClipboardFormats().end()) throw EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> g(it->second());
  g->LoadFromClipboardFormat(Format, Data, Palette);
  Adopt(g.release());
}

void TPicture::SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) {
  if (graphic_) graphic_->SaveToClipboardFormat(Format, Data, Palette);
}

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty("Data", TStreamProc(this, &TPicture::ReadData),
                              TStreamProc(this, &TPicture::WriteData), graphic_ != nullptr);
}

// Stored form: the graphic's class name (a length byte and the characters), then its data.
void TPicture::ReadData(TStream* Stream) {
  uint8_t n = 0;
  Stream->ReadBuffer(&n, 1);
  AnsiString name(n, '\0');
  if (n) Stream->ReadBuffer(name.data(), n);
  static const std::map<AnsiString, TGraphicClass> byName = {
      {"tbitmap", NewGraphic<TBitmap>},     {"ticon", NewGraphic<TIcon>},
      {"tmetafile", NewGraphic<TMetafile>}, {"tjpegimage", NewGraphic<TJPEGImage>},
      {"tpngimage", NewGraphic<TPngImage>}, {"tpngobject", NewGraphic<TPngImage>}};
  auto it = byName.find(LowerCase(name));
  if (it == byName.end()) throw EReadError("Unknown picture class " + name);
  std::unique_ptr<TGraphic> g(it->second());
  g->ReadData(Stream);
  Adopt(g.release());
}

void TPicture::WriteData(TStream* Stream) {
  if (!graphic_) return;
  AnsiString name = graphic_->ClassName();
  uint8_t n = uint8_t(std::min<size_t>(name.size(), 255));
  Stream->WriteBuffer(&n, 1);
  Stream->WriteBuffer(name.data(), n);
  graphic_->WriteData(Stream);
}

// ============================================================================ bitmap ==========

// The canvas of a bitmap: a memory DC holding the bitmap, made when first drawn on.
class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* owner) : owner_(owner) {}
  ~TBitmapCanvas() override { FreeContext(); }
  void FreeContext() {
    if (!dc_) return;
    SetHandle(nullptr);
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
    dc_ = nullptr;
    old_ = nullptr;
  }

 protected:
  void CreateHandle() override {
    dc_ = CreateCompatibleDC(nullptr);
    old_ = owner_->bitmap_ ? SelectObject(dc_, owner_->bitmap_) : nullptr;
    SetHandle(dc_);
  }
  void BeforeUse() override { owner_->SyncToSurface(); }

 private:
  TBitmap* owner_;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

namespace {

std::vector<RGBQUAD> DefaultPalette(int bpp) {
  std::vector<RGBQUAD> p;
  auto add = [&](int r, int g, int b) { p.push_back({uint8_t(b), uint8_t(g), uint8_t(r), 0}); };
  if (bpp == 1) {
    add(0, 0, 0), add(255, 255, 255);
    return p;
  }
  static const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                 {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  for (auto& c : vga) add(c[0], c[1], c[2]);
  if (bpp == 4) return p;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
  for (int i = 0; i < 24; ++i) add(8 + i * 10, 8 + i * 10, 8 + i * 10);
  return p;
}

uint8_t NearestIndex(const std::vector<RGBQUAD>& pal, uint32_t px) {
  int best = 0, bestD = 1 << 30;
  int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  for (size_t i = 0; i < pal.size(); ++i) {
    int dr = pal[i].rgbRed - r, dg = pal[i].rgbGreen - g, db = pal[i].rgbBlue - b;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestD) bestD = d, best = int(i);
    if (!d) break;
  }
  return uint8_t(best);
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  canvas_.reset();
  if (bitmap_) DeleteObject(bitmap_);
  if (paletteHandle_) DeleteObject(paletteHandle_);
}

int TBitmap::Bpp() const {
  switch (format_) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    default:
      return 32;
  }
}

size_t TBitmap::RowBytes() const { return size_t(((int64_t(width_) * Bpp() + 31) / 32) * 4); }

bool TBitmap::GetEmpty() { return width_ == 0 || height_ == 0; }

TSurface* TBitmap::Surface() {
  SyncToSurface();
  return bitmap_ ? GetBitmapSurface(bitmap_) : nullptr;
}

void TBitmap::Changed(TObject* Sender) { TGraphic::Changed(Sender); }
void TBitmap::CanvasChanged(TObject*) { Changed(this); }

TCanvas* TBitmap::GetCanvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TBitmapCanvas>(this);
    canvas_->OnChange = TNotifyEvent(this, &TBitmap::CanvasChanged);
  }
  return canvas_.get();
}

void TBitmap::SetSize(int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(0, AWidth), AHeight = std::max(0, AHeight);
  if (AWidth == width_ && AHeight == height_) return;
  CheckSurfaceSize(AWidth, AHeight);
  SyncToSurface();
  HBITMAP nb = AWidth && AHeight ? CreateBitmap(AWidth, AHeight, 1, 32, nullptr) : nullptr;
  if (nb && bitmap_) {
    TSurface* from = GetBitmapSurface(bitmap_);
    TSurface* to = GetBitmapSurface(nb);
    int w = std::min(from->Width, to->Width), h = std::min(from->Height, to->Height);
    for (int y = 0; y < h; ++y) std::memcpy(to->Row(y), from->Row(y), size_t(w) * 4);
  }
  if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->FreeContext();
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nb;
  width_ = AWidth, height_ = AHeight;
  native_.clear();
  nativeDirty_ = false;
  Changed(this);
}

HBITMAP TBitmap::GetHandle() {
  SyncToSurface();
  return bitmap_;
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == bitmap_) return;
  TSurface* s = Value ? GetBitmapSurface(Value) : nullptr;
  if (Value && !s) return;
  if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->FreeContext();
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = Value;
  width_ = s ? s->Width : 0, height_ = s ? s->Height : 0;
  BITMAP bm;
  format_ = Value && GetObject(Value, sizeof bm, &bm) && bm.bmBitsPixel == 1 ? pf1bit : pfDevice;
  if (format_ == pf1bit) palette_ = DefaultPalette(1);
  native_.clear();
  nativeDirty_ = false;
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  SyncToSurface();
  if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->FreeContext();
  HBITMAP h = bitmap_;
  bitmap_ = nullptr;
  width_ = height_ = 0;
  native_.clear();
  return h;
}

// Rows of the pixel format from the 32-bit pixels (palette formats take the nearest entry).
void TBitmap::SyncFromSurface() {
  if (!bitmap_ || Bpp() == 32) return;
  TSurface* s = GetBitmapSurface(bitmap_);
  if (!native_.empty() && nativeGen_ == s->Generation) return;
  size_t rb = RowBytes();
  native_.assign(rb * size_t(height_), 0);
  int bpp = Bpp();
  std::map<uint32_t, uint8_t> cache;
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = native_.data() + size_t(y) * rb;
    const uint32_t* src = s->Row(y);
    for (int x = 0; x < width_; ++x) {
      uint32_t p = src[x] & 0xFFFFFF;
      switch (bpp) {
        case 24:
          row[3 * x] = uint8_t(p), row[3 * x + 1] = uint8_t(p >> 8), row[3 * x + 2] = uint8_t(p >> 16);
          break;
        case 16: {
          uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
          uint16_t v = format_ == pf15bit ? uint16_t((r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
                                          : uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
          row[2 * x] = uint8_t(v), row[2 * x + 1] = uint8_t(v >> 8);
          break;
        }
        default: {
          auto it = cache.find(p);
          uint8_t idx = it != cache.end() ? it->second : (cache[p] = NearestIndex(palette_, p));
          int per = 8 / bpp;
          row[x / per] |= uint8_t(idx << (8 - bpp * (x % per + 1)));
        }
      }
    }
  }
  nativeGen_ = s->Generation;
}

// The 32-bit pixels from rows written through ScanLine.
void TBitmap::SyncToSurface() {
  if (!nativeDirty_ || !bitmap_) return;
  nativeDirty_ = false;
  TSurface* s = GetBitmapSurface(bitmap_);
  size_t rb = RowBytes();
  int bpp = Bpp();
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = native_.data() + size_t(y) * rb;
    uint32_t* dst = s->Row(y);
    for (int x = 0; x < width_; ++x) {
      uint32_t v;
      switch (bpp) {
        case 24:
          v = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
          break;
        case 16: {
          uint32_t w = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
          uint32_t r, g, b;
          if (format_ == pf15bit)
            r = (w >> 10) & 31, g = (w >> 5) & 31, b = w & 31, g = (g << 3) | (g >> 2);
          else
            r = (w >> 11) & 31, g = (w >> 5) & 63, b = w & 31, g = (g << 2) | (g >> 4);
          v = ((r << 3) | (r >> 2)) << 16 | g << 8 | ((b << 3) | (b >> 2));
          break;
        }
        default: {
          int per = 8 / bpp;
          int idx = (row[x / per] >> (8 - bpp * (x % per + 1))) & ((1 << bpp) - 1);
          const RGBQUAD c = size_t(idx) < palette_.size() ? palette_[size_t(idx)] : RGBQUAD{};
          v = uint32_t(c.rgbBlue) | uint32_t(c.rgbGreen) << 8 | uint32_t(c.rgbRed) << 16;
        }
      }
      dst[x] = v;
    }
  }
  nativeGen_ = ++s->Generation;
}

void* TBitmap::ScanLine(int32_t Row) {
  if (Row < 0 || Row >= height_ || !bitmap_) throw EInvalidGraphicOperation("Scan line index out of range");
  if (Bpp() == 32) {
    TSurface* s = Surface();
    ++s->Generation;  // the caller may write
    return s->Row(Row);
  }
  SyncFromSurface();
  nativeDirty_ = true;
  return native_.data() + size_t(Row) * RowBytes();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == format_) return;
  SyncToSurface();
  format_ = Value;
  native_.clear();
  nativeDirty_ = false;
  if (Bpp() <= 8 && (palette_.empty() || palette_.size() > size_t(1) << Bpp()))
    palette_ = DefaultPalette(Bpp());
  if (paletteHandle_) DeleteObject(paletteHandle_), paletteHandle_ = nullptr;
  if (Bpp() < 32 && bitmap_) {
    // The pixels take the colours the format can hold.
    SyncFromSurface();
    nativeDirty_ = true;
    SyncToSurface();
  }
  Changed(this);
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value != GetMonochrome()) SetPixelFormat(Value ? pf1bit : pfDevice);
}

HPALETTE TBitmap::GetPalette() {
  if (Bpp() > 8 || palette_.empty()) return nullptr;
  if (!paletteHandle_) {
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + palette_.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(palette_.size());
    for (size_t i = 0; i < palette_.size(); ++i)
      lp->palPalEntry[i] = {palette_[i].rgbRed, palette_[i].rgbGreen, palette_[i].rgbBlue, 0};
    paletteHandle_ = CreatePalette(lp);
  }
  return paletteHandle_;
}

void TBitmap::SetPalette(HPALETTE Value) {
  UINT n = Value ? GetPaletteEntries(Value, 0, 0, nullptr) : 0;
  if (!n) return;
  std::vector<PALETTEENTRY> entries(n);
  GetPaletteEntries(Value, 0, n, entries.data());
  if (Bpp() <= 8) SyncFromSurface();  // the indices keep their places under the new colours
  palette_.clear();
  for (const PALETTEENTRY& e : entries) palette_.push_back({e.peBlue, e.peGreen, e.peRed, 0});
  if (paletteHandle_ && paletteHandle_ != Value) DeleteObject(paletteHandle_);
  paletteHandle_ = Value;
  if (Bpp() <= 8 && !native_.empty()) {
    nativeDirty_ = true;
    SyncToSurface();
  }
  Changed(this);
}

TColor TBitmap::GetTransparentColor() {
  if (transparentColor_ != clDefault && TransparentMode == tmFixed) return transparentColor_;
  if (GetMonochrome()) return clWhite;
  if (Empty()) return clDefault;
  // The bottom-left pixel, marked as a palette-relative colour as the framework does.
  return GetCanvas()->GetPixel(0, height_ - 1) | 0x02000000;
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == transparentColor_) return;
  transparentColor_ = Value;
  TransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::Mask(TColor TransparentColor) {
  TSurface* s = Surface();
  if (!s) return;
  uint32_t key = uint32_t(ColorToRGB(TransparentColor));
  key = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
  for (int i = 0; i < s->Width * s->Height; ++i)
    s->Pixels[i] = (s->Pixels[i] & 0xFFFFFF) == (key & 0xFFFFFF) ? 0xFFFFFF : 0;
  ++s->Generation;
  format_ = pf1bit;
  palette_ = DefaultPalette(1);
  native_.clear();
  Changed(this);
}

void TBitmap::LoadImage(const TRasterImage& img) {
  TPixelFormat f = img.BitsPerPixel == 1    ? pf1bit
                   : img.BitsPerPixel == 4  ? pf4bit
                   : img.BitsPerPixel == 8  ? pf8bit
                   : img.BitsPerPixel == 16 ? pf15bit
                   : img.BitsPerPixel == 24 ? pf24bit
                                            : pf32bit;
  HBITMAP nb = CreateBitmap(img.Width, img.Height, 1, 32, img.Pixels.data());
  if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->FreeContext();
  if (bitmap_) DeleteObject(bitmap_);
  if (paletteHandle_) DeleteObject(paletteHandle_), paletteHandle_ = nullptr;
  bitmap_ = nb;
  width_ = img.Width, height_ = img.Height;
  format_ = f;
  palette_ = img.Palette;
  native_.clear();
  nativeDirty_ = false;
  if (Bpp() <= 8 && !img.Indices.empty()) {
    // Keep the file's indices (a palette may hold one colour twice).
    size_t rb = RowBytes();
    native_.assign(rb * size_t(height_), 0);
    int bpp = Bpp(), per = 8 / bpp;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        native_[size_t(y) * rb + size_t(x / per)] |=
            uint8_t(img.Indices[size_t(y) * size_t(width_) + size_t(x)] << (8 - bpp * (x % per + 1)));
    nativeGen_ = GetBitmapSurface(bitmap_)->Generation;
  }
  Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  // The file header tells how many bytes belong to the bitmap.
  uint8_t head[14];
  int64_t left = Stream->GetSize() - Stream->GetPosition();
  if (left < 14) throw EInvalidGraphic("Bitmap image is not valid");
  Stream->ReadBuffer(head, 14);
  if (head[0] != 'B' || head[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
  uint32_t total =
      uint32_t(head[2]) | uint32_t(head[3]) << 8 | uint32_t(head[4]) << 16 | uint32_t(head[5]) << 24;
  int64_t body = total >= 14 + 12 && int64_t(total) - 14 <= left - 14 ? int64_t(total) - 14 : left - 14;
  if (body > (int64_t(1) << 31)) throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<uint8_t> bytes(14 + size_t(body));
  std::memcpy(bytes.data(), head, 14);
  if (body) Stream->ReadBuffer(bytes.data() + 14, int32_t(body));
  // A bitmap of no pixels is an empty bitmap.
  if (bytes.size() >= 26) {
    int32_t w, h;
    std::memcpy(&w, &bytes[18], 4);
    std::memcpy(&h, &bytes[22], 4);
    if (w == 0 || h == 0) {
      SetSize(0, 0);
      return;
    }
  }
  LoadImage(ReadBmp(bytes.data(), bytes.size()));
}

void TBitmap::SaveToStream(TStream* Stream) {
  SyncToSurface();
  std::vector<uint8_t> bytes;
  TSurface* s = bitmap_ ? GetBitmapSurface(bitmap_) : nullptr;
  int bpp = Bpp();
  if (!s) {
    bytes = WriteBmp(nullptr, 0, 0, 24);
  } else if (bpp <= 8) {
    SyncFromSurface();
    std::vector<uint8_t> idx(size_t(width_) * size_t(height_));
    size_t rb = RowBytes();
    int per = 8 / bpp;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        idx[size_t(y) * size_t(width_) + size_t(x)] = uint8_t(
            (native_[size_t(y) * rb + size_t(x / per)] >> (8 - bpp * (x % per + 1))) & ((1 << bpp) - 1));
    bytes = WriteBmpIndexed(idx.data(), width_, height_, bpp, palette_);
  } else {
    bytes = WriteBmp(s->Pixels, width_, height_, bpp == 32 ? 32 : 24);
  }
  WriteAll(Stream, bytes);
}

void TBitmap::ReadData(TStream* Stream) {
  int32_t size = 0;
  Stream->ReadBuffer(&size, 4);
  if (size < 0 || size > Stream->GetSize() - Stream->GetPosition())
    throw EReadError("Bitmap image is not valid");
  TMemoryStream mem;
  mem.CopyFrom(Stream, size);
  mem.SetPosition(0);
  LoadFromStream(&mem);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream mem;
  SaveToStream(&mem);
  int32_t size = int32_t(mem.GetSize());
  Stream->WriteBuffer(&size, 4);
  Stream->WriteBuffer(mem.Memory(), size);
}

void TBitmap::LoadFromResourceName(void*, const AnsiString& ResName) {
  const std::string_view* data = FindResourceData(RT_BITMAP, ResName);
  if (!data) throw EResNotFound("Resource " + ResName + " not found");
  const auto* p = reinterpret_cast<const uint8_t*>(data->data());
  std::vector<uint8_t> bytes;
  if (data->size() >= 2 && p[0] == 'B' && p[1] == 'M') {
    bytes.assign(p, p + data->size());
  } else {
    // A resource holds the bitmap without its file header: put one in front.
    if (data->size() < 40) throw EInvalidGraphic("Bitmap image is not valid");
    uint32_t hs = uint32_t(p[0]) | uint32_t(p[1]) << 8, bpp = uint32_t(p[14]) | uint32_t(p[15]) << 8;
    uint32_t used = uint32_t(p[32]) | uint32_t(p[33]) << 8, comp = p[16];
    uint32_t colors = bpp <= 8 ? (used ? used : 1u << bpp) : 0;
    uint32_t off = 14 + hs + colors * 4 + (comp == BI_BITFIELDS && hs == 40 ? 12 : 0);
    uint32_t total = uint32_t(14 + data->size());
    bytes = {'B', 'M', uint8_t(total), uint8_t(total >> 8), uint8_t(total >> 16), uint8_t(total >> 24), 0, 0,
             0,   0,   uint8_t(off),   uint8_t(off >> 8),   uint8_t(off >> 16),   uint8_t(off >> 24)};
    bytes.insert(bytes.end(), p, p + data->size());
  }
  LoadImage(ReadBmp(bytes.data(), bytes.size()));
}

void TBitmap::LoadFromResourceID(void* Instance, int32_t ResID) {
  LoadFromResourceName(Instance, ResourceIdName(uint32_t(ResID)));
}

void TBitmap::SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) {
  TSurface* s = Surface();
  Format = kCfBitmap;
  Data = s ? CreateBitmap(s->Width, s->Height, 1, 32, s->Pixels) : nullptr;
  Palette = nullptr;
}

void TBitmap::LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE) {
  TSurface* s = Format == kCfBitmap ? GetBitmapSurface(static_cast<HBITMAP>(Data)) : nullptr;
  if (!s) throw EInvalidGraphic("Unsupported clipboard format");
  TRasterImage img;
  img.Width = s->Width, img.Height = s->Height;
  img.Pixels.assign(s->Pixels, s->Pixels + size_t(s->Width) * s->Height);
  LoadImage(img);
  format_ = pfDevice;
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HDC src = GetCanvas()->GetHandle();
  ACanvas->RequiredState({csHandleValid});
  HDC dst = ACanvas->GetHandle();
  if (GetTransparent()) {
    TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, width_, height_,
                   UINT(ColorToRGB(GetTransparentColor()) & 0xFFFFFF));
  } else {
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, width_, height_,
               DWORD(ACanvas->GetCopyMode()));
  }
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    TSurface* s = b->Surface();
    TRasterImage img;
    img.Width = b->width_, img.Height = b->height_;
    if (s) img.Pixels.assign(s->Pixels, s->Pixels + size_t(s->Width) * s->Height);
    if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->FreeContext();
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = s ? CreateBitmap(s->Width, s->Height, 1, 32, s->Pixels) : nullptr;
    width_ = b->width_, height_ = b->height_;
    format_ = b->format_;
    palette_ = b->palette_;
    if (paletteHandle_) DeleteObject(paletteHandle_), paletteHandle_ = nullptr;
    native_.clear();
    nativeDirty_ = false;
    transparentColor_ = b->transparentColor_;
    TransparentMode = b->TransparentMode;
    SetTransparent(b->GetTransparent());
    Changed(this);
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetSize(0, 0);
    SetSize(g->Width(), g->Height());
    if (Empty()) return;
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, width_, height_));
    c->StretchDraw(Rect(0, 0, width_, height_), g);
    return;
  }
  TGraphic::Assign(Source);
}

// ============================================================================ icon ============

TIcon::~TIcon() {
  if (handle_) DestroyIcon(handle_);
}

void TIcon::Assign(TPersistent* Source) {
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    SetHandle(i->handle_ ? CopyIcon(i->handle_) : nullptr);
    file_ = i->file_;
    return;
  }
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  TGraphic::Assign(Source);
}

int32_t TIcon::GetWidth() {
  TSurface* s = handle_ ? GetIconSurface(handle_) : nullptr;
  return s ? s->Width : 0;
}
int32_t TIcon::GetHeight() {
  TSurface* s = handle_ ? GetIconSurface(handle_) : nullptr;
  return s ? s->Height : 0;
}
void TIcon::SetWidth(int32_t) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(int32_t) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::SetHandle(HICON Value) {
  if (Value == handle_) return;
  if (handle_) DestroyIcon(handle_);
  handle_ = Value;
  file_.clear();
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON h = handle_;
  handle_ = nullptr;
  file_.clear();
  return h;
}

void TIcon::LoadFromStream(TStream* Stream) {
  std::vector<uint8_t> bytes = ReadRest(Stream);
  HICON h = CreateIconFromIcoFile(bytes.data(), bytes.size(), GetSystemMetrics(SM_CXICON));
  SetHandle(h);
  file_ = std::move(bytes);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!handle_) return;
  WriteAll(Stream, file_.empty() ? IconToIcoFile(handle_) : file_);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!handle_) return;
  ACanvas->RequiredState({csHandleValid});
  DrawIconEx(ACanvas->GetHandle(), Rect.Left, Rect.Top, handle_, Rect.Width(), Rect.Height(), 0, nullptr,
             DI_NORMAL);
}

// ============================================================================ metafile ========

TMetafile::~TMetafile() { Clear(); }

void TMetafile::Clear() {
  if (handle_) DeleteEnhMetaFile(handle_);
  handle_ = nullptr;
}

void TMetafile::Assign(TPersistent* Source) {
  if (auto* m = dynamic_cast<TMetafile*>(Source)) {
    SetHandle(m->handle_ ? CopyEnhMetaFileA(m->handle_, nullptr) : nullptr);
    width_ = m->width_, height_ = m->height_;
    return;
  }
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  TGraphic::Assign(Source);
}

namespace {

// The picture frame of a metafile in screen pixels.
TSize FrameSize(HENHMETAFILE h) {
  ENHMETAHEADER hdr;
  if (!h || !GetEnhMetaFileHeader(h, sizeof hdr, &hdr)) return {};
  // The frame comes from the file: its extent is taken in 64 bits and kept to a drawable size.
  auto pixels = [](int32_t from, int32_t to) {
    return int32_t(
        std::clamp<int64_t>(std::llround((int64_t(to) - from) * 96 / 2540.0), -(1 << 27), 1 << 27));
  };
  return {pixels(hdr.rclFrame.Left, hdr.rclFrame.Right), pixels(hdr.rclFrame.Top, hdr.rclFrame.Bottom)};
}

}  // namespace

int32_t TMetafile::GetWidth() { return width_ ? width_ : FrameSize(handle_).cx; }
int32_t TMetafile::GetHeight() { return height_ ? height_ : FrameSize(handle_).cy; }
void TMetafile::SetWidth(int32_t Value) {
  if (Value != width_) width_ = Value, Changed(this);
}
void TMetafile::SetHeight(int32_t Value) {
  if (Value != height_) height_ = Value, Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
  if (Value == handle_) return;
  Clear();
  handle_ = Value;
  Changed(this);
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE h = handle_;
  handle_ = nullptr;
  return h;
}

namespace {

// "creator\0title\0\0": part 0 or 1.
AnsiString DescriptionPart(HENHMETAFILE h, int part) {
  UINT n = h ? GetEnhMetaFileDescriptionW(h, 0, nullptr) : 0;
  if (!n || n == UINT(-1)) return "";
  std::u16string d(n, u'\0');
  GetEnhMetaFileDescriptionW(h, n, d.data());
  size_t nul = d.find(u'\0');
  std::u16string field = part == 0 ? d.substr(0, nul) : nul == std::u16string::npos ? u"" : d.substr(nul + 1);
  size_t end = field.find(u'\0');
  return WideToAnsi(field.substr(0, end));
}

}  // namespace

AnsiString TMetafile::GetCreatedBy() { return DescriptionPart(handle_, 0); }
AnsiString TMetafile::GetDescription() { return DescriptionPart(handle_, 1); }

void TMetafile::LoadFromStream(TStream* Stream) {
  std::vector<uint8_t> bytes = ReadRest(Stream);
  HENHMETAFILE h = SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
  width_ = height_ = 0;
  SetHandle(h);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!handle_) return;
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(handle_, 0, nullptr));
  GetEnhMetaFileBits(handle_, UINT(bytes.size()), bytes.data());
  WriteAll(Stream, bytes);
}

void TMetafile::SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) {
  Format = kCfEnhMetafile;
  Data = handle_ ? CopyEnhMetaFileA(handle_, nullptr) : nullptr;
  Palette = nullptr;
}

void TMetafile::LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE) {
  if (Format != kCfEnhMetafile || !Data) throw EInvalidGraphic("Unsupported clipboard format");
  SetHandle(CopyEnhMetaFileA(static_cast<HENHMETAFILE>(Data), nullptr));
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!handle_) return;
  ACanvas->RequiredState({csHandleValid});
  PlayEnhMetaFile(ACanvas->GetHandle(), handle_, &Rect);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice)
    : TMetafileCanvas(AMetafile, ReferenceDevice, "", "") {}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const AnsiString& CreatedBy,
                                 const AnsiString& Description)
    : metafile_(AMetafile) {
  int w = AMetafile ? AMetafile->GetWidth() : 0, h = AMetafile ? AMetafile->GetHeight() : 0;
  int dpi = ReferenceDevice ? GetDeviceCaps(ReferenceDevice, LOGPIXELSX) : 96;
  RECT frame{0, 0, int(std::lround(w * 2540.0 / dpi)), int(std::lround(h * 2540.0 / dpi))};
  AnsiString desc;
  if (!CreatedBy.empty() || !Description.empty()) {
    desc = CreatedBy;
    desc += '\0';
    desc += Description;
    desc += '\0';
    desc += '\0';
  }
  SetHandle(CreateEnhMetaFileDesc(ReferenceDevice, "", w > 0 && h > 0 ? &frame : nullptr, desc));
}

TMetafileCanvas::~TMetafileCanvas() {
  HDC dc = HandleAllocated() ? GetHandle() : nullptr;
  SetHandle(nullptr);
  HENHMETAFILE h = dc ? CloseEnhMetaFile(dc) : nullptr;
  if (metafile_) {
    int w = metafile_->GetWidth(), hh = metafile_->GetHeight();
    metafile_->SetHandle(h);
    if (w) metafile_->SetWidth(w);
    if (hh) metafile_->SetHeight(hh);
  } else if (h) {
    DeleteEnhMetaFile(h);
  }
}

// ============================================================================ JPEG image ======

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    data_ = j->data_;
    CompressionQuality = j->CompressionQuality, Performance = j->Performance, PixelFormat = j->PixelFormat;
    ProgressiveEncoding = j->ProgressiveEncoding, Grayscale = j->Grayscale;
    bitmap_.reset();
    if (j->bitmap_) {
      bitmap_ = std::make_unique<TBitmap>();
      bitmap_->Assign(j->bitmap_.get());
    }
    Changed(this);
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->Assign(b);
    data_.clear();  // made by Compress or when saved
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::Compress() {
  if (!bitmap_ || bitmap_->Empty()) return;
  TSurface* s = bitmap_->Surface();
  std::vector<uint32_t> px(s->Pixels, s->Pixels + size_t(s->Width) * s->Height);
  if (Grayscale || PixelFormat == jf8Bit)
    for (uint32_t& p : px) {
      uint32_t y = (((p >> 16) & 0xFF) * 77 + ((p >> 8) & 0xFF) * 150 + (p & 0xFF) * 29 + 128) >> 8;
      p = y << 16 | y << 8 | y;
    }
  data_ =
      WriteJpeg(px.data(), s->Width, s->Height, std::clamp(CompressionQuality, 1, 100), ProgressiveEncoding);
}

void TJPEGImage::JPEGNeeded() {
  if (data_.empty()) Compress();
}

void TJPEGImage::DIBNeeded() {
  if (bitmap_ || data_.empty()) return;
  TRasterImage img = ReadJpeg(data_.data(), data_.size());
  bitmap_ = std::make_unique<TBitmap>();
  bitmap_->SetPixelFormat(pf24bit);
  bitmap_->SetSize(img.Width, img.Height);
  TSurface* s = bitmap_->Surface();
  std::memcpy(s->Pixels, img.Pixels.data(), img.Pixels.size() * 4);
  ++s->Generation;
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return bitmap_.get();
}

int32_t TJPEGImage::GetWidth() {
  DIBNeeded();
  return bitmap_ ? bitmap_->GetWidth() : 0;
}

int32_t TJPEGImage::GetHeight() {
  DIBNeeded();
  return bitmap_ ? bitmap_->GetHeight() : 0;
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  std::vector<uint8_t> bytes = ReadRest(Stream);
  TRasterImage img = ReadJpeg(bytes.data(), bytes.size());  // refuses corrupt data before anything changes
  data_ = std::move(bytes);
  bitmap_.reset();
  (void)img;
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  JPEGNeeded();
  WriteAll(Stream, data_);
}

void TJPEGImage::SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) {
  JPEGNeeded();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data_.size());
  if (!block) throw EOutOfResources("Out of memory for the clipboard");
  std::memcpy(GlobalLock(block), data_.data(), data_.size());
  GlobalUnlock(block);
  Format = ClipboardFormat;
  Data = block;
  Palette = nullptr;
}

void TJPEGImage::LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE) {
  if (Format != ClipboardFormat || !Data) throw EInvalidGraphic("Unsupported clipboard format");
  SIZE_T n = GlobalSize(Data);
  const auto* p = static_cast<const uint8_t*>(GlobalLock(Data));
  std::vector<uint8_t> bytes(p, p + n);
  GlobalUnlock(Data);
  TMemoryStream mem;
  WriteAll(&mem, bytes);
  mem.SetPosition(0);
  LoadFromStream(&mem);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DIBNeeded();
  if (bitmap_) bitmap_->Draw(ACanvas, Rect);
}

// ============================================================================ PNG image =======

TPngImage::~TPngImage() = default;

void TPngImage::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPngImage*>(Source)) {
    bitmap_ = std::make_unique<TBitmap>();
    if (p->bitmap_) bitmap_->Assign(p->bitmap_.get());
    alpha_ = p->alpha_;
    CompressionLevel = p->CompressionLevel;
    Changed(this);
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->Assign(b);
    alpha_ = false;
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

TBitmap* TPngImage::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

void TPngImage::LoadFromStream(TStream* Stream) {
  std::vector<uint8_t> bytes = ReadRest(Stream);
  TRasterImage img = ReadPng(bytes.data(), bytes.size());
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(img.HasAlpha ? pf32bit : pf24bit);
  b->SetSize(img.Width, img.Height);
  TSurface* s = b->Surface();
  std::memcpy(s->Pixels, img.Pixels.data(), img.Pixels.size() * 4);
  ++s->Generation;
  bitmap_ = std::move(b);
  alpha_ = img.HasAlpha;
  Changed(this);
}

void TPngImage::SaveToStream(TStream* Stream) {
  if (GetEmpty()) throw EInvalidGraphic("Cannot write an empty PNG image");
  TSurface* s = bitmap_->Surface();
  WriteAll(Stream, WritePng(s->Pixels, s->Width, s->Height, std::clamp(CompressionLevel, 0, 9), alpha_));
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (bitmap_) bitmap_->Draw(ACanvas, Rect);
}

// ============================================================================ drawing helpers =

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int32_t Width) {
  TPen* pen = Canvas->GetPen();
  pen->SetWidth(1);
  --Rect.Bottom, --Rect.Right;
  // Rings past the middle draw nothing new: a huge width draws as far as the middle and leaves
  // an empty rectangle there.
  int64_t span = std::min(int64_t(Rect.Right) - Rect.Left, int64_t(Rect.Bottom) - Rect.Top);
  int64_t rest = Width - std::clamp<int64_t>(span / 2 + 1, 0, std::max(Width, 0));
  if (rest > 0) Width -= int32_t(rest);
  while (Width-- > 0) {
    TPoint topRight{Rect.Right, Rect.Top}, bottomLeft{Rect.Left, Rect.Bottom};
    pen->SetColor(TopColor);
    TPoint first[3] = {bottomLeft, Rect.TopLeft(), topRight};
    Canvas->Polyline(first, 3);
    pen->SetColor(BottomColor);
    --bottomLeft.X;
    TPoint second[3] = {topRight, Rect.BottomRight(), bottomLeft};
    Canvas->Polyline(second, 3);
    ++Rect.Left, ++Rect.Top, --Rect.Right, --Rect.Bottom;
  }
  if (rest > 0) {
    Rect.Right = Rect.Left - 1;
    Rect.Bottom = Rect.Top - 1;
  }
  ++Rect.Bottom, ++Rect.Right;
}

TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int32_t BevelWidth, bool IsDown, bool IsFocused) {
  TRect r = Client;
  Canvas->GetPen()->SetColor(clWindowFrame);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clBtnFace);
  if (IsFocused) {
    Canvas->Rectangle(r);
    ++r.Left, ++r.Top, --r.Right, --r.Bottom;
  }
  Canvas->FillRect(r);
  if (IsDown)
    Frame3D(Canvas, r, clBtnShadow, clBtnShadow, 1);
  else
    Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, BevelWidth);
  return r;
}

// ============================================================================ class descriptions

PL_ENUM_NAMES(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
PL_ENUM_NAMES(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
PL_ENUM_NAMES(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
              "psInsideFrame")
PL_ENUM_NAMES(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
              "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
              "pmXor", "pmNotXor")
PL_ENUM_NAMES(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
              "bsCross", "bsDiagCross")
PL_ENUM_NAMES(TPixelFormat, "pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit",
              "pf32bit", "pfCustom")

const TClassInfo& TGraphicsObject::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGraphicsObject, TPersistent>("TGraphicsObject");
  return info;
}

const TClassInfo& TFont::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFont, TGraphicsObject>("TFont")
                                     .Prop("Charset", &TFont::GetCharset, &TFont::SetCharset)
                                     .Type(CharsetTypeInfo())
                                     .Prop("Color", &TFont::GetColor, &TFont::SetColor)
                                     .Type(ColorTypeInfo())
                                     .Prop("Height", &TFont::GetHeight, &TFont::SetHeight)
                                     .Prop("Name", &TFont::GetName, &TFont::SetName)
                                     .Prop("Pitch", &TFont::GetPitch, &TFont::SetPitch)
                                     .Default(fpDefault)
                                     .Prop("Size", &TFont::GetSize, &TFont::SetSize)
                                     .Stored(false)
                                     .Prop("Style", &TFont::GetStyle, &TFont::SetStyle);
  return info;
}

const TClassInfo& TPen::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPen, TGraphicsObject>("TPen")
                                     .Prop("Color", &TPen::GetColor, &TPen::SetColor)
                                     .Type(ColorTypeInfo())
                                     .Default(clBlack)
                                     .Prop("Mode", &TPen::GetMode, &TPen::SetMode)
                                     .Default(pmCopy)
                                     .Prop("Style", &TPen::GetStyle, &TPen::SetStyle)
                                     .Default(psSolid)
                                     .Prop("Width", &TPen::GetWidth, &TPen::SetWidth)
                                     .Default(1);
  return info;
}

const TClassInfo& TBrush::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TBrush, TGraphicsObject>("TBrush")
                                     .Prop("Color", &TBrush::GetColor, &TBrush::SetColor)
                                     .Type(ColorTypeInfo())
                                     .Default(clWhite)
                                     .Prop("Style", &TBrush::GetStyle, &TBrush::SetStyle)
                                     .Default(bsSolid);
  return info;
}

#define PL_PLAIN_CLASS(T, Base)                                 \
  const TClassInfo& T::ClassInfo() {                            \
    static const TClassInfo info = TClassInfo::Of<T, Base>(#T); \
    return info;                                                \
  }
PL_PLAIN_CLASS(TCanvas, TPersistent)
PL_PLAIN_CLASS(TGraphic, TPersistent)
PL_PLAIN_CLASS(TPicture, TPersistent)
PL_PLAIN_CLASS(TBitmap, TGraphic)
PL_PLAIN_CLASS(TIcon, TGraphic)
PL_PLAIN_CLASS(TMetafile, TGraphic)
PL_PLAIN_CLASS(TMetafileCanvas, TCanvas)
PL_PLAIN_CLASS(TJPEGImage, TGraphic)
PL_PLAIN_CLASS(TPngImage, TGraphic)
#undef PL_PLAIN_CLASS
