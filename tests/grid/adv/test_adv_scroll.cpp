// The advanced grid's scrolling and sizing: scroll hints and thumb-following, the flat scroll
// bars of a stand-in common controls library, the stretched column, the scaling of all columns
// when one is sized by the mouse, the saved column widths and the integral height.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "grid/AdvGrid.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Registry.h"
#include "tests/grid/support/GridFixture.h"
#include "tests/platform/runtime/TestFolder.h"

namespace adv_grid_test {
namespace {

// What the stand-in library was asked, in order: "Init", "Done", "Prop(256,2)", "Show(1,1)",
// "Info(1,0..127,10,0)".
std::vector<std::string>& FlatCalls() {
  static std::vector<std::string> calls;
  return calls;
}
BOOL FlatInit(HWND) {
  FlatCalls().push_back("Init");
  return TRUE;
}
HRESULT FlatDone(HWND) {
  FlatCalls().push_back("Done");
  return 0;
}
BOOL FlatProp(HWND, UINT index, intptr_t value, BOOL) {
  FlatCalls().push_back("Prop(" + std::to_string(index) + "," + std::to_string(value) + ")");
  return TRUE;
}
int FlatInfo(HWND, int bar, SCROLLINFO* si, BOOL) {
  FlatCalls().push_back("Info(" + std::to_string(bar) + "," + std::to_string(si->nMin) + ".." +
                        std::to_string(si->nMax) + "," + std::to_string(si->nPage) + "," +
                        std::to_string(si->nPos) + ")");
  return si->nPos;
}
BOOL FlatShow(HWND, int bar, BOOL show) {
  FlatCalls().push_back("Show(" + std::to_string(bar) + "," + std::to_string(show) + ")");
  return TRUE;
}
template <class F>
FARPROC FlatExport(F f) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

class AdvScroll : public GridFixture {
 protected:
  void TearDown() override {
    UnregisterModule("comctl32.dll");
    FlatCalls().clear();
    GridFixture::TearDown();
  }
  void InstallFlatScrollBars() {
    RegisterModule("comctl32.dll", {{"InitializeFlatSB", FlatExport(&FlatInit)},
                                    {"UninitializeFlatSB", FlatExport(&FlatDone)},
                                    {"FlatSB_SetScrollProp", FlatExport(&FlatProp)},
                                    {"FlatSB_SetScrollInfo", FlatExport(&FlatInfo)},
                                    {"FlatSB_ShowScrollBar", FlatExport(&FlatShow)}});
  }
  std::vector<std::string> CallsLike(const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& c : FlatCalls())
      if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
  }
  static void Scroll(TAdvStringGrid* g, UINT msg, int code, int pos = 0) {
    SendMessageA(g->GetHandle(), msg, MAKEWPARAM(WORD(code), WORD(pos)), 0);
  }
  static std::vector<int32_t> Widths(TAdvStringGrid* g) {
    std::vector<int32_t> w;
    for (int32_t c = 0; c < g->GetColCount(); ++c) w.push_back(g->GetColWidths(c));
    return w;
  }
};

// ---------------------------------------------------------------------------- scroll hints ----

TEST_F(AdvScroll, ADraggedThumbNamesTheRowOrColumnItReachesInTheChosenDirections) {
  auto* g = NewGrid<TAdvStringGrid>(20, 50);
  const int32_t lastCol = g->GetColCount() - g->GetVisibleColCount();
  const int32_t lastRow = g->GetRowCount() - g->GetVisibleRowCount();
  struct Case {
    TScrollHintType hints;
    UINT msg;
    int pos;
    const char* text;  // nullptr: no hint
  };
  const std::string colEnd = "Col : " + std::to_string(lastCol), rowEnd = "Row : " + std::to_string(lastRow);
  const Case cases[] = {
      {shVertical, WM_VSCROLL, 3, "Row : 4"},          {shBoth, WM_VSCROLL, 3, "Row : 4"},
      {shHorizontal, WM_VSCROLL, 3, nullptr},          {shNone, WM_HSCROLL, 2, nullptr},
      {shHorizontal, WM_HSCROLL, 2, "Col : 3"},        {shBoth, WM_HSCROLL, 30000, colEnd.c_str()},
      {shVertical, WM_VSCROLL, 30000, rowEnd.c_str()},
  };
  for (const Case& k : cases) {
    g->ScrollHints = k.hints;
    Scroll(g, k.msg, SB_THUMBTRACK, k.pos);
    SCOPED_TRACE(std::to_string(int(k.hints)) + " pos " + std::to_string(k.pos));
    if (!k.text) {
      EXPECT_FALSE(g->ScrollHintShown());
      continue;
    }
    ASSERT_TRUE(g->ScrollHintShown());
    EXPECT_EQ(g->ScrollHintWindow()->GetCaption(), k.text);
    EXPECT_TRUE(IsWindowVisible(g->ScrollHintWindow()->GetHandle()));
    Scroll(g, k.msg, SB_ENDSCROLL);
    EXPECT_FALSE(g->ScrollHintShown());
    EXPECT_FALSE(g->ScrollHintWindow()->HandleAllocated()) << "the hint is taken down at the end";
  }
}

TEST_F(AdvScroll, TheHintEventMayRewordTheHintShownBesideTheMouseInTheHintColour) {
  auto* g = NewGrid<TAdvStringGrid>(5, 50);
  g->ScrollHints = shVertical;
  g->HintColor = clYellow;
  std::vector<int32_t> rows;
  g->OnScrollHint = TScrollHintEvent::Lambda([&](TObject*, int32_t row, AnsiString& text) {
    rows.push_back(row);
    text = "Program " + std::to_string(row) + " (" + text + ")";
  });
  InputMouseMove({200, 150});
  Pump();
  Scroll(g, WM_VSCROLL, SB_THUMBTRACK, 9);
  EXPECT_EQ(rows, std::vector<int32_t>{10});
  THintWindow* hint = g->ScrollHintWindow();
  EXPECT_EQ(hint->GetCaption(), "Program 10 (Row : 10)");
  EXPECT_EQ(hint->GetColor(), clYellow);
  EXPECT_EQ(hint->GetLeft(), 210);
  EXPECT_EQ(hint->GetTop(), 150);
  EXPECT_LE(hint->GetWidth(), 106) << "sized for the text, at most 100 wide plus its margins";
}

TEST_F(AdvScroll, WithScrollSynchTheViewFollowsTheThumbWhileItIsDragged) {
  auto* g = NewGrid<TAdvStringGrid>(20, 50);
  ASSERT_FALSE(g->GetOptions().Contains(goThumbTracking));
  Scroll(g, WM_VSCROLL, SB_THUMBTRACK, 7);
  EXPECT_EQ(g->GetTopRow(), 1) << "without thumb tracking the view waits for the release";
  g->ScrollSynch = true;
  Scroll(g, WM_VSCROLL, SB_THUMBTRACK, 7);
  EXPECT_EQ(g->GetTopRow(), 8);
  Scroll(g, WM_HSCROLL, SB_THUMBTRACK, 30000);
  EXPECT_EQ(g->GetLeftCol(), g->GetColCount() - g->GetVisibleColCount());
  Scroll(g, WM_VSCROLL, SB_THUMBPOSITION, 2);
  EXPECT_EQ(g->GetTopRow(), 3) << "the release scrolls as the framework does";
}

// Cells far from the view are placed from the first row in view, above it as below.
TEST_F(AdvScroll, CellsOutOfViewArePlacedFromTheScrolledView) {
  auto* g = NewGrid<TAdvStringGrid>(6, 50);
  g->SetRowHeights(5, 30);
  g->SetRowHeights(12, 40);
  g->SetTopRow(10);
  g->SetLeftCol(2);
  const std::pair<int32_t, int32_t> rows[] = {{0, 0},   {5, 21 - 30 - 4 * 21}, {9, 0}, {10, 21}, {12, 63},
                                              {13, 103}};
  for (const auto& [row, top] : rows) {
    const TRect r = g->CalcCellRect(3, row);
    EXPECT_EQ(r.Top, top) << "row " << row;
    EXPECT_EQ(r.Bottom - r.Top, g->GetRowHeights(row));
  }
  EXPECT_EQ(g->CalcCellRect(1, 10).Left, 0) << "column 1 lies left of the view";
  EXPECT_EQ(g->CalcCellRect(0, 10).Left, 0);
  EXPECT_EQ(g->CalcCellRect(4, 10).Left, 64 + 2 * 64);
}

// ---------------------------------------------------------------------------- flat bars -------

TEST_F(AdvScroll, WithoutTheLibraryTheFlatScrollBarSettingsAreKeptAndDoNothing) {
  auto* g = NewGrid<TAdvStringGrid>(20, 50);
  g->SetScrollType(ssFlat);
  g->SetScrollProportional(true);
  g->SetScrollColor(clRed);
  EXPECT_EQ(g->GetScrollType(), ssFlat);
  EXPECT_FALSE(g->FlatScrollBarsOn());
  g->ScrollHints = shHorizontal;
  Scroll(g, WM_HSCROLL, SB_THUMBPOSITION, 3);
  EXPECT_EQ(g->GetLeftCol(), 4) << "positions count cells as on the standard bars";
  EXPECT_TRUE(FlatCalls().empty());
}

TEST_F(AdvScroll, FlatBarsTakeTheStyleColourAndWidthAndProportionalThumbs) {
  InstallFlatScrollBars();
  auto* g = NewGrid<TAdvStringGrid>(8, 100);
  g->SetScrollBars(ssBoth);
  Pump();
  g->SetScrollWidth(12);
  EXPECT_TRUE(FlatCalls().empty()) << "no library call before the flat bars are set up";

  g->SetScrollType(ssEncarta);
  EXPECT_TRUE(g->FlatScrollBarsOn());
  EXPECT_EQ(FlatCalls().front(), "Init");
  std::vector<std::string> props = CallsLike("Prop");
  props.resize(4);
  EXPECT_EQ(props, (std::vector<std::string>{"Prop(256,1)", "Prop(512,1)", "Prop(8,12)", "Prop(4,12)"}));
  FlatCalls().clear();
  g->SetScrollColor(TColor(0x102030));
  EXPECT_EQ(CallsLike("Prop(64"), std::vector<std::string>{"Prop(64,1056816)"});
  EXPECT_EQ(CallsLike("Prop(128"), std::vector<std::string>{"Prop(128,1056816)"});

  FlatCalls().clear();
  g->SetScrollProportional(true);
  const int32_t vPage = int32_t(Round(g->GetVisibleRowCount() * 128.0 / 100));
  int32_t sum = 0;
  for (int32_t w : Widths(g)) sum += w;
  const int32_t hPage = int32_t(Round(g->GetClientWidth() * 128.0 / sum));
  EXPECT_EQ(CallsLike("Show"), (std::vector<std::string>{"Show(1,1)", "Show(0,1)"}));
  EXPECT_EQ(CallsLike("Info"), (std::vector<std::string>{"Info(1,0..127," + std::to_string(vPage) + ",0)",
                                                         "Info(0,0..127," + std::to_string(hPage) + ",0)"}));

  // A new size shows each bar that its columns or rows need, with its thumb.
  FlatCalls().clear();
  g->SetBounds(10, 10, 200, 150);
  EXPECT_EQ(CallsLike("Show"), (std::vector<std::string>{"Show(1,1)", "Show(0,1)"}));
  EXPECT_FALSE(CallsLike("Info").empty());

  // On the 0..127 scale the thumb's end is the last row.
  g->ScrollHints = shBoth;
  Scroll(g, WM_VSCROLL, SB_THUMBTRACK, 127);
  EXPECT_EQ(g->ScrollHintWindow()->GetCaption(),
            "Row : " + std::to_string(g->GetRowCount() - g->GetVisibleRowCount()));
  Scroll(g, WM_VSCROLL, SB_THUMBPOSITION, 127);
  EXPECT_EQ(g->GetTopRow(), g->GetRowCount() - g->GetVisibleRowCount());

  FlatCalls().clear();
  g->SetScrollType(ssNormal);
  EXPECT_EQ(FlatCalls(), std::vector<std::string>{"Done"});
  EXPECT_FALSE(g->FlatScrollBarsOn());
}

// Every column in view leaves the horizontal thumb no room: the release must not divide by it.
TEST_F(AdvScroll, AThumbReleasedWithEveryColumnInViewScrollsNothing) {
  InstallFlatScrollBars();
  auto* g = NewGrid<TAdvStringGrid>(3, 10);
  g->SetFixedCols(0);
  g->SetScrollProportional(true);
  ASSERT_TRUE(g->FlatScrollBarsOn());
  ASSERT_EQ(g->GetVisibleColCount(), g->GetColCount());
  Scroll(g, WM_HSCROLL, SB_THUMBPOSITION, 64);
  EXPECT_EQ(g->GetLeftCol(), 0);
}

// ---------------------------------------------------------------------------- stretch ---------

TEST_F(AdvScroll, TheStretchedColumnFillsTheClientWidth) {
  struct Case {
    int32_t cols, stretchCol, otherWidth, expected;
  };
  // Client width 300, default width 64.
  const Case cases[] = {
      {4, -1, 64, 300 - 3 * 64 - 1},  // the last column takes what the others leave, less one
      {4, 1, 64, 300 - 3 * 64 - 1},   // any column may be the stretched one
      {4, -1, 120, 64},               // no room left: the default width
      {1, -1, 64, 300},               // one column: the whole client width
  };
  for (const Case& k : cases) {
    auto* g = NewGrid<TAdvStringGrid>(k.cols, 5);
    for (int32_t c = 0; c < k.cols; ++c) g->SetColWidths(c, k.otherWidth);
    g->GetColumnSize()->Stretch = true;
    g->StretchColumn(k.stretchCol);
    const int32_t col = k.stretchCol < 0 ? k.cols - 1 : k.stretchCol;
    EXPECT_EQ(g->GetColWidths(col), k.expected) << k.cols << " columns, column " << k.stretchCol;
    form_->Free();
  }
}

TEST_F(AdvScroll, StretchingKeepsUpWithWidthAndCountChangesOnlyWhenSwitchedOn) {
  auto* g = NewGrid<TAdvStringGrid>(4, 5);
  g->StretchColumn(-1);
  EXPECT_EQ(g->GetColWidths(3), 64) << "Stretch off: nothing";
  try {
    g->StretchColumn(4);
    FAIL() << "no error for a column past the last";
  } catch (const EAdvGridError& e) {
    EXPECT_EQ(std::string(e.Message), "Stretch column index out of range");
  }
  EXPECT_THROW(g->StretchColumn(-2), EAdvGridError);

  g->GetColumnSize()->Stretch = true;
  g->SetColWidths(1, 100);
  EXPECT_EQ(g->GetColWidths(3), 300 - 64 - 100 - 64 - 1);
  g->SetColCount(3);
  EXPECT_EQ(g->GetColWidths(2), 300 - 64 - 100 - 1);

  // A stretch column left outside the grid stretches nothing instead of failing every change.
  g->GetColumnSize()->StretchColumn = 7;
  EXPECT_NO_THROW(g->SetColWidths(0, 50));
  EXPECT_NO_THROW(g->SetColCount(2));
  EXPECT_EQ(Widths(g), (std::vector<int32_t>{50, 100}));
}

TEST_F(AdvScroll, ResizingStretchesWhenTheOthersLeaveRoomElseTheColumnsFollowTheWidth) {
  auto* g = NewGrid<TAdvStringGrid>(3, 30);
  g->SetScrollBars(ssBoth);
  auto bar = [g](DWORD bit) { return (GetWindowLongPtrA(g->GetHandle(), GWL_STYLE) & bit) != 0; };
  g->GetColumnSize()->Stretch = true;
  g->GetColumnSize()->SynchWithGrid = true;
  g->SetColWidths(0, 50);
  g->SetColWidths(1, 50);
  g->SetBounds(10, 10, 400, 200);
  EXPECT_EQ(Widths(g), (std::vector<int32_t>{50, 50, g->GetClientWidth() - 100 - 1}))
      << "stretched, and nothing scaled";
  EXPECT_FALSE(bar(WS_HSCROLL)) << "every column fits";
  EXPECT_TRUE(bar(WS_VSCROLL)) << "30 rows do not";

  // The others wider than the grid: no stretch, the horizontal bar shows.
  g->SetColWidths(0, 250);
  g->SetColWidths(1, 250);
  const int32_t stretchWidth = g->GetColWidths(2);
  g->SetBounds(10, 10, 300, 200);
  EXPECT_EQ(g->GetColWidths(2), stretchWidth);
  EXPECT_TRUE(bar(WS_HSCROLL));
  // Again without room: the other widths scale; the stretch column, still without room, keeps the
  // default width.
  std::vector<int32_t> was = Widths(g);
  int32_t before = g->GetClientWidth();
  g->SetBounds(10, 10, 280, 200);
  long double k = (long double)g->GetClientWidth() / before;
  EXPECT_EQ(Widths(g), (std::vector<int32_t>{int32_t(Round(was[0] * k)), int32_t(Round(was[1] * k)), 64}));

  // Without the stretch the widths follow the grid's width from the last one it had.
  g->GetColumnSize()->Stretch = false;
  was = Widths(g);
  before = g->GetClientWidth();
  g->SetBounds(10, 10, 600, 200);
  k = (long double)g->GetClientWidth() / before;
  for (int32_t c = 0; c < 3; ++c) EXPECT_EQ(g->GetColWidths(c), int32_t(Round(was[c] * k))) << c;
}

// ---------------------------------------------------------------------------- sizing by mouse -

class AdvSizing : public AdvScroll {
 protected:
  // Drags the right border of column 1 in the header row from its place by dx.
  void SizeColumn1(TAdvStringGrid* g, int dx) {
    const int border = g->GetColWidths(0) + g->GetColWidths(1) - 1;
    Press(At(g, border, 5));
    MoveTo(At(g, border + dx / 2, 5));
    MoveTo(At(g, border + dx, 5));
    Release(At(g, border + dx, 5));
    clock_.Advance(1000);
  }
  TAdvStringGrid* SizingGrid() {
    auto* g = NewGrid<TAdvStringGrid>(5, 5, Bounds(10, 10, 480, 200));
    g->SetOptions(g->GetOptions() + TGridOptions{goColSizing, goRowSizing});
    g->OnEndColumnSize = TEndColumnSizeEvent::Lambda([this](TObject*, int32_t c) { ended_.push_back(c); });
    return g;
  }
  std::vector<int32_t> ended_;
};

TEST_F(AdvSizing, WithAllColumnSizeTheOtherScrollingColumnsScaleWithTheSizedOne) {
  auto* g = SizingGrid();
  g->SetColWidths(3, 30);
  g->GetMouseActions()->AllColumnSize = true;
  SizeColumn1(g, 64);
  ASSERT_EQ(g->GetColWidths(1), 128) << "the drag doubled column 1";
  EXPECT_EQ(Widths(g), (std::vector<int32_t>{64, 128, 128, 60, 128})) << "the fixed column keeps its width";
  EXPECT_EQ(ended_, std::vector<int32_t>{1});

  g->GetMouseActions()->AllColumnSize = false;
  SizeColumn1(g, -28);
  EXPECT_EQ(Widths(g), (std::vector<int32_t>{64, 100, 128, 60, 128}));
  EXPECT_EQ(ended_, (std::vector<int32_t>{1, 1}));
  g->SetColWidths(2, 90);
  EXPECT_EQ(ended_.size(), 2u) << "a width set by the program is no sizing";
}

TEST_F(AdvSizing, AWidthTheProgramChangesAtTheEndOfSizingIsAppliedOnce) {
  auto* g = SizingGrid();
  g->GetMouseActions()->AllColumnSize = true;
  std::vector<int32_t> asked;
  g->OnUpdateColumnSize = TUpdateColumnSizeEvent::Lambda([&](TObject*, int32_t c, int32_t& w) {
    asked.push_back(w);
    if (c == 1) w = 90;
  });
  SizeColumn1(g, 64);
  EXPECT_EQ(asked, std::vector<int32_t>{128});
  EXPECT_EQ(ended_, std::vector<int32_t>{1});
  EXPECT_EQ(Widths(g), (std::vector<int32_t>{64, 90, 128, 128, 128}))
      << "the others scaled once, by the drag";
}

TEST_F(AdvSizing, WithAllRowSizeTheOtherScrollingRowsScale) {
  auto* g = SizingGrid();
  g->GetMouseActions()->AllRowSize = true;
  std::vector<int32_t> ended;
  g->OnEndRowSize = TEndRowSizeEvent::Lambda([&](TObject*, int32_t r) { ended.push_back(r); });
  const int bottom = g->GetRowHeights(0) + g->GetRowHeights(1) - 1;
  Press(At(g, 20, bottom));
  MoveTo(At(g, 20, bottom + 10));
  MoveTo(At(g, 20, bottom + 21));
  Release(At(g, 20, bottom + 21));
  ASSERT_EQ(g->GetRowHeights(1), 42);
  std::vector<int32_t> heights;
  for (int32_t r = 0; r < g->GetRowCount(); ++r) heights.push_back(g->GetRowHeights(r));
  EXPECT_EQ(heights, (std::vector<int32_t>{21, 42, 42, 42, 42}));
  EXPECT_EQ(ended, std::vector<int32_t>{1});
}

TEST_F(AdvScroll, SizingBordersLieWithinThreePixelsOfAHeaderOrFixedCellsEdge) {
  auto* g = NewGrid<TAdvStringGrid>(5, 5);
  struct Case {
    int x, y;
    bool col, row;  // on the border with goColSizing, with goRowSizing
  };
  // Columns are 64 wide and rows 21 high; column 1 starts at x = 64, row 1 at y = 21.  The first
  // scrolling row and column count as header and fixed cells here.
  const Case cases[] = {
      {67, 5, true, false},    {61, 5, true, false},    {100, 5, false, false}, {125, 30, true, false},
      {125, 50, false, false}, {20, 24, false, true},   {20, 40, false, true},  {70, 60, false, true},
      {20, 31, false, false},  {150, 60, false, false}, {400, 5, false, false},
  };
  for (const auto& [opts, colOn, rowOn] : {std::tuple{TGridOptions{goColSizing}, true, false},
                                           std::tuple{TGridOptions{goRowSizing}, false, true}}) {
    g->SetOptions(opts);
    for (const Case& k : cases)
      EXPECT_EQ(g->IsOnSizingBorder(k.x, k.y), (colOn && k.col) || (rowOn && k.row)) << k.x << "," << k.y;
  }
  EXPECT_EQ(g->CellAtScreenPoint(At(g, 70, 30)), (TGridCoord{1, 1}));
}

// ---------------------------------------------------------------------------- saved widths ----

class AdvColumnSizes : public AdvScroll {
 protected:
  void SetUp() override {
    AdvScroll::SetUp();
    setenv("PL_CONFIG_DIR", dir_.Path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("PL_CONFIG_DIR");
    AdvScroll::TearDown();
  }
  void Name(TAdvStringGrid* g, TColumnSizeLocation where, const AnsiString& key) {
    g->GetColumnSize()->Location = where;
    g->GetColumnSize()->Key = key;
    g->GetColumnSize()->Section = "Program list";
  }
  std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  TestFolder dir_;
};

TEST_F(AdvColumnSizes, WidthsGoToTheIniFileAsColValuesAndComeBack) {
  const std::string ini = dir_.Path("grid.ini");
  auto* g = NewGrid<TAdvStringGrid>(4, 5);
  Name(g, clIniFile, ini);
  g->SetColWidths(1, 120);
  g->SetColWidths(3, 33);
  g->SaveColumnSizes();
  EXPECT_EQ(FileText(ini), "[Program list]\r\nCol0=64\r\nCol1=120\r\nCol2=64\r\nCol3=33\r\n");

  auto* other = NewGrid<TAdvStringGrid>(5, 5);
  Name(other, clIniFile, ini);
  other->SetColWidths(4, 10);
  other->LoadColumnSizes();
  EXPECT_EQ(Widths(other), (std::vector<int32_t>{64, 120, 64, 33, 64}))
      << "a column without a value gets the default";

  // A damaged file: a width that is no width keeps the column; text that is no number reads as
  // the default.
  TIniFile(ini).WriteString("Program list", "Col1", "-40");
  TIniFile(ini).WriteString("Program list", "Col2", "999999999");
  TIniFile(ini).WriteString("Program list", "Col3", "wide");
  other->SetColWidths(3, 50);
  other->LoadColumnSizes();
  EXPECT_EQ(Widths(other), (std::vector<int32_t>{64, 120, 64, 64, 64}));
}

TEST_F(AdvColumnSizes, NothingIsStoredWithoutBothKeyAndSection) {
  const std::string ini = dir_.Path("none.ini");
  auto* g = NewGrid<TAdvStringGrid>(3, 3);
  for (const auto& [key, section] : {std::pair<AnsiString, AnsiString>{"", "S"}, {ini, ""}}) {
    g->GetColumnSize()->Location = clIniFile;
    g->GetColumnSize()->Key = key;
    g->GetColumnSize()->Section = section;
    g->SaveColumnSizes();
  }
  EXPECT_FALSE(std::ifstream(ini).good());
}

// The settings key: saved when the grid goes, loaded when the next one's window is made.
TEST_F(AdvColumnSizes, WithSaveTheWidthsOutliveTheGridInTheSettingsStore) {
  auto* g = NewGrid<TAdvStringGrid>(3, 3);
  Name(g, clRegistry, "Software\\Bench\\Grids");
  g->GetColumnSize()->Save = true;
  g->SetColWidths(2, 77);
  form_->Free();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Bench\\Grids\\Program list", false));
  EXPECT_EQ(reg.ReadInteger("Col2"), 77);

  TForm* f = NewForm();
  auto* next = new TAdvStringGrid(f);
  next->SetColCount(3);
  Name(next, clRegistry, "Software\\Bench\\Grids");
  next->GetColumnSize()->Save = true;
  EXPECT_EQ(next->GetColWidths(2), 64);
  next->SetParent(f);
  ShowForm(f);
  EXPECT_EQ(next->GetColWidths(2), 77);
}

// ---------------------------------------------------------------------------- integral height -

TEST_F(AdvScroll, IntegralHeightRoundsTheHeightToWholeRows) {
  const int32_t bar = GetSystemMetrics(SM_CYHSCROLL);
  struct Case {
    int32_t cols, rowHeight, height, expected;
  };
  // A 300-wide grid shows 4 columns of 64 whole; 20 columns do not fit.
  const Case cases[] = {
      {20, 21, 200, 200 - 200 % 21 - 1},            // a horizontal bar: down to whole rows, less one
      {4, 21, 200, 200 + 21 - 200 % 21 - 1 - bar},  // every column fits: up, less the bar's height
      {20, 21, 5, 0},                               // never below nothing
      {20, 0, 200, 200},                            // rows of no height: kept as asked
  };
  for (const Case& k : cases) {
    auto* g = NewGrid<TAdvStringGrid>(k.cols, 50);
    g->SetDefaultRowHeight(k.rowHeight);
    g->SetBounds(10, 10, 300, k.height);
    g->SetIntegralHeight(true);
    EXPECT_EQ(g->GetHeight(), k.expected) << "switched on: " << k.cols << " columns, rows of " << k.rowHeight;
    g->SetBounds(10, 10, 300, k.height);
    EXPECT_EQ(g->GetHeight(), k.expected) << "placed: " << k.cols << " columns, rows of " << k.rowHeight;
    g->LockUpdate();
    g->SetBounds(10, 10, 300, 150);
    EXPECT_EQ(g->GetHeight(), 150) << "not under the update lock";
    g->UnlockUpdate();
    form_->Free();
  }
}

TEST_F(AdvScroll, IntegralHeightHoldsWhenPlacedAgainAndFollowsTheColumnCount) {
  const int32_t bar = GetSystemMetrics(SM_CYHSCROLL);
  auto* g = NewGrid<TAdvStringGrid>(20, 50);
  g->SetDefaultRowHeight(21);
  g->SetIntegralHeight(true);
  g->SetBounds(10, 10, 300, 200);
  const int32_t withBar = 200 - 200 % 21 - 1;
  ASSERT_EQ(g->GetHeight(), withBar);
  // Placing it at its own fitted height, as the column count and the switch do, keeps it.
  for (int i = 0; i < 3; ++i) {
    g->SetColCount(20 + i);
    g->SetIntegralHeight(true);
    g->SetBounds(g->GetLeft(), g->GetTop(), g->GetWidth(), g->GetHeight());
  }
  EXPECT_EQ(g->GetHeight(), withBar);
  // Columns that all fit take the bar away: the height is fitted again from what was asked.
  g->SetColCount(4);
  EXPECT_EQ(g->GetHeight(), 200 + 21 - 200 % 21 - 1 - bar);
  g->SetColCount(20);
  EXPECT_EQ(g->GetHeight(), withBar);
}

}  // namespace
}  // namespace adv_grid_test
