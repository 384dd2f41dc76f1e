// Menus: shortcuts, the item tree, the menu bar and popup menus.
#include "platform/ui/Menus.h"

#include <algorithm>
#include <set>

#include "platform/runtime/Strings.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"

PL_ENUM_NAMES(TPopupAlignment, "paLeft", "paRight", "paCenter")
PL_ENUM_NAMES(TTrackButton, "tbRightButton", "tbLeftButton")

// ============================================================================ shortcuts =======

namespace {

// The framework's names of the keys that are not a letter or digit.
struct TMenusKeyName {
  WORD Key;
  const char* Name;
};
constexpr TMenusKeyName kMenusKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},        {VK_RETURN, "Enter"},    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},     {VK_NEXT, "PgDn"},       {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},      {VK_UP, "Up"},           {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},     {VK_DELETE, "Del"},      {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},   {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num Del"}, {VK_DIVIDE, "Num /"},
};

AnsiString MenusKeyText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return AnsiString(1, char(key));
  if (key >= VK_F1 && key < VK_F1 + 24) return "F" + IntToStr(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + IntToStr(key - VK_NUMPAD0);
  for (const TMenusKeyName& k : kMenusKeyNames)
    if (k.Key == key) return k.Name;
  return "";
}

bool MenusTakePrefix(AnsiString& text, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (text.size() <= n || !SameText(text.substr(0, n), prefix)) return false;
  text.erase(0, n);
  return true;
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut s = TShortCut(Key);
  if (Shift.Contains(ssShift)) s |= scShift;
  if (Shift.Contains(ssCtrl)) s |= scCtrl;
  if (Shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = WORD(ShortCut & 0xFF);
  Shift = {};
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

AnsiString ShortCutToText(TShortCut ShortCut) {
  AnsiString name = MenusKeyText(WORD(ShortCut & 0xFF));
  if (name.empty()) return "";
  AnsiString out;
  if (ShortCut & scShift) out += "Shift+";
  if (ShortCut & scCtrl) out += "Ctrl+";
  if (ShortCut & scAlt) out += "Alt+";
  return out + name;
}

TShortCut TextToShortCut(const AnsiString& Text) {
  AnsiString rest = Text;
  TShortCut mods = 0;
  for (bool again = true; again;) {
    again = false;
    if (MenusTakePrefix(rest, "Shift+")) mods |= scShift, again = true;
    if (MenusTakePrefix(rest, "Ctrl+")) mods |= scCtrl, again = true;
    if (MenusTakePrefix(rest, "Alt+")) mods |= scAlt, again = true;
  }
  if (rest.empty()) return 0;
  for (WORD key = 8; key <= 255; ++key) {
    AnsiString name = MenusKeyText(key);
    if (!name.empty() && SameText(name, rest)) return TShortCut(key | mods);
  }
  return 0;
}

TShortCut ShortCutFromMessage(const TMessage& Message) {
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  return ShortCut(WORD(Message.WParam), shift);
}

// ============================================================================ TMenuItem =======

namespace {

std::set<UINT>& MenusCommandsInUse() {
  static std::set<UINT> used;
  return used;
}

UINT MenusNewCommand() {
  auto& used = MenusCommandsInUse();
  static UINT next = 1;
  for (UINT tries = 0; tries < 0xFFFF; ++tries) {
    UINT c = next;
    next = next >= 0xFFFF ? 1 : next + 1;
    if (used.insert(c).second) return c;
  }
  throw EMenuError("Too many menu items");
}

}  // namespace

const TClassInfo& TMenuItem::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TMenuItem, TComponent>("TMenuItem")
          .Object("Action", &TMenuItem::GetAction, &TMenuItem::SetAction)
          .Prop("AutoCheck", &TMenuItem::GetAutoCheck, &TMenuItem::SetAutoCheck)
          .Default(false)
          .Prop("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption)
          .Prop("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked)
          .Default(false)
          .Prop("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault)
          .Default(false)
          .Prop("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled)
          .Default(true)
          .Prop("GroupIndex", &TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex)
          .Default(0)
          .Prop("HelpContext", &TMenuItem::GetHelpContext, &TMenuItem::SetHelpContext)
          .Default(0)
          .Prop("Hint", &TMenuItem::GetHint, &TMenuItem::SetHint)
          .Prop("ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex)
          .Default(-1)
          .Prop("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem)
          .Default(false)
          .Prop("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut)
          .Default(0)
          .Prop("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible)
          .Default(true)
          .Event("OnClick", &TMenuItem::OnClick);
  return info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(MenusNewCommand()) {}

TMenuItem::~TMenuItem() {
  Destroying();
  // Sub-items go first, the last one first.
  while (!items_.empty()) {
    TMenuItem* last = items_.back();
    delete last;
  }
  if (parent_) parent_->Remove(this);
  actionLink_.reset();
  if (handle_) {
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    if (IsMenu(handle_)) DestroyMenu(handle_);
  }
  MenusCommandsInUse().erase(command_);
}

TMenuItem* TMenuItem::Items(int32_t Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
  return items_[size_t(Index)];
}

void TMenuItem::Insert(int32_t Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->parent_) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
  if (Item->radioItem_ && Item->checked_) Item->TurnSiblingsOff();
  bool hadHandle = handle_ != nullptr;
  if (hadHandle) RebuildHandle();
  // The item now has sub-items: its parent shows it as a sub-menu.
  if (Count() == 1 || hadHandle) MenuChanged(Count() == 1);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Delete(int32_t Index) {
  TMenuItem* item = Items(Index);
  items_.erase(items_.begin() + Index);
  item->parent_ = nullptr;
  if (handle_) RebuildHandle();
  MenuChanged(items_.empty());
}

void TMenuItem::Remove(TMenuItem* Item) {
  int32_t i = IndexOf(Item);
  if (i < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(i);
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

int32_t TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : int32_t(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
  AnsiString wanted = StripHotkey(ACaption);
  for (TMenuItem* i : items_)
    if (SameText(StripHotkey(i->caption_), wanted)) return i;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

void TMenuItem::SetMenuIndex(int32_t Value) {
  if (!parent_) return;
  TMenuItem* p = parent_;
  int32_t count = p->Count();
  Value = std::clamp(Value, 0, count - 1);
  if (Value == GetMenuIndex()) return;
  p->Remove(this);
  p->Insert(Value, this);
}

HMENU TMenuItem::GetHandle() {
  if (!handle_) {
    handle_ = menu_ ? menu_->CreateMenuHandle() : CreatePopupMenu();
    RebuildHandle();
  }
  return handle_;
}

void TMenuItem::AppendTo(HMENU Menu) {
  if (IsLine()) {
    AppendMenuA(Menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  UINT flags = MF_STRING | (enabled_ ? MF_ENABLED : MF_GRAYED) | (checked_ ? MF_CHECKED : 0) |
               (radioItem_ ? MFT_RADIOCHECK : 0) | (default_ ? MF_DEFAULT : 0);
  AnsiString text = caption_;
  if (shortCut_ && !items_.size()) text += "\t" + ShortCutToText(shortCut_);
  if (!items_.empty())
    AppendMenuA(Menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(GetHandle()), text.c_str());
  else
    AppendMenuA(Menu, flags, command_, text.c_str());
}

void TMenuItem::RebuildHandle() {
  if (!handle_ || ComponentState().Contains(csDestroying)) return;
  while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
  for (TMenuItem* i : items_)
    if (i->visible_) i->AppendTo(handle_);
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (parent_ && parent_->handle_) parent_->RebuildHandle();
  if (TMenu* m = GetParentMenu()) m->MenuChanged(this, this, Rebuild);
}

void TMenuItem::SetCaption(const AnsiString& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  MenuChanged(true);
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* s : parent_->items_)
    if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_) s->checked_ = false;
}

void TMenuItem::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  if (Value && radioItem_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool Value) {
  if (radioItem_ == Value) return;
  radioItem_ = Value;
  if (checked_ && radioItem_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetGroupIndex(uint8_t Value) {
  if (groupIndex_ == Value) return;
  groupIndex_ = Value;
  if (checked_ && radioItem_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value) {
  if (default_ == Value) return;
  if (Value && parent_)
    for (TMenuItem* s : parent_->items_) s->default_ = false;
  default_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (shortCut_ == Value) return;
  shortCut_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(int32_t Value) {
  if (imageIndex_ == Value) return;
  imageIndex_ = Value;
  MenuChanged(true);
}

TComponent* TMenuItem::GetAction() const { return actionLink_ ? actionLink_->GetAction() : nullptr; }

void TMenuItem::SetAction(TComponent* Value) {
  auto* action = dynamic_cast<TBasicAction*>(Value);
  if (!action) {
    if (actionLink_) {
      if (TBasicAction* old = actionLink_->GetAction()) old->RemoveFreeNotification(this);
      actionLink_.reset();
    }
    return;
  }
  if (!actionLink_) actionLink_ = std::make_unique<TMenuActionLink>(this);
  if (TBasicAction* old = actionLink_->GetAction()) old->RemoveFreeNotification(this);
  actionLink_->SetAction(action);
  action->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) ActionChange(action, true);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || caption_.empty()) SetCaption(a->GetCaption());
  if (!CheckDefaults || !checked_) SetChecked(a->GetChecked());
  if (!CheckDefaults || enabled_) SetEnabled(a->GetEnabled());
  if (!CheckDefaults || helpContext_ == 0) SetHelpContext(a->GetHelpContext());
  if (!CheckDefaults || hint_.empty()) SetHint(a->GetHint());
  if (!CheckDefaults || imageIndex_ == -1) SetImageIndex(a->GetImageIndex());
  if (!CheckDefaults || shortCut_ == 0) SetShortCut(a->GetShortCut());
  if (!CheckDefaults || visible_) SetVisible(a->GetVisible());
  if (!CheckDefaults || !OnClick) OnClick = a->OnExecute;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  TBasicAction* action = actionLink_ ? actionLink_->GetAction() : nullptr;
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (autoCheck_ && !(custom && custom->GetAutoCheck())) SetChecked(!checked_);
  if (OnClick && (!action || !(OnClick == action->OnExecute)))
    OnClick(this);
  else if (action && items_.empty())
    actionLink_->Execute(this);
  else
    OnClick(this);
}

void TMenuItem::InitiateAction() {
  if (actionLink_) actionLink_->Update();
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (parent_) parent_->Remove(this);
  if (auto* m = dynamic_cast<TMenu*>(Value))
    m->GetItems()->Add(this);
  else if (auto* i = dynamic_cast<TMenuItem*>(Value))
    i->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TMenuItem* i : items_)
    if (i->Owner() == Root) Proc(i);
}

void TMenuItem::SetChildOrder(TComponent* Child, int32_t Order) {
  if (auto* i = dynamic_cast<TMenuItem*>(Child))
    if (i->parent_ == this) i->SetMenuIndex(Order);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && actionLink_ && AComponent == actionLink_->GetAction()) actionLink_.reset();
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (actionLink_ && actionLink_->GetAction()) ActionChange(actionLink_->GetAction(), true);
}

// ============================================================================ TMenu ===========

const TClassInfo& TMenu::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TMenu, TComponent>("TMenu")
          .Prop("BiDiMode", &TMenu::GetBiDiMode, &TMenu::SetBiDiMode)
          .Default(bdLeftToRight)
          .Object("Images", &TMenu::GetImages, &TMenu::SetImages)
          .Prop("ParentBiDiMode", &TMenu::GetParentBiDiMode, &TMenu::SetParentBiDiMode)
          .Default(true);
  return info;
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(std::make_unique<TMenuItem>(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  Destroying();
  items_.reset();
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (Value) Value->FreeNotification(this);
  MenuChanged(this, nullptr, false);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

namespace {
TMenuItem* MenusFind(TMenuItem* item, UINT value, TFindItemKind kind) {
  for (int32_t i = 0; i < item->Count(); ++i) {
    TMenuItem* c = item->Items(i);
    switch (kind) {
      case fkCommand:
        if (c->Count() == 0 && c->Command() == value) return c;
        break;
      case fkHandle:
        if (c->HandleAllocated() && reinterpret_cast<UINT_PTR>(c->GetHandle()) == value) return c;
        break;
      case fkShortCut:
        if (c->GetShortCut() == value && c->GetEnabled() && c->GetVisible() && c->Count() == 0) return c;
        break;
    }
    if (kind != fkShortCut || (c->GetEnabled() && c->GetVisible()))
      if (TMenuItem* found = MenusFind(c, value, kind)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) {
  if (Kind == fkHandle && items_->HandleAllocated() &&
      reinterpret_cast<UINT_PTR>(items_->GetHandle()) == Value)
    return items_.get();
  return MenusFind(items_.get(), Value, Kind);
}

bool TMenu::IsShortCut(TMessage& Message) {
  TShortCut sc = ShortCutFromMessage(Message);
  if (!sc) return false;
  TMenuItem* item = FindItem(sc, fkShortCut);
  if (!item) return false;
  // The parents' OnClick and the actions get their say first, as when the menus open.
  std::vector<TMenuItem*> chain;
  for (TMenuItem* p = item->Parent(); p && p != items_.get(); p = p->Parent()) chain.insert(chain.begin(), p);
  for (TMenuItem* p : chain) p->Click();
  item->InitiateAction();
  if (!item->GetEnabled()) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchCommand(WORD ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenuHandle) {
  TMenuItem* item = FindItem(UINT(reinterpret_cast<UINT_PTR>(AMenuHandle)), fkHandle);
  if (!item) return false;
  if (item != items_.get()) item->Click();
  for (int32_t i = 0; i < item->Count(); ++i) item->Items(i)->InitiateAction();
  return true;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) { items_->GetChildren(Proc, Root); }

void TMenu::SetChildOrder(TComponent* Child, int32_t Order) { items_->SetChildOrder(Child, Order); }

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  OnChange(Sender, Source, Rebuild);
}

// ============================================================================ TMainMenu =======

const TClassInfo& TMainMenu::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMainMenu, TMenu>("TMainMenu")
                                     .Prop("AutoMerge", &TMainMenu::GetAutoMerge, &TMainMenu::SetAutoMerge)
                                     .Default(false);
  return info;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
  if (window_ && IsWindow(window_) && ::GetMenu(window_) == GetHandle()) ::SetMenu(window_, nullptr);
}

void TMainMenu::SetWindowHandle(HWND Value) {
  if (window_ == Value) return;
  if (window_ && IsWindow(window_) && ::GetMenu(window_) == GetHandle()) ::SetMenu(window_, nullptr);
  window_ = Value;
  if (window_) ::SetMenu(window_, GetHandle());
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (window_ && IsWindow(window_)) DrawMenuBar(window_);
  TMenu::MenuChanged(Sender, Source, Rebuild);
}

// ============================================================================ TPopupMenu ======

namespace {

std::vector<TPopupMenu*>& MenusPopupList() {
  static std::vector<TPopupMenu*> list;
  return list;
}

void MenusPopupListProc(TMessage& Message) {
  HWND self = PopupListWindow();
  switch (Message.Msg) {
    case WM_COMMAND: {
      std::vector<TPopupMenu*> menus = MenusPopupList();
      for (TPopupMenu* m : menus) {
        auto& live = MenusPopupList();
        if (std::find(live.begin(), live.end(), m) == live.end()) continue;
        try {
          if (m->DispatchCommand(LOWORD(Message.WParam))) return;
        } catch (...) {
          ApplicationHandleException(m);
          return;
        }
      }
      return;
    }
    case WM_INITMENUPOPUP:
      for (TPopupMenu* m : MenusPopupList()) {
        try {
          if (m->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
        } catch (...) {
          ApplicationHandleException(m);
          return;
        }
      }
      return;
    default:
      Message.Result = DefWindowProcA(self, Message.Msg, Message.WParam, Message.LParam);
  }
}

// A control's popup menu opens on its right click (or the menu key).
struct TMenusRegistration {
  TMenusRegistration() {
    RegisterClasses({&TMenuItem::ClassInfo(), &TMainMenu::ClassInfo(), &TPopupMenu::ClassInfo()});
    SetPopupMenuHandler([](TComponent* menu, TControl* control, TPoint screen) {
      auto* popup = dynamic_cast<TPopupMenu*>(menu);
      if (!popup || !popup->GetAutoPopup()) return false;
      popup->SetPopupComponent(control);
      popup->Popup(screen.X, screen.Y);
      return true;
    });
  }
} g_menusRegistration;

}  // namespace

HWND PopupListWindow() {
  static HWND window = AllocateHWnd(TWndMethod::Lambda(&MenusPopupListProc));
  return window;
}

const TClassInfo& TPopupMenu::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TPopupMenu, TMenu>("TPopupMenu")
          .Prop("Alignment", &TPopupMenu::GetAlignment, &TPopupMenu::SetAlignment)
          .Default(paLeft)
          .Prop("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup)
          .Default(true)
          .Prop("HelpContext", &TPopupMenu::GetHelpContext, &TPopupMenu::SetHelpContext)
          .Default(0)
          .Prop("TrackButton", &TPopupMenu::GetTrackButton, &TPopupMenu::SetTrackButton)
          .Default(tbRightButton)
          .Event("OnPopup", &TPopupMenu::OnPopup);
  return info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { MenusPopupList().push_back(this); }

TPopupMenu::~TPopupMenu() {
  auto& list = MenusPopupList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (popupComponent_ == Value) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) { OnPopup(Sender); }

void TPopupMenu::Popup(int32_t X, int32_t Y) {
  popupPoint_ = {X, Y};
  DoPopup(this);
  TMenuItem* root = GetItems();
  for (int32_t i = 0; i < root->Count(); ++i) root->Items(i)->InitiateAction();
  UINT flags = alignment_ == paRight    ? TPM_RIGHTALIGN
               : alignment_ == paCenter ? TPM_CENTERALIGN
                                        : TPM_LEFTALIGN;
  flags |= trackButton_ == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
  TrackPopupMenu(GetHandle(), flags, X, Y, 0, PopupListWindow(), nullptr);
}
