// CSV files dropped on or imported into the advanced grid: any bytes import or end in the grid's
// own error, and what is imported fits the grid.
#include "fuzz/support/FuzzSupport.h"
#include "grid/AdvGrid.h"

namespace {
TAdvStringGrid* grid = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  grid = new TAdvStringGrid(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const std::string path = fuzz::TempPath("import.csv");
  fuzz::WriteTempFile(path, data, size);
  grid->SetFixedFooters(size % 2);
  grid->OemConvert = size % 3 == 0;
  fuzz::Expect([&] {
    grid->ImportCSVFile(path);
    if (grid->GetRowCount() < 1 || grid->GetColCount() < 1) fuzz::Fail("an empty grid");
    // Each line is one row at most: a row count beyond the lines (plus the footer) would be junk.
    size_t lines = 1;
    for (size_t i = 0; i < size; ++i) lines += data[i] == '\n' || data[i] == '\r';
    if (size_t(grid->GetRowCount()) > lines + 1) fuzz::Fail("more rows than lines");
  });
  return 0;
}
