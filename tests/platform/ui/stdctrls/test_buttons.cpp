// Push buttons, check boxes, radio buttons and radio groups driven by mouse and keyboard.
#include "tests/platform/ui/stdctrls/StdCtrlsHarness.h"

namespace ui_test {
namespace {

class Buttons : public StdCtrlsTest {
 public:
  // A dialog with an OK (Default) and a Cancel (Cancel) button and a plain one.
  void MakeDialog() {
    dialog_ = NewForm(300, 120);
    ok_ = Make<TButton>(dialog_, dialog_, "OkButton", Bounds(20, 80, 75, 25));
    ok_->SetCaption("&OK");
    ok_->SetDefault(true);
    ok_->SetModalResult(mrOk);
    cancel_ = Make<TButton>(dialog_, dialog_, "CancelButton", Bounds(110, 80, 75, 25));
    cancel_->SetCaption("Cancel");
    cancel_->SetCancel(true);
    cancel_->SetModalResult(mrCancel);
    check_ = Make<TCheckBox>(dialog_, dialog_, "Check", Bounds(20, 20, 120, 17));
    check_->SetCaption("Option");
    check_->SetTabOrder(0);
  }
  TForm* dialog_ = nullptr;
  TButton *ok_ = nullptr, *cancel_ = nullptr;
  TCheckBox* check_ = nullptr;
};

TEST_F(Buttons, EndingAModalDialogByMouseEnterEscapeSpaceAndAccelerator) {
  MakeDialog();
  struct Case {
    const char* how;
    std::function<void(Buttons*)> act;
    TModalResult expected;
  } cases[] = {
      {"mouse on OK", [](Buttons* t) { InputClick(At(t->ok_, 10, 10)); }, mrOk},
      {"mouse on Cancel", [](Buttons* t) { InputClick(At(t->cancel_, 10, 10)); }, mrCancel},
      {"Enter with a check box focused clicks the default", [](Buttons*) { InputTap(VK_RETURN); }, mrOk},
      {"Escape clicks the cancel button", [](Buttons*) { InputTap(VK_ESCAPE); }, mrCancel},
      {"Enter clicks the focused button, not the default",
       [](Buttons* t) {
         t->cancel_->SetFocus();
         InputTap(VK_RETURN);
       },
       mrCancel},
      {"Space on the focused button",
       [](Buttons* t) {
         t->cancel_->SetFocus();
         InputTap(VK_SPACE);
       },
       mrCancel},
      {"Alt and the accelerator",
       [](Buttons*) {
         InputKey(VK_MENU, true);
         InputTap('O');
         InputKey(VK_MENU, false);
       },
       mrOk},
  };
  for (const Case& c : cases) {
    clock_.Advance(1000);  // no double clicks between cases
    dialog_->SetActiveControl(nullptr);
    EXPECT_EQ(RunModal(dialog_, [&] { c.act(this); }), c.expected) << c.how;
    EXPECT_FALSE(dialog_->GetVisible()) << c.how;
  }
}

TEST_F(Buttons, AClickNeedsTheReleaseOnTheButtonAndAnEnabledButton) {
  TForm* f = NewForm();
  auto* b = Make<TButton>(f, f, "B", Bounds(10, 10, 80, 25));
  TClickCounter clicks;
  b->OnClick = clicks.Event();
  ShowForm(f);
  ClickAt(b);
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_EQ(FindControl(GetFocus()), b) << "a press focuses the button";

  clock_.Advance(1000);
  Press(At(b, 5, 5));
  EXPECT_TRUE(b->Pushed());
  MoveTo(At(b, 200, 5));
  EXPECT_FALSE(b->Pushed()) << "the face follows the mouse while it is held";
  MoveTo(At(b, 6, 6));
  EXPECT_TRUE(b->Pushed());
  Release(At(b, 200, 5));
  EXPECT_EQ(clicks.Count, 1) << "released outside: no click";
  EXPECT_FALSE(b->Pushed());

  clock_.Advance(1000);
  b->SetEnabled(false);
  ClickAt(b);
  b->Perform(CM_DIALOGCHAR, 'B', 0);
  EXPECT_EQ(clicks.Count, 1);
}

TEST_F(Buttons, CheckBoxStatesCycleByMouseSpaceAndAccelerator) {
  TForm* f = NewForm();
  auto* c = Make<TCheckBox>(f, f, "C", Bounds(10, 10, 120, 17));
  c->SetCaption("&Grayed too");
  std::vector<TCheckBoxState> seen;
  c->OnClick = TNotifyEvent::Lambda([&](TObject*) { seen.push_back(c->GetState()); });
  ShowForm(f);
  struct Case {
    bool allowGrayed;
    std::vector<TCheckBoxState> states;
  } cases[] = {{false, {cbChecked, cbUnchecked, cbChecked}}, {true, {cbGrayed, cbChecked, cbUnchecked}}};
  for (const Case& k : cases) {
    c->ClicksDisabled = true;
    c->SetState(cbUnchecked);
    c->ClicksDisabled = false;
    c->SetAllowGrayed(k.allowGrayed);
    seen.clear();
    clock_.Advance(1000);
    ClickAt(c);
    Key(VK_SPACE);
    KeyWith(VK_MENU, 'G');
    EXPECT_EQ(seen, k.states) << "AllowGrayed " << k.allowGrayed;
    EXPECT_EQ(c->GetChecked(), k.states.back() == cbChecked);
  }
  seen.clear();
  c->SetChecked(c->GetChecked());
  EXPECT_TRUE(seen.empty()) << "no change, no click";
  c->SetChecked(!c->GetChecked());
  EXPECT_EQ(seen.size(), 1u) << "a change by code is reported too";
}

TEST_F(Buttons, RadioButtonsExcludeEachOtherWithinTheirParentOnly) {
  TForm* f = NewForm();
  auto* box = Make<TGroupBox>(f, f, "Box", Bounds(10, 10, 150, 100));
  TRadioButton* r[3];
  for (int i = 0; i < 3; ++i) {
    r[i] = Make<TRadioButton>(f, box, ("R" + std::to_string(i)).c_str(), Bounds(8, 18 + 24 * i, 120, 17));
    r[i]->SetCaption("Choice " + std::to_string(i));
  }
  auto* outside = Make<TRadioButton>(f, f, "Outside", Bounds(200, 20, 120, 17));
  outside->SetChecked(true);
  TClickCounter clicks;
  r[1]->OnClick = clicks.Event();
  ShowForm(f);

  ClickAt(r[1]);
  EXPECT_TRUE(r[1]->GetChecked());
  EXPECT_EQ(clicks.Count, 1);
  ClickAt(r[0]);
  clock_.Advance(1000);
  EXPECT_TRUE(r[0]->GetChecked());
  EXPECT_FALSE(r[1]->GetChecked());
  EXPECT_TRUE(outside->GetChecked()) << "another parent is another group";
  EXPECT_TRUE(r[0]->GetTabStop());
  EXPECT_FALSE(r[1]->GetTabStop()) << "only the checked button is a tab stop";

  // The arrows move the focus within the group and check what they reach, wrapping around.
  Key(VK_DOWN);
  EXPECT_EQ(FindControl(GetFocus()), r[1]);
  EXPECT_TRUE(r[1]->GetChecked());
  EXPECT_FALSE(r[0]->GetChecked());
  EXPECT_EQ(clicks.Count, 2);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_TRUE(r[0]->GetChecked()) << "wrapped";
  Key(VK_UP);
  EXPECT_TRUE(r[2]->GetChecked());
  EXPECT_TRUE(outside->GetChecked());
}

TEST_F(Buttons, RadioGroupItemIndexFollowsClicksArrowsAndCode) {
  TForm* f = NewForm();
  auto* g = Make<TRadioGroup>(f, f, "Group", Bounds(10, 10, 200, 110));
  g->SetCaption("Speed");
  g->GetItems()->Add("Slow");
  g->GetItems()->Add("Medium");
  g->GetItems()->Add("Fast");
  g->GetItems()->Add("Fastest");
  g->SetColumns(2);
  TClickCounter clicks;
  g->OnClick = clicks.Event();
  ShowForm(f);
  ASSERT_EQ(g->ButtonCount(), 4);
  EXPECT_EQ(g->GetItemIndex(), -1);
  EXPECT_EQ(g->Buttons(2)->GetCaption(), "Fast");
  EXPECT_GT(g->Buttons(2)->Left(), g->Buttons(1)->Left()) << "two columns";
  EXPECT_EQ(g->Buttons(2)->Top(), g->Buttons(0)->Top());

  g->SetItemIndex(1);
  EXPECT_TRUE(g->Buttons(1)->GetChecked());
  ClickAt(g->Buttons(3));
  EXPECT_EQ(g->GetItemIndex(), 3);
  EXPECT_FALSE(g->Buttons(1)->GetChecked());
  int before = clicks.Count;
  Key(VK_UP);
  EXPECT_EQ(g->GetItemIndex(), 2);
  EXPECT_EQ(clicks.Count, before + 1);

  g->SetItemIndex(17);
  EXPECT_EQ(g->GetItemIndex(), 3) << "clamped to the items";
  g->GetItems()->Delete(3);
  EXPECT_EQ(g->ButtonCount(), 3);
  EXPECT_EQ(g->GetItemIndex(), 2) << "the checked item went: the last one is checked";
  EXPECT_THROW(g->SetColumns(0), EInvalidOperation);
}

TEST_F(Buttons, LabelAcceleratorFocusesItsControlAndAutoSizeFollowsTheText) {
  TForm* f = NewForm();
  auto* target = Make<TCheckBox>(f, f, "Target", Bounds(100, 10, 120, 17));
  auto* other = Make<TButton>(f, f, "Other", Bounds(100, 40, 75, 25));
  auto* label = Make<TLabel>(f, f, "L", Bounds(10, 10, 10, 10));
  label->SetCaption("&Name:");
  label->SetFocusControl(target);
  ShowForm(f);
  other->SetFocus();
  EXPECT_GT(label->Width(), 20);
  EXPECT_GT(label->Height(), 8);

  KeyWith(VK_MENU, 'N');
  EXPECT_EQ(FindControl(GetFocus()), target);
  EXPECT_FALSE(target->GetChecked()) << "the label only moves the focus";

  other->SetFocus();
  label->SetShowAccelChar(false);
  KeyWith(VK_MENU, 'N');
  EXPECT_EQ(FindControl(GetFocus()), other);

  // A right-aligned label keeps its right edge when its text grows.
  label->SetAlignment(taRightJustify);
  int right = label->Left() + label->Width(), width = label->Width();
  label->SetCaption("A much longer name:");
  EXPECT_GT(label->Width(), width);
  EXPECT_EQ(label->Left() + label->Width(), right);

  delete target;
  EXPECT_EQ(label->GetFocusControl(), nullptr);
}

TEST_F(Buttons, BitButtonKindsGiveCaptionsResultsRolesAndGlyphs) {
  TForm* f = NewForm();
  auto* b = Make<TBitBtn>(f, f, "Bit", Bounds(10, 10, 90, 27));
  struct Case {
    TBitBtnKind kind;
    const char* caption;
    TModalResult result;
    bool isDefault, isCancel;
  } cases[] = {
      {bkOK, "OK", mrOk, true, false},
      {bkCancel, "Cancel", mrCancel, false, true},
      {bkHelp, "&Help", mrNone, false, false},
      {bkYes, "&Yes", mrYes, true, false},
      {bkNo, "&No", mrNo, false, false},
      {bkClose, "&Close", mrNone, false, false},
      {bkAbort, "Abort", mrAbort, false, false},
      {bkRetry, "&Retry", mrRetry, false, false},
      {bkIgnore, "&Ignore", mrIgnore, false, false},
      {bkAll, "&All", mrAll, false, false},
  };
  for (const Case& c : cases) {
    b->SetKind(c.kind);
    EXPECT_EQ(b->GetCaption(), c.caption);
    EXPECT_EQ(b->GetModalResult(), c.result) << c.caption;
    EXPECT_EQ(b->GetDefault(), c.isDefault) << c.caption;
    EXPECT_EQ(b->GetCancel(), c.isCancel) << c.caption;
    EXPECT_FALSE(b->GetGlyph()->Empty()) << c.caption;
    EXPECT_EQ(b->GetNumGlyphs(), 2);
  }
  b->SetCaption("Mine");
  b->SetKind(bkCustom);
  EXPECT_EQ(b->GetCaption(), "Mine") << "a custom kind changes nothing";
  EXPECT_EQ(b->GetModalResult(), mrAll);

  // A glyph of square cells says how many cells it has.
  TBitmap strip;
  for (auto [w, expected] : {std::pair{64, 4}, {80, 1}, {50, 1}, {32, 2}}) {
    strip.SetSize(w, 16);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->GetNumGlyphs(), expected) << w;
  }

  b->SetKind(bkOK);
  EXPECT_EQ(RunModal(f, [&] { InputClick(At(b, 10, 10)); }), mrOk);
}

TEST_F(Buttons, SpeedButtonsLatchInTheirGroupAndParent) {
  TForm* f = NewForm();
  auto* panel = Make<TPanel>(f, f, "Bar", Bounds(0, 0, 200, 30));
  TSpeedButton* s[3];
  for (int i = 0; i < 3; ++i) {
    s[i] = Make<TSpeedButton>(f, panel, ("S" + std::to_string(i)).c_str(), Bounds(4 + 24 * i, 4, 23, 22));
    s[i]->SetGroupIndex(1);
  }
  auto* elsewhere = Make<TSpeedButton>(f, f, "Elsewhere", Bounds(10, 100, 23, 22));
  elsewhere->SetGroupIndex(1);
  elsewhere->SetDown(true);
  auto* plain = Make<TSpeedButton>(f, f, "Plain", Bounds(40, 100, 23, 22));
  TClickCounter clicks;
  for (auto* b : s) b->OnClick = clicks.Event();
  plain->OnClick = clicks.Event();
  ShowForm(f);

  auto downs = [&] { return std::vector<bool>{s[0]->GetDown(), s[1]->GetDown(), s[2]->GetDown()}; };
  ClickAt(s[1]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, true, false}));
  clock_.Advance(1000);
  ClickAt(s[2]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(elsewhere->GetDown()) << "another parent keeps its own group";
  clock_.Advance(1000);
  ClickAt(s[2]);
  EXPECT_TRUE(s[2]->GetDown()) << "the only button down stays down";
  EXPECT_EQ(clicks.Count, 3) << "each press clicks, latched or not";

  s[0]->SetAllowAllUp(true);
  EXPECT_TRUE(s[2]->GetAllowAllUp()) << "the group shares AllowAllUp";
  clock_.Advance(1000);
  ClickAt(s[2]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, false}));

  // Pressed and dragged off: no click and no latch.
  clock_.Advance(1000);
  Press(At(s[0], 5, 5));
  EXPECT_EQ(s[0]->State(), bsDown);
  Release(At(s[0], 100, 100));
  EXPECT_FALSE(s[0]->GetDown());
  EXPECT_EQ(s[0]->State(), bsUp);

  clock_.Advance(1000);
  ClickAt(plain);
  plain->SetDown(true);
  EXPECT_FALSE(plain->GetDown()) << "without a group a speed button never stays down";
  EXPECT_EQ(clicks.Count, 5);
}

}  // namespace
}  // namespace ui_test
