// CSV import of the advanced grid: the separator found in three passes, quoted fields with
// doubled quotes, RowCount growing by 1000 and ending exact, progress, and damaged files; the
// spreadsheet import's error.
#include <fstream>
#include <string>

#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"
#include "tests/grid/support/GridFixture.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

class Csv : public GridFixture {
 protected:
  // Writes bytes to a file in the test output folder and returns its name.
  std::string File(const std::string& name, const std::string& bytes) {
    std::string path = OutputPath(("clip_" + name).c_str());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // The grid's rows as "a,b|c,d" (cells joined by "," only for this view).
  static std::string Rows(TAdvStringGrid* g) {
    std::string s;
    for (int32_t r = 0; r < g->GetRowCount(); ++r) {
      if (r) s += "|";
      for (int32_t c = 0; c < g->GetColCount(); ++c) s += (c ? "," : "") + g->GetCells(c, r);
    }
    return s;
  }
};

TEST_F(Csv, CountingRoutines) {
  int32_t run = 0;
  EXPECT_EQ(FindOddRun('"', "ab\"\"c\"d", run), 6);
  EXPECT_EQ(run, 1);
  EXPECT_EQ(FindOddRun('"', "\"\"", run), 0);
  EXPECT_EQ(CountOddRuns(',', "a,,b"), 0) << "two adjacent commas count nothing";
  EXPECT_EQ(CountOddRuns(',', "a,b"), 1);
  EXPECT_EQ(CountOddRuns(',', "a,b,,"), 2) << "a run ending the line always counts";
  EXPECT_EQ(CountChar(',', "a,,b"), 2);
}

TEST_F(Csv, SeparatorIsFoundInThreePasses) {
  struct Case {
    const char* text;
    const char* rows;
  };
  const Case cases[] = {
      {"a;b;c\r\n1;2;3\r\n", "a,b,c|1,2,3"},  // no comma at all
      {"a,b;c\r\n1,2;3\r\n", "a,b;c|1,2;3"},  // a tie at one each: the comma wins
      {"a,b,c", "a,b,c"},                     // one line: pass 3
      {"a|b\r\nx|y|z\r\n", "a,b,|x,y,z"},     // counts differ: the larger plain count
      {"a\tb\r\n1\t2\r\n", "a,b|1,2"},
      {"plain\r\nline\r\n", "plain|line"},  // no candidate: whole lines in column 0
      {"a,,b\nc,,d\n", "a,,b|c,,d"},        // LF-only lines; adjacent commas: plain count
  };
  for (const Case& c : cases) {
    auto* g = NewGrid<TAdvStringGrid>(1, 1);
    g->ImportCSVFile(File("sep.csv", c.text));
    EXPECT_EQ(Rows(g), c.rows) << c.text;
    form_->Free();
  }
}

TEST_F(Csv, QuotesDoubledQuotesAndDamagedLines) {
  struct Case {
    const char* text;
    const char* rows;
  };
  const Case cases[] = {
      {"\"x\"\"y\",2\r\n1,2\r\n", "x\"y,2|1,2"},  // a doubled quote is one quote
      {"\"a,b\",c\r\n1,2\r\n", "a,b,c|1,2"},      // a separator inside quotes
      {"a,\"last\"\r\n1,2\r\n", "a,last|1,2"},
      {"\"open,b,c\r\n1,2,3\r\n", ",b,c|1,2,3"},  // unterminated: empty, on after the next comma
      {"a,b,c\r\n1\r\n1,2,3,4,5\r\n", "a,b,c,,|1,,,,|1,2,3,4,5"},  // ragged rows
      {"a,\"x\ny\",b\r\n1,2,3\r\n", "a,x,|y\",b,|1,2,3"},          // a line break inside quotes ends the line
      {"stray\"q,b\r\n1,2\r\n", "stray\"q,b|1,2"},
  };
  for (const Case& c : cases) {
    auto* g = NewGrid<TAdvStringGrid>(1, 1);
    g->ImportCSVFile(File("quotes.csv", c.text));
    EXPECT_EQ(Rows(g), c.rows) << c.text;
    form_->Free();
  }
}

TEST_F(Csv, RowCountGrowsByAThousandAndEndsExact) {
  std::string text;
  for (int i = 0; i < 2500; ++i) text += std::to_string(i) + ",x\r\n";
  const std::string path = File("rows.csv", text);
  auto* g = NewGrid<TAdvStringGrid>(1, 1);
  g->SetFixedFooters(1);
  std::vector<int32_t> sizes;
  g->OnCellsChanged = TCellsChangedEvent::Lambda([&](TObject*, TRect r) { sizes.push_back(r.Bottom); });
  g->ImportCSVFile(path);
  EXPECT_EQ(g->GetRowCount(), 2501) << "2,500 lines and the footer row";
  EXPECT_EQ(g->GetCells(0, 2499), "2499");
  EXPECT_EQ(g->GetColCount(), 2);
  EXPECT_EQ(sizes, std::vector<int32_t>{2501});

  // With progress the lines are counted first; percentages come once each, ending at 100.
  std::vector<int> progress;
  g->OnFileProgress = TGridProgressEvent::Lambda([&](TObject*, int16_t p) { progress.push_back(p); });
  g->ImportCSVFile(path);
  EXPECT_EQ(g->GetRowCount(), 2501);
  ASSERT_EQ(progress.size(), 101u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 100);
}

TEST_F(Csv, AFileBeyondFourMillionCellsIsRefusedWithTheGridAsItWas) {
  // 2,000 lines of 2,000 cells are the bound exactly; one line more passes it.
  std::string line;
  for (int i = 0; i < 2000; ++i) line += i ? ",1" : "1";
  line += "\n";
  std::string text;
  text.reserve(line.size() * 2000 + 2);
  for (int i = 0; i < 2000; ++i) text += line;
  text += "x\n";

  auto* g = NewGrid<TAdvStringGrid>(3, 4);
  g->SetCells(1, 1, "kept");
  try {
    g->ImportCSVFile(File("beyond.csv", text));
    ADD_FAILURE() << "no error";
  } catch (const EAdvGridError& e) {
    EXPECT_EQ(e.Message, "Too many cells for the grid");
  }
  // Nothing of the file, nothing of the grid lost (sizes first: a failure must not print 4 MB).
  ASSERT_EQ(g->GetColCount(), 3);
  ASSERT_EQ(g->GetRowCount(), 4);
  EXPECT_EQ(Rows(g), ",,|,kept,|,,|,,");
}

TEST_F(Csv, FilesThatCannotBeImportedSayWhy) {
  auto* g = NewGrid<TAdvStringGrid>(2, 2);
  g->SetCells(1, 1, "kept");
  try {
    g->ImportCSVFile("/nonexistent/data.csv");
    ADD_FAILURE() << "no error";
  } catch (const EAdvGridError& e) {
    EXPECT_EQ(e.Message, "Cannot open file /nonexistent/data.csv");
  }
  const std::string utf16("a\0,\0b\0\r\0\n\0", 10);
  EXPECT_THROW(g->ImportCSVFile(File("wide.csv", "\xFF\xFE" + utf16)), EAdvGridError);
  EXPECT_EQ(g->GetCells(1, 1), "kept") << "refused before anything changed";

  // UTF-8 bytes are single-byte text to the grid: kept byte for byte.
  g->ImportCSVFile(File("utf8.csv", "\xC3\xA9t\xC3\xA9,x\r\n"));
  EXPECT_EQ(g->GetCells(0, 0), "\xC3\xA9t\xC3\xA9");

  // A line of more columns than a grid takes is refused with a clear error, not a stall.
  EXPECT_THROW(g->ImportCSVFile(File("wide-line.csv", std::string(150000, ','))), EAdvGridError);
  EXPECT_EQ(g->GetCells(0, 0), "\xC3\xA9t\xC3\xA9") << "the grid as it was";
  EXPECT_EQ(g->GetRowCount(), 1);

  try {
    g->ImportXLSFile(File("book.xls", "x"));
    ADD_FAILURE() << "no error";
  } catch (const EAdvGridError& e) {
    EXPECT_EQ(e.Message, "Excel OLE server not found");
  }
  EXPECT_EQ(Screen->GetCursor(), crDefault);
}

}  // namespace
}  // namespace adv_grid_test
