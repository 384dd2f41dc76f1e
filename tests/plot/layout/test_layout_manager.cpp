// The layout manager: placeholders, numbering as objects come and go, activation, re-layout on
// an object's own changes, and the placement of labels along their band.
#include <gtest/gtest.h>

#include "plot/iPlotLabel.h"
#include "tests/plot/layout/LayoutTestUtil.h"
#include "tests/plot/support/PlotTestCanvas.h"

using layout_test::TStandIn;

namespace {

struct LayoutManagerFixture : ::testing::Test, layout_test::TLayoutHarness {};

TEST_F(LayoutManagerFixture, StartsActiveWithBothPlaceholdersInBandOne) {
  EXPECT_TRUE(layout->GetActive());
  EXPECT_EQ(layout->GetBaseName(), "Layout Object");
  ASSERT_EQ(layout->Count(), 2);
  EXPECT_EQ(inserted, 2);
  EXPECT_TRUE(layout->GetDataViewHorz()->GetHorizontal());
  EXPECT_FALSE(layout->GetDataViewVert()->GetHorizontal());
  EXPECT_EQ(HorzZ(), 1);
  EXPECT_EQ(layout->GetDataViewVert()->GetZOrder(), 1);
  EXPECT_EQ(layout->GetDataViewHorz()->GetName(), "Data View");
  EXPECT_EQ(layout->GetDataViewVert()->GetName(), "Data View");
  // The placeholders stay out of the band lists and have no layout-change handler.
  EXPECT_EQ(layout->BottomBandCount() + layout->TopBandCount() + layout->LeftBandCount(), 0);
  EXPECT_FALSE(layout->GetDataViewHorz()->GetOnLayoutChange());
  EXPECT_THROW(layout->CreateObject(), Exception);
}

TEST_F(LayoutManagerFixture, AnObjectAddedWhileActiveOpensBandZeroBelow) {
  TStandIn* first = Add(true);
  EXPECT_EQ(first->GetZOrder(), 0);
  EXPECT_EQ(HorzZ(), 1);
  // A second full span cannot share band 0: everything horizontal moves up one band.
  TStandIn* second = Add(true);
  EXPECT_EQ(second->GetZOrder(), 0);
  EXPECT_EQ(first->GetZOrder(), 1);
  EXPECT_EQ(HorzZ(), 2);
  EXPECT_EQ(layout->Bands().Bottom, (TiPlotLayoutBands::TObjects{second, first}));
  EXPECT_EQ(layout->BottomBandCount(), 2);
  // Halves share a band.
  TStandIn* half = Add(false, 0, 50);
  TStandIn* other = Add(false, 50, 100);
  EXPECT_EQ(half->GetZOrder(), 0);
  EXPECT_EQ(other->GetZOrder(), 0);
  EXPECT_EQ(layout->LeftBandCount(), 1);

  // Removing the only object of a band closes the gap, the placeholder included.
  Free(second);
  EXPECT_EQ(first->GetZOrder(), 0);
  EXPECT_EQ(HorzZ(), 1);
  EXPECT_EQ(layout->Bands().Bottom, (TiPlotLayoutBands::TObjects{first}));
  // Removing one of two sharing a band moves nothing.
  Free(half);
  EXPECT_EQ(layout->GetDataViewVert()->GetZOrder(), 1);
  EXPECT_EQ(other->GetZOrder(), 0);
}

TEST_F(LayoutManagerFixture, InactiveLayoutKeepsStoredBandsUntilReactivated) {
  layout->SetActive(false);
  TStandIn* stored = Add(true);
  stored->SetZOrder(4);
  EXPECT_EQ(stored->GetZOrder(), 4);
  EXPECT_TRUE(layout->Bands().Top.empty());
  layout->SetActive(true);
  EXPECT_EQ(layout->Bands().Top, (TiPlotLayoutBands::TObjects{stored}));
  EXPECT_TRUE(stored->GetAfterDataView());
  // An object's own layout change re-sorts at once; a placeholder's waits for the next re-layout.
  stored->SetZOrder(0);
  EXPECT_EQ(layout->Bands().Bottom, (TiPlotLayoutBands::TObjects{stored}));
  layout->GetDataViewHorz()->SetZOrder(-1);
  EXPECT_EQ(layout->Bands().Bottom.size(), 1u);
  layout->Relayout();
  EXPECT_EQ(layout->Bands().Top, (TiPlotLayoutBands::TObjects{stored}));
}

TEST_F(LayoutManagerFixture, InsertAtAndCloseGapRenumberThroughTheManager) {
  TStandIn* a = Add(true);
  TStandIn* b = Add(true, 0, 50);  // opens band 0 below a
  layout->InsertAt(b, 1, 2);       // mode 2: a band just above band 1
  EXPECT_EQ(b->GetZOrder(), 2);
  EXPECT_EQ(a->GetZOrder(), 1);
  EXPECT_EQ(HorzZ(), 3);
  EXPECT_EQ(layout->Bands().Bottom, (TiPlotLayoutBands::TObjects{a, b}));
  b->SetZOrder(0);
  layout->CloseGap(b);  // alone in band 0: every band above moves down one
  EXPECT_EQ(a->GetZOrder(), 0);
  EXPECT_EQ(HorzZ(), 2);
}

TEST_F(LayoutManagerFixture, LabelsSpanTheControlLessBorderAndMargins) {
  auto* title = Add<TiPlotLabel>(true);
  plot_test::UseFixedFont(title->GetFont());
  title->SetCaption("Untitled");
  title->SetStartPercent(10);
  title->SetStopPercent(60);
  auto* side = Add<TiPlotLabel>(false);
  plot_test::UseFixedFont(side->GetFont());
  side->SetCaption("Volts");
  side->SetStartPercent(25);
  layout->InsertAt(title, 2, 1);  // above the data view
  plot_test::TPlotTestCanvas canvas;
  TStandIn dataView(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange);  // data view 0
  layout->PlaceObjects(canvas.Canvas(), TiPlotPlaceArea{500, 200, 2, 5, 5, 5, 5}, &dataView);
  const int32_t lh = canvas.LineHeight(title->GetFont());
  // Along: D + OML + Round(percent/100 x (Width - D - OML - OMR)) = 7 + Round(0.1 x 488) ...
  EXPECT_EQ(title->GetLayoutRect().Left, 7 + 49);
  EXPECT_EQ(title->GetLayoutRect().Right, 7 + 293);
  // Across: the title's band lies on the data view's top, which the title's height pushes down.
  EXPECT_EQ(title->GetLayoutRect().Bottom, 5 + 2 + lh);
  EXPECT_EQ(title->GetLayoutRect().Top, 5 + 2);
  // The side label stands left of the data view; along it, bottom-up by percent of its height.
  const int32_t left = 5 + 2 + lh;
  EXPECT_EQ(side->GetLayoutRect().Left, 5 + 2);
  EXPECT_EQ(side->GetLayoutRect().Right, left);
  const int32_t dvTop = 5 + 2 + lh, dvBottom = 200 - 7 - 1, hgt = dvBottom - dvTop;
  EXPECT_EQ(side->GetLayoutRect().Bottom, dvBottom - int32_t(std::nearbyint(hgt * 0.25)));
  EXPECT_EQ(side->GetLayoutRect().Top, dvBottom - hgt);
  // Without axes the data view ends as the empty envelope.
  EXPECT_EQ(dataView.GetLayoutRect(), (TRect{500, 200, 0, 0}));
}

}  // namespace
