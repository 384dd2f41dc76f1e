// Test support for the widget library: a minimal concrete control on the base that counts its
// invalidations and paints, and can be told to fail while painting.
#pragma once

#include "platform/display/Headless.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "widgets/iCustomComponent.h"

namespace widgets_test {

class TProbe : public TiCustomComponent {
 public:
  explicit TProbe(TComponent* AOwner) : TiCustomComponent(AOwner) {}
  int Invalidations = 0;
  int Paints = 0;
  AnsiString Failure;  // non-empty: PaintToCanvas raises this
  TColor Fill = clLime;

  void Invalidate() override {
    ++Invalidations;
    TiCustomComponent::Invalidate();
  }
  void PaintToCanvas(TCanvas* Canvas) override {
    ++Paints;
    if (!Failure.empty()) throw EDivByZero(Failure);
    Canvas->GetBrush()->SetColor(Fill);
    Canvas->FillRect(TRect{0, 0, Width(), Height()});
  }
  using TiComponent::SetIntProperty;
};

// The screen's 0x00RRGGBB at a screen point, and of a colour.
inline uint32_t ScreenPixel(TPoint screen) { return ComposeScreen().Row(screen.Y)[screen.X] & 0xFFFFFF; }
inline uint32_t ScreenRgb(TColor c) {
  COLORREF v = COLORREF(ColorToRGB(c));
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

}  // namespace widgets_test
