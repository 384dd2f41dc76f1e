// The advanced grid's editor controls: the wrappers placed over a cell for the editor types other
// than text, and the grid's showing and taking down of them (part of the AdvGrid unit).
//
// Sections: shared steps / grid: editor controls / spin / edit buttons / wide edit / combo boxes /
// check box, date picker and button / markup controls / module routines.
#include <algorithm>
#include <utility>

#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"
#include "platform/os/gdi/VisualStyles.h"
#include "platform/runtime/NumText.h"

// ============================================================================ shared steps ====

namespace {
bool IsWriteKey(WORD K) { return K == VK_TAB || K == VK_RETURN || K == VK_UP || K == VK_DOWN; }
bool TabsOn(TAdvStringGrid* g) { return g->GetOptions().Contains(goTabs); }
// The last steps of the key protocol: Tab with goTabs steps to the next cell, every other
// handled key is handed back to the grid.
void LeaveEditor(TAdvStringGrid* g, WORD Key, TShiftState Shift) {
  if (Key == VK_TAB && TabsOn(g)) {
    g->HideInplaceEdit();
    if (g->CanFocus()) g->SetFocus();
    g->TabStep(Shift.Contains(ssShift));
  } else {
    g->EditorKeyExit(Key, Shift);
  }
}
// An edit shows the cell's text again after a refused value, the caret at its end.
void ShowCellAgain(TCustomEdit* e, const AnsiString& Text) {
  e->SetText(Text);
  e->SetSelStart(int32_t(Text.size()));
  e->Invalidate();
}
// Tab is claimed when the grid steps with it.
bool ClaimTab(TAdvStringGrid* g, TMessage& Message) {
  if (Message.Msg != CM_WANTSPECIALKEY || Message.WParam != VK_TAB || !TabsOn(g)) return false;
  Message.Result = 1;
  return true;
}
// The date, time and integer of a cell text, or the fallback.
TDateTime CellDate(const AnsiString& S) {
  TDateTime d = 0;
  return !S.empty() && TryStrToDate(S, d) ? d : Now();
}
TDateTime CellTime(const AnsiString& S) {
  TDateTime t = 0;
  return !S.empty() && TryStrToTime(S, t) ? t : Now();
}
}  // namespace

TAdvStringGrid* WrapperGrid(TComponent* AOwner) {
  auto* g = dynamic_cast<TAdvStringGrid*>(AOwner);
  if (!g) throw EInvalidCast("Invalid class typecast");
  return g;
}

bool FilterNumberChar(bool Float, char& Key, const AnsiString& Text, int32_t SelStart, int32_t SelLen) {
  const bool control = Key == '\b' || Key == '\t' || Key == '\r' || Key == 0x1B;
  if (control || (Key >= '0' && Key <= '9')) return true;
  const AnsiString selected = Text.substr(size_t(std::max(0, SelStart)), size_t(std::max(0, SelLen)));
  if (!Float) {
    if (Key == '-' && SelStart == 0 && Text.find('-') == AnsiString::npos) return true;
    MessageBeep(0);
    Key = 0;
    return false;
  }
  if (Key != ',' && Key != '-' && Key != '.') {
    Key = 0;
    return false;
  }
  if (Key == FormatSettings.DecimalSeparator) {
    const AnsiString outside =
        Text.substr(0, size_t(std::max(0, SelStart))) +
        (size_t(SelStart + SelLen) < Text.size() ? Text.substr(size_t(SelStart + SelLen)) : "");
    if (outside.find(Key) != AnsiString::npos) Key = 0;
    return Key != 0;
  }
  if (Key == FormatSettings.ThousandSeparator) {
    Key = 0;
    return false;
  }
  if (Key == '-') {
    if (SelStart == 0 && (Text.find('-') == AnsiString::npos || selected.find('-') != AnsiString::npos))
      return true;
    MessageBeep(0);
  }
  Key = 0;
  return false;
}

// ============================================================================ grid: editor controls

void TAdvStringGrid::CreateEditorControls() {
  if (ComponentState().Contains(csDesigning)) return;
  auto place = [this](TWinControl* c) {
    c->SetVisible(false);
    c->SetEnabled(false);
    c->SetParent(this);
  };
  const bool styles = IsThemeActive() != FALSE;
  gridCombo_ = new TGridCombo(this);
  gridCombo_->SetIsWinXP(styles);
  place(gridCombo_);
  gridSpin_ = new TGridSpin(this);
  gridSpin_->SetBorderStyle(bsNone);
  gridSpin_->SetIsWinXP(styles);
  place(gridSpin_);
  gridUniEdit_ = new TGridUniEdit(this);
  gridUniEdit_->SetBorderStyle(bsNone);
  place(gridUniEdit_);
  gridUniCombo_ = new TGridUniCombo(this);
  place(gridUniCombo_);
  // The date and time pickers came with version 4.70 of the common controls.
  if (GetDllVersion("comctl32.dll") > 0x00040045) {
    gridDatePicker_ = new TGridDatePicker(this);
    place(gridDatePicker_);
  }
  gridCheckBox_ = new TGridCheckBox(this);
  place(gridCheckBox_);
  gridEditBtn_ = new TGridEditBtn(this);
  gridEditBtn_->SetButtonCaption("...");
  gridEditBtn_->SetBorderStyle(bsNone);
  gridEditBtn_->SetIsWinXP(styles);
  place(gridEditBtn_);
  gridUnitEditBtn_ = new TGridUnitEditBtn(this);
  gridUnitEditBtn_->SetButtonCaption("...");
  gridUnitEditBtn_->SetBorderStyle(bsNone);
  place(gridUnitEditBtn_);
  gridButton_ = new TGridButton(this);
  place(gridButton_);
  // Parented only while a markup control is edited.
  controlEdit_ = new TControlEdit(this);
  controlEdit_->SetVisible(false);
  controlEdit_->SetBorderStyle(bsNone);
  controlEdit_->OnExit = TNotifyEvent(this, &TAdvStringGrid::ControlExit);
  controlCombo_ = new TControlCombo(this);
  controlCombo_->SetVisible(false);
  controlCombo_->OnExit = TNotifyEvent(this, &TAdvStringGrid::ControlExit);
}

void TAdvStringGrid::EditCellControl(int32_t ACol, int32_t ARow, const TMarkupHit& Hit) {
  const AnsiString type = UpperCase(Hit.CtrlType);
  TWinControl* c = type == "EDIT"    ? static_cast<TWinControl*>(controlEdit_)
                   : type == "COMBO" ? static_cast<TWinControl*>(controlCombo_)
                                     : nullptr;
  if (!c) return;
  ctrlCell_ = {ACol, ARow};
  ctrlID_ = Hit.CtrlID;
  ctrlType_ = type;
  const TRect& r = Hit.CtrlRect;
  c->SetParent(this);
  int32_t height = r.Height() - 4;
  if (c == controlCombo_) {
    TStringList values;
    bool edit = true;
    int32_t dropCount = 8;
    OnControlComboList(this, ARow, ACol, Hit.CtrlID, type, Hit.CtrlVal, &values, edit, dropCount);
    controlCombo_->SetStyle(edit ? csDropDown : csDropDownList);
    controlCombo_->GetItems()->Assign(&values);
    controlCombo_->SetItemIndex(values.IndexOf(Hit.CtrlVal));
    controlCombo_->SetText(Hit.CtrlVal);
    controlCombo_->SetDropDownCount(dropCount);
    height = controlCombo_->GetItemHeight() * (dropCount + 2);
  } else {
    controlEdit_->SetText(Hit.CtrlVal);
  }
  c->SetBounds(r.Left + 3, r.Top + 5, r.Width() - 4, height);
  c->SetVisible(true);
  c->BringToFront();
  if (c == controlCombo_) controlCombo_->SetDroppedDown(true);
  if (c->CanFocus()) c->SetFocus();
}

void TAdvStringGrid::ControlEditDone() {
  if (ctrlType_.empty()) return;
  // Cleared first: hiding the focused control leaves it, which comes back here.
  const AnsiString type = std::exchange(ctrlType_, AnsiString());
  TWinControl* c = type == "EDIT" ? static_cast<TWinControl*>(controlEdit_) : controlCombo_;
  const AnsiString value = c->GetText();
  SetCellControlValue(ctrlCell_.X, ctrlCell_.Y, ctrlID_, value);
  if (c == controlCombo_) controlCombo_->SetDroppedDown(false);
  const bool hadFocus = c->Focused();
  c->SetVisible(false);
  if (hadFocus && CanFocus()) SetFocus();
  OnControlEditDone(this, ctrlCell_.Y, ctrlCell_.X, ctrlID_, type, value);
}

bool TAdvStringGrid::WriteEditorText(const AnsiString& Text) {
  SetCurrentCell(Text);
  return ValidateCell(Text);
}

void TAdvStringGrid::PlaceEditorControl(TWinControl* Control, TRect R, TColor Color, bool PostStart) {
  editing_ = true;
  Control->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  Control->SetColor(Color);
  Control->SetEnabled(true);
  Control->SetVisible(true);
  activeEditorControl_ = Control;
  editorControlActive_ = true;
  if (Control->CanFocus()) Control->SetFocus();
  if (PostStart && startChar_ && Control->HandleAllocated()) {
    HWND target = Control->Handle();
    if (auto* combo = dynamic_cast<TCustomComboBox*>(Control))
      if (combo->EditControl() && combo->EditControl()->HandleAllocated())
        target = combo->EditControl()->Handle();
    PostMessageA(target, WM_CHAR, WPARAM(uint8_t(startChar_)), 0);
  }
}

void TAdvStringGrid::ShowBuiltInEditor(int32_t ACol, int32_t ARow) {
  pending_ = true;
  editing_ = true;
  const int32_t dc = DataColToDisplCol(ACol);
  BeginCellEdit(dc, ARow);
  const TRect rect = MergedCellRect(dc, ARow);
  const int32_t W = rect.Width() - 1, H = rect.Height() - 1;
  const TRect r{rect.Left, rect.Top, rect.Left + W, rect.Top + H};
  TBrush brush;
  TFont font;
  GetEditorCellColors(dc, ARow, brush, font);
  const TColor color = brush.GetColor();
  SetGridState(gsNormal);
  const AnsiString text = GetEditText(dc, ARow);
  const bool softLook = look_ == glSoft || look_ == glZKV;
  TWinControl* shown = nullptr;
  switch (editorType_) {
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: {
      TGridSpin* s = gridSpin_;
      if (s->HandleAllocated()) s->RecreateWnd();
      s->SetText(text);
      if (editorType_ == edSpinEdit) {
        // A text that is no integer reads as the lower bound, as the spin edit's Value does.
        s->SetSpinType(sptNormal);
      } else if (editorType_ == edFloatSpinEdit) {
        double v = 0;
        s->SetText(TryStrToFloat(ExtractNumber(text), v) ? FloatToStr(v) : text);
        s->SetSpinType(sptFloat);
      } else if (editorType_ == edTimeSpinEdit) {
        s->SetSpinType(sptTime);
        s->SetText(text);
      } else {
        s->SetSpinType(sptDate);
        s->SetDateValue(CellDate(text));
      }
      PlaceEditorControl(s, r, color, true);
      shown = s;
      break;
    }
    case edComboEdit:
    case edComboList: {
      TGridCombo* c = gridCombo_;
      c->SetBounds(r.Left, r.Top, 0, 0);
      c->SetDroppedDown(false);
      c->SetEnabled(true);
      if (editorType_ == edComboEdit) {
        c->SetStyle(csDropDown);
        c->Perform(CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(H - 6));
        c->SetText(text);
      } else {
        c->SetStyle(csDropDownList);
        const int32_t i = c->GetItems()->IndexOf(text);
        c->SetItemIndex(i >= 0 ? i : (c->GetItems()->Count() > 0 ? 0 : -1));
      }
      c->HookEdit();
      c->SetFlat(softLook);
      c->SetEtched(softLook);
      if (navigation_->AutoComboDropSize) c->SizeDropDown();
      PlaceEditorControl(
          c, TRect{r.Left, r.Top, r.Left + W, r.Top + c->GetItemHeight() * (c->GetDropDownCount() + 1) + H},
          color, true);
      if (mouseActions_->DirectComboDrop) c->SetDroppedDown(true);
      shown = c;
      break;
    }
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn: {
      TGridEditBtn* e = gridEditBtn_;
      if (e->HandleAllocated()) e->RecreateWnd();
      e->SetText(text);
      e->SetMaxLength(maxEditLength_);
      PlaceEditorControl(e, r, color, true);
      shown = e;
      break;
    }
    case edUnitEditBtn: {
      TGridUnitEditBtn* e = gridUnitEditBtn_;
      if (e->HandleAllocated()) e->RecreateWnd();
      e->SetMaxLength(maxEditLength_);
      e->LoadCellText(text);
      PlaceEditorControl(e, r, color, true);
      shown = e;
      break;
    }
    case edCheckBox:
      if (gridCheckBox_->HandleAllocated()) gridCheckBox_->RecreateWnd();
      gridCheckBox_->SetCaption(text);
      gridCheckBox_->SetChecked(false);
      PlaceEditorControl(gridCheckBox_, r, color, false);
      shown = gridCheckBox_;
      break;
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit: {
      TGridDatePicker* p = gridDatePicker_;
      if (!p) break;
      TRect pr = r;
      if (editorType_ == edTimeEdit) {
        p->SetKind(dtkTime);
        p->SetTime(CellTime(text));
      } else {
        p->SetKind(dtkDate);
        p->SetDateMode(editorType_ == edDateEditUpDown ? dmUpDown : dmComboBox);
        p->SetDate(CellDate(text));
        if (p->Height() < pr.Height()) pr.Bottom = pr.Top + p->Height();
      }
      PlaceEditorControl(p, pr, color, false);
      shown = p;
      break;
    }
    case edButton:
      gridButton_->SetCaption(text);
      PlaceEditorControl(gridButton_, TRect{rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1},
                         color, false);
      shown = gridButton_;
      break;
    case edRichEdit: {
      TAdvRichEdit* e = richEditor_;
      if (e->HandleAllocated()) e->RecreateWnd();
      e->SetBorderStyle(bsNone);
      e->SetHideSelection(false);
      CellToRichEdit(ACol, ARow, e);
      PlaceEditorControl(e, r, color, true);
      e->SetFormatInset(2);
      e->SetSelStart(int32_t(e->GetText().size()));
      shown = e;
      break;
    }
    case edUniEdit: {
      TGridUniEdit* e = gridUniEdit_;
      const TRect ur{rect.Left + textMargin_.X + 2, rect.Top + textMargin_.Y + 2,
                     rect.Left + W - textMargin_.X, rect.Top + H - textMargin_.Y};
      e->SetFont(GetFont());
      e->SetWideText(GetWideCell(ACol, ARow));
      PlaceEditorControl(e, ur, color, true);
      shown = e;
      break;
    }
    case edUniComboEdit:
    case edUniComboList: {
      TGridUniCombo* c = gridUniCombo_;
      c->SetBounds(r.Left, r.Top, 0, 0);
      c->SetDroppedDown(false);
      const WideString wide = GetWideCell(ACol, ARow);
      if (editorType_ == edUniComboEdit) {
        c->SetStyle(csDropDown);
        c->SetWideText(wide);
      } else {
        c->SetStyle(csDropDownList);
        int32_t i = c->GetWideItems()->IndexOf(wide);
        if (i < 0) i = c->GetWideItems()->Count() > 0 ? 0 : -1;
        // The single-byte images of wide items may repeat: the wide text first, then the index.
        if (i >= 0) c->SetWideText(c->GetWideItems()->Get(i));
        c->SetItemIndex(i);
      }
      c->SetFlat(softLook);
      c->SetEtched(softLook);
      PlaceEditorControl(c, TRect{r.Left, r.Top, r.Left + W, r.Top + H}, color, true);
      if (mouseActions_->DirectComboDrop) c->SetDroppedDown(true);
      shown = c;
      break;
    }
    default:
      break;
  }
  if (!shown) {
    // No control for the type (a date picker the library lacks): nothing is edited.
    editing_ = false;
    pending_ = false;
  }
  startChar_ = 0;
}

void TAdvStringGrid::HideBuiltInEditor(int32_t ACol, int32_t ARow) {
  if (!editorControlActive_) return;
  const int32_t c = DisplColToDataCol(ACol);
  TWinControl* control = activeEditorControl_;
  switch (editorType_) {
    case edSpinEdit:
    case edTimeSpinEdit:
      CommitEditorValue(c, ARow, gridSpin_->GetText());
      break;
    case edFloatSpinEdit:
      SetFloats(c, ARow, gridSpin_->GetFloatValue());
      break;
    case edDateSpinEdit:
      SetDates(c, ARow, gridSpin_->GetDateValue());
      break;
    case edComboEdit:
    case edComboList:
      if (editing_) CommitEditorValue(c, ARow, gridCombo_->GetText());
      break;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
      CommitEditorValue(c, ARow, gridEditBtn_->GetText());
      break;
    case edUnitEditBtn:
      CommitEditorValue(c, ARow, gridUnitEditBtn_->GetText() + gridUnitEditBtn_->GetUnitID());
      break;
    case edDateEdit:
    case edDateEditUpDown:
      if (gridDatePicker_)
        CommitEditorValue(c, ARow,
                          gridDatePicker_->GetChecked() ? DateToStr(gridDatePicker_->GetDate()) : "");
      break;
    case edTimeEdit:
      if (gridDatePicker_) CommitEditorValue(c, ARow, TimeToStr(gridDatePicker_->GetTime()));
      break;
    case edRichEdit:
      CommitEditorValue(c, ARow, RichEditToString(richEditor_));
      break;
    case edUniEdit:
      SetWideCell(c, ARow, gridUniEdit_->GetWideText());
      break;
    case edUniComboEdit:
    case edUniComboList:
      SetWideCell(c, ARow, gridUniCombo_->GetWideText());
      break;
    default:
      break;
  }
  // Taking the control down moves the focus; its exit must not end the editing a second time.
  editorControlActive_ = false;
  editing_ = false;
  pending_ = false;
  if (control) {
    const HWND focus = ::GetFocus();
    const bool focused = control->HandleAllocated() && focus &&
                         (focus == control->Handle() || IsChild(control->Handle(), focus));
    if (focused && CanFocus()) SetFocus();
    control->SetEnabled(false);
    control->SetVisible(false);
  }
  activeEditorControl_ = nullptr;
}

// ============================================================================ spin ============

const TClassInfo& TGridSpin::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridSpin, TAsgSpinEdit>("TGridSpin");
  return info;
}

TGridSpin::TGridSpin(TComponent* AOwner) : TAsgSpinEdit(AOwner), grid_(WrapperGrid(AOwner)) {
  MaxValue = 100;
  MinValue = 0;
  Increment = 1;
}

void TGridSpin::DoSpinClick(bool Up) {
  TAdvStringGrid* g = grid_;
  switch (GetSpinType()) {
    case sptNormal:
      g->OnSpinClick(g, g->GetCol(), g->GetRow(), GetValue(), Up);
      break;
    case sptFloat:
      g->OnFloatSpinClick(g, g->GetCol(), g->GetRow(), GetFloatValue(), Up);
      break;
    case sptDate:
      g->OnDateSpinClick(g, g->GetCol(), g->GetRow(), GetDateValue(), Up);
      break;
    case sptTime:
      g->OnTimeSpinClick(g, g->GetCol(), g->GetRow(), GetTimeValue(), Up);
      break;
  }
}

void TGridSpin::UpClick(TObject* Sender) {
  TAsgSpinEdit::UpClick(Sender);
  DoSpinClick(true);
}

void TGridSpin::DownClick(TObject* Sender) {
  TAsgSpinEdit::DownClick(Sender);
  DoSpinClick(false);
}

void TGridSpin::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME) {
    const bool flt = GetSpinType() == sptFloat;
    if (GetSpinType() == sptNormal || flt) {
      if (Key == VK_PRIOR) {
        if (flt ? GetFloatValue() + IncrementFloat <= MaxFloatValue : GetValue() + Increment <= MaxValue)
          flt ? SetFloatValue(GetFloatValue() + IncrementFloat) : SetValue(GetValue() + Increment);
      } else if (Key == VK_NEXT) {
        if (flt ? GetFloatValue() - IncrementFloat >= MinFloatValue : GetValue() - Increment >= MinValue)
          flt ? SetFloatValue(GetFloatValue() - IncrementFloat) : SetValue(GetValue() - Increment);
      } else if (Key == VK_END) {
        flt ? SetFloatValue(MinFloatValue) : SetValue(MinValue);
      } else {
        flt ? SetFloatValue(MaxFloatValue) : SetValue(MaxValue);
      }
    }
    g->OnSpinClick(g, g->GetCol(), g->GetRow(), GetValue(), Key == VK_PRIOR || Key == VK_HOME);
  }
  if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_UP && Key != VK_DOWN)
    return TAsgSpinEdit::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) SetText(g->GetCurrentCell());
  if (IsWriteKey(Key) && !g->WriteEditorText(GetText())) {
    ShowCellAgain(this, g->GetCurrentCell());
    Key = 0;
    return;
  }
  const WORD key = Key;
  Key = 0;
  LeaveEditor(g, key, Shift);
}

void TGridSpin::KeyPress(char& Key) {
  // Enter ends the editing: the spin edit must not reject it with a beep.
  if (Key == '\r') return;
  TAsgSpinEdit::KeyPress(Key);
}

void TGridSpin::DoExit() {
  grid_->HideInplaceEdit();
  TAsgSpinEdit::DoExit();
}

void TGridSpin::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (Message.Msg == WM_CHAR && (Message.WParam == '\t' || Message.WParam == '\r')) return;
  TAsgSpinEdit::Dispatch(Message);
}

// ============================================================================ edit buttons ====

const TClassInfo& TGridEditBtn::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridEditBtn, TAsgEditBtn>("TGridEditBtn");
  return info;
}

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), grid_(WrapperGrid(AOwner)) {
  OnClickBtn = TNotifyEvent(this, &TGridEditBtn::ButtonClicked);
}

void TGridEditBtn::ButtonClicked(TObject*) {
  SetText(grid_->EllipsClick(GetText()));
  SelectAll();
  Invalidate();
}

namespace {
bool IsEditBtnKey(WORD K) {
  return K == VK_TAB || K == VK_RETURN || K == VK_ESCAPE || K == VK_PRIOR || K == VK_NEXT || K == VK_UP ||
         K == VK_DOWN;
}
}  // namespace

void TGridEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  if (Shift.Contains(ssCtrl) || !IsEditBtnKey(Key)) return TAsgEditBtn::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) SetText(g->GetCurrentCell());
  if (IsWriteKey(Key)) {
    if (!g->WriteEditorText(GetText())) {
      ShowCellAgain(this, g->GetCurrentCell());
      Key = 0;
      return;
    }
    SetText(g->GetCurrentCell());
  }
  const WORD key = Key;
  Key = 0;
  LeaveEditor(g, key, Shift);
}

void TGridEditBtn::DoExit() {
  grid_->HideInplaceEdit();
  TAsgEditBtn::DoExit();
}

void TGridEditBtn::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (Message.Msg == WM_CHAR) {
    char key = char(uint8_t(Message.WParam));
    if (key == '\r') return;
    const TEditorType kind = grid_->CurrentEditorType();
    if (kind == edNumericEditBtn || kind == edFloatEditBtn) {
      if (!FilterNumberChar(kind == edFloatEditBtn, key, GetText(), GetSelStart(), GetSelLength())) return;
    }
  }
  TAsgEditBtn::Dispatch(Message);
}

const TClassInfo& TGridUnitEditBtn::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridUnitEditBtn, TAsgUnitEditBtn>("TGridUnitEditBtn");
  return info;
}

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner)
    : TAsgUnitEditBtn(AOwner), grid_(WrapperGrid(AOwner)) {}

void TGridUnitEditBtn::LoadCellText(const AnsiString& S) {
  AnsiString value, unit;
  for (char c : S) ((c >= '0' && c <= '9') || c == ',' || c == '-' || c == '.' ? value : unit) += c;
  SetText(value);
  SetUnitID(unit);
}

void TGridUnitEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  if (!IsEditBtnKey(Key)) return TAsgUnitEditBtn::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) LoadCellText(g->GetCurrentCell());
  if (IsWriteKey(Key)) {
    // The cell holds the value with its unit.
    if (!g->WriteEditorText(GetText() + GetUnitID())) {
      const int32_t caret = GetSelStart();
      LoadCellText(g->GetCurrentCell());
      SetSelStart(caret);
      Invalidate();
      Key = 0;
      return;
    }
    LoadCellText(g->GetCurrentCell());
  }
  const WORD key = Key;
  Key = 0;
  LeaveEditor(g, key, Shift);
}

void TGridUnitEditBtn::DoExit() {
  grid_->HideInplaceEdit();
  TAsgUnitEditBtn::DoExit();
}

void TGridUnitEditBtn::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (Message.Msg == WM_CHAR && Message.WParam == '\r') return;
  TAsgUnitEditBtn::Dispatch(Message);
}

// ============================================================================ wide edit =======

const TClassInfo& TGridUniEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridUniEdit, TAsgUniEdit>("TGridUniEdit");
  return info;
}

TGridUniEdit::TGridUniEdit(TComponent* AOwner) : TAsgUniEdit(AOwner), grid_(WrapperGrid(AOwner)) {}

void TGridUniEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_UP && Key != VK_DOWN)
    return TAsgUniEdit::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) SetWideText(g->GetWideCell(g->GetDataCol(), g->GetRow()));
  if (IsWriteKey(Key) && !g->WriteEditorText(WideToAnsi(GetWideText()))) {
    SetWideText(g->GetWideCell(g->GetDataCol(), g->GetRow()));
    SetSelStart(int32_t(GetWideText().size()));
    Invalidate();
    Key = 0;
    return;
  }
  const WORD key = Key;
  Key = 0;
  LeaveEditor(g, key, Shift);
}

void TGridUniEdit::KeyPress(char& Key) {
  if (Key == '\r') return;
  TAsgUniEdit::KeyPress(Key);
}

void TGridUniEdit::DoExit() {
  grid_->HideInplaceEdit();
  TAsgUniEdit::DoExit();
}

void TGridUniEdit::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (Message.Msg == WM_CHAR && (Message.WParam == '\t' || Message.WParam == '\r')) return;
  TAsgUniEdit::Dispatch(Message);
}

// ============================================================================ combo boxes =====

namespace {
// The keys a grid combo handles: in the closed edit style, and in the list style or dropped down.
bool IsComboKey(WORD K, bool ListOrDropped) {
  if (K == VK_TAB || K == VK_RETURN || K == VK_ESCAPE) return true;
  if (ListOrDropped) return K == VK_LEFT || K == VK_RIGHT;
  return K == VK_PRIOR || K == VK_NEXT || K == VK_END || K == VK_UP || K == VK_DOWN;
}
// The wheel moves the selected item one step; the grid hears of the change.
bool ComboWheel(TCustomComboBox* Combo, TAdvStringGrid* g, TMessage& Message) {
  if (Message.Msg != WM_MOUSEWHEEL) return false;
  const auto delta = int16_t(HIWORD(Message.WParam));
  int32_t i = Combo->GetItemIndex();
  if (delta < 0 && i < Combo->GetItems()->Count() - 1) ++i;
  if (delta > 0 && i > 0) --i;
  Combo->SetItemIndex(i);
  const AnsiString sel = i >= 0 ? Combo->GetItems()->Strings(i) : AnsiString();
  g->OnComboChange(Combo, g->GetCol(), g->GetRow(), i, sel);
  g->OnComboObjectChange(Combo, g->GetCol(), g->GetRow(), i, sel,
                         i >= 0 ? Combo->GetItems()->Objects(i) : nullptr);
  Message.Result = 0;
  return true;
}
}  // namespace

const TClassInfo& TGridCombo::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridCombo, TASGComboBox>("TGridCombo");
  return info;
}

TGridCombo::TGridCombo(TComponent* AOwner) : TASGComboBox(AOwner), grid_(WrapperGrid(AOwner)) {
  SetButtonWidth(16);
}

void TGridCombo::HookEdit() {
  TCustomEdit* e = EditControl();
  if (!e || e == hookedEdit_) return;
  hookedEdit_ = e;
  e->OnKeyUp = TKeyEvent(this, &TGridCombo::EditKeyUp);
  // The edit part has the focus: it claims Tab for the grid as the combo does.
  editProc_ = e->WindowProc;
  e->WindowProc = TWndMethod(this, &TGridCombo::EditWndProc);
}

void TGridCombo::EditWndProc(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  editProc_(Message);
}

void TGridCombo::EditKeyUp(TObject*, WORD& Key, TShiftState Shift) { KeyUp(Key, Shift); }

void TGridCombo::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  const bool listOrDropped = GetStyle() == csDropDownList || GetDroppedDown();
  lookupEnabled_ = Key != VK_BACK && Key != VK_DELETE;
  if (!listOrDropped && Key == VK_DOWN && Shift.Contains(ssAlt)) return TASGComboBox::KeyDown(Key, Shift);
  if (!IsComboKey(Key, listOrDropped)) return TASGComboBox::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) {
    const AnsiString cell = g->GetCurrentCell();
    SetText(cell);
    const int32_t i = GetItems()->IndexOf(cell);
    if (i >= 0) SetItemIndex(i);
  }
  if (IsWriteKey(Key)) {
    if (!g->WriteEditorText(GetText())) {
      SetText(g->GetCurrentCell());
      SetSelStart(int32_t(GetText().size()));
      Invalidate();
      Key = 0;
      return;
    }
    SetText(g->GetCurrentCell());
  }
  if (Key == VK_TAB && TabsOn(g)) {
    Key = 0;
    return LeaveEditor(g, VK_TAB, Shift);
  }
  WORD key = Key;
  if (listOrDropped) {
    g->HideInplaceEdit();
    if (key == VK_LEFT || key == VK_RIGHT) g->KeyDown(key, Shift);
  }
  g->EditorKeyExit(key, Shift);
  Key = 0;
  TASGComboBox::KeyDown(Key, Shift);
}

void TGridCombo::KeyPress(char& Key) {
  if (Key == '\t' || Key == '\r') Key = 0;
  TASGComboBox::KeyPress(Key);
}

void TGridCombo::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key != VK_RETURN) TASGComboBox::KeyUp(Key, Shift);
  DoLookup();
}

void TGridCombo::DoLookup() {
  TAdvStringGrid* g = grid_;
  if (!lookupEnabled_ || !g->Lookup) return;
  const AnsiString text = GetText();
  const AnsiString typed =
      text.substr(0, size_t(std::clamp<int32_t>(GetSelStart(), 0, int32_t(text.size()))));
  if (typed.empty()) return;
  const bool cs = g->LookupCaseSensitive;
  const AnsiString key = cs ? typed : UpperCase(typed);
  for (int32_t i = 0; i < GetItems()->Count(); ++i) {
    const AnsiString item = GetItems()->Strings(i);
    const AnsiString start = item.substr(0, key.size());
    if ((cs ? start : UpperCase(start)) != key) continue;
    const AnsiString completed = (typed + item.substr(key.size())).substr(0, 255);
    SetText(completed);
    // The item is selected without its text replacing the completed one.
    ListControl()->SetItemIndex(i);
    SetSelStart(int32_t(typed.size()));
    SetSelLength(int32_t(completed.size() - typed.size()));
    return;
  }
}

void TGridCombo::SizeDropDown() {
  TCanvas* canvas = grid_->GetCanvas();
  int32_t width = Width();
  const bool scrolls = GetItems()->Count() > GetDropDownCount();
  for (int32_t i = 0; i < GetItems()->Count(); ++i) {
    const int32_t w = canvas->TextWidth(GetItems()->Strings(i));
    if (scrolls && w > width - 25) width = w + 25;
    if (!scrolls && w > width - 5) width = w + 8;
  }
  Perform(CB_SETDROPPEDWIDTH, WPARAM(width), 0);
}

void TGridCombo::DoExit() {
  TAdvStringGrid* g = grid_;
  const AnsiString text = GetText();
  if (g->LookupHistory && !text.empty() && GetItems()->IndexOf(text) < 0) GetItems()->Add(text);
  g->HideInplaceEdit();
  TASGComboBox::DoExit();
}

void TGridCombo::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (ComboWheel(this, grid_, Message)) return;
  TASGComboBox::Dispatch(Message);
  if (Message.Msg == WM_SETFOCUS && grid_->CaretFromMouse) {
    TPoint p;
    GetCursorPos(&p);
    TCustomEdit* e = EditControl();
    const TPoint local = ScreenToClient(p);
    if (e && local.X >= 0 && local.Y >= 0 && local.X < Width() && local.Y < Height() &&
        e->HandleAllocated()) {
      const TPoint ep = e->ScreenToClient(p);
      const LRESULT r = SendMessageA(e->Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(ep.X, ep.Y));
      if (r != -1) {
        e->SetSelStart(LOWORD(r));
        e->SetSelLength(0);
        grid_->CaretFromMouse = false;
      }
    }
  }
}

const TClassInfo& TGridUniCombo::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridUniCombo, TASGUniComboBox>("TGridUniCombo");
  return info;
}

TGridUniCombo::TGridUniCombo(TComponent* AOwner) : TASGUniComboBox(AOwner), grid_(WrapperGrid(AOwner)) {
  SetButtonWidth(16);
}

void TGridUniCombo::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  const bool listOrDropped = GetStyle() == csDropDownList || GetDroppedDown();
  if (!listOrDropped && Key == VK_DOWN && Shift.Contains(ssAlt)) return TASGUniComboBox::KeyDown(Key, Shift);
  if (!IsComboKey(Key, listOrDropped)) return TASGUniComboBox::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) {
    const WideString cell = g->GetWideCell(g->GetDataCol(), g->GetRow());
    SetWideText(cell);
    const int32_t i = GetWideItems()->IndexOf(cell);
    if (i >= 0) SetItemIndex(i);
  }
  // The wide combo hands its keys straight back: its text is not validated.
  WORD key = Key;
  Key = 0;
  if (key == VK_TAB && TabsOn(g)) return LeaveEditor(g, key, Shift);
  g->EditorKeyExit(key, Shift);
  TASGUniComboBox::KeyDown(Key, Shift);
}

void TGridUniCombo::KeyPress(char& Key) {
  if (Key == '\t' || Key == '\r') Key = 0;
  TASGUniComboBox::KeyPress(Key);
}

void TGridUniCombo::DoExit() {
  grid_->HideInplaceEdit();
  TASGUniComboBox::DoExit();
}

void TGridUniCombo::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (ComboWheel(this, grid_, Message)) return;
  TASGUniComboBox::Dispatch(Message);
}

// ============================================================================ check box, date picker and
// button

const TClassInfo& TGridCheckBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridCheckBox, TCheckBox>("TGridCheckBox");
  return info;
}

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), grid_(WrapperGrid(AOwner)) {}

void TGridCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  // The press toggles; the release that follows must not toggle again.
  if (Button == mbLeft) {
    Toggle();
    pressed_ = true;
  }
  TCheckBox::MouseDown(Button, Shift, X, Y);
}

void TGridCheckBox::Dispatch(TMessage& Message) {
  // The keys that end the editing come to KeyDown, not to the form's navigation.
  if (Message.Msg == CM_WANTSPECIALKEY) {
    const WPARAM k = Message.WParam;
    if (k == VK_RETURN || k == VK_ESCAPE || k == VK_LEFT || k == VK_UP || k == VK_RIGHT || k == VK_DOWN) {
      Message.Result = 1;
      return;
    }
  }
  TCheckBox::Dispatch(Message);
}

void TGridCheckBox::Clicked() {
  if (!std::exchange(pressed_, false)) TCheckBox::Clicked();
}

void TGridCheckBox::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  if (Key == VK_SPACE) {
    Toggle();
    Key = 0;
    return;
  }
  const bool handled = Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
                       Key == VK_END || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
  if (!handled) return TCheckBox::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) SetCaption(g->GetCurrentCell());
  g->HideInplaceEdit();
  if (g->CanFocus()) g->SetFocus();
  if (Key == VK_RETURN) g->AdvanceCell(g->GetCol(), g->GetRow(), true, true, false);
  if (Key == VK_UP || Key == VK_DOWN) g->KeyDown(Key, Shift);
  Key = 0;
}

void TGridCheckBox::DoExit() {
  pressed_ = false;
  grid_->HideInplaceEdit();
  TCheckBox::DoExit();
}

const TClassInfo& TGridDatePicker::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridDatePicker, TDateTimePicker>("TGridDatePicker");
  return info;
}

TGridDatePicker::TGridDatePicker(TComponent* AOwner) : TDateTimePicker(AOwner), grid_(WrapperGrid(AOwner)) {}

void TGridDatePicker::Dispatch(TMessage& Message) {
  if (ClaimTab(grid_, Message)) return;
  if (Message.Msg == CM_WANTSPECIALKEY && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == CN_NOTIFY && Message.LParam) {
    const UINT code = reinterpret_cast<NMHDR*>(Message.LParam)->code;
    if (code == DTN_DROPDOWN || code == DTN_CLOSEUP) {
      dropped_ = code == DTN_DROPDOWN;
      Message.Result = 0;
    }
  }
  TDateTimePicker::Dispatch(Message);
  if (Message.Msg == WM_NCPAINT && HandleAllocated()) {
    // Two frames in the window colour hide the 3-D border.
    HDC dc = GetWindowDC(Handle());
    RECT r{0, 0, Width(), Height()};
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(clWindow)));
    FrameRect(dc, &r, b);
    r = {1, 1, r.Right - 1, r.Bottom - 1};
    FrameRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(Handle(), dc);
  }
}

void TGridDatePicker::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  const bool handled = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                       Key == VK_NEXT || Key == VK_END;
  if (!handled) return TDateTimePicker::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) {
    const AnsiString cell = g->GetCurrentCell();
    if (GetKind() == dtkTime)
      SetTime(CellTime(cell));
    else
      SetDate(CellDate(cell));
  }
  const WORD key = Key;
  if (key == VK_TAB && TabsOn(g)) {
    Key = 0;
    return LeaveEditor(g, key, Shift);
  }
  if (dropped_) return TDateTimePicker::KeyDown(Key, Shift);
  Key = 0;
  g->EditorKeyExit(key, Shift);
}

void TGridDatePicker::DoExit() {
  grid_->HideInplaceEdit();
  TDateTimePicker::DoExit();
}

const TClassInfo& TGridButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridButton, TButton>("TGridButton");
  return info;
}

TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), grid_(WrapperGrid(AOwner)) {}

void TGridButton::Leave() {
  TAdvStringGrid* g = grid_;
  g->editorControlActive_ = false;
  g->editing_ = false;
  g->pending_ = false;
  g->activeEditorControl_ = nullptr;
  // The framework's editor mode ends too, or focusing the grid would open the button again.
  g->HideEditor();
  if (g->CanFocus()) g->SetFocus();
  SetVisible(false);
  SetEnabled(false);
}

void TGridButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_WANTSPECIALKEY) {
    const WPARAM k = Message.WParam;
    if (k == VK_ESCAPE || k == VK_LEFT || k == VK_UP || k == VK_RIGHT || k == VK_DOWN) {
      Message.Result = 1;
      return;
    }
  }
  TButton::Dispatch(Message);
}

void TGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft) SetCaption(grid_->EllipsClick(GetCaption()));
  TButton::MouseUp(Button, Shift, X, Y);
}

void TGridButton::KeyUp(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = grid_;
  if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
    const WORD key = Key;
    g->Perform(WM_KEYDOWN, key, 0);
    Leave();
    g->Perform(WM_KEYUP, key, 0);
    Key = 0;
    return;
  }
  if (Key == VK_SPACE) {
    SetCaption(g->EllipsClick(GetCaption()));
    Invalidate();
  }
  TButton::KeyUp(Key, Shift);
}

void TGridButton::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key != VK_ESCAPE) return TButton::KeyDown(Key, Shift);
  TAdvStringGrid* g = grid_;
  Leave();
  g->RestoreCellText();
  g->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  Key = 0;
}

void TGridButton::DoExit() {
  grid_->HideInplaceEdit();
  TButton::DoExit();
}

// ============================================================================ markup controls =

const TClassInfo& TControlEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TControlEdit, TEdit>("TControlEdit");
  return info;
}

void TControlEdit::KeyPress(char& Key) {
  const char key = Key;
  TEdit::KeyPress(Key);
  if (key == '\r') DoExit();
}

const TClassInfo& TControlCombo::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TControlCombo, TASGComboBox>("TControlCombo");
  return info;
}

void TControlCombo::KeyPress(char& Key) {
  const char key = Key;
  TASGComboBox::KeyPress(Key);
  if (key == '\r') DoExit();
}

// ============================================================================ module routines =

void SetWindowTransparent(HWND Handle) {
  SetWindowLongA(Handle, GWL_EXSTYLE, GetWindowLongA(Handle, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

int32_t GetDllVersion(const AnsiString& FileName) {
  // The one library whose version the grid asks for: the platform's controls include the date
  // and time picker of version 6.0.
  if (LowerCase(FileName) == "comctl32.dll") return 0x00060000;
  return -1;
}
