// Test support for the advanced grid's tests: a fixture that puts a grid on a shown form on the
// headless display; the pixel and cell-name helpers are the framework grid tests'.
#pragma once

#include <string>
#include <vector>

#include "tests/platform/ui/grids/GridHarness.h"

namespace adv_grid_test {

using namespace ui_test;

using grid_test::Coord;
using grid_test::RgbOf;
using grid_test::ScreenPixel;

class GridFixture : public UiTest {
 protected:
  // A grid of class G with cols x rows on a shown form, focused, without border and scroll bars
  // so that its client area is its bounds.
  template <class G>
  G* NewGrid(int32_t cols, int32_t rows, TRect bounds = Bounds(10, 10, 300, 200)) {
    form_ = NewForm(500, 400);
    auto* g = Make<G>(form_, form_, "G", bounds);
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    ShowForm(form_);
    g->SetFocus();
    Pump();
    return g;
  }
  // Paints what is invalid now.
  void Paint(TControl* c) {
    c->Update();
    Pump();
  }
  uint32_t Px(TControl* c, int x, int y) { return ScreenPixel(At(c, x, y)); }
  // Gives the input focus to another control of the form, so that no focus rectangle is drawn.
  void FocusElsewhere() {
    auto* other = Make<TRecControl>(form_, form_, "Other", Bounds(480, 380, 10, 10));
    other->SetTabStop(true);
    other->SetFocus();
    Pump();
  }
  // Paints the whole control now.
  void RepaintAll(TControl* c) {
    c->Invalidate();
    Paint(c);
  }
  TForm* form_ = nullptr;
};

}  // namespace adv_grid_test
