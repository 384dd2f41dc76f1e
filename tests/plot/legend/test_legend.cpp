// The legend: what its cells say, how rows wrap into row columns and scroll, what it draws, and how
// a press on it acts.  Plots here are whole plots; texts use the fixed-pitch test face so that
// sizes follow from the canvas's own metrics.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/runtime/MathUtils.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotLegend.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"
#include "widgets/iVCLComponent.h"

namespace {

using plot_test::TPlotTestCanvas;
using plot_test::UseFixedFont;

// A plot with N channels named "Channel 1" .. and a legend in the fixed face.
struct LegendFixture {
  explicit LegendFixture(int32_t N = 1) : plot(nullptr) {
    plot.SetBounds(0, 0, 500, 300);
    while (plot.ChannelCount() < N) plot.AddChannel();
    legend = plot.GetLegend(0);
    UseFixedFont(legend->GetFont());
    UseFixedFont(legend->GetSelectedItemFont());
    UseFixedFont(legend->GetColumnTitlesFont());
  }
  TiPlotChannel* Channel(int32_t i) { return plot.GetChannel(i); }
  TiPlot plot;
  TiPlotLegend* legend;
  TPlotTestCanvas canvas{500, 300};
};

TEST(PlotLegend, CellTextsFallBackAndSayWhatIsMissing) {
  LegendFixture f(3);
  f.plot.GetXAxis(0)->SetTitle("Time");
  f.plot.GetYAxis(0)->SetTitle("  ");
  TiPlotChannel* named = f.Channel(0);  // titled, with points
  named->SetTitleText("Volts");
  named->AddPointXY(1, 4);
  named->AddPointXY(2, 8);
  TiPlotChannel* untitled = f.Channel(1);  // blank title, no points
  untitled->SetTitleText(" ");
  TiPlotChannel* orphan = f.Channel(2);  // points but no Y axis
  orphan->AddPointXY(3, 5);
  orphan->SetYAxisName("nowhere");
  TiPlotAxis* x = f.plot.GetXAxis(0);
  TiPlotAxis* y = f.plot.GetYAxis(0);

  struct Case {
    TiPlotChannel* channel;
    TiPlotLegendColumn column;
    AnsiString text;
  } cases[] = {
      {named, iplcName, "Volts"},
      {named, iplcXAxisTitle, "Time"},
      {named, iplcYAxisTitle, y->GetName()},
      {named, iplcXValue, x->LegendText(2)},
      {named, iplcYValue, y->LegendText(8)},
      {named, iplcYMax, y->LegendText(8)},
      {named, iplcYMin, y->LegendText(4)},
      {named, iplcYMean, y->LegendText(6)},
      {untitled, iplcName, untitled->GetName()},
      {untitled, iplcXValue, "Empty"},
      {untitled, iplcYValue, "Empty"},
      {untitled, iplcYMean, "Empty"},
      {orphan, iplcYAxisTitle, "None"},
      {orphan, iplcYValue, "N/A"},
      {orphan, iplcYMax, "N/A"},
      {orphan, iplcXValue, x->LegendText(3)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(f.legend->CellText(c.channel, c.column), c.text)
        << c.channel->GetName() << " column " << int(c.column);

  // The fixed words go through the plot's translation table.
  f.plot.GetTranslationManager()->NewPair("Empty", "Leer");
  EXPECT_EQ(f.legend->CellText(untitled, iplcYValue), "Leer");
}

TEST(PlotLegend, SettingsShareTheRowSpacingAndKeepCountsAboveZero) {
  LegendFixture f;
  f.legend->SetRowSpacing(0.75);
  EXPECT_EQ(f.legend->GetWrapRowSpacingMin(), 0.75);
  f.legend->SetWrapRowSpacingMin(1.5);
  EXPECT_EQ(f.legend->GetRowSpacing(), 1.5);
  for (int32_t v : {0, -3}) {
    f.legend->SetWrapColDesiredCount(v);
    f.legend->SetWrapRowDesiredCount(v);
    EXPECT_EQ(f.legend->GetWrapColDesiredCount(), 1);
    EXPECT_EQ(f.legend->GetWrapRowDesiredCount(), 1);
  }
}

// A vertical legend whose item area holds exactly two rows.
void LegendTwoRowsHigh(LegendFixture& f) {
  const int32_t ch = f.canvas.LineHeight(f.legend->GetFont());
  const int32_t r = int32_t(Round(ch * f.legend->GetRowSpacing()));
  const int32_t margins = int32_t(Round(ch * 1.0)) * 2;
  f.legend->SetLayoutRect(TRect{300, 10, 480, 10 + margins + 2 * ch + r});
}

TEST(PlotLegend, SixRowsInRoomForTwoAreRaisedToThreeAndScrollOneByOne) {
  LegendFixture f(6);
  LegendTwoRowsHigh(f);
  TiPlotLegend* l = f.legend;
  l->CalcLayout(f.canvas.Canvas());
  EXPECT_EQ(l->GetRowCount(), 3) << "fewer than three rows are raised to three";
  EXPECT_EQ(l->GetRowColumnCount(), 1);
  EXPECT_EQ(l->GetLastShown(), 2);
  const auto& items = l->Items();
  EXPECT_EQ(items[2].Row, 3);
  EXPECT_EQ(items[2].Y - items[1].Y, items[1].Y - items[0].Y);
  EXPECT_GT(items[2].Y + l->GetRowHeight(), l->GetLayoutRect().Bottom) << "more rows placed than fit";

  TiPlotLegendButton* up = l->UpButton();
  TiPlotLegendButton* down = l->DownButton();
  ASSERT_TRUE(up->GetVisible());
  ASSERT_TRUE(down->GetVisible());
  EXPECT_FALSE(up->GetEnabled());
  EXPECT_TRUE(down->GetEnabled());
  EXPECT_EQ(up->GetButtonRect().Right, l->GetLayoutRect().Right - int32_t(Round(f.canvas.CharWidth(l->GetFont()))));

  // Three presses on the down button bring the last row in.
  const TRect b = down->GetButtonRect();
  for (int i = 0; i < 3; ++i) {
    down->MouseDown(mbLeft, TShiftState(), b.Left + 2, b.Top + 2, 0, 0, nullptr);
    down->MouseUp(mbLeft, TShiftState(), b.Left + 2, b.Top + 2);
    l->CalcLayout(f.canvas.Canvas());
  }
  EXPECT_EQ(l->GetFirstShown(), 3);
  EXPECT_EQ(l->GetLastShown(), 5);
  EXPECT_TRUE(up->GetEnabled());
  EXPECT_FALSE(down->GetEnabled());
  EXPECT_EQ(items[3].Row, 1);

  // Once all rows fit the buttons go and the legend shows the first row again.
  for (int i = 3; i < 6; ++i) f.Channel(i)->SetVisibleInLegend(false);
  l->CalcLayout(f.canvas.Canvas());
  EXPECT_FALSE(up->GetVisible());
  EXPECT_EQ(l->GetFirstShown(), 0);
  EXPECT_EQ(l->Items()[0].Row, 1);
}

TEST(PlotLegend, AHorizontalLegendSpreadsItsRowColumnsOverTheWidth) {
  LegendFixture f(6);
  TiPlotLegend* l = f.legend;
  l->SetHorizontal(true);
  l->SetWrapColDesiredCount(3);
  l->SetLayoutRect(TRect{10, 150, 490, 250});
  l->CalcLayout(f.canvas.Canvas());
  EXPECT_EQ(l->GetRowColumnCount(), 3);
  EXPECT_EQ(l->GetRowCount(), 2) << "six rows over three row columns";
  EXPECT_FALSE(l->UpButton()->GetVisible());
  const auto& items = l->Items();
  EXPECT_EQ(items[2].RowColumn, 2);
  EXPECT_EQ(items[2].Row, 1);
  EXPECT_EQ(items[5].RowColumn, 3);
  // Evenly spread; the last row column ends just short of the room kept for the buttons.
  EXPECT_EQ(items[4].X - items[2].X, items[2].X - items[0].X);
  const int32_t innerRight = 490 - int32_t(Round(f.canvas.CharWidth(l->GetFont()) * 1.0));
  EXPECT_NEAR(items[5].X + l->GetItemWidth(), innerRight - 25, 2);
  EXPECT_EQ(l->RequiredThickness(f.canvas.Canvas()), l->GetRequiredHeight());
}

TEST(PlotLegend, WithoutRowsTheThicknessIsMarginsAndCaptions) {
  LegendFixture f;
  f.plot.GetChannel(0)->SetVisibleInLegend(false);
  TiPlotLegend* l = f.legend;
  l->SetColumnTitlesVisible(true);
  l->SetLayoutRect(TRect{0, 0, 300, 100});
  const int32_t ch = f.canvas.LineHeight(l->GetFont());
  const int32_t th = f.canvas.LineHeight(l->GetColumnTitlesFont());
  const int32_t r = int32_t(Round(ch * 0.25));
  // Horizontal with both automatic counts once crashed on zero rows.
  l->SetHorizontal(true);
  l->SetWrapColAutoCountEnabled(true);
  l->SetWrapRowAutoCountEnabled(true);
  EXPECT_EQ(l->RequiredThickness(f.canvas.Canvas()), 2 * ch + th + th / 4 - r);
  l->SetHorizontal(false);
  l->SetWrapColAutoCountEnabled(false);
  EXPECT_NO_THROW(l->RequiredThickness(f.canvas.Canvas()));
  // A negative spacing that would leave no room per row is no division by zero.
  l->SetRowSpacing(-8);
  EXPECT_NO_THROW(l->RequiredThickness(f.canvas.Canvas()));
  // Nothing is drawn.
  TPlotTestCanvas blank(300, 100);
  l->SetBackGroundTransparent(false);
  l->Draw(blank.Canvas(), clBlack);
  EXPECT_EQ(blank.Canvas()->GetPixel(10, 10), TColor(0));
}

TEST(PlotLegend, LineSamplesDashByTraceStyle) {
  struct Case {
    TiPlotLineStyle style;
    const char* pixels;  // from the sample's left edge
  } cases[] = {
      {iplsSolid, "#############..."},
      {iplsDash, "#####...#####..."},
      {iplsDot, "##..##..##......"},
      {iplsDashDot, "#####..##......."},
      {iplsDashDotDot, "#####..##..##..."},
  };
  for (const Case& c : cases) {
    LegendFixture f;
    TiPlotChannel* ch = f.Channel(0);
    ch->SetColor(TColor(0x00FF00));
    ch->SetTraceLineStyle(c.style);
    f.legend->SetLayoutRect(TRect{20, 20, 300, 120});
    f.legend->Draw(f.canvas.Canvas(), clBlack);
    const TiPlotLegendItem& item = f.legend->Items()[0];
    const int32_t y = item.Y + f.canvas.LineHeight(f.legend->GetFont()) / 2;
    for (int32_t dy : {-1, 0, 1}) {
      std::string row;
      for (int32_t x = 0; x < 16; ++x)
        row += f.canvas.Canvas()->GetPixel(item.X + x, y + dy) == TColor(0x00FF00) ? '#' : '.';
      EXPECT_EQ(row, c.pixels) << "style " << int(c.style) << " row " << dy;
    }
    EXPECT_NE(f.canvas.Canvas()->GetPixel(item.X, y - 2), TColor(0x00FF00));
  }
}

TEST(PlotLegend, ASelectedLegendShowsItsFocusFrameOnADarkBackground) {
  for (const bool scrolling : {false, true}) {
    SCOPED_TRACE(scrolling);
    LegendFixture f(scrolling ? 6 : 1);
    if (scrolling)
      LegendTwoRowsHigh(f);
    else
      f.legend->SetLayoutRect(TRect{300, 10, 480, 200});
    f.legend->SetBackGroundTransparent(false);
    f.legend->SetBackGroundColor(clBlack);
    f.legend->SetSelected(true);
    f.canvas.Canvas()->GetBrush()->SetColor(clBlack);
    f.canvas.Canvas()->FillRect(TRect{0, 0, 500, 300});
    f.legend->Draw(f.canvas.Canvas(), clBlack);
    const TRect& L = f.legend->GetLayoutRect();
    int32_t dots = 0;  // the frame's left edge, 2 pixels in
    for (int32_t y = L.Top; y < L.Bottom; ++y) dots += f.canvas.Canvas()->GetPixel(L.Left + 2, y) != clBlack;
    EXPECT_GT(dots, (L.Bottom - L.Top) / 3);
  }
}

TEST(PlotLegend, PressesActOnRowsButtonsAndTheLegend) {
  LegendFixture f(6);
  LegendTwoRowsHigh(f);
  TiPlotLegend* l = f.legend;
  l->Draw(f.canvas.Canvas(), clBlack);
  const TRect row1 = f.Channel(1)->GetLegendRect();
  ASSERT_LT(row1.Left, row1.Right);
  EXPECT_EQ(l->SubObjectAt(row1.Left + 1, row1.Top + 1), f.Channel(1));
  EXPECT_TRUE(f.Channel(4)->GetLegendRect().Right <= f.Channel(4)->GetLegendRect().Left) << "not shown";
  const TRect up = l->UpButton()->GetButtonRect();
  EXPECT_EQ(l->SubObjectAt(up.Left, up.Top), l->UpButton());
  const TRect& L = l->GetLayoutRect();
  EXPECT_EQ(l->SubObjectAt(L.Left, L.Bottom - 1), l);

  // A press and release inside fires the legend's click; one released outside does not.
  std::vector<int32_t> clicks;
  f.plot.OnClickLegend = TiPlotObjectEvent::Lambda([&](int32_t i) { clicks.push_back(i); });
  l->MouseDown(mbLeft, TShiftState(), L.Left + 1, L.Top + 1, 0, 0, nullptr);
  l->MouseUp(mbLeft, TShiftState(), L.Left + 1, L.Top + 1);
  l->MouseDown(mbLeft, TShiftState(), L.Left + 1, L.Top + 1, 0, 0, nullptr);
  l->MouseUp(mbLeft, TShiftState(), L.Right + 5, L.Top + 1);
  EXPECT_EQ(clicks, std::vector<int32_t>{0});

  // The triangles: grey on the disabled up button, black on the down button.
  const auto centre = [&](TiPlotLegendButton* b) {
    const TRect r = b->GetButtonRect();
    return f.canvas.Canvas()->GetPixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  EXPECT_EQ(centre(l->UpButton()), TColor(0x808080));
  EXPECT_EQ(centre(l->DownButton()), TColor(0));

  // Another object's selection takes the legend's away.
  l->SetSelected(true);
  l->NotifyObjectSelected(l);
  EXPECT_TRUE(l->GetSelected());
  l->NotifyObjectSelected(f.Channel(0));
  EXPECT_FALSE(l->GetSelected());

  // Its menu is the base's plus "Edit...".
  TPopupMenu menu(nullptr);
  l->BuildPopupMenu(&menu);
  ASSERT_EQ(menu.Items()->Count(), 1);
  EXPECT_EQ(menu.Items()->Items(0)->GetCaption(), "Edit...");
}

TEST(PlotLegend, CursorOnAllChannelsShowsItsReadings) {
  LegendFixture f(2);
  for (int i = 0; i < 10; ++i) f.Channel(0)->AddPointXY(i, i * i);
  TiPlotDataCursor* cursor = f.plot.GetDataCursor(0);
  cursor->SetVisible(true);
  cursor->SetChannelName("<All>");
  cursor->SetChannelShowAllInLegend(true);
  f.plot.PaintToCanvas(f.canvas.Canvas());
  ASSERT_TRUE(f.legend->GetAllChannelsCursor());
  EXPECT_EQ(f.legend->CellText(f.Channel(0), iplcXValue), f.Channel(0)->GetCursorXText());
  EXPECT_EQ(f.legend->CellText(f.Channel(1), iplcYValue), f.Channel(1)->GetCursorYText());
  EXPECT_GT(f.legend->GetColumnWidth(iplcXValue), 0) << "the value columns show in cursor mode";
  EXPECT_GT(f.legend->GetColumnOffset(iplcYValue), f.legend->GetColumnOffset(iplcXValue));
}

TEST(PlotLegend, DrawsInAPlotWithTheSelectedRowMarked) {
  LegendFixture f(4);
  const TColor colors[] = {TColor(0x0000FF), TColor(0x00C000), TColor(0xFF8000), TColor(0xC000C0)};
  for (int i = 0; i < 4; ++i) {
    TiPlotChannel* c = f.Channel(i);
    c->SetColor(colors[i]);
    c->SetTraceLineStyle(TiPlotLineStyle(i));
    c->SetMarkersStyle(ipmsDiamond);
    c->SetMarkersVisible(true);
    for (int k = 0; k <= 20; ++k) c->AddPointXY(k, 10 * i + (k % 5));
  }
  f.Channel(0)->SetTitleText("Voltage");
  f.Channel(2)->SetTitleText("A rather long title that wraps");
  TiPlotLegend* l = f.legend;
  l->SetColumnTitlesVisible(true);
  l->SetShowColumnMarker(true);
  l->SetShowColumnYValue(true);
  l->SetShowColumnYMax(true);
  l->SetChannelNameMaxWidth(12);
  l->SetChannelNameColorStyle(iplcncsChannelColor);
  f.Channel(1)->SetSelected(true);
  f.plot.PaintToCanvas(f.canvas.Canvas());

  const TRect L = l->GetLayoutRect();
  for (int i = 0; i < 4; ++i) {
    const TRect r = f.Channel(i)->GetLegendRect();
    EXPECT_TRUE(r.Left >= L.Left && r.Right <= L.Right && r.Top >= L.Top && r.Bottom <= L.Bottom) << i;
  }
  EXPECT_GT(l->Items()[2].Height, l->Items()[0].Height) << "the long title wraps into more lines";
  const TRect sel = f.Channel(1)->GetLegendRect();
  EXPECT_EQ(f.canvas.Canvas()->GetPixel(sel.Right - 2, sel.Bottom - 1), l->GetSelectedItemBackGroundColor());

  const std::string file = OutputPath("plot_legend.png");
  ExportPngFile(&f.plot, file, 9);
  EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

}  // namespace
