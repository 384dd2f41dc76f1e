// The toolbar on a window: where its buttons go, how a pressed, flat or disabled button looks, the
// small button set, its buttons under the mouse, and a screenshot for people to look at.
#include <gtest/gtest.h>

#include "platform/display/Display.h"
#include "tests/plot/input/PlotInputSupport.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"

namespace plot_input_test {
namespace {

class ToolBarDrawing : public PlotWindow {
 protected:
  TiPlotToolBar* Bar() { return plot->GetToolBar(0); }
  // The plot drawn on a bitmap of its size; the colour of a pixel as RGB.
  TColor PixelAt(int32_t X, int32_t Y) {
    if (!canvas_) {
      canvas_ = std::make_unique<plot_test::TPlotTestCanvas>(500, 200);
      plot->PaintToCanvas(canvas_->Canvas());
    }
    return TColor(ColorToRGB(canvas_->Canvas()->GetPixel(X, Y)) & 0xFFFFFF);
  }
  void Repaint() { canvas_.reset(); }
  std::unique_ptr<plot_test::TPlotTestCanvas> canvas_;
};

TEST_F(ToolBarDrawing, ButtonsGoInOneRowAndHiddenOnesTakeNoRoom) {
  const TRect bar = Bar()->GetLayoutRect();
  EXPECT_EQ(bar.Bottom - bar.Top, 36);
  int32_t x = bar.Left + 3;
  for (int32_t i = 0; i < Bar()->ButtonCount(); ++i) {
    TiPlotToolBarButton* b = Bar()->GetButton(i);
    if (!b->GetVisible()) continue;
    const int32_t w = b->GetSeparator() ? 10 : 30;
    EXPECT_EQ(b->GetButtonRect(), (TRect{x, bar.Top + 3, x + w, bar.Top + 33})) << i;
    x += w;
  }
  // Resume, Pause, gap, Scroll, Zoom, gap, ZoomOut, ZoomIn: ZoomIn starts at 3 + 5 x 30 + 2 x 10.
  EXPECT_EQ(Bar()->Button(iptbbtZoomIn)->GetButtonRect().Left, bar.Left + 173);

  Bar()->SetShowResumeButton(false);
  Bar()->SetShowPauseButton(false);
  Paint();
  EXPECT_EQ(Bar()->Button(iptbbtScrollAxesMode)->GetButtonRect().Left, bar.Left + 3)
      << "with both tracking buttons gone their separator goes too";

  Bar()->SetSmallButtons(true);
  Paint();
  const TRect small = Bar()->GetLayoutRect();
  EXPECT_EQ(small.Bottom - small.Top, 28);
  EXPECT_EQ(Bar()->Button(iptbbtScrollAxesMode)->ButtonWidth(), 22);
  EXPECT_EQ(Bar()->Button(iptbbtScrollAxesMode)->ButtonHeight(), 22);
}

TEST_F(ToolBarDrawing, HidingEveryButtonLeavesAnEmptyBarOfFullThickness) {
  TiPlotToolBar* b = Bar();
  b->SetShowResumeButton(false);
  b->SetShowPauseButton(false);
  b->SetShowAxesModeButtons(false);
  b->SetShowZoomInOutButtons(false);
  b->SetShowZoomBoxButton(false);
  b->SetShowCursorButton(false);
  b->SetShowEditButton(false);
  b->SetShowCopyButton(false);
  b->SetShowSaveButton(false);
  b->SetShowPrintButton(false);
  Paint();
  const TRect bar = Bar()->GetLayoutRect();
  EXPECT_EQ(bar.Bottom - bar.Top, 36);
  EXPECT_EQ(PixelAt(bar.Left + 20, bar.Top + 18), TColor(ColorToRGB(clBtnFace) & 0xFFFFFF));
}

TEST_F(ToolBarDrawing, ADownButtonIsLightGreyAndSunkenAndAFlatDisabledOneHasNoFrame) {
  const TColor face = TColor(ColorToRGB(clBtnFace) & 0xFFFFFF);
  const TColor pressed = TColor(0xEFEFEF);
  const TRect scroll = Bar()->Button(iptbbtScrollAxesMode)->GetButtonRect();  // down at creation
  const TRect zoom = Bar()->Button(iptbbtZoomAxesMode)->GetButtonRect();
  EXPECT_EQ(PixelAt(scroll.Left + 3, scroll.Top + 3), pressed);
  EXPECT_EQ(PixelAt(zoom.Left + 3, zoom.Top + 3), face);
  // Raised: the top-left edge is light, the bottom-right one dark.
  EXPECT_NE(PixelAt(zoom.Left, zoom.Top), PixelAt(zoom.Right - 1, zoom.Bottom - 1));

  Bar()->SetFlatButtons(true);
  Paint();
  Repaint();
  EXPECT_TRUE(Bar()->Button(iptbbtZoomAxesMode)->GetFlat());
  // Resume is disabled while every axis tracks: greyed picture, no frame.
  const TRect resume = Bar()->Button(iptbbtResume)->GetButtonRect();
  EXPECT_FALSE(Bar()->Button(iptbbtResume)->GetEnabled());
  for (TPoint p : {TPoint{resume.Left, resume.Top}, TPoint{resume.Right - 1, resume.Bottom - 1}})
    EXPECT_EQ(PixelAt(p.X, p.Y), face) << p.X << "," << p.Y;
  // A flat button that is down: light grey face, thin sunken frame.
  EXPECT_EQ(PixelAt(scroll.Left + 3, scroll.Top + 3), pressed);
  EXPECT_EQ(PixelAt(scroll.Left, scroll.Top), TColor(ColorToRGB(clBtnShadow) & 0xFFFFFF));
  EXPECT_EQ(PixelAt(scroll.Right - 1, scroll.Bottom - 1), TColor(ColorToRGB(clBtnHighlight) & 0xFFFFFF));
}

TEST_F(ToolBarDrawing, SwitchingTheButtonSizeReloadsEveryPictureAtTheNextDrawing) {
  TiPlotToolBarButton* pause = Bar()->Button(iptbbtPause);
  EXPECT_GE(pause->GetImageIndex(), 0);
  EXPECT_EQ(pause->GetImageName(), "PAUSE");
  Bar()->SetSmallButtons(false);
  EXPECT_GE(pause->GetImageIndex(), 0) << "the present value changes nothing";
  Bar()->SetSmallButtons(true);
  EXPECT_EQ(pause->GetImageIndex(), -1);
  EXPECT_EQ(pause->GetImageName(), "SMALLPAUSE");
  EXPECT_EQ(Bar()->ImageList()->GetWidth(), 16);
  Paint();
  EXPECT_GE(pause->GetImageIndex(), 0);
  EXPECT_EQ(Bar()->ImageList()->GetHeight(), 16);
}

TEST_F(ToolBarDrawing, AClickReleasedInsideAButtonRunsItsAction) {
  Click(Centre(Bar()->Button(iptbbtZoomIn)->GetButtonRect()));
  EXPECT_EQ(plot->Buttons(), (std::vector<int>{iptbbtPause, iptbbtZoomIn}));
  plot->Log.clear();
  // Released outside: nothing.
  Press(Centre(Bar()->Button(iptbbtZoomOut)->GetButtonRect()));
  Release(Centre(Bar()->Button(iptbbtEdit)->GetButtonRect()));
  EXPECT_TRUE(plot->Log.empty());
  // A group puts its other members up before the action.
  Wait(600);
  Click(Centre(Bar()->Button(iptbbtZoomAxesMode)->GetButtonRect()));
  EXPECT_TRUE(Bar()->Button(iptbbtZoomAxesMode)->GetDown());
  EXPECT_FALSE(Bar()->Button(iptbbtScrollAxesMode)->GetDown());
  EXPECT_EQ(plot->GetXAxis(0)->GetDragMode(), 1);
  EXPECT_EQ(plot->GetYAxis(0)->GetDragMode(), 1);
  Wait(600);
  Click(Centre(Bar()->Button(iptbbtZoomBox)->GetButtonRect()));
  EXPECT_TRUE(Bar()->ZoomBoxActive());
  Wait(600);
  Click(Centre(Bar()->Button(iptbbtCursor)->GetButtonRect()));
  EXPECT_TRUE(Bar()->ZoomBoxActive()) << "the cursor has a group of its own";
  EXPECT_EQ(plot->Buttons(), (std::vector<int>{iptbbtZoomAxesMode, iptbbtZoomBox, iptbbtCursor}));
  // The separators and the bar around the buttons do nothing.
  plot->Log.clear();
  Wait(600);
  Click(Centre(Bar()->Separator(1)->GetButtonRect()));
  Wait(600);
  Click({Bar()->GetLayoutRect().Right - 5, Bar()->GetLayoutRect().Top + 10});
  EXPECT_TRUE(plot->Log.empty());
}

TEST_F(ToolBarDrawing, AButtonsHintIsTranslatedPlacedBelowItAndCustomizable) {
  plot->GetTranslationManager()->NewPair("Zoom In All Axes", "Vergroessern");
  std::vector<int> asked;
  plot->OnToolBarCustomizeHint = TiPlotObjectCustomizeTextEvent::Lambda([&](int32_t Index, AnsiString& Text) {
    asked.push_back(Index);
    Text += "!";
  });
  const TRect r = Bar()->Button(iptbbtZoomIn)->GetButtonRect();
  Move(Centre(r));
  Wait(510);
  ASSERT_TRUE(plot->HintShowing());
  EXPECT_EQ(plot->HintText(), "Vergroessern!");
  EXPECT_EQ(plot->HintPosition(), (TPoint{r.Left, r.Bottom + 3}));
  EXPECT_FALSE(asked.empty());
  EXPECT_EQ(asked[0], 0);
}

TEST_F(ToolBarDrawing, AFlatButtonTracksTheMouseOverIt) {
  Bar()->SetFlatButtons(true);
  TiPlotToolBarButton* edit = Bar()->Button(iptbbtEdit);
  Move(Centre(edit->GetButtonRect()));
  EXPECT_TRUE(edit->GetMouseOver());
  Move({3, 196});
  EXPECT_FALSE(edit->GetMouseOver());
}

TEST_F(ToolBarDrawing, ARightPressOnTheBarOffersTheEditor) {
  Click({Bar()->GetLayoutRect().Right - 5, Bar()->GetLayoutRect().Top + 10}, VK_RBUTTON);
  ASSERT_FALSE(plot->Log.empty());
  EXPECT_EQ(plot->Log.back(), "Menu Edit...");
  plot->SetUserCanEditObjects(false);
  plot->Log.clear();
  Wait(600);
  Click({Bar()->GetLayoutRect().Right - 5, Bar()->GetLayoutRect().Top + 10}, VK_RBUTTON);
  EXPECT_EQ(plot->Log, (std::vector<std::string>{"Menu "}));
}

TEST_F(ToolBarDrawing, DeletingTheToolBarUnderTheMouseLeavesThePlotWorking) {
  Move(Centre(Bar()->Button(iptbbtEdit)->GetButtonRect()));
  Press(Centre(Bar()->Button(iptbbtEdit)->GetButtonRect()));
  plot->DeleteToolBar(0);
  Release({200, 110});
  Move({201, 111});
  Paint();
  EXPECT_EQ(plot->ToolBarCount(), 0);
  EXPECT_TRUE(plot->Log.empty());
  EXPECT_FALSE(plot->SelectMode());
}

TEST_F(ToolBarDrawing, Screenshot) {
  form->SetClientHeight(440);
  auto* second = ui_test::Make<TRecordingPlot>(form, form, "Flat", Rect(0, 220, 500, 420));
  second->GetToolBar(0)->SetFlatButtons(true);
  second->GetToolBar(0)->SetSmallButtons(true);
  second->GetToolBar(0)->SetShowSelectButton(true);
  second->GetToolBar(0)->SetShowPreviewButton(true);
  second->GetToolBar(0)->ClickCursor();
  plot->GetToolBar(0)->ClickZoomBox();
  ui_test::Pump();
  second->RepaintNow();
  Paint();
  EXPECT_TRUE(SaveWindowPng(form->Handle(), OutputPath("plot-toolbar.png")));
}

}  // namespace
}  // namespace plot_input_test
