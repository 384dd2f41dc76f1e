// The placement of a plot laid out like the default one: toolbar and title above the data view,
// X axis below, Y axis left and legend right of it, on 500 x 200 with a border and margins of 5.
#include <gtest/gtest.h>

#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"
#include "tests/plot/layout/LayoutTestUtil.h"
#include "tests/plot/support/PlotTestCanvas.h"

using layout_test::TSized;
using layout_test::TStandIn;

namespace {

struct LayoutDefaultPlot : ::testing::Test, layout_test::TLayoutHarness {
  LayoutDefaultPlot() {
    // As the plot creates its defaults: inactive, then band numbers set, then reactivated.
    layout->SetActive(false);
    bar = Add<TSized<TiPlotToolBar>>(true);
    bar->SetZOrder(3);
    bar->Thickness = 36;
    legend = Add<TSized<TiPlotLegend>>(false);
    legend->SetZOrder(2);
    legend->Thickness = 80;
    x = Add(true);
    x->Thickness = 30;
    x->EndMargin = 10;
    y = Add(false);
    y->Thickness = 40;
    y->EndMargin = 6;
    dataView = Add<TiPlotDataView>(false);
    title = Add<TiPlotLabel>(true);
    title->SetZOrder(2);
    title->SetCaption("Untitled");
    plot_test::UseFixedFont(title->GetFont());
    layout->SetActive(true);
    lh = canvas.LineHeight(title->GetFont());
  }
  void Place() {
    // The plot runs the pass twice; the second must give the same rectangles.
    layout->PlaceObjects(canvas.Canvas(), area, dataView);
    layout->PlaceObjects(canvas.Canvas(), area, dataView);
  }

  TSized<TiPlotToolBar>* bar;
  TSized<TiPlotLegend>* legend;
  TStandIn *x, *y;
  TiPlotDataView* dataView;
  TiPlotLabel* title;
  plot_test::TPlotTestCanvas canvas;
  TiPlotPlaceArea area{500, 200, 2, 5, 5, 5, 5};
  int32_t lh = 0;
};

TEST_F(LayoutDefaultPlot, SortsIntoBandsAroundTheDataView) {
  EXPECT_EQ(layout->Bands().Top, (TiPlotLayoutBands::TObjects{title, bar}));
  EXPECT_EQ(layout->Bands().Bottom, (TiPlotLayoutBands::TObjects{x}));
  EXPECT_EQ(layout->Bands().Left, (TiPlotLayoutBands::TObjects{y}));
  EXPECT_EQ(layout->Bands().Right, (TiPlotLayoutBands::TObjects{legend}));
  EXPECT_EQ(layout->TopBandCount(), 2);
  // The data view follows its own changes but never enters a band.
  EXPECT_TRUE(dataView->GetOnLayoutChange());
}

TEST_F(LayoutDefaultPlot, PlacesToolbarAtTheTopAndTheRestAroundTheDataView) {
  Place();
  // Data view: left 5 + 2 + 40, top 5 + 2 + 36 + title, right 500 - (5 + 2 + 80) - 1, bottom
  // 200 - (5 + 2 + 30) - 1.
  const int32_t dvTop = 7 + 36 + lh;
  EXPECT_EQ(bar->GetLayoutRect(), (TRect{2, 2, 497, 38}));
  EXPECT_EQ(title->GetLayoutRect(), (TRect{7, dvTop - lh, 495, dvTop}));
  EXPECT_EQ(y->GetLayoutRect().Left, 7);
  EXPECT_EQ(y->GetLayoutRect().Right, 47);
  EXPECT_EQ(legend->GetLayoutRect(), (TRect{412, dvTop, 492, 162}));
  EXPECT_EQ(x->GetLayoutRect().Top, 162);
  EXPECT_EQ(x->GetLayoutRect().Bottom, 192);
  // The placeholders get nothing; the data view ends as the envelope of the axes' scales.
  EXPECT_EQ(layout->GetDataViewHorz()->GetLayoutRect(), (TRect{0, 0, 0, 0}));
}

TEST_F(LayoutDefaultPlot, ALoneToolbarLeavesRoomForTheVerticalEndsBelowIt) {
  title->SetVisible(false);
  Place();
  // A = the Y axis's end room 6: the data view's top is 5 + 2 + 36 + 6.
  EXPECT_EQ(bar->GetLayoutRect(), (TRect{2, 2, 497, 38}));
  EXPECT_EQ(legend->GetLayoutRect().Top, 49);
  EXPECT_EQ(layout->PlacedBands().Top, (TiPlotLayoutBands::TObjects{bar}));
}

TEST_F(LayoutDefaultPlot, AnInvisibleLegendTakesNoRoom) {
  legend->SetVisible(false);
  Place();
  // The right side keeps only the X axis's end room.
  EXPECT_EQ(title->GetLayoutRect().Right, 495);
  EXPECT_EQ(x->GetLayoutRect().Bottom, 192);
  EXPECT_TRUE(layout->PlacedBands().Right.empty());
  // Along its band it still follows the data view.
  EXPECT_EQ(legend->GetLayoutRect().Bottom, 162);
}

}  // namespace
