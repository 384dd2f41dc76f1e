// Clipboard exchange of the advanced grid: the text form's bytes, paste parsing with its field
// count and growth, the grid's own cell format with properties and graphics, rich text, the smart
// paste series, cutting and the keyboard shortcuts.
#include <memory>
#include <string>

#include "grid/AdvGrid.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/ui/Clipbrd.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {
namespace {

class Clip : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Clipboard()->Clear();
  }
  // A grid whose scrollable cells may all be edited.
  TAdvStringGrid* Editable(int32_t cols, int32_t rows, TRect bounds = Bounds(10, 10, 300, 200)) {
    auto* g = NewGrid<TAdvStringGrid>(cols, rows, bounds);
    g->SetOptions(g->GetOptions() + TGridOptions{goEditing, goRangeSelect});
    return g;
  }
  static void Fill(TAdvStringGrid* g, int32_t c0, int32_t r0,
                   std::initializer_list<std::vector<std::string>> rows) {
    int32_t r = r0;
    for (const auto& row : rows) {
      int32_t c = c0;
      for (const auto& t : row) g->SetCells(c++, r, t);
      ++r;
    }
  }
  static std::string Column(TAdvStringGrid* g, int32_t c, int32_t r0, int32_t r1) {
    std::string s;
    for (int32_t r = r0; r <= r1; ++r) s += (r > r0 ? "|" : "") + g->GetCells(c, r);
    return s;
  }
};

TEST_F(Clip, CopyGivesTheExactTextFormBytes) {
  TAdvStringGrid* g = Editable(4, 4);
  Fill(g, 1, 1, {{"a", "b"}, {"c", "d"}});
  g->SetSelection({1, 1, 2, 2});
  g->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->GetBuffer(CF_TEXT), std::string("a\tb\r\nc\td\r\n", 10) + '\0')
      << "every row ends in CR LF, the last too, then the zero";
  EXPECT_EQ(Clipboard()->GetAsWideText(), u"a\tb\r\nc\td\r\n") << "wide text is offered too";

  g->SetSelection({1, 1, 2, 1});
  g->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->GetAsText(), "a\tb") << "a single row has no line end";

  // Markup loses its tags when they are not to be copied; rich text is copied as plain text.
  g->SetCells(1, 1, "<B>bold</B>");
  g->SetCells(2, 1, "{\\rtf1 plain}");
  g->GetNavigation()->CopyHTMLTagsToClipboard = false;
  g->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->GetAsText(), "bold\tplain");
}

TEST_F(Clip, PasteParsesFieldsCountsThemAndGrowsTheGrid) {
  struct Case {
    const char* text;
    int32_t count;
    const char* col1;  // column 1, rows 1 to 3
    const char* col2;
  };
  const Case cases[] = {
      {"a\tb\r\nc\td\r\n", 5, "a|c|", "b|d|"},  // the empty field after the final line break counts
      {"a\tb\r\nc\td", 4, "a|c|", "b|d|"},
      {"a\rb\nc", 2, "a|b\nc|", "||"},    // lines end at CR only; an LF after it joins the CR
      {"\tx\r\n\r\ny", 4, "||y", "x||"},  // empty fields and lines are written
      {"", 1, "||", "||"},
  };
  for (const Case& c : cases) {
    TAdvStringGrid* g = Editable(3, 4);
    EXPECT_EQ(g->PasteText(1, 1, c.text), c.count) << c.text;
    EXPECT_EQ(Column(g, 1, 1, 3), c.col1) << c.text;
    EXPECT_EQ(Column(g, 2, 1, 3), c.col2) << c.text;
    form_->Free();
  }

  // At the last row a two-row text adds exactly one row; fields past the last column add columns.
  TAdvStringGrid* g = Editable(3, 3);
  EXPECT_EQ(g->PasteText(2, 2, "1\t2\t3\r\n4\t5\t6\r\n"), 7);
  EXPECT_EQ(g->GetRowCount(), 4);
  EXPECT_EQ(g->GetColCount(), 5);
  EXPECT_EQ(Column(g, 4, 2, 3), "3|6");

  // Without growth the fields still count but land only inside the grid.
  g->GetNavigation()->AllowClipboardRowGrow = false;
  g->GetNavigation()->AllowClipboardColGrow = false;
  EXPECT_EQ(g->PasteText(4, 3, "x\ty\r\nz"), 3);
  EXPECT_EQ(g->GetRowCount(), 4);
  EXPECT_EQ(g->GetColCount(), 5);
  EXPECT_EQ(g->GetCells(4, 3), "x");
}

TEST_F(Clip, PasteAsksPerCellAndRespectsEditing) {
  TAdvStringGrid* g = Editable(4, 4);
  std::vector<std::string> asked;
  g->OnClipboardBeforePasteCell =
      TBeforeCellPasteEvent::Lambda([&](TObject*, int32_t c, int32_t r, AnsiString& v, bool& allow) {
        asked.push_back(Coord(c, r) + v);
        if (v == "no") allow = false;
        v = "[" + v + "]";
      });
  g->OnCanEditCell = TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t c, bool& can) { can = c != 3; });
  EXPECT_EQ(g->PasteText(1, 1, "a\tno\tro"), 3);
  EXPECT_EQ(asked, (std::vector<std::string>{"(1,1)a", "(2,1)no"})) << "a refused cell is not asked";
  EXPECT_EQ(g->GetCells(1, 1), "[a]");
  EXPECT_EQ(g->GetCells(2, 1), "");
  EXPECT_EQ(g->GetCells(3, 1), "");

  g->SetOptions(g->GetOptions() - TGridOptions{goEditing});
  EXPECT_EQ(g->PasteText(1, 2, "x"), 0) << "nothing is pasted into a grid that does not edit";
  EXPECT_EQ(g->PasteText(-1, 2, "x"), 0);
  g->GetNavigation()->AllowClipboardAlways = true;
  g->OnClipboardBeforePasteCell = {};
  EXPECT_EQ(g->PasteText(3, 2, "x"), 1);
  EXPECT_EQ(g->GetCells(3, 2), "x") << "AllowClipboardAlways pastes into any cell";
}

TEST_F(Clip, AMillionCellPasteIsRefusedOnlyPastTheBound) {
  TAdvStringGrid* g = Editable(3, 3);
  g->SetCells(1, 1, "kept");
  std::string wide(200000, '\t');
  EXPECT_THROW(g->PasteText(1, 1, wide.c_str()), EAdvGridError) << "200,000 columns are too many";
  std::string tall;
  for (int i = 0; i < 5'000'000; ++i) tall += "\r";
  EXPECT_THROW(g->PasteText(1, 1, tall.c_str()), EAdvGridError);
  EXPECT_EQ(g->GetCells(1, 1), "kept");
  EXPECT_EQ(g->GetRowCount(), 3) << "a refused paste changes nothing";

  std::string million;
  for (int r = 0; r < 1000; ++r) {
    for (int c = 0; c < 1000; ++c) million += (c ? "\t" : "") + std::to_string(c);
    million += "\r\n";
  }
  EXPECT_EQ(g->PasteText(1, 1, million.c_str()), 1'000'001);
  EXPECT_EQ(g->GetRowCount(), 1001);
  EXPECT_EQ(g->GetColCount(), 1001);
  EXPECT_EQ(g->GetCells(1000, 1000), "999");
}

TEST_F(Clip, GridFormatCarriesTextsPropertiesAndGraphics) {
  TAdvStringGrid* a = Editable(5, 5);
  a->GetNavigation()->AllowFmtClipboard = true;
  Fill(a, 1, 1, {{"t11", "t21"}, {"", "t22"}});
  a->CellProperties(1, 2)->SetBrushColor(clRed);
  a->CellProperties(1, 2)->FontName = "Courier New";
  TCellGraphic* check = a->CreateCellGraphic(2, 1);
  check->CellType = ctCheckBox;
  check->CellBoolean = true;
  TCellGraphic* radio = a->CreateCellGraphic(2, 2);
  radio->CellType = ctRadio;
  radio->CellCreated = true;
  auto* items = new TStringList;
  items->SetCommaText("one,two");
  radio->Graphic = items;
  radio->CellIndex = 1;
  a->SetSelection({1, 1, 2, 2});
  a->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->GetAsText(), "t11\tt21\r\n\tt22\r\n") << "the text form goes along";

  TForm* first = form_;
  TAdvStringGrid* b = Editable(6, 6, Bounds(10, 220, 300, 150));
  b->GetNavigation()->AllowFmtClipboard = true;
  EXPECT_EQ(b->PasteFromClipboardAt(3, 3), 4) << "columns times rows of the block";
  EXPECT_EQ(b->GetCells(3, 3), "t11");
  EXPECT_EQ(b->GetCells(4, 4), "t22");
  EXPECT_EQ(b->GetCells(3, 4), "");
  EXPECT_EQ(b->GetCellBrushColor(3, 4), clRed);
  EXPECT_EQ(b->CellProperties(3, 4)->FontName, "Courier New");
  bool state = false;
  EXPECT_TRUE(b->GetCheckBoxState(4, 3, state));
  EXPECT_TRUE(state);
  ASSERT_NE(b->GetRadioItems(4, 4), nullptr);
  EXPECT_EQ(b->GetRadioItems(4, 4)->GetCommaText(), "one,two");
  EXPECT_NE(b->GetRadioItems(4, 4), items) << "the pasted cell owns a copy";
  int32_t index = -1;
  EXPECT_TRUE(b->GetRadioIndex(4, 4, index));
  EXPECT_EQ(index, 1);
  first->Free();
}

TEST_F(Clip, AFullGridCopyReplacesSizeWidthsHeightsAndCells) {
  TAdvStringGrid* a = Editable(3, 2);
  a->GetNavigation()->AllowFmtClipboard = true;
  a->SetColWidths(2, 91);
  a->SetRowHeights(1, 33);
  Fill(a, 0, 0, {{"h0", "h1", "h2"}, {"x", "y", "z"}});
  a->SetSelection({0, 0, 2, 1});
  a->CopyRectToClipboard({0, 0, 2, 1}, false);

  TForm* first = form_;
  TAdvStringGrid* b = Editable(6, 7, Bounds(10, 220, 300, 150));
  b->GetNavigation()->AllowFmtClipboard = true;
  b->SetCells(5, 6, "gone");
  EXPECT_EQ(b->PasteFromClipboardAt(2, 2), 6);
  EXPECT_EQ(b->GetColCount(), 3);
  EXPECT_EQ(b->GetRowCount(), 2);
  EXPECT_EQ(b->GetColWidths(2), 91);
  EXPECT_EQ(b->GetRowHeights(1), 33);
  EXPECT_EQ(b->GetCells(0, 0), "h0") << "a full grid lands at (0, 0)";
  EXPECT_EQ(b->GetCells(2, 1), "z");
  first->Free();
}

TEST_F(Clip, AForeignOrDamagedGridBlockIsRefused) {
  TAdvStringGrid* g = Editable(4, 4);
  g->GetNavigation()->AllowFmtClipboard = true;
  g->SetCells(1, 1, "kept");
  Clipboard()->SetBuffer(GridClipboardFormat(), "not a grid", 10);
  EXPECT_THROW(g->PasteFromClipboardAt(1, 1), EReadError);
  EXPECT_EQ(g->GetCells(1, 1), "kept");

  // A full-grid block asking for a huge grid, and cells far outside: the size is refused, the
  // cells outside are passed over.
  TAdvStringGrid* src = Editable(2, 2, Bounds(10, 220, 100, 60));
  src->SetCells(1, 1, "far");
  TMemoryStream block;
  src->WriteCellsToStream({1, 1, 1, 1}, &block);
  block.SetPosition(0);
  g->ReadCellsFromStream({3, 3}, &block);
  EXPECT_EQ(g->GetCells(3, 3), "far");
  block.SetPosition(0);
  g->ReadCellsFromStream({30000, 3}, &block);
  EXPECT_EQ(g->GetColCount(), 4) << "a cell outside the grid is passed over";
}

TEST_F(Clip, RichTextGoesToTheClipboardAndBackIntoOneCell) {
  TAdvStringGrid* g = Editable(4, 4);
  g->GetNavigation()->AllowRTFClipboard = true;
  const AnsiString rtf = "{\\rtf1 {\\b x}}";
  g->SetCells(1, 1, rtf);
  g->SetSelection({1, 1, 1, 1});
  g->CopySelectionToClipboard();
  const std::string bytes = Clipboard()->GetBuffer(RegisterClipboardFormat("Rich Text Format"));
  EXPECT_EQ(bytes, rtf + '\0');
  EXPECT_EQ(g->PasteFromClipboardAt(2, 2), 0);
  EXPECT_EQ(g->GetCells(2, 2), rtf);
}

TEST_F(Clip, SmartPasteFillsTheSelectionAndContinuesSeries) {
  TAdvStringGrid* g = Editable(4, 9);
  g->GetNavigation()->AllowSmartClipboard = true;
  auto pasteInto = [&](const char* text, TGridRect sel) {
    Clipboard()->SetAsText(text);
    g->SetSelection(sel);
    g->PasteSelection();
  };
  pasteInto("5", {1, 1, 1, 4});
  EXPECT_EQ(Column(g, 1, 1, 4), "5|5|5|5") << "one pasted cell fills the selection";

  pasteInto("1\r\n3\r\n", {2, 1, 2, 4});
  EXPECT_EQ(Column(g, 2, 1, 4), "1|3|5|7");

  g->FloatFormat = "%.1f";
  pasteInto("0.5\r\n0.7\r\n", {3, 1, 3, 4});
  EXPECT_EQ(Column(g, 3, 1, 4), "0.5|0.7|0.9|1.1") << "floats written with FloatFormat";

  pasteInto("x\r\ny\r\n", {1, 5, 1, 8});
  EXPECT_EQ(Column(g, 1, 5, 8), "x|y|x|y") << "text that is no number repeats";

  pasteInto("a\tb", {1, 1, 3, 1});
  EXPECT_EQ(g->GetCells(3, 1), "a") << "the same along a row";

  // The grid's own copy of the cells 1 and 3 continues them too.
  g->GetNavigation()->AllowFmtClipboard = true;
  g->SetCells(3, 5, "1");
  g->SetCells(3, 6, "3");
  g->SetSelection({3, 5, 3, 6});
  g->CopySelectionToClipboard();
  g->SetSelection({2, 5, 2, 8});
  g->PasteSelection();
  EXPECT_EQ(Column(g, 2, 5, 8), "1|3|5|7");
}

TEST_F(Clip, SmartPasteOfDatesStepsByTheirCalendarPart) {
  const TFormatSettings saved = FormatSettings;
  FormatSettings.ShortDateFormat = "d/m/yyyy";
  FormatSettings.DateSeparator = '/';
  TAdvStringGrid* g = Editable(2, 5);
  g->GetNavigation()->AllowSmartClipboard = true;
  struct Case {
    const char* text;
    const char* filled;
  };
  const Case cases[] = {
      {"15/2/2024\r\n15/1/2024\r\n", "15/2/2024|15/1/2024|15/12/2023|15/11/2023"},  // January - 1: December
      {"30/12/2024\r\n1/1/2025\r\n", "30/12/2024|1/1/2025|3/1/2025|5/1/2025"},
      {"1/3/2020\r\n1/3/2021\r\n", "1/3/2020|1/3/2021|1/3/2022|1/3/2023"},
      {"31/3/2024\r\n31/5/2024\r\n", "31/3/2024|31/5/2024|31/7/2024|"},  // no 31 September: the fill ends
  };
  for (const Case& c : cases) {
    for (int32_t r = 1; r < 5; ++r) g->SetCells(1, r, "");
    Clipboard()->SetAsText(c.text);
    g->SetSelection({1, 1, 1, 4});
    g->PasteSelection();
    EXPECT_EQ(Column(g, 1, 1, 4), c.filled) << c.text;
  }
  FormatSettings = saved;
}

TEST_F(Clip, CutClearsWhatMayBeEditedAndShortcutsAskFirst) {
  TAdvStringGrid* g = Editable(4, 4);
  g->GetNavigation()->AllowClipboardShortCuts = true;
  g->OnCanEditCell = TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t c, bool& can) { can = c != 2; });
  Fill(g, 1, 1, {{"a", "b"}});
  g->SetSelection({1, 1, 2, 1});
  std::vector<std::string> asked;
  bool allowCut = false;
  g->OnClipboardCopy = TClipboardEvent::Lambda([&](TObject*, bool& allow) {
    asked.push_back("copy");
    EXPECT_TRUE(allow);
  });
  g->OnClipboardCut = TClipboardEvent::Lambda([&](TObject*, bool& allow) {
    asked.push_back("cut");
    allow = allowCut;
  });
  g->OnClipboardPaste = TClipboardEvent::Lambda([&](TObject*, bool&) { asked.push_back("paste"); });

  KeyWith(VK_CONTROL, 'X');
  EXPECT_EQ(g->GetCells(1, 1), "a") << "a refused cut does nothing";
  EXPECT_EQ(Clipboard()->GetAsText(), "");
  KeyWith(VK_CONTROL, VK_INSERT);
  EXPECT_EQ(Clipboard()->GetAsText(), "a\tb");
  allowCut = true;
  KeyWith(VK_SHIFT, VK_DELETE);
  EXPECT_EQ(g->GetCells(1, 1), "");
  EXPECT_EQ(g->GetCells(2, 1), "b") << "a cell that may not be edited stays";
  g->SetSelection({1, 3, 1, 3});
  KeyWith(VK_SHIFT, VK_INSERT);
  EXPECT_EQ(g->GetCells(1, 3), "a");
  EXPECT_EQ(asked, (std::vector<std::string>{"cut", "copy", "cut", "paste"}));

  g->GetNavigation()->AllowClipboardShortCuts = false;
  g->SetSelection({2, 1, 2, 1});
  KeyWith(VK_CONTROL, 'C');
  EXPECT_EQ(Clipboard()->GetAsText(), "a\tb") << "without the flag the keys do nothing";
}

}  // namespace
}  // namespace adv_grid_test
