#include "plot/iPlotToolBar.h"

PL_ENUM_NAMES(TiPlotToolBarButtonType, "iptbbtResume", "iptbbtPause", "iptbbtScrollAxesMode",
              "iptbbtZoomAxesMode", "iptbbtSelect", "iptbbtZoomBox", "iptbbtZoomOut", "iptbbtZoomIn",
              "iptbbtCursor", "iptbbtEdit", "iptbbtCopy", "iptbbtSave", "iptbbtPrint", "iptbbtPreview")

const TClassInfo& TiPlotToolBar::ClassInfo() {
  using C = TiPlotToolBar;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotToolBar")
          .Prop("ShowResumeButton", &C::GetShowResumeButton, &C::SetShowResumeButton)
          .Default(true)
          .Prop("ShowPauseButton", &C::GetShowPauseButton, &C::SetShowPauseButton)
          .Default(true)
          .Prop("ShowAxesModeButtons", &C::GetShowAxesModeButtons, &C::SetShowAxesModeButtons)
          .Default(true)
          .Prop("ShowZoomInOutButtons", &C::GetShowZoomInOutButtons, &C::SetShowZoomInOutButtons)
          .Default(true)
          .Prop("ShowSelectButton", &C::GetShowSelectButton, &C::SetShowSelectButton)
          .Default(false)
          .Prop("ShowZoomBoxButton", &C::GetShowZoomBoxButton, &C::SetShowZoomBoxButton)
          .Default(true)
          .Prop("ShowCursorButton", &C::GetShowCursorButton, &C::SetShowCursorButton)
          .Default(true)
          .Prop("ShowEditButton", &C::GetShowEditButton, &C::SetShowEditButton)
          .Default(true)
          .Prop("ShowCopyButton", &C::GetShowCopyButton, &C::SetShowCopyButton)
          .Default(true)
          .Prop("ShowSaveButton", &C::GetShowSaveButton, &C::SetShowSaveButton)
          .Default(true)
          .Prop("ShowPrintButton", &C::GetShowPrintButton, &C::SetShowPrintButton)
          .Default(true)
          .Prop("ShowPreviewButton", &C::GetShowPreviewButton, &C::SetShowPreviewButton)
          .Default(false)
          .Prop("ZoomInOutFactor", &C::GetZoomInOutFactor, &C::SetZoomInOutFactor)
          .Prop("FlatBorder", &C::GetFlatBorder, &C::SetFlatBorder)
          .Default(false)
          .Prop("FlatButtons", &C::GetFlatButtons, &C::SetFlatButtons)
          .Default(false)
          .Prop("SmallButtons", &C::GetSmallButtons, &C::SetSmallButtons)
          .Default(false);
  return info;
}

TiPlotToolBar::TiPlotToolBar(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                             const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                             const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  SetHorizontal(true);
}

void TiPlotToolBar::SetZoomInOutFactor(double Value) {
  // A factor below 1 would zoom the wrong way; NaN counts as below.
  if (!(Value >= 1)) Value = 1;
  SetDoubleField(Value, FZoomInOutFactor, &TiPlotObject::DoChange);
}
