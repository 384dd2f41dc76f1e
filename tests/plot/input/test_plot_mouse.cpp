// The plot's mouse, wheel, keys and hints through synthetic input on a headless window: the
// object under the mouse, selection, presses, drags, releases, popup menus and the hover hint.
#include <gtest/gtest.h>

#include "tests/plot/input/PlotInputSupport.h"

namespace plot_input_test {
namespace {

// ---- the object under the mouse -------------------------------------------------------------

TEST(PlotObjectAtPoint, SelectedObjectsFirstThenAnyThenDataViewsAndLegends) {
  TRecordingPlot plot(nullptr);
  const TRect square{0, 0, 100, 100};
  TiPlotLabel* title = plot.GetLabel(0);  // after the legend and the data view in the plot's order
  TiPlotToolBar* second = plot.GetToolBar(plot.AddToolBar());
  for (TiPlotLayoutObject* o :
       std::initializer_list<TiPlotLayoutObject*>{plot.GetLegend(0), plot.GetDataView(0), title, second})
    o->SetLayoutRect(square);
  second->SetVisible(false);
  const TiMouseRecord at = plot.MouseRecordAt(50, 50, {});

  EXPECT_EQ(plot.ObjectAtPoint(at), title) << "data views and legends come last";
  plot.GetDataView(0)->SetSelected(true);
  EXPECT_EQ(plot.ObjectAtPoint(at), title) << "also when selected";
  second->SetVisible(true);
  second->SetSelected(true);
  EXPECT_EQ(plot.ObjectAtPoint(at), second) << "a selected object before earlier ones";
  second->SetEnabled(false);
  EXPECT_EQ(plot.ObjectAtPoint(at), title);
  title->SetVisible(false);
  EXPECT_EQ(plot.ObjectAtPoint(at), plot.GetLegend(0)) << "the legend comes before the data view";
  plot.GetLegend(0)->SetEnabled(false);
  EXPECT_EQ(plot.ObjectAtPoint(at), plot.GetDataView(0));
  EXPECT_EQ(plot.ObjectAtPoint(plot.MouseRecordAt(100, 50, {})), nullptr) << "right edge excluded";

  // A toolbar answers with the button under the point.
  TiPlotToolBar* bar = plot.GetToolBar(0);
  bar->SetLayoutRect(TRect{200, 0, 400, 40});
  bar->Button(iptbbtZoomIn)->SetButtonRect(TRect{210, 3, 240, 33});
  EXPECT_EQ(plot.ObjectAtPoint(plot.MouseRecordAt(220, 10, {})), bar->Button(iptbbtZoomIn));
  EXPECT_EQ(plot.ObjectAtPoint(plot.MouseRecordAt(300, 10, {})), bar);
}

TEST(PlotObjectAtPoint, TheRecordCarriesOrientedCoordinatesWhenTheAxesAreReversed) {
  TRecordingPlot plot(nullptr);
  TiMouseRecord r = plot.MouseRecordAt(10, 20, TShiftState{ssShift});
  EXPECT_EQ(r.OrientedX, 10);
  EXPECT_EQ(r.OrientedY, 20);
  plot.SetXYAxesReverse(true);
  r = plot.MouseRecordAt(10, 20, {});
  EXPECT_EQ(r.X, 10);
  EXPECT_EQ(r.OrientedX, 20);
  EXPECT_EQ(r.OrientedY, 10);
}

// ---- presses, selection and drags -------------------------------------------------------------

class PlotMouse : public PlotWindow {
 protected:
  void SetUp() override {
    PlotWindow::SetUp();
    xAt = Centre(x->GetLayoutRect());
    yAt = Centre(y->GetLayoutRect());
    viewAt = Centre(view->GetLayoutRect());
  }
  std::vector<TiPlotObject*> Selected() {
    std::vector<TiPlotObject*> out;
    for (TiPlotObject* o : plot->GetObjectManager()->List())
      if (o->GetSelected()) out.push_back(o);
    return out;
  }
  // Clicks apart in time, so that the platform sees no double click.
  void SingleClick(TPoint p, int button = VK_LBUTTON) {
    Wait(600);
    Click(p, button);
  }
  TPoint xAt, yAt, viewAt;
  const TPoint nowhere{3, 196};  // inside the border, outside every object
};

TEST_F(PlotMouse, ShiftAndCtrlKeepAxesSelectedTogetherAndAPressOnNothingDeselectsAll) {
  SingleClick(xAt);
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{x}));
  With(VK_SHIFT, [&] { SingleClick(yAt); });
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{x, y}));
  With(VK_CONTROL, [&] { SingleClick(xAt); });
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{y})) << "Ctrl toggles an axis";
  With(VK_CONTROL, [&] { SingleClick(xAt); });
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{x, y}));
  SingleClick(viewAt);
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{view})) << "a plain press selects one object";
  With(VK_CONTROL, [&] { SingleClick(viewAt); });
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{view})) << "Ctrl toggles axes only";
  plot->SetEditorFormStyle(ipfsStayOnTop);  // the Edit button opens the editor without waiting
  SingleClick(Centre(plot->GetToolBar(0)->Button(iptbbtEdit)->GetButtonRect()));
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{view})) << "the toolbar is never selected";
  SingleClick(nowhere);
  EXPECT_TRUE(Selected().empty());
}

TEST_F(PlotMouse, AShiftPressDragsNothingUntilTheNextPressWhichDragsEverySelectedAxis) {
  SingleClick(xAt);
  Wait(600);
  With(VK_SHIFT, [&] { Drag(yAt, {yAt.X + 40, yAt.Y - 40}); });
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{x, y}));
  EXPECT_DOUBLE_EQ(x->GetMin(), 0);
  EXPECT_DOUBLE_EQ(y->GetMin(), 0);

  Wait(600);
  Drag(xAt, {xAt.X + 42, xAt.Y - 24});  // x is selected already: y stays selected
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{x, y}));
  EXPECT_LT(x->GetMin(), 0) << "dragged to the right: the values move right";
  EXPECT_LT(y->GetMin(), 0) << "dragged up";
  EXPECT_FALSE(x->GetTrackingEnabled());
  EXPECT_FALSE(y->GetTrackingEnabled());
}

TEST_F(PlotMouse, ObjectEventsCarryTheIndexAndAClickOrDoubleClickEndsAPressInside) {
  std::vector<std::string> events;
  plot->OnMouseDownXAxis =
      TiPlotObjectMouseEvent::Lambda([&](int32_t i, TMouseButton b, TShiftState, int32_t, int32_t) {
        events.push_back("down " + std::to_string(i) + " " + std::to_string(int(b)));
      });
  plot->OnMouseUpXAxis =
      TiPlotObjectMouseEvent::Lambda([&](int32_t i, TMouseButton, TShiftState, int32_t, int32_t) {
        events.push_back("up " + std::to_string(i));
      });
  plot->OnClickXAxis =
      TiPlotObjectEvent::Lambda([&](int32_t i) { events.push_back("click " + std::to_string(i)); });
  plot->OnDblClickXAxis =
      TiPlotObjectEvent::Lambda([&](int32_t i) { events.push_back("dbl " + std::to_string(i)); });
  plot->OnGotFocusXAxis =
      TiPlotObjectEvent::Lambda([&](int32_t i) { events.push_back("focus " + std::to_string(i)); });
  Click(xAt);
  Click(xAt);  // at once: the platform makes the second press a double click
  EXPECT_EQ(events, (std::vector<std::string>{"focus 0", "down 0 0", "click 0", "up 0", "down 0 0", "dbl 0",
                                              "up 0"}));
  EXPECT_FALSE(plot->GetDblClickActive()) << "cleared by the release";
}

TEST_F(PlotMouse, ARightPressSelectsTheObjectAloneAndShowsItsMenuUnlessCancelled) {
  SingleClick(yAt);
  SingleClick(xAt, VK_RBUTTON);
  EXPECT_EQ(Selected(), (std::vector<TiPlotObject*>{x}));
  ASSERT_FALSE(plot->Log.empty());
  EXPECT_EQ(plot->Log.back(), "Menu Tracking Enabled|Update Resume Values|Zoom to Fit|Edit...");

  plot->Log.clear();
  int asked = -1;
  plot->OnPopupMenuXAxis = TiPlotPopupMenuEvent::Lambda([&](int32_t Index, bool& Cancel, int32_t, int32_t) {
    asked = Index;
    Cancel = true;
  });
  SingleClick(xAt, VK_RBUTTON);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(plot->Log.empty());
}

TEST_F(PlotMouse, TheWheelAndTheKeysReachTheSelectedObjects) {
  SingleClick(xAt);
  EXPECT_TRUE(plot->Focused());
  InputMouseWheel(120, Screen(xAt));
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(x->GetMin(), 5);
  EXPECT_DOUBLE_EQ(y->GetMin(), 0) << "not selected";
  ui_test::Key(VK_RIGHT);
  EXPECT_DOUBLE_EQ(x->GetMin(), 6);
  ui_test::Key(VK_PRIOR);
  EXPECT_DOUBLE_EQ(x->GetMin(), 106);

  // The four arrows are claimed from the dialog keys; the others are not.
  for (WORD key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})
    EXPECT_EQ(plot->Perform(CM_WANTSPECIALKEY, key, 0), 1) << key;
  for (WORD key : {VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_TAB})
    EXPECT_EQ(plot->Perform(CM_WANTSPECIALKEY, key, 0), 0) << key;
}

TEST_F(PlotMouse, LosingTheFocusDuringAPressEndsTheDrag) {
  auto* other = ui_test::Make<TEdit>(form, form, "Other", Rect(10, 210, 100, 230));
  SingleClick(xAt);
  Press(xAt);
  Move({xAt.X + 21, xAt.Y});
  const double min = x->GetMin();
  other->SetFocus();
  ui_test::Pump();
  Move({xAt.X + 100, xAt.Y});
  EXPECT_DOUBLE_EQ(x->GetMin(), min) << "the release at (0, 0) ended the drag";
  Release({xAt.X + 100, xAt.Y});
}

TEST_F(PlotMouse, ButtonsInsideObjectsTakeTheirPressAloneAndGoWithTheirObject) {
  TiPlotTable* table = plot->GetTable(plot->AddTable());
  table->AddColumn("C");
  for (int r = 0; r < 20; ++r) table->AddRow("r" + IntToStr(r));
  table->SetRowsMax(5);
  Paint();
  TiPlotTableButton* down = table->GetDownButton();
  ASSERT_TRUE(down->GetVisible());
  const TPoint at = Centre(down->GetButtonRect());
  SingleClick(at);
  EXPECT_EQ(table->GetFirstRow(), 1);
  SingleClick(at);
  EXPECT_EQ(table->GetFirstRow(), 2);

  Move(at);
  Press(at);
  plot->DeleteTable(0);
  Release(at);
  Move(nowhere);
  EXPECT_EQ(plot->TableCount(), 0);
}

// ---- the hover hint ----------------------------------------------------------------------------

TEST_F(PlotMouse, AHintShowsAfterTheMouseRestsAndGoesAfterTheHidePause) {
  y->SetTitle("Volts");
  Move(yAt);
  EXPECT_FALSE(plot->HintShowing());
  Wait(490);
  EXPECT_FALSE(plot->HintShowing());
  Wait(20);
  ASSERT_TRUE(plot->HintShowing());
  EXPECT_EQ(plot->HintText(), "Volts");
  EXPECT_EQ(plot->HintPosition(), (TPoint{yAt.X, yAt.Y - 20}));
  Wait(2480);
  EXPECT_TRUE(plot->HintShowing());
  Wait(30);
  EXPECT_FALSE(plot->HintShowing());
}

TEST_F(PlotMouse, MovingOnWhileAHintShowsKeepsItAndRestartsTheHidePause) {
  Move(yAt);
  Wait(510);
  ASSERT_TRUE(plot->HintShowing());
  Wait(2000);
  Move(xAt);
  EXPECT_TRUE(plot->HintShowing());
  EXPECT_EQ(plot->HintText(), "X-Axis 1");
  Wait(2000);
  EXPECT_TRUE(plot->HintShowing()) << "the hide pause started again at the move";
  Wait(600);
  EXPECT_FALSE(plot->HintShowing());
}

TEST_F(PlotMouse, ACaptureTakenElsewhereHidesTheHintAndTheNextHoverStartsNone) {
  plot->SetHintsShow(true);
  Move(yAt);
  Wait(510);
  ASSERT_TRUE(plot->HintShowing());
  SetCapture(form->Handle());
  ReleaseCapture();
  ui_test::Pump();
  EXPECT_FALSE(plot->HintShowing());
  Move({yAt.X, yAt.Y + 1});
  Wait(600);
  EXPECT_FALSE(plot->HintShowing()) << "suppressed once";
  Move({yAt.X, yAt.Y + 2});
  Wait(510);
  EXPECT_TRUE(plot->HintShowing());

  plot->SetHintsShow(false);
  Move(xAt);
  Wait(3000);
  Move(yAt);
  Wait(600);
  EXPECT_FALSE(plot->HintShowing());
}

TEST_F(PlotMouse, TheCursorFollowsTheObjectUnderTheMouse) {
  Move(xAt);
  EXPECT_EQ(plot->GetCursor(), crHandPoint) << "an axis in scroll mode";
  Move(nowhere);
  EXPECT_EQ(plot->GetCursor(), crDefault);
  plot->GetToolBar(0)->ClickZoomBox();
  Move(viewAt);
  EXPECT_EQ(plot->GetCursor(), crDrag);
  plot->GetToolBar(0)->ClickZoomBox();
  view->SetAxesControlEnabled(true);
  Move({viewAt.X + 1, viewAt.Y});
  EXPECT_EQ(plot->GetCursor(), crHandPoint);
}

}  // namespace
}  // namespace plot_input_test
