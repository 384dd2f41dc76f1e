#include "widgets/iSwitchToggle.h"

#include "platform/runtime/Variants.h"

PL_ENUM_NAMES(TiMouseControlStyle, "imcsClickAnyWhere", "imcsClickIndicator")

const TClassInfo& TiSwitchToggle::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiSwitchToggle, TiCustomComponent>("TiSwitchToggle")
          .Prop("Active", &TiSwitchToggle::GetActive, &TiSwitchToggle::SetActive)
          .Default(false)
          .Prop("DragToToggle", &TiSwitchToggle::GetDragToToggle, &TiSwitchToggle::SetDragToToggle)
          .Default(false)
          .Prop("MouseControlStyle", &TiSwitchToggle::GetMouseControlStyle,
                &TiSwitchToggle::SetMouseControlStyle)
          .Default(imcsClickAnyWhere)
          .Prop("ShowFocusRect", &TiSwitchToggle::GetShowFocusRect, &TiSwitchToggle::SetShowFocusRect)
          .Default(true)
          .Prop("SwitchBevelStyle", &TiSwitchToggle::GetSwitchBevelStyle,
                &TiSwitchToggle::SetSwitchBevelStyle)
          .Default(ibsRaised)
          .Prop("SwitchHeight", &TiSwitchToggle::GetSwitchHeight, &TiSwitchToggle::SetSwitchHeight)
          .Default(22)
          .Prop("SwitchOrientation", &TiSwitchToggle::GetSwitchOrientation,
                &TiSwitchToggle::SetSwitchOrientation)
          .Default(ioVertical)
          .Event("OnChange", &TiSwitchToggle::OnChange)
          .Event("OnChangeUser", &TiSwitchToggle::OnChangeUser)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true);
  return info;
}

TiSwitchToggle::TiSwitchToggle(TComponent* AOwner) : TiCustomComponent(AOwner) {
  SetBounds(Left(), Top(), 25, 50);
  SetTabStop(true);
}

// ============================================================================ properties ======

void TiSwitchToggle::SetActive(bool Value) {
  if (Value == active_) return;
  if (IsStreaming()) {
    // A definition being read sets the state without any notification.
    active_ = Value;
    return;
  }
  bool allow = true;
  OnPropertyChanging(this, "Active", allow);
  if (!allow) return;
  active_ = Value;
  RequestRepaint();
  OnPropertyChanged(this, "Active");
  OnChange(this);
  if (userChange_) OnChangeUser(this);
  SendPropertyToOPC("Active", Variant(active_));
}

void TiSwitchToggle::SetDragToToggle(bool Value) { SetBoolProperty(Value, dragToToggle_, 0); }
void TiSwitchToggle::SetShowFocusRect(bool Value) { SetBoolProperty(Value, showFocusRect_, 0); }

void TiSwitchToggle::SetSwitchBevelStyle(TiBevelStyle Value) {
  if (Value == switchBevelStyle_) return;
  switchBevelStyle_ = Value;
  RequestRepaint();
}

void TiSwitchToggle::SetSwitchHeight(int32_t Value) { SetIntProperty(std::max(Value, 3), switchHeight_, 0); }

void TiSwitchToggle::SetSwitchOrientation(TiOrientation Value) {
  if (Value == switchOrientation_) return;
  if (!IsStreaming()) SetBounds(Left(), Top(), Height(), Width());
  switchOrientation_ = Value;
  RequestRepaint();
}

TRect TiSwitchToggle::LeverRect() {
  const TRect o{0, 0, Width() - 1, Height() - 1};
  const int32_t s = switchHeight_;
  if (switchOrientation_ == ioVertical)
    return active_ ? TRect{o.Left + 4, o.Top + 3, o.Right - 4, o.Top + s + 3}
                   : TRect{o.Left + 4, o.Bottom - s - 3, o.Right - 4, o.Bottom - 3};
  return active_ ? TRect{o.Right - s - 3, o.Top + 4, o.Right - 3, o.Bottom - 4}
                 : TRect{o.Left + 3, o.Top + 4, o.Left + s + 3, o.Bottom - 4};
}

// ============================================================================ input ===========

void TiSwitchToggle::UserToggle() {
  userChange_ = true;
  try {
    SetActive(!active_);
  } catch (...) {
    userChange_ = false;
    throw;
  }
  userChange_ = false;
}

void TiSwitchToggle::DoLostFocus() {
  pressed_ = false;
  keyPressed_ = false;
  TiCustomComponent::DoLostFocus();
}

void TiSwitchToggle::HandleMouseDown(TMouseButton Button, TShiftState, int32_t X, int32_t Y) {
  if (Button != mbLeft) return;
  FocusControlWindow(this);
  if (mouseControlStyle_ == imcsClickIndicator && !LeverRect().Contains({X, Y})) return;
  pressed_ = true;
  dragStart_ = {X, Y};
  RequestRepaint();
}

void TiSwitchToggle::HandleMouseMove(TShiftState, int32_t X, int32_t Y) {
  if (!dragToToggle_ || !pressed_) return;
  const int32_t s = switchHeight_;
  bool toggle;
  if (switchOrientation_ == ioVertical) {
    const int32_t travel = Height() - s - 4;
    toggle = active_ ? Y - dragStart_.Y > travel : dragStart_.Y - Y > travel;
  } else {
    const int32_t travel = Width() - s - 4;
    toggle = active_ ? dragStart_.X - X > travel : X - dragStart_.X > travel;
  }
  if (!toggle) return;
  UserToggle();
  dragStart_ = {X, Y};
}

void TiSwitchToggle::HandleMouseUp(TMouseButton, TShiftState, int32_t X, int32_t Y) {
  if (!pressed_) return;
  RequestRepaint();
  pressed_ = false;
  keyPressed_ = false;
  if (!dragToToggle_ && TRect{0, 0, Width(), Height()}.Contains({X, Y})) UserToggle();
}

void TiSwitchToggle::HandleKeyDown(WORD& Key, TShiftState) {
  if (Key != VK_SPACE) return;
  keyPressed_ = true;
  pressed_ = false;
  RequestRepaint();
}

void TiSwitchToggle::HandleKeyUp(WORD& Key, TShiftState) {
  // The release may be reported twice; the cleared flag makes the second report do nothing.
  if (Key != VK_SPACE || !keyPressed_) return;
  RequestRepaint();
  keyPressed_ = false;
  pressed_ = false;
  UserToggle();
}

// ============================================================================ painting ========

void TiSwitchToggle::PaintToCanvas(TCanvas* Canvas) {
  const TRect o{0, 0, Width() - 1, Height() - 1};
  DrawBackGround(Canvas, GetBackGroundColor());
  DrawSunkenFrame(Canvas, o);
  const TRect l = LeverRect();
  DrawRaisedFrame(Canvas, l);

  if (Pressed()) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clBtnHighlight);
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetColor(clBtnHighlight);
    Canvas->Rectangle(l.Left + 2, l.Top + 2, l.Right - 2, l.Bottom - 2);
  }

  const int32_t style = switchBevelStyle_ == ibsRaised ? 1 : switchBevelStyle_ == ibsLowered ? 2 : 0;
  if (style != 0) {
    Canvas->GetPen()->SetStyle(psSolid);
    if (switchOrientation_ == ioVertical) {
      const int32_t n = (l.Bottom - l.Top - 4) / 3;
      for (int32_t i = 0; i < n; ++i) {
        const int32_t y = l.Top + 3 + 3 * i;
        DrawBevelLine(Canvas, l.Left + 2, y, l.Right - 2, y, style);
      }
    } else {
      const int32_t n = (l.Right - l.Left - 4) / 4;
      for (int32_t i = 0; i < n; ++i) {
        const int32_t x = l.Left + (style == 1 ? 3 : 4) + 4 * i;
        DrawBevelLine(Canvas, x, l.Top + 2, x, l.Bottom - 2, style);
      }
    }
  }

  if (showFocusRect_ && HasFocus()) {
    Canvas->GetPen()->SetColor(clBtnFace);
    Canvas->GetBrush()->SetColor(clBtnFace);
    DrawFocusRectangle(Canvas, TRect{3, 3, Width() - 3, Height() - 3}, GetBackGroundColor());
  }
}
