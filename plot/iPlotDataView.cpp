#include "plot/iPlotDataView.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotDataView::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotDataView, TiPlotLayoutObject>("TiPlotDataView");
  return info;
}

TiPlotDataView::TiPlotDataView(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                               const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                               const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
