// Test support for the grids: a string grid that opens up the protected operations and notes
// its hooks, a fixture that puts one on a shown form, and pixel and input helpers.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Grids.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace grid_test {

using namespace ui_test;

class TTestGrid : public TStringGrid {
 public:
  explicit TTestGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
  using TCustomGrid::DeleteColumn;
  using TCustomGrid::DeleteRow;
  using TCustomGrid::MoveColumn;
  using TCustomGrid::MoveRow;
  // Gives the grid its editor (off: none, as for a grid that offers no editor).
  bool WithEditor = false;
  std::vector<std::string> Hooks;

 protected:
  TInplaceEdit* CreateEditor() override { return WithEditor ? TStringGrid::CreateEditor() : nullptr; }
  void SizeChanged(int32_t OldColCount, int32_t OldRowCount) override {
    Hooks.push_back("Size(" + std::to_string(OldColCount) + "," + std::to_string(OldRowCount) + ")");
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
  }
};

inline std::string Coord(int32_t c, int32_t r) {
  return "(" + std::to_string(c) + "," + std::to_string(r) + ")";
}
inline std::string SelText(const TGridRect& s) {
  return Coord(s.Left, s.Top) + "-" + Coord(s.Right, s.Bottom);
}

// The screen's 0x00RRGGBB at a point, and the same form of a colour.
inline uint32_t ScreenPixel(TPoint screen) { return ComposeScreen().Row(screen.Y)[screen.X] & 0xFFFFFF; }
inline uint32_t RgbOf(TColor c) {
  COLORREF v = COLORREF(ColorToRGB(c));
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

class GridTest : public UiTest {
 protected:
  // A grid of cols x rows on a shown form, focused.  Plain grids have neither border nor scroll
  // bars, so their client area is their bounds: cells step by 65 x 25 pixels by default.
  TTestGrid* NewGrid(int32_t cols, int32_t rows, TRect bounds = Bounds(10, 10, 200, 100), bool plain = true) {
    form_ = NewForm(500, 400);
    auto* g = Make<TTestGrid>(form_, form_, "G", bounds);
    if (plain) {
      g->SetBorderStyle(bsNone);
      g->SetScrollBars(ssNone);
    }
    g->SetColCount(cols);
    g->SetRowCount(rows);
    ShowForm(form_);
    g->SetFocus();
    Pump();
    return g;
  }
  void ClickAt(TPoint screen, UINT modifier = 0) {
    if (modifier) InputKey(modifier, true);
    Press(screen);
    Release(screen);
    if (modifier) InputKey(modifier, false);
    Pump();
    clock_.Advance(1000);  // the next press is no double click
  }
  void Drag(TPoint from, TPoint to) {
    Press(from);
    MoveTo(Point((from.X + to.X) / 2, (from.Y + to.Y) / 2));
    MoveTo(to);
    Release(to);
    clock_.Advance(1000);
  }
  TForm* form_ = nullptr;
};

}  // namespace grid_test
