// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotAnnotation : public TiPlotObject {
  PL_CLASS(TiPlotAnnotation)
 public:
  TiPlotAnnotation(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
           const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
