// A rotary knob on the value model: a shaded body with an indicator mark, a tick scale with labels
// around it, an optional text of the value, and input by mouse drag, arrow and page keys and the
// mouse wheel.  A gesture that changed the value ends with one OnPositionChangeFinished.
#pragma once

#include <memory>

#include "widgets/iScaleComponent.h"

enum TiKnobStyle : uint8_t { iksRaisedEdge, iksRaised, iksSunken, iksSunkenEdge };
enum TiKnobIndicatorStyle : uint8_t {
  ikisDotLowered,
  ikisDotRaised,
  ikisDot,
  ikisLineCenter,
  ikisLineCustom,
  ikisTriangle
};
template <>
const EnumNames& EnumNamesOf<TiKnobStyle>();
template <>
const EnumNames& EnumNamesOf<TiKnobIndicatorStyle>();

class TiKnob : public TiScaleComponent {
  PL_CLASS(TiKnob)
 public:
  explicit TiKnob(TComponent* AOwner);
  ~TiKnob() override;

  // ---- properties ------------------------------------------------------------------------------
  int32_t GetKnobRadius() const { return knobRadius_; }
  void SetKnobRadius(int32_t Value) { SetIntProperty(Value, knobRadius_, 1); }
  int32_t GetKnobEdgeWidth() const { return knobEdgeWidth_; }
  void SetKnobEdgeWidth(int32_t Value) { SetIntProperty(Value, knobEdgeWidth_, 1); }
  TiKnobStyle GetKnobStyle() const { return knobStyle_; }
  void SetKnobStyle(TiKnobStyle Value);
  int32_t GetRotationStartDegrees() const { return rotationStartDegrees_; }
  void SetRotationStartDegrees(int32_t Value) { SetIntProperty(Value, rotationStartDegrees_, 1); }
  int32_t GetRotationMaxDegrees() const { return rotationMaxDegrees_; }
  void SetRotationMaxDegrees(int32_t Value) { SetIntProperty(Value, rotationMaxDegrees_, 1); }
  TiKnobIndicatorStyle GetIndicatorStyle() const { return indicatorStyle_; }
  void SetIndicatorStyle(TiKnobIndicatorStyle Value);
  // At least 1.
  int32_t GetIndicatorSize() const { return indicatorSize_; }
  void SetIndicatorSize(int32_t Value) { SetIntProperty(Value <= 0 ? 1 : Value, indicatorSize_, 0); }
  int32_t GetIndicatorMargin() const { return indicatorMargin_; }
  void SetIndicatorMargin(int32_t Value) { SetIntProperty(Value, indicatorMargin_, 1); }
  TColor GetIndicatorActiveColor() const { return indicatorActiveColor_; }
  void SetIndicatorActiveColor(TColor Value) { SetColorProperty(Value, indicatorActiveColor_, 1); }
  TColor GetIndicatorInactiveColor() const { return indicatorInactiveColor_; }
  void SetIndicatorInactiveColor(TColor Value) { SetColorProperty(Value, indicatorInactiveColor_, 1); }
  double GetKeyArrowStepSize() const { return keyArrowStepSize_; }
  void SetKeyArrowStepSize(double Value) { SetDoubleProperty(Value, keyArrowStepSize_, 0); }
  double GetKeyPageStepSize() const { return keyPageStepSize_; }
  void SetKeyPageStepSize(double Value) { SetDoubleProperty(Value, keyPageStepSize_, 0); }
  double GetMouseWheelStepSize() const { return mouseWheelStepSize_; }
  void SetMouseWheelStepSize(double Value) { SetDoubleProperty(Value, mouseWheelStepSize_, 0); }
  bool GetUseKeyboard() const { return useKeyboard_; }
  void SetUseKeyboard(bool Value) { SetBoolProperty(Value, useKeyboard_, 1); }
  bool GetShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool Value) { SetBoolProperty(Value, showFocusRect_, 0); }
  bool GetShowPostionDisplay() const { return showPostionDisplay_; }
  void SetShowPostionDisplay(bool Value) { SetBoolProperty(Value, showPostionDisplay_, 1); }
  TFont* GetPositionDisplayFont() const { return positionDisplayFont_.get(); }
  void SetPositionDisplayFont(TFont* Value) { positionDisplayFont_->Assign(Value); }
  // At least 0.
  int32_t GetPositionDisplayPrecision() const { return positionDisplayPrecision_; }
  void SetPositionDisplayPrecision(int32_t Value) {
    SetIntProperty(Value < 0 ? 0 : Value, positionDisplayPrecision_, 0);
  }
  // A text that is blank after trimming is stored empty.
  const AnsiString& GetPositionDisplayUnits() const { return positionDisplayUnits_; }
  void SetPositionDisplayUnits(const AnsiString& Value);
  // The radius follows the control's size and the scale when on (recomputed while painting).
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) override { SetBoolProperty(Value, autoSize_, 1); }
  int32_t GetOuterMargin() const { return outerMargin_; }
  void SetOuterMargin(int32_t Value) { SetIntProperty(Value, outerMargin_, 1); }

  // ---- angles ------------------------------------------------------------------------------------
  // The position's turn from PositionMin in degrees; RotationStartDegrees for equal bounds.
  double KnobAngle() const;
  // Screen degrees of a value: 0 points right, angles grow counter-clockwise.
  double ValueToScreenAngle(double Value) const;
  void SetPositionFromAngle(double Angle);
  // Fits KnobRadius to the control's size, the ticks and the widest labels.
  void AutoSizeKnobRadius(TCanvas* Canvas);
  // The centre point of the last paint (input is measured from it).
  TPoint LastCenter() const { return center_; }
  bool Dragging() const { return dragging_; }

  void PaintToCanvas(TCanvas* Canvas) override;

 protected:
  void SendPositionToOPC() override;
  void DefineProperties(TFiler* Filer) override;
  void DoLostFocus() override;
  void WantSpecialKey(WORD& CharCode, LRESULT& Result) override;
  void HandleKeyUp(WORD& Key, TShiftState Shift) override;
  void HandleKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  bool DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) override;

 private:
  // Runs a change with the value model's user-change flag set.
  template <class F>
  void AsUserChange(F change) {
    SetUserChangeInProgress(true);
    try {
      change();
    } catch (...) {
      SetUserChangeInProgress(false);
      throw;
    }
    SetUserChangeInProgress(false);
  }
  void UserSetPosition(double Value);
  void DrawStatic(TCanvas* Canvas);
  void DrawTicks(TCanvas* Canvas);
  void DrawTickLine(TCanvas* Canvas, double Value, double R1, double R2, TColor Color);
  void DrawIndicator(TCanvas* Canvas);
  void DrawPositionText(TCanvas* Canvas);
  AnsiString TickLabel(double Value);
  void PositionFontChanged(TObject*) { RequestRepaint(); }

  int32_t knobRadius_ = 35;
  int32_t knobEdgeWidth_ = 3;
  TiKnobStyle knobStyle_ = iksRaised;
  int32_t rotationStartDegrees_ = 225;
  int32_t rotationMaxDegrees_ = 270;
  TiKnobIndicatorStyle indicatorStyle_ = ikisDotLowered;
  int32_t indicatorSize_ = 4;
  int32_t indicatorMargin_ = 5;
  TColor indicatorActiveColor_ = TColor(0x00FFFF00);
  TColor indicatorInactiveColor_ = TColor(0x000000FF);
  double keyArrowStepSize_ = 0.1;
  double keyPageStepSize_ = 1.0;
  double mouseWheelStepSize_ = 1.0;
  bool useKeyboard_ = true;
  bool showFocusRect_ = true;
  bool showPostionDisplay_ = false;
  std::unique_ptr<TFont> positionDisplayFont_;
  int32_t positionDisplayPrecision_ = 1;
  AnsiString positionDisplayUnits_;
  bool autoSize_ = true;
  int32_t outerMargin_ = 2;

  TPoint center_;
  bool dragging_ = false;
  double lastAngle_ = 0;
  bool keyGesture_ = false;
  bool wheelStepped_ = false;
  uint64_t lastWheelMs_ = 0;
};
