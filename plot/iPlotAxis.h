// The plot's axes: TiPlotAxis turns plot values into pixels along one side of the data view and
// back, keeps its visible range (Min, Span), moves it while data arrive (tracking) or under the
// user's mouse, wheel and keys, builds its tick list and label texts and draws itself.
// TiPlotXAxis and TiPlotYAxis differ only in their initial values and in the manager holding them.
//
// Sections: enumerations / scale arithmetic (pure) / tick steps (pure) / value texts (pure) /
// calendar / the axis object.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/runtime/DateTime.h"
#include "platform/runtime/TypInfo.h"
#include "platform/runtime/Types.h"
#include "plot/iPlotObjects.h"
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
int32_t PlotAxisValueToPosition(double Value, double Min, double Span, bool Log10Scale, int32_t P0,
                                int32_t P1);
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

// ============================================================================================
// the axis object
// ============================================================================================

enum TiRotationAngle : uint8_t { ira000, ira090, ira180, ira270 };
template <>
const EnumNames& EnumNamesOf<TiRotationAngle>();

class TiPlotAxis;

// What an axis needs of its plot beyond TiPlotObjectHost: its events, the other axes, the bound
// channels' data ranges and the paint's occupied-rectangle list. The plot component implements
// it; an owner that does not (a stand-in) leaves these services inert. The event raisers pass
// the axis itself: the plot finds its kind and index, and fires nothing while it is being read
// from a stored definition.
class TiPlotAxisHost {
 public:
  virtual ~TiPlotAxisHost() = default;
  // The plot is being read from a stored definition (no axis events then).
  virtual bool IsStreaming() = 0;
  // The X axis starts scrolling smoothly in a TiPlot, scaling elsewhere.
  virtual bool IsPlot() = 0;
  virtual void DoAxisMinChange(TiPlotAxis* Axis, double OldValue, double NewValue) = 0;
  virtual void DoAxisSpanChange(TiPlotAxis* Axis, double OldValue, double NewValue) = 0;
  virtual void DoAxisMinSpanChange(TiPlotAxis* Axis, double OldMin, double OldSpan, double NewMin,
                                   double NewSpan) = 0;
  virtual void DoAxisCustomizeLabel(TiPlotAxis* Axis, double Value, AnsiString& ALabel) = 0;
  virtual void DoAxisCustomizeHint(TiPlotAxis* Axis, AnsiString& AText) = 0;
  // The X axes (XAxes) or the Y axes in their manager's order.
  virtual int32_t AxisCount(bool XAxes) = 0;
  virtual TiPlotAxis* GetAxis(bool XAxes, int32_t Index) = 0;
  // Folds the data range (running range when Fast) of every channel bound to Axis by name,
  // ignoring case, into Lo and Hi.
  virtual void AxisDataRange(TiPlotAxis* Axis, bool Fast, double& Lo, double& Hi) = 0;
  // The paint's occupied-rectangle list: add without checks, or add only when Rect overlaps
  // nothing already there and lies inside the first data view.
  virtual void AddOccupiedRect(const TRect& Rect) = 0;
  virtual bool ReserveRect(const TRect& Rect) = 0;
  // The plot's immediate repaint.
  virtual void InvalidateNow() = 0;
};

// One tick of an axis's tick list.
struct TiPlotTickObject {
  bool Minor = false;
  double Value = 0;
  int32_t Position = 0;
  bool Visible = false;
  AnsiString Label;  // major ticks only
};

// The data view's grid settings per tick kind, as DrawGridLines takes them.
struct TiPlotGridLineStyle {
  bool Show = true;
  TPenStyle Style = psSolid;
  int32_t Width = 1;
  TColor Color = clGray;
};

class TiPlotAxis : public TiPlotLayoutObject {
  PL_CLASS(TiPlotAxis)
 public:
  TiPlotAxis(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
             const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotAxis() override;

  // ---- object operations ------------------------------------------------------------------------
  void DefineProperties(TFiler* Filer) override;
  void NotifyObjectRemoved(TiPlotObject* Obj) override;
  void NotifyObjectRenamed(TiPlotObject* Obj) override;
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void PreparePaint() override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  bool MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos) override;
  void Hover(const TiMouseRecord& MouseRecord, TiHintData& HintData) override;
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftDrag(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  TCursor GetCursor(const TiMouseRecord& MouseRecord) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;
  int32_t RequiredThickness(TCanvas* Canvas) override;
  int32_t RequiredEndMargin(TCanvas* Canvas) override;

  // ---- range, conversions, zoom and tracking --------------------------------------------------------
  double GetMax() const { return FMin + FSpan; }
  void SetMinSpan(double AMin, double ASpan);
  void Zoom(double Factor);
  void ZoomStep(double Amount);
  void ScrollStep(double Fraction);
  void ZoomToFit();
  void ZoomToFitFast();
  void TrackValue(double Value);
  void ResetFirstValue() { FFirstValueDone = false; }
  int32_t ValueToPosition(double Value) const;
  double PositionToValue(int32_t Position) const { return PositionToValueDouble(Position); }
  double PositionToValueDouble(double Position) const;
  int32_t SpanToPixels(double ASpan) const;
  int32_t MinPosition() const { return ValueToPosition(FMin); }
  int32_t MaxPosition() const { return ValueToPosition(GetMax()); }
  int32_t ScaleLength() const;
  bool ValueOnScale(double Value) const;
  bool IsValueVisible(double Value) const { return ValueOnScale(Value); }
  void SetRangeFromRect(const TRect& Rect);
  void SetDragMode(int32_t Mode) { FDragMode = Mode; }
  int32_t GetDragMode() const { return FDragMode; }
  // The drag mode, scroll and zoom exchanged while Ctrl is held.
  int32_t EffectiveDragMode() const;
  void SaveResumeValues();
  TiPlotAxis* CartesianChildRefAxis();
  TiPlotAxis* AlignRefAxis();
  bool IsXAxis() const;

  // ---- ticks, geometry and texts -------------------------------------------------------------------
  void CalcScaleGeometry(TCanvas* Canvas);
  void GenerateTicks(TCanvas* Canvas);
  int32_t TickCount() const { return int32_t(FTicks.size()); }
  const TiPlotTickObject& GetTick(int32_t Index) const;
  void AddTick(bool Minor, double Value);
  void ClearTicks() { FTicks.clear(); }
  void DrawGridLines(TCanvas* Canvas, const TRect& Rect, const TiPlotGridLineStyle& Major,
                     const TiPlotGridLineStyle& Minor);
  AnsiString LabelText(double Value);
  AnsiString MeasureLabelText(double Value);
  AnsiString CursorText(double Value);
  AnsiString CursorValueText(double Value);
  AnsiString LegendText(double Value);
  int32_t MaxLabelWidth(TCanvas* Canvas, TFont* Font);
  int32_t CursorTextWidth(TCanvas* Canvas, TFont* Font);
  int32_t LegendTextWidth(TCanvas* Canvas, TFont* Font);
  // Geometry of the last CalcScaleGeometry: side code (0 left, 1 right or Cartesian Y, 2 above,
  // 3 below or Cartesian X), scale and extended rectangles, label offset.
  int32_t GetSide() const { return FSide; }
  const TRect& GetScaleRect() const { return FScaleRect; }
  const TRect& GetExtendedRect() const { return FExtendedRect; }
  int32_t GetLabelOffset() const { return FLabelOffset; }
  bool IsCartesian() const { return FCartesianStyle != ipcsNone; }
  bool MonthSteps() const { return FMonthSteps; }
  bool YearSteps() const { return FYearSteps; }

  // ---- published properties -------------------------------------------------------------------------
  double GetMin() const { return FMin; }
  void SetMin(double Value);
  double GetSpan() const { return FSpan; }
  void SetSpan(double Value);
  double GetDesiredStart() const { return FDesiredStart; }
  void SetDesiredStart(double Value);
  double GetDesiredIncrement() const { return FDesiredIncrement; }
  void SetDesiredIncrement(double Value);
  bool GetReverseScale() const { return FReverseScale; }
  void SetReverseScale(bool Value);
  TiPlotScaleType GetScaleType() const { return FScaleType; }
  void SetScaleType(TiPlotScaleType Value);
  bool GetTrackingEnabled() const { return FTrackingEnabled; }
  void SetTrackingEnabled(bool Value);
  TiPlotTrackingStyle GetTrackingStyle() const { return FTrackingStyle; }
  void SetTrackingStyle(TiPlotTrackingStyle Value);
  TiPlotAlignFirstStyle GetTrackingAlignFirstStyle() const { return FTrackingAlignFirstStyle; }
  void SetTrackingAlignFirstStyle(TiPlotAlignFirstStyle Value);
  double GetTrackingScrollCompressMax() const { return FTrackingScrollCompressMax; }
  void SetTrackingScrollCompressMax(double Value);
  bool GetRestoreValuesOnResume() const { return FRestoreValuesOnResume; }
  void SetRestoreValuesOnResume(bool Value);
  bool GetScrollMinMaxEnabled() const { return FScrollMinMaxEnabled; }
  void SetScrollMinMaxEnabled(bool Value);
  double GetScrollMin() const { return FScrollMin; }
  void SetScrollMin(double Value);
  double GetScrollMax() const { return FScrollMax; }
  void SetScrollMax(double Value);
  bool GetMasterUIInput() const { return FMasterUIInput; }
  void SetMasterUIInput(bool Value);
  TiPlotCartesianStyle GetCartesianStyle() const { return FCartesianStyle; }
  void SetCartesianStyle(TiPlotCartesianStyle Value);
  const AnsiString& GetCartesianChildRefAxisName() const { return FCartesianChildRefAxisName; }
  void SetCartesianChildRefAxisName(const AnsiString& Value);
  double GetCartesianChildRefValue() const { return FCartesianChildRefValue; }
  void SetCartesianChildRefValue(double Value);
  const AnsiString& GetAlignRefAxisName() const { return FAlignRefAxisName; }
  void SetAlignRefAxisName(const AnsiString& Value);
  double GetCursorScaler() const { return FCursorScaler; }
  void SetCursorScaler(double Value);

  bool GetLabelsVisible() const { return FLabelsVisible; }
  void SetLabelsVisible(bool Value);
  TFont* GetLabelsFont() const { return FLabelsFont.get(); }
  void SetLabelsFont(TFont* Value) { FLabelsFont->Assign(Value); }
  double GetLabelsMargin() const { return FLabelsMargin; }
  void SetLabelsMargin(double Value);
  double GetLabelSeparation() const { return FLabelSeparation; }
  void SetLabelSeparation(double Value);
  TiRotationAngle GetLabelsRotation() const { return FLabelsRotation; }
  void SetLabelsRotation(TiRotationAngle Value);
  TiPlotTextFormat GetLabelsFormatStyle() const { return FLabels.Style; }
  void SetLabelsFormatStyle(TiPlotTextFormat Value);
  const AnsiString& GetDateTimeFormat() const { return FLabels.DateTimeFormat; }
  void SetDateTimeFormat(const AnsiString& Value);
  int32_t GetLabelsPrecision() const { return FLabels.Precision; }
  void SetLabelsPrecision(int32_t Value);
  TiPrecisionStyle GetLabelsPrecisionStyle() const { return FLabels.PrecisionStyle; }
  void SetLabelsPrecisionStyle(TiPrecisionStyle Value);
  double GetLabelsMinLength() const { return FLabelsMinLength; }
  void SetLabelsMinLength(double Value);
  bool GetLabelsMinLengthAutoAdjust() const { return FLabelsMinLengthAutoAdjust; }
  void SetLabelsMinLengthAutoAdjust(bool Value);
  int32_t GetMajorLength() const { return FMajorLength; }
  void SetMajorLength(int32_t Value);
  int32_t GetMinorLength() const { return FMinorLength; }
  void SetMinorLength(int32_t Value);
  int32_t GetMinorCount() const { return FMinorCount; }
  void SetMinorCount(int32_t Value);
  int32_t GetInnerMargin() const { return FInnerMargin; }
  void SetInnerMargin(int32_t Value);
  int32_t GetOuterMargin() const { return FOuterMargin; }
  void SetOuterMargin(int32_t Value);
  double GetStackingEndsMargin() const { return FStackingEndsMargin; }
  void SetStackingEndsMargin(double Value);
  bool GetScaleLinesShow() const { return FScaleLinesShow; }
  void SetScaleLinesShow(bool Value);
  TColor GetScaleLinesColor() const { return FScaleLinesColor; }
  void SetScaleLinesColor(TColor Value);
  bool GetScaleLineShow() const { return FScaleLineShow; }
  void SetScaleLineShow(bool Value);
  bool GetGridLinesVisible() const { return FGridLinesVisible; }
  void SetGridLinesVisible(bool Value);
  const AnsiString& GetTitle() const { return FTitle; }
  void SetTitle(const AnsiString& Value);
  bool GetTitleShow() const { return FTitleShow; }
  void SetTitleShow(bool Value);
  TFont* GetTitleFont() const { return FTitleFont.get(); }
  void SetTitleFont(TFont* Value) { FTitleFont->Assign(Value); }
  double GetTitleMargin() const { return FTitleMargin; }
  void SetTitleMargin(double Value);
  bool GetTitleRotated() const { return FTitleRotated; }
  void SetTitleRotated(bool Value);
  bool GetCursorUseDefaultFormat() const { return FCursorUseDefaultFormat; }
  void SetCursorUseDefaultFormat(bool Value);
  bool GetLegendUseDefaultFormat() const { return FLegendUseDefaultFormat; }
  void SetLegendUseDefaultFormat(bool Value);
  TiPlotTextFormat GetCursorFormatStyle() const { return FCursor.Style; }
  void SetCursorFormatStyle(TiPlotTextFormat Value);
  TiPlotTextFormat GetLegendFormatStyle() const { return FLegend.Style; }
  void SetLegendFormatStyle(TiPlotTextFormat Value);
  const AnsiString& GetCursorDateTimeFormat() const { return FCursor.DateTimeFormat; }
  void SetCursorDateTimeFormat(const AnsiString& Value);
  const AnsiString& GetLegendDateTimeFormat() const { return FLegend.DateTimeFormat; }
  void SetLegendDateTimeFormat(const AnsiString& Value);
  int32_t GetCursorPrecision() const { return FCursor.Precision; }
  void SetCursorPrecision(int32_t Value);
  int32_t GetLegendPrecision() const { return FLegend.Precision; }
  void SetLegendPrecision(int32_t Value);
  TiPrecisionStyle GetCursorPrecisionStyle() const { return FCursor.PrecisionStyle; }
  void SetCursorPrecisionStyle(TiPrecisionStyle Value);
  TiPrecisionStyle GetLegendPrecisionStyle() const { return FLegend.PrecisionStyle; }
  void SetLegendPrecisionStyle(TiPrecisionStyle Value);
  double GetCursorMinLength() const { return FCursorMinLength; }
  void SetCursorMinLength(double Value);
  double GetLegendMinLength() const { return FLegendMinLength; }
  void SetLegendMinLength(double Value);
  bool GetCursorMinLengthAutoAdjust() const { return FCursorMinLengthAutoAdjust; }
  void SetCursorMinLengthAutoAdjust(bool Value);
  bool GetLegendMinLengthAutoAdjust() const { return FLegendMinLengthAutoAdjust; }
  void SetLegendMinLengthAutoAdjust(bool Value);

 protected:
  // The align-first style a new axis of this kind starts with (stored only when it differs).
  virtual TiPlotAlignFirstStyle InitialAlignFirstStyle() const { return ipafsNone; }
  bool IsTrackingAlignFirstStyleStored() const {
    return FTrackingAlignFirstStyle != InitialAlignFirstStyle();
  }
  TiPlotAxisHost* AxisHost() const;

 private:
  void FontChanged(TObject* Sender);
  bool Streaming() const;
  AnsiString FormatValue(const TiPlotAxisTextFormat& Format, double MinLengthValue, double& MinLength,
                         bool AutoAdjust, double Value);
  AnsiString ReplaceLineBreaks(const AnsiString& Text) const;
  int32_t MinLengthWidth(TCanvas* Canvas, TFont* Font, double MinLength);
  int32_t MinLabelDepth(TCanvas* Canvas, bool Extent);
  void GenerateLinearTicks(TCanvas* Canvas, int32_t N);
  void GenerateLogTicks(int32_t N);
  void UpdateTickPositions();
  void DrawLabel(TCanvas* Canvas, const TiPlotTickObject& Tick);
  void DrawTitle(TCanvas* Canvas);
  // The same kind's other axes, for MasterUIInput.
  std::vector<TiPlotAxis*> OtherAxesOfKind();
  void DoLeftDown(const TiMouseRecord& MouseRecord);
  void DoLeftDrag(const TiMouseRecord& MouseRecord);
  void DoLeftUp(const TiMouseRecord& MouseRecord);
  void DoKeyDown(WORD Key);
  void TrackingEnabledClick(TObject* Sender);
  void UpdateResumeValuesClick(TObject* Sender);
  void ZoomToFitClick(TObject* Sender);
  void ZoomToFitRange(bool Fast);
  TiPlotAxis* FindAxis(bool XAxes, const AnsiString& Name);

  double FMin = 0;
  double FSpan = 100;
  double FDesiredStart = 0;
  double FDesiredIncrement = 0;
  bool FReverseScale = false;
  TiPlotScaleType FScaleType = ipstLinear;
  bool FTrackingEnabled = true;
  TiPlotTrackingStyle FTrackingStyle = iptsScaleMinMax;
  TiPlotAlignFirstStyle FTrackingAlignFirstStyle = ipafsNone;
  double FTrackingScrollCompressMax = 0;
  bool FRestoreValuesOnResume = true;
  bool FScrollMinMaxEnabled = false;
  double FScrollMin = 0;
  double FScrollMax = 100;
  bool FMasterUIInput = false;
  TiPlotCartesianStyle FCartesianStyle = ipcsNone;
  AnsiString FCartesianChildRefAxisName = "<None>";
  double FCartesianChildRefValue = 0;
  AnsiString FAlignRefAxisName = "<None>";
  double FCursorScaler = 1;

  bool FLabelsVisible = true;
  std::unique_ptr<TFont> FLabelsFont;
  double FLabelsMargin = 0.25;
  double FLabelSeparation = 2.0;
  TiRotationAngle FLabelsRotation = ira000;
  TiPlotAxisTextFormat FLabels;
  double FLabelsMinLength = 5.0;
  bool FLabelsMinLengthAutoAdjust = false;
  int32_t FMajorLength = 7;
  int32_t FMinorLength = 3;
  int32_t FMinorCount = 1;
  int32_t FInnerMargin = 5;
  int32_t FOuterMargin = 5;
  double FStackingEndsMargin = 0.5;
  bool FScaleLinesShow = true;
  TColor FScaleLinesColor = TColor(0xFFFFFF);
  bool FScaleLineShow = true;
  bool FGridLinesVisible = true;
  AnsiString FTitle;
  bool FTitleShow = false;
  std::unique_ptr<TFont> FTitleFont;
  double FTitleMargin = 0.25;
  bool FTitleRotated = false;
  bool FCursorUseDefaultFormat = true;
  bool FLegendUseDefaultFormat = true;
  TiPlotAxisTextFormat FCursor;
  TiPlotAxisTextFormat FLegend;
  double FCursorMinLength = 5.0;
  double FLegendMinLength = 5.0;
  bool FCursorMinLengthAutoAdjust = false;
  bool FLegendMinLengthAutoAdjust = false;

  // Resume values, saved when tracking is switched off.
  double FResumeMin = 0;
  double FResumeSpan = 100;
  double FResumeLabelsMinLength = 5.0;
  bool FFirstValueDone = false;
  bool FChanging = false;
  bool FMeasuring = false;
  int32_t FDragMode = 0;
  bool FPressed = false;
  TPoint FAnchor{0, 0};
  TiPlotAxis* FCartesianRefAxis = nullptr;
  TiPlotAxis* FAlignRefAxis = nullptr;
  bool FCartesianRefLooked = false;
  bool FAlignRefLooked = false;

  // Geometry of the last CalcScaleGeometry.
  int32_t FSide = 3;
  TRect FScaleRect{0, 0, 0, 0};
  TRect FExtendedRect{0, 0, 0, 0};
  int32_t FP0 = 0, FP1 = 0;
  int32_t FLabelOffset = 0;
  int32_t FThickness = 0;
  bool FMonthSteps = false;
  bool FYearSteps = false;
  std::vector<TiPlotTickObject> FTicks;
};

// A horizontal axis of the X-axis manager: scrolls smoothly in a TiPlot and aligns its first value
// automatically.
class TiPlotXAxis : public TiPlotAxis {
  PL_CLASS(TiPlotXAxis)
 public:
  TiPlotXAxis(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

 protected:
  TiPlotAlignFirstStyle InitialAlignFirstStyle() const override { return ipafsAuto; }
};

// A vertical axis of the Y-axis manager.
class TiPlotYAxis : public TiPlotAxis {
  PL_CLASS(TiPlotYAxis)
 public:
  TiPlotYAxis(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
};
