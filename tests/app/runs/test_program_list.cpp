// The program list against the simulated instrument: runs Once, Repeat and Custom with the pass
// label, the step timer and its units, the controls a run locks, the rows a run refuses, and
// the editing of the list (key filter, edit checks, rows appended, inserted and deleted).
#include <cstdint>

#include "platform/display/Display.h"
#include "platform/os/user/DisplayDriver.h"
#include "platform/runtime/NumText.h"
#include "platform/ui/ComBars.h"
#include "tests/app/runs/RunsTest.h"
#include "tests/support/TestOutput.h"
#include "widgets/iKnob.h"

namespace {

using namespace runs_test;

class ProgramList : public Runs {
 protected:
  bool CommandsOnWire(size_t from, size_t count) {
    return Until([&] {
      return WireLinesStarting("VOLT ", from).size() + WireLinesStarting("CURR ", from).size() >= count;
    });
  }
  // The setting commands on the wire from index from on, in order.
  Lines Settings(size_t from) {
    Lines out;
    for (size_t i = from; i < Wire().size(); ++i)
      if (Wire()[i].rfind("VOLT ", 0) == 0 || Wire()[i].rfind("CURR ", 0) == 0) out.push_back(Wire()[i]);
    return out;
  }
  static bool Locked(TForm_Main* f) {
    return f->Link()->FRunActive && !f->iKnob_Voltage->GetEnabled() &&
           !f->TeThemeGroupBox_ToolBar->GetEnabled() && !f->Panel_ScanVoltageCommandPanel->GetEnabled() &&
           !f->Panel_GoNGRun->GetEnabled() && !f->TeThemeRadioGroupRun->GetEnabled() &&
           !f->TeThemeButton_RunPorgramRun->GetEnabled() && f->TeThemeButton_RunProgramStop->GetEnabled();
  }
  static bool Unlocked(TForm_Main* f) {
    return !f->Link()->FRunActive && !f->Timer_RunProgram->GetEnabled() && f->iKnob_Voltage->GetEnabled() &&
           f->TeThemeGroupBox_ToolBar->GetEnabled() && f->Panel_ScanVoltageCommandPanel->GetEnabled() &&
           f->Panel_GoNGRun->GetEnabled() && f->TeThemeRadioGroupRun->GetEnabled() &&
           f->TeThemeButton_RunPorgramRun->GetEnabled() && !f->TeThemeButton_RunProgramStop->GetEnabled();
  }
  void SetMode(int32_t mode, const char* passes = "2") {
    Form()->TeThemeRadioGroupRun->SetItemIndex(mode);
    Form()->TeThemeRadioGroupRunClick(nullptr);
    Form()->TeThemeSpinEdit->SetText(passes);
  }
};

TEST_F(ProgramList, OnceSendsEachRowWhenItsTimeStartsAndStopsAfterTheLastRow) {
  TForm_Main* f = Started();
  SetProgramRows({{"1", "0.5", "2"}, {"2,5", "0.25", "3"}});
  SetMode(0);
  EXPECT_FALSE(f->Label_RunTimes->GetVisible()) << "no pass label for a single pass";
  EXPECT_FALSE(f->TeThemeSpinEdit->GetVisible());
  const size_t from = Wire().size();
  Click("TeThemeButton_RunPorgramRun");
  EXPECT_TRUE(Locked(f));
  EXPECT_EQ(f->Timer_RunProgram->GetInterval(), 2000u);
  EXPECT_EQ(f->TeThemeStringGridList->GetRow(), 1);
  ASSERT_TRUE(CommandsOnWire(from, 2));
  ASSERT_TRUE(QueueDrained());
  EXPECT_TRUE(Locked(f)) << "replies do not give the panel back during a run";
  Run(1990);
  EXPECT_EQ(Settings(from).size(), 2u);
  Run(10);
  ASSERT_TRUE(CommandsOnWire(from, 4));
  EXPECT_EQ(f->TeThemeStringGridList->GetRow(), 2);
  EXPECT_EQ(f->Timer_RunProgram->GetInterval(), 3000u);
  Run(2990);
  EXPECT_TRUE(f->Link()->FRunActive);
  Run(10);
  EXPECT_TRUE(Unlocked(f));
  ASSERT_TRUE(QueueDrained());
  EXPECT_EQ(Settings(from), (Lines{"VOLT 1;:SYST:ERR?", "CURR 0.5;:SYST:ERR?", "VOLT 2.5;:SYST:ERR?",
                                   "CURR 0.25;:SYST:ERR?"}))
      << "a decimal comma in a cell goes out as a point";
}

TEST_F(ProgramList, CustomMakesItsPassesAndRepeatRunsUntilStopWithThePassLabel) {
  TForm_Main* f = Started();
  SetProgramRows({{"1", "1", "1"}, {"2", "1", "1"}});
  SetMode(2, "3");
  EXPECT_TRUE(f->TeThemeSpinEdit->GetVisible());
  EXPECT_TRUE(f->Label_RunTimes->GetVisible());
  const size_t from = Wire().size();
  Click("TeThemeButton_RunPorgramRun");
  EXPECT_EQ(f->Label_RunTimes->GetCaption(), "Run Times:1");
  Run(2000);
  EXPECT_EQ(f->Label_RunTimes->GetCaption(), "Run Times:2");
  Run(2000);
  EXPECT_EQ(f->Label_RunTimes->GetCaption(), "Run Times:3");
  EXPECT_TRUE(f->Link()->FRunActive);
  Run(2000);
  EXPECT_TRUE(Unlocked(f)) << "three passes, then the run ends";
  EXPECT_EQ(f->Label_RunTimes->GetCaption(), "Run Times:3") << "the label keeps its last text";
  ASSERT_TRUE(QueueDrained());
  EXPECT_EQ(WireLinesStarting("VOLT ", from),
            (Lines{"VOLT 1;:SYST:ERR?", "VOLT 2;:SYST:ERR?", "VOLT 1;:SYST:ERR?", "VOLT 2;:SYST:ERR?",
                   "VOLT 1;:SYST:ERR?", "VOLT 2;:SYST:ERR?"}));

  // A pass count that is no number keeps the last one the entry held.
  SetMode(2, "lots");
  EXPECT_EQ(f->PassCount(), 3);
  f->TeThemeSpinEdit->SetText("1");
  EXPECT_EQ(f->PassCount(), 2) << "at least two passes";

  SetMode(1);
  EXPECT_FALSE(f->TeThemeSpinEdit->GetVisible());
  EXPECT_TRUE(f->Label_RunTimes->GetVisible());
  Click("TeThemeButton_RunPorgramRun");
  Run(8000);
  EXPECT_TRUE(f->Link()->FRunActive) << "Repeat runs on";
  EXPECT_EQ(f->Label_RunTimes->GetCaption(), "Run Times:5");
  // Minutes from the next armed row on.
  f->ComboBox_ProgramTimeUnits->SetItemIndex(1);
  Run(1000);
  EXPECT_EQ(f->Timer_RunProgram->GetInterval(), 60000u);
  Click("TeThemeButton_RunProgramStop");
  EXPECT_TRUE(Unlocked(f)) << "Stop ends the run";
}

TEST_F(ProgramList, ARowThatWouldFailIsRefusedBeforeAnythingRuns) {
  TForm_Main* f = Form();
  struct Case {
    std::vector<std::string> row;  // row 2; row 1 is fine
    int32_t unit;
    const char* says;
  } cases[] = {
      {{"abc", "1", "1"}, 0, "not a number"},
      {{"", "1", "1"}, 0, "not a number"},
      {{"-1", "1", "1"}, 0, "negative"},
      {{"25", "1", "1"}, 0, "above the limit 20"},
      {{"1", "x1", "1"}, 0, "not a number"},
      {{"1", "1e400", "1"}, 0, "not a number"},
      {{"1", "2", "1"}, 0, "above the limit 1.2"},
      {{"1", "1", ""}, 0, "whole number"},
      {{"1", "1", "1.5"}, 0, "whole number"},
      {{"1", "1", "1,5"}, 0, "whole number"},
      {{"1", "1", "0"}, 0, "out of range"},
      {{"1", "1", "-3"}, 0, "out of range"},
      {{"1", "1", "x"}, 0, "whole number"},
      {{"1", "1", "99999999999999999999"}, 0, "whole number"},
      // 1200 hours are 4,320,000,000 ms: beyond the timer's 32 bits, not wrapped round.
      {{"1", "1", "1200"}, 2, "out of range"},
      {{"1", "1", "71583"}, 1, "out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row[0] + "|" + c.row[1] + "|" + c.row[2]);
    SetProgramRows({{"1", "1", "1"}, c.row});
    f->ComboBox_ProgramTimeUnits->SetItemIndex(c.unit);
    const int32_t queued = f->Link()->CommandQueue()->Count();
    try {
      Click("TeThemeButton_RunPorgramRun");
      ADD_FAILURE() << "the run started";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message.find("Row 2"), std::string::npos) << e.Message;
      EXPECT_NE(e.Message.find(c.says), std::string::npos) << e.Message;
    }
    EXPECT_EQ(f->Link()->CommandQueue()->Count(), queued);
    EXPECT_FALSE(f->Link()->FRunActive);
    EXPECT_FALSE(f->Timer_RunProgram->GetEnabled());
    EXPECT_TRUE(f->TeThemeButton_RunPorgramRun->GetEnabled());
    EXPECT_FALSE(f->TeThemeButton_RunProgramStop->GetEnabled());
    EXPECT_TRUE(f->TeThemeRadioGroupRun->GetEnabled());
  }
  // The longest time the timer holds, in hours: 1193 h = 4,294,800,000 ms.
  SetProgramRows({{"1", "1", "1193"}});
  f->ComboBox_ProgramTimeUnits->SetItemIndex(2);
  Click("TeThemeButton_RunPorgramRun");
  EXPECT_EQ(f->Timer_RunProgram->GetInterval(), 4294800000u);
  Click("TeThemeButton_RunProgramStop");
}

TEST_F(ProgramList, EditsAreCheckedAndAGoodTextReachesTheRecord) {
  TForm_Main* f = Form();
  TAdvStringGrid* g = f->TeThemeStringGridList;
  SetProgramRows({{"3", "0.5", "4"}, {"4", "0.6", "5"}});
  struct Case {
    int32_t col;
    const char* typed;
    const char* cell;   // what the cell holds after the edit
    const char* error;  // nullptr: accepted
  } cases[] = {
      {1, "7.5", "7.5", nullptr},
      {1, "25", "20", nullptr},
      {1, " 6 ", "6", nullptr},
      {1, "abc", "6", "not a number"},
      {1, "", "6", "not a number"},
      {1, "-2", "6", "negative"},
      {1, "1.23456789", "6", "too long"},
      {2, "5", "1.2", nullptr},
      {2, "0,75", "0,75", nullptr},
      {3, "12", "12", nullptr},
      {3, "0", "12", "out of range"},
      {3, "", "12", "whole number"},
      {3, "99999999999", "12", "out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.col) + " '" + c.typed + "'");
    g->SetRow(2);
    g->SetCol(c.col);
    g->SetCells(c.col, 2, c.typed);
    if (c.error) {
      try {
        f->TeThemeStringGridListEditingDone(g);
        ADD_FAILURE() << "accepted";
      } catch (const EConvertError& e) {
        EXPECT_NE(e.Message.find(c.error), std::string::npos) << e.Message;
      }
    } else {
      f->TeThemeStringGridListEditingDone(g);
    }
    EXPECT_EQ(g->GetCells(c.col, 2), c.cell);
    const TProgramStep& step = f->FBody.ProgramSteps[1];
    EXPECT_EQ(c.col == 1   ? step.GetVoltage()
              : c.col == 2 ? step.GetCurrent()
                           : FloatToStr(step.Time),
              c.cell)
        << "grid and record agree";
  }
  EXPECT_EQ(f->FBody.ProgramSteps[0].GetVoltage(), "3") << "other rows untouched";

  // An empty time cell gets "1" when the edit of that row's time starts; row 1 is left alone.
  g->SetCells(3, 1, "");
  g->SetCells(3, 2, "");
  bool can = true;
  f->TeThemeStringGridListCanEditCell(g, 2, 3, can);
  EXPECT_TRUE(can);
  EXPECT_EQ(g->GetCells(3, 2), "1");
  EXPECT_EQ(g->GetCells(3, 1), "");
}

TEST_F(ProgramList, KeyFilterTakesDigitsAndOneSeparatorAndTheTimeColumnWholeNumbers) {
  TForm_Main* f = Form();
  TAdvStringGrid* g = f->TeThemeStringGridList;
  struct Case {
    int32_t col;
    const char* text;
    char key;
    bool kept;
  } cases[] = {
      {1, "1", '5', true},    {1, "1", '.', true},    {1, "1", ',', true},  {1, "1.5", '.', false},
      {1, "1.5", ',', false}, {1, "1,5", '.', false}, {1, "1", 'a', false}, {1, "1", ' ', false},
      {1, "1", '-', false},   {1, "1", 'e', false},   {2, "", '\b', true},  {2, "", 3, true},
      {2, "", 22, true},      {3, "1", '.', false},   {3, "1", ',', false}, {3, "1", '7', true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.col) + " '" + c.text + "' + " + std::to_string(int(c.key)));
    g->SetRow(1);
    g->SetCol(c.col);
    g->SetCells(c.col, 1, c.text);
    char key = c.key;
    f->TeThemeStringGridListKeyPress(g, key);
    EXPECT_EQ(key != 0, c.kept);
  }
  // The GO/NG list's time is column 5.
  TAdvStringGrid* gg = f->TeThemeStringGridGoNg;
  gg->SetRow(1);
  gg->SetCol(5);
  char key = '.';
  f->TeThemeStringGridGoNgKeyPress(gg, key);
  EXPECT_EQ(key, 0);
}

TEST_F(ProgramList, BothListsAreTheSystemsGridWithTheirStoredSettingsAndHandlers) {
  using F = TForm_Main;
  TForm_Main* f = Form();
  const struct {
    TAdvStringGrid* grid;
    int32_t cols, rowHeight;
    TPopupMenu* popup;
    TGridColorEvent color;
    TGridAlignEvent align;
    TCanEditCellEvent canEdit;
    TNotifyEvent done;
    TKeyPressEvent key;
  } cases[] = {
      {f->TeThemeStringGridList,
       4,
       23,
       f->PopupMenuList,
       {f, &F::TeThemeStringGridListGetCellColor},
       {f, &F::TeThemeStringGridListGetAlignment},
       {f, &F::TeThemeStringGridListCanEditCell},
       {f, &F::TeThemeStringGridListEditingDone},
       {f, &F::TeThemeStringGridListKeyPress}},
      {f->TeThemeStringGridGoNg,
       7,
       21,
       f->PopupMenuGoNg,
       {f, &F::TeThemeStringGridGoNgGetCellColor},
       {f, &F::TeThemeStringGridGoNgGetAlignment},
       {f, &F::TeThemeStringGridGoNgCanEditCell},
       {f, &F::TeThemeStringGridGoNgEditingDone},
       {f, &F::TeThemeStringGridGoNgKeyPress}},
  };
  for (const auto& c : cases) {
    TAdvStringGrid* g = c.grid;
    SCOPED_TRACE(g->GetName());
    EXPECT_EQ(g->GetColCount(), c.cols);
    EXPECT_EQ(g->GetFixedCols(), 1);
    EXPECT_EQ(g->GetFixedRows(), 1);
    EXPECT_EQ(g->GetDefaultRowHeight(), c.rowHeight);
    EXPECT_EQ(g->GetPopupMenu(), c.popup);
    EXPECT_TRUE(g->FixedRowAlways);
    // Editing starts only where the list allows it, by typing or a double click.
    EXPECT_FALSE(g->GetOptions().Contains(goEditing));
    EXPECT_TRUE(g->GetMouseActions()->RangeSelectAndEdit);
    EXPECT_TRUE(g->OnGetCellColor == c.color);
    EXPECT_TRUE(g->OnGetAlignment == c.align);
    EXPECT_TRUE(g->OnCanEditCell == c.canEdit);
    EXPECT_TRUE(g->OnEditingDone == c.done);
    EXPECT_TRUE(g->OnKeyPress == c.key);
  }
}

TEST_F(ProgramList, AppendInsertAndDeleteKeepRowsRecordsAndNumbersInStep) {
  TForm_Main* f = Form();
  TAdvStringGrid* g = f->TeThemeStringGridList;
  SetProgramRows({{"1", "0.1", "1"}, {"2", "0.2", "2"}, {"3", "0.3", "3"}});
  MenuClick("MenuListItemAppend");
  EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"1", "2", "3", "1"}));
  EXPECT_EQ(Column(g, 3), (std::vector<std::string>{"1", "2", "3", "1"}));
  g->SetRow(2);
  MenuClick("MenuListItemInsert");
  EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"1", "1", "2", "3", "1"}));
  EXPECT_EQ(Column(g, 2), (std::vector<std::string>{"0.1", "1", "0.2", "0.3", "1"}));
  ASSERT_EQ(f->FBody.ProgramSteps.size(), 5u);
  for (int32_t r = 1; r <= 5; ++r)
    EXPECT_EQ(f->FBody.ProgramSteps[size_t(r - 1)].GetVoltage(), g->GetCells(1, r)) << "record of row " << r;

  g->SetRow(3);
  MenuClick("MenuListItemDelete");
  EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"1", "1", "3", "1"}));
  EXPECT_EQ(Column(g, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(f->FBody.ProgramSteps[2].GetVoltage(), "3");
  g->SetRow(4);
  MenuClick("MenuListItemDelete");
  EXPECT_EQ(g->GetRow(), 3) << "the current row moves to the last one left";
  MenuClick("MenuListItemDelete");
  MenuClick("MenuListItemDelete");
  ASSERT_EQ(g->GetRowCount(), 2);
  EXPECT_THROW(MenuClick("MenuListItemDelete"), Exception) << "the last row stays";
  EXPECT_EQ(g->GetRowCount(), 2);
  EXPECT_EQ(f->FBody.ProgramSteps.size(), 1u);
  EXPECT_EQ(g->GetCells(0, 1), "1");

  // While a run goes the list is not changed under it.
  SetProgramRows({{"1", "1", "5"}});
  Click("TeThemeButton_RunPorgramRun");
  MenuClick("MenuListItemAppend");
  MenuClick("MenuListItemDelete");
  bool can = true;
  f->TeThemeStringGridListCanEditCell(g, 1, 1, can);
  EXPECT_FALSE(can);
  EXPECT_EQ(g->GetRowCount(), 2);
  Click("TeThemeButton_RunProgramStop");
}

TEST_F(ProgramList, TypingIntoTheGridEditsThroughTheFilterAndTheChecks) {
  TForm_Main* f = Started();
  TAdvStringGrid* g = f->TeThemeStringGridList;
  SetProgramRows({{"3", "0.5", "4"}, {"4", "0.6", "5"}});
  f->TeThemeStringGridList->SetCells(0, 0, "");
  f->TeThemePageControl1->SetActivePageIndex(1);
  Pump();
  g->SetFocus();
  g->SetRow(1);
  g->SetCol(1);
  Pump();
  auto type = [](const char* keys) {
    for (const char* k = keys; *k; ++k) {
      const char c = *k;
      const UINT vk = c == '.' ? UINT(VK_OEM_PERIOD) : c >= 'a' && c <= 'z' ? UINT(c - 'a' + 'A') : UINT(c);
      if (c == '\r')
        InputKey(vk, true);
      else
        InputKey(vk, true, 0, WideString(1, char16_t(c)));
      InputKey(vk, false);
      Pump();
    }
  };
  type("2x5");
  ASSERT_TRUE(g->GetEditorMode()) << "a typed digit opens the editor";
  EXPECT_EQ(g->GetCells(1, 1), "25") << "the letter is swallowed";
  type("\r");
  EXPECT_FALSE(g->GetEditorMode());
  EXPECT_EQ(g->GetCells(1, 1), "20") << "the edit's end clamps to the limit";
  EXPECT_EQ(f->FBody.ProgramSteps[0].GetVoltage(), "20");
  g->SetCol(3);
  Pump();
  type("4.2\r");
  EXPECT_EQ(g->GetCells(3, 1), "42") << "no separator in the time column";
  EXPECT_EQ(f->FBody.ProgramSteps[0].Time, 42.0);
  // A refused first character opens the editor on an editable cell, and never reaches the text.
  type("x");
  ASSERT_TRUE(g->GetEditorMode());
  EXPECT_EQ(g->InplaceEditor()->GetText(), "42");
  type("\r");
  EXPECT_EQ(g->GetCells(3, 1), "42");
  f->TeThemePageControl1Change(nullptr);
  g->SetCol(1);
  Pump();
  SaveWindowPng(f->Handle(), OutputPath("runs-program-page.png"));
}

}  // namespace
