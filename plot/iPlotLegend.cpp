#include "plot/iPlotLegend.h"

#include "platform/ui/Graphics.h"

PL_ENUM_NAMES(TiPlotLegendChannelNameColorStyle, "iplcncsFont", "iplcncsChannelColor",
              "iplcncsXAxisFontColor", "iplcncsYAxisFontColor")

const TClassInfo& TiPlotLegend::ClassInfo() {
  using C = TiPlotLegend;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotLegend")
          .Prop("MarginLeft", &C::GetMarginLeft, &C::SetMarginLeft)
          .Prop("MarginRight", &C::GetMarginRight, &C::SetMarginRight)
          .Prop("MarginTop", &C::GetMarginTop, &C::SetMarginTop)
          .Prop("MarginBottom", &C::GetMarginBottom, &C::SetMarginBottom)
          .Prop("BackGroundColor", &C::GetBackGroundColor, &C::SetBackGroundColor)
          .Default(0x808080)
          .Type(ColorTypeInfo())
          .Prop("BackGroundTransparent", &C::GetBackGroundTransparent, &C::SetBackGroundTransparent)
          .Default(true)
          .Prop("SelectedItemBackGroundColor", &C::GetSelectedItemBackGroundColor,
                &C::SetSelectedItemBackGroundColor)
          .Default(0x00FFFF)
          .Type(ColorTypeInfo())
          .Object("SelectedItemFont", &C::GetSelectedItemFont, &C::SetSelectedItemFont)
          .Object("Font", &C::GetFont, &C::SetFont)
          .Prop("ColumnTitlesVisible", &C::GetColumnTitlesVisible, &C::SetColumnTitlesVisible)
          .Default(false)
          .Object("ColumnTitlesFont", &C::GetColumnTitlesFont, &C::SetColumnTitlesFont)
          .Prop("ShowColumnLine", &C::GetShowColumnLine, &C::SetShowColumnLine)
          .Default(true)
          .Prop("ShowColumnMarker", &C::GetShowColumnMarker, &C::SetShowColumnMarker)
          .Default(false)
          .Prop("ShowColumnXAxisTitle", &C::GetShowColumnXAxisTitle, &C::SetShowColumnXAxisTitle)
          .Default(false)
          .Prop("ShowColumnYAxisTitle", &C::GetShowColumnYAxisTitle, &C::SetShowColumnYAxisTitle)
          .Default(false)
          .Prop("ShowColumnXValue", &C::GetShowColumnXValue, &C::SetShowColumnXValue)
          .Default(false)
          .Prop("ShowColumnYValue", &C::GetShowColumnYValue, &C::SetShowColumnYValue)
          .Default(false)
          .Prop("ShowColumnYMax", &C::GetShowColumnYMax, &C::SetShowColumnYMax)
          .Default(false)
          .Prop("ShowColumnYMin", &C::GetShowColumnYMin, &C::SetShowColumnYMin)
          .Default(false)
          .Prop("ShowColumnYMean", &C::GetShowColumnYMean, &C::SetShowColumnYMean)
          .Default(false)
          .Prop("CaptionColumnTitle", &C::GetCaptionColumnTitle, &C::SetCaptionColumnTitle)
          .Prop("CaptionColumnXAxisTitle", &C::GetCaptionColumnXAxisTitle, &C::SetCaptionColumnXAxisTitle)
          .Prop("CaptionColumnYAxisTitle", &C::GetCaptionColumnYAxisTitle, &C::SetCaptionColumnYAxisTitle)
          .Prop("CaptionColumnXValue", &C::GetCaptionColumnXValue, &C::SetCaptionColumnXValue)
          .Prop("CaptionColumnYValue", &C::GetCaptionColumnYValue, &C::SetCaptionColumnYValue)
          .Prop("CaptionColumnYMax", &C::GetCaptionColumnYMax, &C::SetCaptionColumnYMax)
          .Prop("CaptionColumnYMin", &C::GetCaptionColumnYMin, &C::SetCaptionColumnYMin)
          .Prop("CaptionColumnYMean", &C::GetCaptionColumnYMean, &C::SetCaptionColumnYMean)
          .Prop("ColumnSpacing", &C::GetColumnSpacing, &C::SetColumnSpacing)
          .Prop("RowSpacing", &C::GetRowSpacing, &C::SetRowSpacing)
          .Prop("WrapRowSpacingMin", &C::GetWrapRowSpacingMin, &C::SetWrapRowSpacingMin)
          .Prop("WrapColSpacingMin", &C::GetWrapColSpacingMin, &C::SetWrapColSpacingMin)
          .Prop("WrapColDesiredCount", &C::GetWrapColDesiredCount, &C::SetWrapColDesiredCount)
          .Default(1)
          .Prop("WrapRowDesiredCount", &C::GetWrapRowDesiredCount, &C::SetWrapRowDesiredCount)
          .Default(5)
          .Prop("WrapColAutoCountEnabled", &C::GetWrapColAutoCountEnabled, &C::SetWrapColAutoCountEnabled)
          .Default(false)
          .Prop("WrapRowAutoCountEnabled", &C::GetWrapRowAutoCountEnabled, &C::SetWrapRowAutoCountEnabled)
          .Default(true)
          .Prop("WrapColAutoCountMax", &C::GetWrapColAutoCountMax, &C::SetWrapColAutoCountMax)
          .Default(100)
          .Prop("WrapRowAutoCountMax", &C::GetWrapRowAutoCountMax, &C::SetWrapRowAutoCountMax)
          .Default(100)
          .Prop("WrapColSpacingAuto", &C::GetWrapColSpacingAuto, &C::SetWrapColSpacingAuto)
          .Default(true)
          .Prop("WrapRowSpacingAuto", &C::GetWrapRowSpacingAuto, &C::SetWrapRowSpacingAuto)
          .Default(false)
          .Prop("ChannelNameMaxWidth", &C::GetChannelNameMaxWidth, &C::SetChannelNameMaxWidth)
          .Prop("ChannelNameColorStyle", &C::GetChannelNameColorStyle, &C::SetChannelNameColorStyle)
          .Default(iplcncsFont);
  return info;
}

TiPlotLegend::TiPlotLegend(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                           const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                           const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FSelectedItemFont = std::make_unique<TFont>();
  FSelectedItemFont->SetColor(clBlack);
  FSelectedItemFont->OnChange = TNotifyEvent(this, &TiPlotLegend::FontChanged);
  FFont = std::make_unique<TFont>();
  FFont->SetColor(clWhite);
  FFont->OnChange = TNotifyEvent(this, &TiPlotLegend::FontChanged);
  FColumnTitlesFont = std::make_unique<TFont>();
  FColumnTitlesFont->SetColor(0xFFFF00);
  FColumnTitlesFont->SetStyle(TFontStyles{fsBold});
  FColumnTitlesFont->OnChange = TNotifyEvent(this, &TiPlotLegend::FontChanged);
}

TiPlotLegend::~TiPlotLegend() = default;

void TiPlotLegend::SetWrapColDesiredCount(int32_t Value) {
  SetIntField(Value < 1 ? 1 : Value, FWrapColDesiredCount, &TiPlotObject::DoChange);
}

void TiPlotLegend::SetWrapRowDesiredCount(int32_t Value) {
  SetIntField(Value < 1 ? 1 : Value, FWrapRowDesiredCount, &TiPlotObject::DoChange);
}
