#include "plot/iPlotLabel.h"

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotLayoutManager.h"
#include "widgets/iGPFunctions.h"

const TClassInfo& TiPlotLabel::ClassInfo() {
  using L = TiPlotLabel;
  static const TClassInfo info = TClassInfo::Of<L, TiPlotLayoutObject>("TiPlotLabel")
                                     .Prop("Caption", &L::GetCaption, &L::SetCaption)
                                     .Prop("Alignment", &L::GetAlignment, &L::SetAlignment)
                                     .Default(iahCenter)
                                     .Object("Font", &L::GetFont, &L::SetFont)
                                     .Prop("MarginTop", &L::GetMarginTop, &L::SetMarginTop)
                                     .Prop("MarginBottom", &L::GetMarginBottom, &L::SetMarginBottom)
                                     .Prop("MarginLeft", &L::GetMarginLeft, &L::SetMarginLeft)
                                     .Prop("MarginRight", &L::GetMarginRight, &L::SetMarginRight);
  return info;
}

TiPlotLabel::TiPlotLabel(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange),
      FFont(std::make_unique<TFont>()) {
  FFont->SetName("Arial");
  FFont->SetSize(14);
  FFont->SetStyle(TFontStyles{fsBold});
  FFont->SetColor(clWhite);
  FFont->OnChange = TNotifyEvent(this, &TiPlotLabel::FontChanged);
  SetHorizontal(true);
}

void TiPlotLabel::SetAlignment(TiAlignmentHorizontal Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  DoChange();
}

void TiPlotLabel::CalcMetrics(TCanvas* Canvas) {
  Canvas->SetFont(FFont.get());
  const int32_t h0 = MultiLineTextHeight(Canvas, "0");
  const int32_t w0 = MultiLineTextWidth(Canvas, "0");
  // Margins far beyond any screen raise instead of wrapping round.
  FPixelsTop = PlotRoundPixel((long double)h0 * FMarginTop);
  FPixelsBottom = PlotRoundPixel((long double)h0 * FMarginBottom);
  FPixelsLeft = PlotRoundPixel((long double)w0 * FMarginLeft);
  FPixelsRight = PlotRoundPixel((long double)w0 * FMarginRight);
  FThickness = PlotPixel(int64_t(MultiLineTextHeight(Canvas, FCaption)) + FPixelsTop + FPixelsBottom);
}

int32_t TiPlotLabel::RequiredThickness(TCanvas* Canvas) {
  CalcMetrics(Canvas);
  return FThickness;
}

int32_t TiPlotLabel::TextFlags() const {
  switch (FAlignment) {
    case iahLeft:
      return itfVCenter | itfLeft;
    case iahRight:
      return itfVCenter | itfRight;
    default:
      return itfVCenter | itfCenter;
  }
}

TRect TiPlotLabel::TextRect(TCanvas* Canvas) {
  const TRect& r = GetLayoutRect();
  if (IsHorizontal())
    return TRect{PlotPixel(int64_t(r.Left) + FPixelsLeft), PlotPixel(int64_t(r.Top) + FPixelsTop),
                 PlotPixel(int64_t(r.Right) - FPixelsRight), PlotPixel(int64_t(r.Bottom) - FPixelsBottom)};
  // Turned text: the margins above and below the text lie across the band, the left and right
  // ones along it (the text reads bottom-up).
  const int64_t w = Canvas->TextWidth(FCaption);
  int64_t centre;
  switch (FAlignment) {
    case iahLeft:
      centre = int64_t(r.Bottom) - FPixelsLeft - w / 2;
      break;
    case iahRight:
      centre = int64_t(r.Top) + FPixelsRight + w / 2;
      break;
    default:
      centre = (int64_t(r.Top) + r.Bottom) / 2;
      break;
  }
  return TRect{PlotPixel(int64_t(r.Left) + FPixelsTop), PlotPixel(centre - w / 2),
               PlotPixel(int64_t(r.Right) - FPixelsBottom), PlotPixel(centre + w / 2)};
}

void TiPlotLabel::Draw(TCanvas* Canvas, TColor /*BackGroundColor*/) {
  if (!GetVisible()) return;
  CalcMetrics(Canvas);
  Canvas->SetFont(FFont.get());
  Canvas->GetBrush()->SetStyle(bsClear);
  TRect r = TextRect(Canvas);
  if (IsHorizontal()) {
    DrawTextFlags(Canvas, FCaption, r, TextFlags());
  } else {
    TRect extent{0, 0, 0, 0};
    DrawRotatedText(Canvas, FCaption, r, extent, 1);
  }
}
