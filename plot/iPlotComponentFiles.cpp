// The plot's own files: the data file (text table or compact binary), the "Plot Config" property
// file, the annotation file and the plot-level log.
//
// Sections: file helpers / data files / property files / annotation files / logging.
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/runtime/NumText.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotTable.h"

// ============================================================================================
// file helpers
// ============================================================================================

namespace {

// A data file is read whole and its points are kept twice while it loads: a quarter of a
// gigabyte is far beyond any recording the plot can show, and refused unread.
constexpr int64_t kPlotMaxDataFile = int64_t(256) << 20;
constexpr int64_t kPlotMaxPropertyFile = int64_t(16) << 20;
// A count above this in a property file is damage, not a plot anyone draws.
constexpr int32_t kPlotMaxObjectsPerKind = 1000;

constexpr char kPlotCompactHeader[] = "Compact Interval";
constexpr float kPlotFiller = 1e38f;   // a value of a channel that has no point in the row
constexpr float kPlotEndMark = 2e38f;  // after the last row
// Values above this end the rows; values from kPlotSkipAbove on are fillers.
constexpr float kPlotStopAbove = 1.5e38f;
constexpr float kPlotSkipAbove = 9e37f;

// Runs Body; a framework exception becomes one whose message starts with Prefix.
template <class F>
void PlotFileGuard(const char* Prefix, F&& Body) {
  try {
    Body();
  } catch (const Exception& e) {
    throw Exception(AnsiString(Prefix) + e.Message);
  }
}

// Replaces the file with Bytes, in pieces: a stream write takes at most 2 GiB at once.
void PlotWriteFile(const AnsiString& FileName, const AnsiString& Bytes) {
  TFileStream file(FileName, fmCreate);
  for (size_t at = 0; at < Bytes.size(); at += size_t(1) << 30)
    file.WriteBuffer(Bytes.data() + at, int32_t(std::min(Bytes.size() - at, size_t(1) << 30)));
}

void PlotAppendFile(const AnsiString& FileName, const AnsiString& Bytes) {
  TFileStream file(FileName, fmOpenReadWrite);
  file.Seek(0, soEnd);
  if (!Bytes.empty()) file.WriteBuffer(Bytes.data(), int32_t(Bytes.size()));
}

void PlotPutSingle(AnsiString& Out, float Value) {
  const uint32_t bits = std::bit_cast<uint32_t>(Value);
  for (int shift = 0; shift < 32; shift += 8) Out += char((bits >> shift) & 0xFF);
}

// The single a value is written as; a value the compact form cannot carry (not a number, out of
// the single range, or in the range of the fillers and end mark) would end or corrupt the rows
// on reading, so it is refused.
float PlotCompactSingle(double Value, int32_t Channel, int32_t Index) {
  const float f = float(Value);
  if (!std::isfinite(f) || f >= kPlotSkipAbove)
    throw Exception("The value " + FloatToStr(Value, PlotFileFormat()) + " of channel " + IntToStr(Channel) +
                    ", point " + IntToStr(Index) + " does not fit the compact file format");
  return f;
}

AnsiString PlotNumberText(double Value) { return FloatToStr(Value, PlotFileFormat()); }

// The cells of a line: cut at every separator; a separator at the end gives no empty cell.
std::vector<std::string_view> PlotSplitCells(std::string_view Line, char Separator) {
  std::vector<std::string_view> cells;
  size_t at = 0;
  while (at < Line.size()) {
    const size_t cut = Line.find(Separator, at);
    if (cut == std::string_view::npos) {
      cells.push_back(Line.substr(at));
      break;
    }
    cells.push_back(Line.substr(at, cut - at));
    at = cut + 1;
  }
  return cells;
}

// The lines of a text, ended by CR, LF or CR LF.
std::vector<std::string_view> PlotSplitLines(std::string_view Text) {
  std::vector<std::string_view> lines;
  size_t at = 0;
  while (at < Text.size()) {
    size_t end = Text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = Text.size();
    lines.push_back(Text.substr(at, end - at));
    at = end + (Text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The points a data file gives each channel, collected before any is added.
struct TPlotLoadedChannel {
  enum : uint8_t { Value, Null, Empty };
  std::vector<double> X, Y;
  std::vector<uint8_t> Kind;
  void Add(double AX, double AY, uint8_t AKind) {
    X.push_back(AX);
    Y.push_back(AY);
    Kind.push_back(AKind);
  }
};

// A cell's number; a text that is no finite number raises the conversion error with its line.
double PlotCellValue(std::string_view Cell, size_t Line) {
  const AnsiString text = Trim(AnsiString(Cell));
  double value = 0;
  try {
    value = PlotFileTextToFloat(text, false);
  } catch (const EConvertError& e) {
    throw EConvertError(e.Message + " in line " + IntToStr(int32_t(Line + 1)));
  }
  return value;
}

bool PlotCellBlank(std::string_view Cell) { return Trim(AnsiString(Cell)).empty(); }

// "Null" or "Empty" in any case: the point's kind; else a value.
uint8_t PlotCellKind(std::string_view Cell) {
  const AnsiString upper = UpperCase(Trim(AnsiString(Cell)));
  if (upper == "NULL") return TPlotLoadedChannel::Null;
  if (upper == "EMPTY") return TPlotLoadedChannel::Empty;
  return TPlotLoadedChannel::Value;
}

// A log's header: "(X)" then one title + "(Y)" per channel.  A data file whose channel 0 has no
// title also starts with "(X)", but its next cell is "(Y)" and the one after ends in "(X)".
bool PlotIsSharedXHeader(std::string_view Header, char Separator) {
  if (Header.size() < 3 || UpperCase(AnsiString(Header.substr(0, 3))) != "(X)") return false;
  const std::vector<std::string_view> cells = PlotSplitCells(Header, Separator);
  for (size_t i = 1; i < cells.size(); ++i) {
    const AnsiString cell = UpperCase(AnsiString(cells[i]));
    if (cell.size() < 3 || cell.compare(cell.size() - 3, 3, "(Y)") != 0) return false;
  }
  return true;
}

void PlotReadPaired(const std::vector<std::string_view>& Lines, char Separator,
                    std::vector<TPlotLoadedChannel>& Out) {
  for (size_t l = 1; l < Lines.size(); ++l) {
    const std::vector<std::string_view> cells = PlotSplitCells(Lines[l], Separator);
    const size_t pairs = std::min(cells.size() / 2, Out.size());
    for (size_t i = 0; i < pairs; ++i) {
      const std::string_view xCell = cells[2 * i], yCell = cells[2 * i + 1];
      if (PlotCellBlank(xCell)) continue;
      const double x = PlotCellValue(xCell, l);
      if (PlotCellBlank(yCell)) continue;
      const uint8_t kind = PlotCellKind(yCell);
      Out[i].Add(x, kind == TPlotLoadedChannel::Value ? PlotCellValue(yCell, l) : 0, kind);
    }
  }
}

void PlotReadSharedX(const std::vector<std::string_view>& Lines, char Separator,
                     std::vector<TPlotLoadedChannel>& Out) {
  for (size_t l = 1; l < Lines.size(); ++l) {
    const std::vector<std::string_view> cells = PlotSplitCells(Lines[l], Separator);
    if (cells.size() < 2 || PlotCellBlank(cells[0])) continue;
    const double x = PlotCellValue(cells[0], l);
    for (size_t i = 0; i + 1 < cells.size() && i < Out.size(); ++i) {
      const std::string_view cell = cells[i + 1];
      if (PlotCellBlank(cell)) continue;
      const uint8_t kind = PlotCellKind(cell);
      Out[i].Add(x, kind == TPlotLoadedChannel::Value ? PlotCellValue(cell, l) : 0, kind);
    }
  }
}

// The compact binary form: two header lines, then rows of little-endian singles.
void PlotReadCompact(std::string_view Bytes, std::vector<TPlotLoadedChannel>& Out) {
  size_t at = 0;
  auto readLine = [&] {
    AnsiString line;
    while (at < Bytes.size() && Bytes[at] != '\n') {
      if (Bytes[at] != '\r') line += Bytes[at];
      ++at;
    }
    if (at < Bytes.size()) ++at;
    return line;
  };
  readLine();
  const AnsiString countText = readLine();
  int32_t count = 0;
  if (!TryStrToInt(Trim(countText), count) || count < 0)
    throw Exception("Invalid Data: the channel count \"" + countText.substr(0, 20) + "\" is not a count");
  auto readSingle = [&] {
    if (Bytes.size() - at < 4) throw Exception("Invalid Data");
    uint32_t bits = 0;
    for (int k = 0; k < 4; ++k) bits |= uint32_t(uint8_t(Bytes[at + k])) << (8 * k);
    at += 4;
    const float value = std::bit_cast<float>(bits);
    if (std::isnan(value) || value == -std::numeric_limits<float>::infinity())
      throw Exception("Invalid Data: a value at byte " + IntToStr(int32_t(at - 4)) + " is not a number");
    return value;
  };
  for (int64_t row = 0; count > 0 && at < Bytes.size(); ++row) {
    for (int32_t j = 0; j < count; ++j) {
      const float x = row < 2 ? readSingle() : 0.0f;
      if (x > kPlotStopAbove) return;
      const float y = readSingle();
      if (y > kPlotStopAbove) return;
      if (x < kPlotSkipAbove && y < kPlotSkipAbove && size_t(j) < Out.size())
        Out[size_t(j)].Add(x, y, TPlotLoadedChannel::Value);
    }
  }
}

}  // namespace

// ============================================================================================
// data files
// ============================================================================================

void TiPlotComponent::SaveDataToFile(const AnsiString& FileName) {
  PlotFileGuard("Error Saving Data - ", [&] {
    const int32_t channels = ChannelCount();
    int32_t rows = 0;
    for (int32_t c = 0; c < channels; ++c) rows = std::max(rows, GetChannel(c)->GetCount());
    AnsiString out;
    if (FDataFileFormat == ipdffText) {
      const char separator = DataFileSeparatorChar();
      for (int32_t c = 0; c < channels; ++c) {
        if (c > 0) out += separator;
        const AnsiString& title = GetChannel(c)->GetTitleText();
        out += title + "(X)" + separator + title + "(Y)";
      }
      out += "\r\n";
      for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < channels; ++c) {
          if (c > 0) out += separator;
          TiPlotChannelCustom* channel = GetChannel(c);
          if (r >= channel->GetCount()) {
            out += separator;
            continue;
          }
          double x, y;
          bool null, empty;
          channel->GetPoint(r, x, null, empty, y);
          out += PlotNumberText(x) + separator +
                 (null    ? AnsiString("Null")
                  : empty ? "Empty"
                          : PlotNumberText(y));
        }
        out += "\r\n";
      }
    } else {
      out = AnsiString(kPlotCompactHeader) + "\r\n" + IntToStr(channels) + "\r\n";
      for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < channels; ++c) {
          TiPlotChannelCustom* channel = GetChannel(c);
          const bool has = r < channel->GetCount();
          if (r < 2) PlotPutSingle(out, has ? PlotCompactSingle(channel->GetPointX(r), c, r) : kPlotFiller);
          PlotPutSingle(out, has ? PlotCompactSingle(channel->GetPointY(r), c, r) : kPlotFiller);
        }
      PlotPutSingle(out, kPlotEndMark);
    }
    PlotWriteFile(FileName, out);
  });
  OnAfterSaveData(this);
}

void TiPlotComponent::LoadDataFromFile(const AnsiString& FileName) {
  BeginUpdate();
  try {
    PlotFileGuard("Error Loading Data - ", [&] {
      const AnsiString text = PlotReadFileText(FileName, kPlotMaxDataFile);
      const std::string_view bytes(text);
      std::vector<TPlotLoadedChannel> loaded(static_cast<size_t>(ChannelCount()));
      const std::string_view first = bytes.substr(0, std::min(bytes.find_first_of("\r\n"), bytes.size()));
      if (SameText(AnsiString(first), kPlotCompactHeader)) {
        PlotReadCompact(bytes, loaded);
      } else {
        const std::vector<std::string_view> lines = PlotSplitLines(bytes);
        const char separator = first.find('\t') != std::string_view::npos ? '\t' : ',';
        if (PlotIsSharedXHeader(first, separator))
          PlotReadSharedX(lines, separator, loaded);
        else
          PlotReadPaired(lines, separator, loaded);
      }
      // Only a file read to its end adds points.
      for (size_t c = 0; c < loaded.size(); ++c) {
        TiPlotChannelCustom* channel = GetChannel(int32_t(c));
        const TPlotLoadedChannel& points = loaded[c];
        for (size_t i = 0; i < points.X.size(); ++i) {
          channel->AddPointXY(points.X[i], points.Y[i]);
          if (points.Kind[i] == TPlotLoadedChannel::Null)
            channel->SetPointNull(channel->GetCount() - 1, true);
          if (points.Kind[i] == TPlotLoadedChannel::Empty)
            channel->SetPointEmpty(channel->GetCount() - 1, true);
        }
      }
    });
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  OnAfterLoadData(this);
}

void TiPlotComponent::ClearAllData() {
  if (FLoggingActive) StopLogging();
  FMaster->ClearAllChannels();
}

// ============================================================================================
// property files
// ============================================================================================

namespace {

// The kinds of a "Plot Config" file: the prefix of their objects and their count line.
struct TPlotConfigKind {
  const char* Prefix;
  int32_t (TiPlotComponent::*Count)() const;
  TiPlotObject* (*Item)(const TiPlotComponent&, int32_t);
  int32_t (TiPlotComponent::*Add)();
};

template <class T, T* (TiPlotComponent::*Get)(int32_t) const>
TiPlotObject* PlotConfigItem(const TiPlotComponent& Plot, int32_t Index) {
  return (Plot.*Get)(Index);
}

using PCF = TiPlotComponent;
// In the order the file lists them; loading takes them in its own order (axes before the
// channels that bind to them).
const TPlotConfigKind kPlotConfigKinds[] = {
    {"Channel", &PCF::ChannelCount, &PlotConfigItem<TiPlotChannelCustom, &PCF::GetChannel>, &PCF::AddChannel},
    {"XAxis", &PCF::XAxisCount, &PlotConfigItem<TiPlotXAxis, &PCF::GetXAxis>, &PCF::AddXAxis},
    {"YAxis", &PCF::YAxisCount, &PlotConfigItem<TiPlotYAxis, &PCF::GetYAxis>, &PCF::AddYAxis},
    {"ToolBar", &PCF::ToolBarCount, &PlotConfigItem<TiPlotToolBar, &PCF::GetToolBar>, &PCF::AddToolBar},
    {"Legend", &PCF::LegendCount, &PlotConfigItem<TiPlotLegend, &PCF::GetLegend>, &PCF::AddLegend},
    {"Table", &PCF::TableCount, &PlotConfigItem<TiPlotTable, &PCF::GetTable>, &PCF::AddTable},
    {"Label", &PCF::LabelCount, &PlotConfigItem<TiPlotLabel, &PCF::GetLabel>, &PCF::AddLabel},
    {"DataView", &PCF::DataViewCount, &PlotConfigItem<TiPlotDataView, &PCF::GetDataView>, &PCF::AddDataView},
    {"DataCursor", &PCF::DataCursorCount, &PlotConfigItem<TiPlotDataCursor, &PCF::GetDataCursor>,
     &PCF::AddDataCursor},
    {"Limit", &PCF::LimitCount, &PlotConfigItem<TiPlotLimit, &PCF::GetLimit>, &PCF::AddLimit},
};
constexpr int kPlotConfigLoadOrder[] = {3, 4, 5, 6, 1, 2, 7, 0, 8, 9};
constexpr int kPlotConfigChannelKind = 0;

// The line naming the class of channel Index, where it is not the plot's own.
AnsiString PlotConfigClassKey(int32_t Index) {
  return AnsiString(kPlotConfigKinds[kPlotConfigChannelKind].Prefix) + IntToStr(Index) + "." +
         TiPlotObjectManagerCustom::StoredClassKey();
}

// The value of a count line (consumed), -1 when the list has none; a count that is no number or
// out of bounds raises.
int32_t PlotTakeCount(const AnsiString& Name, TStrings* Lines) {
  AnsiString value;
  if (!ExtractNameValue(Name, value, Lines)) return -1;
  const int32_t count = StrToInt(value);
  if (count < 0 || count > kPlotMaxObjectsPerKind)
    throw Exception("Invalid " + Name + " " + IntToStr(count) + " (0 to " + IntToStr(kPlotMaxObjectsPerKind) +
                    " expected)");
  return count;
}

std::unique_ptr<TStringList> PlotLoadLines(const AnsiString& FileName) {
  auto lines = std::make_unique<TStringList>();
  lines->SetText(PlotReadFileText(FileName, kPlotMaxPropertyFile));
  return lines;
}

}  // namespace

void TiPlotComponent::SavePropertyFile(const AnsiString& FileName) {
  PlotFileGuard("Error Saving Properties - ", [&] {
    TStringList exclude;
    AddPropertyFileExclusions(&exclude);
    TStringList lines;
    lines.Add("File Type = Plot Config");
    WritePropertiesToList(this, "", &lines, &exclude);
    for (const TPlotConfigKind& kind : kPlotConfigKinds)
      lines.Add(AnsiString(kind.Prefix) + "Count = " + IntToStr((this->*kind.Count)()));
    lines.Add("DataViewZHorz = " + IntToStr(GetDataViewZHorz()));
    lines.Add("DataViewZVert = " + IntToStr(GetDataViewZVert()));
    for (const TPlotConfigKind& kind : kPlotConfigKinds)
      for (int32_t i = 0; i < (this->*kind.Count)(); ++i) {
        TiPlotObject* object = kind.Item(*this, i);
        if (&kind == &kPlotConfigKinds[kPlotConfigChannelKind]) {
          const AnsiString className = FMaster->GetChannelManager()->StoredClassName(object);
          if (!className.empty()) lines.Add(PlotConfigClassKey(i) + " = " + className);
        }
        WritePropertiesToList(object, kind.Prefix + IntToStr(i), &lines, nullptr);
      }
    lines.SaveToFile(FileName);
  });
  OnAfterSaveProperties(this);
}

void TiPlotComponent::LoadPropertyFile(const AnsiString& FileName) {
  OnBeforeLoadProperties(this);
  PlotFileGuard("Error Loading Properties - ", [&] {
    std::unique_ptr<TStringList> lines = PlotLoadLines(FileName);
    AnsiString fileType;
    if (!ExtractNameValue("File Type", fileType, lines.get()) || UpperCase(fileType) != "PLOT CONFIG")
      throw Exception("Incompatible Plot Configuration File Type");
    // Every count is checked before the first object goes.
    int32_t counts[std::size(kPlotConfigKinds)];
    for (size_t k = 0; k < std::size(kPlotConfigKinds); ++k)
      counts[k] = PlotTakeCount(AnsiString(kPlotConfigKinds[k].Prefix) + "Count", lines.get());
    // So are the channels' classes.
    std::vector<const TiPlotObjectClass*> channelClasses;
    for (int32_t i = 0; i < counts[kPlotConfigChannelKind]; ++i) {
      AnsiString className;
      ExtractNameValue(PlotConfigClassKey(i), className, lines.get());
      channelClasses.push_back(FMaster->GetChannelManager()->StoredClass(className));
    }
    AnsiString zHorz, zVert;
    const bool hasZHorz = ExtractNameValue("DataViewZHorz", zHorz, lines.get());
    const bool hasZVert = ExtractNameValue("DataViewZVert", zVert, lines.get());
    const int32_t zHorzValue = hasZHorz ? StrToInt(zHorz) : 0, zVertValue = hasZVert ? StrToInt(zVert) : 0;

    DisableLayout();
    BeginUpdate();
    try {
      if (hasZHorz) SetDataViewZHorz(zHorzValue);
      if (hasZVert) SetDataViewZVert(zVertValue);
      RemoveAllToolBars();
      RemoveAllLegends();
      RemoveAllTables();
      RemoveAllLabels();
      RemoveAllXAxes();
      RemoveAllYAxes();
      RemoveAllDataViews();
      RemoveAllChannels();
      RemoveAllAnnotations();
      RemoveAllDataCursors();
      RemoveAllLimits();
      // A value one object refuses is reported once every object is there, so that a refused
      // setting never leaves the plot without its objects.
      std::optional<AnsiString> refused;
      auto read = [&](TObject* Object, const AnsiString& Prefix) {
        try {
          ReadPropertiesFromList(Object, Prefix, lines.get());
        } catch (const Exception& e) {
          if (!refused) refused = e.Message;
        }
      };
      read(this, "");
      for (const int k : kPlotConfigLoadOrder) {
        const TPlotConfigKind& kind = kPlotConfigKinds[k];
        const bool labels = kind.Count == &PCF::LabelCount;
        for (int32_t i = 0; i < counts[k]; ++i) {
          // Label 0, the title, stays and takes the file's first label.
          const int32_t index = labels && i == 0 && LabelCount() > 0 ? 0
                                : k == kPlotConfigChannelKind
                                    ? FMaster->AddChannelOf(channelClasses[size_t(i)])
                                    : (this->*kind.Add)();
          read(kind.Item(*this, index), kind.Prefix + IntToStr(i));
        }
      }
      if (refused) throw Exception(*refused);
    } catch (...) {
      EnableLayout();
      EndUpdate();
      throw;
    }
    EnableLayout();
    EndUpdate();
  });
  OnAfterLoadProperties(this);
}

// ============================================================================================
// annotation files
// ============================================================================================

void TiPlotComponent::SaveAnnotationsToFile(const AnsiString& FileName) {
  PlotFileGuard("Error Saving Annotations - ", [&] {
    TStringList lines;
    lines.Add("AnnotationCount = " + IntToStr(AnnotationCount()));
    for (int32_t i = 0; i < AnnotationCount(); ++i)
      WritePropertiesToList(GetAnnotation(i), "Annotation" + IntToStr(i), &lines, nullptr);
    lines.SaveToFile(FileName);
  });
}

void TiPlotComponent::LoadAnnotationsFromFile(const AnsiString& FileName) {
  PlotFileGuard("Error Loading Annotations - ", [&] {
    std::unique_ptr<TStringList> lines = PlotLoadLines(FileName);
    const int32_t count = PlotTakeCount("AnnotationCount", lines.get());
    BeginUpdate();
    try {
      RemoveAllAnnotations();
      for (int32_t i = 0; i < count; ++i)
        ReadPropertiesFromList(GetAnnotation(AddAnnotation()), "Annotation" + IntToStr(i), lines.get());
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  });
}

// ============================================================================================
// logging
// ============================================================================================

namespace {

// The rows a compact log holds already, as far as the first two (which carry X) go.
int32_t PlotCompactLogRows(const AnsiString& FileName) {
  const AnsiString bytes = PlotReadFileText(FileName, kPlotMaxDataFile);
  size_t at = bytes.find('\n');
  const size_t second = at == AnsiString::npos ? AnsiString::npos : bytes.find('\n', at + 1);
  if (second == AnsiString::npos) return 0;
  const int32_t channels = StrToIntDef(Trim(bytes.substr(at + 1, second - at - 1)), 0);
  if (channels <= 0) return 2;
  const int64_t rest = int64_t(bytes.size() - second - 1), row = int64_t(channels) * 8;
  return int32_t(std::min<int64_t>(rest / row, 2));
}

}  // namespace

void TiPlotComponent::StartLogging(bool Append) {
  if (Trim(FLogFileName).empty()) throw Exception("Log File Name not Defined");
  if (FLoggingActive) throw Exception("Logging Already Active");
  int32_t fileRows = 0;
  if (Append) {
    { TFileStream file(FLogFileName, fmOpenReadWrite); }
    if (FDataFileFormat == ipdffCompactInterval) fileRows = PlotCompactLogRows(FLogFileName);
  } else {
    AnsiString header;
    if (FDataFileFormat == ipdffText) {
      header = "(X)";
      for (int32_t c = 0; c < ChannelCount(); ++c)
        header += DataFileSeparatorChar() + GetChannel(c)->GetTitleText() + "(Y)";
    } else {
      header = AnsiString(kPlotCompactHeader) + "\r\n" + IntToStr(ChannelCount());
    }
    PlotWriteFile(FLogFileName, header + "\r\n");
  }
  FLoggingActive = true;
  FLogAdded.assign(size_t(ChannelCount()), 0);
  FLogRowsWritten = 0;
  FLogFileRows = fileRows;
}

void TiPlotComponent::StopLogging() {
  if (!FLoggingActive) throw Exception("Logging not Active");
  FLoggingActive = false;
  if (GetLogPendingCount() > 0) FlushLog();
}

int64_t TiPlotComponent::GetLogPendingCount() const {
  return FLogAdded.empty() ? 0 : FLogAdded[0] - FLogRowsWritten;
}

void TiPlotComponent::FlushLog() { WriteLogRows(FLogAdded.empty() ? 0 : FLogAdded[0]); }

void TiPlotComponent::ChannelPointAdded(TiPlotChannelCustom* Channel) {
  if (!FLoggingActive) return;
  const int32_t index = FMaster->GetChannelManager()->IndexOf(Channel);
  if (index < 0) return;
  // A channel added while logging has no column in the log.
  if (size_t(index) >= FLogAdded.size()) return;
  ++FLogAdded[size_t(index)];
  if (index != 0) return;
  // Channel 0's new point begins a row: the rows before it are complete, as the other channels
  // took their points of them.  A ring of channel 0 smaller than the buffer is written before it
  // drops a row.
  const int64_t complete = FLogAdded[0] - 1 - FLogRowsWritten;
  const int32_t ring = Channel->GetRingBufferSize();
  if (complete >= std::max(FLogBufferSize, 1) || (ring > 0 && complete >= ring - 1))
    WriteLogRows(FLogAdded[0] - 1);
}

void TiPlotComponent::WriteLogRows(int64_t Upto) {
  const int32_t channels = std::min(ChannelCount(), int32_t(FLogAdded.size()));
  if (channels == 0 || Upto <= FLogRowsWritten) return;
  // The point of row k in channel c, -1 when the channel has not taken it or no longer holds it.
  auto pointOf = [&](int32_t c, int64_t k) -> int32_t {
    const int64_t index = GetChannel(c)->GetCount() - (FLogAdded[size_t(c)] - k);
    return k < FLogAdded[size_t(c)] && index >= 0 ? int32_t(index) : -1;
  };
  const char separator = DataFileSeparatorChar();
  AnsiString out;
  for (int64_t k = FLogRowsWritten; k < Upto; ++k) {
    const int32_t p0 = pointOf(0, k);
    if (p0 < 0) continue;
    if (FDataFileFormat == ipdffText) {
      out += PlotNumberText(GetChannel(0)->GetPointX(p0));
      for (int32_t c = 0; c < channels; ++c) {
        out += separator;
        TiPlotChannelCustom* channel = GetChannel(c);
        const int32_t p = pointOf(c, k);
        if (p < 0) continue;
        out += channel->GetPointNull(p)    ? AnsiString("Null")
               : channel->GetPointEmpty(p) ? AnsiString("Empty")
                                           : PlotNumberText(channel->GetPointY(p));
      }
      out += "\r\n";
    } else {
      for (int32_t c = 0; c < channels; ++c) {
        TiPlotChannelCustom* channel = GetChannel(c);
        const int32_t p = pointOf(c, k);
        if (FLogFileRows < 2)
          PlotPutSingle(out, p >= 0 ? PlotCompactSingle(channel->GetPointX(p), c, p) : kPlotFiller);
        PlotPutSingle(out, p >= 0 ? PlotCompactSingle(channel->GetPointY(p), c, p) : kPlotFiller);
      }
    }
    ++FLogFileRows;
  }
  FLogRowsWritten = Upto;
  PlotAppendFile(FLogFileName, out);
}
