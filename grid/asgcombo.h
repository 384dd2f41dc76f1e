// The grid library's flat combo box: a combo box with its own border, its own drop-down button
// (raised, or etched, while the mouse is over it or it is active), a settable button width and
// drop-down width.  The look is a separate object so that the wide combo box wears it too.
//
// Thread contract: UI thread only.
#pragma once

#include "platform/ui/StdLists.h"

// The flat look of a combo box: its settings, the drawing, and the messages that redraw it.
class TFlatComboLook {
 public:
  explicit TFlatComboLook(TCustomComboBox* Combo);
  bool GetFlat() const { return flat_; }
  void SetFlat(bool Value);
  bool Etched = false;
  int32_t GetButtonWidth() const { return buttonWidth_; }
  // Only 14 to 32 are taken.
  void SetButtonWidth(int32_t Value);
  bool FocusBorder = false;
  bool AutoFocus = false;
  int32_t GetDropWidth() const { return dropWidth_; }
  void SetDropWidth(int32_t Value);
  bool IsWinXP = false;
  bool MouseInside() const { return mouseInside_; }
  // The messages of the look, before the combo's own handling.
  void Message(TMessage& Message);
  // Draws the button and the borders over what the combo painted.
  void Paint();
  // The mouse over the control or the control focused.
  bool Active();

 private:
  void DrawButton(HDC DC);
  void DrawBorder(HDC DC);
  void DrawButtonBorder(HDC DC);
  TCustomComboBox* combo_;
  bool flat_ = true;
  int32_t buttonWidth_;
  int32_t dropWidth_ = 0;
  bool mouseInside_ = false;
  TColor savedColor_ = clWindow;
  bool savedParentColor_ = false;
};

// A combo box class wearing the flat look, with the look's settings as its own.
template <class Base>
class TFlatComboOf : public Base {
 public:
  explicit TFlatComboOf(TComponent* AOwner) : Base(AOwner), look_(this) { this->SetCtl3D(false); }
  TFlatComboLook* Look() { return &look_; }
  bool GetFlat() const { return look_.GetFlat(); }
  void SetFlat(bool Value) { look_.SetFlat(Value); }
  bool GetEtched() const { return look_.Etched; }
  void SetEtched(bool Value) {
    look_.Etched = Value;
    this->Invalidate();
  }
  int32_t GetButtonWidth() const { return look_.GetButtonWidth(); }
  void SetButtonWidth(int32_t Value) { look_.SetButtonWidth(Value); }
  bool GetFocusBorder() const { return look_.FocusBorder; }
  void SetFocusBorder(bool Value) { look_.FocusBorder = Value; }
  bool GetAutoFocus() const { return look_.AutoFocus; }
  void SetAutoFocus(bool Value) { look_.AutoFocus = Value; }
  int32_t GetDropWidth() const { return look_.GetDropWidth(); }
  void SetDropWidth(int32_t Value) { look_.SetDropWidth(Value); }
  void SetIsWinXP(bool Value) { look_.IsWinXP = Value; }
  void Dispatch(TMessage& Message) override {
    look_.Message(Message);
    Base::Dispatch(Message);
  }

 protected:
  void Paint() override {
    Base::Paint();
    look_.Paint();
  }

 private:
  TFlatComboLook look_;
};

class TASGCustomCombo : public TFlatComboOf<TCustomComboBox> {
  PL_CLASS(TASGCustomCombo)
 public:
  explicit TASGCustomCombo(TComponent* AOwner) : TFlatComboOf<TCustomComboBox>(AOwner) {}
};

class TASGComboBox : public TASGCustomCombo {
  PL_CLASS(TASGComboBox)
 public:
  explicit TASGComboBox(TComponent* AOwner) : TASGCustomCombo(AOwner) {}
};
