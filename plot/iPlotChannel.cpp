#include "plot/iPlotChannel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "plot/iPlotDataCursor.h"
#include "widgets/iGPFunctions.h"
#include "widgets/iMath.h"
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
  return CursorReadingText(Style, Status, X, Y, FDigitalEnabled, true);
}

void TiPlotChannel::UpdateDataCursor(TiPlotDataCursor* DataCursor) {
  if (!DataCursor) return;
  const TiPlotDataCursorStyle style = DataCursor->GetStyle();
  const TiPlotCursorReading r = ReadCursor(style, DataCursor->Pointer1Pixel(), DataCursor->Pointer2Pixel());
  DataCursor->SetReading(r.Status, r.Y, r.X);
  DataCursor->SetText(FormatCursorValue(style, r.Status, r.X, r.Y));
}

// ============================================================================================
// drawing
// ============================================================================================

namespace {

bool ChannelFinite(double X, double Y) { return std::isfinite(X) && std::isfinite(Y); }

// The X axis's pixel column of a value, answered without the conversion while values keep landing
// in the column found last: the conversion only ever grows (or only shrinks) with the value, so a
// value between two that land in a column lands there too.  A channel of a million points in a
// few hundred columns then converts a few thousand values instead of a million.
class TChannelColumnFinder {
 public:
  explicit TChannelColumnFinder(TiPlotAxis* Axis) : FAxis(Axis) {}
  int32_t Column(double X) {
    if (X >= FLo && X <= FHi) return FPixel;
    FPixel = FAxis->ValueToPosition(X);
    // The column's edges less a millionth of a pixel, where rounding decides; both ends are
    // checked, so a range that does not hold keeps only X itself.
    const double a = FAxis->PositionToValueDouble(FPixel - 0.5),
                 b = FAxis->PositionToValueDouble(FPixel + 0.5);
    const double margin = std::fabs(b - a) * 1e-6;
    FLo = std::min(a, b) + margin;
    FHi = std::max(a, b) - margin;
    if (!(FLo <= FHi) || FAxis->ValueToPosition(FLo) != FPixel || FAxis->ValueToPosition(FHi) != FPixel)
      FLo = FHi = X;
    return FPixel;
  }

 private:
  TiPlotAxis* FAxis;
  double FLo = 1, FHi = 0;
  int32_t FPixel = 0;
};

// The fast trace's three column accumulators, reused for the whole trace (nothing is allocated per
// point): A and B fill up, the first point of a third column C draws them, then C becomes A.
template <class TDraw>
class TChannelFastColumns {
 public:
  explicit TChannelFastColumns(TDraw Draw) : FDraw(Draw) {}
  // Points of one column in a row, given as the first one's X and Y, the extremes and the last Y:
  // accumulating those four values leaves the columns as the points one by one would.
  void Add(int32_t Column, double X, double FirstY, double MinY, double MaxY, double LastY) {
    TiPlotMinMaxPoint& into = FA.Empty || Column == FA.Pixel ? FA : FB.Empty || Column == FB.Pixel ? FB : FC;
    into.Accumulate(Column, X, FirstY);
    into.Accumulate(Column, X, MinY);
    into.Accumulate(Column, X, MaxY);
    into.Accumulate(Column, X, LastY);
    if (&into != &FC) return;
    FDraw(FA, FB, FC);
    FA.CopyFrom(FC);
    FB.Reset();
    FC.Reset();
  }
  // A Null point: what is pending is drawn and the trace starts afresh.
  void Break() {
    FDraw(FA, FB, FC);
    FA.Reset();
    FB.Reset();
    FC.Reset();
  }
  void Finish() { FDraw(FA, FB, FC); }

 private:
  TDraw FDraw;
  TiPlotMinMaxPoint FA, FB, FC;
};

}  // namespace

void TiPlotChannel::Draw(TCanvas* Canvas, TColor) {
  if (!GetPaintEnabled() || !AxesAssigned()) return;
  const bool reverse = GetXYAxesReverse();
  try {
    DrawFill(Canvas, reverse);
    DrawBars(Canvas, reverse);
    DrawTrace(Canvas, reverse);
    DrawMarkers(Canvas, reverse);
    if (FHighLowStyle == iphlsOpenClose)
      DrawOpenClose(Canvas, reverse);
    else
      DrawCandleStick(Canvas, reverse);
  } catch (...) {
    // An interpolation on degenerate data (and the like) ends this channel's drawing; the other
    // objects of the plot still paint.
  }
}

TColor TiPlotChannel::FillPaintColor() const { return FFillUseChannelColor ? GetColor() : FFillColor; }

void TiPlotChannel::SetFillBrush(TCanvas* Canvas) const {
  Canvas->GetBrush()->SetStyle(FFillStyle);
  Canvas->GetBrush()->SetColor(FillPaintColor());
}

void TiPlotChannel::DrawTrace(TCanvas* Canvas, bool XYAxesReverse) {
  if (!GetTraceVisible()) return;
  SetTracePen(Canvas, GetColor(), GetTraceLineStyle(), GetTraceLineWidth());
  Canvas->GetBrush()->SetStyle(bsClear);
  if (FDigitalEnabled) {
    DrawDigital(Canvas, XYAxesReverse);
    return;
  }
  switch (FInterpolationStyle) {
    case ipistStraightLine:
      if (FFastDrawEnabled)
        DrawFast(Canvas, XYAxesReverse);
      else
        TiPlotChannelCustom::DrawTrace(Canvas, XYAxesReverse);
      break;
    case ipistCubicSpline:
      DrawSpline(Canvas, XYAxesReverse);
      break;
    case ipistPolynomial:
      DrawPolynomial(Canvas, XYAxesReverse);
      break;
    case ipistRational:
      DrawRational(Canvas, XYAxesReverse);
      break;
    case ipistDifferential:
    case ipistDifferentialTerminated:
      DrawDifferential(Canvas, XYAxesReverse);
      break;
  }
}

// ---- fill and bars

void TiPlotChannel::DrawFill(TCanvas* Canvas, bool XYAxesReverse) {
  // The other styles fill as they draw.
  if (!FFillEnabled || FFillStyle == bsClear || FInterpolationStyle != ipistStraightLine || FDigitalEnabled)
    return;
  if (FVisibleStart < 0) return;
  SetFillBrush(Canvas);
  TPen* pen = Canvas->GetPen();
  pen->SetColor(FillPaintColor());
  pen->SetWidth(0);
  pen->SetStyle(psClear);
  bool running = false;
  double lastX = 0, lastY = 0;
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t, double x, double y) {
        if (running)
          FillPolygon(Canvas, XYAxesReverse, x, FFillReference, x, y, lastX, lastY, lastX, FFillReference);
        running = true;
        lastX = x;
        lastY = y;
      },
      [&](int32_t, double) { running = false; });
}

void TiPlotChannel::DrawBars(TCanvas* Canvas, bool XYAxesReverse) {
  if (!FBarEnabled || FVisibleStart < 0) return;
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  TiPlotDataCustomList* list = DataList();
  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t i, double x, double y) {
        if (!list->GetBarVisible(i)) return;
        brush->SetColor(FBarBrushUseChannelColor ? GetColor() : list->GetBarBrushColor(i));
        brush->SetStyle(list->GetBarBrushStyle(i));
        pen->SetColor(FBarPenUseChannelColor ? GetColor() : list->GetBarPenColor(i));
        pen->SetWidth(list->GetBarPenWidth(i));
        pen->SetStyle(list->GetBarPenStyle(i));
        const double w = list->GetBarWidth(i);
        Canvas->Rectangle(OrientedRect(XYAxesReverse, xAxis->ValueToPosition(x - w / 2),
                                       yAxis->ValueToPosition(list->GetBarReference(i)),
                                       xAxis->ValueToPosition(x + w / 2), yAxis->ValueToPosition(y)));
      },
      [](int32_t, double) {});
}

// ---- straight lines, fast

void TiPlotChannel::DrawFast(TCanvas* Canvas, bool XYAxesReverse) {
  if (FVisibleStart < 0 || FVisibleStart == FVisibleStop) return;
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotDataCustomList* list = DataList();
  // Where the visible points outnumber the columns and X ascends, a column's points are one run of
  // indexes: its end is found by bisection and its Y extremes come from the list's summary.
  const int32_t span = std::abs(xAxis->MaxPosition() - xAxis->MinPosition()) + 1;
  if (FVisibleStop - FVisibleStart < 2 * span || !list->XAscending()) {
    DrawFastByPoints(Canvas, XYAxesReverse);
    return;
  }
  ForgetYPixels();
  // The side of a pixel column on which the values grow.
  const double upper = xAxis->PositionToValueDouble(1) >= xAxis->PositionToValueDouble(0) ? 0.5 : -0.5;
  TChannelColumnFinder columns(xAxis);
  TChannelFastColumns fast(
      [&](const TiPlotMinMaxPoint& A, const TiPlotMinMaxPoint& B, const TiPlotMinMaxPoint& C) {
        DrawFastColumns(Canvas, XYAxesReverse, A, B, C);
      });
  const int32_t last = FVisibleStop;
  for (int32_t i = FVisibleStart; i <= last;) {
    double x, y;
    bool null, empty;
    list->GetPoint(i, x, null, empty, y);
    if (!null && !empty && std::isfinite(y)) {
      const int32_t column = xAxis->ValueToPosition(x);
      const int32_t run = ColumnRun(list, i, last, column, upper, y);
      fast.Add(column, x, y, FRunMin, FRunMax, run == i ? y : list->GetY(run));
      // The next point: in a later column, or in this one where rounding at the edge kept it out
      // of the run (the columns then merge), or one that is not plain.
      i = run + 1;
      continue;
    }
    // A point that is not plain: its stretch is walked point by point, as the summary does.
    const int32_t stop = std::min(last, i + TiPlotDataCustomList::kSummaryBlock - 1);
    WalkPoints(
        i, stop, [&](int32_t, double px, double py) { fast.Add(columns.Column(px), px, py, py, py, py); },
        [&](int32_t, double) { fast.Break(); });
    i = stop + 1;
  }
  fast.Finish();
}

int32_t TiPlotChannel::ColumnRun(TiPlotDataCustomList* List, int32_t First, int32_t Last, int32_t Column,
                                 double Upper, double FirstY) {
  TiPlotAxis* xAxis = GetXAxis();
  // The column's values lie at or below the value at its upper pixel edge; rounding there can still
  // put the last of them in the next column, which the conversion itself settles.
  const double edge = xAxis->PositionToValueDouble(Column + Upper);
  const auto lands = [&](int32_t Index) { return xAxis->ValueToPosition(List->GetX(Index)) == Column; };
  int32_t run = List->PlainRunY(First, Last, edge, FRunMin, FRunMax);
  if (run <= First) {
    // First alone (above the edge value, yet in the column by rounding).
    FRunMin = FRunMax = FirstY;
    return First;
  }
  if (!lands(run)) {
    // Those landing form a prefix: bisect for its end, then take the extremes of the shorter run.
    int32_t in = First, out = run;
    while (out - in > 1) {
      const int32_t mid = in + (out - in) / 2;
      (lands(mid) ? in : out) = mid;
    }
    run = List->PlainRunY(First, in, HUGE_VAL, FRunMin, FRunMax);
  }
  return run;
}

void TiPlotChannel::DrawFastByPoints(TCanvas* Canvas, bool XYAxesReverse) {
  if (FVisibleStart < 0 || FVisibleStart == FVisibleStop) return;
  ForgetYPixels();
  TChannelColumnFinder columns(GetXAxis());
  TChannelFastColumns fast(
      [&](const TiPlotMinMaxPoint& A, const TiPlotMinMaxPoint& B, const TiPlotMinMaxPoint& C) {
        DrawFastColumns(Canvas, XYAxesReverse, A, B, C);
      });
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t, double x, double y) { fast.Add(columns.Column(x), x, y, y, y, y); },
      [&](int32_t, double) { fast.Break(); });
  fast.Finish();
}

void TiPlotChannel::DrawFastColumns(TCanvas* Canvas, bool XYAxesReverse, const TiPlotMinMaxPoint& A,
                                    const TiPlotMinMaxPoint& B, const TiPlotMinMaxPoint& C) {
  // A column's X is its first point's, whose pixel is the column.  Its first and last Y are mostly
  // its extremes as well: the last few Y values keep their pixels.
  TiPlotAxis* yAxis = GetYAxis();
  const auto yPixel = [&](double Y) {
    for (const TYPixel& k : FYPixels)
      if (k.Value == Y) return k.Pixel;
    TYPixel& k = FYPixels[FYPixelNext++ % std::size(FYPixels)];
    k = TYPixel{Y, yAxis->ValueToPosition(Y)};
    return k.Pixel;
  };
  const auto line = [&](const TiPlotMinMaxPoint& P, double Y1, const TiPlotMinMaxPoint& Q, double Y2) {
    DrawLineAtPixels(Canvas, XYAxesReverse, P.X, P.Pixel, Y1, yPixel(Y1), Q.X, Q.Pixel, Y2, yPixel(Y2));
  };
  if (!yAxis) return;
  if (!A.Empty && A.Min != A.Max) line(A, A.Min, A, A.Max);
  if (!B.Empty && B.Min != B.Max) line(B, B.Min, B, B.Max);
  if (!A.Empty && !B.Empty) line(A, A.LastY, B, B.FirstY);
  if (!B.Empty && !C.Empty) line(B, B.LastY, C, C.FirstY);
}

// ---- digital

void TiPlotChannel::DrawDigital(TCanvas* Canvas, bool XYAxesReverse) {
  if (FVisibleStart < 0 || FVisibleStart == FVisibleStop) return;
  TDigitalSequenceData run;
  const auto start = [&run](double X, bool Level) {
    run.Started = true;
    run.StartX = X;
    run.Level = Level;
  };
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t, double x, double y) {
        const bool level = y != 0;
        if (!run.Started) {
          start(x, level);
        } else if (level == run.Level) {
          run.Continued = true;
          run.LastX = x;
        } else {
          run.Ended = true;
          run.EndX = x;
          FlushDigitalRun(Canvas, XYAxesReverse, run);
          start(x, level);
        }
      },
      [&](int32_t, double) { FlushDigitalRun(Canvas, XYAxesReverse, run); });
  FlushDigitalRun(Canvas, XYAxesReverse, run);
}

void TiPlotChannel::FlushDigitalRun(TCanvas* Canvas, bool XYAxesReverse, TDigitalSequenceData& Run) {
  const bool percent = FDigitalReferenceStyle == ipdrPercent;
  const double level = Run.Level ? FDigitalReferenceHigh : FDigitalReferenceLow;
  if (Run.Ended || (Run.Started && Run.Continued)) {
    const double endX = Run.Ended ? Run.EndX : Run.LastX;
    if (FFillEnabled) DrawDigitalFill(Canvas, XYAxesReverse, Run.StartX, endX, level);
    DrawClippedLine(Canvas, XYAxesReverse, percent, Run.StartX, level, endX, level);
    if (Run.Ended) {
      const double other = Run.Level ? FDigitalReferenceLow : FDigitalReferenceHigh;
      DrawClippedLine(Canvas, XYAxesReverse, percent, endX, level, endX, other);
    }
  }
  Run.Clear();
}

void TiPlotChannel::DrawDigitalFill(TCanvas* Canvas, bool XYAxesReverse, double X1, double X2, double Level) {
  SetFillBrush(Canvas);
  Canvas->GetPen()->SetColor(FillPaintColor());
  if (FDigitalReferenceStyle == ipdrPercent) {
    // The fill's top edge lies where the level line is drawn (a percentage of the data view); its
    // base is FillReference on the Y axis.
    TiPlotAxis* xAxis = GetXAxis();
    TiPlotAxis* yAxis = GetYAxis();
    const int32_t x1 = xAxis->ValueToPosition(X1), x2 = xAxis->ValueToPosition(X2);
    const int32_t base = yAxis->ValueToPosition(FFillReference), top = PercentToPixel(XYAxesReverse, Level);
    const TPoint points[4] = {OrientedPoint(XYAxesReverse, x1, base), OrientedPoint(XYAxesReverse, x1, top),
                              OrientedPoint(XYAxesReverse, x2, top), OrientedPoint(XYAxesReverse, x2, base)};
    Canvas->Polygon(points, 4);
  } else {
    FillPolygon(Canvas, XYAxesReverse, X1, FFillReference, X1, Level, X2, Level, X2, FFillReference);
  }
  Canvas->GetPen()->SetColor(GetColor());
  Canvas->GetBrush()->SetStyle(bsClear);
}

// ---- interpolated curves

void TiPlotChannel::DrawInterpolatedRun(TCanvas* Canvas, bool XYAxesReverse, double XFirst, double XLast,
                                        const std::function<double(double)>& ValueAt) {
  TiPlotAxis* xAxis = GetXAxis();
  // Only the columns of the X axis that the run covers are evaluated, whichever way X runs: a run
  // beside the axis, or one reaching far beyond it, neither extrapolates nor walks the pixels up
  // to the axis's clamp limit.
  const double lo = std::max(std::min(XFirst, XLast), xAxis->GetMin());
  const double hi = std::min(std::max(XFirst, XLast), xAxis->GetMax());
  if (!(lo <= hi)) return;
  int32_t p0 = xAxis->ValueToPosition(lo), p1 = xAxis->ValueToPosition(hi);
  if (p0 > p1) std::swap(p0, p1);
  p0 = std::max(p0, GetPixelFirst());
  p1 = std::min(p1, GetPixelLast());
  const bool fill = FFillEnabled && FFillStyle != bsClear;
  if (fill) SetFillBrush(Canvas);
  TPen* pen = Canvas->GetPen();
  bool running = false;
  double lastX = 0, lastY = 0;
  for (int32_t p = p0; p <= p1; ++p) {
    const double x = xAxis->PositionToValue(p);
    const double y = ValueAt(x);
    if (!ChannelFinite(x, y)) {
      running = false;
      continue;
    }
    if (fill) {
      pen->SetColor(FillPaintColor());
      DrawClippedLine(Canvas, XYAxesReverse, false, x, FFillReference, x, y);
      pen->SetColor(GetColor());
    }
    if (running) DrawClippedLine(Canvas, XYAxesReverse, false, lastX, lastY, x, y);
    // The column itself, not the round trip through X: that could step outside the pixel list.
    SetPixelPoint(p, y);
    running = true;
    lastX = x;
    lastY = y;
  }
}

void TiPlotChannel::DrawSpline(TCanvas* Canvas, bool XYAxesReverse) {
  // The routines count from 1.
  TDoubleArray xs{0}, ys{0};
  xs.reserve(size_t(GetCount()) + 1);
  ys.reserve(size_t(GetCount()) + 1);
  const auto flush = [&] {
    const int32_t n = int32_t(xs.size()) - 1;
    if (n >= 2) DrawSplineRun(Canvas, XYAxesReverse, xs, ys, n);
    xs.resize(1);
    ys.resize(1);
  };
  WalkPoints(
      0, GetCount() - 1,
      [&](int32_t, double x, double y) {
        xs.push_back(x);
        ys.push_back(y);
      },
      [&](int32_t, double) { flush(); });
  flush();
}

void TiPlotChannel::DrawSplineRun(TCanvas* Canvas, bool XYAxesReverse, const TDoubleArray& X,
                                  const TDoubleArray& Y, int32_t N) {
  TDoubleArray y2;
  SplineSecondDerivatives(X, Y, N, y2, 1e30, 1e30);
  DrawInterpolatedRun(Canvas, XYAxesReverse, X[1], X[size_t(N)],
                      [&](double AtX) { return SplineInterpolate(X, Y, y2, N, AtX); });
}

// One curve through every stored point, Null and Empty ones included with their stored values.
void TiPlotChannel::DrawWholeChannelRun(TCanvas* Canvas, bool XYAxesReverse,
                                        void (*Interpolate)(const TDoubleArray& X, const TDoubleArray& Y,
                                                            int32_t N, double AtX, double& Value,
                                                            double& Error)) {
  const int32_t n = GetCount();
  if (n < 2) return;
  // The routines count from 1.
  TDoubleArray xs(size_t(n) + 1, 0.0), ys(size_t(n) + 1, 0.0);
  TiPlotDataCustomList* list = DataList();
  for (int32_t i = 0; i < n; ++i) {
    bool null, empty;
    list->GetPoint(i, xs[size_t(i) + 1], null, empty, ys[size_t(i) + 1]);
  }
  DrawInterpolatedRun(Canvas, XYAxesReverse, xs[1], xs[size_t(n)], [&](double AtX) {
    double value, error;
    Interpolate(xs, ys, n, AtX, value, error);
    return value;
  });
}

void TiPlotChannel::DrawPolynomial(TCanvas* Canvas, bool XYAxesReverse) {
  DrawWholeChannelRun(Canvas, XYAxesReverse, PolynomialInterpolate);
}

void TiPlotChannel::DrawRational(TCanvas* Canvas, bool XYAxesReverse) {
  DrawWholeChannelRun(Canvas, XYAxesReverse, RationalInterpolate);
}

// ---- steps

void TiPlotChannel::DrawDifferential(TCanvas* Canvas, bool XYAxesReverse) {
  if (GetCount() == 0 || FVisibleStart < 0) return;
  const bool fill = FFillEnabled && FFillStyle != bsClear;
  SetFillBrush(Canvas);
  TPen* pen = Canvas->GetPen();
  bool running = false;
  double lastX = 0, lastY = 0;
  // The held level from the previous point up to X.
  const auto level = [&](double X) {
    if (fill) {
      pen->SetColor(FillPaintColor());
      FillPolygon(Canvas, XYAxesReverse, lastX, FFillReference, lastX, lastY, X, lastY, X, FFillReference);
      pen->SetColor(GetColor());
    }
    DrawClippedLine(Canvas, XYAxesReverse, false, lastX, lastY, X, lastY);
  };
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t, double x, double y) {
        if (running) {
          level(x);
          DrawClippedLine(Canvas, XYAxesReverse, false, x, lastY, x, y);
        }
        running = true;
        lastX = x;
        lastY = y;
      },
      [&](int32_t, double x) {
        if (running && std::isfinite(x)) level(x);
        running = false;
      });
  if (FInterpolationStyle == ipistDifferential && running)
    DrawClippedLine(Canvas, XYAxesReverse, false, lastX, lastY, GetXAxis()->GetMax(), lastY);
}

// ---- markers

void TiPlotChannel::DrawMarkers(TCanvas* Canvas, bool XYAxesReverse) {
  if (FVisibleStart < 0 || FVisibleStop < 0 || !GetMarkersVisible()) return;
  if (!FDigitalEnabled) {
    TiPlotChannelCustom::DrawMarkers(Canvas, XYAxesReverse);
    return;
  }
  Canvas->SetFont(GetMarkersFont());
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t i, double x, double y) {
        if (!DataList()->GetMarkersVisible(i) || !xAxis->IsValueVisible(x) || !yAxis->IsValueVisible(y))
          return;
        DrawMarker(Canvas, i,
                   OrientedPoint(XYAxesReverse, xAxis->ValueToPosition(x),
                                 y != 0 ? FDigitalHighPixel : FDigitalLowPixel));
      },
      [](int32_t, double) {});
}

// ---- high-low

namespace {

// A pair of pixel edges that meet is widened to two pixels.
void ChannelWiden(int32_t A, int32_t& B) {
  if (A == B) B = A + 1;
}

}  // namespace

void TiPlotChannel::ForEachHighLow(
    TCanvas* Canvas,
    const std::function<void(int32_t XPixel, double High, double Low, double Open, double Close)>& Each) {
  if (!FHighLowEnabled || FVisibleStart < 0) return;
  Canvas->GetPen()->SetWidth(0);
  Canvas->GetPen()->SetStyle(psSolid);
  Canvas->GetBrush()->SetStyle(bsSolid);
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotDataCustomList* list = DataList();
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t i, double x, double) {
        const double high = list->GetHigh(i), low = list->GetLow(i), open = list->GetOpen(i),
                     close = list->GetClose(i);
        if (ChannelFinite(high, low) && ChannelFinite(open, close))
          Each(xAxis->ValueToPosition(x), high, low, open, close);
      },
      [](int32_t, double) {});
}

void TiPlotChannel::DrawOpenClose(TCanvas* Canvas, bool XYAxesReverse) {
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  const int32_t w = xAxis->SpanToPixels(FHighLowBarWidth);
  const int32_t ow = xAxis->SpanToPixels(FHighLowOpenWidth), oh = yAxis->SpanToPixels(FHighLowOpenHeight);
  const int32_t cw = xAxis->SpanToPixels(FHighLowCloseWidth), ch = yAxis->SpanToPixels(FHighLowCloseHeight);
  const auto box = [&](TColor Color, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    Canvas->GetPen()->SetColor(Color);
    Canvas->GetBrush()->SetColor(Color);
    Canvas->Rectangle(OrientedRect(XYAxesReverse, X1, Y1, X2, Y2));
  };
  // A tick from X1 to X2 around the value's pixel, Height pixels high.
  const auto tick = [&](TColor Color, int32_t X1, int32_t X2, double Value, int32_t Height) {
    const int32_t p = yAxis->ValueToPosition(Value);
    int32_t top = p - Height / 2, bottom = p + Height - Height / 2 - 1;
    ChannelWiden(X1, X2);
    ChannelWiden(top, bottom);
    box(Color, X1, top, X2, bottom);
  };
  ForEachHighLow(Canvas, [&](int32_t X, double High, double Low, double Open, double Close) {
    const int32_t left = X - w / 2;
    int32_t right = X + w - w / 2 - 1;
    ChannelWiden(left, right);
    const int32_t top = yAxis->ValueToPosition(High);
    int32_t bottom = yAxis->ValueToPosition(Low);
    if (bottom == top) ++bottom;
    const int32_t m = (left + right) / 2;
    if (FHighLowOpenShow) tick(FHighLowOpenColor, m - ow + 1, m, Open, oh);
    if (FHighLowCloseShow) tick(FHighLowCloseColor, m, m + cw - 1, Close, ch);
    box(FHighLowBarColor, left, top, right, bottom);
  });
}

void TiPlotChannel::DrawCandleStick(TCanvas* Canvas, bool XYAxesReverse) {
  TiPlotAxis* yAxis = GetYAxis();
  const int32_t h = GetXAxis()->SpanToPixels(FHighLowBarWidth) / 2;
  Canvas->GetPen()->SetColor(FHighLowShadowColor);
  ForEachHighLow(Canvas, [&](int32_t X, double High, double Low, double Open, double Close) {
    const TPoint from = OrientedPoint(XYAxesReverse, X, yAxis->ValueToPosition(High));
    const TPoint to = OrientedPoint(XYAxesReverse, X, yAxis->ValueToPosition(Low));
    Canvas->MoveTo(from.X, from.Y);
    Canvas->LineTo(to.X, to.Y);
    const int32_t top = yAxis->ValueToPosition(Open);
    int32_t bottom = yAxis->ValueToPosition(Close);
    if (bottom == top) ++bottom;
    Canvas->GetBrush()->SetColor(Open > Close ? FHighLowBearishColor : FHighLowBullishColor);
    Canvas->Rectangle(OrientedRect(XYAxesReverse, X - h, top, X + h + 1, bottom));
  });
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
