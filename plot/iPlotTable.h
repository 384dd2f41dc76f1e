// A table of texts placed beside the data view, with optional column titles and scroll buttons.
// This unit holds its published settings; rows, columns and drawing join it with the table's own
// behaviour.
#pragma once

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotObjects.h"

class TiPlotTable : public TiPlotLayoutObject {
  PL_CLASS(TiPlotTable)
 public:
  TiPlotTable(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotTable() override;

  double GetMarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(double Value) { SetDoubleField(Value, FMarginLeft, &TiPlotObject::DoChange); }
  double GetMarginTop() const { return FMarginTop; }
  void SetMarginTop(double Value) { SetDoubleField(Value, FMarginTop, &TiPlotObject::DoChange); }
  double GetMarginRight() const { return FMarginRight; }
  void SetMarginRight(double Value) { SetDoubleField(Value, FMarginRight, &TiPlotObject::DoChange); }
  double GetMarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(double Value) { SetDoubleField(Value, FMarginBottom, &TiPlotObject::DoChange); }
  TColor GetGridBackGroundColor() const { return FGridBackGroundColor; }
  void SetGridBackGroundColor(TColor Value) {
    SetIntField(Value, FGridBackGroundColor, &TiPlotObject::DoChange);
  }
  bool GetGridBackGroundTransparent() const { return FGridBackGroundTransparent; }
  void SetGridBackGroundTransparent(bool Value) {
    SetBoolField(Value, FGridBackGroundTransparent, &TiPlotObject::DoChange);
  }
  TColor GetGridLinesColor() const { return FGridLinesColor; }
  void SetGridLinesColor(TColor Value) { SetIntField(Value, FGridLinesColor, &TiPlotObject::DoChange); }
  bool GetGridLinesShow() const { return FGridLinesShow; }
  void SetGridLinesShow(bool Value) { SetBoolField(Value, FGridLinesShow, &TiPlotObject::DoChange); }
  TFont* GetDataFont() const { return FDataFont.get(); }
  void SetDataFont(TFont* Value) { FDataFont->Assign(Value); }
  double GetColumnSpacing() const { return FColumnSpacing; }
  void SetColumnSpacing(double Value) { SetDoubleField(Value, FColumnSpacing, &TiPlotObject::DoChange); }
  double GetRowSpacing() const { return FRowSpacing; }
  void SetRowSpacing(double Value) { SetDoubleField(Value, FRowSpacing, &TiPlotObject::DoChange); }
  int32_t GetRowsMax() const { return FRowsMax; }
  void SetRowsMax(int32_t Value) { SetIntField(Value, FRowsMax, &TiPlotObject::DoChange); }
  bool GetColumnTitlesVisible() const { return FColumnTitlesVisible; }
  void SetColumnTitlesVisible(bool Value) {
    SetBoolField(Value, FColumnTitlesVisible, &TiPlotObject::DoChange);
  }
  TFont* GetColumnTitlesFont() const { return FColumnTitlesFont.get(); }
  void SetColumnTitlesFont(TFont* Value) { FColumnTitlesFont->Assign(Value); }

 private:
  void FontChanged(TObject*) { DoChange(); }
  double FMarginLeft = 1.0;
  double FMarginTop = 1.0;
  double FMarginRight = 1.0;
  double FMarginBottom = 1.0;
  TColor FGridBackGroundColor = 0x808080;
  bool FGridBackGroundTransparent = false;
  TColor FGridLinesColor = 0xFFFFFF;
  bool FGridLinesShow = true;
  std::unique_ptr<TFont> FDataFont;
  double FColumnSpacing = 2.0;
  double FRowSpacing = 0.5;
  int32_t FRowsMax = 0;
  bool FColumnTitlesVisible = true;
  std::unique_ptr<TFont> FColumnTitlesFont;
};
