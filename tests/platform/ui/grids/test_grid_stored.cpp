// Stored definitions of grids: the published dimensions, options and sizes are read and written.
#include "platform/runtime/FormText.h"
#include "tests/platform/ui/grids/GridHarness.h"

namespace grid_test {
namespace {

class GridStored : public GridTest {};

TEST_F(GridStored, ADefinitionSetsCountsOptionsAndSizesAndWritingGivesThemBack) {
  const char* text =
      "object Grid1: TStringGrid\n"
      "  Left = 8\n"
      "  Top = 16\n"
      "  Width = 300\n"
      "  Height = 120\n"
      "  ColCount = 4\n"
      "  DefaultRowHeight = 18\n"
      "  FixedCols = 0\n"
      "  RowCount = 3\n"
      "  Options = [goFixedVertLine, goFixedHorzLine, goRangeSelect, goColSizing, goRowSelect]\n"
      "  ScrollBars = ssVertical\n"
      "  ColWidths = (\n"
      "    40\n"
      "    64\n"
      "    120\n"
      "    30)\n"
      "end\n";
  std::unique_ptr<TComponent> root(ReadComponentText(text, nullptr));
  auto* g = dynamic_cast<TStringGrid*>(root.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetColCount(), 4);
  EXPECT_EQ(g->GetRowCount(), 3);
  EXPECT_EQ(g->GetFixedCols(), 0);
  EXPECT_EQ(g->GetFixedRows(), 1);
  EXPECT_EQ(g->GetDefaultRowHeight(), 18);
  EXPECT_EQ(g->GetOptions(),
            (TGridOptions{goFixedVertLine, goFixedHorzLine, goRangeSelect, goColSizing, goRowSelect}));
  EXPECT_EQ(g->GetScrollBars(), ssVertical);
  EXPECT_EQ(g->GetColWidths(2), 120);
  EXPECT_EQ(g->GetRowHeights(2), 18);

  AnsiString written = WriteComponentText(g);
  for (const char* line : {"ColCount = 4", "RowCount = 3", "FixedCols = 0", "DefaultRowHeight = 18",
                           "ScrollBars = ssVertical", "ColWidths = (", "120"})
    EXPECT_NE(written.find(line), AnsiString::npos) << line << "\n" << written;
  for (const char* absent : {"FixedRows", "RowHeights", "DefaultColWidth"})
    EXPECT_EQ(written.find(absent), AnsiString::npos) << absent << " keeps its default\n" << written;
}

}  // namespace
}  // namespace grid_test
