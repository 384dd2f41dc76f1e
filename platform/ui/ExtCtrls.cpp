// The timer component, the panel and the paint box.
#include "platform/ui/ExtCtrls.h"

#include "platform/runtime/Exceptions.h"

namespace {
constexpr UINT_PTR kTimerComponentId = 1;
}  // namespace

PL_ENUM_NAMES(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")

const TClassInfo& TTimer::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTimer, TComponent>("TTimer")
                                     .Prop("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled)
                                     .Default(true)
                                     .Prop("Interval", &TTimer::GetInterval, &TTimer::SetInterval)
                                     .Default(1000)
                                     .Event("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
  return info;
}

namespace {
// The declared ranges of the panel's widths: a stored value outside them is refused.
const TTypeInfo& PanelBevelWidthType() {
  static const TTypeInfo info = IntegerSubrange("TBevelWidth", 1, INT32_MAX);
  return info;
}
const TTypeInfo& PanelBorderWidthType() {
  static const TTypeInfo info = IntegerSubrange("TBorderWidth", 0, INT32_MAX);
  return info;
}
}  // namespace

const TClassInfo& TCustomPanel::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomPanel, TCustomControl>("TCustomPanel")
          .Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment)
          .Default(taCenter)
          .Prop("BevelInner", &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner)
          .Default(bvNone)
          .Prop("BevelOuter", &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter)
          .Default(bvRaised)
          .Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth)
          .Type(PanelBevelWidthType())
          .Default(1)
          .Prop("BorderStyle", &TCustomPanel::GetBorderStyle, &TCustomPanel::SetBorderStyle)
          .Default(bsNone)
          .Prop("BorderWidth", &TWinControl::GetBorderWidth, &TWinControl::SetBorderWidth)
          .Type(PanelBorderWidthType())
          .Default(0)
          .Prop("FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint)
          .Default(true);
  return info;
}

const TClassInfo& TPanel::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPanel, TCustomPanel>("TPanel");
  return info;
}

const TClassInfo& TPaintBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TPaintBox, TGraphicControl>("TPaintBox").Event("OnPaint", &TPaintBox::OnPaint);
  return info;
}

namespace {
// Definitions name these classes without a form field for them.
struct TExtCtrlsRegistration {
  TExtCtrlsRegistration() {
    RegisterClasses({&TTimer::ClassInfo(), &TPanel::ClassInfo(), &TPaintBox::ClassInfo()});
  }
} g_extCtrlsRegistration;
}  // namespace

// ============================================================================ timer ===========

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  window_ = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
  DeallocateHWnd(window_);
}

void TTimer::UpdateTimer() {
  if (running_) {
    KillTimer(window_, kTimerComponentId);
    running_ = false;
  }
  if (interval_ == 0 || !enabled_ || !onTimer_) return;
  if (!SetTimer(window_, kTimerComponentId, interval_, nullptr))
    throw EOutOfResources("Not enough timers available");
  running_ = true;
}

void TTimer::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t Value) {
  if (interval_ == Value) return;
  interval_ = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& Value) {
  onTimer_ = Value;
  UpdateTimer();
}

void TTimer::Timer() {
  if (enabled_) onTimer_(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (...) {
      ApplicationHandleException(this);
    }
    return;
  }
  Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
}

// ============================================================================ panel ===========

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                  csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int64_t bevels =
      int64_t(bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  InsetControlRect(Rect, bevels);
}

void TCustomPanel::BevelsChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (bevelInner_ == Value) return;
  bevelInner_ = Value;
  BevelsChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (bevelOuter_ == Value) return;
  bevelOuter_ = Value;
  BevelsChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  if (bevelWidth_ == Value) return;
  bevelWidth_ = Value;
  BevelsChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}

void TCustomPanel::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    TColor top = cut == bvLowered ? clBtnShadow : cut == bvRaised ? clBtnHighlight : GetColor();
    TColor bottom = cut == bvLowered ? clBtnHighlight : cut == bvRaised ? clBtnShadow : GetColor();
    Frame3D(c, r, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  if (GetBorderWidth() > 0) Frame3D(c, r, GetColor(), GetColor(), GetBorderWidth());
  bevel(bevelInner_);
  c->GetBrush()->SetColor(GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(r);
  AnsiString text = GetCaption();
  if (text.empty()) return;
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  RECT tr = r;
  DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &tr,
            UINT(DrawTextBiDiModeFlags(int32_t(align | DT_VCENTER | DT_SINGLELINE))));
  c->GetBrush()->SetStyle(bsSolid);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      // The bevels move with the edges.
      if (fullRepaint_) Invalidate();
      return;
    case CM_CTL3DCHANGED:
      if (borderStyle_ == bsSingle) RecreateWnd();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

// ============================================================================ paint box =======

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  c->GetBrush()->SetColor(GetColor());
  if (ComponentState().Contains(csDesigning)) {
    c->GetPen()->SetStyle(psDash);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
  }
  OnPaint(this);
}

// ============================================================================ radio group =====

PL_ENUM_NAMES(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine",
              "bsSpacer")
PL_ENUM_NAMES(TBevelStyle, "bsLowered", "bsRaised")
PL_ENUM_NAMES(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle")

const TClassInfo& TGroupButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGroupButton, TRadioButton>("TGroupButton");
  return info;
}

const TClassInfo& TCustomRadioGroup::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomRadioGroup, TCustomGroupBox>("TCustomRadioGroup")
          .Prop("Columns", &TCustomRadioGroup::GetColumns, &TCustomRadioGroup::SetColumns)
          .Default(1)
          .Object("Items", &TCustomRadioGroup::GetItems, &TCustomRadioGroup::SetItems)
          .Prop("ItemIndex", &TCustomRadioGroup::GetItemIndex, &TCustomRadioGroup::SetItemIndex)
          .Default(-1);
  return info;
}

const TClassInfo& TRadioGroup::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TRadioGroup, TCustomRadioGroup>("TRadioGroup");
  return info;
}

const TClassInfo& TBevel::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TBevel, TGraphicControl>("TBevel")
                                     .Prop("Shape", &TBevel::GetShape, &TBevel::SetShape)
                                     .Default(bsBox)
                                     .Prop("Style", &TBevel::GetStyle, &TBevel::SetStyle)
                                     .Default(bsLowered);
  return info;
}

const TClassInfo& TImage::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TImage, TGraphicControl>("TImage")
                                     .Prop("AutoSize", &TControl::GetAutoSize, &TImage::SetAutoSize)
                                     .Default(false)
                                     .Prop("Center", &TImage::GetCenter, &TImage::SetCenter)
                                     .Default(false)
                                     .Object("Picture", &TImage::GetPicture, &TImage::SetPicture)
                                     .Prop("Proportional", &TImage::GetProportional, &TImage::SetProportional)
                                     .Default(false)
                                     .Prop("Stretch", &TImage::GetStretch, &TImage::SetStretch)
                                     .Default(false)
                                     .Prop("Transparent", &TImage::GetTransparent, &TImage::SetTransparent)
                                     .Default(false);
  return info;
}

const TClassInfo& TShape::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TShape, TGraphicControl>("TShape")
                                     .Object("Brush", &TShape::GetBrush, &TShape::SetBrush)
                                     .Object("Pen", &TShape::GetPen, &TShape::SetPen)
                                     .Prop("Shape", &TShape::GetShape, &TShape::SetShape)
                                     .Default(stRectangle);
  return info;
}

namespace {
struct TExtCtrlsMoreRegistration {
  TExtCtrlsMoreRegistration() {
    RegisterClasses(
        {&TRadioGroup::ClassInfo(), &TBevel::ClassInfo(), &TImage::ClassInfo(), &TShape::ClassInfo()});
  }
} g_extCtrlsMoreRegistration;

int32_t ExtCtrlsTextHeight(TFont* font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return tm.tmHeight;
}
}  // namespace

TGroupButton::TGroupButton(TCustomRadioGroup* Group) : TRadioButton(Group), group_(Group) {}

void TGroupButton::Click() {
  TRadioButton::Click();
  group_->ButtonClick(this);
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks, csReplicatable};
  items_ = std::make_unique<TStringList>();
  items_->OnChange = TNotifyEvent(this, &TCustomRadioGroup::ItemsChange);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  items_->OnChange = nullptr;
  buttons_.clear();  // owned (and freed) as components of the group
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  updating_ = true;
  while (int32_t(buttons_.size()) > items_->Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (int32_t(buttons_.size()) < items_->Count()) {
    auto* b = new TGroupButton(this);
    b->SetParent(this);
    buttons_.push_back(b);
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    TGroupButton* b = buttons_[i];
    b->SetCaption(items_->Get(int32_t(i)));
    b->SetEnabled(GetEnabled());
    b->ClicksDisabled = true;
    b->SetChecked(int32_t(i) == itemIndex_);
    b->ClicksDisabled = false;
    // With nothing checked, the first button lets the keyboard in.
    b->SetTabStop(int32_t(i) == itemIndex_ || (itemIndex_ < 0 && i == 0));
  }
  updating_ = false;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  int32_t textHeight = ExtCtrlsTextHeight(GetFont());
  int32_t count = int32_t(buttons_.size());
  int32_t perColumn = (count + columns_ - 1) / columns_;
  int32_t buttonWidth = (Width() - 10) / columns_;
  int32_t room = std::max(Height() - textHeight - 5, 0);
  int32_t buttonHeight = room / perColumn;
  int32_t topMargin = textHeight + 1 + (room % perColumn) / 2;
  for (int32_t i = 0; i < count; ++i)
    buttons_[size_t(i)]->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                                   buttonWidth, buttonHeight);
}

void TCustomRadioGroup::SetItemIndex(int32_t Value) {
  if (ComponentState().Contains(csLoading)) {
    itemIndex_ = Value;
    return;
  }
  Value = std::clamp(Value, -1, int32_t(buttons_.size()) - 1);
  if (Value == itemIndex_) return;
  if (itemIndex_ >= 0) buttons_[size_t(itemIndex_)]->SetChecked(false);
  itemIndex_ = Value;
  if (Value >= 0) buttons_[size_t(Value)]->SetChecked(true);
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetTabStop(int32_t(i) == itemIndex_ || (itemIndex_ < 0 && i == 0));
}

void TCustomRadioGroup::SetColumns(int32_t Value) {
  if (Value < 1 || Value > 16) throw EInvalidOperation("Columns must be between 1 and 16");
  if (columns_ == Value) return;
  columns_ = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ButtonClick(TGroupButton* Button) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), Button);
  if (it == buttons_.end()) return;
  itemIndex_ = int32_t(it - buttons_.begin());
  Click();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  itemIndex_ = std::clamp(itemIndex_, -1, items_->Count() - 1);
  UpdateButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
      TCustomGroupBox::Dispatch(Message);
      ArrangeButtons();
      return;
    case CM_ENABLEDCHANGED:
      for (TGroupButton* b : buttons_) b->SetEnabled(GetEnabled());
      break;
    default:
      break;
  }
  TCustomGroupBox::Dispatch(Message);
}

// ============================================================================ bevel ===========

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (shape_ == Value) return;
  shape_ = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = GetCanvas();
  if (ComponentState().Contains(csDesigning) && shape_ == bsSpacer) {
    c->GetPen()->SetStyle(psDot);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
    return;
  }
  TColor dark = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor light = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  TRect r = GetClientRect();
  auto hline = [&](int32_t y, TColor color) {
    c->GetPen()->SetColor(color);
    c->MoveTo(0, y);
    c->LineTo(Width(), y);
  };
  auto vline = [&](int32_t x, TColor color) {
    c->GetPen()->SetColor(color);
    c->MoveTo(x, 0);
    c->LineTo(x, Height());
  };
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetStyle(psSolid);
  switch (shape_) {
    case bsBox:
      Frame3D(c, r, dark, light, 1);
      break;
    case bsFrame: {
      // Etched: a dark frame with a light one one pixel further in and down.
      TRect inner = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
      Frame3D(c, inner, light, light, 1);
      TRect outer = Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
      Frame3D(c, outer, dark, dark, 1);
      break;
    }
    case bsTopLine:
      hline(0, dark);
      hline(1, light);
      break;
    case bsBottomLine:
      hline(Height() - 2, dark);
      hline(Height() - 1, light);
      break;
    case bsLeftLine:
      vline(0, dark);
      vline(1, light);
      break;
    case bsRightLine:
      vline(Width() - 2, dark);
      vline(Width() - 1, light);
      break;
    case bsSpacer:
      break;
  }
}

// ============================================================================ image ===========

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  picture_ = std::make_unique<TPicture>();
  picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::PictureChanged(TObject*) {
  if (TGraphic* g = picture_->GetGraphic()) {
    if (g->GetTransparent() != transparent_ && !Is<TMetafile>(g)) g->SetTransparent(transparent_);
    if (GetAutoSize() && g->Width() > 0 && g->Height() > 0) SetBounds(left_, top_, g->Width(), g->Height());
  }
  // A picture with holes lets the parent show through.
  TGraphic* g = picture_->GetGraphic();
  if (!g || g->GetTransparent() || stretch_ || center_ || g->Width() < Width() || g->Height() < Height())
    ControlStyle.Exclude(csOpaque);
  else
    ControlStyle.Include(csOpaque);
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  if (GetAutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  if (Value) PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
  if (stretch_ == Value) return;
  stretch_ = Value;
  PictureChanged(this);
}

void TImage::SetCenter(bool Value) {
  if (center_ == Value) return;
  center_ = Value;
  PictureChanged(this);
}

void TImage::SetProportional(bool Value) {
  if (proportional_ == Value) return;
  proportional_ = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  PictureChanged(this);
}

TRect TImage::DestRect() {
  int32_t w = picture_->GetWidth(), h = picture_->GetHeight(), cw = Width(), ch = Height();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      // The larger of the two scales that still fits.
      if (int64_t(cw) * h > int64_t(ch) * w) {
        w = int32_t(int64_t(w) * ch / h);
        h = ch;
      } else {
        h = int32_t(int64_t(h) * cw / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (center_) r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
  return r;
}

void TImage::Paint() {
  TCanvas* c = GetCanvas();
  if (ComponentState().Contains(csDesigning)) {
    c->GetPen()->SetStyle(psDash);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
  }
  if (TGraphic* g = picture_->GetGraphic(); g && !g->Empty()) c->StretchDraw(DestRect(), g);
}

// ============================================================================ shape ===========

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 65);
  pen_ = std::make_unique<TPen>();
  pen_->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
  brush_ = std::make_unique<TBrush>();
  brush_->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
}

TShape::~TShape() {
  pen_->OnChange = nullptr;
  brush_->OnChange = nullptr;
}

void TShape::SetShape(TShapeType Value) {
  if (shape_ == Value) return;
  shape_ = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = GetCanvas();
  c->SetPen(pen_.get());
  c->SetBrush(brush_.get());
  // The pen straddles the outline: keep all of it inside the control.
  int32_t pw = pen_->GetWidth();
  int32_t x = pw / 2, y = x;
  int32_t w = Width() - pw + 1, h = Height() - pw + 1;
  if (pw == 0) --w, --h;
  int32_t s = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare:
      c->Rectangle(x, y, x + w, y + h);
      break;
    case stRoundRect:
    case stRoundSquare:
      c->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
      break;
    case stEllipse:
    case stCircle:
      c->Ellipse(x, y, x + w, y + h);
      break;
  }
}
