#include "plot/iXYPlotChannel.h"

#include <cmath>
#include <limits>

#include "plot/iPlotDataCursor.h"

const TClassInfo& TiXYPlotChannel::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiXYPlotChannel, TiPlotChannelCustom>("TiXYPlotChannel");
  return info;
}

TiXYPlotChannel::TiXYPlotChannel(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                 const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                 const TNotifyEvent& AOnChange)
    : TiPlotChannelCustom(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

void TiXYPlotChannel::FindVisibleStart() { FVisibleStart = 0; }

void TiXYPlotChannel::FindVisibleStop() { FVisibleStop = GetCount() - 1; }

void TiXYPlotChannel::PreparePaint() {
  SetPaintEnabled(false);
  if (!AxesAssigned() || !GetVisible() || GetCount() == 0) return;
  FindVisibleStart();
  FindVisibleStop();
  SetPaintEnabled(FVisibleStart != -1 && FVisibleStop != -1);
}

void TiXYPlotChannel::Draw(TCanvas* Canvas, TColor) {
  if (!GetPaintEnabled() || !AxesAssigned()) return;
  const bool reverse = GetXYAxesReverse();
  DrawTrace(Canvas, reverse);
  DrawMarkers(Canvas, reverse);
}

// ============================================================================================
// extremes
// ============================================================================================

template <class TValue, class TBetter>
double TiXYPlotChannel::Extreme(double Nothing, TValue&& Value, TBetter&& Better) {
  FindVisibleStart();
  FindVisibleStop();
  double result = Nothing;
  if (!AxesAssigned() || !GetVisible() || GetCount() == 0) return result;
  for (int32_t i = 0; i < GetCount(); ++i)
    if (!GetPointNull(i) && !GetPointEmpty(i)) {
      const double v = Value(i);
      if (Better(v, result)) result = v;
    }
  return result;
}

double TiXYPlotChannel::GetXMax() {
  return Extreme(
      -1e300, [this](int32_t i) { return PointXHigh(i); }, [](double a, double b) { return a > b; });
}

double TiXYPlotChannel::GetXMin() {
  return Extreme(
      1e300, [this](int32_t i) { return PointXLow(i); }, [](double a, double b) { return a < b; });
}

double TiXYPlotChannel::GetYMax() {
  return Extreme(
      -1e300, [this](int32_t i) { return PointYHigh(i); }, [](double a, double b) { return a > b; });
}

double TiXYPlotChannel::GetYMin() {
  return Extreme(
      1e300, [this](int32_t i) { return PointYLow(i); }, [](double a, double b) { return a < b; });
}

// ============================================================================================
// data cursor
// ============================================================================================

void TiXYPlotChannel::UpdateDataCursor(TiPlotDataCursor* DataCursor) {
  if (!DataCursor) return;
  const TiPlotDataCursorStyle style = DataCursor->GetStyle();
  double x = 0, y = 0;
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  if (xAxis && yAxis) {
    const int32_t p1 = DataCursor->Pointer1Pixel(), p2 = DataCursor->Pointer2Pixel();
    const double x1 = xAxis->PositionToValueDouble(p1), x2 = xAxis->PositionToValueDouble(p2);
    const double y1 = yAxis->PositionToValueDouble(p1), y2 = yAxis->PositionToValueDouble(p2);
    const double scaler = xAxis->GetCursorScaler();
    switch (style) {
      case ipcsValueXY:
        x = x1;
        y = y2;
        break;
      case ipcsValueX:
        x = x1;
        break;
      case ipcsValueY:
        y = y2;
        break;
      case ipcsDeltaX:
        x = std::fabs(x1 - x2);
        break;
      case ipcsDeltaY:
        y = std::fabs(y1 - y2);
        break;
      case ipcsInverseDeltaX:
        x = x1 != x2 && scaler != 0 ? std::fabs(1 / (scaler * (x1 - x2)))
                                    : std::numeric_limits<double>::infinity();
        break;
    }
  }
  DataCursor->SetReading(0, y, x);
  DataCursor->SetText(CursorReadingText(style, 0, x, y, false, false));
}
