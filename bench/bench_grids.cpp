// A full repaint of an 800 x 600 string grid (12 columns by 40 rows, every cell holding a
// text), against a paint box of the same size that fills the same cell rectangles and writes the
// same texts itself, the two timed interleaved (each top-level window paints into a surface of
// its own, so the two forms do not hide each other). "x_paint_box" is the grid's time per
// repaint over the paint box's, per repetition: what the grid's own work (layout, states,
// lines, hooks) costs.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/Ratio.h"

#include "platform/display/Display.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"

namespace {

constexpr int kCols = 12, kRows = 40, kWidth = 800, kHeight = 600;

AnsiString CellText(int c, int r) { return "R" + std::to_string(r) + "C" + std::to_string(c); }

// The cells in view with the grid's defaults (64 x 24 cells, 1-pixel lines).
int CellsInView() { return ((kWidth + 64) / 65) * ((kHeight + 24) / 25); }

TForm* NewForm() {
  StartDisplay(TDisplayKind::Headless);
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kWidth, kHeight);
  return form;
}

void ShowAndSettle(TForm* form) {
  form->Show();
  Application->ProcessMessages();
  FlushPaint();
}

void Repaint(TForm* form) {
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  benchmark::ClobberMemory();
}

TForm* GridForm() {
  TForm* form = NewForm();
  auto* grid = new TStringGrid(form);
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssNone);
  grid->SetBounds(0, 0, kWidth, kHeight);
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows);
  for (int c = 0; c < kCols; ++c)
    for (int r = 0; r < kRows; ++r) grid->SetCells(c, r, CellText(c, r));
  grid->SetParent(form);
  ShowAndSettle(form);
  return form;
}

// The reference: the same cells, filled and written directly.
class TCellsBox : public TPaintBox {
 public:
  explicit TCellsBox(TComponent* AOwner) : TPaintBox(AOwner) {}

 protected:
  void Paint() override {
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clWindow);
    for (int col = 0, x = 0; col < kCols && x < kWidth; ++col, x += 65)
      for (int row = 0, y = 0; row < kRows && y < kHeight; ++row, y += 25)
        c->TextRect(Rect(x, y, x + 64, y + 24), x + 2, y + 2, CellText(col, row));
  }
};

TForm* PaintBoxForm() {
  TForm* form = NewForm();
  auto* box = new TCellsBox(form);
  box->SetBounds(0, 0, kWidth, kHeight);
  box->SetParent(form);
  ShowAndSettle(form);
  return form;
}

void StringGridRepaint(benchmark::State& state) {
  TForm* grid = GridForm();
  TForm* reference = PaintBoxForm();
  bench_ratio::Compare(state, {[&] { Repaint(grid); }, double(CellsInView())},
                       {{"x_paint_box", {[&] { Repaint(reference); }, double(CellsInView())}}});
  reference->Free();
  grid->Free();
}
BENCHMARK(StringGridRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
