// Test support for limits and annotations: the shown plot of the input tests, drawn again onto a
// bitmap of the same size so that tests can read its pixels.
#pragma once

#include <functional>

#include "tests/plot/input/PlotInputSupport.h"
#include "tests/plot/support/PlotTestCanvas.h"

namespace plot_marks_test {

class MarksWindow : public plot_input_test::PlotWindow {
 protected:
  void SetUp() override {
    PlotWindow::SetUp();
    // A fixed range: tracking would move the axes as points arrive.
    x->SetTrackingEnabled(false);
    y->SetTrackingEnabled(false);
  }
  // The whole plot drawn onto the bitmap; paints the window first so the layout is current.
  TCanvas* Render() {
    Paint();
    bitmap.Canvas()->GetBrush()->SetColor(clBlack);
    bitmap.Canvas()->FillRect(TRect{0, 0, 500, 200});
    plot->PaintToCanvas(bitmap.Canvas());
    return bitmap.Canvas();
  }
  // Pixels of Color inside Rect of the last render.
  int Count(const TRect& Rect, TColor Color) {
    int n = 0;
    for (int32_t py = Rect.Top; py < Rect.Bottom; ++py)
      for (int32_t px = Rect.Left; px < Rect.Right; ++px) n += bitmap.Canvas()->GetPixel(px, py) == Color;
    return n;
  }
  TRect ViewRect() const { return view->GetLayoutRect(); }
  TiMouseRecord Record(TPoint p) const { return plot->MouseRecordAt(p.X, p.Y, {}); }

  plot_test::TPlotTestCanvas bitmap{500, 200};
};

}  // namespace plot_marks_test
