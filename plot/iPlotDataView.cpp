#include "plot/iPlotDataView.h"

#include "platform/ui/Graphics.h"

template <>
const EnumNames& EnumNamesOf<TiPlotGridLinePenStyle>() {
  static const EnumNames names("TiPlotGridLineStyle", {"ipglsSolid", "ipglsDash", "ipglsDot"});
  return names;
}
PL_ENUM_NAMES(TiPlotAxesControlStyle, "ipacsXAxis", "ipacsYAxis", "ipacsBoth")

const TClassInfo& TiPlotDataView::ClassInfo() {
  using C = TiPlotDataView;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotDataView")
          .Prop("Title", &C::GetTitle, &C::SetTitle)
          .Prop("BackgroundTransparent", &C::GetBackgroundTransparent, &C::SetBackgroundTransparent)
          .Default(true)
          .Prop("BackgroundColor", &C::GetBackgroundColor, &C::SetBackgroundColor)
          .Default(0x808000)
          .Type(ColorTypeInfo())
          .Prop("GridXAxisName", &C::GetGridXAxisName, &C::SetGridXAxisName)
          .Prop("GridYAxisName", &C::GetGridYAxisName, &C::SetGridYAxisName)
          .Prop("GridShow", &C::GetGridShow, &C::SetGridShow)
          .Default(true)
          .Prop("GridLineColor", &C::GetGridLineColor, &C::SetGridLineColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineShowLeft", &C::GetGridLineShowLeft, &C::SetGridLineShowLeft)
          .Default(true)
          .Prop("GridLineShowTop", &C::GetGridLineShowTop, &C::SetGridLineShowTop)
          .Default(true)
          .Prop("GridLineShowRight", &C::GetGridLineShowRight, &C::SetGridLineShowRight)
          .Default(true)
          .Prop("GridLineShowBottom", &C::GetGridLineShowBottom, &C::SetGridLineShowBottom)
          .Default(true)
          .Prop("GridLineShowXMajors", &C::GetGridLineShowXMajors, &C::SetGridLineShowXMajors)
          .Default(true)
          .Prop("GridLineShowYMajors", &C::GetGridLineShowYMajors, &C::SetGridLineShowYMajors)
          .Default(true)
          .Prop("GridLineShowXMinors", &C::GetGridLineShowXMinors, &C::SetGridLineShowXMinors)
          .Default(false)
          .Prop("GridLineShowYMinors", &C::GetGridLineShowYMinors, &C::SetGridLineShowYMinors)
          .Default(false)
          .Prop("GridLineMajorStyle", &C::GetGridLineMajorStyle, &C::SetGridLineMajorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineMinorStyle", &C::GetGridLineMinorStyle, &C::SetGridLineMinorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineXMajorCustom", &C::GetGridLineXMajorCustom, &C::SetGridLineXMajorCustom)
          .Default(false)
          .Prop("GridLineXMinorCustom", &C::GetGridLineXMinorCustom, &C::SetGridLineXMinorCustom)
          .Default(false)
          .Prop("GridLineYMajorCustom", &C::GetGridLineYMajorCustom, &C::SetGridLineYMajorCustom)
          .Default(false)
          .Prop("GridLineYMinorCustom", &C::GetGridLineYMinorCustom, &C::SetGridLineYMinorCustom)
          .Default(false)
          .Prop("GridLineXMajorColor", &C::GetGridLineXMajorColor, &C::SetGridLineXMajorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineXMinorColor", &C::GetGridLineXMinorColor, &C::SetGridLineXMinorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineYMajorColor", &C::GetGridLineYMajorColor, &C::SetGridLineYMajorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineYMinorColor", &C::GetGridLineYMinorColor, &C::SetGridLineYMinorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineXMajorWidth", &C::GetGridLineXMajorWidth, &C::SetGridLineXMajorWidth)
          .Default(0)
          .Prop("GridLineXMinorWidth", &C::GetGridLineXMinorWidth, &C::SetGridLineXMinorWidth)
          .Default(0)
          .Prop("GridLineYMajorWidth", &C::GetGridLineYMajorWidth, &C::SetGridLineYMajorWidth)
          .Default(0)
          .Prop("GridLineYMinorWidth", &C::GetGridLineYMinorWidth, &C::SetGridLineYMinorWidth)
          .Default(0)
          .Prop("GridLineXMajorStyle", &C::GetGridLineXMajorStyle, &C::SetGridLineXMajorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineXMinorStyle", &C::GetGridLineXMinorStyle, &C::SetGridLineXMinorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineYMajorStyle", &C::GetGridLineYMajorStyle, &C::SetGridLineYMajorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineYMinorStyle", &C::GetGridLineYMinorStyle, &C::SetGridLineYMinorStyle)
          .Default(ipglsSolid)
          .Prop("AxesControlEnabled", &C::GetAxesControlEnabled, &C::SetAxesControlEnabled)
          .Default(false)
          .Prop("AxesControlMouseStyle", &C::GetAxesControlMouseStyle, &C::SetAxesControlMouseStyle)
          .Default(ipacsBoth)
          .Prop("AxesControlWheelStyle", &C::GetAxesControlWheelStyle, &C::SetAxesControlWheelStyle)
          .Default(ipacsXAxis);
  return info;
}

TiPlotDataView::TiPlotDataView(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                               const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                               const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

void TiPlotDataView::SetAxesControlEnabled(bool Value) { FAxesControlEnabled = Value; }

void TiPlotDataView::SetGridXAxisName(const AnsiString& Value) {
  SetStringField(Value, FGridXAxisName, &TiPlotObject::DoChange);
}

void TiPlotDataView::SetGridYAxisName(const AnsiString& Value) {
  SetStringField(Value, FGridYAxisName, &TiPlotObject::DoChange);
}

void TiPlotDataView::DrawBackground(TCanvas* Canvas) {
  if (FBackgroundTransparent) return;
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(FBackgroundColor);
  Canvas->FillRect(GetLayoutRect());
}
