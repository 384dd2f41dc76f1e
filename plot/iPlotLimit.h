// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotLimit : public TiPlotObject {
  PL_CLASS(TiPlotLimit)
 public:
  TiPlotLimit(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
           const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
