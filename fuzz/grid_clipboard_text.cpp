// Text pasted into the advanced grid from the clipboard: fields and lines of any bytes are
// counted, written inside the grid and grow it only as far as they reach.
#include "fuzz/support/FuzzSupport.h"
#include "grid/AdvGrid.h"

namespace {
TAdvStringGrid* grid = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  grid = new TAdvStringGrid(nullptr);
  grid->GetNavigation()->AllowClipboardAlways = true;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const AnsiString text = fuzz::Bytes(data, size);
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->GetNavigation()->AllowClipboardRowGrow = size % 2 == 0;
  fuzz::Expect([&] {
    const int32_t fields = grid->PasteText(1, 1, text.c_str());
    size_t expected = 1;
    for (size_t i = 0; i < size && text[i]; ++i) {
      expected += text[i] == '\t' || text[i] == '\r';
      if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
    }
    if (size_t(fields) != expected) fuzz::Fail("field count differs from the text's fields");
    if (grid->GetRowCount() > int32_t(expected) + 3) fuzz::Fail("grew past the lines pasted");
  });
  return 0;
}
