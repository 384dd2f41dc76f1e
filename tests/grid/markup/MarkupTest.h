// Test support for the cell markup: one renderer call with the grid's defaults, its outputs kept,
// on a white bitmap whose pixels the tests probe.
#pragma once

#include <cstdlib>
#include <memory>

#include "grid/AsgHTMLE.h"
#include "grid/PictureContainer.h"
#include "platform/ui/Graphics.h"

namespace markup_test {

struct TMarkupCall {
  // Inputs (the grid's painting defaults).
  int32_t X = -1, Y = -1, FocusLink = -1, HoverLink = 0;
  bool HitTestOnly = false, MeasureOnly = false, Selected = false, BlinkOn = true, HoverOnly = false,
       WordWrap = true, Down = false;
  TColor URLColor = clBlue, HoverColor = clNone, HoverFontColor = clNone;
  TCustomImageList* Images = nullptr;
  THTMLPictureCache* Cache = nullptr;
  TPictureContainer* Container = nullptr;
  // Outputs.
  AnsiString AnchorVal, StripVal, FocusAnchor, CtrlID, CtrlVal, CtrlType;
  int32_t XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = -1;
  TRect HoverRect{}, CtrlRect{};
  bool Result = false;

  bool Run(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect) {
    Result = DrawMarkup(Canvas, Text, Rect, Images, X, Y, FocusLink, HoverLink, 1, HitTestOnly, MeasureOnly,
                        false, Selected, BlinkOn, HoverOnly, WordWrap, Down, 1.0, URLColor, HoverColor,
                        HoverFontColor, clGray, AnchorVal, StripVal, FocusAnchor, XSize, YSize, HyperLinks,
                        MouseLink, HoverRect, CtrlRect, CtrlID, CtrlVal, CtrlType, Cache, Container, nullptr);
    return Result;
  }
};

// A white W x H bitmap whose canvas draws in black 10-point sans text.
class TPaper {
 public:
  explicit TPaper(int32_t W = 400, int32_t H = 200) {
    bmp_.SetPixelFormat(pf32bit);
    bmp_.SetSize(W, H);
    Clear();
  }
  TCanvas* C() { return bmp_.GetCanvas(); }
  void Clear() {
    C()->GetBrush()->SetColor(clWhite);
    C()->GetBrush()->SetStyle(bsSolid);
    C()->FillRect(TRect{0, 0, bmp_.GetWidth(), bmp_.GetHeight()});
    C()->GetFont()->SetName("Arial");
    C()->GetFont()->SetSize(10);
    C()->GetFont()->SetColor(clBlack);
    C()->GetFont()->SetStyle({});
  }
  TColor Pixel(int32_t X, int32_t Y) { return C()->GetPixel(X, Y); }
  // Pixels of Color inside R, each channel within Slack of it (smoothed text edges).
  int32_t Count(const TRect& R, TColor Color, int Slack = 0) {
    auto near = [&](TColor c) {
      for (int shift : {0, 8, 16})
        if (std::abs(int((uint32_t(c) >> shift) & 0xFF) - int((uint32_t(Color) >> shift) & 0xFF)) > Slack)
          return false;
      return true;
    };
    int32_t n = 0;
    for (int32_t y = R.Top; y < R.Bottom; ++y)
      for (int32_t x = R.Left; x < R.Right; ++x) n += near(Pixel(x, y));
    return n;
  }
  // The left-most column in R holding a pixel that is not white; -1 when none.
  int32_t FirstInk(const TRect& R) {
    for (int32_t x = R.Left; x < R.Right; ++x)
      for (int32_t y = R.Top; y < R.Bottom; ++y)
        if (Pixel(x, y) != clWhite) return x;
    return -1;
  }
  int32_t LastInk(const TRect& R) {
    for (int32_t x = R.Right - 1; x >= R.Left; --x)
      for (int32_t y = R.Top; y < R.Bottom; ++y)
        if (Pixel(x, y) != clWhite) return x;
    return -1;
  }
  int32_t Gh() { return C()->TextHeight("gh"); }

 private:
  TBitmap bmp_;
};

}  // namespace markup_test
