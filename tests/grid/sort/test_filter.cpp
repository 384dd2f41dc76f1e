// The row filter: the condition language, the locale's dates in conditions, hiding and restoring
// rows, the empty row that stands in when every row is filtered out, and the progress reports.
#include "grid/AdvUtil.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormatSettings.h"
#include "tests/grid/sort/SortFixture.h"

namespace grid_sort_test {
namespace {

class Filter : public SortFixture {
 protected:
  void TearDown() override {
    FormatSettings = DefaultFormatSettings();
    SortFixture::TearDown();
  }
};

TEST(FilterConditions, MatchConditionTable) {
  struct Case {
    const char* condition;
    const char* value;
    bool caseSensitive, match;
  } cases[] = {
      {">10", "11", true, true},
      {">10", "10.5", true, true},
      {">10", "9", true, false},
      {">10", "10", true, false},
      {">=10", "10", true, true},
      {"> = 10", "10", true, true},
      {"<5", "4", true, true},
      {"<5", "5", true, false},
      {"<=5", "5", true, true},
      {">m", "n", true, true},
      {">\"m\"", "a", true, false},
      {">1/1/2020", "2/1/2020", true, true},
      {"<1/1/2020", "12/31/2019", true, true},
      {"A*&*Z", "ABCZ", true, true},
      {"A*&*Z", "ABC", true, false},
      {"A* & *Z", "ABZ", true, true},
      {"X;Y", "X", true, true},
      {"X;Y", "Y", true, true},
      {"X;Y", "Z", true, false},
      {"X|Y", "Y", true, true},
      {"X^Y", "Y", true, true},
      {"!abc", "abc", true, false},
      {"!abc", "abd", true, true},
      {"!abc", "ABC", true, true},
      {"!abc", "ABC", false, false},
      {"a*b|c*d", "cxd", true, true},
      {"a*b|c*d&z", "cxd", true, false},
      {"a*b|c*d&c*", "cxd", true, true},
      {"a?c", "abc", true, true},
      {"a?c", "ac", true, false},
      {"a**c", "ac", true, true},
      {"\"abc\"", "abc", true, true},
      {"=abc", "abc", true, true},
      {"a!b", "ac", true, true},
      {"a!b", "ab", true, false},
      {"a!b", "xc", true, false},
      {"abc", "ABC", false, true},
      {"", "", true, true},
      {"", "x", true, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchCondition(c.condition, c.value, c.caseSensitive), c.match)
        << c.condition << " against " << c.value << (c.caseSensitive ? "" : " (any case)");
}

TEST(FilterConditions, StarsNeverBacktrackWithoutEnd) {
  const AnsiString value(4000, 'a');
  EXPECT_FALSE(MatchCondition("*a*a*a*a*a*a*a*a*a*a*a*a*b", value, true));
  EXPECT_TRUE(MatchCondition("*a*a*a*a*a*a*a*a*a*a*a*a*", value, true));
}

TEST(FilterConditions, LocaleDatesFollowTheShortDateOrder) {
  FormatSettings.ShortDateFormat = "dd.MM.yyyy";
  FormatSettings.DateSeparator = '.';
  TDateTime d = 0;
  EXPECT_TRUE(ParseLocaleDate("31.12.1999", d));
  EXPECT_EQ(d, EncodeDate(1999, 12, 31));
  for (const char* bad : {"32.1.2000", "1.13.2000", "30.2.2000", "1.1", "a.1.2000", "1.1.2000.1"})
    EXPECT_FALSE(ParseLocaleDate(bad, d)) << bad;
  EXPECT_TRUE(MatchCondition(">31.12.1999", "1.1.2000", true));
  FormatSettings = DefaultFormatSettings();
}

TEST_F(Filter, HidesFailingRowsAndRestoresThemInOrder) {
  auto* g = Grid(2, {{"r1", "r2", "r3", "r4", "r5", "r6"}, {"1", "5", "7", "2", "9", "3"}});
  TFilterData* f = g->GetFilter()->Add();
  f->Column = 1;
  f->Condition = ">4";
  std::vector<int16_t> progress;
  g->OnFilterProgress = TGridProgressEvent::Lambda([&](TObject*, int16_t p) { progress.push_back(p); });
  g->SetFilterActive(true);
  EXPECT_EQ(Column(g, 0), (Texts{"r2", "r3", "r5"}));
  EXPECT_EQ(g->DisplRowToDataRow(3), 5);
  EXPECT_EQ(progress.back(), 100);

  // Every condition must hold.
  EXPECT_TRUE(g->MatchFilter(1));
  TFilterData* second = g->GetFilter()->Add();
  second->Column = 0;
  second->Condition = "R3";
  second->CaseSensitive = false;
  EXPECT_FALSE(g->MatchFilter(1));
  EXPECT_TRUE(g->MatchFilter(2));

  g->SetFilterActive(false);
  EXPECT_EQ(Column(g, 0), (Texts{"r1", "r2", "r3", "r4", "r5", "r6"}));
  EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST_F(Filter, NoMatchLeavesOneEmptyRowAndTurningOffRemovesIt) {
  auto* g = Grid(2, {{"r1", "r2", "r3"}, {"1", "2", "3"}});
  TFilterData* f = g->GetFilter()->Add();
  f->Column = 1;
  f->Condition = ">100";
  g->SetFilterActive(true);
  EXPECT_EQ(g->GetRowCount(), 2);
  EXPECT_EQ(g->GetFixedRows(), 1);
  EXPECT_EQ(Column(g, 0), (Texts{""}));
  g->SetFilterActive(false);
  EXPECT_EQ(g->GetRowCount(), 4);
  EXPECT_EQ(g->GetFixedRows(), 1);
  EXPECT_EQ(Column(g, 0), (Texts{"r1", "r2", "r3"}));

  // One real row left: turning the filter off keeps it and brings the others back.
  f->Condition = "r2";
  f->Column = 0;
  g->SetFilterActive(true);
  EXPECT_EQ(g->GetRowCount(), 2);
  EXPECT_EQ(Column(g, 0), (Texts{"r2"}));
  g->SetFilterActive(false);
  EXPECT_EQ(Column(g, 0), (Texts{"r1", "r2", "r3"}));
}

TEST_F(Filter, ProgressOfAGridWithoutDataRowsIsComplete) {
  auto* g = NewGrid<TAdvStringGrid>(2, 1);
  g->SetFixedRows(0);
  g->SetRowCount(0 + 1);
  g->SetFixedFooters(1);
  std::vector<int16_t> progress;
  g->OnFilterProgress = TGridProgressEvent::Lambda([&](TObject*, int16_t p) { progress.push_back(p); });
  g->GetFilter()->Add()->Condition = "x";
  g->ApplyFilter();
  EXPECT_EQ(progress, (std::vector<int16_t>{100}));
}

}  // namespace
}  // namespace grid_sort_test
