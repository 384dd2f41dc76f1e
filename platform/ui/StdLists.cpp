// List boxes and combo boxes.
//
// Sections: class descriptions / list box items / list box: properties / list box: messages /
// list box: input / list box: painting / combo box parts / combo box: properties / combo box:
// messages / combo box: drop-down / combo box: painting.
#include "platform/ui/StdLists.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Forms.h"

PL_ENUM_NAMES(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable")
PL_ENUM_NAMES(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
              "csOwnerDrawVariable")

namespace {
// Typed letters within this many milliseconds search together.
constexpr uint32_t kListTypeAheadMs = 1000;
// Lines one wheel notch scrolls.
constexpr int32_t kListWheelLines = 3;

AnsiString ListMessageText(LPARAM l) {
  return l ? AnsiString(reinterpret_cast<const char*>(l)) : AnsiString();
}

bool ListStartsWith(const AnsiString& s, const AnsiString& prefix) {
  return s.size() >= prefix.size() && CompareText(s.substr(0, prefix.size()), prefix) == 0;
}
}  // namespace

// ============================================================================ class descriptions

const TClassInfo& TListBoxStrings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TListBoxStrings, TStrings>("TListBoxStrings");
  return info;
}

const TClassInfo& TCustomListBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomListBox, TCustomControl>("TCustomListBox");
  return info;
}

const TClassInfo& TListBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TListBox, TCustomListBox>("TListBox")
          .Prop("BorderStyle", &TCustomListBox::GetBorderStyle, &TCustomListBox::SetBorderStyle)
          .Default(bsSingle)
          .Prop("ExtendedSelect", &TCustomListBox::GetExtendedSelect, &TCustomListBox::SetExtendedSelect)
          .Default(true)
          .Prop("ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight)
          .Object("Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems)
          .Prop("MultiSelect", &TCustomListBox::GetMultiSelect, &TCustomListBox::SetMultiSelect)
          .Default(false)
          .Prop("Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted)
          .Default(false)
          .Prop("Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle)
          .Default(lbStandard)
          .Event("OnDrawItem", &TCustomListBox::OnDrawItem)
          .Event("OnMeasureItem", &TCustomListBox::OnMeasureItem);
  return info;
}

const TClassInfo& TCustomComboBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomComboBox, TCustomControl>("TCustomComboBox");
  return info;
}

const TClassInfo& TComboBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TComboBox, TCustomComboBox>("TComboBox")
          .Prop("Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle)
          .Default(csDropDown)
          .Prop("CharCase", &TCustomComboBox::GetCharCase, &TCustomComboBox::SetCharCase)
          .Default(ecNormal)
          .Prop("DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount)
          .Default(8)
          .Prop("ItemHeight", &TCustomComboBox::GetItemHeight, &TCustomComboBox::SetItemHeight)
          .Prop("MaxLength", &TCustomComboBox::GetMaxLength, &TCustomComboBox::SetMaxLength)
          .Default(0)
          .Prop("Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted)
          .Default(false)
          .Prop("Text", &TCustomComboBox::GetText, &TCustomComboBox::SetText)
          .Object("Items", &TCustomComboBox::GetItems, &TCustomComboBox::SetItems)
          .Prop("ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex)
          .Default(-1)
          .Event("OnChange", &TCustomComboBox::OnChange)
          .Event("OnCloseUp", &TCustomComboBox::OnCloseUp)
          .Event("OnDrawItem", &TCustomComboBox::OnDrawItem)
          .Event("OnDropDown", &TCustomComboBox::OnDropDown)
          .Event("OnMeasureItem", &TCustomComboBox::OnMeasureItem)
          .Event("OnSelect", &TCustomComboBox::OnSelect);
  return info;
}

namespace {
struct TStdListsRegistration {
  TStdListsRegistration() { RegisterClasses({&TListBox::ClassInfo(), &TComboBox::ClassInfo()}); }
} g_stdListsRegistration;
}  // namespace

// ============================================================================ list box items ==

AnsiString TListBoxStrings::Get(int32_t Index) const {
  if (Index < 0 || Index >= listBox_->Count()) Error("List index out of bounds (%d)", Index);
  return listBox_->items_[size_t(Index)].Text;
}

int32_t TListBoxStrings::GetCount() const { return listBox_->Count(); }

TObject* TListBoxStrings::GetObject(int32_t Index) const {
  if (Index < 0 || Index >= listBox_->Count()) Error("List index out of bounds (%d)", Index);
  return listBox_->items_[size_t(Index)].Object;
}

void TListBoxStrings::PutObject(int32_t Index, TObject* AObject) {
  if (Index < 0 || Index >= listBox_->Count()) Error("List index out of bounds (%d)", Index);
  listBox_->items_[size_t(Index)].Object = AObject;
}

void TListBoxStrings::Put(int32_t Index, const AnsiString& S) {
  if (Index < 0 || Index >= listBox_->Count()) Error("List index out of bounds (%d)", Index);
  // Replaced in place, keeping the object and the selection (a sorted list sorts it anew).
  TObject* object = listBox_->items_[size_t(Index)].Object;
  int32_t current = listBox_->itemIndex_;
  listBox_->DeleteItem(Index);
  int32_t at = listBox_->InsertItem(Index, S, object);
  if (current == Index) listBox_->SetItemIndex(at);
}

void TListBoxStrings::Clear() { listBox_->ResetContent(); }

void TListBoxStrings::Delete(int32_t Index) {
  if (Index < 0 || Index >= listBox_->Count()) Error("List index out of bounds (%d)", Index);
  listBox_->DeleteItem(Index);
}

void TListBoxStrings::Insert(int32_t Index, const AnsiString& S) {
  if (Index < 0 || Index > listBox_->Count()) Error("List index out of bounds (%d)", Index);
  listBox_->InsertItem(listBox_->sorted_ ? -2 : Index, S, nullptr);
}

int32_t TListBoxStrings::Add(const AnsiString& S) { return listBox_->InsertItem(-2, S, nullptr); }

void TListBoxStrings::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  int32_t n = listBox_->Count();
  if (CurIndex < 0 || CurIndex >= n) Error("List index out of bounds (%d)", CurIndex);
  if (NewIndex < 0 || NewIndex >= n) Error("List index out of bounds (%d)", NewIndex);
  auto& items = listBox_->items_;
  TCustomListBox::TItem item = items[size_t(CurIndex)];
  items.erase(items.begin() + CurIndex);
  items.insert(items.begin() + NewIndex, item);
  int32_t& cur = listBox_->itemIndex_;
  if (cur == CurIndex)
    cur = NewIndex;
  else if (CurIndex < cur && NewIndex >= cur)
    --cur;
  else if (CurIndex > cur && NewIndex <= cur)
    ++cur;
  listBox_->ItemsChanged();
}

void TListBoxStrings::Exchange(int32_t Index1, int32_t Index2) {
  int32_t n = listBox_->Count();
  if (Index1 < 0 || Index1 >= n) Error("List index out of bounds (%d)", Index1);
  if (Index2 < 0 || Index2 >= n) Error("List index out of bounds (%d)", Index2);
  auto& items = listBox_->items_;
  std::swap(items[size_t(Index1)].Text, items[size_t(Index2)].Text);
  std::swap(items[size_t(Index1)].Object, items[size_t(Index2)].Object);
  listBox_->ItemsChanged();
}

void TListBoxStrings::SetUpdateState(bool Updating) {
  listBox_->updating_ += Updating ? 1 : -1;
  if (!Updating) listBox_->ItemsChanged();
}

// ============================================================================ list box: properties

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
  strings_ = std::make_unique<TListBoxStrings>(this);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  sorted_ = Value;
  if (!sorted_) return;
  TObject* current = itemIndex_ >= 0 ? items_[size_t(itemIndex_)].Object : nullptr;
  AnsiString currentText = itemIndex_ >= 0 ? items_[size_t(itemIndex_)].Text : AnsiString();
  bool hadCurrent = itemIndex_ >= 0;
  std::stable_sort(items_.begin(), items_.end(),
                   [](const TItem& a, const TItem& b) { return CompareText(a.Text, b.Text) < 0; });
  if (hadCurrent)
    for (int32_t i = 0; i < Count(); ++i)
      if (items_[size_t(i)].Object == current && items_[size_t(i)].Text == currentText) {
        itemIndex_ = i;
        break;
      }
  ItemsChanged();
}

void TCustomListBox::SetItemIndex(int32_t Value) {
  if (Value < -1 || Value >= Count()) Value = -1;
  if (!multiSelect_)
    for (int32_t i = 0; i < Count(); ++i) items_[size_t(i)].Selected = i == Value;
  itemIndex_ = Value;
  anchor_ = Value;
  if (Value >= 0) MakeVisible(Value);
  Invalidate();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (multiSelect_ == Value) return;
  multiSelect_ = Value;
  for (int32_t i = 0; i < Count(); ++i) items_[size_t(i)].Selected = !Value && i == itemIndex_;
  Invalidate();
}

bool TCustomListBox::GetSelected(int32_t Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return items_[size_t(Index)].Selected;
}

void TCustomListBox::SetSelected(int32_t Index, bool Value) {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  if (!multiSelect_) {
    if (Value)
      SetItemIndex(Index);
    else if (itemIndex_ == Index)
      SetItemIndex(-1);
    return;
  }
  items_[size_t(Index)].Selected = Value;
  Invalidate();
}

int32_t TCustomListBox::GetSelCount() const {
  if (!multiSelect_) return -1;
  return int32_t(std::count_if(items_.begin(), items_.end(), [](const TItem& i) { return i.Selected; }));
}

void TCustomListBox::SelectAll() {
  if (!multiSelect_) return;
  for (TItem& i : items_) i.Selected = true;
  Invalidate();
}

void TCustomListBox::ClearSelection() {
  if (!multiSelect_) return SetItemIndex(-1);
  for (TItem& i : items_) i.Selected = false;
  Invalidate();
}

void TCustomListBox::DeleteSelected() {
  if (!multiSelect_) {
    if (itemIndex_ >= 0) DeleteItem(itemIndex_);
    return;
  }
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (items_[size_t(i)].Selected) DeleteItem(i);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  ItemsChanged();
}

int32_t TCustomListBox::GetItemHeight() {
  if (style_ == lbStandard && !itemHeightSet_) {
    // The font's line height.
    GetCanvas()->SetFont(GetFont());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max<int32_t>(1, tm.tmHeight);
  }
  return itemHeight_;
}

void TCustomListBox::SetItemHeight(int32_t Value) {
  if (Value <= 0) return;
  itemHeight_ = Value;
  itemHeightSet_ = true;
  ItemsChanged();
}

void TCustomListBox::SetTopIndex(int32_t Value) {
  int32_t most = std::max(0, Count() - VisibleRows());
  if (style_ == lbOwnerDrawVariable) most = std::max(0, Count() - 1);
  Value = std::clamp(Value, 0, most);
  if (Value == topIndex_) return;
  topIndex_ = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

int32_t TCustomListBox::ItemTop(int32_t Index) {
  if (style_ != lbOwnerDrawVariable) return (Index - topIndex_) * GetItemHeight();
  int32_t y = 0;
  if (Index >= topIndex_)
    for (int32_t i = topIndex_; i < Index; ++i) y += items_[size_t(i)].Height;
  else
    for (int32_t i = Index; i < topIndex_; ++i) y -= items_[size_t(i)].Height;
  return y;
}

TRect TCustomListBox::ItemRect(int32_t Index) {
  if (Index < 0 || Index > Count()) return TRect();
  int32_t h =
      style_ == lbOwnerDrawVariable && Index < Count() ? items_[size_t(Index)].Height : GetItemHeight();
  int32_t top = ItemTop(Index);
  return TRect{0, top, GetClientWidth(), top + h};
}

int32_t TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  TRect client = GetClientRect();
  if (Pos.X >= 0 && Pos.X < client.Right && Pos.Y >= 0) {
    int32_t y = 0;
    for (int32_t i = topIndex_; i < Count() && y < client.Bottom; ++i) {
      int32_t h = style_ == lbOwnerDrawVariable ? items_[size_t(i)].Height : GetItemHeight();
      if (Pos.Y < y + h) return i;
      y += h;
    }
  }
  return Existing ? -1 : Count();
}

int32_t TCustomListBox::VisibleRows() {
  return std::max(1, GetClientHeight() / std::max(1, GetItemHeight()));
}

void TCustomListBox::MakeVisible(int32_t Index) {
  if (Index < 0 || Index >= Count()) return;
  if (Index < topIndex_) return SetTopIndex(Index);
  if (style_ != lbOwnerDrawVariable) {
    if (Index >= topIndex_ + VisibleRows()) SetTopIndex(Index - VisibleRows() + 1);
    return;
  }
  int32_t top = topIndex_;
  int32_t room = GetClientHeight();
  auto bottomOf = [&](int32_t t) {
    int32_t y = 0;
    for (int32_t i = t; i <= Index; ++i) y += items_[size_t(i)].Height;
    return y;
  };
  while (top < Index && bottomOf(top) > room) ++top;
  SetTopIndex(top);
}

void TCustomListBox::Loaded() {
  TCustomControl::Loaded();
  ItemsChanged();
}

int32_t TCustomListBox::SortedPlace(const AnsiString& S) const {
  int32_t lo = 0, hi = Count();
  while (lo < hi) {
    int32_t mid = (lo + hi) / 2;
    if (CompareText(items_[size_t(mid)].Text, S) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int32_t TCustomListBox::InsertItem(int32_t Index, const AnsiString& S, TObject* Object) {
  // -2: add (in order when sorted), -1: the end.
  if (Index == -2) Index = sorted_ ? SortedPlace(S) : Count();
  if (Index < 0 || Index > Count()) Index = Count();
  TItem item;
  item.Text = S;
  item.Object = Object;
  if (style_ == lbOwnerDrawVariable) {
    item.Height = itemHeight_;
    items_.insert(items_.begin() + Index, item);
    MeasureItem(Index, items_[size_t(Index)].Height);
  } else {
    items_.insert(items_.begin() + Index, item);
  }
  if (itemIndex_ >= Index) ++itemIndex_;
  if (anchor_ >= Index) ++anchor_;
  ItemsChanged();
  return Index;
}

void TCustomListBox::DeleteItem(int32_t Index) {
  if (Index < 0 || Index >= Count()) return;
  items_.erase(items_.begin() + Index);
  if (itemIndex_ == Index)
    itemIndex_ = -1;
  else if (itemIndex_ > Index)
    --itemIndex_;
  if (anchor_ == Index)
    anchor_ = -1;
  else if (anchor_ > Index)
    --anchor_;
  ItemsChanged();
}

void TCustomListBox::ResetContent() {
  items_.clear();
  itemIndex_ = anchor_ = -1;
  topIndex_ = 0;
  ItemsChanged();
}

int32_t TCustomListBox::FindItem(const AnsiString& S, int32_t After, bool Exact) const {
  int32_t n = Count();
  if (n == 0) return -1;
  int32_t start = After < -1 || After >= n ? 0 : After + 1;
  for (int32_t k = 0; k < n; ++k) {
    int32_t i = (start + k) % n;
    const AnsiString& t = items_[size_t(i)].Text;
    if (Exact ? CompareText(t, S) == 0 : ListStartsWith(t, S)) return i;
  }
  return -1;
}

void TCustomListBox::ItemsChanged() {
  if (updating_ > 0) return;
  int32_t most = std::max(0, Count() - (style_ == lbOwnerDrawVariable ? 1 : VisibleRows()));
  topIndex_ = std::clamp(topIndex_, 0, most);
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::UpdateScrollBar() {
  if (!HandleAllocated() || !(GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VSCROLL)) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, Count() - 1);
  si.nPage = UINT(style_ == lbOwnerDrawVariable ? 1 : VisibleRows());
  si.nPos = topIndex_;
  SetScrollInfo(handle_, SB_VERT, &si, TRUE);
}

void TCustomListBox::MeasureItem(int32_t Index, int32_t& Height) { OnMeasureItem(this, Index, Height); }

// ============================================================================ list box: messages

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
  if (sorted_) Params.Style |= LBS_SORT;
  if (multiSelect_) Params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (style_ == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (style_ == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (borderStyle_ == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomListBox::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBar();
}

void TCustomListBox::Notify(WORD Code) {
  HWND parent = HandleAllocated() ? ::GetParent(handle_) : nullptr;
  if (parent && (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)) {
    WORD id = WORD(GetWindowLongPtrA(handle_, GWL_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, Code), reinterpret_cast<LPARAM>(handle_));
    return;
  }
  // Nobody to reflect it: act on it here.
  TMessage m{CN_COMMAND, MAKEWPARAM(0, Code), 0, 0};
  Dispatch(m);
}

void TCustomListBox::UserSelected() {
  Invalidate();
  if (combo_)
    combo_->ListSelected(true);
  else
    Notify(LBN_SELCHANGE);
}

void TCustomListBox::WndProc(TMessage& Message) {
  // Automatic dragging: the press still selects the item under the mouse first.
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && GetDragMode() == dmAutomatic &&
      !ComponentState().Contains(csDesigning) && !Dragging()) {
    if (CanFocus() && !Focused()) SetFocus();
    MouseSelect(LParamToPoint(Message.LParam), KeysToShiftState(WORD(Message.WParam)), true);
    if (Message.Msg == WM_LBUTTONDBLCLK) Notify(LBN_DBLCLK);
    BeginDrag(false);
    return;
  }
  TCustomControl::WndProc(Message);
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case LBN_SELCHANGE:
          Click();
          break;
        case LBN_DBLCLK:
          DblClick();
          break;
        default:
          break;
      }
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      ItemsChanged();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      ItemsChanged();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case CM_MOUSEWHEEL:
      // The wheel scrolls the list unless OnMouseWheel took it.
      if (!DoMouseWheel(KeysToShiftState(LOWORD(Message.WParam)), GET_WHEEL_DELTA_WPARAM(Message.WParam),
                        LParamToPoint(Message.LParam))) {
        TMessage m{WM_MOUSEWHEEL, Message.WParam, Message.LParam, 0};
        DefaultHandler(m);
      }
      Message.Result = 1;
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomListBox::DefaultHandler(TMessage& Message) {
  const WPARAM w = Message.WParam;
  const LPARAM l = Message.LParam;
  const int32_t n = Count();
  auto valid = [n](WPARAM i) { return intptr_t(i) >= 0 && intptr_t(i) < n; };
  switch (Message.Msg) {
    case LB_ADDSTRING:
      Message.Result = InsertItem(-2, ListMessageText(l), nullptr);
      return;
    case LB_INSERTSTRING:
      Message.Result =
          InsertItem(intptr_t(w) < 0 ? -1 : std::min<int32_t>(int32_t(w), n), ListMessageText(l), nullptr);
      return;
    case LB_DELETESTRING:
      if (!valid(w)) {
        Message.Result = LB_ERR;
        return;
      }
      DeleteItem(int32_t(w));
      Message.Result = Count();
      return;
    case LB_RESETCONTENT:
      ResetContent();
      Message.Result = 0;
      return;
    case LB_GETCOUNT:
      Message.Result = n;
      return;
    case LB_GETCURSEL:
      Message.Result = itemIndex_;
      return;
    case LB_SETCURSEL:
      if (multiSelect_) {
        Message.Result = LB_ERR;
        return;
      }
      SetItemIndex(valid(w) ? int32_t(w) : -1);
      Message.Result = valid(w) ? LRESULT(w) : LB_ERR;
      return;
    case LB_GETSEL:
      Message.Result = valid(w) ? (items_[w].Selected ? 1 : 0) : LB_ERR;
      return;
    case LB_SETSEL:
      if (!multiSelect_) {
        Message.Result = LB_ERR;
        return;
      }
      if (intptr_t(l) == -1) {
        for (TItem& i : items_) i.Selected = w != 0;
      } else if (valid(WPARAM(l))) {
        items_[size_t(l)].Selected = w != 0;
      } else {
        Message.Result = LB_ERR;
        return;
      }
      Invalidate();
      Message.Result = 0;
      return;
    case LB_GETSELCOUNT:
      Message.Result = multiSelect_ ? GetSelCount() : LB_ERR;
      return;
    case LB_GETTEXTLEN:
      Message.Result = valid(w) ? LRESULT(items_[w].Text.size()) : LB_ERR;
      return;
    case LB_GETTEXT:
      if (!valid(w) || !l) {
        Message.Result = LB_ERR;
        return;
      }
      std::memcpy(reinterpret_cast<char*>(l), items_[w].Text.c_str(), items_[w].Text.size() + 1);
      Message.Result = LRESULT(items_[w].Text.size());
      return;
    case LB_GETITEMDATA:
      Message.Result = valid(w) ? reinterpret_cast<LRESULT>(items_[w].Object) : LB_ERR;
      return;
    case LB_SETITEMDATA:
      if (!valid(w)) {
        Message.Result = LB_ERR;
        return;
      }
      items_[w].Object = reinterpret_cast<TObject*>(l);
      Message.Result = 0;
      return;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      Message.Result = FindItem(ListMessageText(l), int32_t(intptr_t(w)), Message.Msg == LB_FINDSTRINGEXACT);
      return;
    case LB_SELECTSTRING: {
      int32_t i = FindItem(ListMessageText(l), int32_t(intptr_t(w)), false);
      if (i >= 0 && !multiSelect_) SetItemIndex(i);
      Message.Result = i;
      return;
    }
    case LB_GETTOPINDEX:
      Message.Result = topIndex_;
      return;
    case LB_SETTOPINDEX:
      if (!valid(w) && !(n == 0 && w == 0)) {
        Message.Result = LB_ERR;
        return;
      }
      SetTopIndex(int32_t(w));
      Message.Result = 0;
      return;
    case LB_GETITEMRECT:
      if (!valid(w) || !l) {
        Message.Result = LB_ERR;
        return;
      }
      *reinterpret_cast<RECT*>(l) = ItemRect(int32_t(w));
      Message.Result = 1;
      return;
    case LB_GETITEMHEIGHT:
      Message.Result = style_ == lbOwnerDrawVariable && valid(w) ? items_[w].Height : GetItemHeight();
      return;
    case LB_SETITEMHEIGHT:
      if (LOWORD(l) == 0 || LOWORD(l) > 255) {
        Message.Result = LB_ERR;
        return;
      }
      if (style_ == lbOwnerDrawVariable) {
        if (!valid(w)) {
          Message.Result = LB_ERR;
          return;
        }
        items_[w].Height = LOWORD(l);
        ItemsChanged();
      } else {
        SetItemHeight(LOWORD(l));
      }
      Message.Result = 0;
      return;
    case LB_ITEMFROMPOINT: {
      int32_t i = ItemAtPos(LParamToPoint(l), true);
      Message.Result = i >= 0 ? MAKELRESULT(WORD(i), 0) : MAKELRESULT(WORD(std::max(0, n - 1)), 1);
      return;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::DefaultHandler(Message);
      Invalidate();
      if (!combo_) Notify(Message.Msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return;
    case WM_VSCROLL:
      ScrollMessage(LOWORD(w), int16_t(HIWORD(w)));
      return;
    case WM_MOUSEWHEEL:
      SetTopIndex(topIndex_ - GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA * kListWheelLines);
      Message.Result = 0;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (CanFocus() && !Focused() && !combo_) SetFocus();
      tracking_ = true;
      SetCapture(handle_);
      MouseSelect(LParamToPoint(l), KeysToShiftState(WORD(w)), true);
      if (Message.Msg == WM_LBUTTONDBLCLK && ItemAtPos(LParamToPoint(l), true) >= 0) Notify(LBN_DBLCLK);
      return;
    case WM_MOUSEMOVE:
      if (tracking_ && !multiSelect_) MouseSelect(LParamToPoint(l), {}, false);
      return;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        if (GetCapture() == handle_) ReleaseCapture();
      }
      return;
    case WM_CAPTURECHANGED:
      tracking_ = false;
      return;
    case WM_KEYDOWN:
      KeyDefault(WORD(w), KeyDataToShiftState(l));
      return;
    case WM_CHAR:
      TypeAhead(char(w));
      return;
    default:
      break;
  }
  TCustomControl::DefaultHandler(Message);
}

void TCustomListBox::ScrollMessage(WORD Code, int32_t Pos) {
  switch (Code) {
    case SB_LINEUP:
      return SetTopIndex(topIndex_ - 1);
    case SB_LINEDOWN:
      return SetTopIndex(topIndex_ + 1);
    case SB_PAGEUP:
      return SetTopIndex(topIndex_ - VisibleRows());
    case SB_PAGEDOWN:
      return SetTopIndex(topIndex_ + VisibleRows());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return SetTopIndex(Pos);
    case SB_TOP:
      return SetTopIndex(0);
    case SB_BOTTOM:
      return SetTopIndex(Count());
    default:
      return;
  }
}

// ============================================================================ list box: input =

void TCustomListBox::MoveCurrent(int32_t Index, bool Extend, bool Toggle) {
  if (Count() == 0) return;
  Index = std::clamp(Index, 0, Count() - 1);
  std::vector<bool> before;
  for (const TItem& i : items_) before.push_back(i.Selected);
  int32_t oldIndex = itemIndex_;
  if (!multiSelect_) {
    for (int32_t i = 0; i < Count(); ++i) items_[size_t(i)].Selected = i == Index;
    anchor_ = Index;
  } else if (extendedSelect_ && Extend && anchor_ >= 0) {
    int32_t lo = std::min(anchor_, Index), hi = std::max(anchor_, Index);
    for (int32_t i = 0; i < Count(); ++i) items_[size_t(i)].Selected = i >= lo && i <= hi;
  } else if (Toggle) {
    items_[size_t(Index)].Selected = !items_[size_t(Index)].Selected;
    anchor_ = Index;
  } else if (extendedSelect_) {
    for (int32_t i = 0; i < Count(); ++i) items_[size_t(i)].Selected = i == Index;
    anchor_ = Index;
  } else {
    anchor_ = Index;
  }
  itemIndex_ = Index;
  MakeVisible(Index);
  bool changed = oldIndex != itemIndex_;
  for (int32_t i = 0; i < Count() && !changed; ++i) changed = before[size_t(i)] != items_[size_t(i)].Selected;
  Invalidate();
  if (changed) UserSelected();
}

void TCustomListBox::MouseSelect(TPoint P, TShiftState Shift, bool Down) {
  if (Count() == 0) return;
  int32_t i = ItemAtPos(P, true);
  if (i < 0) {
    // Above or below the view while the button is held: scroll toward the mouse.
    if (Down && P.Y >= 0) return;
    i = P.Y < 0 ? std::max(0, topIndex_ - 1) : std::min(Count() - 1, topIndex_ + VisibleRows());
    if (P.Y >= 0 && P.Y < GetClientHeight()) return;
  }
  if (!multiSelect_) return MoveCurrent(i, false, false);
  if (!Down) return;
  if (extendedSelect_)
    MoveCurrent(i, Shift.Contains(ssShift), Shift.Contains(ssCtrl));
  else
    MoveCurrent(i, false, true);
}

void TCustomListBox::KeyDefault(WORD Key, TShiftState Shift) {
  int32_t cur = itemIndex_;
  int32_t target;
  switch (Key) {
    case VK_UP:
      target = cur - 1;
      break;
    case VK_DOWN:
      target = cur + 1;
      break;
    case VK_PRIOR:
      target = cur - (VisibleRows() - 1);
      break;
    case VK_NEXT:
      target = cur + (VisibleRows() - 1);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = Count() - 1;
      break;
    case VK_SPACE:
      if (multiSelect_ && cur >= 0) MoveCurrent(cur, false, true);
      return;
    default:
      return;
  }
  if (cur < 0) target = Key == VK_END ? Count() - 1 : 0;
  bool extend = Shift.Contains(ssShift);
  if (multiSelect_ && extendedSelect_ && Shift.Contains(ssCtrl) && !extend) {
    // Ctrl moves the focus frame without selecting.
    if (Count() == 0) return;
    itemIndex_ = std::clamp(target, 0, Count() - 1);
    MakeVisible(itemIndex_);
    Invalidate();
    return;
  }
  MoveCurrent(target, extend, false);
}

void TCustomListBox::TypeAhead(char C) {
  if (uint8_t(C) < ' ') return;
  uint32_t now = GetTickCount();
  if (now - typedAt_ > kListTypeAheadMs) typed_.clear();
  typedAt_ = now;
  typed_ += C;
  // Repeating one letter steps through the items beginning with it.
  bool sameLetter = typed_.size() > 1 && typed_.find_first_not_of(C) == AnsiString::npos;
  AnsiString key = sameLetter ? AnsiString(1, C) : typed_;
  int32_t from = sameLetter || typed_.size() == 1 ? itemIndex_ : itemIndex_ - 1;
  int32_t i = FindItem(key, from, false);
  if (i >= 0) MoveCurrent(i, false, false);
}

// ============================================================================ list box: painting

void TCustomListBox::PaintItem(TCanvas* Canvas, int32_t Index, const TRect& Rect, TOwnerDrawState State) {
  Canvas->SetFont(GetFont());
  Canvas->GetBrush()->SetStyle(bsSolid);
  if (State.Contains(odSelected)) {
    Canvas->GetBrush()->SetColor(clHighlight);
    Canvas->GetFont()->SetColor(clHighlightText);
  } else {
    Canvas->GetBrush()->SetColor(GetColor());
    if (State.Contains(odDisabled)) Canvas->GetFont()->SetColor(clGrayText);
  }
  DrawItem(Index, Rect, State);
  if (State.Contains(odFocused)) {
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->GetFont()->SetColor(clWindowText);
    Canvas->DrawFocusRect(Rect);
  }
}

void TCustomListBox::DrawItem(int32_t Index, TRect Rect, TOwnerDrawState State) {
  if (combo_ && OwnerDraw()) {
    // A combo box draws its list's items on its own canvas, bound to the list's DC meanwhile.
    auto* cc = static_cast<TControlCanvas*>(combo_->GetCanvas());
    TCanvas* mine = GetCanvas();
    cc->Lock();
    cc->BindPaintDC(mine->GetHandle());
    cc->SetFont(mine->GetFont());
    cc->GetBrush()->Assign(mine->GetBrush());
    struct TUnbind {
      TControlCanvas* c;
      ~TUnbind() {
        c->SetHandle(nullptr);
        c->Unlock();
      }
    } unbind{cc};
    combo_->DrawItem(Index, Rect, State);
    return;
  }
  if (OwnerDraw() && OnDrawItem) return OnDrawItem(this, Index, Rect, State);
  TCanvas* c = GetCanvas();
  c->FillRect(Rect);
  if (Index >= 0 && Index < Count()) c->TextOut(Rect.Left + 2, Rect.Top, items_[size_t(Index)].Text);
}

void TCustomListBox::Paint() {
  TCanvas* c = GetCanvas();
  TRect client = GetClientRect();
  bool focused = Focused() || (combo_ && !multiSelect_);
  int32_t y = 0;
  for (int32_t i = topIndex_; i < Count() && y < client.Bottom; ++i) {
    TRect r = ItemRect(i);
    TOwnerDrawState state;
    if (items_[size_t(i)].Selected || (!multiSelect_ && i == itemIndex_)) state.Include(odSelected);
    if (i == itemIndex_ && Focused()) state.Include(odFocused);
    if (!GetEnabled()) state.Include(odDisabled);
    (void)focused;
    PaintItem(c, i, r, state);
    y = r.Bottom;
  }
  if (y < client.Bottom) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(TRect{0, y, client.Right, client.Bottom});
  }
  // An empty focused list still shows where the focus is.
  if (Count() == 0 && Focused()) c->DrawFocusRect(TRect{0, 0, client.Right, GetItemHeight()});
}

// ============================================================================ combo box parts =

// The edit of a combo box: its keys go through the combo box first and its focus counts as
// the combo box's.
class TComboEdit : public TCustomEdit {
  PL_CLASS(TComboEdit)
 public:
  TComboEdit(TComponent* AOwner, TCustomComboBox* Combo) : TCustomEdit(AOwner), combo_(Combo) {
    SetAutoSize(false);
    SetTabStop(false);
    SetParentColor(true);
  }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_SETFOCUS) {
      if (TCustomForm* form = GetParentForm(combo_)) form->SetFocusedControl(combo_);
      Dispatch(Message);
      return;
    }
    if (Message.Msg == WM_KILLFOCUS) {
      HWND to = reinterpret_cast<HWND>(Message.WParam);
      if (combo_->GetDroppedDown() && to != combo_->Handle()) combo_->CloseDropDown(false);
    }
    TCustomEdit::WndProc(Message);
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      TCustomEdit::Dispatch(Message);
      if (combo_->GetDroppedDown()) Message.Result |= DLGC_WANTALLKEYS;
      return;
    }
    TCustomEdit::Dispatch(Message);
  }
  void KeyDown(WORD& Key, TShiftState Shift) override {
    combo_->KeyDown(Key, Shift);
    if (Key) TCustomEdit::KeyDown(Key, Shift);
  }
  void KeyPress(char& Key) override {
    combo_->KeyPress(Key);
    if (Key) TCustomEdit::KeyPress(Key);
  }

 private:
  TCustomComboBox* combo_;
};

const TClassInfo& TComboEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TComboEdit, TCustomEdit>("TComboEdit");
  return info;
}

// The list of a combo box: a child below the edit (csSimple) or a popup window that drops
// below the control, follows the mouse and takes the item clicked.
class TComboDropList : public TCustomListBox {
  PL_CLASS(TComboDropList)
 public:
  TComboDropList(TComponent* AOwner, TCustomComboBox* Combo) : TCustomListBox(AOwner) {
    combo_ = Combo;
    SetTabStop(false);
  }
  bool Popup = true;
  bool Entered = false;    // the mouse went into the dropped list
  bool Scrolling = false;  // its scroll bar is being dragged

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomListBox::CreateParams(Params);
    if (!Popup) return;
    Params.Style = WS_POPUP | WS_BORDER | WS_VSCROLL | WS_CLIPSIBLINGS;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
  }
  void DefaultHandler(TMessage& Message) override {
    if (!Popup) return TCustomListBox::DefaultHandler(Message);
    TPoint p = LParamToPoint(Message.LParam);
    bool inClient = GetClientRect().Contains(p);
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        if (inClient) {
          Entered = true;
          HotTrack(p);
        }
        return;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        if (inClient) {
          Entered = true;
          HotTrack(p);
          return;
        }
        TPoint screen = ClientToScreen(p);
        RECT wr;
        GetWindowRect(handle_, &wr);
        if (TRect{wr}.Contains(screen)) {
          // The scroll bar: the window manager tracks it, and the capture comes back after.
          LRESULT hit = SendMessageA(handle_, WM_NCHITTEST, 0, PointToLParam(screen));
          Scrolling = true;
          DefWindowProcA(handle_, WM_NCLBUTTONDOWN, WPARAM(hit), PointToLParam(screen));
          return;
        }
        combo_->CloseDropDown(false);
        return;
      }
      case WM_LBUTTONUP:
        if (inClient && Entered && ItemAtPos(p, true) >= 0) {
          HotTrack(p);
          combo_->CloseDropDown(true);
        }
        return;
      case WM_VSCROLL:
        TCustomListBox::DefaultHandler(Message);
        if (LOWORD(Message.WParam) == SB_ENDSCROLL || LOWORD(Message.WParam) == SB_THUMBPOSITION) {
          Scrolling = false;
          if (combo_->GetDroppedDown()) SetCapture(handle_);
        }
        return;
      case WM_CAPTURECHANGED:
        if (!Scrolling && combo_->GetDroppedDown() && reinterpret_cast<HWND>(Message.LParam) != handle_)
          combo_->CloseDropDown(false);
        return;
      case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
      default:
        break;
    }
    TCustomListBox::DefaultHandler(Message);
  }

 private:
  void HotTrack(TPoint p) {
    int32_t i = ItemAtPos(p, true);
    if (i < 0 || i == itemIndex_) return;
    itemIndex_ = i;
    for (int32_t k = 0; k < Count(); ++k) items_[size_t(k)].Selected = k == i;
    Invalidate();
  }
};

const TClassInfo& TComboDropList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TComboDropList, TCustomListBox>("TComboDropList");
  return info;
}

// ============================================================================ combo box: properties

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight, csOpaque};
  auto* list = new TComboDropList(nullptr, this);
  list_ = list;
  list->SetVisible(false);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  edit_ = new TComboEdit(nullptr, this);
  edit_->SetBorderStyle(bsNone);
  TControl::SetBounds(0, 0, 145, 21);
  Layout();
}

TCustomComboBox::~TCustomComboBox() {
  if (dropped_ && list_->HandleAllocated()) ReleaseCapture();
  delete edit_;
  edit_ = nullptr;
  delete list_;
  list_ = nullptr;
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (style_ == Value) return;
  if (dropped_) CloseDropDown(false);
  AnsiString text = GetText();
  bool hadFocus = Focused();
  style_ = Value;
  auto* list = static_cast<TComboDropList*>(list_);
  bool popup = style_ != csSimple;
  if (list->Popup != popup) {
    list->SetParent(nullptr);
    if (list->HandleAllocated()) list->RecreateWnd();
    list->Popup = popup;
    if (!popup) {
      list->SetVisible(true);
      list->SetParent(this);
    } else {
      list->SetVisible(false);
    }
  }
  list_->SetStyle(style_ == csOwnerDrawFixed      ? lbOwnerDrawFixed
                  : style_ == csOwnerDrawVariable ? lbOwnerDrawVariable
                                                  : lbStandard);
  if (HasEdit()) {
    edit_->SetBorderStyle(style_ == csSimple ? bsSingle : bsNone);
    edit_->SetParent(this);
    settingText_ = true;
    edit_->SetText(text);
    settingText_ = false;
  } else {
    edit_->SetParent(nullptr);
    ShowItemText();
  }
  if (style_ == csSimple)
    ControlStyle.Exclude(csFixedHeight);
  else
    ControlStyle.Include(csFixedHeight);
  if (HandleAllocated()) RecreateWnd();
  Layout();
  Invalidate();
  // The new windows take the focus the old ones had.
  if (hadFocus && Showing()) {
    HandleNeeded();
    ::SetFocus(handle_);
  }
}

void TCustomComboBox::SetItemIndex(int32_t Value) {
  list_->SetItemIndex(Value);
  ShowItemText();
}

void TCustomComboBox::ShowItemText() {
  int32_t i = list_->GetItemIndex();
  AnsiString t = i >= 0 ? list_->items_[size_t(i)].Text : AnsiString();
  if (HasEdit()) {
    if (i < 0) return;
    settingText_ = true;
    edit_->SetText(t);
    settingText_ = false;
    if (edit_->Focused()) edit_->SelectAll();
  } else {
    text_ = t;
  }
  Invalidate();
}

int32_t TCustomComboBox::GetItemHeight() { return list_->GetItemHeight(); }

void TCustomComboBox::SetItemHeight(int32_t Value) {
  list_->SetItemHeight(Value);
  Layout();
}

void TCustomComboBox::SetMaxLength(int32_t Value) {
  maxLength_ = std::max(0, Value);
  edit_->SetMaxLength(maxLength_);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value) {
  charCase_ = Value;
  edit_->SetCharCase(Value);
}

int32_t TCustomComboBox::GetSelStart() { return HasEdit() ? edit_->GetSelStart() : 0; }
void TCustomComboBox::SetSelStart(int32_t Value) {
  if (HasEdit()) edit_->SetSelStart(Value);
}
int32_t TCustomComboBox::GetSelLength() { return HasEdit() ? edit_->GetSelLength() : int32_t(text_.size()); }
void TCustomComboBox::SetSelLength(int32_t Value) {
  if (HasEdit()) edit_->SetSelLength(Value);
}
AnsiString TCustomComboBox::GetSelText() { return HasEdit() ? edit_->GetSelText() : text_; }
void TCustomComboBox::SetSelText(const AnsiString& Value) {
  if (HasEdit()) edit_->SetSelText(Value);
}
void TCustomComboBox::SelectAll() {
  if (HasEdit()) edit_->SelectAll();
}

void TCustomComboBox::Clear() {
  list_->Clear();
  SetText("");
}

AnsiString TCustomComboBox::GetText() { return HasEdit() ? edit_->GetText() : text_; }

void TCustomComboBox::SetText(const AnsiString& Value) {
  int32_t i = list_->FindItem(Value, -1, true);
  if (i >= 0 && list_->items_[size_t(i)].Text != Value) i = -1;
  if (HasEdit()) {
    list_->SetItemIndex(i);
    settingText_ = true;
    edit_->SetText(Value);
    settingText_ = false;
  } else {
    // Only an item can be shown.
    list_->SetItemIndex(i);
    text_ = i >= 0 ? Value : AnsiString();
  }
  Invalidate();
  Perform(CM_TEXTCHANGED, 0, 0);
}

bool TCustomComboBox::Focused() {
  HWND f = GetFocus();
  return f && ((HandleAllocated() && f == handle_) || (edit_->HandleAllocated() && f == edit_->Handle()));
}

void TCustomComboBox::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  if (style_ != csSimple && editHeight_ > 0) AHeight = editHeight_;
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Layout();
}

void TCustomComboBox::Loaded() {
  TCustomControl::Loaded();
  Layout();
}

TRect TCustomComboBox::ButtonRect() {
  TRect c = GetClientRect();
  int32_t w = GetSystemMetrics(SM_CXVSCROLL);
  return TRect{c.Right - w, c.Top, c.Right, c.Bottom};
}

void TCustomComboBox::Layout() {
  if (!list_ || !edit_) return;
  int32_t item = style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable || list_->itemHeightSet_
                     ? list_->GetItemHeight()
                 : edit_->GetFont() ? list_->GetItemHeight()
                                    : 16;
  editHeight_ = item + 8;
  if (style_ != csSimple && Height() != editHeight_ && !ComponentState().Contains(csLoading))
    TCustomControl::SetBounds(Left(), Top(), Width(), editHeight_);
  // The client area inside the sunken edge.
  int32_t border = style_ == csSimple ? 0 : 2 * GetSystemMetrics(SM_CXEDGE);
  int32_t cw = std::max(0, Width() - border), ch = std::max(0, Height() - border);
  if (style_ == csSimple) {
    edit_->SetBounds(0, 0, cw, editHeight_);
    list_->SetBounds(0, editHeight_, cw, std::max(0, ch - editHeight_));
  } else if (HasEdit()) {
    int32_t bw = GetSystemMetrics(SM_CXVSCROLL);
    edit_->SetBounds(2, 2, std::max(0, cw - bw - 3), std::max(0, ch - 3));
  }
}

// ============================================================================ combo box: messages

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  switch (style_) {
    case csSimple:
      Params.Style |= CBS_SIMPLE;
      break;
    case csDropDown:
      Params.Style |= CBS_DROPDOWN;
      break;
    case csDropDownList:
      Params.Style |= CBS_DROPDOWNLIST;
      break;
    case csOwnerDrawFixed:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
      break;
    case csOwnerDrawVariable:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
      break;
  }
  if (GetSorted()) Params.Style |= CBS_SORT;
  if (style_ != csSimple) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomComboBox::CreateWnd() {
  TCustomControl::CreateWnd();
  if (HasEdit() && edit_->GetParent() != this) edit_->SetParent(this);
  if (style_ == csSimple && list_->GetParent() != this) list_->SetParent(this);
  Layout();
}

void TCustomComboBox::Notify(WORD Code) {
  HWND parent = HandleAllocated() ? ::GetParent(handle_) : nullptr;
  if (parent) {
    WORD id = WORD(GetWindowLongPtrA(handle_, GWL_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, Code), reinterpret_cast<LPARAM>(handle_));
    return;
  }
  TMessage m{CN_COMMAND, MAKEWPARAM(0, Code), 0, 0};
  Dispatch(m);
}

void TCustomComboBox::Change() { OnChange(this); }

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown() { OnDropDown(this); }
void TCustomComboBox::CloseUp() { OnCloseUp(this); }

void TCustomComboBox::EditChanged() {
  if (settingText_) return;
  AnsiString t = edit_->GetText();
  int32_t i = list_->GetItemIndex();
  if (i >= 0 && list_->items_[size_t(i)].Text != t) list_->SetItemIndex(-1);
  // While dropped the list follows what is typed.
  if (dropped_ && !t.empty()) {
    int32_t found = list_->FindItem(t, -1, false);
    if (found >= 0) list_->SetItemIndex(found);
  }
  Notify(CBN_EDITCHANGE);
}

void TCustomComboBox::ListSelected(bool Final) {
  if (dropped_ && !Final) return;
  ShowItemText();
  if (style_ == csSimple || !dropped_) Notify(CBN_SELCHANGE);
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
      // The edit's notifications are the combo box's own business.
      if (edit_->HandleAllocated() && reinterpret_cast<HWND>(Message.LParam) == edit_->Handle()) {
        if (HIWORD(Message.WParam) == EN_CHANGE) EditChanged();
        return;
      }
      if (list_->HandleAllocated() && reinterpret_cast<HWND>(Message.LParam) == list_->Handle()) return;
      break;
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE:
          Click();
          Select();
          break;
        case CBN_EDITCHANGE:
          Change();
          break;
        case CBN_DROPDOWN:
          DropDown();
          break;
        case CBN_CLOSEUP:
          CloseUp();
          break;
        default:
          break;
      }
      return;
    case WM_SETFOCUS:
      TCustomControl::Dispatch(Message);
      if (HasEdit() && edit_->HandleAllocated()) {
        ::SetFocus(edit_->Handle());
        edit_->SelectAll();
      }
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      if (dropped_ &&
          !(edit_->HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == edit_->Handle()))
        CloseDropDown(false);
      Invalidate();
      return;
    case CM_EXIT:
      if (dropped_) CloseDropDown(false);
      break;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      Layout();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      edit_->SetFont(GetFont());
      list_->SetFont(GetFont());
      Layout();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(Message);
      edit_->SetEnabled(GetEnabled());
      list_->SetEnabled(GetEnabled());
      return;
    case CM_COLORCHANGED:
      TCustomControl::Dispatch(Message);
      list_->SetColor(GetColor());
      return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
      return DefaultHandler(Message);
    case CM_MOUSEWHEEL:
      if (!DoMouseWheel(KeysToShiftState(LOWORD(Message.WParam)), GET_WHEEL_DELTA_WPARAM(Message.WParam),
                        LParamToPoint(Message.LParam))) {
        TMessage m{WM_MOUSEWHEEL, Message.WParam, Message.LParam, 0};
        if (dropped_)
          list_->DefaultHandler(m);
        else
          DefaultHandler(m);
      }
      Message.Result = 1;
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomComboBox::DefaultHandler(TMessage& Message) {
  const WPARAM w = Message.WParam;
  const LPARAM l = Message.LParam;
  switch (Message.Msg) {
    case CB_ADDSTRING:
      Message.Result = list_->InsertItem(-2, ListMessageText(l), nullptr);
      return;
    case CB_INSERTSTRING:
      Message.Result = list_->InsertItem(intptr_t(w) < 0 ? -1 : std::min<int32_t>(int32_t(w), list_->Count()),
                                         ListMessageText(l), nullptr);
      return;
    case CB_RESETCONTENT:
      list_->ResetContent();
      if (!HasEdit()) text_.clear();
      Invalidate();
      Message.Result = CB_OKAY;
      return;
    case CB_SETCURSEL: {
      bool valid = intptr_t(w) >= 0 && intptr_t(w) < list_->Count();
      SetItemIndex(valid ? int32_t(w) : -1);
      Message.Result = valid ? LRESULT(w) : CB_ERR;
      return;
    }
    case CB_SELECTSTRING: {
      int32_t i = list_->FindItem(ListMessageText(l), int32_t(intptr_t(w)), false);
      if (i >= 0) SetItemIndex(i);
      Message.Result = i;
      return;
    }
    case CB_SHOWDROPDOWN:
      SetDroppedDown(w != 0);
      Message.Result = TRUE;
      return;
    case CB_GETDROPPEDSTATE:
      Message.Result = dropped_ ? TRUE : FALSE;
      return;
    case CB_SETDROPPEDWIDTH:
      droppedWidth_ = int32_t(w);
      Message.Result = std::max(droppedWidth_, Width());
      return;
    case CB_GETDROPPEDWIDTH:
      Message.Result = std::max(droppedWidth_, Width());
      return;
    case CB_GETDROPPEDCONTROLRECT:
      if (l) {
        TPoint o = ClientToScreen({0, 0});
        int32_t rows = std::min(std::max(1, list_->Count()), dropDownCount_);
        *reinterpret_cast<RECT*>(l) =
            Bounds(o.X, o.Y, std::max(droppedWidth_, Width()), Height() + rows * list_->GetItemHeight() + 2);
      }
      Message.Result = TRUE;
      return;
    case CB_LIMITTEXT:
      SetMaxLength(int32_t(w));
      Message.Result = TRUE;
      return;
    case CB_GETEDITSEL:
      if (!HasEdit()) {
        Message.Result = CB_ERR;
        return;
      }
      Message.Result = edit_->Perform(EM_GETSEL, w, l);
      return;
    case CB_SETEDITSEL:
      if (!HasEdit()) {
        Message.Result = CB_ERR;
        return;
      }
      edit_->Perform(EM_SETSEL, WPARAM(int16_t(LOWORD(l))), LPARAM(int16_t(HIWORD(l))));
      Message.Result = TRUE;
      return;
    case CB_GETITEMHEIGHT:
      Message.Result = intptr_t(w) == -1 ? editHeight_ : list_->GetItemHeight();
      return;
    case CB_SETITEMHEIGHT:
      if (intptr_t(w) != -1) SetItemHeight(LOWORD(l));
      Message.Result = CB_OKAY;
      return;
    case CB_DELETESTRING:
    case CB_GETCOUNT:
    case CB_GETCURSEL:
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_GETITEMDATA:
    case CB_SETITEMDATA: {
      // The list's own message of the same meaning.
      static const struct {
        UINT Cb, Lb;
      } map[] = {{CB_DELETESTRING, LB_DELETESTRING},
                 {CB_GETCOUNT, LB_GETCOUNT},
                 {CB_GETCURSEL, LB_GETCURSEL},
                 {CB_GETLBTEXT, LB_GETTEXT},
                 {CB_GETLBTEXTLEN, LB_GETTEXTLEN},
                 {CB_FINDSTRING, LB_FINDSTRING},
                 {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT},
                 {CB_GETITEMDATA, LB_GETITEMDATA},
                 {CB_SETITEMDATA, LB_SETITEMDATA}};
      for (const auto& m : map)
        if (m.Cb == Message.Msg) {
          TMessage lm{m.Lb, w, l, 0};
          list_->DefaultHandler(lm);
          Message.Result = lm.Result;
          if (Message.Msg == CB_DELETESTRING) ShowItemText();
          return;
        }
      return;
    }
    case WM_GETTEXT: {
      Message.Result = 0;
      if (!w || !l) return;
      AnsiString t = GetText();
      size_t n = std::min<size_t>(t.size(), w - 1);
      std::memcpy(reinterpret_cast<char*>(l), t.data(), n);
      reinterpret_cast<char*>(l)[n] = 0;
      Message.Result = LRESULT(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(GetText().size());
      return;
    case WM_SETTEXT:
      SetText(ListMessageText(l));
      Message.Result = TRUE;
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_MOUSEWHEEL:
      if (!dropped_) {
        int32_t step = GET_WHEEL_DELTA_WPARAM(w) > 0 ? -1 : 1;
        ComboKey(step < 0 ? VK_UP : VK_DOWN, {});
      }
      Message.Result = 0;
      return;
    default:
      break;
  }
  TCustomControl::DefaultHandler(Message);
}

// ============================================================================ combo box: drop-down

bool TCustomComboBox::ComboKey(WORD Key, TShiftState Shift) {
  bool alt = Shift.Contains(ssAlt);
  if (style_ != csSimple && ((Key == VK_F4 && !alt) || (alt && (Key == VK_DOWN || Key == VK_UP)))) {
    SetDroppedDown(!dropped_);
    return true;
  }
  if (dropped_ && (Key == VK_RETURN || Key == VK_ESCAPE)) {
    CloseDropDown(Key == VK_RETURN);
    return true;
  }
  if (alt) return false;
  int32_t cur = list_->GetItemIndex(), n = list_->Count(), target;
  int32_t page = dropped_ || style_ == csSimple ? list_->VisibleRows() - 1 : dropDownCount_ - 1;
  switch (Key) {
    case VK_UP:
      target = cur - 1;
      break;
    case VK_DOWN:
      target = cur + 1;
      break;
    case VK_PRIOR:
      target = cur - std::max(1, page);
      break;
    case VK_NEXT:
      target = cur + std::max(1, page);
      break;
    case VK_HOME:
    case VK_END:
      // In an edit they move the caret.
      if (HasEdit()) return false;
      target = Key == VK_HOME ? 0 : n - 1;
      break;
    default:
      return false;
  }
  if (n == 0) return true;
  if (cur < 0) target = 0;
  target = std::clamp(target, 0, n - 1);
  if (target == cur) return true;
  list_->SetItemIndex(target);
  ShowItemText();
  if (dropped_) itemIndexAtDrop_ = target;
  Notify(CBN_SELCHANGE);
  return true;
}

void TCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key && ComboKey(Key, Shift)) Key = 0;
}

void TCustomComboBox::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (!Key) return;
  if (dropped_ && (Key == '\r' || Key == 27)) {
    Key = 0;
    return;
  }
  if (!HasEdit() && uint8_t(Key) >= ' ') {
    // Type-ahead in the list decides the item.
    int32_t before = list_->GetItemIndex();
    TMessage m{WM_CHAR, WPARAM(uint8_t(Key)), 0, 0};
    TCustomComboBox* keep = list_->combo_;
    list_->combo_ = nullptr;
    list_->updating_++;
    list_->TypeAhead(Key);
    list_->updating_--;
    list_->combo_ = keep;
    (void)m;
    if (list_->GetItemIndex() != before) {
      ShowItemText();
      if (dropped_) itemIndexAtDrop_ = list_->GetItemIndex();
      Notify(CBN_SELCHANGE);
    }
    Key = 0;
  }
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft && style_ != csSimple) {
    if (CanFocus() && !Focused()) SetFocus();
    if (!HasEdit() || ButtonRect().Contains({X, Y})) SetDroppedDown(!dropped_);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (style_ == csSimple || Value == dropped_) return;
  if (!Value) return CloseDropDown(false);
  if (!HandleAllocated() || !Showing()) return;
  Notify(CBN_DROPDOWN);
  if (ComponentState().Contains(csDestroying) || !HandleAllocated()) return;
  auto* list = static_cast<TComboDropList*>(list_);
  list->SetFont(GetFont());
  list->SetColor(GetColor());
  itemIndexAtDrop_ = list_->GetItemIndex();
  TCustomForm* form = GetParentForm(this);
  if (form) list->SetParentWindow(nullptr);
  list->HandleNeeded();
  // The list's window owned by the form's, so it goes with it.
  if (form && form->HandleAllocated())
    SetWindowLongPtrA(list->Handle(), GWLP_HWNDPARENT, LONG_PTR(form->Handle()));
  int32_t rows = std::min(std::max(1, list_->Count()), dropDownCount_);
  int32_t width = std::max(droppedWidth_, Width());
  int32_t height = rows * list_->GetItemHeight() + 2;
  TPoint origin = GetParent() ? GetParent()->ClientToScreen({Left(), Top()}) : ClientToScreen({0, 0});
  int32_t sh = GetSystemMetrics(SM_CYSCREEN);
  int32_t y = origin.Y + Height();
  if (y + height > sh && origin.Y - height >= 0) y = origin.Y - height;
  list->Entered = false;
  list->Scrolling = false;
  dropped_ = true;
  SetWindowPos(list->Handle(), HWND_TOPMOST, origin.X, y, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  list->SetBounds(origin.X, y, width, height);
  list->MakeVisible(list_->GetItemIndex());
  list->Invalidate();
  SetCapture(list->Handle());
  Invalidate();
}

void TCustomComboBox::CloseDropDown(bool Take) {
  if (!dropped_) return;
  dropped_ = false;
  auto* list = static_cast<TComboDropList*>(list_);
  if (list->HandleAllocated()) {
    if (GetCapture() == list->Handle()) ReleaseCapture();
    SetWindowPos(list->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int32_t now = list_->GetItemIndex();
  bool changed = Take && now != itemIndexAtDrop_;
  if (!Take) {
    list_->SetItemIndex(itemIndexAtDrop_);
  } else if (now >= 0) {
    ShowItemText();
    if (HasEdit() && edit_->HandleAllocated()) edit_->SelectAll();
  }
  Invalidate();
  if (changed) Notify(CBN_SELCHANGE);
  Notify(CBN_CLOSEUP);
}

// ============================================================================ combo box: painting

void TCustomComboBox::DrawItem(int32_t Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) return OnDrawItem(this, Index, Rect, State);
  TCanvas* c = GetCanvas();
  c->FillRect(Rect);
  if (Index >= 0 && Index < list_->Count())
    c->TextOut(Rect.Left + 2, Rect.Top, list_->items_[size_t(Index)].Text);
}

void TCustomComboBox::PaintButton(TCanvas* Canvas) {
  RECT b = ButtonRect();
  DrawFrameControl(
      Canvas->GetHandle(), &b, DFC_SCROLL,
      DFCS_SCROLLCOMBOBOX | (dropped_ ? DFCS_PUSHED | DFCS_FLAT : 0) | (GetEnabled() ? 0 : DFCS_INACTIVE));
}

void TCustomComboBox::Paint() {
  TCanvas* c = GetCanvas();
  TRect client = GetClientRect();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  if (style_ == csSimple) {
    c->FillRect(client);
    return;
  }
  TRect field{client.Left, client.Top, ButtonRect().Left, client.Bottom};
  c->FillRect(field);
  PaintButton(c);
  if (HasEdit()) return;
  // The selected item in the field: highlighted while focused and closed.
  TRect item = field;
  InflateRect(&item, -2, -2);
  bool focused = Focused() && !dropped_;
  TOwnerDrawState state{odComboBoxEdit};
  if (focused) state = state + TOwnerDrawState{odSelected, odFocused};
  if (!GetEnabled()) state.Include(odDisabled);
  c->SetFont(GetFont());
  if (focused) {
    c->GetBrush()->SetColor(clHighlight);
    c->GetFont()->SetColor(clHighlightText);
  } else if (!GetEnabled()) {
    c->GetFont()->SetColor(clGrayText);
  }
  int32_t i = list_->GetItemIndex();
  if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) {
    DrawItem(i, item, state);
  } else {
    c->FillRect(item);
    int32_t th = c->TextHeight("Ag");
    c->TextOut(item.Left + 1, item.Top + (item.Height() - th) / 2, text_);
  }
  if (focused) {
    c->GetBrush()->SetColor(GetColor());
    c->GetFont()->SetColor(clWindowText);
    c->DrawFocusRect(item);
  }
}
