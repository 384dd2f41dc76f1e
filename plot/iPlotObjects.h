// The plot object model: everything a plot shows (channels, axes, legends, toolbars, data views,
// data cursors, limits, labels, tables, annotations, and the buttons inside legends, tables and
// toolbars) is a TiPlotObject that belongs to one plot, is held by the plot's managers and is
// driven by the plot through the virtual operations below (kept in the order the kinds rely on).
//
// Objects reach the plot only through TiPlotObjectHost (translation, the kind's events, the popup
// menu), which TiPlotComponent implements; tests of a kind can hand an object a small stand-in.
//
// Sections: mouse record and hint data / host interface / class references / TiPlotObject /
// TiPlotManagerObject / TiPlotLayoutObject / TiPlotButton / TiMenuItem.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>

#include "platform/runtime/Persistent.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"

class TTimer;
class TiPlotObject;
class TiPlotComponent;

// ============================================================================================
// mouse record and hint data
// ============================================================================================

// What the objects' mouse slots receive.  OrientedX/OrientedY are X and Y exchanged when the
// plot's axes are reversed (objects test and drag in that frame), else equal to them.
struct TiMouseRecord {
  int32_t X = 0, Y = 0;
  int32_t OrientedX = 0, OrientedY = 0;
  TMouseButton Button = mbLeft;
  TShiftState Shift;
  bool DblClick = false;
};

// The hover hint an object may fill: the text and where its box goes (client pixels).
struct TiHintData {
  AnsiString Text;
  int32_t Top = 0;
  int32_t Left = 0;
};

// ============================================================================================
// host interface
// ============================================================================================

// What a plot object needs of the plot it belongs to.  The event raisers pass the object itself;
// the plot finds its kind and its index in the kind's manager, and fires nothing while it is
// being read from a stored definition or when the object's kind has no such event.
class TiPlotObjectHost {
 public:
  virtual ~TiPlotObjectHost() = default;
  // The text through the plot's translation table.
  virtual AnsiString TranslateText(const AnsiString& Text) = 0;
  virtual void DoObjectMouseDown(TiPlotObject* Obj, TMouseButton Button, TShiftState Shift, int32_t X,
                                 int32_t Y) = 0;
  virtual void DoObjectMouseMove(TiPlotObject* Obj, TShiftState Shift, int32_t X, int32_t Y) = 0;
  virtual void DoObjectMouseUp(TiPlotObject* Obj, TMouseButton Button, TShiftState Shift, int32_t X,
                               int32_t Y) = 0;
  // The click event, or the double-click event when the plot's double-click mark is set.
  virtual void DoObjectClick(TiPlotObject* Obj) = 0;
  virtual void DoObjectPopupMenu(TiPlotObject* Obj, bool& Cancel, int32_t ScreenX, int32_t ScreenY) = 0;
  virtual void DoObjectGotFocus(TiPlotObject* Obj) = 0;
  virtual void DoObjectLostFocus(TiPlotObject* Obj) = 0;
  // Shows a menu an object has built at a screen point.
  virtual void ShowPopupMenu(TPopupMenu* Menu, int32_t ScreenX, int32_t ScreenY) = 0;
  // The plot component itself; nullptr for a stand-in.
  virtual TiPlotComponent* PlotComponent() = 0;
};

// ============================================================================================
// class references
// ============================================================================================

// A class of plot objects as a value: its published description and its constructor, so that a
// manager can create an object of a class chosen at run time.
struct TiPlotObjectClass {
  using TCreate = TiPlotObject* (*)(TiPlotObjectHost* Owner, const TNotifyEvent& OnRename,
                                    const TNotifyEvent& OnRemove, const TNotifyEvent& OnInsert,
                                    const TNotifyEvent& OnChange);
  const TClassInfo& (*Info)() = nullptr;
  TCreate Create = nullptr;

  // Whether Obj is of this class or a class derived from it.
  bool IsInstance(const TObject* Obj) const;
  friend bool operator==(const TiPlotObjectClass& a, const TiPlotObjectClass& b) { return a.Info == b.Info; }
};

template <class T>
const TiPlotObjectClass& PlotClassOf() {
  static const TiPlotObjectClass cls{
      &T::ClassInfo,
      [](TiPlotObjectHost* Owner, const TNotifyEvent& OnRename, const TNotifyEvent& OnRemove,
         const TNotifyEvent& OnInsert, const TNotifyEvent& OnChange) -> TiPlotObject* {
        return new T(Owner, OnRename, OnRemove, OnInsert, OnChange);
      }};
  return cls;
}

// ============================================================================================
// TiPlotObject
// ============================================================================================

class TiPlotObject : public TPersistent {
  PL_CLASS(TiPlotObject)
 public:
  TiPlotObject(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
               const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  // Calls the remove handler, then the layout-change and change handlers (unless Free did).
  ~TiPlotObject() override;
  // Frees Obj, telling the managers while the whole object still exists (kinds that look at the
  // removed object's class see its own); every owner of plot objects frees them this way.
  static void FreeObject(TiPlotObject* Obj);
  void Free() { FreeObject(this); }
  TiPlotObject(const TiPlotObject&) = delete;
  TiPlotObject& operator=(const TiPlotObject&) = delete;

  // ---- virtual operations, in the order the kinds override them --------------------------------
  virtual void SetVisible(bool Value);
  virtual void SetEnabled(bool Value);
  virtual void SetXYAxesReverse(bool Value);
  virtual void DoChange();
  virtual void DoLayoutChange();
  // Obj is about to leave the managers: drop references to it.
  virtual void NotifyObjectRemoved(TiPlotObject* Obj);
  virtual void NotifyObjectRenamed(TiPlotObject* Obj);
  // Obj became selected: a selected object other than Obj deselects itself unless its kind
  // allows joint selection.
  virtual void NotifyObjectSelected(TiPlotObject* Obj);
  virtual void PreparePaint();
  virtual void Draw(TCanvas* Canvas, TColor BackGroundColor);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y, int32_t ScreenX,
                         int32_t ScreenY, TPopupMenu* PopupMenu);
  virtual void MouseMove(TiHintData& HintData, TShiftState Shift, int32_t X, int32_t Y, bool DblClick);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual bool HitTest(const TiMouseRecord& MouseRecord);
  virtual bool MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos);
  virtual void Hover(const TiMouseRecord& MouseRecord, TiHintData& HintData);
  virtual void LeftDown(const TiMouseRecord& MouseRecord);
  virtual void LeftDrag(const TiMouseRecord& MouseRecord);
  virtual void LeftUp(const TiMouseRecord& MouseRecord);
  virtual void DoSelected();
  virtual void DoDeselected();
  virtual void MouseLeave();
  virtual TiPlotObject* SubObjectAt(int32_t X, int32_t Y);
  virtual TCursor GetCursor(const TiMouseRecord& MouseRecord);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void DoInserted();
  // Frees every item of the menu, last first; overrides call it, then add their items.
  virtual void BuildPopupMenu(TPopupMenu* PopupMenu);

  // ---- published properties --------------------------------------------------------------------
  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value);
  bool GetVisible() const { return FVisible; }
  bool GetEnabled() const { return FEnabled; }
  int32_t GetLayer() const { return FLayer; }
  void SetLayer(int32_t Value);
  bool GetPopupEnabled() const { return FPopupEnabled; }
  void SetPopupEnabled(bool Value);

  // ---- state --------------------------------------------------------------------------------------
  TiPlotObjectHost* GetOwnerHost() const { return FOwner; }
  // The plot component; nullptr when the owner is a stand-in.
  TiPlotComponent* Plot() const { return FOwner ? FOwner->PlotComponent() : nullptr; }
  const AnsiString& GetPreviousName() const { return FPreviousName; }
  TShiftState GetShiftState() const { return FShiftState; }
  void SetShiftState(TShiftState Value) { FShiftState = Value; }
  bool GetSelected() const { return FSelected; }
  void SetSelected(bool Value);
  bool GetUserCanEdit() const { return FUserCanEdit; }
  void SetUserCanEdit(bool Value) { FUserCanEdit = Value; }
  bool GetXYAxesReverse() const { return FXYAxesReverse; }
  bool GetPaintEnabled() const { return FPaintEnabled; }
  void SetPaintEnabled(bool Value) { FPaintEnabled = Value; }
  bool GetLeftPressed() const { return FLeftPressed; }
  TiPlotObject* GetCurrentSubObject() const { return FCurrentSubObject; }

  // ---- handlers -----------------------------------------------------------------------------------
  const TNotifyEvent& GetOnLayoutChange() const { return FOnLayoutChange; }
  void SetOnLayoutChange(const TNotifyEvent& Value) { FOnLayoutChange = Value; }
  void SetOnSelected(const TNotifyEvent& Value) { FOnSelected = Value; }
  void SetOnEditRequest(const TNotifyEvent& Value) { FOnEditRequest = Value; }
  void SetOnSelectionChanged(const TNotifyEvent& Value) { FOnSelectionChanged = Value; }
  // Cleared while the plot is destroyed, so that freeing the objects calls nothing back.
  void Detach();

  // ---- non-virtual operations ---------------------------------------------------------------------
  void DoSelectionChanged();
  AnsiString Translate(const AnsiString& Text) const;
  // Appends "Edit..." (translated) when UserCanEdit; its click calls the edit-request handler.
  void AddEditMenuItem(TPopupMenu* PopupMenu);
  // Paint-order key: Layer padded with "0" on the left to at least 6 characters.
  AnsiString LayerKey() const;

  // Typed setters: store a changed value, then Notify (when given).
  using TNotify = void (TiPlotObject::*)();
  void SetBoolField(bool Value, bool& Field, TNotify Notify);
  void SetIntField(int32_t Value, int32_t& Field, TNotify Notify);
  void SetDoubleField(double Value, double& Field, TNotify Notify);
  void SetStringField(const AnsiString& Value, AnsiString& Field, TNotify Notify);
  void SetPointerField(void* Value, void*& Field, TNotify Notify);
  template <class E>
  void SetEnumField(E Value, E& Field, TNotify Notify) {
    if (Value == Field) return;
    Field = Value;
    if (Notify) (this->*Notify)();
  }

 protected:
  // The mouse record of a slot call: the point and its oriented form.
  TiMouseRecord MakeMouseRecord(int32_t X, int32_t Y, TShiftState Shift) const;
  void SetCurrentSubObject(TiPlotObject* Value) { FCurrentSubObject = Value; }
  void SetLeftPressed(bool Value) { FLeftPressed = Value; }
  const TNotifyEvent& GetOnChange() const { return FOnChange; }
  const TNotifyEvent& GetOnInsert() const { return FOnInsert; }
  const TNotifyEvent& GetOnRemove() const { return FOnRemove; }
  const TNotifyEvent& GetOnRename() const { return FOnRename; }

 private:
  void EditMenuItemClick(TObject* Sender);

  AnsiString FName;
  AnsiString FPreviousName;
  TiPlotObjectHost* FOwner = nullptr;
  TShiftState FShiftState;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnLayoutChange;
  TNotifyEvent FOnRemove;
  TNotifyEvent FOnInsert;
  TNotifyEvent FOnRename;
  TNotifyEvent FOnSelected;
  TNotifyEvent FOnEditRequest;
  TNotifyEvent FOnSelectionChanged;
  bool FVisible = true;
  bool FEnabled = true;
  int32_t FLayer = 100;
  bool FPopupEnabled = true;
  bool FSelected = false;
  bool FUserCanEdit = false;
  bool FXYAxesReverse = false;
  bool FPaintEnabled = false;
  TiPlotObject* FCurrentSubObject = nullptr;
  bool FLeftPressed = false;
  bool FRemoveNotified = false;

  void NotifyDestroying();
};

// Whether Renamed is the object that a reference by Name means: the object the reference had
// looked up (Cached), or, before any look-up, Found (the object now under the new name) when it
// carried Name before; such references then take the new name.
bool PlotReferenceRenamed(const TiPlotObject* Renamed, const TiPlotObject* Cached, const AnsiString& Name,
                          const TiPlotObject* Found);

// ============================================================================================
// TiPlotManagerObject
// ============================================================================================

// A plot object whose constructor refuses a missing owner or handler.
class TiPlotManagerObject : public TiPlotObject {
  PL_CLASS(TiPlotManagerObject)
 public:
  // Raises Exception "Owner must be assigned", "OnChange event handler can not be null",
  // "OnInsert ...", "OnRemove ...", "AOnRename event handler can not be null", in that order.
  TiPlotManagerObject(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                      const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};

// ============================================================================================
// TiPlotLayoutObject
// ============================================================================================

// An object the layout places in a band beside the data view.
class TiPlotLayoutObject : public TiPlotManagerObject {
  PL_CLASS(TiPlotLayoutObject)
 public:
  TiPlotLayoutObject(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  // Left and top inclusive, right and bottom exclusive, on the client point.
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  // The insert handler, then the layout-change handler.
  void DoInserted() override;

  virtual bool IsHorizontal();
  virtual bool IsVertical();
  // Pixels across the band (height when horizontal, width when vertical).
  virtual int32_t RequiredThickness(TCanvas* Canvas);
  // Pixels beyond each end of the span.
  virtual int32_t RequiredEndMargin(TCanvas* Canvas);

  bool GetHorizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value);
  int32_t GetZOrder() const { return FZOrder; }
  void SetZOrder(int32_t Value);
  double GetStartPercent() const { return FStartPercent; }
  void SetStartPercent(double Value);
  double GetStopPercent() const { return FStopPercent; }
  void SetStopPercent(double Value);
  bool GetForceStacking() const { return FForceStacking; }
  void SetForceStacking(bool Value);
  bool GetAfterDataView() const { return FAfterDataView; }
  void SetAfterDataView(bool Value);
  // Both without checks (the layout viewer).
  void SetPercents(double Start, double Stop);

  // The rectangle the layout placed the object in; only the layout writes it, silently.
  const TRect& GetLayoutRect() const { return FLayoutRect; }
  void SetLayoutRect(const TRect& Value) { FLayoutRect = Value; }
  void SetLayoutRectLeft(int32_t Value) { FLayoutRect.Left = Value; }
  void SetLayoutRectTop(int32_t Value) { FLayoutRect.Top = Value; }
  void SetLayoutRectRight(int32_t Value) { FLayoutRect.Right = Value; }
  void SetLayoutRectBottom(int32_t Value) { FLayoutRect.Bottom = Value; }
  int32_t LayoutWidth() const { return FLayoutRect.Right - FLayoutRect.Left; }
  int32_t LayoutHeight() const { return FLayoutRect.Bottom - FLayoutRect.Top; }
  bool GetHasPrevNeighbour() const { return FHasPrevNeighbour; }
  void SetHasPrevNeighbour(bool Value) { FHasPrevNeighbour = Value; }
  bool GetHasNextNeighbour() const { return FHasNextNeighbour; }
  void SetHasNextNeighbour(bool Value) { FHasNextNeighbour = Value; }
  const TRect& GetViewerRect() const { return FViewerRect; }
  void SetViewerRect(const TRect& Value) { FViewerRect = Value; }

  // Sorting keys: ZOrder padded to 3 characters; StartPercent rounded (halves to even), padded to 3.
  AnsiString ZOrderKey() const;
  AnsiString StartPercentKey() const;

 private:
  bool FHorizontal = false;
  int32_t FZOrder = 0;
  double FStartPercent = 0;
  double FStopPercent = 100;
  bool FForceStacking = false;
  bool FAfterDataView = false;
  TRect FLayoutRect{0, 0, 0, 0};
  bool FHasPrevNeighbour = false;
  bool FHasNextNeighbour = false;
  TRect FViewerRect{0, 0, 0, 0};
};

// ============================================================================================
// TiPlotButton
// ============================================================================================

// A clickable rectangle drawn by a legend, table or toolbar: pressed state, optional auto-repeat
// (first repeat after 500 ms, then every 50 ms) and a click handler.
class TiPlotButton : public TiPlotObject {
  PL_CLASS(TiPlotButton)
 public:
  TiPlotButton(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
               const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotButton() override;

  void SetEnabled(bool Value) override;
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftDrag(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;

  const TRect& GetButtonRect() const { return FButtonRect; }
  void SetButtonRect(const TRect& Value) { FButtonRect = Value; }
  int32_t ButtonWidth() const { return FButtonRect.Right - FButtonRect.Left; }
  int32_t ButtonHeight() const { return FButtonRect.Bottom - FButtonRect.Top; }
  bool GetDown() const { return FDown; }
  void SetDown(bool Value);
  int32_t GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t Value) { FGroupIndex = Value; }
  bool GetAutoRepeat() const { return FAutoRepeat; }
  void SetAutoRepeat(bool Value) { FAutoRepeat = Value; }
  TTimer* RepeatTimer() const { return FRepeatTimer.get(); }

  TNotifyEvent OnClick;
  TNotifyEvent OnGroup;
  TNotifyEvent OnRedraw;
  TNotifyEvent OnDownChange;

 private:
  void RepeatTick(TObject* Sender);
  void FreeRepeatTimer();

  TRect FButtonRect{0, 0, 0, 0};
  bool FDown = false;
  int32_t FGroupIndex = 0;
  bool FAutoRepeat = false;
  bool FFirstTickPending = false;
  std::unique_ptr<TTimer> FRepeatTimer;
};

// The face of a small scroll button (raised, sunken while pressed) with a triangle pointing up or
// down around its centre, black or, while disabled, grey: the legends' and tables' buttons.
void DrawPlotScrollButton(TCanvas* Canvas, const TRect& Rect, bool Up, bool Pressed, bool Enabled);

// The dotted focus frame of a selected plot object, inverting the pixels under its dots so that it
// shows on any background (the platform frame combines its dots with the brush colour).
void DrawPlotFocusFrame(TCanvas* Canvas, const TRect& Rect);

// ============================================================================================
// TiMenuItem
// ============================================================================================

// A menu item carrying one extra text (the data cursor's channel menu keeps each entry's channel
// name in it).
class TiMenuItem : public TMenuItem {
  PL_CLASS(TiMenuItem)
 public:
  explicit TiMenuItem(TComponent* AOwner) : TMenuItem(AOwner) {}
  const AnsiString& GetExtraText() const { return FExtraText; }
  void SetExtraText(const AnsiString& Value) { FExtraText = Value; }

 private:
  AnsiString FExtraText;
};
