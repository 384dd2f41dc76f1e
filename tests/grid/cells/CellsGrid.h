// Test support for the grid's cell graphics and mouse: a grid whose entry points for sorting and
// the markup renderer answer as a test sets them and note their calls, solid glyphs, a search
// for a colour's bounding box on the screen, and clicks on the fake clock.
#pragma once

#include <string>
#include <vector>

#include "grid/AdvGrid.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {

class TCellsGrid : public TAdvStringGrid {
 public:
  explicit TCellsGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
  TSortGlyphState Sort;
  // The markup found under any point of a markup cell; none while Hit.Anchor and CtrlType are empty.
  TMarkupHit Hit;
  std::vector<std::string> Calls;
  std::vector<std::string> Painted;

  TSortGlyphState SortGlyphState() override { return Sort; }
  bool MarkupHitTest(int32_t, int32_t, TRect, int32_t, int32_t, TMarkupHit& H) override {
    if (Hit.Anchor.empty() && Hit.CtrlType.empty()) return false;
    H = Hit;
    return true;
  }
  bool SetCellControlValue(int32_t ACol, int32_t ARow, const AnsiString& Id,
                           const AnsiString& Value) override {
    Calls.push_back("SetControl" + Coord(ACol, ARow) + Id + "=" + Value);
    return true;
  }
  void HeaderClickSort(int32_t ACol, int32_t ARow, int32_t DownRow, TShiftState) override {
    Calls.push_back("Sort" + Coord(ACol, ARow) + std::to_string(DownRow));
  }
  void AutoSizeColumn(int32_t ACol) override { Calls.push_back("AutoSize" + std::to_string(ACol)); }
  void SortColumnsMoved(int32_t From, int32_t To) override {
    Calls.push_back("Moved" + std::to_string(From) + ">" + std::to_string(To));
    Sort.Column = MovedIndex(Sort.Column, From, To);
  }

 protected:
  void DrawCellText(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect,
                    TGridDrawState AState) override {
    Painted.push_back(Coord(ACol, ARow));
    TAdvStringGrid::DrawCellText(Canvas, ACol, ARow, ARect, AState);
  }
};

// A size x size glyph of one colour; its top-left pixel (the transparent one) magenta.
inline TBitmap* SolidGlyph(TColor c, int32_t size) {
  auto* b = new TBitmap();
  b->SetSize(size, size);
  b->GetCanvas()->GetBrush()->SetColor(c);
  b->GetCanvas()->FillRect(TRect{0, 0, size, size});
  b->GetCanvas()->SetPixel(0, 0, clFuchsia);
  return b;
}

class CellsFixture : public GridFixture {
 protected:
  // A grid of cols x rows cells of 90 x 40 on white, the focus elsewhere (no focus rectangle).
  TCellsGrid* Grid(int32_t cols = 5, int32_t rows = 5) {
    auto* g = NewGrid<TCellsGrid>(cols, rows, Bounds(10, 10, cols * 90 + 10, rows * 40 + 10));
    g->SetDefaultColWidth(90);
    g->SetDefaultRowHeight(40);
    g->SetColor(clWhite);
    g->SetFixedColor(TColor(0xCECECE));
    g->SetLook(glStandard);
    auto* other = Make<TRecControl>(form_, form_, "Other", Bounds(480, 380, 10, 10));
    other->SetTabStop(true);
    other->SetFocus();
    Pump();
    return g;
  }
  void Repaint(TAdvStringGrid* g) {
    g->Invalidate();
    Paint(g);
  }
  // The bounding box, in the grid's client coordinates, of the pixels of colour rgb inside Area;
  // empty when there are none.
  TRect Box(TAdvStringGrid* g, TRect Area, uint32_t rgb) { return BoxNear(g, Area, rgb, 0); }
  // The same for colours within Tolerance of rgb in each channel (drawn text is smoothed).
  TRect BoxNear(TAdvStringGrid* g, TRect Area, uint32_t rgb, int Tolerance = 60) {
    TRect b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    const TSurface& screen = ComposeScreen();
    auto near = [&](uint32_t p) {
      for (int shift : {0, 8, 16})
        if (std::abs(int((p >> shift) & 0xFF) - int((rgb >> shift) & 0xFF)) > Tolerance) return false;
      return true;
    };
    for (int32_t y = Area.Top; y < Area.Bottom; ++y)
      for (int32_t x = Area.Left; x < Area.Right; ++x)
        if (const TPoint s = At(g, x, y); near(screen.Row(s.Y)[s.X] & 0xFFFFFF)) {
          b.Left = std::min(b.Left, x);
          b.Top = std::min(b.Top, y);
          b.Right = std::max(b.Right, x + 1);
          b.Bottom = std::max(b.Bottom, y + 1);
        }
    return b.Left == INT32_MAX ? TRect{} : b;
  }
  // A press and release at a client point, then time enough that the next press is no double click.
  void ClickCell(TAdvStringGrid* g, int32_t x, int32_t y, UINT modifier = 0) {
    if (modifier) InputKey(modifier, true);
    Press(At(g, x, y));
    Release(At(g, x, y));
    if (modifier) InputKey(modifier, false);
    Pump();
    clock_.Advance(1000);
  }
};

}  // namespace adv_grid_test
