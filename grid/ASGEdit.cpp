// The grid library's edits with a button.
//
// Sections: speed button / edit button / edit with button / unit edit.
#include "grid/ASGEdit.h"

#include <algorithm>

#include "grid/asgspin.h"
#include "platform/os/gdi/VisualStyles.h"
#include "platform/os/user/Menu.h"

// ============================================================================ speed button ====

const TClassInfo& TAdvSpeedButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAdvSpeedButton, TSpeedButton>("TAdvSpeedButton");
  return info;
}

void TAdvSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
    mouseInside_ = Message.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TSpeedButton::Dispatch(Message);
}

void TAdvSpeedButton::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  RECT r = GetClientRect();
  const bool down = State() == bsDown;
  HTHEME theme = IsWinXP && GetParent() && GetParent()->HandleAllocated()
                     ? OpenThemeData(GetParent()->Handle(), u"button")
                     : nullptr;
  if (theme) {
    DrawThemeBackground(theme, c->GetHandle(), 1, down ? 3 : mouseInside_ ? 2 : 1, &r, nullptr);
    CloseThemeData(theme);
  } else if (GetFlat()) {
    DrawEdge(c->GetHandle(), &r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  } else {
    DrawFrameControl(c->GetHandle(), &r, DFC_BUTTON,
                     DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0));
  }
  TBitmap* glyph = GetGlyph();
  if (!glyph->Empty()) {
    const int32_t gw = glyph->GetWidth() / std::max(1, GetNumGlyphs()), gh = glyph->GetHeight();
    const int32_t w = Width(), h = Height();
    int32_t x = gw < w ? (w - gw) / 2 : 0, y = gh < h ? (h - gh) / 2 : 0;
    if (down) ++x, ++y;
    DrawButtonGlyph(c, glyph, GetNumGlyphs(), GetEnabled() ? bsUp : bsDisabled, x, y);
  }
  const AnsiString caption = GetCaption();
  if (!caption.empty()) {
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(down ? 3 : 2, down ? 3 : 2, caption);
    c->GetBrush()->SetStyle(bsSolid);
  }
}

// ============================================================================ edit button =====

const TClassInfo& TAsgEditButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAsgEditButton, TWinControl>("TAsgEditButton");
  return info;
}

TAsgEditButton::TAsgEditButton(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle =
      (ControlStyle - TControlStyle{csAcceptsControls, csSetCaption}) + TControlStyle{csFramed, csOpaque};
  button_ = new TAdvSpeedButton(this);
  button_->SetVisible(true);
  button_->SetEnabled(true);
  button_->SetCaption("");
  button_->OnMouseUp = TMouseEvent(this, &TAsgEditButton::ButtonMouseUp);
  button_->SetParent(this);
  SetBounds(0, 0, 20, 25);
}

void TAsgEditButton::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(AWidth, 15);
  if (button_ && !ComponentState().Contains(csLoading)) button_->SetBounds(0, 0, AWidth, AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAsgEditButton::SetFocusControl(TWinControl* Value) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TAsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TAsgEditButton::ButtonMouseUp(TObject*, TMouseButton Button, TShiftState, int32_t X, int32_t Y) {
  if (Button != mbLeft || X < 0 || Y < 0 || X >= button_->Width() || Y >= button_->Height()) return;
  OnClick(this);
  if (focusControl_ && focusControl_->GetTabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
    focusControl_->SetFocus();
  else if (GetTabStop() && CanFocus() && !Focused())
    SetFocus();
}

// ============================================================================ edit with button

const TClassInfo& TAsgEditBtn::ClassInfo() {
  using E = TAsgEditBtn;
  static const TClassInfo info = TClassInfo::Of<E, TCustomEdit>("TAsgEditBtn")
                                     .Prop("ButtonWidth", &E::GetButtonWidth, &E::SetButtonWidth)
                                     .Prop("ButtonCaption", &E::GetButtonCaption, &E::SetButtonCaption)
                                     .Prop("EditorEnabled", &E::EditorEnabled)
                                     .Default(true)
                                     .Prop("RightAlign", &E::GetRightAlign, &E::SetRightAlign)
                                     .Default(false)
                                     .Prop("IsWinXP", &E::GetIsWinXP, &E::SetIsWinXP)
                                     .Default(false)
                                     .Event("OnClickBtn", &E::OnClickBtn);
  return info;
}

TAsgEditBtn::TAsgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner) {
  button_ = new TAsgEditButton(this);
  button_->SetBounds(0, 0, 18, 18);
  button_->SetVisible(true);
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnClick = TNotifyEvent(this, &TAsgEditBtn::ClickButton);
  SetText("0");
  ControlStyle.Exclude(csSetCaption);
}

// The button is a child the framework frees; the edit lets go of it first.
TAsgEditBtn::~TAsgEditBtn() { button_ = nullptr; }

void TAsgEditBtn::ClickButton(TObject* Sender) { OnClickBtn(Sender); }

void TAsgEditBtn::SetButtonWidth(int32_t Value) {
  button_->SetWidth(Value);
  Resize();
}

void TAsgEditBtn::SetRightAlign(bool Value) {
  if (Value == rightAlign_) return;
  rightAlign_ = Value;
  RecreateWnd();
}

void TAsgEditBtn::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  if (rightAlign_) Params.Style |= ES_RIGHT;
}

void TAsgEditBtn::CreateWnd() {
  TCustomEdit::CreateWnd();
  SetEditRect();
}

void TAsgEditBtn::SetEditRect() {
  if (!HandleAllocated() || !button_) return;
  const int32_t lt = GetBorderStyle() == bsNone ? 2 : 1;
  RECT r{lt, lt, GetClientWidth() - button_->Width() - unitSpace_ - 3, GetClientHeight() + 1};
  SendMessageA(Handle(), EM_SETRECTNP, 0, LPARAM(&r));
}

void TAsgEditBtn::Resize() {
  TCustomEdit::Resize();
  if (button_ && PlaceEditButton(this, button_, EditMinHeight(GetFont()))) SetEditRect();
}

void TAsgEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  const WORD key = Key;
  TCustomEdit::KeyDown(Key, Shift);
  if (key == VK_F4) ClickButton(this);
}

void TAsgEditBtn::DoEnter() {
  TCustomEdit::DoEnter();
  if (GetAutoSelect() && !(uint16_t(GetKeyState(VK_LBUTTON)) & 0x8000)) SelectAll();
}

void TAsgEditBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR:
      if (!EditorEnabled) return;
      break;
    case WM_PASTE:
    case WM_CUT:
      if (!EditorEnabled || GetReadOnly()) return;
      break;
    default:
      break;
  }
  TCustomEdit::Dispatch(Message);
}

// ============================================================================ unit edit =======

const TClassInfo& TAsgUnitEditBtn::ClassInfo() {
  using E = TAsgUnitEditBtn;
  static const TClassInfo info = TClassInfo::Of<E, TAsgEditBtn>("TAsgUnitEditBtn")
                                     .Prop("Units", &E::GetUnits, &E::SetUnits)
                                     .Prop("UnitID", &E::GetUnitID, &E::SetUnitID)
                                     .Prop("UnitSpace", &E::GetUnitSpace, &E::SetUnitSpace)
                                     .Default(20);
  return info;
}

TAsgUnitEditBtn::TAsgUnitEditBtn(TComponent* AOwner)
    : TAsgEditBtn(AOwner), units_(std::make_unique<TStringList>()) {
  unitSpace_ = 20;
  SetRightAlign(true);
}

TAsgUnitEditBtn::~TAsgUnitEditBtn() = default;

void TAsgUnitEditBtn::SetUnits(TStrings* Value) {
  if (Value) units_->Assign(Value);
}

void TAsgUnitEditBtn::SetUnitID(const AnsiString& Value) {
  unitID_ = Value;
  Invalidate();
}

void TAsgUnitEditBtn::SetUnitSpace(int32_t Value) {
  unitSpace_ = Value;
  SetEditRect();
  Invalidate();
}

void TAsgUnitEditBtn::PaintWindow(HDC DC) {
  TAsgEditBtn::PaintWindow(DC);
  if (unitSpace_ <= 0 || unitID_.empty()) return;
  const int32_t right = GetClientWidth() - GetButtonWidth() - 3;
  RECT r{right - unitSpace_, 2, right, GetClientHeight()};
  HGDIOBJ old = SelectObject(DC, GetFont()->GetHandle());
  SetTextColor(DC, COLORREF(ColorToRGB(GetFont()->GetColor())));
  const int mode = SetBkMode(DC, TRANSPARENT);
  DrawTextA(DC, unitID_.c_str(), int(unitID_.size()), &r, DT_LEFT | DT_EDITCONTROL);
  SetBkMode(DC, mode);
  SelectObject(DC, old);
}

void TAsgUnitEditBtn::ClickButton(TObject*) {
  HMENU menu = CreatePopupMenu();
  for (int32_t i = 0; i < units_->Count(); ++i)
    AppendMenu(menu, MF_STRING, UINT_PTR(i + 1), units_->Strings(i).c_str());
  const TPoint origin = GetClientOrigin();
  TrackPopupMenu(menu, TPM_LEFTBUTTON, origin.X + GetClientWidth() - 15, origin.Y + GetClientHeight(), 0,
                 Handle(), nullptr);
  DestroyMenu(menu);
}

void TAsgUnitEditBtn::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_COMMAND && Message.LParam == 0 && HIWORD(Message.WParam) == 0) {
    // An identifier outside the list (a stale or foreign command) changes nothing.
    const int32_t n = LOWORD(Message.WParam);
    if (n >= 1 && n <= units_->Count()) SetUnitID(units_->Strings(n - 1));
    return;
  }
  TAsgEditBtn::Dispatch(Message);
}
