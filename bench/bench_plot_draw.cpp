// Drawing a plot channel of many points in the straight-line fast style, which draws at most two
// lines a pixel column: a channel of 1,000,000 points against the same channel of 1,000 points,
// both across the whole X axis of a 600 x 400 plot, timed interleaved.
// - ratio_1k (ChannelDraw): the channel's PreparePaint and Draw on a bitmap canvas.
// - ratio_1k (PlotRepaint): the whole plot painted (axes, grid, legend and the channel).
// Goal: at most 5.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "bench/Ratio.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"

namespace {

class DrawScene {
 public:
  explicit DrawScene(int32_t Points) : plot_(nullptr) {
    plot_.SetBounds(0, 0, 600, 400);
    plot_.GetXAxis(0)->SetTrackingEnabled(false);
    plot_.GetYAxis(0)->SetTrackingEnabled(false);
    plot_.GetXAxis(0)->SetMinSpan(0, 100);
    plot_.GetYAxis(0)->SetMinSpan(-10, 20);
    channel_ = dynamic_cast<TiPlotChannel*>(plot_.GetChannel(0));
    channel_->SetXAxisTrackingEnabled(false);
    channel_->SetYAxisTrackingEnabled(false);
    for (int32_t i = 0; i < Points; ++i) {
      const double x = 100.0 * i / Points;
      channel_->AddPointXY(x, 8 * std::sin(x / 3) + std::sin(i * 0.7) * 1.5);
    }
    bitmap_.SetPixelFormat(pf32bit);
    bitmap_.SetSize(600, 400);
    // One whole paint lays the plot out; the channel draws on its axes from then on.
    plot_.PaintToCanvas(bitmap_.GetCanvas());
  }
  void DrawChannel() {
    channel_->PreparePaint();
    channel_->Draw(bitmap_.GetCanvas(), clBlack);
  }
  void Repaint() { plot_.PaintToCanvas(bitmap_.GetCanvas()); }

 private:
  TiPlot plot_;
  TiPlotChannel* channel_ = nullptr;
  TBitmap bitmap_;
};

void ChannelDraw(benchmark::State& state) {
  DrawScene large(1000000), small(1000);
  bench_ratio::Compare(state, {[&] { large.DrawChannel(); }}, {{"ratio_1k", {[&] { small.DrawChannel(); }}}});
}
BENCHMARK(ChannelDraw)->UseManualTime()->Unit(benchmark::kMillisecond);

void PlotRepaint(benchmark::State& state) {
  DrawScene large(1000000), small(1000);
  bench_ratio::Compare(state, {[&] { large.Repaint(); }}, {{"ratio_1k", {[&] { small.Repaint(); }}}});
}
BENCHMARK(PlotRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
