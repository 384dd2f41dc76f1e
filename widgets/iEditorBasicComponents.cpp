#include "widgets/iEditorBasicComponents.h"

#include <algorithm>
#include <cstdint>

#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "widgets/iComponentEditorDialogs.h"
#include "widgets/iGPFunctions.h"
#include "widgets/iValueConverterEditForm.h"

PL_ENUM_NAMES(TiValueConverterPageType, "ivcptInterval", "ivcptDateTime", "ivcptPrice32nd")

// ============================================================================ class tables ====
// Each class publishes again what its base already does where the editors name it, keeping the
// base's declared default and stored rule unless a default of its own is given.

namespace {

bool iEdFontStored(TControl* Control) { return !Control->GetParentFont(); }

}  // namespace

const TClassInfo& TiCustomEditorForm::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiCustomEditorForm, TCustomForm>("TiCustomEditorForm")
          .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
          .Prop("ClientHeight", &TCustomForm::GetClientHeight, &TCustomForm::SetClientHeight)
          .Type(ControlCoordTypeInfo())
          .Prop("ClientWidth", &TCustomForm::GetClientWidth, &TCustomForm::SetClientWidth)
          .Type(ControlCoordTypeInfo())
          .Prop("PixelsPerInch", &TCustomForm::GetPixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .Event("OnCreate", &TCustomForm::OnCreate)
          .Event("OnDestroy", &TCustomForm::OnDestroy)
          .Event("OnClose", &TCustomForm::OnClose)
          .Prop("AutoScroll", &TScrollingWinControl::GetAutoScroll, &TScrollingWinControl::SetAutoScroll)
          .Default(true);
  return info;
}

const TClassInfo& TiComponentEditorEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiComponentEditorEdit, TCustomEdit>("TiComponentEditorEdit")
                                     .Event("OnUpdate", &TiComponentEditorEdit::OnUpdate)
                                     .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
                                     .Default(-1)
                                     .Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly)
                                     .Default(false)
                                     .Prop("Height", &TControl::GetHeight, &TControl::SetHeight)
                                     .Default(21)
                                     .Type(ControlCoordTypeInfo())
                                     .Prop("Visible", &TControl::GetVisible, &TControl::SetVisible)
                                     .Default(true);
  return info;
}

const TClassInfo& TiUpDown::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiUpDown, TGraphicControl>("TiUpDown")
                                     .Object("Associate", &TiUpDown::GetAssociate, &TiUpDown::SetAssociate)
                                     .Prop("Min", &TiUpDown::GetMin, &TiUpDown::SetMin)
                                     .Default(int16_t(0))
                                     .Prop("Max", &TiUpDown::GetMax, &TiUpDown::SetMax)
                                     .Default(int16_t(100))
                                     .Prop("Increment", &TiUpDown::GetIncrement, &TiUpDown::SetIncrement)
                                     .Default(1)
                                     .Prop("Width", &TControl::GetWidth, &TControl::SetWidth)
                                     .Default(15)
                                     .Type(ControlCoordTypeInfo())
                                     .Prop("Height", &TControl::GetHeight, &TControl::SetHeight)
                                     .Default(21)
                                     .Type(ControlCoordTypeInfo());
  return info;
}

const TClassInfo& TiComponentEditorPageControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorPageControl, TPageControl>("TiComponentEditorPageControl")
          .Prop("TabIndex", &TCustomTabControl::GetTabIndex, &TCustomTabControl::SetTabIndex)
          .Default(-1);
  return info;
}

const TClassInfo& TiComponentEditorButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiComponentEditorButton, TButton>("TiComponentEditorButton");
  return info;
}

const TClassInfo& TiComponentEditorCheckBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorCheckBox, TiCheckBox>("TiComponentEditorCheckBox");
  return info;
}

const TClassInfo& TiComponentEditorRadioGroup::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorRadioGroup, TiRadioGroup>("TiComponentEditorRadioGroup");
  return info;
}

const TClassInfo& TiComponentEditorComboBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorComboBox, TComboBox>("TiComponentEditorComboBox")
          .Prop("Visible", &TControl::GetVisible, &TControl::SetVisible)
          .Default(true);
  return info;
}

const TClassInfo& TiComponentEditorListBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorListBox, TCustomListBox>("TiComponentEditorListBox")
          .Prop("Enabled", &TControl::GetEnabled, &TControl::SetEnabled)
          .Default(true)
          .Object("Font", &TControl::GetFont, &TControl::SetFont)
          .Stored(&iEdFontStored)
          .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
          .Default(-1)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(false)
          .Prop("Visible", &TControl::GetVisible, &TControl::SetVisible)
          .Default(true)
          .Event("OnClick", &TControl::OnClick)
          .Event("OnDblClick", &TControl::OnDblClick)
          .Prop("Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle)
          .Default(lbOwnerDrawFixed)
          .Prop("Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted)
          .Default(false)
          .Event("OnGetData", &TiComponentEditorListBox::OnGetData)
          .Event("OnItemMove", &TiComponentEditorListBox::OnItemMove)
          .Event("OnDrawItem", &TCustomListBox::OnDrawItem)
          .Prop("DragMode", &TControl::GetDragMode, &TControl::SetDragMode)
          .Default(dmAutomatic);
  return info;
}

const TClassInfo& TiComponentEditorGroupBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorGroupBox, TGroupBox>("TiComponentEditorGroupBox");
  return info;
}

const TClassInfo& TiComponentEditorColorPicker::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorColorPicker, TCustomControl>("TiComponentEditorColorPicker")
          .Event("OnChange", &TiComponentEditorColorPicker::OnChange)
          .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
          .Default(-1);
  return info;
}

// The shared step of the pickers publishes nothing: each picker names its own.
const TClassInfo& TiComponentEditorPickerButton::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiComponentEditorPickerButton, TiComponentEditorButton>("TiComponentEditorPickerButton");
  return info;
}

const TClassInfo& TiComponentEditorFontPicker::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiComponentEditorFontPicker, TiComponentEditorPickerButton>(
                                     "TiComponentEditorFontPicker")
                                     .Event("OnChange", &TiComponentEditorPickerButton::OnChange);
  return info;
}

namespace {

// What the file and value converter pickers publish after their own fields.
template <class T>
TClassBuilder<T> iEdPickerTail(TClassBuilder<T>&& Builder) {
  return std::move(Builder)
      .Event("OnChange", &TiComponentEditorPickerButton::OnChange)
      .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
      .Object("Font", &TControl::GetFont, &TControl::SetFont)
      .Stored(&iEdFontStored)
      .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
      .Default(-1)
      .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
      .Default(true);
}

}  // namespace

const TClassInfo& TiComponentEditorOpenPicker::ClassInfo() {
  static const TClassInfo info =
      iEdPickerTail(TClassInfo::Of<TiComponentEditorOpenPicker, TiComponentEditorPickerButton>(
                        "TiComponentEditorOpenPicker")
                        .Prop("FileName", &TiComponentEditorOpenPicker::FileName)
                        .Prop("Filter", &TiComponentEditorOpenPicker::Filter)
                        .Prop("DefaultExt", &TiComponentEditorOpenPicker::DefaultExt)
                        .Prop("FileMustExist", &TiComponentEditorOpenPicker::FileMustExist)
                        .Prop("AllowMultiSelect", &TiComponentEditorOpenPicker::AllowMultiSelect)
                        .Object("Files", &TiComponentEditorOpenPicker::GetFiles));
  return info;
}

const TClassInfo& TiComponentEditorSavePicker::ClassInfo() {
  static const TClassInfo info =
      iEdPickerTail(TClassInfo::Of<TiComponentEditorSavePicker, TiComponentEditorPickerButton>(
                        "TiComponentEditorSavePicker")
                        .Prop("FileName", &TiComponentEditorSavePicker::FileName)
                        .Prop("Filter", &TiComponentEditorSavePicker::Filter)
                        .Prop("DefaultExt", &TiComponentEditorSavePicker::DefaultExt));
  return info;
}

const TClassInfo& TiComponentEditorValueConverterPicker::ClassInfo() {
  static const TClassInfo info = iEdPickerTail(
      TClassInfo::Of<TiComponentEditorValueConverterPicker, TiComponentEditorPickerButton>(
          "TiComponentEditorValueConverterPicker")
          .Object("Associate", &TiComponentEditorValueConverterPicker::GetAssociate,
                  &TiComponentEditorValueConverterPicker::SetAssociate)
          .Prop("DateTime", &TiComponentEditorValueConverterPicker::DateTime)
          .Prop("DefaultPage", &TiComponentEditorValueConverterPicker::DefaultPage)
          .Event("TranslationMethod", &TiComponentEditorValueConverterPicker::TranslationMethod));
  return info;
}

const TClassInfo& TiPaintBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPaintBox, TCustomControl>("TiPaintBox")
                                     .Event("OnPaint", &TiPaintBox::OnPaint)
                                     .Object("Canvas", &TCustomControl::GetCanvas)
                                     .Prop("Align", &TControl::GetAlign, &TControl::SetAlign)
                                     .Default(alNone);
  return info;
}

// ============================================================================ shared steps ====

namespace {

void iEdNotifyOwner(TComponent* Control) {
  if (auto* form = dynamic_cast<TiCustomEditorForm*>(Control->GetOwner())) form->EditorControlChanged();
}

// Tab and Shift+Tab move the focus among the owning form's tab stops; true when Key was Tab.
bool iEdTabKey(TComponent* Control, char& Key) {
  if (Key != '\t') return false;
  Key = 0;
  if (auto* form = dynamic_cast<TCustomForm*>(Control->GetOwner()))
    form->SelectNext(form->GetActiveControl(), !ShiftKeyDown(), true);
  return true;
}

// Runs Set with Event cleared and Flag set; both come back whatever happens.
template <class E, class F>
void iEdQuiet(E& Event, bool& Flag, F Set) {
  E saved = Event;
  Event = nullptr;
  Flag = true;
  try {
    Set();
  } catch (...) {
    Flag = false;
    Event = saved;
    throw;
  }
  Flag = false;
  Event = saved;
}

}  // namespace

// ============================================================================ edit ============

TiComponentEditorEdit::TiComponentEditorEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetCtl3D(true);
  SetBounds(Left(), Top(), Width(), 21);
}

int32_t TiComponentEditorEdit::GetAsInteger() {
  int32_t v = 0;
  return TryStrToInt(Trim(GetText()), v) ? v : 0;
}

double TiComponentEditorEdit::GetAsFloat() {
  double v = 0;
  return TryStrToFloat(Trim(GetText()), v) ? v : 0;
}

template <class F>
void TiComponentEditorEdit::Quietly(F Set) {
  iEdQuiet(OnChange, byCode_, Set);
}

void TiComponentEditorEdit::SetAsString(const AnsiString& Value) {
  Quietly([&] {
    SetText(Value);
    committed_ = Value;
  });
}

void TiComponentEditorEdit::SetAsInteger(int32_t Value) { SetAsString(IntToStr(Value)); }

void TiComponentEditorEdit::SetAsFloat(double Value) { SetAsString(FloatToStr(Value)); }

void TiComponentEditorEdit::EnterInteger(int32_t Value) {
  SetText(IntToStr(Value));
  iEdNotifyOwner(this);
  Commit();
}

void TiComponentEditorEdit::EnterFloat(double Value) {
  SetText(FloatToStr(Value));
  iEdNotifyOwner(this);
  Commit();
}

void TiComponentEditorEdit::Commit() {
  const AnsiString text = GetText();
  if (text == committed_) return;
  committed_ = text;
  OnUpdate(this);
  if (!byCode_) iEdNotifyOwner(this);
}

void TiComponentEditorEdit::Disable() {
  Quietly([&] {
    SetEnabled(false);
    SetText("");
    committed_.clear();
  });
}

void TiComponentEditorEdit::Enable() { SetEnabled(true); }

void TiComponentEditorEdit::SetEnabled(bool Value) {
  TCustomEdit::SetEnabled(Value);
  SetColor(Value ? clWindow : clBtnFace);
}

void TiComponentEditorEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TCustomEdit::Dispatch(Message);
      Message.Result += DLGC_WANTARROWS | DLGC_WANTTAB;
      return;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_SETFOCUS:
      TCustomEdit::Dispatch(Message);
      SetControlParentChain(this);
      return;
    case WM_KILLFOCUS:
      TCustomEdit::Dispatch(Message);
      Commit();
      return;
    default:
      break;
  }
  TCustomEdit::Dispatch(Message);
}

void TiComponentEditorEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN) {
    Commit();
    Key = 0;
    SelectAll();
    return;
  }
  if (Key == VK_ESCAPE) {
    Key = 0;
    Quietly([&] { SetText(committed_); });
    SelectAll();
    return;
  }
  TCustomEdit::KeyDown(Key, Shift);
}

void TiComponentEditorEdit::KeyPress(char& Key) {
  if (iEdTabKey(this, Key)) return;
  switch (Key) {
    case '\r':
      Commit();
      Key = 0;
      SelectAll();
      return;
    case '\n':
    case 27:
      Key = 0;
      return;
    default:
      TCustomEdit::KeyPress(Key);
  }
}

void TiComponentEditorEdit::DoExit() {
  Commit();
  TCustomEdit::DoExit();
}

// ============================================================================ up-down =========

TiUpDown::TiUpDown(TComponent* AOwner) : TGraphicControl(AOwner), timer_(std::make_unique<TTimer>(nullptr)) {
  SetBounds(Left(), Top(), 15, 21);
  timer_->SetEnabled(false);
  timer_->SetOnTimer(TNotifyEvent(this, &TiUpDown::TimerTick));
}

TiUpDown::~TiUpDown() {
  timer_->SetEnabled(false);
  if (associate_) associate_->RemoveFreeNotification(this);
}

void TiUpDown::SetAssociate(TiComponentEditorEdit* Value) {
  if (associate_ == Value) return;
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = Value;
  if (!associate_) return;
  associate_->FreeNotification(this);
  SetBounds(associate_->Left() + associate_->Width(), associate_->Top(), Width(), associate_->Height());
}

void TiUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == associate_) associate_ = nullptr;
}

int32_t TiUpDown::GetValue() { return associate_ ? associate_->GetAsInteger() : 0; }

void TiUpDown::SetValue(int32_t Value) {
  if (!associate_) return;
  if (max_ != 0 || min_ != 0) {
    if (Value > max_) Value = max_;
    if (Value < min_) Value = min_;
  }
  if (stepping_)
    associate_->EnterInteger(Value);
  else
    associate_->SetAsInteger(Value);
}

void TiUpDown::Disable() {
  SetEnabled(false);
  if (associate_) associate_->Disable();
  Invalidate();
}

void TiUpDown::Enable() {
  SetEnabled(true);
  if (associate_) associate_->Enable();
  Invalidate();
}

TRect TiUpDown::UpperRect() {
  const TRect c = GetClientRect();
  return TRect{0, 0, c.Width(), (c.Height() - 1) / 2};
}

TRect TiUpDown::LowerRect() {
  const TRect c = GetClientRect();
  const int32_t half = (c.Height() - 1) / 2;
  return TRect{0, c.Height() - half, c.Width(), c.Height()};
}

void TiUpDown::UpdateButtons() {
  const TPoint p{lastX_, lastY_};
  const TRect up = UpperRect(), down = LowerRect();
  upperPressed_ = held_ && PtInRect(&up, p);
  lowerPressed_ = held_ && PtInRect(&down, p);
}

void TiUpDown::Paint() {
  UpdateButtons();
  TCanvas* c = GetCanvas();
  const TRect up = UpperRect(), down = LowerRect();
  const TRect client = GetClientRect();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(client);
  DrawBevelFrame(c, up, upperPressed_ ? 0 : 1);
  DrawBevelFrame(c, down, lowerPressed_ ? 0 : 1);
  const TColor ink = GetEnabled() ? clBlack : TColor(0x808080);
  c->GetPen()->SetColor(ink);
  c->GetBrush()->SetColor(ink);
  const int32_t s = std::min(client.Height() / 2, client.Width()) / 7;
  int32_t cx = (up.Left + up.Right) / 2, cy = (up.Top + up.Bottom) / 2;
  const TPoint upArrow[3] = {{cx - 2 * s, cy + s}, {cx, cy - s}, {cx + 2 * s, cy + s}};
  c->Polygon(upArrow, 3);
  cx = (down.Left + down.Right) / 2;
  cy = (down.Top + down.Bottom) / 2;
  const TPoint downArrow[3] = {{cx - 2 * s, cy - s}, {cx + 2 * s, cy - s}, {cx, cy + s}};
  c->Polygon(downArrow, 3);
}

void TiUpDown::Step() {
  stepping_ = true;
  try {
    // An unbounded value stops at the ends of the 32-bit range instead of wrapping round.
    const int64_t next = int64_t(GetValue()) + (upperPressed_ ? int64_t(increment_) : -int64_t(increment_));
    SetValue(int32_t(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
  } catch (...) {
    stepping_ = false;
    throw;
  }
  stepping_ = false;
}

void TiUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled()) return;
  lastX_ = X;
  lastY_ = Y;
  held_ = true;
  UpdateButtons();
  timer_->SetInterval(500);
  timer_->SetEnabled(true);
  firstRepeat_ = true;
  Step();
  Invalidate();
}

void TiUpDown::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!held_) return;
  lastX_ = X;
  lastY_ = Y;
  UpdateButtons();
  Invalidate();
}

void TiUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (held_) {
    held_ = false;
    timer_->SetEnabled(false);
    UpdateButtons();
    Invalidate();
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TiUpDown::TimerTick(TObject*) {
  if (firstRepeat_) {
    timer_->SetInterval(50);
    firstRepeat_ = false;
  }
  Step();
}

// ============================================================================ page control, button

void TiComponentEditorPageControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTTAB | DLGC_WANTALLKEYS;
    return;
  }
  TPageControl::Dispatch(Message);
}

void TiComponentEditorPageControl::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TPageControl::KeyPress(Key);
}

void TiComponentEditorButton::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TButton::KeyPress(Key);
}

void TiComponentEditorButton::DoEnter() {
  SetControlParentChain(this);
  TButton::DoEnter();
}

// ============================================================================ check box =======

void TiComponentEditorCheckBox::SetAsBoolean(bool Value) {
  iEdQuiet(OnClick, byCode_, [&] { SetChecked(Value); });
}

void TiComponentEditorCheckBox::Disable() {
  iEdQuiet(OnClick, byCode_, [&] {
    SetEnabled(false);
    SetChecked(false);
  });
}

void TiComponentEditorCheckBox::DoChange() {
  TiCheckBox::DoChange();
  if (IsStreaming()) return;
  if (!byCode_) iEdNotifyOwner(this);
  OnClick(this);
}

void TiComponentEditorCheckBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTTAB | DLGC_WANTALLKEYS;
    return;
  }
  TiCheckBox::Dispatch(Message);
}

void TiComponentEditorCheckBox::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TiCheckBox::KeyPress(Key);
}

// ============================================================================ radio group =====

void TiComponentEditorRadioGroup::SetAsInteger(int32_t Value) {
  iEdQuiet(OnClick, byCode_, [&] { iEdQuiet(OnChange, byCode_, [&] { SetItemIndex(Value); }); });
  byCode_ = false;
}

void TiComponentEditorRadioGroup::Disable() {
  iEdQuiet(OnClick, byCode_, [&] {
    SetEnabled(false);
    SetItemIndex(-1);
  });
}

void TiComponentEditorRadioGroup::Click() {
  TiRadioGroup::Click();
  if (!byCode_) iEdNotifyOwner(this);
}

void TiComponentEditorRadioGroup::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TiRadioGroup::KeyPress(Key);
}

void TiComponentEditorRadioGroup::DoEnter() {
  TiRadioGroup::DoEnter();
  SetControlParentChain(this);
}

// ============================================================================ combo box =======

template <class F>
void TiComponentEditorComboBox::Quietly(F Set) {
  iEdQuiet(OnChange, byCode_, Set);
}

void TiComponentEditorComboBox::SetAsInteger(int32_t Value) {
  Quietly([&] { SetItemIndex(Value); });
}

void TiComponentEditorComboBox::SetAsString(const AnsiString& Value) {
  Quietly([&] { SetText(Value); });
}

void TiComponentEditorComboBox::Disable() {
  Quietly([&] {
    SetEnabled(false);
    SetColor(clBtnFace);
    SetItemIndex(-1);
    SetText("");
  });
}

void TiComponentEditorComboBox::Enable() {
  SetEnabled(true);
  SetColor(clWindow);
}

void TiComponentEditorComboBox::Click() {
  if (!byCode_) iEdNotifyOwner(this);
}

void TiComponentEditorComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TComboBox::Dispatch(Message);
      Message.Result += DLGC_WANTARROWS | DLGC_WANTTAB;
      return;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT) {
        Message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TComboBox::Dispatch(Message);
}

void TiComponentEditorComboBox::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TComboBox::KeyPress(Key);
}

void TiComponentEditorComboBox::DoEnter() {
  TComboBox::DoEnter();
  SetControlParentChain(this);
}

// ============================================================================ list box ========

TiComponentEditorListBox::TiComponentEditorListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
  SetDragMode(dmAutomatic);
  SetSorted(false);
}

void TiComponentEditorListBox::DeleteSelected() {
  if (Count() == 0) return;
  const int32_t i = GetItemIndex();
  if (i < 0) return;
  TObject* object = GetItems()->Objects(i);
  GetItems()->Delete(i);
  delete object;
  if (Count() > 0) SetItemIndex(i < Count() ? i : i - 1);
}

void TiComponentEditorListBox::RemoveObject(TObject* Object) {
  const int32_t at = GetItems()->IndexOfObject(Object);
  if (at < 0) return;
  const int32_t selected = GetItemIndex();
  GetItems()->Delete(at);
  if (Count() > 0) SetItemIndex(selected >= 0 && selected < Count() ? selected : Count() - 1);
}

void TiComponentEditorListBox::DrawItem(int32_t Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    TCustomListBox::DrawItem(Index, Rect, State);
    return;
  }
  bool drawColorBox = true;
  TColor color = TColor(0x0000FF);
  AnsiString text = GetItems()->Strings(Index);
  OnGetData(Index, drawColorBox, color, text);
  TCanvas* c = GetCanvas();
  const bool selected = State.Contains(odSelected);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(selected ? TColor(0x808000) : clWindow);
  c->FillRect(Rect);
  c->GetFont()->SetColor(selected ? clWhite : clBlack);
  if (drawColorBox) {
    c->TextOut(Rect.Left + 22, Rect.Top, text);
    c->GetPen()->SetColor(clBlack);
    c->GetPen()->SetStyle(psSolid);
    c->GetBrush()->SetColor(color);
    c->Rectangle(Rect.Left + 2, Rect.Top + 1, Rect.Left + 18, Rect.Bottom - 1);
  } else {
    c->TextOut(Rect.Left + 2, Rect.Top, text);
  }
}

void TiComponentEditorListBox::DragOver(TObject* Source, int32_t X, int32_t Y, TDragState State,
                                        bool& Accept) {
  TCustomListBox::DragOver(Source, X, Y, State, Accept);
  Accept = Source == this;
}

void TiComponentEditorListBox::DragDrop(TObject* Source, int32_t X, int32_t Y) {
  TCustomListBox::DragDrop(Source, X, Y);
  if (Source != this || Count() == 0) return;
  const int32_t h = GetItemHeight();
  if (h <= 0) return;
  const int32_t target = std::min((Y + GetTopIndex() * h) / h, Count() - 1);
  const int32_t from = GetItemIndex();
  if (from < 0 || target == from) return;
  GetItems()->Move(from, target);
  SetItemIndex(target);
  OnItemMove(this);
}

void TiComponentEditorListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTTAB | DLGC_WANTALLKEYS;
    return;
  }
  TCustomListBox::Dispatch(Message);
}

void TiComponentEditorListBox::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TCustomListBox::KeyPress(Key);
}

void TiComponentEditorListBox::DoEnter() {
  TCustomListBox::DoEnter();
  SetControlParentChain(this);
}

void TiComponentEditorListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  SetControlParentChain(this);
}

// ============================================================================ colour picker ===

TiComponentEditorColorPicker::TiComponentEditorColorPicker(TComponent* AOwner) : TCustomControl(AOwner) {
  button_ = new TButton(this);
  button_->SetCaption("...");
  button_->GetFont()->SetStyle(TFontStyles{fsBold});
  button_->OnClick = TNotifyEvent(this, &TiComponentEditorColorPicker::ButtonClick);
  button_->SetParent(this);
  SetTabStop(true);
  SetBounds(Left(), Top(), 47, 21);
}

void TiComponentEditorColorPicker::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (button_) button_->SetBounds(AWidth - 21, 0, 21, AHeight);
}

void TiComponentEditorColorPicker::SetAsColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Invalidate();
}

void TiComponentEditorColorPicker::Disable() {
  SetEnabled(false);
  button_->SetEnabled(false);
  Invalidate();
}

void TiComponentEditorColorPicker::Enable() {
  SetEnabled(true);
  button_->SetEnabled(true);
  Invalidate();
}

void TiComponentEditorColorPicker::Paint() {
  TCanvas* c = GetCanvas();
  c->GetPen()->SetColor(clBlack);
  c->GetPen()->SetStyle(psSolid);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetEnabled() ? color_ : clBtnFace);
  c->Rectangle(0, 0, Width() - button_->Width() - 1, Height());
}

void TiComponentEditorColorPicker::Execute() {
  SetControlParentFlag(HandleAllocated() ? GetHandle() : nullptr, true);
  auto dialog = std::make_unique<TiColorDialog>(this);
  bool ok = false;
  try {
    dialog->SetColor(color_);
    ok = dialog->Execute();
  } catch (...) {
    SetControlParentFlag(HandleAllocated() ? GetHandle() : nullptr, false);
    throw;
  }
  SetControlParentFlag(HandleAllocated() ? GetHandle() : nullptr, false);
  if (!ok) return;
  color_ = dialog->GetColor();
  dialog.reset();
  iEdNotifyOwner(this);
  Invalidate();
  OnChange(this);
}

void TiComponentEditorColorPicker::ButtonClick(TObject*) { Execute(); }

void TiComponentEditorColorPicker::DblClick() {
  TCustomControl::DblClick();
  Execute();
}

void TiComponentEditorColorPicker::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTTAB | DLGC_WANTALLKEYS;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TiComponentEditorColorPicker::KeyPress(char& Key) {
  if (!iEdTabKey(this, Key)) TCustomControl::KeyPress(Key);
}

void TiComponentEditorColorPicker::DoEnter() {
  TCustomControl::DoEnter();
  SetControlParentChain(this);
}

// ============================================================================ picker buttons ==

TiComponentEditorPickerButton::TiComponentEditorPickerButton(TComponent* AOwner)
    : TiComponentEditorButton(AOwner) {
  SetBounds(Left(), Top(), 75, 25);
  SetTabStop(true);
}

void TiComponentEditorPickerButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTTAB | DLGC_WANTALLKEYS;
    return;
  }
  TiComponentEditorButton::Dispatch(Message);
}

void TiComponentEditorPickerButton::DoEnter() {
  TiComponentEditorButton::DoEnter();
  SetControlParentChain(this);
}

void TiComponentEditorPickerButton::MarkForDialog(bool Chain) {
  if (Chain)
    SetControlParentChain(this);
  else if (HandleAllocated())
    SetControlParentFlag(GetHandle(), true);
}

void TiComponentEditorPickerButton::UnmarkAfterDialog() {
  if (HandleAllocated()) SetControlParentFlag(GetHandle(), false);
}

// ---- font -------------------------------------------------------------------------------------

TiComponentEditorFontPicker::TiComponentEditorFontPicker(TComponent* AOwner)
    : TiComponentEditorPickerButton(AOwner), font_(std::make_unique<TFont>()) {
  SetCaption("Font");
}

TiComponentEditorFontPicker::~TiComponentEditorFontPicker() = default;

void TiComponentEditorFontPicker::Execute() {
  MarkForDialog(false);
  auto dialog = std::make_unique<TiFontDialog>(this);
  bool ok = false;
  try {
    dialog->SetFont(font_.get());
    ok = dialog->Execute();
  } catch (...) {
    UnmarkAfterDialog();
    throw;
  }
  UnmarkAfterDialog();
  if (!ok) return;
  font_->Assign(dialog->GetFont());
  dialog.reset();
  iEdNotifyOwner(this);
  Invalidate();
  OnChange(this);
}

void TiComponentEditorFontPicker::Click() {
  TiComponentEditorPickerButton::Click();
  Execute();
}

// ---- open -------------------------------------------------------------------------------------

namespace {

// A folder (a name ending in "/") is offered with "Untitled" in it.
AnsiString iEdStartName(const AnsiString& FileName) {
  return !FileName.empty() && FileName.back() == '/' ? FileName + "Untitled" : FileName;
}

}  // namespace

TiComponentEditorOpenPicker::TiComponentEditorOpenPicker(TComponent* AOwner)
    : TiComponentEditorPickerButton(AOwner), files_(std::make_unique<TStringList>()) {
  SetCaption("Open");
}

TiComponentEditorOpenPicker::~TiComponentEditorOpenPicker() = default;

void TiComponentEditorOpenPicker::Execute() {
  MarkForDialog(true);
  auto dialog = std::make_unique<TiOpenDialog>(this);
  bool ok = false;
  try {
    dialog->SetFileName(iEdStartName(FileName));
    dialog->SetFilter(Filter);
    dialog->SetDefaultExt(DefaultExt);
    dialog->SetFileMustExist(FileMustExist);
    dialog->SetMultiSelect(AllowMultiSelect);
    ok = dialog->Execute();
  } catch (...) {
    UnmarkAfterDialog();
    throw;
  }
  UnmarkAfterDialog();
  if (!ok) return;
  FileName = dialog->GetFileName();
  files_->Assign(dialog->GetFiles());
  dialog.reset();
  iEdNotifyOwner(this);
  Invalidate();
  OnChange(this);
}

void TiComponentEditorOpenPicker::Click() {
  TiComponentEditorPickerButton::Click();
  Execute();
}

// ---- save -------------------------------------------------------------------------------------

TiComponentEditorSavePicker::TiComponentEditorSavePicker(TComponent* AOwner)
    : TiComponentEditorPickerButton(AOwner) {
  SetCaption("Save");
}

bool TiComponentEditorSavePicker::Execute() {
  MarkForDialog(true);
  auto dialog = std::make_unique<TiSaveDialog>(this);
  bool ok = false;
  try {
    dialog->SetFileName(iEdStartName(FileName));
    dialog->SetFilter(Filter);
    dialog->SetDefaultExt(DefaultExt);
    ok = dialog->Execute();
  } catch (...) {
    UnmarkAfterDialog();
    throw;
  }
  UnmarkAfterDialog();
  if (!ok) return false;
  FileName = dialog->GetFileName();
  dialog.reset();
  iEdNotifyOwner(this);
  Invalidate();
  OnChange(this);
  return true;
}

void TiComponentEditorSavePicker::Click() {
  TiComponentEditorPickerButton::Click();
  Execute();
}

// ---- value converter --------------------------------------------------------------------------

TiComponentEditorValueConverterPicker::TiComponentEditorValueConverterPicker(TComponent* AOwner)
    : TiComponentEditorPickerButton(AOwner) {
  SetCaption("...");
  SetBounds(Left(), Top(), 21, 21);
}

void TiComponentEditorValueConverterPicker::SetAssociate(TiComponentEditorEdit* Value) {
  if (associate_ == Value) return;
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = Value;
  if (!associate_) return;
  associate_->FreeNotification(this);
  SetBounds(associate_->Left() + associate_->Width(), associate_->Top(), Width(), associate_->Height());
}

void TiComponentEditorValueConverterPicker::Notification(TComponent* AComponent, TOperation Operation) {
  TiComponentEditorPickerButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == associate_) associate_ = nullptr;
}

void TiComponentEditorValueConverterPicker::Click() {
  TiComponentEditorPickerButton::Click();
  auto* form = TCustomForm::Create<TiValueConverterEditForm>(this);
  try {
    form->ShowPage(DefaultPage);
    TranslationMethod(form);
    form->SetValue(associate_ ? associate_->GetAsFloat() : DateTime);
    if (form->ShowModal() == mrOk) {
      DateTime = form->GetValue();
      if (associate_) associate_->EnterFloat(DateTime);
      OnChange(this);
    }
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
}

// ============================================================================ paint box =======

TiPaintBox::TiPaintBox(TComponent* AOwner) : TCustomControl(AOwner) { ControlStyle.Include(csOpaque); }

void TiPaintBox::Paint() {
  if (ComponentState().Contains(csDesigning)) {
    TCanvas* c = GetCanvas();
    c->GetPen()->SetStyle(psDash);
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
  }
  OnPaint(this);
}
