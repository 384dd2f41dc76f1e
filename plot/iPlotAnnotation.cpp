#include "plot/iPlotAnnotation.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotAnnotation::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotAnnotation, TiPlotObject>("TiPlotAnnotation");
  return info;
}

TiPlotAnnotation::TiPlotAnnotation(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                   const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}
