// Actions: named commands with a caption, state and shortcut that controls and menu items
// follow (TBasicAction, TCustomAction, TAction), the lists that hold them (TActionList), and the
// links that keep their clients in step (TActionLink and its kinds for controls and menu items).
//
// Thread contract: main thread only.  Actions with clients are updated (OnUpdate) each time the
// application goes idle.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Menus.h"

class TBasicAction;
class TCustomActionList;

// ============================================================================ links ===========

// Ties a client (a control or menu item) to an action: the action calls the link's setters when
// its properties change, and the link passes each on while the client still shows the action's
// value (the "is linked" tests).
class TBasicActionLink : public TObject {
  PL_CLASS(TBasicActionLink)
 public:
  explicit TBasicActionLink(TObject* AClient) : client_(AClient) {}
  ~TBasicActionLink() override;
  TBasicAction* GetAction() const { return action_; }
  virtual void SetAction(TBasicAction* Value);
  TObject* Client() const { return client_; }
  // Executes the action for Target; false when there is none.
  virtual bool Execute(TComponent* Target = nullptr);
  virtual bool Update();
  virtual bool IsOnExecuteLinked() { return true; }
  virtual void SetOnExecute(const TNotifyEvent&) {}

 protected:
  friend class TBasicAction;
  virtual void Change() {}

 private:
  TObject* client_;
  TBasicAction* action_ = nullptr;
};

class TActionLink : public TBasicActionLink {
  PL_CLASS(TActionLink)
 public:
  using TBasicActionLink::TBasicActionLink;
  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsHelpContextLinked();
  virtual bool IsHintLinked();
  virtual bool IsImageIndexLinked();
  virtual bool IsShortCutLinked();
  virtual bool IsVisibleLinked();
  virtual void SetCaption(const AnsiString&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHelpContext(int32_t) {}
  virtual void SetHint(const AnsiString&) {}
  virtual void SetImageIndex(int32_t) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
};

// A control's link: caption, enabling, hint, help context, visibility and OnClick.
class TControlActionLink : public TActionLink {
  PL_CLASS(TControlActionLink)
 public:
  explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), control_(AClient) {}
  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int32_t Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TControl* control_;
};

// A menu item's link: everything a custom action has.
class TMenuActionLink : public TActionLink {
  PL_CLASS(TMenuActionLink)
 public:
  explicit TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), item_(AClient) {}
  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int32_t Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetImageIndex(int32_t Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TMenuItem* item_;
};

// ============================================================================ actions =========

// A command: Execute runs OnExecute (its list's OnExecute may take it first); Update runs
// OnUpdate.  Clients follow it through their links.
class TBasicAction : public TComponent {
  PL_CLASS(TBasicAction)
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  // True when a handler ran.
  virtual bool Execute();
  virtual bool Update();
  TComponent* ActionComponent() const { return actionComponent_; }
  void SetActionComponent(TComponent* Value) { actionComponent_ = Value; }
  const TNotifyEvent& GetOnExecute() const { return OnExecute; }
  void SetOnExecute(const TNotifyEvent& Value);
  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  int32_t ClientCount() const { return int32_t(clients_.size()); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnExecute, OnUpdate;

 protected:
  virtual void Change();
  // Calls f on every link (a copy of the list: a client may unlink meanwhile).
  template <class F>
  void ForEachLink(F f) {
    std::vector<TBasicActionLink*> links = clients_;
    for (TBasicActionLink* l : links)
      if (std::find(clients_.begin(), clients_.end(), l) != clients_.end()) f(l);
  }

 private:
  std::vector<TBasicActionLink*> clients_;
  TComponent* actionComponent_ = nullptr;
};

// An action in a list.
class TContainedAction : public TBasicAction {
  PL_CLASS(TContainedAction)
 public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;
  TCustomActionList* GetActionList() const { return actionList_; }
  void SetActionList(TCustomActionList* Value);
  const AnsiString& GetCategory() const { return category_; }
  void SetCategory(const AnsiString& Value) { category_ = Value; }
  int32_t GetIndex() const;
  bool Execute() override;
  bool Update() override;
  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return actionList_ != nullptr; }
  void SetParentComponent(TComponent* Value) override;

 private:
  TCustomActionList* actionList_ = nullptr;
  AnsiString category_;
};

class TCustomAction : public TContainedAction {
  PL_CLASS(TCustomAction)
 public:
  explicit TCustomAction(TComponent* AOwner);
  const AnsiString& GetCaption() const { return caption_; }
  void SetCaption(const AnsiString& Value);
  bool GetChecked() const { return checked_; }
  void SetChecked(bool Value);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool Value);
  int32_t GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t Value);
  const AnsiString& GetHint() const { return hint_; }
  void SetHint(const AnsiString& Value);
  int32_t GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t Value);
  TShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut Value);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool Value);
  bool GetAutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool Value) { autoCheck_ = Value; }
  int32_t GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t Value);
  // An AutoCheck action toggles Checked before its handler runs.
  bool Execute() override;

 private:
  // Passes a new value to every link whose client still shows the old one, then keeps it.
  template <class V, class S>
  void Propagate(V& field, const V& value, bool (TActionLink::*linked)(), S set);

  AnsiString caption_, hint_;
  bool checked_ = false, enabled_ = true, visible_ = true, autoCheck_ = false;
  int32_t helpContext_ = 0, imageIndex_ = -1, groupIndex_ = 0;
  TShortCut shortCut_ = 0;
};

class TAction : public TCustomAction {
  PL_CLASS(TAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// ============================================================================ action lists ====

using TActionEvent = TEvent<TBasicAction*, bool&>;

// The actions of a form: their images, a first say on executing and updating each, and their
// shortcuts.
class TCustomActionList : public TComponent {
  PL_CLASS(TCustomActionList)
 public:
  explicit TCustomActionList(TComponent* AOwner);
  ~TCustomActionList() override;
  int32_t ActionCount() const { return int32_t(actions_.size()); }
  TContainedAction* Actions(int32_t Index) const;
  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* Value);
  // OnExecute / OnUpdate of the list; true when the list handled the action.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // A key message that is the shortcut of an enabled action executes it.
  virtual bool IsShortCut(TMessage& Message);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int32_t Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TActionEvent OnExecute, OnUpdate;
  TNotifyEvent OnChange;

 private:
  friend class TContainedAction;
  std::vector<TContainedAction*> actions_;
  TCustomImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
  PL_CLASS(TActionList)
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// ============================================================================ framework glue ==

// Links Control to Action (nullptr: unlinks); controls keep their links here.
void LinkControlAction(TControl* Control, TComponent* Action);
TControlActionLink* ControlActionLink(const TControl* Control);
// What a control takes from a custom action (TControl::ActionChange).
void ApplyActionToControl(TControl* Control, TObject* Sender, bool CheckDefaults);
// Runs the idle update of every action that has clients (the application calls it when idle).
void UpdateActionsOnIdle();
// The shortcut handling of the action lists a root (a form) owns.
bool IsActionListShortCut(TComponent* Root, TMessage& Message);
