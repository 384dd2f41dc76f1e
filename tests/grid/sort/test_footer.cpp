// The floating footer: the footer row it makes of the last row, the statistics its cells show,
// the template of the custom preview and the strip it paints; the column statistics.
#include <memory>

#include "platform/runtime/FormText.h"
#include "platform/runtime/FormatSettings.h"
#include "tests/grid/sort/SortFixture.h"

namespace grid_sort_test {
namespace {

class Footer : public SortFixture {};

TEST_F(Footer, VisibleFooterMakesTheLastRowAFooterRow) {
  auto* g = Grid(2, {{"b", "a", "total"}, {"1", "2", ""}});
  TFloatingFooter* f = g->GetFloatingFooter();
  EXPECT_EQ(f->GetFooterStyle(), fsFixedLastRow);
  EXPECT_EQ(f->GetColor(), clBtnFace);
  f->SetVisible(true);
  EXPECT_EQ(g->GetFixedFooters(), 1);
  EXPECT_TRUE(g->FooterPanel()->GetVisible());
  EXPECT_EQ(g->FooterPanel()->GetHeight(), 20) << "the strip height less one";
  g->SortByColumn();
  EXPECT_EQ(Column(g, 0), (Texts{"a", "b", "total"})) << "the sort stops above the footer row";

  g->SetDefaultRowHeight(25);
  EXPECT_EQ(f->Height(), 25);
  EXPECT_EQ(g->FooterPanel()->GetHeight(), 25);

  f->SetVisible(false);
  EXPECT_EQ(g->GetFixedFooters(), 0);
  EXPECT_EQ(g->FooterPanel()->GetHeight(), 0);
  EXPECT_FALSE(g->FooterPanel()->GetVisible());
}

TEST_F(Footer, FooterCellsShowTheStatisticsOfTheirCodes) {
  // One fixed row, data rows 1 to 3, the footer row 4.
  auto* g = Grid(6, {{"", "", "", ""},
                     {"1", "2", "3", ""},
                     {"1", "2", "3", ""},
                     {"1", "2", "3", ""},
                     {"1", "2", "3", ""},
                     {"1", "2", "3", ""}});
  g->GetFloatingFooter()->SetVisible(true);
  for (int32_t code = 1; code <= 5; ++code) g->CellProperties(code, 4)->FooterKind = uint8_t(code | 0x80);
  g->SetCells(0, 4, "stale");
  g->CellProperties(0, 4)->FooterKind = 0;
  g->UpdateFooterColumns(-1);
  EXPECT_EQ(Column(g, 0).back(), "");
  const Texts expected = {"6.00", "2.00", "3.00", "1.00", "3.00"};
  for (int32_t code = 1; code <= 5; ++code)
    EXPECT_EQ(g->GetCells(code, 4), expected[size_t(code - 1)]) << code;

  // Hidden footer: nothing is recalculated.
  g->SetCells(1, 1, "10");
  g->GetFloatingFooter()->SetVisible(false);
  g->UpdateFooterColumns(-1);
  EXPECT_EQ(g->GetCells(1, 4), "6.00");
}

TEST_F(Footer, ColumnStatisticsOfRangesAndOfEmptyRanges) {
  auto* g = Grid(1, {{"4", "-2", "(3)", "1,000.5"}});
  EXPECT_DOUBLE_EQ(double(g->ColumnSum(0, 1, 4)), 999.5);
  EXPECT_DOUBLE_EQ(double(g->ColumnAverage(0, 1, 2)), 1);
  EXPECT_DOUBLE_EQ(double(g->ColumnMin(0, 1, 4)), -3);
  EXPECT_DOUBLE_EQ(double(g->ColumnMax(0, 1, 3)), 4);
  // An empty range is 0 for every statistic, never a division by zero or a stray row.
  for (auto stat : {&TAdvStringGrid::ColumnSum, &TAdvStringGrid::ColumnAverage, &TAdvStringGrid::ColumnMin,
                    &TAdvStringGrid::ColumnMax})
    EXPECT_EQ((g->*stat)(0, 3, 2), 0);
}

TEST_F(Footer, TemplateTagsTakeColumnsOfTheCurrentRow) {
  auto* g = Grid(3, {{"x", "A"}, {"y", "B"}, {"z", "C"}});
  g->SetRow(2);
  EXPECT_EQ(g->ExpandFooterTemplate("Row <#0>: <#2>"), "Row A: C");
  EXPECT_EQ(g->ExpandFooterTemplate("<#x>gone<#1"), "gone<#1");
  EXPECT_EQ(g->ExpandFooterTemplate("<#1><#1>!"), "BB!");
}

TEST_F(Footer, TheStripPaintsInItsColourUnderTheColumns) {
  auto* g = Grid(2, {{"a", "b", "sum"}, {"1", "2", "3"}});
  for (int32_t c = 0; c < 2; ++c) g->SetColWidths(c, 60);
  TFloatingFooter* f = g->GetFloatingFooter();
  f->SetColor(TColor(0x00FF00));
  f->SetVisible(true);
  Paint(g);
  Paint(g->FooterPanel());
  TFooterPanel* p = g->FooterPanel();
  EXPECT_EQ(Px(p, 100, 12), 0x00FF00u) << "under the columns";
  EXPECT_EQ(Px(p, 200, 12), adv_grid_test::RgbOf(g->GetColor())) << "beyond the last column";
  f->SetFooterStyle(fsCustomPreview);
  EXPECT_EQ(g->GetFixedFooters(), 1);
  Paint(p);
  EXPECT_EQ(Px(p, 100, 12), 0x00FF00u);
}

TEST_F(Footer, TheCustomTemplateIsDrawnAsMarkup) {
  auto* g = Grid(2, {{"x"}, {"y"}});
  TFloatingFooter* f = g->GetFloatingFooter();
  f->SetColor(clWhite);
  f->SetFooterStyle(fsCustomPreview);
  f->SetCustomTemplate("<font bgcolor=\"clRed\">MMMMMMMM</font>");
  f->SetVisible(true);
  Paint(g);
  Paint(g->FooterPanel());
  TFooterPanel* p = g->FooterPanel();
  int red = 0;
  for (int y = 0; y < p->GetHeight(); ++y)
    for (int x = 0; x < 100; ++x) red += Px(p, x, y) == 0xFF0000u;
  EXPECT_GT(red, 10) << "the template's background tag took effect";
}

TEST(SortFilterFooterDefinitions, SettingsReadFromAndWrittenToADefinition) {
  const char* text =
      "object G: TAdvStringGrid\n"
      "  SortSettings.Column = 2\n"
      "  SortSettings.Direction = sdDescending\n"
      "  SortSettings.BlankPos = blLast\n"
      "  SortSettings.Row = 1\n"
      "  FloatingFooter.FooterStyle = fsColumnPreview\n"
      "  FloatingFooter.CustomTemplate = 'Row <#0>'\n"
      "  Filter = <\n"
      "    item\n"
      "      Column = 1\n"
      "      Condition = '>5'\n"
      "      CaseSensitive = False\n"
      "    end>\n"
      "  FilterActive = True\n"
      "end\n";
  std::unique_ptr<TComponent> root(ReadComponentText(text, nullptr));
  auto* g = dynamic_cast<TAdvStringGrid*>(root.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetSortSettings()->Column, 2);
  EXPECT_EQ(g->GetSortSettings()->Direction, sdDescending);
  EXPECT_EQ(g->GetSortSettings()->BlankPos, blLast);
  EXPECT_EQ(g->GetFloatingFooter()->GetFooterStyle(), fsColumnPreview);
  ASSERT_EQ(g->GetFilter()->Count(), 1);
  EXPECT_EQ(g->GetFilter()->GetItem(0)->Condition, ">5");
  EXPECT_FALSE(g->GetFilter()->GetItem(0)->CaseSensitive);
  EXPECT_TRUE(g->GetFilterActive());
  EXPECT_EQ(g->NumHiddenRows(), 0) << "nothing is filtered while the definition is read";
  const AnsiString written = WriteComponentText(g);
  for (const char* line : {"SortSettings.Direction = sdDescending", "Condition = '>5'", "FilterActive = True",
                           "FloatingFooter.CustomTemplate = 'Row <#0>'"})
    EXPECT_NE(written.find(line), AnsiString::npos) << line << "\n" << written;
  EXPECT_EQ(written.find("SortSettings.Full"), AnsiString::npos) << written;
}

}  // namespace
}  // namespace grid_sort_test
