// The plot's axes: TiPlotAxis turns plot values into pixels along one side of the data view and
// back, keeps its visible range (Min, Span), moves it while data arrive (tracking) or under the
// user's mouse, wheel and keys, builds its tick list and label texts and draws itself.
// TiPlotXAxis and TiPlotYAxis differ only in their initial values and in the manager holding them.
//
// Sections: enumerations / scale arithmetic (pure) / tick steps (pure) / value texts (pure) /
// calendar / the axis object.
#pragma once

#include <cstdint>

#include "platform/runtime/DateTime.h"
#include "platform/runtime/TypInfo.h"
#include "platform/runtime/Types.h"
#include "widgets/iTypes.h"

// ============================================================================================
// enumerations
// ============================================================================================

enum TiPlotScaleType : uint8_t { ipstLinear, ipstLog10 };
enum TiPlotTrackingStyle : uint8_t {
  iptsScaleMinMax,
  iptsScaleMax,
  iptsScaleMin,
  iptsScrollSmooth,
  iptsScrollPage,
  iptsExpandCollapse,
  iptsExpandCollapseFast
};
enum TiPlotAlignFirstStyle : uint8_t { ipafsNone, ipafsMin, ipafsMax, ipafsAuto };
enum TiPlotCartesianStyle : uint8_t { ipcsNone, ipcsMaster, ipcsChild };
enum TiPlotTextFormat : uint8_t {
  iptfValue,
  iptfExponent,
  iptfPrefix,
  iptfDateTime,
  iptfPrice32nds,
  iptfThousands
};

template <>
const EnumNames& EnumNamesOf<TiPlotScaleType>();
template <>
const EnumNames& EnumNamesOf<TiPlotTrackingStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotAlignFirstStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotCartesianStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotTextFormat>();

// ============================================================================================
// scale arithmetic (pure: the axis object calls these with its own state)
// ============================================================================================

// Pixels are kept within this range so that a far-off value still draws as a line off the view.
constexpr int32_t iPlotAxisPixelLimit = 32000;

// The pixel of Value on a scale whose Min lies at pixel P0 and Min + Span at P1. A degenerate
// scale (P0 = P1, or no span) gives the midpoint. Never fails: a value that is not a number
// gives the midpoint, infinities and far-off values end at -32000 or 32000 (on both scale types).
int32_t PlotAxisValueToPosition(double Value, double Min, double Span, bool Log10Scale, int32_t P0, int32_t P1);
// The value at a (fractional) pixel of the scale rectangle. A degenerate rectangle gives Min;
// a log10 scale whose Min is not positive counts from 1, as PlotAxisValueToPosition does.
double PlotAxisPositionToValue(double Position, double Min, double Span, bool Log10Scale, bool Horizontal,
                               bool Reverse, const TRect& Scale);

// A new range (Min, Span) computed by one of the zoom and scroll rules.
struct TiPlotAxisRange {
  double Min = 0;
  double Span = 0;
};
// Zoom about the centre: linear by Factor (> 0, else Exception "Linear Scale Zoom Factor must be
// Greater than Zero"), log10 by Factor decades.
TiPlotAxisRange PlotAxisZoom(double Min, double Span, bool Log10Scale, double Factor);
// Mouse, wheel and key zoom: positive amounts zoom in.
TiPlotAxisRange PlotAxisZoomStep(double Min, double Span, bool Log10Scale, double Amount);
// Moves the range by Fraction of its span; linear scrolling may be confined to ScrollMin..ScrollMax.
TiPlotAxisRange PlotAxisScrollStep(double Min, double Span, bool Log10Scale, double Fraction,
                                   bool ScrollMinMaxEnabled, double ScrollMin, double ScrollMax);

// What tracking one value asks of the axis.
struct TiPlotAxisTrackResult {
  enum Action : uint8_t { SetRange, ZoomToFit, ZoomToFitFast };
  Action Kind = SetRange;
  double Min = 0;
  double Span = 0;
};
// The tracking rule for value V on the range (Min, Span). First is the first-value flag: when it
// is clear, the align-first style places Min and the flag is set.
TiPlotAxisTrackResult PlotAxisTrack(double V, double Min, double Span, TiPlotTrackingStyle Style,
                                    TiPlotAlignFirstStyle AlignFirst, double CompressMax, bool& First);

// ============================================================================================
// tick steps (pure)
// ============================================================================================

// A major step and the number of steps the span holds. MonthSteps / YearSteps: Step counts
// months or years instead of days.
struct TiPlotAxisStep {
  double Step = 0;
  int32_t Count = 0;
  bool MonthSteps = false;
  bool YearSteps = false;
};
// 1, 2, 5 x 10^d: the smallest step that cuts Span into at most N intervals.
TiPlotAxisStep PlotAxisNiceStep(double Span, int32_t N);
// The date/time step (Span in days): milliseconds up to years.
TiPlotAxisStep PlotAxisDateTimeStep(double Span, int32_t N);
// Powers of two from 1/256 to 1/2, then 1, 2, 5 x 10^i.
TiPlotAxisStep PlotAxisPrice32ndsStep(double Span, int32_t N);

// ============================================================================================
// value texts (pure)
// ============================================================================================

// The settings one value text is made with.
struct TiPlotAxisTextFormat {
  TiPlotTextFormat Style = iptfValue;
  AnsiString DateTimeFormat = "hh:nn:ss";
  int32_t Precision = 3;
  TiPrecisionStyle PrecisionStyle = ipsSignificantDigits;
};
// The text of X, before the customize event and the minimum-length adjustment. Span decides the
// decimals of the value and thousands styles; a log10 axis writes a value by its own magnitude.
// An Exception while formatting gives "Error"; a value not above 0 on a log10 axis "Unknown".
AnsiString PlotAxisFormatValue(const TiPlotAxisTextFormat& Format, double X, double Span, bool Log10Scale);

// ============================================================================================
// calendar (dates as TDateTime; the time of day is kept)
// ============================================================================================

namespace iDateUtils {
WORD YearOf(TDateTime Date);
WORD MonthOf(TDateTime Date);
// Replacing a part validates the result (year 1..9999, month 1..12, day within the month) and
// raises EConvertError "'<y/m/d h:n:s.z>' is not a valid date and time" otherwise.
TDateTime RecodeYear(TDateTime Date, int32_t Year);
TDateTime RecodeMonth(TDateTime Date, int32_t Month);
TDateTime RecodeDay(TDateTime Date, int32_t Day);
// Adds months or years; the day is clamped to the end of the target month.
TDateTime IncMonths(TDateTime Date, int32_t Months);
TDateTime IncYears(TDateTime Date, int32_t Years);
}  // namespace iDateUtils
