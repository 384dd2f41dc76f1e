// A table of texts placed beside the data view, with optional column titles and two scroll
// buttons that appear when not every row fits.  A row is one text whose lines are its cells.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotObjects.h"

class TiPlotTable;

// One column of a table; Width is set by the layout.
class TiPlotTableColumn {
 public:
  int32_t Width = 0;
  AnsiString Title;
  double FixedWidth = 10;
  bool Visible = true;
  int32_t TitleAlignment = 0;  // 0 centred, 1 left, 2 right
  int32_t DataAlignment = 0;
  double TitleMargin = 0;  // insets, in "0" widths of the title and data fonts
  double DataMargin = 0;
  TColor TitleFontColor = 0xFFFF00;
  TColor DataFontColor = 0xFFFFFF;
  bool AutoSize = true;
};

// A scroll button of a table: a sub-object the plot's mouse dispatch finds through the table.
// It repeats its click while held, as the legend's buttons do.
class TiPlotTableButton : public TiPlotButton {
  PL_CLASS(TiPlotTableButton)
 public:
  TiPlotTableButton(TiPlotObjectHost* AOwner, bool Up);

  bool IsUp() const { return FUp; }
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;

 protected:
  bool HitTest(const TiMouseRecord& MouseRecord) override;

 private:
  bool FUp;
};

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

  // ---- columns and rows ------------------------------------------------------------------------
  int32_t ColumnCount() const { return int32_t(FColumns.size()); }
  // Raises EListError out of range.
  TiPlotTableColumn* GetColumn(int32_t Index) const;
  void DeleteColumn(int32_t Index);
  void ClearColumns();
  // Appends a column (its fields may be changed afterwards; call DoLayoutChange then).
  TiPlotTableColumn* AddColumn(const AnsiString& Title);
  int32_t RowCount() const { return int32_t(FRows.size()); }
  // Appends a row: its lines, separated by line breaks, are the cells.  Returns its index.
  int32_t AddRow(const AnsiString& Text);
  void ClearRows();
  // The cell's text; empty where the row has fewer lines.  Raises EListError out of range.
  AnsiString GetCellText(int32_t Column, int32_t Row) const;

  // ---- layout and scrolling --------------------------------------------------------------------
  void CalcLayout(TCanvas* Canvas);
  void ScrollUp();
  void ScrollDown();
  int32_t GetFirstRow() const { return FFirstRow; }
  int32_t GetLastRow() const { return FLastRow; }
  int32_t GetRowHeight() const { return FRowHeight; }
  const TRect& GetGridRect() const { return FGridRect; }
  const TRect& GetTitleRowRect() const { return FTitleRowRect; }
  int32_t GetNeededWidth() const { return FNeededWidth; }
  int32_t GetNeededHeight() const { return FNeededHeight; }
  TiPlotTableButton* GetUpButton() const { return FUpButton.get(); }
  TiPlotTableButton* GetDownButton() const { return FDownButton.get(); }

  int32_t RequiredThickness(TCanvas* Canvas) override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  TiPlotObject* SubObjectAt(int32_t X, int32_t Y) override;
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;

 protected:
  void LeftUp(const TiMouseRecord& MouseRecord) override;

 private:
  void FontChanged(TObject*) { DoChange(); }
  void ButtonRedraw(TObject*) { DoChange(); }
  void UpClick(TObject*) { ScrollUp(); }
  void DownClick(TObject*) { ScrollDown(); }
  void DrawCellText(TCanvas* Canvas, const AnsiString& Text, TRect Cell, int32_t Alignment, int32_t Inset);

  std::vector<std::unique_ptr<TiPlotTableColumn>> FColumns;
  std::vector<AnsiString> FRows;
  std::unique_ptr<TiPlotTableButton> FUpButton;
  std::unique_ptr<TiPlotTableButton> FDownButton;
  TRect FGridRect{0, 0, 0, 0};
  TRect FTitleRowRect{0, 0, 0, 0};
  int32_t FRowHeight = 0;
  int32_t FFirstRow = 0;
  int32_t FLastRow = -1;
  int32_t FNeededWidth = 0;
  int32_t FNeededHeight = 0;
  int32_t FTitleCharWidth = 0;
  int32_t FDataCharWidth = 0;
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
