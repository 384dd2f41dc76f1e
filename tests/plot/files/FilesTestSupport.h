// What the plot's file tests share: a temporary folder and plots with channels of given points.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannel.h"
#include "tests/plot/channel/ChannelFilesSupport.h"
#include "tests/support/MessageOf.h"

struct TFilesPoint {
  double X, Y;
  char Kind = 'v';  // 'v' value, 'n' Null, 'e' Empty
};
using TFilesChannel = std::vector<TFilesPoint>;

// Gives Plot exactly Channels.size() channels, titled "A", "B", ..., holding those points.
inline void FilesFillPlot(TiPlotComponent& Plot, const std::vector<TFilesChannel>& Channels,
                          TiPlotDataStyle Style = ipdsStandard) {
  Plot.RemoveAllChannels();
  for (size_t c = 0; c < Channels.size(); ++c) {
    TiPlotChannelCustom* channel = Plot.GetChannel(Plot.AddChannel());
    channel->SetTitleText(AnsiString(1, char('A' + c)));
    channel->SetDataStyle(Style);
    for (const TFilesPoint& p : Channels[c]) {
      channel->AddPointXY(p.X, p.Y);
      if (p.Kind == 'n') channel->SetPointNull(channel->GetCount() - 1, true);
      if (p.Kind == 'e') channel->SetPointEmpty(channel->GetCount() - 1, true);
    }
  }
}

// The points of a channel in the same form.
inline TFilesChannel FilesPointsOf(TiPlotChannelCustom* Channel) {
  TFilesChannel out;
  for (int32_t i = 0; i < Channel->GetCount(); ++i) {
    double x, y;
    bool null, empty;
    Channel->GetPoint(i, x, null, empty, y);
    out.push_back({x, y, null ? 'n' : empty ? 'e' : 'v'});
  }
  return out;
}

inline bool operator==(const TFilesPoint& a, const TFilesPoint& b) {
  return a.X == b.X && a.Kind == b.Kind && (a.Kind != 'v' || a.Y == b.Y);
}
inline std::ostream& operator<<(std::ostream& o, const TFilesPoint& p) {
  return o << "(" << p.X << ", " << p.Y << ", " << p.Kind << ")";
}
