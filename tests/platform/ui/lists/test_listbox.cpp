// List box: selection by keys and mouse, sorted items with objects, owner drawing, multiple
// selection, dragging within itself and the LB_* messages.
#include "tests/platform/ui/lists/ListsHarness.h"

namespace lists_test {
namespace {

class ListBoxTest : public ListsTest {
 protected:
  TListBox* list_ = nullptr;
  TCounter clicks_, dbls_;
  void SetUp() override {
    ListsTest::SetUp();
    list_ = New<TListBox>("List1", Bounds(10, 10, 150, 100));
    for (const char* s : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India",
                          "Juliet", "Kilo", "Lima"})
      list_->GetItems()->Add(s);
    list_->OnClick = clicks_.Event();
    list_->OnDblClick = dbls_.Event();
    list_->SetFocus();
    Pump();
  }
};

TEST_F(ListBoxTest, KeysMoveTheCurrentItemAndEachUserChangeClicks) {
  int rows = list_->VisibleRows();
  ASSERT_GT(rows, 2);
  ASSERT_LT(rows, 12);
  struct {
    UINT Key;
    int Expected;
  } steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_END, 11},        {VK_DOWN, 11},
               {VK_HOME, 0}, {VK_UP, 0},   {VK_NEXT, rows - 1}, {VK_PRIOR, 0}};
  int expectedClicks = 0, previous = -1;
  for (auto s : steps) {
    Key(s.Key);
    EXPECT_EQ(list_->GetItemIndex(), s.Expected) << "key " << s.Key;
    if (s.Expected != previous) ++expectedClicks;
    previous = s.Expected;
    EXPECT_EQ(clicks_.Count, expectedClicks) << "key " << s.Key;
    EXPECT_GE(list_->GetItemIndex(), list_->GetTopIndex());
    EXPECT_LT(list_->GetItemIndex(), list_->GetTopIndex() + rows) << "the current item stays in view";
  }
  EXPECT_EQ(CountOf(LBN_SELCHANGE), expectedClicks) << "the parent hears every change";
  list_->SetItemIndex(5);
  EXPECT_EQ(clicks_.Count, expectedClicks) << "the program's change is not the user's";
}

TEST_F(ListBoxTest, TypedLettersFindItemsWithinASecond) {
  edit_test::Type("d");
  EXPECT_EQ(list_->GetItemIndex(), 3);
  list_->GetItems()->Add("Dog");  // after Lima
  clock_.Advance(2000);
  edit_test::Type("do");
  EXPECT_EQ(list_->GetItems()->Strings(list_->GetItemIndex()), "Dog")
      << "letters typed together search together";
  clock_.Advance(2000);
  edit_test::Type("d");
  EXPECT_EQ(list_->GetItemIndex(), 3) << "a lone letter goes on to the next item with it";
  edit_test::Type("x");
  EXPECT_EQ(list_->GetItemIndex(), 3) << "no match keeps the item";
}

TEST_F(ListBoxTest, TheMouseSelectsFollowsTheHeldButtonAndDoubleClicks) {
  Click(ItemPoint(list_, 2));
  EXPECT_EQ(list_->GetItemIndex(), 2);
  EXPECT_EQ(clicks_.Count, 1);
  Press(ItemPoint(list_, 0));
  MoveTo(ItemPoint(list_, 3));
  EXPECT_EQ(list_->GetItemIndex(), 3) << "dragging with the button held moves the selection";
  Release(ItemPoint(list_, 3));
  clock_.Advance(1000);
  Click(ItemPoint(list_, 1));
  Click(ItemPoint(list_, 1));
  EXPECT_EQ(dbls_.Count, 1);
  EXPECT_EQ(CountOf(LBN_DBLCLK), 1);
  EXPECT_EQ(list_->ItemAtPos({5, 1000}, true), -1);
  EXPECT_EQ(list_->ItemAtPos({5, 1000}, false), 12);
  // The wheel scrolls without selecting.
  int before = list_->GetItemIndex();
  InputMouseWheel(-WHEEL_DELTA, ItemPoint(list_, 1));
  Pump();
  EXPECT_GT(list_->GetTopIndex(), 0);
  EXPECT_EQ(list_->GetItemIndex(), before);
}

TEST_F(ListBoxTest, SortedItemsGoToTheirPlaceWithTheirObjects) {
  TListBox* s = New<TListBox>("Sorted", Bounds(200, 10, 150, 100));
  s->SetSorted(true);
  TObject a, b, c;
  s->GetItems()->AddObject("charlie", &c);
  s->GetItems()->AddObject("Alpha", &a);
  s->GetItems()->AddObject("bravo", &b);
  s->GetItems()->Insert(0, "delta");  // a sorted list puts it in its place all the same
  EXPECT_EQ(s->GetItems()->GetCommaText(), "Alpha,bravo,charlie,delta");
  EXPECT_EQ(s->GetItems()->Objects(0), &a);
  EXPECT_EQ(s->GetItems()->Objects(2), &c);
  EXPECT_EQ(s->Perform(LB_ADDSTRING, 0, LPARAM("Beta")), 1);
  EXPECT_EQ(s->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("CHARLIE")), 3);
  EXPECT_EQ(s->Perform(LB_FINDSTRING, WPARAM(-1), LPARAM("br")), 2);
  char buf[32];
  EXPECT_EQ(s->Perform(LB_GETTEXT, 4, LPARAM(buf)), 5);
  EXPECT_STREQ(buf, "delta");
  EXPECT_EQ(s->Perform(LB_GETTEXT, 9, LPARAM(buf)), LB_ERR);
  EXPECT_EQ(s->Perform(LB_SETCURSEL, 3, 0), 3);
  EXPECT_EQ(s->GetItemIndex(), 3);
  EXPECT_EQ(s->Perform(LB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(s->GetItemIndex(), 2) << "the selection stays on its item";
  EXPECT_EQ(reinterpret_cast<TObject*>(s->Perform(LB_GETITEMDATA, 2, 0)), &c);
  // An unsorted list sorts once Sorted is set, keeping the current item.
  list_->SetItemIndex(0);  // Alpha
  list_->GetItems()->Insert(0, "Zulu");
  list_->SetSorted(true);
  EXPECT_EQ(list_->GetItems()->Strings(11), "Lima");
  EXPECT_EQ(list_->GetItems()->Strings(12), "Zulu");
  EXPECT_EQ(list_->GetItems()->Strings(list_->GetItemIndex()), "Alpha");
  EXPECT_THROW(list_->GetItems()->Strings(13), EStringListError);
}

TEST_F(ListBoxTest, OwnerDrawingSeesTheStatesOfEachItem) {
  struct TCall {
    int Index;
    TOwnerDrawState State;
    TRect Rect;
  };
  std::vector<TCall> calls;
  list_->SetStyle(lbOwnerDrawFixed);
  list_->SetItemHeight(20);
  list_->OnDrawItem = TDrawItemEvent::Lambda([&](TWinControl* c, int32_t i, TRect r, TOwnerDrawState s) {
    EXPECT_EQ(c, list_);
    calls.push_back({i, s, r});
    static_cast<TListBox*>(c)->GetCanvas()->FillRect(r);
  });
  list_->SetItemIndex(1);
  list_->Repaint();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0].Index, 0);
  EXPECT_TRUE(calls[0].State.Empty());
  EXPECT_EQ(calls[1].State, (TOwnerDrawState{odSelected, odFocused}));
  EXPECT_EQ(calls[1].Rect, Rect(0, 20, list_->GetClientWidth(), 40));
  EXPECT_EQ(list_->ItemAtPos({3, 45}, true), 2);
  calls.clear();
  list_->SetEnabled(false);
  list_->Repaint();
  ASSERT_FALSE(calls.empty());
  EXPECT_TRUE(calls[1].State.Contains(odDisabled));
  EXPECT_FALSE(calls[1].State.Contains(odFocused));
  // Variable heights come from OnMeasureItem as the items are added.
  TListBox* v = New<TListBox>("Variable", Bounds(200, 10, 150, 100));
  v->SetStyle(lbOwnerDrawVariable);
  v->OnMeasureItem = TMeasureItemEvent::Lambda([](TWinControl*, int32_t i, int32_t& h) { h = 10 + 5 * i; });
  for (int i = 0; i < 4; ++i) v->GetItems()->Add("x");
  EXPECT_EQ(v->ItemRect(2), Rect(0, 25, v->GetClientWidth(), 45));
  EXPECT_EQ(v->ItemAtPos({1, 30}, true), 2);
}

TEST_F(ListBoxTest, MultipleSelectionExtendsWithShiftAndTogglesWithCtrl) {
  list_->SetMultiSelect(true);
  Click(ItemPoint(list_, 1));
  InputKey(VK_SHIFT, true);
  Click(ItemPoint(list_, 4));
  InputKey(VK_SHIFT, false);
  EXPECT_EQ(list_->GetSelCount(), 4);
  InputKey(VK_CONTROL, true);
  Click(ItemPoint(list_, 2));
  InputKey(VK_CONTROL, false);
  Pump();
  EXPECT_EQ(list_->GetSelCount(), 3);
  EXPECT_FALSE(list_->GetSelected(2));
  EXPECT_TRUE(list_->GetSelected(4));
  KeyWith(VK_SHIFT, VK_DOWN);
  EXPECT_EQ(list_->GetSelCount(), 2) << "the range runs from the anchor (item 2) to item 3";
  EXPECT_EQ(list_->Perform(LB_GETSELCOUNT, 0, 0), 2);
  list_->Perform(LB_SETSEL, TRUE, -1);
  EXPECT_EQ(list_->GetSelCount(), 12);
  list_->DeleteSelected();
  EXPECT_EQ(list_->Count(), 0);
  EXPECT_EQ(list_->GetItemIndex(), -1);
}

TEST_F(ListBoxTest, AutomaticDragMovesAnItemWithinTheList) {
  list_->SetDragMode(dmAutomatic);
  int drops = 0;
  list_->OnDragOver = TDragOverEvent::Lambda([&](TObject* sender, TObject* source, int32_t, int32_t,
                                                 TDragState, bool& accept) { accept = sender == source; });
  list_->OnDragDrop = TDragDropEvent::Lambda([&](TObject*, TObject*, int32_t, int32_t y) {
    ++drops;
    int target = list_->ItemAtPos({1, y}, true);
    list_->GetItems()->Move(list_->GetItemIndex(), target);
    list_->SetItemIndex(target);
  });
  Press(ItemPoint(list_, 0));
  EXPECT_EQ(list_->GetItemIndex(), 0) << "the press selects before the drag";
  MoveTo(ItemPoint(list_, 1));
  MoveTo(ItemPoint(list_, 3));
  Release(ItemPoint(list_, 3));
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(list_->GetItems()->Strings(3), "Alpha");
  EXPECT_EQ(list_->GetItemIndex(), 3);
  // A press and release without moving is a plain click.
  Click(ItemPoint(list_, 1));
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(list_->GetItemIndex(), 1);
}

}  // namespace
}  // namespace lists_test
