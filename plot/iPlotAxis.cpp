#include "plot/iPlotAxis.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Filer.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "widgets/iGPFunctions.h"

PL_ENUM_NAMES(TiPlotScaleType, "ipstLinear", "ipstLog10")
PL_ENUM_NAMES(TiPlotTrackingStyle, "iptsScaleMinMax", "iptsScaleMax", "iptsScaleMin", "iptsScrollSmooth",
              "iptsScrollPage", "iptsExpandCollapse", "iptsExpandCollapseFast")
PL_ENUM_NAMES(TiPlotAlignFirstStyle, "ipafsNone", "ipafsMin", "ipafsMax", "ipafsAuto")
PL_ENUM_NAMES(TiPlotCartesianStyle, "ipcsNone", "ipcsMaster", "ipcsChild")
PL_ENUM_NAMES(TiPlotTextFormat, "iptfValue", "iptfExponent", "iptfPrefix", "iptfDateTime", "iptfPrice32nds",
              "iptfThousands")
PL_ENUM_NAMES(TiRotationAngle, "ira000", "ira090", "ira180", "ira270")

// ============================================================================================
// scale arithmetic
// ============================================================================================

namespace {

// P0 - Round(X) limited to the pixel range; X is cut down first so that rounding never sees an
// infinity or a value beyond 64 bits.
int32_t iPlotAxisOffsetPixel(int32_t P0, long double X) {
  const long double reach = static_cast<long double>(iPlotAxisPixelLimit) + std::abs(P0) + 2;
  X = std::clamp(X, -reach, reach);
  const int64_t p = int64_t(P0) - Round(X);
  return int32_t(std::clamp<int64_t>(p, -iPlotAxisPixelLimit, iPlotAxisPixelLimit));
}

}  // namespace

int32_t PlotAxisValueToPosition(double Value, double Min, double Span, bool Log10Scale, int32_t P0,
                                int32_t P1) {
  const int32_t mid = int32_t((int64_t(P0) + P1) / 2);
  if (P0 == P1 || !(Span > 1e-300)) return mid;
  if (!Log10Scale) {
    if (std::isnan(Value) || std::isnan(Min)) return mid;
    const long double k = static_cast<long double>(P0 - P1) / Span;
    return iPlotAxisOffsetPixel(P0, (static_cast<long double>(Value) - Min) * k);
  }
  // A log scale counts from 1 where its Min is not positive (a Min set directly, or read from a
  // definition), so that no logarithm of zero or of a negative value is taken.
  const long double m = Min > 0 ? Min : 1;
  const long double s = Span > 0 ? Span : 1;
  const long double decades = std::log10(m + s) - std::log10(m);
  if (decades == 0 || std::isnan(decades)) return 0;
  const long double v = Value > 0 ? Value : 1;
  const long double x = (std::log10(v) - std::log10(m)) * (P0 - P1) / decades;
  if (std::isnan(x)) return mid;
  return iPlotAxisOffsetPixel(P0, x);
}

double PlotAxisPositionToValue(double Position, double Min, double Span, bool Log10Scale, bool Horizontal,
                               bool Reverse, const TRect& Scale) {
  long double f;
  if (Horizontal) {
    const long double w = static_cast<long double>(Scale.Right) - Scale.Left;
    if (w == 0) return Min;
    f = Reverse ? (Scale.Right - Position) / w : (Position - Scale.Left) / w;
  } else {
    const long double h = static_cast<long double>(Scale.Bottom) - Scale.Top;
    if (h == 0) return Min;
    f = Reverse ? (Position - Scale.Top) / h : (Scale.Bottom - Position) / h;
  }
  if (!Log10Scale) return double(Min + Span * f);
  const long double m = Min > 0 ? Min : 1;
  const long double max = m + (Span > 0 ? Span : 1);
  const long double lm = std::log10(m);
  return double(std::pow(10.0L, lm + (std::log10(max) - lm) * f));
}

TiPlotAxisRange PlotAxisZoom(double Min, double Span, bool Log10Scale, double Factor) {
  if (Log10Scale) {
    const double g = std::pow(10.0, Factor);
    return {Min / g, Span * g};
  }
  if (!(Factor > 0)) throw Exception("Linear Scale Zoom Factor must be Greater than Zero");
  const double span = Factor * Span;
  return {(Min + (Min + Span)) / 2 - span / 2, span};
}

TiPlotAxisRange PlotAxisZoomStep(double Min, double Span, bool Log10Scale, double Amount) {
  const double g = std::pow(10.0, Amount);
  if (Log10Scale) return {Min * g, Span / g};
  const double span = Span / g;
  return {(Min + (Min + Span)) / 2 - span / 2, span};
}

TiPlotAxisRange PlotAxisScrollStep(double Min, double Span, bool Log10Scale, double Fraction,
                                   bool ScrollMinMaxEnabled, double ScrollMin, double ScrollMax) {
  if (!Log10Scale) {
    double min = Min + Fraction * Span;
    if (ScrollMinMaxEnabled) {
      if (min <= ScrollMin)
        min = ScrollMin;
      else if (min + Span >= ScrollMax)
        min = ScrollMax - Span;
    }
    return {min, Span};
  }
  const double m = Min > 0 ? Min : 1;
  const double max = m + (Span > 0 ? Span : 1);
  const double g = std::pow(10.0, Fraction * (std::log10(max) - std::log10(m)));
  return {m * g, max * g - m * g};
}

TiPlotAxisTrackResult PlotAxisTrack(double V, double Min, double Span, TiPlotTrackingStyle Style,
                                    TiPlotAlignFirstStyle AlignFirst, double CompressMax, bool& First) {
  double m = Min, s = Span;
  if (!First) {
    First = true;
    switch (AlignFirst) {
      case ipafsMin:
        m = V;
        break;
      case ipafsMax:
        m = V - Span;
        break;
      case ipafsAuto:
        if (V < Min || V > Min + Span) m = V;
        break;
      case ipafsNone:
        break;
    }
  }
  switch (Style) {
    case iptsScaleMinMax:
      if (V > m + Span) s = V - m;
      if (V < m) m = V;
      break;
    case iptsScaleMax:
      if (V > m + Span) s = V - m;
      break;
    case iptsScaleMin:
      if (V < m) m = V;
      break;
    case iptsScrollSmooth:
    case iptsScrollPage:
      if (V > m + Span) {
        if (CompressMax != 0) {
          if (Span > CompressMax)
            s = CompressMax;
          else if (V - m > Span)
            s = V - m;
        }
        if (Style == iptsScrollSmooth)
          m = V - s;
        else
          m = m + s;
      } else if (V < Min) {
        if (Style == iptsScrollSmooth)
          m = V;
        else
          m = m - s;
      }
      break;
    case iptsExpandCollapse:
      return {TiPlotAxisTrackResult::ZoomToFit, Min, Span};
    case iptsExpandCollapseFast:
      return {TiPlotAxisTrackResult::ZoomToFitFast, Min, Span};
  }
  return {TiPlotAxisTrackResult::SetRange, m, s};
}

// ============================================================================================
// tick steps
// ============================================================================================

namespace {

// Step tables of the date/time units: steps in the unit and the unit in days.
constexpr int32_t iPlotAxisMsSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};
constexpr int32_t iPlotAxisSecMinSteps[] = {1, 2, 5, 10, 15, 20, 30};
constexpr int32_t iPlotAxisHourSteps[] = {1, 2, 4, 6, 12};
constexpr int32_t iPlotAxisDaySteps[] = {1, 7, 14};
struct iPlotAxisMonthStep {
  int32_t Months, Days;
};
constexpr iPlotAxisMonthStep iPlotAxisMonthSteps[] = {{1, 31}, {2, 61}, {3, 92}, {6, 183}};

// The first step of a table that cuts Total into at most N pieces.
template <size_t L>
bool iPlotAxisUnitStep(const int32_t (&Steps)[L], int64_t Total, int32_t N, double DaysPerUnit,
                       TiPlotAxisStep& Result) {
  for (int32_t s : Steps) {
    if (N >= Total / s) {
      Result.Step = s * DaysPerUnit;
      Result.Count = int32_t(std::max<int64_t>(1, Total / s));
      return true;
    }
  }
  return false;
}

// 1, 2, 5 x 10^i from i = 0 up, the first that Fits; the loop ends long before the exponent
// could leave the double range, since every span is at most 1e300.
template <class F>
double iPlotAxisDecadeSearch(F Fits) {
  for (int32_t i = 0; i < 400; ++i)
    for (double m : {1.0, 2.0, 5.0}) {
      const double s = m * std::pow(10.0, i);
      if (Fits(s)) return s;
    }
  return 1e300;
}

}  // namespace

TiPlotAxisStep PlotAxisNiceStep(double Span, int32_t N) {
  TiPlotAxisStep r;
  N = std::max(N, 1);
  if (!(Span > 0) || !std::isfinite(Span)) return {Span, 1};
  int64_t d = Trunc(std::log10(Span) - 1 - std::log10(double(N)));
  for (int32_t guard = 0; guard < 1000; ++guard, ++d) {
    for (double m : {1.0, 2.0, 5.0}) {
      const double s = m * std::pow(10.0, double(d));
      if (s > 0 && N >= Span / s) {
        r.Step = s;
        r.Count = int32_t(Round(Span / s));
        return r;
      }
    }
  }
  return {Span, 1};
}

TiPlotAxisStep PlotAxisDateTimeStep(double Span, int32_t N) {
  TiPlotAxisStep r;
  N = std::max(N, 1);
  if (iPlotAxisUnitStep(iPlotAxisMsSteps, DateTimeToMilliseconds(Span), N, 1.0 / MSecsPerDay, r)) return r;
  if (iPlotAxisUnitStep(iPlotAxisSecMinSteps, DateTimeToSeconds(Span), N, 1.0 / SecsPerDay, r)) return r;
  if (iPlotAxisUnitStep(iPlotAxisSecMinSteps, DateTimeToMinutes(Span), N, 1.0 / MinsPerDay, r)) return r;
  if (iPlotAxisUnitStep(iPlotAxisHourSteps, DateTimeToHours(Span), N, 1.0 / HoursPerDay, r)) return r;
  // Whole days, kept as a double so that no span can overflow the count.
  const double days = std::isfinite(Span) && Span > 0 ? std::trunc(Span) : 0;
  for (int32_t s : iPlotAxisDaySteps)
    if (N >= std::floor(days / s))
      return {double(s), int32_t(std::max(1.0, std::floor(days / s))), false, false};
  for (const iPlotAxisMonthStep& s : iPlotAxisMonthSteps)
    if (N >= std::floor(days / s.Days))
      return {double(s.Months), int32_t(std::max(1.0, std::floor(days / s.Days))), true, false};
  const double years = iPlotAxisDecadeSearch([&](double y) { return N >= std::floor(days / (365 * y)); });
  return {years, int32_t(std::clamp(std::floor(days / (365 * years)), 1.0, 2147483647.0)), false, true};
}

TiPlotAxisStep PlotAxisPrice32ndsStep(double Span, int32_t N) {
  N = std::max(N, 1);
  double step = 0;
  for (double s = 1.0 / 256; s < 1; s *= 2)
    if (N >= Span / s) {
      step = s;
      break;
    }
  if (step == 0) step = iPlotAxisDecadeSearch([&](double s) { return N >= Span / s; });
  const double k = Span / step;
  return {step, int32_t(std::isfinite(k) ? std::clamp<double>(std::trunc(k), 0, 2147483647.0) : 0), false,
          false};
}

// ============================================================================================
// value texts
// ============================================================================================

namespace {

AnsiString iPlotAxisFixed(long double X, int32_t Decimals) {
  return Trim(Format("%." + IntToStr(Decimals) + "f", {X}));
}

const char* iPlotAxisPrefix(int64_t Exponent) {
  switch (Exponent) {
    case 24:
      return "Y";
    case 21:
      return "Z";
    case 18:
      return "E";
    case 15:
      return "P";
    case 12:
      return "T";
    case 9:
      return "G";
    case 6:
      return "M";
    case 3:
      return "K";
    case 0:
      return "";
    case -3:
      return "m";
    case -6:
      return "\xB5";
    case -9:
      return "n";
    case -12:
      return "p";
    case -15:
      return "f";
    case -18:
      return "a";
    case -21:
      return "z";
    case -24:
      return "y";
    default:
      return nullptr;
  }
}

AnsiString iPlotAxisFormatText(const TiPlotAxisTextFormat& F, double X, double Span, bool Log10Scale) {
  switch (F.Style) {
    case iptfValue:
      if (!Log10Scale) return iPlotAxisFixed(X, DecimalPlacesForSpan(F.Precision, F.PrecisionStyle, 0, Span));
      if (!(X > 0)) return "Unknown";
      return iPlotAxisFixed(X, int32_t(std::max<int64_t>(0, -Trunc(Log10(X) - 0.5L))));
    case iptfExponent: {
      const int32_t p = F.PrecisionStyle == ipsFixedDecimalPoints ? F.Precision + 1 : F.Precision;
      return Trim(Format("%." + IntToStr(p) + "e", {X}));
    }
    case iptfPrefix: {
      const int64_t e = X == 0 ? 0 : 3 * Trunc(Int(std::log10(std::fabs(X)) / 3));
      const char* prefix = iPlotAxisPrefix(e);
      if (!prefix) return "Unknown";
      const double y = X / std::pow(10.0, double(e));
      return iPlotAxisFixed(y, DecimalPlacesForSpan(F.Precision, F.PrecisionStyle, 0, y)) + prefix;
    }
    case iptfDateTime:
      if (!F.DateTimeFormat.empty() && (F.DateTimeFormat[0] == 'J' || F.DateTimeFormat[0] == 'j'))
        return Trim(IntToStr(Trunc(X)) + " " + FormatDateTime(F.DateTimeFormat.substr(1), X));
      return Trim(FormatDateTime(F.DateTimeFormat, X));
    case iptfPrice32nds: {
      const long double shifted = static_cast<long double>(X) + 1.0L / 512;
      const int64_t m = Round(Frac(shifted) * 1024);
      return Format("%.0f", {Int(shifted)}) + "." + Format("%.2d", {Div<int64_t>(m, 32)}) +
             IntToStr(Div<int64_t>(Mod<int64_t>(m, 32), 4));
    }
    case iptfThousands: {
      const int32_t n = DecimalPlacesForSpan(F.Precision, F.PrecisionStyle, 0, Span);
      return Trim(FormatFloat(n > 0 ? "#,#0." + StringOfChar('0', n) : AnsiString("#,#0"), X));
    }
  }
  return "Unknown";
}

}  // namespace

AnsiString PlotAxisFormatValue(const TiPlotAxisTextFormat& Format, double X, double Span, bool Log10Scale) {
  try {
    return iPlotAxisFormatText(Format, X, Span, Log10Scale);
  } catch (const Exception&) {
    return "Error";
  }
}

// ============================================================================================
// calendar
// ============================================================================================

namespace iDateUtils {

namespace {

// The parts of a date with the requested replacements (-1: keep the date's own part).
struct iPlotAxisDateParts {
  int32_t Year = -1, Month = -1, Day = -1;
};

[[noreturn]] void RaiseInvalidDateTime(TDateTime Date, const iPlotAxisDateParts& Want) {
  WORD y, m, d, h, n, s, z;
  DecodeDate(Date, y, m, d);
  DecodeTime(Date, h, n, s, z);
  auto part = [&](int32_t wanted, int32_t own) {
    if (wanted >= 0) return IntToStr(wanted);
    return Date == 0 ? AnsiString("?") : IntToStr(own);
  };
  const TFormatSettings& fs = FormatSettings;
  const AnsiString text = part(Want.Year, y) + fs.DateSeparator + part(Want.Month, m) + fs.DateSeparator +
                          part(Want.Day, d) + " " + part(-1, h) + fs.TimeSeparator + part(-1, n) +
                          fs.TimeSeparator + part(-1, s) + fs.DecimalSeparator + part(-1, z);
  throw EConvertError("'" + text + "' is not a valid date and time");
}

TDateTime Recode(TDateTime Date, const iPlotAxisDateParts& Want) {
  WORD y, m, d;
  DecodeDate(Date, y, m, d);
  const int32_t ny = Want.Year >= 0 ? Want.Year : y, nm = Want.Month >= 0 ? Want.Month : m,
                nd = Want.Day >= 0 ? Want.Day : d;
  TDateTime result;
  if (ny < 1 || ny > 9999 || nm < 1 || nm > 12 || nd < 1 || nd > 31 ||
      !TryEncodeDate(WORD(ny), WORD(nm), WORD(nd), result))
    RaiseInvalidDateTime(Date, Want);
  const TDateTime timeOfDay = std::isfinite(Date) ? std::fabs(Date - std::trunc(Date)) : 0;
  return result >= 0 ? result + timeOfDay : result - timeOfDay;
}

}  // namespace

WORD YearOf(TDateTime Date) {
  WORD y, m, d;
  DecodeDate(Date, y, m, d);
  return y;
}
WORD MonthOf(TDateTime Date) {
  WORD y, m, d;
  DecodeDate(Date, y, m, d);
  return m;
}
TDateTime RecodeYear(TDateTime Date, int32_t Year) { return Recode(Date, {Year, -1, -1}); }
TDateTime RecodeMonth(TDateTime Date, int32_t Month) { return Recode(Date, {-1, Month, -1}); }
TDateTime RecodeDay(TDateTime Date, int32_t Day) { return Recode(Date, {-1, -1, Day}); }
TDateTime IncMonths(TDateTime Date, int32_t Months) { return IncMonth(Date, Months); }
TDateTime IncYears(TDateTime Date, int32_t Years) {
  return IncMonth(Date, int32_t(std::clamp<int64_t>(int64_t(Years) * 12, -120000, 120000)));
}

}  // namespace iDateUtils

// ============================================================================================
// the axis object: construction and stored definitions
// ============================================================================================

const TClassInfo& TiPlotAxis::ClassInfo() {
  using A = TiPlotAxis;
  static const TClassInfo info =
      TClassInfo::Of<A, TiPlotLayoutObject>("TiPlotAxis")
          .Prop("Min", &A::GetMin, &A::SetMin)
          .Prop("Span", &A::GetSpan, &A::SetSpan)
          .Prop("DesiredStart", &A::GetDesiredStart, &A::SetDesiredStart)
          .Prop("DesiredIncrement", &A::GetDesiredIncrement, &A::SetDesiredIncrement)
          .Prop("ReverseScale", &A::GetReverseScale, &A::SetReverseScale)
          .Default(false)
          .Prop("ScaleType", &A::GetScaleType, &A::SetScaleType)
          .Default(ipstLinear)
          .Prop("TrackingEnabled", &A::GetTrackingEnabled, &A::SetTrackingEnabled)
          .Default(true)
          .Prop("TrackingStyle", &A::GetTrackingStyle, &A::SetTrackingStyle)
          // Written whenever it differs from the kind's initial value, so that a stored choice
          // reads back as it was.
          .Prop("TrackingAlignFirstStyle", &A::GetTrackingAlignFirstStyle, &A::SetTrackingAlignFirstStyle)
          .Stored(&A::IsTrackingAlignFirstStyleStored)
          .Prop("TrackingScrollCompressMax", &A::GetTrackingScrollCompressMax,
                &A::SetTrackingScrollCompressMax)
          .Prop("RestoreValuesOnResume", &A::GetRestoreValuesOnResume, &A::SetRestoreValuesOnResume)
          .Prop("ScrollMinMaxEnabled", &A::GetScrollMinMaxEnabled, &A::SetScrollMinMaxEnabled)
          .Prop("ScrollMin", &A::GetScrollMin, &A::SetScrollMin)
          .Prop("ScrollMax", &A::GetScrollMax, &A::SetScrollMax)
          .Prop("MasterUIInput", &A::GetMasterUIInput, &A::SetMasterUIInput)
          .Prop("CartesianStyle", &A::GetCartesianStyle, &A::SetCartesianStyle)
          .Prop("CartesianChildRefAxisName", &A::GetCartesianChildRefAxisName,
                &A::SetCartesianChildRefAxisName)
          .Prop("CartesianChildRefValue", &A::GetCartesianChildRefValue, &A::SetCartesianChildRefValue)
          .Prop("AlignRefAxisName", &A::GetAlignRefAxisName, &A::SetAlignRefAxisName)
          .Prop("CursorScaler", &A::GetCursorScaler, &A::SetCursorScaler)
          .Prop("ForceStacking", &A::GetForceStacking, &A::SetForceStacking)
          .Prop("LabelsVisible", &A::GetLabelsVisible, &A::SetLabelsVisible)
          .Default(true)
          .Object("LabelsFont", &A::GetLabelsFont, &A::SetLabelsFont)
          .Prop("LabelsMargin", &A::GetLabelsMargin, &A::SetLabelsMargin)
          .Prop("LabelSeparation", &A::GetLabelSeparation, &A::SetLabelSeparation)
          .Prop("LabelsRotation", &A::GetLabelsRotation, &A::SetLabelsRotation)
          .Prop("LabelsFormatStyle", &A::GetLabelsFormatStyle, &A::SetLabelsFormatStyle)
          .Default(iptfValue)
          .Prop("DateTimeFormat", &A::GetDateTimeFormat, &A::SetDateTimeFormat)
          .Prop("LabelsPrecision", &A::GetLabelsPrecision, &A::SetLabelsPrecision)
          .Default(3)
          .Prop("LabelsPrecisionStyle", &A::GetLabelsPrecisionStyle, &A::SetLabelsPrecisionStyle)
          .Default(ipsSignificantDigits)
          .Prop("LabelsMinLength", &A::GetLabelsMinLength, &A::SetLabelsMinLength)
          .Prop("LabelsMinLengthAutoAdjust", &A::GetLabelsMinLengthAutoAdjust,
                &A::SetLabelsMinLengthAutoAdjust)
          .Default(false)
          .Prop("MajorLength", &A::GetMajorLength, &A::SetMajorLength)
          .Default(7)
          .Prop("MinorLength", &A::GetMinorLength, &A::SetMinorLength)
          .Default(3)
          .Prop("MinorCount", &A::GetMinorCount, &A::SetMinorCount)
          .Default(1)
          .Prop("InnerMargin", &A::GetInnerMargin, &A::SetInnerMargin)
          .Default(5)
          .Prop("OuterMargin", &A::GetOuterMargin, &A::SetOuterMargin)
          .Default(5)
          .Prop("StackingEndsMargin", &A::GetStackingEndsMargin, &A::SetStackingEndsMargin)
          .Prop("ScaleLinesShow", &A::GetScaleLinesShow, &A::SetScaleLinesShow)
          .Default(true)
          .Prop("ScaleLinesColor", &A::GetScaleLinesColor, &A::SetScaleLinesColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("ScaleLineShow", &A::GetScaleLineShow, &A::SetScaleLineShow)
          .Prop("GridLinesVisible", &A::GetGridLinesVisible, &A::SetGridLinesVisible)
          .Prop("Title", &A::GetTitle, &A::SetTitle)
          .Prop("TitleShow", &A::GetTitleShow, &A::SetTitleShow)
          .Default(false)
          .Object("TitleFont", &A::GetTitleFont, &A::SetTitleFont)
          .Prop("TitleMargin", &A::GetTitleMargin, &A::SetTitleMargin)
          .Prop("TitleRotated", &A::GetTitleRotated, &A::SetTitleRotated)
          .Default(false)
          .Prop("CursorUseDefaultFormat", &A::GetCursorUseDefaultFormat, &A::SetCursorUseDefaultFormat)
          .Default(true)
          .Prop("LegendUseDefaultFormat", &A::GetLegendUseDefaultFormat, &A::SetLegendUseDefaultFormat)
          .Default(true)
          .Prop("CursorFormatStyle", &A::GetCursorFormatStyle, &A::SetCursorFormatStyle)
          .Default(iptfValue)
          .Prop("LegendFormatStyle", &A::GetLegendFormatStyle, &A::SetLegendFormatStyle)
          .Default(iptfValue)
          .Prop("CursorDateTimeFormat", &A::GetCursorDateTimeFormat, &A::SetCursorDateTimeFormat)
          .Prop("LegendDateTimeFormat", &A::GetLegendDateTimeFormat, &A::SetLegendDateTimeFormat)
          .Prop("CursorPrecision", &A::GetCursorPrecision, &A::SetCursorPrecision)
          .Prop("LegendPrecision", &A::GetLegendPrecision, &A::SetLegendPrecision)
          .Prop("CursorPrecisionStyle", &A::GetCursorPrecisionStyle, &A::SetCursorPrecisionStyle)
          .Default(ipsSignificantDigits)
          .Prop("LegendPrecisionStyle", &A::GetLegendPrecisionStyle, &A::SetLegendPrecisionStyle)
          .Default(ipsSignificantDigits)
          .Prop("CursorMinLength", &A::GetCursorMinLength, &A::SetCursorMinLength)
          .Prop("LegendMinLength", &A::GetLegendMinLength, &A::SetLegendMinLength)
          .Prop("CursorMinLengthAutoAdjust", &A::GetCursorMinLengthAutoAdjust,
                &A::SetCursorMinLengthAutoAdjust)
          .Default(false)
          .Prop("LegendMinLengthAutoAdjust", &A::GetLegendMinLengthAutoAdjust,
                &A::SetLegendMinLengthAutoAdjust)
          .Default(false);
  return info;
}

const TClassInfo& TiPlotXAxis::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotXAxis, TiPlotAxis>("TiPlotXAxis");
  return info;
}

const TClassInfo& TiPlotYAxis::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotYAxis, TiPlotAxis>("TiPlotYAxis");
  return info;
}

TiPlotAxis::TiPlotAxis(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                       const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange),
      FLabelsFont(std::make_unique<TFont>()),
      FTitleFont(std::make_unique<TFont>()) {
  FLabelsFont->SetColor(clWhite);
  FTitleFont->SetName("Arial");
  FTitleFont->SetSize(10);
  FTitleFont->SetStyle(TFontStyles{fsBold});
  FTitleFont->SetColor(clWhite);
  FLabelsFont->OnChange = TNotifyEvent(this, &TiPlotAxis::FontChanged);
  FTitleFont->OnChange = TNotifyEvent(this, &TiPlotAxis::FontChanged);
  FResumeLabelsMinLength = FLabelsMinLength;
}

TiPlotAxis::~TiPlotAxis() = default;

TiPlotXAxis::TiPlotXAxis(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotAxis(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  TiPlotAxisHost* host = AxisHost();
  SetTrackingStyle(host && host->IsPlot() ? iptsScrollSmooth : iptsScaleMinMax);
  SetTrackingAlignFirstStyle(ipafsAuto);
  SetHorizontal(true);
}

TiPlotYAxis::TiPlotYAxis(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotAxis(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

void TiPlotAxis::DefineProperties(TFiler* Filer) {
  TiPlotLayoutObject::DefineProperties(Filer);
  // Older definitions stored the span under these names; they are read, never written. A value
  // that is not a number or out of range is clamped as the property would clamp it.
  auto readSpan = TReaderProc::Lambda([this](TReader* r) {
    const double v = double(r->ReadFloat());
    FSpan = v < 1e-300 ? 1e-300 : (v <= 1e300 ? v : 1e300);
  });
  Filer->DefineProperty("Span", readSpan, TWriterProc(), false);
  Filer->DefineProperty("Span_2", readSpan, TWriterProc(), false);
  // A float property of 0 is left out by the writer: these two carry their 0 themselves.
  Filer->DefineProperty(
      "LabelSeparation",
      TReaderProc::Lambda([this](TReader* r) { FLabelSeparation = double(r->ReadFloat()); }),
      TWriterProc::Lambda([this](TWriter* w) { w->WriteFloat(FLabelSeparation); }), FLabelSeparation == 0);
  Filer->DefineProperty(
      "TitleMargin", TReaderProc::Lambda([this](TReader* r) { FTitleMargin = double(r->ReadFloat()); }),
      TWriterProc::Lambda([this](TWriter* w) { w->WriteFloat(FTitleMargin); }), FTitleMargin == 0);
}

TiPlotAxisHost* TiPlotAxis::AxisHost() const { return dynamic_cast<TiPlotAxisHost*>(GetOwnerHost()); }

bool TiPlotAxis::Streaming() const {
  TiPlotAxisHost* host = AxisHost();
  return host && host->IsStreaming();
}

void TiPlotAxis::FontChanged(TObject*) { DoChange(); }

bool TiPlotAxis::IsXAxis() const { return dynamic_cast<const TiPlotXAxis*>(this) != nullptr; }

// ============================================================================================
// the axis object: range, events and tracking
// ============================================================================================

void TiPlotAxis::SetMin(double Value) {
  if (!(Value <= 1e300)) Value = 1e300;
  if (Value < -1e300) Value = -1e300;
  if (Value == FMin) return;
  const double old = FMin;
  FMin = Value;
  DoChange();
  TiPlotAxisHost* host = AxisHost();
  if (!host || host->IsStreaming()) return;
  host->DoAxisMinChange(this, old, Value);
  if (!FChanging) host->DoAxisMinSpanChange(this, old, FSpan, Value, FSpan);
}

void TiPlotAxis::SetSpan(double Value) {
  if (Value < 1e-300) Value = 1e-300;
  if (!(Value <= 1e300)) Value = 1e300;
  if (Value == FSpan) return;
  const double old = FSpan;
  FSpan = Value;
  DoChange();
  TiPlotAxisHost* host = AxisHost();
  if (!host || host->IsStreaming()) return;
  host->DoAxisSpanChange(this, old, Value);
  if (!FChanging) host->DoAxisMinSpanChange(this, FMin, old, FMin, Value);
}

void TiPlotAxis::SetMinSpan(double AMin, double ASpan) {
  if (FScaleType == ipstLog10) {
    if (!(AMin > 0)) AMin = 1;
    if (!(ASpan > 0)) ASpan = 1;
  }
  if (AMin == FMin && ASpan == FSpan) return;
  const double oldMin = FMin, oldSpan = FSpan;
  FChanging = true;
  try {
    SetMin(AMin);
    SetSpan(ASpan);
  } catch (...) {
    FChanging = false;
    throw;
  }
  FChanging = false;
  TiPlotAxisHost* host = AxisHost();
  if (host && !host->IsStreaming()) host->DoAxisMinSpanChange(this, oldMin, oldSpan, FMin, FSpan);
}

void TiPlotAxis::Zoom(double Factor) {
  const TiPlotAxisRange r = PlotAxisZoom(FMin, FSpan, FScaleType == ipstLog10, Factor);
  SetMinSpan(r.Min, r.Span);
}

void TiPlotAxis::ZoomStep(double Amount) {
  const TiPlotAxisRange r = PlotAxisZoomStep(FMin, FSpan, FScaleType == ipstLog10, Amount);
  SetMinSpan(r.Min, r.Span);
}

void TiPlotAxis::ScrollStep(double Fraction) {
  const TiPlotAxisRange r = PlotAxisScrollStep(FMin, FSpan, FScaleType == ipstLog10, Fraction,
                                               FScrollMinMaxEnabled, FScrollMin, FScrollMax);
  SetMinSpan(r.Min, r.Span);
}

void TiPlotAxis::ZoomToFitRange(bool Fast) {
  TiPlotAxisHost* host = AxisHost();
  if (!host) return;
  double lo = 1e300, hi = -1e300;
  host->AxisDataRange(this, Fast, lo, hi);
  if (hi > -1e299 && lo < 1e299 && hi != lo) SetMinSpan(lo, hi - lo);
}

void TiPlotAxis::ZoomToFit() { ZoomToFitRange(false); }
void TiPlotAxis::ZoomToFitFast() { ZoomToFitRange(true); }

void TiPlotAxis::TrackValue(double Value) {
  // A value that is not a number has no place on a scale; tracking it would throw the range to
  // its limits.
  if (!FTrackingEnabled || std::isnan(Value)) return;
  const TiPlotAxisTrackResult r = PlotAxisTrack(Value, FMin, FSpan, FTrackingStyle, FTrackingAlignFirstStyle,
                                                FTrackingScrollCompressMax, FFirstValueDone);
  switch (r.Kind) {
    case TiPlotAxisTrackResult::ZoomToFit:
      ZoomToFit();
      break;
    case TiPlotAxisTrackResult::ZoomToFitFast:
      ZoomToFitFast();
      break;
    case TiPlotAxisTrackResult::SetRange:
      SetMinSpan(r.Min, r.Span);
      break;
  }
}

void TiPlotAxis::SaveResumeValues() {
  FResumeMin = FMin;
  FResumeSpan = FSpan;
  FResumeLabelsMinLength = FLabelsMinLength;
}

void TiPlotAxis::SetTrackingEnabled(bool Value) {
  if (Value == FTrackingEnabled) return;
  FTrackingEnabled = Value;
  if (FRestoreValuesOnResume) {
    if (!Value) {
      SaveResumeValues();
    } else {
      SetMinSpan(FResumeMin, FResumeSpan);
      FLabelsMinLength = FResumeLabelsMinLength;
    }
  }
  DoChange();
}

void TiPlotAxis::SetScaleType(TiPlotScaleType Value) {
  if (Value == FScaleType) return;
  FScaleType = Value;
  if (Value == ipstLog10 && !(FMin > 0)) FMin = 1;
  DoChange();
}

void TiPlotAxis::SetDesiredIncrement(double Value) {
  SetDoubleField(std::isnan(Value) ? 0 : EnsureRange(Value, 0.0, 1e300), FDesiredIncrement,
                 &TiPlotAxis::DoChange);
}

// ============================================================================================
// the axis object: conversions
// ============================================================================================

int32_t TiPlotAxis::ValueToPosition(double Value) const {
  return PlotAxisValueToPosition(Value, FMin, FSpan, FScaleType == ipstLog10, FP0, FP1);
}

double TiPlotAxis::PositionToValueDouble(double Position) const {
  return PlotAxisPositionToValue(Position, FMin, FSpan, FScaleType == ipstLog10, GetHorizontal(),
                                 FReverseScale, FScaleRect);
}

int32_t TiPlotAxis::SpanToPixels(double ASpan) const {
  return std::abs(ValueToPosition(FMin + ASpan) - ValueToPosition(FMin));
}

int32_t TiPlotAxis::ScaleLength() const {
  return GetHorizontal() ? FScaleRect.Right - FScaleRect.Left : FScaleRect.Bottom - FScaleRect.Top;
}

bool TiPlotAxis::ValueOnScale(double Value) const {
  const int32_t p = ValueToPosition(Value);
  if (GetHorizontal()) return p >= FScaleRect.Left && p <= FScaleRect.Right;
  return p >= FScaleRect.Top && p <= FScaleRect.Bottom;
}

void TiPlotAxis::SetRangeFromRect(const TRect& Rect) {
  int32_t a = GetHorizontal() ? Rect.Left : Rect.Bottom;
  int32_t b = GetHorizontal() ? Rect.Right : Rect.Top;
  if (FReverseScale) std::swap(a, b);
  const double va = PositionToValue(a), vb = PositionToValue(b);
  SetMinSpan(va, vb - va);
}

int32_t TiPlotAxis::EffectiveDragMode() const {
  const bool ctrl = GetShiftState().Contains(ssCtrl) || CtrlKeyDown();
  return ctrl ? 1 - FDragMode : FDragMode;
}

TiPlotAxis* TiPlotAxis::FindAxis(bool XAxes, const AnsiString& Name) {
  TiPlotAxisHost* host = AxisHost();
  if (!host) return nullptr;
  for (int32_t i = 0; i < host->AxisCount(XAxes); ++i) {
    TiPlotAxis* a = host->GetAxis(XAxes, i);
    if (a && SameText(a->GetName(), Name)) return a;
  }
  return nullptr;
}

TiPlotAxis* TiPlotAxis::CartesianChildRefAxis() {
  if (!FCartesianRefAxis) FCartesianRefAxis = FindAxis(!IsXAxis(), FCartesianChildRefAxisName);
  return FCartesianRefAxis;
}

TiPlotAxis* TiPlotAxis::AlignRefAxis() {
  if (!FAlignRefAxis) FAlignRefAxis = FindAxis(IsXAxis(), FAlignRefAxisName);
  return FAlignRefAxis == this ? nullptr : FAlignRefAxis;
}

// ============================================================================================
// the axis object: object operations (notifications, mouse, keys, popup menu)
// ============================================================================================

void TiPlotAxis::NotifyObjectRemoved(TiPlotObject* Obj) {
  if (Obj == FCartesianRefAxis) FCartesianRefAxis = nullptr;
  if (Obj == FAlignRefAxis) FAlignRefAxis = nullptr;
}

void TiPlotAxis::NotifyObjectRenamed(TiPlotObject* Obj) {
  if (Obj && Obj == FCartesianRefAxis) {
    FCartesianChildRefAxisName = Obj->GetName();
    DoChange();
  }
}

void TiPlotAxis::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj == this || !GetSelected()) return;
  // Several axes may be selected together while Shift or Ctrl is held.
  if (dynamic_cast<TiPlotAxis*>(Obj) &&
      (GetShiftState().Contains(ssShift) || GetShiftState().Contains(ssCtrl)))
    return;
  SetSelected(false);
}

std::vector<TiPlotAxis*> TiPlotAxis::OtherAxesOfKind() {
  std::vector<TiPlotAxis*> list;
  TiPlotAxisHost* host = AxisHost();
  if (!host) return list;
  const bool x = IsXAxis();
  for (int32_t i = 0; i < host->AxisCount(x); ++i)
    if (TiPlotAxis* a = host->GetAxis(x, i); a && a != this) list.push_back(a);
  return list;
}

bool TiPlotAxis::HitTest(const TiMouseRecord& MouseRecord) {
  return MouseRecord.X >= FExtendedRect.Left && MouseRecord.X < FExtendedRect.Right &&
         MouseRecord.Y >= FExtendedRect.Top && MouseRecord.Y < FExtendedRect.Bottom;
}

void TiPlotAxis::LeftDown(const TiMouseRecord& MouseRecord) {
  if (FMasterUIInput)
    for (TiPlotAxis* a : OtherAxesOfKind()) a->DoLeftDown(MouseRecord);
  DoLeftDown(MouseRecord);
}

void TiPlotAxis::DoLeftDown(const TiMouseRecord& MouseRecord) {
  FPressed = true;
  FAnchor = TPoint{MouseRecord.X, MouseRecord.Y};
}

void TiPlotAxis::LeftDrag(const TiMouseRecord& MouseRecord) {
  if (FMasterUIInput)
    for (TiPlotAxis* a : OtherAxesOfKind()) a->DoLeftDrag(MouseRecord);
  DoLeftDrag(MouseRecord);
}

void TiPlotAxis::DoLeftDrag(const TiMouseRecord& MouseRecord) {
  if (!FPressed || MouseRecord.DblClick) return;
  if (TiPlotAxisHost* host = AxisHost()) host->InvalidateNow();
  SetTrackingEnabled(false);
  const int32_t length = ScaleLength();
  double f = 0;
  if (length != 0) {
    if (GetHorizontal())
      f = double(FReverseScale ? FAnchor.X - MouseRecord.X : MouseRecord.X - FAnchor.X) / length;
    else
      f = double(FReverseScale ? MouseRecord.Y - FAnchor.Y : FAnchor.Y - MouseRecord.Y) / length;
  }
  if (EffectiveDragMode() == 0)
    ScrollStep(-f);
  else
    ZoomStep(FScaleType == ipstLog10 ? 2 * f : f / 4);
  FAnchor = TPoint{MouseRecord.X, MouseRecord.Y};
}

void TiPlotAxis::LeftUp(const TiMouseRecord& MouseRecord) {
  if (FMasterUIInput)
    for (TiPlotAxis* a : OtherAxesOfKind()) a->DoLeftUp(MouseRecord);
  DoLeftUp(MouseRecord);
}

void TiPlotAxis::DoLeftUp(const TiMouseRecord& MouseRecord) {
  const bool pressed = FPressed;
  FPressed = false;
  if (pressed && HitTest(MouseRecord) && GetOwnerHost()) GetOwnerHost()->DoObjectClick(this);
}

bool TiPlotAxis::MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint) {
  if (WheelDelta == 0) return true;
  SetTrackingEnabled(false);
  const double u = WheelDelta > 0 ? 1 : -1;
  const bool ctrl = Shift.Contains(ssCtrl) || GetShiftState().Contains(ssCtrl) || CtrlKeyDown();
  const int32_t mode = ctrl ? 1 - FDragMode : FDragMode;
  if (mode == 0)
    ScrollStep(0.05 * u);
  else
    ZoomStep((FScaleType == ipstLog10 ? 0.05 : 0.025) * u);
  return true;
}

void TiPlotAxis::KeyDown(WORD& Key, TShiftState) {
  if (FMasterUIInput)
    for (TiPlotAxis* a : OtherAxesOfKind()) a->DoKeyDown(Key);
  DoKeyDown(Key);
}

void TiPlotAxis::DoKeyDown(WORD Key) {
  SetTrackingEnabled(false);
  double b = 0;
  switch (Key) {
    case VK_PRIOR:
    case VK_END:
      b = 1;
      break;
    case VK_NEXT:
    case VK_HOME:
      b = -1;
      break;
    case VK_UP:
    case VK_RIGHT:
      b = 0.01;
      break;
    case VK_LEFT:
    case VK_DOWN:
      b = -0.01;
      break;
    default:
      return;
  }
  if (TiPlotAxisHost* host = AxisHost()) host->InvalidateNow();
  if (FDragMode == 0)
    ScrollStep(b);
  else
    ZoomStep(b);
}

TCursor TiPlotAxis::GetCursor(const TiMouseRecord&) {
  if (FDragMode == 0) return crHandPoint;
  return GetHorizontal() ? crSizeWE : crSizeNS;
}

void TiPlotAxis::Hover(const TiMouseRecord& MouseRecord, TiHintData& HintData) {
  if (!FTitleShow) {
    HintData.Text = FTitle;
    HintData.Left = MouseRecord.X;
    HintData.Top = MouseRecord.Y - 20;
  }
  TiPlotAxisHost* host = AxisHost();
  if (host && !host->IsStreaming()) host->DoAxisCustomizeHint(this, HintData.Text);
}

void TiPlotAxis::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotLayoutObject::BuildPopupMenu(PopupMenu);
  if (!PopupMenu) return;
  AddEditMenuItem(PopupMenu);
  auto add = [&](int32_t index, const char* caption, void (TiPlotAxis::*click)(TObject*)) {
    auto* item = new TMenuItem(PopupMenu);
    item->SetCaption(Translate(caption));
    item->OnClick = TNotifyEvent(this, click);
    PopupMenu->Items()->Insert(index, item);
    return item;
  };
  add(0, "Tracking Enabled", &TiPlotAxis::TrackingEnabledClick)->SetChecked(FTrackingEnabled);
  add(1, "Update Resume Values", &TiPlotAxis::UpdateResumeValuesClick)
      ->SetEnabled(!FTrackingEnabled && (FMin != FResumeMin || FSpan != FResumeSpan));
  add(2, "Zoom to Fit", &TiPlotAxis::ZoomToFitClick);
}

void TiPlotAxis::TrackingEnabledClick(TObject*) { SetTrackingEnabled(!FTrackingEnabled); }
void TiPlotAxis::UpdateResumeValuesClick(TObject*) { SaveResumeValues(); }
void TiPlotAxis::ZoomToFitClick(TObject*) { ZoomToFit(); }

// ============================================================================================
// the axis object: texts
// ============================================================================================

namespace {
// Pixel amounts from properties and text sizes are kept within a million pixels, so that no sum
// of them can overflow; rounding stays checked (a NaN raises).
int32_t iPlotAxisPx(int64_t Value) { return int32_t(std::clamp<int64_t>(Value, -1000000, 1000000)); }
int32_t iPlotAxisRoundPx(long double Value) {
  return iPlotAxisPx(Round(std::clamp<long double>(Value, -1e7L, 1e7L)));
}
}  // namespace

AnsiString TiPlotAxis::FormatValue(const TiPlotAxisTextFormat& Format, double, double& MinLength,
                                   bool AutoAdjust, double Value) {
  const bool log = FScaleType == ipstLog10;
  if (log && Format.Style == iptfValue && !(Value > 0)) return "Unknown";
  AnsiString text = PlotAxisFormatValue(Format, Value, FSpan, log);
  TiPlotAxisHost* host = AxisHost();
  if (host && !host->IsStreaming()) host->DoAxisCustomizeLabel(this, Value, text);
  if (AutoAdjust && FMeasuring && double(text.size()) > MinLength) MinLength = double(text.size());
  return text;
}

AnsiString TiPlotAxis::LabelText(double Value) {
  return FormatValue(FLabels, 0, FLabelsMinLength, FLabelsMinLengthAutoAdjust, Value);
}

AnsiString TiPlotAxis::MeasureLabelText(double Value) {
  FMeasuring = true;
  try {
    AnsiString text = LabelText(Value);
    FMeasuring = false;
    return text;
  } catch (...) {
    FMeasuring = false;
    throw;
  }
}

AnsiString TiPlotAxis::ReplaceLineBreaks(const AnsiString& Text) const {
  return StringReplace(StringReplace(Text, "\r\n", " ", {rfReplaceAll}), "\r", " ", {rfReplaceAll});
}

AnsiString TiPlotAxis::CursorText(double Value) {
  if (FCursorUseDefaultFormat) return ReplaceLineBreaks(LabelText(Value));
  return ReplaceLineBreaks(FormatValue(FCursor, 0, FCursorMinLength, FCursorMinLengthAutoAdjust, Value));
}

AnsiString TiPlotAxis::CursorValueText(double Value) {
  TiPlotAxisTextFormat f = FCursorUseDefaultFormat ? FLabels : FCursor;
  f.Style = iptfValue;
  f.DateTimeFormat.clear();
  double& minLength = FCursorUseDefaultFormat ? FLabelsMinLength : FCursorMinLength;
  const bool adjust = FCursorUseDefaultFormat ? FLabelsMinLengthAutoAdjust : FCursorMinLengthAutoAdjust;
  return ReplaceLineBreaks(FormatValue(f, 0, minLength, adjust, Value));
}

AnsiString TiPlotAxis::LegendText(double Value) {
  if (FLegendUseDefaultFormat) return ReplaceLineBreaks(LabelText(Value));
  return ReplaceLineBreaks(FormatValue(FLegend, 0, FLegendMinLength, FLegendMinLengthAutoAdjust, Value));
}

int32_t TiPlotAxis::MinLengthWidth(TCanvas* Canvas, TFont* Font, double MinLength) {
  if (Font) Canvas->GetFont()->Assign(Font);
  return iPlotAxisRoundPx(static_cast<long double>(Canvas->TextWidth("0")) * MinLength);
}

int32_t TiPlotAxis::MaxLabelWidth(TCanvas* Canvas, TFont* Font) {
  int32_t w = MinLengthWidth(Canvas, Font, FLabelsMinLength);
  w = std::max(w, MultiLineTextWidth(Canvas, MeasureLabelText(FSpan + Int(FMin / FSpan) * FSpan)));
  for (const TiPlotTickObject& t : FTicks)
    if (!t.Minor) w = std::max(w, MultiLineTextWidth(Canvas, t.Label));
  return w;
}

int32_t TiPlotAxis::CursorTextWidth(TCanvas* Canvas, TFont* Font) {
  return MinLengthWidth(Canvas, Font, FCursorUseDefaultFormat ? FLabelsMinLength : FCursorMinLength);
}

int32_t TiPlotAxis::LegendTextWidth(TCanvas* Canvas, TFont* Font) {
  return MinLengthWidth(Canvas, Font, FLegendUseDefaultFormat ? FLabelsMinLength : FLegendMinLength);
}

// ============================================================================================
// the axis object: geometry, thickness and ticks
// ============================================================================================

namespace {
bool iPlotAxisQuarterTurned(TiRotationAngle Angle) { return Angle == ira090 || Angle == ira270; }
}  // namespace

int32_t TiPlotAxis::MinLabelDepth(TCanvas* Canvas, bool Extent) {
  // The label of Min measured across (Extent false: height) or along its text (true: width).
  const AnsiString text = LabelText(FMin);
  return Extent ? MultiLineTextWidth(Canvas, text) : MultiLineTextHeight(Canvas, text);
}

void TiPlotAxis::CalcScaleGeometry(TCanvas* Canvas) {
  const bool horizontal = GetHorizontal();
  if (IsCartesian())
    FSide = horizontal ? 3 : 1;
  else if (horizontal)
    FSide = GetAfterDataView() ? 2 : 3;
  else
    FSide = GetAfterDataView() ? 1 : 0;
  Canvas->GetFont()->Assign(FLabelsFont.get());
  const TRect& l = GetLayoutRect();
  const bool lowEnd = GetHasPrevNeighbour(), highEnd = GetHasNextNeighbour();
  const bool turned = iPlotAxisQuarterTurned(FLabelsRotation);
  if (!horizontal) {
    FScaleRect.Left = l.Left;
    FScaleRect.Right = l.Right;
    FExtendedRect.Left = l.Left + 2;
    FExtendedRect.Right = l.Right - 2;
    const int32_t c = Canvas->TextHeight("0");
    const int32_t d = turned ? MaxLabelWidth(Canvas, FLabelsFont.get()) : MinLabelDepth(Canvas, false);
    const int32_t e =
        IsCartesian() ? 0 : (d + iPlotAxisRoundPx(static_cast<long double>(c) * FStackingEndsMargin)) / 2;
    FScaleRect.Bottom = lowEnd ? l.Bottom - e : l.Bottom;
    FScaleRect.Top = highEnd ? l.Top + e : l.Top;
    FExtendedRect.Top = FScaleRect.Top - e;
    FExtendedRect.Bottom = FScaleRect.Bottom + e;
    FP0 = FScaleRect.Bottom;
    FP1 = FScaleRect.Top;
  } else {
    FScaleRect.Top = l.Top;
    FScaleRect.Bottom = l.Bottom;
    FExtendedRect.Top = l.Top + 2;
    FExtendedRect.Bottom = l.Bottom - 2;
    const int32_t c = Canvas->TextWidth("0");
    int32_t d = turned ? MinLabelDepth(Canvas, false) : MaxLabelWidth(Canvas, FLabelsFont.get());
    if (!FLabelsVisible) d = 0;
    const int32_t e = IsCartesian() ? 0
                                    : iPlotAxisRoundPx(static_cast<long double>(d) / 2) +
                                          iPlotAxisRoundPx(static_cast<long double>(c) * FStackingEndsMargin);
    FScaleRect.Left = lowEnd ? l.Left + e : l.Left;
    FScaleRect.Right = highEnd ? l.Right - e : l.Right;
    FExtendedRect.Left = FScaleRect.Left - e;
    FExtendedRect.Right = FScaleRect.Right + e;
    FP0 = FScaleRect.Left;
    FP1 = FScaleRect.Right;
  }
  if (FReverseScale) std::swap(FP0, FP1);
}

int32_t TiPlotAxis::RequiredThickness(TCanvas* Canvas) {
  int32_t title = 0;
  if (FTitleShow && !IsCartesian()) {
    Canvas->GetFont()->Assign(FTitleFont.get());
    const int32_t h = Canvas->TextHeight(FTitle);
    const int32_t a = FTitleRotated ? Canvas->TextWidth(FTitle) : h;
    title = iPlotAxisRoundPx(static_cast<long double>(h) * FTitleMargin + a);
  }
  const int32_t ticks =
      FScaleLinesShow ? std::max(std::max(iPlotAxisPx(FMajorLength), 0), iPlotAxisPx(FMinorLength)) : 0;
  int32_t labels = 0;
  if (FLabelsVisible) {
    Canvas->GetFont()->Assign(FLabelsFont.get());
    const int32_t margin =
        iPlotAxisRoundPx(static_cast<long double>(Canvas->TextHeight("A")) * FLabelsMargin);
    const bool turned = iPlotAxisQuarterTurned(FLabelsRotation);
    const bool widthDeep = GetHorizontal() ? turned : !turned;
    labels = margin + (widthDeep ? MaxLabelWidth(Canvas, FLabelsFont.get()) : MinLabelDepth(Canvas, false));
  }
  FLabelOffset = ticks + iPlotAxisPx(FInnerMargin) + labels;
  FThickness = iPlotAxisPx(FInnerMargin) + ticks + labels + iPlotAxisPx(FOuterMargin) + title;
  return FThickness;
}

int32_t TiPlotAxis::RequiredEndMargin(TCanvas* Canvas) {
  if (!FLabelsVisible) return 0;
  Canvas->GetFont()->Assign(FLabelsFont.get());
  const bool turned = iPlotAxisQuarterTurned(FLabelsRotation);
  const bool widthAlong = GetHorizontal() ? !turned : turned;
  return (widthAlong ? MaxLabelWidth(Canvas, FLabelsFont.get()) : Canvas->TextHeight("XYZ")) / 2;
}

const TiPlotTickObject& TiPlotAxis::GetTick(int32_t Index) const {
  if (Index < 0 || Index >= TickCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FTicks[size_t(Index)];
}

namespace {
// More ticks than any scale could show apart: generation stops there, so that an absurd minor
// count or step cannot exhaust memory.
constexpr size_t iPlotAxisMaxTicks = 100000;
}  // namespace

void TiPlotAxis::AddTick(bool Minor, double Value) {
  if (!ValueOnScale(Value)) return;
  if (FScaleType == ipstLog10 && !(Value > 0)) return;
  if (FTicks.size() >= iPlotAxisMaxTicks) return;
  TiPlotTickObject t;
  t.Minor = Minor;
  t.Value = Value;
  if (!Minor) t.Label = LabelText(Value);
  FTicks.push_back(std::move(t));
}

void TiPlotAxis::UpdateTickPositions() {
  for (TiPlotTickObject& t : FTicks) {
    t.Visible = ValueOnScale(t.Value);
    t.Position = t.Visible ? ValueToPosition(t.Value) : 0;
  }
}

void TiPlotAxis::GenerateTicks(TCanvas* Canvas) {
  FMonthSteps = FYearSteps = false;
  try {
    CalcScaleGeometry(Canvas);
    FTicks.clear();
    Canvas->GetFont()->Assign(FLabelsFont.get());
    const bool turned = iPlotAxisQuarterTurned(FLabelsRotation);
    int64_t pitch;
    if (GetHorizontal() == turned)
      pitch = Round(static_cast<long double>(Canvas->TextHeight("0")) * (FLabelSeparation + 1));
    else
      pitch = Round(MaxLabelWidth(Canvas, FLabelsFont.get()) +
                    static_cast<long double>(Canvas->TextWidth("0")) * (FLabelSeparation + 1));
    const int32_t n = int32_t(std::max<int64_t>(1, ScaleLength() / std::max<int64_t>(pitch, 1)));
    const double m = FMin > 0 ? FMin : 1;
    if (FScaleType == ipstLog10 && std::log10(m + FSpan) - std::log10(m) > 1)
      GenerateLogTicks(n);
    else
      GenerateLinearTicks(Canvas, n);
  } catch (...) {
    UpdateTickPositions();
    throw;
  }
  UpdateTickPositions();
}

void TiPlotAxis::GenerateLinearTicks(TCanvas*, int32_t N) {
  double t = 0;
  int32_t k = 0, n = N;
  const int32_t length = ScaleLength();
  // A minor count below 0 would divide by zero or turn the bound negative.
  const double perMajor = std::max(FMinorCount, 0) + 1.0;
  if (!(FSpan > 1e-299)) {
    k = 1;
    t = FSpan;
  } else if (FDesiredIncrement != 0 && !FLabelsVisible && FSpan / FDesiredIncrement < length / perMajor) {
    k = iPlotAxisRoundPx(FSpan / FDesiredIncrement);
    t = FDesiredIncrement;
    n = k;
  } else if (FDesiredIncrement != 0 && n > FSpan / FDesiredIncrement) {
    k = iPlotAxisRoundPx(FSpan / FDesiredIncrement);
    t = FDesiredIncrement;
    n = k;
  } else {
    n = std::max(n, 1);
    TiPlotAxisStep s;
    if (FLabels.Style == iptfDateTime)
      s = PlotAxisDateTimeStep(FSpan, n);
    else if (FLabels.Style == iptfPrice32nds)
      s = PlotAxisPrice32ndsStep(FSpan, n);
    else
      s = PlotAxisNiceStep(FSpan, n);
    t = s.Step;
    k = s.Count;
    FMonthSteps = s.MonthSteps;
    FYearSteps = s.YearSteps;
  }
  if (k < 2 && n > 1) {
    t = t / 2;
    k = 2;
  }
  if (n < k && n > 0) {
    k = n;
    t = FSpan / n;
  }
  if (!(t > 0) || !std::isfinite(t)) return;

  using namespace iDateUtils;
  double v;
  const int32_t calendarStep = int32_t(std::clamp(std::trunc(t), 0.0, 10000.0));
  if (FDesiredStart != 0 && FDesiredStart >= FMin && FDesiredStart <= GetMax()) {
    v = FDesiredStart;
    if (v > FMin) v -= std::ceil((v - FMin) / t) * t;
    while (v > FMin) v -= t;  // at most a step or two left by rounding
  } else if (FMonthSteps) {
    // Fields written directly: the calendar covers only these dates.
    FMin = EnsureRange(FMin, 0.0, 2593224.0);
    FSpan = std::min(FSpan, 36525.0);
    if (calendarStep == 0) return;
    int32_t u = (MonthOf(FMin) / calendarStep) * calendarStep;
    if (u == 0) u = 1;
    // The day goes to the 1st before the month changes, so that no 31st meets a shorter month.
    v = IncMonths(RecodeMonth(RecodeDay(FMin, 1), u), -calendarStep);
  } else if (FYearSteps) {
    FMin = EnsureRange(FMin, -182625.0, 2593224.0);
    FSpan = std::min(FSpan, 36525.0);
    if (calendarStep == 0) return;
    const int32_t year = (YearOf(FMin) / calendarStep) * calendarStep;
    v = IncYears(RecodeYear(RecodeMonth(RecodeDay(FMin, 1), 1), year), -calendarStep);
  } else {
    v = Int(FMin / t) * t - t;
  }

  const double max = GetMax();
  const double o = t / perMajor;
  // Ticks off the scale are not kept, so the attempts are bounded as well as the list.
  size_t attempts = 0;
  while (v <= max + t && FTicks.size() < iPlotAxisMaxTicks && ++attempts < iPlotAxisMaxTicks) {
    AddTick(false, v);
    double next;
    if (FMonthSteps || FYearSteps) {
      next = FMonthSteps ? IncMonths(v, calendarStep) : IncYears(v, calendarStep);
    } else if (FMinorCount <= 0 || o == 0) {
      next = v + t;
    } else {
      next = v;
      for (int32_t i = 1; i <= FMinorCount; ++i) {
        const double minor = v + i * o;
        if (minor == next) return;
        next = minor;
        AddTick(true, minor);
        if (FTicks.size() >= iPlotAxisMaxTicks || ++attempts >= iPlotAxisMaxTicks) return;
      }
      next = v + (FMinorCount + 1) * o;
    }
    if (next <= v) return;
    v = next;
  }
}

void TiPlotAxis::GenerateLogTicks(int32_t N) {
  const double m = FMin > 0 ? FMin : 1;
  const double decades = std::log10(m + FSpan) - std::log10(m);
  int32_t step = 1;
  double x;
  if (N >= decades) {
    x = Int(std::log10(m)) - 1;
  } else {
    step = 200;
    for (int32_t h : {2, 5, 10, 20, 50, 100})
      if (N >= decades / h) {
        step = h;
        break;
      }
    x = Int(std::log10(m));
  }
  for (; std::pow(10.0, x) <= FSpan + m; x += step) {
    const double p = std::pow(10.0, x);
    AddTick(false, p);
    if (step == 1)
      for (int32_t j = 2; j <= 9; ++j) AddTick(true, j * p);
  }
}

// ============================================================================================
// the axis object: painting
// ============================================================================================

void TiPlotAxis::PreparePaint() {
  TiPlotLayoutObject::PreparePaint();
  if (!IsCartesian()) return;
  TiPlotAxisHost* host = AxisHost();
  if (!host) return;
  const TRect& s = FScaleRect;
  if (GetHorizontal())
    host->AddOccupiedRect(TRect{s.Left, s.Top, s.Right + 1, s.Top + 1});
  else
    host->AddOccupiedRect(TRect{s.Left, s.Top, s.Left + 1, s.Bottom + 1});
}

void TiPlotAxis::Draw(TCanvas* Canvas, TColor) {
  if (!GetVisible()) return;
  UpdateTickPositions();
  TiPlotAxisHost* host = AxisHost();
  const TRect& l = GetLayoutRect();
  const TRect& s = FScaleRect;
  const bool cartesian = IsCartesian();
  if (cartesian) RequiredThickness(Canvas);
  // The layout edge that faces the data view.
  const int32_t edge = FSide == 0 ? l.Right : FSide == 1 ? l.Left : FSide == 2 ? l.Bottom : l.Top;
  const int32_t away = (FSide == 0 || FSide == 2) ? -1 : 1;  // direction pointing away from the view

  if (FScaleLinesShow) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetPen()->SetColor(FScaleLinesColor);
    Canvas->GetBrush()->SetColor(FScaleLinesColor);
    const int32_t i = cartesian ? 0 : iPlotAxisPx(FInnerMargin);
    switch (FSide) {
      case 0:
        Canvas->MoveTo(s.Right - i, s.Top), Canvas->LineTo(s.Right - i, s.Bottom + 1);
        break;
      case 1:
        Canvas->MoveTo(s.Left + i, s.Top), Canvas->LineTo(s.Left + i, s.Bottom + 1);
        break;
      case 2:
        Canvas->MoveTo(s.Left, s.Bottom - i), Canvas->LineTo(s.Right, s.Bottom - i);
        break;
      default:
        Canvas->MoveTo(s.Left, s.Top + i), Canvas->LineTo(s.Right + 1, s.Top + i);
        break;
    }
    const bool vertical = FSide == 0 || FSide == 1;
    for (const TiPlotTickObject& t : FTicks) {
      if (!t.Visible) continue;
      const int32_t length = t.Minor ? iPlotAxisPx(FMinorLength) : iPlotAxisPx(FMajorLength);
      int32_t from, to;
      if (cartesian) {
        const int32_t half = (length + 1) / 2;
        from = edge - half;
        to = edge + half + 1;
      } else {
        from = edge + away * iPlotAxisPx(FInnerMargin);
        to = edge + away * (iPlotAxisPx(FInnerMargin) + length);
      }
      if (vertical) {
        Canvas->MoveTo(from, t.Position);
        Canvas->LineTo(to, t.Position);
        if (cartesian && host) host->AddOccupiedRect(TRect{from, t.Position, to, t.Position + 1});
      } else {
        Canvas->MoveTo(t.Position, from);
        Canvas->LineTo(t.Position, to);
        if (cartesian && host) host->AddOccupiedRect(TRect{t.Position, from, t.Position + 1, to});
      }
    }
  }

  if (FLabelsVisible) {
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->GetFont()->Assign(FLabelsFont.get());
    if (GetSelected()) Canvas->GetFont()->SetColor(clWhite);
    for (const TiPlotTickObject& t : FTicks)
      if (t.Visible && !t.Minor) DrawLabel(Canvas, t);
  }

  if (cartesian) {
    const int32_t outer = edge - (iPlotAxisPx(FMajorLength) + 1) / 2 - 5;
    if (FSide == 1 || FSide == 0) {
      FExtendedRect.Left = outer;
      FExtendedRect.Right = outer + FThickness;
    } else {
      FExtendedRect.Top = outer;
      FExtendedRect.Bottom = outer + FThickness;
    }
  } else {
    DrawTitle(Canvas);
  }

  if (GetSelected()) {
    const TRect& e = FExtendedRect;
    DrawPlotFocusFrame(Canvas, TRect{e.Left, e.Top, e.Right + 1, e.Bottom + 1});
  }
}

void TiPlotAxis::DrawLabel(TCanvas* Canvas, const TiPlotTickObject& Tick) {
  const TRect& l = GetLayoutRect();
  const int32_t h = Canvas->TextHeight("A");
  const int32_t c = MultiLineTextHeight(Canvas, Tick.Label), w = MultiLineTextWidth(Canvas, Tick.Label);
  const int32_t margin = iPlotAxisRoundPx(static_cast<long double>(h) * FLabelsMargin);
  int32_t o;
  if (IsCartesian())
    o = margin + (iPlotAxisPx(FMajorLength) + 1) / 2;
  else if (FScaleLinesShow)
    o = iPlotAxisPx(FInnerMargin) + iPlotAxisPx(FMajorLength) + margin;
  else
    o = iPlotAxisPx(FInnerMargin) + margin;
  const int32_t a = Tick.Position;
  const bool turned = iPlotAxisQuarterTurned(FLabelsRotation);
  // Upright text beside a vertical axis, or turned text along a horizontal one, is as deep as wide.
  const bool widthAcross = (FSide <= 1) != turned;
  const int32_t across = widthAcross ? w : c, along = widthAcross ? c : w;
  TRect r;
  switch (FSide) {
    case 0:
      r = TRect{l.Right - o - across, a - along / 2, l.Right - o, a + along / 2};
      break;
    case 1:
      r = TRect{l.Left + o, a - along / 2, l.Left + o + across, a + along / 2};
      break;
    case 2:
      r = TRect{a - along / 2, l.Bottom - o - across, a + along / 2, l.Bottom - o};
      break;
    default:
      r = TRect{a - along / 2, l.Top + o, a + along / 2, l.Top + o + across};
      break;
  }
  if (IsCartesian()) {
    TiPlotAxisHost* host = AxisHost();
    if (host && !host->ReserveRect(r)) return;
  }
  TRect extent;
  DrawRotatedText(Canvas, Tick.Label, r, extent, int32_t(FLabelsRotation));
}

void TiPlotAxis::DrawTitle(TCanvas* Canvas) {
  if (!FTitleShow || Trim(FTitle).empty()) return;
  Canvas->GetFont()->Assign(FTitleFont.get());
  if (GetSelected()) Canvas->GetFont()->SetColor(clWhite);
  Canvas->GetBrush()->SetStyle(bsClear);
  const int32_t tw = MultiLineTextWidth(Canvas, FTitle), th = MultiLineTextHeight(Canvas, FTitle);
  const int32_t a = FTitleRotated ? tw : th, along = FTitleRotated ? th : tw;
  const TRect& s = FScaleRect;
  TRect r;
  int32_t angle;
  if (FSide == 2 || FSide == 3) {
    r = FSide == 2
            ? TRect{s.Left, s.Top + iPlotAxisPx(FOuterMargin), s.Right, s.Top + iPlotAxisPx(FOuterMargin) + a}
            : TRect{s.Left, s.Bottom - iPlotAxisPx(FOuterMargin) - a, s.Right,
                    s.Bottom - iPlotAxisPx(FOuterMargin)};
    angle = FTitleRotated ? 1 : 0;
  } else {
    const int32_t centre = (s.Top + s.Bottom) / 2;
    const int32_t top = centre - along / 2;
    r = FSide == 0 ? TRect{s.Left + iPlotAxisPx(FOuterMargin), top, s.Left + iPlotAxisPx(FOuterMargin) + a,
                           top + along}
                   : TRect{s.Right - iPlotAxisPx(FOuterMargin) - a, top, s.Right - iPlotAxisPx(FOuterMargin),
                           top + along};
    angle = FTitleRotated ? 0 : 1;
  }
  TRect extent;
  DrawRotatedText(Canvas, FTitle, r, extent, angle);
}

void TiPlotAxis::DrawGridLines(TCanvas* Canvas, const TRect& Rect, const TiPlotGridLineStyle& Major,
                               const TiPlotGridLineStyle& Minor) {
  if (!FGridLinesVisible) return;
  for (const TiPlotTickObject& t : FTicks) {
    const TiPlotGridLineStyle& g = t.Minor ? Minor : Major;
    if (!t.Visible || !g.Show) continue;
    Canvas->GetPen()->SetStyle(g.Style);
    Canvas->GetPen()->SetWidth(g.Width);
    Canvas->GetPen()->SetColor(g.Color);
    if (GetHorizontal()) {
      Canvas->MoveTo(t.Position, Rect.Top);
      Canvas->LineTo(t.Position, Rect.Bottom);
    } else {
      Canvas->MoveTo(Rect.Left, t.Position);
      Canvas->LineTo(Rect.Right, t.Position);
    }
  }
}

// ============================================================================================
// the axis object: plain property setters
// ============================================================================================

void TiPlotAxis::SetDesiredStart(double Value) {
  SetDoubleField(Value, FDesiredStart, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetReverseScale(bool Value) { SetBoolField(Value, FReverseScale, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetTrackingStyle(TiPlotTrackingStyle Value) {
  if (Value == FTrackingStyle) return;
  FTrackingStyle = Value;
  DoChange();
}
void TiPlotAxis::SetTrackingAlignFirstStyle(TiPlotAlignFirstStyle Value) {
  if (Value == FTrackingAlignFirstStyle) return;
  FTrackingAlignFirstStyle = Value;
  DoChange();
}
void TiPlotAxis::SetTrackingScrollCompressMax(double Value) {
  SetDoubleField(Value, FTrackingScrollCompressMax, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetRestoreValuesOnResume(bool Value) {
  SetBoolField(Value, FRestoreValuesOnResume, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetScrollMinMaxEnabled(bool Value) {
  SetBoolField(Value, FScrollMinMaxEnabled, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetScrollMin(double Value) { SetDoubleField(Value, FScrollMin, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetScrollMax(double Value) { SetDoubleField(Value, FScrollMax, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetMasterUIInput(bool Value) { SetBoolField(Value, FMasterUIInput, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetCartesianStyle(TiPlotCartesianStyle Value) {
  if (Value == FCartesianStyle) return;
  FCartesianStyle = Value;
  DoChange();
}
void TiPlotAxis::SetCartesianChildRefAxisName(const AnsiString& Value) {
  if (Value == FCartesianChildRefAxisName) return;
  FCartesianChildRefAxisName = Value;
  FCartesianRefAxis = nullptr;
  DoChange();
}
void TiPlotAxis::SetCartesianChildRefValue(double Value) {
  SetDoubleField(Value, FCartesianChildRefValue, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetAlignRefAxisName(const AnsiString& Value) {
  if (Value == FAlignRefAxisName) return;
  FAlignRefAxisName = Value;
  FAlignRefAxis = nullptr;
  DoChange();
}
void TiPlotAxis::SetCursorScaler(double Value) {
  SetDoubleField(Value, FCursorScaler, &TiPlotAxis::DoChange);
}

void TiPlotAxis::SetLabelsVisible(bool Value) { SetBoolField(Value, FLabelsVisible, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetLabelsMargin(double Value) {
  SetDoubleField(Value, FLabelsMargin, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLabelSeparation(double Value) {
  SetDoubleField(Value, FLabelSeparation, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLabelsRotation(TiRotationAngle Value) {
  if (Value == FLabelsRotation) return;
  FLabelsRotation = Value;
  DoChange();
}
void TiPlotAxis::SetLabelsFormatStyle(TiPlotTextFormat Value) {
  if (Value == FLabels.Style) return;
  FLabels.Style = Value;
  DoChange();
}
void TiPlotAxis::SetDateTimeFormat(const AnsiString& Value) {
  SetStringField(Value, FLabels.DateTimeFormat, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLabelsPrecision(int32_t Value) {
  SetIntField(Value, FLabels.Precision, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLabelsPrecisionStyle(TiPrecisionStyle Value) {
  if (Value == FLabels.PrecisionStyle) return;
  FLabels.PrecisionStyle = Value;
  DoChange();
}
void TiPlotAxis::SetLabelsMinLength(double Value) {
  SetDoubleField(Value, FLabelsMinLength, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLabelsMinLengthAutoAdjust(bool Value) {
  SetBoolField(Value, FLabelsMinLengthAutoAdjust, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetMajorLength(int32_t Value) { SetIntField(Value, FMajorLength, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetMinorLength(int32_t Value) { SetIntField(Value, FMinorLength, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetMinorCount(int32_t Value) { SetIntField(Value, FMinorCount, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetInnerMargin(int32_t Value) { SetIntField(Value, FInnerMargin, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetOuterMargin(int32_t Value) { SetIntField(Value, FOuterMargin, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetStackingEndsMargin(double Value) {
  SetDoubleField(Value, FStackingEndsMargin, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetScaleLinesShow(bool Value) {
  SetBoolField(Value, FScaleLinesShow, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetScaleLinesColor(TColor Value) {
  SetIntField(Value, FScaleLinesColor, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetScaleLineShow(bool Value) { SetBoolField(Value, FScaleLineShow, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetGridLinesVisible(bool Value) {
  SetBoolField(Value, FGridLinesVisible, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetTitle(const AnsiString& Value) { SetStringField(Value, FTitle, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetTitleShow(bool Value) { SetBoolField(Value, FTitleShow, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetTitleMargin(double Value) { SetDoubleField(Value, FTitleMargin, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetTitleRotated(bool Value) { SetBoolField(Value, FTitleRotated, &TiPlotAxis::DoChange); }
void TiPlotAxis::SetCursorUseDefaultFormat(bool Value) {
  SetBoolField(Value, FCursorUseDefaultFormat, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLegendUseDefaultFormat(bool Value) {
  SetBoolField(Value, FLegendUseDefaultFormat, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetCursorFormatStyle(TiPlotTextFormat Value) {
  if (Value == FCursor.Style) return;
  FCursor.Style = Value;
  DoChange();
}
void TiPlotAxis::SetLegendFormatStyle(TiPlotTextFormat Value) {
  if (Value == FLegend.Style) return;
  FLegend.Style = Value;
  DoChange();
}
void TiPlotAxis::SetCursorDateTimeFormat(const AnsiString& Value) {
  SetStringField(Value, FCursor.DateTimeFormat, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLegendDateTimeFormat(const AnsiString& Value) {
  SetStringField(Value, FLegend.DateTimeFormat, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetCursorPrecision(int32_t Value) {
  SetIntField(Value, FCursor.Precision, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLegendPrecision(int32_t Value) {
  SetIntField(Value, FLegend.Precision, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetCursorPrecisionStyle(TiPrecisionStyle Value) {
  if (Value == FCursor.PrecisionStyle) return;
  FCursor.PrecisionStyle = Value;
  DoChange();
}
void TiPlotAxis::SetLegendPrecisionStyle(TiPrecisionStyle Value) {
  if (Value == FLegend.PrecisionStyle) return;
  FLegend.PrecisionStyle = Value;
  DoChange();
}
void TiPlotAxis::SetCursorMinLength(double Value) {
  SetDoubleField(Value, FCursorMinLength, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLegendMinLength(double Value) {
  SetDoubleField(Value, FLegendMinLength, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetCursorMinLengthAutoAdjust(bool Value) {
  SetBoolField(Value, FCursorMinLengthAutoAdjust, &TiPlotAxis::DoChange);
}
void TiPlotAxis::SetLegendMinLengthAutoAdjust(bool Value) {
  SetBoolField(Value, FLegendMinLengthAutoAdjust, &TiPlotAxis::DoChange);
}
