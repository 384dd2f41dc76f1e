#include "plot/iPlotLimit.h"

#include "plot/iPlotAxis.h"
#include "plot/iPlotComponent.h"
#include "widgets/iGPFunctions.h"

PL_ENUM_NAMES(TiPlotLimitStyle, "iplsLineX", "iplsLineY", "iplsBandX", "iplsBandY", "iplsPolyBandX",
              "iplsPolyBandY")

const TClassInfo& TiPlotLimit::ClassInfo() {
  using C = TiPlotLimit;
  static const TClassInfo info = TClassInfo::Of<C, TiPlotObject>("TiPlotLimit")
                                     .Prop("Style", &C::GetStyle, &C::SetStyle)
                                     .Default(iplsLineY)
                                     .Prop("Color", &C::GetColor, &C::SetColor)
                                     .Default(0x0000FF)
                                     .Type(ColorTypeInfo())
                                     .Prop("LineStyle", &C::GetLineStyle, &C::SetLineStyle)
                                     .Default(psSolid)
                                     .Prop("LineWidth", &C::GetLineWidth, &C::SetLineWidth)
                                     .Default(0)
                                     .Prop("FillStyle", &C::GetFillStyle, &C::SetFillStyle)
                                     .Default(bsSolid)
                                     .Prop("XAxisName", &C::GetXAxisName, &C::SetXAxisName)
                                     .Prop("YAxisName", &C::GetYAxisName, &C::SetYAxisName)
                                     .Prop("Line1Position", &C::GetLine1Position, &C::SetLine1Position)
                                     .Prop("Line2Position", &C::GetLine2Position, &C::SetLine2Position)
                                     .Prop("UserCanMove", &C::GetUserCanMove, &C::SetUserCanMove)
                                     .Default(false);
  return info;
}

TiPlotLimit::TiPlotLimit(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange),
      FDataList(std::make_unique<TiLimitDataList>()) {}

TiPlotLimit::~TiPlotLimit() = default;

bool TiPlotLimit::DrawsBehind() const {
  if (FStyle == iplsPolyBandX || FStyle == iplsPolyBandY) return true;
  return (FStyle == iplsBandX || FStyle == iplsBandY) && FFillStyle != bsClear;
}

// ============================================================================================
// axes and properties
// ============================================================================================

TiPlotAxis* TiPlotLimit::XAxis() {
  if (!FXAxis)
    if (TiPlotComponent* plot = Plot()) FXAxis = plot->FindXAxis(FXAxisName);
  return FXAxis;
}

TiPlotAxis* TiPlotLimit::YAxis() {
  if (!FYAxis)
    if (TiPlotComponent* plot = Plot()) FYAxis = plot->FindYAxis(FYAxisName);
  return FYAxis;
}

void TiPlotLimit::SetXAxisName(const AnsiString& Value) {
  if (Value == FXAxisName) return;
  FXAxis = nullptr;
  SetStringField(Value, FXAxisName, &TiPlotObject::DoChange);
}

void TiPlotLimit::SetYAxisName(const AnsiString& Value) {
  if (Value == FYAxisName) return;
  FYAxis = nullptr;
  SetStringField(Value, FYAxisName, &TiPlotObject::DoChange);
}

void TiPlotLimit::SetLinePosition(int32_t Line, double Value, double& Field) {
  if (Value == Field) return;
  const double old = Field;
  Field = Value;
  DoChange();
  if (TiPlotComponent* plot = Plot()) plot->DoLimitLinePositionChange(this, Line, old, Value);
}

bool TiPlotLimit::IsYStyle() const {
  return FStyle != iplsLineX && FStyle != iplsBandX && FStyle != iplsPolyBandX;
}

bool TiPlotLimit::GrabBand(int32_t Line, TRect& Rect) const {
  if (Line < 1 || Line > 2 || !FGrabValid[Line - 1]) return false;
  Rect = FGrab[Line - 1];
  return true;
}

void TiPlotLimit::NotifyObjectRemoved(TiPlotObject* Obj) {
  if (Obj && Obj == FXAxis) FXAxis = nullptr;
  if (Obj && Obj == FYAxis) FYAxis = nullptr;
}

void TiPlotLimit::NotifyObjectRenamed(TiPlotObject* Obj) {
  TiPlotComponent* plot = Plot();
  if (!Obj || !plot) return;
  if (PlotReferenceRenamed(Obj, FXAxis, FXAxisName, plot->FindXAxis(Obj->GetName())))
    FXAxisName = Obj->GetName();
  if (PlotReferenceRenamed(Obj, FYAxis, FYAxisName, plot->FindYAxis(Obj->GetName())))
    FYAxisName = Obj->GetName();
}

void TiPlotLimit::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj && Obj != this && Obj->GetSelected()) SetSelected(false);
}

// ============================================================================================
// drawing
// ============================================================================================

// "Along" is the axis the limit's values lie on, "Across" the other one; X styles put the value
// on the horizontal screen direction (the vertical one with XYAxesReverse).

TRect TiPlotLimit::GrabRect(int32_t At, TiPlotAxis* Across) const {
  const int32_t c1 = Across->MinPosition(), c2 = Across->MaxPosition();
  return IsYStyle() ? OrientedRect(GetXYAxesReverse(), c1, At - 5, c2, At + 5)
                    : OrientedRect(GetXYAxesReverse(), At - 5, c1, At + 5, c2);
}

namespace {
// The screen point of a pixel along the value axis and a pixel along the other axis.
TPoint PlotLimitPoint(bool YStyle, bool Reverse, int32_t Along, int32_t Across) {
  return YStyle ? XYPoint(Reverse, Across, Along) : XYPoint(Reverse, Along, Across);
}

void PlotLimitLine(TCanvas* Canvas, TPoint A, TPoint B) {
  Canvas->MoveTo(A.X, A.Y);
  Canvas->LineTo(B.X, B.Y);
}
}  // namespace

void TiPlotLimit::Draw(TCanvas* Canvas, TColor) {
  FGrabValid[0] = FGrabValid[1] = false;
  if (!GetVisible()) return;
  TiPlotAxis* x = XAxis();
  TiPlotAxis* y = YAxis();
  if (!x || !y) return;
  const bool yStyle = IsYStyle();
  switch (FStyle) {
    case iplsLineX:
    case iplsLineY:
      DrawLine(Canvas, yStyle ? y : x, yStyle ? x : y);
      break;
    case iplsBandX:
    case iplsBandY:
      DrawBand(Canvas, yStyle ? y : x, yStyle ? x : y);
      break;
    case iplsPolyBandX:
    case iplsPolyBandY:
      DrawPolyBand(Canvas, yStyle ? y : x, yStyle ? x : y);
      break;
  }
}

void TiPlotLimit::DrawLine(TCanvas* Canvas, TiPlotAxis* Along, TiPlotAxis* Across) {
  if (FLine1Position < Along->GetMin() || FLine1Position > Along->GetMax()) return;
  TPen* pen = Canvas->GetPen();
  pen->SetColor(FColor);
  pen->SetWidth(FLineWidth);
  pen->SetStyle(FLineStyle);
  const bool yStyle = IsYStyle(), reverse = GetXYAxesReverse();
  const int32_t a = Along->ValueToPosition(FLine1Position);
  PlotLimitLine(Canvas, PlotLimitPoint(yStyle, reverse, a, Across->MinPosition()),
                PlotLimitPoint(yStyle, reverse, a, Across->MaxPosition()));
  FGrab[0] = GrabRect(a, Across);
  FGrabValid[0] = true;
}

void TiPlotLimit::DrawBand(TCanvas* Canvas, TiPlotAxis* Along, TiPlotAxis* Across) {
  const bool yStyle = IsYStyle(), reverse = GetXYAxesReverse();
  const int32_t a1 = Along->ValueToPosition(FLine1Position), a2 = Along->ValueToPosition(FLine2Position);
  const int32_t c1 = Across->MinPosition(), c2 = Across->MaxPosition();
  FGrab[0] = GrabRect(a1, Across);
  FGrab[1] = GrabRect(a2, Across);
  FGrabValid[0] = FGrabValid[1] = true;

  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  pen->SetColor(FColor);
  brush->SetColor(FColor);
  brush->SetStyle(FFillStyle);
  const TPoint p1 = PlotLimitPoint(yStyle, reverse, a1, c1), p2 = PlotLimitPoint(yStyle, reverse, a2, c2);
  const TRect band = NormalizedRect(p1.X, p1.Y, p2.X, p2.Y);
  auto edges = [&] {
    PlotLimitLine(Canvas, PlotLimitPoint(yStyle, reverse, a1, c1), PlotLimitPoint(yStyle, reverse, a1, c2));
    PlotLimitLine(Canvas, PlotLimitPoint(yStyle, reverse, a2, c1), PlotLimitPoint(yStyle, reverse, a2, c2));
  };
  if (FFillStyle == bsSolid) {
    pen->SetStyle(FLineStyle);
    pen->SetWidth(1);
    Canvas->Rectangle(band);
  } else if (FFillStyle == bsClear) {
    pen->SetStyle(FLineStyle);
    pen->SetWidth(FLineWidth);
    edges();
  } else {
    pen->SetStyle(psClear);
    Canvas->Rectangle(band);
    pen->SetStyle(FLineStyle);
    pen->SetWidth(1);
    edges();
  }
}

void TiPlotLimit::DrawPolyBand(TCanvas* Canvas, TiPlotAxis* Along, TiPlotAxis* Across) {
  const TiLimitDataList& list = *FDataList;
  if (list.Count() < 2) return;
  const bool yStyle = IsYStyle(), reverse = GetXYAxesReverse();
  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  pen->SetColor(FColor);
  pen->SetWidth(1);
  brush->SetColor(FColor);
  brush->SetStyle(FFillStyle);
  auto corner = [&](double Line, double Position) {
    return PlotLimitPoint(yStyle, reverse, Along->ValueToPosition(Line), Across->ValueToPosition(Position));
  };
  for (int32_t i = 1; i < list.Count(); ++i) {
    const double from = list.GetPosition(i - 1), to = list.GetPosition(i);
    if (from < Across->GetMin() && to < Across->GetMin()) continue;
    if (from > Across->GetMax()) break;
    const TPoint p1 = corner(list.GetLine1(i - 1), from), p2 = corner(list.GetLine2(i - 1), from);
    const TPoint p3 = corner(list.GetLine1(i), to), p4 = corner(list.GetLine2(i), to);
    const TPoint quad[4] = {p1, p3, p4, p2};
    if (FFillStyle == bsSolid) {
      pen->SetStyle(psSolid);
      Canvas->Polygon(quad, 4);
    } else {
      pen->SetStyle(psClear);
      Canvas->Polygon(quad, 4);
      pen->SetStyle(psSolid);
      PlotLimitLine(Canvas, p1, p3);
      PlotLimitLine(Canvas, p2, p4);
    }
  }
}

// ============================================================================================
// mouse
// ============================================================================================

bool TiPlotLimit::HitTest(const TiMouseRecord& MouseRecord) {
  const TPoint p{MouseRecord.X, MouseRecord.Y};
  return (FGrabValid[0] && FGrab[0].Contains(p)) || (FGrabValid[1] && FGrab[1].Contains(p));
}

bool TiPlotLimit::UserMayDrag() const {
  const TiPlotComponent* plot = Plot();
  return FUserCanMove && plot && plot->SelectMode();
}

TCursor TiPlotLimit::GetCursor(const TiMouseRecord&) {
  if (!UserMayDrag()) return crDefault;
  if (!(FGrabValid[0] && FGrabValid[1])) return crHandPoint;
  // The band's edges move across the value axis, which runs the other way with reversed axes.
  return IsYStyle() != GetXYAxesReverse() ? crSizeNS : crSizeWE;
}

void TiPlotLimit::LeftDown(const TiMouseRecord& MouseRecord) {
  if (!UserMayDrag()) return;
  const TPoint p{MouseRecord.X, MouseRecord.Y};
  for (int32_t line = 1; line <= 2; ++line) {
    if (!FGrabValid[line - 1] || !FGrab[line - 1].Contains(p)) continue;
    FDragLine = line;
    FDragStart = IsYStyle() ? MouseRecord.OrientedY : MouseRecord.OrientedX;
    FDragStartValue = line == 1 ? FLine1Position : FLine2Position;
    if (TiPlotComponent* plot = Plot()) plot->InvalidateNow();
    return;
  }
}

void TiPlotLimit::LeftDrag(const TiMouseRecord& MouseRecord) {
  if (FDragLine == 0) return;
  TiPlotAxis* axis = IsYStyle() ? YAxis() : XAxis();
  if (!axis) return;
  const int32_t at = IsYStyle() ? MouseRecord.OrientedY : MouseRecord.OrientedX;
  const double value = FDragStartValue + (axis->PositionToValue(at) - axis->PositionToValue(FDragStart));
  if (FDragLine == 1)
    SetLine1Position(value);
  else
    SetLine2Position(value);
}

void TiPlotLimit::LeftUp(const TiMouseRecord& MouseRecord) {
  FDragLine = 0;
  if (GetLeftPressed() && HitTest(MouseRecord))
    if (TiPlotObjectHost* host = GetOwnerHost()) host->DoObjectClick(this);
}

void TiPlotLimit::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotObject::BuildPopupMenu(PopupMenu);
  AddEditMenuItem(PopupMenu);
}
