// The plot the program places on its windows: a plot component with the Y-T channel class and a
// default set of objects (toolbar, legend, X and Y axis, channel, data view, data cursor and the
// title label).
#pragma once

#include "plot/iPlotComponent.h"

class TiPlotChannel;

class TiPlot : public TiPlotComponent {
  PL_CLASS(TiPlot)
 public:
  explicit TiPlot(TComponent* AOwner);
  // The X axis of a plot scrolls smoothly.
  bool IsPlot() override { return true; }
  // Channel Index as the Y-T channel it is (an invalid cast for another class).
  TiPlotChannel* GetChannel(int32_t Index) const;
};
