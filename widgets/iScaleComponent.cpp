#include "widgets/iScaleComponent.h"

PL_ENUM_NAMES(TiAutoScaleStyle, "iassAutoMinMax", "iassFixedMinMax")

// ============================================================================ scale object ====

const TClassInfo& TiScaleObject::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiScaleObject, TPersistent>("TiScaleObject");
  return info;
}

TiScaleObject::TiScaleObject() : tickLabelFont_(std::make_unique<TFont>()) {
  tickLabelFont_->OnChange = TNotifyEvent(this, &TiScaleObject::FontChanged);
}

TiScaleObject::~TiScaleObject() = default;

void TiScaleObject::SetInnerRange(double AMin, double AMax) {
  innerMin_ = AMin;
  innerMax_ = AMax;
}

// ============================================================================ scale component =

const TClassInfo& TiScaleComponent::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiScaleComponent, TiPositionComponent>("TiScaleComponent");
  return info;
}

TiScaleComponent::TiScaleComponent(TComponent* AOwner)
    : TiPositionComponent(AOwner), scale_(std::make_unique<TiScaleObject>()) {
  scale_->SetPrecisionStyle(ipsFixedDecimalPoints);
  scale_->OnChange = TNotifyEvent(this, &TiScaleComponent::ScaleChanged);
}

TiScaleComponent::~TiScaleComponent() = default;

void TiScaleComponent::SetPositionMin(double Value) {
  if (autoScaleEnabled_ && !IsStreaming())
    AutoScaleRange(Value, GetPositionMax());
  else
    TiPositionComponent::SetPositionMin(Value);
}

void TiScaleComponent::SetPositionMax(double Value) {
  if (autoScaleEnabled_ && !IsStreaming())
    AutoScaleRange(GetPositionMin(), Value);
  else
    TiPositionComponent::SetPositionMax(Value);
}

void TiScaleComponent::SetAutoScaleEnabled(bool Value) {
  if (Value == autoScaleEnabled_) return;
  autoScaleEnabled_ = Value;
  AutoScaleRange(GetPositionMin(), GetPositionMax());
}

void TiScaleComponent::SetAutoScaleDesiredTicks(int32_t Value) {
  if (Value < 2 || Value == autoScaleDesiredTicks_) return;
  autoScaleDesiredTicks_ = Value;
  AutoScaleRange(GetPositionMin(), GetPositionMax());
}

void TiScaleComponent::SetAutoScaleMaxTicks(int32_t Value) {
  if (Value < 2 || Value == autoScaleMaxTicks_) return;
  autoScaleMaxTicks_ = Value;
  AutoScaleRange(GetPositionMin(), GetPositionMax());
}

void TiScaleComponent::SetAutoScaleStyle(TiAutoScaleStyle Value) {
  if (Value == autoScaleStyle_) return;
  autoScaleStyle_ = Value;
  AutoScaleRange(GetPositionMin(), GetPositionMax());
}

void TiScaleComponent::AutoScaleRange(double Min, double Max) {
  if (!autoScaleEnabled_ || IsStreaming()) return;
  double lo = Min, hi = Max;
  int32_t ticks = 2;
  if (autoScaleStyle_ == iassAutoMinMax) {
    AutoScaleAutoMinMax(autoScaleDesiredTicks_, autoScaleMaxTicks_, Min, Max, lo, hi, ticks);
    SetPositionRange(lo, hi);
  } else {
    AutoScaleFixedMinMax(autoScaleDesiredTicks_, autoScaleMaxTicks_, Min, Max, lo, hi, ticks);
    SetPositionRange(Min, Max);
    innerMin_ = lo;
    innerMax_ = hi;
    scale_->SetInnerRange(lo, hi);
    RequestBackgroundRepaint();
  }
  scale_->SetTickMajorCount(ticks);
}

int32_t TiScaleComponent::GetTickLabelDecimals() {
  return DecimalPlacesForSpan(scale_->GetTickLabelPrecision(), scale_->GetPrecisionStyle(), GetPositionMin(),
                              GetPositionMax());
}

void TiScaleComponent::Loaded() {
  TiPositionComponent::Loaded();
  AutoScaleRange(GetPositionMin(), GetPositionMax());
}
