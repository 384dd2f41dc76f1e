// TAdvStringGrid, cell graphics and cell controls: where a cell's graphic stands, the check boxes,
// radio groups, tree node boxes, rotated text, progress bars, comment marks, push buttons,
// images and pictures drawn in cells, the header's sort mark, the look of the controls
// (TControlLook) and the grid's own bitmaps.
//
// Sections: bitmaps / control look / placement / drawing a cell's graphic / control painters /
// sort mark.
#include <cmath>
#include <map>

#include "grid/AdvGrid.h"
#include "grid/AdvObj.h"
#include "grid/AdvUtil.h"
#include "grid/AdvXPVS.h"
#include "platform/runtime/Resources.h"

// ============================================================================ bitmaps =========

namespace {

// The grid's bitmaps are drawn here, pixel by pixel, as 24-bit device-independent bitmaps; the
// top-left pixel is each one's transparent colour.
constexpr uint32_t kCellBitmapKey = 0xFF00FF;

using TCellPixelFn = uint32_t (*)(int32_t x, int32_t y, int32_t variant);

std::vector<uint8_t> MakeCellDib(int32_t w, int32_t h, TCellPixelFn px, int32_t variant) {
  const int32_t stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b(size_t(40 + stride * h), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, uint32_t(w));
  put32(8, uint32_t(h));
  b[12] = 1;
  b[14] = 24;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t rgb = px(x, y, variant);
      uint8_t* p = &b[size_t(40 + (h - 1 - y) * stride + x * 3)];
      p[0] = uint8_t(rgb);
      p[1] = uint8_t(rgb >> 8);
      p[2] = uint8_t(rgb >> 16);
    }
  return b;
}

// Variants: bit 0 checked, bit 1 disabled, bit 2 the larger, rounder look.
uint32_t CheckBoxPixel(int32_t x, int32_t y, int32_t v) {
  const int32_t size = v & 4 ? 20 : 16, box0 = v & 4 ? 3 : 1, box1 = size - box0 - 1;
  if (x < box0 || y < box0 || x > box1 || y > box1) return kCellBitmapKey;
  if (x == box0 || y == box0 || x == box1 || y == box1)
    return v & 2 ? 0xA0A0A0 : (v & 4 ? 0x3060A0 : 0x1C5180);
  if (v & 1) {
    // A tick: down from the left, up to the right.
    const int32_t cx = x - box0, cy = y - box0, n = box1 - box0;
    const bool stroke = (cx >= 2 && cx <= n / 2 - 1 && cy - cx >= n / 2 - 2 && cy - cx <= n / 2) ||
                        (cx >= n / 2 - 1 && cx <= n - 2 && cy + cx >= n - 1 && cy + cx <= n + 1);
    if (stroke) return v & 2 ? 0x808080 : 0x21A121;
  }
  return v & 2 ? 0xE0E0E0 : 0xFFFFFF;
}

uint32_t RadioPixel(int32_t x, int32_t y, int32_t v) {
  const double d = std::hypot(x - 7.5, y - 7.5);
  if (d > 7.2) return kCellBitmapKey;
  if (d > 6.0) return v & 2 ? 0xA0A0A0 : (v & 4 ? 0x3060A0 : 0x1C5180);
  if ((v & 1) && d < 3.2) return v & 2 ? 0x808080 : 0x21A121;
  return v & 2 ? 0xE0E0E0 : 0xFFFFFF;
}

// A folder, open (variant 0) or closed (1).
uint32_t LeafPixel(int32_t x, int32_t y, int32_t v) {
  if (x < 1 || x > 14 || y < 3 || y > 13) return kCellBitmapKey;
  if (y == 3 && x > 6) return kCellBitmapKey;
  if (x == 1 || x == 14 || y == 3 || y == 13 || y == 4) return 0x806020;
  if (v == 0 && y == 7) return 0x806020;
  return v == 0 && y > 7 ? 0xF0D890 : 0xE8C060;
}

struct TCellBitmapResource {
  std::vector<uint8_t> Bytes;
  TResourceRegistration Registration;
  TCellBitmapResource(const char* name, int32_t size, TCellPixelFn px, int32_t variant)
      : Bytes(MakeCellDib(size, size, px, variant)),
        Registration(RT_BITMAP, name, Bytes.data(), Bytes.size()) {}
};

// Check boxes: 01-04 the larger look, 05-08 the smaller; in each group checked, unchecked,
// checked disabled, unchecked disabled.  Radio buttons alike.
const TCellBitmapResource kCellBitmaps[] = {
    {"ASGCHK01", 20, CheckBoxPixel, 5}, {"ASGCHK02", 20, CheckBoxPixel, 4},
    {"ASGCHK03", 20, CheckBoxPixel, 7}, {"ASGCHK04", 20, CheckBoxPixel, 6},
    {"ASGCHK05", 16, CheckBoxPixel, 1}, {"ASGCHK06", 16, CheckBoxPixel, 0},
    {"ASGCHK07", 16, CheckBoxPixel, 3}, {"ASGCHK08", 16, CheckBoxPixel, 2},
    {"ASGRAD01", 16, RadioPixel, 5},    {"ASGRAD02", 16, RadioPixel, 4},
    {"ASGRAD03", 16, RadioPixel, 7},    {"ASGRAD04", 16, RadioPixel, 6},
    {"ASGRAD05", 16, RadioPixel, 1},    {"ASGRAD06", 16, RadioPixel, 0},
    {"ASGRAD07", 16, RadioPixel, 3},    {"ASGRAD08", 16, RadioPixel, 2},
    {"ASGLEAFOPEN", 16, LeafPixel, 0},  {"ASGLEAFCLOSE", 16, LeafPixel, 1},
};

// Each bitmap is read from the resources once and kept for the program's life.
TBitmap* CellResourceBitmap(const char* name) {
  static auto* cache = new std::map<AnsiString, std::unique_ptr<TBitmap>>();
  auto& slot = (*cache)[name];
  if (!slot) {
    slot = std::make_unique<TBitmap>();
    slot->LoadFromResourceName(nullptr, name);
  }
  return slot.get();
}

// The bitmap at (X, Y) with its top-left pixel's colour left out.
void DrawTransparentAt(TCanvas* Canvas, int32_t X, int32_t Y, TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  TCanvas* source = Bitmap->GetCanvas();
  const COLORREF key = COLORREF(ColorToRGB(source->GetPixel(0, 0)));
  Canvas->RequiredState({csHandleValid});
  source->RequiredState({csHandleValid});
  const int32_t w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
  TransparentBlt(Canvas->GetHandle(), X, Y, w, h, source->GetHandle(), 0, 0, w, h, key);
}

// The "button" class of the visual styles draws one part; nothing when no theme opens.
void DrawThemedButtonPart(HWND Window, HDC DC, int Part, int State, const TRect& R) {
  const TAdvVisualStyles& vs = AdvVisualStyles();
  if (!vs.OpenThemeData || !vs.DrawThemeBackground || !vs.CloseThemeData) return;
  HTHEME theme = vs.OpenThemeData(Window, u"button");
  if (!theme) return;
  RECT r = R;
  vs.DrawThemeBackground(theme, DC, Part, State, &r, nullptr);
  vs.CloseThemeData(theme);
}

// Theme states of check boxes and radio buttons: unchecked, unchecked disabled, checked,
// checked disabled.
int ThemeCheckState(bool Checked, bool Enabled) { return Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4); }

// A resource name of four in a group: checked, unchecked, checked disabled, unchecked disabled.
AnsiString GroupBitmapName(const char* Prefix, int32_t First, bool Checked, bool Enabled) {
  const int32_t n = First + (Checked ? 0 : 1) + (Enabled ? 0 : 2);
  return AnsiString(Prefix) + (n < 10 ? "0" : "") + IntToStr(n);
}

void Line(TCanvas* C, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

// ============================================================================ control look ====

PL_ENUM_NAMES(TAdvControlStyle, "csClassic", "csFlat", "csWinXP", "csBorland", "csZKV", "csGlyph", "csTheme")

const TClassInfo& TControlLook::ClassInfo() {
  using L = TControlLook;
  static const TClassInfo info = TClassInfo::Of<L, TPersistent>("TControlLook")
                                     .Prop("Color", &L::GetColor, &L::SetColor)
                                     .Default(clBlack)
                                     .Type(ColorTypeInfo())
                                     .Prop("CheckedGlyph", &L::GetCheckedGlyph, &L::SetCheckedGlyph)
                                     .Prop("UnCheckedGlyph", &L::GetUnCheckedGlyph, &L::SetUnCheckedGlyph)
                                     .Prop("RadioOnGlyph", &L::GetRadioOnGlyph, &L::SetRadioOnGlyph)
                                     .Prop("RadioOffGlyph", &L::GetRadioOffGlyph, &L::SetRadioOffGlyph)
                                     .Prop("CheckSize", &L::GetCheckSize, &L::SetCheckSize)
                                     .Default(15)
                                     .Prop("RadioSize", &L::GetRadioSize, &L::SetRadioSize)
                                     .Default(10)
                                     .Prop("ControlStyle", &L::GetControlStyle, &L::SetControlStyle)
                                     .Default(csClassic)
                                     .Prop("FlatButton", &L::GetFlatButton, &L::SetFlatButton)
                                     .Default(false);
  return info;
}

TControlLook::TControlLook(TAdvStringGrid* AOwner)
    : grid_(AOwner),
      checked_(std::make_unique<TBitmap>()),
      unchecked_(std::make_unique<TBitmap>()),
      radioOn_(std::make_unique<TBitmap>()),
      radioOff_(std::make_unique<TBitmap>()) {}

TControlLook::~TControlLook() = default;

void TControlLook::Changed() {
  if (grid_) grid_->Invalidate();
}

void TControlLook::SetColor(TColor Value) {
  color_ = Value;
  Changed();
}

void TControlLook::SetCheckedGlyph(TBitmap* Value) {
  checked_->Assign(Value);
  Changed();
}

void TControlLook::SetUnCheckedGlyph(TBitmap* Value) {
  unchecked_->Assign(Value);
  Changed();
}

void TControlLook::SetRadioOnGlyph(TBitmap* Value) {
  radioOn_->Assign(Value);
  Changed();
}

void TControlLook::SetRadioOffGlyph(TBitmap* Value) {
  radioOff_->Assign(Value);
  Changed();
}

void TControlLook::SetCheckSize(int32_t Value) {
  checkSize_ = Value;
  Changed();
}

void TControlLook::SetRadioSize(int32_t Value) {
  radioSize_ = Value;
  Changed();
}

void TControlLook::SetControlStyle(TAdvControlStyle Value) {
  style_ = Value;
  Changed();
}

void TControlLook::SetFlatButton(bool Value) {
  flatButton_ = Value;
  Changed();
}

void TAdvStringGrid::SetControlLook(TControlLook* Value) {
  if (!Value) return;
  controlLook_->SetColor(Value->GetColor());
  controlLook_->SetCheckedGlyph(Value->GetCheckedGlyph());
  controlLook_->SetUnCheckedGlyph(Value->GetUnCheckedGlyph());
  controlLook_->SetRadioOnGlyph(Value->GetRadioOnGlyph());
  controlLook_->SetRadioOffGlyph(Value->GetRadioOffGlyph());
  controlLook_->SetCheckSize(Value->GetCheckSize());
  controlLook_->SetRadioSize(Value->GetRadioSize());
  controlLook_->SetControlStyle(Value->GetControlStyle());
  controlLook_->SetFlatButton(Value->GetFlatButton());
}

void TAdvStringGrid::InitCellGraphics() {
  controlLook_ = std::make_unique<TControlLook>(this);
  OSVERSIONINFOA v;
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  const bool modern = v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1);
  visualStyles_ = modern && AdvThemesActive();
}

// ============================================================================ placement =======

TRect TAdvStringGrid::GraphicLayoutRect(const TRect& R, int32_t W, int32_t H, TCellHAlign HAlign,
                                        TCellVAlign VAlign, TAlignment TextAlign, int32_t TextWidth) {
  const int32_t tw = TextWidth > 0 ? TextWidth + 2 : 0;
  TRect out;
  switch (HAlign) {
    case haLeft:
      out.Left = R.Left + 1;
      break;
    case haRight:
      out.Left = R.Right - W - 1;
      break;
    case haCenter:
      out.Left = W <= R.Width() ? R.Left + (R.Width() - W) / 2 : R.Left + 1;
      break;
    case haBeforeText:
      out.Left = TextAlign == taLeftJustify ? R.Left + 1 : std::max(R.Right - tw - W, R.Left + 1);
      break;
    case haAfterText:
      out.Left = TextAlign == taRightJustify ? R.Right - W - 1 : R.Left + tw;
      break;
    case haFull:
      out.Left = R.Left;
      break;
  }
  out.Right = HAlign == haFull ? R.Right : out.Left + W;
  switch (VAlign) {
    case vaTop:
    case vaAboveText:
      out.Top = R.Top + 1;
      break;
    case vaBottom:
      out.Top = R.Bottom - H - 1;
      break;
    case vaCenter:
      out.Top = H <= R.Height() ? R.Top + (R.Height() - H) / 2 : R.Top + 1;
      break;
    case vaUnderText:
      out.Top = R.Bottom - H;
      break;
    case vaFull:
      out.Top = R.Top;
      break;
  }
  out.Bottom = VAlign == vaFull ? R.Bottom : out.Top + H;
  return out;
}

TRect TAdvStringGrid::CheckBoxLayoutRect(const TRect& R, int32_t W, bool DataKind, TAlignment TextAlign,
                                         int32_t TextWidth) {
  const int32_t tw = TextWidth > 0 ? TextWidth + 2 : 0;
  int32_t left = R.Left + 1;
  if (TextAlign == taRightJustify)
    left = std::max((DataKind ? R.Right : R.Right - tw) - W - 1, R.Left + 1);
  else if (TextAlign == taCenter)
    left = DataKind || tw == 0 ? R.Left + (R.Width() - W) / 2 : R.Left + (R.Width() - tw) / 2 - W;
  return TRect{left, R.Top, left + W, R.Bottom};
}

TCellGraphicInfo TAdvStringGrid::GetCellGraphicInfo(int32_t ACol, int32_t ARow) {
  TCellGraphicInfo info;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return info;
  info.Graphic = g;
  info.HAlign = g->CellHAlign;
  info.VAlign = g->CellVAlign;
  const int32_t check = controlLook_->GetCheckSize();
  TPoint size{0, 0};
  switch (g->CellType) {
    case ctBitmap:
    case ctBitButton:
      if (g->CellType == ctBitmap)
        if (auto* b = dynamic_cast<TBitmap*>(g->Graphic)) size = {b->GetWidth(), b->GetHeight()};
      if (g->CellType == ctBitButton) size = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
      break;
    case ctIcon:
      if (g->Icon) size = {g->Icon->GetWidth(), g->Icon->GetHeight()};
      break;
    case ctImageList:
    case ctDataImage:
      if (gridImages_) size = {gridImages_->GetWidth(), gridImages_->GetHeight()};
      info.TextDrawn = g->CellType == ctImageList || !gridImages_;
      break;
    case ctCheckBox:
      size = {check, check};
      break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
      size = {check, check};
      info.TextDrawn = false;
      break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
      info.TextDrawn = false;
      break;
    case ctImages:
    case ctPicture:
    case ctFilePicture:
      size = CellGraphicSize(ACol, ARow);
      break;
    case ctButton:
      size = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
      break;
    case ctProgressPie:
      size = {20, 20};
      break;
    default:
      break;
  }
  const TPoint cell = MergedCellSize(DataColToDisplCol(ACol), ARow);
  if (g->CellVAlign == vaFull) size.Y = cell.Y;
  if (g->CellHAlign == haFull) size.X = cell.X;
  info.Width = size.X;
  info.Height = size.Y;
  return info;
}

// ============================================================================ drawing a cell's
// graphic

void TAdvStringGrid::DrawCellGraphic(TRect R, TCellGraphic* G) {
  if (!G) return;
  TCanvas* c = GetCanvas();
  const TGraphicPaint& p = graphicPaint_;
  const TCellGraphicInfo info = GetCellGraphicInfo(p.Col, p.Row);
  const TRect at =
      GraphicLayoutRect(R, info.Width, info.Height, G->CellHAlign, G->CellVAlign, p.TextAlign, p.TextWidth);
  const AnsiString text = GetCells(p.Col, p.Row);
  auto enabled = [&] {
    bool can = true;
    CanEditCell(p.Col, p.Row, can);
    return can;
  };
  switch (G->CellType) {
    case ctBitmap:
      if (auto* b = dynamic_cast<TBitmap*>(G->Graphic)) {
        if (G->CellTransparent)
          DrawKeyedBitmap(c, b, p.Selected ? selectionColor_ : c->GetBrush()->GetColor(), at);
        else
          c->Draw(at.Left, at.Top, b);
      }
      break;
    case ctIcon:
      c->Draw(at.Left, at.Top, G->Icon);
      break;
    case ctImageList:
      if (gridImages_ && G->CellIndex >= 0 && G->CellIndex < gridImages_->Count())
        gridImages_->Draw(c, at.Left, at.Top, G->CellIndex);
      break;
    case ctDataImage: {
      int32_t v = 0;
      if (gridImages_ && TryStrToInt(text, v)) {
        const int64_t index = int64_t(v) + G->CellIndex;
        if (index >= 0 && index < gridImages_->Count()) gridImages_->Draw(c, at.Left, at.Top, int32_t(index));
      }
      break;
    }
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      const bool data = G->CellType != ctCheckBox;
      bool checked = G->CellBoolean;
      if (data) {
        AnsiString yes;
        GetCheckTrue(p.Col, p.Row, yes);
        checked = text == yes;
      }
      const int32_t w = controlLook_->GetCheckSize();
      TRect box = CheckBoxLayoutRect(R, w, data, p.TextAlign, p.TextWidth);
      box.Top = at.Top;
      box.Bottom = at.Top + w;
      DrawCheckBox(box, checked, enabled(), controlLook_->GetControlStyle());
      break;
    }
    case ctRotated:
      DrawRotatedText(c, R, G);
      break;
    case ctNode:
      if (p.Col == 0) DrawNodeBox(c, R, G);
      break;
    case ctRadio: {
      auto* items = dynamic_cast<TStrings*>(G->Graphic);
      if (items) DrawRadioGroup(R, items->Count(), G->CellIndex, items, !enabled(), G->CellBoolean);
      break;
    }
    case ctImages:
      if (gridImages_ && G->ImageIndexes) {
        int32_t x = at.Left, y = at.Top;
        for (int32_t index : *G->ImageIndexes) {
          gridImages_->Draw(c, x, y, index);
          (G->CellBoolean ? x : y) += G->CellBoolean ? gridImages_->GetWidth() : gridImages_->GetHeight();
        }
      }
      break;
    case ctPicture: {
      TGraphic* pic = dynamic_cast<TGraphic*>(G->Graphic);
      if (auto* holder = dynamic_cast<TPicture*>(G->Graphic)) pic = holder->GetGraphic();
      if (!pic) break;
      if (G->CellAngle != 0)
        c->StretchDraw(at, pic);
      else
        c->Draw(at.Left, at.Top, pic);
      break;
    }
    case ctFilePicture:
      if (auto* f = dynamic_cast<TFilePicture*>(G->Graphic)) f->Draw(c, at);
      break;
    case ctProgress:
      DrawProgressBar(c, R, G);
      break;
    case ctComment:
      if (CommentColor != clNone) {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(CommentColor);
        c->GetPen()->SetColor(CommentColor);
        c->Polygon({TPoint{R.Right - 7, R.Top + 1}, {R.Right - 2, R.Top + 1}, {R.Right - 2, R.Top + 6}});
      }
      break;
    case ctButton:
    case ctBitButton: {
      // Clicks are tested against the offset kept in the record.
      const int32_t dx = std::clamp(at.Left - R.Left, 0, 0xFFFF), dy = std::clamp(at.Top - R.Top, 0, 0x7FFF);
      G->CellValue = double(dx | (dy << 16));
      DrawCellButton(c, at, G);
      break;
    }
    case ctProgressPie:
      DrawProgressPie(c, TRect{at.Left, at.Top, at.Left + 20, at.Top + 20}, G->GraphicColor, G->CellAngle);
      break;
    default:
      break;
  }
}

TPoint TAdvStringGrid::RotatedTextOrigin(TRect& R, int32_t Angle, TAlignment HAlign, TVAlignment VAlign,
                                         const AnsiString& Text) {
  const TSize ext = GetCanvas()->TextExtent(Text);
  R.Right -= 2;
  R.Bottom -= 2;
  int32_t a = Angle % 360;
  if (a < 0) a += 360;
  const double t = a * M_PI / 180.0;
  const int32_t wc = std::abs(int32_t(Round(ext.cx * std::cos(t)))),
                ws = std::abs(int32_t(Round(ext.cx * std::sin(t))));
  const int32_t hc = std::abs(int32_t(Round(ext.cy * std::cos(t)))),
                hs = std::abs(int32_t(Round(ext.cy * std::sin(t))));
  const int32_t bw = wc + hs, bh = ws + hc;
  int32_t left = R.Left, top = R.Top;
  if (HAlign == taRightJustify) left = R.Right - bw;
  if (HAlign == taCenter) left = R.Left + (R.Width() - bw) / 2;
  if (VAlign == vtaBottom) top = R.Bottom - bh;
  if (VAlign == vtaCenter) top = R.Top + (R.Height() - bh) / 2;
  TPoint in;
  if (a <= 90)
    in = {0, ws};
  else if (a <= 180)
    in = {wc, ws + hc};
  else if (a <= 270)
    in = {wc + hs, hc};
  else
    in = {hs, 0};
  return {left + in.X - textMargin_.X, top + in.Y - textMargin_.Y};
}

void TAdvStringGrid::DrawRotatedText(TCanvas* Canvas, TRect R, TCellGraphic* G) {
  const AnsiString text = GetCells(graphicPaint_.Col, graphicPaint_.Row);
  const TRect clip{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  TRect layout = R;
  const TPoint start =
      RotatedTextOrigin(layout, G->CellAngle, graphicPaint_.TextAlign, graphicPaint_.TextVAlign, text);
  TFont saved;
  saved.Assign(Canvas->GetFont());
  Canvas->GetFont()->SetOrientation(G->CellAngle * 10);
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC dc = Canvas->GetHandle();
  const int state = SaveDC(dc);
  IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  const UINT align = SetTextAlign(dc, TA_TOP | TA_LEFT);
  Canvas->TextOut(start.X, start.Y, text);
  SetTextAlign(dc, align);
  RestoreDC(dc, state);
  Canvas->GetFont()->Assign(&saved);
  Canvas->GetBrush()->SetStyle(bsSolid);
}

void TAdvStringGrid::DrawProgressBar(TCanvas* Canvas, TRect R, TCellGraphic* G) {
  InflateRect(&R, -2, -2);
  const AnsiString text = GetCells(graphicPaint_.Col, graphicPaint_.Row);
  int32_t value = 0;
  if (!TryStrToInt(text, value)) value = 0;
  value = std::clamp(value, 0, 100);
  const int32_t split = R.Left + int32_t(Round(value * R.Width() / 100.0));
  const TColor bar = G->GraphicColor, back = G->IconColor;
  auto inverted = [](TColor c) { return TColor(ColorToRGB(c) ^ 0xFFFFFF); };
  const TColor barText = G->CellBoolean ? TColor(G->CellIndex) : inverted(bar);
  const TColor backText = G->CellBoolean ? TColor(G->CellAngle) : inverted(back);
  const TColor cellBrush = Canvas->GetBrush()->GetColor();
  const AnsiString caption = text + "%";
  Canvas->RequiredState({csHandleValid});
  HDC dc = Canvas->GetHandle();
  auto part = [&](const TRect& area, TColor fill, TColor ink) {
    if (area.Right <= area.Left) return;
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(fill);
    Canvas->FillRect(area);
    const int state = SaveDC(dc);
    IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
    Canvas->GetFont()->SetColor(ink);
    Canvas->RequiredState({csHandleValid, csFontValid});
    const int mode = SetBkMode(dc, TRANSPARENT);
    RECT r = R;
    DrawTextA(dc, caption.c_str(), int(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, mode);
    RestoreDC(dc, state);
  };
  part(TRect{R.Left, R.Top, split, R.Bottom}, bar, barText);
  part(TRect{split, R.Top, R.Right, R.Bottom}, back, backText);
  TRect frame = R;
  InflateRect(&frame, 1, 1);
  Canvas->GetBrush()->SetColor(clBlack);
  Canvas->FrameRect(frame);
  InflateRect(&frame, 1, 1);
  Canvas->GetBrush()->SetColor(cellBrush);
  Canvas->FrameRect(frame);
}

void TAdvStringGrid::DrawCellButton(TCanvas* Canvas, TRect R, TCellGraphic* G) {
  const bool pressed = G->CellBoolean;
  Canvas->RequiredState({csHandleValid});
  HDC dc = Canvas->GetHandle();
  if (visualStyles_ && AdvThemesActive()) {
    DrawThemedButtonPart(GetHandle(), dc, 1, pressed ? 3 : 1, R);
  } else {
    RECT r = R;
    DrawFrameControl(
        dc, &r, DFC_BUTTON,
        DFCS_BUTTONPUSH | (controlLook_->GetFlatButton() ? DFCS_FLAT : 0) | (pressed ? DFCS_PUSHED : 0));
  }
  const int32_t in = pressed ? 3 : 2;
  TRect caption{R.Left + in, R.Top + in, R.Right - in, R.Bottom - in};
  if (G->CellType == ctBitButton)
    if (auto* b = dynamic_cast<TBitmap*>(G->Graphic); b && !b->Empty()) {
      DrawKeyedBitmap(Canvas, b, clBtnFace, caption);
      caption.Left += b->GetWidth() + 2;
    }
  Canvas->RequiredState({csHandleValid, csFontValid});
  const int mode = SetBkMode(dc, TRANSPARENT);
  RECT r = caption;
  DrawTextA(dc, G->CellText.c_str(), int(G->CellText.size()), &r, DT_END_ELLIPSIS | DT_VCENTER | DT_CENTER);
  SetBkMode(dc, mode);
}

void TAdvStringGrid::DrawNodeBox(TCanvas* Canvas, TRect R, TCellGraphic* G) {
  R.Left -= RowIndent(graphicPaint_.Row);
  const TCellNode* node = cellNode_.get();
  const bool contracted = G->CellBoolean;
  const TColor brush = Canvas->GetBrush()->GetColor();
  if (node->GetNodeType() == cn3D) {
    Canvas->GetBrush()->SetColor(node->Color);
    Canvas->FillRect(R);
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetPen()->SetColor(clWhite);
    Line(Canvas, R.Left, R.Bottom - 1, R.Left, R.Top);
    Canvas->LineTo(R.Right - 1, R.Top);
    Canvas->GetPen()->SetColor(clGray);
    Canvas->LineTo(R.Right - 1, R.Bottom - 1);
    Canvas->LineTo(R.Left, R.Bottom - 1);
  }
  TBitmap* glyph = nullptr;
  if (node->GetNodeType() == cnLeaf)
    glyph = CellResourceBitmap(contracted ? "ASGLEAFCLOSE" : "ASGLEAFOPEN");
  else if (node->GetNodeType() == cnGlyph && !node->GetExpandGlyph()->Empty() &&
           !node->GetContractGlyph()->Empty())
    glyph = contracted ? node->GetContractGlyph() : node->GetExpandGlyph();
  if (glyph) {
    const int32_t top = R.Top + std::max(0, (R.Height() - glyph->GetHeight()) / 2);
    DrawKeyedBitmap(Canvas, glyph, brush, TRect{R.Left + 2, top, R.Right, R.Bottom});
    return;
  }
  const int32_t left = R.Left + 4, top = R.Top + (R.Height() - 8) / 2;
  const TRect box{left, top, left + 8, top + 8};
  Canvas->GetBrush()->SetColor(node->Color);
  Canvas->FillRect(box);
  if (node->GetNodeType() == cnFlat) {
    Canvas->GetBrush()->SetColor(node->NodeColor);
    Canvas->FrameRect(TRect{box.Left, box.Top, box.Right + 1, box.Bottom + 1});
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetPen()->SetColor(node->NodeColor);
    Line(Canvas, left + 1 + 1, top + 4, left + 6 + 1, top + 4);
    if (contracted) Line(Canvas, left + 4, top + 1 + 1, left + 4, top + 6 + 1);
  } else {
    Canvas->RequiredState({csHandleValid});
    RECT e = box;
    DrawEdge(Canvas->GetHandle(), &e, contracted ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_SOFT);
  }
  Canvas->GetBrush()->SetColor(brush);
}

// ============================================================================ control painters

void TAdvStringGrid::DrawCheckBox(TRect R, bool Checked, bool Enabled, TAdvControlStyle Style) {
  TCanvas* c = GetCanvas();
  const int32_t size = controlLook_->GetCheckSize();
  c->RequiredState({csHandleValid});
  HDC dc = c->GetHandle();
  switch (Style) {
    case csClassic:
    case csFlat: {
      RECT r{R.Left + (R.Width() - size) / 2, R.Top + (R.Height() - size) / 2, 0, 0};
      r.Right = r.Left + size;
      r.Bottom = r.Top + size;
      DrawFrameControl(dc, &r, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (Checked ? DFCS_CHECKED : 0) | (Style == csFlat ? DFCS_FLAT : 0) |
                           (Enabled ? 0 : DFCS_INACTIVE));
      break;
    }
    case csWinXP:
      DrawTransparentAt(c, R.Left, R.Top,
                        CellResourceBitmap(GroupBitmapName("ASGCHK", 5, Checked, Enabled).c_str()));
      break;
    case csZKV:
      DrawTransparentAt(c, R.Left, R.Top,
                        CellResourceBitmap(GroupBitmapName("ASGCHK", 1, Checked, Enabled).c_str()));
      break;
    case csBorland: {
      c->GetPen()->SetWidth(1);
      c->GetPen()->SetColor(clBtnFace);
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
      c->Rectangle(R);
      c->GetPen()->SetColor(clBtnHighlight);
      Line(c, R.Left, R.Bottom, R.Left, R.Top);
      c->LineTo(R.Right, R.Top);
      c->GetPen()->SetColor(clBtnShadow);
      c->LineTo(R.Right, R.Bottom);
      c->LineTo(R.Left, R.Bottom);
      if (Checked) {
        c->GetPen()->SetColor(Enabled ? controlLook_->GetColor() : TColor(0x808080));
        Line(c, R.Left + 2, R.Top + size / 2, R.Left + 2, R.Bottom - 2);
        Line(c, R.Left + 3, R.Top - 1 + size / 2, R.Left + 3, R.Bottom - 3);
        Line(c, R.Left + 2, R.Bottom - 2, R.Right - 2, R.Top + 2);
        Line(c, R.Left + 3, R.Bottom - 2, R.Right - 1, R.Top + 2);
      }
      break;
    }
    case csGlyph:
      DrawTransparentAt(c, R.Left, R.Top,
                        Checked ? controlLook_->GetCheckedGlyph() : controlLook_->GetUnCheckedGlyph());
      break;
    case csTheme:
      if (visualStyles_)
        DrawThemedButtonPart(GetHandle(), dc, 3, ThemeCheckState(Checked, Enabled),
                             TRect{R.Left, R.Top, R.Left + size, R.Top + size});
      break;
  }
}

void TAdvStringGrid::DrawRadioGroup(TRect R, int32_t Count, int32_t Index, TStrings* Items, bool Disabled,
                                    bool SideBySide) {
  TCanvas* c = GetCanvas();
  const TAdvControlStyle style = controlLook_->GetControlStyle();
  const bool small = style == csClassic || style == csFlat;
  const int32_t size = small ? controlLook_->GetRadioSize() + (style == csFlat ? 2 : 0) : 16;
  const AnsiString text =
      graphicPaint_.Col >= 0 ? GetCells(graphicPaint_.Col, graphicPaint_.Row) : AnsiString();
  c->RequiredState({csHandleValid, csFontValid});
  HDC dc = c->GetHandle();
  const int mode = SetBkMode(dc, TRANSPARENT);
  auto button = [&](int32_t x, int32_t y, bool on) {
    switch (style) {
      case csClassic:
      case csFlat: {
        RECT r{x, y, x + size, y + size};
        DrawFrameControl(dc, &r, DFC_BUTTON,
                         DFCS_BUTTONRADIO | (style == csFlat ? DFCS_FLAT : 0) |
                             (Disabled ? DFCS_INACTIVE : 0) | (on ? DFCS_CHECKED : 0));
        break;
      }
      case csWinXP:
        DrawTransparentAt(c, x, y, CellResourceBitmap(GroupBitmapName("ASGRAD", 5, on, !Disabled).c_str()));
        break;
      case csZKV:
        DrawTransparentAt(c, x, y, CellResourceBitmap(GroupBitmapName("ASGRAD", 1, on, !Disabled).c_str()));
        break;
      case csGlyph:
        DrawTransparentAt(c, x, y, on ? controlLook_->GetRadioOnGlyph() : controlLook_->GetRadioOffGlyph());
        break;
      case csBorland: {
        const TColor light = on ? clGray : clWhite, dark = on ? clWhite : clGray;
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(clBtnFace);
        c->GetPen()->SetColor(clBtnFace);
        c->Polygon({TPoint{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}});
        c->GetPen()->SetColor(light);
        Line(c, x + 8, y + 14, x + 2, y + 8);
        c->LineTo(x + 8, y + 2);
        c->GetPen()->SetColor(dark);
        c->LineTo(x + 14, y + 8);
        c->LineTo(x + 8, y + 14);
        if (on) {
          c->GetBrush()->SetColor(controlLook_->GetColor());
          c->GetPen()->SetColor(controlLook_->GetColor());
          c->Polygon({TPoint{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
        }
        break;
      }
      case csTheme:
        if (visualStyles_)
          DrawThemedButtonPart(GetHandle(), dc, 2, ThemeCheckState(on, !Disabled),
                               TRect{x, y, x + 16, y + 16});
        break;
    }
  };
  const int32_t lineH = small ? c->TextHeight("gh") : std::max(16, c->TextHeight("gh"));
  int32_t captions = 0;
  for (int32_t i = 0; i < Count && Items && i < Items->Count(); ++i) {
    const AnsiString item = Items->Strings(i);
    const bool on = i == Index || (Index == -1 && item == text);
    if (SideBySide) {
      const int32_t x = R.Left + 2 + i * size + captions, y = R.Top + (R.Height() - size) / 2;
      button(x, y, on);
      c->TextOut(x + size, y - 2, item);
      captions += c->TextWidth(item);
    } else if (!item.empty()) {
      button(R.Left + 2, R.Top + i * lineH + 2, on);
      c->TextOut(small ? R.Left + controlLook_->GetRadioSize() + 6 : R.Left + 20, R.Top + i * lineH, item);
    } else {
      button(R.Left + (R.Width() - size) / 2, R.Top + i * lineH + 2, on);
    }
  }
  SetBkMode(dc, mode);
}

// ============================================================================ sort mark =======

bool TAdvStringGrid::SortGlyphShown(int32_t ACol, int32_t ARow) {
  const TSortGlyphState st = SortGlyphState();
  if (!st.Show || ARow != st.Row || GetRowCount() <= 2 || GetFixedRows() < 1) return false;
  if (ACol < GetFixedCols() && !st.FixedCols) return false;
  if (st.Index.empty()) return ACol == st.Column;
  for (size_t i = 0; i < st.Index.size(); ++i)
    if ((st.Index[i] & 0x7FFFFFFF) == ACol) return i == 0 || st.IndexShow;
  return false;
}

void TAdvStringGrid::DrawSortGlyph(TCanvas* Canvas, int32_t ACol, int32_t Y, int32_t X) {
  const TSortGlyphState st = SortGlyphState();
  TPen* pen = Canvas->GetPen();
  pen->SetWidth(1);
  int32_t position = -1;
  for (size_t i = 0; i < st.Index.size() && st.IndexShow; ++i)
    if ((st.Index[i] & 0x7FFFFFFF) == ACol) {
      position = int32_t(i);
      break;
    }
  if (position >= 0) {
    TFont saved;
    saved.Assign(Canvas->GetFont());
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(st.IndexColor);
    pen->SetColor(st.IndexColor);
    Canvas->GetFont()->SetColor(clBlack);
    Canvas->GetFont()->SetSize(6);
    const bool glyphs =
        st.IndexUpGlyph && st.IndexDownGlyph && !st.IndexUpGlyph->Empty() && !st.IndexDownGlyph->Empty();
    const bool down = st.Index[size_t(position)] < 0;
    if (down) {
      if (glyphs)
        DrawTransparentAt(Canvas, X - 7, Y - 7, st.IndexUpGlyph);
      else
        Canvas->Polygon({TPoint{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
    } else {
      if (glyphs)
        DrawTransparentAt(Canvas, X - 7, Y - 7, st.IndexDownGlyph);
      else
        Canvas->Polygon({TPoint{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
    }
    Canvas->RequiredState({csHandleValid});
    const int mode = SetBkMode(Canvas->GetHandle(), TRANSPARENT);
    Canvas->TextOut(X - 2, down ? Y - 4 : Y - 2, IntToStr(position + 1));
    SetBkMode(Canvas->GetHandle(), mode);
    Canvas->GetFont()->Assign(&saved);
    return;
  }
  const bool glyphs = st.UpGlyph && st.DownGlyph && !st.UpGlyph->Empty() && !st.DownGlyph->Empty();
  if (glyphs) {
    DrawTransparentAt(Canvas, X - 4, Y - 4, st.Descending ? st.DownGlyph : st.UpGlyph);
    Canvas->RequiredState({csHandleValid});
    SetBkColor(Canvas->GetHandle(), COLORREF(ColorToRGB(GetFixedColor())));
    return;
  }
  if (!st.Descending) {
    pen->SetColor(clWhite);
    Line(Canvas, X - 4, Y + 4, X + 4, Y + 4);
    Canvas->LineTo(X, Y - 4);
    pen->SetColor(clGray);
    Canvas->LineTo(X - 4, Y + 4);
  } else {
    pen->SetColor(clWhite);
    Line(Canvas, X + 4, Y - 4, X, Y + 4);
    pen->SetColor(clGray);
    Canvas->LineTo(X - 4, Y - 4);
    Canvas->LineTo(X + 4, Y - 4);
  }
  pen->SetColor(clBlack);
}

void TAdvStringGrid::DrawPlainSortGlyph(TCanvas* Canvas, int32_t ACol, TRect R, TAlignment HAlign,
                                        TVAlignment VAlign, int32_t TextWidth, int32_t GraphicWidth) {
  const int32_t k = std::max(0, std::min(TextWidth, R.Width() - 16));
  int32_t x = R.Left + 8;
  if (HAlign == taLeftJustify) x = R.Left + k + GraphicWidth + 10;
  if (HAlign == taRightJustify) x = R.Right - k - 10;
  int32_t y = R.Top + 8;
  if (VAlign == vtaCenter) y = (R.Top + R.Bottom) / 2;
  if (VAlign == vtaBottom) y = R.Bottom - 8;
  DrawSortGlyph(Canvas, ACol, y, x);
}
