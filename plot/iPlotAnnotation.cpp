#include "plot/iPlotAnnotation.h"

PL_ENUM_NAMES(TiPlotAnnotationStyle, "ipasText", "ipasLine", "ipasRectangle", "ipasLineX", "ipasLineY",
              "ipasImage", "ipasTextRectangle", "ipasEllipse", "ipasTextBox")
PL_ENUM_NAMES(TiPlotReferenceType, "iprtDataView", "iprtChannel", "iprtXChannelYDataView",
              "iprtXDataViewYChannel")

const TClassInfo& TiPlotAnnotation::ClassInfo() {
  using C = TiPlotAnnotation;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotObject>("TiPlotAnnotation")
          .Prop("Style", &C::GetStyle, &C::SetStyle)
          .Default(ipasText)
          .Prop("Reference", &C::GetReference, &C::SetReference)
          .Default(iprtDataView)
          .Prop("ChannelName", &C::GetChannelName, &C::SetChannelName)
          .Prop("X", &C::GetX, &C::SetX)
          .Prop("Y", &C::GetY, &C::SetY)
          .Prop("X2", &C::GetX2, &C::SetX2)
          .Prop("Y2", &C::GetY2, &C::SetY2)
          .Prop("Width", &C::GetWidth, &C::SetWidth)
          .Prop("Height", &C::GetHeight, &C::SetHeight)
          .Prop("PenColor", &C::GetPenColor, &C::SetPenColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("PenStyle", &C::GetPenStyle, &C::SetPenStyle)
          .Default(psSolid)
          .Prop("PenWidth", &C::GetPenWidth, &C::SetPenWidth)
          .Default(0)
          .Prop("BrushColor", &C::GetBrushColor, &C::SetBrushColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("BrushStyle", &C::GetBrushStyle, &C::SetBrushStyle)
          .Default(bsSolid)
          .Prop("Text", &C::GetText, &C::SetText)
          .Object("Font", &C::GetFont, &C::SetFont)
          .Prop("TextRotation", &C::GetTextRotation, &C::SetTextRotation)
          .Default(ira000)
          .Prop("TextHorzAlignment", &C::GetTextHorzAlignment, &C::SetTextHorzAlignment)
          .Default(iahCenter)
          .Prop("TextVertAlignment", &C::GetTextVertAlignment, &C::SetTextVertAlignment)
          .Default(iavCenter)
          .Prop("TextHorzMargin", &C::GetTextHorzMargin, &C::SetTextHorzMargin)
          .Prop("TextVertMargin", &C::GetTextVertMargin, &C::SetTextVertMargin)
          .Prop("OuterMargin", &C::GetOuterMargin, &C::SetOuterMargin)
          .Default(0)
          .Prop("ImageListIndex", &C::GetImageListIndex, &C::SetImageListIndex)
          .Default(0)
          .Prop("ImageIndex", &C::GetImageIndex, &C::SetImageIndex)
          .Default(0)
          .Prop("UserCanMove", &C::GetUserCanMove, &C::SetUserCanMove)
          .Default(false)
          .Prop("UserCanSize", &C::GetUserCanSize, &C::SetUserCanSize)
          .Default(false)
          .Prop("ClipToAxes", &C::GetClipToAxes, &C::SetClipToAxes)
          .Default(false)
          .Prop("ShowFocusRect", &C::GetShowFocusRect, &C::SetShowFocusRect)
          .Default(true);
  return info;
}

TiPlotAnnotation::TiPlotAnnotation(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                   const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                   const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FFont = std::make_unique<TFont>();
  FFont->SetName("Arial");
  FFont->SetColor(clWhite);
  FFont->OnChange = TNotifyEvent(this, &TiPlotAnnotation::FontChanged);
}

TiPlotAnnotation::~TiPlotAnnotation() = default;
