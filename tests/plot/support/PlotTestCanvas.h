// Test support for the plot: a bitmap canvas with deterministic text metrics, so that layout and
// paint tests can compute their expected pixels.
//
// Text is measured by the platform's font engine, so a test that wants numbers it can predict
// gives its objects' fonts the fixed-pitch test face (UseFixedFont): every character then
// advances by the same width, and one line is as high as any other at that size. The metrics
// themselves come from the canvas (CharWidth, LineHeight), never from hard-coded pixel counts.
//
// Header only: include it from any tests/plot/<area> program.
#pragma once

#include <memory>

#include "platform/ui/Graphics.h"
#include "widgets/iGPFunctions.h"

namespace plot_test {

// The fixed-pitch face every plot test uses for predictable text.
inline const char* FixedFaceName() { return "Courier New"; }

// Gives Font the fixed-pitch face, keeping its size, style and colour.
inline void UseFixedFont(TFont* Font) { Font->SetName(FixedFaceName()); }

// A 32-bit bitmap whose canvas starts with the fixed-pitch face at Size points.
class TPlotTestCanvas {
 public:
  explicit TPlotTestCanvas(int32_t Width = 500, int32_t Height = 200, int32_t FontSize = 10)
      : bitmap_(std::make_unique<TBitmap>()) {
    bitmap_->SetPixelFormat(pf32bit);
    bitmap_->SetSize(Width, Height);
    UseFixedFont(Canvas()->GetFont());
    Canvas()->GetFont()->SetSize(FontSize);
  }
  TCanvas* Canvas() { return bitmap_->GetCanvas(); }
  TBitmap* Bitmap() { return bitmap_.get(); }

  // Advance of one character and height of one line in Font (the canvas font is restored).
  int32_t CharWidth(TFont* Font) { return Measure(Font).cx; }
  int32_t LineHeight(TFont* Font) { return Measure(Font).cy; }
  // Height of Lines lines as the multi-line measuring routine answers it.
  int32_t LinesHeight(TFont* Font, int32_t Lines) {
    AnsiString text = "0";
    for (int32_t i = 1; i < Lines; ++i) text += "\r\n0";
    TFont saved;
    saved.Assign(Canvas()->GetFont());
    Canvas()->SetFont(Font);
    const int32_t h = MultiLineTextHeight(Canvas(), text);
    Canvas()->SetFont(&saved);
    return h;
  }

 private:
  TSize Measure(TFont* Font) {
    TFont saved;
    saved.Assign(Canvas()->GetFont());
    Canvas()->SetFont(Font);
    const TSize s = Canvas()->TextExtent("0");
    Canvas()->SetFont(&saved);
    return s;
  }
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace plot_test
