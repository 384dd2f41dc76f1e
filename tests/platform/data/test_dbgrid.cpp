// The data grid over a real result table (five text fields, a dozen records) on a shown form:
// titles, every record's texts, following the data set and moving it by mouse and keys,
// scrolling without moving it, new records, held notifications, closing, and definitions.
#include <map>

#include "platform/data/DBGrids.h"
#include "platform/data/DBTables.h"
#include "platform/runtime/FormText.h"
#include "tests/platform/runtime/TestFolder.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "tests/support/TestOutput.h"

namespace dbgrid_test {
namespace {

using namespace ui_test;

const char* const kGoNGFields[] = {"Setting", "Real", "Max", "Min", "Pass"};

// The record's five texts: its number shows in the first.
std::vector<AnsiString> RecordTexts(int i) {
  bool pass = i % 3 != 0;
  return {std::to_string(i), pass ? "0.512" : "0.701", "0.600", "0.400", pass ? "Pass" : "NoPass"};
}

// A grid that notes what each painted cell showed: the title, or the text its field gave for
// the record the row stands for.
class TNotingGrid : public TDBGrid {
 public:
  explicit TNotingGrid(TComponent* AOwner) : TDBGrid(AOwner) {}
  std::map<std::pair<int32_t, int32_t>, AnsiString> Shown;

 protected:
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override {
    TDBGrid::DrawCell(ACol, ARow, ARect, AState);
    TColumn* c = ColumnOf(ACol);
    if (!c) return;
    if (ARow < TitleOffset())
      Shown[{ACol, ARow}] = c->GetTitle()->GetCaption();
    else if (TField* f = c->GetField())
      Shown[{ACol, ARow}] = f->GetDisplayText();
  }
};

class DBGridTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TTable t(nullptr);
    t.SetDatabaseName(folder_.Path());
    t.SetTableName("Run1.db");
    for (const char* f : kGoNGFields) t.GetFieldDefs()->Add(f, ftString, 20);
    t.CreateTable();
    t.Open();
    for (int i = 1; i <= 12; ++i) Append(t, RecordTexts(i));
    t.Close();
  }
  static void Append(TDataSet& t, const std::vector<AnsiString>& texts) {
    t.Append();
    for (size_t i = 0; i < texts.size(); ++i) t.FieldByName(kGoNGFields[i])->SetAsString(texts[i]);
    t.Post();
  }
  // The browser's parts: the table, its source and the grid on a shown form, the table open.
  void Build(bool open = true) {
    form_ = NewForm(640, 300);
    table_ = new TTable(form_);
    table_->SetName("BatteryRecordTable");
    table_->SetDatabaseName(folder_.Path());
    table_->SetTableName("Run1.db");
    source_ = new TDataSource(form_);
    source_->SetName("BatteryRecordDataSource");
    source_->SetDataSet(table_);
    grid_ = Make<TNotingGrid>(form_, form_, "DBGrid1", Bounds(8, 8, 620, 200));
    grid_->SetDataSource(source_);
    if (open) table_->Open();
    ShowForm(form_);
    grid_->SetFocus();
    Pump();
  }
  // Paints the whole grid now, noting what it showed.
  void PaintAll() {
    grid_->Shown.clear();
    grid_->Invalidate();
    Pump();
  }
  // The texts shown in one grid row.
  std::vector<AnsiString> RowShown(int32_t row) {
    std::vector<AnsiString> out;
    for (int32_t c = 1; c < grid_->GetColCount(); ++c) out.push_back(grid_->Shown[{c, row}]);
    return out;
  }
  TPoint InRow(int32_t row) {
    TRect r = grid_->CellRect(2, row);
    return At(grid_, r.Left + 5, r.Top + 3);
  }

  TestFolder folder_;
  TForm* form_ = nullptr;
  TTable* table_ = nullptr;
  TDataSource* source_ = nullptr;
  TNotingGrid* grid_ = nullptr;
};

TEST_F(DBGridTest, TitlesAreTheFieldNamesAndEveryRecordIsListedWithoutMovingTheDataSet) {
  Build();
  EXPECT_EQ(grid_->GetColCount(), 6) << "the indicator and one column per field";
  EXPECT_EQ(grid_->GetRowCount(), 13) << "the titles and every record";
  EXPECT_EQ(grid_->GetFixedCols(), 1);
  EXPECT_EQ(grid_->GetFixedRows(), 1);
  table_->SetRecNo(7);
  PaintAll();
  EXPECT_EQ(RowShown(0), (std::vector<AnsiString>{"Setting", "Real", "Max", "Min", "Pass"}));
  // Scrolling by the bar shows the remaining records and leaves the cursor where it is.
  std::map<int, std::vector<AnsiString>> seen;
  for (int page = 0; page < 4; ++page) {
    for (int32_t r = grid_->GetTopRow(); r < grid_->GetRowCount() && !grid_->CellRect(1, r).IsEmpty(); ++r)
      seen[r] = RowShown(r);
    SendMessageA(grid_->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    PaintAll();
  }
  for (int i = 1; i <= 12; ++i) EXPECT_EQ(seen[i], RecordTexts(i)) << "record " << i;
  EXPECT_GT(grid_->GetTopRow(), 1);
  EXPECT_EQ(table_->GetRecNo(), 7);
  EXPECT_EQ(table_->FieldByName("Setting")->GetAsString(), "7") << "the fields read the current record again";
  EXPECT_EQ(grid_->GetRow(), 7);
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("data-grid.png")));
}

TEST_F(DBGridTest, ClicksAndKeysMoveTheDataSetAndTheGridFollowsIt) {
  Build();
  struct Case {
    const char* what;
    std::function<void()> act;
    int32_t recNo;
  } cases[] = {
      {"a click on a row",
       [&] {
         Press(InRow(4));
         Release(InRow(4));
       },
       4},
      {"down", [&] { Key(VK_DOWN); }, 5},
      {"up", [&] { Key(VK_UP); }, 4},
      {"ctrl end", [&] { KeyWith(VK_CONTROL, VK_END); }, 12},
      {"down at the last record", [&] { Key(VK_DOWN); }, 12},
      {"page up", [&] { Key(VK_PRIOR); }, 12 - (grid_->GetVisibleRowCount() - 1)},
      {"ctrl home", [&] { KeyWith(VK_CONTROL, VK_HOME); }, 1},
      {"the data set moves by itself", [&] { table_->Last(); }, 12},
      {"and back", [&] { table_->SetRecNo(3); }, 3},
  };
  for (const Case& c : cases) {
    c.act();
    clock_.Advance(1000);
    EXPECT_EQ(table_->GetRecNo(), c.recNo) << c.what;
    EXPECT_EQ(grid_->GetRow(), c.recNo) << c.what;
    EXPECT_FALSE(grid_->CellRect(grid_->GetCol(), grid_->GetRow()).IsEmpty())
        << c.what << ": the current record is in view";
  }
}

TEST_F(DBGridTest, APostedRecordShowsAndHeldNotificationsWaitForEnableControls) {
  Build();
  Append(*table_, {"13", "0.5", "0.6", "0.4", "Pass"});
  EXPECT_EQ(grid_->GetRowCount(), 14);
  EXPECT_EQ(grid_->GetRow(), 13) << "the new record is the current one";
  PaintAll();
  EXPECT_EQ(RowShown(13), (std::vector<AnsiString>{"13", "0.5", "0.6", "0.4", "Pass"}));

  table_->DisableControls();
  for (int i = 14; i <= 16; ++i) Append(*table_, RecordTexts(i));
  table_->First();
  PaintAll();
  EXPECT_EQ(grid_->GetRowCount(), 14) << "nothing reaches the grid while controls are disabled";
  EXPECT_EQ(grid_->GetRow(), 13);
  table_->EnableControls();
  EXPECT_EQ(grid_->GetRowCount(), 17);
  EXPECT_EQ(grid_->GetRow(), 1);
  PaintAll();
  EXPECT_EQ(RowShown(1), RecordTexts(1));
}

TEST_F(DBGridTest, EditingTheCurrentFieldPostsOnLeavingTheRowAndEscapeCancels) {
  Build();
  auto type = [](const char* digits) {
    for (const char* p = digits; *p; ++p) Key(UINT(*p));
  };
  // Typing in the first record's "Real" cell opens the editor and edits the record.
  grid_->SetCol(2);
  type("9");
  ASSERT_TRUE(grid_->GetEditorMode());
  EXPECT_EQ(table_->GetState(), dsEdit);
  EXPECT_EQ(table_->FieldByName("Real")->GetAsString(), "9");
  Key(VK_DOWN);
  EXPECT_EQ(table_->GetState(), dsBrowse);
  EXPECT_EQ(table_->GetRecNo(), 2);
  // Escape in the editor puts the text back; Escape in the grid cancels the record.
  type("7");
  Key(VK_ESCAPE);
  EXPECT_EQ(table_->FieldByName("Real")->GetAsString(), RecordTexts(2)[1]);
  Key(VK_F2);
  Key(VK_BACK);
  Key(VK_RETURN);
  EXPECT_EQ(table_->FieldByName("Real")->GetAsString(), "0.51");
  Key(VK_ESCAPE);
  EXPECT_EQ(table_->GetState(), dsBrowse);
  EXPECT_EQ(table_->FieldByName("Real")->GetAsString(), RecordTexts(2)[1]);
  // The posted record is stored.
  table_->Close();
  table_->Open();
  EXPECT_EQ(table_->FieldByName("Real")->GetAsString(), "9");
  // A read-only grid does not edit.
  grid_->SetReadOnly(true);
  type("5");
  EXPECT_FALSE(grid_->GetEditorMode());
  EXPECT_EQ(table_->GetState(), dsBrowse);
}

TEST_F(DBGridTest, ClosingEmptiesTheGridAndOpeningFillsIt) {
  Build(false);
  EXPECT_EQ(grid_->GetRowCount(), 2);
  EXPECT_EQ(grid_->GetColCount(), 2);
  EXPECT_EQ(grid_->GetColumns()->Count(), 0);
  table_->Open();
  EXPECT_EQ(grid_->GetRowCount(), 13);
  EXPECT_EQ(grid_->GetColumns()->Count(), 5);
  EXPECT_EQ(grid_->GetColumns()->Items(4)->GetFieldName(), "Pass");
  EXPECT_GT(grid_->GetColWidths(1), grid_->GetColWidths(0))
      << "a 20-character column is wider than the indicator";
  table_->Close();
  EXPECT_EQ(grid_->GetRowCount(), 2);
  PaintAll();
  EXPECT_EQ(RowShown(1), std::vector<AnsiString>{""});
  source_->SetDataSet(nullptr);
  table_->Open();
  EXPECT_EQ(grid_->GetRowCount(), 2) << "a source without the table shows nothing";
  delete source_;
  EXPECT_EQ(grid_->GetDataSource(), nullptr) << "a freed source is let go";
}

TEST_F(DBGridTest, ColumnsOfTheProgramChooseAndOrderTheFieldsAndAreStored) {
  Build();
  TDBGridColumns* cols = grid_->GetColumns();
  EXPECT_EQ(cols->GetState(), csDefault);
  cols->BeginUpdate();
  cols->Clear();
  TColumn* pass = cols->Add();
  pass->SetFieldName("Pass");
  pass->GetTitle()->SetCaption("Result");
  cols->Add()->SetFieldName("setting");  // names ignore letter case
  cols->EndUpdate();
  EXPECT_EQ(cols->GetState(), csCustomized);
  EXPECT_EQ(grid_->GetColCount(), 3);
  PaintAll();
  EXPECT_EQ(RowShown(0), (std::vector<AnsiString>{"Result", "Setting"}));
  EXPECT_EQ(RowShown(3), (std::vector<AnsiString>{"NoPass", "3"}));
  table_->Close();
  table_->Open();
  EXPECT_EQ(cols->Count(), 2) << "the program's columns outlive the fields";
  AnsiString written = WriteComponentText(grid_);
  for (const char* line :
       {"Columns = <", "FieldName = 'Pass'", "Caption = 'Result'", "FieldName = 'setting'"})
    EXPECT_NE(written.find(line), AnsiString::npos) << line << "\n" << written;
  cols->SetState(csDefault);
  EXPECT_EQ(grid_->GetColCount(), 6);
}

TEST_F(DBGridTest, ADefinitionConnectsTheGridToItsSource) {
  TForm* f = NewForm(400, 300);
  const char* text =
      "object F: TForm\n"
      "  object BatteryRecordDataSource: TDataSource\n"
      "  end\n"
      "  object DBGrid1: TDBGrid\n"
      "    Left = 8\n"
      "    Top = 40\n"
      "    Width = 380\n"
      "    Height = 200\n"
      "    DataSource = BatteryRecordDataSource\n"
      "    Options = [dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs, dgRowSelect]\n"
      "    TabOrder = 0\n"
      "    TitleFont.Color = clMaroon\n"
      "    TitleFont.Name = 'MS Sans Serif'\n"
      "  end\n"
      "end\n";
  ReadComponentText(text, f);
  auto* grid = dynamic_cast<TDBGrid*>(f->FindComponent("DBGrid1"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->GetDataSource(), f->FindComponent("BatteryRecordDataSource"));
  EXPECT_EQ(grid->GetOptions(),
            (TDBGridOptions{dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs, dgRowSelect}));
  EXPECT_TRUE(grid->TCustomGrid::GetOptions().Contains(goRowSelect));
  EXPECT_EQ(grid->GetTitleFont()->GetColor(), clMaroon);
  AnsiString written = WriteComponentText(f);
  EXPECT_NE(written.find("DataSource = BatteryRecordDataSource"), AnsiString::npos) << written;
  EXPECT_EQ(written.find("Columns"), AnsiString::npos) << "default columns are not stored\n" << written;
}

}  // namespace
}  // namespace dbgrid_test
