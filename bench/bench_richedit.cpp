// Typing at the end of a 2,000-line rich edit document whose lines mix fonts and sizes: each
// character is one edit, one caret update and one repaint of the control.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/display/Display.h"
#include "platform/ui/Forms.h"
#include "platform/ui/RichEdit.h"

namespace {

AnsiString LongDocument() {
  AnsiString rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}\\f0\\fs20 ";
  for (int i = 0; i < 2000; ++i) {
    rtf += "line " + std::to_string(i) + " {\\b\\fs28 bold} {\\i\\f1\\fs16 small italic words}";
    if (i + 1 < 2000) rtf += "\\par\r\n";
  }
  return rtf + "}";
}

void TypeAtEndOfLongRichDocument(benchmark::State& state) {
  StartDisplay(TDisplayKind::Headless);
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBounds(0, 0, 640, 480);
  auto* edit = new TRichEdit(form);
  edit->SetBounds(8, 8, 600, 400);
  edit->SetParent(form);
  edit->SetRichText(LongDocument());
  form->Show();
  edit->SetFocus();
  edit->SetSelStart(int32_t(edit->GetText().size()));
  Application->ProcessMessages();
  FlushPaint();
  int typed = 0;
  for (auto _ : state) {
    // A line break now and then keeps the last line from growing without end.
    char c = ++typed % 40 == 0 ? '\r' : char('a' + typed % 26);
    SendMessageA(edit->Handle(), WM_CHAR, WPARAM(uint8_t(c)), 0);
    UpdateWindow(edit->Handle());
    benchmark::ClobberMemory();
  }
  form->Free();
}
BENCHMARK(TypeAtEndOfLongRichDocument)->Unit(benchmark::kMicrosecond);

}  // namespace
