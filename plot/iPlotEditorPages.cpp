// The property editor's pages as tables: each row is one control, the property it edits and how,
// in the order the page's change handler writes them.
#include <cstring>

#include "plot/iPlotEditor.h"

namespace {

constexpr const char* kBrushStyles = "Solid|Clear|Horizontal|Vertical|FDiagonal|BDiagonal|Cross|DiagCross";
constexpr const char* kPenStyles = "Solid|Dash|Dot|DashDot|DashDotDot|Clear|Inside Frame";
constexpr const char* kChannelPenStyles = "Solid|Dash|Dot|DashDot|DashDotDot|Clear|InsideFrame";
constexpr const char* kLineStyles = "Solid|Dash|Dot|DashDot|DashDotDot";
constexpr const char* kGridLineStyles = "Solid|Dash|Dot";
constexpr const char* kFormatStyles = "Value|Exponent|Prefix|Date/Time|Price 32nds|Thousands";
constexpr const char* kDateTimeFormats =
    "hh:nn:ss|hh:nn:ss.zzz|m/d hh:nn:ss|d mmm h:nn:ss am/pm|m/d/yy h:nn:ss am/pm|m/d/yyyy h:nn:ss am/pm";
constexpr const char* kPrecisionStyles = "Significant Digits|Fixed Decimal Points";
constexpr const char* kAxesControlStyles = "X-Axis|Y-Axis|Both";

using F = TiPlotEditorField;

// The X- and Y-axis pages differ only in their prefix.
std::vector<F> AxisFields(bool X) {
  const AnsiString p = X ? "XAxis" : "YAxis";
  std::vector<F> out;
  const auto add = [&](const AnsiString& Control, const AnsiString& Property, TiPlotEditorFieldKind Kind,
                       const char* Sheet, const char* Caption = "", const char* Items = nullptr) {
    out.push_back(F{p + Control, Property, Kind, Sheet, Caption, Items});
  };
  add("NameEdit", "Name", ipefEdit, "General", "Name");
  add("VisibleCheckBox", "Visible", ipefCheck, "General", "Visible");
  add("GridLinesVisibleCheckBox", "GridLinesVisible", ipefCheck, "General", "Grid Lines Visible");
  add("EnabledCheckBox", "Enabled", ipefCheck, "General", "Enabled");
  add("PopupEnabledCheckBox", "PopupEnabled", ipefCheck, "General", "Popup Enabled");
  add("LayerEdit", "Layer", ipefEdit, "Cartesian", "Layer");
  add("StartPercentEdit", "StartPercent", ipefEdit, "Scale", "Start Percent");
  add("StopPercentEdit", "StopPercent", ipefEdit, "Scale", "Stop Percent");
  add("MinEdit", "Min", ipefEdit, "General", "Min");
  add("SpanEdit", "Span", ipefEdit, "General", "Span");
  add("DesiredStartEdit", "DesiredStart", ipefEdit, "General", "Desired Start");
  add("DesiredIncrementEdit", "DesiredIncrement", ipefEdit, "General", "Desired Increment");
  add("ReverseScaleCheckBox", "ReverseScale", ipefCheck, "General", "Reverse Scale");
  add("RestoreValuesOnResumeCheckBox", "RestoreValuesOnResume", ipefCheck, "General",
      "Restore Values On Resume");
  add("MasterUIInputCheckBox", "MasterUIInput", ipefCheck, "General", "Master UI Input");
  add("InnerMarginEdit", "InnerMargin", ipefEdit, "Scale", "Inner Margin");
  add("OuterMarginEdit", "OuterMargin", ipefEdit, "Scale", "Outer Margin");
  add("TitleTextEdit", "Title", ipefEdit, "Title", "Text");
  add("TitleMarginEdit", "TitleMargin", ipefEdit, "Title", "Margin");
  add("TitleShowCheckBox", "TitleShow", ipefCheck, "Title", "Show");
  add("TitleRotatedCheckBox", "TitleRotated", ipefCheck, "Title", "Rotated");
  add("ScaleLinesShowCheckBox", "ScaleLinesShow", ipefCheck, "Scale", "Lines Show");
  add("ScaleLinesColorColorPicker", "ScaleLinesColor", ipefColor, "Scale", "Lines Color");
  add("MajorLengthEdit", "MajorLength", ipefEdit, "Scale", "Major Length");
  add("MinorLengthEdit", "MinorLength", ipefEdit, "Scale", "Minor Length");
  add("MinorCountEdit", "MinorCount", ipefEdit, "Scale", "Minor Count");
  add("LabelVisibleCheckBox", "LabelsVisible", ipefCheck, "Labels>(Default)", "Visible");
  add("LabelMarginEdit", "LabelsMargin", ipefEdit, "Labels>(Default)", "Margin");
  add("LabelFormatStyleComboBox", "LabelsFormatStyle", ipefCombo, "Labels>(Default)", "Format Style",
      kFormatStyles);
  add("LabelRotationComboBox", "LabelsRotation", ipefCombo, "Labels>(Default)", "Rotation", "0|90|180|270");
  add("DateTimeFormatComboBox", "DateTimeFormat", ipefText, "Labels>(Default)", "Date/Time Format",
      kDateTimeFormats);
  add("LabelPrecisionStyleComboBox", "LabelsPrecisionStyle", ipefCombo, "Labels>(Default)", "Precision Style",
      kPrecisionStyles);
  add("LabelPrecisionEdit", "LabelsPrecision", ipefEdit, "Labels>(Default)", "Precision");
  add("LabelMinLengthEdit", "LabelsMinLength", ipefEdit, "Labels>(Default)", "Min Length");
  add("LabelMinLengthAutoAdjustCheckBox", "LabelsMinLengthAutoAdjust", ipefCheck, "Labels>(Default)",
      "Min Length Auto Adjust");
  for (const char* set : {"Cursor", "Legend"}) {
    const bool cursor = std::strcmp(set, "Cursor") == 0;
    const char* sheet = cursor ? "Labels>Cursor" : "Labels>Legend";
    const AnsiString s = set;
    const auto prop = [&](const char* Tail) { return s + Tail; };
    add(s + "UseDefaultFormatCheckBox", prop("UseDefaultFormat"), ipefCheck, sheet, "Use Default Format");
    add(s + "FormatStyleComboBox", prop("FormatStyle"), ipefCombo, sheet, "Format Style", kFormatStyles);
    add(s + "DateTimeFormatComboBox", prop("DateTimeFormat"), ipefText, sheet, "Date/Time Format",
        kDateTimeFormats);
    add(s + "PrecisionStyleComboBox", prop("PrecisionStyle"), ipefCombo, sheet, "Precision Style",
        kPrecisionStyles);
    add(s + "PrecisionEdit", prop("Precision"), ipefEdit, sheet, "Precision");
    add(s + "MinLengthEdit", prop("MinLength"), ipefEdit, sheet, "Min Length");
    add(s + "MinLengthAutoAdjustCheckBox", prop("MinLengthAutoAdjust"), ipefCheck, sheet,
        "Min Length Auto Adjust");
  }
  add("TrackingEnabledCheckBox", "TrackingEnabled", ipefCheck, "Tracking", "Enabled");
  add("TrackingStyleComboBox", "TrackingStyle", ipefCombo, "Tracking", "Style",
      "Scale Min & Max|Scale Max|Scale Min|Scroll Smooth|Scroll Page|Expand Collapse|Expand Collapse Fast");
  add("TrackingAlignFirstStyleComboBox", "TrackingAlignFirstStyle", ipefCombo, "Tracking",
      "Align First Style", "Min|Max|Auto|None");
  add("TrackingScrollCompressMaxEdit", "TrackingScrollCompressMax", ipefEdit, "Tracking",
      "Scroll Compress Max");
  add("StackingEndsMarginEdit", "StackingEndsMargin", ipefEdit, "Scale", "Stacking Ends Margin");
  add("ForceStackingCheckBox", "ForceStacking", ipefCheck, "Scale", "Force Stacking");
  add("LabelSeparationEdit", "LabelSeparation", ipefEdit, "Labels>(Default)", "Label Separation");
  add("ScaleTypeRadioGroup", "ScaleType", ipefRadio, "General", "Scale Type", "Linear|Log10");
  add("CursorScalerEdit", "CursorScaler", ipefEdit, "Cursor", "Cursor Scaler");
  add("ScrollMinMaxEnabledCheckBox", "ScrollMinMaxEnabled", ipefCheck, "Scroll", "Min/Max Enabled");
  add("ScrollMinEdit", "ScrollMin", ipefEdit, "Scroll", "Min");
  add("ScrollMaxEdit", "ScrollMax", ipefEdit, "Scroll", "Max");
  add("CartesianStyleComboBox", "CartesianStyle", ipefCombo, "Cartesian", "Style", "None|Master|Child");
  add("CartesianChildRefAxisNameComboBox", "CartesianChildRefAxisName", X ? ipefYAxes : ipefXAxes,
      "Cartesian", "Child Ref Axis");
  add("CartesianChildRefValueEdit", "CartesianChildRefValue", ipefEdit, "Cartesian", "Child Ref Value");
  add("AlignRefAxisNameComboBox", "AlignRefAxisName", X ? ipefXAxes : ipefYAxes, "Scale", "Align Ref Axis");
  add("TitleFontPicker", "TitleFont", ipefFont, "Title", "Font");
  add("LabelFontPicker", "LabelsFont", ipefFont, "Labels>(Default)", "Font");
  return out;
}

// A page's rows share the page's prefix.
std::vector<F> Prefixed(const char* Prefix, std::vector<F> Rows) {
  for (F& f : Rows) f.Control = Prefix + f.Control;
  return Rows;
}

std::vector<F> ChannelFields() {
  return Prefixed(
      "Channel",
      {
          {"NameEdit", "Name", ipefEdit, "General", "Name", nullptr},
          {"VisibleCheckBox", "Visible", ipefCheck, "General", "Visible", nullptr},
          {"PopupEnabledCheckBox", "PopupEnabled", ipefCheck, "General", "Popup Enabled", nullptr},
          {"LayerEdit", "Layer", ipefEdit, "General", "Layer", nullptr},
          {"TitleEdit", "TitleText", ipefEdit, "General", "Title", nullptr},
          {"VisibleInLegendCheckBox", "VisibleInLegend", ipefCheck, "General", "Visible in Legend", nullptr},
          {"RingBufferSizeEdit", "RingBufferSize", ipefEdit, "General", "Ring Buffer Size", nullptr},
          {"ColorColorPicker", "Color", ipefColor, "General", "Color", nullptr},
          {"XAxisNameComboBox", "XAxisName", ipefXAxes, "General", "X-Axis", nullptr},
          {"YAxisNameComboBox", "YAxisName", ipefYAxes, "General", "Y-Axis", nullptr},
          {"XAxisTrackingEnabled", "XAxisTrackingEnabled", ipefCheck, "General", "X-Axis Tracking Enabled",
           nullptr},
          {"YAxisTrackingEnabled", "YAxisTrackingEnabled", ipefCheck, "General", "Y-Axis Tracking Enabled",
           nullptr},
          {"DataStyleComboBox", "DataStyle", ipefCombo, "General", "Data Style",
           "Standard|Compact|Compact Interval|Full Feature"},
          {"TraceVisibleCheckBox", "TraceVisible", ipefCheck, "Trace", "Visible", nullptr},
          {"TraceLineStyleComboBox", "TraceLineStyle", ipefCombo, "Trace", "Line Style", kLineStyles},
          {"TraceLineWidthEdit", "TraceLineWidth", ipefEdit, "Trace", "Line Width", nullptr},
          {"MarkersShow", "MarkersVisible", ipefCheck, "Marker", "Show", nullptr},
          {"MarkersAllowIndividual", "MarkersAllowIndividual", ipefCheck, "Marker", "Allow Individual",
           nullptr},
          {"MarkersSizeEdit", "MarkersSize", ipefEdit, "Marker", "Size", nullptr},
          {"MarkersStyleComboBox", "MarkersStyle", ipefCombo, "Marker", "Style",
           "Circle|Square|Diamond|Cross|Plus|Triangle Up|Triangle Down|Triangle Left|Triangle Right|Vertical "
           "Line|Horizontal Line|Character"},
          {"MarkersPenColorColorPicker", "MarkersPenColor", ipefColor, "Marker", "Color", nullptr, "Pen"},
          {"MarkersPenUseChannelColorCheckBox", "MarkersPenUseChannelColor", ipefCheck, "Marker",
           "Use Channel Color", nullptr, "Pen"},
          {"MarkersPenStyleComboBox", "MarkersPenStyle", ipefCombo, "Marker", "Style", kChannelPenStyles,
           "Pen"},
          {"MarkersPenWidthEdit", "MarkersPenWidth", ipefEdit, "Marker", "Width", nullptr, "Pen"},
          {"MarkersBrushColorColorPicker", "MarkersBrushColor", ipefColor, "Marker", "Color", nullptr,
           "Brush"},
          {"MarkersBrushUseChannelColorCheckBox", "MarkersBrushUseChannelColor", ipefCheck, "Marker",
           "Use Channel Color", nullptr, "Brush"},
          {"MarkersBrushStyleComboBox", "MarkersBrushStyle", ipefCombo, "Marker", "Style", kBrushStyles,
           "Brush"},
          {"MarkersTurnOffLimitEdit", "MarkersTurnOffLimit", ipefEdit, "Marker", "Turn Off Limit", nullptr},
          {"LogFileNameEdit", "LogFileName", ipefEdit, "File I/O", "File Name", nullptr, "Log"},
          {"LogBufferSizeEdit", "LogBufferSize", ipefEdit, "File I/O", "Buffer Size", nullptr, "Log"},
          {"MarkersFontPicker", "MarkersFont", ipefFont, "Marker", "Font", nullptr},
      });
}

// Only a TiPlotChannel has these.
std::vector<F> ChannelDrawFields() {
  std::vector<F> rows = {
      {"FillEnabledCheckBox", "FillEnabled", ipefCheck, "Fill", "Enabled", nullptr},
      {"FillReferenceEdit", "FillReference", ipefEdit, "Fill", "Reference", nullptr},
      {"FillStyleComboBox", "FillStyle", ipefCombo, "Fill", "Style", kBrushStyles},
      {"FillColorColorPicker", "FillColor", ipefColor, "Fill", "Color", nullptr},
      {"FillUseChannelColorCheckBox", "FillUseChannelColor", ipefCheck, "Fill", "Use Channel Color", nullptr},
      {"BarEnabledCheckBox", "BarEnabled", ipefCheck, "Bar", "Enabled", nullptr},
      {"BarWidthEdit", "BarWidth", ipefEdit, "Bar", "Width", nullptr},
      {"BarReferenceEdit", "BarReference", ipefEdit, "Bar", "Reference", nullptr},
      {"BarPenUseChannelColorCheckBox", "BarPenUseChannelColor", ipefCheck, "Bar", "Use Channel Color",
       nullptr, "Pen"},
      {"BarPenStyleComboBox", "BarPenStyle", ipefCombo, "Bar", "Style", kChannelPenStyles, "Pen"},
      {"BarPenColorColorPicker", "BarPenColor", ipefColor, "Bar", "Color", nullptr, "Pen"},
      {"BarPenWidthEdit", "BarPenWidth", ipefEdit, "Bar", "Width", nullptr, "Pen"},
      {"BarBrushUseChannelColorCheckBox", "BarBrushUseChannelColor", ipefCheck, "Bar", "Use Channel Color",
       nullptr, "Brush"},
      {"BarBrushStyleComboBox", "BarBrushStyle", ipefCombo, "Bar", "Style", kBrushStyles, "Brush"},
      {"BarBrushColorColorPicker", "BarBrushColor", ipefColor, "Bar", "Color", nullptr, "Brush"},
      {"HighLowStyleComboBox", "HighLowStyle", ipefCombo, "High/Low", "Style", "Open/Close|Candlestick"},
      {"HighLowEnabledCheckBox", "HighLowEnabled", ipefCheck, "High/Low", "Enabled", nullptr},
      {"HighLowBarColorColorPicker", "HighLowBarColor", ipefColor, "High/Low>Open/Close", "Color", nullptr,
       "Bar"},
      {"HighLowBarWidthEdit", "HighLowBarWidth", ipefEdit, "High/Low>Open/Close", "Width", nullptr, "Bar"},
  };
  for (const char* end : {"Open", "Close"}) {
    const AnsiString p = AnsiString("HighLow") + end;
    const char* sheet = "High/Low>Open/Close";
    rows.push_back({p + "ShowCheckBox", p + "Show", ipefCheck, sheet, "Show", nullptr, end});
    rows.push_back({p + "ColorColorPicker", p + "Color", ipefColor, sheet, "Color", nullptr, end});
    rows.push_back({p + "WidthEdit", p + "Width", ipefEdit, sheet, "Width", nullptr, end});
    rows.push_back({p + "HeightEdit", p + "Height", ipefEdit, sheet, "Height", nullptr, end});
  }
  const std::vector<F> rest = {
      {"HighLowShadowColorColorPicker", "HighLowShadowColor", ipefColor, "High/Low>Candlestick", "Shadow",
       nullptr},
      {"HighLowBullishColorColorPicker", "HighLowBullishColor", ipefColor, "High/Low>Candlestick", "Bullish",
       nullptr},
      {"HighLowBearishColorColorPicker", "HighLowBearishColor", ipefColor, "High/Low>Candlestick", "Bearish",
       nullptr},
      {"DigitalEnabledCheckBox", "DigitalEnabled", ipefCheck, "Digital", "Enabled", nullptr},
      {"DigitalReferenceHighEdit", "DigitalReferenceHigh", ipefEdit, "Digital", "Reference High", nullptr},
      {"DigitalReferenceLowEdit", "DigitalReferenceLow", ipefEdit, "Digital", "Reference Low", nullptr},
      {"DigitalReferenceStyleComboBox", "DigitalReferenceStyle", ipefCombo, "Digital", "Reference Style",
       "Scale|Percent"},
      {"FastDrawCheckBox", "FastDrawEnabled", ipefCheck, "General", "Fast Draw", nullptr},
      {"InterpolationStyleComboBox", "InterpolationStyle", ipefCombo, "Trace", "Interpolation Style",
       "Straight Line|Cubic Spline|Polynomial|Rational|Differential|Differential Terminated"},
  };
  rows.insert(rows.end(), rest.begin(), rest.end());
  return Prefixed("Channel", rows);
}

std::vector<F> DataCursorFields() {
  return Prefixed(
      "DataCursor",
      {
          {"NameEdit", "Name", ipefEdit, "General", "Name", nullptr},
          {"PopupEnabledCheckBox", "PopupEnabled", ipefCheck, "General", "Popup Enabled", nullptr},
          {"StyleComboBox", "Style", ipefCombo, "General", "Style",
           "Value XY|Value X|Value Y|Delta X|Delta Y|Inverse Delta X"},
          {"ColorColorPicker", "Color", ipefColor, "General", "Color", nullptr},
          {"UseChannelColorCheckBox", "UseChannelColor", ipefCheck, "General", "Use Channel Color", nullptr},
          {"HintPositionEdit", "HintPosition", ipefEdit, "Hint", "Position", nullptr},
          {"HintShowCheckBox", "HintShow", ipefCheck, "Hint", "Show", nullptr},
          {"HintHideOnReleaseCheckBox", "HintHideOnRelease", ipefCheck, "Hint", "Hide On Release", nullptr},
          {"OrientationSideRadioGroup", "HintOrientationSide", ipefRadio, "Hint", "Orientation Side",
           "Bottom-Right|Top-Left"},
          {"Pointer1PositionEdit", "Pointer1Position", ipefEdit, "General", "Pointer 1 Position", nullptr},
          {"Pointer2PositionEdit", "Pointer2Position", ipefEdit, "General", "Pointer 2 Position", nullptr},
          {"PointerPenWidthEdit", "PointerPenWidth", ipefEdit, "General", "Pointer Pen Width", nullptr},
          {"ChannelNameComboBox", "ChannelName", ipefChannels, "Channel", "Channel", nullptr},
          {"ChannelAllowAllCheckBox", "ChannelAllowAll", ipefCheck, "Channel", "Allow All", nullptr},
          {"ChannelShowAllInLegendCheckBox", "ChannelShowAllInLegend", ipefCheck, "Channel",
           "Show All In Legend", nullptr},
          {"FontPicker", "Font", ipefFont, "General", "Font", nullptr},
      });
}

std::vector<F> LimitFields() {
  return Prefixed(
      "Limit", {
                   {"NameEdit", "Name", ipefEdit, "General", "Name", nullptr},
                   {"VisibleCheckBox", "Visible", ipefCheck, "General", "Visible", nullptr},
                   {"UserCanMoveCheckBox", "UserCanMove", ipefCheck, "General", "User Can Move", nullptr},
                   {"PopUpEnabledCheckBox", "PopupEnabled", ipefCheck, "General", "Popup Enabled", nullptr},
                   {"LayerEdit", "Layer", ipefEdit, "General", "Layer", nullptr},
                   {"StyleComboBox", "Style", ipefCombo, "General", "Style",
                    "Line X|Line Y|Band X|Band Y|Poly Band X|Poly Band Y"},
                   {"Line1PositionEdit", "Line1Position", ipefEdit, "General", "Line 1 Position", nullptr},
                   {"Line2PositionEdit", "Line2Position", ipefEdit, "General", "Line 2 Position", nullptr},
                   {"FillStyleCombobox", "FillStyle", ipefCombo, "General", "Fill Style", kBrushStyles},
                   {"LineStyleComboBox", "LineStyle", ipefCombo, "General", "Line Style", kPenStyles},
                   {"LineWidthEdit", "LineWidth", ipefEdit, "General", "Line Width", nullptr},
                   {"ColorColorPicker", "Color", ipefColor, "General", "Color", nullptr},
                   {"XAxisNameComboBox", "XAxisName", ipefXAxes, "General", "X-Axis", nullptr},
                   {"YAxisNameComboBox", "YAxisName", ipefYAxes, "General", "Y-Axis", nullptr},
               });
}

std::vector<F> LabelFields() {
  return Prefixed(
      "Label", {
                   {"NameEdit", "Name", ipefEdit, "General", "Name", nullptr},
                   {"VisibleCheckBox", "Visible", ipefCheck, "General", "Visible", nullptr},
                   {"CaptionMemo", "Caption", ipefEdit, "General", "Caption", nullptr},
                   {"MarginLeftEdit", "MarginLeft", ipefEdit, "General", "Left", nullptr, "Margin"},
                   {"MarginTopEdit", "MarginTop", ipefEdit, "General", "Top", nullptr, "Margin"},
                   {"MarginRightEdit", "MarginRight", ipefEdit, "General", "Right", nullptr, "Margin"},
                   {"MarginBottomEdit", "MarginBottom", ipefEdit, "General", "Bottom", nullptr, "Margin"},
                   {"AlignmentComboBox", "Alignment", ipefCombo, "General", "Alignment", "Center|Left|Right"},
                   {"FontPicker", "Font", ipefFont, "General", "Font", nullptr},
               });
}

// The rows the legend, table, toolbar and data-view pages open with, then Rest.
std::vector<F> Opening(const char* Sheet, bool Visible, std::initializer_list<F> Rest) {
  std::vector<F> rows = {{"NameEdit", "Name", ipefEdit, Sheet, "Name", nullptr}};
  if (Visible) rows.push_back({"VisibleCheckBox", "Visible", ipefCheck, Sheet, "Visible", nullptr});
  rows.push_back({"EnabledCheckBox", "Enabled", ipefCheck, Sheet, "Enabled", nullptr});
  rows.push_back({"PopupEnabledCheckBox", "PopupEnabled", ipefCheck, Sheet, "Popup Enabled", nullptr});
  rows.insert(rows.end(), Rest);
  return rows;
}

std::vector<F> LegendFields() {
  std::vector<F> rows =
      Opening("General", true,
              {
                  {"TopMarginEdit", "MarginTop", ipefEdit, "General", "Top", nullptr, "Margin"},
                  {"BottomMarginEdit", "MarginBottom", ipefEdit, "General", "Bottom", nullptr, "Margin"},
                  {"LeftMarginEdit", "MarginLeft", ipefEdit, "General", "Left", nullptr, "Margin"},
                  {"RightMarginEdit", "MarginRight", ipefEdit, "General", "Right", nullptr, "Margin"},
                  {"ChannelNameMaxWidthEdit", "ChannelNameMaxWidth", ipefEdit, "General", "Max Width",
                   nullptr, "Channel Name"},
                  {"ChannelNameColorStyleComboBox", "ChannelNameColorStyle", ipefCombo, "General",
                   "Color Style", "Font|ChannelColor|XAxisFontColor|YAxisFontColor", "Channel Name"},
                  {"ColumnSpacingEdit", "ColumnSpacing", ipefEdit, "General", "Column Spacing", nullptr},
                  {"BackGroundTransparentCheckBox", "BackGroundTransparent", ipefCheck, "General",
                   "Transparent", nullptr, "Background"},
                  {"BackGroundColorColorPicker", "BackGroundColor", ipefColor, "General", "Color", nullptr,
                   "Background"},
                  {"SelectedItemColorPicker", "SelectedItemBackGroundColor", ipefColor, "General",
                   "Background", nullptr, "Selected Item"},
              });
  const struct {
    const char* Name;
    const char* Caption;
  } columns[] = {{"Line", "Line"},
                 {"Marker", "Marker"},
                 {"XAxisTitle", "X-Axis Title"},
                 {"YAxisTitle", "Y-Axis Title"},
                 {"XValue", "X-Value"},
                 {"YValue", "Y-Value"},
                 {"YMax", "Y-Max"},
                 {"YMin", "Y-Min"},
                 {"YMean", "Y-Mean"}};
  for (const auto& c : columns)
    rows.push_back({AnsiString("Show") + c.Name + "Checkbox", AnsiString("ShowColumn") + c.Name, ipefCheck,
                    "Columns", c.Caption, nullptr, "Show"});
  const struct {
    const char* Name;
    const char* Group;
    const char* AutoCount;
    const char* Spacing;
  } wraps[] = {{"Col", "Col", "Col>Auto Count", "Col>Spacing"},
               {"Row", "Row", "Row>Auto Count", "Row>Spacing"}};
  for (const auto& w : wraps) {
    const AnsiString s = AnsiString("Wrap") + w.Name;
    const char* sheet = "Wrap";
    rows.push_back(
        {s + "DesiredCountEdit", s + "DesiredCount", ipefEdit, sheet, "Desired Count", nullptr, w.Group});
    rows.push_back({s + "AutoCountEnabledCheckBox", s + "AutoCountEnabled", ipefCheck, sheet, "Enabled",
                    nullptr, w.AutoCount});
    rows.push_back(
        {s + "AutoCountMaxEdit", s + "AutoCountMax", ipefEdit, sheet, "Max", nullptr, w.AutoCount});
    rows.push_back({s + "SpacingMinEdit", s + "SpacingMin", ipefEdit, sheet, "Min", nullptr, w.Spacing});
    rows.push_back(
        {s + "SpacingAutoCheckBox", s + "SpacingAuto", ipefCheck, sheet, "Auto", nullptr, w.Spacing});
  }
  rows.push_back({"ColumnTitlesVisibleCheckBox", "ColumnTitlesVisible", ipefCheck, "Columns", "Visible",
                  nullptr, "Titles"});
  rows.push_back({"FontPicker", "Font", ipefFont, "General", "Font", nullptr});
  rows.push_back(
      {"SelectedItemFontPicker", "SelectedItemFont", ipefFont, "General", "Font", nullptr, "Selected Item"});
  rows.push_back(
      {"ColumnTitlesFontPicker", "ColumnTitlesFont", ipefFont, "Columns", "Font", nullptr, "Titles"});
  return Prefixed("Legend", rows);
}

std::vector<F> TableFields() {
  return Prefixed(
      "Table",
      Opening(
          "General", true,
          {
              {"TopMarginEdit", "MarginTop", ipefEdit, "General", "Top", nullptr, "Margin"},
              {"LeftMarginEdit", "MarginLeft", ipefEdit, "General", "Left", nullptr, "Margin"},
              {"RightMarginEdit", "MarginRight", ipefEdit, "General", "Right", nullptr, "Margin"},
              {"BottomMarginEdit", "MarginBottom", ipefEdit, "General", "Bottom", nullptr, "Margin"},
              {"ColumnSpacingEdit", "ColumnSpacing", ipefEdit, "General", "Column Spacing", nullptr},
              {"RowSpacingEdit", "RowSpacing", ipefEdit, "General", "Row Spacing", nullptr},
              {"RowsMaxEdit", "RowsMax", ipefEdit, "General", "Rows Max", nullptr},
              {"ColumnTitlesVisibleCheckBox", "ColumnTitlesVisible", ipefCheck, "General", "Visible", nullptr,
               "Column Titles"},
              {"GridLinesShowCheckBox", "GridLinesShow", ipefCheck, "Grid", "Show", nullptr, "Lines"},
              {"GridLinesColorColorPicker", "GridLinesColor", ipefColor, "Grid", "Color", nullptr, "Lines"},
              {"StartPercentEdit", "StartPercent", ipefEdit, "Layout", "Start Percent", nullptr},
              {"StopPercentEdit", "StopPercent", ipefEdit, "Layout", "Stop Percent", nullptr},
              {"GridBackGroundTransparentCheckBox", "GridBackGroundTransparent", ipefCheck, "Grid",
               "Transparent", nullptr, "Background"},
              {"GridBackGroundColorColorPicker", "GridBackGroundColor", ipefColor, "Grid", "Color", nullptr,
               "Background"},
              {"DataFontPicker", "DataFont", ipefFont, "General", "Font", nullptr, "Data"},
              {"ColumnTitlesFontPicker", "ColumnTitlesFont", ipefFont, "General", "Font", nullptr,
               "Column Titles"},
          }));
}

std::vector<F> ToolBarFields() {
  std::vector<F> rows =
      Opening("", true,
              {
                  {"FlatBorderCheckBox", "FlatBorder", ipefCheck, "", "Flat Border", nullptr},
                  {"FlatButtonsCheckBox", "FlatButtons", ipefCheck, "", "Flat Buttons", nullptr},
                  {"SmallButtonsCheckBox", "SmallButtons", ipefCheck, "", "Small Buttons", nullptr},
              });
  const struct {
    const char* Name;
    const char* Caption;
  } buttons[] = {{"Resume", "Resume"},
                 {"Pause", "Pause"},
                 {"AxesModeButtons", "Axes Mode"},
                 {"ZoomInOutButtons", "Zoom In/Out"},
                 {"Select", "Select"},
                 {"ZoomBox", "Zoom Box"},
                 {"Cursor", "Cursor"},
                 {"Edit", "Edit"},
                 {"Copy", "Copy"},
                 {"Save", "Save"},
                 {"Print", "Print"},
                 {"Preview", "Preview"}};
  // "AxesModeButtons" and "ZoomInOutButtons" name two buttons each.
  for (const auto& b : buttons) {
    const AnsiString prop = AnsiString("Show") + b.Name +
                            (AnsiString(b.Name).find("Buttons") == AnsiString::npos ? "Button" : "");
    rows.push_back({prop + "CheckBox", prop, ipefCheck, "", b.Caption, nullptr, "Show Button"});
  }
  rows.push_back({"ZoomInOutFactorEdit", "ZoomInOutFactor", ipefEdit, "", "Zoom Factor", nullptr});
  return Prefixed("ToolBar", rows);
}

std::vector<F> DataViewFields() {
  std::vector<F> rows = Opening(
      "General", false,
      {
          {"LayerEdit", "Layer", ipefEdit, "Grid Lines", "Layer", nullptr},
          {"BackgroundTransparentCheckBox", "BackgroundTransparent", ipefCheck, "General", "Transparent",
           nullptr, "Background"},
          {"BackgroundColorColorPicker", "BackgroundColor", ipefColor, "General", "Color", nullptr,
           "Background"},
          {"GridShow", "GridShow", ipefCheck, "General", "Show", nullptr, "Grid"},
          {"GridXAxisNameComboBox", "GridXAxisName", ipefGridXAxes, "General", "X-Axis", nullptr, "Grid"},
          {"GridYAxisNameComboBox", "GridYAxisName", ipefGridYAxes, "General", "Y-Axis", nullptr, "Grid"},
          {"AxesControlEnabledCheckBox", "AxesControlEnabled", ipefCheck, "General", "Enabled", nullptr,
           "Axes Control"},
          {"AxesControlMouseStyleComboBox", "AxesControlMouseStyle", ipefCombo, "General", "Mouse Style",
           kAxesControlStyles, "Axes Control"},
          {"AxesControlWheelStyleComboBox", "AxesControlWheelStyle", ipefCombo, "General", "Wheel Style",
           kAxesControlStyles, "Axes Control"},
          {"GridLineColorColorPicker", "GridLineColor", ipefColor, "Grid Lines", "Color", nullptr},
          {"GridLineShowLeft", "GridLineShowLeft", ipefCheck, "Grid Lines", "Left", nullptr, "Show"},
          {"GridLineShowRight", "GridLineShowRight", ipefCheck, "Grid Lines", "Right", nullptr, "Show"},
          {"GridLineShowTop", "GridLineShowTop", ipefCheck, "Grid Lines", "Top", nullptr, "Show"},
          {"GridLineShowBottom", "GridLineShowBottom", ipefCheck, "Grid Lines", "Bottom", nullptr, "Show"},
      });
  const char* sets[][2] = {{"XMajors", "Grid Lines>X-Majors"},
                           {"XMinors", "Grid Lines>X-Minors"},
                           {"YMajors", "Grid Lines>Y-Majors"},
                           {"YMinors", "Grid Lines>Y-Minors"}};
  for (const auto& s : sets)
    rows.push_back({AnsiString("GridLineShow") + s[0] + "CheckBox", AnsiString("GridLineShow") + s[0],
                    ipefCheck, s[1], "Show", nullptr});
  rows.push_back({"GridLineMajorStyleComboBox", "GridLineMajorStyle", ipefCombo, "Grid Lines", "Major Style",
                  kGridLineStyles});
  rows.push_back({"GridLineMinorStyleComboBox", "GridLineMinorStyle", ipefCombo, "Grid Lines", "Minor Style",
                  kGridLineStyles});
  const char* customs[][2] = {{"XMajor", "Grid Lines>X-Majors"},
                              {"XMinor", "Grid Lines>X-Minors"},
                              {"YMajor", "Grid Lines>Y-Majors"},
                              {"YMinor", "Grid Lines>Y-Minors"}};
  for (const auto& c : customs) {
    const AnsiString g = AnsiString("GridLine") + c[0];
    const char* sheetText = c[1];
    const char* const kCustom = "Custom Properties";
    rows.push_back({g + "CustomCheckBox", g + "Custom", ipefCheck, sheetText, "Custom", nullptr});
    rows.push_back({g + "ColorColorPicker", g + "Color", ipefColor, sheetText, "Color", nullptr, kCustom});
    rows.push_back({g + "WidthEdit", g + "Width", ipefEdit, sheetText, "Width", nullptr, kCustom});
    rows.push_back(
        {g + "StyleComboBox", g + "Style", ipefCombo, sheetText, "Style", kGridLineStyles, kCustom});
  }
  return Prefixed("DataView", rows);
}

}  // namespace

const std::vector<TiPlotEditorPage>& PlotEditorPages() {
  static const std::vector<TiPlotEditorPage> pages = [] {
    std::vector<TiPlotEditorPage> p(ipepCount);
    std::vector<F> channel = ChannelFields();
    for (F& f : ChannelDrawFields()) channel.push_back(f);
    p[ipepChannel] = {"Channels", "Channel", "iChannelAddButton", "ChannelRemoveButton", true, channel};
    p[ipepDataCursor] = {"Cursors", "DataCursor",      "iDataCursorAddButton", "DataCursorRemoveButton",
                         true,      DataCursorFields()};
    p[ipepLimit] = {"Limits", "Limit", "iLimitAddButton", "LimitRemoveButton", true, LimitFields()};
    p[ipepLabel] = {"Labels", "Label", "iLabelAddButton", "LabelRemoveButton", true, LabelFields()};
    p[ipepXAxis] = {"X-Axes", "XAxis", "XAxesAddButton", "XAxisRemoveButton", true, AxisFields(true)};
    p[ipepYAxis] = {"Y-Axes", "YAxis", "YAxesAddButton", "YAxisRemoveButton", true, AxisFields(false)};
    p[ipepLegend] = {"Legend", "Legend", nullptr, nullptr, false, LegendFields()};
    p[ipepTable] = {"Tables", "Table", "iTableAddButton", "TableRemoveButton", true, TableFields()};
    p[ipepToolBar] = {"ToolBar", "ToolBar", nullptr, nullptr, false, ToolBarFields()};
    p[ipepDataView] = {"Data View", "DataView", nullptr, nullptr, false, DataViewFields()};
    return p;
  }();
  return pages;
}

// The "Control" page, in ApplyEditor's write order.
const std::vector<TiPlotEditorField>& PlotEditorControlFields() {
  static const std::vector<F> rows = {
      {"AutoFrameRateCheckBox", "AutoFrameRate", ipefCheck, "General", "Auto Frame Rate", nullptr},
      {"UpdateFrameRateEdit", "UpdateFrameRate", ipefEdit, "General", "Update Frame Rate", nullptr},
      {"ClipAnnotationsToAxesCheckBox", "ClipAnnotationsToAxes", ipefCheck, "General",
       "Clip Annotations To Axes", nullptr},
      {"BorderStyleRadioGroup", "BorderStyle", ipefRadio, "General", "Border Style", "None|Raised|Lowered"},
      {"CopyToClipBoardFormatComboBox", "CopyToClipBoardFormat", ipefCombo, "General", "Clipboard Format",
       "Meta File|Bitmap|JPEG"},
      {"FileColumnSeparatorComboBox", "DataFileColumnSeparator", ipefCombo, "General", "Column Separator",
       "Tab|Comma"},
      {"BackGroundColorPicker", "BackGroundColor", ipefColor, "Background", "Color", nullptr},
      {"BackGroundGradientDirectionComboBox", "BackGroundGradientDirection", ipefCombo, "Background",
       "Direction",
       "Top/Bottom|Bottom/Top|Left/Right|Right/Left|Top Left/Bottom Right|Bottom Right/Top Left|Bottom "
       "Left/Top "
       "Right|Top Right/Bottom Left|Rectangle Out|Rectangle In|Circle Out|Circle In",
       "Gradient"},
      {"BackGroundGradientEnabledCheckBox", "BackGroundGradientEnabled", ipefCheck, "Background", "Enabled",
       nullptr, "Gradient"},
      {"BackGroundGradientStartColorPicker", "BackGroundGradientStartColor", ipefColor, "Background",
       "Start Color", nullptr, "Gradient"},
      {"BackGroundGradientStopColorPicker", "BackGroundGradientStopColor", ipefColor, "Background",
       "Stop Color", nullptr, "Gradient"},
      {"OuterMarginLeftEdit", "OuterMarginLeft", ipefEdit, "General", "Left", nullptr, "Outer Margin"},
      {"OuterMarginTopEdit", "OuterMarginTop", ipefEdit, "General", "Top", nullptr, "Outer Margin"},
      {"OuterMarginRightEdit", "OuterMarginRight", ipefEdit, "General", "Right", nullptr, "Outer Margin"},
      {"OuterMarginBottomEdit", "OuterMarginBottom", ipefEdit, "General", "Bottom", nullptr, "Outer Margin"},
      {"TitleVisibleCheckBox", "TitleVisible", ipefCheck, "Title", "Visible", nullptr},
      {"TitleMarginEdit", "TitleMargin", ipefEdit, "Title", "Margin", nullptr},
      {"TitleTextEdit", "TitleText", ipefEdit, "Title", "Text", nullptr},
      {"TitleFontPicker", "TitleFont", ipefFont, "Title", "Font", nullptr},
      {"ControlLogFileNameEdit", "LogFileName", ipefEdit, "File I/O", "File Name", nullptr, "Log"},
      {"ControlLogBufferSizeEdit", "LogBufferSize", ipefEdit, "File I/O", "Buffer Size", nullptr, "Log"},
      {"HintsShowCheckBox", "HintsShow", ipefCheck, "Hints", "Show", nullptr},
      {"HintsPauseEdit", "HintsPause", ipefEdit, "Hints", "Pause", nullptr},
      {"HintsHidePauseEdit", "HintsHidePause", ipefEdit, "Hints", "Hide Pause", nullptr},
      {"HintsFontPicker", "HintsFont", ipefFont, "Hints", "Font", nullptr},
      {"AnnotationDefaultPenColorPicker", "AnnotationDefaultPenColor", ipefColor, "Annotation Defaults",
       "Color", nullptr, "Pen"},
      {"AnnotationDefaultPenStyleComboBox", "AnnotationDefaultPenStlye", ipefCombo, "Annotation Defaults",
       "Style", kPenStyles, "Pen"},
      {"AnnotationDefaultPenWidthEdit", "AnnotationDefaultPenWidth", ipefEdit, "Annotation Defaults", "Width",
       nullptr, "Pen"},
      {"AnnotationDefaultBrushColorPicker", "AnnotationDefaultBrushColor", ipefColor, "Annotation Defaults",
       "Color", nullptr, "Brush"},
      {"AnnotationDefaultBrushStyleComboBox", "AnnotationDefaultBrushStlye", ipefCombo, "Annotation Defaults",
       "Style", kBrushStyles, "Brush"},
      {"AnnotationDefaultFontPicker", "AnnotationDefaultFont", ipefFont, "Annotation Defaults", "Font",
       nullptr},
      {"PrintShowDialogCheckBox", "PrintShowDialog", ipefCheck, "Print", "Show Dialog", nullptr},
      {"PrintOrientationRadioGroup", "PrintOrientation", ipefRadio, "Print", "Orientation",
       "Portrait|Landscape"},
      {"PrintMarginLeftEdit", "PrintMarginLeft", ipefEdit, "Print", "Left", nullptr, "Margin"},
      {"PrintMarginTopEdit", "PrintMarginTop", ipefEdit, "Print", "Top", nullptr, "Margin"},
      {"PrintMarginRightEdit", "PrintMarginRight", ipefEdit, "Print", "Right", nullptr, "Margin"},
      {"PrintMarginBottomEdit", "PrintMarginBottom", ipefEdit, "Print", "Bottom", nullptr, "Margin"},
      {"PrintDocumentNameEdit", "PrintDocumentName", ipefEdit, "Print", "Document Name", nullptr},
  };
  return rows;
}

bool PlotEditorUpDownBounds(const AnsiString& EditName, int16_t& Min, int16_t& Max, int32_t& Increment) {
  static const struct {
    const char* Name;
    int16_t Min, Max;
    int32_t Increment;
  } bounds[] = {
      {"ChannelMarkersTurnOffLimitEdit", 0, 20000, 100},
      {"ChannelLogBufferSizeEdit", 0, 32767, 1},
      {"DataCursorPointerPenWidthEdit", 1, 50, 1},
      {"XAxisLabelPrecisionEdit", 0, 1000, 1},
      {"XAxisLegendPrecisionEdit", 0, 1000, 1},
      {"XAxisMajorLengthEdit", 0, 1000, 1},
      {"XAxisMinorLengthEdit", 0, 1000, 1},
      {"YAxisMajorLengthEdit", 0, 1000, 1},
      {"YAxisMinorLengthEdit", 0, 1000, 1},
      {"XAxisCursorPrecisionEdit", 0, 20, 1},
      {"YAxisLabelPrecisionEdit", 0, 20, 1},
      {"YAxisCursorPrecisionEdit", 0, 20, 1},
      {"YAxisLegendPrecisionEdit", 0, 20, 1},
      {"XAxisInnerMarginEdit", -1000, 1000, 1},
      {"XAxisOuterMarginEdit", -1000, 1000, 1},
      {"YAxisInnerMarginEdit", -1000, 1000, 1},
      {"YAxisOuterMarginEdit", -1000, 1000, 1},
      {"LegendWrapColDesiredCountEdit", 1, 1000, 1},
      {"LegendWrapRowDesiredCountEdit", 1, 1000, 1},
      {"LegendWrapColAutoCountMaxEdit", 1, 1000, 1},
      {"LegendWrapRowAutoCountMaxEdit", 1, 1000, 1},
      {"OuterMarginLeftEdit", 0, 0, 1},
      {"OuterMarginTopEdit", 0, 0, 1},
      {"OuterMarginRightEdit", 0, 0, 1},
      {"OuterMarginBottomEdit", 0, 0, 1},
      {"HintsPauseEdit", 0, 0, 1},
      {"HintsHidePauseEdit", 0, 0, 1},
      {"ControlLogBufferSizeEdit", 0, 0, 1},
      {"ChannelLayerEdit", 0, 0, 1},
      {"LimitLayerEdit", 0, 0, 1},
      {"XAxisLayerEdit", 0, 0, 1},
      {"YAxisLayerEdit", 0, 0, 1},
      {"DataViewLayerEdit", 0, 0, 1},
  };
  for (const auto& b : bounds)
    if (EditName == b.Name) {
      Min = b.Min;
      Max = b.Max;
      Increment = b.Increment;
      return true;
    }
  Min = 0;
  Max = 100;
  Increment = 1;
  return false;
}
