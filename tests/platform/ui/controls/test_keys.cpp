// The keyboard: keys at the focused control, the form's preview, Tab and arrow navigation with
// CM_ENTER/CM_EXIT, dialog keys (Enter, Escape) and accelerators, and controls that claim keys.
#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {
namespace {

// Panel P1 holding E1 and E2, panel P2 holding E3 and E4 (no tab stop), then the buttons OK
// (default) and Cancel on the form.
struct TDialog {
  TForm* F;
  TRecPanel *P1, *P2;
  TRecControl *E1, *E2, *E3, *E4, *Ok, *Cancel;
};

class Keys : public UiTest {
 protected:
  TDialog Build() {
    TDialog d;
    d.F = NewForm();
    d.P1 = Make<TRecPanel>(d.F, d.F, "P1", Bounds(10, 10, 180, 100));
    d.E1 = Make<TRecControl>(d.F, d.P1, "E1", Bounds(10, 10, 60, 20));
    d.E2 = Make<TRecControl>(d.F, d.P1, "E2", Bounds(10, 40, 60, 20));
    d.P2 = Make<TRecPanel>(d.F, d.F, "P2", Bounds(200, 10, 180, 100));
    d.E3 = Make<TRecControl>(d.F, d.P2, "E3", Bounds(10, 10, 60, 20));
    d.E4 = Make<TRecControl>(d.F, d.P2, "E4", Bounds(10, 40, 60, 20));
    d.Ok = Make<TRecControl>(d.F, d.F, "Ok", Bounds(10, 200, 75, 25));
    d.Cancel = Make<TRecControl>(d.F, d.F, "Cancel", Bounds(100, 200, 75, 25));
    for (TRecControl* c : {d.E1, d.E2, d.E3, d.Ok, d.Cancel}) c->SetTabStop(true);
    d.Ok->SetCaption("&OK");
    d.Ok->Default = true;
    d.Cancel->SetCaption("Cancel");
    d.Cancel->Cancel = true;
    ShowForm(d.F);
    d.E1->SetFocus();
    Pump();
    Events().clear();
    return d;
  }
  static TWinControl* FocusedControl() { return FindControl(GetFocus()); }
  static std::vector<std::string> Without(const std::string& word) {
    std::vector<std::string> out;
    for (const auto& e : Events())
      if (e.find(word) == std::string::npos && e.find("Mouse") == std::string::npos) out.push_back(e);
    return out;
  }
};

TEST_F(Keys, KeysGoToTheFocusedControlAfterTheFormsPreview) {
  TDialog d = Build();
  Key('A');
  EXPECT_EQ(EventsOf("E1."), (std::vector<std::string>{"E1.KeyDown(65)", "E1.KeyPress(a)", "E1.KeyUp(65)"}));

  std::vector<std::string> preview;
  d.F->SetKeyPreview(true);
  d.F->OnKeyDown = TKeyEvent::Lambda([&](TObject*, WORD& key, TShiftState) {
    preview.push_back("down " + std::to_string(key));
    if (key == 'B') key = 0;
  });
  d.F->OnKeyPress = TKeyPressEvent::Lambda([&](TObject*, char& key) {
    preview.push_back(std::string("press ") + key);
    if (key == 'c') key = 0;
  });
  Events().clear();
  Key('B');
  Key('C');
  // As in the framework, a key swallowed on its way down still makes its character.
  EXPECT_EQ(preview, (std::vector<std::string>{"down 66", "press b", "down 67", "press c"}));
  EXPECT_EQ(EventsOf("E1."),
            (std::vector<std::string>{"E1.KeyPress(b)", "E1.KeyUp(66)", "E1.KeyDown(67)", "E1.KeyUp(67)"}));
}

TEST_F(Keys, TabMovesThroughTheTabStopsAndFocusMovesEnterAndExitThroughTheParents) {
  TDialog d = Build();
  std::vector<TWinControl*> forward;
  for (int i = 0; i < 5; ++i) {
    Key(VK_TAB);
    forward.push_back(FocusedControl());
  }
  EXPECT_EQ(forward, (std::vector<TWinControl*>{d.E2, d.E3, d.Ok, d.Cancel, d.E1})) << "E4 is no tab stop";
  KeyWith(VK_SHIFT, VK_TAB);
  EXPECT_EQ(FocusedControl(), d.Cancel);

  d.E1->SetFocus();
  d.E2->SetFocus();
  Events().clear();
  Key(VK_TAB);
  EXPECT_EQ(Without("Key"), (std::vector<std::string>{"E2.Exit", "P1.Exit", "P2.Enter", "E3.Enter"}));
  EXPECT_EQ(d.F->ActiveControl(), d.E3);
  EXPECT_EQ(Screen->ActiveControl(), d.E3);
  d.E3->SetTabOrder(1);
  EXPECT_EQ(d.E4->GetTabOrder(), 0);
  KeyWith(VK_SHIFT, VK_TAB);
  EXPECT_EQ(FocusedControl(), d.E2) << "E3 first in its panel now";
}

TEST_F(Keys, ArrowsMoveAmongSiblings) {
  TDialog d = Build();
  d.E4->SetTabStop(false);
  struct Case {
    TWinControl* from;
    UINT key;
    TWinControl* to;
  } cases[] = {
      {d.E1, VK_RIGHT, d.E2}, {d.E2, VK_DOWN, d.E1},      {d.E1, VK_LEFT, d.E2},
      {d.E3, VK_DOWN, d.E4},  {d.Cancel, VK_RIGHT, d.P1},
  };
  for (const Case& c : cases) {
    c.from->SetFocus();
    Key(c.key);
    EXPECT_EQ(FocusedControl(), c.to) << c.from->GetName() << " " << c.key;
  }
}

TEST_F(Keys, AControlThatClaimsAKeyGetsItInsteadOfTheForm) {
  TDialog d = Build();
  struct Case {
    UINT key;
    LRESULT dlgCode;
    bool special;
  } cases[] = {
      {VK_TAB, DLGC_WANTTAB, false},        {VK_TAB, 0, true},
      {VK_DOWN, DLGC_WANTARROWS, false},    {VK_RIGHT, 0, true},
      {VK_RETURN, DLGC_WANTALLKEYS, false}, {VK_ESCAPE, 0, true},
  };
  for (const Case& c : cases) {
    d.E1->DlgCode = c.dlgCode;
    d.E1->Special = c.special ? std::vector<WORD>{WORD(c.key)} : std::vector<WORD>{};
    d.E1->SetFocus();
    Events().clear();
    Key(c.key);
    EXPECT_EQ(FocusedControl(), d.E1) << c.key;
    EXPECT_EQ(EventsOf("E1.KeyDown"), std::vector<std::string>{"E1.KeyDown(" + std::to_string(c.key) + ")"});
    EXPECT_TRUE(EventsOf("Ok.").empty() && EventsOf("Cancel.").empty()) << c.key;
  }
}

TEST_F(Keys, EnterAndEscapePressTheDefaultAndCancelButtons) {
  Build();
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_EQ(Without("E1"),
            (std::vector<std::string>{"Ok.DialogKey", "Ok.Click", "Cancel.DialogKey", "Cancel.Click"}));
  EXPECT_TRUE(EventsOf("E1.KeyDown").empty()) << "the keys went to the buttons, not the control";
}

TEST_F(Keys, AcceleratorsWithAltAndPlainLettersWhereTheControlTakesNoCharacters) {
  TDialog d = Build();
  KeyWith(VK_MENU, 'O');
  EXPECT_EQ(EventsOf("Ok."), (std::vector<std::string>{"Ok.Accel", "Ok.Click"}));
  Events().clear();
  Key('O');
  EXPECT_EQ(EventsOf("Ok."), (std::vector<std::string>{"Ok.Accel", "Ok.Click"}));
  d.E1->DlgCode = DLGC_WANTCHARS;
  Events().clear();
  Key('O');
  EXPECT_TRUE(EventsOf("Ok.").empty());
  EXPECT_EQ(EventsOf("E1.KeyPress"), std::vector<std::string>{"E1.KeyPress(o)"});
}

}  // namespace
}  // namespace ui_test

namespace ui_test {
namespace {

TEST_F(Keys, AcceleratorsHintsAndShiftStates) {
  Build();  // the keyboard state follows the key messages a focused window takes
  struct Accel {
    WORD vk;
    const char* text;
    bool is;
  } accels[] = {{'O', "&Open", true},     {'o', "&Open", true},     {'P', "&Open", false},
                {'E', "Op&en", true},     {'A', "&&A", false},      {'B', "&&A&b", true},
                {'X', "No accel", false}, {'X', "Trailing&", false}};
  for (const Accel& a : accels) EXPECT_EQ(IsAccel(a.vk, a.text), a.is) << a.text << " " << char(a.vk);
  EXPECT_EQ(StripHotkey("&Save && Exit"), "Save & Exit");
  EXPECT_EQ(GetShortHint("Zoom|Zooms the plot"), "Zoom");
  EXPECT_EQ(GetLongHint("Zoom|Zooms the plot"), "Zooms the plot");
  EXPECT_EQ(GetLongHint("Ready"), "Ready");

  EXPECT_EQ(KeyDataToShiftState(KF_ALTDOWN_BIT), TShiftState{ssAlt}) << "Alt comes from the key data";
  InputKey(VK_SHIFT, true);
  Application->ProcessMessages();
  EXPECT_EQ(KeyDataToShiftState(0), TShiftState{ssShift});
  InputKey(VK_SHIFT, false);
  Application->ProcessMessages();
}

}  // namespace
}  // namespace ui_test
