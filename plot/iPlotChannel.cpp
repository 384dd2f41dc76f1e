#include "plot/iPlotChannel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "widgets/iOPCItem.h"

PL_ENUM_NAMES(TiPlotInterpolationStyle, "ipistStraightLine", "ipistCubicSpline", "ipistPolynomial",
              "ipistRational", "ipistDifferential", "ipistDifferentialTerminated")
PL_ENUM_NAMES(TiPlotDataCursorStyle, "ipcsValueXY", "ipcsValueX", "ipcsValueY", "ipcsDeltaX", "ipcsDeltaY",
              "ipcsInverseDeltaX")
PL_ENUM_NAMES(TiPlotDigitalReferenceStyle, "ipdrScale", "ipdrPercent")
PL_ENUM_NAMES(TiPlotHighLowStyle, "iphlsOpenClose", "iphlsCandleStick")
PL_ENUM_NAMES(TiOPCXValueSourceStyle, "iopcxvsOPCServerTimeStamp", "iopcxvsSystemTimeStamp",
              "iopcxvsElapsedTime", "iopcxvsElapsedSeconds")

const TClassInfo& TiPlotChannel::ClassInfo() {
  using C = TiPlotChannel;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotChannelCustom>("TiPlotChannel")
          .Prop("FastDrawEnabled", &C::GetFastDrawEnabled, &C::SetFastDrawEnabled)
          .Default(true)
          .Prop("InterpolationStyle", &C::GetInterpolationStyle, &C::SetInterpolationStyle)
          .Default(ipistStraightLine)
          .Prop("FillEnabled", &C::GetFillEnabled, &C::SetFillEnabled)
          .Default(false)
          .Prop("FillReference", &C::GetFillReference, &C::SetFillReference)
          .Prop("FillStyle", &C::GetFillStyle, &C::SetFillStyle)
          .Default(bsSolid)
          .Prop("FillColor", &C::GetFillColor, &C::SetFillColor)
          .Type(ColorTypeInfo())
          .Default(0)
          .Prop("FillUseChannelColor", &C::GetFillUseChannelColor, &C::SetFillUseChannelColor)
          .Default(true)
          .Prop("DigitalEnabled", &C::GetDigitalEnabled, &C::SetDigitalEnabled)
          .Default(false)
          .Prop("DigitalReferenceStyle", &C::GetDigitalReferenceStyle, &C::SetDigitalReferenceStyle)
          .Default(ipdrScale)
          .Prop("DigitalReferenceLow", &C::GetDigitalReferenceLow, &C::SetDigitalReferenceLow)
          .Prop("DigitalReferenceHigh", &C::GetDigitalReferenceHigh, &C::SetDigitalReferenceHigh)
          .Prop("HighLowStyle", &C::GetHighLowStyle, &C::SetHighLowStyle)
          .Default(iphlsOpenClose)
          .Prop("HighLowEnabled", &C::GetHighLowEnabled, &C::SetHighLowEnabled)
          .Default(false)
          // These two declare a default other than their initial value: a value equal to the
          // declared default is not stored and reads back as the initial value.
          .Prop("HighLowBarColor", &C::GetHighLowBarColor, &C::SetHighLowBarColor)
          .Type(ColorTypeInfo())
          .Default(0xFF0000)
          .Prop("HighLowBarWidth", &C::GetHighLowBarWidth, &C::SetHighLowBarWidth)
          .Prop("HighLowOpenShow", &C::GetHighLowOpenShow, &C::SetHighLowOpenShow)
          .Default(true)
          .Prop("HighLowOpenColor", &C::GetHighLowOpenColor, &C::SetHighLowOpenColor)
          .Type(ColorTypeInfo())
          .Default(0x008000)
          .Prop("HighLowOpenWidth", &C::GetHighLowOpenWidth, &C::SetHighLowOpenWidth)
          .Prop("HighLowOpenHeight", &C::GetHighLowOpenHeight, &C::SetHighLowOpenHeight)
          .Prop("HighLowCloseShow", &C::GetHighLowCloseShow, &C::SetHighLowCloseShow)
          .Default(true)
          .Prop("HighLowCloseColor", &C::GetHighLowCloseColor, &C::SetHighLowCloseColor)
          .Type(ColorTypeInfo())
          .Default(255)
          .Prop("HighLowCloseWidth", &C::GetHighLowCloseWidth, &C::SetHighLowCloseWidth)
          .Prop("HighLowCloseHeight", &C::GetHighLowCloseHeight, &C::SetHighLowCloseHeight)
          .Prop("HighLowShadowColor", &C::GetHighLowShadowColor, &C::SetHighLowShadowColor)
          .Type(ColorTypeInfo())
          .Default(0x808080)
          .Prop("HighLowBullishColor", &C::GetHighLowBullishColor, &C::SetHighLowBullishColor)
          .Type(ColorTypeInfo())
          .Default(0xFFFFFF)
          .Prop("HighLowBearishColor", &C::GetHighLowBearishColor, &C::SetHighLowBearishColor)
          .Type(ColorTypeInfo())
          .Default(0x808080)
          .Prop("BarEnabled", &C::GetBarEnabled, &C::SetBarEnabled)
          .Default(false)
          .Prop("BarPenUseChannelColor", &C::GetBarPenUseChannelColor, &C::SetBarPenUseChannelColor)
          .Default(true)
          .Prop("BarBrushUseChannelColor", &C::GetBarBrushUseChannelColor, &C::SetBarBrushUseChannelColor)
          .Default(true)
          .Prop("BarReference", &C::GetBarReference, &C::SetBarReference)
          .Prop("BarWidth", &C::GetBarWidth, &C::SetBarWidth)
          .Prop("BarPenColor", &C::GetBarPenColor, &C::SetBarPenColor)
          .Type(ColorTypeInfo())
          .Default(255)
          .Prop("BarPenWidth", &C::GetBarPenWidth, &C::SetBarPenWidth)
          .Default(0)
          .Prop("BarPenStyle", &C::GetBarPenStyle, &C::SetBarPenStyle)
          .Default(psSolid)
          .Prop("BarBrushColor", &C::GetBarBrushColor, &C::SetBarBrushColor)
          .Type(ColorTypeInfo())
          .Default(255)
          .Prop("BarBrushStyle", &C::GetBarBrushStyle, &C::SetBarBrushStyle)
          .Default(bsSolid)
          .Prop("OPCXValueSource", &C::GetOPCXValueSource, &C::SetOPCXValueSource)
          .Default(iopcxvsOPCServerTimeStamp);
  return info;
}

TiPlotChannel::TiPlotChannel(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                             const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                             const TNotifyEvent& AOnChange)
    : TiPlotChannelCustom(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange),
      FStartTime(Now()),
      FStartCounter(Clock().PerformanceCounter()) {
  TiPlotPointAttributes& a = DataList()->ListLevel;
  a.BarWidth = 5.0;
  a.BarPenColor = 255;
  a.BarBrushColor = 255;
}

// ============================================================================================
// points at the elapsed time
// ============================================================================================

double TiPlotChannel::ElapsedSeconds() const {
  const int64_t frequency = Clock().PerformanceFrequency();
  return double(Clock().PerformanceCounter() - FStartCounter) / double(frequency > 0 ? frequency : 1);
}

int32_t TiPlotChannel::AddPointAtElapsedSeconds(double Y) { return AddPointXY(ElapsedSeconds(), Y); }

int32_t TiPlotChannel::AddPointAtElapsedDays(double Y) { return AddPointXY(ElapsedSeconds() / 86400.0, Y); }

void TiPlotChannel::OPCDataReceived(TiOPCItem* Item) {
  const double y = Item->Value().AsDouble();
  switch (FOPCXValueSource) {
    case iopcxvsOPCServerTimeStamp:
    case iopcxvsSystemTimeStamp:
      AddPointXY(Now(), y);
      break;
    case iopcxvsElapsedTime:
      AddPointAtElapsedDays(y);
      break;
    case iopcxvsElapsedSeconds:
      AddPointAtElapsedSeconds(y);
      break;
  }
}

// ============================================================================================
// searches
// ============================================================================================

int32_t TiPlotChannel::BinarySearchAscending(double Target) {
  int32_t lo = 0, hi = GetCount() - 1, result = -1;
  while (hi >= lo) {
    const int32_t mid = lo + (hi - lo) / 2;
    result = mid;
    const double x = GetPointX(mid);
    if (x == Target) break;
    if (Target < x)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return result;
}

int32_t TiPlotChannel::BinarySearchDescending(double Target) {
  int32_t lo = 0, hi = GetCount() - 1, result = -1;
  while (hi >= lo) {
    const int32_t mid = lo + (hi - lo) / 2;
    result = mid;
    const double x = GetPointX(mid);
    if (x == Target) break;
    if (Target > x)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return result;
}

void TiPlotChannel::FindVisibleStart() {
  FVisibleStart = -1;
  TiPlotAxis* axis = GetXAxis();
  if (!axis || GetCount() == 0) return;
  int32_t i;
  if (FXAscending) {
    const double min = axis->GetMin();
    i = BinarySearchAscending(min);
    if (GetPointX(i) > min) --i;
  } else {
    const double max = axis->GetMax();
    i = BinarySearchDescending(max);
    if (max > GetPointX(i)) --i;
  }
  FVisibleStart = std::clamp(i, 0, GetCount() - 1);
}

void TiPlotChannel::FindVisibleStop() {
  FVisibleStop = -1;
  TiPlotAxis* axis = GetXAxis();
  if (!axis || GetCount() == 0) return;
  int32_t i;
  if (FXAscending) {
    const double max = axis->GetMax();
    i = BinarySearchAscending(max);
    if (max > GetPointX(i)) ++i;
  } else {
    const double min = axis->GetMin();
    i = BinarySearchDescending(min);
    if (GetPointX(i) > min) ++i;
  }
  FVisibleStop = std::clamp(i, 0, GetCount() - 1);
}

int32_t TiPlotChannel::IndexAtX(double X) {
  const int32_t count = GetCount();
  if (!GetXAxis() || count == 0) return -1;
  int32_t i;
  if (FXAscending) {
    if (X < GetPointX(0) || X > GetPointX(count - 1)) return -1;
    i = BinarySearchAscending(X);
    if (X > GetPointX(i)) ++i;
  } else {
    if (X > GetPointX(0) || X < GetPointX(count - 1)) return -1;
    i = BinarySearchDescending(X);
    if (X > GetPointX(i)) --i;
  }
  return std::clamp(i, 0, count - 1);
}

bool TiPlotChannel::InterpolatedYAtX(double X, double& Y) {
  Y = 0;
  const int32_t a = IndexAtX(X);
  if (a < 0) return false;
  const int32_t b = FXAscending ? a - 1 : a + 1;
  // Before the first point, or past the last one of falling X: there is no neighbour to read.
  if (b < 0 || b >= GetCount()) return false;
  if (!FDigitalEnabled && X != GetPointX(a)) {
    if (a <= 0 || GetPointNull(a) || GetPointNull(b)) return false;
    TiPlotAxis* axis = GetXAxis();
    const double c = axis->ValueToPosition(GetPointX(b));
    const double d = axis->ValueToPosition(GetPointX(a));
    const double e = axis->ValueToPosition(X);
    if (c != d && e != d) {
      Y = GetPointY(a) + (e - d) * (GetPointY(b) - GetPointY(a)) / (c - d);
      return true;
    }
  }
  Y = FDigitalEnabled ? GetPointY(b) : GetPointY(a);
  return true;
}

// ============================================================================================
// extremes for zoom-to-fit
// ============================================================================================

double TiPlotChannel::GetXMax() {
  if (!AxesAssigned() || !GetVisible()) return -1e300;
  for (int32_t i = GetCount() - 1; i >= 0; --i)
    if (!GetPointNull(i) && !GetPointEmpty(i)) return PointXHigh(i);
  return -1e300;
}

double TiPlotChannel::GetXMin() {
  if (!AxesAssigned() || !GetVisible()) return 1e300;
  for (int32_t i = 0; i < GetCount(); ++i)
    if (!GetPointNull(i) && !GetPointEmpty(i)) return PointXLow(i);
  return 1e300;
}

double TiPlotChannel::GetYMax() {
  double result = -1e300;
  if (!AxesAssigned() || !GetVisible() || GetCount() == 0) return result;
  FindVisibleStart();
  FindVisibleStop();
  for (int32_t i = std::max(FVisibleStart, 0); i <= FVisibleStop; ++i)
    if (!GetPointNull(i) && !GetPointEmpty(i)) result = std::max(result, PointYHigh(i));
  return result;
}

double TiPlotChannel::GetYMin() {
  double result = 1e300;
  if (!AxesAssigned() || !GetVisible() || GetCount() == 0) return result;
  FindVisibleStart();
  FindVisibleStop();
  for (int32_t i = std::max(FVisibleStart, 0); i <= FVisibleStop; ++i)
    if (!GetPointNull(i) && !GetPointEmpty(i)) result = std::min(result, PointYLow(i));
  return result;
}

// ============================================================================================
// paint preparation and pixel points
// ============================================================================================

void TiPlotChannel::PreparePaint() {
  SetPaintEnabled(false);
  if (!AxesAssigned() || !GetVisible() || GetCount() == 0) return;
  FXAscending = GetCount() > 2 ? GetPointX(1) >= GetPointX(0) : true;
  FindVisibleStart();
  FindVisibleStop();
  TiPlotAxis* yAxis = GetYAxis();
  double high = FDigitalReferenceHigh, low = FDigitalReferenceLow;
  if (FDigitalReferenceStyle == ipdrPercent) {
    const double min = yAxis->GetMin(), span = yAxis->GetMax() - min;
    high = min + span * FDigitalReferenceHigh / 100;
    low = min + span * FDigitalReferenceLow / 100;
  }
  FDigitalHighPixel = yAxis->ValueToPosition(high);
  FDigitalLowPixel = yAxis->ValueToPosition(low);
  FPixelFirst = std::min(GetXAxis()->MinPosition(), GetXAxis()->MaxPosition());
  FPixelLast = std::max(GetXAxis()->MinPosition(), GetXAxis()->MaxPosition());
  const size_t columns = size_t(int64_t(FPixelLast) - FPixelFirst + 1);
  if (FPixelPoints.size() < columns) FPixelPoints.resize(columns);
  for (TiPlotPixelPoint& p : FPixelPoints) p.Empty = true;
  SetPaintEnabled(true);
}

void TiPlotChannel::SetPixelPoint(int32_t XPixel, double Value) {
  if (XPixel < FPixelFirst || XPixel > FPixelLast || size_t(XPixel - FPixelFirst) >= FPixelPoints.size())
    throw Exception("Pixel List XPixel out of Range");
  TiPlotPixelPoint& p = FPixelPoints[size_t(XPixel - FPixelFirst)];
  p.Empty = false;
  p.Value = Value;
}

const TiPlotPixelPoint& TiPlotChannel::GetPixelPoint(int32_t XPixel) const {
  if (XPixel < FPixelFirst || XPixel > FPixelLast || size_t(XPixel - FPixelFirst) >= FPixelPoints.size())
    throw Exception("Pixel List XPixel out of Range");
  return FPixelPoints[size_t(XPixel - FPixelFirst)];
}

// ============================================================================================
// hit test
// ============================================================================================

bool TiPlotChannel::HitTest(const TiMouseRecord& MouseRecord) {
  bool result = TiPlotChannelCustom::HitTest(MouseRecord);
  // A right click near the trace selects the channel and opens its menu.
  if (!AxesAssigned() || MouseRecord.Button != mbRight) return result;
  const int32_t mx = MouseRecord.OrientedX, my = MouseRecord.OrientedY;
  double y;
  if (!InterpolatedYAtX(GetXAxis()->PositionToValueDouble(mx), y)) return result;
  const int32_t ypx = GetYAxis()->ValueToPosition(y);
  if (ypx >= my - 10 && ypx < my + 10) result = true;
  return result;
}

// ============================================================================================
// data cursor
// ============================================================================================

bool TiPlotChannel::CursorValueAt(double X1, int32_t P1, double& Y) {
  switch (FInterpolationStyle) {
    case ipistStraightLine:
      return InterpolatedYAtX(X1, Y);
    case ipistCubicSpline:
    case ipistPolynomial:
    case ipistRational: {
      if (P1 < FPixelFirst || P1 > FPixelLast || (FPixelFirst == 0 && FPixelLast == 0) ||
          size_t(P1 - FPixelFirst) >= FPixelPoints.size())
        return false;
      const TiPlotPixelPoint& p = FPixelPoints[size_t(P1 - FPixelFirst)];
      Y = p.Value;
      return !p.Empty;
    }
    case ipistDifferential:
    case ipistDifferentialTerminated: {
      const int32_t m = IndexAtX(X1) - 1;
      if (m >= 0) {
        Y = GetPointY(m);
        return true;
      }
      if (FInterpolationStyle == ipistDifferential) {
        const int32_t last = GetCount() - 1;
        if (!GetPointNull(last) && !GetPointEmpty(last) && GetPointX(last) < X1) {
          Y = GetPointY(last);
          return true;
        }
      }
      return false;
    }
  }
  return false;
}

TiPlotCursorReading TiPlotChannel::ReadCursor(TiPlotDataCursorStyle Style, int32_t P1, int32_t P2) {
  TiPlotCursorReading r;
  TiPlotAxis* xAxis = GetXAxis();
  if (!xAxis) {
    r.Status = 1;
    return r;
  }
  const double x1 = xAxis->PositionToValueDouble(P1);
  const double x2 = xAxis->PositionToValueDouble(P2);
  uint8_t status = 2;
  double value = 0;
  const int32_t count = GetCount();
  if (count > 0) {
    bool outside = FXAscending ? GetPointX(0) > x1 || GetPointX(count - 1) < x1
                               : GetPointX(0) < x1 || GetPointX(count - 1) > x1;
    if ((FInterpolationStyle == ipistDifferential || FInterpolationStyle == ipistDifferentialTerminated) &&
        !FDigitalEnabled)
      outside = false;
    if (!outside) status = CursorValueAt(x1, P1, value) ? 0 : 1;
  }
  const double scaler = xAxis->GetCursorScaler();
  switch (Style) {
    case ipcsValueXY:
    case ipcsValueY:
      r.X = Style == ipcsValueXY ? x1 : 0;
      r.Status = status;
      r.Y = status == 0 ? value : 0;
      break;
    case ipcsValueX:
      r.X = x1;
      break;
    case ipcsDeltaX:
      r.X = std::fabs(x1 - x2) * scaler;
      break;
    case ipcsDeltaY:
      if (TiPlotAxis* yAxis = GetYAxis())
        r.Y = std::fabs(yAxis->PositionToValueDouble(P1) - yAxis->PositionToValueDouble(P2));
      else
        r.Status = 1;
      break;
    case ipcsInverseDeltaX:
      r.X = x1 != x2 && scaler != 0 ? std::fabs(1 / (scaler * (x1 - x2)))
                                    : std::numeric_limits<double>::infinity();
      break;
  }
  return r;
}

AnsiString TiPlotChannel::FormatCursorValue(TiPlotDataCursorStyle Style, uint8_t Status, double X, double Y) {
  SetCursorTexts("", "");
  StoreCursorReading(X, Y, Status);
  TiPlotAxis* xAxis = GetXAxis();
  if (!xAxis) return Translate("No X-Axis");
  AnsiString yPart;
  if (!GetYAxis())
    yPart = "No Y-Axis";
  else if (Status == 1)
    yPart = Translate("Null");
  else if (Status == 2)
    yPart = Translate("Empty");
  else if (FDigitalEnabled)
    yPart = Translate(Y != 0 ? "High" : "Low");
  else
    yPart = GetYCursorText(Y);
  switch (Style) {
    case ipcsValueXY: {
      const AnsiString xText = GetXCursorText(X);
      SetCursorTexts(xText, yPart);
      return xText + ", " + yPart;
    }
    case ipcsValueX:
    case ipcsDeltaX: {
      const AnsiString xText = GetXCursorText(X);
      SetCursorTexts(xText, "");
      return xText;
    }
    case ipcsValueY:
      SetCursorTexts("", yPart);
      return yPart;
    case ipcsDeltaY: {
      const AnsiString yText = GetYAxis() ? GetYCursorText(Y) : AnsiString("No Y-Axis");
      SetCursorTexts("", yText);
      return yText;
    }
    case ipcsInverseDeltaX: {
      const AnsiString xText = X < 1e301 ? xAxis->CursorValueText(X) : Translate("Infinite");
      SetCursorTexts(xText, "");
      return xText;
    }
  }
  return AnsiString();
}

void TiPlotChannel::UpdateDataCursor(TiPlotDataCursor*) {
  // The data cursor hands over its style and pointer pixels and takes the reading
  // (ReadCursor, FormatCursorValue) once it publishes them.
}

// ============================================================================================
// published properties
// ============================================================================================

#define PL_PLOT_CHANNEL_SETTER(T, N)    \
  void TiPlotChannel::Set##N(T Value) { \
    if (Value == F##N) return;          \
    F##N = Value;                       \
    DoChange();                         \
  }
PL_PLOT_CHANNEL_SETTER(bool, FastDrawEnabled)
PL_PLOT_CHANNEL_SETTER(TiPlotInterpolationStyle, InterpolationStyle)
PL_PLOT_CHANNEL_SETTER(bool, FillEnabled)
PL_PLOT_CHANNEL_SETTER(double, FillReference)
PL_PLOT_CHANNEL_SETTER(TBrushStyle, FillStyle)
PL_PLOT_CHANNEL_SETTER(TColor, FillColor)
PL_PLOT_CHANNEL_SETTER(bool, FillUseChannelColor)
PL_PLOT_CHANNEL_SETTER(bool, DigitalEnabled)
PL_PLOT_CHANNEL_SETTER(TiPlotDigitalReferenceStyle, DigitalReferenceStyle)
PL_PLOT_CHANNEL_SETTER(double, DigitalReferenceLow)
PL_PLOT_CHANNEL_SETTER(double, DigitalReferenceHigh)
PL_PLOT_CHANNEL_SETTER(TiPlotHighLowStyle, HighLowStyle)
PL_PLOT_CHANNEL_SETTER(bool, HighLowEnabled)
PL_PLOT_CHANNEL_SETTER(TColor, HighLowBarColor)
PL_PLOT_CHANNEL_SETTER(double, HighLowBarWidth)
PL_PLOT_CHANNEL_SETTER(bool, HighLowOpenShow)
PL_PLOT_CHANNEL_SETTER(TColor, HighLowOpenColor)
PL_PLOT_CHANNEL_SETTER(double, HighLowOpenWidth)
PL_PLOT_CHANNEL_SETTER(double, HighLowOpenHeight)
PL_PLOT_CHANNEL_SETTER(bool, HighLowCloseShow)
PL_PLOT_CHANNEL_SETTER(TColor, HighLowCloseColor)
PL_PLOT_CHANNEL_SETTER(double, HighLowCloseWidth)
PL_PLOT_CHANNEL_SETTER(double, HighLowCloseHeight)
PL_PLOT_CHANNEL_SETTER(TColor, HighLowShadowColor)
PL_PLOT_CHANNEL_SETTER(TColor, HighLowBullishColor)
PL_PLOT_CHANNEL_SETTER(TColor, HighLowBearishColor)
PL_PLOT_CHANNEL_SETTER(bool, BarEnabled)
PL_PLOT_CHANNEL_SETTER(bool, BarPenUseChannelColor)
PL_PLOT_CHANNEL_SETTER(bool, BarBrushUseChannelColor)
#undef PL_PLOT_CHANNEL_SETTER

// The bar appearance lives in the point list: stored unconditionally, then the notification.
#define PL_PLOT_CHANNEL_BAR_SETTER(N, T, S) \
  void TiPlotChannel::Set##N(T Value) {     \
    DataList()->ListLevel.N = S(Value);     \
    DoChange();                             \
  }
PL_PLOT_CHANNEL_BAR_SETTER(BarReference, double, double)
PL_PLOT_CHANNEL_BAR_SETTER(BarWidth, double, double)
PL_PLOT_CHANNEL_BAR_SETTER(BarPenColor, TColor, TColor)
PL_PLOT_CHANNEL_BAR_SETTER(BarPenWidth, int32_t, int32_t)
PL_PLOT_CHANNEL_BAR_SETTER(BarPenStyle, TPenStyle, uint8_t)
PL_PLOT_CHANNEL_BAR_SETTER(BarBrushColor, TColor, TColor)
PL_PLOT_CHANNEL_BAR_SETTER(BarBrushStyle, TBrushStyle, uint8_t)
#undef PL_PLOT_CHANNEL_BAR_SETTER
