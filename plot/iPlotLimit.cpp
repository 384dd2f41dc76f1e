#include "plot/iPlotLimit.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotLimit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotLimit, TiPlotObject>("TiPlotLimit");
  return info;
}

TiPlotLimit::TiPlotLimit(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                   const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
