// Component property text files: a control loads any file without crashing, is never left locked,
// still paints, and what it then saves loads back without an error.
#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/PropertyWidget.h"

using fuzz::TFuzzWidget;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  const std::string in = fuzz::TempPath("widget.txt"), out = fuzz::TempPath("widget-saved.txt");
  fuzz::WriteTempFile(in, data, size);
  TFuzzWidget w(nullptr);
  w.SetOptionSaveAllProperties(true);
  w.SetParentFont(false);
  fuzz::Expect([&] { w.LoadPropertyFile(in); });
  if (w.UpdateLocked()) fuzz::Fail("a load left the control locked");
  fuzz::Expect([&] {
    TBitmap b;
    b.SetSize(std::min(w.Width(), 256), std::min(w.Height(), 256));
    w.PaintUncached(b.GetCanvas());
  });
  w.SetBounds(0, 0, 40, 20);
  w.SavePropertyFile(out);
  TFuzzWidget back(nullptr);
  back.SetParentFont(false);
  try {
    back.LoadPropertyFile(out);
  } catch (const Exception& e) {
    fuzz::Fail("a saved file does not load back: " + e.Message);
  }
  return 0;
}
