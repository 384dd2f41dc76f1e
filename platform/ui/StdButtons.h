// Labels, push buttons, check boxes, radio buttons, group boxes and scroll bars, in the classic
// look of the system colours.
//
// Thread contract: main thread only.
//
// Sections: label / static text / button controls / push button / check box / radio button /
// group box / scroll bar.
#pragma once

#include "platform/ui/Controls.h"

// ============================================================================ label ===========

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
template <>
const EnumNames& EnumNamesOf<TTextLayout>();

// Text painted on its parent.  "&" marks the accelerator, which focuses FocusControl; with
// AutoSize the label keeps the size of its text (growing away from its alignment side).
class TCustomLabel : public TGraphicControl {
  PL_CLASS(TCustomLabel)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const { return layout_; }
  void SetLayout(TTextLayout Value);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  bool GetTransparent() const { return !ControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool GetShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool Value);
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

 protected:
  // The text to show (the caption; descendants may show something else).
  virtual AnsiString GetLabelText();
  // Draws (or with DT_CALCRECT in Flags measures) the text in Rect on the canvas.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  void Paint() override;
  // Fits the bounds to the text when AutoSize.
  void AdjustBounds();

 private:
  UINT TextFlags() const;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
  PL_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ============================================================================ static text =====

enum TStaticBorderStyle : uint8_t { sbsNone, sbsSingle, sbsSunken };
template <>
const EnumNames& EnumNamesOf<TStaticBorderStyle>();

// A label with a window of its own (it can sit above windowed siblings); never takes the focus.
class TCustomStaticText : public TCustomControl {
  PL_CLASS(TCustomStaticText)
 public:
  explicit TCustomStaticText(TComponent* AOwner);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TStaticBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TStaticBorderStyle Value);
  bool GetShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool Value);
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  TStaticBorderStyle borderStyle_ = sbsNone;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TStaticText : public TCustomStaticText {
  PL_CLASS(TStaticText)
 public:
  explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};

// ============================================================================ button controls =

// What push buttons, check boxes and radio buttons share: a press that follows the mouse while
// the left button is held (or Space), and a click reported to the parent as BN_CLICKED, which
// comes back as CN_COMMAND.
class TButtonControl : public TCustomControl {
  PL_CLASS(TButtonControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  // Whether the control shows pressed now (mouse held inside, or Space held).
  bool Pushed() const { return pushed_; }
  // Suppresses Click while the state is set by code that must not report it.
  bool ClicksDisabled = false;
  void Dispatch(TMessage& Message) override;

 protected:
  // A click of the user: BN_CLICKED to the parent window (or straight to Clicked without one).
  void NotifyClick();
  // The reflected BN_CLICKED: push buttons click, check boxes toggle, radio buttons check.
  virtual void Clicked() = 0;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  // The caption in the control's font and colour, greyed (etched) when disabled.
  void DrawCaption(TRect Rect, UINT Flags);

 private:
  void SetPushed(bool Value);
  bool wordWrap_ = false;
  bool pushed_ = false;
  bool tracking_ = false;  // left button pressed on the control, not yet released
  bool spaceDown_ = false;
};

// ============================================================================ push button =====

// A push button.  Its click sets the parent form's ModalResult (ending a modal form when not
// mrNone); Enter clicks the focused button, or the Default one while no button has the focus;
// Escape clicks a Cancel button.
class TButton : public TButtonControl {
  PL_CLASS(TButton)
 public:
  explicit TButton(TComponent* AOwner);
  bool GetDefault() const { return default_; }
  void SetDefault(bool Value);
  bool GetCancel() const { return cancel_; }
  void SetCancel(bool Value) { cancel_ = Value; }
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }
  // Whether Enter clicks this button now.
  bool Active() const { return active_; }
  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Clicked() override { Click(); }
  void Paint() override;
  // The face inside the bevels, where caption and glyph go.
  virtual void PaintContent(TCanvas* Canvas, const TRect& Face, bool IsDown);
  // Sets the default look from the control the form's focus is on.
  void UpdateActive(TControl* Focused);

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  TModalResult modalResult_ = mrNone;
};

// ============================================================================ check box =======

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
// Which side the caption is on (taRightJustify: box on the left, caption on the right).
using TLeftRight = TAlignment;
template <>
const EnumNames& EnumNamesOf<TCheckBoxState>();

// A box with a check mark and a caption.  A click or Space moves the state on: unchecked,
// (grayed when AllowGrayed), checked, unchecked; every change of State raises OnClick.
class TCustomCheckBox : public TButtonControl {
  PL_CLASS(TCustomCheckBox)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  TCheckBoxState GetState() const { return state_; }
  void SetState(TCheckBoxState Value);
  bool GetChecked() const { return state_ == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  bool GetAllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
  TLeftRight GetAlignment() const { return alignment_; }
  void SetAlignment(TLeftRight Value);
  // The next state of a click.
  virtual void Toggle();
  void Dispatch(TMessage& Message) override;

 protected:
  void Clicked() override { Toggle(); }
  void Paint() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TLeftRight alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  PL_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// ============================================================================ radio button ====

// One choice of a group: the radio buttons with the same parent.  Checking one clears the
// others; only the checked one is a tab stop, and the arrow keys move (and check) within the
// group.  OnClick is raised when the button becomes checked.
class TRadioButton : public TButtonControl {
  PL_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* AOwner);
  bool GetChecked() const { return checked_; }
  virtual void SetChecked(bool Value);
  TLeftRight GetAlignment() const { return alignment_; }
  void SetAlignment(TLeftRight Value);
  void Dispatch(TMessage& Message) override;

 protected:
  void Clicked() override { SetChecked(true); }
  void Paint() override;

 private:
  void TurnSiblingsOff();
  bool checked_ = false;
  TLeftRight alignment_ = taRightJustify;
};

// ============================================================================ group box =======

// A frame with a caption around other controls; its accelerator focuses the first of them.
class TCustomGroupBox : public TCustomControl {
  PL_CLASS(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  // The caption's text height in the control's font.
  int32_t CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
  PL_CLASS(TGroupBox)
 public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ============================================================================ scroll bar ======

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
// The steps of a scroll, in the order of the SB_* codes.
enum TScrollCode : uint8_t {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};
template <>
const EnumNames& EnumNamesOf<TScrollBarKind>();
template <>
const EnumNames& EnumNamesOf<TScrollCode>();
// ScrollPos may be changed by the handler.
using TScrollEvent = TEvent<TObject*, TScrollCode, int32_t&>;

// EInvalidOperation's text for a range that cannot hold (Max below Min or below PageSize).
inline constexpr const char* SScrollBarRange = "Scrollbar property out of range";

// A scroll bar control: arrows step by SmallChange, the track by LargeChange, the thumb drags;
// the keys step too (arrows, Page Up/Down, Home, End).  Position stays within Min .. Max less
// the page; OnScroll sees each step first, OnChange follows each change of Position.
class TScrollBar : public TCustomControl {
  PL_CLASS(TScrollBar)
 public:
  explicit TScrollBar(TComponent* AOwner);
  ~TScrollBar() override;
  TScrollBarKind GetKind() const { return kind_; }
  void SetKind(TScrollBarKind Value);
  int32_t GetPosition() const { return position_; }
  void SetPosition(int32_t Value) { SetParams(Value, min_, max_); }
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t Value);
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t Value);
  int32_t GetPageSize() const { return pageSize_; }
  void SetPageSize(int32_t Value);
  int32_t GetSmallChange() const { return smallChange_; }
  void SetSmallChange(int32_t Value) { smallChange_ = Value; }
  int32_t GetLargeChange() const { return largeChange_; }
  void SetLargeChange(int32_t Value) { largeChange_ = Value; }
  // Sets all three at once; EInvalidOperation when Max is below Min.  The position is brought
  // into the range.
  void SetParams(int32_t APosition, int32_t AMin, int32_t AMax);
  // The highest position the thumb reaches (Max less the page).
  int32_t MaxPosition() const;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int32_t& ScrollPos);
  // One step of the user (or of a reflected WM_HSCROLL / WM_VSCROLL).
  void DoScroll(TScrollCode Code, int32_t TrackPos = 0);
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;

 private:
  enum TPart : uint8_t { spNone, spArrow1, spPage1, spThumb, spPage2, spArrow2 };
  struct TParts {
    TRect Arrow1, Arrow2, Track, Thumb;
  };
  TParts Parts() const;
  TPart PartAt(TPoint P) const;
  int32_t Along(TPoint P) const { return kind_ == sbVertical ? P.Y : P.X; }
  void RepeatStep();
  void StopTracking();

  TScrollBarKind kind_ = sbHorizontal;
  int32_t position_ = 0, min_ = 0, max_ = 100, pageSize_ = 0;
  int32_t smallChange_ = 1, largeChange_ = 1;
  TPart pressed_ = spNone;
  bool over_ = false;     // the mouse is on the pressed part
  int32_t grab_ = 0;      // where in the thumb it was taken
  int32_t trackPos_ = 0;  // the thumb's position while dragged
  bool timerOn_ = false;
};
