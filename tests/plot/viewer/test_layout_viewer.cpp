// The layout schematic: its geometry from the layout's band counts, and the gestures that move,
// swap, turn and resize layout objects through the layout manager.
#include <gtest/gtest.h>

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutViewer.h"
#include "plot/iPlotTable.h"
#include "tests/plot/support/PlotTestCanvas.h"

namespace {

class TViewerProbe : public TiPlotLayoutViewer {
 public:
  using TiPlotLayoutViewer::HandleMouseDown;
  using TiPlotLayoutViewer::HandleMouseMove;
  using TiPlotLayoutViewer::HandleMouseUp;
  using TiPlotLayoutViewer::TiPlotLayoutViewer;
  void CountChange(TObject*) { ++changes; }
  int changes = 0;
};

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

struct LayoutViewer : ::testing::Test {
  LayoutViewer() : canvas(400, 300) {
    viewer.SetBounds(0, 0, 400, 300);
    viewer.SetLayoutManager(Layout());
    viewer.OnChange = TNotifyEvent(&viewer, &TViewerProbe::CountChange);
    Paint();
  }
  TiPlotLayoutManager* Layout() { return plot.Master()->GetLayoutManager(); }
  void Paint() { viewer.PaintToCanvas(canvas.Canvas()); }
  // A left-button drag from one point to another, repainting between the steps as the screen does.
  void Drag(TPoint from, TPoint to) {
    viewer.HandleMouseMove(TShiftState(), from.X, from.Y);
    viewer.HandleMouseDown(mbLeft, TShiftState{ssLeft}, from.X, from.Y);
    Paint();
    viewer.HandleMouseMove(TShiftState{ssLeft}, to.X, to.Y);
    Paint();
    viewer.HandleMouseUp(mbLeft, TShiftState(), to.X, to.Y);
    Paint();
  }
  // A second horizontal label in a band of its own below everything.
  TiPlotLabel* BottomLabel() {
    TiPlotLabel* l = plot.GetLabel(plot.AddLabel());
    Layout()->CloseGap(l);
    l->SetHorizontal(true);
    Layout()->InsertAt(l, 0, 1);
    Paint();
    return l;
  }

  TiPlot plot{nullptr};
  TViewerProbe viewer{nullptr};
  plot_test::TPlotTestCanvas canvas;
};

TEST_F(LayoutViewer, GeometryFollowsTheBandCounts) {
  const int32_t hB = viewer.BandHeight();
  ASSERT_GT(hB, 0);
  const TiPlotLayoutManager* m = Layout();
  const TRect dv = viewer.DataViewRect();
  EXPECT_EQ(dv.Left, 5 + m->LeftBandCount() * hB);
  EXPECT_EQ(dv.Top, 5 + m->TopBandCount() * hB);
  EXPECT_EQ(dv.Right, 395 - m->RightBandCount() * hB);
  EXPECT_EQ(dv.Bottom, 295 - m->BottomBandCount() * hB);
  // One block a band plus the data view seen from each orientation, the last made first.
  const auto& blocks = viewer.Blocks();
  ASSERT_EQ(blocks.size(),
            size_t(m->LeftBandCount() + m->RightBandCount() + m->TopBandCount() + m->BottomBandCount() + 2));
  EXPECT_TRUE(blocks.front()->Horizontal);
  EXPECT_EQ(blocks.front()->ZOrder, 0);
  EXPECT_EQ(blocks.back()->ZOrder, 0);
  EXPECT_FALSE(blocks.back()->Horizontal);

  // A full-width X axis spans the data view; the data view answers for itself.
  TiPlotAxis* x = plot.GetXAxis(0);
  EXPECT_EQ(x->GetViewerRect().Left, dv.Left);
  EXPECT_EQ(x->GetViewerRect().Right, dv.Right);
  EXPECT_EQ(x->GetViewerRect().Top, dv.Bottom);
  EXPECT_EQ(viewer.ObjectAt(Centre(x->GetViewerRect()).X, Centre(x->GetViewerRect()).Y), x);
  EXPECT_EQ(viewer.ObjectAt(Centre(dv).X, Centre(dv).Y), plot.GetDataView(0));
  EXPECT_EQ(viewer.ObjectAt(1, 1), nullptr);
  // Background blue outside the inner rectangle, white inside it.
  EXPECT_EQ(canvas.Canvas()->GetPixel(1, 1), TColor(0xFF0000));
}

TEST_F(LayoutViewer, WithoutALayoutManagerOnlyTheBackgroundIsDrawnAndNothingIsFound) {
  TViewerProbe bare{nullptr};
  bare.SetBounds(0, 0, 400, 300);
  bare.PaintToCanvas(canvas.Canvas());
  EXPECT_EQ(bare.ObjectAt(200, 150), nullptr);
  EXPECT_EQ(canvas.Canvas()->GetPixel(200, 150), clWhite);
  bare.HandleMouseDown(mbLeft, TShiftState{ssLeft}, 200, 150);
  bare.HandleMouseUp(mbLeft, TShiftState(), 200, 150);
  EXPECT_EQ(bare.changes, 0);
}

TEST_F(LayoutViewer, DraggingAnEndResizesInStepsOfOneAndAQuarterPercent) {
  TiPlotAxis* x = plot.GetXAxis(0);
  const TRect r = x->GetViewerRect();
  const int32_t w = viewer.DataViewRect().Right - viewer.DataViewRect().Left;
  const TPoint end{r.Right - 2, Centre(r).Y};
  viewer.HandleMouseMove(TShiftState(), end.X, end.Y);
  EXPECT_EQ(viewer.GetCursor(), crSizeWE);
  viewer.HandleMouseDown(mbLeft, TShiftState{ssLeft}, end.X, end.Y);
  viewer.HandleMouseMove(TShiftState{ssLeft}, end.X - w / 4, end.Y);
  EXPECT_NEAR(x->GetStopPercent(), 75, 1e-9);
  // Three pixels are about one percent: one step.
  viewer.HandleMouseMove(TShiftState{ssLeft}, end.X - 3 * w / 300, end.Y);
  EXPECT_NEAR(x->GetStopPercent(), 98.75, 1e-9);
  viewer.HandleMouseUp(mbLeft, TShiftState(), end.X, end.Y);
  EXPECT_EQ(viewer.changes, 1);
  EXPECT_EQ(viewer.GetCursor(), crDefault);
}

TEST_F(LayoutViewer, AnAxisKeepsItsOrientation) {
  TiPlotAxis* x = plot.GetXAxis(0);
  const int32_t z = x->GetZOrder();
  // The Y axis sits in a left band: a vertical block.
  const TRect y = plot.GetYAxis(0)->GetViewerRect();
  Drag(Centre(x->GetViewerRect()), {(y.Left + y.Right) / 2, y.Top + 3});
  EXPECT_TRUE(x->GetHorizontal());
  EXPECT_EQ(x->GetZOrder(), z);
  EXPECT_EQ(viewer.changes, 0);
}

TEST_F(LayoutViewer, DroppingOnAnObjectOfTheSameBandSwapsTheSpans) {
  TiPlotLabel* title = plot.GetLabel(0);
  TiPlotLabel* other = plot.GetLabel(plot.AddLabel());
  Layout()->CloseGap(other);
  other->SetHorizontal(true);
  other->SetZOrder(title->GetZOrder());
  title->SetPercents(0, 40);
  other->SetPercents(40, 100);
  Layout()->Relayout();
  Paint();
  const int32_t z = title->GetZOrder();
  Drag(Centre(title->GetViewerRect()), Centre(other->GetViewerRect()));
  EXPECT_DOUBLE_EQ(title->GetStartPercent(), 40);
  EXPECT_DOUBLE_EQ(title->GetStopPercent(), 100);
  EXPECT_DOUBLE_EQ(other->GetStartPercent(), 0);
  EXPECT_DOUBLE_EQ(other->GetStopPercent(), 40);
  EXPECT_EQ(title->GetZOrder(), z);
  EXPECT_EQ(other->GetZOrder(), z);
  EXPECT_EQ(viewer.changes, 1);
}

TEST_F(LayoutViewer, ALabelDroppedInTheMiddleThirdOfALabelsBandSharesIt) {
  TiPlotLabel* title = plot.GetLabel(0);
  TiPlotLabel* moved = BottomLabel();
  const TRect band = title->GetViewerRect();
  Drag(Centre(moved->GetViewerRect()), {200, band.Top + (band.Bottom - band.Top) / 2});
  EXPECT_EQ(moved->GetZOrder(), title->GetZOrder());
  EXPECT_TRUE(moved->GetHorizontal());
  EXPECT_DOUBLE_EQ(title->GetStartPercent(), 0);
  EXPECT_DOUBLE_EQ(title->GetStopPercent(), 50);
  EXPECT_DOUBLE_EQ(moved->GetStartPercent(), 50);
  EXPECT_DOUBLE_EQ(moved->GetStopPercent(), 100);
  EXPECT_EQ(viewer.changes, 1);
}

TEST_F(LayoutViewer, ALabelDroppedInTheOuterHalfOfABandOpensANewBand) {
  TiPlotLabel* title = plot.GetLabel(0);
  TiPlotLabel* moved = BottomLabel();
  moved->SetPercents(10, 60);
  Paint();
  const int32_t topBands = Layout()->TopBandCount();
  // The upper third of the title's band: a new band just outside it.
  const TRect band = title->GetViewerRect();
  Drag(Centre(moved->GetViewerRect()), {200, band.Top + 1});
  EXPECT_NE(moved->GetZOrder(), title->GetZOrder());
  EXPECT_EQ(Layout()->TopBandCount(), topBands + 1);
  EXPECT_DOUBLE_EQ(moved->GetStartPercent(), 0);
  EXPECT_DOUBLE_EQ(moved->GetStopPercent(), 100);
}

TEST_F(LayoutViewer, ATableDroppedNearTheDataViewsRightEdgeTurnsVerticalBesideIt) {
  TiPlotTable* table = plot.GetTable(plot.AddTable());
  Layout()->CloseGap(table);
  table->SetHorizontal(true);
  table->SetPercents(20, 70);
  Layout()->InsertAt(table, 0, 1);
  Paint();
  const TRect dv = viewer.DataViewRect();
  const int32_t p = Layout()->GetDataViewVert()->GetZOrder();
  Drag(Centre(table->GetViewerRect()), {dv.Right - 2, Centre(dv).Y});
  EXPECT_FALSE(table->GetHorizontal());
  EXPECT_EQ(table->GetZOrder(), Layout()->GetDataViewVert()->GetZOrder() + 1);
  EXPECT_EQ(Layout()->GetDataViewVert()->GetZOrder(), p);
  EXPECT_DOUBLE_EQ(table->GetStartPercent(), 20);
  EXPECT_DOUBLE_EQ(table->GetStopPercent(), 70);
  EXPECT_EQ(viewer.changes, 1);
}

TEST_F(LayoutViewer, ToolbarsAndDataViewsAreNotDragged) {
  const TRect dv = viewer.DataViewRect();
  Drag(Centre(dv), {dv.Left + 2, Centre(dv).Y});
  TiPlotLayoutObject* bar = plot.GetToolBar(0);
  const int32_t z = bar->GetZOrder();
  Drag(Centre(bar->GetViewerRect()), Centre(plot.GetXAxis(0)->GetViewerRect()));
  EXPECT_EQ(bar->GetZOrder(), z);
  EXPECT_EQ(viewer.changes, 0);
}

}  // namespace
