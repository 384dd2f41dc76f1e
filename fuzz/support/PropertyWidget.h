// The control whose property text files the property_file harness reads, shared with the seed
// writer so that the seeds are what this control itself saves.  Header only: the support library
// does not link the widgets.
#pragma once

#include <algorithm>

#include "widgets/iCustomComponent.h"
#include "widgets/iGPFunctions.h"

namespace fuzz {

// Publishes properties of each kind a widget has (enumeration, set, float, string, colour, and
// the framework's own nested font).
class TFuzzWidget : public TiCustomComponent {
  PL_CLASS(TFuzzWidget)
 public:
  explicit TFuzzWidget(TComponent* AOwner) : TiCustomComponent(AOwner) {}
  double GetStep() const { return step_; }
  void SetStep(double v) { step_ = v; }
  void PaintToCanvas(TCanvas* Canvas) override {
    DrawBackGround(Canvas, GetBackGroundColor());
    TRect r = GetClientRect();
    DrawTextFlags(Canvas, GetCaption(), r, 530);
    DrawGradient(Canvas, TRect{0, 0, std::min(Width(), 64), std::min(Height(), 64)}, ifdCircleOut, clRed,
                 GetBackGroundColor());
  }

 private:
  double step_ = 0.01;
};

inline const TClassInfo& TFuzzWidget::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TFuzzWidget, TiCustomComponent>("TFuzzWidget")
          .Prop("BackGroundColor", &TFuzzWidget::GetBackGroundColor, &TFuzzWidget::SetBackGroundColor)
          .Type(ColorTypeInfo())
          .Prop("BorderStyle", &TFuzzWidget::GetBorderStyle, &TFuzzWidget::SetBorderStyle)
          .Default(ibsNone)
          .Prop("Step", &TFuzzWidget::GetStep, &TFuzzWidget::SetStep);
  return info;
}

}  // namespace fuzz
