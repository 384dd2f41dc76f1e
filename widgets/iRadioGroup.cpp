#include "widgets/iRadioGroup.h"

#include "platform/runtime/MathUtils.h"

namespace {
// Marks sit this far right of a column's left edge; hit testing starts columns 8 pixels in.
constexpr int32_t kRadioColumnOffset = 14;
constexpr int32_t kRadioHitOffset = 8;
}  // namespace

const TClassInfo& TiRadioGroup::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiRadioGroup, TiCustomComponent>("TiRadioGroup")
          .Prop("Caption", &TiRadioGroup::GetCaption, &TiRadioGroup::SetCaption)
          .Object("Items", &TiRadioGroup::GetItems, &TiRadioGroup::SetItems)
          .Prop("ItemIndex", &TiRadioGroup::GetItemIndex, &TiRadioGroup::SetItemIndex)
          .Prop("Columns", &TiRadioGroup::GetColumns, &TiRadioGroup::SetColumns)
          .Default(1)
          .Object("Font", &TiRadioGroup::GetFont, &TiRadioGroup::SetFont)
          .Event("OnChange", &TiRadioGroup::OnChange)
          .Event("OnChangeUser", &TiRadioGroup::OnChangeUser)
          .Prop("BackGroundColor", &TiComponent::GetBackGroundColor, &TiComponent::SetBackGroundColor)
          .Default(clBtnFace)
          .Type(ColorTypeInfo())
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true);
  return info;
}

// ============================================================================ layout ==========

TiRadioGroupLayout RadioGroupLayout(int32_t Count, int32_t Columns, int32_t Width, int32_t Height,
                                    int32_t TextHeight) {
  TiRadioGroupLayout l;
  // An empty group has no rows to divide by: it paints its frame and caption only.
  if (Count <= 0 || Columns <= 0) return l;
  l.Rows = Count / Columns + (Count % Columns != 0 ? 1 : 0);
  l.RowHeight = double((Height - TextHeight - TextHeight / 4) / l.Rows);
  l.FirstRowY = int32_t(Round(TextHeight + l.RowHeight / 2));
  l.ColumnWidth = double((Width - kRadioColumnOffset) / Columns);
  return l;
}

int32_t RadioGroupItemAt(const TiRadioGroupLayout& Layout, int32_t Columns, int32_t X, int32_t Y) {
  // A group too small for a row or a column has nothing to hit (and nothing to divide by).
  if (Layout.Rows <= 0 || Layout.RowHeight <= 0 || Layout.ColumnWidth <= 0) return -1;
  const int32_t row = int32_t(Round((Y - Layout.FirstRowY) / Layout.RowHeight));
  if (Columns <= 1) return row;
  return int32_t(Trunc((X - kRadioHitOffset) / Layout.ColumnWidth)) * Layout.Rows + row;
}

TPoint RadioGroupItemCenter(const TiRadioGroupLayout& Layout, int32_t Index) {
  if (Layout.Rows <= 0) return {kRadioColumnOffset, Layout.FirstRowY};
  const int32_t row = Index % Layout.Rows, column = Index / Layout.Rows;
  return {int32_t(Round(column * Layout.ColumnWidth)) + kRadioColumnOffset,
          Layout.FirstRowY + int32_t(Round(row * Layout.RowHeight))};
}

// ============================================================================ construction ====

TiRadioGroup::TiRadioGroup(TComponent* AOwner) : TiCustomComponent(AOwner) {
  items_ = std::make_unique<TStringList>();
  items_->OnChange = TNotifyEvent(this, &TiRadioGroup::ItemsChanged);
  font_ = std::make_unique<TFont>();
  font_->OnChange = TNotifyEvent(this, &TiRadioGroup::FontChanged);
  SetBounds(Left(), Top(), 97, 17);
  SetTabStop(true);
}

TiRadioGroup::~TiRadioGroup() = default;

// ============================================================================ properties ======

void TiRadioGroup::SetCaption(const AnsiString& Value) {
  if (Value == caption_) return;
  caption_ = Value;
  RequestRepaint();
}

void TiRadioGroup::ClampItemIndex() {
  const int32_t last = items_->Count() - 1;
  if (itemIndex_ > last) itemIndex_ = last;
  if (itemIndex_ < -1) itemIndex_ = -1;
}

void TiRadioGroup::ItemsChanged(TObject*) {
  ClampItemIndex();
  RequestRepaint();
}

void TiRadioGroup::FontChanged(TObject*) {
  ClampItemIndex();
  RequestRepaint();
}

void TiRadioGroup::SetItemIndex(int32_t Value) {
  Value = std::min(std::max(Value, -1), items_->Count() - 1);
  if (Value == itemIndex_) return;
  itemIndex_ = Value;
  pressedItem_ = Value;
  RequestRepaint();
  DoChange();
}

void TiRadioGroup::SetColumns(int32_t Value) {
  if (Value <= 0 || Value == columns_) return;
  columns_ = Value;
  RequestRepaint();
}

void TiRadioGroup::DoChange() {
  if (IsStreaming()) return;
  OnPropertyChanged(this, "ItemIndex");
  OnChange(this);
  if (userChange_) OnChangeUser(this);
}

int32_t TiRadioGroup::ItemAt(int32_t X, int32_t Y) const { return RadioGroupItemAt(layout_, columns_, X, Y); }

TPoint TiRadioGroup::ItemCenter(int32_t Index) const { return RadioGroupItemCenter(layout_, Index); }

// ============================================================================ input ===========

void TiRadioGroup::DoGotFocus() {
  TiCustomComponent::DoGotFocus();
  InvalidateNow();
}

void TiRadioGroup::DoLostFocus() {
  pressed_ = false;
  keyHeld_ = false;
  RequestRepaint();
  TiCustomComponent::DoLostFocus();
}

void TiRadioGroup::WantSpecialKey(WORD& CharCode, LRESULT& Result) {
  if (CharCode >= VK_LEFT && CharCode <= VK_DOWN) Result = 1;
}

void TiRadioGroup::HandleKeyDown(WORD& Key, TShiftState) {
  keyHeld_ = true;
  const int32_t count = items_->Count();
  if (Key == VK_RIGHT || Key == VK_DOWN) {
    if (count > 0) SetItemIndex(itemIndex_ + 1 > count - 1 ? 0 : itemIndex_ + 1);
    Key = 0;
  } else if (Key == VK_LEFT || Key == VK_UP) {
    if (count > 0 && itemIndex_ != -1) SetItemIndex(itemIndex_ - 1 < 0 ? count - 1 : itemIndex_ - 1);
    Key = 0;
  }
}

void TiRadioGroup::HandleKeyUp(WORD&, TShiftState) {
  keyHeld_ = false;
  RequestRepaint();
}

void TiRadioGroup::HandleMouseDown(TMouseButton Button, TShiftState, int32_t X, int32_t Y) {
  if (Button != mbLeft) return;
  FocusControlWindow(this);
  pressed_ = true;
  pressedItem_ = ItemAt(X, Y);
  RequestRepaint();
}

void TiRadioGroup::HandleMouseMove(TShiftState, int32_t X, int32_t Y) {
  if (!pressed_) return;
  pressedItem_ = ItemAt(X, Y);
  RequestRepaint();
}

void TiRadioGroup::HandleMouseUp(TMouseButton, TShiftState, int32_t X, int32_t Y) {
  if (!pressed_) return;
  RequestRepaint();
  pressed_ = false;
  if (pressedItem_ < 0 || pressedItem_ >= items_->Count() || ItemAt(X, Y) != pressedItem_) return;
  userChange_ = true;
  try {
    SetItemIndex(pressedItem_);
  } catch (...) {
    userChange_ = false;
    throw;
  }
  userChange_ = false;
}

// ============================================================================ painting ========

namespace {
// The 12 x 12 ring around a mark's face, row by row: the columns of its outer and inner circle.
// Pixels above the rising diagonal take the dark colours, the others the light ones.
struct TRadioRingRow {
  int8_t Outer[4];
  int8_t Inner[4];
};
constexpr TRadioRingRow kRadioRing[12] = {
    {{4, 5, 6, 7}, {-1, -1, -1, -1}},   {{2, 3, 8, 9}, {4, 5, 6, 7}},
    {{1, 10, -1, -1}, {2, 3, 8, 9}},    {{1, 10, -1, -1}, {2, 9, -1, -1}},
    {{0, 11, -1, -1}, {1, 10, -1, -1}}, {{0, 11, -1, -1}, {1, 10, -1, -1}},
    {{0, 11, -1, -1}, {1, 10, -1, -1}}, {{0, 11, -1, -1}, {1, 10, -1, -1}},
    {{1, 10, -1, -1}, {2, 9, -1, -1}},  {{1, 10, -1, -1}, {2, 3, 8, 9}},
    {{2, 3, 8, 9}, {4, 5, 6, 7}},       {{4, 5, 6, 7}, {-1, -1, -1, -1}},
};

void RadioRingPixel(TCanvas* Canvas, int32_t X, int32_t Y, TColor Color) {
  Canvas->GetPen()->SetColor(Color);
  Canvas->MoveTo(X, Y);
  Canvas->LineTo(X + 1, Y);
}
}  // namespace

void TiRadioGroup::DrawMark(TCanvas* Canvas, TPoint Center, bool Pressed) {
  const int32_t x = Center.X, y = Center.Y;
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(Pressed ? clBtnFace : clWhite);
  Canvas->FillRect(TRect{x - 3, y - 4, x + 5, y + 4});
  Canvas->GetPen()->SetStyle(psSolid);
  Canvas->GetPen()->SetWidth(1);
  const int32_t bx = x - 5, by = y - 6;
  for (int32_t r = 0; r < 12; ++r) {
    for (int8_t c : kRadioRing[r].Outer)
      if (c >= 0) RadioRingPixel(Canvas, bx + c, by + r, r + c < 11 ? clBtnShadow : clBtnHighlight);
    for (int8_t c : kRadioRing[r].Inner)
      if (c >= 0) RadioRingPixel(Canvas, bx + c, by + r, r + c < 11 ? cl3DDkShadow : clBtnFace);
  }
}

void TiRadioGroup::PaintToCanvas(TCanvas* Canvas) {
  DrawBackGround(Canvas, GetBackGroundColor());
  Canvas->SetFont(font_.get());
  const int32_t aw = Canvas->TextWidth("A");
  const int32_t th = Canvas->TextHeight("ABC");
  const int32_t m = th / 2;
  const int32_t w = Width(), h = Height();

  Canvas->GetPen()->SetStyle(psSolid);
  Canvas->GetPen()->SetWidth(1);
  Canvas->GetPen()->SetColor(clBtnShadow);
  const TPoint outline[5] = {{0, m}, {w - 2, m}, {w - 2, h - 2}, {0, h - 2}, {0, m}};
  Canvas->Polyline(outline, 5);
  Canvas->GetPen()->SetColor(clBtnHighlight);
  Canvas->MoveTo(1, m + 1);
  Canvas->LineTo(w - 2, m + 1);
  Canvas->MoveTo(1, m + 1);
  Canvas->LineTo(1, h - 1);
  Canvas->MoveTo(w - 1, m + 1);
  Canvas->LineTo(w - 1, h - 1);
  Canvas->MoveTo(w - 1, h - 1);
  Canvas->LineTo(0, h - 1);

  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(GetBackGroundColor());
  const TSize cs = Canvas->TextExtent(caption_);
  Canvas->TextRect(TRect{aw, 0, aw + cs.cx, cs.cy}, aw, 0, caption_);

  const int32_t n = items_->Count();
  layout_ = RadioGroupLayout(n, columns_, w, h, th);
  if (layout_.Rows == 0) return;
  const bool held = pressed_ || keyHeld_;
  TRect focusText{};
  for (int32_t i = 0; i < n; ++i) {
    const TPoint c = ItemCenter(i);
    DrawMark(Canvas, c, held && i == pressedItem_);
    const AnsiString text = items_->Strings(i);
    const TSize ts = Canvas->TextExtent(text);
    TRect tr{c.X + 12, c.Y - ts.cy / 2, c.X + 12 + ts.cx, c.Y + ts.cy / 2};
    Canvas->GetBrush()->SetStyle(bsClear);
    DrawTextFlags(Canvas, text, tr, itfLeft | itfVCenter | itfSingleLine | itfNoClip);
    if (i == itemIndex_) {
      Canvas->GetPen()->SetColor(clBlack);
      Canvas->GetBrush()->SetStyle(bsSolid);
      Canvas->GetBrush()->SetColor(clBlack);
      Canvas->Ellipse(c.X - 1, c.Y - 2, c.X + 3, c.Y + 2);
    }
    if (i == (pressed_ ? pressedItem_ : itemIndex_)) focusText = tr;
  }
  if (HasFocus() && !focusText.IsEmpty()) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetBackGroundColor());
    Canvas->GetFont()->SetColor(clBlack);
    DrawFocusFrame(Canvas,
                   TRect{focusText.Left - 1, focusText.Top - 1, focusText.Right + 1, focusText.Bottom + 3});
  }
}
