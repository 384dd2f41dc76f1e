#include "plot/iPlotObjects.h"

#include <cmath>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/ExtCtrls.h"
#include "widgets/iGPFunctions.h"

namespace {

AnsiString PlotObjectsPadKey(int64_t Value, size_t Width) {
  AnsiString s = IntToStr(Value);
  if (s.size() < Width) s.insert(0, Width - s.size(), '0');
  return s;
}

// Percents of a span: 0..100, and a NaN counts as 0 so that no key or layout meets it.
double PlotObjectsClampPercent(double X) {
  if (!(X >= 0)) return 0;
  if (X > 100) return 100;
  return X;
}

}  // namespace

// ============================================================================================
// class references
// ============================================================================================

bool TiPlotObjectClass::IsInstance(const TObject* Obj) const {
  return Obj != nullptr && Info != nullptr && Info().IsInstance(Obj);
}

// ============================================================================================
// TiPlotObject
// ============================================================================================

const TClassInfo& TiPlotObject::ClassInfo() {
  using O = TiPlotObject;
  static const TClassInfo info = TClassInfo::Of<O, TPersistent>("TiPlotObject")
                                     .Prop("Name", &O::GetName, &O::SetName)
                                     .Prop("Visible", &O::GetVisible, &O::SetVisible)
                                     .Default(true)
                                     .Prop("Enabled", &O::GetEnabled, &O::SetEnabled)
                                     .Default(true)
                                     .Prop("Layer", &O::GetLayer, &O::SetLayer)
                                     .Default(100)
                                     .Prop("PopupEnabled", &O::GetPopupEnabled, &O::SetPopupEnabled)
                                     .Default(true);
  return info;
}

TiPlotObject::TiPlotObject(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                           const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                           const TNotifyEvent& AOnChange)
    : FOwner(AOwner),
      FOnChange(AOnChange),
      FOnRemove(AOnRemove),
      FOnInsert(AOnInsert),
      FOnRename(AOnRename) {}

TiPlotObject::~TiPlotObject() { NotifyDestroying(); }

void TiPlotObject::NotifyDestroying() {
  if (FRemoveNotified) return;
  FRemoveNotified = true;
  FOnRemove(this);
  // The base operation: the object is gone, so whatever was laid out around it moves.
  TiPlotObject::DoLayoutChange();
}

void TiPlotObject::FreeObject(TiPlotObject* Obj) {
  if (!Obj) return;
  Obj->NotifyDestroying();
  delete Obj;
}

void TiPlotObject::Detach() {
  FOnRemove = nullptr;
  FOnLayoutChange = nullptr;
  FOnChange = nullptr;
}

void TiPlotObject::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  DoChange();
}

void TiPlotObject::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (!Value) {
    FLeftPressed = false;
    SetSelected(false);
  }
  DoChange();
}

void TiPlotObject::SetXYAxesReverse(bool Value) { FXYAxesReverse = Value; }

void TiPlotObject::DoChange() { FOnChange(this); }

void TiPlotObject::DoLayoutChange() {
  FOnLayoutChange(this);
  DoChange();
}

void TiPlotObject::NotifyObjectRemoved(TiPlotObject*) {}
void TiPlotObject::NotifyObjectRenamed(TiPlotObject*) {}
void TiPlotObject::NotifyObjectSelected(TiPlotObject*) {}
void TiPlotObject::PreparePaint() { FPaintEnabled = true; }
void TiPlotObject::Draw(TCanvas*, TColor) {}

TiMouseRecord TiPlotObject::MakeMouseRecord(int32_t X, int32_t Y, TShiftState Shift) const {
  TiMouseRecord r;
  r.X = X;
  r.Y = Y;
  r.OrientedX = FXYAxesReverse ? Y : X;
  r.OrientedY = FXYAxesReverse ? X : Y;
  r.Shift = Shift;
  return r;
}

void TiPlotObject::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y, int32_t ScreenX,
                             int32_t ScreenY, TPopupMenu* PopupMenu) {
  if (!FEnabled) return;
  TiMouseRecord r = MakeMouseRecord(X, Y, Shift);
  r.Button = Button;
  if (Button == mbRight) {
    if (FPopupEnabled) {
      bool cancel = false;
      if (FOwner) FOwner->DoObjectPopupMenu(this, cancel, ScreenX, ScreenY);
      if (!cancel && PopupMenu) {
        BuildPopupMenu(PopupMenu);
        if (FOwner) FOwner->ShowPopupMenu(PopupMenu, ScreenX, ScreenY);
      }
    }
  } else if (Button == mbLeft) {
    FLeftPressed = true;
    LeftDown(r);
  }
  if (HitTest(r) && FOwner) FOwner->DoObjectMouseDown(this, Button, Shift, X, Y);
}

void TiPlotObject::MouseMove(TiHintData& HintData, TShiftState Shift, int32_t X, int32_t Y, bool DblClick) {
  TiMouseRecord r = MakeMouseRecord(X, Y, Shift);
  r.DblClick = DblClick;
  if (FLeftPressed)
    LeftDrag(r);
  else
    Hover(r, HintData);
  if (HitTest(r) && FOwner) FOwner->DoObjectMouseMove(this, Shift, X, Y);
}

void TiPlotObject::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TiMouseRecord r = MakeMouseRecord(X, Y, Shift);
  r.Button = Button;
  LeftUp(r);
  if (!FLeftPressed) return;
  FLeftPressed = false;
  if (HitTest(r) && FOwner) FOwner->DoObjectMouseUp(this, Button, Shift, X, Y);
}

bool TiPlotObject::HitTest(const TiMouseRecord&) { return false; }
bool TiPlotObject::MouseWheel(int32_t, TShiftState, TPoint) { return false; }
void TiPlotObject::Hover(const TiMouseRecord&, TiHintData&) {}
void TiPlotObject::LeftDown(const TiMouseRecord&) {}
void TiPlotObject::LeftDrag(const TiMouseRecord&) {}
void TiPlotObject::LeftUp(const TiMouseRecord&) {}

void TiPlotObject::DoSelected() {
  if (FOwner) FOwner->DoObjectGotFocus(this);
}

void TiPlotObject::DoDeselected() {
  if (FOwner) FOwner->DoObjectLostFocus(this);
}

void TiPlotObject::MouseLeave() {}

TiPlotObject* TiPlotObject::SubObjectAt(int32_t, int32_t) {
  FCurrentSubObject = this;
  return this;
}

TCursor TiPlotObject::GetCursor(const TiMouseRecord& MouseRecord) {
  if (FCurrentSubObject == nullptr) FCurrentSubObject = this;
  if (FCurrentSubObject != this) return FCurrentSubObject->GetCursor(MouseRecord);
  return crDefault;
}

void TiPlotObject::KeyDown(WORD&, TShiftState) {}

void TiPlotObject::DoInserted() { FOnInsert(this); }

void TiPlotObject::BuildPopupMenu(TPopupMenu* PopupMenu) {
  if (!PopupMenu) return;
  TMenuItem* items = PopupMenu->Items();
  for (int32_t i = items->Count() - 1; i >= 0; --i) delete items->Items(i);
}

void TiPlotObject::SetName(const AnsiString& Value) {
  if (FName == Value) return;
  FPreviousName = FName;
  FName = Value;
  FOnRename(this);
  DoChange();
}

void TiPlotObject::SetLayer(int32_t Value) { SetIntField(Value, FLayer, &TiPlotObject::DoChange); }

void TiPlotObject::SetPopupEnabled(bool Value) {
  SetBoolField(Value, FPopupEnabled, &TiPlotObject::DoChange);
}

void TiPlotObject::SetSelected(bool Value) {
  if (FSelected == Value) return;
  FSelected = Value;
  DoSelectionChanged();
  if (!Value) {
    DoDeselected();
  } else {
    FOnSelected(this);
    DoSelected();
  }
}

void TiPlotObject::DoSelectionChanged() { FOnSelectionChanged(this); }

AnsiString TiPlotObject::Translate(const AnsiString& Text) const {
  return FOwner ? FOwner->TranslateText(Text) : Text;
}

void TiPlotObject::AddEditMenuItem(TPopupMenu* PopupMenu) {
  if (!FUserCanEdit || !PopupMenu) return;
  auto* item = new TMenuItem(PopupMenu);
  item->SetCaption(Translate("Edit..."));
  item->SetVisible(true);
  item->OnClick = TNotifyEvent(this, &TiPlotObject::EditMenuItemClick);
  PopupMenu->Items()->Add(item);
}

void TiPlotObject::EditMenuItemClick(TObject*) { FOnEditRequest(this); }

AnsiString TiPlotObject::LayerKey() const { return PlotObjectsPadKey(FLayer, 6); }

void TiPlotObject::SetBoolField(bool Value, bool& Field, TNotify Notify) {
  if (Value == Field) return;
  Field = Value;
  if (Notify) (this->*Notify)();
}

void TiPlotObject::SetIntField(int32_t Value, int32_t& Field, TNotify Notify) {
  if (Value == Field) return;
  Field = Value;
  if (Notify) (this->*Notify)();
}

void TiPlotObject::SetDoubleField(double Value, double& Field, TNotify Notify) {
  if (!(Value != Field)) return;
  Field = Value;
  if (Notify) (this->*Notify)();
}

void TiPlotObject::SetStringField(const AnsiString& Value, AnsiString& Field, TNotify Notify) {
  if (Value == Field) return;
  Field = Value;
  if (Notify) (this->*Notify)();
}

void TiPlotObject::SetPointerField(void* Value, void*& Field, TNotify Notify) {
  if (Value == Field) return;
  Field = Value;
  if (Notify) (this->*Notify)();
}

bool PlotReferenceRenamed(const TiPlotObject* Renamed, const TiPlotObject* Cached, const AnsiString& Name,
                          const TiPlotObject* Found) {
  if (!Renamed) return false;
  if (Cached) return Renamed == Cached;
  return Renamed == Found && SameText(Renamed->GetPreviousName(), Name);
}

// ============================================================================================
// TiPlotManagerObject
// ============================================================================================

const TClassInfo& TiPlotManagerObject::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotManagerObject, TiPlotObject>("TiPlotManagerObject");
  return info;
}

namespace {
TiPlotObjectHost* PlotObjectsCheckedOwner(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                          const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                          const TNotifyEvent& AOnChange) {
  if (!AOwner) throw Exception("Owner must be assigned");
  if (!AOnChange) throw Exception("OnChange event handler can not be null");
  if (!AOnInsert) throw Exception("OnInsert event handler can not be null");
  if (!AOnRemove) throw Exception("OnRemove event handler can not be null");
  if (!AOnRename) throw Exception("AOnRename event handler can not be null");
  return AOwner;
}
}  // namespace

TiPlotManagerObject::TiPlotManagerObject(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                         const TNotifyEvent& AOnChange)
    : TiPlotObject(PlotObjectsCheckedOwner(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange), AOnRename,
                   AOnRemove, AOnInsert, AOnChange) {}

// ============================================================================================
// TiPlotLayoutObject
// ============================================================================================

const TClassInfo& TiPlotLayoutObject::ClassInfo() {
  using L = TiPlotLayoutObject;
  static const TClassInfo info = TClassInfo::Of<L, TiPlotManagerObject>("TiPlotLayoutObject")
                                     .Prop("Horizontal", &L::GetHorizontal, &L::SetHorizontal)
                                     .Prop("ZOrder", &L::GetZOrder, &L::SetZOrder)
                                     .Prop("StartPercent", &L::GetStartPercent, &L::SetStartPercent)
                                     .Prop("StopPercent", &L::GetStopPercent, &L::SetStopPercent);
  return info;
}

TiPlotLayoutObject::TiPlotLayoutObject(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                       const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                       const TNotifyEvent& AOnChange)
    : TiPlotManagerObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FStopPercent = 100;
}

bool TiPlotLayoutObject::HitTest(const TiMouseRecord& MouseRecord) {
  return MouseRecord.X >= FLayoutRect.Left && MouseRecord.X < FLayoutRect.Right &&
         MouseRecord.Y >= FLayoutRect.Top && MouseRecord.Y < FLayoutRect.Bottom;
}

void TiPlotLayoutObject::DoInserted() {
  TiPlotManagerObject::DoInserted();
  GetOnLayoutChange()(this);
}

bool TiPlotLayoutObject::IsHorizontal() { return FHorizontal; }
bool TiPlotLayoutObject::IsVertical() { return !FHorizontal; }
int32_t TiPlotLayoutObject::RequiredThickness(TCanvas*) { return 0; }
int32_t TiPlotLayoutObject::RequiredEndMargin(TCanvas*) { return 0; }

void TiPlotLayoutObject::SetHorizontal(bool Value) {
  SetBoolField(Value, FHorizontal, &TiPlotObject::DoLayoutChange);
}

void TiPlotLayoutObject::SetZOrder(int32_t Value) {
  SetIntField(Value, FZOrder, &TiPlotObject::DoLayoutChange);
}

void TiPlotLayoutObject::SetForceStacking(bool Value) {
  SetBoolField(Value, FForceStacking, &TiPlotObject::DoLayoutChange);
}

void TiPlotLayoutObject::SetAfterDataView(bool Value) {
  SetBoolField(Value, FAfterDataView, &TiPlotObject::DoChange);
}

void TiPlotLayoutObject::SetStartPercent(double Value) {
  double x = PlotObjectsClampPercent(Value);
  if (FStopPercent - x < 5) {
    FStopPercent = x + 5;
    if (FStopPercent > 100) {
      FStopPercent = 100;
      x = 95;
    }
  }
  SetDoubleField(x, FStartPercent, &TiPlotObject::DoChange);
}

void TiPlotLayoutObject::SetStopPercent(double Value) {
  double x = PlotObjectsClampPercent(Value);
  if (x - FStartPercent < 5) {
    FStartPercent = x - 5;
    if (FStartPercent < 0) {
      FStartPercent = 0;
      x = 5;
    }
  }
  SetDoubleField(x, FStopPercent, &TiPlotObject::DoChange);
}

void TiPlotLayoutObject::SetPercents(double Start, double Stop) {
  FStartPercent = Start;
  FStopPercent = Stop;
  DoChange();
}

AnsiString TiPlotLayoutObject::ZOrderKey() const { return PlotObjectsPadKey(FZOrder, 3); }

AnsiString TiPlotLayoutObject::StartPercentKey() const {
  return PlotObjectsPadKey(Round(PlotObjectsClampPercent(FStartPercent)), 3);
}

// ============================================================================================
// TiPlotButton
// ============================================================================================

const TClassInfo& TiPlotButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotButton, TiPlotObject>("TiPlotButton");
  return info;
}

TiPlotButton::TiPlotButton(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                           const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                           const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  TiPlotObject::SetEnabled(true);
}

TiPlotButton::~TiPlotButton() { FreeRepeatTimer(); }

void TiPlotButton::FreeRepeatTimer() { FRepeatTimer.reset(); }

void TiPlotButton::SetEnabled(bool Value) {
  if (!Value) FreeRepeatTimer();
  TiPlotObject::SetEnabled(Value);
}

void TiPlotButton::LeftDown(const TiMouseRecord&) {
  if (FAutoRepeat) {
    if (!FRepeatTimer) FRepeatTimer = std::make_unique<TTimer>(nullptr);
    FRepeatTimer->SetInterval(500);
    FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TiPlotButton::RepeatTick));
    FRepeatTimer->SetEnabled(true);
    FFirstTickPending = true;
  }
  OnRedraw(this);
}

void TiPlotButton::RepeatTick(TObject*) {
  if (FFirstTickPending) {
    FRepeatTimer->SetInterval(50);
    FFirstTickPending = false;
  }
  OnClick(this);
  OnRedraw(this);
}

void TiPlotButton::LeftDrag(const TiMouseRecord&) {}

void TiPlotButton::LeftUp(const TiMouseRecord& MouseRecord) {
  if (!GetLeftPressed()) return;
  SetLeftPressed(false);
  FreeRepeatTimer();
  OnRedraw(this);
  if (MouseRecord.X >= FButtonRect.Left && MouseRecord.X < FButtonRect.Right &&
      MouseRecord.Y >= FButtonRect.Top && MouseRecord.Y < FButtonRect.Bottom) {
    if (FGroupIndex != 0 && OnGroup) OnGroup(this);
    OnClick(this);
  }
}

void TiPlotButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  OnRedraw(this);
  OnDownChange(this);
}

void DrawPlotScrollButton(TCanvas* Canvas, const TRect& Rect, bool Up, bool Pressed, bool Enabled) {
  TBrush* brush = Canvas->GetBrush();
  brush->SetStyle(bsSolid);
  brush->SetColor(clBtnFace);
  Canvas->FillRect(Rect);
  if (Pressed)
    DrawSunkenFrame(Canvas, Rect);
  else
    DrawRaisedFrame(Canvas, Rect);
  const TColor c = Enabled ? clBlack : TColor(0x808080);
  brush->SetColor(c);
  Canvas->GetPen()->SetColor(c);
  Canvas->GetPen()->SetStyle(psSolid);
  Canvas->GetPen()->SetWidth(1);
  const int32_t cx = (Rect.Left + Rect.Right) / 2, cy = (Rect.Top + Rect.Bottom) / 2;
  if (Up)
    Canvas->Polygon({{cx - 4, cy + 2}, {cx + 4, cy + 2}, {cx, cy - 2}});
  else
    Canvas->Polygon({{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}});
}

void DrawPlotFocusFrame(TCanvas* Canvas, const TRect& Rect) {
  // White, since the plot's background colour is what the brush usually holds.
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clWhite);
  DrawFocusFrame(Canvas, Rect);
}

// ============================================================================================
// TiMenuItem
// ============================================================================================

const TClassInfo& TiMenuItem::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiMenuItem, TMenuItem>("TiMenuItem");
  return info;
}
