// A stand-in plot for channel tests: the axis host of the axis tests plus what a channel asks of
// its plot (axes by name, the data-file separator, select mode, data-point clicks), with one X and
// one Y axis laid out so that 100 pixels make one unit: X 0 .. 10 on pixels 0 .. 1000, Y 0 .. 10
// on pixels 1000 .. 0.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Strings.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlotChannel.h"
#include "tests/plot/axis/AxisTestHost.h"

class TChannelHostStub : public TAxisHostStub, public TiPlotChannelHost {
 public:
  TiPlotAxis* FindXAxis(const AnsiString& Name) override { return Find(XList, Name); }
  TiPlotAxis* FindYAxis(const AnsiString& Name) override { return Find(YList, Name); }
  char DataFileColumnSeparator() override { return Separator; }
  bool SelectModeActive() override { return SelectMode; }
  void DoClickDataPoint(TiPlotChannelCustom* Channel, int32_t PointIndex) override {
    Events.push_back("ClickDataPoint " + Channel->GetName() + " " + IntToStr(PointIndex));
  }

  // Long runs leave the axes' range events unrecorded.
  void DoAxisMinChange(TiPlotAxis* Axis, double OldValue, double NewValue) override {
    if (RecordAxisEvents) TAxisHostStub::DoAxisMinChange(Axis, OldValue, NewValue);
  }
  void DoAxisSpanChange(TiPlotAxis* Axis, double OldValue, double NewValue) override {
    if (RecordAxisEvents) TAxisHostStub::DoAxisSpanChange(Axis, OldValue, NewValue);
  }
  void DoAxisMinSpanChange(TiPlotAxis* Axis, double OldMin, double OldSpan, double NewMin,
                           double NewSpan) override {
    if (RecordAxisEvents) TAxisHostStub::DoAxisMinSpanChange(Axis, OldMin, OldSpan, NewMin, NewSpan);
  }

  char Separator = '\t';
  bool SelectMode = false;
  bool RecordAxisEvents = true;

 private:
  static TiPlotAxis* Find(std::vector<TiPlotAxis*>& Axes, const AnsiString& Name) {
    for (TiPlotAxis* a : Axes)
      if (SameText(a->GetName(), Name)) return a;
    return nullptr;
  }
};

struct TChannelFixture {
  TChannelFixture() {
    Host = std::make_unique<TChannelHostStub>();
    bitmap.SetSize(64, 64);
    x = MakeAxis<TiPlotXAxis>("X-Axis 1");
    y = MakeAxis<TiPlotYAxis>("Y-Axis 1");
    SetScale(*x, 0, 10, 1000);
    SetScale(*y, 0, 10, 1000);
    y->SetTrackingStyle(iptsScaleMinMax);
    x->SetTrackingStyle(iptsScaleMinMax);
    x->SetTrackingAlignFirstStyle(ipafsNone);
    y->SetTrackingAlignFirstStyle(ipafsNone);
    Channel = std::make_unique<TiPlotChannel>(Host.get(), Counts.OnRename, Counts.OnRemove, Counts.OnInsert,
                                              Counts.OnChange);
    Channel->SetName("Channel 1");
    Channel->SetXAxisName("X-Axis 1");
    Channel->SetYAxisName("Y-Axis 1");
  }
  ~TChannelFixture() {
    Channel.reset();
    Axes.clear();
  }

  template <class T>
  T* MakeAxis(const AnsiString& Name) {
    auto axis =
        std::make_unique<T>(Host.get(), Counts.OnRename, Counts.OnRemove, Counts.OnInsert, Counts.OnChange);
    axis->SetName(Name);
    T* raw = axis.get();
    (raw->IsXAxis() ? Host->XList : Host->YList).push_back(raw);
    Axes.push_back(std::move(axis));
    return raw;
  }
  // The axis shows Min .. Min + Span over Pixels pixels (X from pixel 0 rightwards, Y from pixel
  // Pixels upwards).
  void SetScale(TiPlotAxis& Axis, double Min, double Span, int32_t Pixels) {
    Axis.SetLayoutRect(Axis.IsXAxis() ? TRect{0, Pixels, Pixels, Pixels + 40} : TRect{0, 0, 40, Pixels});
    Axis.CalcScaleGeometry(bitmap.GetCanvas());
    Axis.SetMinSpan(Min, Span);
  }
  TiPlotAxis& XAxis() { return *x; }
  TiPlotAxis& YAxis() { return *y; }

  std::unique_ptr<TChannelHostStub> Host;
  TPlotHandlerCounts Counts;
  TBitmap bitmap;
  std::vector<std::unique_ptr<TiPlotAxis>> Axes;
  TiPlotAxis* x = nullptr;
  TiPlotAxis* y = nullptr;
  std::unique_ptr<TiPlotChannel> Channel;
};
