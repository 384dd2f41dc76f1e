// The GO/NG result tables and their browser.  A result table is one table file in the "db"
// folder beside the program, with the text fields "Setting", "Real", "Max", "Min" and "Pass",
// one record per list row in row order.  The browser lists the tables (leaving out the working
// files the database keeps beside a table while it writes), shows one in its data grid and
// deletes one after asking.  The report engine is not part of the program yet: "Report" says so.
#pragma once

#include <vector>

#include "platform/data/DBGrids.h"
#include "platform/data/DBTables.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdLists.h"

// ---- result tables

inline constexpr const char* kResultFields[5] = {"Setting", "Real", "Max", "Min", "Pass"};

// One record: the texts of grid columns 1, 2, 3, 4 and 6 of a GO/NG row.
struct TResultRow {
  AnsiString Setting, Real, Max, Min, Pass;
};

// The result folder: the program's data folder followed by "db".
AnsiString ResultFolder();
// Refuses (EConvertError, saying why) a table name that could name a file outside the result
// folder or one of the database's working files: empty or over 100 characters, a path separator,
// "..", a leading "." or blank, characters other than letters, digits, blanks, "_", "-" and ".".
void CheckResultTableName(const AnsiString& Name);
// The file of a table name: the name itself when it holds ".DB" in any letter case, else the
// name followed by ".db".
AnsiString ResultTableFileName(const AnsiString& Name);
// Whether a file of the result folder is a working file of the database (journals and the
// like), not a table.
bool IsTransientTableFile(const AnsiString& FileName);
// The table files of Folder: the names that hold ".DB" in any letter case, working files left
// out, in the order the file system gives them.
std::vector<AnsiString> ListResultTableFiles(const AnsiString& Folder);
// Creates an empty result table file at Path (the folder must exist).
void CreateResultTable(const AnsiString& Path);
// Replaces the records of Table (named, not open) by Rows in one transaction of Database, which
// the table is reached through: a table without the result fields is refused before anything
// changes, and a failure while writing leaves the table as it was.  The table stays open.
void WriteResultTable(TDatabase* Database, TTable* Table, const std::vector<TResultRow>& Rows);

// ---- the browser

class TForm_GoNGTable : public TForm {
  PL_CLASS(TForm_GoNGTable)
 public:
  explicit TForm_GoNGTable(TComponent* AOwner);

  // ---- stored components
  TLabel* Label4 = nullptr;
  TComboBox* TeThemeComboBox1 = nullptr;
  TButton* TeThemeButton6 = nullptr;
  TButton* TeThemeButton7 = nullptr;
  TButton* TeThemeButton2 = nullptr;
  TButton* TeThemeButton5 = nullptr;
  TDBGrid* DBGrid1 = nullptr;
  TTable* BatteryRecordTable = nullptr;
  TDataSource* BatteryRecordDataSource = nullptr;
  TDatabase* GoNGDatabase = nullptr;

  // Fills the name list from the result folder; "Display" and "Delete Table" only with a name
  // to act on, "Report" only once a table shows.
  void ListResultTables();
  void TeThemeButton6Click(TObject* Sender);
  void TeThemeButton7Click(TObject* Sender);
  void TeThemeButton2Click(TObject* Sender);
  void FormShow(TObject* Sender);
  void ApplyLanguage();

 private:
  // The selected name, empty when none is.
  AnsiString SelectedName() const;
};

extern TForm_GoNGTable* Form_GoNGTable;
