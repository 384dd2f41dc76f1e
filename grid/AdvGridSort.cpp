// The advanced grid's sorting: the sort settings, the cell comparison by sort style, the
// quicksort over rows with a pivot in a scratch row, and the drivers (by column, by index list,
// within node groups, by a header click).
//
// Sections: sort settings / comparison / quicksort / drivers.
#include <algorithm>
#include <numeric>

#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"
#include "grid/AsgHTMLE.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

PL_ENUM_NAMES(TSortStyle, "ssAutomatic", "ssAlphabetic", "ssNumeric", "ssDate", "ssAlphaNoCase",
              "ssAlphaCase", "ssShortDateEU", "ssShortDateUS", "ssCustom", "ssFinancial", "ssAnsiAlphaCase",
              "ssAnsiAlphaNoCase", "ssRaw", "ssHTML", "ssImages", "ssCheckBox", "ssUnicode")
PL_ENUM_NAMES(TSortDirection, "sdAscending", "sdDescending")
PL_ENUM_NAMES(TSortBlankPosition, "blFirst", "blLast")

namespace {
constexpr const char* SNoSortIndexes = "No indexes specified for indexed sort";
constexpr const char* SSortRowTooLarge = "Sort row should be smaller than number of fixed rows";
}  // namespace

// ============================================================================ sort settings ===

const TClassInfo& TSortSettings::ClassInfo() {
  using S = TSortSettings;
  static const TClassInfo info = TClassInfo::Of<S, TPersistent>("TSortSettings")
                                     .Prop("AutoColumnMerge", &S::AutoColumnMerge)
                                     .Default(false)
                                     .Prop("Column", &S::Column)
                                     .Default(0)
                                     .Prop("Show", &S::Show)
                                     .Default(false)
                                     .Prop("IndexShow", &S::IndexShow)
                                     .Default(false)
                                     .Prop("IndexColor", &S::IndexColor)
                                     .Default(clYellow)
                                     .Type(ColorTypeInfo())
                                     .Prop("Full", &S::Full)
                                     .Default(true)
                                     .Prop("SingleColumn", &S::SingleColumn)
                                     .Default(false)
                                     .Prop("IgnoreBlanks", &S::IgnoreBlanks)
                                     .Default(false)
                                     .Prop("BlankPos", &S::BlankPos)
                                     .Default(blFirst)
                                     .Prop("AutoFormat", &S::AutoFormat)
                                     .Default(true)
                                     .Prop("Direction", &S::Direction)
                                     .Default(sdAscending)
                                     .Prop("UpGlyph", &S::GetUpGlyph, &S::SetUpGlyph)
                                     .Prop("DownGlyph", &S::GetDownGlyph, &S::SetDownGlyph)
                                     .Prop("IndexUpGlyph", &S::GetIndexUpGlyph, &S::SetIndexUpGlyph)
                                     .Prop("IndexDownGlyph", &S::GetIndexDownGlyph, &S::SetIndexDownGlyph)
                                     .Prop("FixedCols", &S::FixedCols)
                                     .Default(false)
                                     .Prop("NormalCellsOnly", &S::NormalCellsOnly)
                                     .Default(false)
                                     .Prop("Row", &S::GetRow, &S::SetRow)
                                     .Default(0);
  return info;
}

TSortSettings::TSortSettings(TAdvStringGrid* AOwner) : grid_(AOwner) {
  for (auto& g : glyphs_) g = std::make_unique<TBitmap>();
}

TSortSettings::~TSortSettings() = default;

void TSortSettings::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TSortSettings*>(Source);
  if (!src) return TPersistent::Assign(Source);
  AutoColumnMerge = src->AutoColumnMerge;
  Column = src->Column;
  Show = src->Show;
  IndexShow = src->IndexShow;
  IndexColor = src->IndexColor;
  Full = src->Full;
  SingleColumn = src->SingleColumn;
  IgnoreBlanks = src->IgnoreBlanks;
  BlankPos = src->BlankPos;
  AutoFormat = src->AutoFormat;
  Direction = src->Direction;
  for (size_t i = 0; i < glyphs_.size(); ++i) glyphs_[i]->Assign(src->glyphs_[i].get());
  FixedCols = src->FixedCols;
  NormalCellsOnly = src->NormalCellsOnly;
  SetRow(src->row_);
}

// A stored definition may give the fixed rows after this value: it is checked only at run time.
void TSortSettings::SetRow(int32_t Value) {
  if (grid_ && !grid_->ComponentState().Contains(csLoading) && Value > grid_->GetFixedRows())
    throw Exception(SSortRowTooLarge);
  row_ = Value;
}

// ============================================================================ comparison ======

namespace {
int32_t CompareSign(long double a, long double b) { return a < b ? -1 : a > b ? 1 : 0; }
int32_t CompareSign(int32_t c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

// The style a column without a fixed one sorts by, read from one cell.
TSortStyle DetectSortStyle(TAdvStringGrid* g, int32_t ACol, int32_t ARow, const AnsiString& S) {
  const TCellType t = g->GetCellType(ACol, ARow);
  if (t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox) return ssCheckBox;
  const int32_t kind = NumberKind(S);
  if (kind == 0 || kind == 1) return ssNumeric;
  const size_t slash = S.find('/');
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  // 1-based position 2 or 3, not the last character, digits on both sides.
  if (slash != AnsiString::npos && slash >= 1 && slash <= 2 && slash + 1 < S.size() && digit(S[slash - 1]) &&
      digit(S[slash + 1]))
    return ssDate;
  return ssAlphabetic;
}

// A cell text as a number for the numeric styles; an empty cell is 0.
bool SortNumber(const AnsiString& S, const AnsiString& Prefix, const AnsiString& Suffix, bool Financial,
                long double& Value) {
  Value = 0;
  if (S.empty()) return true;
  AnsiString s = S;
  if (!Suffix.empty())
    if (size_t p = s.find(Suffix); p != AnsiString::npos) s.erase(p, Suffix.size());
  if (!Prefix.empty())
    if (size_t p = s.find(Prefix); p != AnsiString::npos) s.erase(p, Prefix.size());
  const char dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
  if (Financial) s.erase(std::remove(s.begin(), s.end(), thou), s.end());
  if (dec != '.')
    if (size_t p = s.find(dec); p != AnsiString::npos) s[p] = '.';
  static const TFormatSettings dot = [] {
    TFormatSettings fs = DefaultFormatSettings();
    fs.DecimalSeparator = '.';
    return fs;
  }();
  return TryStrToFloat(s, Value, dot);
}

// Simple case folding of the Latin letters, enough for a case-blind order.
char16_t FoldCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char16_t(c + 0x20);
  return c;
}

int32_t CompareWideNoCase(const WideString& a, const WideString& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
}  // namespace

int32_t TAdvStringGrid::CompareCells(int32_t ACol, int32_t Row1, int32_t Row2) {
  const TSortSettings* ss = sortSettings_.get();
  TSortStyle style = ss->AutoFormat ? ssAutomatic : ssAlphabetic;
  AnsiString prefix, suffix;
  GetColumnFormat(ACol, style, prefix, suffix);
  const AnsiString s1 = GetCells(ACol, Row1), s2 = GetCells(ACol, Row2);
  if (style == ssAutomatic) style = DetectSortStyle(this, ACol, Row1, s1);

  int32_t res = 1;
  switch (style) {
    case ssAlphabetic:
    case ssAlphaCase:
      res = CompareSign(s1.compare(s2));
      break;
    case ssAlphaNoCase:
      res = CompareSign(UpperCase(s1).compare(UpperCase(s2)));
      break;
    case ssNumeric:
    case ssFinancial: {
      long double a, b;
      const bool okA = SortNumber(s1, prefix, suffix, style == ssFinancial, a);
      const bool okB = SortNumber(s2, prefix, suffix, style == ssFinancial, b);
      res = !okA && !okB ? 0 : CompareSign(a, b);
      break;
    }
    case ssDate: {
      TDateTime a = 0, b = 0;
      if (s1.empty() || !TryStrToDateTime(s1, a)) a = 0;
      if (s2.empty() || !TryStrToDateTime(s2, b)) b = 0;
      res = CompareSign(a, b);
      break;
    }
    case ssShortDateEU:
      res = CompareSign(ParseDateEU(s1), ParseDateEU(s2));
      break;
    case ssShortDateUS:
      res = CompareSign(ParseDateUS(s1), ParseDateUS(s2));
      break;
    case ssCustom:
      res = 0;
      OnCustomCompare(this, s1, s2, res);
      res = CompareSign(res);
      break;
    case ssAnsiAlphaCase:
      res = CompareSign(AnsiCompareStr(s1, s2));
      break;
    case ssAnsiAlphaNoCase:
      res = CompareSign(AnsiCompareText(s1, s2));
      break;
    case ssRaw:
      res = 0;
      OnRawCompare(this, ACol, Row1, Row2, res);
      res = CompareSign(res);
      break;
    case ssHTML:
      res = CompareSign(MarkupToText(s1).compare(MarkupToText(s2)));
      break;
    case ssImages: {
      const int32_t a = GraphicSortKey(ACol, Row1), b = GraphicSortKey(ACol, Row2);
      res = a > b ? 1 : a == b ? 0 : -1;
      break;
    }
    case ssCheckBox: {
      bool a = false, b = false;
      GetCheckBoxState(ACol, Row1, a);
      GetCheckBoxState(ACol, Row2, b);
      res = a && !b ? 1 : a == b ? 0 : -1;
      break;
    }
    case ssUnicode:
      res = CompareWideNoCase(GetWideCell(ACol, Row1), GetWideCell(ACol, Row2));
      break;
    default:
      break;
  }

  if (ss->IgnoreBlanks && s1.empty() != s2.empty()) {
    const bool last = ss->BlankPos == blLast;
    res = s1.empty() ? (last ? 1 : -1) : (last ? -1 : 1);
    if (ss->Direction == sdDescending) res = -res;
  }
  return res;
}

int32_t TAdvStringGrid::CompareRowsFull(int32_t ACol, int32_t Row1, int32_t Row2) {
  int32_t res = CompareCells(ACol, Row1, Row2);
  while (res == 0 && sortSettings_->Full && ACol <= GetColCount() - 2) res = CompareCells(++ACol, Row1, Row2);
  return res;
}

int32_t TAdvStringGrid::CompareRowsIndexed(int32_t Depth, int32_t Row1, int32_t Row2) {
  for (; Depth < sortIndexes_->Count(); ++Depth) {
    const int32_t e = sortIndexes_->GetItem(Depth);
    const int32_t r = CompareCells(TSortIndexList::ColumnOf(e), Row1, Row2);
    if (r != 0 || !sortSettings_->Full) return TSortIndexList::IsDescending(e) ? -r : r;
  }
  return 0;
}

// Rows that compare equal keep the order they had when the sort began; in a descending column
// sort the comparison is read reversed, so the tie order is reversed with it.
int32_t TAdvStringGrid::SortCompare(int32_t ACol, int32_t Row1, int32_t Row2, int32_t Depth) {
  const int32_t r = Depth < 0 ? CompareRowsFull(ACol, Row1, Row2) : CompareRowsIndexed(Depth, Row1, Row2);
  if (r != 0 || Row1 == Row2) return r;
  const int32_t n = int32_t(rowOrder_.size());
  if (Row1 < 0 || Row2 < 0 || Row1 >= n || Row2 >= n) return r;
  const int32_t a = rowOrder_[size_t(Row1)], b = rowOrder_[size_t(Row2)];
  if (a == b) return 0;
  return (a < b ? -1 : 1) * (Depth < 0 ? sortSign_ : 1);
}

// ============================================================================ quicksort =======

namespace {
// Hoare's partition around a pivot held in a scratch row.  Want is the comparison result that
// means "in order"; the smaller part is sorted by recursion and the larger in the loop, so the
// depth stays logarithmic.
template <class Cmp, class Pivot, class Swap>
void HoareSortRows(int32_t First, int32_t Last, int32_t Want, Cmp Compare, Pivot CopyPivot, Swap Exchange) {
  while (First < Last) {
    const int32_t pivot = CopyPivot((First + Last) / 2);
    int32_t i = First, j = Last;
    do {
      while (Compare(pivot, i) == Want && i < Last) ++i;
      while (Compare(j, pivot) == Want && First < j) --j;
      if (i <= j) {
        if (i != j && Compare(i, j) != 0) Exchange(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - First < Last - i) {
      if (First < j) HoareSortRows(First, j, Want, Compare, CopyPivot, Exchange);
      First = i;
    } else {
      if (i < Last) HoareSortRows(i, Last, Want, Compare, CopyPivot, Exchange);
      Last = j;
    }
  }
}
}  // namespace

namespace {
// Copies row From into the pivot's scratch row: displayed texts when a display-text hook is
// set, else texts and object references (the scratch row then shares them).
int32_t CopyPivotRow(TAdvStringGrid* g, int32_t From, std::vector<int32_t>& order) {
  const int32_t scratch = g->GetRowCount() - 2;
  const int32_t cols = g->GetColCount();
  if (g->OnGetDisplText) {
    for (int32_t c = 0; c < cols; ++c) g->SetRawCells(c, scratch, g->GetCells(c, From));
  } else {
    for (int32_t c = 0; c < cols; ++c) {
      g->SetRawCells(c, scratch, g->GetRawCells(c, From));
      g->SetCellObject(c, scratch, g->GetCellObject(c, From));
    }
  }
  if (size_t(scratch) < order.size() && size_t(From) < order.size())
    order[size_t(scratch)] = order[size_t(From)];
  return scratch;
}
}  // namespace

void TAdvStringGrid::QuickSortRows(int32_t ACol, int32_t First, int32_t Last) {
  const int32_t d = sortSettings_->Direction == sdDescending ? -1 : 1;
  sortSign_ = d;
  HoareSortRows(
      First, Last, d, [&](int32_t a, int32_t b) { return SortCompare(ACol, a, b, -1); },
      [&](int32_t p) { return CopyPivotRow(this, p, rowOrder_); },
      [&](int32_t a, int32_t b) { ExchangeRows(a, b); });
}

void TAdvStringGrid::QuickSortRowsIndexed(int32_t Depth, int32_t First, int32_t Last) {
  HoareSortRows(
      First, Last, 1, [&](int32_t a, int32_t b) { return SortCompare(0, a, b, Depth); },
      [&](int32_t p) { return CopyPivotRow(this, p, rowOrder_); },
      [&](int32_t a, int32_t b) { ExchangeRows(a, b); });
}

void TAdvStringGrid::ExchangeRows(int32_t ARow1, int32_t ARow2) {
  ++swapCount_;
  const size_t n = rowOrder_.size();
  if (size_t(ARow1) < n && size_t(ARow2) < n) std::swap(rowOrder_[size_t(ARow1)], rowOrder_[size_t(ARow2)]);
  auto swapCell = [&](int32_t c) {
    const AnsiString t = GetRawCells(c, ARow1);
    SetRawCells(c, ARow1, GetRawCells(c, ARow2));
    SetRawCells(c, ARow2, t);
    TObject* o = GetObjects(c, ARow1);
    SetObjects(c, ARow1, GetObjects(c, ARow2));
    SetObjects(c, ARow2, o);
  };
  if (sortSettings_->SingleColumn) {
    swapCell(sortSettings_->Column);
  } else {
    for (int32_t c = 0; c < GetColCount(); ++c) swapCell(c);
    const int32_t h1 = GetRowHeights(ARow1), h2 = GetRowHeights(ARow2);
    if (h1 != h2) {
      SetRowHeights(ARow1, h2);
      SetRowHeights(ARow2, h1);
    }
    if (mouseActions_->DisjunctRowSelect && navigation_->MoveRowOnSort) {
      EnsureFlags(rowSelect_, std::max(ARow1, ARow2) + 1);
      std::swap(rowSelect_[size_t(ARow1)], rowSelect_[size_t(ARow2)]);
    }
  }
  if (trackedRow_ == ARow1)
    trackedRow_ = ARow2;
  else if (trackedRow_ == ARow2)
    trackedRow_ = ARow1;
}

// ============================================================================ drivers =========

// Three scratch rows are added for the sort (the pivot lives in one of them) and always taken
// away again, also when a handler raises: they share object references with real rows, so they
// are emptied without freeing anything.
template <class F>
void TAdvStringGrid::SortFrame(F Sort, bool Track) {
  const int32_t realRows = GetRowCount(), oldRow = GetRow();
  const bool keepCol0 = sortSettings_->NormalCellsOnly && GetFixedCols() > 0;
  std::vector<std::pair<AnsiString, TObject*>> col0;
  if (keepCol0)
    for (int32_t r = 0; r < realRows; ++r) col0.emplace_back(GetRawCells(0, r), GetObjects(0, r));
  const int32_t hidden = hiddenColCount_;
  const int32_t lastWidth = GetColCount() > 0 ? GetColWidths(GetColCount() - 1) : 0;
  bool done = false;
  LockUpdate();
  auto finish = [&] {
    for (int32_t r = realRows; r < GetRowCount(); ++r) ResetRowCells(r);
    const bool pending = std::exchange(pending_, false);
    const int32_t row = done && (Track || navigation_->MoveRowOnSort) ? trackedRow_ : oldRow;
    if (row >= 0 && row < realRows && row != GetRow()) SetRow(row);
    pending_ = pending;
    if (hidden) SetColCount(GetColCount() - hidden);
    if (GetColCount() > 0) SetColWidths(GetColCount() - 1, lastWidth);
    if (GetRowCount() != realRows) SetRowCount(realRows);
    for (size_t r = 0; r < col0.size(); ++r) {
      SetRawCells(0, int32_t(r), col0[r].first);
      SetObjects(0, int32_t(r), col0[r].second);
    }
    rowOrder_.clear();
    trackedRow_ = -1;
    UnlockUpdate();
  };
  try {
    SetRowCount(realRows + 3);
    displRowLimit_ = realRows;
    if (hidden) SetColCount(GetColCount() + hidden);
    rowOrder_.resize(size_t(realRows) + 3);
    std::iota(rowOrder_.begin(), rowOrder_.end(), 0);
    trackedRow_ = oldRow;
    if (navigation_->MoveRowOnSort) SetRow(realRows);
    Sort();
    done = true;
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TAdvStringGrid::SortByColumn() {
  const int32_t first = GetFixedRows(), last = GetRowCount() - fixedFooters_ - 1;
  SortFrame(
      [&] {
        if (first < last) QuickSortRows(sortSettings_->Column, first, last);
      },
      false);
}

void TAdvStringGrid::SortByIndex() {
  if (sortIndexes_->Count() == 0) throw EAdvGridError(SNoSortIndexes);
  const int32_t first = GetFixedRows(), last = GetRowCount() - fixedFooters_ - 1;
  SortFrame(
      [&] {
        if (first < last) QuickSortRowsIndexed(0, first, last);
      },
      false);
}

// Groups start below each node row; the first node must be row 1.  The footer rows never sort.
void TAdvStringGrid::SortNodeGroups() {
  const int32_t end = GetRowCount() - fixedFooters_;
  SortFrame(
      [&] {
        for (int32_t r = 1; r < end && IsNodeRow(r);) {
          int32_t next = r + 1;
          while (next < end && !IsNodeRow(next)) ++next;
          if (next - r - 1 >= 2) QuickSortRows(sortSettings_->Column, r + 1, next - 1);
          r = next;
        }
      },
      true);
}

TSortGlyphState TAdvStringGrid::SortGlyphState() {
  const TSortSettings* ss = sortSettings_.get();
  TSortGlyphState st;
  st.Show = ss->Show;
  st.Row = ss->GetRow();
  st.Column = ss->Column;
  st.FixedCols = ss->FixedCols;
  st.IndexShow = ss->IndexShow;
  st.IndexColor = ss->IndexColor;
  if (ss->IndexShow)
    for (int32_t i = 0; i < sortIndexes_->Count(); ++i) st.Index.push_back(sortIndexes_->GetItem(i));
  st.Descending = ss->Direction == sdDescending;
  st.UpGlyph = ss->GetUpGlyph();
  st.DownGlyph = ss->GetDownGlyph();
  st.IndexUpGlyph = ss->GetIndexUpGlyph();
  st.IndexDownGlyph = ss->GetIndexDownGlyph();
  return st;
}

void TAdvStringGrid::SortColumnsMoved(int32_t FromIndex, int32_t ToIndex) {
  auto moved = [&](int32_t c) {
    if (c == FromIndex) return ToIndex;
    if (FromIndex < ToIndex && c > FromIndex && c <= ToIndex) return c - 1;
    if (ToIndex < FromIndex && c >= ToIndex && c < FromIndex) return c + 1;
    return c;
  };
  sortSettings_->Column = moved(sortSettings_->Column);
  for (int32_t i = 0; i < sortIndexes_->Count(); ++i) {
    const int32_t e = sortIndexes_->GetItem(i);
    const int32_t c = moved(TSortIndexList::ColumnOf(e));
    sortIndexes_->SetItem(
        i, TSortIndexList::IsDescending(e) ? int32_t(uint32_t(c) | TSortIndexList::DescendingBit) : c);
  }
}

void TAdvStringGrid::MergedColumnsChanged() {
  for (int32_t c = 0; c < GetColCount(); ++c) SplitColumnMerges(c);
  for (int32_t i = 0; i < mergedColumns_->Count(); ++i) {
    const int32_t c = mergedColumns_->GetItem(i);
    if (c >= 0 && c < GetColCount()) MergeColumnRuns(c, i == 0);
  }
  Invalidate();
}

// The mouse handling has left out clicks on sizing borders and fixed columns that do not sort.
void TAdvStringGrid::HeaderClickSort(int32_t ACol, int32_t ARow, int32_t DownRow, TShiftState Shift) {
  TSortSettings* ss = sortSettings_.get();
  if (ACol < GetFixedCols() && !ss->FixedCols) return;
  if (ARow != ss->GetRow() || DownRow != ss->GetRow() || GetFixedRows() <= 0 || !ss->Show ||
      GetRowCount() <= 2)
    return;
  bool doSort = true;
  OnCanSort(this, ACol, doSort);
  if (!doSort) return;
  const int32_t col = DisplColToDataCol(ACol);
  HideInplaceEdit();
  if (ss->AutoColumnMerge)
    for (int32_t c = 0; c < GetColCount(); ++c) SplitColumnMerges(c);

  if (ss->IndexShow) {
    TSortIndexList* list = sortIndexes_.get();
    if (Shift.Contains(ssShift)) {
      if (list->FindIndex(col) < 0)
        list->AddIndex(col, true);
      else
        list->ToggleIndex(col);
    } else if (list->Count() == 1 && list->FindIndex(col) == 0) {
      list->ToggleIndex(col);
    } else {
      list->Clear();
      list->AddIndex(col, true);
    }
    SortByIndex();
  } else {
    if (col == ss->Column) {
      ss->Direction = ss->Direction == sdAscending ? sdDescending : sdAscending;
    } else {
      ss->Column = col;
      ss->Direction = sdAscending;
    }
    const bool keepLeft = navigation_->KeepHorizScroll && GetOptions().Contains(goRowSelect);
    const int32_t left = GetLeftCol();
    if (keepLeft) LockUpdate();
    struct TRestore {
      TAdvStringGrid* g;
      bool keep;
      int32_t left;
      ~TRestore() {
        if (!keep) return;
        g->SetLeftCol(left);
        g->UnlockUpdate();
      }
    } restore{this, keepLeft, left};
    bool nodes = false;
    for (int32_t r = 0; r < GetRowCount() && !nodes; ++r) nodes = IsNodeRow(r);
    if (nodes)
      SortNodeGroups();
    else
      SortByColumn();
  }
  if (ss->AutoColumnMerge)
    for (int32_t i = 0; i < mergedColumns_->Count(); ++i)
      if (const int32_t c = mergedColumns_->GetItem(i); c >= 0 && c < GetColCount())
        MergeColumnRuns(c, i == 0);
  OnClickSort(this, ss->Column);
}
