// The grid library's spin edit: an edit whose value (an integer, a float, a date or a time) is
// stepped by a pair of small buttons at its right edge and by the arrow keys, with typed
// characters filtered by the kind of value and the value clamped into its bounds.  Also the
// button pair and the auto-repeating speed button it is built from.
//
// Thread contract: UI thread only.
//
// Sections: timer speed button / spin button / spin edit.
#pragma once

#include <memory>

#include "platform/runtime/DateTime.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Mask.h"

enum TSpinDirection : uint8_t { spVertical, spHorizontal };
enum TAsgSpinType : uint8_t { sptNormal, sptFloat, sptDate, sptTime };
enum TTimerButtonDirection : uint8_t { tbdUp, tbdDown, tbdLeft, tbdRight };
template <>
const EnumNames& EnumNamesOf<TSpinDirection>();
template <>
const EnumNames& EnumNamesOf<TAsgSpinType>();

// ============================================================================ timer speed button

// A speed button that clicks again and again while it is held: first after 400 ms, then every
// 100 ms.
class TAdvTimerSpeedButton : public TSpeedButton {
  PL_CLASS(TAdvTimerSpeedButton)
 public:
  explicit TAdvTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
  bool AllowTimer = false;
  // Draws a focus rectangle (the spin button has the focus and this is its focused button).
  bool FocusRect = false;
  TTimerButtonDirection Direction = tbdUp;
  bool IsWinXP = false;
  bool MouseInside() const { return mouseInside_; }
  TTimer* RepeatTimer() const { return timer_; }
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  void TimerExpired(TObject* Sender);
  TTimer* timer_ = nullptr;
  bool mouseInside_ = false;
};

// ============================================================================ spin button =====

// Two timer buttons stacked (or side by side) that report up and down clicks.
class TAsgSpinButton : public TWinControl {
  PL_CLASS(TAsgSpinButton)
 public:
  explicit TAsgSpinButton(TComponent* AOwner);
  TSpinDirection GetDirection() const { return direction_; }
  void SetDirection(TSpinDirection Value);
  TBitmap* GetUpGlyph() const { return upButton_->GetGlyph(); }
  // nil loads the built-in arrow.
  void SetUpGlyph(TBitmap* Value);
  TBitmap* GetDownGlyph() const { return downButton_->GetGlyph(); }
  void SetDownGlyph(TBitmap* Value);
  int32_t GetUpNumGlyphs() const { return upButton_->GetNumGlyphs(); }
  void SetUpNumGlyphs(int32_t Value) { upButton_->SetNumGlyphs(Value); }
  int32_t GetDownNumGlyphs() const { return downButton_->GetNumGlyphs(); }
  void SetDownNumGlyphs(int32_t Value) { downButton_->SetNumGlyphs(Value); }
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);
  TAdvTimerSpeedButton* UpButton() const { return upButton_; }
  TAdvTimerSpeedButton* DownButton() const { return downButton_; }
  TAdvTimerSpeedButton* FocusedButton() const { return focusedButton_; }
  void SetIsWinXP(bool Value);
  TNotifyEvent OnUpClick, OnDownClick;

  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  // The framework's own AdjustSize stays visible beside the one below.
  using TWinControl::AdjustSize;

 private:
  // Places the buttons; the width it needs comes back in W.
  void AdjustSize(int32_t& W, int32_t& H);
  void BtnClick(TObject* Sender);
  void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void SetFocusBtn(TAdvTimerSpeedButton* Btn);
  TAdvTimerSpeedButton* upButton_;
  TAdvTimerSpeedButton* downButton_;
  TAdvTimerSpeedButton* focusedButton_;
  TWinControl* focusControl_ = nullptr;
  TSpinDirection direction_ = spVertical;
};

// The 9 x 6 arrows the spin buttons show by default.
void LoadSpinGlyph(TBitmap* Bitmap, bool Up);
// The least height of an edit in Font: its character height and a quarter of the smaller of it and
// the system font's.
int32_t EditMinHeight(TFont* Font);
// An edit below MinHeight is raised to it (false); otherwise its button goes to its right edge.
bool PlaceEditButton(TCustomEdit* Edit, TControl* Button, int32_t MinHeight);

// ============================================================================ spin edit =======

// The value lives in the text; the bounds apply when it is set and when the edit is left.
class TAsgSpinEdit : public TCustomMaskEdit {
  PL_CLASS(TAsgSpinEdit)
 public:
  explicit TAsgSpinEdit(TComponent* AOwner);
  ~TAsgSpinEdit() override;

  TAsgSpinType GetSpinType() const { return spinType_; }
  void SetSpinType(TAsgSpinType Value);
  // Integer value; MinValue when the text is not an integer.
  int32_t GetValue();
  void SetValue(int32_t Value);
  int32_t MinValue = 0, MaxValue = 100, Increment = 1;
  // MinValue (the integer bound) when the text is not a number.
  double GetFloatValue();
  void SetFloatValue(double Value);
  double MinFloatValue = 0, MaxFloatValue = 100, IncrementFloat = 0;
  // Now when the text is empty or "0"; MinDateValue when it is not a date.
  TDateTime GetDateValue();
  void SetDateValue(TDateTime Value);
  TDateTime MinDateValue = 0, MaxDateValue = 0;
  // 0 when the text is not a time.
  TDateTime GetTimeValue();
  void SetTimeValue(TDateTime Value);
  int32_t GetPrecision() const { return precision_; }
  void SetPrecision(int32_t Value);
  bool EditorEnabled = true;
  bool ReturnIsTab = false;
  TSpinDirection GetDirection() const { return button_->GetDirection(); }
  void SetDirection(TSpinDirection Value);
  bool GetSpinFlat() const { return spinFlat_; }
  void SetSpinFlat(bool Value);
  bool GetSpinTransparent() const { return spinTransparent_; }
  void SetSpinTransparent(bool Value);
  void SetIsWinXP(bool Value);
  TAsgSpinButton* Button() const { return button_; }

  virtual void UpClick(TObject* Sender);
  virtual void DownClick(TObject* Sender);
  virtual bool IsValidChar(char Key);
  int32_t CheckValue(int32_t NewValue) const;
  double CheckFloatValue(double NewValue) const;
  TDateTime CheckDateValue(TDateTime NewValue) const;

  void Loaded() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void DoExit() override;
  void Resize() override;
  // One step of D (+1 up, -1 down) in the spin type's unit.
  void Step(int32_t D);

 private:
  void SetEditRect();
  int32_t MinHeight();
  TAsgSpinButton* button_;
  TAsgSpinType spinType_ = sptNormal;
  int32_t precision_ = 0;
  bool spinFlat_ = false, spinTransparent_ = false;
  TDateTime dateValue_ = 0, timeValue_ = 0;
};
