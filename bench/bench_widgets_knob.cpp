// The knob and the seven-segment display against a bare FillRect of the same area, each pair timed
// alternately inside one benchmark so that both see the same machine state:
// - a seven-segment display (7 digits, 4 decimals) updated 10,000 times, each update painted at
//   once (frame-rate gate off), against 10,000 FillRects of its area on its window;
// - a 200 x 200 knob drawn whole (no cached layer) on a bitmap, and its value change drawn over
//   the cached layer, against a FillRect of the bitmap.
// The counters "ratio" (and "cached_ratio") are the figures to watch: time of the widget over
// time of the FillRect.
#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/display/Display.h"
#include "platform/os/gdi/Gdi.h"
#include "platform/os/user/User.h"
#include "platform/ui/Forms.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace {

using BenchClock = std::chrono::steady_clock;

double SecondsSince(BenchClock::time_point t0) {
  return std::chrono::duration<double>(BenchClock::now() - t0).count();
}

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
  d->SetParent(form);
  form->Show();
  Application->ProcessMessages();
  const HWND hwnd = d->Handle();
  const RECT area{0, 0, d->Width(), d->Height()};
  HDC dc = GetDC(hwnd);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
  constexpr int kUpdates = 10000;
  double widget = 0, fill = 0;
  double value = 0;
  for (auto _ : state) {
    auto t0 = BenchClock::now();
    for (int i = 0; i < kUpdates; ++i) {
      value += 0.0137;
      d->SetValue(value);
      UpdateWindow(hwnd);
    }
    widget += SecondsSince(t0);
    t0 = BenchClock::now();
    for (int i = 0; i < kUpdates; ++i) FillRect(dc, &area, brush);
    fill += SecondsSince(t0);
  }
  state.counters["us_per_update"] = widget * 1e6 / (double(state.iterations()) * kUpdates);
  state.counters["us_per_fillrect"] = fill * 1e6 / (double(state.iterations()) * kUpdates);
  state.counters["ratio"] = widget / fill;
  DeleteObject(brush);
  ReleaseDC(hwnd, dc);
  form->Free();
}
BENCHMARK(SevenSegmentUpdates)->Unit(benchmark::kMillisecond);

void KnobDrawn(benchmark::State& state) {
  TiKnob knob(nullptr);
  knob.SetBounds(0, 0, 200, 200);
  knob.SetShowPostionDisplay(true);
  TBitmap target;
  target.SetSize(200, 200);
  TCanvas* canvas = target.GetCanvas();
  const TRect area{0, 0, 200, 200};
  constexpr int kDraws = 100;
  double whole = 0, cached = 0, fill = 0;
  double value = 0;
  for (auto _ : state) {
    knob.SetCachedDrawing(false);
    auto t0 = BenchClock::now();
    for (int i = 0; i < kDraws; ++i) knob.PaintToCanvas(canvas);
    whole += SecondsSince(t0);

    knob.SetCachedDrawing(true);
    knob.PaintToCanvas(canvas);  // fills the cached layer
    t0 = BenchClock::now();
    for (int i = 0; i < kDraws; ++i) {
      value = value >= 100 ? 0 : value + 0.7;
      knob.SetPosition(value);
      knob.PaintToCanvas(canvas);
    }
    cached += SecondsSince(t0);

    t0 = BenchClock::now();
    for (int i = 0; i < kDraws; ++i) {
      canvas->GetBrush()->SetColor(i & 1 ? clBtnFace : clWhite);
      canvas->FillRect(area);
    }
    fill += SecondsSince(t0);
    benchmark::DoNotOptimize(canvas->GetPixel(100, 100));
  }
  const double n = double(state.iterations()) * kDraws;
  state.counters["us_per_draw"] = whole * 1e6 / n;
  state.counters["us_per_cached_change"] = cached * 1e6 / n;
  state.counters["us_per_fillrect"] = fill * 1e6 / n;
  state.counters["ratio"] = whole / fill;
  state.counters["cached_ratio"] = cached / fill;
}
BENCHMARK(KnobDrawn)->Unit(benchmark::kMillisecond);

}  // namespace
