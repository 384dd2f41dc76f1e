// placeholder
#pragma once

#include "plot/iPlotObjects.h"

class TiPlotDataView;

class TiPlotDataCursor : public TiPlotManagerObject {
  PL_CLASS(TiPlotDataCursor)
 public:
  TiPlotDataCursor(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                   const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  TiPlotDataView* GetDataView() const { return FDataView; }
  void SetDataView(TiPlotDataView* Value) { FDataView = Value; }

 private:
  TiPlotDataView* FDataView = nullptr;
};
