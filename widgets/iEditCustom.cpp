#include "widgets/iEditCustom.h"

#include <cstring>

#include "platform/os/kernel/Kernel.h"
#include "platform/os/user/User.h"
#include "platform/ui/Menus.h"

namespace {

// ---- the layer's clipboard, plain text ----------------------------------------------------------

AnsiString iEditClipboardText(HWND Owner) {
  AnsiString text;
  if (!OpenClipboard(Owner)) return text;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) {
      const size_t n = GlobalSize(h);
      for (size_t i = 0; i < n && p[i]; ++i) text.push_back(p[i]);
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

void iEditSetClipboardText(HWND Owner, const AnsiString& Text) {
  if (!OpenClipboard(Owner)) return;
  EmptyClipboard();
  if (HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1)) {
    if (auto* p = static_cast<char*>(GlobalLock(h))) {
      std::memcpy(p, Text.c_str(), Text.size() + 1);
      GlobalUnlock(h);
    }
    SetClipboardData(CF_TEXT, h);
  }
  CloseClipboard();
}

// Item positions in the built-in menu.
enum : int32_t {
  kEditMenuApply = 0,
  kEditMenuUndo = 1,
  kEditMenuCut = 3,
  kEditMenuCopy = 4,
  kEditMenuPaste = 5,
  kEditMenuDelete = 6,
  kEditMenuSelectAll = 8
};

}  // namespace

const TClassInfo& TiEditCustom::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiEditCustom, TiCustomComponent>("TiEditCustom")
          .Prop("Alignment", &TiEditCustom::GetAlignment, &TiEditCustom::SetAlignment)
          .Default(taLeftJustify)
          .Prop("AlignmentMargin", &TiEditCustom::GetAlignmentMargin, &TiEditCustom::SetAlignmentMargin)
          .Default(0)
          .Prop("AutoSelect", &TiEditCustom::GetAutoSelect, &TiEditCustom::SetAutoSelect)
          .Default(true)
          .Prop("AutoSize", &TiEditCustom::GetAutoSize, &TiEditCustom::SetAutoSize)
          .Default(true)
          .Prop("MaxLength", &TiEditCustom::GetMaxLength, &TiEditCustom::SetMaxLength)
          .Object("Font", &TiEditCustom::GetFont, &TiEditCustom::SetFont)
          .Prop("Color", &TiEditCustom::GetColor, &TiEditCustom::SetColor)
          .Default(clWindow)
          .Type(ColorTypeInfo())
          .Prop("BorderStyle", &TiComponent::GetBorderStyle, &TiComponent::SetBorderStyle)
          .Default(ibsLowered)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true)
          .Event("OnChange", &TiEditCustom::OnChange);
  return info;
}

TiEditCustom::TiEditCustom(TComponent* AOwner) : TiCustomComponent(AOwner) {
  font_ = std::make_unique<TFont>();
  font_->OnChange = TNotifyEvent(this, &TiEditCustom::FontChanged);
  SetBorderStyle(ibsLowered);
  SetBounds(Left(), Top(), 80, 21);
  SetTabStop(true);
  BuildMenu();
}

TiEditCustom::~TiEditCustom() {
  if (caretCreated_) DropCaret();
}

// ============================================================================ properties ======

void TiEditCustom::SetAlignment(TAlignment Value) {
  if (Value == alignment_) return;
  alignment_ = Value;
  RequestRepaint();
}

void TiEditCustom::SetAlignmentMargin(int32_t Value) { SetIntProperty(Value, alignmentMargin_, 0); }
void TiEditCustom::SetAutoSelect(bool Value) { SetBoolProperty(Value, autoSelect_, 2); }
void TiEditCustom::SetMaxLength(int32_t Value) { SetIntProperty(Value, maxLength_, 2); }
void TiEditCustom::SetColor(TColor Value) { SetColorProperty(Value, color_, 0); }

void TiEditCustom::SetAutoSize(bool Value) {
  if (Value == autoSize_) return;
  autoSize_ = Value;
  AdjustHeight();
  RequestRepaint();
}

void TiEditCustom::FontChanged(TObject*) {
  AdjustHeight();
  RequestRepaint();
}

TCanvas* TiEditCustom::MeasureCanvas() {
  if (!measure_) {
    measure_ = std::make_unique<TBitmap>();
    measure_->SetSize(1, 1);
  }
  TCanvas* c = measure_->GetCanvas();
  c->SetFont(font_.get());
  return c;
}

void TiEditCustom::AdjustHeight() {
  if (!autoSize_ || IsStreaming() || !GetParent() || adjusting_) return;
  adjusting_ = true;
  try {
    const int32_t h = MeasureCanvas()->TextHeight("ABC") + 2 * FrameWidth() + 4;
    SetBounds(Left(), Top(), Width(), h);
  } catch (...) {
    adjusting_ = false;
    throw;
  }
  adjusting_ = false;
}

// ============================================================================ editing =========

void TiEditCustom::SetEditText(const AnsiString& S) {
  if (S == text_) return;
  text_ = S;
  selLength_ = 0;
  caret_ = 0;
  ApplyText();
  RequestRepaint();
}

void TiEditCustom::SetCaret(int32_t Value) {
  Value = std::clamp(Value, 0, int32_t(text_.size()));
  if (Value == caret_) return;
  caret_ = Value;
  RequestRepaint();
}

void TiEditCustom::SetSelStart(int32_t Value) {
  Value = std::clamp(Value, 0, int32_t(text_.size()));
  if (Value == selStart_) return;
  selStart_ = Value;
  RequestRepaint();
}

void TiEditCustom::SetSelLength(int32_t Value) {
  Value = std::clamp(Value, 0, int32_t(text_.size()));
  if (Value == selLength_) return;
  selLength_ = Value;
  RequestRepaint();
}

AnsiString TiEditCustom::GetSelText() const {
  if (selLength_ <= 0 || size_t(selStart_) >= text_.size()) return {};
  return text_.substr(size_t(selStart_), size_t(selLength_));
}

void TiEditCustom::SelectSpan(int32_t Anchor, int32_t Caret) {
  selStart_ = std::min(Anchor, Caret);
  selLength_ = std::abs(Caret - Anchor);
}

void TiEditCustom::DeleteSelection() {
  if (selLength_ <= 0) return;
  const size_t start = std::min(size_t(selStart_), text_.size());
  text_.erase(start, size_t(selLength_));
  caret_ = int32_t(start);
  selLength_ = 0;
  RequestRepaint();
}

void TiEditCustom::InsertText(const AnsiString& S) {
  DeleteSelection();
  caret_ = std::clamp(caret_, 0, int32_t(text_.size()));
  text_.insert(size_t(caret_), S);
  caret_ += int32_t(S.size());
  selStart_ = caret_;
  selLength_ = 0;
  RequestRepaint();
}

void TiEditCustom::UndoEdit() {
  text_ = appliedText_;
  selLength_ = 0;
  caret_ = 0;
  if (autoSelect_) SelectAllText();
  RequestRepaint();
}

void TiEditCustom::DoChange() {
  if (IsStreaming()) return;
  OnPropertyChanged(this, "Value");
  OnChange(this);
}

void TiEditCustom::ApplyText() {
  if (text_ == appliedText_) return;
  DoChange();
  appliedText_ = text_;
  if (autoSelect_) SelectAllText();
}

bool TiEditCustom::AcceptChar(char) { return true; }

void TiEditCustom::SelectAllText() {
  selStart_ = 0;
  selLength_ = int32_t(text_.size());
  RequestRepaint();
}

// ============================================================================ clipboard and menu

void TiEditCustom::CopyToClipboard() {
  HWND owner = HandleAllocated() ? GetHandle() : nullptr;
  if (GetErrorActive())
    iEditSetClipboardText(owner, GetErrorText());
  else if (selLength_ > 0)
    iEditSetClipboardText(owner, GetSelText());
}

void TiEditCustom::CutToClipboard() {
  CopyToClipboard();
  if (!GetErrorActive()) DeleteSelection();
}

void TiEditCustom::PasteFromClipboard() {
  if (GetErrorActive()) return;
  AnsiString s = iEditClipboardText(HandleAllocated() ? GetHandle() : nullptr);
  if (maxLength_ > 0) s = s.substr(0, size_t(std::max(0, maxLength_ - int32_t(text_.size()))));
  if (!s.empty()) InsertText(s);
}

void TiEditCustom::BuildMenu() {
  menu_ = std::make_unique<TPopupMenu>(nullptr);
  const struct {
    const char* Caption;
    void (TiEditCustom::*Handler)(TObject*);
  } items[] = {{"Apply", &TiEditCustom::MenuApply},
               {"Undo", &TiEditCustom::MenuUndo},
               {"-", nullptr},
               {"Cut", &TiEditCustom::MenuCut},
               {"Copy", &TiEditCustom::MenuCopy},
               {"Paste", &TiEditCustom::MenuPaste},
               {"Delete", &TiEditCustom::MenuDelete},
               {"-", nullptr},
               {"Select All", &TiEditCustom::MenuSelectAll}};
  for (const auto& d : items) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(d.Caption);
    if (d.Handler) item->OnClick = TNotifyEvent(this, d.Handler);
    menu_->Items()->Add(item);
  }
}

void TiEditCustom::UpdateBuiltInMenu() {
  TMenuItem* root = menu_->Items();
  const bool error = GetErrorActive();
  const bool pending = text_ != appliedText_ && !error;
  const bool selection = selLength_ > 0;
  root->Items(kEditMenuApply)->SetEnabled(pending);
  root->Items(kEditMenuUndo)->SetEnabled(pending);
  root->Items(kEditMenuCut)->SetEnabled(selection && !error);
  root->Items(kEditMenuCopy)->SetEnabled(selection || error);
  root->Items(kEditMenuPaste)->SetEnabled(IsClipboardFormatAvailable(CF_TEXT) && !error);
  root->Items(kEditMenuDelete)->SetEnabled(selection && !error);
  root->Items(kEditMenuSelectAll)->SetEnabled(!(selStart_ == 0 && selLength_ == int32_t(text_.size())));
}

void TiEditCustom::MenuApply(TObject*) {
  // Applying from the menu counts as the user's change.
  TUserInputScope scope(this);
  ApplyText();
}
void TiEditCustom::MenuUndo(TObject*) { UndoEdit(); }
void TiEditCustom::MenuCut(TObject*) { CutToClipboard(); }
void TiEditCustom::MenuCopy(TObject*) { CopyToClipboard(); }
void TiEditCustom::MenuPaste(TObject*) { PasteFromClipboard(); }
void TiEditCustom::MenuDelete(TObject*) {
  if (!GetErrorActive()) DeleteSelection();
}
void TiEditCustom::MenuSelectAll(TObject*) { SelectAllText(); }

// ============================================================================ keys and mouse ==

void TiEditCustom::Dispatch(TMessage& Message) {
  TiCustomComponent::Dispatch(Message);
  if (Message.Msg == WM_GETDLGCODE) Message.Result |= DLGC_WANTARROWS;
}

void TiEditCustom::ShowCaretAt(int32_t X, int32_t Y) {
  if (!HandleAllocated()) return;
  if (!caretCreated_) {
    CreateCaret(GetHandle(), nullptr, 0, MeasureCanvas()->TextHeight("ABC"));
    caretCreated_ = true;
    caretShown_ = false;
  }
  SetCaretPos(X, Y);
  if (!caretShown_) {
    ShowCaret(GetHandle());
    caretShown_ = true;
  }
}

void TiEditCustom::DropCaret() {
  if (!caretCreated_) return;
  if (caretShown_ && HandleAllocated()) HideCaret(GetHandle());
  DestroyCaret();
  caretCreated_ = caretShown_ = false;
}

void TiEditCustom::DoGotFocus() {
  TiCustomComponent::DoGotFocus();
  if (!GetErrorActive()) ShowCaretAt(textRect_.Left, 3);
  RequestRepaint();
}

void TiEditCustom::DoLostFocus() {
  DropCaret();
  mouseSelecting_ = false;
  dblClick_ = false;
  try {
    // Leaving the field commits it.
    ApplyText();
  } catch (...) {
    TiCustomComponent::DoLostFocus();
    throw;
  }
  RequestRepaint();
  TiCustomComponent::DoLostFocus();
}

void TiEditCustom::HandleKeyDown(WORD& Key, TShiftState Shift) {
  const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
  const int32_t len = int32_t(text_.size());
  if (shift && selLength_ == 0) anchor_ = caret_;
  switch (Key) {
    case VK_LEFT:
      caret_ = ctrl ? 0 : std::max(caret_ - 1, 0);
      break;
    case VK_HOME:
      caret_ = 0;
      break;
    case VK_RIGHT:
      caret_ = ctrl ? len : std::min(caret_ + 1, len);
      break;
    case VK_END:
      caret_ = len;
      break;
    case VK_DELETE:
      if (selLength_ > 0)
        DeleteSelection();
      else if (caret_ < len)
        text_.erase(size_t(caret_), 1);
      RequestRepaint();
      return;
    default:
      return;
  }
  if (shift)
    SelectSpan(anchor_, caret_);
  else
    selLength_ = 0;
  RequestRepaint();
}

void TiEditCustom::HandleKeyPress(char& Key) {
  switch (uint8_t(Key)) {
    case 1:  // Ctrl+A
      SelectAllText();
      return;
    case 3:  // Ctrl+C
      CopyToClipboard();
      return;
    case 8:  // Backspace
      if (selLength_ > 0) {
        DeleteSelection();
      } else if (caret_ > 0) {
        text_.erase(size_t(caret_ - 1), 1);
        --caret_;
        RequestRepaint();
      }
      return;
    case 13:  // Enter
      ApplyText();
      SelectAllText();
      return;
    case 22:  // Ctrl+V
      PasteFromClipboard();
      return;
    case 24:  // Ctrl+X
      CutToClipboard();
      return;
    case 26:  // Ctrl+Z
    case 27:  // Escape
      UndoEdit();
      return;
    default:
      break;
  }
  // Other control characters (Ctrl with a letter, Tab) are no text.
  if (uint8_t(Key) < 32) return;
  if (!AcceptChar(Key)) return;
  if (maxLength_ == 0 || int32_t(text_.size()) < maxLength_ || selLength_ > 0)
    InsertText(AnsiString(1, Key));
  else
    MessageBeep(0);
}

int32_t TiEditCustom::RunWidth(TCanvas* Canvas, int32_t From, int32_t To) const {
  if (To <= From) return 0;
  return Canvas->TextWidth(text_.substr(size_t(From), size_t(To - From)));
}

int32_t TiEditCustom::PositionFromX(int32_t X) {
  if (X < textRect_.Left) return std::max(firstVisible_ - 1, 0);
  TCanvas* c = MeasureCanvas();
  // Left of the middle of the character before p lands before that character.
  for (int32_t p = firstVisible_ + 1; p <= lastVisible_ + 1; ++p) {
    const int32_t mid =
        textRect_.Left + RunWidth(c, firstVisible_, p - 1) + c->TextWidth(text_.substr(size_t(p - 1), 1)) / 2;
    if (X < mid) return p - 1;
  }
  return lastVisible_ + 1;
}

void TiEditCustom::HandleMouseDown(TMouseButton Button, TShiftState, int32_t X, int32_t Y) {
  if (!HasFocus()) {
    FocusControlWindow(this);
    if (autoSelect_) SelectAllText();
  }
  if (Button == mbRight && !GetPopupMenu()) {
    const TPoint screen = ClientToScreen({X, Y});
    UpdateBuiltInMenu();
    menu_->Popup(screen.X, screen.Y);
    return;
  }
  caret_ = std::clamp(PositionFromX(X), 0, int32_t(text_.size()));
  mouseSelecting_ = true;
  if (dblClick_) {
    // The press of a double click keeps the whole-text selection it made.
    dblClick_ = false;
  } else {
    selLength_ = 0;
    selStart_ = anchor_ = caret_;
  }
  RequestRepaint();
}

void TiEditCustom::HandleMouseMove(TShiftState, int32_t X, int32_t) {
  ::SetCursor(LoadCursor(nullptr, IDC_IBEAM));
  if (!mouseSelecting_) return;
  caret_ = std::clamp(PositionFromX(X), 0, int32_t(text_.size()));
  SelectSpan(anchor_, caret_);
  RequestRepaint();
}

void TiEditCustom::HandleMouseUp(TMouseButton, TShiftState, int32_t, int32_t) { mouseSelecting_ = false; }

void TiEditCustom::HandleDblClick() {
  dblClick_ = true;
  SelectAllText();
}

// ============================================================================ painting ========

void TiEditCustom::PaintToCanvas(TCanvas* Canvas) {
  const bool error = GetErrorActive();
  DrawBackGround(Canvas, error ? GetErrorBackGroundColor() : color_);
  const int32_t f = FrameWidth();
  int32_t first = 0, last = -1;
  AnsiString shown;
  if (error) {
    Canvas->SetFont(GetErrorFont());
    shown = GetErrorText();
    last = int32_t(shown.size()) - 1;
  } else {
    Canvas->SetFont(font_.get());
    const int32_t len = int32_t(text_.size());
    const int32_t avail = Width() - 2 * f - alignmentMargin_;
    if (RunWidth(Canvas, 0, len) < avail) {
      first = 0;
      last = len - 1;
    } else {
      first = std::clamp(firstVisible_, 0, len);
      if (caret_ < first) first = caret_;
      auto fit = [&] {
        last = first - 1;
        for (int32_t i = first; i < len && RunWidth(Canvas, first, i + 1) <= avail; ++i) last = i;
      };
      fit();
      while (caret_ > last + 1 && first < len) {
        ++first;
        fit();
      }
    }
    firstVisible_ = first;
    lastVisible_ = last;
    shown = text_;
  }

  const AnsiString visible =
      last >= first ? shown.substr(size_t(first), size_t(last - first + 1)) : AnsiString();
  const int32_t tw = Canvas->TextWidth(visible);
  TRect r;
  r.Top = f + 1;
  r.Bottom = r.Top + Canvas->TextHeight("ABC");
  if (alignment_ == taRightJustify) {
    r.Right = Width() - f - alignmentMargin_ - 2;
    r.Left = r.Right - tw;
  } else if (alignment_ == taCenter) {
    r.Right = Width() / 2 + tw / 2;
    r.Left = r.Right - tw;
  } else {
    r.Left = f + alignmentMargin_ + 1;
    r.Right = r.Left + tw;
  }
  if (!error) textRect_ = r;
  Canvas->GetBrush()->SetStyle(bsClear);
  TRect draw = r;
  DrawTextFlags(Canvas, visible, draw, itfLeft | itfTop | itfSingleLine | itfNoClip);

  if (error) {
    if (caretShown_ && HandleAllocated()) {
      HideCaret(GetHandle());
      caretShown_ = false;
    }
  } else if (HasFocus()) {
    ShowCaretAt(r.Left + RunWidth(Canvas, first, caret_), 3);
  }

  if (!error && selLength_ > 0 && HasFocus()) {
    const int32_t s = std::max(selStart_, first);
    const int32_t e = std::min(selStart_ + selLength_, last + 1);
    if (e > s) {
      const int32_t x1 = r.Left + RunWidth(Canvas, first, s);
      const int32_t x2 = r.Left + RunWidth(Canvas, first, e);
      Canvas->GetBrush()->SetStyle(bsSolid);
      Canvas->GetBrush()->SetColor(clHighlight);
      Canvas->FillRect(TRect{x1, r.Top, x2, r.Bottom});
      Canvas->GetBrush()->SetStyle(bsClear);
      Canvas->GetFont()->SetColor(clWhite);
      TRect sr{x1, r.Top, x2, r.Bottom};
      DrawTextFlags(Canvas, text_.substr(size_t(s), size_t(e - s)), sr,
                    itfLeft | itfTop | itfSingleLine | itfNoClip);
    }
  }
  DrawBorder(Canvas);
}
