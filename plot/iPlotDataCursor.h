// A data cursor reads values off a channel: one or two pointer lines across the data view and a
// hint box with the reading.  It is bound to one channel by name, or to all channels ("<All>"),
// whose readings then go to legend 0 instead of the hint.  It starts hidden; the toolbar's Cursor
// button shows and hides it.
//
// Sections: published properties / reading / pointers and hint / object operations.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotObjects.h"

class TiPlotDataView;

enum TiOrientationSide : uint8_t { iosBottomRight, iosTopLeft };
template <>
const EnumNames& EnumNamesOf<TiOrientationSide>();

class TiPlotDataCursor : public TiPlotManagerObject {
  PL_CLASS(TiPlotDataCursor)
 public:
  TiPlotDataCursor(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                   const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotDataCursor() override;

  const AnsiString& GetChannelName() const { return FChannelName; }
  // Also forgets the channel looked up by the old name.
  void SetChannelName(const AnsiString& Value);
  bool GetChannelAllowAll() const { return FChannelAllowAll; }
  void SetChannelAllowAll(bool Value) { SetBoolField(Value, FChannelAllowAll, &TiPlotObject::DoChange); }
  bool GetChannelShowAllInLegend() const { return FChannelShowAllInLegend; }
  void SetChannelShowAllInLegend(bool Value) {
    SetBoolField(Value, FChannelShowAllInLegend, &TiPlotObject::DoChange);
  }
  TiPlotDataCursorStyle GetStyle() const { return FStyle; }
  // Also sets the pointers up for the style.
  void SetStyle(TiPlotDataCursorStyle Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { SetIntField(Value, FColor, &TiPlotObject::DoChange); }
  bool GetUseChannelColor() const { return FUseChannelColor; }
  void SetUseChannelColor(bool Value) { SetBoolField(Value, FUseChannelColor, &TiPlotObject::DoChange); }
  bool GetHintShow() const { return FHintShow; }
  void SetHintShow(bool Value) { SetBoolField(Value, FHintShow, &TiPlotObject::DoChange); }
  bool GetHintHideOnRelease() const { return FHintHideOnRelease; }
  void SetHintHideOnRelease(bool Value) { SetBoolField(Value, FHintHideOnRelease, &TiPlotObject::DoChange); }
  TiOrientationSide GetHintOrientationSide() const { return FHintOrientationSide; }
  void SetHintOrientationSide(TiOrientationSide Value) {
    SetEnumField(Value, FHintOrientationSide, &TiPlotObject::DoChange);
  }
  double GetHintPosition() const { return FHintPosition; }
  void SetHintPosition(double Value) { SetDoubleField(Value, FHintPosition, &TiPlotObject::DoChange); }
  double GetPointer1Position() const { return FPointer1Position; }
  void SetPointer1Position(double Value);
  double GetPointer2Position() const { return FPointer2Position; }
  void SetPointer2Position(double Value);
  int32_t GetPointerPenWidth() const { return FPointerPenWidth; }
  void SetPointerPenWidth(int32_t Value) { SetIntField(Value, FPointerPenWidth, &TiPlotObject::DoChange); }
  bool GetMenuUserCanChangeOptions() const { return FMenuUserCanChangeOptions; }
  void SetMenuUserCanChangeOptions(bool Value) {
    SetBoolField(Value, FMenuUserCanChangeOptions, &TiPlotObject::DoChange);
  }
  bool GetMenuItemVisibleValueXY() const { return FMenuItemVisibleValueXY; }
  void SetMenuItemVisibleValueXY(bool Value) {
    SetBoolField(Value, FMenuItemVisibleValueXY, &TiPlotObject::DoChange);
  }
  bool GetMenuItemVisibleValueX() const { return FMenuItemVisibleValueX; }
  void SetMenuItemVisibleValueX(bool Value) {
    SetBoolField(Value, FMenuItemVisibleValueX, &TiPlotObject::DoChange);
  }
  bool GetMenuItemVisibleValueY() const { return FMenuItemVisibleValueY; }
  void SetMenuItemVisibleValueY(bool Value) {
    SetBoolField(Value, FMenuItemVisibleValueY, &TiPlotObject::DoChange);
  }
  bool GetMenuItemVisibleDeltaX() const { return FMenuItemVisibleDeltaX; }
  void SetMenuItemVisibleDeltaX(bool Value) {
    SetBoolField(Value, FMenuItemVisibleDeltaX, &TiPlotObject::DoChange);
  }
  bool GetMenuItemVisibleDeltaY() const { return FMenuItemVisibleDeltaY; }
  void SetMenuItemVisibleDeltaY(bool Value) {
    SetBoolField(Value, FMenuItemVisibleDeltaY, &TiPlotObject::DoChange);
  }
  bool GetMenuItemVisibleInverseDeltaX() const { return FMenuItemVisibleInverseDeltaX; }
  void SetMenuItemVisibleInverseDeltaX(bool Value) {
    SetBoolField(Value, FMenuItemVisibleInverseDeltaX, &TiPlotObject::DoChange);
  }
  const AnsiString& GetMenuItemCaptionValueXY() const { return FMenuItemCaptionValueXY; }
  void SetMenuItemCaptionValueXY(const AnsiString& Value) {
    SetStringField(Value, FMenuItemCaptionValueXY, &TiPlotObject::DoChange);
  }
  const AnsiString& GetMenuItemCaptionValueX() const { return FMenuItemCaptionValueX; }
  void SetMenuItemCaptionValueX(const AnsiString& Value) {
    SetStringField(Value, FMenuItemCaptionValueX, &TiPlotObject::DoChange);
  }
  const AnsiString& GetMenuItemCaptionValueY() const { return FMenuItemCaptionValueY; }
  void SetMenuItemCaptionValueY(const AnsiString& Value) {
    SetStringField(Value, FMenuItemCaptionValueY, &TiPlotObject::DoChange);
  }
  const AnsiString& GetMenuItemCaptionDeltaX() const { return FMenuItemCaptionDeltaX; }
  void SetMenuItemCaptionDeltaX(const AnsiString& Value) {
    SetStringField(Value, FMenuItemCaptionDeltaX, &TiPlotObject::DoChange);
  }
  const AnsiString& GetMenuItemCaptionDeltaY() const { return FMenuItemCaptionDeltaY; }
  void SetMenuItemCaptionDeltaY(const AnsiString& Value) {
    SetStringField(Value, FMenuItemCaptionDeltaY, &TiPlotObject::DoChange);
  }
  const AnsiString& GetMenuItemCaptionInverseDeltaX() const { return FMenuItemCaptionInverseDeltaX; }
  void SetMenuItemCaptionInverseDeltaX(const AnsiString& Value) {
    SetStringField(Value, FMenuItemCaptionInverseDeltaX, &TiPlotObject::DoChange);
  }

  // The data view the cursor measures in (the plot gives it data view 0 before each paint).
  TiPlotDataView* GetDataView() const { return FDataView; }
  void SetDataView(TiPlotDataView* Value) { FDataView = Value; }

  // ==========================================================================================
  // reading
  // ==========================================================================================

  // The channel name that binds the cursor to every channel.
  static const char* AllChannelsName() { return "<All>"; }
  bool IsAllChannels() const { return FChannelName == AllChannelsName(); }
  // The bound channel, looked up by name on first use; nullptr with "<All>" or when no channel
  // has the name.
  TiPlotChannelCustom* Channel();
  // Fires OnBeforeDataCursorUpdate, then lets the bound channel (every channel with "<All>")
  // compute the reading and hand it back through SetReading and SetText.
  void UpdateReading();
  // Stores the reading (status 0 a value, 1 "Null", 2 "Empty"); fires OnDataCursorChange when
  // any part of it changed.
  void SetReading(uint8_t Status, double Y, double X);
  uint8_t GetReadingStatus() const { return FReadingStatus; }
  double GetReadingX() const { return FReadingX; }
  double GetReadingY() const { return FReadingY; }
  // The reading's text, which the hint shows.
  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value) { FText = Value; }

  // ==========================================================================================
  // pointers and hint
  // ==========================================================================================

  // A pointer's pixel along its own direction: the Y pixel of a horizontal pointer, the X pixel of
  // a vertical one; 0 without a data view.  The channels turn these into axis values.
  int32_t Pointer1Pixel() const;
  int32_t Pointer2Pixel() const;
  // The pointers the style uses and their direction (inverted with XYAxesReverse).
  bool GetPointer1Active() const { return FPointer1Active; }
  bool GetPointer2Active() const { return FPointer2Active; }
  bool GetPointer1Horizontal() const { return FPointer1Horizontal; }
  bool GetPointer2Horizontal() const { return FPointer2Horizontal; }
  bool GetHintMovesAlongX() const { return FHintMovesAlongX; }
  // Where the last drawing put the pointers' hit areas and the hint (client pixels).
  const TRect& GetPointer1Rect() const { return FPointer1Rect; }
  const TRect& GetPointer2Rect() const { return FPointer2Rect; }
  const TRect& GetHintRect() const { return FHintRect; }
  bool GetHintShown() const { return FHintShown; }
  enum TDragPart : uint8_t { dpNone, dpPointer1, dpPointer2, dpHint };
  TDragPart GetDragPart() const { return FDragPart; }

  // ==========================================================================================
  // object operations
  // ==========================================================================================

  // Showing the cursor brings its reading up to date.
  void SetVisible(bool Value) override;
  void SetXYAxesReverse(bool Value) override;
  void NotifyObjectRemoved(TiPlotObject* Obj) override;
  void NotifyObjectRenamed(TiPlotObject* Obj) override;
  // The cursor stays selected with its own channel, follows another channel selected while it is
  // selected, and deselects itself for any other object.
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  // The pointers, then (unless bound to all channels) the hint box with the reading.
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  // The hint, else pointer 1, else pointer 2 under the point is dragged.
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftDrag(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  // Also selects the bound channel.
  void DoSelected() override;
  TCursor GetCursor(const TiMouseRecord& MouseRecord) override;
  // Page Up/Down, Home, End and the arrows move pointer 2, or with Ctrl pointer 1 and the hint.
  void KeyDown(WORD& Key, TShiftState Shift) override;
  // "Channel", "Style", "Options", "Flip Alignment" and "Edit...".
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;

 private:
  void FontChanged(TObject*) { DoChange(); }
  void UpdatePointerConfiguration();
  int32_t PointerPixel(double Position, bool Horizontal) const;
  // The pixel of a part's position along the direction it moves in, and back to a percent.
  bool PartMovesAlongX(TDragPart Part) const;
  double PartPosition(TDragPart Part) const;
  void SetPartPosition(TDragPart Part, double Value);
  int32_t PartPixel(TDragPart Part) const;
  TColor PointerColor();
  void DrawPointer(TCanvas* Canvas, double Position, bool Horizontal, bool Dragged, TRect& HitRect);
  void DrawHint(TCanvas* Canvas, TColor PenColor);
  void ChannelMenuClick(TObject* Sender);
  void StyleMenuClick(TObject* Sender);
  void UseChannelColorMenuClick(TObject* Sender);
  void HideHintOnReleaseMenuClick(TObject* Sender);
  void FlipAlignmentMenuClick(TObject* Sender);

  AnsiString FChannelName = "";
  bool FChannelAllowAll = true;
  bool FChannelShowAllInLegend = true;
  TiPlotDataCursorStyle FStyle = ipcsValueXY;
  std::unique_ptr<TFont> FFont;
  TColor FColor = 0x00FFFF;
  bool FUseChannelColor = true;
  bool FHintShow = true;
  bool FHintHideOnRelease = false;
  TiOrientationSide FHintOrientationSide = iosBottomRight;
  double FHintPosition = 50;
  double FPointer1Position = 50;
  double FPointer2Position = 60;
  int32_t FPointerPenWidth = 1;
  bool FMenuUserCanChangeOptions = true;
  bool FMenuItemVisibleValueXY = true;
  bool FMenuItemVisibleValueX = true;
  bool FMenuItemVisibleValueY = true;
  bool FMenuItemVisibleDeltaX = true;
  bool FMenuItemVisibleDeltaY = true;
  bool FMenuItemVisibleInverseDeltaX = true;
  AnsiString FMenuItemCaptionValueXY = "Value X-Y";
  AnsiString FMenuItemCaptionValueX = "Value X";
  AnsiString FMenuItemCaptionValueY = "Value Y";
  AnsiString FMenuItemCaptionDeltaX = "Period";
  AnsiString FMenuItemCaptionDeltaY = "Peak-Peak";
  AnsiString FMenuItemCaptionInverseDeltaX = "Frequency";
  TiPlotDataView* FDataView = nullptr;

  TiPlotChannelCustom* FChannel = nullptr;
  bool FPointer1Active = true;
  bool FPointer2Active = false;
  bool FPointer1Horizontal = false;
  bool FPointer2Horizontal = false;
  bool FHintMovesAlongX = false;
  TRect FPointer1Rect{0, 0, 0, 0};
  TRect FPointer2Rect{0, 0, 0, 0};
  TRect FHintRect{0, 0, 0, 0};
  bool FHintShown = false;
  TDragPart FDragPart = dpNone;
  TPoint FDownPoint{0, 0};
  int32_t FDragStartPixel = 0;
  uint8_t FReadingStatus = 0;
  double FReadingX = 0;
  double FReadingY = 0;
  AnsiString FText;
};
