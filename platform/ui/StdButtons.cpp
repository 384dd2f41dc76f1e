// Labels, push buttons, check boxes, radio buttons, group boxes and scroll bars.
//
// Sections: class descriptions / text helpers / label / static text / button controls /
// push button / check box / radio button / group box / scroll bar.
#include "platform/ui/StdButtons.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"
#include "platform/ui/Forms.h"

// ============================================================================ class descriptions

PL_ENUM_NAMES(TTextLayout, "tlTop", "tlCenter", "tlBottom")
PL_ENUM_NAMES(TStaticBorderStyle, "sbsNone", "sbsSingle", "sbsSunken")
PL_ENUM_NAMES(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
PL_ENUM_NAMES(TScrollBarKind, "sbHorizontal", "sbVertical")
PL_ENUM_NAMES(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack",
              "scTop", "scBottom", "scEndScroll")

const TClassInfo& TCustomLabel::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomLabel, TGraphicControl>("TCustomLabel")
          .Prop("Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment)
          .Default(taLeftJustify)
          .Prop("AutoSize", &TControl::GetAutoSize, &TCustomLabel::SetAutoSize)
          .Default(true)
          .Object("FocusControl", &TCustomLabel::GetFocusControl, &TCustomLabel::SetFocusControl)
          .Prop("Layout", &TCustomLabel::GetLayout, &TCustomLabel::SetLayout)
          .Default(tlTop)
          .Prop("ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar)
          .Default(true)
          .Prop("Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent)
          .Default(false)
          .Prop("WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap)
          .Default(false);
  return info;
}

const TClassInfo& TLabel::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TLabel, TCustomLabel>("TLabel");
  return info;
}

const TClassInfo& TCustomStaticText::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomStaticText, TCustomControl>("TCustomStaticText")
          .Prop("Alignment", &TCustomStaticText::GetAlignment, &TCustomStaticText::SetAlignment)
          .Default(taLeftJustify)
          .Prop("AutoSize", &TControl::GetAutoSize, &TCustomStaticText::SetAutoSize)
          .Default(true)
          .Prop("BorderStyle", &TCustomStaticText::GetBorderStyle, &TCustomStaticText::SetBorderStyle)
          .Default(sbsNone)
          .Object("FocusControl", &TCustomStaticText::GetFocusControl, &TCustomStaticText::SetFocusControl)
          .Prop("ShowAccelChar", &TCustomStaticText::GetShowAccelChar, &TCustomStaticText::SetShowAccelChar)
          .Default(true);
  return info;
}

const TClassInfo& TStaticText::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStaticText, TCustomStaticText>("TStaticText");
  return info;
}

const TClassInfo& TButtonControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TButtonControl, TCustomControl>("TButtonControl")
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true)
          .Prop("WordWrap", &TButtonControl::GetWordWrap, &TButtonControl::SetWordWrap)
          .Default(false);
  return info;
}

const TClassInfo& TButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TButton, TButtonControl>("TButton")
                                     .Prop("Cancel", &TButton::GetCancel, &TButton::SetCancel)
                                     .Default(false)
                                     .Prop("Default", &TButton::GetDefault, &TButton::SetDefault)
                                     .Default(false)
                                     .Prop("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult)
                                     .Default(mrNone);
  return info;
}

const TClassInfo& TCustomCheckBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomCheckBox, TButtonControl>("TCustomCheckBox")
          .Prop("Alignment", &TCustomCheckBox::GetAlignment, &TCustomCheckBox::SetAlignment)
          .Default(taRightJustify)
          .Prop("AllowGrayed", &TCustomCheckBox::GetAllowGrayed, &TCustomCheckBox::SetAllowGrayed)
          .Default(false)
          // State says it all; Checked is never written.
          .Prop("Checked", &TCustomCheckBox::GetChecked, &TCustomCheckBox::SetChecked)
          .Stored(false)
          .Prop("State", &TCustomCheckBox::GetState, &TCustomCheckBox::SetState)
          .Default(cbUnchecked);
  return info;
}

const TClassInfo& TCheckBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCheckBox, TCustomCheckBox>("TCheckBox");
  return info;
}

const TClassInfo& TRadioButton::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TRadioButton, TButtonControl>("TRadioButton")
          .Prop("Alignment", &TRadioButton::GetAlignment, &TRadioButton::SetAlignment)
          .Default(taRightJustify)
          .Prop("Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked)
          .Default(false)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(false);
  return info;
}

const TClassInfo& TCustomGroupBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomGroupBox, TCustomControl>("TCustomGroupBox");
  return info;
}

const TClassInfo& TGroupBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGroupBox, TCustomGroupBox>("TGroupBox");
  return info;
}

const TClassInfo& TScrollBar::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TScrollBar, TCustomControl>("TScrollBar")
          .Prop("Kind", &TScrollBar::GetKind, &TScrollBar::SetKind)
          .Default(sbHorizontal)
          .Prop("LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange)
          .Default(1)
          // Max before Min and Position: a stored range is valid in the order it is read.
          .Prop("Max", &TScrollBar::GetMax, &TScrollBar::SetMax)
          .Default(100)
          .Prop("Min", &TScrollBar::GetMin, &TScrollBar::SetMin)
          .Default(0)
          .Prop("PageSize", &TScrollBar::GetPageSize, &TScrollBar::SetPageSize)
          .Default(0)
          .Prop("Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition)
          .Default(0)
          .Prop("SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange)
          .Default(1)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true)
          .Event("OnChange", &TScrollBar::OnChange)
          .Event("OnScroll", &TScrollBar::OnScroll);
  return info;
}

namespace {
// Definitions name these classes without a form field for them.
struct TStdButtonsRegistration {
  TStdButtonsRegistration() {
    RegisterClasses({&TLabel::ClassInfo(), &TStaticText::ClassInfo(), &TButton::ClassInfo(),
                     &TCheckBox::ClassInfo(), &TRadioButton::ClassInfo(), &TGroupBox::ClassInfo(),
                     &TScrollBar::ClassInfo()});
  }
} g_stdButtonsRegistration;

// ============================================================================ text helpers ====

UINT StdBtnAlignFlags(TAlignment a) {
  return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
}

// Draws Text with the canvas's font; disabled text is etched (light copy one pixel down-right,
// then the shadow colour).
void StdBtnDrawText(TCanvas* c, const AnsiString& text, TRect& r, UINT flags, bool enabled) {
  c->GetBrush()->SetStyle(bsClear);
  RECT rr = r;
  if (flags & DT_CALCRECT) {
    c->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &rr, flags);
    r = rr;
    return;
  }
  if (!enabled) {
    TColor keep = c->GetFont()->GetColor();
    RECT lit = rr;
    OffsetRect(&lit, 1, 1);
    c->GetFont()->SetColor(clBtnHighlight);
    c->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &lit, flags);
    c->GetFont()->SetColor(clBtnShadow);
    c->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &rr, flags);
    c->GetFont()->SetColor(keep);
    return;
  }
  c->RequiredState({csHandleValid, csFontValid, csBrushValid});
  DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &rr, flags);
}

// Measures text in a font without any window: the size DrawText gives it.
TRect StdBtnMeasure(TFont* font, const AnsiString& text, TRect r, UINT flags) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  RECT rr = r;
  // An empty text still has the height of a line.
  AnsiString t = text.empty() || ((flags & DT_NOPREFIX) == 0 && text == "&") ? AnsiString(" ") : text;
  DrawTextA(dc, t.c_str(), int(t.size()), &rr, flags | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return rr;
}

bool StdBtnNoModifiers(LPARAM keyData) { return KeyDataToShiftState(keyData).Empty(); }

// A label's link to the control its accelerator focuses, cleared when that control goes.
void StdBtnLinkFocusControl(TComponent* self, TWinControl*& field, TWinControl* value) {
  if (field == value) return;
  if (field) field->RemoveFreeNotification(self);
  field = value;
  if (value) value->FreeNotification(self);
}

// CM_DIALOGCHAR of a label: its accelerator focuses the linked control.
bool StdBtnFocusOnAccel(TControl* self, TWinControl* target, bool showAccel, TMessage& message) {
  if (!target || !self->GetEnabled() || !showAccel || !IsAccel(WORD(message.WParam), self->GetCaption()) ||
      !target->CanFocus())
    return false;
  target->SetFocus();
  message.Result = 1;
  return true;
}
}  // namespace

// ============================================================================ label ===========

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle += TControlStyle{csOpaque, csReplicatable};
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
}

AnsiString TCustomLabel::GetLabelText() { return GetCaption(); }

UINT TCustomLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | StdBtnAlignFlags(alignment_);
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return UINT(DrawTextBiDiModeFlags(int32_t(flags)));
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  AnsiString text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text = " ";
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  StdBtnDrawText(c, text, Rect, Flags, GetEnabled());
}

void TCustomLabel::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  if (!GetTransparent()) {
    c->GetBrush()->SetColor(GetColor());
    c->GetBrush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  UINT flags = TextFlags();
  if (layout_ != tlTop) {
    TRect calc = StdBtnMeasure(GetFont(), GetLabelText(), r, flags);
    int32_t room = r.Height() - calc.Height();
    r.Top += layout_ == tlBottom ? room : room / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (ComponentState().Contains(csLoading) || !GetAutoSize()) return;
  TRect r = GetClientRect();
  TRect calc =
      StdBtnMeasure(GetFont(), GetLabelText(), Rect(0, 0, wordWrap_ ? r.Width() : 0, 0), TextFlags());
  int32_t x = left_;
  if (alignment_ == taRightJustify)
    x += width_ - calc.Right;
  else if (alignment_ == taCenter)
    x += (width_ - calc.Right) / 2;
  SetBounds(x, top_, calc.Right, calc.Bottom);
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (GetAutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (wordWrap_ == Value) return;
  wordWrap_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (GetTransparent() == Value) return;
  if (Value)
    ControlStyle.Exclude(csOpaque);
  else
    ControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (showAccelChar_ == Value) return;
  showAccelChar_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) { StdBtnLinkFocusControl(this, focusControl_, Value); }

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      if (StdBtnFocusOnAccel(this, focusControl_, showAccelChar_, Message)) return;
      break;
    default:
      break;
  }
  TGraphicControl::Dispatch(Message);
}

// ============================================================================ static text =====

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
}

void TCustomStaticText::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(r);
  if (borderStyle_ != sbsNone) {
    RECT e = r;
    DrawEdge(c->GetHandle(), &e, borderStyle_ == sbsSunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
             BF_RECT | BF_ADJUST | (borderStyle_ == sbsSingle ? BF_MONO : 0));
    r = e;
  }
  c->SetFont(GetFont());
  UINT flags =
      StdBtnAlignFlags(alignment_) | DT_EXPANDTABS | DT_WORDBREAK | (showAccelChar_ ? 0 : DT_NOPREFIX);
  StdBtnDrawText(c, GetCaption(), r, UINT(DrawTextBiDiModeFlags(int32_t(flags))), GetEnabled());
}

void TCustomStaticText::AdjustBounds() {
  if (ComponentState().Contains(csLoading) || !GetAutoSize()) return;
  TRect calc = StdBtnMeasure(GetFont(), GetCaption(), Rect(0, 0, 0, 0),
                             DT_EXPANDTABS | (showAccelChar_ ? 0 : DT_NOPREFIX));
  int32_t border = borderStyle_ == sbsNone ? 0 : 2;
  int32_t w = calc.Right + border, h = calc.Bottom + border;
  int32_t x = left_;
  if (alignment_ == taRightJustify)
    x += width_ - w;
  else if (alignment_ == taCenter)
    x += (width_ - w) / 2;
  SetBounds(x, top_, w, h);
}

void TCustomStaticText::SetAutoSize(bool Value) {
  if (GetAutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomStaticText::Loaded() {
  TCustomControl::Loaded();
  AdjustBounds();
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  if (showAccelChar_ == Value) return;
  showAccelChar_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::SetFocusControl(TWinControl* Value) {
  StdBtnLinkFocusControl(this, focusControl_, Value);
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomStaticText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (StdBtnFocusOnAccel(this, focusControl_, showAccelChar_, Message)) return;
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

// ============================================================================ button controls =

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csSetCaption, csCaptureMouse, csOpaque, csReplicatable};
  SetTabStop(true);
}

void TButtonControl::SetWordWrap(bool Value) {
  if (wordWrap_ == Value) return;
  wordWrap_ = Value;
  Invalidate();
}

void TButtonControl::SetPushed(bool Value) {
  if (pushed_ == Value) return;
  pushed_ = Value;
  Invalidate();
}

void TButtonControl::NotifyClick() {
  HWND parentWindow = parent_ && parent_->HandleAllocated() ? parent_->Handle() : nullptr;
  if (parentWindow && handle_) {
    SendMessageA(parentWindow, WM_COMMAND, MAKEWPARAM(WORD(GetWindowLongPtrA(handle_, GWLP_ID)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(handle_));
    return;
  }
  Clicked();
}

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft && GetEnabled()) {
    if (!ComponentState().Contains(csDesigning) && CanFocus() && !Focused()) SetFocus();
    tracking_ = true;
    SetPushed(true);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButtonControl::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  if (tracking_) SetPushed(GetClientRect().Contains({X, Y}));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft && tracking_) {
    tracking_ = false;
    bool inside = GetClientRect().Contains({X, Y});
    SetPushed(spaceDown_);
    // The click may close the form; nothing of this control is touched after it.
    if (inside) NotifyClick();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButtonControl::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && !Shift.Contains(ssAlt)) {
    spaceDown_ = true;
    SetPushed(true);
  }
}

void TButtonControl::KeyUp(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && spaceDown_) {
    spaceDown_ = false;
    SetPushed(tracking_);
    Key = 0;
    NotifyClick();
  }
}

void TButtonControl::DrawCaption(TRect Rect, UINT Flags) {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  StdBtnDrawText(c, GetCaption(), Rect, Flags, GetEnabled());
}

void TButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) {
        Clicked();
        Message.Result = 1;
        return;
      }
      break;
    case WM_KILLFOCUS:
      // A press in progress by key ends with the focus.
      spaceDown_ = false;
      SetPushed(tracking_ && pushed_);
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_SETFOCUS:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      tracking_ = spaceDown_ = false;
      SetPushed(false);
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

// ============================================================================ push button =====

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::UpdateActive(TControl* Focused) {
  bool active = Is<TButton>(Focused) ? Focused == this : default_;
  if (active == active_) return;
  active_ = active;
  Invalidate();
}

void TButton::SetDefault(bool Value) {
  default_ = Value;
  TCustomForm* form = GetParentForm(this);
  if (form && !ComponentState().Contains(csLoading))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->GetActiveControl()));
  else
    UpdateActive(nullptr);
}

void TButton::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  bool focused = Focused();
  HDC dc = c->GetHandle();
  if (active_ || focused) {
    c->GetBrush()->SetColor(clWindowFrame);
    c->GetBrush()->SetStyle(bsSolid);
    c->FrameRect(r);
    r.Left += 1, r.Top += 1, r.Right -= 1, r.Bottom -= 1;
  }
  RECT face = r;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (Pushed() ? DFCS_PUSHED : 0));
  TRect inner = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  PaintContent(c, inner, Pushed());
  if (focused) {
    TRect f = Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3);
    c->GetBrush()->SetColor(clBtnFace);
    c->GetFont()->SetColor(clBtnText);
    c->RequiredState({csHandleValid, csFontValid, csBrushValid});
    SetTextColor(c->GetHandle(), COLORREF(ColorToRGB(clBtnText)));
    SetBkColor(c->GetHandle(), COLORREF(ColorToRGB(clBtnFace)));
    c->DrawFocusRect(f);
  }
}

void TButton::PaintContent(TCanvas*, const TRect& Face, bool IsDown) {
  TRect r = Face;
  if (IsDown) r.Left += 1, r.Top += 1, r.Right += 1, r.Bottom += 1;
  UINT flags = DT_CENTER | (GetWordWrap() ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
  if (GetWordWrap()) {
    TRect calc = StdBtnMeasure(GetFont(), GetCaption(), Rect(0, 0, r.Width(), 0), flags);
    r.Top += (r.Height() - calc.Height()) / 2;
  }
  DrawCaption(r, UINT(DrawTextBiDiModeFlags(int32_t(flags))));
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      if (((Message.WParam == VK_RETURN && active_) || (Message.WParam == VK_ESCAPE && cancel_)) &&
          StdBtnNoModifiers(Message.LParam) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED:
      UpdateActive(reinterpret_cast<TControl*>(Message.LParam));
      break;
    default:
      break;
  }
  TButtonControl::Dispatch(Message);
}

// ============================================================================ check box =======

namespace {
constexpr int32_t kStdBtnCheckSize = 13;

// The box (or circle) and the caption of a check box or radio button: the box on the side away
// from the caption, vertically centred; the focus frame around the caption.
void StdBtnPaintChoice(TButtonControl* self, TCanvas* c, TLeftRight alignment, UINT state, bool focused,
                       const std::function<void(TRect, UINT)>& drawCaption) {
  TRect r = self->GetClientRect();
  c->GetBrush()->SetColor(self->GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(r);
  bool boxLeft = alignment == taRightJustify;
  int32_t top = (r.Height() - kStdBtnCheckSize) / 2;
  RECT box = boxLeft ? Rect(r.Left, top, r.Left + kStdBtnCheckSize, top + kStdBtnCheckSize)
                     : Rect(r.Right - kStdBtnCheckSize, top, r.Right, top + kStdBtnCheckSize);
  DrawFrameControl(c->GetHandle(), &box, DFC_BUTTON, state);
  TRect text = boxLeft ? Rect(r.Left + kStdBtnCheckSize + 4, r.Top, r.Right, r.Bottom)
                       : Rect(r.Left, r.Top, r.Right - kStdBtnCheckSize - 4, r.Bottom);
  UINT flags = DT_SINGLELINE | DT_VCENTER | (boxLeft ? DT_LEFT : DT_RIGHT);
  drawCaption(text, flags);
  if (focused && !self->GetCaption().empty()) {
    TRect calc = StdBtnMeasure(self->GetFont(), self->GetCaption(), Rect(0, 0, 0, 0), DT_SINGLELINE);
    int32_t h = calc.Height(), w = std::min(calc.Width(), text.Width());
    int32_t y = text.Top + (text.Height() - h) / 2;
    int32_t x = boxLeft ? text.Left : text.Right - w;
    TRect f = Rect(x - 1, y - 1, x + w + 1, y + h + 1);
    c->RequiredState({csHandleValid, csFontValid, csBrushValid});
    SetTextColor(c->GetHandle(), COLORREF(ColorToRGB(clBtnText)));
    SetBkColor(c->GetHandle(), COLORREF(ColorToRGB(self->GetColor())));
    c->DrawFocusRect(f);
  }
}
}  // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  ControlStyle.Exclude(csOpaque);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (state_ == Value) return;
  state_ = Value;
  Invalidate();
  if (!ClicksDisabled && !ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(allowGrayed_ ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCustomCheckBox::Paint() {
  UINT state = DFCS_BUTTONCHECK;
  if (state_ == cbChecked) state |= DFCS_CHECKED;
  if (state_ == cbGrayed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (Pushed()) state |= DFCS_PUSHED;
  if (!GetEnabled()) state |= DFCS_INACTIVE;
  StdBtnPaintChoice(this, GetCanvas(), alignment_, state, Focused(),
                    [this](TRect r, UINT flags) { DrawCaption(r, flags); });
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR && IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// ============================================================================ radio button ====

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  ControlStyle.Exclude(csOpaque);
  SetTabStop(false);
}

void TRadioButton::TurnSiblingsOff() {
  if (!parent_) return;
  for (int32_t i = 0; i < parent_->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TRadioButton*>(parent_->Controls(i)); other && other != this)
      other->SetChecked(false);
}

void TRadioButton::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  SetTabStop(Value);
  Invalidate();
  if (!Value) return;
  TurnSiblingsOff();
  if (!ClicksDisabled && !ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TRadioButton::Paint() {
  UINT state = DFCS_BUTTONRADIO;
  if (checked_) state |= DFCS_CHECKED;
  if (Pushed()) state |= DFCS_PUSHED;
  if (!GetEnabled()) state |= DFCS_INACTIVE;
  StdBtnPaintChoice(this, GetCanvas(), alignment_, state, Focused(),
                    [this](TRect r, UINT flags) { DrawCaption(r, flags); });
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        if (Focused() && !checked_) NotifyClick();
        Message.Result = 1;
        return;
      }
      break;
    case WM_SETFOCUS:
      TButtonControl::Dispatch(Message);
      // Reached with the arrow keys, a radio button is chosen (a mouse press chooses it on
      // release, Tab only visits it).
      if (!checked_ && handle_ && GetFocus() == handle_ &&
          (GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 ||
           GetKeyState(VK_RIGHT) < 0))
        NotifyClick();
      return;
    default:
      break;
  }
  TButtonControl::Dispatch(Message);
}

// ============================================================================ group box =======

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,
                  csSetCaption,      csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 105);
}

int32_t TCustomGroupBox::CaptionHeight() {
  return StdBtnMeasure(GetFont(), "0", Rect(0, 0, 0, 0), DT_SINGLELINE).Height();
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Top += CaptionHeight();
  Rect.Left += 2, Rect.Right -= 2, Rect.Bottom -= 2;
  if (Rect.Bottom < Rect.Top) Rect.Bottom = Rect.Top;
  if (Rect.Right < Rect.Left) Rect.Right = Rect.Left;
}

void TCustomGroupBox::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(r);
  int32_t h = CaptionHeight();
  RECT frame = Rect(r.Left, r.Top + h / 2, r.Right, r.Bottom);
  DrawEdge(c->GetHandle(), &frame, EDGE_ETCHED, BF_RECT);
  AnsiString text = GetCaption();
  if (text.empty()) return;
  c->SetFont(GetFont());
  TRect calc = StdBtnMeasure(GetFont(), text, Rect(0, 0, 0, 0), DT_SINGLELINE);
  TRect tr = Rect(8, 0, std::min<int32_t>(8 + calc.Width(), r.Right - 8), h);
  if (UseRightToLeftAlignment()) tr = Rect(r.Right - 8 - tr.Width(), 0, r.Right - 8, h);
  c->GetBrush()->SetColor(GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  c->FillRect(Rect(tr.Left - 1, tr.Top, tr.Right + 1, tr.Bottom));
  StdBtnDrawText(c, text, tr, UINT(DrawTextBiDiModeFlags(DT_SINGLELINE | DT_LEFT)), GetEnabled());
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        SelectFirst();
        Message.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      Realign();
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

// ============================================================================ scroll bar ======

namespace {
constexpr UINT_PTR kStdBtnScrollTimer = 1;
constexpr UINT kStdBtnScrollRepeat = 50;
}  // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csFramed, csDoubleClicks, csOpaque, csCaptureMouse};
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

TScrollBar::~TScrollBar() {
  if (timerOn_ && handle_) KillTimer(handle_, kStdBtnScrollTimer);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (kind_ == Value) return;
  kind_ = Value;
  // The bar turns on its corner: width and height swap (but not while read).
  if (!ComponentState().Contains(csLoading)) SetBounds(left_, top_, height_, width_);
  Invalidate();
}

int32_t TScrollBar::MaxPosition() const { return std::max(min_, max_ - std::max(pageSize_ - 1, 0)); }

void TScrollBar::SetParams(int32_t APosition, int32_t AMin, int32_t AMax) {
  if (AMax < AMin || (pageSize_ > 0 && AMax - AMin + 1 < pageSize_ && !ComponentState().Contains(csLoading)))
    throw EInvalidOperation(SScrollBarRange);
  bool rangeChanged = AMin != min_ || AMax != max_;
  min_ = AMin;
  max_ = AMax;
  int32_t pos = std::clamp(APosition, min_, MaxPosition());
  if (ComponentState().Contains(csLoading)) {
    // Read in any order: keep what was stored; the range check waits for Loaded.
    position_ = APosition;
    return;
  }
  bool moved = pos != position_;
  position_ = pos;
  if (rangeChanged || moved) Invalidate();
  if (moved) Change();
}

void TScrollBar::SetMin(int32_t Value) {
  if (ComponentState().Contains(csLoading)) {
    min_ = Value;
    return;
  }
  SetParams(position_, Value, max_);
}

void TScrollBar::SetMax(int32_t Value) {
  if (ComponentState().Contains(csLoading)) {
    max_ = Value;
    return;
  }
  SetParams(position_, min_, Value);
}

void TScrollBar::SetPageSize(int32_t Value) {
  if (Value == pageSize_) return;
  if (Value < 0 || (!ComponentState().Contains(csLoading) && Value > max_ - min_ + 1))
    throw EInvalidOperation(SScrollBarRange);
  pageSize_ = Value;
  if (ComponentState().Contains(csLoading)) return;
  SetParams(position_, min_, max_);
  Invalidate();
}

void TScrollBar::Loaded() {
  TCustomControl::Loaded();
  if (max_ < min_) max_ = min_;
  pageSize_ = std::clamp(pageSize_, 0, max_ - min_ + 1);
  position_ = std::clamp(position_, min_, MaxPosition());
}

void TScrollBar::Change() {
  if (!ComponentState().Contains(csLoading)) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int32_t& ScrollPos) { OnScroll(this, ScrollCode, ScrollPos); }

void TScrollBar::DoScroll(TScrollCode Code, int32_t TrackPos) {
  int64_t pos = position_;
  switch (Code) {
    case scLineUp:
      pos -= smallChange_;
      break;
    case scLineDown:
      pos += smallChange_;
      break;
    case scPageUp:
      pos -= largeChange_;
      break;
    case scPageDown:
      pos += largeChange_;
      break;
    case scPosition:
    case scTrack:
      pos = TrackPos;
      break;
    case scTop:
      pos = min_;
      break;
    case scBottom:
      pos = max_;
      break;
    case scEndScroll:
      break;
  }
  int32_t scrollPos = int32_t(std::clamp<int64_t>(pos, min_, MaxPosition()));
  Scroll(Code, scrollPos);
  SetPosition(scrollPos);
}

TScrollBar::TParts TScrollBar::Parts() const {
  TParts p;
  bool vertical = kind_ == sbVertical;
  int32_t len = vertical ? height_ : width_, thick = vertical ? width_ : height_;
  int32_t arrow = std::min(thick, len / 2);
  auto span = [&](int32_t a, int32_t b) { return vertical ? Rect(0, a, width_, b) : Rect(a, 0, b, height_); };
  p.Arrow1 = span(0, arrow);
  p.Arrow2 = span(len - arrow, len);
  p.Track = span(arrow, len - arrow);
  int32_t trackLen = len - 2 * arrow;
  if (!GetEnabled() || max_ <= min_ || trackLen <= 0) return p;
  int64_t range = int64_t(max_) - min_;
  int32_t thumb = pageSize_ > 0 ? std::max(int32_t(int64_t(trackLen) * pageSize_ / (range + 1)),
                                           std::min<int32_t>(trackLen, 8))
                                : std::min(thick, trackLen);
  if (thumb >= trackLen) return p;
  int32_t maxPos = MaxPosition(), pos = pressed_ == spThumb ? trackPos_ : position_;
  int32_t offset = maxPos > min_
                       ? int32_t(int64_t(trackLen - thumb) * (int64_t(pos) - min_) / (int64_t(maxPos) - min_))
                       : 0;
  p.Thumb = span(arrow + offset, arrow + offset + thumb);
  return p;
}

TScrollBar::TPart TScrollBar::PartAt(TPoint P) const {
  TParts p = Parts();
  if (p.Arrow1.Contains(P)) return spArrow1;
  if (p.Arrow2.Contains(P)) return spArrow2;
  if (p.Thumb.Contains(P)) return spThumb;
  if (!p.Track.Contains(P) || p.Thumb.IsEmpty()) return spNone;
  return Along(P) < Along(p.Thumb.TopLeft()) ? spPage1 : spPage2;
}

void TScrollBar::Paint() {
  TCanvas* c = GetCanvas();
  HDC dc = c->GetHandle();
  TParts p = Parts();
  bool vertical = kind_ == sbVertical;
  bool disabled = !GetEnabled() || max_ <= min_;
  RECT a1 = p.Arrow1, a2 = p.Arrow2;
  UINT inactive = disabled ? DFCS_INACTIVE : 0;
  DrawFrameControl(dc, &a1, DFC_SCROLL,
                   (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive |
                       (pressed_ == spArrow1 && over_ ? DFCS_PUSHED : 0));
  DrawFrameControl(dc, &a2, DFC_SCROLL,
                   (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive |
                       (pressed_ == spArrow2 && over_ ? DFCS_PUSHED : 0));
  RECT track = p.Track;
  FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
  // The page being stepped shows dark while the mouse holds it.
  if ((pressed_ == spPage1 || pressed_ == spPage2) && over_ && !p.Thumb.IsEmpty()) {
    TRect page = p.Track;
    if (pressed_ == spPage1)
      (vertical ? page.Bottom : page.Right) = vertical ? p.Thumb.Top : p.Thumb.Left;
    else
      (vertical ? page.Top : page.Left) = vertical ? p.Thumb.Bottom : p.Thumb.Right;
    RECT pr = page;
    FillRect(dc, &pr, GetSysColorBrush(COLOR_3DDKSHADOW));
  }
  if (!p.Thumb.IsEmpty()) {
    RECT thumb = p.Thumb;
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    if (Focused()) {
      RECT f = p.Thumb;
      InflateRect(&f, -3, -3);
      SetTextColor(dc, COLORREF(ColorToRGB(clBtnText)));
      SetBkColor(dc, COLORREF(ColorToRGB(clBtnFace)));
      if (f.Right > f.Left && f.Bottom > f.Top) DrawFocusRect(dc, &f);
    }
  }
}

void TScrollBar::RepeatStep() {
  if (pressed_ == spNone || pressed_ == spThumb || !handle_) return;
  POINT cursor;
  GetCursorPos(&cursor);
  TPoint at = ScreenToClient(cursor);
  over_ = PartAt(at) == pressed_;
  if (!over_) return;
  switch (pressed_) {
    case spArrow1:
      DoScroll(scLineUp);
      break;
    case spArrow2:
      DoScroll(scLineDown);
      break;
    case spPage1:
      DoScroll(scPageUp);
      break;
    case spPage2:
      DoScroll(scPageDown);
      break;
    default:
      break;
  }
}

void TScrollBar::StopTracking() {
  if (timerOn_ && handle_) KillTimer(handle_, kStdBtnScrollTimer);
  timerOn_ = false;
  pressed_ = spNone;
  over_ = false;
  Invalidate();
}

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled() || max_ <= min_) return;
  if (GetTabStop() && CanFocus() && !Focused()) SetFocus();
  TPart part = PartAt({X, Y});
  if (part == spNone) return;
  pressed_ = part;
  over_ = true;
  if (part == spThumb) {
    TParts p = Parts();
    grab_ = Along({X, Y}) - Along(p.Thumb.TopLeft());
    trackPos_ = position_;
    Invalidate();
    return;
  }
  Invalidate();
  static const TScrollCode codes[] = {scEndScroll, scLineUp, scPageUp, scEndScroll, scPageDown, scLineDown};
  DoScroll(codes[part]);
  // Holding the button repeats the step after the keyboard delay.
  if (handle_ && pressed_ != spNone) {
    UINT delay = 0;
    SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    SetTimer(handle_, kStdBtnScrollTimer, (delay + 1) * 250, nullptr);
    timerOn_ = true;
  }
}

void TScrollBar::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (pressed_ == spThumb) {
    TParts p = Parts();
    bool vertical = kind_ == sbVertical;
    int32_t room = vertical ? p.Track.Height() - p.Thumb.Height() : p.Track.Width() - p.Thumb.Width();
    int32_t at = Along({X, Y}) - Along(p.Track.TopLeft()) - grab_;
    int32_t pos =
        room > 0 ? min_ + int32_t(int64_t(std::clamp(at, 0, room)) * (int64_t(MaxPosition()) - min_) / room)
                 : min_;
    if (pos != trackPos_) {
      trackPos_ = pos;
      DoScroll(scTrack, pos);
      Invalidate();
    }
    return;
  }
  if (pressed_ != spNone) {
    bool over = PartAt({X, Y}) == pressed_;
    if (over != over_) {
      over_ = over;
      Invalidate();
    }
  }
}

void TScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft && pressed_ != spNone) {
    bool thumb = pressed_ == spThumb;
    int32_t pos = trackPos_;
    StopTracking();
    if (thumb) DoScroll(scPosition, pos);
    DoScroll(scEndScroll);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_UP:
    case VK_LEFT:
      DoScroll(scLineUp);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      DoScroll(scLineDown);
      break;
    case VK_PRIOR:
      DoScroll(scPageUp);
      break;
    case VK_NEXT:
      DoScroll(scPageDown);
      break;
    case VK_HOME:
      DoScroll(scTop);
      break;
    case VK_END:
      DoScroll(scBottom);
      break;
    default:
      return;
  }
}

void TScrollBar::KeyUp(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  switch (Key) {
    case VK_UP:
    case VK_LEFT:
    case VK_DOWN:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      DoScroll(scEndScroll);
      break;
    default:
      break;
  }
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_TIMER:
      if (Message.WParam == kStdBtnScrollTimer) {
        SetTimer(handle_, kStdBtnScrollTimer, kStdBtnScrollRepeat, nullptr);
        RepeatStep();
        return;
      }
      break;
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(TScrollCode(std::min<WORD>(LOWORD(Message.WParam), scEndScroll)),
               int16_t(HIWORD(Message.WParam)));
      return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
    case WM_KILLFOCUS:
      if (pressed_ != spNone) StopTracking();
      Invalidate();
      break;
    case WM_SETFOCUS:
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}
