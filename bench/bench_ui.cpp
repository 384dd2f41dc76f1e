// A full repaint of a 1024 x 768 form holding 200 controls (100 windowed panels with captions,
// 100 windowless paint boxes), against a memset of the same surface; both report bytes per
// second of the 1024 x 768 x 4 surface.  FullRepaintVsMemset times the two interleaved and
// reports their ratio per repetition ("x_memset"): that ratio is the figure to watch.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/Ratio.h"
#include "platform/display/Display.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int64_t kSurfaceBytes = int64_t(kWidth) * kHeight * 4;

class TBox : public TPaintBox {
 public:
  explicit TBox(TComponent* AOwner) : TPaintBox(AOwner) {}

 protected:
  void Paint() override {
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->GetPen()->SetColor(clNavy);
    c->Rectangle(0, 0, Width(), Height());
    c->MoveTo(0, 0);
    c->LineTo(Width(), Height());
  }
};

TForm* BuildForm() {
  StartDisplay(TDisplayKind::Headless);
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kWidth, kHeight);
  // 20 columns by 10 rows; panels and boxes alternate.
  for (int i = 0; i < 200; ++i) {
    int col = i % 20, row = i / 20;
    TRect b = Bounds(col * 51 + 2, row * 76 + 2, 48, 72);
    if (i % 2 == 0) {
      auto* p = new TPanel(form);
      p->SetBounds(b.Left, b.Top, b.Width(), b.Height());
      p->SetCaption("P" + std::to_string(i));
      p->SetParent(form);
    } else {
      auto* x = new TBox(form);
      x->SetBounds(b.Left, b.Top, b.Width(), b.Height());
      x->SetParent(form);
    }
  }
  form->Show();
  Application->ProcessMessages();
  FlushPaint();
  return form;
}

void FullRepaint200Controls(benchmark::State& state) {
  TForm* form = BuildForm();
  for (auto _ : state) {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
  form->Free();
}
BENCHMARK(FullRepaint200Controls)->Unit(benchmark::kMicrosecond);

void MemsetReference(benchmark::State& state) {
  std::vector<uint32_t> surface(size_t(kWidth) * kHeight);
  uint8_t value = 0;
  for (auto _ : state) {
    std::memset(surface.data(), value++, size_t(kSurfaceBytes));
    benchmark::DoNotOptimize(surface.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(MemsetReference)->Unit(benchmark::kMicrosecond);

void FullRepaintVsMemset(benchmark::State& state) {
  TForm* form = BuildForm();
  std::vector<uint32_t> surface(size_t(kWidth) * kHeight);
  uint8_t value = 0;
  bench_ratio::Compare(state,
                       [&] {
                         RedrawWindow(form->Handle(), nullptr, nullptr,
                                      RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                         benchmark::ClobberMemory();
                       },
                       {{"x_memset", [&] {
                           std::memset(surface.data(), value++, size_t(kSurfaceBytes));
                           benchmark::DoNotOptimize(surface.data());
                           benchmark::ClobberMemory();
                         }}});
  form->Free();
}
BENCHMARK(FullRepaintVsMemset)->Unit(benchmark::kMicrosecond)->UseManualTime();

}  // namespace
