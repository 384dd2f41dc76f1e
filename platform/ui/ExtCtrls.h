// The timer component, the panel, the paint box, the radio group, the bevel, the image and
// the shape.
//
// Thread contract: main thread only.  Timers fire from every message loop of the main thread
// (the application's, modal ones, ProcessMessages).
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Lists.h"
#include "platform/ui/StdButtons.h"

// ============================================================================ timer ===========

// Calls OnTimer every Interval milliseconds while Enabled.  An interval of 0 (or no handler)
// never fires; setting Enabled to the value it has changes nothing (a running timer keeps its
// phase); a new Interval or handler starts the period again.
class TTimer : public TComponent {
  PL_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool Value);
  uint32_t GetInterval() const { return interval_; }
  void SetInterval(uint32_t Value);
  const TNotifyEvent& GetOnTimer() const { return onTimer_; }
  void SetOnTimer(const TNotifyEvent& Value);
  // Whether the system timer runs now.
  bool Running() const { return running_; }

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool enabled_ = true;
  uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
  HWND window_ = nullptr;
  bool running_ = false;
};

// ============================================================================ panel ===========

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int32_t;
template <>
const EnumNames& EnumNamesOf<TBevelCut>();

// A container with a caption and two bevels; the children align inside the bevels and border.
class TCustomPanel : public TCustomControl {
  PL_CLASS(TCustomPanel)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TBevelCut GetBevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut GetBevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut Value);
  TBevelWidth GetBevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(TBevelWidth Value);
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetFullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool Value) { fullRepaint_ = Value; }
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  void BevelsChanged();
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone, bevelOuter_ = bvRaised;
  TBevelWidth bevelWidth_ = 1;
  TBorderStyle borderStyle_ = bsNone;
  bool fullRepaint_ = true;
};

class TPanel : public TCustomPanel {
  PL_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ============================================================================ paint box =======

// A windowless area the program paints in OnPaint.
class TPaintBox : public TGraphicControl {
  PL_CLASS(TPaintBox)
 public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};

// ============================================================================ radio group =====

class TCustomRadioGroup;

// One radio button of a radio group, made by the group for one of its items.
class TGroupButton : public TRadioButton {
  PL_CLASS(TGroupButton)
 public:
  explicit TGroupButton(TCustomRadioGroup* Group);
  void Click() override;

 private:
  TCustomRadioGroup* group_;
};

// A group box of radio buttons, one per line of Items, in Columns columns; ItemIndex is the
// checked one (-1: none).  OnClick follows each change of the checked button.
class TCustomRadioGroup : public TCustomGroupBox {
  PL_CLASS(TCustomRadioGroup)
 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  TStrings* GetItems() const { return items_.get(); }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  int32_t GetItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t Value);
  int32_t GetColumns() const { return columns_; }
  // 1 .. 16; other values raise EInvalidOperation.
  void SetColumns(int32_t Value);
  int32_t ButtonCount() const { return int32_t(buttons_.size()); }
  TGroupButton* Buttons(int32_t Index) const { return buttons_.at(size_t(Index)); }
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

 protected:
  friend class TGroupButton;
  void ButtonClick(TGroupButton* Button);
  void ArrangeButtons();
  void UpdateButtons();

 private:
  void ItemsChange(TObject*);
  std::unique_ptr<TStringList> items_;
  std::vector<TGroupButton*> buttons_;
  int32_t itemIndex_ = -1;
  int32_t columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
  PL_CLASS(TRadioGroup)
 public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};

// ============================================================================ bevel ===========

enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle : uint8_t { bsLowered, bsRaised };
template <>
const EnumNames& EnumNamesOf<TBevelShape>();
template <>
const EnumNames& EnumNamesOf<TBevelStyle>();

// A sunken or raised box, frame or line drawn on the parent.
class TBevel : public TGraphicControl {
  PL_CLASS(TBevel)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape GetShape() const { return shape_; }
  void SetShape(TBevelShape Value);
  TBevelStyle GetStyle() const { return style_; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// ============================================================================ image ===========

// Shows a picture: at its size from the top-left corner, centred, or stretched (keeping its
// proportions when Proportional); with AutoSize the control takes the picture's size.
class TImage : public TGraphicControl {
  PL_CLASS(TImage)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* GetPicture() const { return picture_.get(); }
  void SetPicture(TPicture* Value) { picture_->Assign(Value); }
  bool GetStretch() const { return stretch_; }
  void SetStretch(bool Value);
  bool GetCenter() const { return center_; }
  void SetCenter(bool Value);
  bool GetProportional() const { return proportional_; }
  void SetProportional(bool Value);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool Value);
  void SetAutoSize(bool Value) override;
  // Where the picture is drawn, in client coordinates.
  TRect DestRect();

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject*);
  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false, center_ = false, proportional_ = false, transparent_ = false;
};

// ============================================================================ shape ===========

enum TShapeType : uint8_t { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
template <>
const EnumNames& EnumNamesOf<TShapeType>();

// A rectangle, square, rounded rectangle or square, ellipse or circle in Pen and Brush.
class TShape : public TGraphicControl {
  PL_CLASS(TShape)
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType GetShape() const { return shape_; }
  void SetShape(TShapeType Value);
  TPen* GetPen() const { return pen_.get(); }
  void SetPen(TPen* Value) { pen_->Assign(Value); }
  TBrush* GetBrush() const { return brush_.get(); }
  void SetBrush(TBrush* Value) { brush_->Assign(Value); }

 protected:
  void Paint() override;

 private:
  void StyleChanged(TObject*) { Invalidate(); }
  TShapeType shape_ = stRectangle;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
};
