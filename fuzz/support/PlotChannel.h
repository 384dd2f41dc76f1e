// A plot channel outside a plot, for the channel_data_file harness and its seed writer: a host
// that answers the plot's questions plainly (no axes, the chosen column separator).  Header only:
// the support library does not link the plot.
#pragma once

#include <memory>

#include "plot/iPlotChannel.h"

namespace fuzz {

class TPlotChannelHost : public TiPlotObjectHost, public TiPlotChannelHost {
 public:
  AnsiString TranslateText(const AnsiString& Text) override { return Text; }
  void DoObjectMouseDown(TiPlotObject*, TMouseButton, TShiftState, int32_t, int32_t) override {}
  void DoObjectMouseMove(TiPlotObject*, TShiftState, int32_t, int32_t) override {}
  void DoObjectMouseUp(TiPlotObject*, TMouseButton, TShiftState, int32_t, int32_t) override {}
  void DoObjectClick(TiPlotObject*) override {}
  void DoObjectPopupMenu(TiPlotObject*, bool&, int32_t, int32_t) override {}
  void DoObjectGotFocus(TiPlotObject*) override {}
  void DoObjectLostFocus(TiPlotObject*) override {}
  void ShowPopupMenu(TPopupMenu*, int32_t, int32_t) override {}
  TiPlotComponent* PlotComponent() override { return nullptr; }
  TiPlotAxis* FindXAxis(const AnsiString&) override { return nullptr; }
  TiPlotAxis* FindYAxis(const AnsiString&) override { return nullptr; }
  char DataFileColumnSeparator() override { return Separator; }
  bool SelectModeActive() override { return false; }
  void DoClickDataPoint(TiPlotChannelCustom*, int32_t) override {}

  char Separator = '\t';
};

inline std::unique_ptr<TiPlotChannel> MakePlotChannel(TPlotChannelHost& Host) {
  const TNotifyEvent nothing = TNotifyEvent::Lambda([](TObject*) {});
  return std::make_unique<TiPlotChannel>(&Host, nothing, nothing, nothing, nothing);
}

}  // namespace fuzz
