#include "widgets/iKnob.h"

#include <cmath>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variants.h"
#include "widgets/iMath.h"

PL_ENUM_NAMES(TiKnobStyle, "iksRaisedEdge", "iksRaised", "iksSunken", "iksSunkenEdge")
PL_ENUM_NAMES(TiKnobIndicatorStyle, "ikisDotLowered", "ikisDotRaised", "ikisDot", "ikisLineCenter",
              "ikisLineCustom", "ikisTriangle")

namespace {

// Wheel messages closer together than this make one step.
constexpr uint64_t kKnobWheelStepMs = 30;

// The scale's settings are published flat on the knob.
#define KNOB_SCALE_PROPERTY(Name, Type)                             \
  Type KnobGet##Name(TiKnob* k) { return k->Scale()->Get##Name(); } \
  void KnobSet##Name(TiKnob* k, Type v) { k->Scale()->Set##Name(v); }
KNOB_SCALE_PROPERTY(ShowTicksMajor, bool)
KNOB_SCALE_PROPERTY(ShowTicksMinor, bool)
KNOB_SCALE_PROPERTY(ShowTickLabels, bool)
KNOB_SCALE_PROPERTY(TickMajorCount, int32_t)
KNOB_SCALE_PROPERTY(TickMajorColor, TColor)
KNOB_SCALE_PROPERTY(TickMajorLength, int32_t)
KNOB_SCALE_PROPERTY(TickMinorAlignment, TiTickMinorAlignment)
KNOB_SCALE_PROPERTY(TickMinorCount, int32_t)
KNOB_SCALE_PROPERTY(TickMinorColor, TColor)
KNOB_SCALE_PROPERTY(TickMinorLength, int32_t)
KNOB_SCALE_PROPERTY(TickMargin, int32_t)
KNOB_SCALE_PROPERTY(TickLabelMargin, int32_t)
KNOB_SCALE_PROPERTY(TickLabelFont, TFont*)
KNOB_SCALE_PROPERTY(TickLabelPrecision, int32_t)
KNOB_SCALE_PROPERTY(PrecisionStyle, TiPrecisionStyle)
#undef KNOB_SCALE_PROPERTY
TOnCustomizeTickLabel KnobGetOnCustomizeTickLabel(TiKnob* k) { return k->Scale()->OnCustomizeTickLabel; }
void KnobSetOnCustomizeTickLabel(TiKnob* k, TOnCustomizeTickLabel v) { k->Scale()->OnCustomizeTickLabel = v; }

}  // namespace

const TClassInfo& TiKnob::ClassInfo() {
  using K = TiKnob;
  static const TClassInfo info =
      TClassInfo::Of<K, TiScaleComponent>("TiKnob")
          .Prop("KnobRadius", &K::GetKnobRadius, &K::SetKnobRadius)
          .Default(35)
          .Prop("KnobEdgeWidth", &K::GetKnobEdgeWidth, &K::SetKnobEdgeWidth)
          .Default(3)
          .Prop("KnobStyle", &K::GetKnobStyle, &K::SetKnobStyle)
          .Default(iksRaised)
          .Prop("RotationStartDegrees", &K::GetRotationStartDegrees, &K::SetRotationStartDegrees)
          .Default(225)
          .Prop("RotationMaxDegrees", &K::GetRotationMaxDegrees, &K::SetRotationMaxDegrees)
          .Default(270)
          .Prop("IndicatorStyle", &K::GetIndicatorStyle, &K::SetIndicatorStyle)
          .Default(ikisDotLowered)
          .Prop("IndicatorSize", &K::GetIndicatorSize, &K::SetIndicatorSize)
          .Default(4)
          .Prop("IndicatorMargin", &K::GetIndicatorMargin, &K::SetIndicatorMargin)
          .Default(5)
          .Prop("IndicatorActiveColor", &K::GetIndicatorActiveColor, &K::SetIndicatorActiveColor)
          .Default(0x00FFFF00)
          .Type(ColorTypeInfo())
          .Prop("IndicatorInactiveColor", &K::GetIndicatorInactiveColor, &K::SetIndicatorInactiveColor)
          .Default(0x000000FF)
          .Type(ColorTypeInfo())
          .Prop("KeyArrowStepSize", &K::GetKeyArrowStepSize, &K::SetKeyArrowStepSize)
          .Prop("KeyPageStepSize", &K::GetKeyPageStepSize, &K::SetKeyPageStepSize)
          .Prop("MouseWheelStepSize", &K::GetMouseWheelStepSize, &K::SetMouseWheelStepSize)
          .Prop("UseKeyboard", &K::GetUseKeyboard, &K::SetUseKeyboard)
          .Default(true)
          .Prop("ShowFocusRect", &K::GetShowFocusRect, &K::SetShowFocusRect)
          .Default(true)
          .Prop("ShowPostionDisplay", &K::GetShowPostionDisplay, &K::SetShowPostionDisplay)
          .Default(false)
          .Object("PositionDisplayFont", &K::GetPositionDisplayFont, &K::SetPositionDisplayFont)
          .Prop("PositionDisplayPrecision", &K::GetPositionDisplayPrecision, &K::SetPositionDisplayPrecision)
          .Default(1)
          .Prop("PositionDisplayUnits", &K::GetPositionDisplayUnits, &K::SetPositionDisplayUnits)
          .Prop("AutoSize", &K::GetAutoSize, &K::SetAutoSize)
          .Default(true)
          .Prop("OuterMargin", &K::GetOuterMargin, &K::SetOuterMargin)
          .Default(2)
          .Event("OnPositionChangeUser", &TiPositionComponent::OnPositionChangeUser)
          .Event("OnPositionChangeFinished", &TiPositionComponent::OnPositionChangeFinished)
          .Prop("ShowTicksMajor", &KnobGetShowTicksMajor, &KnobSetShowTicksMajor)
          .Default(true)
          .Prop("ShowTicksMinor", &KnobGetShowTicksMinor, &KnobSetShowTicksMinor)
          .Default(true)
          .Prop("ShowTickLabels", &KnobGetShowTickLabels, &KnobSetShowTickLabels)
          .Default(true)
          .Prop("TickMajorCount", &KnobGetTickMajorCount, &KnobSetTickMajorCount)
          .Default(5)
          .Prop("TickMajorColor", &KnobGetTickMajorColor, &KnobSetTickMajorColor)
          .Default(clBlack)
          .Type(ColorTypeInfo())
          .Prop("TickMajorLength", &KnobGetTickMajorLength, &KnobSetTickMajorLength)
          .Default(7)
          .Prop("TickMinorAlignment", &KnobGetTickMinorAlignment, &KnobSetTickMinorAlignment)
          .Default(itmnaInside)
          .Prop("TickMinorCount", &KnobGetTickMinorCount, &KnobSetTickMinorCount)
          .Default(4)
          .Prop("TickMinorColor", &KnobGetTickMinorColor, &KnobSetTickMinorColor)
          .Default(0x808080)
          .Type(ColorTypeInfo())
          .Prop("TickMinorLength", &KnobGetTickMinorLength, &KnobSetTickMinorLength)
          .Default(3)
          .Prop("TickMargin", &KnobGetTickMargin, &KnobSetTickMargin)
          .Default(5)
          .Prop("TickLabelMargin", &KnobGetTickLabelMargin, &KnobSetTickLabelMargin)
          .Default(15)
          .Object("TickLabelFont", &KnobGetTickLabelFont, &KnobSetTickLabelFont)
          .Prop("TickLabelPrecision", &KnobGetTickLabelPrecision, &KnobSetTickLabelPrecision)
          .Default(0)
          .Prop("PrecisionStyle", &KnobGetPrecisionStyle, &KnobSetPrecisionStyle)
          .Default(ipsFixedDecimalPoints)
          .Prop("OnCustomizeTickLabel", &KnobGetOnCustomizeTickLabel, &KnobSetOnCustomizeTickLabel)
          .Prop("AutoScaleEnabled", &TiScaleComponent::GetAutoScaleEnabled,
                &TiScaleComponent::SetAutoScaleEnabled)
          .Default(false)
          .Prop("AutoScaleDesiredTicks", &TiScaleComponent::GetAutoScaleDesiredTicks,
                &TiScaleComponent::SetAutoScaleDesiredTicks)
          .Default(5)
          .Prop("AutoScaleMaxTicks", &TiScaleComponent::GetAutoScaleMaxTicks,
                &TiScaleComponent::SetAutoScaleMaxTicks)
          .Default(6)
          .Prop("AutoScaleStyle", &TiScaleComponent::GetAutoScaleStyle, &TiScaleComponent::SetAutoScaleStyle)
          .Default(iassAutoMinMax)
          .Prop("BackGroundColor", &TiComponent::GetBackGroundColor, &TiComponent::SetBackGroundColor)
          .Type(ColorTypeInfo())
          .Object("BackGroundPicture", &TiComponent::GetBackGroundPicture, &TiComponent::SetBackGroundPicture)
          .Prop("OffsetX", &TiComponent::GetOffsetX, &TiComponent::SetOffsetX)
          .Default(0)
          .Prop("OffsetY", &TiComponent::GetOffsetY, &TiComponent::SetOffsetY)
          .Default(0)
          .Prop("Transparent", &TiVCLComponent::GetTransparent, &TiVCLComponent::SetTransparent)
          .Default(false)
          .Prop("CachedDrawing", &TiComponent::GetCachedDrawing, &TiComponent::SetCachedDrawing)
          .Default(true)
          .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
          .Default(-1)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(true)
          .Prop("Width", &TControl::GetWidth, &TControl::SetWidth)
          .Default(150)
          .Type(ControlCoordTypeInfo())
          .Prop("Height", &TControl::GetHeight, &TControl::SetHeight)
          .Default(150)
          .Type(ControlCoordTypeInfo());
  return info;
}

TiKnob::TiKnob(TComponent* AOwner) : TiScaleComponent(AOwner) {
  SetBounds(Left(), Top(), 150, 150);
  SetTabStop(true);
  Scale()->SetTickMinorColor(TColor(0x808080));
  Scale()->SetTickLabelMargin(15);
  positionDisplayFont_ = std::make_unique<TFont>();
  positionDisplayFont_->OnChange = TNotifyEvent(this, &TiKnob::PositionFontChanged);
  CreateBackGroundPicture();
  center_ = GetCenterPoint();
}

TiKnob::~TiKnob() = default;

// ============================================================================ properties ======

void TiKnob::SetKnobStyle(TiKnobStyle Value) {
  if (Value == knobStyle_) return;
  knobStyle_ = Value;
  RequestBackgroundRepaint();
}

void TiKnob::SetIndicatorStyle(TiKnobIndicatorStyle Value) {
  if (Value == indicatorStyle_) return;
  indicatorStyle_ = Value;
  RequestBackgroundRepaint();
}

void TiKnob::SetPositionDisplayUnits(const AnsiString& Value) {
  SetStringProperty(Trim(Value).empty() ? AnsiString() : Value, positionDisplayUnits_, 0);
}

void TiKnob::SendPositionToOPC() { SendPropertyToOPC("Position", Variant(GetPosition())); }

void TiKnob::DefineProperties(TFiler* Filer) {
  TiScaleComponent::DefineProperties(Filer);
  Filer->DefineProperty("KeyArrowStepSize_2", TReaderProc::Lambda([this](TReader* r) {
                          keyArrowStepSize_ = double(r->ReadFloat());
                        }),
                        TWriterProc::Lambda([this](TWriter* w) { w->WriteFloat(keyArrowStepSize_); }), true);
  Filer->DefineProperty("KeyPageStepSize_2", TReaderProc::Lambda([this](TReader* r) {
                          keyPageStepSize_ = double(r->ReadFloat());
                        }),
                        TWriterProc::Lambda([this](TWriter* w) { w->WriteFloat(keyPageStepSize_); }), true);
}

// ============================================================================ angles ==========

double TiKnob::KnobAngle() const {
  if (GetPositionMin() == GetPositionMax()) return rotationStartDegrees_;
  return PositionFraction(GetPosition()) * rotationMaxDegrees_;
}

double TiKnob::ValueToScreenAngle(double Value) const {
  return rotationStartDegrees_ - PositionFraction(Value) * rotationMaxDegrees_;
}

void TiKnob::SetPositionFromAngle(double Angle) {
  // A knob that does not turn has no angle to take a value from (it would be NaN or infinite).
  if (rotationMaxDegrees_ == 0) return;
  SetPosition(GetPositionMin() + (GetPositionMax() - GetPositionMin()) * Angle / rotationMaxDegrees_);
}

// ============================================================================ input ===========

void TiKnob::UserSetPosition(double Value) {
  AsUserChange([&] { SetPosition(Value); });
}

void TiKnob::HandleMouseDown(TMouseButton Button, TShiftState, int32_t X, int32_t Y) {
  if (Button != mbLeft || !Enabled()) return;
  ClearChangedSinceFinished();
  if (CanFocus()) SetFocus();
  const double dx = X - center_.X, dy = Y - center_.Y;
  const int64_t d = int64_t(Round(std::sqrt(dx * dx + dy * dy)));
  if (d < knobRadius_) {
    dragging_ = true;
    lastAngle_ = double(RadToDeg(ArcTan2(dy, dx)));
    RequestRepaint();
  }
}

void TiKnob::HandleMouseMove(TShiftState, int32_t X, int32_t Y) {
  if (!dragging_) return;
  const double a = double(RadToDeg(ArcTan2(double(Y - center_.Y), double(X - center_.X))));
  // The screen angle jumps by 360 where it crosses the line left of the centre.
  double delta = lastAngle_ - a;
  if (delta > 200)
    delta -= 360;
  else if (delta < -200)
    delta += 360;
  AsUserChange([&] { SetPositionFromAngle(KnobAngle() - delta); });
  lastAngle_ = a;
  RequestRepaint();
}

void TiKnob::HandleMouseUp(TMouseButton, TShiftState, int32_t, int32_t) {
  RequestRepaint();
  if (!dragging_) return;
  dragging_ = false;
  NotifyPositionChangeFinished();
}

void TiKnob::HandleKeyDown(WORD& Key, TShiftState) {
  if (!useKeyboard_) return;
  keyGesture_ = true;
  double target;
  switch (Key) {
    case VK_LEFT:
    case VK_DOWN:
      target = GetPosition() - keyArrowStepSize_;
      break;
    case VK_RIGHT:
    case VK_UP:
      target = GetPosition() + keyArrowStepSize_;
      break;
    case VK_PRIOR:
      target = GetPosition() + keyPageStepSize_;
      break;
    case VK_NEXT:
      target = GetPosition() - keyPageStepSize_;
      break;
    case VK_HOME:
      target = GetPositionMin();
      break;
    case VK_END:
      target = GetPositionMax();
      break;
    default:
      return;
  }
  Key = 0;
  UserSetPosition(target);
}

void TiKnob::HandleKeyUp(WORD&, TShiftState) {
  RequestRepaint();
  if (!keyGesture_) return;
  keyGesture_ = false;
  if (ChangedSinceFinished()) NotifyPositionChangeFinished();
}

void TiKnob::WantSpecialKey(WORD& CharCode, LRESULT& Result) {
  if (!useKeyboard_) return;
  Result = (CharCode == VK_LEFT || CharCode == VK_RIGHT || CharCode == VK_UP || CharCode == VK_DOWN) ? 1 : 0;
}

bool TiKnob::DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) {
  const bool handled = TiScaleComponent::DoMouseWheel(Shift, WheelDelta, MousePos);
  // Monotonic ticks: a wall clock set back would stop the wheel until it caught up again.
  const uint64_t now = Clock().MonotonicMs();
  if (wheelStepped_ && now - lastWheelMs_ < kKnobWheelStepMs) return handled;
  wheelStepped_ = true;
  lastWheelMs_ = now;
  const double sign = WheelDelta > 0 ? 1 : WheelDelta < 0 ? -1 : 0;
  UserSetPosition(GetPosition() + sign * mouseWheelStepSize_);
  NotifyPositionChangeFinished();
  return handled;
}

void TiKnob::DoLostFocus() {
  TiScaleComponent::DoLostFocus();
  dragging_ = false;
  keyGesture_ = false;
}

// ============================================================================ painting ========

AnsiString TiKnob::TickLabel(double Value) {
  return Trim(Format("%." + IntToStr(GetTickLabelDecimals()) + "f", {Value}));
}

void TiKnob::AutoSizeKnobRadius(TCanvas* Canvas) {
  TiScaleObject* sc = Scale();
  Canvas->GetFont()->Assign(sc->GetTickLabelFont());
  int32_t s = std::min(Width(), Height()) - 2 * outerMargin_;
  if (sc->GetShowTickLabels()) {
    const int32_t count = sc->GetTickMajorCount();
    const double step = (GetPositionMax() - GetPositionMin()) / (count - 1);
    int32_t w = 0, h = 0;
    for (int32_t i = 0; i < count; ++i) {
      const double v = GetPositionMin() + i * step;
      const TPoint u = PolarPoint(TPoint{0, 0}, 1, ValueToScreenAngle(v));
      const TSize ext = Canvas->TextExtent(TickLabel(v));
      w = std::max(w, std::abs(ext.cx * u.X));
      h = std::max(h, std::abs(ext.cy * u.Y));
    }
    s -= std::max(w, h);
    s -= 2 * (sc->GetTickMargin() + sc->GetTickMajorLength() + sc->GetTickLabelMargin() + 4);
  } else if (sc->GetShowTicksMajor() || sc->GetShowTicksMinor()) {
    s -= 2 * (sc->GetTickMargin() + sc->GetTickMajorLength());
  }
  knobRadius_ = s / 2;
}

void TiKnob::DrawTickLine(TCanvas* Canvas, double Value, double R1, double R2, TColor Color) {
  const double angle = ValueToScreenAngle(Value);
  const TPoint a = PolarPoint(center_, R1, angle), b = PolarPoint(center_, R2, angle);
  Canvas->GetPen()->SetColor(Color);
  Canvas->MoveTo(a.X, a.Y);
  Canvas->LineTo(b.X, b.Y);
}

void TiKnob::DrawTicks(TCanvas* Canvas) {
  TiScaleObject* sc = Scale();
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->GetPen()->SetStyle(psSolid);
  const double r1 = sc->GetTickMargin() + knobRadius_ - 1;
  const double r2 = sc->GetTickMargin() + knobRadius_ + sc->GetTickMajorLength();
  const double minorLength = sc->GetTickMinorLength();
  double m1 = r1, m2 = r1 + minorLength;
  if (sc->GetTickMinorAlignment() == itmnaCenter) {
    m1 = (r1 + r2) / 2 - minorLength / 2;
    m2 = m1 + minorLength;
  } else if (sc->GetTickMinorAlignment() == itmnaOutside) {
    m1 = r2 - minorLength;
    m2 = r2;
  }
  const bool fixedScale = GetAutoScaleEnabled() && GetAutoScaleStyle() == iassFixedMinMax;
  const double start = fixedScale ? InnerMin() : GetPositionMin();
  const double stop = fixedScale ? InnerMax() : GetPositionMax();
  const int32_t count = sc->GetTickMajorCount(), minorCount = sc->GetTickMinorCount();
  const double majorStep = (stop - start) / (count - 1);
  const double minorStep = majorStep / (minorCount + 1);

  Canvas->GetFont()->Assign(sc->GetTickLabelFont());
  for (int32_t i = 0; i < count; ++i) {
    const double v = start + i * majorStep;
    if (sc->GetShowTicksMajor()) DrawTickLine(Canvas, v, r1, r2, sc->GetTickMajorColor());
    if (sc->GetShowTickLabels()) {
      AnsiString text = TickLabel(v);
      sc->OnCustomizeTickLabel(this, i, text);
      const TSize ext = Canvas->TextExtent(text);
      const TPoint p = PolarPoint(center_, r2 + sc->GetTickLabelMargin() + 4, ValueToScreenAngle(v));
      Canvas->GetBrush()->SetStyle(bsClear);
      Canvas->TextOut(p.X - ext.cx / 2, p.Y - ext.cy / 2, text);
    }
    if (sc->GetShowTicksMinor() && i < count - 1)
      for (int32_t k = 1; k <= minorCount; ++k)
        DrawTickLine(Canvas, v + k * minorStep, m1, m2, sc->GetTickMinorColor());
  }
  // The fixed scale's minor ticks go on outside its inner range, out to the bounds.
  if (fixedScale && sc->GetShowTicksMinor() && minorStep != 0) {
    // The automatic scale leaves less than a major step on either side; the cap keeps a range
    // set by hand from drawing without end.
    const double step = std::fabs(minorStep);
    const int32_t cap = 4 * (minorCount + 1);
    for (int32_t k = 1; k <= cap && InnerMax() + k * step <= GetPositionMax(); ++k)
      DrawTickLine(Canvas, InnerMax() + k * step, m1, m2, sc->GetTickMinorColor());
    for (int32_t k = 1; k <= cap && InnerMin() - k * step >= GetPositionMin(); ++k)
      DrawTickLine(Canvas, InnerMin() - k * step, m1, m2, sc->GetTickMinorColor());
  }
}

void TiKnob::DrawStatic(TCanvas* Canvas) {
  if (autoSize_) AutoSizeKnobRadius(Canvas);
  DrawBackGround(Canvas, GetBackGroundColor());
  DrawShadedCircle(Canvas, center_, knobRadius_, knobStyle_ == iksSunken || knobStyle_ == iksSunkenEdge);
  if (knobStyle_ == iksRaisedEdge || knobStyle_ == iksSunkenEdge) {
    const int32_t r = knobRadius_ - knobEdgeWidth_;
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetColor(clBtnFace);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(clBtnFace);
    Canvas->Ellipse(center_.X - r, center_.Y - r, center_.X + r, center_.Y + r);
  }
  DrawTicks(Canvas);
}

void TiKnob::DrawIndicator(TCanvas* Canvas) {
  // Drawn from KnobAngle, so that equal bounds point at 0 degrees as the scale's ticks sit at the start.
  const double angle = rotationStartDegrees_ - KnobAngle();
  const TColor color = dragging_ || keyGesture_ ? indicatorActiveColor_ : indicatorInactiveColor_;
  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  pen->SetStyle(psSolid);
  pen->SetColor(color);
  brush->SetStyle(bsSolid);
  brush->SetColor(color);
  const int32_t size = indicatorSize_;
  const double outer = knobRadius_ - indicatorMargin_;
  switch (indicatorStyle_) {
    case ikisDot:
    case ikisDotLowered:
    case ikisDotRaised: {
      const TPoint c = PolarPoint(center_, outer - size, angle);
      const TRect box{c.X - size, c.Y - size, c.X + size, c.Y + size};
      Canvas->Ellipse(box);
      if (indicatorStyle_ == ikisDot) break;
      const TColor upper = indicatorStyle_ == ikisDotLowered ? TColor(0x808080) : clWhite;
      const TColor lower = indicatorStyle_ == ikisDotLowered ? clWhite : TColor(0x808080);
      pen->SetColor(upper);
      Canvas->Arc(box.Left, box.Top, box.Right, box.Bottom, box.Right, box.Top, box.Left, box.Bottom);
      pen->SetColor(lower);
      Canvas->Arc(box.Left, box.Top, box.Right, box.Bottom, box.Left, box.Bottom, box.Right, box.Top);
      break;
    }
    case ikisLineCenter: {
      const TPoint a = PolarPoint(center_, outer, angle);
      Canvas->MoveTo(a.X, a.Y);
      Canvas->LineTo(center_.X, center_.Y);
      break;
    }
    case ikisLineCustom: {
      const TPoint a = PolarPoint(center_, outer, angle), b = PolarPoint(center_, outer - size, angle);
      Canvas->MoveTo(a.X, a.Y);
      Canvas->LineTo(b.X, b.Y);
      break;
    }
    case ikisTriangle: {
      const TPoint tip = PolarPoint(center_, outer, angle), base = PolarPoint(center_, outer - size, angle);
      const TPoint tri[3] = {tip, PolarPoint(base, size / 2.0, angle + 90),
                             PolarPoint(base, size / 2.0, angle - 90)};
      Canvas->Polygon(tri, 3);
      break;
    }
  }
}

void TiKnob::DrawPositionText(TCanvas* Canvas) {
  const AnsiString text = Trim(Format("%4." + IntToStr(positionDisplayPrecision_) + "f", {GetPosition()})) +
                          positionDisplayUnits_;
  Canvas->GetFont()->Assign(positionDisplayFont_.get());
  Canvas->GetBrush()->SetStyle(bsClear);
  const TSize ext = Canvas->TextExtent(text);
  Canvas->TextOut(center_.X - ext.cx / 2, center_.Y - ext.cy / 2, text);
}

void TiKnob::PaintToCanvas(TCanvas* Canvas) {
  center_ = GetCenterPoint();
  if (GetCachedDrawing()) {
    if (BackgroundDirty()) {
      TBitmap* cache = EnsureCacheBitmap();
      DrawStatic(cache->GetCanvas());
      ClearBackgroundDirty();
    }
    DrawCacheBitmap(Canvas);
  } else {
    DrawStatic(Canvas);
  }
  if (showPostionDisplay_) DrawPositionText(Canvas);
  DrawIndicator(Canvas);
  if (showFocusRect_ && HasFocus()) DrawFocusRectangle(Canvas, GetClientRect(), GetBackGroundColor());
}
