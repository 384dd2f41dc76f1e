// Menus: the menu item tree (TMenuItem), the form's menu bar (TMainMenu), popup menus
// (TPopupMenu), and shortcuts (TShortCut with its text).
//
// Thread contract: main thread only.
//
// Each item with sub-items keeps a menu handle of the window manager whose items it rebuilds when
// a sub-item changes; items are known to the window manager by a command number that is unique
// in the process.  A chosen item's OnClick runs after its menu has closed, from the WM_COMMAND
// the menu loop posts.
//
// Sections: shortcuts / TMenuItem / TMenu / TMainMenu / TPopupMenu.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/ui/Controls.h"

class TMenu;
class TBasicAction;
class TCustomImageList;
class TMenuActionLink;

// ============================================================================ shortcuts =======

// A key code in the low byte with modifier bits; 0 is no shortcut.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Del", "Alt+F4", "F2", "Alt+BkSp"; "" for 0 and unnamed keys.
AnsiString ShortCutToText(TShortCut ShortCut);
// The reverse, ignoring letter case; 0 when the text names no key.
TShortCut TextToShortCut(const AnsiString& Text);
// The shortcut of a key message (WM_KEYDOWN / WM_SYSKEYDOWN) with the keyboard's modifiers.
TShortCut ShortCutFromMessage(const TMessage& Message);

// ============================================================================ TMenuItem =======

enum TMenuItemAutoFlag : uint8_t { maAutomatic, maManual, maParent };
enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };
enum TTrackButton : uint8_t { tbRightButton, tbLeftButton };
template <>
const EnumNames& EnumNamesOf<TPopupAlignment>();
template <>
const EnumNames& EnumNamesOf<TTrackButton>();

// One entry of a menu: a command, a separator (Caption "-") or, with sub-items, a sub-menu.
// An item frees its sub-items (the last first) when it goes.
class TMenuItem : public TComponent {
  PL_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const AnsiString& GetCaption() const { return caption_; }
  void SetCaption(const AnsiString& Value);
  bool GetChecked() const { return checked_; }
  // Checking a radio item clears the other radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool Value);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool Value);
  bool GetRadioItem() const { return radioItem_; }
  void SetRadioItem(bool Value);
  uint8_t GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(uint8_t Value);
  bool GetDefault() const { return default_; }
  void SetDefault(bool Value);
  bool GetAutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool Value) { autoCheck_ = Value; }
  TShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut Value);
  int32_t GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t Value);
  const AnsiString& GetHint() const { return hint_; }
  void SetHint(const AnsiString& Value) { hint_ = Value; }
  int32_t GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t Value) { helpContext_ = Value; }
  // The action whose properties the item follows; choosing the item executes it.
  TComponent* GetAction() const;
  void SetAction(TComponent* Value);
  TNotifyEvent OnClick;

  // ---- the tree ----------------------------------------------------------------------------------
  int32_t Count() const { return int32_t(items_.size()); }
  int32_t GetCount() const { return Count(); }
  // Raises EMenuError on a bad index.
  TMenuItem* Items(int32_t Index) const;
  TMenuItem* operator[](int32_t Index) const { return Items(Index); }
  // Raises EMenuError when Item already has a parent.
  void Add(TMenuItem* Item);
  void Insert(int32_t Index, TMenuItem* Item);
  // Takes the item out (the caller then owns it as before: its Owner frees it).
  void Delete(int32_t Index);
  void Remove(TMenuItem* Item);
  // Frees every sub-item, the last first.
  void Clear();
  int32_t IndexOf(const TMenuItem* Item) const;
  // The sub-item with that caption ("&" ignored), or nullptr.
  TMenuItem* Find(const AnsiString& ACaption) const;
  TMenuItem* Parent() const { return parent_; }
  TMenuItem* GetParent() const { return parent_; }
  // The menu the tree belongs to, or nullptr.
  TMenu* GetParentMenu() const;
  int32_t GetMenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  void SetMenuIndex(int32_t Value);
  bool IsLine() const { return caption_ == "-"; }
  // The number the window manager knows the item by (WM_COMMAND).
  UINT Command() const { return command_; }
  // The sub-menu handle of an item with sub-items (made on demand).
  HMENU GetHandle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Runs the item as if chosen: toggles an AutoCheck item, then OnClick, or executes the action.
  virtual void Click();
  // Lets the linked action update the item (OnUpdate).
  void InitiateAction();

  // ---- component --------------------------------------------------------------------------------
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int32_t Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

 protected:
  friend class TMenu;
  friend class TMenuActionLink;
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // Something shown changed: the parent's menu handle is rebuilt and the menu told.
  void MenuChanged(bool Rebuild);

 private:
  void RebuildHandle();
  void AppendTo(HMENU Menu);
  void TurnSiblingsOff();
  void SetParentTree(TMenuItem* Parent);

  AnsiString caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, radioItem_ = false, default_ = false;
  bool autoCheck_ = false;
  uint8_t groupIndex_ = 0;
  TShortCut shortCut_ = 0;
  int32_t imageIndex_ = -1;
  AnsiString hint_;
  int32_t helpContext_ = 0;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // the root item's menu
  HMENU handle_ = nullptr;
  UINT command_ = 0;
  std::unique_ptr<TMenuActionLink> actionLink_;
};

// ============================================================================ TMenu ===========

enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };
using TMenuChangeEvent = TEvent<TObject*, TMenuItem*, bool>;

// A tree of items shown by the window manager; the base of the menu bar and popup menus.
class TMenu : public TComponent {
  PL_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* GetItems() const { return items_.get(); }
  TMenuItem* Items() const { return items_.get(); }
  HMENU GetHandle() { return items_->GetHandle(); }
  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* Value);
  TBiDiMode GetBiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode Value) { biDiMode_ = Value; }
  bool GetParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool Value) { parentBiDiMode_ = Value; }

  // The item by command number, sub-menu handle or shortcut (enabled and visible ones only for
  // shortcuts), or nullptr.
  TMenuItem* FindItem(UINT Value, TFindItemKind Kind);
  // A key message that is the shortcut of an enabled item clicks it; true when one did.
  virtual bool IsShortCut(TMessage& Message);
  // WM_COMMAND from the menu loop: clicks the item; true when it is one of this menu's.
  bool DispatchCommand(WORD ACommand);
  // WM_INITMENUPOPUP: the sub-menu about to open lets its item's OnClick and actions update it.
  bool DispatchPopup(HMENU AMenuHandle);

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int32_t Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TMenuChangeEvent OnChange;

 protected:
  friend class TMenuItem;
  // Called when an item changed (Source nullptr: many); a menu bar repaints.
  virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
  // The kind of handle the root makes: a bar or a popup.
  virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }

 private:
  std::unique_ptr<TMenuItem> items_;
  TCustomImageList* images_ = nullptr;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
};

// ============================================================================ TMainMenu =======

// The menu bar of the form whose Menu it is.
class TMainMenu : public TMenu {
  PL_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  // The window that shows the bar (set by the form; nullptr: none).
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND Value);
  bool GetAutoMerge() const { return autoMerge_; }
  void SetAutoMerge(bool Value) { autoMerge_ = Value; }

 protected:
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
  HMENU CreateMenuHandle() override { return CreateMenu(); }

 private:
  HWND window_ = nullptr;
  bool autoMerge_ = false;
};

// ============================================================================ TPopupMenu ======

// A menu opened at a screen point: by Popup, or by a right click on a control whose PopupMenu it
// is (AutoPopup).
class TPopupMenu : public TMenu {
  PL_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu with its top-left corner (by Alignment) at the screen point and returns when
  // it closed; the chosen item's OnClick follows from the message loop.
  virtual void Popup(int32_t X, int32_t Y);
  // The control the menu was last opened for (nullptr by Popup from code).
  TComponent* GetPopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* Value);
  TPoint PopupPoint() const { return popupPoint_; }
  TPopupAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
  bool GetAutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool Value) { autoPopup_ = Value; }
  TTrackButton GetTrackButton() const { return trackButton_; }
  void SetTrackButton(TTrackButton Value) { trackButton_ = Value; }
  int32_t GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t Value) { helpContext_ = Value; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  TComponent* popupComponent_ = nullptr;
  TPoint popupPoint_{-1, -1};
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  TTrackButton trackButton_ = tbRightButton;
  int32_t helpContext_ = 0;
};

// The window the popup menus' commands arrive at.
HWND PopupListWindow();

PL_EXCEPTION(EMenuError, Exception);
