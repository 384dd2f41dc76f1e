// The data cursor under the mouse and the keys: dragging its pointers and its hint, the keys that
// move them, its popup menu, how it is selected together with its channel, and the toolbar's
// Cursor button.
#include <gtest/gtest.h>

#include "plot/iPlotToolBar.h"
#include "tests/plot/input/PlotInputSupport.h"

namespace {

using plot_input_test::PlotWindow;

struct PlotCursorInput : PlotWindow {
  void SetUp() override {
    PlotWindow::SetUp();
    cursor = plot->GetDataCursor(0);
    cursor->SetVisible(true);
    Paint();
  }
  TPoint Centre1() { return Centre(cursor->GetPointer1Rect()); }
  TPoint Centre2() { return Centre(cursor->GetPointer2Rect()); }
  // A point of the data view in line with pointer 1 but off the hint.
  TPoint OnPointer1() {
    const TRect& v = view->GetLayoutRect();
    return {Centre1().X, v.Bottom - 5};
  }
  TiPlotDataCursor* cursor = nullptr;
};

TEST_F(PlotCursorInput, DraggingAPointerMovesItByThePixelsDraggedAndStopsAtTheEdge) {
  std::vector<int32_t> changes;
  plot->OnDataCursorChange = TiPlotObjectEvent::Lambda([&](int32_t Index) { changes.push_back(Index); });
  int clicks = 0;
  plot->OnClickDataCursor = TiPlotObjectEvent::Lambda([&](int32_t) { ++clicks; });
  const TPoint from = OnPointer1();
  const double expected = view->XPixelToPercent(view->XPercentToPixel(50) + 40);
  Press(from);
  EXPECT_TRUE(cursor->GetSelected());
  EXPECT_TRUE(plot->GetChannel(0)->GetSelected());
  EXPECT_EQ(cursor->GetDragPart(), TiPlotDataCursor::dpPointer1);
  for (int i = 1; i <= 4; ++i) Move({from.X + 10 * i, from.Y});
  EXPECT_DOUBLE_EQ(cursor->GetPointer1Position(), expected);
  Release({from.X + 40, from.Y});
  EXPECT_EQ(cursor->GetDragPart(), TiPlotDataCursor::dpNone);
  EXPECT_FALSE(changes.empty());
  EXPECT_EQ(clicks, 1);  // released on the pointer it moved

  Drag(OnPointer1(), {plot->Width() - 2, OnPointer1().Y});
  EXPECT_EQ(cursor->GetPointer1Position(), 100);
  Drag(OnPointer1(), {1, OnPointer1().Y});
  EXPECT_EQ(cursor->GetPointer1Position(), 0);
}

TEST_F(PlotCursorInput, DeltaStylesDragTheSecondPointerAndTheHintAlongItsPointer) {
  cursor->SetStyle(ipcsDeltaY);
  Paint();
  const TPoint p2{view->GetLayoutRect().Left + 5, Centre2().Y};
  const double p2Before = cursor->GetPointer2Position();
  Drag(p2, {p2.X, p2.Y - 20});
  EXPECT_DOUBLE_EQ(cursor->GetPointer2Position(),
                   view->YPixelToPercent(view->YPercentToPixel(p2Before) - 20));
  EXPECT_EQ(cursor->GetPointer1Position(), 50);

  // The hint of horizontal pointers moves left and right.
  Paint();
  const TPoint hint = Centre(cursor->GetHintRect());
  Drag(hint, {hint.X - 30, hint.Y + 7});
  EXPECT_DOUBLE_EQ(cursor->GetHintPosition(), view->XPixelToPercent(view->XPercentToPixel(50) - 30));
  EXPECT_DOUBLE_EQ(cursor->GetPointer2Position(),
                   view->YPixelToPercent(view->YPercentToPixel(p2Before) - 20));
}

TEST_F(PlotCursorInput, AHintHiddenOnReleaseShowsOnlyWhileAPointerIsDragged) {
  cursor->SetHintHideOnRelease(true);
  Paint();
  EXPECT_FALSE(cursor->GetHintShown());
  const TPoint from = OnPointer1();
  Press(from);
  Move({from.X + 5, from.Y});
  EXPECT_TRUE(cursor->GetHintShown());
  Release({from.X + 5, from.Y});
  EXPECT_FALSE(cursor->GetHintShown());
}

TEST_F(PlotCursorInput, TheKeysMovePointerTwoAndWithCtrlPointerOneAndTheHint) {
  const double px = view->XPixelToPercent(101) - view->XPixelToPercent(100);
  const double py = view->YPixelToPercent(100) - view->YPixelToPercent(101);
  auto key = [&](WORD Key, TShiftState Shift = {}) { cursor->KeyDown(Key, Shift); };
  // Value styles have no pointer 2: plain keys change nothing.
  for (WORD k : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_PRIOR, VK_HOME}) key(k);
  EXPECT_EQ(cursor->GetPointer1Position(), 50);
  EXPECT_EQ(cursor->GetPointer2Position(), 60);
  EXPECT_EQ(cursor->GetHintPosition(), 50);
  const TShiftState ctrl{ssCtrl};
  key(VK_RIGHT, ctrl);
  EXPECT_DOUBLE_EQ(cursor->GetPointer1Position(), 50 + px);
  key(VK_UP, ctrl);
  EXPECT_DOUBLE_EQ(cursor->GetHintPosition(), 50 + py);
  key(VK_NEXT, ctrl);
  EXPECT_DOUBLE_EQ(cursor->GetPointer1Position(), 50 + px - 5 * px);
  key(VK_END, ctrl);
  EXPECT_EQ(cursor->GetPointer1Position(), 100);
  key(VK_PRIOR, ctrl);
  EXPECT_EQ(cursor->GetPointer1Position(), 100);

  cursor->SetStyle(ipcsDeltaX);
  key(VK_LEFT);
  EXPECT_DOUBLE_EQ(cursor->GetPointer2Position(), 60 - px);
  key(VK_UP);  // vertical pointers do not move up
  EXPECT_DOUBLE_EQ(cursor->GetPointer2Position(), 60 - px);
  key(VK_HOME);
  EXPECT_EQ(cursor->GetPointer2Position(), 0);
  cursor->SetStyle(ipcsDeltaY);
  key(VK_PRIOR);
  EXPECT_DOUBLE_EQ(cursor->GetPointer2Position(), 5 * py);
}

TEST_F(PlotCursorInput, ThePopupMenuOffersChannelsStylesAndOptions) {
  TiPlotChannel* second = plot->GetChannel(plot->AddChannel());
  second->SetTitleText("Two\r\nlines");
  TiPlotChannel* hidden = plot->GetChannel(plot->AddChannel());
  hidden->SetVisible(false);
  cursor->SetMenuItemVisibleDeltaY(false);
  cursor->SetMenuItemCaptionDeltaX("Span");
  Paint();
  Click(OnPointer1(), VK_RBUTTON);
  ASSERT_FALSE(plot->Log.empty());
  EXPECT_EQ(plot->Log.back(), "Menu Channel|Style|Options|Flip Alignment|Edit...");

  TMenuItem* root = plot->GetPopupMenuObject()->Items();
  TMenuItem* channels = root->Items(0);
  ASSERT_EQ(channels->Count(), 3);
  EXPECT_EQ(channels->Items(0)->GetCaption(), "<All>");
  EXPECT_EQ(channels->Items(1)->GetCaption(), plot->GetChannel(0)->GetTitleText());
  EXPECT_TRUE(channels->Items(1)->GetChecked());
  EXPECT_EQ(channels->Items(2)->GetCaption(), "Twolines");
  TMenuItem* styles = root->Items(1);
  ASSERT_EQ(styles->Count(), 6);
  EXPECT_TRUE(styles->Items(0)->GetChecked());
  EXPECT_EQ(styles->Items(3)->GetCaption(), "Span");
  EXPECT_FALSE(styles->Items(4)->GetVisible());
  EXPECT_TRUE(root->Items(3)->GetEnabled());

  styles->Items(5)->Click();
  EXPECT_EQ(cursor->GetStyle(), ipcsInverseDeltaX);
  EXPECT_TRUE(cursor->GetPointer2Active());
  channels->Items(2)->Click();
  EXPECT_EQ(cursor->GetChannelName(), second->GetName());
  EXPECT_TRUE(second->GetSelected());
  root->Items(2)->Items(0)->Click();
  EXPECT_FALSE(cursor->GetUseChannelColor());
  channels->Items(0)->Click();
  EXPECT_EQ(cursor->GetChannelName(), "<All>");
  EXPECT_FALSE(second->GetSelected());

  // Without "<All>", options and editing, and "Flip Alignment" off for "<All>" and the delta styles.
  plot->SetUserCanEditObjects(false);
  cursor->SetChannelAllowAll(false);
  cursor->SetMenuUserCanChangeOptions(false);
  cursor->BuildPopupMenu(plot->GetPopupMenuObject());
  ASSERT_EQ(root->Count(), 3);
  EXPECT_EQ(root->Items(0)->Count(), 2);
  EXPECT_FALSE(root->Items(2)->GetEnabled());
  cursor->SetChannelName(second->GetName());
  cursor->SetStyle(ipcsValueX);
  cursor->BuildPopupMenu(plot->GetPopupMenuObject());
  root->Items(2)->Click();
  EXPECT_EQ(cursor->GetHintOrientationSide(), iosTopLeft);
}

TEST_F(PlotCursorInput, TheCursorGoesWithItsChannelAndFollowsAnotherOneSelected) {
  TiPlotChannel* first = plot->GetChannel(0);
  TiPlotChannel* second = plot->GetChannel(plot->AddChannel());
  cursor->SetSelected(true);
  EXPECT_TRUE(first->GetSelected());
  EXPECT_TRUE(cursor->GetSelected());
  second->SetSelected(true);
  EXPECT_EQ(cursor->GetChannelName(), second->GetName());
  EXPECT_TRUE(cursor->GetSelected());
  first->SetName("Renamed");
  cursor->SetChannelName("Renamed");
  second->SetName("Other");
  EXPECT_EQ(cursor->GetChannelName(), "Renamed");
  first->SetName("Volts");
  EXPECT_EQ(cursor->GetChannelName(), "Volts");
  x->SetSelected(true);
  EXPECT_FALSE(cursor->GetSelected());
}

TEST_F(PlotCursorInput, TheToolBarsCursorButtonShowsAndHidesEveryCursor) {
  cursor->SetVisible(false);
  TiPlotDataCursor* another = plot->GetDataCursor(plot->AddDataCursor());
  TiPlotToolBar* bar = plot->GetToolBar(0);
  bar->ClickCursor();
  EXPECT_TRUE(cursor->GetVisible());
  EXPECT_TRUE(another->GetVisible());
  EXPECT_TRUE(cursor->GetSelected());
  EXPECT_FALSE(x->GetTrackingEnabled());
  Paint();
  EXPECT_TRUE(cursor->GetHintShown());
  bar->ClickCursor();
  EXPECT_FALSE(cursor->GetVisible());
  EXPECT_FALSE(another->GetVisible());
  Paint();
  TiMouseRecord m;
  m.X = Centre1().X;
  m.Y = Centre1().Y;
  EXPECT_FALSE(cursor->HitTest(m));
}

}  // namespace
