// Result tables: the input is a table file ("Run1.db").  It is opened as a TTable and walked
// (every field's text, forwards and back, bookmarks), then shown in the data grid on a form.
#include <cstdio>

#include "fuzz/support/FuzzSupport.h"
#include "platform/data/DBGrids.h"
#include "platform/data/DBTables.h"
#include "platform/ui/Forms.h"

namespace {

void DataTableWalk(TTable& table) {
  int rows = 0;
  for (table.First(); !table.GetEof() && rows < 200; table.Next(), ++rows) {
    for (int32_t i = 0; i < table.GetFieldCount(); ++i) {
      TField* f = table.GetFields()->GetField(i);
      f->GetDisplayText();
      f->GetAsString();
      f->GetIsNull();
    }
  }
  table.Last();
  table.Prior();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 262144) return 0;
  static const std::string folder = fuzz::TempFolder();
  fuzz::WriteTempFile(fuzz::TempPath("Run1.db"), data, size);
  // SQLite's side files from a previous input would change how this one reads.
  for (const char* side : {"Run1.db-journal", "Run1.db-wal", "Run1.db-shm"}) std::remove(fuzz::TempPath(side).c_str());
  fuzz::Expect([&] {
    TTable table(nullptr);
    table.SetDatabaseName(folder);
    table.SetTableName("Run1.db");
    table.Open();
    DataTableWalk(table);
    table.Close();
  });
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  fuzz::Expect([&] {
    auto* table = new TTable(form);
    table->SetDatabaseName(folder);
    table->SetTableName("Run1.db");
    auto* source = new TDataSource(form);
    source->SetDataSet(table);
    auto* grid = new TDBGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetDataSource(source);
    form->SetBounds(0, 0, 310, 220);
    form->Show();
    table->Open();
    fuzz::PumpUi();
    table->Last();
    fuzz::PumpUi();
  });
  form->Free();
  fuzz::PumpUi();
  return 0;
}
