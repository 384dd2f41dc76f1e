// Band numbering, band lists, neighbour flags and the placement pass on stand-in objects.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/plot/layout/LayoutTestUtil.h"
#include "tests/plot/support/PlotTestCanvas.h"

using layout_test::TObjectSet;
using layout_test::TStandIn;

namespace {

// ---- InsertAt ----------------------------------------------------------------------------------

struct InsertCase {
  const char* what;
  double aStart, aStop;  // A, horizontal, band 0
  double nStart, nStop;  // N, horizontal, the object inserted
  int32_t value, mode;
  int32_t n, a, horz, b;  // expected bands of N, A, the horizontal placeholder and B (band 2)
};

class LayoutInsertAt : public ::testing::TestWithParam<InsertCase> {};

TEST_P(LayoutInsertAt, NumbersBands) {
  const InsertCase& c = GetParam();
  TObjectSet set;
  set.MakePlaceholders();
  TStandIn* a = set.Make(true, 0, c.aStart, c.aStop);
  TStandIn* b = set.Make(true, 2);
  TStandIn* v = set.Make(false, 0);  // vertical: never moved by horizontal numbering
  TStandIn* n = set.Make(true, 9, c.nStart, c.nStop);
  TiPlotLayoutBands::InsertAt(set.All(), n, c.value, c.mode);
  EXPECT_EQ(n->GetZOrder(), c.n);
  EXPECT_EQ(a->GetZOrder(), c.a);
  EXPECT_EQ(set.Horz->GetZOrder(), c.horz);
  EXPECT_EQ(b->GetZOrder(), c.b);
  EXPECT_EQ(v->GetZOrder(), 0);
  EXPECT_EQ(set.Vert->GetZOrder(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LayoutInsertAt,
    ::testing::Values(InsertCase{"full spans cannot share: a band opens at 0", 0, 100, 0, 100, 0, 0, 0, 1, 2,
                                 3},
                      InsertCase{"halves share band 0", 50, 100, 0, 50, 0, 0, 0, 0, 1, 2},
                      InsertCase{"touching ends do not overlap", 0, 50, 50, 100, 0, 0, 0, 0, 1, 2},
                      InsertCase{"equal empty spans overlap", 30, 30, 30, 30, 0, 0, 0, 1, 2, 3},
                      InsertCase{"an empty band is taken as it is", 0, 100, 0, 100, 5, 0, 5, 0, 1, 2},
                      InsertCase{"the data view's band is never shared", 0, 100, 0, 50, 1, 0, 1, 0, 2, 3},
                      InsertCase{"mode 1 opens a band even where N fits", 50, 100, 0, 50, 0, 1, 0, 1, 2, 3},
                      InsertCase{"mode 2 opens a band above the value", 0, 100, 0, 100, 0, 2, 1, 0, 2, 3},
                      InsertCase{"other modes change nothing", 0, 100, 0, 100, 0, 3, 9, 0, 1, 2}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LayoutCloseGap, MovesHigherBandsDownOnlyWhenTheBandEmptied) {
  TObjectSet set;
  set.MakePlaceholders();
  TStandIn* n = set.Make(true, 0);
  TStandIn* b = set.Make(true, 2);
  TStandIn* v = set.Make(false, 3);
  TiPlotLayoutBands::CloseGap(set.All(), n);
  EXPECT_EQ(set.Horz->GetZOrder(), 0);
  EXPECT_EQ(b->GetZOrder(), 1);
  EXPECT_EQ(v->GetZOrder(), 3);
  EXPECT_EQ(set.Vert->GetZOrder(), 1);

  // A band still holding another object stays.
  TStandIn* m = set.Make(true, 1, 0, 50);
  TiPlotLayoutBands::CloseGap(set.All(), m);
  EXPECT_EQ(b->GetZOrder(), 1);
  EXPECT_EQ(set.Horz->GetZOrder(), 0);
}

// ---- band lists ----------------------------------------------------------------------------------

TEST(LayoutBands, SortsByBandThenStartWithLaterObjectsFirst) {
  TObjectSet set;
  set.MakePlaceholders();
  TStandIn* p = set.Make(true, 0, 50, 100);
  TStandIn* q = set.Make(true, 0, 0, 50);
  TStandIn* r = set.Make(true, 2);
  TStandIn* s = set.Make(true, 1000);  // beyond three digits: still after band 10
  TStandIn* t = set.Make(true, 10);
  TStandIn* u = set.Make(true, 0, 0, 40);  // equal key to q, made later: goes first
  TStandIn* v1 = set.Make(false, -1);
  TStandIn* v2 = set.Make(false, 0);
  TStandIn* w = set.Make(false, 3);

  TiPlotLayoutBands bands;
  bands.Sort(set.All(), set.Horz, set.Vert);
  EXPECT_EQ(bands.Bottom, (TiPlotLayoutBands::TObjects{u, q, p}));
  EXPECT_EQ(bands.Top, (TiPlotLayoutBands::TObjects{r, t, s}));
  EXPECT_EQ(bands.Left, (TiPlotLayoutBands::TObjects{v1, v2}));
  EXPECT_EQ(bands.Right, (TiPlotLayoutBands::TObjects{w}));
  EXPECT_EQ(bands.BottomCount, 1);
  EXPECT_EQ(bands.TopCount, 3);
  EXPECT_EQ(bands.LeftCount, 2);
  EXPECT_EQ(bands.RightCount, 1);
  EXPECT_TRUE(r->GetAfterDataView());
  EXPECT_TRUE(w->GetAfterDataView());
  EXPECT_FALSE(q->GetAfterDataView());
  EXPECT_FALSE(v2->GetAfterDataView());

  // Invisible objects are listed too; a removed one leaves every list.
  t->SetVisible(false);
  bands.Sort(set.All(), set.Horz, set.Vert);
  EXPECT_EQ(bands.TopCount, 3);
  bands.Remove(t);
  EXPECT_EQ(bands.Top, (TiPlotLayoutBands::TObjects{r, s}));
}

// ---- neighbour flags -------------------------------------------------------------------------------

TEST(LayoutNeighbours, SharedBandsLinkNeighboursAndForcedStackingMarksBoth) {
  TObjectSet set;
  set.MakePlaceholders();
  TStandIn* x1 = set.Make(true, 0, 0, 50);
  TStandIn* x2 = set.Make(true, 0, 50, 100);
  TStandIn* x3 = set.Make(false, 0, 0, 100);
  x1->EndMargin = 10;
  x2->EndMargin = 12;
  TiPlotLayoutBands bands;
  bands.Sort(set.All(), set.Horz, set.Vert);
  plot_test::TPlotTestCanvas canvas;
  TiPlotLayoutBands placed;
  placed.Place(canvas.Canvas(), TiPlotPlaceArea{500, 200, 2, 5, 5, 5, 5}, bands, set.All(), nullptr, false);
  EXPECT_FALSE(x1->GetHasPrevNeighbour());
  EXPECT_TRUE(x1->GetHasNextNeighbour());
  EXPECT_TRUE(x2->GetHasPrevNeighbour());
  EXPECT_FALSE(x2->GetHasNextNeighbour());
  EXPECT_FALSE(x3->GetHasPrevNeighbour());
  EXPECT_FALSE(x3->GetHasNextNeighbour());
  // Only the outer ends need room: the left one's 10 on the left, the right one's 12 on the right
  // (the vertical objects' edges show the data view's sides).
  TStandIn* right = set.Make(false, 2);
  bands.Sort(set.All(), set.Horz, set.Vert);
  placed.Place(canvas.Canvas(), TiPlotPlaceArea{500, 200, 2, 5, 5, 5, 5}, bands, set.All(), nullptr, false);
  EXPECT_EQ(x3->GetLayoutRect().Right, 5 + 2 + 10);
  EXPECT_EQ(right->GetLayoutRect().Left, 500 - (5 + 2 + 12) - 1);

  x3->SetForceStacking(true);
  placed.Place(canvas.Canvas(), TiPlotPlaceArea{500, 200, 2, 5, 5, 5, 5}, bands, set.All(), nullptr, false);
  EXPECT_TRUE(x3->GetHasPrevNeighbour());
  EXPECT_TRUE(x3->GetHasNextNeighbour());
}

// ---- placement ---------------------------------------------------------------------------------------

// A default-like arrangement on 500 x 200 with a border and margins of 5: two bands above, one
// below, one left and one right of the data view.
struct LayoutPlaceFixture : ::testing::Test {
  LayoutPlaceFixture() {
    set.MakePlaceholders();
    x = set.Make(true, 0);
    x->Thickness = 30;
    x->EndMargin = 10;
    y = set.Make(false, 0);
    y->Thickness = 40;
    y->EndMargin = 6;
    legend = set.Make(false, 2);
    legend->Thickness = 80;
    title = set.Make(true, 2);
    title->Thickness = 20;
    bar = set.Make(true, 3);
    bar->Thickness = 36;
  }
  void Place(TiPlotPlaceArea Area = TiPlotPlaceArea{500, 200, 2, 5, 5, 5, 5}) {
    bands.Sort(set.All(), set.Horz, set.Vert);
    placed.Place(canvas.Canvas(), Area, bands, set.All(), nullptr, false);
  }
  TObjectSet set;
  TStandIn *x, *y, *legend, *title, *bar;
  TiPlotLayoutBands bands, placed;
  plot_test::TPlotTestCanvas canvas;
};

TEST_F(LayoutPlaceFixture, StacksBandsAcrossFromTheDataView) {
  // Reserves: left max(40, overhang 10 of the X band) = 40; right 80; top 20 + 36 = 56; bottom 30.
  // The data view is (47, 63, 412, 162).
  Place();
  EXPECT_EQ(y->GetLayoutRect().Left, 7);
  EXPECT_EQ(y->GetLayoutRect().Right, 47);
  EXPECT_EQ(legend->GetLayoutRect().Left, 412);
  EXPECT_EQ(legend->GetLayoutRect().Right, 492);
  EXPECT_EQ(title->GetLayoutRect().Top, 43);
  EXPECT_EQ(title->GetLayoutRect().Bottom, 63);
  EXPECT_EQ(bar->GetLayoutRect().Top, 7);
  EXPECT_EQ(bar->GetLayoutRect().Bottom, 43);
  EXPECT_EQ(x->GetLayoutRect().Top, 162);
  EXPECT_EQ(x->GetLayoutRect().Bottom, 192);
}

TEST_F(LayoutPlaceFixture, EndRoomWidensTheReservesWhereNoBandIsThicker) {
  x->EndMargin = 60;  // beyond the Y band (40) on the left, below the legend (80) on the right
  y->EndMargin = 70;  // beyond the top stack (56), beyond the X band (30) below
  Place();
  EXPECT_EQ(y->GetLayoutRect().Right, 5 + 2 + 60);
  EXPECT_EQ(legend->GetLayoutRect().Left, 500 - (5 + 2 + 80) - 1);
  EXPECT_EQ(title->GetLayoutRect().Bottom, 5 + 2 + 70);
  EXPECT_EQ(x->GetLayoutRect().Top, 200 - (5 + 2 + 70) - 1);
}

TEST_F(LayoutPlaceFixture, InvisibleObjectsTakeNoRoom) {
  TStandIn* second = set.Make(false, 2);
  second->Thickness = 50;
  legend->SetVisible(false);
  Place();
  EXPECT_EQ(second->GetLayoutRect().Left, 500 - (5 + 2 + 50) - 1);
  EXPECT_EQ(second->GetLayoutRect().Right, 500 - 5 - 2 - 1);
  legend->SetVisible(true);
  Place();
  EXPECT_EQ(second->GetLayoutRect().Left, 412);
  EXPECT_EQ(second->GetLayoutRect().Right, 492);  // the band is as thick as the legend
  EXPECT_EQ(placed.Right.size(), 2u);
}

TEST_F(LayoutPlaceFixture, BrokenSizesRaiseInsteadOfWrapping) {
  // Sizes of nothing or next to nothing still place.
  EXPECT_NO_THROW(Place(TiPlotPlaceArea{0, 0, 0, 0, 0, 0, 0}));
  EXPECT_NO_THROW(Place(TiPlotPlaceArea{1, 1, 2, 0, 0, 0, 0}));
  // Room beyond 32 bits is refused with the framework's error.
  legend->Thickness = std::numeric_limits<int32_t>::max();
  TStandIn* more = set.Make(false, 3);
  more->Thickness = std::numeric_limits<int32_t>::max();
  EXPECT_THROW(Place(), EIntOverflow);
  EXPECT_THROW(Place(TiPlotPlaceArea{500, 200, 2, std::numeric_limits<int32_t>::max(), 5, 5, 5}),
               EIntOverflow);
}

TEST(LayoutPixels, RoundHalvesToEvenAndRefuseWhatNoPixelHolds) {
  EXPECT_EQ(PlotRoundPixel(2.5), 2);
  EXPECT_EQ(PlotRoundPixel(3.5), 4);
  EXPECT_EQ(PlotRoundPixel(-2.5), -2);
  EXPECT_THROW(PlotRoundPixel(std::nan("")), EInvalidOp);
  EXPECT_THROW(PlotRoundPixel(HUGE_VAL), EInvalidOp);
  EXPECT_THROW(PlotRoundPixel(3e9), EInvalidOp);
  EXPECT_THROW(PlotPixel(int64_t(1) << 40), EIntOverflow);
}

}  // namespace
