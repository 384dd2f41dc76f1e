#include "widgets/iLed.h"

const TClassInfo& TiLed::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiLed, TiCustomComponent>("TiLed")
          .Prop("Active", &TiLed::GetActive, &TiLed::SetActive)
          .Default(false)
          .Prop("ActiveColor", &TiLed::GetActiveColor, &TiLed::SetActiveColor)
          .Default(TColor(0x00FF00))
          .Type(ColorTypeInfo())
          .Prop("AutoInactiveColor", &TiLed::GetAutoInactiveColor, &TiLed::SetAutoInactiveColor)
          .Default(true)
          .Prop("InactiveColor", &TiLed::GetInactiveColor, &TiLed::SetInactiveColor)
          .Default(TColor(0x005500))
          .Type(ColorTypeInfo())
          .Prop("BevelStyle", &TiLed::GetBevelStyle, &TiLed::SetBevelStyle)
          .Default(ibsLowered)
          .Event("OnChange", &TiLed::OnChange);
  return info;
}

TiLed::TiLed(TComponent* AOwner) : TiCustomComponent(AOwner) { SetBounds(Left(), Top(), 20, 20); }

void TiLed::SetActive(bool Value) {
  if (Value == active_) return;
  if (IsStreaming()) {
    active_ = Value;
    return;
  }
  bool allow = true;
  OnPropertyChanging(this, "Active", allow);
  if (!allow) return;
  active_ = Value;
  RequestBackgroundRepaint();
  OnPropertyChanged(this, "Active");
  OnChange(this);
}

void TiLed::SetActiveColor(TColor Value) { SetColorProperty(Value, activeColor_, 1); }
void TiLed::SetAutoInactiveColor(bool Value) { SetBoolProperty(Value, autoInactiveColor_, 1); }
void TiLed::SetInactiveColor(TColor Value) { SetColorProperty(Value, inactiveColor_, 1); }

void TiLed::SetBevelStyle(TiBevelStyle Value) {
  if (Value == bevelStyle_) return;
  bevelStyle_ = Value;
  RequestBackgroundRepaint();
}

TColor TiLed::LampColor() const {
  if (active_) return activeColor_;
  return autoInactiveColor_ ? DimColor(activeColor_, 3) : inactiveColor_;
}
