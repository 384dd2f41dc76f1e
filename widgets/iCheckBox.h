// An owner-drawn check box in the desktop's 3-D button colours, so that it matches the rest of a
// dialog (the plot's property editor stands on it).
#pragma once

#include <memory>

#include "widgets/iCustomComponent.h"

class TiCheckBox : public TiCustomComponent {
  PL_CLASS(TiCheckBox)
 public:
  explicit TiCheckBox(TComponent* AOwner);
  ~TiCheckBox() override;

  const AnsiString& GetCaption() const { return caption_; }
  void SetCaption(const AnsiString& Value);
  bool GetChecked() const { return checked_; }
  void SetChecked(bool Value);
  // taRightJustify: the box on the left, the caption on its right; taLeftJustify the other way.
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) override;
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }

  void PaintToCanvas(TCanvas* Canvas) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChangeUser;  // only for clicks and the space bar

 protected:
  // The property-changed hook, OnChange, then OnChangeUser for the user's changes; nothing while
  // a definition is read.
  virtual void DoChange();
  void DoGotFocus() override;
  void DoLostFocus() override;
  void HandleKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleKeyUp(WORD& Key, TShiftState Shift) override;
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  void FontChanged(TObject* Sender);
  void ResizeToCaption();
  void UserToggle();

  AnsiString caption_ = "Caption";
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
  bool autoSize_ = true;
  std::unique_ptr<TFont> font_;
  bool pressed_ = false;
  bool keyHeld_ = false;
  bool userChange_ = false;
  bool resizing_ = false;
};
