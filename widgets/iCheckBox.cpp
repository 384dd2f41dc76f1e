#include "widgets/iCheckBox.h"

#include "platform/runtime/Variants.h"

const TClassInfo& TiCheckBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiCheckBox, TiCustomComponent>("TiCheckBox")
          .Prop("Caption", &TiCheckBox::GetCaption, &TiCheckBox::SetCaption)
          .Prop("Checked", &TiCheckBox::GetChecked, &TiCheckBox::SetChecked)
          .Prop("Alignment", &TiCheckBox::GetAlignment, &TiCheckBox::SetAlignment)
          .Default(taRightJustify)
          .Prop("AutoSize", &TiCheckBox::GetAutoSize, &TiCheckBox::SetAutoSize)
          .Default(true)
          .Object("Font", &TiCheckBox::GetFont, &TiCheckBox::SetFont)
          .Event("OnChange", &TiCheckBox::OnChange)
          .Event("OnChangeUser", &TiCheckBox::OnChangeUser)
          .Prop("BackGroundColor", &TiComponent::GetBackGroundColor, &TiComponent::SetBackGroundColor)
          .Default(clBtnFace)
          .Type(ColorTypeInfo())
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true);
  return info;
}

TiCheckBox::TiCheckBox(TComponent* AOwner) : TiCustomComponent(AOwner) {
  font_ = std::make_unique<TFont>();
  font_->OnChange = TNotifyEvent(this, &TiCheckBox::FontChanged);
  SetBounds(Left(), Top(), 97, 17);
  SetTabStop(true);
}

TiCheckBox::~TiCheckBox() = default;

// ============================================================================ properties ======

void TiCheckBox::SetCaption(const AnsiString& Value) {
  if (Value == caption_) return;
  caption_ = Value;
  ResizeToCaption();
  RequestRepaint();
}

void TiCheckBox::SetChecked(bool Value) {
  if (Value == checked_) return;
  if (!IsStreaming()) {
    bool allow = true;
    OnPropertyChanging(this, "Checked", allow);
    if (!allow) return;
  }
  checked_ = Value;
  RequestRepaint();
  DoChange();
  if (!IsStreaming()) SendPropertyToOPC("Checked", Variant(checked_));
}

void TiCheckBox::SetAlignment(TAlignment Value) {
  if (Value == alignment_) return;
  alignment_ = Value;
  RequestRepaint();
}

void TiCheckBox::SetAutoSize(bool Value) {
  if (Value == autoSize_) return;
  autoSize_ = Value;
  ResizeToCaption();
  RequestRepaint();
}

void TiCheckBox::FontChanged(TObject*) {
  ResizeToCaption();
  RequestRepaint();
}

void TiCheckBox::ResizeToCaption() {
  if (!autoSize_ || IsStreaming() || resizing_) return;
  resizing_ = true;
  try {
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas* c = scratch.GetCanvas();
    c->SetFont(font_.get());
    const TSize t = c->TextExtent(caption_);
    const int32_t w = t.cx + 20;
    const int32_t left = alignment_ == taLeftJustify ? Left() + Width() - w : Left();
    SetBounds(left, Top(), w, t.cy + 4);
  } catch (...) {
    resizing_ = false;
    throw;
  }
  resizing_ = false;
}

void TiCheckBox::DoChange() {
  if (IsStreaming()) return;
  OnPropertyChanged(this, "Checked");
  OnChange(this);
  if (userChange_) OnChangeUser(this);
}

// ============================================================================ input ===========

void TiCheckBox::UserToggle() {
  userChange_ = true;
  try {
    SetChecked(!checked_);
  } catch (...) {
    userChange_ = false;
    throw;
  }
  userChange_ = false;
}

void TiCheckBox::DoGotFocus() {
  TiCustomComponent::DoGotFocus();
  InvalidateNow();
}

void TiCheckBox::DoLostFocus() {
  pressed_ = false;
  keyHeld_ = false;
  RequestRepaint();
  TiCustomComponent::DoLostFocus();
}

void TiCheckBox::HandleMouseDown(TMouseButton Button, TShiftState, int32_t, int32_t) {
  if (Button != mbLeft) return;
  FocusControlWindow(this);
  pressed_ = true;
  RequestRepaint();
}

void TiCheckBox::HandleMouseUp(TMouseButton, TShiftState, int32_t X, int32_t Y) {
  if (!pressed_) return;
  RequestRepaint();
  pressed_ = false;
  if (TRect{0, 0, Width(), Height()}.Contains({X, Y})) UserToggle();
}

void TiCheckBox::HandleKeyDown(WORD& Key, TShiftState) {
  if (Key != VK_SPACE) return;
  pressed_ = false;
  keyHeld_ = true;
  RequestRepaint();
}

void TiCheckBox::HandleKeyUp(WORD& Key, TShiftState) {
  const bool wasHeld = keyHeld_;
  keyHeld_ = false;
  if (Key == VK_SPACE && wasHeld) {
    RequestRepaint();
    UserToggle();
  }
}

// ============================================================================ painting ========

void TiCheckBox::PaintToCanvas(TCanvas* Canvas) {
  DrawBackGround(Canvas, GetBackGroundColor());
  Canvas->SetFont(font_.get());
  const int32_t cy = Height() / 2;
  const int32_t tw = Canvas->TextWidth(caption_);
  const int32_t th = Canvas->TextHeight(caption_.empty() ? AnsiString("A") : caption_);
  const int32_t top = cy - th / 2 - 1;
  TRect box, text;
  if (alignment_ == taRightJustify) {
    box = {0, cy - 7, 13, cy + 6};
    text = {18, top, tw + 18, top + th};
  } else {
    box = {Width() - 13, cy - 7, Width(), cy + 6};
    text = {1, top, tw + 1, top + th};
  }

  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(pressed_ || keyHeld_ || !Enabled() ? GetBackGroundColor() : clWhite);
  Canvas->FillRect(box);
  DrawBevelFrame(Canvas, box, 0);

  Canvas->GetBrush()->SetStyle(bsClear);
  TRect r = text;
  DrawTextFlags(Canvas, caption_, r, itfVCenter | itfLeft | itfSingleLine);

  if (checked_) {
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetColor(clBlack);
    Canvas->GetPen()->SetWidth(1);
    const int32_t l = box.Left;
    for (int32_t d = 0; d < 3; ++d) {
      const TPoint mark[3] = {{l + 3, cy - d}, {l + 5, cy + 2 - d}, {l + 10, cy - 3 - d}};
      Canvas->Polyline(mark, 3);
    }
  }

  if (HasFocus()) {
    TRect f{std::max(text.Left - 1, 0), std::max(text.Top - 1, 0), std::min(text.Right + 1, Width() - 1),
            std::min(text.Bottom + 2, Height() - 1)};
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetBackGroundColor());
    Canvas->GetFont()->SetColor(clBlack);
    DrawFocusFrame(Canvas, f);
  }
}
