#include "plot/iPlotLegend.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotLegend::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotLegend, TiPlotLayoutObject>("TiPlotLegend");
  return info;
}

TiPlotLegend::TiPlotLegend(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                           const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                           const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
