// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotTable : public TiPlotLayoutObject {
  PL_CLASS(TiPlotTable)
 public:
  TiPlotTable(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
