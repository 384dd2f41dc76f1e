// Stand-ins for what a channel asks of its plot: a linear axis with fixed end pixels that records
// its tracking calls, and a host that finds such axes by name and records data-point clicks.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Strings.h"
#include "plot/iPlotChannel.h"
#include "tests/plot/support/PlotHostStub.h"

// Min at pixel P0, Min + Span at pixel P1.
class TiPlotAxis {
 public:
  TiPlotAxis(AnsiString AName, double AMin, double ASpan, int32_t AP0, int32_t AP1)
      : Name(std::move(AName)), Min(AMin), Span(ASpan), P0(AP0), P1(AP1) {}
  AnsiString Name;
  double Min, Span;
  int32_t P0, P1;
  double CursorScaler = 1;
  std::vector<double> Tracked;
  TiPlotObject* Object = nullptr;
};

class TChannelHostStub : public TPlotHostStub, public TiPlotChannelHost {
 public:
  TiPlotAxis* FindXAxis(const AnsiString& Name) override { return Find(XAxes, Name); }
  TiPlotAxis* FindYAxis(const AnsiString& Name) override { return Find(YAxes, Name); }
  char DataFileColumnSeparator() override { return Separator; }
  bool SelectModeActive() override { return SelectMode; }
  void DoClickDataPoint(TiPlotChannelCustom* Channel, int32_t PointIndex) override {
    Events.push_back("ClickDataPoint " + Channel->GetName() + " " + IntToStr(PointIndex));
  }

  std::vector<std::unique_ptr<TiPlotAxis>> XAxes, YAxes;
  char Separator = '\t';
  bool SelectMode = false;

 private:
  static TiPlotAxis* Find(std::vector<std::unique_ptr<TiPlotAxis>>& Axes, const AnsiString& Name) {
    for (auto& a : Axes)
      if (SameText(a->Name, Name)) return a.get();
    return nullptr;
  }
};

// A channel on a stand-in host with "X-Axis 1" and "Y-Axis 1"; the axes map 100 pixels to one unit
// (X: 0 .. 10 on pixels 0 .. 1000; Y: 0 .. 10 on pixels 1000 .. 0).
struct TChannelFixture {
  TChannelFixture() {
    Host.XAxes.push_back(std::make_unique<TiPlotAxis>("X-Axis 1", 0, 10, 0, 1000));
    Host.YAxes.push_back(std::make_unique<TiPlotAxis>("Y-Axis 1", 0, 10, 1000, 0));
    Channel = std::make_unique<TiPlotChannel>(&Host, Counts.OnRename, Counts.OnRemove, Counts.OnInsert,
                                              Counts.OnChange);
    Channel->SetName("Channel 1");
    Channel->SetXAxisName("X-Axis 1");
    Channel->SetYAxisName("Y-Axis 1");
  }
  TiPlotAxis& XAxis() { return *Host.XAxes[0]; }
  TiPlotAxis& YAxis() { return *Host.YAxes[0]; }
  TChannelHostStub Host;
  TPlotHandlerCounts Counts;
  std::unique_ptr<TiPlotChannel> Channel;
};
