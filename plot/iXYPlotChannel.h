// The channel of X-Y data whose X does not follow the point index: every point is shown, as one
// connected trace in the order the points were added, with markers, and nothing else.  A program
// makes one by giving the plot's channel manager this class; the plot itself makes Y-T channels.
//
// Thread contract: UI thread only.
#pragma once

#include "plot/iPlotChannelCustom.h"

class TiXYPlotChannel : public TiPlotChannelCustom {
  PL_CLASS(TiXYPlotChannel)
 public:
  TiXYPlotChannel(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                  const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  // Paints with both axes bound, when visible and holding points.
  void PreparePaint() override;
  // The plain trace, then the markers.
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  // Every point is in the visible range.
  void FindVisibleStart() override;
  void FindVisibleStop() override;
  // Extremes by value over every point that is neither Null nor Empty (half a marker included).
  double GetXMax() override;
  double GetXMin() override;
  double GetYMax() override;
  double GetYMin() override;
  // Reads the axes at the cursor's pointers; the points are not consulted.
  void UpdateDataCursor(TiPlotDataCursor* DataCursor) override;

 private:
  // The extreme of Value over the plotted points; Nothing when there is none.
  template <class TValue, class TBetter>
  double Extreme(double Nothing, TValue&& Value, TBetter&& Better);
};
