// TFlatPanel: a container panel drawn flat, a one-pixel frame in two colours around a filled or
// transparent background, with an optional caption drawn embossed while the panel is disabled.
// It paints through an off-screen bitmap, so panel and caption do not flicker.
#pragma once

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"

class TFlatPanel : public TCustomPanel {
  PL_CLASS(TFlatPanel)
 public:
  explicit TFlatPanel(TComponent* AOwner);

  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TColor GetColorHighLight() const { return FColorHighLight; }
  void SetColorHighLight(TColor Value) { SetColors(0, Value); }
  TColor GetColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor Value) { SetColors(1, Value); }
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  // 0 the top and left edges, 1 the bottom and right ones; stores and repaints.
  void SetColors(int Index, TColor Value);
  bool FTransparent = false;
  TColor FColorHighLight;
  TColor FColorShadow;
};

// Draws Width nested one-pixel frames, TopColor on the top and left, BottomColor on the bottom
// and right; Rect ends shrunk by Width on every side.
void FlatPanelFrame(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int32_t Width);
// Paints the panel's parent, as it lies under the panel, into Canvas.
void FlatPanelParentBackground(TWinControl* Panel, TCanvas* Canvas);
