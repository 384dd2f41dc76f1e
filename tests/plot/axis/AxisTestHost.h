// A stand-in plot for axis tests: the object host of the other plot tests plus the axis services
// (events logged as text, the axes of each kind, a data range for zoom-to-fit, the occupied
// rectangles of a paint).
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/NumText.h"
#include "plot/iPlotAxis.h"
#include "tests/plot/support/PlotHostStub.h"

class TAxisHostStub : public TPlotHostStub, public TiPlotAxisHost {
 public:
  bool IsStreaming() override { return Streaming; }
  bool IsPlot() override { return Plot; }
  void DoAxisMinChange(TiPlotAxis* Axis, double OldValue, double NewValue) override {
    AxisEvents.push_back("Min " + Axis->GetName() + " " + FloatToStr(OldValue) + ">" + FloatToStr(NewValue));
  }
  void DoAxisSpanChange(TiPlotAxis* Axis, double OldValue, double NewValue) override {
    AxisEvents.push_back("Span " + Axis->GetName() + " " + FloatToStr(OldValue) + ">" + FloatToStr(NewValue));
  }
  void DoAxisMinSpanChange(TiPlotAxis* Axis, double OldMin, double OldSpan, double NewMin,
                           double NewSpan) override {
    AxisEvents.push_back("MinSpan " + Axis->GetName() + " " + FloatToStr(OldMin) + "," + FloatToStr(OldSpan) +
                         ">" + FloatToStr(NewMin) + "," + FloatToStr(NewSpan));
  }
  void DoAxisCustomizeLabel(TiPlotAxis*, double Value, AnsiString& ALabel) override {
    if (CustomizeLabels) ALabel = "<" + ALabel + "|" + FloatToStr(Value) + ">";
  }
  void DoAxisCustomizeHint(TiPlotAxis*, AnsiString& AText) override {
    if (CustomizeHints) AText += "!";
  }
  int32_t AxisCount(bool XAxes) override { return int32_t((XAxes ? XList : YList).size()); }
  TiPlotAxis* GetAxis(bool XAxes, int32_t Index) override { return (XAxes ? XList : YList)[size_t(Index)]; }
  void AxisDataRange(TiPlotAxis*, bool Fast, double& Lo, double& Hi) override {
    FastRangeAsked = Fast;
    for (double v : Data) {
      Lo = std::min(Lo, v);
      Hi = std::max(Hi, v);
    }
  }
  void AddOccupiedRect(const TRect& Rect) override { Occupied.push_back(Rect); }
  bool ReserveRect(const TRect& Rect) override {
    if (RefuseReserve) return false;
    Occupied.push_back(Rect);
    return true;
  }
  void InvalidateNow() override { ++Invalidations; }

  bool Streaming = false;
  bool Plot = true;
  bool CustomizeLabels = false;
  bool CustomizeHints = false;
  bool RefuseReserve = false;
  bool FastRangeAsked = false;
  int Invalidations = 0;
  std::vector<AnsiString> AxisEvents;
  std::vector<TiPlotAxis*> XList, YList;
  std::vector<double> Data;
  std::vector<TRect> Occupied;
};

// Makes axes on a stand-in plot, registered as the plot's axes of their kind.
struct TAxisFactory {
  TAxisHostStub Host;
  TPlotHandlerCounts Handlers;
  std::vector<std::unique_ptr<TiPlotAxis>> Owned;

  template <class T>
  T* Make(const AnsiString& Name) {
    auto axis = std::make_unique<T>(&Host, Handlers.OnRename, Handlers.OnRemove, Handlers.OnInsert,
                                    Handlers.OnChange);
    axis->SetName(Name);
    T* raw = axis.get();
    (raw->IsXAxis() ? Host.XList : Host.YList).push_back(raw);
    Owned.push_back(std::move(axis));
    return raw;
  }
};
