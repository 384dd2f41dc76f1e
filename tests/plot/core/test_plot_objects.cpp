#include <gtest/gtest.h>

#include "platform/runtime/Clock.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "plot/iPlotObjects.h"
#include "tests/plot/support/PlotHostStub.h"

namespace {

struct PlotObjectsFixture : ::testing::Test {
  TPlotHostStub host;
  TPlotHandlerCounts h;
  std::unique_ptr<TiPlotLayoutObject> MakeLayout() {
    auto o = std::make_unique<TiPlotLayoutObject>(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange);
    o->SetOnLayoutChange(h.OnLayout);
    return o;
  }
};

TEST_F(PlotObjectsFixture, ManagerObjectRefusesMissingOwnerOrHandlersInOrder) {
  auto make = [&](TiPlotObjectHost* owner, TNotifyEvent ren, TNotifyEvent rem, TNotifyEvent ins,
                  TNotifyEvent chg) {
    try {
      TiPlotManagerObject o(owner, ren, rem, ins, chg);
    } catch (const Exception& e) {
      return e.Message;
    }
    return AnsiString("created");
  };
  EXPECT_EQ(make(nullptr, nullptr, nullptr, nullptr, nullptr), "Owner must be assigned");
  EXPECT_EQ(make(&host, nullptr, nullptr, nullptr, nullptr), "OnChange event handler can not be null");
  EXPECT_EQ(make(&host, nullptr, nullptr, nullptr, h.OnChange), "OnInsert event handler can not be null");
  EXPECT_EQ(make(&host, nullptr, nullptr, h.OnInsert, h.OnChange), "OnRemove event handler can not be null");
  EXPECT_EQ(make(&host, nullptr, h.OnRemove, h.OnInsert, h.OnChange),
            "AOnRename event handler can not be null");
  EXPECT_EQ(make(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange), "created");
  // The plain base checks nothing.
  TiPlotObject plain(nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(plain.GetVisible());
}

TEST_F(PlotObjectsFixture, PercentSettersKeepTheSpanAtLeastFive) {
  struct Case {
    double start, stop;  // applied in this order: StartPercent then StopPercent
    bool startFirst;
    double wantStart, wantStop;
  };
  const Case cases[] = {
      {97, 100, true, 95, 100}, {0, 2, false, 0, 5},     {-20, 100, true, 0, 100},
      {0, 150, false, 0, 100},  {50, 52, false, 47, 52}, {0, 0, true, 0, 100},
  };
  for (const Case& c : cases) {
    auto o = MakeLayout();
    if (c.startFirst)
      o->SetStartPercent(c.start);
    else
      o->SetStopPercent(c.stop);
    if (!c.startFirst && c.start != 0) {
      o->SetStartPercent(c.start);
      o->SetStopPercent(c.stop);
    }
    EXPECT_DOUBLE_EQ(o->GetStartPercent(), c.wantStart) << c.start << " " << c.stop;
    EXPECT_DOUBLE_EQ(o->GetStopPercent(), c.wantStop) << c.start << " " << c.stop;
  }
  auto o = MakeLayout();
  o->SetStartPercent(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(o->GetStartPercent(), 0);
  EXPECT_EQ(o->StartPercentKey(), "000");
}

TEST_F(PlotObjectsFixture, RenameKeepsThePreviousNameAndNotifiesOnce) {
  auto o = MakeLayout();
  o->SetName("Channel 1");
  o->SetName("Channel 1");
  EXPECT_EQ(h.Rename, 1);
  o->SetName("channel 1");
  EXPECT_EQ(h.Rename, 2);
  EXPECT_EQ(o->GetPreviousName(), "Channel 1");
}

TEST_F(PlotObjectsFixture, SortKeysPadWithZeros) {
  auto o = MakeLayout();
  EXPECT_EQ(o->LayerKey(), "000100");
  o->SetLayer(1234567);
  EXPECT_EQ(o->LayerKey(), "1234567");
  o->SetLayer(-5);
  EXPECT_EQ(o->LayerKey(), "0000-5");
  o->SetZOrder(2);
  EXPECT_EQ(o->ZOrderKey(), "002");
  o->SetStopPercent(100);
  o->SetStartPercent(12.5);
  EXPECT_EQ(o->StartPercentKey(), "012");
}

TEST_F(PlotObjectsFixture, LayoutSettersAskForLayoutAndDestructionTellsTheManagers) {
  auto o = MakeLayout();
  o->SetZOrder(3);
  o->SetHorizontal(true);
  o->SetHorizontal(true);
  EXPECT_EQ(h.Layout, 2);
  EXPECT_EQ(h.Change, 2);
  o->DoInserted();
  EXPECT_EQ(h.Insert, 1);
  EXPECT_EQ(h.Layout, 3);
  TiPlotObject::FreeObject(o.release());
  EXPECT_EQ(h.Remove, 1);
  EXPECT_EQ(h.Layout, 4);
}

TEST_F(PlotObjectsFixture, DisablingASelectedObjectDeselectsIt) {
  auto o = MakeLayout();
  o->SetName("A");
  int selectionChanges = 0;
  o->SetOnSelectionChanged(TNotifyEvent::Lambda([&](TObject*) { ++selectionChanges; }));
  o->SetSelected(true);
  o->SetEnabled(false);
  EXPECT_FALSE(o->GetSelected());
  EXPECT_EQ(selectionChanges, 2);
  EXPECT_EQ(host.Events, (std::vector<AnsiString>{"GotFocus A", "LostFocus A"}));
}

// A kind whose menu is the base's plus the edit item, as the kinds build theirs.
struct PlotObjectsEditable : TiPlotLayoutObject {
  using TiPlotLayoutObject::TiPlotLayoutObject;
  void BuildPopupMenu(TPopupMenu* Menu) override {
    TiPlotLayoutObject::BuildPopupMenu(Menu);
    AddEditMenuItem(Menu);
  }
};

TEST_F(PlotObjectsFixture, RightClickPopupAndMouseEventsFollowTheRules) {
  auto o = std::make_unique<PlotObjectsEditable>(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange);
  o->SetName("L");
  o->SetLayoutRect(TRect{0, 0, 10, 10});
  TPopupMenu menu(nullptr);
  o->SetUserCanEdit(true);
  o->MouseDown(mbRight, {}, 5, 5, 100, 100, &menu);
  EXPECT_EQ(host.Events, (std::vector<AnsiString>{"PopupMenu L", "ShowPopup 1", "MouseDown L 1 5,5"}));
  EXPECT_EQ(menu.Items()->Items(0)->GetCaption(), "Edit...");

  host.Events.clear();
  o->SetPopupEnabled(false);
  o->MouseDown(mbRight, {}, 5, 5, 100, 100, &menu);
  EXPECT_EQ(host.Events, (std::vector<AnsiString>{"MouseDown L 1 5,5"}));

  host.Events.clear();
  o->SetPopupEnabled(true);
  host.CancelPopups = true;
  host.Translations["Edit..."] = "Bearbeiten...";
  o->MouseDown(mbRight, {}, 50, 5, 100, 100, &menu);
  EXPECT_EQ(host.Events, (std::vector<AnsiString>{"PopupMenu L"}));

  // A press, a move and a release outside fire only the press's own work.
  host.Events.clear();
  o->MouseDown(mbLeft, {}, 5, 5, 0, 0, &menu);
  EXPECT_TRUE(o->GetLeftPressed());
  TiHintData hint;
  o->MouseMove(hint, {}, 20, 5, false);
  o->MouseUp(mbLeft, {}, 20, 5);
  o->MouseUp(mbLeft, {}, 5, 5);
  EXPECT_EQ(host.Events, (std::vector<AnsiString>{"MouseDown L 0 5,5"}));

  // The edit item's caption goes through the translation.
  host.CancelPopups = false;
  o->MouseDown(mbRight, {}, 50, 5, 100, 100, &menu);
  ASSERT_EQ(menu.Items()->Count(), 1);
  EXPECT_EQ(menu.Items()->Items(0)->GetCaption(), "Bearbeiten...");
  int edits = 0;
  o->SetOnEditRequest(TNotifyEvent::Lambda([&](TObject* s) { edits += s == o.get(); }));
  menu.Items()->Items(0)->Click();
  EXPECT_EQ(edits, 1);
}

TEST_F(PlotObjectsFixture, ReversedAxesExchangeTheOrientedPoint) {
  struct Probe : TiPlotLayoutObject {
    using TiPlotLayoutObject::TiPlotLayoutObject;
    TiMouseRecord last;
    void LeftDown(const TiMouseRecord& r) override { last = r; }
  };
  Probe p(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange);
  p.SetXYAxesReverse(true);
  p.MouseDown(mbLeft, {}, 3, 7, 0, 0, nullptr);
  EXPECT_EQ(p.last.X, 3);
  EXPECT_EQ(p.last.OrientedX, 7);
  EXPECT_EQ(p.last.OrientedY, 3);
}

TEST_F(PlotObjectsFixture, AutoRepeatButtonClicksAt500ThenEvery50AndOnRelease) {
  TFakeClock clock;
  TClockScope scope(clock);
  TiPlotButton b(&host, nullptr, nullptr, nullptr, nullptr);
  b.SetButtonRect(TRect{0, 0, 10, 10});
  b.SetAutoRepeat(true);
  std::vector<uint64_t> clicks;
  b.OnClick = TNotifyEvent::Lambda([&](TObject*) { clicks.push_back(clock.MonotonicMs()); });
  b.MouseDown(mbLeft, {}, 2, 2, 0, 0, nullptr);
  for (int i = 0; i < 100; ++i) {
    clock.Advance(10);
    Application->ProcessMessages();
  }
  b.MouseUp(mbLeft, {}, 2, 2);
  ASSERT_GE(clicks.size(), 3u);
  EXPECT_EQ(clicks[0], 500u);
  EXPECT_EQ(clicks[1], 550u);
  EXPECT_EQ(clicks[2], 600u);
  EXPECT_EQ(clicks.size(), 12u);  // 500..1000 every 50 ms, then the release inside
  EXPECT_EQ(b.RepeatTimer(), nullptr);
}

}  // namespace
