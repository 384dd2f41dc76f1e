// The plotting area inside the axes, where channels, limits, annotations and data cursors are
// drawn: its background, grid and frame, the zoom box of the toolbar's ZoomBox mode, the axes
// control by mouse drag and wheel, and the conversions between pixels and percent of the area.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotObjects.h"

class TiPlotAxis;

// The pen styles of grid lines (published under the type name TiPlotGridLineStyle).
enum TiPlotGridLinePenStyle : uint8_t { ipglsSolid, ipglsDash, ipglsDot };
template <>
const EnumNames& EnumNamesOf<TiPlotGridLinePenStyle>();
enum TiPlotAxesControlStyle : uint8_t { ipacsXAxis, ipacsYAxis, ipacsBoth };
template <>
const EnumNames& EnumNamesOf<TiPlotAxesControlStyle>();

class TiPlotDataView : public TiPlotLayoutObject {
  PL_CLASS(TiPlotDataView)
 public:
  TiPlotDataView(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                 const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  const AnsiString& GetTitle() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { SetStringField(Value, FTitle, &TiPlotObject::DoChange); }
  bool GetBackgroundTransparent() const { return FBackgroundTransparent; }
  void SetBackgroundTransparent(bool Value) {
    SetBoolField(Value, FBackgroundTransparent, &TiPlotObject::DoChange);
  }
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value) { SetIntField(Value, FBackgroundColor, &TiPlotObject::DoChange); }
  const AnsiString& GetGridXAxisName() const { return FGridXAxisName; }
  void SetGridXAxisName(const AnsiString& Value);
  const AnsiString& GetGridYAxisName() const { return FGridYAxisName; }
  void SetGridYAxisName(const AnsiString& Value);
  bool GetGridShow() const { return FGridShow; }
  void SetGridShow(bool Value) { SetBoolField(Value, FGridShow, &TiPlotObject::DoChange); }
  TColor GetGridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor Value) { SetIntField(Value, FGridLineColor, &TiPlotObject::DoChange); }
  bool GetGridLineShowLeft() const { return FGridLineShowLeft; }
  void SetGridLineShowLeft(bool Value) { SetBoolField(Value, FGridLineShowLeft, &TiPlotObject::DoChange); }
  bool GetGridLineShowTop() const { return FGridLineShowTop; }
  void SetGridLineShowTop(bool Value) { SetBoolField(Value, FGridLineShowTop, &TiPlotObject::DoChange); }
  bool GetGridLineShowRight() const { return FGridLineShowRight; }
  void SetGridLineShowRight(bool Value) { SetBoolField(Value, FGridLineShowRight, &TiPlotObject::DoChange); }
  bool GetGridLineShowBottom() const { return FGridLineShowBottom; }
  void SetGridLineShowBottom(bool Value) {
    SetBoolField(Value, FGridLineShowBottom, &TiPlotObject::DoChange);
  }
  bool GetGridLineShowXMajors() const { return FGridLineShowXMajors; }
  void SetGridLineShowXMajors(bool Value) {
    SetBoolField(Value, FGridLineShowXMajors, &TiPlotObject::DoChange);
  }
  bool GetGridLineShowYMajors() const { return FGridLineShowYMajors; }
  void SetGridLineShowYMajors(bool Value) {
    SetBoolField(Value, FGridLineShowYMajors, &TiPlotObject::DoChange);
  }
  bool GetGridLineShowXMinors() const { return FGridLineShowXMinors; }
  void SetGridLineShowXMinors(bool Value) {
    SetBoolField(Value, FGridLineShowXMinors, &TiPlotObject::DoChange);
  }
  bool GetGridLineShowYMinors() const { return FGridLineShowYMinors; }
  void SetGridLineShowYMinors(bool Value) {
    SetBoolField(Value, FGridLineShowYMinors, &TiPlotObject::DoChange);
  }
  TiPlotGridLinePenStyle GetGridLineMajorStyle() const { return FGridLineMajorStyle; }
  void SetGridLineMajorStyle(TiPlotGridLinePenStyle Value) {
    SetEnumField(Value, FGridLineMajorStyle, &TiPlotObject::DoChange);
  }
  TiPlotGridLinePenStyle GetGridLineMinorStyle() const { return FGridLineMinorStyle; }
  void SetGridLineMinorStyle(TiPlotGridLinePenStyle Value) {
    SetEnumField(Value, FGridLineMinorStyle, &TiPlotObject::DoChange);
  }
  bool GetGridLineXMajorCustom() const { return FGridLineXMajorCustom; }
  void SetGridLineXMajorCustom(bool Value) {
    SetBoolField(Value, FGridLineXMajorCustom, &TiPlotObject::DoChange);
  }
  bool GetGridLineXMinorCustom() const { return FGridLineXMinorCustom; }
  void SetGridLineXMinorCustom(bool Value) {
    SetBoolField(Value, FGridLineXMinorCustom, &TiPlotObject::DoChange);
  }
  bool GetGridLineYMajorCustom() const { return FGridLineYMajorCustom; }
  void SetGridLineYMajorCustom(bool Value) {
    SetBoolField(Value, FGridLineYMajorCustom, &TiPlotObject::DoChange);
  }
  bool GetGridLineYMinorCustom() const { return FGridLineYMinorCustom; }
  void SetGridLineYMinorCustom(bool Value) {
    SetBoolField(Value, FGridLineYMinorCustom, &TiPlotObject::DoChange);
  }
  TColor GetGridLineXMajorColor() const { return FGridLineXMajorColor; }
  void SetGridLineXMajorColor(TColor Value) {
    SetIntField(Value, FGridLineXMajorColor, &TiPlotObject::DoChange);
  }
  TColor GetGridLineXMinorColor() const { return FGridLineXMinorColor; }
  void SetGridLineXMinorColor(TColor Value) {
    SetIntField(Value, FGridLineXMinorColor, &TiPlotObject::DoChange);
  }
  TColor GetGridLineYMajorColor() const { return FGridLineYMajorColor; }
  void SetGridLineYMajorColor(TColor Value) {
    SetIntField(Value, FGridLineYMajorColor, &TiPlotObject::DoChange);
  }
  TColor GetGridLineYMinorColor() const { return FGridLineYMinorColor; }
  void SetGridLineYMinorColor(TColor Value) {
    SetIntField(Value, FGridLineYMinorColor, &TiPlotObject::DoChange);
  }
  int32_t GetGridLineXMajorWidth() const { return FGridLineXMajorWidth; }
  void SetGridLineXMajorWidth(int32_t Value) {
    SetIntField(Value, FGridLineXMajorWidth, &TiPlotObject::DoChange);
  }
  int32_t GetGridLineXMinorWidth() const { return FGridLineXMinorWidth; }
  void SetGridLineXMinorWidth(int32_t Value) {
    SetIntField(Value, FGridLineXMinorWidth, &TiPlotObject::DoChange);
  }
  int32_t GetGridLineYMajorWidth() const { return FGridLineYMajorWidth; }
  void SetGridLineYMajorWidth(int32_t Value) {
    SetIntField(Value, FGridLineYMajorWidth, &TiPlotObject::DoChange);
  }
  int32_t GetGridLineYMinorWidth() const { return FGridLineYMinorWidth; }
  void SetGridLineYMinorWidth(int32_t Value) {
    SetIntField(Value, FGridLineYMinorWidth, &TiPlotObject::DoChange);
  }
  TiPlotGridLinePenStyle GetGridLineXMajorStyle() const { return FGridLineXMajorStyle; }
  void SetGridLineXMajorStyle(TiPlotGridLinePenStyle Value) {
    SetEnumField(Value, FGridLineXMajorStyle, &TiPlotObject::DoChange);
  }
  TiPlotGridLinePenStyle GetGridLineXMinorStyle() const { return FGridLineXMinorStyle; }
  void SetGridLineXMinorStyle(TiPlotGridLinePenStyle Value) {
    SetEnumField(Value, FGridLineXMinorStyle, &TiPlotObject::DoChange);
  }
  TiPlotGridLinePenStyle GetGridLineYMajorStyle() const { return FGridLineYMajorStyle; }
  void SetGridLineYMajorStyle(TiPlotGridLinePenStyle Value) {
    SetEnumField(Value, FGridLineYMajorStyle, &TiPlotObject::DoChange);
  }
  TiPlotGridLinePenStyle GetGridLineYMinorStyle() const { return FGridLineYMinorStyle; }
  void SetGridLineYMinorStyle(TiPlotGridLinePenStyle Value) {
    SetEnumField(Value, FGridLineYMinorStyle, &TiPlotObject::DoChange);
  }
  bool GetAxesControlEnabled() const { return FAxesControlEnabled; }
  void SetAxesControlEnabled(bool Value);
  TiPlotAxesControlStyle GetAxesControlMouseStyle() const { return FAxesControlMouseStyle; }
  void SetAxesControlMouseStyle(TiPlotAxesControlStyle Value) {
    SetEnumField(Value, FAxesControlMouseStyle, &TiPlotObject::DoChange);
  }
  TiPlotAxesControlStyle GetAxesControlWheelStyle() const { return FAxesControlWheelStyle; }
  void SetAxesControlWheelStyle(TiPlotAxesControlStyle Value) {
    SetEnumField(Value, FAxesControlWheelStyle, &TiPlotObject::DoChange);
  }

  // Fills the layout rectangle with BackgroundColor unless BackgroundTransparent.
  void DrawBackground(TCanvas* Canvas);

  // ---- percent of the area: 0 % at the left (X) and at the bottom (Y) ------------------------
  double XPixelToPercent(int32_t X) const;
  double YPixelToPercent(int32_t Y) const;
  int32_t XPercentToPixel(double Percent) const;
  int32_t YPercentToPixel(double Percent) const;

  // ---- mouse ---------------------------------------------------------------------------------
  // 2 while toolbar 0's Select button is down, else 1 while its ZoomBox button is down, else 3
  // with AxesControlEnabled, else 0.
  int32_t MouseMode() const;
  // Asks OnBeforeZoomBox, then every X axis and every Y axis takes the rectangle's range.
  void ApplyZoomBox(const TRect& Rect);
  bool Dragging() const { return FDragging; }

  // ---- object operations ---------------------------------------------------------------------
  void NotifyObjectRemoved(TiPlotObject* Obj) override;
  void NotifyObjectRenamed(TiPlotObject* Obj) override;
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos) override;
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftDrag(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  // crDrag in the zoom-box mode, crHandPoint with axes control, while the view is under the mouse.
  TCursor GetCursor(const TiMouseRecord& MouseRecord) override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;

 private:
  TiPlotAxis* GridAxis(bool XAxes);
  void DrawGrid(TCanvas* Canvas, bool XAxes);
  // The axes of a kind in manager order (none without a plot).
  std::vector<TiPlotAxis*> Axes(bool XAxes) const;

  AnsiString FTitle = "";
  bool FBackgroundTransparent = true;
  TColor FBackgroundColor = 0x808000;
  AnsiString FGridXAxisName = "";
  AnsiString FGridYAxisName = "";
  bool FGridShow = true;
  TColor FGridLineColor = 0x008000;
  bool FGridLineShowLeft = true;
  bool FGridLineShowTop = true;
  bool FGridLineShowRight = true;
  bool FGridLineShowBottom = true;
  bool FGridLineShowXMajors = true;
  bool FGridLineShowYMajors = true;
  bool FGridLineShowXMinors = false;
  bool FGridLineShowYMinors = false;
  TiPlotGridLinePenStyle FGridLineMajorStyle = ipglsSolid;
  TiPlotGridLinePenStyle FGridLineMinorStyle = ipglsSolid;
  bool FGridLineXMajorCustom = false;
  bool FGridLineXMinorCustom = false;
  bool FGridLineYMajorCustom = false;
  bool FGridLineYMinorCustom = false;
  TColor FGridLineXMajorColor = 0x008000;
  TColor FGridLineXMinorColor = 0x008000;
  TColor FGridLineYMajorColor = 0x008000;
  TColor FGridLineYMinorColor = 0x008000;
  int32_t FGridLineXMajorWidth = 0;
  int32_t FGridLineXMinorWidth = 0;
  int32_t FGridLineYMajorWidth = 0;
  int32_t FGridLineYMinorWidth = 0;
  TiPlotGridLinePenStyle FGridLineXMajorStyle = ipglsSolid;
  TiPlotGridLinePenStyle FGridLineXMinorStyle = ipglsSolid;
  TiPlotGridLinePenStyle FGridLineYMajorStyle = ipglsSolid;
  TiPlotGridLinePenStyle FGridLineYMinorStyle = ipglsSolid;
  bool FAxesControlEnabled = false;
  TiPlotAxesControlStyle FAxesControlMouseStyle = ipacsBoth;
  TiPlotAxesControlStyle FAxesControlWheelStyle = ipacsXAxis;

  // The grid's axes, found by name on first use (not owned).
  TiPlotAxis* FGridXAxis = nullptr;
  TiPlotAxis* FGridYAxis = nullptr;
  // The gesture in progress: zoom box corners, and which axes a drag moves once decided.
  bool FDragging = false;
  TPoint FStart{0, 0};
  TPoint FCurrent{0, 0};
  bool FDecided = false;
  bool FXChosen = false;
};
