// The framework's grid controls: TCustomGrid (a scrolling table of cells with fixed rows and
// columns, a current cell and a selection, keyboard and mouse navigation, sizing and moving of
// rows and columns by mouse, and the hooks of the inplace editor), TCustomDrawGrid / TDrawGrid
// (cells the program paints) and TStringGrid (cells holding a text and an object reference).
//
// Coordinates: a cell is (column, row); fixed rows and columns come first and never scroll.  A
// cell's rectangle leaves out the grid line that follows it on its right and bottom.
//
// Thread contract: UI thread only.
//
// Sections: types / inplace editor / TCustomGrid / TCustomDrawGrid and TDrawGrid / TStringGrid.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/runtime/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Mask.h"

class TCustomGrid;
class TStringGrid;

// ============================================================================ types ===========

enum TGridOption : uint8_t {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption, 16>;
template <>
const EnumNames& EnumNamesOf<TGridOption>();

enum TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem, 8>;

// What a mouse gesture is doing; a derived grid may set it back to gsNormal to cancel one.
enum TGridState : uint8_t { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, bounds included.
struct TGridRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  TGridCoord TopLeft() const { return {Left, Top}; }
  TGridCoord BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// The rectangle spanned by two corners, in either order.
TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2);
bool PointInGridRect(int32_t Col, int32_t Row, const TGridRect& Rect);

// The grid's misuse errors ("Grid index out of range", "Fixed column count must be less than
// column count", ...).
PL_EXCEPTION(EInvalidGridOperation, Exception);

// One axis of the grid as it lies in the client area.  Boundaries are client coordinates; the
// boundary after a cell includes the grid line that follows it.
struct TGridAxisDrawInfo {
  int32_t EffectiveLineWidth = 0;
  int32_t FixedBoundary = 0;        // end of the fixed cells
  int32_t GridBoundary = 0;         // end of the last cell in view, at most GridExtent
  int32_t GridExtent = 0;           // the client size on this axis
  int32_t LastFullVisibleCell = 0;  // never below FirstGridCell
  int32_t FullVisBoundary = 0;      // end of LastFullVisibleCell
  int32_t FixedCellCount = 0;
  int32_t FirstGridCell = 0;  // LeftCol or TopRow
  int32_t GridCellCount = 0;
  const TCustomGrid* Grid = nullptr;
  bool Horizontal = true;
  // The width (height) of a column (row).
  int32_t GetExtent(int32_t Index) const;
};

struct TGridDrawInfo {
  TGridAxisDrawInfo Horz, Vert;
};

// ============================================================================ inplace editor ===

// The editor the grid shows over its current cell: a borderless masked edit that takes the
// cell's text, mask and length limit from the grid, hands each change back to the cell, and
// passes the keys that move between cells (Up, Down, pages, Tab, Ctrl with arrows, arrows at
// the text's ends when the editor always shows) to the grid.  Escape puts back the text the
// cell had when the editor opened; losing the focus to another control ends the editing.
class TInplaceEdit : public TCustomMaskEdit {
  PL_CLASS(TInplaceEdit)
 public:
  explicit TInplaceEdit(TComponent* AOwner);
  TCustomGrid* GetGrid() const { return grid_; }
  void SetGrid(TCustomGrid* Value) { grid_ = Value; }
  // Places the editor over Loc (grid client coordinates) and shows it.
  virtual void Move(const TRect& Loc);
  // Hides the editor; a focused editor hands the focus back to the grid.
  virtual void Hide();
  // Reads the current cell's text, mask and length limit from the grid.
  virtual void UpdateContents();
  // The caret to the end, nothing selected.
  virtual void Deselect();
  void Dispatch(TMessage& Message) override;

 protected:
  // After Move changed the editor's bounds: the text's rectangle follows.
  virtual void BoundsChanged();
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  TCustomGrid* grid_ = nullptr;
  AnsiString openText_;
  bool loading_ = false;
};

// ============================================================================ TCustomGrid =====

// A table of cells in a window: fixed rows and columns, column widths and row heights, a
// current cell with a selection anchored at another, scrolling with the window's standard scroll
// bars, keyboard and mouse navigation, sizing and moving of rows and columns by mouse, and the
// painting frame that asks DrawCell for every cell in view.
class TCustomGrid : public TCustomControl {
  PL_CLASS(TCustomGrid)
 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // ---- dimensions ----------------------------------------------------------------------------
  int32_t GetColCount() const { return colCount_; }
  // At least 1; a count at or below FixedCols lowers FixedCols to count - 1.
  void SetColCount(int32_t Value);
  int32_t GetRowCount() const { return rowCount_; }
  void SetRowCount(int32_t Value);
  int32_t GetFixedCols() const { return fixedCols_; }
  // Must stay below ColCount; moves the current cell and the view to the first free cell.
  void SetFixedCols(int32_t Value) { SetFixed(true, Value); }
  int32_t GetFixedRows() const { return fixedRows_; }
  void SetFixedRows(int32_t Value) { SetFixed(false, Value); }
  // An index outside the grid reads DefaultColWidth; writing one raises "Grid index out of
  // range".
  int32_t GetColWidths(int32_t Index) const { return GetSize(true, Index); }
  void SetColWidths(int32_t Index, int32_t Value) { SetSize(true, Index, Value); }
  int32_t GetRowHeights(int32_t Index) const { return GetSize(false, Index); }
  void SetRowHeights(int32_t Index, int32_t Value) { SetSize(false, Index, Value); }
  int32_t GetDefaultColWidth() const { return defaultColWidth_; }
  // Gives every column the new width.
  void SetDefaultColWidth(int32_t Value) { SetDefaultSize(true, Value); }
  int32_t GetDefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int32_t Value) { SetDefaultSize(false, Value); }
  int32_t GetGridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int32_t Value);
  // The sum of the column widths (row heights) with their lines.
  int32_t GetGridWidth();
  int32_t GetGridHeight();

  // ---- look ----------------------------------------------------------------------------------
  TGridOptions GetOptions() const { return options_; }
  void SetOptions(TGridOptions Value);
  bool GetDefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool Value);
  TColor GetFixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor Value);
  TScrollStyle GetScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);

  // ---- position ------------------------------------------------------------------------------
  int32_t GetCol() const { return current_.X; }
  // Moves the current cell (SelectCell may refuse), brings it into view and clicks.
  void SetCol(int32_t Value);
  int32_t GetRow() const { return current_.Y; }
  void SetRow(int32_t Value);
  int32_t Col() const { return current_.X; }
  int32_t Row() const { return current_.Y; }
  // The block between the anchor and the current cell (whole rows with goRowSelect).  Setting
  // it stores the corners as given, unchecked: (ColCount, RowCount) hides the selection.
  TGridRect GetSelection() const;
  void SetSelection(const TGridRect& Value);
  int32_t GetTopRow() const { return topLeft_.Y; }
  void SetTopRow(int32_t Value);
  int32_t GetLeftCol() const { return topLeft_.X; }
  void SetLeftCol(int32_t Value);
  // Scrolling rows (columns) wholly in view from TopRow (LeftCol); at least 1.
  int32_t GetVisibleColCount();
  int32_t GetVisibleRowCount();
  int32_t VisibleColCount() { return GetVisibleColCount(); }
  int32_t VisibleRowCount() { return GetVisibleRowCount(); }

  // ---- geometry and repainting ------------------------------------------------------------------
  // Client rectangle of a cell in view (fixed, or scrolled into view even in part), without its
  // grid lines; an empty rectangle for any other cell.
  TRect CellRect(int32_t ACol, int32_t ARow);
  // The cell under a client point; (-1, -1) outside every cell.
  TGridCoord MouseCoord(int32_t X, int32_t Y);
  void MouseToCell(int32_t X, int32_t Y, int32_t& ACol, int32_t& ARow);
  void InvalidateCell(int32_t ACol, int32_t ARow);
  void InvalidateCol(int32_t ACol);
  void InvalidateRow(int32_t ARow);
  void InvalidateGrid() { Invalidate(); }
  // The part of a block that is in view.
  void InvalidateGridRect(const TGridRect& ARect);
  // The client rectangle of the part of a block in view (empty when none of it is).
  TRect BoxRect(int32_t ALeft, int32_t ATop, int32_t ARight, int32_t ABottom);

  // ---- inplace editor ---------------------------------------------------------------------------
  bool GetEditorMode() const { return editorMode_; }
  // True shows the editor (when CanEditShow allows it); false hides it and stores its text.
  void SetEditorMode(bool Value);
  // Nil until an editor was made for the first edit.
  TInplaceEdit* InplaceEditor() const { return inplaceEdit_; }
  void ShowEditor();
  // Shows the editor and hands it the typed character.
  void ShowEditorChar(char Ch);
  void HideEditor();
  // Reloads the editor's text and place (the cell's text changed under it).
  void InvalidateEditor();

  // ---- gesture state ------------------------------------------------------------------------------
  TGridState GetGridState() const { return gridState_; }
  void SetGridState(TGridState Value);

  void Dispatch(TMessage& Message) override;
  // Forgets an editor that is freed.
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  friend class TInplaceEdit;

  // ---- hooks ----------------------------------------------------------------------------------------
  // Paints the cell (ARect excludes the grid lines).  The base draws nothing; with
  // DefaultDrawing the background is already filled and the canvas holds the cell's font.
  virtual void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) = 0;
  // Asked before the current cell moves; false keeps it where it is.
  virtual bool SelectCell(int32_t ACol, int32_t ARow);
  virtual void SizeChanged(int32_t /*OldColCount*/, int32_t /*OldRowCount*/) {}
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  virtual void TopLeftChanged() {}
  // After a column or row moved (texts and objects follow in the string grid).
  virtual void ColumnMoved(int32_t /*FromIndex*/, int32_t /*ToIndex*/) {}
  virtual void RowMoved(int32_t /*FromIndex*/, int32_t /*ToIndex*/) {}
  // Whether the point lies on a sizing border: the right edge of a scrolling column in the
  // fixed rows (goColSizing), the bottom edge of a scrolling row in the fixed columns
  // (goRowSizing).  SizingPos is the border, SizingOfs its distance from X (Y).
  virtual void CalcSizingState(int32_t X, int32_t Y, TGridState& State, int32_t& Index, int32_t& SizingPos,
                               int32_t& SizingOfs, TGridDrawInfo& FixedInfo);
  // The editor hooks.  CreateEditor makes the editor for the first edit; nil means no editor.
  virtual TInplaceEdit* CreateEditor();
  // goEditing without goRowSelect, editor mode on, a window, and the grid focused (or
  // goAlwaysShowEditor).
  virtual bool CanEditShow();
  virtual bool CanEditModify() { return true; }
  virtual bool CanEditAcceptKey(char) { return true; }
  virtual AnsiString GetEditText(int32_t /*ACol*/, int32_t /*ARow*/) { return ""; }
  virtual void SetEditText(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& /*Value*/) {}
  virtual AnsiString GetEditMask(int32_t /*ACol*/, int32_t /*ARow*/) { return ""; }
  virtual int32_t GetEditLimit() { return 0; }
  // Stores the editor's text into the cell it edits.
  void UpdateText();

  // ---- framework overrides ------------------------------------------------------------------------
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  // Each notch moves the current row by one.
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

  // ---- moving the current cell, the view, rows and columns ---------------------------------------
  // Makes (ACol, ARow) current when SelectCell agrees; MoveAnchor collapses the selection to it,
  // Show scrolls it into view.  Raises "Grid index out of range" for a cell outside the grid.
  // True when the cell became current.
  bool MoveColRow(int32_t ACol, int32_t ARow, bool MoveAnchor, bool Show);
  // MoveColRow with Show, then the editor follows and Click runs.
  void FocusCell(int32_t ACol, int32_t ARow, bool MoveAnchor);
  void MoveTopLeft(int32_t ALeft, int32_t ATop);
  // Scrolls so that the cell is wholly in view.
  void ClampInView(const TGridCoord& Coord);
  // The view's top-left cell that shows Coord as the last cell wholly in view.
  TGridCoord CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo);
  // Moves a column (row) with its width (height); the current cell and the anchor follow their
  // cells.  Then ColumnMoved (RowMoved).
  void MoveColumn(int32_t FromIndex, int32_t ToIndex) { MoveLine(true, FromIndex, ToIndex); }
  void MoveRow(int32_t FromIndex, int32_t ToIndex) { MoveLine(false, FromIndex, ToIndex); }
  // Moves the column (row) to the end and lowers ColCount (RowCount) by one.
  void DeleteColumn(int32_t ACol);
  void DeleteRow(int32_t ARow);
  void CalcDrawInfo(TGridDrawInfo& DrawInfo);
  void CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int32_t UseWidth, int32_t UseHeight);
  // The fixed cells only (what sizing looks at).
  void CalcFixedInfo(TGridDrawInfo& DrawInfo);
  TGridCoord CalcCoordFromPoint(int32_t X, int32_t Y, const TGridDrawInfo& DrawInfo);
  void UpdateScrollRange();
  // A dotted XOR line across the grid at the sizing position; drawn twice it is gone.
  void DrawSizingLine(const TGridDrawInfo& DrawInfo);
  // The view and the current cell back to the first scrolling cell.
  void Initialize();

  TGridState gridState_ = gsNormal;
  int32_t sizingIndex_ = -1, sizingPos_ = 0, sizingOfs_ = 0;
  int32_t moveIndex_ = -1, movePos_ = -1;
  // The cell a selecting gesture last tried to reach: SelectCell is asked once per cell.
  TGridCoord selectTried_{-1, -1};

 private:
  void ChangeSize(int32_t NewColCount, int32_t NewRowCount);
  void CalcAxis(TGridAxisDrawInfo& Axis, bool Horizontal, int32_t Extent);
  void TopLeftMoved(const TGridCoord& OldTopLeft);
  void SelectionMoved(const TGridRect& OldSel);
  void UpdateScrollPos();
  void ModifyScrollBar(int32_t Bar, int32_t Code, int32_t Pos);
  void CancelGesture();
  void MouseDownAt(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  // During a selecting gesture: the cell under the point joins the selection.
  void SelectAt(int32_t X, int32_t Y, const TGridDrawInfo& DrawInfo);
  void TimedScroll();
  void UpdateEdit();
  void UpdateEditor();
  void HideEdit();
  bool IsActiveControl();
  TGridCoord MaxTopLeft();
  void DrawLines(TCanvas* C, const TGridDrawInfo& DI, bool Horz, bool Vert, TGridCoord First, TRect Area,
                 TColor LineColor);
  void DrawCells(TCanvas* C, const TGridDrawInfo& DI, TGridCoord First, TPoint Origin, TRect Area,
                 TGridDrawState Base);
  // The fields of one direction (columns or rows), so that both share one piece of code.
  struct TAxisFields {
    int32_t& Count;
    int32_t& Fixed;
    int32_t& DefaultSize;
    std::vector<int32_t>& Sizes;
    int32_t TGridCoord::*Coord;
    int32_t& Inplace;
  };
  TAxisFields Axis(bool Cols);
  void SetFixed(bool Cols, int32_t Value);
  int32_t GetSize(bool Cols, int32_t Index) const;
  void SetSize(bool Cols, int32_t Index, int32_t Value);
  void SetDefaultSize(bool Cols, int32_t Value);
  void SizesChanged(bool Cols);
  void MoveLine(bool Cols, int32_t FromIndex, int32_t ToIndex);

  int32_t colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int32_t defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
  // Empty while every column (row) has the default size; else one entry per column (row).
  std::vector<int32_t> colWidths_, rowHeights_;
  TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  bool defaultDrawing_ = true;
  TColor fixedColor_ = clBtnFace;
  TScrollStyle scrollBars_ = ssBoth;
  TBorderStyle borderStyle_ = bsSingle;
  TGridCoord current_, anchor_, topLeft_;
  bool editorMode_ = false;
  TInplaceEdit* inplaceEdit_ = nullptr;
  int32_t inplaceCol_ = -1, inplaceRow_ = -1;
  bool updatingScroll_ = false;
  bool timerOn_ = false;
};

// ============================================================================ draw grids ======

using TDrawCellEvent = TEvent<TObject*, int32_t, int32_t, TRect, TGridDrawState>;
using TSelectCellEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TMovedEvent = TEvent<TObject*, int32_t, int32_t>;
using TGetEditEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&>;
using TSetEditEvent = TEvent<TObject*, int32_t, int32_t, const AnsiString&>;

// A grid whose cells the program paints (OnDrawCell) and whose hooks raise events.
class TCustomDrawGrid : public TCustomGrid {
  PL_CLASS(TCustomDrawGrid)
 public:
  explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
  // The stored ColWidths and RowHeights lists (when some size differs from the default).
  void DefineProperties(TFiler* Filer) override;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TMovedEvent OnColumnMoved, OnRowMoved;
  TGetEditEvent OnGetEditMask, OnGetEditText;
  TSetEditEvent OnSetEditText;
  TNotifyEvent OnTopLeftChanged;

 protected:
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int32_t ACol, int32_t ARow) override;
  void ColumnMoved(int32_t FromIndex, int32_t ToIndex) override;
  void RowMoved(int32_t FromIndex, int32_t ToIndex) override;
  void TopLeftChanged() override;
  AnsiString GetEditMask(int32_t ACol, int32_t ARow) override;
  AnsiString GetEditText(int32_t ACol, int32_t ARow) override;
  void SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) override;
};

class TDrawGrid : public TCustomDrawGrid {
  PL_CLASS(TDrawGrid)
 public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
};

// ============================================================================ string grid =====

// A row or a column of a string grid seen as a string list with objects.  Its count is the
// grid's column (row) count; rows and columns cannot be inserted or deleted through it.
class TStringGridStrings : public TStrings {
  PL_CLASS(TStringGridStrings)
 public:
  TStringGridStrings(TStringGrid* Grid, int32_t Index, bool IsRow);
  AnsiString Get(int32_t Index) const override;
  int32_t GetCount() const override;
  TObject* GetObject(int32_t Index) const override;
  void Put(int32_t Index, const AnsiString& S) override;
  void PutObject(int32_t Index, TObject* AObject) override;
  // Empties every cell of the row (column).
  void Clear() override;
  // Raise EInvalidGridOperation: the list's length is the grid's.
  void Delete(int32_t Index) override;
  void Insert(int32_t Index, const AnsiString& S) override;
  // Puts S into the first empty cell; -1 when there is none.
  int32_t Add(const AnsiString& S) override;
  int32_t AddObject(const AnsiString& S, TObject* AObject) override;
  // Copies texts and object references cell by cell; cells beyond the source are emptied.
  void Assign(TPersistent* Source) override;

 private:
  TGridCoord CellOf(int32_t Index) const;
  TStringGrid* grid_;
  int32_t index_;
  bool isRow_;
};

// A draw grid whose cells hold a text and an object reference.  Cells are stored sparsely: a
// cell never written reads "" and nil, also outside the grid; writing outside the grid raises
// "Grid index out of range".  Shrinking the grid drops the cells that fall outside.  The grid
// never frees the objects.
class TStringGrid : public TDrawGrid {
  PL_CLASS(TStringGrid)
 public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;

  AnsiString GetCells(int32_t ACol, int32_t ARow) const;
  void SetCells(int32_t ACol, int32_t ARow, const AnsiString& Value);
  TObject* GetObjects(int32_t ACol, int32_t ARow) const;
  void SetObjects(int32_t ACol, int32_t ARow, TObject* Value);
  // The lists stay valid while the grid lives.
  TStrings* GetCols(int32_t Index);
  void SetCols(int32_t Index, TStrings* Value) { GetCols(Index)->Assign(Value); }
  TStrings* GetRows(int32_t Index);
  void SetRows(int32_t Index, TStrings* Value) { GetRows(Index)->Assign(Value); }

 protected:
  // Default drawing writes the text at (Left + 2, Top + 2), clipped to the cell; then
  // OnDrawCell.
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  void SizeChanged(int32_t OldColCount, int32_t OldRowCount) override;
  void ColumnMoved(int32_t FromIndex, int32_t ToIndex) override;
  void RowMoved(int32_t FromIndex, int32_t ToIndex) override;
  // The cell's text, then OnGetEditText; SetEditText stores the text, then OnSetEditText.
  AnsiString GetEditText(int32_t ACol, int32_t ARow) override;
  void SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) override;

 private:
  friend class TStringGridStrings;
  struct TCell {
    AnsiString Text;
    TObject* Object = nullptr;
  };
  using TRowCells = std::vector<TCell>;  // grown on demand up to ColCount
  const TCell* Find(int32_t ACol, int32_t ARow) const;
  TCell& Ensure(int32_t ACol, int32_t ARow);

  std::vector<std::unique_ptr<TRowCells>> rows_;  // one slot per row; nil: an empty row
  std::map<int32_t, std::unique_ptr<TStringGridStrings>> colLists_, rowLists_;
};
