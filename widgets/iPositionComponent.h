// The value model of the position-type controls: a double Position held inside [PositionMin,
// PositionMax], a current range that remembers the lowest and highest position reached, limits,
// and the events that tell a user's changes from a program's.  No event fires while the control
// is read from a stored definition.
#pragma once

#include <memory>
#include <vector>

#include "widgets/iClasses.h"
#include "widgets/iCustomComponent.h"

class TFiler;
class TReader;
class TWriter;

// Sender, LimitIndex.
using TOnPositionLimit = TEvent<TObject*, int32_t>;

class TiPositionComponent : public TiCustomComponent {
  PL_CLASS(TiPositionComponent)
 public:
  explicit TiPositionComponent(TComponent* AOwner);
  ~TiPositionComponent() override;

  virtual double GetPosition() const;
  virtual void SetPosition(double Value);
  double GetPositionMin() const { return positionMin_; }
  virtual void SetPositionMin(double Value);
  double GetPositionMax() const { return positionMax_; }
  virtual void SetPositionMax(double Value);
  double GetCurrentMin() const { return currentMin_; }
  void SetCurrentMin(double Value);
  double GetCurrentMax() const { return currentMax_; }
  void SetCurrentMax(double Value);
  bool GetMinMaxFixed() const { return minMaxFixed_; }
  void SetMinMaxFixed(bool Value) { SetBoolProperty(Value, minMaxFixed_, 0); }

  // Stores both bounds as given (no order check), then clamps the current range and the position.
  void SetPositionRange(double NewMin, double NewMax);
  void ClampCurrentRange();
  virtual void ClampPosition();
  // 0..1 of Value between the bounds (1 above the maximum, 0 below the minimum or for equal bounds).
  double PositionFraction(double Value) const;
  void NotifyPositionChange();
  // End of a user gesture: OnPositionChangeFinished once, when the gesture changed the value.
  void NotifyPositionChangeFinished();

  // Limits, checked after every change in list order.
  int32_t LimitCount() const { return int32_t(limits_.size()); }
  TiLimitObject* GetLimit(int32_t Index) const;
  void AddLimit(double Lower, double Upper);

  TNotifyEvent OnPositionChange, OnPositionChangeUser, OnPositionChangeFinished;
  TNotifyEvent OnCurrentMaxChange, OnCurrentMinChange, OnPositionOverMax, OnPositionUnderMin;
  TOnPositionLimit OnPositionOverLimit, OnPositionUnderLimit;

 protected:
  // Sends Position to a bound OPC item (the knob); empty here.
  virtual void SendPositionToOPC();
  void DefineProperties(TFiler* Filer) override;
  // The concrete control sets this around changes its input causes.
  bool UserChangeInProgress() const { return userChange_; }
  void SetUserChangeInProgress(bool Value) { userChange_ = Value; }
  // A gesture starts: changes before it do not count for OnPositionChangeFinished.
  void ClearChangedSinceFinished() { changedSinceFinished_ = false; }
  bool ChangedSinceFinished() const { return changedSinceFinished_; }

 private:
  void ReadPositionMax2(TReader* Reader);
  void WritePositionMax2(TWriter* Writer);

  double position_ = 0;
  double positionMin_ = 0;
  double positionMax_ = 100;
  double currentMin_ = 0;
  double currentMax_ = 0;
  bool minMaxFixed_ = false;
  bool changedSinceFinished_ = false;
  bool userChange_ = false;
  std::vector<std::unique_ptr<TiLimitObject>> limits_;
};
