#include "plot/iPlotLegend.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotComponent.h"
#include "widgets/iGPFunctions.h"

// Sections: published settings / scroll buttons / rows and layout / drawing and input.

// ============================================================================================
// published settings
// ============================================================================================

PL_ENUM_NAMES(TiPlotLegendChannelNameColorStyle, "iplcncsFont", "iplcncsChannelColor",
              "iplcncsXAxisFontColor", "iplcncsYAxisFontColor")

const TClassInfo& TiPlotLegend::ClassInfo() {
  using C = TiPlotLegend;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotLegend")
          .Prop("MarginLeft", &C::GetMarginLeft, &C::SetMarginLeft)
          .Prop("MarginRight", &C::GetMarginRight, &C::SetMarginRight)
          .Prop("MarginTop", &C::GetMarginTop, &C::SetMarginTop)
          .Prop("MarginBottom", &C::GetMarginBottom, &C::SetMarginBottom)
          .Prop("BackGroundColor", &C::GetBackGroundColor, &C::SetBackGroundColor)
          .Default(0x808080)
          .Type(ColorTypeInfo())
          .Prop("BackGroundTransparent", &C::GetBackGroundTransparent, &C::SetBackGroundTransparent)
          .Default(true)
          .Prop("SelectedItemBackGroundColor", &C::GetSelectedItemBackGroundColor,
                &C::SetSelectedItemBackGroundColor)
          .Default(0x00FFFF)
          .Type(ColorTypeInfo())
          .Object("SelectedItemFont", &C::GetSelectedItemFont, &C::SetSelectedItemFont)
          .Object("Font", &C::GetFont, &C::SetFont)
          .Prop("ColumnTitlesVisible", &C::GetColumnTitlesVisible, &C::SetColumnTitlesVisible)
          .Default(false)
          .Object("ColumnTitlesFont", &C::GetColumnTitlesFont, &C::SetColumnTitlesFont)
          .Prop("ShowColumnLine", &C::GetShowColumnLine, &C::SetShowColumnLine)
          .Default(true)
          .Prop("ShowColumnMarker", &C::GetShowColumnMarker, &C::SetShowColumnMarker)
          .Default(false)
          .Prop("ShowColumnXAxisTitle", &C::GetShowColumnXAxisTitle, &C::SetShowColumnXAxisTitle)
          .Default(false)
          .Prop("ShowColumnYAxisTitle", &C::GetShowColumnYAxisTitle, &C::SetShowColumnYAxisTitle)
          .Default(false)
          .Prop("ShowColumnXValue", &C::GetShowColumnXValue, &C::SetShowColumnXValue)
          .Default(false)
          .Prop("ShowColumnYValue", &C::GetShowColumnYValue, &C::SetShowColumnYValue)
          .Default(false)
          .Prop("ShowColumnYMax", &C::GetShowColumnYMax, &C::SetShowColumnYMax)
          .Default(false)
          .Prop("ShowColumnYMin", &C::GetShowColumnYMin, &C::SetShowColumnYMin)
          .Default(false)
          .Prop("ShowColumnYMean", &C::GetShowColumnYMean, &C::SetShowColumnYMean)
          .Default(false)
          .Prop("CaptionColumnTitle", &C::GetCaptionColumnTitle, &C::SetCaptionColumnTitle)
          .Prop("CaptionColumnXAxisTitle", &C::GetCaptionColumnXAxisTitle, &C::SetCaptionColumnXAxisTitle)
          .Prop("CaptionColumnYAxisTitle", &C::GetCaptionColumnYAxisTitle, &C::SetCaptionColumnYAxisTitle)
          .Prop("CaptionColumnXValue", &C::GetCaptionColumnXValue, &C::SetCaptionColumnXValue)
          .Prop("CaptionColumnYValue", &C::GetCaptionColumnYValue, &C::SetCaptionColumnYValue)
          .Prop("CaptionColumnYMax", &C::GetCaptionColumnYMax, &C::SetCaptionColumnYMax)
          .Prop("CaptionColumnYMin", &C::GetCaptionColumnYMin, &C::SetCaptionColumnYMin)
          .Prop("CaptionColumnYMean", &C::GetCaptionColumnYMean, &C::SetCaptionColumnYMean)
          .Prop("ColumnSpacing", &C::GetColumnSpacing, &C::SetColumnSpacing)
          .Prop("RowSpacing", &C::GetRowSpacing, &C::SetRowSpacing)
          .Prop("WrapRowSpacingMin", &C::GetWrapRowSpacingMin, &C::SetWrapRowSpacingMin)
          .Prop("WrapColSpacingMin", &C::GetWrapColSpacingMin, &C::SetWrapColSpacingMin)
          .Prop("WrapColDesiredCount", &C::GetWrapColDesiredCount, &C::SetWrapColDesiredCount)
          .Default(1)
          .Prop("WrapRowDesiredCount", &C::GetWrapRowDesiredCount, &C::SetWrapRowDesiredCount)
          .Default(5)
          .Prop("WrapColAutoCountEnabled", &C::GetWrapColAutoCountEnabled, &C::SetWrapColAutoCountEnabled)
          .Default(false)
          .Prop("WrapRowAutoCountEnabled", &C::GetWrapRowAutoCountEnabled, &C::SetWrapRowAutoCountEnabled)
          .Default(true)
          .Prop("WrapColAutoCountMax", &C::GetWrapColAutoCountMax, &C::SetWrapColAutoCountMax)
          .Default(100)
          .Prop("WrapRowAutoCountMax", &C::GetWrapRowAutoCountMax, &C::SetWrapRowAutoCountMax)
          .Default(100)
          .Prop("WrapColSpacingAuto", &C::GetWrapColSpacingAuto, &C::SetWrapColSpacingAuto)
          .Default(true)
          .Prop("WrapRowSpacingAuto", &C::GetWrapRowSpacingAuto, &C::SetWrapRowSpacingAuto)
          .Default(false)
          .Prop("ChannelNameMaxWidth", &C::GetChannelNameMaxWidth, &C::SetChannelNameMaxWidth)
          .Prop("ChannelNameColorStyle", &C::GetChannelNameColorStyle, &C::SetChannelNameColorStyle)
          .Default(iplcncsFont);
  return info;
}

TiPlotLegend::TiPlotLegend(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                           const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                           const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FSelectedItemFont = std::make_unique<TFont>();
  FSelectedItemFont->SetColor(clBlack);
  FSelectedItemFont->OnChange = TNotifyEvent(this, &TiPlotLegend::FontChanged);
  FFont = std::make_unique<TFont>();
  FFont->SetColor(clWhite);
  FFont->OnChange = TNotifyEvent(this, &TiPlotLegend::FontChanged);
  FColumnTitlesFont = std::make_unique<TFont>();
  FColumnTitlesFont->SetColor(0xFFFF00);
  FColumnTitlesFont->SetStyle(TFontStyles{fsBold});
  FColumnTitlesFont->OnChange = TNotifyEvent(this, &TiPlotLegend::FontChanged);
  SetHorizontal(false);
  // The buttons belong to the legend alone: the managers never hear of them.
  const auto makeButton = [&](bool up) {
    auto b = std::make_unique<TiPlotLegendButton>(AOwner, TNotifyEvent(), TNotifyEvent(), TNotifyEvent(), TNotifyEvent());
    b->SetPointsUp(up);
    b->SetAutoRepeat(true);
    b->SetVisible(false);
    b->OnClick = up ? TNotifyEvent(this, &TiPlotLegend::UpButtonClick)
                    : TNotifyEvent(this, &TiPlotLegend::DownButtonClick);
    b->OnRedraw = TNotifyEvent(this, &TiPlotLegend::ButtonRedraw);
    return b;
  };
  FUpButton = makeButton(true);
  FDownButton = makeButton(false);
}

TiPlotLegend::~TiPlotLegend() = default;

void TiPlotLegend::SetWrapColDesiredCount(int32_t Value) {
  SetIntField(Value < 1 ? 1 : Value, FWrapColDesiredCount, &TiPlotObject::DoChange);
}

void TiPlotLegend::SetWrapRowDesiredCount(int32_t Value) {
  SetIntField(Value < 1 ? 1 : Value, FWrapRowDesiredCount, &TiPlotObject::DoChange);
}

// ============================================================================================
// scroll buttons
// ============================================================================================

const TClassInfo& TiPlotLegendButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotLegendButton, TiPlotButton>("TiPlotLegendButton");
  return info;
}

TiPlotLegendButton::TiPlotLegendButton(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                       const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                       const TNotifyEvent& AOnChange)
    : TiPlotButton(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {}

void TiPlotLegendButton::Draw(TCanvas* Canvas, TColor) {
  DrawPlotScrollButton(Canvas, GetButtonRect(), FPointsUp, GetLeftPressed(), GetEnabled());
}

void TiPlotLegend::UpButtonClick(TObject*) {
  if (FFirstShown > 0) --FFirstShown;
}

void TiPlotLegend::DownButtonClick(TObject*) {
  if (FFirstShown < int32_t(FItems.size()) - 1) ++FFirstShown;
}

// ============================================================================================
// rows and layout
// ============================================================================================

namespace {

// The text of a channel's name cell: its title, else its name.
AnsiString PlotLegendNameText(TiPlotChannelCustom* Channel) {
  const AnsiString& title = Channel->GetTitleText();
  return Trim(title).empty() ? Channel->GetName() : title;
}

// The title of an axis as a legend cell: its title, else its name.
AnsiString PlotLegendAxisTitle(TiPlotAxis* Axis) {
  const AnsiString& title = Axis->GetTitle();
  return Trim(title).empty() ? Axis->GetName() : title;
}

// Width of Text in Font (the canvas keeps Font afterwards).
int32_t PlotLegendTextWidth(TCanvas* Canvas, TFont* Font, const AnsiString& Text) {
  Canvas->SetFont(Font);
  return Canvas->TextWidth(Text);
}

// N div D for counts that fit; a divisor that is not positive (a negative spacing typed into the
// settings) leaves room for one.
int32_t PlotLegendFitCount(int32_t N, int32_t D) {
  if (D <= 0) return 1;
  return std::max<int32_t>(1, N / D);
}

int32_t PlotLegendCeilDiv(int32_t N, int32_t D) { return D <= 0 ? 0 : (N + D - 1) / D; }

}  // namespace

bool TiPlotLegend::ColumnShown(TiPlotLegendColumn Column) const {
  switch (Column) {
    case iplcLine:
      return FShowColumnLine;
    case iplcMarker:
      return FShowColumnMarker;
    case iplcName:
      return true;
    case iplcXAxisTitle:
      return FShowColumnXAxisTitle;
    case iplcYAxisTitle:
      return FShowColumnYAxisTitle;
    case iplcXValue:
      return FShowXValueColumn;
    case iplcYValue:
      return FShowYValueColumn;
    case iplcYMax:
      return FShowColumnYMax;
    case iplcYMin:
      return FShowColumnYMin;
    case iplcYMean:
      return FShowColumnYMean;
    default:
      return false;
  }
}

AnsiString TiPlotLegend::CellText(TiPlotChannelCustom* Channel, TiPlotLegendColumn Column) {
  TiPlotAxis* xAxis = Channel->GetXAxis();
  TiPlotAxis* yAxis = Channel->GetYAxis();
  const bool empty = Channel->GetCount() == 0;
  switch (Column) {
    case iplcName:
      return PlotLegendNameText(Channel);
    case iplcXAxisTitle:
      return xAxis ? PlotLegendAxisTitle(xAxis) : Translate("None");
    case iplcYAxisTitle:
      return yAxis ? PlotLegendAxisTitle(yAxis) : Translate("None");
    case iplcXValue:
      if (FAllChannelsCursor) return Channel->GetCursorXText();
      if (empty) return Translate("Empty");
      if (!xAxis) return Translate("N/A");
      return xAxis->LegendText(Channel->GetPointX(Channel->GetCount() - 1));
    case iplcYValue:
      if (FAllChannelsCursor) return Channel->GetCursorYText();
      if (empty) return Translate("Empty");
      if (!yAxis) return Translate("N/A");
      return yAxis->LegendText(Channel->GetPointY(Channel->GetCount() - 1));
    case iplcYMax:
    case iplcYMin:
    case iplcYMean:
      if (empty) return Translate("Empty");
      if (!yAxis) return Translate("N/A");
      return yAxis->LegendText(Column == iplcYMax   ? Channel->GetYMaxValue()
                               : Column == iplcYMin ? Channel->GetYMinValue()
                                                    : Channel->GetYMean());
    default:
      return "";
  }
}

void TiPlotLegend::RebuildItems() {
  FItems.clear();
  TiPlotComponent* plot = Plot();
  if (plot) {
    for (TiPlotObject* o : plot->Master()->GetChannelManager()->List()) {
      auto* channel = static_cast<TiPlotChannelCustom*>(o);
      if (!channel->GetVisibleInLegend()) continue;
      TiPlotLegendItem item;
      item.Channel = channel;
      FItems.push_back(item);
    }
  }
  const int32_t n = int32_t(FItems.size());
  FFirstShown = std::clamp(FFirstShown, 0, std::max(0, n - 1));
}

void TiPlotLegend::CalcLayout(TCanvas* Canvas) {
  TFont saved;
  saved.Assign(Canvas->GetFont());
  FShowXValueColumn = FShowColumnXValue || FAllChannelsCursor;
  FShowYValueColumn = FShowColumnYValue || FAllChannelsCursor;

  // 1. Character metrics, margins and spacings.
  Canvas->SetFont(FFont.get());
  const int32_t cw = Canvas->TextWidth("0"), ch = Canvas->TextHeight("0");
  FCharWidth = cw;
  FTextHeight = ch;
  const int32_t mTop = int32_t(Round(ch * FMarginTop)), mBottom = int32_t(Round(ch * FMarginBottom));
  const int32_t mLeft = int32_t(Round(cw * FMarginLeft)), mRight = int32_t(Round(cw * FMarginRight));
  const TRect& L = GetLayoutRect();
  FInner = {L.Left + mLeft, L.Top + mTop, L.Right - mRight, L.Bottom - mBottom};
  FColumnGap = int32_t(Round(cw * FColumnSpacing));
  FRowGap = int32_t(Round(ch * FRowSpacing));
  FWrapGap = int32_t(Round(ch * FWrapColSpacingMin));
  std::fill(std::begin(FColumnWidth), std::end(FColumnWidth), 0);
  FRowHeight = FTitleHeight = FTitleGap = 0;

  // 2. The rows.
  RebuildItems();
  const int32_t n = int32_t(FItems.size());

  // 3. Name column and row heights.
  if (FChannelNameMaxWidth != 0) {
    FColumnWidth[iplcName] = int32_t(Round(cw * FChannelNameMaxWidth));
    for (TiPlotLegendItem& item : FItems) {
      const AnsiString text = PlotLegendNameText(item.Channel);
      Canvas->SetFont(FFont.get());
      const int32_t h1 = WrappedTextHeight(Canvas, text, FColumnWidth[iplcName]);
      Canvas->SetFont(FSelectedItemFont.get());
      const int32_t h2 = WrappedTextHeight(Canvas, text, FColumnWidth[iplcName]);
      item.Height = std::max(h1, h2);
    }
  } else {
    for (TiPlotLegendItem& item : FItems) {
      item.Height = ch;
      const AnsiString text = PlotLegendNameText(item.Channel);
      FColumnWidth[iplcName] = std::max({FColumnWidth[iplcName], PlotLegendTextWidth(Canvas, FFont.get(), text),
                                         PlotLegendTextWidth(Canvas, FSelectedItemFont.get(), text)});
    }
  }
  for (const TiPlotLegendItem& item : FItems) FRowHeight = std::max(FRowHeight, item.Height);

  // 4. The caption row.
  if (FColumnTitlesVisible) {
    Canvas->SetFont(FColumnTitlesFont.get());
    FTitleHeight = Canvas->TextHeight("0");
    FTitleGap = FTitleHeight / 4;
    const std::pair<TiPlotLegendColumn, const AnsiString*> captions[] = {
        {iplcName, &FCaptionColumnTitle},       {iplcXAxisTitle, &FCaptionColumnXAxisTitle},
        {iplcYAxisTitle, &FCaptionColumnYAxisTitle}, {iplcXValue, &FCaptionColumnXValue},
        {iplcYValue, &FCaptionColumnYValue},   {iplcYMax, &FCaptionColumnYMax},
        {iplcYMin, &FCaptionColumnYMin},       {iplcYMean, &FCaptionColumnYMean}};
    for (const auto& [column, caption] : captions)
      if (ColumnShown(column))
        FColumnWidth[column] = std::max(FColumnWidth[column], Canvas->TextWidth(Translate(*caption)));
  }

  // 5. Sample columns.
  if (FShowColumnLine) FColumnWidth[iplcLine] = std::max(FColumnWidth[iplcLine], 16);
  if (FShowColumnMarker) FColumnWidth[iplcMarker] = std::max(FColumnWidth[iplcMarker], 16);

  // 6. Every row's texts.
  const auto grow = [&](TiPlotLegendColumn column, int32_t width) {
    FColumnWidth[column] = std::max(FColumnWidth[column], width);
  };
  for (const TiPlotLegendItem& item : FItems) {
    TiPlotChannelCustom* c = item.Channel;
    TiPlotAxis* axes[2] = {c->GetXAxis(), c->GetYAxis()};
    const TiPlotLegendColumn titles[2] = {iplcXAxisTitle, iplcYAxisTitle};
    const TiPlotLegendColumn values[2] = {iplcXValue, iplcYValue};
    for (int k = 0; k < 2; ++k) {
      if (ColumnShown(titles[k])) grow(titles[k], PlotLegendTextWidth(Canvas, FFont.get(), CellText(c, titles[k])));
      TiPlotAxis* axis = axes[k];
      if (FAllChannelsCursor) {
        if (axis) grow(values[k], axis->CursorTextWidth(Canvas, FFont.get()));
        const AnsiString& text = k == 0 ? c->GetCursorXText() : c->GetCursorYText();
        grow(values[k], int32_t(text.size()) * cw);
      } else {
        if (axis) grow(values[k], axis->LegendTextWidth(Canvas, FFont.get()));
        if (ColumnShown(values[k])) grow(values[k], PlotLegendTextWidth(Canvas, FFont.get(), CellText(c, values[k])));
      }
    }
    for (TiPlotLegendColumn column : {iplcYMax, iplcYMin, iplcYMean})
      if (ColumnShown(column)) grow(column, PlotLegendTextWidth(Canvas, FFont.get(), CellText(c, column)));
  }

  // 7. Column offsets from the row's left edge.
  int32_t at = 0;
  for (int k = 0; k < iplcCount; ++k) {
    const auto column = TiPlotLegendColumn(k);
    FColumnOffset[k] = at;
    if (ColumnShown(column)) at += FColumnWidth[k] + FColumnGap;
  }
  FItemWidth = at - FColumnGap;

  // 8. Areas.
  FCaptionArea = {FInner.Left, FInner.Top, FInner.Right, FInner.Top + FTitleHeight};
  FItemArea = {FInner.Left, FInner.Top + FTitleHeight + FTitleGap, FInner.Right, FInner.Bottom};

  // 9. What fits.
  const bool horizontal = GetHorizontal();
  const int32_t areaW = (FItemArea.Right - FItemArea.Left) - (horizontal ? 25 : 0);
  const int32_t a = PlotLegendFitCount(FItemArea.Bottom - FItemArea.Top + FRowGap, FRowHeight + FRowGap);
  const int32_t c = PlotLegendFitCount(areaW + FWrapGap, FWrapGap + FItemWidth);

  // 10. Row columns D and rows F.
  int32_t d = FWrapColAutoCountEnabled ? FWrapColAutoCountMax : FWrapColDesiredCount;
  const int32_t e = FWrapRowAutoCountEnabled ? FWrapRowAutoCountMax : FWrapRowDesiredCount;
  int32_t f;
  if (horizontal) {
    d = std::min(d, c);
    f = FWrapRowAutoCountEnabled ? PlotLegendCeilDiv(n, d) : e;
    f = std::min(f, e);
    if (f < 3 && f * d < n) f = 3;
    // Without rows there is nothing to spread over the row columns.
    if (FWrapColAutoCountEnabled && f > 0) d = std::min(d, PlotLegendCeilDiv(n, f));
  } else {
    if (FWrapColAutoCountEnabled) d = PlotLegendCeilDiv(n, a);
    d = std::min(d, FWrapColAutoCountMax);
    f = std::min({a, n, e});
    if (f < 3 && f * d < n) f = 3;
  }
  FRowColumnCount = d;
  FRowCount = f;

  // 11. Placement.
  PlaceItems();

  // 12. Required size.
  FRequiredWidth = d * FItemWidth + (d - 1) * FWrapGap + mLeft + mRight;
  FRequiredHeight = mTop + FTitleHeight + FTitleGap + (FRowHeight + FRowGap) * f + mBottom - FRowGap;

  // 13. Scroll buttons.
  const bool scroll = int64_t(f) * d < n;
  FUpButton->SetVisible(scroll);
  FDownButton->SetVisible(scroll);
  if (scroll) {
    FUpButton->SetButtonRect({FItemArea.Right - 17, FItemArea.Top, FItemArea.Right, FItemArea.Top + 17});
    FDownButton->SetButtonRect({FItemArea.Right - 17, FItemArea.Bottom - 17, FItemArea.Right, FItemArea.Bottom});
    FRequiredWidth += 25;
  } else if (FFirstShown != 0) {
    // Everything fits again: show it from the first row.
    FFirstShown = 0;
    PlaceItems();
  }

  // 14. Spreading the row columns or the rows.
  if (FWrapColSpacingAuto && horizontal && d > 1) {
    const int32_t gap = int32_t(Trunc(double(areaW - d * FItemWidth) / (d - 1)));
    for (size_t k = 0; k < FRowColumnXs.size(); ++k) FRowColumnXs[k] = FInner.Left + (FItemWidth + gap) * int32_t(k);
    for (TiPlotLegendItem& item : FItems)
      if (item.RowColumn > 0) item.X = FRowColumnXs[size_t(item.RowColumn - 1)];
  }
  if (FWrapRowSpacingAuto && !horizontal) {
    int32_t k = 0;
    for (const TiPlotLegendItem& item : FItems)
      if (item.RowColumn == 1) ++k;
    if (k > 1) {
      const int32_t r = int32_t(Trunc(double(FItemArea.Bottom - FItemArea.Top - FRowHeight * k) / (k - 1)));
      for (TiPlotLegendItem& item : FItems) {
        if (item.Row <= 0) continue;
        item.Y = FInner.Top + (item.Row - 1) * (FRowHeight + r);
        if (FColumnTitlesVisible) item.Y += FTitleHeight + FTitleGap;
      }
    }
  }

  // 15. Enable states.
  FUpButton->SetEnabled(FFirstShown != 0);
  FDownButton->SetEnabled(FLastShown != n - 1);
  Canvas->SetFont(&saved);
}

void TiPlotLegend::PlaceItems() {
  const int32_t n = int32_t(FItems.size());
  for (TiPlotLegendItem& item : FItems) item.X = item.Y = item.RowColumn = item.Row = 0;
  FRowColumnXs.clear();
  FLastShown = n - 1;
  if (n == 0) return;
  int32_t column = 1, row = 1, y = FItemArea.Top;
  FRowColumnXs.push_back(FInner.Left);
  for (int32_t i = FFirstShown; i < n; ++i) {
    TiPlotLegendItem& item = FItems[size_t(i)];
    item.X = FRowColumnXs.back();
    item.Y = y;
    item.Row = row;
    item.RowColumn = column;
    y += FRowHeight + FRowGap;
    ++row;
    if (row > FRowCount && i != n - 1) {
      ++column;
      row = 1;
      y = FItemArea.Top;
      if (column > FRowColumnCount) {
        FLastShown = i;
        break;
      }
      FRowColumnXs.push_back(FInner.Left + (FItemWidth + FWrapGap) * (column - 1));
    }
  }
}

int32_t TiPlotLegend::RequiredThickness(TCanvas* Canvas) {
  CalcLayout(Canvas);
  return GetHorizontal() ? FRequiredHeight : FRequiredWidth;
}

// ============================================================================================
// drawing and input
// ============================================================================================

void TiPlotLegend::DrawLineSample(TCanvas* Canvas, TiPlotChannelCustom* Channel, int32_t X, int32_t Y) {
  static const std::vector<std::pair<int32_t, int32_t>> kDashes[] = {
      {{0, 13}},                          // solid
      {{0, 5}, {8, 13}},                  // dash
      {{0, 2}, {4, 6}, {8, 10}},          // dot
      {{0, 5}, {7, 9}},                   // dash-dot
      {{0, 5}, {7, 9}, {11, 13}}};        // dash-dot-dot
  const size_t style = Channel->GetTraceLineStyle();
  if (style >= std::size(kDashes)) return;
  TPen* pen = Canvas->GetPen();
  pen->SetColor(Channel->GetColor());
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  const int32_t y = Y + FTextHeight / 2;
  for (int32_t dy = -1; dy <= 1; ++dy)
    for (const auto& [from, to] : kDashes[style]) {
      Canvas->MoveTo(X + from, y + dy);
      Canvas->LineTo(X + to, y + dy);
    }
}

void TiPlotLegend::DrawCaptions(TCanvas* Canvas) {
  Canvas->SetFont(FColumnTitlesFont.get());
  Canvas->GetBrush()->SetStyle(bsClear);
  const int32_t single = itfSingleLine | itfVCenter | itfNoClip;
  const std::tuple<TiPlotLegendColumn, const AnsiString*, int32_t> captions[] = {
      {iplcName, &FCaptionColumnTitle, itfLeft},         {iplcXAxisTitle, &FCaptionColumnXAxisTitle, itfCenter},
      {iplcYAxisTitle, &FCaptionColumnYAxisTitle, itfCenter}, {iplcXValue, &FCaptionColumnXValue, itfRight},
      {iplcYValue, &FCaptionColumnYValue, itfRight},     {iplcYMax, &FCaptionColumnYMax, itfRight},
      {iplcYMin, &FCaptionColumnYMin, itfRight},         {iplcYMean, &FCaptionColumnYMean, itfRight}};
  for (int32_t x : FRowColumnXs)
    for (const auto& [column, caption, align] : captions) {
      if (!ColumnShown(column)) continue;
      TRect cell{x + FColumnOffset[column], FCaptionArea.Top, x + FColumnOffset[column] + FColumnWidth[column],
                 FCaptionArea.Top + FTitleHeight};
      DrawTextFlags(Canvas, Translate(*caption), cell, single | align);
    }
}

void TiPlotLegend::DrawItem(TCanvas* Canvas, const TiPlotLegendItem& Item) {
  TiPlotChannelCustom* c = Item.Channel;
  const int32_t x = Item.X, y = Item.Y;
  TRect name{x + FColumnOffset[iplcName], y, x + FColumnOffset[iplcName] + FColumnWidth[iplcName] + 1,
             y + Item.Height};
  c->SetLegendRect(name);
  if (FShowColumnLine) DrawLineSample(Canvas, c, x + FColumnOffset[iplcLine], y);
  if (FShowColumnMarker)
    c->DrawMarker(Canvas, -1,
                  TPoint{x + FColumnOffset[iplcMarker] + FColumnWidth[iplcMarker] / 2, y + FTextHeight / 2});

  // The name.
  if (c->GetSelected()) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(FSelectedItemBackGroundColor);
    Canvas->FillRect(name);
    Canvas->SetFont(FSelectedItemFont.get());
  } else {
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->SetFont(FFont.get());
  }
  TiPlotAxis* axis = nullptr;
  switch (FChannelNameColorStyle) {
    case iplcncsChannelColor:
      Canvas->GetFont()->SetColor(c->GetColor());
      break;
    case iplcncsXAxisFontColor:
      axis = c->GetXAxis();
      break;
    case iplcncsYAxisFontColor:
      axis = c->GetYAxis();
      break;
    default:
      break;
  }
  if (axis) Canvas->GetFont()->SetColor(axis->GetLabelsFont()->GetColor());
  Canvas->GetBrush()->SetStyle(bsClear);
  DrawTextFlags(Canvas, CellText(c, iplcName), name, itfLeft | itfTop | itfWordBreak | itfWordEllipsis);

  // The other columns.
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->SetFont(FFont.get());
  for (int k = iplcXAxisTitle; k < iplcCount; ++k) {
    const auto column = TiPlotLegendColumn(k);
    if (!ColumnShown(column)) continue;
    TRect cell{x + FColumnOffset[k], y, x + FColumnOffset[k] + FColumnWidth[k], y + FTextHeight};
    const int32_t align = column <= iplcYAxisTitle ? itfLeft : itfRight;
    DrawTextFlags(Canvas, CellText(c, column), cell, align | itfVCenter | itfSingleLine);
  }
}

void TiPlotLegend::Draw(TCanvas* Canvas, TColor) {
  if (!GetVisible()) return;
  TiPlotComponent* plot = Plot();
  if (plot)
    for (TiPlotObject* o : plot->Master()->GetChannelManager()->List())
      static_cast<TiPlotChannelCustom*>(o)->SetLegendRect(TRect{0, 0, 0, 0});
  CalcLayout(Canvas);
  if (FItems.empty()) return;
  TFont saved;
  saved.Assign(Canvas->GetFont());
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetPen()->SetStyle(psSolid);
  if (!FBackGroundTransparent) {
    Canvas->GetBrush()->SetColor(FBackGroundColor);
    Canvas->FillRect(GetLayoutRect());
  }
  if (FColumnTitlesVisible) DrawCaptions(Canvas);
  for (int32_t i = FFirstShown; i <= FLastShown && i < int32_t(FItems.size()); ++i) DrawItem(Canvas, FItems[size_t(i)]);
  if (FUpButton->GetVisible()) FUpButton->Draw(Canvas, clBtnFace);
  if (FDownButton->GetVisible()) FDownButton->Draw(Canvas, clBtnFace);
  if (GetSelected()) {
    const TRect& L = GetLayoutRect();
    DrawPlotFocusFrame(Canvas, GetHorizontal() ? TRect{L.Left, L.Top + 2, L.Right, L.Bottom - 2}
                                               : TRect{L.Left + 2, L.Top, L.Right - 2, L.Bottom});
  }
  Canvas->SetFont(&saved);
}

TiPlotObject* TiPlotLegend::SubObjectAt(int32_t X, int32_t Y) {
  const auto inside = [&](const TRect& r) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; };
  for (TiPlotLegendButton* b : {FUpButton.get(), FDownButton.get()})
    if (b->GetVisible() && inside(b->GetButtonRect())) {
      SetCurrentSubObject(b);
      return b;
    }
  for (const TiPlotLegendItem& item : FItems)
    if (item.Channel->GetVisibleInLegend() && inside(item.Channel->GetLegendRect())) {
      SetCurrentSubObject(item.Channel);
      return item.Channel;
    }
  return TiPlotLayoutObject::SubObjectAt(X, Y);
}

void TiPlotLegend::LeftUp(const TiMouseRecord& MouseRecord) {
  if (GetLeftPressed() && HitTest(MouseRecord) && GetOwnerHost()) GetOwnerHost()->DoObjectClick(this);
}

void TiPlotLegend::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj != this && GetSelected()) SetSelected(false);
}

void TiPlotLegend::BuildPopupMenu(TPopupMenu* PopupMenu) {
  TiPlotLayoutObject::BuildPopupMenu(PopupMenu);
  AddEditMenuItem(PopupMenu);
}
