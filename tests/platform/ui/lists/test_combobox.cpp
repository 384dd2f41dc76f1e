// Combo box: the drop-down by keys and mouse, selection notifications, typing through the edit
// part, the list-only field, owner drawing and the CB_* messages.
#include "tests/platform/ui/lists/ListsHarness.h"

namespace lists_test {
namespace {

class ComboTest : public ListsTest {
 protected:
  TComboBox* combo_ = nullptr;
  TCounter change_, select_, drop_, close_;
  TEdit* other_ = nullptr;
  void SetUp() override {
    ListsTest::SetUp();
    other_ = New<TEdit>("Other", Bounds(200, 10, 100, 24));
    combo_ = New<TComboBox>("Combo1", Bounds(10, 10, 150, 24));
    for (const char* s :
         {"Red", "Green", "Blue", "Cyan", "Magenta", "Yellow", "Black", "White", "Grey", "Navy"})
      combo_->GetItems()->Add(s);
    combo_->OnChange = change_.Event();
    combo_->OnSelect = select_.Event();
    combo_->OnDropDown = drop_.Event();
    combo_->OnCloseUp = close_.Event();
    combo_->SetFocus();
    Pump();
  }
  TCustomListBox* List() { return combo_->ListControl(); }
  TPoint ButtonPoint() { return combo_->ClientToScreen({combo_->GetClientWidth() - 5, 8}); }
};

TEST_F(ComboTest, AltDownAndF4DropTheListAndEnterTakesTheItem) {
  AltKey(VK_DOWN);
  ASSERT_TRUE(combo_->GetDroppedDown());
  EXPECT_EQ(drop_.Count, 1);
  EXPECT_EQ(CountOf(CBN_DROPDOWN), 1);
  EXPECT_TRUE(IsWindowVisible(List()->Handle()));
  RECT r;
  GetWindowRect(List()->Handle(), &r);
  EXPECT_EQ(r.Top, combo_->ClientToScreen({0, 0}).Y + combo_->Height() - 2) << "below the control";
  EXPECT_EQ(r.Bottom - r.Top, 8 * List()->GetItemHeight() + 2) << "DropDownCount rows";
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(combo_->GetItemIndex(), 1);
  EXPECT_EQ(combo_->GetText(), "Green");
  EXPECT_EQ(select_.Count, 2) << "each step while dropped is a selection";
  Key(VK_RETURN);
  EXPECT_FALSE(combo_->GetDroppedDown());
  EXPECT_FALSE(IsWindowVisible(List()->Handle()));
  EXPECT_EQ(close_.Count, 1);
  EXPECT_EQ(CountOf(CBN_CLOSEUP), 1);
  EXPECT_EQ(combo_->GetItemIndex(), 1);
  Key(VK_F4);
  EXPECT_TRUE(combo_->GetDroppedDown());
  Key(VK_F4);
  EXPECT_FALSE(combo_->GetDroppedDown());
  Key(VK_DOWN);
  EXPECT_EQ(combo_->GetText(), "Blue") << "closed, the arrows step through the items";
  EXPECT_EQ(CountOf(CBN_SELCHANGE), 3);
  EXPECT_EQ(change_.Count, 0) << "OnSelect is assigned, so selections do not raise OnChange";
}

TEST_F(ComboTest, MouseDropsPicksAndAClickOutsideCloses) {
  Click(ButtonPoint());
  ASSERT_TRUE(combo_->GetDroppedDown());
  Click(ItemPoint(List(), 4));
  EXPECT_FALSE(combo_->GetDroppedDown());
  EXPECT_EQ(combo_->GetText(), "Magenta");
  EXPECT_EQ(select_.Count, 1);
  Click(ButtonPoint());
  ASSERT_TRUE(combo_->GetDroppedDown());
  MoveTo(ItemPoint(List(), 2));
  EXPECT_EQ(List()->GetItemIndex(), 2) << "the list follows the mouse";
  Click(other_->ClientToScreen({5, 5}));
  EXPECT_FALSE(combo_->GetDroppedDown()) << "a click outside closes";
  EXPECT_EQ(combo_->GetItemIndex(), 4) << "without taking the item under the mouse";
  EXPECT_EQ(select_.Count, 1);
  EXPECT_EQ(close_.Count, 2);
  // The button while dropped closes again.
  Click(ButtonPoint());
  ASSERT_TRUE(combo_->GetDroppedDown());
  Click(ButtonPoint());
  EXPECT_FALSE(combo_->GetDroppedDown());
  Key(VK_F4);
  EXPECT_TRUE(combo_->GetDroppedDown());
  Key(VK_ESCAPE);
  EXPECT_FALSE(combo_->GetDroppedDown());
  EXPECT_TRUE(GetParentForm(combo_)->GetModalResult() == mrNone);
}

TEST_F(ComboTest, TypingGoesThroughTheEditAndTellsEditChange) {
  TCustomEdit* edit = combo_->EditControl();
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(combo_->Focused());
  EXPECT_EQ(GetParentForm(combo_)->GetActiveControl(), combo_) << "the edit's focus is the combo box's";
  combo_->SetItemIndex(2);
  EXPECT_EQ(combo_->GetText(), "Blue");
  edit->SelectAll();
  edit_test::Type("gr");
  EXPECT_EQ(combo_->GetText(), "gr");
  EXPECT_EQ(change_.Count, 2);
  EXPECT_EQ(CountOf(CBN_EDITCHANGE), 2);
  EXPECT_EQ(combo_->GetItemIndex(), -1) << "typed text is no item";
  EXPECT_EQ(combo_->GetSelStart(), 2);
  AltKey(VK_DOWN);
  edit_test::Type("e");
  EXPECT_EQ(List()->GetItemIndex(), 1) << "the dropped list follows what is typed";
  Key(VK_RETURN);
  EXPECT_EQ(combo_->GetText(), "Green");
  EXPECT_EQ(combo_->GetSelLength(), 5);
  combo_->SetText("Cyan");
  EXPECT_EQ(combo_->GetItemIndex(), 3);
  EXPECT_EQ(change_.Count, 3) << "text set by the program raises nothing";
  combo_->SetMaxLength(3);
  edit->SelectAll();
  edit_test::Type("abcdef");
  EXPECT_EQ(combo_->GetText(), "abc");
  combo_->SetCharCase(ecUpperCase);
  edit->SelectAll();
  edit_test::Type("x");
  EXPECT_EQ(combo_->GetText(), "X");
  // Tab leaves the combo box for the next control.
  Key(VK_TAB);
  EXPECT_FALSE(combo_->Focused());
}

TEST_F(ComboTest, TheListOnlyFieldPicksByLettersAndOwnerDrawsItsItem) {
  combo_->SetStyle(csDropDownList);
  combo_->SetSorted(true);
  EXPECT_EQ(combo_->GetItems()->Strings(0), "Black");
  Pump();
  EXPECT_TRUE(combo_->Focused()) << "the focus stays through the new window";
  edit_test::Type("g");
  EXPECT_EQ(combo_->GetText(), "Green");
  EXPECT_EQ(select_.Count, 1);
  combo_->SetText("Nothing");
  EXPECT_EQ(combo_->GetItemIndex(), -1);
  EXPECT_EQ(combo_->GetText(), "") << "only an item can be shown";
  Click(combo_->ClientToScreen({10, 8}));
  EXPECT_TRUE(combo_->GetDroppedDown()) << "a click anywhere drops a list-only field";
  Key(VK_ESCAPE);

  std::vector<std::pair<int, TOwnerDrawState>> drawn;
  combo_->SetStyle(csOwnerDrawFixed);
  combo_->SetItemHeight(18);
  combo_->OnDrawItem = TDrawItemEvent::Lambda([&](TWinControl* c, int32_t i, TRect r, TOwnerDrawState s) {
    EXPECT_EQ(c, combo_);
    drawn.push_back({i, s});
    combo_->GetCanvas()->FillRect(r);
  });
  combo_->SetItemIndex(3);
  combo_->Repaint();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().first, 3);
  EXPECT_TRUE(drawn.back().second.Contains(odComboBoxEdit));
  EXPECT_TRUE(drawn.back().second.Contains(odSelected)) << "focused";
  drawn.clear();
  AltKey(VK_DOWN);
  List()->Repaint();
  ASSERT_GE(drawn.size(), 8u);
  EXPECT_FALSE(drawn[0].second.Contains(odComboBoxEdit));
  EXPECT_TRUE(drawn[3].second.Contains(odSelected));
  EXPECT_FALSE(drawn[2].second.Contains(odSelected));
  Key(VK_ESCAPE);
}

TEST_F(ComboTest, TheSimpleStyleShowsItsListBelowTheEdit) {
  combo_->SetStyle(csSimple);
  combo_->SetBounds(10, 10, 150, 120);
  Pump();
  EXPECT_EQ(combo_->Height(), 120);
  ASSERT_EQ(List()->GetParent(), combo_);
  EXPECT_TRUE(IsWindowVisible(List()->Handle()));
  Click(ItemPoint(List(), 2));
  EXPECT_EQ(combo_->GetText(), "Blue");
  EXPECT_EQ(select_.Count, 1);
  AltKey(VK_DOWN);
  EXPECT_FALSE(combo_->GetDroppedDown()) << "nothing drops";
}

TEST_F(ComboTest, TheMessagesWorkOnTheItemsAndTheDropDown) {
  combo_->Perform(CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(combo_->GetItems()->Count(), 0);
  EXPECT_EQ(combo_->Perform(CB_ADDSTRING, 0, LPARAM("one")), 0);
  EXPECT_EQ(combo_->Perform(CB_ADDSTRING, 0, LPARAM("three")), 1);
  EXPECT_EQ(combo_->Perform(CB_INSERTSTRING, 1, LPARAM("two")), 1);
  EXPECT_EQ(combo_->Perform(CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("TWO")), 1);
  EXPECT_EQ(combo_->Perform(CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("tw")), CB_ERR);
  EXPECT_EQ(combo_->Perform(CB_GETLBTEXTLEN, 2, 0), 5);
  char buf[16];
  EXPECT_EQ(combo_->Perform(CB_GETLBTEXT, 2, LPARAM(buf)), 5);
  EXPECT_STREQ(buf, "three");
  EXPECT_EQ(combo_->Perform(CB_GETLBTEXTLEN, 7, 0), CB_ERR);
  EXPECT_EQ(combo_->Perform(CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(combo_->Perform(CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(combo_->GetText(), "three");
  EXPECT_EQ(combo_->Perform(CB_SETCURSEL, 9, 0), CB_ERR);
  EXPECT_EQ(combo_->GetItemIndex(), -1);
  combo_->Perform(CB_SETDROPPEDWIDTH, 260, 0);
  combo_->Perform(CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(combo_->Perform(CB_GETDROPPEDSTATE, 0, 0), TRUE);
  RECT r;
  GetWindowRect(List()->Handle(), &r);
  EXPECT_EQ(r.Right - r.Left, 260);
  EXPECT_EQ(r.Bottom - r.Top, 3 * List()->GetItemHeight() + 2) << "three items, fewer than DropDownCount";
  combo_->Perform(CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(combo_->Perform(CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_EQ(CountOf(CBN_DROPDOWN), 1);
  EXPECT_EQ(CountOf(CBN_CLOSEUP), 1);
  // The edit part answers its own messages.
  combo_->SetText("abcdef");
  combo_->Perform(CB_SETEDITSEL, 0, MAKELPARAM(1, 4));
  EXPECT_EQ(combo_->GetSelText(), "bcd");
  EXPECT_EQ(combo_->Perform(CB_GETEDITSEL, 0, 0), MAKELONG(1, 4));
}

}  // namespace
}  // namespace lists_test
