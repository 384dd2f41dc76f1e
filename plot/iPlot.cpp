#include "plot/iPlot.h"

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"

const TClassInfo& TiPlot::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlot, TiPlotComponent>("TiPlot");
  return info;
}

TiPlotChannel* TiPlot::GetChannel(int32_t Index) const {
  TiPlotObject* o = TiPlotComponent::GetChannel(Index);
  auto* c = dynamic_cast<TiPlotChannel*>(o);
  if (!c) throw EInvalidCast("Invalid class typecast");
  return c;
}

TiPlot::TiPlot(TComponent* AOwner) : TiPlotComponent(AOwner) {
  BeginUpdate();
  try {
    Master()->SetChannelClass(&PlotClassOf<TiPlotChannel>());
    DisableLayout();
    try {
      GetToolBar(AddToolBar())->SetZOrder(3);
      GetLegend(AddLegend())->SetZOrder(2);
      AddXAxis();
      AddYAxis();
      AddChannel();
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
