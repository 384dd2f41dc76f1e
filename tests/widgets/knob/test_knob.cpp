// The knob: angles, drags (across the line left of the centre, at the bounds, ended by focus
// loss), keys and the wheel with one end-of-gesture event each, indicator and body pixels, the
// automatic radius, setter clamps, stored definitions, and a screenshot of a panel of a knob and
// two seven-segment displays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "platform/display/Display.h"
#include "platform/runtime/FormText.h"
#include "tests/support/TestOutput.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;

class Knob : public UiTest {
 protected:
  // A shown knob of 150 x 150 at (20, 20) of a form, radius 40, without the automatic radius.
  TiKnob* NewKnob() {
    form_ = NewForm(300, 200);
    auto* k = ui_test::Make<TiKnob>(form_, form_, "K", Rect(20, 20, 170, 170));
    k->SetAutoSize(false);
    k->SetKnobRadius(40);
    k->OnPositionChange = TNotifyEvent::Lambda([this](TObject*) { seen_.push_back("Change"); });
    k->OnPositionChangeUser = TNotifyEvent::Lambda([this](TObject*) { seen_.push_back("User"); });
    k->OnPositionChangeFinished = TNotifyEvent::Lambda([this](TObject*) { seen_.push_back("Finished"); });
    ShowForm(form_);
    return k;
  }
  // A client point at a screen angle (0 right, counter-clockwise) and distance from the centre.
  TPoint Polar(TiKnob* k, double degrees, double r) {
    const double a = degrees * M_PI / 180;
    const TPoint c = k->LastCenter();
    return At(k, c.X + int(std::lround(r * std::cos(a))), c.Y - int(std::lround(r * std::sin(a))));
  }
  // The counter-clockwise screen angle of a screen point around the knob's centre.
  double AngleOf(TiKnob* k, TPoint screen) {
    const TPoint p = k->ScreenToClient(screen), c = k->LastCenter();
    return std::atan2(double(c.Y - p.Y), double(p.X - c.X)) * 180 / M_PI;
  }
  std::vector<std::string> Take() { return std::exchange(seen_, {}); }
  int Count(const char* what) const { return int(std::count(seen_.begin(), seen_.end(), what)); }
  void Wheel(TiKnob* k, int delta) {
    InputMouseWheel(delta, At(k, 75, 75));
    ui_test::Pump();
  }

  TForm* form_ = nullptr;
  std::vector<std::string> seen_;
};

TEST_F(Knob, AnglesOfValues) {
  TiKnob* k = NewKnob();
  struct Case {
    double Value, Screen;
  };
  for (const Case& c : {Case{0, 225}, {50, 90}, {100, -45}, {150, -45}}) {
    EXPECT_DOUBLE_EQ(k->ValueToScreenAngle(c.Value), c.Screen) << c.Value;
  }
  k->SetPosition(25);
  EXPECT_DOUBLE_EQ(k->KnobAngle(), 67.5);
  k->SetPositionFromAngle(135);
  EXPECT_DOUBLE_EQ(k->GetPosition(), 50);
  // A knob that does not turn keeps its value rather than taking NaN from the angle.
  k->SetRotationMaxDegrees(0);
  k->SetPositionFromAngle(10);
  EXPECT_EQ(k->GetPosition(), 50);
}

TEST_F(Knob, DragAcrossTheLineLeftOfTheCentreDoesNotJump) {
  TiKnob* k = NewKnob();
  k->SetPosition(50);
  Take();
  // From 170 degrees (left, above the line) clockwise to 190 degrees (below it): a 20 degree turn
  // counter-clockwise on screen lowers the value by 20 / 270 of the range.
  const TPoint p1 = Polar(k, 170, 38), p2 = Polar(k, 180.5, 38), p3 = Polar(k, 190, 38),
               p4 = Polar(k, 175, 38);
  const double a1 = AngleOf(k, p1), a3 = AngleOf(k, p3) + 360, a4 = AngleOf(k, p4);
  ASSERT_LT(AngleOf(k, p3), 0) << "the last point lies below the line";
  ui_test::Press(p1);
  EXPECT_TRUE(k->Dragging());
  ui_test::MoveTo(p2);
  ui_test::MoveTo(p3);
  EXPECT_NEAR(k->GetPosition(), 50 - (a3 - a1) * 100 / 270, 1e-9);
  // Back clockwise across the line again.
  ui_test::MoveTo(p4);
  EXPECT_NEAR(k->GetPosition(), 50 - (a4 - a1) * 100 / 270, 1e-9);
  EXPECT_EQ(Count("Finished"), 0);
  EXPECT_GT(Count("User"), 0);
  ui_test::Release(p4);
  EXPECT_FALSE(k->Dragging());
  EXPECT_EQ(Count("Finished"), 1) << "once per gesture";

  // Clockwise raises the value; it stops at the bound while the hand goes on, and turns back as
  // soon as the hand does.
  k->SetPosition(95);
  Take();
  ui_test::Press(Polar(k, 90, 30));
  for (int a = 80; a >= -60; a -= 10) ui_test::MoveTo(Polar(k, a, 30));
  EXPECT_EQ(k->GetPosition(), 100);
  const TPoint back = Polar(k, -50, 30);
  ui_test::MoveTo(back);
  EXPECT_NEAR(k->GetPosition(), 100 - (AngleOf(k, back) - AngleOf(k, Polar(k, -60, 30))) * 100 / 270, 1e-9);
  ui_test::Release(Polar(k, -50, 30));
  EXPECT_EQ(Count("Finished"), 1);
}

TEST_F(Knob, PressInsideTheRadiusStartsADragOnly) {
  TiKnob* k = NewKnob();
  const TPoint c = k->LastCenter();
  ui_test::Press(At(k, c.X + 39, c.Y));
  EXPECT_TRUE(k->Dragging()) << "one pixel inside";
  ui_test::Release(At(k, c.X + 39, c.Y));
  ui_test::Press(At(k, c.X + 40, c.Y));
  EXPECT_FALSE(k->Dragging()) << "at the radius";
  EXPECT_TRUE(k->Focused()) << "a press outside the body still takes the focus";
  ui_test::Release(At(k, c.X + 40, c.Y));
  // A release without a change raises no end-of-gesture event.
  EXPECT_EQ(Count("Finished"), 0);
}

TEST_F(Knob, FocusLossEndsADrag) {
  TiKnob* k = NewKnob();
  auto* other = ui_test::Make<TiKnob>(form_, form_, "K2", Rect(180, 20, 280, 120));
  ui_test::Pump();
  ui_test::Press(Polar(k, 90, 20));
  ui_test::MoveTo(Polar(k, 60, 20));
  ASSERT_GT(k->GetPosition(), 0);
  other->SetFocus();
  ui_test::Pump();
  EXPECT_FALSE(k->Dragging());
  EXPECT_EQ(Count("Finished"), 1) << "the drag ended with its notification";
  const double kept = k->GetPosition();
  ui_test::MoveTo(Polar(k, 0, 20));
  EXPECT_EQ(k->GetPosition(), kept) << "moves after the focus loss turn nothing";
  ui_test::Release(Polar(k, 0, 20));
  EXPECT_EQ(Count("Finished"), 1);
}

TEST_F(Knob, KeysStepAndEndTheirGestureOnRelease) {
  TiKnob* k = NewKnob();
  k->SetFocus();
  ui_test::Pump();
  struct Case {
    UINT Key;
    double Before, After;
  };
  k->SetKeyArrowStepSize(0.5);
  k->SetKeyPageStepSize(10);
  for (const Case& c : {Case{VK_RIGHT, 50, 50.5},
                        {VK_UP, 50, 50.5},
                        {VK_LEFT, 50, 49.5},
                        {VK_DOWN, 50, 49.5},
                        {VK_PRIOR, 50, 60},
                        {VK_NEXT, 50, 40},
                        {VK_HOME, 50, 0},
                        {VK_END, 50, 100},
                        {VK_PRIOR, 95, 100}}) {
    k->SetPosition(c.Before);
    Take();
    InputKey(c.Key, true);
    ui_test::Pump();
    EXPECT_EQ(k->GetPosition(), c.After) << c.Key;
    EXPECT_EQ(Take(), (std::vector<std::string>{"Change", "User"})) << c.Key;
    InputKey(c.Key, false);
    ui_test::Pump();
    EXPECT_EQ(Take(), (std::vector<std::string>{"Finished"})) << c.Key;
  }
  EXPECT_TRUE(k->Focused()) << "the arrows stay with the knob";

  // At the minimum the left arrow changes nothing: no event, and none on release either.
  k->SetPosition(0);
  ui_test::Key(VK_HOME);
  Take();
  ui_test::Key(VK_LEFT);
  EXPECT_TRUE(Take().empty());

  // Without the keyboard the keys do nothing.
  k->SetUseKeyboard(false);
  k->SetPosition(50);
  Take();
  ui_test::Key(VK_PRIOR);
  EXPECT_EQ(k->GetPosition(), 50);
  EXPECT_TRUE(Take().empty());
}

TEST_F(Knob, TenWheelMessagesWithin30MsMakeOneStep) {
  TiKnob* k = NewKnob();
  k->SetPosition(50);
  k->SetMouseWheelStepSize(2);
  Take();
  for (int i = 0; i < 10; ++i) {
    Wheel(k, 120);
    clock_.Advance(2);
  }
  EXPECT_EQ(k->GetPosition(), 52);
  EXPECT_EQ(Take(), (std::vector<std::string>{"Change", "User", "Finished"}));
  clock_.Advance(30);
  Wheel(k, -360);
  EXPECT_EQ(k->GetPosition(), 50) << "one step whatever the delta";
  // The wall clock set back does not stop the wheel: it runs on monotonic ticks.
  clock_.SetDateTime(clock_.LocalNow() - 1.0 / 24);
  clock_.Advance(30);
  Wheel(k, -120);
  EXPECT_EQ(k->GetPosition(), 48);
}

// ---- painting -------------------------------------------------------------------------------------

class KnobPixels : public ::testing::Test {
 protected:
  // Paints the knob on a bitmap with only the body and the indicator.
  static TBitmap* Paint(TiKnob& k, TBitmap& b) {
    b.SetSize(k.Width(), k.Height());
    k.PaintToCanvas(b.GetCanvas());
    return &b;
  }
  static uint32_t Rgb(TBitmap& b, TPoint p) {
    COLORREF v = COLORREF(b.GetCanvas()->GetPixel(p.X, p.Y));
    return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
  }
};

TEST_F(KnobPixels, IndicatorPointsAtTheValue) {
  TiKnob k(nullptr);
  k.SetBounds(0, 0, 150, 150);
  k.SetAutoSize(false);
  k.SetKnobRadius(40);
  k.Scale()->SetShowTicksMajor(false);
  k.Scale()->SetShowTicksMinor(false);
  k.Scale()->SetShowTickLabels(false);
  k.SetIndicatorStyle(ikisDot);
  k.SetIndicatorInactiveColor(TColor(0x0000FF));
  // The dot's centre lies 40 - 5 - 4 = 31 from the centre (75, 75).
  struct Case {
    double Value, Degrees;
  };
  for (const Case& c : {Case{0, 225}, {50, 90}, {100, -45}}) {
    k.SetPosition(c.Value);
    TBitmap b;
    Paint(k, b);
    const TPoint at = TiComponent::PolarPoint({75, 75}, 31, c.Degrees);
    EXPECT_EQ(Rgb(b, at), 0xFF0000u) << c.Value;
    const TPoint opposite = TiComponent::PolarPoint({75, 75}, 31, c.Degrees + 180);
    EXPECT_NE(Rgb(b, opposite), 0xFF0000u) << c.Value;
  }
  // Equal bounds: the indicator points right.
  k.SetPositionMin(5);
  k.SetPositionMax(5);
  TBitmap b;
  Paint(k, b);
  EXPECT_EQ(Rgb(b, {75 + 31, 75}), 0xFF0000u);
}

TEST_F(KnobPixels, BodyIsLightUpperLeftWhenRaisedAndTheEdgeStylesHaveAFlatTop) {
  struct Case {
    TiKnobStyle Style;
    bool LightUpperLeft, Flat;
  };
  for (const Case& c : {Case{iksRaised, true, false},
                        {iksSunken, false, false},
                        {iksRaisedEdge, true, true},
                        {iksSunkenEdge, false, true}}) {
    TiKnob k(nullptr);
    k.SetBounds(0, 0, 150, 150);
    k.SetAutoSize(false);
    k.SetKnobRadius(40);
    k.SetKnobStyle(c.Style);
    k.SetIndicatorStyle(ikisLineCustom);
    TBitmap b;
    Paint(k, b);
    auto brightness = [&](TPoint p) {
      const uint32_t v = Rgb(b, p);
      return int((v >> 16) & 0xFF) + int((v >> 8) & 0xFF) + int(v & 0xFF);
    };
    // On the rim, outside the flat top of the edge styles.
    const int ul = brightness({75 - 27, 75 - 27}), lr = brightness({75 + 26, 75 + 26});
    EXPECT_EQ(ul > lr, c.LightUpperLeft) << int(c.Style) << ": " << ul << " vs " << lr;
    const uint32_t face = ScreenRgb(clBtnFace);
    EXPECT_EQ(Rgb(b, {75 - 10, 75 + 5}) == face, c.Flat) << int(c.Style);
  }
}

TEST_F(KnobPixels, AutomaticRadiusFitsTheScale) {
  TiKnob k(nullptr);
  k.SetBounds(0, 0, 150, 150);
  TBitmap b;
  b.SetSize(150, 150);
  k.Scale()->SetShowTickLabels(false);
  k.AutoSizeKnobRadius(b.GetCanvas());
  EXPECT_EQ(k.GetKnobRadius(), (150 - 4 - 2 * (5 + 7)) / 2);
  k.Scale()->SetShowTicksMajor(false);
  k.Scale()->SetShowTicksMinor(false);
  k.AutoSizeKnobRadius(b.GetCanvas());
  EXPECT_EQ(k.GetKnobRadius(), 73);
  // With labels: the widest label's reach along the axes counts once more.
  k.Scale()->SetShowTickLabels(true);
  k.AutoSizeKnobRadius(b.GetCanvas());
  b.GetCanvas()->GetFont()->Assign(k.Scale()->GetTickLabelFont());
  const int32_t w = b.GetCanvas()->TextWidth("100"), h = b.GetCanvas()->TextHeight("100");
  EXPECT_EQ(k.GetKnobRadius(), (146 - std::max(w, h) - 2 * (5 + 7 + 15 + 4)) / 2);
}

TEST(KnobSettings, ClampsDefaultsAndDefinitions) {
  TiKnob k(nullptr);
  EXPECT_EQ(k.Width(), 150);
  EXPECT_TRUE(k.GetTabStop());
  EXPECT_EQ(k.Scale()->GetTickMinorColor(), TColor(0x808080));
  EXPECT_EQ(k.Scale()->GetTickLabelMargin(), 15);
  ASSERT_NE(k.GetBackGroundPicture(), nullptr);
  k.SetIndicatorSize(0);
  EXPECT_EQ(k.GetIndicatorSize(), 1);
  k.SetPositionDisplayPrecision(-1);
  EXPECT_EQ(k.GetPositionDisplayPrecision(), 0);
  k.SetPositionDisplayUnits("   ");
  EXPECT_EQ(k.GetPositionDisplayUnits(), "");
  k.SetPositionDisplayUnits(" V");
  EXPECT_EQ(k.GetPositionDisplayUnits(), " V");

  int changes = 0;
  k.OnPositionChange = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  ReadComponentText(
      "object K: TiKnob\n"
      "  KnobRadius = 29\n"
      "  AutoSize = False\n"
      "  Position = 12.5\n"
      "  KeyArrowStepSize = 0.25\n"
      "  KeyArrowStepSize_2 = 0.5\n"
      "  KeyPageStepSize_2 = 5\n"
      "  TickMajorCount = 11\n"
      "end\n",
      &k);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(k.GetKnobRadius(), 29);
  EXPECT_FALSE(k.GetAutoSize());
  EXPECT_EQ(k.GetPosition(), 12.5);
  EXPECT_EQ(k.GetKeyArrowStepSize(), 0.5) << "the defined property, read after the published ones";
  EXPECT_EQ(k.GetKeyPageStepSize(), 5);
  EXPECT_EQ(k.Scale()->GetTickMajorCount(), 11);

  const AnsiString text = WriteComponentText(&k);
  for (const char* line :
       {"KeyArrowStepSize_2 = 0.5", "KeyPageStepSize_2 = 5", "TickMajorCount = 11", "KnobRadius = 29"})
    EXPECT_NE(text.find(line), AnsiString::npos) << line << "\n" << text;
  for (const char* absent : {"TabStop", "KnobStyle", "TickMinorColor", "TickLabelMargin"})
    EXPECT_EQ(text.find(absent), AnsiString::npos) << absent << "\n" << text;
}

TEST(KnobSettings, PropertyFileRoundTrip) {
  TiKnob a(nullptr), b(nullptr);
  a.SetKeyArrowStepSize(0.25);
  a.Scale()->SetTickMajorCount(11);
  a.SetIndicatorStyle(ikisTriangle);
  a.SetPositionMax(30);
  a.SetPosition(12.5);
  const std::string path = OutputPath("widgets-knob-properties.txt");
  a.SavePropertyFile(path);
  b.LoadPropertyFile(path);
  std::remove(path.c_str());
  EXPECT_EQ(b.GetKeyArrowStepSize(), 0.25);
  EXPECT_EQ(b.Scale()->GetTickMajorCount(), 11) << "the scale's settings are the knob's own properties";
  EXPECT_EQ(b.GetIndicatorStyle(), ikisTriangle);
  EXPECT_EQ(b.GetPositionMax(), 30);
  EXPECT_EQ(b.GetPosition(), 12.5);
}

// ---- a screenshot ---------------------------------------------------------------------------------

TEST_F(Knob, ScreenshotOfAPanel) {
  TForm* f = NewForm(430, 200);
  f->SetCaption("Knob and displays");
  auto* k = ui_test::Make<TiKnob>(f, f, "Voltage", Rect(10, 10, 190, 190));
  k->SetPositionMax(30);
  k->SetShowPostionDisplay(true);
  k->SetPositionDisplayUnits(" V");
  k->SetKnobStyle(iksRaisedEdge);
  k->SetPosition(12.5);
  auto* set = ui_test::Make<TiSevenSegmentAnalog>(f, f, "Set", Rect(200, 30, 200, 30));
  set->SetDigitCount(7);
  set->SetPrecision(4);
  set->SetSegmentColor(TColor(65408));
  set->SetBorderStyle(ibsLowered);
  set->SetSegmentSize(2);
  set->SetValue(12.5);
  auto* read = ui_test::Make<TiSevenSegmentAnalog>(f, f, "Read", Rect(200, 110, 200, 110));
  read->SetDigitCount(7);
  read->SetPrecision(4);
  read->SetSegmentColor(TColor(0x0000FF));
  read->SetBorderStyle(ibsLowered);
  read->SetSegmentSize(2);
  read->SetValue(-1000.0);
  ShowForm(f);
  k->SetFocus();
  ui_test::Pump();
  ASSERT_TRUE(SaveWindowPng(f->Handle(), OutputPath("widgets_knob_panel.png")));
  EXPECT_LE(set->Left() + set->Width(), 430) << "the displays fit the form";
}

}  // namespace
}  // namespace widgets_test
