// Lamps (fill colours, label) and the toggle switch (click, drag, space bar, event order,
// orientation).
#include "platform/runtime/FormText.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iSwitchToggle.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;

// Paints a control into a bitmap of its size.
std::unique_ptr<TBitmap> PaintOf(TiComponent* c) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(c->Width(), c->Height());
  c->PaintToCanvas(bmp->GetCanvas());
  return bmp;
}

bool SamePixels(TBitmap* a, TBitmap* b) {
  for (int y = 0; y < a->GetHeight(); ++y)
    for (int x = 0; x < a->GetWidth(); ++x)
      if (a->GetCanvas()->GetPixel(x, y) != b->GetCanvas()->GetPixel(x, y)) return false;
  return true;
}

TEST(Lamp, FillColourFollowsStateAndInactiveRule) {
  struct Case {
    bool Active, AutoInactive;
    TColor ActiveColor, InactiveColor, Expected;
  } cases[] = {
      {false, true, TColor(0x00FF00), TColor(0x005500), TColor(0x005500)},  // the defaults
      {false, true, TColor(0x3060F0), clRed, TColor(0x102050)},             // dimmed by 3, not Inactive
      {false, false, TColor(0x3060F0), clRed, clRed},
      {true, false, TColor(0x3060F0), clRed, TColor(0x3060F0)},
  };
  for (const Case& k : cases) {
    TiLedRectangle led(nullptr);
    led.SetBounds(0, 0, 17, 9);
    led.SetActiveColor(k.ActiveColor);
    led.SetInactiveColor(k.InactiveColor);
    led.SetAutoInactiveColor(k.AutoInactive);
    led.SetActive(k.Active);
    auto bmp = PaintOf(&led);
    EXPECT_EQ(bmp->GetCanvas()->GetPixel(10, 5), k.Expected) << std::hex << k.ActiveColor;
    EXPECT_EQ(bmp->GetCanvas()->GetPixel(3, 3), clWhite) << "the reflection";
  }
}

TEST(Lamp, BlankLabelDrawsNothingAndActiveChangesAreNotified) {
  TiLedRectangle led(nullptr);
  led.SetBounds(0, 0, 60, 20);
  auto plain = PaintOf(&led);
  led.SetCenterLabelText("   ");
  EXPECT_TRUE(SamePixels(plain.get(), PaintOf(&led).get()));
  led.SetCenterLabelText("RX");
  EXPECT_FALSE(SamePixels(plain.get(), PaintOf(&led).get()));

  std::vector<std::string> seen;
  bool allow = true;
  led.OnChange = TNotifyEvent::Lambda([&](TObject*) { seen.push_back("change"); });
  led.OnPropertyChanging = TiPropertyChangingEvent::Lambda(
      [&](TObject*, const AnsiString& name, bool& ok) { seen.push_back("asking " + name), ok = allow; });
  led.SetActive(false);
  EXPECT_TRUE(seen.empty()) << "unchanged value";
  allow = false;
  led.SetActive(true);
  EXPECT_FALSE(led.GetActive());
  EXPECT_EQ(seen, (std::vector<std::string>{"asking Active"}));
  allow = true;
  led.SetActive(true);
  EXPECT_TRUE(led.GetActive());
  EXPECT_EQ(seen.back(), "change");
}

class Switch : public UiTest {
 protected:
  TiSwitchToggle* NewSwitch() {
    form_ = NewForm(200, 150);
    auto* s = ui_test::Make<TiSwitchToggle>(form_, form_, "S", Rect(20, 20, 45, 70));
    s->OnChange = TNotifyEvent::Lambda([](TObject*) { ui_test::Events().push_back("change"); });
    s->OnChangeUser = TNotifyEvent::Lambda([](TObject*) { ui_test::Events().push_back("user"); });
    other_ = ui_test::Make<TiSwitchToggle>(form_, form_, "O", Rect(100, 20, 125, 70));
    ShowForm(form_);
    return s;
  }
  void Click(TiSwitchToggle* s, int x, int y) {
    ui_test::Press(At(s, x, y));
    ui_test::Release(At(s, x, y));
  }
  std::vector<std::string> Changes() {
    std::vector<std::string> out;
    for (auto& e : ui_test::Events())
      if (e == "change" || e == "user") out.push_back(e);
    ui_test::Events().clear();
    return out;
  }
  TForm* form_ = nullptr;
  TiSwitchToggle* other_ = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(Switch, ClickTogglesWithOnChangeBeforeOnChangeUserAndCodeRaisesOnlyOnChange) {
  TiSwitchToggle* s = NewSwitch();
  Click(s, 12, 10);
  EXPECT_TRUE(s->GetActive());
  EXPECT_TRUE(s->Focused());
  EXPECT_EQ(Changes(), (Strings{"change", "user"}));
  s->SetActive(false);
  EXPECT_EQ(Changes(), (Strings{"change"}));

  // A press released outside the control does not toggle.
  ui_test::Press(At(s, 12, 10));
  ui_test::Release(At(s, 60, 10));
  EXPECT_FALSE(s->GetActive());
  EXPECT_TRUE(Changes().empty());
}

TEST_F(Switch, ClickIndicatorAcceptsPressesOnTheLeverOnly) {
  TiSwitchToggle* s = NewSwitch();
  s->SetMouseControlStyle(imcsClickIndicator);
  const TRect lever = s->LeverRect();
  EXPECT_EQ(lever, (TRect{4, 49 - 22 - 3, 24 - 4, 49 - 3}));
  Click(s, 12, lever.Top - 2);
  EXPECT_FALSE(s->GetActive());
  Click(s, lever.Right, lever.Top + 2);  // the right edge is outside
  EXPECT_FALSE(s->GetActive());
  Click(s, 12, lever.Top + 2);
  EXPECT_TRUE(s->GetActive());
  EXPECT_EQ(s->LeverRect().Top, 3) << "the lever moved up";
}

TEST_F(Switch, DragTogglesBeyondTheTravelBothWaysAndAClickAloneDoesNot) {
  TiSwitchToggle* s = NewSwitch();
  s->SetDragToToggle(true);
  Click(s, 12, 30);
  EXPECT_FALSE(s->GetActive()) << "with DragToToggle a click alone never toggles";
  const int travel = 50 - 22 - 4;
  ui_test::Press(At(s, 12, 40));
  ui_test::MoveTo(At(s, 12, 40 - travel));
  EXPECT_FALSE(s->GetActive());
  ui_test::MoveTo(At(s, 12, 40 - travel - 1));
  EXPECT_TRUE(s->GetActive());
  EXPECT_EQ(Changes(), (Strings{"change", "user"}));
  // The drag start moved to the toggle point: back down by more than the travel toggles again.
  ui_test::MoveTo(At(s, 12, 40 - travel - 1 + travel));
  EXPECT_TRUE(s->GetActive());
  ui_test::MoveTo(At(s, 12, 40));
  EXPECT_FALSE(s->GetActive());
  ui_test::Release(At(s, 12, 40));
  EXPECT_FALSE(s->GetActive());
}

TEST_F(Switch, SpaceBarTogglesOnceOnReleaseAndFocusLossEndsAPress) {
  TiSwitchToggle* s = NewSwitch();
  s->SetFocus();
  ui_test::Pump();
  InputKey(VK_SPACE, true);
  ui_test::Pump();
  EXPECT_TRUE(s->Pressed());
  EXPECT_FALSE(s->GetActive());
  InputKey(VK_SPACE, false);
  ui_test::Pump();
  EXPECT_TRUE(s->GetActive());
  EXPECT_FALSE(s->Pressed());
  InputKey(VK_SPACE, false);  // a second report of the same release
  ui_test::Pump();
  EXPECT_TRUE(s->GetActive());
  EXPECT_EQ(Changes(), (Strings{"change", "user"}));

  ui_test::Press(At(s, 12, 10));
  EXPECT_TRUE(s->Pressed());
  other_->SetFocus();
  ui_test::Pump();
  EXPECT_FALSE(s->Pressed());
  ui_test::Release(At(s, 12, 10));
  EXPECT_TRUE(s->GetActive()) << "the press ended with the focus";
}

TEST(SwitchProperties, OrientationExchangesTheSidesAndSwitchHeightHasAFloor) {
  TiSwitchToggle s(nullptr);
  EXPECT_EQ(s.Width(), 25);
  EXPECT_EQ(s.Height(), 50);
  EXPECT_TRUE(s.GetTabStop());
  s.SetSwitchOrientation(ioHorizontal);
  EXPECT_EQ(s.Width(), 50);
  EXPECT_EQ(s.Height(), 25);
  s.SetSwitchOrientation(ioHorizontal);
  EXPECT_EQ(s.Width(), 50) << "unchanged: no exchange";
  EXPECT_EQ(s.LeverRect(), (TRect{3, 4, 3 + 22, 24 - 4})) << "off: at the left";
  s.SetSwitchHeight(1);
  EXPECT_EQ(s.GetSwitchHeight(), 3);
}

}  // namespace
}  // namespace widgets_test
