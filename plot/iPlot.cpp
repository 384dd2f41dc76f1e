#include "plot/iPlot.h"

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"

const TClassInfo& TiPlot::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlot, TiPlotComponent>("TiPlot");
  return info;
}

TiPlot::TiPlot(TComponent* AOwner) : TiPlotComponent(AOwner) {
  BeginUpdate();
  try {
    Master()->SetChannelClass(PlotKindHooks().ChannelClass);
    DisableLayout();
    try {
      GetToolBar(AddToolBar())->SetZOrder(3);
      GetLegend(AddLegend())->SetZOrder(2);
      AddXAxis();
      AddYAxis();
      if (PlotKindHooks().ChannelClass) AddChannel();
      AddDataView();
      AddDataCursor();
      TiPlotLabel* title = GetLabel(AddLabel());
      title->SetZOrder(2);
      title->SetName("Title");
      title->SetCaption("Untitled");
      title->SetMarginBottom(0);
    } catch (...) {
      EnableLayout();
      throw;
    }
    EnableLayout();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}
