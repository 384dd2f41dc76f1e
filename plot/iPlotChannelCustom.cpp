#include "plot/iPlotChannelCustom.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/runtime/Clock.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataCompactIntervalList.h"
#include "plot/iPlotDataCompactList.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataFullList.h"
#include "plot/iPlotDataNullList.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLegend.h"
#include "widgets/iGPFunctions.h"
#include "widgets/iOPCItem.h"

PL_ENUM_NAMES(TiPlotDataStyle, "ipdsStandard", "ipdsCompact", "ipdsCompactInterval", "ipdsFullFeature")

namespace {

// A channel's text files hold millions of points at most; anything larger is refused unread.
constexpr int64_t kChannelMaxDataFile = int64_t(1) << 30;
constexpr int64_t kChannelMaxPropertyFile = int64_t(1) << 20;

std::unique_ptr<TiPlotDataCustomList> ChannelNewList(TiPlotDataStyle Style) {
  switch (Style) {
    case ipdsCompact:
      return std::make_unique<TiPlotDataCompactList>();
    case ipdsCompactInterval:
      return std::make_unique<TiPlotDataCompactIntervalList>();
    case ipdsFullFeature:
      return std::make_unique<TiPlotDataFullList>();
    default:
      return std::make_unique<TiPlotDataNullList>();
  }
}

bool ChannelInRect(const TRect& R, int32_t X, int32_t Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

}  // namespace

// ============================================================================================
// file texts shared with the plot's files
// ============================================================================================

const TFormatSettings& PlotFileFormat() {
  static const TFormatSettings fs = [] {
    TFormatSettings f;
    f.DecimalSeparator = '.';
    f.ThousandSeparator = ',';
    return f;
  }();
  return fs;
}

double PlotFileTextToFloat(const AnsiString& Text, bool AllowNonFinite) {
  if (AllowNonFinite) {
    const AnsiString upper = UpperCase(Text);
    if (upper == "INF") return std::numeric_limits<double>::infinity();
    if (upper == "-INF") return -std::numeric_limits<double>::infinity();
    if (upper == "NAN") return std::numeric_limits<double>::quiet_NaN();
  }
  double value;
  if (TryStrToFloat(Text, value, PlotFileFormat())) return value;
  TFormatSettings comma = PlotFileFormat();
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = '.';
  if (TryStrToFloat(Text, value, comma)) return value;
  return StrToFloat(Text, PlotFileFormat());  // raises the conversion error
}

AnsiString PlotReadFileText(const AnsiString& FileName, int64_t Limit) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  const int64_t size = file.GetSize();
  if (size > Limit) throw EReadError("The file is larger than " + IntToStr(Limit) + " bytes");
  AnsiString text(size_t(size), '\0');
  if (size > 0) file.ReadBuffer(text.data(), int32_t(size));
  return text;
}

const TClassInfo& TiPlotChannelCustom::ClassInfo() {
  using C = TiPlotChannelCustom;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotManagerObject>("TiPlotChannelCustom")
          .Prop("TitleText", &C::GetTitleText, &C::SetTitleText)
          .Prop("VisibleInLegend", &C::GetVisibleInLegend, &C::SetVisibleInLegend)
          .Default(true)
          .Prop("RingBufferSize", &C::GetRingBufferSize, &C::SetRingBufferSize)
          .Default(0)
          .Prop("TraceVisible", &C::GetTraceVisible, &C::SetTraceVisible)
          .Default(true)
          .Prop("Color", &C::GetColor, &C::SetColor)
          .Type(ColorTypeInfo())
          .Default(clRed)
          .Prop("TraceLineStyle", &C::GetTraceLineStyle, &C::SetTraceLineStyle)
          .Default(iplsSolid)
          .Prop("TraceLineWidth", &C::GetTraceLineWidth, &C::SetTraceLineWidth)
          .Default(1)
          .Prop("MarkersAllowIndividual", &C::GetMarkersAllowIndividual, &C::SetMarkersAllowIndividual)
          .Default(false)
          .Prop("MarkersPenUseChannelColor", &C::GetMarkersPenUseChannelColor,
                &C::SetMarkersPenUseChannelColor)
          .Default(true)
          .Prop("MarkersBrushUseChannelColor", &C::GetMarkersBrushUseChannelColor,
                &C::SetMarkersBrushUseChannelColor)
          .Default(true)
          .Prop("MarkersTurnOffLimit", &C::GetMarkersTurnOffLimit, &C::SetMarkersTurnOffLimit)
          .Prop("MarkersVisible", &C::GetMarkersVisible, &C::SetMarkersVisible)
          .Default(false)
          .Prop("MarkersSize", &C::GetMarkersSize, &C::SetMarkersSize)
          .Default(3)
          .Prop("MarkersStyle", &C::GetMarkersStyle, &C::SetMarkersStyle)
          .Default(ipmsCircle)
          .Prop("MarkersPenColor", &C::GetMarkersPenColor, &C::SetMarkersPenColor)
          .Type(ColorTypeInfo())
          .Default(clRed)
          .Prop("MarkersPenStyle", &C::GetMarkersPenStyle, &C::SetMarkersPenStyle)
          .Default(psSolid)
          .Prop("MarkersPenWidth", &C::GetMarkersPenWidth, &C::SetMarkersPenWidth)
          .Default(0)
          .Prop("MarkersBrushColor", &C::GetMarkersBrushColor, &C::SetMarkersBrushColor)
          .Type(ColorTypeInfo())
          .Default(clRed)
          .Prop("MarkersBrushStyle", &C::GetMarkersBrushStyle, &C::SetMarkersBrushStyle)
          .Default(bsSolid)
          .Object("MarkersFont", &C::GetMarkersFont, &C::SetMarkersFont)
          .Prop("XAxisName", &C::GetXAxisName, &C::SetXAxisName)
          .Prop("YAxisName", &C::GetYAxisName, &C::SetYAxisName)
          .Prop("XAxisTrackingEnabled", &C::GetXAxisTrackingEnabled, &C::SetXAxisTrackingEnabled)
          .Default(true)
          .Prop("YAxisTrackingEnabled", &C::GetYAxisTrackingEnabled, &C::SetYAxisTrackingEnabled)
          .Default(true)
          .Prop("LogFileName", &C::GetLogFileName, &C::SetLogFileName)
          .Prop("LogBufferSize", &C::GetLogBufferSize, &C::SetLogBufferSize)
          .Default(0)
          .Prop("LoggingActive", &C::GetLoggingActive)
          .Prop("DataStyle", &C::GetDataStyle, &C::SetDataStyle)
          .Prop("Tag", &C::GetTag, &C::SetTag)
          .Prop("OPCGroupName", &C::GetOPCGroupName, &C::SetOPCGroupName)
          .Prop("OPCComputerName", &C::GetOPCComputerName, &C::SetOPCComputerName)
          .Prop("OPCServerName", &C::GetOPCServerName, &C::SetOPCServerName)
          .Prop("OPCItemName", &C::GetOPCItemName, &C::SetOPCItemName)
          .Prop("OPCUpdateRate", &C::GetOPCUpdateRate, &C::SetOPCUpdateRate)
          .Default(500)
          .Prop("OPCAutoConnect", &C::GetOPCAutoConnect, &C::SetOPCAutoConnect)
          .Default(true);
  return info;
}

TiPlotChannelCustom::TiPlotChannelCustom(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                         const TNotifyEvent& AOnChange)
    : TiPlotManagerObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange),
      FList(std::make_unique<TiPlotDataNullList>()) {
  TiPlotPointAttributes& a = FList->ListLevel;
  a.Color = clRed;
  a.TraceLineWidth = 1;
  a.MarkersSize = 3;
  a.MarkersPenColor = clRed;
  a.MarkersBrushColor = clRed;
  a.MarkersPenStyle = psSolid;
  a.MarkersBrushStyle = bsSolid;
  FMarkersFont = std::make_unique<TFont>();
  FMarkersFont->SetColor(TColor(0xFFFFFF));
  FMarkersFont->SetStyle(TFontStyles{fsBold});
  FMarkersFont->OnChange = TNotifyEvent(this, &TiPlotChannelCustom::MarkersFontChanged);
  // The plot component becomes the items' owner once it provides one to its channels.
  FOPCItemManager = std::make_unique<TiOPCItemManager>(nullptr);
  FOPCItemManager->Add()->SetPropertyName("Data");
}

TiPlotChannelCustom::~TiPlotChannelCustom() {
  FOPCItemManager.reset();
  FMarkersFont.reset();
  FList.reset();
}

// ============================================================================================
// plot services
// ============================================================================================

TiPlotChannelHost* TiPlotChannelCustom::ChannelHost() const {
  // The owner never changes; the cast is kept, as every added point asks for the host.
  if (!FChannelHostKnown) {
    FChannelHost = dynamic_cast<TiPlotChannelHost*>(GetOwnerHost());
    FChannelHostKnown = true;
  }
  return FChannelHost;
}

char TiPlotChannelCustom::ColumnSeparator() const {
  TiPlotChannelHost* host = ChannelHost();
  return host && host->DataFileColumnSeparator() == ',' ? ',' : '\t';
}

TiPlotAxis* TiPlotChannelCustom::GetXAxis() {
  if (!FXAxis)
    if (TiPlotChannelHost* host = ChannelHost()) FXAxis = host->FindXAxis(FXAxisName);
  return FXAxis;
}

TiPlotAxis* TiPlotChannelCustom::GetYAxis() {
  if (!FYAxis)
    if (TiPlotChannelHost* host = ChannelHost()) FYAxis = host->FindYAxis(FYAxisName);
  return FYAxis;
}

AnsiString TiPlotChannelCustom::GetXCursorText(double X) {
  TiPlotAxis* axis = GetXAxis();
  return axis ? axis->CursorText(X) : Translate("No X-Axis");
}

AnsiString TiPlotChannelCustom::GetYCursorText(double Y) {
  TiPlotAxis* axis = GetYAxis();
  return axis ? axis->CursorText(Y) : Translate("No Y-Axis");
}

void TiPlotChannelCustom::StoreCursorReading(double X, double Y, uint8_t Status) {
  FCursorX = X;
  FCursorY = Y;
  FCursorStatus = Status;
}

void TiPlotChannelCustom::SetCursorTexts(const AnsiString& XText, const AnsiString& YText) {
  FCursorXText = XText;
  FCursorYText = YText;
}

AnsiString TiPlotChannelCustom::CursorReadingText(TiPlotDataCursorStyle Style, uint8_t Status, double X,
                                                  double Y, bool Digital, bool PlainFrequencyText) {
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
  else if (Digital)
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
      const AnsiString xText = !(X < 1e301)         ? Translate("Infinite")
                               : PlainFrequencyText ? xAxis->CursorValueText(X)
                                                    : GetXCursorText(X);
      SetCursorTexts(xText, "");
      return xText;
    }
  }
  return AnsiString();
}

// ============================================================================================
// plot-object operations
// ============================================================================================

void TiPlotChannelCustom::NotifyObjectRemoved(TiPlotObject* Obj) {
  if (FXAxis && FXAxis == Obj) FXAxis = nullptr;
  if (FYAxis && FYAxis == Obj) FYAxis = nullptr;
}

void TiPlotChannelCustom::NotifyObjectRenamed(TiPlotObject* Obj) {
  if (FXAxis && FXAxis == Obj) FXAxisName = Obj->GetName();
  if (FYAxis && FYAxis == Obj) FYAxisName = Obj->GetName();
}

void TiPlotChannelCustom::NotifyObjectSelected(TiPlotObject* Obj) {
  if (!Obj || !Obj->GetSelected() || Obj == this || dynamic_cast<TiPlotLegend*>(Obj)) return;
  // A data cursor reading this channel may stay selected together with it.
  if (dynamic_cast<TiPlotDataCursor*>(Obj) && GetPropInfo(Obj, "ChannelName") &&
      SameText(GetStrProp(Obj, "ChannelName"), GetName()))
    return;
  SetSelected(false);
}

bool TiPlotChannelCustom::MarkerRectAt(int32_t Index, TRect& Rect) {
  if (!IsMarkerShown(Index)) return false;
  const int32_t x = GetXAxis()->ValueToPosition(GetPointX(Index));
  const int32_t y = GetYAxis()->ValueToPosition(GetPointY(Index));
  const int32_t s = GetMarkersSize();
  Rect = TRect{x - s, y - s, x + s, y + s};
  return true;
}

bool TiPlotChannelCustom::HitTest(const TiMouseRecord& MouseRecord) {
  bool result = TiPlotManagerObject::HitTest(MouseRecord);
  if (FVisibleInLegend && ChannelInRect(FLegendRect, MouseRecord.X, MouseRecord.Y)) result = true;
  TiPlotChannelHost* host = ChannelHost();
  if (!host || !host->SelectModeActive()) return result;
  FHitPointIndex = -1;
  if (GetMarkersVisible() && GetCount() > 0) {
    FindVisibleStart();
    FindVisibleStop();
    if (FVisibleStart < 0 || FVisibleStop < 0) return result;
    for (int32_t i = FVisibleStart; i <= FVisibleStop; ++i) {
      TRect rect;
      if (!MarkerRectAt(i, rect)) continue;
      if (ChannelInRect(rect, MouseRecord.OrientedX, MouseRecord.OrientedY)) {
        FHitPointIndex = i;
        FHitRect = rect;
        return true;
      }
    }
  }
  return result;
}

void TiPlotChannelCustom::LeftDown(const TiMouseRecord& MouseRecord) {
  if (FHitPointIndex >= 0 && ChannelInRect(FHitRect, MouseRecord.OrientedX, MouseRecord.OrientedY)) {
    FPressed = true;
    FPressedIndex = FHitPointIndex;
    FPressedRect = FHitRect;
  }
}

void TiPlotChannelCustom::LeftUp(const TiMouseRecord& MouseRecord) {
  const bool wasPressed = FPressed;
  FPressed = false;
  if (wasPressed && ChannelInRect(FPressedRect, MouseRecord.OrientedX, MouseRecord.OrientedY)) {
    if (TiPlotChannelHost* host = ChannelHost()) host->DoClickDataPoint(this, FPressedIndex);
  } else if (GetLeftPressed() && ChannelInRect(FLegendRect, MouseRecord.X, MouseRecord.Y)) {
    if (TiPlotObjectHost* host = GetOwnerHost()) host->DoObjectClick(this);
  }
}

TCursor TiPlotChannelCustom::GetCursor(const TiMouseRecord&) { return crHandPoint; }

void TiPlotChannelCustom::DoInserted() {
  TiPlotManagerObject::DoInserted();
  // Without the bridge library the item stays unconnected.
  if (GetOPCAutoConnect()) OPCItem()->Activate();
}

void TiPlotChannelCustom::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotManagerObject::BuildPopupMenu(PopupMenu);
  AddEditMenuItem(PopupMenu);
}

void TiPlotChannelCustom::OPCDataReceived(TiOPCItem* Item) {
  // The time of the item's last data is not kept by the item; its value is.
  AddPointXY(Now(), Item->Value().AsDouble());
}

// ============================================================================================
// points and statistics
// ============================================================================================

int32_t TiPlotChannelCustom::AddPointXY(double X, double Y) {
  const int32_t result = FList->AddPoint(X, Y);
  if (X > FXMax) FXMax = X;
  if (X < FXMin) FXMin = X;
  if (Y > FYMax) FYMax = Y;
  if (Y < FYMin) FYMin = Y;
  ++FRunningCount;
  FXSum += X;
  FXMean = double(FXSum / FRunningCount);
  FYSum += Y;
  FYMean = double(FYSum / FRunningCount);
  if (FXAxisTrackingEnabled || FYAxisTrackingEnabled) {
    const int32_t last = GetCount() - 1;
    TiPlotAxis* xAxis = FXAxisTrackingEnabled ? GetXAxis() : nullptr;
    TiPlotAxis* yAxis = FYAxisTrackingEnabled ? GetYAxis() : nullptr;
    if (GetMarkersVisible()) {
      if (xAxis) {
        xAxis->TrackValue(PointXHigh(last));
        xAxis->TrackValue(PointXLow(last));
      }
      if (yAxis) {
        yAxis->TrackValue(PointYHigh(last));
        yAxis->TrackValue(PointYLow(last));
      }
    } else {
      if (xAxis) xAxis->TrackValue(X);
      if (yAxis) yAxis->TrackValue(Y);
    }
  }
  if (FLoggingActive) {
    ++FPendingLogCount;
    // A ring smaller than the log buffer would drop points before they are written: flush while
    // the ring still holds every pending point.
    const int32_t ring = FList->GetRingBufferSize();
    if (FLogBufferSize < 2 || FPendingLogCount >= FLogBufferSize || (ring > 0 && FPendingLogCount >= ring))
      FlushLog();
  }
  if (TiPlotChannelHost* host = ChannelHost()) host->ChannelPointAdded(this);
  DoChange();
  return result;
}

void TiPlotChannelCustom::ResetStatistics() {
  FXMax = FYMax = -1e300;
  FXMin = FYMin = 1e300;
  FXMean = FYMean = 0;
  FRunningCount = 0;
  FXSum = FYSum = 0;
}

void TiPlotChannelCustom::Clear() {
  ResetStatistics();
  FVisibleStart = FVisibleStop = -1;
  if (FLoggingActive) DeactivateLog();
  FList->ClearPoints();
  DoChange();
}

void TiPlotChannelCustom::RecalcStatistics() {
  ResetStatistics();
  for (int32_t i = 0; i < GetCount(); ++i) {
    double x, y;
    bool null, empty;
    FList->GetPoint(i, x, null, empty, y);
    if (null || empty) continue;
    ++FRunningCount;
    FXMax = std::max(FXMax, x);
    FXMin = std::min(FXMin, x);
    FYMax = std::max(FYMax, y);
    FYMin = std::min(FYMin, y);
    FXSum += x;
    FYSum += y;
  }
  if (FRunningCount > 0) {
    FXMean = double(FXSum / FRunningCount);
    FYMean = double(FYSum / FRunningCount);
  }
}

void TiPlotChannelCustom::SetPointNull(int32_t Index, bool Value) {
  FList->SetNull(Index, Value);
  DoChange();
}

void TiPlotChannelCustom::SetPointEmpty(int32_t Index, bool Value) {
  FList->SetEmpty(Index, Value);
  DoChange();
}

double TiPlotChannelCustom::MarkerHalfExtent(TiPlotAxis* Axis) {
  return std::fabs(Axis->PositionToValueDouble(2.0 * GetMarkersSize()) - Axis->PositionToValueDouble(0)) / 2;
}

double TiPlotChannelCustom::PointXHigh(int32_t Index) {
  if (GetPointNull(Index)) throw Exception("Data Point Null");
  if (!GetMarkersVisible()) return GetPointX(Index);
  if (!GetXAxis()) throw Exception("X-Axis not assigned");
  return GetPointX(Index) + MarkerHalfExtent(GetXAxis());
}

double TiPlotChannelCustom::PointXLow(int32_t Index) {
  if (GetPointNull(Index)) throw Exception("Data Point Null");
  if (!GetMarkersVisible()) return GetPointX(Index);
  if (!GetXAxis()) throw Exception("X-Axis not assigned");
  return GetPointX(Index) - MarkerHalfExtent(GetXAxis());
}

double TiPlotChannelCustom::PointYHigh(int32_t Index) {
  if (GetPointNull(Index)) throw Exception("Data Point Null");
  if (!GetMarkersVisible()) return GetPointY(Index);
  if (!GetYAxis()) throw Exception("Y-Axis not assigned");
  return GetPointY(Index) + MarkerHalfExtent(GetYAxis());
}

double TiPlotChannelCustom::PointYLow(int32_t Index) {
  if (GetPointNull(Index)) throw Exception("Data Point Null");
  if (!GetMarkersVisible()) return GetPointY(Index);
  if (!GetYAxis()) throw Exception("Y-Axis not assigned");
  return GetPointY(Index) - MarkerHalfExtent(GetYAxis());
}

bool TiPlotChannelCustom::IsMarkerShown(int32_t Index) {
  if (!GetMarkersVisible() || GetPointNull(Index) || GetPointEmpty(Index) || !AxesAssigned()) return false;
  if (FMarkersAllowIndividual && !FList->GetMarkersVisible(Index)) return false;
  return GetXAxis()->IsValueVisible(GetPointX(Index)) && GetYAxis()->IsValueVisible(GetPointY(Index));
}

// ============================================================================================
// logging and files
// ============================================================================================

void TiPlotChannelCustom::ActivateLog(bool Append) {
  if (Trim(FLogFileName).empty()) throw Exception("Log File Name not Defined");
  if (FLoggingActive) throw Exception("Logging Already Active");
  if (Append) {
    TFileStream file(FLogFileName, fmOpenReadWrite);
  } else {
    TFileStream file(FLogFileName, fmCreate);
  }
  FLoggingActive = true;
  FPendingLogCount = 0;
}

void TiPlotChannelCustom::DeactivateLog() {
  if (!FLoggingActive) throw Exception("Logging not Active");
  FLoggingActive = false;
  if (FPendingLogCount > 0) FlushLog();
}

void TiPlotChannelCustom::FlushLog() {
  // Points the list no longer holds cannot be written; the count starts again either way.
  const int32_t pending = std::min(FPendingLogCount, GetCount());
  FPendingLogCount = 0;
  const AnsiString separator(1, ColumnSeparator());
  AnsiString rows;
  for (int32_t i = GetCount() - pending; i < GetCount(); ++i)
    rows += FloatToStr(GetPointX(i), PlotFileFormat()) + separator +
            FloatToStr(GetPointY(i), PlotFileFormat()) + "\r\n";
  TFileStream file(FLogFileName, fmOpenReadWrite);
  file.Seek(0, soEnd);
  if (!rows.empty()) file.WriteBuffer(rows.data(), int32_t(rows.size()));
}

void TiPlotChannelCustom::SaveDataToFile(const AnsiString& FileName) {
  const AnsiString separator(1, ColumnSeparator());
  AnsiString text;
  for (int32_t i = 0; i < GetCount(); ++i) {
    double x, y;
    bool null, empty;
    FList->GetPoint(i, x, null, empty, y);
    if (empty) continue;
    text += FloatToStr(x, PlotFileFormat()) + separator +
            (null ? "Null" : FloatToStr(y, PlotFileFormat())) + "\r\n";
  }
  TFileStream file(FileName, fmCreate);
  // Written in pieces: a stream write takes at most 2 GiB at once.
  for (size_t at = 0; at < text.size(); at += size_t(1) << 30)
    file.WriteBuffer(text.data() + at, int32_t(std::min(text.size() - at, size_t(1) << 30)));
}

void TiPlotChannelCustom::LoadDataFromFile(const AnsiString& FileName, bool Clear) {
  if (FLoggingActive) DeactivateLog();
  const AnsiString text = PlotReadFileText(FileName, kChannelMaxDataFile);
  if (Clear) this->Clear();
  if (text.empty()) return;
  // Lines end in CR LF, LF or CR.
  size_t firstEnd = text.find_first_of("\r\n");
  const char separator = text.substr(0, firstEnd).find('\t') != AnsiString::npos ? '\t' : ',';
  FLoadedSeparator = separator;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == AnsiString::npos) end = text.size();
    const AnsiString line = text.substr(at, end - at);
    at = end;
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    const size_t cut = line.find(separator);
    const AnsiString xText = Trim(line.substr(0, cut));
    const AnsiString yText = cut == AnsiString::npos ? AnsiString() : Trim(line.substr(cut + 1));
    if (xText.empty()) continue;
    const double x = PlotFileTextToFloat(xText, true);
    if (UpperCase(yText) == "NULL") {
      AddPointXY(x, 0);
      SetPointNull(GetCount() - 1, true);
    } else {
      AddPointXY(x, PlotFileTextToFloat(yText, true));
    }
  }
}

void TiPlotChannelCustom::SavePropertiesToFile(const AnsiString& FileName) {
  try {
    TStringList exclude;
    exclude.Add("Channel.Name");
    TStringList lines;
    lines.Add("File Type = Plot Channel Config");
    WritePropertiesToList(this, "Channel", &lines, &exclude);
    lines.SaveToFile(FileName);
  } catch (const std::exception& e) {
    throw Exception(AnsiString("Error Saving Properties - ") + e.what());
  }
}

void TiPlotChannelCustom::LoadPropertiesFromFile(const AnsiString& FileName) {
  try {
    TStringList lines;
    lines.SetText(PlotReadFileText(FileName, kChannelMaxPropertyFile));
    AnsiString fileType;
    ExtractNameValue("File Type", fileType, &lines);
    if (UpperCase(Trim(fileType)) != "PLOT CHANNEL CONFIG")
      throw Exception("Incompatible Plot Channel Configuration File Type");
    ReadPropertiesFromList(this, "Channel", &lines);
  } catch (const std::exception& e) {
    throw Exception(AnsiString("Error Loading Properties - ") + e.what());
  }
}

// ============================================================================================
// drawing
// ============================================================================================

void TiPlotChannelCustom::SetTracePen(TCanvas* Canvas, TColor Color, TiPlotLineStyle Style, int32_t Width) {
  TPen* pen = Canvas->GetPen();
  pen->SetColor(Color);
  pen->SetStyle(TPenStyle(Style));
  pen->SetWidth(Width == 1 ? 0 : Width);
}

TRect TiPlotChannelCustom::PercentModeRect() {
  if (TiPlotObjectHost* host = GetOwnerHost())
    if (TiPlotComponent* plot = host->PlotComponent())
      if (plot->DataViewCount() > 0) return plot->GetDataView(0)->GetLayoutRect();
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  if (!xAxis || !yAxis) return TRect{0, 0, 0, 0};
  return OrientedRect(GetXYAxesReverse(), xAxis->MinPosition(), yAxis->MinPosition(), xAxis->MaxPosition(),
                      yAxis->MaxPosition());
}

int32_t TiPlotChannelCustom::PercentToPixel(bool XYAxesReverse, double Percent) {
  const TRect r = PercentModeRect();
  long double p;
  if (XYAxesReverse)
    p = r.Left + static_cast<long double>(r.Right - r.Left) * Percent / 100;
  else
    p = r.Top + static_cast<long double>(r.Bottom - r.Top) * (100 - static_cast<long double>(Percent)) / 100;
  // Far-off percentages stay within the pixel range the axes keep, so rounding never fails.
  if (std::isnan(p)) return XYAxesReverse ? (r.Left + r.Right) / 2 : (r.Top + r.Bottom) / 2;
  p = std::clamp<long double>(p, -iPlotAxisPixelLimit, iPlotAxisPixelLimit);
  return int32_t(Round(p));
}

double TiPlotChannelCustom::ClipIntersectY(double X1, double Y1, double X2, double Y2, double X) {
  if (X1 == X2) return 0;
  // In extended precision the differences of far-apart doubles neither overflow nor lose the line.
  const long double t = (static_cast<long double>(X) - X1) / (static_cast<long double>(X2) - X1);
  return double(Y1 + t * (static_cast<long double>(Y2) - Y1));
}

double TiPlotChannelCustom::ClipIntersectX(double X1, double Y1, double X2, double Y2, double Y) {
  if (X1 == X2 || Y1 == Y2) return X1;
  const long double t = (static_cast<long double>(Y) - Y1) / (static_cast<long double>(Y2) - Y1);
  return double(X1 + t * (static_cast<long double>(X2) - X1));
}

void TiPlotChannelCustom::DrawClippedLine(TCanvas* Canvas, bool XYAxesReverse, bool PercentMode, double X1,
                                          double Y1, double X2, double Y2) {
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  if (!xAxis || !yAxis) return;
  // A value that is not a number or infinite has no place on an axis: clipping would turn it into
  // a line to the middle of the view.
  if (!std::isfinite(X1) || !std::isfinite(Y1) || !std::isfinite(X2) || !std::isfinite(Y2)) return;
  double l = X1, ly = Y1, r = X2, ry = Y2;
  if (X2 < X1) {
    std::swap(l, r);
    std::swap(ly, ry);
  }
  const double xMin = xAxis->GetMin(), xMax = xAxis->GetMax();
  const auto inX = [&](double v) { return v >= xMin && v <= xMax; };
  if (!inX(l) && !inX(r) && !(l < xMin && r > xMax)) return;
  const double yMin = yAxis->GetMin(), yMax = yAxis->GetMax();
  if (!PercentMode) {
    const auto inY = [&](double v) { return v >= yMin && v <= yMax; };
    if (!inY(ly) && !inY(ry) && !(ly < yMin && ry > yMax) && !(ly > yMax && ry < yMin)) return;
  }
  if (l < xMin) {
    ly = ClipIntersectY(l, ly, r, ry, xMin);
    l = xMin;
  }
  if (r > xMax) {
    ry = ClipIntersectY(l, ly, r, ry, xMax);
    r = xMax;
  }
  if (!PercentMode) {
    const double x0 = l, y0 = ly, x1 = r, y1 = ry;
    const auto clipEnd = [&](double& x, double& y) {
      if (y < yMin) {
        x = ClipIntersectX(x0, y0, x1, y1, yMin);
        y = yMin;
      } else if (y > yMax) {
        x = ClipIntersectX(x0, y0, x1, y1, yMax);
        y = yMax;
      }
    };
    clipEnd(l, ly);
    clipEnd(r, ry);
  }
  if (!xAxis->IsValueVisible(l) || !xAxis->IsValueVisible(r)) return;
  if (!PercentMode && (!yAxis->IsValueVisible(ly) || !yAxis->IsValueVisible(ry))) return;
  const auto yPixel = [&](double y) {
    return PercentMode ? PercentToPixel(XYAxesReverse, y) : yAxis->ValueToPosition(y);
  };
  const TPoint points[2] = {OrientedPoint(XYAxesReverse, xAxis->ValueToPosition(l), yPixel(ly)),
                            OrientedPoint(XYAxesReverse, xAxis->ValueToPosition(r), yPixel(ry))};
  Canvas->Polyline(points, 2);
}

namespace {

// What TiPlotAxis::ValueOnScale answers for a value at that position.
bool ChannelPixelOnScale(const TiPlotAxis* Axis, int32_t Position) {
  const TRect& r = Axis->GetScaleRect();
  return Axis->GetHorizontal() ? Position >= r.Left && Position <= r.Right
                               : Position >= r.Top && Position <= r.Bottom;
}

}  // namespace

void TiPlotChannelCustom::DrawLineAtPixels(TCanvas* Canvas, bool XYAxesReverse, double X1, int32_t PX1,
                                           double Y1, int32_t PY1, double X2, int32_t PX2, double Y2,
                                           int32_t PY2) {
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  if (!xAxis || !yAxis) return;
  const double xMin = xAxis->GetMin(), xMax = xAxis->GetMax(), yMin = yAxis->GetMin(), yMax = yAxis->GetMax();
  const auto inside = [](double V, double Lo, double Hi) { return std::isfinite(V) && V >= Lo && V <= Hi; };
  if (!inside(X1, xMin, xMax) || !inside(X2, xMin, xMax) || !inside(Y1, yMin, yMax) ||
      !inside(Y2, yMin, yMax)) {
    DrawClippedLine(Canvas, XYAxesReverse, false, X1, Y1, X2, Y2);
    return;
  }
  // Within both ranges DrawClippedLine moves neither end: only its order by X and its checks of
  // the scales remain, made here on the positions.
  if (X2 < X1) {
    std::swap(PX1, PX2);
    std::swap(PY1, PY2);
  }
  if (!ChannelPixelOnScale(xAxis, PX1) || !ChannelPixelOnScale(xAxis, PX2) ||
      !ChannelPixelOnScale(yAxis, PY1) || !ChannelPixelOnScale(yAxis, PY2))
    return;
  const TPoint points[2] = {OrientedPoint(XYAxesReverse, PX1, PY1), OrientedPoint(XYAxesReverse, PX2, PY2)};
  Canvas->Polyline(points, 2);
}

void TiPlotChannelCustom::FillPolygon(TCanvas* Canvas, bool XYAxesReverse, double X1, double Y1, double X2,
                                      double Y2, double X3, double Y3, double X4, double Y4) {
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  if (!xAxis || !yAxis) return;
  const auto at = [&](double x, double y) {
    return OrientedPoint(XYAxesReverse, xAxis->ValueToPosition(x), yAxis->ValueToPosition(y));
  };
  const TPoint points[4] = {at(X1, Y1), at(X2, Y2), at(X3, Y3), at(X4, Y4)};
  Canvas->Polygon(points, 4);
}

void TiPlotChannelCustom::DrawTrace(TCanvas* Canvas, bool XYAxesReverse) {
  if (!FTraceVisible || FVisibleStart < 0 || FVisibleStop <= FVisibleStart) return;
  bool running = false;
  double lastX = 0, lastY = 0;
  WalkPoints(
      FVisibleStart, FVisibleStop,
      [&](int32_t i, double x, double y) {
        if (running) {
          SetTracePen(Canvas, FList->GetColor(i), FList->GetTraceLineStyle(i), FList->GetTraceLineWidth(i));
          DrawClippedLine(Canvas, XYAxesReverse, false, lastX, lastY, x, y);
        }
        running = true;
        lastX = x;
        lastY = y;
      },
      [&](int32_t, double) { running = false; });
}

void TiPlotChannelCustom::DrawMarkers(TCanvas* Canvas, bool XYAxesReverse) {
  if (!GetMarkersVisible() || FVisibleStart < 0 || FVisibleStop < 0) return;
  Canvas->SetFont(FMarkersFont.get());
  if (FMarkersTurnOffLimit > 0 && std::abs(FVisibleStop - FVisibleStart) > FMarkersTurnOffLimit) return;
  TiPlotAxis* xAxis = GetXAxis();
  TiPlotAxis* yAxis = GetYAxis();
  for (int32_t i = FVisibleStart; i <= FVisibleStop; ++i) {
    if (!IsMarkerShown(i)) continue;
    const double x = GetPointX(i), y = GetPointY(i);
    // The axes would place a value that is not a number in the middle of the view.
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    DrawMarker(Canvas, i, OrientedPoint(XYAxesReverse, xAxis->ValueToPosition(x), yAxis->ValueToPosition(y)));
  }
}

void TiPlotChannelCustom::DrawMarker(TCanvas* Canvas, int32_t Index, TPoint Point) {
  if (!GetMarkersVisible()) return;
  const bool individual = Index >= 0 && FMarkersAllowIndividual;
  TiPlotMarkerStyle style;
  int32_t size, penWidth;
  TPenStyle penStyle;
  TBrushStyle brushStyle;
  TColor penColor, brushColor;
  if (individual) {
    style = FList->GetMarkersStyle(Index);
    size = FList->GetMarkersSize(Index);
    penWidth = FList->GetMarkersPenWidth(Index);
    penStyle = FList->GetMarkersPenStyle(Index);
    brushStyle = FList->GetMarkersBrushStyle(Index);
    penColor = FList->GetMarkersPenColor(Index);
    brushColor = FList->GetMarkersBrushColor(Index);
  } else {
    style = GetMarkersStyle();
    size = Index < 0 ? std::min(GetMarkersSize(), 6) : GetMarkersSize();
    penWidth = GetMarkersPenWidth();
    penStyle = GetMarkersPenStyle();
    brushStyle = GetMarkersBrushStyle();
    penColor = GetMarkersPenColor();
    brushColor = GetMarkersBrushColor();
  }
  if (FMarkersPenUseChannelColor) penColor = GetColor();
  if (FMarkersBrushUseChannelColor) brushColor = GetColor();
  TPen* pen = Canvas->GetPen();
  pen->SetColor(penColor);
  pen->SetWidth(penWidth);
  pen->SetStyle(penStyle);
  TBrush* brush = Canvas->GetBrush();
  brush->SetColor(brushColor);
  brush->SetStyle(brushStyle);

  const int32_t x = Point.X, y = Point.Y, s = size;
  const auto line = [Canvas](int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
  };
  const auto polygon = [Canvas](TPoint A, TPoint B, TPoint C, const TPoint* D = nullptr) {
    const TPoint points[4] = {A, B, C, D ? *D : C};
    Canvas->Polygon(points, D ? 4 : 3);
  };
  switch (style) {
    case ipmsCircle:
      Canvas->Ellipse(x - s, y - s, x + s, y + s);
      break;
    case ipmsSquare:
      Canvas->Rectangle(x - s, y - s, x + s, y + s);
      break;
    case ipmsDiamond: {
      const TPoint last{x, y - s};
      polygon({x + s, y}, {x, y + s}, {x - s, y}, &last);
      break;
    }
    case ipmsCross:
      line(x + s, y + s, x - s, y - s);
      line(x + s, y - s, x - s, y + s);
      break;
    case ipmsPlus:
      line(x, y + s, x, y - s);
      line(x + s, y, x - s, y);
      break;
    case ipmsTriangleUp:
      polygon({x - s, y + s}, {x, y}, {x + s, y + s});
      break;
    case ipmsTriangleDown:
      polygon({x - s, y - s}, {x, y}, {x + s, y - s});
      break;
    case ipmsTriangleLeft:
      polygon({x + s, y - s}, {x, y}, {x + s, y + s});
      break;
    case ipmsTriangleRight:
      polygon({x - s, y - s}, {x, y}, {x - s, y + s});
      break;
    case ipmsVerticalLine:
      line(x, y - s, x, y + s);
      break;
    case ipmsHorizontalLine:
      line(x - s, y, x + s, y);
      break;
    case ipmsCharacter: {
      const char character = Index >= 0 ? FList->GetMarkersCharacter(Index) : '\0';
      if (character == '\0') break;
      brush->SetStyle(bsClear);
      TRect box{x - s, y - s, x + s, y + s};
      // Centred on the point, single line, not clipped.
      DrawTextFlags(Canvas, AnsiString(1, character), box,
                    itfCenter | itfVCenter | itfSingleLine | itfNoClip);
      break;
    }
  }
}

// ============================================================================================
// published properties
// ============================================================================================

void TiPlotChannelCustom::SetTitleText(const AnsiString& Value) {
  SetStringField(Value, FTitleText, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetVisibleInLegend(bool Value) {
  SetBoolField(Value, FVisibleInLegend, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetRingBufferSize(int32_t Value) {
  FList->SetRingBufferSize(Value);
  DoChange();
}
void TiPlotChannelCustom::SetTraceVisible(bool Value) {
  SetBoolField(Value, FTraceVisible, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetMarkersAllowIndividual(bool Value) {
  SetBoolField(Value, FMarkersAllowIndividual, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetMarkersPenUseChannelColor(bool Value) {
  SetBoolField(Value, FMarkersPenUseChannelColor, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetMarkersBrushUseChannelColor(bool Value) {
  SetBoolField(Value, FMarkersBrushUseChannelColor, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetMarkersTurnOffLimit(int32_t Value) {
  SetIntField(Value, FMarkersTurnOffLimit, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetXAxisTrackingEnabled(bool Value) {
  SetBoolField(Value, FXAxisTrackingEnabled, &TiPlotObject::DoChange);
}
void TiPlotChannelCustom::SetYAxisTrackingEnabled(bool Value) {
  SetBoolField(Value, FYAxisTrackingEnabled, &TiPlotObject::DoChange);
}

// The list-level values: stored unconditionally, then the change notification.
#define PL_PLOT_CHANNEL_LIST_SETTER(N, T, S)  \
  void TiPlotChannelCustom::Set##N(T Value) { \
    FList->ListLevel.N = S(Value);            \
    DoChange();                               \
  }
PL_PLOT_CHANNEL_LIST_SETTER(Color, TColor, TColor)
PL_PLOT_CHANNEL_LIST_SETTER(TraceLineStyle, TiPlotLineStyle, TiPlotLineStyle)
PL_PLOT_CHANNEL_LIST_SETTER(TraceLineWidth, int32_t, int32_t)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersVisible, bool, bool)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersSize, int32_t, int32_t)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersStyle, TiPlotMarkerStyle, TiPlotMarkerStyle)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersPenColor, TColor, TColor)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersPenStyle, TPenStyle, uint8_t)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersPenWidth, int32_t, int32_t)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersBrushColor, TColor, TColor)
PL_PLOT_CHANNEL_LIST_SETTER(MarkersBrushStyle, TBrushStyle, uint8_t)
#undef PL_PLOT_CHANNEL_LIST_SETTER

void TiPlotChannelCustom::SetMarkersFont(TFont* Value) { FMarkersFont->Assign(Value); }
void TiPlotChannelCustom::MarkersFontChanged(TObject*) { DoChange(); }

void TiPlotChannelCustom::SetXAxisName(const AnsiString& Value) {
  if (Value == FXAxisName) return;
  FXAxisName = Value;
  FXAxis = nullptr;
  DoChange();
}

void TiPlotChannelCustom::SetYAxisName(const AnsiString& Value) {
  if (Value == FYAxisName) return;
  FYAxisName = Value;
  FYAxis = nullptr;
  DoChange();
}

void TiPlotChannelCustom::SetLogFileName(const AnsiString& Value) {
  if (Value == FLogFileName) return;
  if (FLoggingActive) throw Exception(Translate("Log File Name can not be changed while logging is active."));
  FLogFileName = Value;
}

void TiPlotChannelCustom::SetDataStyle(TiPlotDataStyle Value) {
  if (Value == FDataStyle) return;
  TiPlotPointAttributes values = FList->ListLevel;
  const int32_t ringSize = FList->GetRingBufferSize();
  std::unique_ptr<TiPlotDataCustomList> list = ChannelNewList(Value);
  values.MarkersCharacter = list->ListLevel.MarkersCharacter;
  list->ListLevel = values;
  list->SetRingBufferSize(ringSize);
  FList = std::move(list);
  FDataStyle = Value;
  DoChange();
}

// ---- OPC input: the properties live in the channel's one item

TiOPCItem* TiPlotChannelCustom::OPCItem() const { return FOPCItemManager->GetItem(0); }
AnsiString TiPlotChannelCustom::GetOPCGroupName() const { return OPCItem()->GetGroupName(); }
void TiPlotChannelCustom::SetOPCGroupName(const AnsiString& Value) { OPCItem()->SetGroupName(Value); }
AnsiString TiPlotChannelCustom::GetOPCComputerName() const { return OPCItem()->GetComputerName(); }
void TiPlotChannelCustom::SetOPCComputerName(const AnsiString& Value) { OPCItem()->SetComputerName(Value); }
AnsiString TiPlotChannelCustom::GetOPCServerName() const { return OPCItem()->GetServerName(); }
void TiPlotChannelCustom::SetOPCServerName(const AnsiString& Value) { OPCItem()->SetServerName(Value); }
AnsiString TiPlotChannelCustom::GetOPCItemName() const { return OPCItem()->GetItemName(); }
void TiPlotChannelCustom::SetOPCItemName(const AnsiString& Value) { OPCItem()->SetItemName(Value); }
int32_t TiPlotChannelCustom::GetOPCUpdateRate() const { return OPCItem()->GetUpdateRate(); }
void TiPlotChannelCustom::SetOPCUpdateRate(int32_t Value) { OPCItem()->SetUpdateRate(Value); }
bool TiPlotChannelCustom::GetOPCAutoConnect() const { return OPCItem()->GetAutoConnect(); }
void TiPlotChannelCustom::SetOPCAutoConnect(bool Value) { OPCItem()->SetAutoConnect(Value); }
