// The grid library's flat combo box.
#include "grid/asgcombo.h"

#include "platform/os/gdi/VisualStyles.h"

// ============================================================================ flat look =======

TFlatComboLook::TFlatComboLook(TCustomComboBox* Combo)
    : combo_(Combo), buttonWidth_(GetSystemMetrics(SM_CXVSCROLL) + 4) {}

void TFlatComboLook::SetFlat(bool Value) {
  flat_ = Value;
  combo_->SetCtl3D(!Value);
  combo_->Invalidate();
}

void TFlatComboLook::SetButtonWidth(int32_t Value) {
  if (Value < 14 || Value > 32) return;
  buttonWidth_ = Value;
  combo_->Invalidate();
}

void TFlatComboLook::SetDropWidth(int32_t Value) {
  dropWidth_ = Value;
  if (Value > 0) combo_->Perform(CB_SETDROPPEDWIDTH, WPARAM(Value), 0);
}

bool TFlatComboLook::Active() {
  if (combo_->ComponentState().Contains(csDesigning)) return combo_->GetEnabled();
  return mouseInside_ || combo_->Focused();
}

void TFlatComboLook::Message(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      if (!mouseInside_ && combo_->GetEnabled()) {
        mouseInside_ = true;
        if (AutoFocus && combo_->CanFocus()) combo_->SetFocus();
        combo_->Invalidate();
      }
      break;
    case CM_MOUSELEAVE:
      if (mouseInside_ && combo_->GetEnabled()) {
        mouseInside_ = false;
        combo_->Invalidate();
      }
      break;
    case CM_ENTER:
    case CM_EXIT:
    case WM_NCPAINT:
      combo_->Invalidate();
      break;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == CBN_DROPDOWN || HIWORD(Message.WParam) == CBN_CLOSEUP)
        combo_->Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      if (!flat_) break;
      // A disabled flat combo shows its parent's colour; enabled again it gets its own back.
      if (!combo_->GetEnabled()) {
        savedColor_ = combo_->GetColor();
        savedParentColor_ = combo_->GetParentColor();
        combo_->SetParentColor(true);
      } else {
        combo_->SetColor(savedColor_);
        combo_->SetParentColor(savedParentColor_);
      }
      break;
    default:
      break;
  }
}

void TFlatComboLook::Paint() {
  if (!flat_ || !combo_->HandleAllocated()) return;
  HDC dc = combo_->GetCanvas()->GetHandle();
  const int saved = SaveDC(dc);
  if (combo_->GetStyle() != csSimple) DrawButton(dc);
  DrawBorder(dc);
  if (combo_->GetStyle() != csSimple) DrawButtonBorder(dc);
  RestoreDC(dc, saved);
}

void TFlatComboLook::DrawButton(HDC DC) {
  const int32_t cw = combo_->GetClientWidth(), ch = combo_->GetClientHeight();
  RECT r{cw - buttonWidth_ + 1, 1, cw - 1, ch - 1};
  HTHEME theme = IsWinXP ? OpenThemeData(combo_->Handle(), u"combobox") : nullptr;
  if (theme) {
    const bool held =
        (uint16_t(GetKeyState(VK_LBUTTON)) & 0x8000) || (uint16_t(GetKeyState(VK_RBUTTON)) & 0x8000);
    DrawThemeBackground(theme, DC, 1, held ? 3 : 1, &r, nullptr);
    CloseThemeData(theme);
  } else {
    DrawFrameControl(DC, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
  }
}

void TFlatComboLook::DrawBorder(HDC DC) {
  const bool focusBorder =
      FocusBorder && !combo_->ComponentState().Contains(csDesigning) && (mouseInside_ || combo_->Focused());
  TWinControl* parent = combo_->GetParent();
  const TColor outer = focusBorder ? clBtnFace : parent ? parent->GetBrush()->GetColor() : clBtnFace;
  RECT r{0, 0, combo_->GetClientWidth(), combo_->GetClientHeight()};
  auto frame = [DC, &r](TColor c) {
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(c)));
    FrameRect(DC, &r, b);
    DeleteObject(b);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  };
  if (focusBorder)
    DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  else
    frame(outer);
  frame(outer);
  frame(combo_->GetColor());
}

void TFlatComboLook::DrawButtonBorder(HDC DC) {
  const int32_t cw = combo_->GetClientWidth(), ch = combo_->GetClientHeight();
  ExcludeClipRect(DC, cw - buttonWidth_ + 4, 4, cw - 4, ch - 4);
  RECT r{cw - buttonWidth_ - 2 + 2, 2, cw - 2, ch - 2};
  if (Active()) {
    DrawEdge(DC, &r, Etched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (combo_->GetDroppedDown() ? BF_FLAT : 0));
  } else {
    RECT f{r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1};
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(clBtnFace)));
    FillRect(DC, &f, b);
    DeleteObject(b);
  }
  ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
}

// ============================================================================ combo box =======

const TClassInfo& TASGCustomCombo::ClassInfo() {
  using C = TASGCustomCombo;
  static const TClassInfo info = TClassInfo::Of<C, TCustomComboBox>("TASGCustomCombo")
                                     .Prop("Flat", &C::GetFlat, &C::SetFlat)
                                     .Default(true)
                                     .Prop("Etched", &C::GetEtched, &C::SetEtched)
                                     .Default(false)
                                     .Prop("ButtonWidth", &C::GetButtonWidth, &C::SetButtonWidth)
                                     .Prop("FocusBorder", &C::GetFocusBorder, &C::SetFocusBorder)
                                     .Default(false)
                                     .Prop("AutoFocus", &C::GetAutoFocus, &C::SetAutoFocus)
                                     .Default(false)
                                     .Prop("DropWidth", &C::GetDropWidth, &C::SetDropWidth)
                                     .Default(0);
  return info;
}

const TClassInfo& TASGComboBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TASGComboBox, TASGCustomCombo>("TASGComboBox");
  return info;
}
