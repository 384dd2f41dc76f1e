// The grid's own clipboard block ("TAdvStringGrid Cells"), which any program may put on the
// clipboard: any bytes paste or end in a read error; what was pasted copies out and pastes into
// another grid to the same texts.
#include "fuzz/support/FuzzSupport.h"
#include "grid/AdvGrid.h"
#include "platform/runtime/Streams.h"

namespace {
TAdvStringGrid* grid = nullptr;
TAdvStringGrid* copy = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  grid = new TAdvStringGrid(nullptr);
  copy = new TAdvStringGrid(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  grid->ClearAllCells();
  grid->SetColCount(6);
  grid->SetRowCount(6);
  fuzz::Expect([&] {
    TMemoryStream block;
    block.WriteBuffer(data, int32_t(size));
    block.SetPosition(0);
    grid->ReadCellsFromStream(TPoint{1, 1}, &block);
  });
  // Whatever landed must copy out and read back the same.
  copy->ClearAllCells();
  copy->SetColCount(grid->GetColCount());
  copy->SetRowCount(grid->GetRowCount());
  const TGridRect all{0, 0, grid->GetColCount() - 1, grid->GetRowCount() - 1};
  TMemoryStream out;
  grid->WriteCellsToStream(all, &out);
  out.SetPosition(0);
  copy->ReadCellsFromStream(TPoint{0, 0}, &out);
  for (int32_t r = 0; r < grid->GetRowCount(); ++r)
    for (int32_t c = 0; c < grid->GetColCount(); ++c)
      if (grid->GetRawCells(c, r) != copy->GetRawCells(c, r))
        fuzz::Fail("a copied cell reads back differently");
  return 0;
}
