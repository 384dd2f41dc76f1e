#include "plot/iPlotTable.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotTable::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotTable, TiPlotLayoutObject>("TiPlotTable");
  return info;
}

TiPlotTable::TiPlotTable(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
