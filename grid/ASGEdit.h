// The grid library's edits with a button: TAsgEditBtn, a single-line edit with a small button at
// its right edge whose click (or F4) raises OnClickBtn, and TAsgUnitEditBtn, which shows a unit
// text between the value and the button and picks the unit from a popup menu.
//
// Thread contract: UI thread only.
//
// Sections: speed button / edit button / edit with button / unit edit.
#pragma once

#include <memory>

#include "platform/ui/Buttons.h"
#include "platform/ui/StdEdit.h"

// ============================================================================ speed button ====

// A speed button drawn with the visual styles, flat, or as a classic push button.
class TAdvSpeedButton : public TSpeedButton {
  PL_CLASS(TAdvSpeedButton)
 public:
  explicit TAdvSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
  bool IsWinXP = false;
  bool MouseInside() const { return mouseInside_; }
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  bool mouseInside_ = false;
};

// ============================================================================ edit button =====

// A window holding one speed button; releasing the left mouse button over it fires OnClick.
class TAsgEditButton : public TWinControl {
  PL_CLASS(TAsgEditButton)
 public:
  explicit TAsgEditButton(TComponent* AOwner);
  TAdvSpeedButton* SpeedButton() const { return button_; }
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);
  TBitmap* GetGlyph() const { return button_->GetGlyph(); }
  void SetGlyph(TBitmap* Value) { button_->SetGlyph(Value); }
  AnsiString GetButtonCaption() const { return button_->GetCaption(); }
  void SetButtonCaption(const AnsiString& Value) { button_->SetCaption(Value); }
  int32_t GetNumGlyphs() const { return button_->GetNumGlyphs(); }
  void SetNumGlyphs(int32_t Value) { button_->SetNumGlyphs(Value); }
  bool GetFlat() const { return button_->GetFlat(); }
  void SetFlat(bool Value) { button_->SetFlat(Value); }
  TNotifyEvent OnClick;

  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  TAdvSpeedButton* button_;
  TWinControl* focusControl_ = nullptr;
};

// ============================================================================ edit with button

class TAsgEditBtn : public TCustomEdit {
  PL_CLASS(TAsgEditBtn)
 public:
  explicit TAsgEditBtn(TComponent* AOwner);
  ~TAsgEditBtn() override;
  int32_t GetButtonWidth() const { return button_->Width(); }
  void SetButtonWidth(int32_t Value);
  AnsiString GetButtonCaption() const { return button_->GetButtonCaption(); }
  void SetButtonCaption(const AnsiString& Value) { button_->SetButtonCaption(Value); }
  TBitmap* GetGlyph() const { return button_->GetGlyph(); }
  void SetGlyph(TBitmap* Value) { button_->SetGlyph(Value); }
  int32_t GetNumGlyphs() const { return button_->GetNumGlyphs(); }
  void SetNumGlyphs(int32_t Value) { button_->SetNumGlyphs(Value); }
  bool EditorEnabled = true;
  bool GetRightAlign() const { return rightAlign_; }
  void SetRightAlign(bool Value);
  bool GetIsWinXP() const { return button_->SpeedButton()->IsWinXP; }
  void SetIsWinXP(bool Value) { button_->SpeedButton()->IsWinXP = Value; }
  TAsgEditButton* Button() const { return button_; }
  // Sender: the edit for F4, the button for a mouse release.
  TNotifyEvent OnClickBtn;
  virtual void ClickButton(TObject* Sender);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void DoEnter() override;
  void Resize() override;
  // Sets the formatting rectangle, leaving room for the button and the unit.
  void SetEditRect();
  int32_t unitSpace_ = 0;

 private:
  TAsgEditButton* button_;
  bool rightAlign_ = false;
};

// ============================================================================ unit edit =======

class TAsgUnitEditBtn : public TAsgEditBtn {
  PL_CLASS(TAsgUnitEditBtn)
 public:
  explicit TAsgUnitEditBtn(TComponent* AOwner);
  ~TAsgUnitEditBtn() override;
  TStrings* GetUnits() const { return units_.get(); }
  // Copies the list; nil is ignored.
  void SetUnits(TStrings* Value);
  const AnsiString& GetUnitID() const { return unitID_; }
  void SetUnitID(const AnsiString& Value);
  int32_t GetUnitSpace() const { return unitSpace_; }
  void SetUnitSpace(int32_t Value);
  // Pops up the unit menu under the control's right end.
  void ClickButton(TObject* Sender) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TStringList> units_;
  AnsiString unitID_;
};
