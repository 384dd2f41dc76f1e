#include "plot/iPlotToolBar.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotToolBar::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotToolBar, TiPlotLayoutObject>("TiPlotToolBar");
  return info;
}

TiPlotToolBar::TiPlotToolBar(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                             const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                             const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
