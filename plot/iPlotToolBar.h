// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotToolBar : public TiPlotLayoutObject {
  PL_CLASS(TiPlotToolBar)
 public:
  TiPlotToolBar(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
