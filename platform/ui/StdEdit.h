// Single-line and multi-line edit controls: TCustomEdit holds the whole editing machinery (text,
// caret, selection, keyboard and mouse editing, clipboard, undo, scrolling, painting) and answers
// the edit control's messages (EM_*, WM_CUT ... WM_UNDO, WM_GETTEXT / WM_SETTEXT), with the
// ES_* styles of its window deciding single or multiple lines, alignment, case and the rest.
// Changes are announced to the parent as WM_COMMAND (EN_CHANGE, EN_SETFOCUS, EN_KILLFOCUS,
// EN_UPDATE, EN_MAXTEXT), which the parent control hands back as CN_COMMAND.  TMemo adds lines.
//
// Positions are 0-based character indexes; a line break is the two characters CR LF.
//
// Thread contract: UI thread only.
//
// Sections: types / TCustomEdit / TEdit / memo lines / TCustomMemo and TMemo.
#pragma once

#include <memory>
#include <vector>

#include "platform/os/user/EditControl.h"
#include "platform/runtime/Lists.h"
#include "platform/ui/Controls.h"

// ============================================================================ types ===========

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
template <>
const EnumNames& EnumNamesOf<TEditCharCase>();

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
template <>
const EnumNames& EnumNamesOf<TScrollStyle>();

// ============================================================================ TCustomEdit =====

// An edit box.  Its text, selection and undo state live in the control, so they are there with
// or without a window and survive the window's re-creation.
class TCustomEdit : public TWinControl {
  PL_CLASS(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  // ---- properties ----------------------------------------------------------------------------
  // Entering by keyboard selects the whole text.
  bool GetAutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool Value) { autoSelect_ = Value; }
  // The height follows the font.
  void SetAutoSize(bool Value) override;
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  // Typed and pasted letters are changed to the case (through the single-byte code page).
  TEditCharCase GetCharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase Value);
  // The selection shows only while the edit has the focus.
  bool GetHideSelection() const { return hideSelection_; }
  void SetHideSelection(bool Value);
  // The most characters the user may enter; 0: no limit.  Text set by the program is not cut.
  int32_t GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t Value);
  bool GetModified() const { return modified_; }
  void SetModified(bool Value) { modified_ = Value; }
  // Shown for every character; #0 shows the text.  Copying and cutting are refused meanwhile.
  char GetPasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char Value);
  // The user cannot change the text; the program still can.
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value);
  int32_t GetSelStart();
  void SetSelStart(int32_t Value);
  int32_t GetSelLength();
  void SetSelLength(int32_t Value);
  AnsiString GetSelText();
  // Replaces the selection (the caret ends after the new text).
  void SetSelText(const AnsiString& Value);
  bool GetCanUndo() const { return canUndo_; }
  bool CanUndo() const { return canUndo_; }

  // ---- operations ----------------------------------------------------------------------------
  void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  void SelectAll();

  TNotifyEvent OnChange;

  void Dispatch(TMessage& Message) override;
  // The edit control's own handling of the messages the control left to the window.
  void DefaultHandler(TMessage& Message) override;

 protected:
  // Raises OnChange (after every change of the text, by the user or the program).
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  // A multi-line edit scrolls its lines by the system's wheel step.
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  TCanvas* GetCanvas() const { return canvas_.get(); }
  // The style bits in effect: the window's, or what CreateParams would give it.
  DWORD EditStyle();
  // Sets the height from the font when AutoSize is on.
  void AdjustHeight();

  // ---- the machinery, for derived editors ------------------------------------------------------
  const AnsiString& EditBuffer() const { return text_; }
  // Replaces [Start, End) by S as one undoable step; no checks of limit or read-only.
  void ReplaceRange(int32_t Start, int32_t End, const AnsiString& S, bool Typing);
  // ReplaceRange as the user's edit: the text is modified, the caret shown, the change told.
  void EditRange(int32_t Start, int32_t End, const AnsiString& S, bool Typing);
  // Anchor and caret end; the caret scrolls into view when Show.
  void SetSelRange(int32_t Anchor, int32_t CaretEnd, bool Show);
  int32_t CaretIndex() const { return selEnd_; }
  int32_t AnchorIndex() const { return selAnchor_; }
  // The character under a client point, and the client point of a character's top-left.  An
  // editor that draws its own layout answers both from it, so caret, mouse and messages agree
  // with what shows.
  virtual int32_t CharFromPos(TPoint P);
  virtual TPoint PosFromChar(int32_t Index);
  // The caret's height when it stands at Index.
  virtual int32_t CaretHeight(int32_t Index);
  // The area the text is laid out in (client coordinates).
  TRect FormatRect();
  // The first line in view, and the pixels of the lines left of the view.
  int32_t TopLine() const { return topLine_; }
  int32_t XOffset() const { return xOffset_; }
  // How many whole lines fit in the view from line First downwards (Down), or upwards from the
  // line before First; at least one.  An editor with lines of their own heights counts them.
  virtual int32_t PageLines(int32_t First, bool Down);
  // The width of the first Length characters of line Line as laid out.
  virtual int32_t LineWidth(int32_t Line, int32_t Length);
  // Puts the caret where the selection's end shows.
  void UpdateCaret();

  struct TLine {
    int32_t Start = 0;
    int32_t Length = 0;  // without the line break
  };
  // The lines as laid out (wrapped when multi-line without ES_AUTOHSCROLL); laid out again only
  // after the text, the layout or the width changed.
  const std::vector<TLine>& Lines();
  // Breaks the whole multi-line text into lines; long lines break within Width when Wrap.
  virtual void BreakLines(std::vector<TLine>& Out, int32_t Width, bool Wrap);
  // The layout depends on more than the text and the font (a derived editor's formats).
  void InvalidateLayout();
  HDC MeasureDC();
  // Where a line [Start, End) of Text that is wider than Width breaks: after the longest part
  // that fits (at least one character), moved back to a word's start or on past blanks.
  // WidthOf(S, E) measures [S, E).
  template <class F>
  static int32_t WrapPoint(const AnsiString& Text, int32_t Start, int32_t End, int32_t Width, F&& WidthOf);
  // The boundary (0 .. Count) nearest to X among positions whose X coordinate XOf(i) grows with i.
  template <class F>
  static int32_t NearestBoundary(int32_t X, int32_t Count, F&& XOf);

 private:
  struct TSnapshot {
    AnsiString Text;
    int32_t Anchor = 0, End = 0;
  };
  enum class TLastEdit : uint8_t { None, Typing, Other };

  bool MultiLine() { return (EditStyle() & ES_MULTILINE) != 0; }
  void TextChanged(bool ByUser);
  void Notify(WORD Code);
  int32_t LineOf(int32_t Index);
  int32_t LineHeight();
  bool WheelScroll(bool Down);
  AnsiString Shown(int32_t Start, int32_t Length) const;
  int32_t TextWidth(int32_t Start, int32_t Length);
  int32_t LineLeft(const TLine& L);
  int32_t VisibleLineCount();
  // The last line that can be the first in view, and the widest line's width.
  int32_t MaxTopLine();
  int32_t WidestLine();
  void ScrollCaret();
  void UpdateScrollBars();
  void Scroll(int32_t Bar, int32_t Code, int32_t Pos);
  int32_t Clamp(int32_t Index) const;
  // Moves the caret end; Extend keeps the anchor.
  void MoveCaret(int32_t Index, bool Extend);
  int32_t WordLeft(int32_t Index) const;
  int32_t WordRight(int32_t Index) const;
  int32_t NextChar(int32_t Index) const;
  int32_t PrevChar(int32_t Index) const;
  // Inserts user text in place of the selection: case, number filter, limit, line breaks.
  bool InsertUserText(AnsiString S, bool Typing);
  bool DeleteUser(bool Forward);
  void KeyDownDefault(TMessage& Message);
  void CharDefault(TMessage& Message);
  void MouseDefault(TMessage& Message);
  bool CopySelection();
  void DoUndo();
  void SetStyleBit(DWORD Bit, bool On);

  std::unique_ptr<TControlCanvas> canvas_;
  AnsiString text_;
  int32_t selAnchor_ = 0, selEnd_ = 0;
  TSnapshot undo_;
  bool canUndo_ = false;
  TLastEdit lastEdit_ = TLastEdit::None;
  int32_t maxLength_ = 0;
  bool modified_ = false;
  char passwordChar_ = 0;
  bool readOnly_ = false;
  bool autoSelect_ = true;
  bool hideSelection_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  TEditCharCase charCase_ = ecNormal;
  // Scrolling: pixels of the lines left of the view, the first line in view.
  int32_t xOffset_ = 0;
  int32_t topLine_ = 0;
  TRect formatRect_;
  bool formatRectSet_ = false;
  // Pixels between the client edges and the text, unless a formatting rectangle is set.
  int32_t leftMargin_ = 2, rightMargin_ = 2;
  std::vector<TLine> lines_;
  bool layoutValid_ = false;
  int32_t layoutWidth_ = -1;
  HDC measureDC_ = nullptr;
  bool selecting_ = false;
  bool creating_ = false;
  bool hasCaret_ = false;
  int32_t caretHeight_ = 0;
};

template <class F>
int32_t TCustomEdit::WrapPoint(const AnsiString& Text, int32_t Start, int32_t End, int32_t Width,
                               F&& WidthOf) {
  int32_t lo = Start + 1, hi = End;
  while (lo < hi) {
    int32_t mid = lo + (hi - lo + 1) / 2;
    if (WidthOf(Start, mid) <= Width)
      lo = mid;
    else
      hi = mid - 1;
  }
  int32_t brk = lo;
  auto blank = [&](int32_t i) { return Text[size_t(i)] == ' ' || Text[size_t(i)] == '\t'; };
  if (brk < End && blank(brk)) {
    while (brk < End && blank(brk)) ++brk;
  } else {
    int32_t b = brk;
    while (b > Start && !blank(b - 1)) --b;
    if (b > Start) brk = b;
  }
  return brk;
}

template <class F>
int32_t TCustomEdit::NearestBoundary(int32_t X, int32_t Count, F&& XOf) {
  // The first boundary whose middle to the next lies right of X.
  int32_t lo = 0, hi = Count;
  while (lo < hi) {
    int32_t mid = (lo + hi) / 2;
    if (X < (XOf(mid) + XOf(mid + 1) + 1) / 2)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

class TEdit : public TCustomEdit {
  PL_CLASS(TEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ============================================================================ memo lines ======

class TCustomMemo;

// A memo's text seen as lines: a line ends at a line break (or where the memo wraps it).  A
// last line that is empty is not counted, so the text of added lines ends with CR LF.
class TMemoStrings : public TStrings {
  PL_CLASS(TMemoStrings)
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : memo_(Memo) {}
  AnsiString Get(int32_t Index) const override;
  int32_t GetCount() const override;
  void Put(int32_t Index, const AnsiString& S) override;
  void Clear() override;
  void Delete(int32_t Index) override;
  void Insert(int32_t Index, const AnsiString& S) override;
  AnsiString GetText() const override;
  void SetText(const AnsiString& Text) override;

 private:
  TCustomMemo* memo_;
};

// ============================================================================ memo ============

// A multi-line edit with its text as Lines.
class TCustomMemo : public TCustomEdit {
  PL_CLASS(TCustomMemo)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* GetLines() const { return lines_.get(); }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TScrollStyle GetScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  // Long lines break at the right edge (between words where there are any).
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  // Enter (Tab) types a line break (a tab) instead of going to the form.
  bool GetWantReturns() const { return wantReturns_; }
  void SetWantReturns(bool Value) { wantReturns_ = Value; }
  bool GetWantTabs() const { return wantTabs_; }
  void SetWantTabs(bool Value) { wantTabs_ = Value; }
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;
  // A derived memo may see its lines through its own kind of list.
  void SetLinesObject(std::unique_ptr<TMemoStrings> Lines) { lines_ = std::move(Lines); }

 private:
  std::unique_ptr<TMemoStrings> lines_;
  TAlignment alignment_ = taLeftJustify;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
  PL_CLASS(TMemo)
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
