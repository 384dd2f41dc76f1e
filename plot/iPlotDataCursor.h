// A data cursor reads values off a channel: one or two pointer lines across the data view and a
// hint box with the reading.  This unit holds its published settings (it starts hidden); the
// readings, drawing and input join it with the data cursor's own behaviour.
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
  void SetChannelName(const AnsiString& Value) {
    SetStringField(Value, FChannelName, &TiPlotObject::DoChange);
  }
  bool GetChannelAllowAll() const { return FChannelAllowAll; }
  void SetChannelAllowAll(bool Value) { SetBoolField(Value, FChannelAllowAll, &TiPlotObject::DoChange); }
  bool GetChannelShowAllInLegend() const { return FChannelShowAllInLegend; }
  void SetChannelShowAllInLegend(bool Value) {
    SetBoolField(Value, FChannelShowAllInLegend, &TiPlotObject::DoChange);
  }
  TiPlotDataCursorStyle GetStyle() const { return FStyle; }
  void SetStyle(TiPlotDataCursorStyle Value) { SetEnumField(Value, FStyle, &TiPlotObject::DoChange); }
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
  // Brings the reading up to date (before and during each paint).
  virtual void UpdateReading() {}

 private:
  void FontChanged(TObject*) { DoChange(); }
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
};
