// A text label of the plot: one or more lines of text in a band beside the data view, placed by
// the layout like axes, legends and toolbars.  Label 0 of a plot is its title.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>

#include "plot/iPlotObjects.h"
#include "widgets/iTypes.h"

class TiPlotLabel : public TiPlotLayoutObject {
  PL_CLASS(TiPlotLabel)
 public:
  TiPlotLabel(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  // The text's height plus the top and bottom margins, for both orientations.
  int32_t RequiredThickness(TCanvas* Canvas) override;

  // Measures the pixel margins and the thickness in Font on Canvas (which keeps Font afterwards).
  void CalcMetrics(TCanvas* Canvas);
  // The rectangle the text is drawn into, from the layout rectangle and the last metrics: the
  // text-flag rectangle when horizontal; when vertical, the box the turned text is centred in
  // (as wide as the band less the margins, as tall as the text is long, centred by Alignment).
  TRect TextRect(TCanvas* Canvas);
  // The text-flag word of the horizontal text for Alignment.
  int32_t TextFlags() const;

  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value) { SetStringField(Value, FCaption, &TiPlotObject::DoChange); }
  TiAlignmentHorizontal GetAlignment() const { return FAlignment; }
  void SetAlignment(TiAlignmentHorizontal Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  double GetMarginTop() const { return FMarginTop; }
  void SetMarginTop(double Value) { SetDoubleField(Value, FMarginTop, &TiPlotObject::DoChange); }
  double GetMarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(double Value) { SetDoubleField(Value, FMarginBottom, &TiPlotObject::DoChange); }
  double GetMarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(double Value) { SetDoubleField(Value, FMarginLeft, &TiPlotObject::DoChange); }
  double GetMarginRight() const { return FMarginRight; }
  void SetMarginRight(double Value) { SetDoubleField(Value, FMarginRight, &TiPlotObject::DoChange); }

  // Pixel margins and thickness of the last measuring.
  int32_t GetPixelsTop() const { return FPixelsTop; }
  int32_t GetPixelsBottom() const { return FPixelsBottom; }
  int32_t GetPixelsLeft() const { return FPixelsLeft; }
  int32_t GetPixelsRight() const { return FPixelsRight; }
  int32_t GetThickness() const { return FThickness; }

 private:
  void FontChanged(TObject*) { DoChange(); }

  AnsiString FCaption;
  TiAlignmentHorizontal FAlignment = iahCenter;
  std::unique_ptr<TFont> FFont;
  double FMarginTop = 0;
  double FMarginBottom = 0;
  double FMarginLeft = 0;
  double FMarginRight = 0;
  int32_t FPixelsTop = 0;
  int32_t FPixelsBottom = 0;
  int32_t FPixelsLeft = 0;
  int32_t FPixelsRight = 0;
  int32_t FThickness = 0;
};
