// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
  PL_CLASS(TiPlotLegend)
 public:
  TiPlotLegend(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
               const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
