// The advanced grid's rich edit and its rich-text cells: the control that converts, draws and
// measures rich text and edits edRichEdit cells, and the grid's loading and storing of rich text
// (part of the AdvGrid unit).
//
// Sections: TAdvRichEdit / grid: rich text.
#include "grid/AdvGrid.h"

// ============================================================================ TAdvRichEdit ====

const TClassInfo& TAdvRichEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAdvRichEdit, TRichEdit>("TAdvRichEdit")
                                     .Prop("ReqWidth", &TAdvRichEdit::GetReqWidth)
                                     .Prop("ReqHeight", &TAdvRichEdit::GetReqHeight);
  return info;
}

TAdvRichEdit::TAdvRichEdit(TComponent* AOwner) : TRichEdit(AOwner), grid_(WrapperGrid(AOwner)) {}

bool TAdvRichEdit::IsGridEditor() const { return grid_->ActiveEditorControl() == this; }

void TAdvRichEdit::RequestSize(const TRect& Rect) {
  reqWidth_ = Rect.Width();
  reqHeight_ = Rect.Height();
  TAdvStringGrid* g = grid_;
  if (!IsGridEditor() || locked_ || !g->GetSizeWhileTyping()->Height) return;
  const int32_t h = Rect.Height(), row = g->GetRow();
  if (h <= g->GetRowHeights(row)) return;
  // A row that would reach past the grid's bottom keeps its height.
  if (g->CellRect(g->GetCol(), row).Top + h >= g->GetClientHeight()) return;
  SetHeight(h + 4);
  g->SetRowHeights(row, h + 5);
  g->OnEndRowSize(g, row);
}

void TAdvRichEdit::KeyDown(WORD& Key, TShiftState Shift) {
  // Without wrapped or multi-line cells the vertical arrows move between cells, not lines.
  if ((Key == VK_UP || Key == VK_DOWN) && IsGridEditor() && !grid_->GetWordWrap() &&
      !grid_->GetMultilinecells()) {
    const WORD key = Key;
    Key = 0;
    grid_->EditorKeyExit(key, Shift);
    return;
  }
  TRichEdit::KeyDown(Key, Shift);
}

void TAdvRichEdit::SetFormatInset(int32_t Value) {
  formatInset_ = Value;
  ApplyFormatInset();
}

void TAdvRichEdit::ApplyFormatInset() {
  if (!HandleAllocated()) return;
  TRect fr = GetClientRect();
  InflateRect(&fr, -formatInset_, -formatInset_);
  Perform(EM_SETRECT, 0, LPARAM(&fr));
}

void TAdvRichEdit::Dispatch(TMessage& Message) {
  // A fixed formatting rectangle would not follow a grown editor, whose next size request would
  // then count the growth again.
  if (Message.Msg == WM_SIZE && formatInset_ > 0) ApplyFormatInset();
  TRichEdit::Dispatch(Message);
  // Focus going to another control leaves the editor open (a toolbar may format its selection);
  // going back to the grid ends the editing.
  if (Message.Msg == WM_KILLFOCUS && IsGridEditor() && grid_->HandleAllocated() &&
      reinterpret_cast<HWND>(Message.WParam) == grid_->GetHandle())
    grid_->HideInplaceEdit();
}

// ============================================================================ grid: rich text =

void TAdvStringGrid::CellToRichEdit(int32_t ACol, int32_t ARow, TCustomRichEdit* RichEdit) {
  const AnsiString s = GetCells(ACol, ARow);
  if (s.empty()) {
    RichEdit->Clear();
    return;
  }
  try {
    RichEdit->SetRichText(s);
  } catch (const EReadError&) {
    // Damaged rich text is shown and edited as the text it is, never an error while painting.
    RichEdit->SetText(s);
  }
}

AnsiString TAdvStringGrid::RichEditToString(TCustomRichEdit* RichEdit) {
  return RichEdit->GetText().empty() ? AnsiString() : RichEdit->GetRichText();
}

AnsiString TAdvStringGrid::RichTextToPlain(const AnsiString& S) {
  try {
    richEdit_->SetRichText(S);
  } catch (const EReadError&) {
    return S;  // not rich text after all: taken as it is
  }
  return richEdit_->GetText();
}
