// The base of the advanced string grid: a string grid whose cells carry a properties object
// (colours, font, alignment, editor, merge information), whose cells may be merged into areas
// read and written through their top-left base cell, and which draws its own grid lines and
// every cell itself.
//
// Thread contract: UI thread only.
//
// Sections: cell properties / TBaseGrid: cells and properties / merging / geometry /
// painting / keyboard and wheel.
#pragma once

#include "platform/ui/Grids.h"

class TBaseGrid;
class TCellGraphic;

// ============================================================================ cell properties =

enum TVAlignment : uint8_t { vtaTop, vtaCenter, vtaBottom };
template <>
const EnumNames& EnumNamesOf<TVAlignment>();

enum TEditorType : uint8_t {
  edNormal,
  edSpinEdit,
  edComboEdit,
  edComboList,
  edEditBtn,
  edCheckBox,
  edDateEdit,
  edDateEditUpDown,
  edTimeEdit,
  edButton,
  edDataCheckBox,
  edNumeric,
  edPositiveNumeric,
  edFloat,
  edCapital,
  edMixedCase,
  edPassword,
  edUnitEditBtn,
  edLowerCase,
  edUpperCase,
  edFloatSpinEdit,
  edTimeSpinEdit,
  edDateSpinEdit,
  edNumericEditBtn,
  edFloatEditBtn,
  edCustom,
  edRichEdit,
  edUniEdit,
  edUniComboEdit,
  edUniComboList
};
template <>
const EnumNames& EnumNamesOf<TEditorType>();

// What one cell sets for itself, held in the cell's object slot and owned by the grid.  Unset
// colours are clNone, an unset font size 0, an unset font name empty.  A merged area's base cell
// holds its span (columns - 1, rows - 1); the other cells of the area their offset from it.
class TCellProperties : public TPersistent {
  PL_CLASS(TCellProperties)
 public:
  TCellProperties(TBaseGrid* AOwner, int32_t ACol, int32_t ARow);
  ~TCellProperties() override;
  // Copies the published fields but CellObject (the owner cell included); never the graphic.
  void Assign(TPersistent* Source) override;

  int32_t OwnerCol = 0, OwnerRow = 0;
  // Hung on the cell by the application; the grid never frees it.
  TObject* CellObject = nullptr;
  TBrushStyle BrushStyle = bsSolid;
  TColor GetBrushColor() const { return brushColor_; }
  void SetBrushColor(TColor Value);
  int32_t FontSize = 0;
  TColor FontColor = clNone;
  TFontStyles FontStyle;
  int32_t CellSpanY = -1, CellSpanX = -1;
  int32_t BorderWidth = 0;
  TColor BorderColor = TColor(0);
  TAlignment Alignment = taLeftJustify;
  TVAlignment GetVAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment Value);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  bool IsBaseCell = true;
  int32_t NodeLevel = 0;
  TEditorType Editor = edNormal;
  AnsiString FontName;
  bool ReadOnly = false;
  // A control placed in the cell; the grid never frees it.
  TControl* Control = nullptr;

  // The paint pass in which a non-base cell last had its area drawn through this base cell.
  int32_t PaintStamp = 0;
  // For a cell of the last row: what the footer refresh computes for its column (low 7 bits).
  uint8_t FooterKind = 0;

  // The cell's graphic record, owned: freed with this object.  Typed access is the advanced
  // grid's.
  TPersistent* GetGraphic() const { return graphic_; }
  // Takes ownership of Value; the previous record is freed unless it is the same one.
  void SetGraphic(TPersistent* Value);
  // Gives up the record without freeing it.
  TPersistent* DetachGraphic();

 private:
  void Repaint();
  TBaseGrid* grid_;
  TColor brushColor_ = clNone;
  TVAlignment vAlignment_ = vtaTop;
  bool wordWrap_ = false;
  TPersistent* graphic_ = nullptr;
};

using TGetDisplTextEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&>;

// ============================================================================ TBaseGrid =======

class TBaseGrid : public TStringGrid {
  PL_CLASS(TBaseGrid)
 public:
  explicit TBaseGrid(TComponent* AOwner);
  ~TBaseGrid() override;

  // ---- cells and properties ------------------------------------------------------------------
  // The text of the cell's base cell, passed through the display-text hook for rows below the
  // display row limit.
  AnsiString GetCells(int32_t ACol, int32_t ARow);
  // Stores into the base cell of a cell with properties (repainting its merged area), else into
  // the cell; on the footer row the footer hook runs.
  void SetCells(int32_t ACol, int32_t ARow, const AnsiString& Value);
  AnsiString GetRawCells(int32_t ACol, int32_t ARow) const { return TStringGrid::GetCells(ACol, ARow); }
  void SetRawCells(int32_t ACol, int32_t ARow, const AnsiString& Value) {
    TStringGrid::SetCells(ACol, ARow, Value);
  }
  TObject* GetCellObject(int32_t ACol, int32_t ARow) const { return GetObjects(ACol, ARow); }
  void SetCellObject(int32_t ACol, int32_t ARow, TObject* Value) { SetObjects(ACol, ARow, Value); }

  bool HasCellProperties(int32_t ACol, int32_t ARow) const { return Props(ACol, ARow) != nullptr; }
  // The cell's properties, created on first use.
  TCellProperties* CellProperties(int32_t ACol, int32_t ARow);
  // Frees the cell's properties and stores Obj (owned from now on).
  void SetCellProperties(int32_t ACol, int32_t ARow, TCellProperties* Obj);
  // Frees the properties of every cell of the block (each object once, however many slots share
  // it).
  void ClearPropsRange(int32_t ACol1, int32_t ARow1, int32_t ACol2, int32_t ARow2);
  void ClearAllProps();
  // Empty the text and let go of the object slot without freeing it (the object moved away).
  void ResetColumnCells(int32_t ACol);
  void ResetRowCells(int32_t ARow);
  void ResetCell(int32_t ACol, int32_t ARow);
  TPersistent* CellGraphicOf(int32_t ACol, int32_t ARow) const;
  // Hangs a graphic record on the cell (owned by its properties); the text stays.
  void SetCellGraphic(int32_t ACol, int32_t ARow, TPersistent* Graphic);

  // ---- merging -------------------------------------------------------------------------------
  virtual void MergeCells(int32_t ACol, int32_t ARow, int32_t NX, int32_t NY);
  virtual void SplitCells(int32_t ACol, int32_t ARow);
  TPoint BaseCell(int32_t ACol, int32_t ARow) const;
  // True with the cell's own coordinates for an unmerged or base cell; false with the base's.
  bool FindBaseCell(int32_t ACol, int32_t ARow, int32_t& BaseCol, int32_t& BaseRow) const;
  bool IsBaseCell(int32_t ACol, int32_t ARow) const;
  // The area's (columns - 1, rows - 1) for any cell of a merged area; (0, 0) otherwise.
  TPoint CellSpan(int32_t ACol, int32_t ARow) const;
  bool IsMergedCell(int32_t ACol, int32_t ARow) const;
  bool IsXMergedCell(int32_t ACol, int32_t ARow) const;
  bool IsYMergedCell(int32_t ACol, int32_t ARow) const;
  bool RowsInSameMerge(int32_t ARow1, int32_t ARow2) const;

  // ---- geometry ------------------------------------------------------------------------------
  // The cell's client rectangle, also for a cell out of view.
  TRect CalcCellRect(int32_t ACol, int32_t ARow);
  TRect MergedCellRect(int32_t ACol, int32_t ARow);
  TPoint MergedCellSize(int32_t ACol, int32_t ARow);
  void RepaintCell(int32_t ACol, int32_t ARow);
  int32_t FixedColsWidth() const;
  int32_t FixedRowsHeight() const;

  // ---- look ----------------------------------------------------------------------------------
  // The grid draws its own lines; the framework's line width stays 0.
  int32_t GetGridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int32_t Value);
  TColor GetGridLineColor() const { return gridLineColor_; }
  void SetGridLineColor(TColor Value);
  // Recorded only: the framework's own default drawing stays off.
  bool GetDefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool Value);
  int32_t PaintCounter() const { return paintCounter_; }

  TGetDisplTextEvent OnGetDisplText;

 protected:
  // ---- hooks the advanced grid overrides -------------------------------------------------------
  virtual bool CellIsFixed(int32_t /*ACol*/, int32_t /*ARow*/) { return false; }
  virtual int32_t RowIndent(int32_t /*ARow*/) { return 0; }
  virtual bool ShowsRowIndent() { return false; }
  virtual void DrawCellText(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect, TGridDrawState AState);
  virtual void UpdateFooter() {}
  virtual void GetCellColors(int32_t ACol, int32_t ARow, TGridDrawState& AState, bool Print, bool Selection,
                             bool MapCol, TBrush* ABrush, TFont* AFont, TAlignment& HAlign,
                             TVAlignment& VAlign, bool& Extra);
  virtual void GetDisplText(int32_t ACol, int32_t ARow, AnsiString& Value);

  // ---- framework overrides ------------------------------------------------------------------------
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  void Paint() override;
  bool SelectCell(int32_t ACol, int32_t ARow) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void TopLeftChanged() override;
  void SizeChanged(int32_t OldColCount, int32_t OldRowCount) override;

  // Moves the current cell to its base cell.
  void SnapToBaseCell();
  TCellProperties* Props(int32_t ACol, int32_t ARow) const;

  // True while the floating footer shows the last row, which is then drawn blank.
  bool footerRow_ = false;
  // The display-text hook applies only to rows below this.
  int32_t displRowLimit_ = 0;

 private:
  bool defaultDrawing_ = false;
  int32_t gridLineWidth_ = 1;
  TColor gridLineColor_ = clSilver;
  int32_t paintCounter_ = 0;
};
