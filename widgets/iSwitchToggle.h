// A lever switch that the user flips with a click, a drag or the space bar (the output and
// remote-sense switches of the front panel).
#pragma once

#include "widgets/iCustomComponent.h"

// Where a press may start: anywhere on the control, or on the lever only.
enum TiMouseControlStyle : uint8_t { imcsClickAnyWhere, imcsClickIndicator };
template <>
const EnumNames& EnumNamesOf<TiMouseControlStyle>();

class TiSwitchToggle : public TiCustomComponent {
  PL_CLASS(TiSwitchToggle)
 public:
  explicit TiSwitchToggle(TComponent* AOwner);

  // True: lever up (vertical) or right (horizontal).
  bool GetActive() const { return active_; }
  void SetActive(bool Value);
  bool GetDragToToggle() const { return dragToToggle_; }
  void SetDragToToggle(bool Value);
  TiMouseControlStyle GetMouseControlStyle() const { return mouseControlStyle_; }
  void SetMouseControlStyle(TiMouseControlStyle Value) { mouseControlStyle_ = Value; }
  bool GetShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool Value);
  TiBevelStyle GetSwitchBevelStyle() const { return switchBevelStyle_; }
  void SetSwitchBevelStyle(TiBevelStyle Value);
  // Values below 3 become 3.
  int32_t GetSwitchHeight() const { return switchHeight_; }
  void SetSwitchHeight(int32_t Value);
  // A change outside loading exchanges Width and Height first.
  TiOrientation GetSwitchOrientation() const { return switchOrientation_; }
  void SetSwitchOrientation(TiOrientation Value);

  // The lever for the present state and orientation.
  TRect LeverRect();
  bool Pressed() const { return pressed_ || keyPressed_; }

  void PaintToCanvas(TCanvas* Canvas) override;

  TNotifyEvent OnChange;      // every stored change of Active
  TNotifyEvent OnChangeUser;  // only changes made by the user's click, drag or key

 protected:
  void DoLostFocus() override;
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleKeyUp(WORD& Key, TShiftState Shift) override;

 private:
  void UserToggle();

  bool active_ = false;
  bool dragToToggle_ = false;
  TiMouseControlStyle mouseControlStyle_ = imcsClickAnyWhere;
  bool showFocusRect_ = true;
  TiBevelStyle switchBevelStyle_ = ibsRaised;
  int32_t switchHeight_ = 22;
  TiOrientation switchOrientation_ = ioVertical;
  bool pressed_ = false;
  bool keyPressed_ = false;
  TPoint dragStart_{};
  bool userChange_ = false;
};
