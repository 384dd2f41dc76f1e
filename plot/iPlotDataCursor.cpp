#include "plot/iPlotDataCursor.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotDataCursor::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotDataCursor, TiPlotManagerObject>("TiPlotDataCursor");
  return info;
}

TiPlotDataCursor::TiPlotDataCursor(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                   const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                   const TNotifyEvent& AOnChange)
    : TiPlotManagerObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
