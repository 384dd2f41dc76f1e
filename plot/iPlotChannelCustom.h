// The base of every plot channel: one named series of (X, Y) points drawn against an X and a Y
// axis of the plot, found by name.  It owns the channel's point list, keeps running statistics of
// the points added, feeds each new point to the axes' tracking, logs points to a text file, saves
// and loads its points and its properties as text files and answers mouse hits on its markers and
// its legend row.  It also holds the drawing routines every channel shares: clipped lines, filled
// polygons, the plain connected trace and the markers.
//
// Sections: plot services / the channel (points, statistics, logging, files, hit test, drawing).
//
// Thread contract: UI thread only.
#pragma once

#include <cmath>
#include <memory>

#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Variants.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataCustomList.h"
#include "plot/iPlotObjects.h"

class TiPlotDataCursor;
enum TiPlotDataCursorStyle : uint8_t;
class TiOPCItem;
class TiOPCItemManager;

enum TiPlotDataStyle : uint8_t { ipdsStandard, ipdsCompact, ipdsCompactInterval, ipdsFullFeature };
template <>
const EnumNames& EnumNamesOf<TiPlotDataStyle>();

// ============================================================================================
// plot services
// ============================================================================================

class TiPlotChannelCustom;

// What a channel asks of its plot beyond TiPlotObjectHost (the plot component answers it).  A host
// without it leaves the channel without axes, in the Tab data-file format, outside select mode and
// without data-point click events.
class TiPlotChannelHost {
 public:
  virtual ~TiPlotChannelHost() = default;
  // The axis of that name (case-insensitive), nullptr when none.
  virtual TiPlotAxis* FindXAxis(const AnsiString& Name) = 0;
  virtual TiPlotAxis* FindYAxis(const AnsiString& Name) = 0;
  // The plot's data-file column separator: Tab or ','.
  virtual char DataFileColumnSeparator() = 0;
  // The first toolbar's Select button is down.
  virtual bool SelectModeActive() = 0;
  // The data-point click (or double-click during a double click) with the channel's index.
  virtual void DoClickDataPoint(TiPlotChannelCustom* Channel, int32_t PointIndex) = 0;
  // A point was added to Channel (the plot's own log counts its rows by them).
  virtual void ChannelPointAdded(TiPlotChannelCustom* /*Channel*/) {}
};

// ============================================================================================
// file texts shared by the channel's and the plot's files
// ============================================================================================

// Numbers in the plot's files always use "." so that a "," column separator cannot split them.
const TFormatSettings& PlotFileFormat();
// Reads a number written with "." or "," as decimal separator; with AllowNonFinite also the
// texts the writer gives infinities and not-a-number ("INF", "-INF", "NAN").  Anything else
// raises the conversion error.
double PlotFileTextToFloat(const AnsiString& Text, bool AllowNonFinite);
// The whole file, opened for reading while others may only read; a file larger than Limit bytes
// raises EReadError unread.
AnsiString PlotReadFileText(const AnsiString& FileName, int64_t Limit);

// ============================================================================================
// the channel
// ============================================================================================

class TiPlotChannelCustom : public TiPlotManagerObject {
  PL_CLASS(TiPlotChannelCustom)
 public:
  TiPlotChannelCustom(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                      const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotChannelCustom() override;

  // ---- plot-object operations -------------------------------------------------------------------
  void NotifyObjectRemoved(TiPlotObject* Obj) override;
  void NotifyObjectRenamed(TiPlotObject* Obj) override;
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  TCursor GetCursor(const TiMouseRecord& MouseRecord) override;
  void DoInserted() override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;

  // ---- the channel's own operations -------------------------------------------------------------
  virtual void FindVisibleStart() = 0;
  virtual void FindVisibleStop() = 0;
  // Extremes including half a marker; -1e300 (maxima) or +1e300 (minima) when nothing fits.
  virtual double GetXMax() = 0;
  virtual double GetXMin() = 0;
  virtual double GetYMax() = 0;
  virtual double GetYMin() = 0;
  virtual void UpdateDataCursor(TiPlotDataCursor* DataCursor) = 0;
  virtual void OPCDataReceived(TiOPCItem* Item);
  // The plain connected trace over VisibleStart .. VisibleStop: Empty points are skipped, a Null
  // point breaks the trace, each segment takes the pen of its second point.
  virtual void DrawTrace(TCanvas* Canvas, bool XYAxesReverse);
  // One marker per shown point of the visible range, none while the range exceeds
  // MarkersTurnOffLimit (when that is above 0).
  virtual void DrawMarkers(TCanvas* Canvas, bool XYAxesReverse);

  // ---- drawing routines -------------------------------------------------------------------------
  // Every routine takes XYAxesReverse: the X axis then runs vertically, so a point (X pixel,
  // Y pixel) is drawn at (Y pixel, X pixel).
  //
  // The line between two data points, clipped to the axes' ranges, with the current pen (its last
  // pixel is not set).  In PercentMode Y is a percentage of the first data view's height (its width
  // when reversed) and is not clipped.  Points that are not finite draw nothing.
  void DrawClippedLine(TCanvas* Canvas, bool XYAxesReverse, bool PercentMode, double X1, double Y1, double X2,
                       double Y2);
  // DrawClippedLine for a line whose ends' pixels are known already (PX1 and PX2 the X axis's
  // positions of X1 and X2, PY1 and PY2 the Y axis's of Y1 and Y2): the same line, without
  // converting again when nothing is clipped.
  void DrawLineAtPixels(TCanvas* Canvas, bool XYAxesReverse, double X1, int32_t PX1, double Y1, int32_t PY1,
                        double X2, int32_t PX2, double Y2, int32_t PY2);
  // The Y of the line through (X1, Y1) and (X2, Y2) at X; 0 when X1 = X2.
  static double ClipIntersectY(double X1, double Y1, double X2, double Y2, double X);
  // The X of that line at Y; X1 when the line holds no single point at Y (X1 = X2 or Y1 = Y2).
  static double ClipIntersectX(double X1, double Y1, double X2, double Y2, double Y);
  // The filled four-corner polygon of data points, with the current pen and brush, unclipped.
  void FillPolygon(TCanvas* Canvas, bool XYAxesReverse, double X1, double Y1, double X2, double Y2, double X3,
                   double Y3, double X4, double Y4);
  // The marker of point Index centred on Point (pixels).  Index -1 draws the legend's sample: the
  // channel's style at most 6 pixels in half-size, never a character.
  void DrawMarker(TCanvas* Canvas, int32_t Index, TPoint Point);

  // ---- points -----------------------------------------------------------------------------------
  // Returns the physical index the point list stored the point at.
  int32_t AddPointXY(double X, double Y);
  void Clear();
  int32_t GetCount() const { return FList->GetCount(); }
  double GetPointX(int32_t Index) { return FList->GetX(Index); }
  double GetPointY(int32_t Index) { return FList->GetY(Index); }
  bool GetPointNull(int32_t Index) { return FList->GetNull(Index); }
  bool GetPointEmpty(int32_t Index) { return FList->GetEmpty(Index); }
  void GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) {
    FList->GetPoint(Index, X, Null, Empty, Y);
  }
  void SetPointNull(int32_t Index, bool Value);
  void SetPointEmpty(int32_t Index, bool Value);
#define PL_PLOT_CHANNEL_POINT_ATTRIBUTE(T, N, S) \
  T GetPoint##N(int32_t Index) { return FList->Get##N(Index); }
  PL_PLOT_POINT_ATTRIBUTES(PL_PLOT_CHANNEL_POINT_ATTRIBUTE)
#undef PL_PLOT_CHANNEL_POINT_ATTRIBUTE
  // The point's coordinate extended by half its marker, in axis units.
  double PointXHigh(int32_t Index);
  double PointXLow(int32_t Index);
  double PointYHigh(int32_t Index);
  double PointYLow(int32_t Index);
  bool IsMarkerShown(int32_t Index);

  // ---- statistics -------------------------------------------------------------------------------
  int32_t GetRunningCount() const { return FRunningCount; }
  double GetXMinValue() const { return FXMin; }
  double GetXMaxValue() const { return FXMax; }
  double GetXMean() const { return FXMean; }
  double GetYMinValue() const { return FYMin; }
  double GetYMaxValue() const { return FYMax; }
  double GetYMean() const { return FYMean; }
  // Recomputes the statistics over the points held, leaving out Null and Empty points.
  void RecalcStatistics();
  int32_t GetElementSize() const { return FList->GetElementSize(); }
  int32_t GetMaxCount() const { return FList->GetMaxCount(); }
  int32_t GetCapacity() const { return FList->GetCapacity(); }
  int32_t GetMemoryUsed() const { return FList->MemoryUsed(); }
  TiPlotDataCustomList* DataList() const { return FList.get(); }

  // ---- logging and files ------------------------------------------------------------------------
  void ActivateLog(bool Append);
  void DeactivateLog();
  void FlushLog();
  int32_t GetPendingLogCount() const { return FPendingLogCount; }
  void SaveDataToFile(const AnsiString& FileName);
  // Appends the points of a data file (after clearing the channel when Clear).  A damaged file
  // raises EConvertError or EReadError at the first bad line; the points read before it stay.
  void LoadDataFromFile(const AnsiString& FileName, bool Clear);
  void SavePropertiesToFile(const AnsiString& FileName);
  void LoadPropertiesFromFile(const AnsiString& FileName);
  // The separator the last data-file load found.
  char GetLoadedSeparator() const { return FLoadedSeparator; }

  // ---- axes and cursor texts --------------------------------------------------------------------
  TiPlotAxis* GetXAxis();
  TiPlotAxis* GetYAxis();
  bool AxesAssigned() { return GetXAxis() && GetYAxis(); }
  AnsiString GetXCursorText(double X);
  AnsiString GetYCursorText(double Y);
  void SetLegendRect(const TRect& Rect) { FLegendRect = Rect; }
  const TRect& GetLegendRect() const { return FLegendRect; }
  int32_t GetHitPointIndex() const { return FHitPointIndex; }
  int32_t GetVisibleStart() const { return FVisibleStart; }
  int32_t GetVisibleStop() const { return FVisibleStop; }
  // The last data-cursor reading (status 0 value, 1 Null, 2 Empty) and its texts.
  const AnsiString& GetCursorXText() const { return FCursorXText; }
  const AnsiString& GetCursorYText() const { return FCursorYText; }
  double GetCursorX() const { return FCursorX; }
  double GetCursorY() const { return FCursorY; }
  uint8_t GetCursorStatus() const { return FCursorStatus; }
  TiOPCItem* OPCItem() const;

  // ---- published properties ---------------------------------------------------------------------
  const AnsiString& GetTitleText() const { return FTitleText; }
  void SetTitleText(const AnsiString& Value);
  bool GetVisibleInLegend() const { return FVisibleInLegend; }
  void SetVisibleInLegend(bool Value);
  int32_t GetRingBufferSize() const { return FList->GetRingBufferSize(); }
  void SetRingBufferSize(int32_t Value);
  bool GetTraceVisible() const { return FTraceVisible; }
  void SetTraceVisible(bool Value);
  TColor GetColor() const { return FList->ListLevel.Color; }
  void SetColor(TColor Value);
  TiPlotLineStyle GetTraceLineStyle() const { return FList->ListLevel.TraceLineStyle; }
  void SetTraceLineStyle(TiPlotLineStyle Value);
  int32_t GetTraceLineWidth() const { return FList->ListLevel.TraceLineWidth; }
  void SetTraceLineWidth(int32_t Value);
  bool GetMarkersAllowIndividual() const { return FMarkersAllowIndividual; }
  void SetMarkersAllowIndividual(bool Value);
  bool GetMarkersPenUseChannelColor() const { return FMarkersPenUseChannelColor; }
  void SetMarkersPenUseChannelColor(bool Value);
  bool GetMarkersBrushUseChannelColor() const { return FMarkersBrushUseChannelColor; }
  void SetMarkersBrushUseChannelColor(bool Value);
  int32_t GetMarkersTurnOffLimit() const { return FMarkersTurnOffLimit; }
  void SetMarkersTurnOffLimit(int32_t Value);
  bool GetMarkersVisible() const { return FList->ListLevel.MarkersVisible; }
  void SetMarkersVisible(bool Value);
  int32_t GetMarkersSize() const { return FList->ListLevel.MarkersSize; }
  void SetMarkersSize(int32_t Value);
  TiPlotMarkerStyle GetMarkersStyle() const { return FList->ListLevel.MarkersStyle; }
  void SetMarkersStyle(TiPlotMarkerStyle Value);
  TColor GetMarkersPenColor() const { return FList->ListLevel.MarkersPenColor; }
  void SetMarkersPenColor(TColor Value);
  TPenStyle GetMarkersPenStyle() const { return TPenStyle(FList->ListLevel.MarkersPenStyle); }
  void SetMarkersPenStyle(TPenStyle Value);
  int32_t GetMarkersPenWidth() const { return FList->ListLevel.MarkersPenWidth; }
  void SetMarkersPenWidth(int32_t Value);
  TColor GetMarkersBrushColor() const { return FList->ListLevel.MarkersBrushColor; }
  void SetMarkersBrushColor(TColor Value);
  TBrushStyle GetMarkersBrushStyle() const { return TBrushStyle(FList->ListLevel.MarkersBrushStyle); }
  void SetMarkersBrushStyle(TBrushStyle Value);
  TFont* GetMarkersFont() const { return FMarkersFont.get(); }
  void SetMarkersFont(TFont* Value);
  const AnsiString& GetXAxisName() const { return FXAxisName; }
  void SetXAxisName(const AnsiString& Value);
  const AnsiString& GetYAxisName() const { return FYAxisName; }
  void SetYAxisName(const AnsiString& Value);
  bool GetXAxisTrackingEnabled() const { return FXAxisTrackingEnabled; }
  void SetXAxisTrackingEnabled(bool Value);
  bool GetYAxisTrackingEnabled() const { return FYAxisTrackingEnabled; }
  void SetYAxisTrackingEnabled(bool Value);
  const AnsiString& GetLogFileName() const { return FLogFileName; }
  void SetLogFileName(const AnsiString& Value);
  int32_t GetLogBufferSize() const { return FLogBufferSize; }
  void SetLogBufferSize(int32_t Value) { FLogBufferSize = Value; }
  bool GetLoggingActive() const { return FLoggingActive; }
  TiPlotDataStyle GetDataStyle() const { return FDataStyle; }
  void SetDataStyle(TiPlotDataStyle Value);
  const Variant& GetTag() const { return FTag; }
  void SetTag(const Variant& Value) { FTag = Value; }
  AnsiString GetOPCGroupName() const;
  void SetOPCGroupName(const AnsiString& Value);
  AnsiString GetOPCComputerName() const;
  void SetOPCComputerName(const AnsiString& Value);
  AnsiString GetOPCServerName() const;
  void SetOPCServerName(const AnsiString& Value);
  AnsiString GetOPCItemName() const;
  void SetOPCItemName(const AnsiString& Value);
  int32_t GetOPCUpdateRate() const;
  void SetOPCUpdateRate(int32_t Value);
  bool GetOPCAutoConnect() const;
  void SetOPCAutoConnect(bool Value);

 protected:
  TiPlotChannelHost* ChannelHost() const;
  // The separator of the data and log files.
  char ColumnSeparator() const;
  void StoreCursorReading(double X, double Y, uint8_t Status);
  void SetCursorTexts(const AnsiString& XText, const AnsiString& YText);
  // The hint text of a data-cursor reading (status 0 a value, 1 "Null", 2 "Empty"); it also stores
  // the reading and the X and Y texts the legend shows.  A Digital channel reads "High" or "Low";
  // a frequency is written with the X axis's plain value text when PlainFrequencyText, else with
  // its cursor text.
  AnsiString CursorReadingText(TiPlotDataCursorStyle Style, uint8_t Status, double X, double Y, bool Digital,
                               bool PlainFrequencyText);
  // Walks points First .. Last: OnPoint (Index, X, Y) for each point with a value, OnNull (Index, X)
  // for each Null point.  Empty points are skipped, and so are values that are not finite, which
  // no axis can place.
  template <class TOnPoint, class TOnNull>
  void WalkPoints(int32_t First, int32_t Last, TOnPoint&& OnPoint, TOnNull&& OnNull) {
    for (int32_t i = First; i <= Last; ++i) {
      double x, y;
      bool null, empty;
      FList->GetPoint(i, x, null, empty, y);
      if (empty) continue;
      if (null)
        OnNull(i, x);
      else if (std::isfinite(x) && std::isfinite(y))
        OnPoint(i, x, y);
    }
  }
  // The canvas pen of a trace: colour, line style and width, a width of 1 set as 0 (the thinnest).
  static void SetTracePen(TCanvas* Canvas, TColor Color, TiPlotLineStyle Style, int32_t Width);
  // The pixel of a percent-mode Y value: within the first data view's height, or its width when
  // reversed.
  int32_t PercentToPixel(bool XYAxesReverse, double Percent);

  int32_t FVisibleStart = -1;
  int32_t FVisibleStop = -1;

 private:
  void ResetStatistics();
  void MarkersFontChanged(TObject* Sender);
  // Half the marker's extent in the axis's units.
  double MarkerHalfExtent(TiPlotAxis* Axis);
  bool MarkerRectAt(int32_t Index, TRect& Rect);
  // The rectangle percent-mode values are placed in: the plot's first data view, or the axes'
  // scales where the channel stands outside a plot.
  TRect PercentModeRect();

  std::unique_ptr<TiPlotDataCustomList> FList;
  TiPlotDataStyle FDataStyle = ipdsStandard;
  AnsiString FTitleText;
  bool FVisibleInLegend = true;
  bool FTraceVisible = true;
  bool FMarkersAllowIndividual = false;
  bool FMarkersPenUseChannelColor = true;
  bool FMarkersBrushUseChannelColor = true;
  int32_t FMarkersTurnOffLimit = 0;
  std::unique_ptr<TFont> FMarkersFont;
  AnsiString FXAxisName, FYAxisName;
  bool FXAxisTrackingEnabled = true;
  bool FYAxisTrackingEnabled = true;
  AnsiString FLogFileName;
  int32_t FLogBufferSize = 0;
  bool FLoggingActive = false;
  int32_t FPendingLogCount = 0;
  Variant FTag;
  std::unique_ptr<TiOPCItemManager> FOPCItemManager;

  TiPlotAxis* FXAxis = nullptr;
  TiPlotAxis* FYAxis = nullptr;

  int32_t FRunningCount = 0;
  long double FXSum = 0, FYSum = 0;
  double FXMin = 1e300, FXMax = -1e300, FXMean = 0;
  double FYMin = 1e300, FYMax = -1e300, FYMean = 0;

  int32_t FHitPointIndex = -1;
  TRect FHitRect{0, 0, 0, 0};
  bool FPressed = false;
  int32_t FPressedIndex = -1;
  TRect FPressedRect{0, 0, 0, 0};
  TRect FLegendRect{0, 0, 0, 0};

  AnsiString FCursorXText, FCursorYText;
  double FCursorX = 0, FCursorY = 0;
  uint8_t FCursorStatus = 0;
  char FLoadedSeparator = '\t';
  mutable TiPlotChannelHost* FChannelHost = nullptr;
  mutable bool FChannelHostKnown = false;
};
