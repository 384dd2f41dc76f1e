#include "widgets/iSevenSegmentDisplay.h"

const TClassInfo& TiSevenSegmentDisplay::ClassInfo() {
  using C = TiSevenSegmentDisplay;
  static const TClassInfo info =
      TClassInfo::Of<C, TiCustomComponent>("TiSevenSegmentDisplay")
          .Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize)
          .Default(true)
          .Prop("DigitSpacing", &C::GetDigitSpacing, &C::SetDigitSpacing)
          .Default(6)
          .Prop("SegmentMargin", &C::GetSegmentMargin, &C::SetSegmentMargin)
          .Default(5)
          .Prop("SegmentColor", &C::GetSegmentColor, &C::SetSegmentColor)
          .Default(16777215)
          .Type(ColorTypeInfo())
          .Prop("SegmentOffColor", &C::GetSegmentOffColor, &C::SetSegmentOffColor)
          .Default(8421504)
          .Type(ColorTypeInfo())
          .Prop("AutoSegmentOffColor", &C::GetAutoSegmentOffColor, &C::SetAutoSegmentOffColor)
          .Default(true)
          .Prop("SegmentSeperation", &C::GetSegmentSeperation, &C::SetSegmentSeperation)
          .Default(1)
          .Prop("SegmentSize", &C::GetSegmentSize, &C::SetSegmentSize)
          .Default(1)
          .Prop("ShowOffSegments", &C::GetShowOffSegments, &C::SetShowOffSegments)
          .Default(true)
          .Prop("PowerOff", &C::GetPowerOff, &C::SetPowerOff)
          .Default(false)
          .Event("OnValueChange", &C::OnValueChange)
          .Prop("BackGroundColor", &TiComponent::GetBackGroundColor, &TiComponent::SetBackGroundColor)
          .Default(0)
          .Type(ColorTypeInfo())
          .Prop("BorderStyle", &TiComponent::GetBorderStyle, &TiComponent::SetBorderStyle)
          .Default(ibsNone)
          .Prop("Transparent", &TiVCLComponent::GetTransparent, &TiVCLComponent::SetTransparent)
          .Default(false);
  return info;
}

TiSevenSegmentDisplay::TiSevenSegmentDisplay(TComponent* AOwner) : TiCustomComponent(AOwner) {
  SetBounds(Left(), Top(), 15, 15);
  SetBackGroundColor(clBlack);
  // The painter only draws glyphs on the row's canvas: its own repaint requests stay locked.
  painter_ = std::make_unique<TiSevenSegmentCharacter>(nullptr);
  painter_->BeginUpdate();
  painter_->SetAutoSize(false);
  painter_->SetSegmentMargin(0);
  SyncPainter();
}

TiSevenSegmentDisplay::~TiSevenSegmentDisplay() = default;

void TiSevenSegmentDisplay::SyncPainter() {
  TiSevenSegmentCharacter* p = painter_.get();
  p->SetSegmentColor(segmentColor_);
  p->SetSegmentOffColor(segmentOffColor_);
  p->SetAutoSegmentOffColor(autoSegmentOffColor_);
  p->SetSegmentSeperation(segmentSeperation_);
  p->SetSegmentSize(segmentSize_);
  p->SetShowOffSegments(showOffSegments_);
  p->SetPowerOff(powerOff_);
}

void TiSevenSegmentDisplay::Resize() {
  if (!autoSize_ || IsStreaming()) return;
  const TSize s = GetPreferredSize();
  SetBounds(Left(), Top(), s.cx, s.cy);
}

void TiSevenSegmentDisplay::SetAutoSize(bool Value) {
  if (Value == autoSize_) return;
  autoSize_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentDisplay::SetDigitSpacing(int32_t Value) {
  if (Value == digitSpacing_) return;
  digitSpacing_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentDisplay::SetSegmentMargin(int32_t Value) {
  if (Value < 0) Value = 0;
  if (Value == segmentMargin_) return;
  segmentMargin_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentDisplay::SetSegmentSize(int32_t Value) {
  Value = std::clamp(Value, 1, 100);
  if (Value == segmentSize_) return;
  segmentSize_ = Value;
  SyncPainter();
  Resize();
  RequestRepaint();
}

void TiSevenSegmentDisplay::SetSegmentColor(TColor Value) { SetColorProperty(Value, segmentColor_, 0); }
void TiSevenSegmentDisplay::SetSegmentOffColor(TColor Value) { SetColorProperty(Value, segmentOffColor_, 0); }
void TiSevenSegmentDisplay::SetAutoSegmentOffColor(bool Value) {
  SetBoolProperty(Value, autoSegmentOffColor_, 0);
}
void TiSevenSegmentDisplay::SetSegmentSeperation(int32_t Value) {
  SetIntProperty(Value < 0 ? 0 : Value, segmentSeperation_, 0);
}
void TiSevenSegmentDisplay::SetShowOffSegments(bool Value) { SetBoolProperty(Value, showOffSegments_, 0); }
void TiSevenSegmentDisplay::SetPowerOff(bool Value) { SetBoolProperty(Value, powerOff_, 0); }
