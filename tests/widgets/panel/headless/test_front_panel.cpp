// The front panel of every instrument widget driven by the mouse, the wheel and the keys: each
// input reaches the widget it was aimed at, the wiring carries the value to the others, and each
// gesture raises its user events once; then a screenshot of the panel.
#include <cmath>

#include "tests/support/TestOutput.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "tests/widgets/panel/FrontPanel.h"

namespace widgets_test {
namespace {

using front_panel::TFrontPanel;
using Strings = std::vector<std::string>;

class FrontPanel : public ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    front_panel::BuildFrontPanel(NewForm(460, 260), p_);
    ShowForm(p_.Form);
  }
  // A screen point at a screen angle (0 right, counter-clockwise) and distance from the knob's
  // centre, and the angle of a screen point.
  TPoint Polar(double degrees, double r) {
    const double a = degrees * M_PI / 180;
    const TPoint c = p_.Knob->LastCenter();
    return At(p_.Knob, c.X + int(std::lround(r * std::cos(a))), c.Y - int(std::lround(r * std::sin(a))));
  }
  double AngleOf(TPoint screen) {
    const TPoint q = p_.Knob->ScreenToClient(screen), c = p_.Knob->LastCenter();
    return std::atan2(double(c.Y - q.Y), double(q.X - c.X)) * 180 / M_PI;
  }
  void Click(TControl* c, int x, int y) {
    ui_test::Press(At(c, x, y));
    ui_test::Release(At(c, x, y));
  }
  int Count(const Strings& events, const char* what) {
    return int(std::count(events.begin(), events.end(), what));
  }
  // The set value shows on the upper display, in the entry and, with the output on, below.
  void ExpectSetValueShown(double v, bool outputOn) {
    EXPECT_DOUBLE_EQ(p_.SetDisplay->GetValue(), v);
    EXPECT_DOUBLE_EQ(p_.Entry->GetValue(), v);
    EXPECT_DOUBLE_EQ(p_.OutDisplay->GetValue(), outputOn ? v : 0.0);
  }

  TFrontPanel p_;
};

TEST_F(FrontPanel, KnobDragWheelAndKeysSetTheValueEverywhereWithOneFinishPerGesture) {
  const double r = p_.Knob->GetKnobRadius() - 6;
  const TPoint from = Polar(90, r), to = Polar(0, r);
  ui_test::Press(from);
  EXPECT_TRUE(p_.Knob->Dragging());
  EXPECT_TRUE(p_.Knob->Focused());
  for (int a = 60; a >= 0; a -= 30) ui_test::MoveTo(Polar(a, r));
  ui_test::Release(to);
  // A quarter turn clockwise of the knob's 270 degrees over 0..30.
  const double dragged = 5 + (AngleOf(from) - AngleOf(to)) * 30 / 270;
  EXPECT_NEAR(p_.Knob->GetPosition(), dragged, 1e-9);
  EXPECT_NEAR(dragged, 15, 0.3);
  ExpectSetValueShown(p_.Knob->GetPosition(), false);
  Strings e = p_.TakeEvents();
  EXPECT_GE(Count(e, "Knob.User"), 1);
  EXPECT_EQ(Count(e, "Knob.Finished"), 1);
  EXPECT_EQ(e.back(), "Knob.Finished");

  // One wheel notch is one step, whatever the delta.
  const double before = p_.Knob->GetPosition();
  clock_.Advance(100);
  InputMouseWheel(240, At(p_.Knob, 90, 90));
  ui_test::Pump();
  EXPECT_NEAR(p_.Knob->GetPosition(), before + 0.5, 1e-9);
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Knob.User", "Knob.Finished"}));

  // The arrow keys of the focused knob: the finish comes with the key's release.
  InputKey(VK_RIGHT, true);
  ui_test::Pump();
  EXPECT_NEAR(p_.Knob->GetPosition(), before + 0.6, 1e-9);
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Knob.User"}));
  InputKey(VK_RIGHT, false);
  ui_test::Pump();
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Knob.Finished"}));
  ui_test::Key(VK_HOME);
  EXPECT_EQ(p_.Knob->GetPosition(), 0);
  ExpectSetValueShown(0, false);
}

TEST_F(FrontPanel, TypedValueSwitchModeAndKeyLock) {
  // A typed value, with the other decimal separator and the units, applied by Enter.
  Click(p_.Entry, 20, 10);
  EXPECT_TRUE(p_.Entry->Focused());
  ui_test::KeyWith(VK_CONTROL, 'A');
  InputChars(u"12,5v");
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(p_.Knob->GetPosition(), 5) << "typing alone applies nothing";
  ui_test::Key(VK_RETURN);
  EXPECT_EQ(p_.Entry->GetEditText(), "12.50V");
  EXPECT_DOUBLE_EQ(p_.Knob->GetPosition(), 12.5);
  ExpectSetValueShown(12.5, false);
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Entry.User"})) << "the knob set by code raises no user event";

  // The switch turns the output on: its lamp lights and the lower display shows the value.
  Click(p_.Output, 12, 12);
  EXPECT_TRUE(p_.Output->GetActive());
  EXPECT_TRUE(p_.OutputLamp->GetActive());
  ExpectSetValueShown(12.5, true);
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Output.User"}));

  // Current mode by the mouse (a user change), back by a key (no user event), then again.
  const TPoint current = p_.Mode->ItemCenter(1);
  Click(p_.Mode, current.X + 15, current.Y);
  EXPECT_EQ(p_.Mode->GetItemIndex(), 1);
  EXPECT_TRUE(p_.CurrentLamp->GetActive());
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Mode.Change", "Mode.User"}));
  ui_test::Key(VK_UP);
  EXPECT_EQ(p_.Mode->GetItemIndex(), 0);
  EXPECT_FALSE(p_.CurrentLamp->GetActive());
  EXPECT_EQ(p_.TakeEvents(), (Strings{"Mode.Change"}));
  Click(p_.Mode, current.X + 15, current.Y);
  EXPECT_TRUE(p_.CurrentLamp->GetActive());

  // Locked keys: the check box's space bar and the knob's arrows no longer turn it.
  Click(p_.KeyLock, 6, 8);
  EXPECT_TRUE(p_.KeyLock->GetChecked());
  p_.TakeEvents();
  ui_test::Key(VK_SPACE);
  EXPECT_FALSE(p_.KeyLock->GetChecked());
  ui_test::Key(VK_SPACE);
  EXPECT_TRUE(p_.KeyLock->GetChecked());
  EXPECT_EQ(p_.TakeEvents(), (Strings{"KeyLock.User", "KeyLock.User"}));
  EXPECT_FALSE(p_.Knob->GetUseKeyboard());
  const TPoint c = p_.Knob->LastCenter();
  Click(p_.Knob, c.X, c.Y - 10);
  ASSERT_TRUE(p_.Knob->Focused());
  p_.TakeEvents();
  ui_test::Key(VK_RIGHT);
  ui_test::Key(VK_END);
  EXPECT_DOUBLE_EQ(p_.Knob->GetPosition(), 12.5);
  EXPECT_EQ(p_.TakeEvents(), Strings{});

  p_.Entry->SetFocus();
  ui_test::Pump();
  ASSERT_TRUE(SaveWindowPng(p_.Form->GetHandle(), OutputPath("widgets_front_panel.png")));
  EXPECT_EQ(ScreenPixel(At(p_.OutputLamp, 5, 5)), 0x00FF00u) << "the output lamp lit";
  EXPECT_EQ(ScreenPixel(At(p_.CurrentLamp, 5, 5)), 0xFF0000u) << "the current lamp lit";
  for (TControl* w :
       std::initializer_list<TControl*>{p_.Knob, p_.SetDisplay, p_.OutDisplay, p_.Entry, p_.Mode})
    EXPECT_LE(w->Left() + w->Width(), p_.Form->GetClientWidth()) << w->GetName() << " fits the form";
}

}  // namespace
}  // namespace widgets_test
