// Page control and tab sheets, tab control, status bar, up-down, track bar and progress bar.
#include "platform/ui/ComBars.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Forms.h"

PL_ENUM_NAMES(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight")
PL_ENUM_NAMES(TStatusPanelStyle, "psText", "psOwnerDraw")
PL_ENUM_NAMES(TStatusPanelBevel, "pbNone", "pbLowered", "pbRaised")
PL_ENUM_NAMES(TUDAlignButton, "udLeft", "udRight")
PL_ENUM_NAMES(TUDOrientation, "udHorizontal", "udVertical")
PL_ENUM_NAMES(TTrackBarOrientation, "trHorizontal", "trVertical")
PL_ENUM_NAMES(TTickMark, "tmBottomRight", "tmTopLeft", "tmBoth")
PL_ENUM_NAMES(TTickStyle, "tsNone", "tsAuto", "tsManual")
PL_ENUM_NAMES(TProgressBarOrientation, "pbHorizontal", "pbVertical")

namespace {

constexpr UINT_PTR kComBarsRepeatTimer = 1;
constexpr UINT kComBarsRepeatDelay = 400, kComBarsRepeatRate = 100;

void ComBarsFill(TCanvas* c, const TRect& r, TColor color) {
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(color);
  c->FillRect(r);
}

// The canvas's DC with its font and brush selected, for DrawText.
HDC ComBarsTextDC(TCanvas* c) {
  c->RequiredState({csHandleValid, csFontValid, csBrushValid});
  return c->GetHandle();
}

void ComBarsEdge(TCanvas* c, TRect r, UINT edge, UINT flags) {
  RECT rr = r;
  DrawEdge(c->GetHandle(), &rr, edge, flags);
}

struct TComBarsRegistration {
  TComBarsRegistration() {
    RegisterClasses({&TPageControl::ClassInfo(), &TTabSheet::ClassInfo(), &TTabControl::ClassInfo(),
                     &TStatusBar::ClassInfo(), &TUpDown::ClassInfo(), &TTrackBar::ClassInfo(),
                     &TProgressBar::ClassInfo()});
  }
} g_comBarsRegistration;

}  // namespace

// ============================================================================ tab control =====

const TClassInfo& TCustomTabControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomTabControl, TCustomControl>("TCustomTabControl")
          .Prop("MultiLine", &TCustomTabControl::GetMultiLine, &TCustomTabControl::SetMultiLine)
          .Default(false)
          .Prop("TabHeight", &TCustomTabControl::GetTabHeight, &TCustomTabControl::SetTabHeight)
          .Default(0)
          .Prop("TabPosition", &TCustomTabControl::GetTabPosition, &TCustomTabControl::SetTabPosition)
          .Default(tpTop)
          .Event("OnChange", &TCustomTabControl::OnChange)
          .Event("OnChanging", &TCustomTabControl::OnChanging);
  return info;
}

const TClassInfo& TTabControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TTabControl, TCustomTabControl>("TTabControl")
          .Object("Tabs", &TCustomTabControl::GetTabs, &TCustomTabControl::SetTabs)
          .Prop("TabIndex", &TCustomTabControl::GetTabIndex, &TCustomTabControl::SetTabIndex)
          .Default(-1);
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner), tabs_(std::make_unique<TStringList>()) {
  ControlStyle = {csAcceptsControls, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
  SetColor(clBtnFace);
  tabs_->OnChange = TNotifyEvent(this, &TCustomTabControl::TabsChanged);
}

TCustomTabControl::~TCustomTabControl() { tabs_->OnChange = nullptr; }

void TCustomTabControl::TabsChanged(TObject*) {
  if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
  if (tabIndex_ < 0 && tabs_->Count() > 0 && !Is<TPageControl>(this)) tabIndex_ = 0;
  scrollToChosen_ = true;
  Realign();
  Invalidate();
}

void TCustomTabControl::SetTabIndex(int32_t Value) {
  if (Value < -1 || Value >= tabs_->Count() || Value == tabIndex_) return;
  tabIndex_ = Value;
  // Brought into view when the tabs are next laid out: the control may not be sized yet.
  scrollToChosen_ = true;
  Invalidate();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (tabPosition_ == Value) return;
  tabPosition_ = Value;
  Realign();
  Invalidate();
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (multiLine_ == Value) return;
  multiLine_ = Value;
  scrollToChosen_ = true;
  Realign();
  Invalidate();
}

void TCustomTabControl::SetTabHeight(int16_t Value) {
  if (tabHeight_ == Value) return;
  tabHeight_ = Value;
  Realign();
  Invalidate();
}

TCustomTabControl::TTabLayout TCustomTabControl::Layout() {
  TTabLayout L;
  const int32_t n = tabs_->Count();
  if (n == 0) return L;
  const TRect client = GetClientRect();
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  const int32_t depth = tabHeight_ > 0 ? tabHeight_ : c->TextHeight("Ag") + 6;  // of one row
  L.tabs.resize(size_t(n));
  L.row.assign(size_t(n), 0);
  L.rows = 1;
  if (tabPosition_ == tpLeft || tabPosition_ == tpRight) {
    L.band = depth + 2;
    for (int32_t i = 0; i < n; ++i) {
      const int32_t pos = 2 + i * depth;
      L.tabs[size_t(i)] = tabPosition_ == tpLeft ? Rect(2, pos, L.band + 40, pos + depth)
                                                 : Rect(client.Right - L.band - 40, pos, client.Right - 2, pos + depth);
    }
    scrollToChosen_ = false;
    return L;
  }
  const size_t count = static_cast<size_t>(n);
  std::vector<int32_t> width(count), x(count);
  for (int32_t i = 0; i < n; ++i) width[size_t(i)] = c->TextWidth(StripHotkey(tabs_->Get(i))) + 12;
  const int32_t right = client.Right - 2;
  if (multiLine_) {
    // Rows fill from the left; a tab wider than a row has one to itself.
    std::vector<int32_t> rowOf(count);
    int32_t pos = 2, row = 0;
    for (size_t i = 0; i < size_t(n); ++i) {
      if (pos > 2 && pos + width[i] > right) {
        ++row;
        pos = 2;
      }
      rowOf[i] = row;
      x[i] = pos;
      pos += width[i];
    }
    L.rows = row + 1;
    // Once they wrap, every row is stretched to the full width.
    for (size_t i = 0; L.rows > 1 && i < size_t(n);) {
      size_t j = i;
      while (j < size_t(n) && rowOf[j] == rowOf[i]) ++j;
      const int32_t spare = right - (x[j - 1] + width[j - 1]), count = int32_t(j - i);
      for (int32_t k = 0, shift = 0; spare > 0 && k < count; ++k) {
        const int32_t add = spare / count + (k < spare % count ? 1 : 0);
        x[i + size_t(k)] += shift;
        width[i + size_t(k)] += add;
        shift += add;
      }
      i = j;
    }
    // Rows turn round so that the chosen tab's row lies next to the display area.
    const int32_t chosenRow = tabIndex_ >= 0 ? rowOf[size_t(tabIndex_)] : 0;
    for (size_t i = 0; i < size_t(n); ++i) L.row[i] = (rowOf[i] - chosenRow + L.rows) % L.rows;
    firstTab_ = 0;
  } else {
    int32_t total = 0;
    for (int32_t w : width) total += w;
    if (2 + total > right) {
      // Two square buttons at the row's right end (on its outer side); the tabs end at them.
      const int32_t side = std::max(8, depth - 2);
      const int32_t limit = right - 2 * side;
      const int32_t top = tabPosition_ == tpTop ? 2 : client.Bottom - 2 - side;
      L.back = Rect(limit, top, limit + side, top + side);
      L.ahead = Rect(limit + side, top, right, top + side);
      // Scrolled furthest, the last tab shows whole.
      L.lastFirst = n - 1;
      for (int32_t rest = width.back(); L.lastFirst > 0 && 2 + rest + width[size_t(L.lastFirst - 1)] <= limit;)
        rest += width[size_t(--L.lastFirst)];
      if (scrollToChosen_ && tabIndex_ >= 0) {
        // As little scrolling as shows the chosen tab whole (or, when it is too wide, first).
        if (tabIndex_ < firstTab_) firstTab_ = tabIndex_;
        int32_t span = 0;
        for (int32_t i = firstTab_; i <= tabIndex_; ++i) span += width[size_t(i)];
        while (firstTab_ < tabIndex_ && 2 + span > limit) span -= width[size_t(firstTab_++)];
      }
      L.first = std::clamp(firstTab_, 0, L.lastFirst);
    }
    firstTab_ = L.first;
    int32_t pos = 2;
    for (int32_t i = L.first - 1; i >= 0; --i) x[size_t(i)] = pos -= width[size_t(i)];
    pos = 2;
    for (int32_t i = L.first; i < n; ++i) {
      x[size_t(i)] = pos;
      pos += width[size_t(i)];
    }
  }
  scrollToChosen_ = false;
  L.band = 2 + L.rows * depth;
  for (size_t i = 0; i < size_t(n); ++i) {
    const int32_t top = tabPosition_ == tpTop ? 2 + (L.rows - 1 - L.row[i]) * depth
                                              : client.Bottom - L.band + L.row[i] * depth;
    L.tabs[i] = Rect(x[i], top, x[i] + width[i], top + depth);
  }
  return L;
}

TRect TCustomTabControl::Raised(const TRect& Tab) const {
  if (tabPosition_ == tpBottom) return Rect(Tab.Left - 2, Tab.Top - 3, Tab.Right + 2, Tab.Bottom + 3);
  return Rect(Tab.Left - 2, Tab.Top - 2, Tab.Right + 2, Tab.Bottom + 1);
}

int32_t TCustomTabControl::TabBand() { return Layout().band; }

TRect TCustomTabControl::TabRect(int32_t Index) {
  if (Index < 0 || Index >= tabs_->Count()) return {};
  return Layout().tabs[size_t(Index)];
}

TRect TCustomTabControl::ScrollButtonRect(bool Forward) {
  TTabLayout L = Layout();
  return Forward ? L.ahead : L.back;
}

int32_t TCustomTabControl::IndexOfTabAt(int32_t X, int32_t Y) {
  TTabLayout L = Layout();
  // The tabs are cut where the scroll buttons begin.
  if (!L.back.IsEmpty() && X >= L.back.Left) return -1;
  const TPoint p{X, Y};
  // The chosen tab is drawn over its neighbours.
  if (tabIndex_ >= L.first && tabIndex_ < int32_t(L.tabs.size()) && Raised(L.tabs[size_t(tabIndex_)]).Contains(p))
    return tabIndex_;
  for (int32_t i = L.first; i < int32_t(L.tabs.size()); ++i)
    if (L.tabs[size_t(i)].Contains(p)) return i;
  return -1;
}

void TCustomTabControl::ScrollTabs(int32_t Delta) {
  TTabLayout L = Layout();
  const int32_t next = std::clamp(L.first + Delta, 0, L.lastFirst);
  if (next == L.first) return;
  firstTab_ = next;
  Invalidate();
}

TRect TCustomTabControl::DisplayRect() {
  TRect r = GetClientRect();
  int32_t band = TabBand();
  switch (tabPosition_) {
    case tpTop:
      r.Top += band;
      break;
    case tpBottom:
      r.Bottom -= band;
      break;
    case tpLeft:
      r.Left += band + 40;
      break;
    case tpRight:
      r.Right -= band + 40;
      break;
  }
  return Rect(r.Left + 4, r.Top + 4, std::max(r.Left + 4, r.Right - 4), std::max(r.Top + 4, r.Bottom - 4));
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect = DisplayRect();
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() { OnChange(this); }

bool TCustomTabControl::SelectTabByUser(int32_t Index) {
  if (Index < 0 || Index >= tabs_->Count() || Index == tabIndex_) return false;
  if (!CanChange()) return false;
  SetTabIndex(Index);
  Change();
  return true;
}

int32_t TCustomTabControl::NextTab(bool GoForward) {
  int32_t n = tabs_->Count();
  if (n == 0) return -1;
  if (tabIndex_ < 0) return GoForward ? 0 : n - 1;
  return (tabIndex_ + (GoForward ? 1 : n - 1)) % n;
}

void TCustomTabControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  // Pages are children: the tabs' painting leaves them (and what lies on them) alone.
  Params.Style |= WS_CLIPCHILDREN;
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TTabLayout L = Layout();
  if (Button == mbLeft && !L.back.IsEmpty() && (L.back.Contains({X, Y}) || L.ahead.Contains({X, Y}))) {
    ScrollTabs(L.ahead.Contains({X, Y}) ? 1 : -1);
  } else if (Button == mbLeft) {
    int32_t i = IndexOfTabAt(X, Y);
    if (i >= 0) {
      if (CanFocus()) SetFocus();
      SelectTabByUser(i);
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::KeyDown(WORD& Key, TShiftState Shift) {
  bool back = Key == VK_LEFT || Key == VK_UP, ahead = Key == VK_RIGHT || Key == VK_DOWN;
  if (back || ahead) {
    int32_t n = tabs_->Count();
    int32_t next = tabIndex_ + (ahead ? 1 : -1);
    if (next >= 0 && next < n) SelectTabByUser(next);
    Key = 0;
    return;
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case CM_DIALOGKEY:
      // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the control holding the focus.
      if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated() &&
          (Focused() || IsChild(Handle(), GetFocus()))) {
        int32_t next = NextTab(GetKeyState(VK_SHIFT) >= 0);
        if (auto* pc = dynamic_cast<TPageControl*>(this))
          pc->SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        else
          SelectTabByUser(next);
        Message.Result = 1;
        return;
      }
      break;
    case CM_FONTCHANGED:
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      Realign();
      Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomTabControl::Paint() {
  TCanvas* c = GetCanvas();
  TRect client = GetClientRect();
  ComBarsFill(c, client, GetColor());
  TRect frame = DisplayRect();
  frame = Rect(frame.Left - 4, frame.Top - 4, frame.Right + 4, frame.Bottom + 4);
  if (tabs_->Count() > 0 || Is<TTabControl>(this) || Is<TPageControl>(this))
    ComBarsEdge(c, frame, EDGE_RAISED, BF_RECT | BF_SOFT);
  c->SetFont(GetFont());
  const TTabLayout L = Layout();
  const UINT sides = tabPosition_ == tpBottom  ? (BF_LEFT | BF_RIGHT | BF_BOTTOM)
                     : tabPosition_ == tpLeft  ? (BF_LEFT | BF_TOP | BF_BOTTOM)
                     : tabPosition_ == tpRight ? (BF_RIGHT | BF_TOP | BF_BOTTOM)
                                               : (BF_LEFT | BF_TOP | BF_RIGHT);
  const auto paintTab = [&](int32_t i) {
    const bool selected = i == tabIndex_;
    TRect r = selected ? Raised(L.tabs[size_t(i)]) : L.tabs[size_t(i)];
    ComBarsFill(c, r, GetColor());
    ComBarsEdge(c, r, EDGE_RAISED, sides | BF_SOFT);
    AnsiString text = tabs_->Get(i);
    RECT tr = r;
    c->GetBrush()->SetStyle(bsClear);
    HDC dc = ComBarsTextDC(c);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(GetEnabled() ? clBtnText : clGrayText));
    DrawTextA(dc, text.c_str(), int(text.size()), &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (selected && Focused()) {
      RECT fr = Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 2);
      DrawFocusRect(dc, &fr);
    }
  };
  HDC dc = ComBarsTextDC(c);
  const int save = SaveDC(dc);
  if (!L.back.IsEmpty()) ExcludeClipRect(dc, L.back.Left, client.Top, client.Right, client.Bottom);
  // The farthest row first and the chosen tab last: nearer tabs cover farther ones.
  for (int32_t row = L.rows - 1; row >= 0; --row)
    for (int32_t i = L.first; i < tabs_->Count(); ++i)
      if (L.row[size_t(i)] == row && i != tabIndex_) paintTab(i);
  if (tabIndex_ >= L.first && tabIndex_ < tabs_->Count()) paintTab(tabIndex_);
  RestoreDC(dc, save);
  c->Refresh();  // the restored DC no longer holds what the canvas selected
  if (!L.back.IsEmpty()) {
    RECT back = L.back, ahead = L.ahead;
    DrawFrameControl(c->GetHandle(), &back, DFC_SCROLL,
                     DFCS_SCROLLLEFT | (GetEnabled() && L.first > 0 ? 0 : DFCS_INACTIVE));
    DrawFrameControl(c->GetHandle(), &ahead, DFC_SCROLL,
                     DFCS_SCROLLRIGHT | (GetEnabled() && L.first < L.lastFirst ? 0 : DFCS_INACTIVE));
  }
  c->GetBrush()->SetStyle(bsSolid);
}

// ============================================================================ tab sheet =======

const TClassInfo& TTabSheet::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTabSheet, TCustomControl>("TTabSheet")
                                     .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
                                     .Prop("ImageIndex", &TTabSheet::GetImageIndex, &TTabSheet::SetImageIndex)
                                     .Default(-1)
                                     .Prop("PageIndex", &TTabSheet::GetPageIndex, &TTabSheet::SetPageIndex)
                                     .Stored(false)
                                     .Prop("TabVisible", &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible)
                                     .Default(true);
  return info;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csOpaque};
  SetAlign(alClient);
  SetVisible(false);
  SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (pageControl_ == Value) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(Value);
  if (Value) Value->InsertPage(this);
}

int32_t TTabSheet::GetPageIndex() const {
  if (!pageControl_) return -1;
  auto& p = pageControl_->pages_;
  return int32_t(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int32_t Value) {
  if (!pageControl_) return;
  auto& p = pageControl_->pages_;
  Value = std::clamp(Value, 0, int32_t(p.size()) - 1);
  p.erase(std::find(p.begin(), p.end(), this));
  p.insert(p.begin() + Value, this);
  pageControl_->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool Value) {
  if (tabVisible_ == Value) return;
  tabVisible_ = Value;
  if (pageControl_) pageControl_->UpdateTabs();
}

int32_t TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int32_t n = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return n;
    if (p->tabVisible_) ++n;
  }
  return -1;
}

TComponent* TTabSheet::GetParentComponent() const { return pageControl_; }

void TTabSheet::SetParentComponent(TComponent* Value) {
  if (auto* pc = dynamic_cast<TPageControl*>(Value)) SetPageControl(pc);
}

void TTabSheet::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->UpdateTabs();
  TCustomControl::Dispatch(Message);
}

void TTabSheet::Paint() { ComBarsFill(GetCanvas(), GetClientRect(), GetColor()); }

// ============================================================================ page control ====

const TClassInfo& TPageControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TPageControl, TCustomTabControl>("TPageControl")
          .Object("ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage);
  return info;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {
  ControlStyle.Exclude(csAcceptsControls);
}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int32_t Index) const {
  if (Index < 0 || Index >= PageCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return pages_[size_t(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
  pages_.push_back(Page);
  Page->pageControl_ = this;
  UpdateTabs();
  if (!activePage_ && !ComponentState().Contains(csLoading)) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(pages_.begin(), pages_.end(), Page);
  if (it == pages_.end()) return;
  if (Page == activePage_) {
    TTabSheet* next = FindNextPage(Page, true, true);
    activePage_ = next == Page ? nullptr : next;
  }
  pages_.erase(it);
  Page->pageControl_ = nullptr;
  if (ComponentState().Contains(csDestroying)) return;
  UpdateTabs();
  ShowActive();
}

void TPageControl::UpdateTabs() {
  if (ComponentState().Contains(csDestroying)) return;
  TStrings* tabs = GetTabs();
  tabs->BeginUpdate();
  tabs->Clear();
  for (TTabSheet* p : pages_)
    if (p->tabVisible_) tabs->Add(p->GetCaption());
  tabs->EndUpdate();
  TCustomTabControl::SetTabIndex(activePage_ ? activePage_->TabIndex() : -1);
}

void TPageControl::ShowActive() {
  for (TTabSheet* p : pages_)
    if (p != activePage_) p->SetVisible(false);
  if (activePage_) {
    activePage_->SetVisible(true);
    activePage_->BringToFront();
  }
  TCustomTabControl::SetTabIndex(activePage_ ? activePage_->TabIndex() : -1);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (activePage_ && activePage_ != Page) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->GetActiveControl() && activePage_->ContainsControl(form->GetActiveControl()) &&
        CanFocus())
      SetFocus();
  }
  activePage_ = Page;
  ShowActive();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->pageControl_ != this) return;
  if (activePage_ == Page) return;
  ChangeActivePage(Page);
}

void TPageControl::SetActivePageIndex(int32_t Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? pages_[size_t(Value)] : nullptr);
}

void TPageControl::SetTabIndex(int32_t Value) {
  for (TTabSheet* p : pages_)
    if (p->TabIndex() == Value && Value >= 0) {
      SetActivePage(p);
      return;
    }
}

void TPageControl::Change() {
  // The user chose a tab: its page comes up before OnChange.
  int32_t index = GetTabIndex();
  for (TTabSheet* p : pages_)
    if (p->TabIndex() == index && index >= 0) {
      ChangeActivePage(p);
      break;
    }
  TCustomTabControl::Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
  int32_t n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(pages_.begin(), pages_.end(), CurPage);
  int32_t start = it == pages_.end() ? (GoForward ? n - 1 : 0) : int32_t(it - pages_.begin());
  int32_t i = start;
  for (int32_t k = 0; k < n; ++k) {
    i = (i + (GoForward ? 1 : n - 1)) % n;
    TTabSheet* p = pages_[size_t(i)];
    if (!CheckTabVisible || p->tabVisible_) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* next = FindNextPage(activePage_, GoForward, CheckTabVisible);
  if (!next || next == activePage_ || !CanChange()) return;
  ChangeActivePage(next);
  TCustomTabControl::Change();
}

void TPageControl::GetChildren(const TGetChildProc& Proc, TComponent*) {
  for (TTabSheet* p : pages_) Proc(p);
}

void TPageControl::SetChildOrder(TComponent* Child, int32_t Order) {
  if (auto* p = dynamic_cast<TTabSheet*>(Child)) p->SetPageIndex(Order);
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTabControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == activePage_) activePage_ = nullptr;
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  if (!activePage_ && !pages_.empty()) activePage_ = pages_.front();
  UpdateTabs();
  ShowActive();
}

// ============================================================================ status bar ======

const TClassInfo& TStatusPanel::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TStatusPanel, TCollectionItem>("TStatusPanel")
          .Prop("Alignment", &TStatusPanel::GetAlignment, &TStatusPanel::SetAlignment)
          .Default(taLeftJustify)
          .Prop("Bevel", &TStatusPanel::GetBevel, &TStatusPanel::SetBevel)
          .Default(pbLowered)
          .Prop("Style", &TStatusPanel::GetStyle, &TStatusPanel::SetStyle)
          .Default(psText)
          .Prop("Text", &TStatusPanel::GetText, &TStatusPanel::SetText)
          .Prop("Width", &TStatusPanel::GetWidth, &TStatusPanel::SetWidth);
  return info;
}

void TStatusPanel::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TStatusPanel*>(Source)) {
    text_ = p->text_;
    width_ = p->width_;
    alignment_ = p->alignment_;
    bevel_ = p->bevel_;
    style_ = p->style_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TStatusPanel::SetText(const AnsiString& Value) {
  if (text_ == Value) return;
  text_ = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(int32_t Value) {
  if (width_ == Value) return;
  width_ = Value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
  if (bevel_ == Value) return;
  bevel_ = Value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Changed(false);
}

AnsiString TStatusPanel::GetDisplayName() {
  return text_.empty() ? TCollectionItem::GetDisplayName() : text_;
}

const TClassInfo& TStatusPanels::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStatusPanels, TCollection>("TStatusPanels");
  return info;
}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(TStatusPanel::ClassInfo()), statusBar_(StatusBar) {}

TPersistent* TStatusPanels::GetOwner() { return statusBar_; }

void TStatusPanels::Update(TCollectionItem*) { statusBar_->Invalidate(); }

const TClassInfo& TStatusBar::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TStatusBar, TCustomControl>("TStatusBar")
          .Object("Panels", &TStatusBar::GetPanels, &TStatusBar::SetPanels)
          .Prop("SimplePanel", &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel)
          .Default(false)
          .Prop("SimpleText", &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText)
          .Prop("SizeGrip", &TStatusBar::GetSizeGrip, &TStatusBar::SetSizeGrip)
          .Default(true)
          .Event("OnDrawPanel", &TStatusBar::OnDrawPanel);
  return info;
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), panels_(std::make_unique<TStatusPanels>(this)) {
  ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetColor(clBtnFace);
  SetBounds(0, 0, 0, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool Value) {
  if (simplePanel_ == Value) return;
  simplePanel_ = Value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const AnsiString& Value) {
  if (simpleText_ == Value) return;
  simpleText_ = Value;
  if (simplePanel_) Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value) {
  if (sizeGrip_ == Value) return;
  sizeGrip_ = Value;
  Invalidate();
}

bool TStatusBar::GripShowing() {
  TCustomForm* form = GetParentForm(this);
  return sizeGrip_ && form &&
         (form->GetBorderStyle() == bsSizeable || form->GetBorderStyle() == bsSizeToolWin) &&
         form->GetWindowState() != wsMaximized;
}

TRect TStatusBar::PanelRect(int32_t Index) {
  TRect client = GetClientRect();
  int32_t x = 0;
  for (int32_t i = 0; i < panels_->Count(); ++i) {
    bool last = i == panels_->Count() - 1;
    int32_t right = last ? client.Right : x + panels_->Items(i)->GetWidth();
    if (i == Index) return Rect(x, client.Top + 2, std::max(x, right), client.Bottom);
    x = right + 2;
  }
  return {};
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) { OnDrawPanel(this, Panel, Rect); }

void TStatusBar::Paint() {
  TCanvas* c = GetCanvas();
  TRect client = GetClientRect();
  ComBarsFill(c, client, GetColor());
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  HDC dc = ComBarsTextDC(c);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(clBtnText));
  bool grip = GripShowing();
  int32_t gripWidth = grip ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  auto text = [&](const AnsiString& s, TRect r, TAlignment a) {
    RECT tr = Rect(r.Left + 3, r.Top, r.Right - 3, r.Bottom);
    UINT align = a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
    DrawTextA(dc, s.c_str(), int(s.size()), &tr, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  };
  if (simplePanel_ || panels_->Count() == 0) {
    TRect r = Rect(client.Left, client.Top + 2, client.Right - gripWidth, client.Bottom);
    if (simplePanel_) text(simpleText_, r, taLeftJustify);
  } else {
    for (int32_t i = 0; i < panels_->Count(); ++i) {
      TStatusPanel* p = panels_->Items(i);
      TRect r = PanelRect(i);
      if (i == panels_->Count() - 1) r.Right = std::max(r.Left, r.Right - gripWidth);
      if (p->GetBevel() != pbNone)
        ComBarsEdge(c, r, p->GetBevel() == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      if (p->GetStyle() == psOwnerDraw)
        DrawPanel(p, Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
      else
        text(p->GetText(), r, p->GetAlignment());
    }
  }
  if (grip) {
    RECT g = Rect(client.Right - gripWidth, client.Bottom - gripWidth, client.Right, client.Bottom);
    DrawFrameControl(dc, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

// ============================================================================ up-down =========

const TClassInfo& TCustomUpDown::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomUpDown, TCustomControl>("TCustomUpDown")
          .Prop("AlignButton", &TCustomUpDown::GetAlignButton, &TCustomUpDown::SetAlignButton)
          .Default(udRight)
          .Prop("ArrowKeys", &TCustomUpDown::GetArrowKeys, &TCustomUpDown::SetArrowKeys)
          .Default(true)
          .Object("Associate", &TCustomUpDown::GetAssociate, &TCustomUpDown::SetAssociate)
          .Prop("Increment", &TCustomUpDown::GetIncrement, &TCustomUpDown::SetIncrement)
          .Default(1)
          .Prop("Max", &TCustomUpDown::GetMax, &TCustomUpDown::SetMax)
          .Default(100)
          .Prop("Min", &TCustomUpDown::GetMin, &TCustomUpDown::SetMin)
          .Default(0)
          .Prop("Orientation", &TCustomUpDown::GetOrientation, &TCustomUpDown::SetOrientation)
          .Default(udVertical)
          .Prop("Position", &TCustomUpDown::GetPosition, &TCustomUpDown::SetPosition)
          .Default(0)
          .Prop("Thousands", &TCustomUpDown::GetThousands, &TCustomUpDown::SetThousands)
          .Default(true)
          .Prop("Wrap", &TCustomUpDown::GetWrap, &TCustomUpDown::SetWrap)
          .Default(false)
          .Event("OnChanging", &TCustomUpDown::OnChanging)
          .Event("OnClick", &TCustomUpDown::OnClick);
  return info;
}

const TClassInfo& TUpDown::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TUpDown, TCustomUpDown>("TUpDown");
  return info;
}

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque};
  SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL) * 2);
  SetColor(clBtnFace);
}

TCustomUpDown::~TCustomUpDown() { UnhookAssociate(true); }

void TCustomUpDown::UnhookAssociate(bool Restore) {
  if (!associate_) return;
  if (Restore) {
    associate_->WindowProc = associateProc_;
    associate_->RemoveFreeNotification(this);
  }
  associate_ = nullptr;
  associateProc_ = nullptr;
}

void TCustomUpDown::SetAssociate(TWinControl* Value) {
  if (associate_ == Value) return;
  UnhookAssociate(true);
  if (Value == this) return;
  associate_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  // The associate's keys pass through here first (Up and Down step the position).
  associateProc_ = Value->WindowProc;
  Value->WindowProc = TWndMethod(this, &TCustomUpDown::AssociateProc);
  PlaceBesideAssociate();
  UpdateAssociate();
}

void TCustomUpDown::AssociateProc(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN && arrowKeys_ && (Message.WParam == VK_UP || Message.WParam == VK_DOWN)) {
    Step(Message.WParam == VK_UP ? btNext : btPrev);
    return;
  }
  if (Message.Msg == WM_GETDLGCODE && arrowKeys_) {
    associateProc_(Message);
    Message.Result |= DLGC_WANTARROWS;
    return;
  }
  associateProc_(Message);
}

void TCustomUpDown::PlaceBesideAssociate() {
  if (!associate_ || associate_->Parent() != Parent() || !Parent()) return;
  int32_t x =
      alignButton_ == udRight ? associate_->Left() + associate_->Width() : associate_->Left() - Width();
  SetBounds(x, associate_->Top(), Width(), associate_->Height());
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == associate_) UnhookAssociate(false);
}

void TCustomUpDown::SetMin(int32_t Value) {
  min_ = Value;
  if (!ComponentState().Contains(csLoading)) SetPosition(position_);
}

void TCustomUpDown::SetMax(int32_t Value) {
  max_ = Value;
  if (!ComponentState().Contains(csLoading)) SetPosition(position_);
}

int32_t TCustomUpDown::GetPosition() {
  if (associate_) {
    AnsiString text = associate_->GetText();
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    int32_t v = 0;
    if (TryStrToInt(text, v) && v >= std::min(min_, max_) && v <= std::max(min_, max_)) position_ = v;
  }
  return position_;
}

void TCustomUpDown::SetPosition(int32_t Value) {
  int32_t lo = std::min(min_, max_), hi = std::max(min_, max_);
  if (!ComponentState().Contains(csLoading)) Value = std::clamp(Value, lo, hi);
  position_ = Value;
  UpdateAssociate();
}

void TCustomUpDown::SetThousands(bool Value) {
  thousands_ = Value;
  UpdateAssociate();
}

void TCustomUpDown::SetOrientation(TUDOrientation Value) {
  if (orientation_ == Value) return;
  orientation_ = Value;
  Invalidate();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value) {
  alignButton_ = Value;
  PlaceBesideAssociate();
}

void TCustomUpDown::UpdateAssociate() {
  if (!associate_ || ComponentState().Contains(csLoading)) return;
  AnsiString digits = IntToStr(position_ < 0 ? -int64_t(position_) : position_);
  if (thousands_)
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(size_t(i), ",");
  associate_->SetText((position_ < 0 ? "-" : "") + digits);
}

bool TCustomUpDown::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TCustomUpDown::Click(TUDBtnType Button) { OnClick(this, Button); }

bool TCustomUpDown::Step(TUDBtnType Button) {
  int32_t current = GetPosition();
  int32_t lo = std::min(min_, max_), hi = std::max(min_, max_);
  // With Min above Max the buttons run the other way.
  int32_t delta = (Button == btNext ? increment_ : -increment_) * (min_ > max_ ? -1 : 1);
  int64_t next = int64_t(current) + delta;
  if (next > hi) next = wrap_ ? lo : hi;
  if (next < lo) next = wrap_ ? hi : lo;
  if (next == current) return false;
  if (!CanChange()) return false;
  position_ = int32_t(next);
  UpdateAssociate();
  Click(Button);
  return true;
}

TUDBtnType TCustomUpDown::ButtonAt(int32_t X, int32_t Y) {
  if (orientation_ == udVertical) return Y < Height() / 2 ? btNext : btPrev;
  return X >= Width() / 2 ? btNext : btPrev;
}

void TCustomUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled()) return;
  if (associate_ && associate_->CanFocus()) associate_->SetFocus();
  pressed_ = ButtonAt(X, Y);
  Invalidate();
  Step(TUDBtnType(pressed_));
  SetTimer(Handle(), kComBarsRepeatTimer, kComBarsRepeatDelay, nullptr);
}

void TCustomUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (pressed_ < 0) return;
  pressed_ = -1;
  KillTimer(Handle(), kComBarsRepeatTimer);
  Invalidate();
}

void TCustomUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kComBarsRepeatTimer && pressed_ >= 0) {
        // Held down: the first repeat after a pause, then faster.
        SetTimer(Handle(), kComBarsRepeatTimer, kComBarsRepeatRate, nullptr);
        POINT p;
        GetCursorPos(&p);
        TPoint local = ScreenToClient(p);
        if (GetClientRect().Contains(local) && ButtonAt(local.X, local.Y) == pressed_)
          Step(TUDBtnType(pressed_));
        return;
      }
      break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      if (pressed_ >= 0) {
        pressed_ = -1;
        if (HandleAllocated()) KillTimer(Handle(), kComBarsRepeatTimer);
        Invalidate();
      }
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomUpDown::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  HDC dc = c->GetHandle();
  bool vertical = orientation_ == udVertical;
  TRect first = vertical ? Rect(r.Left, r.Top, r.Right, r.Top + r.Height() / 2)
                         : Rect(r.Left, r.Top, r.Left + r.Width() / 2, r.Bottom);
  TRect second =
      vertical ? Rect(r.Left, first.Bottom, r.Right, r.Bottom) : Rect(first.Right, r.Top, r.Right, r.Bottom);
  UINT inactive = GetEnabled() ? 0 : DFCS_INACTIVE;
  RECT a = first, b = second;
  // Vertical: up on top (next); horizontal: left is previous.
  DrawFrameControl(dc, &a, DFC_SCROLL,
                   (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive |
                       ((vertical ? pressed_ == btNext : pressed_ == btPrev) ? DFCS_PUSHED : 0));
  DrawFrameControl(dc, &b, DFC_SCROLL,
                   (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive |
                       ((vertical ? pressed_ == btPrev : pressed_ == btNext) ? DFCS_PUSHED : 0));
}

// ============================================================================ track bar =======

const TClassInfo& TTrackBar::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TTrackBar, TCustomControl>("TTrackBar")
          .Prop("Frequency", &TTrackBar::GetFrequency, &TTrackBar::SetFrequency)
          .Default(1)
          .Prop("LineSize", &TTrackBar::GetLineSize, &TTrackBar::SetLineSize)
          .Default(1)
          .Prop("Max", &TTrackBar::GetMax, &TTrackBar::SetMax)
          .Default(10)
          .Prop("Min", &TTrackBar::GetMin, &TTrackBar::SetMin)
          .Default(0)
          .Prop("Orientation", &TTrackBar::GetOrientation, &TTrackBar::SetOrientation)
          .Default(trHorizontal)
          .Prop("PageSize", &TTrackBar::GetPageSize, &TTrackBar::SetPageSize)
          .Default(2)
          .Prop("Position", &TTrackBar::GetPosition, &TTrackBar::SetPosition)
          .Default(0)
          .Prop("TickMarks", &TTrackBar::GetTickMarks, &TTrackBar::SetTickMarks)
          .Default(tmBottomRight)
          .Prop("TickStyle", &TTrackBar::GetTickStyle, &TTrackBar::SetTickStyle)
          .Default(tsAuto)
          .Event("OnChange", &TTrackBar::OnChange);
  return info;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque, csClickEvents};
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TTrackBar::SetMin(int32_t Value) {
  min_ = Value;
  if (max_ < min_) max_ = min_;
  if (!ComponentState().Contains(csLoading)) SetPosition(position_);
  Invalidate();
}

void TTrackBar::SetMax(int32_t Value) {
  max_ = Value;
  if (min_ > max_) min_ = max_;
  if (!ComponentState().Contains(csLoading)) SetPosition(position_);
  Invalidate();
}

void TTrackBar::SetPosition(int32_t Value) {
  if (!ComponentState().Contains(csLoading)) Value = std::clamp(Value, min_, std::max(min_, max_));
  if (position_ == Value) return;
  position_ = Value;
  Invalidate();
  Changed();
}

void TTrackBar::SetFrequency(int32_t Value) {
  frequency_ = Value;
  Invalidate();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (orientation_ == Value) return;
  orientation_ = Value;
  // The bar turns: width and height swap.
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  tickMarks_ = Value;
  Invalidate();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  tickStyle_ = Value;
  Invalidate();
}

void TTrackBar::Changed() { OnChange(this); }

TRect TTrackBar::ChannelRect() {
  TRect r = GetClientRect();
  bool horizontal = orientation_ == trHorizontal;
  int32_t along = horizontal ? r.Width() : r.Height();
  int32_t mid = horizontal ? (tickMarks_ == tmTopLeft ? r.Bottom - 16
                              : tickMarks_ == tmBoth  ? r.Height() / 2
                                                      : 16)
                           : (tickMarks_ == tmTopLeft ? r.Right - 16
                              : tickMarks_ == tmBoth  ? r.Width() / 2
                                                      : 16);
  if (horizontal) return Rect(8, mid - 2, std::max(8, along - 8), mid + 2);
  return Rect(mid - 2, 8, mid + 2, std::max(8, along - 8));
}

int32_t TTrackBar::PixelOf(int32_t Value) {
  TRect ch = ChannelRect();
  bool horizontal = orientation_ == trHorizontal;
  int32_t a = horizontal ? ch.Left + 5 : ch.Top + 5, b = horizontal ? ch.Right - 6 : ch.Bottom - 6;
  if (max_ == min_) return a;
  return a + int32_t(int64_t(Value - min_) * (b - a) / (max_ - min_));
}

TRect TTrackBar::ThumbRect() {
  TRect ch = ChannelRect();
  int32_t p = PixelOf(position_);
  if (orientation_ == trHorizontal) return Rect(p - 5, ch.Top - 8, p + 6, ch.Bottom + 8);
  return Rect(ch.Left - 8, p - 5, ch.Right + 8, p + 6);
}

int32_t TTrackBar::PositionAt(int32_t X, int32_t Y) {
  int32_t a = PixelOf(min_), b = PixelOf(max_);
  int32_t p = orientation_ == trHorizontal ? X : Y;
  if (b == a) return min_;
  int64_t v = min_ + (int64_t(p - a) * (max_ - min_) + (b - a) / 2) / (b - a);
  return int32_t(std::clamp<int64_t>(v, min_, max_));
}

void TTrackBar::MoveTo(int32_t Value) { SetPosition(std::clamp(Value, min_, max_)); }

void TTrackBar::KeyDown(WORD& Key, TShiftState Shift) {
  switch (Key) {
    case VK_RIGHT:
    case VK_DOWN:
      MoveTo(position_ + lineSize_);
      break;
    case VK_LEFT:
    case VK_UP:
      MoveTo(position_ - lineSize_);
      break;
    case VK_NEXT:
      MoveTo(position_ + pageSize_);
      break;
    case VK_PRIOR:
      MoveTo(position_ - pageSize_);
      break;
    case VK_HOME:
      MoveTo(min_);
      break;
    case VK_END:
      MoveTo(max_);
      break;
    default:
      TCustomControl::KeyDown(Key, Shift);
      return;
  }
  Key = 0;
}

void TTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (CanFocus()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (ThumbRect().Contains({X, Y})) {
    dragging_ = true;
    dragOffset_ = (orientation_ == trHorizontal ? X : Y) - PixelOf(position_);
    return;
  }
  // A click on the channel pages toward the mouse.
  int32_t target = PositionAt(X, Y);
  if (target > position_)
    MoveTo(std::min(target, position_ + pageSize_));
  else if (target < position_)
    MoveTo(std::max(target, position_ - pageSize_));
}

void TTrackBar::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  if (orientation_ == trHorizontal)
    MoveTo(PositionAt(X - dragOffset_, Y));
  else
    MoveTo(PositionAt(X, Y - dragOffset_));
}

void TTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  dragging_ = false;
}

void TTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TTrackBar::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  ComBarsFill(c, r, GetColor());
  TRect ch = ChannelRect();
  ComBarsEdge(c, ch, EDGE_SUNKEN, BF_RECT);
  bool horizontal = orientation_ == trHorizontal;
  if (tickStyle_ != tsNone && frequency_ > 0) {
    c->GetPen()->SetColor(clBtnText);
    auto tick = [&](int32_t v) {
      int32_t p = PixelOf(v);
      if (tickMarks_ != tmTopLeft) {
        if (horizontal) {
          c->MoveTo(p, ch.Bottom + 10);
          c->LineTo(p, ch.Bottom + 14);
        } else {
          c->MoveTo(ch.Right + 10, p);
          c->LineTo(ch.Right + 14, p);
        }
      }
      if (tickMarks_ != tmBottomRight) {
        if (horizontal) {
          c->MoveTo(p, ch.Top - 13);
          c->LineTo(p, ch.Top - 9);
        } else {
          c->MoveTo(ch.Left - 13, p);
          c->LineTo(ch.Left - 9, p);
        }
      }
    };
    for (int64_t v = min_; v <= max_; v += frequency_) tick(int32_t(v));
    tick(max_);
  }
  TRect thumb = ThumbRect();
  ComBarsFill(c, thumb, clBtnFace);
  ComBarsEdge(c, thumb, EDGE_RAISED, BF_RECT);
  if (Focused()) {
    RECT fr = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    DrawFocusRect(c->GetHandle(), &fr);
  }
}

// ============================================================================ progress bar ====

const TClassInfo& TProgressBar::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TProgressBar, TCustomControl>("TProgressBar")
          .Prop("Max", &TProgressBar::GetMax, &TProgressBar::SetMax)
          .Default(100)
          .Prop("Min", &TProgressBar::GetMin, &TProgressBar::SetMin)
          .Default(0)
          .Prop("Orientation", &TProgressBar::GetOrientation, &TProgressBar::SetOrientation)
          .Default(pbHorizontal)
          .Prop("Position", &TProgressBar::GetPosition, &TProgressBar::SetPosition)
          .Default(0)
          .Prop("Smooth", &TProgressBar::GetSmooth, &TProgressBar::SetSmooth)
          .Default(false)
          .Prop("Step", &TProgressBar::GetStep, &TProgressBar::SetStep)
          .Default(10);
  return info;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csOpaque};
  SetBounds(0, 0, 150, 16);
  SetColor(clBtnFace);
}

void TProgressBar::SetMin(int32_t Value) {
  min_ = Value;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
  Invalidate();
}

void TProgressBar::SetMax(int32_t Value) {
  max_ = Value;
  if (min_ > max_) min_ = max_;
  SetPosition(position_);
  Invalidate();
}

void TProgressBar::SetPosition(int32_t Value) {
  if (!ComponentState().Contains(csLoading)) Value = std::clamp(Value, min_, max_);
  if (position_ == Value) return;
  position_ = Value;
  Invalidate();
}

void TProgressBar::SetSmooth(bool Value) {
  smooth_ = Value;
  Invalidate();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  orientation_ = Value;
  Invalidate();
}

void TProgressBar::StepIt() {
  int64_t next = int64_t(position_) + step_;
  if (next > max_) next = min_ + (next - max_ - 1) % (int64_t(max_) - min_ + 1);
  if (next < min_) next = max_;
  SetPosition(int32_t(next));
}

void TProgressBar::StepBy(int32_t Delta) {
  SetPosition(int32_t(std::clamp<int64_t>(int64_t(position_) + Delta, min_, max_)));
}

void TProgressBar::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  ComBarsFill(c, r, GetColor());
  ComBarsEdge(c, r, BDR_SUNKENOUTER, BF_RECT);
  TRect inner = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  if (max_ <= min_ || inner.IsEmpty()) return;
  bool horizontal = orientation_ == pbHorizontal;
  int32_t length = horizontal ? inner.Width() : inner.Height();
  int32_t filled = int32_t(int64_t(position_ - min_) * length / (max_ - min_));
  if (smooth_) {
    TRect bar = horizontal ? Rect(inner.Left, inner.Top, inner.Left + filled, inner.Bottom)
                           : Rect(inner.Left, inner.Bottom - filled, inner.Right, inner.Bottom);
    ComBarsFill(c, bar, clHighlight);
    return;
  }
  // Blocks two thirds as long as the bar is thick, with a gap of two pixels.
  int32_t thick = horizontal ? inner.Height() : inner.Width();
  int32_t block = std::max(2, thick * 2 / 3);
  for (int32_t at = 0; at < filled; at += block + 2) {
    int32_t end = std::min(at + block, length);
    TRect b = horizontal ? Rect(inner.Left + at, inner.Top, inner.Left + end, inner.Bottom)
                         : Rect(inner.Left, inner.Bottom - end, inner.Right, inner.Bottom - at);
    ComBarsFill(c, b, clHighlight);
  }
}
