// Annotations: coordinates per reference, the nine kinds drawn, hit areas, moving and sizing by
// the mouse and the coordinate events.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "plot/iPlotAnnotation.h"
#include "plot/iPlotLimit.h"
#include "tests/plot/marks/MarksSupport.h"
#include "tests/support/TestOutput.h"
#include "widgets/iVCLComponent.h"

namespace plot_marks_test {
namespace {

// A 16 x 16 fuchsia square as image 0 of the plot's first image list.
void AddPicture(TiPlotComponent* Plot) {
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(16, 16);
  picture.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  picture.GetCanvas()->FillRect(TRect{0, 0, 16, 16});
  TCustomImageList* images = Plot->ImageList(0);
  images->SetWidth(16);
  images->SetHeight(16);
  images->Add(&picture, nullptr);
}

class PlotAnnotations : public MarksWindow {
 protected:
  void SetUp() override {
    MarksWindow::SetUp();
    channel = plot->GetChannel(0);
    x->SetMinSpan(0, 200);
    y->SetMinSpan(-50, 100);
    a = plot->GetAnnotation(plot->AddAnnotation());
    plot->OnAnnotationCoordinatesChange =
        TiPlotObjectEvent::Lambda([this](int32_t Index) { changes.push_back(Index); });
    plot->OnAnnotationCoordinatesChangeFinished =
        TiPlotObjectEvent::Lambda([this](int32_t Index) { finished.push_back(Index); });
    plot->OnClickAnnotation = TiPlotObjectEvent::Lambda([this](int32_t) { ++clicks; });
  }
  // A rectangle kind in data-view percent, movable and sizable, in Select mode.
  void Box(TiPlotAnnotationStyle Style) {
    a->SetStyle(Style);
    a->SetX(50);
    a->SetY(50);
    a->SetX2(70);
    a->SetY2(20);
    a->SetWidth(40);
    a->SetHeight(60);
    a->SetUserCanMove(true);
    a->SetUserCanSize(true);
    plot->SetSelectMode(true);
    Render();
    changes.clear();
  }
  // The value difference that Pixels make on the data view's percent scales.
  double XPercent(int32_t Pixels) const { return Pixels * 100.0 / view->LayoutWidth(); }
  double YPercent(int32_t Pixels) const { return Pixels * 100.0 / view->LayoutHeight(); }

  TiPlotChannelCustom* channel = nullptr;
  TiPlotAnnotation* a = nullptr;
  std::vector<int32_t> changes, finished;
  int clicks = 0;
};

TEST_F(PlotAnnotations, EachReferenceConvertsItsCoordinatesOnItsOwnScale) {
  struct Case {
    TiPlotReferenceType Reference;
    bool XOnAxis, YOnAxis;
  };
  const Case cases[] = {{iprtDataView, false, false},
                        {iprtChannel, true, true},
                        {iprtXChannelYDataView, true, false},
                        {iprtXDataViewYChannel, false, true}};
  a->SetChannelName(channel->GetName());
  for (bool reverse : {false, true}) {
    plot->SetXYAxesReverse(reverse);
    Render();
    for (const Case& c : cases) {
      SCOPED_TRACE(int(c.Reference) + 10 * reverse);
      a->SetReference(c.Reference);
      // Percent runs left to right and bottom to top; reversed, X runs up and Y across.
      const int32_t px = c.XOnAxis ? x->ValueToPosition(30)
                         : reverse ? view->YPercentToPixel(30)
                                   : view->XPercentToPixel(30);
      const int32_t py = c.YOnAxis ? y->ValueToPosition(20)
                         : reverse ? view->XPercentToPixel(20)
                                   : view->YPercentToPixel(20);
      EXPECT_EQ(a->XToPixel(30), px);
      EXPECT_EQ(a->YToPixel(20), py);
      const TPoint screen = reverse ? TPoint{py, px} : TPoint{px, py};
      EXPECT_NEAR(a->PointToX(screen), 30, c.XOnAxis ? 2.0 : 1.2);
      EXPECT_NEAR(a->PointToY(screen), 20, c.YOnAxis ? 2.0 : 1.2);
      EXPECT_EQ(a->DataViewLeft(), reverse ? ViewRect().Top : ViewRect().Left);
    }
  }
  // Without the channel the channel scales answer 0, and nothing is drawn.
  a->SetReference(iprtChannel);
  a->SetChannelName("no such channel");
  EXPECT_EQ(a->Channel(), nullptr);
  EXPECT_EQ(a->XToPixel(30), 0);
  EXPECT_EQ(a->PixelToY(100), 0);
  a->SetStyle(ipasRectangle);
  a->SetWidth(50);
  a->SetHeight(50);
  Render();
  EXPECT_FALSE(a->GetDrawn());
}

TEST_F(PlotAnnotations, CentredTextSitsInTheMiddleOfTheDataView) {
  a->SetText("Centre");
  a->SetX(50);
  a->SetY(50);
  a->GetFont()->SetColor(clYellow);
  Render();
  ASSERT_TRUE(a->GetDrawn());
  const TRect t = a->GetHitRect();
  const TPoint mid = Centre(ViewRect());
  EXPECT_NEAR((t.Left + t.Right) / 2.0, mid.X, 1.0);
  EXPECT_NEAR((t.Top + t.Bottom) / 2.0, mid.Y, 1.0);
  int yellowish = 0;  // the glyphs' edges are blended with the background
  for (int32_t py = t.Top; py < t.Bottom; ++py)
    for (int32_t px = t.Left; px < t.Right; ++px) {
      const TColor c = bitmap.Canvas()->GetPixel(px, py);
      yellowish += (c & 0xFF) > 0x80 && ((c >> 8) & 0xFF) > 0x80 && (c >> 16) < 0x40;
    }
  EXPECT_GT(yellowish, 10);
  // Aligned left and to the top, the text starts at the anchor.
  a->SetTextHorzAlignment(iahLeft);
  a->SetTextVertAlignment(iavTop);
  Render();
  EXPECT_EQ(a->GetHitRect().Left, view->XPercentToPixel(50));
  EXPECT_EQ(a->GetHitRect().Top, view->YPercentToPixel(50));
}

TEST_F(PlotAnnotations, QuarterTurnedTextReadsUpwardsAt90AndDownwardsAt270) {
  // A heavy first character and light dots after it: the first character's end of the turned
  // text holds most of the ink (smoothed white glyphs on black: the red channel is the ink).
  const auto Ink = [this](const TRect& R) {
    int n = 0;
    for (int32_t py = R.Top; py < R.Bottom; ++py)
      for (int32_t px = R.Left; px < R.Right; ++px) n += bitmap.Canvas()->GetPixel(px, py) & 0xFF;
    return n;
  };
  a->SetText("W....");
  a->SetX(50);
  a->SetY(50);
  a->GetFont()->SetColor(clWhite);
  for (TiPlotAnnotationStyle style : {ipasText, ipasTextBox}) {
    a->SetStyle(style);
    a->SetBrushStyle(bsClear);
    a->SetPenStyle(psClear);
    for (TiRotationAngle turn : {ira090, ira270}) {
      SCOPED_TRACE(::testing::Message() << style << " " << int(turn));
      a->SetTextRotation(turn);
      Render();
      const TRect t = a->GetHitRect();
      ASSERT_GT(t.Bottom - t.Top, t.Right - t.Left) << "turned text stands upright";
      const int32_t mid = (t.Top + t.Bottom) / 2;
      const int upper = Ink(TRect{t.Left, t.Top, t.Right, mid});
      const int lower = Ink(TRect{t.Left, mid, t.Right, t.Bottom});
      if (turn == ira090)
        EXPECT_GT(lower, upper * 2) << "read from the bottom up, the W is at the bottom";
      else
        EXPECT_GT(upper, lower * 2) << "read from the top down, the W is at the top";
    }
  }
}

TEST_F(PlotAnnotations, EveryKindIsDrawnAndAllButTheLineCanBeHitInSelectMode) {
  AddPicture(plot);
  plot->SetSelectMode(true);
  const TiPlotAnnotationStyle kinds[] = {ipasText,  ipasLine,          ipasRectangle, ipasLineX,  ipasLineY,
                                         ipasImage, ipasTextRectangle, ipasEllipse,   ipasTextBox};
  for (TiPlotAnnotationStyle kind : kinds) {
    SCOPED_TRACE(int(kind));
    a->SetStyle(kind);
    a->SetText("Mark");
    a->SetX(40);
    a->SetY(40);
    a->SetX2(60);
    a->SetY2(60);
    a->SetWidth(20);
    a->SetHeight(30);
    a->SetPenColor(clAqua);
    a->SetBrushColor(clAqua);
    a->GetFont()->SetColor(clAqua);
    Render();
    const bool line = kind == ipasLine;
    EXPECT_EQ(a->GetDrawn(), !line);
    EXPECT_GT(Count(ViewRect(), kind == ipasImage ? clFuchsia : clAqua), 0) << "something drawn";
    const TPoint anchor = kind == ipasLine || kind == ipasEllipse
                              ? TPoint{view->XPercentToPixel(50), view->YPercentToPixel(50)}
                              : TPoint{view->XPercentToPixel(40), view->YPercentToPixel(40)};
    EXPECT_EQ(plot->ObjectAtPoint(Record(anchor)) == a, !line);
  }
  // Out of Select mode no annotation is hit: the press reaches the data view below.
  plot->SetSelectMode(false);
  a->SetStyle(ipasRectangle);
  Render();
  const TPoint anchor{view->XPercentToPixel(40), view->YPercentToPixel(40)};
  EXPECT_FALSE(a->HitTest(Record(anchor)));
  EXPECT_EQ(plot->ObjectAtPoint(Record(anchor)), view);
  // A hidden annotation is not drawn and not hit.
  plot->SetSelectMode(true);
  a->SetVisible(false);
  Render();
  EXPECT_FALSE(a->GetDrawn());
  EXPECT_FALSE(a->HitTest(Record(anchor)));
}

TEST_F(PlotAnnotations, ClippedToItsAxesItLeavesTheCanvasPenToTheNextOne) {
  // Equal layers paint the later annotation first: the clipped one goes before the plain one.
  TiPlotAnnotation* plain = a;
  TiPlotAnnotation* clipped = plot->GetAnnotation(plot->AddAnnotation());
  plain->SetStyle(ipasLineY);
  plain->SetY(30);
  plain->SetPenColor(clYellow);
  clipped->SetStyle(ipasLineY);
  clipped->SetReference(iprtChannel);
  clipped->SetChannelName(channel->GetName());
  clipped->SetClipToAxes(true);
  clipped->SetY(25);
  clipped->SetPenColor(clAqua);
  x->SetMinSpan(0, 100);
  Render();
  const int32_t px = view->XPercentToPixel(30);
  EXPECT_EQ(bitmap.Canvas()->GetPixel(px, view->YPercentToPixel(30)), clYellow);
  EXPECT_EQ(bitmap.Canvas()->GetPixel(px, y->ValueToPosition(25)), clAqua);
}

TEST_F(PlotAnnotations, ADragMovesTheAnnotationAndFinishesOnceAClickChangesNothing) {
  Box(ipasRectangle);
  const TPoint at = Centre(a->GetDrawnRect());
  Click(at);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(a->GetSelected());
  EXPECT_TRUE(changes.empty());
  EXPECT_TRUE(finished.empty()) << "a click without movement";
  a->SetWidth(40);
  EXPECT_TRUE(changes.empty()) << "an unchanged value";
  a->SetWidth(41);
  a->SetWidth(40);
  EXPECT_EQ(changes, (std::vector<int32_t>{0, 0})) << "a change by code";
  EXPECT_TRUE(finished.empty());
  changes.clear();
  Render();

  Drag(at, {at.X + 20, at.Y + 10});
  EXPECT_NEAR(a->GetX(), 50 + XPercent(20), 1.0);
  EXPECT_NEAR(a->GetY(), 50 - YPercent(10), 1.5);
  EXPECT_NEAR(a->GetWidth(), 40, 1.0);
  EXPECT_NEAR(a->GetHeight(), 60, 1.5);
  EXPECT_GE(changes.size(), 1u);
  EXPECT_EQ(finished, std::vector<int32_t>{0});

  // A text moves by its anchor; one that may not move stays.
  a->SetStyle(ipasText);
  a->SetText("Move me");
  Render();
  const double x0 = a->GetX();
  const TPoint t = Centre(a->GetHitRect());
  Drag(t, {t.X - 30, t.Y});
  EXPECT_NEAR(a->GetX(), x0 - XPercent(30), 0.5);
  EXPECT_EQ(finished.size(), 2u);
  a->SetUserCanMove(false);
  Render();
  const double x1 = a->GetX();
  Drag(Centre(a->GetHitRect()), {t.X, t.Y});
  EXPECT_EQ(a->GetX(), x1);
  EXPECT_EQ(finished.size(), 2u);
}

TEST_F(PlotAnnotations, PullingTheTopLeftHandleMovesTheCentreByHalfAndShrinksTheBox) {
  Box(ipasRectangle);
  const TRect r = a->GetDrawnRect();
  const TPoint corner{r.Left, r.Top};
  Click({r.Right - 2, r.Bottom - 2});  // select it
  ASSERT_TRUE(a->GetSelected());
  EXPECT_EQ(a->GetCursor(Record(corner)), crSizeNWSE);
  EXPECT_EQ(a->GetCursor(Record({r.Right, r.Top})), crSizeNESW);
  EXPECT_EQ(a->GetCursor(Record(Centre(r))), crHandPoint);
  const double x0 = a->GetX(), y0 = a->GetY(), w0 = a->GetWidth(), h0 = a->GetHeight();
  Drag(corner, {corner.X + 10, corner.Y + 10});
  EXPECT_NEAR(a->GetX(), x0 + XPercent(10) / 2, 0.6);
  EXPECT_NEAR(a->GetY(), y0 - YPercent(10) / 2, 0.8);
  EXPECT_NEAR(a->GetWidth(), w0 - XPercent(10), 0.6);
  EXPECT_NEAR(a->GetHeight(), h0 - YPercent(10), 1.1);
  EXPECT_EQ(finished.size(), 1u);

  // Without UserCanSize the handle only moves the box.
  a->SetUserCanSize(false);
  Render();
  const double w1 = a->GetWidth();
  const TRect r1 = a->GetDrawnRect();
  Drag({r1.Left, r1.Top}, {r1.Left + 10, r1.Top + 10});
  EXPECT_NEAR(a->GetWidth(), w1, 0.6);
}

TEST_F(PlotAnnotations, AnEllipseMovedKeepsItsSize) {
  Box(ipasEllipse);
  const double dx = a->GetX2() - a->GetX(), dy = a->GetY2() - a->GetY();
  const TPoint at = Centre(a->GetDrawnRect());
  Drag(at, {at.X - 15, at.Y + 12});
  EXPECT_NE(a->GetX(), 50);
  EXPECT_DOUBLE_EQ(a->GetX2() - a->GetX(), dx);
  EXPECT_DOUBLE_EQ(a->GetY2() - a->GetY(), dy);
  EXPECT_EQ(finished.size(), 1u);
}

TEST_F(PlotAnnotations, WithReversedAxesAResizeGrowsAlongTheExchangedDirections) {
  plot->SetXYAxesReverse(true);
  Box(ipasRectangle);
  const TRect r = a->GetDrawnRect();
  // X percent now runs up the screen: the box's screen height is its Width.
  EXPECT_NEAR(r.Bottom - r.Top, 40 * view->LayoutHeight() / 100.0, 1.5);
  EXPECT_NEAR(r.Right - r.Left, 60 * view->LayoutWidth() / 100.0, 1.5);
  Click(Centre(r));
  const double w0 = a->GetWidth(), h0 = a->GetHeight();
  Drag({r.Right, r.Bottom}, {r.Right + 10, r.Bottom});
  EXPECT_NEAR(a->GetHeight(), h0 + XPercent(10), 0.6);
  EXPECT_NEAR(a->GetWidth(), w0, 0.6);
}

TEST_F(PlotAnnotations, TheAnnotationFollowsItsChannelAndForgetsARemovedOne) {
  a->SetChannelName(channel->GetName());
  a->SetReference(iprtChannel);
  channel->SetName("Volts");
  EXPECT_EQ(a->GetChannelName(), "Volts");
  EXPECT_EQ(a->Channel(), channel);
  plot->DeleteChannel(0);
  EXPECT_EQ(a->Channel(), nullptr);
  Render();
  EXPECT_FALSE(a->GetDrawn());
}

TEST(PlotMarksScreenshot, LimitsAndEveryAnnotationKind) {
  TiPlot plot(nullptr);
  plot.SetWidth(640);
  plot.SetHeight(400);
  TiPlotAxis* x = plot.GetXAxis(0);
  TiPlotAxis* y = plot.GetYAxis(0);
  x->SetTrackingEnabled(false);
  y->SetTrackingEnabled(false);
  TiPlotChannelCustom* channel = plot.GetChannel(0);
  for (int i = 0; i <= 100; ++i) channel->AddPointXY(i, 50 + 30 * std::sin(i / 8.0));

  TiPlotLimit* line = plot.GetLimit(plot.AddLimit());
  line->SetLine1Position(75);
  TiPlotLimit* band = plot.GetLimit(plot.AddLimit());
  band->SetStyle(iplsBandY);
  band->SetColor(0x303060);
  band->SetLine1Position(20);
  band->SetLine2Position(35);
  TiPlotLimit* hatch = plot.GetLimit(plot.AddLimit());
  hatch->SetStyle(iplsBandX);
  hatch->SetFillStyle(bsBDiagonal);
  hatch->SetColor(clTeal);
  hatch->SetLine1Position(85);
  hatch->SetLine2Position(95);
  TiPlotLimit* poly = plot.GetLimit(plot.AddLimit());
  poly->SetStyle(iplsPolyBandX);
  poly->SetColor(0x204020);
  poly->AddPolyBandPoint(5, 5, 15);
  poly->AddPolyBandPoint(50, 10, 25);
  poly->AddPolyBandPoint(95, 5, 12);

  struct Kind {
    TiPlotAnnotationStyle Style;
    double X, Y, X2, Y2, W, H;
    const char* Text;
  };
  const Kind kinds[] = {{ipasText, 20, 90, 0, 0, 0, 0, "Text"},
                        {ipasLine, 30, 60, 45, 80, 0, 0, ""},
                        {ipasRectangle, 55, 85, 0, 0, 10, 10, ""},
                        {ipasLineX, 70, 0, 0, 0, 0, 0, ""},
                        {ipasLineY, 0, 10, 0, 0, 0, 0, ""},
                        {ipasImage, 80, 80, 0, 0, 0, 0, ""},
                        {ipasTextRectangle, 35, 30, 0, 0, 25, 14, "Rectangle"},
                        {ipasEllipse, 60, 45, 75, 25, 0, 0, ""},
                        {ipasTextBox, 85, 55, 0, 0, 0, 0, "Box"}};
  AddPicture(&plot);
  for (const Kind& k : kinds) {
    TiPlotAnnotation* a = plot.GetAnnotation(plot.AddAnnotation());
    a->SetStyle(k.Style);
    a->SetX(k.X);
    a->SetY(k.Y);
    a->SetX2(k.X2);
    a->SetY2(k.Y2);
    a->SetWidth(k.W);
    a->SetHeight(k.H);
    a->SetText(k.Text);
    a->SetPenColor(clYellow);
    a->SetBrushColor(clNavy);
    a->SetBrushStyle(k.Style == ipasText ? bsClear : bsSolid);
  }
  TiPlotAnnotation* turned = plot.GetAnnotation(plot.AddAnnotation());
  turned->SetStyle(ipasTextBox);
  turned->SetText("Turned");
  turned->SetTextRotation(ira090);
  turned->SetOuterMargin(2);
  turned->SetX(95);
  turned->SetY(80);
  turned->SetPenColor(clYellow);
  turned->SetBrushColor(clMaroon);
  const std::string file = OutputPath("plot_marks.png");
  ExportPngFile(&plot, file, 9);
  EXPECT_TRUE(std::filesystem::exists(file));
  for (int32_t i = 0; i < plot.AnnotationCount(); ++i)
    EXPECT_EQ(plot.GetAnnotation(i)->GetDrawn(), plot.GetAnnotation(i)->GetStyle() != ipasLine) << i;
}

}  // namespace
}  // namespace plot_marks_test
