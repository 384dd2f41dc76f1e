#include "plot/iPlotDataCursor.h"

PL_ENUM_NAMES(TiOrientationSide, "iosBottomRight", "iosTopLeft")

const TClassInfo& TiPlotDataCursor::ClassInfo() {
  using C = TiPlotDataCursor;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotManagerObject>("TiPlotDataCursor")
          // Published again with the cursor's own initial value, so that a visible cursor is stored.
          .Prop("Visible", &TiPlotObject::GetVisible, &TiPlotObject::SetVisible)
          .Default(false)
          .Prop("ChannelName", &C::GetChannelName, &C::SetChannelName)
          .Prop("ChannelAllowAll", &C::GetChannelAllowAll, &C::SetChannelAllowAll)
          .Default(true)
          .Prop("ChannelShowAllInLegend", &C::GetChannelShowAllInLegend, &C::SetChannelShowAllInLegend)
          .Default(true)
          .Prop("Style", &C::GetStyle, &C::SetStyle)
          .Default(ipcsValueXY)
          .Object("Font", &C::GetFont, &C::SetFont)
          .Prop("Color", &C::GetColor, &C::SetColor)
          .Default(0x00FFFF)
          .Type(ColorTypeInfo())
          .Prop("UseChannelColor", &C::GetUseChannelColor, &C::SetUseChannelColor)
          .Default(true)
          .Prop("HintShow", &C::GetHintShow, &C::SetHintShow)
          .Default(true)
          .Prop("HintHideOnRelease", &C::GetHintHideOnRelease, &C::SetHintHideOnRelease)
          .Default(false)
          .Prop("HintOrientationSide", &C::GetHintOrientationSide, &C::SetHintOrientationSide)
          .Default(iosBottomRight)
          .Prop("HintPosition", &C::GetHintPosition, &C::SetHintPosition)
          .Prop("Pointer1Position", &C::GetPointer1Position, &C::SetPointer1Position)
          .Prop("Pointer2Position", &C::GetPointer2Position, &C::SetPointer2Position)
          .Prop("PointerPenWidth", &C::GetPointerPenWidth, &C::SetPointerPenWidth)
          .Default(1)
          .Prop("MenuUserCanChangeOptions", &C::GetMenuUserCanChangeOptions, &C::SetMenuUserCanChangeOptions)
          .Default(true)
          .Prop("MenuItemVisibleValueXY", &C::GetMenuItemVisibleValueXY, &C::SetMenuItemVisibleValueXY)
          .Default(true)
          .Prop("MenuItemVisibleValueX", &C::GetMenuItemVisibleValueX, &C::SetMenuItemVisibleValueX)
          .Default(true)
          .Prop("MenuItemVisibleValueY", &C::GetMenuItemVisibleValueY, &C::SetMenuItemVisibleValueY)
          .Default(true)
          .Prop("MenuItemVisibleDeltaX", &C::GetMenuItemVisibleDeltaX, &C::SetMenuItemVisibleDeltaX)
          .Default(true)
          .Prop("MenuItemVisibleDeltaY", &C::GetMenuItemVisibleDeltaY, &C::SetMenuItemVisibleDeltaY)
          .Default(true)
          .Prop("MenuItemVisibleInverseDeltaX", &C::GetMenuItemVisibleInverseDeltaX,
                &C::SetMenuItemVisibleInverseDeltaX)
          .Default(true)
          .Prop("MenuItemCaptionValueXY", &C::GetMenuItemCaptionValueXY, &C::SetMenuItemCaptionValueXY)
          .Prop("MenuItemCaptionValueX", &C::GetMenuItemCaptionValueX, &C::SetMenuItemCaptionValueX)
          .Prop("MenuItemCaptionValueY", &C::GetMenuItemCaptionValueY, &C::SetMenuItemCaptionValueY)
          .Prop("MenuItemCaptionDeltaX", &C::GetMenuItemCaptionDeltaX, &C::SetMenuItemCaptionDeltaX)
          .Prop("MenuItemCaptionDeltaY", &C::GetMenuItemCaptionDeltaY, &C::SetMenuItemCaptionDeltaY)
          .Prop("MenuItemCaptionInverseDeltaX", &C::GetMenuItemCaptionInverseDeltaX,
                &C::SetMenuItemCaptionInverseDeltaX);
  return info;
}

TiPlotDataCursor::TiPlotDataCursor(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                   const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                   const TNotifyEvent& AOnChange)
    : TiPlotManagerObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FFont = std::make_unique<TFont>();
  FFont->OnChange = TNotifyEvent(this, &TiPlotDataCursor::FontChanged);
  TiPlotObject::SetVisible(false);
}

TiPlotDataCursor::~TiPlotDataCursor() = default;

namespace {
double DataCursorClampPercent(double Value) { return !(Value >= 0) ? 0 : Value > 100 ? 100 : Value; }
}  // namespace

void TiPlotDataCursor::SetPointer1Position(double Value) {
  SetDoubleField(DataCursorClampPercent(Value), FPointer1Position, &TiPlotObject::DoChange);
}

void TiPlotDataCursor::SetPointer2Position(double Value) {
  SetDoubleField(DataCursorClampPercent(Value), FPointer2Position, &TiPlotObject::DoChange);
}
