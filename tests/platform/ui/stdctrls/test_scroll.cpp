// Scroll bars stepped by keys, arrows, track clicks and thumb drags, and the scroll box.
#include "tests/platform/ui/stdctrls/StdCtrlsHarness.h"

namespace ui_test {
namespace {

class Scrolling : public StdCtrlsTest {
 protected:
  // A horizontal bar 200 x 17: arrows of 17 pixels at both ends.
  TScrollBar* MakeBar(TForm* f) {
    auto* b = Make<TScrollBar>(f, f, "Bar", Bounds(10, 10, 200, 17));
    b->SetParams(0, 0, 1000);
    b->SetSmallChange(10);
    b->SetLargeChange(200);
    b->OnChange = TNotifyEvent::Lambda([this, b](TObject*) { changes_.push_back(b->GetPosition()); });
    b->OnScroll =
        TScrollEvent::Lambda([this](TObject*, TScrollCode code, int32_t&) { codes_.push_back(code); });
    return b;
  }
  std::vector<int32_t> changes_;
  std::vector<TScrollCode> codes_;
};

TEST_F(Scrolling, KeysStepByTheSmallAndLargeChangeWithinTheRange) {
  TForm* f = NewForm();
  TScrollBar* b = MakeBar(f);
  ShowForm(f);
  b->SetFocus();
  struct Case {
    UINT key;
    int32_t position;
  } cases[] = {{VK_RIGHT, 10}, {VK_DOWN, 20}, {VK_NEXT, 220}, {VK_LEFT, 210},   {VK_PRIOR, 10},
               {VK_PRIOR, 0},  {VK_UP, 0},    {VK_END, 1000}, {VK_RIGHT, 1000}, {VK_HOME, 0}};
  for (const Case& c : cases) {
    Key(c.key);
    EXPECT_EQ(b->GetPosition(), c.position) << "key " << c.key;
    EXPECT_EQ(FindControl(GetFocus()), b) << "the bar keeps the arrow keys";
  }
  EXPECT_EQ(changes_, (std::vector<int32_t>{10, 20, 220, 210, 10, 0, 1000, 0})) << "no change, no OnChange";
  EXPECT_EQ(codes_.front(), scLineDown);
  EXPECT_EQ(codes_[1], scEndScroll) << "a key's release ends the scroll";
}

TEST_F(Scrolling, ArrowsTrackAndThumbFollowTheMouse) {
  TForm* f = NewForm();
  TScrollBar* b = MakeBar(f);
  ShowForm(f);
  ClickAt(b, 190, 8);  // right arrow
  EXPECT_EQ(b->GetPosition(), 10);
  clock_.Advance(1000);
  ClickAt(b, 150, 8);  // the track right of the thumb
  EXPECT_EQ(b->GetPosition(), 210);
  clock_.Advance(1000);
  ClickAt(b, 20, 8);  // the track left of the thumb
  EXPECT_EQ(b->GetPosition(), 10);

  // Held on an arrow, the step repeats after the keyboard delay, while the mouse stays on it.
  clock_.Advance(1000);
  Press(At(b, 190, 8));
  EXPECT_EQ(b->GetPosition(), 20);
  for (int i = 0; i < 5; ++i) {
    clock_.Advance(300);
    Pump();
  }
  int32_t held = b->GetPosition();
  EXPECT_GT(held, 40);
  MoveTo(At(b, 100, 60));
  clock_.Advance(300);
  Pump();
  EXPECT_EQ(b->GetPosition(), held) << "off the arrow, no more steps";
  Release(At(b, 100, 60));

  // The thumb (17 wide, at the start of the 166-pixel track) dragged to the far end.
  b->SetPosition(0);
  codes_.clear();
  clock_.Advance(1000);
  Press(At(b, 17 + 8, 8));
  MoveTo(At(b, 120, 8));
  EXPECT_GT(b->GetPosition(), 0) << "the position follows the thumb while it moves";
  MoveTo(At(b, 400, 8));
  EXPECT_EQ(b->GetPosition(), 1000);
  Release(At(b, 400, 8));
  EXPECT_EQ(b->GetPosition(), 1000);
  ASSERT_GE(codes_.size(), 3u);
  EXPECT_EQ(codes_.front(), scTrack);
  EXPECT_EQ(codes_[codes_.size() - 2], scPosition);
  EXPECT_EQ(codes_.back(), scEndScroll);
}

TEST_F(Scrolling, RangeRulesKeepThePositionAndRefuseAnImpossibleRange) {
  TForm* f = NewForm();
  TScrollBar* b = MakeBar(f);
  b->SetPosition(700);
  b->SetMax(500);
  EXPECT_EQ(b->GetPosition(), 500) << "a smaller range pulls the position in";
  b->SetPosition(-5);
  EXPECT_EQ(b->GetPosition(), 0);
  EXPECT_THROW(b->SetParams(10, 50, 40), EInvalidOperation);
  EXPECT_EQ(b->GetMin(), 0);
  EXPECT_EQ(b->GetMax(), 500) << "a refused range changes nothing";
  b->SetPageSize(101);
  b->SetPosition(500);
  EXPECT_EQ(b->GetPosition(), 400) << "the page's last position shows the end";
  EXPECT_THROW(b->SetPageSize(1000), EInvalidOperation);

  // A horizontal bar made vertical turns on its corner.
  b->SetKind(sbVertical);
  EXPECT_EQ(b->Width(), 17);
  EXPECT_EQ(b->Height(), 200);
}

TEST_F(Scrolling, AScrollBoxShowsBarsForChildrenBeyondItsClientAndScrollsThem) {
  TForm* f = NewForm();
  auto* box = Make<TScrollBox>(f, f, "Box", Bounds(10, 10, 200, 150));
  auto* far = Make<TButton>(f, box, "Far", Bounds(300, 400, 75, 25));
  ShowForm(f);
  EXPECT_EQ(box->GetVertScrollBar()->GetRange(), 425);
  EXPECT_EQ(box->GetHorzScrollBar()->GetRange(), 375);
  EXPECT_TRUE(box->GetVertScrollBar()->IsScrollBarVisible());
  EXPECT_TRUE(GetWindowLongPtrA(box->Handle(), GWL_STYLE) & WS_VSCROLL);

  box->GetVertScrollBar()->SetPosition(100);
  EXPECT_EQ(far->Top(), 300) << "the children move up with the position";
  SendMessageA(box->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(box->GetVertScrollBar()->GetPosition(), 108);
  EXPECT_EQ(far->Top(), 292);
  box->ScrollInView(far);
  EXPECT_EQ(far->Top() + far->Height(), box->GetClientHeight());

  box->GetVertScrollBar()->SetPosition(0);
  box->GetHorzScrollBar()->SetPosition(0);
  EXPECT_EQ(far->GetBoundsRect(), Bounds(300, 400, 75, 25)) << "back where it was put";
  far->SetBounds(10, 10, 75, 25);
  EXPECT_FALSE(box->GetVertScrollBar()->IsScrollBarVisible()) << "everything fits: no bars";
  EXPECT_FALSE(GetWindowLongPtrA(box->Handle(), GWL_STYLE) & WS_VSCROLL);
}

}  // namespace
}  // namespace ui_test
