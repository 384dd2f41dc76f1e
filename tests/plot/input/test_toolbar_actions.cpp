// The toolbar's actions as programs run them: the event sequence of each, what they do to the
// axes, the data cursors and the other buttons, and ZoomInOutFactor.
#include <gtest/gtest.h>

#include <functional>

#include "tests/plot/input/PlotInputSupport.h"

namespace plot_input_test {
namespace {

struct ToolBarActions : ::testing::Test {
  TRecordingPlot plot{nullptr};
  TiPlotToolBar* bar = plot.GetToolBar(0);
  TiPlotAxis* x = plot.GetXAxis(0);
  TiPlotAxis* y = plot.GetYAxis(0);

  void SetRange(TiPlotAxis* a, double min, double span) {
    a->SetMin(min);
    a->SetSpan(span);
  }
};

TEST_F(ToolBarActions, ZoomInAndOutPauseFirstThenZoomEveryAxisAboutItsCentre) {
  SetRange(x, 0, 100);
  SetRange(y, 10, 20);
  bar->ClickZoomIn();
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtPause, iptbbtZoomIn}));
  EXPECT_FALSE(x->GetTrackingEnabled());
  EXPECT_FALSE(y->GetTrackingEnabled());
  EXPECT_DOUBLE_EQ(x->GetMin(), 25);
  EXPECT_DOUBLE_EQ(x->GetSpan(), 50);
  EXPECT_DOUBLE_EQ(y->GetMin(), 15);
  EXPECT_DOUBLE_EQ(y->GetSpan(), 10);

  plot.Log.clear();
  bar->ClickZoomOut();
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtPause, iptbbtZoomOut}));
  EXPECT_DOUBLE_EQ(x->GetMin(), 0);
  EXPECT_DOUBLE_EQ(x->GetSpan(), 100);
}

TEST_F(ToolBarActions, AFactorBelowOneIsStoredAsOneWhichLeavesLinearAxesButLogAxesMoveADecade) {
  bar->SetZoomInOutFactor(3);
  EXPECT_DOUBLE_EQ(bar->GetZoomInOutFactor(), 3);
  for (double v : {0.5, 0.0, -2.0, std::nan("")}) {
    bar->SetZoomInOutFactor(v);
    EXPECT_DOUBLE_EQ(bar->GetZoomInOutFactor(), 1) << v;
  }
  SetRange(x, 0, 100);
  y->SetScaleType(ipstLog10);
  SetRange(y, 1, 99);  // 1 .. 100
  bar->ClickZoomIn();
  EXPECT_DOUBLE_EQ(x->GetMin(), 0);
  EXPECT_DOUBLE_EQ(x->GetSpan(), 100);
  EXPECT_DOUBLE_EQ(y->GetMin(), 10);
  bar->ClickZoomOut();
  bar->ClickZoomOut();
  EXPECT_DOUBLE_EQ(y->GetMin(), 0.1);
  EXPECT_DOUBLE_EQ(x->GetSpan(), 100);
}

TEST_F(ToolBarActions, ResumePutsCursorAndSelectUpFiringTheirEventsButLeavesZoomBoxDown) {
  bar->ClickCursor();
  bar->ClickSelect();
  EXPECT_TRUE(bar->CursorActive());
  EXPECT_TRUE(bar->SelectActive());
  EXPECT_TRUE(plot.SelectMode());
  plot.GetXAxis(0)->SetSelected(true);
  plot.Log.clear();
  bar->ClickResume();
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtCursor, iptbbtSelect, iptbbtResume}));
  EXPECT_FALSE(bar->CursorActive());
  EXPECT_FALSE(bar->SelectActive());
  EXPECT_FALSE(plot.SelectMode());
  EXPECT_TRUE(x->GetTrackingEnabled());
  EXPECT_TRUE(y->GetTrackingEnabled());
  for (TiPlotObject* o : plot.GetObjectManager()->List()) EXPECT_FALSE(o->GetSelected()) << o->GetName();

  bar->ClickZoomBox();
  plot.Log.clear();
  bar->ClickResume();
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtResume}));
  EXPECT_TRUE(bar->ZoomBoxActive());
}

TEST_F(ToolBarActions, SelectAndZoomBoxPutEachOtherUp) {
  bar->ClickZoomBox();
  EXPECT_TRUE(bar->ZoomBoxActive());
  plot.Log.clear();
  bar->ClickSelect();
  EXPECT_TRUE(bar->SelectActive());
  EXPECT_FALSE(bar->ZoomBoxActive());
  EXPECT_FALSE(x->GetTrackingEnabled()) << "Select down pauses the axes";
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtSelect})) << "the select mode is toolbar 0's own button";
  bar->ClickZoomBox();
  EXPECT_FALSE(bar->SelectActive());
  EXPECT_TRUE(bar->ZoomBoxActive());
  bar->ClickZoomBox();
  EXPECT_FALSE(bar->ZoomBoxActive());

  // The plot's select mode presses the button only when its state differs.
  plot.Log.clear();
  plot.SetSelectMode(true);
  plot.SetSelectMode(true);
  EXPECT_TRUE(bar->SelectActive());
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtSelect}));
}

TEST_F(ToolBarActions, CursorShowsEveryDataCursorPausesAndSelectsTheFirst) {
  plot.AddDataCursor();
  bar->ClickCursor();
  EXPECT_TRUE(plot.GetDataCursor(0)->GetVisible());
  EXPECT_TRUE(plot.GetDataCursor(1)->GetVisible());
  EXPECT_TRUE(plot.GetDataCursor(0)->GetSelected());
  EXPECT_FALSE(plot.GetDataCursor(1)->GetSelected());
  EXPECT_FALSE(x->GetTrackingEnabled());
  bar->ClickCursor();
  EXPECT_FALSE(plot.GetDataCursor(0)->GetVisible());
  EXPECT_FALSE(plot.GetDataCursor(1)->GetVisible());
  EXPECT_EQ(plot.Buttons(), (std::vector<int>{iptbbtCursor, iptbbtCursor}));
}

TEST_F(ToolBarActions, OperationsRunBeforeTheirEventAndAFailureLeavesBeforeIt) {
  bar->ClickPrint();
  bar->ClickSave();
  bar->ClickPause();
  EXPECT_EQ(plot.Log, (std::vector<std::string>{"Print", "Button 12", "Save", "Button 11", "Button 1"}));
  plot.Log.clear();
  plot.Failing = "Print";
  EXPECT_THROW(bar->ClickPrint(), Exception);
  EXPECT_TRUE(plot.Log.empty());
}

TEST_F(ToolBarActions, EventsCarryTheToolBarsIndex) {
  TiPlotToolBar* second = plot.GetToolBar(plot.AddToolBar());
  second->ClickPause();
  EXPECT_EQ(plot.Log, (std::vector<std::string>{"Button 1 of 1"}));
}

TEST_F(ToolBarActions, TrackingButtonsFollowTheAxesAndSeparatorsFollowTheirGroups) {
  bar->UpdateTrackingButtons();
  EXPECT_FALSE(bar->Button(iptbbtResume)->GetEnabled());
  EXPECT_TRUE(bar->Button(iptbbtPause)->GetEnabled());
  y->SetTrackingEnabled(false);
  bar->UpdateTrackingButtons();
  EXPECT_TRUE(bar->Button(iptbbtResume)->GetEnabled());
  EXPECT_TRUE(bar->Button(iptbbtPause)->GetEnabled());
  plot.RemoveAllXAxes();
  plot.RemoveAllYAxes();
  bar->UpdateTrackingButtons();
  EXPECT_FALSE(bar->Button(iptbbtResume)->GetEnabled());
  EXPECT_FALSE(bar->Button(iptbbtPause)->GetEnabled());

  struct Case {
    std::function<void(bool)> show;
    int separator;  // the separator that goes with it, 0: none
  };
  TiPlotToolBar* b = bar;
  const Case cases[] = {
      {[b](bool v) { b->SetShowEditButton(v); }, 5},       {[b](bool v) { b->SetShowAxesModeButtons(v); }, 2},
      {[b](bool v) { b->SetShowZoomInOutButtons(v); }, 3}, {[b](bool v) { b->SetShowResumeButton(v); }, 0},
      {[b](bool v) { b->SetShowPauseButton(v); }, 1},      {[b](bool v) { b->SetShowZoomBoxButton(v); }, 0},
      {[b](bool v) { b->SetShowCursorButton(v); }, 4}};
  for (const Case& c : cases) {
    c.show(false);
    bar->UpdateSeparators();
    if (c.separator) {
      EXPECT_FALSE(bar->Separator(c.separator)->GetVisible()) << c.separator;
    }
  }
  // Select alone does not keep its group's separator.
  bar->SetShowSelectButton(true);
  bar->UpdateSeparators();
  EXPECT_FALSE(bar->Separator(4)->GetVisible());
  bar->SetShowCursorButton(true);
  bar->UpdateSeparators();
  EXPECT_TRUE(bar->Separator(4)->GetVisible());
}

TEST_F(ToolBarActions, ShowPropertiesReadAndWriteTheButtonsAndScrollStartsDown) {
  EXPECT_TRUE(bar->Button(iptbbtScrollAxesMode)->GetDown());
  EXPECT_FALSE(bar->GetShowSelectButton());
  EXPECT_FALSE(bar->GetShowPreviewButton());
  EXPECT_TRUE(bar->GetShowZoomBoxButton());
  bar->SetShowAxesModeButtons(false);
  EXPECT_FALSE(bar->Button(iptbbtScrollAxesMode)->GetVisible());
  EXPECT_FALSE(bar->Button(iptbbtZoomAxesMode)->GetVisible());
  bar->SetShowZoomInOutButtons(false);
  EXPECT_FALSE(bar->Button(iptbbtZoomIn)->GetVisible());
  EXPECT_FALSE(bar->Button(iptbbtZoomOut)->GetVisible());
  EXPECT_FALSE(bar->GetShowZoomInOutButtons());
  // Entries in drawing order; ZoomOut stands before ZoomIn.
  std::vector<int> order;
  for (int32_t i = 0; i < bar->ButtonCount(); ++i)
    order.push_back(bar->GetButton(i)->GetSeparator() ? -1 : int(bar->GetButton(i)->GetButtonType()));
  EXPECT_EQ(order, (std::vector<int>{0, 1, -1, 2, 3, -1, 6, 7, -1, 4, 5, 8, -1, 9, -1, 10, 11, 12, 13}));
}

}  // namespace
}  // namespace plot_input_test
