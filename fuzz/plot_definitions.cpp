// Window definitions holding plots (their object collections, the stored class of each channel,
// the image lists): read into real plots, each painted, written back as text; what was written
// must read back and write the same text again.
#include <algorithm>

#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/FormText.h"
#include "platform/ui/Forms.h"
#include "plot/iPlot.h"

namespace {

void PlotDefsFree(TForm* form) {
  if (form) form->Free();
  fuzz::PumpUi();
}

TForm* PlotDefsForm() {
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetName("PlotForm");
  return form;
}

// Every plot read: no update lock left behind, and it paints.
void PlotDefsWalk(TForm* form) {
  for (int32_t i = 0; i < form->ComponentCount(); ++i) {
    auto* plot = dynamic_cast<TiPlotComponent*>(form->Components(i));
    if (!plot) continue;
    if (plot->UpdateLocked()) fuzz::Fail("a read left " + plot->GetName() + " locked");
    fuzz::Expect([&] {
      TBitmap b;
      b.SetSize(std::clamp(plot->Width(), 1, 256), std::clamp(plot->Height(), 1, 256));
      plot->PaintToCanvas(b.GetCanvas());
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  RegisterClass(TiPlot::ClassInfo());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 32768) return 0;
  const AnsiString text = fuzz::Bytes(data, size);
  TForm* form = PlotDefsForm();
  AnsiString written;
  try {
    ReadComponentText(text, form, "fuzz");
    fuzz::PumpUi();
    PlotDefsWalk(form);
    written = WriteComponentText(form);
  } catch (const Exception&) {
    PlotDefsFree(form);
    return 0;
  }
  PlotDefsFree(form);

  TForm* again = PlotDefsForm();
  AnsiString rewritten;
  try {
    ReadComponentText(written, again, "written");
    rewritten = WriteComponentText(again);
  } catch (const Exception& e) {
    PlotDefsFree(again);
    fuzz::Fail("the written definition does not read back: " + e.Message + "\n" + written);
  }
  PlotDefsFree(again);
  if (rewritten != written)
    fuzz::Fail("the written definition reads back as another:\n" + written + "\n----\n" + rewritten);
  return 0;
}
