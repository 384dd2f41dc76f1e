// Sections: result tables / the browser.
#include "app/GoNGTableForm.h"

#include <filesystem>

#include "app/LoadSource.h"
#include "app/MainForm.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Dialogs.h"

TForm_GoNGTable* Form_GoNGTable = nullptr;

// ========================================================================== result tables =====

namespace {

constexpr size_t kMaxTableName = 100;

bool GoNGEndsWith(const AnsiString& text, const char* tail) {
  const size_t n = std::char_traits<char>::length(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

}  // namespace

AnsiString ResultFolder() {
  const AnsiString& data = TForm_Main::DataFolder();
  return IncludeTrailingPathDelimiter(data.empty() ? ProgramFolder() : data) + "db";
}

void CheckResultTableName(const AnsiString& Name) {
  auto refuse = [&](const AnsiString& why) {
    throw EConvertError("The result table name '" + Name + "' is refused: " + why);
  };
  if (Trim(Name).empty()) throw EConvertError("Enter a name for the result table");
  if (Name.size() > kMaxTableName)
    refuse("it is longer than " + IntToStr(int64_t(kMaxTableName)) + " characters");
  if (Name.find('/') != AnsiString::npos || Name.find('\\') != AnsiString::npos ||
      Name.find("..") != AnsiString::npos)
    refuse("a table lives in the result folder; separators and \"..\" would name another folder");
  if (Name[0] == '.' || Name[0] == ' ') refuse("it may not begin with '.' or a blank");
  for (char c : Name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
                    c == '_' || c == '-' || c == '.';
    if (!ok) refuse("it may hold letters, digits, blanks, '_', '-' and '.' only");
  }
  if (IsTransientTableFile(ResultTableFileName(Name)))
    refuse("it is the name of a working file of the database");
}

AnsiString ResultTableFileName(const AnsiString& Name) {
  return Pos(".DB", UpperCase(Name)) > 0 ? Name : Name + ".db";
}

bool IsTransientTableFile(const AnsiString& FileName) {
  const AnsiString up = UpperCase(FileName);
  return GoNGEndsWith(up, "-JOURNAL") || GoNGEndsWith(up, "-WAL") || GoNGEndsWith(up, "-SHM") ||
         Pos("-MJ", up) > 0;
}

std::vector<AnsiString> ListResultTableFiles(const AnsiString& Folder) {
  std::vector<AnsiString> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(FileNameToSys(Folder), ec)) {
    AnsiString name = FileNameFromSys(entry.path().filename().string());
    if (Pos(".DB", UpperCase(name)) > 0 && !IsTransientTableFile(name)) names.push_back(name);
  }
  return names;
}

void CreateResultTable(const AnsiString& Path) {
  TTable table(nullptr);
  table.SetDatabaseName(ExtractFileDir(Path));
  table.SetTableType(ttParadox);
  table.SetTableName(Path);
  table.GetFieldDefs()->Clear();
  for (const char* field : kResultFields) table.GetFieldDefs()->Add(field, ftString, 20);
  table.CreateTable();
}

void WriteResultTable(TDatabase* Database, TTable* Table, const std::vector<TResultRow>& Rows) {
  Table->Open();
  TField* fields[5];
  for (int i = 0; i < 5; ++i) {
    fields[i] = Table->FindField(kResultFields[i]);
    if (!fields[i])
      DatabaseError("Table '" + Table->GetTableName() + "' is not a result table: it has no field '" +
                    kResultFields[i] + "'; it is left as it is");
  }
  Database->StartTransaction();
  try {
    Table->EmptyTable();
    for (const TResultRow& row : Rows) {
      Table->Append();
      fields[0]->SetAsString(row.Setting);
      fields[1]->SetAsString(row.Real);
      fields[2]->SetAsString(row.Max);
      fields[3]->SetAsString(row.Min);
      fields[4]->SetAsString(row.Pass);
      Table->Post();
    }
    Database->Commit();
  } catch (...) {
    if (Database->GetInTransaction()) Database->Rollback();
    throw;
  }
}

// ============================================================================= the browser =====

const TClassInfo& TForm_GoNGTable::ClassInfo() {
  using F = TForm_GoNGTable;
  static const TClassInfo info = TClassInfo::Of<TForm_GoNGTable, TForm>("TForm_GoNGTable")
                                     .Field("Label4", &F::Label4)
                                     .Field("TeThemeComboBox1", &F::TeThemeComboBox1)
                                     .Field("TeThemeButton6", &F::TeThemeButton6)
                                     .Field("TeThemeButton7", &F::TeThemeButton7)
                                     .Field("TeThemeButton2", &F::TeThemeButton2)
                                     .Field("TeThemeButton5", &F::TeThemeButton5)
                                     .Field("DBGrid1", &F::DBGrid1)
                                     .Field("BatteryRecordTable", &F::BatteryRecordTable)
                                     .Field("BatteryRecordDataSource", &F::BatteryRecordDataSource)
                                     .Field("GoNGDatabase", &F::GoNGDatabase)
                                     .Method("TeThemeButton6Click", &F::TeThemeButton6Click)
                                     .Method("TeThemeButton7Click", &F::TeThemeButton7Click)
                                     .Method("TeThemeButton2Click", &F::TeThemeButton2Click)
                                     .Method("FormShow", &F::FormShow);
  return info;
}

TForm_GoNGTable::TForm_GoNGTable(TComponent* AOwner) : TForm(AOwner) {}

AnsiString TForm_GoNGTable::SelectedName() const {
  const int32_t i = TeThemeComboBox1->GetItemIndex();
  return i < 0 ? AnsiString() : TeThemeComboBox1->GetItems()->Strings(i);
}

void TForm_GoNGTable::ListResultTables() {
  TeThemeComboBox1->Clear();
  const std::vector<AnsiString> names = ListResultTableFiles(ResultFolder());
  for (const AnsiString& name : names) TeThemeComboBox1->GetItems()->Add(name);
  const int32_t count = int32_t(names.size());
  TeThemeComboBox1->SetDropDownCount(count < 5 ? count : 4);
  TeThemeComboBox1->SetItemIndex(count > 0 ? 0 : -1);
  TeThemeButton6->SetEnabled(count > 0);
  TeThemeButton7->SetEnabled(count > 0);
  TeThemeButton2->SetEnabled(false);
}

void TForm_GoNGTable::TeThemeButton6Click(TObject*) {
  const AnsiString name = SelectedName();
  if (name.empty()) return;
  BatteryRecordTable->SetActive(false);
  GoNGDatabase->Close();
  GoNGDatabase->SetDatabaseName("GoNGRecorderTable");
  GoNGDatabase->SetDriverName("STANDARD");
  GoNGDatabase->GetParams()->Clear();
  GoNGDatabase->GetParams()->Add("PATH=" + ResultFolder());
  GoNGDatabase->Open();
  BatteryRecordTable->SetDatabaseName("GoNGRecorderTable");
  BatteryRecordTable->SetTableName(IncludeTrailingPathDelimiter(ResultFolder()) + name);
  BatteryRecordDataSource->SetDataSet(BatteryRecordTable);
  DBGrid1->SetDataSource(BatteryRecordDataSource);
  // A damaged file raises here with its name; the grid stays empty and "Report" off.
  TeThemeButton2->SetEnabled(false);
  BatteryRecordTable->SetActive(true);
  TeThemeButton2->SetEnabled(true);
}

void TForm_GoNGTable::TeThemeButton7Click(TObject*) {
  const AnsiString name = SelectedName();
  if (name.empty()) return;
  if (MessageDlg("Delete Table " + name, mtConfirmation, mbYesNo, 0) != mrYes) return;
  BatteryRecordTable->SetActive(false);
  const AnsiString path = IncludeTrailingPathDelimiter(ResultFolder()) + name;
  if (FileExists(path)) {
    // Through the table, so a journal left beside it goes too and a table another program
    // holds is refused.
    BatteryRecordTable->SetDatabaseName(ResultFolder());
    BatteryRecordTable->SetTableName(path);
    BatteryRecordTable->DeleteTable();
  }
  ListResultTables();
  if (TeThemeComboBox1->GetItems()->Count() == 0) TeThemeButton6->SetEnabled(false);
  TeThemeButton2->SetEnabled(false);
}

void TForm_GoNGTable::TeThemeButton2Click(TObject*) {
  ShowMessage("No report engine is present: the report cannot be previewed or printed.");
}

void TForm_GoNGTable::FormShow(TObject*) {
  if (Form_Main && Form_Main->FLanguageLoaded) ApplyLanguage();
}

void TForm_GoNGTable::ApplyLanguage() {
  const TLoadSource* texts = Form_Main->LanguageSource();
  const struct {
    int32_t index;
    TControl* control;
  } targets[] = {
      {84, Label4}, {85, TeThemeButton6}, {86, TeThemeButton7}, {87, TeThemeButton2}, {88, TeThemeButton5},
  };
  for (const auto& t : targets) t.control->SetCaption(texts->GetString(t.index));
}
