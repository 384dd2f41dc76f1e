// The data view: percent of the area, the mouse mode read from the toolbar, the zoom box, the
// axes control by drag and wheel, and the grid and frame it draws.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/display/Display.h"
#include "tests/plot/input/PlotInputSupport.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"

namespace plot_input_test {
namespace {

// ---- percent conversions and the mouse mode -----------------------------------------------------

TEST(DataViewPercent, ZeroIsTheLeftAndTheBottomEdgeAndPixelsRoundHalvesToEven) {
  TRecordingPlot plot(nullptr);
  TiPlotDataView* view = plot.GetDataView(0);
  view->SetLayoutRect(TRect{57, 64, 477, 160});  // 420 x 96
  EXPECT_DOUBLE_EQ(view->XPixelToPercent(57), 0);
  EXPECT_DOUBLE_EQ(view->XPixelToPercent(477), 100);
  EXPECT_DOUBLE_EQ(view->XPixelToPercent(162), 25);
  EXPECT_DOUBLE_EQ(view->YPixelToPercent(160), 0);
  EXPECT_DOUBLE_EQ(view->YPixelToPercent(64), 100);
  EXPECT_DOUBLE_EQ(view->YPixelToPercent(88), 75);
  EXPECT_EQ(view->XPercentToPixel(25), 162);
  EXPECT_EQ(view->YPercentToPixel(75), 88);

  view->SetLayoutRect(TRect{0, 0, 10, 10});
  struct Case {
    double percent;
    int32_t x, y;
  };
  for (const Case& c : {Case{25, 2, 8}, Case{35, 4, 6}, Case{75, 8, 2}, Case{65, 6, 4}, Case{0, 0, 10}}) {
    EXPECT_EQ(view->XPercentToPixel(c.percent), c.x) << c.percent;
    EXPECT_EQ(view->YPercentToPixel(c.percent), c.y) << c.percent;
  }
}

TEST(DataViewMouseMode, ReadFromToolBarZeroAtEveryCallAndWithoutAToolBarFromAxesControlOnly) {
  TRecordingPlot plot(nullptr);
  TiPlotDataView* view = plot.GetDataView(0);
  TiPlotToolBar* bar = plot.GetToolBar(0);
  EXPECT_EQ(view->MouseMode(), 0);
  view->SetAxesControlEnabled(true);
  EXPECT_EQ(view->MouseMode(), 3);
  bar->ClickZoomBox();
  EXPECT_EQ(view->MouseMode(), 1);
  bar->ClickSelect();
  EXPECT_EQ(view->MouseMode(), 2);
  // Only toolbar 0 counts.
  plot.GetToolBar(plot.AddToolBar())->ClickZoomBox();
  EXPECT_EQ(view->MouseMode(), 2);
  plot.RemoveAllToolBars();
  EXPECT_EQ(view->MouseMode(), 3);
  view->SetAxesControlEnabled(false);
  EXPECT_EQ(view->MouseMode(), 0);
}

// ---- the zoom box and the axes control on a window ----------------------------------------------

class DataViewMouse : public PlotWindow {
 protected:
  void SetUp() override {
    PlotWindow::SetUp();
    plot->OnClickDataView = TiPlotObjectEvent::Lambda([this](int32_t) { ++clicks; });
  }
  struct Range {
    double min, span;
    bool operator==(const Range&) const = default;
  };
  static Range Of(TiPlotAxis* a) { return {a->GetMin(), a->GetSpan()}; }
  int clicks = 0;
};

TEST_F(DataViewMouse, AZoomBoxDraggedDownAndRightZoomsEveryAxisToIt) {
  plot->GetToolBar(0)->ClickZoomBox();
  const double left = x->PositionToValueDouble(100), right = x->PositionToValueDouble(200);
  const double bottom = y->PositionToValueDouble(140), top = y->PositionToValueDouble(80);
  std::vector<TRect> asked;
  plot->OnBeforeZoomBox = TiPlotZoomBoxEvent::Lambda([&](TRect& r, bool&) { asked.push_back(r); });
  Drag({100, 80}, {200, 140});
  EXPECT_EQ(asked, (std::vector<TRect>{TRect{100, 80, 200, 140}}));
  EXPECT_DOUBLE_EQ(x->GetMin(), left);
  EXPECT_DOUBLE_EQ(x->GetMax(), right);
  EXPECT_DOUBLE_EQ(y->GetMin(), bottom);
  EXPECT_DOUBLE_EQ(y->GetMax(), top);
  EXPECT_FALSE(x->GetTrackingEnabled()) << "the press paused the axes";
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(view->Dragging());
}

TEST_F(DataViewMouse, ABoxDraggedAnyOtherWayOrOfNoWidthOrHeightChangesNothing) {
  plot->GetToolBar(0)->ClickZoomBox();
  const Range xs = Of(x), ys = Of(y);
  int asked = 0;
  plot->OnBeforeZoomBox = TiPlotZoomBoxEvent::Lambda([&](TRect&, bool&) { ++asked; });
  const std::pair<TPoint, TPoint> boxes[] = {{{200, 140}, {100, 80}},
                                             {{100, 140}, {200, 80}},
                                             {{200, 80}, {100, 140}},
                                             {{100, 80}, {100, 140}},
                                             {{100, 80}, {200, 80}}};
  for (const auto& [from, to] : boxes) {
    Wait(600);
    Drag(from, to);
  }
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(Of(x), xs);
  EXPECT_EQ(Of(y), ys);
}

TEST_F(DataViewMouse, BeforeZoomBoxMayCancelOrEnlargeTheBox) {
  plot->GetToolBar(0)->ClickZoomBox();
  const Range xs = Of(x), ys = Of(y);
  plot->OnBeforeZoomBox = TiPlotZoomBoxEvent::Lambda([](TRect&, bool& Cancel) { Cancel = true; });
  Drag({100, 80}, {200, 140});
  EXPECT_EQ(Of(x), xs);
  EXPECT_EQ(Of(y), ys);

  const double right = x->PositionToValueDouble(260);
  plot->OnBeforeZoomBox = TiPlotZoomBoxEvent::Lambda([](TRect& r, bool&) { r.Right += 60; });
  Wait(600);
  Drag({100, 80}, {200, 140});
  EXPECT_DOUBLE_EQ(x->GetMax(), right);
}

TEST_F(DataViewMouse, ReleasedOutsideTheAreaTheBoxStillZoomsButNoClickFires) {
  plot->GetToolBar(0)->ClickZoomBox();
  const double right = x->PositionToValueDouble(490);
  Drag({100, 80}, {490, 150});
  EXPECT_DOUBLE_EQ(x->GetMax(), right);
  EXPECT_EQ(clicks, 0);
}

TEST_F(DataViewMouse, AxesControlDragMovesTheAxesTheStyleAndShiftChoose) {
  view->SetAxesControlEnabled(true);
  struct Case {
    TiPlotAxesControlStyle style;
    bool shift;
    TPoint by;
    bool xMoves, yMoves;
  };
  const Case cases[] = {
      {ipacsBoth, false, {40, -20}, true, true},
      {ipacsXAxis, false, {40, -20}, true, false},
      {ipacsXAxis, true, {40, -20}, false, true},
      {ipacsYAxis, false, {40, -20}, false, true},
      {ipacsYAxis, true, {40, -20}, true, false},
      // Shift with both: the first move beyond 3 pixels decides, here along X.
      {ipacsBoth, true, {40, 0}, true, false},
  };
  for (const Case& c : cases) {
    view->SetAxesControlMouseStyle(c.style);
    x->SetMinSpan(0, 100);
    y->SetMinSpan(0, 100);
    const TPoint from{200, 110};
    Wait(600);
    auto drag = [&] { Drag(from, {from.X + c.by.X, from.Y + c.by.Y}); };
    if (c.shift)
      With(VK_SHIFT, drag);
    else
      drag();
    EXPECT_EQ(x->GetMin() != 0, c.xMoves) << int(c.style) << " shift " << c.shift;
    EXPECT_EQ(y->GetMin() != 0, c.yMoves) << int(c.style) << " shift " << c.shift;
  }
}

TEST_F(DataViewMouse, WithShiftAndBothTheDecisionLastsForTheWholeDrag) {
  view->SetAxesControlEnabled(true);
  With(VK_SHIFT, [&] {
    Press({200, 110});
    Move({206, 111});  // decided for X
    Move({206, 60});   // a vertical move does not change the decision
    Release({206, 60});
  });
  EXPECT_NE(x->GetMin(), 0);
  EXPECT_DOUBLE_EQ(y->GetMin(), 0);
}

TEST_F(DataViewMouse, TheWheelMovesTheAxesOnlyWithAxesControl) {
  Click({200, 110});  // selects the data view: the wheel goes to selected objects
  ASSERT_TRUE(view->GetSelected());
  InputMouseWheel(120, Screen({200, 110}));
  ui_test::Pump();
  EXPECT_EQ(Of(x), (Range{0, 100}));

  view->SetAxesControlEnabled(true);
  InputMouseWheel(120, Screen({200, 110}));
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(x->GetMin(), 5);
  EXPECT_DOUBLE_EQ(y->GetMin(), 0);
  With(VK_SHIFT, [&] { InputMouseWheel(120, Screen({200, 110})); });
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(x->GetMin(), 5);
  EXPECT_DOUBLE_EQ(y->GetMin(), 5);
  view->SetAxesControlWheelStyle(ipacsBoth);
  InputMouseWheel(-120, Screen({200, 110}));
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(x->GetMin(), 0);
  EXPECT_DOUBLE_EQ(y->GetMin(), 0);

  // In the axes' zoom mode the wheel zooms about the centre instead.
  Click(Centre(plot->GetToolBar(0)->Button(iptbbtZoomAxesMode)->GetButtonRect()));
  Wait(600);
  Click({200, 110});
  InputMouseWheel(120, Screen({200, 110}));
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(x->GetSpan(), 100 / std::pow(10.0, 0.025));
  EXPECT_DOUBLE_EQ(x->GetMin() + x->GetSpan() / 2, 50);
  EXPECT_DOUBLE_EQ(y->GetSpan(), x->GetSpan());
}

TEST_F(DataViewMouse, ScreenshotOfAZoomBoxBeingDragged) {
  plot->GetToolBar(0)->ClickZoomBox();
  Press({100, 80});
  Move({150, 100});
  Move({220, 140});
  Paint();
  EXPECT_TRUE(view->Dragging());
  EXPECT_TRUE(SaveWindowPng(form->Handle(), OutputPath("plot-zoom-box.png")));
  // The box's dotted top edge shows on the black background.
  plot_test::TPlotTestCanvas canvas(500, 200);
  plot->PaintToCanvas(canvas.Canvas());
  int dots = 0;
  for (int32_t px = 110; px < 130; ++px)
    dots += (ColorToRGB(canvas.Canvas()->GetPixel(px, 80)) & 0xFFFFFF) != 0;
  EXPECT_EQ(dots, 10);
  Release({220, 140});
}

// ---- grid and frame ---------------------------------------------------------------------------------

class DataViewGrid : public ::testing::Test {
 protected:
  // Paints the plot and answers the RGB colour of a pixel.
  TColor PixelAt(int32_t X, int32_t Y) {
    return TColor(ColorToRGB(canvas.Canvas()->GetPixel(X, Y)) & 0xFFFFFF);
  }
  void Paint() { plot.PaintToCanvas(canvas.Canvas()); }
  // The visible major ticks of an axis, away from the frame.
  std::vector<int32_t> Majors(TiPlotAxis* a) {
    std::vector<int32_t> out;
    const TRect& r = view->GetLayoutRect();
    for (int32_t i = 0; i < a->TickCount(); ++i) {
      const TiPlotTickObject& t = a->GetTick(i);
      if (t.Visible && !t.Minor && t.Position > r.Left + 1 && t.Position < r.Right - 1)
        out.push_back(t.Position);
    }
    return out;
  }
  int32_t MidY() { return (view->GetLayoutRect().Top + view->GetLayoutRect().Bottom) / 2 + 3; }

  TRecordingPlot plot{nullptr};
  TiPlotDataView* view = plot.GetDataView(0);
  plot_test::TPlotTestCanvas canvas{500, 200};
  const TColor green = TColor(0x008000);
  const TColor black = TColor(0);
};

TEST_F(DataViewGrid, VerticalLinesFollowTheNamedAxisAndTheFrameStaysWithoutOne) {
  plot.GetYAxis(0)->SetGridLinesVisible(false);  // keep horizontal lines out of the way
  Paint();
  const std::vector<int32_t> majors = Majors(plot.GetXAxis(0));
  ASSERT_FALSE(majors.empty());
  for (int32_t p : majors) EXPECT_EQ(PixelAt(p, MidY()), green) << p;
  const TRect r = view->GetLayoutRect();
  EXPECT_EQ(PixelAt(r.Left, MidY()), green);
  EXPECT_EQ(PixelAt(r.Right, MidY()), green);
  EXPECT_EQ(PixelAt(r.Right, r.Bottom), green) << "the bottom line reaches the corner";

  view->SetGridXAxisName("No such axis");
  Paint();
  for (int32_t p : majors) EXPECT_EQ(PixelAt(p, MidY()), black) << p;
  EXPECT_EQ(PixelAt(r.Left, MidY()), green);

  view->SetGridXAxisName("x-axis 1");  // names compare without case
  Paint();
  for (int32_t p : majors) EXPECT_EQ(PixelAt(p, MidY()), green) << p;

  // The left frame line, without the grid line of the tick at the left edge.
  view->SetGridLineShowLeft(false);
  view->SetGridLineShowXMajors(false);
  Paint();
  EXPECT_EQ(PixelAt(r.Left, MidY()), black);
  EXPECT_EQ(PixelAt(r.Right, MidY()), green);
}

TEST_F(DataViewGrid, AllInAnyCaseDrawsTheLinesOfEveryXAxis) {
  plot.GetYAxis(0)->SetGridLinesVisible(false);
  TiPlotAxis* second = plot.GetXAxis(plot.AddXAxis());
  second->SetMinSpan(0, 30);
  view->SetGridXAxisName("<all>");
  Paint();
  std::vector<int32_t> both = Majors(plot.GetXAxis(0));
  for (int32_t p : Majors(second)) both.push_back(p);
  for (int32_t p : both) EXPECT_EQ(PixelAt(p, MidY()), green) << p;

  view->SetGridXAxisName(plot.GetXAxis(0)->GetName());
  Paint();
  int32_t missing = 0;
  for (int32_t p : Majors(second)) missing += PixelAt(p, MidY()) == black;
  EXPECT_GT(missing, 0) << "the second axis's lines are gone";
}

TEST_F(DataViewGrid, TheGridFollowsARenamedAxisAndGoesWithARemovedOne) {
  plot.GetYAxis(0)->SetGridLinesVisible(false);
  TiPlotAxis* second = plot.GetXAxis(plot.AddXAxis());
  view->SetGridXAxisName(second->GetName());
  Paint();
  ASSERT_FALSE(Majors(second).empty());
  EXPECT_EQ(PixelAt(Majors(second)[0], MidY()), green);

  second->SetName("Time");
  EXPECT_EQ(view->GetGridXAxisName(), "Time");
  Paint();
  const std::vector<int32_t> majors = Majors(second);
  EXPECT_EQ(PixelAt(majors[0], MidY()), green);

  plot.DeleteXAxis(1);
  Paint();
  EXPECT_EQ(view->GetGridXAxisName(), "Time");
  for (int32_t p : Majors(plot.GetXAxis(0))) EXPECT_EQ(PixelAt(p, MidY()), black) << p;
}

TEST_F(DataViewGrid, CustomMajorLinesOfWidthZeroAndOneAreTheSameOnePixelLine) {
  plot.GetYAxis(0)->SetGridLinesVisible(false);
  view->SetGridLineXMajorCustom(true);
  view->SetGridLineXMajorColor(clRed);
  for (int32_t width : {0, 1}) {
    view->SetGridLineXMajorWidth(width);
    Paint();
    const int32_t p = Majors(plot.GetXAxis(0))[1];
    EXPECT_EQ(PixelAt(p, MidY()), TColor(0x0000FF)) << width;
    EXPECT_EQ(PixelAt(p - 1, MidY()), black) << width;
    EXPECT_EQ(PixelAt(p + 1, MidY()), black) << width;
  }
  view->SetGridShow(false);
  Paint();
  EXPECT_EQ(PixelAt(Majors(plot.GetXAxis(0))[1], MidY()), black);
  EXPECT_EQ(PixelAt(view->GetLayoutRect().Left, MidY()), black) << "no frame either";
}

}  // namespace
}  // namespace plot_input_test
