#include "widgets/iLedRectangle.h"

#include "platform/runtime/Strings.h"

const TClassInfo& TiLedRectangle::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiLedRectangle, TiLed>("TiLedRectangle")
          .Prop("CenterLabelText", &TiLedRectangle::GetCenterLabelText, &TiLedRectangle::SetCenterLabelText)
          .Object("CenterLabelFont", &TiLedRectangle::GetCenterLabelFont, &TiLedRectangle::SetCenterLabelFont)
          .Prop("CenterLabelFontActiveColor", &TiLedRectangle::GetCenterLabelFontActiveColor,
                &TiLedRectangle::SetCenterLabelFontActiveColor)
          .Default(clBlack)
          .Type(ColorTypeInfo())
          .Prop("CenterLabelFontInactiveColor", &TiLedRectangle::GetCenterLabelFontInactiveColor,
                &TiLedRectangle::SetCenterLabelFontInactiveColor)
          .Default(clWhite)
          .Type(ColorTypeInfo())
          .Prop("CenterLabelWordWrap", &TiLedRectangle::GetCenterLabelWordWrap,
                &TiLedRectangle::SetCenterLabelWordWrap)
          .Default(false)
          .Prop("CenterLabelEndsMargin", &TiLedRectangle::GetCenterLabelEndsMargin,
                &TiLedRectangle::SetCenterLabelEndsMargin)
          .Default(5)
          .Prop("CenterLabelAlignment", &TiLedRectangle::GetCenterLabelAlignment,
                &TiLedRectangle::SetCenterLabelAlignment)
          .Default(iahCenter)
          .Prop("ShowReflection", &TiLedRectangle::GetShowReflection, &TiLedRectangle::SetShowReflection)
          .Default(true);
  return info;
}

TiLedRectangle::TiLedRectangle(TComponent* AOwner) : TiLed(AOwner) {
  centerLabelFont_ = std::make_unique<TFont>();
  centerLabelFont_->OnChange = TNotifyEvent(this, &TiLedRectangle::LabelFontChanged);
}

TiLedRectangle::~TiLedRectangle() = default;

void TiLedRectangle::LabelFontChanged(TObject*) { RequestBackgroundRepaint(); }

void TiLedRectangle::SetCenterLabelText(const AnsiString& Value) {
  SetStringProperty(Value, centerLabelText_, 1);
}
void TiLedRectangle::SetCenterLabelFontActiveColor(TColor Value) {
  SetColorProperty(Value, labelActiveColor_, 1);
}
void TiLedRectangle::SetCenterLabelFontInactiveColor(TColor Value) {
  SetColorProperty(Value, labelInactiveColor_, 1);
}
void TiLedRectangle::SetCenterLabelWordWrap(bool Value) { SetBoolProperty(Value, labelWordWrap_, 1); }
void TiLedRectangle::SetCenterLabelEndsMargin(int32_t Value) { SetIntProperty(Value, labelEndsMargin_, 1); }
void TiLedRectangle::SetCenterLabelAlignment(TiAlignmentHorizontal Value) {
  if (Value == labelAlignment_) return;
  labelAlignment_ = Value;
  RequestBackgroundRepaint();
}
void TiLedRectangle::SetShowReflection(bool Value) { SetBoolProperty(Value, showReflection_, 1); }

void TiLedRectangle::PaintToCanvas(TCanvas* Canvas) {
  const TRect r{0, 0, Width(), Height()};
  const TColor face = LampColor();
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(face);
  Canvas->GetPen()->SetColor(face);
  Canvas->FillRect(r);

  if (GetBevelStyle() == ibsRaised)
    DrawBevelFrame(Canvas, r, 1);
  else if (GetBevelStyle() == ibsLowered)
    DrawBevelFrame(Canvas, r, 0);

  if (showReflection_) {
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetColor(clWhite);
    Canvas->MoveTo(r.Left + 3, r.Top + 3);
    Canvas->LineTo(r.Left + 5, r.Top + 3);
  }

  if (Trim(centerLabelText_).empty()) return;
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->SetFont(centerLabelFont_.get());
  Canvas->GetFont()->SetColor(GetActive() ? labelActiveColor_ : labelInactiveColor_);
  int32_t flags = itfVCenter | itfNoClip;
  if (labelWordWrap_) flags |= itfWordBreak;
  flags |= labelAlignment_ == iahLeft ? itfLeft : labelAlignment_ == iahRight ? itfRight : itfCenter;
  const int32_t margin = labelEndsMargin_;
  TRect measure{r.Left + margin + 2, r.Top + 2, r.Right - margin - 2, r.Bottom - 2};
  const int32_t h = DrawTextFlags(Canvas, centerLabelText_, measure, flags | itfCalcRect);
  const int32_t cy = GetCenterPoint().Y;
  TRect draw{r.Left + margin + 2, cy - h / 2, r.Right - margin - 2, cy + h / 2};
  DrawTextFlags(Canvas, centerLabelText_, draw, flags);
}
