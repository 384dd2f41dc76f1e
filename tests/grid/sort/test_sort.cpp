// Sorting: every comparison style, automatic style detection, placement of blanks, the cascade
// over the following columns, indexed sorts with direction bits, the current row, fixed column 0,
// header clicks, the scratch rows and the sort errors.
#include <stdexcept>

#include "grid/AdvUtil.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormatSettings.h"
#include "tests/grid/sort/SortFixture.h"

namespace grid_sort_test {
namespace {

class Sort : public SortFixture {
 protected:
  void TearDown() override {
    FormatSettings = DefaultFormatSettings();
    SortFixture::TearDown();
  }
  // Column 0 sorted ascending with the given style (ssAutomatic: detected).
  Texts Sorted(const Texts& in, TSortStyle style, const AnsiString& prefix = "",
               const AnsiString& suffix = "") {
    auto* g = Grid(1, {in});
    g->OnGetFormat =
        TGridFormatEvent::Lambda([=](TObject*, int32_t, TSortStyle& s, AnsiString& p, AnsiString& x) {
          s = style;
          p = prefix;
          x = suffix;
        });
    g->OnCustomCompare = TCustomCompareEvent::Lambda([](TObject*, AnsiString a, AnsiString b, int32_t& res) {
      res = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    });
    g->SortByColumn();
    Texts out = Column(g, 0);
    form_->Free();
    form_ = nullptr;
    return out;
  }
};

TEST_F(Sort, EachStyleOrdersByItsOwnReading) {
  struct Case {
    const char* name;
    TSortStyle style;
    Texts in, out;
    const char* prefix = "";
    const char* suffix = "";
  } cases[] = {
      {"numbers detected", ssAutomatic, {"10", "2", "33", "1"}, {"1", "2", "10", "33"}},
      {"text detected: byte order", ssAutomatic, {"b", "abc/1", "B", "a"}, {"B", "a", "abc/1", "b"}},
      {"dates detected", ssAutomatic, {"3/1/03", "1/2/03", "12/25/02"}, {"12/25/02", "1/2/03", "3/1/03"}},
      {"case blind, ties keep their order", ssAlphaNoCase, {"b", "C", "B", "a"}, {"a", "b", "B", "C"}},
      {"numbers with prefix and suffix",
       ssNumeric,
       {"$10 kg", "$9 kg", "$100 kg"},
       {"$9 kg", "$10 kg", "$100 kg"},
       "$",
       " kg"},
      {"financial drops thousands", ssFinancial, {"1,200", "300", "12,000"}, {"300", "1,200", "12,000"}},
      {"EU short dates",
       ssShortDateEU,
       {"01.01.05", "31.12.99", "15.06.2000"},
       {"31.12.99", "15.06.2000", "01.01.05"}},
      {"US short dates",
       ssShortDateUS,
       {"12-31-05", "01-01-05", "6-1-99"},
       {"6-1-99", "01-01-05", "12-31-05"}},
      {"custom callback", ssCustom, {"ccc", "a", "bb"}, {"a", "bb", "ccc"}},
      {"markup by its text", ssHTML, {"<B>b</B>", "a", "<I>c</I>"}, {"a", "<B>b</B>", "<I>c</I>"}},
      {"locale, case blind", ssAnsiAlphaNoCase, {"b", "A", "c"}, {"A", "b", "c"}},
      {"wide text, case blind", ssUnicode, {"b", "A", "c"}, {"A", "b", "c"}},
      {"raw without a handler keeps the order", ssRaw, {"b", "a", "c"}, {"b", "a", "c"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Sorted(c.in, c.style, c.prefix, c.suffix), c.out) << c.name;
}

TEST_F(Sort, CheckBoxesImagesAndRawCompareReadTheCellsNotTheirTexts) {
  auto* g = Grid(2, {{"", "", ""}, {"x", "y", "z"}});
  g->CreateCellGraphic(0, 1)->CellType = ctCheckBox;
  TCellGraphic* checked = g->CreateCellGraphic(0, 2);
  checked->CellType = ctCheckBox;
  checked->CellBoolean = true;
  g->CreateCellGraphic(0, 3)->CellType = ctCheckBox;
  g->GetSortSettings()->Direction = sdDescending;
  g->SortByColumn();  // detected from the check box cells
  EXPECT_EQ(Column(g, 1), (Texts{"y", "z", "x"})) << "checked first; equal boxes by column 1, descending too";

  // The raw handler compares whatever it likes: here column 1, backwards.
  g->OnGetFormat =
      TGridFormatEvent::Lambda([](TObject*, int32_t, TSortStyle& s, AnsiString&, AnsiString&) { s = ssRaw; });
  std::vector<int32_t> cols;
  g->OnRawCompare =
      TRawCompareEvent::Lambda([&](TObject*, int32_t col, int32_t r1, int32_t r2, int32_t& res) {
        cols.push_back(col);
        res = -10 * g->GetCells(1, r1).compare(g->GetCells(1, r2));
      });
  g->GetSortSettings()->Direction = sdAscending;
  g->GetSortSettings()->Full = false;
  g->SortByColumn();
  EXPECT_EQ(Column(g, 1), (Texts{"z", "y", "x"}));
  EXPECT_EQ(cols.front(), 0);
}

TEST_F(Sort, BlanksGoWhereBlankPosSaysInBothDirections) {
  struct Case {
    bool ignore;
    TSortBlankPosition pos;
    TSortDirection dir;
    TSortStyle style;
    Texts out;
  } cases[] = {
      {true, blLast, sdAscending, ssNumeric, {"-3", "5", "10", "", ""}},
      {true, blLast, sdDescending, ssNumeric, {"10", "5", "-3", "", ""}},
      {true, blFirst, sdAscending, ssNumeric, {"", "", "-3", "5", "10"}},
      {true, blFirst, sdDescending, ssNumeric, {"", "", "10", "5", "-3"}},
      // Without IgnoreBlanks an empty cell is the number 0 ...
      {false, blLast, sdAscending, ssNumeric, {"-3", "", "", "5", "10"}},
      // ... and the empty text, first in text order.
      {false, blLast, sdAscending, ssAlphabetic, {"", "", "-3", "10", "5"}},
  };
  for (const Case& c : cases) {
    auto* g = Grid(1, {{"5", "", "-3", "10", ""}});
    TSortSettings* ss = g->GetSortSettings();
    ss->IgnoreBlanks = c.ignore;
    ss->BlankPos = c.pos;
    ss->Direction = c.dir;
    const TSortStyle style = c.style;
    g->OnGetFormat = TGridFormatEvent::Lambda(
        [=](TObject*, int32_t, TSortStyle& s, AnsiString&, AnsiString&) { s = style; });
    g->SortByColumn();
    EXPECT_EQ(Column(g, 0), c.out) << c.ignore << c.pos << c.dir << c.style;
    form_->Free();
    form_ = nullptr;
  }
}

TEST_F(Sort, EqualValuesFallThroughToTheFollowingColumnsAndTiesKeepTheirOrder) {
  const std::vector<Texts> rows = {{"b", "2", "y", "1"},
                                   {"a", "2", "x", "2"},
                                   {"b", "1", "z", "3"},
                                   {"a", "2", "x", "4"},
                                   {"b", "2", "x", "5"}};
  std::vector<Texts> cols(4);
  for (const Texts& r : rows)
    for (size_t c = 0; c < 4; ++c) cols[c].push_back(r[c]);
  auto* g = Grid(4, cols);
  g->SortByColumn();
  EXPECT_EQ(Column(g, 3), (Texts{"2", "4", "3", "5", "1"}))
      << "a2x before a2x (by column 3), then b1z, b2x, b2y";

  auto* h = Grid(4, cols);
  h->GetSortSettings()->Full = false;
  h->SortByColumn();
  EXPECT_EQ(Column(h, 3), (Texts{"2", "4", "1", "3", "5"})) << "ties in column 0 keep their former order";
  h->GetSortSettings()->Direction = sdDescending;
  h->SortByColumn();
  EXPECT_EQ(Column(h, 0), (Texts{"b", "b", "b", "a", "a"}));
}

TEST_F(Sort, IndexedSortFollowsTheEntriesAndTheirDirectionBits) {
  std::vector<Texts> cols = {
      {"r1", "r2", "r3", "r4", "r5"}, {"1", "3", "2", "1", "5"}, {"b", "a", "b", "a", "b"}};
  auto* g = Grid(3, cols);
  TSortIndexList* idx = g->GetSortIndexes();
  EXPECT_THROW(
      {
        try {
          g->SortByIndex();
        } catch (const EAdvGridError& e) {
          EXPECT_STREQ(e.what(), "No indexes specified for indexed sort");
          throw;
        }
      },
      EAdvGridError);
  EXPECT_EQ(g->GetRowCount(), 6);
  EXPECT_EQ(Column(g, 0), cols[0]);

  idx->AddIndex(2, true);
  idx->AddIndex(1, false);
  EXPECT_EQ(idx->GetStrValue(), "2,-2147483647");
  g->SortByIndex();
  EXPECT_EQ(Column(g, 0), (Texts{"r2", "r4", "r5", "r3", "r1"}))
      << "column 2 ascending, ties by column 1 descending";

  g->GetSortSettings()->Full = false;
  idx->ToggleIndex(2);
  EXPECT_EQ(idx->FindIndex(1), 1);
  EXPECT_EQ(idx->FindIndex(0), -1);
  g->SortByIndex();
  EXPECT_EQ(Column(g, 0), (Texts{"r5", "r3", "r1", "r2", "r4"}))
      << "b before a; ties keep the order they had";
}

TEST_F(Sort, CurrentRowStaysOrFollowsItsDataAndFixedColumnZeroStays) {
  auto* g = Grid(2, {{"1", "2", "3", "4"}, {"d", "c", "b", "a"}});
  g->SetRow(1);  // holds "d"
  g->GetSortSettings()->Column = 1;
  g->SortByColumn();
  EXPECT_EQ(g->GetRow(), 1);
  EXPECT_EQ(g->GetCells(1, 1), "a");

  g->GetNavigation()->MoveRowOnSort = true;
  g->SetRow(2);  // "b"
  g->GetSortSettings()->Direction = sdDescending;
  g->SortByColumn();
  EXPECT_EQ(g->GetCells(1, g->GetRow()), "b");
  EXPECT_EQ(g->GetRow(), 3);

  // Row numbers in a fixed column stay in place while the rows sort.
  auto* h = Grid(2, {{"1", "2", "3"}, {"z", "x", "y"}});
  h->SetFixedCols(1);
  h->GetSortSettings()->NormalCellsOnly = true;
  h->GetSortSettings()->Column = 1;
  h->SortByColumn();
  EXPECT_EQ(Column(h, 0), (Texts{"1", "2", "3"}));
  EXPECT_EQ(Column(h, 1), (Texts{"x", "y", "z"}));
}

TEST_F(Sort, ScratchRowsGoAwayAndNothingIsFreedTwiceWhenAHandlerRaises) {
  auto* g = Grid(2, {{"c", "a", "b"}, {"", "", ""}});
  for (int32_t r = 1; r <= 3; ++r) g->CellProperties(1, r)->SetBrushColor(TColor(r));
  int32_t calls = 0;
  g->OnGetFormat = TGridFormatEvent::Lambda([&](TObject*, int32_t, TSortStyle&, AnsiString&, AnsiString&) {
    if (++calls == 3) throw std::runtime_error("handler failed");
  });
  EXPECT_THROW(g->SortByColumn(), std::runtime_error);
  EXPECT_EQ(g->GetRowCount(), 4);
  EXPECT_EQ(g->UpdateCount(), 0);
  for (int32_t r = 4; r < 7; ++r) EXPECT_EQ(g->GetCellObject(1, r), nullptr);

  g->OnGetFormat = nullptr;
  g->SortByColumn();
  EXPECT_EQ(g->GetRowCount(), 4);
  EXPECT_EQ(Column(g, 0), (Texts{"a", "b", "c"}));
  EXPECT_EQ(g->CellProperties(1, 1)->GetBrushColor(), TColor(2)) << "properties travel with their rows";
  EXPECT_EQ(g->CellProperties(1, 3)->GetBrushColor(), TColor(1));
}

TEST_F(Sort, FooterRowsStayBelowTheSortAndSingleColumnSwapsOneColumn) {
  auto* g = Grid(2, {{"b", "c", "a", "total"}, {"1", "2", "3", "x"}});
  g->SetFixedFooters(1);
  g->GetSortSettings()->SingleColumn = true;
  g->SortByColumn();
  EXPECT_EQ(Column(g, 0), (Texts{"a", "b", "c", "total"}));
  EXPECT_EQ(Column(g, 1), (Texts{"1", "2", "3", "x"}));
}

TEST_F(Sort, NodeGroupsSortBelowEachNode) {
  auto* g = Grid(2, {{"", "", "", "", ""}, {"N1", "b", "a", "N2", "d"}});
  g->GetSortSettings()->Column = 1;
  for (int32_t r : {1, 4}) g->CreateCellGraphic(0, r)->CellType = ctNode;
  g->SetRowCount(8);
  g->SetCells(1, 6, "e");
  g->SetCells(1, 7, "c");
  g->SortNodeGroups();
  EXPECT_EQ(Column(g, 1), (Texts{"N1", "a", "b", "N2", "c", "d", "e"}));
}

TEST_F(Sort, HeaderClicksToggleTheDirectionAndEditTheIndexList) {
  auto* g = Grid(2, {{"b", "a", "c"}, {"1", "3", "2"}});
  TSortSettings* ss = g->GetSortSettings();
  std::vector<int32_t> clicked;
  g->OnClickSort = TClickSortEvent::Lambda([&](TObject*, int32_t col) { clicked.push_back(col); });

  g->HeaderClickSort(0, 0, 0, {});
  EXPECT_TRUE(clicked.empty()) << "Show is off";
  ss->Show = true;
  g->HeaderClickSort(0, 0, 0, {});
  EXPECT_EQ(Column(g, 0), (Texts{"c", "b", "a"})) << "a click on the sort column turns its direction";
  g->HeaderClickSort(0, 0, 0, {});
  EXPECT_EQ(Column(g, 0), (Texts{"a", "b", "c"}));
  g->HeaderClickSort(0, 0, 1, {});
  EXPECT_EQ(clicked, (std::vector<int32_t>{0, 0})) << "pressed in another row";

  bool allow = false;
  g->OnCanSort = TCanSortEvent::Lambda([&](TObject*, int32_t, bool& doSort) { doSort = allow; });
  g->HeaderClickSort(1, 0, 0, {});
  EXPECT_EQ(ss->Column, 0);
  allow = true;
  g->HeaderClickSort(1, 0, 0, {});
  EXPECT_EQ(ss->Column, 1);
  EXPECT_EQ(ss->Direction, sdAscending);
  EXPECT_EQ(Column(g, 1), (Texts{"1", "2", "3"}));

  ss->IndexShow = true;
  g->HeaderClickSort(0, 0, 0, {});
  g->HeaderClickSort(1, 0, 0, TShiftState{ssShift});
  g->HeaderClickSort(1, 0, 0, TShiftState{ssShift});
  EXPECT_EQ(g->GetSortIndexes()->GetStrValue(), "0,-2147483647");
  g->HeaderClickSort(0, 0, 0, {});
  EXPECT_EQ(g->GetSortIndexes()->GetStrValue(), "0") << "a plain click starts the list again";
  g->HeaderClickSort(0, 0, 0, {});
  EXPECT_EQ(g->GetSortIndexes()->GetStrValue(), "-2147483648");
  EXPECT_EQ(Column(g, 0), (Texts{"c", "b", "a"}));
}

TEST_F(Sort, HeaderClickSortMergesTheListedColumnsAgain) {
  auto* g = Grid(2, {{"x", "y", "x", "y"}, {"3", "1", "4", "2"}});
  g->GetMergedColumns()->Add(0);
  EXPECT_EQ(g->CellSpan(0, 1), (TPoint{0, 0})) << "no equal neighbours yet";
  TSortSettings* ss = g->GetSortSettings();
  ss->Show = true;
  ss->AutoColumnMerge = true;
  ss->Column = 1;
  g->HeaderClickSort(0, 0, 0, {});
  EXPECT_EQ(Column(g, 1), (Texts{"3", "4", "1", "2"})) << "sorted by column 0, ties in their former order";
  EXPECT_EQ(g->CellSpan(0, 1), (TPoint{0, 1}));
  EXPECT_EQ(g->CellSpan(0, 3), (TPoint{0, 1}));
  g->HeaderClickSort(1, 0, 0, {});
  EXPECT_EQ(Column(g, 1), (Texts{"1", "2", "3", "4"}));
  // The old merges were split before the rows moved, so the new runs merge cleanly.
  EXPECT_EQ(Column(g, 0), (Texts{"y", "y", "x", "x"}));
  EXPECT_EQ(g->CellSpan(0, 3), (TPoint{0, 1}));
  EXPECT_EQ(g->GetRawCells(0, 3), "x");
}

TEST_F(Sort, SortRowAboveTheFixedRowsIsRefused) {
  auto* g = Grid(1, {{"a"}});
  TSortSettings* ss = g->GetSortSettings();
  ss->SetRow(1);
  EXPECT_EQ(ss->GetRow(), 1) << "equal to FixedRows is accepted";
  try {
    ss->SetRow(2);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Sort row should be smaller than number of fixed rows");
  }
  EXPECT_EQ(ss->GetRow(), 1);
}

TEST(SortDates, ShortDateParserTakesTwoDigitYearsIntoACentury) {
  struct Case {
    const char* text;
    bool eu;
    TDateTime date;
  } cases[] = {
      {"31.12.99", true, EncodeDate(1999, 12, 31)},
      {"12-31-05", false, EncodeDate(2005, 12, 31)},
      {"1/2/25", true, EncodeDate(2025, 2, 1)},
      {"1/2/26", true, EncodeDate(1926, 2, 1)},
      {"1/2/1999", true, EncodeDate(1999, 2, 1)},
      {"31.12", true, 0},
      {"a.1.99", true, 0},
      {"13/13/99", false, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.eu ? ParseDateEU(c.text) : ParseDateUS(c.text), c.date) << c.text;
}

TEST(SortLists, IntListReportsPutsAddsAndDeletesButNotInserts) {
  TIntList list(3, 4);
  std::vector<std::string> seen;
  list.OnChange = TIntListChangeEvent::Lambda(
      [&](TObject*, int32_t c, int32_t r) { seen.push_back(std::to_string(c) + "," + std::to_string(r)); });
  list.Add(5);
  list.Insert(0, -7);
  list.SetItem(1, 9);
  list.Delete(0);
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "3,4");
  list.SetStrValue("1, 2,30");
  EXPECT_EQ(list.GetStrValue(), "1,2,30");
  EXPECT_THROW(list.SetStrValue("1,x"), EConvertError);
}

}  // namespace
}  // namespace grid_sort_test
