#include "plot/iPlotDataView.h"

#include <cstdlib>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotToolBar.h"
#include "widgets/iGPFunctions.h"

// Sections: published description / properties / percent conversions / drawing / mouse /
// notifications.

template <>
const EnumNames& EnumNamesOf<TiPlotGridLinePenStyle>() {
  static const EnumNames names("TiPlotGridLineStyle", {"ipglsSolid", "ipglsDash", "ipglsDot"});
  return names;
}
PL_ENUM_NAMES(TiPlotAxesControlStyle, "ipacsXAxis", "ipacsYAxis", "ipacsBoth")

const TClassInfo& TiPlotDataView::ClassInfo() {
  using C = TiPlotDataView;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotDataView")
          .Prop("Title", &C::GetTitle, &C::SetTitle)
          .Prop("BackgroundTransparent", &C::GetBackgroundTransparent, &C::SetBackgroundTransparent)
          .Default(true)
          .Prop("BackgroundColor", &C::GetBackgroundColor, &C::SetBackgroundColor)
          .Default(0x808000)
          .Type(ColorTypeInfo())
          .Prop("GridXAxisName", &C::GetGridXAxisName, &C::SetGridXAxisName)
          .Prop("GridYAxisName", &C::GetGridYAxisName, &C::SetGridYAxisName)
          .Prop("GridShow", &C::GetGridShow, &C::SetGridShow)
          .Default(true)
          .Prop("GridLineColor", &C::GetGridLineColor, &C::SetGridLineColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineShowLeft", &C::GetGridLineShowLeft, &C::SetGridLineShowLeft)
          .Default(true)
          .Prop("GridLineShowTop", &C::GetGridLineShowTop, &C::SetGridLineShowTop)
          .Default(true)
          .Prop("GridLineShowRight", &C::GetGridLineShowRight, &C::SetGridLineShowRight)
          .Default(true)
          .Prop("GridLineShowBottom", &C::GetGridLineShowBottom, &C::SetGridLineShowBottom)
          .Default(true)
          .Prop("GridLineShowXMajors", &C::GetGridLineShowXMajors, &C::SetGridLineShowXMajors)
          .Default(true)
          .Prop("GridLineShowYMajors", &C::GetGridLineShowYMajors, &C::SetGridLineShowYMajors)
          .Default(true)
          .Prop("GridLineShowXMinors", &C::GetGridLineShowXMinors, &C::SetGridLineShowXMinors)
          .Default(false)
          .Prop("GridLineShowYMinors", &C::GetGridLineShowYMinors, &C::SetGridLineShowYMinors)
          .Default(false)
          .Prop("GridLineMajorStyle", &C::GetGridLineMajorStyle, &C::SetGridLineMajorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineMinorStyle", &C::GetGridLineMinorStyle, &C::SetGridLineMinorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineXMajorCustom", &C::GetGridLineXMajorCustom, &C::SetGridLineXMajorCustom)
          .Default(false)
          .Prop("GridLineXMinorCustom", &C::GetGridLineXMinorCustom, &C::SetGridLineXMinorCustom)
          .Default(false)
          .Prop("GridLineYMajorCustom", &C::GetGridLineYMajorCustom, &C::SetGridLineYMajorCustom)
          .Default(false)
          .Prop("GridLineYMinorCustom", &C::GetGridLineYMinorCustom, &C::SetGridLineYMinorCustom)
          .Default(false)
          .Prop("GridLineXMajorColor", &C::GetGridLineXMajorColor, &C::SetGridLineXMajorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineXMinorColor", &C::GetGridLineXMinorColor, &C::SetGridLineXMinorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineYMajorColor", &C::GetGridLineYMajorColor, &C::SetGridLineYMajorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineYMinorColor", &C::GetGridLineYMinorColor, &C::SetGridLineYMinorColor)
          .Default(0x008000)
          .Type(ColorTypeInfo())
          .Prop("GridLineXMajorWidth", &C::GetGridLineXMajorWidth, &C::SetGridLineXMajorWidth)
          .Default(0)
          .Prop("GridLineXMinorWidth", &C::GetGridLineXMinorWidth, &C::SetGridLineXMinorWidth)
          .Default(0)
          .Prop("GridLineYMajorWidth", &C::GetGridLineYMajorWidth, &C::SetGridLineYMajorWidth)
          .Default(0)
          .Prop("GridLineYMinorWidth", &C::GetGridLineYMinorWidth, &C::SetGridLineYMinorWidth)
          .Default(0)
          .Prop("GridLineXMajorStyle", &C::GetGridLineXMajorStyle, &C::SetGridLineXMajorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineXMinorStyle", &C::GetGridLineXMinorStyle, &C::SetGridLineXMinorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineYMajorStyle", &C::GetGridLineYMajorStyle, &C::SetGridLineYMajorStyle)
          .Default(ipglsSolid)
          .Prop("GridLineYMinorStyle", &C::GetGridLineYMinorStyle, &C::SetGridLineYMinorStyle)
          .Default(ipglsSolid)
          .Prop("AxesControlEnabled", &C::GetAxesControlEnabled, &C::SetAxesControlEnabled)
          .Default(false)
          .Prop("AxesControlMouseStyle", &C::GetAxesControlMouseStyle, &C::SetAxesControlMouseStyle)
          .Default(ipacsBoth)
          .Prop("AxesControlWheelStyle", &C::GetAxesControlWheelStyle, &C::SetAxesControlWheelStyle)
          .Default(ipacsXAxis);
  return info;
}

TiPlotDataView::TiPlotDataView(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                               const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                               const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

void TiPlotDataView::SetAxesControlEnabled(bool Value) { FAxesControlEnabled = Value; }

void TiPlotDataView::SetGridXAxisName(const AnsiString& Value) {
  if (Value == FGridXAxisName) return;
  FGridXAxisName = Value;
  FGridXAxis = nullptr;
  DoChange();
}

void TiPlotDataView::SetGridYAxisName(const AnsiString& Value) {
  if (Value == FGridYAxisName) return;
  FGridYAxisName = Value;
  FGridYAxis = nullptr;
  DoChange();
}

void TiPlotDataView::DrawBackground(TCanvas* Canvas) {
  if (FBackgroundTransparent) return;
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(FBackgroundColor);
  Canvas->FillRect(GetLayoutRect());
}

// ============================================================================================
// percent conversions
// ============================================================================================

double TiPlotDataView::XPixelToPercent(int32_t X) const {
  return double(X - GetLayoutRect().Left) / LayoutWidth() * 100;
}

double TiPlotDataView::YPixelToPercent(int32_t Y) const {
  return (1 - double(Y - GetLayoutRect().Top) / LayoutHeight()) * 100;
}

int32_t TiPlotDataView::XPercentToPixel(double Percent) const {
  return int32_t(Round(LayoutWidth() * Percent / 100 + GetLayoutRect().Left));
}

int32_t TiPlotDataView::YPercentToPixel(double Percent) const {
  return int32_t(Round(LayoutHeight() * (100 - Percent) / 100 + GetLayoutRect().Top));
}

// ============================================================================================
// drawing
// ============================================================================================

namespace {
TPenStyle DataViewPenStyle(TiPlotGridLinePenStyle Style) {
  return Style == ipglsDash ? psDash : Style == ipglsDot ? psDot : psSolid;
}
}  // namespace

std::vector<TiPlotAxis*> TiPlotDataView::Axes(bool XAxes) const {
  std::vector<TiPlotAxis*> list;
  if (TiPlotComponent* plot = Plot())
    for (int32_t i = 0; i < plot->AxisCount(XAxes); ++i) list.push_back(plot->GetAxis(XAxes, i));
  return list;
}

TiPlotAxis* TiPlotDataView::GridAxis(bool XAxes) {
  TiPlotAxis*& cached = XAxes ? FGridXAxis : FGridYAxis;
  TiPlotComponent* plot = Plot();
  if (!cached && plot) cached = XAxes ? plot->FindXAxis(FGridXAxisName) : plot->FindYAxis(FGridYAxisName);
  return cached;
}

void TiPlotDataView::DrawGrid(TCanvas* Canvas, bool XAxes) {
  struct Custom {
    bool On;
    TColor Color;
    int32_t Width;
    TiPlotGridLinePenStyle Style;
  };
  const Custom major =
      XAxes ? Custom{FGridLineXMajorCustom, FGridLineXMajorColor, FGridLineXMajorWidth, FGridLineXMajorStyle}
            : Custom{FGridLineYMajorCustom, FGridLineYMajorColor, FGridLineYMajorWidth, FGridLineYMajorStyle};
  const Custom minor =
      XAxes ? Custom{FGridLineXMinorCustom, FGridLineXMinorColor, FGridLineXMinorWidth, FGridLineXMinorStyle}
            : Custom{FGridLineYMinorCustom, FGridLineYMinorColor, FGridLineYMinorWidth, FGridLineYMinorStyle};
  auto style = [&](const Custom& c, TiPlotGridLinePenStyle common, bool show) {
    TiPlotGridLineStyle g;
    g.Show = show;
    g.Color = c.On ? c.Color : FGridLineColor;
    g.Width = c.On ? c.Width : 0;
    g.Style = DataViewPenStyle(c.On ? c.Style : common);
    return g;
  };
  const TiPlotGridLineStyle majorStyle =
      style(major, FGridLineMajorStyle, XAxes ? FGridLineShowXMajors : FGridLineShowYMajors);
  const TiPlotGridLineStyle minorStyle =
      style(minor, FGridLineMinorStyle, XAxes ? FGridLineShowXMinors : FGridLineShowYMinors);
  const AnsiString& name = XAxes ? FGridXAxisName : FGridYAxisName;
  if (UpperCase(name) == "<ALL>") {
    for (TiPlotAxis* a : Axes(XAxes)) a->DrawGridLines(Canvas, GetLayoutRect(), majorStyle, minorStyle);
  } else if (TiPlotAxis* a = GridAxis(XAxes)) {
    a->DrawGridLines(Canvas, GetLayoutRect(), majorStyle, minorStyle);
  }
}

void TiPlotDataView::Draw(TCanvas* Canvas, TColor BackGroundColor) {
  TiPlotLayoutObject::Draw(Canvas, BackGroundColor);
  const TRect& r = GetLayoutRect();
  auto line = [Canvas](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    Canvas->MoveTo(x0, y0);
    Canvas->LineTo(x1, y1);
  };
  TPen* pen = Canvas->GetPen();
  if (FGridShow) {
    Canvas->GetBrush()->SetColor(BackGroundColor);
    DrawGrid(Canvas, true);
    DrawGrid(Canvas, false);
    pen->SetStyle(psSolid);
    pen->SetColor(FGridLineColor);
    pen->SetWidth(0);
    if (FGridLineShowLeft) line(r.Left, r.Top, r.Left, r.Bottom);
    if (FGridLineShowRight) line(r.Right, r.Top, r.Right, r.Bottom);
    if (FGridLineShowTop) line(r.Left, r.Top, r.Right, r.Top);
    if (FGridLineShowBottom) line(r.Left, r.Bottom, r.Right + 1, r.Bottom);
  }
  if (GetSelected()) {
    pen->SetStyle(psSolid);
    pen->SetColor(BackGroundColor);
    pen->SetWidth(0);
    line(r.Left, r.Top, r.Left, r.Bottom);
    line(r.Right, r.Top, r.Right, r.Bottom);
    line(r.Left, r.Top, r.Right, r.Top);
    line(r.Left, r.Bottom, r.Right + 1, r.Bottom);
    DrawPlotFocusFrame(Canvas, TRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1});
  }
  if (FDragging && MouseMode() == 1)
    DrawPlotFocusFrame(Canvas, NormalizedRect(FStart.X, FStart.Y, FCurrent.X, FCurrent.Y));
}

// ============================================================================================
// mouse
// ============================================================================================

int32_t TiPlotDataView::MouseMode() const {
  // A plot without a toolbar has neither the select nor the zoom-box mode.
  TiPlotComponent* plot = Plot();
  if (plot && plot->ToolBarCount() > 0) {
    TiPlotToolBar* bar = plot->GetToolBar(0);
    if (bar->SelectActive()) return 2;
    if (bar->ZoomBoxActive()) return 1;
  }
  return FAxesControlEnabled ? 3 : 0;
}

void TiPlotDataView::ApplyZoomBox(const TRect& Rect) {
  TiPlotComponent* plot = Plot();
  if (!plot) return;
  TRect zoom = Rect;
  bool cancel = false;
  if (!plot->IsStreaming()) plot->OnBeforeZoomBox(zoom, cancel);
  if (cancel) return;
  for (TiPlotAxis* a : Axes(true)) a->SetRangeFromRect(zoom);
  for (TiPlotAxis* a : Axes(false)) a->SetRangeFromRect(zoom);
}

void TiPlotDataView::LeftDown(const TiMouseRecord& MouseRecord) {
  FDecided = false;
  FXChosen = false;
  FDragging = true;
  switch (MouseMode()) {
    case 1:
      if (TiPlotComponent* plot = Plot()) plot->PauseAllAxes();
      FStart = FCurrent = TPoint{MouseRecord.X, MouseRecord.Y};
      DoSelectionChanged();
      break;
    case 3:
      FStart = TPoint{MouseRecord.X, MouseRecord.Y};
      for (TiPlotAxis* a : Axes(true)) a->LeftDown(MouseRecord);
      for (TiPlotAxis* a : Axes(false)) a->LeftDown(MouseRecord);
      break;
    default:
      break;
  }
}

void TiPlotDataView::LeftDrag(const TiMouseRecord& MouseRecord) {
  if (!FDragging) return;
  const int32_t mode = MouseMode();
  if (mode == 1) {
    if (MouseRecord.DblClick) return;
    FCurrent = TPoint{MouseRecord.X, MouseRecord.Y};
    DoSelectionChanged();
    return;
  }
  if (mode != 3) return;
  const bool shift = ShiftKeyDown();
  switch (FAxesControlMouseStyle) {
    case ipacsXAxis:
      FDecided = true;
      FXChosen = !shift;
      break;
    case ipacsYAxis:
      FDecided = true;
      FXChosen = shift;
      break;
    case ipacsBoth:
      if (!FDecided && shift) {
        // Along the X axes and across them, whichever way the axes are turned.
        const TPoint start = OrientedPoint(GetXYAxesReverse(), FStart.X, FStart.Y);
        if (std::abs(MouseRecord.OrientedX - start.X) > 3) FDecided = FXChosen = true;
        if (std::abs(MouseRecord.OrientedY - start.Y) > 3) {
          FDecided = true;
          FXChosen = false;
        }
      }
      break;
  }
  if (!FDecided || FXChosen)
    for (TiPlotAxis* a : Axes(true)) a->LeftDrag(MouseRecord);
  if (!FXChosen)
    for (TiPlotAxis* a : Axes(false)) a->LeftDrag(MouseRecord);
}

void TiPlotDataView::LeftUp(const TiMouseRecord& MouseRecord) {
  if (!FDragging) return;
  switch (MouseMode()) {
    case 1:
      // Only a box dragged down and to the right zooms.
      if (!MouseRecord.DblClick && FStart.X < FCurrent.X && FCurrent.Y > FStart.Y) {
        ApplyZoomBox(TRect{FStart.X, FStart.Y, FCurrent.X, FCurrent.Y});
        DoSelectionChanged();
      }
      break;
    case 3:
      for (TiPlotAxis* a : Axes(true)) a->LeftUp(MouseRecord);
      for (TiPlotAxis* a : Axes(false)) a->LeftUp(MouseRecord);
      break;
    default:
      break;
  }
  if (TiPlotLayoutObject::HitTest(MouseRecord) && GetOwnerHost()) GetOwnerHost()->DoObjectClick(this);
  FDragging = false;
  DoSelectionChanged();
}

bool TiPlotDataView::MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos) {
  if (MouseMode() != 3) return false;
  const bool shift = Shift.Contains(ssShift);
  bool x = true, y = true;
  if (FAxesControlWheelStyle == ipacsXAxis) x = !shift, y = shift;
  if (FAxesControlWheelStyle == ipacsYAxis) x = shift, y = !shift;
  if (x)
    for (TiPlotAxis* a : Axes(true)) a->MouseWheel(WheelDelta, Shift, MousePos);
  if (y)
    for (TiPlotAxis* a : Axes(false)) a->MouseWheel(WheelDelta, Shift, MousePos);
  return true;
}

TCursor TiPlotDataView::GetCursor(const TiMouseRecord& MouseRecord) {
  if (GetCurrentSubObject() != this) return TiPlotLayoutObject::GetCursor(MouseRecord);
  switch (MouseMode()) {
    case 1:
      return crDrag;
    case 3:
      return crHandPoint;
    default:
      return crDefault;
  }
}

void TiPlotDataView::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotLayoutObject::BuildPopupMenu(PopupMenu);
  AddEditMenuItem(PopupMenu);
}

// ============================================================================================
// notifications
// ============================================================================================

void TiPlotDataView::NotifyObjectRemoved(TiPlotObject* Obj) {
  if (Obj == FGridXAxis) FGridXAxis = nullptr;
  if (Obj == FGridYAxis) FGridYAxis = nullptr;
}

void TiPlotDataView::NotifyObjectRenamed(TiPlotObject* Obj) {
  auto* axis = dynamic_cast<TiPlotAxis*>(Obj);
  if (!axis) return;
  // The grid follows its axis, also when it has not been drawn (and so not looked up) yet.
  auto follows = [&](TiPlotAxis* cached, const AnsiString& name, bool x) {
    return axis == cached || (!cached && axis->IsXAxis() == x && SameText(axis->GetPreviousName(), name));
  };
  if (follows(FGridXAxis, FGridXAxisName, true)) {
    FGridXAxis = axis;
    FGridXAxisName = axis->GetName();
  }
  if (follows(FGridYAxis, FGridYAxisName, false)) {
    FGridYAxis = axis;
    FGridYAxisName = axis->GetName();
  }
}

void TiPlotDataView::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj != this && GetSelected()) SetSelected(false);
}
