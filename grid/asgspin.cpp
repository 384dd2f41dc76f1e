// The grid library's spin edit.
//
// Sections: timer speed button / spin button / spin edit.
#include "grid/asgspin.h"

#include <algorithm>
#include <cmath>

#include "platform/os/gdi/VisualStyles.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

PL_ENUM_NAMES(TSpinDirection, "spVertical", "spHorizontal")
PL_ENUM_NAMES(TAsgSpinType, "sptNormal", "sptFloat", "sptDate", "sptTime")

// ============================================================================ timer speed button

const TClassInfo& TAdvTimerSpeedButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAdvTimerSpeedButton, TSpeedButton>("TAdvTimerSpeedButton");
  return info;
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (AllowTimer) {
    if (!timer_) {
      timer_ = new TTimer(this);
      timer_->SetEnabled(false);
      timer_->SetOnTimer(TNotifyEvent(this, &TAdvTimerSpeedButton::TimerExpired));
    }
    timer_->SetInterval(400);
    timer_->SetEnabled(true);
  }
  if (GetParent()) GetParent()->Invalidate();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (timer_) timer_->SetEnabled(false);
  if (GetParent()) GetParent()->Invalidate();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*) {
  timer_->SetInterval(100);
  if (State() != bsDown || !GetMouseCapture()) return;
  try {
    Click();
  } catch (...) {
    timer_->SetEnabled(false);
    throw;
  }
}

void TAdvTimerSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
    mouseInside_ = Message.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TSpeedButton::Dispatch(Message);
}

void TAdvTimerSpeedButton::Paint() {
  TRect r = GetClientRect();
  const bool down = State() == bsDown;
  if (IsWinXP && GetParent() && GetParent()->HandleAllocated()) {
    if (HTHEME theme = OpenThemeData(GetParent()->Handle(), u"spin")) {
      static const int kParts[] = {1, 2, 4, 3};  // up, down, left, right
      RECT rc = r;
      DrawThemeBackground(theme, GetCanvas()->GetHandle(), kParts[Direction],
                          down           ? 3
                          : mouseInside_ ? 2
                                         : 1,
                          &rc, nullptr);
      CloseThemeData(theme);
      return;
    }
  }
  if (Direction == tbdLeft || Direction == tbdRight) {
    RECT rc = r;
    UINT state = Direction == tbdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    if (down) state |= DFCS_PUSHED;
    if (GetFlat()) state |= DFCS_FLAT;
    DrawFrameControl(GetCanvas()->GetHandle(), &rc, DFC_SCROLL, state);
    return;
  }
  TSpeedButton::Paint();
  if (FocusRect) {
    GetCanvas()->DrawFocusRect(TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2});
  }
}

// ============================================================================ spin button =====

void LoadSpinGlyph(TBitmap* Bitmap, bool Up) {
  Bitmap->SetWidth(9);
  Bitmap->SetHeight(6);
  TCanvas* c = Bitmap->GetCanvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(TRect{0, 0, 9, 6});
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t w = 7 - 2 * i;  // rows of 7, 5, 3 and 1 pixels
    const int32_t y = Up ? 4 - i : 1 + i;
    for (int32_t x = (9 - w) / 2; x < (9 - w) / 2 + w; ++x) c->SetPixel(x, y, clBlack);
  }
}

const TClassInfo& TAsgSpinButton::ClassInfo() {
  using B = TAsgSpinButton;
  static const TClassInfo info = TClassInfo::Of<B, TWinControl>("TAsgSpinButton")
                                     .Prop("Direction", &B::GetDirection, &B::SetDirection)
                                     .Default(spVertical)
                                     .Prop("UpNumGlyphs", &B::GetUpNumGlyphs, &B::SetUpNumGlyphs)
                                     .Default(1)
                                     .Prop("DownNumGlyphs", &B::GetDownNumGlyphs, &B::SetDownNumGlyphs)
                                     .Default(1)
                                     .Event("OnUpClick", &B::OnUpClick)
                                     .Event("OnDownClick", &B::OnDownClick);
  return info;
}

TAsgSpinButton::TAsgSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle =
      (ControlStyle - TControlStyle{csAcceptsControls, csSetCaption}) + TControlStyle{csFramed, csOpaque};
  auto make = [this](bool up) {
    auto* b = new TAdvTimerSpeedButton(this);
    b->OnClick = TNotifyEvent(this, &TAsgSpinButton::BtnClick);
    b->OnMouseDown = TMouseEvent(this, &TAsgSpinButton::BtnMouseDown);
    b->SetVisible(true);
    b->SetEnabled(true);
    b->AllowTimer = true;
    b->Direction = up ? tbdUp : tbdDown;
    LoadSpinGlyph(b->GetGlyph(), up);
    b->SetParent(this);
    return b;
  };
  upButton_ = make(true);
  downButton_ = make(false);
  focusedButton_ = upButton_;
  SetBounds(0, 0, 15, 25);
}

void TAsgSpinButton::AdjustSize(int32_t& W, int32_t& H) {
  if (!upButton_ || ComponentState().Contains(csLoading)) return;
  if (direction_ == spVertical) {
    W = std::max(W, 15);
    const int32_t upH = H / 2;
    upButton_->SetBounds(0, 0, W, upH);
    downButton_->SetBounds(0, upH - 1, W, H - upH + 1);
  } else {
    W = std::max(W, 20);
    downButton_->SetBounds(0, 0, W / 2, H);
    upButton_->SetBounds(W / 2 + 1, 0, W / 2, H);
  }
}

void TAsgSpinButton::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  AdjustSize(AWidth, AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAsgSpinButton::Loaded() {
  TWinControl::Loaded();
  int32_t w = Width(), h = Height();
  AdjustSize(w, h);
  if (w != Width() || h != Height()) SetBounds(GetLeft(), GetTop(), w, h);
}

void TAsgSpinButton::SetDirection(TSpinDirection Value) {
  if (Value == direction_) return;
  direction_ = Value;
  const bool horz = Value == spHorizontal;
  upButton_->Direction = horz ? tbdRight : tbdUp;
  downButton_->Direction = horz ? tbdLeft : tbdDown;
  RecreateWnd();
  SetBounds(GetLeft(), GetTop(), horz ? 20 : 15, Height());
}

void TAsgSpinButton::SetUpGlyph(TBitmap* Value) {
  if (Value) {
    upButton_->SetGlyph(Value);
  } else {
    LoadSpinGlyph(upButton_->GetGlyph(), true);
    upButton_->SetNumGlyphs(1);
  }
}

void TAsgSpinButton::SetDownGlyph(TBitmap* Value) {
  if (Value) {
    downButton_->SetGlyph(Value);
  } else {
    LoadSpinGlyph(downButton_->GetGlyph(), false);
    downButton_->SetNumGlyphs(1);
  }
}

void TAsgSpinButton::SetFocusControl(TWinControl* Value) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TAsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TAsgSpinButton::SetIsWinXP(bool Value) {
  upButton_->IsWinXP = Value;
  downButton_->IsWinXP = Value;
}

void TAsgSpinButton::BtnClick(TObject* Sender) {
  if (Sender == upButton_)
    OnUpClick(this);
  else if (Sender == downButton_)
    OnDownClick(this);
}

void TAsgSpinButton::SetFocusBtn(TAdvTimerSpeedButton* Btn) {
  if (!GetTabStop() || !CanFocus() || Btn == focusedButton_) return;
  focusedButton_->FocusRect = false;
  focusedButton_ = Btn;
  if (Focused()) {
    focusedButton_->FocusRect = true;
    focusedButton_->Invalidate();
  }
}

void TAsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int32_t, int32_t) {
  if (Button != mbLeft) return;
  SetFocusBtn(static_cast<TAdvTimerSpeedButton*>(Sender));
  if (focusControl_ && focusControl_->GetTabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
    focusControl_->SetFocus();
  else if (GetTabStop() && CanFocus() && !Focused())
    SetFocus();
}

void TAsgSpinButton::KeyDown(WORD& Key, TShiftState Shift) {
  switch (Key) {
    case VK_SPACE:
      focusedButton_->Click();
      break;
    case VK_UP:
      SetFocusBtn(upButton_);
      upButton_->Click();
      break;
    case VK_DOWN:
      SetFocusBtn(downButton_);
      downButton_->Click();
      break;
    default:
      TWinControl::KeyDown(Key, Shift);
  }
}

void TAsgSpinButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focusedButton_->FocusRect = Message.Msg == WM_SETFOCUS;
      focusedButton_->Invalidate();
      break;
    case WM_SIZE: {
      TWinControl::Dispatch(Message);
      int32_t w = Width(), h = Height();
      AdjustSize(w, h);
      if (w != Width() || h != Height()) SetBounds(GetLeft(), GetTop(), w, h);
      return;
    }
    default:
      break;
  }
  TWinControl::Dispatch(Message);
}

// ============================================================================ spin edit =======

const TClassInfo& TAsgSpinEdit::ClassInfo() {
  using E = TAsgSpinEdit;
  static const TClassInfo info = TClassInfo::Of<E, TCustomMaskEdit>("TAsgSpinEdit")
                                     .Prop("SpinType", &E::GetSpinType, &E::SetSpinType)
                                     .Default(sptNormal)
                                     .Prop("MinValue", &E::MinValue)
                                     .Default(0)
                                     .Prop("MaxValue", &E::MaxValue)
                                     .Default(100)
                                     .Prop("Increment", &E::Increment)
                                     .Default(1)
                                     .Prop("Value", &E::GetValue, &E::SetValue)
                                     .Prop("MinFloatValue", &E::MinFloatValue)
                                     .Prop("MaxFloatValue", &E::MaxFloatValue)
                                     .Prop("IncrementFloat", &E::IncrementFloat)
                                     .Prop("FloatValue", &E::GetFloatValue, &E::SetFloatValue)
                                     .Prop("MinDateValue", &E::MinDateValue)
                                     .Prop("MaxDateValue", &E::MaxDateValue)
                                     .Prop("DateValue", &E::GetDateValue, &E::SetDateValue)
                                     .Prop("TimeValue", &E::GetTimeValue, &E::SetTimeValue)
                                     .Prop("Precision", &E::GetPrecision, &E::SetPrecision)
                                     .Default(0)
                                     .Prop("EditorEnabled", &E::EditorEnabled)
                                     .Default(true)
                                     .Prop("ReturnIsTab", &E::ReturnIsTab)
                                     .Default(false)
                                     .Prop("Direction", &E::GetDirection, &E::SetDirection)
                                     .Default(spVertical)
                                     .Prop("SpinFlat", &E::GetSpinFlat, &E::SetSpinFlat)
                                     .Default(false)
                                     .Prop("SpinTransparent", &E::GetSpinTransparent, &E::SetSpinTransparent)
                                     .Default(false);
  return info;
}

TAsgSpinEdit::TAsgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  button_ = new TAsgSpinButton(this);
  button_->SetBounds(0, 0, 15, 17);
  button_->SetVisible(true);
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnUpClick = TNotifyEvent(this, &TAsgSpinEdit::UpClick);
  button_->OnDownClick = TNotifyEvent(this, &TAsgSpinEdit::DownClick);
  SetText("0");
  ControlStyle.Exclude(csSetCaption);
}

TAsgSpinEdit::~TAsgSpinEdit() { button_ = nullptr; }

// ---- values ------------------------------------------------------------------------------------

int32_t TAsgSpinEdit::CheckValue(int32_t NewValue) const {
  if (MinValue == MaxValue) return NewValue;
  return NewValue < MinValue ? MinValue : NewValue > MaxValue ? MaxValue : NewValue;
}

double TAsgSpinEdit::CheckFloatValue(double NewValue) const {
  if (MinFloatValue == MaxFloatValue) return NewValue;
  return NewValue < MinFloatValue ? MinFloatValue : NewValue > MaxFloatValue ? MaxFloatValue : NewValue;
}

TDateTime TAsgSpinEdit::CheckDateValue(TDateTime NewValue) const {
  if (MinDateValue == MaxDateValue) return NewValue;
  return NewValue < MinDateValue ? MinDateValue : NewValue > MaxDateValue ? MaxDateValue : NewValue;
}

int32_t TAsgSpinEdit::GetValue() {
  int32_t v = 0;
  return TryStrToInt(GetText(), v) ? v : MinValue;
}

void TAsgSpinEdit::SetValue(int32_t Value) {
  SetText(IntToStr(CheckValue(Value)));
  if (!EditorEnabled) SelectAll();
}

double TAsgSpinEdit::GetFloatValue() {
  double v = 0;
  // The integer bound is the fallback, as stored settings have always read it.
  return TryStrToFloat(GetText(), v) ? v : double(MinValue);
}

void TAsgSpinEdit::SetFloatValue(double Value) {
  const double v = CheckFloatValue(Value);
  SetText(precision_ != 0 ? FloatToStrF(v, ffFixed, 15, precision_) : FloatToStr(v));
}

TDateTime TAsgSpinEdit::GetDateValue() {
  const AnsiString t = GetText();
  if (t.empty() || t == "0") return Now();
  TDateTime d = 0;
  return TryStrToDate(t, d) ? d : MinDateValue;
}

void TAsgSpinEdit::SetDateValue(TDateTime Value) {
  dateValue_ = Value;
  if (ComponentState().Contains(csLoading)) return;
  dateValue_ = CheckDateValue(Value);
  const int32_t caret = GetSelStart();
  SetText(DateToStr(dateValue_));
  SetSelStart(caret);
}

TDateTime TAsgSpinEdit::GetTimeValue() {
  TDateTime t = 0;
  return TryStrToTime(GetText(), t) ? t : 0;
}

void TAsgSpinEdit::SetTimeValue(TDateTime Value) {
  timeValue_ = Value;
  if (ComponentState().Contains(csLoading)) return;
  const int32_t caret = GetSelStart();
  SetText(TimeToStr(Value));
  SetSelStart(caret);
}

void TAsgSpinEdit::SetSpinType(TAsgSpinType Value) {
  spinType_ = Value;
  switch (Value) {
    case sptNormal:
      SetValue(GetValue());
      break;
    case sptFloat:
      SetFloatValue(GetFloatValue());
      break;
    case sptDate:
      SetDateValue(GetDateValue());
      break;
    case sptTime:
      SetTimeValue(GetTimeValue());
      break;
  }
}

void TAsgSpinEdit::SetPrecision(int32_t Value) {
  precision_ = Value;
  if (spinType_ == sptFloat) SetFloatValue(GetFloatValue());
}

void TAsgSpinEdit::SetDirection(TSpinDirection Value) {
  button_->SetDirection(Value);
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetSpinFlat(bool Value) {
  spinFlat_ = Value;
  button_->UpButton()->SetFlat(Value);
  button_->DownButton()->SetFlat(Value);
}

void TAsgSpinEdit::SetSpinTransparent(bool Value) {
  spinTransparent_ = Value;
  button_->UpButton()->SetTransparent(Value);
  button_->DownButton()->SetTransparent(Value);
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetIsWinXP(bool Value) { button_->SetIsWinXP(Value); }

void TAsgSpinEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  if (spinType_ == sptDate) SetText(DateToStr(dateValue_));
  if (spinType_ == sptTime) SetText(TimeToStr(timeValue_));
  SetSpinType(spinType_);
}

// ---- steps -------------------------------------------------------------------------------------

namespace {
// The 0-based index of the n-th (1-based) occurrence of Ch in S, or npos.
size_t NthPos(const AnsiString& S, char Ch, int n) {
  size_t p = AnsiString::npos;
  for (int i = 0; i < n; ++i) {
    p = S.find(Ch, p == AnsiString::npos ? 0 : p + 1);
    if (p == AnsiString::npos) break;
  }
  return p;
}
// Which field (0, 1 or 2) of Text, split at Sep, the caret stands in.
int FieldAtCaret(const AnsiString& Text, char Sep, int32_t Caret) {
  const size_t p1 = NthPos(Text, Sep, 1), p2 = NthPos(Text, Sep, 2);
  if (p1 != AnsiString::npos && size_t(Caret) <= p1) return 0;
  if (p2 != AnsiString::npos && size_t(Caret) <= p2) return 1;
  return 2;
}
}  // namespace

void TAsgSpinEdit::Step(int32_t D) {
  if (GetReadOnly()) {
    MessageBeep(0);
    return;
  }
  switch (spinType_) {
    case sptNormal:
      SetValue(GetValue() + D * Increment);
      break;
    case sptFloat:
      SetFloatValue(GetFloatValue() + D * IncrementFloat);
      break;
    case sptDate: {
      const TDateTime d = GetDateValue();
      switch (FieldAtCaret(GetText(), FormatSettings.DateSeparator, GetSelStart())) {
        case 0:
          SetDateValue(d + D);
          break;
        case 1:
          SetDateValue(IncMonth(d, D));
          break;
        default: {
          WORD y, m, day;
          DecodeDate(d, y, m, day);
          const WORD ny = WORD(y + D);
          // 29 February steps to the 28th in a year without it.
          const WORD nd = std::min<WORD>(day, DaysInAMonth(ny, m));
          SetDateValue(EncodeDate(ny, m, nd) + (d - std::floor(d)));
          break;
        }
      }
      break;
    }
    case sptTime: {
      const TDateTime t = GetTimeValue();
      const int field = FieldAtCaret(GetText(), FormatSettings.TimeSeparator, GetSelStart());
      const TDateTime step = field == 0 ? 1.0 / 24 : field == 1 ? 1.0 / 1440 : 1.0 / 86400;
      if (D > 0) {
        SetTimeValue(t + step);
      } else {
        TDateTime v = t + 1 - step;
        if (v > 1) v -= 1;
        SetTimeValue(v);
      }
      break;
    }
  }
}

void TAsgSpinEdit::UpClick(TObject*) { Step(1); }

void TAsgSpinEdit::DownClick(TObject*) { Step(-1); }

// ---- keys --------------------------------------------------------------------------------------

bool TAsgSpinEdit::IsValidChar(char Key) {
  const TFormatSettings& fs = FormatSettings;
  const uint8_t k = uint8_t(Key);
  bool valid = Key == '+' || Key == '-' || (Key >= '0' && Key <= '9') || Key == fs.DecimalSeparator ||
               Key == fs.ThousandSeparator || Key == fs.TimeSeparator || Key == fs.DateSeparator ||
               (k < 32 && k != 13);
  if (Key == fs.TimeSeparator && spinType_ != sptTime) valid = false;
  if (Key == fs.DateSeparator && spinType_ != sptDate && Key != '-') valid = false;
  const AnsiString text = GetText();
  if (spinType_ == sptFloat && Key != '\b' && Key != '\r' && Key != 0x1B) {
    char key = Key == fs.ThousandSeparator ? fs.DecimalSeparator : Key;
    if (key == fs.DecimalSeparator) {
      if (text.find(fs.DecimalSeparator) != AnsiString::npos) valid = false;
    } else if (precision_ >= 1) {
      const size_t p = text.find(fs.DecimalSeparator);
      if (p != AnsiString::npos && GetSelStart() > int32_t(p) && GetSelLength() == 0 &&
          int32_t(text.size()) >= int32_t(p) + 1 + precision_)
        valid = false;
    }
  }
  if (spinType_ == sptTime && Key == fs.TimeSeparator && std::count(text.begin(), text.end(), Key) >= 2)
    valid = false;
  if (!EditorEnabled && (k >= 32 || Key == '\b')) valid = false;
  return valid;
}

void TAsgSpinEdit::KeyPress(char& Key) {
  if (spinType_ == sptFloat && Key == FormatSettings.ThousandSeparator && IsValidChar(Key))
    Key = FormatSettings.DecimalSeparator;
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TAsgSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN && ReturnIsTab) {
    Key = VK_TAB;
    PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (Key == VK_DELETE && !EditorEnabled) Key = 0;
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAsgSpinEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (Message.WParam == VK_UP || Message.WParam == VK_DOWN) {
        Message.WParam == VK_UP ? UpClick(this) : DownClick(this);
        Message.Result = 0;
        return;
      }
      break;
    case WM_PASTE:
    case WM_CUT:
      if (!EditorEnabled || GetReadOnly()) return;
      break;
    default:
      break;
  }
  TCustomMaskEdit::Dispatch(Message);
}

// ---- focus -------------------------------------------------------------------------------------

void TAsgSpinEdit::DoEnter() {
  TCustomMaskEdit::DoEnter();
  const bool byMouse = (uint16_t(GetKeyState(VK_LBUTTON)) & 0x8000) != 0;
  if (GetAutoSelect() && !(byMouse && EditorEnabled)) SelectAll();
}

void TAsgSpinEdit::DoExit() {
  TCustomMaskEdit::DoExit();
  switch (spinType_) {
    case sptNormal:
      if (CheckValue(GetValue()) != GetValue()) SetValue(GetValue());
      break;
    case sptFloat:
      if (CheckFloatValue(GetFloatValue()) != GetFloatValue()) SetFloatValue(GetFloatValue());
      break;
    case sptDate:
      if (CheckDateValue(GetDateValue()) != GetDateValue()) SetDateValue(GetDateValue());
      break;
    case sptTime: {
      const TDateTime t = GetTimeValue();
      if (MinDateValue != MaxDateValue && (t < MinDateValue || t > MaxDateValue)) SetTimeValue(t);
      break;
    }
  }
}

// ---- layout ------------------------------------------------------------------------------------

void TAsgSpinEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TAsgSpinEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  SetEditRect();
}

void TAsgSpinEdit::SetEditRect() {
  if (!HandleAllocated()) return;
  const int32_t b = GetBorderStyle() == bsNone ? 1 : 0;
  RECT r{b, b, GetClientWidth() - button_->Width() - b - 2, GetClientHeight() + 1};
  SendMessageA(Handle(), EM_SETRECTNP, 0, LPARAM(&r));
}

namespace {
// The character height of a font, and of the system font.
int32_t FontCharHeight(HFONT Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}
}  // namespace

int32_t EditMinHeight(TFont* Font) {
  const int32_t f = FontCharHeight(Font->GetHandle());
  const int32_t s = FontCharHeight(HFONT(GetStockObject(SYSTEM_FONT)));
  return f + std::min(f, s) / 4;
}

int32_t TAsgSpinEdit::MinHeight() {
  int32_t h = EditMinHeight(GetFont()) + 2;
  if (GetBorderStyle() == bsSingle) h += 4 * GetSystemMetrics(SM_CYBORDER);
  return h;
}

void TAsgSpinEdit::Resize() {
  TCustomMaskEdit::Resize();
  if (button_ && PlaceEditButton(this, button_, MinHeight())) SetEditRect();
}

bool PlaceEditButton(TCustomEdit* Edit, TControl* Button, int32_t MinHeight) {
  if (Edit->Height() < MinHeight) {
    Edit->SetHeight(MinHeight);
    return false;
  }
  const int32_t w = Button->Width(), width = Edit->Width(), height = Edit->Height();
  if (Edit->GetCtl3D()) {
    const int32_t e = Edit->GetBorderStyle() == bsSingle ? 5 : 1;
    Button->SetBounds(width - w - e, 0, w, height - e);
  } else {
    Button->SetBounds(width - w, 1, w, height - 3);
  }
  return true;
}
