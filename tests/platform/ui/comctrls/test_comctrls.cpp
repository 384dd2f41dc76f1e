// Page control, status bar, up-down, track bar and progress bar driven headless, and a
// screenshot of a form with a menu bar, an open popup menu and these controls.
#include "platform/display/Display.h"
#include "platform/ui/ComCtrls.h"
#include "tests/platform/ui/menus/MenuHarness.h"
#include "tests/support/TestOutput.h"

namespace menu_test {
namespace {

class ComCtrls : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(420, 300);
  }
  TForm* form_ = nullptr;
};

TEST_F(ComCtrls, PagesSwitchByClickAndCtrlTabAndOnChangingMayRefuse) {
  auto* pc = Make<TPageControl>(form_, form_, "PC", Bounds(10, 10, 300, 200));
  TTabSheet* pages[3];
  const char* captions[] = {"First", "Second", "Third"};
  for (int i = 0; i < 3; ++i) {
    pages[i] = new TTabSheet(form_);
    pages[i]->SetCaption(captions[i]);
    pages[i]->SetPageControl(pc);
  }
  auto* edit = Make<TRecControl>(form_, pages[0], "E", Bounds(5, 5, 80, 20));
  edit->SetTabStop(true);
  ShowForm(form_);
  ASSERT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->GetActivePage(), pages[0]);
  EXPECT_TRUE(pages[0]->GetVisible());
  EXPECT_FALSE(pages[1]->GetVisible());
  bool allow = true;
  pc->OnChanging = TTabChangingEvent::Lambda([&](TObject*, bool& a) {
    Events().push_back("Changing");
    a = allow;
  });
  pc->OnChange = TNotifyEvent::Lambda(
      [&](TObject*) { Events().push_back("Change to " + pc->GetActivePage()->GetCaption()); });
  // A click on the third tab.
  TRect third = pc->TabRect(2);
  Press(At(pc, third.Left + 5, third.Top + 5));
  Release(At(pc, third.Left + 5, third.Top + 5));
  EXPECT_EQ(pc->GetActivePageIndex(), 2);
  EXPECT_EQ(pc->GetTabIndex(), 2);
  EXPECT_TRUE(pages[2]->GetVisible());
  EXPECT_FALSE(pages[0]->GetVisible());
  EXPECT_EQ(Events(), (std::vector<std::string>{"Changing", "Change to Third"}));
  // Ctrl+Tab from a control on the page turns to the next page, wrapping; Ctrl+Shift+Tab back.
  pc->SetActivePageIndex(0);
  edit->SetFocus();
  Events().clear();
  KeyWith(VK_CONTROL, VK_TAB);
  EXPECT_EQ(pc->GetActivePage(), pages[1]);
  InputKey(VK_CONTROL, true);
  InputKey(VK_SHIFT, true);
  Key(VK_TAB);
  InputKey(VK_SHIFT, false);
  InputKey(VK_CONTROL, false);
  Pump();
  EXPECT_EQ(pc->GetActivePage(), pages[0]);
  // Refused: the page stays, no OnChange.
  allow = false;
  Events().clear();
  Press(At(pc, third.Left + 5, third.Top + 5));
  Release(At(pc, third.Left + 5, third.Top + 5));
  KeyWith(VK_CONTROL, VK_TAB);
  EXPECT_EQ(pc->GetActivePage(), pages[0]);
  EXPECT_EQ(Events(), (std::vector<std::string>{"Changing", "Changing"}));
  // Hidden tabs are skipped; code changes report nothing.
  allow = true;
  pages[1]->SetTabVisible(false);
  EXPECT_EQ(pc->GetTabs()->Count(), 2);
  EXPECT_EQ(pages[2]->TabIndex(), 1);
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->GetActivePage(), pages[2]);
  Events().clear();
  pc->SetTabIndex(0);
  EXPECT_EQ(pc->GetActivePage(), pages[0]);
  EXPECT_TRUE(Events().empty());
  delete pages[0];
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_NE(pc->GetActivePage(), nullptr);
}

TEST_F(ComCtrls, StatusPanelsShowTheirTextsInTheirWidths) {
  auto* bar = Make<TStatusBar>(form_, form_, "SB", Bounds(0, 0, 100, 19));
  TStatusPanel* a = bar->GetPanels()->Add();
  a->SetWidth(120);
  a->SetText("Ready");
  TStatusPanel* b = bar->GetPanels()->Add();
  b->SetText("COM3");
  b->SetAlignment(taRightJustify);
  ShowForm(form_);
  EXPECT_EQ(bar->GetAlign(), alBottom);
  EXPECT_EQ(bar->Top() + bar->Height(), form_->GetClientHeight());
  EXPECT_EQ(bar->PanelRect(0).Width(), 120);
  EXPECT_EQ(bar->PanelRect(1).Right, bar->GetClientRect().Right) << "the last panel reaches the edge";
  EXPECT_TRUE(bar->GripShowing());
  form_->SetBorderStyle(bsDialog);
  EXPECT_FALSE(bar->GripShowing());
  // Assign copies a panel.
  TStatusPanel* c = bar->GetPanels()->Add();
  c->Assign(b);
  EXPECT_EQ(c->GetText(), "COM3");
  EXPECT_EQ(c->GetAlignment(), taRightJustify);
  bar->SetSimpleText("Busy");
  bar->SetSimplePanel(true);
  EXPECT_EQ(bar->GetSimpleText(), "Busy");
}

TEST_F(ComCtrls, UpDownStepsByKeysClicksAndRepeatAndShowsItInItsAssociate) {
  auto* edit = Make<TRecControl>(form_, form_, "E", Bounds(10, 10, 80, 22));
  auto* ud = Make<TUpDown>(form_, form_, "UD", Bounds(0, 0, 16, 22));
  ud->SetMin(0);
  ud->SetMax(1200);
  ud->SetIncrement(100);
  ud->SetPosition(900);
  ud->SetAssociate(edit);
  ShowForm(form_);
  EXPECT_EQ(edit->GetText(), "900");
  EXPECT_EQ(ud->Left(), edit->Left() + edit->Width()) << "placed beside its associate";
  std::vector<int> clicks;
  ud->OnClick =
      TUDClickEvent::Lambda([&](TObject*, TUDBtnType b) { clicks.push_back(b == btNext ? 1 : -1); });
  edit->SetFocus();
  Key(VK_UP);
  EXPECT_EQ(edit->GetText(), "1,000");
  Key(VK_UP);
  Key(VK_UP);
  Key(VK_UP);  // at Max: no step
  EXPECT_EQ(ud->GetPosition(), 1200);
  EXPECT_EQ(edit->GetText(), "1,200");
  Key(VK_DOWN);
  EXPECT_EQ(ud->GetPosition(), 1100);
  EXPECT_EQ(clicks, (std::vector<int>{1, 1, 1, -1}));
  // Clicks on the lower half step down; held down, it repeats.
  Press(At(ud, 8, 18));
  Release(At(ud, 8, 18));
  EXPECT_EQ(ud->GetPosition(), 1000);
  Press(At(ud, 8, 18));
  clock_.Advance(400);
  Pump();
  clock_.Advance(100);
  Pump();
  Release(At(ud, 8, 18));
  EXPECT_EQ(ud->GetPosition(), 700);
  // Typed text is read back; Wrap runs round; OnChanging may refuse.
  edit->SetText("50");
  ud->SetWrap(true);
  ud->SetIncrement(100);
  EXPECT_TRUE(ud->Step(btPrev));
  EXPECT_EQ(ud->GetPosition(), 1200);
  ud->OnChanging = TUDChangingEvent::Lambda([](TObject*, bool& a) { a = false; });
  EXPECT_FALSE(ud->Step(btPrev));
  EXPECT_EQ(edit->GetText(), "1,200");
  // The associate going first leaves the up-down working alone.
  delete edit;
  EXPECT_EQ(ud->GetAssociate(), nullptr);
}

TEST_F(ComCtrls, TrackBarKeysAndMouse) {
  auto* tb = Make<TTrackBar>(form_, form_, "TB", Bounds(10, 10, 200, 45));
  tb->SetMax(20);
  tb->SetPageSize(5);
  ShowForm(form_);
  int changes = 0;
  tb->OnChange = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  tb->SetFocus();
  struct Case {
    UINT key;
    int position;
  } cases[] = {{VK_RIGHT, 1},  {VK_DOWN, 2},   {VK_NEXT, 7}, {VK_LEFT, 6}, {VK_END, 20},
               {VK_RIGHT, 20}, {VK_PRIOR, 15}, {VK_HOME, 0}, {VK_UP, 0}};
  for (const Case& c : cases) {
    Key(c.key);
    EXPECT_EQ(tb->GetPosition(), c.position) << "key " << c.key;
  }
  EXPECT_EQ(changes, 7) << "no change at the ends";
  // A click on the channel pages toward it; the thumb drags.
  Press(At(tb, 190, 16));
  Release(At(tb, 190, 16));
  EXPECT_EQ(tb->GetPosition(), 5);
  TRect thumb = tb->ThumbRect();
  Press(At(tb, thumb.Left + 5, thumb.Top + 5));
  MoveTo(At(tb, 190, 30));
  Release(At(tb, 190, 30));
  EXPECT_EQ(tb->GetPosition(), 20);
}

TEST(ProgressBars, StepItWrapsAndPositionsStayInRange) {
  TProgressBar pb(nullptr);
  pb.SetPosition(150);
  EXPECT_EQ(pb.GetPosition(), 100);
  pb.SetPosition(95);
  pb.StepIt();
  EXPECT_EQ(pb.GetPosition(), 4) << "past Max it starts again from Min";
  pb.StepBy(-50);
  EXPECT_EQ(pb.GetPosition(), 0);
  pb.SetMax(10);
  pb.SetPosition(10);
  pb.SetMin(20);
  EXPECT_EQ(pb.GetMax(), 20);
  EXPECT_EQ(pb.GetPosition(), 20);
}

TEST_F(ComCtrls, ScreenshotOfAFormWithMenusAndBars) {
  form_->SetCaption("Common controls");
  auto* bar = new TMainMenu(form_);
  TMenuItem* file = NewItem(form_, bar->GetItems(), "&File");
  NewItem(form_, file, "&Open...", ShortCut('O', {ssCtrl}));
  NewItem(form_, bar->GetItems(), "&View");
  NewItem(form_, bar->GetItems(), "&Help");
  form_->SetMenu(bar);
  auto* pc = Make<TPageControl>(form_, form_, "PC", Bounds(8, 8, 250, 150));
  for (const char* cap : {"Output", "Limits", "Log"}) {
    auto* p = new TTabSheet(form_);
    p->SetCaption(cap);
    p->SetPageControl(pc);
  }
  auto* edit = Make<TRecControl>(form_, pc->Pages(0), "E", Bounds(10, 10, 60, 21));
  auto* ud = Make<TUpDown>(form_, pc->Pages(0), "UD", Bounds(0, 0, 16, 21));
  ud->SetAssociate(edit);
  auto* tb = Make<TTrackBar>(form_, pc->Pages(0), "TB", Bounds(10, 45, 200, 45));
  tb->SetPosition(4);
  auto* prog = Make<TProgressBar>(form_, form_, "PB", Bounds(270, 10, 140, 16));
  prog->SetPosition(60);
  auto* sb = Make<TStatusBar>(form_, form_, "SB", Bounds(0, 0, 100, 19));
  sb->GetPanels()->Add()->SetText("Ready");
  sb->GetPanels()->Items(0)->SetWidth(150);
  sb->GetPanels()->Add()->SetText("COM1 9600");
  auto* popup = new TPopupMenu(form_);
  NewItem(form_, popup->GetItems(), "&Copy", ShortCut('C', {ssCtrl}))->SetDefault(true);
  NewItem(form_, popup->GetItems(), "-");
  NewItem(form_, popup->GetItems(), "&Logging")->SetChecked(true);
  NewItem(form_, popup->GetItems(), "&Disabled")->SetEnabled(false);
  TMenuItem* more = NewItem(form_, popup->GetItems(), "&More");
  NewItem(form_, more, "&One");
  pc->SetPopupMenu(popup);
  ShowForm(form_);
  EXPECT_TRUE(edit->Showing());
  EXPECT_TRUE(ud->Showing());
  AnsiString path = OutputPath("comctrls_menus.png");
  {
    TMenuScript script({PopupListWindow()});
    script.Then([] {
      Tap(VK_DOWN);
      Tap(VK_DOWN);
    });
    script.Then([&] { EXPECT_TRUE(SaveScreenPng(path)); });
    ClickAt(At(pc, 200, 100), VK_RBUTTON);
    Pump();
  }
  EXPECT_EQ(Events(), std::vector<std::string>{}) << "the fail-safe closed the menu";
}

}  // namespace
}  // namespace menu_test
