// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotDataView : public TiPlotLayoutObject {
  PL_CLASS(TiPlotDataView)
 public:
  TiPlotDataView(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                 const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
