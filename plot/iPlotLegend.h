// The plot's legend: one row per channel with its line sample, name and chosen values, wrapped
// into rows and columns; two small buttons page through rows that do not fit, and a press on a
// row acts on its channel.
//
// Sections: published settings / rows and layout / drawing and input.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotObjects.h"

enum TiPlotLegendChannelNameColorStyle : uint8_t {
  iplcncsFont,
  iplcncsChannelColor,
  iplcncsXAxisFontColor,
  iplcncsYAxisFontColor
};
template <>
const EnumNames& EnumNamesOf<TiPlotLegendChannelNameColorStyle>();

class TiPlotChannelCustom;

// ============================================================================================
// rows and scroll buttons
// ============================================================================================

// One row of the legend: its channel (not owned) and where the last layout put it.
struct TiPlotLegendItem {
  TiPlotChannelCustom* Channel = nullptr;
  int32_t Height = 0;
  int32_t X = 0, Y = 0;
  // Both counted from 1.
  int32_t RowColumn = 0, Row = 0;
};

// The legend's columns, in their order from the left.
enum TiPlotLegendColumn : uint8_t {
  iplcLine,
  iplcMarker,
  iplcName,
  iplcXAxisTitle,
  iplcYAxisTitle,
  iplcXValue,
  iplcYValue,
  iplcYMax,
  iplcYMin,
  iplcYMean,
  iplcCount
};

// A scroll button of the legend: a small face with a triangle pointing up or down.
class TiPlotLegendButton : public TiPlotButton {
  PL_CLASS(TiPlotLegendButton)
 public:
  TiPlotLegendButton(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                     const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool GetPointsUp() const { return FPointsUp; }
  void SetPointsUp(bool Value) { FPointsUp = Value; }

 private:
  bool FPointsUp = true;
};

// ============================================================================================
// TiPlotLegend
// ============================================================================================

class TiPlotLegend : public TiPlotLayoutObject {
  PL_CLASS(TiPlotLegend)
 public:
  TiPlotLegend(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
               const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotLegend() override;

  double GetMarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(double Value) { SetDoubleField(Value, FMarginLeft, &TiPlotObject::DoChange); }
  double GetMarginRight() const { return FMarginRight; }
  void SetMarginRight(double Value) { SetDoubleField(Value, FMarginRight, &TiPlotObject::DoChange); }
  double GetMarginTop() const { return FMarginTop; }
  void SetMarginTop(double Value) { SetDoubleField(Value, FMarginTop, &TiPlotObject::DoChange); }
  double GetMarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(double Value) { SetDoubleField(Value, FMarginBottom, &TiPlotObject::DoChange); }
  TColor GetBackGroundColor() const { return FBackGroundColor; }
  void SetBackGroundColor(TColor Value) { SetIntField(Value, FBackGroundColor, &TiPlotObject::DoChange); }
  bool GetBackGroundTransparent() const { return FBackGroundTransparent; }
  void SetBackGroundTransparent(bool Value) {
    SetBoolField(Value, FBackGroundTransparent, &TiPlotObject::DoChange);
  }
  TColor GetSelectedItemBackGroundColor() const { return FSelectedItemBackGroundColor; }
  void SetSelectedItemBackGroundColor(TColor Value) {
    SetIntField(Value, FSelectedItemBackGroundColor, &TiPlotObject::DoChange);
  }
  TFont* GetSelectedItemFont() const { return FSelectedItemFont.get(); }
  void SetSelectedItemFont(TFont* Value) { FSelectedItemFont->Assign(Value); }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool GetColumnTitlesVisible() const { return FColumnTitlesVisible; }
  void SetColumnTitlesVisible(bool Value) {
    SetBoolField(Value, FColumnTitlesVisible, &TiPlotObject::DoChange);
  }
  TFont* GetColumnTitlesFont() const { return FColumnTitlesFont.get(); }
  void SetColumnTitlesFont(TFont* Value) { FColumnTitlesFont->Assign(Value); }
  bool GetShowColumnLine() const { return FShowColumnLine; }
  void SetShowColumnLine(bool Value) { SetBoolField(Value, FShowColumnLine, &TiPlotObject::DoChange); }
  bool GetShowColumnMarker() const { return FShowColumnMarker; }
  void SetShowColumnMarker(bool Value) { SetBoolField(Value, FShowColumnMarker, &TiPlotObject::DoChange); }
  bool GetShowColumnXAxisTitle() const { return FShowColumnXAxisTitle; }
  void SetShowColumnXAxisTitle(bool Value) {
    SetBoolField(Value, FShowColumnXAxisTitle, &TiPlotObject::DoChange);
  }
  bool GetShowColumnYAxisTitle() const { return FShowColumnYAxisTitle; }
  void SetShowColumnYAxisTitle(bool Value) {
    SetBoolField(Value, FShowColumnYAxisTitle, &TiPlotObject::DoChange);
  }
  bool GetShowColumnXValue() const { return FShowColumnXValue; }
  void SetShowColumnXValue(bool Value) { SetBoolField(Value, FShowColumnXValue, &TiPlotObject::DoChange); }
  bool GetShowColumnYValue() const { return FShowColumnYValue; }
  void SetShowColumnYValue(bool Value) { SetBoolField(Value, FShowColumnYValue, &TiPlotObject::DoChange); }
  bool GetShowColumnYMax() const { return FShowColumnYMax; }
  void SetShowColumnYMax(bool Value) { SetBoolField(Value, FShowColumnYMax, &TiPlotObject::DoChange); }
  bool GetShowColumnYMin() const { return FShowColumnYMin; }
  void SetShowColumnYMin(bool Value) { SetBoolField(Value, FShowColumnYMin, &TiPlotObject::DoChange); }
  bool GetShowColumnYMean() const { return FShowColumnYMean; }
  void SetShowColumnYMean(bool Value) { SetBoolField(Value, FShowColumnYMean, &TiPlotObject::DoChange); }
  const AnsiString& GetCaptionColumnTitle() const { return FCaptionColumnTitle; }
  void SetCaptionColumnTitle(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnTitle, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnXAxisTitle() const { return FCaptionColumnXAxisTitle; }
  void SetCaptionColumnXAxisTitle(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnXAxisTitle, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnYAxisTitle() const { return FCaptionColumnYAxisTitle; }
  void SetCaptionColumnYAxisTitle(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnYAxisTitle, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnXValue() const { return FCaptionColumnXValue; }
  void SetCaptionColumnXValue(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnXValue, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnYValue() const { return FCaptionColumnYValue; }
  void SetCaptionColumnYValue(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnYValue, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnYMax() const { return FCaptionColumnYMax; }
  void SetCaptionColumnYMax(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnYMax, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnYMin() const { return FCaptionColumnYMin; }
  void SetCaptionColumnYMin(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnYMin, &TiPlotObject::DoChange);
  }
  const AnsiString& GetCaptionColumnYMean() const { return FCaptionColumnYMean; }
  void SetCaptionColumnYMean(const AnsiString& Value) {
    SetStringField(Value, FCaptionColumnYMean, &TiPlotObject::DoChange);
  }
  double GetColumnSpacing() const { return FColumnSpacing; }
  void SetColumnSpacing(double Value) { SetDoubleField(Value, FColumnSpacing, &TiPlotObject::DoChange); }
  double GetRowSpacing() const { return FRowSpacing; }
  void SetRowSpacing(double Value) { SetDoubleField(Value, FRowSpacing, &TiPlotObject::DoChange); }
  double GetWrapRowSpacingMin() const { return FRowSpacing; }
  void SetWrapRowSpacingMin(double Value) { SetDoubleField(Value, FRowSpacing, &TiPlotObject::DoChange); }
  double GetWrapColSpacingMin() const { return FWrapColSpacingMin; }
  void SetWrapColSpacingMin(double Value) {
    SetDoubleField(Value, FWrapColSpacingMin, &TiPlotObject::DoChange);
  }
  int32_t GetWrapColDesiredCount() const { return FWrapColDesiredCount; }
  void SetWrapColDesiredCount(int32_t Value);
  int32_t GetWrapRowDesiredCount() const { return FWrapRowDesiredCount; }
  void SetWrapRowDesiredCount(int32_t Value);
  bool GetWrapColAutoCountEnabled() const { return FWrapColAutoCountEnabled; }
  void SetWrapColAutoCountEnabled(bool Value) {
    SetBoolField(Value, FWrapColAutoCountEnabled, &TiPlotObject::DoChange);
  }
  bool GetWrapRowAutoCountEnabled() const { return FWrapRowAutoCountEnabled; }
  void SetWrapRowAutoCountEnabled(bool Value) {
    SetBoolField(Value, FWrapRowAutoCountEnabled, &TiPlotObject::DoChange);
  }
  int32_t GetWrapColAutoCountMax() const { return FWrapColAutoCountMax; }
  void SetWrapColAutoCountMax(int32_t Value) {
    SetIntField(Value, FWrapColAutoCountMax, &TiPlotObject::DoChange);
  }
  int32_t GetWrapRowAutoCountMax() const { return FWrapRowAutoCountMax; }
  void SetWrapRowAutoCountMax(int32_t Value) {
    SetIntField(Value, FWrapRowAutoCountMax, &TiPlotObject::DoChange);
  }
  bool GetWrapColSpacingAuto() const { return FWrapColSpacingAuto; }
  void SetWrapColSpacingAuto(bool Value) {
    SetBoolField(Value, FWrapColSpacingAuto, &TiPlotObject::DoChange);
  }
  bool GetWrapRowSpacingAuto() const { return FWrapRowSpacingAuto; }
  void SetWrapRowSpacingAuto(bool Value) {
    SetBoolField(Value, FWrapRowSpacingAuto, &TiPlotObject::DoChange);
  }
  double GetChannelNameMaxWidth() const { return FChannelNameMaxWidth; }
  void SetChannelNameMaxWidth(double Value) {
    SetDoubleField(Value, FChannelNameMaxWidth, &TiPlotObject::DoChange);
  }
  TiPlotLegendChannelNameColorStyle GetChannelNameColorStyle() const { return FChannelNameColorStyle; }
  void SetChannelNameColorStyle(TiPlotLegendChannelNameColorStyle Value) {
    SetEnumField(Value, FChannelNameColorStyle, &TiPlotObject::DoChange);
  }

  // Set by the paint while a visible data cursor on all channels shows its readings here.
  bool GetAllChannelsCursor() const { return FAllChannelsCursor; }
  void SetAllChannelsCursor(bool Value) { FAllChannelsCursor = Value; }

  // ---- rows and layout ----------------------------------------------------------------------
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  // The up button, the down button, then the channel whose row holds the point.
  TiPlotObject* SubObjectAt(int32_t X, int32_t Y) override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;
  // Runs the layout: the required height of a horizontal legend, the width of a vertical one.
  int32_t RequiredThickness(TCanvas* Canvas) override;

  // Places the rows in the layout rectangle (the drawing and the thickness run it).
  void CalcLayout(TCanvas* Canvas);
  // The text a cell of Channel's row shows (line and marker columns have none).
  AnsiString CellText(TiPlotChannelCustom* Channel, TiPlotLegendColumn Column);
  const std::vector<TiPlotLegendItem>& Items() const { return FItems; }
  // The first row shown (the scroll position) and the last one the layout could place.
  int32_t GetFirstShown() const { return FFirstShown; }
  int32_t GetLastShown() const { return FLastShown; }
  int32_t GetRowColumnCount() const { return FRowColumnCount; }
  int32_t GetRowCount() const { return FRowCount; }
  int32_t GetRequiredWidth() const { return FRequiredWidth; }
  int32_t GetRequiredHeight() const { return FRequiredHeight; }
  int32_t GetRowHeight() const { return FRowHeight; }
  int32_t GetItemWidth() const { return FItemWidth; }
  int32_t GetColumnOffset(TiPlotLegendColumn Column) const { return FColumnOffset[Column]; }
  int32_t GetColumnWidth(TiPlotLegendColumn Column) const { return FColumnWidth[Column]; }
  TiPlotLegendButton* UpButton() const { return FUpButton.get(); }
  TiPlotLegendButton* DownButton() const { return FDownButton.get(); }

 private:
  void FontChanged(TObject*) { DoChange(); }
  void UpButtonClick(TObject*);
  void DownButtonClick(TObject*);
  void ButtonRedraw(TObject*) { DoSelectionChanged(); }
  bool ColumnShown(TiPlotLegendColumn Column) const;
  void RebuildItems();
  void PlaceItems();
  void DrawLineSample(TCanvas* Canvas, TiPlotChannelCustom* Channel, int32_t X, int32_t Y);
  void DrawCaptions(TCanvas* Canvas);
  void DrawItem(TCanvas* Canvas, const TiPlotLegendItem& Item);
  double FMarginLeft = 1;
  double FMarginRight = 1;
  double FMarginTop = 1;
  double FMarginBottom = 1;
  TColor FBackGroundColor = 0x808080;
  bool FBackGroundTransparent = true;
  TColor FSelectedItemBackGroundColor = 0x00FFFF;
  std::unique_ptr<TFont> FSelectedItemFont;
  std::unique_ptr<TFont> FFont;
  bool FColumnTitlesVisible = false;
  std::unique_ptr<TFont> FColumnTitlesFont;
  bool FShowColumnLine = true;
  bool FShowColumnMarker = false;
  bool FShowColumnXAxisTitle = false;
  bool FShowColumnYAxisTitle = false;
  bool FShowColumnXValue = false;
  bool FShowColumnYValue = false;
  bool FShowColumnYMax = false;
  bool FShowColumnYMin = false;
  bool FShowColumnYMean = false;
  AnsiString FCaptionColumnTitle = "Title";
  AnsiString FCaptionColumnXAxisTitle = "X-Axis";
  AnsiString FCaptionColumnYAxisTitle = "Y-Axis";
  AnsiString FCaptionColumnXValue = "X";
  AnsiString FCaptionColumnYValue = "Y";
  AnsiString FCaptionColumnYMax = "Y-Max";
  AnsiString FCaptionColumnYMin = "Y-Min";
  AnsiString FCaptionColumnYMean = "Y-Mean";
  double FColumnSpacing = 0.5;
  double FRowSpacing = 0.25;
  double FWrapColSpacingMin = 2;
  int32_t FWrapColDesiredCount = 1;
  int32_t FWrapRowDesiredCount = 5;
  bool FWrapColAutoCountEnabled = false;
  bool FWrapRowAutoCountEnabled = true;
  int32_t FWrapColAutoCountMax = 100;
  int32_t FWrapRowAutoCountMax = 100;
  bool FWrapColSpacingAuto = true;
  bool FWrapRowSpacingAuto = false;
  double FChannelNameMaxWidth = 0;
  TiPlotLegendChannelNameColorStyle FChannelNameColorStyle = iplcncsFont;
  bool FAllChannelsCursor = false;

  // ---- layout state ----
  std::vector<TiPlotLegendItem> FItems;
  std::vector<int32_t> FRowColumnXs;
  int32_t FFirstShown = 0, FLastShown = -1;
  bool FShowXValueColumn = false, FShowYValueColumn = false;
  int32_t FCharWidth = 0, FTextHeight = 0;
  TRect FInner{0, 0, 0, 0}, FCaptionArea{0, 0, 0, 0}, FItemArea{0, 0, 0, 0};
  int32_t FColumnGap = 0, FRowGap = 0, FWrapGap = 0;
  int32_t FRowHeight = 0, FTitleHeight = 0, FTitleGap = 0;
  int32_t FColumnWidth[iplcCount] = {};
  int32_t FColumnOffset[iplcCount] = {};
  int32_t FItemWidth = 0, FRequiredWidth = 0, FRequiredHeight = 0;
  int32_t FRowColumnCount = 0, FRowCount = 0;
  std::unique_ptr<TiPlotLegendButton> FUpButton, FDownButton;
};
