#include "plot/iPlotTable.h"

#include <algorithm>

#include "platform/runtime/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlotLayoutManager.h"
#include "widgets/iGPFunctions.h"

// Sections: buttons / published properties / columns and rows / layout / drawing / input.

// ============================================================================================
// buttons
// ============================================================================================

namespace {

const int32_t kTableButtonWidth = 17;

[[noreturn]] void TableIndexError(int32_t Index) {
  throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

}  // namespace

const TClassInfo& TiPlotTableButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotTableButton, TiPlotButton>("TiPlotTableButton");
  return info;
}

TiPlotTableButton::TiPlotTableButton(TiPlotObjectHost* AOwner, bool Up)
    : TiPlotButton(AOwner, TNotifyEvent(), TNotifyEvent(), TNotifyEvent(), TNotifyEvent()), FUp(Up) {
  SetName(Up ? "PlotTableUpButton" : "PlotTableDownButton");
  SetAutoRepeat(true);
  SetVisible(false);
}

bool TiPlotTableButton::HitTest(const TiMouseRecord& MouseRecord) {
  return GetVisible() && GetButtonRect().Contains(TPoint{MouseRecord.X, MouseRecord.Y});
}

void TiPlotTableButton::Draw(TCanvas* Canvas, TColor) {
  if (!GetVisible()) return;
  DrawPlotScrollButton(Canvas, GetButtonRect(), FUp, GetLeftPressed(), GetEnabled());
}

// ============================================================================================
// published properties
// ============================================================================================

const TClassInfo& TiPlotTable::ClassInfo() {
  using C = TiPlotTable;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotTable")
          .Prop("MarginLeft", &C::GetMarginLeft, &C::SetMarginLeft)
          .Prop("MarginTop", &C::GetMarginTop, &C::SetMarginTop)
          .Prop("MarginRight", &C::GetMarginRight, &C::SetMarginRight)
          .Prop("MarginBottom", &C::GetMarginBottom, &C::SetMarginBottom)
          .Prop("GridBackGroundColor", &C::GetGridBackGroundColor, &C::SetGridBackGroundColor)
          .Default(0x808080)
          .Type(ColorTypeInfo())
          .Prop("GridBackGroundTransparent", &C::GetGridBackGroundTransparent,
                &C::SetGridBackGroundTransparent)
          .Default(false)
          .Prop("GridLinesColor", &C::GetGridLinesColor, &C::SetGridLinesColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("GridLinesShow", &C::GetGridLinesShow, &C::SetGridLinesShow)
          .Default(true)
          .Object("DataFont", &C::GetDataFont, &C::SetDataFont)
          .Prop("ColumnSpacing", &C::GetColumnSpacing, &C::SetColumnSpacing)
          .Prop("RowSpacing", &C::GetRowSpacing, &C::SetRowSpacing)
          .Prop("RowsMax", &C::GetRowsMax, &C::SetRowsMax)
          .Default(0)
          .Prop("ColumnTitlesVisible", &C::GetColumnTitlesVisible, &C::SetColumnTitlesVisible)
          .Default(true)
          .Object("ColumnTitlesFont", &C::GetColumnTitlesFont, &C::SetColumnTitlesFont);
  return info;
}

TiPlotTable::TiPlotTable(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FDataFont = std::make_unique<TFont>();
  FDataFont->SetColor(clWhite);
  FDataFont->SetStyle(TFontStyles{fsBold});
  FDataFont->OnChange = TNotifyEvent(this, &TiPlotTable::FontChanged);
  FColumnTitlesFont = std::make_unique<TFont>();
  FColumnTitlesFont->SetColor(0xFFFF00);
  FColumnTitlesFont->SetStyle(TFontStyles{fsBold});
  FColumnTitlesFont->OnChange = TNotifyEvent(this, &TiPlotTable::FontChanged);
  // The buttons belong to the table alone: the managers never hear of them.
  const auto makeButton = [&](bool up) {
    auto b = std::make_unique<TiPlotTableButton>(AOwner, up);
    b->OnClick = up ? TNotifyEvent(this, &TiPlotTable::UpClick) : TNotifyEvent(this, &TiPlotTable::DownClick);
    b->OnRedraw = TNotifyEvent(this, &TiPlotTable::ButtonRedraw);
    return b;
  };
  FUpButton = makeButton(true);
  FDownButton = makeButton(false);
}

TiPlotTable::~TiPlotTable() = default;

// ============================================================================================
// columns and rows
// ============================================================================================

TiPlotTableColumn* TiPlotTable::GetColumn(int32_t Index) const {
  if (Index < 0 || Index >= ColumnCount()) TableIndexError(Index);
  return FColumns[size_t(Index)].get();
}

void TiPlotTable::DeleteColumn(int32_t Index) {
  if (Index < 0 || Index >= ColumnCount()) TableIndexError(Index);
  FColumns.erase(FColumns.begin() + Index);
  DoLayoutChange();
}

void TiPlotTable::ClearColumns() {
  FColumns.clear();
  DoLayoutChange();
}

TiPlotTableColumn* TiPlotTable::AddColumn(const AnsiString& Title) {
  FColumns.push_back(std::make_unique<TiPlotTableColumn>());
  FColumns.back()->Title = Title;
  DoLayoutChange();
  return FColumns.back().get();
}

int32_t TiPlotTable::AddRow(const AnsiString& Text) {
  FRows.push_back(Text);
  DoLayoutChange();
  return RowCount() - 1;
}

void TiPlotTable::ClearRows() {
  FRows.clear();
  FFirstRow = 0;
  FLastRow = -1;
  DoLayoutChange();
}

AnsiString TiPlotTable::GetCellText(int32_t Column, int32_t Row) const {
  if (Column < 0 || Column >= ColumnCount()) TableIndexError(Column);
  if (Row < 0 || Row >= RowCount()) TableIndexError(Row);
  // Lines end at CR LF, CR or LF; line Column is the cell.
  const AnsiString& text = FRows[size_t(Row)];
  size_t start = 0;
  for (int32_t line = 0;; ++line) {
    size_t end = text.find_first_of("\r\n", start);
    if (line == Column) return text.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start);
    if (end == AnsiString::npos) return AnsiString();
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

// ============================================================================================
// layout
// ============================================================================================

void TiPlotTable::CalcLayout(TCanvas* Canvas) {
  if (FRows.empty() || FColumns.empty()) {
    FNeededWidth = FNeededHeight = 0;
    return;
  }
  const TRect& R = GetLayoutRect();
  Canvas->SetFont(FColumnTitlesFont.get());
  const TSize t0 = Canvas->TextExtent("0");
  const int32_t tw = t0.cx, th = t0.cy;
  const int32_t mTop = PlotRoundPixel((long double)th * FMarginTop);
  const int32_t mBottom = PlotRoundPixel((long double)th * FMarginBottom);
  const int32_t mLeft = PlotRoundPixel((long double)tw * FMarginLeft);
  const int32_t mRight = PlotRoundPixel((long double)tw * FMarginRight);

  FGridRect.Left = PlotPixel(int64_t(R.Left) + mLeft);
  FGridRect.Top = PlotPixel(int64_t(R.Top) + mTop);
  FTitleRowRect = TRect{FGridRect.Left, FGridRect.Top, FGridRect.Left,
                        FColumnTitlesVisible ? PlotPixel(int64_t(FGridRect.Top) + th) : FGridRect.Top};
  const int32_t titleHeight = FTitleRowRect.Bottom - FTitleRowRect.Top;

  Canvas->SetFont(FDataFont.get());
  const TSize d0 = Canvas->TextExtent("0");
  const int32_t dw = d0.cx, dh = d0.cy;
  // A negative spacing must not make rows of no height (the division below).
  FRowHeight = std::max<int32_t>(1, PlotPixel(int64_t(dh) + PlotRoundPixel((long double)dh * FRowSpacing)));
  FTitleCharWidth = tw;
  FDataCharWidth = dw;

  const int32_t rows = RowCount();
  int32_t n = (FRowsMax > 0 && FRowsMax < rows) ? FRowsMax : rows;
  FNeededHeight = PlotPixel(int64_t(mTop) + mBottom + titleHeight + int64_t(n) * FRowHeight);
  FGridRect.Bottom = PlotPixel(int64_t(FTitleRowRect.Bottom) + int64_t(n) * FRowHeight);

  int64_t sum = 0;
  const int32_t titleSpacing = PlotRoundPixel((long double)tw * FColumnSpacing);
  const int32_t dataSpacing = PlotRoundPixel((long double)dw * FColumnSpacing);
  for (int32_t c = 0; c < ColumnCount(); ++c) {
    TiPlotTableColumn* col = FColumns[size_t(c)].get();
    if (!col->Visible) continue;
    if (col->AutoSize) {
      Canvas->SetFont(FColumnTitlesFont.get());
      int64_t w = int64_t(Canvas->TextWidth(col->Title)) + titleSpacing + tw;
      Canvas->SetFont(FDataFont.get());
      for (int32_t r = 0; r < rows; ++r)
        w = std::max<int64_t>(w, int64_t(Canvas->TextWidth(GetCellText(c, r))) + dataSpacing + dw);
      col->Width = PlotPixel(w);
    } else {
      col->Width = PlotRoundPixel((long double)col->FixedWidth * dw);
    }
    sum += col->Width;
  }
  FNeededWidth = PlotPixel(int64_t(mLeft) + mRight + sum);
  FGridRect.Right = PlotPixel(int64_t(FGridRect.Left) + sum);
  FTitleRowRect.Right = FGridRect.Right;

  const int64_t room = int64_t(R.Bottom) - mBottom;
  if (FGridRect.Bottom > room) {
    n = int32_t(std::max<int64_t>(0, (room - FTitleRowRect.Bottom) / FRowHeight));
    FGridRect.Bottom = PlotPixel(int64_t(FTitleRowRect.Bottom) + int64_t(n) * FRowHeight);
  }

  if (n < rows) {
    const int32_t half = FRowHeight / 2;
    const int32_t cUp = FTitleRowRect.Bottom + half;
    const int32_t cDown = PlotPixel(int64_t(FTitleRowRect.Bottom) + int64_t(n) * FRowHeight - half);
    const int32_t left = PlotPixel(int64_t(FGridRect.Right) + 5);
    FUpButton->SetButtonRect(TRect{left, cUp - 8, left + kTableButtonWidth, cUp + 9});
    FDownButton->SetButtonRect(TRect{left, cDown - 8, left + kTableButtonWidth, cDown + 9});
    FUpButton->SetVisible(true);
    FDownButton->SetVisible(true);
    FNeededWidth = PlotPixel(int64_t(FNeededWidth) + kTableButtonWidth + 5);
    FLastRow = FFirstRow + n - 1;
    if (FLastRow > rows - 1) {
      FLastRow = rows - 1;
      FFirstRow = rows - n;
    }
    if (FFirstRow < 0) {
      FFirstRow = 0;
      FLastRow = n - 1;
    }
  } else {
    FUpButton->SetVisible(false);
    FDownButton->SetVisible(false);
    FFirstRow = 0;
    FLastRow = n - 1;
  }
  FUpButton->SetEnabled(FFirstRow != 0);
  FDownButton->SetEnabled(FLastRow + 1 != rows);
}

int32_t TiPlotTable::RequiredThickness(TCanvas* Canvas) {
  CalcLayout(Canvas);
  return GetHorizontal() ? FNeededHeight : FNeededWidth;
}

void TiPlotTable::ScrollUp() {
  if (FFirstRow > 0) {
    --FFirstRow;
    DoChange();
  }
}

void TiPlotTable::ScrollDown() {
  if (FFirstRow < RowCount() - 1) {
    ++FFirstRow;
    DoChange();
  }
}

// ============================================================================================
// drawing
// ============================================================================================

void TiPlotTable::DrawCellText(TCanvas* Canvas, const AnsiString& Text, TRect Cell, int32_t Alignment,
                               int32_t Inset) {
  int32_t flags = 146;
  if (Alignment == 1) {
    Cell.Left += Inset;
    flags = 145;
  } else if (Alignment == 2) {
    Cell.Right -= Inset;
    flags = 148;
  }
  DrawTextFlags(Canvas, Text, Cell, flags);
}

void TiPlotTable::Draw(TCanvas* Canvas, TColor) {
  if (!GetVisible() || FRows.empty() || FColumns.empty()) return;
  CalcLayout(Canvas);
  TBrush* brush = Canvas->GetBrush();
  TPen* pen = Canvas->GetPen();
  brush->SetStyle(bsSolid);
  pen->SetStyle(psSolid);
  if (!FGridBackGroundTransparent) {
    brush->SetColor(FGridBackGroundColor);
    Canvas->FillRect(FGridRect);
  }

  if (FGridLinesShow) {
    pen->SetColor(FGridLinesColor);
    pen->SetWidth(1);
    int32_t x = FGridRect.Left;
    for (const auto& col : FColumns) {
      if (!col->Visible) continue;
      Canvas->MoveTo(x, FGridRect.Top);
      Canvas->LineTo(x, FGridRect.Bottom);
      x += col->Width;
    }
    Canvas->MoveTo(FGridRect.Right, FGridRect.Top);
    Canvas->LineTo(FGridRect.Right, FGridRect.Bottom);
    auto across = [&](int32_t y) {
      Canvas->MoveTo(FGridRect.Left, y);
      Canvas->LineTo(FGridRect.Right + 1, y);
    };
    across(FGridRect.Top);
    across(FTitleRowRect.Bottom);
    for (int32_t r = FFirstRow; r <= FLastRow; ++r)
      across(FTitleRowRect.Bottom + (r - FFirstRow + 1) * FRowHeight);
  }

  brush->SetStyle(bsClear);
  if (FColumnTitlesVisible) {
    Canvas->SetFont(FColumnTitlesFont.get());
    int32_t x = FGridRect.Left;
    for (const auto& col : FColumns) {
      if (!col->Visible) continue;
      Canvas->GetFont()->SetColor(col->TitleFontColor);
      DrawCellText(Canvas, col->Title, TRect{x, FTitleRowRect.Top, x + col->Width, FTitleRowRect.Bottom},
                   col->TitleAlignment, PlotRoundPixel((long double)col->TitleMargin * FTitleCharWidth));
      x += col->Width;
    }
  }
  Canvas->SetFont(FDataFont.get());
  for (int32_t r = FFirstRow; r <= FLastRow && r < RowCount(); ++r) {
    const int32_t top = FTitleRowRect.Bottom + (r - FFirstRow) * FRowHeight;
    int32_t x = FGridRect.Left;
    for (int32_t c = 0; c < ColumnCount(); ++c) {
      const TiPlotTableColumn* col = FColumns[size_t(c)].get();
      if (!col->Visible) continue;
      Canvas->GetFont()->SetColor(col->DataFontColor);
      DrawCellText(Canvas, GetCellText(c, r), TRect{x, top, x + col->Width, top + FRowHeight},
                   col->DataAlignment, PlotRoundPixel((long double)col->DataMargin * FDataCharWidth));
      x += col->Width;
    }
  }

  FUpButton->Draw(Canvas, clBtnFace);
  FDownButton->Draw(Canvas, clBtnFace);

  if (GetSelected()) {
    TRect r = GetLayoutRect();
    if (GetHorizontal()) {
      r.Top += 2;
      r.Bottom -= 2;
    }
    DrawPlotFocusFrame(Canvas, r);
  }
}

// ============================================================================================
// input
// ============================================================================================

TiPlotObject* TiPlotTable::SubObjectAt(int32_t X, int32_t Y) {
  if (FUpButton->GetVisible() && FUpButton->GetButtonRect().Contains(TPoint{X, Y})) return FUpButton.get();
  if (FDownButton->GetVisible() && FDownButton->GetButtonRect().Contains(TPoint{X, Y}))
    return FDownButton.get();
  return TiPlotLayoutObject::SubObjectAt(X, Y);
}

void TiPlotTable::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj != this && GetSelected()) SetSelected(false);
}

void TiPlotTable::LeftUp(const TiMouseRecord& MouseRecord) {
  if (GetLeftPressed() && GetLayoutRect().Contains(TPoint{MouseRecord.X, MouseRecord.Y}))
    if (TiPlotObjectHost* host = GetOwnerHost()) host->DoObjectClick(this);
}

void TiPlotTable::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotLayoutObject::BuildPopupMenu(PopupMenu);
  AddEditMenuItem(PopupMenu);
}
