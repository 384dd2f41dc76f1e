// The fixture of the list runs: the main window against the simulated instrument on the fake
// clock (MainWindowTest.h), with the result browser beside it, and helpers that fill the lists,
// read result tables back and answer the message boxes.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/GoNGTableForm.h"
#include "app/MainForm.h"
#include "platform/data/DBTables.h"
#include "platform/ui/Dialogs.h"
#include "tests/app/mainform/MainWindowTest.h"

namespace runs_test {

using namespace mainform_test;
using Rows = std::vector<std::vector<std::string>>;

class Runs : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    previous_ = SetDialogResponder([this](TObject* dialog) {
      if (auto* box = dynamic_cast<TMessageBoxDialog*>(dialog)) {
        messages_.push_back(box->Request.Text);
        return answer_;
      }
      return mrNone;
    });
  }
  void TearDown() override {
    if (browser_) browser_->Free();
    Form_GoNGTable = nullptr;
    Form_Main = nullptr;
    SetDialogResponder(previous_);
    MainWindow::TearDown();
  }

  // The main window and the browser, as the program makes them.
  TForm_Main* Program() {
    Form_Main = Form();
    if (!browser_) Form_GoNGTable = browser_ = TCustomForm::Create<TForm_GoNGTable>(nullptr);
    return form_;
  }

  // Fills a list: each row's cells from column 1 on (a GO/NG row: voltage, max, min, time), with
  // records to match, as a parameter file would.
  void SetProgramRows(const Rows& rows) {
    TForm_Main* f = Form();
    TAdvStringGrid* g = f->TeThemeStringGridList;
    f->FBody.ProgramSteps.assign(rows.size(), TProgramStep());
    g->SetRowCount(int32_t(rows.size()) + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
      const int32_t r = int32_t(i) + 1;
      for (int32_t c = 1; c <= 3; ++c) g->SetCells(c, r, rows[i][size_t(c - 1)]);
      // Records hold what fits them; the runs read the cells.
      TProgramStep& step = f->FBody.ProgramSteps[i];
      if (rows[i][0].size() <= 9) step.SetVoltage(rows[i][0]);
      if (rows[i][1].size() <= 9) step.SetCurrent(rows[i][1]);
    }
    f->RenumberListRows();
  }
  void SetGoNGRows(const Rows& rows) {
    TForm_Main* f = Form();
    TAdvStringGrid* g = f->TeThemeStringGridGoNg;
    f->FBody.GoNGSteps.assign(rows.size(), TGoNGStep());
    g->SetRowCount(int32_t(rows.size()) + 1);
    const int32_t cols[] = {1, 3, 4, 5};
    for (size_t i = 0; i < rows.size(); ++i)
      for (size_t k = 0; k < 4; ++k) g->SetCells(cols[k], int32_t(i) + 1, rows[i][k]);
    f->RenumberGoNGRows();
  }
  void MenuClick(const char* name) { static_cast<TMenuItem*>(Form()->FindComponent(name))->Click(); }
  static std::vector<std::string> Column(TAdvStringGrid* g, int32_t col) {
    std::vector<std::string> out;
    for (int32_t r = 1; r < g->GetRowCount(); ++r) out.push_back(g->GetCells(col, r));
    return out;
  }

  fs::path DbFolder() const { return folder_ / "db"; }
  // A result table's records as another program reads them ("Setting" to "Pass").
  Rows ReadTable(const std::string& file) {
    Rows out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2((DbFolder() / file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      ADD_FAILURE() << "no table " << file;
      return out;
    }
    sqlite3_stmt* st = nullptr;
    const std::string table = fs::path(file).stem().string();
    const std::string sql = "SELECT Setting, Real, Max, Min, Pass FROM \"" + table + "\" ORDER BY rowid";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
      while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < 5; ++c) {
          const unsigned char* t = sqlite3_column_text(st, c);
          row.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
        }
        out.push_back(row);
      }
    } else {
      ADD_FAILURE() << sqlite3_errmsg(db);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
  }
  void Sql(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((DbFolder() / file).c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  }

  std::vector<std::string> messages_;
  TModalResult answer_ = mrOk;
  TForm_GoNGTable* browser_ = nullptr;

 private:
  TDialogResponder previous_;
};

}  // namespace runs_test
