// The knob and the seven-segment display against a bare FillRect of the same area, timed
// interleaved (bench/Ratio.h) so that both sides see the same machine state:
// - a seven-segment display (7 digits, 4 decimals) updated 10,000 times, each update painted at
//   once (frame-rate gate off), against 10,000 FillRects of its area on its window;
// - a 200 x 200 knob drawn whole (no cached layer) on a bitmap, and its value change drawn over
//   the cached layer, each against a FillRect of the bitmap.
// The counter "x_fillrect" is the figure to watch: time per widget draw over time per FillRect.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/Ratio.h"
#include "platform/display/Display.h"
#include "platform/os/gdi/Gdi.h"
#include "platform/os/user/User.h"
#include "platform/ui/Forms.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace {

TForm* BenchForm() {
  StartDisplay(TDisplayKind::Headless);
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 640, 480);
  return form;
}

void SevenSegmentUpdates(benchmark::State& state) {
  TForm* form = BenchForm();
  auto* d = new TiSevenSegmentAnalog(form);
  d->SetDigitCount(7);
  d->SetPrecision(4);
  d->SetSegmentSize(2);
  d->SetSegmentColor(TColor(65408));
  d->SetBorderStyle(ibsLowered);
  d->SetAutoFrameRate(false);
  d->SetParent(form);
  form->Show();
  Application->ProcessMessages();
  const HWND hwnd = d->Handle();
  const RECT area{0, 0, d->Width(), d->Height()};
  HDC dc = GetDC(hwnd);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
  constexpr int kUpdates = 10000;
  double value = 0;
  bench_ratio::Compare(state,
                       {[&] {
                          for (int i = 0; i < kUpdates; ++i) {
                            value += 0.0137;
                            d->SetValue(value);
                            UpdateWindow(hwnd);
                          }
                        },
                        kUpdates},
                       {{"x_fillrect",
                         {[&] {
                            for (int i = 0; i < kUpdates; ++i) FillRect(dc, &area, brush);
                          },
                          kUpdates}}});
  state.counters["width"] = d->Width();
  state.counters["height"] = d->Height();
  DeleteObject(brush);
  ReleaseDC(hwnd, dc);
  form->Free();
}
BENCHMARK(SevenSegmentUpdates)->Unit(benchmark::kMillisecond)->UseManualTime();

constexpr int kKnobDraws = 100;
const TRect kKnobArea{0, 0, 200, 200};

// A FillRect of the knob's area on the same bitmap, the colour alternating so no draw is skipped.
bench_ratio::Reference KnobFillReference(TCanvas* canvas) {
  return {"x_fillrect",
          {[canvas] {
             for (int i = 0; i < kKnobDraws; ++i) {
               canvas->GetBrush()->SetColor(i & 1 ? clBtnFace : clWhite);
               canvas->FillRect(kKnobArea);
             }
             benchmark::DoNotOptimize(canvas->GetPixel(100, 100));
           },
           kKnobDraws}};
}

std::unique_ptr<TiKnob> BenchKnob() {
  auto knob = std::make_unique<TiKnob>(nullptr);
  knob->SetBounds(0, 0, 200, 200);
  knob->SetShowPostionDisplay(true);
  return knob;
}

void KnobDrawn(benchmark::State& state) {
  auto knob = BenchKnob();
  knob->SetCachedDrawing(false);
  TBitmap target;
  target.SetSize(200, 200);
  TCanvas* canvas = target.GetCanvas();
  bench_ratio::Compare(state,
                       {[&] {
                          for (int i = 0; i < kKnobDraws; ++i) knob->PaintToCanvas(canvas);
                          benchmark::DoNotOptimize(canvas->GetPixel(100, 100));
                        },
                        kKnobDraws},
                       {KnobFillReference(canvas)});
}
BENCHMARK(KnobDrawn)->Unit(benchmark::kMillisecond)->UseManualTime();

// A change of position over the cached static layer (what a turning knob costs).
void KnobPositionChange(benchmark::State& state) {
  auto knob = BenchKnob();
  knob->SetCachedDrawing(true);
  TBitmap target;
  target.SetSize(200, 200);
  TCanvas* canvas = target.GetCanvas();
  knob->PaintToCanvas(canvas);  // fills the cached layer
  double value = 0;
  bench_ratio::Compare(state,
                       {[&] {
                          for (int i = 0; i < kKnobDraws; ++i) {
                            value = value >= 100 ? 0 : value + 0.7;
                            knob->SetPosition(value);
                            knob->PaintToCanvas(canvas);
                          }
                          benchmark::DoNotOptimize(canvas->GetPixel(100, 100));
                        },
                        kKnobDraws},
                       {KnobFillReference(canvas)});
}
BENCHMARK(KnobPositionChange)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
