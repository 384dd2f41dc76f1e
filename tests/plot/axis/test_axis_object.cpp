// The axis as a plot object: published properties and stored rules, range events, tracking with
// pause and resume, the user's mouse, wheel and keys, the popup menu, and the texts it makes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/runtime/Filer.h"
#include "platform/runtime/Streams.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"
#include "tests/plot/axis/AxisTestHost.h"

namespace {

using testing::ElementsAre;

struct AxisObjectFixture : ::testing::Test {
  TAxisFactory f;
  TBitmap bitmap;
  TCanvas* canvas = nullptr;
  void SetUp() override {
    bitmap.SetSize(600, 400);
    canvas = bitmap.GetCanvas();
  }
  // A horizontal axis laid over pixels 50..450, its geometry computed as a paint would.
  TiPlotXAxis* LaidOutX(const AnsiString& name = "X-Axis 1") {
    TiPlotXAxis* x = f.Make<TiPlotXAxis>(name);
    x->SetLayoutRect(TRect{50, 200, 450, 240});
    x->CalcScaleGeometry(canvas);
    return x;
  }
};

// ---- properties -------------------------------------------------------------------------------------

TEST_F(AxisObjectFixture, KindsStartWithTheirOwnValues) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X-Axis 1");
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y-Axis 1");
  EXPECT_TRUE(x->GetHorizontal());
  EXPECT_FALSE(y->GetHorizontal());
  EXPECT_EQ(x->GetTrackingStyle(), iptsScrollSmooth);
  EXPECT_EQ(x->GetTrackingAlignFirstStyle(), ipafsAuto);
  EXPECT_EQ(y->GetTrackingStyle(), iptsScaleMinMax);
  EXPECT_EQ(y->GetTrackingAlignFirstStyle(), ipafsNone);
  f.Host.Plot = false;  // outside a TiPlot the X axis scales as well
  EXPECT_EQ(f.Make<TiPlotXAxis>("X-Axis 2")->GetTrackingStyle(), iptsScaleMinMax);

  EXPECT_EQ(y->GetMin(), 0);
  EXPECT_EQ(y->GetSpan(), 100);
  EXPECT_EQ(y->GetCartesianChildRefAxisName(), "<None>");
  EXPECT_EQ(y->GetDateTimeFormat(), "hh:nn:ss");
  EXPECT_EQ(y->GetLabelsFont()->GetColor(), clWhite);
  EXPECT_EQ(y->GetTitleFont()->GetSize(), 10);
  EXPECT_TRUE(y->GetTitleFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(y->GetLayer(), 100);
  EXPECT_EQ(y->GetStopPercent(), 100);
}

TEST_F(AxisObjectFixture, PublishedPropertiesInDeclarationOrder) {
  std::vector<AnsiString> names;
  for (const TPropInfo* p : GetPropList(TiPlotYAxis::ClassInfo())) names.push_back(p->Name);
  const std::vector<AnsiString> head = {"Name",         "Visible",    "Enabled", "Layer",
                                        "PopupEnabled", "Horizontal", "ZOrder",  "StartPercent",
                                        "StopPercent",  "Min",        "Span",    "DesiredStart"};
  ASSERT_GE(names.size(), head.size());
  EXPECT_EQ(std::vector<AnsiString>(names.begin(), names.begin() + long(head.size())), head);
  EXPECT_EQ(names.back(), "LegendMinLengthAutoAdjust");
  EXPECT_EQ(names.size(), 9u + 21u + 40u);
}

// Writes the axis's stored properties and reads them into a fresh axis of the same kind.
template <class T>
T* RoundTrip(TAxisFactory& f, T* from, std::vector<AnsiString>* written = nullptr) {
  TMemoryStream stream;
  {
    TWriter writer(&stream);
    writer.WriteListBegin();
    writer.WriteProperties(from);
    writer.WriteListEnd();
  }
  if (written) {
    stream.SetPosition(0);
    TReader probe(&stream);
    probe.ReadListBegin();
    while (!probe.EndOfList()) {
      written->push_back(probe.ReadStr());
      probe.SkipValue();
    }
  }
  T* to = f.Make<T>("copy");
  stream.SetPosition(0);
  TReader reader(&stream);
  reader.ReadListBegin();
  while (!reader.EndOfList()) reader.ReadProperty(to);
  reader.ReadListEnd();
  return to;
}

TEST_F(AxisObjectFixture, StoredDefinitionKeepsEveryChoice) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X-Axis 1");
  std::vector<AnsiString> written;
  TiPlotXAxis* copy = RoundTrip(f, x, &written);
  // Defaults stay out; the kind's initial align-first style is not written either.
  for (const char* name : {"ReverseScale", "InnerMargin", "MajorLength", "LabelsVisible", "ScaleLinesColor",
                           "TrackingAlignFirstStyle", "TitleShow", "ScaleType", "TrackingEnabled"})
    EXPECT_THAT(written, testing::Not(testing::Contains(AnsiString(name)))) << name;
  EXPECT_THAT(written, testing::Contains(AnsiString("Span")));
  EXPECT_THAT(written, testing::Not(testing::Contains(AnsiString("Span_2"))));
  EXPECT_EQ(copy->GetTrackingAlignFirstStyle(), ipafsAuto);

  // The declared default of the align-first style (ipafsMin) still round-trips, and so do the
  // two floats whose 0 the writer would otherwise leave out.
  x->SetTrackingAlignFirstStyle(ipafsMin);
  x->SetLabelSeparation(0);
  x->SetTitleMargin(0);
  x->SetMin(-7.5);
  x->SetSpan(12);
  x->SetTitle("Time(S)");
  x->SetMinorCount(4);
  written.clear();
  copy = RoundTrip(f, x, &written);
  EXPECT_EQ(copy->GetTrackingAlignFirstStyle(), ipafsMin);
  EXPECT_EQ(copy->GetLabelSeparation(), 0);
  EXPECT_EQ(copy->GetTitleMargin(), 0);
  EXPECT_EQ(copy->GetMin(), -7.5);
  EXPECT_EQ(copy->GetSpan(), 12);
  EXPECT_EQ(copy->GetTitle(), "Time(S)");
  EXPECT_EQ(copy->GetMinorCount(), 4);
  EXPECT_EQ(std::count(written.begin(), written.end(), AnsiString("LabelSeparation")), 1);

  // A Y axis starts with ipafsNone and writes ipafsAuto.
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y-Axis 1");
  y->SetTrackingAlignFirstStyle(ipafsAuto);
  EXPECT_EQ(RoundTrip(f, y)->GetTrackingAlignFirstStyle(), ipafsAuto);
}

TEST_F(AxisObjectFixture, OldSpanValuesAreReadClampedAndSilently) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y-Axis 1");
  for (double stored : {250.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
    TMemoryStream stream;
    {
      TWriter writer(&stream);
      writer.WriteListBegin();
      writer.WriteStr("Span_2");
      writer.WriteFloat(stored);
      writer.WriteListEnd();
    }
    stream.SetPosition(0);
    TReader reader(&stream);
    reader.ReadListBegin();
    while (!reader.EndOfList()) reader.ReadProperty(y);
    EXPECT_EQ(y->GetSpan(), stored == 250 ? 250 : stored < 0 ? 1e-300 : 1e300);
  }
  EXPECT_TRUE(f.Host.AxisEvents.empty());
}

// ---- range and events ------------------------------------------------------------------------------------

TEST_F(AxisObjectFixture, MinAndSpanClampAndReportEachChange) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetSpan(-5);
  EXPECT_EQ(y->GetSpan(), 1e-300);
  y->SetMin(1e301);
  EXPECT_EQ(y->GetMin(), 1e300);
  y->SetMin(-1e301);
  EXPECT_EQ(y->GetMin(), -1e300);
  y->SetMin(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(y->GetMin(), 1e300);
  y->SetSpan(std::numeric_limits<double>::infinity());
  EXPECT_EQ(y->GetSpan(), 1e300);

  f.Host.AxisEvents.clear();
  y->SetMinSpan(0, 100);
  f.Host.AxisEvents.clear();
  y->SetMin(4);
  EXPECT_THAT(f.Host.AxisEvents, ElementsAre("Min Y 0>4", "MinSpan Y 0,100>4,100"));
  f.Host.AxisEvents.clear();
  y->SetMinSpan(2, 3);
  EXPECT_THAT(f.Host.AxisEvents, ElementsAre("Min Y 4>2", "Span Y 100>3", "MinSpan Y 4,100>2,3"));
  f.Host.AxisEvents.clear();
  y->SetMinSpan(2, 3);
  y->SetMin(2);
  EXPECT_TRUE(f.Host.AxisEvents.empty());

  f.Host.Streaming = true;  // nothing fires while a definition is read
  y->SetMinSpan(7, 8);
  EXPECT_TRUE(f.Host.AxisEvents.empty());
  EXPECT_EQ(y->GetMin(), 7);
}

TEST_F(AxisObjectFixture, LogScaleNeverTakesANonPositiveRange) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetMin(-3);
  f.Host.AxisEvents.clear();
  y->SetScaleType(ipstLog10);
  EXPECT_EQ(y->GetMin(), 1);
  EXPECT_TRUE(f.Host.AxisEvents.empty());
  y->SetMinSpan(0, 0);
  EXPECT_EQ(y->GetMin(), 1);
  EXPECT_EQ(y->GetSpan(), 1);
  // A Min forced below 0 directly still converts without a logarithm of 0.
  y->SetMin(-5);
  y->SetLayoutRect(TRect{0, 0, 40, 300});
  y->CalcScaleGeometry(canvas);
  EXPECT_TRUE(std::isfinite(y->PositionToValue(100)));
  EXPECT_EQ(y->ValueToPosition(1), 300);
}

TEST_F(AxisObjectFixture, ConversionsFollowTheScaleGeometry) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  EXPECT_EQ(x->ValueToPosition(25), 0);  // before any paint: the midpoint of nothing
  x->SetLayoutRect(TRect{50, 200, 450, 240});
  x->CalcScaleGeometry(canvas);
  EXPECT_EQ(x->ValueToPosition(25), 150);
  EXPECT_EQ(x->ValueToPosition(1e9), 32000);
  EXPECT_DOUBLE_EQ(x->PositionToValue(150), 25);
  EXPECT_EQ(x->SpanToPixels(10), 40);
  EXPECT_EQ(x->MinPosition(), 50);
  EXPECT_EQ(x->MaxPosition(), 450);
  EXPECT_EQ(x->ScaleLength(), 400);
  EXPECT_TRUE(x->IsValueVisible(100));
  EXPECT_FALSE(x->ValueOnScale(100.5));
  x->SetReverseScale(true);
  x->CalcScaleGeometry(canvas);
  EXPECT_EQ(x->ValueToPosition(25), 350);
  EXPECT_DOUBLE_EQ(x->PositionToValue(350), 25);
  // The data view's zoom box: pixels 150..250 of the reversed scale are values 75 down to 50.
  x->SetRangeFromRect(TRect{150, 0, 250, 10});
  EXPECT_DOUBLE_EQ(x->GetMin(), 50);
  EXPECT_DOUBLE_EQ(x->GetSpan(), 25);
}

TEST_F(AxisObjectFixture, ZoomAndZoomToFit) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetMinSpan(0, 10);
  y->Zoom(2);
  EXPECT_EQ(y->GetMin(), -5);
  EXPECT_EQ(y->GetSpan(), 20);
  EXPECT_THAT([&] { y->Zoom(0); }, testing::ThrowsMessage<Exception>(
                                       testing::StrEq("Linear Scale Zoom Factor must be Greater than Zero")));
  EXPECT_EQ(y->GetSpan(), 20);

  y->ZoomToFit();  // no data: unchanged
  f.Host.Data = {3, 3};
  y->ZoomToFit();  // all at one value: unchanged
  EXPECT_EQ(y->GetMin(), -5);
  f.Host.Data = {3, 9, -1};
  y->ZoomToFitFast();
  EXPECT_TRUE(f.Host.FastRangeAsked);
  EXPECT_EQ(y->GetMin(), -1);
  EXPECT_EQ(y->GetSpan(), 10);
  // Expand-collapse tracking fits instead of moving by the value.
  f.Host.Data = {0, 50};
  y->SetTrackingStyle(iptsExpandCollapse);
  y->TrackValue(1000);
  EXPECT_FALSE(f.Host.FastRangeAsked);
  EXPECT_EQ(y->GetSpan(), 50);
}

// ---- tracking, pause and resume ----------------------------------------------------------------------

TEST_F(AxisObjectFixture, TrackingFollowsValuesUntilPausedAndResumeRestores) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetTrackingStyle(iptsScaleMax);
  y->SetMinSpan(0, 10);
  y->TrackValue(30);
  EXPECT_EQ(y->GetSpan(), 30);
  y->TrackValue(-5);
  EXPECT_EQ(y->GetMin(), 0);
  y->TrackValue(std::numeric_limits<double>::quiet_NaN());  // ignored
  EXPECT_EQ(y->GetMin(), 0);
  EXPECT_EQ(y->GetSpan(), 30);

  y->SetTrackingEnabled(false);
  y->TrackValue(100);
  EXPECT_EQ(y->GetSpan(), 30);
  y->Zoom(3);
  y->ScrollStep(0.5);
  y->SetLabelsMinLength(9);
  y->SetTrackingEnabled(true);
  EXPECT_EQ(y->GetMin(), 0);
  EXPECT_EQ(y->GetSpan(), 30);
  EXPECT_EQ(y->GetLabelsMinLength(), 5);

  y->SetRestoreValuesOnResume(false);
  y->SetTrackingEnabled(false);
  y->Zoom(2);
  y->SetTrackingEnabled(true);
  EXPECT_EQ(y->GetSpan(), 60);
}

TEST_F(AxisObjectFixture, FirstValueAlignsOnlyOnceUntilReset) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetTrackingAlignFirstStyle(ipafsMin);
  y->TrackValue(42);
  EXPECT_EQ(y->GetMin(), 42);
  y->TrackValue(50);
  EXPECT_EQ(y->GetMin(), 42);
  y->ResetFirstValue();
  y->TrackValue(50);
  EXPECT_EQ(y->GetMin(), 50);
}

// ---- user input ------------------------------------------------------------------------------------------

TEST_F(AxisObjectFixture, WheelScrollsOrZoomsAndPauses) {
  TiPlotXAxis* x = LaidOutX();
  EXPECT_TRUE(x->MouseWheel(0, {}, TPoint{0, 0}));
  EXPECT_TRUE(x->GetTrackingEnabled());
  EXPECT_TRUE(x->MouseWheel(120, {}, TPoint{0, 0}));
  EXPECT_FALSE(x->GetTrackingEnabled());
  EXPECT_DOUBLE_EQ(x->GetMin(), 5);
  x->MouseWheel(-240, {}, TPoint{0, 0});
  EXPECT_DOUBLE_EQ(x->GetMin(), 0);
  x->SetDragMode(1);
  x->MouseWheel(120, {}, TPoint{0, 0});
  EXPECT_DOUBLE_EQ(x->GetSpan(), 100 / std::pow(10.0, 0.025));
  EXPECT_DOUBLE_EQ(x->GetMin() + x->GetSpan() / 2, 50);
  const double span = x->GetSpan();
  x->MouseWheel(120, TShiftState{ssCtrl}, TPoint{0, 0});  // Ctrl: scroll instead
  EXPECT_DOUBLE_EQ(x->GetSpan(), span);
}

TEST_F(AxisObjectFixture, DragScrollsWithTheMouseAndClicksOnRelease) {
  TiPlotXAxis* x = LaidOutX();
  x->SetSelected(true);
  x->MouseDown(mbLeft, {}, 100, 210, 0, 0, nullptr);
  TiHintData hint;
  x->MouseMove(hint, {}, 140, 210, false);  // 40 of 400 px: the range follows by a tenth
  EXPECT_FALSE(x->GetTrackingEnabled());
  EXPECT_DOUBLE_EQ(x->GetMin(), -10);
  EXPECT_EQ(f.Host.Invalidations, 1);
  x->MouseMove(hint, {}, 200, 210, true);  // the drag after a double click does nothing
  EXPECT_DOUBLE_EQ(x->GetMin(), -10);
  f.Host.Events.clear();
  x->MouseUp(mbLeft, {}, 200, 210);
  EXPECT_THAT(f.Host.Events, testing::Contains(AnsiString("Click X-Axis 1")));

  x->SetDragMode(1);  // zoom: right zooms in by a quarter of the fraction
  x->MouseDown(mbLeft, {}, 100, 210, 0, 0, nullptr);
  x->MouseMove(hint, {}, 140, 210, false);
  EXPECT_DOUBLE_EQ(x->GetSpan(), 100 / std::pow(10.0, 0.025));
  f.Host.Events.clear();
  x->MouseUp(mbLeft, {}, 140, 300);  // outside: no click
  EXPECT_THAT(f.Host.Events, testing::Not(testing::Contains(AnsiString("Click X-Axis 1"))));
}

TEST_F(AxisObjectFixture, KeysStepTheRangeAndAnyKeyPauses) {
  TiPlotXAxis* x = LaidOutX();
  WORD key = 'A';
  x->KeyDown(key, {});
  EXPECT_FALSE(x->GetTrackingEnabled());
  EXPECT_EQ(x->GetMin(), 0);
  EXPECT_EQ(f.Host.Invalidations, 0);
  struct {
    WORD Key;
    double Min;
  } steps[] = {{VK_PRIOR, 100}, {VK_HOME, 0}, {VK_RIGHT, 1}, {VK_DOWN, 0}, {VK_END, 100}, {VK_NEXT, 0}};
  for (auto s : steps) {
    key = s.Key;
    x->KeyDown(key, {});
    EXPECT_NEAR(x->GetMin(), s.Min, 1e-9) << s.Key;
  }
  x->SetDragMode(1);
  key = VK_PRIOR;
  x->KeyDown(key, TShiftState{ssCtrl});  // keys ignore Ctrl
  EXPECT_NEAR(x->GetSpan(), 10, 1e-9);
}

TEST_F(AxisObjectFixture, MasterInputMovesEveryAxisOfTheKind) {
  TiPlotXAxis* a = LaidOutX("X-Axis 1");
  TiPlotXAxis* b = LaidOutX("X-Axis 2");
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y-Axis 1");
  a->SetMasterUIInput(true);
  WORD key = VK_PRIOR;
  a->KeyDown(key, {});
  EXPECT_EQ(a->GetMin(), 100);
  EXPECT_EQ(b->GetMin(), 100);
  EXPECT_FALSE(b->GetTrackingEnabled());
  EXPECT_EQ(y->GetMin(), 0);
  b->KeyDown(key, {});  // not a master: only itself
  EXPECT_EQ(a->GetMin(), 100);
  EXPECT_EQ(b->GetMin(), 200);
}

TEST_F(AxisObjectFixture, CursorHintAndSelection) {
  TiPlotXAxis* x = LaidOutX();
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y-Axis 1");
  EXPECT_EQ(x->GetCursor({}), crHandPoint);
  x->SetDragMode(1);
  EXPECT_EQ(x->GetCursor({}), crSizeWE);
  y->SetDragMode(1);
  EXPECT_EQ(y->GetCursor({}), crSizeNS);
  // Ctrl inverts the drag mode for dragging.
  x->SetShiftState(TShiftState{ssCtrl});
  EXPECT_EQ(x->EffectiveDragMode(), 0);

  x->SetTitle("Time(S)");
  TiHintData hint;
  TiMouseRecord r;
  r.X = 120;
  r.Y = 215;
  f.Host.CustomizeHints = true;
  x->Hover(r, hint);
  EXPECT_EQ(hint.Text, "Time(S)!");
  EXPECT_EQ(hint.Left, 120);
  EXPECT_EQ(hint.Top, 195);
  x->SetTitleShow(true);
  TiHintData shown;
  x->Hover(r, shown);
  EXPECT_EQ(shown.Text, "!");

  // Another axis selected with Shift held keeps this one selected; anything else deselects it.
  x->SetShiftState({});
  x->SetSelected(true);
  x->SetShiftState(TShiftState{ssShift});
  x->NotifyObjectSelected(y);
  EXPECT_TRUE(x->GetSelected());
  x->SetShiftState({});
  x->NotifyObjectSelected(y);
  EXPECT_FALSE(x->GetSelected());
}

TEST_F(AxisObjectFixture, ReferenceAxesResolveByNameAndFollowRenames) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X-Axis 1");
  TiPlotXAxis* x2 = f.Make<TiPlotXAxis>("X-Axis 2");
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y-Axis 1");
  EXPECT_EQ(x->CartesianChildRefAxis(), nullptr);
  x->SetCartesianChildRefAxisName("y-axis 1");
  x->SetAlignRefAxisName("X-AXIS 2");
  EXPECT_EQ(x->CartesianChildRefAxis(), y);
  EXPECT_EQ(x->AlignRefAxis(), x2);
  y->SetName("Volts");
  x->NotifyObjectRenamed(y);
  EXPECT_EQ(x->GetCartesianChildRefAxisName(), "Volts");
  EXPECT_EQ(x->CartesianChildRefAxis(), y);
  x2->SetName("Other");
  x->NotifyObjectRenamed(x2);
  EXPECT_EQ(x->GetAlignRefAxisName(), "X-AXIS 2");  // not followed
  x->NotifyObjectRemoved(y);
  f.Host.YList.clear();
  EXPECT_EQ(x->CartesianChildRefAxis(), nullptr);
}

TEST_F(AxisObjectFixture, PopupMenuItemsOnTopOfEdit) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X-Axis 1");
  x->SetUserCanEdit(true);
  f.Host.Translations["Zoom to Fit"] = "Ajuster";
  TPopupMenu menu(nullptr);
  x->BuildPopupMenu(&menu);
  ASSERT_EQ(menu.Items()->Count(), 4);
  EXPECT_EQ(menu.Items()->Items(0)->GetCaption(), "Tracking Enabled");
  EXPECT_TRUE(menu.Items()->Items(0)->GetChecked());
  EXPECT_EQ(menu.Items()->Items(1)->GetCaption(), "Update Resume Values");
  EXPECT_FALSE(menu.Items()->Items(1)->GetEnabled());
  EXPECT_EQ(menu.Items()->Items(2)->GetCaption(), "Ajuster");
  EXPECT_EQ(menu.Items()->Items(3)->GetCaption(), "Edit...");

  menu.Items()->Items(0)->Click();  // pause
  EXPECT_FALSE(x->GetTrackingEnabled());
  x->SetMinSpan(3, 4);
  x->BuildPopupMenu(&menu);
  ASSERT_EQ(menu.Items()->Count(), 4);
  EXPECT_TRUE(menu.Items()->Items(1)->GetEnabled());
  menu.Items()->Items(1)->Click();  // the current range becomes the one to resume to
  x->SetMinSpan(0, 1);
  x->SetTrackingEnabled(true);
  EXPECT_EQ(x->GetMin(), 3);
  EXPECT_EQ(x->GetSpan(), 4);
}

// ---- texts
// -------------------------------------------------------------------------------------------------

TEST_F(AxisObjectFixture, TextsUseTheirSettingsAndTheCustomizeEvent) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  EXPECT_EQ(y->LabelText(25), "25");
  y->SetCursorUseDefaultFormat(false);
  y->SetCursorFormatStyle(iptfPrefix);
  EXPECT_EQ(y->CursorText(12000), "12.0K");
  EXPECT_EQ(y->CursorValueText(12000), "12000");
  y->SetLegendUseDefaultFormat(false);
  y->SetLegendFormatStyle(iptfDateTime);
  y->SetLegendDateTimeFormat("Jhh:nn");
  EXPECT_EQ(y->LegendText(2.5), "2 12:00");

  f.Host.CustomizeLabels = true;
  EXPECT_EQ(y->LabelText(25), "<25|25>");
  y->SetScaleType(ipstLog10);
  EXPECT_EQ(y->LabelText(-1), "Unknown");  // no event for a value a log scale cannot show
  f.Host.CustomizeLabels = false;

  // Line breaks a customize event may put in become blanks in cursor and legend texts.
  y->SetScaleType(ipstLinear);
  y->SetLegendUseDefaultFormat(true);
  y->SetLabelsFormatStyle(iptfDateTime);
  y->SetDateTimeFormat("hh'\r\n'nn'\r'ss");
  EXPECT_EQ(y->LegendText(0.5), "12 00 00");
}

TEST_F(AxisObjectFixture, MeasuringRaisesTheMinimumLength) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetLabelsMinLengthAutoAdjust(true);
  y->LabelText(123456789);  // plain label texts do not adjust
  EXPECT_EQ(y->GetLabelsMinLength(), 5);
  y->MeasureLabelText(123456789);
  EXPECT_EQ(y->GetLabelsMinLength(), 9);
  y->SetLabelsMinLengthAutoAdjust(false);
  y->MeasureLabelText(12345678901.0);
  EXPECT_EQ(y->GetLabelsMinLength(), 9);
}

}  // namespace
