#include "plot/iPlotLimit.h"

PL_ENUM_NAMES(TiPlotLimitStyle, "iplsLineX", "iplsLineY", "iplsBandX", "iplsBandY", "iplsPolyBandX",
              "iplsPolyBandY")

const TClassInfo& TiPlotLimit::ClassInfo() {
  using C = TiPlotLimit;
  static const TClassInfo info = TClassInfo::Of<C, TiPlotObject>("TiPlotLimit")
                                     .Prop("Style", &C::GetStyle, &C::SetStyle)
                                     .Default(iplsLineY)
                                     .Prop("Color", &C::GetColor, &C::SetColor)
                                     .Default(0x0000FF)
                                     .Type(ColorTypeInfo())
                                     .Prop("LineStyle", &C::GetLineStyle, &C::SetLineStyle)
                                     .Default(psSolid)
                                     .Prop("LineWidth", &C::GetLineWidth, &C::SetLineWidth)
                                     .Default(0)
                                     .Prop("FillStyle", &C::GetFillStyle, &C::SetFillStyle)
                                     .Default(bsSolid)
                                     .Prop("XAxisName", &C::GetXAxisName, &C::SetXAxisName)
                                     .Prop("YAxisName", &C::GetYAxisName, &C::SetYAxisName)
                                     .Prop("Line1Position", &C::GetLine1Position, &C::SetLine1Position)
                                     .Prop("Line2Position", &C::GetLine2Position, &C::SetLine2Position)
                                     .Prop("UserCanMove", &C::GetUserCanMove, &C::SetUserCanMove)
                                     .Default(false);
  return info;
}

TiPlotLimit::TiPlotLimit(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

bool TiPlotLimit::DrawsBehind() const {
  if (FStyle == iplsPolyBandX || FStyle == iplsPolyBandY) return true;
  return (FStyle == iplsBandX || FStyle == iplsBandY) && FFillStyle != bsClear;
}
