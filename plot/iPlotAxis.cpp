#include "plot/iPlotAxis.h"

#include <algorithm>
#include <cmath>

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
      case ipafsMin: m = V; break;
      case ipafsMax: m = V - Span; break;
      case ipafsAuto:
        if (V < Min || V > Min + Span) m = V;
        break;
      case ipafsNone: break;
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
    case iptsExpandCollapse: return {TiPlotAxisTrackResult::ZoomToFit, Min, Span};
    case iptsExpandCollapseFast: return {TiPlotAxisTrackResult::ZoomToFitFast, Min, Span};
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
    if (N >= std::floor(days / s)) return {double(s), int32_t(std::max(1.0, std::floor(days / s))), false, false};
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
  return {step, int32_t(std::isfinite(k) ? std::clamp<double>(std::trunc(k), 0, 2147483647.0) : 0), false, false};
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
    case 24: return "Y";
    case 21: return "Z";
    case 18: return "E";
    case 15: return "P";
    case 12: return "T";
    case 9: return "G";
    case 6: return "M";
    case 3: return "K";
    case 0: return "";
    case -3: return "m";
    case -6: return "\xB5";
    case -9: return "n";
    case -12: return "p";
    case -15: return "f";
    case -18: return "a";
    case -21: return "z";
    case -24: return "y";
    default: return nullptr;
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
