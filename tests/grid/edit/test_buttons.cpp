// The edits with a button and the flat combo box: who clicked the button, the unit menu, the
// combo's button width and its colour while disabled.
#include "tests/grid/edit/EditFixture.h"
#include "tests/platform/ui/menus/MenuHarness.h"

namespace grid_edit_test {
namespace {

using Buttons = EditTest;

TEST_F(Buttons, F4ClicksAsTheEditAndTheMouseAsTheButton) {
  auto* e = Shown<TAsgEditBtn>(Bounds(10, 10, 120, 24));
  std::vector<TObject*> senders;
  e->OnClickBtn = TNotifyEvent::Lambda([&](TObject* s) { senders.push_back(s); });
  EXPECT_EQ(e->GetText(), "0");
  Key(VK_F4);
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0], e);

  TAsgEditButton* b = e->Button();
  const TPoint p = At(b, b->Width() / 2, b->Height() / 2);
  Press(p, VK_RBUTTON);
  Release(p, VK_RBUTTON);
  EXPECT_EQ(senders.size(), 1u) << "the right button clicks nothing";
  Press(p);
  Release(p);
  ASSERT_EQ(senders.size(), 2u);
  EXPECT_EQ(senders[1], b);
  EXPECT_TRUE(e->Focused()) << "the edit keeps the focus";

  // A release outside the button after a press on it is no click.
  clock_.Advance(1000);
  Press(p);
  Release(At(e, 2, 2));
  EXPECT_EQ(senders.size(), 2u);

  e->SetButtonWidth(30);
  EXPECT_EQ(b->Width(), 30);
  EXPECT_EQ(b->GetLeft(), e->Width() - 30 - 5) << "right edge, inside the single border";

  // Nothing typed reaches an edit whose editor is off.
  e->EditorEnabled = false;
  e->SelectAll();
  Type(u"12");
  EXPECT_EQ(e->GetText(), "0");
}

TEST_F(Buttons, TheUnitMenuSetsTheChosenUnit) {
  auto* e = Shown<TAsgUnitEditBtn>(Bounds(10, 10, 140, 24));
  EXPECT_TRUE(e->GetRightAlign());
  TStringList units;
  units.SetCommaText("mV,V,kV");
  e->SetUnits(&units);
  e->SetUnits(nullptr);
  ASSERT_EQ(e->GetUnits()->Count(), 3) << "nil is ignored";
  int items = 0;
  TPoint at;
  bool fired = false;
  e->OnClickBtn = TNotifyEvent::Lambda([&](TObject*) { fired = true; });
  {
    menu_test::TMenuScript script({e->Handle()});
    script.Then([&] {
      HWND w = GetOpenMenuWindow();
      RECT r{};
      GetWindowRect(w, &r);
      at = {r.Left, r.Top};
      items = 1;
      menu_test::Tap(VK_DOWN);
    });
    script.Then([] { menu_test::Tap(VK_DOWN); });
    script.Then([] { menu_test::Tap(VK_RETURN); });
    Key(VK_F4);
    Pump();
  }
  EXPECT_EQ(items, 1) << "the menu opened";
  const TPoint origin = e->ClientToScreen({0, 0});
  EXPECT_EQ(at, Point(origin.X + e->GetClientWidth() - 15, origin.Y + e->GetClientHeight()))
      << "under the control's right end";
  EXPECT_EQ(e->GetUnitID(), "V");
  EXPECT_FALSE(fired) << "the unit edit's button shows the menu instead";

  // A command for an item the menu never had changes nothing.
  e->Perform(WM_COMMAND, 7, 0);
  EXPECT_EQ(e->GetUnitID(), "V");
}

TEST_F(Buttons, FlatComboButtonWidthAndDisabledColour) {
  auto* c = Shown<TASGComboBox>(Bounds(10, 10, 120, 24));
  EXPECT_TRUE(c->GetFlat());
  EXPECT_EQ(c->GetButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 4);
  for (int32_t w : {13, 14, 32, 33}) c->SetButtonWidth(w);
  EXPECT_EQ(c->GetButtonWidth(), 32) << "only 14 to 32 are taken";
  c->SetButtonWidth(13);
  EXPECT_EQ(c->GetButtonWidth(), 32);
  c->SetButtonWidth(14);
  EXPECT_EQ(c->GetButtonWidth(), 14);

  form_->SetColor(clAqua);
  c->SetColor(clYellow);
  c->SetEnabled(false);
  EXPECT_EQ(c->GetColor(), clAqua) << "a disabled flat combo shows its parent's colour";
  c->SetEnabled(true);
  EXPECT_EQ(c->GetColor(), clYellow);
  EXPECT_FALSE(c->GetParentColor());

  // The button: button face without an edge while the mouse is elsewhere, an edge under it.
  c->SetButtonWidth(20);
  auto* other = Make<TEdit>(form_, form_, "O", Bounds(10, 60, 80, 24));
  other->SetFocus();
  Pump();
  Paint(c);
  const int32_t bx = c->GetClientWidth() - 4;
  EXPECT_EQ(Px(c, bx, c->GetClientHeight() / 2), RgbOf(clBtnFace)) << "no edge";
  MoveTo(At(c, bx, c->GetClientHeight() / 2));
  Paint(c);
  EXPECT_TRUE(c->Look()->MouseInside());
  EXPECT_NE(Px(c, bx, c->GetClientHeight() / 2), RgbOf(clBtnFace)) << "a raised edge";
}

}  // namespace
}  // namespace grid_edit_test
