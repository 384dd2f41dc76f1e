#include "widgets/iPositionComponent.h"

#include "platform/runtime/Filer.h"

const TClassInfo& TiPositionComponent::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPositionComponent, TiCustomComponent>("TiPositionComponent")
          .Prop("Position", &TiPositionComponent::GetPosition, &TiPositionComponent::SetPosition)
          .Prop("PositionMax", &TiPositionComponent::GetPositionMax, &TiPositionComponent::SetPositionMax)
          .Prop("PositionMin", &TiPositionComponent::GetPositionMin, &TiPositionComponent::SetPositionMin)
          .Prop("CurrentMax", &TiPositionComponent::GetCurrentMax, &TiPositionComponent::SetCurrentMax)
          .Prop("CurrentMin", &TiPositionComponent::GetCurrentMin, &TiPositionComponent::SetCurrentMin)
          .Prop("MinMaxFixed", &TiPositionComponent::GetMinMaxFixed, &TiPositionComponent::SetMinMaxFixed)
          .Default(false)
          .Event("OnPositionChange", &TiPositionComponent::OnPositionChange)
          .Event("OnCurrentMaxChange", &TiPositionComponent::OnCurrentMaxChange)
          .Event("OnCurrentMinChange", &TiPositionComponent::OnCurrentMinChange)
          .Event("OnPositionOverMax", &TiPositionComponent::OnPositionOverMax)
          .Event("OnPositionUnderMin", &TiPositionComponent::OnPositionUnderMin)
          .Event("OnPositionOverLimit", &TiPositionComponent::OnPositionOverLimit)
          .Event("OnPositionUnderLimit", &TiPositionComponent::OnPositionUnderLimit);
  return info;
}

TiPositionComponent::TiPositionComponent(TComponent* AOwner) : TiCustomComponent(AOwner) {}
TiPositionComponent::~TiPositionComponent() = default;

double TiPositionComponent::GetPosition() const { return position_; }

void TiPositionComponent::SetPosition(double Value) {
  if (IsStreaming()) {
    position_ = Value;
    return;
  }
  if (Value > positionMax_) Value = positionMax_;
  if (Value < positionMin_) Value = positionMin_;
  if (Value == position_) return;
  bool allow = true;
  OnPropertyChanging(this, "Position", allow);
  if (!allow) return;
  position_ = Value;
  changedSinceFinished_ = true;
  if (!minMaxFixed_) {
    if (position_ > currentMax_) SetCurrentMax(position_);
    if (position_ < currentMin_) SetCurrentMin(position_);
  }
  if (position_ > currentMax_)
    OnPositionOverMax(this);
  else if (position_ < currentMin_)
    OnPositionUnderMin(this);
  for (size_t i = 0; i < limits_.size(); ++i) {
    if (position_ > limits_[i]->Upper)
      OnPositionOverLimit(this, int32_t(i));
    else if (position_ < limits_[i]->Lower)
      OnPositionUnderLimit(this, int32_t(i));
  }
  RequestRepaint();
  NotifyPositionChange();
}

void TiPositionComponent::NotifyPositionChange() {
  if (IsStreaming()) return;
  if (!userChange_) SendPositionToOPC();
  OnPropertyChanged(this, "Position");
  OnPositionChange(this);
  if (userChange_) OnPositionChangeUser(this);
}

void TiPositionComponent::NotifyPositionChangeFinished() {
  if (IsStreaming() || !changedSinceFinished_) return;
  changedSinceFinished_ = false;
  SendPositionToOPC();
  OnPositionChangeFinished(this);
}

void TiPositionComponent::SendPositionToOPC() {}

void TiPositionComponent::SetPositionMin(double Value) {
  if (Value != positionMin_) SetPositionRange(Value, positionMax_);
}

void TiPositionComponent::SetPositionMax(double Value) {
  if (Value != positionMax_) SetPositionRange(positionMin_, Value);
}

void TiPositionComponent::SetPositionRange(double NewMin, double NewMax) {
  if (NewMin == positionMin_ && NewMax == positionMax_) return;
  positionMin_ = NewMin;
  positionMax_ = NewMax;
  ClampCurrentRange();
  ClampPosition();
  RequestBackgroundRepaint();
}

void TiPositionComponent::ClampCurrentRange() {
  if (IsStreaming() || minMaxFixed_) return;
  if (currentMin_ < positionMin_) SetCurrentMin(positionMin_);
  if (currentMax_ > positionMax_) SetCurrentMax(positionMax_);
}

void TiPositionComponent::ClampPosition() {
  if (IsStreaming()) return;
  if (position_ < positionMin_)
    SetPosition(positionMin_);
  else if (position_ > positionMax_)
    SetPosition(positionMax_);
}

void TiPositionComponent::SetCurrentMin(double Value) {
  const bool streaming = IsStreaming();
  if (!streaming) {
    if (Value < positionMin_) Value = positionMin_;
    if (Value > positionMax_) Value = positionMax_;
  }
  if (Value == currentMin_) return;
  currentMin_ = Value;
  if (streaming) return;
  OnCurrentMinChange(this);
  if (position_ < currentMin_)
    OnPositionUnderMin(this);
  else if (position_ > currentMax_)
    OnPositionOverMax(this);
  RequestRepaint();
}

void TiPositionComponent::SetCurrentMax(double Value) {
  const bool streaming = IsStreaming();
  if (!streaming) {
    if (Value < positionMin_) Value = positionMin_;
    if (Value > positionMax_) Value = positionMax_;
  }
  if (Value == currentMax_) return;
  currentMax_ = Value;
  if (streaming) return;
  OnCurrentMaxChange(this);
  if (position_ < currentMin_)
    OnPositionUnderMin(this);
  else if (position_ > currentMax_)
    OnPositionOverMax(this);
  RequestRepaint();
}

double TiPositionComponent::PositionFraction(double Value) const {
  if (Value > positionMax_) return 1;
  if (Value >= positionMin_ && positionMax_ != positionMin_)
    return (Value - positionMin_) / (positionMax_ - positionMin_);
  return 0;
}

TiLimitObject* TiPositionComponent::GetLimit(int32_t Index) const {
  if (Index < 0 || Index >= LimitCount()) throw EListError("Index out of Bounds");
  return limits_[size_t(Index)].get();
}

void TiPositionComponent::AddLimit(double Lower, double Upper) {
  limits_.push_back(std::make_unique<TiLimitObject>(Lower, Upper));
}

void TiPositionComponent::DefineProperties(TFiler* Filer) {
  TiCustomComponent::DefineProperties(Filer);
  Filer->DefineProperty("PositionMax_2", TReaderProc(this, &TiPositionComponent::ReadPositionMax2),
                        TWriterProc(this, &TiPositionComponent::WritePositionMax2), true);
}

void TiPositionComponent::ReadPositionMax2(TReader* Reader) { positionMax_ = double(Reader->ReadFloat()); }
void TiPositionComponent::WritePositionMax2(TWriter* Writer) { Writer->WriteFloat(positionMax_); }
