// The advanced string grid against the framework's plain string grid, both 600 x 400 with a
// vertical scroll bar, holding the same 10,000 rows of 4 short texts (as the program's lists
// do), the two timed interleaved. One batch is 100 scroll steps, each followed by a full repaint
// of the page in view:
//   PageDown: 100 page-downs from the top (the view walks through the first rows);
//   ThumbThrough: 100 thumb releases spread over all the rows (the view jumps to the end).
// "x_string_grid" is the advanced grid's time per step over the plain grid's: what its own
// painting (colours, alignments, hooks, lines, merged-cell geometry) costs.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/Ratio.h"

#include "grid/AdvGrid.h"
#include "platform/display/Display.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"

namespace {

constexpr int kCols = 4, kRows = 10000, kWidth = 600, kHeight = 400, kSteps = 100;

AnsiString CellText(int c, int r) {
  static const char* const kinds[] = {"", "VSET", "ISET", "DELAY"};
  if (c == 0) return std::to_string(r);
  return kinds[c] + std::string(" ") + std::to_string(r % 97) + "." + std::to_string(r % 10);
}

TForm* NewForm() {
  StartDisplay(TDisplayKind::Headless);
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kWidth, kHeight);
  return form;
}

template <class G>
TForm* GridForm(G*& grid) {
  TForm* form = NewForm();
  grid = new G(form);
  grid->SetBounds(0, 0, kWidth, kHeight);
  grid->SetScrollBars(ssVertical);
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows + 1);
  for (int c = 0; c < kCols; ++c) {
    grid->SetColWidths(c, c == 0 ? 60 : 160);
    grid->SetCells(c, 0, c == 0 ? "No." : "Step " + std::to_string(c));
  }
  for (int r = 1; r <= kRows; ++r)
    for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
  grid->SetParent(form);
  form->Show();
  Application->ProcessMessages();
  FlushPaint();
  return form;
}

void ScrollAndRepaint(TCustomGrid* grid, int code, int pos) {
  SendMessageA(grid->Handle(), WM_VSCROLL, MAKEWPARAM(WORD(code), WORD(pos)), 0);
  RedrawWindow(grid->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  benchmark::ClobberMemory();
}

void PageDowns(TCustomGrid* grid) {
  SendMessageA(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
  for (int i = 0; i < kSteps; ++i) ScrollAndRepaint(grid, SB_PAGEDOWN, 0);
}

void ThumbJumps(TCustomGrid* grid) {
  for (int i = 1; i <= kSteps; ++i) ScrollAndRepaint(grid, SB_THUMBPOSITION, i * (kRows / kSteps) - 1);
}

template <class Steps>
void CompareGrids(benchmark::State& state, Steps steps) {
  TAdvStringGrid* adv = nullptr;
  TStringGrid* plain = nullptr;
  TForm* advForm = GridForm(adv);
  TForm* plainForm = GridForm(plain);
  bench_ratio::Compare(state, {[&] { steps(adv); }, double(kSteps)},
                       {{"x_string_grid", {[&] { steps(plain); }, double(kSteps)}}});
  plainForm->Free();
  advForm->Free();
}

void PageDown(benchmark::State& state) { CompareGrids(state, PageDowns); }
BENCHMARK(PageDown)->UseManualTime()->Unit(benchmark::kMillisecond);

void ThumbThrough(benchmark::State& state) { CompareGrids(state, ThumbJumps); }
BENCHMARK(ThumbThrough)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
