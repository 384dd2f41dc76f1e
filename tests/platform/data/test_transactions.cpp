// Transactions of a database over its tables: nothing a transaction wrote is stored before
// Commit, Rollback (or a write that fails half way, or closing) leaves the table as it was, and
// tables opened during a transaction join it.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/data/DBTables.h"
#include "platform/runtime/Lists.h"

namespace fs = std::filesystem;

namespace {

class Transactions : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "pl-tx-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    db_.SetDatabaseName("TxTest");
    db_.SetDriverName("STANDARD");
    db_.GetParams()->Add("PATH=" + dir_.string());
    db_.Open();
    TTable t(nullptr);
    t.SetDatabaseName("TxTest");
    t.SetTableName("Run.db");
    t.GetFieldDefs()->Add("Name", ftString, 20);
    t.CreateTable();
    table_.SetDatabaseName("TxTest");
    table_.SetTableName("Run.db");
  }
  void TearDown() override {
    table_.Close();
    db_.Close();
    fs::remove_all(dir_);
  }

  void Append(TTable& t, const char* name) {
    t.Append();
    t.FieldByName("Name")->SetAsString(name);
    t.Post();
  }
  static std::vector<std::string> Names(TTable& t) {
    std::vector<std::string> out;
    for (t.First(); !t.GetEof(); t.Next()) out.push_back(t.FieldByName("Name")->GetAsString());
    return out;
  }
  // What another program reads from the file now.
  std::vector<std::string> Stored() {
    sqlite3* db = nullptr;
    std::vector<std::string> out;
    EXPECT_EQ(sqlite3_open_v2((dir_ / "Run.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT Name FROM Run ORDER BY rowid", -1, &st, nullptr) == SQLITE_OK)
      while (sqlite3_step(st) == SQLITE_ROW)
        out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
  }
  void Sql(const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir_ / "Run.db").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  using Strings = std::vector<std::string>;
  fs::path dir_;
  TDatabase db_{nullptr};
  TTable table_{nullptr};
};

TEST_F(Transactions, CommitStoresEverythingAtOnceAndRollbackTakesItAllBack) {
  table_.Open();
  Append(table_, "old1");
  Append(table_, "old2");

  db_.StartTransaction();
  EXPECT_TRUE(db_.GetInTransaction());
  table_.EmptyTable();
  Append(table_, "new1");
  Append(table_, "new2");
  Append(table_, "new3");
  EXPECT_EQ(Names(table_), (Strings{"new1", "new2", "new3"}));
  EXPECT_EQ(Stored(), (Strings{"old1", "old2"})) << "nothing is stored before the commit";
  db_.Rollback();
  EXPECT_FALSE(db_.GetInTransaction());
  EXPECT_EQ(Names(table_), (Strings{"old1", "old2"})) << "the open table shows the stored records again";
  EXPECT_EQ(Stored(), (Strings{"old1", "old2"}));

  db_.StartTransaction();
  table_.EmptyTable();
  Append(table_, "new1");
  Append(table_, "new2");
  db_.Commit();
  EXPECT_EQ(Stored(), (Strings{"new1", "new2"}));
  EXPECT_EQ(Files(), (Strings{"Run.db"})) << "no journal stays beside the table";
  Append(table_, "after");
  EXPECT_EQ(Stored(), (Strings{"new1", "new2", "after"})) << "posts outside a transaction store at once";
}

TEST_F(Transactions, AWriteFailingHalfWayIsRolledBackWhole) {
  table_.Open();
  Append(table_, "kept");
  table_.Close();
  // The third record of the run is refused by the file itself.
  Sql("CREATE TRIGGER stop BEFORE INSERT ON Run WHEN (SELECT count(*) FROM Run) >= 2 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  table_.Open();
  db_.StartTransaction();
  table_.EmptyTable();
  Append(table_, "a");
  Append(table_, "b");
  EXPECT_THROW(Append(table_, "c"), EDatabaseError);
  db_.Rollback();
  EXPECT_EQ(Names(table_), (Strings{"kept"}));
  EXPECT_EQ(table_.GetState(), dsBrowse) << "the refused record's edit is cancelled";
  EXPECT_EQ(Stored(), (Strings{"kept"}));
}

TEST_F(Transactions, TablesOpenedMeanwhileJoinAndClosingDropsWhatWasNotCommitted) {
  db_.StartTransaction();
  table_.Open();
  Append(table_, "x");
  EXPECT_EQ(Stored(), (Strings{})) << "a table opened during the transaction joins it";
  db_.Close();
  EXPECT_FALSE(db_.GetInTransaction());
  EXPECT_FALSE(table_.GetActive());
  EXPECT_EQ(Stored(), (Strings{}));
  EXPECT_EQ(Files(), (Strings{"Run.db"}));
}

TEST_F(Transactions, MisuseIsRefused) {
  EXPECT_THROW(db_.Commit(), EDatabaseError);
  EXPECT_THROW(db_.Rollback(), EDatabaseError);
  db_.StartTransaction();
  EXPECT_THROW(db_.StartTransaction(), EDatabaseError);
  db_.Rollback();
  db_.Close();
  EXPECT_THROW(db_.StartTransaction(), EDatabaseError);
}

TEST_F(Transactions, AnotherProgramWritingMeanwhileMakesTheStartFailAndChangesNothing) {
  table_.Open();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "Run.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_THROW(db_.StartTransaction(), EDatabaseError);
  EXPECT_FALSE(db_.GetInTransaction());
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  db_.StartTransaction();
  Append(table_, "y");
  db_.Commit();
  EXPECT_EQ(Stored(), (Strings{"y"}));
}

}  // namespace
