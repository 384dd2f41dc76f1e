#include <gtest/gtest.h>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "plot/iPlot.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "tests/plot/support/PlotTestCanvas.h"

namespace {

// Creates an object of T on the plot's own handlers and inserts it, as the add operations do.
template <class T>
T* PlotTestInsert(TiPlotComponent& plot) {
  TiPlotMasterManager* m = plot.Master();
  auto* o = new T(&plot, TNotifyEvent(m, &TiPlotMasterManager::RenameHandler),
                  TNotifyEvent(m, &TiPlotMasterManager::RemoveHandler),
                  TNotifyEvent(m, &TiPlotMasterManager::InsertHandler),
                  TNotifyEvent(m, &TiPlotMasterManager::ChangeHandler));
  o->DoInserted();
  return o;
}

TEST(Plot, DefaultPlotHoldsOneObjectOfEachKindNamedAndBound) {
  TiPlot plot(nullptr);
  EXPECT_EQ(plot.ToolBarCount(), 1);
  EXPECT_EQ(plot.LegendCount(), 1);
  EXPECT_EQ(plot.XAxisCount(), 1);
  EXPECT_EQ(plot.YAxisCount(), 1);
  EXPECT_EQ(plot.ChannelCount(), 1);
  EXPECT_EQ(plot.DataViewCount(), 1);
  EXPECT_EQ(plot.DataCursorCount(), 1);
  EXPECT_EQ(plot.LabelCount(), 1);
  EXPECT_EQ(plot.TableCount() + plot.LimitCount() + plot.AnnotationCount(), 0);

  EXPECT_EQ(plot.GetToolBar(0)->GetName(), "Toolbar 1");
  EXPECT_TRUE(plot.GetToolBar(0)->GetHorizontal());
  EXPECT_EQ(plot.GetToolBar(0)->GetZOrder(), 3);
  EXPECT_EQ(plot.GetLegend(0)->GetName(), "Legend 1");
  EXPECT_FALSE(plot.GetLegend(0)->GetHorizontal());
  EXPECT_EQ(plot.GetLegend(0)->GetZOrder(), 2);
  TiPlotXAxis* x = plot.GetXAxis(0);
  EXPECT_EQ(x->GetName(), "X-Axis 1");
  EXPECT_EQ(x->GetTitle(), "X-Axis 1");
  EXPECT_TRUE(x->GetHorizontal());
  EXPECT_EQ(x->GetZOrder(), 0);
  EXPECT_FALSE(plot.GetYAxis(0)->GetHorizontal());
  TiPlotChannel* c = plot.GetChannel(0);
  EXPECT_EQ(c->GetName(), "Channel 1");
  EXPECT_EQ(c->GetColor(), TColor(0x0000FF));
  EXPECT_EQ(c->GetXAxisName(), "X-Axis 1");
  EXPECT_EQ(c->GetYAxisName(), "Y-Axis 1");
  TiPlotDataView* view = plot.GetDataView(0);
  EXPECT_EQ(view->GetName(), "Data View 1");
  EXPECT_EQ(view->GetGridXAxisName(), "X-Axis 1");
  EXPECT_EQ(view->GetGridYAxisName(), "Y-Axis 1");
  TiPlotDataCursor* cursor = plot.GetDataCursor(0);
  EXPECT_EQ(cursor->GetName(), "Cursor 1");
  EXPECT_EQ(cursor->GetChannelName(), "Channel 1");
  EXPECT_EQ(cursor->GetDataView(), view);
  EXPECT_FALSE(cursor->GetVisible());
  TiPlotLabel* title = plot.GetLabel(0);
  EXPECT_EQ(title->GetName(), "Title");
  EXPECT_EQ(title->GetCaption(), "Untitled");
  EXPECT_TRUE(title->GetHorizontal());
  EXPECT_EQ(title->GetZOrder(), 2);
  EXPECT_FALSE(plot.UpdateLocked());
  EXPECT_TRUE(plot.Master()->GetLayoutManager()->GetActive());

  // Every object is known to the all-objects manager, with the edit permission of the plot.
  for (TiPlotObject* o : plot.GetObjectManager()->List()) {
    if (plot.Master()->KindManagerOf(o)) {
      EXPECT_TRUE(o->GetUserCanEdit()) << o->GetName();
    }
  }

  EXPECT_EQ(plot.AddChannel(), 1);
  EXPECT_EQ(plot.GetChannel(1)->GetColor(), TColor(0x00FFFF));
  EXPECT_EQ(plot.GetChannel(1)->GetName(), "Channel 2");
  EXPECT_THROW(plot.GetChannel(2), EStringListError);
}

TEST(Plot, TitleFollowsLabelZeroWhichCannotBeDeleted) {
  TiPlot plot(nullptr);
  plot.SetTitleText("Volts");
  EXPECT_EQ(plot.GetLabel(0)->GetCaption(), "Volts");
  plot.SetTitleMargin(1.5);
  EXPECT_EQ(plot.GetLabel(0)->GetMarginBottom(), 1.5);
  plot.SetTitleVisible(false);
  EXPECT_FALSE(plot.GetLabel(0)->GetVisible());
  try {
    plot.DeleteLabel(0);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Label Index 0 can not be Deleted (Resevered for Title)");
  }
  plot.AddLabel();
  plot.AddLabel();
  plot.RemoveAllLabels();
  EXPECT_EQ(plot.LabelCount(), 1);
  EXPECT_EQ(plot.GetLabel(0)->GetName(), "Title");

  // Without labels the title reads empty and writes go nowhere.
  TiPlotComponent bare(nullptr);
  bare.SetTitleText("x");
  EXPECT_EQ(bare.GetTitleText(), "");
  EXPECT_FALSE(bare.GetTitleVisible());
  EXPECT_EQ(bare.GetTitleMargin(), 0);
}

TEST(Plot, DeletingAnObjectTakesItOutOfEveryManager) {
  TiPlot plot(nullptr);
  TiPlotXAxis* x = plot.GetXAxis(0);
  const int before = plot.GetObjectManager()->Count();
  plot.DeleteXAxis(0);
  EXPECT_EQ(plot.XAxisCount(), 0);
  EXPECT_EQ(plot.GetObjectManager()->Count(), before - 1);
  EXPECT_EQ(plot.GetObjectManager()->IndexOf(x), -1);
  EXPECT_EQ(plot.Master()->GetLayoutManager()->IndexOf(x), -1);
  EXPECT_THROW(plot.DeleteChannel(5), EStringListError);
  EXPECT_EQ(plot.ChannelCount(), 1);
}

TEST(Plot, PlotWideFlagsReachEveryObject) {
  TiPlot plot(nullptr);
  plot.SetUserCanEditObjects(false);
  for (TiPlotObject* o : plot.GetObjectManager()->List())
    if (plot.Master()->KindManagerOf(o)) {
      EXPECT_FALSE(o->GetUserCanEdit()) << o->GetName();
    }
  plot.SetXYAxesReverse(true);
  EXPECT_FALSE(plot.GetXAxis(0)->GetHorizontal());
  EXPECT_TRUE(plot.GetYAxis(0)->GetHorizontal());
  EXPECT_TRUE(plot.GetChannel(0)->GetXYAxesReverse());
  // A later object is wired the same way.
  plot.AddLimit();
  EXPECT_TRUE(plot.GetLimit(0)->GetXYAxesReverse());
  EXPECT_FALSE(plot.GetLimit(0)->GetUserCanEdit());
  EXPECT_EQ(plot.GetLimit(0)->GetXAxisName(), "X-Axis 1");
}

TEST(Plot, ObjectEventsCarryTheIndexInTheKindsManager) {
  TiPlot plot(nullptr);
  plot.AddChannel();
  std::vector<AnsiString> got;
  plot.OnGotFocusChannel = TiPlotObjectEvent::Lambda([&](int32_t i) { got.push_back("got " + IntToStr(i)); });
  plot.OnLostFocusChannel =
      TiPlotObjectEvent::Lambda([&](int32_t i) { got.push_back("lost " + IntToStr(i)); });
  plot.OnClickChannel = TiPlotObjectEvent::Lambda([&](int32_t i) { got.push_back("click " + IntToStr(i)); });
  plot.OnDblClickChannel = TiPlotObjectEvent::Lambda([&](int32_t i) { got.push_back("dbl " + IntToStr(i)); });
  plot.GetChannel(1)->SetSelected(true);
  plot.GetChannel(1)->SetEnabled(false);
  plot.DoObjectClick(plot.GetChannel(1));
  plot.SetDblClickActive(true);
  plot.DoObjectClick(plot.GetChannel(0));
  plot.DoObjectClick(plot.GetChannel(0));
  EXPECT_EQ(got, (std::vector<AnsiString>{"got 1", "lost 1", "click 1", "dbl 0", "click 0"}));
  // Toolbars and labels have no object events.
  int32_t index = 7;
  EXPECT_EQ(plot.EventKindOf(plot.GetToolBar(0), index), ipekNone);
  EXPECT_EQ(index, -1);
}

TEST(Plot, PaintOrderFollowsLayerThenKindAndChannelZeroGoesLast) {
  TiPlot plot(nullptr);
  plot.AddChannel();
  plot.AddAnnotation();
  plot.AddLimit();
  plot.GetLimit(0)->SetStyle(iplsBandY);  // a filled band paints behind
  plot.AddLimit();
  // Channels paint only with points to show.
  for (int i = 0; i < 2; ++i) plot.GetChannel(i)->AddPointXY(1, 1);
  plot_test::TPlotTestCanvas canvas;
  plot.PaintToCanvas(canvas.Canvas());
  std::vector<AnsiString> keys;
  std::vector<TiPlotObject*> objects;
  for (const auto& [key, obj] : plot.PaintOrder()) {
    keys.push_back(key);
    objects.push_back(obj);
  }
  EXPECT_EQ(keys,
            (std::vector<AnsiString>{"000100A", "000100B", "000100C", "000100F", "000100F", "000100G"}));
  EXPECT_EQ(objects[0], plot.GetLimit(0));
  EXPECT_EQ(objects[1], plot.GetDataView(0));
  EXPECT_EQ(objects[3], plot.GetChannel(1));
  EXPECT_EQ(objects[4], plot.GetChannel(0));

  // A lower layer goes first, beneath the data view's grid.
  plot.GetChannel(1)->SetLayer(50);
  plot.PaintToCanvas(canvas.Canvas());
  EXPECT_EQ(plot.PaintOrder().front().first, "000050F");
  EXPECT_EQ(plot.PaintOrder().front().second, plot.GetChannel(1));
  // An annotation paints with the plot's axis orientation and data view.
  EXPECT_EQ(plot.GetAnnotation(0)->GetDataView(), plot.GetDataView(0));
}

TEST(Plot, NothingIsPaintedWithoutALegend) {
  TiPlot plot(nullptr);
  plot_test::TPlotTestCanvas canvas;
  canvas.Canvas()->GetBrush()->SetColor(0x123456);
  canvas.Canvas()->FillRect(TRect{0, 0, 500, 200});
  plot.DeleteLegend(0);
  plot.PaintToCanvas(canvas.Canvas());
  EXPECT_EQ(canvas.Canvas()->GetPixel(250, 100), TColor(0x123456));
  plot.AddLegend();
  plot.PaintToCanvas(canvas.Canvas());
  EXPECT_NE(canvas.Canvas()->GetPixel(1, 1), TColor(0x123456));
}

// An annotation whose drawing fails.
class TPlotTestFailingAnnotation : public TiPlotAnnotation {
 public:
  using TiPlotAnnotation::TiPlotAnnotation;
  void Draw(TCanvas*, TColor) override { throw Exception("broken"); }
};

TEST(Plot, AFailingDrawPassesOutWithTheClipRemoved) {
  TiPlot plot(nullptr);
  PlotTestInsert<TPlotTestFailingAnnotation>(plot);
  plot_test::TPlotTestCanvas canvas;
  EXPECT_THROW(plot.PaintToCanvas(canvas.Canvas()), Exception);
  RECT box{};
  GetClipBox(canvas.Canvas()->GetHandle(), &box);
  EXPECT_EQ(box.Right - box.Left, 500);
  EXPECT_EQ(box.Bottom - box.Top, 200);
}

TEST(Plot, ReserveRectRefusesOverlapsAndRectanglesOutsideTheDataView) {
  TiPlot plot(nullptr);
  plot.GetDataView(0)->SetLayoutRect(TRect{10, 10, 100, 100});
  EXPECT_TRUE(plot.ReserveRect(TRect{0, 0, 20, 20}));  // the first is taken without the inside test
  EXPECT_FALSE(plot.ReserveRect(TRect{15, 15, 30, 30}));
  EXPECT_FALSE(plot.ReserveRect(TRect{90, 90, 110, 95}));
  EXPECT_TRUE(plot.ReserveRect(TRect{40, 40, 50, 50}));
  EXPECT_EQ(plot.OccupiedRects().size(), 2u);
}

TEST(Plot, LoggingGuardsRefuseWhileActiveOnly) {
  TiPlot plot(nullptr);
  plot.SetDataFileFormat(ipdffCompactInterval);
  plot.SetLogFileName("a.log");
  EXPECT_EQ(plot.GetDataFileFormat(), ipdffCompactInterval);
  EXPECT_EQ(plot.DataFileColumnSeparator(), '\t');
  plot.SetDataFileColumnSeparator(ipdfcsComma);
  EXPECT_EQ(plot.DataFileColumnSeparator(), ',');
}

TEST(Plot, TranslationNewestPairWinsAndStoredOrderSurvivesARoundTrip) {
  TiPlot plot(nullptr);
  TiPlotTranslationManager* t = plot.GetTranslationManager();
  t->NewPair("Edit...", "A");
  t->NewPair("Edit...", "B");
  EXPECT_EQ(plot.TranslateText("Edit..."), "B");
  EXPECT_EQ(plot.TranslateText("edit..."), "edit...");
  EXPECT_EQ(plot.TranslateText("Other"), "Other");

  // Written and read back twice, the same pair wins.
  for (int round = 0; round < 2; ++round) {
    TMemoryStream stream;
    {
      TWriter w(&stream);
      t->WriteCollection(&w);
    }
    stream.SetPosition(0);
    TReader r(&stream);
    t->ReadCollection(&r);
    ASSERT_EQ(t->Count(), 2);
    EXPECT_EQ(plot.TranslateText("Edit..."), "B") << round;
  }
  plot.DeleteTranslation(0);
  EXPECT_EQ(plot.TranslateText("Edit..."), "A");
  plot.RemoveAllTranslations();
  EXPECT_EQ(t->Count(), 0);

  TiPlotTranslationManager checked{TNotifyEvent::Lambda([](TObject*) {}),
                                   TNotifyEvent::Lambda([](TObject*) {})};
  EXPECT_THROW(TiPlotTranslationManager(TNotifyEvent::Lambda([](TObject*) {}), nullptr), Exception);
}

class PlotDefinitions : public ::testing::Test {
 protected:
  void SetUp() override { RegisterClass(TiPlot::ClassInfo()); }
  static AnsiString Write(TiPlot& plot) {
    TStringStream stream;
    WriteComponent(&stream, &plot);
    return stream.DataString();
  }
  static void Read(const AnsiString& data, TiPlot& plot) {
    TStringStream stream(data);
    ReadComponent(&stream, &plot);
  }
};

TEST_F(PlotDefinitions, AConfiguredPlotReadsBackAlike) {
  TiPlot plot(nullptr);
  plot.SetName("Plot1");
  plot.AddChannel();
  plot.GetChannel(1)->SetName("Current");
  plot.GetChannel(1)->SetColor(0x00FF00);
  plot.GetXAxis(0)->SetTitle("Time");
  plot.AddLimit();
  plot.GetLimit(0)->SetLine1Position(12.5);
  plot.GetDataCursor(0)->SetVisible(true);
  plot.SetTitleText("Supply");
  plot.SetDataViewZHorz(4);
  plot.SetOuterMarginLeft(9);
  plot.GetTranslationManager()->NewPair("Edit...", "Bearbeiten...");
  // Values whose declared storage default differs from the initial value still come back.
  plot.AddTable();
  plot.GetTable(0)->SetColumnTitlesVisible(false);
  plot.GetDataView(0)->SetGridLineXMajorWidth(1);
  const AnsiString data = Write(plot);
  // Writing leaves the plot live: layout active and updates unlocked.
  EXPECT_FALSE(plot.UpdateLocked());
  EXPECT_TRUE(plot.Master()->GetLayoutManager()->GetActive());

  TiPlot copy(nullptr);
  Read(data, copy);
  EXPECT_FALSE(copy.UpdateLocked());
  EXPECT_TRUE(copy.Master()->GetLayoutManager()->GetActive());
  ASSERT_EQ(copy.ChannelCount(), 2);
  EXPECT_EQ(copy.GetChannel(1)->GetName(), "Current");
  EXPECT_EQ(copy.GetChannel(1)->GetColor(), TColor(0x00FF00));
  EXPECT_EQ(copy.GetXAxis(0)->GetTitle(), "Time");
  ASSERT_EQ(copy.LimitCount(), 1);
  EXPECT_EQ(copy.GetLimit(0)->GetLine1Position(), 12.5);
  EXPECT_TRUE(copy.GetDataCursor(0)->GetVisible());
  EXPECT_EQ(copy.GetTitleText(), "Supply");
  EXPECT_EQ(copy.GetDataViewZHorz(), 4);
  EXPECT_EQ(copy.GetOuterMarginLeft(), 9);
  EXPECT_EQ(copy.TranslateText("Edit..."), "Bearbeiten...");
  ASSERT_EQ(copy.TableCount(), 1);
  EXPECT_FALSE(copy.GetTable(0)->GetColumnTitlesVisible());
  EXPECT_EQ(copy.GetDataView(0)->GetGridLineXMajorWidth(), 1);
  EXPECT_EQ(copy.GetObjectManager()->Count(), plot.GetObjectManager()->Count());
  // The copy writes the same definition.
  EXPECT_EQ(ObjectBinaryToText(Write(copy)), ObjectBinaryToText(data));
}

TEST(PlotClasses, ADefinitionNamingAPlotWithoutAFieldFindsItsClass) {
  // Registered when the program started, before any test set anything up.
  ASSERT_NE(GetClass("TiPlot"), nullptr);
  std::unique_ptr<TComponent> read(
      ReadComponentText("object Plot1: TiPlot\n  TitleText = 'Stored'\nend\n", nullptr));
  ASSERT_NE(dynamic_cast<TiPlot*>(read.get()), nullptr);
  EXPECT_EQ(static_cast<TiPlot*>(read.get())->GetTitleText(), "Stored");
}

TEST_F(PlotDefinitions, AToolBarSharingTheTitlesBandMovesOutward) {
  TiPlot plot(nullptr);
  plot.SetName("Plot1");
  plot.GetToolBar(0)->SetZOrder(2);
  AnsiString text = ObjectBinaryToText(Write(plot));
  TiPlot copy(nullptr);
  Read(ObjectTextToBinary(text), copy);
  EXPECT_EQ(copy.GetToolBar(0)->GetZOrder(), 3);
}

}  // namespace
