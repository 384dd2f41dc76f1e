// The Y-T channel the plot creates: a series whose X normally grows with the point index (the
// seconds since the channel was made, for the program's readings).  This unit holds its data side:
// its properties, points at the elapsed time, the visible index range, the value under a data
// cursor and its texts, the extremes for zoom-to-fit and the per-column pixel points of the
// interpolated traces; and its drawing: fill, bars, the trace in one of its styles, markers and
// high-low bars or candlesticks.
//
// Sections: points at the elapsed time / searches / extremes / paint preparation / hit test /
// data cursor / drawing / published properties.
//
// Thread contract: UI thread only.
#pragma once

#include <functional>
#include <vector>

#include "plot/iPlotChannelCustom.h"
#include "widgets/iClasses.h"

enum TiPlotInterpolationStyle : uint8_t {
  ipistStraightLine,
  ipistCubicSpline,
  ipistPolynomial,
  ipistRational,
  ipistDifferential,
  ipistDifferentialTerminated
};
enum TiPlotDigitalReferenceStyle : uint8_t { ipdrScale, ipdrPercent };
enum TiPlotHighLowStyle : uint8_t { iphlsOpenClose, iphlsCandleStick };
enum TiOPCXValueSourceStyle : uint8_t {
  iopcxvsOPCServerTimeStamp,
  iopcxvsSystemTimeStamp,
  iopcxvsElapsedTime,
  iopcxvsElapsedSeconds
};
// What a data cursor measures (the data cursor publishes it).
enum TiPlotDataCursorStyle : uint8_t {
  ipcsValueXY,
  ipcsValueX,
  ipcsValueY,
  ipcsDeltaX,
  ipcsDeltaY,
  ipcsInverseDeltaX
};
template <>
const EnumNames& EnumNamesOf<TiPlotDataCursorStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotInterpolationStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotDigitalReferenceStyle>();
template <>
const EnumNames& EnumNamesOf<TiPlotHighLowStyle>();
template <>
const EnumNames& EnumNamesOf<TiOPCXValueSourceStyle>();

// The interpolated Y of one pixel column.
struct TiPlotPixelPoint {
  bool Empty = true;
  double Value = 0;
};

// A data cursor's reading: status 0 a value, 1 "Null", 2 "Empty".
struct TiPlotCursorReading {
  uint8_t Status = 0;
  double X = 0;
  double Y = 0;
};

class TiPlotChannel : public TiPlotChannelCustom {
  PL_CLASS(TiPlotChannel)
 public:
  TiPlotChannel(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  void PreparePaint() override;
  // Fill, bars, trace, markers, then high-low bars or candlesticks.  An exception while drawing
  // ends the channel's drawing only: the rest of the plot paints.
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  void FindVisibleStart() override;
  void FindVisibleStop() override;
  double GetXMax() override;
  double GetXMin() override;
  double GetYMax() override;
  double GetYMin() override;
  void UpdateDataCursor(TiPlotDataCursor* DataCursor) override;
  void OPCDataReceived(TiOPCItem* Item) override;
  // The trace by DigitalEnabled and InterpolationStyle, with the channel's pen.
  void DrawTrace(TCanvas* Canvas, bool XYAxesReverse) override;
  // Digital channels put their markers on the two reference levels.
  void DrawMarkers(TCanvas* Canvas, bool XYAxesReverse) override;

  // ---- drawing of the parts ---------------------------------------------------------------------
  // The area between a straight-line trace and FillReference.
  void DrawFill(TCanvas* Canvas, bool XYAxesReverse);
  void DrawBars(TCanvas* Canvas, bool XYAxesReverse);
  // The straight-line trace at most two lines a pixel column: one vertical span and one
  // connection, however many points fall into the column.
  void DrawFast(TCanvas* Canvas, bool XYAxesReverse);
  // Two levels (Y = 0 low, else high) at DigitalReferenceLow and DigitalReferenceHigh.
  void DrawDigital(TCanvas* Canvas, bool XYAxesReverse);
  // Interpolated curves over all points, one line a pixel column of the visible X range; each
  // column's value is kept as its pixel point for the data cursor.
  void DrawSpline(TCanvas* Canvas, bool XYAxesReverse);
  void DrawPolynomial(TCanvas* Canvas, bool XYAxesReverse);
  void DrawRational(TCanvas* Canvas, bool XYAxesReverse);
  // Steps: each level holds until the next point; ipistDifferential extends the last one to the
  // X axis's end.
  void DrawDifferential(TCanvas* Canvas, bool XYAxesReverse);
  void DrawOpenClose(TCanvas* Canvas, bool XYAxesReverse);
  void DrawCandleStick(TCanvas* Canvas, bool XYAxesReverse);

  // X = the seconds (days) since the channel was made, on the monotonic clock, so that a change of
  // the wall clock (daylight saving, a time sync) neither jumps nor reverses the strip chart.
  int32_t AddPointAtElapsedSeconds(double Y);
  int32_t AddPointAtElapsedDays(double Y);
  // The first point at or after X (-1 outside the data or without an X axis).
  int32_t IndexAtX(double X);
  // The trace's Y at X: linear between two points in X-axis pixels, or the held level of a
  // digital channel.  False outside the data, at a Null point or next to one.
  bool InterpolatedYAtX(double X, double& Y);
  void SetPixelPoint(int32_t XPixel, double Value);
  // The reading a data cursor with pointers at pixels P1 and P2 (X axis) shows for this channel.
  TiPlotCursorReading ReadCursor(TiPlotDataCursorStyle Style, int32_t P1, int32_t P2);
  // The cursor's text of a reading; also stores the reading and its X and Y texts for the legend.
  AnsiString FormatCursorValue(TiPlotDataCursorStyle Style, uint8_t Status, double X, double Y);

  bool GetXAscending() const { return FXAscending; }
  int32_t GetPixelFirst() const { return FPixelFirst; }
  int32_t GetPixelLast() const { return FPixelLast; }
  const TiPlotPixelPoint& GetPixelPoint(int32_t XPixel) const;
  int32_t GetDigitalHighPixel() const { return FDigitalHighPixel; }
  int32_t GetDigitalLowPixel() const { return FDigitalLowPixel; }
  TDateTime GetStartTime() const { return FStartTime; }
  // Binary searches over the X values (the index probed last, next to Target; -1 without points).
  int32_t BinarySearchAscending(double Target);
  int32_t BinarySearchDescending(double Target);

#define PL_PLOT_CHANNEL_POINT_GETTER(N, T) \
  T GetPoint##N(int32_t Index) { return DataList()->Get##N(Index); }
  PL_PLOT_CHANNEL_POINT_GETTER(High, double)
  PL_PLOT_CHANNEL_POINT_GETTER(Low, double)
  PL_PLOT_CHANNEL_POINT_GETTER(Open, double)
  PL_PLOT_CHANNEL_POINT_GETTER(Close, double)
#undef PL_PLOT_CHANNEL_POINT_GETTER

  // ---- published properties ---------------------------------------------------------------------
#define PL_PLOT_CHANNEL_PROPERTY(T, N) \
  T Get##N() const { return F##N; }    \
  void Set##N(T Value);
  PL_PLOT_CHANNEL_PROPERTY(bool, FastDrawEnabled)
  PL_PLOT_CHANNEL_PROPERTY(TiPlotInterpolationStyle, InterpolationStyle)
  PL_PLOT_CHANNEL_PROPERTY(bool, FillEnabled)
  PL_PLOT_CHANNEL_PROPERTY(double, FillReference)
  PL_PLOT_CHANNEL_PROPERTY(TBrushStyle, FillStyle)
  PL_PLOT_CHANNEL_PROPERTY(TColor, FillColor)
  PL_PLOT_CHANNEL_PROPERTY(bool, FillUseChannelColor)
  PL_PLOT_CHANNEL_PROPERTY(bool, DigitalEnabled)
  PL_PLOT_CHANNEL_PROPERTY(TiPlotDigitalReferenceStyle, DigitalReferenceStyle)
  PL_PLOT_CHANNEL_PROPERTY(double, DigitalReferenceLow)
  PL_PLOT_CHANNEL_PROPERTY(double, DigitalReferenceHigh)
  PL_PLOT_CHANNEL_PROPERTY(TiPlotHighLowStyle, HighLowStyle)
  PL_PLOT_CHANNEL_PROPERTY(bool, HighLowEnabled)
  PL_PLOT_CHANNEL_PROPERTY(TColor, HighLowBarColor)
  PL_PLOT_CHANNEL_PROPERTY(double, HighLowBarWidth)
  PL_PLOT_CHANNEL_PROPERTY(bool, HighLowOpenShow)
  PL_PLOT_CHANNEL_PROPERTY(TColor, HighLowOpenColor)
  PL_PLOT_CHANNEL_PROPERTY(double, HighLowOpenWidth)
  PL_PLOT_CHANNEL_PROPERTY(double, HighLowOpenHeight)
  PL_PLOT_CHANNEL_PROPERTY(bool, HighLowCloseShow)
  PL_PLOT_CHANNEL_PROPERTY(TColor, HighLowCloseColor)
  PL_PLOT_CHANNEL_PROPERTY(double, HighLowCloseWidth)
  PL_PLOT_CHANNEL_PROPERTY(double, HighLowCloseHeight)
  PL_PLOT_CHANNEL_PROPERTY(TColor, HighLowShadowColor)
  PL_PLOT_CHANNEL_PROPERTY(TColor, HighLowBullishColor)
  PL_PLOT_CHANNEL_PROPERTY(TColor, HighLowBearishColor)
  PL_PLOT_CHANNEL_PROPERTY(bool, BarEnabled)
  PL_PLOT_CHANNEL_PROPERTY(bool, BarPenUseChannelColor)
  PL_PLOT_CHANNEL_PROPERTY(bool, BarBrushUseChannelColor)
#undef PL_PLOT_CHANNEL_PROPERTY
  double GetBarReference() const { return DataList()->ListLevel.BarReference; }
  void SetBarReference(double Value);
  double GetBarWidth() const { return DataList()->ListLevel.BarWidth; }
  void SetBarWidth(double Value);
  TColor GetBarPenColor() const { return DataList()->ListLevel.BarPenColor; }
  void SetBarPenColor(TColor Value);
  int32_t GetBarPenWidth() const { return DataList()->ListLevel.BarPenWidth; }
  void SetBarPenWidth(int32_t Value);
  TPenStyle GetBarPenStyle() const { return TPenStyle(DataList()->ListLevel.BarPenStyle); }
  void SetBarPenStyle(TPenStyle Value);
  TColor GetBarBrushColor() const { return DataList()->ListLevel.BarBrushColor; }
  void SetBarBrushColor(TColor Value);
  TBrushStyle GetBarBrushStyle() const { return TBrushStyle(DataList()->ListLevel.BarBrushStyle); }
  void SetBarBrushStyle(TBrushStyle Value);
  TiOPCXValueSourceStyle GetOPCXValueSource() const { return FOPCXValueSource; }
  void SetOPCXValueSource(TiOPCXValueSourceStyle Value) { FOPCXValueSource = Value; }

 protected:
  // The lines of the fast trace's accumulated columns (A, B, then the first point of C).
  void DrawFastColumns(TCanvas* Canvas, bool XYAxesReverse, const TiPlotMinMaxPoint& A,
                       const TiPlotMinMaxPoint& B, const TiPlotMinMaxPoint& C);
  // The fast trace by a walk over every visible point: for X that does not ascend, and for few
  // points a column.
  void DrawFastByPoints(TCanvas* Canvas, bool XYAxesReverse);
  // The run of plain points from First (plain, its X landing in the X axis's pixel Column, its Y
  // FirstY) that land in the same column, ending at Last at the latest, for ascending X: returns
  // its last index and leaves its Y extremes in FRunMin and FRunMax.
  // Upper (+0.5 or -0.5) leads from a pixel to the edge where the values grow.
  int32_t ColumnRun(TiPlotDataCustomList* List, int32_t First, int32_t Last, int32_t Column, double Upper,
                    double FirstY);
  void ForgetYPixels() {
    for (TYPixel& k : FYPixels) k.Value = NAN;
  }
  // Draws the pending level of a digital trace and clears it.
  void FlushDigitalRun(TCanvas* Canvas, bool XYAxesReverse, TDigitalSequenceData& Run);
  // One spline through X[1..N], Y[1..N] (N >= 2).
  void DrawSplineRun(TCanvas* Canvas, bool XYAxesReverse, const TDoubleArray& X, const TDoubleArray& Y,
                     int32_t N);

 private:
  double ElapsedSeconds() const;
  // The colour the fill uses: the channel's or FillColor.
  TColor FillPaintColor() const;
  void SetFillBrush(TCanvas* Canvas) const;
  // The columns of the visible X range between two X values: ValueAt gives each column's Y.
  void DrawInterpolatedRun(TCanvas* Canvas, bool XYAxesReverse, double XFirst, double XLast,
                           const std::function<double(double)>& ValueAt);
  // The polynomial or rational curve through all points.
  void DrawWholeChannelRun(TCanvas* Canvas, bool XYAxesReverse,
                           void (*Interpolate)(const TDoubleArray& X, const TDoubleArray& Y, int32_t N,
                                               double AtX, double& Value, double& Error));
  // Sets the high-low pen and brush and hands Each every visible point with a value and finite
  // high, low, open and close, with its X pixel; nothing unless HighLowEnabled.
  void ForEachHighLow(
      TCanvas* Canvas,
      const std::function<void(int32_t XPixel, double High, double Low, double Open, double Close)>& Each);
  // The digital fill under a level from X1 to X2.
  void DrawDigitalFill(TCanvas* Canvas, bool XYAxesReverse, double X1, double X2, double Level);
  // The Y value under pixel column P1 by the interpolation style; false when there is none.
  bool CursorValueAt(double X1, int32_t P1, double& Y);

  bool FFastDrawEnabled = true;
  TiPlotInterpolationStyle FInterpolationStyle = ipistStraightLine;
  bool FFillEnabled = false;
  double FFillReference = 0;
  TBrushStyle FFillStyle = bsSolid;
  TColor FFillColor = 0;
  bool FFillUseChannelColor = true;
  bool FDigitalEnabled = false;
  TiPlotDigitalReferenceStyle FDigitalReferenceStyle = ipdrScale;
  double FDigitalReferenceLow = 10;
  double FDigitalReferenceHigh = 90;
  TiPlotHighLowStyle FHighLowStyle = iphlsOpenClose;
  bool FHighLowEnabled = false;
  TColor FHighLowBarColor = TColor(0xFFFF00);
  double FHighLowBarWidth = 0.5;
  bool FHighLowOpenShow = true;
  TColor FHighLowOpenColor = TColor(0x00FF00);
  double FHighLowOpenWidth = 1.0;
  double FHighLowOpenHeight = 1.0;
  bool FHighLowCloseShow = true;
  TColor FHighLowCloseColor = TColor(255);
  double FHighLowCloseWidth = 1.0;
  double FHighLowCloseHeight = 1.0;
  TColor FHighLowShadowColor = TColor(0x808080);
  TColor FHighLowBullishColor = TColor(0xFFFFFF);
  TColor FHighLowBearishColor = TColor(0x808080);
  bool FBarEnabled = false;
  bool FBarPenUseChannelColor = true;
  bool FBarBrushUseChannelColor = true;
  TiOPCXValueSourceStyle FOPCXValueSource = iopcxvsOPCServerTimeStamp;

  TDateTime FStartTime = 0;
  int64_t FStartCounter = 0;
  bool FXAscending = true;
  std::vector<TiPlotPixelPoint> FPixelPoints;
  double FRunMin = 0, FRunMax = 0;
  // The Y axis's positions of the last Y values the fast trace drew, for one drawing.
  struct TYPixel {
    double Value = NAN;
    int32_t Pixel = 0;
  };
  TYPixel FYPixels[4];
  uint32_t FYPixelNext = 0;
  int32_t FPixelFirst = 0;
  int32_t FPixelLast = -1;
  int32_t FDigitalHighPixel = 0;
  int32_t FDigitalLowPixel = 0;
};
