// The value model and scale: clamps and events of Position and the current range, the bounds,
// end-of-gesture notification, limits, automatic scales, stored definitions read without
// events; and the support lists' bounds.
#include <gtest/gtest.h>

#include "platform/runtime/FormText.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iClasses.h"
#include "widgets/iScaleComponent.h"

namespace widgets_test {

// A concrete scale control for the tests.
class TTestScale : public TiScaleComponent {
  PL_CLASS(TTestScale)
 public:
  explicit TTestScale(TComponent* AOwner) : TiScaleComponent(AOwner) {}
  void PaintToCanvas(TCanvas* Canvas) override { DrawBackGround(Canvas, GetBackGroundColor()); }
  using TiPositionComponent::SetUserChangeInProgress;
};

const TClassInfo& TTestScale::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestScale, TiScaleComponent>("TTestScale");
  return info;
}

namespace {

struct TEventLog {
  std::vector<std::string> Seen;
  void Hook(TiPositionComponent* c) {
    auto note = [this](const char* what) {
      return TNotifyEvent::Lambda([this, what](TObject*) { Seen.push_back(what); });
    };
    c->OnPositionChange = note("Change");
    c->OnPositionChangeUser = note("User");
    c->OnPositionChangeFinished = note("Finished");
    c->OnCurrentMaxChange = note("CurMax");
    c->OnCurrentMinChange = note("CurMin");
    c->OnPositionOverMax = note("OverMax");
    c->OnPositionUnderMin = note("UnderMin");
    c->OnPositionOverLimit = TOnPositionLimit::Lambda(
        [this](TObject*, int32_t i) { Seen.push_back("OverLimit" + std::to_string(i)); });
    c->OnPositionUnderLimit = TOnPositionLimit::Lambda(
        [this](TObject*, int32_t i) { Seen.push_back("UnderLimit" + std::to_string(i)); });
  }
  std::vector<std::string> Take() { return std::exchange(Seen, {}); }
};
using Strings = std::vector<std::string>;

TEST(ValueModel, PositionClampsAndFiresItsEvents) {
  TTestScale s(nullptr);
  TEventLog log;
  log.Hook(&s);
  s.SetPosition(150);
  EXPECT_EQ(s.GetPosition(), 100);
  EXPECT_EQ(s.GetCurrentMax(), 100);
  EXPECT_EQ(log.Take(), (Strings{"CurMax", "Change"}));
  s.SetPosition(100);
  EXPECT_TRUE(log.Take().empty()) << "an equal value fires nothing";

  s.SetUserChangeInProgress(true);
  s.SetPosition(40);
  s.SetUserChangeInProgress(false);
  EXPECT_EQ(log.Take(), (Strings{"Change", "User"}));

  s.NotifyPositionChangeFinished();
  s.NotifyPositionChangeFinished();
  EXPECT_EQ(log.Take(), (Strings{"Finished"})) << "once per changed gesture";

  // A vetoing property-changing hook stops the change before it is stored.
  s.OnPropertyChanging = TiPropertyChangingEvent::Lambda(
      [](TObject*, const AnsiString& n, bool& allow) { allow = n != "Position"; });
  s.SetPosition(10);
  EXPECT_EQ(s.GetPosition(), 40);
  s.OnPropertyChanging = nullptr;

  s.SetMinMaxFixed(true);
  s.SetCurrentMax(50);
  log.Take();
  s.SetPosition(60);
  EXPECT_EQ(s.GetCurrentMax(), 50);
  EXPECT_EQ(log.Take(), (Strings{"OverMax", "Change"}));
  s.SetMinMaxFixed(false);

  s.AddLimit(20, 55);
  s.SetPosition(70);
  s.SetPosition(10);
  EXPECT_EQ(log.Take(), (Strings{"CurMax", "OverLimit0", "Change", "UnderLimit0", "Change"}));
  EXPECT_THROW(s.GetLimit(1), EListError);
}

TEST(ValueModel, BoundsClampPositionAndCurrentRange) {
  TTestScale s(nullptr);
  TEventLog log;
  s.SetPosition(30);
  log.Hook(&s);
  s.SetPositionMax(20);
  EXPECT_EQ(s.GetPosition(), 20);
  EXPECT_EQ(s.GetCurrentMax(), 20);
  // The current range is clamped first, so the position lies above it for a moment.
  EXPECT_EQ(log.Take(), (Strings{"CurMax", "OverMax", "Change"}));

  // Crossed bounds are stored; the minimum wins.
  s.SetPositionMin(10);
  s.SetPositionMax(5);
  EXPECT_EQ(s.GetPositionMin(), 10);
  EXPECT_EQ(s.GetPositionMax(), 5);
  s.SetPosition(7);
  EXPECT_EQ(s.GetPosition(), 10);

  struct Case {
    double value, fraction;
  } cases[] = {{-1, 0}, {0, 0}, {25, 0.25}, {100, 1}, {150, 1}};
  TTestScale f(nullptr);
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(f.PositionFraction(c.value), c.fraction) << c.value;
}

TEST(ValueModel, AutomaticScale) {
  TTestScale s(nullptr);
  s.SetAutoScaleEnabled(true);
  s.SetPositionMax(97);
  EXPECT_EQ(s.GetPositionMin(), 0);
  EXPECT_EQ(s.GetPositionMax(), 100);
  EXPECT_EQ(s.Scale()->GetTickMajorCount(), 5);

  TTestScale f(nullptr);
  f.SetAutoScaleStyle(iassFixedMinMax);
  f.SetAutoScaleEnabled(true);
  f.SetPositionMax(97);
  EXPECT_EQ(f.GetPositionMax(), 97);
  EXPECT_DOUBLE_EQ(f.InnerMin(), 0);
  EXPECT_DOUBLE_EQ(f.InnerMax(), 80);
  EXPECT_DOUBLE_EQ(f.Scale()->InnerMax(), 80);

  f.Scale()->SetTickLabelPrecision(1);
  EXPECT_EQ(f.GetTickLabelDecimals(), 1);
  f.Scale()->SetTickMajorCount(500);
  f.Scale()->SetTickMinorLength(-3);
  EXPECT_EQ(f.Scale()->GetTickMajorCount(), 100);
  EXPECT_EQ(f.Scale()->GetTickMinorLength(), 1);
}

TEST(ValueModel, DefinitionsAreReadWithoutEventsAndRawValues) {
  TTestScale s(nullptr);
  TEventLog log;
  log.Hook(&s);
  ReadComponentText(
      "object S: TTestScale\n"
      "  Position = 150.000000000000000000\n"
      "  CurrentMax = 120.000000000000000000\n"
      "  PositionMax = 50.000000000000000000\n"
      "  PositionMax_2 = 200.000000000000000000\n"
      "end\n",
      &s);
  EXPECT_TRUE(log.Take().empty());
  EXPECT_EQ(s.GetPosition(), 150) << "stored raw, not re-clamped";
  EXPECT_EQ(s.GetCurrentMax(), 120);
  EXPECT_EQ(s.GetPositionMax(), 200) << "the defined property wins, after the published ones";

  // Written back: the defined property always follows.
  const AnsiString text = WriteComponentText(&s);
  EXPECT_NE(text.find("PositionMax_2 = 200"), AnsiString::npos) << text;
}

TEST(SupportLists, MinMaxPointAndBounds) {
  TiPlotMinMaxPoint p;
  for (double y : {5.0, 2.0, 9.0}) p.Accumulate(7, 1.5, y);
  EXPECT_EQ(p.FirstY, 5);
  EXPECT_EQ(p.Min, 2);
  EXPECT_EQ(p.Max, 9);
  EXPECT_EQ(p.LastY, 9);
  p.Reset();
  EXPECT_TRUE(p.Empty);
  EXPECT_EQ(p.Pixel, 7);
  EXPECT_EQ(p.FirstY, 5);
  TiPlotMinMaxPoint q;
  q.CopyFrom(p);
  EXPECT_EQ(q.Pixel, 7);
  EXPECT_TRUE(q.Empty);

  TDigitalSequenceData d;
  d.Started = d.Continued = d.Ended = true;
  d.StartX = 3;
  d.Clear();
  EXPECT_FALSE(d.Started || d.Continued || d.Ended);
  EXPECT_EQ(d.StartX, 3);

  TiLimitDataList list;
  for (int32_t i : {0, -1, 1}) {
    try {
      list.GetPosition(i);
      ADD_FAILURE() << i;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message, "Index out of Bounds");
    }
  }
  EXPECT_THROW(list.GetLine2(0), EListError);
}

}  // namespace
}  // namespace widgets_test
