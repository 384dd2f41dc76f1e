// The check box (press and release, space bar, event order, resizing) and the radio group
// (ItemIndex clamps, column layout and hits, keys, an empty group).
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iCheckBox.h"
#include "widgets/iRadioGroup.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;
using Strings = std::vector<std::string>;

// Records OnChange and OnChangeUser of a control as "change" and "user".
template <class C>
void Record(C* c) {
  c->OnChange = TNotifyEvent::Lambda([](TObject*) { ui_test::Events().push_back("change"); });
  c->OnChangeUser = TNotifyEvent::Lambda([](TObject*) { ui_test::Events().push_back("user"); });
}

Strings TakeEvents() {
  Strings out = ui_test::Events();
  ui_test::Events().clear();
  return out;
}

class CheckAndRadio : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(300, 200);
  }
  TForm* form_ = nullptr;
};

TEST_F(CheckAndRadio, CheckBoxTogglesOnClickAndSpaceButNotOnAReleaseOutside) {
  auto* cb = ui_test::Make<TiCheckBox>(form_, form_, "C", Rect(10, 10, 107, 27));
  Record(cb);
  ShowForm(form_);
  ui_test::Press(At(cb, 5, 8));
  EXPECT_TRUE(cb->Focused());
  ui_test::Release(At(cb, 150, 8));
  EXPECT_FALSE(cb->GetChecked());
  EXPECT_EQ(TakeEvents(), Strings{});

  ui_test::Press(At(cb, 5, 8));
  ui_test::Release(At(cb, 5, 8));
  EXPECT_TRUE(cb->GetChecked());
  EXPECT_EQ(TakeEvents(), (Strings{"change", "user"}));

  ui_test::Key(VK_SPACE);
  EXPECT_FALSE(cb->GetChecked());
  EXPECT_EQ(TakeEvents(), (Strings{"change", "user"}));
  ui_test::Key(VK_RETURN);
  EXPECT_FALSE(cb->GetChecked()) << "only the space bar toggles";

  cb->SetChecked(true);
  EXPECT_EQ(TakeEvents(), (Strings{"change"}));
}

TEST_F(CheckAndRadio, CheckBoxResizesToItsCaptionKeepingTheRightEdgeWhenTheBoxIsOnTheRight) {
  auto* cb = ui_test::Make<TiCheckBox>(form_, form_, "C", Rect(100, 10, 197, 27));
  EXPECT_EQ(cb->Width(), 97);
  EXPECT_EQ(cb->Height(), 17);
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.GetCanvas()->SetFont(cb->GetFont());
  const TSize t = scratch.GetCanvas()->TextExtent("A longer caption");
  cb->SetCaption("A longer caption");
  EXPECT_EQ(cb->Width(), t.cx + 20);
  EXPECT_EQ(cb->Height(), t.cy + 4);
  EXPECT_EQ(cb->Left(), 100);

  const int right = cb->Left() + cb->Width();
  cb->SetAlignment(taLeftJustify);
  cb->SetCaption("Short");
  EXPECT_EQ(cb->Left() + cb->Width(), right);
}

TEST(RadioGroup, ItemIndexClampsAndListChangesClampSilently) {
  TiRadioGroup rg(nullptr);
  Record(&rg);
  rg.GetItems()->Add("a");
  rg.GetItems()->Add("b");
  rg.GetItems()->Add("c");
  const struct { int32_t Set, Stored; } cases[] = {{10, 2}, {-5, -1}, {1, 1}, {3, 2}};
  for (auto k : cases) {
    rg.SetItemIndex(k.Set);
    EXPECT_EQ(rg.GetItemIndex(), k.Stored) << k.Set;
  }
  TakeEvents();
  rg.GetItems()->Delete(2);
  EXPECT_EQ(rg.GetItemIndex(), 1);
  EXPECT_EQ(TakeEvents(), Strings{}) << "a clamp by the list raises nothing";
  rg.SetColumns(0);
  EXPECT_EQ(rg.GetColumns(), 1);
}

TEST(RadioGroup, LayoutOfFiveItemsInTwoColumnsAndItsHits) {
  const TiRadioGroupLayout l = RadioGroupLayout(5, 2, 214, 100, 13);
  EXPECT_EQ(l.Rows, 3);
  EXPECT_EQ(l.RowHeight, double((100 - 13 - 3) / 3));
  EXPECT_EQ(l.ColumnWidth, 100.0);
  const TPoint expected[5] = {{14, l.FirstRowY},
                              {14, l.FirstRowY + 28},
                              {14, l.FirstRowY + 56},
                              {114, l.FirstRowY},
                              {114, l.FirstRowY + 28}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(RadioGroupItemCenter(l, i), expected[i]) << i;
    const TPoint c = RadioGroupItemCenter(l, i);
    EXPECT_EQ(RadioGroupItemAt(l, 2, c.X + 20, c.Y + 5), i) << "on its text";
  }
  // Nothing to lay out, or no room: no rows and no hits (never a division by zero).
  EXPECT_EQ(RadioGroupLayout(0, 2, 214, 100, 13).Rows, 0);
  EXPECT_EQ(RadioGroupItemAt(RadioGroupLayout(0, 2, 214, 100, 13), 2, 20, 20), -1);
  EXPECT_EQ(RadioGroupItemAt(RadioGroupLayout(3, 1, 20, 10, 13), 1, 5, 5), -1);
  EXPECT_EQ(RadioGroupItemAt(RadioGroupLayout(3, 2, 10, 100, 13), 2, 5, 50), -1);
}

TEST_F(CheckAndRadio, RadioGroupMouseSelectsWithUserEventKeysWrapWithoutIt) {
  auto* rg = ui_test::Make<TiRadioGroup>(form_, form_, "R", Rect(10, 10, 224, 110));
  for (const char* s : {"one", "two", "three", "four", "five"}) rg->GetItems()->Add(s);
  rg->SetColumns(2);
  Record(rg);
  ShowForm(form_);
  ASSERT_EQ(rg->Layout().Rows, 3) << "painted";
  const TPoint c3 = rg->ItemCenter(3), c1 = rg->ItemCenter(1);
  // A release reported over another item than the pressed one selects nothing.
  ui_test::Press(At(rg, c3.X + 15, c3.Y));
  rg->Perform(WM_LBUTTONUP, 0, MAKELPARAM(c1.X + 15, c1.Y));
  ReleaseCapture();
  EXPECT_EQ(rg->GetItemIndex(), 0);
  EXPECT_EQ(TakeEvents(), Strings{});
  ui_test::Release(At(rg, c3.X + 15, c3.Y));
  // The pressed item follows the pointer; the release selects it.
  ui_test::Press(At(rg, c1.X + 15, c1.Y));
  ui_test::MoveTo(At(rg, c3.X + 15, c3.Y));
  ui_test::Release(At(rg, c3.X + 15, c3.Y));
  EXPECT_EQ(rg->GetItemIndex(), 3);
  EXPECT_EQ(TakeEvents(), (Strings{"change", "user"}));

  const struct {
    UINT Key;
    int32_t From, To;
  } keys[] = {{VK_DOWN, 4, 0}, {VK_RIGHT, 1, 2}, {VK_UP, 0, 4}, {VK_LEFT, 2, 1}, {VK_LEFT, -1, -1}};
  for (auto k : keys) {
    rg->SetItemIndex(k.From);
    TakeEvents();
    ui_test::Key(k.Key);
    EXPECT_EQ(rg->GetItemIndex(), k.To) << k.Key << " from " << k.From;
    EXPECT_EQ(TakeEvents(), k.From == k.To ? Strings{} : Strings{"change"});
  }
  EXPECT_TRUE(rg->Focused()) << "the arrow keys stayed with the group";
}

TEST_F(CheckAndRadio, EmptyRadioGroupPaintsItsFrame) {
  auto* rg = ui_test::Make<TiRadioGroup>(form_, form_, "R", Rect(10, 10, 110, 60));
  rg->GetItems()->Clear();
  ShowForm(form_);
  EXPECT_EQ(ScreenPixel(At(rg, 50, 45)), ScreenRgb(clBtnFace)) << "no error text in place of the group";
  EXPECT_EQ(ScreenPixel(At(rg, 98, 45)), ScreenRgb(clBtnShadow)) << "the frame's right edge";
  EXPECT_EQ(rg->ItemAt(20, 30), -1);
  rg->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(20, 30));
  rg->Perform(WM_LBUTTONUP, 0, MAKELPARAM(20, 30));
  EXPECT_EQ(rg->GetItemIndex(), 0) << "nothing to select";
}

}  // namespace
}  // namespace widgets_test
