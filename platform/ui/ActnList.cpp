// Actions, action lists and action links.
#include "platform/ui/ActnList.h"

#include <algorithm>
#include <map>

#include "platform/runtime/Strings.h"
#include "platform/ui/ImgList.h"

// ============================================================================ links ===========

const TClassInfo& TBasicActionLink::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TBasicActionLink, TObject>("TBasicActionLink");
  return info;
}

const TClassInfo& TActionLink::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TActionLink, TBasicActionLink>("TActionLink");
  return info;
}

const TClassInfo& TControlActionLink::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TControlActionLink, TActionLink>("TControlActionLink");
  return info;
}

const TClassInfo& TMenuActionLink::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMenuActionLink, TActionLink>("TMenuActionLink");
  return info;
}

TBasicActionLink::~TBasicActionLink() {
  if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (action_ == Value) return;
  if (action_) action_->UnRegisterChanges(this);
  action_ = Value;
  if (action_) action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* Target) {
  if (!action_) return false;
  action_->SetActionComponent(Target);
  struct TClear {
    TBasicAction* a;
    ~TClear() { a->SetActionComponent(nullptr); }
  } clear{action_};
  return action_->Execute();
}

bool TBasicActionLink::Update() { return action_ && action_->Update(); }

namespace {
TCustomAction* ActnCustom(TBasicActionLink* link) { return dynamic_cast<TCustomAction*>(link->GetAction()); }
}  // namespace

bool TActionLink::IsCaptionLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsCheckedLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsEnabledLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsHelpContextLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsHintLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsImageIndexLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsShortCutLinked() { return ActnCustom(this) != nullptr; }
bool TActionLink::IsVisibleLinked() { return ActnCustom(this) != nullptr; }

// A client stays linked to a property while it shows the action's value.
bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && control_->GetCaption() == ActnCustom(this)->GetCaption();
}
bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && control_->GetEnabled() == ActnCustom(this)->GetEnabled();
}
bool TControlActionLink::IsHelpContextLinked() {
  return TActionLink::IsHelpContextLinked() &&
         control_->GetHelpContext() == ActnCustom(this)->GetHelpContext();
}
bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && control_->GetHint() == ActnCustom(this)->GetHint();
}
bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && control_->GetVisible() == ActnCustom(this)->GetVisible();
}
bool TControlActionLink::IsOnExecuteLinked() {
  return GetAction() && control_->OnClick == GetAction()->OnExecute;
}
void TControlActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) control_->SetCaption(Value);
}
void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) control_->SetEnabled(Value);
}
void TControlActionLink::SetHelpContext(int32_t Value) {
  if (IsHelpContextLinked()) control_->SetHelpContext(Value);
}
void TControlActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) control_->SetHint(Value);
}
void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) control_->SetVisible(Value);
}
void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) control_->OnClick = Value;
}

bool TMenuActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && item_->GetCaption() == ActnCustom(this)->GetCaption();
}
bool TMenuActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && item_->GetChecked() == ActnCustom(this)->GetChecked();
}
bool TMenuActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && item_->GetEnabled() == ActnCustom(this)->GetEnabled();
}
bool TMenuActionLink::IsHelpContextLinked() {
  return TActionLink::IsHelpContextLinked() && item_->GetHelpContext() == ActnCustom(this)->GetHelpContext();
}
bool TMenuActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && item_->GetHint() == ActnCustom(this)->GetHint();
}
bool TMenuActionLink::IsImageIndexLinked() {
  return TActionLink::IsImageIndexLinked() && item_->GetImageIndex() == ActnCustom(this)->GetImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
  return TActionLink::IsShortCutLinked() && item_->GetShortCut() == ActnCustom(this)->GetShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && item_->GetVisible() == ActnCustom(this)->GetVisible();
}
bool TMenuActionLink::IsOnExecuteLinked() { return GetAction() && item_->OnClick == GetAction()->OnExecute; }
void TMenuActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) item_->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) item_->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) item_->SetEnabled(Value);
}
void TMenuActionLink::SetHelpContext(int32_t Value) {
  if (IsHelpContextLinked()) item_->SetHelpContext(Value);
}
void TMenuActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) item_->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(int32_t Value) {
  if (IsImageIndexLinked()) item_->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) item_->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) item_->SetVisible(Value);
}
void TMenuActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) item_->OnClick = Value;
}

// ============================================================================ actions =========

namespace {
// Every action alive, for the idle update.
std::vector<TBasicAction*>& ActnAll() {
  static std::vector<TBasicAction*> all;
  return all;
}
}  // namespace

const TClassInfo& TBasicAction::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TBasicAction, TComponent>("TBasicAction")
                                     .Event("OnExecute", &TBasicAction::OnExecute)
                                     .Event("OnUpdate", &TBasicAction::OnUpdate);
  return info;
}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) { ActnAll().push_back(this); }

TBasicAction::~TBasicAction() {
  auto& all = ActnAll();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  // The clients forget the action.
  while (!clients_.empty()) {
    TBasicActionLink* l = clients_.back();
    l->SetAction(nullptr);
  }
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value) {
  if (OnExecute == Value) return;
  ForEachLink([&](TBasicActionLink* l) { l->SetOnExecute(Value); });
  OnExecute = Value;
  Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (std::find(clients_.begin(), clients_.end(), Value) == clients_.end()) clients_.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), Value), clients_.end());
}

void TBasicAction::Change() {
  ForEachLink([](TBasicActionLink* l) { l->Change(); });
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == actionComponent_) actionComponent_ = nullptr;
  // A control going away takes its link along.
  if (auto* c = dynamic_cast<TControl*>(AComponent))
    if (TControlActionLink* l = ControlActionLink(c))
      if (l->GetAction() == this) LinkControlAction(c, nullptr);
}

const TClassInfo& TContainedAction::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TContainedAction, TBasicAction>("TContainedAction")
          .Prop("Category", &TContainedAction::GetCategory, &TContainedAction::SetCategory);
  return info;
}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (actionList_ == Value) return;
  if (actionList_) {
    auto& a = actionList_->actions_;
    a.erase(std::remove(a.begin(), a.end(), this), a.end());
    actionList_->OnChange(actionList_);
  }
  actionList_ = Value;
  if (Value) {
    Value->actions_.push_back(this);
    Value->OnChange(Value);
  }
}

int32_t TContainedAction::GetIndex() const {
  if (!actionList_) return -1;
  auto& a = actionList_->actions_;
  return int32_t(std::find(a.begin(), a.end(), this) - a.begin());
}

bool TContainedAction::Execute() {
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

const TClassInfo& TCustomAction::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomAction, TContainedAction>("TCustomAction")
          .Prop("AutoCheck", &TCustomAction::GetAutoCheck, &TCustomAction::SetAutoCheck)
          .Default(false)
          .Prop("Caption", &TCustomAction::GetCaption, &TCustomAction::SetCaption)
          .Prop("Checked", &TCustomAction::GetChecked, &TCustomAction::SetChecked)
          .Default(false)
          .Prop("Enabled", &TCustomAction::GetEnabled, &TCustomAction::SetEnabled)
          .Default(true)
          .Prop("GroupIndex", &TCustomAction::GetGroupIndex, &TCustomAction::SetGroupIndex)
          .Default(0)
          .Prop("HelpContext", &TCustomAction::GetHelpContext, &TCustomAction::SetHelpContext)
          .Default(0)
          .Prop("Hint", &TCustomAction::GetHint, &TCustomAction::SetHint)
          .Prop("ImageIndex", &TCustomAction::GetImageIndex, &TCustomAction::SetImageIndex)
          .Default(-1)
          .Prop("ShortCut", &TCustomAction::GetShortCut, &TCustomAction::SetShortCut)
          .Default(0)
          .Prop("Visible", &TCustomAction::GetVisible, &TCustomAction::SetVisible)
          .Default(true);
  return info;
}

const TClassInfo& TAction::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAction, TCustomAction>("TAction");
  return info;
}

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

template <class V, class S>
void TCustomAction::Propagate(V& field, const V& value, bool (TActionLink::*)(), S set) {
  if (field == value) return;
  ForEachLink([&](TBasicActionLink* l) {
    if (auto* al = dynamic_cast<TActionLink*>(l)) (al->*set)(value);
  });
  field = value;
  Change();
}

void TCustomAction::SetCaption(const AnsiString& Value) {
  Propagate(caption_, Value, &TActionLink::IsCaptionLinked, &TActionLink::SetCaption);
}

void TCustomAction::SetChecked(bool Value) {
  if (checked_ == Value) return;
  Propagate(checked_, Value, &TActionLink::IsCheckedLinked, &TActionLink::SetChecked);
  // Checked actions of one group exclude each other.
  if (Value && groupIndex_ > 0 && GetActionList())
    for (int32_t i = 0; i < GetActionList()->ActionCount(); ++i)
      if (auto* a = dynamic_cast<TCustomAction*>(GetActionList()->Actions(i)))
        if (a != this && a->groupIndex_ == groupIndex_) a->SetChecked(false);
}

void TCustomAction::SetEnabled(bool Value) {
  Propagate(enabled_, Value, &TActionLink::IsEnabledLinked, &TActionLink::SetEnabled);
}

void TCustomAction::SetHelpContext(int32_t Value) {
  Propagate(helpContext_, Value, &TActionLink::IsHelpContextLinked, &TActionLink::SetHelpContext);
}

void TCustomAction::SetHint(const AnsiString& Value) {
  Propagate(hint_, Value, &TActionLink::IsHintLinked, &TActionLink::SetHint);
}

void TCustomAction::SetImageIndex(int32_t Value) {
  Propagate(imageIndex_, Value, &TActionLink::IsImageIndexLinked, &TActionLink::SetImageIndex);
}

void TCustomAction::SetShortCut(TShortCut Value) {
  Propagate(shortCut_, Value, &TActionLink::IsShortCutLinked, &TActionLink::SetShortCut);
}

void TCustomAction::SetVisible(bool Value) {
  Propagate(visible_, Value, &TActionLink::IsVisibleLinked, &TActionLink::SetVisible);
}

void TCustomAction::SetGroupIndex(int32_t Value) {
  if (groupIndex_ == Value) return;
  groupIndex_ = Value;
  if (checked_) {
    checked_ = false;
    SetChecked(true);
  }
}

bool TCustomAction::Execute() {
  if (!enabled_) return false;
  if (autoCheck_) SetChecked(!checked_);
  return TContainedAction::Execute();
}

// ============================================================================ action lists ====

const TClassInfo& TCustomActionList::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomActionList, TComponent>("TCustomActionList")
          .Object("Images", &TCustomActionList::GetImages, &TCustomActionList::SetImages)
          .Event("OnChange", &TCustomActionList::OnChange)
          .Event("OnExecute", &TCustomActionList::OnExecute)
          .Event("OnUpdate", &TCustomActionList::OnUpdate);
  return info;
}

const TClassInfo& TActionList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TActionList, TCustomActionList>("TActionList");
  return info;
}

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomActionList::~TCustomActionList() {
  Destroying();
  while (!actions_.empty()) actions_.back()->SetActionList(nullptr);
}

TContainedAction* TCustomActionList::Actions(int32_t Index) const {
  if (Index < 0 || Index >= ActionCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return actions_[size_t(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (Value) Value->FreeNotification(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool handled = false;
  OnUpdate(Action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TMessage& Message) {
  TShortCut sc = ShortCutFromMessage(Message);
  if (!sc) return false;
  std::vector<TContainedAction*> actions = actions_;
  for (TContainedAction* a : actions) {
    auto* ca = dynamic_cast<TCustomAction*>(a);
    if (!ca || ca->GetShortCut() != sc) continue;
    ca->Update();
    if (!ca->GetEnabled()) return false;
    ca->Execute();
    return true;
  }
  return false;
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TContainedAction* a : actions_)
    if (a->Owner() == Root) Proc(a);
}

void TCustomActionList::SetChildOrder(TComponent* Child, int32_t Order) {
  auto it = std::find(actions_.begin(), actions_.end(), Child);
  if (it == actions_.end()) return;
  TContainedAction* a = *it;
  actions_.erase(it);
  Order = std::clamp(Order, 0, ActionCount());
  actions_.insert(actions_.begin() + Order, a);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

// ============================================================================ framework glue ==

namespace {

std::map<const TControl*, std::unique_ptr<TControlActionLink>>& ActnControlLinks() {
  static std::map<const TControl*, std::unique_ptr<TControlActionLink>> links;
  return links;
}

struct TActnListRegistration {
  TActnListRegistration() { RegisterClasses({&TActionList::ClassInfo(), &TAction::ClassInfo()}); }
} g_actnListRegistration;

}  // namespace

void LinkControlAction(TControl* Control, TComponent* Action) {
  auto& links = ActnControlLinks();
  auto* action = dynamic_cast<TBasicAction*>(Action);
  if (!action) {
    links.erase(Control);
    return;
  }
  auto& link = links[Control];
  if (!link) link = std::make_unique<TControlActionLink>(Control);
  link->SetAction(action);
}

TControlActionLink* ControlActionLink(const TControl* Control) {
  auto& links = ActnControlLinks();
  auto it = links.find(Control);
  return it == links.end() ? nullptr : it->second.get();
}

void ApplyActionToControl(TControl* Control, TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || Control->GetCaption().empty() || Control->GetCaption() == Control->GetName())
    Control->SetCaption(a->GetCaption());
  if (!CheckDefaults || Control->GetEnabled()) Control->SetEnabled(a->GetEnabled());
  if (!CheckDefaults || Control->GetHint().empty()) Control->SetHint(a->GetHint());
  if (!CheckDefaults || Control->GetVisible()) Control->SetVisible(a->GetVisible());
  if (!CheckDefaults || Control->GetHelpContext() == 0) Control->SetHelpContext(a->GetHelpContext());
  if (!CheckDefaults || !Control->OnClick) Control->OnClick = a->OnExecute;
}

void UpdateActionsOnIdle() {
  std::vector<TBasicAction*> all = ActnAll();
  for (TBasicAction* a : all) {
    auto& live = ActnAll();
    if (std::find(live.begin(), live.end(), a) == live.end()) continue;
    if (a->ClientCount() > 0 && !a->ComponentState().Contains(csDestroying)) a->Update();
  }
}

bool IsActionListShortCut(TComponent* Root, TMessage& Message) {
  if (!Root) return false;
  for (int32_t i = 0; i < Root->ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(Root->Components(i)))
      if (list->IsShortCut(Message)) return true;
  return false;
}
