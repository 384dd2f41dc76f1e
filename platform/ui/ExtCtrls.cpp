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
