// The result browser: the listing of the result folder (tables only, the database's working
// files and other files left out), showing a table in the data grid, deleting one after asking,
// a damaged table, the missing report engine, and its language texts.
#include <algorithm>
#include <fstream>

#include "app/LoadSource.h"
#include "tests/app/runs/RunsTest.h"
#include "tests/support/TestOutput.h"

namespace {

using namespace runs_test;

class Browser : public Runs {
 protected:
  void Table(const std::string& file, int records) {
    fs::create_directories(DbFolder());
    CreateResultTable((DbFolder() / file).string());
    for (int i = 0; i < records; ++i)
      Sql(file, "INSERT INTO \"" + fs::path(file).stem().string() + "\" VALUES ('" + std::to_string(i + 1) +
                    "','0.5','1','0','" + (i % 2 ? "NoPass" : "Pass") + "')");
  }
  void File(const std::string& name, const std::string& bytes = "x") {
    fs::create_directories(DbFolder());
    std::ofstream(DbFolder() / name, std::ios::binary) << bytes;
  }
  std::vector<std::string> Listed() {
    std::vector<std::string> names;
    TStrings* items = browser_->TeThemeComboBox1->GetItems();
    for (int32_t i = 0; i < items->Count(); ++i) names.push_back(items->Strings(i));
    std::sort(names.begin(), names.end());
    return names;
  }
  void Select(const std::string& name) {
    browser_->TeThemeComboBox1->SetItemIndex(browser_->TeThemeComboBox1->GetItems()->IndexOf(name));
  }
};

TEST_F(Browser, ListsTablesOnlyShowsOneAndDeletesAfterAsking) {
  Program();
  Table("GoNG.DB", 5);
  Table("Run1.db", 1);
  for (const char* other :
       {"GoNG.PX", "notes.txt", "Run1.db-journal", "Run1.db-wal", "Run1.db-shm", "GoNG.DB-mj1A2B"})
    File(other);
  browser_->ListResultTables();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"GoNG.DB", "Run1.db"}));
  EXPECT_EQ(browser_->TeThemeComboBox1->GetItemIndex(), 0);
  EXPECT_EQ(browser_->TeThemeComboBox1->GetDropDownCount(), 2);
  EXPECT_TRUE(browser_->TeThemeButton6->GetEnabled());
  EXPECT_TRUE(browser_->TeThemeButton7->GetEnabled());
  EXPECT_FALSE(browser_->TeThemeButton2->GetEnabled());

  Select("GoNG.DB");
  browser_->TeThemeButton6->Click();
  ASSERT_TRUE(browser_->BatteryRecordTable->GetActive());
  EXPECT_EQ(browser_->BatteryRecordTable->GetRecordCount(), 5);
  EXPECT_EQ(browser_->DBGrid1->GetDataSource(), browser_->BatteryRecordDataSource);
  EXPECT_EQ(browser_->BatteryRecordTable->FieldByName("PASS")->GetAsString(), "Pass");
  EXPECT_TRUE(browser_->TeThemeButton2->GetEnabled());
  browser_->Show();
  Pump();
  SaveWindowPng(browser_->Handle(), OutputPath("runs-browser.png"));

  browser_->TeThemeButton2->Click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("No report engine"), std::string::npos) << messages_[0];

  answer_ = mrNo;
  browser_->TeThemeButton7->Click();
  EXPECT_EQ(messages_.back(), "Delete Table GoNG.DB");
  EXPECT_TRUE(fs::exists(DbFolder() / "GoNG.DB")) << "No keeps the table";
  answer_ = mrYes;
  browser_->TeThemeButton7->Click();
  EXPECT_FALSE(fs::exists(DbFolder() / "GoNG.DB"));
  EXPECT_FALSE(browser_->BatteryRecordTable->GetActive());
  EXPECT_EQ(Listed(), (std::vector<std::string>{"Run1.db"}));
  EXPECT_FALSE(browser_->TeThemeButton2->GetEnabled());
  EXPECT_TRUE(fs::exists(DbFolder() / "notes.txt")) << "only the table goes";
  browser_->TeThemeButton7->Click();
  EXPECT_EQ(Listed(), (std::vector<std::string>{}));
  EXPECT_FALSE(browser_->TeThemeButton6->GetEnabled());
  EXPECT_FALSE(browser_->TeThemeButton7->GetEnabled());
  EXPECT_FALSE(fs::exists(DbFolder() / "Run1.db-journal")) << "a deleted table's journal goes with it";
}

TEST_F(Browser, ADamagedTableIsNamedAndKeptAndSixTablesShowFourLines) {
  Program();
  for (int i = 1; i <= 5; ++i) Table("T" + std::to_string(i) + ".db", 1);
  File("Broken.db", std::string(2048, 'z'));
  browser_->ListResultTables();
  EXPECT_EQ(Listed().size(), 6u);
  EXPECT_EQ(browser_->TeThemeComboBox1->GetDropDownCount(), 4);
  Select("Broken.db");
  try {
    browser_->TeThemeButton6->Click();
    ADD_FAILURE() << "shown";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("Broken.db"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("corrupt"), std::string::npos) << e.Message;
  }
  EXPECT_FALSE(browser_->TeThemeButton2->GetEnabled());
  EXPECT_EQ(fs::file_size(DbFolder() / "Broken.db"), 2048u);
  Select("T3.db");
  browser_->TeThemeButton6->Click();
  EXPECT_EQ(browser_->BatteryRecordTable->GetRecordCount(), 1) << "the next table shows";
}

TEST_F(Browser, ReportOperationOpensTheBrowserOnAFreshListingInTheLanguageLoaded) {
  TForm_Main* f = Program();
  ASSERT_TRUE(f->FLanguageLoaded);
  Table("Only.db", 2);
  std::vector<std::string> seen;
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    if (!browser_->FormState().Contains(fsModal)) return;
    seen = Listed();
    browser_->SetModalResult(mrCancel);
  });
  Click("TeThemeButton_ReportOperation");
  Application->OnIdle = nullptr;
  EXPECT_EQ(seen, (std::vector<std::string>{"Only.db"}));
  const TLoadSource* texts = f->LanguageSource();
  EXPECT_EQ(browser_->Label4->GetCaption(), texts->GetString(84));
  EXPECT_EQ(browser_->TeThemeButton6->GetCaption(), texts->GetString(85));
  EXPECT_EQ(browser_->TeThemeButton7->GetCaption(), texts->GetString(86));
  EXPECT_EQ(browser_->TeThemeButton2->GetCaption(), texts->GetString(87));
  EXPECT_EQ(browser_->TeThemeButton5->GetCaption(), texts->GetString(88));
}

}  // namespace
