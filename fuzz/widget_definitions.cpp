// Window definitions holding the instrument widgets (their stored OPC item lists, defined
// properties and every property kind) and plots (their object collections, each channel's stored
// class): read into real widgets, each painted, written back as text; what was written must read
// back and write the same text again.
#include <algorithm>

#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/FormText.h"
#include "platform/ui/Forms.h"
#include "plot/iPlot.h"
#include "widgets/iComponent.h"

namespace {

void WidgetDefsFree(TForm* form) {
  if (form) form->Free();
  fuzz::PumpUi();
}

TForm* WidgetDefsForm() {
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetName("WidgetForm");
  return form;
}

// Every widget read: no update lock left behind, and it paints (bad values may show the error
// text, but never escape as anything but our own exceptions).
void WidgetDefsWalk(TForm* form) {
  for (int32_t i = 0; i < form->ComponentCount(); ++i) {
    auto* w = dynamic_cast<TiComponent*>(form->Components(i));
    if (!w) continue;
    if (w->UpdateLocked()) fuzz::Fail("a read left " + w->GetName() + " locked");
    fuzz::Expect([&] {
      TBitmap b;
      b.SetSize(std::clamp(w->Width(), 1, 256), std::clamp(w->Height(), 1, 256));
      w->PaintUncached(b.GetCanvas());
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
  TForm* form = WidgetDefsForm();
  AnsiString written;
  try {
    ReadComponentText(text, form, "fuzz");
    fuzz::PumpUi();
    WidgetDefsWalk(form);
    written = WriteComponentText(form);
  } catch (const Exception&) {
    WidgetDefsFree(form);
    return 0;
  }
  WidgetDefsFree(form);

  TForm* again = WidgetDefsForm();
  AnsiString rewritten;
  try {
    ReadComponentText(written, again, "written");
    rewritten = WriteComponentText(again);
  } catch (const Exception& e) {
    WidgetDefsFree(again);
    fuzz::Fail("the written definition does not read back: " + e.Message + "\n" + written);
  }
  WidgetDefsFree(again);
  if (rewritten != written)
    fuzz::Fail("the written definition reads back as another:\n" + written + "\n----\n" + rewritten);
  return 0;
}
