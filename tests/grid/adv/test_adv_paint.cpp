// Painting of the advanced grid: the colour and alignment events asked for every cell, bands,
// fixed cells, the selection, the first line only, links, and the update lock; with a screenshot.
#include <map>

#include "grid/AdvGrid.h"
#include "tests/grid/support/GridFixture.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

class AdvPaint : public GridFixture {
 protected:
  // A 5 x 6 grid of 60 x 20 cells, plain colours, not focused.
  TAdvStringGrid* Grid() {
    auto* g = NewGrid<TAdvStringGrid>(5, 6, Bounds(10, 10, 320, 140));
    g->SetDefaultColWidth(60);
    g->SetDefaultRowHeight(20);
    g->SetColor(clWhite);
    g->SetFixedColor(TColor(0xCECECE));
    // The focus on another control: no focus rectangle in the grid.
    auto* other = Make<TRecControl>(form_, form_, "Other", Bounds(450, 350, 20, 20));
    other->SetTabStop(true);
    other->SetFocus();
    Pump();
    return g;
  }
  // A point inside cell (c, r), away from lines and text.
  uint32_t CellPx(TAdvStringGrid* g, int32_t c, int32_t r) { return Px(g, c * 60 + 50, r * 20 + 16); }
  void Repaint(TAdvStringGrid* g) {
    g->Invalidate();
    Paint(g);
  }
};

TEST_F(AdvPaint, EveryCellAsksColourAndAlignmentTwiceAndShowsTheAnswers) {
  TAdvStringGrid* g = Grid();
  std::map<std::string, int> colours, aligns;
  g->OnGetCellColor = TGridColorEvent::Lambda(
      [&](TObject*, int32_t r, int32_t c, TGridDrawState, TBrush* brush, TFont* font) {
        ++colours[Coord(c, r)];
        if (r == 2 && c >= 1) brush->SetColor(clYellow);
        if (r == 3 && c == 2) font->SetColor(clRed);
      });
  g->OnGetAlignment =
      TGridAlignEvent::Lambda([&](TObject*, int32_t r, int32_t c, TAlignment& h, TVAlignment&) {
        ++aligns[Coord(c, r)];
        if (c == 3) h = taRightJustify;
      });
  g->SetCells(2, 3, "WWWW");
  g->SetCells(3, 4, "WWWW");
  g->SetSelection({4, 5, 4, 5});
  Repaint(g);
  EXPECT_EQ(colours["(2,3)"], 2) << "once for the fill, once for the content";
  EXPECT_EQ(aligns["(2,3)"], 2);
  EXPECT_EQ(colours["(0,0)"], 2) << "fixed cells too";
  EXPECT_EQ(CellPx(g, 1, 2), RgbOf(clYellow));
  EXPECT_EQ(CellPx(g, 1, 1), RgbOf(clWhite));
  EXPECT_EQ(CellPx(g, 0, 1), 0xCECECEu) << "fixed cell";
  EXPECT_EQ(CellPx(g, 4, 5), RgbOf(clHighlight)) << "the selection";

  // Red text in (2,3) from its left margin; right-aligned text in (3,4) near its right edge.
  auto hasColour = [&](int32_t x0, int32_t x1, int32_t y0, int32_t y1, uint32_t rgb) {
    for (int32_t x = x0; x < x1; ++x)
      for (int32_t y = y0; y < y1; ++y)
        if (Px(g, x, y) == rgb) return true;
    return false;
  };
  EXPECT_TRUE(hasColour(122, 140, 62, 78, RgbOf(clRed)));
  bool leftBlank =
      !hasColour(181, 190, 82, 98, 0x000000) && !hasColour(181, 190, 82, 98, RgbOf(clWindowText));
  EXPECT_TRUE(leftBlank) << "right-aligned text leaves the cell's left side empty";

  // Turning the selection colours off shows the cell's own colour.
  g->SetShowSelection(false);
  Repaint(g);
  EXPECT_EQ(CellPx(g, 4, 5), RgbOf(clWhite));
}

TEST_F(AdvPaint, BandsColourOnlyScrollingRows) {
  TAdvStringGrid* g = Grid();
  TBands* b = g->GetBands();
  b->SetPrimaryColor(clAqua);
  b->SetSecondaryColor(clLime);
  b->SetPrimaryLength(2);
  b->SetSecondaryLength(1);
  b->SetActive(true);
  g->SetFixedFooters(1);
  g->SetSelection({5, 6, 5, 6});
  Repaint(g);
  struct Case {
    int32_t c, r;
    TColor colour;
  } cases[] = {{1, 1, clAqua},           {1, 2, clAqua},           {1, 3, clLime},          {1, 4, clAqua},
               {0, 2, TColor(0xCECECE)}, {1, 0, TColor(0xCECECE)}, {2, 5, TColor(0xCECECE)}};
  for (const Case& c : cases) EXPECT_EQ(CellPx(g, c.c, c.r), RgbOf(c.colour)) << Coord(c.c, c.r);
  // Lengths adding up to nothing switch the bands off instead of dividing by zero.
  b->SetPrimaryLength(0);
  b->SetSecondaryLength(0);
  Repaint(g);
  EXPECT_EQ(CellPx(g, 1, 1), RgbOf(clWhite));
}

TEST_F(AdvPaint, PlainTextShowsItsFirstLineAndLinksWithoutTheirScheme) {
  TAdvStringGrid* g = Grid();
  g->SetDefaultColWidth(120);
  g->SetSelection({5, 6, 5, 6});
  g->SetCells(1, 1, "top\rbottom");
  g->SetCells(1, 2, "http://x.org");
  Repaint(g);
  // Only the first line: nothing drawn in the lower half of a 20-pixel row at the text's left.
  auto inked = [&](int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    for (int32_t x = x0; x < x1; ++x)
      for (int32_t y = y0; y < y1; ++y)
        if (Px(g, x, y) != RgbOf(clWhite) && Px(g, x, y) != RgbOf(clSilver)) return true;
    return false;
  };
  EXPECT_TRUE(inked(122, 160, 22, 36));
  g->SetRowHeights(1, 40);
  Repaint(g);
  EXPECT_FALSE(inked(122, 200, 42, 58)) << "the second line is not shown";

  auto blueInk = [&](int32_t y0, int32_t y1) {
    int n = 0;
    for (int32_t x = 122; x < 238; ++x)
      for (int32_t y = y0; y < y1; ++y) n += Px(g, x, y) == RgbOf(clBlue);
    return n;
  };
  EXPECT_EQ(blueInk(62, 80), 0) << "links are plain text unless shown as links";
  g->SetURLShow(true);
  Repaint(g);
  EXPECT_GT(blueInk(62, 80), 0);
}

TEST_F(AdvPaint, BackgroundPictureTilesNormalCellsButNotTheSelection) {
  TAdvStringGrid* g = Grid();
  TBitmap bmp;
  bmp.SetSize(8, 8);
  bmp.GetCanvas()->GetBrush()->SetColor(clTeal);
  bmp.GetCanvas()->FillRect(TRect{0, 0, 8, 8});
  g->GetBackGround()->SetBitmap(&bmp);
  g->SetSelection({3, 3, 3, 3});
  Repaint(g);
  EXPECT_EQ(CellPx(g, 1, 1), RgbOf(clTeal));
  EXPECT_EQ(CellPx(g, 0, 1), 0xCECECEu) << "fixed cells only with bcFixed or bcAll";
  EXPECT_EQ(CellPx(g, 3, 3), RgbOf(clHighlight)) << "a selected cell shows no picture";
  g->GetBackGround()->SetCells(bcAll);
  Repaint(g);
  EXPECT_EQ(CellPx(g, 0, 1), RgbOf(clTeal));
}

TEST_F(AdvPaint, WideTextIsDrawn) {
  TAdvStringGrid* g = Grid();
  g->SetSelection({5, 6, 5, 6});
  g->SetWideCell(1, 1, u"\u20AC\u20AC\u20AC");
  Repaint(g);
  bool ink = false;
  for (int32_t x = 62; x < 100; ++x)
    for (int32_t y = 22; y < 38; ++y) ink |= Px(g, x, y) != RgbOf(clWhite) && Px(g, x, y) != RgbOf(clSilver);
  EXPECT_TRUE(ink);
  bool bars = false;  // the stored byte pairs are not shown as text
  for (int32_t x = 100; x < 118; ++x)
    for (int32_t y = 22; y < 38; ++y) bars |= Px(g, x, y) != RgbOf(clWhite) && Px(g, x, y) != RgbOf(clSilver);
  EXPECT_FALSE(bars);
}

TEST_F(AdvPaint, AnErrorRangeIsUnderlinedInRed) {
  TAdvStringGrid* g = Grid();
  g->SetDefaultColWidth(120);
  g->SetSelection({5, 6, 5, 6});
  g->SetCells(1, 1, "good bad");
  TCellGraphic* mark = g->CreateCellGraphic(1, 1);
  mark->CellErrFrom = 5;
  mark->CellErrLen = 3;
  Repaint(g);
  const int32_t badX = 120 + 2 + g->GetCanvas()->TextWidth("good ");
  int redLeft = 0, redRight = 0;
  for (int32_t y = 20; y < 40; ++y) {
    for (int32_t x = 122; x < badX - 2; ++x) redLeft += Px(g, x, y) == RgbOf(clRed);
    for (int32_t x = badX + 1; x < badX + 12; ++x) redRight += Px(g, x, y) == RgbOf(clRed);
  }
  EXPECT_EQ(redLeft, 0);
  EXPECT_GT(redRight, 0);
}

TEST_F(AdvPaint, SoftLookFramesTheWindowInGreyAndDefaultDrawingChangesNothing) {
  TAdvStringGrid* g = Grid();
  g->SetBorderStyle(bsSingle);
  g->SetSelection({5, 6, 5, 6});
  Repaint(g);
  Pump();
  const TPoint corner = form_->ClientToScreen({g->GetLeft(), g->GetTop()});
  EXPECT_EQ(ScreenPixel({corner.X + 1, corner.Y + 20}), 0x808080u) << "grey one pixel inside the edge";
  EXPECT_EQ(ScreenPixel({corner.X, corner.Y + 20}), RgbOf(form_->GetColor()))
      << "the parent's colour outside";

  g->SetCells(1, 1, "text");
  Repaint(g);
  std::vector<uint32_t> before;
  for (int32_t x = 60; x < 120; ++x) before.push_back(Px(g, x, 30));
  g->SetDefaultDrawing(!g->GetDefaultDrawing());
  Repaint(g);
  std::vector<uint32_t> after;
  for (int32_t x = 60; x < 120; ++x) after.push_back(Px(g, x, 30));
  EXPECT_EQ(before, after);
}

TEST_F(AdvPaint, FocusRectangleOnlyWhileTheGridHasTheFocusAndActiveHeaders) {
  TAdvStringGrid* g = Grid();
  g->SetCol(2);
  g->SetRow(2);
  auto topEdge = [&] {
    std::vector<uint32_t> v;
    for (int32_t x = 120; x < 180; ++x) v.push_back(Px(g, x, 40));
    return v;
  };
  Repaint(g);
  const auto unfocused = topEdge();
  g->SetFocus();
  Pump();
  ASSERT_TRUE(g->Focused());
  Repaint(g);
  EXPECT_NE(topEdge(), unfocused) << "the focus rectangle";
  g->SetHideFocusRect(true);
  Repaint(g);
  EXPECT_EQ(topEdge(), unfocused);

  g->SetActiveCellShow(true);
  g->SetActiveCellColor(clMaroon);
  Repaint(g);
  EXPECT_EQ(CellPx(g, 2, 0), RgbOf(clMaroon)) << "the current column's header";
  EXPECT_EQ(CellPx(g, 0, 2), RgbOf(clMaroon)) << "the current row's header";
  EXPECT_EQ(CellPx(g, 1, 0), 0xCECECEu);
  g->SetRow(3);
  Repaint(g);
  EXPECT_EQ(CellPx(g, 0, 3), RgbOf(clMaroon));
  EXPECT_EQ(CellPx(g, 0, 2), 0xCECECEu);
}

TEST_F(AdvPaint, NothingPaintsUnderTheUpdateLock) {
  TAdvStringGrid* g = Grid();
  g->SetSelection({5, 6, 5, 6});
  Repaint(g);
  int asked = 0;
  g->OnGetCellColor =
      TGridColorEvent::Lambda([&](TObject*, int32_t, int32_t, TGridDrawState, TBrush* b, TFont*) {
        ++asked;
        b->SetColor(clFuchsia);
      });
  g->LockUpdate();
  g->LockUpdate();
  Repaint(g);
  g->UnlockUpdate();
  Paint(g);
  EXPECT_EQ(asked, 0) << "one unlock of two paints nothing";
  EXPECT_EQ(g->UpdateCount(), 1);
  g->UnlockUpdate();
  Paint(g);
  EXPECT_GT(asked, 0);
  EXPECT_EQ(CellPx(g, 2, 2), RgbOf(clFuchsia));
  g->UnlockUpdate();
  EXPECT_EQ(g->UpdateCount(), 0) << "unlocking at 0 stays at 0";
}

TEST_F(AdvPaint, ScreenshotOfColouredCellsAndRows) {
  TAdvStringGrid* g = Grid();
  g->SetColCount(4);
  g->SetRowCount(6);
  g->SetDefaultColWidth(75);
  const char* heads[] = {"No", "Voltage", "Current", "Result"};
  for (int32_t c = 0; c < 4; ++c) g->SetCells(c, 0, heads[c]);
  for (int32_t r = 1; r < 6; ++r) {
    g->SetCells(0, r, std::to_string(r));
    g->SetCells(1, r, std::to_string(r) + ".50");
    g->SetCells(2, r, "0.1" + std::to_string(r));
    g->SetCells(3, r, r % 2 ? "GO" : "NG");
  }
  g->OnGetCellColor = TGridColorEvent::Lambda(
      [g](TObject*, int32_t r, int32_t c, TGridDrawState, TBrush* brush, TFont* font) {
        if (r > 0 && c == 3) {
          bool go = g->GetCells(3, r) == "GO";
          brush->SetColor(go ? TColor(0x80FF80) : TColor(0x8080FF));
          font->SetStyle({fsBold});
        } else if (r == 2) {
          brush->SetColor(TColor(0xC0FFFF));
        }
      });
  g->OnGetAlignment =
      TGridAlignEvent::Lambda([](TObject*, int32_t r, int32_t c, TAlignment& h, TVAlignment& v) {
        if (r > 0 && (c == 1 || c == 2)) h = taRightJustify;
        if (c == 3) h = taCenter;
        v = vtaCenter;
      });
  g->SetSelection({1, 4, 2, 4});
  Repaint(g);
  EXPECT_EQ(Px(g, 3 * 75 + 5, 1 * 20 + 3), 0x80FF80u);
  EXPECT_EQ(Px(g, 3 * 75 + 5, 2 * 20 + 3), 0xFF8080u);
  EXPECT_EQ(Px(g, 1 * 75 + 5, 2 * 20 + 3), 0xFFFFC0u);
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("grid-adv-colours.png")));
}

}  // namespace
}  // namespace adv_grid_test
