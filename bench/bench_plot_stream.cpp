// A strip chart streaming fast: three channels taking 10,000 points a second each, repainted at
// the plot's frame rate (60 a second), in the main window's plot set-up (an X span of 100 s that
// scrolls smoothly, a Y axis scaled to the data, a ring of 100 s of points per channel, so the
// view holds a million points a channel).
// - pct_of_core: the CPU time one second of data costs (its 30,000 points added and its 60
//   repaints), as a share of one core; the goal is at most 10.
// - x_fill: the same second against 60 bare FillRects of the plot's area, timed interleaved.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "bench/Ratio.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"

namespace {

constexpr int32_t kWidth = 508, kHeight = 190;
constexpr int32_t kPointsPerSecond = 10000;
constexpr int32_t kFramesPerSecond = 60;
constexpr double kSpan = 100;

class TStreamFixture {
 public:
  TStreamFixture() : plot_(std::make_unique<TiPlot>(nullptr)), bitmap_(std::make_unique<TBitmap>()) {
    bitmap_->SetPixelFormat(pf32bit);
    bitmap_->SetSize(kWidth, kHeight);
    plot_->SetBounds(0, 0, kWidth, kHeight);
    plot_->GetToolBar(0)->SetVisible(false);
    while (plot_->ChannelCount() < 3) plot_->AddChannel();
    TiPlotAxis* x = plot_->GetXAxis(0);
    x->SetSpan(kSpan);
    x->SetTrackingStyle(iptsScrollSmooth);
    x->SetTrackingAlignFirstStyle(ipafsAuto);
    plot_->GetYAxis(0)->SetTrackingStyle(iptsScaleMinMax);
    for (int32_t c = 0; c < 3; ++c)
      plot_->GetChannel(c)->SetRingBufferSize(int32_t(kSpan) * kPointsPerSecond);
    // A full view before timing starts.
    for (int32_t s = 0; s < int32_t(kSpan); ++s) Second(false);
  }

  // One second of data; with Paint, a repaint after each frame's share of the points.
  void Second(bool Paint) {
    for (int32_t f = 0; f < kFramesPerSecond; ++f) {
      const int32_t until = int32_t(int64_t(f + 1) * kPointsPerSecond / kFramesPerSecond);
      for (; n_ < until; ++n_) {
        const double x = seconds_ + double(n_) / kPointsPerSecond;
        for (int32_t c = 0; c < 3; ++c) plot_->GetChannel(c)->AddPointXY(x, 5 * c + std::sin(x * 7 + c));
      }
      if (Paint) plot_->PaintToCanvas(bitmap_->GetCanvas());
    }
    n_ = 0;
    seconds_ += 1;
  }
  void FillFrames() {
    TCanvas* canvas = bitmap_->GetCanvas();
    canvas->GetBrush()->SetStyle(bsSolid);
    for (int32_t f = 0; f < kFramesPerSecond; ++f) {
      canvas->GetBrush()->SetColor(TColor(f));
      canvas->FillRect(TRect{0, 0, kWidth, kHeight});
    }
  }

 private:
  std::unique_ptr<TiPlot> plot_;
  std::unique_ptr<TBitmap> bitmap_;
  double seconds_ = 0;
  int32_t n_ = 0;
};

void BM_PlotStreamSecond(benchmark::State& state) {
  TStreamFixture fixture;
  double spent = 0;
  int64_t seconds = 0;
  bench_ratio::Compare(state,
                       {[&] {
                          bench_ratio::Stopwatch watch;
                          watch.Start();
                          fixture.Second(true);
                          const double t = watch.Stop();
                          spent += t;
                          ++seconds;
                          return t;
                        },
                        1},
                       {{"x_fill", {[&] { fixture.FillFrames(); }, 1}}});
  state.counters["pct_of_core"] = seconds ? 100.0 * spent / double(seconds) : 0.0;
}
BENCHMARK(BM_PlotStreamSecond)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
