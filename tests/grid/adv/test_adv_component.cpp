// The advanced grid as a component: its defaults and settings objects, stored definitions, the
// owner form's resize chain, display and data rows with hidden rows, typed cell access, headers
// and selection flags.
#include <memory>

#include "grid/AdvGrid.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/FormatSettings.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {
namespace {

class AdvComponent : public GridFixture {};

TEST_F(AdvComponent, DefaultsOfAGridMadeInCode) {
  TForm* f = NewForm();
  auto* g = new TAdvStringGrid(f);
  EXPECT_EQ(g->GetDefaultRowHeight(), 21);
  EXPECT_EQ(g->GetFixedRowHeight(), 21);
  EXPECT_EQ(g->GetFont()->GetName(), "Tahoma");
  EXPECT_EQ(g->GetFixedFont()->GetName(), "Tahoma");
  EXPECT_EQ(g->FloatFormat, "%.2f");
  EXPECT_EQ(g->GetLook(), glSoft);
  EXPECT_EQ(g->GetGridLineWidth(), 1);
  EXPECT_EQ(g->GetGridLineColor(), clSilver);
  EXPECT_TRUE(g->GetOptions().Contains(goDrawFocusSelected));
  EXPECT_TRUE(g->GetActiveCellFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(g->GetSelectionColor(), clHighlight);
  EXPECT_TRUE(g->GetEnableHTML());
  EXPECT_EQ(g->GetNavigation()->InsertPosition, pInsertBefore);
  EXPECT_TRUE(g->GetNavigation()->EditSelectAll);
  EXPECT_EQ(g->GetColumnSize()->StretchColumn, -1);
  EXPECT_EQ(g->GetBands()->GetPrimaryColor(), clInfoBk);
  AnsiString yes, no;
  g->GetCheckTrue(1, 1, yes);
  g->GetCheckFalse(1, 1, no);
  EXPECT_EQ(yes + no, "YN");
  // Fixed column width is read from column 0 and not set at run time.
  g->SetFixedColWidth(99);
  EXPECT_EQ(g->GetFixedColWidth(), g->GetDefaultColWidth());
}

TEST_F(AdvComponent, TheOwnerFormsResizeHandlerRunsAfterTheGridsAndComesBack) {
  TForm* f = NewForm();
  std::vector<std::string> calls;
  f->OnResize = TNotifyEvent::Lambda([&](TObject*) { calls.push_back("form"); });
  auto* g = new TAdvStringGrid(f);
  g->SetParent(f);
  g->SetBounds(0, 0, 200, 100);
  g->SizeWithForm = true;
  ShowForm(f);
  calls.clear();
  f->SetBounds(f->GetLeft(), f->GetTop(), f->GetWidth() + 40, f->GetHeight() + 20);
  Pump();
  EXPECT_EQ(calls, std::vector<std::string>{"form"});
  EXPECT_EQ(g->GetWidth(), 240);
  EXPECT_EQ(g->GetHeight(), 120);
  delete g;
  calls.clear();
  f->OnResize(f);
  EXPECT_EQ(calls, std::vector<std::string>{"form"}) << "the form has its own handler back";
}

TEST_F(AdvComponent, AStoredDefinitionSetsThePublishedPropertiesAndSettings) {
  RegisterClasses({&TAdvStringGrid::ClassInfo()});
  const char* text =
      "object Grid: TAdvStringGrid\n"
      "  Width = 300\n"
      "  Height = 120\n"
      "  ColCount = 4\n"
      "  DefaultRowHeight = 23\n"
      "  DefaultDrawing = False\n"
      "  RowCount = 2\n"
      "  Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine]\n"
      "  FixedRowAlways = True\n"
      "  MouseActions.ColSelect = True\n"
      "  MouseActions.RangeSelectAndEdit = True\n"
      "  Bands.Active = True\n"
      "  Look = glClassic\n"
      "  PrintSettings.DateFormat = 'yyyy-mm-dd'\n"
      "  PrintSettings.Orientation = poLandscape\n"
      "  ColumnHeaders.Strings = (\n"
      "    'No'\n"
      "    'Set\\nV')\n"
      "end\n";
  std::unique_ptr<TComponent> root(ReadComponentText(text, nullptr));
  auto* g = dynamic_cast<TAdvStringGrid*>(root.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetColCount(), 4);
  EXPECT_EQ(g->GetRowCount(), 2);
  EXPECT_EQ(g->GetDefaultRowHeight(), 23);
  EXPECT_FALSE(g->GetDefaultDrawing());
  EXPECT_TRUE(g->FixedRowAlways);
  EXPECT_TRUE(g->GetMouseActions()->RangeSelectAndEdit);
  EXPECT_TRUE(g->GetMouseActions()->ColSelect);
  EXPECT_FALSE(g->GetMouseActions()->RowSelect);
  EXPECT_TRUE(g->GetBands()->GetActive());
  EXPECT_EQ(g->GetLook(), glClassic);
  EXPECT_EQ(g->GetPrintSettings()->DateFormat, "yyyy-mm-dd");
  EXPECT_EQ(g->GetPrintSettings()->Orientation, poLandscape);
  EXPECT_EQ(g->GetHTMLSettings()->Width, 100);
  EXPECT_EQ(g->GetCells(1, 0), "Set\rV") << "backslash-n in a header is a line break";
  AnsiString written = WriteComponentText(g);
  for (const char* line : {"RangeSelectAndEdit = True", "ColCount = 4", "Look = glClassic"})
    EXPECT_NE(written.find(line), AnsiString::npos) << line << "\n" << written;
  EXPECT_EQ(written.find("EnableHTML"), AnsiString::npos) << written;
}

TEST_F(AdvComponent, HiddenRowsMapDisplayRowsToDataRowsAndComeBackWithTheirCells) {
  auto* g = NewGrid<TAdvStringGrid>(3, 10);
  for (int32_t r = 1; r < 10; ++r) g->SetCells(1, r, "r" + std::to_string(r));
  g->CellProperties(1, 3)->SetBrushColor(clRed);
  g->SetRowHeights(7, 40);
  g->HideRows(2, 3);
  EXPECT_EQ(g->GetRowCount(), 8);
  struct Case {
    int32_t displ, data;
  } cases[] = {{0, 0}, {1, 1}, {2, 4}, {3, 5}, {7, 9}};
  for (const Case& c : cases) {
    EXPECT_EQ(g->DisplRowToDataRow(c.displ), c.data) << c.displ;
    EXPECT_EQ(g->DataRowToDisplRow(c.data), c.displ) << c.data;
  }
  EXPECT_TRUE(g->IsHiddenRow(3));
  EXPECT_EQ(g->GetCells(1, 2), "r4");
  EXPECT_EQ(g->GetRowHeights(5), 40) << "heights stay with their rows";
  g->SetRow(2);
  EXPECT_EQ(g->GetDataRow(), 4);
  EXPECT_EQ(g->GetDataCol(), g->GetCol());

  // A range whose first row is hidden is refused; one that only contains hidden rows hides the
  // shown ones around them, each at its own place.
  g->HideRows(3, 6);
  EXPECT_EQ(g->GetRowCount(), 8);
  g->HideRows(1, 5);
  EXPECT_EQ(g->GetRowCount(), 5);
  EXPECT_EQ(g->GetCells(1, 1), "r6");
  g->UnHideRows(7, 7);  // not hidden: nothing
  EXPECT_EQ(g->GetRowCount(), 5);

  g->UnHideRowsAll();
  EXPECT_EQ(g->GetRowCount(), 10);
  for (int32_t r = 1; r < 10; ++r) EXPECT_EQ(g->GetCells(1, r), "r" + std::to_string(r));
  ASSERT_TRUE(g->HasCellProperties(1, 3));
  EXPECT_EQ(g->CellProperties(1, 3)->GetBrushColor(), clRed) << "properties travel with the hidden row";
  EXPECT_EQ(g->NumHiddenRows(), 0);

  // Hidden 5-6, then 2: all come back at their data positions.
  g->HideRows(5, 6);
  g->HideRow(2);
  g->UnHideRowsAll();
  for (int32_t r = 1; r < 10; ++r) EXPECT_EQ(g->GetCells(1, r), "r" + std::to_string(r));

  // Rows still hidden when the grid goes take their properties with them (the sanitizer build
  // checks).
  g->CellProperties(2, 8)->FontSize = 9;
  g->HideRow(8);
}

TEST_F(AdvComponent, TypedCellAccessConvertsAndReportsBadTexts) {
  auto* g = NewGrid<TAdvStringGrid>(3, 3);
  TFormatSettings saved = FormatSettings;
  struct Case {
    const char* text;
    char dec, thou;
    long double value;
  } floats[] = {
      {"", '.', ',', 0},          {"1.5", '.', ',', 1.5},        {"(1.234,5)", ',', '.', -1234.5},
      {"-3,25", ',', '.', -3.25}, {"1,234.5", '.', ',', 1234.5}, {"$ 12.5", '.', ',', 12.5},
  };
  for (const Case& c : floats) {
    FormatSettings.DecimalSeparator = c.dec;
    FormatSettings.ThousandSeparator = c.thou;
    g->SetCells(1, 1, c.text);
    EXPECT_DOUBLE_EQ(double(g->GetFloats(1, 1)), double(c.value)) << c.text;
  }
  FormatSettings = saved;
  g->SetCells(1, 1, "abc");
  EXPECT_EQ(g->GetFloats(1, 1), 0) << "no number in it at all reads as 0";
  g->SetCells(1, 1, "1-2");
  EXPECT_THROW(
      try { g->GetFloats(1, 1); } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message, "Cell does not contain a float value");
        throw;
      },
      EAdvGridError);
  g->SetCells(1, 1, "");
  EXPECT_EQ(g->GetInts(1, 1), 0);
  g->SetCells(1, 1, "12a");
  EXPECT_THROW(
      try { g->GetInts(1, 1); } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message, "Cell does not contain integer value");
        throw;
      },
      EAdvGridError);
  g->SetInts(1, 2, -7);
  EXPECT_EQ(g->GetCells(1, 2), "-7");
  g->SetFloats(2, 2, 3.14159L);
  EXPECT_EQ(g->GetCells(2, 2), "3.14");
}

TEST_F(AdvComponent, SelectionFlagsFixedRowAlwaysAndParking) {
  auto* g = NewGrid<TAdvStringGrid>(4, 4);
  EXPECT_FALSE(g->GetRowSelect(3));
  g->SetRowSelect(2, true);
  EXPECT_TRUE(g->GetRowSelect(2));
  EXPECT_THROW(
      try { g->GetRowSelect(4); } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message, "Invalid row accessed");
        throw;
      },
      EAdvGridError);
  EXPECT_THROW(g->SetColSelect(-1, true), EAdvGridError);
  g->SetColSelect(3, true);
  g->ClearColSelect();
  EXPECT_FALSE(g->GetColSelect(3));

  g->FixedRowAlways = true;
  g->SetRowCount(1);
  EXPECT_EQ(g->GetFixedRows(), 1) << "one fixed row although the framework has none";
  g->ParkSelection();
  EXPECT_EQ(g->GetSelection(), (TGridRect{4, 1, 4, 1}));
  g->SetRowCount(5);
  EXPECT_FALSE(g->SelectionParked());
  EXPECT_EQ(g->GetFixedRows(), 1);
  EXPECT_EQ(g->TBaseGrid::GetFixedRows(), 1);

  TStringList headers;
  headers.Add("A");
  headers.Add("B\\nC");
  g->SetRowHeaders(&headers);
  EXPECT_EQ(g->GetCells(0, 1), "B\rC");
  g->GetRowHeaders()->Put(0, "Z");
  EXPECT_EQ(g->GetCells(0, 0), "Z") << "a change of the list applies it again";
}

}  // namespace
}  // namespace adv_grid_test

namespace adv_grid_test {
namespace {

TEST_F(AdvComponent, NodesContractAndExpandTheirGroups) {
  auto* g = NewGrid<TAdvStringGrid>(3, 8);
  for (int32_t r = 1; r < 8; ++r) g->SetCells(1, r, "r" + std::to_string(r));
  auto node = [&](int32_t row, int32_t span) {
    TCellGraphic* n = g->CreateCellGraphic(0, row);
    n->CellType = ctNode;
    n->CellIndex = span;
  };
  node(1, 3);  // rows 1..3
  node(4, 0);  // rows 4.. up to the end
  g->ContractNode(1);
  EXPECT_EQ(g->GetRowCount(), 6);
  EXPECT_TRUE(g->NodeState(1));
  EXPECT_EQ(g->GetCells(1, 2), "r4");
  g->ContractNode(4);
  EXPECT_EQ(g->GetRowCount(), 3);
  EXPECT_EQ(g->DisplRowToDataRow(2), 4);
  g->ExpandNode(1);
  EXPECT_EQ(g->GetRowCount(), 5);
  EXPECT_EQ(g->GetCells(1, 3), "r3");
  EXPECT_EQ(g->GetCells(1, 4), "r4");
  g->ExpandNode(4);
  EXPECT_EQ(g->GetRowCount(), 8);
  for (int32_t r = 1; r < 8; ++r) EXPECT_EQ(g->GetCells(1, r), "r" + std::to_string(r));
}

TEST_F(AdvComponent, WideCellsRowRemovalByMarksAndColumnRunMerges) {
  auto* g = NewGrid<TAdvStringGrid>(3, 8);
  const WideString text = u"A\u0100\u20AC\U0001F600";
  g->SetWideCell(1, 1, text);
  EXPECT_EQ(g->GetRawCells(1, 1).substr(0, 2), "|\\");
  EXPECT_EQ(g->GetWideCell(1, 1), text);
  g->SetCells(2, 1, "plain");
  EXPECT_EQ(g->GetWideCell(2, 1), u"plain");

  for (int32_t r = 1; r < 8; ++r) g->SetCells(1, r, r < 4 ? "a" : r < 6 ? "b" : "c");
  g->MergeColumnRuns(1, true);
  EXPECT_EQ(g->CellSpan(1, 2), (TPoint{0, 2}));
  EXPECT_EQ(g->BaseCell(1, 5), (TPoint{1, 4}));
  EXPECT_FALSE(g->IsMergedCell(1, 7) && g->CellSpan(1, 7).Y > 1);
  g->SplitColumnMerges(1);
  EXPECT_FALSE(g->IsMergedCell(1, 2));

  for (int32_t r = 1; r < 8; ++r) g->SetCells(2, r, std::to_string(r));
  g->GetMouseActions()->DisjunctRowSelect = true;
  g->SetRowSelect(2, true);
  g->SetRowSelect(5, true);
  g->RemoveSelectedRows();
  EXPECT_EQ(g->GetRowCount(), 6);
  std::string left;
  for (int32_t r = 1; r < 6; ++r) left += g->GetCells(2, r);
  EXPECT_EQ(left, "13467");

  // The rows of the selection: the rows below it stay.
  g->GetMouseActions()->DisjunctRowSelect = false;
  g->SetSelection({1, 2, 2, 3});
  g->RemoveSelectedRows();
  left.clear();
  for (int32_t r = 1; r < g->GetRowCount(); ++r) left += g->GetCells(2, r);
  EXPECT_EQ(left, "167");
}

}  // namespace
}  // namespace adv_grid_test
