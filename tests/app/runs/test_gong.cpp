// The GO/NG list against the simulated instrument: the judgement of each current reading, a run
// that writes one record per row in order into its result table, a stop by the user that writes
// nothing, and the result tables' names, failures and damage that leave stored tables as they
// were.
#include <fstream>
#include <sstream>

#include "platform/runtime/NumText.h"
#include "tests/app/runs/RunsTest.h"
#include "tests/support/TestOutput.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace {

using namespace runs_test;

class GoNG : public Runs {
 protected:
  TInstrumentConfig SimConfig() override {
    TInstrumentConfig c = Runs::SimConfig();
    c.LeadOhms = 0;  // 10 ohms: the current is a tenth of the voltage
    return c;
  }
  std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // A result table holding rows, made as another run would have left it.
  void StoredTable(const std::string& file, const Rows& rows) {
    fs::create_directories(DbFolder());
    CreateResultTable((DbFolder() / file).string());
    for (const auto& r : rows)
      Sql(file, "INSERT INTO \"" + fs::path(file).stem().string() + "\" VALUES ('" + r[0] + "','" + r[1] +
                    "','" + r[2] + "','" + r[3] + "','" + r[4] + "')");
  }
  static bool Unlocked(TForm_Main* f) {
    return !f->Link()->FRunActive && !f->Link()->FGoNGActive && !f->Timer_RunGoNG->GetEnabled() &&
           f->TeThemeButton_GoNGRun->GetEnabled() && f->TeThemeButton_ReportOperation->GetEnabled() &&
           !f->TeThemeButton_GoNGStop->GetEnabled() && f->Panel_ScanVoltageCommandPanel->GetEnabled() &&
           f->Panel_RunProgramPanel->GetEnabled() && f->TeThemeGroupBox_ToolBar->GetEnabled();
  }
};

TEST_F(GoNG, EveryReadingIsJudgedInclusivelyAndTheLastOneStands) {
  TForm_Main* f = Form();
  TAdvStringGrid* g = f->TeThemeStringGridGoNg;
  SetGoNGRows({{"1", "1", "0", "2"}, {"2", "0,8", "0,2", "2"}});
  const struct {
    int32_t step;
    double reading;
    const char* real;
    const char* result;
  } cases[] = {
      {0, 0.5, "0.5", "Pass"},   {0, 1, "1", "Pass"},     {0, 0, "0", "Pass"},
      {0, 1.2, "1.2", "NoPass"}, {0, 0.5, "0.5", "Pass"}, {1, 0.2, "0.2", "Pass"},
      {1, 0.1, "0.1", "NoPass"}, {1, 0.8, "0.8", "Pass"}, {1, 0.81, "0.81", "NoPass"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reading);
    f->FStepIndex = c.step;
    f->iSevenSegmentAnalog_PresentCurrent->SetValue(c.reading);
    f->JudgeGoNGStep();
    EXPECT_EQ(g->GetCells(2, c.step + 1), c.real);
    EXPECT_EQ(g->GetCells(6, c.step + 1), c.result);
  }
  EXPECT_EQ(g->GetCells(6, 1), "Pass") << "the other row keeps its last result";
}

TEST_F(GoNG, ARunSendsEachStepsVoltageAndWritesOneRecordPerRowInOrder) {
  sim_->With([](TInstrument& i) {
    i.Execute("OUTP 1");
    i.Execute("CURR 1.2");
  });
  TForm_Main* f = Started();
  SetGoNGRows({{"1", "0.2", "0.05", "2"}, {"5", "0.3", "0", "2"}, {"2", "1", "0.1", "2"}});
  f->TeThemeEdit2->SetText("Run7");
  f->TeThemeStringGridGoNg->SetCells(6, 3, "Pass");  // an earlier run's result does not stay
  const size_t from = Wire().size();
  Click("TeThemeButton_GoNGRun");
  EXPECT_TRUE(f->Link()->FGoNGActive);
  EXPECT_FALSE(f->TeThemeButton_ReportOperation->GetEnabled());
  EXPECT_FALSE(f->Panel_RunProgramPanel->GetEnabled());
  EXPECT_EQ(f->TeThemeStringGridGoNg->GetCells(6, 3), "");
  TAdvStringGrid* g = f->TeThemeStringGridGoNg;
  auto judged = [&](int32_t row, const char* result, const char* real) {
    return Until([&] { return g->GetCells(6, row) == result && g->GetCells(2, row) == real; });
  };
  ASSERT_TRUE(judged(1, "Pass", "0.1"));
  Run(1990);
  EXPECT_EQ(WireLinesStarting("VOLT ", from).size(), 1u);
  Run(10);
  ASSERT_TRUE(judged(2, "NoPass", "0.5"));
  Run(2000);
  ASSERT_TRUE(judged(3, "Pass", "0.2"));
  EXPECT_FALSE(fs::exists(DbFolder() / "Run7.db")) << "nothing is written before the last step ends";
  Run(2000);
  EXPECT_TRUE(Unlocked(f));
  EXPECT_EQ(WireLinesStarting("VOLT ", from),
            (Lines{"VOLT 1;:SYST:ERR?", "VOLT 5;:SYST:ERR?", "VOLT 2;:SYST:ERR?"}));
  EXPECT_EQ(WireLinesStarting("CURR ", from), Lines{}) << "a GO/NG step sends no current";
  EXPECT_EQ(ReadTable("Run7.db"), (Rows{{"1", "0.1", "0.2", "0.05", "Pass"},
                                        {"5", "0.5", "0.3", "0", "NoPass"},
                                        {"2", "0.2", "1", "0.1", "Pass"}}));
  f->TeThemePageControl1->SetActivePageIndex(2);
  f->TeThemePageControl1Change(nullptr);
  f->TeThemeStringGridGoNg->SetCol(1);
  Pump();
  SaveWindowPng(f->Handle(), OutputPath("runs-gong-page.png"));

  // Stopped by hand: nothing written.  Let to finish: the table holds this run alone.
  SetGoNGRows({{"3", "0.2", "0", "1"}});
  Click("TeThemeButton_GoNGRun");
  Run(500);
  Click("TeThemeButton_GoNGStop");
  EXPECT_TRUE(Unlocked(f));
  Run(3000);
  EXPECT_EQ(ReadTable("Run7.db").size(), 3u);
  Click("TeThemeButton_GoNGRun");
  ASSERT_TRUE(judged(1, "NoPass", "0.3"));
  Run(1000);
  EXPECT_EQ(ReadTable("Run7.db"), (Rows{{"3", "0.3", "0.2", "0", "NoPass"}}));
}

TEST_F(GoNG, EditsAndStartsAreCheckedPerColumn) {
  TForm_Main* f = Form();
  TAdvStringGrid* g = f->TeThemeStringGridGoNg;
  SetGoNGRows({{"1", "1", "0", "1"}, {"2", "1", "0", "1"}});
  f->FBody.GoNGSteps[1].SetMaxCurrent("1");
  const struct {
    int32_t col;
    const char* typed;
    const char* cell;
    const char* error;
  } cases[] = {
      {1, "30", "20", nullptr},      {3, "5", "1.2", nullptr},     {3, "0.9", "0.9", nullptr},
      {4, "x", "0", "not a number"}, {4, "-0.1", "0", "negative"}, {4, "0,1", "0,1", nullptr},
      {5, "", "1", "whole number"},  {5, "3", "3", nullptr},       {1, "", "20", "not a number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.col) + " '" + c.typed + "'");
    g->SetRow(2);
    g->SetCol(c.col);
    g->SetCells(c.col, 2, c.typed);
    if (c.error)
      EXPECT_THROW(f->TeThemeStringGridGoNgEditingDone(g), EConvertError);
    else
      f->TeThemeStringGridGoNgEditingDone(g);
    EXPECT_EQ(g->GetCells(c.col, 2), c.cell);
  }
  const TGoNGStep& step = f->FBody.GoNGSteps[1];
  EXPECT_EQ(step.GetVoltage(), "20");
  EXPECT_EQ(step.GetMaxCurrent(), "0.9");
  EXPECT_EQ(step.GetMinCurrent(), "0,1");
  EXPECT_EQ(step.Time, 3.0);
  // The measured current and the result are not edited; an empty time gets "1" in its own row.
  bool can = true;
  f->TeThemeStringGridGoNgCanEditCell(g, 2, 6, can);
  EXPECT_FALSE(can);
  g->SetCells(5, 1, "");
  g->SetCells(5, 2, "");
  can = true;
  f->TeThemeStringGridGoNgCanEditCell(g, 2, 5, can);
  EXPECT_TRUE(can);
  EXPECT_EQ(g->GetCells(5, 2), "1");
  EXPECT_EQ(g->GetCells(5, 1), "");

  // A row that would fail stops the start before anything changes.
  SetGoNGRows({{"1", "1", "0", "1"}, {"1", "1", "low", "1"}});
  try {
    Click("TeThemeButton_GoNGRun");
    ADD_FAILURE() << "started";
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message.find("Row 2: the minimum current 'low' is not a number"), std::string::npos)
        << e.Message;
  }
  EXPECT_FALSE(f->Link()->FRunActive);
  EXPECT_FALSE(f->Link()->FGoNGActive);
  EXPECT_FALSE(f->Timer_RunGoNG->GetEnabled());
  EXPECT_TRUE(f->TeThemeButton_GoNGRun->GetEnabled());
  EXPECT_EQ(f->Link()->CommandQueue()->Count(), 0);
  MenuClick("MenuItemGoNgDelete");
  EXPECT_THROW(MenuClick("MenuItemGoNgDelete"), Exception) << "the last row stays";
  EXPECT_EQ(f->FBody.GoNGSteps.size(), 1u);
}

TEST_F(GoNG, ClosingTheWindowDuringARunWritesNothing) {
  TForm_Main* f = Started();
  SetGoNGRows({{"1", "1", "0", "1"}});
  Click("TeThemeButton_GoNGRun");
  f->Close();
  Run(3000);
  EXPECT_FALSE(fs::exists(DbFolder() / "GoNG.db"));
  EXPECT_FALSE(f->Link()->FGoNGActive);
}

TEST_F(GoNG, TableNamesStayInsideTheResultFolder) {
  EXPECT_EQ(ResultTableFileName("Test"), "Test.db");
  EXPECT_EQ(ResultTableFileName("Run.DB"), "Run.DB");
  EXPECT_EQ(ResultTableFileName("old.db.bak"), "old.db.bak");
  EXPECT_EQ(ResultTableFileName("x.Db2"), "x.Db2");
  for (const char* ok : {"GoNG", "Run 1", "my-run_2.db", "A.DB"})
    EXPECT_NO_THROW(CheckResultTableName(ok)) << ok;
  const struct {
    std::string name;
    const char* says;
  } refused[] = {
      {"", "Enter a name"},
      {"   ", "Enter a name"},
      {"../up", "separators"},
      {"a/b", "separators"},
      {"/etc/passwd", "separators"},
      {"..", "separators"},
      {"a\\b", "separators"},
      {".hidden", "begin with"},
      {" lead", "begin with"},
      {"a*b", "letters, digits"},
      {"a:b", "letters, digits"},
      {"tab\there", "letters, digits"},
      {"x.db-journal", "working file"},
      {"x.DB-WAL", "working file"},
      {std::string(101, 'a'), "longer than 100"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.name);
    try {
      CheckResultTableName(r.name);
      ADD_FAILURE() << "accepted";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message.find(r.says), std::string::npos) << e.Message;
    }
  }
  // A run with such a name does not start, and a save with it writes nothing anywhere.
  TForm_Main* f = Form();
  f->TeThemeEdit2->SetText("../escape");
  EXPECT_THROW(Click("TeThemeButton_GoNGRun"), EConvertError);
  EXPECT_FALSE(f->Link()->FRunActive);
  EXPECT_EQ(f->Link()->CommandQueue()->Count(), 0);
  EXPECT_THROW(f->SaveGoNGResults(), EConvertError);
  EXPECT_FALSE(fs::exists(folder_ / "escape.db"));
  EXPECT_FALSE(fs::exists(DbFolder()));
}

TEST_F(GoNG, AFailedOrRefusedWriteLeavesTheStoredTableAsItWas) {
  TForm_Main* f = Form();
  SetGoNGRows({{"1", "1", "0", "1"}, {"2", "1", "0", "1"}, {"3", "1", "0", "1"}});
  const Rows before{{"9", "0.9", "1", "0", "Pass"}, {"8", "0.8", "1", "0", "Pass"}};

  // The file refuses the second record of the new run half way.
  StoredTable("Kept.db", before);
  Sql("Kept.db",
      "CREATE TRIGGER stop BEFORE INSERT ON Kept WHEN (SELECT count(*) FROM Kept) >= 1 "
      "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
  f->TeThemeEdit2->SetText("Kept");
  EXPECT_THROW(f->SaveGoNGResults(), EDatabaseError);
  EXPECT_EQ(ReadTable("Kept.db"), before);
  EXPECT_FALSE(fs::exists(DbFolder() / "Kept.db-journal"));
  EXPECT_FALSE(f->GoNGDatabase->GetInTransaction());

  // A damaged file is named in the message and kept byte for byte.
  { std::ofstream(DbFolder() / "Bad.db", std::ios::binary) << std::string(3000, 'x'); }
  const std::string bytes = Bytes(DbFolder() / "Bad.db");
  f->TeThemeEdit2->SetText("Bad");
  try {
    f->SaveGoNGResults();
    ADD_FAILURE() << "written";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("Bad.db"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("corrupt"), std::string::npos) << e.Message;
  }
  EXPECT_EQ(Bytes(DbFolder() / "Bad.db"), bytes);

  // A table of another shape is not emptied.
  Sql("Other.db", "CREATE TABLE Other (Name TEXT); INSERT INTO Other VALUES ('mine')");
  f->TeThemeEdit2->SetText("Other.db");
  try {
    f->SaveGoNGResults();
    ADD_FAILURE() << "written";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("not a result table"), std::string::npos) << e.Message;
  }
  f->GoNGTable->Close();
  TTable other(nullptr);
  other.SetTableName((DbFolder() / "Other.db").string());
  other.Open();
  EXPECT_EQ(other.GetRecordCount(), 1);

  // A good name afterwards writes as usual.
  f->TeThemeEdit2->SetText("Fresh");
  f->SaveGoNGResults();
  EXPECT_EQ(ReadTable("Fresh.db").size(), 3u);
}

}  // namespace
