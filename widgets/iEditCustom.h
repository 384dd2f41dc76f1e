// A single-line text editor drawn by the widget library itself: its own text, caret, selection
// and horizontal scrolling, keys, mouse, clipboard and a built-in context menu.  Typing is kept
// apart from committing: an edit takes effect only when the text is applied (Enter, leaving the
// control, or the menu's Apply).
//
// Sections: properties / editing / clipboard and menu / keys and mouse / painting.
#pragma once

#include <memory>

#include "widgets/iCustomComponent.h"

class TPopupMenu;
class TMenuItem;

class TiEditCustom : public TiCustomComponent {
  PL_CLASS(TiEditCustom)
 public:
  explicit TiEditCustom(TComponent* AOwner);
  ~TiEditCustom() override;

  // ---- properties --------------------------------------------------------------------------------
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  int32_t GetAlignmentMargin() const { return alignmentMargin_; }
  void SetAlignmentMargin(int32_t Value);
  bool GetAutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool Value);
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) override;
  // 0: no limit.
  int32_t GetMaxLength() const { return maxLength_; }
  virtual void SetMaxLength(int32_t Value);
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);

  // ---- editing -----------------------------------------------------------------------------------
  const AnsiString& GetEditText() const { return text_; }
  // A different text replaces the present one (caret and selection to 0) and is applied.
  void SetEditText(const AnsiString& S);
  const AnsiString& AppliedText() const { return appliedText_; }
  // Position p lies before the (p+1)-th character; the setters clamp to 0 .. length.
  int32_t GetCaret() const { return caret_; }
  void SetCaret(int32_t Value);
  int32_t GetSelStart() const { return selStart_; }
  void SetSelStart(int32_t Value);
  int32_t GetSelLength() const { return selLength_; }
  void SetSelLength(int32_t Value);
  AnsiString GetSelText() const;
  // Replaces the selection with S and puts the caret behind it (not applied).
  void InsertText(const AnsiString& S);
  void DeleteSelection();
  // Back to the last applied text.
  void UndoEdit();

  virtual void DoChange();
  // Commits the typed text.
  virtual void ApplyText();
  // Whether a typed character may go into the text.
  virtual bool AcceptChar(char Key);
  virtual void SelectAllText();

  // ---- clipboard and menu ----------------------------------------------------------------------------
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  // The built-in menu: "Apply", "Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All".
  TPopupMenu* BuiltInMenu() const { return menu_.get(); }
  // Enables its items for the present state (done when it opens).
  void UpdateBuiltInMenu();

  void PaintToCanvas(TCanvas* Canvas) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;

 protected:
  void DoGotFocus() override;
  void DoLostFocus() override;
  void HandleKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleKeyPress(char& Key) override;
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleDblClick() override;
  // Stores an applied text without going through ApplyText.
  void SetAppliedText(const AnsiString& Value) { appliedText_ = Value; }
  // The caret position nearest to a client X, by the last paint's layout.
  int32_t PositionFromX(int32_t X);

 private:
  void FontChanged(TObject* Sender);
  void AdjustHeight();
  int32_t FrameWidth() const { return GetBorderStyle() == ibsNone ? 0 : 2; }
  // A canvas with Font selected, for measuring outside painting.
  TCanvas* MeasureCanvas();
  int32_t RunWidth(TCanvas* Canvas, int32_t From, int32_t To) const;
  void SelectSpan(int32_t Anchor, int32_t Caret);
  void BuildMenu();
  void MenuApply(TObject* Sender);
  void MenuUndo(TObject* Sender);
  void MenuCut(TObject* Sender);
  void MenuCopy(TObject* Sender);
  void MenuPaste(TObject* Sender);
  void MenuDelete(TObject* Sender);
  void MenuSelectAll(TObject* Sender);
  void ShowCaretAt(int32_t X, int32_t Y);
  void DropCaret();

  TAlignment alignment_ = taLeftJustify;
  int32_t alignmentMargin_ = 0;
  bool autoSelect_ = true;
  bool autoSize_ = true;
  int32_t maxLength_ = 0;
  std::unique_ptr<TFont> font_;
  TColor color_ = clWindow;

  AnsiString text_;
  AnsiString appliedText_;
  int32_t caret_ = 0;
  int32_t selStart_ = 0;
  int32_t selLength_ = 0;
  int32_t anchor_ = 0;
  int32_t firstVisible_ = 0;
  int32_t lastVisible_ = -1;
  TRect textRect_{};
  bool mouseSelecting_ = false;
  bool dblClick_ = false;
  bool caretCreated_ = false;
  bool caretShown_ = false;
  bool adjusting_ = false;
  std::unique_ptr<TBitmap> measure_;
  std::unique_ptr<TPopupMenu> menu_;
};
