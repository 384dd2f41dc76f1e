// Popup menus, the menu bar and the system menu driven by keys and the mouse; the item tree;
// shortcuts and their text.
#include "platform/ui/ActnList.h"
#include "tests/platform/ui/menus/MenuHarness.h"

namespace menu_test {
namespace {

class Menus : public UiTest {
 protected:
  // A shown form with a control carrying a popup menu: Open, a separator, a disabled Print,
  // "More" with two sub-items, Close.
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(300, 200);
    control_ = Make<TRecControl>(form_, form_, "C", Bounds(10, 10, 200, 150));
    popup_ = new TPopupMenu(form_);
    popup_->OnPopup = TNotifyEvent::Lambda([](TObject*) { Events().push_back("Popup"); });
    TMenuItem* root = popup_->GetItems();
    NewItem(form_, root, "&Open");
    NewItem(form_, root, "-");
    NewItem(form_, root, "&Print")->SetEnabled(false);
    more_ = NewItem(form_, root, "&More");
    NewItem(form_, more_, "&Alpha");
    NewItem(form_, more_, "&Beta");
    NewItem(form_, root, "&Close");
    control_->SetPopupMenu(popup_);
    ShowForm(form_);
    Events().clear();
  }
  // Right click on the control: the popup opens there and the script runs inside its loop.
  void RightClick(TMenuScript&) {
    ClickAt(At(control_, 20, 20), VK_RBUTTON);
    Pump();
  }
  std::vector<std::string> Clicks() { return EventsOf("Click"); }

  TForm* form_ = nullptr;
  TRecControl* control_ = nullptr;
  TPopupMenu* popup_ = nullptr;
  TMenuItem* more_ = nullptr;
};

TEST_F(Menus, PopupByKeysSkipsSeparatorsAndClicksAfterTheMenuClosed) {
  struct Case {
    std::vector<UINT> keys;
    std::vector<std::string> clicks;
  } cases[] = {
      {{VK_DOWN, VK_RETURN}, {"Click Open"}},
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, {"Click More"}},  // Print is disabled: More opens
      {{VK_UP, VK_RETURN}, {"Click Close"}},                     // wraps to the last item
      {{'C'}, {"Click Close"}},                                  // the accelerator chooses
      {{VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, {}},            // Enter on Print does nothing
      {{VK_ESCAPE}, {}},
  };
  for (const Case& c : cases) {
    Events().clear();
    TMenuScript script({PopupListWindow()});
    for (UINT k : c.keys) script.Then([k] { Tap(k); });
    RightClick(script);
    std::vector<std::string> clicks = Clicks();
    // Opening More fires its OnClick (the sub-menu is about to show); the script's fail-safe
    // closed it then.
    if (!c.clicks.empty() && c.clicks[0] == "Click More") {
      ASSERT_FALSE(clicks.empty());
      EXPECT_EQ(clicks[0], "Click More (menu open)");
      EXPECT_TRUE(script.EndedByFailSafe);
      continue;
    }
    EXPECT_EQ(clicks, c.clicks) << "keys " << c.keys.size();
    EXPECT_FALSE(script.EndedByFailSafe);
    EXPECT_EQ(EventsOf("Popup").size(), 1u);
    EXPECT_EQ(popup_->GetPopupComponent(), control_);
    EXPECT_EQ(GetOpenMenuWindow(), nullptr);
  }
}

TEST_F(Menus, PopupByMouseAndSubMenus) {
  HMENU h = popup_->GetHandle();
  HWND owner = form_->Handle();
  {
    // Hover Open, release on it.
    TMenuScript script({PopupListWindow()});
    script.Then([&] { ClickAt(ItemCentre(owner, h, 0)); });
    RightClick(script);
    EXPECT_EQ(Clicks(), std::vector<std::string>{"Click Open"});
  }
  Events().clear();
  {
    // Hovering More opens its sub-menu; Beta is clicked there.
    TMenuScript script({PopupListWindow()});
    script.Then([&] { InputMouseMove(ItemCentre(owner, h, 3)); });
    script.Then([&] { ClickAt(ItemCentre(owner, more_->GetHandle(), 1)); });
    RightClick(script);
    EXPECT_EQ(Clicks(), (std::vector<std::string>{"Click More (menu open)", "Click Beta"}));
  }
  Events().clear();
  {
    // By keys: More, Right opens it on its first item, Down, Enter.
    TMenuScript script({PopupListWindow()});
    for (UINT k : {UINT(VK_UP), UINT(VK_UP), UINT(VK_RIGHT), UINT(VK_DOWN), UINT(VK_RETURN)})
      script.Then([k] { Tap(k); });
    RightClick(script);
    EXPECT_EQ(Clicks(), (std::vector<std::string>{"Click More (menu open)", "Click Beta"}));
  }
  Events().clear();
  {
    // Left closes the sub-menu only; Escape then the menu.
    TMenuScript script({PopupListWindow()});
    for (UINT k : {UINT(VK_UP), UINT(VK_UP), UINT(VK_RIGHT), UINT(VK_LEFT), UINT(VK_ESCAPE)})
      script.Then([k] { Tap(k); });
    script.Then([] { Events().push_back("still open"); });
    RightClick(script);
    EXPECT_TRUE(EventsOf("still open").empty());
    EXPECT_FALSE(script.EndedByFailSafe);
  }
}

TEST_F(Menus, AClickOutsideClosesTheMenuAndIsNotPassedOn) {
  TMenuScript script({PopupListWindow()});
  script.Then([&] { ClickAt(At(control_, 190, 140)); });
  script.Then([] { Events().push_back("still open"); });
  RightClick(script);
  EXPECT_TRUE(Clicks().empty());
  EXPECT_TRUE(EventsOf("still open").empty());
  EXPECT_FALSE(script.EndedByFailSafe);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(EventsOf("C.MouseDown(0").empty()) << "the closing click reaches no control";
  // The next click is the control's again.
  Press(At(control_, 30, 30));
  Release(At(control_, 30, 30));
  EXPECT_EQ(EventsOf("C.MouseDown(0").size(), 1u);
}

TEST_F(Menus, MainMenuByAcceleratorsMouseAndShortcuts) {
  auto* bar = new TMainMenu(form_);
  TMenuItem* file = NewItem(form_, bar->GetItems(), "&File");
  NewItem(form_, file, "&New", ShortCut('N', {ssCtrl}));
  NewItem(form_, file, "&Save", ShortCut('S', {ssCtrl}));
  TMenuItem* edit = NewItem(form_, bar->GetItems(), "&Edit");
  NewItem(form_, edit, "&Undo", ShortCut(VK_BACK, {ssAlt}));
  int clientBefore = form_->GetClientHeight();
  form_->SetMenu(bar);
  EXPECT_EQ(GetMenu(form_->Handle()), bar->GetHandle());
  EXPECT_EQ(form_->GetClientHeight(), clientBefore - GetSystemMetrics(SM_CYMENU))
      << "the bar takes its height";
  control_->SetFocus();
  Pump();
  HWND owner = form_->Handle();
  struct Case {
    const char* what;
    std::function<void(TMenuScript&)> run;
    std::vector<std::string> clicks;
  } cases[] = {
      {"Alt+F, Down, Enter",
       [](TMenuScript& s) {
         s.Then([] { Tap(VK_DOWN); });
         s.Then([] { Tap(VK_RETURN); });
         TapWith(VK_MENU, 'F');
       },
       {"Click File", "Click Save"}},
      {"Alt alone, Right, Enter, Enter",
       [](TMenuScript& s) {
         s.Then([] { Tap(VK_RIGHT); });
         s.Then([] { Tap(VK_RETURN); });
         s.Then([] { Tap(VK_RETURN); });
         Tap(VK_MENU);
       },
       {"Click Edit", "Click Undo"}},
      {"F10, Escape", [](TMenuScript&) { Tap(VK_F10); }, {}},
      {"click on Edit, click on Undo",
       [&](TMenuScript& s) {
         s.Then([&] { ClickAt(ItemCentre(owner, edit->GetHandle(), 0)); });
         ClickAt(ItemCentre(owner, nullptr, 1));
       },
       {"Click Edit", "Click Undo"}},
      // A shortcut lets the parents' OnClick update the items first, as opening them would.
      {"Ctrl+S without the menu",
       [](TMenuScript&) { TapWith(VK_CONTROL, 'S'); },
       {"Click File", "Click Save"}},
      {"Alt+BkSp without the menu",
       [](TMenuScript&) { TapWith(VK_MENU, VK_BACK); },
       {"Click Edit", "Click Undo"}},
  };
  for (auto& c : cases) {
    Events().clear();
    {
      TMenuScript script({owner});
      c.run(script);
      Pump();
      if (c.clicks.empty()) {
        EXPECT_TRUE(script.Idles > 0 && script.EndedByFailSafe) << c.what;
      }
    }
    EXPECT_EQ(Clicks(), c.clicks) << c.what;
    EXPECT_EQ(GetOpenMenuWindow(), nullptr) << c.what;
  }
  // A disabled item's shortcut does nothing.
  Events().clear();
  file->Items(1)->SetEnabled(false);
  KeyWith(VK_CONTROL, 'S');
  EXPECT_TRUE(Clicks().empty());
}

TEST_F(Menus, SystemMenuCloseAndItsStates) {
  bool closed = false;
  form_->OnClose = TCloseEvent::Lambda([&](TObject*, TCloseAction& a) {
    closed = true;
    a = caHide;
  });
  HMENU sys = GetSystemMenu(form_->Handle(), FALSE);
  ASSERT_NE(sys, nullptr);
  {
    TMenuScript script({form_->Handle()});
    script.Then([&] {
      // States follow the window: a normal window cannot be restored.
      Events().push_back("restore " +
                         std::to_string(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED));
      Events().push_back("maximize " +
                         std::to_string(GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED));
      Tap('C');
    });
    TapWith(VK_MENU, VK_SPACE);
    Pump();
  }
  EXPECT_TRUE(closed);
  EXPECT_EQ(EventsOf("restore"), std::vector<std::string>{"restore 1"});
  EXPECT_EQ(EventsOf("maximize"), std::vector<std::string>{"maximize 0"});
  EXPECT_FALSE(form_->GetVisible());
}

TEST_F(Menus, TrackPopupMenuAnswersTheCommandOrPostsIt) {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 1, "mA");
  AppendMenuA(m, MF_STRING | MF_CHECKED, 2, "mV");
  EXPECT_EQ(GetMenuItemCount(m), 2);
  EXPECT_EQ(CheckMenuItem(m, 2, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(m, 7, MF_BYCOMMAND), -1);
  HWND owner = form_->Handle();
  UINT got = 0;
  {
    TMenuScript script({owner});
    script.Then([] {
      Tap(VK_DOWN);
      Tap(VK_DOWN);
      Tap(VK_RETURN);
    });
    got = UINT(TrackPopupMenu(m, TPM_RETURNCMD | TPM_LEFTBUTTON, 200, 200, 0, owner, nullptr));
  }
  EXPECT_EQ(got, 2u);
  // Without TPM_RETURNCMD the choice arrives as WM_COMMAND.
  WPARAM command = 0;
  form_->WindowProc = TWndMethod::Lambda([&, old = form_->WindowProc](TMessage& msg) {
    if (msg.Msg == WM_COMMAND) command = msg.WParam;
    old(msg);
  });
  {
    TMenuScript script({owner});
    script.Then([] {
      Tap(VK_DOWN);
      Tap(VK_RETURN);
    });
    EXPECT_TRUE(TrackPopupMenu(m, TPM_LEFTBUTTON, 200, 200, 0, owner, nullptr));
  }
  EXPECT_EQ(command, 0u) << "posted, not sent";
  Pump();
  EXPECT_EQ(command, 1u);
  EXPECT_TRUE(DestroyMenu(m));
  EXPECT_EQ(GetMenuItemCount(m), -1);
}

TEST(MenuItems, TreeOperationsRadioGroupsAndFreeingOrder) {
  TComponent owner(nullptr);
  auto* root = new TMenuItem(&owner);
  std::vector<std::string> freed;
  struct TNoting : TMenuItem {
    std::vector<std::string>* log;
    TNoting(TComponent* o, std::vector<std::string>* l) : TMenuItem(o), log(l) {}
    ~TNoting() override { log->push_back(GetCaption()); }
  };
  auto add = [&](const char* c) {
    auto* i = new TNoting(&owner, &freed);
    i->SetCaption(c);
    return i;
  };
  TMenuItem *a = add("a"), *b = add("b"), *c = add("c");
  root->Add(a);
  root->Add(c);
  root->Insert(1, b);
  EXPECT_EQ(root->Count(), 3);
  EXPECT_EQ(root->IndexOf(b), 1);
  EXPECT_EQ(root->Find("B"), b);
  EXPECT_THROW(root->Add(a), EMenuError);
  EXPECT_THROW(root->Items(3), EMenuError);
  for (TMenuItem* i : {a, b, c}) {
    i->SetRadioItem(true);
    i->SetGroupIndex(1);
  }
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->GetChecked());
  EXPECT_TRUE(b->GetChecked());
  c->SetGroupIndex(2);
  c->SetChecked(true);
  EXPECT_TRUE(b->GetChecked()) << "another group";
  // The handle shows the visible items with their states.
  HMENU h = root->GetHandle();
  c->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(h), 2);
  EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));
  root->Delete(0);
  EXPECT_EQ(a->Parent(), nullptr);
  delete a;
  freed.clear();
  delete root;
  EXPECT_EQ(freed, (std::vector<std::string>{"c", "b"})) << "sub-items go last to first";
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ShortCuts, TextRoundTrips) {
  struct Case {
    WORD key;
    TShiftState shift;
    const char* text;
  } cases[] = {
      {'S', {ssCtrl}, "Ctrl+S"},
      {VK_DELETE, {ssShift}, "Shift+Del"},
      {VK_F2, {}, "F2"},
      {VK_BACK, {ssAlt}, "Alt+BkSp"},
      {VK_F4, {ssAlt}, "Alt+F4"},
      {'1', {ssShift, ssCtrl}, "Shift+Ctrl+1"},
      {VK_INSERT, {ssCtrl}, "Ctrl+Ins"},
      {VK_RETURN, {}, "Enter"},
      {VK_ESCAPE, {}, "Esc"},
      {VK_PRIOR, {}, "PgUp"},
      {VK_NEXT, {ssCtrl, ssAlt}, "Ctrl+Alt+PgDn"},
      {VK_SPACE, {}, "Space"},
      {VK_F12, {ssShift}, "Shift+F12"},
      {VK_LEFT, {ssAlt}, "Alt+Left"},
  };
  for (const Case& c : cases) {
    TShortCut sc = ShortCut(c.key, c.shift);
    EXPECT_EQ(ShortCutToText(sc), c.text);
    EXPECT_EQ(TextToShortCut(c.text), sc) << c.text;
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(sc, key, shift);
    EXPECT_EQ(key, c.key);
    EXPECT_TRUE(shift == c.shift) << c.text;
  }
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut("Alt+F4"), scAlt | VK_F4);
  for (const char* bad : {"", "Ctrl+", "Ctrl+Nothing", "S+Ctrl", "F25"})
    EXPECT_EQ(TextToShortCut(bad), 0) << bad;
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCut(0x100, {}), 0);
}

TEST_F(Menus, ActionsUpdateOnIdleEnableTheirItemsAndExecute) {
  auto* list = new TActionList(form_);
  auto* save = new TAction(form_);
  save->SetActionList(list);
  save->SetCaption("&Save");
  save->SetShortCut(ShortCut('S', {ssCtrl}));
  bool canSave = false;
  int executed = 0;
  save->OnUpdate = TNotifyEvent::Lambda([&](TObject*) { save->SetEnabled(canSave); });
  save->OnExecute = TNotifyEvent::Lambda([&](TObject*) { ++executed; });
  auto* item = new TMenuItem(form_);
  popup_->GetItems()->Add(item);
  item->SetAction(save);
  EXPECT_EQ(item->GetCaption(), "&Save");
  EXPECT_EQ(item->GetShortCut(), save->GetShortCut());
  auto* button = Make<TRecControl>(form_, form_, "B", Bounds(220, 10, 60, 20));
  button->SetAction(save);
  EXPECT_EQ(button->GetCaption(), "&Save");

  auto idle = [] {
    Pump();
    Application->OnIdle = TIdleEvent::Lambda([](TObject*, bool& done) { done = false; });
    Application->HandleMessage();
    Application->OnIdle = nullptr;
  };
  idle();
  EXPECT_FALSE(item->GetEnabled()) << "OnUpdate ran when the application idled";
  EXPECT_FALSE(button->GetEnabled());
  canSave = true;
  idle();
  EXPECT_TRUE(item->GetEnabled());
  EXPECT_TRUE(button->GetEnabled());
  // Choosing the item, clicking the control and the shortcut execute the action.
  item->Click();
  button->Click();
  control_->SetFocus();
  KeyWith(VK_CONTROL, 'S');
  EXPECT_EQ(executed, 3);
  // A caption set by hand unlinks it from the action's.
  button->SetCaption("Store");
  save->SetCaption("Save &as");
  EXPECT_EQ(item->GetCaption(), "Save &as");
  EXPECT_EQ(button->GetCaption(), "Store");
  delete save;
  EXPECT_EQ(item->GetAction(), nullptr);
  EXPECT_EQ(button->GetAction(), nullptr);
}

}  // namespace
}  // namespace menu_test
