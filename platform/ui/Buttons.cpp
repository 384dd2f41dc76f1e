// Speed buttons and bit buttons, and the glyph layout and drawing they share.
//
// Sections: class descriptions / glyphs / speed button / bit button.
#include "platform/ui/Buttons.h"

#include <algorithm>
#include <array>

#include "platform/ui/Forms.h"

// ============================================================================ class descriptions

PL_ENUM_NAMES(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")
PL_ENUM_NAMES(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
              "bkRetry", "bkIgnore", "bkAll")

namespace {
bool ButtonsBitBtnCustom(TBitBtn* b) { return b->GetKind() == bkCustom; }
bool ButtonsBitBtnCaptionStored(TBitBtn* b) {
  return b->GetKind() == bkCustom || b->GetCaption() != TBitBtn::KindCaption(b->GetKind());
}
}  // namespace

const TClassInfo& TSpeedButton::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TSpeedButton, TGraphicControl>("TSpeedButton")
          .Prop("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp)
          .Default(false)
          .Prop("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex)
          .Default(0)
          .Prop("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown)
          .Default(false)
          .Prop("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat)
          .Default(false)
          .Object("Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph)
          .Prop("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout)
          .Default(blGlyphLeft)
          .Prop("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin)
          .Default(-1)
          .Prop("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs)
          .Default(1)
          .Prop("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing)
          .Default(4)
          .Prop("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent)
          .Default(true);
  return info;
}

const TClassInfo& TBitBtn::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TBitBtn, TButton>("TBitBtn")
                                     .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
                                     .Stored(&ButtonsBitBtnCaptionStored)
                                     .Object("Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph)
                                     .Stored(&ButtonsBitBtnCustom)
                                     .Prop("Kind", &TBitBtn::GetKind, &TBitBtn::SetKind)
                                     .Default(bkCustom)
                                     .Prop("Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout)
                                     .Default(blGlyphLeft)
                                     .Prop("Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin)
                                     .Default(-1)
                                     .Prop("NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs)
                                     .Default(1)
                                     .Prop("Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing)
                                     .Default(4);
  return info;
}

namespace {
struct TButtonsRegistration {
  TButtonsRegistration() { RegisterClasses({&TSpeedButton::ClassInfo(), &TBitBtn::ClassInfo()}); }
} g_buttonsRegistration;
}  // namespace

// ============================================================================ glyphs ==========

TButtonGlyphLayout CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                    TButtonLayout Layout, int32_t Margin, int32_t Spacing) {
  bool hasGlyph = GlyphSize.cx > 0 && GlyphSize.cy > 0, hasText = TextSize.cx > 0;
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  int32_t avail = horizontal ? Client.Width() : Client.Height();
  int32_t g = hasGlyph ? (horizontal ? GlyphSize.cx : GlyphSize.cy) : 0;
  int32_t t = hasText ? (horizontal ? TextSize.cx : TextSize.cy) : 0;
  if (!hasGlyph || !hasText) Spacing = 0;
  if (Margin < 0 && Spacing < 0) {
    Spacing = (avail - g - t) / 3;
    Margin = Spacing;
  } else if (Margin < 0) {
    Margin = (avail - g - Spacing - t) / 2;
  } else if (Spacing < 0) {
    Spacing = (avail - Margin - g - t) / 2;
  }
  // Offsets along the axis, from the side the glyph is on.
  int32_t glyphAt = Margin, textAt = Margin + g + Spacing;
  bool fromEnd = Layout == blGlyphRight || Layout == blGlyphBottom;
  if (fromEnd) {
    glyphAt = avail - Margin - g;
    textAt = glyphAt - Spacing - t;
  }
  TButtonGlyphLayout out;
  if (horizontal) {
    if (hasGlyph)
      out.GlyphRect = Bounds(Client.Left + glyphAt, Client.Top + (Client.Height() - GlyphSize.cy) / 2,
                             GlyphSize.cx, GlyphSize.cy);
    out.TextRect = Bounds(Client.Left + textAt, Client.Top + (Client.Height() - TextSize.cy) / 2, TextSize.cx,
                          TextSize.cy);
  } else {
    if (hasGlyph)
      out.GlyphRect = Bounds(Client.Left + (Client.Width() - GlyphSize.cx) / 2, Client.Top + glyphAt,
                             GlyphSize.cx, GlyphSize.cy);
    out.TextRect = Bounds(Client.Left + (Client.Width() - TextSize.cx) / 2, Client.Top + textAt, TextSize.cx,
                          TextSize.cy);
  }
  return out;
}

namespace {
bool ButtonsIsDark(TColor rgb) {
  int32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  return (r * 30 + g * 59 + b * 11) / 100 < 192;
}
}  // namespace

void DrawButtonGlyph(TCanvas* Canvas, TBitmap* Glyph, TNumGlyphs NumGlyphs, TButtonState State, int32_t X,
                     int32_t Y) {
  if (!Glyph || Glyph->Empty()) return;
  int32_t n = std::clamp(NumGlyphs, 1, 4);
  int32_t cw = Glyph->Width() / n, ch = Glyph->Height();
  if (cw <= 0) return;
  int32_t cell = int32_t(State);
  if (State == bsExclusive && n < 4) cell = bsDown;
  if (cell >= n) cell = 0;
  TCanvas* src = Glyph->GetCanvas();
  TColor key = ColorToRGB(Glyph->GetTransparentColor()) & 0xFFFFFF;
  if (State == bsDisabled && n < 2) {
    // Embossed: the dark pixels of the up cell, in the highlight one pixel down-right, then in
    // the shadow colour.
    std::vector<TPoint> dark;
    for (int32_t y = 0; y < ch; ++y)
      for (int32_t x = 0; x < cw; ++x) {
        TColor c = src->GetPixel(x, y) & 0xFFFFFF;
        if (c != key && ButtonsIsDark(c)) dark.push_back({x, y});
      }
    HDC dc = Canvas->GetHandle();
    COLORREF lit = COLORREF(ColorToRGB(clBtnHighlight)), shade = COLORREF(ColorToRGB(clBtnShadow));
    for (const TPoint& p : dark) SetPixelV(dc, X + p.X + 1, Y + p.Y + 1, lit);
    for (const TPoint& p : dark) SetPixelV(dc, X + p.X, Y + p.Y, shade);
    return;
  }
  HDC from = src->GetHandle();
  TransparentBlt(Canvas->GetHandle(), X, Y, cw, ch, from, cell * cw, 0, cw, ch, UINT(key));
}

namespace {
// The glyph size of a glyph bitmap of NumGlyphs cells.
TSize ButtonsGlyphSize(TBitmap* glyph, TNumGlyphs numGlyphs) {
  if (!glyph || glyph->Empty()) return {0, 0};
  return {glyph->Width() / std::clamp(numGlyphs, 1, 4), glyph->Height()};
}

// A glyph bitmap whose width is a whole number of square cells (up to four) says how many.
void ButtonsGuessNumGlyphs(TBitmap* glyph, TNumGlyphs& numGlyphs) {
  int32_t w = glyph->Width(), h = glyph->Height();
  if (h > 0 && w % h == 0) numGlyphs = w / h <= 4 ? w / h : 1;
}

TSize ButtonsTextSize(TFont* font, const AnsiString& text) {
  if (text.empty()) return {0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {r.Right - r.Left, r.Bottom - r.Top};
}

// Glyph and caption of a button face, the caption etched when disabled.
void ButtonsPaintFace(TControl* self, TCanvas* c, const TRect& client, TBitmap* glyph, TNumGlyphs numGlyphs,
                      TButtonState state, TButtonLayout layout, int32_t margin, int32_t spacing) {
  AnsiString text = self->GetCaption();
  TButtonGlyphLayout at = CalcButtonLayout(client, ButtonsGlyphSize(glyph, numGlyphs),
                                           ButtonsTextSize(self->GetFont(), text), layout, margin, spacing);
  if (!at.GlyphRect.IsEmpty())
    DrawButtonGlyph(c, glyph, numGlyphs, state, at.GlyphRect.Left, at.GlyphRect.Top);
  if (text.empty()) return;
  c->SetFont(self->GetFont());
  c->GetBrush()->SetStyle(bsClear);
  RECT r = at.TextRect;
  UINT flags = UINT(self->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
  if (state == bsDisabled) {
    RECT lit = r;
    OffsetRect(&lit, 1, 1);
    c->GetFont()->SetColor(clBtnHighlight);
    c->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &lit, flags);
    c->GetFont()->SetColor(clBtnShadow);
  }
  c->RequiredState({csHandleValid, csFontValid, csBrushValid});
  DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &r, flags);
}
}  // namespace

// ============================================================================ speed button =====

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  glyph_ = std::make_unique<TBitmap>();
  glyph_->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
  SetBounds(0, 0, 23, 22);
  ControlStyle = {csCaptureMouse, csDoubleClicks};
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged(TObject*) {
  ButtonsGuessNumGlyphs(glyph_.get(), numGlyphs_);
  Invalidate();
}

void TSpeedButton::SetState(TButtonState Value) {
  if (state_ == Value) return;
  state_ = Value;
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !parent_ || ComponentState().Contains(csLoading)) return;
  TMessage m{CM_BUTTONPRESSED, WPARAM(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
  parent_->Broadcast(m);
}

void TSpeedButton::SetGroupIndex(int32_t Value) {
  if (groupIndex_ == Value) return;
  groupIndex_ = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (groupIndex_ == 0) Value = false;
  if (Value == down_) return;
  // The only button down in a group stays down unless all may be up.
  if (down_ && !allowAllUp_ && !ComponentState().Contains(csLoading)) return;
  down_ = Value;
  if (Value) {
    if (state_ == bsUp) SetState(bsExclusive);
  } else {
    SetState(bsUp);
  }
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (allowAllUp_ == Value) return;
  allowAllUp_ = Value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (flat_ == Value) return;
  flat_ = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = Value < 1 ? 1 : Value > 4 ? 4 : Value;
  if (numGlyphs_ == Value) return;
  numGlyphs_ = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int32_t Value) {
  if (margin_ == Value || Value < -1) return;
  margin_ = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int32_t Value) {
  if (spacing_ == Value) return;
  spacing_ = Value;
  Invalidate();
}

void TSpeedButton::Loaded() {
  TGraphicControl::Loaded();
  state_ = !GetEnabled() ? bsDisabled : down_ ? bsExclusive : bsUp;
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled()) return;
  if (!down_) SetState(bsDown);
  dragging_ = true;
  if (Shift.Contains(ssDouble) && down_) DblClick();
}

void TSpeedButton::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  bool inside = GetClientRect().Contains({X, Y});
  if (!down_)
    SetState(inside ? bsDown : bsUp);
  else
    SetState(bsExclusive);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!dragging_ || Button != mbLeft) return;
  dragging_ = false;
  bool click = GetClientRect().Contains({X, Y});
  if (groupIndex_ == 0) {
    SetState(bsUp);
  } else if (click) {
    SetDown(!down_);
    SetState(down_ ? bsExclusive : bsUp);
  } else {
    SetState(down_ ? bsExclusive : bsUp);
  }
  if (click) Click();
}

void TSpeedButton::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  TButtonState shown = GetEnabled() ? state_ : bsDisabled;
  bool pressed = shown == bsDown || shown == bsExclusive;
  HDC dc = c->GetHandle();
  if (!flat_ || !transparent_) {
    c->GetBrush()->SetColor(flat_ ? GetColor() : clBtnFace);
    c->GetBrush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  if (!flat_) {
    RECT face = r;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  } else if (pressed || (mouseInControl_ && GetEnabled())) {
    RECT face = r;
    DrawEdge(dc, &face, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  // A latched button shows a checkered face under its glyph.
  if (shown == bsExclusive && !(flat_ && transparent_)) {
    TBitmap pattern;
    pattern.SetSize(8, 8);
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 8; ++x)
        pattern.GetCanvas()->SetPixel(x, y, (x + y) % 2 ? clBtnFace : clBtnHighlight);
    c->GetBrush()->SetBitmap(&pattern);
    c->FillRect(Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
    c->GetBrush()->SetBitmap(nullptr);
    c->GetBrush()->SetStyle(bsSolid);
  }
  TRect content = r;
  if (pressed) content.Left += 1, content.Top += 1, content.Right += 1, content.Bottom += 1;
  ButtonsPaintFace(this, c, content, glyph_.get(), numGlyphs_, shown, layout_, margin_, spacing_);
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED:
      if (int32_t(Message.WParam) == groupIndex_ && groupIndex_ != 0 &&
          reinterpret_cast<TSpeedButton*>(Message.LParam) != this) {
        auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
        if (sender->GetDown() && down_) {
          down_ = false;
          SetState(bsUp);
        }
        allowAllUp_ = sender->GetAllowAllUp();
      }
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(WORD(Message.WParam), GetCaption()) && GetEnabled() && GetVisible() && parent_ &&
          parent_->Showing()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_MOUSEENTER:
      mouseInControl_ = true;
      if (flat_) Invalidate();
      break;
    case CM_MOUSELEAVE:
      mouseInControl_ = false;
      if (flat_) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      SetState(!GetEnabled() ? bsDisabled : down_ ? bsExclusive : bsUp);
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    default:
      break;
  }
  TGraphicControl::Dispatch(Message);
}

// ============================================================================ bit button =======

namespace {
struct TButtonsKindInfo {
  const char* Caption;
  TModalResult Result;
};
constexpr std::array<TButtonsKindInfo, 11> kButtonsKinds = {{{"", mrNone},
                                                             {"OK", mrOk},
                                                             {"Cancel", mrCancel},
                                                             {"&Help", mrNone},
                                                             {"&Yes", mrYes},
                                                             {"&No", mrNo},
                                                             {"&Close", mrNone},
                                                             {"Abort", mrAbort},
                                                             {"&Retry", mrRetry},
                                                             {"&Ignore", mrIgnore},
                                                             {"&All", mrAll}}};

// The stock glyph of a kind: a 16 x 16 picture on an olive key colour, and its disabled cell
// beside it.
void ButtonsDrawKindGlyph(TBitBtnKind kind, TBitmap* out) {
  const TColor key = clOlive;
  out->SetSize(32, 16);
  TCanvas* c = out->GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(key);
  c->FillRect(Rect(0, 0, 32, 16));
  c->GetPen()->SetWidth(2);
  auto line = [&](TColor color, std::initializer_list<TPoint> pts) {
    c->GetPen()->SetColor(color);
    std::vector<TPoint> v(pts);
    c->Polyline(v);
  };
  auto ring = [&](TColor color, TRect r) {
    c->GetPen()->SetColor(color);
    c->GetBrush()->SetStyle(bsClear);
    c->Ellipse(r);
    c->GetBrush()->SetStyle(bsSolid);
  };
  auto letter = [&](TColor color, const char* text) {
    c->GetFont()->SetName("Arial");
    c->GetFont()->SetHeight(-14);
    c->GetFont()->SetStyle({fsBold});
    c->GetFont()->SetColor(color);
    c->GetBrush()->SetStyle(bsClear);
    TSize s = c->TextExtent(text);
    c->TextOut((16 - s.cx) / 2, (16 - s.cy) / 2, text);
    c->GetBrush()->SetStyle(bsSolid);
  };
  switch (kind) {
    case bkOK:
    case bkYes:
      line(clGreen, {{2, 8}, {6, 12}, {14, 3}});
      break;
    case bkAll:
      line(clGreen, {{1, 8}, {4, 11}, {9, 4}});
      line(clGreen, {{6, 9}, {8, 11}, {14, 3}});
      break;
    case bkCancel:
      line(clRed, {{3, 3}, {13, 13}});
      line(clRed, {{13, 3}, {3, 13}});
      break;
    case bkNo:
      ring(clRed, Rect(2, 2, 14, 14));
      line(clRed, {{4, 12}, {12, 4}});
      break;
    case bkAbort:
      ring(clRed, Rect(1, 1, 15, 15));
      line(clRed, {{5, 5}, {11, 11}});
      line(clRed, {{11, 5}, {5, 11}});
      break;
    case bkHelp:
      letter(clNavy, "?");
      break;
    case bkIgnore:
      letter(clNavy, "!");
      break;
    case bkRetry:
      c->GetPen()->SetColor(clGreen);
      c->Arc(2, 2, 14, 14, 14, 8, 8, 2);
      line(clGreen, {{6, 1}, {8, 2}, {6, 4}});
      break;
    case bkClose:
      c->GetPen()->SetWidth(1);
      c->GetPen()->SetColor(clBlack);
      c->GetBrush()->SetColor(clTeal);
      c->Rectangle(4, 1, 12, 15);
      c->GetBrush()->SetColor(clYellow);
      c->FillRect(Rect(9, 7, 11, 9));
      break;
    case bkCustom:
      break;
  }
  c->GetPen()->SetWidth(1);
  // The disabled cell, embossed like a derived one.
  TBitmap single;
  single.SetSize(16, 16);
  single.GetCanvas()->CopyRect(Rect(0, 0, 16, 16), c, Rect(0, 0, 16, 16));
  DrawButtonGlyph(c, &single, 1, bsDisabled, 16, 0);
}
}  // namespace

const char* TBitBtn::KindCaption(TBitBtnKind Kind) { return kButtonsKinds[size_t(Kind)].Caption; }

TModalResult TBitBtn::KindModalResult(TBitBtnKind Kind) { return kButtonsKinds[size_t(Kind)].Result; }

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {
  glyph_ = std::make_unique<TBitmap>();
  glyph_->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::GlyphChanged(TObject*) {
  if (!settingKind_) ButtonsGuessNumGlyphs(glyph_.get(), numGlyphs_);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (Value == kind_) return;
  if (Value != bkCustom) {
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel);
    // A caption read from a stored definition stays.
    if (!ComponentState().Contains(csLoading) || GetCaption().empty()) SetCaption(KindCaption(Value));
    SetModalResult(KindModalResult(Value));
    settingKind_ = true;
    TBitmap stock;
    ButtonsDrawKindGlyph(Value, &stock);
    glyph_->Assign(&stock);
    settingKind_ = false;
    numGlyphs_ = 2;
  }
  kind_ = Value;
  Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  Value = Value < 1 ? 1 : Value > 4 ? 4 : Value;
  if (numGlyphs_ == Value) return;
  numGlyphs_ = Value;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TBitBtn::SetMargin(int32_t Value) {
  if (margin_ == Value || Value < -1) return;
  margin_ = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(int32_t Value) {
  if (spacing_ == Value) return;
  spacing_ = Value;
  Invalidate();
}

void TBitBtn::PaintContent(TCanvas* Canvas, const TRect& Face, bool IsDown) {
  TRect r = Face;
  if (IsDown) r.Left += 1, r.Top += 1, r.Right += 1, r.Bottom += 1;
  TButtonState state = !GetEnabled() ? bsDisabled : IsDown ? bsDown : bsUp;
  ButtonsPaintFace(this, Canvas, r, glyph_.get(), numGlyphs_, state, layout_, margin_, spacing_);
}
