// Tables, databases and queries over table files in a scratch folder: the result-table life
// cycle, storage across program runs, naming, damaged and locked files, and SQL queries.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/data/DBTables.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/TypInfo.h"

namespace fs = std::filesystem;

namespace {

const char* const kResultFields[] = {"Setting", "Real", "Max", "Min", "Pass"};

class Tables : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "pl-data-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }

  AnsiString Dir() const { return dir_.string(); }
  AnsiString PathOf(const std::string& file) const { return (dir_ / file).string(); }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Bytes(const std::string& file) const {
    std::ifstream in(dir_ / file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // A result table as the application creates it: five text fields of the default size.
  void CreateResultTable(const AnsiString& tableName) {
    TTable t(nullptr);
    t.SetDatabaseName(Dir());
    t.SetTableType(ttParadox);
    t.SetTableName(tableName);
    t.GetFieldDefs()->Clear();
    for (const char* f : kResultFields) t.GetFieldDefs()->Add(f, ftString, 20);
    t.CreateTable();
  }
  void AppendRows(TTable& t, const std::vector<std::vector<AnsiString>>& rows) {
    for (const auto& row : rows) {
      t.Append();
      for (size_t i = 0; i < row.size(); ++i) t.FieldByName(kResultFields[i])->SetAsString(row[i]);
      t.Post();
    }
  }
  // Every record of a table file read by a fresh table object, as the next program run would.
  std::vector<std::vector<AnsiString>> ReadBack(const AnsiString& tableName) {
    TTable t(nullptr);
    t.SetDatabaseName(Dir());
    t.SetTableName(tableName);
    t.Open();
    std::vector<std::vector<AnsiString>> rows;
    for (t.First(); !t.GetEof(); t.Next()) {
      rows.emplace_back();
      for (int32_t i = 0; i < t.GetFieldCount(); ++i)
        rows.back().push_back((*t.GetFields())[i]->GetAsString());
    }
    return rows;
  }

  fs::path dir_;
};

// Holds a table file the way another program would: a raw SQLite connection in an exclusive
// transaction.
class OtherProgram {
 public:
  explicit OtherProgram(const AnsiString& path) {
    sqlite3_open(path.c_str(), &db_);
    EXPECT_EQ(sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  ~OtherProgram() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }

 private:
  sqlite3* db_ = nullptr;
};

template <class F>
std::string DatabaseErrorOf(F f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.Message;
  }
  return "(no EDatabaseError)";
}

}  // namespace

// The life cycle of the result tables: created in the folder, filled through a named database,
// emptied and refilled by the next run, listed by name, deleted.
TEST_F(Tables, ResultTableLifeCycle) {
  const AnsiString path = PathOf("Run1.db");
  CreateResultTable(path);
  EXPECT_EQ(Files(), (std::vector<std::string>{"Run1.db"}));

  TDatabase db(nullptr);
  TTable table(nullptr);
  auto save = [&](const std::vector<std::vector<AnsiString>>& rows) {
    table.SetActive(false);
    db.Close();
    db.SetDatabaseName("GoNGRecorder");
    db.SetDriverName("STANDARD");
    db.GetParams()->SetText("PATH=" + Dir());
    db.Open();
    table.SetDatabaseName("GoNGRecorder");
    table.SetTableName(path);
    table.EmptyTable();
    table.SetActive(true);
    AppendRows(table, rows);
  };
  save({{"1", "0.5", "1", "0", "Pass"}, {"2", "1.2", "1", "0", "NoPass"}, {"3", "", "1", "0", ""}});
  EXPECT_EQ(table.GetRecordCount(), 3);
  EXPECT_EQ(ReadBack(path),
            (std::vector<std::vector<AnsiString>>{
                {"1", "0.5", "1", "0", "Pass"}, {"2", "1.2", "1", "0", "NoPass"}, {"3", "", "1", "0", ""}}));

  // The next run replaces the records; the report reads "PASS" in any letter case.
  save({{"5", "0.1", "1", "0", "Pass"}});
  EXPECT_EQ(ReadBack(path), (std::vector<std::vector<AnsiString>>{{"5", "0.1", "1", "0", "Pass"}}));
  table.First();
  EXPECT_EQ(table.FieldByName("PASS")->GetAsString(), "Pass");
  table.EmptyTable();  // an open table empties too
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(ReadBack(path).empty());

  // Closing the database closes the tables opened through it.
  db.Close();
  EXPECT_FALSE(table.GetActive());

  // Names without an extension get ".DB"; the files are named as the tables, so a listing of
  // names holding ".DB" in any case finds exactly the tables.
  CreateResultTable("Other");
  CreateResultTable(PathOf("Third.DB"));
  std::ofstream(dir_ / "Run1.PX") << "index";
  std::ofstream(dir_ / "notes.txt") << "text";
  std::vector<std::string> listed;
  for (const std::string& f : Files()) {
    std::string upper = f;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    if (upper.find(".DB") != std::string::npos) listed.push_back(f);
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"Other.DB", "Run1.db", "Third.DB"}));

  table.SetTableName(path);
  table.DeleteTable();
  EXPECT_FALSE(fs::exists(dir_ / "Run1.db"));
  EXPECT_FALSE(table.GetExists());
}

TEST_F(Tables, TextsLongerThanTheFieldAreCut) {
  CreateResultTable("Cut");
  TTable t(nullptr);
  t.SetDatabaseName(Dir());
  t.SetTableName("Cut");
  t.Open();
  EXPECT_EQ(t.FieldByName("Setting")->GetSize(), 20);
  EXPECT_EQ(t.FieldByName("Setting")->GetDataType(), ftString);
  AppendRows(t, {{"123456789012345678901234567890"}});
  t.Close();
  EXPECT_EQ(ReadBack("Cut")[0][0], "12345678901234567890");
}

// Every storable kind keeps its value across a close and reopen, and text is stored as UTF-8.
TEST_F(Tables, EveryKindRoundTrips) {
  struct Kind {
    const char* name;
    TFieldType type;
    int32_t size;
    std::function<void(TField*)> write;
    std::function<void(TField*)> check;
  };
  const TDateTime when = EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 58, 0);
  const std::string bytes("\x00\x01\xff\r\n", 5);
  const Kind kinds[] = {
      {"S", ftString, 8, [](TField* f) { f->SetAsString("caf\xe9"); },
       [](TField* f) { EXPECT_EQ(f->GetAsString(), "caf\xe9"); }},
      {"W", ftWideString, 4, [](TField* f) { f->SetAsWideString(u"\u20ac\u4e2d"); },
       [](TField* f) { EXPECT_EQ(f->GetAsWideString(), u"\u20ac\u4e2d"); }},
      {"Sm", ftSmallint, 0, [](TField* f) { f->SetAsInteger(-32768); },
       [](TField* f) { EXPECT_EQ(f->GetAsInteger(), -32768); }},
      {"I", ftInteger, 0, [](TField* f) { f->SetAsInteger(2147483647); },
       [](TField* f) { EXPECT_EQ(f->GetAsInteger(), 2147483647); }},
      {"L", ftLargeint, 0, [](TField* f) { f->SetAsLargeInt(int64_t(1) << 60); },
       [](TField* f) { EXPECT_EQ(f->GetAsLargeInt(), int64_t(1) << 60); }},
      {"F", ftFloat, 0, [](TField* f) { f->SetAsFloat(0.1); },
       [](TField* f) { EXPECT_EQ(f->GetAsFloat(), 0.1); }},
      {"B", ftBoolean, 0, [](TField* f) { f->SetAsBoolean(true); },
       [](TField* f) { EXPECT_TRUE(f->GetAsBoolean()); }},
      {"D", ftDate, 0, [&](TField* f) { f->SetAsDateTime(when); },
       [&](TField* f) { EXPECT_EQ(f->GetAsDateTime(), EncodeDate(2023, 12, 31)); }},
      {"T", ftDateTime, 0, [&](TField* f) { f->SetAsDateTime(when); },
       [&](TField* f) { EXPECT_EQ(f->GetAsDateTime(), when); }},
      // Text that looks like a number stays text.
      {"M", ftMemo, 0, [](TField* f) { f->SetAsString("1.50"); },
       [](TField* f) { EXPECT_EQ(f->GetAsString(), "1.50"); }},
      {"Bl", ftBlob, 0, [&](TField* f) { f->SetAsString(bytes); },
       [&](TField* f) { EXPECT_EQ(f->GetAsString(), bytes); }},
      {"N", ftInteger, 0, [](TField*) {}, [](TField* f) { EXPECT_TRUE(f->GetIsNull()); }},
  };
  TTable t(nullptr);
  t.SetDatabaseName(Dir());
  t.SetTableName("Kinds");
  for (const Kind& k : kinds) t.GetFieldDefs()->Add(k.name, k.type, k.size);
  t.CreateTable();
  t.Open();
  t.Append();
  for (const Kind& k : kinds) k.write(t.FieldByName(k.name));
  t.Post();
  t.Close();
  t.GetFieldDefs()->Clear();
  t.Open();  // the structure comes back from the file
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.name);
    TField* f = t.FieldByName(k.name);
    EXPECT_EQ(f->GetDataType(), k.type);
    k.check(f);
  }
  t.Close();

  sqlite3* raw = nullptr;
  sqlite3_open(PathOf("Kinds.DB").c_str(), &raw);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(raw, "SELECT S FROM Kinds", -1, &st, nullptr);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))), "caf\xc3\xa9");
  sqlite3_finalize(st);
  sqlite3_close(raw);
}

// Edits and deletions are on disk at once; posting order is the stored order.
TEST_F(Tables, ChangesAreStoredAsTheyArePosted) {
  CreateResultTable("Order");
  {
    TTable t(nullptr);
    t.SetDatabaseName(Dir());
    t.SetTableName("order.db");  // found without regard to case
    t.Open();
    AppendRows(t, {{"a"}, {"b"}, {"c"}});
    t.SetRecNo(2);
    t.Edit();
    t.FieldByName("Setting")->SetAsString("B");
    t.Post();
    t.First();
    t.Delete();
    t.SetRecNo(1);
    t.Insert();  // shown before "B" while open, stored after the records posted before it
    t.FieldByName("Setting")->SetAsString("new");
    t.Post();
    EXPECT_EQ(t.FieldByName("Setting")->GetAsString(), "new");
    EXPECT_EQ(t.GetRecNo(), 1);
    // Nothing is pending: a second reader already sees everything.
    auto rows = ReadBack("Order");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0], "B");
    EXPECT_EQ(rows[1][0], "c");
    EXPECT_EQ(rows[2][0], "new");
  }
  EXPECT_EQ(Files(), (std::vector<std::string>{"Order.DB"}));  // no journal left behind
}

TEST_F(Tables, DamagedFilesAreReportedAndLeftAlone) {
  std::ofstream(dir_ / "Bad.db", std::ios::binary) << std::string(2048, 'x');
  std::ofstream(dir_ / "Empty.db", std::ios::binary);
  const std::string before = Bytes("Bad.db");
  TTable t(nullptr);
  t.SetDatabaseName(Dir());
  t.SetTableName("Bad.db");
  const std::string corrupt = "Table '" + PathOf("Bad.db") + "' is corrupt or not a table file";
  EXPECT_EQ(DatabaseErrorOf([&] { t.Open(); }), corrupt);
  EXPECT_FALSE(t.GetActive());
  EXPECT_EQ(DatabaseErrorOf([&] { t.EmptyTable(); }), corrupt);
  for (const char* f : kResultFields) t.GetFieldDefs()->Add(f, ftString, 20);
  EXPECT_EQ(DatabaseErrorOf([&] { t.CreateTable(); }), corrupt);
  EXPECT_EQ(Bytes("Bad.db"), before);

  t.SetTableName("Empty.db");
  EXPECT_EQ(DatabaseErrorOf([&] { t.Open(); }),
            "Table '" + PathOf("Empty.db") + "' is corrupt or not a table file");
  EXPECT_EQ(Bytes("Empty.db"), "");

  t.SetTableName("Missing");
  EXPECT_EQ(DatabaseErrorOf([&] { t.Open(); }), "Table '" + PathOf("Missing.DB") + "' does not exist");
  EXPECT_EQ(DatabaseErrorOf([&] { t.DeleteTable(); }), "Table '" + PathOf("Missing.DB") + "' does not exist");
  EXPECT_FALSE(fs::exists(dir_ / "Missing.DB"));

  // A damaged file may still be deleted.
  t.SetTableName("Bad.db");
  t.DeleteTable();
  EXPECT_FALSE(fs::exists(dir_ / "Bad.db"));
}

TEST_F(Tables, LockedFilesAreReportedAndNothingChanges) {
  CreateResultTable("Run1.db");
  TTable t(nullptr);
  t.SetDatabaseName(Dir());
  t.SetTableName("Run1.db");
  t.Open();
  AppendRows(t, {{"kept"}});
  const std::string locked = "Table '" + PathOf("Run1.db") + "' is locked by another user";
  {
    OtherProgram other(PathOf("Run1.db"));
    t.Append();
    t.FieldByName("Setting")->SetAsString("lost");
    EXPECT_EQ(DatabaseErrorOf([&] { t.Post(); }), locked);
    EXPECT_EQ(t.GetState(), dsInsert);  // the values stay for another try
    t.Cancel();
    EXPECT_EQ(DatabaseErrorOf([&] { t.Delete(); }), locked);
    EXPECT_EQ(DatabaseErrorOf([&] { t.EmptyTable(); }), locked);
    EXPECT_EQ(t.GetRecordCount(), 1);
    t.Close();
    EXPECT_EQ(DatabaseErrorOf([&] { t.Open(); }), locked);
    EXPECT_EQ(DatabaseErrorOf([&] { t.DeleteTable(); }), locked);
  }
  EXPECT_EQ(ReadBack("Run1.db"), (std::vector<std::vector<AnsiString>>{{"kept", "", "", "", ""}}));
}

TEST_F(Tables, NamingAndTableFileOperations) {
  CreateResultTable("Alpha");
  TTable t(nullptr);
  t.SetDatabaseName(Dir());
  t.SetTableName("Alpha");
  EXPECT_TRUE(t.GetExists());
  t.SetTableType(ttDBase);
  EXPECT_FALSE(t.GetExists());  // dBase tables are ".DBF"
  t.SetTableType(ttParadox);
  t.RenameTable("Beta");
  EXPECT_EQ(t.GetTableName(), "Beta");
  EXPECT_EQ(Files(), (std::vector<std::string>{"Beta.DB"}));
  CreateResultTable("Gamma");
  EXPECT_EQ(DatabaseErrorOf([&] { t.RenameTable("Gamma"); }),
            "Table '" + PathOf("Gamma.DB") + "' already exists");
  t.Open();
  EXPECT_EQ(DatabaseErrorOf([&] { t.SetTableName("x"); }),
            "Cannot perform this operation on an open dataset");
  EXPECT_EQ(DatabaseErrorOf([&] { t.DeleteTable(); }), "Cannot perform this operation on an open dataset");
  t.Close();

  // Creating over an existing table replaces its structure and records.
  AppendRows(
      *[&] {
        t.Open();
        return &t;
      }(),
      {{"old"}});
  t.Close();
  t.GetFieldDefs()->Clear();
  t.GetFieldDefs()->Add("Only", ftInteger);
  t.CreateTable();
  t.Open();
  EXPECT_EQ(t.GetFieldCount(), 1);
  EXPECT_EQ(t.GetRecordCount(), 0);
  t.Close();

  TTable bad(nullptr);
  bad.SetDatabaseName(Dir());
  bad.SetTableName("Dup");
  bad.GetFieldDefs()->Add("A", ftString);
  bad.GetFieldDefs()->Add("a", ftInteger);
  EXPECT_EQ(DatabaseErrorOf([&] { bad.CreateTable(); }), "Duplicate field name 'a'");
  EXPECT_FALSE(bad.GetExists());
  EXPECT_EQ(DatabaseErrorOf([&] {
              TTable u(nullptr);
              u.Open();
            }),
            "Missing TableName property");
}

TEST_F(Tables, DatabasesResolveNamesAndCheckTheirSettings) {
  CreateResultTable("Run1");
  TDatabase db(nullptr);
  db.SetDatabaseName("Results");
  db.GetParams()->SetText("PATH=" + Dir());
  TTable t(nullptr);
  t.SetDatabaseName("results");  // names compare without regard to case
  t.SetTableName("Run1");
  t.Open();  // connects the database on demand
  EXPECT_TRUE(db.GetConnected());
  EXPECT_EQ(t.GetDatabase(), &db);
  EXPECT_EQ(db.GetDataSetCount(), 1);
  EXPECT_EQ(DatabaseErrorOf([&] { db.SetDatabaseName("Other"); }),
            "Cannot perform this operation on an open database");

  TDatabase twin(nullptr);
  twin.SetDatabaseName("RESULTS");
  EXPECT_EQ(DatabaseErrorOf([&] { twin.Open(); }), "Duplicate database name 'RESULTS'");
  twin.SetDatabaseName("Twin");
  twin.SetDriverName("INTRBASE");
  EXPECT_EQ(DatabaseErrorOf([&] { twin.Open(); }), "Driver 'INTRBASE' is not available (only STANDARD is)");
  twin.SetDriverName("STANDARD");
  twin.GetParams()->SetText("PATH=" + PathOf("nowhere"));
  EXPECT_EQ(DatabaseErrorOf([&] { twin.Open(); }),
            "The folder '" + PathOf("nowhere") + "' of database 'Twin' does not exist");

  TTable lost(nullptr);
  lost.SetDatabaseName("NoSuchAlias");
  lost.SetTableName("Run1");
  EXPECT_EQ(DatabaseErrorOf([&] { lost.Open(); }),
            "Database 'NoSuchAlias' is neither a database name nor an existing folder");

  // Freeing the database closes what it opened and forgets it.
  {
    TDatabase scoped(nullptr);
    scoped.SetDatabaseName("Scoped");
    scoped.GetParams()->SetText("PATH=" + Dir());
    lost.SetDatabaseName("Scoped");
    lost.Open();
  }
  EXPECT_FALSE(lost.GetActive());
  EXPECT_EQ(Session().FindDatabase("Scoped"), nullptr);
}

TEST_F(Tables, QueriesReadAndChangeTheFoldersTables) {
  CreateResultTable("Run1");
  {
    TTable t(nullptr);
    t.SetDatabaseName(Dir());
    t.SetTableName("Run1");
    t.Open();
    AppendRows(
        t,
        {{"1", "0.5", "1", "0", "Pass"}, {"2", "1.2", "1", "0", "NoPass"}, {"3", "0.9", "1", "0", "Pass"}});
  }
  TQuery q(nullptr);
  q.SetDatabaseName(Dir());
  q.GetSQL()->SetText(
      "SELECT Setting, Real, length(Pass) AS Len FROM run1 -- :ignored\nWHERE Pass = :result ORDER BY "
      "Setting DESC");
  ASSERT_EQ(q.GetParams()->GetCount(), 1);
  q.ParamByName("RESULT")->SetAsString("Pass");
  q.Open();
  ASSERT_EQ(q.GetRecordCount(), 2);
  EXPECT_EQ(q.FieldByName("Setting")->GetAsString(), "3");
  EXPECT_EQ(q.FieldByName("Setting")->GetSize(), 20);
  EXPECT_EQ(q.FieldByName("Len")->GetDataType(), ftLargeint);
  EXPECT_EQ(q.FieldByName("Len")->GetAsInteger(), 4);
  EXPECT_EQ(DatabaseErrorOf([&] { q.Append(); }), "Cannot modify a read-only dataset");

  // A new text closes the query and keeps the values of parameters that stay.
  q.GetSQL()->SetText("UPDATE Run1 SET Real = :value WHERE Pass = :result");
  EXPECT_FALSE(q.GetActive());
  EXPECT_EQ(q.ParamByName("result")->GetAsString(), "Pass");
  EXPECT_EQ(DatabaseErrorOf([&] { q.ExecSQL(); }), "No value for parameter 'value'");
  q.ParamByName("value")->SetAsFloat(0.25);
  q.ExecSQL();
  EXPECT_EQ(q.GetRowsAffected(), 2);
  EXPECT_EQ(ReadBack("Run1")[2][1], "0.25");
  EXPECT_EQ(DatabaseErrorOf([&] { q.Open(); }), "The SQL statement returns no records; run it with ExecSQL");
  EXPECT_EQ(DatabaseErrorOf([&] { q.ParamByName("nope"); }), "Parameter 'nope' not found");
}

namespace {

class TDataRoot : public TComponent {
  PL_CLASS(TDataRoot)

 public:
  using TComponent::TComponent;
};

}  // namespace

const TClassInfo& TDataRoot::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TDataRoot, TComponent>("TDataRoot");
  return info;
}

// A window definition sets up the browser's connection, table and data source; the table opens
// once the whole definition is read.
TEST_F(Tables, WindowDefinitionsSetUpDatabasesTablesAndSources) {
  CreateResultTable("Run1.db");
  TDataRoot root(nullptr);
  ReadComponentText(
      "object Root: TDataRoot\n"
      "  object GoNGDatabase: TDatabase\n"
      "    DatabaseName = 'GoNGRecorderTable'\n"
      "    DriverName = 'STANDARD'\n"
      "    Params.Strings = (\n"
      "      'PATH=" +
          Dir() +
          "')\n"
          "    SessionName = 'Default'\n"
          "  end\n"
          "  object BatteryRecordTable: TTable\n"
          "    Active = True\n"
          "    DatabaseName = 'GoNGRecorderTable'\n"
          "    TableName = 'Run1.db'\n"
          "  end\n"
          "  object Query1: TQuery\n"
          "    Active = True\n"
          "    DatabaseName = 'GoNGRecorderTable'\n"
          "    SQL.Strings = (\n"
          "      'SELECT count(*) AS N FROM Run1')\n"
          "  end\n"
          "  object BatteryRecordDataSource: TDataSource\n"
          "    DataSet = BatteryRecordTable\n"
          "  end\n"
          "end\n",
      &root, "Browser");
  auto* db = dynamic_cast<TDatabase*>(root.FindComponent("GoNGDatabase"));
  auto* table = dynamic_cast<TTable*>(root.FindComponent("BatteryRecordTable"));
  auto* source = dynamic_cast<TDataSource*>(root.FindComponent("BatteryRecordDataSource"));
  ASSERT_TRUE(db && table && source);
  EXPECT_TRUE(table->GetActive());
  EXPECT_TRUE(db->GetConnected());
  EXPECT_EQ(db->GetDirectory(), Dir());
  EXPECT_EQ(source->GetDataSet(), table);
  EXPECT_EQ(table->FieldByName("pass")->GetSize(), 20);
  auto* query = dynamic_cast<TQuery*>(root.FindComponent("Query1"));
  ASSERT_TRUE(query);
  EXPECT_TRUE(query->GetActive());
  EXPECT_EQ(query->FieldByName("N")->GetAsInteger(), 0);
}
